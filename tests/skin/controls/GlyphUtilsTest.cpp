// The standard glyph lists: the five pictures of acResImages pixel by pixel, the icon-font
// characters of acCharImages, the choice between them by the glyph mode, and the added glyph
// that falls back to them when its own list does not hold its index.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <set>
#include <vector>

#include "TestOutput.h"
#include "platform/gfx/PictureCodec.h"
#include "skin/controls/sGlyphUtils.h"
#include "skin/core/sSkinManager.h"

namespace skin::controls {
namespace {

// Restores the glyph mode a test changes.
class GlyphModeGuard {
 public:
  explicit GlyphModeGuard(bool mode) : saved_(skin::core::ac_OldGlyphsMode) {
    skin::core::ac_OldGlyphsMode = mode;
  }
  ~GlyphModeGuard() { skin::core::ac_OldGlyphsMode = saved_; }

 private:
  bool saved_;
};

// The program's lists follow every manager's scale; one of an earlier test in the same run may
// have left them scaled.
class StandardGlyphs : public ::testing::Test {
 protected:
  void SetUp() override {
    acResImages().SetNewScale(0);
    acCharImages().SetNewScale(0);
  }
};
using AddedGlyph = StandardGlyphs;

gfx::Bitmap Render(TacImageList& list, int index) {
  auto bmp = list.CreateBitmap32(index, list.Width(), list.Height());
  EXPECT_TRUE(bmp) << index;
  return bmp ? *bmp : gfx::Bitmap(list.Width(), list.Height());
}

struct Coverage {
  int opaque = 0;       // alpha above 200
  int transparent = 0;  // alpha 0
  int fuchsia = 0;
  long lightness = 0;  // sum of R + G + B over the opaque pixels
};

Coverage Measure(const gfx::Bitmap& bmp, int x0, int width) {
  Coverage c;
  for (int y = 0; y < bmp.Height(); ++y)
    for (int x = x0; x < x0 + width; ++x) {
      const gfx::Pixel p = bmp.At(x, y);
      const int a = gfx::PixelA(p);
      if (a > 200) {
        ++c.opaque;
        c.lightness += gfx::PixelR(p) + gfx::PixelG(p) + gfx::PixelB(p);
      }
      c.transparent += a == 0;
      c.fuchsia += gfx::PixelR(p) == 255 && gfx::PixelG(p) == 0 && gfx::PixelB(p) == 255 && a > 0;
    }
  return c;
}

// Enlarged over a light checkerboard, for people to look at.
void WriteSheet(const std::vector<gfx::Bitmap>& pictures, const char* file, int zoom) {
  int width = 4, height = 0;
  for (const auto& p : pictures)
    width += p.Width() * zoom + 4, height = std::max(height, p.Height() * zoom);
  gfx::Bitmap sheet(width, height + 8);
  for (int y = 0; y < sheet.Height(); ++y)
    for (int x = 0; x < sheet.Width(); ++x)
      sheet.Set(x, y,
                ((x / 6 + y / 6) % 2) ? gfx::MakePixel(0xE4, 0xE4, 0xE4, 255)
                                      : gfx::MakePixel(0xFF, 0xFF, 0xFF, 255));
  int x0 = 4;
  for (const auto& p : pictures) {
    for (int y = 0; y < p.Height() * zoom; ++y)
      for (int x = 0; x < p.Width() * zoom; ++x) {
        const gfx::Pixel s = p.At(x / zoom, y / zoom), d = sheet.At(x0 + x, 4 + y);
        const int a = gfx::PixelA(s);
        auto mix = [a](int sv, int dv) { return std::uint8_t((sv * a + dv * (255 - a)) / 255); };
        sheet.Set(
            x0 + x, 4 + y,
            gfx::MakePixel(mix(gfx::PixelB(s), gfx::PixelB(d)), mix(gfx::PixelG(s), gfx::PixelG(d)),
                           mix(gfx::PixelR(s), gfx::PixelR(d)), 255));
      }
    x0 += p.Width() * zoom + 4;
  }
  gfx::WriteFileBytes((tests::OutputFolder() / file).string(), gfx::EncodePng(sheet));
}

TEST_F(StandardGlyphs, ResImagesHoldTheFivePicturesAsPngStripsOfTwoFrames) {
  TsAlphaImageList& list = acResImages();
  ASSERT_EQ(list.ItemCount(), rgResGlyphCount);
  EXPECT_EQ(list.Width(), 32);
  EXPECT_EQ(list.Height(), 16);
  EXPECT_EQ(list.Count(), rgResGlyphCount);  // the platform list is filled too
  const char16_t* names[] = {u"SF", u"SR", u"SD", u"SE", u"SC"};
  std::vector<gfx::Bitmap> pictures;
  for (int i = 0; i < rgResGlyphCount; ++i) {
    SCOPED_TRACE(i);
    TsImgListItem& item = list.Item(i);
    EXPECT_EQ(item.ImageName(), names[i]);
    EXPECT_EQ(item.ImageFormat(), ifPNG);
    EXPECT_TRUE(skin::paint::HaveMagic(item.ImgData, skin::paint::PNGMagic));
    const gfx::Bitmap strip = Render(list, i);
    EXPECT_EQ(item.OrigWidth, 32);  // stored at the list's size: drawn as is, never resampled
    EXPECT_EQ(item.OrigHeight, 16);
    const Coverage normal = Measure(strip, 0, 16), hot = Measure(strip, 16, 16);
    // Something to see, on a transparent ground, with no key colour.
    EXPECT_GT(normal.opaque, 20);
    EXPECT_GT(normal.transparent, 40);
    EXPECT_EQ(normal.fuchsia + hot.fuchsia, 0);
    // The hot frame is the same shape, lighter.
    EXPECT_EQ(hot.opaque, normal.opaque);
    EXPECT_GT(hot.lightness, normal.lightness);
    pictures.push_back(strip);
  }
  WriteSheet(pictures, "std-glyphs-x1.png", 1);
  WriteSheet(pictures, "std-glyphs-x6.png", 6);
}

TEST_F(StandardGlyphs, EachResPictureShowsWhatItStandsFor) {
  TsAlphaImageList& list = acResImages();
  ASSERT_EQ(list.ItemCount(), rgResGlyphCount);
  auto rgb = [](const gfx::Bitmap& b, int x, int y) {
    const gfx::Pixel p = b.At(x, y);
    EXPECT_EQ(gfx::PixelA(p), 255) << x << "," << y;
    return std::array<int, 3>{gfx::PixelR(p), gfx::PixelG(p), gfx::PixelB(p)};
  };
  // The file: white paper between its lines, a transparent corner beside the fold.
  const gfx::Bitmap file = Render(list, rgFile);
  EXPECT_GT(rgb(file, 8, 8)[2], 240);
  EXPECT_EQ(gfx::PixelA(file.At(14, 1)), 0);
  // The folder: its yellow front.
  const auto folder = rgb(Render(list, rgDirectory), 8, 10);
  EXPECT_GT(folder[0], 200);
  EXPECT_LT(folder[2], 110);
  // The calendar: its red band above a white leaf.
  const gfx::Bitmap calendar = Render(list, rgCalendar);
  const auto band = rgb(calendar, 8, 3);
  EXPECT_GT(band[0], 180);
  EXPECT_LT(band[1], 90);
  EXPECT_GT(rgb(calendar, 3, 13)[1], 230);
  // The ellipsis: three dark dots with gaps between them.
  const gfx::Bitmap dots = Render(list, rgEllipsis);
  for (int x : {3, 8, 13}) EXPECT_LT(rgb(dots, x, 9)[0], 90);
  EXPECT_LT(gfx::PixelA(dots.At(5, 9)), 255);
  EXPECT_EQ(gfx::PixelA(dots.At(8, 3)), 0);
  // The reset arrow: blue on its ring, open in the middle.
  const gfx::Bitmap reset = Render(list, rgReset);
  EXPECT_EQ(gfx::PixelA(reset.At(8, 8)), 0);
  int blue = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const gfx::Pixel p = reset.At(x, y);
      blue += gfx::PixelA(p) > 200 && gfx::PixelB(p) > gfx::PixelR(p) + 80;
    }
  EXPECT_GT(blue, 10);
}

TEST_F(StandardGlyphs, CharImagesDrawEveryCharacterOfTheIconFont) {
  TsCharImageList& list = acCharImages();
  ASSERT_EQ(list.ItemCount(), cgCharGlyphCount);
  EXPECT_EQ(cgCharGlyphCount, 25);
  EXPECT_EQ(list.Width(), 14);
  EXPECT_EQ(list.Height(), 16);
  std::set<std::vector<gfx::Pixel>> distinct;
  std::vector<gfx::Bitmap> pictures;
  for (int i = 0; i < list.ItemCount(); ++i) {
    SCOPED_TRACE(i);
    const TacCharItemData& item = list.Item(i);
    EXPECT_GE(item.ScalingFactor, 0.8);
    EXPECT_LE(item.ScalingFactor, 1.3);
    EXPECT_GE(item.OffsetY, 0);
    EXPECT_LE(item.OffsetY, 4);
    const gfx::Bitmap bmp = Render(list, i);
    const Coverage c = Measure(bmp, 0, bmp.Width());
    EXPECT_GT(c.opaque, 6);
    EXPECT_EQ(c.lightness, 0);  // black where the list is given no colour
    // Centred up and down to a pixel (the minimise bar lies low by its design), nothing cut.
    int top = bmp.Height(), bottom = -1;
    for (int y = 0; y < bmp.Height(); ++y)
      for (int x = 0; x < bmp.Width(); ++x)
        if (gfx::PixelA(bmp.At(x, y)) > 60) top = std::min(top, y), bottom = std::max(bottom, y);
    EXPECT_GT(top, 0);
    EXPECT_LT(bottom, bmp.Height() - 1);
    if (i != cgMinimize) {
      EXPECT_LE(std::abs(top - (bmp.Height() - 1 - bottom)), 1);
    }
    std::vector<gfx::Pixel> pixels;
    for (int y = 0; y < bmp.Height(); ++y)
      for (int x = 0; x < bmp.Width(); ++x) pixels.push_back(bmp.At(x, y));
    distinct.insert(pixels);
    pictures.push_back(bmp);
  }
  // A character the font lacks would come out as the same empty box as another.
  EXPECT_EQ(int(distinct.size()), list.ItemCount());
  // The colour a drawing asks for.
  auto red = list.CreateBitmap32Color(cgCheck, 14, 16, skin::paint::TColor(0x0000FF));
  ASSERT_TRUE(red);
  bool sawRed = false;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 14; ++x)
      if (gfx::PixelA(red->At(x, y)) > 200) {
        sawRed = true;
        EXPECT_EQ(red->At(x, y) & 0xFFFFFF, 0xFF0000u) << x << "," << y;
      }
  EXPECT_TRUE(sawRed);
  WriteSheet(pictures, "char-glyphs-x4.png", 4);
}

