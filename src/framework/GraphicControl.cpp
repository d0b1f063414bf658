#include "framework/GraphicControl.h"

namespace fw {

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}

void TGraphicControl::WndProc(TMessage& m) {
  if (m.Msg == win::WM_PAINT && m.WParam) {
    TCanvasPaintScope scope(FCanvas, reinterpret_cast<HDC>(m.WParam), Font(), Color());
    Paint();
    return;
  }
  TControl::WndProc(m);
}

}  // namespace fw
