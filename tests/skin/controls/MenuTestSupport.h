// What the skinned menu tests share: key scan codes, a key tap, the open pop-up menu windows and
// their menus.
#pragma once

#include <vector>

#include "platform/gfx/Bitmap.h"
#include "platform/win/Backend.h"
#include "platform/win/MenuWindow.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Window.h"

namespace skin::controls::menutest {

constexpr gfx::Pixel kRgb = 0xFFFFFF;
constexpr win::UINT kDown = 0xE050, kRight = 0xE04D, kEnd = 0xE04F, kEnter = 0x1C, kEscape = 0x01,
                    kAlt = 0x38, kSpace = 0x39, kF10 = 0x44;

inline void Tap(win::UINT scan) {
  win::InjectKey(scan, true);
  win::InjectKey(scan, false);
}

// The open pop-up menu windows, topmost first.
inline std::vector<win::HWND> MenuWindows() {
  std::vector<win::HWND> out;
  win::EnumWindows(
      [&](win::HWND h, win::LPARAM) {
        if (win::GetClassNameW(h) == win::POPUPMENU_CLASS && win::IsWindowVisible(h))
          out.push_back(h);
        return true;
      },
      0);
  return out;
}

inline win::HMENU MenuOf(win::HWND h) {
  return reinterpret_cast<win::HMENU>(win::SendMessageW(h, win::MN_GETHMENU, 0, 0));
}

inline gfx::TRect ScreenRect(win::HWND h) {
  win::RECT r{};
  win::GetWindowRect(h, &r);
  return r;
}

}  // namespace skin::controls::menutest
