// State fades, glow windows and the caption-button fade on a virtual desktop, step by step on
// its virtual clock: every frame is checked against the blend of the control's two cached
// pictures at that step's weight, computed here independently of the fade's own arithmetic.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "framework/Application.h"
#include "framework/CustomControl.h"
#include "framework/Form.h"
#include "framework/GraphicControl.h"
#include "framework/TextConv.h"
#include "platform/gfx/PictureCodec.h"
#include "platform/win/Backend.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "platform/win/VirtualDesktop.h"
#include "platform/win/Window.h"
#include "skin/core/SkinnedFormTest.h"
#include "skin/core/acGlow.h"
#include "skin/core/acSBAnimation.h"
#include "skin/core/sFade.h"
#include "skin/core/sGraphUtils.h"
#include "skin/paint/sGraphUtils.h"

namespace skin::core::test {
namespace {

// Every pixel of the master tells its place; the glow picture lies in its top-left 12 x 12.
gfx::Bitmap Master() {
  gfx::Bitmap bmp(40, 12);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 40; ++x)
      bmp.Set(x, y, gfx::MakePixel(std::uint8_t(x * 6), std::uint8_t(y * 20), 100, 255));
  return bmp;
}

// Three states with three different vertical gradients; a section with a glow; a close glyph.
const std::string kOptions =
    "[GLOBALINFO]\nVERSION=8.0\nMASTERBITMAP=master.bmp\n"
    "BICONCLOSE=^0020^0000^0032^0006^0000^0000^0000^0000^3^0^0^0\n\n"
    "[FADER]\nSTATES=3\nUSESTATE2=1\nGRADIENTPERCENT=100\nHOTGRADIENTPERCENT=100\nGRADIENTPERCENT2="
    "100\n"
    "GRADIENTDATA=16777215;128;60;0;0;128;128;40;0;0;128;128;0;0;0\n"
    "HOTGRADIENTDATA=65280;16711680;60;0;0;16711680;16711680;40;0;0;16711680;16711680;0;0;0\n"
    "GRADIENTDATA2=255;8421504;60;0;0;8421504;8421504;40;0;0;8421504;8421504;0;0;0\n\n"
    "[GLOWY]\nSTATES=3\nCOLOR=255\nHOTCOLOR=65280\nGLOW=1\nGLOWMARGIN=2\n"
    "GLOW0=^0000^0000^0012^0012^0004^0004^0004^0004^1^0^4^0\n";

// A skinned control for the fades: its cache shows its section in the state it is in (hot
// under the mouse, pressed while Pressed), it fades on entering, leaving and pressing, and it
// paints the fade's frame while one runs.
template <class Base>
class TFader : public Base {
 public:
  TFader(fw::TComponent* owner, fw::TWinControl* parent, gfx::TRect r, const char* section)
      : Base(owner) {
    Data = std::make_unique<TsCommonData>(this, true);
    Data->SetSkinSection(section);
    this->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    this->SetParent(parent);
    Data->Loaded(false);
  }
  ~TFader() override {
    this->Destroying();
    Data->RemoveCommonProp();
    if constexpr (std::is_base_of_v<fw::TWinControl, Base>) this->DestroyHandle();
  }
  int State() const { return Pressed ? 2 : ControlState(*Data); }
  void Press(bool down) {
    Pressed = down;
    DoChangePaint(*Data, State(), UpdateWindow_CB, true, false, MakeGlowing);
  }
  std::unique_ptr<TsCommonData> Data;
  bool Pressed = false;
  bool MakeGlowing = false;
  int Paints = 0;

