// Worked examples of the alpha-channel, compositing and keyed-copy formulas.
#include "PaintTestUtil.h"
#include "skin/paint/sAlphaGraph.h"

namespace skin::paint {
namespace {

using test::Px;

TEST(PixelRecords, ConvertBetweenColourAndPixelOrder) {
  EXPECT_EQ(SwapRedBlue(0x11223344u), 0x11443322u);
  EXPECT_EQ(TsColor::Of(0x80112233).R, 0x33);
  EXPECT_EQ(TsColor_::Of(0x80112233).R, 0x11);
  EXPECT_EQ(SwapRedBlue(TsColor{1, 2, 3, 4}.C()), (TsColor_{3, 2, 1, 4}.C()));
  std::uint32_t v[2] = {0x01020304, 0xA0B0C0D0};
  SwapLong(v);
  EXPECT_EQ(v[0], 0x04030201u);
  EXPECT_EQ(v[1], 0xD0C0B0A0u);
}

TEST(PixelAccess, RowsAndSinglePixelsStayInsideTheBitmap) {
  Bitmap b = test::Padded(3, 2);
  std::uint8_t* line0 = nullptr;
  std::ptrdiff_t delta = -1;
  ASSERT_TRUE(InitLine(b, line0, delta));
  EXPECT_EQ(delta, b.Stride());
  Bitmap one(4, 1);
  ASSERT_TRUE(InitLine(one, line0, delta));
  EXPECT_EQ(delta, 0);
  Bitmap none;
  EXPECT_FALSE(InitLine(none, line0, delta));

  SetAPixel(b, 2, 1, 0x12345678);
  SetAPixel(b, 3, 1, 0xFFFFFFFF);
  SetAPixel(b, -1, 0, 0xFFFFFFFF);
  EXPECT_EQ(GetAPixel(b, 2, 1), 0x12345678u);
  EXPECT_EQ(GetAPixel(b, 3, 1), 0u);
  EXPECT_TRUE(test::PaddingIntact(b));
}

TEST(AlphaBitmaps, MaskFromAlphaAndBackIsTheIdentity) {
  std::mt19937 rng(3);
  Bitmap src = test::RandomBitmap(5, 4, rng);
  auto masked = CreateMaskFromAlpha(src);
  ASSERT_TRUE(masked);
  ASSERT_EQ(masked->Height(), 8);
  // The lower half is the grey, opaque mask.
  EXPECT_EQ(masked->At(1, 4 + 2), Px(255 - (src.At(1, 2) >> 24), 255 - (src.At(1, 2) >> 24),
                                     255 - (src.At(1, 2) >> 24), 255));
  auto back = CreateAlphaBmp(*masked, masked->Bounds());
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, src);

