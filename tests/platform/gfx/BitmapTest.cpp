#include "platform/gfx/Bitmap.h"

#include <gtest/gtest.h>

#include "platform/gfx/GraphicsError.h"

namespace gfx {
namespace {

TEST(Bitmap, CreationIsZeroFilledAndRespectsStride) {
  Bitmap b(3, 2, 20);
  EXPECT_EQ(b.Width(), 3);
  EXPECT_EQ(b.Height(), 2);
  EXPECT_EQ(b.Stride(), 20);
  EXPECT_EQ(b.Row(1), reinterpret_cast<Pixel*>(b.Bits() + 20));
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(b.At(x, y), 0u);
  EXPECT_TRUE(Bitmap(0, 5).Empty());
}

TEST(Bitmap, RejectsAbsurdSizesAndBadStrides) {
  EXPECT_THROW(Bitmap(-1, 1), GraphicsError);
  EXPECT_THROW(Bitmap(40000, 1), GraphicsError);
  EXPECT_THROW(Bitmap(20000, 20000), GraphicsError);
  EXPECT_THROW(Bitmap(4, 1, 12), GraphicsError);
  EXPECT_THROW(Bitmap(4, 1, 18), GraphicsError);
}

TEST(Bitmap, SubRectangleCopiesClipOnBothSides) {
  Bitmap src(4, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) src.Set(x, y, Pixel(y * 10 + x));
  Bitmap part = src.Copy({2, 1, 9, 3});
  ASSERT_EQ(part.Width(), 2);
  ASSERT_EQ(part.Height(), 2);
  EXPECT_EQ(part.At(0, 0), 12u);
  EXPECT_EQ(part.At(1, 1), 23u);

  Bitmap dst(3, 3, 16);
  dst.Fill(0xFFFFFFFF);
  // The start moves by 2 columns (the target's left edge) and 1 row (the source's top edge).
  dst.CopyFrom(src, {-1, -1, 3, 3}, {-2, 1});
  EXPECT_EQ(dst.At(0, 1), 0xFFFFFFFFu);
  EXPECT_EQ(dst.At(0, 2), 1u);  // source (1, 0)
  EXPECT_EQ(dst.At(1, 2), 2u);
  EXPECT_EQ(dst.At(2, 2), 0xFFFFFFFFu);  // the source rectangle ends at column 3
}

TEST(Bitmap, OverlappingCopyWithinOneBitmap) {
  Bitmap b(1, 4);
  for (int y = 0; y < 4; ++y) b.Set(0, y, Pixel(y + 1));
  b.CopyFrom(b, {0, 0, 1, 3}, {0, 1});
  EXPECT_EQ(b.At(0, 0), 1u);
  EXPECT_EQ(b.At(0, 1), 1u);
  EXPECT_EQ(b.At(0, 2), 2u);
  EXPECT_EQ(b.At(0, 3), 3u);
}

}  // namespace
}  // namespace gfx
