// A skinned sizeable form's states on the virtual desktop with a scripted mouse: frame-only
// moving and sizing (an inverted outline on the desktop, the final rectangle on release),
// snapping to the edges of other skinned forms and of the work area, and the veil over a
// disabled form.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "InternalSkinFormTest.h"
#include "LayeredWindows.h"
#include "TestOutput.h"
#include "framework/Application.h"
#include "framework/Form.h"
#include "framework/TextConv.h"
#include "platform/gfx/PictureCodec.h"
#include "platform/win/Backend.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "platform/win/VirtualDesktop.h"
#include "platform/win/Window.h"
#include "skin/core/sSkinManager.h"
#include "skin/frame/acFrameSizing.h"
#include "skin/frame/sSkinProvider.h"
#include "skin/internal/sInternalSkins.h"
#include "skin/paint/sBlur.h"

namespace skin::frame {
namespace {

using gfx::TRect;

TEST(SnapTest, AnEdgeWithinTheBufferLandsOnTheOtherWindowsOrTheWorkAreasEdge) {
  const TRect work{0, 0, 800, 600};
  const std::vector<TRect> other{{300, 200, 500, 400}};
  struct Case {
    const char* what;
    gfx::TPoint proposed;
    gfx::TSize size;
    int buffer;
    gfx::TPoint placed;
  };
  const Case cases[] = {
      // Its left edge lands on the other's right edge, its top (4 off) on the other's top.
      {"right of it, 7 off", {507, 204}, {100, 100}, 10, {500, 200}},
      {"left of it, overlapping by 6", {106, 250}, {200, 50}, 10, {100, 250}},
      {"below it, 9 off", {320, 409}, {50, 50}, 10, {320, 400}},
      {"above it, 3 over", {350, 103}, {50, 100}, 10, {350, 100}},
      {"at the buffer's distance", {510, 250}, {100, 50}, 10, {510, 250}},
      {"far from it: the work area", {5, 492}, {100, 100}, 10, {0, 500}},
      {"a buffer of 0", {507, 204}, {100, 100}, 0, {507, 204}},
  };
  for (const Case& c : cases) {
    int x = c.proposed.X, y = c.proposed.Y;
    CheckNewPosition(x, y, c.size, other, work, c.buffer);
    EXPECT_EQ((gfx::TPoint{x, y}), c.placed) << c.what;
  }
}

class FormStatesTest : public test::InternalSkinFormTest {
 protected:
  void SetUp() override {
    app = std::make_unique<fw::TApplication>();
    form = MakeForm(100, 100);
    manager = new core::TsSkinManager(form);
    manager->AfterConstruction();
    skin::data::AddInternalSkins(manager->InternalSkins());
    manager->SetSkinName(test::InternalSkinNamed("BlueGauze"));
    provider = new TsSkinProvider(form);
    form->Show();
    desktop.Pump();
  }

  fw::TForm* MakeForm(int x, int y) {
    auto* f = new fw::TForm(app.get());
    f->SetBorderStyle(fw::TFormBorderStyle::bsSizeable);
    f->SetBounds(x, y, 300, 200);
    f->SetCaption(u"Frame");
    return f;
  }
  static TRect WindowOf(win::HWND h) {
    win::RECT r{};
    win::GetWindowRect(h, &r);
    return r;
  }
  // Whether the screen shows the outline of r inverted over `under` and everything else as
  // under; counts the pixels that differ from that.
  static int OutlineDiffers(const gfx::Bitmap& under, const gfx::Bitmap& shown, const TRect& r) {
    int wrong = 0;
    for (int y = 0; y < under.Height(); ++y)
      for (int x = 0; x < under.Width(); ++x) {
        const bool edge = r.Contains({x, y}) &&
                          (x == r.Left || x == r.Right - 1 || y == r.Top || y == r.Bottom - 1);
        const std::uint32_t want = edge ? ~under.At(x, y) : under.At(x, y);
        if ((want & 0xFFFFFF) != (shown.At(x, y) & 0xFFFFFF)) ++wrong;
      }
    return wrong;
  }
  void Mouse(win::POINT p, int button = -1, bool down = false) {
    win::InjectMouseMove(p);
    if (button >= 0) win::InjectMouseButton(button, down, p);
    desktop.Pump();
  }

