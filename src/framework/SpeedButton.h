// TSpeedButton: a windowless button for tool panels, with a glyph strip (up, disabled, down,
// exclusive) and a caption laid out as a bit button's (TGlyphButton).
//
// A press holds the mouse until its release; the button looks pressed while the mouse is over
// it, and a release over it clicks. Buttons of one parent that share a GroupIndex other than 0
// form a group in which at most one is Down: a click (or SetDown) puts one down and the others
// of the group up (CM_BUTTONPRESSED to the parent's controls). A down button goes up again only
// when AllowAllUp is set, which the whole group shares; a group of one button with AllowAllUp
// is a toggle. GroupIndex 0 keeps a button from staying down.
//
// A Flat button shows its edge only while the mouse is over it or while it is pressed or down;
// otherwise a Transparent one (the default) leaves its parent showing behind glyph and caption.
// A disabled button shows the glyph's disabled frame (or the first, faded) and an embossed
// caption. "&x" in the caption makes x its accelerator (CM_DIALOGCHAR clicks it).
#pragma once

#include "framework/Button.h"
#include "framework/GraphicControl.h"

namespace fw {

class TSpeedButton : public TGlyphButton<TGraphicControl> {
 public:
  explicit TSpeedButton(TComponent* owner);
  std::string ClassName() const override { return "TSpeedButton"; }

  // 0 (default): no group, the button never stays down.
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int value);
  bool Down() const { return FDown; }
  // Puts the button down (the others of its group go up) or up (only with AllowAllUp).
  void SetDown(bool value);
  // The group's down button may go up, leaving none down; set for the whole group.
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool value);
  // Flat buttons only: the parent shows where the face is not drawn (default on).
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool value);
  // The face shown now: bsDisabled while disabled, bsDown while pressed and not down,
  // bsExclusive while down (pressed or not), else bsUp.
  TButtonState State() const;
  // Under the mouse, enabled, and not held by another control's press: a flat button shows its
  // raised edge then.
  bool Hot() const;
  // Where the glyph frame and the caption go in a face r (client coordinates); either is
  // empty when there is none.
  void CalcLayout(const TRect& r, TRect& glyph, TRect& caption);

 protected:
  void WndProc(TMessage& m) override;
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void EnabledChanged() override;

 private:
  // Tells the group that this button is down now (and its AllowAllUp).
  void UpdateExclusive();
  void SetState(TButtonState state);

  int FGroupIndex = 0;
  bool FDown = false;
  bool FAllowAllUp = false;
  bool FFlat = false;
  bool FTransparent = true;
  bool FDragging = false;
  // bsUp, bsDown or bsExclusive; State() adds the disabled look.
  TButtonState FState = TButtonState::bsUp;
};

}  // namespace fw
