// The catalogue's window in its BlueGauze frame: the client area the layout was made for, the
// close button where the frame's geometry puts it, the dump's account of the frame, the caption
// going inactive under an error box and active again after it, a click on the close button
// ending the program, and the maintenance window framed through a provider made when shown.
#include <gtest/gtest.h>

#include <string>

#include "Catalogue.h"
#include "Forms.h"
#include "TestOutput.h"
#include "framework/Automation.h"
#include "framework/Dialogs.h"
#include "framework/TextConv.h"
#include "platform/backend/Dump.h"
#include "platform/gfx/PictureCodec.h"
#include "platform/win/Backend.h"
#include "platform/win/Input.h"
#include "platform/win/Menu.h"
#include "platform/win/MenuWindow.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Window.h"
#include "skin/controls/sSkinMenus.h"
#include "skin/frame/sSkinProvider.h"
#include "skin/internal/sInternalSkins.h"

namespace app::test {
namespace {

using skin::frame::TsSkinProvider;
constexpr unsigned kEnterKey = 0x1C;

class SkinnedFrameTest : public FormsTest {
 protected:
  void Open() {
    Start(SampleFolder());
    Form1->Show();
    desktop.Pump();
    provider = TsSkinProvider::GetSkinProvider(*Form1);
    ASSERT_NE(provider, nullptr);
  }
  gfx::TRect WindowRect() const {
    win::RECT r{};
    win::GetWindowRect(Form1->Handle(), &r);
    return r;
  }
  // Caption-strip pixels (left of the title text) on the screen.
  gfx::Bitmap CaptionStrip() {
    const gfx::Bitmap screen = desktop.Compose();
    const gfx::TRect w = WindowRect();
    gfx::Bitmap out(200, 16);
    out.CopyFrom(screen, gfx::RectOfSize(w.Left + 20, w.Top + 5, 200, 16), {0, 0});
    return out;
  }

