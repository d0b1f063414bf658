// Checks shared by the picture decoders and encoders.
#pragma once

#include <cstdint>

#include "platform/gfx/Bitmap.h"

namespace gfx {

// Raises GraphicsError ("Picture size W x H is too large") unless a picture of that size fits a
// Bitmap; decoders call it on the header's numbers before allocating anything.
void CheckPictureSize(std::int64_t width, std::int64_t height);

// Raises GraphicsError when bmp has no pixels; no format stores an empty picture.
void CheckEncodable(const Bitmap& bmp, const char* format);

}  // namespace gfx
