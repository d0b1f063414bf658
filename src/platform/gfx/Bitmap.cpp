#include "platform/gfx/Bitmap.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/gfx/GraphicsError.h"

namespace gfx {

Bitmap::Bitmap(int width, int height, int stride) {
  if (width < 0 || height < 0 || width > kMaxSide || height > kMaxSide ||
      std::int64_t(width) * height > kMaxPixels) {
    throw GraphicsError("Bitmap size " + std::to_string(width) + " x " + std::to_string(height) +
                        " is out of range");
  }
  if (stride == 0) stride = width * 4;
  if (stride < width * 4 || stride % 4 != 0) {
    throw GraphicsError("Bitmap stride " + std::to_string(stride) + " does not fit width " +
                        std::to_string(width));
  }
  width_ = width;
  height_ = height;
  stride_ = stride;
  data_.assign(std::size_t(stride) * height, 0);
}

void Bitmap::Fill(Pixel p) {
  for (int y = 0; y < height_; ++y) std::fill_n(Row(y), width_, p);
}

Bitmap Bitmap::Copy(const TRect& r) const {
  TRect c = IntersectRects(r, Bounds());
  Bitmap out(c.Width(), c.Height());
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

void Bitmap::CopyFrom(const Bitmap& src, const TRect& srcRect, TPoint dst) {
  int sx = srcRect.Left, sy = srcRect.Top, dx = dst.X, dy = dst.Y;
  int w = srcRect.Width(), h = srcRect.Height();
  if (!ClipCopy(src.Bounds(), Bounds(), sx, sy, dx, dy, w, h)) return;
  // memmove: source and destination may be the same bitmap.
  if (&src == this && sy < dy) {
    for (int y = h - 1; y >= 0; --y)
      std::memmove(Row(dy + y) + dx, src.Row(sy + y) + sx, std::size_t(w) * 4);
  } else {
    for (int y = 0; y < h; ++y)
      std::memmove(Row(dy + y) + dx, src.Row(sy + y) + sx, std::size_t(w) * 4);
  }
}

bool operator==(const Bitmap& a, const Bitmap& b) {
  if (a.width_ != b.width_ || a.height_ != b.height_) return false;
  for (int y = 0; y < a.height_; ++y)
    if (std::memcmp(a.Row(y), b.Row(y), std::size_t(a.width_) * 4) != 0) return false;
  return true;
}

}  // namespace gfx
