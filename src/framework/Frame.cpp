#include "framework/Frame.h"

namespace fw {

TFrame::TFrame(TComponent* owner) : TCustomControl(owner) {
  SetColor(clBtnFace);
  ControlStyle |= csAcceptsControls;
  ControlStyle &= ~TControlStyle(csCaptureMouse);
  SetBounds(0, 0, 320, 240);
}

void TFrame::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.WinClassName = u"TFrame";
}

void TFrame::Paint() {
  Canvas().FillRect(ClientRect());
}

}  // namespace fw