 protected:
  void WndProc(fw::TMessage& m) override {
    if (m.Msg == SM_ALPHACMD && WParamHi(m.WParam) == AC_PREPARECACHE) {
      UpdateCache(*Data, State());
      return;
    }
    // The state changes fade, as a button's do (the shared handling would repaint at once).
    if (m.Msg == fw::CM_MOUSEENTER || m.Msg == fw::CM_MOUSELEAVE) {
      Data->FMouseAbove = m.Msg == fw::CM_MOUSEENTER;
      DoChangePaint(*Data, State(), UpdateWindow_CB, true, false, MakeGlowing);
      Base::WndProc(m);
      return;
    }
    if (!CommonWndProc(m, *Data)) Base::WndProc(m);
  }
  void Paint() override {
    ++Paints;
    UpdateCache(*Data, State());
    const gfx::Bitmap* frame = AnimFrame(*Data);
    if (!frame) frame = Data->CacheBmp();
    if (frame && !frame->Empty()) this->Canvas().Draw(0, 0, *frame);
  }
};

using TWindowedFader = TFader<fw::TCustomControl>;
using TGraphicFader = TFader<fw::TGraphicControl>;

// The blend of old and new with the new picture's weight g: all four bytes
// (k * old + (256 - k) * new) >> 8 with k the weight kept of the old one.
gfx::Bitmap Blend(const gfx::Bitmap& from, const gfx::Bitmap& to, int k) {
  gfx::Bitmap out(to.Width(), to.Height());
  for (int y = 0; y < to.Height(); ++y)
    for (int x = 0; x < to.Width(); ++x) {
      gfx::Pixel p = 0;
      for (int shift = 0; shift < 32; shift += 8) {
        const int a = int(from.At(x, y) >> shift & 0xFF), b = int(to.At(x, y) >> shift & 0xFF);
        p |= gfx::Pixel((k * a + (256 - k) * b) >> 8) << shift;
      }
      out.Set(x, y, p);
    }
  return out;
}

int RoundEven(double v) {
  return int(std::nearbyint(v));
}

class FadeTest : public SkinnedFormTest {
 protected:
  void SetUp() override { MakeSkinnedForm(kOptions, Master()); }
  void Show() {
    form->Show();
    desktop.Pump();
  }
  // What the screen shows in r, alpha made opaque as the composition does.
  gfx::Bitmap Screen(const gfx::TRect& r) {
    const gfx::Bitmap all = desktop.Compose();
    return all.Copy(r);
  }
  static gfx::Bitmap Opaque(gfx::Bitmap b) {
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x) b.Set(x, y, b.At(x, y) | 0xFF000000u);
    return b;
  }
  // Expects the screen at r to show the blend of from and to keeping k of from.
  void ExpectFrame(const gfx::TRect& r, const gfx::Bitmap& from, const gfx::Bitmap& to, int k,
                   int step) {
    const gfx::Bitmap shown = Screen(r);
    const gfx::Bitmap want = Opaque(Blend(from, to, k));
    ASSERT_EQ(shown.Width(), want.Width());
    for (int y = 0; y < want.Height(); ++y)
      for (int x = 0; x < want.Width(); ++x)
        ASSERT_EQ(shown.At(x, y), want.At(x, y))
            << "step " << step << " k " << k << " at " << x << "," << y;
  }
  void MoveTo(int x, int y) {
    win::InjectMouseMove({x, y});
    desktop.Pump();
  }
};

TEST_F(FadeTest, HoverFadesInSixStepsEachTheBlendOfTheTwoCachedPictures) {
  auto* c = new TWindowedFader(form, form, {20, 30, 120, 55}, "FADER");
  Show();
  ASSERT_TRUE(c->Data->Skinned());
  const gfx::Bitmap normal = *c->Data->CacheBmp();
  ASSERT_EQ(normal.Width(), 100);
  MoveTo(50, 40);  // in: the first step is drawn at once
  ASSERT_TRUE(TimerIsActive(*c->Data));
  const gfx::Bitmap hot = *c->Data->CacheBmp();
  ASSERT_NE(hot, normal);
  const gfx::TRect r{20, 30, 120, 55};
  for (int step = 1; step <= 6; ++step) {
    // The new picture's weight is 255 * step / 6, rounded to even; k keeps the rest of the old.
    ExpectFrame(r, normal, hot, 255 - RoundEven(255.0 * step / 6), step);
    EXPECT_EQ(TimerIsActive(*c->Data), step < 6) << step;
    desktop.Advance(12);
  }
  // It ends showing the new picture, and the control paints its cache again.
  ExpectFrame(r, normal, hot, 0, 7);
  EXPECT_EQ(AnimFrame(*c->Data), nullptr);
  c->Invalidate();
  desktop.Pump();
  ExpectFrame(r, normal, hot, 0, 8);
}

