#include "platform/backend/Sdl.h"

#include <algorithm>
#include <array>
#include <vector>

#include "platform/backend/Headless.h"
#include "platform/backend/Script.h"
#include "platform/win/Input.h"
#include "platform/win/KeyboardLayout.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "platform/win/VirtualDesktop.h"
#include "platform/win/Window.h"

// Last: Xlib's macros (None, Bool, True) would clash with the names above.
// clang-format off
#include <SDL_syswm.h>
#include <X11/extensions/shape.h>
// clang-format on

namespace backend {

namespace {

struct ScanPair {
  SDL_Scancode sdl;
  win::UINT scan;
};

// Keys other than letters and digits (those follow their US position).
constexpr std::array<ScanPair, 62> kScanCodes = {{
    {SDL_SCANCODE_RETURN, 0x1C},
    {SDL_SCANCODE_ESCAPE, 0x01},
    {SDL_SCANCODE_BACKSPACE, 0x0E},
    {SDL_SCANCODE_TAB, 0x0F},
    {SDL_SCANCODE_SPACE, 0x39},
    {SDL_SCANCODE_MINUS, 0x0C},
    {SDL_SCANCODE_EQUALS, 0x0D},
    {SDL_SCANCODE_LEFTBRACKET, 0x1A},
    {SDL_SCANCODE_RIGHTBRACKET, 0x1B},
    {SDL_SCANCODE_BACKSLASH, 0x2B},
    {SDL_SCANCODE_NONUSHASH, 0x2B},
    {SDL_SCANCODE_SEMICOLON, 0x27},
    {SDL_SCANCODE_APOSTROPHE, 0x28},
    {SDL_SCANCODE_GRAVE, 0x29},
    {SDL_SCANCODE_COMMA, 0x33},
    {SDL_SCANCODE_PERIOD, 0x34},
    {SDL_SCANCODE_SLASH, 0x35},
    {SDL_SCANCODE_CAPSLOCK, 0x3A},
    {SDL_SCANCODE_F1, 0x3B},
    {SDL_SCANCODE_F2, 0x3C},
    {SDL_SCANCODE_F3, 0x3D},
    {SDL_SCANCODE_F4, 0x3E},
    {SDL_SCANCODE_F5, 0x3F},
    {SDL_SCANCODE_F6, 0x40},
    {SDL_SCANCODE_F7, 0x41},
    {SDL_SCANCODE_F8, 0x42},
    {SDL_SCANCODE_F9, 0x43},
    {SDL_SCANCODE_F10, 0x44},
    {SDL_SCANCODE_F11, 0x57},
    {SDL_SCANCODE_F12, 0x58},
    {SDL_SCANCODE_SCROLLLOCK, 0x46},
    {SDL_SCANCODE_INSERT, 0xE052},
    {SDL_SCANCODE_HOME, 0xE047},
    {SDL_SCANCODE_PAGEUP, 0xE049},
    {SDL_SCANCODE_DELETE, 0xE053},
    {SDL_SCANCODE_END, 0xE04F},
    {SDL_SCANCODE_PAGEDOWN, 0xE051},
    {SDL_SCANCODE_RIGHT, 0xE04D},
    {SDL_SCANCODE_LEFT, 0xE04B},
    {SDL_SCANCODE_DOWN, 0xE050},
    {SDL_SCANCODE_UP, 0xE048},
    {SDL_SCANCODE_NUMLOCKCLEAR, 0x45},
    {SDL_SCANCODE_KP_DIVIDE, 0xE035},
    {SDL_SCANCODE_KP_MULTIPLY, 0x37},
    {SDL_SCANCODE_KP_MINUS, 0x4A},
    {SDL_SCANCODE_KP_PLUS, 0x4E},
    {SDL_SCANCODE_KP_ENTER, 0xE01C},
    {SDL_SCANCODE_KP_1, 0x4F},
    {SDL_SCANCODE_KP_2, 0x50},
    {SDL_SCANCODE_KP_3, 0x51},
    {SDL_SCANCODE_KP_4, 0x4B},
    {SDL_SCANCODE_KP_5, 0x4C},
    {SDL_SCANCODE_KP_6, 0x4D},
    {SDL_SCANCODE_KP_7, 0x47},
    {SDL_SCANCODE_KP_8, 0x48},
    {SDL_SCANCODE_KP_9, 0x49},
    {SDL_SCANCODE_KP_0, 0x52},
    {SDL_SCANCODE_KP_PERIOD, 0x53},
    {SDL_SCANCODE_NONUSBACKSLASH, 0x56},
    {SDL_SCANCODE_APPLICATION, 0xE05D},
}};

constexpr std::array<ScanPair, 8> kModifierCodes = {{
    {SDL_SCANCODE_LCTRL, 0x1D},
    {SDL_SCANCODE_LSHIFT, 0x2A},
    {SDL_SCANCODE_LALT, 0x38},
    {SDL_SCANCODE_LGUI, 0xE05B},
    {SDL_SCANCODE_RCTRL, 0xE01D},
    {SDL_SCANCODE_RSHIFT, 0x36},
    {SDL_SCANCODE_RALT, 0xE038},
    {SDL_SCANCODE_RGUI, 0xE05C},
}};

SDL_SystemCursor SystemCursor(win::CursorKind kind) {
  using K = win::CursorKind;
  switch (kind) {
    case K::IBeam:
      return SDL_SYSTEM_CURSOR_IBEAM;
    case K::Wait:
      return SDL_SYSTEM_CURSOR_WAIT;
    case K::Cross:
      return SDL_SYSTEM_CURSOR_CROSSHAIR;
    case K::SizeNWSE:
      return SDL_SYSTEM_CURSOR_SIZENWSE;
    case K::SizeNESW:
      return SDL_SYSTEM_CURSOR_SIZENESW;
    case K::SizeWE:
      return SDL_SYSTEM_CURSOR_SIZEWE;
    case K::SizeNS:
      return SDL_SYSTEM_CURSOR_SIZENS;
    case K::SizeAll:
      return SDL_SYSTEM_CURSOR_SIZEALL;
    case K::No:
      return SDL_SYSTEM_CURSOR_NO;
    case K::Hand:
      return SDL_SYSTEM_CURSOR_HAND;
    case K::AppStarting:
      return SDL_SYSTEM_CURSOR_WAITARROW;
    default:
      return SDL_SYSTEM_CURSOR_ARROW;
  }
}

// How a top-level window appears: owned windows without a caption (menus, drop-downs,
// hints) are pop-up windows; other owned windows and tool windows stay off the task bar.
Uint32 WindowFlags(win::HWND h) {
  auto style = win::DWORD(win::GetWindowLongPtrW(h, win::GWL_STYLE));
  auto ex = win::DWORD(win::GetWindowLongPtrW(h, win::GWL_EXSTYLE));
  bool owned = win::GetWindow(h, win::GW_OWNER) != nullptr;
  Uint32 flags = SDL_WINDOW_BORDERLESS;
  if (owned && (style & win::WS_CAPTION) != win::WS_CAPTION)
    flags |= SDL_WINDOW_SKIP_TASKBAR |
             ((ex & win::WS_EX_NOACTIVATE) ? SDL_WINDOW_TOOLTIP : SDL_WINDOW_POPUP_MENU);
  else if (owned || (ex & win::WS_EX_TOOLWINDOW))
    flags |= SDL_WINDOW_SKIP_TASKBAR;
  return flags;
}

// Gives the system window the window region as its shape (X11 only); without a region the
// window is whole again.
void SetShape(SDL_Window* window, win::HWND h) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
  ::Display* display = info.info.x11.display;
  ::Window xwindow = info.info.x11.window;
  gfx::Region rgn;
  if (win::GetWindowRgn(h, &rgn) == gfx::RGN_ERROR) {
    XShapeCombineMask(display, xwindow, ShapeBounding, 0, 0, 0 /* no mask */, ShapeSet);
  } else {
    std::vector<XRectangle> rects;
    for (const win::RECT& r : rgn.Rects())
      rects.push_back({short(r.Left), short(r.Top), static_cast<unsigned short>(r.Width()),
                       static_cast<unsigned short>(r.Height())});
    XShapeCombineRectangles(display, xwindow, ShapeBounding, 0, 0, rects.data(), int(rects.size()),
                            ShapeSet, Unsorted);
  }
  XFlush(display);
}

bool IsLayered(win::HWND h) {
  return win::GetWindowLongPtrW(h, win::GWL_EXSTYLE) & win::WS_EX_LAYERED;
}

win::POINT MousePoint() {
  // Screen coordinates from the pointer itself: positions relative to a window that the
  // move loop is moving would lag behind the window and make it run away.
  int x = 0, y = 0;
  SDL_GetGlobalMouseState(&x, &y);
  return {x, y};
}

}  // namespace

