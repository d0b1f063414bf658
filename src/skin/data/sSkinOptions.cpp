#include "skin/data/sSkinOptions.h"

#include <algorithm>
#include <array>
#include <optional>

#include "skin/data/SkinError.h"
#include "skin/data/acSkinPack.h"

namespace skin::data {

namespace {

using Chain = std::vector<const TacIniSection*>;

// State keys: normal, hot, third state.
struct StateKeys {
  const char* Color;
  const char* FontColor;
  const char* Left;
  const char* Top;
  const char* Right;
  const char* Bottom;
  const char* GlowColor;
  const char* GlowSize;
  const char* GradientPercent;
  const char* GradientData;
  const char* ImagePercent;
  const char* Transparency;
};
constexpr StateKeys kStateKeys[3] = {
    {"COLOR", "FONTCOLOR", "TCLEFT", "TCTOP", "TCRIGHT", "TCBOTTOM", "GCOL", "GSIZE",
     "GRADIENTPERCENT", "GRADIENTDATA", "IMAGEPERCENT", "TRANSPARENCY"},
    {"HOTCOLOR", "HOTFONTCOLOR", "HOTTCLEFT", "HOTTCTOP", "HOTTCRIGHT", "HOTTCBOTTOM", "HGCOL",
     "HGSIZE", "HOTGRADIENTPERCENT", "HOTGRADIENTDATA", "HOTIMAGEPERCENT", "HOTTRANSPARENCY"},
    {"COLOR2", "FONTCOLOR2", "TCLEFT2", "TCTOP2", "TCRIGHT2", "TCBOTTOM2", "GCOL2", "GSIZE2",
     "GRADIENTPERCENT2", "GRADIENTDATA2", "IMAGEPERCENT2", "TRANSPARENCY2"},
};

// Sections looked through for one value; real skins use two or three, and the bound keeps a
// long chain in a damaged file from making every lookup walk it.
constexpr std::size_t kMaxInheritanceDepth = 32;

// A gradient text this short ("N/A") means no gradient.
constexpr std::size_t kMinGradientText = 5;

std::optional<std::string_view> InheritedValue(const Chain& chain, std::string_view key) {
  for (const TacIniSection* s : chain) {
    if (auto v = s->Value(key)) return v;
  }
  return std::nullopt;
}

// The first integer found along the chain; a negative one counts as absent unless allowed.
int InheritedInt(const Chain& chain, std::string_view key, int def, bool negativeAllowed = false) {
  for (const TacIniSection* s : chain) {
    if (auto text = s->Value(key)) {
      const auto v = StrToIntOpt(*text);
      if (v && (negativeAllowed || *v >= 0)) return *v;
    }
  }
  return def;
}

int InheritedLimited(const Chain& chain, std::string_view key, int def, int limit,
                     bool negativeAllowed = false) {
  return std::min(InheritedInt(chain, key, def, negativeAllowed), limit);
}

bool InheritedBool(const Chain& chain, std::string_view key) {
  const auto v = InheritedValue(chain, key);
  return v && StrToBoolValue(*v);
}

// A state from the keys k along chain; absent keys keep the values of base.
TsGenState ReadState(const Chain& chain, const StateKeys& k, const TsGenState& base) {
  TsGenState s = base;
  s.Color = InheritedInt(chain, k.Color, base.Color);
  s.FontColor.Color = InheritedInt(chain, k.FontColor, base.FontColor.Color);
  s.FontColor.Left = InheritedInt(chain, k.Left, base.FontColor.Left);
  s.FontColor.Top = InheritedInt(chain, k.Top, base.FontColor.Top);
  s.FontColor.Right = InheritedInt(chain, k.Right, base.FontColor.Right);
  s.FontColor.Bottom = InheritedInt(chain, k.Bottom, base.FontColor.Bottom);
  s.GlowColor = InheritedInt(chain, k.GlowColor, base.GlowColor);
  s.GlowSize = InheritedInt(chain, k.GlowSize, base.GlowSize);
  // Percentages beyond 100 would overflow the byte weights they become.
  s.GradientPercent = InheritedLimited(chain, k.GradientPercent, base.GradientPercent, 100);
  s.ImagePercent = InheritedLimited(chain, k.ImagePercent, base.ImagePercent, 100);
  s.Transparency = InheritedLimited(chain, k.Transparency, base.Transparency, 100);
  const auto gradient = InheritedValue(chain, k.GradientData);
  if (gradient) s.GradientData = std::string(*gradient);
  if (s.GradientData.size() < kMinGradientText) {
    s.GradientData.clear();
    s.GradientPercent = 0;
  }
  return s;
}

// Reads GLOBALINFO without inheritance; negative values are allowed.
class GlobalReader {
 public:
  GlobalReader(const TMemIniFile& ini, int scale)
      : FSection(ini.FindSection(s_GlobalInfo)), FScale(std::clamp(scale, 0, 3)) {}

