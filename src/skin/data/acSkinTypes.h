// Records a skin's options text fills: sections with their three states, the global skin
// values, the window outer effects and the palette.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gfx/Geometry.h"
#include "skin/data/acColor.h"
#include "skin/paint/sGradient.h"

namespace skin::data {

// Text colour of a state and the colours of its one-pixel contour (−1 none).
struct TsFontColor {
  TColor Color = 0;
  TColor Left = kNoColor, Top = kNoColor, Right = kNoColor, Bottom = kNoColor;
};

// One state of a section (acDefProp gives the defaults).
struct TsGenState {
  int GlowSize = 0;
  int ImagePercent = 0;     // 0 to 100
  int TextureIndex = -1;    // picture item of the state's texture, −1 none
  int Transparency = 0;     // 0 to 100
  int GradientPercent = 0;  // 0 to 100; 0 when there is no gradient
  TColor Color = clWhite;
  TColor GlowColor = clWhite;
  TsFontColor FontColor;
  std::string GradientData;                // gradient text for the gradient parser; empty when none
  skin::paint::TsGradArray GradientArray;  // the parsed gradient, filled by the skin model
};

// The default state record.
inline const TsGenState acDefProp{};

// One section of the skin.
struct TsGeneralData {
  std::string ParentClass;          // PARENTCLASS as written
  std::string ClassName;            // the section name
  std::array<TsGenState, 3> Props;  // normal, hot, third state
  bool UseState2 = false;
  bool GiveOwnFont = false;
  bool ShiftOnClick = false;
  bool ReservedBoolean = false;
  int States = 3;
  int ScrollBorderOffset = -2;  // filled with the picture items
  int GlowCount = 0, GlowMargin = 0;
  int GlowSize = 0, HotGlowSize = 0;  // not filled from the options
  int BorderIndex = -1;               // picture items, filled when they are made
  int ImgTL = -1, ImgTR = -1, ImgBL = -1, ImgBR = -1;
  TColor HotGlowColor = 0, GlowColor = 0;  // not filled from the options
  int OuterMode = 2;
  int OuterMask = -1;
  int OuterOpacity = 200;
  gfx::TRect OuterOffset{-1, -1, -1, -1};
  int OuterBlur = 9, OuterRadius = 9;
  TColor OuterColorL = 0, OuterColorT = 0, OuterColorR = 0, OuterColorB = 0;
};

// A font carried by the skin.
struct TacSkinFont {
  std::string FileName;  // package entry, or a file path for an unpacked skin
  std::string FaceName;
};

// Global values of the skin (GLOBALINFO).
struct TsSkinData {
  bool Active = false;   // a skin is loaded and announced; set by whoever puts it in force
  std::string SkinPath;  // folder relative picture names are read from
  double Version = 0;
  std::string MasterBitmap;  // file name of the master bitmap
  std::string Author, Description, MainFont;
  int ExBorderWidth = 4;
  int ExTitleHeight = 30;
  int ExMaxHeight = 30;
  int ExCenterOffs = 0;
  int ExContentOffs = 0;
  int ExDrawMode = 0;
  int BrightMin = -50, BrightMax = 50;
  int ExShadowOffs = 0, ExShadowOffsR = 0, ExShadowOffsT = 0, ExShadowOffsB = 0;
  int WndShadowRadius = 17, WndShadowOffset = 2, WndShadowSize = 13;
  TColor WndShadowColorN = TColor(0x44000000), WndShadowColorA = TColor(0x99000000);
  int BISpacing = 0, BIVAlign = 0, BIRightMargin = 0, BILeftMargin = 0, BITopMargin = 0;
  int BIKeepHUE = 0;
  bool UseAeroBluring = false;
  TColor Shadow1Color = 0;
  int Shadow1Offset = 0, Shadow1Blur = -1, Shadow1Transparency = 0;
  int ComboBoxMargin = 2, SliderMargin = 1;
  int ArrowStyle = 0;
  // Glow margins of the five large title glyphs (close alone, close, max, min, normal).
  std::array<int, 5> TitleGlowMargins{};
  int TitleGlowCount = 0;  // glow frames of each of them
  std::uint8_t TabsCovering = 0, RibbonCovering = 0;
  std::vector<TacSkinFont> Fonts;
};

// Window outer effects: element 0 the lowered frame ("LO_"), element 1 the shadow ("SH_").
struct TacOutEffData {
  TColor ColorL = 0, ColorT = 0, ColorR = 0, ColorB = 0;
  int OffsetL = 0, OffsetT = 0, OffsetR = 0, OffsetB = 0;
  int WidthL = -1, WidthT = -1, WidthR = -1, WidthB = -1;  // scaled when the mask is made
  int Blur = 5, Radius = 9;
  int Mask = -1;   // picture item, made with the items
  int Source = 2;  // 0 none, 1 the "^" value of SH_MASK/LO_MASK, else generated
  int Opacity = 0;
};

// Palette entries, in order.
enum TacPaletteColors {
  pcMainColor,
  pcLabelText,
  pcWebText,
  pcWebTextHot,
  pcEditText,
  pcEditBG,
  pcSelectionBG,
  pcSelectionText,
  pcSelectionBG_Focused,
  pcSelectionText_Focused,
  pcEditBG_Inverted,
  pcEditText_Inverted,
  pcEditBG_OddRow,
  pcEditBG_EvenRow,
  pcEditText_Ok,
  pcEditText_Warning,
  pcEditText_Alert,
  pcEditText_Caution,
  pcEditText_Bypassed,
  pcEditBG_Ok,
  pcEditBG_Warning,
  pcEditBG_Alert,
  pcEditBG_Caution,
  pcEditBG_Bypassed,
  pcEditText_Highlight1,
  pcEditText_Highlight2,
  pcEditText_Highlight3,
  pcBtnColor1Active,
  pcBtnColor2Active,
  pcBtnBorderActive,
  pcBtnFontActive,
  pcBtnColor1Normal,
  pcBtnColor2Normal,
  pcBtnBorderNormal,
  pcBtnFontNormal,
  pcBtnColor1Pressed,
  pcBtnColor2Pressed,
  pcBtnBorderPressed,
  pcBtnFontPressed,
  pcBtnToneRed,
  pcBtnToneRedActive,
  pcBtnToneGreen,
  pcBtnToneGreenActive,
  pcBtnToneBlue,
  pcBtnToneBlueActive,
  pcBtnRedText,
  pcBtnRedTextActive,
  pcBtnGreenText,
  pcBtnGreenTextActive,
  pcBtnBlueText,
  pcBtnBlueTextActive,
  pcBorder,
  pcGrid,
  pcHintBG,
  pcHintText,
  acPaletteSize
};

using TacPalette = std::array<TColor, acPaletteSize>;

// System colours and metrics the options fall back on; the window system provides them.
struct TacSystemColors {
  TColor BtnFace = 0xF0F0F0;
  TColor WindowText = 0x000000;
  TColor Window = 0xFFFFFF;
  TColor InfoText = 0x000000;
  TColor InfoBk = 0xE1FFFF;
  TColor Highlight = 0xD77800;
  TColor HighlightText = 0xFFFFFF;
  int SizingFrame = 4;  // width of a sizing frame (the default FORMOFFSET)
  // Resolves a system colour (0x80000000 + index) to RGB; other colours pass unchanged.
  TColor ToRGB(TColor color) const;
};

}  // namespace skin::data
