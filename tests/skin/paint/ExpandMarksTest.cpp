// The tree's expand marks laid over a bitmap: the shapes, the blend of each opacity, the kept
// alpha and the cut at the bitmap's edges.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/paint/sGraphUtils.h"

namespace skin::paint {
namespace {

// Each pixel of a 9 x 9 area at (x, y): '.' unchanged white, '#' darkened by half or more,
// '+' darkened less.
std::vector<std::string> Shape(const Bitmap& bmp, int x, int y) {
  std::vector<std::string> rows;
  for (int j = 0; j < 9; ++j) {
    std::string row;
    for (int i = 0; i < 9; ++i) {
      const int g = int(bmp.At(x + i, y + j) >> 8 & 0xFF);
      row += g == 255 ? '.' : g <= 128 ? '#' : '+';
    }
    rows.push_back(row);
  }
  return rows;
}

Bitmap White(int w, int h) {
  Bitmap bmp(w, h);
  bmp.Fill(gfx::MakePixel(255, 255, 255, 200));
  return bmp;
}

TEST(ExpandMarksTest, ClosedIsAnOutlinedRightArrowAndOpenedAFilledDownArrow) {
  Bitmap closed = White(9, 9), opened = White(9, 9);
  DrawAlphaMask9(closed, 0, 0, BArrayClosed, 0x000000);
  DrawAlphaMask9(opened, 0, 0, BArrayOpened, 0x000000);
  EXPECT_EQ(Shape(closed, 0, 0), (std::vector<std::string>{"..++.....", "..+++....", "..++++...",
                                                           "..+.+++..", "..+..+++.", "..+.+++..",
                                                           "..++++...", "..+++....", "..++....."}));
  EXPECT_EQ(Shape(opened, 0, 0), (std::vector<std::string>{".........", ".....+#..", "....+##..",
                                                           "...+###..", "..+####..", ".+#####..",
                                                           ".######..", ".........", "........."}));
}

TEST(ExpandMarksTest, EachOpacityBlendsTheColourPerChannelAndKeepsAlpha) {
  Bitmap bmp = White(9, 9);
  // Red 0x10, green 0x80, blue 0xF0 over white.
  DrawAlphaMask9(bmp, 0, 0, BArrayOpened, 0xF08010);
  auto expect = [](int c, int alpha) { return (c - 255) * alpha / 256 + 255; };
  const std::uint32_t p = bmp.At(2, 6);  // opacity 239
  EXPECT_EQ(int(p >> 16 & 0xFF), expect(0x10, 239));
  EXPECT_EQ(int(p >> 8 & 0xFF), expect(0x80, 239));
  EXPECT_EQ(int(p & 0xFF), expect(0xF0, 239));
  EXPECT_EQ(p >> 24, 200u);
  // (0x10 - 255) * 80 / 256 = -74.7 truncates toward zero: -74, not -75.
  EXPECT_EQ(int(bmp.At(2, 4) >> 16 & 0xFF), 255 - 74);
  EXPECT_EQ(bmp.At(0, 0), gfx::MakePixel(255, 255, 255, 200));  // opacity 0
}

TEST(ExpandMarksTest, MarksAreCutAtEveryEdge) {
  Bitmap whole = White(20, 20);
  DrawAlphaMask9(whole, 5, 5, BArrayOpened, 0x000000);
  // The same mark partly off a smaller bitmap: each pixel that shows is the whole mark's.
  for (auto [x, y] : {std::pair{-5, 0}, std::pair{0, -5}, std::pair{-5, -5}}) {
    Bitmap part = White(15, 15);
    DrawAlphaMask9(part, x, y, BArrayOpened, 0x000000);
    for (int j = 0; j < 15; ++j)
      for (int i = 0; i < 15; ++i) {
        const int wx = i - x + 5, wy = j - y + 5;
        if (wx < 20 && wy < 20) {
          ASSERT_EQ(part.At(i, j), whole.At(wx, wy)) << i << "," << j;
        }
      }
  }
  Bitmap small = White(4, 4);
  DrawAlphaMask9(small, 1, 1, BArrayOpened, 0x000000);  // mostly outside: no write beyond
  DrawAlphaMask9(small, -100, 100, BArrayOpened, 0x000000);
  EXPECT_EQ(small.At(0, 0), gfx::MakePixel(255, 255, 255, 200));
}

}  // namespace
}  // namespace skin::paint
