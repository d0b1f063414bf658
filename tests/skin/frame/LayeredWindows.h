// What the window animations leave on a virtual desktop: layered windows and covers.
#pragma once

#include <functional>

#include "platform/win/Styles.h"
#include "platform/win/Window.h"

namespace skin::frame::test {

inline bool Layered(win::HWND h) {
  return win::GetWindowLongPtrW(h, win::GWL_EXSTYLE) & win::WS_EX_LAYERED;
}

// Visible layered top-level windows that are not the animated window (`animated` true): the
// animation covers.
inline int Covers(const std::function<bool(win::HWND)>& animated) {
  int n = 0;
  win::EnumWindows(
      [&](win::HWND h, win::LPARAM) {
        if (win::IsWindowVisible(h) && !animated(h) && Layered(h) &&
            (win::GetWindowLongPtrW(h, win::GWL_STYLE) & win::WS_POPUP))
          ++n;
        return true;
      },
      0);
  return n;
}

}  // namespace skin::frame::test
