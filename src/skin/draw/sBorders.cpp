// A control's border alone; see sBorders.h.
#include "skin/draw/sBorders.h"

#include <algorithm>

#include "skin/draw/sAlphaGraph.h"

namespace skin::draw {

namespace {

// r shrunk by the four widths, never inverted.
TRect Shrink(const TRect& r, int l, int t, int rr, int b) {
  TRect in{r.Left + l, r.Top + t, r.Right - rr, r.Bottom - b};
  in.Right = std::max(in.Right, in.Left);
  in.Bottom = std::max(in.Bottom, in.Top);
  return in;
}

// The parent's pixels under a band of width w inside r (a masked border blends over them).
void CopyParentBand(Bitmap& cache, const TRect& r, int w, const TCacheInfo& ci) {
  if (w <= 0 || !ci.Bmp || ci.Bmp == &cache) return;
  for (const TRect& band :
       {TRect{r.Left, r.Top, r.Right, r.Top + w}, TRect{r.Left, r.Bottom - w, r.Right, r.Bottom},
        TRect{r.Left, r.Top, r.Left + w, r.Bottom}, TRect{r.Right - w, r.Top, r.Right, r.Bottom}}) {
    const TRect part = IntersectRects(band, r);
    if (!part.IsEmpty()) cache.CopyFrom(*ci.Bmp, part.Offset(ci.X, ci.Y), {part.Left, part.Top});
  }
}

}  // namespace

TRect PaintBorderFast(Bitmap& cache, const TRect& aRect, int minBorderWidth, const TacSkinModel* sm,
                      int borderIndex, int state, TColor bgColor, const TCacheInfo& ci) {
  const int mbw = std::max(0, minBorderWidth);
  const bool inside = LiesInside(cache, aRect);
  if (!sm || !sm->IsValidImgIndex(borderIndex)) {
    if (mbw > 0 && inside) skin::paint::FillDCBorder32(cache, aRect, mbw, mbw, mbw, mbw, bgColor);
    return Shrink(aRect, mbw, mbw, mbw, mbw);
  }
  const TsMaskData& md = sm->ma[borderIndex];
  const int wl = std::max<int>(0, md.WL), wt = std::max<int>(0, md.WT);
  const int wr = std::max<int>(0, md.WR), wb = std::max<int>(0, md.WB);
  TRect inner = Shrink(aRect, wl, wt, wr, wb);
  if (!inside) return inner;
  if (md.MaskType != 0) CopyParentBand(cache, aRect, std::max({wl, wt, wr, wb}), ci);
  DrawSkinRect(cache, aRect, ci, md, state, true);
  if (mbw > 0) {
    skin::paint::FillDCBorder32(cache, inner, std::max(0, mbw - wl), std::max(0, mbw - wt),
                                std::max(0, mbw - wr), std::max(0, mbw - wb), bgColor);
    inner = Shrink(aRect, mbw, mbw, mbw, mbw);
  }
  return inner;
}

}  // namespace skin::draw
