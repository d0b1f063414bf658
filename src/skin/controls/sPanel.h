// The skinned panel: the framework panel painted from the section its outer bevel names (none:
// TRANSPARENT, lowered: PANEL_LOW, raised: PANEL, space: GROUPBOX) or from the section set. It
// keeps its finished picture (section, caption, OnPaint) in its cache, puts it on screen
// leaving out the windowed children, and hands it to the children that ask for their
// background. It is never opaque: a transparent section shows the parent through it.
#pragma once

#include <functional>

#include "framework/Canvas.h"
#include "framework/Panel.h"
#include "skin/controls/sSkinnedControl.h"

namespace skin::controls {

// OnPaint of a panel: called with a canvas on the picture being painted, after its background
// and caption.
using TsPanelPaintEvent = std::function<void(fw::TComponent* sender, fw::TCanvas& canvas)>;

class TsCustomPanel
    : public TsCachedControl<fw::TPanel, "TsPanel", skin::core::COC_TsPanel, PanelSection> {
  using Skinned = TsCachedControl<fw::TPanel, "TsPanel", skin::core::COC_TsPanel, PanelSection>;

 public:
  explicit TsCustomPanel(fw::TComponent* owner);
  ~TsCustomPanel() override;
  void AfterConstruction() override;
  void Loaded() override;

  // Copies the cache to dc, leaving out the windowed children.
  virtual void CopyCache(gfx::HDC dc);
  // Paints the panel into dc: from the cache (rebuilt when stale), or directly in its own
  // colour with CustomColor and no OnPaint; then the windowless children. With sendUpdated
  // the children waiting for this picture are told it is ready.
  virtual void OurPaint(gfx::HDC dc, bool sendUpdated);
  // Rebuilds the cache: the section over the parent's picture, the caption, OnPaint. False,
  // with the panel marked updating, while the parent's picture is not ready.
  virtual bool PrepareCache();
  // Writes the caption into r of canvas (the room inside the bevels and border).
  virtual void WriteText(fw::TCanvas& canvas, const gfx::TRect& r);
  // The caption's room: the bounds less the bevels and the border on every side.
  gfx::TRect TextRoom() const;

  TsPanelPaintEvent OnPaint;

 protected:
  void SkinPaint(gfx::HDC dc) override { OurPaint(dc, true); }

 private:
  void PanelProc(fw::TMessage& m, const fw::TWndNext& next);
  // The answer to AC_GETBG.
  void BGInfo(skin::core::TacBGInfo& info);
  // Paints the panel in its own colour (CustomColor), without the cache.
  void PaintCustomColor(gfx::HDC dc);
  void ClearOpaque() { ControlStyle &= ~fw::TControlStyle(fw::csOpaque); }

  fw::TBevelCut FOldBevel;
  fw::TWndHookId FHook = 0;
};

// The panel of window descriptions.
class TsPanel final : public TsCustomPanel {
 public:
  using TsCustomPanel::TsCustomPanel;
};

}  // namespace skin::controls