  TsSkinProvider* provider = nullptr;
};

TEST_F(FormStatesTest, SizingByTheBorderShowsOnlyAnInvertedOutlineUntilRelease) {
  provider->SetResizeMode(TacResizeMode::rmBorder);
  const win::HWND h = form->Handle();
  const TRect start = WindowOf(h);
  const gfx::Bitmap before = desktop.Compose();
  // The bottom-right corner, dragged 60 right and 40 down.
  const win::POINT corner{start.Right - 2, start.Bottom - 2};
  ASSERT_EQ(win::SendMessageW(h, win::WM_NCHITTEST, 0, win::MAKELPARAM(corner.X, corner.Y)),
            win::HTBOTTOMRIGHT);
  Mouse(corner, 0, true);
  ASSERT_TRUE(provider->FrameSizing().InProcess());
  Mouse({corner.X + 60, corner.Y + 40});
  const TRect wanted{start.Left, start.Top, start.Right + 60, start.Bottom + 40};
  EXPECT_EQ(provider->FrameSizing().Pending(), wanted);
  EXPECT_EQ(WindowOf(h), start);  // the form itself waits
  const gfx::Bitmap sizing = desktop.Compose();
  gfx::WriteFileBytes((tests::OutputFolder("frame") / "frame-only-sizing.png").string(),
                      gfx::EncodePng(sizing));
  EXPECT_EQ(OutlineDiffers(before, sizing, wanted), 0);
  Mouse({corner.X + 60, corner.Y + 40}, 0, false);
  EXPECT_FALSE(provider->FrameSizing().InProcess());
  EXPECT_EQ(WindowOf(h), wanted);
  EXPECT_EQ(win::GetCapture(), nullptr);
  // No outline is left on the screen: only the grown window differs from before.
  const gfx::Bitmap after = desktop.Compose();
  int outside = 0;
  for (int y = 0; y < after.Height(); ++y)
    for (int x = 0; x < after.Width(); ++x)
      if (!wanted.Contains({x, y}) && after.At(x, y) != before.At(x, y)) ++outside;
  EXPECT_EQ(outside, 0);
}

TEST_F(FormStatesTest, TheOutlineStopsAtTheMinimumSizeAndMovingByTheCaptionKeepsTheSize) {
  provider->SetResizeMode(TacResizeMode::rmBorder);
  form->SetConstraints({250, 150, 0, 0});
  const win::HWND h = form->Handle();
  const TRect start = WindowOf(h);
  // The left edge, dragged far to the right: the width stops at 250.
  const win::POINT left{start.Left + 1, (start.Top + start.Bottom) / 2};
  ASSERT_EQ(win::SendMessageW(h, win::WM_NCHITTEST, 0, win::MAKELPARAM(left.X, left.Y)),
            win::HTLEFT);
  Mouse(left, 0, true);
  Mouse({left.X + 200, left.Y + 30});
  EXPECT_EQ(provider->FrameSizing().Pending(),
            (TRect{start.Right - 250, start.Top, start.Right, start.Bottom}));
  Mouse({left.X + 200, left.Y + 30}, 0, false);
  EXPECT_EQ(WindowOf(h), (TRect{start.Right - 250, start.Top, start.Right, start.Bottom}));
  // The bottom edge, dragged far down: the height stops at the maximum, 260.
  form->SetConstraints({250, 150, 0, 260});
  const TRect narrow = WindowOf(h);
  const win::POINT bottom{(narrow.Left + narrow.Right) / 2, narrow.Bottom - 1};
  Mouse(bottom, 0, true);
  Mouse({bottom.X, bottom.Y + 150});
  EXPECT_EQ(provider->FrameSizing().Pending().Height(), 260);  // the outline too
  Mouse({bottom.X, bottom.Y + 150}, 0, false);
  EXPECT_EQ(WindowOf(h), (TRect{narrow.Left, narrow.Top, narrow.Right, narrow.Top + 260}));

  const TRect sized = WindowOf(h);
  const win::POINT caption{sized.Left + 40, sized.Top + provider->BorderWidth() + 5};
  ASSERT_EQ(win::SendMessageW(h, win::WM_NCHITTEST, 0, win::MAKELPARAM(caption.X, caption.Y)),
            win::HTCAPTION);
  Mouse(caption, 0, true);
  Mouse({caption.X - 70, caption.Y + 120});
  EXPECT_EQ(WindowOf(h), sized);
  Mouse({caption.X - 70, caption.Y + 120}, 0, false);
  EXPECT_EQ(WindowOf(h), sized.Offset(-70, 120));
}

TEST_F(FormStatesTest, TakingTheCaptureAwayEndsTheOutlineWithoutMovingTheForm) {
  provider->SetResizeMode(TacResizeMode::rmBorder);
  const win::HWND h = form->Handle();
  const TRect start = WindowOf(h);
  const gfx::Bitmap before = desktop.Compose();
  const win::POINT caption{start.Left + 40, start.Top + provider->BorderWidth() + 5};
  Mouse(caption, 0, true);
  Mouse({caption.X + 30, caption.Y + 30});
  win::ReleaseCapture();
  desktop.Pump();
  EXPECT_FALSE(provider->FrameSizing().InProcess());
  EXPECT_EQ(WindowOf(h), start);
  EXPECT_EQ(OutlineDiffers(before, desktop.Compose(), TRect{}), 0);
  Mouse({caption.X + 30, caption.Y + 30}, 0, false);
}

TEST_F(FormStatesTest, AMovedFormSnapsToAnotherSkinnedFormAndToTheWorkArea) {
  fw::TForm* other = MakeForm(500, 100);
  TsSkinProvider* otherProvider = new TsSkinProvider(other);
  other->Show();
  desktop.Pump();
  ASSERT_TRUE(otherProvider->Skinned());
  const win::HWND h = form->Handle();
  // Without ScreenSnap the form goes where it is put.
  win::SetWindowPos(h, nullptr, 192, 104, 0, 0, win::SWP_NOSIZE | win::SWP_NOZORDER);
  EXPECT_EQ(WindowOf(h).Left, 192);
  provider->SetScreenSnap(true);
  // 7 pixels left of the other form's left edge, 4 below its top.
  win::SetWindowPos(h, nullptr, 193, 104, 0, 0, win::SWP_NOSIZE | win::SWP_NOZORDER);
  EXPECT_EQ(WindowOf(h), (TRect{200, 100, 500, 300}));
  // Dragged by the caption (the window system's own move) to 6 pixels from the work area's
  // bottom-left corner.
  const TRect r = WindowOf(h);
  const win::POINT caption{r.Left + 40, r.Top + provider->BorderWidth() + 5};
  const win::POINT to{caption.X - 194, caption.Y + 294};
  win::InjectMouseMove(caption);
  win::InjectMouseButton(0, true, caption);
  win::InjectMouseMove(to);
  win::InjectMouseButton(0, false, to);
  desktop.Pump();
  EXPECT_EQ(WindowOf(h), (TRect{0, 400, 300, 600}));
  // A maximised form keeps its frame outside the work area.
  win::SendMessageW(h, win::WM_SYSCOMMAND, win::SC_MAXIMIZE, 0);
  desktop.Pump();
  ASSERT_TRUE(win::IsZoomed(h));
  EXPECT_EQ(WindowOf(h).Left, -provider->BorderWidth());
}

TEST_F(FormStatesTest, AListedFormTouchingItsMasterAtActivationMovesWithItAfterwards) {
  fw::TForm* palette = MakeForm(150, 300);  // at the master's bottom edge
  palette->SetName("Palette");
  TsSkinProvider* paletteProvider = new TsSkinProvider(palette);
  paletteProvider->SetScreenSnap(true);
  fw::TForm* other = MakeForm(400, 100);  // at the master's right edge, not listed
  other->SetName("Other");
  new TsSkinProvider(other);
  fw::TForm* apart = MakeForm(410, 300);  // listed, but not touching
  apart->SetName("Apart");
  new TsSkinProvider(apart);
  palette->Show();
  other->Show();
  apart->Show();
  desktop.Pump();
  provider->GluedForms() = {"Palette", "Apart"};
  EXPECT_FALSE(provider->Linked(*palette));
  win::SetActiveWindow(form->Handle());
  desktop.Pump();
  EXPECT_TRUE(provider->Linked(*palette));
  EXPECT_FALSE(provider->Linked(*other));
  EXPECT_FALSE(provider->Linked(*apart));
  // The palette follows, and does not snap to the work area's left edge 5 pixels away.
  win::SetWindowPos(form->Handle(), nullptr, -45, 130, 0, 0, win::SWP_NOSIZE | win::SWP_NOZORDER);
  desktop.Pump();
  EXPECT_EQ(WindowOf(palette->Handle()), (TRect{5, 330, 305, 530}));
  EXPECT_EQ(WindowOf(other->Handle()), (TRect{400, 100, 700, 300}));
  EXPECT_EQ(WindowOf(apart->Handle()), (TRect{410, 300, 710, 500}));
  // A freed slave is forgotten.
  delete palette;
  win::SetWindowPos(form->Handle(), nullptr, 100, 100, 0, 0, win::SWP_NOSIZE | win::SWP_NOZORDER);
  desktop.Pump();
  EXPECT_EQ(WindowOf(form->Handle()), (TRect{100, 100, 400, 300}));
}

TEST_F(FormStatesTest, ACaptionDragWithBlendOnMovingFadesInTimerStepsAndEndsOpaque) {
  // 85 alpha levels over 120 ms: 8.5 a 12 ms step.
  manager->AnimEffects().BlendOnMoving = {{true, 120, core::atAero}, 170};
  const win::HWND h = form->Handle();
  const TRect start = WindowOf(h);
  const win::POINT caption{start.Left + 40, start.Top + provider->BorderWidth() + 5};
  // On the virtual clock from the press: ticks at 12, 24, ...; looks between them.
  EXPECT_EQ(test::OpacityWhileDragged(desktop, h, caption), (std::vector<int>{255, 238, 212, 170}));
  // The move happened, and the form is an ordinary window again.
  EXPECT_EQ(WindowOf(h), start.Offset(50, 20));
  EXPECT_FALSE(win::GetWindowLongPtrW(h, win::GWL_EXSTYLE) & win::WS_EX_LAYERED);
  // Off for this form: the system's plain move.
  provider->SetAllowBlendOnMoving(false);
  EXPECT_EQ(test::OpacityWhileDragged(desktop, h, {caption.X + 50, caption.Y + 20}),
            (std::vector<int>{-1, -1, -1, -1}));
  EXPECT_EQ(WindowOf(h), start.Offset(100, 40));
}

TEST_F(FormStatesTest, ADisabledFormIsVeiledOnlyWithABlendValueBelow255) {
  const win::HWND h = form->Handle();
  const TRect w = WindowOf(h);
  // The default: no veil.
  form->SetEnabled(false);
  desktop.Pump();
  EXPECT_EQ(provider->LayerForm(), nullptr);
  const gfx::Bitmap clear = desktop.Compose();
  form->SetEnabled(true);
  desktop.Pump();

  provider->SetDisabledBlendValue(155);  // the colour at opacity 100
  provider->SetDisabledBlendColor(fw::clWhite);
  form->SetEnabled(false);
  desktop.Pump();
  ASSERT_NE(provider->LayerForm(), nullptr);
  const gfx::Bitmap veiled = desktop.Compose();
  gfx::WriteFileBytes((tests::OutputFolder("frame") / "disabled-veil.png").string(),
                      gfx::EncodePng(veiled));
  gfx::Region rgn;
  ASSERT_NE(win::GetWindowRgn(h, &rgn), gfx::RGN_ERROR);
  int wrong = 0;
  for (int y = 0; y < veiled.Height(); ++y)
    for (int x = 0; x < veiled.Width(); ++x) {
      const gfx::Pixel under = clear.At(x, y), shown = veiled.At(x, y);
      const bool inside = rgn.Contains({x - w.Left, y - w.Top});
      for (int c = 0; c < 3; ++c) {
        const int u = int(under >> (8 * c)) & 255;
        const int want = inside ? (255 * 100 + u * 155 + 127) / 255 : u;
        if (std::abs(want - (int(shown >> (8 * c)) & 255)) > 1) {
          ++wrong;
          break;
        }
      }
    }
  EXPECT_EQ(wrong, 0);
  // The veil follows the form, and goes with enabling.
  win::SetWindowPos(h, nullptr, 150, 120, 0, 0, win::SWP_NOSIZE | win::SWP_NOZORDER);
  win::RECT vr{};
  win::GetWindowRect(provider->LayerForm()->Handle(), &vr);
  EXPECT_EQ(TRect(vr), WindowOf(h));
  form->SetEnabled(true);
  desktop.Pump();
  EXPECT_EQ(provider->LayerForm(), nullptr);
  // Hidden, a disabled form has no veil.
  form->SetEnabled(false);
  form->Hide();
  desktop.Pump();
  EXPECT_EQ(provider->LayerForm(), nullptr);
}

// Blurred, the veil is the form's own picture blurred, opaque, with the blend colour over it at
// its opacity; without the colour (blend value 255) the blur alone veils the form.
TEST_F(FormStatesTest, ABlurredVeilShowsTheFormsPictureBlurredUnderTheBlendColour) {
  const win::HWND h = form->Handle();
  const TRect w = WindowOf(h);
  const gfx::Bitmap clear = desktop.Compose();
  gfx::Bitmap blurred = clear.Copy(w);
  paint::Blur32(blurred, acVeilBlurRadius);
  gfx::Region rgn;
  ASSERT_NE(win::GetWindowRgn(h, &rgn), gfx::RGN_ERROR);
  // Pixels whose blur reaches no cut corner (the screen shows the desktop there, the form's
  // picture its own frame).
  auto farFromCorners = [&](int x, int y) {
    const int d = paint::MaxKernelSize + 1;
    return (x >= d && x < w.Width() - d) || (y >= d && y < w.Height() - d);
  };
  for (const int blend : {255, 155}) {
    SCOPED_TRACE(blend);
    provider->SetDisabledBlured(true);
    provider->SetDisabledBlendValue(blend);
    provider->SetDisabledBlendColor(fw::clWhite);
    form->SetEnabled(false);
    desktop.Pump();
    ASSERT_NE(provider->LayerForm(), nullptr);
    const gfx::Bitmap veiled = desktop.Compose();
    gfx::WriteFileBytes(
        (tests::OutputFolder("frame") / ("blurred-veil-" + std::to_string(blend) + ".png"))
            .string(),
        gfx::EncodePng(veiled));
    int wrong = 0, changed = 0;
    for (int y = 0; y < w.Height(); ++y)
      for (int x = 0; x < w.Width(); ++x) {
        if (!rgn.Contains({x, y}) || !farFromCorners(x, y)) continue;
        const gfx::Pixel under = blurred.At(x, y), shown = veiled.At(x + w.Left, y + w.Top);
        if (shown != clear.At(x + w.Left, y + w.Top)) ++changed;
        for (int c = 0; c < 3; ++c) {
          const int u = int(under >> (8 * c)) & 255;
          const int want = blend == 255 ? u : (u * blend + 255 * (255 - blend)) >> 8;
          if (std::abs(want - (int(shown >> (8 * c)) & 255)) > 1) {
            ++wrong;
            break;
          }
        }
      }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(changed, 0);
    // Outside the form's region the desktop stays unveiled.
    if (!rgn.Contains({0, 0})) {
      EXPECT_EQ(veiled.At(w.Left, w.Top), clear.At(w.Left, w.Top));
    }
    form->SetEnabled(true);
    desktop.Pump();
    EXPECT_EQ(provider->LayerForm(), nullptr);
  }
}

// A form hidden because its owner is minimised remembers how it comes back; maximised, it comes
// back with its owner and is painted whole when it is next activated, or forgets it when it is
// deactivated first.
TEST_F(FormStatesTest, AMaximisedFormHiddenWithItsOwnerIsPaintedWholeAtItsNextActivation) {
  fw::TForm* owner = MakeForm(420, 300);
  owner->Show();
  desktop.Pump();
  const win::HWND h = form->Handle(), o = owner->Handle();
  win::SetWindowLongPtrW(h, win::GWLP_HWNDPARENT, win::LONG_PTR(o));
  auto hideAndBringBack = [&](core::TShowAction want) {
    win::SetActiveWindow(o);
    win::ShowWindow(o, win::SW_MINIMIZE);
    desktop.Pump();
    EXPECT_FALSE(win::IsWindowVisible(h));
    EXPECT_EQ(provider->ShowAction(), want);
    win::ShowWindow(o, win::SW_RESTORE);
    desktop.Pump();
    EXPECT_TRUE(win::IsWindowVisible(h));
  };
  hideAndBringBack(core::saRestore);
  win::ShowWindow(h, win::SW_SHOWMAXIMIZED);
  desktop.Pump();
  hideAndBringBack(core::saMaximize);
  EXPECT_TRUE(win::IsZoomed(h));
  EXPECT_EQ(provider->ShowAction(), core::saMaximize);  // pending until activated
  EXPECT_FALSE(provider->FormActive());

  win::SetActiveWindow(h);
  desktop.Pump();
  EXPECT_EQ(provider->ShowAction(), core::saIgnore);
  EXPECT_TRUE(provider->FormActive());
  EXPECT_FALSE(provider->SkinData().FUpdating);
  // The screen shows the maximised form's frame as the provider painted it, in the active
  // state.
  ASSERT_NE(provider->Cache(), nullptr);
  const gfx::Bitmap& cache = *provider->Cache();
  const TRect w = WindowOf(h);
  ASSERT_EQ(cache.Width(), w.Width());
  gfx::Region rgn;
  ASSERT_NE(win::GetWindowRgn(h, &rgn), gfx::RGN_ERROR);
  const gfx::Bitmap screen = desktop.Compose();
  int wrong = 0, seen = 0;
  for (int y = 0; y < provider->TitleBottom(); ++y)
    for (int x = 0; x < w.Width(); ++x) {
      const int sx = x + w.Left, sy = y + w.Top;
      if (!rgn.Contains({x, y}) || sx < 0 || sy < 0 || sx >= screen.Width()) continue;
      ++seen;
      if ((screen.At(sx, sy) & 0xFFFFFF) != (cache.At(x, y) & 0xFFFFFF)) ++wrong;
    }
  EXPECT_GT(seen, 0);
  EXPECT_EQ(wrong, 0);

  // Deactivated before it is activated again, nothing is pending any more.
  hideAndBringBack(core::saMaximize);
  win::SendMessageW(h, win::WM_NCACTIVATE, 0, 0);
  EXPECT_EQ(provider->ShowAction(), core::saIgnore);
  EXPECT_FALSE(provider->SkinData().FUpdating);
}

}  // namespace
}  // namespace skin::frame
