// The framework's message record and its own notifications (CM_*), with their usual numbers.
// Controls receive them through WindowProc like window messages, so hooks (the skin engine)
// see both kinds in one stream.
#pragma once

#include "platform/win/Messages.h"

namespace fw {

using win::LPARAM;
using win::LRESULT;
using win::UINT;
using win::WPARAM;

// One message on its way through a control's WindowProc; handlers set Result.
struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;

  // The 16-bit halves of the parameters (low word, high word), as handlers read them.
  win::WORD WParamLo() const { return win::WORD(WParam & 0xFFFF); }
  win::WORD WParamHi() const { return win::WORD((WParam >> 16) & 0xFFFF); }
  win::WORD LParamLo() const { return win::WORD(LParam & 0xFFFF); }
  win::WORD LParamHi() const { return win::WORD((LParam >> 16) & 0xFFFF); }
};

constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 0;    // the application became active
constexpr UINT CM_DEACTIVATE = CM_BASE + 1;  // the application became inactive
constexpr UINT CM_DIALOGKEY = CM_BASE + 5;   // wParam: a navigation key (Tab, Enter, Esc); 1: used
constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;  // wParam: a character offered to accelerators
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 7;        // lParam: the control that got the focus
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 8;   // the parent's font changed
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;  // the parent's colour changed
constexpr UINT CM_HITTEST = CM_BASE + 10;  // lParam: client point; non-zero: the point is ours
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 11;  // wParam: now visible
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr UINT CM_COLORCHANGED = CM_BASE + 13;
constexpr UINT CM_FONTCHANGED = CM_BASE + 14;
constexpr UINT CM_CURSORCHANGED = CM_BASE + 15;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
constexpr UINT CM_MENUCHANGED = CM_BASE + 21;  // the form's menu changed
constexpr UINT CM_BUTTONPRESSED = CM_BASE + 24;
constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 25;  // a windowed control's Showing changed
constexpr UINT CM_ENTER = CM_BASE + 26;           // the control became the form's active control
constexpr UINT CM_EXIT = CM_BASE + 27;            // the control stopped being it
constexpr UINT CM_RELEASE = CM_BASE + 33;         // posted: free the form
constexpr UINT CM_SHOWHINTCHANGED = CM_BASE + 34;
constexpr UINT CM_WININICHANGE = CM_BASE + 37;  // system settings changed (WM_SETTINGCHANGE)
constexpr UINT CM_TABSTOPCHANGED = CM_BASE + 40;
constexpr UINT CM_CONTROLLISTCHANGE = CM_BASE + 44;  // wParam: control, lParam: inserted
constexpr UINT CM_HINTSHOW = CM_BASE + 48;
constexpr UINT CM_RECREATEWND = CM_BASE + 51;     // the default handling remakes the window
constexpr UINT CM_INVALIDATE = CM_BASE + 52;      // wParam 0: repaint; 1: a child was invalidated
constexpr UINT CM_SYSFONTCHANGED = CM_BASE + 53;  // the system's fonts changed (WM_FONTCHANGE)
constexpr UINT CM_CONTROLCHANGE = CM_BASE + 54;   // wParam: control, lParam: inserted
constexpr UINT CM_CHANGED = CM_BASE + 55;
constexpr UINT CM_FLOAT = CM_BASE + 58;            // a docked control floats (no docking yet)
constexpr UINT CM_BIDIMODECHANGED = CM_BASE + 60;  // the control's BiDiMode changed
constexpr UINT CM_MOUSEWHEEL = CM_BASE + 67;

}  // namespace fw
