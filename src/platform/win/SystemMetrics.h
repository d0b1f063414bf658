// System metrics, colours, brushes and cursors at 96 dots per inch.
//
// The frame metrics follow the main window's geometry: a caption (and small caption) of 23,
// a dialog frame of 3 and a sizing frame of 4, so a 1280 x 750 tool window with a caption
// and no sizing frame has a 1274 x 721 client area.
#pragma once

#include <cstddef>

#include "platform/gfx/Color.h"
#include "platform/gfx/Icon.h"
#include "platform/win/Types.h"

namespace win {

// GetSystemMetrics indexes.
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;
constexpr int SM_CYCAPTION = 4;
constexpr int SM_CXBORDER = 5;
constexpr int SM_CYBORDER = 6;
constexpr int SM_CXDLGFRAME = 7;
constexpr int SM_CYDLGFRAME = 8;
constexpr int SM_CYVTHUMB = 9;
constexpr int SM_CXHTHUMB = 10;
constexpr int SM_CXICON = 11;
constexpr int SM_CYICON = 12;
constexpr int SM_CXCURSOR = 13;
constexpr int SM_CYCURSOR = 14;
constexpr int SM_CYMENU = 15;
constexpr int SM_CXFULLSCREEN = 16;
constexpr int SM_CYFULLSCREEN = 17;
constexpr int SM_CYVSCROLL = 20;
constexpr int SM_CXHSCROLL = 21;
constexpr int SM_SWAPBUTTON = 23;
constexpr int SM_CXMIN = 28;
constexpr int SM_CYMIN = 29;
constexpr int SM_CXSIZE = 30;
constexpr int SM_CYSIZE = 31;
constexpr int SM_CXFRAME = 32;
constexpr int SM_CYFRAME = 33;
constexpr int SM_CXMINTRACK = 34;
constexpr int SM_CYMINTRACK = 35;
constexpr int SM_CXDOUBLECLK = 36;
constexpr int SM_CYDOUBLECLK = 37;
constexpr int SM_CXFIXEDFRAME = SM_CXDLGFRAME;
constexpr int SM_CYFIXEDFRAME = SM_CYDLGFRAME;
constexpr int SM_CXSIZEFRAME = SM_CXFRAME;
constexpr int SM_CYSIZEFRAME = SM_CYFRAME;
constexpr int SM_CXEDGE = 45;
constexpr int SM_CYEDGE = 46;
constexpr int SM_CXSMICON = 49;
constexpr int SM_CYSMICON = 50;
constexpr int SM_CYSMCAPTION = 51;
constexpr int SM_CXSMSIZE = 52;
constexpr int SM_CYSMSIZE = 53;
constexpr int SM_CXMENUSIZE = 54;
constexpr int SM_CYMENUSIZE = 55;
constexpr int SM_CXMAXIMIZED = 61;
constexpr int SM_CYMAXIMIZED = 62;
constexpr int SM_CXDRAG = 68;
constexpr int SM_CYDRAG = 69;
constexpr int SM_MIDEASTENABLED = 74;  // non-zero on a right-to-left (Hebrew, Arabic) system
constexpr int SM_CXPADDEDBORDER = 92;

// The metric's value; 0 for an unknown index. Screen sizes come from the backend.
int GetSystemMetrics(int index);

// The user interface's reading order, which the system's locale decides: left to right (as on
// the Russian system) until set; SM_MIDEASTENABLED reports it. Tests and automation scripts set
// it to see the program as a right-to-left system shows it; it lasts until the window system
// is reset.
void SetUIRightToLeft(bool rightToLeft);

// GetSysColor indexes.
constexpr int COLOR_SCROLLBAR = 0;
constexpr int COLOR_BACKGROUND = 1;
constexpr int COLOR_ACTIVECAPTION = 2;
constexpr int COLOR_INACTIVECAPTION = 3;
constexpr int COLOR_MENU = 4;
constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_WINDOWFRAME = 6;
constexpr int COLOR_MENUTEXT = 7;
constexpr int COLOR_WINDOWTEXT = 8;
constexpr int COLOR_CAPTIONTEXT = 9;
constexpr int COLOR_ACTIVEBORDER = 10;
constexpr int COLOR_INACTIVEBORDER = 11;
constexpr int COLOR_APPWORKSPACE = 12;
constexpr int COLOR_HIGHLIGHT = 13;
constexpr int COLOR_HIGHLIGHTTEXT = 14;
constexpr int COLOR_BTNFACE = 15;
constexpr int COLOR_BTNSHADOW = 16;
constexpr int COLOR_GRAYTEXT = 17;
constexpr int COLOR_BTNTEXT = 18;
constexpr int COLOR_INACTIVECAPTIONTEXT = 19;
constexpr int COLOR_BTNHIGHLIGHT = 20;
constexpr int COLOR_3DDKSHADOW = 21;
constexpr int COLOR_3DLIGHT = 22;
constexpr int COLOR_INFOTEXT = 23;
constexpr int COLOR_INFOBK = 24;
constexpr int COLOR_HOTLIGHT = 26;
constexpr int COLOR_GRADIENTACTIVECAPTION = 27;
constexpr int COLOR_GRADIENTINACTIVECAPTION = 28;
constexpr int COLOR_MENUHILIGHT = 29;
constexpr int COLOR_MENUBAR = 30;
constexpr int COLOR_3DFACE = COLOR_BTNFACE;
constexpr int COLOR_3DSHADOW = COLOR_BTNSHADOW;
constexpr int COLOR_3DHILIGHT = COLOR_BTNHIGHLIGHT;

// The colour of a display element (the platform's standard scheme); 0 for an unknown index.
// Goes through the replacement when one is set (SetGetSysColorProc).
gfx::COLORREF GetSysColor(int index);
// The platform's own answer, whatever replacement is in force (what a replacement passes the
// requests it does not answer to).
gfx::COLORREF DefGetSysColor(int index);

// A brush: a solid colour. Brushes of system colours are shared and never freed; brushes
// made by CreateSolidBrush belong to the caller until DeleteBrush.
struct Brush {
  gfx::COLORREF color = 0;
  int sysColor = -1;  // the system colour index of a shared brush
};
using HBRUSH = const Brush*;
// The shared brush of a system colour; nullptr for an unknown index. Goes through the
// replacement when one is set (SetGetSysColorBrushProc); its users never free what it gives.
HBRUSH GetSysColorBrush(int index);
// The platform's own shared brush, whatever replacement is in force.
HBRUSH DefGetSysColorBrush(int index);
// Class backgrounds may also name a system colour as (index + 1), as the platform allows.
HBRUSH SysColorBrushFromClassValue(std::uintptr_t value);
HBRUSH CreateSolidBrush(gfx::COLORREF color);  // the caller frees it with DeleteBrush
bool DeleteBrush(HBRUSH brush);                // false for shared or unknown brushes
// The colour a brush paints with.
gfx::COLORREF BrushColor(HBRUSH brush);
// Brushes made by CreateSolidBrush and not yet freed.
std::size_t SolidBrushCount();

// Process-wide replacements of GetSysColor and GetSysColorBrush, as patched imports of the
// platform's functions would be: a skin answers some display elements with its own colours.
// Null gives the platform's own back; each returns the replacement in force before (null for
// the platform's own). Any thread may ask for colours while another replaces the function.
using TGetSysColorProc = gfx::COLORREF (*)(int index);
using TGetSysColorBrushProc = HBRUSH (*)(int index);
TGetSysColorProc SetGetSysColorProc(TGetSysColorProc proc);
TGetSysColorBrushProc SetGetSysColorBrushProc(TGetSysColorBrushProc proc);

// Standard cursors. A cursor is identified by its kind; the backend shows the matching one.
enum class CursorKind {
  Arrow,
  IBeam,
  Wait,
  Cross,
  UpArrow,
  SizeNWSE,
  SizeNESW,
  SizeWE,
  SizeNS,
  SizeAll,
  No,
  Hand,
  AppStarting,
  Help
};
struct Cursor {
  CursorKind kind;
};
using HCURSOR = const Cursor*;
// Resource identifiers of LoadCursorW, with the platform's values.
constexpr int IDC_ARROW = 32512;
constexpr int IDC_IBEAM = 32513;
constexpr int IDC_WAIT = 32514;
constexpr int IDC_CROSS = 32515;
constexpr int IDC_UPARROW = 32516;
constexpr int IDC_SIZENWSE = 32642;
constexpr int IDC_SIZENESW = 32643;
constexpr int IDC_SIZEWE = 32644;
constexpr int IDC_SIZENS = 32645;
constexpr int IDC_SIZEALL = 32646;
constexpr int IDC_NO = 32648;
constexpr int IDC_HAND = 32649;
constexpr int IDC_APPSTARTING = 32650;
constexpr int IDC_HELP = 32651;
// A standard cursor by its identifier; nullptr for an unknown one.
HCURSOR LoadCursorW(int id);

// Standard icons by identifier, with the platform's values. A standard icon is shared: it is
// never to be destroyed (one destroyed by mistake is made again on the next request).
constexpr int IDI_APPLICATION = 32512;  // the default application icon, 32 x 32
gfx::HICON LoadIconW(int id);           // nullptr for an unknown identifier

// Milliseconds within which a second click counts as a double-click.
UINT GetDoubleClickTime();

}  // namespace win
