#include "platform/win/Window.h"

#include <algorithm>
#include <exception>

#include "platform/win/Hooks.h"
#include "platform/win/Input.h"
#include "platform/win/Mdi.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/WindowProc.h"
#include "platform/win/WindowSystem.h"

namespace win {

using namespace detail;

namespace {

constexpr int kDefaultX = 100, kDefaultY = 100, kDefaultWidth = 640, kDefaultHeight = 480;

std::shared_ptr<WindowClass> FindClass(std::u16string_view name) {
  for (auto& c : S().classes)
    if (c->name == name) return c;
  return nullptr;
}

bool IsOwnerOf(HWND owner, HWND hwnd) {
  for (Window* w = FindReal(hwnd); w && w->owner; w = FindReal(w->owner))
    if (w->owner == owner) return true;
  return false;
}

// Index among the parent's children after the topmost band (top-level windows only).
std::size_t FirstNonTopmost(const Window& parent) {
  std::size_t i = 0;
  while (i < parent.children.size()) {
    Window* c = Find(parent.children[i]);
    if (!c || !(c->exStyle & WS_EX_TOPMOST)) break;
    ++i;
  }
  return i;
}

// Moves hwnd within its parent's z-order; owned top-level windows stay above their owners.
void PlaceInZOrder(HWND hwnd, HWND after) {
  Window* w = FindReal(hwnd);
  Window* parent = Find(w->parent);
  auto& list = parent->children;
  list.erase(std::remove(list.begin(), list.end(), hwnd), list.end());
  bool top = IsTopLevel(*w);
  std::size_t pos;
  if (after == HWND_TOPMOST) {
    if (top) w->exStyle |= WS_EX_TOPMOST;
    pos = 0;
  } else if (after == HWND_NOTOPMOST) {
    w->exStyle &= ~WS_EX_TOPMOST;
    pos = FirstNonTopmost(*parent);
  } else if (after == HWND_TOP) {
    pos = top && !(w->exStyle & WS_EX_TOPMOST) ? FirstNonTopmost(*parent) : 0;
  } else if (after == HWND_BOTTOM) {
    pos = list.size();
  } else {
    auto it = std::find(list.begin(), list.end(), after);
    pos = it == list.end() ? 0 : std::size_t(it - list.begin()) + 1;
  }
  list.insert(list.begin() + std::ptrdiff_t(std::min(pos, list.size())), hwnd);
  if (!top) return;
  // Owned windows (in their present order) go right above their owner.
  std::vector<HWND> owned;
  for (HWND h : list)
    if (IsOwnerOf(hwnd, h)) owned.push_back(h);
  if (owned.empty()) return;
  list.erase(std::remove_if(
                 list.begin(), list.end(),
                 [&](HWND h) { return std::find(owned.begin(), owned.end(), h) != owned.end(); }),
             list.end());
  auto at = std::find(list.begin(), list.end(), hwnd);
  list.insert(at, owned.begin(), owned.end());
}

void NotifyParents(HWND child, UINT event) {
  Window* c = FindReal(child);
  if (!c || !(c->style & WS_CHILD) || (c->exStyle & WS_EX_NOPARENTNOTIFY)) return;
  WPARAM wp = MAKEWPARAM(int(event), int(c->id));
  HWND parent = c->parent;
  while (Window* p = FindReal(parent)) {
    Deliver(parent, WM_PARENTNOTIFY, wp, LParamFromHwnd(child));
    p = FindReal(parent);
    if (!p || !(p->style & WS_CHILD) || (p->exStyle & WS_EX_NOPARENTNOTIFY)) break;
    parent = p->parent;
  }
}

// Runs f; an exception is kept (the first one) so that destruction can finish first.
template <class F>
void Guarded(std::exception_ptr& first, F f) {
  try {
    f();
  } catch (...) {
    if (!first) first = std::current_exception();
  }
}

void SendDestroy(HWND hwnd, std::exception_ptr& error) {
  if (Window* w = FindReal(hwnd)) w->destroying = true;
  Guarded(error, [&] { Deliver(hwnd, WM_DESTROY, 0, 0); });
  Window* w = FindReal(hwnd);
  if (!w) return;
  std::vector<HWND> children = w->children;
  for (HWND c : children) SendDestroy(c, error);
}

void FreeWindow(HWND hwnd, std::exception_ptr& error) {
  Window* w = FindReal(hwnd);
  if (!w) return;
  std::vector<HWND> children = w->children;
  for (HWND c : children) FreeWindow(c, error);
  Guarded(error, [&] { Deliver(hwnd, WM_NCDESTROY, 0, 0); });
  w = FindReal(hwnd);
  if (!w) return;
  DropWindowTimers(hwnd);
  DropDCsOf(hwnd);
  DropMenusOf(*w);
  State& s = S();
  if (s.focus == hwnd) s.focus = nullptr;
  if (s.active == hwnd) s.active = nullptr;
  if (s.capture == hwnd) {
    s.capture = nullptr;
    TheBackend().CaptureChanged(nullptr);
  }
  if (s.mouseWindow == hwnd) s.mouseWindow = nullptr;
  for (MouseTracking& t : s.tracking)
    if (t.hwnd == hwnd) t = {};
  if (s.lastClick.hwnd == hwnd) s.lastClick.hwnd = nullptr;
  bool top = IsTopLevel(*w);
  if (Window* parent = Find(w->parent)) {
    auto& list = parent->children;
    list.erase(std::remove(list.begin(), list.end(), hwnd), list.end());
  }
  for (auto& [key, other] : s.windows)
    if (other->owner == hwnd) other->owner = nullptr;
  s.windows.erase(reinterpret_cast<std::uintptr_t>(hwnd));
  if (top) TheBackend().WindowDestroyed(hwnd);
}

void CollectDescendants(HWND parent, std::vector<HWND>& out) {
  Window* w = Find(parent);
  if (!w) return;
  for (HWND c : w->children) {
    out.push_back(c);
    CollectDescendants(c, out);
  }
}

}  // namespace

ATOM RegisterClassExW(const WNDCLASSEXW& wc) {
  if (!wc.lpfnWndProc) throw WindowError("RegisterClassExW: a class needs a window procedure");
  if (wc.lpszClassName.empty() || FindClass(wc.lpszClassName)) return 0;
  auto c = std::make_shared<WindowClass>();
  c->name = wc.lpszClassName;
  c->style = wc.style;
  c->proc = wc.lpfnWndProc;
  c->cursor = wc.hCursor;
  c->background = wc.hbrBackground;
  S().classes.push_back(c);
  return ATOM(0xC000 + S().classes.size());
}

bool UnregisterClassW(std::u16string_view name) {
  auto c = FindClass(name);
  if (!c) return false;
  for (auto& [key, w] : S().windows)
    if (w->cls == c) return false;
  auto& list = S().classes;
  list.erase(std::remove(list.begin(), list.end(), c), list.end());
  return true;
}

std::u16string GetClassNameW(HWND hwnd) {
  Window* w = FindReal(hwnd);
  return w ? w->cls->name : std::u16string();
}

std::uintptr_t GetClassLongPtrW(HWND hwnd, int index) {
  Window* w = FindReal(hwnd);
  if (!w) return 0;
  switch (index) {
    case GCL_STYLE:
      return w->cls->style;
    case GCLP_HCURSOR:
      return reinterpret_cast<std::uintptr_t>(w->cls->cursor);
    case GCLP_HBRBACKGROUND:
      return reinterpret_cast<std::uintptr_t>(w->cls->background);
    default:
      return 0;
  }
}

std::uintptr_t SetClassLongPtrW(HWND hwnd, int index, std::uintptr_t value) {
  Window* w = FindReal(hwnd);
  if (!w) return 0;
  std::uintptr_t old = GetClassLongPtrW(hwnd, index);
  switch (index) {
    case GCL_STYLE:
      w->cls->style = UINT(value);
      break;
    case GCLP_HCURSOR:
      w->cls->cursor = reinterpret_cast<HCURSOR>(value);
      break;
    case GCLP_HBRBACKGROUND:
      w->cls->background = SysColorBrushFromClassValue(value);
      break;
    default:
      return 0;
  }
  return old;
}

HWND CreateWindowExW(DWORD exStyle, std::u16string_view className, std::u16string_view name,
                     DWORD style, int x, int y, int width, int height, HWND parent, UINT_PTR id,
                     void* param) {
  auto cls = FindClass(className);
  if (!cls && className == MDICLIENT_CLASS) {  // a system class, there on first use
    RegisterMdiClientClass();
    cls = FindClass(className);
  }
  if (!cls) throw WindowError("CreateWindowExW: unknown window class");
  State& s = S();
  if (!s.backend) throw WindowError("CreateWindowExW: no backend is attached");
  bool child = style & WS_CHILD;
  if (child && !FindReal(parent)) throw WindowError("CreateWindowExW: a child needs a parent");
  if (!child && parent && !FindReal(parent))
    throw WindowError("CreateWindowExW: the owner is no window");
  if (!child && !(style & WS_POPUP)) style |= WS_CLIPSIBLINGS | WS_CAPTION;
  if (x == CW_USEDEFAULT) x = child ? 0 : kDefaultX, y = child ? 0 : kDefaultY;
  if (width == CW_USEDEFAULT)
    width = child ? 0 : kDefaultWidth, height = child ? 0 : kDefaultHeight;
  width = std::max(width, 0);
  height = std::max(height, 0);

  auto w = std::make_shared<Window>();
  HWND hwnd = reinterpret_cast<HWND>(s.nextHandle);
  s.nextHandle += 4;
  w->handle = hwnd;
  w->cls = cls;
  w->style = style & ~WS_VISIBLE & ~WS_MAXIMIZE & ~WS_MINIMIZE;
  w->exStyle = exStyle;
  w->parent = child ? parent : s.desktop;
  w->owner = child ? nullptr : RootOf(parent);
  w->rect = RectOfSize(x, y, width, height);
  w->normalRect = w->rect;
  w->client = {0, 0, width, height};
  w->proc = cls->proc;
  w->id = child ? LONG_PTR(id) : 0;
  s.windows.emplace(reinterpret_cast<std::uintptr_t>(hwnd), w);
  if (child)
    Find(parent)->children.push_back(hwnd);
  else {
    Find(s.desktop)->children.push_back(hwnd);
    PlaceInZOrder(hwnd, (exStyle & WS_EX_TOPMOST) ? HWND_TOPMOST : HWND_TOP);
  }

  std::u16string nameCopy(name), classCopy(className);
  CREATESTRUCTW cs;
  cs.lpCreateParams = param;
  cs.hMenu = id;
  cs.hwndParent = parent;
  cs.cx = width, cs.cy = height, cs.x = x, cs.y = y;
  cs.style = style;
  cs.lpszName = nameCopy.c_str();
  cs.lpszClass = classCopy.c_str();
  cs.dwExStyle = exStyle;
  // No message has reached the window yet: a refused or failed window goes without any.
  auto drop = [hwnd] {
    std::exception_ptr ignored;
    FreeWindow(hwnd, ignored);
  };
  CBT_CREATEWNDW cbt{&cs, child ? HWND_BOTTOM : HWND_TOP};
  LRESULT refused;
  try {
    refused = CallCbtHooks(HCBT_CREATEWND, WParamFromHwnd(hwnd), reinterpret_cast<LPARAM>(&cbt));
  } catch (...) {
    drop();
    throw;
  }
  if (refused || !FindReal(hwnd)) {
    drop();
    return nullptr;
  }
  // The hook may have moved or sized the window.
  w->rect = RectOfSize(cs.x, cs.y, std::max(cs.cx, 0), std::max(cs.cy, 0));
  w->normalRect = w->rect;
  w->client = {0, 0, w->rect.Width(), w->rect.Height()};
  if (!child) ResizeSurface(*w);
  w->created = true;
  try {
    if (!Deliver(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
      std::exception_ptr error;
      FreeWindow(hwnd, error);
      if (error) std::rethrow_exception(error);
      return nullptr;
    }
    if (!FindReal(hwnd)) return nullptr;
    RecalcClient(hwnd);
    if (Window* ww = FindReal(hwnd)) ResizeSurface(*ww);
    if (Deliver(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
      DestroyWindow(hwnd);
      return nullptr;
    }
  } catch (...) {
    // A creation handler that fails leaves no half-made window behind.
    try {
      DestroyWindow(hwnd);
    } catch (...) {
    }
    throw;
  }
  Window* ww = FindReal(hwnd);
  if (!ww) return nullptr;
  RECT c = ww->client;
  Deliver(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(c.Width(), c.Height()));
  if ((ww = FindReal(hwnd)))
    Deliver(hwnd, WM_MOVE, 0, MAKELPARAM(ww->rect.Left + c.Left, ww->rect.Top + c.Top));
  NotifyParents(hwnd, WM_CREATE);
  if (!FindReal(hwnd)) return nullptr;
  if (style & WS_MAXIMIZE)
    ShowWindow(hwnd, (style & WS_VISIBLE) ? SW_SHOWMAXIMIZED : SW_MAXIMIZE);
  else if (style & WS_VISIBLE)
    ShowWindow(hwnd, SW_SHOW);
  return FindReal(hwnd) ? hwnd : nullptr;
}

bool DestroyWindow(HWND hwnd) {
  Window* w = FindReal(hwnd);
  if (!w || w->destroying) return false;
  w->destroying = true;
  // A procedure that throws does not stop the destruction; its exception comes out after.
  std::exception_ptr error;
  Guarded(error, [&] { CallCbtHooks(HCBT_DESTROYWND, WParamFromHwnd(hwnd), 0); });
  std::vector<HWND> owned;
  for (HWND h : Find(S().desktop)->children)
    if (Window* o = Find(h); o && o->owner == hwnd) owned.push_back(h);
  for (HWND h : owned) Guarded(error, [&] { DestroyWindow(h); });
  Guarded(error, [&] {
    if (IsWindowVisible(hwnd))
      SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    else
      WindowHiddenOrDestroyed(hwnd);
  });
  Guarded(error, [&] { NotifyParents(hwnd, WM_DESTROY); });
  SendDestroy(hwnd, error);
  FreeWindow(hwnd, error);
  if (error) std::rethrow_exception(error);
  return true;
}

bool IsWindow(HWND hwnd) {
  return FindReal(hwnd) != nullptr;
}

HWND GetDesktopWindow() {
  return S().desktop;
}

HWND GetParent(HWND hwnd) {
  Window* w = FindReal(hwnd);
  if (!w) return nullptr;
  if (w->style & WS_CHILD) return w->parent;
  return (w->style & WS_POPUP) ? w->owner : nullptr;
}

HWND GetAncestor(HWND hwnd, UINT flags) {
  Window* w = FindReal(hwnd);
  if (!w) return nullptr;
  switch (flags) {
    case GA_PARENT:
      return w->parent;
    case GA_ROOT:
      return RootOf(hwnd);
    case GA_ROOTOWNER: {
      HWND h = RootOf(hwnd);
      while (Window* r = FindReal(h)) {
        if (!r->owner) break;
        h = r->owner;
      }
      return h;
    }
    default:
      return nullptr;
  }
}

HWND SetParent(HWND hwnd, HWND parent) {
  Window* w = FindReal(hwnd);
  if (!w) return nullptr;
  if (!parent) parent = S().desktop;
  if (!Find(parent) || parent == hwnd || IsChild(hwnd, parent)) return nullptr;
  HWND old = w->parent;
  if (old == parent) return old;
  RECT oldScreen = WindowRectOnScreen(*w);
  bool visible = IsWindowVisible(hwnd);
  auto& oldList = Find(old)->children;
  oldList.erase(std::remove(oldList.begin(), oldList.end(), hwnd), oldList.end());
  w->parent = parent;
  Find(parent)->children.insert(Find(parent)->children.begin(), hwnd);
  if (parent == S().desktop) {
    w->surface.reset();
    ResizeSurface(*w);
  } else {
    w->surface.reset();
  }
  if (visible) {
    InvalidateArea(old, oldScreen);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  }
  return old == S().desktop ? nullptr : old;
}

HWND GetWindow(HWND hwnd, UINT cmd) {
  Window* w = FindReal(hwnd);
  if (!w) return nullptr;
  if (cmd == GW_OWNER) return w->owner;
  if (cmd == GW_CHILD) return w->children.empty() ? nullptr : w->children.front();
  const auto& list = Find(w->parent)->children;
  auto it = std::find(list.begin(), list.end(), hwnd);
  switch (cmd) {
    case GW_HWNDFIRST:
      return list.front();
    case GW_HWNDLAST:
      return list.back();
    case GW_HWNDNEXT:
      return it + 1 < list.end() ? *(it + 1) : nullptr;
    case GW_HWNDPREV:
      return it > list.begin() ? *(it - 1) : nullptr;
    default:
      return nullptr;
  }
}

HWND GetTopWindow(HWND hwnd) {
  Window* w = hwnd ? FindReal(hwnd) : Find(S().desktop);
  return w && !w->children.empty() ? w->children.front() : nullptr;
}

bool IsChild(HWND parent, HWND hwnd) {
  Window* w = FindReal(hwnd);
  if (!w || !parent) return false;
  for (Window* p = FindReal(w->parent); p; p = FindReal(p->parent))
    if (p->handle == parent) return true;
  return false;
}

bool EnumChildWindows(HWND parent, const WNDENUMPROC& proc, LPARAM lParam) {
  std::vector<HWND> all;
  CollectDescendants(parent ? parent : S().desktop, all);
  for (HWND h : all)
    if (FindReal(h) && !proc(h, lParam)) return false;
  return true;
}

bool EnumWindows(const WNDENUMPROC& proc, LPARAM lParam) {
  std::vector<HWND> tops = Find(S().desktop)->children;
  for (HWND h : tops)
    if (FindReal(h) && !proc(h, lParam)) return false;
  return true;
}

bool IsWindowVisible(HWND hwnd) {
  return IsVisibleOnScreen(hwnd);
}

bool IsIconic(HWND hwnd) {
  Window* w = FindReal(hwnd);
  return w && (w->style & WS_MINIMIZE);
}

bool IsZoomed(HWND hwnd) {
  Window* w = FindReal(hwnd);
  return w && (w->style & WS_MAXIMIZE);
}

namespace {

// The owner's pop-ups hear that it is minimised (closing) or restored (opening): the visible
// ones when closing, the ones hidden by the last closing when opening.
void TellOwnedPopups(HWND owner, bool opening) {
  std::vector<HWND> owned;
  for (HWND h : Find(S().desktop)->children)
    if (Window* o = FindReal(h);
        o && o->owner == owner && (opening ? o->hiddenPopup : bool(o->style & WS_VISIBLE)))
      owned.push_back(h);
  for (HWND h : owned)
    if (FindReal(h))
      Deliver(h, WM_SHOWWINDOW, opening, opening ? SW_PARENTOPENING : SW_PARENTCLOSING);
}

}  // namespace

bool ShowWindow(HWND hwnd, int cmd) {
  Window* w = FindReal(hwnd);
  if (!w) return false;
  const bool wasIconic = w->style & WS_MINIMIZE;
  w->hiddenPopup = false;  // shown or hidden on purpose: the owner no longer brings it back
  bool wasVisible = w->style & WS_VISIBLE;
  bool child = w->style & WS_CHILD;
  UINT flags = SWP_NOMOVE | SWP_NOSIZE;
  RECT target = w->rect;
  DWORD state = w->style & (WS_MINIMIZE | WS_MAXIMIZE);
  bool show = true;
  bool activate = !child;
  switch (cmd) {
    case SW_HIDE:
      show = false;
      activate = false;
      break;
    case SW_SHOWNOACTIVATE:
    case SW_SHOWNA:
      activate = false;
      break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
      if (state) {
        target = w->normalRect;
        state = 0;
        flags &= ~(SWP_NOMOVE | SWP_NOSIZE);
      }
      break;
    case SW_SHOWMAXIMIZED: {
      if (!(state & WS_MAXIMIZE)) {
        if (!state) w->normalRect = w->rect;
        // A child's rectangle is in its parent's client coordinates, whatever its frame.
        RECT area =
            child ? RECT{0, 0, Find(w->parent)->client.Width(), Find(w->parent)->client.Height()}
                  : TheBackend().DesktopRect();
        MINMAXINFO mmi = AskMinMaxInfo(hwnd);
        if (!(w = FindReal(hwnd))) return wasVisible;
        target = RectOfSize(area.Left + mmi.ptMaxPosition.X, area.Top + mmi.ptMaxPosition.Y,
                            mmi.ptMaxSize.X, mmi.ptMaxSize.Y);
        state = WS_MAXIMIZE;
        flags &= ~(SWP_NOMOVE | SWP_NOSIZE);
        flags |= SWP_FRAMECHANGED;
      }
      break;
    }
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
      if (!(state & WS_MINIMIZE)) {
        if (!state) w->normalRect = w->rect;
        target = RectOfSize(-32000, -32000, GetSystemMetrics(SM_CXMINTRACK),
                            GetSystemMetrics(SM_CYCAPTION));
        state = WS_MINIMIZE;
        flags &= ~(SWP_NOMOVE | SWP_NOSIZE);
        flags |= SWP_FRAMECHANGED;
      }
      activate = false;
      break;
    default:
      break;
  }
  w->style = (w->style & ~(WS_MINIMIZE | WS_MAXIMIZE)) | state;
  if (show != wasVisible) {
    Deliver(hwnd, WM_SHOWWINDOW, show, 0);
    if (!FindReal(hwnd)) return wasVisible;
  }
  if (show != wasVisible) flags |= show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
  if (!activate) flags |= SWP_NOACTIVATE | SWP_NOZORDER;
  if (show || wasVisible)
    SetWindowPos(hwnd, HWND_TOP, target.Left, target.Top, target.Width(), target.Height(), flags);
  if (activate && show && FindReal(hwnd) && S().active != hwnd) ActivateWindow(hwnd, WA_ACTIVE);
  if (!child && (w = FindReal(hwnd))) {
    const bool iconic = w->style & WS_MINIMIZE;
    if (iconic && !wasIconic)
      TellOwnedPopups(hwnd, false);
    else if (!iconic && wasIconic && (w->style & WS_VISIBLE))
      TellOwnedPopups(hwnd, true);
  }
  return wasVisible;
}

bool EnableWindow(HWND hwnd, bool enable) {
  Window* w = FindReal(hwnd);
  if (!w) return false;
  bool wasDisabled = w->style & WS_DISABLED;
  if (wasDisabled == !enable) return wasDisabled;
  if (enable) {
    w->style &= ~WS_DISABLED;
  } else {
    w->style |= WS_DISABLED;
    State& s = S();
    if (s.focus == hwnd || IsChild(hwnd, s.focus)) SetFocus(nullptr);
    if (s.capture == hwnd || IsChild(hwnd, s.capture)) ReleaseCapture();
  }
  Deliver(hwnd, WM_ENABLE, enable, 0);
  return wasDisabled;
}

bool IsWindowEnabled(HWND hwnd) {
  Window* w = FindReal(hwnd);
  return w && !(w->style & WS_DISABLED);
}

bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  Window* w = FindReal(hwnd);
  if (!w) return false;
  WINDOWPOS wp{hwnd, insertAfter, x, y, cx, cy, flags};
  if (flags & SWP_NOMOVE) wp.x = w->rect.Left, wp.y = w->rect.Top;
  if (flags & SWP_NOSIZE) wp.cx = w->rect.Width(), wp.cy = w->rect.Height();
  bool wasVisible = w->style & WS_VISIBLE;
  if (wasVisible) wp.flags &= ~SWP_SHOWWINDOW;
  if (!wasVisible) wp.flags &= ~SWP_HIDEWINDOW;
  if (!(wp.flags & SWP_NOSENDCHANGING)) {
    Deliver(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
    if (!(w = FindReal(hwnd))) return false;
  }
  RECT oldRect = w->rect, oldClient = w->client;
  RECT oldScreen = WindowRectOnScreen(*w);
  RECT newRect = RectOfSize(wp.flags & SWP_NOMOVE ? oldRect.Left : wp.x,
                            wp.flags & SWP_NOMOVE ? oldRect.Top : wp.y,
                            std::max(0, wp.flags & SWP_NOSIZE ? oldRect.Width() : wp.cx),
                            std::max(0, wp.flags & SWP_NOSIZE ? oldRect.Height() : wp.cy));
  bool sized = newRect.Width() != oldRect.Width() || newRect.Height() != oldRect.Height();
  bool moved = newRect.Left != oldRect.Left || newRect.Top != oldRect.Top;
  RECT newClient = oldClient;
  if (sized || (wp.flags & SWP_FRAMECHANGED)) {
    NCCALCSIZE_PARAMS p;
    p.rgrc[0] = newRect;
    p.rgrc[1] = oldRect;
    p.rgrc[2] = oldClient.Offset(oldRect.Left, oldRect.Top);
    p.lppos = &wp;
    Deliver(hwnd, WM_NCCALCSIZE, 1, reinterpret_cast<LPARAM>(&p));
    if (!(w = FindReal(hwnd))) return false;
    RECT c = p.rgrc[0].Offset(-newRect.Left, -newRect.Top);
    c.Right = std::max(c.Left, c.Right);
    c.Bottom = std::max(c.Top, c.Bottom);
    newClient = c;
  }
  w->rect = newRect;
  w->client = newClient;
  bool top = IsTopLevel(*w);
  // A child window moved in the z-order shows what its siblings covered, or is covered now.
  bool restacked = false;
  if (!(wp.flags & SWP_NOZORDER)) {
    const auto& siblings = Find(w->parent)->children;
    const auto before = std::find(siblings.begin(), siblings.end(), hwnd) - siblings.begin();
    PlaceInZOrder(hwnd, wp.hwndInsertAfter);
    restacked =
        !top && std::find(siblings.begin(), siblings.end(), hwnd) - siblings.begin() != before;
  }
  if (wp.flags & SWP_SHOWWINDOW) w->style |= WS_VISIBLE;
  if (wp.flags & SWP_HIDEWINDOW) w->style &= ~WS_VISIBLE;
  if (top && sized) ResizeSurface(*w);
  if (newClient.Width() == oldClient.Width() && newClient.Height() == oldClient.Height())
    wp.flags |= SWP_NOCLIENTSIZE;
  if (!moved && newClient.Left == oldClient.Left && newClient.Top == oldClient.Top)
    wp.flags |= SWP_NOCLIENTMOVE;

  if (top) {
    Backend& b = TheBackend();
    if (moved || sized) b.WindowMoved(hwnd, newRect);
    if (wp.flags & SWP_SHOWWINDOW) b.WindowShown(hwnd);
    if (wp.flags & SWP_HIDEWINDOW) b.WindowHidden(hwnd);
    if (!(wp.flags & SWP_NOZORDER)) b.ZOrderChanged();
  }
  if (!(wp.flags & SWP_NOREDRAW)) {
    bool frameChanged = wp.flags & SWP_FRAMECHANGED;
    InvalidateForGeometry(
        hwnd, oldScreen,
        sized || frameChanged || (wp.flags & SWP_SHOWWINDOW) || (!top && moved) || restacked,
        wasVisible && (moved || sized || restacked || (wp.flags & SWP_HIDEWINDOW)));
  }
  if (wp.flags & SWP_HIDEWINDOW) WindowHiddenOrDestroyed(hwnd);
  if ((wp.flags & SWP_SHOWWINDOW) && !(wp.flags & SWP_NOACTIVATE) && top &&
      !(w->exStyle & WS_EX_NOACTIVATE) && S().active != hwnd)
    ActivateWindow(hwnd, WA_ACTIVE);
  if (!FindReal(hwnd)) return false;
  Deliver(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
  return true;
}

bool MoveWindow(HWND hwnd, int x, int y, int width, int height, bool repaint) {
  return SetWindowPos(hwnd, nullptr, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

bool BringWindowToTop(HWND hwnd) {
  return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

bool GetWindowRect(HWND hwnd, RECT* r) {
  Window* w = Find(hwnd);
  if (!w) return false;
  *r = WindowRectOnScreen(*w);
  return true;
}

bool GetClientRect(HWND hwnd, RECT* r) {
  Window* w = Find(hwnd);
  if (!w) return false;
  *r = {0, 0, w->client.Width(), w->client.Height()};
  return true;
}

bool ClientToScreen(HWND hwnd, POINT* p) {
  Window* w = Find(hwnd);
  if (!w) return false;
  POINT o = ClientOriginOnScreen(*w);
  p->X += o.X;
  p->Y += o.Y;
  return true;
}

bool ScreenToClient(HWND hwnd, POINT* p) {
  Window* w = Find(hwnd);
  if (!w) return false;
  POINT o = ClientOriginOnScreen(*w);
  p->X -= o.X;
  p->Y -= o.Y;
  return true;
}

int MapWindowPoints(HWND from, HWND to, POINT* points, int count) {
  POINT a{}, b{};
  if (from && !ClientToScreen(from, &a)) return 0;
  if (to && !ClientToScreen(to, &b)) return 0;
  int dx = a.X - b.X, dy = a.Y - b.Y;
  for (int i = 0; i < count; ++i) points[i].X += dx, points[i].Y += dy;
  return int(std::uint32_t(WORD(dx)) | (std::uint32_t(WORD(dy)) << 16));
}

bool AdjustWindowRectEx(RECT* r, DWORD style, bool menu, DWORD exStyle) {
  Window probe;
  probe.style = style;
  probe.exStyle = exStyle;
  RECT big{0, 0, 10000, 10000};
  RECT c = DefaultClientRect(probe, big);
  r->Left -= c.Left;
  r->Top -= c.Top;
  r->Right += big.Right - c.Right;
  r->Bottom += big.Bottom - c.Bottom;
  if (menu && !(style & WS_CHILD)) r->Top -= GetSystemMetrics(SM_CYMENU);
  return true;
}

namespace {

// The deepest window under a screen point, skipping windows in skip.
HWND HitWindow(HWND parent, POINT screen, const std::vector<HWND>& skip) {
  Window* p = Find(parent);
  for (HWND h : p->children) {
    Window* c = Find(h);
    if (!c || !(c->style & WS_VISIBLE)) continue;
    if (IsTopLevel(*c) && (c->exStyle & WS_EX_LAYERED) && (c->exStyle & WS_EX_TRANSPARENT))
      continue;
    RECT r = WindowRectOnScreen(*c);
    if (!r.Contains(screen)) continue;
    if (c->windowRegion && !c->windowRegion->Contains({screen.X - r.Left, screen.Y - r.Top}))
      continue;
    if (std::find(skip.begin(), skip.end(), h) != skip.end()) continue;
    // A disabled child leaves the point to its parent; a disabled top-level window keeps it
    // (nothing below may be clicked through it).
    if (c->style & WS_DISABLED) {
      if (IsTopLevel(*c)) return h;
      continue;
    }
    RECT client = c->client.Offset(r.Left, r.Top);
    if (client.Contains(screen))
      if (HWND deeper = HitWindow(h, screen, skip)) return deeper;
    return h;
  }
  return nullptr;
}

}  // namespace

namespace detail {

MINMAXINFO AskMinMaxInfo(HWND hwnd) {
  MINMAXINFO mmi;
  Window* w = FindReal(hwnd);
  if (!w) return mmi;
  // A top-level window maximises over the work area; the position is the desktop's.
  RECT area = Find(w->parent)->client;
  POINT at{0, 0};
  if (IsTopLevel(*w)) {
    const RECT desk = TheBackend().DesktopRect();
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    at = {area.Left - desk.Left, area.Top - desk.Top};
  }
  int frame = GetSystemMetrics((w->style & WS_THICKFRAME) ? SM_CXFRAME : SM_CXDLGFRAME);
  mmi.ptMaxSize = {area.Width() + 2 * frame, area.Height() + 2 * frame};
  mmi.ptMaxPosition = {at.X - frame, at.Y - frame};
  mmi.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
  mmi.ptMaxTrackSize = {mmi.ptMaxSize.X, mmi.ptMaxSize.Y};
  Deliver(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
  return mmi;
}

HWND WindowUnderPoint(POINT screen, LRESULT* hit) {
  std::vector<HWND> skip;
  for (;;) {
    HWND h = HitWindow(S().desktop, screen, skip);
    if (!h) {
      *hit = HTNOWHERE;
      return nullptr;
    }
    if (FindReal(h)->style & WS_DISABLED) {
      *hit = HTERROR;
      return h;
    }
    LRESULT code = Deliver(h, WM_NCHITTEST, 0, LParamFromPoint(screen));
    if (code != HTTRANSPARENT && FindReal(h)) {
      *hit = code;
      return h;
    }
    skip.push_back(h);
  }
}

}  // namespace detail

HWND WindowFromPoint(POINT screen) {
  LRESULT hit;
  return WindowUnderPoint(screen, &hit);
}

HWND ChildWindowFromPointEx(HWND parent, POINT pt, UINT flags) {
  Window* p = FindReal(parent);
  if (!p) return nullptr;
  if (!RECT{0, 0, p->client.Width(), p->client.Height()}.Contains(pt)) return nullptr;
  for (HWND h : p->children) {
    Window* c = Find(h);
    if ((flags & CWP_SKIPINVISIBLE) && !(c->style & WS_VISIBLE)) continue;
    if ((flags & CWP_SKIPDISABLED) && (c->style & WS_DISABLED)) continue;
    if ((flags & CWP_SKIPTRANSPARENT) && (c->exStyle & WS_EX_TRANSPARENT)) continue;
    if (c->rect.Contains(pt)) return h;
  }
  return parent;
}

bool SetWindowTextW(HWND hwnd, std::u16string_view text) {
  if (!FindReal(hwnd)) return false;
  std::u16string copy(text);
  return SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.c_str())) != 0;
}

std::u16string GetWindowTextW(HWND hwnd) {
  if (!FindReal(hwnd)) return {};
  constexpr LRESULT kMaxText = 1 << 24;  // a procedure's answer is not trusted without bound
  LRESULT n = std::min(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0), kMaxText);
  if (n <= 0) return {};
  std::u16string buffer(std::size_t(n) + 1, u'\0');
  LRESULT got =
      SendMessageW(hwnd, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
  buffer.resize(std::size_t(std::clamp<LRESULT>(got, 0, n)));
  return buffer;
}

int GetWindowTextLengthW(HWND hwnd) {
  return int(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

bool SetPropW(HWND hwnd, std::u16string_view name, HANDLE value) {
  Window* w = FindReal(hwnd);
  if (!w) return false;
  w->props.insert_or_assign(std::u16string(name), value);
  return true;
}

HANDLE GetPropW(HWND hwnd, std::u16string_view name) {
  Window* w = FindReal(hwnd);
  if (!w) return nullptr;
  auto it = w->props.find(name);
  return it == w->props.end() ? nullptr : it->second;
}

HANDLE RemovePropW(HWND hwnd, std::u16string_view name) {
  Window* w = FindReal(hwnd);
  if (!w) return nullptr;
  auto it = w->props.find(name);
  if (it == w->props.end()) return nullptr;
  HANDLE v = it->second;
  w->props.erase(it);
  return v;
}

LONG_PTR GetWindowLongPtrW(HWND hwnd, int index) {
  Window* w = FindReal(hwnd);
  if (!w) return 0;
  switch (index) {
    case GWL_STYLE:
      return LONG_PTR(w->style);
    case GWL_EXSTYLE:
      return LONG_PTR(w->exStyle);
    case GWLP_ID:
      return w->id;
    case GWLP_USERDATA:
      return w->userData;
    case GWLP_HWNDPARENT:
      return reinterpret_cast<LONG_PTR>(w->owner);
    default:
      return 0;
  }
}

LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value) {
  Window* w = FindReal(hwnd);
  if (!w) return 0;
  LONG_PTR old = GetWindowLongPtrW(hwnd, index);
  switch (index) {
    case GWL_STYLE:
    case GWL_EXSTYLE: {
      STYLESTRUCT ss{DWORD(old), DWORD(value)};
      Deliver(hwnd, WM_STYLECHANGING, WPARAM(index), reinterpret_cast<LPARAM>(&ss));
      if (!(w = FindReal(hwnd))) return 0;
      if (index == GWL_STYLE) {
        w->style = ss.styleNew;
      } else {
        w->exStyle = ss.styleNew;
        if (!(ss.styleNew & WS_EX_LAYERED)) w->layeredPerPixel = false, w->layeredFlags = 0;
      }
      Deliver(hwnd, WM_STYLECHANGED, WPARAM(index), reinterpret_cast<LPARAM>(&ss));
      return old;
    }
    case GWLP_ID:
      w->id = value;
      return old;
    case GWLP_USERDATA:
      w->userData = value;
      return old;
    case GWLP_HWNDPARENT: {
      HWND owner = reinterpret_cast<HWND>(value);
      if (IsTopLevel(*w) && (!owner || (FindReal(owner) && owner != hwnd)))
        w->owner = RootOf(owner);
      return old;
    }
    default:
      return 0;
  }
}

WNDPROC SetWindowLongPtrW(HWND hwnd, int index, WNDPROC proc) {
  Window* w = FindReal(hwnd);
  if (!w || index != GWLP_WNDPROC || !proc) return nullptr;
  WNDPROC old = std::move(w->proc);
  w->proc = std::move(proc);
  return old;
}

WNDPROC GetWindowProc(HWND hwnd) {
  Window* w = FindReal(hwnd);
  return w ? w->proc : nullptr;
}

}  // namespace win
