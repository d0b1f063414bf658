// A region: a set of pixels kept as a banded list of rectangles, as the platform keeps them.
// Rectangles are sorted by top, then left; rectangles of one band share top and bottom,
// do not touch or overlap, and adjacent bands with the same spans are merged.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Geometry.h"

namespace gfx {

// Results of the region calls, with the platform's values.
enum RegionComplexity : int { RGN_ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3 };

class Region {
 public:
  Region() = default;                // empty
  explicit Region(const TRect& r);  // one rectangle (empty when r is empty)
  // Union of any rectangles, overlapping or not.
  static Region FromRects(std::span<const TRect> rects);
  // The pixels of bmp whose word differs from key; with ignoreAlpha, only B,G,R are compared.
  static Region FromBitmap(const Bitmap& bmp, Pixel key, bool ignoreAlpha = true);

  bool IsEmpty() const { return rects_.empty(); }
  RegionComplexity Complexity() const;
  TRect Bounds() const;  // {0,0,0,0} when empty
  const std::vector<TRect>& Rects() const { return rects_; }

  Region Union(const Region& other) const;
  Region Intersect(const Region& other) const;
  Region Subtract(const Region& other) const;
  Region Xor(const Region& other) const;
  void Offset(int dx, int dy);

  bool Contains(TPoint p) const;           // PtInRegion
  bool Intersects(const TRect& r) const;   // RectInRegion: any pixel of r inside

  friend bool operator==(const Region&, const Region&) = default;

 private:
  enum class Op { Union, Intersect, Subtract, Xor };
  static Region Combine(const Region& a, const Region& b, Op op);
  std::vector<TRect> rects_;
};

}  // namespace gfx
