// TButton: a push button with a caption of one or more lines (a line break in the caption
// starts a new line; WordWrap also breaks it at the face's width). Space (pressed and
// released) and Enter click the focused button; the default button takes Enter and the cancel
// button Esc from anywhere on the form; "&x" in the caption makes x its accelerator (Alt+x on
// the form, or x while a button has the focus); a button with a ModalResult ends a modal form
// with it.
//
// The window carries the native button's styles and answers its messages: BS_DEFPUSHBUTTON
// while the button is the form's active default (it has the focus, or it is Default and no
// other button has it), else BS_PUSHBUTTON, changed through BM_SETSTYLE; BM_GETSTATE answers
// BST_PUSHED while it is held down and BST_FOCUS while it has the focus; BM_SETSTATE draws it
// pushed or not; BM_CLICK clicks it.
//
// A button may show Images[ImageIndex] on its face, placed by ImageAlignment with
// ImageMargins around it; the caption takes the rest of the face. Style names the kind of push
// button: a push button, a command link (its caption bold and larger, a note below it), or a
// split button, whose face keeps a drop-down part with an arrow at its right: a press there (or
// Alt+Down) raises OnDropDownClick and opens DropDownMenu under the button instead of clicking.
//
// TBitBtn adds a glyph beside the caption, laid out by Layout, Margin and Spacing.
#pragma once

#include <memory>

#include "framework/CustomControl.h"
#include "framework/Form.h"
#include "framework/ImageList.h"
#include "platform/gfx/Bitmap.h"

namespace fw {

// Where a button's image sits on its face.
enum class TImageAlignment { iaLeft, iaRight, iaTop, iaBottom, iaCenter };
// Room kept around a button's image, in pixels.
struct TImageMargins {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const TImageMargins&) const = default;
};
// The kinds of push button.
enum class TButtonStyle { bsPushButton, bsCommandLink, bsSplitButton };
// The parts of a split button's face.
enum class TSplitPart { spNone, spMain, spDropDown };
// Where a button's glyph sits relative to its caption.
enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
// How a button's face is drawn: up, disabled, held down, and down for good (a speed button of
// a group, or a toggle). Also the order of the frames in a glyph strip.
enum class TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

// Where a glyph of size glyph and the caption go in a face r: by layout, margin (from the
// edge to the glyph, or to the caption without one; -1 centres both as one block) and spacing
// (between them; -1 spaces them evenly, or centres the caption in the room the glyph leaves).
// The caption is measured in font with the DrawTextW flags (with DT_WORDBREAK wrapped at the
// room the margins and a glyph beside it leave). Either rectangle is empty when there is none.
void LayoutButtonContent(const TFont& font, std::u16string_view caption, unsigned flags,
                         gfx::TSize glyph, TButtonLayout layout, int margin, int spacing,
                         const TRect& r, TRect& glyphRect, TRect& captionRect);

// A glyph strip and its place beside the caption. The strip: NumGlyphs frames of equal width
// side by side, one per TButtonState in its order; a state without a frame of its own shows the
// first. Its place: Layout, Margin and Spacing as LayoutButtonContent takes them. The setters
// return false when the value stays as it was.
class TButtonGlyph {
 public:
  const gfx::Bitmap& Glyph() const { return FGlyph; }
  void SetGlyph(const gfx::Bitmap& glyph) { FGlyph = glyph; }
  int NumGlyphs() const { return FNumGlyphs; }
  bool SetNumGlyphs(int value);  // clamped to 1 .. 4
  TButtonLayout Layout() const { return FLayout; }
  bool SetLayout(TButtonLayout value);
  int Margin() const { return FMargin; }
  bool SetMargin(int value);  // below -1 taken as -1
  int Spacing() const { return FSpacing; }
  bool SetSpacing(int value);  // below -1 taken as -1
  // The size of one frame; 0 x 0 without a glyph.
  gfx::TSize Size() const;
  // The frame shown in state; empty without a glyph.
  gfx::Bitmap Frame(TButtonState state) const;
  // Where a frame and the caption go in a face r (LayoutButtonContent with these settings).
  void Place(const TFont& font, std::u16string_view caption, unsigned flags, const TRect& r,
             TRect& glyphRect, TRect& captionRect) const;

