#include "skin/paint/sGradient.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "platform/gfx/GraphicsError.h"
#include "skin/paint/acgpUtils.h"
#include "skin/paint/sPixelAccess.h"
#include "skin/paint/sPixelKernels.h"

namespace skin::paint {

namespace {

std::vector<std::string_view> SplitItems(std::string_view s) {
  std::vector<std::string_view> items;
  while (true) {
    std::size_t p = s.find(';');
    items.push_back(s.substr(0, p));
    if (p == std::string_view::npos) break;
    s.remove_prefix(p + 1);
  }
  return items;
}

// A decimal (or "$" hexadecimal) integer, kept to its low 32 bits.
std::int32_t ParseInt(std::string_view item) {
  std::string_view t = item;
  while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
  while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
  bool neg = !t.empty() && t.front() == '-';
  if (!t.empty() && (t.front() == '-' || t.front() == '+')) t.remove_prefix(1);
  int base = 10;
  if (!t.empty() && t.front() == '$') {
    base = 16;
    t.remove_prefix(1);
  }
  std::uint64_t v = 0;
  auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v, base);
  if (t.empty() || ec != std::errc() || end != t.data() + t.size() || v > 0xFFFFFFFFull)
    throw gfx::GraphicsError("'" + std::string(item) + "' is not a valid integer value");
  std::uint32_t u = std::uint32_t(v);
  return std::int32_t(neg ? 0u - u : u);
}

// Floating-point stepping of one segment: value i of n + 1 (i = 0 is a, i = n is about b),
// each channel rounded, opaque.
class TStepper {
 public:
  TStepper(TsColor a, TsColor b, int n)
      : v_{double(a.R), double(a.G), double(a.B)},
        step_{n > 0 ? (b.R - a.R) / double(n) : 0, n > 0 ? (b.G - a.G) / double(n) : 0,
              n > 0 ? (b.B - a.B) / double(n) : 0} {}
  std::uint32_t Next() {
    std::uint32_t p = std::uint32_t(std::lrint(v_[2])) | std::uint32_t(std::lrint(v_[1])) << 8 |
                      std::uint32_t(std::lrint(v_[0])) << 16 | 0xFF000000;
    for (int c = 0; c < 3; ++c) v_[c] += step_[c];
    return p;
  }

