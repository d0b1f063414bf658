// Delivery of the skin message: straight to a skinned control's handler when its window says
// where that is, else as a window message; and the broadcast to a control's children.
//
// A skinned window keeps a pointer to its TacMessageHandler in the window property "ACSDATA"
// from the creation of its window to its destruction (the control's skin data registers it).
// The direct call skips the window system's dispatch and, unlike SendMessageW, lets an error
// of the handler reach the caller.
#pragma once

#include <string_view>

#include "framework/Control.h"
#include "framework/WinControl.h"
#include "skin/core/sMessages.h"

namespace skin::core {

using win::HWND;
using win::LRESULT;

// The window properties of skinned windows: their handler, and the scroll-bar subclassing.
inline constexpr std::u16string_view acDataProp = u"ACSDATA";
inline constexpr std::u16string_view acScrollProp = u"ACSBSC";

// What the "ACSDATA" property points to: the procedure that handles the control's messages
// (its window procedure, or a form provider's). The per-control skin data derives from it.
class TacMessageHandler {
 public:
  fw::TWndMethod WndProc;
};

// True only while AC_SETNEWSKIN is being broadcast; painting code draws nothing meanwhile.
// Receivers of AC_SETNEWSKIN and AC_UPDATESECTION clear it once they are ready.
extern bool RestrictDrawing;

// The handler registered as the window's "ACSDATA" property, or null.
TacMessageHandler* GetCommonData(HWND wnd);
// The window has a skin handler or a skinned scroll bar, or answers AC_CTRLHANDLED with 1.
bool WndIsSkinned(HWND wnd);

// The registered handler called directly, else SendMessageW.
LRESULT TrySendMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
// A windowless control: its Perform. A windowed one: through its window, 0 while it has none
// (no window is made for a message). A control being destroyed gets nothing: 0.
LRESULT TrySendMessage(fw::TControl* control, UINT msg, WPARAM wParam, LPARAM lParam);

// SM_ALPHACMD with cmd in WParam's high word.
LRESULT SendAMessage(HWND wnd, UINT cmd, LPARAM lParam = 0);
LRESULT SendAMessage(fw::TControl* control, UINT cmd, LPARAM lParam = 0);
// SendAMessage(..., cmd, 0) answered 1.
bool GetBoolMsg(HWND wnd, UINT cmd);
bool GetBoolMsg(fw::TControl* control, UINT cmd);

// The message to every child control of control, in index order, stopping at a child being
// destroyed. A child without a window (windowless, or not made yet) gets it through Perform;
// a child with a window through TrySendMessage, and then its own children get it unless its
// window is skinned (a skinned container passes the message on itself). Children freed on
// the way are skipped; no window is made.
void AlphaBroadCast(fw::TWinControl& control, const fw::TMessage& message);
// The message with TrySendMessage to every direct child window of wnd; no descent.
void AlphaBroadCast(HWND wnd, const fw::TMessage& message);

}  // namespace skin::core
