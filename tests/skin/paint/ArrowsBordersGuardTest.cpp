// Arrows, focus marks, border copies and text with alpha under seeded random sizes (zero and
// negative ones included): every call ends, and nothing outside its window changes.
#include <random>

#include "PaintTestUtil.h"
#include "skin/paint/sGraphUtils.h"

namespace skin::paint {
namespace {

int Any(std::mt19937& rng, int lo, int hi) {
  return std::uniform_int_distribution<int>(lo, hi)(rng);
}

TRect AnyRect(std::mt19937& rng) {
  int l = Any(rng, -30, 40), t = Any(rng, -30, 40);
  return {l, t, l + Any(rng, -5, 40), t + Any(rng, -5, 40)};
}

// A window of a larger guard bitmap seen through a context: origin at the window's corner,
// drawing limited to it as for a window's context.
struct GuardedWindow {
  Bitmap guard;
  TRect window;
  gfx::DeviceContext dc;
  Bitmap before;
  GuardedWindow(std::mt19937& rng, int w, int h)
      : guard(test::RandomBitmap(w + 20, h + 20, rng)),
        window(RectOfSize(10, 10, w, h)),
        dc(guard),
        before(guard) {
    gfx::SetViewportOrgEx(&dc, 10, 10, nullptr);
    const TRect rects[] = {window};
    dc.SetSystemClip(gfx::Region::FromRects(rects));
  }
  bool GuardIntact() const {
    for (int y = 0; y < guard.Height(); ++y)
      for (int x = 0; x < guard.Width(); ++x)
        if (!window.Contains({x, y}) && guard.At(x, y) != before.At(x, y)) return false;
    return test::PaddingIntact(guard);
  }
};

TEST(ArrowsBordersGuard, BitmapRoutinesStayInTheirBitmaps) {
  std::mt19937 rng(15);
  for (int i = 0; i < 400; ++i) {
    Bitmap b = test::RandomBitmap(Any(rng, 0, 40), Any(rng, 0, 40), rng);
    Bitmap src = test::RandomBitmap(Any(rng, 0, 40), Any(rng, 0, 40), rng);
    TRect r = AnyRect(rng);
    auto side = TacSide(Any(rng, 0, 3));
    auto style = TacArrowsStyle(Any(rng, -1, 5));
    DrawArrow(b, TColor(rng()), Any(rng, 0, 1) ? clNone : TColor(rng()), r, side, Any(rng, -3, 9),
              Any(rng, 0, 3) ? 0 : Any(rng, -400, 400), Any(rng, -10, 40), style);
    DrawColorArrow(b, TColor(rng()), r, side);
    TRect bw{Any(rng, -5, 20), Any(rng, -5, 20), Any(rng, -5, 20), Any(rng, -5, 20)};
    TRect mw{Any(rng, -5, 20), Any(rng, -5, 20), Any(rng, -5, 20), Any(rng, -5, 20)};
    TRect modes{Any(rng, -1, 2), Any(rng, -1, 2), Any(rng, -1, 2), Any(rng, -1, 2)};
    PaintControlByTemplate(b, src, r, AnyRect(rng), bw, mw, modes, Any(rng, 0, 1) == 1,
                           Any(rng, 0, 1) == 1);
    ASSERT_TRUE(test::PaddingIntact(b)) << "case " << i;
  }
}

TEST(ArrowsBordersGuard, ContextRoutinesStayInTheirWindow) {
  std::mt19937 rng(16);
  for (int i = 0; i < 300; ++i) {
    GuardedWindow g(rng, Any(rng, 0, 40), Any(rng, 0, 40));
    Bitmap srcBmp = test::RandomBitmap(Any(rng, 0, 50), Any(rng, 0, 50), rng);
    gfx::DeviceContext src(srcBmp);
    TRect r = AnyRect(rng);
    DrawColorArrow(&g.dc, TColor(rng() & 0xFFFFFF), r, TacSide(Any(rng, 0, 3)));
    FocusRect(&g.dc, r, TColor(rng() & 0xFFFFFF), Any(rng, 0, 1) ? clNone : 0x123456);
    DrawBmp(&g.dc, srcBmp, r, Any(rng, 0, 1) == 1);
    BitBltBorder(&g.dc, r.Left, r.Top, r.Width(), r.Height(), &src, Any(rng, -10, 30),
                 Any(rng, -10, 30), Any(rng, -3, 12), Any(rng, -3, 12), Any(rng, -3, 12),
                 Any(rng, -3, 12));
    ASSERT_TRUE(g.GuardIntact()) << "case " << i;
  }
}

TEST(ArrowsBordersGuard, BorderCopiesAndFocusMarksStayInTheirRectangle) {
  // Without any clip: the rectangle alone bounds what changes.
  std::mt19937 rng(17);
  for (int i = 0; i < 300; ++i) {
    Bitmap dst = test::RandomBitmap(60, 60, rng), before = dst;
    Bitmap srcBmp = test::RandomBitmap(60, 60, rng);
    gfx::DeviceContext d(dst), s(srcBmp);
    TRect r = AnyRect(rng).Offset(15, 15);
    BitBltBorder(&d, r.Left, r.Top, r.Width(), r.Height(), &s, Any(rng, 0, 20), Any(rng, 0, 20),
                 Any(rng, -3, 12), Any(rng, -3, 12), Any(rng, -3, 12), Any(rng, -3, 12));
    FocusRect(&d, r, 0x00FF00, 0x0000FF);
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 60; ++x)
        if (!r.Contains({x, y})) {
          ASSERT_EQ(dst.At(x, y), before.At(x, y)) << i << " " << x << "," << y;
        }
  }
}

TEST(ArrowsBordersGuard, TextWithAlphaStaysInItsBitmap) {
  std::mt19937 rng(18);
  gfx::HFONT font = gfx::CreateFontIndirectW({});
  TacGlowMask mask;
  for (int i = 0; i < 120; ++i) {
    Bitmap b = test::RandomBitmap(Any(rng, 0, 40), Any(rng, 0, 30), rng);
    TRect r = AnyRect(rng);
    std::u16string text = Any(rng, 0, 4) ? u"Музей 12" : u"";
    WriteColor(b, font, text, Any(rng, 0, 1) == 1, r, Any(rng, 0, 0x3F), TColor(rng() & 0xFFFFFF));
    acDrawGlowForText(b, font, text, r, Any(rng, 0, 0x3F), Any(rng, -1, 16), Any(rng, -3, 80),
                      TColor(rng() & 0xFFFFFF), mask);
    ASSERT_TRUE(test::PaddingIntact(b)) << "case " << i;
  }
}

}  // namespace
}  // namespace skin::paint
