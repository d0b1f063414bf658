// Regions from bitmaps and fills through device contexts (part of sGraphUtils.h): the parts
// that need the platform's regions and drawing contexts.
#include "skin/paint/sGraphUtils.h"

namespace skin::paint {

gfx::Region GetRgnFromBmp(const Bitmap& mask, std::uint32_t transColor) {
  return gfx::Region::FromBitmap(mask, transColor, false);
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
