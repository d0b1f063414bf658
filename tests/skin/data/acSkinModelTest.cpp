#include "skin/data/acSkinModel.h"

#include <gtest/gtest.h>

#include "platform/gfx/PictureCodec.h"
#include "skin/data/SkinError.h"
#include "skin/data/acSkinLoad.h"
#include "skin/data/acSkinModelLoad.h"

namespace skin::data {
namespace {

constexpr gfx::Pixel kKey = gfx::PixelFromColor(0xFF00FF, 255);

// 64 × 32: every pixel tells its place (blue x, green y), key colour where asked.
gfx::Bitmap Master() {
  gfx::Bitmap bmp(64, 32);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 64; ++x)
      bmp.Set(x, y, gfx::MakePixel(std::uint8_t(x), std::uint8_t(y), 200, 255));
  }
  bmp.Set(0, 8, kKey);  // top-left corner of EDIT's border
  for (int y = 0; y < 4; ++y) {
    for (int x = 24; x < 30; ++x) bmp.Set(x, y, kKey);  // BICONMAX: all key colour
  }
  return bmp;
}

const std::string kOptions =
    "[GLOBALINFO]\nMASTERBITMAP=master.bmp\n"
    "BOXCHECKED=@0000@0000@0012@0008@3@1\n"
    "BICONCLOSE=@0012@0000@0024@0008@2@1\n"
    "BICONMAX=@0024@0000@0030@0004@1@0\n"
    "BICONMIN=@0030@0000@0033@0004@1@0\n"
    "BICONMIN*125=@0040@0000@0044@0005@1@0\n"
    "OUTSIDE=@0060@0000@0070@0004@1@0\n"
    "[EDIT]\nBORDERSMASK=^0000^0008^0012^0020^0001^0001^0001^0001^2^1^1^1\n"
    "[COMBOBOX]\nPARENTCLASS=EDIT\nGLYPHMASK=@0030@0004@0039@0008@3@0\n"
    "[PANEL]\nSTATES=2\nBORDERSMASK=^0012^0008^0024^0020^0002^0002^0002^0002^2^1^1^0\n"
    "PATTERN=~0030~0010~0040~0016~01\nHOTPATTERN=~0040~0010~0050~0016~00\n"
    "[PANEL_LOW]\nPARENTCLASS=PANEL\n"
    "[TOOLBAR]\nSTATES=0\nCOLOR=255\n"
    "[SELF]\nPARENTCLASS=SELF\n"
    "[LOOPA]\nPARENTCLASS=LOOPB\n"
    "[LOOPB]\nPARENTCLASS=LOOPA\nGLYPHMASK=@0050@0000@0053@0003@1@0\n"
    "[EXTA]\nX=!EXT.PNG!2!0!2\n"
    "[EXTB]\nY=!ext.png!1!0!2\n"
    "[PLAIN]\nPATTERN=TILE.BMP\n"
    "[GRAD]\nGRADIENTPERCENT=50\n"
    "GRADIENTDATA=16777215;14212312;53;0;0;14212312;14212312;44;0;0;14212312;14212312;0;0;0\n";

TacSkinContent Content() {
  TacSkinContent c;
  c.Source.Mode = smInternal;
  gfx::Bitmap tile(5, 5);
  tile.Fill(gfx::MakePixel(1, 2, 3, 255));
  tile.Set(0, 0, kKey);
  c.Packed.Files = {{"MASTER.BMP", ftBmp, gfx::EncodeBmp(Master(), false)},
                    {"ext.PNG", ftOther, gfx::EncodePng(gfx::Bitmap(10, 6))},
                    {"TILE.BMP", ftBmp, gfx::EncodeBmp(tile, false)}};
  return c;
}

std::unique_ptr<TacSkinModel> Build(const std::string& text, int scale = 0) {
  return CreateSkinModel(Content(), ReadSkinOptions(text, scale, {}), {scale, 0, false});
}

const TsMaskData& Item(const TacSkinModel& m, std::string_view section, std::string_view key) {
  const int i = m.GetMaskIndex(section, key);
  if (i < 0) throw std::runtime_error("no item " + std::string(key));
  return m.ma[i];
}

