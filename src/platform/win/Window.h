// Window classes, creation and destruction, the window tree and z-order, show and hide,
// SetWindowPos, rectangles and coordinate mapping, text, properties and window longs.
//
// Coordinates: a window's rectangle is kept relative to its parent's client area; top-level
// windows are children of the desktop, whose client area is the screen.
//
// Creation sends, in order: WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE, then
// WM_PARENTNOTIFY to the parent of a child, and, for WS_VISIBLE, what ShowWindow(SW_SHOW)
// sends. Destruction hides the window, moves activation and focus away, then sends
// WM_DESTROY (the window before its children) and WM_NCDESTROY (children first).
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win/Messages.h"
#include "platform/win/Styles.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Types.h"

namespace win {

// What RegisterClassExW takes.
struct WNDCLASSEXW {
  UINT style = 0;                  // CS_*
  WNDPROC lpfnWndProc;             // required
  HCURSOR hCursor = nullptr;       // cursor over the client area; nullptr: the window sets it
  HBRUSH hbrBackground = nullptr;  // WM_ERASEBKGND fill; nullptr: no erasing
  std::u16string lpszClassName;    // compared exactly
};
// Registers a class; returns a non-zero atom, 0 when the name is taken.
ATOM RegisterClassExW(const WNDCLASSEXW& wc);
bool UnregisterClassW(std::u16string_view name);  // false while windows of it exist
std::u16string GetClassNameW(HWND hwnd);
// Class values (GCL_STYLE, GCLP_HCURSOR, GCLP_HBRBACKGROUND) as numbers; Set returns the old.
std::uintptr_t GetClassLongPtrW(HWND hwnd, int index);
std::uintptr_t SetClassLongPtrW(HWND hwnd, int index,
                                std::uintptr_t value);  // changes the class of every window of it

// What WM_NCCREATE and WM_CREATE receive in lParam.
struct CREATESTRUCTW {
  void* lpCreateParams = nullptr;
  UINT_PTR hMenu = 0;  // the child identifier
  HWND hwndParent = nullptr;
  int cy = 0, cx = 0, y = 0, x = 0;
  DWORD style = 0;
  const char16_t* lpszName = u"";
  const char16_t* lpszClass = u"";
  DWORD dwExStyle = 0;
};

// Creates a window. parent is the parent of a WS_CHILD window and the owner of others.
// Returns nullptr when WM_NCCREATE returns 0 or WM_CREATE returns -1; raises WindowError for
// an unknown class, or a child without a parent.
HWND CreateWindowExW(DWORD exStyle, std::u16string_view className, std::u16string_view name,
                     DWORD style, int x, int y, int width, int height, HWND parent, UINT_PTR id,
                     void* param = nullptr);
// Destroys the window, its owned windows and its children. Safe to call from inside the
// window's own procedure; false for a stale handle or a window already being destroyed.
bool DestroyWindow(HWND hwnd);
bool IsWindow(HWND hwnd);  // false for stale, null and desktop handles
HWND GetDesktopWindow();   // the parent of every top-level window

// Tree.
HWND GetParent(HWND hwnd);  // the parent of a child, the owner of a popup, else nullptr
HWND GetAncestor(HWND hwnd, UINT flags);  // GA_PARENT, GA_ROOT, GA_ROOTOWNER
HWND SetParent(HWND hwnd, HWND parent);   // keeps the position numbers; returns the old parent
HWND GetWindow(HWND hwnd, UINT cmd);      // GW_*
HWND GetTopWindow(HWND hwnd);             // topmost child; of the desktop for nullptr
bool IsChild(HWND parent, HWND hwnd);     // any depth
// Enumeration over a snapshot: windows destroyed meanwhile are skipped. The callback
// returns false to stop. EnumChildWindows visits every descendant, each child followed by its
// own descendants; EnumWindows visits top-level windows in z-order.
using WNDENUMPROC = std::function<bool(HWND, LPARAM)>;
bool EnumChildWindows(HWND parent, const WNDENUMPROC& proc, LPARAM lParam);  // false when stopped
bool EnumWindows(const WNDENUMPROC& proc, LPARAM lParam);                    // false when stopped

// Visibility, state and placement.
bool ShowWindow(HWND hwnd, int cmd);  // returns whether it was visible before
bool IsWindowVisible(HWND hwnd);      // WS_VISIBLE on the window and every ancestor
bool IsIconic(HWND hwnd);
bool IsZoomed(HWND hwnd);                   // maximized
bool EnableWindow(HWND hwnd, bool enable);  // returns whether it was disabled before
bool IsWindowEnabled(HWND hwnd);

// What WM_WINDOWPOSCHANGING/CHANGED carry.
struct WINDOWPOS {
  HWND hwnd = nullptr;
  HWND hwndInsertAfter = nullptr;
  int x = 0, y = 0, cx = 0, cy = 0;
  UINT flags = 0;
};
// What WM_NCCALCSIZE carries when wParam is 1: rgrc[0] is the new window rectangle on entry
// and the new client rectangle on return (both in the parent's client coordinates); rgrc[1]
// and rgrc[2] are the old window and client rectangles.
struct NCCALCSIZE_PARAMS {
  RECT rgrc[3];
  WINDOWPOS* lppos = nullptr;
};
// What WM_GETMINMAXINFO carries.
struct MINMAXINFO {
  POINT ptReserved, ptMaxSize, ptMaxPosition, ptMinTrackSize, ptMaxTrackSize;
};
// What WM_STYLECHANGING/CHANGED carry.
struct STYLESTRUCT {
  DWORD styleOld = 0;
  DWORD styleNew = 0;
};

// Moves, sizes, reorders, shows or hides a window (SWP_* flags). Sends WM_WINDOWPOSCHANGING
// (whose WINDOWPOS may be changed), WM_NCCALCSIZE when the size changes or with
// SWP_FRAMECHANGED, and WM_WINDOWPOSCHANGED, whose default handling sends WM_MOVE and WM_SIZE.
bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
bool MoveWindow(HWND hwnd, int x, int y, int width, int height,
                bool repaint);     // SetWindowPos without z-order or activation
bool BringWindowToTop(HWND hwnd);  // top of its siblings, activating a top-level window

// Rectangles and coordinate mapping.
bool GetWindowRect(HWND hwnd, RECT* r);  // screen coordinates
bool GetClientRect(HWND hwnd, RECT* r);  // {0, 0, width, height}
bool ClientToScreen(HWND hwnd, POINT* p);
bool ScreenToClient(HWND hwnd, POINT* p);  // the reverse of ClientToScreen
// Maps points from one window's client coordinates to another's (nullptr: the screen).
// Returns the offset added, x in the low word and y in the high word.
int MapWindowPoints(HWND from, HWND to, POINT* points, int count);
// Adjusts a client rectangle to the window rectangle the styles need.
bool AdjustWindowRectEx(RECT* r, DWORD style, bool menu, DWORD exStyle);

// Windows under a point. WindowFromPoint hit-tests visible windows from the top with
// WM_NCHITTEST and passes over windows answering HTTRANSPARENT; a disabled child leaves the
// point to its parent, a disabled top-level window is returned without a hit test.
// ChildWindowFromPointEx looks at the direct children only (point in the parent's client
// coordinates); it returns the parent itself when no child is there, nullptr when the point is
// outside the parent.
HWND WindowFromPoint(POINT screen);
HWND ChildWindowFromPointEx(HWND parent, POINT pt, UINT flags);  // CWP_* flags skip children

// Text (through WM_SETTEXT / WM_GETTEXT, so procedures may keep their own).
bool SetWindowTextW(HWND hwnd, std::u16string_view text);
std::u16string GetWindowTextW(HWND hwnd);  // empty for a stale window
int GetWindowTextLengthW(HWND hwnd);       // in UTF-16 units

// Properties: named values kept with the window until it is destroyed.
bool SetPropW(HWND hwnd, std::u16string_view name, HANDLE value);
HANDLE GetPropW(HWND hwnd, std::u16string_view name);     // nullptr when absent
HANDLE RemovePropW(HWND hwnd, std::u16string_view name);  // the removed value

// Window longs: GWL_STYLE, GWL_EXSTYLE (with WM_STYLECHANGING/CHANGED), GWLP_ID,
// GWLP_USERDATA, GWLP_HWNDPARENT (the owner). The procedure has its own overloads below.
// Set returns the previous value; both return 0 for a stale window or an unknown index.
LONG_PTR GetWindowLongPtrW(HWND hwnd, int index);
LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value);  // returns the previous value
// GWLP_WNDPROC: replaces the window procedure and returns the previous one.
WNDPROC SetWindowLongPtrW(HWND hwnd, int index, WNDPROC proc);
WNDPROC GetWindowProc(HWND hwnd);  // the current procedure (GWLP_WNDPROC)

}  // namespace win
