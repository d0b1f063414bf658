#include "platform/win/MessageQueue.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "Harness.h"
#include "platform/win/Backend.h"
#include "platform/win/Input.h"
#include "platform/win/Paint.h"
#include "platform/win/Timers.h"

namespace win::test {
namespace {

using Messaging = WindowTest;

TEST_F(Messaging, SendIsSynchronousAndReentrant) {
  HWND a = Top(WS_POPUP), b = Top(WS_POPUP);
  std::vector<int> trace;
  handler = [&](HWND h, UINT m, WPARAM w, LPARAM) -> std::optional<LRESULT> {
    if (m != WM_USER) return std::nullopt;
    trace.push_back(int(w));
    if (h == a && w < 3) {
      LRESULT inner = SendMessageW(b, WM_USER, w + 1, 0);
      trace.push_back(100 + int(inner));
    }
    if (h == b && w < 3) return SendMessageW(a, WM_USER, w + 1, 0) + 10;
    return LRESULT(w);
  };
  EXPECT_EQ(SendMessageW(a, WM_USER, 0, 0), 0);
  // a(0) -> b(1) -> a(2) -> b(3) returns 3; a(2) records 103 and returns 2; b adds 10.
  EXPECT_EQ(trace, (std::vector<int>{0, 1, 2, 3, 103, 112}));
}

TEST_F(Messaging, PostedMessagesComeInOrderAndFiltersApply) {
  HWND a = Top(WS_POPUP), b = Top(WS_POPUP);
  PostMessageW(a, WM_USER + 1, 1, 0);
  PostMessageW(b, WM_USER + 2, 2, 0);
  PostMessageW(nullptr, WM_USER + 3, 3, 0);
  PostMessageW(a, WM_USER + 4, 4, 0);
  MSG m;
  ASSERT_TRUE(PeekMessageW(&m, b, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, WM_USER + 2);
  ASSERT_TRUE(PeekMessageW(&m, nullptr, WM_USER + 3, WM_USER + 4, PM_NOREMOVE));
  EXPECT_EQ(m.message, WM_USER + 3);
  std::vector<UINT> got;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) got.push_back(m.message);
  EXPECT_EQ(got, (std::vector<UINT>{WM_USER + 1, WM_USER + 3, WM_USER + 4}));
}

TEST_F(Messaging, QuitComesAfterPostedMessagesAndMessagesOfDestroyedWindowsVanish) {
  HWND a = Top(WS_POPUP), b = Top(WS_POPUP);
  PostQuitMessage(9);
  PostMessageW(a, WM_USER, 0, 0);
  PostMessageW(b, WM_USER, 0, 0);
  DestroyWindow(b);
  MSG m;
  ASSERT_TRUE(GetMessageW(&m, nullptr, 0, 0));
  EXPECT_EQ(m.hwnd, a);
  EXPECT_FALSE(GetMessageW(&m, nullptr, 0, 0));
  EXPECT_EQ(m.wParam, 9u);
  // Nothing left and no timer: waiting would never end.
  EXPECT_THROW(GetMessageW(&m, nullptr, 0, 0), WindowError);
}

TEST_F(Messaging, ReplacedProceduresChainAndOutOfOrderRemovalLeavesNothingDangling) {
  HWND h = Top(WS_POPUP);
  std::vector<std::string> calls;
  WNDPROC original = GetWindowProc(h);
  WNDPROC prevA, prevB;
  WNDPROC a = MakeWindowProc([&](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == WM_USER) calls.push_back("a");
    return CallWindowProcW(prevA, w, m, wp, lp);
  });
  WNDPROC b = MakeWindowProc([&](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == WM_USER) calls.push_back("b");
    return CallWindowProcW(prevB, w, m, wp, lp);
  });
  prevA = SetWindowLongPtrW(h, GWLP_WNDPROC, a);
  prevB = SetWindowLongPtrW(h, GWLP_WNDPROC, b);
  EXPECT_EQ(prevA, original);
  EXPECT_EQ(prevB, a);
  SendMessageW(h, WM_USER, 0, 0);
  EXPECT_EQ(calls, (std::vector<std::string>{"b", "a"}));
  // a unhooks first by putting back what it found: b is left out, a is never called again.
  SetWindowLongPtrW(h, GWLP_WNDPROC, prevA);
  a.reset();  // the chain keeps its own reference through b's prevB
  calls.clear();
  SendMessageW(h, WM_USER, 0, 0);
  EXPECT_TRUE(calls.empty());
  // b unhooks later by putting back its own predecessor, which still works.
  SetWindowLongPtrW(h, GWLP_WNDPROC, prevB);
  SendMessageW(h, WM_USER, 0, 0);
  EXPECT_EQ(calls, (std::vector<std::string>{"a"}));
  EXPECT_EQ(Of(WM_USER).size(), 3u);  // the class procedure saw every message
  DestroyWindow(h);                   // the procedures use this test's locals
}