 private:
  double v_[3];
  double step_[3];
};

bool Transparent(const TsGradPoint& p) {
  return (p.Mode & PM_TRANSPARENT) != 0;
}

// The colours of the rows (direction 0) or columns (PM_VERTICAL) of the clipped area c that
// plain segments fill, with a flag per position; transparent segments are drawn at once through
// draw(first, count, a, b). A later segment wins where two meet.
struct TLayout {
  std::vector<std::uint32_t> colours;
  std::vector<bool> plain;
};

template <typename DrawTransparent>
TLayout Layout(const TRect& c, const TsGradArray& data, int dir, int offsetY, bool allowTransparent,
               DrawTransparent draw) {
  int n = int(data.size()), lo = dir == 0 ? c.Top : c.Left, hi = dir == 0 ? c.Bottom : c.Right;
  TLayout out{std::vector<std::uint32_t>(std::size_t(hi - lo), 0),
              std::vector<bool>(std::size_t(hi - lo), false)};
  auto mark = [&](int from, int to, bool plain) {
    for (int i = std::max(from, lo); i < std::min(to, hi); ++i)
      out.plain[std::size_t(i - lo)] = plain;
  };
  auto step = [&](int from, int count, int steps, TsColor a, TsColor b) {
    TStepper s(a, b, steps);
    for (int i = from; i < from + count; ++i) {
      std::uint32_t p = s.Next();
      if (i >= lo && i < hi) out.colours[std::size_t(i - lo)] = p;
    }
    mark(from, from + count, true);
  };
  int cur = lo + (dir == 0 ? offsetY : 0);
  int scale = offsetY + c.Height();
  for (int k = 1; k < n; ++k) {
    const TsGradPoint &a = data[k - 1], &b = data[k];
    bool trans = allowTransparent && (Transparent(a) || Transparent(b));
    int end;
    if (dir == 0) {
      end = k == n - 1 ? hi : std::min(cur + (b.Percent - a.Percent) * scale / 100, hi);
    } else {
      // Plain segments end on their last column (inclusive), transparent ones after it.
      int limit = trans ? hi : hi - 1;
      end = int(std::lrint(cur + (b.Percent - a.Percent) * (c.Width() / 100.0)));
      end = k == n - 1 ? limit : std::min(end, limit);
    }
    if (trans && end > cur) {
      mark(cur, end, false);
      draw(cur, end - cur, a.Color, b.Color);
    } else if (!trans && dir == 0 && end > cur) {
      step(cur, end - cur, end - cur, a.Color, b.Color);
    } else if (!trans && dir != 0 && end >= cur) {
      step(cur, end - cur + 1, end - cur, a.Color, b.Color);
    }
    cur = std::max(cur, end);
  }
  return out;
}

void PaintDiagonal(Bitmap& bmp, const TRect& c, const TsGradArray& data) {
  if (data[0].Mode & PM_OVERLAY) {
    TsColor corners[4] = {data[0].Color, data[2].Color, data[3].Color, data[4].Color};
    acgpGradientRectangle(bmp, c, corners, data[1].Color);
    return;
  }
  auto vertex = [&](int x, int y, const TsGradPoint& p) {
    return TTriVertex{x,
                      y,
                      std::uint16_t(p.Color.R << 8),
                      std::uint16_t(p.Color.G << 8),
                      std::uint16_t(p.Color.B << 8),
                      0xFF00};
  };
  TTriVertex v[5] = {vertex(c.Left, c.Top, data[0]),
                     vertex((c.Left + c.Right) / 2, (c.Top + c.Bottom) / 2, data[1]),
                     vertex(c.Right, c.Top, data[2]), vertex(c.Right, c.Bottom, data[3]),
                     vertex(c.Left, c.Bottom, data[4])};
  const int tris[4][3] = {{0, 1, 2}, {1, 2, 3}, {0, 1, 4}, {4, 1, 3}};
  GradientFillAC(bmp, v, 5, tris, 4);
}

}  // namespace

void PrepareGradArray(std::string_view gradientStr, TsGradArray& gradArray) {
  gradArray.clear();
  if (gradientStr.size() <= 4) return;
  char last = gradientStr.back();
  if (last == '0') {
    auto items = SplitItems(gradientStr);
    int n = int(items.size()) / 5, sum = 0;
    for (int c = 0; c < n; ++c) {
      TsGradPoint p;
      p.Index = std::uint16_t(c);
      p.Color = TsColor::Of(std::uint32_t(ParseInt(items[5 * c])));
      p.Color.A = 255;
      p.Percent = std::uint8_t(std::min(100, sum));
      p.Mode = ParseInt(items[5 * c + 3]) & ~PM_TRANSPARENT;
      sum = std::min(100, sum + std::clamp(ParseInt(items[5 * c + 2]), 0, 100));
      gradArray.push_back(p);
    }
    if (n > 0 && (gradArray[0].Mode & MASK_DIRECTION) == PM_DIAGONAL) {
      while (gradArray.size() < 5) {
        TsGradPoint p = gradArray.back();
        p.Index = std::uint16_t(gradArray.size());
        gradArray.push_back(p);
      }
    }
  } else {
    // The last character counts the stops ("A" one); it is not part of the last item.
    std::string_view body = gradientStr.substr(0, gradientStr.size() - 1);
    if (!body.empty() && body.back() == ';') body.remove_suffix(1);
    auto items = SplitItems(body);
    int n = std::min(int(last) - 64, int(items.size()) / 3);
    for (int b = 0; b < n; ++b) {
      TsGradPoint p;
      p.Index = std::uint16_t(b);
      p.Color = TsColor::Of(std::uint32_t(ParseInt(items[3 * b])));
      p.Percent = std::uint8_t(std::clamp(ParseInt(items[3 * b + 1]), 0, 100));
      p.Mode = ParseInt(items[3 * b + 2]);
      gradArray.push_back(p);
      if (p.Mode & PM_TRANSPARENT) gradArray[0].Mode |= PM_OVERLAY;
    }
  }
  if (!gradArray.empty()) gradArray.back().Percent = 100;
}

