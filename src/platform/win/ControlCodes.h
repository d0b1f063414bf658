// Styles, messages, states and notification codes of the standard controls (button, edit,
// combo box), with the platform's values. The framework's own controls carry these styles on
// their windows and answer these messages, so code written against the native controls reads
// them unchanged.
#pragma once

#include "platform/win/Types.h"

namespace win {

// Button styles (low bits of GWL_STYLE).
constexpr DWORD BS_PUSHBUTTON = 0x00000000;
constexpr DWORD BS_DEFPUSHBUTTON = 0x00000001;
constexpr DWORD BS_TYPEMASK = 0x0000000F;
constexpr DWORD BS_BITMAP = 0x00000080;  // the button shows its image (BM_SETIMAGE), not its text
constexpr DWORD BS_MULTILINE = 0x00002000;

// Button messages.
constexpr UINT BM_GETCHECK = 0x00F0;  // result: BST_CHECKED or BST_UNCHECKED
constexpr UINT BM_GETSTATE = 0x00F2;  // result: BST_* flags
constexpr UINT BM_SETSTATE = 0x00F3;  // wParam: drawn pushed
constexpr UINT BM_SETSTYLE = 0x00F4;  // wParam: BS_* type, lParam: redraw
constexpr UINT BM_CLICK = 0x00F5;
constexpr UINT BM_GETIMAGE = 0x00F6;  // wParam: IMAGE_BITMAP; result: the image, or null
// wParam: IMAGE_BITMAP, lParam: the image (an HBITMAP the caller keeps and frees); result: the
// image it replaces.
constexpr UINT BM_SETIMAGE = 0x00F7;
constexpr WPARAM IMAGE_BITMAP = 0;

// Button states (BM_GETSTATE, BM_GETCHECK).
constexpr LRESULT BST_UNCHECKED = 0x0000;
constexpr LRESULT BST_CHECKED = 0x0001;
constexpr LRESULT BST_INDETERMINATE = 0x0002;
constexpr LRESULT BST_PUSHED = 0x0004;
constexpr LRESULT BST_FOCUS = 0x0008;

// Edit styles.
constexpr DWORD ES_LEFT = 0x0000;
constexpr DWORD ES_MULTILINE = 0x0004;
constexpr DWORD ES_PASSWORD = 0x0020;
constexpr DWORD ES_AUTOVSCROLL = 0x0040;
constexpr DWORD ES_AUTOHSCROLL = 0x0080;
constexpr DWORD ES_READONLY = 0x0800;
constexpr DWORD ES_WANTRETURN = 0x1000;

// Combo box messages.
constexpr UINT CB_GETCURSEL = 0x0147;     // result: the chosen item, CB_ERR when none
constexpr UINT CB_SETCURSEL = 0x014E;     // wParam: item (-1 none); result: it, or CB_ERR
constexpr UINT CB_SHOWDROPDOWN = 0x014F;  // wParam: open
constexpr UINT CB_GETDROPPEDSTATE = 0x0157;
constexpr UINT CB_GETCOMBOBOXINFO = 0x0164;  // lParam: COMBOBOXINFO*, cbSize set; result: 1
constexpr LRESULT CB_ERR = -1;

// Combo box notification codes (high word of WM_COMMAND's wParam).
constexpr WORD CBN_SELCHANGE = 1;
constexpr WORD CBN_EDITCHANGE = 5;  // the user changed the edit part's text
constexpr WORD CBN_DROPDOWN = 7;    // before the list is shown
constexpr WORD CBN_CLOSEUP = 8;

// CB_GETCOMBOBOXINFO's answer.
struct COMBOBOXINFO {
  DWORD cbSize = sizeof(COMBOBOXINFO);
  RECT rcItem{};          // where the chosen item shows, client coordinates
  RECT rcButton{};        // the drop button, client coordinates
  DWORD stateButton = 0;  // STATE_SYSTEM_PRESSED while the list is open
  HWND hwndCombo = nullptr;
  HWND hwndItem = nullptr;  // the box itself: a drop-down list has no edit
  HWND hwndList = nullptr;  // the drop-down list window
};
// States of a control part (COMBOBOXINFO.stateButton, SCROLLBARINFO.rgstate).
constexpr DWORD STATE_SYSTEM_UNAVAILABLE = 0x00000001;  // disabled
constexpr DWORD STATE_SYSTEM_PRESSED = 0x00000008;      // pressed: a thumb dragged, a list open
constexpr DWORD STATE_SYSTEM_INVISIBLE = 0x00008000;    // not there

}  // namespace win
