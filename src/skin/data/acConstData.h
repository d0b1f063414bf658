// The constant index table of a skin (ConstData): the sections and picture items every control
// needs, found once per skin so that painting never looks a name up. Every index is −1 when
// absent. The tables of names the indexes are taken from live here as well.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "skin/paint/sGraphUtils.h"

namespace skin::data {

// Sections with a fixed place in ConstData.Sections, in the order of acSectNames.
enum TacSection {
  ssMenuItem,
  ssCheckBox,
  ssSpeedButton,
  ssSpeedButton_Small,
  ssToolButton,
  ssTransparent,
  ssGroupBox,
  ssDivider,
  ssWebBtn,
  ssButton,
  ssComboNoEdit,
  ssButtonHuge,
  ssToolBar,
  ssEdit,
  ssGauge,
  ssSelection,
  ssStatusBar,
  ssPanel,
  ssPanelLow,
  ssTrackBar,
  ssProgressV,
  ssDragBar,
  ssGripH,
  ssGripV,
  ssProgressH,
  ssTabSheet,
  ssUpDown,
  ssComboBox,
  ssCaption,
  ssMainMenu,
  ssSplitter,
  ssComboBtn,
  ssFormTitle,
  ssHint,
  ssDividerV,
  ssPageControl,
  ssTabTop,
  ssBarPanel,
  ssBarTitle,
  ssMenuCaption,
  ssDialogTitle,
  ssMenuButton,
  ssMenuLine,
  ssFormHeader,
  ssTBBtn,
  ssTBMenuBtn,
  ssTBTab,
  ssColHeader,
  ssColHeaderA,
  ssColHeaderL,
  ssColHeaderR,
  ssSlider_Off,
  ssSlider_On,
  acSectionCount
};

inline constexpr std::string_view acSectNames[acSectionCount] = {
    "MENUITEM",    "CHECKBOX",    "SPEEDBUTTON", "SPEEDBUTTON_SMALL",
    "TOOLBUTTON",  "TRANSPARENT", "GROUPBOX",    "DIVIDER",
    "WEBBUTTON",   "BUTTON",      "COMBONOEDIT", "BUTTON_HUGE",
    "TOOLBAR",     "EDIT",        "GAUGE",       "SELECTION",
    "STATUSBAR",   "PANEL",       "PANEL_LOW",   "TRACKBAR",
    "PROGRESSV",   "DRAGBAR",     "GRIPH",       "GRIPV",
    "PROGRESSH",   "TABSHEET",    "UPDOWNBTN",   "COMBOBOX",
    "CAPTION",     "MAINMENU",    "SPLITTER",    "COMBOBTN",
    "FORMTITLE",   "HINT",        "DIVIDERV",    "PAGECONTROL",
    "TABTOP",      "BARPANEL",    "BARTITLE",    "MENUCAPTION",
    "DIALOGTITLE", "MENUBTN",     "MENULINE",    "FORMHEADER",
    "TB_BTN",      "TB_MENUBTN",  "TB_TAB",      "COLHEADER",
    "COLHEADERA",  "COLHEADERL",  "COLHEADERR",  "SLIDER_OFF",
    "SLIDER_ON"};

// Sides, in the order of the side tables (the arrow routines of the paint layer own the type).
using skin::paint::TacSide;
using enum skin::paint::TacSide;
// Places of a tab in its row.
enum TacTabLayout { tlFirst, tlLast, tlMiddle, tlSingle };
// Title-bar glyphs.
enum TacTitleGlyph {
  tgCloseAlone,
  tgClose,
  tgMax,
  tgMin,
  tgNormal,
  tgHelp,
  tgSmallClose,
  tgSmallMax,
  tgSmallMin,
  tgSmallNormal,
  tgSmallHelp,
  tgUser,
  tgNone
};

// Tab sections by layout × 4 + side.
inline constexpr std::string_view acTabSections[16] = {
    "TABLEFTFIRST",  "TABTOPFIRST",  "TABRIGHTFIRST",  "TABBOTTOMFIRST",
    "TABLEFTLAST",   "TABTOPLAST",   "TABRIGHTLAST",   "TABBOTTOMLAST",
    "TABLEFTMIDDLE", "TABTOPMIDDLE", "TABRIGHTMIDDLE", "TABBOTTOMMIDDLE",
    "TABLEFT",       "TABTOP",       "TABRIGHT",       "TABBOTTOM"};
inline constexpr std::string_view acScrollParts[4] = {"SCROLLBAR1H", "SCROLLBAR1V", "SCROLLBAR2H",
                                                      "SCROLLBAR2V"};
inline constexpr std::string_view acScrollBtns[4] = {"SCROLLBTNLEFT", "SCROLLBTNTOP",
                                                     "SCROLLBTNRIGHT", "SCROLLBTNBOTTOM"};
// The right one is written without underscore, as skins name it.
inline constexpr std::string_view acUpDownBtns[4] = {"UPDOWNBTN_LEFT", "UPDOWNBTN_TOP",
                                                     "UPDOWNBTNRIGHT", "UPDOWNBTN_BOTTOM"};
// Horizontal (false) and vertical (true) scroll sliders.
inline constexpr std::string_view acScrollSliders[2] = {"SCROLLSLIDERH", "SCROLLSLIDERV"};
// Global glyphs by TacTitleGlyph; tgNone has none.
inline constexpr std::string_view acTitleGlyphs[tgNone + 1] = {
    "BICLOSEALONE", "BICONCLOSE",  "BICONMAX", "BICONMIN", "BICONNORM",
    "BICONHELP",    "SICONCLOSE",  "SICONMAX", "SICONMIN", "SICONNORM",
    "SICONHELP",    "TITLEBUTTON", ""};
// Track bar parts by orientation (false vertical, true horizontal).
inline constexpr std::string_view acProgArray[2] = {"PROGVERT", "PROGHORZ"};
inline constexpr std::string_view acThickArray[2] = {"TICKVERT", "TICKHORZ"};

// One element every control of a kind uses.
struct TacConstElementData {
  int SkinIndex = -1;
  int MaskIndex = -1;                      // its BORDERSMASK
  int GlyphIndex = -1;                     // its GLYPHMASK
  std::array<int, 3> BGIndex{-1, -1, -1};  // PATTERN, HOTPATTERN; the third always −1
  std::string SkinSection;                 // the section finally used
};

struct TacTrackBarData {
  int SkinIndex = -1;
  int MaskIndex = -1;
  int GlyphIndex = -1;
  std::array<int, 3> BGIndex{-1, -1, -1};
  int TickIndex = -1;
  int ProgIndex = -1;
  int SlideIndex = -1;
};

// The table (all −1 for no skin).
struct TConstantSkinData {
  int IndexGLobalInfo = -1;
  std::array<int, acSectionCount> Sections = Filled<acSectionCount>();
  std::array<std::array<TacConstElementData, 4>, 4> Tabs{};  // [layout][side]
  std::array<TacConstElementData, 4> Scrolls{};
  std::array<TacConstElementData, 4> ScrollBtns{};
  std::array<TacConstElementData, 4> UpDownBtns{};
  std::array<TacConstElementData, 2> Sliders{};  // horizontal, vertical
  TacConstElementData MenuItem, ComboBtn;
  std::array<std::vector<int>, 7> TitleGlows{};  // glow frames of the large title glyphs
  std::array<int, 7> GlowMargins{};              // their glow margins
  std::array<int, tgNone + 1> TitleGlyphs = Filled<tgNone + 1>();
  std::array<int, 2> RadioButton = Filled<2>();    // unchecked, checked
  std::array<int, 3> CheckBox = Filled<3>();       // unchecked, checked, grayed
  std::array<int, 3> SmallCheckBox = Filled<3>();  // unchecked, checked, grayed
  std::array<TacTrackBarData, 2> TrackBar{};       // vertical, horizontal
  int ExBorder = -1;
  int GripVertical = -1, GripHorizontal = -1, GripRightBottom = -1;

 private:
  template <std::size_t N>
  static constexpr std::array<int, N> Filled() {
    std::array<int, N> a{};
    a.fill(-1);
    return a;
  }
};

}  // namespace skin::data