TEST(SkinModel, ItemsFromEveryValueForm) {
  const auto m = Build(kOptions);
  const TsMaskData& box = Item(*m, "GLOBALINFO", "BOXCHECKED");
  EXPECT_EQ(box.R, (gfx::TRect{0, 0, 12, 8}));
  EXPECT_EQ(box.ImageCount, 3);
  EXPECT_EQ(box.MaskType, 1);
  EXPECT_EQ(box.Width, 4);
  EXPECT_EQ(box.Height, 4);
  EXPECT_EQ(box.ImgType, skin::paint::itisaGlyph);
  EXPECT_EQ(box.Bmp, nullptr);
  EXPECT_EQ(box.Manager, m.get());
  EXPECT_EQ(box.SkinIndex, m->GetSkinIndex("GLOBALINFO"));

  const TsMaskData& edit = Item(*m, "EDIT", "BORDERSMASK");
  EXPECT_EQ(edit.Width, 6);
  EXPECT_EQ(edit.Height, 6);
  EXPECT_EQ(edit.WL + edit.WT + edit.WR + edit.WB, 4);
  EXPECT_EQ(edit.CornerType, 1);  // the key pixel at its top-left corner
  EXPECT_EQ(Item(*m, "PANEL", "BORDERSMASK").CornerType, 0);

  const TsMaskData& pattern = Item(*m, "PANEL", "PATTERN");
  EXPECT_EQ(pattern.ImgType, skin::paint::itisaTexture);
  EXPECT_EQ(pattern.DrawMode, 1);
  EXPECT_EQ(pattern.ImageCount, 1);

  // The master: 24-bit, so alpha 255 but 0 on the key colour.
  EXPECT_EQ(gfx::PixelA(m->MasterBitmap.At(0, 8)), 0);
  EXPECT_EQ(gfx::PixelA(m->MasterBitmap.At(1, 8)), 255);
  EXPECT_EQ(m->MasterBitmap.At(5, 3), gfx::MakePixel(5, 3, 200, 255));

  // A picture outside its bitmap makes no item.
  EXPECT_EQ(m->GetMaskIndex("GLOBALINFO", "OUTSIDE"), -1);
  for (const TsMaskData& md : m->ma) {
    const gfx::Bitmap& bmp = m->ItemBitmap(md);
    EXPECT_TRUE(md.R.Left >= 0 && md.R.Top >= 0 && md.R.Right <= bmp.Width() &&
                md.R.Bottom <= bmp.Height())
        << md.ClassName << " " << md.PropertyName;
  }

  // A plain picture file: a whole-picture texture, its key pixel transparent.
  const TsMaskData& plain = Item(*m, "PLAIN", "PATTERN");
  ASSERT_NE(plain.Bmp, nullptr);
  EXPECT_EQ(plain.R, (gfx::TRect{0, 0, 5, 5}));
  EXPECT_EQ(gfx::PixelA(plain.Bmp->At(0, 0)), 0);
  EXPECT_EQ(gfx::PixelA(plain.Bmp->At(1, 0)), 255);
}

TEST(SkinModel, ASharedPictureFileIsLoadedAndFreedOnce) {
  const auto m = Build(kOptions);
  const TsMaskData& x = Item(*m, "EXTA", "X");
  const TsMaskData& y = Item(*m, "EXTB", "Y");
  ASSERT_NE(x.Bmp, nullptr);
  EXPECT_EQ(x.Bmp, y.Bmp);  // names differ in letter case only
  EXPECT_EQ(x.R, (gfx::TRect{0, 0, 10, 6}));
  EXPECT_EQ(x.Width, 5);
  EXPECT_EQ(y.Width, 10);
  int shared = 0;
  for (const TacExtFileData& e : m->ExtArray) shared += e.FileName == "EXT.PNG";
  EXPECT_EQ(shared, 1);
  EXPECT_EQ(m->ExtArray.size(), 2u);  // EXT.PNG and TILE.BMP; the master is not one
}

