// TButton: a push button with a caption of one or more lines (a line break in the caption
// starts a new line). Space (pressed and released) and Enter click the focused button; the
// default button takes Enter and the cancel button Esc from anywhere on the form; a button
// with a ModalResult ends a modal form with it. TBitBtn adds a glyph left of the caption.
#pragma once

#include "framework/CustomControl.h"
#include "framework/Form.h"
#include "platform/gfx/Bitmap.h"

namespace fw {

class TButton : public TCustomControl {
 public:
  explicit TButton(TComponent* owner);
  std::string ClassName() const override { return "TButton"; }

  bool Default() const { return FDefault; }
  void SetDefault(bool value);
  bool Cancel() const { return FCancel; }
  void SetCancel(bool value) { FCancel = value; }
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult r) { FModalResult = r; }
  // True while the button is held down (mouse or Space).
  bool Down() const { return FDown; }

  void Click() override;

 protected:
  void WndProc(TMessage& m) override;
  void Paint() override;
  // Draws the glyph and caption in r (the face without its border).
  virtual void PaintContent(TRect r);
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void KeyDown(win::WORD& key, TShiftState shift) override;
  void KeyUp(win::WORD& key, TShiftState shift) override;
  bool WantsKey(win::WORD key) const override;
  void SetDown(bool down);

 private:
  bool FDefault = false;
  bool FCancel = false;
  TModalResult FModalResult = mrNone;
  bool FDown = false;
};

class TBitBtn : public TButton {
 public:
  using TButton::TButton;
  std::string ClassName() const override { return "TBitBtn"; }
  // The picture drawn left of the caption, blended by its alpha; empty: none.
  const gfx::Bitmap& Glyph() const { return FGlyph; }
  void SetGlyph(const gfx::Bitmap& glyph);
  // Pixels between the glyph and the caption.
  int Spacing = 4;

 protected:
  void PaintContent(TRect r) override;

 private:
  gfx::Bitmap FGlyph;
};

// Draws a 3D frame inside r: raised (light top-left) or sunken; returns the inner rectangle.
TRect DrawBevel(TCanvas& canvas, TRect r, bool raised);

}  // namespace fw
