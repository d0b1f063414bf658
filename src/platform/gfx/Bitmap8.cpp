#include "platform/gfx/Bitmap8.h"

#include <cstring>
#include <string>

#include "platform/gfx/GraphicsError.h"

namespace gfx {

Bitmap8::Bitmap8(int width, int height, int stride) {
  if (width < 0 || height < 0 || width > Bitmap::kMaxSide || height > Bitmap::kMaxSide ||
      std::int64_t(width) * height > Bitmap::kMaxPixels) {
    throw GraphicsError("Bitmap size " + std::to_string(width) + " x " + std::to_string(height) +
                        " is out of range");
  }
  if (stride == 0) stride = width;
  if (stride < width) {
    throw GraphicsError("Bitmap stride " + std::to_string(stride) + " does not fit width " +
                        std::to_string(width));
  }
  width_ = width;
  height_ = height;
  stride_ = stride;
  data_.assign(std::size_t(stride) * height, 0);
}

bool operator==(const Bitmap8& a, const Bitmap8& b) {
  if (a.width_ != b.width_ || a.height_ != b.height_) return false;
  for (int y = 0; y < a.height_; ++y)
    if (std::memcmp(a.Row(y), b.Row(y), std::size_t(a.width_)) != 0) return false;
  return true;
}

}  // namespace gfx
