// Copies of sGraphUtils: border bands between device contexts, the nine-slice copy of a
// template picture and bitmaps drawn with their alpha onto a context.
#include <algorithm>
#include <cstdint>

#include "skin/paint/sGraphUtils.h"
#include "skin/paint/sStretch.h"

namespace skin::paint {

void BitBltBorder(gfx::HDC dst, int x, int y, int width, int height, gfx::HDC src, int xSrc,
                  int ySrc, int wl, int wt, int wr, int wb) {
  if (!dst || !src || width <= 0 || height <= 0) return;
  wl = std::max(wl, 0);
  if (wt < 1) wt = wl;
  if (wr < 1) wr = wl;
  if (wb < 1) wb = wl;
  // The bands as first laid out reach past the right and bottom edges; each is cut to the
  // rectangle so that nothing beyond it is overwritten, whatever the target's extent.
  const TRect frame = RectOfSize(x, y, width, height);
  auto band = [&](std::int64_t left, std::int64_t top, std::int64_t w, std::int64_t h) {
    std::int64_t l = std::max<std::int64_t>(left, frame.Left);
    std::int64_t t = std::max<std::int64_t>(top, frame.Top);
    std::int64_t r = std::min<std::int64_t>(left + w, frame.Right);
    std::int64_t b = std::min<std::int64_t>(top + h, frame.Bottom);
    if (l >= r || t >= b) return;
    gfx::BitBlt(dst, int(l), int(t), int(r - l), int(b - t), src, int(xSrc + (l - x)),
                int(ySrc + (t - y)), gfx::SRCCOPY);
  };
  band(x, y, wl, height);
  band(std::int64_t(x) + wl, y, width, wt);
  band(std::int64_t(x) + width - wr, std::int64_t(y) + wt, width, height);
  band(std::int64_t(x) + wl, std::int64_t(y) + height - wb, std::int64_t(width) - wr, height);
}

namespace {

// Largest side of a work bitmap DrawBmp makes.
constexpr int kMaxWorkSide = 8192;

void Copy(Bitmap& dst, int dx, int dy, int w, int h, const Bitmap& src, int sx, int sy) {
  StretchCopy(dst, dx, dy, w, h, src, sx, sy, w, h);
}

// Pieces of `piece` units copied along [from, to) of the destination; copy(at, length) draws
// one. Pieces wholly before `lo` or from `hi` on are skipped (they cannot show).
template <typename F>
void Tile(int from, int to, int piece, int lo, int hi, F copy) {
  if (piece <= 0 || from >= to) return;
  std::int64_t at = from;
  if (at < lo) at += (std::int64_t(lo) - at) / piece * piece;
  std::int64_t end = std::min(to, hi);
  for (; at < end; at += piece) copy(int(at), int(std::min<std::int64_t>(piece, to - at)));
}

}  // namespace

void PaintControlByTemplate(Bitmap& dst, const Bitmap& src, const TRect& dstRect,
                            const TRect& srcRect, const TRect& borderWidths,
                            const TRect& borderMaxWidths, const TRect& drawModes,
                            bool stretchCenter, bool fillCenter) {
  if (dst.Empty() || src.Empty()) return;
  const TRect& bw = borderWidths;
  const TRect& mw = borderMaxWidths;
  const TRect& d = dstRect;
  const TRect& s = srcRect;
  const int dl = std::min(bw.Left, mw.Left), dt = std::min(bw.Top, mw.Top);
  const int dr = std::min(bw.Right, mw.Right), db = std::min(bw.Bottom, mw.Bottom);

  // Corners as L shapes: the full corner width at the outer edge, the rest of its height only
  // as thick as the side band below (above) it.
  Copy(dst, d.Left, d.Top, bw.Left, dt, src, s.Left, s.Top);
  if (bw.Top != dt) Copy(dst, d.Left, d.Top + dt, dl, bw.Top - dt, src, s.Left, s.Top + dt);
  Copy(dst, d.Right - bw.Right, d.Top, bw.Right, dt, src, s.Right - bw.Right, s.Top);
  if (bw.Top != dt)
    Copy(dst, d.Right - dr, d.Top + dt, dr, bw.Top - dt, src, s.Right - dr, s.Top + dt);
  Copy(dst, d.Left, d.Bottom - db, bw.Left, db, src, s.Left, s.Bottom - db);
  if (bw.Bottom != db)
    Copy(dst, d.Left, d.Bottom - bw.Bottom, dl, bw.Bottom - db, src, s.Left, s.Bottom - bw.Bottom);
  Copy(dst, d.Right - bw.Right, d.Bottom - db, bw.Right, db, src, s.Right - bw.Right,
       s.Bottom - db);
  if (bw.Bottom != db)
    Copy(dst, d.Right - dr, d.Bottom - bw.Bottom, dr, bw.Bottom - db, src, s.Right - dr,
         s.Bottom - bw.Bottom);

  const int cx = std::max(0, s.Width() - bw.Left - bw.Right);
  const int cy = std::max(0, s.Height() - bw.Top - bw.Bottom);
  const int dTop = d.Top + bw.Top, dBottom = d.Bottom - bw.Bottom;  // between the corners
  const int dLeft = d.Left + bw.Left, dRight = d.Right - bw.Right;
  const int sTop = s.Top + bw.Top, sLeft = s.Left + bw.Left;

  // One side: thick x long pieces from the source side, along the destination side.
  auto vertical = [&](int mode, int dx, int sx, int thick) {
    if (cy == 0) return;
    if (mode == 0)
      Tile(dTop, dBottom, cy, 0, dst.Height(),
           [&](int at, int len) { Copy(dst, dx, at, thick, len, src, sx, sTop); });
    else if (mode == 1)
      StretchCopy(dst, dx, dTop, thick, dBottom - dTop, src, sx, sTop, thick, cy);
  };
  auto horizontal = [&](int mode, int dy, int sy, int thick) {
    if (cx == 0) return;
    if (mode == 0)
      Tile(dLeft, dRight, cx, 0, dst.Width(),
           [&](int at, int len) { Copy(dst, at, dy, len, thick, src, sLeft, sy); });
    else if (mode == 1)
      StretchCopy(dst, dLeft, dy, dRight - dLeft, thick, src, sLeft, sy, cx, thick);
  };
  vertical(drawModes.Left, d.Left, s.Left, dl);
  horizontal(drawModes.Top, d.Top, s.Top, dt);
  vertical(drawModes.Right, d.Right - dr, s.Right - dr, dr);
  horizontal(drawModes.Bottom, d.Bottom - db, s.Bottom - db, db);

  if (!fillCenter) return;
  if (stretchCenter) {
    StretchCopy(dst, dLeft, dTop, dRight - dLeft, dBottom - dTop, src, sLeft, sTop, cx, cy);
  } else if (cx > 0 && cy > 0) {
    Tile(dLeft, dRight, cx, 0, dst.Width(), [&](int x, int w) {
      Tile(dTop, dBottom, cy, 0, dst.Height(),
           [&](int y, int h) { Copy(dst, x, y, w, h, src, sLeft, sTop); });
    });
  }
}

void DrawBmp(gfx::HDC dc, const Bitmap& bmp, const TRect& r, bool reflected) {
  if (!dc || bmp.Empty() || r.IsEmpty()) return;
  const int w = r.Width(), h = r.Height();
  const std::int64_t workHeight = std::int64_t(h) + (reflected ? h / 2 : 0);
  // The work bitmap is r's size: an r beyond any bitmap's size draws nothing.
  if (w > kMaxWorkSide || workHeight > kMaxWorkSide) return;
  Bitmap work(w, int(workHeight));
  gfx::DeviceContext wdc(work);
  gfx::BitBlt(&wdc, 0, 0, w, int(workHeight), dc, r.Left, r.Top, gfx::SRCCOPY);
  const Bitmap* pic = &bmp;
  Bitmap scaled;
  if (bmp.Width() != w || bmp.Height() != h) {
    scaled = Bitmap(w, h);
    StretchCopy(scaled, 0, 0, w, h, bmp, 0, 0, bmp.Width(), bmp.Height());
    pic = &scaled;
  }
  CopyBmp32({0, 0, w, h}, pic->Bounds(), work, *pic, TCacheInfo{}, false, clNone, 0, reflected);
  gfx::BitBlt(dc, r.Left, r.Top, w, int(workHeight), &wdc, 0, 0, gfx::SRCCOPY);
}

}  // namespace skin::paint
