#include "platform/win/Hooks.h"

#include <gtest/gtest.h>

#include "Harness.h"
#include "platform/win/Input.h"

namespace win::test {
namespace {

using Hooks = WindowTest;

TEST_F(Hooks, CreationIsAnnouncedBeforeAnyMessageWithTheCreateStructAndClassName) {
  HWND seen = nullptr;
  std::u16string cls, name;
  std::size_t messagesBefore = 0;
  HHOOK hook = SetWindowsHookExW(WH_CBT, [&](int code, WPARAM w, LPARAM l) -> LRESULT {
    if (code == HCBT_CREATEWND) {
      seen = HwndFromParam(w);
      auto* cbt = reinterpret_cast<CBT_CREATEWNDW*>(l);
      cls = cbt->lpcs->lpszClass;
      name = cbt->lpcs->lpszName;
      messagesBefore = Messages(seen).size();
      EXPECT_TRUE(IsWindow(seen));
      cbt->lpcs->cx = 321;  // the hook may size the window
    }
    return CallNextHookEx(nullptr, code, w, l);
  });
  ASSERT_TRUE(hook);
  HWND h = Top(WS_OVERLAPPEDWINDOW);
  EXPECT_EQ(seen, h);
  EXPECT_EQ(cls, u"Test");
  EXPECT_EQ(name, u"top");
  EXPECT_EQ(messagesBefore, 0u);
  EXPECT_EQ(Messages(h).front(), WM_NCCREATE);
  RECT r;
  GetWindowRect(h, &r);
  EXPECT_EQ(r.Width(), 321);
  EXPECT_TRUE(UnhookWindowsHookEx(hook));
  EXPECT_FALSE(UnhookWindowsHookEx(hook));
}

TEST_F(Hooks, ANonZeroAnswerRefusesCreationAndActivation) {
  bool refuse = true;
  HHOOK hook = SetWindowsHookExW(WH_CBT, [&](int code, WPARAM w, LPARAM l) -> LRESULT {
    if ((code == HCBT_CREATEWND || code == HCBT_ACTIVATE) && refuse) return 1;
    return CallNextHookEx(nullptr, code, w, l);
  });
  std::size_t windows = 0;
  EnumWindows([&](HWND, LPARAM) { return ++windows, true; }, 0);
  EXPECT_EQ(Top(), nullptr);
  std::size_t after = 0;
  EnumWindows([&](HWND, LPARAM) { return ++after, true; }, 0);
  EXPECT_EQ(after, windows);
  EXPECT_TRUE(log.empty());  // the refused window never saw a message

  refuse = false;
  HWND a = Top();
  HWND b = Top(WS_OVERLAPPEDWINDOW, {600, 100, 800, 300});
  ASSERT_TRUE(a && b);
  EXPECT_EQ(GetActiveWindow(), a);
  refuse = true;
  log.clear();
  ShowWindow(b, SW_SHOW);
  EXPECT_EQ(GetActiveWindow(), a);
  EXPECT_TRUE(Of(WM_ACTIVATE).empty());
  EXPECT_EQ(SetFocus(b), nullptr);
  // Hiding the active window when the next one is refused leaves nothing active.
  ShowWindow(a, SW_HIDE);
  EXPECT_EQ(GetActiveWindow(), nullptr);
  UnhookWindowsHookEx(hook);
}

TEST_F(Hooks, ActivationAndDestructionCarryTheWindowAndThePreviousOne) {
  HWND a = Top();
  std::vector<std::pair<int, HWND>> calls;
  CBTACTIVATESTRUCT act;
  HHOOK hook = SetWindowsHookExW(WH_CBT, [&](int code, WPARAM w, LPARAM l) -> LRESULT {
    calls.push_back({code, HwndFromParam(w)});
    if (code == HCBT_ACTIVATE) act = *reinterpret_cast<CBTACTIVATESTRUCT*>(l);
    if (code == HCBT_DESTROYWND) {
      EXPECT_TRUE(Of(WM_DESTROY, HwndFromParam(w)).empty());
    }
    return CallNextHookEx(nullptr, code, w, l);
  });
  HWND b = Top(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {600, 100, 800, 300});
  EXPECT_EQ(act.hWndActive, a);
  EXPECT_FALSE(act.fMouse);
  InjectMouseButton(0, true, {120, 200});
  InjectMouseButton(0, false, {120, 200});
  desktop.Pump();
  EXPECT_EQ(GetActiveWindow(), a);
  EXPECT_TRUE(act.fMouse);
  EXPECT_EQ(act.hWndActive, b);
  calls.clear();
  DestroyWindow(b);
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.front(), (std::pair<int, HWND>{HCBT_DESTROYWND, b}));
  UnhookWindowsHookEx(hook);
}

TEST_F(Hooks, HooksChainNewestFirstAndLeaveInAnyOrderEvenWhileRunning) {
  std::vector<char> order;
  HHOOK hooks[3] = {};
  bool removeSelf = false;
  auto make = [&](char name, int index) {
    return [&, name, index](int code, WPARAM w, LPARAM l) -> LRESULT {
      if (code != HCBT_CREATEWND) return CallNextHookEx(hooks[index], code, w, l);
      order.push_back(name);
      if (removeSelf && name == 'b') UnhookWindowsHookEx(hooks[index]);
      // 'c' answers for everyone below it only when they answer; 'a' is the last.
      LRESULT below = CallNextHookEx(hooks[index], code, w, l);
      return name == 'a' ? 0 : below;
    };
  };
  hooks[0] = SetWindowsHookExW(WH_CBT, make('a', 0));
  hooks[1] = SetWindowsHookExW(WH_CBT, make('b', 1));
  hooks[2] = SetWindowsHookExW(WH_CBT, make('c', 2));
  Top();
  EXPECT_EQ(order, (std::vector<char>{'c', 'b', 'a'}));

  // 'b' removes itself while it runs and still passes the call on.
  order.clear();
  removeSelf = true;
  Top();
  EXPECT_EQ(order, (std::vector<char>{'c', 'b', 'a'}));
  order.clear();
  Top();
  EXPECT_EQ(order, (std::vector<char>{'c', 'a'}));

  // Out of order: the oldest goes first, then the newest.
  EXPECT_TRUE(UnhookWindowsHookEx(hooks[0]));
  order.clear();
  Top();
  EXPECT_EQ(order, (std::vector<char>{'c'}));
  EXPECT_TRUE(UnhookWindowsHookEx(hooks[2]));
  order.clear();
  Top();
  EXPECT_TRUE(order.empty());
  EXPECT_EQ(SetWindowsHookExW(4 /* another kind */, [](int, WPARAM, LPARAM) { return 0; }),
            nullptr);
}

TEST_F(Hooks, AHookThatThrowsLeavesNoWindowBehind) {
  HHOOK hook = SetWindowsHookExW(WH_CBT, [&](int code, WPARAM, LPARAM) -> LRESULT {
    if (code == HCBT_CREATEWND) throw WindowError("no");
    return 0;
  });
  EXPECT_THROW(Top(), WindowError);
  EXPECT_EQ(GetTopWindow(nullptr), nullptr);
  UnhookWindowsHookEx(hook);
}

}  // namespace
}  // namespace win::test
