// Border bands between contexts and the nine-slice copy of a template, against mappings
// written out by hand.
#include <functional>

#include "PaintTestUtil.h"
#include "skin/paint/sGraphUtils.h"

namespace skin::paint {
namespace {

// A source whose pixels name their own place: (x, y) -> 0xFF00YYXX + 1.
Bitmap Coded(int w, int h) {
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.Set(x, y, 0xFF000000u | std::uint32_t(y) << 8 | std::uint32_t(x + 1));
  return b;
}
constexpr std::uint32_t At(int x, int y) {
  return 0xFF000000u | std::uint32_t(y) << 8 | std::uint32_t(x + 1);
}

// Every pixel of dst: the source place map(x, y) gives (x < 0 for "untouched", 0).
void ExpectMapping(const Bitmap& dst, const std::function<TPoint(int, int)>& map) {
  for (int y = 0; y < dst.Height(); ++y)
    for (int x = 0; x < dst.Width(); ++x) {
      TPoint s = map(x, y);
      ASSERT_EQ(dst.At(x, y), s.X < 0 ? 0u : At(s.X, s.Y)) << "at " << x << "," << y;
    }
}

TEST(BitBltBorderTest, OneWidthCopiesAUniformFrameAndNothingElse) {
  Bitmap src = Coded(30, 30), dst(30, 30);
  gfx::DeviceContext s(src), d(dst);
  BitBltBorder(&d, 4, 5, 10, 8, &s, 6, 2, 1, 0, 0, 0);
  ExpectMapping(dst, [](int x, int y) {
    bool inside = x >= 4 && x < 14 && y >= 5 && y < 13;
    bool band = x == 4 || x == 13 || y == 5 || y == 12;
    return inside && band ? TPoint{x + 2, y - 3} : TPoint{-1, 0};
  });
}

TEST(BitBltBorderTest, BandsOfTheirOwnWidthsStayInTheRectangle) {
  Bitmap src = Coded(40, 40), dst(40, 40);
  gfx::DeviceContext s(src), d(dst);
  BitBltBorder(&d, 3, 3, 12, 10, &s, 3, 3, 2, 1, 3, 4);
  ExpectMapping(dst, [](int x, int y) {
    bool inside = x >= 3 && x < 15 && y >= 3 && y < 13;
    bool band = x < 5 || y < 4 || x >= 12 || y >= 9;
    return inside && band ? TPoint{x, y} : TPoint{-1, 0};
  });
}

TEST(BitBltBorderTest, NegativeAndZeroSizesAreHarmless) {
  Bitmap src = Coded(10, 10), dst(10, 10);
  gfx::DeviceContext s(src), d(dst);
  BitBltBorder(&d, 2, 2, 0, 5, &s, 0, 0, 1, 1, 1, 1);
  BitBltBorder(&d, 2, 2, 5, -5, &s, 0, 0, 1, 1, 1, 1);
  BitBltBorder(&d, 2, 2, 5, 5, &s, 0, 0, -4, 0, 0, 0);  // every band 0 wide
  ExpectMapping(dst, [](int, int) { return TPoint{-1, 0}; });
  // Widths beyond the rectangle copy it whole, no more.
  BitBltBorder(&d, 2, 2, 5, 5, &s, 2, 2, 100, 100, 100, 100);
  ExpectMapping(dst, [](int x, int y) {
    return x >= 2 && x < 7 && y >= 2 && y < 7 ? TPoint{x, y} : TPoint{-1, 0};
  });
}

// Tiling: a destination coordinate between the corners repeats the source side.
int Tiled(int v, int border, int piece) {
  return border + (v - border) % piece;
}

TEST(TemplateTest, TiledSidesAndCentre) {
  Bitmap src = Coded(9, 8), dst(17, 14);
  const TRect bw{3, 2, 2, 3};
  PaintControlByTemplate(dst, src, dst.Bounds(), src.Bounds(), bw, bw, {0, 0, 0, 0}, false, true);
  // Source centre 4 x 3; destination between corners x 3..14, y 2..10.
  ExpectMapping(dst, [](int x, int y) {
    int sx = x < 3 ? x : x >= 15 ? x - 8 : Tiled(x, 3, 4);
    int sy = y < 2 ? y : y >= 11 ? y - 6 : Tiled(y, 2, 3);
    return TPoint{sx, sy};
  });
}

TEST(TemplateTest, StretchedSidesAndCentre) {
  Bitmap src = Coded(8, 8), dst(12, 16);
  const TRect bw{2, 2, 2, 2};
  PaintControlByTemplate(dst, src, dst.Bounds(), src.Bounds(), bw, bw, {1, 1, 1, 1}, true, true);
  // Centre 4 x 4 over 8 x 12: nearest sample of each pixel's middle.
  ExpectMapping(dst, [](int x, int y) {
    int sx = x < 2 ? x : x >= 10 ? x - 4 : 2 + (2 * (x - 2) + 1) * 4 / 16;
    int sy = y < 2 ? y : y >= 14 ? y - 8 : 2 + (2 * (y - 2) + 1) * 4 / 24;
    return TPoint{sx, sy};
  });
}

TEST(TemplateTest, ThinSideBandsLeaveLShapedCorners) {
  Bitmap src = Coded(10, 10), dst(14, 12);
  const TRect bw{3, 3, 3, 3}, mw{1, 1, 1, 1};
  PaintControlByTemplate(dst, src, dst.Bounds(), src.Bounds(), bw, mw, {0, 0, 0, 0}, false, false);
  ExpectMapping(dst, [](int x, int y) {
    int sx = x < 3 ? x : x >= 11 ? x - 4 : Tiled(x, 3, 4);
    int sy = y < 3 ? y : y >= 9 ? y - 2 : Tiled(y, 3, 4);
    // The bands are one pixel thick; the corners are 3 x 1 plus 1 x 2 at the outer edges.
    bool edge = x == 0 || y == 0 || x == 13 || y == 11;
    return edge ? TPoint{sx, sy} : TPoint{-1, 0};
  });
}

TEST(TemplateTest, ModesOtherThanTileOrStretchAndAnEmptyCentreDrawNothing) {
  Bitmap src = Coded(6, 8), dst(10, 12);
  const TRect bw{3, 2, 3, 2};  // source centre 0 wide
  PaintControlByTemplate(dst, src, dst.Bounds(), src.Bounds(), bw, bw, {0, 0, 0, 7}, false, true);
  ExpectMapping(dst, [](int x, int y) {
    int sx = x < 3 ? x : x >= 7 ? x - 4 : -1;
    int sy = y < 2 ? y : y >= 10 ? y - 4 : Tiled(y, 2, 4);
    if (sx < 0) return TPoint{-1, 0};  // no top, bottom or centre
    return TPoint{sx, sy};
  });
  Bitmap d2(10, 12);
  PaintControlByTemplate(d2, src, d2.Bounds(), src.Bounds(), bw, bw, {2, 0, -1, 0}, true, true);
  // Left and right sides skipped: only the corners.
  ExpectMapping(d2, [](int x, int y) {
    bool corner = (x < 3 || x >= 7) && (y < 2 || y >= 10);
    return corner ? TPoint{x < 3 ? x : x - 4, y < 2 ? y : y - 4} : TPoint{-1, 0};
  });
}

TEST(TemplateTest, DestinationOffsetAndSourceRectangleInsideLargerBitmaps) {
  Bitmap src = Coded(20, 20), dst(30, 30);
  const TRect bw{1, 1, 1, 1};
  PaintControlByTemplate(dst, src, {5, 6, 12, 11}, {10, 10, 14, 13}, bw, bw, {0, 0, 0, 0}, false,
                         true);
  ExpectMapping(dst, [](int x, int y) {
    if (x < 5 || x >= 12 || y < 6 || y >= 11) return TPoint{-1, 0};
    int lx = x - 5, ly = y - 6;
    int sx = lx < 1 ? 0 : lx >= 6 ? 3 : 1 + (lx - 1) % 2;
    int sy = ly < 1 ? 0 : ly >= 4 ? 2 : 1;
    return TPoint{10 + sx, 10 + sy};
  });
}

TEST(DrawBmpTest, AlphaOverTheContextStretchedToTheRectangle) {
  Bitmap canvas(12, 12);
  canvas.Fill(0xFF204060);
  gfx::DeviceContext dc(canvas);
  Bitmap pic(2, 2);
  pic.Set(0, 0, 0xFF0000FF);  // opaque blue
  pic.Set(1, 0, 0x00FFFFFF);  // fully transparent
  pic.Set(0, 1, 0xFFFF0000);
  pic.Set(1, 1, 0x00000000);
  DrawBmp(&dc, pic, {2, 3, 6, 7}, false);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) {
      std::uint32_t want = 0xFF204060;
      // Opaque pixels replace the ground (weight 255 of 256: 255 becomes 254).
      if (x >= 2 && x < 4 && y >= 3 && y < 5) want = 0xFF0000FE;
      if (x >= 2 && x < 4 && y >= 5 && y < 7) want = 0xFFFE0000;
      ASSERT_EQ(canvas.At(x, y), want) << x << "," << y;
    }
}

TEST(DrawBmpTest, ReflectionFadesBelowTheRectangleOnly) {
  Bitmap plain(10, 12), mirrored(10, 12);
  plain.Fill(0xFFFFFFFF);
  mirrored.Fill(0xFFFFFFFF);
  gfx::DeviceContext p(plain), m(mirrored);
  Bitmap pic(4, 4);
  pic.Fill(0xFF000000);
  DrawBmp(&p, pic, {3, 2, 7, 6}, false);
  DrawBmp(&m, pic, {3, 2, 7, 6}, true);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 10; ++x) {
      bool below = x >= 3 && x < 7 && y >= 6 && y < 8;
      if (!below) {
        ASSERT_EQ(mirrored.At(x, y), plain.At(x, y)) << x << "," << y;
      }
    }
  // The first mirrored row is darker than white, the reflection fades out.
  EXPECT_LT(mirrored.At(4, 6) & 0xFF, 0xFFu);
  EXPECT_EQ(plain.At(4, 6), 0xFFFFFFFFu);
  EXPECT_GE(mirrored.At(4, 7) & 0xFF, mirrored.At(4, 6) & 0xFF);
}

}  // namespace
}  // namespace skin::paint
