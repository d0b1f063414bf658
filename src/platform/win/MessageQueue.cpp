#include "platform/win/MessageQueue.h"

#include <algorithm>

#include "platform/win/Input.h"
#include "platform/win/KeyboardLayout.h"
#include "platform/win/Messages.h"
#include "platform/win/Timers.h"
#include "platform/win/WindowProc.h"
#include "platform/win/WindowSystem.h"

namespace win {

using namespace detail;

namespace {

DWORD lastMessageTime = 0;
POINT lastMessagePos;

bool Matches(const MSG& m, HWND filter, UINT min, UINT max) {
  if (filter && m.hwnd != filter && !IsChild(filter, m.hwnd)) return false;
  if (min == 0 && max == 0) return true;
  return m.message >= min && m.message <= max;
}

bool TakesInput(HWND filter, UINT min, UINT max) {
  if (filter) return false;  // input is routed only by unfiltered loops
  if (min == 0 && max == 0) return true;
  return !(max < WM_KEYFIRST || min > WM_MOUSELAST);
}

MSG Stamp(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  MSG m;
  m.hwnd = hwnd;
  m.message = msg;
  m.wParam = wParam;
  m.lParam = lParam;
  m.time = Now();
  m.pt = S().cursorPos;
  return m;
}

// The next message by the retrieval order, or false.
bool Next(MSG* out, HWND filter, UINT min, UINT max, bool remove) {
  State& s = S();
  for (;;) {
    auto& q = s.posted;
    for (auto it = q.begin(); it != q.end();) {
      if (it->hwnd && !FindReal(it->hwnd)) {
        it = q.erase(it);
        continue;
      }
      if (Matches(*it, filter, min, max)) {
        *out = *it;
        if (remove) q.erase(it);
        return true;
      }
      ++it;
    }
    if (!TakesInput(filter, min, max) || s.input.empty()) break;
    // Input is routed when retrieved; the message joins the queue behind anything routing
    // posted (WM_MOUSELEAVE) and is then taken like a posted one.
    RawInput raw = s.input.front();
    s.input.pop_front();
    MSG m;
    if (RouteInput(raw, &m)) s.posted.push_back(m);
  }
  if (s.quitPosted) {
    *out = Stamp(nullptr, WM_QUIT, WPARAM(s.quitCode), 0);
    if (remove) s.quitPosted = false;
    return true;
  }
  if (HWND h = NextWindowToPaint(filter);
      h && Matches(Stamp(h, WM_PAINT, 0, 0), filter, min, max)) {
    *out = Stamp(h, WM_PAINT, 0, 0);
    // An internal paint request gives one WM_PAINT; an update region asks until validated.
    if (remove) FindReal(h)->internalPaint = false;
    return true;
  }
  if (NextDueTimer(out, filter, remove) && Matches(*out, filter, min, max)) return true;
  return false;
}

}  // namespace

LRESULT SendMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return Deliver(hwnd, msg, wParam, lParam);
}

bool PostMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (hwnd && !FindReal(hwnd)) return false;
  if (msg == WM_COPYDATA) return false;  // its data lives only while it is sent
  S().posted.push_back(Stamp(hwnd, msg, wParam, lParam));
  return true;
}

void PostQuitMessage(int exitCode) {
  S().quitPosted = true;
  S().quitCode = exitCode;
}

bool PeekMessageW(MSG* msg, HWND hwnd, UINT min, UINT max, UINT removeFlags) {
  if (!Next(msg, hwnd, min, max, removeFlags & PM_REMOVE)) return false;
  lastMessageTime = msg->time;
  lastMessagePos = msg->pt;
  return true;
}

bool GetMessageW(MSG* msg, HWND hwnd, UINT min, UINT max) {
  // Messages the filter leaves out do not end the wait; only new input or a timer of the
  // filtered windows can.
  while (!PeekMessageW(msg, hwnd, min, max, PM_REMOVE))
    TheBackend().WaitForInput(NextTimerDeadline(hwnd));
  return msg->message != WM_QUIT;
}

void WaitMessage() {
  State& s = S();
  if (!s.posted.empty() || !s.input.empty() || s.quitPosted || NextWindowToPaint(nullptr)) return;
  TheBackend().WaitForInput(NextTimerDeadline(nullptr));
}

bool TranslateMessage(const MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) {
    return msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP;
  }
  char16_t ch = CharFromKey(UINT(msg.wParam), S().keys.data());
  if (ch) {
    MSG c = msg;
    c.message = msg.message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
    c.wParam = ch;
    S().posted.push_front(c);  // the character comes before anything queued later
  }
  return true;
}

LRESULT DispatchMessageW(const MSG& msg) {
  if (msg.message == WM_TIMER && msg.lParam) {
    if (!TimerExists(msg.hwnd, msg.wParam)) return 0;
    reinterpret_cast<TIMERPROC>(msg.lParam)(msg.hwnd, WM_TIMER, msg.wParam, GetTickCount());
    return 0;
  }
  return Deliver(msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

DWORD GetMessageTime() {
  return lastMessageTime;
}

DWORD GetMessagePos() {
  return DWORD(WORD(lastMessagePos.X)) | (DWORD(WORD(lastMessagePos.Y)) << 16);
}

DWORD GetTickCount() {
  return Now();
}

void Sleep(DWORD ms) {
  TheBackend().Sleep(ms);
}

}  // namespace win
