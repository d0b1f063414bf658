#include "framework/Menus.h"

#include <algorithm>
#include <functional>

#include "framework/ImageList.h"
#include "framework/UtilWindow.h"
#include "platform/win/Keys.h"
#include "platform/win/MenuWindow.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Window.h"
#include "platform/win/WindowProc.h"

namespace fw {

using namespace win;

namespace {

std::vector<TMenu*>& LiveMenus() {
  static std::vector<TMenu*> menus;
  return menus;
}

// Commands below the system commands (0xF000 and up), handed out in turn.
UINT NextCommand() {
  static UINT next = 0;
  next = next % 0xEFFF + 1;
  return next;
}

bool Contains(const TMenuItem* root, const TMenuItem* item) {
  if (root == item) return true;
  for (int i = 0; i < root->Count(); ++i)
    if (Contains(root->Items(i), item)) return true;
  return false;
}

// The item of a menu's message, when it is still part of a live menu.
TMenuItem* LiveItem(ULONG_PTR data) {
  auto* item = reinterpret_cast<TMenuItem*>(data);
  for (TMenu* m : LiveMenus())
    if (Contains(m->Items(), item)) return item;
  return nullptr;
}

// The canvas font of menus: the system's menu font, bold for the default item.
void MenuFont(TCanvas& canvas, bool bold) {
  NONCLIENTMETRICSW ncm;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
  canvas.Font.SetName(ncm.lfMenuFont.lfFaceName);
  canvas.Font.SetHeight(ncm.lfMenuFont.lfHeight);
  canvas.Font.SetStyle(bold ? TFontStyles(fsBold) : TFontStyles(0));
  canvas.Font.SetColor(clSystemColor | COLOR_MENUTEXT);
}

HWND popupList = nullptr;

}  // namespace

TShortCut ShortCut(WORD key, TShiftState shift) {
  if (key == 0 || key > 0xFF) return 0;
  return TShortCut(key | ((shift & ssShift) ? scShift : 0) | ((shift & ssCtrl) ? scCtrl : 0) |
                   ((shift & ssAlt) ? scAlt : 0));
}

std::u16string ShortCutToText(TShortCut shortCut) {
  if (!shortCut) return {};
  std::u16string out;
  if (shortCut & scShift) out += u"Shift+";
  if (shortCut & scCtrl) out += u"Ctrl+";
  if (shortCut & scAlt) out += u"Alt+";
  UINT vk = shortCut & 0xFF;
  if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return out + char16_t(vk);
  if (vk >= VK_F1 && vk <= VK_F1 + 11) {
    int n = int(vk - VK_F1 + 1);
    out += u'F';
    if (n >= 10) out += u'1';
    return out + char16_t(u'0' + n % 10);
  }
  struct Name {
    UINT vk;
    const char16_t* text;
  };
  static const Name names[] = {{VK_RETURN, u"Enter"}, {VK_ESCAPE, u"Esc"}, {VK_SPACE, u"Space"},
                               {VK_DELETE, u"Del"},   {VK_INSERT, u"Ins"}, {VK_BACK, u"BkSp"},
                               {VK_TAB, u"Tab"},      {VK_HOME, u"Home"},  {VK_END, u"End"},
                               {VK_PRIOR, u"PgUp"},   {VK_NEXT, u"PgDn"},  {VK_LEFT, u"Left"},
                               {VK_RIGHT, u"Right"},  {VK_UP, u"Up"},      {VK_DOWN, u"Down"}};
  for (const Name& n : names)
    if (n.vk == vk) return out + n.text;
  return {};
}

// ---- TMenuItem

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), FCommand(NextCommand()) {}

TMenuItem::~TMenuItem() {
  Destroying();
  Clear();
  if (FParent) FParent->Remove(this);
}

void TMenuItem::Changed() {
  if (TMenu* menu = GetParentMenu()) menu->MenuChanged();
}

void TMenuItem::SetCaption(const std::u16string& caption) {
  FCaption = caption;
  Changed();
}