TEST(SkinModel, InheritedLookupsEndAtLoops) {
  const auto m = Build(kOptions);
  const int edit = m->GetSkinIndex("EDIT"), combo = m->GetSkinIndex("COMBOBOX");
  EXPECT_EQ(m->gd[combo].BorderIndex, m->gd[edit].BorderIndex);
  EXPECT_GE(m->gd[combo].BorderIndex, 0);
  EXPECT_EQ(m->GetMaskIndex(combo, "COMBOBOX", "BORDERSMASK"), m->gd[edit].BorderIndex);
  EXPECT_EQ(m->GetMaskIndex(combo, "EDIT", "BORDERSMASK"), -1);  // not past a parent so named
  EXPECT_EQ(m->GetMaskIndex("COMBOBOX", "BORDERSMASK"), -1);     // by name: no inheritance
  EXPECT_EQ(m->GetSkinIndex(""), -1);
  EXPECT_EQ(m->GetMaskIndex(-1, "BORDERSMASK"), -1);
  EXPECT_EQ(m->GetMaskIndex(int(m->gd.size()), "BORDERSMASK"), -1);

  // Textures: the panel's own, inherited by the lowered panel.
  const int panel = m->GetSkinIndex("PANEL"), low = m->GetSkinIndex("PANEL_LOW");
  const int pattern = m->GetMaskIndex("PANEL", "PATTERN");
  EXPECT_EQ(m->gd[panel].Props[0].TextureIndex, pattern);
  EXPECT_EQ(m->gd[panel].Props[1].TextureIndex, m->GetMaskIndex("PANEL", "HOTPATTERN"));
  EXPECT_EQ(m->gd[panel].Props[2].TextureIndex, m->gd[panel].Props[1].TextureIndex);
  EXPECT_EQ(m->gd[low].Props[0].TextureIndex, pattern);
  EXPECT_EQ(m->GetTextureIndex(low, "PATTERN"), pattern);
  EXPECT_EQ(m->GetTextureIndex(low, "BORDERSMASK"), -1);  // a border, not a texture

  // A section naming itself and a loop of two end; an item in the loop is still found.
  const int self = m->GetSkinIndex("SELF");
  const int loopA = m->GetSkinIndex("LOOPA"), loopB = m->GetSkinIndex("LOOPB");
  const int glyph = m->GetMaskIndex("LOOPB", "GLYPHMASK");
  ASSERT_GE(glyph, 0);
  for (const char* key : {"GLYPHMASK", "BORDERSMASK"}) {
    const int expected = std::string_view(key) == "GLYPHMASK" ? glyph : -1;
    EXPECT_EQ(m->GetMaskIndex(loopA, key), expected);
    EXPECT_EQ(m->GetMaskIndex(loopB, key), expected);
    EXPECT_EQ(m->GetMaskIndex(loopA, "LOOPA", key), expected);
    EXPECT_EQ(m->GetMaskIndex(self, key), -1);
    EXPECT_EQ(m->GetMaskIndex(self, "SELF", key), -1);
    EXPECT_EQ(m->GetTextureIndex(loopA, key), -1);
    EXPECT_EQ(m->GetTextureIndex(loopA, "LOOPA", key), -1);
    EXPECT_EQ(m->GetTextureIndex(self, "SELF", key), -1);
  }
  EXPECT_EQ(m->gd[loopA].BorderIndex, -1);
  EXPECT_EQ(m->gd[loopA].ScrollBorderOffset, -2);
}