win::UINT ScanCodeFromSdl(SDL_Scancode code) {
  if (code >= SDL_SCANCODE_A && code <= SDL_SCANCODE_Z)
    return win::MapVirtualKeyW(win::UINT('A' + (code - SDL_SCANCODE_A)), win::MAPVK_VK_TO_VSC);
  if (code >= SDL_SCANCODE_1 && code <= SDL_SCANCODE_9)
    return win::MapVirtualKeyW(win::UINT('1' + (code - SDL_SCANCODE_1)), win::MAPVK_VK_TO_VSC);
  if (code == SDL_SCANCODE_0) return win::MapVirtualKeyW('0', win::MAPVK_VK_TO_VSC);
  for (const ScanPair& p : kScanCodes)
    if (p.sdl == code) return p.scan;
  for (const ScanPair& p : kModifierCodes)
    if (p.sdl == code) return p.scan;
  return 0;
}

Sdl::Sdl() {
  // The click that brings a window forward is a click like any other: the window system
  // decides through WM_MOUSEACTIVATE whether it goes on.
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
    throw BackendError(std::string("no display: ") + SDL_GetError());
  wakeEvent_ = SDL_RegisterEvents(1);
  win::AttachBackend(this);
}

Sdl::~Sdl() {
  automation_.reset();
  win::DetachBackend();
  for (auto& [h, s] : shown_) SDL_DestroyWindow(s.window);
  for (auto& [k, c] : cursors_) SDL_FreeCursor(c);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  // The last user of SDL also closes what SDL opened on the side (its session-bus link).
  if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
}

