// The speed-button handler: a standard speed button has no window to wrap, so a skinned form's
// control adapter gives it a graphic item (skin data of its own, class code COC_TsAdapter) and
// this handler, which hooks the button's messages and paints the whole button (face, caption and
// glyph) from the section "SPEEDBUTTON", or "SPEEDBUTTON_SMALL" for a flat one, into the data's
// cache. The caption and glyph are laid out and drawn as the skinned buttons do it (sButton).
#pragma once

#include <memory>
#include <string>

#include "framework/SpeedButton.h"
#include "skin/core/sCommonData.h"
#include "skin/frame/sCtrlAdapter.h"

namespace skin::controls {

using skin::core::TsCommonData;
using skin::core::TsSkinManager;

// The state a skinned speed button shows: 2 pressed (held down, or down for good), 1 hot (the
// data's control is active: under the mouse), else 0. A disabled button shows 0.
int SpeedButtonState(const fw::TSpeedButton& button, const TsCommonData& skinData);

class TacSpeedButtonHandler : public skin::frame::TacGraphHandler {
 public:
  // Hooks button's messages (also as the data's WndProc, so skin commands sent through the data
  // arrive here); the data takes manager (when given) and section (when it has none).
  TacSpeedButtonHandler(fw::TSpeedButton& button, const std::string& section,
                        TsSkinManager* manager, TsCommonData& skinData);
  // Gives the button its own message handling back unless that happened already.
  ~TacSpeedButtonHandler() override;
  TacSpeedButtonHandler(const TacSpeedButtonHandler&) = delete;
  TacSpeedButtonHandler& operator=(const TacSpeedButtonHandler&) = delete;

  bool Destroyed() const override { return FDestroyed; }
  void ButtonFreed() override;
  fw::TSpeedButton* Ctrl() const { return FCtrl; }
  TsCommonData& SkinData() const { return FSkinData; }

  int CurrentState() const;
  // Rebuilds the cache for the state shown now; false when the parent cannot show what lies
  // behind the button yet (the button waits for AC_ENDPARENTUPDATE) or it is not skinned.
  bool PrepareCache();
  // The caption's size measured in the button's font (wrapped in a 255-pixel box); 0 x 0
  // without a caption.
  gfx::TSize TextRectSize() const;
  // Where the caption and the glyph go for state: the skinned buttons' layout, the block
  // centred with Margin -1, else glyph (or caption) Margin pixels from the edge the layout
  // names; a pressed face moves both by (1, 1) where the section shifts content on click.
  gfx::TRect CaptionRect(int state) const;
  gfx::TRect ImgRect(int state) const;

 private:
  void acWndProc(fw::TMessage& m, const fw::TWndNext& next);
  void SkinCommand(fw::TMessage& m, const fw::TWndNext& next);
  // Gives the button its own message handling back.
  void Unhook();
  void Repaint();
  void AC_WMPaint(gfx::HDC dc);
  void DrawCaption(fw::TCanvas& canvas, int state);
  void DrawGlyph(gfx::Bitmap& cache, int state);
  // The section's state for state (clamped to the states it has).
  int SectionState(int state) const;

  fw::TSpeedButton* FCtrl;
  bool FDestroyed = false;
  fw::TWndHookId FHook = 0;  // the button's handling before the hook lies below it
  TsCommonData& FSkinData;
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

// What the control adapter calls to make a speed button's handler (RegisterSkinClasses
// installs it).
std::unique_ptr<skin::frame::TacGraphHandler> MakeSpeedButtonHandler(fw::TSpeedButton& button,
                                                                     const std::string& section,
                                                                     TsSkinManager* manager,
                                                                     TsCommonData& skinData);

}  // namespace skin::controls
