// Fills, colour blends, colour transforms, the disabled look, fading and rotation.
#include "PaintTestUtil.h"
#include "skin/paint/sGraphUtils.h"

namespace skin::paint {
namespace {

using test::Px;

int CountPixels(const Bitmap& b, std::uint32_t p) {
  int n = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) n += b.At(x, y) == p;
  return n;
}

TEST(Fills, FillRect32CoversExactlyTheBitmapPart) {
  Bitmap b = test::Padded(5, 4);
  FillRect32(b, {-3, -3, 20, 20}, 0x0000FF, 200);
  EXPECT_EQ(CountPixels(b, Px(0, 0, 255, 200)), 20);
  EXPECT_TRUE(test::PaddingIntact(b));
  FillRect32(b, {1, 1, 3, 2}, 0xFF0000, 1);
  EXPECT_EQ(CountPixels(b, Px(255, 0, 0, 1)), 2);
}

TEST(Fills, BorderBandsDoNotOverlapTheInside) {
  Bitmap b = test::Solid(6, 5, 0);
  FillDCBorder32(b, {0, 0, 6, 5}, 1, 2, 1, 1, 0xFFFFFF);
  EXPECT_EQ(CountPixels(b, 0), 4 * 2);  // the inside: columns 1..4, rows 2..3
  EXPECT_EQ(b.At(1, 2), 0u);
  EXPECT_EQ(b.At(0, 4), 0xFFFFFFFFu);
}

TEST(Fills, ContextBordersMatchTheBitmapBorders) {
  Bitmap a = test::Solid(6, 5, 0), b = test::Solid(6, 5, 0);
  gfx::DeviceContext dc(a);
  FillDCBorder(&dc, {0, 0, 6, 5}, 1, 2, 1, 1, 0x0000FF);
  FillDCBorder32(b, {0, 0, 6, 5}, 1, 2, 1, 1, 0x0000FF);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 6; ++x)
      EXPECT_EQ(a.At(x, y) & 0x00FFFFFF, b.At(x, y) & 0x00FFFFFF) << x << "," << y;
}

TEST(Regions, KeyColouredPixelsAreLeftOut) {
  Bitmap b = test::Solid(4, 3, 0xFF000000);
  b.Set(0, 0, 0x00FF00FF);
  b.Set(1, 0, 0x00FF00FF);
  b.Set(3, 2, 0x00FF00FF);
  b.Set(2, 1, 0xFFFF00FF);  // the key with another alpha is not the key
  gfx::Region r = GetRgnFromBmp(b, kTransKey);
  EXPECT_FALSE(r.Contains({0, 0}));
  EXPECT_FALSE(r.Contains({1, 0}));
  EXPECT_TRUE(r.Contains({2, 0}));
  EXPECT_TRUE(r.Contains({2, 1}));
  EXPECT_FALSE(r.Contains({3, 2}));
  EXPECT_EQ(r.Bounds(), (TRect{0, 0, 4, 3}));
  EXPECT_TRUE(GetRgnFromBmp(test::Solid(2, 2, kTransKey), kTransKey).IsEmpty());
  EXPECT_TRUE(GetRgnFromBmp(Bitmap(), kTransKey).IsEmpty());
}

TEST(Blends, BlendColorRectHasInclusiveEdges) {
  Bitmap b = test::Solid(8, 8, Px(200, 200, 200, 9));
  BlendColorRect(b, {2, 2, 5, 5}, 128, 0x646464);  // colour 100
  EXPECT_EQ(CountPixels(b, Px(149, 149, 149, 9)), 16);
  Bitmap all = test::Solid(4, 3, Px(200, 200, 200, 9));
  BlendColorRect(all, {0, 0, 4, 3}, 128, 0x646464);
  EXPECT_EQ(CountPixels(all, Px(149, 149, 149, 9)), 12);  // every pixel once
  EXPECT_TRUE(test::PaddingIntact(all));
}