  std::optional<std::string_view> Value(std::string_view key) const {
    return FSection ? FSection->Value(key) : std::nullopt;
  }
  std::optional<std::int32_t> IntOpt(std::string_view key) const {
    const auto v = Value(key);
    return v ? StrToIntOpt(*v) : std::nullopt;
  }
  int Int(std::string_view key, int def) const { return IntOpt(key).value_or(def); }
  // 64-bit values keep their low 32 bits (an alpha byte in the top one).
  TColor Int64(std::string_view key, TColor def) const {
    const auto v = Value(key);
    const auto i = v ? StrToInt64Opt(*v) : std::nullopt;
    return i ? TColor(std::uint32_t(std::uint64_t(*i))) : def;
  }
  // The key's variant for the scale; else the base value (or def) scaled.
  int Scaled(std::string_view key, int def) const {
    if (FScale > 0) {
      if (const auto v = IntOpt(std::string(key) + std::string(aSfxs[FScale]))) return *v;
    }
    const std::int64_t scaled = std::int64_t(Int(key, def)) * aScalePercents[FScale] / 100;
    return int(std::clamp<std::int64_t>(scaled, INT32_MIN, INT32_MAX));
  }
  int ScaledInt(std::string_view key, int def) const { return ScaleInt(Int(key, def), FScale); }
  std::string String(std::string_view key) const { return std::string(Value(key).value_or("")); }
  // A count of keyed things, bounded by the keys there are.
  int Count(std::string_view key) const {
    const int keys = FSection ? int(FSection->Keys.size()) : 0;
    return std::clamp(Int(key, 0), 0, keys);
  }

 private:
  const TacIniSection* FSection;
  int FScale;
};

std::uint8_t Covering(const TMemIniFile& ini, std::string_view section) {
  const auto v = ini.ReadValue(section, "TABSCOVERING");
  const auto i = v ? StrToIntOpt(*v) : std::nullopt;
  return std::uint8_t(std::clamp(i.value_or(0), 0, 255));
}

const TsGeneralData* FindData(const std::vector<TsGeneralData>& gd, std::string_view name) {
  for (const TsGeneralData& d : gd) {
    if (d.ClassName == name) return &d;
  }
  return nullptr;
}

// Whether value can be a picture value, as ParsePictureValue decides, without making an
// upper-cased copy of every value of the file.
bool MayBePicture(std::string_view v) {
  if (v.empty()) return false;
  if (v.front() == '@' || v.front() == '^' || v.front() == '~' || v.front() == '!') return true;
  for (std::size_t dot = v.find('.'); dot != std::string_view::npos; dot = v.find('.', dot + 1)) {
    const std::string ext = UpperCase(v.substr(dot + 1, 3));
    if (ext == "JPG" || ext == "BMP") return true;
  }
  return false;
}

TColor WithAlpha(TColor c) {
  return TColor(std::uint32_t(c) | 0xFF000000u);
}

}  // namespace

TColor TacSystemColors::ToRGB(TColor color) const {
  if ((std::uint32_t(color) & 0xFF000000u) != 0x80000000u) return color;
  switch (std::uint32_t(color) & 0xFFu) {
    case 5:
      return Window;
    case 8:
      return WindowText;
    case 13:
      return Highlight;
    case 14:
      return HighlightText;
    case 15:
      return BtnFace;
    case 23:
      return InfoText;
    case 24:
      return InfoBk;
    default:
      return 0;  // a system colour the skins do not use
  }
}

TColor BlendColors(TColor a, TColor b, int k) {
  TColor result = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const int ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
    result |= TColor(((ca * k + cb * (255 - k)) >> 8) & 0xFF) << shift;
  }
  return result;
}

