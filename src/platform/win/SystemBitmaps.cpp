#include "platform/win/SystemBitmaps.h"

#include <algorithm>

#include "platform/win/SystemMetrics.h"

namespace win {

namespace {

constexpr int kCell = 13;

gfx::Pixel Sys(int index) {
  return gfx::PixelFromColor(GetSysColor(index), 255);
}

// One cell at (ox, oy): the sunken box or circle, its face, and the mark.
void DrawCell(gfx::Bitmap& bmp, int ox, int oy, int column, int row) {
  const bool checked = column % 2 == 1, pressed = column >= 2;
  const gfx::Pixel face = Sys(pressed || row == 2 ? COLOR_BTNFACE : COLOR_WINDOW);
  for (int y = 0; y < kCell; ++y) {
    for (int x = 0; x < kCell; ++x) {
      gfx::Pixel p = Sys(COLOR_BTNFACE);  // around a radio button
      if (row == 1) {
        // The circle: its outer ring dark above the falling diagonal, light below it.
        const int dx = 2 * x - 12, dy = 2 * y - 12, d = dx * dx + dy * dy;
        const bool upper = x + y < 12;
        if (d <= 13 * 13) p = Sys(upper ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT);
        if (d <= 11 * 11) p = Sys(upper ? COLOR_3DDKSHADOW : COLOR_3DLIGHT);
        if (d <= 9 * 9) p = face;
        if (checked && d <= 4 * 4) p = Sys(COLOR_WINDOWTEXT);
      } else {
        // The sunken box: shadow lines above and left, light lines below and right.
        const int edge = std::min(std::min(x, y), std::min(kCell - 1 - x, kCell - 1 - y));
        const bool upper = x < kCell - 1 - edge && y < kCell - 1 - edge;
        if (edge == 0)
          p = Sys(upper ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT);
        else if (edge == 1)
          p = Sys(upper ? COLOR_3DDKSHADOW : COLOR_3DLIGHT);
        else
          p = face;
        // The check mark: a short stroke down to (5, 8) and a long one up to (9, 4), three
        // pixels thick.
        const int mx = x - 3, top = mx <= 2 ? 4 + mx : 8 - (mx - 2);
        if (checked && mx >= 0 && mx <= 6 && y >= top && y < top + 3)
          p = Sys(row == 2 ? COLOR_BTNSHADOW : COLOR_WINDOWTEXT);
      }
      bmp.Set(ox + x, oy + y, p);
    }
  }
}

}  // namespace

HBITMAP LoadBitmap(HANDLE instance, int id) {
  if (instance || id != OBM_CHECKBOXES) return nullptr;
  auto* bmp = new gfx::Bitmap(4 * kCell, 3 * kCell);
  for (int row = 0; row < 3; ++row)
    for (int column = 0; column < 4; ++column)
      DrawCell(*bmp, column * kCell, row * kCell, column, row);
  return bmp;
}

bool GetObject(HBITMAP bitmap, BITMAP* info) {
  if (!bitmap || !info) return false;
  info->bmWidth = bitmap->Width();
  info->bmHeight = bitmap->Height();
  return true;
}

bool DeleteObject(HBITMAP bitmap) {
  if (!bitmap) return false;
  delete bitmap;
  return true;
}

}  // namespace win
