#include "skin/core/sCtrlBmp.h"

namespace skin::core {

std::unique_ptr<gfx::Bitmap> CreateBmp32(const fw::TControl& control) {
  return paint::CreateBmp32(control.Width(), control.Height());
}

}  // namespace skin::core
