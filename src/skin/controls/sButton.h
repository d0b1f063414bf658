// Skinned push buttons: TsBitBtn (a button with an optional glyph) and TsButton (the framework's
// button with its push, command-link and split styles). Both draw their whole face from the
// section "BUTTON" (or their own) into the cache of their skin data in four states (0 normal,
// 1 hot, 2 pressed, 3 default), lay glyph and caption out themselves, fade between states on
// mouse events, take colours from their modal result and keep the pressed face of a quick click
// on screen for a moment. Unskinned they are the framework's buttons.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "framework/Button.h"
#include "framework/ImageList.h"
#include "framework/Label.h"
#include "skin/controls/sSkinnedControl.h"
#include "skin/core/sFade.h"
#include "skin/frame/acSBUtils.h"
#include "skin/paint/sAlphaGraph.h"

namespace skin::controls {

using fw::TButtonStyle;
using skin::frame::TacColoring;

// ---- Layout ------------------------------------------------------------------------------------

// What a button lays out: its client size, the glyph's and the caption's sizes (either may be
// empty) and the button's settings.
struct TacButtonLayoutIn {
  gfx::TSize Client;
  gfx::TSize Glyph;
  gfx::TSize Text;
  fw::TButtonLayout Layout = fw::TButtonLayout::blGlyphLeft;
  fw::TAlignment Alignment = fw::TAlignment::taCenter;  // the block of glyph and caption
  fw::TVerticalAlignment VerticalAlignment = fw::TVerticalAlignment::taVerticalCenter;
  int Margin = -1;           // -1: automatic
  int Spacing = 4;           // < 0: automatic
  bool RightToLeft = false;  // mirrored in the client width
};
// Where the glyph and the caption go, in client coordinates.
struct TacButtonLayoutOut {
  gfx::TRect Glyph;
  gfx::TRect Caption;
};
// The button layout: a pure function of its inputs (integer halves round toward zero).
TacButtonLayoutOut CalcButtonLayout(const TacButtonLayoutIn& in);

// The width a caption is wrapped at: 0 without a caption to show, else the button's width less
// twice the margin (no less than 0), less the glyph and spacing beside it.
int MaxCaptionWidth(int buttonWidth, int margin, int spacing, int glyphWidth,
                    fw::TButtonLayout layout, bool showCaption, bool hasCaption);

// ---- Glyphs ------------------------------------------------------------------------------------

// Disabled looks of a button's glyph.
enum TsDisabledGlyphKind : unsigned { dgBlended = 1, dgGrayed = 2 };

// What the shared glyph drawing needs to know of a button.
struct TacDrawGlyphData {
  int Blend = 0;  // percent, normal state only
  int SkinIndex = -1;
  int NumGlyphs = 1;
  int ImageIndex = -1;
  int CurrentState = 0;
  bool Down = false;
  bool Grayed = false;
  bool Enabled = true;
  bool Reflected = false;
  const gfx::Bitmap* Glyph = nullptr;  // the framework's strip, used when Images lacks the index
  gfx::Bitmap* DstBmp = nullptr;
  gfx::TRect ImgRect;               // where the glyph goes in DstBmp
  fw::TColor BGColor = fw::clNone;  // tone of the glyph
  fw::TImageList* Images = nullptr;
  core::TsSkinManager* SkinManager = nullptr;
  unsigned DisabledGlyphKind = 0;  // TsDisabledGlyphKind bits
};
// The frame of a glyph strip of n frames shown in state (see the button's glyph rules).
int GlyphFrame(int state, int numGlyphs, bool enabled, bool stdGlyphsOrder);
// Draws the glyph the record chooses into its DstBmp at ImgRect: from Images when it holds the
// index, else the strip's frame; tone, grey, blend and reflection as set. Nothing without a
// picture or a target.
void acDrawGlyphEx(const TacDrawGlyphData& d);

// ---- The buttons -------------------------------------------------------------------------------

// Sets of TacAnimatEvent bits (sFade).
using core::TacAnimatEvents;
enum TsDisabledKind : unsigned { dkBlended = 1, dkGrayed = 2 };

// Set while a quick click's pressed face is drawn: a button held by the framework reports the
// pressed state then even before it shows it.
inline bool fGlobalFlag = false;

// What both buttons share: state, colouring, the cache, painting and the message handling.
template <class Base, TClassName Name, std::uint8_t Code>
class TsButtonControl : public TsControl<Base, Name, Code, FixedSection<sd::ssButton>> {
  using Skinned = TsControl<Base, Name, Code, FixedSection<sd::ssButton>>;

 public:
  using TNotify = std::function<void(fw::TComponent*)>;
  using TGetColoring = std::function<void(fw::TComponent*, int state, TacColoring&)>;
  using TPaintEvent = std::function<void(fw::TComponent*, gfx::Bitmap&)>;

  explicit TsButtonControl(fw::TComponent* owner);
  ~TsButtonControl() override;

