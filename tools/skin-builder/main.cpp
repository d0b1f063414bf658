// The skin builder: authors the program's internal skins from their sources.
//   skin-builder RESOURCES OUT GENERATED.cpp
// For every internal skin it reads RESOURCES/<folder>/Options.dat (colours, sections and the
// painter's parameters), paints the master bitmap in the skin's look, lays the pictures out
// and adds their keys to the options text, paints the 140 × 100 preview, and packs the whole
// into OUT/<folder>.asz. OUT also receives the master bitmaps and previews as PNG for people
// to look at (previews.png shows all of them), and GENERATED.cpp holds the packages as byte arrays
// for the program.
#include <algorithm>
#include <array>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "Painter.h"
#include "platform/gfx/PictureCodec.h"
#include "skin/data/SkinError.h"
#include "skin/data/acColor.h"
#include "skin/data/acSkinPack.h"
#include "skin/data/acSkinValues.h"

namespace {

namespace fs = std::filesystem;
using namespace skinbuilder;
using skin::data::ESkinError;

// The internal skins, in the order the program offers them; the last one is the program's
// own skin.
struct TSkinSource {
  const char* Folder;
  const char* Name;
  const char* OrigName;
};
constexpr TSkinSource kSkins[] = {
    {"cappuccino", "Cappuccino (внутренний)", ""},
    {"golden", "Golden (внутренний)", ""},
    {"lightboard", "Light Board (внутренний)", ""},
    {"longhorn", "LongHorn (внутренний)", ""},
    {"pulsar", "Pulsar (внутренний)", ""},
    {"rhombus", "Rhombus (внутренний)", ""},
    {"retro", "Retro (внутренний)", ""},
    {"bluegauze", "BlueGauze (внутренний)", "BlueGauze.asz"},
};

constexpr const char* kMaster = "MASTER.BMP";
constexpr int kAtlasWidth = 256;
constexpr int kGap = 2;  // fuchsia between pictures, so no stretch reads a neighbour

enum class TForm { Glyph, Border, Texture };

// One picture of the skin: where its key goes, what it shows and how it is cut.
struct TItem {
  TItem(std::string section, std::string key, TPart part, TForm form, int images, int w, int h,
        int mask)
      : Section(std::move(section)),
        Key(std::move(key)),
        Part(part),
        Form(form),
        Images(images),
        W(w),
        H(h),
        Mask(mask) {}