void TMenuItem::SetChecked(bool checked) {
  FChecked = checked;
  if (checked && FRadioItem && FParent)
    for (TMenuItem* other : FParent->FItems)
      if (other != this && other->FRadioItem && other->FGroupIndex == FGroupIndex)
        other->FChecked = false;
  Changed();
}

void TMenuItem::SetRadioItem(bool radio) {
  FRadioItem = radio;
  Changed();
}

void TMenuItem::SetGroupIndex(int index) {
  FGroupIndex = index;
  Changed();
}

void TMenuItem::SetDefault(bool isDefault) {
  if (isDefault && FParent)
    for (TMenuItem* other : FParent->FItems) other->FDefault = false;
  FDefault = isDefault;
  Changed();
}

void TMenuItem::SetEnabled(bool enabled) {
  FEnabled = enabled;
  Changed();
}

void TMenuItem::SetVisible(bool visible) {
  FVisible = visible;
  Changed();
}

void TMenuItem::SetShortCut(TShortCut shortCut) {
  FShortCut = shortCut;
  Changed();
}

void TMenuItem::SetImageIndex(int index) {
  FImageIndex = index;
  Changed();
}

void TMenuItem::SetBitmap(const gfx::Bitmap* bitmap) {
  FBitmap = bitmap && !bitmap->Empty() ? std::make_unique<gfx::Bitmap>(*bitmap) : nullptr;
  Changed();
}

const gfx::Bitmap* TMenuItem::Picture() const {
  if (FBitmap) return FBitmap.get();
  TMenu* menu = GetParentMenu();
  TImageList* images = menu ? menu->Images() : nullptr;
  if (!images || FImageIndex < 0 || FImageIndex >= images->Count()) return nullptr;
  return &images->Bitmap(FImageIndex);
}

void TMenuItem::SetBreak(TMenuBreak value) {
  FBreak = value;
  Changed();
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  auto it = std::find(FItems.begin(), FItems.end(), item);
  return it == FItems.end() ? -1 : int(it - FItems.begin());
}

void TMenuItem::Add(TMenuItem* item) {
  Insert(Count(), item);
}

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (!item || item == this || Contains(item, this))
    throw EComponentError("A menu item cannot hold itself or its parents");
  if (item->FParent) item->FParent->Remove(item);
  index = std::clamp(index, 0, Count());
  FItems.insert(FItems.begin() + index, item);
  item->FParent = this;
  Changed();
}

void TMenuItem::Delete(int index) {
  delete FItems.at(std::size_t(index));  // it leaves the list itself
}

void TMenuItem::Remove(TMenuItem* item) {
  auto it = std::find(FItems.begin(), FItems.end(), item);
  if (it == FItems.end()) return;
  FItems.erase(it);
  item->FParent = nullptr;
  Changed();
}

void TMenuItem::Clear() {
  while (!FItems.empty()) delete FItems.back();
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* root = this;
  while (root->FParent) root = root->FParent;
  return root->FMenu;
}

void TMenuItem::Click() {
  if (OnClick) OnClick(this);
}

bool TMenuItem::OwnerDrawn() const {
  return OnAdvancedDrawItem || OnDrawItem;
}

void TMenuItem::MeasureItem(TCanvas& canvas, int& width, int& height) {
  if (OnMeasureItem) OnMeasureItem(this, canvas, width, height);
}

void TMenuItem::AdvancedDrawItem(TCanvas& canvas, const TRect& rect, TOwnerDrawState state) {
  if (OnAdvancedDrawItem)
    OnAdvancedDrawItem(this, canvas, rect, state);
  else if (OnDrawItem)
    OnDrawItem(this, canvas, rect, (state & odSelected) != 0);
}

void TMenuItem::SetParentComponent(TComponent* parent) {
  if (auto* menu = dynamic_cast<TMenu*>(parent))
    menu->Items()->Add(this);
  else if (auto* item = dynamic_cast<TMenuItem*>(parent))
    item->Add(this);
}