void PaintGrad(Bitmap& bmp, const TRect& aRect, const TsGradArray& data, int, int offsetY) {
  TRect c = IntersectRects(aRect, bmp.Bounds());
  if (c.IsEmpty() || data.empty()) return;
  int dir = data[0].Mode & MASK_DIRECTION;
  const auto& k = Kernels();
  if (dir == 0) {
    // Transparent segments run from the row above them; that row itself is left alone.
    auto drawV = [&](int first, int count, TsColor a, TsColor b) {
      TRect clip = IntersectRects({c.Left, first, c.Right, first + count}, c);
      acgpGradientRectangleV(bmp, clip, a, b, c.Left, first - 1, c.Width(), count + 1);
    };
    TLayout rows = Layout(c, data, 0, offsetY, true, drawV);
    for (int y = c.Top; y < c.Bottom; ++y)
      if (rows.plain[std::size_t(y - c.Top)])
        k.Fill(bmp.Row(y) + c.Left, c.Width(), rows.colours[std::size_t(y - c.Top)]);
  } else if (dir == PM_VERTICAL) {
    auto drawH = [&](int first, int count, TsColor a, TsColor b) {
      TRect clip = IntersectRects({first, c.Top, first + count, c.Bottom}, c);
      acgpGradientRectangleH(bmp, clip, a, b, first - 1, c.Top, count + 1, c.Height());
    };
    TLayout cols = Layout(c, data, PM_VERTICAL, 0, true, drawH);
    // The plain columns of the first row, copied to every row span by span.
    for (int x = 0; x < c.Width();) {
      if (!cols.plain[std::size_t(x)]) {
        ++x;
        continue;
      }
      int x0 = x;
      while (x < c.Width() && cols.plain[std::size_t(x)]) ++x;
      for (int y = c.Top; y < c.Bottom; ++y)
        std::copy(cols.colours.begin() + x0, cols.colours.begin() + x, bmp.Row(y) + c.Left + x0);
    }
  } else if (dir == PM_DIAGONAL && data.size() >= 5) {
    PaintDiagonal(bmp, c, data);
  }
}

void PaintGradTxt(Bitmap& bmp, const TRect& aRect, const TsGradArray& data,
                  const Bitmap& textureBmp, const TRect& textureRect, int textureAlpha,
                  std::uint8_t alphaChannel) {
  TRect c = IntersectRects(aRect, bmp.Bounds());
  TRect t = IntersectRects(textureRect, textureBmp.Bounds());
  if (c.IsEmpty() || t.IsEmpty() || data.empty()) return;
  int dir = data[0].Mode & MASK_DIRECTION;
  if (dir != 0 && dir != PM_VERTICAL) return;
  auto none = [](int, int, TsColor, TsColor) {};
  std::vector<std::uint32_t> colours = Layout(c, data, dir, 0, false, none).colours;
  const auto& k = Kernels();
  int keep = 256 - std::clamp(textureAlpha, 0, 255), tw = t.Width(), th = t.Height();
  std::uint32_t alpha = std::uint32_t(alphaChannel) << 24;
  // One row: the gradient, the texture tiles summed over it, then the alpha byte.
  auto compose = [&](int y) {
    std::uint32_t* d = bmp.Row(y) + c.Left;
    if (dir == 0)
      k.Fill(d, c.Width(), colours[std::size_t(y - c.Top)]);
    else
      std::copy(colours.begin(), colours.end(), d);
    // Tiles are laid from the rectangle's own origin, also where clipping cut it.
    const std::uint32_t* tex = textureBmp.Row(t.Top + (y - aRect.Top) % th) + t.Left;
    for (int x = 0, phase = (c.Left - aRect.Left) % tw; x < c.Width(); phase = 0) {
      int n = std::min(tw - phase, c.Width() - x);
      k.Sum(d + x, tex + phase, n, keep);
      x += n;
    }
    for (int x = 0; x < c.Width(); ++x) d[x] = (d[x] & 0x00FFFFFF) | alpha;
  };
  if (dir == 0) {
    for (int y = c.Top; y < c.Bottom; ++y) compose(y);
    return;
  }
  // Left to right: one texture period of rows, then copies of it downwards.
  int period = std::min(th, c.Height());
  for (int y = c.Top; y < c.Top + period; ++y) compose(y);
  for (int y = c.Top + period; y < c.Bottom; ++y)
    std::copy_n(bmp.Row(y - period) + c.Left, c.Width(), bmp.Row(y) + c.Left);
}

