// Painting whatever a model holds: seeded random sections and pictures (zero and negative
// sizes and counts, States 0 and -1, pictures partly outside their bitmaps), rectangles 0 to 40
// wide, states 0 to 5, through every routine into a window of a larger guard bitmap. Every
// call ends, and nothing outside the window (nor past a row's end) changes.
#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "DrawTestUtil.h"
#include "skin/draw/sAlphaGraph.h"
#include "skin/draw/sBorders.h"
#include "skin/paint/sGradient.h"

namespace skin::draw::test {
namespace {

constexpr std::uint32_t kGuard = 0x5AA55AA5;
constexpr std::uint8_t kCanary = 0xC3;

class RobustnessTest : public ::testing::Test {
 protected:
  int Any(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(FRng); }
  bool Coin() { return Any(0, 1) == 1; }

  void Randomise(Bitmap& b) {
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x)
        b.Set(x, y, Any(0, 5) == 0 ? kTransKey : std::uint32_t(FRng()));
  }

  void MakeModel() {
    FModel->MasterBitmap = Bitmap(64, 48);
    Randomise(FModel->MasterBitmap);
    FOwn = Bitmap(Any(1, 30), Any(1, 30));
    Randomise(FOwn);
    const int items = Any(1, 8);
    for (int i = 0; i < items; ++i) {
      TsMaskData md;
      md.Bmp = Any(0, 3) == 0 ? &FOwn : nullptr;
      md.R = RectOfSize(Any(-5, 70), Any(-5, 50), Any(-3, 60), Any(-3, 50));
      md.ImageCount = std::int16_t(Any(-2, 5));
      md.MaskType = std::int16_t(Any(-1, 2));
      md.DrawMode = std::int16_t(Any(-1, 15));
      md.WL = std::int16_t(Any(-3, 20));
      md.WT = std::int16_t(Any(-3, 20));
      md.WR = std::int16_t(Any(-3, 20));
      md.WB = std::int16_t(Any(-3, 20));
      md.CornerType = Any(0, 2);
      md.Width = Any(-3, 40);
      md.Height = Any(-3, 40);
      md.Manager = Any(0, 5) == 0 ? nullptr : FModel.get();
      FModel->ma.push_back(md);
    }
    const int sections = Any(1, 4);
    for (int s = 0; s < sections; ++s) {
      TsGeneralData gd;
      gd.States = Any(-1, 4);
      gd.BorderIndex = Any(-2, items);
      gd.ImgTL = Any(-2, items);
      gd.ImgTR = Any(-2, items);
      gd.ImgBL = Any(-2, items);
      gd.ImgBR = Any(-2, items);
      for (TsGenState& p : gd.Props) {
        p.Transparency = Any(-10, 110);
        p.ImagePercent = Any(-10, 110);
        p.GradientPercent = Any(-10, 110);
        p.TextureIndex = Any(-2, items);
        p.Color = TColor(FRng() & 0xFFFFFF);
        if (Coin()) {
          const int stops = Any(1, 5);
          for (int k = 0; k < stops; ++k)
            p.GradientArray.push_back({std::uint16_t(k), Any(0, 63),
                                       paint::TsColor::Of(std::uint32_t(FRng())),
                                       std::uint8_t(Any(0, 100))});
        }
      }
      FModel->gd.push_back(gd);
    }
  }

  // A rectangle 0 to 40 wide, mostly inside the window, sometimes past it.
  TRect Rect() { return RectOfSize(Any(-4, 44), Any(-4, 44), Any(-2, 40), Any(-2, 40)); }

  // The target: a 48 x 48 window of a padded guard bitmap.
  void Reset() {
    FBmp = Bitmap(48, 48, 48 * 4 + 16);
    FBmp.Fill(kGuard);
    for (int y = 0; y < 48; ++y)
      for (int i = 48 * 4; i < FBmp.Stride(); ++i)
        FBmp.Bits()[std::size_t(y) * FBmp.Stride() + i] = kCanary;
  }
  // Nothing changed outside allowed, nor in the row padding.
  void CheckGuard(const TRect& allowed, const char* routine) {
    for (int y = 0; y < 48; ++y) {
      for (int i = 48 * 4; i < FBmp.Stride(); ++i)
        ASSERT_EQ(FBmp.Bits()[std::size_t(y) * FBmp.Stride() + i], kCanary) << routine;
      for (int x = 0; x < 48; ++x) {
        if (allowed.Contains({x, y})) continue;
        ASSERT_EQ(FBmp.At(x, y), kGuard) << routine << " at " << x << "," << y << " seed " << FSeed;
      }
    }
  }

  TCacheInfo Parent() {
    switch (Any(0, 3)) {
      case 0:
        return EmptyCI;
      case 1:
        return {nullptr, 0, 0, TColor(FRng() & 0xFFFFFF), {}, false};
      case 2:
        return {&FParent, Any(-20, 20), Any(-20, 20), clFuchsia, {}, true};
      default:
        return {&FParent, Any(-20, 20), Any(-20, 20), 0x123456, {2, 3, 4, 5}, false};
    }
  }

