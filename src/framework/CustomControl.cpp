#include "framework/CustomControl.h"

namespace fw {

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {}

void TCustomControl::PaintWindow(HDC dc) {
  TCanvasPaintScope scope(FCanvas, dc, Font(), Color());
  Paint();
}

}  // namespace fw
