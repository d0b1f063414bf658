// Section backgrounds on hand-built sections: transparency over ready and plain parents, the
// texture and gradient shares and their blends with the colour, custom colours, state limits,
// the layered form, and the textures' fill modes.
#include <gtest/gtest.h>

#include "DrawTestUtil.h"
#include "skin/draw/sAlphaGraph.h"
#include "skin/paint/sGradient.h"

namespace skin::draw::test {
namespace {

using skin::paint::PaintGrad;
using skin::paint::TsGradArray;

constexpr TColor kColor = 0x3060C0;  // the section's colour
constexpr TColor kBack = 0x10E080;   // a plain parent

// A vertical two-stop gradient from colour-order a to b.
TsGradArray Gradient(TColor a, TColor b, int mode = 0) {
  TsGradArray g(2);
  g[0] = {0, mode, paint::TsColor::Of(std::uint32_t(a)), 0};
  g[1] = {1, 0, paint::TsColor::Of(std::uint32_t(b)), 100};
  return g;
}

class PaintItemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitMaster(FModel);
    FSection = AddSection(FModel, kColor);
    // A 6 x 4 unmasked texture at (20, 30).
    FTexture = AddItem(FModel, RectOfSize(20, 30, 6, 4), 1, 0, 0, paint::itisaTexture);
    FParent = Bitmap(60, 60);
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 60; ++x) FParent.Set(x, y, Coord(x, y, 0xCC));
  }
  TsGenState& S(int state = 0) { return FModel.gd[FSection].Props[state]; }
  // The texture's pixel tiled from the area's top-left.
  std::uint32_t Tex(int x, int y) const { return Coord(20 + x % 6, 30 + y % 4); }
  // The gradient alone over the area.
  Bitmap Grad(const TsGradArray& g, int w, int h) const {
    Bitmap b(w, h);
    PaintGrad(b, b.Bounds(), g);
    return b;
  }

  TacSkinModel FModel;
  int FSection = -1, FTexture = -1;
  Bitmap FParent;
};

TEST_F(PaintItemTest, FullTransparencyShowsTheParentExactly) {
  S().Transparency = 100;
  Bitmap bmp(20, 20);
  PaintItemBG(&FModel, FSection, MakeCacheInfo(&FParent, 3, 4), 0, {2, 2, 18, 17}, {5, 1}, bmp);
  for (int y = 2; y < 17; ++y)
    for (int x = 2; x < 18; ++x) ASSERT_EQ(bmp.At(x, y), FParent.At(x + 3 + 5, y + 4 + 1));
  EXPECT_EQ(bmp.At(1, 1), 0u);
  // A parent that is not ready gives its colour, and its border bands from its bitmap.
  TCacheInfo ci{&FParent, 0, 0, kBack, {2, 0, 0, 0}, false};
  Bitmap bands(10, 10);
  PaintItemBG(&FModel, FSection, ci, 0, bands.Bounds(), {0, 0}, bands);
  EXPECT_EQ(bands.At(1, 5), FParent.At(1, 5));
  EXPECT_EQ(bands.At(2, 5), PxOf(kBack));
}

TEST_F(PaintItemTest, HalfTransparencyOverAPlainParentBlendsTheColours) {
  S().Transparency = 50;
  Bitmap bmp(9, 9);
  TCacheInfo ci{nullptr, 0, 0, kBack, {}, false};
  PaintItemBG(&FModel, FSection, ci, 0, bmp.Bounds(), {0, 0}, bmp);
  const std::uint32_t want = PxOf(paint::BlendColors(kBack, kColor, 127));
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 9; ++x) ASSERT_EQ(bmp.At(x, y), want);
  // Over a ready parent the painted item is summed with it: t = 127 of the parent.
  PaintItemBG(&FModel, FSection, MakeCacheInfo(&FParent, 1, 2), 0, bmp.Bounds(), {0, 0}, bmp);
  const std::uint32_t p = FParent.At(4 + 1, 3 + 2), item = PxOf(kColor);
  for (int c = 0; c < 3; ++c)
    EXPECT_EQ(Ch(bmp.At(4, 3), c), (127 * (Ch(p, c) - Ch(item, c)) + Ch(item, c) * 256) >> 8);
}

