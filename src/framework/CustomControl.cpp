#include "framework/CustomControl.h"

namespace fw {

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {}

void TCustomControl::PaintWindow(HDC dc) {
  FCanvas.SetHandle(dc);
  FCanvas.Font = Font();
  FCanvas.BrushColor = Color();
  FCanvas.BrushStyle = TBrushStyle::bsSolid;
  try {
    Paint();
  } catch (...) {
    FCanvas.SetHandle(nullptr);
    throw;
  }
  FCanvas.SetHandle(nullptr);
}

}  // namespace fw
