// An in-process backend: a virtual desktop of a given size with a virtual clock. Time moves
// only when the owner advances it or when the message loop waits for the next timer, so
// timer-driven behaviour is reproducible. The headless backend builds on it.
#pragma once

#include <functional>
#include <vector>

#include "platform/gfx/Bitmap.h"
#include "platform/win/Backend.h"

namespace win {

class VirtualDesktop : public Backend {
 public:
  // Attaches itself to the window system (dropping any previous windows); detaches when
  // destroyed.
  explicit VirtualDesktop(int width = 1920, int height = 1080);
  ~VirtualDesktop() override;
  VirtualDesktop(const VirtualDesktop&) = delete;
  VirtualDesktop& operator=(const VirtualDesktop&) = delete;

  DWORD Now() override { return clock_; }
  RECT DesktopRect() override { return {0, 0, width_, height_}; }
  // Jumps the clock to the first scheduled action (running it) or to the deadline, whichever
  // comes first; with neither, nothing can ever arrive, which is an error.
  void WaitForInput(std::optional<DWORD> deadline) override;
  // Moves the clock on by ms: timers due meanwhile become due, scheduled actions wait for the
  // message loop's next wait, and nothing is dispatched.
  void Sleep(DWORD ms) override { clock_ += ms; }
  void CursorChanged(HCURSOR cursor) override { cursor_ = cursor; }

  // Handles every message that is ready now (translating key messages) and returns how many
  // were dispatched. Stops early when WM_QUIT is retrieved (it is put back).
  int Pump();
  // Moves the clock forward by ms, handling messages and every timer that falls due on the
  // way at its own time.
  void Advance(DWORD ms);
  // Runs action (typically injecting input) when the clock reaches now + ms while the
  // message loop waits; actions at the same time run in the order they were scheduled.
  void Schedule(DWORD ms, std::function<void()> action);
  HCURSOR Cursor() const { return cursor_; }
  // What the screen shows: the desktop colour, then every visible top-level window from the
  // bottom up, inside its window region. Ordinary windows are opaque whatever their alpha
  // bytes; layered windows blend their premultiplied pixels (UpdateLayeredWindow) or their
  // painted pixels with their constant opacity, and leave out their colour key. The result
  // is opaque (alpha 255).
  gfx::Bitmap Compose() const;

 private:
  int width_;
  int height_;
  DWORD clock_ = 1000;
  HCURSOR cursor_ = nullptr;
  struct Scheduled {
    DWORD at;
    std::function<void()> action;
  };
  std::vector<Scheduled> scheduled_;  // in time order
};

// Draws the visible top-level windows that include accepts, from the bottom up, onto target,
// whose pixel (0, 0) shows the screen point origin; the rules of VirtualDesktop::Compose apply.
// Backends that present windows themselves compose with it too.
void ComposeWindows(gfx::Bitmap& target, POINT origin, const std::function<bool(HWND)>& include);
// What the screen shows inside area (screen coordinates), as VirtualDesktop::Compose: the
// desktop colour and the windows include accepts (all when it is empty), with what was drawn
// on the screen's DC over them.
gfx::Bitmap ComposeArea(const RECT& area, const std::function<bool(HWND)>& include = {});
// One top-level window alone over the desktop colour, at its full size (off-screen parts
// included), by the same rules; raises WindowError for a hidden or stale window.
gfx::Bitmap ComposeWindow(HWND hwnd);

}  // namespace win
