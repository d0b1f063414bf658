#include "skin/data/sSkinOptions.h"

#include <gtest/gtest.h>

#include "skin/data/SkinError.h"

namespace skin::data {
namespace {

const TsGeneralData& Section(const std::vector<TsGeneralData>& gd, std::string_view name) {
  for (const auto& d : gd) {
    if (d.ClassName == name) return d;
  }
  throw std::runtime_error("no section " + std::string(name));
}

TEST(IniFile, SyntaxAndCase) {
  const TMemIniFile ini(
      "orphan=1\r\n"
      "  [GLOBALINFO]  \r\n"
      "; comment=1\n"
      "\n"
      "  COLOR =  255 \n"
      "EXPR=a=b\n"
      "no equals sign\n"
      "[Other]\n"
      "COLOR=1\n"
      "[GLOBALINFO]\n"
      "COLOR=7\n"
      "FONTCOLOR=9");
  ASSERT_EQ(ini.Sections().size(), 2u);
  EXPECT_EQ(ini.ReadString("GLOBALINFO", "COLOR", ""), "255");
  EXPECT_EQ(ini.ReadString("GLOBALINFO", "EXPR", ""), "a=b");
  EXPECT_EQ(ini.ReadString("GLOBALINFO", "FONTCOLOR", ""), "9");  // the repeated header adds
  EXPECT_FALSE(ini.ReadValue("GLOBALINFO", "color"));
  EXPECT_FALSE(ini.ReadValue("globalinfo", "COLOR"));
  EXPECT_FALSE(ini.ReadValue("GLOBALINFO", "; comment"));
  EXPECT_FALSE(ini.ReadValue("GLOBALINFO", "orphan"));
  EXPECT_EQ(ini.Sections()[0].Keys.size(), 4u);
}

TEST(SkinOptions, StatesFillInOrder) {
  const TMemIniFile ini(
      "[ONE]\nSTATES=1\nCOLOR=100\nFONTCOLOR=5\nTCLEFT=7\n"
      "[THREE]\nCOLOR=100\nTRANSPARENCY=250\n"
      "[USE2]\nUSESTATE2=1\nHOTCOLOR=2\nCOLOR2=3\n"
      "[NOUSE2]\nHOTCOLOR=2\nCOLOR2=3\n"
      "[GRAD]\nGRADIENTPERCENT=50\nGRADIENTDATA=N/A\nHOTGRADIENTPERCENT=40\n"
      "HOTGRADIENTDATA=16777215;0;100;0;0\n"
      "[CASE]\nfontcolor=255\nFONTCOLOR=$10\n");
  const auto gd = ReadAllSections(ini);
  const auto& one = Section(gd, "ONE");
  for (const auto& state : one.Props) {
    EXPECT_EQ(state.Color, 100);
    EXPECT_EQ(state.FontColor.Color, 5);
    EXPECT_EQ(state.FontColor.Left, 7);
    EXPECT_EQ(state.FontColor.Top, -1);
  }
  const auto& three = Section(gd, "THREE");
  EXPECT_EQ(three.States, 3);
  EXPECT_EQ(three.Props[0].Color, 100);
  EXPECT_EQ(three.Props[0].Transparency, 100);
  EXPECT_EQ(three.Props[1].Color, clWhite);  // hot keys default, not the normal state
  EXPECT_EQ(three.Props[1].Transparency, 0);
  EXPECT_EQ(Section(gd, "USE2").Props[2].Color, 3);
  EXPECT_TRUE(Section(gd, "USE2").UseState2);
  EXPECT_EQ(Section(gd, "NOUSE2").Props[2].Color, 2);
  const auto& grad = Section(gd, "GRAD");
  EXPECT_EQ(grad.Props[0].GradientPercent, 0);
  EXPECT_EQ(grad.Props[0].GradientData, "");
  EXPECT_EQ(grad.Props[1].GradientPercent, 40);
  EXPECT_EQ(grad.Props[1].GradientData, "16777215;0;100;0;0");
  EXPECT_EQ(Section(gd, "CASE").Props[0].FontColor.Color, 16);
}

TEST(SkinOptions, SectionKeysLimitsAndDefaults) {
  const TMemIniFile ini(
      "[A]\nSTATES=300\nOUTBLUR=50\nOUTOFFSL=-5\nOUTOFFST=400\nGLOW=-3\nGIVEOWNFONT=TRUE\n"
      "SHIFTCLICK=true\nOUTCOLL=$FF\n"
      "[B]\n");
  const auto gd = ReadAllSections(ini);
  const auto& a = Section(gd, "A");
  EXPECT_EQ(a.States, 255);
  EXPECT_EQ(a.OuterBlur, 30);
  EXPECT_EQ(a.OuterOffset.Left, -5);
  EXPECT_EQ(a.OuterOffset.Top, 255);
  EXPECT_EQ(a.GlowCount, 0);
  EXPECT_TRUE(a.GiveOwnFont);
  EXPECT_FALSE(a.ShiftOnClick);
  EXPECT_EQ(a.OuterColorL, 255);
  const auto& b = Section(gd, "B");
  EXPECT_EQ(b.States, 3);
  EXPECT_EQ(b.OuterMode, 2);
  EXPECT_EQ(b.OuterOpacity, 200);
  EXPECT_EQ(b.OuterOffset.Right, -1);
  EXPECT_EQ(b.OuterRadius, 9);
  EXPECT_EQ(b.Props[0].Color, clWhite);
  EXPECT_EQ(b.Props[0].GlowColor, clWhite);
  EXPECT_EQ(b.Props[0].TextureIndex, -1);
}

TEST(SkinOptions, InheritanceEndsAtSelfLoopsAndMissingParents) {
  const TMemIniFile ini(
      "[EDIT]\nCOLOR=123\nSTATES=2\nFONTCOLOR=9\n"
      "[COMBOBOX]\nPARENTCLASS=EDIT\nFONTCOLOR=-1\n"
      "[SELF]\nPARENTCLASS=SELF\n"
      "[A]\nPARENTCLASS=B\n"
      "[B]\nPARENTCLASS=A\nCOLOR=5\n"
      "[Q]\nPARENTCLASS=?\n"
      "[MISSING]\nPARENTCLASS=NOWHERE\n");
  const auto gd = ReadAllSections(ini);
  const auto& combo = Section(gd, "COMBOBOX");
  EXPECT_EQ(combo.ParentClass, "EDIT");
  EXPECT_EQ(combo.Props[0].Color, 123);
  EXPECT_EQ(combo.States, 2);
  EXPECT_EQ(combo.Props[0].FontColor.Color, 9);  // a negative value counts as absent
  EXPECT_EQ(Section(gd, "SELF").Props[0].Color, clWhite);
  EXPECT_EQ(Section(gd, "A").Props[0].Color, 5);
  EXPECT_EQ(Section(gd, "B").Props[0].Color, 5);
  EXPECT_EQ(InheritanceChain(ini, "A").size(), 2u);
  EXPECT_EQ(InheritanceChain(ini, "Q").size(), 1u);
  EXPECT_EQ(InheritanceChain(ini, "MISSING").size(), 1u);
  EXPECT_EQ(InheritanceChain(ini, "NOWHERE").size(), 0u);

  // A long chain is looked through only so far.
  std::string text;
  for (int i = 0; i < 100; ++i) {
    text += "[S" + std::to_string(i) + "]\nPARENTCLASS=S" + std::to_string(i + 1) + "\n";
  }
  text += "[S100]\nCOLOR=1\n";
  const TMemIniFile deep(text);
  EXPECT_EQ(InheritanceChain(deep, "S0").size(), 32u);
  EXPECT_EQ(InheritanceChain(deep, "S90").size(), 11u);
}

TEST(SkinOptions, GlobalValuesAndScaledReads) {
  const TacSystemColors system;
  const TMemIniFile empty("");
  const auto d = ReadGlobalData(empty, 0, system);
  EXPECT_EQ(d.ExTitleHeight, 30);
  EXPECT_EQ(d.ExMaxHeight, 30);
  EXPECT_EQ(d.ExCenterOffs, 0);
  EXPECT_EQ(d.ExBorderWidth, 4);
  EXPECT_EQ(d.ExContentOffs, system.SizingFrame);
  EXPECT_EQ(d.WndShadowColorA, TColor(0x99000000));
  EXPECT_EQ(d.Shadow1Blur, -1);
  EXPECT_EQ(d.ComboBoxMargin, 2);

  const TMemIniFile ini(
      "[GLOBALINFO]\nVERSION=8.15\nTITLEHEIGHT=24\nMAXHEIGHT=0\nCENTEROFFSET=8\n"
      "CENTEROFFSET*150=20\nALIGNOFFSET=3\nALIGNOFFSETT=1\nWSHCOLN=$22000000\n"
      "FontCount=1000000\nFontFile0=A.TTF\nFontName0=Alpha\nBICONCLOSEGLOW=2\n"
      "MainFont=Tahoma\nBRIGHTMIN=-20\n"
      "[TABTOP]\nTABSCOVERING=300\n");
  const auto s0 = ReadGlobalData(ini, 0, system);
  EXPECT_DOUBLE_EQ(s0.Version, 8.15);
  EXPECT_EQ(s0.ExTitleHeight, 24);
  EXPECT_EQ(s0.ExMaxHeight, 24);
  EXPECT_EQ(s0.ExCenterOffs, 8);
  EXPECT_EQ(s0.ExShadowOffsR, 3);
  EXPECT_EQ(s0.ExShadowOffsT, 1);
  EXPECT_EQ(s0.WndShadowColorN, 0x22000000);
  EXPECT_EQ(s0.MainFont, "Tahoma");
  EXPECT_EQ(s0.BrightMin, -20);
  EXPECT_EQ(s0.TabsCovering, 255);
  EXPECT_EQ(s0.TitleGlowCount, 2);
  // The font count is bounded by the keys there are.
  EXPECT_LE(s0.Fonts.size(), 16u);
  EXPECT_EQ(s0.Fonts[0].FileName, "A.TTF");
  EXPECT_EQ(s0.Fonts[0].FaceName, "Alpha");
  EXPECT_EQ(s0.Fonts[1].FileName, "");

  const auto s2 = ReadGlobalData(ini, 2, system);
  EXPECT_EQ(s2.ExTitleHeight, 36);  // 24 × 150 %
  EXPECT_EQ(s2.ExCenterOffs, 20);   // its own variant
  EXPECT_EQ(s2.WndShadowRadius, 25);
  // A huge value saturates rather than overflowing when scaled.
  const TMemIniFile huge("[GLOBALINFO]\nTITLEHEIGHT=2000000000\nWSHRAD=2000000000\n");
  EXPECT_EQ(ReadGlobalData(huge, 3, system).ExTitleHeight, INT32_MAX);
  EXPECT_EQ(ReadGlobalData(huge, 3, system).WndShadowRadius, INT32_MAX);
}

TEST(SkinOptions, OuterEffects) {
  const TacSystemColors system;
  const TMemIniFile ini("[GLOBALINFO]\nSH_COLORL=255\nSH_OFFSETL=4\nLO_COLORT=$8000000F\n");
  const auto oe = ReadOuterEffects(ini, 1, system);
  EXPECT_EQ(oe[1].ColorL, 255);
  EXPECT_EQ(oe[1].ColorT, clFuchsia);
  EXPECT_EQ(oe[1].OffsetL, 5);  // 4 at 125 %
  EXPECT_EQ(oe[1].OffsetB, 6);
  EXPECT_EQ(oe[1].Opacity, 60);
  EXPECT_EQ(oe[0].ColorT, system.BtnFace);                          // system colours resolved
  EXPECT_EQ(system.ToRGB(TColor(0xFFD8D8D8)), TColor(0xFFD8D8D8));  // alpha, not system
  EXPECT_EQ(system.ToRGB(kNoColor), kNoColor);
  EXPECT_EQ(system.ToRGB(TColor(0x80000005)), system.Window);
  EXPECT_EQ(oe[0].ColorL, 0xFFFFFF);
  EXPECT_EQ(oe[0].Opacity, 200);
  EXPECT_EQ(oe[0].WidthL, -1);
}

TEST(SkinOptions, PaletteDefaultsAndFallbacks) {
  TacSystemColors system;
  system.BtnFace = 0xFFFFFF;
  const TMemIniFile empty("");
  const auto p = ReadPalette(empty, {}, system);
  EXPECT_EQ(p[pcMainColor], 0xFFFFFF);
  EXPECT_EQ(p[pcEditBG], system.Window);
  EXPECT_EQ(p[pcHintBG], system.InfoBk);
  EXPECT_EQ(p[pcSelectionBG], system.Highlight);
  EXPECT_EQ(p[pcSelectionText_Focused], system.HighlightText);
  EXPECT_EQ(p[pcWebText], 0xFF0000);
  EXPECT_EQ(p[pcEditBG_EvenRow], 0xF1F1F1);  // white × 242 >> 8
  EXPECT_EQ(p[pcGrid], 0xE0E0E0);
  EXPECT_EQ(std::uint32_t(p[pcBtnColor1Active]), 0xFFFEFEFEu);  // white blended with white
  EXPECT_EQ(std::uint32_t(p[pcBtnColor2Normal]), 0xFFF3F3F3u);
  EXPECT_EQ(p[pcEditText_Caution], 0x00006C);
  EXPECT_EQ(p[pcEditText_Inverted], p[pcEditBG]);
  EXPECT_EQ(p[pcBtnBlueTextActive], 0xAE7400);

  const TMemIniFile ini(
      "[GLOBALINFO]\nCOLOR=$808080\nBORDERCOLOR=7\nBTNCOLOR1ACTIVE=-2565928\n"
      "COLORTONEBLUETEXTActive=5\nGRIDLINE=-1\nEDITTEXT_ALERT=1\n"
      "[EDIT]\nCOLOR=100\nFONTCOLOR=200\n"
      "[MENUITEM]\nHOTCOLOR=11\nHOTFONTCOLOR=$FF00FF\n");
  const auto gd = ReadAllSections(ini);
  const auto q = ReadPalette(ini, gd, system);
  EXPECT_EQ(q[pcEditBG], 100);
  EXPECT_EQ(q[pcEditText], 200);
  EXPECT_EQ(std::uint32_t(q[pcBtnColor1Active]), 0xFFD8D8D8u);
  EXPECT_EQ(q[pcBtnBorderPressed], 7);
  EXPECT_EQ(q[pcBtnBlueTextActive], 5);
  EXPECT_EQ(q[pcEditBG_Bypassed], 0xDBDBFF);
  EXPECT_EQ(q[pcEditText_Bypassed], 1);
  EXPECT_EQ(q[pcGrid], BlendColors(200, 100, 30));
  // No SELECTION: the menu item's hot colours, its fuchsia text made the highlight text.
  EXPECT_EQ(q[pcSelectionBG], 11);
  EXPECT_EQ(q[pcSelectionBG_Focused], 11);
  EXPECT_EQ(q[pcSelectionText], system.HighlightText);

  const TMemIniFile withSelection(
      "[SELECTION]\nCOLOR=1\nFONTCOLOR=2\nHOTCOLOR=3\nHOTFONTCOLOR=4\n"
      "[SEL1]\nPARENTCLASS=SELECTION\n");
  const auto r = ReadPalette(withSelection, ReadAllSections(withSelection), system);
  EXPECT_EQ(r[pcSelectionBG], 1);
  EXPECT_EQ(r[pcSelectionText], 2);
  EXPECT_EQ(r[pcSelectionBG_Focused], 3);
  EXPECT_EQ(r[pcSelectionText_Focused], 4);
}

TEST(SkinOptions, PictureItemsAndResolutionVariants) {
  const TMemIniFile ini(
      "[GLOBALINFO]\nMASTERBITMAP=MASTER.BMP\nBOXCHECKED=@0039@0000@0078@0026@3@1\n"
      "BOXCHECKED*125=@0000@0000@0090@0030@3@1\n"
      "EXBORDER=!EXTBORD.PNG!2!0!3!0025!0050!0025!0025!0\n"
      "EXBORDER*125=!EXTBORD_125.PNG!2!0!3!0031!0062!0031!0031!0\n"
      "AUTHOR=someone\nCHECK=@0001@0002@0003@0004@1@0\n"
      "[BUTTON]\nBORDERSMASK=^0078^0048^0156^0099^0001^0001^0001^0001^1^0^1^1\n"
      "BORDERSMASK*125=^0000^0000^0090^0090^0002^0002^0002^0002^1^0^1^2\n"
      "PATTERN=bg.jpg\nHOTPATTERN=~0078~0000~0156~0048~00\nGRADIENTDATA=N/A\n");
  auto names = [](const std::vector<TacPictureItemDef>& items) {
    std::vector<std::string> out;
    for (const auto& i : items) out.push_back(i.Section + "/" + i.PropertyName);
    return out;
  };
  const auto at100 = ReadPictureItems(ini, 0);
  EXPECT_EQ(names(at100),
            (std::vector<std::string>{
                "GLOBALINFO/BOXCHECKED", "GLOBALINFO/BOXCHECKED*125", "GLOBALINFO/EXBORDER",
                "GLOBALINFO/CHECK", "BUTTON/BORDERSMASK", "BUTTON/PATTERN", "BUTTON/HOTPATTERN"}));
  EXPECT_EQ(at100[2].Value.FileName, "EXTBORD.PNG");
  EXPECT_EQ(at100[4].Value.R, (gfx::TRect{78, 48, 156, 99}));
  EXPECT_EQ(at100[5].Value.FileName, "BG.JPG");  // values are read upper-cased

  const auto at125 = ReadPictureItems(ini, 1);
  EXPECT_EQ(at125[2].PropertyName, "EXBORDER*125");
  EXPECT_EQ(at125[2].Value.FileName, "EXTBORD_125.PNG");
  EXPECT_EQ(at125[2].Value.WL, 31);
  EXPECT_EQ(at125[4].PropertyName, "BORDERSMASK");
  EXPECT_EQ(at125[4].Value.BorderWidth, 2);
  EXPECT_EQ(at125.size(), at100.size());

  // A malformed value names where it is.
  const TMemIniFile bad("[GLOBALINFO]\nBOXCHECKED=@0039@0000\n");
  try {
    ReadPictureItems(bad, 0);
    FAIL();
  } catch (const ESkinError& e) {
    EXPECT_NE(std::string(e.what()).find("[GLOBALINFO] BOXCHECKED"), std::string::npos);
  }
}

TEST(SkinOptions, OverlaySections) {
  EXPECT_EQ(NormalizeCommonSections("[ MY BTN ]\n COLOR = 5\n; keep  this\n"),
            "[MYBTN]\nCOLOR=5\n; keep  this\n");
  const auto o = ReadSkinOptions(
      "[BUTTON]\nCOLOR=1\nSTATES=2\nHOTCOLOR=2\n[EDIT]\nCOLOR=3\nFONTCOLOR=4\n", 0,
      TacSystemColors{},
      NormalizeCommonSections("[EDIT]\nCOLOR = 50\n"
                              "[MYBTN]\nPARENTCLASS=button\nHOTCOLOR=9\nBG=pics\\Back.bmp\n"
                              "[NEW]\nSTATES=1\n[GLOBALINFO]\nCOLOR=77\n"));
  ASSERT_EQ(o.gd.size(), 4u);
  const auto& edit = Section(o.gd, "EDIT");
  EXPECT_EQ(edit.Props[0].Color, 50);
  EXPECT_EQ(edit.Props[0].FontColor.Color, 4);
  EXPECT_EQ(o.Palette[pcEditBG], 50);  // merged before the palette
  const auto& mine = Section(o.gd, "MYBTN");
  EXPECT_EQ(mine.States, 2);
  EXPECT_EQ(mine.Props[0].Color, 1);
  EXPECT_EQ(mine.Props[1].Color, 9);
  EXPECT_EQ(Section(o.gd, "NEW").States, 1);
  EXPECT_EQ(Section(o.gd, "NEW").Props[0].Color, clWhite);
  EXPECT_NE(o.Palette[pcMainColor], 77);
  ASSERT_EQ(o.Items.size(), 1u);
  EXPECT_EQ(o.Items[0].Section, "MYBTN");
  EXPECT_EQ(o.Items[0].PropertyName, "BG");
  EXPECT_EQ(o.Items[0].Value.FileName, "pics\\Back.bmp");
  EXPECT_TRUE(o.Items[0].OnDisk);
}

TEST(SkinOptions, WholeTextReadsEveryPart) {
  const auto o = ReadSkinOptions("[GLOBALINFO]\nCOLOR=5\nBOXCHECKED=@0039@0000@0078@0026@3@1\n", 0,
                                 TacSystemColors{});
  EXPECT_EQ(o.gd.size(), 1u);
  EXPECT_EQ(o.Palette[pcMainColor], 5);
  EXPECT_EQ(o.Items.size(), 1u);
  EXPECT_EQ(o.oe[1].Opacity, 60);
  EXPECT_EQ(ReadSkinOptions("", 0, TacSystemColors{}).gd.size(), 0u);
}

}  // namespace
}  // namespace skin::data