TEST(SkinModel, SectionsStatesAndGradients) {
  const auto m = Build(kOptions);
  const TsGeneralData& toolbar = m->gd[m->GetSkinIndex("TOOLBAR")];
  EXPECT_EQ(toolbar.States, 1);  // STATES=0: the normal state stays
  EXPECT_EQ(toolbar.Props[1].Color, 255);
  const TsGeneralData& grad = m->gd[m->GetSkinIndex("GRAD")];
  ASSERT_EQ(grad.Props[0].GradientArray.size(), 3u);
  EXPECT_EQ(grad.Props[0].GradientArray[1].Percent, 53);
  EXPECT_EQ(grad.Props[0].GradientArray[2].Percent, 100);
  EXPECT_TRUE(m->gd[m->GetSkinIndex("EDIT")].Props[0].GradientArray.empty());
  EXPECT_THROW(Build("[A]\nGRADIENTDATA=1;2;x;0;0\n"), ESkinError);

  // TRANSPARENT and MAINCOLOR are added when the text lacks them.
  const TsGeneralData& transparent = m->gd[m->GetSkinIndex("TRANSPARENT")];
  EXPECT_EQ(transparent.States, 1);
  EXPECT_EQ(transparent.Props[2].Transparency, 100);
  EXPECT_EQ(transparent.Props[0].FontColor.Color, m->Palette[pcLabelText]);
  EXPECT_EQ(transparent.Props[0].FontColor.Left, -1);
  EXPECT_EQ(m->gd[m->GetSkinIndex("MAINCOLOR")].Props[0].Color, m->Palette[pcMainColor]);

  // ScrollBorderOffset: EDIT with widths of 1; 2 elsewhere; none without border.
  EXPECT_EQ(m->gd[m->GetSkinIndex("EDIT")].ScrollBorderOffset, -1);
  EXPECT_EQ(m->gd[m->GetSkinIndex("PANEL")].ScrollBorderOffset, 0);
  EXPECT_EQ(m->gd[m->GetSkinIndex("GRAD")].ScrollBorderOffset, -2);
  const auto wide = Build(
      "[GLOBALINFO]\nMASTERBITMAP=MASTER.BMP\n[EDIT]\nBORDERSMASK=^0000^0008^0012^0020^0002^0002^"
      "0002^0002^2^1^1^1\n");
  EXPECT_EQ(wide->gd[wide->GetSkinIndex("EDIT")].ScrollBorderOffset, 0);
}

TEST(SkinModel, ConstantTableAndItsFallbacks) {
  const auto m = Build(kOptions);
  const TConstantSkinData& c = m->ConstData;
  EXPECT_EQ(c.IndexGLobalInfo, m->GetSkinIndex("GLOBALINFO"));
  EXPECT_EQ(c.CheckBox[1], m->GetMaskIndex("GLOBALINFO", "BOXCHECKED"));
  EXPECT_EQ(c.CheckBox[0], -1);
  EXPECT_EQ(c.TitleGlyphs[tgClose], m->GetMaskIndex("GLOBALINFO", "BICONCLOSE"));
  EXPECT_EQ(c.TitleGlyphs[tgCloseAlone], c.TitleGlyphs[tgClose]);  // no BICLOSEALONE
  EXPECT_EQ(c.TitleGlyphs[tgSmallMax], c.TitleGlyphs[tgMax]);      // no SICONMAX
  EXPECT_EQ(c.TitleGlyphs[tgHelp], -1);
  EXPECT_EQ(c.TitleGlyphs[tgNone], -1);
  EXPECT_EQ(c.ComboBtn.GlyphIndex, m->GetMaskIndex("COMBOBOX", "GLYPHMASK"));
  EXPECT_EQ(c.Sections[ssEdit], m->GetSkinIndex("EDIT"));
  EXPECT_EQ(c.UpDownBtns[asLeft].SkinIndex, -1);  // no UPDOWNBTN, no BUTTON

  // An entry without section takes its replacement, and a copy of it under its own name.
  EXPECT_EQ(c.Sections[ssMenuCaption], c.Sections[ssToolBar]);
  const int caption = m->GetSkinIndex("MENUCAPTION");
  ASSERT_GE(caption, 0);
  EXPECT_EQ(m->gd[caption].Props[0].Color, 255);
  EXPECT_EQ(m->gd[caption].ParentClass, "");
  EXPECT_EQ(c.Sections[ssSlider_Off], c.Sections[ssPanelLow]);
  EXPECT_GE(m->GetSkinIndex("SLIDER_ON"), 0);
  // A replacement that is missing as well: the entry stays −1 and nothing is added.
  EXPECT_EQ(c.Sections[ssTBTab], -1);
  EXPECT_EQ(m->GetSkinIndex("TB_TAB"), -1);
  EXPECT_EQ(c.Sections[ssColHeaderA], -1);
  EXPECT_EQ(m->GetSkinIndex("COLHEADERA"), -1);
  for (const TsGeneralData& d : m->gd) EXPECT_GE(d.States, 1) << d.ClassName;

  // No skin: every index −1.
  TacSkinModel empty;
  empty.InitConstantIndexes();
  EXPECT_EQ(empty.ConstData.IndexGLobalInfo, -1);
  for (int s : empty.ConstData.Sections) EXPECT_EQ(s, -1);
  EXPECT_EQ(empty.ConstData.MenuItem.MaskIndex, -1);
  EXPECT_EQ(empty.ConstData.TrackBar[1].TickIndex, -1);
  EXPECT_TRUE(empty.gd.empty());
}

