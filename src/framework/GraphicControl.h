// TGraphicControl: a control without a window of its own. Its parent paints it (into any DC,
// so a parent can paint its windowless children into a bitmap) and routes mouse messages to
// it. It draws itself in Paint through Canvas.
#pragma once

#include "framework/Canvas.h"
#include "framework/Control.h"

namespace fw {

class TGraphicControl : public TControl {
 public:
  explicit TGraphicControl(TComponent* owner);
  std::string ClassName() const override { return "TGraphicControl"; }
  // The canvas Paint draws on; only valid during Paint.
  TCanvas& Canvas() { return FCanvas; }

 protected:
  void WndProc(TMessage& m) override;
  // Draws the control in its own client coordinates (0, 0 is its top-left corner).
  virtual void Paint() {}

 private:
  TCanvas FCanvas;
};

}  // namespace fw