TEST_F(PaintItemTest, SolidAndGradientShares) {
  Bitmap bmp(7, 11);
  PaintItemBG(&FModel, FSection, EmptyCI, 0, bmp.Bounds(), {0, 0}, bmp);
  EXPECT_EQ(bmp.At(3, 5), PxOf(kColor));
  S().GradientArray = Gradient(0x0000FF, 0xFF0000);
  S().GradientPercent = 100;
  PaintItemBG(&FModel, FSection, EmptyCI, 0, bmp.Bounds(), {0, 0}, bmp);
  EXPECT_EQ(bmp, Grad(S().GradientArray, 7, 11));
  S().GradientPercent = 40;  // blended with the colour at weight 40 * 255 / 100 = 102
  PaintItemBG(&FModel, FSection, EmptyCI, 0, bmp.Bounds(), {0, 0}, bmp);
  const Bitmap g = Grad(S().GradientArray, 7, 11);
  const std::uint32_t col = PxOf(kColor);
  for (int y = 0; y < 11; ++y)
    for (int c = 0; c < 3; ++c)
      ASSERT_EQ(Ch(bmp.At(2, y), c), (Ch(g.At(2, y), c) * 102 + Ch(col, c) * 153) >> 8);
}

TEST_F(PaintItemTest, TextureShares) {
  S().TextureIndex = FTexture;
  S().ImagePercent = 100;
  Bitmap bmp(15, 10);
  PaintItemBG(&FModel, FSection, EmptyCI, 0, bmp.Bounds(), {0, 0}, bmp);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 15; ++x) ASSERT_EQ(bmp.At(x, y), Tex(x, y));
  // 60 % texture: the colour takes the rest, p = 153.
  S().ImagePercent = 60;
  PaintItemBG(&FModel, FSection, EmptyCI, 0, bmp.Bounds(), {0, 0}, bmp);
  const std::uint32_t col = PxOf(kColor);
  for (int c = 0; c < 3; ++c)
    EXPECT_EQ(Ch(bmp.At(7, 5), c), (Ch(Tex(7, 5), c) * 153 + Ch(col, c) * 102) >> 8);
  // 50 % texture and 50 % gradient fuse: the texture over the gradient at 127.
  S().ImagePercent = 50;
  S().GradientPercent = 50;
  S().GradientArray = Gradient(0x00FF00, 0x0000FF);
  PaintItemBG(&FModel, FSection, EmptyCI, 0, bmp.Bounds(), {0, 0}, bmp);
  Bitmap g = Grad(S().GradientArray, 15, 10);
  for (int c = 0; c < 3; ++c) {
    const int t = Ch(Tex(9, 8), c), gc = Ch(g.At(9, 8), c);
    EXPECT_EQ(Ch(bmp.At(9, 8), c), (127 * (t - gc) + gc * 256) >> 8);
  }
  // 30 % each: gradient summed under the texture at k = 76, then the colour at p = 153.
  S().ImagePercent = 30;
  S().GradientPercent = 30;
  PaintItemBG(&FModel, FSection, EmptyCI, 0, bmp.Bounds(), {0, 0}, bmp);
  for (int c = 0; c < 3; ++c) {
    const int t = Ch(Tex(4, 6), c), gc = Ch(g.At(4, 6), c);
    const int mixed = (76 * (t - gc) + gc * 256) >> 8;
    EXPECT_EQ(Ch(bmp.At(4, 6), c), (mixed * 153 + Ch(col, c) * 102) >> 8);
  }
}

TEST_F(PaintItemTest, CustomColourCoversTheTexture) {
  S().TextureIndex = FTexture;
  S().ImagePercent = 100;
  S().Transparency = 30;
  Bitmap bmp(10, 10);
  TacControlPaint control{FSection, -1, 0x0A0B0C};
  PaintItemBG(&FModel, control, MakeCacheInfo(&FParent), 0, bmp.Bounds(), {0, 0}, bmp);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) ASSERT_EQ(bmp.At(x, y), PxOf(0x0A0B0C));
}

TEST_F(PaintItemTest, StatesAreLimitedToTheSection) {
  S(0).Color = 0x000001;
  S(1).Color = 0x000002;
  S(2).Color = 0x000003;
  Bitmap bmp(4, 4);
  for (auto [states, state, want] : {std::tuple{3, 5, 0x000003},
                                     {2, 2, 0x000002},
                                     {0, 2, 0x000001},
                                     {-1, 1, 0x000001},
                                     {3, -4, 0x000001},
                                     {1000, 7, 0x000003}}) {
    FModel.gd[FSection].States = states;
    PaintItem(&FModel, FSection, EmptyCI, true, state, bmp.Bounds(), {0, 0}, &bmp);
    EXPECT_EQ(bmp.At(1, 1), PxOf(want)) << states << " states, state " << state;
  }
}

