#include "platform/win/ScrollInfo.h"

#include <algorithm>

#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "platform/win/Timers.h"
#include "platform/win/Window.h"
#include "platform/win/WindowSystem.h"

namespace win {

using namespace detail;

namespace {

constexpr int kMinThumb = 8;
constexpr UINT_PTR kRepeatTimer = 0xFFF0;  // the scroll-bar tracking's own timer id
constexpr UINT kFirstRepeat = 400;
constexpr UINT kRepeat = 50;

ScrollBarState* Bar(Window& w, int bar) {
  if (bar == SB_HORZ) return &w.hscroll;
  if (bar == SB_VERT) return &w.vscroll;
  return nullptr;
}

DWORD StyleBit(int bar) {
  return bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL;
}

// Whether the range is larger than a page, so that the bar can scroll.
bool Scrolls(const ScrollBarState& s) {
  return s.page == 0 ? s.max > s.min : std::int64_t(s.page) <= std::int64_t(s.max) - s.min;
}

int MaxPos(const ScrollBarState& s) {
  std::int64_t m = std::int64_t(s.max) - std::max<std::int64_t>(std::int64_t(s.page) - 1, 0);
  return int(std::max<std::int64_t>(m, s.min));
}

void Clamp(ScrollBarState& s) {
  std::int64_t range = std::int64_t(s.max) - s.min + 1;
  s.page = UINT(std::clamp<std::int64_t>(s.page, 0, std::max<std::int64_t>(range, 0)));
  s.pos = std::clamp(s.pos, s.min, MaxPos(s));
}

void FrameChanged(HWND hwnd) {
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// Repaints the frame, where the bars are drawn.
void RedrawFrame(HWND hwnd) {
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_NOCHILDREN);
}

// Shows or hides a window's bar by its style bit; true when it changed.
bool SetBarVisible(HWND hwnd, int bar, bool show) {
  Window* w = FindReal(hwnd);
  if (!w || ((w->style & StyleBit(bar)) != 0) == show) return false;
  if (show)
    w->style |= StyleBit(bar);
  else
    w->style &= ~StyleBit(bar);
  return true;
}

}  // namespace

int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO& info, bool redraw) {
  Window* w = FindReal(hwnd);
  if (!w) return 0;
  ScrollBarState* s = Bar(*w, bar);
  if (!s) return 0;
  if (info.fMask & SIF_RANGE) s->min = info.nMin, s->max = std::max(info.nMin, info.nMax);
  if (info.fMask & SIF_PAGE) s->page = info.nPage;
  if (info.fMask & SIF_POS) s->pos = info.nPos;
  Clamp(*s);
  int pos = s->pos;
  bool changed = false;
  if (info.fMask & (SIF_RANGE | SIF_PAGE)) {
    bool scrolls = Scrolls(*s);
    if (info.fMask & SIF_DISABLENOSCROLL) {
      changed = SetBarVisible(hwnd, bar, true);
      s->arrows = scrolls ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH;
    } else {
      changed = SetBarVisible(hwnd, bar, scrolls);
    }
  }
  if (changed)
    FrameChanged(hwnd);
  else if (redraw)
    RedrawFrame(hwnd);
  return pos;
}

bool GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info) {
  Window* w = FindReal(hwnd);
  if (!w || !info) return false;
  ScrollBarState* s = Bar(*w, bar);
  if (!s) return false;
  if (info->fMask & SIF_RANGE) info->nMin = s->min, info->nMax = s->max;
  if (info->fMask & SIF_PAGE) info->nPage = s->page;
  if (info->fMask & SIF_POS) info->nPos = s->pos;
  if (info->fMask & SIF_TRACKPOS) info->nTrackPos = s->tracking ? s->trackPos : s->pos;
  return (info->fMask & SIF_ALL) != 0;
}

int GetScrollPos(HWND hwnd, int bar) {
  SCROLLINFO si;
  si.fMask = SIF_POS;
  return GetScrollInfo(hwnd, bar, &si) ? si.nPos : 0;
}

int SetScrollPos(HWND hwnd, int bar, int pos, bool redraw) {
  int old = GetScrollPos(hwnd, bar);
  SCROLLINFO si;
  si.fMask = SIF_POS;
  si.nPos = pos;
  SetScrollInfo(hwnd, bar, si, redraw);
  return old;
}

bool GetScrollRange(HWND hwnd, int bar, int* min, int* max) {
  SCROLLINFO si;
  si.fMask = SIF_RANGE;
  if (!GetScrollInfo(hwnd, bar, &si)) return false;
  *min = si.nMin;
  *max = si.nMax;
  return true;
}

bool SetScrollRange(HWND hwnd, int bar, int min, int max, bool redraw) {
  if (!FindReal(hwnd)) return false;
  SCROLLINFO si;
  si.fMask = SIF_RANGE;
  si.nMin = min;
  si.nMax = max;
  SetScrollInfo(hwnd, bar, si, redraw);
  return true;
}