std::vector<const TacIniSection*> InheritanceChain(const TMemIniFile& ini,
                                                   std::string_view section) {
  Chain chain;
  const TacIniSection* s = ini.FindSection(section);
  while (s && chain.size() < kMaxInheritanceDepth &&
         std::find(chain.begin(), chain.end(), s) == chain.end()) {
    chain.push_back(s);
    const auto parent = s->Value("PARENTCLASS");
    if (!parent || parent->empty() || *parent == "?") break;
    s = ini.FindSection(*parent);
  }
  return chain;
}

TsGeneralData ReadSection(const TMemIniFile& ini, const TacIniSection& section) {
  const Chain chain = InheritanceChain(ini, section.Name);
  TsGeneralData d;
  d.ClassName = section.Name;
  d.ParentClass = std::string(section.Value("PARENTCLASS").value_or(""));
  d.ReservedBoolean = InheritedBool(chain, "RESERVEDBOOLEAN");
  d.GiveOwnFont = InheritedBool(chain, "GIVEOWNFONT");
  d.ShiftOnClick = InheritedBool(chain, "SHIFTCLICK");
  d.GlowCount = InheritedLimited(chain, "GLOW", 0, 255);
  d.GlowMargin = InheritedLimited(chain, "GLOWMARGIN", 0, 255);
  d.States = InheritedLimited(chain, "STATES", 3, 255);
  d.OuterOffset = {InheritedLimited(chain, "OUTOFFSL", -1, 255, true),
                   InheritedLimited(chain, "OUTOFFST", -1, 255, true),
                   InheritedLimited(chain, "OUTOFFSR", -1, 255, true),
                   InheritedLimited(chain, "OUTOFFSB", -1, 255, true)};
  d.OuterOpacity = InheritedLimited(chain, "OUTOPACITY", 200, 255);
  d.OuterMode = InheritedInt(chain, "OUTERMODE", 2);
  d.OuterBlur = InheritedLimited(chain, "OUTBLUR", 9, 30);
  d.OuterRadius = InheritedLimited(chain, "OUTRADIUS", 9, 30);
  d.OuterColorL = InheritedInt(chain, "OUTCOLL", 0);
  d.OuterColorT = InheritedInt(chain, "OUTCOLT", 0);
  d.OuterColorR = InheritedInt(chain, "OUTCOLR", 0);
  d.OuterColorB = InheritedInt(chain, "OUTCOLB", 0);
  d.UseState2 = InheritedInt(chain, "USESTATE2", 0) == 1;

  d.Props[0] = ReadState(chain, kStateKeys[0], acDefProp);
  d.Props[1] = d.States > 1 ? ReadState(chain, kStateKeys[1], acDefProp) : d.Props[0];
  d.Props[2] = d.UseState2 ? ReadState(chain, kStateKeys[2], acDefProp) : d.Props[1];
  return d;
}

std::vector<TsGeneralData> ReadAllSections(const TMemIniFile& ini) {
  std::vector<TsGeneralData> gd;
  gd.reserve(ini.Sections().size());
  for (const TacIniSection& s : ini.Sections()) gd.push_back(ReadSection(ini, s));
  return gd;
}