TEST_F(FadeTest, LeavingInTheMiddleContinuesFromTheBlendOnScreen) {
  auto* c = new TWindowedFader(form, form, {20, 30, 120, 55}, "FADER");
  Show();
  const gfx::Bitmap normal = *c->Data->CacheBmp();
  MoveTo(50, 40);
  const gfx::Bitmap hot = *c->Data->CacheBmp();
  desktop.Advance(12);
  desktop.Advance(12);  // three of six steps shown: the hot picture at weight 128
  const gfx::TRect r{20, 30, 120, 55};
  ExpectFrame(r, normal, hot, 255 - 128, 3);
  MoveTo(300, 200);  // out
  EXPECT_EQ(*c->Data->CacheBmp(), normal);
  // From where the hot picture's weight stood it goes down by a twelfth of it a step, and runs
  // on until it reaches 0: twelve frames, the first drawn at once.
  double glow = 127.5;
  int frames = 1;
  for (;; ++frames) {
    glow -= 127.5 / 12;
    ExpectFrame(r, hot, normal, std::clamp(RoundEven(glow), 0, 255), frames);
    if (!TimerIsActive(*c->Data) || frames > 20) break;
    desktop.Advance(12);
  }
  EXPECT_EQ(frames, 12);
  ExpectFrame(r, hot, normal, 0, frames);
  int steps = 0;
  // A fade back from full hot takes twelve steps.
  MoveTo(50, 40);
  while (TimerIsActive(*c->Data)) desktop.Advance(12);
  MoveTo(300, 200);
  steps = 1;
  while (TimerIsActive(*c->Data)) {
    desktop.Advance(12);
    ++steps;
  }
  EXPECT_EQ(steps, 12);
  ExpectFrame(r, hot, normal, 0, steps);
}

TEST_F(FadeTest, APressFadesFromTheFrameOnScreen) {
  auto* c = new TWindowedFader(form, form, {20, 30, 120, 55}, "FADER");
  Show();
  const gfx::Bitmap normal = *c->Data->CacheBmp();
  MoveTo(50, 40);
  const gfx::Bitmap hot = *c->Data->CacheBmp();
  desktop.Advance(12);  // hot at weight 85
  const gfx::Bitmap onScreen = Opaque(Blend(normal, hot, 255 - 85));
  c->Press(true);
  const gfx::Bitmap pressed = *c->Data->CacheBmp();
  ASSERT_NE(pressed, hot);
  // From the frame last shown toward the pressed picture, the glow of 85 going in six steps.
  const gfx::TRect r{20, 30, 120, 55};
  double glow = 85;
  for (int step = 1; step <= 6; ++step) {
    glow -= 85.0 / 6;
    const gfx::Bitmap shown = Screen(r);
    const gfx::Bitmap want = Opaque(Blend(onScreen, pressed, std::clamp(RoundEven(glow), 0, 255)));
    ASSERT_EQ(shown, want) << step;
    desktop.Advance(12);
  }
  EXPECT_EQ(Screen(r), Opaque(pressed));
}

TEST_F(FadeTest, AWindowlessControlsFadeIsDrawnAtTheControl) {
  // The fade of a control without a window goes onto its parent's window at the control's
  // place, not at the parent's top-left corner.
  auto* box = new TWindowedFader(form, form, {10, 10, 210, 110}, "GLOWY");
  auto* c = new TGraphicFader(form, box, {60, 40, 160, 65}, "FADER");
  Show();
  const gfx::TRect boxCorner{10, 10, 110, 35};
  const gfx::Bitmap cornerBefore = Screen(boxCorner);
  const gfx::Bitmap normal = *c->Data->CacheBmp();
  MoveTo(100, 60);
  ASSERT_TRUE(c->Data->FMouseAbove);
  const gfx::Bitmap hot = *c->Data->CacheBmp();
  const gfx::TRect r{70, 50, 170, 75};  // the control on the screen
  for (int step = 1; step <= 6; ++step) {
    ExpectFrame(r, normal, hot, 255 - RoundEven(255.0 * step / 6), step);
    EXPECT_EQ(Screen(boxCorner), cornerBefore) << step;
    desktop.Advance(12);
  }
}

