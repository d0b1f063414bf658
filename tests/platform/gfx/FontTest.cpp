#include "platform/gfx/Font.h"

#include <gtest/gtest.h>

#include "platform/gfx/GlyphCache.h"
#include "platform/gfx/RenamedFont.h"

#include <algorithm>
#include <vector>

namespace gfx {
namespace {

using test::ReadFontFile;
using test::Rename;

HFONT Make(const std::u16string& face, int height, int weight = FW_NORMAL, bool italic = false) {
  LOGFONTW lf;
  lf.lfFaceName = face;
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfItalic = italic;
  return CreateFontIndirectW(lf);
}

// Registers a font file under another family name (of the same length) as a memory font.
void RegisterRenamed(const char* path, const std::string& from, const std::string& to) {
  std::vector<std::uint8_t> bytes = ReadFontFile(path);
  ASSERT_GT(bytes.size(), 10000u);
  Rename(bytes, from, to);
  ASSERT_EQ(AddFontMemResourceEx(bytes.data(), bytes.size()), 1);
}

TEST(FontMetrics, TahomaCellsFollowTheWindowsAscentAndDescentRoundedToNearest) {
  // Heights the platform reports for Tahoma at these em sizes.
  struct Case {
    int em, ascent, descent;
  } cases[] = {{11, 11, 2}, {13, 13, 3}, {16, 16, 3}, {19, 19, 4}, {21, 21, 4}, {32, 32, 7}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.em);
    const TEXTMETRICW tm = Make(u"Tahoma", -c.em)->Metrics();
    EXPECT_EQ(tm.tmAscent, c.ascent);
    EXPECT_EQ(tm.tmDescent, c.descent);
    EXPECT_EQ(tm.tmHeight, c.ascent + c.descent);
    EXPECT_EQ(tm.tmInternalLeading, tm.tmHeight - c.em);
    EXPECT_EQ(tm.tmExternalLeading, 0);  // Tahoma's hhea gap is 0 and its cells match
  }
}

TEST(FontMetrics, PositiveHeightIsTheCellAndZeroIsSixteenPixelCell) {
  HFONT cell = Make(u"Tahoma", 23);
  EXPECT_EQ(cell->EmSize(), 19);
  EXPECT_EQ(cell->Metrics().tmHeight, 23);
  EXPECT_EQ(Make(u"Tahoma", 13)->EmSize(), 11);
  EXPECT_EQ(Make(u"Tahoma", 0)->Metrics().tmHeight, 16);
}

TEST(FontMetrics, AverageWidthIsTheWidthOfXAndStylesAreReported) {
  HFONT f = Make(u"Tahoma", -19);
  ShapedText x = f->Shape(u"x");
  EXPECT_EQ(f->Metrics().tmAveCharWidth, x.width);
  EXPECT_GE(f->Metrics().tmMaxCharWidth, f->Shape(u"W").width);
  LOGFONTW lf;
  lf.lfFaceName = u"Tahoma";
  lf.lfHeight = -40;
  lf.lfWeight = FW_BOLD;
  lf.lfUnderline = lf.lfStrikeOut = true;
  HFONT styled = CreateFontIndirectW(lf);
  EXPECT_EQ(styled->Metrics().tmWeight, FW_BOLD);
  EXPECT_TRUE(styled->Metrics().tmUnderlined);
  EXPECT_TRUE(styled->Metrics().tmStruckOut);
  // Lines sit below and above the baseline, inside the cell; large sizes get thicker lines.
  EXPECT_GT(styled->UnderlineTop(), 0);
  EXPECT_LE(styled->UnderlineTop() + styled->UnderlineThickness(), styled->Metrics().tmDescent);
  EXPECT_LT(styled->StrikeOutTop(), 0);
  EXPECT_GT(styled->UnderlineThickness(), f->UnderlineThickness());
}

TEST(FontFallback, StatedSubstitutesAndTheLastResort) {
  EXPECT_EQ(FontFaceFallback(u"Tahoma"), u"Tahoma");
  EXPECT_EQ(FontFaceFallback(u"tAHOMA"), u"Tahoma");
  EXPECT_EQ(FontFaceFallback(u"Segoe UI"), u"Open Sans");
  EXPECT_EQ(FontFaceFallback(u"MS Sans Serif"), u"Tahoma");
  EXPECT_EQ(FontFaceFallback(u"MS Shell Dlg"), u"Tahoma");
  EXPECT_EQ(FontFaceFallback(u"MS Shell Dlg 2"), u"Tahoma");
  EXPECT_EQ(FontFaceFallback(u"No Such Face Anywhere"), u"DejaVu Sans");
  EXPECT_EQ(Make(u"Segoe UI", -16)->FaceName(), u"Open Sans");
  EXPECT_EQ(Make(u"", -16)->FaceName(), u"DejaVu Sans");
  EXPECT_EQ(DefaultGuiFont()->FaceName(), u"Tahoma");
  EXPECT_EQ(DefaultGuiFont()->EmSize(), 11);
}

TEST(FontStyles, RealBoldFaceWhenThereIsOneElseEmboldening) {
  HFONT regular = Make(u"Tahoma", -19);
  HFONT bold = Make(u"Tahoma", -19, FW_BOLD);
  // tahomabd.ttf: its own advances, and its regular-weight strokes emboldened.
  EXPECT_FALSE(bold->SyntheticBold());
  EXPECT_GT(bold->Shape(u"Разделы").width, regular->Shape(u"Разделы").width + 7);
  EXPECT_GT(bold->Glyph(bold->Shape(u"l").glyphs[0].id)->width,
            regular->Glyph(regular->Shape(u"l").glyphs[0].id)->width);
  EXPECT_FALSE(Make(u"DejaVu Sans", -19, FW_BOLD)->SyntheticBold());
  // A face without a bold sibling: one extra pixel per glyph and wider strokes.
  RegisterRenamed("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", "DejaVu Sans", "Museum Sans");
  HFONT plain = Make(u"Museum Sans", -19);
  HFONT embolden = Make(u"Museum Sans", -19, FW_BOLD);
  ASSERT_EQ(plain->FaceName(), u"Museum Sans");
  EXPECT_TRUE(embolden->SyntheticBold());
  EXPECT_EQ(embolden->Shape(u"abcd").width, plain->Shape(u"abcd").width + 4);
  auto thin = plain->Glyph(plain->Shape(u"l").glyphs[0].id);
  auto thick = embolden->Glyph(embolden->Shape(u"l").glyphs[0].id);
  EXPECT_GT(thick->width, thin->width);
}

TEST(FontStyles, ItalicUsesTheRealFaceOrShearsTheUpright) {
  EXPECT_FALSE(Make(u"Open Sans", -16, FW_NORMAL, true)->SyntheticItalic());
  HFONT upright = Make(u"Tahoma", -30);
  HFONT oblique = Make(u"Tahoma", -30, FW_NORMAL, true);
  EXPECT_TRUE(oblique->SyntheticItalic());
  // The sheared 'l' leans right: wider box, the same advance.
  auto a = upright->Glyph(upright->Shape(u"l").glyphs[0].id);
  auto b = oblique->Glyph(oblique->Shape(u"l").glyphs[0].id);
  EXPECT_GT(b->width, a->width + 3);
  EXPECT_EQ(oblique->Shape(u"l").width, upright->Shape(u"l").width);
}

TEST(FontShaping, WholePixelAdvancesPerUnitAndCachedGlyphs) {
  HFONT f = Make(u"Tahoma", -19);
  std::u16string text = u"Музей 1";
  ShapedText s = f->Shape(text);
  ASSERT_EQ(s.advances.size(), text.size());
  ASSERT_EQ(s.glyphs.size(), text.size());
  int sum = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    EXPECT_EQ(s.glyphs[i].x, sum);
    sum += s.advances[i];
  }
  EXPECT_EQ(sum, s.width);
  // Each glyph advances by itself: the width of a text is the sum of its letters' widths.
  EXPECT_EQ(f->Shape(u"Му").width, f->Shape(u"М").width + f->Shape(u"у").width);
  auto glyph = f->Glyph(s.glyphs[0].id);
  EXPECT_EQ(glyph.get(), f->Glyph(s.glyphs[0].id).get());
  EXPECT_GT(glyph->width, 8);
  EXPECT_EQ(*std::max_element(glyph->coverage.begin(), glyph->coverage.end()), 255);
  EXPECT_LE(glyph->top, f->Metrics().tmAscent);
}

