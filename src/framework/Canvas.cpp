#include "framework/Canvas.h"

#include <algorithm>

#include "platform/gfx/Pen.h"

namespace fw {

namespace {

// Lines take a pen made as the platform makes pens (CreatePen), so a replacement of it (a skin
// answering system colours with its own) reaches the canvas's lines too.
void SelectPen(HDC dc, TColor color) {
  gfx::HPEN pen = color == clNone ? gfx::CreatePen(gfx::PS_NULL, 1, 0)
                                  : gfx::CreatePen(gfx::PS_SOLID, 1, ColorToRGB(color));
  gfx::SelectPen(dc, pen);
  gfx::DeletePen(pen);
}

}  // namespace

bool TCanvas::Ready() {
  if (!FHandle) return false;
  gfx::SelectFont(FHandle, Font.Handle());
  gfx::SetTextColor(FHandle, ColorToRGB(Font.Color()));
  gfx::SetBkColor(FHandle, ColorToRGB(BrushColor));
  gfx::SetBkMode(FHandle, BrushStyle == TBrushStyle::bsClear ? gfx::TRANSPARENT : gfx::OPAQUE);
  gfx::SetDCBrushColor(FHandle,
                       BrushStyle == TBrushStyle::bsClear ? gfx::CLR_NONE : ColorToRGB(BrushColor));
  gfx::SetDCPenColor(FHandle, PenColor == clNone ? gfx::CLR_NONE : ColorToRGB(PenColor));
  return true;
}

void TCanvas::FillRect(const TRect& r) {
  if (Ready() && BrushStyle == TBrushStyle::bsSolid)
    gfx::FillRect(FHandle, r, ColorToRGB(BrushColor));
}

void TCanvas::FrameRect(const TRect& r) {
  if (!Ready() || r.IsEmpty()) return;
  auto c = ColorToRGB(BrushColor);
  gfx::FillRect(FHandle, {r.Left, r.Top, r.Right, r.Top + 1}, c);
  gfx::FillRect(FHandle, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, c);
  gfx::FillRect(FHandle, {r.Left, r.Top, r.Left + 1, r.Bottom}, c);
  gfx::FillRect(FHandle, {r.Right - 1, r.Top, r.Right, r.Bottom}, c);
}

void TCanvas::Rectangle(const TRect& r) {
  if (!Ready()) return;
  SelectPen(FHandle, PenColor);
  TPoint pts[4] = {
      {r.Left, r.Top}, {r.Right - 1, r.Top}, {r.Right - 1, r.Bottom - 1}, {r.Left, r.Bottom - 1}};
  gfx::Polygon(FHandle, pts, 4);
}

void TCanvas::MoveTo(int x, int y) {
  if (FHandle) gfx::MoveToEx(FHandle, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
  if (!Ready()) return;
  SelectPen(FHandle, PenColor);
  gfx::LineTo(FHandle, x, y);
}

void TCanvas::TextOut(int x, int y, std::u16string_view text) {
  if (Ready()) gfx::TextOutW(FHandle, x, y, text);
}

int TCanvas::TextRect(TRect& r, std::u16string_view text, unsigned format) {
  return Ready() ? gfx::DrawTextW(FHandle, text, &r, format) : 0;
}

gfx::TSize TCanvas::TextExtent(std::u16string_view text) {
  gfx::TSize size;
  if (Ready()) gfx::GetTextExtentPoint32W(FHandle, text, &size);
  return size;
}

namespace {

// Blends one straight-alpha source pixel over an opaque destination pixel.
gfx::Pixel Blend(gfx::Pixel dst, gfx::Pixel src) {
  int a = gfx::PixelA(src);
  if (a == 255) return src;
  if (a == 0) return dst;
  auto mix = [a](int d, int s) { return std::uint8_t((s * a + d * (255 - a) + 127) / 255); };
  return gfx::MakePixel(mix(gfx::PixelB(dst), gfx::PixelB(src)),
                        mix(gfx::PixelG(dst), gfx::PixelG(src)),
                        mix(gfx::PixelR(dst), gfx::PixelR(src)), gfx::PixelA(dst));
}

}  // namespace

void TCanvas::StretchDraw(const TRect& r, const gfx::Bitmap& bmp, bool blend) {
  if (!FHandle || bmp.Empty() || r.IsEmpty()) return;
  gfx::Bitmap& target = FHandle->Target();
  TPoint org = FHandle->State().origin;
  gfx::Region clip = FHandle->EffectiveClip();
  TRect dev = r.Offset(org.X, org.Y);
  TRect area = IntersectRects(dev, target.Bounds());
  for (int y = area.Top; y < area.Bottom; ++y) {
    int sy = int((long long)(y - dev.Top) * bmp.Height() / dev.Height());
    for (int x = area.Left; x < area.Right; ++x) {
      if (!clip.Contains({x, y})) continue;
      int sx = int((long long)(x - dev.Left) * bmp.Width() / dev.Width());
      gfx::Pixel s = bmp.At(sx, sy);
      target.Set(x, y, blend ? Blend(target.At(x, y), s) : s);
    }
  }
}

void TCanvas::Draw(int x, int y, const gfx::Bitmap& bmp, bool blend) {
  StretchDraw(gfx::RectOfSize(x, y, bmp.Width(), bmp.Height()), bmp, blend);
}

}  // namespace fw
