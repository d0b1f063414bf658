// The nine-slice border drawing pixel by pixel: a master whose pixels name their coordinates,
// drawn masked and unmasked, tiled and stretched, in every draw mode and state, into
// rectangles below, at and above the corner sizes, against a mapping written independently:
// corners are fixed, sides repeat (or stretch) the slice between them, oversized corners are
// cut evenly from both sides.
#include <gtest/gtest.h>

#include <optional>

#include "DrawTestUtil.h"
#include "skin/draw/sAlphaGraph.h"
#include "skin/draw/sBorders.h"

namespace skin::draw::test {
namespace {

constexpr std::uint32_t kSentinel = Px(1, 2, 3, 4);

struct TGeometry {
  int WL, WT, WR, WB, W, H;  // slices, frame size
};

// The source coordinate along one axis, or none when the pixel is not drawn from the picture.
std::optional<int> Axis(int p, int size, int a, int b, int frame, bool stretched, int& kind) {
  if (a + b > size) {  // cut evenly: the first loses the smaller half
    const int e = a + b - size;
    a = std::max(0, a - e / 2);
    b = std::max(0, b - (e - e / 2));
  }
  const int c = frame - a - b;
  if (c < 0) return std::nullopt;
  if (p < a) {
    kind = 0;
    return p;
  }
  if (p >= size - b) {
    kind = 2;
    return a + c + (p - (size - b));
  }
  kind = 1;
  if (c == 0) return std::nullopt;
  const int inner = size - a - b;
  return a + (stretched ? (2 * (p - a) + 1) * c / (2 * inner) : (p - a) % c);
}

struct TCase {
  TGeometry g;
  bool masked;
  int drawMode, state, w, h;
  bool parentReady;
};

class NineSliceTest : public ::testing::Test {
 protected:
  // The border item: three frames side by side at (4, 3), mask rows below when masked; the
  // outer pixel of each frame corner is the key colour.
  int MakeItem(const TGeometry& g, bool masked, int drawMode) {
    InitMaster(FModel);
    const int item = AddItem(FModel, RectOfSize(4, 3, 3 * g.W, masked ? 2 * g.H : g.H), 3,
                             masked ? 1 : 0, drawMode);
    TsMaskData& md = FModel.ma[item];
    md.WL = std::int16_t(g.WL);
    md.WT = std::int16_t(g.WT);
    md.WR = std::int16_t(g.WR);
    md.WB = std::int16_t(g.WB);
    md.CornerType = 1;
    if (masked) ClearMask(FModel, md);
    for (int f = 0; f < 3; ++f) {
      const int x0 = md.R.Left + f * g.W, y0 = md.R.Top;
      for (auto [x, y] : {std::pair{x0, y0},
                          {x0 + g.W - 1, y0},
                          {x0, y0 + g.H - 1},
                          {x0 + g.W - 1, y0 + g.H - 1}})
        FModel.MasterBitmap.Set(x, y, kTransKey);
    }
    return item;
  }

  void Check(const TCase& c) {
    const int item = MakeItem(c.g, c.masked, c.drawMode);
    const TsMaskData& md = FModel.ma[item];
    Bitmap parent(80, 80);
    for (int y = 0; y < 80; ++y)
      for (int x = 0; x < 80; ++x) parent.Set(x, y, Coord(x, y, 0x99));
    const TCacheInfo ci = c.parentReady ? MakeCacheInfo(&parent, 7, 5) : EmptyCI;
    Bitmap bmp(c.w + 6, c.h + 6);
    bmp.Fill(kSentinel);
    const TRect a = RectOfSize(3, 3, c.w, c.h);
    DrawSkinRect(bmp, a, ci, md, c.state, true);

    const bool drawn = !(c.state == 0 && (c.drawMode & 2)) && c.w >= 2 && c.h >= 2;
    const bool stretched = c.drawMode & 1, centre = c.drawMode & 4;
    const int frame = std::min(c.state, 2);
    SCOPED_TRACE(::testing::Message()
                 << "masked " << c.masked << " mode " << c.drawMode << " state " << c.state
                 << " size " << c.w << "x" << c.h << " frame " << c.g.W << "x" << c.g.H << " ready "
                 << c.parentReady);
    int failures = 0;
    for (int y = 0; y < bmp.Height(); ++y) {
      for (int x = 0; x < bmp.Width(); ++x) {
        const std::uint32_t got = bmp.At(x, y);
        std::optional<std::uint32_t> want = kSentinel;
        bool rgbOnly = c.masked;
        if (drawn && a.Contains({x, y})) {
          int kx = 0, ky = 0;
          auto sx = Axis(x - a.Left, c.w, c.g.WL, c.g.WR, c.g.W, stretched, kx);
          auto sy = Axis(y - a.Top, c.h, c.g.WT, c.g.WB, c.g.H, stretched, ky);
          if (sx && sy && !(kx == 1 && ky == 1 && !centre)) {
            const int mx = md.R.Left + frame * c.g.W + *sx, my = md.R.Top + *sy;
            const std::uint32_t src = FModel.MasterBitmap.At(mx, my);
            if (c.masked && stretched && (kx == 1 || ky == 1)) {
              want.reset();  // masked stretching resamples: only its corners are exact
            } else if (src == kTransKey) {
              // Key pixels lie in corners: the parent shows through them, an unknown parent
              // leaves the key colour.
              want = c.parentReady ? parent.At(x + 7, y + 5) : PxOf(clFuchsia);
              rgbOnly = true;
            } else {
              want = src;
            }
          }
        }
        if (!want) continue;
        const bool ok = rgbOnly ? Rgb(got) == Rgb(*want) : got == *want;
        if (!ok && ++failures <= 5)
          ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << got << ", want "
                        << *want;
      }
    }
  }