win::DWORD Sdl::Now() {
  return win::DWORD(SDL_GetTicks64());
}

win::RECT Sdl::DesktopRect() {
  SDL_Rect r{0, 0, 1920, 1080};
  SDL_GetDisplayBounds(0, &r);
  return {r.x, r.y, r.x + r.w, r.y + r.h};
}

void Sdl::SetAutomation(std::unique_ptr<Automation> automation) {
  automation_ = std::move(automation);
  if (automation_) {
    Uint32 type = wakeEvent_;
    automation_->Reader().OnArrival([type] {
      SDL_Event e{};
      e.type = type;
      SDL_PushEvent(&e);
    });
  }
}

void Sdl::SurfaceUpdated(win::HWND hwnd, const win::RECT& r) {
  win::RECT w;
  if (win::GetWindowRect(hwnd, &w)) dirty_ = win::UnionRects(dirty_, r.Offset(w.Left, w.Top));
}

void Sdl::RegionChanged(win::HWND hwnd) {
  layoutChanged_ = true;
  auto it = shown_.find(hwnd);
  if (it != shown_.end()) it->second.reshape = true;
}

void Sdl::CursorChanged(win::HCURSOR cursor) {
  if (!cursor) {
    SDL_ShowCursor(SDL_DISABLE);
    return;
  }
  SDL_SystemCursor id = SystemCursor(cursor->kind);
  SDL_Cursor*& c = cursors_[int(id)];
  if (!c) c = SDL_CreateSystemCursor(id);
  SDL_SetCursor(c);
  SDL_ShowCursor(SDL_ENABLE);
}

void Sdl::CaptureChanged(win::HWND hwnd) {
  SDL_CaptureMouse(hwnd ? SDL_TRUE : SDL_FALSE);
}

void Sdl::SetClipboardText(const std::u16string& text) {
  SDL_SetClipboardText(Utf16ToUtf8(text).c_str());
}

std::u16string Sdl::ClipboardText() {
  char* text = SDL_GetClipboardText();
  std::u16string out;
  try {
    out = Utf8ToUtf16(text ? text : "");
  } catch (const ScriptError&) {
    // Malformed text from another program pastes as nothing.
  }
  SDL_free(text);
  return out;
}

SDL_Window* Sdl::WindowOf(win::HWND hwnd) const {
  auto it = shown_.find(hwnd);
  return it == shown_.end() ? nullptr : it->second.window;
}

win::HWND Sdl::HwndOf(Uint32 windowId) const {
  for (auto& [h, s] : shown_)
    if (SDL_GetWindowID(s.window) == windowId) return h;
  return nullptr;
}

