// Where windows appear. The window system tells a backend what changed on the desktop and
// asks it for the time and for input; the backend feeds input through the Inject* entry
// points. A headless backend keeps a virtual desktop and a virtual clock; a real one mirrors
// top-level windows as system windows.
#pragma once

#include <optional>
#include <string>

#include "platform/win/SystemMetrics.h"
#include "platform/win/Types.h"

namespace win {

class Backend {
 public:
  virtual ~Backend() = default;

  // The clock of the window system in milliseconds (message times, timers, double-clicks).
  virtual DWORD Now() = 0;
  // The desktop's rectangle in screen coordinates.
  virtual RECT DesktopRect() = 0;
  // Blocks until input is injected or, when a deadline is given, the clock reaches it.
  // A backend that can never receive input raises WindowError instead of blocking forever.
  virtual void WaitForInput(std::optional<DWORD> deadline) = 0;
  // Lets ms milliseconds pass without handling any message or input.
  virtual void Sleep(DWORD ms) = 0;

  // Notifications about top-level windows; rectangles are in screen coordinates.
  virtual void WindowShown(HWND) {}
  virtual void WindowHidden(HWND) {}
  virtual void WindowMoved(HWND, const RECT&) {}
  virtual void WindowDestroyed(HWND) {}
  virtual void ZOrderChanged() {}
  // Pixels of a top-level window's surface changed inside r (window coordinates).
  virtual void SurfaceUpdated(HWND, const RECT&) {}
  virtual void CursorChanged(HCURSOR) {}
  virtual void CaptureChanged(HWND) {}
  // The window region of a top-level window was set or removed.
  virtual void RegionChanged(HWND) {}

  // The clipboard's text.
  virtual void SetClipboardText(const std::u16string& text) { clipboard_ = text; }
  virtual std::u16string ClipboardText() { return clipboard_; }

 private:
  std::u16string clipboard_;
};

// Starts the window system on a backend (borrowed until DetachBackend). Attaching drops the
// windows, messages and timers of a previous backend.
void AttachBackend(Backend* backend);
// Destroys every window and forgets all messages, timers, focus and capture.
void DetachBackend();

// Input entry points, called by the backend. Events wait in the input queue and are routed
// (hit testing, capture, focus) when the message loop retrieves them, after posted messages.
// Mouse positions are in desktop (screen) coordinates; buttons are 0 left, 1 right, 2 middle.
void InjectMouseMove(POINT pt);
void InjectMouseButton(int button, bool down, POINT pt);      // a press or release
void InjectMouseWheel(int delta, bool horizontal, POINT pt);  // delta: WHEEL_DELTA a notch
// A physical key by its set-1 scan code; extended keys carry 0xE000 (right Ctrl 0xE01D,
// arrows 0xE048...). The active keyboard layout gives the virtual key and the characters.
void InjectKey(UINT scanCode, bool down);
// Characters that come without a key (automation, input methods); each UTF-16 unit becomes
// a WM_CHAR for the focus window. Backends do not send text for keys they inject.
void InjectText(std::u16string_view text);

}  // namespace win
