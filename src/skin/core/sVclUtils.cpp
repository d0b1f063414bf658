#include "skin/core/sVclUtils.h"

#include <vector>

#include "platform/win/MessageQueue.h"
#include "platform/win/Styles.h"
#include "platform/win/Window.h"
#include "skin/core/acReceivers.h"

namespace skin::core {

bool RestrictDrawing = false;

TacMessageHandler* GetCommonData(HWND wnd) {
  return static_cast<TacMessageHandler*>(win::GetPropW(wnd, acDataProp));
}

bool WndIsSkinned(HWND wnd) {
  return GetCommonData(wnd) || win::GetPropW(wnd, acScrollProp) ||
         SendAMessage(wnd, AC_CTRLHANDLED) == 1;
}

LRESULT TrySendMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TacMessageHandler* handler = GetCommonData(wnd);
  if (!handler || !handler->WndProc) return win::SendMessageW(wnd, msg, wParam, lParam);
  fw::TMessage m{msg, wParam, lParam, 0};
  // A copy: the handler may free its control, and the handler object with it.
  fw::TWndMethod proc = handler->WndProc;
  proc(m);
  return m.Result;
}

LRESULT TrySendMessage(fw::TControl* control, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!control || control->HasState(fw::csDestroying)) return 0;
  auto* windowed = dynamic_cast<fw::TWinControl*>(control);
  if (!windowed) return control->Perform(msg, wParam, lParam);
  if (!windowed->HandleAllocated()) return 0;
  return TrySendMessage(windowed->Handle(), msg, wParam, lParam);
}

LRESULT SendAMessage(HWND wnd, UINT cmd, LPARAM lParam) {
  return TrySendMessage(wnd, SM_ALPHACMD, MakeAlphaCmd(cmd), lParam);
}

LRESULT SendAMessage(fw::TControl* control, UINT cmd, LPARAM lParam) {
  return TrySendMessage(control, SM_ALPHACMD, MakeAlphaCmd(cmd), lParam);
}

bool GetBoolMsg(HWND wnd, UINT cmd) {
  return SendAMessage(wnd, cmd) == 1;
}

bool GetBoolMsg(fw::TControl* control, UINT cmd) {
  return SendAMessage(control, cmd) == 1;
}

void AlphaBroadCast(fw::TWinControl& control, const fw::TMessage& message) {
  TacReceivers children;
  for (int i = 0; i < control.ControlCount(); ++i) children.Add(control.Controls(i));
  for (int i = 0; i < children.Count(); ++i) {
    auto* child = static_cast<fw::TControl*>(children.Item(i));
    if (!child) continue;  // freed by an earlier receiver
    if (child->HasState(fw::csDestroying)) break;
    auto* windowed = dynamic_cast<fw::TWinControl*>(child);
    if (!windowed || !windowed->HandleAllocated()) {
      child->Perform(message.Msg, message.WParam, message.LParam);
      continue;
    }
    HWND wnd = windowed->Handle();
    TrySendMessage(wnd, message.Msg, message.WParam, message.LParam);
    if (children.Item(i) && !WndIsSkinned(wnd)) AlphaBroadCast(*windowed, message);
  }
}

void AlphaBroadCast(HWND wnd, const fw::TMessage& message) {
  std::vector<HWND> children;
  for (HWND child = win::GetWindow(wnd, win::GW_CHILD); child;
       child = win::GetWindow(child, win::GW_HWNDNEXT))
    children.push_back(child);
  // Handles of windows destroyed on the way are stale: the message goes nowhere.
  for (HWND child : children) TrySendMessage(child, message.Msg, message.WParam, message.LParam);
}

}  // namespace skin::core