 private:
  gfx::Bitmap FGlyph;
  int FNumGlyphs = 1;
  TButtonLayout FLayout = TButtonLayout::blGlyphLeft;
  int FMargin = -1;
  int FSpacing = 4;
};

// A control with a glyph strip beside its caption (bit and speed buttons): each change of the
// strip or its place repaints it.
template <class Base>
class TGlyphButton : public Base {
 public:
  using Base::Base;
  // The picture drawn beside the caption, blended by its alpha; empty: none. With NumGlyphs
  // above 1 it is a strip of frames.
  const gfx::Bitmap& Glyph() const { return FGlyph.Glyph(); }
  void SetGlyph(const gfx::Bitmap& glyph) {
    FGlyph.SetGlyph(glyph);
    this->Invalidate();
  }
  int NumGlyphs() const { return FGlyph.NumGlyphs(); }
  void SetNumGlyphs(int value) { InvalidateIf(FGlyph.SetNumGlyphs(value)); }  // 1 to 4
  TButtonLayout Layout() const { return FGlyph.Layout(); }
  void SetLayout(TButtonLayout value) { InvalidateIf(FGlyph.SetLayout(value)); }
  // Pixels from the face's edge to the glyph (to the caption without a glyph); -1 (default):
  // glyph and caption are centred as one block.
  int Margin() const { return FGlyph.Margin(); }
  void SetMargin(int value) { InvalidateIf(FGlyph.SetMargin(value)); }
  // Pixels between glyph and caption (default 4); -1: glyph, caption and the face's edges are
  // spaced evenly (with Margin -1) or the caption is centred in the room the glyph leaves.
  int Spacing() const { return FGlyph.Spacing(); }
  void SetSpacing(int value) { InvalidateIf(FGlyph.SetSpacing(value)); }

 protected:
  TButtonGlyph FGlyph;

 private:
  void InvalidateIf(bool changed) {
    if (changed) this->Invalidate();
  }
};

class TButton : public TCustomControl {
 public:
  explicit TButton(TComponent* owner);
  ~TButton() override;
  std::string ClassName() const override { return "TButton"; }

