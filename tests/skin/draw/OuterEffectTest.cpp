// A section's outer effect round a control in its parent's picture, pixel by pixel: the outer
// item's frame lies outside the control's rectangle, blended by its mask with the section's
// opacity, cut at the picture's edges, and the control's own rectangle is left alone.
#include <gtest/gtest.h>

#include "DrawTestUtil.h"
#include "skin/draw/sAlphaGraph.h"

namespace skin::draw::test {
namespace {

constexpr std::uint32_t kParent = Px(200, 100, 40);

class OuterEffectTest : public ::testing::Test {
 protected:
  // A section whose outer item is a 10 x 8 frame at (4, 3) of the coordinate master with a
  // black mask (the picture at the full weight of the opacity), slices 3, 2, 4, 1.
  void SetUp() override {
    InitMaster(FModel);
    FItem = AddItem(FModel, RectOfSize(4, 3, 10, 16), 1, 1, 1);
    TsMaskData& md = FModel.ma[std::size_t(FItem)];
    md.WL = 3;
    md.WT = 2;
    md.WR = 4;
    md.WB = 1;
    ClearMask(FModel, md);
    FSection = AddSection(FModel, 0x808080);
    TsGeneralData& gd = FModel.gd[std::size_t(FSection)];
    gd.OuterMode = 1;
    gd.OuterMask = FItem;
    gd.OuterOpacity = 200;
  }
  // The parent's pixel blended with the master's (x, y) at opacity 200 (weight 199).
  static std::uint32_t Blended(int x, int y) {
    const std::uint32_t s = Coord(x, y);
    const int w = 200 * 255 >> 8;
    std::uint32_t out = 0xFF000000;
    for (int c = 0; c < 3; ++c)
      out |= std::uint32_t((Ch(kParent, c) * (255 - w) + Ch(s, c) * w) >> 8) << (8 * c);
    return out;
  }

  TacSkinModel FModel;
  int FItem = -1, FSection = -1;
};

TEST_F(OuterEffectTest, TheFrameLiesRoundTheControlAndLeavesItAlone) {
  Bitmap bmp(40, 30);
  bmp.Fill(kParent);
  // The control at (10, 8), 12 x 9: the frame covers (7, 6) to (26, 18).
  PaintOuterEffect(bmp, RectOfSize(10, 8, 12, 9), FModel, FSection);
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 40; ++x) {
      const bool inFrame = x >= 7 && x < 26 && y >= 6 && y < 18;
      const bool inControl = x >= 10 && x < 22 && y >= 8 && y < 17;
      if (!inFrame || inControl) {
        ASSERT_EQ(bmp.At(x, y), kParent) << x << "," << y;
        continue;
      }
      // Corners from the frame's corners; the sides stretch the frame's 3 middle columns
      // over 12 and its 5 middle rows over 9 (DrawMode 1).
      int sx = x - 7, sy = y - 6;
      if (x >= 22) sx = 6 + (x - 22);
      if (y >= 17) sy = 7;
      if (x >= 10 && x < 22) sx = 3 + (2 * (x - 10) + 1) * 3 / 24;
      if (y >= 8 && y < 17) sy = 2 + (2 * (y - 8) + 1) * 5 / 18;
      ASSERT_EQ(bmp.At(x, y), Blended(4 + sx, 3 + sy)) << x << "," << y;
    }
  }
}

TEST_F(OuterEffectTest, AFrameBeyondThePictureIsCut) {
  // The control in the top-left corner: the frame's left and top slices lie outside, the rest
  // is drawn as if the picture went on.
  Bitmap bmp(20, 16);
  bmp.Fill(kParent);
  PaintOuterEffect(bmp, RectOfSize(0, 0, 12, 9), FModel, FSection);
  EXPECT_EQ(bmp.At(5, 5), kParent);
  // Right side: column 6 of the frame, a middle row stretched over 9.
  EXPECT_EQ(bmp.At(12, 0), Blended(4 + 6, 3 + 2));
  // Bottom-right corner.
  EXPECT_EQ(bmp.At(15, 9), Blended(4 + 9, 3 + 7));
  EXPECT_EQ(bmp.At(16, 9), kParent);
  EXPECT_EQ(bmp.At(12, 10), kParent);
  // A control beyond the picture changes nothing, nor does one of no size.
  Bitmap other(20, 16);
  other.Fill(kParent);
  PaintOuterEffect(other, RectOfSize(40, 40, 12, 9), FModel, FSection);
  PaintOuterEffect(other, RectOfSize(5, 5, 0, 9), FModel, FSection);
  // Nor one larger than any window, or at the end of the coordinates.
  PaintOuterEffect(other, RectOfSize(-1000000, 2, 2000000, 9), FModel, FSection);
  PaintOuterEffect(other, {2, 2, 2147483640, 2147483640}, FModel, FSection);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_EQ(other.At(x, y), kParent) << x << "," << y;
}

TEST_F(OuterEffectTest, NothingWithoutAnOuterItemOrMode) {
  Bitmap bmp(30, 30);
  bmp.Fill(kParent);
  FModel.gd[std::size_t(FSection)].OuterMode = 0;
  PaintOuterEffect(bmp, RectOfSize(10, 10, 5, 5), FModel, FSection);
  FModel.gd[std::size_t(FSection)].OuterMode = 1;
  FModel.gd[std::size_t(FSection)].OuterMask = -1;
  PaintOuterEffect(bmp, RectOfSize(10, 10, 5, 5), FModel, FSection);
  PaintOuterEffect(bmp, RectOfSize(10, 10, 5, 5), FModel, -1);
  PaintOuterEffect(bmp, RectOfSize(10, 10, 5, 5), FModel, 99);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x) ASSERT_EQ(bmp.At(x, y), kParent) << x << "," << y;
}

}  // namespace
}  // namespace skin::draw::test