  std::mt19937 FRng;
  unsigned FSeed = 0;
  std::unique_ptr<TacSkinModel> FModel;
  Bitmap FOwn, FBmp, FParent{30, 30};
};

TEST_F(RobustnessTest, EveryRoutineStaysInsideItsRectangle) {
  for (unsigned seed = 1; seed <= 300; ++seed) {
    FSeed = seed;
    FRng.seed(seed);
    FModel = std::make_unique<TacSkinModel>();
    MakeModel();
    Randomise(FParent);
    const int sections = int(FModel->gd.size()), items = int(FModel->ma.size());
    for (int call = 0; call < 20; ++call) {
      const TRect r = Rect();
      const TRect inside = IntersectRects(r, FBmp.Bounds());
      const int s = Any(-1, sections), item = Any(-1, items), state = Any(0, 5);
      const TPoint pP{Any(-10, 10), Any(-10, 10)};
      TCacheInfo ci = Parent();
      Reset();
      PaintItem(FModel.get(), s, ci, true, state, r, pP, &FBmp, Any(-1, items), Any(-1, items));
      CheckGuard(inside, "PaintItem");
      Reset();
      TacControlPaint control{s,
                              item,
                              Coin() ? clFuchsia : 0x445566,
                              Coin() ? clNone : 0x808080,
                              Any(-50, 50),
                              Any(-100, 100)};
      PaintItem(FModel.get(), control, ci, true, state, r, pP, &FBmp, Coin());
      CheckGuard(inside, "PaintItem (control)");
      Reset();
      gfx::DeviceContext dc(FBmp);
      PaintItem(FModel.get(), s, ci, true, state, r, pP, &dc);
      CheckGuard(inside, "PaintItem (DC)");
      Reset();
      PaintItemFast(FModel.get(), s, item, Any(-1, items), Any(-1, items), ci, true, state, r, pP,
                    &FBmp);
      CheckGuard(inside, "PaintItemFast");
      Reset();
      PaintItemBG(FModel.get(), s, ci, state, r, pP, FBmp, Any(-1, items), Any(-1, items));
      CheckGuard(inside, "PaintItemBG");
      Reset();
      PaintItemBGFast(FModel.get(), s, Any(-1, items), Any(-1, items), ci, state, r, pP, FBmp);
      CheckGuard(inside, "PaintItemBGFast");
      Reset();
      PaintItem32(FModel.get(), s, true, state, r, pP, &FBmp);
      CheckGuard(inside, "PaintItem32");
      Reset();
      PaintItemBG32(FModel.get(), s, state, r, pP, FBmp);
      CheckGuard(inside, "PaintItemBG32");
      if (item >= 0 && item < items) {
        const TsMaskData& md = FModel->ma[item];
        SCOPED_TRACE(::testing::Message()
                     << "rect " << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom
                     << " state " << state << " item R " << md.R.Left << "," << md.R.Top << ","
                     << md.R.Right << "," << md.R.Bottom << " size " << md.Width << "x" << md.Height
                     << " images " << md.ImageCount << " mask " << md.MaskType << " mode "
                     << md.DrawMode << " slices " << md.WL << "," << md.WT << "," << md.WR << ","
                     << md.WB << " own " << (md.Bmp != nullptr));
        Reset();
        DrawSkinRect(FBmp, r, ci, md, state, Coin());
        CheckGuard(inside, "DrawSkinRect");
        Reset();
        DrawSkinRect32(FBmp, r, ci, md, state);
        CheckGuard(inside, "DrawSkinRect32");
        Reset();
        DrawSkinRect32Ex(FBmp, r, ci, md, state, {Any(-2, 9), Any(-2, 9), Any(-2, 9), Any(-2, 9)},
                         Any(-10, 300));
        CheckGuard(inside, "DrawSkinRect32Ex");
        Reset();
        const TPoint p{Any(-20, 45), Any(-20, 45)};
        DrawSkinGlyph(FBmp, p, state, Any(0, 2), md, ci);
        CheckGuard(RectOfSize(p.X, p.Y, std::max(0, md.Width), std::max(0, md.Height)),
                   "DrawSkinGlyph");
        Reset();
        TacBGInfo bg;
        bg.BgType = Coin() ? TacBGType::btCache : TacBGType::btFill;
        bg.Bmp = Coin() ? &FParent : nullptr;
        bg.Offset = {Any(-20, 20), Any(-20, 20)};
        bg.Color = Coin() ? clFuchsia : 0x102030;
        UpdateCorners(FBmp, md, state, TsCorners(Any(0, 15)), bg);
        CheckGuard(FBmp.Bounds(), "UpdateCorners");
        Reset();
        TRect area = r;
        if (const Bitmap* src = PictureOf(md))
          paint::TileBitmap(FBmp, area, *src, paint::acFillModes(Any(-1, 16)), md);
        CheckGuard(inside, "TileBitmap");
        Reset();
        area = r;
        TsMaskData withPicture = md;
        withPicture.Bmp = PictureOf(md);
        paint::TileMasked(FBmp, area, ci, paint::acFillModes(Any(-1, 16)), withPicture);
        CheckGuard(inside, "TileMasked");
      }
      Reset();
      PaintBorderFast(FBmp, r, Any(-2, 8), FModel.get(), item, state, 0x334455, ci);
      CheckGuard(inside, "PaintBorderFast");
    }
    Bitmap whole(Any(0, 40), Any(0, 40));
    PaintSection(whole, Any(-1, sections), Any(-1, sections), Any(0, 5), FModel.get(),
                 {Any(-5, 5), Any(-5, 5)}, 0x0F0F0F);
  }
}

}  // namespace
}  // namespace skin::draw::test
