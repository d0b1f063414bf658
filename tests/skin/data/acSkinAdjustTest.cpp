#include "skin/data/acSkinAdjust.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/gfx/PictureCodec.h"
#include "skin/data/acSkinModelLoad.h"
#include "skin/data/sSkinOptions.h"

namespace skin::data {
namespace {

constexpr gfx::Pixel kKey = gfx::PixelFromColor(0xFF00FF, 255);
constexpr gfx::TRect kClose{0, 0, 4, 4}, kMax{4, 0, 8, 4}, kMax125{12, 0, 16, 4},
    kMasked{8, 4, 12, 8};

// 16 × 8 of saturated colours (no grey pixel), key colour in every glyph and elsewhere.
gfx::Bitmap Master() {
  gfx::Bitmap bmp(16, 8);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 16; ++x)
      bmp.Set(x, y, gfx::MakePixel(std::uint8_t(40 + x * 5), std::uint8_t(30 + y * 9), 220, 255));
  }
  for (const gfx::TPoint p : {gfx::TPoint{1, 1}, {5, 2}, {13, 6}, {9, 7}}) bmp.Set(p.X, p.Y, kKey);
  return bmp;
}

// The master as the model holds it: opaque, the key colour with alpha 0.
gfx::Pixel Loaded(gfx::Pixel p) {
  return p == kKey ? gfx::Pixel(p & 0xFFFFFF) : p;
}
bool IsKey(gfx::Pixel p) {
  return (p & 0xFFFFFF) == 0xFF00FF;
}

std::string Options(int keepHue) {
  return "[GLOBALINFO]\nMASTERBITMAP=master.bmp\nBIKEEPHUE=" + std::to_string(keepHue) +
         "\nBICONCLOSE=@0000@0000@0004@0004@1@0\n"
         "BICONMAX=@0004@0000@0008@0004@1@0\n"
         "BICONMAX*125=@0012@0000@0016@0004@1@0\n"
         "CHECKED=@0008@0000@0012@0008@1@1\n"
         "[BUTTON]\nCOLOR=255\nFONTCOLOR=16711680\nTCLEFT=-1\nTCTOP=65280\n"
         "GRADIENTPERCENT=50\nGRADIENTDATA=255;65280;50;0;0;65280;16711935;50;0;0;16711935;255;0;0;"
         "0\n";
}

std::unique_ptr<TacSkinModel> Build(int keepHue, int hue, int saturation, int brightness,
                                    int scale = 0) {
  TacSkinContent c;
  c.Source.Mode = smInternal;
  c.Packed.Files = {{"MASTER.BMP", ftBmp, gfx::EncodeBmp(Master(), false)}};
  return CreateSkinModel(c, ReadSkinOptions(Options(keepHue), scale, {}),
                         {scale, brightness, false, hue, saturation});
}

bool Inside(const gfx::TRect& r, int x, int y) {
  return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
}

TEST(SkinAdjust, HueTurnKeepsTheTitleGlyphsAndTheKeyColour) {
  const gfx::Bitmap src = Master();
  for (const int scale : {0, 1}) {
    for (const int keep : {0, 1, 2}) {
      SCOPED_TRACE(keep);
      SCOPED_TRACE(scale);
      const auto m = Build(keep, 120, 0, 0, scale);
      const gfx::Bitmap& bmp = m->MasterBitmap;
      for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 16; ++x) {
          const gfx::Pixel was = Loaded(src.At(x, y)), now = bmp.At(x, y);
          // At scale 1 the "*125" variant is the one painted, and kept.
          const bool kept = (keep >= 1 && Inside(kClose, x, y)) ||
                            (keep == 1 && Inside(kMax, x, y)) ||
                            (keep == 1 && scale == 1 && Inside(kMax125, x, y));
          if (IsKey(was) || kept)
            EXPECT_EQ(now, was) << x << "," << y;
          else
            EXPECT_NE(now, was) << x << "," << y;
        }
      }
    }
  }
}

TEST(SkinAdjust, WholeTurnsGiveTheSameColours) {
  const auto eq = [](int a, int b) {
    return Build(0, a, 0, 0)->MasterBitmap == Build(0, b, 0, 0)->MasterBitmap;
  };
  EXPECT_TRUE(eq(480, 120));
  EXPECT_TRUE(eq(-600, -960));
  EXPECT_TRUE(eq(std::numeric_limits<int>::max(), 127));  // 5965232 turns
  EXPECT_TRUE(eq(std::numeric_limits<int>::min(), -488));
  EXPECT_FALSE(eq(120, 121));
}

