// Message numbers with the platform's values, and the structures some of them carry.
#pragma once

#include "platform/win/Types.h"

namespace gfx {
class DeviceContext;
}

namespace win {

// Window life and geometry.
constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_CREATE = 0x0001;  // lParam: CREATESTRUCTW*; -1 refuses
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_MOVE = 0x0003;       // lParam: client origin in parent client
constexpr UINT WM_SIZE = 0x0005;       // wParam: SIZE_*, lParam: client size
constexpr UINT WM_ACTIVATE = 0x0006;   // wParam: WA_* | minimized << 16, lParam: other
constexpr UINT WM_SETFOCUS = 0x0007;   // wParam: window losing the focus
constexpr UINT WM_KILLFOCUS = 0x0008;  // wParam: window gaining the focus
constexpr UINT WM_ENABLE = 0x000A;     // wParam: enabled
constexpr UINT WM_SETREDRAW = 0x000B;  // wParam: redraw allowed
constexpr UINT WM_SETTEXT = 0x000C;    // lParam: const char16_t*
constexpr UINT WM_GETTEXT = 0x000D;    // wParam: buffer units, lParam: char16_t*
constexpr UINT WM_GETTEXTLENGTH = 0x000E;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;        // wParam: exit code
constexpr UINT WM_ERASEBKGND = 0x0014;  // wParam: HDC
constexpr UINT WM_SYSCOLORCHANGE = 0x0015;
constexpr UINT WM_SHOWWINDOW = 0x0018;     // wParam: shown
constexpr UINT WM_SETTINGCHANGE = 0x001A;  // wParam: SPI_* changed, lParam: section name
constexpr UINT WM_WININICHANGE = WM_SETTINGCHANGE;
constexpr UINT WM_ACTIVATEAPP = 0x001C;  // wParam: application active
constexpr UINT WM_FONTCHANGE = 0x001D;   // the system's set of fonts changed
constexpr UINT WM_CANCELMODE = 0x001F;
constexpr UINT WM_SETCURSOR = 0x0020;      // wParam: window, lParam: hit | msg << 16
constexpr UINT WM_MOUSEACTIVATE = 0x0021;  // wParam: top level, lParam: hit | msg << 16
constexpr UINT WM_CHILDACTIVATE = 0x0022;
constexpr UINT WM_GETMINMAXINFO = 0x0024;  // lParam: MINMAXINFO*
constexpr UINT WM_DRAWITEM = 0x002B;       // wParam: control id, lParam: DRAWITEMSTRUCT*
constexpr UINT WM_MEASUREITEM = 0x002C;    // wParam: control id, lParam: MEASUREITEMSTRUCT*
constexpr UINT WM_SETFONT = 0x0030;
constexpr UINT WM_GETFONT = 0x0031;
constexpr UINT WM_WINDOWPOSCHANGING = 0x0046;  // lParam: WINDOWPOS*, may be changed
constexpr UINT WM_WINDOWPOSCHANGED = 0x0047;   // lParam: const WINDOWPOS*
constexpr UINT WM_COPYDATA = 0x004A;           // wParam: sender, lParam: COPYDATASTRUCT*; sent only
constexpr UINT WM_NOTIFY = 0x004E;
constexpr UINT WM_INPUTLANGCHANGEREQUEST = 0x0050;
constexpr UINT WM_INPUTLANGCHANGE = 0x0051;  // lParam: the new HKL
constexpr UINT WM_CONTEXTMENU = 0x007B;      // wParam: window, lParam: screen point
constexpr UINT WM_STYLECHANGING = 0x007C;    // wParam: GWL_STYLE/GWL_EXSTYLE, lParam: STYLESTRUCT*
constexpr UINT WM_STYLECHANGED = 0x007D;
constexpr UINT WM_GETICON = 0x007F;  // wParam: ICON_*; returns the icon
constexpr UINT WM_SETICON = 0x0080;  // wParam: ICON_SMALL/ICON_BIG, lParam: icon; returns the old

// Non-client area.
constexpr UINT WM_NCCREATE = 0x0081;  // lParam: CREATESTRUCTW*; 0 refuses
constexpr UINT WM_NCDESTROY = 0x0082;
constexpr UINT WM_NCCALCSIZE = 0x0083;  // wParam 0: RECT*, 1: NCCALCSIZE_PARAMS*
constexpr UINT WM_NCHITTEST = 0x0084;   // lParam: screen point; returns HT*
constexpr UINT WM_NCPAINT = 0x0085;     // wParam: 1 (whole frame)
constexpr UINT WM_NCACTIVATE = 0x0086;  // wParam: active
constexpr UINT WM_GETDLGCODE = 0x0087;
constexpr UINT WM_NCMOUSEMOVE = 0x00A0;  // wParam: hit code, lParam: screen point
constexpr UINT WM_NCLBUTTONDOWN = 0x00A1;
constexpr UINT WM_NCLBUTTONUP = 0x00A2;
constexpr UINT WM_NCLBUTTONDBLCLK = 0x00A3;
constexpr UINT WM_NCRBUTTONDOWN = 0x00A4;
constexpr UINT WM_NCRBUTTONUP = 0x00A5;
constexpr UINT WM_NCRBUTTONDBLCLK = 0x00A6;
constexpr UINT WM_NCMBUTTONDOWN = 0x00A7;
constexpr UINT WM_NCMBUTTONUP = 0x00A8;
constexpr UINT WM_NCMBUTTONDBLCLK = 0x00A9;
constexpr UINT WM_NCMOUSEHOVER = 0x02A0;  // wParam: hit code, lParam: screen point
constexpr UINT WM_NCMOUSELEAVE = 0x02A2;

// Keyboard.
constexpr UINT WM_KEYFIRST = 0x0100;
constexpr UINT WM_KEYDOWN = 0x0100;  // wParam: VK_*, lParam: key data
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;  // wParam: UTF-16 unit
constexpr UINT WM_DEADCHAR = 0x0103;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_SYSKEYUP = 0x0105;
constexpr UINT WM_SYSCHAR = 0x0106;
constexpr UINT WM_KEYLAST = 0x0109;

// Commands, timers and scrolling.
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_SYSCOMMAND = 0x0112;  // wParam: SC_* (low 4 bits: hit code)
constexpr UINT WM_TIMER = 0x0113;       // wParam: timer id, lParam: TIMERPROC
constexpr UINT WM_HSCROLL = 0x0114;     // wParam: SB_* | position << 16
constexpr UINT WM_VSCROLL = 0x0115;
constexpr UINT WM_INITMENU = 0x0116;         // wParam: the menu a menu loop starts with
constexpr UINT WM_INITMENUPOPUP = 0x0117;    // wParam: menu, lParam: position | system menu << 16
constexpr UINT WM_MENUSELECT = 0x011F;       // wParam: id or position | MF_* << 16, lParam: menu
constexpr UINT WM_UNINITMENUPOPUP = 0x0125;  // wParam: menu, lParam: MF_SYSMENU << 16 or 0
constexpr UINT WM_ENTERIDLE = 0x0121;
// The shell asks a window to open its window menu at the cursor.
constexpr UINT WM_POPUPSYSTEMMENU = 0x0313;
constexpr UINT WM_UPDATEUISTATE = 0x0128;
constexpr UINT WM_CTLCOLOREDIT = 0x0133;
constexpr UINT WM_CTLCOLORLISTBOX = 0x0134;  // wParam: the list's DC, lParam: the list window
constexpr UINT WM_CTLCOLORSTATIC = 0x0138;

// Mouse in the client area (lParam: client point, wParam: MK_* flags).
constexpr UINT WM_MOUSEFIRST = 0x0200;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
constexpr UINT WM_MBUTTONDOWN = 0x0207;
constexpr UINT WM_MBUTTONUP = 0x0208;
constexpr UINT WM_MBUTTONDBLCLK = 0x0209;
constexpr UINT WM_MOUSEWHEEL = 0x020A;  // wParam: MK_* | delta << 16, lParam: screen
constexpr UINT WM_MOUSEHWHEEL = 0x020E;
constexpr UINT WM_MOUSELAST = 0x020E;
constexpr UINT WM_PARENTNOTIFY = 0x0210;   // wParam: event | child id << 16
constexpr UINT WM_ENTERMENULOOP = 0x0211;  // wParam: a pop-up menu (TrackPopupMenuEx)
constexpr UINT WM_EXITMENULOOP = 0x0212;   // wParam: as WM_ENTERMENULOOP
constexpr UINT WM_SIZING = 0x0214;
constexpr UINT WM_CAPTURECHANGED = 0x0215;  // lParam: the new capture window
constexpr UINT WM_MOVING = 0x0216;          // lParam: RECT*, may be changed
constexpr UINT WM_ENTERSIZEMOVE = 0x0231;
constexpr UINT WM_EXITSIZEMOVE = 0x0232;
constexpr UINT WM_MOUSEHOVER = 0x02A1;
constexpr UINT WM_MOUSELEAVE = 0x02A3;

// Clipboard, printing and the rest.
constexpr UINT WM_CUT = 0x0300;
constexpr UINT WM_COPY = 0x0301;
constexpr UINT WM_PASTE = 0x0302;
constexpr UINT WM_CLEAR = 0x0303;
constexpr UINT WM_UNDO = 0x0304;
constexpr UINT WM_PRINT = 0x0317;        // wParam: HDC, lParam: PRF_*
constexpr UINT WM_PRINTCLIENT = 0x0318;  // wParam: HDC, lParam: PRF_*
constexpr UINT WM_APP = 0x8000;          // first number free for applications
constexpr UINT WM_USER = 0x0400;         // first number free for window classes
// The visual style changed (never sent here: the platform has no visual styles).
constexpr UINT WM_THEMECHANGED = 0x031A;

// Event codes of WM_PARENTNOTIFY.
constexpr UINT WM_PARENTNOTIFY_CREATE = WM_CREATE;
constexpr UINT WM_PARENTNOTIFY_DESTROY = WM_DESTROY;

// Icon kinds of WM_SETICON / WM_GETICON. ICON_SMALL2 asks for the icon to show small: the
// small one, else the big one, else the default application icon.
constexpr WPARAM ICON_SMALL = 0;
constexpr WPARAM ICON_BIG = 1;
constexpr WPARAM ICON_SMALL2 = 2;

// What WM_COPYDATA carries: data valid only while the message is being sent.
struct COPYDATASTRUCT {
  UINT_PTR dwData = 0;  // a number the two sides agree on
  DWORD cbData = 0;     // size of lpData in bytes
  const void* lpData = nullptr;
};

// Owner-drawn items: control types, drawing actions and item states.
constexpr UINT ODT_MENU = 1;
constexpr UINT ODT_LISTBOX = 2;
constexpr UINT ODT_COMBOBOX = 3;
constexpr UINT ODT_BUTTON = 4;
constexpr UINT ODT_STATIC = 5;
constexpr UINT ODA_DRAWENTIRE = 0x0001;
constexpr UINT ODA_SELECT = 0x0002;
constexpr UINT ODA_FOCUS = 0x0004;
constexpr UINT ODS_SELECTED = 0x0001;
constexpr UINT ODS_GRAYED = 0x0002;
constexpr UINT ODS_DISABLED = 0x0004;
constexpr UINT ODS_CHECKED = 0x0008;
constexpr UINT ODS_FOCUS = 0x0010;
constexpr UINT ODS_DEFAULT = 0x0020;
constexpr UINT ODS_HOTLIGHT = 0x0040;
constexpr UINT ODS_INACTIVE = 0x0080;
constexpr UINT ODS_NOACCEL = 0x0100;
constexpr UINT ODS_NOFOCUSRECT = 0x0200;
constexpr UINT ODS_COMBOBOXEDIT = 0x1000;

// What WM_MEASUREITEM asks: the owner fills itemWidth and itemHeight.
struct MEASUREITEMSTRUCT {
  UINT CtlType = 0;  // ODT_*
  UINT CtlID = 0;
  UINT itemID = 0;  // menu command or item index
  UINT itemWidth = 0;
  UINT itemHeight = 0;
  UINT_PTR itemData = 0;
};
// What WM_DRAWITEM asks to draw.
struct DRAWITEMSTRUCT {
  UINT CtlType = 0;  // ODT_*
  UINT CtlID = 0;
  UINT itemID = 0;
  UINT itemAction = 0;      // ODA_*
  UINT itemState = 0;       // ODS_*
  HWND hwndItem = nullptr;  // the control (a menu's handle for ODT_MENU)
  gfx::DeviceContext* hDC = nullptr;
  RECT rcItem;
  UINT_PTR itemData = 0;
};

}  // namespace win