void TMenuItem::AppendTo(HMENU menu, int at,
                         const std::vector<std::pair<TMenuItem*, HMENU>>& reuse) const {
  TMenu* owner = GetParentMenu();
  for (const TMenuItem* item : FItems) {
    if (!item->FVisible) continue;
    MENUITEMINFOW mii;
    mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA | MIIM_STRING;
    mii.fType = item->IsLine() ? MFT_SEPARATOR : MFT_STRING;
    if (item->OwnerDrawn()) mii.fType |= MFT_OWNERDRAW;
    if (item->FRadioItem) mii.fType |= MFT_RADIOCHECK;
    if (item->FBreak == TMenuBreak::mbBreak) mii.fType |= MFT_MENUBREAK;
    if (item->FBreak == TMenuBreak::mbBarBreak) mii.fType |= MFT_MENUBARBREAK;
    if (owner && owner->IsRightToLeft()) {
      mii.fType |= MFT_RIGHTORDER;
      if (owner->IsBar() && this == owner->Items()) mii.fType |= MFT_RIGHTJUSTIFY;
    }
    mii.fState = (item->FEnabled ? 0 : MFS_GRAYED) | (item->FChecked ? MFS_CHECKED : 0) |
                 (item->FDefault ? MFS_DEFAULT : 0);
    mii.wID = item->FCommand;
    mii.dwItemData = reinterpret_cast<ULONG_PTR>(item);
    if (const gfx::Bitmap* picture = item->IsLine() ? nullptr : item->Picture(); picture && owner) {
      // The window-system menu shows a copy, which lives as long as it does.
      owner->FPictures.push_back(std::make_unique<gfx::Bitmap>(*picture));
      mii.fMask |= MIIM_BITMAP;
      mii.hbmpItem = owner->FPictures.back().get();
    }
    mii.dwTypeData = item->FCaption;
    if (item->FShortCut) mii.dwTypeData += u'\t' + ShortCutToText(item->FShortCut);
    if (item->Count() > 0) {
      HMENU sub = nullptr;
      for (auto& [old, handle] : reuse)
        if (old == item && IsMenu(handle)) sub = handle;
      int subAt = 0;
      if (sub && owner)
        subAt = owner->TakeOwnItems(sub);
      else
        sub = CreatePopupMenu();
      item->AppendTo(sub, subAt, reuse);
      mii.fMask |= MIIM_SUBMENU;
      mii.hSubMenu = sub;
      if (owner) owner->FSubmenus.emplace_back(const_cast<TMenuItem*>(item), sub);
    }
    InsertMenuItemW(menu, UINT(at++), true, mii);
    if (owner) owner->FFilling.emplace_back(mii.dwItemData, mii.wID);
  }
}

// ---- TMenu

TMenu::TMenu(TComponent* owner) : TComponent(owner), FItems(std::make_unique<TMenuItem>(nullptr)) {
  FItems->FMenu = this;
  LiveMenus().push_back(this);
}

TMenu::~TMenu() {
  Destroying();
  std::erase(LiveMenus(), this);
  FItems->Clear();
  DestroyHandle();
}

void TMenu::DestroyHandle() {
  if (FWindowHandle && IsWindow(FWindowHandle) && GetMenu(FWindowHandle) == FHandle)
    SetMenu(FWindowHandle, nullptr);
  if (IsMenu(FHandle)) DestroyMenu(FHandle);
  FHandle = nullptr;
  FSubmenus.clear();
  FPictures.clear();
  FFilled.clear();
}