  EXPECT_FALSE(CreateMaskFromAlpha(Bitmap()));
  EXPECT_FALSE(CreateAlphaBmp(*masked, {0, 0, 5, 1}));  // half of one row is nothing
  EXPECT_FALSE(CreateAlphaBmp(*masked, {1, 0, 6, 8}));  // reaches outside the bitmap
}

TEST(UpdateAlpha, PremultipliesAndClampsNearWhiteWithoutComposition) {
  Bitmap b = test::Padded(3, 1);
  b.Set(0, 0, Px(250, 250, 250, 255));
  b.Set(1, 0, kEmptyPixel);
  b.Set(2, 0, Px(250, 100, 250, 128));
  Bitmap off = b;
  UpdateAlpha(b);
  EXPECT_EQ(b.At(0, 0), Px(249, 249, 249, 255));
  EXPECT_EQ(b.At(1, 0), 0u);
  EXPECT_EQ(b.At(2, 0), Px(125, 50, 125, 128));
  SetCompositionEnabled(false);
  UpdateAlpha(off);
  SetCompositionEnabled(true);
  EXPECT_EQ(off.At(0, 0), Px(244, 244, 244, 255));
  EXPECT_EQ(off.At(1, 0), 0u);
  EXPECT_EQ(off.At(2, 0), Px(125, 50, 125, 128));  // one channel not above 244: no clamp
}

TEST(UpdateAlpha, AreaOutsideTheBitmapIsClipped) {
  Bitmap b = test::Solid(4, 3, Px(200, 200, 200, 128));
  UpdateAlpha(b, {2, 1, 100, 100});
  EXPECT_EQ(b.At(1, 1), Px(200, 200, 200, 128));
  EXPECT_EQ(b.At(3, 2), Px(100, 100, 100, 128));
  EXPECT_TRUE(test::PaddingIntact(b));
}

TEST(AlphaChannel, EmptyChannelIsMadeFromTheBottomLeftColour) {
  Bitmap b = test::Solid(3, 2, 0x00FF00FF);
  b.Set(1, 0, 0x00123456);
  CheckEmptyAChannel(b);
  EXPECT_EQ(b.At(1, 0), 0xFF123456u);
  EXPECT_EQ(b.At(0, 0), 0x00FF00FFu);
  EXPECT_EQ(b.At(2, 1), 0x00FF00FFu);

  Bitmap withAlpha = test::Solid(3, 2, 0x00FF00FF);
  withAlpha.Set(2, 0, 0x01000000);
  Bitmap before = withAlpha;
  CheckEmptyAChannel(withAlpha);
  EXPECT_EQ(withAlpha, before);
}

TEST(AlphaChannel, FillAlphaSkipsTheKeyAndUpdateTransClearsEmptyPixels) {
  Bitmap b = test::Solid(3, 1, 0x00102030);
  b.Set(1, 0, 0x00FF00FF);
  FillAlphaRect(b, {-5, -5, 50, 50}, 200, clFuchsia);
  EXPECT_EQ(b.At(0, 0), 0xC8102030u);
  EXPECT_EQ(b.At(1, 0), 0x00FF00FFu);
  b.Set(2, 0, kEmptyPixel);
  UpdateTransPixels(b);
  EXPECT_EQ(b.At(2, 0), 0u);
  EXPECT_TRUE(test::PaddingIntact(b));
}

TEST(AlphaChannel, ChannelsCopyBetweenBitmapsOfAnySize) {
  Bitmap d = test::Solid(3, 3, 0x11223344), s = test::Solid(2, 4, 0xAABBCCDD);
  CopyChannel32(d, s, 3);
  EXPECT_EQ(d.At(1, 2), 0xAA223344u);
  EXPECT_EQ(d.At(2, 0), 0x11223344u);  // outside the source: untouched
  gfx::Bitmap8 g(3, 3);
  CopyChannel(d, g, 1, true);
  EXPECT_EQ(g.At(2, 2), 0x33);
  g.Set(0, 0, 0x99);
  CopyChannel(d, g, 0, false);
  EXPECT_EQ(d.At(0, 0), 0xAA223399u);
  gfx::Bitmap8 other(2, 3);
  CopyChannel(d, other, 0, false);  // different sizes: nothing
  EXPECT_EQ(d.At(0, 0), 0xAA223399u);
}

TEST(Compositing, PaintBmpRect32IsStraightAlphaSourceOver) {
  Bitmap d = test::Solid(2, 2, Px(200, 100, 0, 255));
  Bitmap s = test::Solid(2, 2, Px(100, 150, 200, 128));
  PaintBmpRect32(d, s, {0, 0, 2, 2}, {1, 1});
  EXPECT_EQ(d.At(1, 1), Px(150, 125, 100, 191));
  EXPECT_EQ(d.At(0, 1), Px(200, 100, 0, 255));
  EXPECT_TRUE(test::PaddingIntact(d));
}

TEST(Compositing, SumBmpRectKeepsTheDestinationByItsWeight) {
  std::mt19937 rng(5);
  Bitmap s = test::RandomBitmap(6, 5, rng), d = test::RandomBitmap(6, 5, rng);
  Bitmap copy = d;
  SumBmpRect(copy, s, 0, s.Bounds(), {0, 0});
  EXPECT_EQ(copy, s);  // weight 0 copies all four bytes exactly
  Bitmap kept = d;
  SumBmpRect(kept, s, 255, s.Bounds(), {0, 0});
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 6; ++x)
      for (int c = 0; c < 32; c += 8)
        EXPECT_LE(std::abs(int(kept.At(x, y) >> c & 0xFF) - int(d.At(x, y) >> c & 0xFF)), 1);
  Bitmap half = test::Solid(1, 1, Px(200, 0, 10, 255));
  SumBmpRect(half, test::Solid(1, 1, Px(100, 255, 20, 0)), 128, {0, 0, 1, 1}, {0, 0});
  EXPECT_EQ(half.At(0, 0), Px(150, 127, 15, 127));
}