TEST(FontShaping, GlyphCacheStaysWithinItsBoundDroppingTheLeastRecentlyUsed) {
  GlyphCache cache;
  auto image = [](std::size_t bytes) {
    auto g = std::make_shared<GlyphImage>();
    g->coverage.resize(bytes);
    return g;
  };
  const std::size_t big = GlyphCache::kMaxBytes / 4;
  for (std::uint32_t id = 0; id < 3; ++id) cache.Insert({1, 19, 0, false, id}, image(big));
  ASSERT_NE(cache.Find({1, 19, 0, false, 0}), nullptr);  // glyph 0 is now the most recent
  // Room for three (each costs a little more than a quarter): 3 and 4 push out 1 and 2.
  for (std::uint32_t id = 3; id < 5; ++id) cache.Insert({1, 19, 0, false, id}, image(big));
  EXPECT_LE(cache.Bytes(), GlyphCache::kMaxBytes);
  EXPECT_EQ(cache.Count(), 3u);
  EXPECT_NE(cache.Find({1, 19, 0, false, 0}), nullptr);
  EXPECT_EQ(cache.Find({1, 19, 0, false, 1}), nullptr);
  EXPECT_EQ(cache.Find({1, 19, 0, false, 2}), nullptr);
  EXPECT_NE(cache.Find({1, 19, 0, false, 4}), nullptr);
  EXPECT_EQ(cache.Find({1, 20, 0, false, 4}), nullptr);  // another size is another glyph
}

