#include "skin/internal/sInternalSkins.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gfx/PictureCodec.h"
#include "skin/data/acIniFile.h"
#include "skin/data/acSkinCheck.h"
#include "skin/data/acSkinLoad.h"
#include "skin/data/acSkinPack.h"
#include "skin/data/sSkinOptions.h"

namespace skin::data {
namespace {

// What the catalogue's window and its dialogs look up in a skin: the frame and the tool
// window's caption with its close button, panels, labels, buttons, the edit box, the
// drop-down-list combo box, the selection, tree and memo (edit sections), the status bar and
// its dividers, scroll bars, the check box, hints, menus and message dialogs.
constexpr std::string_view kRequiredSections[] = {
    "GLOBALINFO",   "FORM",           "FORMTITLE",         "CAPTION",       "DIALOG",
    "DIALOGTITLE",  "TRANSPARENT",    "CHECKBOX",          "PANEL",         "PANEL_LOW",
    "GROUPBOX",     "BUTTON",         "SPEEDBUTTON_SMALL", "EDIT",          "COMBOBOX",
    "COMBONOEDIT",  "COMBOBTN",       "SELECTION",         "STATUSBAR",     "DIVIDER",
    "SCROLLBAR1H",  "SCROLLBAR2H",    "SCROLLBAR1V",       "SCROLLBAR2V",   "SCROLLBTNLEFT",
    "SCROLLBTNTOP", "SCROLLBTNRIGHT", "SCROLLBTNBOTTOM",   "SCROLLSLIDERH", "SCROLLSLIDERV",
    "HINT",         "MAINMENU",       "MENUITEM",          "MENULINE",      "ICOLINE",
};

struct TRequiredPicture {
  std::string_view Section, Key;
  int MinImages;  // states the picture must show
};

constexpr TRequiredPicture kRequiredPictures[] = {
    {"GLOBALINFO", "SICONCLOSE", 3},     {"GLOBALINFO", "BICONCLOSE", 3},
    {"GLOBALINFO", "BOXUNCHECKED", 1},   {"GLOBALINFO", "BOXCHECKED", 1},
    {"GLOBALINFO", "BOXGRAYED", 1},      {"GLOBALINFO", "RADIOUNCHECKED", 1},
    {"GLOBALINFO", "RADIOCHECKED", 1},   {"GLOBALINFO", "GRIPIMAGE", 1},
    {"GLOBALINFO", "CHECK", 1},          {"FORM", "BORDERSMASK", 2},
    {"FORMTITLE", "BORDERSMASK", 2},     {"DIALOG", "BORDERSMASK", 2},
    {"DIALOGTITLE", "BORDERSMASK", 2},   {"BUTTON", "BORDERSMASK", 3},
    {"EDIT", "BORDERSMASK", 2},          {"COMBOBOX", "BORDERSMASK", 2},
    {"COMBOBOX", "GLYPHMASK", 3},        {"COMBOBTN", "BORDERSMASK", 3},
    {"COMBONOEDIT", "BORDERSMASK", 3},   {"SELECTION", "BORDERSMASK", 2},
    {"PANEL", "BORDERSMASK", 1},         {"PANEL_LOW", "BORDERSMASK", 1},
    {"GROUPBOX", "BORDERSMASK", 1},      {"STATUSBAR", "BORDERSMASK", 1},
    {"DIVIDER", "BORDERSMASK", 1},       {"SCROLLBAR1H", "BORDERSMASK", 3},
    {"SCROLLBAR2H", "BORDERSMASK", 3},   {"SCROLLBAR1V", "BORDERSMASK", 3},
    {"SCROLLBAR2V", "BORDERSMASK", 3},   {"SCROLLBTNLEFT", "BORDERSMASK", 3},
    {"SCROLLBTNLEFT", "GLYPHMASK", 3},   {"SCROLLBTNTOP", "BORDERSMASK", 3},
    {"SCROLLBTNTOP", "GLYPHMASK", 3},    {"SCROLLBTNRIGHT", "BORDERSMASK", 3},
    {"SCROLLBTNRIGHT", "GLYPHMASK", 3},  {"SCROLLBTNBOTTOM", "BORDERSMASK", 3},
    {"SCROLLBTNBOTTOM", "GLYPHMASK", 3}, {"SCROLLSLIDERH", "BORDERSMASK", 3},
    {"SCROLLSLIDERH", "GLYPHMASK", 3},   {"SCROLLSLIDERV", "BORDERSMASK", 3},
    {"SCROLLSLIDERV", "GLYPHMASK", 3},   {"HINT", "BORDERSMASK", 1},
    {"MENUITEM", "BORDERSMASK", 2},      {"MAINMENU", "BORDERSMASK", 1},
};

constexpr std::string_view kNames[] = {
    "Cappuccino (внутренний)", "Golden (внутренний)",    "Light Board (внутренний)",
    "LongHorn (внутренний)",   "Pulsar (внутренний)",    "Rhombus (внутренний)",
    "Retro (внутренний)",      "BlueGauze (внутренний)",
};

struct TLoaded {
  std::unique_ptr<TacLoadedSkin> Skin;
  TMemIniFile Ini;
};

TLoaded Load(const TsStoredSkins& skins, std::string_view name) {
  auto skin = LoadSkin(name, {"", &skins, 0, {}, ""});
  if (!skin || !skin->Content.OptionsText) throw std::runtime_error("no skin");
  TMemIniFile ini(*skin->Content.OptionsText);
  return {std::move(skin), std::move(ini)};
}

// The picture item a control finds for key in section: its own, else its parent's, and so on.
const TacPictureItemDef* FindPicture(const TLoaded& l, std::string_view section,
                                     std::string_view key) {
  for (const TacIniSection* s : InheritanceChain(l.Ini, section)) {
    for (const TacPictureItemDef& item : l.Skin->Options.Items) {
      if (item.Section == s->Name && item.PropertyName == key) return &item;
    }
  }
  return nullptr;
}

// A section's border picture with one image a state: the master bitmap, the first image's
// rectangle (the next state's lies w further right) and the section; null section when missing.
struct TStateImages {
  gfx::Bitmap Master;
  gfx::TRect First;
  int W = 0;
  const TsGeneralData* Section = nullptr;
};
TStateImages StateImages(const TLoaded& l, std::string_view section, int states) {
  TStateImages t;
  const TacPictureItemDef* border = FindPicture(l, section, "BORDERSMASK");
  if (!border) return t;
  t.Master = gfx::DecodeBmp(*l.Skin->Content.ReadFile(l.Skin->Options.Common.MasterBitmap));
  const gfx::TRect& r = border->Value.R;
  t.W = r.Width() / states;
  t.First = gfx::RectOfSize(r.Left, r.Top, t.W, r.Height() / (border->Value.MaskType + 1));
  for (const TsGeneralData& gd : l.Skin->Options.gd) {
    if (gd.ClassName == section) t.Section = &gd;
  }
  return t;
}

class InternalSkinsTest : public ::testing::Test {
 protected:
  void SetUp() override { AddInternalSkins(FSkins); }
  TsStoredSkins FSkins;
};

TEST_F(InternalSkinsTest, EightInOrderTheLastOneThePrograms) {
  ASSERT_EQ(FSkins.Count(), 8);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(FSkins.Items(i).Name(), kNames[i]);
    EXPECT_EQ(FSkins.Items(i).OrigName, i == 7 ? "BlueGauze.asz" : "");
  }
  EXPECT_EQ(FSkins.Items(7).Name(), acDefaultInternalSkin);
  EXPECT_EQ(FindInternalSkin("Retro (внутренний)"), &InternalSkins()[6]);
  EXPECT_EQ(FindInternalSkin("Retro"), nullptr);
}

TEST_F(InternalSkinsTest, PackagesSurviveARoundTripWithPreview) {
  for (const TacInternalSkinData& skin : InternalSkins()) {
    SCOPED_TRACE(skin.Name);
    const auto packed = PackageOf(skin);
    TacSkinConvertor c;
    ASSERT_TRUE(ExtractPackedData(packed, c));
    ASSERT_TRUE(c.Options);
    ASSERT_EQ(c.Files.size(), 1u);
    EXPECT_EQ(c.Files[0].FileType, ftBmp);
    const auto preview = GetPreviewStream(packed);
    ASSERT_TRUE(preview);
    const gfx::Bitmap shown = gfx::DecodePng(*preview);
    EXPECT_EQ(shown.Width(), 140);
    EXPECT_EQ(shown.Height(), 100);
    std::vector<TacPackEntry> files;
    for (const TacFileItem& f : c.Files) files.push_back({f.Name, f.Stream});
    const auto again = PackSkin(*c.Options, files, *preview);
    EXPECT_TRUE(std::equal(again.begin(), again.end(), packed.begin(), packed.end()));
    // The painter's parameters stay out of the packaged text.
    const std::string text(c.Options->begin(), c.Options->end());
    EXPECT_FALSE(TMemIniFile(text).SectionExists("PAINTER"));
  }
}

TEST_F(InternalSkinsTest, EverySectionAndPictureTheCatalogueNeedsResolves) {
  for (const TacInternalSkinData& skin : InternalSkins()) {
    SCOPED_TRACE(skin.Name);
    const TLoaded l = Load(FSkins, skin.Name);
    EXPECT_EQ(l.Skin->Name(), skin.Name);
    for (std::string_view section : kRequiredSections) {
      EXPECT_TRUE(l.Ini.SectionExists(section)) << section;
    }
    for (const TRequiredPicture& p : kRequiredPictures) {
      const TacPictureItemDef* item = FindPicture(l, p.Section, p.Key);
      ASSERT_NE(item, nullptr) << p.Section << " " << p.Key;
      EXPECT_GE(item->Value.ImageCount, p.MinImages) << p.Section << " " << p.Key;
    }
    // Check boxes and labels lie on their parent: nothing of theirs is painted.
    for (const TsGeneralData& gd : l.Skin->Options.gd) {
      if (gd.ClassName == "CHECKBOX" || gd.ClassName == "TRANSPARENT") {
        EXPECT_EQ(gd.Props[0].Transparency, 100) << gd.ClassName;
      }
    }
    EXPECT_NE(l.Skin->Options.Palette[pcSelectionBG_Focused], l.Skin->Options.Palette[pcEditBG]);
  }
}

// A border painted in a state beyond its images would show the wrong state.
TEST_F(InternalSkinsTest, BordersShowEveryStateOfTheirSection) {
  for (const TacInternalSkinData& skin : InternalSkins()) {
    SCOPED_TRACE(skin.Name);
    const TLoaded l = Load(FSkins, skin.Name);
    for (const TsGeneralData& gd : l.Skin->Options.gd) {
      const TacPictureItemDef* border = FindPicture(l, gd.ClassName, "BORDERSMASK");
      if (border) {
        EXPECT_GE(border->Value.ImageCount, gd.States) << gd.ClassName;
      }
    }
  }
}

// Pictures lie inside the master bitmap, split evenly into their images and mask row, never
// overlap one another, and their masks agree with the key colour.
TEST_F(InternalSkinsTest, PicturesLieInsideTheMasterBitmapApart) {
  for (const TacInternalSkinData& skin : InternalSkins()) {
    SCOPED_TRACE(skin.Name);
    const TLoaded l = Load(FSkins, skin.Name);
    EXPECT_TRUE(CheckSkin(*l.Skin).empty());
    const auto bytes = l.Skin->Content.ReadFile(l.Skin->Options.Common.MasterBitmap);
    ASSERT_TRUE(bytes);
    const gfx::Bitmap master = gfx::DecodeBmp(*bytes);
    const gfx::Pixel key = gfx::PixelFromColor(clFuchsia, 255);
    const auto& items = l.Skin->Options.Items;
    for (std::size_t i = 0; i < items.size(); ++i) {
      const TacPictureValue& v = items[i].Value;
      const gfx::TRect& r = v.R;
      SCOPED_TRACE(items[i].Section + " " + items[i].PropertyName);
      ASSERT_TRUE(r.Left >= 0 && r.Top >= 0 && r.Right <= master.Width() &&
                  r.Bottom <= master.Height());
      EXPECT_EQ(r.Width() % v.ImageCount, 0);
      EXPECT_EQ(r.Height() % (v.MaskType + 1), 0);
      for (std::size_t j = i + 1; j < items.size(); ++j) {
        const gfx::TRect& o = items[j].Value.R;
        const bool apart =
            o.Left >= r.Right || r.Left >= o.Right || o.Top >= r.Bottom || r.Top >= o.Bottom;
        EXPECT_TRUE(apart) << items[j].Section << " " << items[j].PropertyName;
      }
      if (v.MaskType != 1) continue;
      const int h = r.Height() / 2;
      for (int y = r.Top; y < r.Top + h; ++y) {
        for (int x = r.Left; x < r.Right; ++x) {
          const gfx::Pixel m = master.At(x, y + h);
          ASSERT_TRUE(gfx::PixelR(m) == gfx::PixelG(m) && gfx::PixelG(m) == gfx::PixelB(m));
          // A pixel the mask lets show must carry a colour, not the key.
          if (gfx::PixelR(m) < 250) {
            ASSERT_NE(master.At(x, y), key) << x << "," << y;
          }
        }
      }
    }
  }
}

// The pictures are painted from the options: each button image shows its own state's colour.
TEST_F(InternalSkinsTest, ButtonImagesFollowTheirStateColours) {
  const auto distance = [](gfx::Pixel p, TColor c) {
    const int dr = int(gfx::PixelR(p)) - int(c & 0xFF),
              dg = int(gfx::PixelG(p)) - int((c >> 8) & 0xFF),
              db = int(gfx::PixelB(p)) - int((c >> 16) & 0xFF);
    return dr * dr + dg * dg + db * db;
  };
  for (const TacInternalSkinData& skin : InternalSkins()) {
    SCOPED_TRACE(skin.Name);
    const TLoaded l = Load(FSkins, skin.Name);
    const TStateImages images = StateImages(l, "BUTTON", 3);
    const TsGeneralData* button = images.Section;
    ASSERT_NE(button, nullptr);
    const gfx::TRect& r = images.First;
    for (int state = 0; state < 3; ++state) {
      const gfx::Pixel centre =
          images.Master.At(r.Left + state * images.W + r.Width() / 2, r.Top + r.Height() / 2);
      for (int other = 0; other < 3; ++other) {
        if (other == state || button->Props[other].Color == button->Props[state].Color) continue;
        EXPECT_LT(distance(centre, button->Props[state].Color),
                  distance(centre, button->Props[other].Color))
            << "state " << state << " against " << other;
      }
    }
  }
}

// A flat speed button shows nothing of its own at rest (its parent shows through and its
// picture skips the normal state) and, hot or pressed, exactly a button's face and colours.
TEST_F(InternalSkinsTest, AFlatSpeedButtonIsBareAtRestAndAButtonOtherwise) {
  for (const TacInternalSkinData& skin : InternalSkins()) {
    SCOPED_TRACE(skin.Name);
    const TLoaded l = Load(FSkins, skin.Name);
    const TStateImages flat = StateImages(l, "SPEEDBUTTON_SMALL", 3);
    const TStateImages button = StateImages(l, "BUTTON", 3);
    ASSERT_NE(flat.Section, nullptr);
    ASSERT_NE(button.Section, nullptr);
    // Its own picture, not the button's it would inherit.
    EXPECT_EQ(FindPicture(l, "SPEEDBUTTON_SMALL", "BORDERSMASK")->Section, "SPEEDBUTTON_SMALL");
    EXPECT_TRUE(FindPicture(l, "SPEEDBUTTON_SMALL", "BORDERSMASK")->Value.DrawMode & 2);
    EXPECT_EQ(flat.Section->Props[0].Transparency, 100);
    for (int state = 1; state < 3; ++state) {
      EXPECT_EQ(flat.Section->Props[state].Transparency, 0) << state;
      EXPECT_EQ(flat.Section->Props[state].Color, button.Section->Props[state].Color) << state;
      EXPECT_EQ(flat.Section->Props[state].FontColor.Color,
                button.Section->Props[state].FontColor.Color)
          << state;
    }
    // The hot and pressed images, with their mask rows, are the button's pixel for pixel.
    ASSERT_EQ(flat.W, button.W);
    ASSERT_EQ(flat.First.Height(), button.First.Height());
    for (int state = 1; state < 3; ++state)
      for (int y = 0; y < 2 * flat.First.Height(); ++y)
        for (int x = 0; x < flat.W; ++x)
          ASSERT_EQ(
              flat.Master.At(flat.First.Left + state * flat.W + x, flat.First.Top + y),
              button.Master.At(button.First.Left + state * button.W + x, button.First.Top + y))
              << "state " << state << " at " << x << "," << y;
  }
}

// The text of a selected row or item stands out from every pixel of the selection inside its
// outline, in both states: a contrast ratio of relative luminances of at least 4.
TEST_F(InternalSkinsTest, SelectedTextStandsOutFromTheWholeSelection) {
  const auto luminance = [](int r, int g, int b) {
    const auto linear = [](int c) {
      const double v = c / 255.0;
      return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(r) + 0.7152 * linear(g) + 0.0722 * linear(b);
  };
  const auto contrast = [&](gfx::Pixel p, TColor c) {
    const double a = luminance(gfx::PixelR(p), gfx::PixelG(p), gfx::PixelB(p)),
                 b = luminance(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
  };
  for (const TacInternalSkinData& skin : InternalSkins()) {
    SCOPED_TRACE(skin.Name);
    const TLoaded l = Load(FSkins, skin.Name);
    const TStateImages images = StateImages(l, "SELECTION", 2);
    ASSERT_NE(images.Section, nullptr);
    const gfx::TRect& r = images.First;
    for (int state = 0; state < 2; ++state) {
      const TColor font = images.Section->Props[state].FontColor.Color;
      double worst = 21;
      for (int y = r.Top + 2; y < r.Bottom - 2; ++y)
        for (int x = r.Left + 2; x < r.Right - 2; ++x)
          worst = std::min(worst, contrast(images.Master.At(x + state * images.W, y), font));
      EXPECT_GE(worst, 4.0) << "state " << state;
    }
  }
}

TEST_F(InternalSkinsTest, ANameResolvesToItsSkinAndAnUnknownOneToTheFirst) {
  auto source = ResolveSkinSource("Pulsar (внутренний)", "/nonexistent", FSkins);
  ASSERT_TRUE(source);
  EXPECT_EQ(source->Mode, smInternal);
  EXPECT_EQ(source->InternalIndex, 4);
  source = ResolveSkinSource("Pulsar", "/nonexistent", FSkins);
  ASSERT_TRUE(source);
  EXPECT_EQ(source->InternalIndex, 0);
  EXPECT_EQ(source->Name, "Cappuccino (внутренний)");

  TacSkinHolder holder;
  holder.SetSkinName(acDefaultInternalSkin, {"/nonexistent", &FSkins, 0, {}, ""});
  ASSERT_TRUE(holder.Active());
  EXPECT_EQ(holder.SkinName(), acDefaultInternalSkin);
  EXPECT_EQ(holder.Skin()->Options.Common.MasterBitmap, "MASTER.BMP");
}

}  // namespace
}  // namespace skin::data