TEST_F(FadeTest, TicksArrivingWhileAStepRunsAreDropped) {
  auto* c = new TWindowedFader(form, form, {20, 30, 120, 55}, "FADER");
  Show();
  static int steps;
  static win::VirtualDesktop* clock;
  steps = 0;
  clock = &desktop;
  // A step that lets the message loop run for 50 ms: four ticks fall due meanwhile.
  const TacAnimProc slow = [](TsCommonData*, int) {
    ++steps;
    clock->Advance(50);
    return true;
  };
  GetNewTimer(*c->Data, 1);
  c->Data->AnimTimer->InitData(c->Data.get(), 0, slow, 1, false);
  desktop.Advance(12);
  EXPECT_EQ(steps, 1);
  desktop.Advance(12);
  EXPECT_EQ(steps, 2);
}

TEST_F(FadeTest, NoFadeWithoutTheManagersAnimationsOrWithAStaleCache) {
  auto* c = new TWindowedFader(form, form, {20, 30, 120, 55}, "FADER");
  Show();
  manager->Effects().AllowAnimation = false;
  MoveTo(50, 40);
  EXPECT_FALSE(TimerIsActive(*c->Data));
  desktop.Pump();  // repainted at once in the new state
  EXPECT_EQ(Screen({20, 30, 120, 55}), Opaque(*c->Data->CacheBmp()));
  manager->Effects().AllowAnimation = true;
  c->Data->BGChanged = true;  // a cache that does not show the old state cannot fade
  MoveTo(300, 200);
  EXPECT_FALSE(TimerIsActive(*c->Data));
  // A running fade stops on AC_STOPFADING and drops its pictures.
  MoveTo(50, 40);
  ASSERT_TRUE(TimerIsActive(*c->Data));
  SendAMessage(c->Handle(), AC_STOPFADING);
  EXPECT_FALSE(TimerIsActive(*c->Data));
  EXPECT_EQ(c->Data->AnimTimer->BmpOut, nullptr);
}

TEST_F(FadeTest, EventsFadeByTheControlsSetOrTheManagersButtonEvents) {
  EXPECT_TRUE(EventEnabled(aeMouseEnter, acBit(aeMouseEnter), manager));
  EXPECT_FALSE(EventEnabled(aeMouseLeave, acBit(aeMouseEnter), manager));
  EXPECT_TRUE(EventEnabled(aeMouseUp, acBit(aeGlobalDef), manager));
  manager->AnimEffects().Buttons.Events = acBit(beMouseDown);
  EXPECT_FALSE(EventEnabled(aeMouseUp, acBit(aeGlobalDef), manager));
  EXPECT_TRUE(EventEnabled(aeMouseDown, acBit(aeGlobalDef), nullptr));  // the default manager
  EXPECT_FALSE(EventEnabled(aeMouseDown, 0, manager));
}