// Installs three hooks 1, 2, 3 and removes them in every order; after each removal a message
// passes exactly the remaining hooks, newest first, and then the window procedure.
TEST_F(Messaging, SubclassHooksRemovedInAnyOrderRelinkTheChain) {
  std::vector<int> order{1, 2, 3};
  do {
    HWND h = Top(WS_POPUP);
    std::vector<int> calls;
    for (int id : {1, 2, 3})
      SetWindowSubclass(
          h,
          [&](HWND w, UINT m, WPARAM wp, LPARAM lp, UINT_PTR hookId, DWORD_PTR ref) -> LRESULT {
            if (m == WM_USER) calls.push_back(int(hookId * 10 + ref));
            return DefSubclassProc(w, m, wp, lp);
          },
          UINT_PTR(id), DWORD_PTR(id));
    std::vector<int> live{1, 2, 3};
    for (int id : order) {
      ASSERT_TRUE(RemoveWindowSubclass(h, UINT_PTR(id)));
      live.erase(std::find(live.begin(), live.end(), id));
      calls.clear();
      log.clear();
      SendMessageW(h, WM_USER, 0, 0);
      std::vector<int> expected;
      for (auto it = live.rbegin(); it != live.rend(); ++it) expected.push_back(*it * 11);
      EXPECT_EQ(calls, expected);
      EXPECT_EQ(Of(WM_USER, h).size(), 1u);
    }
    EXPECT_FALSE(RemoveWindowSubclass(h, 1));
    DestroyWindow(h);
  } while (std::next_permutation(order.begin(), order.end()));
}

TEST_F(Messaging, HookRemovedWhileRunningStillReachesTheRestOfTheChain) {
  HWND h = Top(WS_POPUP);
  WNDPROC original = GetWindowProc(h);
  std::vector<std::string> calls;
  auto hook = [&](std::string name, bool removeSelfAndBelow) {
    return [&calls, name, removeSelfAndBelow](HWND w, UINT m, WPARAM wp, LPARAM lp, UINT_PTR id,
                                              DWORD_PTR) -> LRESULT {
      if (m != WM_USER) return DefSubclassProc(w, m, wp, lp);
      calls.push_back(name);
      if (removeSelfAndBelow) {
        RemoveWindowSubclass(w, id);
        RemoveWindowSubclass(w, 1);  // the hook right below goes too
      }
      return DefSubclassProc(w, m, wp, lp) + 1;
    };
  };
  SetWindowSubclass(h, hook("bottom", false), 0, 0);
  SetWindowSubclass(h, hook("middle", false), 1, 0);
  SetWindowSubclass(h, hook("top", true), 2, 0);
  EXPECT_EQ(SendMessageW(h, WM_USER, 0, 0), 2);  // top + bottom; middle was unlinked
  EXPECT_EQ(calls, (std::vector<std::string>{"top", "bottom"}));
  calls.clear();
  SendMessageW(h, WM_USER, 0, 0);
  EXPECT_EQ(calls, (std::vector<std::string>{"bottom"}));
  // The last hook removed: the class procedure is the window procedure again.
  RemoveWindowSubclass(h, 0);
  EXPECT_EQ(GetWindowProc(h), original);
  calls.clear();
  SendMessageW(h, WM_USER, 0, 0);
  EXPECT_TRUE(calls.empty());
  EXPECT_THROW(DefSubclassProc(h, WM_USER, 0, 0), WindowError);
  DestroyWindow(h);
}

