#include "framework/GraphicControl.h"

namespace fw {

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}

void TGraphicControl::WndProc(TMessage& m) {
  if (m.Msg == win::WM_PAINT && m.WParam) {
    FCanvas.SetHandle(reinterpret_cast<HDC>(m.WParam));
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
    return;
  }
  TControl::WndProc(m);
}

}  // namespace fw
