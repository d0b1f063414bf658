// Hidden windows for the framework's own machinery (timers and the like): top-level tool
// windows of the class "TPUtilWindow", never shown, whose messages go to a method. The method
// sees every message after creation and calls DefWindowProcW for those it leaves alone.
#pragma once

#include "framework/Control.h"
#include "platform/win/Types.h"

namespace fw {

// Makes such a window for method; raises Exception when the window system refuses.
win::HWND AllocateHWnd(TWndMethod method);
// Destroys it (the method is dropped once the window is gone).
void DeallocateHWnd(win::HWND wnd);

}  // namespace fw
