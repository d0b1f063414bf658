// TsEdit: the single-line edit painted from its skin section. The whole window is kept in the
// control's cache (the section for the state over the parent's background, the text in the
// section's font colours, the added glyph); the frame is copied from it into the non-client
// area. While the edit has the focus its client is drawn by the edit itself (caret and
// selection) over the section's background taken from the cache, double-buffered; otherwise
// the client is copied from the cache as it is.
#pragma once

#include <string>

#include "skin/controls/sGlyphUtils.h"
#include "skin/controls/sSkinnedControl.h"
#include "skin/core/sGraphUtils.h"
#include "skin/paint/sGraphUtils.h"

namespace skin::controls {

// The frame's width on each side: 0 without a border, else Ctl3D + 1; plus one per bevel that
// is not none when BevelKind is set.
int EditBorderWidth(const fw::TCustomEdit& edit);

// The disabled look of a skinned control's cache (kind: a set of dkBlended, dkGrayed) against
// what its parent shows there.
void PaintDisabledLook(sc::TsCommonData& cd, unsigned kind);

// An asterisk password character is shown as a black circle (U+25CF).
constexpr char16_t acPasswordCircle = u'\u25CF';
// Weight of the font colour when a text hint is blended with the control's colour.
constexpr int acTextHintBlend = 166;

using TsEditBase = TsControl<fw::TEdit, "TsEdit", sc::COC_TsEdit, FixedSection<sd::ssEdit>>;

class TsEdit : public TsEditBase, public sc::IacDisabledKind {
 public:
  explicit TsEdit(fw::TComponent* owner);
  ~TsEdit() override;

  // How the disabled look is made: a set of dkBlended (default) and dkGrayed.
  unsigned DisabledKind() const override { return FDisabledKind; }
  void SetDisabledKind(unsigned kind);

  // The image drawn before the text; it takes its room from the client area.
  TacAddedGlyph& AddedGlyph() { return FAddedGlyph; }
  bool AddedGlyphVisible() const { return FAddedGlyph.Visible(); }
  // The glyph's width and half of the 4-pixel spacing while visible, else 0.
  int AddedGlyphSpace() const;
  // The glyph's column in window coordinates, at the client's left edge.
  gfx::TRect AddedGlyphRect();

  // The text as shown: while skinned an asterisk password shows circles.
  std::u16string DisplayText() const override;
  // Where the text is drawn, in window (cache) coordinates: the edit's own text area moved by
  // the client's place in the window, so the cached text and the edit's own stand alike.
  gfx::TRect TextRect() const;
  // The client's top-left corner in the window.
  gfx::TPoint ClientOrigin() const;

  // Rebuilds the cache: the section over the whole window for the state shown (its background
  // only without a border), the text (not while the edit draws its own), the disabled look,
  // the glyph. False when the parent cannot give its background yet.
  virtual bool PrepareCache();
  // Copies the frame (the bands around the client area) from the cache into dc, a DC of the
  // whole window.
  void PaintBorder(gfx::HDC dc);
  // Paints the client into dc (a client DC) from the cache, rebuilding it when stale; marks
  // the control updating when it cannot be built yet.
  void OurPaintHandler(gfx::HDC dc);

 protected:
  void WndProc(fw::TMessage& m) override;
  // Drops the glyph's list when it is freed.
  void Notification(fw::TComponent* component, fw::TOperation operation) override;
  // The text (or the hint) into the cache.
  virtual void PaintText();
  // The glyph into the cache.
  void PaintAddedGlyph();

 private:
  // The edit draws its own client: enabled and focused.
  bool OwnPainting() const;
  // The client drawn by the edit itself over the cached background.
  void PaintFocused(gfx::HDC dc);
  // The hint in the blended colour, into a canvas; r in the canvas's coordinates.
  void PaintHint(fw::TCanvas& canvas, gfx::TRect r);
  bool CacheStale() const;
  // The cache rebuilt when stale; false (the control marked updating) when it cannot be.
  bool CacheReady();
  void Redraw(bool frame);

  TacAddedGlyph FAddedGlyph;
  gfx::TRect FAddedGlyphRect{-1, 0, 0, 0};  // Left -1: recompute
  bool FOwnPaintCached = false;             // the cache was built without its text
  unsigned FDisabledKind = skin::paint::dkBlended;
  fw::TWndHookId FHook = 0;
};

}  // namespace skin::controls
