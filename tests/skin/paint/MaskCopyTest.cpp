// Worked examples of the copies through a skin image's mask.
#include "PaintTestUtil.h"
#include "skin/paint/sAlphaGraph.h"

namespace skin::paint {
namespace {

using test::Px;

// A 2 x 1 picture over a 2 x 1 mask (one image, MaskType 1).
struct MaskedImage {
  Bitmap bmp = test::Padded(2, 2);
  TsMaskData md;
  MaskedImage(std::uint32_t p0, std::uint32_t p1, std::uint32_t m0, std::uint32_t m1) {
    md.Bmp = &bmp;
    md.R = {0, 0, 2, 2};
    md.MaskType = 1;
    bmp.Set(0, 0, p0);
    bmp.Set(1, 0, p1);
    bmp.Set(0, 1, m0);
    bmp.Set(1, 1, m1);
  }
};

TCacheInfo ReadyParent(const Bitmap& parent) {
  TCacheInfo ci;
  ci.Bmp = &parent;
  ci.Ready = true;
  return ci;
}

TEST(MaskCopies, PerChannelMaskWeighsTheDestination) {
  MaskedImage img(Px(100, 100, 100, 9), kTransKey, Px(64, 0, 255, 0), Px(0, 0, 0, 0));
  Bitmap d = test::Solid(2, 1, Px(200, 200, 200, 50));
  CopyByMask({0, 0, 2, 1}, {0, 0, 2, 1}, d, img.bmp, {}, false, img.md);
  EXPECT_EQ(d.At(0, 0), Px(125, 100, 199, 50));  // ((d - s) * m + s * 256) >> 8
  EXPECT_EQ(d.At(1, 0), Px(200, 200, 200, 50));  // transparent, no update: left

  Bitmap parent = test::Solid(2, 1, 0x12345678);
  Bitmap d2 = test::Solid(2, 1, Px(200, 200, 200, 50));
  CopyByMask({0, 0, 2, 1}, {0, 0, 2, 1}, d2, img.bmp, ReadyParent(parent), true, img.md);
  EXPECT_EQ(d2.At(1, 0), 0xFF345678u);  // the parent pixel, made opaque
  EXPECT_EQ(d2.At(0, 0), Px(125, 100, 199, 255));

  TCacheInfo fill;
  fill.FillColor = 0x0000FF;
  Bitmap d3 = test::Solid(2, 1, Px(200, 200, 200, 50));
  CopyByMask({0, 0, 2, 1}, {0, 0, 2, 1}, d3, img.bmp, fill, true, img.md);
  EXPECT_EQ(d3.At(1, 0), 0x00FF0000u);
}

TEST(MaskCopies, ThirtyTwoBitMaskSetsAlphaByTheMask) {
  MaskedImage img(Px(100, 100, 100, 0), kTransKey, Px(0, 0, 64, 0), 0);
  for (auto [da, want] : {std::pair{0u, 191u}, {100u, 191u}, {200u, 200u}, {255u, 255u}}) {
    Bitmap d = test::Solid(2, 1, Px(200, 200, 200, int(da)));
    CopyByMask32({0, 0, 2, 1}, {0, 0, 2, 1}, d, img.bmp, {}, img.md);
    EXPECT_EQ(d.At(0, 0), Px(124, 124, 124, int(want))) << da;
    EXPECT_EQ(d.At(1, 0), Px(200, 200, 200, 0));  // transparent without parent: alpha 0
  }
  Bitmap parent = test::Solid(1, 1, 0x0BADF00D);
  Bitmap d = test::Solid(2, 1, 0);
  CopyByMask32({0, 0, 2, 1}, {0, 0, 2, 1}, d, img.bmp, ReadyParent(parent), img.md);
  EXPECT_EQ(d.At(1, 0), 0u);  // the parent pixel lies outside the parent: alpha 0
  TCacheInfo shifted = ReadyParent(parent);
  shifted.X = -1;
  CopyByMask32({0, 0, 2, 1}, {0, 0, 2, 1}, d, img.bmp, shifted, img.md);
  EXPECT_EQ(d.At(1, 0), 0x0BADF00Du);
}

TEST(MaskCopies, OpacityScalesThePictureWeight) {
  MaskedImage img(Px(100, 100, 100, 0), Px(100, 100, 100, 0), Px(0, 0, 64, 0), Px(0, 0, 64, 0));
  Bitmap d = test::Solid(2, 1, Px(200, 200, 200, 0));
  d.Set(1, 0, Px(200, 200, 200, 100));
  CopyByMask32Ex({0, 0, 2, 1}, {0, 0, 2, 1}, d, img.bmp, {}, img.md, 128);
  // w = 128 * 191 >> 8 = 95; (200 * 160 + 100 * 95) >> 8 = 162.
  EXPECT_EQ(d.At(0, 0), Px(162, 162, 162, 95));
  EXPECT_EQ(d.At(1, 0), Px(162, 162, 162, 191));
  Bitmap parent = test::Solid(2, 1, 0);
  Bitmap e = test::Solid(2, 1, Px(200, 200, 200, 0));
  CopyByMask32Ex({0, 0, 2, 1}, {0, 0, 2, 1}, e, img.bmp, ReadyParent(parent), img.md, 128);
  EXPECT_EQ(e.At(0, 0), Px(162, 162, 162, 191));
}

TEST(MaskCopies, GlyphBlendAddsCoverageAndCanBeLightened) {
  MaskedImage img(Px(100, 100, 100, 0), Px(100, 100, 100, 0), Px(64, 64, 64, 0), Px(0, 0, 255, 0));
  Bitmap d = test::Solid(2, 1, Px(200, 200, 200, 0));
  BlendGlyphByMask({0, 0, 2, 1}, {0, 0, 2, 1}, d, img.bmp, 1, img.md);
  EXPECT_EQ(d.At(0, 0), Px(125, 125, 125, 190));  // alpha 0 + 255 * 191 >> 8
  EXPECT_EQ(d.At(1, 0), Px(200, 200, 200, 0));    // mask red 255: skipped
  Bitmap light = test::Solid(1, 1, Px(200, 200, 200, 0));
  BlendGlyphByMask({0, 0, 1, 1}, {0, 0, 1, 1}, light, img.bmp, 0, img.md);
  EXPECT_EQ(light.At(0, 0), Px(164, 164, 164, 190));  // mask raised by 100
}

TEST(MaskCopies, UnmaskedGlyphCopiesExactlyItsArea) {
  // The fallback keyed copy takes inclusive edges; the area r2 must not grow by a column/row.
  Bitmap src = test::Solid(3, 3, 0xFF010203);
  TsMaskData md;
  md.Bmp = &src;
  md.R = {0, 0, 3, 3};
  md.MaskType = 0;
  Bitmap d = test::Solid(3, 3, 0);
  BlendGlyphByMask({0, 0, 2, 2}, {0, 0, 2, 2}, d, src, 1, md);
  EXPECT_EQ(d.At(1, 1), 0xFF010203u);
  EXPECT_EQ(d.At(2, 1), 0u);
  EXPECT_EQ(d.At(1, 2), 0u);
}

TEST(MaskCopies, GlyphsBlendWithWeightTintAndReflection) {
  Bitmap src = test::Solid(1, 2, Px(100, 100, 100, 128));
  Bitmap d = test::Solid(1, 4, Px(200, 200, 200, 50));
  CopyBmp32({0, 0, 1, 2}, {0, 0, 1, 2}, d, src, {}, false, clNone, 0, false);
  EXPECT_EQ(d.At(0, 0), Px(150, 150, 150, 128));
  Bitmap e = test::Solid(1, 1, Px(200, 200, 200, 50));
  CopyBmp32({0, 0, 1, 1}, {0, 0, 1, 1}, e, src, {}, false, clNone, 50, false);
  EXPECT_EQ(e.At(0, 0), Px(175, 175, 175, 50));  // k = 128, w = 64, alpha kept

  // Tint RGB(0, 0, 128): raised to (127, 127, 255); grey of (R 200, G 100, B 40) is 110.
  Bitmap g = test::Solid(1, 1, Px(40, 100, 200, 255));
  Bitmap t = test::Solid(1, 1, 0);
  CopyBmp32({0, 0, 1, 1}, {0, 0, 1, 1}, t, g, {}, false, 0x800000, 0, false);
  EXPECT_EQ(t.At(0, 0), Px(108, 53, 53, 255));

  // A faint pixel is not drawn over a ready parent; with update it takes the parent pixel.
  Bitmap faint = test::Solid(1, 1, Px(1, 2, 3, 16));
  Bitmap parent = test::Solid(1, 1, 0xCAFEBABE);
  Bitmap f = test::Solid(1, 1, 0);
  CopyBmp32({0, 0, 1, 1}, {0, 0, 1, 1}, f, faint, ReadyParent(parent), false, clNone, 0, false);
  EXPECT_EQ(f.At(0, 0), 0u);
  CopyBmp32({0, 0, 1, 1}, {0, 0, 1, 1}, f, faint, ReadyParent(parent), true, clNone, 0, false);
  EXPECT_EQ(f.At(0, 0), 0xCAFEBABEu);

  // Reflection of a 4-row glyph: two mirrored rows, fading to nothing.
  Bitmap tall = test::Solid(1, 4, Px(0, 0, 0, 255));
  Bitmap r = test::Padded(1, 7);
  r.Fill(Px(200, 200, 200, 255));
  CopyBmp32({0, 0, 1, 4}, {0, 0, 1, 4}, r, tall, {}, false, clNone, 0, true);
  // Row 4 mirrors source row 3: w = 255 * (2 - 1) / 2 * 255 >> 9 = 63.
  EXPECT_EQ(r.At(0, 4), Px(150, 150, 150, 255));
  EXPECT_EQ(r.At(0, 5), Px(200, 200, 200, 255));  // weight 0 for the last mirrored row
  EXPECT_EQ(r.At(0, 6), Px(200, 200, 200, 255));  // beyond half the height
  EXPECT_TRUE(test::PaddingIntact(r));
}

TEST(MaskCopies, MasterRectFillsTransparentPixels) {
  MaskedImage img(Px(100, 100, 100, 0), kTransKey, Px(64, 64, 64, 0), 0);
  Bitmap d = test::Solid(2, 1, Px(200, 200, 200, 7));
  TCacheInfo fill;
  fill.FillColor = 0x000080;
  CopyMasterRect({0, 0, 2, 1}, {0, 0, 2, 1}, d, fill, img.md);
  EXPECT_EQ(d.At(0, 0), Px(125, 125, 125, 7));
  EXPECT_EQ(d.At(1, 0), 0x00800000u);
  Bitmap parent = test::Solid(2, 1, 0x55667788);
  Bitmap e = test::Solid(2, 1, 0);
  CopyMasterRect({0, 0, 2, 1}, {0, 0, 2, 1}, e, ReadyParent(parent), img.md);
  EXPECT_EQ(e.At(1, 0), 0x55667788u);
}

TEST(MaskCopies, AreasAreClippedOnBothSidesTogether) {
  // r1 starts left of the bitmap: the first source column is dropped with it, and the mask
  // rows never leave the source.
  MaskedImage img(Px(10, 10, 10, 0), Px(20, 20, 20, 0), 0, 0);
  Bitmap d = test::Solid(2, 1, 0xFF000000);
  CopyByMask32({-1, 0, 1, 5}, {0, 0, 2, 5}, d, img.bmp, {}, img.md);
  EXPECT_EQ(d.At(0, 0), Px(19, 19, 19, 255));
  EXPECT_EQ(d.At(1, 0), 0xFF000000u);
  EXPECT_TRUE(test::PaddingIntact(d));
}

}  // namespace
}  // namespace skin::paint
