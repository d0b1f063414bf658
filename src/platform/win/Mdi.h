// Multiple-document windows: the "MDIClient" class, which holds child windows with their own
// caption frames inside a frame window, and the default procedures of the frame and of the
// children.
//
// A frame creates the client as a WS_CHILD window of class MDICLIENT_CLASS with a
// CLIENTCREATESTRUCT in the creation parameter, sends it WM_MDICREATE to make children, passes
// the messages it does not handle to DefFrameProcW and offers its keyboard messages to
// TranslateMDISysAccel (Ctrl+F4 closes the active child, Ctrl+F6 / Ctrl+Shift+F6 move to the
// next / previous). A child's procedure passes what it leaves to DefMDIChildProcW.
//
// The client keeps one active child: the one clicked, picked in the window menu or reached
// with Ctrl+F6. When it is maximised the child fills the client with its caption and frame
// outside it, and the frame's menu bar shows its system menu icon first and its minimise,
// restore and close buttons at the right (owner-drawn items whose item data is the child).
// The window menu lists the children after a separator: "&1 Title" ... with the commands
// idFirstChild, idFirstChild + 1 ... in creation order, the active one checked.
#pragma once

#include "platform/win/Menu.h"
#include "platform/win/Types.h"

namespace win {

inline constexpr char16_t MDICLIENT_CLASS[] = u"MDIClient";

constexpr UINT WM_MDICREATE = 0x0220;   // lParam: MDICREATESTRUCTW*; returns the child
constexpr UINT WM_MDIDESTROY = 0x0221;  // wParam: the child
// To the client, wParam: the child to activate. To the children leaving and coming, wParam:
// the one deactivated, lParam: the one activated.
constexpr UINT WM_MDIACTIVATE = 0x0222;
constexpr UINT WM_MDIRESTORE = 0x0223;         // wParam: the child
constexpr UINT WM_MDINEXT = 0x0224;            // wParam: a child (0: the active), lParam: previous
constexpr UINT WM_MDIMAXIMIZE = 0x0225;        // wParam: the child
constexpr UINT WM_MDITILE = 0x0226;            // wParam: MDITILE_*
constexpr UINT WM_MDICASCADE = 0x0227;         // wParam: MDITILE_SKIPDISABLED or 0
constexpr UINT WM_MDIICONARRANGE = 0x0228;     // minimised children in a row at the bottom
constexpr UINT WM_MDIGETACTIVE = 0x0229;       // lParam: bool* maximised, may be null
constexpr UINT WM_MDISETMENU = 0x0230;         // wParam: frame menu, lParam: window menu
constexpr UINT WM_MDIREFRESHMENU = 0x0234;     // rebuilds the window menu's list
constexpr WPARAM MDITILE_VERTICAL = 0x0000;    // columns side by side
constexpr WPARAM MDITILE_HORIZONTAL = 0x0001;  // rows one above the other
constexpr WPARAM MDITILE_SKIPDISABLED = 0x0002;

// The creation parameter of an MDI client.
struct CLIENTCREATESTRUCT {
  HMENU hWindowMenu = nullptr;  // gets the child list; may be null
  UINT idFirstChild = 0;        // the first child's command in it
};

// What WM_MDICREATE takes; the child's WM_CREATE finds it as lpCreateParams.
struct MDICREATESTRUCTW {
  const char16_t* szClass = u"";
  const char16_t* szTitle = u"";
  int x = 0, y = 0, cx = 0, cy = 0;  // CW_USEDEFAULT: the next cascade place and size
  DWORD style = 0;                   // WS_MAXIMIZE / WS_MINIMIZE / WS_VISIBLE and the like
  LPARAM lParam = 0;                 // the program's value
};

// The default handling of a frame window holding client (which may be null).
LRESULT DefFrameProcW(HWND frame, HWND client, UINT msg, WPARAM wParam, LPARAM lParam);
// The default handling of an MDI child.
LRESULT DefMDIChildProcW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Ctrl+F4 and Ctrl+(Shift+)F6 on a WM_KEYDOWN: sends the active child's WM_SYSCOMMAND and
// returns true; false for any other message.
bool TranslateMDISysAccel(HWND client, const MSG& msg);
// Registers MDICLIENT_CLASS (nothing when it is registered already).
void RegisterMdiClientClass();

namespace detail {
// Whether a press on target should activate the MDI child holding it (not yet active).
bool InInactiveMdiChild(HWND target);
}  // namespace detail

}  // namespace win
