// Thread hooks: procedures the window system calls before it creates, activates or destroys a
// window (WH_CBT), so that code above sees every window the program makes, dialogs included.
//
// Hooks chain, the newest first; each passes the call on with CallNextHookEx and the first
// one's answer counts. A hook may be removed in any order, also while it runs: a running hook
// that calls CallNextHookEx after its removal reaches the hooks still below it.
#pragma once

#include <functional>

#include "platform/win/Types.h"
#include "platform/win/Window.h"

namespace win {

struct HHOOK__;
using HHOOK = HHOOK__*;  // an installed hook; null means none
using HOOKPROC = std::function<LRESULT(int code, WPARAM wParam, LPARAM lParam)>;

// Hook kinds.
constexpr int WH_CBT = 5;

// WH_CBT codes. A non-zero answer to HCBT_CREATEWND or HCBT_ACTIVATE stops the creation or
// activation; the answer to HCBT_DESTROYWND is ignored (a window whose owner goes away goes too).
constexpr int HCBT_CREATEWND = 3;   // wParam: the new window, lParam: CBT_CREATEWNDW*
constexpr int HCBT_DESTROYWND = 4;  // wParam: the window, before WM_DESTROY
constexpr int HCBT_ACTIVATE = 5;    // wParam: the window, lParam: CBTACTIVATESTRUCT*

// What HCBT_CREATEWND carries. It comes before WM_NCCREATE: the window exists (its procedure
// may be replaced) but has had no message. A changed position or size in lpcs is taken.
struct CBT_CREATEWNDW {
  CREATESTRUCTW* lpcs = nullptr;
  HWND hwndInsertAfter = nullptr;
};
// What HCBT_ACTIVATE carries.
struct CBTACTIVATESTRUCT {
  bool fMouse = false;        // activated by a click
  HWND hWndActive = nullptr;  // the window active until now
};

// Installs a hook of the one user-interface thread; nullptr for another kind or no procedure.
HHOOK SetWindowsHookExW(int idHook, HOOKPROC proc);
bool UnhookWindowsHookEx(HHOOK hook);  // false for an unknown or removed hook
// Passes a call on to the next hook below hook (0 when there is none). Inside a hook, a null
// or unknown handle means the hook that is running.
LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam);

}  // namespace win