  // Drawn pressed for good (the framework's Down, held by mouse or key, is BM_GETSTATE's).
  bool Down() const { return FDown; }
  void SetDown(bool value);
  bool ShowFocus() const { return FShowFocus; }
  void SetShowFocus(bool value) { Change(FShowFocus, value); }
  bool Reflected() const { return FReflected; }
  void SetReflected(bool value) { Change(FReflected, value); }
  // The button may hold child controls, which follow its press by one pixel.
  bool AcceptsControls() const { return FAcceptsControls; }
  void SetAcceptsControls(bool value) { FAcceptsControls = value; }
  // Content drawn after the border mask (true, the default) or before it.
  bool DrawOverBorder() const { return FDrawOverBorder; }
  void SetDrawOverBorder(bool value) { Change(FDrawOverBorder, value); }
  int FocusMargin() const { return FFocusMargin; }
  void SetFocusMargin(int value) { Change(FFocusMargin, value); }
  unsigned DisabledKind() const { return FDisabledKind; }
  void SetDisabledKind(unsigned value) { Change(FDisabledKind, value); }
  TacAnimatEvents AnimatEvents() const { return FAnimatEvents; }
  void SetAnimatEvents(TacAnimatEvents value) { FAnimatEvents = value; }
  TNotify OnMouseEnter, OnMouseLeave;
  TGetColoring OnGetColoring;
  // Called with the cache after the glyph is drawn.
  TPaintEvent OnPaint;

  // 0 normal, 1 hot, 2 pressed, 3 default. A split button's main face is not hot for the
  // pointer over its drop-down part alone.
  virtual int CurrentState() const;
  // The state of a split button's drop-down part: 2 while its menu is open, 1 under the
  // pointer, else the main face's default look (3) or normal (0).
  int DropDownState() const;
  // The modal colours for state, then OnGetColoring's changes.
  TacColoring GetColoring(int state) const;
  // Rebuilds the cache for the state shown now; false when it cannot be painted yet.
  bool PrepareCache();
  int SkinState() const override { return CurrentState(); }
  // Every change the framework repaints for (layout, glyph, caption, press) stales the cache.
  void Invalidate() override;
  // The button is its form's default (the framework's default style).
  bool IsFocused() const { return FIsFocused; }
  bool ControlsShifted() const { return FControlsShifted; }
  gfx::TPoint GlyphPos() const { return FGlyphPos; }
  gfx::TRect CaptionRect() const { return FCaptionRect; }

 protected:
  template <class T>
  void Change(T& field, T value) {
    if (field == value) return;
    field = value;
    this->SkinData().Invalidate();
  }
  void SetButtonStyle(bool isDefault) override;
  void PaintWindow(gfx::HDC dc) override;
  // Skinned: the scaled width of the skin data (16 pixels at 100 percent).
  int DropDownWidth() const override;
  // The part's new look shows at once, without a fade.
  void SplitStateChanged() override;
  // The glyph's size for state (0 x 0 without a glyph).
  virtual gfx::TSize GlyphSize(int state) const = 0;
  // Places glyph and caption in the client area for state (FGlyphPos, FCaptionRect).
  virtual void LayoutContent(fw::TCanvas& canvas, int state) = 0;
  // Draws the glyph at FGlyphPos with the tone (clNone: none).
  virtual void DrawBtnGlyph(gfx::Bitmap& cache, int state, fw::TColor tone) = 0;
  // The glyph's own tone, used when the colouring sets none (clNone: none).
  virtual fw::TColor GetColorTone() const { return fw::clNone; }
  // The glyph is drawn discoloured in the normal state.
  virtual bool Grayed() const { return false; }
  virtual unsigned CaptionFlags(int state) const;
  virtual void ApplyCaptionFont(fw::TCanvas& canvas) const { canvas.Font.Assign(this->Font()); }
  // Draws the caption at FCaptionRect and the focus rectangle.
  void DrawCaption(fw::TCanvas& canvas, int state, const TacColoring& coloring);
  // Text beside the caption (a command link's note), drawn after it.
  virtual void DrawExtraText(fw::TCanvas&, int, const TacColoring&) {}
  // Text in the caption's colours for state: the colouring's text colour, else the skin's.
  void WriteButtonText(fw::TCanvas& canvas, std::u16string_view text, gfx::TRect r,
                       unsigned flags, int state, const TacColoring& coloring);
  // The section's state for the button's state: 3 as 1 where the section has fewer than four.
  int SectionState(int state) const;
  bool ShiftsContent(int state) const;
  bool FShowCaption = true;
  gfx::TPoint FGlyphPos;
  gfx::TRect FCaptionRect;

 private:
  void ButtonProc(fw::TMessage& m, const fw::TWndNext& next);
  bool SkinCommand(fw::TMessage& m, const fw::TWndNext& next);
  // Fades (or repaints) to the state shown now, when event animates.
  void ChangeState(core::TacAnimatEvent event);
  void LeftButtonUp(fw::TMessage& m, const fw::TWndNext& next);
  void ShiftControls(bool shift);
  // A split button's drop-down part in its own state over the main face (state S of the
  // section), divided from it by a line; PaintSplitArrow puts the skin's arrow on it.
  void PaintSplitPart(gfx::Bitmap& cache, const skin::paint::TCacheInfo& ci, int S);
  void PaintSplitArrow(gfx::Bitmap& cache);
  void RedrawNow();
  // The framework's repaint marked the cache stale, but it still holds the face on screen: a
  // fade starts from it.
  void KeepShownFace();

