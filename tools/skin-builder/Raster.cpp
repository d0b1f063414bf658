#include "Raster.h"

#include <cmath>

#include "skin/data/acColor.h"

namespace skinbuilder {

namespace {

constexpr int kSamples = 4;  // per side: 16 samples a pixel

float Clamp01(float v) {
  return std::clamp(v, 0.0f, 1.0f);
}

std::uint8_t Byte(float v) {
  return std::uint8_t(std::lround(Clamp01(v) * 255));
}

}  // namespace

TRgb FromColor(std::uint32_t color) {
  return {float(color & 0xFF) / 255, float((color >> 8) & 0xFF) / 255,
          float((color >> 16) & 0xFF) / 255};
}

std::uint32_t ToColor(const TRgb& c) {
  return std::uint32_t(Byte(c.r)) | (std::uint32_t(Byte(c.g)) << 8) |
         (std::uint32_t(Byte(c.b)) << 16);
}

TRgb Mix(const TRgb& a, const TRgb& b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

TLayer::TLayer(int width, int height)
    : FWidth(width), FHeight(height), FPixels(std::size_t(width) * std::size_t(height)) {}

void TLayer::Over(int x, int y, const TRgb& c, float alpha) {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight || alpha <= 0) return;
  TPix& p = FPixels[Index(x, y)];
  alpha = Clamp01(alpha);
  const float a = alpha + p.a * (1 - alpha);
  if (a <= 0) return;
  // Straight colours: weight the old colour by what shows through.
  const float keep = p.a * (1 - alpha) / a;
  p.c = {c.r * (alpha / a) + p.c.r * keep, c.g * (alpha / a) + p.c.g * keep,
         c.b * (alpha / a) + p.c.b * keep};
  p.a = a;
}

void TLayer::Coverage(float x0, float y0, float x1, float y1,
                      const std::function<bool(float, float)>& inside,
                      const std::function<void(int, int, float)>& cover) {
  const int px0 = std::max(0, int(std::floor(x0))), py0 = std::max(0, int(std::floor(y0)));
  const int px1 = std::min(FWidth, int(std::ceil(x1))), py1 = std::min(FHeight, int(std::ceil(y1)));
  for (int y = py0; y < py1; ++y) {
    for (int x = px0; x < px1; ++x) {
      int hits = 0;
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          hits += inside(x + (sx + 0.5f) / kSamples, y + (sy + 0.5f) / kSamples) ? 1 : 0;
        }
      }
      if (hits) cover(x, y, float(hits) / (kSamples * kSamples));
    }
  }
}

namespace {

// Inside test of a rectangle with rounded corners (top radius rt, bottom radius rb).
std::function<bool(float, float)> RoundRect(float x0, float y0, float x1, float y1, float rt,
                                            float rb) {
  const float limit = std::min((x1 - x0) / 2, (y1 - y0) / 2);
  rt = std::clamp(rt, 0.0f, limit);
  rb = std::clamp(rb < 0 ? rt : rb, 0.0f, limit);
  return [=](float x, float y) {
    if (x < x0 || x >= x1 || y < y0 || y >= y1) return false;
    const float r = y < (y0 + y1) / 2 ? rt : rb;
    const float cx = std::clamp(x, x0 + r, x1 - r);
    const float cy = std::clamp(y, y0 + r, y1 - r);
    const float dx = x - cx, dy = y - cy;
    return dx * dx + dy * dy <= r * r;
  };
}

}  // namespace

void TLayer::FillRoundRect(float x0, float y0, float x1, float y1, float radius,
                           const TShader& shader, float alpha, float radiusBottom) {
  Coverage(x0, y0, x1, y1, RoundRect(x0, y0, x1, y1, radius, radiusBottom),
           [&](int x, int y, float f) { Over(x, y, shader(x + 0.5f, y + 0.5f), alpha * f); });
}

void TLayer::Cut(float x0, float y0, float x1, float y1, float radius) {
  Coverage(x0, y0, x1, y1, RoundRect(x0, y0, x1, y1, radius, -1),
           [&](int x, int y, float f) { FPixels[Index(x, y)].a *= 1 - f; });
}

