// Test harness: a virtual desktop and a window class whose procedure records every message
// and lets a test answer some of them.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/VirtualDesktop.h"
#include "platform/win/Window.h"
#include "platform/win/WindowProc.h"

namespace win::test {

struct Logged {
  HWND hwnd;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};

class WindowTest : public ::testing::Test {
 protected:
  using Handler = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;

  void SetUp() override {
    WNDCLASSEXW wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = MakeWindowProc([this](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
      log.push_back({h, m, w, l});
      if (handler)
        if (auto r = handler(h, m, w, l)) return *r;
      return DefWindowProcW(h, m, w, l);
    });
    wc.hCursor = LoadCursorW(IDC_IBEAM);
    wc.lpszClassName = u"Test";
    ASSERT_NE(RegisterClassExW(wc), 0);
  }

  // Handlers capture the test's locals, which are gone when the desktop destroys the windows.
  void TearDown() override { handler = nullptr; }

  HWND Top(DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT r = {100, 100, 500, 400},
           DWORD exStyle = 0) {
    return CreateWindowExW(exStyle, u"Test", u"top", style, r.Left, r.Top, r.Width(), r.Height(),
                           nullptr, 0);
  }
  HWND Child(HWND parent, RECT r, DWORD style = WS_CHILD | WS_VISIBLE, UINT_PTR id = 1) {
    return CreateWindowExW(0, u"Test", u"", style, r.Left, r.Top, r.Width(), r.Height(), parent,
                           id);
  }

  // The messages of one window (or all with nullptr), ignoring the given numbers.
  std::vector<UINT> Messages(HWND hwnd = nullptr, std::vector<UINT> ignore = {}) const {
    std::vector<UINT> out;
    for (const Logged& l : log)
      if ((!hwnd || l.hwnd == hwnd) &&
          std::find(ignore.begin(), ignore.end(), l.msg) == ignore.end())
        out.push_back(l.msg);
    return out;
  }
  std::vector<Logged> Of(UINT msg, HWND hwnd = nullptr) const {
    std::vector<Logged> out;
    for (const Logged& l : log)
      if (l.msg == msg && (!hwnd || l.hwnd == hwnd)) out.push_back(l);
    return out;
  }

  // Declared first: the desktop's destruction still sends messages to the windows.
  std::vector<Logged> log;
  Handler handler;
  VirtualDesktop desktop{1280, 1024};
};

}  // namespace win::test