  TsSkinProvider* provider = nullptr;
};

TEST_F(SkinnedFrameTest, TheWindowKeepsItsClientAreaAndItsCloseButtonWhereTheFramePutsIt) {
  Open();
  EXPECT_EQ(Form1->Width(), 1280);
  EXPECT_EQ(Form1->Height(), 750);
  EXPECT_EQ(Form1->ClientWidth(), 1274);
  EXPECT_EQ(Form1->ClientHeight(), 721);
  ASSERT_TRUE(provider->Skinned());
  EXPECT_EQ(provider->CaptionHeight(), win::GetSystemMetrics(win::SM_CYSMCAPTION));
  EXPECT_EQ(provider->BorderWidth(), win::GetSystemMetrics(win::SM_CXFIXEDFRAME));

  // The small close glyph, right-aligned before the skin's right margin and the frame,
  // centred on the caption's middle line.
  const auto& close = provider->Button(skin::frame::cbClose);
  const auto* model = skin::core::DefaultManager->SkinModel();
  const int glyph = skin::core::DefaultManager->ConstData().TitleGlyphs[skin::data::tgSmallClose];
  ASSERT_TRUE(model->IsValidImgIndex(glyph));
  const auto& md = model->ma[std::size_t(glyph)];
  const int right = 1280 - model->CommonSkinData.BIRightMargin - 4;
  const int top = provider->VCenter() - md.Height / 2;
  EXPECT_EQ(close.cpRect, (gfx::TRect{right - md.Width, top, right, top + md.Height}));

  const gfx::TRect w = WindowRect();
  auto hit = [&](int x, int y) {
    return win::SendMessageW(Form1->Handle(), win::WM_NCHITTEST, 0,
                             win::MAKELPARAM(w.Left + x, w.Top + y));
  };
  EXPECT_EQ(hit((close.cpRect.Left + close.cpRect.Right) / 2,
                (close.cpRect.Top + close.cpRect.Bottom) / 2),
            win::HTCLOSE);
  EXPECT_EQ(hit(300, 12), win::HTCAPTION);
  EXPECT_EQ(hit(640, 400), win::HTCLIENT);

  // The dump says the same.
  fw::InstallFormDump();
  skin::frame::InstallProviderDump();
  const std::string dump = backend::DumpWindows();
  const auto at = dump.find("\"provider\"");
  ASSERT_NE(at, std::string::npos);
  const std::string p = dump.substr(at, 600);
  EXPECT_NE(p.find("\"section\":\"FORM\""), std::string::npos) << p;
  EXPECT_NE(p.find("\"captionAlignment\":\"taCenter\""), std::string::npos) << p;
  const gfx::TRect sr = close.cpRect.Offset(w.Left, w.Top);
  const std::string rect = "\"kind\":\"close\",\"rect\":[" + std::to_string(sr.Left) + "," +
                           std::to_string(sr.Top) + "," + std::to_string(sr.Right) + "," +
                           std::to_string(sr.Bottom) + "],\"state\":0";
  EXPECT_NE(p.find(rect), std::string::npos) << p;
  EXPECT_NE(p.find("\"active\":true"), std::string::npos) << p;
  EXPECT_NE(p.find("\"region\":[["), std::string::npos) << p;
  // Every control of the catalogue is skinned by its own class: the adapter wraps none.
  EXPECT_NE(p.find("\"adapter\":[]"), std::string::npos) << p;
}

TEST_F(SkinnedFrameTest, AnErrorBoxPaintsTheCaptionInactiveAndClosingItActiveAgain) {
  Open();
  const gfx::Bitmap active = CaptionStrip();
  bool inactiveWhileShown = false;
  bool differed = false;
  desktop.Schedule(10, [&] {
    inactiveWhileShown = !provider->FormActive();
    const gfx::Bitmap now = CaptionStrip();
    for (int y = 0; y < now.Height() && !differed; ++y)
      for (int x = 0; x < now.Width() && !differed; ++x)
        differed = (now.At(x, y) & 0xFFFFFF) != (active.At(x, y) & 0xFFFFFF);
    win::InjectKey(kEnterKey, true);
    win::InjectKey(kEnterKey, false);
  });
  fw::ShowMessage(u"Ошибка");
  desktop.Pump();
  EXPECT_TRUE(inactiveWhileShown);
  EXPECT_TRUE(differed);
  EXPECT_TRUE(provider->FormActive());
  const gfx::Bitmap again = CaptionStrip();
  int wrong = 0;
  for (int y = 0; y < again.Height(); ++y)
    for (int x = 0; x < again.Width(); ++x)
      if ((again.At(x, y) & 0xFFFFFF) != (active.At(x, y) & 0xFFFFFF)) ++wrong;
  EXPECT_EQ(wrong, 0);
}

TEST_F(SkinnedFrameTest, AClickOnTheCloseButtonEndsTheProgram) {
  Open();
  const auto& close = provider->Button(skin::frame::cbClose);
  const gfx::TRect r = close.cpRect.Offset(WindowRect().Left, WindowRect().Top);
  const win::POINT c{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  win::InjectMouseMove(c);
  desktop.Pump();
  EXPECT_FALSE(app->Terminated());
  win::InjectMouseButton(0, true, c);
  win::InjectMouseButton(0, false, c);
  desktop.Pump();
  app->ProcessMessages();  // the quit message closing the main form left
  EXPECT_TRUE(app->Terminated());
}

TEST_F(SkinnedFrameTest, TheMaintenanceWindowIsFramedByAProviderMadeWhenShown) {
  Open();
  EXPECT_EQ(TsSkinProvider::GetSkinProvider(*Form3), nullptr);
  Form3->Show();
  desktop.Pump();
  TsSkinProvider* p = TsSkinProvider::GetSkinProvider(*Form3);
  ASSERT_NE(p, nullptr);
  EXPECT_FALSE(p->RTInit());
  EXPECT_TRUE(p->Skinned());
  EXPECT_EQ(Form3->ClientWidth(), 1139);
  EXPECT_EQ(Form3->ClientHeight(), 645);
  gfx::Region rgn;
  EXPECT_NE(win::GetWindowRgn(Form3->Handle(), &rgn), gfx::RGN_ERROR);
  // A sizeable form: close, maximise and minimise, large glyphs.
  EXPECT_TRUE(p->BigButtons());
  EXPECT_GT(p->Button(skin::frame::cbMax).cpRect.Width(), 0);
  EXPECT_GT(p->Button(skin::frame::cbMin).cpRect.Width(), 0);
  SaveScreen("frame-maintenance");
}

// Every internal skin frames the window: no key-coloured pixel reaches the screen, the corners
// show the desktop where the frame picture is transparent, and the frame is saved active,
// inactive and with the close button hot and pressed for a look.
TEST_F(SkinnedFrameTest, EveryInternalSkinFramesTheWindowWithoutKeyColouredPixels) {
  Open();
  auto* manager = skin::core::DefaultManager;
  for (const auto& skin : skin::data::InternalSkins()) {
    manager->SetSkinName(fw::Utf8ToUtf16(skin.Name));
    desktop.Pump();
    ASSERT_TRUE(provider->Skinned()) << skin.Name;
    std::string name = skin.Name;
    name = name.substr(0, name.find(' '));
    const gfx::TRect w = WindowRect();
    auto save = [&](const std::string& state) {
      const gfx::Bitmap screen = desktop.Compose();
      gfx::Bitmap top(w.Width(), 60);
      top.CopyFrom(screen, gfx::RectOfSize(w.Left, w.Top, w.Width(), 60), {0, 0});
      gfx::WriteFileBytes(
          (tests::OutputFolder("app") / ("frame-" + name + "-" + state + ".png")).string(),
          gfx::EncodePng(top));
      int keyed = 0;
      for (int y = w.Top; y < w.Bottom; ++y)
        for (int x = w.Left; x < w.Right; ++x)
          if ((screen.At(x, y) & 0xFFFFFF) == 0xFF00FF) ++keyed;
      EXPECT_EQ(keyed, 0) << name << " " << state;
    };
    gfx::Region rgn;
    const bool cut = win::GetWindowRgn(Form1->Handle(), &rgn) != gfx::RGN_ERROR;
    if (cut) {
      EXPECT_FALSE(rgn.Contains({0, 0})) << name;
    }
    save("active");
    const auto& close = provider->Button(skin::frame::cbClose);
    ASSERT_GT(close.cpRect.Width(), 0) << name;
    const gfx::TRect r = close.cpRect.Offset(w.Left, w.Top);
    const win::POINT c{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    win::InjectMouseMove(c);
    desktop.Pump();
    for (int t = 0; t < 20; ++t) desktop.Advance(12);
    save("hot");
    win::InjectMouseButton(0, true, c);
    desktop.Pump();
    desktop.Advance(12);
    save("pressed");
    win::InjectMouseMove({c.X, c.Y + 200});
    win::InjectMouseButton(0, false, {c.X, c.Y + 200});
    desktop.Pump();
    for (int t = 0; t < 20; ++t) desktop.Advance(12);
    desktop.Schedule(10, [&] {
      save("inactive");
      win::InjectKey(kEnterKey, true);
      win::InjectKey(kEnterKey, false);
    });
    fw::ShowMessage(u"Ошибка");
    desktop.Pump();
  }
}

TEST_F(SkinnedFrameTest, ARightClickOnTheCaptionShowsTheSkinnedSystemMenuWithMoveAndClose) {
  Open();
  std::vector<std::u16string> texts;
  std::size_t wrapped = 0;
  desktop.Schedule(10, [&] {
    win::HWND menu = nullptr;
    win::EnumWindows(
        [&](win::HWND h, win::LPARAM) {
          if (win::GetClassNameW(h) == win::POPUPMENU_CLASS && win::IsWindowVisible(h)) menu = h;
          return true;
        },
        0);
    ASSERT_NE(menu, nullptr);
    const auto m = reinterpret_cast<win::HMENU>(win::SendMessageW(menu, win::MN_GETHMENU, 0, 0));
    for (int i = 0, n = win::GetMenuItemCount(m); i < n; ++i) {
      const win::MenuItem* it = win::GetMenuItem(m, win::UINT(i), win::MF_BYPOSITION);
      texts.push_back((it->flags & win::MF_SEPARATOR) ? u"-" : it->text);
    }
    wrapped = skin::controls::MnuArray().size();
    gfx::WriteFileBytes((tests::OutputFolder("app") / "system-menu.png").string(),
                        gfx::EncodePng(desktop.Compose()));
    win::InjectKey(0x01, true);  // Escape
    win::InjectKey(0x01, false);
  });
  const gfx::TRect w = WindowRect();
  const win::POINT caption{w.Left + w.Width() / 2, w.Top + 6};
  win::InjectMouseMove(caption);
  win::InjectMouseButton(1, true, caption);
  win::InjectMouseButton(1, false, caption);
  desktop.Pump();
  EXPECT_EQ(texts, (std::vector<std::u16string>{u"&Переместить", u"-", u"&Закрыть\tAlt+F4"}));
  EXPECT_GE(wrapped, 1u) << "the menu window wears the skin";
  EXPECT_TRUE(win::IsWindowVisible(Form1->Handle()));
}

}  // namespace
}  // namespace app::test
