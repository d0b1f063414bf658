// The demo's MDI parent: a skinned frame (its own skin manager and provider) with a menu bar
// (file: new children of each kind, close, exit; window: arrangement, maximising and
// restoring the active child, and the child list;
// skins: every internal skin), a tool panel of speed buttons and the client with the children.
//
// Speed buttons: NewBtn makes a child of the kind the group KindTextBtn, KindPictureBtn,
// KindCardBtn has down; the toggle ColumnsBtn makes tiling put the children side by side;
// TileBtn, CascadeBtn and NextBtn (flat) arrange the children and step through them.
#pragma once

#include <string>

#include "framework/Form.h"
#include "framework/Menus.h"
#include "framework/SpeedButton.h"
#include "skin/core/sSkinManager.h"

namespace mdidemo {

enum class TChildKind { Text, Picture, Card };

class TMdiMainForm final : public fw::TForm {
 public:
  // It wears "BlueGauze (внутренний)" until its manager is given another skin.
  explicit TMdiMainForm(fw::TComponent* owner);
  std::string ClassName() const override { return "TMdiMainForm"; }

  // A new child of kind, shown and active.
  fw::TCustomForm* NewChild(TChildKind kind);
  skin::core::TsSkinManager& SkinManager() { return *FManager; }

 private:
  void MakeMenu();
  void MakeToolPanel();
  fw::TMenuItem* Item(fw::TComponent* parent, const char* name, const std::u16string& caption,
                      fw::TNotifyEvent onClick = {});
  fw::TSpeedButton* Button(const char* name, const std::u16string& caption, int glyph, int left,
                           int width);
  void ChooseSkin(fw::TMenuItem* item, const std::u16string& name);

  skin::core::TsSkinManager* FManager = nullptr;
  fw::TMainMenu* FMenu = nullptr;
  fw::TSpeedButton* FKindButtons[3] = {};
  fw::TSpeedButton* FColumns = nullptr;
  int FNumber = 0;  // children made so far: each new one is numbered after them
};

}  // namespace mdidemo
