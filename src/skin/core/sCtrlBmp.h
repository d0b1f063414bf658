// Working bitmaps sized after a control: the control-taking companion of the bitmap-sized
// CreateBmp32 of the pixel layer, which knows no controls.
#pragma once

#include <memory>

#include "framework/Control.h"
#include "skin/paint/sAlphaGraph.h"

namespace skin::core {

// A new zero-filled 32-bit bitmap of the control's outer size (width x height).
std::unique_ptr<gfx::Bitmap> CreateBmp32(const fw::TControl& control);

}  // namespace skin::core