TEST(Blends, BlendRect32TruncatesTowardZero) {
  Bitmap b = test::Solid(2, 1, Px(200, 100, 100, 0));
  BlendRect32(b, {0, 0, 1, 1}, 0xC96464, 50, 77);  // B 201, G 100, R 100
  // 200 - 50 * (200 - 201) / 100 = 200 - 0; 100 - 50 * (100 - 100) / 100 = 100.
  EXPECT_EQ(b.At(0, 0), Px(200, 100, 100, 77));
  Bitmap c = test::Solid(1, 1, Px(100, 0, 0, 0));
  BlendRect32(c, {0, 0, 1, 1}, 0xC90000, 50, 1);  // 100 - 50 * -101 / 100 = 100 + 50
  EXPECT_EQ(c.At(0, 0), Px(150, 0, 0, 1));
  EXPECT_EQ(BlendColors(0x7F0000FF, 0x00FF0000, 128), 0x7F7E007F);
}

TEST(ColourFunctions, BrightnessAndTone) {
  EXPECT_EQ(ChangeBrightness(TsColor_{200, 10, 0, 5}, 64).C(), Px(250, 12, 0, 5));
  EXPECT_EQ(ChangeBrightness(TsColor_{200, 10, 0, 5}, 128).C(), Px(255, 15, 0, 5));
  EXPECT_EQ(ChangeBrightness(TsColor_{200, 10, 0, 5}, -64).C(), Px(150, 8, 0, 5));
  EXPECT_EQ(ChangeTone(TsColor_{50, 200, 10, 3}, TsColor{255, 128, 0, 0}).C(), Px(0, 100, 199, 3));
}

TEST(ColourFunctions, SaturationToGreyAndBack) {
  TsColor_ c{50, 100, 200, 9};  // luminance Round(59.8 + 58.7 + 5.7) = 124
  EXPECT_EQ(ChangeSaturation(0, c).C(), c.C());
  // -255 gives grey: (0 * c + 124 * 255) >> 8 in every channel.
  EXPECT_EQ(ChangeSaturation(-255, c).C(), Px(123, 123, 123, 9));
  TsColor_ more = ChangeSaturation(100, c);
  EXPECT_LT(more.B, c.B);
  EXPECT_GT(more.R, c.R);
  // The TColor form works on the bytes as they lie: byte 2 weighted 0.299.
  EXPECT_EQ(ChangeSaturation(TColor(c.C()), -255), TColor(Px(123, 123, 123, 9)));
}

TEST(ColourFunctions, HueTurnsThroughTheSectors) {
  TsColor_ red{0, 0, 255, 7};
  EXPECT_EQ(ChangeHue(120, red).C(), Px(0, 255, 0, 7));
  EXPECT_EQ(ChangeHue(240, red).C(), Px(255, 0, 0, 7));
  EXPECT_EQ(ChangeHue(360, red).C(), red.C());
  // A shift below zero wraps around instead of giving a negative sector.
  EXPECT_EQ(ChangeHue(-400, red).C(), ChangeHue(320, red).C());
  EXPECT_EQ(ChangeHue(-120, red).C(), Px(255, 0, 0, 7));
  TsColor_ grey{90, 90, 90, 1};
  EXPECT_EQ(ChangeHue(77, grey).C(), grey.C());
  EXPECT_EQ(ChangeHue(120, TColor(0x0000FF)), TColor(0x00FF00));
  EXPECT_EQ(ChangeHue(0, TColor(0x123456)), TColor(0x123456));
}

TEST(ColourFunctions, BitmapWideTransformsSkipTheKey) {
  Bitmap b = test::Solid(2, 1, Px(50, 100, 200, 9));
  b.Set(1, 0, 0x00FF00FF);
  GrayScaleTrans(b, TsColor::Of(0x00FF00FF));
  EXPECT_EQ(b.At(0, 0), Px(124, 124, 124, 9));
  EXPECT_EQ(b.At(1, 0), 0x00FF00FFu);
  Bitmap c = test::Solid(2, 1, Px(50, 100, 200, 9));
  c.Set(1, 0, Px(0, 0, 100, 0));  // TColor 0x000064 in pixel order
  ChangeBitmapPixels(c, MakeAlphaPixel, 0, 0x000064);
  EXPECT_EQ(c.At(0, 0), Px(50, 100, 200, 255));
  EXPECT_EQ(c.At(1, 0), Px(0, 0, 100, 0));
  ChangeBitmapPixels(c, ChangeColorBrightness, 64, clNone);
  EXPECT_EQ(c.At(1, 0), Px(0, 0, 125, 0));
  ChangeBitmapPixels(c, ChangeColorTone, 0x0000FF, clNone);  // red only, by the largest channel
  EXPECT_EQ(c.At(1, 0), Px(0, 0, 124, 0));
}