bool ShowScrollBar(HWND hwnd, int bar, bool show) {
  if (!FindReal(hwnd)) return false;
  bool changed = false;
  if (bar == SB_HORZ || bar == SB_BOTH) changed |= SetBarVisible(hwnd, SB_HORZ, show);
  if (bar == SB_VERT || bar == SB_BOTH) changed |= SetBarVisible(hwnd, SB_VERT, show);
  if (changed) FrameChanged(hwnd);
  return true;
}

bool EnableScrollBar(HWND hwnd, UINT bar, UINT arrows) {
  Window* w = FindReal(hwnd);
  if (!w) return false;
  bool changed = false;
  for (int b : {SB_HORZ, SB_VERT}) {
    if (!(UINT(b) == bar || bar == SB_BOTH)) continue;
    ScrollBarState* s = Bar(*w, b);
    changed |= s->arrows != (arrows & ESB_DISABLE_BOTH);
    s->arrows = arrows & ESB_DISABLE_BOTH;
  }
  if (changed) RedrawFrame(hwnd);
  return changed;
}

ScrollBarLayout GetScrollBarLayout(HWND hwnd, int bar) {
  ScrollBarLayout l;
  Window* w = FindReal(hwnd);
  if (!w || !(bar == SB_HORZ || bar == SB_VERT) || !(w->style & StyleBit(bar))) return l;
  const RECT& c = w->client;
  bool vert = bar == SB_VERT;
  int thick = GetSystemMetrics(vert ? SM_CXVSCROLL : SM_CYHSCROLL);
  if (vert) {
    l.bar = (w->exStyle & WS_EX_LEFTSCROLLBAR) ? RECT{c.Left - thick, c.Top, c.Left, c.Bottom}
                                               : RECT{c.Right, c.Top, c.Right + thick, c.Bottom};
  } else {
    l.bar = {c.Left, c.Bottom, c.Right, c.Bottom + thick};
  }
  int length = vert ? l.bar.Height() : l.bar.Width();
  if (length <= 0) return l;
  l.visible = true;
  int arrow = std::min(GetSystemMetrics(vert ? SM_CYVSCROLL : SM_CXHSCROLL), length / 2);
  int start = vert ? l.bar.Top : l.bar.Left;
  auto span = [&](int from, int to) {
    return vert ? RECT{l.bar.Left, from, l.bar.Right, to} : RECT{from, l.bar.Top, to, l.bar.Bottom};
  };
  l.before = span(start, start + arrow);
  l.after = span(start + length - arrow, start + length);
  const ScrollBarState& s = *Bar(*w, bar);
  int track = length - 2 * arrow;
  std::int64_t range = std::int64_t(s.max) - s.min + 1;
  if (!Scrolls(s) || s.arrows == ESB_DISABLE_BOTH || (w->style & WS_DISABLED)) return l;
  int thumb = s.page ? int(std::max<std::int64_t>(track * std::int64_t(s.page) / range, kMinThumb))
                     : GetSystemMetrics(vert ? SM_CYVTHUMB : SM_CXHTHUMB);
  if (thumb > track) return l;
  std::int64_t scrollable = std::int64_t(MaxPos(s)) - s.min;
  int pos = s.tracking ? s.trackPos : s.pos;
  int offset = scrollable > 0 ? int((track - thumb) * (std::int64_t(pos) - s.min) / scrollable) : 0;
  l.thumb = span(start + arrow + offset, start + arrow + offset + thumb);
  return l;
}

bool GetScrollBarInfo(HWND hwnd, LONG_PTR idObject, SCROLLBARINFO* info) {
  Window* w = FindReal(hwnd);
  if (!w || !info || (idObject != OBJID_HSCROLL && idObject != OBJID_VSCROLL)) return false;
  int bar = idObject == OBJID_VSCROLL ? SB_VERT : SB_HORZ;
  bool vert = bar == SB_VERT;
  ScrollBarLayout l = GetScrollBarLayout(hwnd, bar);
  const ScrollBarState& s = *Bar(*w, bar);
  RECT wr = WindowRectOnScreen(*w);
  *info = SCROLLBARINFO{};
  if (!l.visible) {
    for (DWORD& state : info->rgstate) state = STATE_SYSTEM_INVISIBLE;
    return true;
  }
  info->rcScrollBar = l.bar.Offset(wr.Left, wr.Top);
  info->dxyLineButton = vert ? l.before.Height() : l.before.Width();
  int start = vert ? l.bar.Top : l.bar.Left;
  bool disabled = s.arrows == ESB_DISABLE_BOTH || (w->style & WS_DISABLED);
  if (disabled) info->rgstate[0] = STATE_SYSTEM_UNAVAILABLE;
  if (disabled || (s.arrows & ESB_DISABLE_LTUP)) info->rgstate[1] = STATE_SYSTEM_UNAVAILABLE;
  if (disabled || (s.arrows & ESB_DISABLE_RTDN)) info->rgstate[5] = STATE_SYSTEM_UNAVAILABLE;
  if (l.thumb.IsEmpty()) {
    for (int part : {2, 3, 4}) info->rgstate[part] = STATE_SYSTEM_INVISIBLE;
    return true;
  }
  info->xyThumbTop = (vert ? l.thumb.Top : l.thumb.Left) - start;
  info->xyThumbBottom = (vert ? l.thumb.Bottom : l.thumb.Right) - start;
  if (s.tracking) info->rgstate[3] = STATE_SYSTEM_PRESSED;
  return true;
}

