#include "skin/paint/sAlphaGraph.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "skin/paint/sPixelAccess.h"
#include "skin/paint/sPixelKernels.h"

namespace skin::paint {

namespace {
std::atomic<bool> gComposition{true};
}  // namespace

void SwapLong(std::span<std::uint32_t> values) {
  for (auto& v : values) v = SwapLong(v);
}

void FillLongword(std::uint32_t* x, std::size_t count, std::uint32_t value) {
  std::fill_n(x, count, value);
}

bool InitLine(Bitmap& bmp, std::uint8_t*& line0, std::ptrdiff_t& delta) {
  if (bmp.Height() == 0 || bmp.Width() == 0) return false;
  line0 = bmp.Bits();
  delta = bmp.Height() > 1 ? bmp.Stride() : 0;
  return true;
}

std::uint32_t GetAPixel(const Bitmap& bmp, int x, int y) {
  return bmp.Bounds().Contains({x, y}) ? bmp.At(x, y) : 0;
}

void SetAPixel(Bitmap& bmp, int x, int y, std::uint32_t value) {
  if (bmp.Bounds().Contains({x, y})) bmp.Set(x, y, value);
}

std::unique_ptr<Bitmap> CreateBmp32(int width, int height) {
  return std::make_unique<Bitmap>(width, height);
}
std::unique_ptr<Bitmap> CreateBmp32(const TRect& r) {
  return CreateBmp32(std::max(0, r.Width()), std::max(0, r.Height()));
}
std::unique_ptr<Bitmap> CreateBmp32(TSize size) {
  return CreateBmp32(size.cx, size.cy);
}
std::unique_ptr<Bitmap> CreateBmpLike(const Bitmap& bmp) {
  return CreateBmp32(bmp.Width(), bmp.Height());
}

void CopyBmp(Bitmap& dst, const Bitmap& src) {
  if (&dst == &src) return;
  dst = Bitmap(src.Width(), src.Height());
  dst.CopyFrom(src, src.Bounds(), {0, 0});
}

std::unique_ptr<Bitmap> CreateAlphaBmp(const Bitmap& src, const TRect& srcRect) {
  int w = srcRect.Width(), h = srcRect.Height() / 2;
  if (w <= 0 || h <= 0 || IntersectRects(srcRect, src.Bounds()) != srcRect) return nullptr;
  auto out = CreateBmp32(w, h);
  for (int y = 0; y < h; ++y) {
    const std::uint32_t* pic = src.Row(srcRect.Top + y) + srcRect.Left;
    const std::uint32_t* msk = src.Row(srcRect.Top + h + y) + srcRect.Left;
    std::uint32_t* d = out->Row(y);
    for (int x = 0; x < w; ++x)
      d[x] = (pic[x] & 0x00FFFFFF) | std::uint32_t(255 - Byte(msk[x], 2)) << 24;
  }
  return out;
}

std::unique_ptr<Bitmap> CreateMaskFromAlpha(const Bitmap& src) {
  if (src.Empty()) return nullptr;
  int w = src.Width(), h = src.Height();
  auto out = CreateBmp32(w, 2 * h);
  out->CopyFrom(src, src.Bounds(), {0, 0});
  for (int y = 0; y < h; ++y) {
    const std::uint32_t* s = src.Row(y);
    std::uint32_t* d = out->Row(h + y);
    for (int x = 0; x < w; ++x) {
      std::uint32_t v = 255 - Byte(s[x], 3);
      d[x] = 0xFF000000 | v << 16 | v << 8 | v;
    }
  }
  return out;
}

bool CompositionEnabled() {
  return gComposition.load(std::memory_order_relaxed);
}
void SetCompositionEnabled(bool enabled) {
  gComposition.store(enabled, std::memory_order_relaxed);
}

void UpdateAlpha(Bitmap& img) {
  UpdateAlpha(img, img.Bounds());
}

void UpdateAlpha(Bitmap& img, const TRect& r) {
  TRect c = IntersectRects(r, img.Bounds());
  if (c.IsEmpty()) return;
  const auto& k = Kernels();
  bool composition = CompositionEnabled();
  for (int y = c.Top; y < c.Bottom; ++y) k.Premultiply(img.Row(y) + c.Left, c.Width(), composition);
}

void UpdateTransPixels(Bitmap& bmp) {
  for (int y = 0; y < bmp.Height(); ++y) {
    std::uint32_t* d = bmp.Row(y);
    for (int x = 0; x < bmp.Width(); ++x)
      if (d[x] == kEmptyPixel) d[x] = 0;
  }
}

void CheckEmptyAChannel(Bitmap& bmp) {
  if (bmp.Empty()) return;
  for (int y = 0; y < bmp.Height(); ++y) {
    const std::uint32_t* d = bmp.Row(y);
    for (int x = 0; x < bmp.Width(); ++x)
      if (d[x] >> 24) return;
  }
  std::uint32_t key = bmp.At(0, bmp.Height() - 1);
  for (int y = 0; y < bmp.Height(); ++y) {
    std::uint32_t* d = bmp.Row(y);
    for (int x = 0; x < bmp.Width(); ++x)
      if (d[x] != key) d[x] |= 0xFF000000;
  }
}

void FillAlphaRect(Bitmap& bmp, const TRect& r, std::uint8_t value, TColor transparentColor) {
  TRect c = IntersectRects(r, bmp.Bounds());
  bool keyed = transparentColor != clNone;
  std::uint32_t key = std::uint32_t(transparentColor), a = std::uint32_t(value) << 24;
  for (int y = c.Top; y < c.Bottom; ++y) {
    std::uint32_t* d = bmp.Row(y);
    for (int x = c.Left; x < c.Right; ++x)
      if (!keyed || d[x] != key) d[x] = (d[x] & 0x00FFFFFF) | a;
  }
}

void CopyChannel32(Bitmap& dst, const Bitmap& src, int channel) {
  if (channel < 0 || channel > 3) return;
  TRect c = IntersectRects(dst.Bounds(), src.Bounds());
  std::uint32_t mask = 0xFFu << (8 * channel);
  for (int y = c.Top; y < c.Bottom; ++y) {
    std::uint32_t* d = dst.Row(y);
    const std::uint32_t* s = src.Row(y);
    for (int x = c.Left; x < c.Right; ++x) d[x] = (d[x] & ~mask) | (s[x] & mask);
  }
}

void CopyChannel(Bitmap& bmp32, Bitmap8& bmp8, int channel, bool from32To8) {
  if (channel < 0 || channel > 3 || bmp32.Width() != bmp8.Width() ||
      bmp32.Height() != bmp8.Height())
    return;
  int shift = 8 * channel;
  for (int y = 0; y < bmp32.Height(); ++y) {
    std::uint32_t* p = bmp32.Row(y);
    std::uint8_t* b = bmp8.Row(y);
    for (int x = 0; x < bmp32.Width(); ++x) {
      if (from32To8)
        b[x] = std::uint8_t(p[x] >> shift);
      else
        p[x] = (p[x] & ~(0xFFu << shift)) | std::uint32_t(b[x]) << shift;
    }
  }
}

void PaintBmpRect32(Bitmap& dst, const Bitmap& src, const TRect& srcRect, TPoint dstPoint) {
  TCopyArea a;
  if (!ClipToPoint(dst, src, srcRect, dstPoint, a)) return;
  const auto& k = Kernels();
  for (int y = 0; y < a.h; ++y) k.Paint(dst.Row(a.dy + y) + a.dx, src.Row(a.sy + y) + a.sx, a.w);
}

void SumBmpRect(Bitmap& dst, const Bitmap& src, int alphaValue, const TRect& srcRect,
                TPoint dstPoint) {
  TCopyArea a;
  if (!ClipToPoint(dst, src, srcRect, dstPoint, a)) return;
  const auto& k = Kernels();
  int keep = std::clamp(alphaValue, 0, 256);
  for (int y = 0; y < a.h; ++y)
    k.Sum(dst.Row(a.dy + y) + a.dx, src.Row(a.sy + y) + a.sx, a.w, keep);
}

void SumBitmapsByMask(Bitmap& dst, const Bitmap& src1, const Bitmap& src2, const Bitmap* mask,
                      int percent) {
  if (src1.Width() != src2.Width() || src1.Height() != src2.Height()) return;
  if (mask && (mask->Width() != src1.Width() || mask->Height() != src1.Height())) return;
  TRect c = IntersectRects(dst.Bounds(), src1.Bounds());
  int p = std::clamp(percent, 0, 256);
  for (int y = c.Top; y < c.Bottom; ++y) {
    std::uint32_t* d = dst.Row(y);
    const std::uint32_t *s1 = src1.Row(y), *s2 = src2.Row(y);
    const std::uint32_t* m = mask ? mask->Row(y) : nullptr;
    for (int x = c.Left; x < c.Right; ++x) {
      std::uint32_t out = d[x] & 0xFF000000;
      for (int ch = 0; ch < 3; ++ch) {
        int a = int(Byte(s1[x], ch)), b = int(Byte(s2[x], ch));
        int v = m ? ((a - b) * int(Byte(m[x], ch)) + b * 256) >> 8 : b - ((p * (b - a) + 255) >> 8);
        out |= std::uint32_t(v) << (8 * ch);
      }
      d[x] = out;
    }
  }
}

void BlendTransRectangle(Bitmap& dst, int x, int y, const Bitmap& src, const TRect& r, int blend,
                         std::uint32_t transColor) {
  TCopyArea a;
  if (!ClipToPoint(dst, src, InclusiveToExclusive(r), {x, y}, a)) return;
  int b = std::clamp(blend, 0, 255);
  for (int j = 0; j < a.h; ++j) {
    std::uint32_t* d = dst.Row(a.dy + j) + a.dx;
    const std::uint32_t* s = src.Row(a.sy + j) + a.sx;
    for (int i = 0; i < a.w; ++i) {
      if (s[i] == transColor) continue;
      std::uint32_t out = 0;
      for (int ch = 0; ch < 4; ++ch)
        out |= ((255 - b) * Byte(s[i], ch) + b * Byte(d[i], ch)) >> 8 << (8 * ch);
      d[i] = out;
    }
  }
}

void BlendTransBitmap(Bitmap& bmp, int blend, TsColor color) {
  int b = std::clamp(blend, 0, 255);
  std::uint32_t k = SwapRedBlue(color.C());
  for (int y = 0; y < bmp.Height(); ++y) {
    std::uint32_t* d = bmp.Row(y);
    for (int x = 0; x < bmp.Width(); ++x) {
      if (d[x] == kTransKey) continue;
      std::uint32_t out = d[x] & 0xFF000000;
      for (int ch = 0; ch < 3; ++ch)
        out |= (Byte(d[x], ch) * b + Byte(k, ch) * (255 - b)) >> 8 << (8 * ch);
      d[x] = out;
    }
  }
}

void BlendBmpByMask(Bitmap& bmp, const Bitmap& mask, TsColor_ blendColor) {
  if (bmp.Width() != mask.Width() || bmp.Height() != mask.Height()) return;
  std::uint32_t k = blendColor.C();
  for (int y = 0; y < bmp.Height(); ++y) {
    std::uint32_t* d = bmp.Row(y);
    const std::uint32_t* m = mask.Row(y);
    for (int x = 0; x < bmp.Width(); ++x) d[x] = MaskMix(k, d[x], m[x]);
  }
}

void ColorizeByMask(Bitmap& dst, const Bitmap& mask, TPoint topLeft, TColor color, TColor bgColor) {
  int ox = std::max(0, topLeft.X), oy = std::max(0, topLeft.Y);
  int w = std::min(mask.Width(), dst.Width() - ox), h = std::min(mask.Height(), dst.Height() - oy);
  std::uint32_t c = SwapRedBlue(std::uint32_t(color)), bg = SwapRedBlue(std::uint32_t(bgColor));
  bool hasBg = bgColor != clNone;
  for (int y = 0; y < h; ++y) {
    std::uint32_t* d = dst.Row(oy + y) + ox;
    const std::uint32_t* m = mask.Row(y);
    for (int x = 0; x < w; ++x) {
      int wgt =
          hasBg ? 255 - int(Byte(m[x], 0) + Byte(m[x], 1) + Byte(m[x], 2)) / 3 : int(Byte(m[x], 3));
      std::uint32_t base = hasBg ? bg : d[x], out = d[x] & 0xFF000000;
      for (int ch = 0; ch < 3; ++ch) {
        int b = int(Byte(base, ch));
        out |= std::uint32_t(((int(Byte(c, ch)) - b) * wgt + b * 256) >> 8) << (8 * ch);
      }
      d[x] = out;
    }
  }
}

void CopyTransBitmaps(Bitmap& dst, const Bitmap& src, int x, int y, TsColor transColor) {
  TCopyArea a;
  if (!ClipToPoint(dst, src, src.Bounds(), {x, y}, a)) return;
  std::uint32_t key = SwapRedBlue(transColor.C());
  for (int j = 0; j < a.h; ++j) {
    std::uint32_t* d = dst.Row(a.dy + j) + a.dx;
    const std::uint32_t* s = src.Row(a.sy + j) + a.sx;
    for (int i = 0; i < a.w; ++i)
      if (s[i] != key) d[i] = s[i] | 0xFF000000;
  }
}

void CopyTransRect(Bitmap& dst, const Bitmap& src, int x, int y, const TRect& srcRect,
                   std::uint32_t transColor, const TCacheInfo& ci, bool updateTrans) {
  TCopyArea a;
  if (!ClipToPoint(dst, src, InclusiveToExclusive(srcRect), {x, y}, a)) return;
  const auto& k = Kernels();
  if (updateTrans && ci.Ready && ci.Bmp) {
    bool intoParent = ci.Bmp == &dst;
    for (int j = 0; j < a.h; ++j) {
      std::uint32_t* d = dst.Row(a.dy + j) + a.dx;
      const std::uint32_t* s = src.Row(a.sy + j) + a.sx;
      for (int i = 0; i < a.w; ++i) {
        if (s[i] != transColor)
          d[i] = intoParent ? s[i] | 0xFF000000 : s[i];
        else if (!intoParent)
          ParentPixel(ci, a.dx + i, a.dy + j, d[i]);
      }
    }
  } else if (ci.Ready) {
    for (int j = 0; j < a.h; ++j)
      k.KeyedCopy(dst.Row(a.dy + j) + a.dx, src.Row(a.sy + j) + a.sx, a.w, transColor);
  } else {
    std::uint32_t fill =
        (SwapRedBlue(std::uint32_t(ci.FillColor)) & 0x00FFFFFF) | (dst.At(0, 0) & 0xFF000000);
    for (int j = 0; j < a.h; ++j) {
      std::uint32_t* d = dst.Row(a.dy + j) + a.dx;
      const std::uint32_t* s = src.Row(a.sy + j) + a.sx;
      for (int i = 0; i < a.w; ++i) d[i] = s[i] == transColor ? fill : s[i];
    }
  }
}

void CopyTransRectA(Bitmap& dst, const Bitmap& src, int x, int y, const TRect& srcRect,
                    std::uint32_t transColor) {
  TCopyArea a;
  if (!ClipToPoint(dst, src, InclusiveToExclusive(srcRect), {x, y}, a)) return;
  const auto& k = Kernels();
  for (int j = 0; j < a.h; ++j)
    k.KeyedCopy(dst.Row(a.dy + j) + a.dx, src.Row(a.sy + j) + a.sx, a.w, transColor);
}

void CopyByMask(const TRect& r1, const TRect& r2, Bitmap& dst, const Bitmap& src,
                const TCacheInfo& ci, bool updateTrans) {
  TCopyArea a;
  if (!ClipToArea(dst, src, r1, r2, 0, a)) return;
  const auto& k = Kernels();
  bool parent = updateTrans && ci.Ready;
  for (int j = 0; j < a.h; ++j) {
    std::uint32_t* d = dst.Row(a.dy + j) + a.dx;
    const std::uint32_t* s = src.Row(a.sy + j) + a.sx;
    k.Over(d, s, a.w);
    if (!parent) continue;
    for (int i = 0; i < a.w; ++i)
      if (s[i] == kTransKey && ParentPixel(ci, a.dx + i, a.dy + j, d[i])) d[i] |= 0xFF000000;
  }
}

}  // namespace skin::paint
