// Frame-only moving and sizing of a skinned form (ResizeMode rmBorder), and the snapping of a
// moved form to the edges of the other skinned forms and of the work area (ScreenSnap).
//
// While a frame-only move or size runs, only an inverted outline of the pending rectangle
// follows the mouse on the desktop; the form takes the final rectangle once, on release.
#pragma once

#include <vector>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Geometry.h"
#include "platform/win/Window.h"

namespace skin::frame {

// How a press on the caption or the sizing border of a skinned form moves or sizes it.
enum class TacResizeMode { rmStandard, rmBorder };

// One frame-only move or size. The desktop's DC is held from StartMove to StopMove, so only
// one can run at a time.
class TacFrameSizing {
 public:
  TacFrameSizing() = default;
  TacFrameSizing(const TacFrameSizing&) = delete;
  TacFrameSizing& operator=(const TacFrameSizing&) = delete;
  // Ends a running operation without moving the form (its outline erased).
  ~TacFrameSizing();

  // Starts moving (hitCode HTCAPTION) or sizing (HTLEFT .. HTBOTTOMRIGHT) the window from the
  // mouse at screen; minSize and maxSize (0: no limit) bound the sized rectangle. Captures the
  // mouse and draws the outline. False (nothing started) for another hit code or while one
  // runs.
  bool StartMove(win::HWND wnd, int hitCode, gfx::TPoint screen, gfx::TSize minSize,
                 gfx::TSize maxSize = {});
  // The mouse moved to screen: the outline follows.
  void DrawFormBorder(gfx::TPoint screen);
  // Erases the outline, releases the mouse and the DC and moves the window to the pending
  // rectangle (repainting).
  void StopMove(gfx::TPoint screen);
  // Ends without moving the window (the capture was taken away).
  void Cancel();

  bool InProcess() const { return FWnd != nullptr; }
  // The rectangle the outline shows, in screen coordinates.
  const gfx::TRect& Pending() const { return FPending; }

 private:
  void Outline();  // inverts the pending rectangle's outline
  gfx::TRect Follow(gfx::TPoint screen) const;
  void Finish();

  win::HWND FWnd = nullptr;
  gfx::HDC FDC = nullptr;
  int FSavedDC = 0;
  bool FMoving = false;  // moving rather than sizing
  int FHitCode = 0;
  gfx::TPoint FStartMouse;
  gfx::TRect FStart, FPending;
  gfx::TSize FMinSize, FMaxSize;
};

// Snaps one axis pair of moving onto target: a left (top) edge of moving within buffer pixels
// of target's left (top) edge gives the distance to it in dx (dy); when it did not snap the
// right (bottom) edges are tried. An axis whose snapped flag is set already is left alone;
// a snap sets it.
void CheckEdges(const gfx::TRect& moving, const gfx::TRect& target, int buffer, int& dx, int& dy,
                bool& snappedX, bool& snappedY);

// The position (x, y) proposed for a window of size `size`, adjusted in place so that its
// edges within buffer pixels of another window's edge (others, screen rectangles) or of the
// work area's edge lie on that edge. Each other window is approached from the four strips of
// the work area beside it (left, above, right and below), where they overlap the moving
// rectangle; the first window that snaps both axes ends the search, and an axis left unsnapped
// is tried against the work area.
void CheckNewPosition(int& x, int& y, gfx::TSize size, const std::vector<gfx::TRect>& others,
                      const gfx::TRect& workArea, int buffer);

}  // namespace skin::frame
