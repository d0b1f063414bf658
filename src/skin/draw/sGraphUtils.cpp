// Section painting from the model; see sGraphUtils.h.
#include "skin/draw/sGraphUtils.h"

#include <algorithm>

#include "skin/draw/sAlphaGraph.h"
#include "skin/paint/sGradient.h"

namespace skin::draw {

using namespace skin::paint;

namespace {

int Percent(int value) {
  return std::clamp(value, 0, 100);
}

TCacheInfo Offset(TCacheInfo ci, TPoint by) {
  ci.X += by.X;
  ci.Y += by.Y;
  return ci;
}

// A texture item that can be drawn, or null.
const TsMaskData* Texture(const TacSkinModel& sm, int index) {
  if (!sm.IsValidImgIndex(index)) return nullptr;
  const TsMaskData& md = sm.ma[index];
  return md.Width > 0 && md.Height > 0 && PictureOf(md) ? &md : nullptr;
}

void Fill(Bitmap& bmp, const TRect& r, TColor color, int alpha) {
  FillRect32(bmp, r, color, std::uint8_t(alpha));
}

// The colour where no texture or gradient share covers the area.
void ColourFill(Bitmap& bmp, const TRect& a, const TacBGLayers& l, int alpha) {
  if (!l.Layered || l.Transparency == 0) return Fill(bmp, a, l.Color, 255);
  const std::uint32_t corner = GetAPixel(bmp, a.Left, a.Top);
  const int existing = int(corner >> 24);
  if (existing == 0) return Fill(bmp, a, l.Color, alpha);
  if (l.Transparency < 100)
    BlendRect32(bmp, a, l.Color, 100 - l.Transparency, std::uint8_t(std::max(existing, alpha)));
}

// Masked textures are read through the item's bitmap; master-bitmap items get it handed over.
TsMaskData WithPicture(const TsMaskData& md) {
  TsMaskData m = md;
  m.Bmp = PictureOf(md);
  return m;
}

// What the parent shows in r (transparency 100).
void ShowParent(Bitmap& bmp, const TRect& r, const TCacheInfo& ci, TPoint pP) {
  const TCacheInfo p = Offset(ci, pP);
  if (ci.Ready && ci.Bmp) {
    if (ci.Bmp != &bmp) bmp.CopyFrom(*ci.Bmp, r.Offset(p.X, p.Y), {r.Left, r.Top});
    return;
  }
  Fill(bmp, r, ci.FillColor, 255);
  if (!ci.Bmp) return;
  // A parent that is not ready holds only its border bands.
  const int w = ci.Bmp->Width(), h = ci.Bmp->Height();
  const TRect f = ci.FillRect, over = r.Offset(p.X, p.Y);
  for (const TRect& band : {TRect{0, 0, f.Left, h}, TRect{0, 0, w, f.Top},
                            TRect{w - f.Right, 0, w, h}, TRect{0, h - f.Bottom, w, h}}) {
    const TRect part = IntersectRects(IntersectRects(band, ci.Bmp->Bounds()), over);
    if (!part.IsEmpty()) bmp.CopyFrom(*ci.Bmp, part, {part.Left - p.X, part.Top - p.Y});
  }
}

// The parent under r before a transparent item is summed over it.
void PutParent(Bitmap& bmp, const TRect& r, const TCacheInfo& ci, TPoint pP) {
  if (!ci.Ready || !ci.Bmp) return Fill(bmp, r, ci.FillColor, 255);
  if (ci.Bmp != &bmp) bmp.CopyFrom(*ci.Bmp, r.Offset(ci.X + pP.X, ci.Y + pP.Y), {r.Left, r.Top});
}

// The background of a section; sectionTextures: a state without a texture from the caller
// takes the section's.
void PaintBackground(const TacSkinModel& sm, const TsGeneralData& gd, const TCacheInfo& ci,
                     int state, const TRect& r, TPoint pP, Bitmap& bmp, int textureIndex,
                     int hotTextureIndex, TColor customColor, bool sectionTextures) {
  state = LimitState(gd, state);
  const TsGenState& s = StateProps(gd, state);
  const int callerTexture = state != 0 ? hotTextureIndex : textureIndex;
  const bool custom = customColor != clFuchsia;
  TacBGLayers l;
  bool overlay = false;
  if (custom) {
    l.Color = customColor;
  } else {
    l.Color = s.Color;
    l.Transparency = Percent(s.Transparency);
    overlay = !s.GradientArray.empty() && (s.GradientArray[0].Mode & PM_OVERLAY) != 0;
    if (l.Transparency < 100) {
      l.ImagePercent = Percent(s.ImagePercent);
      l.GradientPercent = overlay ? 0 : Percent(s.GradientPercent);
      l.TextureIndex = callerTexture;
      if (l.TextureIndex < 0 && l.ImagePercent > 0 && sectionTextures)
        l.TextureIndex = s.TextureIndex;
      if (l.GradientPercent > 0) l.Gradient = &s.GradientArray;
    }
  }
  const int t = l.Transparency;
  const bool known = ci.Ready || ci.FillColor != clFuchsia;
  const bool layered = (l.ImagePercent > 0 && Texture(sm, l.TextureIndex)) || l.GradientPercent > 0;
  if (!known || t == 0) {
    PaintAddons(sm, bmp, r, Offset(ci, pP), l);
  } else if (t == 100) {
    ShowParent(bmp, r, ci, pP);
  } else if (ci.Ready || layered) {
    auto item = CreateBmp32(r.Width(), r.Height());
    PaintAddons(sm, *item, item->Bounds(), Offset(ci, {pP.X + r.Left, pP.Y + r.Top}), l);
    PutParent(bmp, r, ci, pP);
    SumBmpRect(bmp, *item, t * 255 / 100, item->Bounds(), {r.Left, r.Top});
  } else {
    Fill(bmp, r, BlendColors(ci.FillColor, l.Color, t * 255 / 100), 255);
  }
  if (overlay) PaintGrad(bmp, r, s.GradientArray);
  if (custom) return;
  // A masked texture spread over the finished background.
  int top = callerTexture >= 0 ? callerTexture : sectionTextures ? s.TextureIndex : -1;
  const TsMaskData* tex = Texture(sm, top);
  if (tex && tex->MaskType > 0 && tex->DrawMode == fmDisTiled) {
    TRect area = r;
    TileMasked(bmp, area, Offset(ci, pP), fmDisTiled, WithPicture(*tex));
  }
}

// The corner pictures of a section over what is painted, cut to the item.
void PaintCornerImages(const TacSkinModel& sm, const TsGeneralData& gd, int state, const TRect& r,
                       Bitmap& bmp) {
  const int corners[] = {gd.ImgTL, gd.ImgTR, gd.ImgBL, gd.ImgBR};
  if (std::none_of(std::begin(corners), std::end(corners),
                   [&](int i) { return sm.IsValidImgIndex(i); }))
    return;
  Bitmap item = bmp.Copy(r);
  const TCacheInfo here = MakeCacheInfo(&item);
  for (int c = 0; c < 4; ++c) {
    if (!sm.IsValidImgIndex(corners[c])) continue;
    const TsMaskData& md = sm.ma[corners[c]];
    const bool right = c % 2 == 1, bottom = c >= 2;
    const TPoint p{right ? item.Width() - md.Width : 0, bottom ? item.Height() - md.Height : 0};
    DrawSkinGlyph(item, p, state, 1, md, here);
  }
  bmp.CopyFrom(item, item.Bounds(), {r.Left, r.Top});
}

bool Paintable(const TacSkinModel* sm, int skinIndex, const Bitmap* bmp, const TRect& r) {
  return bmp && sm && sm->IsValidSkinIndex(skinIndex) && LiesInside(*bmp, r);
}

}  // namespace

int LimitState(const TsGeneralData& gd, int state) {
  return std::max(0, std::min(state, gd.States - 1));
}

const TsGenState& StateProps(const TsGeneralData& gd, int state) {
  return gd.Props[std::clamp(state, 0, 2)];
}

void PaintAddons(const TacSkinModel& sm, Bitmap& bmp, const TRect& a, const TCacheInfo& ci,
                 const TacBGLayers& l) {
  const TsMaskData* tex = l.ImagePercent > 0 ? Texture(sm, l.TextureIndex) : nullptr;
  // A share given to a texture that cannot be drawn goes to the colour.
  const int ip = tex ? l.ImagePercent : 0, gp = l.GradientPercent;
  const bool grad = l.Gradient && !l.Gradient->empty();
  const int alpha = l.Layered ? (100 - l.Transparency) * 255 / 100 : 255;
  if (tex && grad && ip + gp == 100 && gp < 100 && tex->DrawMode == 0) {
    const int dir = (*l.Gradient)[0].Mode & MASK_DIRECTION;
    if (dir == 0 || dir == PM_VERTICAL) {
      PaintGradTxt(bmp, a, *l.Gradient, *PictureOf(*tex),
                   RectOfSize(tex->R.Left, tex->R.Top, tex->Width, tex->Height), ip * 255 / 100,
                   std::uint8_t(alpha));
      return;
    }
  }
  if (tex) {
    TRect left = a;
    if (tex->MaskType != 0)
      TileMasked(bmp, left, ci, acFillModes(tex->DrawMode), WithPicture(*tex));
    else
      TileBitmap(bmp, left, *PictureOf(*tex), acFillModes(tex->DrawMode), *tex);
    if (left.Right != -1) Fill(bmp, left, l.Color, alpha);
  }
  if (gp > 0) {
    if (tex) {
      auto g = CreateBmp32(a.Width(), a.Height());
      if (grad)
        PaintGrad(*g, g->Bounds(), *l.Gradient);
      else
        Fill(*g, g->Bounds(), l.Color, 255);
      SumBmpRect(bmp, *g, std::min(255, ip * 255 / 100), g->Bounds(), {a.Left, a.Top});
    } else if (!grad) {
      Fill(bmp, a, l.Color, alpha);
    } else if (l.Layered) {
      // Every stop takes the layer's alpha, in a copy: the section's gradient stays opaque.
      TsGradArray stops = *l.Gradient;
      for (TsGradPoint& p : stops) p.Color.A = std::uint8_t(alpha);
      stops[0].Mode |= PM_TRANSPARENT;
      PaintGrad(bmp, a, stops);
    } else {
      PaintGrad(bmp, a, *l.Gradient);
    }
  }
  const int p = ip + gp;
  if (p > 0 && p < 100)
    BlendColorRect(bmp, {a.Left, a.Top, a.Right - 1, a.Bottom - 1}, p * 255 / 100, l.Color);
  else if (p == 0)
    ColourFill(bmp, a, l, alpha);
}

void PaintItemBG(const TacSkinModel* sm, int skinIndex, const TCacheInfo& ci, int state,
                 const TRect& r, TPoint pP, Bitmap& itemBmp, int textureIndex, int hotTextureIndex,
                 TColor customColor) {
  if (!Paintable(sm, skinIndex, &itemBmp, r)) return;
  PaintBackground(*sm, sm->gd[skinIndex], ci, state, r, pP, itemBmp, textureIndex, hotTextureIndex,
                  customColor, true);
}

void PaintItemBG(const TacSkinModel* sm, const TacControlPaint& control, const TCacheInfo& ci,
                 int state, const TRect& r, TPoint pP, Bitmap& itemBmp) {
  PaintItemBG(sm, control.SkinIndex, ci, state, r, pP, itemBmp, -1, -1, control.CustomColor);
}

void PaintItemBGFast(const TacSkinModel* sm, int skinIndex, int bgIndex, int bgHotIndex,
                     const TCacheInfo& ci, int state, const TRect& r, TPoint pP, Bitmap& itemBmp) {
  if (!Paintable(sm, skinIndex, &itemBmp, r)) return;
  PaintBackground(*sm, sm->gd[skinIndex], ci, state, r, pP, itemBmp, bgIndex, bgHotIndex, clFuchsia,
                  false);
}

void PaintItem(const TacSkinModel* sm, int skinIndex, const TCacheInfo& ci, bool, int state,
               const TRect& r, TPoint pP, Bitmap* itemBmp, int bgIndex, int bgHotIndex) {
  if (!Paintable(sm, skinIndex, itemBmp, r)) return;
  const TsGeneralData& gd = sm->gd[skinIndex];
  state = LimitState(gd, state);
  PaintBackground(*sm, gd, ci, state, r, pP, *itemBmp, bgIndex, bgHotIndex, clFuchsia, true);
  PaintCornerImages(*sm, gd, state, r, *itemBmp);
  if (sm->IsValidImgIndex(gd.BorderIndex))
    DrawSkinRect(*itemBmp, r, Offset(ci, pP), sm->ma[gd.BorderIndex], state, true);
}

void PaintItem(const TacSkinModel* sm, const TacControlPaint& control, const TCacheInfo& ci, bool,
               int state, const TRect& r, TPoint pP, Bitmap* itemBmp, bool updateCorners) {
  if (!Paintable(sm, control.SkinIndex, itemBmp, r)) return;
  const TsGeneralData& gd = sm->gd[control.SkinIndex];
  state = LimitState(gd, state);
  PaintBackground(*sm, gd, ci, state, r, pP, *itemBmp, -1, -1, control.CustomColor, true);
  PaintCornerImages(*sm, gd, state, r, *itemBmp);
  bool border = false;
  if (sm->IsValidImgIndex(control.BorderIndex)) {
    const TsMaskData& md = sm->ma[control.BorderIndex];
    border = !(state == 0 && (md.DrawMode & 2) != 0);
    DrawSkinRect(*itemBmp, r, Offset(ci, pP), md, state, updateCorners);
  }
  // A parent copied in by a transparent state keeps its own colours.
  if (!border && StateProps(gd, state).Transparency != 0) return;
  if (control.ColorTone == clNone && control.HueOffset == 0 && control.Saturation == 0) return;
  // The item's rectangle only: the rest of the bitmap is not this item's.
  Bitmap item = itemBmp->Copy(r);
  if (control.ColorTone != clNone)
    ChangeBitmapPixels(item, ChangeColorTone, control.ColorTone, clFuchsia);
  if (control.HueOffset != 0)
    ChangeBitmapPixels(item, ChangeColorHUE, control.HueOffset, clFuchsia);
  if (control.Saturation != 0)
    ChangeBitmapPixels(item, ChangeColorSaturation, control.Saturation, clFuchsia);
  itemBmp->CopyFrom(item, item.Bounds(), {r.Left, r.Top});
}

void PaintItem(const TacSkinModel* sm, int skinIndex, const TCacheInfo& ci, bool filling, int state,
               const TRect& r, TPoint pP, gfx::HDC dc) {
  if (!dc || r.IsEmpty() || !sm || !sm->IsValidSkinIndex(skinIndex)) return;
  if (r.Width() > gfx::kMaxBitmapSide || r.Height() > gfx::kMaxBitmapSide ||
      std::int64_t(r.Width()) * r.Height() > gfx::kMaxBitmapPixels)
    return;
  auto item = CreateBmp32(r.Width(), r.Height());
  PaintItem(sm, skinIndex, ci, filling, state, item->Bounds(), pP, item.get());
  gfx::DeviceContext from(*item);
  gfx::BitBlt(dc, r.Left, r.Top, r.Width(), r.Height(), &from, 0, 0, gfx::SRCCOPY);
}

void PaintItemFast(const TacSkinModel* sm, int skinIndex, int maskIndex, int bgIndex,
                   int bgHotIndex, const TCacheInfo& ci, bool, int state, const TRect& r, TPoint pP,
                   Bitmap* itemBmp) {
  if (!Paintable(sm, skinIndex, itemBmp, r)) return;
  const TsGeneralData& gd = sm->gd[skinIndex];
  state = LimitState(gd, state);
  PaintBackground(*sm, gd, ci, state, r, pP, *itemBmp, bgIndex, bgHotIndex, clFuchsia, false);
  if (sm->IsValidImgIndex(maskIndex))
    DrawSkinRect(*itemBmp, r, Offset(ci, pP), sm->ma[maskIndex], state, true);
}

void PaintSection(Bitmap& bmp, int sectionIndex, int secondIndex, int state, const TacSkinModel* sm,
                  TPoint parentOffset, TColor bgColor, gfx::HDC parentDC) {
  if (bmp.Empty()) return;
  const int index = sectionIndex < 0 ? secondIndex : sectionIndex;
  TCacheInfo ci{nullptr, 0, 0, bgColor, {}, false};
  if (parentDC) {
    gfx::DeviceContext here(bmp);
    gfx::BitBlt(&here, 0, 0, bmp.Width(), bmp.Height(), parentDC, parentOffset.X, parentOffset.Y,
                gfx::SRCCOPY);
    ci = MakeCacheInfo(&bmp);
  }
  PaintItem(sm, index, ci, true, state, bmp.Bounds(), {0, 0}, &bmp);
}

}  // namespace skin::draw