TEST(SkinModel, GlyphsAreResampledForAScaleWithoutVariant) {
  const auto m0 = Build(kOptions, 0);
  const int box0 = m0->ConstData.CheckBox[1];
  EXPECT_EQ(m0->GetGlyphNdx("BOXCHECKED"), box0);
  EXPECT_EQ(m0->ma[box0].Bmp, nullptr);  // scale 0: the item itself, no resampling

  const auto m = Build(kOptions, 1);
  const TsMaskData& box = m->ma[m->ConstData.CheckBox[1]];
  ASSERT_NE(box.Bmp, nullptr);
  EXPECT_EQ(box.R, (gfx::TRect{0, 0, 15, 10}));  // 3 images of 5, over a mask row of 5
  EXPECT_EQ(box.MaskType, 1);
  EXPECT_EQ(box.Width, 5);
  EXPECT_EQ(box.Height, 5);
  // Asking again does not resample the resampled picture.
  EXPECT_EQ(m->GetGlyphNdx("BOXCHECKED"), m->ConstData.CheckBox[1]);
  EXPECT_EQ(m->ma[m->ConstData.CheckBox[1]].R.Width(), 15);

  // A picture without mask gets one: key pixels white in the mask, transparent above.
  const TsMaskData& max = m->ma[m->ConstData.TitleGlyphs[tgMax]];
  ASSERT_NE(max.Bmp, nullptr);
  EXPECT_EQ(max.R, (gfx::TRect{0, 0, 7, 10}));
  EXPECT_LE(gfx::PixelA(max.Bmp->At(3, 2)), 8);
  EXPECT_GE(gfx::PixelR(max.Bmp->At(3, 7)), 247);

  // A variant for the scale is taken as it is.
  const int min = m->ConstData.TitleGlyphs[tgMin];
  EXPECT_EQ(min, m->GetMaskIndex("GLOBALINFO", "BICONMIN*125"));
  EXPECT_EQ(m->ma[min].Bmp, nullptr);
}

// Resampled glyphs, with a mask of their own or a key-colour one, keep the key colour out of
// every pixel that shows: the edges of a blue square stay blue, with no purple fringe.
TEST(SkinModel, ResamplingNeverAveragesTheKeyColourIntoAGlyph) {
  const gfx::Pixel blue = gfx::MakePixel(255, 0, 0, 255);
  const gfx::Pixel white = 0xFFFFFFFF, black = 0xFF000000;
  gfx::Bitmap master(12, 12);
  master.Fill(kKey);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) master.Set(x, y + 6, white);
  for (int y = 2; y < 4; ++y) {
    for (int x = 2; x < 4; ++x) {
      master.Set(x, y, blue);  // the masked glyph and its mask below
      master.Set(x, y + 6, black);
      master.Set(x + 6, y, blue);  // the key-coloured one
    }
  }
  TacSkinContent c;
  c.Source.Mode = smInternal;
  c.Packed.Files = {{"MASTER.BMP", ftBmp, gfx::EncodeBmp(master, false)}};
  const std::string text =
      "[GLOBALINFO]\nMASTERBITMAP=master.bmp\nBOXCHECKED=@0000@0000@0006@0012@1@1\n"
      "BICONMAX=@0006@0000@0012@0006@1@0\n";
  const auto m = CreateSkinModel(c, ReadSkinOptions(text, 1, {}), {1, 0, false});
  for (const char* name : {"BOXCHECKED", "BICONMAX"}) {
    const int index = m->GetGlyphNdx(name);
    ASSERT_GE(index, 0) << name;
    const TsMaskData& md = m->ma[index];
    ASSERT_NE(md.Bmp, nullptr) << name;
    ASSERT_EQ(md.Height, 7) << name;
    int shown = 0, edges = 0;
    for (int y = 0; y < md.Height; ++y) {
      for (int x = 0; x < md.Width; ++x) {
        const int mask = gfx::PixelR(md.Bmp->At(x, y + md.Height));
        if (mask >= 250) continue;  // transparent
        ++shown;
        edges += mask > 5;
        const gfx::Pixel p = md.Bmp->At(x, y);
        EXPECT_LE(gfx::PixelR(p), 8) << name << " at " << x << "," << y;
        EXPECT_LE(gfx::PixelG(p), 8) << name << " at " << x << "," << y;
      }
    }
    EXPECT_GE(shown, 4) << name;
    EXPECT_GE(edges, 1) << name;
  }
}

