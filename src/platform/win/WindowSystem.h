// The window system's own state: the window table, classes, the message queue, focus,
// capture and timers. Private to the platform layer; code above uses the public headers.
//
// Rule kept by every unit: no Window pointer is held across a call that can run a window
// procedure (a procedure may destroy any window). Code looks the handle up again afterwards.
#pragma once

#include <array>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/Region.h"
#include "platform/win/Backend.h"
#include "platform/win/Menu.h"
#include "platform/win/ScrollInfo.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Timers.h"
#include "platform/win/Types.h"
#include "platform/win/Window.h"

namespace win::detail {

struct WindowClass {
  std::u16string name;
  UINT style = 0;
  WNDPROC proc;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
};

// One scroll bar of a window (SB_HORZ or SB_VERT).
struct ScrollBarState {
  int min = 0;
  int max = 100;
  UINT page = 0;
  int pos = 0;
  int trackPos = 0;
  bool tracking = false;
  UINT arrows = 0;  // ESB_DISABLE_* bits
};

// A menu: its items and whether it is a menu bar.
struct MenuData {
  std::vector<MenuItem> items;
  bool bar = false;
};

// A menu bar's last layout and what it was made from (see CachedMenuBarLayout).
struct MenuBarCache {
  HMENU menu = nullptr;
  int width = -1;
  int itemHeight = 0;
  gfx::LOGFONTW font;
  std::vector<MenuItem> items;
  std::vector<RECT> rects;  // from the bar's top-left corner
};

struct SubclassChain;
struct HookNode;

struct Window {
  HWND handle = nullptr;
  std::shared_ptr<WindowClass> cls;
  DWORD style = 0;
  DWORD exStyle = 0;
  HWND parent = nullptr;  // the desktop for top-level windows
  HWND owner = nullptr;
  std::vector<HWND> children;  // in z-order, topmost first
  RECT rect;                   // window rectangle in the parent's client coordinates
  RECT client;                 // client rectangle relative to the window's top-left corner
  std::u16string text;
  std::map<std::u16string, HANDLE, std::less<>> props;
  WNDPROC proc;
  std::shared_ptr<SubclassChain> subclasses;
  LONG_PTR userData = 0;
  LONG_PTR id = 0;
  bool destroying = false;
  bool created = false;      // WM_NCCREATE done: messages may be sent
  bool hiddenPopup = false;  // hidden because its owner was minimised (SW_PARENTCLOSING)

  // Painting.
  gfx::Region update;           // client coordinates
  bool ncPaintPending = false;  // WM_NCPAINT is owed at the next BeginPaint
  bool frameInvalid = false;    // the frame is part of the update region (asks for WM_PAINT)
  bool erasePending = false;
  bool internalPaint = false;
  bool redrawDisabled = false;              // WM_SETREDRAW 0
  std::optional<gfx::Region> windowRegion;  // window coordinates
  std::unique_ptr<gfx::Bitmap> surface;     // top-level windows only: the whole window

  // Layered windows.
  BYTE layeredAlpha = 255;
  DWORD layeredFlags = 0;  // LWA_ALPHA / LWA_COLORKEY from SetLayeredWindowAttributes
  gfx::COLORREF layeredKey = 0;
  bool layeredPerPixel = false;  // the surface holds premultiplied pixels from UpdateLayeredWindow

  ScrollBarState hscroll, vscroll;
  RECT normalRect;  // placement to restore from minimized or maximized
  HMENU systemMenu = nullptr;
  HMENU menu = nullptr;            // the menu bar (SetMenu)
  int menuRows = 1;                // rows the bar's items wrap to (counted by WM_NCCALCSIZE)
  int menuHot = -1;                // the bar item under the mouse outside the menu loop
  MenuBarCache menuBarCache;       // the bar's last layout (CachedMenuBarLayout)
  gfx::HICON iconSmall = nullptr;  // WM_SETICON; borrowed
  gfx::HICON iconBig = nullptr;
};

struct Timer {
  HWND hwnd = nullptr;
  UINT_PTR id = 0;
  UINT elapse = 0;
  DWORD due = 0;
  TIMERPROC proc = nullptr;
};

// A mouse or keyboard event waiting in the input queue, routed when it is retrieved.
struct RawInput {
  enum class Kind { MouseMove, MouseButton, Wheel, Key, Char } kind = Kind::MouseMove;
  POINT pt;
  int button = 0;  // 0 left, 1 right, 2 middle
  bool down = false;
  int delta = 0;
  bool horizontal = false;
  UINT scanCode = 0;
  char16_t ch = 0;
  DWORD time = 0;
};

// One TrackMouseEvent request; the client area and the non-client area are tracked apart.
struct MouseTracking {
  HWND hwnd = nullptr;
  DWORD flags = 0;  // TME_LEAVE, TME_HOVER (TME_NONCLIENT in the non-client record)
  DWORD hoverTime = 0;
  DWORD hoverDue = 0;
};

struct State {
  std::unordered_map<std::uintptr_t, std::shared_ptr<Window>> windows;
  std::uintptr_t nextHandle = 0x10010;
  std::vector<std::shared_ptr<WindowClass>> classes;
  HWND desktop = nullptr;
  Backend* backend = nullptr;

  std::deque<MSG> posted;
  std::deque<RawInput> input;
  bool quitPosted = false;
  int quitCode = 0;

