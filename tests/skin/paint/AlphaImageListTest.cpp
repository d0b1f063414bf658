// Image-list items as bitmaps: telling formats apart, decoding with the lists' error texts,
// rendering at the stored size and resampled, icon-font glyphs.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cmath>
#include <string>
#include <vector>

#include "PaintTestUtil.h"
#include "TestOutput.h"
#include "platform/gfx/CodecTestSupport.h"
#include "platform/gfx/GraphicsError.h"
#include "platform/gfx/PictureCodec.h"
#include "skin/paint/acAlphaImageList.h"
#include "skin/paint/sStretch.h"

namespace skin::paint {
namespace {

using gfx::test::MakeIconDib;
using gfx::test::MakeIconFile;
using gfx::test::MakeTestPicture;

std::string DecodeError(TsImageFormat format, std::span<const std::uint8_t> data) {
  try {
    DecodeImageData(format, data);
  } catch (const gfx::GraphicsError& e) {
    return e.what();
  }
  return "no error";
}

TEST(ImageFormat, SignatureAndIconExtension) {
  const std::vector<std::uint8_t> png = gfx::EncodePng(MakeTestPicture(3, 3));
  const std::vector<std::uint8_t> icon = {0, 0, 1, 0, 1, 0};
  const std::vector<std::uint8_t> bmp = gfx::EncodeBmp(MakeTestPicture(3, 3), true);
  TsImageFormat f = ifBMP32;
  ASSERT_TRUE(GetImageFormat("a.bmp", png, f));  // the signature wins over the name
  EXPECT_EQ(f, ifPNG);
  ASSERT_TRUE(GetImageFormat("dir.x/A.ICO", icon, f));
  EXPECT_EQ(f, ifICO);
  EXPECT_FALSE(GetImageFormat("a.png", icon, f));
  EXPECT_FALSE(GetImageFormat("ico", icon, f));
  ASSERT_TRUE(GetImageFormat("b.ico", bmp, f));
  EXPECT_EQ(f, ifBMP32);
  // Only data longer than the signature counts.
  EXPECT_FALSE(GetImageFormat("a.png", std::span(png).first(8), f));
  EXPECT_TRUE(HaveMagic(std::span(png).first(9), PNGMagic));
  EXPECT_FALSE(GetImageFormat("a.bmp", std::vector<std::uint8_t>{'B', 'M'}, f));
  EXPECT_FALSE(GetImageFormat("a.jpg", std::vector<std::uint8_t>{0xFF, 0xD8, 0xFF, 0xE0}, f));
}

TEST(ImageData, RenderedAtItsSizeIsTheDecodedPictureAndScaledIsMitchell) {
  const Bitmap picture = MakeTestPicture(91, 91);
  const auto png = gfx::EncodePng(picture);
  const Bitmap decoded = gfx::DecodePng(png);
  EXPECT_EQ(RenderImageData(ifPNG, png, 91, 91), decoded);
  Bitmap expected;
  Stretch(decoded, expected, 45, 45, ftMitchell);
  const Bitmap scaled = RenderImageData(ifPNG, png, 45, 45);
  EXPECT_EQ(scaled, expected);
  Bitmap box;
  Stretch(decoded, box, 45, 45, ftBox);
  EXPECT_NE(scaled, box);  // the filter is really the Mitchell one
  EXPECT_TRUE(RenderImageData(ifPNG, png, 0, 45).Empty());
}

TEST(ImageData, BmpAndIconItems) {
  const Bitmap picture = MakeTestPicture(8, 6);
  EXPECT_EQ(RenderImageData(ifBMP32, gfx::EncodeBmp(picture, true), 8, 6), picture);
  int bits = 0;
  const auto icon = MakeIconFile(MakeIconDib(picture, 32, [](int, int) { return false; }), 8, 6);
  EXPECT_EQ(DecodeImageData(ifICO, icon, &bits), picture);
  EXPECT_EQ(bits, 32);
  Bitmap expected;
  Stretch(picture, expected, 16, 12, ftMitchell);
  EXPECT_EQ(RenderImageData(ifICO, icon, 16, 12), expected);
}

TEST(ImageData, TinySourcesAndTargets) {
  // Nothing to resample from: black at alpha 1.
  const Bitmap line = ScaleImage(MakeTestPicture(1, 5), 3, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(line.At(x, y), gfx::MakePixel(0, 0, 0, 1));
  // A target of one pixel a side takes the nearest pixels: one column of the source, whole.
  const Bitmap source = MakeTestPicture(4, 4);
  const Bitmap column = ScaleImage(source, 1, 4);
  ASSERT_EQ(column.Height(), 4);
  int sameColumns = 0;
  for (int x = 0; x < 4; ++x) {
    bool same = true;
    for (int y = 0; y < 4; ++y) same = same && column.At(0, y) == source.At(x, y);
    sameColumns += same;
  }
  EXPECT_EQ(sameColumns, 1);
}

TEST(ImageData, DamagedItemsGiveTheListTexts) {
  const auto png = gfx::EncodePng(MakeTestPicture(20, 20));
  const std::string invalidPng = "Cannot load image. Invalid or unexpected PNG image format.";
  // Truncated anywhere after the signature, and data of another kind stored as PNG.
  for (std::size_t n : {std::size_t(9), std::size_t(20), png.size() / 2, png.size() - 13})
    EXPECT_EQ(DecodeError(ifPNG, std::span(png).first(n)), invalidPng) << n;
  EXPECT_EQ(DecodeError(ifPNG, gfx::EncodeBmp(MakeTestPicture(2, 2), true)), invalidPng);
  auto crc = png;
  crc[16] ^= 0x01;  // a byte of the header chunk's width: its CRC no longer matches
  EXPECT_EQ(DecodeError(ifPNG, crc), "Cannot load image. CRC error found in PNG file.");
  // Damaged compressed data behind a correct CRC: its zlib header, then its blocks.
  std::size_t idat = 8, length = 0;
  for (;; idat += length + 12) {
    ASSERT_LT(idat + 8, png.size());
    length = std::size_t(png[idat + 2]) << 8 | png[idat + 3];
    if (std::string(png.begin() + idat + 4, png.begin() + idat + 8) == "IDAT") break;
  }
  for (std::size_t first : {std::size_t(0), std::size_t(2)}) {
    auto damaged = png;
    if (first == 0)
      damaged[idat + 8] ^= 0x55;  // the zlib header's check fails
    else
      for (std::size_t k = 2; k < length - 4; ++k) damaged[idat + 8 + k] = 0xFF;  // bad blocks
    const auto crc = std::uint32_t(crc32(0, &damaged[idat + 4], unsigned(length + 4)));
    for (int b = 0; b < 4; ++b) damaged[idat + 8 + length + b] = std::uint8_t(crc >> (24 - 8 * b));
    EXPECT_EQ(DecodeError(ifPNG, damaged),
              "Cannot load image. Compression error found in PNG file.")
        << first;
  }
  auto bmp = gfx::EncodeBmp(MakeTestPicture(4, 4), true);
  bmp.resize(bmp.size() - 5);
  EXPECT_EQ(DecodeError(ifBMP32, bmp),
            "Cannot load image. Invalid or unexpected BMP image format.");
  EXPECT_EQ(DecodeError(ifICO, std::vector<std::uint8_t>{0, 0, 1, 0}),
            "Cannot load image. Invalid or unexpected ICO image format.");
  EXPECT_EQ(DecodeError(TsImageFormat(7), png), invalidPng);
}

TEST(CharGlyph, FontAwesomeHeartInTheGivenColour) {
  Bitmap heart = test::Solid(32, 32, 0x12345678);
  TCharGlyph glyph{u'\uF004', u"FontAwesome", false, false, 1.0, 0, false, false};
  DrawCharGlyph(heart, glyph, 0x000000FF);  // red
  int inked = 0, solid = 0;
  int minX = 32, maxX = -1, minY = 32, maxY = -1;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const gfx::Pixel p = heart.At(x, y);
      ASSERT_EQ(p & 0x00FFFFFF, 0x00FF0000u) << x << "," << y;  // every pixel red
      if (gfx::PixelA(p) == 0) continue;
      ++inked;
      if (gfx::PixelA(p) == 255) ++solid;
      minX = std::min(minX, x), maxX = std::max(maxX, x);
      minY = std::min(minY, y), maxY = std::max(maxY, y);
    }
  // A heart fills much of its box, roughly centred; a missing glyph would draw a small box or
  // nothing.
  EXPECT_GT(solid, 300);
  EXPECT_LT(inked, 32 * 32);
  EXPECT_LE(std::abs((minX + maxX) - 31), 3);
  EXPECT_LE(std::abs((minY + maxY) - 31), 6);
  gfx::WriteFileBytes((tests::OutputFolder("image-lists") / "heart.png").string(),
                      gfx::EncodePng(heart));
  EXPECT_EQ(gfx::PixelA(heart.At(16, 16)), 255);
  EXPECT_EQ(gfx::PixelA(heart.At(0, 0)), 0);
  // Factors from outside that make no character leave the bitmap cleared.
  for (double factor : {0.0, -2.0, 1e12, std::nan("")}) {
    Bitmap none = test::Solid(8, 8, 0x12345678);
    DrawCharGlyph(none, {u'\uF004', u"FontAwesome", false, false, factor, 0, false, false},
                  0x000000FF);
    EXPECT_EQ(none, test::Solid(8, 8, 0x00FFFFFF)) << factor;
  }
  Bitmap far = test::Solid(8, 8, 0);
  DrawCharGlyph(far, {u'\uF004', u"FontAwesome", false, false, 1.0, 2000000000, false, false},
                0x000000FF);
  EXPECT_EQ(far, test::Solid(8, 8, 0x00FFFFFF));
  // Another character draws another shape; an offset moves it down.
  Bitmap check(32, 32);
  DrawCharGlyph(check, {u'\uF00C', u"FontAwesome", false, false, 1.0, 0, false, false}, 0x000000FF);
  EXPECT_NE(check, heart);
  Bitmap lower(32, 32);
  DrawCharGlyph(lower, {u'\uF004', u"FontAwesome", false, false, 1.0, 4, false, false}, 0x000000FF);
  for (int y = 0; y < 28; ++y)
    for (int x = 0; x < 32; ++x) ASSERT_EQ(lower.At(x, y + 4), heart.At(x, y)) << x << "," << y;
}

TEST(CharGlyph, UnderlineAndStrikeOutAddTheFontsLines) {
  // A narrow character, so that the lines reach past it on both sides.
  const TCharGlyph plain{u'\uF128', u"FontAwesome", false, false, 0.6, 0, false, false};
  auto draw = [](TCharGlyph g) {
    Bitmap b(40, 40);
    DrawCharGlyph(b, g, 0x000000FF);
    return b;
  };
  const Bitmap alone = draw(plain);
  TCharGlyph g = plain;
  g.Underline = true;
  const Bitmap under = draw(g);
  g.Underline = false;
  g.StrikeOut = true;
  const Bitmap struck = draw(g);
  // Lines only add ink, in full rows of the character's advance; the underline lies below the
  // strike-out, which lies inside the character's height.
  auto addedRows = [&](const Bitmap& lined) {
    std::vector<int> rows;
    for (int y = 0; y < 40; ++y) {
      int added = 0;
      for (int x = 0; x < 40; ++x) {
        EXPECT_GE(gfx::PixelA(lined.At(x, y)), gfx::PixelA(alone.At(x, y))) << x << "," << y;
        if (gfx::PixelA(lined.At(x, y)) == 255 && gfx::PixelA(alone.At(x, y)) == 0) ++added;
      }
      if (added > 0) rows.push_back(y);
    }
    return rows;
  };
  const std::vector<int> underRows = addedRows(under), struckRows = addedRows(struck);
  ASSERT_FALSE(underRows.empty());
  ASSERT_FALSE(struckRows.empty());
  EXPECT_GT(underRows.front(), struckRows.back());
  int top = 40, bottom = -1;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x)
      if (gfx::PixelA(alone.At(x, y)) > 0) top = std::min(top, y), bottom = std::max(bottom, y);
  EXPECT_GT(struckRows.front(), top);
  EXPECT_LT(struckRows.back(), bottom);
}

}  // namespace
}  // namespace skin::paint