TEST_F(Messaging, DestroyingAWindowInsideItsOwnProcedureIsSafe) {
  HWND h = Top(WS_POPUP);
  SetWindowSubclass(
      h,
      [](HWND w, UINT m, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) -> LRESULT {
        if (m == WM_USER) {
          DestroyWindow(w);
          return DefSubclassProc(w, m, wp, lp) + 5;  // the window is gone: 0 from below
        }
        return DefSubclassProc(w, m, wp, lp);
      },
      1, 0);
  EXPECT_EQ(SendMessageW(h, WM_USER, 0, 0), 5);
  EXPECT_FALSE(IsWindow(h));
}

TEST_F(Messaging, PaintAndTimersComeAfterPostedMessages) {
  HWND h = Top(WS_POPUP | WS_VISIBLE);
  desktop.Pump();
  InvalidateRect(h, nullptr, false);
  PostMessageW(h, WM_USER, 0, 0);
  MSG m;
  ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, WM_USER);
  ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, WM_PAINT);
  // WM_PAINT stays until the window is validated.
  ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, WM_PAINT);
  DispatchMessageW(m);
  EXPECT_FALSE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
}

}  // namespace
}  // namespace win::test

namespace win::test {
namespace {

using Waiting = WindowTest;

TEST_F(Waiting, FilteredGetMessageWaitsPastMessagesOfOtherWindows) {
  HWND a = Top(WS_POPUP), b = Top(WS_POPUP);
  PostMessageW(b, WM_USER, 0, 0);
  SetTimer(b, 1, 10, nullptr);
  SetTimer(a, 2, 300, nullptr);
  DWORD start = GetTickCount();
  MSG m;
  ASSERT_TRUE(GetMessageW(&m, a, 0, 0));
  EXPECT_EQ(m.hwnd, a);
  EXPECT_EQ(m.message, UINT(WM_TIMER));
  EXPECT_EQ(GetTickCount(), start + 300);
  ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.hwnd, b);  // still there for an unfiltered loop
}

}  // namespace
}  // namespace win::test

namespace win::test {
namespace {

using Failures = WindowTest;

TEST_F(Failures, ExceptionsFromProceduresLeaveNoHalfMadeOrHalfDestroyedWindows) {
  int created = 0;
  handler = [&](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_CREATE && created++ == 0) throw std::runtime_error("create");
    return std::nullopt;
  };
  EXPECT_THROW(Top(WS_POPUP), std::runtime_error);
  std::size_t windows = 0;
  EnumWindows([&](HWND, LPARAM) { return ++windows, true; }, 0);
  EXPECT_EQ(windows, 0u);
  HWND top = Top(WS_POPUP | WS_VISIBLE);
  HWND c = Child(top, {0, 0, 5, 5});
  handler = [&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_DESTROY && h == top) throw std::runtime_error("destroy");
    return std::nullopt;
  };
  EXPECT_THROW(DestroyWindow(top), std::runtime_error);
  EXPECT_FALSE(IsWindow(top));
  EXPECT_FALSE(IsWindow(c));
  EXPECT_EQ(Of(WM_NCDESTROY, c).size(), 1u);
  // A handler failing inside a modal loop does not leave the mouse captured.
  HWND h = Top(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 300, 200});
  handler = [&](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (m == WM_MOVING) throw std::runtime_error("moving");
    return std::nullopt;
  };
  InjectMouseButton(0, true, {200, 110});
  InjectMouseMove({210, 120});
  InjectMouseButton(0, false, {210, 120});
  EXPECT_THROW(desktop.Pump(), std::runtime_error);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_TRUE(IsWindow(h));
}

}  // namespace
}  // namespace win::test
