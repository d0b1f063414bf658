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

// An icon file's DIB image of bmp: a 40-byte header with the doubled height, bottom-up colour
// rows of 24 or 32 bits, then the AND mask (transparent(x, y) gives its set bits).
template <class Transparent>
std::vector<std::uint8_t> MakeIconDib(const Bitmap& bmp, int bitCount, Transparent transparent) {
  std::vector<std::uint8_t> out;
  auto put = [&out](std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(std::uint8_t(v >> (8 * i)));
  };
  const int w = bmp.Width(), h = bmp.Height();
  put(40, 4), put(std::uint32_t(w), 4), put(std::uint32_t(2 * h), 4), put(1, 2);
  put(std::uint32_t(bitCount), 2), put(0, 4), put(0, 4), put(0, 4), put(0, 4), put(0, 4);
  put(0, 4);
  for (int y = h - 1; y >= 0; --y) {
    std::size_t start = out.size();
    for (int x = 0; x < w; ++x) {
      const Pixel p = bmp.At(x, y);
      put(PixelB(p), 1), put(PixelG(p), 1), put(PixelR(p), 1);
      if (bitCount == 32) put(PixelA(p), 1);
    }
    while ((out.size() - start) % 4) out.push_back(0);
  }
  for (int y = h - 1; y >= 0; --y) {
    std::size_t start = out.size();
    for (int x = 0; x < w; x += 8) {
      std::uint8_t bits = 0;
      for (int b = 0; b < 8 && x + b < w; ++b)
        if (transparent(x + b, y)) bits |= std::uint8_t(0x80 >> b);
      out.push_back(bits);
    }
    while ((out.size() - start) % 4) out.push_back(0);
  }
  return out;
}

// An icon file whose directory holds the one image (a DIB or a PNG file's bytes).
inline std::vector<std::uint8_t> MakeIconFile(const std::vector<std::uint8_t>& image, int width,
                                              int height) {
  std::vector<std::uint8_t> out = {0, 0, 1, 0, 1,  0, std::uint8_t(width), std::uint8_t(height),
                                   0, 0, 1, 0, 32, 0};
  for (std::uint32_t v : {std::uint32_t(image.size()), 22u})
    for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(v >> (8 * i)));
  out.insert(out.end(), image.begin(), image.end());
  return out;
}

}  // namespace gfx::test
