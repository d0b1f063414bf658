// The default non-client area: frame and caption metrics from the styles, the standard
// parts' rectangles (shared by hit testing and painting, so they cannot disagree) and the
// plain frame, caption and scroll bars an unskinned window gets.
#pragma once

#include "platform/gfx/DeviceContext.h"
#include "platform/win/Types.h"

namespace win {

// Where the default frame puts things, in window coordinates.
struct FrameLayout {
  int border = 0;      // width of the outer frame (sizing, dialog or thin border)
  int edge = 0;        // client edge inside the frame (WS_EX_CLIENTEDGE / WS_EX_STATICEDGE)
  RECT caption;        // empty without WS_CAPTION
  RECT sysMenuButton;  // empty without WS_SYSMENU
  RECT closeButton;
  RECT maxButton;  // empty without WS_MAXIMIZEBOX
  RECT minButton;  // empty without WS_MINIMIZEBOX
  RECT menuBar;    // below the caption; empty without a menu bar (SetMenu)
  RECT client;     // the client area the default WM_NCCALCSIZE gives
};
FrameLayout GetFrameLayout(HWND hwnd);  // empty for a stale window

// Draws a plain caption button (HTCLOSE, HTMAXBUTTON, HTMINBUTTON) in r; a maximised window's
// HTMAXBUTTON shows the restore mark.
void DrawCaptionButton(gfx::HDC dc, const RECT& r, LRESULT kind, bool maximized);
// Draws the default frame, caption and scroll bars of hwnd into a window DC.
void DrawDefaultFrame(HWND hwnd, gfx::HDC windowDC, bool active);

}  // namespace win
