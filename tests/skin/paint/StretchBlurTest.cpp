// Resampling, stretched masked copies and the Gaussian blur.
#include <cmath>

#include "PaintTestUtil.h"
#include "skin/paint/sBlur.h"
#include "skin/paint/sStretch.h"

namespace skin::paint {
namespace {

using test::Px;

TEST(Stretch, SameSizeCopiesAndSidesOfOneDoNothing) {
  std::mt19937 rng(1);
  Bitmap src = test::RandomBitmap(6, 5, rng);
  Bitmap dst;
  Stretch(src, dst, 6, 5, ftLanczos3);
  EXPECT_EQ(dst, src);
  Bitmap untouched(3, 3);
  Stretch(src, untouched, 1, 9, ftMitchell);
  Stretch(src, untouched, 9, 1, ftMitchell);
  Stretch(test::RandomBitmap(1, 5, rng), untouched, 4, 4, ftMitchell);
  EXPECT_EQ(untouched, Bitmap(3, 3));
}

TEST(Stretch, ExactWeightsKeepFlatAreasFlat) {
  // Halving with the triangle filter: every output takes weights 1/4, 1/2, 1/4 (16.16 exact).
  Bitmap src = test::Solid(8, 8, Px(10, 100, 200, 255));
  Bitmap dst;
  Stretch(src, dst, 4, 4, ftTriangle);
  ASSERT_EQ(dst.Width(), 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(dst.At(x, y), Px(10, 100, 200, 255));
}

TEST(Stretch, OneDimensionalRampIsInterpolated) {
  Bitmap src = test::Padded(2, 2);
  for (int y = 0; y < 2; ++y) {
    src.Set(0, y, Px(0, 0, 0, 0));
    src.Set(1, y, Px(200, 200, 200, 200));
  }
  Bitmap dst;
  Stretch(src, dst, 4, 2, ftTriangle);
  // Centres 0, 0.5, 1, 1.5: weights (1), (1/2, 1/2), (1), (1/2 of 1, 1/2 of the mirror 2 -> 1).
  EXPECT_EQ(dst.At(0, 0), 0u);
  EXPECT_EQ(dst.At(1, 0), Px(100, 100, 100, 100));
  EXPECT_EQ(dst.At(2, 1), Px(200, 200, 200, 200));
}

TEST(Stretch, TinyTargetsFromWideSupportsStayInsideTheSource) {
  // Shrinking 50 pixels to 2 gives a support of 75 for Lanczos: the mirrored positions would
  // leave the source; they are held inside (the sanitizer build checks the reads).
  std::mt19937 rng(4);
  Bitmap src = test::RandomBitmap(50, 3, rng);
  for (int f = ftBox; f <= ftMitchell; ++f) {
    for (int w = 2; w <= 3; ++w) {
      Bitmap dst;
      Stretch(src, dst, w, 2, TFilterType(f));
      EXPECT_EQ(dst.Width(), w);
      EXPECT_EQ(dst.Height(), 2);
    }
  }
  Bitmap small = test::RandomBitmap(2, 2, rng), big;
  Stretch(small, big, 3, 40, ftLanczos3);
  EXPECT_EQ(big.Height(), 40);
}

TEST(StretchCopy, NearestNeighbourSamplesPixelCentres) {
  Bitmap src = test::Padded(2, 1);
  src.Set(0, 0, 1);
  src.Set(1, 0, 2);
  Bitmap dst = test::Padded(4, 2);
  StretchCopy(dst, 0, 0, 4, 2, src, 0, 0, 2, 1);
  EXPECT_EQ(dst.At(0, 1), 1u);
  EXPECT_EQ(dst.At(1, 0), 1u);
  EXPECT_EQ(dst.At(2, 0), 2u);
  StretchCopy(dst, -5, -5, 50, 50, src, -1, 0, 4, 1);  // samples outside the source are skipped
  EXPECT_TRUE(test::PaddingIntact(dst));
}

TEST(StretchBltMask, MaskedPartsBlendAndBadRequestsDoNothing) {
  // Picture row 0, mask row 1 (offset 1), 2 x 1 each.
  Bitmap src = test::Padded(2, 2);
  src.Set(0, 0, Px(100, 100, 100, 0));
  src.Set(1, 0, Px(100, 100, 100, 0));
  src.Set(0, 1, Px(64, 64, 64, 0));
  src.Set(1, 1, Px(255, 255, 255, 0));
  Bitmap dst = test::Solid(2, 2, Px(200, 200, 200, 3));
  StretchBltMask(0, 0, 2, 1, 0, 0, 2, 1, dst, src, 1, true);
  EXPECT_EQ(dst.At(0, 0), Px(125, 125, 125, 255));
  EXPECT_EQ(dst.At(1, 0), Px(199, 199, 199, 255));
  EXPECT_EQ(dst.At(0, 1), Px(200, 200, 200, 3));

  Bitmap before = dst;
  StretchBltMask(-1, 0, 2, 1, 0, 0, 2, 1, dst, src, 1, true);
  StretchBltMask(0, 0, 0, 1, 0, 0, 2, 1, dst, src, 1, true);
  StretchBltMask(0, 0, 2, 1, 1, 0, 2, 1, dst, src, 1, true);  // source past the right edge
  StretchBltMask(0, 0, 2, 1, 0, 0, 2, 1, dst, src, 2, true);  // mask below the bitmap
  EXPECT_EQ(dst, before);

  // A one-pixel source decides by its mask value.
  Bitmap one = test::Padded(1, 2);
  one.Set(0, 0, Px(1, 2, 3, 0));
  Bitmap d2 = test::Solid(3, 3, Px(9, 9, 9, 9));
  StretchBltMask(0, 0, 3, 2, 0, 0, 1, 1, d2, one, 1, true);
  EXPECT_EQ(d2.At(2, 1), Px(1, 2, 3, 255));
  EXPECT_EQ(d2.At(2, 2), Px(9, 9, 9, 9));
  one.Set(0, 1, Px(0, 0, 255, 0));
  Bitmap d3 = test::Solid(3, 3, Px(9, 9, 9, 9));
  StretchBltMask(0, 0, 3, 3, 0, 0, 1, 1, d3, one, 1, true);
  EXPECT_EQ(d3, test::Solid(3, 3, Px(9, 9, 9, 9)));
}

TEST(Blur, KernelIsNormalisedSymmetricAndCut) {
  for (double radius : {0.5, 1.0, 3.0, 10.0}) {
    TKernel k = MakeGaussianKernel(radius, 255, 1);
    ASSERT_GE(k.Size, 1);
    ASSERT_LE(k.Size, MaxKernelSize);
    double sum = 0;
    for (int j = -k.Size; j <= k.Size; ++j) {
      sum += k.Weights[MaxKernelSize + j];
      EXPECT_FLOAT_EQ(k.Weights[MaxKernelSize + j], k.Weights[MaxKernelSize - j]);
    }
    EXPECT_NEAR(sum, 1.0, 1e-5);
  }
  EXPECT_LT(MakeGaussianKernel(1.0, 255, 1).Size, MakeGaussianKernel(4.0, 255, 1).Size);
}

TEST(Blur, SpreadsAPointEvenlyAndKeepsFlatAreas) {
  gfx::Bitmap8 b(9, 9, 12);
  b.Set(4, 4, 255);
  Blur8(b, 1.0);
  EXPECT_LT(b.At(4, 4), 255);
  EXPECT_GT(b.At(4, 4), b.At(5, 4));
  EXPECT_EQ(b.At(3, 4), b.At(5, 4));
  EXPECT_EQ(b.At(4, 3), b.At(4, 5));
  EXPECT_EQ(b.At(3, 3), b.At(5, 5));
  gfx::Bitmap8 flat(7, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 7; ++x) flat.Set(x, y, 200);
  gfx::Bitmap8 copy = flat;
  Blur8(flat, 2.0);
  EXPECT_EQ(flat, copy);
}

TEST(Blur, NonPositiveRadiusLeavesTheBitmapAlone) {
  gfx::Bitmap8 b(3, 3);
  b.Set(1, 1, 100);
  gfx::Bitmap8 copy = b;
  Blur8(b, 0);
  Blur8(b, -1);
  Blur8(b, std::nan(""));
  EXPECT_EQ(b, copy);
  gfx::Bitmap8 one(1, 1), none;
  one.Set(0, 0, 7);
  Blur8(one, 3);
  Blur8(none, 3);
  EXPECT_EQ(one.At(0, 0), 7);
}

// Each channel of a 32-bit bitmap (padded rows included) comes out as Blur8 makes that channel
// alone, untouched by the others.
TEST(Blur, A32BitBitmapBlursEachChannelAsItsOwn8BitPicture) {
  gfx::Bitmap b(11, 7, 11 * 4 + 8);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 11; ++x)
      b.Set(x, y,
            gfx::MakePixel(std::uint8_t(x * 23), std::uint8_t(y * 37),
                           std::uint8_t(x == 5 && y == 3 ? 255 : 0), std::uint8_t(255 - x * 9)));
  gfx::Bitmap blurred = b;
  Blur32(blurred, 2.0);
  for (int shift = 0; shift < 32; shift += 8) {
    gfx::Bitmap8 channel(11, 7);
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 11; ++x) channel.Set(x, y, std::uint8_t(b.At(x, y) >> shift));
    Blur8(channel, 2.0);
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 11; ++x)
        ASSERT_EQ(std::uint8_t(blurred.At(x, y) >> shift), channel.At(x, y))
            << "channel " << shift / 8 << " at " << x << "," << y;
  }
  EXPECT_FALSE(blurred == b);
  gfx::Bitmap copy = b;
  Blur32(copy, 0);
  EXPECT_EQ(copy, b);
}

}  // namespace
}  // namespace skin::paint
