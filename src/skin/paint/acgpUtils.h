// Smooth drawing done with our own code: linear two-colour gradients with alpha, a four-corner
// path gradient, Gouraud-shaded triangles and anti-aliased lines, all on 32-bit bitmaps.
#pragma once

#include "skin/paint/sAlphaGraph.h"

namespace skin::paint {

// Linear gradient over (x, y, width, height) from color1 to color2 (colour order with alpha),
// top to bottom (V) or left to right (H); the first and last row (column) take the end colours
// exactly. Drawn straight-alpha source-over with exact weights (an opaque colour replaces the
// pixel, a transparent one leaves it), only inside clip and the bitmap.
void acgpGradientRectangleV(Bitmap& bmp, const TRect& clip, TsColor color1, TsColor color2, int x,
                            int y, int width, int height);
void acgpGradientRectangleH(Bitmap& bmp, const TRect& clip, TsColor color1, TsColor color2, int x,
                            int y, int width, int height);
// Path gradient over rectangle r: corner colours top-left, top-right, bottom-right, bottom-left,
// shading to centerColor at the centre; drawn source-over.
void acgpGradientRectangle(Bitmap& bmp, const TRect& r, const TsColor corners[4],
                           TsColor centerColor);

// A vertex of GradientFillAC: position and 16-bit channels (8-bit value * 256).
struct TTriVertex {
  int x = 0, y = 0;
  std::uint16_t Red = 0, Green = 0, Blue = 0, Alpha = 0;
};
// Gouraud-shaded triangles (indices into vertices), opaque, clipped to the bitmap.
void GradientFillAC(Bitmap& bmp, const TTriVertex* vertices, int count, const int (*triangles)[3],
                    int triangleCount);

// Anti-aliased line of the given width in color (a TColor without alpha byte is opaque).
void acgpDrawLine(Bitmap& bmp, int x1, int y1, int x2, int y2, std::uint32_t color, int width);
// Smooth scaled copy of src's srcRect into dst's dstRect (Mitchell resampling).
void acgpStretchRect(const Bitmap& src, Bitmap& dst, const TRect& srcRect, const TRect& dstRect);

}  // namespace skin::paint
