#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CodecTestSupport.h"
#include "platform/gfx/GraphicsError.h"
#include "platform/gfx/PictureCodec.h"

namespace gfx {
namespace {

using test::MakeTestPicture;
using test::Prefix;

// Builds BMP files field by field, independently of the encoder.
struct BmpFile {
  std::uint32_t headerSize = 40;
  std::int32_t width = 0;
  std::int32_t height = 0;
  int bitCount = 24;
  std::uint32_t compression = 0;
  std::uint32_t colorsUsed = 0;       // 0: as many as the depth allows
  std::vector<std::uint32_t> masks;   // written after a 40-byte header, inside longer ones
  std::vector<std::uint8_t> palette;  // raw entries
  std::vector<std::uint8_t> pixels;   // rows as stored, padding included

  std::vector<std::uint8_t> Bytes() const {
    std::vector<std::uint8_t> out;
    auto put16 = [&](std::uint32_t v) {
      out.insert(out.end(), {std::uint8_t(v), std::uint8_t(v >> 8)});
    };
    auto put32 = [&](std::uint32_t v) {
      put16(v & 0xFFFF);
      put16(v >> 16);
    };
    std::size_t offset =
        14 + headerSize + (headerSize == 40 ? masks.size() * 4 : 0) + palette.size();
    put16(0x4D42), put32(std::uint32_t(offset + pixels.size())), put32(0),
        put32(std::uint32_t(offset));
    put32(headerSize);
    if (headerSize == 12) {
      put16(std::uint32_t(width)), put16(std::uint32_t(height)), put16(1), put16(bitCount);
    } else {
      put32(std::uint32_t(width)), put32(std::uint32_t(height)), put16(1), put16(bitCount);
      put32(compression), put32(std::uint32_t(pixels.size()));
      put32(0), put32(0);  // resolution
      put32(colorsUsed), put32(0);
      for (std::uint32_t m : masks) put32(m);
      out.resize(14 + headerSize + (headerSize == 40 ? masks.size() * 4 : 0), 0);
    }
    out.insert(out.end(), palette.begin(), palette.end());
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
  }
};

std::string ErrorOf(const std::vector<std::uint8_t>& bmp) {
  try {
    DecodeBmp(bmp);
  } catch (const GraphicsError& e) {
    return e.what();
  }
  return "no error";
}

TEST(BmpCodec, EncoderRoundTrips) {
  Bitmap source = MakeTestPicture(5, 3);  // 15 bytes of 24-bit pixels, padded to 16
  source.Set(1, 1, MakePixel(9, 8, 7, 0));
  EXPECT_EQ(DecodeBmp(EncodeBmp(source, true)), source);

  std::vector<std::uint8_t> bmp24 = EncodeBmp(source, false);
  EXPECT_EQ(bmp24.size(), 54u + 3 * 16);
  Bitmap opaque = source;
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) opaque.Set(x, y, source.At(x, y) | 0xFF000000);
  PictureInfo info;
  EXPECT_EQ(DecodeBmp(bmp24, &info), opaque);
  EXPECT_EQ(info.bitsPerPixel, 24);

