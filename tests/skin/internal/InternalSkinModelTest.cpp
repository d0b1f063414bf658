// The models of the internal skins, checked against what their options texts say.
#include <gtest/gtest.h>

#include <sstream>

#include "skin/data/acSkinLoad.h"
#include "skin/internal/sInternalSkins.h"

namespace skin::data {
namespace {

// The options text read line by line, as a person reads it.
struct TText {
  std::vector<std::string> Sections;  // in order
  // value of key in section, empty when absent
  std::string Value(std::string_view section, std::string_view key) const {
    std::istringstream in(Text);
    std::string current;
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.size() > 2 && line.front() == '[') {
        current = line.substr(1, line.size() - 2);
      } else if (current == section && line.starts_with(std::string(key) + "=")) {
        return line.substr(key.size() + 1);
      }
    }
    return {};
  }
  int Position(std::string_view section) const {
    for (std::size_t i = 0; i < Sections.size(); ++i) {
      if (Sections[i] == section) return int(i);
    }
    return -1;
  }
  // The rectangle of a fixed-width picture value: four 4-digit fields from position 2.
  gfx::TRect Rect(std::string_view section, std::string_view key) const {
    const std::string v = Value(section, key);
    if (v.size() < 20) throw std::runtime_error("no picture " + std::string(key));
    return {std::stoi(v.substr(1, 4)), std::stoi(v.substr(6, 4)), std::stoi(v.substr(11, 4)),
            std::stoi(v.substr(16, 4))};
  }
  std::string Text;
};

TText ReadText(const std::string& text) {
  TText t{{}, text};
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (line.size() > 2 && line.front() == '[')
      t.Sections.push_back(line.substr(1, line.size() - 2));
  }
  return t;
}

class InternalSkinModelTest : public ::testing::Test {
 protected:
  void SetUp() override { AddInternalSkins(FSkins); }
  void Load(std::string_view name) {
    FHolder.SetSkinName(name, {"", &FSkins, 0, {}, ""});
    ASSERT_NE(FHolder.Model(), nullptr);
    FText = ReadText(*FHolder.Skin()->Content.OptionsText);
  }
  const TacSkinModel& M() const { return *FHolder.Model(); }
  int Border(std::string_view section) const { return M().GetMaskIndex(section, "BORDERSMASK"); }

  TsStoredSkins FSkins;
  TacSkinHolder FHolder;
  TText FText;
};

TEST_F(InternalSkinModelTest, BlueGauzeSectionsAndTheirFallbacks) {
  Load(acDefaultInternalSkin);
  const auto& s = M().ConstData.Sections;
  const int n = int(FText.Sections.size());
  for (int t = 0; t < acSectionCount; ++t) {
    const int inText = FText.Position(acSectNames[t]);
    if (inText >= 0) {
      EXPECT_EQ(s[t], inText) << acSectNames[t];
    }
  }
  // The text has TRANSPARENT but not MAINCOLOR; then the fallbacks are added in entry order.
  EXPECT_EQ(M().GetSkinIndex("TRANSPARENT"), FText.Position("TRANSPARENT"));
  EXPECT_EQ(M().GetSkinIndex("MAINCOLOR"), n);
  EXPECT_EQ(s[ssMenuCaption], FText.Position("TOOLBAR"));
  EXPECT_EQ(M().GetSkinIndex("MENUCAPTION"), n + 1);
  EXPECT_EQ(s[ssMenuButton], FText.Position("SPEEDBUTTON"));
  EXPECT_EQ(M().GetSkinIndex("MENUBTN"), n + 2);
  EXPECT_EQ(s[ssTBBtn], FText.Position("TOOLBUTTON"));
  EXPECT_EQ(s[ssColHeaderR], FText.Position("COLHEADER"));
  EXPECT_EQ(M().GetSkinIndex("COLHEADERR"), n + 6);
  EXPECT_EQ(s[ssSlider_On], FText.Position("PANEL_LOW"));
  EXPECT_EQ(M().GetSkinIndex("SLIDER_ON"), n + 8);
  ASSERT_EQ(int(M().gd.size()), n + 9);
  // No TABTOP, so TB_TAB has nothing to copy: no section of −1 states appears.
  EXPECT_EQ(s[ssTBTab], -1);
  EXPECT_EQ(M().GetSkinIndex("TB_TAB"), -1);
  EXPECT_EQ(s[ssFormHeader], -1);
  for (const TsGeneralData& d : M().gd) EXPECT_GE(d.States, 1) << d.ClassName;
}

