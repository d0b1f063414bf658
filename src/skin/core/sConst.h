// Constants shared by the skinned controls: the class codes each control kind sets in its skin
// data and the sets of them the skin engine tests, the background kinds and state flags of the
// skin data, the special colours that name palette entries of the skin, and error texts.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include "framework/Colors.h"

namespace skin::core {

// Class codes (TsCommonData::COC).
constexpr std::uint8_t COC_TsCustom = 1, COC_TsSpinEdit = 2, COC_TsEdit = 3, COC_TsMemo = 7,
                       COC_TsListBox = 8, COC_TsColorBox = 9, COC_TsListView = 10,
                       COC_TsCurrencyEdit = 12, COC_TsComboBox = 13, COC_TsTreeView = 14,
                       COC_TsComboBoxEx = 18, COC_TsFrameBar = 19, COC_TsBarTitle = 20,
                       COC_TsCheckBox = 32, COC_TsDBCheckBox = 32, COC_TsRadioButton = 33,
                       COC_TsSlider = 34, COC_TsImage = 50, COC_TsPanel = 51, COC_TsCoolBar = 53,
                       COC_TsToolBar = 54, COC_TsDragBar = 56, COC_TsTabSheet = 57,
                       COC_TsScrollBox = 58, COC_TsMonthCalendar = 59, COC_TsGroupBox = 74,
                       COC_TsSplitter = 75, COC_TsDBEdit = 76, COC_TsDBMemo = 78,
                       COC_TsDBComboBox = 81, COC_TsDBLookupComboBox = 82, COC_TsDBListBox = 83,
                       COC_TsDBLookupListBox = 84, COC_TsDBGrid = 85, COC_TsSpeedButton = 92,
                       COC_TsButton = 93, COC_TsBitBtn = 94, COC_TsNavButton = 98,
                       COC_TsBevel = 110, COC_TsFileDirEdit = 132, COC_TsFilenameEdit = 133,
                       COC_TsDirectoryEdit = 134, COC_TsCustomDateEdit = 137, COC_TsComboEdit = 138,
                       COC_TsDateEdit = 140, COC_TsPageControl = 141, COC_TsScrollBar = 142,
                       COC_TsTabControl = 143, COC_TsStatusBar = 151, COC_TsHeaderControl = 152,
                       COC_TsGauge = 161, COC_TsTrackBar = 165, COC_TsSkinProvider = 224,
                       COC_TsMDIForm = 225, COC_TsFrameAdapter = 226, COC_TsCircleControl = 227,
                       COC_TsAdapter = 230, COC_TsAdapterEdit = 231, COC_Unknown = 250;

// A set of class codes, one bit per code.
class TacCodeSet {
 public:
  // Single codes, or ranges written {first, last}.
  struct TRange {
    int First, Last;
    TRange(int code) : First(code), Last(code) {}
    TRange(int first, int last) : First(first), Last(last) {}
  };
  TacCodeSet(std::initializer_list<TRange> ranges) {
    for (const TRange& r : ranges)
      for (int c = r.First; c <= r.Last; ++c) FBits[c >> 6] |= std::uint64_t(1) << (c & 63);
  }
  bool Contains(int code) const {
    return code >= 0 && code < 256 && (FBits[code >> 6] >> (code & 63) & 1);
  }

