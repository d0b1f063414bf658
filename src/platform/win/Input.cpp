#include "platform/win/Input.h"

#include <algorithm>
#include <cstdlib>

#include "platform/win/Backend.h"
#include "platform/win/Hooks.h"
#include "platform/win/KeyboardLayout.h"
#include "platform/win/Keys.h"
#include "platform/win/Mdi.h"
#include "platform/win/Messages.h"
#include "platform/win/Styles.h"
#include "platform/win/Window.h"
#include "platform/win/WindowSystem.h"

namespace win {

using namespace detail;

namespace {

constexpr DWORD kDefaultHoverTime = 400;

bool CanActivate(HWND hwnd) {
  Window* w = FindReal(hwnd);
  return w && IsTopLevel(*w) && IsWindowVisible(hwnd) && !(w->style & WS_DISABLED) &&
         !(w->exStyle & WS_EX_NOACTIVATE);
}

WPARAM MouseKeyFlags() {
  const auto& k = S().keys;
  WPARAM f = 0;
  if (k[VK_LBUTTON] & 0x80) f |= MK_LBUTTON;
  if (k[VK_RBUTTON] & 0x80) f |= MK_RBUTTON;
  if (k[VK_MBUTTON] & 0x80) f |= MK_MBUTTON;
  if (k[VK_SHIFT] & 0x80) f |= MK_SHIFT;
  if (k[VK_CONTROL] & 0x80) f |= MK_CONTROL;
  return f;
}

void SetKey(UINT vk, bool down) {
  BYTE& k = S().keys[vk & 0xFF];
  if (down && !(k & 0x80)) k ^= 0x01;  // toggle state flips on each press
  k = BYTE((k & 0x01) | (down ? 0x80 : 0));
}

// Keeps the generic Shift/Ctrl/Alt state in step with the left and right keys.
void SetKeyWithGeneric(UINT vk, bool down) {
  SetKey(vk, down);
  auto both = [](UINT l, UINT r, UINT generic) {
    bool any = (S().keys[l] & 0x80) || (S().keys[r] & 0x80);
    SetKey(generic, any);
  };
  if (vk == VK_LSHIFT || vk == VK_RSHIFT) both(VK_LSHIFT, VK_RSHIFT, VK_SHIFT);
  if (vk == VK_LCONTROL || vk == VK_RCONTROL) both(VK_LCONTROL, VK_RCONTROL, VK_CONTROL);
  if (vk == VK_LMENU || vk == VK_RMENU) both(VK_LMENU, VK_RMENU, VK_MENU);
}

// Client or non-client message numbers for a button event.
UINT ButtonMessage(int button, bool down, bool client) {
  static constexpr UINT kClient[3][2] = {{WM_LBUTTONUP, WM_LBUTTONDOWN},
                                         {WM_RBUTTONUP, WM_RBUTTONDOWN},
                                         {WM_MBUTTONUP, WM_MBUTTONDOWN}};
  UINT m = kClient[button][down];
  return client ? m : m - (WM_LBUTTONDOWN - WM_NCLBUTTONDOWN);
}

void PostLeave(HWND hwnd, bool nonClient) {
  MSG m;
  m.hwnd = hwnd;
  m.message = nonClient ? WM_NCMOUSELEAVE : WM_MOUSELEAVE;
  m.time = Now();
  m.pt = S().cursorPos;
  S().posted.push_back(m);
}

// Whether the mouse at hwnd with the hit code is inside what a tracking record watches.
bool Inside(HWND hwnd, LRESULT hit, HWND tracked, bool nonClient) {
  return hwnd == tracked && ((hit == HTCLIENT) != nonClient);
}

// Ends mouse tracking when the mouse left the tracked window's client or non-client part.
void CheckLeave(HWND hwnd, LRESULT hit) {
  for (std::size_t i = 0; i < 2; ++i) {
    MouseTracking& t = S().tracking[i];
    bool nonClient = i == 1;
    if (!t.hwnd || !(t.flags & TME_LEAVE) || Inside(hwnd, hit, t.hwnd, nonClient)) continue;
    HWND left = t.hwnd;
    t = {};
    PostLeave(left, nonClient);
  }
}

LRESULT SendSetCursor(HWND hwnd, LRESULT hit, UINT msg) {
  return Deliver(hwnd, WM_SETCURSOR, WParamFromHwnd(hwnd), MAKELPARAM(int(hit), int(msg)));
}

bool RouteMouse(const RawInput& raw, MSG* out) {
  State& s = S();
  s.cursorPos = raw.pt;
  UINT buttonMsg = raw.kind == RawInput::Kind::MouseButton
                       ? ButtonMessage(raw.button, raw.down, true)
                       : WM_MOUSEMOVE;
  if (raw.kind == RawInput::Kind::MouseButton) {
    static constexpr UINT kVk[3] = {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON};
    SetKey(kVk[raw.button], raw.down);
  }
  HWND target;
  LRESULT hit;
  if (s.capture) {
    target = s.capture;
    hit = HTCLIENT;
  } else {
    target = WindowUnderPoint(raw.pt, &hit);
  }
  s.mouseWindow = target;
  s.mouseHit = hit;
  CheckLeave(target, hit);
  if (raw.kind == RawInput::Kind::Wheel) {
    // The wheel goes to the focus window wherever the mouse is, as on the platform; its
    // parents get it unhandled.
    HWND to = s.focus ? s.focus : hit == HTERROR ? nullptr : target;
    if (!to) return false;
    out->hwnd = to;
    out->message = raw.horizontal ? WM_MOUSEHWHEEL : WM_MOUSEWHEEL;
    out->wParam = MouseKeyFlags() | (WPARAM(WORD(raw.delta)) << 16);
    out->lParam = LParamFromPoint(raw.pt);
    return true;
  }
  if (!target) return false;
  if (hit == HTERROR) {  // a disabled window: the mouse does nothing there
    SetCursor(LoadCursorW(IDC_ARROW));
    return false;
  }
  bool down = raw.kind == RawInput::Kind::MouseButton && raw.down;
  if (down && !s.capture) {
    HWND root = RootOf(target);
    // An inactive MDI child is activated by a press too, in an active frame as well.
    if (root && (root != s.active || InInactiveMdiChild(target)) &&
        !(FindReal(root)->exStyle & WS_EX_NOACTIVATE)) {
      LRESULT ma = Deliver(target, WM_MOUSEACTIVATE, WParamFromHwnd(root),
                           MAKELPARAM(int(hit), int(buttonMsg)));
      if ((ma == MA_ACTIVATE || ma == MA_ACTIVATEANDEAT || ma == 0) && root != S().active &&
          CanActivate(root))
        ActivateWindow(root, WA_CLICKACTIVE);
      if (ma == MA_ACTIVATEANDEAT || ma == MA_NOACTIVATEANDEAT) return false;
      if (!FindReal(target)) return false;
    }
  }
  if (!s.capture) SendSetCursor(target, hit, buttonMsg);
  if (!FindReal(target)) return false;
  bool client = hit == HTCLIENT;
  UINT msg = raw.kind == RawInput::Kind::MouseButton ? ButtonMessage(raw.button, raw.down, client)
                                                     : (client ? WM_MOUSEMOVE : WM_NCMOUSEMOVE);
  if (down) {
    // A second press within the double-click time and distance becomes a double-click; client
    // double-clicks need CS_DBLCLKS, non-client ones are always made.
    auto& last = s.lastClick;
    bool dbl = last.hwnd == target && last.message == msg &&
               Now() - last.time <= GetDoubleClickTime() &&
               std::abs(last.pt.X - raw.pt.X) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
               std::abs(last.pt.Y - raw.pt.Y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2 &&
               (!client || (FindReal(target)->cls->style & CS_DBLCLKS));
    if (dbl) {
      msg += WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
      last.hwnd = nullptr;
    } else {
      last = {target, msg, Now(), raw.pt};
    }
  }
  out->hwnd = target;
  out->message = msg;
  if (client) {
    POINT p = raw.pt;
    ScreenToClient(target, &p);
    out->wParam = MouseKeyFlags();
    out->lParam = LParamFromPoint(p);
  } else {
    out->wParam = WPARAM(hit);
    out->lParam = LParamFromPoint(raw.pt);
  }
  if (raw.kind == RawInput::Kind::MouseMove) {
    MouseTracking& t = s.tracking[client ? 0 : 1];
    if (t.hwnd == target && (t.flags & TME_HOVER)) t.hoverDue = Now() + t.hoverTime;
  }
  return true;
}

bool RouteKey(const RawInput& raw, MSG* out) {
  State& s = S();
  UINT vk = MapVirtualKeyW(raw.scanCode, MAPVK_VSC_TO_VK);
  if (!vk) return false;
  bool wasDown = s.keys[vk] & 0x80;
  SetKeyWithGeneric(vk, raw.down);
  if (vk == VK_LSHIFT || vk == VK_RSHIFT) vk = VK_SHIFT;
  if (vk == VK_LCONTROL || vk == VK_RCONTROL) vk = VK_CONTROL;
  if (vk == VK_LMENU || vk == VK_RMENU) vk = VK_MENU;
  HWND to = s.focus ? s.focus : s.active;
  if (!to) return false;
  bool alt = s.keys[VK_MENU] & 0x80;
  bool ctrl = s.keys[VK_CONTROL] & 0x80;
  // Alt combinations, F10 and keys without a focus window are system keys.
  bool sys = (alt && !ctrl) || vk == VK_F10 || !s.focus || (vk == VK_MENU && !raw.down);
  out->hwnd = to;
  out->message = raw.down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
  out->wParam = vk;
  DWORD data = 1 | ((raw.scanCode & 0xFF) << 16);
  WORD flags = 0;
  if (raw.scanCode & 0xE000) flags |= KF_EXTENDED;
  if (alt) flags |= KF_ALTDOWN;
  if (wasDown || !raw.down) flags |= KF_REPEAT;
  if (!raw.down) flags |= KF_UP;
  data |= DWORD(flags) << 16;
  out->lParam = LPARAM(std::int32_t(data));
  return true;
}

void Queue(RawInput raw) {
  raw.time = Now();
  S().input.push_back(raw);
}

}  // namespace

namespace {

// The hover message of a tracking record whose time has come.
void ReportHover(MouseTracking& t, bool nonClient, MSG* out, DWORD now, bool remove) {
  out->hwnd = t.hwnd;
  out->message = nonClient ? WM_NCMOUSEHOVER : WM_MOUSEHOVER;
  POINT p = S().cursorPos;
  if (!nonClient) ScreenToClient(t.hwnd, &p);
  out->wParam = nonClient ? WPARAM(S().mouseHit) : MouseKeyFlags();
  out->lParam = LParamFromPoint(p);
  out->time = now;
  out->pt = S().cursorPos;
  if (remove) t.flags &= ~TME_HOVER;  // hover is reported once per request
  if (remove && !(t.flags & TME_LEAVE)) t = {};
}

}  // namespace

namespace detail {

bool RouteInput(const RawInput& raw, MSG* out) {
  out->time = raw.time;
  out->pt = S().cursorPos;
  bool made;
  switch (raw.kind) {
    case RawInput::Kind::Key:
      made = RouteKey(raw, out);
      break;
    case RawInput::Kind::Char:
      made = S().focus != nullptr;
      out->hwnd = S().focus;
      out->message = WM_CHAR;
      out->wParam = raw.ch;
      out->lParam = 1;
      break;
    default:
      made = RouteMouse(raw, out);
      break;
  }
  out->pt = S().cursorPos;
  return made;
}

bool CheckHover(MSG* out, DWORD now, bool remove) {
  for (std::size_t i = 0; i < 2; ++i) {
    MouseTracking& t = S().tracking[i];
    if (!t.hwnd || !(t.flags & TME_HOVER) || int(t.hoverDue - now) > 0) continue;
    ReportHover(t, i == 1, out, now, remove);
    return true;
  }
  return false;
}

namespace {

// WM_ACTIVATEAPP goes to every top-level window of the application, the one whose activation
// causes it first (hidden ones too: the framework's application window listens for it).
void TellActivateApp(HWND first, bool active) {
  std::vector<HWND> tops = Find(S().desktop)->children;
  Deliver(first, WM_ACTIVATEAPP, active, 0);
  for (HWND h : tops)
    if (h != first && FindReal(h)) Deliver(h, WM_ACTIVATEAPP, active, 0);
}

}  // namespace

void ActivateWindow(HWND hwnd, WORD how) {
  State& s = S();
  HWND old = s.active;
  if (old == hwnd) return;
  if (hwnd) {
    if (!FindReal(hwnd)) return;
    CBTACTIVATESTRUCT cbt{how == WA_CLICKACTIVE, old};
    if (CallCbtHooks(HCBT_ACTIVATE, WParamFromHwnd(hwnd), reinterpret_cast<LPARAM>(&cbt))) return;
    if (!FindReal(hwnd) || s.active != old) return;  // a hook destroyed it or activated another
    auto& list = Find(s.desktop)->children;
    if (!list.empty() && list.front() != hwnd) {
      SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      if (!FindReal(hwnd)) return;
    }
  }
  s.active = hwnd;
  if (old && FindReal(old)) {
    Deliver(old, WM_NCACTIVATE, 0, 0);
    Deliver(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsIconic(old)), LParamFromHwnd(hwnd));
    if (!hwnd) TellActivateApp(old, false);
  }
  if (s.active != hwnd) return;  // a handler moved the activation elsewhere
  if (!hwnd) {
    if (s.focus) SetFocus(nullptr);
    return;
  }
  if (!old) TellActivateApp(hwnd, true);
  Deliver(hwnd, WM_NCACTIVATE, 1, 0);
  Deliver(hwnd, WM_ACTIVATE, MAKEWPARAM(how, IsIconic(hwnd)), LParamFromHwnd(old));
}

void WindowHiddenOrDestroyed(HWND hwnd) {
  State& s = S();
  if (s.capture == hwnd || IsChild(hwnd, s.capture)) ReleaseCapture();
  if (s.active == hwnd) {
    // The owner takes over when it can, else the topmost window that can be activated.
    Window* w = FindReal(hwnd);
    HWND next = w && CanActivate(w->owner) ? w->owner : nullptr;
    if (!next)
      for (HWND h : Find(s.desktop)->children)
        if (h != hwnd && CanActivate(h)) {
          next = h;
          break;
        }
    ActivateWindow(next, WA_ACTIVE);
    if (s.active == hwnd) ActivateWindow(nullptr, WA_ACTIVE);  // a hook refused the next one
  }
  // Activation moved the focus when it could; a focused child that goes away gives it to its
  // parent.
  if (s.focus == hwnd || IsChild(hwnd, s.focus)) {
    Window* w = FindReal(hwnd);
    HWND parent = w && !IsTopLevel(*w) ? w->parent : nullptr;
    SetFocus(parent && IsWindowVisible(parent) ? parent : nullptr);
  }
}

}  // namespace detail

HWND SetFocus(HWND hwnd) {
  State& s = S();
  HWND old = s.focus;
  if (hwnd) {
    Window* w = FindReal(hwnd);
    if (!w || (w->style & WS_DISABLED)) return nullptr;
    HWND root = RootOf(hwnd);
    if (root != s.active) {
      if (!CanActivate(root)) return nullptr;
      ActivateWindow(root, WA_ACTIVE);
      if (!FindReal(hwnd) || RootOf(hwnd) != s.active) return nullptr;
      old = s.focus;
    }
  }
  if (old == hwnd) return old;
  s.focus = hwnd;
  if (old && FindReal(old)) Deliver(old, WM_KILLFOCUS, WParamFromHwnd(hwnd), 0);
  if (hwnd && s.focus == hwnd) Deliver(hwnd, WM_SETFOCUS, WParamFromHwnd(old), 0);
  return old;
}

HWND GetFocus() {
  return S().focus;
}

HWND SetActiveWindow(HWND hwnd) {
  HWND old = S().active;
  if (hwnd && !CanActivate(hwnd)) return nullptr;
  ActivateWindow(hwnd, WA_ACTIVE);
  return old;
}

HWND GetActiveWindow() {
  return S().active;
}

bool SetForegroundWindow(HWND hwnd) {
  return SetActiveWindow(hwnd) || S().active == hwnd;
}

HWND GetForegroundWindow() {
  return S().active;
}

HWND SetCapture(HWND hwnd) {
  State& s = S();
  HWND old = s.capture;
  if (hwnd && !FindReal(hwnd)) return nullptr;
  if (old == hwnd) return old;
  s.capture = hwnd;
  TheBackend().CaptureChanged(hwnd);
  if (old && FindReal(old)) Deliver(old, WM_CAPTURECHANGED, 0, LParamFromHwnd(hwnd));
  return old;
}

bool ReleaseCapture() {
  if (S().capture) SetCapture(nullptr);
  return true;
}

HWND GetCapture() {
  return S().capture;
}

HCURSOR SetCursor(HCURSOR cursor) {
  HCURSOR old = S().cursor;
  if (old != cursor) {
    S().cursor = cursor;
    TheBackend().CursorChanged(cursor);
  }
  return old;
}

HCURSOR GetCursor() {
  return S().cursor;
}

bool GetCursorPos(POINT* p) {
  *p = S().cursorPos;
  return true;
}

bool SetCursorPos(int x, int y) {
  InjectMouseMove({x, y});
  return true;
}

bool TrackMouseEvent(TRACKMOUSEEVENT* tme) {
  State& s = S();
  bool nonClient = tme->dwFlags & TME_NONCLIENT;
  MouseTracking& t = s.tracking[nonClient ? 1 : 0];
  if (tme->dwFlags & TME_QUERY) {
    tme->dwFlags = t.flags | (nonClient && t.hwnd ? TME_NONCLIENT : 0);
    tme->hwndTrack = t.hwnd;
    tme->dwHoverTime = t.hoverTime;
    return true;
  }
  if (!FindReal(tme->hwndTrack)) return false;
  if (tme->dwFlags & TME_CANCEL) {
    if (t.hwnd == tme->hwndTrack) {
      t.flags &= ~(tme->dwFlags & (TME_LEAVE | TME_HOVER));
      if (!(t.flags & (TME_LEAVE | TME_HOVER))) t = {};
    }
    return true;
  }
  if (!Inside(s.mouseWindow, s.mouseHit, tme->hwndTrack, nonClient)) {
    if (tme->dwFlags & TME_LEAVE) PostLeave(tme->hwndTrack, nonClient);
    return true;
  }
  if (t.hwnd != tme->hwndTrack) t = {};
  t.hwnd = tme->hwndTrack;
  t.flags |= tme->dwFlags & (TME_LEAVE | TME_HOVER);
  if (tme->dwFlags & TME_HOVER) {
    t.hoverTime = tme->dwHoverTime == HOVER_DEFAULT ? kDefaultHoverTime : tme->dwHoverTime;
    t.hoverDue = Now() + t.hoverTime;
  }
  return true;
}

void InjectMouseMove(POINT pt) {
  RawInput r;
  r.kind = RawInput::Kind::MouseMove;
  r.pt = pt;
  auto& q = S().input;
  // Moves coalesce: a move right behind another move replaces it.
  if (!q.empty() && q.back().kind == RawInput::Kind::MouseMove) q.pop_back();
  Queue(r);
}

void InjectMouseButton(int button, bool down, POINT pt) {
  if (button < 0 || button > 2) return;
  RawInput r;
  r.kind = RawInput::Kind::MouseButton;
  r.button = button;
  r.down = down;
  r.pt = pt;
  Queue(r);
}

void InjectMouseWheel(int delta, bool horizontal, POINT pt) {
  RawInput r;
  r.kind = RawInput::Kind::Wheel;
  r.delta = delta;
  r.horizontal = horizontal;
  r.pt = pt;
  Queue(r);
}

void InjectKey(UINT scanCode, bool down) {
  RawInput r;
  r.kind = RawInput::Kind::Key;
  r.scanCode = scanCode;
  r.down = down;
  Queue(r);
}

void InjectText(std::u16string_view text) {
  for (char16_t c : text) {
    RawInput r;
    r.kind = RawInput::Kind::Char;
    r.ch = c;
    Queue(r);
  }
}

}  // namespace win