TEST_F(InternalSkinModelTest, BlueGauzeItemsAndInheritedMasks) {
  Load(acDefaultInternalSkin);
  const TacSkinModel& m = M();
  const auto section = [&m](std::string_view name) -> const TsGeneralData& {
    return m.gd[m.GetSkinIndex(name)];
  };
  // Sections without a border of their own take their parent's.
  EXPECT_EQ(section("DIALOG").BorderIndex, Border("FORM"));
  EXPECT_EQ(m.ma[Border("FORM")].R, FText.Rect("FORM", "BORDERSMASK"));
  EXPECT_EQ(section("COMBOBOX").BorderIndex, Border("EDIT"));
  EXPECT_EQ(section("SCROLLBTNBOTTOM").BorderIndex, Border("SCROLLBTNLEFT"));
  EXPECT_EQ(section("SCROLLBAR2V").BorderIndex, Border("SCROLLBAR1V"));
  EXPECT_EQ(section("SPEEDBUTTON").BorderIndex, Border("BUTTON"));
  EXPECT_EQ(section("CAPTION").BorderIndex, -1);
  EXPECT_EQ(section("CAPTION").ScrollBorderOffset, -2);

  const TConstantSkinData& c = m.ConstData;
  EXPECT_EQ(m.ma[c.CheckBox[1]].R, FText.Rect("GLOBALINFO", "BOXCHECKED"));
  EXPECT_EQ(m.ma[c.SmallCheckBox[2]].R, FText.Rect("GLOBALINFO", "SMALLGRAYED"));
  EXPECT_EQ(m.ma[c.RadioButton[0]].R, FText.Rect("GLOBALINFO", "RADIOUNCHECKED"));
  EXPECT_EQ(m.ma[c.TitleGlyphs[tgClose]].R, FText.Rect("GLOBALINFO", "BICONCLOSE"));
  EXPECT_EQ(c.TitleGlyphs[tgCloseAlone], c.TitleGlyphs[tgClose]);  // no BICLOSEALONE
  EXPECT_EQ(m.ma[c.TitleGlyphs[tgSmallMax]].R, FText.Rect("GLOBALINFO", "SICONMAX"));
  EXPECT_EQ(m.ma[c.TitleGlyphs[tgUser]].R, FText.Rect("GLOBALINFO", "TITLEBUTTON"));
  EXPECT_EQ(m.ma[c.GripRightBottom].R, FText.Rect("GLOBALINFO", "GRIPIMAGE"));
  EXPECT_EQ(c.GripHorizontal, -1);
  EXPECT_EQ(c.ExBorder, -1);
  EXPECT_EQ(c.MenuItem.MaskIndex, Border("MENUITEM"));
  EXPECT_EQ(c.ComboBtn.MaskIndex, Border("COMBOBTN"));
  EXPECT_EQ(m.ma[c.ComboBtn.GlyphIndex].R, FText.Rect("COMBOBOX", "GLYPHMASK"));
  EXPECT_EQ(m.ma[c.ScrollBtns[asTop].GlyphIndex].R, FText.Rect("SCROLLBTNTOP", "GLYPHMASK"));
  EXPECT_EQ(c.ScrollBtns[asTop].MaskIndex, Border("SCROLLBTNLEFT"));
  EXPECT_EQ(c.Scrolls[asRight].MaskIndex, Border("SCROLLBAR1H"));  // SCROLLBAR2H's parent
  EXPECT_EQ(c.Sliders[1].MaskIndex, Border("SCROLLSLIDERH"));
  EXPECT_EQ(m.ma[c.Sliders[1].GlyphIndex].R, FText.Rect("SCROLLSLIDERV", "GLYPHMASK"));
  for (const TacConstElementData& e : c.UpDownBtns) {
    EXPECT_EQ(e.SkinSection, "BUTTON");  // no up-down sections at all
    EXPECT_EQ(e.MaskIndex, Border("BUTTON"));
  }
  EXPECT_EQ(c.TrackBar[1].SkinIndex, -1);
  EXPECT_EQ(c.Tabs[tlFirst][asTop].SkinIndex, -1);
  const int formPattern = m.GetMaskIndex("FORM", "PATTERN");
  ASSERT_GE(formPattern, 0);  // IMAGEPERCENT on FORM: a patterned skin
  EXPECT_EQ(section("FORM").Props[0].TextureIndex, formPattern);
  EXPECT_EQ(section("DIALOG").Props[1].TextureIndex, -1);  // no HOTPATTERN anywhere

  // The window title cuts its corners with the key colour and has no mask.
  EXPECT_EQ(m.ma[Border("FORMTITLE")].CornerType, 1);
  EXPECT_EQ(m.ma[Border("FORMTITLE")].MaskType, 0);
}

