// Focus, activation, capture, the cursor and mouse tracking.
#pragma once

#include "platform/win/SystemMetrics.h"
#include "platform/win/Types.h"

namespace win {

// Keyboard focus. SetFocus activates the window's top-level window first; the old window gets
// WM_KILLFOCUS, the new one WM_SETFOCUS. Returns the previous focus; nullptr on failure.
HWND SetFocus(HWND hwnd);
HWND GetFocus();  // nullptr when no window has it
// Activation of top-level windows: WM_NCACTIVATE and WM_ACTIVATE to the old and the new one
// (WM_ACTIVATEAPP to every top-level window when the application gains or loses its last
// active window); the default WM_ACTIVATE gives the focus to the activated window.
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();               // the active top-level window or nullptr
bool SetForegroundWindow(HWND hwnd);  // activation within this one application
HWND GetForegroundWindow();           // the active window

// Mouse capture: every mouse message goes to the capture window as client messages.
// WM_CAPTURECHANGED goes to the window losing it.
HWND SetCapture(HWND hwnd);
bool ReleaseCapture();  // always succeeds
HWND GetCapture();      // nullptr when nobody captures the mouse

// The cursor shown now; SetCursor returns the previous one.
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();          // nullptr before any was set
bool GetCursorPos(POINT* p);  // screen coordinates of the last mouse event
// Moves the cursor as a mouse move at that point would (queued as input).
bool SetCursorPos(int x, int y);

// WM_MOUSELEAVE / WM_MOUSEHOVER (and their non-client forms) for the window under the mouse.
struct TRACKMOUSEEVENT {
  DWORD cbSize = sizeof(TRACKMOUSEEVENT);
  DWORD dwFlags = 0;  // TME_*
  HWND hwndTrack = nullptr;
  DWORD dwHoverTime = 0;  // HOVER_DEFAULT: 400 ms
};
// Starts (or with TME_CANCEL stops) tracking; with TME_QUERY fills the current request. The
// client area and, with TME_NONCLIENT, the non-client area are tracked apart: each has its own
// request and its own WM_MOUSELEAVE / WM_NCMOUSELEAVE (the mouse leaving the window, or
// passing between its client and non-client parts). A leave request for a part the mouse is
// not over posts the leave message at once.
bool TrackMouseEvent(TRACKMOUSEEVENT* tme);

}  // namespace win
