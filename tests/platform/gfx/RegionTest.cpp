#include "platform/gfx/Region.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

namespace gfx {
namespace {

// The reference: one flag per pixel of a fixed window, in which all test regions lie.
constexpr TRect kWorld{-8, -8, 56, 56};

class Grid {
 public:
  Grid() : cells_(std::size_t(kWorld.Width()) * kWorld.Height(), false) {}
  static Grid Of(const Region& r) {
    Grid g;
    for (const TRect& x : r.Rects()) g.Add(x);
    return g;
  }
  void Add(const TRect& r) {
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) Set(x, y, true);
  }
  bool At(int x, int y) const { return cells_[Index(x, y)]; }
  void Set(int x, int y, bool v) { cells_[Index(x, y)] = v; }
  Grid Apply(const Grid& other, const std::function<bool(bool, bool)>& op) const {
    Grid out;
    for (std::size_t i = 0; i < cells_.size(); ++i) out.cells_[i] = op(cells_[i], other.cells_[i]);
    return out;
  }
  friend bool operator==(const Grid&, const Grid&) = default;

 private:
  static std::size_t Index(int x, int y) {
    return std::size_t(y - kWorld.Top) * kWorld.Width() + (x - kWorld.Left);
  }
  std::vector<bool> cells_;
};

// Checks the canonical banded form: sorted bands, one top and bottom per band, spans that
// neither touch nor overlap, and no two touching bands with the same spans.
::testing::AssertionResult IsCanonical(const Region& r) {
  const std::vector<TRect>& v = r.Rects();
  std::size_t prevFirst = 0, prevLast = 0;
  for (std::size_t i = 0; i < v.size();) {
    std::size_t j = i;
    while (j < v.size() && v[j].Top == v[i].Top) {
      if (v[j].IsEmpty()) return ::testing::AssertionFailure() << "empty rectangle " << j;
      if (v[j].Bottom != v[i].Bottom) return ::testing::AssertionFailure() << "ragged band " << i;
      if (j > i && v[j].Left <= v[j - 1].Right)
        return ::testing::AssertionFailure() << "touching spans at " << j;
      ++j;
    }
    if (i > 0) {
      if (v[i].Top < v[prevFirst].Bottom)
        return ::testing::AssertionFailure() << "overlapping bands at " << i;
      bool same = v[i].Top == v[prevFirst].Bottom && j - i == prevLast - prevFirst;
      for (std::size_t k = 0; same && k < j - i; ++k)
        same = v[i + k].Left == v[prevFirst + k].Left && v[i + k].Right == v[prevFirst + k].Right;
      if (same) return ::testing::AssertionFailure() << "uncoalesced bands at " << i;
    }
    prevFirst = i;
    prevLast = j;
    i = j;
  }
  return ::testing::AssertionSuccess();
}

Region RandomRegion(std::mt19937& rng) {
  std::uniform_int_distribution<int> count(0, 7), coord(-4, 36), extent(1, 14);
  std::vector<TRect> rects;
  for (int n = count(rng); n > 0; --n)
    rects.push_back(RectOfSize(coord(rng), coord(rng), extent(rng), extent(rng)));
  return Region::FromRects(rects);
}

TEST(Region, BasicShapes) {
  EXPECT_EQ(Region().Complexity(), NULLREGION);
  EXPECT_EQ(Region(TRect{5, 5, 5, 9}).Complexity(), NULLREGION);
  EXPECT_EQ(Region().Bounds(), TRect{});
  Region one({1, 2, 5, 6});
  EXPECT_EQ(one.Complexity(), SIMPLEREGION);
  EXPECT_EQ(one.Bounds(), (TRect{1, 2, 5, 6}));
  // Two rectangles side by side become one; an L shape needs two bands.
  const TRect halves[] = {{0, 0, 2, 4}, {2, 0, 4, 4}};
  EXPECT_EQ(Region::FromRects(halves), Region({0, 0, 4, 4}));
  const TRect ell[] = {{0, 0, 2, 4}, {0, 2, 6, 4}};
  Region l = Region::FromRects(ell);
  EXPECT_EQ(l.Complexity(), COMPLEXREGION);
  EXPECT_EQ(l.Rects(), (std::vector<TRect>{{0, 0, 2, 2}, {0, 2, 6, 4}}));
  EXPECT_EQ(l.Bounds(), (TRect{0, 0, 6, 4}));
  l.Offset(-3, 10);
  EXPECT_EQ(l.Rects(), (std::vector<TRect>{{-3, 10, -1, 12}, {-3, 12, 3, 14}}));
}

TEST(Region, RandomOperationsMatchPerPixelReference) {
  const unsigned seed = 20261209;
  std::mt19937 rng(seed);
  struct Case {
    const char* name;
    Region (Region::*op)(const Region&) const;
    std::function<bool(bool, bool)> ref;
  };
  const Case cases[] = {
      {"Union", &Region::Union, [](bool a, bool b) { return a || b; }},
      {"Intersect", &Region::Intersect, [](bool a, bool b) { return a && b; }},
      {"Subtract", &Region::Subtract, [](bool a, bool b) { return a && !b; }},
      {"Xor", &Region::Xor, [](bool a, bool b) { return a != b; }},
  };
  for (int iteration = 0; iteration < 400; ++iteration) {
    SCOPED_TRACE("seed " + std::to_string(seed) + ", iteration " + std::to_string(iteration));
    const Region a = RandomRegion(rng), b = RandomRegion(rng);
    ASSERT_TRUE(IsCanonical(a));
    const Grid ga = Grid::Of(a), gb = Grid::Of(b);
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      const Region r = (a.*c.op)(b);
      ASSERT_TRUE(IsCanonical(r));
      const Grid expected = ga.Apply(gb, c.ref);
      ASSERT_TRUE(Grid::Of(r) == expected);
      // Membership, bounds and rectangle tests agree with the pixels too.
      TRect bounds;
      for (int y = kWorld.Top; y < kWorld.Bottom; ++y)
        for (int x = kWorld.Left; x < kWorld.Right; ++x) {
          ASSERT_EQ(r.Contains({x, y}), expected.At(x, y)) << x << "," << y;
          if (expected.At(x, y)) bounds = UnionRects(bounds, {x, y, x + 1, y + 1});
        }
      ASSERT_EQ(r.Bounds(), bounds);
      std::uniform_int_distribution<int> coord(-7, 48), extent(0, 7);
      for (int k = 0; k < 8; ++k) {
        const TRect probe = RectOfSize(coord(rng), coord(rng), extent(rng), extent(rng));
        bool any = false;
        for (int y = probe.Top; y < probe.Bottom; ++y)
          for (int x = probe.Left; x < probe.Right; ++x) any = any || expected.At(x, y);
        ASSERT_EQ(r.Intersects(probe), any);
      }
    }
    // Identities that hold only when the canonical form is unique.
    EXPECT_EQ(a.Union(b), b.Union(a));
    EXPECT_EQ(a.Xor(b), a.Subtract(b).Union(b.Subtract(a)));
    Region moved = a;
    moved.Offset(3, -2);
    Region back = moved;
    back.Offset(-3, 2);
    EXPECT_EQ(back, a);
    EXPECT_TRUE(a.IsEmpty() || moved.Contains({a.Rects()[0].Left + 3, a.Rects()[0].Top - 2}));
  }
}