TEST_F(InternalSkinModelTest, BlueGauzeMasterKeyPixelsAreTransparent) {
  Load(acDefaultInternalSkin);
  const gfx::Bitmap& master = M().MasterBitmap;
  ASSERT_EQ(master.Width(), 256);
  EXPECT_EQ(master.At(0, 0), 0x00FF00FFu);  // the gap around the pictures
  int keys = 0;
  for (int y = 0; y < master.Height(); ++y) {
    for (int x = 0; x < master.Width(); ++x) {
      const gfx::Pixel p = master.At(x, y);
      const bool key = (p & 0xFFFFFF) == 0xFF00FF;
      keys += key;
      ASSERT_EQ(gfx::PixelA(p), key ? 0 : 255) << x << "," << y;
    }
  }
  EXPECT_GT(keys, 0);
}

TEST_F(InternalSkinModelTest, EveryIndexOfEverySkinLiesInItsTable) {
  for (int k = 0; k < FSkins.Count(); ++k) {
    Load(FSkins.Items(k).Name());
    const TacSkinModel& m = M();
    SCOPED_TRACE(FSkins.Items(k).Name());
    const auto section = [&m](int i) { EXPECT_TRUE(i == -1 || m.IsValidSkinIndex(i)) << i; };
    const auto item = [&m](int i) { EXPECT_TRUE(i == -1 || m.IsValidImgIndex(i)) << i; };
    const auto element = [&](const TacConstElementData& e) {
      section(e.SkinIndex);
      item(e.MaskIndex);
      item(e.GlyphIndex);
      for (int b : e.BGIndex) item(b);
    };
    const TConstantSkinData& c = m.ConstData;
    section(c.IndexGLobalInfo);
    for (int s : c.Sections) section(s);
    for (const auto& row : c.Tabs) {
      for (const auto& e : row) element(e);
    }
    for (const auto* side : {&c.Scrolls, &c.ScrollBtns, &c.UpDownBtns}) {
      for (const auto& e : *side) element(e);
    }
    for (const auto& e : c.Sliders) element(e);
    element(c.MenuItem);
    element(c.ComboBtn);
    for (const auto& glows : c.TitleGlows) {
      for (int g : glows) item(g);
    }
    for (int g : c.TitleGlyphs) item(g);
    for (int g : c.RadioButton) item(g);
    for (int g : c.CheckBox) item(g);
    for (int g : c.SmallCheckBox) item(g);
    for (const auto& t : c.TrackBar) {
      section(t.SkinIndex);
      for (int i : {t.MaskIndex, t.GlyphIndex, t.TickIndex, t.ProgIndex, t.SlideIndex}) item(i);
    }
    for (int i : {c.ExBorder, c.GripVertical, c.GripHorizontal, c.GripRightBottom}) item(i);
    EXPECT_GE(c.CheckBox[1], 0);
    EXPECT_GE(c.Sections[ssButton], 0);
    for (const TsGeneralData& d : m.gd) {
      for (int i : {d.BorderIndex, d.ImgTL, d.ImgTR, d.ImgBL, d.ImgBR, d.OuterMask}) item(i);
      for (const TsGenState& s : d.Props) item(s.TextureIndex);
      EXPECT_GE(d.States, 1);
    }
    for (const TsMaskData& md : m.ma) {
      const gfx::Bitmap& bmp = m.ItemBitmap(md);
      EXPECT_TRUE(md.R.Left >= 0 && md.R.Top >= 0 && md.R.Right <= bmp.Width() &&
                  md.R.Bottom <= bmp.Height() && !md.R.IsEmpty())
          << md.ClassName << " " << md.PropertyName;
      EXPECT_GE(md.ImageCount, 1);
      EXPECT_LE(md.Width * md.ImageCount, md.R.Width());
      EXPECT_LE(md.Height * (md.MaskType + 1), md.R.Height());
      section(md.SkinIndex);
      EXPECT_EQ(md.Manager, &m);
    }
  }
}

