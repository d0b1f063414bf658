// TCustomControl: a windowed control that draws itself in Paint through Canvas.
#pragma once

#include "framework/Canvas.h"
#include "framework/WinControl.h"

namespace fw {

class TCustomControl : public TWinControl {
 public:
  explicit TCustomControl(TComponent* owner);
  std::string ClassName() const override { return "TCustomControl"; }
  // The canvas Paint draws on; only valid during Paint.
  TCanvas& Canvas() { return FCanvas; }

 protected:
  void PaintWindow(HDC dc) override;
  // Draws the control in its client coordinates; the background is already erased.
  virtual void Paint() {}

 private:
  TCanvas FCanvas;
};

}  // namespace fw
