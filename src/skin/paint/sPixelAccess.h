// Small helpers shared by the pixel operations: byte access, clipping of copies, parent pixels.
#pragma once

#include <algorithm>
#include <cstdint>

#include "skin/paint/sAlphaGraph.h"

namespace skin::paint {

// Byte i (0 = lowest) of a word.
constexpr std::uint32_t Byte(std::uint32_t w, int i) {
  return (w >> (8 * i)) & 0xFF;
}

// A copy's clipped placement: w x h pixels from src (sx, sy) to dst (dx, dy).
struct TCopyArea {
  int dx = 0, dy = 0, sx = 0, sy = 0, w = 0, h = 0;
};

// Rectangle with inclusive Right and Bottom as an exclusive one.
constexpr TRect InclusiveToExclusive(const TRect& r) {
  return {r.Left, r.Top, r.Right + 1, r.Bottom + 1};
}

// srcRect of src copied to dstPoint, clipped to both bitmaps.
inline bool ClipToPoint(const Bitmap& dst, const Bitmap& src, const TRect& srcRect, TPoint dstPoint,
                        TCopyArea& a) {
  a = {dstPoint.X, dstPoint.Y, srcRect.Left, srcRect.Top, srcRect.Width(), srcRect.Height()};
  return gfx::ClipCopy(src.Bounds(), dst.Bounds(), a.sx, a.sy, a.dx, a.dy, a.w, a.h);
}

// Area r2 of src onto area r1 of dst: the smaller size of both, clipped to both bitmaps, with
// the source rows maskOffset rows lower (the mask) kept inside src as well.
inline bool ClipToArea(const Bitmap& dst, const Bitmap& src, const TRect& r1, const TRect& r2,
                       int maskOffset, TCopyArea& a) {
  if (maskOffset < 0) return false;
  a = {r1.Left,
       r1.Top,
       r2.Left,
       r2.Top,
       std::min(r1.Width(), r2.Width()),
       std::min(r1.Height(), r2.Height())};
  TRect srcBounds{0, 0, src.Width(), src.Height() - maskOffset};
  return gfx::ClipCopy(srcBounds, dst.Bounds(), a.sx, a.sy, a.dx, a.dy, a.w, a.h);
}

// The parent pixel behind destination pixel (x, y), when ci has a bitmap and it lies inside.
inline bool ParentPixel(const TCacheInfo& ci, int x, int y, std::uint32_t& out) {
  if (!ci.Bmp) return false;
  int px = x + ci.X, py = y + ci.Y;
  if (!ci.Bmp->Bounds().Contains({px, py})) return false;
  out = ci.Bmp->At(px, py);
  return true;
}

// B, G, R: ((top.c - base.c) * m.c + base.c * 256) >> 8 (mask channel = weight of top); alpha
// of top.
inline std::uint32_t MaskMix(std::uint32_t base, std::uint32_t top, std::uint32_t m) {
  std::uint32_t out = top & 0xFF000000;
  for (int c = 0; c < 3; ++c) {
    int b = int(Byte(base, c));
    out |= std::uint32_t(((int(Byte(top, c)) - b) * int(Byte(m, c)) + b * 256) >> 8) << (8 * c);
  }
  return out;
}

}  // namespace skin::paint
