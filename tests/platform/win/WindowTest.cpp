#include "platform/win/Window.h"

#include <gtest/gtest.h>

#include "Harness.h"
#include "platform/win/Backend.h"
#include "platform/win/Input.h"
#include "platform/win/Menu.h"
#include "platform/win/NonClient.h"
#include "platform/win/Styles.h"

namespace win::test {
namespace {

using Tree = WindowTest;

TEST_F(Tree, CreationSendsTheMessagesInOrder) {
  HWND h = Top(WS_OVERLAPPEDWINDOW);
  EXPECT_EQ(Messages(h),
            (std::vector<UINT>{WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE}));
  EXPECT_EQ(GetWindowTextW(h), u"top");
  log.clear();
  ShowWindow(h, SW_SHOW);
  EXPECT_EQ(Messages(h, {WM_GETTEXTLENGTH, WM_GETTEXT}),
            (std::vector<UINT>{WM_SHOWWINDOW, WM_WINDOWPOSCHANGING, WM_ACTIVATEAPP, WM_NCACTIVATE,
                               WM_ACTIVATE, WM_SETFOCUS, WM_WINDOWPOSCHANGED}));
  EXPECT_EQ(GetActiveWindow(), h);
  EXPECT_EQ(GetFocus(), h);
}

TEST_F(Tree, ChildCreationNotifiesTheParentAndVisibleChildrenShowWithoutActivation) {
  HWND top = Top();
  log.clear();
  HWND c = Child(top, {10, 10, 50, 50}, WS_CHILD | WS_VISIBLE, 7);
  EXPECT_EQ(Messages(c),
            (std::vector<UINT>{WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE,
                               WM_SHOWWINDOW, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED}));
  auto notes = Of(WM_PARENTNOTIFY, top);
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(notes[0].wParam, MAKEWPARAM(WM_CREATE, 7));
  EXPECT_EQ(HwndFromParam(std::uintptr_t(notes[0].lParam)), c);
  EXPECT_EQ(GetActiveWindow(), top);
}

TEST_F(Tree, CloseDestroysThroughTheSystemCommandAndStaleHandlesAreDetected) {
  HWND top = Top();
  HWND c = Child(top, {0, 0, 10, 10});
  HWND other = Top(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {600, 100, 800, 300});
  SetActiveWindow(top);
  handler = [&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (h == top && m == WM_DESTROY) PostQuitMessage(3);
    return std::nullopt;
  };
  log.clear();
  SendMessageW(top, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(Messages(top, {WM_GETTEXTLENGTH, WM_GETTEXT, WM_NCPAINT, WM_NCACTIVATE}),
            (std::vector<UINT>{WM_SYSCOMMAND, WM_CLOSE, WM_WINDOWPOSCHANGING, WM_ACTIVATE,
                               WM_KILLFOCUS, WM_WINDOWPOSCHANGED, WM_DESTROY, WM_NCDESTROY}));
  // The window is destroyed before its child gets WM_DESTROY; WM_NCDESTROY goes child first.
  std::vector<std::pair<HWND, UINT>> order;
  for (const Logged& l : log)
    if (l.msg == WM_DESTROY || l.msg == WM_NCDESTROY) order.push_back({l.hwnd, l.msg});
  EXPECT_EQ(order,
            (std::vector<std::pair<HWND, UINT>>{
                {top, WM_DESTROY}, {c, WM_DESTROY}, {c, WM_NCDESTROY}, {top, WM_NCDESTROY}}));
  EXPECT_FALSE(IsWindow(top));
  EXPECT_FALSE(IsWindow(c));
  EXPECT_EQ(SendMessageW(top, WM_USER, 0, 0), 0);
  EXPECT_FALSE(PostMessageW(c, WM_USER, 0, 0));
  EXPECT_EQ(GetActiveWindow(), other);
  MSG msg;
  EXPECT_FALSE(GetMessageW(&msg, nullptr, 0, 0) && msg.message != WM_QUIT);
  EXPECT_EQ(msg.wParam, 3u);
  // A new window never gets a handle that was used before.
  HWND again = Top();
  EXPECT_NE(again, top);
  EXPECT_NE(again, c);
}

TEST_F(Tree, RefusedCreationReturnsNullAndUnknownClassesRaise) {
  handler = [](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_CREATE) return -1;
    return std::nullopt;
  };
  EXPECT_EQ(Top(), nullptr);
  EXPECT_FALSE(Of(WM_NCDESTROY).empty());
  EXPECT_THROW(CreateWindowExW(0, u"Nope", u"", 0, 0, 0, 1, 1, nullptr, 0), WindowError);
  EXPECT_THROW(CreateWindowExW(0, u"Test", u"", WS_CHILD, 0, 0, 1, 1, nullptr, 0), WindowError);
}

TEST_F(Tree, ToolWindowWithCaptionHasTheMainWindowClientSize) {
  HWND h = Top(WS_CAPTION | WS_SYSMENU | WS_POPUP, {0, 0, 1280, 750}, WS_EX_TOOLWINDOW);
  RECT c;
  GetClientRect(h, &c);
  EXPECT_EQ(c.Width(), 1274);
  EXPECT_EQ(c.Height(), 721);
  RECT r{0, 0, 1274, 721};
  AdjustWindowRectEx(&r, WS_CAPTION | WS_SYSMENU | WS_POPUP, false, WS_EX_TOOLWINDOW);
  EXPECT_EQ(r, (RECT{-3, -26, 1277, 724}));
}

TEST_F(Tree, RectanglesAndMappingFollowTheTree) {
  HWND top = Top(WS_POPUP | WS_BORDER | WS_VISIBLE, {100, 50, 300, 250});
  HWND a = Child(top, {10, 20, 110, 120}, WS_CHILD | WS_VISIBLE | WS_BORDER);
  HWND b = Child(a, {5, 5, 25, 25});
  RECT r;
  GetWindowRect(b, &r);
  // top's client starts at 101,51; a's at 101+10+1, 51+20+1.
  EXPECT_EQ(r, (RECT{117, 77, 137, 97}));
  POINT p{0, 0};
  ClientToScreen(b, &p);
  EXPECT_EQ(p, (POINT{117, 77}));
  ScreenToClient(top, &p);
  EXPECT_EQ(p, (POINT{16, 26}));
  POINT pts[1] = {{1, 2}};
  MapWindowPoints(b, top, pts, 1);
  EXPECT_EQ(pts[0], (POINT{17, 28}));
  MoveWindow(a, 0, 0, 50, 50, true);
  GetWindowRect(b, &r);
  EXPECT_EQ(r.Left, 101 + 1 + 5);
  EXPECT_EQ(ChildWindowFromPointEx(top, {1, 1}, CWP_ALL), a);
  EXPECT_EQ(ChildWindowFromPointEx(top, {150, 150}, CWP_ALL), top);
  EXPECT_EQ(WindowFromPoint({108, 58}), b);
}

TEST_F(Tree, ZOrderEnumerationAndOwnership) {
  HWND t1 = Top(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {0, 0, 100, 100});
  HWND owned = CreateWindowExW(0, u"Test", u"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, t1, 0);
  HWND t2 = Top(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {0, 0, 100, 100});
  HWND c1 = Child(t2, {0, 0, 10, 10});
  HWND c2 = Child(t2, {0, 0, 10, 10});
  HWND g = Child(c1, {0, 0, 5, 5});
  EXPECT_EQ(GetParent(owned), t1);
  EXPECT_EQ(GetWindow(owned, GW_OWNER), t1);
  EXPECT_EQ(GetAncestor(g, GA_ROOT), t2);
  // Children keep creation order (the first created on top); each child precedes its own.
  std::vector<HWND> seen;
  EnumChildWindows(
      t2, [&](HWND h, LPARAM) { return seen.push_back(h), true; }, 0);
  EXPECT_EQ(seen, (std::vector<HWND>{c1, g, c2}));
  EXPECT_EQ(GetWindow(c1, GW_HWNDNEXT), c2);
  SetWindowPos(c2, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetTopWindow(t2), c2);
  // Activating the owner brings its owned window along, above it.
  SetActiveWindow(t1);
  seen.clear();
  EnumWindows([&](HWND h, LPARAM) { return seen.push_back(h), true; }, 0);
  EXPECT_EQ(seen, (std::vector<HWND>{owned, t1, t2}));
  // Destroying the owner destroys the owned window.
  DestroyWindow(t1);
  EXPECT_FALSE(IsWindow(owned));
}

TEST_F(Tree, TextPropertiesAndLongs) {
  HWND h = Top();
  EXPECT_TRUE(SetWindowTextW(h, u"Каталог"));
  EXPECT_EQ(GetWindowTextW(h), u"Каталог");
  EXPECT_EQ(GetWindowTextLengthW(h), 7);
  int value = 5;
  EXPECT_TRUE(SetPropW(h, u"ACSDATA", &value));
  EXPECT_EQ(GetPropW(h, u"ACSDATA"), &value);
  EXPECT_EQ(GetPropW(h, u"ACSBSC"), nullptr);
  EXPECT_EQ(RemovePropW(h, u"ACSDATA"), &value);
  EXPECT_EQ(GetPropW(h, u"ACSDATA"), nullptr);
  log.clear();
  LONG_PTR old = SetWindowLongPtrW(h, GWL_STYLE, LONG_PTR(WS_POPUP | WS_VISIBLE));
  EXPECT_EQ(DWORD(old) & WS_THICKFRAME, WS_THICKFRAME);
  EXPECT_EQ(Messages(h), (std::vector<UINT>{WM_STYLECHANGING, WM_STYLECHANGED}));
  SetWindowLongPtrW(h, GWLP_USERDATA, 42);
  EXPECT_EQ(GetWindowLongPtrW(h, GWLP_USERDATA), 42);
  // The frame follows the new style after SWP_FRAMECHANGED.
  SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  RECT c, w;
  GetClientRect(h, &c);
  GetWindowRect(h, &w);
  EXPECT_EQ(c.Width(), w.Width());
}

TEST_F(Tree, WindowPosChangingMayAlterTheMove) {
  HWND h = Top();
  handler = [](HWND, UINT m, WPARAM, LPARAM l) -> std::optional<LRESULT> {
    if (m == WM_WINDOWPOSCHANGING) reinterpret_cast<WINDOWPOS*>(l)->cx = 333;
    return std::nullopt;
  };
  log.clear();
  SetWindowPos(h, nullptr, 10, 20, 200, 200, SWP_NOZORDER);
  RECT r;
  GetWindowRect(h, &r);
  EXPECT_EQ(r, (RECT{10, 20, 343, 220}));
  EXPECT_EQ(Messages(h), (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_NCCALCSIZE,
                                            WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}));
  auto sizes = Of(WM_SIZE, h);
  RECT c;
  GetClientRect(h, &c);
  EXPECT_EQ(sizes[0].lParam, MAKELPARAM(c.Width(), c.Height()));
}

TEST_F(Tree, MaximizeAndRestoreKeepTheNormalPlacement) {
  HWND h = Top();
  ShowWindow(h, SW_MAXIMIZE);
  EXPECT_TRUE(IsZoomed(h));
  RECT r;
  GetWindowRect(h, &r);
  EXPECT_EQ(r, (RECT{-4, -4, 1284, 1028}));
  EXPECT_EQ(Of(WM_SIZE, h).back().wParam, SIZE_MAXIMIZED);
  ShowWindow(h, SW_RESTORE);
  GetWindowRect(h, &r);
  EXPECT_EQ(r, (RECT{100, 100, 500, 400}));
  EXPECT_FALSE(IsZoomed(h));
}

// Minimising an owner hides its visible pop-ups (SW_PARENTCLOSING) and restoring it brings
// back those, and only those, without activating them; a pop-up hidden or shown on purpose
// meanwhile is no longer the owner's to bring back.
TEST_F(Tree, OwnedPopupsGoAndComeBackWithTheirOwner) {
  HWND owner = Top(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {0, 0, 300, 300});
  auto popup = [&](bool visible) {
    return CreateWindowExW(0, u"Test", u"", WS_POPUP | WS_CAPTION | (visible ? WS_VISIBLE : 0), 20,
                           20, 100, 80, owner, 0);
  };
  HWND zoomed = popup(true), plain = popup(true), hidden = popup(false), chosen = popup(true);
  ShowWindow(zoomed, SW_SHOWMAXIMIZED);
  SetActiveWindow(owner);
  log.clear();
  ShowWindow(owner, SW_MINIMIZE);
  auto shows = [&](HWND h) {
    std::vector<std::pair<WPARAM, LPARAM>> seen;
    for (const Logged& l : Of(WM_SHOWWINDOW, h)) seen.push_back({l.wParam, l.lParam});
    return seen;
  };
  using Shows = std::vector<std::pair<WPARAM, LPARAM>>;
  for (HWND h : {zoomed, plain, chosen}) {
    EXPECT_EQ(shows(h), (Shows{{0, SW_PARENTCLOSING}}));
    EXPECT_FALSE(IsWindowVisible(h));
  }
  EXPECT_TRUE(shows(hidden).empty());
  EXPECT_TRUE(IsZoomed(zoomed));
  ShowWindow(chosen, SW_HIDE);  // hidden on purpose: stays hidden
  log.clear();
  ShowWindow(owner, SW_RESTORE);
  for (HWND h : {zoomed, plain}) {
    EXPECT_EQ(shows(h), (Shows{{1, SW_PARENTOPENING}}));
    EXPECT_TRUE(IsWindowVisible(h));
  }
  EXPECT_TRUE(shows(hidden).empty());
  EXPECT_TRUE(shows(chosen).empty());
  EXPECT_FALSE(IsWindowVisible(hidden));
  EXPECT_FALSE(IsWindowVisible(chosen));
  EXPECT_TRUE(IsZoomed(zoomed));
  EXPECT_EQ(GetActiveWindow(), owner);
  // Restoring it again brings nothing more.
  log.clear();
  ShowWindow(owner, SW_RESTORE);
  EXPECT_TRUE(Of(WM_SHOWWINDOW).empty());
}

}  // namespace
}  // namespace win::test

