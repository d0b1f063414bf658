#include "platform/win/Timers.h"

#include <gtest/gtest.h>

#include "Harness.h"
#include "platform/win/Backend.h"

namespace win::test {
namespace {

using Timers = WindowTest;

TEST_F(Timers, FireOnTheVirtualClockAtTheirPeriod) {
  HWND h = Top(WS_POPUP);
  std::vector<DWORD> fired;
  handler = [&](HWND, UINT m, WPARAM w, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_TIMER && w == 7) fired.push_back(GetTickCount());
    return std::nullopt;
  };
  DWORD start = GetTickCount();
  EXPECT_EQ(SetTimer(h, 7, 100, nullptr), 7u);
  desktop.Advance(99);
  EXPECT_TRUE(fired.empty());
  desktop.Advance(251);
  EXPECT_EQ(fired, (std::vector<DWORD>{start + 100, start + 200, start + 300}));
  // Setting it again restarts the period; killing stops it.
  SetTimer(h, 7, 40, nullptr);
  desktop.Advance(40);
  EXPECT_EQ(fired.back(), start + 390);
  EXPECT_TRUE(KillTimer(h, 7));
  EXPECT_FALSE(KillTimer(h, 7));
  fired.clear();
  desktop.Advance(1000);
  EXPECT_TRUE(fired.empty());
}

DWORD procCalls = 0;
void CountingProc(HWND, UINT, UINT_PTR, DWORD) {
  ++procCalls;
}

TEST_F(Timers, GetMessageWaitsForTheNextTimerAndProceduresReplaceTheWindow) {
  HWND h = Top(WS_POPUP);
  SetTimer(h, 1, 500, nullptr);
  SetTimer(h, 2, 200, &CountingProc);
  DWORD start = GetTickCount();
  MSG m;
  ASSERT_TRUE(GetMessageW(&m, nullptr, 0, 0));
  EXPECT_EQ(m.message, WM_TIMER);
  EXPECT_EQ(m.wParam, 2u);
  EXPECT_EQ(GetTickCount(), start + 200);
  DispatchMessageW(m);
  EXPECT_EQ(procCalls, 1u);
  EXPECT_TRUE(Of(WM_TIMER, h).empty());  // the procedure took it instead of the window
  ASSERT_TRUE(GetMessageW(&m, nullptr, 0, 0));
  EXPECT_EQ(m.wParam, 2u);  // 400 comes before 500
  ASSERT_TRUE(GetMessageW(&m, nullptr, 0, 0));
  EXPECT_EQ(m.wParam, 1u);
  EXPECT_EQ(GetTickCount(), start + 500);
  // Timers of a destroyed window are gone.
  DestroyWindow(h);
  EXPECT_THROW(GetMessageW(&m, nullptr, 0, 0), WindowError);
}

TEST_F(Timers, ScheduledInputArrivesWhileTheLoopWaits) {
  HWND h = Top(WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
  desktop.Pump();
  SetTimer(h, 1, 1000, nullptr);
  desktop.Schedule(300, [] { InjectMouseButton(0, true, {5, 5}); });
  DWORD start = GetTickCount();
  MSG m;
  do {
    ASSERT_TRUE(GetMessageW(&m, nullptr, 0, 0));
  } while (m.message != WM_LBUTTONDOWN && m.message != WM_TIMER);
  EXPECT_EQ(m.message, UINT(WM_LBUTTONDOWN));
  EXPECT_EQ(GetTickCount(), start + 300);
  EXPECT_EQ(m.time, start + 300);
}

}  // namespace
}  // namespace win::test
