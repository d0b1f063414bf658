// Sending and posting messages, the queue and the message loop of the one user-interface
// thread.
//
// Retrieval order of GetMessageW/PeekMessageW: posted messages, then input (mouse and
// keyboard events routed when retrieved), then WM_QUIT, then WM_PAINT for a window with an
// update region (parents before children), then WM_TIMER for a due timer.
#pragma once

#include "platform/win/Types.h"

namespace win {

// Calls the window's procedure at once and returns its result (re-entrant: a procedure may
// send further messages). A stale or null handle returns 0 without calling anything.
LRESULT SendMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Queues a message; a null hwnd queues a thread message. False for a stale handle and for
// WM_COPYDATA, whose data would be gone by the time it is retrieved.
bool PostMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Queues WM_QUIT with the exit code; retrieved after the posted messages and input.
void PostQuitMessage(int exitCode);
// Waits for the next message; returns false for WM_QUIT. Only messages of hwnd and its
// children are taken when hwnd is given, and only numbers in [min, max] when max is not 0.
bool GetMessageW(MSG* msg, HWND hwnd, UINT min, UINT max);
// As GetMessageW without waiting; false when nothing is there. PM_REMOVE takes it out.
bool PeekMessageW(MSG* msg, HWND hwnd, UINT min, UINT max, UINT removeFlags);
// Blocks until a message is available (input, posted, paint or a due timer).
void WaitMessage();
// Posts WM_CHAR/WM_SYSCHAR for a key message according to the active keyboard layout.
// Returns true when the message was a key message.
bool TranslateMessage(const MSG& msg);
// Calls the procedure of msg.hwnd (or the TIMERPROC of a WM_TIMER that has one).
LRESULT DispatchMessageW(const MSG& msg);
// The time and cursor position of the message last retrieved.
DWORD GetMessageTime();
DWORD GetMessagePos();  // x in the low word, y in the high word
// The window system's clock in milliseconds.
DWORD GetTickCount();
// Waits ms milliseconds on that clock without handling messages (the headless clock jumps).
void Sleep(DWORD ms);

}  // namespace win
