#include "skin/data/acSkinPack.h"

#include <gtest/gtest.h>

#include "skin/data/PackageTestSupport.h"
#include "skin/data/SkinError.h"
#include "skin/data/acZLibStream.h"

namespace skin::data {
namespace {

using test::Bytes;
using test::Noise;
using test::RawEntry;
using test::RawHeader;

std::vector<std::uint8_t> SamplePackage() {
  const std::vector<TacPackEntry> files = {
      {"Master.bmp", Noise(300, 1)}, {"FONT.TTF", Bytes("font")}, {"BG.JPG", Bytes("jpeg")}};
  return PackSkin(Bytes("[GLOBALINFO]\nVERSION=8\n"), files, Bytes("\x89PNG preview"));
}

// Expects a rejection with the package message, not any other failure.
void ExpectDamaged(const std::vector<std::uint8_t>& bytes, const std::string& detail) {
  TacSkinConvertor c;
  try {
    ExtractPackedData(bytes, c);
    FAIL() << "accepted: expected " << detail;
  } catch (const ESkinError& e) {
    const std::string what = e.what();
    EXPECT_EQ(what.rfind(acNotPackedSkinMsg, 0), 0u) << what;
    EXPECT_NE(what.find(detail), std::string::npos) << what;
  }
}

TEST(SkinPackage, RoundTripKeepsOptionsFilesOrderAndPreview) {
  const auto packed = SamplePackage();
  TacSkinConvertor c;
  ASSERT_TRUE(ExtractPackedData(packed, c));
  ASSERT_TRUE(c.Options);
  EXPECT_EQ(*c.Options, Bytes("[GLOBALINFO]\nVERSION=8\n"));
  ASSERT_EQ(c.FileCount, 3);
  ASSERT_EQ(c.Files.size(), 3u);
  EXPECT_EQ(c.Files[0].Name, "Master.bmp");
  EXPECT_EQ(c.Files[0].FileType, ftBmp);
  EXPECT_EQ(c.Files[0].Stream, Noise(300, 1));
  EXPECT_EQ(c.Files[1].FileType, ftFont);
  EXPECT_EQ(c.Files[2].FileType, ftOther);
  EXPECT_EQ(c.Files[2].Stream, Bytes("jpeg"));
  // Names match whatever their case.
  EXPECT_EQ(c.FindFile("MASTER.BMP"), &c.Files[0]);
  EXPECT_EQ(c.FindFile("bg.jpg"), &c.Files[2]);
  EXPECT_EQ(c.FindFile("none.bmp"), nullptr);
  EXPECT_EQ(GetPreviewStream(packed), Bytes("\x89PNG preview"));
}

TEST(SkinPackage, FileTypesByExtension) {
  EXPECT_EQ(FileTypeOf("a.Bmp"), ftBmp);
  EXPECT_EQ(FileTypeOf("a.otf"), ftFont);
  EXPECT_EQ(FileTypeOf("a.png"), ftOther);
  EXPECT_EQ(FileTypeOf("BMP"), ftOther);
}

TEST(SkinPackage, OptionsAnywhereAndCountIsEntriesRead) {
  auto bytes = RawHeader(3);
  RawEntry(bytes, "a.png", Bytes("A"));
  RawEntry(bytes, "options.dat", Bytes("opts"));
  RawEntry(bytes, "b.png", Bytes("B"));
  TacSkinConvertor c;
  ASSERT_TRUE(ExtractPackedData(bytes, c));
  EXPECT_EQ(*c.Options, Bytes("opts"));
  EXPECT_EQ(c.FileCount, 2);
  EXPECT_EQ(c.Files[1].Name, "b.png");

  // Without an options entry every entry is a file.
  auto noOptions = RawHeader(2);
  RawEntry(noOptions, "a.png", Bytes("A"));
  RawEntry(noOptions, "b.png", Bytes("B"));
  ASSERT_TRUE(ExtractPackedData(noOptions, c));
  EXPECT_FALSE(c.Options);
  EXPECT_EQ(c.FileCount, 2);
}

TEST(SkinPackage, EntriesBeyondOneInflaterChunkKeepTheirBoundaries) {
  // Incompressible entries larger than one source chunk, then a small one.
  const auto big1 = Noise(TZDecompressionStream::kChunk + 12345, 7);
  const auto big2 = Noise(2 * TZDecompressionStream::kChunk + 3, 9);
  const std::vector<TacPackEntry> files = {{"1.bmp", big1}, {"2.bmp", big2}, {"3.txt", Bytes("x")}};
  TacSkinConvertor c;
  ASSERT_TRUE(ExtractPackedData(PackSkin(Bytes("o"), files), c));
  ASSERT_EQ(c.Files.size(), 3u);
  EXPECT_EQ(c.Files[0].Stream, big1);
  EXPECT_EQ(c.Files[1].Stream, big2);
  EXPECT_EQ(c.Files[2].Stream, Bytes("x"));
}

TEST(SkinPackage, WrongMagicIsNotAPackage) {
  TacSkinConvertor c;
  c.Files.push_back({"old", ftOther, {}});
  EXPECT_FALSE(ExtractPackedData(Bytes("ASzF\1\0\0\0"), c));
  EXPECT_FALSE(ExtractPackedData(Bytes("AS"), c));
  EXPECT_TRUE(c.Files.empty());
}

TEST(SkinPackage, DamagedPackagesAreRejected) {
  ExpectDamaged(RawHeader(0xFFFFFFFF), "entry count");

  auto longName = RawHeader(1);
  test::PutU32(longName, 0x7FFFFFFF);
  longName.resize(longName.size() + 40);
  ExpectDamaged(longName, "name");

  // A stored size no deflate stream of the remaining bytes can reach.
  auto hugeSize = RawHeader(1);
  RawEntry(hugeSize, "a.bmp", Bytes("abc"), 0xFFFFFFF0u);
  ExpectDamaged(hugeSize, "size is too large");

  auto fewer = RawHeader(1);
  RawEntry(fewer, "a.bmp", Bytes("abc"), 4);
  ExpectDamaged(fewer, "fewer bytes");

  auto more = RawHeader(1);
  RawEntry(more, "a.bmp", Bytes("abcd"), 3);
  ExpectDamaged(more, "more bytes");

  auto twoOptions = RawHeader(2);
  RawEntry(twoOptions, "OPTIONS.DAT", Bytes("1"));
  RawEntry(twoOptions, "Options.dat", Bytes("2"));
  ExpectDamaged(twoOptions, "two options");

  auto corrupt = SamplePackage();
  corrupt[40] ^= 0xFF;  // inside the options entry's compressed data
  TacSkinConvertor c;
  EXPECT_THROW(ExtractPackedData(corrupt, c), ESkinError);
}

TEST(SkinPackage, EveryTruncationIsRejectedCleanly) {
  auto bytes = RawHeader(2);
  RawEntry(bytes, "OPTIONS.DAT", Noise(500, 3));
  RawEntry(bytes, "a.bmp", Noise(200, 4));
  for (std::size_t n = 0; n < bytes.size(); ++n) {
    TacSkinConvertor c;
    const std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + n);
    try {
      EXPECT_FALSE(ExtractPackedData(cut, c)) << n;  // only too short for the magic
      EXPECT_LT(n, 4u);
    } catch (const ESkinError&) {
      EXPECT_GE(n, 4u);
    }
  }
}

TEST(SkinPackage, PreviewTrailer) {
  auto bytes = RawHeader(1);
  RawEntry(bytes, "OPTIONS.DAT", Bytes("o"));
  const auto plain = bytes;
  EXPECT_FALSE(GetPreviewStream(plain));
  bytes.insert(bytes.end(), {'p', 'r', 'e', 'v', 'i', 'e', 'w', 'i', 'm', 'g'});
  test::PutU32(bytes, 5);
  const auto header = bytes;
  bytes.insert(bytes.end(), {1, 2, 3, 4, 5});
  EXPECT_EQ(GetPreviewStream(bytes), (std::vector<std::uint8_t>{1, 2, 3, 4, 5}));
  // The package reader ignores the trailer.
  TacSkinConvertor c;
  EXPECT_TRUE(ExtractPackedData(bytes, c));
  // A length beyond the end gives no preview rather than reading past it.
  auto shortTrailer = header;
  shortTrailer.push_back(1);
  EXPECT_FALSE(GetPreviewStream(shortTrailer));
  EXPECT_FALSE(GetPreviewStream(std::string("/nonexistent/skin.asz")));
}

}  // namespace
}  // namespace skin::data
