// Scroll information of the standard scroll bars of a window (WS_HSCROLL, WS_VSCROLL).
#pragma once

#include "platform/win/Types.h"
#include "platform/win/ControlCodes.h"

namespace win {

// Bars.
constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;
constexpr int SB_CTL = 2;
constexpr int SB_BOTH = 3;

// WM_HSCROLL / WM_VSCROLL codes (low word of wParam).
constexpr WORD SB_LINEUP = 0;
constexpr WORD SB_LINELEFT = 0;
constexpr WORD SB_LINEDOWN = 1;
constexpr WORD SB_LINERIGHT = 1;
constexpr WORD SB_PAGEUP = 2;
constexpr WORD SB_PAGELEFT = 2;
constexpr WORD SB_PAGEDOWN = 3;
constexpr WORD SB_PAGERIGHT = 3;
constexpr WORD SB_THUMBPOSITION = 4;
constexpr WORD SB_THUMBTRACK = 5;
constexpr WORD SB_TOP = 6;
constexpr WORD SB_LEFT = 6;
constexpr WORD SB_BOTTOM = 7;
constexpr WORD SB_RIGHT = 7;
constexpr WORD SB_ENDSCROLL = 8;

// SCROLLINFO masks.
constexpr UINT SIF_RANGE = 0x0001;
constexpr UINT SIF_PAGE = 0x0002;
constexpr UINT SIF_POS = 0x0004;
constexpr UINT SIF_DISABLENOSCROLL = 0x0008;
constexpr UINT SIF_TRACKPOS = 0x0010;
constexpr UINT SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

// EnableScrollBar arrows.
constexpr UINT ESB_ENABLE_BOTH = 0x0000;
constexpr UINT ESB_DISABLE_LTUP = 0x0001;
constexpr UINT ESB_DISABLE_RTDN = 0x0002;
constexpr UINT ESB_DISABLE_BOTH = 0x0003;

struct SCROLLINFO {
  UINT cbSize = sizeof(SCROLLINFO);
  UINT fMask = 0;
  int nMin = 0;
  int nMax = 0;
  UINT nPage = 0;
  int nPos = 0;
  int nTrackPos = 0;  // the thumb position while it is dragged
};

// Sets the parts named by fMask. The page is clamped to the range size (max - min + 1) and
// the position to [min, max - max(page - 1, 0)]. A bar whose range no longer scrolls is
// hidden, or disabled with SIF_DISABLENOSCROLL; one that scrolls again is shown. Returns the
// new position; 0 for a stale window or a bar other than SB_HORZ/SB_VERT.
int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO& info, bool redraw);
// Fills the parts named by info.fMask; false when there is nothing to report.
bool GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info);
int GetScrollPos(HWND hwnd, int bar);                        // 0 for a stale window
int SetScrollPos(HWND hwnd, int bar, int pos, bool redraw);  // returns the previous position
bool GetScrollRange(HWND hwnd, int bar, int* min, int* max);
bool SetScrollRange(HWND hwnd, int bar, int min, int max, bool redraw);  // as SIF_RANGE
// Shows or hides SB_HORZ, SB_VERT or SB_BOTH; the frame is recalculated.
bool ShowScrollBar(HWND hwnd, int bar, bool show);
// Enables or disables the arrows (ESB_*); false when nothing changed.
bool EnableScrollBar(HWND hwnd, UINT bar, UINT arrows);

// What GetScrollBarInfo reports of a standard bar. rgstate: [0] the bar, [1] the up/left
// arrow, [2] the page area before the thumb, [3] the thumb, [4] the page area after it, [5] the
// down/right arrow, each a combination of STATE_SYSTEM_* flags.
struct SCROLLBARINFO {
  DWORD cbSize = sizeof(SCROLLBARINFO);
  RECT rcScrollBar;       // screen coordinates; empty for a bar the window does not have
  int dxyLineButton = 0;  // length of an arrow button
  int xyThumbTop = 0;     // thumb start and end, from the bar's start; 0 without a thumb
  int xyThumbBottom = 0;
  int reserved = 0;
  DWORD rgstate[6] = {};
};
constexpr LONG_PTR OBJID_VSCROLL = -5;
constexpr LONG_PTR OBJID_HSCROLL = -6;
// Fills info for OBJID_HSCROLL or OBJID_VSCROLL. A bar the window has not (no scroll style)
// is invisible; a bar that is disabled (EnableScrollBar, SIF_DISABLENOSCROLL without a range,
// or a disabled window) is unavailable, as are its single disabled arrows; a bar that cannot
// scroll has no thumb and no page areas (invisible). False for a stale window or another object.
bool GetScrollBarInfo(HWND hwnd, LONG_PTR idObject, SCROLLBARINFO* info);

// Geometry of a standard bar in window coordinates (for painting and hit testing).
struct ScrollBarLayout {
  RECT bar;     // the whole bar
  RECT before;  // the up/left arrow button
  RECT after;   // the down/right arrow button
  RECT thumb;   // empty when the bar cannot scroll
  bool visible = false;
};
ScrollBarLayout GetScrollBarLayout(HWND hwnd, int bar);  // not visible without the style

}  // namespace win
