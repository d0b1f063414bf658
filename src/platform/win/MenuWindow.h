// Showing menus: TrackPopupMenuEx with its modal menu loop, the pop-up menu window (class
// "#32768") and the menu bar's loop.
//
// While a menu is open the loop owns the mouse and the keyboard; every other message (paint,
// timers, posted messages, the backend's automation) is handled as usual. The owner window
// gets, in order: WM_ENTERMENULOOP, WM_INITMENU, then for every pop-up before it shows
// WM_INITMENUPOPUP and, for owner-drawn items, WM_MEASUREITEM; WM_DRAWITEM whenever an
// owner-drawn item is painted; WM_MENUSELECT when the hot item changes; WM_UNINITMENUPOPUP as a
// pop-up closes; at the end WM_MENUSELECT (0xFFFF, 0) and WM_EXITMENULOOP; then the chosen
// command is posted (WM_COMMAND, or WM_SYSCOMMAND for the system menu).
#pragma once

#include <string_view>
#include <vector>

#include "platform/gfx/DeviceContext.h"
#include "platform/win/Menu.h"
#include "platform/win/Types.h"

namespace win {

// The pop-up menu window's class, and the message that asks such a window for its menu.
inline constexpr std::u16string_view POPUPMENU_CLASS = u"#32768";
constexpr UINT MN_GETHMENU = 0x01E1;  // returns the HMENU the window shows

// WM_MENUSELECT flags beyond the item's MF_* flags.
constexpr UINT MF_SYSMENU = 0x2000;
constexpr UINT MF_MOUSESELECT = 0x8000;

// TrackPopupMenuEx flags: where the menu lies against (x, y), which buttons choose, what
// comes back.
constexpr UINT TPM_LEFTBUTTON = 0x0000;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;  // the right button chooses too
constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_CENTERALIGN = 0x0004;
constexpr UINT TPM_RIGHTALIGN = 0x0008;
constexpr UINT TPM_TOPALIGN = 0x0000;
constexpr UINT TPM_VCENTERALIGN = 0x0010;
constexpr UINT TPM_BOTTOMALIGN = 0x0020;
constexpr UINT TPM_HORIZONTAL = 0x0000;  // with an exclusion rectangle: move sideways first
constexpr UINT TPM_VERTICAL = 0x0040;    // with an exclusion rectangle: move up or down first
constexpr UINT TPM_NONOTIFY = 0x0080;    // no notification messages and no command posted
constexpr UINT TPM_RETURNCMD = 0x0100;   // returns the chosen command instead of posting it
// A right-to-left menu (as MFT_RIGHTORDER makes it), whose left and right alignment swap: by
// default it hangs to the left of (x, y).
constexpr UINT TPM_LAYOUTRTL = 0x8000;

// What TrackPopupMenuEx may be given: a rectangle (screen coordinates) the menu must not cover.
struct TPMPARAMS {
  RECT rcExclude;
};

// Shows menu at the screen point (x, y) for owner and runs the menu loop until an item is
// chosen or the menu is dismissed (Escape, a click outside, the capture taken away, WM_QUIT,
// EndMenu). With TPM_RETURNCMD returns the chosen command or 0; otherwise non-zero when the
// menu was shown, 0 when it was not (an unknown menu or owner, an empty menu, a menu loop
// already running). The menu stays on the desktop, flipped to the other side of (x, y) where
// it would leave it.
int TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS* params);
int TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                   const RECT* ignored);
// Ends the running menu loop as if dismissed; false when none runs.
bool EndMenu();

// The screen rectangle of an item of a menu that is open now (a pop-up's item, or an item of
// a window's menu bar); false when it is not shown. hwnd: the bar's window, or nullptr.
bool GetMenuItemRect(HWND hwnd, HMENU menu, UINT position, RECT* r);
// The position of the item of an open menu at a screen point, or -1.
int MenuItemFromPoint(HWND hwnd, HMENU menu, POINT screen);

// Plain measures of the menus, which owner-drawn items start from: the height of a text
// item, of a separator, and the gap between two columns.
int MenuItemHeight();

// Paints the menu bar of hwnd onto dc, its items at their places in bar (window coordinates
// of hwnd; dc may map them anywhere): the ground in COLOR_MENU when ground is set, then every
// item, owner-drawn ones through WM_DRAWITEM to hwnd. A frame that paints the bar's ground
// itself (a skin) passes ground false.
void DrawMenuBarItems(HWND hwnd, gfx::DeviceContext* dc, const RECT& bar, bool ground = true);
constexpr int MENU_SEPARATOR_HEIGHT = 9;
constexpr int MENU_COLUMN_GAP = 4;

namespace detail {
// The menu bar's loop (DefWindowProc): the bar of hwnd with the item at position hot selected
// (-1: the first), its pop-up dropped when drop is set (by the keyboard with its first item
// hot, by the mouse with none).
void TrackMenuBar(HWND hwnd, int hot, bool drop, bool byMouse);
// The bar items' rectangles in window coordinates, left to right from (left, top) within
// width, SM_CYMENU high (owner-drawn ones as wide as WM_MEASUREITEM answers); an item that
// does not fit after another starts a new row below. A right-to-left bar (MFT_RIGHTORDER) is
// the mirror image: its items run from the right edge leftwards.
std::vector<RECT> MenuBarLayout(HWND hwnd, int left, int top, int width);
// The last layout MenuBarLayout made of the bar, moved to (left, top), when it was made for
// the same width, items (kinds, texts, commands, data), menu font and item height; else a new
// one. Owner-drawn items are measured again at the next full layout (a frame change,
// DrawMenuBar, a paint).
std::vector<RECT> CachedMenuBarLayout(HWND hwnd, int left, int top, int width);
// The rows the bar's items take in a bar of width (1 for an empty bar).
int MenuBarRows(HWND hwnd, int width);
// The bar item the mouse is over outside the menu loop (-1: none): drawn hot (owner-drawn
// items get ODS_HOTLIGHT). Setting another one repaints the bar.
int MenuBarHot(HWND hwnd);
void SetMenuBarHot(HWND hwnd, int index);
// The bar item at a point in window coordinates, or -1.
int MenuBarItemAt(HWND hwnd, POINT inWindow);
// Shows the window's system menu at a screen point, its commands enabled by the window's
// present state; a choice is posted as WM_SYSCOMMAND.
void ShowSystemMenu(HWND hwnd, POINT at);
// The position of the item with access key ch (Latin and Cyrillic letters without case) in
// menu, or -1.
int MenuAccessKey(HMENU menu, char16_t ch);
}  // namespace detail

}  // namespace win
