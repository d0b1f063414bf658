// A 32-bit bitmap: B,G,R,A bytes, straight alpha, top-down rows at an explicit stride.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/gfx/Color.h"
#include "platform/gfx/Geometry.h"

namespace gfx {

class Bitmap {
 public:
  // Largest side and pixel count accepted; larger requests raise GraphicsError
  // instead of allocating without bound.
  static constexpr int kMaxSide = 32767;
  static constexpr std::int64_t kMaxPixels = std::int64_t(1) << 26;  // 64 Mpx, 256 MiB

  Bitmap() = default;
  // Zero-filled bitmap; stride defaults to width * 4 and must be a multiple of 4 not below it.
  Bitmap(int width, int height, int stride = 0);

  int Width() const { return width_; }
  int Height() const { return height_; }
  int Stride() const { return stride_; }  // bytes from one row to the next
  bool Empty() const { return width_ == 0 || height_ == 0; }
  TRect Bounds() const { return {0, 0, width_, height_}; }

  std::uint8_t* Bits() { return data_.data(); }  // scan line 0
  const std::uint8_t* Bits() const { return data_.data(); }
  Pixel* Row(int y) { return reinterpret_cast<Pixel*>(data_.data() + std::size_t(y) * stride_); }
  const Pixel* Row(int y) const {
    return reinterpret_cast<const Pixel*>(data_.data() + std::size_t(y) * stride_);
  }

  // Unchecked single-pixel access; callers keep (x, y) inside Bounds().
  Pixel At(int x, int y) const { return Row(y)[x]; }
  void Set(int x, int y, Pixel p) { Row(y)[x] = p; }

  // Fills every pixel with one word.
  void Fill(Pixel p);
  // A new bitmap holding the part of this one inside r (clipped to Bounds()).
  Bitmap Copy(const TRect& r) const;
  // Copies src's area srcRect to dst; clipped on both sides, all four bytes copied.
  void CopyFrom(const Bitmap& src, const TRect& srcRect, TPoint dst);

  friend bool operator==(const Bitmap& a, const Bitmap& b);  // same size and pixels

 private:
  int width_ = 0;
  int height_ = 0;
  int stride_ = 0;
  std::vector<std::uint8_t> data_;
};

// Clips a copy of size w x h from src (at sx, sy) to dst (at dx, dy) against both bounds.
// Returns false when nothing is left.
bool ClipCopy(const TRect& srcBounds, const TRect& dstBounds, int& sx, int& sy, int& dx, int& dy,
              int& w, int& h);

}  // namespace gfx
