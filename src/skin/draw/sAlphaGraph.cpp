// Skin pictures drawn from the model; see sAlphaGraph.h.
#include "skin/draw/sAlphaGraph.h"

#include <algorithm>
#include <cstdint>

#include "skin/paint/sStretch.h"

namespace skin::draw {

using namespace skin::paint;

namespace {

// The frame of a picture for a state, and its place in the picture's bitmap.
struct TFrame {
  const Bitmap* Src = nullptr;
  int X = 0, Y = 0, W = 0, H = 0;
  int MaskOffset = 0;  // rows from the picture to its mask; 0 without one
};

// False when the picture has no bitmap, no size, or its frame (and mask) does not lie inside
// its bitmap.
bool FrameOf(const TsMaskData& md, int state, TFrame& f) {
  f.Src = PictureOf(md);
  if (!f.Src || md.Width <= 0 || md.Height <= 0) return false;
  const int frame = std::max(0, std::min<int>(state, md.ImageCount - 1));
  const std::int64_t x = std::int64_t(md.R.Left) + std::int64_t(frame) * md.Width;
  f.MaskOffset = md.MaskType != 0 ? md.Height : 0;
  if (md.R.Left < 0 || md.R.Top < 0 || x + md.Width > f.Src->Width() ||
      std::int64_t(md.R.Top) + md.Height + f.MaskOffset > f.Src->Height())
    return false;
  f.X = int(x);
  f.Y = md.R.Top;
  f.W = md.Width;
  f.H = md.Height;
  return true;
}

// The slices of a border for a rectangle: corner sizes cut evenly when the rectangle is
// smaller than both corners, and the source sizes of sides and centre.
struct TSlices {
  int wl, wt, wr, wb, cw, ch;
};

void Split(int a, int b, int size, int& outA, int& outB) {
  outA = std::max(0, a);
  outB = std::max(0, b);
  const int e = outA + outB - size;
  if (e <= 0) return;
  outA = std::max(0, outA - e / 2);
  outB = std::max(0, outB - (e - e / 2));
  // A slice that ran out leaves the whole excess to the other: together they never pass size.
  outB = std::min(outB, size);
  outA = std::min(outA, size - outB);
}

bool SlicesOf(const TsMaskData& md, const TRect& a, const TFrame& f, const TRect* most,
              TSlices& s) {
  auto cap = [](int w, int limit) { return std::min(w, std::max(0, limit)); };
  Split(most ? cap(md.WL, most->Left) : md.WL, most ? cap(md.WR, most->Right) : md.WR, a.Width(),
        s.wl, s.wr);
  Split(most ? cap(md.WT, most->Top) : md.WT, most ? cap(md.WB, most->Bottom) : md.WB, a.Height(),
        s.wt, s.wb);
  s.cw = f.W - s.wl - s.wr;
  s.ch = f.H - s.wt - s.wb;
  return s.cw >= 0 && s.ch >= 0;
}

// How the pieces of a nine-slice are put: corner(dst, src), side(dst, src) for one tile (dst
// no larger than src), stretch(dst, src, centre).
template <typename Corner, typename Side, typename Stretch>
void NineSlice(const TRect& a, const TFrame& f, const TSlices& s, bool stretched, bool centre,
               Corner corner, Side side, Stretch stretch) {
  const int fx = f.X, fy = f.Y, fh = f.H;
  const int inL = a.Left + s.wl, inT = a.Top + s.wt, inR = a.Right - s.wr, inB = a.Bottom - s.wb;
  // A side whose source is empty is skipped: repeating it would never advance.
  auto vertical = [&](int x, int w, const TRect& src) {
    if (w <= 0 || src.IsEmpty() || inB <= inT) return;
    if (stretched) return stretch(TRect{x, inT, x + w, inB}, src, false);
    for (int y = inT; y < inB; y += src.Height())
      side(TRect{x, y, x + w, std::min(inB, y + src.Height())}, src);
  };
  auto horizontal = [&](int y, int h, const TRect& src) {
    if (h <= 0 || src.IsEmpty() || inR <= inL) return;
    if (stretched) return stretch(TRect{inL, y, inR, y + h}, src, false);
    for (int x = inL; x < inR; x += src.Width())
      side(TRect{x, y, std::min(inR, x + src.Width()), y + h}, src);
  };
  const int rx = fx + s.wl + s.cw;
  corner(RectOfSize(a.Left, a.Top, s.wl, s.wt), RectOfSize(fx, fy, s.wl, s.wt));
  vertical(a.Left, s.wl, RectOfSize(fx, fy + s.wt, s.wl, s.ch));
  horizontal(a.Top, s.wt, RectOfSize(fx + s.wl, fy, s.cw, s.wt));
  corner(RectOfSize(a.Left, inB, s.wl, s.wb), RectOfSize(fx, fy + fh - s.wb, s.wl, s.wb));
  horizontal(inB, s.wb, RectOfSize(fx + s.wl, fy + fh - s.wb, s.cw, s.wb));
  corner(RectOfSize(inR, inB, s.wr, s.wb), RectOfSize(rx, fy + fh - s.wb, s.wr, s.wb));
  corner(RectOfSize(inR, a.Top, s.wr, s.wt), RectOfSize(rx, fy, s.wr, s.wt));
  vertical(inR, s.wr, RectOfSize(rx, fy + s.wt, s.wr, s.ch));
  if (!centre || inR <= inL || inB <= inT || s.cw <= 0 || s.ch <= 0) return;
  const TRect src = RectOfSize(fx + s.wl, fy + s.wt, s.cw, s.ch);
  if (stretched) return stretch(TRect{inL, inT, inR, inB}, src, true);
  for (int y = inT; y < inB; y += s.ch)
    for (int x = inL; x < inR; x += s.cw)
      side(TRect{x, y, std::min(inR, x + s.cw), std::min(inB, y + s.ch)}, src);
}

// Inclusive form of a source rectangle for the keyed copies.
TRect Inclusive(const TRect& r) {
  return {r.Left, r.Top, r.Right - 1, r.Bottom - 1};
}

// The checks both border forms share; false when nothing is drawn.
bool BorderGeometry(const Bitmap& bmp, const TRect& a, const TsMaskData& md, int state, TFrame& f,
                    TSlices& s, const TRect* most = nullptr) {
  if (state == 0 && (md.DrawMode & 2) != 0) return false;
  if (a.Width() < 2 || a.Height() < 2 || !md.Manager || !LiesInside(bmp, a)) return false;
  return FrameOf(md, state, f) && SlicesOf(md, a, f, most, s);
}

// An unmasked border: corners keyed (their key pixels taking the parent with updateTrans),
// sides and centre copied opaque.
void UnmaskedSlices(Bitmap& bmp, const TRect& aRect, const TCacheInfo& ci, const TFrame& f,
                    const TSlices& s, bool stretched, bool centre, bool updateTrans) {
  const Bitmap& src = *f.Src;
  NineSlice(
      aRect, f, s, stretched, centre,
      [&](const TRect& d, const TRect& r) {
        if (!r.IsEmpty())
          CopyTransRect(bmp, src, d.Left, d.Top, Inclusive(r), kTransKey, ci, updateTrans);
      },
      [&](const TRect& d, const TRect& r) {
        bmp.CopyFrom(src, RectOfSize(r.Left, r.Top, d.Width(), d.Height()), {d.Left, d.Top});
      },
      [&](const TRect& d, const TRect& r, bool) {
        StretchCopy(bmp, d.Left, d.Top, d.Width(), d.Height(), src, r.Left, r.Top, r.Width(),
                    r.Height());
      });
}

}  // namespace

void DrawSkinRect(Bitmap& bmp, const TRect& aRect, const TCacheInfo& ci, const TsMaskData& md,
                  int state, bool updateCorners) {
  TFrame f;
  TSlices s;
  if (!BorderGeometry(bmp, aRect, md, state, f, s)) return;
  const Bitmap& src = *f.Src;
  const bool updateTrans = updateCorners && md.CornerType > 0;
  const bool stretched = (md.DrawMode & 1) != 0, centre = (md.DrawMode & 4) != 0;
  if (md.MaskType != 0) {
    NineSlice(
        aRect, f, s, stretched, centre,
        [&](const TRect& d, const TRect& r) { CopyByMask(d, r, bmp, src, ci, updateTrans, md); },
        [&](const TRect& d, const TRect& r) { CopyByMask(d, r, bmp, src, EmptyCI, false, md); },
        [&](const TRect& d, const TRect& r, bool noStd) {
          StretchBltMask(d.Left, d.Top, d.Width(), d.Height(), r.Left, r.Top, r.Width(), r.Height(),
                         bmp, src, f.MaskOffset, noStd);
        });
  } else {
    UnmaskedSlices(bmp, aRect, ci, f, s, stretched, centre, updateTrans);
  }
}

void DrawSkinRect32(Bitmap& bmp, const TRect& aRect, const TCacheInfo& ci, const TsMaskData& md,
                    int state) {
  TFrame f;
  TSlices s;
  if (!BorderGeometry(bmp, aRect, md, state, f, s)) return;
  const Bitmap& src = *f.Src;
  const bool stretched = (md.DrawMode & 1) != 0, centre = (md.DrawMode & 4) != 0;
  if (md.MaskType != 0) {
    NineSlice(
        aRect, f, s, stretched, centre,
        [&](const TRect& d, const TRect& r) { CopyByMask32(d, r, bmp, src, ci, md); },
        [&](const TRect& d, const TRect& r) { CopyByMask32(d, r, bmp, src, EmptyCI, md); },
        [&](const TRect& d, const TRect& r, bool noStd) {
          StretchBltMask(d.Left, d.Top, d.Width(), d.Height(), r.Left, r.Top, r.Width(), r.Height(),
                         bmp, src, f.MaskOffset, noStd, TMaskBlend::Mask32);
        });
  } else {
    UnmaskedSlices(bmp, aRect, ci, f, s, stretched, centre, true);
  }
}

void DrawSkinRect32Ex(Bitmap& bmp, const TRect& aRect, const TCacheInfo& ci, const TsMaskData& md,
                      int state, const TRect& maxWidths, int opacity) {
  TFrame f;
  TSlices s;
  if (!BorderGeometry(bmp, aRect, md, state, f, s, &maxWidths)) return;
  const Bitmap& src = *f.Src;
  const bool stretched = (md.DrawMode & 1) != 0, centre = (md.DrawMode & 4) != 0;
  if (md.MaskType == 0) return UnmaskedSlices(bmp, aRect, ci, f, s, stretched, centre, true);
  NineSlice(
      aRect, f, s, stretched, centre,
      [&](const TRect& d, const TRect& r) { CopyByMask32Ex(d, r, bmp, src, ci, md, opacity); },
      [&](const TRect& d, const TRect& r) { CopyByMask32Ex(d, r, bmp, src, EmptyCI, md, opacity); },
      [&](const TRect& d, const TRect& r, bool noStd) {
        StretchBltMask(d.Left, d.Top, d.Width(), d.Height(), r.Left, r.Top, r.Width(), r.Height(),
                       bmp, src, f.MaskOffset, noStd, TMaskBlend::Mask32Ex, opacity);
      });
}

void PaintOuterEffect(Bitmap& bmp, const TRect& ctrlRect, const TacSkinModel& sm, int skinIndex) {
  if (!sm.IsValidSkinIndex(skinIndex) || ctrlRect.IsEmpty()) return;
  const TsGeneralData& gd = sm.gd[std::size_t(skinIndex)];
  if (gd.OuterMode < 1 || !sm.IsValidImgIndex(gd.OuterMask)) return;
  const TsMaskData& md = sm.ma[std::size_t(gd.OuterMask)];
  const int wl = std::max<int>(0, md.WL), wt = std::max<int>(0, md.WT);
  const int wr = std::max<int>(0, md.WR), wb = std::max<int>(0, md.WB);
  // The frame is drawn whole into a picture of its own: none beyond any window's size.
  constexpr std::int64_t kMostSide = 16384;
  if (std::int64_t(ctrlRect.Width()) + wl + wr > kMostSide ||
      std::int64_t(ctrlRect.Height()) + wt + wb > kMostSide || ctrlRect.Left < -kMostSide ||
      ctrlRect.Top < -kMostSide || ctrlRect.Right > kMostSide || ctrlRect.Bottom > kMostSide)
    return;
  const TRect outer{ctrlRect.Left - wl, ctrlRect.Top - wt, ctrlRect.Right + wr,
                    ctrlRect.Bottom + wb};
  const TRect visible = IntersectRects(outer, bmp.Bounds());
  if (visible.IsEmpty() || wl + wt + wr + wb == 0) return;
  // The frame is laid out over the whole outer rectangle, also where the parent's picture
  // ends, so it is drawn over a copy of what lies there and the visible ring copied back.
  Bitmap ring(outer.Width(), outer.Height());
  const TPoint at{visible.Left - outer.Left, visible.Top - outer.Top};
  ring.CopyFrom(bmp, visible, at);
  DrawSkinRect32Ex(ring, ring.Bounds(), EmptyCI, md, 0, {wl, wt, wr, wb},
                   std::clamp(gd.OuterOpacity, 0, 255));
  const TRect bands[] = {
      {outer.Left, outer.Top, outer.Right, ctrlRect.Top},
      {outer.Left, ctrlRect.Bottom, outer.Right, outer.Bottom},
      {outer.Left, ctrlRect.Top, ctrlRect.Left, ctrlRect.Bottom},
      {ctrlRect.Right, ctrlRect.Top, outer.Right, ctrlRect.Bottom},
  };
  for (const TRect& band : bands) {
    const TRect r = IntersectRects(band, visible);
    if (r.IsEmpty()) continue;
    bmp.CopyFrom(ring, RectOfSize(r.Left - outer.Left, r.Top - outer.Top, r.Width(), r.Height()),
                 {r.Left, r.Top});
  }
}

void DrawSkinGlyph(Bitmap& bmp, TPoint p, int state, int addedTransparency, const TsMaskData& md,
                   const TCacheInfo& ci) {
  if (md.Bmp) {
    if (md.Bmp->Width() < md.R.Right || md.Bmp->Height() < md.R.Bottom) return;
  } else if (!md.Manager || md.ImageCount <= 0) {
    return;
  }
  TFrame f;
  if (!FrameOf(md, state, f)) return;
  const TRect src = RectOfSize(f.X, f.Y, f.W, f.H);
  if (md.MaskType > 0) {
    BlendGlyphByMask(RectOfSize(p.X, p.Y, f.W, f.H), src, bmp, *f.Src, addedTransparency, md);
  } else if (addedTransparency == 1) {
    CopyTransRect(bmp, *f.Src, p.X, p.Y, Inclusive(src), kTransKey, ci, false);
  } else {
    BlendTransRectangle(bmp, p.X, p.Y, *f.Src, Inclusive(src), 127, kTransKey);
  }
}

void UpdateCorners(Bitmap& cache, const TsMaskData& md, int state, TsCorners corners,
                   const TacBGInfo& bg) {
  if (md.CornerType == 0 || cache.Empty()) return;
  TsMaskData m = md;
  if (md.Bmp && md.ImageCount == 0) {
    m.ImageCount = 3;
    m.MaskType = 1;
    m.R = md.Bmp->Bounds();
    m.Width = m.R.Width() / 3;
    m.Height = m.R.Height() / 2;
  }
  TFrame f;
  if (!FrameOf(m, state, f)) return;
  const bool fromCache = bg.BgType == TacBGType::btCache && bg.Bmp;
  if (!fromCache && bg.Color == clFuchsia) return;
  const std::uint32_t fill = SwapRedBlue(std::uint32_t(bg.Color)) | 0xFF000000;
  const int cw = cache.Width(), ch = cache.Height();
  // Corner areas: picture position, cache position, size.
  struct TCorner {
    TsCorner Which;
    int SrcX, SrcY, DstX, DstY, W, H;
  };
  const int wl = std::max<int>(0, md.WL), wt = std::max<int>(0, md.WT);
  const int wr = std::max<int>(0, md.WR), wb = std::max<int>(0, md.WB);
  const TCorner all[] = {
      {scLeftTop, f.X, f.Y, 0, 0, wl, wt},
      {scLeftBottom, f.X, f.Y + f.H - wb, 0, ch - wb, wl, wb},
      {scRightBottom, f.X + f.W - wr, f.Y + f.H - wb, cw - wr, ch - wb, wr, wb},
      {scRightTop, f.X + f.W - wr, f.Y, cw - wr, 0, wr, wt},
  };
  const TRect frame = RectOfSize(f.X, f.Y, f.W, f.H);
  for (const TCorner& c : all) {
    if ((corners & c.Which) == 0) continue;
    for (int j = 0; j < c.H; ++j) {
      for (int i = 0; i < c.W; ++i) {
        const int sx = c.SrcX + i, sy = c.SrcY + j, dx = c.DstX + i, dy = c.DstY + j;
        if (!frame.Contains({sx, sy}) || !cache.Bounds().Contains({dx, dy})) continue;
        if (f.Src->At(sx, sy) != kTransKey) continue;
        if (!fromCache) {
          cache.Set(dx, dy, fill);
          continue;
        }
        const TPoint from{bg.Offset.X + dx, bg.Offset.Y + dy};
        if (bg.Bmp->Bounds().Contains(from)) cache.Set(dx, dy, bg.Bmp->At(from.X, from.Y));
      }
    }
  }
}

void PaintItemBG32(const TacSkinModel* sm, int skinIndex, int state, const TRect& r, TPoint,
                   Bitmap& itemBmp) {
  if (!sm || !sm->IsValidSkinIndex(skinIndex) || !LiesInside(itemBmp, r)) return;
  const TsGeneralData& gd = sm->gd[skinIndex];
  const TsGenState& s = StateProps(gd, LimitState(gd, state));
  TacBGLayers l;
  l.Layered = true;
  l.Color = s.Color;
  l.Transparency = std::clamp(s.Transparency, 0, 100);
  if (l.Transparency == 100 && r == itemBmp.Bounds()) return itemBmp.Fill(0);
  if (l.Transparency < 100) {
    l.ImagePercent = std::clamp(s.ImagePercent, 0, 100);
    l.GradientPercent = std::clamp(s.GradientPercent, 0, 100);
    if (l.ImagePercent > 0) l.TextureIndex = s.TextureIndex;
    if (l.GradientPercent > 0) l.Gradient = &s.GradientArray;
  }
  // Strips a masked texture leaves keep what the bitmap held.
  PaintAddons(*sm, itemBmp, r, MakeCacheInfo(&itemBmp), l);
}

void PaintItem32(const TacSkinModel* sm, int skinIndex, bool, int state, const TRect& r, TPoint pP,
                 Bitmap* itemBmp) {
  if (!itemBmp || !sm || !sm->IsValidSkinIndex(skinIndex) || !LiesInside(*itemBmp, r)) return;
  const Bitmap before = itemBmp->Copy(r);
  const TsGeneralData& gd = sm->gd[skinIndex];
  state = LimitState(gd, state);
  PaintItemBG32(sm, skinIndex, state, r, pP, *itemBmp);
  if (sm->IsValidImgIndex(gd.BorderIndex))
    DrawSkinRect32(*itemBmp, r, MakeCacheInfo(&before, -r.Left, -r.Top), sm->ma[gd.BorderIndex],
                   state);
  if (r == itemBmp->Bounds()) UpdateAlpha(*itemBmp);
}

}  // namespace skin::draw