TsSkinData ReadGlobalData(const TMemIniFile& ini, int scale, const TacSystemColors& system) {
  const GlobalReader g(ini, scale);
  TsSkinData c;
  if (const auto v = g.Value("VERSION")) c.Version = StrToRealOpt(*v).value_or(0);
  c.MasterBitmap = g.String("MASTERBITMAP");
  c.Author = g.String("AUTHOR");
  c.Description = g.String("DESCRIPTION");
  c.MainFont = g.String("MainFont");
  c.ExBorderWidth = g.Int("BORDERWIDTH", 4);
  c.ExTitleHeight = g.Scaled("TITLEHEIGHT", 30);
  if (c.ExTitleHeight <= 0) c.ExTitleHeight = 30;
  c.ExMaxHeight = g.Scaled("MAXHEIGHT", 0);
  if (c.ExMaxHeight <= 0) c.ExMaxHeight = c.ExTitleHeight;
  c.ExCenterOffs = g.Scaled("CENTEROFFSET", 0);
  c.ExContentOffs = g.Int("FORMOFFSET", system.SizingFrame);
  c.ExDrawMode = g.Int("BORDERMODE", 0);
  c.BrightMin = g.Int("BRIGHTMIN", -50);
  c.BrightMax = g.Int("BRIGHTMAX", 50);
  c.ExShadowOffs = g.Int("ALIGNOFFSET", 0);
  c.ExShadowOffsR = g.Int("ALIGNOFFSETR", c.ExShadowOffs);
  c.ExShadowOffsT = g.Int("ALIGNOFFSETT", c.ExShadowOffs);
  c.ExShadowOffsB = g.Int("ALIGNOFFSETB", c.ExShadowOffs);
  c.WndShadowRadius = g.ScaledInt("WSHRAD", 17);
  c.WndShadowOffset = g.ScaledInt("WSHOFFS", 2);
  c.WndShadowSize = g.ScaledInt("WSHSIZE", 13);
  c.WndShadowColorN = g.Int("WSHCOLN", TColor(0x44000000));
  c.WndShadowColorA = g.Int("WSHCOLA", TColor(0x99000000));
  c.BISpacing = g.ScaledInt("BISPACE", 0);
  c.BIVAlign = g.Int("BIVALIGN", 0);
  c.BIRightMargin = g.Int("BIRIGHT", 0);
  c.BILeftMargin = g.Int("BILEFT", 0);
  c.BITopMargin = g.Int("BITOP", 0);
  c.BIKeepHUE = g.Int("BIKEEPHUE", 0);
  c.UseAeroBluring = g.Int("AEROBLUR", 0) != 0;
  c.Shadow1Color = g.Int("SHADOW1COLOR", 0);
  c.Shadow1Offset = g.Int("SHADOW1OFFSET", 0);
  c.Shadow1Blur = g.Int("SHADOW1BLUR", -1);
  c.Shadow1Transparency = g.Int("SHADOW1TRANSPARENCY", 0);
  c.ComboBoxMargin = g.Int("COMBOMARGIN", 2);
  c.SliderMargin = g.Int("SLIDERMARGIN", 1);
  c.ArrowStyle = g.Int("ARROWSTYLE", 0);
  constexpr const char* kGlowMargins[5] = {"BICLOSEALONEGLOWMARGIN", "BICONCLOSEGLOWMARGIN",
                                           "BICONMAXGLOWMARGIN", "BICONMINGLOWMARGIN",
                                           "BICONNORMGLOWMARGIN"};
  for (int i = 0; i < 5; ++i) c.TitleGlowMargins[i] = g.Scaled(kGlowMargins[i], 0);
  c.TitleGlowCount = g.Count("BICONCLOSEGLOW");
  const int fonts = g.Count("FontCount");
  for (int i = 0; i < fonts; ++i) {
    c.Fonts.push_back(
        {g.String("FontFile" + std::to_string(i)), g.String("FontName" + std::to_string(i))});
  }
  c.TabsCovering = Covering(ini, "TABTOP");
  c.RibbonCovering = Covering(ini, "RIBBONTAB");
  return c;
}

std::array<TacOutEffData, 2> ReadOuterEffects(const TMemIniFile& ini, int scale,
                                              const TacSystemColors& system) {
  const GlobalReader g(ini, scale);
  std::array<TacOutEffData, 2> oe;
  struct Defaults {
    const char* Prefix;
    int OffsetL, OffsetT, OffsetR, OffsetB, Opacity;
  };
  constexpr Defaults kDefaults[2] = {{"LO_", 2, 2, 2, 4, 200}, {"SH_", 3, 2, 3, 5, 60}};
  for (int i = 0; i < 2; ++i) {
    const Defaults& d = kDefaults[i];
    const auto key = [&d](const char* name) { return std::string(d.Prefix) + name; };
    TacOutEffData& e = oe[i];
    e.WidthL = g.Int(key("WIDTHL"), -1);
    e.WidthT = g.Int(key("WIDTHT"), -1);
    e.WidthR = g.Int(key("WIDTHR"), -1);
    e.WidthB = g.Int(key("WIDTHB"), -1);
    e.OffsetL = g.ScaledInt(key("OFFSETL"), d.OffsetL);
    e.OffsetT = g.ScaledInt(key("OFFSETT"), d.OffsetT);
    e.OffsetR = g.ScaledInt(key("OFFSETR"), d.OffsetR);
    e.OffsetB = g.ScaledInt(key("OFFSETB"), d.OffsetB);
    e.Opacity = g.Int(key("OPACITY"), d.Opacity);
    e.Radius = g.ScaledInt(key("RADIUS_OE"), 9);
    e.Blur = g.ScaledInt(key("BLUR_OE"), 5);
    e.Source = g.Int(key("SOURCE"), 2);
  }
  TacOutEffData& lowered = oe[0];
  lowered.ColorL = system.ToRGB(g.Int("LO_COLORL", 0xFFFFFF));
  lowered.ColorT = system.ToRGB(g.Int("LO_COLORT", 0));
  lowered.ColorR = system.ToRGB(g.Int("LO_COLORR", 0xFFFFFF));
  lowered.ColorB = system.ToRGB(g.Int("LO_COLORB", 0xFFFFFF));
  TacOutEffData& shadow = oe[1];
  shadow.ColorL = g.Int("SH_COLORL", 0);
  shadow.ColorT = clFuchsia;
  shadow.ColorR = 0;
  shadow.ColorB = 0;
  return oe;
}