namespace detail {

void TrackScrollBar(HWND hwnd, int bar, POINT screen) {
  Window* w = FindReal(hwnd);
  if (!w) return;
  UINT msg = bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
  bool vert = bar == SB_VERT;
  ScrollBarLayout l = GetScrollBarLayout(hwnd, bar);
  RECT wr;
  GetWindowRect(hwnd, &wr);
  POINT p{screen.X - wr.Left, screen.Y - wr.Top};
  auto along = [&](POINT q) { return vert ? q.Y : q.X; };
  WORD code;
  bool thumb = false;
  const ScrollBarState& s = *Bar(*w, bar);
  if (l.before.Contains(p)) {
    if (s.arrows & ESB_DISABLE_LTUP) return;
    code = SB_LINEUP;
  } else if (l.after.Contains(p)) {
    if (s.arrows & ESB_DISABLE_RTDN) return;
    code = SB_LINEDOWN;
  } else if (l.thumb.IsEmpty()) {
    return;
  } else if (l.thumb.Contains(p)) {
    thumb = true;
    code = SB_THUMBTRACK;
  } else {
    code = along(p) < (vert ? l.thumb.Top : l.thumb.Left) ? SB_PAGEUP : SB_PAGEDOWN;
  }
  if (thumb) {
    // Dragging: the thumb follows the mouse; positions are reported with SB_THUMBTRACK and
    // the last one with SB_THUMBPOSITION.
    int grab = along(p) - (vert ? l.thumb.Top : l.thumb.Left);
    int trackStart = vert ? l.before.Bottom : l.before.Right;
    int trackLen = (vert ? l.after.Top : l.after.Left) - trackStart;
    int thumbLen = vert ? l.thumb.Height() : l.thumb.Width();
    int last = s.pos;
    Bar(*w, bar)->tracking = true;
    Bar(*w, bar)->trackPos = last;
    ModalLoop(hwnd, [&](const MSG& m, bool* done) {
      if (m.message == WM_MOUSEMOVE) {
        Window* ww = FindReal(hwnd);
        if (!ww) return true;
        ScrollBarState& st = *Bar(*ww, bar);
        POINT q{S().cursorPos.X - wr.Left, S().cursorPos.Y - wr.Top};
        std::int64_t room = trackLen - thumbLen;
        std::int64_t at = std::clamp<std::int64_t>(along(q) - grab - trackStart, 0, room);
        int pos = room > 0 ? int(st.min + (std::int64_t(MaxPos(st)) - st.min) * at / room) : st.min;
        if (pos != last) {
          last = pos;
          st.trackPos = pos;
          Deliver(hwnd, msg, MAKEWPARAM(SB_THUMBTRACK, pos), 0);
        }
        return true;
      }
      if (m.message == WM_LBUTTONUP) *done = true;
      return m.message >= WM_MOUSEFIRST && m.message <= WM_MOUSELAST;
    });
    if (Window* ww = FindReal(hwnd)) Bar(*ww, bar)->tracking = false;
    Deliver(hwnd, msg, MAKEWPARAM(SB_THUMBPOSITION, last), 0);
    Deliver(hwnd, msg, SB_ENDSCROLL, 0);
    return;
  }
  // Arrows and page areas repeat while the button is held.
  Deliver(hwnd, msg, code, 0);
  SetTimer(hwnd, kRepeatTimer, kFirstRepeat, nullptr);
  struct Kill {  // also when a handler throws
    HWND hwnd;
    ~Kill() { KillTimer(hwnd, kRepeatTimer); }
  } kill{hwnd};
  ModalLoop(hwnd, [&](const MSG& m, bool* done) {
    if (m.message == WM_TIMER && m.hwnd == hwnd && m.wParam == kRepeatTimer) {
      SetTimer(hwnd, kRepeatTimer, kRepeat, nullptr);
      Deliver(hwnd, msg, code, 0);
      return true;
    }
    if (m.message == WM_LBUTTONUP) *done = true;
    return m.message >= WM_MOUSEFIRST && m.message <= WM_MOUSELAST;
  });
  Deliver(hwnd, msg, SB_ENDSCROLL, 0);
}

}  // namespace detail

}  // namespace win
