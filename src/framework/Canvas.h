// TCanvas: drawing on a device context with a font, a brush and a pen, as controls paint.
// The canvas borrows its DC (a paint DC, a bitmap's DC); it selects its font and colours
// into the DC before each call, so several canvases may share one DC.
#pragma once

#include <string_view>

#include "framework/Colors.h"
#include "framework/Font.h"
#include "platform/gfx/DeviceContext.h"

namespace fw {

using gfx::HDC;
using gfx::TPoint;
using gfx::TRect;

enum class TBrushStyle { bsSolid, bsClear };

class TCanvas {
 public:
  HDC Handle() const { return FHandle; }
  void SetHandle(HDC dc) { FHandle = dc; }

  TFont Font;                                     // text font and colour
  TColor BrushColor = clWhite;                    // fill colour
  TBrushStyle BrushStyle = TBrushStyle::bsSolid;  // bsClear: text and shapes leave the ground
  TColor PenColor = clBlack;                      // outline colour; clNone: no outline

  void FillRect(const TRect& r);
  void FrameRect(const TRect& r);  // a one-pixel outline in the brush colour
  void Rectangle(const TRect& r);  // brush fill and pen outline
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void TextOut(int x, int y, std::u16string_view text);
  // Formats text in r with DrawTextW flags; returns the height drawn.
  int TextRect(TRect& r, std::u16string_view text, unsigned format);
  gfx::TSize TextExtent(std::u16string_view text);
  int TextWidth(std::u16string_view text) { return TextExtent(text).cx; }
  int TextHeight(std::u16string_view text) { return TextExtent(text).cy; }
  // Copies a bitmap at (x, y): opaque pixels, or blended by their alpha when blend is set.
  void Draw(int x, int y, const gfx::Bitmap& bmp, bool blend = false);
  // Scales a bitmap into r (nearest neighbour), blended by alpha when blend is set.
  void StretchDraw(const TRect& r, const gfx::Bitmap& bmp, bool blend = false);

 private:
  bool Ready();  // selects font and colours; false without a DC
  HDC FHandle = nullptr;
};

// Binds a canvas to a DC for one paint, with a control's font and a solid brush of its
// colour; the canvas lets go of the DC when the scope ends, also when painting throws.
class TCanvasPaintScope {
 public:
  TCanvasPaintScope(TCanvas& canvas, HDC dc, const TFont& font, TColor color) : FCanvas(canvas) {
    canvas.SetHandle(dc);
    canvas.Font = font;
    canvas.BrushColor = color;
    canvas.BrushStyle = TBrushStyle::bsSolid;
  }
  ~TCanvasPaintScope() { FCanvas.SetHandle(nullptr); }
  TCanvasPaintScope(const TCanvasPaintScope&) = delete;
  TCanvasPaintScope& operator=(const TCanvasPaintScope&) = delete;

 private:
  TCanvas& FCanvas;
};

}  // namespace fw
