#include "platform/win/ScrollInfo.h"

#include <gtest/gtest.h>

#include "Harness.h"
#include "platform/win/Backend.h"
#include "platform/win/Input.h"

namespace win::test {
namespace {

using ScrollBars = WindowTest;

SCROLLINFO Info(UINT mask, int min, int max, UINT page, int pos) {
  SCROLLINFO si;
  si.fMask = mask;
  si.nMin = min;
  si.nMax = max;
  si.nPage = page;
  si.nPos = pos;
  return si;
}

TEST_F(ScrollBars, InfoIsClampedAndTheBarShowsOnlyWhenItScrolls) {
  HWND h = Top(WS_POPUP | WS_VISIBLE, {0, 0, 200, 200});
  EXPECT_EQ(SetScrollInfo(h, SB_VERT, Info(SIF_ALL, 0, 99, 10, 95), true), 90);
  EXPECT_TRUE(GetWindowLongPtrW(h, GWL_STYLE) & WS_VSCROLL);
  RECT c;
  GetClientRect(h, &c);
  EXPECT_EQ(c.Width(), 200 - GetSystemMetrics(SM_CXVSCROLL));
  SCROLLINFO got;
  got.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(h, SB_VERT, &got));
  EXPECT_EQ(got.nMin, 0);
  EXPECT_EQ(got.nMax, 99);
  EXPECT_EQ(got.nPage, 10u);
  EXPECT_EQ(got.nPos, 90);
  EXPECT_EQ(SetScrollPos(h, SB_VERT, -5, true), 90);
  EXPECT_EQ(GetScrollPos(h, SB_VERT), 0);
  // A page as large as the range: no scrolling, the bar goes away (or stays disabled).
  SetScrollInfo(h, SB_VERT, Info(SIF_PAGE, 0, 0, 500, 0), true);
  got.fMask = SIF_PAGE;
  GetScrollInfo(h, SB_VERT, &got);
  EXPECT_EQ(got.nPage, 100u);
  EXPECT_FALSE(GetWindowLongPtrW(h, GWL_STYLE) & WS_VSCROLL);
  GetClientRect(h, &c);
  EXPECT_EQ(c.Width(), 200);
  SetScrollInfo(h, SB_VERT, Info(SIF_PAGE | SIF_DISABLENOSCROLL, 0, 0, 500, 0), true);
  EXPECT_TRUE(GetWindowLongPtrW(h, GWL_STYLE) & WS_VSCROLL);
  EXPECT_TRUE(GetScrollBarLayout(h, SB_VERT).thumb.IsEmpty());
  ShowScrollBar(h, SB_BOTH, false);
  EXPECT_FALSE(GetWindowLongPtrW(h, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL));
  EXPECT_FALSE(GetScrollBarLayout(h, SB_VERT).visible);
  EXPECT_EQ(SetScrollInfo(h, SB_CTL, Info(SIF_POS, 0, 0, 0, 3), true), 0);
}

TEST_F(ScrollBars, ThumbFollowsThePosition) {
  HWND h = Top(WS_POPUP | WS_VISIBLE, {0, 0, 100, 134});
  SetScrollInfo(h, SB_VERT, Info(SIF_ALL, 0, 99, 50, 0), true);
  // Track: 134 - 2 * 17 = 100 px; thumb: 100 * 50 / 100 = 50 px.
  ScrollBarLayout l = GetScrollBarLayout(h, SB_VERT);
  EXPECT_EQ(l.bar, (RECT{83, 0, 100, 134}));
  EXPECT_EQ(l.thumb, (RECT{83, 17, 100, 67}));
  SetScrollPos(h, SB_VERT, 50, true);
  EXPECT_EQ(GetScrollBarLayout(h, SB_VERT).thumb, (RECT{83, 67, 100, 117}));
  SetScrollPos(h, SB_VERT, 25, true);
  EXPECT_EQ(GetScrollBarLayout(h, SB_VERT).thumb.Top, 17 + 25);
  EnableScrollBar(h, SB_VERT, ESB_DISABLE_BOTH);
  EXPECT_TRUE(GetScrollBarLayout(h, SB_VERT).thumb.IsEmpty());
}

std::vector<WORD> Codes(const std::vector<Logged>& list) {
  std::vector<WORD> out;
  for (const Logged& l : list) out.push_back(LOWORD(l.wParam));
  return out;
}

TEST_F(ScrollBars, DefaultBarSendsScrollCodesAndRepeatsWhileHeld) {
  HWND h = Top(WS_POPUP | WS_VISIBLE, {0, 0, 100, 134});
  SetScrollInfo(h, SB_VERT, Info(SIF_ALL, 0, 99, 50, 0), true);
  desktop.Pump();
  // A click on the down arrow, released at once.
  InjectMouseButton(0, true, {90, 125});
  InjectMouseButton(0, false, {90, 125});
  desktop.Pump();
  EXPECT_EQ(Codes(Of(WM_VSCROLL, h)), (std::vector<WORD>{SB_LINEDOWN, SB_ENDSCROLL}));
  log.clear();
  // Held on the page area below the thumb for a while: 400 ms, then every 50 ms.
  InjectMouseButton(0, true, {90, 100});
  desktop.Schedule(520, [] { InjectMouseButton(0, false, {90, 100}); });
  desktop.Pump();
  EXPECT_EQ(Codes(Of(WM_VSCROLL, h)),
            (std::vector<WORD>{SB_PAGEDOWN, SB_PAGEDOWN, SB_PAGEDOWN, SB_PAGEDOWN, SB_ENDSCROLL}));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ScrollBars, DraggingTheThumbReportsTrackAndFinalPositions) {
  HWND h = Top(WS_POPUP | WS_VISIBLE, {0, 0, 100, 134});
  SetScrollInfo(h, SB_VERT, Info(SIF_ALL, 0, 99, 50, 0), true);
  desktop.Pump();
  handler = [&](HWND w, UINT m, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_VSCROLL && LOWORD(wp) == SB_THUMBTRACK) {
      SCROLLINFO si;
      si.fMask = SIF_TRACKPOS;
      GetScrollInfo(w, SB_VERT, &si);
      EXPECT_EQ(si.nTrackPos, int(HIWORD(wp)));
    }
    return std::nullopt;
  };
  InjectMouseButton(0, true, {90, 20});  // on the thumb, 3 px below its top
  InjectMouseMove({90, 45});             // 25 px of 50: position 25
  desktop.Schedule(10, [] {
    InjectMouseMove({90, 200});  // beyond the end: the last position, 50
    InjectMouseButton(0, false, {90, 200});
  });
  desktop.Pump();
  auto list = Of(WM_VSCROLL, h);
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[0].wParam, MAKEWPARAM(SB_THUMBTRACK, 25));
  EXPECT_EQ(list[1].wParam, MAKEWPARAM(SB_THUMBTRACK, 50));
  EXPECT_EQ(list[2].wParam, MAKEWPARAM(SB_THUMBPOSITION, 50));
  EXPECT_EQ(LOWORD(list[3].wParam), SB_ENDSCROLL);
  EXPECT_EQ(GetScrollPos(h, SB_VERT), 0);  // the program sets the position itself
}

}  // namespace
}  // namespace win::test