TacPalette ReadPalette(const TMemIniFile& ini, const std::vector<TsGeneralData>& gd,
                       const TacSystemColors& system) {
  const GlobalReader g(ini, 0);
  TacPalette p{};
  p[pcMainColor] = g.Int("COLOR", system.BtnFace);
  p[pcLabelText] = g.Int("FONTCOLOR", 0);
  p[pcWebText] = g.Int("TCBOTTOM", 0xFF0000);
  p[pcWebTextHot] = g.Int("TCTOP", 0x0000FF);
  p[pcBorder] = g.Int("BORDERCOLOR", 0);

  const auto pair = [&gd](std::string_view section, TColor& text, TColor& bg, TColor defText,
                          TColor defBg) {
    const TsGeneralData* d = FindData(gd, section);
    text = d ? d->Props[0].FontColor.Color : defText;
    bg = d ? d->Props[0].Color : defBg;
  };
  pair("EDIT", p[pcEditText], p[pcEditBG], system.WindowText, system.Window);
  pair("HINT", p[pcHintText], p[pcHintBG], system.InfoText, system.InfoBk);

  if (const TsGeneralData* sel = FindData(gd, "SELECTION")) {
    const TsGenState& focused = sel->Props[sel->States > 1 ? 1 : 0];
    p[pcSelectionText] = sel->Props[0].FontColor.Color;
    p[pcSelectionBG] = sel->Props[0].Color;
    p[pcSelectionText_Focused] = focused.FontColor.Color;
    p[pcSelectionBG_Focused] = focused.Color;
  } else {
    p[pcSelectionText] = p[pcSelectionBG] = kNoColor;
    p[pcSelectionText_Focused] = p[pcSelectionBG_Focused] = kNoColor;
  }
  if (p[pcSelectionText] == kNoColor || p[pcSelectionText] == clFuchsia) {
    if (const TsGeneralData* menu = FindData(gd, "MENUITEM")) {
      TColor text = system.ToRGB(menu->Props[1].FontColor.Color);
      if (text == kNoColor || text == clFuchsia) text = system.HighlightText;
      p[pcSelectionText] = p[pcSelectionText_Focused] = text;
      p[pcSelectionBG] = p[pcSelectionBG_Focused] = menu->Props[1].Color;
    } else {
      p[pcSelectionText] = p[pcSelectionText_Focused] = system.HighlightText;
      p[pcSelectionBG] = p[pcSelectionBG_Focused] = system.Highlight;
    }
  }

  p[pcEditText_Ok] = g.Int("EDITTEXT_OK", 0x404000);
  p[pcEditText_Warning] = g.Int("EDITTEXT_WARN", 0x004C4C);
  p[pcEditText_Alert] = g.Int("EDITTEXT_ALERT", 0x00006C);
  p[pcEditText_Caution] = p[pcEditText_Bypassed] = p[pcEditText_Alert];
  p[pcEditBG_Ok] = g.Int("EDITBG_OK", 0xC9FFD2);
  p[pcEditBG_Warning] = g.Int("EDITBG_WARN", 0xBAFFFF);
  p[pcEditBG_Alert] = g.Int("EDITBG_ALERT", 0xDBDBFF);
  p[pcEditBG_Caution] = p[pcEditBG_Bypassed] = p[pcEditBG_Alert];
  p[pcEditText_Highlight1] = g.Int("EDITTEXT_H1", 0);
  p[pcEditText_Highlight2] = g.Int("EDITTEXT_H2", 0);
  p[pcEditText_Highlight3] = g.Int("EDITTEXT_H3", 0);
  p[pcEditText_Inverted] = g.Int("EDITTEXT_INV", p[pcEditBG]);
  p[pcEditBG_Inverted] = g.Int("EDITBG_INV", p[pcEditText]);
  p[pcEditBG_OddRow] = g.Int("EDITBG_ODD", p[pcEditBG]);
  const TColor editText = system.ToRGB(p[pcEditText]), editBg = system.ToRGB(p[pcEditBG]);
  p[pcEditBG_EvenRow] = g.Int("EDITBG_EVEN", BlendColors(editText, editBg, 13));

  const TColor main = system.ToRGB(p[pcMainColor]);
  p[pcBtnColor1Active] = g.Int64("BTNCOLOR1ACTIVE", WithAlpha(BlendColors(main, clWhite, 177)));
  p[pcBtnColor2Active] = g.Int64("BTNCOLOR2ACTIVE", WithAlpha(main));
  p[pcBtnColor1Normal] = g.Int64("BTNCOLOR1NORMAL", WithAlpha(main));
  p[pcBtnColor2Normal] = g.Int64("BTNCOLOR2NORMAL", WithAlpha(BlendColors(main, 0, 244)));
  const TColor pressed = WithAlpha(BlendColors(main, 0, 233));
  p[pcBtnColor1Pressed] = g.Int64("BTNCOLOR1PRESSED", pressed);
  p[pcBtnColor2Pressed] = g.Int64("BTNCOLOR2PRESSED", pressed);
  p[pcBtnBorderActive] = g.Int("BTNBORDERACTIVE", p[pcBorder]);
  p[pcBtnBorderNormal] = g.Int("BTNBORDERNORMAL", p[pcBorder]);
  p[pcBtnBorderPressed] = g.Int("BTNBORDERPRESSED", p[pcBorder]);
  p[pcBtnFontActive] = g.Int("BTNFONTACTIVE", p[pcLabelText]);
  p[pcBtnFontNormal] = g.Int("BTNFONTNORMAL", p[pcLabelText]);
  p[pcBtnFontPressed] = g.Int("BTNFONTPRESSED", p[pcLabelText]);

  p[pcBtnToneRed] = g.Int("COLORTONERED", 0xD5D5FF);
  p[pcBtnToneGreen] = g.Int("COLORTONEGREEN", 0xE1FFD2);
  p[pcBtnToneBlue] = g.Int("COLORTONEBLUE", 0xFFEDC9);
  p[pcBtnToneRedActive] = g.Int("COLORTONEREDACTIVE", p[pcBtnToneRed]);
  p[pcBtnToneGreenActive] = g.Int("COLORTONEGREENACTIVE", p[pcBtnToneGreen]);
  p[pcBtnToneBlueActive] = g.Int("COLORTONEBLUEACTIVE", p[pcBtnToneBlue]);
  p[pcBtnRedText] = g.Int("COLORTONEREDTEXT", 0x0000B4);
  p[pcBtnGreenText] = g.Int("COLORTONEGREENTEXT", 0x28851A);
  p[pcBtnBlueText] = g.Int("COLORTONEBLUETEXT", 0xAE7400);
  p[pcBtnRedTextActive] = g.Int("COLORTONEREDTEXTACTIVE", p[pcBtnRedText]);
  p[pcBtnGreenTextActive] = g.Int("COLORTONEGREENTEXTACTIVE", p[pcBtnGreenText]);
  p[pcBtnBlueTextActive] = g.Int("COLORTONEBLUETEXTActive", p[pcBtnBlueText]);

  p[pcGrid] = g.Int("GRIDLINE", kNoColor);
  if (p[pcGrid] == kNoColor) p[pcGrid] = BlendColors(editText, editBg, 30);
  return p;
}

