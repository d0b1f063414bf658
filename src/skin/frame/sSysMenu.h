// The skinned system menu of a provider's form: a pop-up menu built from the form's own system
// menu (its texts, its added commands), shown by the provider for the title icon, a right click
// on the caption, Alt+Space and the shell's window-menu request, drawn by the manager's menu
// painter. It also tells which window commands the form's state allows. Skinned dialogs have
// their own kind (TacSystemMenu) on the same base.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "framework/Menus.h"
#include "platform/win/Types.h"

namespace skin::core {
class TsSkinManager;
}

namespace skin::frame {

class TsSkinProvider;

// Where a request for a skinned window's system menu opens it, or nothing when m asks for none:
// Alt+Space and a click on the icon at belowIcon(); a right click on the caption or the icon
// (hitTest of the point) where it was made; the shell's request at the cursor.
std::optional<win::POINT> SysMenuRequestPoint(const fw::TMessage& m,
                                              const std::function<win::POINT()>& belowIcon,
                                              const std::function<int(win::POINT)>& hitTest);

// What the skinned system menus of a provider's form and of a skinned dialog share: items
// built from a window's own system menu (the command's text there, else the library's), the
// window's added commands, the answers about which window commands its state allows, and the
// showing through the manager's menu painter.
class TsCustomSysMenu : public fw::TPopupMenu {
 public:
  TsCustomSysMenu();
  std::string ClassName() const override { return "TsCustomSysMenu"; }

  virtual bool VisibleClose() const = 0;
  virtual bool VisibleMax() const = 0;
  virtual bool VisibleMin() const = 0;
  virtual bool EnabledMax() const = 0;
  virtual bool EnabledMin() const = 0;
  virtual bool EnabledRestore() const = 0;
  virtual bool VisibleRestore() const = 0;
  virtual bool VisibleSize() const = 0;
  virtual bool EnabledMove() const = 0;
  virtual bool EnabledSize() const = 0;
  virtual bool EnabledClose() const = 0;

  fw::TMenuItem *ItemRestore = nullptr, *ItemMove = nullptr, *ItemSize = nullptr,
                *ItemMinimize = nullptr, *ItemMaximize = nullptr, *ItemClose = nullptr;
  int ExtItemsCount = 0;  // the window's own commands copied from its system menu

 protected:
  // The window whose system menu the menu mirrors and to which its commands go; null when
  // it has none yet.
  virtual win::HWND MenuWindow() const = 0;
  // The manager whose menu painter shows the menu; null when none.
  virtual core::TsSkinManager* MenuManager() const = 0;
  // Every item removed; the window's system menu (null when it has none).
  win::HMENU ClearItems();
  fw::TMenuItem* AddItem(const std::u16string& caption, int tag, fw::TNotifyEvent onClick);
  void AddDivider(const std::string& name);
  // A window command's item named name, captioned as in sys (else fallback), sending the
  // command; restore, minimise and maximise update the items afterwards.
  fw::TMenuItem* AddCommand(win::HMENU sys, win::UINT command, const std::u16string& fallback,
                            const char* name);
  // Restore, move, size, minimise and maximise (AddCommand) and a divider after them.
  void AddWindowCommands(win::HMENU sys);
  // The program's own commands of sys (outside the window commands' range, with text), each
  // posted back as WM_SYSCOMMAND; a divider after them when there are any.
  void AddOwnCommands(win::HMENU sys);
  void SendCommand(unsigned command);
  // Visibility and enabling of the items, after the window's state (the queries above).
  void UpdateItemStates();
  // Shows the menu through the manager's menu painter at a screen point, owned by the
  // window; false (nothing shown) when the manager does not skin pop-ups.
  bool PopupSkinned(int x, int y);
};

class TsSystemMenu : public TsCustomSysMenu {
 public:
  explicit TsSystemMenu(TsSkinProvider& owner);
  std::string ClassName() const override { return "TsSystemMenu"; }

  // Rebuilds every item from the form's system menu.
  void Generate();
  // Visibility and enabling from the form's state (full: Generate first).
  void UpdateItems(bool full = false);
  // The skin list at the top: one radio item per skin of the manager, the current one checked
  // and default, a new column every 20 items; choosing one sets that name whole.
  void MakeSkinItems();
  // Adds the skin list at every showing.
  bool MakeSkinMenu = false;

  bool VisibleRestore() const override;
  bool VisibleSize() const override;
  bool VisibleMin() const override;
  bool VisibleMax() const override;
  bool VisibleClose() const override;
  bool EnabledRestore() const override;
  bool EnabledMove() const override;
  bool EnabledSize() const override;
  bool EnabledMin() const override;
  bool EnabledMax() const override;
  bool EnabledClose() const override;

  fw::TMenuItem* SubMenu = nullptr;  // the item holding the provider's extra sub-menu

  // Shows the menu at a screen point (only for the active form or the active MDI child);
  // skinned where the manager skins pop-ups, else the form's own system menu. False when
  // nothing was shown.
  bool DropDown(int x, int y);

 protected:
  win::HWND MenuWindow() const override;
  core::TsSkinManager* MenuManager() const override;

 private:
  // The provider's extra sub-menu, when its position is at.
  void AddSubMenu(int at);
  // Copies of from's sub-items (recursively) into to.
  void CopyItems(const fw::TMenuItem& from, fw::TMenuItem& to);
  TsSkinProvider& FOwner;
};

}  // namespace skin::frame