  bool Default() const { return FDefault; }
  void SetDefault(bool value);
  bool Cancel() const { return FCancel; }
  void SetCancel(bool value) { FCancel = value; }
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult r) { FModalResult = r; }
  // The caption breaks at the face's width too (BS_MULTILINE); off by default.
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool value);
  // True while the button is held down (mouse or Space).
  bool Down() const { return FDown; }
  // True while the button has BS_DEFPUSHBUTTON (see above).
  bool Active() const { return FActive; }
  // The image list and the index of the face's image (-1, or a list without it: none).
  TImageList* Images() const { return FImages.List(); }
  void SetImages(TImageList* images);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int index);
  // Whether Images holds ImageIndex.
  bool HasImage() const;
  TImageAlignment ImageAlignment() const { return FImageAlignment; }  // iaLeft by default
  void SetImageAlignment(TImageAlignment value);
  const TImageMargins& ImageMargins() const { return FImageMargins; }
  void SetImageMargins(const TImageMargins& value);
  TButtonStyle Style() const { return FStyle; }  // bsPushButton by default
  void SetStyle(TButtonStyle value);
  // A command link's note, drawn below its caption in the button's own font; empty: none.
  const std::u16string& CommandLinkHint() const { return FCommandLinkHint; }
  void SetCommandLinkHint(const std::u16string& value);
  // The menu a split button opens under itself, left-aligned with it (paRight and paCenter
  // align the menu's right edge or middle instead); null: none. Freed menus are forgotten.
  TPopupMenu* DropDownMenu() const { return FDropDownMenu; }
  void SetDropDownMenu(TPopupMenu* menu);
  // Raised when a split button's drop-down part is pressed, before its menu opens.
  TNotifyEvent OnDropDownClick;
  // The drop-down part of a split button in client coordinates: DropDownWidth pixels at the
  // face's right, the full height; empty for the other styles.
  TRect DropDownRect() const;
  // Raises OnDropDownClick and opens DropDownMenu under the button, held pressed while the
  // menu's loop runs. Only a split button drops down; not again while its menu is open. The
  // button may be freed by either; nothing of it is touched afterwards.
  void DropDown();
  // True while DropDownMenu is open.
  bool DroppedDown() const { return FDroppedDown; }
  // The part of a split button under the pointer (spNone off the button or for other styles).
  TSplitPart HotPart() const { return FHotPart; }
  // Where the image and the caption go in a face r: the image (its list's size) by
  // ImageAlignment inside its margins, the caption in what is left (all of r for iaCenter).
  // Without an image the image is empty and the caption takes r.
  void ImageLayout(const TRect& r, TRect& image, TRect& caption) const;

  void Click() override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& m) override;
  void Paint() override;
  // Draws the glyph and caption in r (the face without its border).
  virtual void PaintContent(TRect r);
  // Becomes (isDefault) or stops being the active default button: sets the window's style by
  // BM_SETSTYLE and repaints. Called whenever the focus moves on the form.
  virtual void SetButtonStyle(bool isDefault);
  // DrawTextW flags of the caption.
  unsigned CaptionFlags() const;
  // The drop-down part's width: 16 pixels at the control's design scale.
  virtual int DropDownWidth() const;
  // The drop-down part's look changed (hot part, dropped down): repaints.
  virtual void SplitStateChanged() { Invalidate(); }
  // The drop-down part's divider and arrow drawn in r, pressed while dropped down.
  void PaintDropDownPart(TRect r);
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseLeave() override;
  void KeyDown(win::WORD& key, TShiftState shift) override;
  void KeyUp(win::WORD& key, TShiftState shift) override;
  void KeyPress(char16_t& key) override;
  bool WantsKey(win::WORD key) const override;
  void SetDown(bool down);
  void Notification(TComponent* component, TOperation operation) override;

 private:
  // Sets FActive from the control that has the focus now.
  void FocusChanged(const TControl* focused);
  void SetHotPart(TSplitPart part);
  // Whether a press at p (client coordinates) is on the drop-down part.
  bool OnDropDownPart(TPoint p) const;

  bool FDefault = false;
  bool FCancel = false;
  TModalResult FModalResult = mrNone;
  bool FWordWrap = false;
  bool FDown = false;
  bool FActive = false;
  TImageListLink FImages{*this, [this] { Invalidate(); }};
  int FImageIndex = -1;
  TImageAlignment FImageAlignment = TImageAlignment::iaLeft;
  TImageMargins FImageMargins;
  TButtonStyle FStyle = TButtonStyle::bsPushButton;
  std::u16string FCommandLinkHint;
  TPopupMenu* FDropDownMenu = nullptr;
  bool FDroppedDown = false;
  TSplitPart FHotPart = TSplitPart::spNone;
};

class TBitBtn : public TGlyphButton<TButton> {
 public:
  using TGlyphButton::TGlyphButton;
  std::string ClassName() const override { return "TBitBtn"; }
  // Where the glyph frame and the caption go in a face r (client coordinates), for the current
  // settings; either is empty when there is none.
  void CalcLayout(const TRect& r, TRect& glyph, TRect& caption);

 protected:
  void PaintContent(TRect r) override;
};

// The font of a command link's caption: font made bold and two points larger.
TFont CommandLinkFontOf(const TFont& font);

// True when caption marks key as its accelerator ("&x" for x in either case; "&&" is a plain
// '&').
bool IsAccel(char16_t key, std::u16string_view caption);

// Draws a 3D frame inside r: raised (light top-left) or sunken; returns the inner rectangle.
TRect DrawBevel(TCanvas& canvas, TRect r, bool raised);

}  // namespace fw
