#include "skin/frame/sSysMenu.h"

#include <chrono>

#include "framework/Application.h"
#include "framework/Form.h"
#include "framework/TextConv.h"
#include "platform/win/Input.h"
#include "platform/win/Menu.h"
#include "platform/win/MenuWindow.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Window.h"
#include "skin/core/sConst.h"
#include "skin/core/sSkinManager.h"
#include "skin/frame/sSkinProvider.h"

namespace skin::frame {

namespace sc = skin::core;
using namespace win;
using fw::TFormBorderStyle;

std::optional<POINT> SysMenuRequestPoint(const fw::TMessage& m,
                                         const std::function<POINT()>& belowIcon,
                                         const std::function<int(POINT)>& hitTest) {
  switch (m.Msg) {
    case WM_SYSCOMMAND: {
      const WPARAM cmd = m.WParam & 0xFFF0;
      const bool keys = cmd == SC_KEYMENU && m.LParam == ' ';
      const bool icon = cmd == SC_MOUSEMENU && int(m.WParam & 0x0F) == HTSYSMENU;
      if (!keys && !icon) return std::nullopt;
      return belowIcon();
    }
    case WM_CONTEXTMENU: {
      if (m.LParam == LPARAM(-1)) return std::nullopt;  // from the keyboard: the window's own
      const POINT at = PointFromLParam(m.LParam);
      const int ht = hitTest(at);
      if (ht != HTCAPTION && ht != HTSYSMENU) return std::nullopt;
      return at;
    }
    case WM_POPUPSYSTEMMENU: {
      POINT at{};
      GetCursorPos(&at);
      return at;
    }
    default:
      return std::nullopt;
  }
}

namespace {

constexpr int kSkinColumn = 20;  // skins a column of the skin list holds

// The text of a command in the window's system menu; empty when it has none.
std::u16string CommandText(HMENU menu, UINT command) {
  const MenuItem* it = menu ? GetMenuItem(menu, command, MF_BYCOMMAND) : nullptr;
  return it ? it->text : std::u16string();
}

}  // namespace

TsCustomSysMenu::TsCustomSysMenu() : fw::TPopupMenu(nullptr) {
  const auto ticks = std::chrono::duration_cast<std::chrono::milliseconds>(
                         std::chrono::steady_clock::now().time_since_epoch())
                         .count();
  SetName("acSysMenu" + std::to_string(ticks));
}

fw::TMenuItem* TsCustomSysMenu::AddItem(const std::u16string& caption, int tag,
                                        fw::TNotifyEvent onClick) {
  auto* item = new fw::TMenuItem(this);
  item->SetCaption(caption);
  item->Tag = tag;
  item->OnClick = std::move(onClick);
  Items()->Add(item);
  return item;
}

void TsCustomSysMenu::AddDivider(const std::string& name) {
  fw::TMenuItem* item = AddItem(u"-", 0, nullptr);
  if (!FindComponent(name)) item->SetName(name);
}

HMENU TsCustomSysMenu::ClearItems() {
  Items()->Clear();
  ItemRestore = ItemMove = ItemSize = ItemMinimize = ItemMaximize = ItemClose = nullptr;
  ExtItemsCount = 0;
  SetImages(nullptr);
  const HWND wnd = MenuWindow();
  return wnd && IsWindow(wnd) ? GetSystemMenu(wnd, false) : nullptr;
}

// The command's text in the window's menu, or the library's; the shortcut is what follows the
// tab.
fw::TMenuItem* TsCustomSysMenu::AddCommand(HMENU sys, UINT cmd, const std::u16string& fallback,
                                           const char* name) {
  const std::u16string text = CommandText(sys, cmd);
  fw::TMenuItem* item =
      AddItem(text.empty() ? fallback : text, int(cmd), [this, cmd](fw::TComponent*) {
        SendCommand(cmd);
        if (cmd == SC_RESTORE || cmd == SC_MINIMIZE || cmd == SC_MAXIMIZE) UpdateItemStates();
      });
  item->SetName(name);
  return item;
}

void TsCustomSysMenu::AddWindowCommands(HMENU sys) {
  ItemRestore = AddCommand(sys, SC_RESTORE, sc::acs_RestoreStr, "acIR");
  ItemMove = AddCommand(sys, SC_MOVE, sc::acs_MoveStr, "acIM");
  ItemSize = AddCommand(sys, SC_SIZE, sc::acs_SizeStr, "acIS");
  ItemMinimize = AddCommand(sys, SC_MINIMIZE, sc::acs_MinimizeStr, "acIN");
  ItemMaximize = AddCommand(sys, SC_MAXIMIZE, sc::acs_MaximizeStr, "acIX");
  AddDivider("ac_TopDiv");
}

void TsCustomSysMenu::AddOwnCommands(HMENU sys) {
  for (int i = 0, n = sys ? GetMenuItemCount(sys) : 0; i < n; ++i) {
    const MenuItem* it = GetMenuItem(sys, UINT(i), MF_BYPOSITION);
    if (!it || (it->id >= 0xF000 && it->id <= 0xF1FF) || it->text.empty() ||
        (it->flags & MF_SEPARATOR))
      continue;
    const UINT id = it->id;
    fw::TMenuItem* item = AddItem(it->text, int(id), [this, id](fw::TComponent*) {
      const HWND wnd = MenuWindow();
      if (wnd && IsWindow(wnd)) PostMessageW(wnd, WM_SYSCOMMAND, id, 0);
    });
    item->SetEnabled(!(it->flags & MF_GRAYED));
    ++ExtItemsCount;
  }
  if (ExtItemsCount) AddDivider("ac_BtmDiv");
}

void TsCustomSysMenu::SendCommand(unsigned command) {
  const HWND wnd = MenuWindow();
  if (wnd && IsWindow(wnd)) SendMessageW(wnd, WM_SYSCOMMAND, command, 0);
}

bool TsCustomSysMenu::PopupSkinned(int x, int y) {
  sc::TsSkinManager* manager = MenuManager();
  sc::TacMenuPainter* painter = manager ? manager->SkinableMenus() : nullptr;
  const HWND wnd = MenuWindow();
  if (!painter || !manager->SkinnedPopups() || !wnd) return false;
  painter->HookPopupMenu(*this, manager->Active());
  SetWindowHandle(wnd);
  Popup(x, y);
  SetWindowHandle(nullptr);
  return true;
}

TsSystemMenu::TsSystemMenu(TsSkinProvider& owner) : FOwner(owner) {}

HWND TsSystemMenu::MenuWindow() const {
  fw::TCustomForm* form = FOwner.Form();
  return form && form->HandleAllocated() ? form->Handle() : nullptr;
}

sc::TsSkinManager* TsSystemMenu::MenuManager() const {
  return FOwner.SkinData().SkinManager();
}

void TsSystemMenu::CopyItems(const fw::TMenuItem& from, fw::TMenuItem& to) {
  for (int i = 0; i < from.Count(); ++i) {
    const fw::TMenuItem& source = *from.Items(i);
    auto* copy = new fw::TMenuItem(this);
    if (!source.Name().empty() && !FindComponent(source.Name() + "Copy"))
      copy->SetName(source.Name() + "Copy");
    copy->SetCaption(source.Caption());
    copy->SetShortCut(source.ShortCut());
    copy->SetChecked(source.Checked());
    copy->SetEnabled(source.Enabled());
    copy->SetImageIndex(source.ImageIndex());
    copy->Hint = source.Hint;
    copy->OnClick = source.OnClick;
    to.Add(copy);
    CopyItems(source, *copy);
  }
}

void TsSystemMenu::AddSubMenu(int at) {
  const TacSysSubMenu& sub = FOwner.SysSubMenu();
  fw::TPopupMenu* source = sub.PopupMenu();
  if (sub.Position != at || sub.Caption.empty() || !source) return;
  if (at == ipBottom) AddDivider("ac_BtmDiv");
  SubMenu = AddItem(sub.Caption, 0, nullptr);
  if (!FindComponent("ac_SubMenu")) SubMenu->SetName("ac_SubMenu");
  CopyItems(*source->Items(), *SubMenu);
  SetImages(source->Images());
  if (at != ipBottom) AddDivider("ac_TopDiv");
}

void TsSystemMenu::Generate() {
  SubMenu = nullptr;
  const HMENU sys = ClearItems();
  AddSubMenu(ipTop);
  AddWindowCommands(sys);
  AddOwnCommands(sys);
  AddSubMenu(ipBeforeClose);
  ItemClose = AddCommand(sys, SC_CLOSE, sc::acs_CloseStr, "acIC");
  ItemClose->SetDefault(true);
  AddSubMenu(ipBottom);
}

bool TsSystemMenu::VisibleRestore() const {
  const auto b = FOwner.Form()->BorderStyle();
  return FOwner.HaveSysMenu() &&
         (b == TFormBorderStyle::bsSingle || b == TFormBorderStyle::bsSizeable);
}

bool TsSystemMenu::VisibleSize() const {
  const auto b = FOwner.Form()->BorderStyle();
  return b == TFormBorderStyle::bsSingle || b == TFormBorderStyle::bsSizeable ||
         b == TFormBorderStyle::bsSizeToolWin;
}

namespace {
bool Iconic(fw::TCustomForm& f) {
  return f.HandleAllocated() && IsIconic(f.Handle());
}
bool Zoomed(fw::TCustomForm& f) {
  return f.HandleAllocated() && IsZoomed(f.Handle());
}
bool NormalFrame(fw::TCustomForm& f) {
  return f.BorderStyle() == TFormBorderStyle::bsSingle ||
         f.BorderStyle() == TFormBorderStyle::bsSizeable;
}
}  // namespace

bool TsSystemMenu::VisibleMin() const {
  fw::TCustomForm& f = *FOwner.Form();
  return FOwner.HaveSysMenu() &&
         (Iconic(f) || (NormalFrame(f) && (f.BorderIcons() & fw::biMinimize)));
}

bool TsSystemMenu::VisibleMax() const {
  fw::TCustomForm& f = *FOwner.Form();
  return FOwner.HaveSysMenu() &&
         (Iconic(f) || (NormalFrame(f) && (f.BorderIcons() & fw::biMaximize)));
}

bool TsSystemMenu::VisibleClose() const {
  fw::TCustomForm& f = *FOwner.Form();
  const HMENU sys = f.HandleAllocated() ? GetSystemMenu(f.Handle(), false) : nullptr;
  if (!sys) return (f.BorderIcons() & fw::biSystemMenu) != 0;
  return FOwner.HaveSysMenu() && GetMenuItem(sys, SC_CLOSE, MF_BYCOMMAND) != nullptr;
}

bool TsSystemMenu::EnabledRestore() const {
  fw::TCustomForm& f = *FOwner.Form();
  return ((f.BorderIcons() & fw::biMaximize) && Zoomed(f)) || Iconic(f);
}

bool TsSystemMenu::EnabledMove() const {
  return !Zoomed(*FOwner.Form());
}

bool TsSystemMenu::EnabledSize() const {
  fw::TCustomForm& f = *FOwner.Form();
  return f.BorderStyle() != TFormBorderStyle::bsSingle && !Iconic(f) && !Zoomed(f);
}

bool TsSystemMenu::EnabledMin() const {
  fw::TCustomForm& f = *FOwner.Form();
  return (f.BorderIcons() & fw::biMinimize) && !Iconic(f);
}

bool TsSystemMenu::EnabledMax() const {
  fw::TCustomForm& f = *FOwner.Form();
  return (f.BorderIcons() & fw::biMaximize) && NormalFrame(f) && !Zoomed(f);
}

bool TsSystemMenu::EnabledClose() const {
  fw::TCustomForm& f = *FOwner.Form();
  const HMENU sys = f.HandleAllocated() ? GetSystemMenu(f.Handle(), false) : nullptr;
  if (!sys) return (f.BorderIcons() & fw::biSystemMenu) != 0;
  const MenuItem* it = GetMenuItem(sys, SC_CLOSE, MF_BYCOMMAND);
  return it && !(it->flags & MF_GRAYED);
}

void TsSystemMenu::UpdateItems(bool full) {
  if (full || !ItemClose) Generate();
  UpdateItemStates();
}

void TsCustomSysMenu::UpdateItemStates() {
  if (!ItemClose) return;
  ItemRestore->SetVisible(VisibleRestore());
  ItemRestore->SetEnabled(EnabledRestore());
  ItemMove->SetEnabled(EnabledMove());
  ItemSize->SetVisible(VisibleSize());
  ItemSize->SetEnabled(EnabledSize());
  ItemMinimize->SetVisible(VisibleMin());
  ItemMinimize->SetEnabled(EnabledMin());
  ItemMaximize->SetVisible(VisibleMax());
  ItemMaximize->SetEnabled(EnabledMax());
  ItemClose->SetVisible(VisibleClose());
  ItemClose->SetEnabled(EnabledClose());
}

void TsSystemMenu::MakeSkinItems() {
  if (fw::TComponent* old = FindComponent("SkinSelectItem")) {
    auto* item = static_cast<fw::TMenuItem*>(old);
    const int at = item->MenuIndex();
    delete item;  // with its children
    if (at >= 0 && at < Items()->Count() && Items()->Items(at)->IsLine()) Items()->Delete(at);
  }
  sc::TsSkinManager* manager = FOwner.SkinData().SkinManager();
  if (!manager) return;
  std::vector<data::TacSkinListData> skins;
  manager->SkinListController().GetSkinNames(skins, data::stAllSkins);
  if (skins.empty()) return;
  auto* list = new fw::TMenuItem(this);
  list->SetName("SkinSelectItem");
  list->SetCaption(sc::acs_AvailSkins);
  Items()->Insert(0, list);
  auto* div = new fw::TMenuItem(this);
  div->SetCaption(u"-");
  Items()->Insert(1, div);
  for (std::size_t i = 0; i < skins.size(); ++i) {
    auto* item = new fw::TMenuItem(this);
    item->SetName("SkinSelectItem" + std::to_string(i));
    const std::u16string name = fw::Utf8ToUtf16(skins[i].skName);
    item->SetCaption(name);
    item->SetRadioItem(true);
    if (i > 0 && i % kSkinColumn == 0) item->SetBreak(fw::TMenuBreak::mbBreak);
    if (name == manager->SkinName()) {
      item->SetChecked(true);
      item->SetDefault(true);
    }
    // The name is set whole: an internal skin's name ends in its "(внутренний)" mark, and
    // only the whole name finds it.
    item->OnClick = [manager, name](fw::TComponent*) { manager->SetSkinName(name); };
    list->Add(item);
  }
}

bool TsSystemMenu::DropDown(int x, int y) {
  fw::TCustomForm* form = FOwner.Form();
  if (!form || !form->HandleAllocated()) return false;
  // Only the active form's menu opens. The application's active form of an MDI program is the
  // parent, so a child counts when it is the active child of the active parent.
  const fw::TCustomForm* active = fw::Application ? fw::Application->ActiveForm() : nullptr;
  if (active && active != form && !(FOwner.IsMDIChild() && FOwner.MDIChildActive())) return false;
  sc::TsSkinManager* manager = MenuManager();
  if (!manager || !manager->SkinableMenus() || !manager->SkinnedPopups()) {
    detail::ShowSystemMenu(form->Handle(), {x, y});
    return true;
  }
  // Made again at every showing: the form's own system menu may have gained, lost or renamed
  // commands since the last one.
  UpdateItems(true);
  if (MakeSkinMenu) MakeSkinItems();
  SetBiDiMode(form->BiDiMode());  // reads the way its form does
  return PopupSkinned(x, y);
}

}  // namespace skin::frame
