// Smooth drawing: linear gradients with alpha, triangles, lines and scaled copies.
#include "PaintTestUtil.h"
#include "skin/paint/acgpUtils.h"
#include "skin/paint/sStretch.h"

namespace skin::paint {
namespace {

using test::Px;

TEST(SmoothDrawing, LinearGradientsTakeTheEndColoursExactly) {
  Bitmap b = test::Solid(3, 5, Px(0, 0, 0, 255));
  acgpGradientRectangleV(b, b.Bounds(), TsColor{0, 0, 0, 255}, TsColor{200, 100, 0, 255}, 0, 0, 3,
                         5);
  EXPECT_EQ(b.At(1, 0), Px(0, 0, 0, 255));
  EXPECT_EQ(b.At(1, 2), Px(0, 50, 100, 255));
  EXPECT_EQ(b.At(2, 4), Px(0, 100, 200, 255));
  Bitmap h = test::Solid(5, 2, Px(0, 0, 0, 255));
  acgpGradientRectangleH(h, {1, 0, 5, 2}, TsColor{0, 0, 0, 255}, TsColor{0, 0, 200, 255}, 0, 0, 5,
                         2);
  EXPECT_EQ(h.At(0, 1), Px(0, 0, 0, 255));  // outside the clip
  EXPECT_EQ(h.At(1, 1), Px(50, 0, 0, 255));
  EXPECT_EQ(h.At(4, 0), Px(200, 0, 0, 255));
}

TEST(SmoothDrawing, TrianglesShadeBetweenTheirCorners) {
  Bitmap b = test::Solid(4, 4, 0);
  TTriVertex v[3] = {{0, 0, 0xFF00, 0, 0, 0}, {4, 0, 0xFF00, 0, 0, 0}, {0, 4, 0xFF00, 0, 0, 0}};
  const int tri[1][3] = {{0, 1, 2}};
  GradientFillAC(b, v, 3, tri, 1);
  EXPECT_EQ(b.At(0, 0), Px(0, 0, 255, 255));
  EXPECT_EQ(b.At(3, 3), 0u);  // beyond the diagonal
  const int bad[1][3] = {{0, 1, 7}};
  Bitmap c = test::Solid(4, 4, 0);
  GradientFillAC(c, v, 3, bad, 1);  // an index past the vertices draws nothing
  EXPECT_EQ(c, test::Solid(4, 4, 0));
}

TEST(SmoothDrawing, LinesCoverTheirPixelsAndFadeAtTheEdges) {
  Bitmap b = test::Solid(10, 5, Px(255, 255, 255, 255));
  acgpDrawLine(b, 1, 2, 8, 2, 0x000000, 1);
  EXPECT_EQ(b.At(4, 2), Px(0, 0, 0, 255));
  EXPECT_EQ(b.At(4, 0), Px(255, 255, 255, 255));
  std::uint32_t edge = b.At(4, 1) & 0xFF;
  EXPECT_GT(edge, 0u);
  EXPECT_LE(edge, 255u);
}

TEST(SmoothDrawing, ScaledCopyOfTheSameSizeIsACopy) {
  std::mt19937 rng(12);
  Bitmap src = test::RandomBitmap(6, 4, rng);
  Bitmap dst = test::Padded(8, 8);
  acgpStretchRect(src, dst, {1, 1, 5, 4}, {2, 2, 6, 5});
  EXPECT_EQ(dst.Copy({2, 2, 6, 5}), src.Copy({1, 1, 5, 4}));
  acgpStretchRect(src, dst, {0, 0, 1, 4}, {0, 0, 3, 8});  // one column: nearest neighbour
  EXPECT_EQ(dst.At(2, 7), src.At(0, 3));
  EXPECT_TRUE(test::PaddingIntact(dst));
}

TEST(SmoothDrawing, StretchedMaskVariantsBlendLikeTheCopies) {
  // At the same size the stretched copy is the plain mask copy.
  std::mt19937 rng(13);
  Bitmap src = test::RandomBitmap(5, 6, rng);
  TsMaskData md;
  md.Bmp = &src;
  md.R = {0, 0, 5, 6};
  md.MaskType = 1;
  for (TMaskBlend blend : {TMaskBlend::Mask32, TMaskBlend::Mask32Ex}) {
    Bitmap a = test::RandomBitmap(7, 7, rng);
    Bitmap b = a;
    StretchBltMask(1, 2, 5, 3, 0, 0, 5, 3, a, src, 3, false, blend, 200);
    if (blend == TMaskBlend::Mask32)
      CopyByMask32({1, 2, 6, 5}, {0, 0, 5, 3}, b, src, {}, md);
    else
      CopyByMask32Ex({1, 2, 6, 5}, {0, 0, 5, 3}, b, src, {}, md, 200);
    EXPECT_EQ(a, b);
  }
}

}  // namespace
}  // namespace skin::paint
