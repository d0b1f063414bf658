// Window animations on a virtual desktop, frame by frame on its virtual clock, over a bare
// platform window: the cover's cleared corners, the show run waiting on the window system's
// clock, the hide run's opacities, minimising and restoring with their ends, and windows and
// timers that go in the middle of a run.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "LayeredWindows.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Window.h"
#include "platform/win/WindowProc.h"
#include "skin/core/SkinnedFormTest.h"
#include "skin/frame/acAnimation.h"

namespace skin::frame {
namespace {

using core::test::SkinnedFormTest;

constexpr std::uint32_t kKey = 0xFFFF00FF;
constexpr std::uint32_t kInk = 0xFF406080;

// The form's border item (12 x 12 at 0,0, borders 4) has key-coloured pixels in each corner;
// the title's (12 x 12 at 12,0) only in its top-right corner.
gfx::Bitmap Master() {
  gfx::Bitmap bmp(24, 12);
  bmp.Fill(kInk);
  for (auto [x, y] : {std::pair{0, 0}, {1, 0}, {0, 1}, {11, 0}, {0, 11}, {11, 11}, {10, 11}})
    bmp.Set(x, y, kKey);
  bmp.Set(12 + 11, 0, kKey);
  bmp.Set(12 + 10, 0, kKey);
  bmp.Set(12 + 0, 11, kKey);  // a bottom corner: a title has none that counts
  return bmp;
}

const std::string kOptions =
    "[GLOBALINFO]\nVERSION=8.0\nMASTERBITMAP=master.bmp\n\n"
    "[FORM]\nSTATES=2\nCOLOR=0\nBORDERSMASK=^0000^0000^0012^0012^0004^0004^0004^0004^1^0^0^0\n\n"
    "[FORMTITLE]\nSTATES=2\nCOLOR=0\n"
    "BORDERSMASK=^0012^0000^0024^0012^0004^0004^0004^0004^1^0^0^0\n";

class AnimationTest : public SkinnedFormTest {
 protected:
  void SetUp() override {
    MakeSkinnedForm(kOptions, Master());
    win::WNDCLASSEXW wc;
    wc.lpfnWndProc = win::MakeWindowProc([this](win::HWND h, win::UINT m, win::WPARAM w,
                                                win::LPARAM l) -> win::LRESULT {
      if (m == win::WM_STYLECHANGING && refuseUnlayering && w == win::WPARAM(win::GWL_EXSTYLE)) {
        ++styleRequests;
        reinterpret_cast<win::STYLESTRUCT*>(l)->styleNew |= win::WS_EX_LAYERED;
      }
      if (m == win::WM_PAINT) {
        win::PAINTSTRUCT ps;
        gfx::HDC dc = win::BeginPaint(h, &ps);
        win::RECT c;
        win::GetClientRect(h, &c);
        gfx::FillRect(dc, c, 0x00204060);
        win::EndPaint(h, &ps);
        return 0;
      }
      return win::DefWindowProcW(h, m, w, l);
    });
    wc.lpszClassName = u"AnimTarget";
    win::RegisterClassExW(wc);
    sd = std::make_unique<core::TsCommonData>(form, false);
    sd->SetSkinSection("FORM");
    sd->Loaded(false);
    ASSERT_TRUE(sd->Skinned());
  }
  void TearDown() override {
    minTimer.reset();
    sd.reset();
    SkinnedFormTest::TearDown();
  }
  win::HWND MakeWindow(win::DWORD style, bool visible) {
    win::HWND h = win::CreateWindowExW(0, u"AnimTarget", u"", style, 100, 80, 200, 150, nullptr, 0);
    if (visible) win::ShowWindow(h, win::SW_SHOWNORMAL);
    desktop.Pump();
    return h;
  }
  // Visible top-level covers (layered pop-ups of the animations).
  int Covers() {
    return test::Covers([](win::HWND h) { return win::GetClassNameW(h) == u"AnimTarget"; });
  }
  static bool Layered(win::HWND h) { return test::Layered(h); }
  static int ConstantAlpha(win::HWND h) { return win::GetWindowSurface(h).constantAlpha; }

