#include "skin/data/acSkinAdjust.h"

#include <algorithm>
#include <array>
#include <string>

#include "skin/data/acSkinValues.h"
#include "skin/paint/sAlphaGraph.h"
#include "skin/paint/sGraphUtils.h"

namespace skin::data {

namespace {

using skin::paint::TsColor;
using skin::paint::TsColor_;

// A colour change on a TColor that keeps its top byte.
using TColorProc = TColor (*)(TColor color, int delta);

TColor HueOf(TColor color, int delta) {
  return skin::paint::ChangeHue(delta, color);
}
TColor SaturationOf(TColor color, int delta) {
  return skin::paint::ChangeSaturation(color, delta);
}
TColor BrightnessOf(TColor color, int delta) {
  // The channels change alike, so the pixel-order form serves a TColor.
  return TColor(skin::paint::ChangeBrightness(TsColor_::Of(std::uint32_t(color)), delta).C());
}

bool IsKeyColor(TColor color) {
  return (std::uint32_t(color) & 0xFFFFFF) == 0xFF00FF;
}

// A single colour: −1 (none) and the key colour stay as they are.
void ChangeColor(TColor& color, TColorProc proc, int delta) {
  if (color != kNoColor && !IsKeyColor(color)) color = proc(color, delta);
}

// Every state's seven colour fields and its gradient stops.
void ChangeStates(TacSkinModel& m, TColorProc proc, int delta) {
  for (TsGeneralData& d : m.gd) {
    for (TsGenState& s : d.Props) {
      for (TColor* c : {&s.Color, &s.GlowColor, &s.FontColor.Color, &s.FontColor.Left,
                        &s.FontColor.Top, &s.FontColor.Right, &s.FontColor.Bottom}) {
        ChangeColor(*c, proc, delta);
      }
      // A stop's top byte is its alpha, so an opaque white stop is no "−1".
      for (skin::paint::TsGradPoint& p : s.GradientArray) {
        const TColor c = TColor(p.Color.C());
        if (!IsKeyColor(c)) p.Color = TsColor::Of(std::uint32_t(proc(c, delta)));
      }
    }
  }
}

void ChangePalette(TacSkinModel& m, TColorProc proc, int delta) {
  ChangeColor(m.CommonSkinData.Shadow1Color, proc, delta);
  for (int i = 0; i < acPaletteSize; ++i) {
    if (IsChangeableColor(TacPaletteColors(i))) ChangeColor(m.Palette[i], proc, delta);
  }
}

void ChangeBitmap(gfx::Bitmap& bmp, skin::paint::TChangeProc proc, int delta) {
  skin::paint::ChangeBitmapPixels(bmp, proc, delta, clFuchsia);
}

// Puts the area r of original back into bmp (mask rows that keep their values).
void Restore(gfx::Bitmap& bmp, const gfx::Bitmap& original, const gfx::TRect& r) {
  bmp.CopyFrom(original, r, {r.Left, r.Top});
}

}  // namespace

bool IsChangeableColor(TacPaletteColors c) {
  return c <= pcWebText || (c >= pcEditText && c <= pcEditBG_EvenRow) ||
         (c >= pcBtnColor1Active && c <= pcBtnFontPressed) || c >= pcBorder;
}

void ChangeSkinHue(TacSkinModel& m, int value) {
  if (value == 0) return;
  // Any int may come in: whole turns are taken off, keeping the sign, so the hue arithmetic
  // stays in range and gives the same colours (a turn below −360 stays below −360).
  if (value >= 360) value %= 360;
  if (value <= -360) value = value % 360 - 360;
  std::vector<const gfx::Bitmap*> keep;
  std::vector<gfx::TRect> kept;
  if (m.CommonSkinData.BIKeepHUE >= 1) {
    static constexpr std::array<const char*, 10> kGlyphs = {
        "BICONCLOSE", "BICLOSEALONE", "SICONCLOSE", "BICONMAX", "BICONMIN",
        "BICONNORM",  "BICONHELP",    "SICONMAX",   "SICONMIN", "SICONNORM"};
    const std::size_t count = m.CommonSkinData.BIKeepHUE == 1 ? kGlyphs.size() : 3;
    const auto keepItem = [&](const std::string& name) {
      const int index = m.GetMaskIndex("GLOBALINFO", name);
      if (index < 0) return;
      if (m.ma[index].Bmp)
        keep.push_back(m.ma[index].Bmp);
      else
        kept.push_back(m.ma[index].R);
    };
    for (std::size_t i = 0; i < count; ++i) {
      keepItem(kGlyphs[i]);
      // The variant a scaled skin paints instead keeps its colours too.
      if (m.Scale > 0) keepItem(std::string(kGlyphs[i]) + std::string(aSfxs[m.Scale]));
      const int glow = m.GetMaskIndex("GLOBALINFO", std::string(kGlyphs[i]) + "GLOW0");
      if (glow >= 0 && m.ma[glow].Bmp) keep.push_back(m.ma[glow].Bmp);
    }
  }
  const gfx::Bitmap original = kept.empty() ? gfx::Bitmap() : m.MasterBitmap;
  ChangeBitmap(m.MasterBitmap, skin::paint::ChangeColorHUE, value);
  for (const gfx::TRect& r : kept) Restore(m.MasterBitmap, original, r);
  for (TacExtFileData& e : m.ExtArray) {
    if (std::find(keep.begin(), keep.end(), e.Bmp.get()) == keep.end()) {
      ChangeBitmap(*e.Bmp, skin::paint::ChangeColorHUE, value);
    }
  }
  ChangeStates(m, HueOf, value);
  ChangePalette(m, HueOf, value);
}

void ChangeSkinSaturation(TacSkinModel& m, int value) {
  if (value == 0) return;
  const int delta = std::clamp(value, -100, 100) * 255 / 100;  // −255..255
  ChangeBitmap(m.MasterBitmap, skin::paint::ChangeColorSaturation, delta);
  for (TacExtFileData& e : m.ExtArray) {
    ChangeBitmap(*e.Bmp, skin::paint::ChangeColorSaturation, delta);
  }
  ChangeStates(m, SaturationOf, delta);
  ChangePalette(m, SaturationOf, delta);
}

void ChangeSkinBrightness(TacSkinModel& m, int value) {
  value = std::clamp(value, -100, 100);
  if (value == 0) return;
  const gfx::Bitmap master = m.MasterBitmap;
  ChangeBitmap(m.MasterBitmap, skin::paint::ChangeColorBrightness, value);
  for (const TsMaskData& md : m.ma) {
    if (!md.Bmp && md.MaskType == 1) {
      const int half = md.R.Height() / 2;
      Restore(m.MasterBitmap, master,
              gfx::RectOfSize(md.R.Left, md.R.Top + half, md.R.Width(), half));
    }
  }
  for (TacExtFileData& e : m.ExtArray) {
    gfx::Bitmap& bmp = *e.Bmp;
    if (e.MaskType > 0) {
      const gfx::Bitmap original = bmp;
      ChangeBitmap(bmp, skin::paint::ChangeColorBrightness, value);
      Restore(bmp, original, {0, bmp.Height() / 2, bmp.Width(), bmp.Height()});
    } else {
      ChangeBitmap(bmp, skin::paint::ChangeColorBrightness, value);
      if (value > 0) {
        if (m.CommonSkinData.Version < acPremultipliedPngVersion)
          skin::paint::UpdateTransPixels(bmp);
        else
          skin::paint::UpdateAlpha(bmp);
      }
    }
  }
  ChangeStates(m, BrightnessOf, value);
}

}  // namespace skin::data