void TLayer::Stroke(float ax, float ay, float bx, float by, float width, const TRgb& c,
                    float alpha) {
  const float h = width / 2;
  const float dx = bx - ax, dy = by - ay, len2 = dx * dx + dy * dy;
  const auto inside = [=](float x, float y) {
    float t = len2 > 0 ? ((x - ax) * dx + (y - ay) * dy) / len2 : 0;
    t = Clamp01(t);
    const float ex = x - (ax + t * dx), ey = y - (ay + t * dy);
    return ex * ex + ey * ey <= h * h;
  };
  Coverage(std::min(ax, bx) - h, std::min(ay, by) - h, std::max(ax, bx) + h, std::max(ay, by) + h,
           inside, [&](int x, int y, float f) { Over(x, y, c, alpha * f); });
}

void TLayer::FillDisc(float cx, float cy, float radius, const TRgb& c, float alpha) {
  FillRoundRect(cx - radius, cy - radius, cx + radius, cy + radius, radius, Solid(c), alpha);
}

void TLayer::FillTriangle(float ax, float ay, float bx, float by, float cx, float cy, const TRgb& c,
                          float alpha) {
  const auto side = [](float px, float py, float qx, float qy, float x, float y) {
    return (qx - px) * (y - py) - (qy - py) * (x - px);
  };
  const auto inside = [=](float x, float y) {
    const float d1 = side(ax, ay, bx, by, x, y), d2 = side(bx, by, cx, cy, x, y),
                d3 = side(cx, cy, ax, ay, x, y);
    return (d1 >= 0 && d2 >= 0 && d3 >= 0) || (d1 <= 0 && d2 <= 0 && d3 <= 0);
  };
  Coverage(std::min({ax, bx, cx}), std::min({ay, by, cy}), std::max({ax, bx, cx}),
           std::max({ay, by, cy}), inside,
           [&](int x, int y, float f) { Over(x, y, c, alpha * f); });
}

void TLayer::Draw(const TLayer& src, int x, int y) {
  for (int sy = 0; sy < src.FHeight; ++sy) {
    for (int sx = 0; sx < src.FWidth; ++sx) {
      const TPix& p = src.FPixels[src.Index(sx, sy)];
      Over(x + sx, y + sy, p.c, p.a);
    }
  }
}

std::vector<bool> TLayer::Outside() const {
  std::vector<bool> outside(FPixels.size(), false);
  std::vector<std::pair<int, int>> todo;
  auto visit = [&](int x, int y) {
    if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return;
    const std::size_t i = Index(x, y);
    if (outside[i] || FPixels[i].a > kUncovered) return;
    outside[i] = true;
    todo.emplace_back(x, y);
  };
  for (int x = 0; x < FWidth; ++x) {
    visit(x, 0);
    visit(x, FHeight - 1);
  }
  for (int y = 0; y < FHeight; ++y) {
    visit(0, y);
    visit(FWidth - 1, y);
  }
  while (!todo.empty()) {
    const auto [x, y] = todo.back();
    todo.pop_back();
    visit(x - 1, y);
    visit(x + 1, y);
    visit(x, y - 1);
    visit(x, y + 1);
  }
  return outside;
}

void TLayer::WriteTo(gfx::Bitmap& dst, int x, int y, int maskRow, bool closed) const {
  const gfx::Pixel key = gfx::PixelFromColor(skin::data::clFuchsia, 255);
  const std::vector<bool> outside = closed && maskRow >= 0 ? Outside() : std::vector<bool>();
  for (int py = 0; py < FHeight; ++py) {
    for (int px = 0; px < FWidth; ++px) {
      const TPix& p = FPixels[Index(px, py)];
      gfx::Pixel out = key;
      if (maskRow >= 0) {
        // Fully transparent pixels stay the key colour; the mask carries partial cover. White
        // under a white mask leaves the destination exactly as it was.
        if (p.a > kUncovered)
          out = gfx::PixelFromColor(ToColor(p.c), 255);
        else if (!outside.empty() && !outside[Index(px, py)])
          out = gfx::PixelFromColor(0xFFFFFF, 255);
        const std::uint8_t m = Byte(1 - p.a);
        dst.Set(x + px, y + maskRow + py, gfx::MakePixel(m, m, m, 255));
      } else if (p.a >= 0.5f) {
        out = gfx::PixelFromColor(ToColor(p.c), 255);
      }
      dst.Set(x + px, y + py, out);
    }
  }
}

}  // namespace skinbuilder
