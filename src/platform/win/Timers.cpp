#include "platform/win/Timers.h"

#include <algorithm>

#include "platform/win/Messages.h"
#include "platform/win/WindowSystem.h"

namespace win {

using namespace detail;

namespace {

// Signed distance on the wrapping millisecond clock.
int Until(DWORD due, DWORD now) {
  return int(due - now);
}

}  // namespace

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  if (hwnd && !FindReal(hwnd)) return 0;
  State& s = S();
  elapse = std::max(elapse, USER_TIMER_MINIMUM);
  if (!hwnd) {
    id = 0x7F00 + s.nextTimerId++;  // ids of thread timers never meet window timer ids
  }
  DWORD due = Now() + elapse;
  for (Timer& t : s.timers)
    if (t.hwnd == hwnd && t.id == id) {
      t.elapse = elapse;
      t.due = due;
      t.proc = proc;
      return id ? id : 1;
    }
  s.timers.push_back({hwnd, id, elapse, due, proc});
  return id ? id : 1;
}

bool KillTimer(HWND hwnd, UINT_PTR id) {
  auto& list = S().timers;
  auto it = std::find_if(list.begin(), list.end(),
                         [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
  if (it == list.end()) return false;
  list.erase(it);
  return true;
}

namespace detail {

bool TimerExists(HWND hwnd, UINT_PTR id) {
  for (const Timer& t : S().timers)
    if (t.hwnd == hwnd && t.id == id) return true;
  return false;
}

bool NextDueTimer(MSG* out, HWND filter, bool remove) {
  State& s = S();
  DWORD now = Now();
  Timer* best = nullptr;
  for (Timer& t : s.timers) {
    if (filter && t.hwnd != filter && !IsChild(filter, t.hwnd)) continue;
    if (Until(t.due, now) > 0) continue;
    if (!best || Until(t.due, best->due) < 0) best = &t;
  }
  if (!best) return CheckHover(out, now, remove);
  out->hwnd = best->hwnd;
  out->message = WM_TIMER;
  out->wParam = best->id;
  out->lParam = reinterpret_cast<LPARAM>(best->proc);
  out->time = now;
  out->pt = s.cursorPos;
  if (remove) best->due = now + best->elapse;
  return true;
}

std::optional<DWORD> NextTimerDeadline(HWND filter) {
  State& s = S();
  std::optional<DWORD> best;
  DWORD now = Now();
  auto wanted = [&](HWND h) { return !filter || h == filter || IsChild(filter, h); };
  for (const Timer& t : s.timers)
    if (wanted(t.hwnd) && (!best || Until(t.due, *best) < 0)) best = t.due;
  for (const MouseTracking& t : s.tracking)
    if (t.hwnd && (t.flags & TME_HOVER) && wanted(t.hwnd))
      if (!best || Until(t.hoverDue, *best) < 0) best = t.hoverDue;
  if (best && Until(*best, now) < 0) best = now;
  return best;
}

void DropWindowTimers(HWND hwnd) {
  auto& list = S().timers;
  list.erase(
      std::remove_if(list.begin(), list.end(), [&](const Timer& t) { return t.hwnd == hwnd; }),
      list.end());
}

}  // namespace detail

}  // namespace win
