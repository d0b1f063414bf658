// Bitmaps: top-down rows of pixels at an explicit stride. `Bitmap` holds 32-bit pixels
// (B,G,R,A bytes, straight alpha); `Bitmap8` one byte a pixel (grey levels, masks).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/gfx/Color.h"
#include "platform/gfx/Geometry.h"

namespace gfx {

// Largest side and pixel count of any bitmap; larger requests raise GraphicsError instead of
// allocating without bound.
constexpr int kMaxBitmapSide = 32767;
constexpr std::int64_t kMaxBitmapPixels = std::int64_t(1) << 26;  // 64 Mpx

template <typename TPixel>
class BasicBitmap {
 public:
  static constexpr int kMaxSide = kMaxBitmapSide;
  static constexpr std::int64_t kMaxPixels = kMaxBitmapPixels;

  BasicBitmap() = default;
  // Zero-filled; stride (bytes) defaults to width * sizeof(TPixel), must be a multiple of
  // sizeof(TPixel) and not below the default.
  BasicBitmap(int width, int height, int stride = 0);

  int Width() const { return width_; }
  int Height() const { return height_; }
  int Stride() const { return stride_; }  // bytes from one row to the next
  bool Empty() const { return width_ == 0 || height_ == 0; }
  TRect Bounds() const { return {0, 0, width_, height_}; }

  std::uint8_t* Bits() { return data_.data(); }  // scan line 0
  const std::uint8_t* Bits() const { return data_.data(); }
  TPixel* Row(int y) { return reinterpret_cast<TPixel*>(data_.data() + std::size_t(y) * stride_); }
  const TPixel* Row(int y) const {
    return reinterpret_cast<const TPixel*>(data_.data() + std::size_t(y) * stride_);
  }

  // Unchecked single-pixel access; callers keep (x, y) inside Bounds().
  TPixel At(int x, int y) const { return Row(y)[x]; }
  void Set(int x, int y, TPixel p) { Row(y)[x] = p; }

  // Fills every pixel with one value.
  void Fill(TPixel p);
  // A new bitmap holding the part of this one inside r (clipped to Bounds()).
  BasicBitmap Copy(const TRect& r) const;
  // Copies src's area srcRect to dst; clipped on both sides.
  void CopyFrom(const BasicBitmap& src, const TRect& srcRect, TPoint dst);

  // Same size and pixels (stride padding does not count).
  friend bool operator==(const BasicBitmap& a, const BasicBitmap& b) { return a.SameAs(b); }

 private:
  bool SameAs(const BasicBitmap& other) const;

  int width_ = 0;
  int height_ = 0;
  int stride_ = 0;
  std::vector<std::uint8_t> data_;
};

using Bitmap = BasicBitmap<Pixel>;
using Bitmap8 = BasicBitmap<std::uint8_t>;
extern template class BasicBitmap<Pixel>;
extern template class BasicBitmap<std::uint8_t>;

// Clips a copy of size w x h from src (at sx, sy) to dst (at dx, dy) against both bounds.
// Returns false when nothing is left.
bool ClipCopy(const TRect& srcBounds, const TRect& dstBounds, int& sx, int& sy, int& dx, int& dy,
              int& w, int& h);

}  // namespace gfx