  std::string Section, Key;
  TPart Part;
  TForm Form;
  int Images, W, H;  // image count and the size of one image
  int Mask;          // 1: a mask row below the images
  int DrawMode = 0;
  int ScaleStep = 0;            // the variant's scale index (0: the picture itself)
  bool Closed = false;          // a frame: what its outline encloses is never transparent
  std::array<int, 4> Widths{};  // border widths: left, top, right, bottom
  int X = 0, Y = 0;             // place in the master bitmap, set by the layout
  std::vector<TLayer> Layers;
};

TItem Glyph(std::string section, std::string key, TPart part, int images, int w, int h) {
  return TItem(std::move(section), std::move(key), part, TForm::Glyph, images, w, h, 1);
}

TItem Border(std::string section, TPart part, int images, int w, int h, int mask, int drawMode,
             int wl, int wt, int wr, int wb) {
  TItem i(std::move(section), "BORDERSMASK", part, TForm::Border, images, w, h, mask);
  i.DrawMode = drawMode;
  i.Widths = {wl, wt, wr, wb};
  return i;
}

TItem Border(std::string section, TPart part, int images, int w, int h, int mask, int drawMode,
             int width) {
  return Border(std::move(section), part, images, w, h, mask, drawMode, width, width, width, width);
}

// A border whose centre is left to the section's background: its outline encloses nothing
// transparent.
TItem Frame(std::string section, TPart part, int images, int w, int h, int mask, int drawMode,
            int width) {
  TItem i = Border(std::move(section), part, images, w, h, mask, drawMode, width);
  i.Closed = true;
  return i;
}

// Border draw modes: bit 0 stretches sides and centre, bit 1 skips the normal state, bit 2
// paints the centre.
constexpr int kTiled = 0, kFilled = 5, kTiledFilled = 4, kHotOnly = 7;

// Every picture a skin carries. Sections not named here take their pictures from their
// PARENTCLASS (the second scroll bar parts, the other scroll buttons, the vertical slider).
std::vector<TItem> SkinItems(const TStyle& s, bool formTexture, bool mdiTexture) {
  const int bw = s.BorderWidth;
  const int tw = s.TitleSide(), tt = s.TitleTop(), bt = s.ButtonEdge();
  // A selection in a tree or list row, a menu item.
  const int sh = s.SmallFaceHeight(12, 20), mh = s.SmallFaceHeight(16, 22);
  std::vector<TItem> items = {
      Glyph("GLOBALINFO", "BICONCLOSE", TPart::GlyphClose, 3, 21, 19),
      Glyph("GLOBALINFO", "BICONMAX", TPart::GlyphMax, 3, 21, 19),
      Glyph("GLOBALINFO", "BICONMIN", TPart::GlyphMin, 3, 21, 19),
      Glyph("GLOBALINFO", "BICONNORM", TPart::GlyphRestore, 3, 21, 19),
      Glyph("GLOBALINFO", "BICONHELP", TPart::GlyphHelp, 3, 21, 19),
      Glyph("GLOBALINFO", "SICONCLOSE", TPart::GlyphClose, 3, 17, 15),
      Glyph("GLOBALINFO", "SICONMAX", TPart::GlyphMax, 3, 17, 15),
      Glyph("GLOBALINFO", "SICONMIN", TPart::GlyphMin, 3, 17, 15),
      Glyph("GLOBALINFO", "SICONNORM", TPart::GlyphRestore, 3, 17, 15),
      Glyph("GLOBALINFO", "SICONHELP", TPart::GlyphHelp, 3, 17, 15),
      Glyph("GLOBALINFO", "TITLEBUTTON", TPart::TitleButton, 3, 21, 19),
      Glyph("GLOBALINFO", "BOXUNCHECKED", TPart::CheckUnchecked, 3, 15, 15),
      Glyph("GLOBALINFO", "BOXCHECKED", TPart::CheckChecked, 3, 15, 15),
      Glyph("GLOBALINFO", "BOXGRAYED", TPart::CheckGrayed, 3, 15, 15),
      Glyph("GLOBALINFO", "SMALLUNCHECKED", TPart::CheckUnchecked, 3, 11, 11),
      Glyph("GLOBALINFO", "SMALLCHECKED", TPart::CheckChecked, 3, 11, 11),
      Glyph("GLOBALINFO", "SMALLGRAYED", TPart::CheckGrayed, 3, 11, 11),
      Glyph("GLOBALINFO", "RADIOUNCHECKED", TPart::RadioUnchecked, 3, 15, 15),
      Glyph("GLOBALINFO", "RADIOCHECKED", TPart::RadioChecked, 3, 15, 15),
      Glyph("GLOBALINFO", "GRIPIMAGE", TPart::Grip, 1, 12, 12),
      Glyph("GLOBALINFO", "CHECK", TPart::MenuCheck, 1, 12, 12),
      Border("FORM", TPart::FormBorder, 2, 2 * bw + 8, 2 * bw + 8, 0, kTiled, bw),
      Border("FORMTITLE", TPart::FormTitle, 2, 2 * tw + 20, 28, 0, kTiledFilled, tw, tt, tw, 2),
      Border("BUTTON", TPart::Button, 3, 2 * bt + 10, 22, 1, kFilled, bt, s.FaceTop(22, bt), bt,
             bt),
      // A flat tool button: nothing at rest (its section lets the parent show), the button's
      // face when hot or pressed.
      Border("SPEEDBUTTON_SMALL", TPart::Button, 3, 2 * bt + 10, 22, 1, kHotOnly, bt,
             s.FaceTop(22, bt), bt, bt),
      Border("COMBOBTN", TPart::ComboButton, 3, 18, 20, 1, kFilled, 4, s.FaceTop(20, 4), 4, 4),
      Glyph("COMBOBOX", "GLYPHMASK", TPart::ArrowDown, 3, 9, 6),
      Frame("EDIT", TPart::Edit, 2, 12, 12, 1, kTiled, 3),
      Border("SELECTION", TPart::Selection, 2, 12, sh, 1, kFilled, 3, s.FaceTop(sh, 3), 3, 3),
      Frame("PANEL", TPart::PanelRaised, 1, 8, 8, 1, kTiled, 2),
      Frame("PANEL_LOW", TPart::PanelLowered, 1, 8, 8, 1, kTiled, 2),
      Frame("GROUPBOX", TPart::GroupBox, 1, 16, 16, 1, kTiled, 5),
      Border("STATUSBAR", TPart::StatusBar, 1, 8, 8, 1, kTiled, 1, 2, 1, 1),
      Border("DIVIDER", TPart::Divider, 1, 2, 8, 0, kTiled, 1),
      Border("DIVIDERV", TPart::DividerV, 1, 8, 2, 0, kTiled, 1),
      Border("SCROLLBAR1H", TPart::ScrollTrackH, 3, 16, 16, 0, kFilled, 3),
      Border("SCROLLBAR1V", TPart::ScrollTrackV, 3, 16, 16, 0, kFilled, 3),
      Border("SCROLLBTNLEFT", TPart::ScrollButton, 3, 16, 16, 1, kFilled, 4, s.FaceTop(16, 4), 4,
             4),
      Glyph("SCROLLBTNLEFT", "GLYPHMASK", TPart::ArrowLeft, 3, 7, 7),
      Glyph("SCROLLBTNTOP", "GLYPHMASK", TPart::ArrowUp, 3, 7, 7),
      Glyph("SCROLLBTNRIGHT", "GLYPHMASK", TPart::ArrowRight, 3, 7, 7),
      Glyph("SCROLLBTNBOTTOM", "GLYPHMASK", TPart::ArrowDown, 3, 7, 7),
      Border("SCROLLSLIDERH", TPart::Slider, 3, 16, 16, 1, kFilled, 4, s.FaceTop(16, 4), 4, 4),
      Glyph("SCROLLSLIDERH", "GLYPHMASK", TPart::SliderGripH, 3, 8, 7),
      Glyph("SCROLLSLIDERV", "GLYPHMASK", TPart::SliderGripV, 3, 7, 8),
      Frame("HINT", TPart::Hint, 1, 12, 12, 1, kTiled, 4),
      Border("MENUITEM", TPart::MenuItem, 2, 16, mh, 1, kHotOnly, 4, s.FaceTop(mh, 4), 4, 4),
      Frame("MAINMENU", TPart::MenuFrame, 1, 12, 12, 1, kTiled, 3),
  };
  if (formTexture) {
    items.emplace_back("FORM", "PATTERN", TPart::FormTexture, TForm::Texture, 1, 40, 40, 0);
  }
  if (mdiTexture) {
    items.emplace_back("MDIAREA", "PATTERN", TPart::MDIAreaTexture, TForm::Texture, 1, 40, 40, 0);
  }
  return items;
}

// Each glyph again for 150 percent, drawn at that size under the key with its suffix: the
// engine would otherwise resample the 100 percent glyph, which blurs its thin strokes and
// edges. Borders need no variant: their edges are kept and only their centres stretch.
void AddGlyphVariants(std::vector<TItem>& items) {
  constexpr int kStep = 2;
  const std::size_t count = items.size();
  for (std::size_t k = 0; k < count; ++k) {
    if (items[k].Form != TForm::Glyph) continue;
    TItem v = items[k];
    v.Key += skin::data::aSfxs[kStep];
    v.W = skin::data::ScaleInt(v.W, kStep);
    v.H = skin::data::ScaleInt(v.H, kStep);
    v.ScaleStep = kStep;
    items.push_back(std::move(v));
  }
}

// Places the pictures in rows (tallest first) and returns the master bitmap's height.
int Layout(std::vector<TItem>& items) {
  std::vector<TItem*> order;
  for (TItem& i : items) order.push_back(&i);
  std::stable_sort(order.begin(), order.end(), [](const TItem* a, const TItem* b) {
    return a->H * (a->Mask + 1) > b->H * (b->Mask + 1);
  });
  int x = kGap, y = kGap, rowHeight = 0;
  for (TItem* i : order) {
    const int w = i->W * i->Images, h = i->H * (i->Mask + 1);
    if (w + 2 * kGap > kAtlasWidth) throw ESkinError("picture wider than the master bitmap");
    if (x + w + kGap > kAtlasWidth) {
      x = kGap;
      y += rowHeight + kGap;
      rowHeight = 0;
    }
    i->X = x;
    i->Y = y;
    x += w + kGap;
    rowHeight = std::max(rowHeight, h);
  }
  return y + rowHeight + kGap;
}

std::string Num4(int v) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%04d", v);
  return buf;
}