  std::unique_ptr<core::TsCommonData> sd;
  std::unique_ptr<TacMinTimer> minTimer;
  bool refuseUnlayering = false;
  int styleRequests = 0;
};

TEST_F(AnimationTest, TheCoverClearsTheSectionsCornersAndTheTitlesTopCorners) {
  const win::HWND h = MakeWindow(win::WS_POPUP | win::WS_CAPTION, true);
  const int w = 200, ht = 150;
  // Where the picture must be clear: the form's four corners and the title's top-right one.
  std::set<std::pair<int, int>> clear = {{0, 0},      {1, 0},          {0, 1},          {w - 1, 0},
                                         {0, ht - 1}, {w - 1, ht - 1}, {w - 2, ht - 1}, {w - 2, 0}};
  const gfx::Bitmap pic = WindowPicture(h, *sd);
  ASSERT_EQ(pic.Width(), w);
  ASSERT_EQ(pic.Height(), ht);
  for (int y = 0; y < ht; ++y)
    for (int x = 0; x < w; ++x)
      ASSERT_EQ(pic.At(x, y) >> 24, clear.count({x, y}) ? 0u : 255u) << x << "," << y;
  // The cover shows it at the window's place, and the desktop shows through the corners.
  win::ShowWindow(h, win::SW_HIDE);
  desktop.Pump();
  const gfx::Bitmap bare = desktop.Compose();
  auto cover = MakeCoverForm(h, *sd);
  ASSERT_TRUE(cover);
  win::RECT cr;
  win::GetWindowRect(cover->Handle(), &cr);
  EXPECT_EQ(cr.Left, 100);
  EXPECT_EQ(cr.Top, 80);
  const gfx::Bitmap shown = desktop.Compose();
  for (auto [x, y] : clear) EXPECT_EQ(shown.At(100 + x, 80 + y), bare.At(100 + x, 80 + y));
  EXPECT_NE(shown.At(100 + 2, 80 + 2), bare.At(100 + 2, 80 + 2));
  // Without a caption the title's corner is the window's own.
  const win::HWND plain = MakeWindow(win::WS_POPUP, true);
  EXPECT_EQ(WindowPicture(plain, *sd).At(w - 2, 0) >> 24, 255u);
}

TEST_F(AnimationTest, ShowWithTimeZeroSwapsTheCoverForTheWindowAtOnce) {
  const win::HWND h = MakeWindow(win::WS_POPUP, false);
  const gfx::Bitmap pic = WindowPicture(h, *sd);
  const win::DWORD t0 = win::GetTickCount();
  int after = 0;
  ASSERT_TRUE(AnimShowForm(h, *sd, pic, 0, 255, core::atAero, false, 255, [&] { ++after; }));
  EXPECT_EQ(win::GetTickCount(), t0);
  EXPECT_TRUE(win::IsWindowVisible(h));
  EXPECT_FALSE(Layered(h));
  EXPECT_EQ(Covers(), 0);
  EXPECT_EQ(after, 1);
  EXPECT_FALSE(acAnimatingShow);
  // A minimised or stale window is not animated.
  win::DestroyWindow(h);
  EXPECT_FALSE(AnimShowForm(h, *sd, pic, 120, 255, core::atAero));
}

TEST_F(AnimationTest, ShowRunsTimeDiv12FramesTwelveMillisecondsApartOnTheWindowSystemsClock) {
  for (int time : {12, 50, 120, 130}) {
    const win::HWND h = MakeWindow(win::WS_POPUP, false);
    const gfx::Bitmap pic = WindowPicture(h, *sd);
    const win::DWORD t0 = win::GetTickCount();
    ASSERT_TRUE(AnimShowForm(h, *sd, pic, time, 255, core::atFading));
    // frames + 1 drawings, each waiting out its period.
    EXPECT_EQ(win::GetTickCount() - t0, win::DWORD((time / 12 + 1) * 12)) << time;
    EXPECT_TRUE(win::IsWindowVisible(h));
    EXPECT_EQ(Covers(), 0);
    win::DestroyWindow(h);
  }
  // A drop-down ends once its step is under 2 pixels: 150 rows unroll in 6 frames.
  const win::HWND h = MakeWindow(win::WS_POPUP, false);
  const win::DWORD t0 = win::GetTickCount();
  ASSERT_TRUE(AnimShowForm(h, *sd, WindowPicture(h, *sd), 600, 255, core::atDropDown));
  EXPECT_EQ(win::GetTickCount() - t0, 6u * 12);
  // With alpha blending the window keeps its layering at its value.
  const win::HWND blended = MakeWindow(win::WS_POPUP, false);
  ASSERT_TRUE(
      AnimShowForm(blended, *sd, WindowPicture(blended, *sd), 24, 200, core::atAero, true, 180));
  EXPECT_TRUE(Layered(blended));
  EXPECT_EQ(ConstantAlpha(blended), 180);
}

TEST_F(AnimationTest, TheShowFramesStepTheOpacityAndWidenTheAeroPicture) {
  TacFrameRun run(true, core::atAero, 320, 160, 4, 255);
  std::vector<int> opacity;
  std::vector<gfx::TRect> rects;
  while (opacity.size() < 5 && run.Next()) {
    opacity.push_back(run.Opacity());
    rects.push_back(run.Rect());
  }
  EXPECT_EQ(opacity, (std::vector<int>{64, 128, 192, 255, 255}));
  // From a 32nd in on every side, out by a 32nd over the run.
  EXPECT_EQ(rects[0], (gfx::TRect{10, 5, 310, 155}));
  EXPECT_EQ(rects[4], (gfx::TRect{0, 0, 320, 160}));
  gfx::Bitmap pic(320, 160), frame;
  pic.Fill(0xFF112233);
  run.Draw(pic, frame);
  EXPECT_EQ(frame, pic);
  TacFrameRun first(true, core::atAero, 320, 160, 4, 255);
  first.Next();
  first.Draw(pic, frame);
  EXPECT_EQ(frame.At(9, 4), 0u);  // black around the picture
  EXPECT_EQ(frame.At(10, 5), 0xFF112233u);
  EXPECT_EQ(frame.At(309, 154), 0xFF112233u);
  EXPECT_EQ(frame.At(310, 155), 0u);
}

TEST_F(AnimationTest, HideFadesTheCoverFrameByFrameAndEndsOnceWithItsEvent) {
  const win::HWND h = MakeWindow(win::WS_POPUP, true);
  auto cover = MakeCoverForm(h, *sd);
  const win::HWND coverWnd = cover->Handle();
  auto pic = std::make_unique<gfx::Bitmap>(WindowPicture(h, *sd));
  win::ShowWindow(h, win::SW_HIDE);
  int after = 0;
  HideAnimForm(std::move(cover), std::move(pic), 60, 255, core::atFading, h, [&] { ++after; });
  // 5 frames of 51, the first at once.
  for (int want : {204, 153, 102, 51}) {
    ASSERT_TRUE(win::IsWindow(coverWnd)) << want;
    EXPECT_EQ(ConstantAlpha(coverWnd), want);
    EXPECT_EQ(after, 0);
    desktop.Advance(12);
  }
  EXPECT_FALSE(win::IsWindow(coverWnd));
  EXPECT_EQ(after, 1);
  desktop.Advance(100);
  EXPECT_EQ(after, 1);
  ASSERT_NE(HideTimer(), nullptr);
  EXPECT_FALSE(HideTimer()->Enabled());

  // A rolled-up drop-down ends before its frames are used: 150 rows halve below 2 in 7 frames.
  cover = MakeCoverForm(h, *sd);
  HideAnimForm(std::move(cover), std::make_unique<gfx::Bitmap>(200, 150), 240, 255,
               core::atDropDown, h, [&] { ++after; });
  desktop.Advance(12 * 6);
  EXPECT_EQ(after, 2);
  // No frames: the cover goes at once and nothing runs.
  cover = MakeCoverForm(h, *sd);
  const win::HWND c3 = cover->Handle();
  HideAnimForm(std::move(cover), std::make_unique<gfx::Bitmap>(200, 150), 11, 255, core::atFading,
               h, [&] { ++after; });
  EXPECT_FALSE(win::IsWindow(c3));
  EXPECT_EQ(after, 2);
}

TEST_F(AnimationTest, ANewHideAndTheApplicationGoingEndTheRunningOneWithItsEvent) {
  const win::HWND h = MakeWindow(win::WS_POPUP, true);
  int first = 0, second = 0;
  HideAnimForm(MakeCoverForm(h, *sd), std::make_unique<gfx::Bitmap>(200, 150), 120, 255,
               core::atAero, h, [&] { ++first; });
  desktop.Advance(24);
  HideAnimForm(MakeCoverForm(h, *sd), std::make_unique<gfx::Bitmap>(200, 150), 120, 255,
               core::atAero, h, [&] { ++second; });
  EXPECT_EQ(first, 1);
  EXPECT_EQ(Covers(), 1);
  desktop.Advance(24);
  // The form goes in the middle: the cover runs on by itself.
  win::DestroyWindow(h);
  desktop.Advance(24);
  EXPECT_EQ(second, 0);
  EXPECT_EQ(Covers(), 1);
  sd.reset();
  app.reset();  // the application frees its hide timer, which ends the run
  EXPECT_EQ(second, 1);
  EXPECT_EQ(HideTimer(), nullptr);
}

TEST_F(AnimationTest, HidingTheFormMakesItsCoverAndGivesTheFormItsLayeringBack) {
  manager->AnimEffects().FormHide.Time = 36;
  manager->AnimEffects().FormHide.Mode = core::atFading;
  const win::HWND h = MakeWindow(win::WS_POPUP, true);
  int after = 0;
  AnimHideForm(h, *sd, false, 255, [&] { ++after; });
  EXPECT_FALSE(Layered(h));
  EXPECT_EQ(Covers(), 1);
  desktop.Advance(36);
  EXPECT_EQ(Covers(), 0);
  EXPECT_EQ(after, 1);
}

TEST_F(AnimationTest, MinimisingEndsWhenTheShownOpacityReachesZeroAndRestoringAtItsStart) {
  const win::HWND h = MakeWindow(win::WS_POPUP, true);
  ASSERT_EQ(manager->AnimEffects().Minimizing.Time, 120);
  int minimized = 0, restored = 0;
  minTimer = std::make_unique<TacMinTimer>(h, sd.get());
  minTimer->OnMinimized = [&] { ++minimized; };
  minTimer->OnRestored = [&] { ++restored; };
  ASSERT_TRUE(StartMinimizing(minTimer, h, *sd));
  TacMinTimer& t = *minTimer;
  EXPECT_EQ(t.StepCount, 10);
  EXPECT_DOUBLE_EQ(t.BlendStep, 255.0 / 9);
  EXPECT_TRUE(Layered(h));
  // No taskbar: the cover flies to (0, 0), shrinking by a tenth per step.
  EXPECT_EQ(t.RectTo, (gfx::TRect{0, 0, 0, 0}));
  const win::HWND cover = t.AnimForm->Handle();
  for (int step = 1; step <= 8; ++step) {
    EXPECT_EQ(ConstantAlpha(cover), int(std::nearbyint(255 - step * 255.0 / 9))) << step;
    if (step == 5) {
      win::RECT r;
      win::GetWindowRect(cover, &r);
      // The frame's centre: half way from (200, 155) to (0, 0).
      EXPECT_EQ((r.Left + r.Right) / 2, 100);
      EXPECT_EQ((r.Top + r.Bottom) / 2, int(std::nearbyint(155 / 2.0)));
    }
    desktop.Advance(12);
    ASSERT_EQ(minimized, step == 8 ? 1 : 0) << step;
  }
  // Hidden after nine steps, however the sum of the steps meets 0.
  EXPECT_TRUE(t.Minimized);
  EXPECT_FALSE(t.Enabled());
  EXPECT_FALSE(win::IsWindowVisible(cover));
  EXPECT_FALSE(Layered(h));
  // A new work area while minimised: the target and the cover's place follow the taskbar.
  const win::RECT taskbar{0, 560, 800, 600};
  t.UpdateDstRect(&taskbar);
  EXPECT_EQ(t.TBPosition, acTBBottom);
  EXPECT_EQ(t.RectTo, (gfx::TRect{200, 560, 200, 560}));
  EXPECT_EQ(t.CurLeft, 200);
  EXPECT_EQ(t.CurBottom, 560);

  // Back from a translucent form: 200 is not a sum of the steps' exact values, the run ends
  // when the shown opacity reaches it, and the form keeps its value.
  t.AlphaBlend = true;
  t.AlphaBlendValue = 200;
  ASSERT_TRUE(StartMinimizing(minTimer, h, *sd));
  desktop.Advance(12 * 8);
  ASSERT_EQ(minimized, 2);
  ASSERT_TRUE(StartRestoring(&t));
  EXPECT_EQ(manager->ShowState(), core::saRestore);
  int ticks = 1;
  while (t.Restoring && ticks < 40) {
    desktop.Advance(12);
    ++ticks;
  }
  EXPECT_EQ(ticks, 9);
  EXPECT_EQ(restored, 1);
  EXPECT_FALSE(t.Enabled());
  EXPECT_EQ(t.AnimForm, nullptr);
  EXPECT_TRUE(Layered(h));
  EXPECT_EQ(ConstantAlpha(h), 200);
  EXPECT_FALSE(StartRestoring(&t));  // not minimised any more
}

TEST_F(AnimationTest, AShortMinimisingRunsOneStepAndAnimationsOffRunNone) {
  const win::HWND h = MakeWindow(win::WS_POPUP, true);
  manager->AnimEffects().Minimizing.Time = 12;
  ASSERT_TRUE(StartMinimizing(minTimer, h, *sd));
  EXPECT_EQ(minTimer->StepCount, 1);
  EXPECT_EQ(minTimer->AlphaOrigin, 255);
  EXPECT_TRUE(minTimer->Minimized);
  EXPECT_FALSE(minTimer->Enabled());
  manager->Effects().AllowAnimation = false;
  std::unique_ptr<TacMinTimer> none;
  EXPECT_FALSE(StartMinimizing(none, h, *sd));
  EXPECT_EQ(none, nullptr);
}

TEST_F(AnimationTest, AWindowOrTimerGoingMidRunEndsItCleanly) {
  win::HWND h = MakeWindow(win::WS_POPUP, true);
  ASSERT_TRUE(StartMinimizing(minTimer, h, *sd));
  desktop.Advance(24);
  win::DestroyWindow(h);
  desktop.Advance(12);
  EXPECT_FALSE(minTimer->Enabled());
  EXPECT_EQ(minTimer->AnimForm, nullptr);
  desktop.Advance(120);
  EXPECT_FALSE(StartRestoring(minTimer.get()));
  // The timer going while it runs takes its ticks and its cover with it.
  h = MakeWindow(win::WS_POPUP, true);
  minTimer.reset();
  ASSERT_TRUE(StartMinimizing(minTimer, h, *sd));
  desktop.Advance(12);
  minTimer.reset();
  desktop.Advance(120);
  EXPECT_EQ(Covers(), 0);
}

TEST_F(AnimationTest, DroppingTheLayeredStyleIsAskedABoundedNumberOfTimes) {
  const win::HWND h = MakeWindow(win::WS_POPUP, true);
  win::SetWindowLongPtrW(h, win::GWL_EXSTYLE, win::WS_EX_LAYERED);
  EXPECT_TRUE(DropLayeredStyle(h));
  EXPECT_FALSE(Layered(h));
  win::SetWindowLongPtrW(h, win::GWL_EXSTYLE, win::WS_EX_LAYERED);
  refuseUnlayering = true;
  styleRequests = 0;
  EXPECT_FALSE(DropLayeredStyle(h));
  EXPECT_EQ(styleRequests, acLayeredRetries);
  win::DestroyWindow(h);
  EXPECT_FALSE(DropLayeredStyle(h));
}

TEST_F(AnimationTest, TheTargetLiesOnTheTaskbarsInnerEdge) {
  unsigned side = 99;
  EXPECT_EQ(MinimizeTarget(nullptr, {300, 200}, side), (gfx::TRect{0, 0, 0, 0}));
  EXPECT_EQ(side, 0u);
  struct Case {
    win::RECT taskbar;
    unsigned side;
    gfx::TPoint target;
  };
  for (const Case& c :
       {Case{{0, 560, 800, 600}, acTBBottom, {300, 560}},
        Case{{-2, 560, 800, 600}, acTBBottom, {300, 560}},
        Case{{300, 560, 800, 600}, acTBRight, {300, 200}},
        Case{{760, 0, 800, 600}, acTBRight, {760, 200}}, Case{{0, 0, 800, 30}, acTBTop, {300, 30}},
        Case{{0, 0, 40, 600}, acTBLeft, {40, 200}}}) {
    const gfx::TRect t = MinimizeTarget(&c.taskbar, {300, 200}, side);
    EXPECT_EQ(side, c.side) << c.taskbar.Left << "," << c.taskbar.Top;
    EXPECT_EQ(t, (gfx::TRect{c.target.X, c.target.Y, c.target.X, c.target.Y}));
  }
}

}  // namespace
}  // namespace skin::frame
