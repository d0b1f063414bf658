// Parsing and painting of gradients, textured gradients and shadow images.
#include <cmath>

#include "PaintTestUtil.h"
#include "platform/gfx/GraphicsError.h"
#include "skin/paint/sGradient.h"

namespace skin::paint {
namespace {

using gfx::PixelB;
using gfx::PixelG;
using gfx::PixelR;
using test::Px;

TsGradArray Parse(std::string_view s) {
  TsGradArray g;
  PrepareGradArray(s, g);
  return g;
}

TEST(GradientText, FiveFieldFormStartsEachStopWhereTheLastGroupEnded) {
  auto g = Parse("16777215;14212312;53;0;0;14212312;14212312;44;0;0;14212312;14212312;0;0;0");
  ASSERT_EQ(g.size(), 3u);
  EXPECT_EQ(g[0].Percent, 0);
  EXPECT_EQ(g[1].Percent, 53);
  EXPECT_EQ(g[2].Percent, 100);
  EXPECT_EQ(g[0].Color.C(), 0xFF000000u | 16777215u);
  EXPECT_EQ(g[1].Color.C(), 0xFF000000u | 14212312u);
  EXPECT_EQ(g[2].Index, 2);
  EXPECT_EQ(g[0].Mode & MASK_DIRECTION, 0);
  auto two = Parse("9817827;1917539;99;0;0;1917539;1917539;0;0;0");
  ASSERT_EQ(two.size(), 2u);
  EXPECT_EQ(two[0].Color.C() & 0xFFFFFF, 9817827u);
  EXPECT_EQ(two[1].Percent, 100);
  // Transparent marks are dropped in this form; diagonal arrays are padded to five stops.
  EXPECT_EQ(Parse("1;2;50;16;0;3;4;0;0;0")[0].Mode, 0);
  auto diag = Parse("1;2;50;2;0;3;4;0;0;0");
  ASSERT_EQ(diag.size(), 5u);
  EXPECT_EQ(diag[4].Color.C(), diag[1].Color.C());
  EXPECT_EQ(diag[4].Index, 4);
}

TEST(GradientText, ThreeFieldFormCountsStopsByItsLastLetter) {
  auto g = Parse("255;0;0;65280;40;16;16711680;100;0C");
  ASSERT_EQ(g.size(), 3u);
  EXPECT_EQ(g[1].Percent, 40);
  EXPECT_EQ(g[1].Mode, PM_TRANSPARENT);
  EXPECT_EQ(g[0].Mode, PM_OVERLAY);  // one transparent stop marks stop 0
  EXPECT_EQ(Parse("255;0;0;65280;40;0B")[0].Mode, 0);
  // More stops announced than given: only the complete ones.
  EXPECT_EQ(Parse("255;0;0;65280;40;0Z").size(), 2u);
  EXPECT_TRUE(Parse("N/A").empty());
  EXPECT_TRUE(Parse("1;2B").empty());
  EXPECT_THROW(Parse("12x;0;0;0;0;5;5;0;0;0"), gfx::GraphicsError);
}

TEST(GradientPaint, EmptyArraysAndRectanglesPaintNothing) {
  Bitmap b = test::Solid(4, 4, 0x12345678);
  PaintGrad(b, {0, 0, 4, 4}, {}, 0, 0);
  PaintGrad(b, {3, 3, 3, 9}, Parse("255;0;0;0;0;255;0;0;0;0"), 0, 0);
  EXPECT_EQ(b, test::Solid(4, 4, 0x12345678));
}

TEST(GradientPaint, TopToBottomStepsEachRow) {
  // Black to RGB(200, 100, 0) over 100 rows: row i has Round(i * 2), Round(i), 0.
  Bitmap b = test::Padded(3, 100);
  PaintGrad(b, {0, 0, 3, 100}, Parse("0;0;100;0;0;25800;0;0;0;0"), 0, 0);
  EXPECT_EQ(b.At(0, 0), Px(0, 0, 0, 255));
  EXPECT_EQ(b.At(2, 1), Px(0, 1, 2, 255));
  EXPECT_EQ(b.At(1, 99), Px(0, 99, 198, 255));
  EXPECT_TRUE(test::PaddingIntact(b));
  Bitmap flat = test::Padded(5, 5);
  PaintGrad(flat, {-9, -9, 99, 99}, Parse("255;0;30;0;0;255;0;0;0;0"), 0, 0);
  EXPECT_EQ(flat, test::Solid(5, 5, Px(0, 0, 255, 255)));
}

TEST(GradientPaint, ANegativeRowOffsetStaysInsideTheRectangle) {
  // The first row moves up by the offset; rows above the rectangle are not painted.
  Bitmap b = test::Solid(2, 10, 0x01020304);
  PaintGrad(b, {0, 5, 2, 10}, Parse("0;0;100;0;0;25800;0;0;0;0"), 0, -5);
  EXPECT_EQ(b.At(1, 4), 0x01020304u);
  EXPECT_EQ(b.At(1, 5) >> 24, 255u);
  EXPECT_TRUE(test::PaddingIntact(b));
}

TEST(GradientPaint, LeftToRightReachesTheLastColumn) {
  Bitmap b = test::Padded(11, 3);
  PaintGrad(b, {0, 0, 11, 3}, Parse("0;0;100;1;0;100;0;0;0;0"), 0, 0);
  for (int x = 0; x < 11; ++x) EXPECT_EQ(b.At(x, 2), Px(0, 0, 10 * x, 255)) << x;
  EXPECT_TRUE(test::PaddingIntact(b));
}

TEST(GradientPaint, TransparentStopsBlendOverTheBackground) {
  // From transparent black to half-transparent white (0x80FFFFFF) over opaque black, drawn
  // from the row above the area: that row stays, the last row gets the end colour blended.
  Bitmap b = test::Solid(2, 10, Px(0, 0, 0, 255));
  auto g = Parse("0;0;16;-2130706433;100;16B");
  ASSERT_EQ(g.size(), 2u);
  EXPECT_EQ(g[1].Color.A, 0x80);
  PaintGrad(b, {0, 2, 2, 10}, g, 0, 0);
  EXPECT_EQ(b.At(0, 1), Px(0, 0, 0, 255));
  EXPECT_EQ(b.At(1, 9), Px(128, 128, 128, 255));  // half white over opaque black
  EXPECT_LT(b.At(0, 2) & 0xFF, b.At(0, 8) & 0xFF);
}

TEST(GradientPaint, DiagonalNeedsFiveStops) {
  Bitmap b = test::Solid(10, 10, 0);
  PaintGrad(b, {0, 0, 10, 10}, Parse("255;0;2;0;0;2;0;0;2;0;0;2D"), 0, 0);
  EXPECT_EQ(b, test::Solid(10, 10, 0));
  // Corners red, green (top right), blue (bottom right), white (bottom left), centre black.
  TsGradArray d = Parse("255;0;0;2;0;0;0;0;0;0;65280;0;0;0;0;16711680;0;0;0;0;16777215;0;0;0;0");
  ASSERT_EQ(d.size(), 5u);
  PaintGrad(b, {0, 0, 10, 10}, d, 0, 0);
  EXPECT_GT(PixelR(b.At(0, 0)), 200);  // top-left: red
  EXPECT_GT(PixelG(b.At(9, 0)), 200);  // top-right: green
  EXPECT_GT(PixelB(b.At(9, 9)), 200);  // bottom-right: blue
  EXPECT_LT(PixelR(b.At(5, 5)) + PixelG(b.At(5, 5)) + PixelB(b.At(5, 5)), 60);  // centre black
  EXPECT_EQ(b.At(5, 5) >> 24, 255u);
}

TEST(TexturedGradient, TextureIsTiledOverTheGradientWithTheGivenAlpha) {
  Bitmap tex = test::Padded(4, 2);
  tex.Fill(Px(0, 0, 0, 0));
  tex.Set(1, 1, Px(255, 255, 255, 255));  // texture rect (1, 1, 3, 2): white, black
  Bitmap b = test::Padded(5, 4);
  auto flat = Parse("100;0;0;0;0;100;0;0;0;0");  // red 100
  PaintGradTxt(b, {0, 0, 5, 4}, flat, tex, {1, 1, 3, 2}, 128, 200);
  // (128 * (255 - 100) + 100 * 256) >> 8 = 177 on white texels; (128 * -100 + 25600) >> 8 = 50.
  EXPECT_EQ(b.At(0, 0), Px(127, 127, 177, 200));
  EXPECT_EQ(b.At(1, 3), Px(0, 0, 50, 200));
  EXPECT_EQ(b.At(4, 2), Px(127, 127, 177, 200));
  EXPECT_TRUE(test::PaddingIntact(b));
  Bitmap before = b;
  PaintGradTxt(b, {0, 0, 5, 4}, flat, tex, {3, 3, 9, 9}, 128, 200);  // empty texture part
  EXPECT_EQ(b, before);
  // Tiles start at the rectangle's origin even where the bitmap cuts it off.
  Bitmap shifted = test::Padded(4, 3);
  PaintGradTxt(shifted, {-1, -1, 4, 3}, flat, tex, {1, 1, 3, 2}, 128, 200);
  EXPECT_EQ(shifted.Copy({0, 0, 4, 3}), b.Copy({1, 1, 5, 4}));
  // Left to right uses the same composition.
  Bitmap v = test::Padded(5, 4);
  PaintGradTxt(v, {0, 0, 5, 4}, Parse("100;0;0;1;0;100;0;0;0;0"), tex, {1, 1, 3, 2}, 128, 200);
  EXPECT_EQ(v, b);
}

TEST(Shadow, SizeSymmetryAndFade) {
  auto s = MakeShadow(0x80000000, 5, 2, 3, 4, 3, false);
  ASSERT_EQ(s->Width(), 2 * 5 + 4 + 1);
  ASSERT_EQ(s->Height(), 2 * 5 + 3 + 2 + 1);
  EXPECT_EQ(s->At(0, 0), 0u);                      // outside the circle
  EXPECT_EQ(s->At(5, 7) >> 24, 0x80u * 255 >> 8);  // inside the inner radius: full opacity
  for (int y = 0; y < s->Height(); ++y)
    EXPECT_EQ(s->At(1, y) >> 24 == 0, s->At(s->Width() - 2, y) >> 24 == 0) << y;
  EXPECT_EQ(s->At(2, 7), s->At(s->Width() - 3, 7));
  EXPECT_EQ(s->At(7, 4), s->At(7, s->Height() - 1 - (4 - 2)));
  EXPECT_GT(s->At(5, 7) >> 24, s->At(5, 3) >> 24);
}

TEST(Shadow, MaskModeWithoutBlurFadesOverTheRadius) {
  // A blur size of -1 would divide by zero in the mask formula; the fade runs over the radius.
  auto m = MakeShadow(0xFF000000, 4, 0, 0, 0, -1, true);
  ASSERT_EQ(m->Width(), 9);
  EXPECT_EQ(m->At(0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(m->At(4, 4), 0xFF000000u);  // the centre: h = 255, grey 0
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 9; ++x) EXPECT_EQ(m->At(x, y) >> 24, 255u);
  EXPECT_LT(PixelR(m->At(4, 4)), PixelR(m->At(4, 1)));
}

}  // namespace
}  // namespace skin::paint