TEST(SkinModel, OuterShadowItems) {
  const auto m = Build(
      "[GLOBALINFO]\nMASTERBITMAP=MASTER.BMP\nSH_SOURCE=1\n"
      "SH_MASK=^0000^0000^0012^0012^0003^0003^0003^0003^1^0^1^0\n"
      "[PANEL]\nOUTERMODE=4\nOUTOFFSL=2\nOUTOFFST=1\nOUTOFFSR=4\nOUTOFFSB=5\nOUTRADIUS=3\n"
      "OUTBLUR=2\nOUTCOLL=255\nOUTCOLT=65280\n"
      "[NONE]\nOUTERMODE=0\n[PICTURE]\nOUTERMODE=1\n"
      "OUTERMASK=^0000^0000^0012^0012^0003^0003^0003^0003^1^0^1^0\n");
  const TsGeneralData& panel = m->gd[m->GetSkinIndex("PANEL")];
  ASSERT_TRUE(m->IsValidImgIndex(panel.OuterMask));
  const TsMaskData& outer = m->ma[panel.OuterMask];
  ASSERT_NE(outer.Bmp, nullptr);
  // The shadow: 2 × radius + offsets + 1 square (13), over its mask half.
  EXPECT_EQ(outer.R, (gfx::TRect{0, 0, 13, 26}));
  EXPECT_EQ(outer.MaskType, 1);
  EXPECT_EQ(outer.ImageCount, 1);
  EXPECT_EQ(outer.DrawMode, 1);
  EXPECT_EQ(outer.Height, 13);
  EXPECT_EQ((std::array<int, 4>{outer.WL, outer.WT, outer.WR, outer.WB}),
            (std::array<int, 4>{5, 4, 7, 8}));
  // The shadow is in its colour (OUTCOLL 255, red): at its middle red and no blue.
  const gfx::Pixel middle = outer.Bmp->At(6, 6);
  EXPECT_GT(middle >> 16 & 0xFF, 0u);
  EXPECT_EQ(middle & 0xFF, 0u);
  EXPECT_EQ(outer.Bmp->At(0, 13), gfx::PixelFromColor(255, 255));    // left band
  EXPECT_EQ(outer.Bmp->At(5, 13), gfx::PixelFromColor(65280, 255));  // top band
  EXPECT_EQ(outer.Bmp->At(5, 17), kKey);                             // between the bands
  EXPECT_EQ(m->gd[m->GetSkinIndex("NONE")].OuterMask, -1);
  EXPECT_EQ(m->gd[m->GetSkinIndex("PICTURE")].OuterMask, m->GetMaskIndex("PICTURE", "OUTERMASK"));

  // Window outer effects: the shadow's mask is the SH_MASK item; the lowered frame's is a
  // generated picture with its widths derived from the size.
  EXPECT_EQ(m->oe[1].Mask, m->GetMaskIndex("GLOBALINFO", "SH_MASK"));
  ASSERT_TRUE(m->IsValidImgIndex(m->oe[0].Mask));
  EXPECT_EQ(m->ma[m->oe[0].Mask].R, (gfx::TRect{0, 0, 23, 25}));
  EXPECT_EQ(m->oe[0].WidthL, 11);
  EXPECT_EQ(m->oe[0].WidthT, 11);
  EXPECT_EQ(m->oe[0].WidthB, 13);
}

