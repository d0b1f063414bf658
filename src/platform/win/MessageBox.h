// Message boxes: MessageBoxW makes a modal dialog window of the dialog class "#32770" with
// "Static" children (the icon, SS_ICON, and the text) and "Button" children, one per answer,
// whose dialog identifiers are the answers (IDOK, IDCANCEL, ...). The box is sized to its text,
// centred on its owner (the screen without one) and kept on the work area, and runs its own modal
// loop until a button is chosen; every other top-level window of the program is disabled meanwhile.
//
// Keyboard, as on the platform: Tab and Shift+Tab move the focus between the buttons, and so do
// the arrow keys; Enter presses the focused button; Escape (and the close button or Alt+F4)
// answers IDCANCEL where the box has a Cancel button, IDOK in a box with OK alone, and nothing
// otherwise; a button's access key ("&Да": Д, with or without Alt) presses it; Space presses
// the focused button as it is released.
//
// The button texts are those of the system the program was made for (Russian): "OK",
// "Отмена", "&Прервать", "&Повторить", "&Пропустить", "&Да", "&Нет".
//
// The "Static" and "Button" classes are the platform's standard controls and serve any window:
// a static shows its text (word-wrapped, "&" marking an access key unless SS_NOPREFIX) or, with
// SS_ICON, the icon given by STM_SETICON; a push button (BS_PUSHBUTTON, BS_DEFPUSHBUTTON) is
// drawn raised, sunken while pushed, with a focus rectangle while focused, and tells its parent
// WM_COMMAND (its identifier, BN_CLICKED) when clicked. Both take WM_SETFONT (wParam: a
// const gfx::HFONT*, copied; 0: the message font again) and answer WM_GETFONT with a
// const gfx::HFONT* valid while the window lives (0 for the message font).
#pragma once

#include <string>
#include <string_view>

#include "platform/gfx/Icon.h"
#include "platform/win/Types.h"

namespace win {

// The class names.
inline constexpr char16_t WC_DIALOG[] = u"#32770";
inline constexpr char16_t WC_STATIC[] = u"Static";
inline constexpr char16_t WC_BUTTON[] = u"Button";

// MessageBoxW types: the buttons (low four bits), the icon, the default button.
constexpr UINT MB_OK = 0x0000;
constexpr UINT MB_OKCANCEL = 0x0001;
constexpr UINT MB_ABORTRETRYIGNORE = 0x0002;
constexpr UINT MB_YESNOCANCEL = 0x0003;
constexpr UINT MB_YESNO = 0x0004;
constexpr UINT MB_RETRYCANCEL = 0x0005;
constexpr UINT MB_TYPEMASK = 0x000F;
constexpr UINT MB_ICONHAND = 0x0010;  // also MB_ICONSTOP, MB_ICONERROR
constexpr UINT MB_ICONSTOP = MB_ICONHAND;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONQUESTION = 0x0020;
constexpr UINT MB_ICONEXCLAMATION = 0x0030;  // also MB_ICONWARNING
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONASTERISK = 0x0040;  // also MB_ICONINFORMATION
constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
constexpr UINT MB_ICONMASK = 0x00F0;
constexpr UINT MB_DEFBUTTON1 = 0x0000;
constexpr UINT MB_DEFBUTTON2 = 0x0100;
constexpr UINT MB_DEFBUTTON3 = 0x0200;
constexpr UINT MB_DEFMASK = 0x0F00;

// Dialog answers (and the buttons' identifiers).
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Dialog styles.
constexpr DWORD DS_SETFONT = 0x0040;
constexpr DWORD DS_MODALFRAME = 0x0080;
constexpr DWORD DS_NOIDLEMSG = 0x0100;  // kept for callers; this system sends no WM_ENTERIDLE

// Static styles.
constexpr DWORD SS_LEFT = 0x0000;
constexpr DWORD SS_ICON = 0x0003;
constexpr DWORD SS_TYPEMASK = 0x001F;
constexpr DWORD SS_NOPREFIX = 0x0080;

// Static messages.
constexpr UINT STM_SETICON = 0x0170;  // wParam: the icon; result: the previous one
constexpr UINT STM_GETICON = 0x0171;

// Button notification (high word of WM_COMMAND's wParam).
constexpr WORD BN_CLICKED = 0;

// Dialog messages.
constexpr UINT DM_GETDEFID = 0x0400;  // result: MAKELRESULT(id, DC_HASDEFID), 0 when none
constexpr WORD DC_HASDEFID = 0x534B;
constexpr UINT WM_NEXTDLGCTL = 0x0028;  // wParam: 0 next, 1 previous (lParam 0)

// WM_GETDLGCODE answers.
constexpr LRESULT DLGC_DEFPUSHBUTTON = 0x0010;
constexpr LRESULT DLGC_UNDEFPUSHBUTTON = 0x0020;
constexpr LRESULT DLGC_STATIC = 0x0100;
constexpr LRESULT DLGC_BUTTON = 0x2000;

// Shows a message box and returns the answer (IDOK, IDCANCEL, ...). owner: the window it is
// centred on (nullptr: the screen). An unknown button type shows an OK button.
int MessageBoxW(HWND owner, std::u16string_view text, std::u16string_view caption, UINT type);

// The text of a box's button by its answer (with its access-key mark), empty for another value.
std::u16string MessageBoxButtonText(int id);

// The box's sign for an MB_ICON* value (shared, never destroyed); nullptr for none.
gfx::HICON MessageBoxIcon(UINT iconType);

// Registers "#32770", "Static" and "Button" (nothing when registered already).
void RegisterStandardClasses();

// Ends a dialog made by MessageBoxW with an answer (false for another window).
bool EndDialog(HWND dialog, int result);

}  // namespace win
