// Skinned dialogs: the manager's window-creation hook gives a native message box a dialog
// wrapper (frame, title strip, close button and background from the skin's dialog sections)
// and wrappers on its children, and a message form a run-time provider; each record goes with
// its window, the hook with the skin.
#include <gtest/gtest.h>

#include "TestOutput.h"
#include "framework/Dialogs.h"
#include "platform/gfx/PictureCodec.h"
#include "platform/win/Backend.h"
#include "platform/win/Input.h"
#include "platform/win/MessageBox.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "skin/controls/acDials.h"
#include "skin/core/acDialogHook.h"
#include "skin/draw/sGraphUtils.h"
#include "skin/frame/InternalSkinFormTest.h"
#include "skin/frame/LayeredWindows.h"
#include "skin/frame/sSkinProvider.h"

namespace skin::controls {
namespace {

constexpr gfx::Pixel kRgb = 0xFFFFFF;
constexpr win::UINT kEscape = 0x01;

class DialogsTest : public skin::frame::test::InternalSkinFormTest {
 protected:
  void SetUp() override {
    InstallDialogSkinning();
    // The test's own form stays without a provider: only dialogs are skinned.
    MakeSkinnedForm(400, 300, [](core::TsSkinManager& m) {
      m.SetSkinningRules(core::acBit(core::srStdDialogs) | core::acBit(core::srThirdParty));
    });
    form->SetBorderStyle(fw::TFormBorderStyle::bsSingle);
    form->Show();
    desktop.Pump();
  }
  static win::HWND Box() { return win::GetActiveWindow(); }
  static std::vector<win::HWND> Children(win::HWND box) {
    std::vector<win::HWND> out;
    win::EnumChildWindows(
        box, [&](win::HWND c, win::LPARAM) { return out.push_back(c), true; }, 0);
    return out;
  }
  static win::HWND ButtonOf(win::HWND box, int id) {
    for (win::HWND c : Children(box))
      if (win::GetWindowLongPtrW(c, win::GWLP_ID) == id) return c;
    return nullptr;
  }
  static gfx::TRect ScreenRect(win::HWND h) {
    win::RECT r{};
    win::GetWindowRect(h, &r);
    return r;
  }
  static void Escape() {
    win::InjectKey(kEscape, true);
    win::InjectKey(kEscape, false);
  }
  // The skin's picture of a box of the window rectangle wr with the client at co, active:
  // the "DIALOG" section over the whole (back) and the "DIALOGTITLE" section's strip (title).
  static void Expected(const data::TacSkinModel* model, const gfx::TRect& wr, gfx::TPoint co,
                       int title, int back, gfx::Bitmap& whole, gfx::Bitmap& strip) {
    auto stateOf = [&](int i) { return std::min(1, model->gd[std::size_t(i)].States - 1); };
    whole = gfx::Bitmap(wr.Width(), wr.Height());
    strip = gfx::Bitmap(wr.Width(), co.Y);
    draw::PaintItem(model, back, draw::EmptyCI, true, stateOf(back), whole.Bounds(), {0, 0},
                    &whole);
    draw::PaintItem(model, title, draw::MakeCacheInfo(&whole, 0, 0), true, stateOf(title),
                    strip.Bounds(), {0, 0}, &strip);
  }
};

TEST_F(DialogsTest, AMessageBoxWearsTheDialogSectionsAndItsRecordGoesWithIt) {
  ASSERT_NE(core::DialogHook(), nullptr) << "announcing the skin installed the hook";
  bool checked = false;
  desktop.Schedule(10, [&] {
    const win::HWND box = Box();
    ASSERT_EQ(win::GetClassNameW(box), u"#32770");
    ASSERT_EQ(acSupportedList().size(), 1u);
    TacProvider* p = FindFormInList(box);
    ASSERT_NE(p, nullptr);
    ASSERT_NE(p->ListSW, nullptr);
    EXPECT_EQ(frame::Ac_GetScrollWndFromHwnd(box), p->ListSW.get());
    EXPECT_EQ(VisibleDlgCount(), 1);
    // The children's wrappers by their classes: the icon, the text, the two buttons.
    std::vector<std::string> wrappers;
    for (win::HWND c : Children(box)) {
      frame::TacMainWnd* w = frame::Ac_GetScrollWndFromHwnd(c);
      wrappers.push_back(w ? w->ClassName() : "none");
    }
    EXPECT_EQ(wrappers,
              (std::vector<std::string>{"TacIconWnd", "TacStaticWnd", "TacBtnWnd", "TacBtnWnd"}));
    EXPECT_EQ(p->acSkinnedCtrls.size(), 4u);
    EXPECT_EQ(win::GetWindowTextW(Children(box)[1]), u"Файл не найден.") << "text unchanged";
    EXPECT_EQ(win::GetWindowTextW(box), u"Каталог") << "title unchanged";

    // On screen: the title strip is the "DIALOGTITLE" section left of the caption, the client
    // the "DIALOG" section where no child lies, both for the active state.
    TacDialogWnd& dlg = *p->ListSW;
    ASSERT_TRUE(dlg.PaintAll());
    const data::TacSkinModel* model = manager->SkinModel();
    const gfx::TRect wr = ScreenRect(box);
    const gfx::TPoint co = dlg.ClientOffset();
    const int title = model->GetSkinIndex("DIALOGTITLE");
    const int back = model->GetSkinIndex("DIALOG");
    ASSERT_TRUE(model->IsValidSkinIndex(title) && model->IsValidSkinIndex(back));
    gfx::Bitmap whole, strip;
    Expected(model, wr, co, title, back, whole, strip);
    const gfx::Bitmap screen = desktop.Compose();
    gfx::WriteFileBytes((tests::OutputFolder("skin-controls") / "dialog-box.png").string(),
                        gfx::EncodePng(screen));
    // Left of the caption, its plate and its glow.
    const int textLeft = std::max(co.X, co.X + model->CommonSkinData.BILeftMargin - 8);
    // Key-coloured corners are cut out of the window; everything else is the section.
    gfx::Region rgn;
    const bool hasRegion = win::GetWindowRgn(box, &rgn) != gfx::RGN_ERROR;
    for (int y = 0; y < co.Y; ++y)
      for (int x = 0; x < textLeft; ++x)
        if ((strip.At(x, y) & kRgb) == 0xFF00FF)
          ASSERT_TRUE(hasRegion && !rgn.Contains({x, y})) << x << "," << y;
        else
          ASSERT_EQ(screen.At(wr.Left + x, wr.Top + y) & kRgb, strip.At(x, y) & kRgb)
              << x << "," << y;
    // The icon's static shows the dialog's background around the sign.
    const gfx::TRect icon = ScreenRect(Children(box)[0]);
    EXPECT_EQ(screen.At(icon.Left, icon.Top) & kRgb,
              whole.At(icon.Left - wr.Left, icon.Top - wr.Top) & kRgb);
    for (int x = co.X + 2; x < co.X + 10; ++x)
      ASSERT_EQ(screen.At(wr.Left + x, wr.Top + co.Y + 2) & kRgb, whole.At(x, co.Y + 2) & kRgb)
          << x;
    // The close button shows the skin's glyph: the strip differs there.
    const gfx::TRect close = dlg.ButtonRect(win::HTCLOSE);
    ASSERT_FALSE(close.IsEmpty());
    int differ = 0;
    for (int y = close.Top; y < close.Bottom; ++y)
      for (int x = close.Left; x < close.Right; ++x)
        differ += (screen.At(wr.Left + x, wr.Top + y) & kRgb) != (strip.At(x, y) & kRgb);
    EXPECT_GT(differ, 0);
    checked = true;
    Escape();
  });
  EXPECT_EQ(win::MessageBoxW(form->Handle(), u"Файл не найден.", u"Каталог",
                             win::MB_OKCANCEL | win::MB_ICONHAND),
            win::IDCANCEL);
  EXPECT_TRUE(checked);
  EXPECT_TRUE(acSupportedList().empty()) << "the closed box left no record";
}

TEST_F(DialogsTest, TheCloseButtonAndTheButtonsFollowTheMouse) {
  // The Cancel button (neither focused nor default) at rest, hot, pressed; then released away
  // from it (no answer); then the close button hot, pressed and released on it (IDCANCEL).
  std::vector<int> button, close;
  win::HWND box = nullptr;
  auto cancel = [&] {
    return dynamic_cast<frame::TacBtnWnd*>(
        frame::Ac_GetScrollWndFromHwnd(ButtonOf(box, win::IDCANCEL)));
  };
  auto cancelAt = [&] {
    const gfx::TRect r = ScreenRect(ButtonOf(box, win::IDCANCEL));
    return gfx::TPoint{r.Left + 10, r.Top + 10};
  };
  auto closeAt = [&] {
    const gfx::TRect r = FindFormInList(box)
                             ->ListSW->ButtonRect(win::HTCLOSE)
                             .Offset(ScreenRect(box).Left, ScreenRect(box).Top);
    return gfx::TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  };
  desktop.Schedule(10, [&] {
    box = Box();
    ASSERT_TRUE(FindFormInList(box) && cancel());
    button.push_back(cancel()->CurrentState());
    win::InjectMouseMove(cancelAt());
  });
  desktop.Schedule(20, [&] {
    button.push_back(cancel()->CurrentState());
    win::InjectMouseButton(0, true, cancelAt());
  });
  desktop.Schedule(30, [&] {
    button.push_back(cancel()->CurrentState());
    const gfx::TPoint away{cancelAt().X - 60, cancelAt().Y - 40};
    win::InjectMouseMove(away);
    win::InjectMouseButton(0, false, away);
    close.push_back(FindFormInList(box)->ListSW->ButtonState(win::HTCLOSE));
    win::InjectMouseMove(closeAt());
  });
  desktop.Schedule(40, [&] {
    close.push_back(FindFormInList(box)->ListSW->ButtonState(win::HTCLOSE));
    win::InjectMouseButton(0, true, closeAt());
  });
  desktop.Schedule(50, [&] {
    close.push_back(FindFormInList(box)->ListSW->ButtonState(win::HTCLOSE));
    win::InjectMouseButton(0, false, closeAt());
  });
  EXPECT_EQ(win::MessageBoxW(form->Handle(), u"Удалить?", u"Каталог",
                             win::MB_OKCANCEL | win::MB_ICONQUESTION),
            win::IDCANCEL);
  EXPECT_EQ(button, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(close, (std::vector<int>{0, 1, 2}));
  EXPECT_TRUE(acSupportedList().empty());
}

TEST_F(DialogsTest, EveryInternalSkinFramesTheErrorBoxWithoutKeyColour) {
  for (const auto& skin : skin::data::InternalSkins()) {
    manager->SetSkinName(fw::Utf8ToUtf16(skin.Name));
    int keyed = -1;
    bool wrapped = false;
    desktop.Schedule(10, [&] {
      const win::HWND box = Box();
      wrapped = FindFormInList(box) != nullptr;
      const gfx::Bitmap screen = desktop.Compose();
      const gfx::TRect wr = ScreenRect(box);
      keyed = 0;
      for (int y = wr.Top; y < wr.Bottom; ++y)
        for (int x = wr.Left; x < wr.Right; ++x) keyed += (screen.At(x, y) & kRgb) == 0xFF00FF;
      std::string name = skin.Name;
      name = name.substr(0, name.find(' '));
      gfx::WriteFileBytes(
          (tests::OutputFolder("skin-controls") / ("dialog-" + name + ".png")).string(),
          gfx::EncodePng(screen.Copy(wr)));
      Escape();
    });
    win::MessageBoxW(form->Handle(), u"Could not find file '/opt/cat/res.dat'.", u"catalogue",
                     win::MB_OK | win::MB_ICONSTOP);
    EXPECT_TRUE(wrapped) << skin.Name;
    EXPECT_EQ(keyed, 0) << skin.Name;
  }
}

TEST_F(DialogsTest, WithoutTheSkinTheHookIsGoneAndBoxesArePlain) {
  manager->SetActive(false);
  EXPECT_EQ(core::DialogHook(), nullptr);
  EXPECT_FALSE(manager->GlobalHookInstalled());
  bool wrapped = true;
  desktop.Schedule(10, [&] {
    wrapped = frame::Ac_GetScrollWndFromHwnd(Box()) != nullptr;
    Escape();
  });
  EXPECT_EQ(win::MessageBoxW(form->Handle(), u"x", u"y", win::MB_OK), win::IDOK);
  EXPECT_FALSE(wrapped);
  EXPECT_TRUE(acSupportedList().empty());
  // Back with the skin.
  manager->SetActive(true);
  EXPECT_NE(core::DialogHook(), nullptr);
  desktop.Schedule(10, [&] {
    wrapped = frame::Ac_GetScrollWndFromHwnd(Box()) != nullptr;
    Escape();
  });
  win::MessageBoxW(form->Handle(), u"x", u"y", win::MB_OK);
  EXPECT_TRUE(wrapped);
}

TEST_F(DialogsTest, TheSkinRemovedWhileABoxIsUpUnwrapsItAndFreesItsRecord) {
  bool unwrapped = false;
  desktop.Schedule(10, [&] {
    const win::HWND box = Box();
    ASSERT_NE(FindFormInList(box), nullptr);
    gfx::Region rgn;
    ASSERT_NE(win::GetWindowRgn(box, &rgn), gfx::RGN_ERROR) << "the skin's corners are cut";
    manager->SetActive(false);
    unwrapped = frame::Ac_GetScrollWndFromHwnd(box) == nullptr && acSupportedList().empty() &&
                win::GetWindowRgn(box, &rgn) == gfx::RGN_ERROR;
    Escape();
  });
  EXPECT_EQ(win::MessageBoxW(form->Handle(), u"x", u"y", win::MB_OK), win::IDOK);
  EXPECT_TRUE(unwrapped);
}

TEST_F(DialogsTest, ASkinChangedWhileABoxIsUpRepaintsItInTheNewSkin) {
  const auto& skins = skin::data::InternalSkins();
  ASSERT_GE(skins.size(), 2u);
  bool checked = false;
  desktop.Schedule(10, [&] {
    const win::HWND box = Box();
    TacProvider* p = FindFormInList(box);
    ASSERT_NE(p, nullptr);
    manager->SetSkinName(fw::Utf8ToUtf16(skins[1].Name));
    desktop.Pump();
    ASSERT_EQ(FindFormInList(box), p) << "the record stays";
    const data::TacSkinModel* model = manager->SkinModel();
    TacDialogWnd& dlg = *p->ListSW;
    EXPECT_EQ(dlg.SkinData()->SkinIndex, model->GetSkinIndex("DIALOG"));
    EXPECT_EQ(dlg.TitleIndex, model->GetSkinIndex("DIALOGTITLE"));
    frame::TacMainWnd* ok = frame::Ac_GetScrollWndFromHwnd(ButtonOf(box, win::IDOK));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->SkinData()->SkinIndex, model->GetSkinIndex("BUTTON"));
    // On screen the title strip left of the caption is the new skin's.
    const gfx::TRect wr = ScreenRect(box);
    const gfx::TPoint co = dlg.ClientOffset();
    const int title = dlg.TitleIndex, back = dlg.SkinData()->SkinIndex;
    ASSERT_TRUE(model->IsValidSkinIndex(title) && model->IsValidSkinIndex(back));
    gfx::Bitmap whole, strip;
    Expected(model, wr, co, title, back, whole, strip);
    const gfx::Bitmap screen = desktop.Compose();
    const int textLeft = std::max(co.X, co.X + model->CommonSkinData.BILeftMargin - 8);
    int compared = 0;
    for (int y = 0; y < co.Y; ++y)
      for (int x = 0; x < textLeft; ++x)
        if ((strip.At(x, y) & kRgb) != 0xFF00FF) {
          ASSERT_EQ(screen.At(wr.Left + x, wr.Top + y) & kRgb, strip.At(x, y) & kRgb)
              << x << "," << y;
          ++compared;
        }
    EXPECT_GT(compared, 0);
    checked = true;
    Escape();
  });
  win::MessageBoxW(form->Handle(), u"x", u"y", win::MB_OKCANCEL);
  EXPECT_TRUE(checked);
  EXPECT_TRUE(acSupportedList().empty());
}

TEST_F(DialogsTest, TheManagersEventMayVetoADialogAndDlgLeftTopPlaceIt) {
  int asked = 0;
  bool allow = false;
  manager->OnSysDlgInit = [&](fw::TComponent* sender, const core::TacSysDlgData& data,
                              bool& allowSkinning) {
    EXPECT_EQ(sender, static_cast<fw::TComponent*>(manager));
    EXPECT_EQ(win::GetClassNameW(data.WindowHandle), u"#32770");
    ++asked;
    allowSkinning = allow;
  };
  bool plain = false;
  desktop.Schedule(10, [&] {
    plain = FindFormInList(Box()) == nullptr && frame::Ac_GetScrollWndFromHwnd(Box()) == nullptr;
    Escape();
  });
  win::MessageBoxW(form->Handle(), u"x", u"y", win::MB_OK);
  EXPECT_GT(asked, 0);
  EXPECT_TRUE(plain) << "vetoed";

  allow = true;
  DlgLeft = 37;
  DlgTop = 41;
  gfx::TRect placed;
  bool skinned = false;
  desktop.Schedule(10, [&] {
    skinned = FindFormInList(Box()) != nullptr;
    placed = ScreenRect(Box());
    Escape();
  });
  win::MessageBoxW(form->Handle(), u"x", u"y", win::MB_OK);
  DlgLeft = DlgTop = -1;
  EXPECT_TRUE(skinned);
  EXPECT_EQ(placed.Left, 37);
  EXPECT_EQ(placed.Top, 41);
}

TEST_F(DialogsTest, TheTitleButtonsFollowTheStyleAndTheMouse) {
  using win::HTCLOSE, win::HTHELP, win::HTMAXBUTTON, win::HTMINBUTTON;
  win::RegisterStandardClasses();
  const win::HWND h =
      win::CreateWindowExW(0, win::WC_DIALOG, u"Окно",
                           win::WS_POPUP | win::WS_CAPTION | win::WS_SYSMENU | win::WS_THICKFRAME |
                               win::WS_MINIMIZEBOX | win::WS_MAXIMIZEBOX,
                           60, 60, 320, 200, nullptr, 0);
  ASSERT_NE(h, nullptr);
  win::ShowWindow(h, win::SW_SHOW);
  desktop.Pump();
  TacProvider* p = FindFormInList(h);
  ASSERT_TRUE(p && p->ListSW);
  TacDialogWnd& dlg = *p->ListSW;
  ASSERT_EQ(dlg.Buttons(), (std::vector<int>{int(HTCLOSE), int(HTMAXBUTTON), int(HTMINBUTTON)}));
  // Right to left from the margin, none overlapping, all in the title strip.
  const gfx::TPoint co = dlg.ClientOffset();
  EXPECT_EQ(dlg.ButtonRect(HTCLOSE).Right,
            ScreenRect(h).Width() - co.X - manager->SkinModel()->CommonSkinData.BIRightMargin);
  for (int b : {HTMAXBUTTON, HTMINBUTTON}) {
    const gfx::TRect r = dlg.ButtonRect(b),
                     right = dlg.ButtonRect(b == HTMAXBUTTON ? HTCLOSE : HTMAXBUTTON);
    EXPECT_FALSE(r.IsEmpty()) << b;
    EXPECT_LE(r.Right, right.Left) << b;
    EXPECT_GE(r.Top, 0) << b;
    EXPECT_LE(r.Bottom, co.Y) << b;
  }
  auto at = [&](int ht) {
    const gfx::TRect r = dlg.ButtonRect(ht).Offset(ScreenRect(h).Left, ScreenRect(h).Top);
    return gfx::TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  };
  auto click = [&](int ht) {
    win::InjectMouseButton(0, true, at(ht));
    desktop.Pump();
    win::InjectMouseButton(0, false, at(ht));
    desktop.Pump();
  };
  // Maximise: hot, pressed, released on it; the same button then restores.
  win::InjectMouseMove(at(HTMAXBUTTON));
  desktop.Pump();
  EXPECT_EQ(dlg.ButtonState(HTMAXBUTTON), 1);
  EXPECT_EQ(dlg.ButtonState(HTCLOSE), 0);
  win::InjectMouseButton(0, true, at(HTMAXBUTTON));
  desktop.Pump();
  EXPECT_EQ(dlg.ButtonState(HTMAXBUTTON), 2);
  win::InjectMouseButton(0, false, at(HTMAXBUTTON));
  desktop.Pump();
  EXPECT_TRUE(win::IsZoomed(h));
  EXPECT_FALSE(dlg.EnabledMax());
  EXPECT_TRUE(dlg.Enabled(HTMAXBUTTON)) << "it restores";
  click(HTMAXBUTTON);
  EXPECT_FALSE(win::IsZoomed(h));
  click(HTMINBUTTON);
  EXPECT_TRUE(win::IsIconic(h));
  win::ShowWindow(h, win::SW_RESTORE);
  win::DestroyWindow(h);
  desktop.Pump();
  EXPECT_TRUE(acSupportedList().empty());

  // A modal frame: help after a gap, maximise shown but not answering.
  const win::HWND m = win::CreateWindowExW(
      win::WS_EX_CONTEXTHELP, win::WC_DIALOG, u"Справка",
      win::WS_POPUP | win::WS_CAPTION | win::WS_SYSMENU | win::WS_MAXIMIZEBOX | win::DS_MODALFRAME,
      60, 60, 320, 200, nullptr, 0);
  win::ShowWindow(m, win::SW_SHOW);
  desktop.Pump();
  TacDialogWnd& modal = *FindFormInList(m)->ListSW;
  ASSERT_EQ(modal.Buttons(), (std::vector<int>{int(HTCLOSE), int(HTMAXBUTTON), int(HTHELP)}));
  EXPECT_EQ(modal.ButtonRect(HTHELP).Right, modal.ButtonRect(HTMAXBUTTON).Left - core::acSpacing);
  EXPECT_FALSE(modal.Enabled(HTMAXBUTTON));
  const gfx::TRect r = modal.ButtonRect(HTMAXBUTTON).Offset(ScreenRect(m).Left, ScreenRect(m).Top);
  const gfx::TPoint mid{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  win::InjectMouseMove(mid);
  win::InjectMouseButton(0, true, mid);
  desktop.Pump();
  EXPECT_EQ(modal.ButtonState(HTMAXBUTTON), 0);
  win::InjectMouseButton(0, false, mid);
  desktop.Pump();
  EXPECT_FALSE(win::IsZoomed(m));
  // Close greyed by the program in the system menu: the button no longer answers.
  EXPECT_TRUE(modal.Enabled(HTCLOSE));
  win::EnableMenuItem(win::GetSystemMenu(m, false), win::SC_CLOSE,
                      win::MF_BYCOMMAND | win::MF_GRAYED);
  EXPECT_FALSE(modal.Enabled(HTCLOSE));
  EXPECT_FALSE(modal.EnabledClose());
  win::DestroyWindow(m);
  desktop.Pump();
  EXPECT_TRUE(acSupportedList().empty());
}

TEST_F(DialogsTest, TheDialogEffectsFadeItInAndOutAndACaptionDragIsTranslucent) {
  manager->AnimEffects().DialogShow = {true, 120, core::atFading};
  manager->AnimEffects().DialogHide = {true, 120, core::atFading};
  win::RegisterStandardClasses();
  const win::HWND h = win::CreateWindowExW(0, win::WC_DIALOG, u"Эффекты",
                                           win::WS_POPUP | win::WS_CAPTION | win::WS_SYSMENU, 100,
                                           80, 300, 200, nullptr, 0);
  auto covers = [&] { return frame::test::Covers([&](win::HWND w) { return w == h; }); };
  // Ten frames and the last picture, each waiting out its 12 ms on the virtual clock; the box
  // ends opaque and the cover goes.
  win::DWORD t0 = win::GetTickCount();
  win::ShowWindow(h, win::SW_SHOW);
  EXPECT_EQ(win::GetTickCount() - t0, win::DWORD((120 / 12 + 1) * 12));
  EXPECT_TRUE(win::IsWindowVisible(h));
  EXPECT_FALSE(frame::test::Layered(h));
  EXPECT_EQ(covers(), 0);
  // Hidden: a cover of it fades out on the hide timer.
  win::ShowWindow(h, win::SW_HIDE);
  EXPECT_EQ(covers(), 1);
  desktop.Advance(200);
  EXPECT_EQ(covers(), 0);
  // A time of 0 shows it at once.
  manager->AnimEffects().DialogShow.Time = 0;
  t0 = win::GetTickCount();
  win::ShowWindow(h, win::SW_SHOW);
  EXPECT_EQ(win::GetTickCount() - t0, 0u);
  EXPECT_TRUE(win::IsWindowVisible(h));
  EXPECT_FALSE(frame::test::Layered(h));
  desktop.Pump();

  // A caption drag: 85 alpha levels over 120 ms, 8.5 a 12 ms step, then opaque again.
  manager->AnimEffects().BlendOnMoving = {{true, 120, core::atAero}, 170};
  TacDialogWnd& dlg = *FindFormInList(h)->ListSW;
  const gfx::TRect start = ScreenRect(h);
  const gfx::TPoint caption{start.Left + 40, start.Top + dlg.ClientOffset().X + 5};
  bool moving = false;
  const std::vector<int> seen = frame::test::OpacityWhileDragged(
      desktop, h, caption, [&] { moving = (dlg.FormState & 0x80) != 0; });
  EXPECT_EQ(seen, (std::vector<int>{255, 238, 212, 170}));
  EXPECT_TRUE(moving);
  EXPECT_EQ(dlg.FormState, 0u);
  EXPECT_EQ(ScreenRect(h), start.Offset(50, 20));
  EXPECT_FALSE(frame::test::Layered(h));

  // Destroyed while shown: the record goes and the cover fades out.
  win::DestroyWindow(h);
  EXPECT_TRUE(acSupportedList().empty());
  EXPECT_EQ(covers(), 1);
  desktop.Advance(200);
  EXPECT_EQ(covers(), 0);
}

TEST_F(DialogsTest, AMessageFormGetsARunTimeProvider) {
  bool provided = false;
  desktop.Schedule(10, [&] {
    auto* box = dynamic_cast<fw::TCustomForm*>(fw::TWinControl::FindControl(Box()));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->ClassName(), "TMessageForm");
    TacProvider* p = FindFormInList(box->Handle());
    provided = p && p->sp && frame::TsSkinProvider::GetSkinProvider(*box) == p->sp;
    Escape();
  });
  fw::MessageDlg(u"Удалить?", fw::TMsgDlgType::mtConfirmation,
                 {fw::TMsgDlgBtn::mbYes, fw::TMsgDlgBtn::mbCancel});
  EXPECT_TRUE(provided);
  EXPECT_TRUE(acSupportedList().empty()) << "the form's record went with it";
}

TEST_F(DialogsTest, TheManagersOwnerFormGetsARunTimeProviderWhenStandardFormsAreSkinned) {
  auto& component = static_cast<fw::TComponent&>(*manager);
  component.Loaded();
  EXPECT_EQ(FindFormInList(form->Handle()), nullptr) << "the rules leave standard forms alone";
  manager->SetSkinningRules(manager->SkinningRules() | core::acBit(core::srStdForms));
  component.Loaded();
  TacProvider* p = FindFormInList(form->Handle());
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(frame::TsSkinProvider::GetSkinProvider(*form), p->sp);
  EXPECT_TRUE(core::WndIsSkinned(form->Handle()));
  component.Loaded();
  EXPECT_EQ(acSupportedList().size(), 1u) << "a form already skinned is not taken twice";
}

}  // namespace
}  // namespace skin::controls