  // A transparent picture stays transparent: the 32-bit file declares its alpha mask.
  Bitmap clear(2, 2);
  clear.Fill(MakePixel(10, 20, 30, 0));
  EXPECT_EQ(DecodeBmp(EncodeBmp(clear, true)), clear);
  EXPECT_THROW(EncodeBmp(Bitmap(), true), GraphicsError);
}

TEST(BmpCodec, RowOrderFollowsTheSignOfTheHeight) {
  BmpFile f;
  f.width = 1;
  f.height = 2;
  f.pixels = {1, 2, 3, 0, 4, 5, 6, 0};  // first stored row, then the second
  Bitmap bottomUp = DecodeBmp(f.Bytes());
  EXPECT_EQ(bottomUp.At(0, 1), MakePixel(1, 2, 3, 255));
  EXPECT_EQ(bottomUp.At(0, 0), MakePixel(4, 5, 6, 255));
  f.height = -2;
  Bitmap topDown = DecodeBmp(f.Bytes());
  EXPECT_EQ(topDown.At(0, 0), MakePixel(1, 2, 3, 255));
  EXPECT_EQ(topDown.At(0, 1), MakePixel(4, 5, 6, 255));
}

TEST(BmpCodec, ThirtyTwoBitAlphaAndColourMasks) {
  BmpFile f;
  f.width = 2;
  f.height = -1;
  f.bitCount = 32;
  f.pixels = {1, 2, 3, 0, 4, 5, 6, 128};
  Bitmap stored = DecodeBmp(f.Bytes());
  EXPECT_EQ(stored.At(0, 0), MakePixel(1, 2, 3, 0));
  EXPECT_EQ(stored.At(1, 0), MakePixel(4, 5, 6, 128));

  f.pixels[7] = 0;  // no alpha anywhere: an old writer's unused byte, shown opaque
  EXPECT_EQ(DecodeBmp(f.Bytes()).At(1, 0), MakePixel(4, 5, 6, 255));

  // Bit fields in another order, with a 4-bit alpha channel, in a V5 header.
  f.headerSize = 124;
  f.compression = 3;
  f.masks = {0x000000FF, 0x0000FF00, 0x00FF0000, 0xF0000000};
  f.pixels = {1, 2, 3, 0x30, 4, 5, 6, 0xF0};
  Bitmap v5 = DecodeBmp(f.Bytes());
  EXPECT_EQ(v5.At(0, 0), MakePixel(3, 2, 1, 0x33));
  EXPECT_EQ(v5.At(1, 0), MakePixel(6, 5, 4, 0xFF));

  // 16-bit 5-6-5 after a 40-byte header: no alpha mask, so opaque.
  BmpFile h;
  h.width = 1;
  h.height = 1;
  h.bitCount = 16;
  h.compression = 3;
  h.masks = {0xF800, 0x07E0, 0x001F};
  h.pixels = {0x1F, 0xF8 | 0x04, 0, 0};  // red 31, green 32, blue 31
  EXPECT_EQ(DecodeBmp(h.Bytes()).At(0, 0), MakePixel(255, 130, 255, 255));
  h.masks[0] = 0;  // a channel without bits reads as zero
  EXPECT_EQ(DecodeBmp(h.Bytes()).At(0, 0), MakePixel(255, 130, 0, 255));
  h.masks[1] = 0x0720;
  EXPECT_EQ(ErrorOf(h.Bytes()), "BMP picture is damaged: a colour mask is not contiguous");
}

TEST(BmpCodec, PaletteDepthsAndTheCoreHeader) {
  BmpFile f;
  f.width = 10;
  f.height = 1;
  f.bitCount = 1;
  f.palette = {0, 0, 0, 0, 10, 20, 30, 0};
  f.pixels = {0b10110000, 0b01000000, 0, 0};
  PictureInfo info;
  Bitmap one = DecodeBmp(f.Bytes(), &info);
  EXPECT_EQ(info.bitsPerPixel, 1);
  const Pixel on = MakePixel(10, 20, 30, 255), off = MakePixel(0, 0, 0, 255);
  std::vector<Pixel> expected = {on, off, on, on, off, off, off, off, off, on};
  for (int x = 0; x < 10; ++x) EXPECT_EQ(one.At(x, 0), expected[x]) << x;

  f.bitCount = 4;
  f.width = 3;
  f.colorsUsed = 2;
  f.pixels = {0x10, 0x70, 0, 0};  // index 7 is past the two-entry palette: black
  Bitmap four = DecodeBmp(f.Bytes(), &info);
  EXPECT_EQ(info.bitsPerPixel, 4);
  EXPECT_EQ(four.At(0, 0), on);
  EXPECT_EQ(four.At(1, 0), off);
  EXPECT_EQ(four.At(2, 0), off);

  BmpFile core;
  core.headerSize = 12;
  core.width = 2;
  core.height = 1;
  core.bitCount = 8;
  core.palette.resize(256 * 3);
  core.palette[5 * 3] = 50, core.palette[5 * 3 + 1] = 60, core.palette[5 * 3 + 2] = 70;
  core.pixels = {5, 0, 0, 0};
  EXPECT_EQ(DecodeBmp(core.Bytes(), &info).At(0, 0), MakePixel(50, 60, 70, 255));
  EXPECT_EQ(info.bitsPerPixel, 8);
}

TEST(BmpCodec, DamagedTruncatedAndAbsurdFilesRaise) {
  std::vector<std::uint8_t> good = EncodeBmp(MakeTestPicture(4, 3), true);
  for (std::size_t size = 0; size < good.size(); ++size)
    EXPECT_THROW(DecodeBmp(Prefix(good, size)), GraphicsError) << "cut to " << size;

  BmpFile f;
  f.width = 30000;
  f.height = 30000;
  EXPECT_EQ(ErrorOf(f.Bytes()), "Picture size 30000 x 30000 is too large");
  f.height = -30000;
  EXPECT_EQ(ErrorOf(f.Bytes()), "Picture size 30000 x 30000 is too large");
  f.width = 8000;  // allowed size, but the pixels are not there
  f.height = 8000;
  EXPECT_EQ(ErrorOf(f.Bytes()), "BMP picture is damaged: the data ends too early");

  f = BmpFile{};
  f.width = 1;
  f.height = 1;
  f.pixels = {1, 2, 3, 0};
  ASSERT_EQ(ErrorOf(f.Bytes()), "no error");
  for (auto change : std::vector<void (*)(BmpFile&)>{
           [](BmpFile& b) { b.width = -1; }, [](BmpFile& b) { b.height = 0; },
           [](BmpFile& b) { b.headerSize = 41; }, [](BmpFile& b) { b.bitCount = 7; },
           [](BmpFile& b) { b.compression = 1; },  // RLE
       }) {
    BmpFile bad = f;
    change(bad);
    EXPECT_EQ(ErrorOf(bad.Bytes()).rfind("BMP picture is damaged: ", 0), 0u)
        << ErrorOf(bad.Bytes());
  }
  BmpFile lowest = f;
  lowest.height = std::int32_t(0x80000000);  // its magnitude does not fit 32 bits
  EXPECT_EQ(ErrorOf(lowest.Bytes()), "Picture size 1 x 2147483648 is too large");
  std::vector<std::uint8_t> farOffset = f.Bytes();
  farOffset[10] = 0xF0;  // the pixels would start past the end
  farOffset[13] = 0x7F;
  EXPECT_THROW(DecodeBmp(farOffset), GraphicsError);
}

}  // namespace
}  // namespace gfx