namespace win::test {
namespace {

TEST_F(ScrollBars, BarInfoReportsPlaceThumbAndTheDisabledAndInvisibleStates) {
  HWND h = Top(WS_POPUP | WS_VISIBLE, {50, 60, 250, 260});
  SCROLLBARINFO sbi;
  ASSERT_TRUE(GetScrollBarInfo(h, OBJID_VSCROLL, &sbi));
  EXPECT_EQ(sbi.rgstate[0], STATE_SYSTEM_INVISIBLE);  // no WS_VSCROLL yet
  EXPECT_TRUE(sbi.rcScrollBar.IsEmpty());
  // Range 0..99, page 10, at 45: a bar of 200 with 17-pixel arrows leaves a track of 166.
  SetScrollInfo(h, SB_VERT, Info(SIF_ALL, 0, 99, 10, 45), true);
  ASSERT_TRUE(GetScrollBarInfo(h, OBJID_VSCROLL, &sbi));
  int thick = GetSystemMetrics(SM_CXVSCROLL);
  EXPECT_EQ(sbi.rcScrollBar, (RECT{250 - thick, 60, 250, 260}));
  EXPECT_EQ(sbi.dxyLineButton, 17);
  EXPECT_EQ(sbi.xyThumbTop, 17 + (166 - 16) * 45 / 90);  // thumb 166 * 10 / 100 = 16
  EXPECT_EQ(sbi.xyThumbBottom, sbi.xyThumbTop + 16);
  for (DWORD state : sbi.rgstate) EXPECT_EQ(state, 0u);
  // One arrow disabled, then the whole bar.
  EnableScrollBar(h, SB_VERT, ESB_DISABLE_LTUP);
  GetScrollBarInfo(h, OBJID_VSCROLL, &sbi);
  EXPECT_EQ(sbi.rgstate[0], 0u);
  EXPECT_EQ(sbi.rgstate[1], STATE_SYSTEM_UNAVAILABLE);
  EXPECT_EQ(sbi.rgstate[5], 0u);
  EnableScrollBar(h, SB_VERT, ESB_DISABLE_BOTH);
  GetScrollBarInfo(h, OBJID_VSCROLL, &sbi);
  EXPECT_EQ(sbi.rgstate[0], STATE_SYSTEM_UNAVAILABLE);
  EXPECT_EQ(sbi.rgstate[3], STATE_SYSTEM_INVISIBLE);
  EXPECT_EQ(sbi.xyThumbTop, 0);
  // A range that no longer scrolls, kept with SIF_DISABLENOSCROLL: there but unavailable.
  EnableScrollBar(h, SB_VERT, ESB_ENABLE_BOTH);
  SetScrollInfo(h, SB_VERT, Info(SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL, 0, 5, 10, 0), true);
  GetScrollBarInfo(h, OBJID_VSCROLL, &sbi);
  EXPECT_FALSE(sbi.rcScrollBar.IsEmpty());
  EXPECT_EQ(sbi.rgstate[0], STATE_SYSTEM_UNAVAILABLE);
  EXPECT_EQ(sbi.rgstate[2] & sbi.rgstate[3] & sbi.rgstate[4], STATE_SYSTEM_INVISIBLE);
  // A disabled window disables its bars; other objects and stale windows are refused.
  SetScrollInfo(h, SB_HORZ, Info(SIF_ALL, 0, 99, 10, 0), true);
  EnableWindow(h, false);
  GetScrollBarInfo(h, OBJID_HSCROLL, &sbi);
  EXPECT_EQ(sbi.rgstate[0], STATE_SYSTEM_UNAVAILABLE);
  EXPECT_FALSE(GetScrollBarInfo(h, -4, &sbi));
  DestroyWindow(h);
  EXPECT_FALSE(GetScrollBarInfo(h, OBJID_VSCROLL, &sbi));
}

}  // namespace
}  // namespace win::test
