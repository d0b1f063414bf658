#include "platform/win/MessageBox.h"

#include <gtest/gtest.h>

#include "Harness.h"
#include "platform/win/Backend.h"
#include "platform/win/ControlCodes.h"
#include "platform/win/Input.h"
#include "platform/win/Paint.h"

namespace win::test {
namespace {

constexpr UINT kEnter = 0x1C, kEscape = 0x01, kTab = 0x0F, kRight = 0xE04D;

class MessageBoxTest : public WindowTest {
 protected:
  // Keys pressed and released after ms, while the box runs.
  void KeysLater(std::vector<UINT> keys, DWORD ms = 10) {
    desktop.Schedule(ms, [keys] {
      for (UINT k : keys) {
        InjectKey(k, true);
        InjectKey(k, false);
      }
    });
  }
  // The box up now (the active window), or nullptr.
  static HWND Box() {
    HWND a = GetActiveWindow();
    return a && GetClassNameW(a) == WC_DIALOG ? a : nullptr;
  }
  static std::vector<HWND> Children(HWND box) {
    std::vector<HWND> out;
    EnumChildWindows(
        box, [&](HWND c, LPARAM) { return out.push_back(c), true; }, 0);
    return out;
  }
  static HWND ButtonOf(HWND box, int id) {
    for (HWND c : Children(box))
      if (GetClassNameW(c) == WC_BUTTON && GetWindowLongPtrW(c, GWLP_ID) == id) return c;
    return nullptr;
  }
};

TEST_F(MessageBoxTest, ABoxIsADialogWithAStaticIconTextAndButtonsCentredOnItsOwner) {
  HWND owner = Top(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 700, 500});
  bool seen = false;
  desktop.Schedule(10, [&] {
    HWND box = Box();
    ASSERT_TRUE(box);
    seen = true;
    EXPECT_EQ(GetWindowTextW(box), u"Каталог");
    EXPECT_FALSE(IsWindowEnabled(owner)) << "the owner waits";
    RECT r;
    GetWindowRect(box, &r);
    EXPECT_NEAR((r.Left + r.Right) / 2, 400, 1);
    EXPECT_NEAR((r.Top + r.Bottom) / 2, 300, 1);
    std::vector<std::u16string> classes, texts;
    for (HWND c : Children(box)) {
      classes.push_back(GetClassNameW(c));
      texts.push_back(GetWindowTextW(c));
    }
    EXPECT_EQ(classes,
              (std::vector<std::u16string>{u"Static", u"Static", u"Button", u"Button", u"Button"}));
    EXPECT_EQ(texts[1], u"Файл не найден & не открыт.");
    EXPECT_EQ(texts[2], u"&Да");
    EXPECT_EQ(texts[3], u"&Нет");
    EXPECT_EQ(texts[4], u"Отмена");
    HWND icon = Children(box)[0];
    EXPECT_EQ(GetWindowLongPtrW(icon, GWL_STYLE) & SS_TYPEMASK, LONG_PTR(SS_ICON));
    EXPECT_EQ(HANDLE(SendMessageW(icon, STM_GETICON, 0, 0)),
              HANDLE(MessageBoxIcon(MB_ICONQUESTION)));
    // The second button is the default one and has the focus.
    HWND no = ButtonOf(box, IDNO);
    EXPECT_EQ(GetFocus(), no);
    EXPECT_EQ(GetWindowLongPtrW(no, GWL_STYLE) & BS_TYPEMASK, LONG_PTR(BS_DEFPUSHBUTTON));
    EXPECT_EQ(GetWindowLongPtrW(ButtonOf(box, IDYES), GWL_STYLE) & BS_TYPEMASK,
              LONG_PTR(BS_PUSHBUTTON));
    EXPECT_EQ(SendMessageW(box, DM_GETDEFID, 0, 0), MAKELRESULT(IDNO, DC_HASDEFID));
    // The text is not cut: its static is as wide as its line.
    RECT t;
    GetClientRect(Children(box)[1], &t);
    EXPECT_GT(t.Width(), 100);
    InjectKey(kEnter, true);
    InjectKey(kEnter, false);
  });
  EXPECT_EQ(MessageBoxW(owner, u"Файл не найден & не открыт.", u"Каталог",
                        MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2),
            IDNO);
  EXPECT_TRUE(seen);
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(Box(), nullptr) << "the box is gone";
}

TEST_F(MessageBoxTest, KeysMoveTheFocusAndAnswer) {
  // Tab and the arrows go round the buttons; Enter presses the focused one.
  KeysLater({kTab, kEnter});
  EXPECT_EQ(MessageBoxW(nullptr, u"x", u"t", MB_YESNOCANCEL), IDNO);
  KeysLater({kTab, kTab, kTab, kEnter});
  EXPECT_EQ(MessageBoxW(nullptr, u"x", u"t", MB_YESNOCANCEL), IDYES);
  KeysLater({kRight, kRight, kEnter});
  EXPECT_EQ(MessageBoxW(nullptr, u"x", u"t", MB_ABORTRETRYIGNORE), IDIGNORE);
  // Escape: Cancel where there is one, OK alone, else nothing (then Enter answers).
  KeysLater({kEscape});
  EXPECT_EQ(MessageBoxW(nullptr, u"x", u"t", MB_OKCANCEL), IDCANCEL);
  KeysLater({kEscape});
  EXPECT_EQ(MessageBoxW(nullptr, u"x", u"t", MB_OK), IDOK);
  KeysLater({kEscape, kEnter});
  EXPECT_EQ(MessageBoxW(nullptr, u"x", u"t", MB_YESNO), IDYES);
  // Closing the window is Escape.
  desktop.Schedule(10, [] { PostMessageW(GetActiveWindow(), WM_CLOSE, 0, 0); });
  EXPECT_EQ(MessageBoxW(nullptr, u"x", u"t", MB_RETRYCANCEL), IDCANCEL);
  // An access key, in either case.
  desktop.Schedule(10, [] { InjectText(u"н"); });
  EXPECT_EQ(MessageBoxW(nullptr, u"x", u"t", MB_YESNO), IDNO);
}

TEST_F(MessageBoxTest, AClickAnswersOnlyWhenReleasedOnTheButton) {
  HWND box = nullptr;
  bool pushedWhileHeld = false;
  desktop.Schedule(10, [&] {
    box = Box();
    ASSERT_TRUE(box);
    RECT r;
    GetWindowRect(ButtonOf(box, IDRETRY), &r);
    // Pressed on Retry, released outside it: no answer.
    InjectMouseButton(0, true, {r.Left + 5, r.Top + 5});
  });
  desktop.Schedule(20, [&] {
    pushedWhileHeld = (SendMessageW(ButtonOf(box, IDRETRY), BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
    RECT r;
    GetWindowRect(ButtonOf(box, IDRETRY), &r);
    InjectMouseMove({r.Left - 50, r.Top - 30});
    InjectMouseButton(0, false, {r.Left - 50, r.Top - 30});
  });
  desktop.Schedule(30, [&] {
    RECT r;
    GetWindowRect(ButtonOf(box, IDCANCEL), &r);
    InjectMouseButton(0, true, {r.Left + 5, r.Top + 5});
    InjectMouseButton(0, false, {r.Left + 5, r.Top + 5});
  });
  EXPECT_EQ(MessageBoxW(nullptr, u"x", u"t", MB_RETRYCANCEL | MB_ICONHAND), IDCANCEL);
  EXPECT_TRUE(pushedWhileHeld);
}

// A bitmap button shows the image given by BM_SETIMAGE centred in place of its text, moved by
// one pixel while pushed; BM_SETIMAGE hands back the image it replaces, BM_GETIMAGE the one
// shown. Without the style the text shows and the image is only kept.
TEST_F(MessageBoxTest, ABitmapButtonShowsItsImageInPlaceOfItsText) {
  RegisterStandardClasses();
  HWND top = Top();
  HWND b = CreateWindowExW(0, WC_BUTTON, u"Текст", WS_CHILD | WS_VISIBLE | BS_BITMAP, 20, 20, 60,
                           30, top, 1);
  ASSERT_NE(b, nullptr);
  gfx::Bitmap image(10, 8);
  image.Fill(gfx::MakePixel(255, 0, 0, 255));  // blue
  gfx::Bitmap other(4, 4);
  EXPECT_EQ(SendMessageW(b, BM_SETIMAGE, IMAGE_BITMAP, LPARAM(&other)), 0);
  EXPECT_EQ(SendMessageW(b, BM_SETIMAGE, IMAGE_BITMAP, LPARAM(&image)), LRESULT(&other));
  EXPECT_EQ(SendMessageW(b, BM_GETIMAGE, IMAGE_BITMAP, 0), LRESULT(&image));
  EXPECT_EQ(SendMessageW(b, BM_GETIMAGE, 1, 0), 0) << "an icon was never set";
  auto blueBox = [&]() {
    desktop.Pump();
    RECT wr;
    GetWindowRect(b, &wr);
    const gfx::Bitmap screen = desktop.Compose();
    RECT found{1 << 20, 1 << 20, -1, -1};
    for (int y = wr.Top; y < wr.Bottom; ++y)
      for (int x = wr.Left; x < wr.Right; ++x)
        if (gfx::ColorFromPixel(screen.At(x, y)) == gfx::RGB(0, 0, 255))
          found = {std::min(found.Left, x - wr.Left), std::min(found.Top, y - wr.Top),
                   std::max(found.Right, x - wr.Left + 1), std::max(found.Bottom, y - wr.Top + 1)};
    return found;
  };
  EXPECT_EQ(blueBox(), (RECT{25, 11, 35, 19}));
  SendMessageW(b, BM_SETSTATE, 1, 0);
  EXPECT_EQ(blueBox(), (RECT{26, 12, 36, 20}));
  SendMessageW(b, BM_SETSTATE, 0, 0);
  // Without the style: no image on screen.
  SetWindowLongPtrW(b, GWL_STYLE, WS_CHILD | WS_VISIBLE);
  InvalidateRect(b, nullptr, false);
  EXPECT_EQ(blueBox().Right, -1);
  EXPECT_EQ(SendMessageW(b, BM_GETIMAGE, IMAGE_BITMAP, 0), LRESULT(&image));
}

}  // namespace
}  // namespace win::test