  TacSkinModel FModel;
};

TEST_F(NineSliceTest, EveryModeSizeAndStateMapsPixelsFromTheFrame) {
  const TGeometry geometries[] = {
      {3, 2, 2, 3, 10, 8},  // uneven slices
      {6, 2, 6, 2, 16, 7},  // wide corners: 9 pixels wide cuts them to 5 and 4
  };
  for (const TGeometry& g : geometries) {
    for (bool masked : {false, true}) {
      for (int mode = 0; mode < 8; ++mode) {
        for (int state : {0, 1, 2, 5}) {
          for (int w : {1, 2, 4, 5, 9, 12, 13, 31}) {
            for (int h : {2, 3, 5, 9, 23}) {
              for (bool ready : {true, false}) Check({g, masked, mode, state, w, h, ready});
            }
          }
        }
      }
    }
  }
}

TEST_F(NineSliceTest, WideCornersAreCutFiveAndFourInNinePixels) {
  // Independent of the mapping above: the left corner's last column and the right corner's
  // first column meet at x = 5.
  const int item = MakeItem({6, 2, 6, 2, 16, 7}, false, 4);
  Bitmap bmp(9, 7);
  DrawSkinRect(bmp, bmp.Bounds(), EmptyCI, FModel.ma[item], 1, false);
  const int fx = 4 + 16;
  EXPECT_EQ(bmp.At(4, 3), Coord(fx + 4, 3 + 3));
  EXPECT_EQ(bmp.At(5, 3), Coord(fx + 16 - 4, 3 + 3));
  EXPECT_EQ(bmp.At(8, 3), Coord(fx + 15, 3 + 3));
}

TEST_F(NineSliceTest, SidesExactlyTheCornersWideEndInBothPaths) {
  // The frame is exactly WL + WR wide and WT + WB high: the sides have nothing to repeat.
  for (bool masked : {false, true}) {
    const int item = MakeItem({5, 4, 5, 4, 10, 8}, masked, 4);
    Bitmap bmp(40, 30);
    bmp.Fill(kSentinel);
    DrawSkinRect(bmp, bmp.Bounds(), EmptyCI, FModel.ma[item], 1, false);
    EXPECT_EQ(Rgb(bmp.At(1, 1)), Rgb(Coord(4 + 10 + 1, 3 + 1)));
    EXPECT_EQ(Rgb(bmp.At(38, 28)), Rgb(Coord(4 + 10 + 8, 3 + 6)));
    EXPECT_EQ(bmp.At(20, 1), kSentinel);   // top side
    EXPECT_EQ(bmp.At(1, 15), kSentinel);   // left side
    EXPECT_EQ(bmp.At(20, 15), kSentinel);  // centre
  }
}

TEST_F(NineSliceTest, PictureWithoutFramesDrawsItsFirst) {
  const int item = MakeItem({3, 2, 2, 3, 10, 8}, false, 0);
  FModel.ma[item].ImageCount = 0;
  FModel.ma[item].Width = 10;
  Bitmap bmp(12, 12);
  DrawSkinRect(bmp, bmp.Bounds(), EmptyCI, FModel.ma[item], 2, false);
  EXPECT_EQ(bmp.At(1, 1), Coord(4 + 1, 3 + 1));
  Bitmap glyph(12, 12);
  DrawSkinGlyph(glyph, {0, 0}, 2, 1, FModel.ma[item], MakeCacheInfo(&glyph));
  EXPECT_EQ(glyph.At(0, 0), 0u);  // master pictures need frames
  Bitmap own = FModel.MasterBitmap.Copy(FModel.ma[item].R);
  FModel.ma[item].Bmp = &own;
  FModel.ma[item].R = own.Bounds();
  DrawSkinGlyph(glyph, {1, 1}, 2, 1, FModel.ma[item], MakeCacheInfo(&glyph));
  EXPECT_EQ(glyph.At(2, 2), Coord(4 + 1, 3 + 1));
}

TEST_F(NineSliceTest, GlyphFramesClipAndLighten) {
  InitMaster(FModel);
  const int item = AddItem(FModel, RectOfSize(10, 10, 3 * 6, 5), 3, 0, 0, paint::itisaGlyph);
  FModel.MasterBitmap.Set(10 + 6 + 2, 10 + 2, kTransKey);
  const TsMaskData& md = FModel.ma[item];
  Bitmap bmp(8, 8);
  bmp.Fill(kSentinel);
  DrawSkinGlyph(bmp, {-2, -1}, 1, 1, md, MakeCacheInfo(&bmp));
  EXPECT_EQ(bmp.At(0, 0), Coord(10 + 6 + 2, 10 + 1));
  EXPECT_EQ(bmp.At(0, 1), kSentinel);  // the key pixel keeps what is there
  EXPECT_EQ(bmp.At(3, 3), Coord(10 + 6 + 5, 10 + 4));
  EXPECT_EQ(bmp.At(4, 3), kSentinel);
  // A state past the frames uses the last one; added transparency mixes half of the background.
  Bitmap light(6, 5);
  light.Fill(Px(0, 0, 0, 0));
  DrawSkinGlyph(light, {0, 0}, 9, 2, md, MakeCacheInfo(&light));
  const std::uint32_t src = Coord(10 + 12 + 1, 10 + 1);
  EXPECT_EQ(Ch(light.At(1, 1), 0), (255 - 127) * Ch(src, 0) >> 8);
}

TEST_F(NineSliceTest, StateZeroIsSkippedOnlyWithModeBitOne) {
  for (int mode : {2, 3}) {
    const int item = MakeItem({3, 2, 2, 3, 10, 8}, false, mode);
    Bitmap bmp(12, 12);
    bmp.Fill(kSentinel);
    DrawSkinRect(bmp, bmp.Bounds(), EmptyCI, FModel.ma[item], 0, false);
    EXPECT_EQ(bmp.At(1, 1), kSentinel);
    DrawSkinRect(bmp, bmp.Bounds(), EmptyCI, FModel.ma[item], 1, false);
    EXPECT_EQ(bmp.At(1, 1), Coord(4 + 10 + 1, 3 + 1));
  }
}

TEST_F(NineSliceTest, UpdateCornersTakesTheParentUnderKeyPixelsOnly) {
  const int item = MakeItem({3, 2, 2, 3, 10, 8}, true, 0);
  Bitmap cache(20, 12);
  cache.Fill(kSentinel);
  Bitmap parent(50, 50);
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 50; ++x) parent.Set(x, y, Coord(x, y, 0x77));
  TacBGInfo bg;
  bg.BgType = TacBGType::btCache;
  bg.Bmp = &parent;
  bg.Offset = {5, 6};
  UpdateCorners(cache, FModel.ma[item], 1, scLeftTop | scRightBottom, bg);
  EXPECT_EQ(cache.At(0, 0), parent.At(5, 6));
  EXPECT_EQ(cache.At(19, 11), parent.At(5 + 19, 6 + 11));
  EXPECT_EQ(cache.At(19, 0), kSentinel);  // not asked
  EXPECT_EQ(cache.At(1, 0), kSentinel);   // not a key pixel
  bg.BgType = TacBGType::btFill;
  bg.Color = 0x123456;
  UpdateCorners(cache, FModel.ma[item], 1, acAllCorners, bg);
  EXPECT_EQ(Rgb(cache.At(19, 0)), Rgb(PxOf(0x123456)));
  FModel.ma[item].CornerType = 0;  // opaque corners are left alone
  cache.Set(0, 11, kSentinel);
  UpdateCorners(cache, FModel.ma[item], 1, acAllCorners, bg);
  EXPECT_EQ(cache.At(0, 11), kSentinel);
}

TEST_F(NineSliceTest, BorderAloneFillsTheBandsUpToTheMinimumWidth) {
  const int item = MakeItem({3, 2, 2, 3, 10, 8}, true, 0);
  Bitmap parent(60, 60);
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 60; ++x) parent.Set(x, y, Coord(x, y, 0x99));
  Bitmap cache(20, 16);
  cache.Fill(kSentinel);
  const TRect inner = PaintBorderFast(cache, cache.Bounds(), 4, &FModel, item, 1, 0x0000FF,
                                      MakeCacheInfo(&parent, 10, 20));
  EXPECT_EQ(inner, TRect(4, 4, 16, 12));
  // The picture's corner key pixel shows the parent copied under the band.
  EXPECT_EQ(Rgb(cache.At(0, 0)), Rgb(parent.At(10, 20)));
  EXPECT_EQ(Rgb(cache.At(1, 1)), Rgb(Coord(4 + 10 + 1, 3 + 1)));
  // Between the slices (3, 2, 2, 3) and 4 pixels: the background colour.
  EXPECT_EQ(cache.At(3, 8), PxOf(0x0000FF));
  EXPECT_EQ(cache.At(10, 3), PxOf(0x0000FF));
  EXPECT_EQ(cache.At(17, 8), PxOf(0x0000FF));
  EXPECT_EQ(cache.At(10, 12), PxOf(0x0000FF));  // the bottom slice is 3 high: 13 and below
  EXPECT_EQ(cache.At(10, 11), kSentinel);       // inside
  // Without a picture the frame is the colour alone.
  Bitmap plain(10, 10);
  EXPECT_EQ(PaintBorderFast(plain, plain.Bounds(), 2, &FModel, -1, 0, 0x00FF00, EmptyCI),
            TRect(2, 2, 8, 8));
  EXPECT_EQ(plain.At(1, 5), PxOf(0x00FF00));
  EXPECT_EQ(plain.At(5, 5), 0u);
}