TEST(Compositing, SumBitmapsByMaskRoundsTowardTheSecondPicture) {
  Bitmap s1 = test::Solid(2, 1, Px(100, 200, 0, 9)), s2 = test::Solid(2, 1, Px(200, 100, 0, 9));
  Bitmap d = test::Solid(2, 1, 0x7F000000);
  SumBitmapsByMask(d, s1, s2, nullptr, 128);
  // 200 - floor((128 * 100 + 255) / 256) = 150; 100 - floor((128 * -100 + 255) / 256) = 150.
  EXPECT_EQ(d.At(0, 0), Px(150, 150, 0, 0x7F));
  Bitmap m = test::Solid(2, 1, Px(64, 0, 255, 0));
  SumBitmapsByMask(d, s1, s2, &m, 0);
  EXPECT_EQ(d.At(1, 0), Px(175, 100, 0, 0x7F));
  Bitmap other = test::Solid(3, 1, 0);
  Bitmap before = d;
  SumBitmapsByMask(d, s1, other, nullptr, 128);
  EXPECT_EQ(d, before);
}

TEST(Compositing, BlendTransRectangleTakesInclusiveEdgesAndSkipsTheKey) {
  Bitmap src = test::Solid(4, 4, Px(0, 0, 0, 0));
  src.Set(2, 2, kTransKey);
  Bitmap d = test::Solid(4, 4, Px(255, 255, 255, 255));
  BlendTransRectangle(d, 0, 0, src, {1, 1, 2, 2}, 100, kTransKey);
  EXPECT_EQ(d.At(0, 0), Px(99, 99, 99, 99));      // (155 * 0 + 100 * 255) >> 8
  EXPECT_EQ(d.At(1, 1), Px(255, 255, 255, 255));  // the key
  EXPECT_EQ(d.At(2, 0), Px(255, 255, 255, 255));  // a 2 x 2 area only
}

TEST(Compositing, MaskAndColourBlends) {
  Bitmap b = test::Solid(2, 1, Px(200, 200, 200, 7));
  b.Set(1, 0, kTransKey);
  BlendTransBitmap(b, 128, TsColor{0, 0, 100, 0});  // blue 100 in colour order
  EXPECT_EQ(b.At(0, 0), Px(149, 100, 100, 7));
  EXPECT_EQ(b.At(1, 0), kTransKey);

  Bitmap p = test::Solid(1, 1, Px(200, 200, 200, 3));
  BlendBmpByMask(p, test::Solid(1, 1, Px(64, 255, 0, 0)), TsColor_{100, 0, 50, 0});
  EXPECT_EQ(p.At(0, 0), Px(125, 199, 50, 3));

  Bitmap c = test::Solid(2, 2, Px(0, 0, 0, 5));
  ColorizeByMask(c, test::Solid(1, 1, Px(0, 0, 0, 128)), {-3, 1}, 0x0000FF, clNone);
  EXPECT_EQ(c.At(0, 1), Px(0, 0, 127, 5));
  EXPECT_EQ(c.At(0, 0), Px(0, 0, 0, 5));
  ColorizeByMask(c, test::Solid(1, 1, Px(30, 60, 90, 0)), {1, 0}, 0x0000FF, 0xFF0000);
  // w = 255 - 60 = 195: blue ((0 - 255) * 195 + 255 * 256) >> 8 = 60, red 194.
  EXPECT_EQ(c.At(1, 0), Px(60, 0, 194, 5));
}

