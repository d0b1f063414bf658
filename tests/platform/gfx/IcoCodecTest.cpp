// Icon files: the first image as PNG or DIB, the AND mask as alpha, damaged directories.
#include <gtest/gtest.h>

#include "platform/gfx/CodecTestSupport.h"
#include "platform/gfx/GraphicsError.h"
#include "platform/gfx/PictureCodec.h"

namespace gfx {
namespace {

using test::MakeIconDib;
using test::MakeIconFile;
using test::MakeTestPicture;

TEST(IcoCodec, ThirtyTwoBitImageKeepsItsAlphaAndIgnoresTheMask) {
  const Bitmap source = MakeTestPicture(7, 5);  // odd width: padded mask rows
  const auto file = MakeIconFile(MakeIconDib(source, 32, [](int x, int) { return x == 0; }), 7, 5);
  PictureInfo info;
  EXPECT_EQ(DecodeIco(file, &info), source);
  EXPECT_EQ(info.format, PictureFormat::Ico);
  EXPECT_EQ(info.bitsPerPixel, 32);
}

TEST(IcoCodec, ImageWithoutAlphaTakesItFromTheMask) {
  const Bitmap source = MakeTestPicture(10, 4);
  auto transparent = [](int x, int y) { return (x + y) % 3 == 0; };
  for (int bits : {24, 32}) {  // 32 bits with every alpha byte 0 has no alpha either
    Bitmap stored = source;
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 10; ++x) stored.Set(x, y, source.At(x, y) & 0x00FFFFFF);
    PictureInfo info;
    const Bitmap bmp =
        DecodeIco(MakeIconFile(MakeIconDib(stored, bits, transparent), 10, 4), &info);
    ASSERT_EQ(bmp.Width(), 10);
    ASSERT_EQ(bmp.Height(), 4);
    EXPECT_EQ(info.bitsPerPixel, bits);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 10; ++x) {
        const Pixel colour = source.At(x, y) & 0x00FFFFFF;
        EXPECT_EQ(bmp.At(x, y), colour | (transparent(x, y) ? 0u : 0xFF000000u))
            << bits << " bits at " << x << "," << y;
      }
  }
}

TEST(IcoCodec, PngImageIsDecodedAsPng) {
  const Bitmap source = MakeTestPicture(9, 6);
  const auto png = EncodePng(source);
  PictureInfo info;
  EXPECT_EQ(DecodeIco(MakeIconFile(png, 9, 6), &info), source);
  EXPECT_EQ(info.format, PictureFormat::Ico);
}

TEST(IcoCodec, DamagedFilesRaise) {
  const auto good =
      MakeIconFile(MakeIconDib(MakeTestPicture(6, 6), 32, [](int, int) { return false; }), 6, 6);
  // Every cut before the colour rows end; the mask is optional.
  const std::size_t colourEnd = 22 + 40 + 6 * 6 * 4;
  for (std::size_t n = 0; n < colourEnd; ++n)
    EXPECT_THROW(DecodeIco(std::span(good).first(n)), GraphicsError) << n;
  auto badOffset = good;
  badOffset[18] = 0xF0;  // the image starts past the end
  EXPECT_THROW(DecodeIco(badOffset), GraphicsError);
  auto notIcon = good;
  notIcon[2] = 2;  // a cursor directory
  EXPECT_THROW(DecodeIco(notIcon), GraphicsError);
  auto noImages = good;
  noImages[4] = 0;
  EXPECT_THROW(DecodeIco(noImages), GraphicsError);
  auto hugeSize = good;
  hugeSize[22 + 4] = 0xFF, hugeSize[22 + 5] = 0xFF, hugeSize[22 + 6] = 0xFF;
  EXPECT_THROW(DecodeIco(hugeSize), GraphicsError);
}

}  // namespace
}  // namespace gfx