namespace win::test {
namespace {

using SystemMenu = WindowTest;

TEST_F(SystemMenu, FollowsTheStyleOfItsWindow) {
  HWND main = Top(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HMENU m = GetSystemMenu(main, false);
  ASSERT_TRUE(IsMenu(m));
  std::vector<UINT> ids;
  for (int i = 0; i < GetMenuItemCount(m); ++i) ids.push_back(GetMenuItemID(m, i));
  EXPECT_EQ(ids, (std::vector<UINT>{SC_RESTORE, SC_MOVE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, 0,
                                    SC_CLOSE}));
  EXPECT_EQ(GetMenuState(m, SC_RESTORE, MF_BYCOMMAND) & MF_GRAYED, MF_GRAYED);
  EXPECT_EQ(GetMenuState(m, SC_SIZE, MF_BYCOMMAND) & MF_GRAYED, 0u);
  EXPECT_EQ(GetSystemMenu(main, false), m);  // one menu per window
  // A fixed tool window: no sizing, no minimize or maximize.
  HWND tool = Top(WS_POPUP | WS_CAPTION | WS_SYSMENU, {0, 0, 100, 100}, WS_EX_TOOLWINDOW);
  HMENU t = GetSystemMenu(tool, false);
  ids.clear();
  for (int i = 0; i < GetMenuItemCount(t); ++i) ids.push_back(GetMenuItemID(t, i));
  EXPECT_EQ(ids, (std::vector<UINT>{SC_MOVE, 0, SC_CLOSE}));
  EXPECT_EQ(GetSystemMenu(Child(main, {0, 0, 5, 5}), false), nullptr);
  // Maximized, Restore becomes available and Move and Size do not.
  ShowWindow(main, SW_MAXIMIZE);
  m = GetSystemMenu(main, true);
  EXPECT_EQ(GetMenuState(m, SC_RESTORE, MF_BYCOMMAND) & MF_GRAYED, 0u);
  EXPECT_EQ(GetMenuState(m, SC_MOVE, MF_BYCOMMAND) & MF_GRAYED, MF_GRAYED);
  DestroyWindow(main);
  EXPECT_FALSE(IsMenu(m));
}

}  // namespace
}  // namespace win::test

namespace win::test {
namespace {

using Frame = WindowTest;

TEST_F(Frame, ClientAreaFollowsBordersEdgesAndScrollBars) {
  struct Case {
    DWORD style, exStyle;
    RECT client;  // in window coordinates of a 200 x 100 window
  };
  const Case cases[] = {
      {WS_POPUP, 0, {0, 0, 200, 100}},
      {WS_POPUP | WS_BORDER, 0, {1, 1, 199, 99}},
      {WS_POPUP | WS_DLGFRAME, 0, {3, 3, 197, 97}},
      {WS_POPUP | WS_THICKFRAME, 0, {4, 4, 196, 96}},
      {WS_OVERLAPPEDWINDOW, 0, {4, 27, 196, 96}},
      {WS_POPUP | WS_CAPTION, WS_EX_TOOLWINDOW | WS_EX_CLIENTEDGE, {5, 28, 195, 95}},
      {WS_POPUP | WS_VSCROLL | WS_HSCROLL, WS_EX_STATICEDGE, {1, 1, 182, 82}},
      {WS_POPUP | WS_VSCROLL, WS_EX_LEFTSCROLLBAR, {17, 0, 200, 100}},
  };
  for (const Case& c : cases) {
    HWND h = Top(c.style | WS_VISIBLE, {0, 0, 200, 100}, c.exStyle);
    FrameLayout f = GetFrameLayout(h);
    EXPECT_EQ(f.client, c.client) << std::hex << c.style << " " << c.exStyle;
    POINT origin{0, 0};
    ClientToScreen(h, &origin);
    EXPECT_EQ(origin, (POINT{c.client.Left, c.client.Top}));
    RECT adjusted{0, 0, c.client.Width(), c.client.Height()};
    AdjustWindowRectEx(&adjusted, c.style, false, c.exStyle);
    EXPECT_EQ(adjusted.Width(), 200);
    EXPECT_EQ(adjusted.Height(), 100);
    DestroyWindow(h);
  }
}

TEST_F(Frame, KeyboardMoveFromTheSystemCommand) {
  HWND h = Top(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 300, 200});
  desktop.Pump();
  constexpr UINT kRight = 0xE04D, kDown = 0xE050, kEnter = 0x1C, kEscape = 0x01;
  for (UINT key : {kRight, kRight, kDown, kEnter}) {
    InjectKey(key, true);
    InjectKey(key, false);
  }
  PostMessageW(h, WM_SYSCOMMAND, SC_MOVE, 0);
  desktop.Pump();
  RECT r;
  GetWindowRect(h, &r);
  EXPECT_EQ(r.Left, 116);
  EXPECT_EQ(r.Top, 108);
  // Escape puts the window back where the move started.
  for (UINT key : {kDown, kEscape}) {
    InjectKey(key, true);
    InjectKey(key, false);
  }
  PostMessageW(h, WM_SYSCOMMAND, SC_MOVE, 0);
  desktop.Pump();
  GetWindowRect(h, &r);
  EXPECT_EQ(r.Top, 108);
}

}  // namespace
}  // namespace win::test

