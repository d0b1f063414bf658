// Menus, as far as the window system needs them: the system menu of a top-level window,
// filled according to its style, which the skin engine reads and draws itself.
#pragma once

#include <string>
#include <vector>

#include "platform/win/Types.h"

namespace win {

struct HMENU__;
using HMENU = HMENU__*;  // a menu; menus are numbered like windows and checked on every call

// Item state flags (GetMenuState, EnableMenuItem) and lookup modes.
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_BYPOSITION = 0x0400;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_SEPARATOR = 0x0800;
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_DEFAULT = 0x1000;

// One item of a menu.
struct MenuItem {
  UINT id = 0;          // command (SC_* for the system menu); 0 for separators
  UINT flags = 0;       // MF_GRAYED, MF_SEPARATOR, MF_DEFAULT
  std::u16string text;  // with '&' before the access key and "\t" before the shortcut
};

// An empty menu owned by the caller until DestroyMenu.
HMENU CreatePopupMenu();
bool DestroyMenu(HMENU menu);  // false for an unknown menu
bool IsMenu(HMENU menu);       // false once destroyed
// Appends an item (MF_SEPARATOR for a separator).
bool AppendMenuW(HMENU menu, UINT flags, UINT id, std::u16string_view text);
int GetMenuItemCount(HMENU menu);              // -1 for an unknown menu
UINT GetMenuItemID(HMENU menu, int position);  // 0xFFFFFFFF when out of range
// Flags of an item found by command or position; 0xFFFFFFFF when there is none.
UINT GetMenuState(HMENU menu, UINT item, UINT byFlags);
// Sets MF_GRAYED/MF_DISABLED of an item; returns its previous state or 0xFFFFFFFF.
UINT EnableMenuItem(HMENU menu, UINT item, UINT enable);
// The item itself (nullptr when there is none); the pointer lives until the menu changes.
const MenuItem* GetMenuItem(HMENU menu, UINT item, UINT byFlags);

// The window's system menu (created on first use and freed with the window): Restore, Move,
// Size, Minimize, Maximize, a separator and Close, each present or greyed according to the
// window's style and state. A top-level window has one whether or not it has WS_SYSMENU, a
// child window only with it (nullptr otherwise). With revert the menu is rebuilt from the style.
HMENU GetSystemMenu(HWND hwnd, bool revert);

}  // namespace win
