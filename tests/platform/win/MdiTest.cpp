// MDI: children made by the client, activation by click and keys, maximising with the buttons
// on the frame's menu bar, tiling and cascading, closing, the window menu and scrolling.
#include <cmath>

#include "platform/win/Backend.h"
#include "platform/win/Harness.h"
#include "platform/win/Input.h"
#include "platform/win/Mdi.h"
#include "platform/win/Menu.h"
#include "platform/win/MenuWindow.h"
#include "platform/win/NonClient.h"
#include "platform/win/ScrollInfo.h"

namespace win::test {
namespace {

constexpr UINT kCtrl = 0x1D, kShift = 0x2A, kF4 = 0x3E, kF6 = 0x40;
constexpr UINT kFirstChild = 100;

class Mdi : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    WNDCLASSEXW wc;
    wc.lpfnWndProc = MakeWindowProc([this](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
      log.push_back({h, m, w, l});
      return DefMDIChildProcW(h, m, w, l);
    });
    wc.lpszClassName = u"Doc";
    ASSERT_NE(RegisterClassExW(wc), 0);
    handler = [this](HWND h, UINT m, WPARAM w, LPARAM l) -> std::optional<LRESULT> {
      if (h == frame) return DefFrameProcW(h, client, m, w, l);
      return std::nullopt;
    };
    frame = Top(WS_OVERLAPPEDWINDOW, {50, 50, 850, 650});
    bar = CreateMenu();
    windowMenu = CreatePopupMenu();
    AppendMenuW(windowMenu, MF_STRING, 50, u"&Tile");
    AppendMenuW(bar, MF_STRING, 40, u"&File");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(windowMenu), u"&Window");
    SetMenu(frame, bar);
    CLIENTCREATESTRUCT ccs{windowMenu, kFirstChild};
    RECT fc;
    GetClientRect(frame, &fc);
    client = CreateWindowExW(WS_EX_CLIENTEDGE, MDICLIENT_CLASS, u"",
                             WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL, 0,
                             0, fc.Width(), fc.Height(), frame, 1, &ccs);
    ASSERT_TRUE(client);
    ShowWindow(frame, SW_SHOW);
    desktop.Pump();
  }

  HWND Doc(const char16_t* title, RECT r = {CW_USEDEFAULT, 0, CW_USEDEFAULT, 0}) {
    MDICREATESTRUCTW mcs;
    mcs.szClass = u"Doc";
    mcs.szTitle = title;
    mcs.x = r.Left, mcs.y = r.Top;
    mcs.cx = r.Left == CW_USEDEFAULT ? CW_USEDEFAULT : r.Width();
    mcs.cy = r.Height();
    mcs.style = WS_VISIBLE;
    auto child = reinterpret_cast<HWND>(
        SendMessageW(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    desktop.Pump();
    return child;
  }
  HWND Active(bool* maximized = nullptr) {
    return reinterpret_cast<HWND>(
        SendMessageW(client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(maximized)));
  }
  // The window rectangle in the client's client coordinates.
  RECT Place(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, client, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  std::vector<std::u16string> WindowMenuTexts() {
    std::vector<std::u16string> out;
    for (int i = 0; i < GetMenuItemCount(windowMenu); ++i) {
      const MenuItem* it = GetMenuItem(windowMenu, UINT(i), MF_BYPOSITION);
      out.push_back((it->flags & MF_SEPARATOR) ? u"-"
                    : (it->flags & MF_CHECKED) ? u"*" + it->text
                                               : it->text);
    }
    return out;
  }
  // Keys through a loop that offers them to TranslateMDISysAccel first, as a frame's does.
  void Keys(std::initializer_list<std::pair<UINT, bool>> keys) {
    for (auto [scan, down] : keys) InjectKey(scan, down);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (TranslateMDISysAccel(client, msg)) continue;
      TranslateMessage(msg);
      DispatchMessageW(msg);
    }
  }

  HWND frame = nullptr, client = nullptr;
  HMENU bar = nullptr, windowMenu = nullptr;
};

TEST_F(Mdi, CreatedChildrenAreActivatedAndListedInTheWindowMenu) {
  HWND a = Doc(u"Alpha");
  HWND b = Doc(u"Beta");
  EXPECT_EQ(GetParent(a), client);
  EXPECT_TRUE(GetWindowLongPtrW(a, GWL_EXSTYLE) & WS_EX_MDICHILD);
  EXPECT_EQ(GetWindowLongPtrW(b, GWLP_ID), LONG_PTR(kFirstChild + 1));
  EXPECT_EQ(Active(), b);
  // The new child cascades one step below the first.
  int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
  EXPECT_EQ(Place(b).Top - Place(a).Top, step);
  EXPECT_EQ(WindowMenuTexts(),
            (std::vector<std::u16string>{u"&Tile", u"-", u"&1 Alpha", u"*&2 Beta"}));
  // Leaving and coming children both hear of the change: (leaving, coming).
  log.clear();
  SendMessageW(client, WM_MDIACTIVATE, WParamFromHwnd(a), 0);
  auto acts = Of(WM_MDIACTIVATE);
  ASSERT_EQ(acts.size(), 2u);
  EXPECT_EQ(acts[0].hwnd, b);
  EXPECT_EQ(acts[1].hwnd, a);
  for (const Logged& l : acts) {
    EXPECT_EQ(HwndFromParam(l.wParam), b);
    EXPECT_EQ(HwndFromParam(std::uintptr_t(l.lParam)), a);
  }
  EXPECT_EQ(GetTopWindow(client), a);
  EXPECT_EQ(GetFocus(), a);
  // Renamed, the list follows; picking an entry activates its child.
  SetWindowTextW(b, u"Gamma");
  SendMessageW(frame, WM_COMMAND, kFirstChild + 1, 0);
  EXPECT_EQ(Active(), b);
  EXPECT_EQ(WindowMenuTexts(),
            (std::vector<std::u16string>{u"&Tile", u"-", u"&1 Alpha", u"*&2 Gamma"}));
}

TEST_F(Mdi, ClickAndCtrlF6ActivateChildrenInsideAnActiveFrame) {
  HWND a = Doc(u"A", {0, 0, 200, 150});
  HWND b = Doc(u"B", {300, 0, 500, 150});
  HWND c = Doc(u"C", {0, 200, 200, 350});
  ASSERT_EQ(GetActiveWindow(), frame);
  ASSERT_EQ(Active(), c);
  RECT r;
  GetWindowRect(a, &r);
  POINT in{r.Left + 50, r.Top + 60};
  InjectMouseMove(in);
  InjectMouseButton(0, true, in);
  InjectMouseButton(0, false, in);
  desktop.Pump();
  EXPECT_EQ(Active(), a);
  EXPECT_EQ(GetTopWindow(client), a);
  // Ctrl+F6 steps forward through every child; the one left goes to the bottom.
  Keys({{kCtrl, true}, {kF6, true}, {kF6, false}});
  HWND second = Active();
  Keys({{kF6, true}, {kF6, false}});
  HWND third = Active();
  Keys({{kF6, true}, {kF6, false}, {kCtrl, false}});
  EXPECT_NE(second, a);
  EXPECT_NE(third, a);
  EXPECT_NE(second, third);
  EXPECT_TRUE((second == b || second == c) && (third == b || third == c));
  EXPECT_EQ(Active(), a);
  // Ctrl+Shift+F6 goes back to the one at the bottom.
  Keys({{kCtrl, true}, {kShift, true}, {kF6, true}, {kF6, false}, {kShift, false}, {kCtrl, false}});
  EXPECT_EQ(Active(), third);
}

TEST_F(Mdi, MaximisedChildFillsTheClientWithItsButtonsOnTheMenuBar) {
  HWND a = Doc(u"A", {10, 10, 300, 200});
  HWND b = Doc(u"B", {40, 40, 330, 230});
  int items = GetMenuItemCount(bar);
  SendMessageW(client, WM_MDIMAXIMIZE, WParamFromHwnd(b), 0);
  desktop.Pump();
  bool maximized = false;
  EXPECT_EQ(Active(&maximized), b);
  EXPECT_TRUE(maximized);
  // The client area of the child is the MDI client's: caption and frame lie outside it.
  RECT cc, mc;
  GetClientRect(b, &cc);
  GetClientRect(client, &mc);
  EXPECT_EQ(cc, mc);
  POINT o1{0, 0}, o2{0, 0};
  ClientToScreen(b, &o1);
  ClientToScreen(client, &o2);
  EXPECT_EQ(o1, o2);
  // Icon first (the child's system menu), then minimise, restore, close at the right.
  ASSERT_EQ(GetMenuItemCount(bar), items + 4);
  EXPECT_EQ(GetSubMenu(bar, 0), GetSystemMenu(b, false));
  int n = GetMenuItemCount(bar);
  EXPECT_EQ(GetMenuItemID(bar, n - 3), UINT(SC_MINIMIZE));
  EXPECT_EQ(GetMenuItemID(bar, n - 2), UINT(SC_RESTORE));
  EXPECT_EQ(GetMenuItemID(bar, n - 1), UINT(SC_CLOSE));
  RECT closeRect, fr;
  ASSERT_TRUE(GetMenuItemRect(frame, bar, UINT(n - 1), &closeRect));
  GetWindowRect(frame, &fr);
  FrameLayout f = GetFrameLayout(frame);
  EXPECT_EQ(closeRect.Right, fr.Left + f.menuBar.Right);
  // Another child activated takes the maximised state over.
  SendMessageW(frame, WM_COMMAND, kFirstChild, 0);
  EXPECT_EQ(Active(&maximized), a);
  EXPECT_TRUE(maximized);
  EXPECT_FALSE(IsZoomed(b));
  EXPECT_EQ(GetSubMenu(bar, 0), GetSystemMenu(a, false));
  EXPECT_EQ(GetMenuItemCount(bar), items + 4);
  // The restore button on the bar restores it and takes the items off.
  SendMessageW(frame, WM_COMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(IsZoomed(a));
  EXPECT_EQ(Place(a), (RECT{10, 10, 300, 200}));
  EXPECT_EQ(GetMenuItemCount(bar), items);
}

// A child's system menu made while it was normal (Alt+Space), dropped from the bar once the
// child is maximised: its commands follow the maximised state before the frame hears of the
// menu, and what the frame then changes stays.
TEST_F(Mdi, AMaximisedChildsSystemMenuDroppedFromTheBarShowsItsPresentStates) {
  HWND a = Doc(u"A", {10, 10, 300, 200});
  HMENU sys = GetSystemMenu(a, false);
  ASSERT_TRUE(GetMenuState(sys, SC_RESTORE, MF_BYCOMMAND) & MF_GRAYED);
  SendMessageW(client, WM_MDIMAXIMIZE, WParamFromHwnd(a), 0);
  desktop.Pump();
  ASSERT_EQ(GetSubMenu(bar, 0), sys);
  auto states = [&] {
    std::vector<bool> greyed;
    for (WPARAM id : {SC_RESTORE, SC_MOVE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, SC_CLOSE})
      greyed.push_back(GetMenuState(sys, UINT(id), MF_BYCOMMAND) & MF_GRAYED);
    return greyed;
  };
  std::vector<bool> told, shown;
  handler = [&](HWND h, UINT m, WPARAM w, LPARAM l) -> std::optional<LRESULT> {
    if (h != frame) return std::nullopt;
    if (m == WM_INITMENUPOPUP && reinterpret_cast<HMENU>(w) == sys) {
      told = states();
      EnableMenuItem(sys, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    }
    return DefFrameProcW(h, client, m, w, l);
  };
  RECT icon;
  ASSERT_TRUE(GetMenuItemRect(frame, bar, 0, &icon));
  const POINT at{(icon.Left + icon.Right) / 2, (icon.Top + icon.Bottom) / 2};
  desktop.Schedule(10, [&] {
    shown = states();
    for (int i = 0; i < 2; ++i) {
      InjectKey(0x01, true);  // Escape: the pop-up, then the bar
      InjectKey(0x01, false);
    }
  });
  InjectMouseMove(at);
  InjectMouseButton(0, true, at);
  InjectMouseButton(0, false, at);
  desktop.Pump();
  // Restore, Move, Size, Minimise, Maximise, Close.
  EXPECT_EQ(told, (std::vector<bool>{false, true, true, false, true, false}));
  EXPECT_EQ(shown, (std::vector<bool>{false, true, true, false, true, true}));
}

TEST_F(Mdi, TileMakesEqualColumnsThenRowsAndCascadeStepsByTheCaption) {
  std::vector<HWND> docs;
  for (const char16_t* t : {u"1", u"2", u"3"}) docs.push_back(Doc(t, {0, 0, 100, 100}));
  RECT area;
  GetClientRect(client, &area);
  int w = area.Width(), h = area.Height();
  SendMessageW(client, WM_MDITILE, MDITILE_VERTICAL, 0);
  // Three columns side by side, the active child first.
  EXPECT_EQ(Place(docs[2]), (RECT{0, 0, w / 3, h}));
  std::vector<int> lefts;
  for (HWND d : docs) lefts.push_back(Place(d).Left);
  std::sort(lefts.begin(), lefts.end());
  EXPECT_EQ(lefts, (std::vector<int>{0, w / 3, 2 * w / 3}));
  SendMessageW(client, WM_MDITILE, MDITILE_HORIZONTAL, 0);
  EXPECT_EQ(Place(docs[2]), (RECT{0, 0, w, h / 3}));
  // Five: two columns, the last one taking the extra row.
  docs.push_back(Doc(u"4", {0, 0, 100, 100}));
  docs.push_back(Doc(u"5", {0, 0, 100, 100}));
  SendMessageW(client, WM_MDITILE, MDITILE_VERTICAL, 0);
  int inFirst = 0, inSecond = 0;
  for (HWND d : docs) {
    RECT r = Place(d);
    (r.Left == 0 ? inFirst : inSecond) += 1;
    EXPECT_EQ(r.Width(), w / 2);
    EXPECT_NEAR(r.Height(), r.Left == 0 ? h / 2 : h / 3, 1);
  }
  EXPECT_EQ(inFirst, 2);
  EXPECT_EQ(inSecond, 3);
  // Cascade: bottom child at the corner, each next one step down and right, the active on top.
  SendMessageW(client, WM_MDICASCADE, 0, 0);
  int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
  EXPECT_EQ(Place(docs[4]).Top, 4 * step);
  EXPECT_EQ(Place(docs[4]).Left, 4 * step);
  EXPECT_EQ(GetTopWindow(client), docs[4]);
  std::vector<int> tops;
  for (HWND d : docs) tops.push_back(Place(d).Top);
  std::sort(tops.begin(), tops.end());
  for (int i = 0; i < 5; ++i) EXPECT_EQ(tops[std::size_t(i)], i * step);
  EXPECT_LE(Place(docs[4]).Bottom, h);
}

TEST_F(Mdi, MinimisedChildrenLieAlongTheBottomAndTilingLeavesThemOut) {
  HWND a = Doc(u"A");
  HWND b = Doc(u"B");
  HWND c = Doc(u"C");
  ShowWindow(a, SW_MINIMIZE);
  ShowWindow(b, SW_MINIMIZE);
  RECT area;
  GetClientRect(client, &area);
  EXPECT_TRUE(IsIconic(a));
  EXPECT_EQ(Place(a).Left, 0);
  EXPECT_EQ(Place(a).Bottom, area.Bottom);
  EXPECT_EQ(Place(b).Left, Place(a).Right);
  EXPECT_EQ(Place(b).Top, Place(a).Top);
  // Tiling gives the whole client to the one child left.
  RECT before = Place(a);
  SendMessageW(client, WM_MDITILE, MDITILE_VERTICAL, 0);
  EXPECT_EQ(Place(c), area);
  EXPECT_EQ(Place(a), before);
  // Restored, a child goes back to its place.
  SendMessageW(client, WM_MDIRESTORE, WParamFromHwnd(a), 0);
  EXPECT_FALSE(IsIconic(a));
  EXPECT_GT(Place(a).Width(), before.Width());
}

TEST_F(Mdi, ClosingTheActiveChildActivatesTheNextAndRenumbers) {
  HWND a = Doc(u"A");
  HWND b = Doc(u"B");
  HWND c = Doc(u"C");
  SendMessageW(client, WM_MDIMAXIMIZE, WParamFromHwnd(c), 0);
  int items = GetMenuItemCount(bar);
  // Ctrl+F4 closes the active child; the next in z-order comes, maximised as it was.
  Keys({{kCtrl, true}, {kF4, true}, {kF4, false}, {kCtrl, false}});
  EXPECT_FALSE(IsWindow(c));
  bool maximized = false;
  EXPECT_EQ(Active(&maximized), b);
  EXPECT_TRUE(maximized);
  EXPECT_EQ(GetMenuItemCount(bar), items);
  EXPECT_EQ(GetSubMenu(bar, 0), GetSystemMenu(b, false));
  // Closing the first renumbers the rest from the first command.
  SendMessageW(client, WM_MDIDESTROY, WParamFromHwnd(a), 0);
  EXPECT_FALSE(IsWindow(a));
  EXPECT_EQ(GetWindowLongPtrW(b, GWLP_ID), LONG_PTR(kFirstChild));
  EXPECT_EQ(WindowMenuTexts(), (std::vector<std::u16string>{u"&Tile", u"-", u"*&1 B"}));
  // The last one gone, the list and the bar's items go too.
  SendMessageW(b, WM_CLOSE, 0, 0);
  EXPECT_EQ(Active(), nullptr);
  EXPECT_EQ(WindowMenuTexts(), (std::vector<std::u16string>{u"&Tile"}));
  EXPECT_EQ(GetMenuItemCount(bar), items - 4);
}

TEST_F(Mdi, AChildShownOrHiddenLaterChangesTheBars) {
  RECT area;
  GetClientRect(client, &area);
  MDICREATESTRUCTW mcs;
  mcs.szClass = u"Doc";
  mcs.szTitle = u"Later";
  mcs.x = 10, mcs.y = area.Height() + 100;
  mcs.cx = 200, mcs.cy = 140;
  mcs.style = 0;  // made hidden, shown afterwards as forms are
  auto later =
      reinterpret_cast<HWND>(SendMessageW(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  desktop.Pump();
  ASSERT_TRUE(later);
  EXPECT_FALSE(GetScrollBarLayout(client, SB_VERT).visible);
  ShowWindow(later, SW_SHOW);
  desktop.Pump();
  EXPECT_TRUE(GetScrollBarLayout(client, SB_VERT).visible) << "it lies below the client";
  ShowWindow(later, SW_HIDE);
  desktop.Pump();
  EXPECT_FALSE(GetScrollBarLayout(client, SB_VERT).visible);
}

TEST_F(Mdi, ReleasingTheScrollThumbScrollsToTheDraggedPlace) {
  RECT area;
  GetClientRect(client, &area);
  HWND a = Doc(u"A", {10, 10, 200, 150});
  HWND far = Doc(u"Far", {10, area.Height() + 200, 200, area.Height() + 340});
  ASSERT_TRUE(GetScrollBarLayout(client, SB_VERT).visible);
  RECT before = Place(a);
  ScrollBarLayout l = GetScrollBarLayout(client, SB_VERT);
  RECT wr;
  GetWindowRect(client, &wr);
  POINT grab{wr.Left + (l.thumb.Left + l.thumb.Right) / 2,
             wr.Top + (l.thumb.Top + l.thumb.Bottom) / 2};
  POINT to{grab.X, grab.Y + 60};
  desktop.Schedule(0, [&] {
    InjectMouseMove(to);
    InjectMouseButton(0, false, to);
  });
  InjectMouseMove(grab);
  InjectMouseButton(0, true, grab);
  desktop.Pump();
  int pos = GetScrollPos(client, SB_VERT);
  EXPECT_GT(pos, 0);
  // The children moved up by exactly the position the thumb was left at.
  EXPECT_EQ(Place(a).Top, before.Top - pos);
  EXPECT_EQ(Place(far).Top, area.Height() + 200 - pos);
  // The range covers the children, not the empty place they left: back at the top, the
  // topmost child lies at the client's edge.
  SendMessageW(client, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0), 0);
  EXPECT_EQ(Place(a).Top, 0);
  EXPECT_EQ(Place(far).Top - Place(a).Top, area.Height() + 190);
}

}  // namespace
}  // namespace win::test
