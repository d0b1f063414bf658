// A skinned message box at the program's scale: at 150 % and 200 % its caption, title icon,
// buttons, texts and their font grow as a form's at that scale; at 100 % it is the box the
// platform made. The skin's removal gives a scaled box its own size back.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "TestOutput.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/PictureCodec.h"
#include "platform/win/Input.h"
#include "platform/win/MessageBox.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/MulDiv.h"
#include "platform/win/Paint.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Window.h"
#include "skin/controls/acDials.h"
#include "skin/core/sMessages.h"
#include "skin/frame/InternalSkinFormTest.h"
#include "skin/internal/sInternalSkins.h"

namespace skin::controls {
namespace {

using gfx::TRect;

constexpr win::UINT kEscape = 0x01;

TRect ScreenRect(win::HWND h) {
  win::RECT r{};
  win::GetWindowRect(h, &r);
  return r;
}

win::HWND Child(win::HWND box, int id) {
  win::HWND found = nullptr;
  win::EnumChildWindows(
      box,
      [&](win::HWND c, win::LPARAM) {
        if (win::GetWindowLongPtrW(c, win::GWLP_ID) == id) found = c;
        return !found;
      },
      0);
  return found;
}

// What a box shows, taken while it is up.
struct Seen {
  int scale = 0, answer = 0, caption = 0, fontHeight = 0;
  TRect ok, icon, titleIcon, close;
  int top = 0, clientTop = 0;
  bool wrapped = false;
};

class DialogScaleTest : public skin::frame::test::InternalSkinFormTest,
                        public ::testing::WithParamInterface<core::TacScaleMode> {
 protected:
  void SetUp() override {
    InstallDialogSkinning();
    MakeSkinnedForm(300, 200, [](core::TsSkinManager& m) {
      m.SetSkinningRules(core::acBit(core::srStdDialogs) | core::acBit(core::srThirdParty));
      m.Options().SetScaleMode(GetParam());
    });
    form->SetBorderStyle(fw::TFormBorderStyle::bsSingle);
    form->Show();
    desktop.Pump();
  }
  static int Percent() { return core::aScalePercents[std::size_t(GetParam())]; }
  static int S(int v) { return win::MulDiv(v, Percent(), 100); }
  Seen ShowBox(bool picture) {
    Seen seen;
    desktop.Schedule(10, [&] {
      const win::HWND box = win::GetActiveWindow();
      TacProvider* p = FindFormInList(box);
      seen.wrapped = p && p->ListSW;
      if (!seen.wrapped) return;
      TacDialogWnd& dlg = *p->ListSW;
      seen.scale = dlg.ScalePercent();
      seen.answer = int(win::SendMessageW(box, core::SM_ALPHACMD,
                                          core::MakeAlphaCmd(core::AC_GETSCALE), 0));
      seen.caption = dlg.TitleHeight() - dlg.ClientOffset().X;
      const win::HWND ok = Child(box, win::IDOK);
      const TRect wr = ScreenRect(box);
      seen.ok = ScreenRect(ok).Offset(-wr.Left, -wr.Top);
      for (win::HWND c = win::GetTopWindow(box); c; c = win::GetWindow(c, win::GW_HWNDNEXT))
        if ((win::GetWindowLongPtrW(c, win::GWL_STYLE) & win::SS_TYPEMASK) == win::SS_ICON &&
            win::GetClassNameW(c) == win::WC_STATIC)
          seen.icon = ScreenRect(c).Offset(-wr.Left, -wr.Top);
      const auto* font = reinterpret_cast<const gfx::HFONT*>(
          win::SendMessageW(ok, win::WM_GETFONT, 0, 0));
      seen.fontHeight = font ? (*font)->Logical().lfHeight : 0;
      seen.titleIcon = dlg.IconRect();
      seen.close = dlg.ButtonRect(win::HTCLOSE);
      seen.top = dlg.ClientOffset().X;
      seen.clientTop = dlg.ClientOffset().Y;
      if (picture) {
        ASSERT_TRUE(dlg.PaintAll());
        win::RedrawWindow(box, nullptr, nullptr,
                          win::RDW_INVALIDATE | win::RDW_FRAME | win::RDW_ALLCHILDREN |
                              win::RDW_UPDATENOW);
        gfx::WriteFileBytes((tests::OutputFolder("skin-controls") /
                             ("dialog-scale-" + std::to_string(Percent()) + ".png"))
                                .string(),
                            gfx::EncodePng(desktop.Compose().Copy(wr)));
      }
      win::InjectKey(kEscape, true);
      win::InjectKey(kEscape, false);
    });
    win::MessageBoxW(form->Handle(), u"Could not find file '/opt/cat/res.dat'.", u"catalogue",
                     win::MB_OKCANCEL | win::MB_ICONSTOP);
    return seen;
  }
};

TEST_P(DialogScaleTest, TheBoxTakesTheProgramsScale) {
  const Seen seen = ShowBox(true);
  ASSERT_TRUE(seen.wrapped);
  EXPECT_EQ(seen.scale, Percent());
  EXPECT_EQ(seen.answer, Percent());
  // The caption is the system's at the scale, the title icon grows with it and stays in it.
  EXPECT_EQ(seen.caption, S(win::GetSystemMetrics(win::SM_CYCAPTION)));
  EXPECT_EQ(seen.titleIcon.Width(), S(win::GetSystemMetrics(win::SM_CXSMICON)));
  EXPECT_GE(seen.titleIcon.Top, seen.top);
  EXPECT_LE(seen.titleIcon.Bottom, seen.clientTop);
  // The skin's close glyph (of the skin made at the scale) sits inside the caption.
  ASSERT_FALSE(seen.close.IsEmpty());
  EXPECT_GE(seen.close.Top, seen.top);
  EXPECT_LE(seen.close.Bottom, seen.clientTop);
  // The box's own buttons and sign grow by the scale, and so does their font; at 100 % the
  // box is as the platform made it (the message font, no font of its own).
  EXPECT_EQ(seen.ok.Width(), S(75));
  EXPECT_EQ(seen.ok.Height(), S(23));
  EXPECT_EQ(seen.icon.Width(), S(32));
  win::NONCLIENTMETRICSW ncm;
  win::SystemParametersInfoW(win::SPI_GETNONCLIENTMETRICS, 0, &ncm, 0);
  EXPECT_EQ(seen.fontHeight, Percent() == 100 ? 0 : S(ncm.lfMessageFont.lfHeight));
}

TEST_P(DialogScaleTest, WithoutTheSkinTheBoxIsTheSystemsAgain) {
  if (Percent() == 100) GTEST_SKIP() << "nothing to give back";
  TRect scaled, plain;
  desktop.Schedule(10, [&] {
    const win::HWND box = win::GetActiveWindow();
    ASSERT_NE(FindFormInList(box), nullptr);
    scaled = ScreenRect(Child(box, win::IDOK));
    manager->SetActive(false);
    desktop.Pump();
    plain = ScreenRect(Child(box, win::IDOK));
    win::InjectKey(kEscape, true);
    win::InjectKey(kEscape, false);
  });
  win::MessageBoxW(form->Handle(), u"Удалить?", u"Каталог", win::MB_OKCANCEL);
  EXPECT_EQ(scaled.Width(), S(75));
  EXPECT_EQ(plain.Width(), 75);
  EXPECT_EQ(plain.Height(), 23);
}

// In every internal skin, with the frame inside the window and with the extended border, the
// box shows no key colour; the pictures are for people to look at.
TEST_P(DialogScaleTest, EveryInternalSkinShowsTheBoxWithoutKeyColour) {
  if (Percent() == 200) GTEST_SKIP() << "wider than the test's desktop";
  for (const bool extended : {false, true}) {
    manager->SetExtendedBorders(extended);
    for (const auto& skin : skin::data::InternalSkins()) {
      manager->SetSkinName(fw::Utf8ToUtf16(skin.Name));
      int keyed = -1;
      desktop.Schedule(10, [&] {
        const win::HWND box = win::GetActiveWindow();
        TacProvider* p = FindFormInList(box);
        ASSERT_TRUE(p && p->ListSW);
        TacDialogWnd& dlg = *p->ListSW;
        ASSERT_EQ(dlg.BorderForm() != nullptr, extended) << skin.Name;
        const TRect wr = ScreenRect(box);
        const gfx::TPoint o = dlg.CacheOrigin();
        const TRect all = extended
                              ? gfx::RectOfSize(o.X, o.Y, dlg.Cache()->Width(), dlg.Cache()->Height())
                              : wr;
        const gfx::Bitmap screen = desktop.Compose();
        keyed = 0;
        for (int y = std::max(0, all.Top); y < std::min(screen.Height(), all.Bottom); ++y)
          for (int x = std::max(0, all.Left); x < std::min(screen.Width(), all.Right); ++x)
            keyed += (screen.At(x, y) & 0xFFFFFF) == 0xFF00FF;
        std::string name = skin.Name;
        name = name.substr(0, name.find(' '));
        gfx::WriteFileBytes((tests::OutputFolder("skin-controls") /
                             ("dialog-" + std::string(extended ? "extended-" : "") +
                              std::to_string(Percent()) + "-" + name + ".png"))
                                .string(),
                            gfx::EncodePng(screen.Copy(gfx::IntersectRects(all, screen.Bounds()))));
        win::InjectKey(kEscape, true);
        win::InjectKey(kEscape, false);
      });
      win::MessageBoxW(form->Handle(), u"Could not find file '/opt/cat/res.dat'.", u"catalogue",
                       win::MB_OK | win::MB_ICONSTOP);
      EXPECT_EQ(keyed, 0) << skin.Name << (extended ? " extended" : "");
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Scales, DialogScaleTest,
                         ::testing::Values(core::sm100, core::sm150, core::sm200),
                         [](const auto& info) {
                           return std::to_string(core::aScalePercents[std::size_t(info.param)]);
                         });

}  // namespace
}  // namespace skin::controls
