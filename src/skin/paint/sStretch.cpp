#include "skin/paint/sStretch.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "skin/paint/sPixelAccess.h"
#include "skin/paint/sPixelKernels.h"

namespace skin::paint {

namespace {

double FilterRadius(TFilterType f) {
  constexpr double kRadius[] = {0.51, 1, 1, 1.5, 2, 3, 2};
  return kRadius[f];
}

// The filter's weight at distance x >= 0.
double FilterWeight(TFilterType f, double x) {
  switch (f) {
    case ftBox:
      return x <= 0.5 ? 1 : 0;
    case ftTriangle:
      return x < 1 ? 1 - x : 0;
    case ftHermite:
      return x < 1 ? (2 * x - 3) * x * x + 1 : 0;
    case ftBell:
      if (x < 0.5) return 0.75 - x * x;
      return x < 1.5 ? (x - 1.5) * (x - 1.5) / 2 : 0;
    case ftSpline:
      if (x < 1) return x * x * (x / 2 - 1) + 2.0 / 3;
      return x < 2 ? (2 - x) * (2 - x) * (2 - x) / 6 : 0;
    case ftLanczos3: {
      if (x == 0) return 1;
      if (x >= 3) return 0;
      double px = std::numbers::pi * x;
      return std::sin(px) * std::sin(px / 3) / (px * px / 3);
    }
    case ftMitchell:
      if (x < 1) return (7.0 / 6 * x - 2) * x * x + 8.0 / 9;
      return x < 2 ? x * x * (-7.0 / 18 * x + 2) - 10.0 / 3 * x + 16.0 / 9 : 0;
  }
  return 0;
}

// The contributors of every target position of one pass, with 16.16 weights.
struct TContributors {
  std::vector<TContributor> list;
  std::vector<int> start;  // list[start[i] .. start[i + 1]) belong to target i
};

TContributors CreateContributors(int source, int target, TFilterType filter) {
  TContributors c;
  c.start.reserve(target + 1);
  double scale = target < source ? double(target) / source : 1.0;
  double support = FilterRadius(filter) / scale;
  for (int i = 0; i < target; ++i) {
    c.start.push_back(int(c.list.size()));
    double centre = double(i) * source / target;
    for (int j = int(std::ceil(centre + support)); j >= int(std::floor(centre - support)); --j) {
      double w = FilterWeight(filter, std::abs(centre - j) * scale);
      if (w == 0) continue;
      // Mirror at the edges; a support wider than the source still stays inside it.
      int p = j < 0 ? -j : j >= source ? 2 * source - 1 - j : j;
      p = std::clamp(p, 0, source - 1);
      c.list.push_back({p, int(std::lrint(w * scale * 65536))});
    }
  }
  c.start.push_back(int(c.list.size()));
  return c;
}

// The contributors of recent passes, shared: a skin paints the same pieces at the same sizes
// again and again, and working the weights out is a good part of a small stretch.
std::shared_ptr<const TContributors> Contributors(int source, int target, TFilterType filter) {
  struct TEntry {
    int Source, Target;
    TFilterType Filter;
    std::shared_ptr<const TContributors> List;
  };
  constexpr std::size_t kKept = 16;
  thread_local std::vector<TEntry> cache;
  thread_local std::size_t next = 0;
  for (const TEntry& e : cache)
    if (e.Source == source && e.Target == target && e.Filter == filter) return e.List;
  auto list = std::make_shared<const TContributors>(CreateContributors(source, target, filter));
  TEntry entry{source, target, filter, list};
  if (cache.size() < kKept) {
    cache.push_back(std::move(entry));
  } else {
    cache[next] = std::move(entry);
    next = (next + 1) % kKept;
  }
  return list;
}

}  // namespace

void Stretch(const Bitmap& src, Bitmap& dst, int width, int height, TFilterType filter) {
  if (src.Width() <= 1 || src.Height() <= 1 || width <= 1 || height <= 1) return;
  if (filter < ftBox || filter > ftMitchell) return;
  if (width == src.Width() && height == src.Height()) {
    CopyBmp(dst, src);
    return;
  }
  const auto& k = Kernels();
  const auto hx = Contributors(src.Width(), width, filter);
  const TContributors& cx = *hx;
  Bitmap work(width, src.Height());
  for (int y = 0; y < src.Height(); ++y)
    k.StretchRow(src.Row(y), work.Row(y), width, cx.list.data(), cx.start.data());

  const auto hy = Contributors(src.Height(), height, filter);
  const TContributors& cy = *hy;
  Bitmap out(width, height);
  std::vector<const std::uint32_t*> rows;
  std::vector<int> weights;
  for (int i = 0; i < height; ++i) {
    rows.clear();
    weights.clear();
    for (int n = cy.start[i]; n < cy.start[i + 1]; ++n) {
      rows.push_back(work.Row(cy.list[n].Pixel));
      weights.push_back(cy.list[n].Weight);
    }
    k.StretchColumns(rows.data(), weights.data(), int(rows.size()), out.Row(i), width);
  }
  dst = std::move(out);
}

void StretchCopy(Bitmap& dst, int dx, int dy, int dw, int dh, const Bitmap& src, int sx, int sy,
                 int sw, int sh) {
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  TRect area = IntersectRects(RectOfSize(dx, dy, dw, dh), dst.Bounds());
  if (area.IsEmpty()) return;
  // The source column of each destination column (-1: outside the source), worked out once
  // rather than on every row.
  thread_local std::vector<int> columns;
  columns.resize(std::size_t(area.Width()));
  for (int x = area.Left; x < area.Right; ++x) {
    int u = sx + int((2 * std::int64_t(x - dx) + 1) * sw / (2 * std::int64_t(dw)));
    columns[std::size_t(x - area.Left)] = u >= 0 && u < src.Width() ? u : -1;
  }
  for (int y = area.Top; y < area.Bottom; ++y) {
    int v = sy + int((2 * std::int64_t(y - dy) + 1) * sh / (2 * std::int64_t(dh)));
    if (v < 0 || v >= src.Height()) continue;
    const std::uint32_t* s = src.Row(v);
    std::uint32_t* d = dst.Row(y) + area.Left;
    for (std::size_t i = 0; i < columns.size(); ++i)
      if (columns[i] >= 0) d[i] = s[columns[i]];
  }
}

void StretchBltMask(int dstX, int dstY, int dstWidth, int dstHeight, int srcX, int srcY,
                    int srcWidth, int srcHeight, Bitmap& dst, const Bitmap& src, int maskOffset,
                    bool noStdStretch, TMaskBlend blend, int opacity) {
  if (dstX < 0 || dstY < 0 || dstWidth <= 0 || dstHeight <= 0) return;
  if (dst.Width() < 2 || dst.Height() < 2) return;
  if (maskOffset == 0) {
    StretchCopy(dst, dstX, dstY, dstWidth, dstHeight, src, srcX, srcY, srcWidth, srcHeight);
    return;
  }
  TRect pic = RectOfSize(srcX, srcY, srcWidth, srcHeight);
  TRect msk = pic.Offset(0, maskOffset);
  if (pic.IsEmpty() || IntersectRects(pic, src.Bounds()) != pic ||
      IntersectRects(msk, src.Bounds()) != msk)
    return;
  TRect area = IntersectRects(RectOfSize(dstX, dstY, dstWidth, dstHeight), dst.Bounds());
  if (srcWidth == 1 && srcHeight == 1 && noStdStretch && blend == TMaskBlend::PerChannel) {
    std::uint32_t s = src.At(srcX, srcY), m = Byte(src.At(srcX, srcY + maskOffset), 2);
    if (m == 255) return;
    for (int y = area.Top; y < area.Bottom; ++y) {
      std::uint32_t* d = dst.Row(y);
      for (int x = area.Left; x < area.Right; ++x)
        d[x] = m == 0 ? s | 0xFF000000 : MaskMix(s, d[x], m * 0x010101u);
    }
    return;
  }
  // Picture and mask, each stretched to the destination size, stacked as a masked image.
  bool oneShrinks = (dstWidth < srcWidth) != (dstHeight < srcHeight);
  bool resample = dstWidth >= 2 && dstHeight >= 2 && (noStdStretch || oneShrinks) &&
                  srcWidth >= 2 && srcHeight >= 2;
  Bitmap stacked(dstWidth, 2 * dstHeight);
  for (int half = 0; half < 2; ++half) {
    TRect part = half == 0 ? pic : msk;
    if (resample) {
      Bitmap scaled;
      Stretch(src.Copy(part), scaled, dstWidth, dstHeight, ftMitchell);
      stacked.CopyFrom(scaled, scaled.Bounds(), {0, half * dstHeight});
    } else {
      StretchCopy(stacked, 0, half * dstHeight, dstWidth, dstHeight, src, part.Left, part.Top,
                  srcWidth, srcHeight);
    }
  }
  TsMaskData md;
  md.Bmp = &stacked;
  md.R = stacked.Bounds();
  md.MaskType = 1;
  TRect r1 = RectOfSize(dstX, dstY, dstWidth, dstHeight), r2{0, 0, dstWidth, dstHeight};
  switch (blend) {
    case TMaskBlend::PerChannel: {
      TCacheInfo opaque;
      opaque.Ready = true;  // blend every pixel, transparent ones too, and make them opaque
      CopyByMask(r1, r2, dst, stacked, opaque, false, md);
      break;
    }
    case TMaskBlend::Mask32:
      CopyByMask32(r1, r2, dst, stacked, TCacheInfo{}, md);
      break;
    case TMaskBlend::Mask32Ex:
      CopyByMask32Ex(r1, r2, dst, stacked, TCacheInfo{}, md, opacity);
      break;
  }
}

}  // namespace skin::paint