std::unique_ptr<Bitmap> MakeShadow(std::uint32_t color, int radius, int offset, int bodyHeight,
                                   int bodyWidth, int blurSize, bool maskMode) {
  int r = std::max(0, radius), off = std::max(0, offset);
  int bw = std::max(0, bodyWidth), bh = std::max(0, bodyHeight);
  auto bmp = CreateBmp32(2 * r + bw + 1, 2 * r + bh + off + 1);
  // The fade runs over blurSize pixels, or over the whole radius when no blur is given (this
  // also keeps the mask formula from dividing by zero at blurSize -1).
  int fade = blurSize > 0 ? blurSize : r, ri = r - fade;
  std::uint32_t opacity = color >> 24;
  // The upper-left quarter, centre at (r, r + off).
  int qh = r + off + 1;
  std::vector<std::uint32_t> quarter(std::size_t(r + 1) * qh);
  for (int y = 0; y < qh; ++y) {
    for (int x = 0; x <= r; ++x) {
      double dist = std::hypot(double(x - r), double(y - r - off));
      std::uint32_t p;
      if (dist > r) {
        p = maskMode ? 0xFFFFFFFF : 0;
      } else if (maskMode) {
        double h =
            dist <= ri ? 255 : (1 - (dist - ri) / (fade + 1)) * 255 * (r + 1 - dist) / (fade + 1);
        std::uint32_t g = 255 - std::uint32_t(std::clamp(std::lrint(h), 0L, 255L));
        p = 0xFF000000 | g * 0x010101u;
      } else {
        double d = r - ri;
        double w = dist <= ri || d <= 0 ? 255 : (r - dist + 1) * (1 - (dist - ri) / d) / d * 255;
        std::uint32_t a = opacity * std::uint32_t(std::clamp(std::lrint(w), 0L, 255L)) >> 8;
        p = a << 24;
        for (int ch = 0; ch < 3; ++ch) p |= (Byte(color, 2 - ch) * 255 * a >> 16) << (8 * ch);
      }
      quarter[std::size_t(y) * (r + 1) + x] = p;
    }
  }
  // Mirror right and down; the body rows repeat the centre row, the body columns the centre
  // column.
  int cy = r + off;
  for (int y = 0; y < bmp->Height(); ++y) {
    int qy = y <= cy ? y : y <= cy + bh ? cy : 2 * cy + bh - y;
    std::uint32_t* d = bmp->Row(y);
    const std::uint32_t* q = quarter.data() + std::size_t(qy) * (r + 1);
    for (int x = 0; x < bmp->Width(); ++x) {
      int qx = x <= r ? x : x <= r + bw ? r : 2 * r + bw - x;
      d[x] = q[qx];
    }
  }
  return bmp;
}

}  // namespace skin::paint
