#include "platform/gfx/Bitmap.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/gfx/GraphicsError.h"

namespace gfx {

template <typename TPixel>
BasicBitmap<TPixel>::BasicBitmap(int width, int height, int stride) {
  constexpr int kSize = int(sizeof(TPixel));
  if (width < 0 || height < 0 || width > kMaxSide || height > kMaxSide ||
      std::int64_t(width) * height > kMaxPixels) {
    throw GraphicsError("Bitmap size " + std::to_string(width) + " x " + std::to_string(height) +
                        " is out of range");
  }
  if (stride == 0) stride = width * kSize;
  if (stride < width * kSize || stride % kSize != 0) {
    throw GraphicsError("Bitmap stride " + std::to_string(stride) + " does not fit width " +
                        std::to_string(width));
  }
  width_ = width;
  height_ = height;
  stride_ = stride;
  data_.assign(std::size_t(stride) * height, 0);
}

template <typename TPixel>
void BasicBitmap<TPixel>::Fill(TPixel p) {
  for (int y = 0; y < height_; ++y) std::fill_n(Row(y), width_, p);
}

template <typename TPixel>
BasicBitmap<TPixel> BasicBitmap<TPixel>::Copy(const TRect& r) const {
  TRect c = IntersectRects(r, Bounds());
  BasicBitmap out(c.Width(), c.Height());
  out.CopyFrom(*this, c, {0, 0});
  return out;
}

bool ClipCopy(const TRect& srcBounds, const TRect& dstBounds, int& sx, int& sy, int& dx, int& dy,
              int& w, int& h) {
  // Move the start inside both bounds together, then cut the size to what remains in both.
  auto clipAxis = [](int srcLo, int srcHi, int dstLo, int dstHi, int& s, int& d, int& n) {
    int shift = std::max(srcLo - s, dstLo - d);
    if (shift > 0) {
      s += shift;
      d += shift;
      n -= shift;
    }
    n = std::min({n, srcHi - s, dstHi - d});
    return n > 0;
  };
  return clipAxis(srcBounds.Left, srcBounds.Right, dstBounds.Left, dstBounds.Right, sx, dx, w) &&
         clipAxis(srcBounds.Top, srcBounds.Bottom, dstBounds.Top, dstBounds.Bottom, sy, dy, h);
}

template <typename TPixel>
void BasicBitmap<TPixel>::CopyFrom(const BasicBitmap& src, const TRect& srcRect, TPoint dst) {
  int sx = srcRect.Left, sy = srcRect.Top, dx = dst.X, dy = dst.Y;
  int w = srcRect.Width(), h = srcRect.Height();
  if (!ClipCopy(src.Bounds(), Bounds(), sx, sy, dx, dy, w, h)) return;
  const std::size_t bytes = std::size_t(w) * sizeof(TPixel);
  // memmove: source and destination may be the same bitmap.
  if (&src == this && sy < dy) {
    for (int y = h - 1; y >= 0; --y) std::memmove(Row(dy + y) + dx, src.Row(sy + y) + sx, bytes);
  } else {
    for (int y = 0; y < h; ++y) std::memmove(Row(dy + y) + dx, src.Row(sy + y) + sx, bytes);
  }
}

template <typename TPixel>
bool BasicBitmap<TPixel>::SameAs(const BasicBitmap& other) const {
  if (width_ != other.width_ || height_ != other.height_) return false;
  for (int y = 0; y < height_; ++y)
    if (std::memcmp(Row(y), other.Row(y), std::size_t(width_) * sizeof(TPixel)) != 0) return false;
  return true;
}

template class BasicBitmap<Pixel>;
template class BasicBitmap<std::uint8_t>;

}  // namespace gfx
