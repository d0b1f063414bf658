// TLabel: windowless text. Sizes itself to its text (AutoSize; with WordWrap only the height),
// aligns it horizontally (Alignment) and vertically (Layout), and leaves the parent's
// background showing when Transparent. "&x" underlines x (ShowAccelChar; "&&" shows "&");
// text that does not fit a label of fixed size can end in "..." (EllipsisPosition).
// Measuring and drawing both go through DoDrawText, so a subclass that draws differently
// sizes itself by its own drawing. Its accelerator (offered as CM_DIALOGCHAR) focuses its
// FocusControl.
#pragma once

#include "framework/GraphicControl.h"

namespace fw {

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TTextLayout { tlTop, tlCenter, tlBottom };
// Where a block of content sits vertically in its control.
enum class TVerticalAlignment { taAlignTop, taAlignBottom, taVerticalCenter };
// Where text that does not fit is cut for "...": not at all, in the middle of a path (its last
// part stays whole), after the last character or after the last word that fits.
enum class TEllipsisPosition { epNone, epPathEllipsis, epEndEllipsis, epWordEllipsis };

class TLabel : public TGraphicControl {
 public:
  explicit TLabel(TComponent* owner);
  std::string ClassName() const override { return "TLabel"; }

  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool autoSize);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool wordWrap);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment alignment);
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout layout);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool transparent);
  // "&" marks the accelerator character (default); off: "&" is shown as it is.
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool value);
  // Applies to labels without AutoSize; epNone by default.
  TEllipsisPosition EllipsisPosition() const { return FEllipsisPosition; }
  void SetEllipsisPosition(TEllipsisPosition value);
  // Sizes the label to its text now (AutoSize does it after every change).
  void AdjustBounds();
  void Loaded() override;
  // The control its accelerator focuses (null: none); forgotten when that control goes.
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* control);

 protected:
  void WndProc(TMessage& m) override;
  void Notification(TComponent* component, TOperation operation) override;
  void Paint() override;
  void TextChanged() override;
  void FontChanged() override;
  // DrawTextW flags for the current settings (alignment and wrapping).
  unsigned DrawTextFlags() const;
  // Draws the caption into rect on Canvas() with DrawTextW flags; with DT_CALCRECT draws
  // nothing and sets rect's right and bottom to the text's extent. AdjustBounds measures and
  // Paint draws through it. An empty caption (or a lone "&") measures as one space.
  virtual void DoDrawText(TRect& rect, unsigned flags);
  // DoDrawText's work in the canvas's font and colour as they are (DoDrawText greys the text
  // of a disabled label first): the caption, the accelerator and ellipsis rules, the drawing.
  void DrawCaption(TRect& rect, unsigned flags);

 private:
  bool FAutoSize = true;
  bool FWordWrap = false;
  TAlignment FAlignment = TAlignment::taLeftJustify;
  TTextLayout FLayout = TTextLayout::tlTop;
  bool FTransparent = false;
  bool FShowAccelChar = true;
  TEllipsisPosition FEllipsisPosition = TEllipsisPosition::epNone;
  TWinControl* FFocusControl = nullptr;
};

}  // namespace fw