TEST(DisabledLook, GreyThenBlendWithTheParentOrItsColour) {
  Bitmap glyph = test::Solid(2, 2, Px(50, 100, 200, 255));
  DefDisabledSaturation = -100;
  TCacheInfo fill;
  fill.FillColor = clFuchsia;
  BmpDisabledKind(glyph, dkGrayed | dkBlended, 0xFFFFFF, fill, {0, 0});
  DefDisabledSaturation = -90;
  // Grey 124, then (124 * 100 + 255 * 155) >> 8 in every pixel of the glyph (edges inclusive).
  EXPECT_EQ(CountPixels(glyph, Px(202, 202, 202, 255)), 4);

  // Against a parent bitmap at the glyph's place; parent pixels of the key are skipped.
  Bitmap parent = test::Solid(4, 4, Px(0, 0, 0, 0));
  parent.Set(2, 2, kTransKey);
  TCacheInfo ci;
  ci.Bmp = &parent;
  ci.Ready = true;
  ci.X = 1;
  Bitmap g2 = test::Solid(2, 2, Px(255, 255, 255, 255));
  BmpDisabledKind(g2, dkBlended, 0, ci, {0, 1});
  EXPECT_EQ(CountPixels(g2, Px(99, 99, 99, 99)), 3);
  EXPECT_EQ(g2.At(1, 1), Px(255, 255, 255, 255));
}

TEST(Fade, OuterRingKeepsThePictureAndTheInsideFades) {
  Bitmap b = test::Solid(20, 20, Px(200, 200, 200, 255));
  FadeBmp(b, {0, 0, 20, 20}, 0, TsColor_{0, 0, 0, 0}, 3, 0);
  EXPECT_EQ(b.At(0, 0), Px(199, 199, 199, 255));  // g(0) = 255: 200 * 255 >> 8
  EXPECT_EQ(b.At(10, 10), Px(0, 0, 0, 255));      // weight t = 0 inside
  EXPECT_GT(b.At(1, 10) & 0xFF, b.At(2, 10) & 0xFF);
  Bitmap c = test::Padded(6, 4);
  FadeBmp(c, {-10, -10, 100, 100}, 50, TsColor_{0, 0, 0, 0}, 100, 100);  // limited, clipped
  EXPECT_TRUE(test::PaddingIntact(c));
}

TEST(Rotation, QuarterTurnsMapPixelsAndCompose) {
  std::mt19937 rng(9);
  Bitmap src = test::RandomBitmap(5, 3, rng);
  auto r90 = bmpRotate(src, 90);
  ASSERT_EQ(r90->Width(), 3);
  EXPECT_EQ(r90->At(3 - 1 - 2, 4), src.At(4, 2));
  auto r270 = bmpRotate(src, 270);
  EXPECT_EQ(r270->At(2, 5 - 1 - 4), src.At(4, 2));
  EXPECT_EQ(*bmpRotate(*r90, 270), src);
  EXPECT_EQ(*bmpRotate(*bmpRotate(*r90, 90), 180), src);
  EXPECT_EQ(*bmpRotate(*bmpRotate(src, 180), 180), src);
  EXPECT_EQ(*bmpRotate(src, 45), src);
}

TEST(Rotation, TurnAroundAPointMatchesTheQuarterTurn) {
  std::mt19937 rng(10);
  Bitmap src = test::RandomBitmap(4, 4, rng);
  Bitmap dst = test::Padded(8, 8);
  BitBltRotated(dst, src, {4, 4}, 90);
  EXPECT_EQ(dst.Copy({2, 2, 6, 6}), *bmpRotate(src, 90));
  EXPECT_TRUE(test::PaddingIntact(dst));
  Bitmap edge = test::Padded(3, 3);
  BitBltRotated(edge, src, {0, 3}, 33);  // mostly outside: clipped
  EXPECT_TRUE(test::PaddingIntact(edge));
}

}  // namespace
}  // namespace skin::paint
