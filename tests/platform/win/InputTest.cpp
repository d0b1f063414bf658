#include "platform/win/Input.h"

#include <gtest/gtest.h>

#include "Harness.h"
#include "platform/win/Backend.h"
#include "platform/win/KeyboardLayout.h"
#include "platform/win/Keys.h"
#include "platform/win/Menu.h"
#include "platform/win/NonClient.h"
#include "platform/win/ScrollInfo.h"

namespace win::test {
namespace {

using Mouse = WindowTest;
using Keyboard = WindowTest;

// The window at 100,100 (400 x 300, sizable, caption 23, frame 4) with both scroll bars.
constexpr DWORD kFramed = WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL;

TEST_F(Mouse, DefaultHitTestFindsEveryPartOfTheFrame) {
  HWND h = Top(kFramed);
  auto hit = [&](int x, int y) {
    return SendMessageW(h, WM_NCHITTEST, 0, MAKELPARAM(100 + x, 100 + y));
  };
  EXPECT_EQ(hit(200, 14), HTCAPTION);
  EXPECT_EQ(hit(388, 14), HTCLOSE);
  EXPECT_EQ(hit(10, 14), HTSYSMENU);
  EXPECT_EQ(hit(1, 150), HTLEFT);
  EXPECT_EQ(hit(398, 150), HTRIGHT);
  EXPECT_EQ(hit(1, 1), HTTOPLEFT);
  EXPECT_EQ(hit(399, 299), HTBOTTOMRIGHT);
  EXPECT_EQ(hit(200, 1), HTTOP);
  EXPECT_EQ(hit(50, 100), HTCLIENT);
  EXPECT_EQ(hit(390, 100), HTVSCROLL);      // client ends at 400 - 4 - 17 = 379
  EXPECT_EQ(hit(50, 285), HTHSCROLL);       // client ends at 300 - 4 - 17 = 279
  EXPECT_EQ(hit(390, 285), HTBOTTOMRIGHT);  // the size box of a sizable window
  EXPECT_EQ(hit(400, 100), HTNOWHERE);
  FrameLayout f = GetFrameLayout(h);
  EXPECT_EQ(hit(f.maxButton.Left + 1, 14), HTMAXBUTTON);
  EXPECT_EQ(hit(f.minButton.Left + 1, 14), HTMINBUTTON);
}

TEST_F(Mouse, NonClientAndClientMovesCarryTheRightCodesCoordinatesAndCursors) {
  HWND h = Top(kFramed);
  desktop.Pump();
  log.clear();
  InjectMouseMove({300, 114});  // caption
  desktop.Pump();
  EXPECT_EQ(Messages(h), (std::vector<UINT>{WM_NCHITTEST, WM_SETCURSOR, WM_NCMOUSEMOVE}));
  auto sc = Of(WM_SETCURSOR, h)[0];
  EXPECT_EQ(sc.lParam, MAKELPARAM(HTCAPTION, WM_MOUSEMOVE));
  auto nc = Of(WM_NCMOUSEMOVE, h)[0];
  EXPECT_EQ(nc.wParam, WPARAM(HTCAPTION));
  EXPECT_EQ(nc.lParam, MAKELPARAM(300, 114));
  EXPECT_EQ(desktop.Cursor(), LoadCursorW(IDC_ARROW));
  InjectMouseMove({101, 250});  // left frame
  desktop.Pump();
  EXPECT_EQ(desktop.Cursor(), LoadCursorW(IDC_SIZEWE));
  log.clear();
  InjectMouseMove({150, 200});  // client
  desktop.Pump();
  auto mm = Of(WM_MOUSEMOVE, h);
  ASSERT_EQ(mm.size(), 1u);
  EXPECT_EQ(mm[0].lParam, MAKELPARAM(150 - 104, 200 - 127));
  EXPECT_EQ(desktop.Cursor(), LoadCursorW(IDC_IBEAM));  // the class cursor
}

TEST_F(Mouse, TransparentHitPassesTheMouseToTheWindowBelow) {
  HWND top = Top(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
  HWND below = Child(top, {0, 0, 100, 100});
  HWND cover = Child(top, {0, 0, 100, 100});
  SetWindowPos(cover, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  handler = [&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (h == cover && m == WM_NCHITTEST) return HTTRANSPARENT;
    return std::nullopt;
  };
  EXPECT_EQ(WindowFromPoint({10, 10}), below);
  InjectMouseButton(0, true, {10, 10});
  desktop.Pump();
  EXPECT_EQ(Of(WM_LBUTTONDOWN, below).size(), 1u);
  EXPECT_TRUE(Of(WM_LBUTTONDOWN, cover).empty());
  DestroyWindow(below);
  EXPECT_EQ(WindowFromPoint({10, 10}), top);
}

TEST_F(Mouse, PressOnTheCaptionMovesTheWindowUntilRelease) {
  HWND h = Top(kFramed);
  desktop.Pump();
  log.clear();
  InjectMouseMove({300, 110});
  InjectMouseButton(0, true, {300, 110});
  InjectMouseMove({320, 115});
  InjectMouseMove({330, 130});  // coalesced with the move before
  InjectMouseButton(0, false, {330, 130});
  desktop.Pump();
  RECT r;
  GetWindowRect(h, &r);
  EXPECT_EQ(r, (RECT{130, 120, 530, 420}));
  EXPECT_EQ(Of(WM_ENTERSIZEMOVE, h).size(), 1u);
  EXPECT_EQ(Of(WM_EXITSIZEMOVE, h).size(), 1u);
  auto sys = Of(WM_SYSCOMMAND, h);
  ASSERT_EQ(sys.size(), 1u);
  EXPECT_EQ(sys[0].wParam, SC_MOVE + HTCAPTION);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Mouse, CaptureTakesEveryMouseMessageUntilReleased) {
  HWND top = Top(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
  HWND c = Child(top, {50, 50, 100, 100});
  desktop.Pump();
  SetCapture(c);
  log.clear();
  InjectMouseMove({10, 20});
  InjectMouseButton(1, true, {10, 20});
  desktop.Pump();
  EXPECT_EQ(Messages(c), (std::vector<UINT>{WM_MOUSEMOVE, WM_RBUTTONDOWN}));
  EXPECT_EQ(Of(WM_MOUSEMOVE, c)[0].lParam, MAKELPARAM(-40, -30));
  EXPECT_EQ(Of(WM_RBUTTONDOWN, c)[0].wParam, MK_RBUTTON);
  SetCapture(top);
  auto changed = Of(WM_CAPTURECHANGED, c);
  ASSERT_EQ(changed.size(), 1u);
  EXPECT_EQ(HwndFromParam(std::uintptr_t(changed[0].lParam)), top);
  ReleaseCapture();
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Of(WM_CAPTURECHANGED, top).size(), 1u);
}

TEST_F(Mouse, LeaveIsPostedOnceWhenTheMouseLeavesATrackedWindow) {
  HWND top = Top(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
  HWND c = Child(top, {50, 50, 100, 100});
  InjectMouseMove({60, 60});
  desktop.Pump();
  TRACKMOUSEEVENT tme;
  tme.dwFlags = TME_LEAVE;
  tme.hwndTrack = c;
  ASSERT_TRUE(TrackMouseEvent(&tme));
  InjectMouseMove({70, 70});
  desktop.Pump();
  EXPECT_TRUE(Of(WM_MOUSELEAVE).empty());
  InjectMouseMove({200, 200});
  desktop.Pump();
  InjectMouseMove({60, 60});
  InjectMouseMove({201, 200});
  desktop.Pump();
  EXPECT_EQ(Of(WM_MOUSELEAVE, c).size(), 1u);
  // Asking while the mouse is elsewhere reports the leave at once.
  tme.hwndTrack = c;
  TrackMouseEvent(&tme);
  desktop.Pump();
  EXPECT_EQ(Of(WM_MOUSELEAVE, c).size(), 2u);
}

TEST_F(Mouse, SecondClickInTimeIsADoubleClick) {
  HWND top = Top(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
  auto click = [&] {
    InjectMouseButton(0, true, {10, 10});
    InjectMouseButton(0, false, {10, 10});
    desktop.Pump();
  };
  click();
  desktop.Advance(100);
  click();
  EXPECT_EQ(Of(WM_LBUTTONDOWN, top).size(), 1u);
  EXPECT_EQ(Of(WM_LBUTTONDBLCLK, top).size(), 1u);
  desktop.Advance(100);
  click();  // a third click starts over
  desktop.Advance(GetDoubleClickTime() + 1);
  click();
  EXPECT_EQ(Of(WM_LBUTTONDOWN, top).size(), 3u);
  EXPECT_EQ(Of(WM_LBUTTONDBLCLK, top).size(), 1u);
}

TEST_F(Mouse, ClickOnAnInactiveWindowAsksAndActivates) {
  HWND a = Top(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  HWND b = Top(WS_POPUP | WS_VISIBLE, {200, 0, 300, 100});
  HWND child = Child(a, {0, 0, 50, 50});
  EXPECT_EQ(GetActiveWindow(), b);
  log.clear();
  InjectMouseButton(0, true, {10, 10});
  desktop.Pump();
  std::vector<std::pair<HWND, UINT>> seq;
  for (const Logged& l : log)
    if (l.msg != WM_NCHITTEST && l.msg != WM_NCPAINT && l.msg != WM_GETTEXTLENGTH &&
        l.msg != WM_GETTEXT && l.msg != WM_WINDOWPOSCHANGING && l.msg != WM_WINDOWPOSCHANGED &&
        l.msg != WM_PAINT && l.msg != WM_ERASEBKGND)
      seq.push_back({l.hwnd, l.msg});
  EXPECT_EQ(seq, (std::vector<std::pair<HWND, UINT>>{{child, WM_MOUSEACTIVATE},
                                                     {a, WM_MOUSEACTIVATE},
                                                     {b, WM_NCACTIVATE},
                                                     {b, WM_ACTIVATE},
                                                     {a, WM_NCACTIVATE},
                                                     {a, WM_ACTIVATE},
                                                     {b, WM_KILLFOCUS},
                                                     {a, WM_SETFOCUS},
                                                     {child, WM_SETCURSOR},
                                                     {a, WM_SETCURSOR},
                                                     {child, WM_LBUTTONDOWN}}));
  EXPECT_EQ(LOWORD(Of(WM_ACTIVATE, a)[0].wParam), WA_CLICKACTIVE);
  // A window may refuse: no activation and the click is eaten.
  handler = [&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (h == b && m == WM_MOUSEACTIVATE) return MA_NOACTIVATEANDEAT;
    return std::nullopt;
  };
  InjectMouseButton(0, false, {10, 10});
  InjectMouseButton(0, true, {210, 10});
  desktop.Pump();
  EXPECT_EQ(GetActiveWindow(), a);
  EXPECT_TRUE(Of(WM_LBUTTONDOWN, b).empty());
}

TEST_F(Mouse, WheelGoesToTheFocusAndUpToItsParentWhenUnhandled) {
  HWND top = Top(WS_POPUP | WS_VISIBLE, {0, 0, 300, 300});
  HWND c = Child(top, {0, 0, 50, 50});
  SetFocus(c);
  log.clear();
  InjectMouseWheel(-WHEEL_DELTA, false, {200, 200});
  desktop.Pump();
  auto wheel = Of(WM_MOUSEWHEEL);
  ASSERT_EQ(wheel.size(), 2u);
  EXPECT_EQ(wheel[0].hwnd, c);
  EXPECT_EQ(wheel[1].hwnd, top);
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheel[0].wParam), -WHEEL_DELTA);
}

// Scan codes of the US positions.
constexpr UINT kQ = 0x10, kW = 0x11, kGrave = 0x29, kComma = 0x33, kLShift = 0x2A, kAlt = 0x38,
               kF4 = 0x3E, k3 = 0x04, kCaps = 0x3A;

std::u16string Typed(const std::vector<Logged>& chars) {
  std::u16string s;
  for (const Logged& l : chars) s += char16_t(l.wParam);
  return s;
}

TEST_F(Keyboard, RussianLayoutTypesCyrillicByKeyPosition) {
  HWND top = Top(WS_POPUP | WS_VISIBLE);
  HWND edit = Child(top, {0, 0, 50, 20});
  SetFocus(edit);
  auto press = [](UINT scan) {
    InjectKey(scan, true);
    InjectKey(scan, false);
  };
  press(kQ);
  desktop.Pump();
  EXPECT_EQ(Typed(Of(WM_CHAR, edit)), u"q");
  HKL ru = LoadKeyboardLayoutW(u"00000419", KLF_ACTIVATE);
  ASSERT_NE(ru, nullptr);
  EXPECT_EQ(GetKeyboardLayout(0), ru);
  EXPECT_EQ(Of(WM_INPUTLANGCHANGE, edit).size(), 1u);
  log.clear();
  press(kQ);
  press(kW);
  press(kGrave);
  press(kComma);
  InjectKey(kLShift, true);
  press(kQ);
  press(k3);
  InjectKey(kLShift, false);
  press(kCaps);
  press(kW);
  desktop.Pump();
  EXPECT_EQ(Typed(Of(WM_CHAR, edit)), u"йцёбЙ№Ц");
  auto downs = Of(WM_KEYDOWN, edit);
  ASSERT_FALSE(downs.empty());
  EXPECT_EQ(downs[0].wParam, WPARAM('Q'));  // virtual keys stay by position
  EXPECT_EQ((std::uint32_t(downs[0].lParam) >> 16) & 0xFF, kQ);
  EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 1);
  ActivateKeyboardLayout(HKL_NEXT, 0);
  EXPECT_NE(GetKeyboardLayout(0), ru);
  // Ctrl gives control characters, Alt system characters.
  constexpr UINT kCtrl = 0x1D, kA = 0x1E;
  press(kCaps);
  log.clear();
  InjectKey(kCtrl, true);
  press(kA);
  InjectKey(kCtrl, false);
  InjectKey(kAlt, true);
  press(kQ);
  InjectKey(kAlt, false);
  desktop.Pump();
  EXPECT_EQ(Typed(Of(WM_CHAR, edit)), u"\x01");
  EXPECT_EQ(Typed(Of(WM_SYSCHAR, edit)), u"q");
  EXPECT_EQ(LoadKeyboardLayoutW(u"00000000", 0), nullptr);
}

TEST_F(Keyboard, KeysGoToTheFocusAndAltF4ClosesTheWindow) {
  HWND a = Top(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND c1 = Child(a, {0, 0, 10, 10}), c2 = Child(a, {0, 0, 10, 10});
  SetFocus(c1);
  log.clear();
  SetFocus(c2);
  EXPECT_EQ(Messages(nullptr), (std::vector<UINT>{WM_KILLFOCUS, WM_SETFOCUS}));
  EXPECT_EQ(HwndFromParam(Of(WM_KILLFOCUS)[0].wParam), c2);
  EXPECT_EQ(HwndFromParam(Of(WM_SETFOCUS)[0].wParam), c1);
  InjectKey(0xE048, true);  // up arrow, an extended key
  desktop.Pump();
  auto down = Of(WM_KEYDOWN, c2);
  ASSERT_EQ(down.size(), 1u);
  EXPECT_EQ(down[0].wParam, VK_UP);
  EXPECT_TRUE(std::uint32_t(down[0].lParam) & (1u << 24));
  EXPECT_TRUE(Of(WM_CHAR).empty());
  // A hidden focus window gives the focus back to its parent.
  ShowWindow(c2, SW_HIDE);
  EXPECT_EQ(GetFocus(), a);
  InjectKey(kAlt, true);
  InjectKey(kF4, true);
  InjectKey(kF4, false);
  InjectKey(kAlt, false);
  desktop.Pump();
  EXPECT_FALSE(Of(WM_SYSKEYDOWN, a).empty());
  EXPECT_FALSE(IsWindow(a));
}

TEST_F(Keyboard, AltSpaceAsksTheTopLevelWindowForItsMenuEvenWithoutTheSystemMenuStyle) {
  // A skinned frame removes WS_SYSMENU while it draws the caption itself.
  HWND a = Top(WS_POPUP | WS_CAPTION | WS_VISIBLE);
  HWND edit = Child(a, {0, 0, 10, 10});
  SetFocus(edit);
  log.clear();
  // The default handling then opens the system menu; Escape closes it.
  std::u16string shown;
  desktop.Schedule(10, [&] {
    shown = GetClassNameW(GetTopWindow(nullptr));  // the menu is topmost
    InjectKey(0x01, true);
    InjectKey(0x01, false);
  });
  InjectKey(kAlt, true);
  InjectKey(0x39, true);  // space
  InjectKey(0x39, false);
  InjectKey(kAlt, false);
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(m);
    DispatchMessageW(m);
  }
  EXPECT_EQ(Typed(Of(WM_SYSCHAR, edit)), u" ");
  auto commands = Of(WM_SYSCOMMAND);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].hwnd, a);
  EXPECT_EQ(commands[0].wParam, SC_KEYMENU);
  EXPECT_EQ(commands[0].lParam, ' ');
  EXPECT_EQ(shown, u"#32768");
  // Space without Alt is an ordinary character.
  log.clear();
  SendMessageW(edit, WM_SYSCHAR, ' ', 0);
  EXPECT_TRUE(Of(WM_SYSCOMMAND).empty());
  HMENU menu = GetSystemMenu(a, false);
  ASSERT_TRUE(IsMenu(menu));
  EXPECT_NE(GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND), 0xFFFFFFFFu);
}

}  // namespace
}  // namespace win::test

