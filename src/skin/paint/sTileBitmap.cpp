// Texture filling of the graphics unit (declared in sGraphUtils.h): plain textures in every
// fill mode and masked textures tiled through their mask.
#include <cstdint>

#include "skin/paint/sGraphUtils.h"
#include "skin/paint/sStretch.h"

namespace skin::paint {

namespace {

constexpr TRect kNothingLeft{-1, -1, -1, -1};

// Calls fn(p) for the tile starts p = start + k * step (k >= 0) below end and below hi whose
// tile reaches lo; starts wholly before lo are skipped without a loop.
template <typename F>
void ForTiles(int start, int end, int step, int lo, int hi, F fn) {
  if (step <= 0) return;
  std::int64_t p = start;
  if (lo > start) p += (std::int64_t(lo) - start) / step * step;
  for (; p < end && p < hi; p += step) fn(int(p));
}

// Number of whole steps that start before end - step (x < end - step), from start.
int WholeBefore(int start, int end, int step) {
  std::int64_t span = std::int64_t(end) - start - step;
  return span <= 0 ? 0 : int((span + step - 1) / step);
}

// The start of a grid of step-sized tiles whose last tile ends exactly at end.
int AnchorAtEnd(int start, int end, int step) {
  std::int64_t n = (std::int64_t(end) - start + step - 1) / step;
  return int(end - n * step);
}

// Copies the tile of src placed at `at` onto bmp, cut to clip.
void PutTile(Bitmap& bmp, const Bitmap& src, const TRect& tile, TPoint at, const TRect& clip) {
  TRect d = IntersectRects(RectOfSize(at.X, at.Y, tile.Width(), tile.Height()), clip);
  if (d.IsEmpty()) return;
  bmp.CopyFrom(
      src, RectOfSize(tile.Left + d.Left - at.X, tile.Top + d.Top - at.Y, d.Width(), d.Height()),
      {d.Left, d.Top});
}

// Tiles covering area from the grid origin (x0, y0), cut to area and the bitmap; put(x, y,
// clip) draws one tile.
template <typename F>
void Tiles(const Bitmap& bmp, const TRect& area, int x0, int y0, int tw, int th, F put) {
  TRect clip = IntersectRects(area, bmp.Bounds());
  if (clip.IsEmpty()) return;
  ForTiles(y0, area.Bottom, th, clip.Top, clip.Bottom, [&](int y) {
    ForTiles(x0, area.Right, tw, clip.Left, clip.Right, [&](int x) { put(x, y, clip); });
  });
}

// The area minus nothing: an empty remainder is (-1, -1, -1, -1).
TRect Remainder(const TRect& r) {
  return r.IsEmpty() ? kNothingLeft : r;
}

}  // namespace

TacFillMode acFillModes(int drawMode) {
  return drawMode >= fmTiled && drawMode <= fmReserved1 ? TacFillMode(drawMode) : fmTiled;
}

void TileBitmap(Bitmap& bmp, TRect& aRect, const Bitmap& src, TacFillMode fillMode,
                const TsMaskData& md) {
  const int tw = md.Width, th = md.Height;
  if (tw <= 0 || th <= 0 || aRect.IsEmpty()) return;
  const TRect a = aRect, tile = RectOfSize(md.R.Left, md.R.Top, tw, th);
  const int L = a.Left, T = a.Top, R = a.Right, B = a.Bottom;
  auto tiles = [&](const TRect& area, int x0, int y0) {
    Tiles(bmp, area, x0, y0, tw, th, [&](int x, int y, const TRect& clip) {
      PutTile(bmp, src, tile, {x, y}, clip);
    });
  };
  auto stretch = [&](const TRect& area) {
    if (!area.IsEmpty())
      StretchCopy(bmp, area.Left, area.Top, area.Width(), area.Height(), src, tile.Left, tile.Top,
                  tw, th);
  };
  const int top = std::min(B, T + th), bottom = std::max(T, B - th);
  const int left = std::min(R, L + tw), right = std::max(L, R - tw);
  switch (fillMode) {
    case fmTiled:
      tiles(a, L, T);
      aRect = kNothingLeft;
      break;
    case fmStretched:
      stretch(a);
      aRect = kNothingLeft;
      break;
    case fmTiledHorz:
      tiles({L, T, R, top}, L, T);
      aRect = Remainder({L, top, R, B});
      break;
    case fmTiledVert:
      tiles({L, T, left, B}, L, T);
      aRect = Remainder({left, T, R, B});
      break;
    case fmStretchHorzTop:
      stretch({L, T, R, top});
      aRect = Remainder({L, top, R, B});
      break;
    case fmStretchVertLeft:
      stretch({L, T, left, B});
      aRect = Remainder({left, T, R, B});
      break;
    case fmTileHorBtm:
      tiles({L, bottom, R, B}, L, B - th);
      aRect = Remainder({L, T, R, bottom});
      break;
    case fmTileVertRight:
      tiles({right, T, R, B}, R - tw, T);
      aRect = Remainder({L, T, right, B});
      break;
    case fmStretchHorBtm:
      stretch({L, bottom, R, B});
      aRect = Remainder({L, T, R, bottom});
      break;
    case fmStretchVertRight:
      stretch({right, T, R, B});
      aRect = Remainder({L, T, right, B});
      break;
    case fmDisTiled: {
      // Whole rows only; the strip below them is handed back for the colour.
      const int rowsEnd = T + WholeBefore(T, B, th) * th;
      tiles({L, T, R, rowsEnd}, L, T);
      aRect = Remainder({L, rowsEnd, R, B});
      break;
    }
    case fmStretchHorz: {
      TRect clip = IntersectRects(a, bmp.Bounds());
      ForTiles(T, B, th, clip.Top, clip.Bottom, [&](int y) {
        const int h = std::min(th, B - y);
        StretchCopy(bmp, L, y, a.Width(), h, src, tile.Left, tile.Top, tw, h);
      });
      aRect = kNothingLeft;
      break;
    }
    case fmStretchVert: {
      TRect clip = IntersectRects(a, bmp.Bounds());
      ForTiles(L, R, tw, clip.Left, clip.Right, [&](int x) {
        const int w = std::min(tw, R - x);
        StretchCopy(bmp, x, T, w, a.Height(), src, tile.Left, tile.Top, w, th);
      });
      aRect = kNothingLeft;
      break;
    }
    case fmFromBottomToTop:
      tiles(a, AnchorAtEnd(L, R, tw), AnchorAtEnd(T, B, th));
      aRect = kNothingLeft;
      break;
    case fmReserved1:
      break;
  }
}

void TileMasked(Bitmap& bmp, TRect& aRect, const TCacheInfo& ci, TacFillMode fillMode,
                const TsMaskData& md) {
  const TRect a = aRect;
  aRect = kNothingLeft;
  const int tw = md.Width, th = md.R.Height() / 2;
  if (!md.Bmp || tw <= 0 || th <= 0 || a.IsEmpty()) return;
  const TRect tile = RectOfSize(md.R.Left, md.R.Top, tw, th);
  auto put = [&](int x, int y, const TRect& clip) {
    TRect d = IntersectRects(RectOfSize(x, y, tw, th), clip);
    if (d.IsEmpty()) return;
    CopyMasterRect(d,
                   RectOfSize(tile.Left + d.Left - x, tile.Top + d.Top - y, d.Width(), d.Height()),
                   bmp, ci, md);
  };
  if (fillMode == fmTiled) {
    Tiles(bmp, a, a.Left, a.Top, tw, th, put);
  } else if (fillMode == fmDisTiled) {
    const int colsEnd = a.Left + WholeBefore(a.Left, a.Right, tw) * tw;
    const int rowsEnd = a.Top + WholeBefore(a.Top, a.Bottom, th) * th;
    Tiles(bmp, {a.Left, a.Top, colsEnd, rowsEnd}, a.Left, a.Top, tw, th, put);
    // What the whole tiles leave shows the parent.
    for (TRect strip :
         {TRect{colsEnd, a.Top, a.Right, rowsEnd}, TRect{a.Left, rowsEnd, a.Right, a.Bottom}}) {
      strip = IntersectRects(strip, bmp.Bounds());
      if (strip.IsEmpty()) continue;
      if (ci.Ready && ci.Bmp) {
        if (ci.Bmp != &bmp)
          bmp.CopyFrom(*ci.Bmp, strip.Offset(ci.X, ci.Y), {strip.Left, strip.Top});
      } else {
        FillRect32(bmp, strip, ci.FillColor, 255);
      }
    }
  }
}

}  // namespace skin::paint