// The picture value of a placed item, in the fixed-width forms.
std::string PictureValue(const TItem& i) {
  const int r = i.X + i.W * i.Images, b = i.Y + i.H * (i.Mask + 1);
  const std::string c = Num4(i.X) + "X" + Num4(i.Y) + "X" + Num4(r) + "X" + Num4(b);
  std::string v;
  switch (i.Form) {
    case TForm::Glyph:
      v = "@" + c + "@" + std::to_string(i.Images) + "@" + std::to_string(i.Mask);
      std::replace(v.begin(), v.end(), 'X', '@');
      break;
    case TForm::Border:
      v = "^" + c;
      for (int w : i.Widths) v += "^" + Num4(w);
      v += "^" + std::to_string(i.Images) + "^" + std::to_string(i.Mask) + "^" +
           std::to_string(i.DrawMode) + "^0";
      std::replace(v.begin(), v.end(), 'X', '^');
      break;
    case TForm::Texture:
      v = "~" + c + "~00";
      std::replace(v.begin(), v.end(), 'X', '~');
      break;
  }
  return v;
}

// The source text with the painter's section dropped and each item's key added at the end of
// its section (before the blank lines that close it). Every section an item names must be in
// the source.
std::string CompleteOptions(const std::string& source, const std::vector<TItem>& items) {
  std::map<std::string, std::vector<std::string>> added;
  for (const TItem& i : items) added[i.Section].push_back(i.Key + "=" + PictureValue(i));
  std::vector<std::string> lines;
  std::string section;
  bool skipping = false;
  const auto flush = [&] {
    const auto it = added.find(section);
    if (it == added.end()) return;
    auto end = lines.end();
    while (end != lines.begin() && (end - 1)->empty()) --end;
    lines.insert(end, it->second.begin(), it->second.end());
    added.erase(it);
  };
  std::istringstream in(source);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      flush();
      section = line.substr(1, line.size() - 2);
      skipping = section == kPainterSection;
    }
    if (!skipping) lines.push_back(line);
  }
  flush();
  if (!added.empty()) {
    throw ESkinError("the options text lacks the section " + added.begin()->first);
  }
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

