// The MDI client window, the frame's and the children's default procedures.
#include "platform/win/Mdi.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "platform/win/Input.h"
#include "platform/win/KeyboardLayout.h"
#include "platform/win/Keys.h"
#include "platform/win/MenuWindow.h"
#include "platform/win/NonClient.h"
#include "platform/win/Paint.h"
#include "platform/win/ScrollInfo.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Window.h"
#include "platform/win/WindowProc.h"
#include "platform/win/WindowSystem.h"

namespace win {

using namespace detail;

namespace {

// What a client keeps beside its window.
struct Client {
  HMENU windowMenu = nullptr;
  UINT idFirstChild = 0;
  std::vector<HWND> children;  // creation order: the window menu's order and commands
  HWND active = nullptr;
  HWND onBar = nullptr;     // the maximised child whose buttons are on the frame's menu bar
  HMENU barMenu = nullptr;  // the menu bar they were put on
  POINT scroll{0, 0};       // how far the children are scrolled
  bool adjusting = false;   // scroll bars being set or children being scrolled
  bool listed = false;      // the window menu holds the list (after a separator)
};

std::map<HWND, Client>& Clients() {
  static std::map<HWND, Client> clients;
  return clients;
}

Client* ClientOf(HWND client) {
  auto it = Clients().find(client);
  return it == Clients().end() ? nullptr : &it->second;
}

bool IsMdiChild(HWND hwnd) {
  return IsWindow(hwnd) && (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_MDICHILD) &&
         ClientOf(GetParent(hwnd));
}

// The client's children in z-order, topmost first.
std::vector<HWND> ZOrder(HWND client) {
  std::vector<HWND> out;
  for (HWND h = GetWindow(client, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
    if (GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_MDICHILD) out.push_back(h);
  return out;
}

int CascadeStep() {
  return GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
}

RECT ClientArea(HWND client) {
  RECT r;
  GetClientRect(client, &r);
  return r;
}

// The window menu's list: a separator, then "&1 Title" for each child, the active checked.
void RemoveList(Client& c) {
  if (!c.listed || !IsMenu(c.windowMenu)) {
    c.listed = false;
    return;
  }
  for (int i = GetMenuItemCount(c.windowMenu) - 1; i >= 0; --i) {
    UINT id = GetMenuItemID(c.windowMenu, i);
    if (id >= c.idFirstChild && id < c.idFirstChild + c.children.size() + 1)
      RemoveMenu(c.windowMenu, UINT(i), MF_BYPOSITION);
  }
  int last = GetMenuItemCount(c.windowMenu) - 1;
  if (const MenuItem* it = GetMenuItem(c.windowMenu, UINT(last), MF_BYPOSITION);
      it && (it->flags & MF_SEPARATOR))
    RemoveMenu(c.windowMenu, UINT(last), MF_BYPOSITION);
  c.listed = false;
}

void AddList(Client& c) {
  if (!IsMenu(c.windowMenu) || c.children.empty()) return;
  AppendMenuW(c.windowMenu, MF_SEPARATOR, 0, u"");
  for (std::size_t i = 0; i < c.children.size(); ++i) {
    std::u16string number;
    for (char d : std::to_string(i + 1)) number += char16_t(d);
    std::u16string text = u"&" + number + u" " + GetWindowTextW(c.children[i]);
    AppendMenuW(c.windowMenu, c.children[i] == c.active ? MF_CHECKED : MF_UNCHECKED,
                c.idFirstChild + i, text);
  }
  c.listed = true;
}

void RefreshList(Client& c) {
  RemoveList(c);
  AddList(c);
}

HWND FrameOf(HWND client) {
  return GetParent(client);
}

// Takes the maximised child's items off the menu bar they were put on.
void TakeOffBar(Client& c, HWND client) {
  if (!c.onBar) return;
  if (IsMenu(c.barMenu))
    for (int i = GetMenuItemCount(c.barMenu) - 1; i >= 0; --i) {
      const MenuItem* it = GetMenuItem(c.barMenu, UINT(i), MF_BYPOSITION);
      if (it && (it->flags & MF_OWNERDRAW) && it->data == reinterpret_cast<ULONG_PTR>(c.onBar))
        RemoveMenu(c.barMenu, UINT(i), MF_BYPOSITION);
    }
  c.onBar = nullptr;
  c.barMenu = nullptr;
  DrawMenuBar(FrameOf(client));
}

// Whether the bar still holds the maximised child's items (a menu filled again in place may
// have lost them).
bool BarHoldsItems(const Client& c) {
  for (int i = GetMenuItemCount(c.barMenu) - 1; i >= 0; --i)
    if (const MenuItem* it = GetMenuItem(c.barMenu, UINT(i), MF_BYPOSITION);
        it && (it->flags & MF_OWNERDRAW) && it->data == reinterpret_cast<ULONG_PTR>(c.onBar))
      return true;
  return false;
}

// Puts the active child's system menu icon and buttons on the frame's menu bar while it is
// maximised; takes them off otherwise.
void UpdateBar(HWND client) {
  Client* c = ClientOf(client);
  if (!c) return;
  HWND frame = FrameOf(client);
  HMENU bar = GetMenu(frame);
  HWND want = c->active && IsZoomed(c->active) && bar ? c->active : nullptr;
  if (want == c->onBar && bar == c->barMenu && (!want || BarHoldsItems(*c))) return;
  TakeOffBar(*c, client);
  if (!want) return;
  auto item = [&](UINT type, UINT id, HMENU sub) {
    MENUITEMINFOW mi;
    mi.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA | (sub ? MIIM_SUBMENU : 0);
    mi.fType = MFT_OWNERDRAW | type;
    mi.wID = id;
    mi.hSubMenu = sub;
    mi.dwItemData = reinterpret_cast<ULONG_PTR>(want);
    return mi;
  };
  if (HMENU sys = GetSystemMenu(want, false)) InsertMenuItemW(bar, 0, true, item(0, 0, sys));
  DWORD style = DWORD(GetWindowLongPtrW(want, GWL_STYLE));
  bool right = true;  // the first button starts the right-justified group
  for (auto [id, needs] :
       {std::pair{UINT(SC_MINIMIZE), WS_MINIMIZEBOX}, std::pair{UINT(SC_RESTORE), WS_MAXIMIZEBOX},
        std::pair{UINT(SC_CLOSE), DWORD(0)}}) {
    if (needs && !(style & needs)) continue;
    InsertMenuItemW(bar, UINT(GetMenuItemCount(bar)), true,
                    item(right ? MFT_RIGHTJUSTIFY : 0, id, nullptr));
    right = false;
  }
  c->onBar = want;
  c->barMenu = bar;
  DrawMenuBar(frame);
}

// Sets the client's scroll bars to what the children's extent needs (none with a maximised
// child).
void UpdateScrollBars(HWND client) {
  Client* c = ClientOf(client);
  if (!c || c->adjusting) return;
  c->adjusting = true;
  RECT area = ClientArea(client), extent = area;
  bool maximized = false;
  for (HWND h : c->children) {
    if (!IsWindowVisible(h) || IsIconic(h)) continue;
    maximized |= IsZoomed(h) != 0;
    RECT r;
    GetWindowRect(h, &r);
    MapWindowPoints(nullptr, client, reinterpret_cast<POINT*>(&r), 2);
    extent = {std::min(extent.Left, r.Left), std::min(extent.Top, r.Top),
              std::max(extent.Right, r.Right), std::max(extent.Bottom, r.Bottom)};
  }
  if (maximized) extent = area;
  auto set = [&](int bar, int lo, int hi, int page, int pos) {
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = lo + pos;
    si.nMax = hi + pos - 1;
    si.nPage = UINT(page);
    si.nPos = pos;
    SetScrollInfo(client, bar, si, true);
  };
  set(SB_HORZ, extent.Left, extent.Right, area.Width(), c->scroll.X);
  set(SB_VERT, extent.Top, extent.Bottom, area.Height(), c->scroll.Y);
  c->adjusting = false;
}

// Scrolls the children so that the bar's position becomes pos.
void ScrollTo(HWND client, int bar, int pos) {
  Client* c = ClientOf(client);
  if (!c) return;
  SCROLLINFO si;
  si.fMask = SIF_RANGE | SIF_PAGE;
  GetScrollInfo(client, bar, &si);
  int top = si.nMax - std::max(int(si.nPage) - 1, 0);
  pos = std::clamp(pos, si.nMin, std::max(si.nMin, top));
  int& now = bar == SB_HORZ ? c->scroll.X : c->scroll.Y;
  int delta = now - pos;
  if (!delta) return;
  now = pos;
  c->adjusting = true;
  for (HWND h : c->children) {
    RECT r;
    GetWindowRect(h, &r);
    MapWindowPoints(nullptr, client, reinterpret_cast<POINT*>(&r), 2);
    SetWindowPos(h, nullptr, r.Left + (bar == SB_HORZ ? delta : 0),
                 r.Top + (bar == SB_VERT ? delta : 0), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SetScrollPos(client, bar, pos, true);
  c->adjusting = false;
  InvalidateRect(client, nullptr, true);
}

void Scroll(HWND client, int bar, WPARAM wParam) {
  SCROLLINFO si;
  si.fMask = SIF_ALL;
  if (!GetScrollInfo(client, bar, &si)) return;
  int line = GetSystemMetrics(SM_CYCAPTION), page = int(si.nPage);
  switch (LOWORD(wParam)) {
    case SB_LINEUP:
      ScrollTo(client, bar, si.nPos - line);
      break;
    case SB_LINEDOWN:
      ScrollTo(client, bar, si.nPos + line);
      break;
    case SB_PAGEUP:
      ScrollTo(client, bar, si.nPos - page);
      break;
    case SB_PAGEDOWN:
      ScrollTo(client, bar, si.nPos + page);
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      // The release reports the dragged place too: scroll there, not back to the old one.
      ScrollTo(client, bar, short(HIWORD(wParam)));
      break;
    case SB_ENDSCROLL:
      UpdateScrollBars(client);
      break;
    default:
      break;
  }
}

void Activate(HWND client, HWND child) {
  Client* c = ClientOf(client);
  if (!c || !IsMdiChild(child) || GetParent(child) != client || c->active == child) return;
  HWND old = c->active;
  bool keepMaximized = old && IsZoomed(old);
  c->active = child;
  if (old) {
    Deliver(old, WM_NCACTIVATE, 0, 0);
    Deliver(old, WM_MDIACTIVATE, WParamFromHwnd(old), reinterpret_cast<LPARAM>(child));
  }
  if (!(c = ClientOf(client)) || c->active != child || !IsWindow(child)) return;
  SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  // A maximised child hands its state on to the one that comes.
  if (keepMaximized && IsWindow(old)) {
    if (!IsZoomed(child)) ShowWindow(child, SW_SHOWMAXIMIZED);
    ShowWindow(old, SW_RESTORE);
  }
  Deliver(child, WM_NCACTIVATE, RootOf(client) == GetActiveWindow(), 0);
  Deliver(child, WM_MDIACTIVATE, WParamFromHwnd(old), reinterpret_cast<LPARAM>(child));
  if (!(c = ClientOf(client))) return;
  if (RootOf(client) == GetActiveWindow() && !IsChild(child, GetFocus())) SetFocus(child);
  RefreshList(*c);
  UpdateBar(client);
}

// A child goes away: the next one in z-order becomes active (maximised if it was).
void Forget(HWND client, HWND child) {
  Client* c = ClientOf(client);
  if (!c) return;
  auto it = std::find(c->children.begin(), c->children.end(), child);
  if (it == c->children.end()) return;
  bool wasMaximized = IsZoomed(child);
  RemoveList(*c);
  if (c->onBar == child) TakeOffBar(*c, client);
  c->children.erase(it);
  for (std::size_t i = 0; i < c->children.size(); ++i)
    SetWindowLongPtrW(c->children[i], GWLP_ID, LONG_PTR(c->idFirstChild + i));
  if (c->active == child) {
    c->active = nullptr;
    for (HWND h : ZOrder(client))
      if (h != child && std::find(c->children.begin(), c->children.end(), h) != c->children.end()) {
        if (wasMaximized) ShowWindow(h, SW_SHOWMAXIMIZED);
        Activate(client, h);
        break;
      }
  }
  if ((c = ClientOf(client))) {
    RefreshList(*c);
    UpdateBar(client);
  }
}

// Where the k-th cascaded child goes, and its size.
RECT CascadePlace(RECT area, int k, int count) {
  int step = CascadeStep();
  int cx = std::max(area.Width() - step * (count - 1), area.Width() / 2);
  int cy = std::max(area.Height() - step * (count - 1), area.Height() / 2);
  int fit = std::max(1, (area.Height() - cy) / std::max(step, 1) + 1);
  int at = (k % fit) * step;
  return RECT{at, at, at + cx, at + cy};
}

// The children a tile or cascade arranges: shown, not minimised (nor disabled with skip),
// bottom first, so that the active child ends on top.
std::vector<HWND> Arrangeable(HWND client, bool skipDisabled) {
  std::vector<HWND> out;
  std::vector<HWND> z = ZOrder(client);
  for (auto it = z.rbegin(); it != z.rend(); ++it)
    if (IsWindowVisible(*it) && !IsIconic(*it) && !(skipDisabled && !IsWindowEnabled(*it)))
      out.push_back(*it);
  return out;
}

void Restore(HWND hwnd) {
  if (IsZoomed(hwnd)) ShowWindow(hwnd, SW_RESTORE);
}

void Cascade(HWND client, WPARAM how) {
  std::vector<HWND> list = Arrangeable(client, how & MDITILE_SKIPDISABLED);
  RECT area = ClientArea(client);
  for (std::size_t i = 0; i < list.size(); ++i) {
    Restore(list[i]);
    RECT r = CascadePlace(area, int(i), int(list.size()));
    SetWindowPos(list[i], HWND_TOP, r.Left, r.Top, r.Width(), r.Height(), SWP_NOACTIVATE);
  }
}

// Equal columns (rows for MDITILE_HORIZONTAL), each split in equal rows; the last ones take
// the children left over.
void Tile(HWND client, WPARAM how) {
  std::vector<HWND> list = Arrangeable(client, how & MDITILE_SKIPDISABLED);
  std::reverse(list.begin(), list.end());  // the active child first
  int n = int(list.size());
  if (!n) return;
  RECT area = ClientArea(client);
  int groups = n / int(std::sqrt(double(n)));  // columns (vertical) or rows (horizontal)
  bool horizontal = how & MDITILE_HORIZONTAL;
  int span = horizontal ? area.Height() : area.Width();
  int other = horizontal ? area.Width() : area.Height();
  int k = 0;
  for (int g = 0; g < groups; ++g) {
    int inGroup = n / groups + (g >= groups - n % groups ? 1 : 0);
    int a0 = span * g / groups, a1 = span * (g + 1) / groups;
    for (int j = 0; j < inGroup && k < n; ++j, ++k) {
      int b0 = other * j / inGroup, b1 = other * (j + 1) / inGroup;
      RECT r = horizontal ? RECT{b0, a0, b1, a1} : RECT{a0, b0, a1, b1};
      Restore(list[std::size_t(k)]);
      SetWindowPos(list[std::size_t(k)], nullptr, r.Left, r.Top, r.Width(), r.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
}

// Minimised children in a row along the bottom, left to right, wrapping upwards.
void ArrangeIcons(HWND client) {
  RECT area = ClientArea(client);
  int w = GetSystemMetrics(SM_CXMINTRACK),
      h = GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYFRAME);
  int x = 0, y = area.Bottom - h;
  Client* c = ClientOf(client);
  if (!c) return;
  for (HWND child : std::vector<HWND>(c->children)) {
    if (!IsIconic(child)) continue;
    if (x > 0 && x + w > area.Right) x = 0, y -= h;
    SetWindowPos(child, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    x += w;
  }
}

HWND Next(HWND client, HWND from, bool previous) {
  Client* c = ClientOf(client);
  if (!c) return nullptr;
  std::vector<HWND> z = ZOrder(client);
  if (!from) from = c->active;
  auto it = std::find(z.begin(), z.end(), from);
  if (z.size() < 2 || it == z.end()) return nullptr;
  HWND target = previous ? z.back() : (it + 1 == z.end() ? z.front() : *(it + 1));
  if (target == from) return nullptr;
  Activate(client, target);
  // Going forward sends the one left to the bottom, so repeated steps visit every child.
  if (!previous && IsWindow(from))
    SetWindowPos(from, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return target;
}

HWND Create(HWND client, const MDICREATESTRUCTW& mcs) {
  Client* c = ClientOf(client);
  if (!c) return nullptr;
  DWORD style = mcs.style | WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU |
                WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  bool visible = style & WS_VISIBLE;
  style &= ~(WS_VISIBLE | WS_MAXIMIZE | WS_MINIMIZE);
  RECT place =
      CascadePlace(ClientArea(client), int(c->children.size()), int(c->children.size()) + 1);
  RECT area = ClientArea(client);
  place = {place.Left, place.Top, place.Left + area.Width() * 3 / 4,
           place.Top + area.Height() * 3 / 4};
  int x = mcs.x == CW_USEDEFAULT ? place.Left : mcs.x;
  int y = mcs.x == CW_USEDEFAULT ? place.Top : mcs.y;
  int cx = mcs.cx == CW_USEDEFAULT ? place.Width() : mcs.cx;
  int cy = mcs.cx == CW_USEDEFAULT ? place.Height() : mcs.cy;
  UINT id = c->idFirstChild + UINT(c->children.size());
  // Without WS_EX_NOPARENTNOTIFY: the client hears of the child's end by WM_PARENTNOTIFY.
  HWND child = CreateWindowExW(WS_EX_MDICHILD, mcs.szClass ? mcs.szClass : u"",
                               mcs.szTitle ? mcs.szTitle : u"", style, x, y, cx, cy, client, id,
                               const_cast<MDICREATESTRUCTW*>(&mcs));
  if (!child || !(c = ClientOf(client))) return child;
  c->children.push_back(child);
  HWND old = c->active;
  bool maximize = (mcs.style & WS_MAXIMIZE) || (old && IsZoomed(old));
  if (mcs.style & WS_MINIMIZE) {
    ShowWindow(child, SW_SHOWMINNOACTIVE);
  } else if (visible || maximize) {
    if (maximize) ShowWindow(child, SW_SHOWMAXIMIZED);
    ShowWindow(child, SW_SHOWNOACTIVATE);
    Activate(client, child);
  }
  if ((c = ClientOf(client))) RefreshList(*c);
  UpdateScrollBars(client);
  return child;
}

HMENU SetMdiMenu(HWND client, HMENU frameMenu, HMENU windowMenu) {
  Client* c = ClientOf(client);
  HWND frame = FrameOf(client);
  HMENU old = GetMenu(frame);
  if (!c) return old;
  if (windowMenu) {
    RemoveList(*c);
    c->windowMenu = windowMenu;
  }
  if (frameMenu && frameMenu != old) {
    TakeOffBar(*c, client);
    SetMenu(frame, frameMenu);
  }
  RefreshList(*c);
  UpdateBar(client);
  DrawMenuBar(frame);
  return old;
}

LRESULT ClientProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE: {
      auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      Client c;
      if (auto* ccs = static_cast<const CLIENTCREATESTRUCT*>(cs->lpCreateParams)) {
        c.windowMenu = ccs->hWindowMenu;
        c.idFirstChild = ccs->idFirstChild;
      }
      Clients()[hwnd] = c;
      ShowScrollBar(hwnd, SB_BOTH, false);
      return 0;
    }
    case WM_MDICREATE:
      return lParam ? reinterpret_cast<LRESULT>(
                          Create(hwnd, *reinterpret_cast<const MDICREATESTRUCTW*>(lParam)))
                    : 0;
    case WM_MDIDESTROY:
      if (IsMdiChild(HwndFromParam(wParam)) && GetParent(HwndFromParam(wParam)) == hwnd)
        DestroyWindow(HwndFromParam(wParam));
      return 0;
    case WM_MDIACTIVATE:
      Activate(hwnd, HwndFromParam(wParam));
      return 0;
    case WM_MDIGETACTIVE: {
      Client* c = ClientOf(hwnd);
      HWND active = c ? c->active : nullptr;
      if (auto* maximized = reinterpret_cast<bool*>(lParam))
        *maximized = active && IsZoomed(active);
      return reinterpret_cast<LRESULT>(active);
    }
    case WM_MDINEXT:
      Next(hwnd, HwndFromParam(wParam), lParam != 0);
      return 0;
    case WM_MDIMAXIMIZE:
      if (IsMdiChild(HwndFromParam(wParam))) ShowWindow(HwndFromParam(wParam), SW_MAXIMIZE);
      return 0;
    case WM_MDIRESTORE:
      if (IsMdiChild(HwndFromParam(wParam))) ShowWindow(HwndFromParam(wParam), SW_RESTORE);
      return 0;
    case WM_MDITILE:
      Tile(hwnd, wParam);
      return 1;
    case WM_MDICASCADE:
      Cascade(hwnd, wParam);
      return 1;
    case WM_MDIICONARRANGE:
      ArrangeIcons(hwnd);
      return 0;
    case WM_MDISETMENU:
      return reinterpret_cast<LRESULT>(
          SetMdiMenu(hwnd, reinterpret_cast<HMENU>(wParam), reinterpret_cast<HMENU>(lParam)));
    case WM_MDIREFRESHMENU:
      return reinterpret_cast<LRESULT>(SetMdiMenu(hwnd, nullptr, nullptr));
    case WM_SIZE: {
      // A maximised child keeps filling the client.
      Client* c = ClientOf(hwnd);
      if (c && c->active && IsZoomed(c->active)) {
        RECT r = ClientArea(hwnd);
        AdjustWindowRectEx(&r, DWORD(GetWindowLongPtrW(c->active, GWL_STYLE)) & ~WS_MAXIMIZE, false,
                           DWORD(GetWindowLongPtrW(c->active, GWL_EXSTYLE)));
        SetWindowPos(c->active, nullptr, r.Left, r.Top, r.Width(), r.Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
      }
      UpdateScrollBars(hwnd);
      return 0;
    }
    case WM_PARENTNOTIFY:
      // Told of every child going away, whatever its procedure does.
      if (LOWORD(wParam) == WM_DESTROY) Forget(hwnd, HwndFromParam(std::uintptr_t(lParam)));
      return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
      Scroll(hwnd, msg == WM_HSCROLL ? SB_HORZ : SB_VERT, wParam);
      return 0;
    case WM_SETFOCUS:
      if (Client* c = ClientOf(hwnd); c && c->active) SetFocus(c->active);
      return 0;
    case WM_DESTROY:
      if (Client* c = ClientOf(hwnd)) {
        RemoveList(*c);
        TakeOffBar(*c, hwnd);
      }
      return 0;
    case WM_NCDESTROY:
      Clients().erase(hwnd);
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

// The maximised child's items on the frame's menu bar: its icon and its caption buttons.
bool MeasureBarItem(HWND client, MEASUREITEMSTRUCT* mis) {
  Client* c = ClientOf(client);
  if (!c || !c->onBar || mis->CtlType != ODT_MENU ||
      mis->itemData != reinterpret_cast<ULONG_PTR>(c->onBar))
    return false;
  int h = GetSystemMetrics(SM_CYMENU);
  mis->itemWidth = UINT(mis->itemID == 0xFFFFFFFF ? h : h + 2);
  mis->itemHeight = UINT(h);
  return true;
}

bool DrawBarItem(HWND client, const DRAWITEMSTRUCT* dis) {
  Client* c = ClientOf(client);
  if (!c || !c->onBar || dis->CtlType != ODT_MENU ||
      dis->itemData != reinterpret_cast<ULONG_PTR>(c->onBar))
    return false;
  RECT r = dis->rcItem;
  gfx::FillRect(dis->hDC, r, GetSysColor(COLOR_MENU));
  int inset = 2;
  RECT box{r.Left + inset, r.Top + inset, r.Right - inset, r.Bottom - inset};
  switch (dis->itemID) {
    case SC_MINIMIZE:
      DrawCaptionButton(dis->hDC, box, HTMINBUTTON, false);
      break;
    case SC_RESTORE:
      DrawCaptionButton(dis->hDC, box, HTMAXBUTTON, true);
      break;
    case SC_CLOSE:
      DrawCaptionButton(dis->hDC, box, HTCLOSE, false);
      break;
    default:
      if (Window* w = FindReal(c->onBar))
        gfx::DrawIconEx(dis->hDC, box.Left, box.Top, CaptionIcon(*w), box.Width(), box.Height(),
                        gfx::DI_NORMAL);
      break;
  }
  return true;
}

}  // namespace

void RegisterMdiClientClass() {
  for (auto& c : S().classes)
    if (c->name == MDICLIENT_CLASS) return;
  WNDCLASSEXW wc;
  wc.lpfnWndProc = MakeWindowProc(ClientProc);
  wc.hCursor = LoadCursorW(IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(COLOR_APPWORKSPACE);
  wc.lpszClassName = MDICLIENT_CLASS;
  RegisterClassExW(wc);
}

LRESULT DefFrameProcW(HWND frame, HWND client, UINT msg, WPARAM wParam, LPARAM lParam) {
  Client* c = ClientOf(client);
  switch (msg) {
    case WM_COMMAND: {
      if (!c || HIWORD(wParam)) break;
      UINT id = LOWORD(wParam);
      // The window menu's entries first: their commands may lie among the system ones.
      if (id >= c->idFirstChild && id < c->idFirstChild + c->children.size()) {
        HWND child = c->children[id - c->idFirstChild];
        if (IsIconic(child)) ShowWindow(child, SW_RESTORE);
        Activate(client, child);
        return 0;
      }
      // The maximised child's buttons and system menu on the bar command the active child.
      if (id >= 0xF000 && c->active) {
        Deliver(c->active, WM_SYSCOMMAND, id, 0);
        return 0;
      }
      break;
    }
    case WM_SIZE:
      if (client && IsWindow(client))
        MoveWindow(client, 0, 0, LOWORD(lParam), HIWORD(lParam), true);
      return DefWindowProcW(frame, msg, wParam, lParam);
    case WM_SETFOCUS:
      if (client && IsWindow(client)) SetFocus(client);
      return 0;
    case WM_NCACTIVATE:
      if (c && c->active) Deliver(c->active, WM_NCACTIVATE, wParam, 0);
      break;
    case WM_MEASUREITEM:
      if (MeasureBarItem(client, reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) return 1;
      break;
    case WM_DRAWITEM:
      if (DrawBarItem(client, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return 1;
      break;
    default:
      break;
  }
  return DefWindowProcW(frame, msg, wParam, lParam);
}

LRESULT DefMDIChildProcW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND client = GetParent(hwnd);
  Client* c = ClientOf(client);
  if (!c) return DefWindowProcW(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_MOUSEACTIVATE:
    case WM_CHILDACTIVATE:
      Activate(client, hwnd);
      return msg == WM_MOUSEACTIVATE ? DefWindowProcW(hwnd, msg, wParam, lParam) : 0;
    case WM_SETFOCUS:
      Activate(client, hwnd);
      return DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_NCPAINT:
    case WM_NCACTIVATE:
      // Drawn active while it is the client's active child in the active frame.
      DefWindowProcW(hwnd, WM_NCACTIVATE, c->active == hwnd && RootOf(client) == GetActiveWindow(),
                     0);
      return msg == WM_NCACTIVATE ? 1 : 0;
    case WM_GETMINMAXINFO: {
      // Maximised, the caption and frame lie outside the client.
      auto* mmi = reinterpret_cast<MINMAXINFO*>(lParam);
      RECT r = ClientArea(client);
      AdjustWindowRectEx(&r, DWORD(GetWindowLongPtrW(hwnd, GWL_STYLE)) & ~WS_MAXIMIZE, false,
                         DWORD(GetWindowLongPtrW(hwnd, GWL_EXSTYLE)));
      mmi->ptMaxPosition = {r.Left, r.Top};
      mmi->ptMaxSize = {r.Width(), r.Height()};
      mmi->ptMaxTrackSize = {std::max(mmi->ptMaxTrackSize.X, r.Width()),
                             std::max(mmi->ptMaxTrackSize.Y, r.Height())};
      return 0;
    }
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_NEXTWINDOW:
        case SC_PREVWINDOW:
          Next(client, hwnd, (wParam & 0xFFF0) == SC_PREVWINDOW);
          return 0;
        case SC_MAXIMIZE:
        case SC_RESTORE:
          Activate(client, hwnd);
          break;
        default:
          break;
      }
      return DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_CLOSE:
      Deliver(client, WM_MDIDESTROY, WParamFromHwnd(hwnd), 0);
      return 0;
    case WM_SIZE: {
      LRESULT r = DefWindowProcW(hwnd, msg, wParam, lParam);
      if (wParam == SIZE_MINIMIZED) ArrangeIcons(client);
      // A maximised child is the active one (the one whose buttons the menu bar shows).
      if (wParam == SIZE_MAXIMIZED && IsWindowVisible(hwnd)) Activate(client, hwnd);
      UpdateBar(client);
      UpdateScrollBars(client);
      return r;
    }
    case WM_MOVE:
      UpdateScrollBars(client);
      return DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_WINDOWPOSCHANGED: {
      // A child shown comes forward as the active one; shown or hidden, it counts for the
      // client's bars or stops counting.
      const UINT flags = reinterpret_cast<const WINDOWPOS*>(lParam)->flags;
      if (flags & SWP_SHOWWINDOW) Activate(client, hwnd);
      const LRESULT r = DefWindowProcW(hwnd, msg, wParam, lParam);
      if (flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)) UpdateScrollBars(client);
      return r;
    }
    case WM_SETTEXT: {
      LRESULT r = DefWindowProcW(hwnd, msg, wParam, lParam);
      if ((c = ClientOf(client)) && c->listed) RefreshList(*c);
      return r;
    }
    default:
      return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

bool TranslateMDISysAccel(HWND client, const MSG& msg) {
  Client* c = ClientOf(client);
  if (!c || !c->active || msg.message != WM_KEYDOWN || !(GetKeyState(VK_CONTROL) & 0x8000))
    return false;
  WPARAM cmd = 0;
  if (msg.wParam == VK_F4) cmd = SC_CLOSE;
  if (msg.wParam == VK_F6) cmd = (GetKeyState(VK_SHIFT) & 0x8000) ? SC_PREVWINDOW : SC_NEXTWINDOW;
  if (!cmd) return false;
  Deliver(c->active, WM_SYSCOMMAND, cmd, 0);
  return true;
}

namespace detail {

bool InInactiveMdiChild(HWND target) {
  for (HWND h = target; h && IsWindow(h); h = GetParent(h))
    if (IsMdiChild(h)) return ClientOf(GetParent(h))->active != h;
  return false;
}

}  // namespace detail

}  // namespace win