TEST(KeyedCopies, CopyTransBitmapsMakesCopiedPixelsOpaque) {
  Bitmap src = test::Solid(2, 1, 0x00102030);
  src.Set(1, 0, 0x00302010);  // TColor 0x102030 in pixel order
  Bitmap d = test::Solid(3, 1, 0);
  CopyTransBitmaps(d, src, 1, 0, TsColor::Of(0x102030));
  EXPECT_EQ(d.At(1, 0), 0xFF102030u);
  EXPECT_EQ(d.At(2, 0), 0u);
}

TEST(KeyedCopies, CopyTransRectFollowsTheThreeCases) {
  Bitmap src = test::Solid(2, 1, 0x40112233);
  src.Set(1, 0, kTransKey);
  Bitmap parent = test::Solid(4, 4, 0x80ABCDEF);
  TCacheInfo ci;
  ci.Bmp = &parent;
  ci.X = 1;
  ci.Y = 1;
  ci.Ready = true;
  // (1) into another bitmap: transparent pixels take the parent pixel.
  Bitmap d = test::Solid(2, 1, 0x01010101);
  CopyTransRect(d, src, 0, 0, {0, 0, 1, 0}, kTransKey, ci, true);
  EXPECT_EQ(d.At(0, 0), 0x40112233u);
  EXPECT_EQ(d.At(1, 0), 0x80ABCDEFu);
  // (1) into the parent itself: opaque pixels copied with alpha 255, transparent ones left.
  CopyTransRect(parent, src, 0, 0, {0, 0, 1, 0}, kTransKey, ci, true);
  EXPECT_EQ(parent.At(0, 0), 0xFF112233u);
  EXPECT_EQ(parent.At(1, 0), 0x80ABCDEFu);
  // (2) ready without update: transparent pixels left.
  Bitmap d2 = test::Solid(2, 1, 0x01010101);
  CopyTransRect(d2, src, 0, 0, {0, 0, 1, 0}, kTransKey, ci, false);
  EXPECT_EQ(d2.At(1, 0), 0x01010101u);
  // (3) not ready: the fill colour with the alpha of pixel (0, 0).
  TCacheInfo fill;
  fill.FillColor = 0x0000FF;
  Bitmap d3 = test::Solid(3, 1, 0x7F000000);
  CopyTransRect(d3, src, 1, 0, {0, 0, 1, 0}, kTransKey, fill, false);
  EXPECT_EQ(d3.At(2, 0), 0x7FFF0000u);
  EXPECT_EQ(d3.At(1, 0), 0x40112233u);
}

TEST(KeyedCopies, CopyByMaskBlendsOverAndRestoresTheParentBehindTheKey) {
  Bitmap src = test::Solid(2, 1, Px(100, 150, 200, 128));
  src.Set(1, 0, kTransKey);
  Bitmap d = test::Solid(2, 1, Px(200, 100, 0, 100));
  CopyByMask({0, 0, 2, 1}, {0, 0, 2, 1}, d, src, {}, false);
  EXPECT_EQ(d.At(0, 0), Px(150, 125, 100, 177));  // 100 + (155 * 128 >> 8)
  EXPECT_EQ(d.At(1, 0), Px(200, 100, 0, 100));
  Bitmap parent = test::Solid(2, 1, 0x00ABCDEF);
  TCacheInfo ci;
  ci.Bmp = &parent;
  ci.Ready = true;
  CopyByMask({0, 0, 2, 1}, {0, 0, 2, 1}, d, src, ci, true);
  EXPECT_EQ(d.At(1, 0), 0xFFABCDEFu);
}

}  // namespace
}  // namespace skin::paint
