// A skinned form's show and hide effects through its provider on the virtual desktop's clock:
// the show run's frames and the form's opacity at its end, the first frame with no effect time,
// the closing fade of a cover that outlives the form, and the scale the provider reports and
// takes.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "InternalSkinFormTest.h"
#include "LayeredWindows.h"
#include "framework/Application.h"
#include "framework/Form.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/VirtualDesktop.h"
#include "platform/win/Window.h"
#include "skin/core/sMessages.h"
#include "skin/core/sSkinManager.h"
#include "skin/frame/acAnimation.h"
#include "skin/frame/sSkinProvider.h"

namespace skin::frame {
namespace {

class FormShowHideTest : public test::InternalSkinFormTest {
 protected:
  void SetUp() override {
    app = std::make_unique<fw::TApplication>();
    form = new fw::TForm(app.get());
    form->SetBorderStyle(fw::TFormBorderStyle::bsSizeable);
    form->SetBounds(100, 80, 300, 200);
    form->SetCaption(u"Frame");
    manager = new core::TsSkinManager(form);
    manager->AfterConstruction();
    skin::data::AddInternalSkins(manager->InternalSkins());
    manager->SetSkinName(test::InternalSkinNamed("BlueGauze"));
    provider = new TsSkinProvider(form);
  }

  int Covers() {
    return test::Covers([this](win::HWND h) { return h == form->Handle(); });
  }
  static bool Layered(win::HWND h) { return test::Layered(h); }
  static int Ask(win::HWND h, win::UINT cmd, win::LPARAM l = 0) {
    return int(win::SendMessageW(h, core::SM_ALPHACMD, core::MakeAlphaCmd(cmd), l));
  }