TEST_F(NineSliceTest, LayeredBorderCornersAlwaysShowWhatWasUnderThem) {
  const int item = MakeItem({3, 2, 2, 3, 10, 8}, false, 0);
  Bitmap before(12, 12);
  before.Fill(Px(9, 8, 7, 6));
  Bitmap bmp(12, 12);
  DrawSkinRect32(bmp, bmp.Bounds(), MakeCacheInfo(&before), FModel.ma[item], 1);
  EXPECT_EQ(bmp.At(0, 0), Px(9, 8, 7, 6));
  EXPECT_EQ(bmp.At(1, 0), Coord(4 + 10 + 1, 3));
}

TEST_F(NineSliceTest, OneSidedCornersNeverPassTheRectangle) {
  // A left slice of 9 and no right one in 5 pixels: the left takes all 5, nothing spills.
  const int item = MakeItem({9, 2, 0, 2, 12, 8}, false, 4);
  Bitmap bmp(11, 10);
  bmp.Fill(kSentinel);
  DrawSkinRect(bmp, RectOfSize(3, 1, 5, 8), EmptyCI, FModel.ma[item], 1, false);
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 11; ++x) {
      if (x >= 3 && x < 8 && y >= 1 && y < 9) continue;
      ASSERT_EQ(bmp.At(x, y), kSentinel) << x << "," << y;
    }
  }
  EXPECT_EQ(bmp.At(7, 4), Coord(4 + 12 + 4, 3 + 3));
}