std::vector<TacPictureItemDef> ReadPictureItems(const TMemIniFile& ini, int scale) {
  scale = std::clamp(scale, 0, 3);
  const std::string suffix(aSfxs[scale]);
  std::vector<TacPictureItemDef> items;
  bool masterSkipped = false;
  for (const TacIniSection& section : ini.Sections()) {
    const auto parse = [&section](std::string_view key,
                                  std::string_view value) -> std::optional<TacPictureValue> {
      if (!MayBePicture(value)) return std::nullopt;
      try {
        return ParsePictureValue(UpperCase(value));
      } catch (const ESkinError& e) {
        throw ESkinError("[" + section.Name + "] " + std::string(key) + ": " + e.what());
      }
    };
    const bool global = section.Name == s_GlobalInfo;
    for (const auto& [key, value] : section.Keys) {
      if (global && !masterSkipped && key == "MASTERBITMAP") {
        masterSkipped = true;
        continue;
      }
      auto picture = parse(key, value);
      if (!picture) continue;
      std::string name(key);
      const bool variantForm =
          picture->Form == TacPictureForm::Border || picture->Form == TacPictureForm::External;
      if (variantForm) {
        if (key.find('*') != std::string::npos) continue;
        if (scale > 0) {
          const std::string variantKey = name + suffix;
          if (const auto variant = section.Value(variantKey)) {
            if (auto v = parse(variantKey, *variant)) {
              if (v->Form == TacPictureForm::External) name = variantKey;
              picture = std::move(v);
            }
          }
        }
      }
      items.push_back({section.Name, std::move(name), std::move(*picture)});
    }
  }
  return items;
}