int TMenu::TakeOwnItems(HMENU menu) const {
  int first = -1;
  for (int i = GetMenuItemCount(menu) - 1; i >= 0; --i) {
    const MenuItem* it = GetMenuItem(menu, UINT(i), MF_BYPOSITION);
    if (!it ||
        std::find(FFilled.begin(), FFilled.end(), std::pair{it->data, it->id}) == FFilled.end())
      continue;
    RemoveMenu(menu, UINT(i), MF_BYPOSITION);  // a submenu it opens is filled again or freed
    first = i;
  }
  if (first >= 0) return first;
  // None yet: after what leads the bar of an MDI frame (a maximised child's system menu).
  int at = 0;
  for (const MenuItem* it; (it = GetMenuItem(menu, UINT(at), MF_BYPOSITION)) &&
                           (it->flags & MF_POPUP) && (it->flags & MF_OWNERDRAW);)
    ++at;
  return at;
}

void TMenu::Build() {
  std::vector<std::unique_ptr<gfx::Bitmap>> oldPictures = std::move(FPictures);
  std::vector<std::pair<TMenuItem*, HMENU>> oldSubmenus = std::move(FSubmenus);
  FPictures.clear();
  FSubmenus.clear();
  FFilling.clear();
  int at = 0;
  if (IsMenu(FHandle)) {
    // Filled again in place: whoever holds the handles (an open pop-up, the window's bar, an
    // MDI client's window menu) keeps them.
    at = TakeOwnItems(FHandle);
  } else {
    oldSubmenus.clear();  // went with the old menu
    FHandle = IsBar() ? CreateMenu() : CreatePopupMenu();
  }
  FItems->AppendTo(FHandle, at, oldSubmenus);
  // The submenus of items that no longer open one go, without what others still hold.
  for (const auto& old : oldSubmenus) {
    const HMENU handle = old.second;
    const bool reused = std::any_of(FSubmenus.begin(), FSubmenus.end(),
                                    [handle](const auto& s) { return s.second == handle; });
    if (reused || !IsMenu(handle)) continue;
    TakeOwnItems(handle);
    DestroyMenu(handle);
  }
  FFilled = std::move(FFilling);
  FFilling.clear();
  FStale = false;
}

HMENU TMenu::Handle() {
  if (FStale || !IsMenu(FHandle) || FBuiltRightToLeft != IsRightToLeft()) {
    FBuiltRightToLeft = IsRightToLeft();
    Build();
  }
  return FHandle;
}

void TMenu::SetBiDiMode(TBiDiMode mode) {
  FParentBiDiMode = false;
  if (mode == FBiDiMode) return;
  FBiDiMode = mode;
  MenuChanged();
}

void TMenu::ParentBiDiModeChanged(TBiDiMode parentMode) {
  if (!FParentBiDiMode || parentMode == FBiDiMode) return;
  FBiDiMode = parentMode;
  MenuChanged();
}

bool TMenu::IsRightToLeft() const {
  return FBiDiMode != TBiDiMode::bdLeftToRight && GetSystemMetrics(SM_MIDEASTENABLED) != 0;
}

void TMenu::MenuChanged() {
  FStale = true;
}

void TMenu::SetOwnerDraw(bool ownerDraw) {
  FOwnerDraw = ownerDraw;
  MenuChanged();
}

void TMenu::SetImages(TImageList* images) {
  if (FImages.Set(images)) MenuChanged();
}

void TMenu::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (FImages.Removed(component, operation)) MenuChanged();
}

bool TMenu::IsShortCut(TShortCut shortCut) {
  if (!shortCut) return false;
  // The first item with the key whose parents are all open to the user.
  std::vector<TMenuItem*> path;
  std::function<bool(TMenuItem*)> find = [&](TMenuItem* parent) {
    for (TMenuItem* item : parent->FItems) {
      if (!item->Visible() || !item->Enabled()) continue;
      path.push_back(item);
      if (item->Count() == 0 ? item->ShortCut() == shortCut : find(item)) return true;
      path.pop_back();
    }
    return false;
  };
  if (!find(FItems.get())) return false;
  // A parent's OnClick may change or free the items below it: each is found again first.
  std::vector<std::pair<TMenuItem*, UINT>> chain;
  for (TMenuItem* item : path) chain.emplace_back(item, item->Command());
  for (std::size_t i = 0; i < chain.size(); ++i) {
    auto [item, command] = chain[i];
    if (FindItem(command) != item || (i + 1 == chain.size() && !item->Enabled())) break;
    item->Click();
  }
  return true;
}

