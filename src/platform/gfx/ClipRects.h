// The one way drawing code reaches pixels: logical coordinates moved to device pixels, and
// a device rectangle cut into the parts that lie inside the target bitmap and the clip region.
// Nothing outside both can be written.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

#include "platform/gfx/DeviceContext.h"

namespace gfx {

// a + b held to the int range, so absurd coordinates end up far outside instead of wrapping.
constexpr int SaturatingAdd(int a, int b) {
  const std::int64_t s = std::int64_t(a) + b;
  return int(std::clamp<std::int64_t>(s, std::numeric_limits<int>::min(),
                                      std::numeric_limits<int>::max()));
}

// A logical point or rectangle of dc in device pixels (the viewport origin added).
inline TPoint ToDevice(const DeviceContext& dc, TPoint p) {
  const TPoint o = dc.State().origin;
  return {SaturatingAdd(p.X, o.X), SaturatingAdd(p.Y, o.Y)};
}
inline TRect ToDevice(const DeviceContext& dc, const TRect& r) {
  const TPoint o = dc.State().origin;
  return {SaturatingAdd(r.Left, o.X), SaturatingAdd(r.Top, o.Y), SaturatingAdd(r.Right, o.X),
          SaturatingAdd(r.Bottom, o.Y)};
}
// A device rectangle of dc in logical coordinates (the viewport origin taken off).
inline TRect FromDevice(const DeviceContext& dc, const TRect& r) {
  auto sub = [](int a, int b) {
    return int(std::clamp<std::int64_t>(std::int64_t(a) - b, std::numeric_limits<int>::min(),
                                        std::numeric_limits<int>::max()));
  };
  const TPoint o = dc.State().origin;
  return {sub(r.Left, o.X), sub(r.Top, o.Y), sub(r.Right, o.X), sub(r.Bottom, o.Y)};
}

// Calls fn(piece) for each non-empty part of the device rectangle r inside dc's target and
// clip, top to bottom. A context without clip region (or with a one-rectangle one) yields at
// most one piece and allocates nothing.
template <class Fn>
void ForEachClippedRect(const DeviceContext& dc, const TRect& r, Fn&& fn) {
  const TRect visible = IntersectRects(r, dc.Target().Bounds());
  if (visible.IsEmpty()) return;
  const std::optional<Region>& clip = dc.State().clip;
  if (!clip) {
    fn(visible);
    return;
  }
  const std::vector<TRect>& rects = clip->Rects();
  // Bands are sorted, so bottoms never decrease: skip the bands above r at once.
  auto it = std::partition_point(rects.begin(), rects.end(),
                                 [&](const TRect& c) { return c.Bottom <= visible.Top; });
  for (; it != rects.end() && it->Top < visible.Bottom; ++it) {
    const TRect piece = IntersectRects(*it, visible);
    if (!piece.IsEmpty()) fn(piece);
  }
}

}  // namespace gfx
