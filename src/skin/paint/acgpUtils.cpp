#include "skin/paint/acgpUtils.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "skin/paint/sPixelAccess.h"
#include "skin/paint/sStretch.h"

namespace skin::paint {

namespace {

// Pixel word of the colour t of the way from a to b (0..1), every channel rounded.
std::uint32_t Between(TsColor a, TsColor b, double t) {
  auto ch = [t](int x, int y) { return std::uint32_t(std::lrint(x + (y - x) * t)); };
  return ch(a.B, b.B) | ch(a.G, b.G) << 8 | ch(a.R, b.R) << 16 | ch(a.A, b.A) << 24;
}

// Straight-alpha source-over with exact weights (an opaque colour replaces the pixel), rounded.
std::uint32_t Over(std::uint32_t d, std::uint32_t s) {
  std::uint32_t sa = Byte(s, 3), da = Byte(d, 3);
  std::uint32_t keep = da * (255 - sa);  // weight of the destination, times 255
  std::uint32_t oa = sa * 255 + keep;    // resulting alpha, times 255
  if (oa == 0) return 0;
  std::uint32_t out = (oa + 127) / 255 << 24;
  for (int c = 0; c < 3; ++c)
    out |= (Byte(s, c) * sa * 255 + Byte(d, c) * keep + oa / 2) / oa << (8 * c);
  return out;
}

void BlendSpan(std::uint32_t* d, int n, std::uint32_t colour) {
  for (int i = 0; i < n; ++i) d[i] = Over(d[i], colour);
}

// Twice the signed area of (a, b, p).
double Edge(double ax, double ay, double bx, double by, double px, double py) {
  return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
}

// Barycentric weights of the pixel centre (px, py) in triangle v; false when outside.
bool Weights(const double (*v)[2], double px, double py, double w[3]) {
  double area = Edge(v[0][0], v[0][1], v[1][0], v[1][1], v[2][0], v[2][1]);
  if (area == 0) return false;
  w[0] = Edge(v[1][0], v[1][1], v[2][0], v[2][1], px, py) / area;
  w[1] = Edge(v[2][0], v[2][1], v[0][0], v[0][1], px, py) / area;
  w[2] = Edge(v[0][0], v[0][1], v[1][0], v[1][1], px, py) / area;
  return w[0] >= 0 && w[1] >= 0 && w[2] >= 0;
}

}  // namespace

void acgpGradientRectangleV(Bitmap& bmp, const TRect& clip, TsColor color1, TsColor color2, int x,
                            int y, int width, int height) {
  TRect area = IntersectRects(IntersectRects(RectOfSize(x, y, width, height), clip), bmp.Bounds());
  for (int row = area.Top; row < area.Bottom; ++row) {
    double t = height > 1 ? double(row - y) / (height - 1) : 0;
    BlendSpan(bmp.Row(row) + area.Left, area.Width(), Between(color1, color2, t));
  }
}

void acgpGradientRectangleH(Bitmap& bmp, const TRect& clip, TsColor color1, TsColor color2, int x,
                            int y, int width, int height) {
  TRect area = IntersectRects(IntersectRects(RectOfSize(x, y, width, height), clip), bmp.Bounds());
  if (area.IsEmpty()) return;
  std::vector<std::uint32_t> span(std::size_t(area.Width()));
  for (int col = area.Left; col < area.Right; ++col) {
    double t = width > 1 ? double(col - x) / (width - 1) : 0;
    span[std::size_t(col - area.Left)] = Between(color1, color2, t);
  }
  for (int row = area.Top; row < area.Bottom; ++row) {
    std::uint32_t* d = bmp.Row(row) + area.Left;
    for (int i = 0; i < area.Width(); ++i) d[i] = Over(d[i], span[std::size_t(i)]);
  }
}

void acgpGradientRectangle(Bitmap& bmp, const TRect& r, const TsColor corners[4],
                           TsColor centerColor) {
  TRect area = IntersectRects(r, bmp.Bounds());
  double pts[4][2] = {{double(r.Left), double(r.Top)},
                      {double(r.Right), double(r.Top)},
                      {double(r.Right), double(r.Bottom)},
                      {double(r.Left), double(r.Bottom)}};
  double cx = (r.Left + r.Right) / 2.0, cy = (r.Top + r.Bottom) / 2.0;
  for (int y = area.Top; y < area.Bottom; ++y) {
    std::uint32_t* d = bmp.Row(y);
    for (int x = area.Left; x < area.Right; ++x) {
      // Each pixel belongs to the first of the four centre triangles that holds it.
      for (int k = 0; k < 4; ++k) {
        double tri[3][2] = {
            {pts[k][0], pts[k][1]}, {pts[(k + 1) % 4][0], pts[(k + 1) % 4][1]}, {cx, cy}};
        double w[3];
        if (!Weights(tri, x + 0.5, y + 0.5, w)) continue;
        const TsColor* c[3] = {&corners[k], &corners[(k + 1) % 4], &centerColor};
        auto ch = [&](std::uint8_t TsColor::*f) {
          return std::uint32_t(std::clamp(
              std::lrint(w[0] * (*c[0]).*f + w[1] * (*c[1]).*f + w[2] * (*c[2]).*f), 0L, 255L));
        };
        std::uint32_t p =
            ch(&TsColor::B) | ch(&TsColor::G) << 8 | ch(&TsColor::R) << 16 | ch(&TsColor::A) << 24;
        d[x] = Over(d[x], p);
        break;
      }
    }
  }
}

void GradientFillAC(Bitmap& bmp, const TTriVertex* vertices, int count, const int (*triangles)[3],
                    int triangleCount) {
  for (int t = 0; t < triangleCount; ++t) {
    const int* idx = triangles[t];
    if (std::any_of(idx, idx + 3, [count](int i) { return i < 0 || i >= count; })) continue;
    const TTriVertex* v[3] = {&vertices[idx[0]], &vertices[idx[1]], &vertices[idx[2]]};
    double tri[3][2] = {{double(v[0]->x), double(v[0]->y)},
                        {double(v[1]->x), double(v[1]->y)},
                        {double(v[2]->x), double(v[2]->y)}};
    TRect box{std::min({v[0]->x, v[1]->x, v[2]->x}), std::min({v[0]->y, v[1]->y, v[2]->y}),
              std::max({v[0]->x, v[1]->x, v[2]->x}), std::max({v[0]->y, v[1]->y, v[2]->y})};
    box = IntersectRects(box, bmp.Bounds());
    for (int y = box.Top; y < box.Bottom; ++y) {
      std::uint32_t* d = bmp.Row(y);
      for (int x = box.Left; x < box.Right; ++x) {
        double w[3];
        if (!Weights(tri, x + 0.5, y + 0.5, w)) continue;
        auto ch = [&](std::uint16_t TTriVertex::*f) {
          double s = w[0] * (*v[0]).*f + w[1] * (*v[1]).*f + w[2] * (*v[2]).*f;
          return std::uint32_t(std::clamp(int(s) >> 8, 0, 255));
        };
        d[x] = ch(&TTriVertex::Blue) | ch(&TTriVertex::Green) << 8 | ch(&TTriVertex::Red) << 16 |
               0xFF000000;
      }
    }
  }
}

void acgpDrawLine(Bitmap& bmp, int x1, int y1, int x2, int y2, std::uint32_t color, int width) {
  // Coverage of each pixel by a capsule around the segment, one pixel of soft edge.
  std::uint32_t c = SwapRedBlue(color);
  std::uint32_t alpha = (c >> 24) ? c >> 24 : 255;
  double half = std::max(1, width) / 2.0;
  double dx = x2 - x1, dy = y2 - y1, len2 = dx * dx + dy * dy;
  int reach = int(std::ceil(half)) + 1;
  TRect box = IntersectRects({std::min(x1, x2) - reach, std::min(y1, y2) - reach,
                              std::max(x1, x2) + reach + 1, std::max(y1, y2) + reach + 1},
                             bmp.Bounds());
  for (int y = box.Top; y < box.Bottom; ++y) {
    std::uint32_t* d = bmp.Row(y);
    for (int x = box.Left; x < box.Right; ++x) {
      double t = len2 > 0 ? std::clamp(((x - x1) * dx + (y - y1) * dy) / len2, 0.0, 1.0) : 0;
      double dist = std::hypot(x - (x1 + t * dx), y - (y1 + t * dy));
      double cover = std::clamp(half + 0.5 - dist, 0.0, 1.0);
      if (cover <= 0) continue;
      std::uint32_t a = std::uint32_t(std::lrint(cover * alpha));
      d[x] = Over(d[x], (c & 0x00FFFFFF) | a << 24);
    }
  }
}

void acgpStretchRect(const Bitmap& src, Bitmap& dst, const TRect& srcRect, const TRect& dstRect) {
  TRect part = IntersectRects(srcRect, src.Bounds());
  if (part.IsEmpty() || dstRect.IsEmpty()) return;
  Bitmap scaled;
  Bitmap piece = src.Copy(part);
  if (part.Width() == dstRect.Width() && part.Height() == dstRect.Height())
    scaled = piece;
  else
    Stretch(piece, scaled, dstRect.Width(), dstRect.Height(), ftMitchell);
  if (scaled.Empty()) {
    // Too small a side for the filter: nearest-neighbour instead.
    scaled = Bitmap(dstRect.Width(), dstRect.Height());
    StretchCopy(scaled, 0, 0, dstRect.Width(), dstRect.Height(), piece, 0, 0, piece.Width(),
                piece.Height());
  }
  dst.CopyFrom(scaled, scaled.Bounds(), {dstRect.Left, dstRect.Top});
}

}  // namespace skin::paint
