// The extended border of a skinned native dialog: with the manager's ExtendedBorders the box
// wears the layered border a skinned form of its frame wears (same offsets, same shadow),
// takes the mouse through it (close button, caption drag, system menu) and leaves nothing
// behind when it closes, when the setting goes off or when the skin goes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "MenuTestSupport.h"
#include "TestOutput.h"
#include "platform/gfx/PictureCodec.h"
#include "platform/win/Input.h"
#include "platform/win/MessageBox.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Window.h"
#include "skin/controls/acDials.h"
#include "skin/frame/InternalSkinFormTest.h"
#include "skin/frame/sSkinProvider.h"

namespace skin::controls {
namespace {

using gfx::TPoint;
using gfx::TRect;
using menutest::ScreenRect;

constexpr gfx::Pixel kRgb = 0xFFFFFF;

class DialogBorderTest : public skin::frame::test::InternalSkinFormTest {
 protected:
  void SetUp() override {
    InstallDialogSkinning();
    MakeSkinnedForm(300, 200, [](core::TsSkinManager& m) {
      m.SetSkinningRules(core::acBit(core::srStdDialogs) | core::acBit(core::srThirdParty));
      m.SetExtendedBorders(true);
    });
    // A dialog-framed form with its provider: the border a dialog should match.
    form->SetBorderStyle(fw::TFormBorderStyle::bsDialog);
    form->SetBounds(40, 40, 300, 200);
    form->SetCaption(u"Форма");
    provider = new frame::TsSkinProvider(form);
    form->Show();
    desktop.Pump();
  }
  // A modeless box with a dialog frame, shown.
  win::HWND MakeBox(int x = 200, int y = 150) {
    win::RegisterStandardClasses();
    const win::HWND h = win::CreateWindowExW(
        0, win::WC_DIALOG, u"Каталог",
        win::WS_POPUP | win::WS_CAPTION | win::WS_SYSMENU | win::DS_MODALFRAME, x, y, 300, 160,
        nullptr, 0);
    win::ShowWindow(h, win::SW_SHOW);
    desktop.Pump();
    return h;
  }
  static TacDialogWnd* Dialog(win::HWND h) {
    TacProvider* p = FindFormInList(h);
    return p ? p->ListSW.get() : nullptr;
  }
  static win::HWND Border(win::HWND h) {
    TacDialogWnd* d = Dialog(h);
    return d && d->BorderForm() && d->BorderForm()->AForm() ? d->BorderForm()->AForm()->Handle()
                                                           : nullptr;
  }
  static int TopLevelCount() {
    int n = 0;
    win::EnumWindows([&](win::HWND, win::LPARAM) { return ++n, true; }, 0);
    return n;
  }
  frame::TsSkinProvider* provider = nullptr;
};

TEST_F(DialogBorderTest, TheBoxWearsTheBorderOfADialogFormInPlaceAndInPixels) {
  ASSERT_NE(provider->BorderForm(), nullptr) << "the form of the same frame wears one";
  const win::HWND box = MakeBox(420, 320);  // clear of the form and its border
  TacDialogWnd* dlg = Dialog(box);
  ASSERT_NE(dlg, nullptr);
  ASSERT_NE(Border(box), nullptr);
  // The same frame, taken as the form's: the window lies at the same place in the picture,
  // the picture is as much larger than the window, the client starts at the same place.
  EXPECT_EQ(dlg->ExFrame().SysBorder, provider->SysBorderWidth());
  EXPECT_EQ(dlg->ExFrame().SysCaption, provider->SysCaptionHeight());
  EXPECT_EQ(dlg->BorderForm()->OffsetX(), provider->BorderForm()->OffsetX());
  EXPECT_EQ(dlg->BorderForm()->OffsetY(), provider->BorderForm()->OffsetY());
  EXPECT_EQ(dlg->CacheClientOffset(), TPoint(provider->OffsetX(), provider->OffsetY()));
  const TRect wr = ScreenRect(box), fr = ScreenRect(form->Handle());
  const TRect b = ScreenRect(Border(box)), fb = ScreenRect(provider->BorderForm()->AForm()->Handle());
  EXPECT_EQ(b.Width() - wr.Width(), fb.Width() - fr.Width());
  EXPECT_EQ(b.Height() - wr.Height(), fb.Height() - fr.Height());
  EXPECT_EQ(TPoint(b.Left, b.Top), dlg->CacheOrigin());
  ASSERT_EQ(dlg->Cache()->Width(), b.Width());
  ASSERT_EQ(dlg->Cache()->Height(), b.Height());

  // The shadow outside the frame is the form's, pixel for pixel, each active in turn.
  const TRect sh = manager->SkinModel()->FormShadowSize;
  ASSERT_GT(sh.Left + sh.Top, 0);
  auto corner = [&](const gfx::Bitmap& picture) {
    return picture.Copy(TRect{0, 0, sh.Left, sh.Top});
  };
  win::SetActiveWindow(box);
  desktop.Pump();
  ASSERT_TRUE(dlg->FormActive());
  ASSERT_TRUE(dlg->PaintAll());
  const gfx::Bitmap boxCorner = corner(*dlg->Cache());
  win::SetActiveWindow(form->Handle());
  desktop.Pump();
  ASSERT_FALSE(dlg->FormActive());
  ASSERT_TRUE(provider->FormActive() && provider->PaintAll());
  const gfx::Bitmap formCorner = corner(*provider->Cache());
  int shadowPixels = 0;
  for (int y = 0; y < sh.Top; ++y)
    for (int x = 0; x < sh.Left; ++x) {
      ASSERT_EQ(boxCorner.At(x, y), formCorner.At(x, y)) << x << "," << y;
      shadowPixels += gfx::PixelA(boxCorner.At(x, y)) != 0;
    }
  EXPECT_GT(shadowPixels, 0) << "a shadow is there";
  ASSERT_TRUE(dlg->PaintAll());
  const gfx::Bitmap& pic = *dlg->Cache();
  // No key colour anywhere: the frame's corners show the shadow.
  for (int y = 0; y < pic.Height(); ++y)
    for (int x = 0; x < pic.Width(); ++x)
      ASSERT_NE(pic.At(x, y) & kRgb, 0xFF00FFu) << x << "," << y;

  // The caption's letters are as opaque as the title under them.
  const TRect icon = dlg->IconRect(), close = dlg->ButtonRect(win::HTCLOSE);
  ASSERT_FALSE(icon.IsEmpty() || close.IsEmpty());
  for (int y = icon.Top; y < icon.Bottom; ++y)
    for (int x = icon.Right; x < close.Left; ++x)
      ASSERT_EQ(gfx::PixelA(pic.At(x, y)), 255) << x << "," << y;

  // On screen the border window shows the picture's opaque title pixels; the box itself is
  // cut to its client area.
  const gfx::Bitmap screen = desktop.Compose();
  const TPoint co = dlg->CacheClientOffset();
  int compared = 0;
  for (int y = sh.Top; y < co.Y; ++y)
    for (int x = sh.Left; x < pic.Width() - sh.Right; ++x) {
      const gfx::Pixel p = pic.At(x, y);
      if (gfx::PixelA(p) != 255) continue;
      ++compared;
      const gfx::Pixel q = screen.At(b.Left + x, b.Top + y);
      ASSERT_LE(std::abs(int(gfx::PixelR(q)) - int(gfx::PixelR(p))), 1) << x << "," << y;
      ASSERT_LE(std::abs(int(gfx::PixelG(q)) - int(gfx::PixelG(p))), 1) << x << "," << y;
      ASSERT_LE(std::abs(int(gfx::PixelB(q)) - int(gfx::PixelB(p))), 1) << x << "," << y;
    }
  EXPECT_GT(compared, 100);
  gfx::Region rgn;
  ASSERT_NE(win::GetWindowRgn(box, &rgn), gfx::RGN_ERROR);
  const TPoint wco = dlg->ClientOffset();
  EXPECT_FALSE(rgn.Contains({wco.X - 1, wco.Y}));
  EXPECT_TRUE(rgn.Contains({wco.X, wco.Y}));

  // It follows a move.
  win::SetWindowPos(box, nullptr, 120, 90, 0, 0,
                    win::SWP_NOSIZE | win::SWP_NOZORDER | win::SWP_NOACTIVATE);
  desktop.Pump();
  EXPECT_EQ(TPoint(ScreenRect(Border(box)).Left, ScreenRect(Border(box)).Top),
            dlg->CacheOrigin());
  win::DestroyWindow(box);
}

TEST_F(DialogBorderTest, TheBordersCaptionDragsTheBoxAndItsRightClickOpensTheSystemMenu) {
  const win::HWND box = MakeBox();
  TacDialogWnd* dlg = Dialog(box);
  ASSERT_TRUE(dlg && Border(box));
  // The box is cut to its client area: a press on the skin's caption, over the box's own
  // caption rows, lands on the border window.
  const TRect wr = ScreenRect(box);
  const TPoint o = dlg->CacheOrigin();
  const TPoint caption{o.X + dlg->Cache()->Width() / 2,
                       std::max(o.Y + dlg->CacheClientOffset().Y / 2, wr.Top + 2)};
  ASSERT_LT(caption.Y, wr.Top + dlg->ClientOffset().Y);
  EXPECT_EQ(win::WindowFromPoint({caption.X, caption.Y}), Border(box));
  EXPECT_EQ(dlg->HitTest(caption), win::HTCAPTION);
  win::InjectMouseMove(caption);
  win::InjectMouseButton(0, true, caption);
  win::InjectMouseMove({caption.X + 30, caption.Y + 20});
  win::InjectMouseButton(0, false, {caption.X + 30, caption.Y + 20});
  desktop.Pump();
  EXPECT_EQ(ScreenRect(box), wr.Offset(30, 20));
  EXPECT_EQ(TPoint(ScreenRect(Border(box)).Left, ScreenRect(Border(box)).Top),
            dlg->CacheOrigin());
  // A right click on it opens the skinned system menu.
  const TPoint at{caption.X + 30, caption.Y + 20};
  int open = -1;
  desktop.Schedule(50, [&] {
    open = int(menutest::MenuWindows().size());
    menutest::Tap(menutest::kEscape);
  });
  win::InjectMouseButton(1, true, at);
  win::InjectMouseButton(1, false, at);
  desktop.Pump();
  desktop.Advance(100);
  desktop.Pump();
  EXPECT_EQ(open, 1);
  EXPECT_TRUE(menutest::MenuWindows().empty());
  win::DestroyWindow(box);
}

TEST_F(DialogBorderTest, TheBordersCloseButtonAnswersAndTheClosedBoxLeavesNothing) {
  const int before = TopLevelCount();
  bool seen = false;
  int states[2] = {-1, -1};
  win::HWND box = nullptr;
  TPoint close;
  desktop.Schedule(10, [&] {
    box = win::GetActiveWindow();
    TacDialogWnd* dlg = Dialog(box);
    ASSERT_TRUE(dlg && Border(box));
    seen = true;
    const TRect r = dlg->ButtonRect(win::HTCLOSE).Offset(dlg->CacheOrigin().X, dlg->CacheOrigin().Y);
    close = {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    EXPECT_EQ(win::WindowFromPoint({close.X, close.Y}), Border(box));
    win::InjectMouseMove(close);
  });
  desktop.Schedule(20, [&] {
    states[0] = Dialog(box)->ButtonState(win::HTCLOSE);
    win::InjectMouseButton(0, true, close);
  });
  desktop.Schedule(30, [&] {
    states[1] = Dialog(box)->ButtonState(win::HTCLOSE);
    win::InjectMouseButton(0, false, close);
  });
  EXPECT_EQ(win::MessageBoxW(form->Handle(), u"Удалить?", u"Каталог",
                             win::MB_OKCANCEL | win::MB_ICONQUESTION),
            win::IDCANCEL);
  EXPECT_TRUE(seen);
  EXPECT_EQ(states[0], 1) << "hot through the border window";
  EXPECT_EQ(states[1], 2) << "pressed";
  desktop.Pump();
  EXPECT_TRUE(acSupportedList().empty());
  EXPECT_EQ(TopLevelCount(), before) << "no window of the box or its border is left";
}

TEST_F(DialogBorderTest, TheBorderGoesAndComesWithTheSettingAndGoesWithTheSkin) {
  const win::HWND box = MakeBox();
  TacDialogWnd* dlg = Dialog(box);
  ASSERT_TRUE(dlg && Border(box));
  const int withBorder = TopLevelCount();
  const TRect wr = ScreenRect(box);
  manager->SetExtendedBorders(false);
  desktop.Pump();
  dlg = Dialog(box);
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(dlg->BorderForm(), nullptr);
  EXPECT_EQ(TopLevelCount(), withBorder - 2) << "the box's and the form's border windows went";
  // Back to the frame inside the window: the picture is the window's size again and the
  // window shows its caption.
  ASSERT_TRUE(dlg->PaintAll());
  EXPECT_EQ(dlg->Cache()->Width(), wr.Width());
  EXPECT_EQ(dlg->Cache()->Height(), wr.Height());
  EXPECT_EQ(dlg->CacheOrigin(), TPoint(wr.Left, wr.Top));
  gfx::Region rgn;
  if (win::GetWindowRgn(box, &rgn) != gfx::RGN_ERROR) {
    EXPECT_TRUE(rgn.Contains({wr.Width() / 2, dlg->ClientOffset().X + 2}));
  }
  manager->SetExtendedBorders(true);
  desktop.Pump();
  ASSERT_NE(Border(box), nullptr);
  EXPECT_EQ(TopLevelCount(), withBorder);
  // Another skin: still the form's geometry, in that skin's values.
  for (const auto& skin : skin::data::InternalSkins()) {
    manager->SetSkinName(fw::Utf8ToUtf16(skin.Name));
    desktop.Pump();
    ASSERT_NE(Border(box), nullptr) << skin.Name;
    ASSERT_NE(provider->BorderForm(), nullptr) << skin.Name;
    EXPECT_EQ(Dialog(box)->BorderForm()->OffsetX(), provider->BorderForm()->OffsetX()) << skin.Name;
    EXPECT_EQ(Dialog(box)->BorderForm()->OffsetY(), provider->BorderForm()->OffsetY()) << skin.Name;
    EXPECT_EQ(TopLevelCount(), withBorder) << skin.Name;
    // A picture of the box in its border for people to look at.
    win::SetActiveWindow(box);
    desktop.Pump();
    std::string name = skin.Name;
    name = name.substr(0, name.find(' '));
    gfx::WriteFileBytes(
        (tests::OutputFolder("skin-controls") / ("dialog-extended-" + name + ".png")).string(),
        gfx::EncodePng(desktop.Compose().Copy(ScreenRect(Border(box)))));
  }
  // The skin goes: the record and the border window with it.
  manager->SetActive(false);
  desktop.Pump();
  EXPECT_EQ(FindFormInList(box), nullptr);
  EXPECT_EQ(TopLevelCount(), withBorder - 2);
  win::DestroyWindow(box);
}

}  // namespace
}  // namespace skin::controls
