#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Pen.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace gfx {
namespace {

// A bitmap whose every pixel word (all four bytes) is different.
Bitmap Pattern(int width, int height, Pixel salt = 0) {
  Bitmap b(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      b.Set(x, y, MakePixel(std::uint8_t(x), std::uint8_t(y), std::uint8_t(salt), 0x80 | (x & 7)));
  return b;
}

// Empty when the bitmaps are equal, otherwise where and how they first differ.
std::string Difference(const Bitmap& actual, const Bitmap& expected) {
  if (actual.Width() != expected.Width() || actual.Height() != expected.Height())
    return "sizes differ";
  for (int y = 0; y < actual.Height(); ++y)
    for (int x = 0; x < actual.Width(); ++x)
      if (actual.At(x, y) != expected.At(x, y))
        return "at " + std::to_string(x) + "," + std::to_string(y) + ": " +
               std::to_string(actual.At(x, y)) + " instead of " + std::to_string(expected.At(x, y));
  return {};
}

// The expected result of drawing: before, with value(x, y) wherever the effective clip of dc
// holds device pixel (x, y) and value gives a word.
Bitmap Expect(const Bitmap& before, const DeviceContext& dc,
              const std::function<std::optional<Pixel>(int, int)>& value) {
  Bitmap out = before;
  const Region clip = dc.EffectiveClip();
  for (int y = 0; y < out.Height(); ++y)
    for (int x = 0; x < out.Width(); ++x)
      if (clip.Contains({x, y}))
        if (std::optional<Pixel> v = value(x, y)) out.Set(x, y, *v);
  return out;
}

// A random clip made by the clipping calls, with a random origin.
void RandomClip(DeviceContext& dc, std::mt19937& rng) {
  std::uniform_int_distribution<int> coord(-6, 30), extent(1, 20), kind(0, 3), org(-4, 4);
  SetViewportOrgEx(&dc, org(rng), org(rng), nullptr);
  for (int n = kind(rng); n > 0; --n) {
    const int l = coord(rng), t = coord(rng), r = l + extent(rng), b = t + extent(rng);
    switch (kind(rng)) {
      case 0:
        IntersectClipRect(&dc, l, t, r, b);
        break;
      case 1: {
        const Region rgn({l, t, r, b});
        SelectClipRgn(&dc, &rgn);
        break;
      }
      default:
        ExcludeClipRect(&dc, l, t, r, b);
    }
  }
}

TEST(DeviceContextState, SaveAndRestoreByDepthAndByCount) {
  Bitmap bmp(8, 8);
  DeviceContext dc(bmp);
  SetTextColor(&dc, 1);
  EXPECT_EQ(SaveDC(&dc), 1);
  SetTextColor(&dc, 2);
  EXPECT_EQ(SaveDC(&dc), 2);
  SetTextColor(&dc, 3);
  EXPECT_EQ(SaveDC(&dc), 3);
  SetTextColor(&dc, 4);

  EXPECT_TRUE(RestoreDC(&dc, -1));  // back to the state saved third
  EXPECT_EQ(dc.State().textColor, 3u);
  EXPECT_EQ(dc.SavedStates().size(), 2u);
  EXPECT_TRUE(RestoreDC(&dc, 1));  // straight down to the first save
  EXPECT_EQ(dc.State().textColor, 1u);
  EXPECT_TRUE(dc.SavedStates().empty());

  // Depths that do not exist fail and change nothing.
  EXPECT_EQ(SaveDC(&dc), 1);
  SetTextColor(&dc, 5);
  EXPECT_FALSE(RestoreDC(&dc, 0));
  EXPECT_FALSE(RestoreDC(&dc, 2));
  EXPECT_FALSE(RestoreDC(&dc, -2));
  EXPECT_EQ(dc.State().textColor, 5u);
  EXPECT_TRUE(RestoreDC(&dc, -1));
  EXPECT_FALSE(RestoreDC(&dc, -1));
  EXPECT_EQ(SaveDC(nullptr), 0);
}

TEST(DeviceContextState, SettersReturnThePreviousValueAndRefuseUnknownModes) {
  Bitmap bmp(1, 1);
  DeviceContext dc(bmp);
  SetDCPenColor(&dc, 9);
  EXPECT_EQ(SetDCPenColor(&dc, CLR_NONE), 9u);
  EXPECT_EQ(SetBkMode(&dc, TRANSPARENT), OPAQUE);
  EXPECT_EQ(SetBkMode(&dc, 77), 0);
  EXPECT_EQ(dc.State().bkMode, TRANSPARENT);
  EXPECT_EQ(SetPolyFillMode(&dc, WINDING), ALTERNATE);
  EXPECT_EQ(SetPolyFillMode(&dc, 0), 0);
  EXPECT_EQ(dc.State().polyFillMode, WINDING);

  TPoint old{-1, -1};
  SetViewportOrgEx(&dc, 5, 6, nullptr);
  EXPECT_TRUE(OffsetViewportOrgEx(&dc, -2, 3, &old));
  EXPECT_EQ(old, (TPoint{5, 6}));
  EXPECT_EQ(dc.State().origin, (TPoint{3, 9}));
}

TEST(DeviceContextClip, RectanglesAreLogicalAndStartFromTheTarget) {
  Bitmap bmp(20, 10);
  DeviceContext dc(bmp);
  TRect box;
  EXPECT_EQ(GetClipBox(&dc, &box), SIMPLEREGION);
  EXPECT_EQ(box, (TRect{0, 0, 20, 10}));

  SetViewportOrgEx(&dc, 4, 2, nullptr);
  EXPECT_EQ(GetClipBox(&dc, &box), SIMPLEREGION);
  EXPECT_EQ(box, (TRect{-4, -2, 16, 8}));  // the same pixels, seen from the new origin

  // Excluding with no clip yet cuts out of the whole target.
  EXPECT_EQ(ExcludeClipRect(&dc, 0, 0, 2, 2), COMPLEXREGION);
  EXPECT_EQ(dc.EffectiveClip(), Region({0, 0, 20, 10}).Subtract(Region({4, 2, 6, 4})));
  // Intersecting may reach beyond the target; only the target's part stays drawable.
  EXPECT_EQ(IntersectClipRect(&dc, -10, -10, 1, 30), COMPLEXREGION);
  EXPECT_EQ(dc.EffectiveClip(),
            Region({0, 0, 4, 10}).Union(Region({4, 4, 5, 10})).Union(Region({4, 0, 5, 2})));
  EXPECT_EQ(GetClipBox(&dc, &box), COMPLEXREGION);
  EXPECT_EQ(box, (TRect{-4, -2, 1, 8}));

  EXPECT_EQ(IntersectClipRect(&dc, 30, 30, 40, 40), NULLREGION);
  EXPECT_EQ(GetClipBox(&dc, &box), NULLREGION);
  EXPECT_EQ(box, TRect{});
}

TEST(DeviceContextClip, SelectedRegionIsACopyAndSavedWithTheState) {
  Bitmap bmp(20, 10);
  DeviceContext dc(bmp);
  Region rgn({2, 2, 6, 6});
  EXPECT_EQ(SelectClipRgn(&dc, &rgn), SIMPLEREGION);
  rgn = Region({0, 0, 1, 1});
  EXPECT_EQ(dc.EffectiveClip(), Region({2, 2, 6, 6}));

  // Selected regions are in device pixels: the origin does not move them.
  SetViewportOrgEx(&dc, 10, 0, nullptr);
  TRect box;
  GetClipBox(&dc, &box);
  EXPECT_EQ(box, (TRect{-8, 2, -4, 6}));

  const int depth = SaveDC(&dc);
  IntersectClipRect(&dc, -7, 0, -6, 10);
  EXPECT_EQ(dc.EffectiveClip(), Region({3, 2, 4, 6}));
  SaveDC(&dc);
  EXPECT_EQ(SelectClipRgn(&dc, nullptr), SIMPLEREGION);
  EXPECT_EQ(dc.EffectiveClip(), Region(bmp.Bounds()));
  RestoreDC(&dc, -1);
  EXPECT_EQ(dc.EffectiveClip(), Region({3, 2, 4, 6}));
  RestoreDC(&dc, depth);
  EXPECT_EQ(dc.EffectiveClip(), Region({2, 2, 6, 6}));

  // A region reaching past the target is kept whole, but only its visible part counts.
  Region wide({-5, 8, 50, 20});
  EXPECT_EQ(SelectClipRgn(&dc, &wide), SIMPLEREGION);
  EXPECT_EQ(*dc.State().clip, wide);
  EXPECT_EQ(dc.EffectiveClip(), Region({0, 8, 20, 10}));
}

TEST(DeviceContextDrawing, InvertingOperationsAreClippedAndUndoThemselves) {
  std::mt19937 rng(77);
  std::uniform_int_distribution<int> coord(-8, 30), extent(-2, 25);
  for (int iteration = 0; iteration < 200; ++iteration) {
    SCOPED_TRACE("seed 77, iteration " + std::to_string(iteration));
    Bitmap bmp = Pattern(24, 20);
    const Bitmap before = bmp;
    DeviceContext dc(bmp);
    RandomClip(dc, rng);
    SetDCBrushColor(&dc, RGB(0x12, 0x34, 0x56));
    const TRect r = RectOfSize(coord(rng), coord(rng), extent(rng), extent(rng));
    const TPoint o = dc.State().origin;
    const TRect device{std::min(r.Left, r.Right) + o.X, std::min(r.Top, r.Bottom) + o.Y,
                       std::max(r.Left, r.Right) + o.X, std::max(r.Top, r.Bottom) + o.Y};
    const bool pattern = iteration % 2;
    ASSERT_TRUE(PatBlt(&dc, r.Left, r.Top, r.Width(), r.Height(), pattern ? PATINVERT : DSTINVERT));
    const Bitmap expected = Expect(before, dc, [&](int x, int y) -> std::optional<Pixel> {
      if (!device.Contains({x, y})) return std::nullopt;
      return before.At(x, y) ^ (pattern ? MakePixel(0x56, 0x34, 0x12, 0) : 0xFFFFFFFFu);
    });
    ASSERT_EQ(Difference(bmp, expected), "");
    PatBlt(&dc, r.Left, r.Top, r.Width(), r.Height(), pattern ? PATINVERT : DSTINVERT);
    ASSERT_EQ(Difference(bmp, before), "");
  }
  // A closed outline in R2_NOT touches each pixel once: drawn twice, it is gone.
  Bitmap bmp = Pattern(12, 10);
  const Bitmap before = bmp;
  DeviceContext dc(bmp);
  EXPECT_EQ(SetROP2(&dc, R2_NOT), R2_COPYPEN);
  EXPECT_EQ(SetROP2(&dc, 99), 0);
  const TPoint outline[5] = {{2, 1}, {9, 1}, {9, 7}, {2, 7}, {2, 1}};
  ASSERT_TRUE(Polyline(&dc, outline, 5));
  const Bitmap expected = Expect(before, dc, [&](int x, int y) -> std::optional<Pixel> {
    bool edge =
        ((y == 1 || y == 7) && x >= 2 && x <= 9) || ((x == 2 || x == 9) && y >= 1 && y <= 7);
    if (!edge) return std::nullopt;
    return ~before.At(x, y);
  });
  EXPECT_EQ(Difference(bmp, expected), "");
  Polyline(&dc, outline, 5);
  EXPECT_EQ(Difference(bmp, before), "");
  EXPECT_FALSE(PatBlt(&dc, 0, 0, 4, 4, SRCCOPY));
}

TEST(DeviceContextDrawing, FillRectIsClippedAndWritesAlphaZero) {
  std::mt19937 rng(4242);
  std::uniform_int_distribution<int> coord(-8, 30), extent(-2, 25);
  for (int iteration = 0; iteration < 300; ++iteration) {
    SCOPED_TRACE("seed 4242, iteration " + std::to_string(iteration));
    Bitmap bmp = Pattern(24, 20);
    const Bitmap before = bmp;
    DeviceContext dc(bmp);
    RandomClip(dc, rng);
    const TRect r = RectOfSize(coord(rng), coord(rng), extent(rng), extent(rng));
    ASSERT_EQ(FillRect(&dc, r, RGB(10, 20, 30)), 1);
    const TRect device = r.Offset(dc.State().origin.X, dc.State().origin.Y);
    const Bitmap expected = Expect(before, dc, [&](int x, int y) -> std::optional<Pixel> {
      if (!device.Contains({x, y})) return std::nullopt;
      return MakePixel(30, 20, 10, 0);
    });
    ASSERT_EQ(Difference(bmp, expected), "");
  }
  Bitmap bmp = Pattern(4, 4);
  const Bitmap before = bmp;
  DeviceContext dc(bmp);
  FillRect(&dc, {0, 0, 4, 4}, CLR_NONE);
  EXPECT_EQ(Difference(bmp, before), "");
}

TEST(DeviceContextDrawing, NestedClipsApplyAndRestore) {
  Bitmap bmp(10, 1);
  DeviceContext dc(bmp);
  auto row = [&] {
    std::string s;
    for (int x = 0; x < 10; ++x) s += bmp.At(x, 0) == 0 ? '.' : char('0' + PixelR(bmp.At(x, 0)));
    return s;
  };
  SaveDC(&dc);
  IntersectClipRect(&dc, 1, 0, 9, 1);
  SaveDC(&dc);
  SetViewportOrgEx(&dc, 2, 0, nullptr);
  ExcludeClipRect(&dc, 1, 0, 3, 1);  // device 3..4
  FillRect(&dc, {-5, 0, 20, 1}, RGB(1, 0, 0));
  EXPECT_EQ(row(), ".11..1111.");
  RestoreDC(&dc, -1);
  FillRect(&dc, {0, 0, 10, 1}, RGB(2, 0, 0));
  EXPECT_EQ(row(), ".22222222.");
  RestoreDC(&dc, 1);
  FillRect(&dc, {0, 0, 10, 1}, RGB(3, 0, 0));
  EXPECT_EQ(row(), "3333333333");
}

TEST(DeviceContextDrawing, BitBltMatchesPerPixelReference) {
  std::mt19937 rng(9001);
  std::uniform_int_distribution<int> coord(-10, 30), extent(-1, 30), coin(0, 1), org(-3, 3);
  for (int iteration = 0; iteration < 400; ++iteration) {
    SCOPED_TRACE("seed 9001, iteration " + std::to_string(iteration));
    Bitmap bmp = Pattern(24, 20);
    Bitmap other = Pattern(17, 13, 0x55);
    const bool sameBitmap = coin(rng) == 1;
    Bitmap& srcBmp = sameBitmap ? bmp : other;
    const Bitmap before = bmp, srcBefore = srcBmp;
    DeviceContext dc(bmp), srcDc(srcBmp);
    RandomClip(dc, rng);
    SetViewportOrgEx(&srcDc, org(rng), org(rng), nullptr);
    const int x = coord(rng), y = coord(rng), cx = extent(rng), cy = extent(rng);
    const int x1 = coord(rng), y1 = coord(rng);
    ASSERT_TRUE(BitBlt(&dc, x, y, cx, cy, &srcDc, x1, y1, SRCCOPY));
    const TPoint o = dc.State().origin, so = srcDc.State().origin;
    // Every destination pixel reads the source as it was before the call.
    const Bitmap expected = Expect(before, dc, [&](int dx, int dy) -> std::optional<Pixel> {
      if (!RectOfSize(x + o.X, y + o.Y, cx, cy).Contains({dx, dy})) return std::nullopt;
      const int sx = dx - o.X - x + x1 + so.X, sy = dy - o.Y - y + y1 + so.Y;
      if (!srcBefore.Bounds().Contains({sx, sy})) return std::nullopt;
      return srcBefore.At(sx, sy);
    });
    ASSERT_EQ(Difference(bmp, expected), "");
  }
}

TEST(DeviceContextDrawing, BlackAndWhiteRopsAndFailures) {
  Bitmap bmp = Pattern(6, 4);
  DeviceContext dc(bmp);
  EXPECT_TRUE(BitBlt(&dc, 1, 1, 2, 2, nullptr, 0, 0, BLACKNESS));
  EXPECT_TRUE(StretchBlt(&dc, 5, 0, -2, 1, nullptr, 0, 0, 1, 1, WHITENESS));
  EXPECT_EQ(bmp.At(1, 1), 0u);
  EXPECT_EQ(bmp.At(2, 2), 0u);
  EXPECT_EQ(bmp.At(3, 0), 0x00FFFFFFu);
  EXPECT_EQ(bmp.At(4, 0), 0x00FFFFFFu);
  EXPECT_NE(bmp.At(5, 0), 0x00FFFFFFu);
  EXPECT_FALSE(BitBlt(&dc, 0, 0, 2, 2, nullptr, 0, 0, SRCCOPY));
  EXPECT_FALSE(BitBlt(&dc, 0, 0, 2, 2, &dc, 0, 0, 0x00EE0086));  // SRCPAINT is not offered
}

TEST(DeviceContextDrawing, StretchBltSamplesPixelCentres) {
  Bitmap src(4, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) src.Set(x, y, Pixel(0xA0000000u | (y << 4) | x));
  DeviceContext srcDc(src);
  auto run = [&](int w, int h, int x, int y, int cx, int cy, int x1, int y1, int cx1, int cy1) {
    Bitmap dst(w, h);
    DeviceContext dc(dst);
    EXPECT_TRUE(StretchBlt(&dc, x, y, cx, cy, &srcDc, x1, y1, cx1, cy1, SRCCOPY));
    std::vector<std::string> rows;
    for (int r = 0; r < h; ++r) {
      std::string s;
      for (int c = 0; c < w; ++c)
        s += dst.At(c, r) == 0 ? std::string("--") : std::to_string(dst.At(c, r) & 0xFF);
      rows.push_back(s);
    }
    return rows;
  };
  using Rows = std::vector<std::string>;
  // Doubling repeats each pixel; all four bytes travel.
  EXPECT_EQ(run(4, 2, 0, 0, 4, 2, 1, 1, 2, 1), (Rows{"17171818", "17171818"}));
  // Four columns onto two take the centres of 0.5..1.5 and 2.5..3.5, i.e. columns 1 and 3.
  EXPECT_EQ(run(2, 1, 0, 0, 2, 1, 0, 0, 4, 1), (Rows{"13"}));
  // Three onto two: centres 0.75 and 2.25.
  EXPECT_EQ(run(2, 1, 0, 0, 2, 1, 0, 2, 3, 1), (Rows{"3234"}));
  // A negative destination width mirrors; its rectangle is x + cx .. x.
  EXPECT_EQ(run(4, 1, 4, 0, -4, 1, 0, 0, 4, 1), (Rows{"3210"}));
  // Negative source and destination heights cancel; a negative source height alone flips.
  EXPECT_EQ(run(1, 3, 0, 3, 1, -3, 2, 3, 1, -3), run(1, 3, 0, 0, 1, 3, 2, 0, 1, 3));
  EXPECT_EQ(run(1, 3, 0, 0, 1, 3, 2, 3, 1, -3), (Rows{"34", "18", "2"}));
  // Source pixels outside the source bitmap are not drawn.
  EXPECT_EQ(run(4, 1, 0, 0, 4, 1, 2, 0, 4, 1), (Rows{"23----"}));

  // Within one bitmap the source is read as it was before the call.
  Bitmap one(4, 1);
  for (int x = 0; x < 4; ++x) one.Set(x, 0, Pixel(x + 1));
  DeviceContext dc(one);
  EXPECT_TRUE(StretchBlt(&dc, 0, 0, 4, 1, &dc, 0, 0, 2, 1, SRCCOPY));
  EXPECT_EQ(one.At(0, 0), 1u);
  EXPECT_EQ(one.At(1, 0), 1u);
  EXPECT_EQ(one.At(2, 0), 2u);
  EXPECT_EQ(one.At(3, 0), 2u);
}

// Point-in-polygon at pixel centres by counting edge crossings right of the centre.
bool InsideReference(const std::vector<TPoint>& pts, int x, int y, int mode) {
  const double cx = x + 0.5, cy = y + 0.5;
  int crossings = 0, winding = 0;
  for (std::size_t i = 0; i < pts.size(); ++i) {
    const TPoint a = pts[i], b = pts[(i + 1) % pts.size()];
    if ((a.Y < cy) == (b.Y < cy)) continue;
    const double ix = a.X + (cy - a.Y) * (b.X - a.X) / double(b.Y - a.Y);
    if (ix > cx) {
      ++crossings;
      winding += b.Y > a.Y ? 1 : -1;
    }
  }
  return mode == WINDING ? winding != 0 : crossings % 2 == 1;
}

TEST(DeviceContextDrawing, PolygonFillMatchesCentreSamplingReference) {
  std::mt19937 rng(31337);
  std::uniform_int_distribution<int> coord(-3, 22), count(3, 8);
  for (int iteration = 0; iteration < 300; ++iteration) {
    SCOPED_TRACE("seed 31337, iteration " + std::to_string(iteration));
    // Random polygons, usually concave or self-intersecting. An edge whose two extents
    // are both odd or both even (and non-zero) can pass through a pixel centre, where the
    // floating-point reference would be ambiguous, so such polygons are drawn again.
    std::vector<TPoint> pts;
    bool ambiguous = true;
    while (ambiguous) {
      pts.resize(std::size_t(count(rng)));
      for (TPoint& p : pts) p = {coord(rng), coord(rng)};
      ambiguous = false;
      for (std::size_t i = 0; i < pts.size(); ++i) {
        const int dx = pts[(i + 1) % pts.size()].X - pts[i].X;
        const int dy = pts[(i + 1) % pts.size()].Y - pts[i].Y;
        ambiguous = ambiguous || (dx != 0 && dy != 0 && (dx - dy) % 2 == 0);
      }
    }
    for (int mode : {ALTERNATE, WINDING}) {
      Bitmap bmp = Pattern(20, 20);
      const Bitmap before = bmp;
      DeviceContext dc(bmp);
      RandomClip(dc, rng);
      SetDCPenColor(&dc, CLR_NONE);
      SetDCBrushColor(&dc, RGB(200, 100, 50));
      SetPolyFillMode(&dc, mode);
      ASSERT_TRUE(Polygon(&dc, pts.data(), int(pts.size())));
      const TPoint o = dc.State().origin;
      const Bitmap expected = Expect(before, dc, [&](int x, int y) -> std::optional<Pixel> {
        if (!InsideReference(pts, x - o.X, y - o.Y, mode)) return std::nullopt;
        return MakePixel(50, 100, 200, 0);
      });
      ASSERT_EQ(Difference(bmp, expected), "") << (mode == WINDING ? "WINDING" : "ALTERNATE");
    }
  }
}

TEST(DeviceContextDrawing, PolygonShapesAndOutline) {
  Bitmap bmp(8, 8);
  DeviceContext dc(bmp);
  SetDCPenColor(&dc, CLR_NONE);
  SetDCBrushColor(&dc, RGB(0, 0, 1));
  const TPoint square[] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
  ASSERT_TRUE(Polygon(&dc, square, 4));
  EXPECT_EQ(Region::FromBitmap(bmp, 0), Region({0, 0, 4, 4}));

  // A five-pointed star: its centre is enclosed twice, so ALTERNATE leaves it empty.
  const TPoint star[] = {{50, 0}, {79, 90}, {2, 34}, {97, 34}, {20, 90}};
  for (int mode : {ALTERNATE, WINDING}) {
    Bitmap big(100, 100);
    DeviceContext bigDc(big);
    SetDCPenColor(&bigDc, CLR_NONE);
    SetDCBrushColor(&bigDc, RGB(0, 0, 1));
    SetPolyFillMode(&bigDc, mode);
    ASSERT_TRUE(Polygon(&bigDc, star, 5));
    EXPECT_EQ(big.At(50, 50) != 0, mode == WINDING);
    EXPECT_NE(big.At(50, 10), 0u);  // top point
    EXPECT_NE(big.At(20, 40), 0u);  // left point
    EXPECT_EQ(big.At(50, 85), 0u);  // between the two lower points
  }

  // The outline is the closed path drawn with LineTo.
  Bitmap a(12, 12), b(12, 12);
  DeviceContext da(a), db(b);
  const TPoint tri[] = {{1, 1}, {10, 3}, {4, 9}};
  SetDCBrushColor(&da, CLR_NONE);
  SetDCPenColor(&da, RGB(9, 9, 9));
  SetDCPenColor(&db, RGB(9, 9, 9));
  ASSERT_TRUE(Polygon(&da, tri, 3));
  MoveToEx(&db, 1, 1, nullptr);
  LineTo(&db, 10, 3);
  LineTo(&db, 4, 9);
  LineTo(&db, 1, 1);
  EXPECT_EQ(Difference(a, b), "");
  EXPECT_NE(a.At(1, 1), 0u);
  EXPECT_NE(a.At(4, 9), 0u);
  EXPECT_FALSE(Polygon(&da, tri, 1));
}

TEST(DeviceContextDrawing, LinesInAllOctants) {
  const int deltas[] = {-9, -5, -1, 0, 2, 4, 7};
  for (int dx : deltas)
    for (int dy : deltas) {
      SCOPED_TRACE(std::to_string(dx) + "," + std::to_string(dy));
      Bitmap bmp(30, 30);
      DeviceContext dc(bmp);
      SetViewportOrgEx(&dc, 3, -2, nullptr);
      SetDCPenColor(&dc, RGB(1, 2, 3));
      MoveToEx(&dc, 12, 17, nullptr);
      ASSERT_TRUE(LineTo(&dc, 12 + dx, 17 + dy));
      TPoint pos;
      MoveToEx(&dc, 0, 0, &pos);
      EXPECT_EQ(pos, (TPoint{12 + dx, 17 + dy}));
      // Device start (15, 15): one pixel per step along the longer axis, the end left out,
      // each pixel within half a pixel of the ideal line.
      const int steps = std::max(std::abs(dx), std::abs(dy));
      int drawn = 0;
      for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x) {
          if (bmp.At(x, y) == 0) continue;
          ++drawn;
          EXPECT_EQ(bmp.At(x, y), MakePixel(3, 2, 1, 0));
          const bool xMajor = std::abs(dx) >= std::abs(dy);
          const int k = xMajor ? (x - 15) * (dx > 0 ? 1 : -1) : (y - 15) * (dy > 0 ? 1 : -1);
          EXPECT_TRUE(k >= 0 && k < steps) << x << "," << y;
          const double ideal =
              xMajor ? 15 + double(k) * dy / std::abs(dx) : 15 + double(k) * dx / std::abs(dy);
          EXPECT_LE(std::abs((xMajor ? y : x) - ideal), 0.5) << x << "," << y;
        }
      EXPECT_EQ(drawn, steps);
    }
}

TEST(DeviceContextDrawing, PixelsRespectClipAndTarget) {
  Bitmap bmp = Pattern(5, 5);
  DeviceContext dc(bmp);
  SetViewportOrgEx(&dc, 1, 1, nullptr);
  ExcludeClipRect(&dc, 1, 1, 2, 2);  // device (2, 2)
  EXPECT_EQ(SetPixel(&dc, 0, 0, RGB(7, 8, 9)), RGB(7, 8, 9));
  EXPECT_EQ(bmp.At(1, 1), MakePixel(9, 8, 7, 0));
  EXPECT_EQ(GetPixel(&dc, 0, 0), RGB(7, 8, 9));
  EXPECT_EQ(GetPixel(&dc, 2, 0), ColorFromPixel(bmp.At(3, 1)));
  EXPECT_EQ(SetPixel(&dc, 1, 1, RGB(1, 1, 1)), CLR_INVALID);
  EXPECT_EQ(GetPixel(&dc, 1, 1), CLR_INVALID);
  EXPECT_EQ(GetPixel(&dc, -2, 0), CLR_INVALID);
  EXPECT_EQ(GetPixel(&dc, 4, 0), CLR_INVALID);
  EXPECT_EQ(SetPixel(&dc, std::numeric_limits<int>::max(), 0, 0), CLR_INVALID);
}

TEST(DeviceContextDrawing, AbsurdCoordinatesClipWithoutOverflow) {
  constexpr int kMin = std::numeric_limits<int>::min(), kMax = std::numeric_limits<int>::max();
  Bitmap bmp(16, 8);
  DeviceContext dc(bmp);
  SetViewportOrgEx(&dc, 7, -3, nullptr);
  SetDCPenColor(&dc, RGB(0, 0, 1));
  MoveToEx(&dc, kMin, 5, nullptr);
  LineTo(&dc, kMax, 5);  // device row 2, every column
  EXPECT_EQ(Region::FromBitmap(bmp, 0), Region({0, 2, 16, 3}));

  bmp.Fill(0);
  MoveToEx(&dc, kMin, kMin, nullptr);
  LineTo(&dc, kMax, kMax);  // the diagonal, device x == y + 10
  EXPECT_EQ(Region::FromBitmap(bmp, 0), Region::FromRects(std::vector<TRect>{{10, 0, 11, 1},
                                                                             {11, 1, 12, 2},
                                                                             {12, 2, 13, 3},
                                                                             {13, 3, 14, 4},
                                                                             {14, 4, 15, 5},
                                                                             {15, 5, 16, 6}}));

  bmp.Fill(0);
  SetDCPenColor(&dc, CLR_NONE);
  const TPoint huge[] = {{kMin, kMin}, {kMax, kMin}, {kMax, kMax}, {kMin, kMax}};
  EXPECT_TRUE(Polygon(&dc, huge, 4));
  EXPECT_EQ(Region::FromBitmap(bmp, 0), Region(bmp.Bounds()));

  bmp.Fill(0);
  FillRect(&dc, {kMin, kMin, kMax, kMax}, RGB(0, 0, 1));
  EXPECT_EQ(Region::FromBitmap(bmp, 0), Region(bmp.Bounds()));
  const Bitmap filled = bmp;
  EXPECT_TRUE(BitBlt(&dc, 0, 0, 10, 10, &dc, kMax, kMin, SRCCOPY));
  EXPECT_TRUE(StretchBlt(&dc, kMin, kMin, kMax, kMax, &dc, kMax, kMax, -kMax, -kMax, SRCCOPY));
  EXPECT_EQ(Difference(bmp, filled), "");
}

HPEN GreenPens(int style, int width, COLORREF) {
  return DefCreatePen(style, width, RGB(0, 255, 0));
}

TEST(Pens, LinesTakeTheSelectedPenAndCreatePenCanBeReplaced) {
  Bitmap bmp(5, 2);
  bmp.Fill(0xFFFFFFFF);
  DeviceContext dc(bmp);
  const std::size_t before = PenCount();
  HPEN red = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  EXPECT_EQ(PenCount(), before + 1);
  EXPECT_TRUE(SelectPen(&dc, red));
  EXPECT_TRUE(DeletePen(red));  // the context keeps the colour
  EXPECT_FALSE(DeletePen(red));
  MoveToEx(&dc, 0, 0, nullptr);
  LineTo(&dc, 5, 0);
  EXPECT_EQ(ColorFromPixel(bmp.At(2, 0)), RGB(255, 0, 0));
  HPEN none = CreatePen(PS_NULL, 1, RGB(0, 0, 255));
  SelectPen(&dc, none);
  MoveToEx(&dc, 0, 1, nullptr);
  LineTo(&dc, 5, 1);
  EXPECT_EQ(bmp.At(2, 1), 0xFFFFFFFFu);
  DeletePen(none);
  EXPECT_FALSE(SelectPen(&dc, nullptr));

  EXPECT_EQ(SetCreatePenProc(&GreenPens), nullptr);
  HPEN green = CreatePen(PS_DASH, 2, RGB(255, 0, 0));
  EXPECT_EQ(green->color, RGB(0, 255, 0));
  EXPECT_EQ(green->style, PS_DASH);
  EXPECT_EQ(green->width, 2);
  DeletePen(green);
  EXPECT_EQ(SetCreatePenProc(nullptr), &GreenPens);
  HPEN own = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  EXPECT_EQ(own->color, RGB(255, 0, 0));
  DeletePen(own);
  EXPECT_EQ(PenCount(), before);
}

}  // namespace
}  // namespace gfx