TEST_F(PaintItemTest, DistributedTilesHandTheirBottomStripToTheColour) {
  S().TextureIndex = FTexture;
  S().ImagePercent = 100;
  FModel.ma[FTexture].DrawMode = paint::fmDisTiled;
  Bitmap bmp(14, 11);  // whole rows at y = 0 and 4; the strip from 8 down is the colour's
  bmp.Fill(0);
  PaintItemBG(&FModel, FSection, EmptyCI, 0, bmp.Bounds(), {0, 0}, bmp);
  EXPECT_EQ(bmp.At(13, 7), Tex(13, 7));  // the last column, clipped
  for (int y = 8; y < 11; ++y)
    for (int x = 0; x < 14; ++x) ASSERT_EQ(bmp.At(x, y), PxOf(kColor)) << x << "," << y;
}

TEST_F(PaintItemTest, MaskedTilesCoverTheLastRow) {
  const int masked =
      AddItem(FModel, RectOfSize(40, 10, 5, 8), 1, 1, paint::fmTiled, paint::itisaTexture);
  ClearMask(FModel, FModel.ma[masked]);
  S().TextureIndex = masked;
  S().ImagePercent = 100;
  Bitmap bmp(12, 10);
  PaintItemBG(&FModel, FSection, EmptyCI, 0, bmp.Bounds(), {0, 0}, bmp);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 12; ++x)
      ASSERT_EQ(Rgb(bmp.At(x, y)), Rgb(Coord(40 + x % 5, 10 + y % 4))) << x << "," << y;
  // Distributed: whole tiles, the parent in the strips right of and below them.
  FModel.ma[masked].DrawMode = paint::fmDisTiled;
  PaintItemBG(&FModel, FSection, MakeCacheInfo(&FParent, 2, 3), 0, bmp.Bounds(), {0, 0}, bmp);
  EXPECT_EQ(Rgb(bmp.At(9, 7)), Rgb(Coord(40 + 4, 10 + 3)));
  EXPECT_EQ(bmp.At(10, 2), FParent.At(12, 5));
  EXPECT_EQ(bmp.At(3, 8), FParent.At(5, 11));
}

TEST_F(PaintItemTest, EveryFillModeCoversItsPartAndHandsBackTheRest) {
  const TsMaskData& md = FModel.ma[FTexture];
  const TRect a{2, 3, 17, 14};  // 15 x 11 over a 6 x 4 texture
  struct TWant {
    paint::TacFillMode Mode;
    TRect Left;     // handed back
    TPoint Probe;   // a pixel of the texture...
    TPoint Source;  // ...and its texture coordinate
  };
  const TRect none{-1, -1, -1, -1};
  for (const TWant& w : {
           TWant{paint::fmTiled, none, {16, 13}, {14 % 6, 10 % 4}},
           TWant{paint::fmTiledHorz, {2, 7, 17, 14}, {9, 6}, {7 % 6, 3}},
           TWant{paint::fmTiledVert, {8, 3, 17, 14}, {7, 13}, {5, 10 % 4}},
           TWant{paint::fmTileHorBtm, {2, 3, 17, 10}, {2, 10}, {0, 0}},
           TWant{paint::fmTileVertRight, {2, 3, 11, 14}, {11, 3}, {0, 0}},
           TWant{paint::fmFromBottomToTop, none, {16, 13}, {5, 3}},
           TWant{paint::fmDisTiled, {2, 11, 17, 14}, {16, 10}, {14 % 6, 3}},
       }) {
    Bitmap bmp(20, 16);
    TRect r = a;
    paint::TileBitmap(bmp, r, FModel.MasterBitmap, w.Mode, md);
    EXPECT_EQ(r, w.Left) << w.Mode;
    EXPECT_EQ(bmp.At(w.Probe.X, w.Probe.Y), Coord(20 + w.Source.X, 30 + w.Source.Y)) << w.Mode;
    EXPECT_EQ(bmp.At(1, 2), 0u) << w.Mode;  // nothing outside the area
    EXPECT_EQ(bmp.At(17, 14), 0u) << w.Mode;
  }
  // Bottom-to-top tiles take the right and bottom parts of the texture at the left and top.
  Bitmap bmp(20, 16);
  TRect r = a;
  paint::TileBitmap(bmp, r, FModel.MasterBitmap, paint::fmFromBottomToTop, md);
  EXPECT_EQ(bmp.At(2, 3), Coord(20 + 3, 30 + 1));
  // Stretching modes draw the texture's corner pixels at the area's corners.
  for (auto mode : {paint::fmStretched, paint::fmStretchHorz, paint::fmStretchVert}) {
    Bitmap s(20, 16);
    r = a;
    paint::TileBitmap(s, r, FModel.MasterBitmap, mode, md);
    EXPECT_EQ(r, none);
    EXPECT_EQ(s.At(2, 3), Coord(20, 30)) << mode;
    EXPECT_NE(s.At(16, 13), 0u) << mode;
  }
  // The reserved mode leaves everything to the colour.
  r = a;
  paint::TileBitmap(bmp, r, FModel.MasterBitmap, paint::fmReserved1, md);
  EXPECT_EQ(r, a);
}

