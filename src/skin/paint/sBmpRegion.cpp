// Regions from bitmaps and fills through device contexts (part of sGraphUtils.h): the parts
// that need the platform's regions and drawing contexts.
#include "skin/paint/sGraphUtils.h"

#include <algorithm>

namespace skin::paint {

gfx::Region GetRgnFromBmp(const Bitmap& mask, std::uint32_t transColor) {
  return gfx::Region::FromBitmap(mask, transColor, false);
}

void AddRgnBmp(TAOR& aor, const Bitmap& bmp, const TRect& r, TPoint at, std::uint32_t transColor,
               const TRect& limit) {
  // Cut the source so that both it and its place inside limit stay in range.
  const TRect src =
      IntersectRects(IntersectRects(r, bmp.Bounds()),
                     IntersectRects(limit, TRect{at.X, at.Y, at.X + r.Width(), at.Y + r.Height()})
                         .Offset(r.Left - at.X, r.Top - at.Y));
  if (src.IsEmpty()) return;
  const int dx = at.X - r.Left, dy = at.Y - r.Top;
  const std::uint32_t key = transColor & 0x00FFFFFF;
  for (int y = src.Top; y < src.Bottom; ++y) {
    const std::uint32_t* row = bmp.Row(y);
    for (int x = src.Left; x < src.Right;) {
      while (x < src.Right && (row[x] & 0x00FFFFFF) != key) ++x;
      const int start = x;
      while (x < src.Right && (row[x] & 0x00FFFFFF) == key) ++x;
      if (x > start) aor.push_back({start + dx, y + dy, x + dx, y + 1 + dy});
    }
  }
}

void AddRgn(TAOR& aor, int width, int height, const TsMaskData& md, const Bitmap* master) {
  const Bitmap* pic = md.Bmp ? md.Bmp : master;
  if (!pic || md.CornerType == 0 || width <= 0 || height <= 0) return;
  // The first image, kept inside the item's area (which the bitmap may be too small for:
  // AddRgnBmp clips to it).
  const TRect image =
      IntersectRects(md.R, TRect{md.R.Left, md.R.Top, md.R.Left + md.Width, md.R.Top + md.Height});
  if (image.IsEmpty()) return;
  const int w = image.Width(), h = image.Height();
  const int wl = std::clamp<int>(md.WL, 0, w), wr = std::clamp<int>(md.WR, 0, w);
  const int wt = std::clamp<int>(md.WT, 0, h), wb = std::clamp<int>(md.WB, 0, h);
  const TRect window{0, 0, width, height};
  auto corner = [&](int sx, int sy, int cw, int ch, int dx, int dy) {
    if (cw <= 0 || ch <= 0) return;
    const TRect src{image.Left + sx, image.Top + sy, image.Left + sx + cw, image.Top + sy + ch};
    AddRgnBmp(aor, *pic, src, {dx, dy}, kTransKey, window);
  };
  corner(0, 0, wl, wt, 0, 0);
  corner(w - wr, 0, wr, wt, width - wr, 0);
  corner(0, h - wb, wl, wb, 0, height - wb);
  corner(w - wr, h - wb, wr, wb, width - wr, height - wb);
}

void FillDC(gfx::HDC dc, const TRect& r, TColor color) {
  gfx::FillRect(dc, r, gfx::COLORREF(color) & 0x00FFFFFF);
}

void FillDCBorder(gfx::HDC dc, const TRect& r, int wl, int wt, int wr, int wb, TColor color) {
  FillDC(dc, {r.Left, r.Top, r.Right, r.Top + wt}, color);
  FillDC(dc, {r.Left, r.Top + wt, r.Left + wl, r.Bottom}, color);
  FillDC(dc, {r.Left + wl, r.Bottom - wb, r.Right, r.Bottom}, color);
  FillDC(dc, {r.Right - wr, r.Top + wt, r.Right, r.Bottom - wb}, color);
}

}  // namespace skin::paint