const TLayer& LayerOf(const std::vector<TItem>& items, std::string_view section,
                      std::string_view key, int image) {
  for (const TItem& i : items) {
    if (i.Section == section && i.Key == key) return i.Layers.at(image);
  }
  throw ESkinError("no picture " + std::string(section) + "/" + std::string(key));
}

gfx::Bitmap ToBitmap(const TLayer& l) {
  gfx::Bitmap bmp(l.Width(), l.Height());
  for (int y = 0; y < l.Height(); ++y) {
    for (int x = 0; x < l.Width(); ++x) {
      bmp.Set(x, y, gfx::PixelFromColor(ToColor(l.ColorAt(x, y)), 255));
    }
  }
  return bmp;
}

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ESkinError("cannot read " + path.string());
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The previews side by side at twice their size, four a row, for people to compare.
gfx::Bitmap ContactSheet(const std::vector<gfx::Bitmap>& previews) {
  constexpr int kScale = 2, kW = 140 * kScale + 8, kH = 100 * kScale + 8;
  const int rows = (int(previews.size()) + 3) / 4;
  gfx::Bitmap sheet(4 * kW, rows * kH);
  sheet.Fill(gfx::MakePixel(96, 96, 96, 255));
  for (std::size_t n = 0; n < previews.size(); ++n) {
    const int ox = int(n % 4) * kW + 4, oy = int(n / 4) * kH + 4;
    for (int y = 0; y < 100 * kScale; ++y) {
      for (int x = 0; x < 140 * kScale; ++x) {
        sheet.Set(ox + x, oy + y, previews[n].At(x / kScale, y / kScale));
      }
    }
  }
  return sheet;
}