TMenuItem* TMenu::FindItem(UINT command) const {
  std::vector<TMenuItem*> stack{FItems.get()};
  while (!stack.empty()) {
    TMenuItem* item = stack.back();
    stack.pop_back();
    if (item != FItems.get() && item->Command() == command) return item;
    for (int i = 0; i < item->Count(); ++i) stack.push_back(item->Items(i));
  }
  return nullptr;
}

HMENU TMenu::SubmenuHandle(const TMenuItem* item) {
  HMENU menu = Handle();
  if (item == FItems.get()) return menu;
  for (auto& [it, handle] : FSubmenus)
    if (it == item) return handle;
  return nullptr;
}

TMenuItem* TMenu::FindItemByHandle(HMENU menu) {
  if (!menu) return nullptr;
  if (menu == FHandle) return FItems.get();
  for (auto& [item, handle] : FSubmenus)
    if (handle == menu && Contains(FItems.get(), item)) return item;
  return nullptr;
}

void TMainMenu::MenuChanged() {
  TMenu::MenuChanged();
  // The bar on its window follows at once.
  HWND wnd = WindowHandle();
  if (wnd && IsWindow(wnd) && GetMenu(wnd)) {
    Handle();
    DrawMenuBar(wnd);
    SendMessageW(wnd, CM_MENUCHANGED, 0, 0);  // an MDI parent puts its window list back
  }
}

// ---- TPopupMenu

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}

void TPopupMenu::Popup(int x, int y) {
  if (OnPopup) OnPopup(this);
  UINT flags = TPM_RIGHTBUTTON | (Alignment == TPopupAlignment::paRight    ? TPM_RIGHTALIGN
                                  : Alignment == TPopupAlignment::paCenter ? TPM_CENTERALIGN
                                                                           : TPM_LEFTALIGN);
  if (IsRightToLeft()) flags |= TPM_LAYOUTRTL;
  HWND owner = WindowHandle() && IsWindow(WindowHandle()) ? WindowHandle() : PopupListWindow();
  TrackPopupMenuEx(Handle(), flags, x, y, owner, nullptr);
}

bool DispatchMenuMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_COMMAND:
      if (m.LParam != 0 || m.WParamHi() != 0) return false;
      for (TMenu* menu : LiveMenus())
        if (TMenuItem* item = menu->FindItem(m.WParamLo())) {
          m.Result = 0;
          item->Click();
          return true;
        }
      return false;
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
      TMenuItem* item = mis && mis->CtlType == ODT_MENU ? LiveItem(mis->itemData) : nullptr;
      if (!item) return false;
      gfx::Bitmap scratch(1, 1);
      gfx::DeviceContext dc(scratch);
      TCanvas canvas;
      canvas.SetHandle(&dc);
      MenuFont(canvas, item->Default());
      int width = int(mis->itemWidth), height = int(mis->itemHeight);
      item->MeasureItem(canvas, width, height);
      mis->itemWidth = UINT(std::max(width, 0));
      mis->itemHeight = UINT(std::max(height, 0));
      m.Result = 1;
      return true;
    }
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
      TMenuItem* item = dis && dis->CtlType == ODT_MENU ? LiveItem(dis->itemData) : nullptr;
      if (!item) return false;
      TCanvas canvas;
      canvas.SetHandle(dis->hDC);
      MenuFont(canvas, item->Default());
      item->AdvancedDrawItem(canvas, dis->rcItem, dis->itemState);
      m.Result = 1;
      return true;
    }
    default:
      return false;
  }
}

HWND PopupListWindow() {
  if (!popupList || !IsWindow(popupList))
    popupList = AllocateHWnd([](TMessage& m) {
      if (!DispatchMenuMessage(m)) m.Result = DefWindowProcW(popupList, m.Msg, m.WParam, m.LParam);
    });
  return popupList;
}

}  // namespace fw
