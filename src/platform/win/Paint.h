// Painting: update regions, invalidation and validation, WM_PAINT with BeginPaint/EndPaint,
// device contexts of windows, window regions and layered windows.
//
// Every top-level window has a 32-bit surface for its whole window rectangle; a child paints
// into its top-level window's surface through a device context whose origin is the child's
// client (or window) corner and whose clip is the visible part of the window: inside every
// ancestor's client area and window region, without the children of a WS_CLIPCHILDREN window
// and without the siblings above a WS_CLIPSIBLINGS window. Ordinary windows are opaque
// whatever their alpha bytes; layered windows use their per-pixel alpha (see below).
//
// Update regions coalesce: any number of invalidations before the next WM_PAINT give one
// WM_PAINT whose paint rectangle covers their union.
#pragma once

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Region.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Types.h"

namespace win {

using gfx::HDC;

// What BeginPaint fills.
struct PAINTSTRUCT {
  HDC hdc = nullptr;
  bool fErase = false;  // the background still needs erasing (WM_ERASEBKGND returned 0)
  RECT rcPaint;         // bounds of the update region, client coordinates
};

// Adds a client rectangle (nullptr: the whole client area) to the update region. Children
// are included unless the window has WS_CLIPCHILDREN.
bool InvalidateRect(HWND hwnd, const RECT* r, bool erase);
bool InvalidateRgn(HWND hwnd, const gfx::Region* rgn, bool erase);  // client coordinates
bool ValidateRect(HWND hwnd, const RECT* r);
bool ValidateRgn(HWND hwnd, const gfx::Region* rgn);  // client coordinates; nullptr: all
// The RDW_* combination of the above, for the frame (RDW_FRAME) and children
// (RDW_ALLCHILDREN / RDW_NOCHILDREN), painting at once with RDW_UPDATENOW / RDW_ERASENOW.
// The rectangle or region is in client coordinates; with neither the whole window counts.
bool RedrawWindow(HWND hwnd, const RECT* r, const gfx::Region* rgn, UINT flags);
// Sends WM_PAINT at once when the window has an update region (children are not painted).
bool UpdateWindow(HWND hwnd);
// The bounds of the update region; false when there is none. With erase, the background is
// erased at once (WM_ERASEBKGND) when an erase is pending.
bool GetUpdateRect(HWND hwnd, RECT* r, bool erase);
int GetUpdateRgn(HWND hwnd, gfx::Region* rgn, bool erase);  // RegionComplexity

// Starts painting: sends WM_NCPAINT when the frame is invalid and WM_ERASEBKGND when an erase
// is pending, validates the window and returns a DC clipped to the update region.
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps);
bool EndPaint(HWND hwnd, const PAINTSTRUCT* ps);  // releases the DC of BeginPaint

// A DC for the client area (GetDC) or the whole window (GetWindowDC); nullptr for a stale
// window. The DC belongs to the window system until ReleaseDC; the backend learns about the
// pixels drawn when it is released.
//
// The screen's DC (GetDC(nullptr), or either call on GetDesktopWindow()) draws over every
// window in screen coordinates, for outlines such as frame-only sizing. What it draws is kept
// as an exclusive-or layer over the windows: inverting drawing (R2_NOT, DSTINVERT,
// PATINVERT) shows as it would on a screen, and drawn a second time it is gone.
HDC GetDC(HWND hwnd);
HDC GetWindowDC(HWND hwnd);        // origin at the window corner
int ReleaseDC(HWND hwnd, HDC dc);  // 1 when released
// The window a DC from GetDC/GetWindowDC/BeginPaint draws on.
HWND WindowFromDC(HDC dc);

// Fills with a brush (the brush's colour, as the platform's FillRect).
int FillRect(HDC dc, const RECT& r, HBRUSH brush);

// The window region, in window coordinates: painting and hit testing happen only inside it.
// The window keeps its own copy; nullptr removes it. Returns false for a stale window.
bool SetWindowRgn(HWND hwnd, const gfx::Region* rgn, bool redraw);
int GetWindowRgn(HWND hwnd, gfx::Region* rgn);  // RegionComplexity, RGN_ERROR when none

// Layered windows (WS_EX_LAYERED, top-level only). SetLayeredWindowAttributes sets a constant
// opacity (LWA_ALPHA) and a transparent colour (LWA_COLORKEY) for a window that paints
// normally. UpdateLayeredWindow instead gives the whole picture: premultiplied B,G,R,A
// pixels (ULW_ALPHA) with a constant opacity on top; the window may move and resize with it.
// Layered windows with WS_EX_TRANSPARENT let the mouse through; WS_EX_NOACTIVATE windows are
// never activated.
bool SetLayeredWindowAttributes(HWND hwnd, gfx::COLORREF key, BYTE alpha, DWORD flags);
bool GetLayeredWindowAttributes(HWND hwnd, gfx::COLORREF* key, BYTE* alpha,
                                DWORD* flags);  // false after UpdateLayeredWindow
struct BLENDFUNCTION {
  BYTE BlendOp = 0;  // AC_SRC_OVER
  BYTE BlendFlags = 0;
  BYTE SourceConstantAlpha = 255;
  BYTE AlphaFormat = 1;  // AC_SRC_ALPHA
};
constexpr BYTE AC_SRC_OVER = 0x00;
constexpr BYTE AC_SRC_ALPHA = 0x01;
bool UpdateLayeredWindow(HWND hwnd, const POINT* dst, const SIZE* size, const gfx::Bitmap* src,
                         const POINT* srcPt, gfx::COLORREF key, const BLENDFUNCTION* blend,
                         DWORD flags);

// For backends: the pixels of a top-level window (its whole window rectangle) and how they
// combine with what lies below.
struct SurfaceInfo {
  const gfx::Bitmap* pixels = nullptr;
  bool perPixelAlpha = false;  // premultiplied alpha from UpdateLayeredWindow
  BYTE constantAlpha = 255;
  bool colorKey = false;
  gfx::COLORREF key = 0;
  const gfx::Region* region = nullptr;  // window region, window coordinates
};
SurfaceInfo GetWindowSurface(HWND hwnd);  // empty for child and stale windows

}  // namespace win
