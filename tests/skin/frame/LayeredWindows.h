// What the window animations leave on a virtual desktop: layered windows and covers.
#pragma once

#include <functional>
#include <vector>

#include "platform/win/Backend.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "platform/win/VirtualDesktop.h"
#include "platform/win/Window.h"

namespace skin::frame::test {

inline bool Layered(win::HWND h) {
  return win::GetWindowLongPtrW(h, win::GWL_EXSTYLE) & win::WS_EX_LAYERED;
}

// The window's constant opacity, or -1 while it is not layered.
inline int Opacity(win::HWND h) {
  win::BYTE alpha = 0;
  win::DWORD flags = 0;
  return Layered(h) && win::GetLayeredWindowAttributes(h, nullptr, &alpha, &flags) ? int(alpha)
                                                                                   : -1;
}

// Drags the window by its caption point by (50, 20) on the virtual clock, from the press: the
// mouse moves at 40 ms and is released at 210 ms. Gives its Opacity at 5, 30, 65 and 200 ms
// (when a window moved with a fade has faded in, is fading and has faded to its moving
// opacity); look, if given, runs at each of those times as well.
inline std::vector<int> OpacityWhileDragged(win::VirtualDesktop& desktop, win::HWND h,
                                            win::POINT caption,
                                            const std::function<void()>& look = {}) {
  std::vector<int> seen;
  const win::POINT to{caption.X + 50, caption.Y + 20};
  auto sample = [&] {
    seen.push_back(Opacity(h));
    if (look) look();
  };
  desktop.Schedule(5, sample);
  desktop.Schedule(30, sample);
  desktop.Schedule(40, [&] { win::InjectMouseMove(to); });
  desktop.Schedule(65, sample);
  desktop.Schedule(200, sample);
  desktop.Schedule(210, [&] { win::InjectMouseButton(0, false, to); });
  win::InjectMouseMove(caption);
  win::InjectMouseButton(0, true, caption);
  desktop.Pump();
  return seen;
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
