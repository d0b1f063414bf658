#include "skin/paint/sGraphUtils.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "skin/paint/sPixelAccess.h"
#include "skin/paint/sPixelKernels.h"

namespace skin::paint {

int DefDisabledSaturation = -90;
int DefBlendDisabled = 100;

namespace {

std::uint32_t OpaqueColour(TColor color, std::uint8_t alpha) {
  return (SwapRedBlue(std::uint32_t(color)) & 0x00FFFFFF) | std::uint32_t(alpha) << 24;
}

// Round(0.299 R + 0.587 G + 0.114 B) of a pixel-order word.
std::uint32_t Luminance(std::uint32_t p) {
  return std::uint32_t(std::lrint(0.299 * Byte(p, 2) + 0.587 * Byte(p, 1) + 0.114 * Byte(p, 0)));
}

}  // namespace

void FillRect32(Bitmap& bmp, const TRect& r, TColor color, std::uint8_t alpha) {
  TRect c = IntersectRects(r, bmp.Bounds());
  if (c.IsEmpty()) return;
  const auto& k = Kernels();
  std::uint32_t v = OpaqueColour(color, alpha);
  for (int y = c.Top; y < c.Bottom; ++y) k.Fill(bmp.Row(y) + c.Left, c.Width(), v);
}

void FillDCBorder32(Bitmap& bmp, const TRect& r, int wl, int wt, int wr, int wb, TColor color) {
  // Bands wider than r stop at its edges.
  for (const TRect& band :
       {TRect{r.Left, r.Top, r.Right, r.Top + wt}, TRect{r.Left, r.Top + wt, r.Left + wl, r.Bottom},
        TRect{r.Left + wl, r.Bottom - wb, r.Right, r.Bottom},
        TRect{r.Right - wr, r.Top + wt, r.Right, r.Bottom - wb}})
    FillRect32(bmp, IntersectRects(band, r), color, 255);
}

void BlendColorRect(Bitmap& bmp, const TRect& r, int blend, TColor color) {
  TRect c = IntersectRects(InclusiveToExclusive(r), bmp.Bounds());
  if (c.IsEmpty()) return;
  const auto& k = Kernels();
  int b = std::clamp(blend, 0, 255);
  std::uint32_t v = SwapRedBlue(std::uint32_t(color));
  for (int y = c.Top; y < c.Bottom; ++y) k.BlendColor(bmp.Row(y) + c.Left, c.Width(), b, v);
}

void BlendRect32(Bitmap& bmp, const TRect& r, TColor color, int blendValue, std::uint8_t alpha) {
  TRect c = IntersectRects(r, bmp.Bounds());
  int bv = std::clamp(blendValue, 0, 100);
  std::uint32_t k = SwapRedBlue(std::uint32_t(color));
  for (int y = c.Top; y < c.Bottom; ++y) {
    std::uint32_t* d = bmp.Row(y);
    for (int x = c.Left; x < c.Right; ++x) {
      std::uint32_t out = std::uint32_t(alpha) << 24;
      for (int ch = 0; ch < 3; ++ch) {
        int v = int(Byte(d[x], ch));
        out |= std::uint32_t(v - bv * (v - int(Byte(k, ch))) / 100) << (8 * ch);
      }
      d[x] = out;
    }
  }
}

TColor BlendColors(TColor color1, TColor color2, int blendOf1) {
  std::uint32_t a = std::uint32_t(color1), b = std::uint32_t(color2);
  std::uint32_t w = std::uint32_t(std::clamp(blendOf1, 0, 255));
  std::uint32_t out = a & 0xFF000000;
  for (int c = 0; c < 3; ++c) out |= (Byte(a, c) * w + Byte(b, c) * (255 - w)) >> 8 << (8 * c);
  return TColor(out);
}

TsColor_ ChangeBrightness(TsColor_ color, int delta) {
  if (delta == 0) return color;
  auto f = [delta](std::uint8_t c) -> std::uint8_t {
    if (delta > 0) return std::uint8_t(std::min(255, c + (c * delta >> 8)));
    return std::uint8_t(std::max(0, c - (c * -delta >> 8)));
  };
  return {f(color.B), f(color.G), f(color.R), color.A};
}

TsColor_ ChangeSaturation(int delta, TsColor_ color) {
  if (delta == 0) return color;
  int l = int(Luminance(color.C()));
  auto f = [&](std::uint8_t c) {
    return std::uint8_t(std::clamp((delta + 255) * c - l * delta, 0, 65535) >> 8);
  };
  return {f(color.B), f(color.G), f(color.R), color.A};
}

TColor ChangeSaturation(TColor color, int delta) {
  return TColor(ChangeSaturation(delta, TsColor_::Of(std::uint32_t(color))).C());
}

TsColor_ ChangeHue(int delta, TsColor_ color) {
  double r = color.R, g = color.G, b = color.B;
  double v = std::max({r, g, b}), mn = std::min({r, g, b});
  double s = v == 0 ? 0 : (v - mn) / v;
  if (s == 0) return color;
  double span = v - mn, h;
  if (r == v)
    h = (g - b) / span;
  else if (g == v)
    h = 2 + (b - r) / span;
  else
    h = 4 + (r - g) / span;
  h *= 60;
  if (h < 0) h += 360;
  // A shift below zero wraps to a positive hue: the sector is always 0..5.
  int hue = int(std::trunc(h + delta)) % 360;
  if (hue < 0) hue += 360;
  int sector = hue / 60;
  double f = hue / 60.0 - sector;
  auto lim = [](double x) { return std::clamp(x, 0.0, 255.0); };
  double p = lim(v * (1 - s)), q = lim(v * (1 - s * f)), t = lim(v * (1 - s * (1 - f)));
  double rgb[6][3] = {{v, t, p}, {q, v, p}, {p, v, t}, {p, q, v}, {t, p, v}, {v, p, q}};
  const double* o = rgb[sector];
  return {std::uint8_t(std::trunc(o[2])), std::uint8_t(std::trunc(o[1])),
          std::uint8_t(std::trunc(o[0])), color.A};
}

TColor ChangeHue(int delta, TColor color) {
  if (delta == 0) return color;
  std::uint32_t p = SwapRedBlue(std::uint32_t(color));
  return TColor(SwapRedBlue(ChangeHue(delta, TsColor_::Of(p)).C()));
}

TsColor_ ChangeTone(TsColor_ color, TsColor tone) {
  int v = std::max({color.R, color.G, color.B});
  return {std::uint8_t(tone.B * v >> 8), std::uint8_t(tone.G * v >> 8),
          std::uint8_t(tone.R * v >> 8), color.A};
}

TsColor_ MakeAlphaPixel(TsColor_ color, int) {
  return {color.B, color.G, color.R, 255};
}
TsColor_ ChangeColorBrightness(TsColor_ color, int delta) {
  return ChangeBrightness(color, delta);
}
TsColor_ ChangeColorSaturation(TsColor_ color, int delta) {
  return ChangeSaturation(delta, color);
}
TsColor_ ChangeColorHUE(TsColor_ color, int delta) {
  return ChangeHue(delta, color);
}
TsColor_ ChangeColorTone(TsColor_ color, int tone) {
  return ChangeTone(color, TsColor::Of(std::uint32_t(tone)));
}

void ChangeBitmapPixels(Bitmap& bmp, TChangeProc proc, int param, TColor skipColor) {
  bool skip = skipColor != clNone;
  std::uint32_t key = SwapRedBlue(std::uint32_t(skipColor));
  for (int y = 0; y < bmp.Height(); ++y) {
    std::uint32_t* d = bmp.Row(y);
    for (int x = 0; x < bmp.Width(); ++x)
      if (!skip || d[x] != key) d[x] = proc(TsColor_::Of(d[x]), param).C();
  }
}

namespace {

void Grey(Bitmap& bmp, bool skip, std::uint32_t key) {
  for (int y = 0; y < bmp.Height(); ++y) {
    std::uint32_t* d = bmp.Row(y);
    for (int x = 0; x < bmp.Width(); ++x) {
      if (skip && d[x] == key) continue;
      std::uint32_t l = Luminance(d[x]);
      d[x] = (d[x] & 0xFF000000) | l << 16 | l << 8 | l;
    }
  }
}

}  // namespace

void GrayScale(Bitmap& bmp) {
  Grey(bmp, false, 0);
}
void GrayScaleTrans(Bitmap& bmp, TsColor transColor) {
  Grey(bmp, true, SwapRedBlue(transColor.C()));
}

void BmpDisabledKind(Bitmap& bmp, unsigned disabledKind, TColor parentColor, const TCacheInfo& ci,
                     TPoint offset) {
  if (bmp.Empty()) return;
  if (disabledKind & dkGrayed) {
    if (DefDisabledSaturation == -100)
      GrayScale(bmp);
    else
      ChangeBitmapPixels(bmp, ChangeColorSaturation, DefDisabledSaturation * 255 / 100, clFuchsia);
  }
  if (!(disabledKind & dkBlended)) return;
  // Both blends take inclusive rectangles: the glyph's last column and row, not the ones after.
  if (ci.Ready && ci.Bmp) {
    int px = ci.X + offset.X, py = ci.Y + offset.Y;
    BlendTransRectangle(bmp, 0, 0, *ci.Bmp, {px, py, px + bmp.Width() - 1, py + bmp.Height() - 1},
                        DefBlendDisabled, kTransKey);
  } else {
    BlendColorRect(bmp, {0, 0, bmp.Width() - 1, bmp.Height() - 1}, DefBlendDisabled,
                   ci.FillColor == clFuchsia ? parentColor : ci.FillColor);
  }
}

void FillRoundRect(Bitmap& bmp, const TRect& r, int cornerSize, std::uint32_t value) {
  if (r.IsEmpty()) return;
  double rad = std::max(0, std::min({cornerSize, r.Width(), r.Height()})) / 2.0;
  int top = std::max(r.Top, 0), bottom = std::min(r.Bottom, bmp.Height());
  for (int y = top; y < bottom; ++y) {
    double cy = y + 0.5, dy = 0;
    if (cy < r.Top + rad) dy = r.Top + rad - cy;
    if (cy > r.Bottom - rad) dy = cy - (r.Bottom - rad);
    double inset = dy > 0 ? rad - std::sqrt(std::max(0.0, rad * rad - dy * dy)) : 0;
    int x0 = std::max(0, int(std::ceil(r.Left + inset - 0.5)));
    int x1 = std::min(bmp.Width(), int(std::floor(r.Right - inset - 0.5)) + 1);
    if (x1 > x0) std::fill(bmp.Row(y) + x0, bmp.Row(y) + x1, value);
  }
}

void FadeBmp(Bitmap& bmp, const TRect& r, int transparency, TsColor_ color, int blur, int radius) {
  TRect c = IntersectRects(r, bmp.Bounds());
  if (c.IsEmpty()) return;
  int w = c.Width(), h = c.Height(), half = std::min(w, h) / 2;
  blur = std::clamp(blur, 0, half);
  radius = std::clamp(radius, 0, half);
  int t = std::clamp(transparency, 0, 100) * 255 / 100;
  auto grey = [](int g) { return 0xFF000000 | std::uint32_t(g) * 0x010101u; };
  Bitmap mask(w, h);
  mask.Fill(grey(255));
  for (int i = 0; i <= blur; ++i) {
    int g = i == 0 ? 255 : t + int(std::lrint((blur - i + 1) * (255.0 - t) / (blur + 1)));
    FillRoundRect(mask, {i, i, w - i, h - i}, radius, grey(g));
  }
  FillRoundRect(mask, {blur, blur, w - blur, h - blur}, blur, grey(t));
  Bitmap area = bmp.Copy(c);
  BlendBmpByMask(area, mask, color);
  bmp.CopyFrom(area, area.Bounds(), {c.Left, c.Top});
}

std::unique_ptr<Bitmap> bmpRotate(const Bitmap& src, int rotateAngle) {
  int w = src.Width(), h = src.Height();
  bool turn = rotateAngle == 90 || rotateAngle == 270;
  auto out = turn ? CreateBmp32(h, w) : CreateBmp32(w, h);
  for (int y = 0; y < h; ++y) {
    const std::uint32_t* s = src.Row(y);
    for (int x = 0; x < w; ++x) {
      switch (rotateAngle) {
        case 90:
          out->Set(h - 1 - y, x, s[x]);
          break;
        case 180:
          out->Set(w - 1 - x, h - 1 - y, s[x]);
          break;
        case 270:
          out->Set(y, w - 1 - x, s[x]);
          break;
        default:
          out->Set(x, y, s[x]);
      }
    }
  }
  return out;
}

void BitBltRotated(Bitmap& dst, const Bitmap& src, TPoint centre, double angle) {
  if (src.Empty() || dst.Empty()) return;
  double a = angle * std::numbers::pi / 180, cs = std::cos(a), sn = std::sin(a);
  double hw = src.Width() / 2.0, hh = src.Height() / 2.0;
  int reach = int(std::ceil(std::hypot(hw, hh))) + 1;
  TRect box = IntersectRects(
      {centre.X - reach, centre.Y - reach, centre.X + reach, centre.Y + reach}, dst.Bounds());
  for (int y = box.Top; y < box.Bottom; ++y) {
    std::uint32_t* d = dst.Row(y);
    for (int x = box.Left; x < box.Right; ++x) {
      // The source point that lands on this pixel's centre (inverse of a clockwise turn).
      double rx = x + 0.5 - centre.X, ry = y + 0.5 - centre.Y;
      double sx = std::floor(rx * cs + ry * sn + hw), sy = std::floor(-rx * sn + ry * cs + hh);
      if (sx >= 0 && sy >= 0 && sx < src.Width() && sy < src.Height())
        d[x] = src.At(int(sx), int(sy));
    }
  }
}

}  // namespace skin::paint
