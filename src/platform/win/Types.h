// Handles, message parameters and the small value types of the window system, shaped like
// the platform's so that code above can follow the platform's descriptions word for word.
//
// HWND is an opaque number validated through the window table on every call: a handle of a
// destroyed window is simply unknown (IsWindow is false, SendMessage returns 0). Handles are
// never reused within a process.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/gfx/Geometry.h"

namespace win {

struct HWND__;
using HWND = HWND__*;  // a window; null means none (or the desktop where the platform says so)

using UINT = std::uint32_t;
using DWORD = std::uint32_t;
using WORD = std::uint16_t;
using BYTE = std::uint8_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using LONG_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using DWORD_PTR = std::uintptr_t;
using ULONG_PTR = std::uintptr_t;
using HANDLE = void*;  // the value of a window property
using ATOM = WORD;

using POINT = gfx::TPoint;
using SIZE = gfx::TSize;
using RECT = gfx::TRect;
using gfx::IntersectRects;
using gfx::RectOfSize;
using gfx::UnionRects;

// Parameter packing helpers with the platform's semantics.
constexpr WORD LOWORD(std::uintptr_t v) {
  return WORD(v & 0xFFFF);
}
constexpr WORD HIWORD(std::uintptr_t v) {
  return WORD((v >> 16) & 0xFFFF);
}
constexpr LPARAM MAKELPARAM(int lo, int hi) {
  return LPARAM(std::int32_t(std::uint32_t(WORD(lo)) | (std::uint32_t(WORD(hi)) << 16)));
}
constexpr WPARAM MAKEWPARAM(int lo, int hi) {
  return WPARAM(std::uint32_t(WORD(lo)) | (std::uint32_t(WORD(hi)) << 16));
}
constexpr LRESULT MAKELRESULT(int lo, int hi) {
  return MAKELPARAM(lo, hi);
}
// Signed coordinates packed in an LPARAM (negative on multi-monitor desktops and in moves).
constexpr int GET_X_LPARAM(LPARAM l) {
  return std::int16_t(LOWORD(std::uintptr_t(l)));
}
constexpr int GET_Y_LPARAM(LPARAM l) {
  return std::int16_t(HIWORD(std::uintptr_t(l)));
}
constexpr POINT PointFromLParam(LPARAM l) {
  return {GET_X_LPARAM(l), GET_Y_LPARAM(l)};
}
constexpr LPARAM LParamFromPoint(POINT p) {
  return MAKELPARAM(p.X, p.Y);
}
// Wheel distance in WM_MOUSEWHEEL's high word (multiples of WHEEL_DELTA).
constexpr int GET_WHEEL_DELTA_WPARAM(WPARAM w) {
  return std::int16_t(HIWORD(w));
}
constexpr int WHEEL_DELTA = 120;

// Handles carried in message parameters.
inline WPARAM WParamFromHwnd(HWND h) {
  return reinterpret_cast<WPARAM>(h);
}
inline LPARAM LParamFromHwnd(HWND h) {
  return reinterpret_cast<LPARAM>(h);
}
inline HWND HwndFromParam(std::uintptr_t v) {
  return reinterpret_cast<HWND>(v);
}

// A window procedure. Procedures carry state (the framework binds member functions), so
// WNDPROC is a shared procedure object: copies compare equal, SetWindowLongPtrW returns the
// previous one and CallWindowProcW calls it. A procedure stays alive while anyone holds it,
// so a hook removed out of order never leaves a dangling procedure behind.
using WindowProcFunction = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;
using WNDPROC = std::shared_ptr<const WindowProcFunction>;
// Wraps a callable as a window procedure.
inline WNDPROC MakeWindowProc(WindowProcFunction f) {
  return std::make_shared<const WindowProcFunction>(std::move(f));
}

// A queued message.
struct MSG {
  HWND hwnd = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  DWORD time = 0;  // the clock (milliseconds) when it was queued
  POINT pt;        // cursor position in screen coordinates when it was queued
};

// Misuse of the window system that the platform would report as an error code and the
// program treats as a bug (an unregistered class, a parent that is no window).
class WindowError : public std::runtime_error {
 public:
  explicit WindowError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace win