  HWND active = nullptr;
  HWND focus = nullptr;
  HWND capture = nullptr;
  HWND mouseWindow = nullptr;  // window under the mouse at the last move
  LRESULT mouseHit = HTNOWHERE;
  HCURSOR cursor = nullptr;
  POINT cursorPos;
  std::array<MouseTracking, 2> tracking;  // [0] client area, [1] non-client area
  struct {
    HWND hwnd = nullptr;
    UINT message = 0;
    DWORD time = 0;
    POINT pt;
  } lastClick;
  std::array<BYTE, 256> keys{};  // 0x80 down, 0x01 toggled

  std::vector<Timer> timers;
  UINT_PTR nextTimerId = 1;

  std::unordered_map<std::uintptr_t, MenuData> menus;
  std::uintptr_t nextMenu = 0x20010;

  int moveLoopDepth = 0;
  RECT workArea{};  // set by SPI_SETWORKAREA; empty: the whole desktop
  bool uiRightToLeft = false;  // SetUIRightToLeft

  std::shared_ptr<HookNode> cbtHooks;  // the newest first
  std::uintptr_t nextHook = 0x30010;
};

State& S();
// The window behind a handle, or nullptr for stale or null handles.
Window* Find(HWND hwnd);
// As Find, but the desktop is not accepted.
Window* FindReal(HWND hwnd);
Backend& TheBackend();
DWORD Now();
// Back to the US layout alone, as a new session starts.
void ResetKeyboardLayouts();
// Takes the desktop size from the backend.
void ResetDesktopRect();

// Geometry.
POINT ClientOriginOnScreen(const Window& w);
RECT WindowRectOnScreen(const Window& w);
HWND RootOf(HWND hwnd);  // the top-level window holding hwnd
bool IsTopLevel(const Window& w);
bool IsVisibleOnScreen(HWND hwnd);  // visible with every ancestor

// Calls the WH_CBT hooks (the newest first) and returns the first one's answer; 0 without hooks.
LRESULT CallCbtHooks(int code, WPARAM wParam, LPARAM lParam);

// Calls the window's procedure (through its subclass chain); 0 for a stale handle.
LRESULT Deliver(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Recomputes the client rectangle through WM_NCCALCSIZE (wParam 0).
void RecalcClient(HWND hwnd);
// Runs a modal loop (moving, scroll-bar tracking, caption buttons) with the mouse captured
// by hwnd: every message is first offered to handle, which returns true when it took it;
// the loop ends when done is set, the capture is lost or WM_QUIT arrives (reposted).
void ModalLoop(HWND hwnd, const std::function<bool(const MSG&, bool* done)>& handle);
// The default scroll-bar mouse handling after a press on HTHSCROLL / HTVSCROLL.
void TrackScrollBar(HWND hwnd, int bar, POINT screen);
// Whether the window shows a menu bar (a top-level window given one with SetMenu).
bool HasMenuBar(const Window& w);
// The rows of the window's menu bar as last counted (0 without a bar).
int MenuRows(const Window& w);
// Counts the rows the bar's items wrap to in a window of that width (WM_NCCALCSIZE does).
void CountMenuRows(HWND hwnd, int windowWidth);
// The icon the caption shows (WM_GETICON with ICON_SMALL2): the small one, else the big one,
// else the default application icon.
gfx::HICON CaptionIcon(const Window& w);
// The sizes and the maximised place a window accepts: the defaults for its frame and parent,
// as the window's WM_GETMINMAXINFO leaves them.
MINMAXINFO AskMinMaxInfo(HWND hwnd);
// The default WM_NCCALCSIZE: the client rectangle inside window rectangle r (same space).
RECT DefaultClientRect(const Window& w, const RECT& r);
LRESULT DefaultHitTest(HWND hwnd, POINT screen);
// The window that takes the mouse at a screen point (WM_NCHITTEST, HTTRANSPARENT passes).
HWND WindowUnderPoint(POINT screen, LRESULT* hit);

// Painting hooks used by window management.
// After a move, size, show or hide: redraws the window (full) and what it uncovered.
void InvalidateForGeometry(HWND hwnd, const RECT& oldScreen, bool full, bool exposeOld);
// Invalidates what a window covered in its parent (nothing for top-level windows).
void InvalidateArea(HWND parent, const RECT& screenRect);
void ResizeSurface(Window& w);
// DCs of a window that goes away draw nowhere from now on.
void DropDCsOf(HWND hwnd);

// Focus and activation hooks used by window management.
void WindowHiddenOrDestroyed(HWND hwnd);
void ActivateWindow(HWND hwnd, WORD how);

// Routes one input event to a window; false when it produces no message (eaten).
bool RouteInput(const RawInput& raw, MSG* out);
// The first visible window (parents before children) with something to paint, or nullptr.
HWND NextWindowToPaint(HWND filter);
// A due timer's WM_TIMER; with remove its next period starts now.
bool NextDueTimer(MSG* out, HWND filter, bool remove);
// When the next timer (of filter and its children, or any) falls due; never before now.
std::optional<DWORD> NextTimerDeadline(HWND filter);
bool TimerExists(HWND hwnd, UINT_PTR id);
// A due WM_MOUSEHOVER of TrackMouseEvent (taken once).
bool CheckHover(MSG* out, DWORD now, bool remove);

// Timers, mouse state and menus of a window that goes away.
void DropWindowTimers(HWND hwnd);
void DropMenusOf(Window& w);
// Enables and greys the standard commands of the window's system menu by its present style
// and state, keeping whatever else the program put there.
void RefreshSystemMenu(HWND hwnd);
// The window whose system menu menu is, or nullptr.
HWND SystemMenuOwner(HMENU menu);

}  // namespace win::detail
