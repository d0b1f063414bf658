#include "platform/win/Menu.h"

#include "platform/win/ScrollInfo.h"
#include "platform/win/Styles.h"
#include "platform/win/WindowSystem.h"

namespace win {

using namespace detail;

namespace {

std::vector<MenuItem>* Items(HMENU menu) {
  auto& menus = S().menus;
  auto it = menus.find(reinterpret_cast<std::uintptr_t>(menu));
  return it == menus.end() ? nullptr : &it->second;
}

MenuItem* Item(HMENU menu, UINT item, UINT byFlags) {
  auto* items = Items(menu);
  if (!items) return nullptr;
  if (byFlags & MF_BYPOSITION) return item < items->size() ? &(*items)[item] : nullptr;
  for (MenuItem& m : *items)
    if (m.id == item && !(m.flags & MF_SEPARATOR)) return &m;
  return nullptr;
}

void FillSystemMenu(HMENU menu, const Window& w) {
  auto& items = *Items(menu);
  items.clear();
  bool minimized = w.style & WS_MINIMIZE, maximized = w.style & WS_MAXIMIZE;
  bool sizable = (w.style & WS_THICKFRAME) && !minimized && !maximized;
  bool tool = w.exStyle & WS_EX_TOOLWINDOW;
  auto add = [&](UINT id, const char16_t* text, bool enabled, bool present) {
    if (present) items.push_back({id, enabled ? MF_ENABLED : MF_GRAYED, text});
  };
  bool hasMin = (w.style & WS_MINIMIZEBOX) && !tool;
  bool hasMax = (w.style & WS_MAXIMIZEBOX) && !tool;
  add(SC_RESTORE, u"&Restore", minimized || maximized, hasMin || hasMax);
  add(SC_MOVE, u"&Move", !maximized, true);
  add(SC_SIZE, u"&Size", sizable, (w.style & WS_THICKFRAME) != 0);
  add(SC_MINIMIZE, u"Mi&nimize", !minimized, hasMin || hasMax);
  add(SC_MAXIMIZE, u"Ma&ximize", !maximized, hasMin || hasMax);
  items.push_back({0, MF_SEPARATOR, u""});
  add(SC_CLOSE, u"&Close\tAlt+F4", !(w.cls->style & CS_NOCLOSE), true);
  for (MenuItem& m : items)
    if (m.id == SC_CLOSE) m.flags |= MF_DEFAULT;
  if (hasMin || hasMax) {
    // Without one of the boxes its command is present but greyed.
    for (MenuItem& m : items) {
      if (m.id == SC_MINIMIZE && !(w.style & WS_MINIMIZEBOX)) m.flags |= MF_GRAYED;
      if (m.id == SC_MAXIMIZE && !(w.style & WS_MAXIMIZEBOX)) m.flags |= MF_GRAYED;
    }
  }
}

}  // namespace

HMENU CreatePopupMenu() {
  State& s = S();
  HMENU m = reinterpret_cast<HMENU>(s.nextMenu);
  s.nextMenu += 4;
  s.menus[reinterpret_cast<std::uintptr_t>(m)] = {};
  return m;
}

bool DestroyMenu(HMENU menu) {
  return S().menus.erase(reinterpret_cast<std::uintptr_t>(menu)) > 0;
}

bool IsMenu(HMENU menu) {
  return Items(menu) != nullptr;
}

bool AppendMenuW(HMENU menu, UINT flags, UINT id, std::u16string_view text) {
  auto* items = Items(menu);
  if (!items) return false;
  items->push_back({(flags & MF_SEPARATOR) ? 0 : id, flags, std::u16string(text)});
  return true;
}

int GetMenuItemCount(HMENU menu) {
  auto* items = Items(menu);
  return items ? int(items->size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
  auto* items = Items(menu);
  if (!items || position < 0 || position >= int(items->size())) return 0xFFFFFFFF;
  return (*items)[std::size_t(position)].id;
}

UINT GetMenuState(HMENU menu, UINT item, UINT byFlags) {
  MenuItem* m = Item(menu, item, byFlags);
  return m ? m->flags : 0xFFFFFFFF;
}

UINT EnableMenuItem(HMENU menu, UINT item, UINT enable) {
  MenuItem* m = Item(menu, item, enable);
  if (!m) return 0xFFFFFFFF;
  UINT old = m->flags & (MF_GRAYED | MF_DISABLED);
  m->flags = (m->flags & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
  return old;
}

const MenuItem* GetMenuItem(HMENU menu, UINT item, UINT byFlags) {
  return Item(menu, item, byFlags);
}

HMENU GetSystemMenu(HWND hwnd, bool revert) {
  Window* w = FindReal(hwnd);
  // A top-level window has one with or without WS_SYSMENU (a skinned frame removes the style
  // and shows the menu itself); a child window only with the style (an MDI child).
  if (!w || ((w->style & WS_CHILD) && !(w->style & WS_SYSMENU))) return nullptr;
  if (!w->systemMenu) {
    w->systemMenu = CreatePopupMenu();
    revert = true;
  }
  if (revert) FillSystemMenu(w->systemMenu, *w);
  return w->systemMenu;
}

namespace detail {

void DropMenusOf(Window& w) {
  if (w.systemMenu) DestroyMenu(w.systemMenu);
  w.systemMenu = nullptr;
}

}  // namespace detail

}  // namespace win