namespace win::test {
namespace {

using MouseMore = WindowTest;

TEST_F(MouseMore, DisabledWindowsTakeNoClicksAndHideNothingBelowThem) {
  HWND under = Top(WS_POPUP | WS_VISIBLE, {0, 0, 200, 200});
  HWND over = Top(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  HWND child = Child(under, {150, 150, 190, 190});
  EnableWindow(over, false);
  EnableWindow(child, false);
  desktop.Pump();
  log.clear();
  InjectMouseButton(0, true, {10, 10});
  InjectMouseButton(0, false, {10, 10});
  InjectMouseButton(0, true, {160, 160});
  desktop.Pump();
  EXPECT_TRUE(Of(WM_LBUTTONDOWN, over).empty());
  EXPECT_TRUE(Of(WM_LBUTTONDOWN, child).empty());
  auto downs = Of(WM_LBUTTONDOWN, under);
  ASSERT_EQ(downs.size(), 1u);  // only the click beside the disabled child, on its parent
  EXPECT_EQ(downs[0].lParam, MAKELPARAM(160, 160));
}

TEST_F(MouseMore, HoverIsReportedOnceAfterTheMouseRests) {
  HWND h = Top(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  InjectMouseMove({10, 10});
  desktop.Pump();
  TRACKMOUSEEVENT tme;
  tme.dwFlags = TME_HOVER;
  tme.hwndTrack = h;
  tme.dwHoverTime = 100;
  TrackMouseEvent(&tme);
  desktop.Advance(60);
  InjectMouseMove({12, 12});  // moving restarts the wait
  desktop.Advance(60);
  EXPECT_TRUE(Of(WM_MOUSEHOVER, h).empty());
  desktop.Advance(500);
  auto hover = Of(WM_MOUSEHOVER, h);
  ASSERT_EQ(hover.size(), 1u);
  EXPECT_EQ(hover[0].lParam, MAKELPARAM(12, 12));
}

}  // namespace
}  // namespace win::test

namespace win::test {
namespace {

using Tracking = WindowTest;

TEST_F(Tracking, NonClientLeaveIsTrackedApartFromTheClientArea) {
  HWND h = Top(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 400, 300});
  desktop.Pump();
  FrameLayout f = GetFrameLayout(h);
  POINT caption{100 + f.caption.Left + 30, 100 + f.caption.Top + 5};
  POINT client{250, 200}, outside{50, 50};
  handler = [&](HWND hw, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (hw != h || (m != WM_NCMOUSEMOVE && m != WM_MOUSEMOVE)) return std::nullopt;
    TRACKMOUSEEVENT t;
    t.dwFlags = m == WM_NCMOUSEMOVE ? TME_LEAVE | TME_NONCLIENT | TME_HOVER : TME_LEAVE;
    t.hwndTrack = hw;
    t.dwHoverTime = 100;
    TrackMouseEvent(&t);
    return 0;
  };
  auto moveTo = [&](POINT p) {
    log.clear();
    InjectMouseMove(p);
    desktop.Pump();
    return Messages(h, {WM_SETCURSOR, WM_NCHITTEST});
  };
  // From the caption out of the window: the caption's part is left.
  EXPECT_EQ(moveTo(caption), (std::vector<UINT>{WM_NCMOUSEMOVE}));
  TRACKMOUSEEVENT q;
  q.dwFlags = TME_QUERY | TME_NONCLIENT;
  TrackMouseEvent(&q);
  EXPECT_EQ(q.hwndTrack, h);
  EXPECT_EQ(q.dwFlags & (TME_LEAVE | TME_NONCLIENT), TME_LEAVE | TME_NONCLIENT);
  EXPECT_EQ(moveTo(outside), (std::vector<UINT>{WM_NCMOUSELEAVE}));
  // Caption to client and back: each part reports its own leave, the other goes on.
  moveTo(caption);
  EXPECT_EQ(moveTo(client), (std::vector<UINT>{WM_NCMOUSELEAVE, WM_MOUSEMOVE}));
  EXPECT_EQ(moveTo(caption), (std::vector<UINT>{WM_MOUSELEAVE, WM_NCMOUSEMOVE}));
  // Resting over the caption gives one WM_NCMOUSEHOVER with the hit code.
  log.clear();
  desktop.Advance(150);
  auto hover = Of(WM_NCMOUSEHOVER, h);
  ASSERT_EQ(hover.size(), 1u);
  EXPECT_EQ(LRESULT(hover[0].wParam), HTCAPTION);
  EXPECT_EQ(PointFromLParam(hover[0].lParam), caption);
  EXPECT_TRUE(Of(WM_MOUSELEAVE, h).empty());
  // The client area's tracking being cancelled does not touch the caption's.
  TRACKMOUSEEVENT cancel;
  cancel.dwFlags = TME_CANCEL | TME_LEAVE;
  cancel.hwndTrack = h;
  EXPECT_TRUE(TrackMouseEvent(&cancel));
  EXPECT_EQ(moveTo(outside), (std::vector<UINT>{WM_NCMOUSELEAVE}));
}

}  // namespace
}  // namespace win::test