TEST(MemoryFonts, FoundByFamilyBeforeFontconfigAndBytesKeptAlive) {
  std::vector<std::uint8_t> bytes = ReadFontFile("/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf");
  ASSERT_GT(bytes.size(), 10000u);
  Rename(bytes, "DejaVu Sans Mono", "Museum Test Mono");
  EXPECT_EQ(FontFaceFallback(u"Museum Test Mono"), u"DejaVu Sans");  // not registered yet
  EXPECT_EQ(AddFontMemResourceEx(bytes.data(), bytes.size()), 1);
  std::fill(bytes.begin(), bytes.end(), 0);  // the registry holds its own copy
  bytes.clear();
  bytes.shrink_to_fit();
  HFONT mono = Make(u"museum test mono", -16);
  EXPECT_EQ(mono->FaceName(), u"Museum Test Mono");
  EXPECT_EQ(FontFaceFallback(u"Museum Test Mono"), u"Museum Test Mono");
  EXPECT_EQ(mono->Shape(u"iiii").width, mono->Shape(u"MMMM").width);  // monospaced
  EXPECT_GT(mono->Glyph(mono->Shape(u"M").glyphs[0].id)->width, 0);
}

TEST(MemoryFonts, IconFontGivesItsPrivateUseGlyphs) {
  std::vector<std::uint8_t> bytes =
      ReadFontFile("/usr/share/fonts/truetype/font-awesome/fontawesome-webfont.ttf");
  ASSERT_EQ(AddFontMemResourceEx(bytes.data(), bytes.size()), 1);
  HFONT icons = Make(u"FontAwesome", -16);
  EXPECT_EQ(icons->FaceName(), u"FontAwesome");
  ShapedText home = icons->Shape(u"\uF015");
  ASSERT_EQ(home.glyphs.size(), 1u);
  EXPECT_NE(home.glyphs[0].id, 0u);  // not the missing-glyph box
  EXPECT_GT(home.width, 10);
  EXPECT_GT(icons->Glyph(home.glyphs[0].id)->width, 10);
}

TEST(MemoryFonts, DamagedDataIsRefused) {
  EXPECT_EQ(AddFontMemResourceEx(nullptr, 100), 0);
  std::vector<std::uint8_t> junk(4096);
  for (std::size_t i = 0; i < junk.size(); ++i) junk[i] = std::uint8_t(i * 131 + 7);
  EXPECT_EQ(AddFontMemResourceEx(junk.data(), junk.size()), 0);
  EXPECT_EQ(AddFontMemResourceEx(junk.data(), 0), 0);
  std::vector<std::uint8_t> tahoma = ReadFontFile("/usr/share/wine/fonts/tahoma.ttf");
  ASSERT_GT(tahoma.size(), 1000u);
  EXPECT_EQ(AddFontMemResourceEx(tahoma.data(), 12), 0);  // a header and nothing else
}

}  // namespace
}  // namespace gfx
