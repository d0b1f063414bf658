// TFrame: a windowed container that owns the controls put on it, as a form does, so that a
// group of controls comes and goes with it (a description's controls inside a frame are the
// frame's components). Its windows have a class of their own ("TFrame"), whose background
// brush can change without touching other windows.
#pragma once

#include "framework/CustomControl.h"

namespace fw {

class TFrame : public TCustomControl {
 public:
  explicit TFrame(TComponent* owner);
  std::string ClassName() const override { return "TFrame"; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
};

}  // namespace fw