TEST_F(FadeTest, AGlowNeverTakesTheHoverNorTheActivation) {
  auto* c = new TWindowedFader(form, form, {100, 100, 160, 130}, "GLOWY");
  auto* under = new TWindowedFader(form, form, {90, 125, 100, 140}, "FADER");  // at its edge
  Show();
  MoveTo(300, 200);
  // The control's size and the picture's widths less twice the margin, around the control.
  int& id = c->Data->GlowID;
  id = ShowGlow({100, 100, 160, 130}, "", "GLOW", 2, 255, c->Handle(), c->Data.get());
  ASSERT_GE(id, 0);
  const win::HWND g = acgEffects()[std::size_t(id)]->Wnd->Handle();
  EXPECT_TRUE(win::IsWindowVisible(g));
  EXPECT_EQ(win::GetActiveWindow(), form->Handle());  // shown without activation
  win::RECT gr{};
  win::GetWindowRect(g, &gr);
  EXPECT_EQ(gr, (win::RECT{98, 98, 162, 132}));
  EXPECT_EQ(win::GetWindowSurface(g).constantAlpha, 255);
  EXPECT_TRUE(win::GetWindowSurface(g).perPixelAlpha);
  // The mouse passes through it to whatever lies below: the control, and the one at its edge.
  EXPECT_EQ(win::WindowFromPoint({120, 110}), c->Handle());
  EXPECT_EQ(win::WindowFromPoint({99, 110}), form->Handle());
  MoveTo(99, 128);
  EXPECT_TRUE(under->Data->FMouseAbove);
  // A click on it goes below and never activates it.
  win::InjectMouseButton(0, true, {99, 99});
  win::InjectMouseButton(0, false, {99, 99});
  desktop.Pump();
  EXPECT_EQ(win::GetActiveWindow(), form->Handle());
  SetGlowAlpha(id, 77);
  EXPECT_EQ(win::GetWindowSurface(g).constantAlpha, 77);
  // Hidden with animation, it fades out on the control's timer and goes at the end.
  std::vector<int> alphas;
  HideGlow(id, true);
  while (id >= 0 && alphas.size() < 30) {
    alphas.push_back(win::GetWindowSurface(g).constantAlpha);
    desktop.Advance(12);
  }
  EXPECT_EQ(alphas, (std::vector<int>{234, 212, 191, 170, 149, 128, 106, 85, 64, 42, 21}));
  EXPECT_FALSE(win::IsWindow(g));
  // No glow while the mouse is captured, nor for a section without the picture.
  win::SetCapture(form->Handle());
  EXPECT_EQ(ShowGlow({0, 0, 10, 10}, "", "GLOW", 2, 255, c->Handle(), c->Data.get()), -1);
  win::ReleaseCapture();
  EXPECT_EQ(ShowGlow({0, 0, 10, 10}, "FADER", "GLOW", 0, 255, c->Handle(), c->Data.get()), -1);
  // A glow kept by another id goes with the data it was shown for; ids are not reused.
  const int kept = ShowGlow({0, 0, 10, 10}, "", "GLOW", 2, 255, c->Handle(), c->Data.get());
  ASSERT_GE(kept, 0);
  const win::HWND keptWnd = acgEffects()[std::size_t(kept)]->Wnd->Handle();
  delete c;
  EXPECT_EQ(acgEffects()[std::size_t(kept)], nullptr);
  EXPECT_FALSE(win::IsWindow(keptWnd));
  ClearGlows();
  int again = ShowGlow({0, 0, 10, 10}, "GLOWY", "GLOW", 2, 255, nullptr, under->Data.get());
  EXPECT_GT(again, kept);
  ClearGlows();
  EXPECT_EQ(acgEffects()[std::size_t(again)], nullptr);
}

// A control that answers a colour tone (a modal dialog button) gets its glow in that tone.
TEST_F(FadeTest, AGlowTakesItsControlsColourTone) {
  auto* c = new TWindowedFader(form, form, {100, 100, 160, 130}, "GLOWY");
  Show();
  MoveTo(300, 200);
  const int plainId =
      ShowGlow({100, 100, 160, 130}, "", "GLOW", 2, 255, c->Handle(), c->Data.get());
  ASSERT_GE(plainId, 0);
  const gfx::Bitmap plain = *acgEffects()[std::size_t(plainId)]->AlphaBmp;
  constexpr std::uint32_t tone = 0xFF0000B4;
  const fw::TWndHookId hook = c->HookWindowProc([](fw::TMessage& m, const fw::TWndNext& next) {
    if (m.Msg == SM_ALPHACMD && WParamHi(m.WParam) == AC_GETCOLORTONE) {
      m.Result = LRESULT(tone);
      return;
    }
    next(m);
  });
  const int tonedId =
      ShowGlow({100, 100, 160, 130}, "", "GLOW", 2, 255, c->Handle(), c->Data.get());
  ASSERT_GE(tonedId, 0);
  const gfx::Bitmap toned = *acgEffects()[std::size_t(tonedId)]->AlphaBmp;
  gfx::Bitmap expected = plain;
  skin::paint::ChangeBitmapPixels(expected, skin::paint::ChangeColorTone, int(tone & 0xFFFFFF),
                                  skin::paint::clNone);
  int differing = 0, changed = 0;
  for (int y = 0; y < plain.Height(); ++y)
    for (int x = 0; x < plain.Width(); ++x) {
      differing += toned.At(x, y) != expected.At(x, y);
      changed += toned.At(x, y) != plain.At(x, y);
    }
  EXPECT_EQ(differing, 0);
  EXPECT_GT(changed, 0);
  EXPECT_TRUE(c->UnhookWindowProc(hook));
  ClearGlows();
}