TEST(Region, FromBitmapTakesPixelsUnlikeTheKey) {
  const unsigned seed = 77;
  std::mt19937 rng(seed);
  const Pixel key = MakePixel(255, 0, 255, 255);
  Bitmap bmp(30, 25, 30 * 4 + 8);
  bmp.Fill(key);
  Grid expected;
  // Random blocks of colour, some with the key's colour but another alpha.
  std::uniform_int_distribution<int> coord(0, 29), extent(1, 9), kind(0, 2);
  for (int n = 0; n < 12; ++n) {
    const TRect r =
        IntersectRects(RectOfSize(coord(rng), coord(rng), extent(rng), extent(rng)), bmp.Bounds());
    const int k = kind(rng);
    const Pixel p = k == 0 ? key : k == 1 ? MakePixel(255, 0, 255, 7) : MakePixel(1, 2, 3, 255);
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) {
        bmp.Set(x, y, p);
        expected.Set(x, y, k == 2);
      }
  }
  const Region colourOnly = Region::FromBitmap(bmp, key);
  EXPECT_TRUE(IsCanonical(colourOnly));
  EXPECT_TRUE(Grid::Of(colourOnly) == expected);

  const Region withAlpha = Region::FromBitmap(bmp, key, false);
  EXPECT_TRUE(IsCanonical(withAlpha));
  Grid expectedWithAlpha;
  for (int y = 0; y < bmp.Height(); ++y)
    for (int x = 0; x < bmp.Width(); ++x) expectedWithAlpha.Set(x, y, bmp.At(x, y) != key);
  EXPECT_TRUE(Grid::Of(withAlpha) == expectedWithAlpha);
}

TEST(Region, FromBitmapCoalescesEqualRows) {
  Bitmap bmp(6, 5);
  // A ring: rows 1 and 3 are full, row 2 has a hole; rows 0 and 4 are all key (0).
  for (int x = 1; x < 5; ++x) {
    bmp.Set(x, 1, 9);
    bmp.Set(x, 3, 9);
  }
  bmp.Set(1, 2, 9);
  bmp.Set(4, 2, 9);
  const Region r = Region::FromBitmap(bmp, 0);
  EXPECT_EQ(r.Rects(),
            (std::vector<TRect>{{1, 1, 5, 2}, {1, 2, 2, 3}, {4, 2, 5, 3}, {1, 3, 5, 4}}));
  Bitmap block(4, 8);
  block.Fill(5);
  EXPECT_EQ(Region::FromBitmap(block, 0).Rects(), (std::vector<TRect>{{0, 0, 4, 8}}));
}

}  // namespace
}  // namespace gfx
