// Window timers on the window system's clock (the backend's, virtual when headless).
//
// A timer becomes due every elapse milliseconds; the message loop then produces one WM_TIMER
// (timers never pile up) and the next period starts when it is retrieved.
#pragma once

#include "platform/win/Types.h"

namespace win {

// Called for a WM_TIMER whose timer has a procedure, instead of the window procedure.
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);
// Shortest period; shorter ones are raised to it.
constexpr UINT USER_TIMER_MINIMUM = 0x0000000A;

// Starts or restarts timer id of hwnd. With a null hwnd a new id is made. Returns the id,
// 0 for a stale window.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc);
bool KillTimer(HWND hwnd, UINT_PTR id);  // false when there is no such timer

}  // namespace win