TEST_F(NineSliceTest, OuterEffectsLimitTheirSlicesAndTakeAnOpacity) {
  const int item = MakeItem({3, 2, 2, 3, 10, 8}, true, 0);
  Bitmap bmp(12, 12);
  bmp.Fill(Px(200, 100, 50, 255));
  DrawSkinRect32Ex(bmp, bmp.Bounds(), EmptyCI, FModel.ma[item], 1, {1, 9, 9, 9}, 128);
  // The picture's weight is 128 * 255 >> 8 = 127 of the black mask's full cover.
  const std::uint32_t src = Coord(4 + 10 + 1, 3 + 1);
  EXPECT_EQ(Ch(bmp.At(1, 1), 0), (200 * (255 - 127) + Ch(src, 0) * 127) >> 8);
  // A left slice of one pixel: the top side repeats its 7 columns from x = 1, so x = 8 shows
  // the frame's column 1 (with the whole slice of 3 it would show column 3). Weight 254.
  bmp.Fill(Px(0, 0, 0, 255));
  DrawSkinRect32Ex(bmp, bmp.Bounds(), EmptyCI, FModel.ma[item], 1, {1, 9, 9, 9}, 255);
  EXPECT_EQ(Ch(bmp.At(8, 0), 0), Ch(Coord(4 + 10 + 1, 3), 0) * 254 >> 8);
  bmp.Fill(Px(0, 0, 0, 255));
  DrawSkinRect32Ex(bmp, bmp.Bounds(), EmptyCI, FModel.ma[item], 1, {9, 9, 9, 9}, 255);
  EXPECT_EQ(Ch(bmp.At(8, 0), 0), Ch(Coord(4 + 10 + 3, 3), 0) * 254 >> 8);
}

}  // namespace
}  // namespace skin::draw::test
