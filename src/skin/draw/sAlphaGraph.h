// Skin pictures drawn from the model (the model half of the alpha graphics unit; the pixel
// operations are skin/paint/sAlphaGraph.h): nine-slice borders, glyphs, corner repair and the
// per-pixel-alpha painting of layered windows.
//
// A picture's frame for a state is min(state, ImageCount - 1), never below 0: a picture
// without frames draws its first. A picture with no bitmap of its own lies in its model's
// master bitmap and needs its Manager.
#pragma once

#include <cstdint>

#include "skin/draw/sGraphUtils.h"

namespace skin::draw {

// Nine-slice drawing of border picture md for state into aRect of bmp; ci describes the
// parent at bmp's origin (corners' transparent pixels take it when updateCorners and the
// picture's corners are transparent). Sides and centre are tiled, or stretched with DrawMode
// bit 0; DrawMode bit 1 skips state 0, bit 2 draws the centre. Corners wider than aRect are
// cut evenly. Nothing when aRect is below 2 pixels in a side or does not lie inside bmp.
void DrawSkinRect(Bitmap& bmp, const TRect& aRect, const TCacheInfo& ci, const TsMaskData& md,
                  int state, bool updateCorners);
// The same with per-pixel alpha for layered windows: masked pieces set alpha from the mask,
// transparent corner pixels always take the parent (ci).
void DrawSkinRect32(Bitmap& bmp, const TRect& aRect, const TCacheInfo& ci, const TsMaskData& md,
                    int state);
// The same for hints and outer effects: each slice at most maxWidths' side (Left, Top, Right,
// Bottom), masked pieces drawn with opacity (0..255) as CopyByMask32Ex does.
void DrawSkinRect32Ex(Bitmap& bmp, const TRect& aRect, const TCacheInfo& ci, const TsMaskData& md,
                      int state, const TRect& maxWidths, int opacity);
// The outer effect (shadow or glow) of section skinIndex around ctrlRect of bmp, the parent's
// picture: the section's outer item lies round the rectangle, each side as wide as the item's
// slice, drawn as DrawSkinRect32Ex does with the section's OuterOpacity. Only what lies
// outside ctrlRect and inside bmp changes. Nothing for OuterMode 0, without an outer item, or
// for a frame wider or higher than 16384 or lying beyond that in any direction.
void PaintOuterEffect(Bitmap& bmp, const TRect& ctrlRect, const TacSkinModel& sm, int skinIndex);
// The frame of glyph md for state with its top-left at p (negative coordinates cut it).
// addedTransparency 1 draws it as it is; other values lighter. A glyph in its own bitmap is
// skipped when that bitmap is smaller than md.R; one in the master bitmap needs ImageCount > 0.
void DrawSkinGlyph(Bitmap& bmp, TPoint p, int state, int addedTransparency, const TsMaskData& md,
                   const TCacheInfo& ci);

// Corners of a control's cache.
enum TsCorner : std::uint8_t {
  scLeftTop = 1,
  scLeftBottom = 2,
  scRightTop = 4,
  scRightBottom = 8,
};
// A set of TsCorner values.
using TsCorners = std::uint8_t;
inline constexpr TsCorners acAllCorners = scLeftTop | scLeftBottom | scRightTop | scRightBottom;

// Repairs the corners of cache painted with border picture md for state: each cache pixel whose
// picture pixel is the key colour takes the parent's (bg: btCache copies bg.Bmp at bg.Offset
// plus the position, inside bg.Bmp only; otherwise bg.Color unless it is clFuchsia). Nothing
// for a picture with opaque corners (CornerType 0). A picture in its own bitmap without
// ImageCount counts as three masked frames over the whole bitmap.
void UpdateCorners(Bitmap& cache, const TsMaskData& md, int state, TsCorners corners,
                   const TacBGInfo& bg);

// The background of section skinIndex with per-pixel alpha for layered windows: transparency
// 100 over the whole bitmap leaves it fully transparent; otherwise the layers of PaintItemBG
// with alpha (100 - transparency) percent. The section's own gradient is never changed.
void PaintItemBG32(const TacSkinModel* sm, int skinIndex, int state, const TRect& r, TPoint pP,
                   Bitmap& itemBmp);
// Section skinIndex for layered windows: background (PaintItemBG32) and border (DrawSkinRect32
// over what r held before); a whole-bitmap r is premultiplied afterwards.
void PaintItem32(const TacSkinModel* sm, int skinIndex, bool filling, int state, const TRect& r,
                 TPoint pP, Bitmap* itemBmp);

}  // namespace skin::draw
