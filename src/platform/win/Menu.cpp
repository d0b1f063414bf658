#include "platform/win/Menu.h"

#include <algorithm>

#include "platform/win/Paint.h"
#include "platform/win/ScrollInfo.h"
#include "platform/win/Styles.h"
#include "platform/win/WindowSystem.h"

namespace win {

using namespace detail;

namespace {

MenuData* Data(HMENU menu) {
  auto& menus = S().menus;
  auto it = menus.find(reinterpret_cast<std::uintptr_t>(menu));
  return it == menus.end() ? nullptr : &it->second;
}

std::vector<MenuItem>* Items(HMENU menu) {
  MenuData* d = Data(menu);
  return d ? &d->items : nullptr;
}

// The item by position, or by command in the menu and then in its submenus (depth first, as
// the platform searches). owner receives the menu that holds it.
MenuItem* Item(HMENU menu, UINT item, UINT byFlags, HMENU* owner = nullptr) {
  auto* items = Items(menu);
  if (!items) return nullptr;
  if (owner) *owner = menu;
  if (byFlags & MF_BYPOSITION) return item < items->size() ? &(*items)[item] : nullptr;
  for (MenuItem& m : *items) {
    if (m.flags & MF_SEPARATOR) continue;
    if (!(m.flags & MF_POPUP) && m.id == item) return &m;
  }
  for (MenuItem& m : *items) {
    if (!(m.flags & MF_POPUP)) continue;
    if (MenuItem* found = Item(m.submenu, item, byFlags, owner)) return found;
    if (owner) *owner = menu;
  }
  return nullptr;
}

// The position of an item in its menu: by position, or by command in this menu only.
int Position(HMENU menu, UINT item, bool byPosition) {
  auto* items = Items(menu);
  if (!items) return -1;
  if (byPosition) return item < items->size() ? int(item) : -1;
  for (std::size_t i = 0; i < items->size(); ++i) {
    const MenuItem& m = (*items)[i];
    if (!(m.flags & (MF_SEPARATOR | MF_POPUP)) && m.id == item) return int(i);
  }
  return -1;
}

MenuItem MakeItem(UINT flags, UINT_PTR id, std::u16string_view text) {
  MenuItem m;
  m.flags = flags & ~(MF_BYPOSITION | MF_HILITE);
  if (flags & MF_SEPARATOR) {
    m.flags = MF_SEPARATOR | (flags & (MF_MENUBREAK | MF_MENUBARBREAK | MFT_RIGHTORDER));
  } else if (flags & MF_POPUP) {
    m.submenu = reinterpret_cast<HMENU>(id);
    m.id = 0xFFFFFFFF;
    m.text = text;
  } else {
    m.id = UINT(id);
    m.text = text;
  }
  return m;
}

// The default item flag is one per menu.
void ClearDefault(std::vector<MenuItem>& items) {
  for (MenuItem& m : items) m.flags &= ~MF_DEFAULT;
}

// The standard commands of a window's system menu as its style and state want them.
struct SystemItem {
  UINT id;
  const char16_t* text;
  bool enabled, present;
};
std::vector<SystemItem> SystemItems(const Window& w) {
  bool minimized = w.style & WS_MINIMIZE, maximized = w.style & WS_MAXIMIZE;
  bool sizable = (w.style & WS_THICKFRAME) && !minimized && !maximized;
  bool tool = w.exStyle & WS_EX_TOOLWINDOW;
  bool hasMin = (w.style & WS_MINIMIZEBOX) && !tool;
  bool hasMax = (w.style & WS_MAXIMIZEBOX) && !tool;
  // Without one of the boxes its command is present but greyed. The texts are fixed, with
  // their access keys, as the system the program was made for has them.
  return {
      {SC_RESTORE, u"&Восстановить", minimized || maximized, hasMin || hasMax},
      {SC_MOVE, u"&Переместить", !maximized, true},
      {SC_SIZE, u"&Размер", sizable, (w.style & WS_THICKFRAME) != 0},
      {SC_MINIMIZE, u"Св&ернуть", !minimized && (w.style & WS_MINIMIZEBOX), hasMin || hasMax},
      {SC_MAXIMIZE, u"Ра&звернуть", !maximized && (w.style & WS_MAXIMIZEBOX), hasMin || hasMax},
      {SC_CLOSE, u"&Закрыть\tAlt+F4", !(w.cls->style & CS_NOCLOSE), true},
  };
}

void FillSystemMenu(HMENU menu, const Window& w) {
  auto& items = *Items(menu);
  items.clear();
  for (const SystemItem& i : SystemItems(w)) {
    if (i.id == SC_CLOSE) items.push_back({0, MF_SEPARATOR, u""});
    if (!i.present) continue;
    items.push_back({i.id, i.enabled ? MF_ENABLED : MF_GRAYED, i.text});
    if (i.id == SC_CLOSE) items.back().flags |= MF_DEFAULT;
  }
}

HMENU NewMenu(bool bar) {
  State& s = S();
  HMENU m = reinterpret_cast<HMENU>(s.nextMenu);
  s.nextMenu += 4;
  s.menus[reinterpret_cast<std::uintptr_t>(m)].bar = bar;
  return m;
}

}  // namespace

HMENU CreatePopupMenu() {
  return NewMenu(false);
}

HMENU CreateMenu() {
  return NewMenu(true);
}

bool DestroyMenu(HMENU menu) {
  auto* items = Items(menu);
  if (!items) return false;
  std::vector<MenuItem> gone = std::move(*items);
  S().menus.erase(reinterpret_cast<std::uintptr_t>(menu));
  for (const MenuItem& m : gone)
    if (m.flags & MF_POPUP) DestroyMenu(m.submenu);
  return true;
}

bool IsMenu(HMENU menu) {
  return Items(menu) != nullptr;
}

bool AppendMenuW(HMENU menu, UINT flags, UINT_PTR id, std::u16string_view text) {
  auto* items = Items(menu);
  if (!items) return false;
  items->push_back(MakeItem(flags, id, text));
  return true;
}

bool InsertMenuW(HMENU menu, UINT item, UINT flags, UINT_PTR id, std::u16string_view text) {
  auto* items = Items(menu);
  if (!items) return false;
  int at = Position(menu, item, flags & MF_BYPOSITION);
  items->insert(at < 0 ? items->end() : items->begin() + at, MakeItem(flags, id, text));
  return true;
}

bool ModifyMenuW(HMENU menu, UINT item, UINT flags, UINT_PTR id, std::u16string_view text) {
  MenuItem* m = Item(menu, item, flags);
  if (!m) return false;
  ULONG_PTR data = m->data;
  *m = MakeItem(flags, id, text);
  m->data = data;
  return true;
}

bool RemoveMenu(HMENU menu, UINT item, UINT byFlags) {
  HMENU holder = nullptr;
  MenuItem* m = Item(menu, item, byFlags, &holder);
  if (!m) return false;
  auto* items = Items(holder);
  items->erase(items->begin() + (m - items->data()));
  return true;
}

bool DeleteMenu(HMENU menu, UINT item, UINT byFlags) {
  MenuItem* m = Item(menu, item, byFlags);
  if (!m) return false;
  HMENU sub = (m->flags & MF_POPUP) ? m->submenu : nullptr;
  RemoveMenu(menu, item, byFlags);
  if (sub) DestroyMenu(sub);
  return true;
}

bool InsertMenuItemW(HMENU menu, UINT item, bool byPosition, const MENUITEMINFOW& info) {
  auto* items = Items(menu);
  if (!items) return false;
  int at = Position(menu, item, byPosition);
  auto it = items->insert(at < 0 ? items->end() : items->begin() + at, MenuItem{});
  it->id = 0;
  return SetMenuItemInfoW(menu, UINT(it - items->begin()), true, info);
}

bool GetMenuItemInfoW(HMENU menu, UINT item, bool byPosition, MENUITEMINFOW* info) {
  MenuItem* m = Item(menu, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND);
  if (!m || !info) return false;
  constexpr UINT typeBits = MF_MENUBARBREAK | MF_MENUBREAK | MF_OWNERDRAW | MFT_RADIOCHECK |
                            MF_SEPARATOR | MF_RIGHTJUSTIFY | MFT_RIGHTORDER;
  constexpr UINT stateBits = MFS_GRAYED | MF_CHECKED | MF_HILITE | MF_DEFAULT;
  if (info->fMask & (MIIM_FTYPE | MIIM_TYPE)) info->fType = m->flags & typeBits;
  if (info->fMask & MIIM_STATE) info->fState = m->flags & stateBits;
  if (info->fMask & MIIM_ID) info->wID = (m->flags & MF_POPUP) ? 0 : m->id;
  if (info->fMask & MIIM_SUBMENU) info->hSubMenu = (m->flags & MF_POPUP) ? m->submenu : nullptr;
  if (info->fMask & MIIM_DATA) info->dwItemData = m->data;
  if (info->fMask & (MIIM_STRING | MIIM_TYPE)) info->dwTypeData = m->text;
  if (info->fMask & MIIM_BITMAP) info->hbmpItem = m->bitmap;
  return true;
}

bool SetMenuItemInfoW(HMENU menu, UINT item, bool byPosition, const MENUITEMINFOW& info) {
  HMENU holder = nullptr;
  MenuItem* m = Item(menu, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND, &holder);
  if (!m) return false;
  constexpr UINT typeBits = MF_MENUBARBREAK | MF_MENUBREAK | MF_OWNERDRAW | MFT_RADIOCHECK |
                            MF_SEPARATOR | MF_RIGHTJUSTIFY | MFT_RIGHTORDER;
  constexpr UINT stateBits = MFS_GRAYED | MF_CHECKED | MF_HILITE | MF_DEFAULT;
  if (info.fMask & (MIIM_FTYPE | MIIM_TYPE))
    m->flags = (m->flags & ~typeBits) | (info.fType & typeBits);
  if (info.fMask & MIIM_STATE) {
    if (info.fState & MF_DEFAULT) {
      std::ptrdiff_t at = m - Items(holder)->data();
      ClearDefault(*Items(holder));
      m = &(*Items(holder))[std::size_t(at)];
    }
    m->flags = (m->flags & ~stateBits) | (info.fState & stateBits);
  }
  if (info.fMask & MIIM_ID) m->id = info.wID;
  if (info.fMask & MIIM_SUBMENU) {
    m->submenu = info.hSubMenu;
    m->flags = info.hSubMenu ? (m->flags | MF_POPUP) : (m->flags & ~MF_POPUP);
  }
  if (info.fMask & MIIM_DATA) m->data = info.dwItemData;
  if (info.fMask & (MIIM_STRING | MIIM_TYPE)) m->text = info.dwTypeData;
  if (info.fMask & MIIM_BITMAP) m->bitmap = info.hbmpItem;
  return true;
}

int GetMenuItemCount(HMENU menu) {
  auto* items = Items(menu);
  return items ? int(items->size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
  auto* items = Items(menu);
  if (!items || position < 0 || position >= int(items->size())) return 0xFFFFFFFF;
  const MenuItem& m = (*items)[std::size_t(position)];
  return (m.flags & MF_POPUP) ? 0xFFFFFFFF : m.id;
}

HMENU GetSubMenu(HMENU menu, int position) {
  if (position < 0) return nullptr;
  MenuItem* m = Item(menu, UINT(position), MF_BYPOSITION);
  return m && (m->flags & MF_POPUP) ? m->submenu : nullptr;
}

UINT GetMenuState(HMENU menu, UINT item, UINT byFlags) {
  MenuItem* m = Item(menu, item, byFlags);
  if (!m) return 0xFFFFFFFF;
  if (m->flags & MF_POPUP)
    return (m->flags & 0xFF) | (UINT(std::max(GetMenuItemCount(m->submenu), 0)) << 8);
  return m->flags;
}

UINT EnableMenuItem(HMENU menu, UINT item, UINT enable) {
  MenuItem* m = Item(menu, item, enable);
  if (!m) return 0xFFFFFFFF;
  UINT old = m->flags & (MF_GRAYED | MF_DISABLED);
  m->flags = (m->flags & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
  return old;
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT check) {
  MenuItem* m = Item(menu, item, check);
  if (!m) return 0xFFFFFFFF;
  DWORD old = m->flags & MF_CHECKED;
  m->flags = (m->flags & ~MF_CHECKED) | (check & MF_CHECKED);
  return old;
}

bool CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT item, UINT byFlags) {
  bool byPosition = byFlags & MF_BYPOSITION;
  int from = Position(menu, first, byPosition), to = Position(menu, last, byPosition);
  int chosen = Position(menu, item, byPosition);
  if (from < 0 || to < 0 || chosen < 0) return false;
  if (from > to) std::swap(from, to);
  auto& items = *Items(menu);
  for (int i = from; i <= to; ++i) {
    MenuItem& m = items[std::size_t(i)];
    if (m.flags & (MF_SEPARATOR | MF_POPUP)) continue;
    if (i == chosen)
      m.flags |= MF_CHECKED | MFT_RADIOCHECK;
    else
      m.flags &= ~MF_CHECKED;
  }
  return true;
}

bool SetMenuDefaultItem(HMENU menu, UINT item, bool byPosition) {
  auto* items = Items(menu);
  if (!items) return false;
  if (item == 0xFFFFFFFF) {
    ClearDefault(*items);
    return true;
  }
  int at = Position(menu, item, byPosition);
  if (at < 0) return false;
  ClearDefault(*items);
  (*items)[std::size_t(at)].flags |= MF_DEFAULT;
  return true;
}

UINT GetMenuDefaultItem(HMENU menu, bool byPosition, UINT flags) {
  auto* items = Items(menu);
  if (!items) return 0xFFFFFFFF;
  for (std::size_t i = 0; i < items->size(); ++i) {
    const MenuItem& m = (*items)[i];
    if (!(m.flags & MF_DEFAULT)) continue;
    if ((m.flags & MFS_GRAYED) && !(flags & GMDI_USEDISABLED)) return 0xFFFFFFFF;
    return byPosition ? UINT(i) : m.id;
  }
  return 0xFFFFFFFF;
}

const MenuItem* GetMenuItem(HMENU menu, UINT item, UINT byFlags) {
  return Item(menu, item, byFlags);
}

bool IsMenuRightOrder(HMENU menu) {
  auto* items = Items(menu);
  return items && std::any_of(items->begin(), items->end(),
                              [](const MenuItem& m) { return m.flags & MFT_RIGHTORDER; });
}

bool SetMenu(HWND hwnd, HMENU menu) {
  Window* w = FindReal(hwnd);
  if (!w || (w->style & WS_CHILD) || (menu && !IsMenu(menu))) return false;
  w->menu = menu;
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return true;
}

HMENU GetMenu(HWND hwnd) {
  Window* w = FindReal(hwnd);
  return w && !(w->style & WS_CHILD) && IsMenu(w->menu) ? w->menu : nullptr;
}

bool DrawMenuBar(HWND hwnd) {
  if (!GetMenu(hwnd)) return false;
  // Items that wrap to more or fewer rows change the frame.
  if (Window* w = FindReal(hwnd)) {
    const int rows = MenuRows(*w);
    CountMenuRows(hwnd, w->rect.Width());
    if ((w = FindReal(hwnd)) && MenuRows(*w) != rows)
      SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  return RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_NOCHILDREN);
}

HMENU GetSystemMenu(HWND hwnd, bool revert) {
  Window* w = FindReal(hwnd);
  // A top-level window has one with or without WS_SYSMENU (a skinned frame removes the style
  // and shows the menu itself); a child window only with the style (an MDI child).
  if (!w || ((w->style & WS_CHILD) && !(w->style & WS_SYSMENU))) return nullptr;
  if (!IsMenu(w->systemMenu)) {  // also when a menu bar it was put on took it with it
    w->systemMenu = CreatePopupMenu();
    revert = true;
  }
  if (revert) FillSystemMenu(w->systemMenu, *w);
  return w->systemMenu;
}

namespace detail {

void RefreshSystemMenu(HWND hwnd) {
  Window* w = FindReal(hwnd);
  if (!w || !w->systemMenu) return;
  for (const SystemItem& i : SystemItems(*w))
    if (MenuItem* m = Item(w->systemMenu, i.id, MF_BYCOMMAND))
      m->flags = (m->flags & ~MFS_GRAYED) | (i.enabled ? 0 : MF_GRAYED);
}

HWND SystemMenuOwner(HMENU menu) {
  if (!menu) return nullptr;
  for (const auto& [handle, w] : S().windows)
    if (w->systemMenu == menu) return w->handle;
  return nullptr;
}

void DropMenusOf(Window& w) {
  if (w.systemMenu) DestroyMenu(w.systemMenu);
  w.systemMenu = nullptr;
  if (w.menu) DestroyMenu(w.menu);
  w.menu = nullptr;
}

}  // namespace detail

}  // namespace win
