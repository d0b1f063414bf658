// Border bands filled on a bitmap stay inside their rectangle, however wide they are asked to be.
#include <gtest/gtest.h>

#include "PaintTestUtil.h"
#include "skin/paint/sGraphUtils.h"

namespace skin::paint::test {
namespace {

TEST(BorderBandsTest, BandsWiderThanTheRectangleStopAtItsEdges) {
  Bitmap b = Solid(20, 20, 0x11223344);
  const TRect r{5, 6, 9, 10};  // 4 x 4
  FillDCBorder32(b, r, 7, 9, 6, 8, 0x0000FF);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x)
      ASSERT_EQ(b.At(x, y), r.Contains({x, y}) ? Px(0, 0, 255, 255) : 0x11223344u) << x << "," << y;
  EXPECT_TRUE(PaddingIntact(b));
  // Narrow bands leave the inside alone.
  Bitmap n = Solid(10, 10, 0);
  FillDCBorder32(n, n.Bounds(), 1, 2, 1, 1, 0xFFFFFF);
  EXPECT_EQ(n.At(0, 5), Px(255, 255, 255, 255));
  EXPECT_EQ(n.At(5, 1), Px(255, 255, 255, 255));
  EXPECT_EQ(n.At(5, 5), 0u);
}

}  // namespace
}  // namespace skin::paint::test
