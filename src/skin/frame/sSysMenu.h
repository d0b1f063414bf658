// The skinned system menu of a provider's form: a pop-up menu built from the form's own system
// menu (its texts, its added commands), shown by the provider for the title icon, a right click
// on the caption, Alt+Space and the shell's window-menu request, drawn by the manager's menu
// painter. It also tells which window commands the form's state allows.
#pragma once

#include <string>

#include "framework/Menus.h"

namespace skin::frame {

class TsSkinProvider;

class TsSystemMenu : public fw::TPopupMenu {
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

  bool VisibleRestore() const;
  bool VisibleSize() const;
  bool VisibleMin() const;
  bool VisibleMax() const;
  bool VisibleClose() const;
  bool EnabledRestore() const;
  bool EnabledMove() const;
  bool EnabledSize() const;
  bool EnabledMin() const;
  bool EnabledMax() const;
  bool EnabledClose() const;

  fw::TMenuItem* SubMenu = nullptr;  // the item holding the provider's extra sub-menu
  fw::TMenuItem *ItemRestore = nullptr, *ItemMove = nullptr, *ItemSize = nullptr,
                *ItemMinimize = nullptr, *ItemMaximize = nullptr, *ItemClose = nullptr;
  int ExtItemsCount = 0;  // the form's own commands copied from its system menu

  // Shows the menu at a screen point (only for the active form or the active MDI child);
  // skinned where the manager skins pop-ups, else the form's own system menu. False when
  // nothing was shown.
  bool DropDown(int x, int y);

 private:
  fw::TMenuItem* AddItem(const std::u16string& caption, int tag, fw::TNotifyEvent onClick);
  void AddDivider(const std::string& name);
  // The provider's extra sub-menu, when its position is at.
  void AddSubMenu(int at);
  // Copies of from's sub-items (recursively) into to.
  void CopyItems(const fw::TMenuItem& from, fw::TMenuItem& to);
  void SendCommand(unsigned command);
  TsSkinProvider& FOwner;
};

}  // namespace skin::frame