  bool FDown = false;
  bool FShowFocus = true;
  bool FReflected = false;
  bool FMouseClicked = false;
  bool FAcceptsControls = false;
  bool FDrawOverBorder = true;
  bool FIsFocused = false;
  bool FControlsShifted = false;
  int FFocusMargin = 1;
  unsigned FDisabledKind = dkBlended;
  TacAnimatEvents FAnimatEvents = core::acBit(core::aeGlobalDef);
  fw::TWndHookId FHook = 0;
};

// A button with an optional glyph (the framework's Images[ImageIndex], else its Glyph strip).
class TsBitBtn : public TsButtonControl<fw::TBitBtn, "TsBitBtn", core::COC_TsBitBtn> {
 public:
  explicit TsBitBtn(fw::TComponent* owner);
  bool Grayed() const override { return FGrayed; }
  void SetGrayed(bool value) { Change(FGrayed, value); }
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool value) { Change(FShowCaption, value); }
  int Blend() const { return FBlend; }
  void SetBlend(int value) { Change(FBlend, value); }
  // Shift of the caption along the layout's axis.
  int TextOffset() const { return FOffset; }
  void SetTextOffset(int value) { Change(FOffset, value); }
  fw::TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(fw::TAlignment value) { Change(FAlignment, value); }
  fw::TAlignment TextAlignment() const { return FTextAlignment; }
  void SetTextAlignment(fw::TAlignment value) { Change(FTextAlignment, value); }
  fw::TVerticalAlignment VerticalAlignment() const { return FVerticalAlignment; }
  void SetVerticalAlignment(fw::TVerticalAlignment value) { Change(FVerticalAlignment, value); }
  fw::TColor GlyphColorTone() const { return FGlyphColorTone; }
  void SetGlyphColorTone(fw::TColor value) { Change(FGlyphColorTone, value); }
  unsigned DisabledGlyphKind() const { return FDisabledGlyphKind; }
  void SetDisabledGlyphKind(unsigned value) { Change(FDisabledGlyphKind, value); }
  // The caption's measured size (wrapped at MaxCaptionWidth with WordWrap).
  gfx::TSize TextRectSize(fw::TCanvas& canvas) const;

 protected:
  gfx::TSize GlyphSize(int state) const override;
  void LayoutContent(fw::TCanvas& canvas, int state) override;
  void DrawBtnGlyph(gfx::Bitmap& cache, int state, fw::TColor tone) override;
  fw::TColor GetColorTone() const override { return FGlyphColorTone; }
  unsigned CaptionFlags(int state) const override;

 private:
  bool FGrayed = false;
  int FBlend = 0;
  int FOffset = 0;
  fw::TAlignment FAlignment = fw::TAlignment::taCenter;
  fw::TAlignment FTextAlignment = fw::TAlignment::taCenter;
  fw::TVerticalAlignment FVerticalAlignment = fw::TVerticalAlignment::taVerticalCenter;
  fw::TColor FGlyphColorTone = fw::clNone;
  unsigned FDisabledGlyphKind = 0;
};

// The framework's button, skinned; a command link shows its caption bold and larger beside its
// image, a split button keeps a drop-down part at its right.
class TsButton : public TsButtonControl<fw::TButton, "TsButton", core::COC_TsButton> {
 public:
  using TsButtonControl::TsButtonControl;
  // Pixels between the face's edge and its content (6 at 100 percent).
  int ContentMargin() const { return FContentMargin; }
  void SetContentMargin(int value) { Change(FContentMargin, value); }
  int CurrentState() const override;
  // The font of a command link's caption: the button's font made bold and two points larger,
  // unless one was set (CustomCommandLinkFont).
  fw::TFont CommandLinkFont() const;
  void SetCommandLinkFont(const fw::TFont& font);
  // Whether CommandLinkFont is one set, not the one made from the button's font.
  bool CustomCommandLinkFont() const { return FCustomCommandLinkFont; }
  void SetCustomCommandLinkFont(bool value) { Change(FCustomCommandLinkFont, value); }
  // Where a command link's note goes (empty without a note or for other styles).
  gfx::TRect NoteRect() const { return FNoteRect; }

 protected:
  gfx::TSize GlyphSize(int state) const override;
  void LayoutContent(fw::TCanvas& canvas, int state) override;
  void DrawBtnGlyph(gfx::Bitmap& cache, int state, fw::TColor tone) override;
  void ApplyCaptionFont(fw::TCanvas& canvas) const override;
  unsigned CaptionFlags(int state) const override;
  void DrawExtraText(fw::TCanvas& canvas, int state, const TacColoring& coloring) override;

 private:
  int FContentMargin = 6;
  bool FCustomCommandLinkFont = false;
  fw::TFont FCommandLinkFont;
  gfx::TRect FNoteRect;
};

// Registers the buttons' own properties for window descriptions (RegisterSkinClasses calls it).
void RegisterButtonProperties();

}  // namespace skin::controls
