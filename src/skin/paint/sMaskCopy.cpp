// The copies through a skin image's mask (part of sAlphaGraph.h): the building blocks of the
// 9-slice border drawing.
#include <algorithm>

#include "skin/paint/sAlphaGraph.h"
#include "skin/paint/sPixelAccess.h"
#include "skin/paint/sPixelKernels.h"

namespace skin::paint {

namespace {

int HalfHeight(const TsMaskData& md) {
  return md.R.Height() / 2;
}

// Transparent picture pixel of the 32-bit mask copies: the parent pixel with a ready ci that
// has a bitmap, else alpha 0.
void TransparentPixel32(const TCacheInfo& ci, int x, int y, std::uint32_t& d) {
  if (!(ci.Ready && ParentPixel(ci, x, y, d))) d &= 0x00FFFFFF;
}

}  // namespace

void CopyByMask(const TRect& r1, const TRect& r2, Bitmap& dst, const Bitmap& src,
                const TCacheInfo& ci, bool updateTrans, const TsMaskData& md) {
  int off = HalfHeight(md);
  TCopyArea a;
  if (!ClipToArea(dst, src, r1, r2, off, a)) return;
  const auto& k = Kernels();
  std::uint32_t fill = SwapRedBlue(std::uint32_t(ci.FillColor));
  // A ready parent blends transparent pixels too, unless they are replaced below.
  bool blendKeys = ci.Ready && !updateTrans;
  for (int j = 0; j < a.h; ++j) {
    std::uint32_t* d = dst.Row(a.dy + j) + a.dx;
    const std::uint32_t* s = src.Row(a.sy + j) + a.sx;
    k.MaskBlend(d, s, src.Row(a.sy + off + j) + a.sx, a.w, blendKeys);
    if (!updateTrans && !ci.Ready) continue;
    for (int i = 0; i < a.w; ++i) {
      if (updateTrans && s[i] == kTransKey) {
        if (!ci.Ready)
          d[i] = fill;
        else
          ParentPixel(ci, a.dx + i, a.dy + j, d[i]);
      }
      if (ci.Ready) d[i] |= 0xFF000000;
    }
  }
}

void CopyByMask32(const TRect& r1, const TRect& r2, Bitmap& dst, const Bitmap& src,
                  const TCacheInfo& ci, const TsMaskData& md) {
  int off = HalfHeight(md);
  TCopyArea a;
  if (!ClipToArea(dst, src, r1, r2, off, a)) return;
  const auto& k = Kernels();
  for (int j = 0; j < a.h; ++j) {
    std::uint32_t* d = dst.Row(a.dy + j) + a.dx;
    const std::uint32_t* s = src.Row(a.sy + j) + a.sx;
    k.Mask32(d, s, src.Row(a.sy + off + j) + a.sx, a.w);
    for (int i = 0; i < a.w; ++i)
      if (s[i] == kTransKey) TransparentPixel32(ci, a.dx + i, a.dy + j, d[i]);
  }
}

void CopyByMask32Ex(const TRect& r1, const TRect& r2, Bitmap& dst, const Bitmap& src,
                    const TCacheInfo& ci, const TsMaskData& md, int opacity) {
  int off = HalfHeight(md);
  TCopyArea a;
  if (!ClipToArea(dst, src, r1, r2, off, a)) return;
  std::uint32_t op = std::uint32_t(std::clamp(opacity, 0, 255));
  bool readyParent = ci.Ready && ci.Bmp;
  for (int j = 0; j < a.h; ++j) {
    std::uint32_t* d = dst.Row(a.dy + j) + a.dx;
    const std::uint32_t* s = src.Row(a.sy + j) + a.sx;
    const std::uint32_t* m = src.Row(a.sy + off + j) + a.sx;
    for (int i = 0; i < a.w; ++i) {
      if (s[i] == kTransKey) {
        TransparentPixel32(ci, a.dx + i, a.dy + j, d[i]);
        continue;
      }
      std::uint32_t opaque = 255 - Byte(m[i], 2), w = op * opaque >> 8;
      std::uint32_t da = Byte(d[i], 3), out = 0;
      for (int c = 0; c < 3; ++c)
        out |= (Byte(d[i], c) * (255 - w) + Byte(s[i], c) * w) >> 8 << (8 * c);
      if (da == 0)
        da = readyParent ? opaque : w;
      else if (da < 255)
        da = std::max(da, opaque);
      d[i] = out | da << 24;
    }
  }
}

void BlendGlyphByMask(const TRect& r1, const TRect& r2, Bitmap& dst, const Bitmap& src,
                      int addedTransparency, const TsMaskData& md) {
  if (md.MaskType <= 0) {
    // The copy takes inclusive edges: hand it the last pixel of the area, not the one after.
    int w = std::min(r1.Width(), r2.Width()), h = std::min(r1.Height(), r2.Height());
    if (w <= 0 || h <= 0) return;
    CopyTransRectA(dst, src, r1.Left, r1.Top, {r2.Left, r2.Top, r2.Left + w - 1, r2.Top + h - 1},
                   kTransKey);
    return;
  }
  int off = md.R.Height() / (md.MaskType + 1);
  TCopyArea a;
  if (!ClipToArea(dst, src, r1, r2, off, a)) return;
  for (int j = 0; j < a.h; ++j) {
    std::uint32_t* d = dst.Row(a.dy + j) + a.dx;
    const std::uint32_t* s = src.Row(a.sy + j) + a.sx;
    const std::uint32_t* m = src.Row(a.sy + off + j) + a.sx;
    for (int i = 0; i < a.w; ++i) {
      std::uint32_t mr = Byte(m[i], 2);
      if (s[i] == kTransKey || mr == 255) continue;
      std::uint32_t mask = m[i];
      if (addedTransparency != 1) {
        mask = 0;
        for (int c = 0; c < 3; ++c)
          mask |= std::min<std::uint32_t>(Byte(m[i], c) + 100, 255) << (8 * c);
      }
      std::uint32_t out = MaskMix(s[i], d[i], mask) & 0x00FFFFFF;
      std::uint32_t da = Byte(d[i], 3);
      d[i] = out | (da + ((255 - da) * (255 - mr) >> 8)) << 24;
    }
  }
}

namespace {

// The colour CopyBmp32 draws for a source pixel: the pixel itself or its grey tinted.
struct TGlyphColour {
  bool tinted = false;
  std::uint32_t tint = 0;  // pixel order
  std::uint32_t operator()(std::uint32_t s) const {
    if (!tinted) return s;
    std::uint32_t g = Byte(s, 2) / 4 + Byte(s, 1) / 2 + Byte(s, 0) / 4, out = 0;
    for (int c = 0; c < 3; ++c) out |= (Byte(tint, c) * g >> 8) << (8 * c);
    return out;
  }
};

// d.c = ((s.c - d.c) * w + d.c * 256) >> 8 for B, G, R; alpha of d.
std::uint32_t Weigh(std::uint32_t d, std::uint32_t s, int w) {
  std::uint32_t out = d & 0xFF000000;
  for (int c = 0; c < 3; ++c) {
    int dc = int(Byte(d, c));
    out |= std::uint32_t(((int(Byte(s, c)) - dc) * w + dc * 256) >> 8) << (8 * c);
  }
  return out;
}

}  // namespace

void CopyBmp32(const TRect& r1, const TRect& r2, Bitmap& dst, const Bitmap& src,
               const TCacheInfo& ci, bool updateTrans, TColor grayedColor, int blend,
               bool reflected) {
  TCopyArea a;
  if (!ClipToArea(dst, src, r1, r2, 0, a)) return;
  TGlyphColour colour;
  if (grayedColor != clNone) {
    std::uint32_t t = SwapRedBlue(std::uint32_t(grayedColor));
    std::uint32_t raise = 255 - std::max({Byte(t, 0), Byte(t, 1), Byte(t, 2)});
    colour = {true, (Byte(t, 0) + raise) | (Byte(t, 1) + raise) << 8 | (Byte(t, 2) + raise) << 16};
  }
  int b = std::clamp(blend, 0, 100);
  int k = 255 - b * 255 / 100;
  for (int j = 0; j < a.h; ++j) {
    std::uint32_t* d = dst.Row(a.dy + j) + a.dx;
    const std::uint32_t* s = src.Row(a.sy + j) + a.sx;
    for (int i = 0; i < a.w; ++i) {
      int sa = int(Byte(s[i], 3));
      if (ci.Ready && (s[i] == kTransKey || sa <= bTranspLimit)) {
        if (updateTrans) ParentPixel(ci, a.dx + i, a.dy + j, d[i]);
        continue;
      }
      if (b == 0) {
        std::uint32_t da = std::max<std::uint32_t>(Byte(d[i], 3), std::uint32_t(sa));
        d[i] = (Weigh(d[i], colour(s[i]), sa) & 0x00FFFFFF) | da << 24;
      } else {
        d[i] = Weigh(d[i], colour(s[i]), k * sa >> 8);
      }
    }
  }
  if (!reflected) return;
  // The mirror below the picture, fading out row by row.
  int rows = std::min(a.h / 2, dst.Height() - (a.dy + a.h));
  int f = 255, step = 255 / a.h;
  for (int y = 1; y <= rows; ++y, f -= step) {
    std::uint32_t* d = dst.Row(a.dy + a.h + y - 1) + a.dx;
    const std::uint32_t* s = src.Row(a.sy + a.h - y) + a.sx;
    for (int i = 0; i < a.w; ++i) {
      int w = int(Byte(s[i], 3)) * (rows - y) / rows * f >> 9;
      if (b != 0) w = w * k >> 8;
      d[i] = Weigh(d[i], colour(s[i]), w);
    }
  }
}

void CopyMasterRect(const TRect& r1, const TRect& r2, Bitmap& dst, const TCacheInfo& ci,
                    const TsMaskData& md) {
  if (!md.Bmp) return;
  const Bitmap& src = *md.Bmp;
  int off = HalfHeight(md);
  TCopyArea a;
  if (!ClipToArea(dst, src, r1, r2, off, a)) return;
  const auto& k = Kernels();
  bool hasFill = ci.FillColor != clFuchsia;
  std::uint32_t fill = SwapRedBlue(std::uint32_t(ci.FillColor));
  for (int j = 0; j < a.h; ++j) {
    std::uint32_t* d = dst.Row(a.dy + j) + a.dx;
    const std::uint32_t* s = src.Row(a.sy + j) + a.sx;
    k.MaskBlend(d, s, src.Row(a.sy + off + j) + a.sx, a.w, false);
    if (!hasFill && !ci.Ready) continue;
    for (int i = 0; i < a.w; ++i) {
      if (s[i] != kTransKey) continue;
      if (hasFill)
        d[i] = fill;
      else
        ParentPixel(ci, a.dx + i, a.dy + j, d[i]);
    }
  }
}

}  // namespace skin::paint