TEST(SkinAdjust, HueOffsetZeroChangesNoPixel) {
  const gfx::Bitmap src = Master();
  const auto m = Build(1, 0, 0, 0);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 16; ++x) EXPECT_EQ(m->MasterBitmap.At(x, y), Loaded(src.At(x, y)));
  }
}

TEST(SkinAdjust, SaturationMinus100GivesGrey) {
  const gfx::Bitmap src = Master();
  const auto m = Build(1, 0, -100, 0);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 16; ++x) {
      const gfx::Pixel was = Loaded(src.At(x, y)), now = m->MasterBitmap.At(x, y);
      if (IsKey(was)) {
        EXPECT_EQ(now, was);
        continue;
      }
      const int r = (was >> 16) & 255, g = (was >> 8) & 255, b = was & 255;
      // Grey of the luminance L (rounded half to even), as the saturation arithmetic gives it:
      // 255 × L ÷ 256.
      const int l = int(std::lrint(0.299 * r + 0.587 * g + 0.114 * b)) * 255 >> 8;
      EXPECT_EQ(now, gfx::MakePixel(std::uint8_t(l), std::uint8_t(l), std::uint8_t(l), 255))
          << x << "," << y;
    }
  }
  const TsGenState& s = m->gd[m->GetSkinIndex("BUTTON")].Props[0];
  for (const TColor c : {s.Color, s.FontColor.Color, s.FontColor.Top}) {
    EXPECT_EQ(c & 0xFF, (c >> 8) & 0xFF);
    EXPECT_EQ(c & 0xFF, (c >> 16) & 0xFF);
  }
  EXPECT_EQ(s.FontColor.Left, kNoColor);
  ASSERT_FALSE(s.GradientArray.empty());
  for (const auto& p : s.GradientArray) {
    // The key colour is a stop of its own and stays.
    if ((p.Color.C() & 0xFFFFFF) == 0xFF00FF) continue;
    EXPECT_TRUE(p.Color.R == p.Color.G && p.Color.G == p.Color.B) << std::hex << p.Color.C();
  }
}

TEST(SkinAdjust, BrightnessKeepsMaskRowsAndTheKeyColour) {
  const gfx::Bitmap src = Master();
  const auto m = Build(0, 0, 0, -40);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 16; ++x) {
      const gfx::Pixel was = Loaded(src.At(x, y)), now = m->MasterBitmap.At(x, y);
      if (IsKey(was) || Inside(kMasked, x, y))
        EXPECT_EQ(now, was) << x << "," << y;
      else
        EXPECT_NE(now, was) << x << "," << y;
    }
  }
  const TsGenState& s = m->gd[m->GetSkinIndex("BUTTON")].Props[0];
  EXPECT_EQ(s.Color, 255 - (255 * 40 >> 8));
}

// The entries hue and saturation change: 0..2, 4..13, 27..38, 51..54.
bool Changeable(int i) {
  return i <= 2 || (i >= 4 && i <= 13) || (i >= 27 && i <= 38) || (i >= 51 && i <= 54);
}

TEST(SkinAdjust, PaletteEntriesOutsideTheChangeableSetStay) {
  const auto m = Build(0, 0, 0, 0);
  for (int i = 0; i < acPaletteSize; ++i) m->Palette[i] = TColor(0x2080E0 - i * 0x10);
  m->Palette[pcEditBG] = clFuchsia;
  m->CommonSkinData.Shadow1Color = 0x00C040;
  const TacPalette before = m->Palette;
  ChangeSkinHue(*m, 90);
  for (int i = 0; i < acPaletteSize; ++i) {
    if (Changeable(i) && i != pcEditBG)
      EXPECT_NE(m->Palette[i], before[i]) << i;
    else
      EXPECT_EQ(m->Palette[i], before[i]) << i;
  }
  EXPECT_NE(m->CommonSkinData.Shadow1Color, 0x00C040);

  const TacPalette hued = m->Palette;
  ChangeSkinSaturation(*m, 50);
  for (int i = 0; i < acPaletteSize; ++i) {
    if (!Changeable(i)) {
      EXPECT_EQ(m->Palette[i], hued[i]) << i;
    }
  }
  EXPECT_NE(m->Palette[pcMainColor], hued[pcMainColor]);

  const TacPalette saturated = m->Palette;
  ChangeSkinBrightness(*m, 60);
  EXPECT_EQ(m->Palette, saturated);
}

}  // namespace
}  // namespace skin::data