  TsSkinProvider* provider = nullptr;
};

TEST_F(FormShowHideTest, AShowTimeOf120RunsTenFramesAndEndsVisibleAtTheFormsOwnOpacity) {
  manager->AnimEffects().FormShow.Time = 120;
  manager->AnimEffects().FormShow.Mode = core::atFading;
  int after = 0;
  provider->OnAfterAnimation = [&](auto* sender) {
    EXPECT_EQ(sender, form);
    ++after;
  };
  const win::DWORD t0 = win::GetTickCount();
  form->Show();
  // Ten frames and the last picture, each waiting out its 12 ms on the virtual clock.
  EXPECT_EQ(win::GetTickCount() - t0, win::DWORD((120 / 12 + 1) * 12));
  EXPECT_EQ(after, 1);
  const win::HWND h = form->Handle();
  EXPECT_TRUE(win::IsWindowVisible(h));
  EXPECT_FALSE(Layered(h));
  EXPECT_EQ(Covers(), 0);
  EXPECT_FALSE(acAnimatingShow);

  // A form blending at its own value keeps it.
  form->Hide();
  provider->AlphaBlend = true;
  provider->AlphaBlendValue = 180;
  form->Show();
  EXPECT_TRUE(Layered(h));
  EXPECT_EQ(win::GetWindowSurface(h).constantAlpha, 180);
  EXPECT_EQ(after, 2);

  // Without the effect, or with the form's animations off, it shows at once.
  form->Hide();
  provider->AlphaBlend = false;
  provider->SetAllowAnimation(false);
  const win::DWORD t1 = win::GetTickCount();
  form->Show();
  EXPECT_EQ(win::GetTickCount(), t1);
  EXPECT_EQ(after, 2);
  EXPECT_TRUE(win::IsWindowVisible(h));
}

TEST_F(FormShowHideTest, WithShowTimeZeroTheFirstFrameIsTheCompleteSkinnedForm) {
  ASSERT_EQ(manager->AnimEffects().FormShow.Time, 0);
  ASSERT_TRUE(manager->AnimEffects().FormShow.Active);
  // The same form shown without any effect gives the expected screen.
  provider->SetAllowAnimation(false);
  form->Show();
  desktop.Pump();
  const gfx::Bitmap plain = desktop.Compose();
  form->Hide();
  desktop.Pump();
  const gfx::Bitmap bare = desktop.Compose();
  EXPECT_NE(bare.At(250, 180), plain.At(250, 180));

  provider->SetAllowAnimation(true);
  const win::DWORD t0 = win::GetTickCount();
  form->Show();
  EXPECT_EQ(win::GetTickCount(), t0);
  EXPECT_FALSE(Layered(form->Handle()));
  EXPECT_EQ(Covers(), 0);
  // Already whole before any further message is handled, and still so afterwards.
  const gfx::Bitmap first = desktop.Compose();
  desktop.Pump();
  const gfx::Bitmap settled = desktop.Compose();
  int wrong = 0, moved = 0;
  for (int y = 0; y < plain.Height(); ++y)
    for (int x = 0; x < plain.Width(); ++x) {
      if ((first.At(x, y) & 0xFFFFFF) != (plain.At(x, y) & 0xFFFFFF)) ++wrong;
      if ((settled.At(x, y) & 0xFFFFFF) != (plain.At(x, y) & 0xFFFFFF)) ++moved;
    }
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(moved, 0);
}

TEST_F(FormShowHideTest, ClosingFadesACoverWhileTheFormIsGoneAndAFreedFormLeavesNothing) {
  form->Show();
  desktop.Pump();
  manager->AnimEffects().FormHide.Time = 120;
  manager->AnimEffects().FormHide.Mode = core::atFading;
  // The main form closes the program; this one hides.
  auto* other = new fw::TForm(app.get());
  other->SetBorderStyle(fw::TFormBorderStyle::bsSizeable);
  other->SetBounds(400, 200, 240, 160);
  new TsSkinProvider(other);
  other->Show();
  desktop.Pump();
  const win::HWND h = other->Handle();
  const gfx::Bitmap shown = desktop.Compose();
  win::SendMessageW(h, win::WM_CLOSE, 0, 0);
  EXPECT_FALSE(win::IsWindowVisible(h));
  EXPECT_FALSE(Layered(h));
  ASSERT_EQ(Covers(), 1);
  // The cover shows the form's picture where the form was, fading frame by frame.
  const std::uint32_t first = desktop.Compose().At(520, 280);
  desktop.Advance(60);
  EXPECT_EQ(Covers(), 1);
  const std::uint32_t later = desktop.Compose().At(520, 280);
  EXPECT_NE(later, first);
  // Freed in the middle of the run: the cover runs out by itself.
  delete other;
  desktop.Advance(84);
  EXPECT_EQ(Covers(), 0);
  // Between the picture and the bare desktop all along.
  const std::uint32_t bare = desktop.Compose().At(520, 280);
  EXPECT_NE(shown.At(520, 280), bare);
  EXPECT_NE(first, bare);
  EXPECT_NE(later, bare);

  // A refused close keeps the form and starts nothing.
  form->OnCloseQuery = [](auto*, bool& can) { can = false; };
  win::SendMessageW(form->Handle(), win::WM_CLOSE, 0, 0);
  EXPECT_TRUE(win::IsWindowVisible(form->Handle()));
  EXPECT_EQ(Covers(), 0);
}

// Hide(), ShowWindow and SetWindowPos hide a shown form through the same fade as closing, one
// cover each time; a hidden form hidden again starts nothing.
TEST_F(FormShowHideTest, HidingWithoutClosingFadesTheFormOutOnce) {
  form->Show();
  desktop.Pump();
  manager->AnimEffects().FormHide.Time = 120;
  const win::HWND h = form->Handle();
  const std::function<void()> hides[] = {
      [this] { form->Hide(); }, [h] { win::ShowWindow(h, win::SW_HIDE); },
      [h] {
        win::SetWindowPos(h, nullptr, 0, 0, 0, 0,
                          win::SWP_HIDEWINDOW | win::SWP_NOMOVE | win::SWP_NOSIZE |
                              win::SWP_NOZORDER | win::SWP_NOACTIVATE);
      }};
  for (const auto& hide : hides) {
    // A window hidden under the form's feet is shown again through the form.
    if (!win::IsWindowVisible(h)) form->Hide();
    form->Show();
    desktop.Pump();
    ASSERT_TRUE(win::IsWindowVisible(h));
    hide();
    EXPECT_FALSE(win::IsWindowVisible(h));
    EXPECT_FALSE(Layered(h));
    ASSERT_EQ(Covers(), 1);
    EXPECT_EQ(provider->FormState() & FS_ANIMCLOSING, 0u);
    desktop.Advance(144);
    EXPECT_EQ(Covers(), 0);
  }
  form->Hide();
  EXPECT_EQ(Covers(), 0);
  // Without the effect nothing fades.
  form->Show();
  desktop.Pump();
  manager->AnimEffects().FormHide.Active = false;
  form->Hide();
  EXPECT_EQ(Covers(), 0);
}

// The skin commands a provider answers for its form.
TEST_F(FormShowHideTest, TheProviderAnswersItsFormsSkinCommands) {
  form->Show();
  desktop.Pump();
  const win::HWND h = form->Handle();
  // Moved along by another form: no snapping meanwhile.
  EXPECT_EQ(Ask(h, core::AC_GETPOSCHANGING), 0);
  Ask(h, core::AC_SETPOSCHANGING, 1);
  EXPECT_EQ(Ask(h, core::AC_GETPOSCHANGING), 1);
  EXPECT_NE(provider->FormState() & FS_POSCHANGING, 0u);
  Ask(h, core::AC_SETPOSCHANGING, 0);
  EXPECT_EQ(Ask(h, core::AC_GETPOSCHANGING), 0);
  // The left frame's width.
  win::POINT origin{0, 0};
  win::ClientToScreen(h, &origin);
  EXPECT_EQ(Ask(h, core::AC_GETBORDERWIDTH), origin.X - 100);
  EXPECT_EQ(Ask(h, core::AC_GETBORDERWIDTH), win::GetSystemMetrics(win::SM_CXSIZEFRAME));
  // Updating: the form says it is preparing and repaints a new picture when it resumes.
  EXPECT_EQ(Ask(h, core::AC_PREPARING), 0);
  win::SendMessageW(h, core::SM_ALPHACMD, core::MakeAlphaCmd(core::AC_UPDATING, 1), 0);
  EXPECT_EQ(Ask(h, core::AC_PREPARING), 1);
  EXPECT_TRUE(provider->SkinData().BGChanged);
  win::SendMessageW(h, core::SM_ALPHACMD, core::MakeAlphaCmd(core::AC_UPDATING, 0), 0);
  EXPECT_EQ(Ask(h, core::AC_PREPARING), 0);
  // AC_NCPAINT paints the frame at once.
  Ask(h, core::AC_NCPAINT);
  EXPECT_FALSE(provider->SkinData().BGChanged);
  // A whole-window alpha: layered below 255, plain again at 255.
  Ask(h, core::AC_SETALPHA, 100);
  EXPECT_TRUE(Layered(h));
  EXPECT_EQ(win::GetWindowSurface(h).constantAlpha, 100);
  Ask(h, core::AC_SETALPHA, 255);
  EXPECT_FALSE(Layered(h));
}

TEST_F(FormShowHideTest, TheProviderReportsItsScaleAndPassesANewOneToItsControls) {
  form->Show();
  desktop.Pump();
  const win::HWND h = form->Handle();
  EXPECT_EQ(Ask(h, core::AC_GETSCALE), 100);
  provider->AddedTitleFont().SetHeight(-12);
  Ask(h, core::AC_SETSCALE, 150);
  EXPECT_EQ(Ask(h, core::AC_GETSCALE), 150);
  EXPECT_EQ(provider->AddedTitleFont().Height(), -18);
  Ask(h, core::AC_SETSCALE, 100);
  EXPECT_EQ(provider->AddedTitleFont().Height(), -12);
  // Not scaling, the form says so and the manager leaves it alone.
  provider->SetAllowScale(false);
  EXPECT_EQ(Ask(h, core::AC_GETSCALE), -1);
}

}  // namespace
}  // namespace skin::frame
