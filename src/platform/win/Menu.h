// Menus: pop-up menus, menu bars and the system menu of a window; their items with text,
// submenus, check marks, the default item, columns and owner-drawn items. Showing a menu
// (TrackPopupMenuEx, the menu window, the menu loop) is in MenuWindow.h.
#pragma once

#include <string>
#include <vector>

#include "platform/gfx/Bitmap.h"
#include "platform/win/Types.h"

namespace win {

struct HMENU__;
using HMENU = HMENU__*;  // a menu; menus are numbered like windows and checked on every call

// Item flags, as AppendMenuW, ModifyMenuW and GetMenuState use them: type and state together.
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_BYPOSITION = 0x0400;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_POPUP = 0x0010;         // id is the HMENU of a submenu
constexpr UINT MF_MENUBARBREAK = 0x0020;  // starts a new column, with a line before it
constexpr UINT MF_MENUBREAK = 0x0040;     // starts a new column
constexpr UINT MF_HILITE = 0x0080;        // the hot item of an open menu
constexpr UINT MF_OWNERDRAW = 0x0100;     // measured and drawn by the owner window
constexpr UINT MF_SEPARATOR = 0x0800;
constexpr UINT MF_DEFAULT = 0x1000;  // drawn bold; the one default item of a menu
// On a menu bar: the item and those after it end at the bar's right edge.
constexpr UINT MF_RIGHTJUSTIFY = 0x4000;

// MENUITEMINFOW: which members count (fMask), the item's type (fType) and state (fState).
constexpr UINT MIIM_STATE = 0x0001;
constexpr UINT MIIM_ID = 0x0002;
constexpr UINT MIIM_SUBMENU = 0x0004;
constexpr UINT MIIM_TYPE = 0x0010;  // fType and the text together (the old way)
constexpr UINT MIIM_DATA = 0x0020;
constexpr UINT MIIM_STRING = 0x0040;
constexpr UINT MIIM_BITMAP = 0x0080;
constexpr UINT MIIM_FTYPE = 0x0100;
constexpr UINT MFT_STRING = MF_STRING;
constexpr UINT MFT_MENUBARBREAK = MF_MENUBARBREAK;
constexpr UINT MFT_MENUBREAK = MF_MENUBREAK;
constexpr UINT MFT_OWNERDRAW = MF_OWNERDRAW;
constexpr UINT MFT_RADIOCHECK = 0x0200;  // a checked item shows a dot instead of a tick
constexpr UINT MFT_SEPARATOR = MF_SEPARATOR;
constexpr UINT MFT_RIGHTJUSTIFY = MF_RIGHTJUSTIFY;
// A right-to-left menu (any item carrying it makes the whole menu so): a pop-up shows its check
// column on the right, its texts right-aligned and read from the right, its submenu arrows on
// the left, and its submenus cascade to the left; a bar lays its items out from its right edge,
// where MFT_RIGHTJUSTIFY puts them anyway. Submenus of a right-to-left pop-up are right-to-left.
constexpr UINT MFT_RIGHTORDER = 0x2000;
constexpr UINT MFS_ENABLED = MF_ENABLED;
constexpr UINT MFS_GRAYED = 0x0003;
constexpr UINT MFS_DISABLED = MFS_GRAYED;
constexpr UINT MFS_CHECKED = MF_CHECKED;
constexpr UINT MFS_UNCHECKED = MF_UNCHECKED;
constexpr UINT MFS_HILITE = MF_HILITE;
constexpr UINT MFS_DEFAULT = MF_DEFAULT;

// What InsertMenuItemW, GetMenuItemInfoW and SetMenuItemInfoW exchange.
struct MENUITEMINFOW {
  UINT fMask = 0;             // MIIM_*
  UINT fType = 0;             // MFT_*
  UINT fState = 0;            // MFS_*
  UINT wID = 0;               // the command
  HMENU hSubMenu = nullptr;   // the submenu the item opens, or nullptr
  ULONG_PTR dwItemData = 0;   // the program's value (owner-drawn items get it back)
  std::u16string dwTypeData;  // the text: '&' before the access key, "\t" before the shortcut
  // The picture drawn in the check column (alpha blended); the caller keeps it alive while
  // the item holds it, as with any bitmap handed to a menu.
  const gfx::Bitmap* hbmpItem = nullptr;
};

// One item of a menu, as the menu keeps it.
struct MenuItem {
  UINT id = 0;              // command (SC_* for the system menu); 0 for separators
  UINT flags = 0;           // MF_* type and state bits (MFT_RADIOCHECK included)
  std::u16string text;      // with '&' before the access key and "\t" before the shortcut
  HMENU submenu = nullptr;  // with MF_POPUP
  ULONG_PTR data = 0;       // dwItemData
  const gfx::Bitmap* bitmap = nullptr;  // hbmpItem: the picture in the check column
};

// An empty pop-up menu (CreatePopupMenu) or menu bar (CreateMenu), the caller's until
// DestroyMenu, which also destroys its submenus. A menu set on a window with SetMenu, and a
// system menu, go with their window.
HMENU CreatePopupMenu();
HMENU CreateMenu();
bool DestroyMenu(HMENU menu);  // false for an unknown menu
bool IsMenu(HMENU menu);       // false once destroyed
// Appends an item (MF_SEPARATOR for a separator, MF_POPUP with the submenu's handle as id).
bool AppendMenuW(HMENU menu, UINT flags, UINT_PTR id, std::u16string_view text);
// Inserts an item before the one found by command or position (appends when none is found).
bool InsertMenuW(HMENU menu, UINT item, UINT flags, UINT_PTR id, std::u16string_view text);
// Replaces the item found by command or position.
bool ModifyMenuW(HMENU menu, UINT item, UINT flags, UINT_PTR id, std::u16string_view text);
// Removes the item; DeleteMenu also destroys the submenu it opens, RemoveMenu keeps it.
bool RemoveMenu(HMENU menu, UINT item, UINT byFlags);
bool DeleteMenu(HMENU menu, UINT item, UINT byFlags);
// Inserts before the item found by position (byPosition) or command; at the end when none.
bool InsertMenuItemW(HMENU menu, UINT item, bool byPosition, const MENUITEMINFOW& info);
// Reads the members fMask asks for; false when there is no such item.
bool GetMenuItemInfoW(HMENU menu, UINT item, bool byPosition, MENUITEMINFOW* info);
// Changes the members fMask names.
bool SetMenuItemInfoW(HMENU menu, UINT item, bool byPosition, const MENUITEMINFOW& info);
int GetMenuItemCount(HMENU menu);              // -1 for an unknown menu
UINT GetMenuItemID(HMENU menu, int position);  // 0xFFFFFFFF out of range or for a submenu item
HMENU GetSubMenu(HMENU menu, int position);    // nullptr when the item opens none
// Flags of an item found by command (submenus searched too) or position; 0xFFFFFFFF when
// there is none. For an item that opens a submenu the low byte holds the flags and the next
// byte the number of items of the submenu.
UINT GetMenuState(HMENU menu, UINT item, UINT byFlags);
// Sets MF_GRAYED/MF_DISABLED of an item; returns its previous state or 0xFFFFFFFF.
UINT EnableMenuItem(HMENU menu, UINT item, UINT enable);
// Sets or clears MF_CHECKED; returns the previous MF_CHECKED or 0xFFFFFFFF.
DWORD CheckMenuItem(HMENU menu, UINT item, UINT check);
// Checks item with a radio mark and unchecks the others between first and last (one kind of
// lookup for all three); false when one of them is missing.
bool CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT item, UINT byFlags);
// Makes the item the menu's one default item; 0xFFFFFFFF (with byPosition or not) clears it.
bool SetMenuDefaultItem(HMENU menu, UINT item, bool byPosition);
// The default item's command or position; 0xFFFFFFFF when there is none (disabled ones
// count only with GMDI_USEDISABLED).
constexpr UINT GMDI_USEDISABLED = 0x0001;
UINT GetMenuDefaultItem(HMENU menu, bool byPosition, UINT flags);
// The item itself (nullptr when there is none); the pointer lives until the menu changes.
const MenuItem* GetMenuItem(HMENU menu, UINT item, UINT byFlags);
// Whether an item of the menu carries MFT_RIGHTORDER.
bool IsMenuRightOrder(HMENU menu);

// The menu bar of a top-level window (not of a child): shown below the caption, in the
// non-client area (HTMENU), sized by SM_CYMENU. SetMenu destroys nothing: the menu it
// replaces goes back to the caller. DrawMenuBar repaints the bar after its items change.
bool SetMenu(HWND hwnd, HMENU menu);
HMENU GetMenu(HWND hwnd);  // nullptr for a child window or a window without a bar
bool DrawMenuBar(HWND hwnd);

// The window's system menu (created on first use and freed with the window): Restore, Move,
// Size, Minimize, Maximize, a separator and Close, each present or greyed according to the
// window's style and state. The texts are fixed, whatever the locale: "&Восстановить",
// "&Переместить", "&Размер", "Св&ернуть", "Ра&звернуть", "&Закрыть\tAlt+F4". A top-level window has
// one whether or not it has WS_SYSMENU, a child window only with it (nullptr otherwise). With
// revert the menu is rebuilt from the style.
HMENU GetSystemMenu(HWND hwnd, bool revert);

}  // namespace win
