// The drawing calls of device contexts: blits, fills, polygons, lines and pixels. Every
// write goes through ForEachClippedRect.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

#include "platform/gfx/ClipRects.h"
#include "platform/gfx/DeviceContext.h"

namespace gfx {

namespace {

using i64 = std::int64_t;
// Products of two 33-bit coordinate differences need more than 64 bits.
using Wide = __int128;

int ClampToInt(i64 v) {
  return int(std::clamp<i64>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// Smallest integer not below n / d, for d > 0.
Wide CeilDiv(Wide n, Wide d) {
  return n / d + (n % d != 0 && n > 0 ? 1 : 0);
}

// The device rectangle of a logical x, y, cx, cy (corners in either order).
TRect DeviceRectOfSize(const DeviceContext& dc, int x, int y, int cx, int cy) {
  const TPoint a = ToDevice(dc, TPoint{x, y});
  const int x2 = SaturatingAdd(a.X, cx), y2 = SaturatingAdd(a.Y, cy);
  return {std::min(a.X, x2), std::min(a.Y, y2), std::max(a.X, x2), std::max(a.Y, y2)};
}

// The one-pixel rectangle at p (empty at the far end of the int range).
TRect PixelRect(TPoint p) {
  return {p.X, p.Y, SaturatingAdd(p.X, 1), SaturatingAdd(p.Y, 1)};
}

// Bounding box of what dc may draw, in device pixels.
TRect DrawableBox(const DeviceContext& dc) {
  const TRect bounds = dc.Target().Bounds();
  return dc.State().clip ? IntersectRects(bounds, dc.State().clip->Bounds()) : bounds;
}

// Writes n copies of p. Whole blocks go out as fixed-size copies, which the compiler turns
// into vector stores even where it does not vectorise a plain loop (as at -O2).
void FillRow(Pixel* out, int n, Pixel p) {
  constexpr int kBlock = 8;
  Pixel block[kBlock];
  std::fill_n(block, kBlock, p);
  int i = 0;
  for (; i + kBlock <= n; i += kBlock) std::memcpy(out + i, block, sizeof block);
  for (; i < n; ++i) out[i] = p;
}

void FillDevice(DeviceContext& dc, const TRect& r, Pixel p) {
  Bitmap& bmp = dc.Target();
  ForEachClippedRect(dc, r, [&](const TRect& piece) {
    for (int y = piece.Top; y < piece.Bottom; ++y)
      FillRow(bmp.Row(y) + piece.Left, piece.Width(), p);
  });
}

void XorDevice(DeviceContext& dc, const TRect& r, Pixel mask) {
  Bitmap& bmp = dc.Target();
  ForEachClippedRect(dc, r, [&](const TRect& piece) {
    for (int y = piece.Top; y < piece.Bottom; ++y) {
      Pixel* row = bmp.Row(y);
      for (int x = piece.Left; x < piece.Right; ++x) row[x] ^= mask;
    }
  });
}

// Pen lines and polygon fills: the colour, or the destination inverted under R2_NOT.
void MixDevice(DeviceContext& dc, const TRect& r, Pixel p) {
  if (dc.State().rop2 == R2_NOT)
    XorDevice(dc, r, 0xFFFFFFFFu);
  else
    FillDevice(dc, r, p);
}

// Fills the raster operations that need no source; false for any other operation.
bool FillRop(DeviceContext& dc, const TRect& r, std::uint32_t rop) {
  if (rop == DSTINVERT) {
    XorDevice(dc, r, 0xFFFFFFFFu);
    return true;
  }
  if (rop == BLACKNESS) {
    FillDevice(dc, r, MakePixel(0, 0, 0, 0));
    return true;
  }
  if (rop == WHITENESS) {
    FillDevice(dc, r, MakePixel(255, 255, 255, 0));
    return true;
  }
  return false;
}

// Plots the pixels of a line from (x0, y0) to (x1, y1), device pixels, without the end point.
// Pixel k along the major axis sits at the minor offset round(k * minor / major) (halves
// rounded up), which is the Bresenham line. Only the steps inside box are visited, and
// runs along the major axis are written as one rectangle each.
void DrawLine(DeviceContext& dc, i64 x0, i64 y0, i64 x1, i64 y1, Pixel p) {
  const bool xMajor = std::abs(x1 - x0) >= std::abs(y1 - y0);
  const i64 major0 = xMajor ? x0 : y0, minor0 = xMajor ? y0 : x0;
  const i64 majorDelta = xMajor ? x1 - x0 : y1 - y0, minorDelta = xMajor ? y1 - y0 : x1 - x0;
  const i64 steps = std::abs(majorDelta), minorSteps = std::abs(minorDelta);
  if (steps == 0) return;
  const i64 majorDir = majorDelta > 0 ? 1 : -1, minorDir = minorDelta >= 0 ? 1 : -1;

  const TRect box = DrawableBox(dc);
  if (box.IsEmpty()) return;
  const i64 majorLo = xMajor ? box.Left : box.Top, majorHi = xMajor ? box.Right : box.Bottom;
  const i64 minorLo = xMajor ? box.Top : box.Left, minorHi = xMajor ? box.Bottom : box.Right;
  const i64 first = std::max<i64>(0, majorDir > 0 ? majorLo - major0 : major0 - majorHi + 1);
  const i64 last = std::min<i64>(steps, majorDir > 0 ? majorHi - major0 : major0 - majorLo + 1);

  // The current run: major coordinates [runStart, runEnd] at one minor coordinate.
  bool inRun = false;
  i64 runStart = 0, runEnd = 0, runMinor = 0;
  auto flush = [&] {
    if (!inRun) return;
    const int lo = int(std::min(runStart, runEnd)), hi = int(std::max(runStart, runEnd)) + 1;
    const int m = int(runMinor);
    MixDevice(dc, xMajor ? TRect{lo, m, hi, m + 1} : TRect{m, lo, m + 1, hi}, p);
    inRun = false;
  };
  for (i64 k = first; k < last; ++k) {
    const i64 major = major0 + majorDir * k;
    const i64 offset = i64((Wide(2) * k * minorSteps + steps) / (Wide(2) * steps));
    const i64 minor = minor0 + minorDir * offset;
    if (inRun && minor == runMinor) {
      runEnd = major;
      continue;
    }
    flush();
    if (minor >= minorLo && minor < minorHi) {
      inRun = true;
      runStart = runEnd = major;
      runMinor = minor;
    }
  }
  flush();
}

// Where an edge crosses the centre line of row y: the first pixel whose centre lies on or
// right of the crossing, and the edge's direction (+1 downwards).
struct Crossing {
  i64 x;
  int dir;
};

// Fills row y of the polygon with vertices (px, py) inside box; crossings is scratch space.
void FillPolygonRow(DeviceContext& dc, const std::vector<i64>& px, const std::vector<i64>& py,
                    int y, int fillMode, const TRect& box, Pixel p,
                    std::vector<Crossing>& crossings) {
  crossings.clear();
  const std::size_t n = px.size();
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t j = (i + 1) % n;
    i64 xa = px[i], ya = py[i], xb = px[j], yb = py[j];
    int dir = 1;
    if (ya > yb) {
      std::swap(xa, xb);
      std::swap(ya, yb);
      dir = -1;
    }
    if (y < ya || y >= yb) continue;  // the centre y + 0.5 is not between the ends
    // Pixel x is inside from the left when x + 0.5 >= xa + (y + 0.5 - ya) * dx / dy.
    const Wide num = Wide(2 * (y - ya) + 1) * (xb - xa), den = yb - ya;
    crossings.push_back({i64(xa + CeilDiv(num - den, 2 * den)), dir});
  }
  std::sort(crossings.begin(), crossings.end(),
            [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
  auto span = [&](i64 from, i64 to) {
    const int lo = int(std::max<i64>(from, box.Left)), hi = int(std::min<i64>(to, box.Right));
    if (lo < hi) MixDevice(dc, {lo, y, hi, y + 1}, p);
  };
  int winding = 0;
  for (std::size_t i = 0; i + 1 < crossings.size(); ++i) {
    winding += crossings[i].dir;
    const bool inside = fillMode == WINDING ? winding != 0 : i % 2 == 0;
    if (inside) span(crossings[i].x, crossings[i + 1].x);
  }
}

}  // namespace

bool BitBlt(HDC dst, int x, int y, int cx, int cy, HDC src, int x1, int y1, std::uint32_t rop) {
  if (!dst) return false;
  if (cx <= 0 || cy <= 0) return rop == SRCCOPY || rop == BLACKNESS || rop == WHITENESS;
  const TRect area = DeviceRectOfSize(*dst, x, y, cx, cy);
  if (rop != SRCCOPY) return FillRop(*dst, area, rop);
  if (!src) return false;

  // Keep only the part whose source lies inside the source bitmap.
  const TPoint from = ToDevice(*src, TPoint{x1, y1});
  const i64 shiftX = i64(from.X) - area.Left, shiftY = i64(from.Y) - area.Top;
  const TRect srcBounds = src->Target().Bounds();
  const TRect reachable{ClampToInt(srcBounds.Left - shiftX), ClampToInt(srcBounds.Top - shiftY),
                        ClampToInt(srcBounds.Right - shiftX),
                        ClampToInt(srcBounds.Bottom - shiftY)};
  const TRect copied = IntersectRects(area, IntersectRects(reachable, dst->Target().Bounds()));
  if (copied.IsEmpty()) return true;

  // The source is read through a copy when it overlaps the destination in one bitmap.
  const Bitmap* source = &src->Target();
  const TRect sourceRect = copied.Offset(int(shiftX), int(shiftY));
  Bitmap temporary;
  int readX = int(shiftX), readY = int(shiftY);
  if (source == &dst->Target() && !IntersectRects(sourceRect, copied).IsEmpty()) {
    temporary = source->Copy(sourceRect);
    source = &temporary;
    readX = -copied.Left;
    readY = -copied.Top;
  }
  Bitmap& target = dst->Target();
  ForEachClippedRect(*dst, copied, [&](const TRect& piece) {
    for (int row = piece.Top; row < piece.Bottom; ++row)
      std::memcpy(target.Row(row) + piece.Left, source->Row(row + readY) + piece.Left + readX,
                  std::size_t(piece.Width()) * sizeof(Pixel));
  });
  return true;
}

bool StretchBlt(HDC dst, int x, int y, int cx, int cy, HDC src, int x1, int y1, int cx1, int cy1,
                std::uint32_t rop) {
  if (!dst) return false;
  const TRect area = DeviceRectOfSize(*dst, x, y, cx, cy);
  if (rop != SRCCOPY) return FillRop(*dst, area, rop);
  if (!src) return false;
  if (area.IsEmpty() || cx1 == 0 || cy1 == 0) return true;

  const TRect from = DeviceRectOfSize(*src, x1, y1, cx1, cy1);
  const bool mirrorX = (cx < 0) != (cx1 < 0), mirrorY = (cy < 0) != (cy1 < 0);
  const TRect visible = IntersectRects(area, DrawableBox(*dst));
  if (visible.IsEmpty()) return true;

  // Source pixel of each visible destination column and row, sampled at pixel centres:
  // step i of n destination pixels reads step floor((i + 0.5) * m / n) of m source pixels.
  // -1 marks a source outside the source bitmap; nothing is drawn there.
  auto sampleMap = [](int dstLo, int visLo, int visHi, i64 dstSize, int srcLo, i64 srcSize,
                      bool mirror, int srcLimitLo, int srcLimitHi) {
    std::vector<int> map(std::size_t(visHi - visLo));
    for (int d = visLo; d < visHi; ++d) {
      i64 i = i64(d) - dstLo;
      if (mirror) i = dstSize - 1 - i;
      const i64 s = srcLo + i64((Wide(2 * i + 1) * srcSize) / (Wide(2) * dstSize));
      map[std::size_t(d - visLo)] = s >= srcLimitLo && s < srcLimitHi ? int(s) : -1;
    }
    return map;
  };
  const TRect srcBounds = src->Target().Bounds();
  std::vector<int> columns =
      sampleMap(area.Left, visible.Left, visible.Right, i64(area.Right) - area.Left, from.Left,
                i64(from.Right) - from.Left, mirrorX, srcBounds.Left, srcBounds.Right);
  std::vector<int> rows =
      sampleMap(area.Top, visible.Top, visible.Bottom, i64(area.Bottom) - area.Top, from.Top,
                i64(from.Bottom) - from.Top, mirrorY, srcBounds.Top, srcBounds.Bottom);

  // Within one bitmap the source is read through a copy, so writes never feed later reads.
  const Bitmap* source = &src->Target();
  Bitmap temporary;
  int readX = 0, readY = 0;
  if (source == &dst->Target()) {
    const TRect read = IntersectRects(from, srcBounds);
    temporary = source->Copy(read);
    source = &temporary;
    readX = -read.Left;
    readY = -read.Top;
  }
  Bitmap& target = dst->Target();
  ForEachClippedRect(*dst, visible, [&](const TRect& piece) {
    for (int row = piece.Top; row < piece.Bottom; ++row) {
      const int sy = rows[std::size_t(row - visible.Top)];
      if (sy < 0) continue;
      const Pixel* in = source->Row(sy + readY) + readX;
      Pixel* out = target.Row(row);
      for (int col = piece.Left; col < piece.Right; ++col) {
        const int sx = columns[std::size_t(col - visible.Left)];
        if (sx >= 0) out[col] = in[sx];
      }
    }
  });
  return true;
}

int FillRect(HDC dc, const TRect& r, COLORREF color) {
  if (!dc) return 0;
  if (color != CLR_NONE) FillDevice(*dc, ToDevice(*dc, r), PixelFromColor(color, 0));
  return 1;
}

bool PatBlt(HDC dc, int x, int y, int cx, int cy, std::uint32_t rop) {
  if (!dc) return false;
  const TRect r = DeviceRectOfSize(*dc, x, y, cx, cy);
  const Pixel brush = PixelFromColor(dc->State().brushColor, 0);
  if (rop == PATCOPY) {
    if (dc->State().brushColor != CLR_NONE) FillDevice(*dc, r, brush);
    return true;
  }
  if (rop == PATINVERT) {
    if (dc->State().brushColor != CLR_NONE) XorDevice(*dc, r, brush);
    return true;
  }
  return FillRop(*dc, r, rop);
}

bool Polygon(HDC dc, const TPoint* points, int count) {
  if (!dc || !points || count < 2) return false;
  const TPoint o = dc->State().origin;
  const std::size_t n = std::size_t(count);
  std::vector<i64> px(n), py(n);
  i64 top = std::numeric_limits<i64>::max(), bottom = std::numeric_limits<i64>::min();
  for (std::size_t i = 0; i < n; ++i) {
    px[i] = i64(points[i].X) + o.X;
    py[i] = i64(points[i].Y) + o.Y;
    top = std::min(top, py[i]);
    bottom = std::max(bottom, py[i]);
  }
  const TRect box = DrawableBox(*dc);
  const COLORREF brush = dc->State().brushColor;
  if (brush != CLR_NONE && !box.IsEmpty()) {
    const Pixel fill = PixelFromColor(brush, 0);
    std::vector<Crossing> crossings;
    const i64 firstRow = std::max<i64>(top, box.Top), lastRow = std::min<i64>(bottom, box.Bottom);
    for (i64 row = firstRow; row < lastRow; ++row)
      FillPolygonRow(*dc, px, py, int(row), dc->State().polyFillMode, box, fill, crossings);
  }
  const COLORREF pen = dc->State().penColor;
  if (pen != CLR_NONE) {
    const Pixel line = PixelFromColor(pen, 0);
    for (std::size_t i = 0; i < n; ++i) {
      const std::size_t j = (i + 1) % n;
      DrawLine(*dc, px[i], py[i], px[j], py[j], line);
    }
  }
  return true;
}

bool MoveToEx(HDC dc, int x, int y, TPoint* old) {
  if (!dc) return false;
  if (old) *old = dc->State().currentPosition;
  dc->State().currentPosition = {x, y};
  return true;
}

bool LineTo(HDC dc, int x, int y) {
  if (!dc) return false;
  const TPoint o = dc->State().origin, from = dc->State().currentPosition;
  const COLORREF pen = dc->State().penColor;
  if (pen != CLR_NONE) {
    DrawLine(*dc, i64(from.X) + o.X, i64(from.Y) + o.Y, i64(x) + o.X, i64(y) + o.Y,
             PixelFromColor(pen, 0));
  }
  dc->State().currentPosition = {x, y};
  return true;
}

bool Polyline(HDC dc, const TPoint* points, int count) {
  if (!dc || !points || count < 2) return false;
  const COLORREF pen = dc->State().penColor;
  if (pen == CLR_NONE) return true;
  const TPoint o = dc->State().origin;
  for (int i = 0; i + 1 < count; ++i)
    DrawLine(*dc, i64(points[i].X) + o.X, i64(points[i].Y) + o.Y, i64(points[i + 1].X) + o.X,
             i64(points[i + 1].Y) + o.Y, PixelFromColor(pen, 0));
  return true;
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF c) {
  if (!dc) return CLR_INVALID;
  const TPoint p = ToDevice(*dc, TPoint{x, y});
  const Pixel value = PixelFromColor(c, 0);
  bool drawn = false;
  ForEachClippedRect(*dc, PixelRect(p), [&](const TRect&) {
    dc->Target().Set(p.X, p.Y, value);
    drawn = true;
  });
  return drawn ? ColorFromPixel(value) : CLR_INVALID;
}

COLORREF GetPixel(HDC dc, int x, int y) {
  if (!dc) return CLR_INVALID;
  const TPoint p = ToDevice(*dc, TPoint{x, y});
  COLORREF result = CLR_INVALID;
  ForEachClippedRect(*dc, PixelRect(p),
                     [&](const TRect&) { result = ColorFromPixel(dc->Target().At(p.X, p.Y)); });
  return result;
}

}  // namespace gfx
