// The default window procedure: what a window does with a message it does not handle.
#include <algorithm>

#include "platform/win/Input.h"
#include "platform/win/Keys.h"
#include "platform/win/MenuWindow.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/NonClient.h"
#include "platform/win/Paint.h"
#include "platform/win/ScrollInfo.h"
#include "platform/win/Styles.h"
#include "platform/win/Window.h"
#include "platform/win/WindowProc.h"
#include "platform/win/WindowSystem.h"

namespace win {

using namespace detail;

namespace detail {

void ModalLoop(HWND hwnd, const std::function<bool(const MSG&, bool* done)>& handle) {
  SetCapture(hwnd);
  struct Release {  // also when a handler throws
    HWND hwnd;
    ~Release() {
      if (GetCapture() == hwnd) ReleaseCapture();
    }
  } release{hwnd};
  bool done = false;
  MSG msg;
  while (!done && GetCapture() == hwnd && IsWindow(hwnd)) {
    if (!GetMessageW(&msg, nullptr, 0, 0)) {
      PostQuitMessage(int(msg.wParam));
      break;
    }
    if (handle(msg, &done)) continue;
    TranslateMessage(msg);
    DispatchMessageW(msg);
  }
}

}  // namespace detail

namespace {

bool altAlone = false;  // Alt went down and nothing else since

// Moves the window with the mouse (started by a press at start) or with the arrow keys;
// Enter or the button's release ends, Escape puts the window back.
void MoveLoop(HWND hwnd, bool byMouse) {
  Window* w = FindReal(hwnd);
  if (!w || (w->style & WS_MAXIMIZE)) return;
  RECT start = w->rect;
  POINT anchor = S().cursorPos;
  Deliver(hwnd, WM_ENTERSIZEMOVE, 0, 0);
  auto moveTo = [&](int dx, int dy) {
    RECT r = start.Offset(dx, dy);
    Deliver(hwnd, WM_MOVING, 0, reinterpret_cast<LPARAM>(&r));
    SetWindowPos(hwnd, nullptr, r.Left, r.Top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  };
  POINT keyOffset{0, 0};
  ModalLoop(hwnd, [&](const MSG& m, bool* done) {
    if (m.hwnd != hwnd && m.message >= WM_MOUSEFIRST && m.message <= WM_MOUSELAST) return true;
    switch (m.message) {
      case WM_MOUSEMOVE:
        if (byMouse) moveTo(S().cursorPos.X - anchor.X, S().cursorPos.Y - anchor.Y);
        return true;
      case WM_LBUTTONUP:
        *done = true;
        return true;
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
        switch (m.wParam) {
          case VK_RETURN:
            *done = true;
            break;
          case VK_ESCAPE:
            moveTo(0, 0);
            *done = true;
            break;
          case VK_LEFT:
            keyOffset.X -= 8;
            moveTo(keyOffset.X, keyOffset.Y);
            break;
          case VK_RIGHT:
            keyOffset.X += 8;
            moveTo(keyOffset.X, keyOffset.Y);
            break;
          case VK_UP:
            keyOffset.Y -= 8;
            moveTo(keyOffset.X, keyOffset.Y);
            break;
          case VK_DOWN:
            keyOffset.Y += 8;
            moveTo(keyOffset.X, keyOffset.Y);
            break;
          default:
            break;
        }
        return true;
      case WM_KEYUP:
      case WM_SYSKEYUP:
      case WM_CHAR:
      case WM_SYSCHAR:
        return true;
      default:
        return m.message >= WM_MOUSEFIRST && m.message <= WM_MOUSELAST;
    }
  });
  Deliver(hwnd, WM_EXITSIZEMOVE, 0, 0);
}

// Sizes the window by the frame part hit (HTLEFT..HTBOTTOMRIGHT) with the mouse, or, for no
// part (the system menu's Size), with the keyboard: the first arrow picks the edge, the
// arrows then move it 8 pixels, Enter ends and Escape puts the window back.
void SizeLoop(HWND hwnd, LRESULT hit) {
  Window* w = FindReal(hwnd);
  if (!w || !(w->style & WS_THICKFRAME) || (w->style & WS_MAXIMIZE)) return;
  RECT start = w->rect;
  POINT anchor = S().cursorPos;
  bool left = hit == HTLEFT || hit == HTTOPLEFT || hit == HTBOTTOMLEFT;
  bool right = hit == HTRIGHT || hit == HTTOPRIGHT || hit == HTBOTTOMRIGHT || hit == HTSIZE;
  bool top = hit == HTTOP || hit == HTTOPLEFT || hit == HTTOPRIGHT;
  bool bottom = hit == HTBOTTOM || hit == HTBOTTOMLEFT || hit == HTBOTTOMRIGHT || hit == HTSIZE;
  bool byKeys = !(left || right || top || bottom);
  Deliver(hwnd, WM_ENTERSIZEMOVE, 0, 0);
  MINMAXINFO mmi = AskMinMaxInfo(hwnd);
  POINT lo = mmi.ptMinTrackSize;
  POINT hi{std::max(mmi.ptMaxTrackSize.X, lo.X), std::max(mmi.ptMaxTrackSize.Y, lo.Y)};
  auto sizeBy = [&](int dx, int dy) {
    // The moving edges stop where the size would leave the window's tracking limits.
    RECT r = start;
    if (left) r.Left = std::clamp(r.Left + dx, r.Right - hi.X, r.Right - lo.X);
    if (right) r.Right = std::clamp(r.Right + dx, r.Left + lo.X, r.Left + hi.X);
    if (top) r.Top = std::clamp(r.Top + dy, r.Bottom - hi.Y, r.Bottom - lo.Y);
    if (bottom) r.Bottom = std::clamp(r.Bottom + dy, r.Top + lo.Y, r.Top + hi.Y);
    Deliver(hwnd, WM_SIZING, WPARAM(hit - HTLEFT + 1), reinterpret_cast<LPARAM>(&r));
    SetWindowPos(hwnd, nullptr, r.Left, r.Top, r.Width(), r.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  };
  POINT keyOffset{0, 0};
  ModalLoop(hwnd, [&](const MSG& m, bool* done) {
    if (byKeys && (m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN)) {
      int dx = m.wParam == VK_LEFT ? -8 : m.wParam == VK_RIGHT ? 8 : 0;
      int dy = m.wParam == VK_UP ? -8 : m.wParam == VK_DOWN ? 8 : 0;
      if (!(left || right || top || bottom)) {
        left = dx<0, right = dx> 0, top = dy<0, bottom = dy> 0;
        hit = left ? HTLEFT : right ? HTRIGHT : top ? HTTOP : HTBOTTOM;
      } else if (dx || dy) {
        keyOffset = {keyOffset.X + dx, keyOffset.Y + dy};
        sizeBy(keyOffset.X, keyOffset.Y);
      }
      if (m.wParam == VK_ESCAPE) sizeBy(0, 0);
      if (m.wParam == VK_RETURN || m.wParam == VK_ESCAPE) *done = true;
      return true;
    }
    if (byKeys && m.message >= WM_KEYFIRST && m.message <= WM_KEYLAST) return true;
    if (m.message == WM_MOUSEMOVE && m.hwnd == hwnd && !byKeys) {
      sizeBy(S().cursorPos.X - anchor.X, S().cursorPos.Y - anchor.Y);
      return true;
    }
    if (m.message == WM_LBUTTONUP) *done = true;
    return m.message >= WM_MOUSEFIRST && m.message <= WM_MOUSELAST;
  });
  Deliver(hwnd, WM_EXITSIZEMOVE, 0, 0);
}

// A caption button acts when the button is released over it.
void TrackCaptionButton(HWND hwnd, LRESULT hit) {
  bool over = true;
  ModalLoop(hwnd, [&](const MSG& m, bool* done) {
    if (m.message == WM_MOUSEMOVE || m.message == WM_LBUTTONUP) {
      over = DefaultHitTest(hwnd, S().cursorPos) == hit;
      if (m.message == WM_LBUTTONUP) *done = true;
      return true;
    }
    return m.message >= WM_MOUSEFIRST && m.message <= WM_MOUSELAST;
  });
  if (!over || !IsWindow(hwnd)) return;
  WPARAM cmd = hit == HTCLOSE       ? SC_CLOSE
               : hit == HTMINBUTTON ? SC_MINIMIZE
               : IsZoomed(hwnd)     ? SC_RESTORE
                                    : SC_MAXIMIZE;
  Deliver(hwnd, WM_SYSCOMMAND, cmd, LParamFromPoint(S().cursorPos));
}

LRESULT DefaultSetCursor(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  Window* w = FindReal(hwnd);
  if (!w) return 0;
  // A child first asks its parent, which may decide for it.
  if ((w->style & WS_CHILD) && Deliver(w->parent, WM_SETCURSOR, wParam, lParam)) return 1;
  if (!(w = FindReal(hwnd))) return 0;
  short hit = short(LOWORD(std::uintptr_t(lParam)));
  int id = IDC_ARROW;
  switch (hit) {
    case HTCLIENT:
      if (w->cls->cursor) {
        SetCursor(w->cls->cursor);
        return 1;
      }
      return 0;
    case HTLEFT:
    case HTRIGHT:
      id = IDC_SIZEWE;
      break;
    case HTTOP:
    case HTBOTTOM:
      id = IDC_SIZENS;
      break;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT:
      id = IDC_SIZENWSE;
      break;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT:
      id = IDC_SIZENESW;
      break;
    default:
      break;
  }
  if (hit == HTSIZE && (w->style & WS_THICKFRAME)) id = IDC_SIZENWSE;
  SetCursor(LoadCursorW(id));
  return 1;
}

// Where Alt+Space and a press on the icon open the system menu: below the icon.
POINT SystemMenuPlace(HWND hwnd) {
  RECT wr;
  GetWindowRect(hwnd, &wr);
  FrameLayout f = GetFrameLayout(hwnd);
  int below = f.caption.IsEmpty() ? f.border : f.caption.Bottom;
  return {wr.Left + f.border, wr.Top + below};
}

LRESULT SysCommand(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  WPARAM cmd = wParam & 0xFFF0;
  switch (cmd) {
    case SC_KEYMENU: {
      // Alt+Space: the system menu; F10 or Alt alone: the menu bar; Alt+letter: its item.
      if (lParam == ' ') {
        ShowSystemMenu(hwnd, SystemMenuPlace(hwnd));
      } else if (HMENU bar = GetMenu(hwnd)) {
        int hot = lParam ? MenuAccessKey(bar, char16_t(lParam)) : -1;
        if (!lParam || hot >= 0) TrackMenuBar(hwnd, hot, lParam != 0, false);
      }
      return 0;
    }
    case SC_MOUSEMENU: {
      POINT pt = PointFromLParam(lParam);
      if ((wParam & 0x0F) == HTSYSMENU) {
        ShowSystemMenu(hwnd, SystemMenuPlace(hwnd));
      } else if (HMENU bar = GetMenu(hwnd)) {
        int hot = -1;
        RECT r;
        for (int i = 0, n = GetMenuItemCount(bar); i < n && hot < 0; ++i)
          if (GetMenuItemRect(hwnd, bar, UINT(i), &r) && r.Contains(pt)) hot = i;
        if (hot >= 0) TrackMenuBar(hwnd, hot, true, true);
      }
      return 0;
    }
    case SC_CLOSE:
      if (Window* w = FindReal(hwnd); w && !(w->cls->style & CS_NOCLOSE))
        Deliver(hwnd, WM_CLOSE, 0, 0);
      return 0;
    case SC_MOVE:
      MoveLoop(hwnd, (wParam & 0x0F) == HTCAPTION);
      return 0;
    case SC_SIZE:
      SizeLoop(hwnd, LRESULT(wParam & 0x0F) + HTLEFT - 1);
      return 0;
    case SC_MINIMIZE:
      ShowWindow(hwnd, SW_MINIMIZE);
      return 0;
    case SC_MAXIMIZE:
      ShowWindow(hwnd, SW_MAXIMIZE);
      return 0;
    case SC_RESTORE:
      ShowWindow(hwnd, SW_RESTORE);
      return 0;
    default:
      return 0;
  }
}

LRESULT NcButtonDown(HWND hwnd, WPARAM hit, LPARAM lParam) {
  POINT pt = PointFromLParam(lParam);
  switch (LRESULT(hit)) {
    case HTCAPTION: {
      HWND root = RootOf(hwnd);
      if (root == hwnd && S().active != hwnd) SetActiveWindow(hwnd);
      Deliver(hwnd, WM_SYSCOMMAND, SC_MOVE + HTCAPTION, lParam);
      return 0;
    }
    case HTSYSMENU:
    case HTMENU:
      Deliver(hwnd, WM_SYSCOMMAND, SC_MOUSEMENU + WPARAM(hit), lParam);
      return 0;
    case HTCLOSE:
    case HTMINBUTTON:
    case HTMAXBUTTON:
      TrackCaptionButton(hwnd, LRESULT(hit));
      return 0;
    case HTVSCROLL:
      TrackScrollBar(hwnd, SB_VERT, pt);
      return 0;
    case HTHSCROLL:
      TrackScrollBar(hwnd, SB_HORZ, pt);
      return 0;
    case HTLEFT:
    case HTRIGHT:
    case HTTOP:
    case HTTOPLEFT:
    case HTTOPRIGHT:
    case HTBOTTOM:
    case HTBOTTOMLEFT:
    case HTBOTTOMRIGHT:
      Deliver(hwnd, WM_SYSCOMMAND, SC_SIZE + WPARAM(hit - HTLEFT + 1), lParam);
      return 0;
    default:
      return 0;
  }
}

void DrawFrameNow(HWND hwnd, bool active) {
  if (!IsWindowVisible(hwnd)) return;
  HDC dc = GetWindowDC(hwnd);
  if (!dc) return;
  DrawDefaultFrame(hwnd, dc, active);
  ReleaseDC(hwnd, dc);
}

void Print(HWND hwnd, HDC dc, LPARAM flags) {
  Window* w = FindReal(hwnd);
  if (!w || !dc) return;
  if ((flags & PRF_CHECKVISIBLE) && !IsWindowVisible(hwnd)) return;
  if (flags & PRF_NONCLIENT) {
    int saved = gfx::SaveDC(dc);
    DrawDefaultFrame(hwnd, dc, RootOf(hwnd) == S().active);
    gfx::RestoreDC(dc, saved);
  }
  if (!(w = FindReal(hwnd))) return;
  RECT client = w->client;
  auto inClient = [&](UINT msg) {
    int saved = gfx::SaveDC(dc);
    gfx::IntersectClipRect(dc, client.Left, client.Top, client.Right, client.Bottom);
    gfx::OffsetViewportOrgEx(dc, client.Left, client.Top, nullptr);
    Deliver(hwnd, msg, reinterpret_cast<WPARAM>(dc), flags);
    gfx::RestoreDC(dc, saved);
  };
  if (flags & PRF_ERASEBKGND) inClient(WM_ERASEBKGND);
  if (flags & PRF_CLIENT) inClient(WM_PRINTCLIENT);
  if (!(flags & PRF_CHILDREN) || !(w = FindReal(hwnd))) return;
  std::vector<HWND> children = w->children;
  for (auto it = children.rbegin(); it != children.rend(); ++it) {  // bottom first
    Window* c = FindReal(*it);
    if (!c || !(c->style & WS_VISIBLE)) continue;
    RECT r = c->rect.Offset(client.Left, client.Top);
    int saved = gfx::SaveDC(dc);
    gfx::IntersectClipRect(dc, std::max(r.Left, client.Left), std::max(r.Top, client.Top),
                           std::min(r.Right, client.Right), std::min(r.Bottom, client.Bottom));
    gfx::OffsetViewportOrgEx(dc, r.Left, r.Top, nullptr);
    Deliver(*it, WM_PRINT, reinterpret_cast<WPARAM>(dc),
            flags | PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
    gfx::RestoreDC(dc, saved);
  }
}

}  // namespace

// Default handling of the messages the layers above leave to the system.
LRESULT DefWindowProcW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = FindReal(hwnd);
  if (!w) return 0;
  switch (msg) {
    case WM_NCCREATE: {
      auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      if (cs && cs->lpszName) w->text = cs->lpszName;
      return 1;
    }
    case WM_NCCALCSIZE: {
      RECT* r = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0]
                       : reinterpret_cast<RECT*>(lParam);
      // The bar's rows follow the width (its items may measure through the window).
      CountMenuRows(hwnd, r->Width());
      if (!(w = FindReal(hwnd))) return 0;
      *r = DefaultClientRect(*w, *r);
      return 0;
    }
    case WM_NCHITTEST:
      return DefaultHitTest(hwnd, PointFromLParam(lParam));
    case WM_NCPAINT:
      DrawFrameNow(hwnd, RootOf(hwnd) == S().active);
      return 0;
    case WM_NCACTIVATE:
      DrawFrameNow(hwnd, wParam != 0);
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd, &ps);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND: {
      HBRUSH brush = w->cls->background;
      if (!brush || !wParam) return 0;
      FillRect(reinterpret_cast<HDC>(wParam), RECT{0, 0, w->client.Width(), w->client.Height()},
               brush);
      return 1;
    }
    case WM_PRINT:
      Print(hwnd, reinterpret_cast<HDC>(wParam), lParam);
      return 0;
    case WM_SETREDRAW:
      w->redrawDisabled = wParam == 0;
      return 0;
    case WM_SETTEXT: {
      auto* text = reinterpret_cast<const char16_t*>(lParam);
      w->text = text ? text : u"";
      if ((w->style & WS_CAPTION) == WS_CAPTION)
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_NOCHILDREN);
      return 1;
    }
    case WM_GETTEXTLENGTH:
      return LRESULT(w->text.size());
    case WM_SETICON: {
      if (wParam != ICON_SMALL && wParam != ICON_BIG) return 0;
      gfx::HICON& slot = wParam == ICON_BIG ? w->iconBig : w->iconSmall;
      gfx::HICON old = slot;
      slot = reinterpret_cast<gfx::HICON>(lParam);
      if ((w->style & WS_CAPTION) == WS_CAPTION)
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_NOCHILDREN);
      return reinterpret_cast<LRESULT>(old);
    }
    case WM_GETICON: {
      gfx::HICON icon = wParam == ICON_BIG     ? w->iconBig
                        : wParam == ICON_SMALL ? w->iconSmall
                                               : CaptionIcon(*w);
      return reinterpret_cast<LRESULT>(icon);
    }
    case WM_GETTEXT: {
      auto* buffer = reinterpret_cast<char16_t*>(lParam);
      if (!buffer || wParam == 0) return 0;
      std::size_t n = std::min<std::size_t>(w->text.size(), wParam - 1);
      std::copy_n(w->text.begin(), n, buffer);
      buffer[n] = 0;
      return LRESULT(n);
    }
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_SYSCOMMAND:
      return SysCommand(hwnd, wParam, lParam);
    case WM_NCMOUSEMOVE: {
      // The bar's item under the mouse shows hot before any click; a leave clears it.
      int hot = -1;
      if (LRESULT(wParam) == HTMENU && GetMenu(hwnd)) {
        POINT p = PointFromLParam(lParam);
        RECT wr;
        GetWindowRect(hwnd, &wr);
        hot = MenuBarItemAt(hwnd, {p.X - wr.Left, p.Y - wr.Top});
        TRACKMOUSEEVENT tme;
        tme.dwFlags = TME_LEAVE | TME_NONCLIENT;
        tme.hwndTrack = hwnd;
        TrackMouseEvent(&tme);
      }
      SetMenuBarHot(hwnd, hot);
      return 0;
    }
    case WM_NCMOUSELEAVE:
      SetMenuBarHot(hwnd, -1);
      return 0;
    case WM_NCLBUTTONDOWN:
      return NcButtonDown(hwnd, wParam, lParam);
    case WM_NCLBUTTONDBLCLK:
      // A quick second press on a scroll bar scrolls again, as the first did.
      if (LRESULT(wParam) == HTVSCROLL || LRESULT(wParam) == HTHSCROLL)
        return NcButtonDown(hwnd, wParam, lParam);
      if (LRESULT(wParam) == HTCAPTION && (w->style & WS_MAXIMIZEBOX))
        Deliver(hwnd, WM_SYSCOMMAND, IsZoomed(hwnd) ? SC_RESTORE : SC_MAXIMIZE, lParam);
      else if (LRESULT(wParam) == HTSYSMENU)
        Deliver(hwnd, WM_SYSCOMMAND, SC_CLOSE, lParam);
      return 0;
    case WM_SETCURSOR:
      return DefaultSetCursor(hwnd, wParam, lParam);
    case WM_MOUSEACTIVATE:
      if (w->style & WS_CHILD) {
        LRESULT r = Deliver(w->parent, WM_MOUSEACTIVATE, wParam, lParam);
        if (r) return r;
      }
      return MA_ACTIVATE;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) SetFocus(hwnd);
      return 0;
    case WM_SHOWWINDOW:
      // An owned pop-up goes and comes back with its owner, keeping its own state.
      if (lParam == SW_PARENTCLOSING && !wParam && (w->style & WS_VISIBLE)) {
        w->hiddenPopup = true;
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      } else if (lParam == SW_PARENTOPENING && wParam && w->hiddenPopup) {
        w->hiddenPopup = false;
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
      return 0;
    case WM_WINDOWPOSCHANGED: {
      auto* wp = reinterpret_cast<const WINDOWPOS*>(lParam);
      RECT c = w->client;
      if (!(wp->flags & SWP_NOCLIENTMOVE))
        Deliver(hwnd, WM_MOVE, 0, MAKELPARAM(w->rect.Left + c.Left, w->rect.Top + c.Top));
      if (!(wp->flags & SWP_NOCLIENTSIZE) && (w = FindReal(hwnd))) {
        WPARAM kind = (w->style & WS_MINIMIZE)   ? SIZE_MINIMIZED
                      : (w->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED
                                                 : SIZE_RESTORED;
        Deliver(hwnd, WM_SIZE, kind, MAKELPARAM(c.Width(), c.Height()));
      }
      return 0;
    }
    case WM_SYSCHAR:
      // Alt+Space opens the window menu of the top-level window, Alt+letter its menu bar.
      if (HIWORD(std::uintptr_t(lParam)) & KF_ALTDOWN) {
        if (w->style & WS_CHILD) return Deliver(w->parent, msg, wParam, lParam);
        if (wParam == ' ' || GetMenu(hwnd))
          Deliver(hwnd, WM_SYSCOMMAND, SC_KEYMENU, LPARAM(wParam));
      }
      return 0;
    case WM_SYSKEYDOWN:
      altAlone = wParam == VK_MENU;
      if (wParam == VK_F4 && (HIWORD(std::uintptr_t(lParam)) & KF_ALTDOWN))
        Deliver(RootOf(hwnd), WM_SYSCOMMAND, SC_CLOSE, 0);
      if (wParam == VK_F10 && GetMenu(RootOf(hwnd)))
        Deliver(RootOf(hwnd), WM_SYSCOMMAND, SC_KEYMENU, 0);
      return 0;
    case WM_SYSKEYUP:
    case WM_KEYUP:
      // Alt pressed and released with nothing between opens the menu bar.
      if (wParam == VK_MENU && altAlone && GetMenu(RootOf(hwnd))) {
        altAlone = false;
        Deliver(RootOf(hwnd), WM_SYSCOMMAND, SC_KEYMENU, 0);
      }
      return 0;
    case WM_KEYDOWN:
      altAlone = false;
      return 0;
    case WM_RBUTTONUP: {
      POINT p = PointFromLParam(lParam);
      ClientToScreen(hwnd, &p);
      Deliver(hwnd, WM_CONTEXTMENU, WParamFromHwnd(hwnd), LParamFromPoint(p));
      return 0;
    }
    case WM_NCRBUTTONUP:
      if (LRESULT(wParam) == HTCAPTION || LRESULT(wParam) == HTSYSMENU)
        Deliver(hwnd, WM_CONTEXTMENU, WParamFromHwnd(hwnd), lParam);
      return 0;
    case WM_CONTEXTMENU:
      // Over the caption of a top-level window: its system menu at the point.
      if (!(w->style & WS_CHILD)) {
        LRESULT hit = Deliver(hwnd, WM_NCHITTEST, 0, lParam);
        if (hit == HTCAPTION || hit == HTSYSMENU) ShowSystemMenu(hwnd, PointFromLParam(lParam));
        return 0;
      }
      return Deliver(w->parent, msg, wParam, lParam);
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
      // Unhandled, these go up to the parent.
      if (w->style & WS_CHILD) return Deliver(w->parent, msg, wParam, lParam);
      return 0;
    case WM_CANCELMODE:
      if (GetCapture() == hwnd) ReleaseCapture();
      return 0;
    default:
      return 0;
  }
}

}  // namespace win