// The manager's colour adjustment reaches the model through the loading context: a hue turn
// keeps the close glyph of a skin with BIKEEPHUE and the key colour; saturation −100 leaves
// only greys.
TEST_F(InternalSkinModelTest, ColourAdjustmentOfEverySkin) {
  for (int k = 0; k < FSkins.Count(); ++k) {
    const std::string name = FSkins.Items(k).Name();
    SCOPED_TRACE(name);
    Load(name);
    const gfx::Bitmap plain = M().MasterBitmap;
    const bool keep = !FText.Value("GLOBALINFO", "BIKEEPHUE").empty() &&
                      std::stoi(FText.Value("GLOBALINFO", "BIKEEPHUE")) >= 1;
    const std::string close = FText.Value("GLOBALINFO", "BICONCLOSE");
    const gfx::TRect r =
        close.starts_with("@") ? FText.Rect("GLOBALINFO", "BICONCLOSE") : gfx::TRect{};

    TacSkinLoadContext context{"", &FSkins, 0, {}, ""};
    context.HueOffset = 150;
    FHolder.SetSkinName(name, context);
    const gfx::Bitmap& hued = M().MasterBitmap;
    ASSERT_EQ(hued.Width(), plain.Width());
    int changed = 0;
    for (int y = 0; y < plain.Height(); ++y) {
      for (int x = 0; x < plain.Width(); ++x) {
        const gfx::Pixel p = plain.At(x, y);
        const bool inClose = x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
        if ((p & 0xFFFFFF) == 0xFF00FF || (keep && inClose)) {
          ASSERT_EQ(hued.At(x, y), p) << x << "," << y;
        } else if (hued.At(x, y) != p) {
          ++changed;
        }
      }
    }
    EXPECT_GT(changed, 0);

    context.HueOffset = 0;
    context.Saturation = -100;
    FHolder.SetSkinName(name, context);
    const gfx::Bitmap& grey = M().MasterBitmap;
    for (int y = 0; y < grey.Height(); ++y) {
      for (int x = 0; x < grey.Width(); ++x) {
        const gfx::Pixel p = grey.At(x, y);
        if ((p & 0xFFFFFF) == 0xFF00FF) continue;
        ASSERT_TRUE((p & 255) == ((p >> 8) & 255) && (p & 255) == ((p >> 16) & 255))
            << x << "," << y;
      }
    }
  }
}

}  // namespace
}  // namespace skin::data
