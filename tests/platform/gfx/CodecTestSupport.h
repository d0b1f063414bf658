// Pictures and comparisons shared by the codec tests.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "platform/gfx/Bitmap.h"

namespace gfx::test {

// Smooth colour ramps (which JPEG keeps well) with alpha varying across the picture.
inline Bitmap MakeTestPicture(int width, int height, int stride = 0) {
  Bitmap bmp(width, height, stride);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      bmp.Set(x, y,
              MakePixel(std::uint8_t(40 + x * 160 / width), std::uint8_t(200 - y * 150 / height),
                        std::uint8_t(60 + (x + y) * 120 / (width + height)),
                        std::uint8_t((x * 37 + y * 91) % 256)));
  return bmp;
}

// Largest difference of the B, G, R bytes of corresponding pixels of two same-sized bitmaps.
inline int MaxColorDifference(const Bitmap& a, const Bitmap& b) {
  int most = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) {
      Pixel p = a.At(x, y), q = b.At(x, y);
      most = std::max({most, std::abs(PixelB(p) - PixelB(q)), std::abs(PixelG(p) - PixelG(q)),
                       std::abs(PixelR(p) - PixelR(q))});
    }
  return most;
}

// True when every pixel's alpha is 255.
inline bool IsOpaque(const Bitmap& bmp) {
  for (int y = 0; y < bmp.Height(); ++y)
    for (int x = 0; x < bmp.Width(); ++x)
      if (PixelA(bmp.At(x, y)) != 255) return false;
  return true;
}

// A copy of data cut to its first size bytes.
inline std::vector<std::uint8_t> Prefix(std::span<const std::uint8_t> data, std::size_t size) {
  return {data.begin(), data.begin() + std::ptrdiff_t(size)};
}

}  // namespace gfx::test