namespace win::test {
namespace {

using Placement = WindowTest;

TEST_F(Placement, DraggingTheSizingFrameResizesWithinTheMinimum) {
  HWND h = Top(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 500, 400});
  desktop.Pump();
  InjectMouseButton(0, true, {498, 250});  // right frame
  InjectMouseMove({548, 250});
  InjectMouseButton(0, false, {548, 250});
  desktop.Pump();
  RECT r;
  GetWindowRect(h, &r);
  EXPECT_EQ(r, (RECT{100, 100, 550, 400}));
  EXPECT_EQ(Of(WM_SIZING, h).size(), 1u);
  InjectMouseButton(0, true, {101, 101});  // top-left corner, dragged far past the other side
  InjectMouseMove({900, 900});
  InjectMouseButton(0, false, {900, 900});
  desktop.Pump();
  GetWindowRect(h, &r);
  EXPECT_EQ(r.Width(), GetSystemMetrics(SM_CXMINTRACK));
  EXPECT_EQ(r.Height(), GetSystemMetrics(SM_CYMINTRACK));
  EXPECT_EQ(r.Right, 550);
}

TEST_F(Placement, SetParentMovesAWindowBetweenParentsKeepingItsPosition) {
  HWND a = Top(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  HWND b = Top(WS_POPUP | WS_VISIBLE, {200, 0, 300, 100});
  HWND c = Child(a, {10, 10, 20, 20});
  EXPECT_EQ(SetParent(c, b), a);
  EXPECT_TRUE(IsChild(b, c));
  EXPECT_FALSE(IsChild(a, c));
  RECT r;
  GetWindowRect(c, &r);
  EXPECT_EQ(r, (RECT{210, 10, 220, 20}));
  EXPECT_EQ(SetParent(b, c), nullptr);  // a window cannot go inside its own child
  EXPECT_EQ(WindowFromPoint({215, 15}), c);
}

TEST_F(Tree, SizingWithTheMouseKeepsToTheTrackingLimitsTheWindowGives) {
  HWND h = Top(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 500, 400});
  handler = [&](HWND hw, UINT m, WPARAM, LPARAM l) -> std::optional<LRESULT> {
    if (hw != h || m != WM_GETMINMAXINFO) return std::nullopt;
    auto* mmi = reinterpret_cast<MINMAXINFO*>(l);
    mmi->ptMinTrackSize = {300, 200};
    mmi->ptMaxTrackSize = {520, 410};
    return 0;
  };
  desktop.Pump();
  auto drag = [&](POINT from, POINT to) {
    InjectMouseMove(from);
    InjectMouseButton(0, true, from);
    InjectMouseMove(to);
    InjectMouseButton(0, false, to);
    desktop.Pump();
    RECT r;
    GetWindowRect(h, &r);
    return r;
  };
  // Out by far from the bottom-right corner: the largest size, the top-left staying.
  EXPECT_EQ(drag({499, 399}, {1100, 900}), (RECT{100, 100, 620, 510}));
  EXPECT_FALSE(Of(WM_GETMINMAXINFO, h).empty());
  // In by far from the top-left corner: the smallest size, the bottom-right staying.
  EXPECT_EQ(drag({100, 100}, {590, 490}), (RECT{320, 310, 620, 510}));
}

}  // namespace
}  // namespace win::test