 private:
  std::uint64_t FBits[4] = {};
};

inline const TacCodeSet sEditCtrls{{2, 18}, {76, 84}, {132, 140}, 231};
inline const TacCodeSet sNoHotEdits{{2, 18}, {76, 85}, {132, 140}, 231};
inline const TacCodeSet ssScrolledEdits{7, 8, 10, 14, 78, 83, 85, 231};
inline const TacCodeSet sCanNotBeHot{51, 54, 56, 57, 58, 59, 74, 110, 141, 143, 151, 161, 226};
inline const TacCodeSet sForbidMouse{19, {51, 74}, 110, {141, 161}};
inline const TacCodeSet ssButtons{92, 93, 94};

// Background kinds (TsCommonData::BGType).
constexpr std::uint16_t BGT_NONE = 0, BGT_GRADIENTHORZ = 1, BGT_GRADIENTVERT = 2, BGT_STRETCH = 4,
                        BGT_TEXTURELEFT = 16, BGT_TEXTURETOP = 32, BGT_TEXTURERIGHT = 64,
                        BGT_TEXTUREBOTTOM = 128, BGT_TEXTUREVERT = 80, BGT_TEXTUREHORZ = 160,
                        BGT_STRETCHVERT = 84, BGT_STRETCHHORZ = 164, BGT_TOPLEFT = 256,
                        BGT_TOPRIGHT = 512, BGT_BOTTOMLEFT = 1024, BGT_BOTTOMRIGHT = 2048;

// State flags (TsCommonData::CtrlSkinState).
constexpr std::uint32_t ACS_PRINTING = 512, ACS_MNUPDATING = 1024, ACS_LOCKED = 2048,
                        ACS_FOCUSCHANGING = 4096, ACS_CHANGING = 8192, ACS_BGRECEIVING = 16384,
                        ACS_REPAINTNEEDH = 32768, ACS_REPAINTNEEDV = 65536;

// Special colours: top byte 0xFF, a built-in BGR value below it that stands when no skin is
// active; with a skin they name a palette entry (acColorToRGB).
constexpr fw::TColor slEditRedText = fw::TColor(0xFF00006Cu);
constexpr fw::TColor slEditGreenText = fw::TColor(0xFF003E0Au);
constexpr fw::TColor slEditYellowText = fw::TColor(0xFF004C4Cu);
constexpr fw::TColor slEditRed = fw::TColor(0xFFDBDBFFu);
constexpr fw::TColor slEditGreen = fw::TColor(0xFFC9FFD2u);
constexpr fw::TColor slEditYellow = fw::TColor(0xFFBAFFFFu);
constexpr fw::TColor slBtnRed = fw::TColor(0xFFD5D5FFu);
constexpr fw::TColor slBtnRedActive = fw::TColor(0xFFBDBDFFu);
constexpr fw::TColor slBtnRedText = fw::TColor(0xFF0000B4u);
constexpr fw::TColor slBtnRedTextActive = fw::TColor(0xFF0000A2u);
constexpr fw::TColor slBtnGreen = fw::TColor(0xFFE1FFD2u);
constexpr fw::TColor slBtnGreenActive = fw::TColor(0xFFCDFFB4u);
constexpr fw::TColor slBtnGreenText = fw::TColor(0xFF28851Au);
constexpr fw::TColor slBtnGreenTextActive = fw::TColor(0xFF008E00u);
constexpr fw::TColor slBtnBlue = fw::TColor(0xFFFFEDC9u);
constexpr fw::TColor slBtnBlueActive = fw::TColor(0xFFFFE9BEu);
constexpr fw::TColor slBtnBlueText = fw::TColor(0xFFAE7400u);
constexpr fw::TColor slBtnBlueTextActive = fw::TColor(0xFF916000u);

// Error texts.
inline constexpr char16_t acs_FrameAdapterError1[] =
    u"Компонент TsFrameAdapter должен быть положен на соответствующий фрейм";

// What the system reports, read once at start-up: its major version (8 for 6.2 and for every
// version after 6), and the metrics the skinned frames and scroll bars start from (the
// horizontal scroll button's width, the sizing and dialog frames' widths, the caption's and
// the small caption's heights).
extern int acWinVer;
extern int acScrollBtnLength, ac_CXSIZEFRAME, ac_CXFIXEDFRAME, ac_CYCAPTION, ac_CYSMCAPTION;
// The default size of a menu item's glyph (kDefIcoLineWidth at 100 %); the skin manager scales
// it with its scale step, as it scales acScrollBtnLength.
inline constexpr int kDefIcoLineWidth = 16;
extern int iDefIcoLineWidth;
// The major version acWinVer gives for a system version.
int acWinVerOf(unsigned major, unsigned minor);

// Captions of the skinned dialogs, the skinned system menu and the skin selection dialogs,
// filled once at start-up. The platform keeps no localised string tables of its own modules,
// so each holds the program's own text.
extern std::u16string acs_MsgDlgOK, acs_MsgDlgCancel, acs_MsgDlgHelp, acs_CloseStr, acs_RestoreStr,
    acs_SizeStr, acs_MoveStr, acs_MaximizeStr, acs_MinimizeStr, acs_ColorDlgAdd, acs_ColorDlgDefine,
    acs_ColorDlgAddPal, acs_ColorDlgDecimal, acs_Root, acs_Create, acs_FileOpen, acs_SelectDir,
    acs_ColorDlgRed, acs_ColorDlgGreen, acs_ColorDlgBlue, acs_ColorDlgTitle, acs_Font,
    acs_FontColor, acs_Calculator, acs_ColorDlgHex, acs_InvalidDate, acs_AvailSkins,
    acs_InternalSkin, acs_DirWithSkins, acs_SelectSkinTitle, acs_SkinPreview;

}  // namespace skin::core
