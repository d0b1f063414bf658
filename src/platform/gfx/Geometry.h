// Points, sizes and rectangles in device pixels, shaped like the platform's POINT/SIZE/RECT.
#pragma once

#include <algorithm>

namespace gfx {

struct TPoint {
  int X = 0;
  int Y = 0;
  friend constexpr bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
  int cx = 0;
  int cy = 0;
  friend constexpr bool operator==(const TSize&, const TSize&) = default;
};

// Right and Bottom are exclusive, as everywhere on the platform.
struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  constexpr int Width() const { return Right - Left; }
  constexpr int Height() const { return Bottom - Top; }
  // True when the rectangle holds no pixel (also for inverted rectangles).
  constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  constexpr bool Contains(TPoint p) const {
    return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom;
  }
  constexpr TRect Offset(int dx, int dy) const {
    return {Left + dx, Top + dy, Right + dx, Bottom + dy};
  }
  friend constexpr bool operator==(const TRect&, const TRect&) = default;
};

constexpr TRect RectOfSize(int x, int y, int width, int height) {
  return {x, y, x + width, y + height};
}

// Common part of two rectangles; an empty result is normalised to {0,0,0,0}.
constexpr TRect IntersectRects(const TRect& a, const TRect& b) {
  TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
          std::min(a.Bottom, b.Bottom)};
  return r.IsEmpty() ? TRect{} : r;
}

// Smallest rectangle holding both; empty rectangles do not count.
constexpr TRect UnionRects(const TRect& a, const TRect& b) {
  if (a.IsEmpty()) return b.IsEmpty() ? TRect{} : b;
  if (b.IsEmpty()) return a;
  return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
          std::max(a.Bottom, b.Bottom)};
}

}  // namespace gfx