// Builds one skin and returns its package; its preview is added to previews.
std::vector<std::uint8_t> BuildSkin(const TSkinSource& skin, const fs::path& resources,
                                    const fs::path& out, std::vector<gfx::Bitmap>& previews) {
  const std::string source = ReadText(resources / skin.Folder / "Options.dat");
  const skin::data::TMemIniFile ini(source);
  const TStyle style = ReadStyle(ini);
  // A section with an image percentage is textured with the skin's pattern.
  const auto textured = [&ini](const char* section) {
    const auto percent = ini.ReadValue(section, "IMAGEPERCENT");
    return percent && skin::data::StrToIntOpt(*percent).value_or(0) > 0;
  };
  std::vector<TItem> items = SkinItems(style, textured("FORM"), textured("MDIAREA"));
  AddGlyphVariants(items);
  const int height = Layout(items);

  gfx::Bitmap master(kAtlasWidth, height);
  master.Fill(gfx::PixelFromColor(skin::data::clFuchsia, 255));
  for (TItem& i : items) {
    TStyle scaled = style;
    scaled.Scale = skin::data::aScalePercents[i.ScaleStep] / 100.0f;
    for (int n = 0; n < i.Images; ++n) {
      i.Layers.push_back(PaintPart(scaled, i.Part, n, i.W, i.H));
      i.Layers.back().WriteTo(master, i.X + n * i.W, i.Y, i.Mask ? i.H : -1, i.Closed);
    }
  }
  const TPreviewParts parts{&LayerOf(items, "FORM", "BORDERSMASK", 1),
                            &LayerOf(items, "FORMTITLE", "BORDERSMASK", 1),
                            &LayerOf(items, "GLOBALINFO", "SICONCLOSE", 0),
                            &LayerOf(items, "BUTTON", "BORDERSMASK", 0),
                            &LayerOf(items, "BUTTON", "BORDERSMASK", 1),
                            &LayerOf(items, "EDIT", "BORDERSMASK", 0),
                            &LayerOf(items, "SELECTION", "BORDERSMASK", 1),
                            &LayerOf(items, "SCROLLBAR1V", "BORDERSMASK", 0),
                            &LayerOf(items, "SCROLLSLIDERH", "BORDERSMASK", 0),
                            &LayerOf(items, "GLOBALINFO", "BOXCHECKED", 0)};
  previews.push_back(ToBitmap(PaintPreview(style, parts)));
  const auto preview = gfx::EncodePng(previews.back());

  const std::string options = CompleteOptions(source, items);
  const std::vector<skin::data::TacPackEntry> files = {{kMaster, gfx::EncodeBmp(master, false)}};
  auto package = skin::data::PackSkin(
      {reinterpret_cast<const std::uint8_t*>(options.data()), options.size()}, files, preview);

  const std::string base = (out / skin.Folder).string();
  gfx::WriteFileBytes(base + ".asz", package);
  gfx::WriteFileBytes(base + "-master.png", gfx::EncodePng(master));
  gfx::WriteFileBytes(base + "-preview.png", preview);
  return package;
}

// The packages as C++ byte arrays.
std::string GeneratedSource(const std::vector<std::vector<std::uint8_t>>& packages) {
  std::ostringstream s;
  s << "// Made by tools/skin-builder from src/skin/resources; not to be edited.\n"
       "#include \"skin/internal/sInternalSkins.h\"\n\nnamespace skin::data {\n\nnamespace {\n";
  for (std::size_t n = 0; n < packages.size(); ++n) {
    s << "\nconst std::uint8_t kSkin" << n << "[] = {";
    for (std::size_t i = 0; i < packages[n].size(); ++i) {
      s << (i == 0 ? "\n" : (i % 24 ? "," : ",\n")) << int(packages[n][i]);
    }
    s << "};\n";
  }
  s << "\n}  // namespace\n\nextern const TacInternalSkinData acInternalSkinData[] = {\n";
  for (std::size_t n = 0; n < packages.size(); ++n) {
    s << "    {\"" << kSkins[n].Name << "\", \"" << kSkins[n].OrigName << "\", kSkin" << n
      << ", sizeof kSkin" << n << "},\n";
  }
  s << "};\nextern const int acInternalSkinCount = " << packages.size()
    << ";\n\n}  // namespace skin::data\n";
  return s.str();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fputs("usage: skin-builder RESOURCES OUT GENERATED.cpp\n", stderr);
    return 2;
  }
  try {
    const fs::path resources = argv[1], out = argv[2];
    fs::create_directories(out);
    std::vector<std::vector<std::uint8_t>> packages;
    std::vector<gfx::Bitmap> previews;
    for (const TSkinSource& skin : kSkins) {
      try {
        packages.push_back(BuildSkin(skin, resources, out, previews));
      } catch (const std::exception& e) {
        throw ESkinError(std::string(skin.Folder) + ": " + e.what());
      }
    }
    gfx::WriteFileBytes((out / "previews.png").string(), gfx::EncodePng(ContactSheet(previews)));
    const std::string generated = GeneratedSource(packages);
    std::ofstream(argv[3], std::ios::binary) << generated;
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skin-builder: %s\n", e.what());
    return 1;
  }
}
