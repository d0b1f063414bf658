// Section painting from the skin model (the model half of the graphics unit; its bitmap-only
// routines live in skin/paint/sGraphUtils.h): a section for a state turned into pixels of a
// 32-bit bitmap over what lies behind it (colour, texture, gradient, transparency, corner
// pictures, nine-slice border).
//
// The model stands for the skin manager: a null model paints nothing. Painting never raises
// and never reads or writes outside its bitmaps, whatever the model holds: invalid section or
// picture indexes, an empty rectangle or one not lying inside the bitmap draw nothing.
#pragma once

#include "platform/gfx/DeviceContext.h"
#include "skin/data/acSkinModel.h"
#include "skin/paint/sGraphUtils.h"

namespace skin::draw {

using gfx::Bitmap;
using gfx::TPoint;
using gfx::TRect;
using skin::data::TacSkinModel;
using skin::data::TsGeneralData;
using skin::data::TsGenState;
using skin::paint::clFuchsia;
using skin::paint::clNone;
using skin::paint::TCacheInfo;
using skin::paint::TColor;
using skin::paint::TsMaskData;

// The parent's cache bmp, ready to copy, with the item's origin at (x, y) in it.
constexpr TCacheInfo MakeCacheInfo(const Bitmap* bmp, int x = 0, int y = 0) {
  return {bmp, x, y, clFuchsia, {}, true};
}
// The parent is unknown.
inline constexpr TCacheInfo EmptyCI{nullptr, -99, -99, clFuchsia, {}, false};

// How a parent that was asked for its background (AC_GETBG) answered.
enum class TacBGType {
  btUnknown,  // nobody answered
  btFill,     // use Color
  btCache,    // Bmp is ready to copy
  btNotReady  // the parent's picture is being rebuilt
};

// The answer of a parent asked for its background.
struct TacBGInfo {
  Bitmap* Bmp = nullptr;  // the parent's cache, not owned
  TColor Color = 0;       // the parent's background colour
  TPoint Offset;          // the asking control's place in Bmp
  TRect R;                // the area to draw with PleaseDraw
  TRect FillRect;         // border-band widths
  TacBGType BgType = TacBGType::btUnknown;
  bool PleaseDraw = false;  // the asker wants the background drawn into DrawDC
  gfx::HDC DrawDC = nullptr;
};

// The state a section paints: at most States - 1, never below 0.
int LimitState(const TsGeneralData& gd, int state);
// The property record of a (limited) state: Props[0..2].
const TsGenState& StateProps(const TsGeneralData& gd, int state);

// The bitmap a picture lies in: its own, else its model's master bitmap; null without either.
inline const Bitmap* PictureOf(const TsMaskData& md) {
  return md.Bmp ? md.Bmp : md.Manager ? &md.Manager->MasterBitmap : nullptr;
}
// Whether r is non-empty and lies inside bmp.
inline bool LiesInside(const Bitmap& bmp, const TRect& r) {
  return !r.IsEmpty() && r.Left >= 0 && r.Top >= 0 && r.Right <= bmp.Width() &&
         r.Bottom <= bmp.Height();
}

// The layers of a background (colour, texture, gradient) as a state's inputs give them.
struct TacBGLayers {
  TColor Color = 0;
  int ImagePercent = 0;                                // texture share, 0..100
  int GradientPercent = 0;                             // gradient share, 0..100
  int TextureIndex = -1;                               // texture item, -1 none
  const skin::paint::TsGradArray* Gradient = nullptr;  // null or empty: none
  int Transparency = 0;                                // 0..100; used by the layered form only
  bool Layered = false;  // per-pixel alpha of layered windows: alpha (100 - Transparency) %
};
// Paints the layers into area a of bmp (ci: the parent behind bmp's origin, for masked
// textures): a gradient fused with a texture, else texture, gradient over it and the colour
// for what their shares leave.
void PaintAddons(const TacSkinModel& sm, Bitmap& bmp, const TRect& a, const TCacheInfo& ci,
                 const TacBGLayers& layers);

// What a control adds to its section when painted (the per-control data hands it over).
struct TacControlPaint {
  int SkinIndex = -1;              // the control's section
  int BorderIndex = -1;            // its border picture
  TColor CustomColor = clFuchsia;  // its own colour (RGB) when it paints with it, else clFuchsia
  TColor ColorTone = clNone;       // recolouring of the painted item; clNone for none
  int HueOffset = 0;               // degrees
  int Saturation = 0;              // saturation change
};

// The background of section skinIndex for state into r of itemBmp: colour, texture, gradient
// and transparency over the parent. ci describes the parent at the bitmap's origin and pP is
// the bitmap's origin inside the parent image: item pixel (x, y) lies over parent pixel
// (x + ci.X + pP.X, y + ci.Y + pP.Y). textureIndex / hotTextureIndex are texture items for
// state 0 / the other states (-1: the section's own); customColor other than clFuchsia paints
// that colour alone.
void PaintItemBG(const TacSkinModel* sm, int skinIndex, const TCacheInfo& ci, int state,
                 const TRect& r, TPoint pP, Bitmap& itemBmp, int textureIndex = -1,
                 int hotTextureIndex = -1, TColor customColor = clFuchsia);
// The same for a control: its section, textures from the section, its custom colour.
void PaintItemBG(const TacSkinModel* sm, const TacControlPaint& control, const TCacheInfo& ci,
                 int state, const TRect& r, TPoint pP, Bitmap& itemBmp);
// The background with the texture items given (-1: none), not the section's.
void PaintItemBGFast(const TacSkinModel* sm, int skinIndex, int bgIndex, int bgHotIndex,
                     const TCacheInfo& ci, int state, const TRect& r, TPoint pP, Bitmap& itemBmp);

// Section skinIndex for state into r of itemBmp: background, corner pictures, border (with the
// parent showing through its transparent corners). filling is accepted and not used.
void PaintItem(const TacSkinModel* sm, int skinIndex, const TCacheInfo& ci, bool filling, int state,
               const TRect& r, TPoint pP, Bitmap* itemBmp, int bgIndex = -1, int bgHotIndex = -1);
// The same for a control, then its colour tone, hue and saturation over r
// (key-coloured pixels kept; skipped when no border is drawn and the state is transparent,
// so that a copied parent is not recoloured). updateCorners goes to the border drawing.
void PaintItem(const TacSkinModel* sm, const TacControlPaint& control, const TCacheInfo& ci,
               bool filling, int state, const TRect& r, TPoint pP, Bitmap* itemBmp,
               bool updateCorners);
// Through a temporary bitmap of r's size, copied to dc at r. Nothing for an empty r.
void PaintItem(const TacSkinModel* sm, int skinIndex, const TCacheInfo& ci, bool filling, int state,
               const TRect& r, TPoint pP, gfx::HDC dc);
// Background with the given textures and the border picture maskIndex; no corner pictures,
// no colour adjustment (scroll-bar parts and the like).
void PaintItemFast(const TacSkinModel* sm, int skinIndex, int maskIndex, int bgIndex,
                   int bgHotIndex, const TCacheInfo& ci, bool filling, int state, const TRect& r,
                   TPoint pP, Bitmap* itemBmp);
// The whole of bmp painted with sectionIndex (secondIndex when that is < 0). With parentDC the
// bitmap first takes the parent's pixels at parentOffset and the parent counts as ready; else
// the parent is bgColor.
void PaintSection(Bitmap& bmp, int sectionIndex, int secondIndex, int state, const TacSkinModel* sm,
                  TPoint parentOffset, TColor bgColor, gfx::HDC parentDC = nullptr);

}  // namespace skin::draw