TEST(SkinModel, AddNewSectionAndMakeNewItem) {
  TacSkinModel m;
  const int a = m.AddNewSection("A", -1, 2, 40, 0x123456, 0x654321);
  EXPECT_EQ(m.gd[a].States, 2);
  for (const TsGenState& s : m.gd[a].Props) {
    EXPECT_EQ(s.Transparency, 40);
    EXPECT_EQ(s.Color, 0x123456);
    EXPECT_EQ(s.FontColor.Color, 0x654321);
    EXPECT_EQ(s.FontColor.Bottom, -1);
  }
  m.gd[a].ParentClass = "X";
  m.gd[a].Props[1].GradientArray.resize(2);
  const int b = m.AddNewSection("B", a, 9, 9, 9, 9);
  EXPECT_EQ(m.gd[b].ClassName, "B");
  EXPECT_EQ(m.gd[b].ParentClass, "");
  EXPECT_EQ(m.gd[b].States, 2);
  EXPECT_EQ(m.gd[b].Props[1].GradientArray.size(), 2u);
  EXPECT_EQ(m.GetSkinSections(), (std::vector<std::string>{"A", "B"}));

  const int i = m.MakeNewItem(b, "P", "B", skin::paint::itisaGlyph, {1, 2, 3, 4}, 2, 1, 1);
  EXPECT_EQ(m.ma[i].Manager, &m);
  EXPECT_EQ(m.GetMaskIndex(b, "P"), i);
  EXPECT_TRUE(m.IsValidImgIndex(i));
  EXPECT_FALSE(m.IsValidImgIndex(i + 1));
}

TEST(SkinModel, WindowShadowsForExtendedBorders) {
  auto m = Build("[GLOBALINFO]\nWSHSIZE=10\nWSHOFFS=3\nWSHRAD=4\n");
  EXPECT_EQ(m->FormShadowSize, (gfx::TRect{}));
  EXPECT_TRUE(m->ShdaTemplate.Empty());
  m->CheckShadows(true);
  EXPECT_EQ(m->FormShadowSize, (gfx::TRect{10, 7, 10, 13}));
  EXPECT_EQ(m->ShdaTemplate.Width(), 2 * 4 + 20 + 1);
  EXPECT_EQ(m->ShdaTemplate.Height(), 2 * 4 + 20 + 3 + 1);
  EXPECT_EQ(&m->GetActiveShadow(), &m->GetActiveShadow());  // made once

  // With an extended border picture: its images are the templates, its widths less the
  // content offset the extent (or the offset all round with a border mode).
  const std::string exBorder =
      "[GLOBALINFO]\nFORMOFFSET=1\nEXBORDER=!EXT.PNG!2!0!3!0005!0004!0003!0002!0\n";
  auto ex = Build(exBorder);
  ASSERT_GE(ex->ConstData.ExBorder, 0);
  ex->CheckShadows(true);
  EXPECT_EQ(ex->FormShadowSize, (gfx::TRect{4, 3, 2, 1}));
  EXPECT_EQ(ex->ShdiTemplate.Width(), 5);
  EXPECT_EQ(ex->ShdaTemplate.Height(), 6);
  auto mode = Build(exBorder + "BORDERMODE=1\n");
  mode->CheckShadows(true);
  EXPECT_EQ(mode->FormShadowSize, (gfx::TRect{1, 1, 1, 1}));
}

TEST(SkinModel, APictureThatCannotBeDecodedLeavesTheModelInForce) {
  TsStoredSkins stored;
  const auto add = [&stored](const char* name, std::vector<std::uint8_t> master) {
    TsStoredSkin& s = stored.Add();
    s.SetName(name);
    const std::vector<TacPackEntry> files = {{"MASTER.BMP", std::move(master)}};
    s.SetPackedData(PackSkin(std::vector<std::uint8_t>(kOptions.begin(), kOptions.end()), files));
  };
  add("Good", gfx::EncodeBmp(Master(), false));
  add("Bad", {'B', 'M', 1, 2, 3});
  TacSkinHolder holder;
  holder.SetSkinName("Good", {"", &stored, 0, {}, ""});
  const TacSkinModel* model = holder.Model();
  ASSERT_NE(model, nullptr);
  EXPECT_GE(model->GetSkinIndex("EDIT"), 0);
  EXPECT_THROW(holder.SetSkinName("Bad", {"", &stored, 0, {}, ""}), ESkinError);
  EXPECT_EQ(holder.Model(), model);
  EXPECT_EQ(holder.SkinName(), "Good");
  holder.Clear();
  EXPECT_EQ(holder.Model(), nullptr);
}

}  // namespace
}  // namespace skin::data
