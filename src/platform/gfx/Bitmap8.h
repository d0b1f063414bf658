// An 8-bit bitmap: one byte per pixel (grey levels, masks), top-down rows at an explicit stride.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Geometry.h"

namespace gfx {

class Bitmap8 {
 public:
  Bitmap8() = default;
  // Zero-filled bitmap under Bitmap's size limits; stride defaults to width and may not be below.
  Bitmap8(int width, int height, int stride = 0);

  int Width() const { return width_; }
  int Height() const { return height_; }
  int Stride() const { return stride_; }  // bytes from one row to the next
  bool Empty() const { return width_ == 0 || height_ == 0; }
  TRect Bounds() const { return {0, 0, width_, height_}; }

  std::uint8_t* Row(int y) { return data_.data() + std::size_t(y) * stride_; }
  const std::uint8_t* Row(int y) const { return data_.data() + std::size_t(y) * stride_; }
  // Unchecked single-pixel access; callers keep (x, y) inside Bounds().
  std::uint8_t At(int x, int y) const { return Row(y)[x]; }
  void Set(int x, int y, std::uint8_t v) { Row(y)[x] = v; }

  friend bool operator==(const Bitmap8& a, const Bitmap8& b);  // same size and pixels

 private:
  int width_ = 0;
  int height_ = 0;
  int stride_ = 0;
  std::vector<std::uint8_t> data_;
};

}  // namespace gfx
