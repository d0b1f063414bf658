// Fills, plain colour blends, colour transforms, the disabled look, fading, rotation and
// regions from bitmaps, on 32-bit skin bitmaps (see sAlphaGraph.h for the conventions).
#pragma once

#include <memory>
#include <vector>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Region.h"
#include "skin/paint/sAlphaGraph.h"

namespace skin::paint {

// Every pixel of r inside the bitmap = color in pixel order with A = alpha.
void FillRect32(Bitmap& bmp, const TRect& r, TColor color, std::uint8_t alpha);
// Solid fill of r through a drawing context (for targets that are not skin bitmaps).
void FillDC(gfx::HDC dc, const TRect& r, TColor color);
// A frame of four bands inside r: top (full width, wt high), left (wl wide, below the top band),
// bottom (right of the left band, wb high), right (wr wide, between top and bottom bands).
void FillDCBorder(gfx::HDC dc, const TRect& r, int wl, int wt, int wr, int wb, TColor color);
// The same four bands on a 32-bit bitmap, opaque, each cut to r.
void FillDCBorder32(Bitmap& bmp, const TRect& r, int wl, int wt, int wr, int wb, TColor color);
// r with inclusive Right and Bottom, clipped to the bitmap: c = (c * blend + color.c *
// (255 - blend)) >> 8 for blend in 0..255; alpha kept.
void BlendColorRect(Bitmap& bmp, const TRect& r, int blend, TColor color);
// r clipped: c = c - blendValue * (c - color.c) / 100 (blendValue a percentage, division
// truncating toward zero); A = alpha.
void BlendRect32(Bitmap& bmp, const TRect& r, TColor color, int blendValue, std::uint8_t alpha);
// Per channel (c1 * blendOf1 + c2 * (255 - blendOf1)) >> 8; the top byte of color1.
TColor BlendColors(TColor color1, TColor color2, int blendOf1);

// Colour functions on pixel-order words; byte 3 is always kept.
// Brightness: delta > 0 c = min(255, c + c * delta >> 8), delta < 0 c = max(0, c - c * -delta >>
// 8).
TsColor_ ChangeBrightness(TsColor_ color, int delta);
// Saturation: L = Round(0.299 R + 0.587 G + 0.114 B), c = clamp((delta + 255) * c - L * delta,
// 0, 65535) >> 8; -255 gives grey.
TsColor_ ChangeSaturation(int delta, TsColor_ color);
// The same on a TColor (byte 2 weighted 0.299, byte 0 0.114).
TColor ChangeSaturation(TColor color, int delta);
// Hue shifted by delta degrees through HSV.
TsColor_ ChangeHue(int delta, TsColor_ color);
// The same on a TColor; delta 0 returns it unchanged.
TColor ChangeHue(int delta, TColor color);
// Recolours by the largest of R, G, B: out.c = tone.c * max >> 8.
TsColor_ ChangeTone(TsColor_ color, TsColor tone);
// A = 255 (the callback form of ChangeBitmapPixels; param unused).
TsColor_ MakeAlphaPixel(TsColor_ color, int param);

// A per-pixel colour function with its parameter.
using TChangeProc = TsColor_ (*)(TsColor_ color, int param);
// Callback forms of the colour functions above.
TsColor_ ChangeColorBrightness(TsColor_ color, int delta);
TsColor_ ChangeColorSaturation(TsColor_ color, int delta);
TsColor_ ChangeColorHUE(TsColor_ color, int delta);
// ChangeTone with the tone given as a colour-order word.
TsColor_ ChangeColorTone(TsColor_ color, int tone);
// Calls proc on every pixel whose word differs from skipColor in pixel order (all when clNone).
void ChangeBitmapPixels(Bitmap& bmp, TChangeProc proc, int param, TColor skipColor);
// B = G = R = Round(0.299 R + 0.587 G + 0.114 B); alpha kept.
void GrayScale(Bitmap& bmp);
// The same, skipping pixels equal to transColor (colour order).
void GrayScaleTrans(Bitmap& bmp, TsColor transColor);

// Kinds of disabled look.
enum TDisabledKind : unsigned { dkBlended = 1, dkGrayed = 2 };
// Saturation of disabled glyphs in percent (-100: plain grey scale).
extern int DefDisabledSaturation;
// Weight kept of a disabled glyph when blended with its background.
extern int DefBlendDisabled;
// Makes a glyph look disabled: greyed, then blended with the parent's background (ci, at the
// glyph's offset) or with ci.FillColor (parentColor when that is clFuchsia).
void BmpDisabledKind(Bitmap& bmp, unsigned disabledKind, TColor parentColor, const TCacheInfo& ci,
                     TPoint offset);
// Fades area r toward color with soft rounded edges of blur pixels; the inside keeps weight
// transparency percent of the picture.
void FadeBmp(Bitmap& bmp, const TRect& r, int transparency, TsColor_ color, int blur, int radius);
// Fills a rounded rectangle (corner size = ellipse diameter) with one word, clipped.
void FillRoundRect(Bitmap& bmp, const TRect& r, int cornerSize, std::uint32_t value);

// A new bitmap turned clockwise by 90, 180 or 270 degrees (other angles: a copy).
std::unique_ptr<Bitmap> bmpRotate(const Bitmap& src, int rotateAngle);
// Draws src turned by angle degrees (clockwise on screen) around centre, nearest-neighbour,
// all four bytes, clipped to dst.
void BitBltRotated(Bitmap& dst, const Bitmap& src, TPoint centre, double angle);
// The bitmap's rectangle minus the pixels whose word equals transColor (pixel order).
gfx::Region GetRgnFromBmp(const Bitmap& mask, std::uint32_t transColor);
// Rectangles collected for a region (one per run of pixels), combined into one at the end:
// gfx::Region::FromRects(aor).
using TAOR = std::vector<TRect>;
// Adds to aor the runs of pixels of bmp's area r (clipped to bmp) whose B, G, R bytes equal
// transColor's (pixel order; the alpha byte is not compared), moved so that r's top-left lands
// at `at`; only the parts inside `limit` are added.
void AddRgnBmp(TAOR& aor, const Bitmap& bmp, const TRect& r, TPoint at, std::uint32_t transColor,
               const TRect& limit);
// Adds the transparent corners of border item md (its first image, md.Width x md.Height, in
// md.Bmp or, when that is null, in master) for a window of width x height: the pixels of the
// four corner areas (WL x WT, WR x WT, WL x WB, WR x WB) that are the key colour 0xFF00FF, each
// laid at its corner of the window and cut to it. Nothing for an item whose CornerType is 0
// (opaque corners), an empty window, or an item without a picture.
void AddRgn(TAOR& aor, int width, int height, const TsMaskData& md, const Bitmap* master);

// Arrows, focus marks and border copies shared by the skinned controls.

// The direction an arrow points to; also the order of side tables.
enum TacSide { asLeft, asTop, asRight, asBottom };
// Arrow looks: filled triangles (1 full height, 2 half height) or open chevrons of two strokes;
// arsDefault stands for the skin's own choice and is resolved before drawing.
enum TacArrowsStyle { arsSolid1, arsLines1, arsSolid2, arsLines2, arsDefault };

// Sizes of arrows at the current scale (the skin manager rescales them; 100 percent below).
extern int acArrowSize;     // 5
extern int acLineWidth;     // 2, the stroke of chevrons
extern int ac_ArrowWidth;   // 7, the base of pixel triangles
extern int ac_ArrowHeight;  // 4 = ac_ArrowWidth div 2 + ac_ArrowWidth mod 2

// An anti-aliased arrow composited into bmp, centred in r. arrowSize 0 means acArrowSize.
// Solid styles fill a triangle in color1; line styles draw two strokes of acLineWidth in
// color1 over a fill in color2 (none when color2 is clNone). lineWidth is not used (the
// stroke width is the scaled one). angleShift other than 0 turns the whole bitmap by
// angleShift - 90 degrees afterwards.
void DrawArrow(Bitmap& bmp, TColor color1, TColor color2, const TRect& r, TacSide direction,
               int lineWidth, int angleShift, int arrowSize, TacArrowsStyle style);
// A pixel triangle set pixel by pixel through dc in color (an RGB value), ac_ArrowHeight + 1
// rows (columns) deep, its widest row ac_ArrowWidth + 2 pixels; pixels outside dc's clip are
// dropped.
void DrawColorArrow(gfx::HDC dc, TColor color, const TRect& r, TacSide direction);
// A pixel triangle of ac_ArrowHeight rows written into bmp as the word SwapRedBlue(color) (its
// alpha is color's top byte); nothing at all when the triangle does not fit inside bmp.
void DrawColorArrow(Bitmap& bmp, TColor color, const TRect& r, TacSide direction);
// The tree's expand marks, 9 x 9 opacities, rows top to bottom: an outlined right-pointing
// mark for a collapsed node, a filled down-pointing one for an expanded node.
extern const std::uint8_t BArrayClosed[9][9];
extern const std::uint8_t BArrayOpened[9][9];
// Lays color over bmp with each mask value as its opacity, the mask's top-left at (x, y): per
// channel new = (color - old) * alpha / 256 + old (the division truncating toward zero); alpha
// kept. Cells outside the bitmap are skipped.
void DrawAlphaMask9(Bitmap& bmp, int x, int y, const std::uint8_t (&mask)[9][9], TColor color);
// Dotted frame on r through dc: lightColor on the odd offsets from r's top-left along each edge,
// darkColor on the even ones (never the corner itself); clNone leaves those pixels. Nothing is
// drawn outside r.
void FocusRect(gfx::HDC dc, const TRect& r, TColor lightColor, TColor darkColor);
// Copies the border bands of the rectangle (x, y, width, height) from src (the same offsets
// from (xSrc, ySrc)): left wl wide, top wt high, right wr wide, bottom wb high. wl < 0 counts
// as 0; each other width < 1 takes wl, so one width copies a uniform frame. Every band is cut
// to the rectangle.
void BitBltBorder(gfx::HDC dst, int x, int y, int width, int height, gfx::HDC src, int xSrc,
                  int ySrc, int wl, int wt, int wr, int wb);
// Nine-slice copy of src's srcRect onto dst's dstRect (all four bytes, nearest-neighbour).
// borderWidths are the template's bands; borderMaxWidths limit how thick the side bands are
// drawn (the corners keep their full size as L shapes). drawModes per side: 0 tiles, 1
// stretches, other values draw nothing. The centre is drawn only with fillCenter: stretched
// with stretchCenter, else tiled.
void PaintControlByTemplate(Bitmap& dst, const Bitmap& src, const TRect& dstRect,
                            const TRect& srcRect, const TRect& borderWidths,
                            const TRect& borderMaxWidths, const TRect& drawModes,
                            bool stretchCenter, bool fillCenter);
// bmp composited with its alpha over what dc shows in r (stretched nearest-neighbour to r's
// size when the sizes differ), with a fading reflection below r when reflected (half r's
// height, through the same context).
void DrawBmp(gfx::HDC dc, const Bitmap& bmp, const TRect& r, bool reflected);

// How a texture fills an area (the DrawMode of a texture item; acFillModes maps the item's
// value to it).
enum TacFillMode {
  fmTiled = 0,             // tiles over the whole area, the last row and column clipped
  fmStretched = 1,         // one texture stretched over the area
  fmTiledHorz = 2,         // one row of tiles along the top
  fmTiledVert = 3,         // one column of tiles along the left
  fmStretchHorzTop = 4,    // stretched across the top band, texture height high
  fmStretchVertLeft = 5,   // stretched down the left band, texture width wide
  fmTileHorBtm = 6,        // one row of tiles along the bottom
  fmTileVertRight = 7,     // one column of tiles along the right
  fmStretchHorBtm = 8,     // stretched across the bottom band
  fmStretchVertRight = 9,  // stretched down the right band
  fmDisTiled = 10,         // whole tiles only (and the clipped last column)
  fmStretchHorz = 11,      // texture rows stretched to the full width, stacked downwards
  fmStretchVert = 12,      // texture columns stretched to the full height, side by side
  fmFromBottomToTop = 13,  // tiles anchored at the bottom-right corner
  fmReserved1 = 14,        // draws nothing: the plain colour fills the area
};
// The fill mode of a texture item's DrawMode (identity for 0..14, fmTiled for anything else).
TacFillMode acFillModes(int drawMode);

// Draws the unmasked texture md (its first image: md.Width x md.Height at md.R's top-left of
// src) into aRect of bmp with fillMode, clipped to aRect and the bitmap. aRect becomes the part
// left for the plain colour, or (-1, -1, -1, -1) when nothing is left. fmDisTiled hands back
// the strip below its last whole row. A texture without size draws nothing and leaves aRect.
void TileBitmap(Bitmap& bmp, TRect& aRect, const Bitmap& src, TacFillMode fillMode,
                const TsMaskData& md);
// Draws a masked texture (picture over mask in md.Bmp, the caller handing the master bitmap
// over there for items lying in it; a tile is md.Width x half of md.R's height) into aRect
// through CopyMasterRect with ci. fmTiled covers the whole area (last row and column
// clipped); fmDisTiled draws whole tiles only and takes the strips right of and below them
// from the parent (ci ready with a bitmap: ci.Bmp at ci.X, ci.Y) or ci.FillColor. Other modes
// draw nothing. aRect becomes (-1, -1, -1, -1).
void TileMasked(Bitmap& bmp, TRect& aRect, const TCacheInfo& ci, TacFillMode fillMode,
                const TsMaskData& md);

}  // namespace skin::paint