std::string NormalizeCommonSections(std::string_view text) {
  std::string out;
  bool lineStart = true, comment = false;
  for (const char c : text) {
    if (lineStart) comment = c == ';';
    lineStart = c == '\n';
    if (c != ' ' || comment) out += c;
  }
  return out;
}

void MergeCommonSections(const TMemIniFile& overlay, std::vector<TsGeneralData>& gd,
                         std::vector<TacPictureItemDef>& items) {
  for (const TacIniSection& section : overlay.Sections()) {
    if (section.Name == s_GlobalInfo) continue;
    auto same = std::find_if(gd.begin(), gd.end(),
                             [&section](const auto& d) { return d.ClassName == section.Name; });
    if (same == gd.end()) {
      const std::string parent = UpperCase(section.Value("PARENTCLASS").value_or("-1"));
      const auto base = std::find_if(gd.begin(), gd.end(), [&parent](const auto& d) {
        return UpperCase(d.ClassName) == parent;
      });
      TsGeneralData added = base == gd.end() ? TsGeneralData{} : *base;
      added.ClassName = section.Name;
      added.ParentClass = std::string(section.Value("PARENTCLASS").value_or(""));
      gd.push_back(std::move(added));
      same = gd.end() - 1;
    }
    TsGeneralData& d = *same;
    const Chain own{&section};
    d.States = InheritedLimited(own, "STATES", d.States, 255);
    d.UseState2 = InheritedInt(own, "USESTATE2", d.UseState2 ? 1 : 0) == 1;
    if (const auto v = section.Value("RESERVEDBOOLEAN")) d.ReservedBoolean = StrToBoolValue(*v);
    if (const auto v = section.Value("GIVEOWNFONT")) d.GiveOwnFont = StrToBoolValue(*v);
    d.GlowCount = InheritedLimited(own, "GLOW", d.GlowCount, 255);
    d.GlowMargin = InheritedLimited(own, "GLOWMARGIN", d.GlowMargin, 255);
    for (int i = 0; i < 3; ++i) d.Props[i] = ReadState(own, kStateKeys[i], d.Props[i]);

    for (const auto& [key, value] : section.Keys) {
      const std::string upper = UpperCase(value);
      if (upper.find(".BMP") == std::string::npos) continue;
      TacPictureValue picture;
      picture.Form = TacPictureForm::PlainFile;
      picture.ImgType = itisaTexture;
      picture.FileName = std::string(value);
      items.push_back({UpperCase(section.Name), UpperCase(key), std::move(picture), true});
    }
  }
}

TacSkinOptions ReadSkinOptions(std::string_view text, int scale, const TacSystemColors& system,
                               std::string_view commonSections) {
  const TMemIniFile ini(text);
  TacSkinOptions o;
  o.Common = ReadGlobalData(ini, scale, system);
  o.gd = ReadAllSections(ini);
  o.Items = ReadPictureItems(ini, scale);
  MergeCommonSections(TMemIniFile(NormalizeCommonSections(commonSections)), o.gd, o.Items);
  o.oe = ReadOuterEffects(ini, scale, system);
  o.Palette = ReadPalette(ini, o.gd, system);
  return o;
}

}  // namespace skin::data
