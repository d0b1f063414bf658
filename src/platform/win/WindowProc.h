// Calling and chaining window procedures, the subclass chain, and the default procedure.
#pragma once

#include "platform/win/Types.h"

namespace win {

// Calls a procedure obtained from SetWindowLongPtrW(GWLP_WNDPROC); 0 for a null one.
LRESULT CallWindowProcW(const WNDPROC& proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The subclass chain, as the common controls offer it. Hooks sit above the window's
// procedure, the last one set on top; DefSubclassProc passes a message to the next one down
// and finally to the window procedure that was current when the first hook was set.
// Removing any hook, in any order and even while it runs, relinks the chain: a running hook
// that calls DefSubclassProc after its removal reaches the hooks still below it.
using SUBCLASSPROC =
    std::function<LRESULT(HWND, UINT, WPARAM, LPARAM, UINT_PTR id, DWORD_PTR refData)>;
// Installs a hook, or updates the reference data of the one with the same id.
bool SetWindowSubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR refData);
bool GetWindowSubclass(HWND hwnd, UINT_PTR id, DWORD_PTR* refData);  // false when not installed
bool RemoveWindowSubclass(HWND hwnd, UINT_PTR id);                   // false when not installed
// Only valid inside a hook of hwnd.
LRESULT DefSubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The default handling of every message (see DefWindowProc.cpp for the list).
LRESULT DefWindowProcW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace win
