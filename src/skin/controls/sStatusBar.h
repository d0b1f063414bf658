// The skinned status bar: the framework status bar painted from the STATUSBAR section (or the
// section set), its cells framed by the section's STATUSPANELMASK item or, without one,
// parted by DIVIDER dividers, their texts in the section's font colours, owner-drawn panels by
// OnDrawPanel on the cache, and the skin's grip on a sizeable form. The whole picture is kept
// in the cache, brought up to date before every paint.
#pragma once

#include "framework/StatusBar.h"
#include "skin/controls/sSkinnedControl.h"

namespace skin::controls {

class TsStatusBar
    : public TsCachedControl<fw::TStatusBar, "TsStatusBar", skin::core::COC_TsStatusBar,
                             FixedSection<skin::data::ssStatusBar>> {
  using Skinned = TsCachedControl<fw::TStatusBar, "TsStatusBar", skin::core::COC_TsStatusBar,
                                  FixedSection<skin::data::ssStatusBar>>;

 public:
  explicit TsStatusBar(fw::TComponent* owner);
  ~TsStatusBar() override;
  void AfterConstruction() override;
  // Panel widths follow the scale before the framework's own scaling.
  void ChangeScale(int m, int d) override;

  // Brings the cache up to date: the section, the cells, the grip. False when it cannot be
  // painted (unskinned, no parent picture).
  bool PrepareCache();
  // Draws the cells into the cache.
  void PaintPanels();
  // Draws the skin's grip into the cache's bottom-right corner (nothing when the skin has none).
  void PaintGrip();
  // The left edge of cell index: the sum of the widths before it.
  int PanelOffset(int index) const;
  // Draws cell index (-1: the simple text) into rect of the cache, already shrunk by a pixel.
  void InternalDrawPanel(int index, const gfx::TRect& rect);
  // Writes text into rect of the cache.
  void DoDrawText(const std::u16string& text, gfx::TRect rect, fw::TAlignment alignment);

 protected:
  // Copies the cache, brought up to date, to dc, leaving out the windowed children.
  void SkinPaint(gfx::HDC dc) override;

 private:
  void StatusBarProc(fw::TMessage& m, const fw::TWndNext& next);
  // Paints the DIVIDER section at the right edge of cell rect.
  void PaintDivider(const gfx::TRect& rect);

  fw::TWndHookId FHook = 0;
};

}  // namespace skin::controls