TEST_F(PaintItemTest, LayeredPaintingLeavesTheSectionGradientAlone) {
  S().GradientArray = Gradient(0x0000FF, 0xFF0000);
  S().GradientPercent = 100;
  S().Transparency = 40;
  const TsGradArray before = S().GradientArray;
  Bitmap layered(10, 10);
  PaintItem32(&FModel, FSection, true, 0, layered.Bounds(), {0, 0}, &layered);
  EXPECT_EQ(S().GradientArray, before);
  // Its alpha is 60 % (premultiplied over the whole bitmap).
  EXPECT_EQ(Ch(layered.At(5, 5), 3), 153);
  // An opaque paint afterwards is opaque.
  S().Transparency = 0;
  Bitmap opaque(10, 10);
  PaintItem(&FModel, FSection, EmptyCI, true, 0, opaque.Bounds(), {0, 0}, &opaque);
  EXPECT_EQ(opaque, Grad(before, 10, 10));
  // Full transparency over the whole bitmap clears it.
  S().Transparency = 100;
  PaintItem32(&FModel, FSection, true, 0, layered.Bounds(), {0, 0}, &layered);
  EXPECT_EQ(layered.At(3, 3), 0u);
}

TEST_F(PaintItemTest, LayeredColourTakesTheStateAlpha) {
  S().Transparency = 20;
  Bitmap bmp(6, 6);
  PaintItemBG32(&FModel, FSection, 0, bmp.Bounds(), {0, 0}, bmp);
  EXPECT_EQ(bmp.At(2, 2), PxOf(kColor, 80 * 255 / 100));
}

TEST_F(PaintItemTest, SectionPaintedFromAParentDeviceContext) {
  S().Transparency = 100;
  Bitmap bmp(8, 8);
  gfx::DeviceContext parentDC(FParent);
  PaintSection(bmp, -1, FSection, 0, &FModel, {11, 12}, kBack, &parentDC);
  EXPECT_EQ(bmp.At(3, 4), FParent.At(14, 16));
  PaintSection(bmp, FSection, -1, 0, &FModel, {11, 12}, kBack);
  EXPECT_EQ(bmp.At(3, 4), PxOf(kBack));
}

TEST_F(PaintItemTest, ControlColoursAreAdjustedUnlessTheParentShows) {
  Bitmap bmp(6, 6);
  TacControlPaint control{FSection, -1, clFuchsia, clNone, 0, -255};
  PaintItem(&FModel, control, EmptyCI, true, 0, bmp.Bounds(), {0, 0}, &bmp, true);
  const std::uint32_t p = bmp.At(1, 1);
  EXPECT_TRUE(Ch(p, 0) == Ch(p, 1) && Ch(p, 1) == Ch(p, 2));  // grey
  S().Transparency = 50;
  TCacheInfo ci{nullptr, 0, 0, kBack, {}, false};
  PaintItem(&FModel, control, ci, true, 0, bmp.Bounds(), {0, 0}, &bmp, true);
  EXPECT_EQ(bmp.At(1, 1), PxOf(paint::BlendColors(kBack, kColor, 127)));
}

TEST_F(PaintItemTest, DeviceContextFormCopiesTheItemToItsRectangle) {
  Bitmap target(20, 20);
  target.Fill(0x01020304);
  gfx::DeviceContext dc(target);
  PaintItem(&FModel, FSection, EmptyCI, true, 0, {3, 4, 9, 8}, {0, 0}, &dc);
  EXPECT_EQ(target.At(3, 4), PxOf(kColor));
  EXPECT_EQ(target.At(8, 7), PxOf(kColor));
  EXPECT_EQ(target.At(9, 7), 0x01020304u);
  EXPECT_EQ(target.At(8, 8), 0x01020304u);
}

}  // namespace
}  // namespace skin::draw::test
