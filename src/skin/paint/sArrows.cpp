// Arrows and focus marks of sGraphUtils.
#include <algorithm>

#include "skin/paint/acgpUtils.h"
#include "skin/paint/sGraphUtils.h"
#include "skin/paint/sPixelAccess.h"

namespace skin::paint {

int acArrowSize = 5;
int acLineWidth = 2;
int ac_ArrowWidth = 7;
int ac_ArrowHeight = 4;

namespace {

// Arrow pictures larger than this are not made (a damaged size must not allocate wildly).
constexpr int kMaxArrowSize = 1024;

// Rounded up, for a positive divisor.
int CeilDiv(int a, int b) {
  return a >= 0 ? (a + b - 1) / b : -(-a / b);
}

bool IsLineStyle(TacArrowsStyle style) {
  return style == arsLines1 || style == arsLines2;
}

// The downward arrow picture: a filled polygon (when fill is set) under two strokes.
std::unique_ptr<Bitmap> MakeArrowBmp(int a, int lw, bool oddRect, TacArrowsStyle style,
                                     bool hasFill, std::uint32_t fill, TColor strokeColor) {
  bool lines = IsLineStyle(style);
  int h2 = lw / 2, m = std::max(1, h2);
  int h = (style == arsSolid2 || style == arsLines2) ? a - a / 2 : a;
  int w = 2 * a + (oddRect ? 1 : 0);
  if (lines) {
    h += lw + m;
    w += lw;
  } else if (oddRect) {
    h += 1;
  }
  if (w <= 0 || h <= 0) return nullptr;
  int odd = w % 2;
  auto pic = CreateBmp32(w, h);
  pic->Fill(kEmptyPixel);
  gfx::TPoint p[4];
  if (lines) {
    p[0] = {m, m};
    p[1] = {a + m, h - lw};
    p[2] = {p[1].X - h2 + odd, p[1].Y};
    p[3] = {p[2].X + a, m};
  } else {
    p[0] = {0, 0};
    p[1] = {w / 2 - 1 + odd, h - 1};
    p[2] = {p[1].X + 1 - odd, h - 1};
    p[3] = {w / 2 + p[2].X - 1 + odd, 0};
  }
  if (hasFill) {
    // The quad with its outline: each row from the left edge (P0 to P1) to the right edge (P2
    // to P3), at whole-pixel points, opaque in the fill colour.
    const std::uint32_t word = (fill & 0x00FFFFFF) | 0xFF000000;
    const int dyl = p[1].Y - p[0].Y, dyr = p[2].Y - p[3].Y;
    for (int y = std::max(0, p[0].Y); y <= std::min(h - 1, p[1].Y); ++y) {
      int xl = dyl > 0 ? p[0].X + CeilDiv((y - p[0].Y) * (p[1].X - p[0].X), dyl) : p[0].X;
      int xr = dyr > 0 ? p[3].X - CeilDiv((y - p[3].Y) * (p[3].X - p[2].X), dyr) : p[3].X;
      std::uint32_t* row = pic->Row(y);
      for (int x = std::max(0, xl); x <= std::min(w - 1, xr); ++x) row[x] = word;
    }
  }
  if (lw > 0) {
    std::uint32_t c = std::uint32_t(strokeColor) & 0x00FFFFFF;
    acgpDrawLine(*pic, p[0].X, p[0].Y, p[1].X, p[1].Y, c, lw);
    acgpDrawLine(*pic, p[2].X, p[2].Y, p[3].X, p[3].Y, c, lw);
  }
  return pic;
}

void FlipRows(Bitmap& bmp) {
  for (int i = 0, j = bmp.Height() - 1; i < j; ++i, --j)
    std::swap_ranges(bmp.Row(i), bmp.Row(i) + bmp.Width(), bmp.Row(j));
}

}  // namespace

void DrawArrow(Bitmap& bmp, TColor color1, TColor color2, const TRect& r, TacSide direction,
               int /*lineWidth*/, int angleShift, int arrowSize, TacArrowsStyle style) {
  std::uint8_t* line0 = nullptr;
  std::ptrdiff_t delta = 0;
  if (!InitLine(bmp, line0, delta)) return;
  if (arrowSize == 0) arrowSize = acArrowSize;
  int wR = r.Width();
  bool oddRect = wR % 2 != 0;
  int lw = 1;
  bool hasFill = true;
  std::uint32_t fill = SwapRedBlue(std::uint32_t(color1)) | 0xFF000000;
  if (IsLineStyle(style)) {
    lw = std::clamp(acLineWidth, 0, kMaxArrowSize);
    hasFill = color2 != clNone;
    fill = SwapRedBlue(std::uint32_t(color2)) | 0xFF000000;
  } else {
    --arrowSize;
    if (style == arsSolid2 && !oddRect) ++arrowSize;
  }
  if (arrowSize <= 0 || arrowSize > kMaxArrowSize) return;
  auto pic = MakeArrowBmp(arrowSize, lw, oddRect, style, hasFill, fill, color1);
  if (!pic) return;
  switch (direction) {
    case asTop:
      FlipRows(*pic);
      break;
    case asLeft:
      pic = bmpRotate(*pic, 90);
      break;
    case asRight:
      pic = bmpRotate(*pic, 270);
      break;
    default:
      break;
  }
  int x = r.Left + (wR - pic->Width()) / 2;
  int y = r.Top + (r.Height() - pic->Height()) / 2;
  PaintBmpRect32(bmp, *pic, pic->Bounds(), {x, y});
  if (angleShift != 0) {
    Bitmap copy = bmp;
    BitBltRotated(bmp, copy, {bmp.Width() / 2, bmp.Height() / 2}, angleShift - 90);
  }
}

void DrawColorArrow(gfx::HDC dc, TColor color, const TRect& r, TacSide direction) {
  const int w = ac_ArrowWidth, h = ac_ArrowHeight;
  if (!dc || w <= 0 || h <= 0 || w > kMaxArrowSize) return;
  gfx::COLORREF c = gfx::COLORREF(color) & 0x00FFFFFF;
  if (direction == asTop || direction == asBottom) {
    int left = r.Left + (r.Width() - w) / 2 - 1;
    int top = r.Top + (r.Height() - h) / 2 - 1;
    for (int k = 0; k <= h; ++k) {
      int y = direction == asBottom ? top + k : top + h - k;
      for (int j = k; j <= h; ++j) {
        gfx::SetPixel(dc, left + j, y, c);
        gfx::SetPixel(dc, left + w + 1 - j, y, c);
      }
    }
  } else {
    int left = r.Left + (r.Width() - h) / 2;
    int top = r.Top + (r.Height() - w) / 2;
    for (int k = 0; k <= h; ++k) {
      int x = direction == asRight ? left + k : left + h - k;
      for (int j = k; j <= h; ++j) {
        gfx::SetPixel(dc, x, top + j, c);
        gfx::SetPixel(dc, x, top + h + j - k, c);
      }
    }
  }
}

void DrawColorArrow(Bitmap& bmp, TColor color, const TRect& r, TacSide direction) {
  std::uint8_t* line0 = nullptr;
  std::ptrdiff_t delta = 0;
  const int w = ac_ArrowWidth, h = ac_ArrowHeight;
  if (!InitLine(bmp, line0, delta) || w <= 0 || h <= 0) return;
  std::uint32_t word = SwapRedBlue(std::uint32_t(color));
  if (direction == asTop || direction == asBottom) {
    int leftPos = r.Left + (r.Width() - w) / 2;
    int topPos = r.Top + (r.Height() - h) / 2;
    if (leftPos < 0 || topPos < 0 || leftPos + w >= bmp.Width() || topPos + h >= bmp.Height())
      return;
    for (int y = 0; y < h; ++y) {
      std::uint32_t* row = bmp.Row(direction == asBottom ? topPos + y : topPos + h - 1 - y);
      for (int j = y; j < h; ++j) row[leftPos + j] = row[leftPos + w - 1 - j] = word;
    }
  } else {
    int leftPos = r.Left + (r.Width() - h) / 2;
    int topPos = r.Top + (r.Height() - w) / 2;
    if (leftPos < 0 || topPos < 0 || leftPos + h >= bmp.Width() || topPos + w >= bmp.Height())
      return;
    for (int y = 0; y <= w; ++y) {
      std::uint32_t* row = bmp.Row(topPos + y);
      int from, to;  // inclusive columns from leftPos
      if (direction == asRight) {
        from = 0;
        to = y < h ? y : w - 1 - y;
      } else {
        from = y < h ? h - y : y - h;
        to = h - 1;
      }
      for (int x = from; x <= to; ++x) row[leftPos + x] = word;
    }
  }
}

void FocusRect(gfx::HDC dc, const TRect& r, TColor lightColor, TColor darkColor) {
  if (!dc || r.IsEmpty()) return;
  const int lastCol = r.Right - 1, lastRow = r.Bottom - 1;
  // Both colours are laid on the edges; the even offsets reach one past r on its far sides
  // when its size is even, and those pixels are not r's to set.
  auto put = [&](int x, int y, TColor color) {
    if (color != clNone && x < r.Right && y < r.Bottom)
      gfx::SetPixel(dc, x, y, gfx::COLORREF(color) & 0x00FFFFFF);
  };
  // Only the part of the edges that can show is walked (a huge r costs nothing).
  TRect box;
  if (gfx::GetClipBox(dc, &box) == 0) return;
  auto kRange = [](int from, int lo, int hi, int n, int& kLo, int& kHi) {
    kLo = std::max(1, int((std::int64_t(lo) - from) / 2));
    kHi = int(std::min<std::int64_t>(n, (std::int64_t(hi) - from) / 2 + 1));
  };
  int kLo, kHi;
  kRange(r.Left, box.Left, box.Right, r.Width() / 2, kLo, kHi);
  for (int k = kHi; k >= kLo; --k) {
    put(r.Left + 2 * k, r.Top, darkColor);
    put(r.Left + 2 * k, lastRow, darkColor);
    put(r.Left + 2 * k - 1, r.Top, lightColor);
    put(r.Left + 2 * k - 1, lastRow, lightColor);
  }
  kRange(r.Top, box.Top, box.Bottom, r.Height() / 2, kLo, kHi);
  for (int k = kHi; k >= kLo; --k) {
    put(r.Left, r.Top + 2 * k, darkColor);
    put(lastCol, r.Top + 2 * k, darkColor);
    put(r.Left, r.Top + 2 * k - 1, lightColor);
    put(lastCol, r.Top + 2 * k - 1, lightColor);
  }
}

const std::uint8_t BArrayClosed[9][9] = {
    {0, 0, 64, 32, 0, 0, 0, 0, 0},   {0, 0, 80, 80, 32, 0, 0, 0, 0},
    {0, 0, 80, 32, 80, 32, 0, 0, 0}, {0, 0, 80, 0, 32, 80, 32, 0, 0},
    {0, 0, 80, 0, 0, 32, 80, 32, 0}, {0, 0, 80, 0, 32, 80, 32, 0, 0},
    {0, 0, 80, 32, 80, 32, 0, 0, 0}, {0, 0, 80, 80, 32, 0, 0, 0, 0},
    {0, 0, 64, 32, 0, 0, 0, 0, 0}};
const std::uint8_t BArrayOpened[9][9] = {{0, 0, 0, 0, 0, 0, 0, 0, 0},
                                         {0, 0, 0, 0, 0, 80, 160, 0, 0},
                                         {0, 0, 0, 0, 80, 239, 239, 0, 0},
                                         {0, 0, 0, 80, 239, 192, 239, 0, 0},
                                         {0, 0, 80, 239, 192, 192, 239, 0, 0},
                                         {0, 80, 239, 192, 192, 192, 239, 0, 0},
                                         {0, 160, 239, 239, 239, 239, 208, 0, 0},
                                         {0, 0, 0, 0, 0, 0, 0, 0, 0},
                                         {0, 0, 0, 0, 0, 0, 0, 0, 0}};

void DrawAlphaMask9(Bitmap& bmp, int x, int y, const std::uint8_t (&mask)[9][9], TColor color) {
  const int cr = int(color & 0xFF), cg = int(color >> 8 & 0xFF), cb = int(color >> 16 & 0xFF);
  auto mix = [](int c, int old, int alpha) { return std::uint32_t((c - old) * alpha / 256 + old); };
  for (int row = 0; row < 9; ++row) {
    const int py = y + row;
    if (py < 0 || py >= bmp.Height()) continue;
    for (int col = 0; col < 9; ++col) {
      const int px = x + col, alpha = mask[row][col];
      if (px < 0 || px >= bmp.Width() || alpha == 0) continue;
      const std::uint32_t p = bmp.At(px, py);
      bmp.Set(px, py,
              (p & 0xFF000000) | mix(cr, int(p >> 16 & 0xFF), alpha) << 16 |
                  mix(cg, int(p >> 8 & 0xFF), alpha) << 8 | mix(cb, int(p & 0xFF), alpha));
    }
  }
}

}  // namespace skin::paint
