// Owned pop-ups follow their owner: minimising a top-level window (ShowWindow) hides the
// visible pop-ups it owns, each first told by WM_SHOWWINDOW (FALSE, SW_PARENTCLOSING) and then
// hidden by DefWindowProc without activation. Restoring the owner from minimised gives the ones
// so hidden WM_SHOWWINDOW (TRUE, SW_PARENTOPENING), and DefWindowProc shows them again without
// activation, each in its own state (a maximised one maximised). A pop-up shown or hidden on
// purpose meanwhile is no longer the owner's to bring back.
#pragma once

#include "platform/win/Types.h"

namespace win {

// WM_SHOWWINDOW's lParam for an owned pop-up shown or hidden because of its owner.
constexpr LPARAM SW_PARENTCLOSING = 1;  // the owner is being minimised
constexpr LPARAM SW_PARENTOPENING = 3;  // the owner is being restored

}  // namespace win