void Sdl::Sync() {
  // Top-level windows from the bottom up; a layered window gets a window of its own only
  // when no ordinary window lies below it, otherwise it is drawn into those windows.
  std::vector<win::HWND> tops;
  win::EnumWindows([&](win::HWND h, win::LPARAM) { return tops.push_back(h), true; }, 0);
  std::reverse(tops.begin(), tops.end());
  std::map<win::HWND, win::RECT> wanted;
  std::vector<win::RECT> ordinaryBelow;
  for (win::HWND h : tops) {
    win::RECT r;
    if (!win::IsWindowVisible(h) || !win::GetWindowRect(h, &r) || r.IsEmpty()) continue;
    if (IsLayered(h)) {
      bool over = std::any_of(ordinaryBelow.begin(), ordinaryBelow.end(),
                              [&](const win::RECT& o) { return !IntersectRects(o, r).IsEmpty(); });
      if (over) continue;
    } else {
      ordinaryBelow.push_back(r);
    }
    wanted[h] = r;
  }
  for (auto it = shown_.begin(); it != shown_.end();) {
    if (wanted.count(it->first)) {
      ++it;
      continue;
    }
    SDL_DestroyWindow(it->second.window);
    it = shown_.erase(it);
  }
  for (win::HWND h : tops) {
    auto w = wanted.find(h);
    if (w == wanted.end()) continue;
    const win::RECT& r = w->second;
    Shown& s = shown_[h];
    Uint32 flags = WindowFlags(h);
    bool iconic = win::IsIconic(h);
    if (s.window && s.flags != flags) {
      SDL_DestroyWindow(s.window);
      s.window = nullptr;
    }
    if (!s.window) {
      std::string title = Utf16ToUtf8(win::GetWindowTextW(h));
      s.window = SDL_CreateWindow(title.c_str(), r.Left, r.Top, r.Width(), r.Height(), flags);
      if (!s.window) {
        shown_.erase(h);
        throw BackendError(std::string("cannot make a window: ") + SDL_GetError());
      }
      s.flags = flags;
      s.minimized = false;
      s.reshape = true;
      // The surface first: making it may give the window a new system window (an accelerated
      // framebuffer), which would lose a shape set before.
      SDL_GetWindowSurface(s.window);
    } else if (!iconic) {
      if (r.Left != s.rect.Left || r.Top != s.rect.Top)
        SDL_SetWindowPosition(s.window, r.Left, r.Top);
      if (r.Width() != s.rect.Width() || r.Height() != s.rect.Height())
        SDL_SetWindowSize(s.window, r.Width(), r.Height());
    }
    if (s.reshape) SetShape(s.window, h);
    s.reshape = false;
    if (iconic != s.minimized) {
      // A minimised window keeps its system window where it was, minimised.
      s.minimized = iconic;
      if (iconic)
        SDL_MinimizeWindow(s.window);
      else
        SDL_RestoreWindow(s.window);
    }
    if (iconic) continue;
    s.rect = r;
    s.dirty = r;
    if (restack_) SDL_RaiseWindow(s.window);  // from the bottom up: the top one ends on top
  }
  restack_ = false;
}

void Sdl::Draw(win::HWND hwnd, Shown& s, const std::map<win::HWND, int>& depth) {
  win::RECT area = IntersectRects(s.dirty, s.rect);
  s.dirty = {};
  if (area.IsEmpty()) return;
  SDL_Surface* target = SDL_GetWindowSurface(s.window);
  if (!target) return;
  int own = depth.at(hwnd);
  // The window itself and the layered windows above it: those have no window of their own.
  gfx::Bitmap pixels = win::ComposeArea(area, [&](win::HWND h) {
    if (h == hwnd) return true;
    auto d = depth.find(h);
    return d != depth.end() && d->second > own && IsLayered(h) && !shown_.count(h);
  });
  SDL_Surface* src =
      SDL_CreateRGBSurfaceWithFormatFrom(pixels.Bits(), pixels.Width(), pixels.Height(), 32,
                                         pixels.Stride(), SDL_PIXELFORMAT_ARGB8888);
  if (!src) return;
  SDL_SetSurfaceBlendMode(src, SDL_BLENDMODE_NONE);
  SDL_Rect dst{area.Left - s.rect.Left, area.Top - s.rect.Top, area.Width(), area.Height()};
  SDL_BlitSurface(src, nullptr, target, &dst);
  SDL_FreeSurface(src);
  SDL_UpdateWindowSurfaceRects(s.window, &dst, 1);
}

