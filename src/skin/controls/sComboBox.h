// TsComboBox: the drop-down list combo box painted from its skin section. The whole box is kept
// in the control's cache: the section for the state over the parent's background, the chosen
// item in the section's font colours, the drop button (the section's "GLYPHMASK" picture, or an
// arrow). A drop-down list without a section of its own is painted like a button (the button
// style: "COMBONOEDIT", else "BUTTON"), and its states fade. The open list wears a wrapper
// (TacComboListWnd: section "EDIT", skinned frame and bar) and its rows are drawn here, the
// highlighted one from "SELECTION".
#pragma once

#include <memory>

#include "skin/controls/sSkinnedControl.h"
#include "skin/core/sGraphUtils.h"
#include "skin/frame/acSBUtils.h"
#include "skin/paint/sGraphUtils.h"

namespace skin::controls {

// The default section of a combo box: in the button style "COMBONOEDIT" (else "BUTTON" where
// the skin lacks it), otherwise "COMBOBOX".
int ComboSection(const fw::TComboBox& combo);

using TsComboBase = TsControl<fw::TComboBox, "TsComboBox", sc::COC_TsComboBox, ComboSection>;

class TsCustomComboBox : public TsComboBase, public sc::IacDisabledKind {
 public:
  explicit TsCustomComboBox(fw::TComponent* owner);
  ~TsCustomComboBox() override;
  void Loaded() override;

  // How the disabled look is made: a set of dkBlended (default) and dkGrayed.
  unsigned DisabledKind() const override { return FDisabledKind; }
  void SetDisabledKind(unsigned kind);

  // Keys that change or open it, characters and clicks that open it are refused.
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool value) { FReadOnly = value; }
  // The typing styles leave the button style: the section is found again.
  void SetStyle(fw::TComboBoxStyle style) override;
  bool ShowButton() const { return FShowButton; }
  void SetShowButton(bool value);
  bool AllowMouseWheel() const { return FAllowMouseWheel; }
  void SetAllowMouseWheel(bool value) { FAllowMouseWheel = value; }

  // The box is painted like a button: a drop-down list (owner-drawn or not) with no section
  // set, or unskinned.
  bool AllowBtnStyle() const;
  // The drop button: the manager's combo-button size - 1 wide, the skin's combo margin from
  // the top, bottom and right edges; empty without ShowButton and in the simple style.
  gfx::TRect ButtonRect() const override;
  // The state the picture shows: 0 normal, 1 hot (focused, or the mouse over the box), 2 the
  // list open in the button style, 3 focused on a "COMBONOEDIT" with more than 3 states.
  int CacheState() const;
  // The dump's state: 2 while the list is open, else 1 when hot or focused, else 0.
  int SkinState() const override;
  // 0 normal, 1 mouse over the button (or, in button style, over the box or focused), 2 open.
  int ButtonState() const;

  // Rebuilds the cache for the state shown; false while the parent cannot give its background.
  bool PrepareCache();
  // Paints the box into dc from the cache (or the running fade's frame).
  void OurPaintHandler(gfx::HDC dc);
  // The list's wrapper while the list has been shown skinned, else null.
  skin::frame::TacMainWnd* ListSW() const { return FListSW.get(); }

 protected:
  void CreateWnd() override;
  void Paint() override;
  void DrawItem(int index, gfx::TRect r, fw::TOwnerDrawState state) override;
  // The button into the canvas's target at r: "COMBOBTN" outside the button style, then the
  // glyph or the arrow.
  void PaintButton(const gfx::TRect& r) override;
  // The typing styles' edit part shows the box's cache behind its text.
  bool EraseEditPart(gfx::HDC dc) override;
  void EditFocusChanged() override;
  // The read-only box's edit part refuses keys, characters and the clipboard's edits.
  bool FilterEditMessage(fw::TMessage& m) override;

 private:
  // The skin commands answered before the shared handling.
  void SkinCmdProc(fw::TMessage& m, const fw::TWndNext& next);
  // A key the read-only box refuses.
  static bool BlockedKey(win::WPARAM key);
  // The section's "GLYPHMASK", read when the window is made and when the skin changes.
  void UpdateGlyphIndex();
  void AnimateCtrl();
  void RebuildAndInvalidate();
  // The list's wrapper, made on the list's first colour request.
  void InitListSW(win::HWND list);
  // The list's colours follow the wrapper's section.
  void SetListColors();

  bool FReadOnly = false;
  bool FShowButton = true;
  bool FAllowMouseWheel = true;
  unsigned FDisabledKind = skin::paint::dkBlended;
  int FGlyphIndex = -1;  // the section's "GLYPHMASK", -1 none
  int FState = 0;        // the button's state last painted (ButtonState)
  std::unique_ptr<skin::frame::TacMainWnd> FListSW;
  fw::TWndHookId FHook = 0;
};

class TsComboBox : public TsCustomComboBox {
 public:
  using TsCustomComboBox::TsCustomComboBox;
};

}  // namespace skin::controls
