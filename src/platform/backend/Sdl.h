// The SDL backend: every visible top-level window is an undecorated SDL window showing the
// window's pixels, with the layered windows above it (overlays, hints) composed into it.
// Real mouse, keyboard, text input, cursors and clipboard; a real clock in milliseconds.
//
// A window with a window region gives its system window that shape (through the X shape
// extension): outside the region the screen shows what lies behind it. Minimising and restoring a
// window minimises and restores its system window, and the other way round.
//
// Keys are passed on as physical keys (set-1 scan codes), so the window system's own layout
// decides the characters whatever the host's layout is; text that comes without such a key
// (an input method) is passed on as characters.
#pragma once

#include <SDL.h>

#include <map>
#include <memory>

#include "platform/backend/Automation.h"
#include "platform/win/Backend.h"

namespace backend {

// SDL could not start or could not make a window.
class BackendError : public std::runtime_error {
 public:
  explicit BackendError(const std::string& message) : std::runtime_error(message) {}
};

class Sdl : public win::Backend {
 public:
  // Starts SDL video and attaches itself to the window system; raises BackendError when no
  // display can be reached.
  Sdl();
  ~Sdl() override;
  Sdl(const Sdl&) = delete;
  Sdl& operator=(const Sdl&) = delete;

  win::DWORD Now() override;
  win::RECT DesktopRect() override;
  // Shows what changed, runs the script when the program is idle, then waits for SDL events
  // until the deadline and passes their input on.
  void WaitForInput(std::optional<win::DWORD> deadline) override;
  void Sleep(win::DWORD ms) override { SDL_Delay(ms); }
  void WindowShown(win::HWND) override { layoutChanged_ = restack_ = true; }
  void WindowHidden(win::HWND) override { layoutChanged_ = true; }
  void WindowMoved(win::HWND, const win::RECT&) override { layoutChanged_ = true; }
  void WindowDestroyed(win::HWND) override { layoutChanged_ = true; }
  void ZOrderChanged() override { layoutChanged_ = restack_ = true; }
  void SurfaceUpdated(win::HWND hwnd, const win::RECT& r) override;
  void RegionChanged(win::HWND hwnd) override;
  void CursorChanged(win::HCURSOR cursor) override;
  void CaptureChanged(win::HWND hwnd) override;
  void SetClipboardText(const std::u16string& text) override;
  std::u16string ClipboardText() override;

  // Drives the program from a script from now on.
  void SetAutomation(std::unique_ptr<Automation> automation);
  // Brings the SDL windows in line with the top-level windows and shows changed pixels.
  void Present();
  // The SDL window showing a top-level window, or nullptr (hidden, or drawn into another).
  SDL_Window* WindowOf(win::HWND hwnd) const;

 private:
  struct Shown {
    SDL_Window* window = nullptr;
    win::RECT rect;   // where it was placed, screen coordinates
    win::RECT dirty;  // what must be drawn again, screen coordinates
    Uint32 flags = 0;
    bool reshape = false;    // the window region changed since the shape was set
    bool minimized = false;  // the system window was asked to minimise
  };
  void Sync();
  void Draw(win::HWND hwnd, Shown& shown, const std::map<win::HWND, int>& depth);
  void Handle(const SDL_Event& e);
  win::HWND HwndOf(Uint32 windowId) const;

  std::map<win::HWND, Shown> shown_;
  bool layoutChanged_ = true;
  bool restack_ = true;  // the system's stacking must follow the z-order again
  win::RECT dirty_;      // screen area whose pixels changed since the last Present
  std::map<int, SDL_Cursor*> cursors_;
  bool textFollowsKey_ = false;  // the next text input is the character of a key passed on
  Uint32 wakeEvent_ = 0;         // pushed by the script reader when a line arrives
  std::unique_ptr<Automation> automation_;
};

// The set-1 scan code of an SDL scan code (0xE000 marks extended keys); 0 when unknown.
win::UINT ScanCodeFromSdl(SDL_Scancode code);

}  // namespace backend
