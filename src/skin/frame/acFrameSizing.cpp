#include "skin/frame/acFrameSizing.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "platform/win/Input.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"

namespace skin::frame {

using gfx::TPoint;
using gfx::TRect;

TacFrameSizing::~TacFrameSizing() {
  Cancel();
}

bool TacFrameSizing::StartMove(win::HWND wnd, int hitCode, TPoint screen, gfx::TSize minSize,
                               gfx::TSize maxSize) {
  if (FWnd || !wnd) return false;
  const bool moving = hitCode == win::HTCAPTION;
  if (!moving && (hitCode < win::HTLEFT || hitCode > win::HTBOTTOMRIGHT)) return false;
  win::RECT r{};
  if (!win::GetWindowRect(wnd, &r)) return false;
  gfx::HDC dc = win::GetDC(nullptr);
  if (!dc) return false;
  FWnd = wnd;
  FDC = dc;
  FSavedDC = gfx::SaveDC(dc);
  gfx::SetROP2(dc, gfx::R2_NOT);
  FMoving = moving;
  FHitCode = hitCode;
  FStartMouse = screen;
  FStart = FPending = r;
  FMinSize = {std::min(minSize.cx, FStart.Width()), std::min(minSize.cy, FStart.Height())};
  // No limit where 0, and never one that the window already passes.
  const auto limit = [](int max, int now) { return max > 0 ? std::max(max, now) : INT_MAX / 2; };
  FMaxSize = {limit(maxSize.cx, FStart.Width()), limit(maxSize.cy, FStart.Height())};
  win::SetCapture(wnd);
  Outline();
  return true;
}

TRect TacFrameSizing::Follow(TPoint screen) const {
  const int dx = screen.X - FStartMouse.X, dy = screen.Y - FStartMouse.Y;
  if (FMoving) return FStart.Offset(dx, dy);
  TRect r = FStart;
  const int h = FHitCode;
  // The edges the sizing code names follow the mouse, within the minimum and maximum size.
  if (h == win::HTLEFT || h == win::HTTOPLEFT || h == win::HTBOTTOMLEFT)
    r.Left = std::clamp(FStart.Left + dx, FStart.Right - FMaxSize.cx, FStart.Right - FMinSize.cx);
  if (h == win::HTRIGHT || h == win::HTTOPRIGHT || h == win::HTBOTTOMRIGHT)
    r.Right = std::clamp(FStart.Right + dx, FStart.Left + FMinSize.cx, FStart.Left + FMaxSize.cx);
  if (h == win::HTTOP || h == win::HTTOPLEFT || h == win::HTTOPRIGHT)
    r.Top = std::clamp(FStart.Top + dy, FStart.Bottom - FMaxSize.cy, FStart.Bottom - FMinSize.cy);
  if (h == win::HTBOTTOM || h == win::HTBOTTOMLEFT || h == win::HTBOTTOMRIGHT)
    r.Bottom = std::clamp(FStart.Bottom + dy, FStart.Top + FMinSize.cy, FStart.Top + FMaxSize.cy);
  return r;
}

void TacFrameSizing::DrawFormBorder(TPoint screen) {
  if (!FWnd) return;
  const TRect next = Follow(screen);
  if (next == FPending) return;
  Outline();  // erased
  FPending = next;
  Outline();
}

void TacFrameSizing::Outline() {
  // The last pixel row and column inside the rectangle, so the outline covers the frame.
  const TRect& r = FPending;
  const TPoint points[5] = {{r.Left, r.Top},
                            {r.Right - 1, r.Top},
                            {r.Right - 1, r.Bottom - 1},
                            {r.Left, r.Bottom - 1},
                            {r.Left, r.Top}};
  gfx::Polyline(FDC, points, 5);
}

void TacFrameSizing::Finish() {
  Outline();
  gfx::RestoreDC(FDC, FSavedDC);
  win::ReleaseDC(nullptr, FDC);
  FDC = nullptr;
  FWnd = nullptr;
}

void TacFrameSizing::StopMove(TPoint screen) {
  if (!FWnd) return;
  const win::HWND wnd = FWnd;
  DrawFormBorder(screen);
  const TRect r = FPending;
  Finish();
  if (win::GetCapture() == wnd) win::ReleaseCapture();
  win::MoveWindow(wnd, r.Left, r.Top, r.Width(), r.Height(), true);
}

void TacFrameSizing::Cancel() {
  if (!FWnd) return;
  const win::HWND wnd = FWnd;
  Finish();
  if (win::GetCapture() == wnd) win::ReleaseCapture();
}

// ---- Snapping ----------------------------------------------------------------------------------

namespace {

// The distance of edge from target when within buffer pixels, as a snap.
bool Near(int edge, int target, int buffer, int& delta) {
  if (std::abs(edge - target) >= buffer) return false;
  delta = edge - target;
  return true;
}

bool Overlap(const TRect& a, const TRect& b) {
  return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

}  // namespace

void CheckEdges(const TRect& moving, const TRect& target, int buffer, int& dx, int& dy,
                bool& snappedX, bool& snappedY) {
  if (!snappedX)
    snappedX =
        Near(moving.Left, target.Left, buffer, dx) || Near(moving.Right, target.Right, buffer, dx);
  if (!snappedY)
    snappedY =
        Near(moving.Top, target.Top, buffer, dy) || Near(moving.Bottom, target.Bottom, buffer, dy);
}

void CheckNewPosition(int& x, int& y, gfx::TSize size, const std::vector<TRect>& others,
                      const TRect& workArea, int buffer) {
  if (buffer <= 0) return;
  const TRect moving = gfx::RectOfSize(x, y, size.cx, size.cy);
  int dx = 0, dy = 0;
  bool snappedX = false, snappedY = false;
  const TRect& w = workArea;
  for (const TRect& t : others) {
    if (snappedX && snappedY) break;
    // The parts of the work area beside the other window, each with the other window's edge
    // as its own: the moving window snaps onto it from that side.
    const TRect strips[4] = {{w.Left, t.Top, t.Left, t.Bottom},
                             {t.Left, w.Top, t.Right, t.Top},
                             {t.Right, t.Top, w.Right, t.Bottom},
                             {t.Left, t.Bottom, t.Right, w.Bottom}};
    for (const TRect& strip : strips)
      if (!strip.IsEmpty() && Overlap(strip, moving))
        CheckEdges(moving, strip, buffer, dx, dy, snappedX, snappedY);
  }
  CheckEdges(moving, workArea, buffer, dx, dy, snappedX, snappedY);
  x -= dx;
  y -= dy;
}

}  // namespace skin::frame