TEST_F(StandardGlyphs, TheGlyphModeChoosesTheList) {
  {
    GlyphModeGuard mode(true);
    EXPECT_EQ(&acResImgList(), static_cast<TacImageList*>(&acResImages()));
  }
  {
    GlyphModeGuard mode(false);
    EXPECT_EQ(&acResImgList(), static_cast<TacImageList*>(&acCharImages()));
  }
}

TEST_F(AddedGlyph, FallsBackToTheStandardListForItsSizeAndPicture) {
  fw::TComponent owner(nullptr);
  TsAlphaImageList own(nullptr);
  own.SetDimension(20, 20);
  own.Add(gfx::Bitmap(20, 20));
  int changes = 0;
  TacAddedGlyph glyph(owner, [&](bool) { ++changes; });
  EXPECT_FALSE(glyph.Visible());  // index -1: nothing, whatever the mode
  glyph.SetImageIndex(rgDirectory);
  {
    GlyphModeGuard mode(true);
    ASSERT_TRUE(glyph.Visible());
    EXPECT_EQ(glyph.Source(), static_cast<fw::TImageList*>(&acResImages()));
    EXPECT_EQ(glyph.Size(), (gfx::TSize{16, 16}));  // one frame of the strip
    // Drawn: the normal frame (the hot one is lighter), centred, over what lies there.
    const gfx::Pixel white = gfx::MakePixel(255, 255, 255, 255);
    gfx::Bitmap bmp(20, 20);
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 20; ++x) bmp.Set(x, y, white);
    glyph.Draw(bmp, bmp.Bounds(), true, false);
    const gfx::Bitmap strip = Render(acResImages(), rgDirectory);
    auto near = [](gfx::Pixel a, gfx::Pixel b) {
      return std::abs(gfx::PixelR(a) - gfx::PixelR(b)) <= 2 &&
             std::abs(gfx::PixelG(a) - gfx::PixelG(b)) <= 2 &&
             std::abs(gfx::PixelB(a) - gfx::PixelB(b)) <= 2;
    };
    int differ = 0, opaque = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        const gfx::Pixel s = strip.At(x, y), d = bmp.At(x + 2, y + 2);
        if (gfx::PixelA(s) == 255) ++opaque, differ += !near(s, d);
        if (gfx::PixelA(s) == 0) differ += d != white;
      }
    EXPECT_GT(opaque, 50);
    EXPECT_EQ(differ, 0);
    // An index past the five pictures shows nothing.
    glyph.SetImageIndex(rgResGlyphCount);
    EXPECT_FALSE(glyph.Visible());
    EXPECT_EQ(glyph.Size(), (gfx::TSize{0, 0}));
  }
  {
    GlyphModeGuard mode(false);
    EXPECT_TRUE(glyph.Visible());  // the character list holds 25
    EXPECT_EQ(glyph.Size(), (gfx::TSize{14, 16}));
  }
  // A list of its own wins where it holds the index, and only there.
  GlyphModeGuard mode(true);
  glyph.SetImages(&own);
  glyph.SetImageIndex(0);
  EXPECT_EQ(glyph.Source(), static_cast<fw::TImageList*>(&own));
  EXPECT_EQ(glyph.Size(), (gfx::TSize{20, 20}));
  glyph.SetImageIndex(3);
  EXPECT_EQ(glyph.Source(), static_cast<fw::TImageList*>(&acResImages()));
  EXPECT_EQ(glyph.Size(), (gfx::TSize{16, 16}));
  glyph.SetImages(nullptr);
  EXPECT_GT(changes, 0);
}

}  // namespace
}  // namespace skin::controls