TEST_F(FadeTest, AGlowingControlFadesItsGlowWithItsState) {
  auto* c = new TWindowedFader(form, form, {100, 100, 160, 130}, "GLOWY");
  c->MakeGlowing = true;
  Show();
  MoveTo(120, 110);
  ASSERT_GE(c->Data->GlowID, 0);
  const win::HWND g = acgEffects()[std::size_t(c->Data->GlowID)]->Wnd->Handle();
  std::vector<int> in{win::GetWindowSurface(g).constantAlpha};
  while (TimerIsActive(*c->Data)) {
    desktop.Advance(12);
    in.push_back(win::GetWindowSurface(g).constantAlpha);
  }
  // Up with the hot picture's weight; the last step leaves it as it was.
  EXPECT_EQ(in, (std::vector<int>{42, 85, 128, 170, 212, 212}));
  MoveTo(300, 200);
  while (TimerIsActive(*c->Data)) desktop.Advance(12);
  EXPECT_EQ(c->Data->GlowID, -1);
  EXPECT_FALSE(win::IsWindow(g));
}

TEST_F(FadeTest, TheCaptionButtonFadeOutRunsDownFromTheTopAfterAFinishedFadeIn) {
  Show();
  TsCommonData formData(form, false);
  formData.SetSkinSection("FADER");
  TsCaptionButton close;
  close.cpRect = {300, 2, 312, 8};
  close.cpGlyphType = data::tgClose;
  const auto alpha = [&] {
    TacGlowForm* w = close.cpTimer ? close.cpTimer->Window() : nullptr;
    return w ? int(win::GetWindowSurface(w->Handle()).constantAlpha) : -1;
  };
  MoveTo(305, 5);
  close.cpState = 1;
  StartSBAnimation(close, 1, 10, true, form->Handle(), nullptr, &formData);
  ASSERT_NE(close.cpTimer, nullptr);
  std::vector<int> in{alpha()};
  for (int i = 0; i < 10; ++i) {
    desktop.Advance(12);
    in.push_back(alpha());
  }
  EXPECT_EQ(in, (std::vector<int>{25, 50, 75, 100, 125, 150, 175, 200, 225, 255, 255}));
  // The window covers the button, at the picture's size.
  win::RECT wr{};
  win::GetWindowRect(close.cpTimer->Window()->Handle(), &wr);
  EXPECT_EQ(wr, (win::RECT{300, 2, 312, 8}));
  // Out: from the top down in steps of 25, never straight to nothing.
  close.cpState = 0;
  StartSBAnimation(close, 0, 10, false, form->Handle(), nullptr, &formData);
  std::vector<int> out{alpha()};
  while (close.cpTimer->Running() && out.size() < 20) {
    desktop.Advance(12);
    out.push_back(alpha());
  }
  EXPECT_EQ(out, (std::vector<int>{250, 225, 200, 175, 150, 125, 100, 75, 50, 25, -1}));
  EXPECT_EQ(close.cpTimer->CurrentState, -1);
  // Again, with the same timer: in and out once more.
  close.cpState = 1;
  StartSBAnimation(close, 1, 10, true, form->Handle(), nullptr, &formData);
  desktop.Advance(12);
  EXPECT_EQ(alpha(), 255);
  close.cpState = 0;
  StartSBAnimation(close, 0, 10, false, form->Handle(), nullptr, &formData);
  EXPECT_EQ(alpha(), 250);
  desktop.Advance(12);
  EXPECT_EQ(alpha(), 225);
  close.cpTimer.reset();
}

}  // namespace
}  // namespace skin::core::test