void Sdl::Present() {
  if (layoutChanged_) {
    layoutChanged_ = false;
    Sync();
  }
  std::map<win::HWND, int> depth;  // 0 at the bottom
  std::vector<win::HWND> tops;
  win::EnumWindows([&](win::HWND h, win::LPARAM) { return tops.push_back(h), true; }, 0);
  for (std::size_t i = 0; i < tops.size(); ++i) depth[tops[i]] = int(tops.size() - i);
  for (auto& [h, s] : shown_) {
    s.dirty = UnionRects(s.dirty, dirty_);
    if (depth.count(h) && !s.minimized) Draw(h, s, depth);
  }
  dirty_ = {};
}

void Sdl::Handle(const SDL_Event& e) {
  bool textFollowsKey = textFollowsKey_;
  textFollowsKey_ = false;
  switch (e.type) {
    case SDL_MOUSEMOTION:
      win::InjectMouseMove(MousePoint());
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      int button = e.button.button == SDL_BUTTON_LEFT     ? 0
                   : e.button.button == SDL_BUTTON_RIGHT  ? 1
                   : e.button.button == SDL_BUTTON_MIDDLE ? 2
                                                          : -1;
      if (button >= 0) win::InjectMouseButton(button, e.type == SDL_MOUSEBUTTONDOWN, MousePoint());
      break;
    }
    case SDL_MOUSEWHEEL: {
      int flip = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1 : 1;
      if (e.wheel.y)
        win::InjectMouseWheel(e.wheel.y * flip * win::WHEEL_DELTA, false, MousePoint());
      if (e.wheel.x) win::InjectMouseWheel(e.wheel.x * flip * win::WHEEL_DELTA, true, MousePoint());
      break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      if (win::UINT scan = ScanCodeFromSdl(e.key.keysym.scancode)) {
        win::InjectKey(scan, e.type == SDL_KEYDOWN);
        textFollowsKey_ = e.type == SDL_KEYDOWN;
      }
      break;
    case SDL_TEXTINPUT:
      // The character of a key passed on comes from the window system's own layout.
      if (!textFollowsKey) {
        try {
          win::InjectText(Utf8ToUtf16(e.text.text));
        } catch (const ScriptError&) {
          // Malformed text from an input method is dropped.
        }
      }
      textFollowsKey_ = textFollowsKey;  // one key may bring several text events
      break;
    case SDL_WINDOWEVENT:
      if (win::HWND h = HwndOf(e.window.windowID)) {
        if (e.window.event == SDL_WINDOWEVENT_CLOSE)
          win::PostMessageW(h, win::WM_SYSCOMMAND, win::SC_CLOSE, 0);
        if (e.window.event == SDL_WINDOWEVENT_EXPOSED) shown_[h].dirty = shown_[h].rect;
        // Minimised or restored by the host (its task bar or window manager).
        if (e.window.event == SDL_WINDOWEVENT_MINIMIZED && !win::IsIconic(h))
          win::PostMessageW(h, win::WM_SYSCOMMAND, win::SC_MINIMIZE, 0);
        if (e.window.event == SDL_WINDOWEVENT_RESTORED && win::IsIconic(h))
          win::PostMessageW(h, win::WM_SYSCOMMAND, win::SC_RESTORE, 0);
      }
      break;
    default:
      break;
  }
}

void Sdl::WaitForInput(std::optional<win::DWORD> deadline) {
  Present();
  if (automation_ && LoopIsIdle()) {
    bool gaveWork = automation_->Idle(false);
    std::optional<win::DWORD> wake = automation_->WakeAt();
    if (gaveWork && !wake) return;
    if (wake && (!deadline || int(*wake - *deadline) < 0)) deadline = wake;
  }
  SDL_Event e;
  int got = 0;
  if (deadline) {
    int timeout = std::max(0, int(*deadline - Now()));
    got = SDL_WaitEventTimeout(&e, timeout);
  } else {
    got = SDL_WaitEvent(&e);
  }
  if (!got) return;
  Handle(e);
  while (SDL_PollEvent(&e)) Handle(e);
}

}  // namespace backend
