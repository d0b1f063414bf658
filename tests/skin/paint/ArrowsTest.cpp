// Arrows and focus marks as exact pixel masks, at 100 percent and scaled.
#include <fstream>
#include <string>
#include <vector>

#include "PaintTestUtil.h"
#include "TestOutput.h"
#include "platform/gfx/PictureCodec.h"
#include "skin/paint/sGraphUtils.h"

namespace skin::paint {
namespace {

using Mask = std::vector<std::string>;

// Each pixel of bmp's area r: '.' alpha 0, 'X' alpha 254 or more, 'o' in between.
Mask AlphaMask(const Bitmap& bmp, const TRect& r) {
  Mask out;
  for (int y = r.Top; y < r.Bottom; ++y) {
    std::string row;
    for (int x = r.Left; x < r.Right; ++x) {
      std::uint32_t a = bmp.At(x, y) >> 24;
      row += a == 0 ? '.' : a >= 254 ? 'X' : 'o';
    }
    out.push_back(row);
  }
  return out;
}

// Each pixel of bmp's area r: 'X' equal to p, '.' otherwise.
Mask WordMask(const Bitmap& bmp, const TRect& r, std::uint32_t p) {
  Mask out;
  for (int y = r.Top; y < r.Bottom; ++y) {
    std::string row;
    for (int x = r.Left; x < r.Right; ++x) row += bmp.At(x, y) == p ? 'X' : '.';
    out.push_back(row);
  }
  return out;
}

// The picture's extent: the rectangle of pixels with alpha.
TRect InkBox(const Bitmap& bmp) {
  TRect box{bmp.Width(), bmp.Height(), 0, 0};
  for (int y = 0; y < bmp.Height(); ++y)
    for (int x = 0; x < bmp.Width(); ++x)
      if (bmp.At(x, y) >> 24) {
        box.Left = std::min(box.Left, x), box.Top = std::min(box.Top, y);
        box.Right = std::max(box.Right, x + 1), box.Bottom = std::max(box.Bottom, y + 1);
      }
  return box;
}

// The arrow sizes of a scale, restored afterwards.
class ArrowScale : public ::testing::Test {
 protected:
  void TearDown() override {
    acArrowSize = 5, acLineWidth = 2, ac_ArrowWidth = 7, ac_ArrowHeight = 4;
  }
  static void At150() { acArrowSize = 8, acLineWidth = 3, ac_ArrowWidth = 11, ac_ArrowHeight = 6; }
};

using DrawArrowTest = ArrowScale;

TEST_F(DrawArrowTest, SolidOddWidthIsANineByFiveTriangleWithOnePixelPoint) {
  Bitmap b(21, 15);
  DrawArrow(b, 0x0000FF, clNone, {0, 0, 21, 15}, asBottom, 0, 0, 0, arsSolid1);
  // Centred: x = (21 - 9) / 2 = 6, y = (15 - 5) / 2 = 5.
  EXPECT_EQ(InkBox(b), (TRect{6, 5, 15, 10}));
  EXPECT_EQ(AlphaMask(b, {6, 5, 15, 10}), (Mask{"XXXXXXXXX",  //
                                                "oXXXXXXXo",  //
                                                ".oXXXXXo.",  //
                                                "..oXXXo..",  //
                                                "...oXo..."}));
  // Opaque pixels take the colour (composited over black with weight 255).
  EXPECT_EQ(b.At(10, 5), 0xFEFE0000u);
}

TEST_F(DrawArrowTest, SolidEvenWidthHasATwoPixelPoint) {
  Bitmap b(20, 14);
  DrawArrow(b, 0x00FF00, clNone, {0, 0, 20, 14}, asBottom, 0, 0, 0, arsSolid1);
  EXPECT_EQ(InkBox(b), (TRect{6, 5, 14, 9}));
  EXPECT_EQ(AlphaMask(b, {6, 5, 14, 9}), (Mask{"XXXXXXXX",  //
                                               "oXXXXXXo",  //
                                               ".oXXXXo.",  //
                                               "..oXXo.."}));
}

TEST_F(DrawArrowTest, DirectionsTurnTheDownwardPicture) {
  Bitmap down(21, 21), up(21, 21), left(21, 21), right(21, 21);
  const TRect r{0, 0, 21, 21};
  DrawArrow(down, 0xFF, clNone, r, asBottom, 0, 0, 0, arsSolid1);
  DrawArrow(up, 0xFF, clNone, r, asTop, 0, 0, 0, arsSolid1);
  DrawArrow(left, 0xFF, clNone, r, asLeft, 0, 0, 0, arsSolid1);
  DrawArrow(right, 0xFF, clNone, r, asRight, 0, 0, 0, arsSolid1);
  Mask d = AlphaMask(down, {6, 8, 15, 13});
  EXPECT_EQ(AlphaMask(up, {6, 8, 15, 13}), (Mask{d.rbegin(), d.rend()}));
  // Left: the base on the right, the point on the left.
  EXPECT_EQ(AlphaMask(left, {8, 6, 13, 15}), (Mask{"...oX",  //
                                                   "..oXX",  //
                                                   ".oXXX",  //
                                                   "oXXXX",  //
                                                   "XXXXX",  //
                                                   "oXXXX",  //
                                                   ".oXXX",  //
                                                   "..oXX",  //
                                                   "...oX"}));
  Mask l = AlphaMask(left, {8, 6, 13, 15}), rt = AlphaMask(right, {8, 6, 13, 15});
  for (std::size_t i = 0; i < l.size(); ++i)
    EXPECT_EQ(rt[i], std::string(l[i].rbegin(), l[i].rend()));
}

TEST_F(DrawArrowTest, HalfHeightSolidStyleAddsOneOnEvenWidths) {
  Bitmap odd(21, 15), even(20, 14);
  DrawArrow(odd, 0xFF, clNone, {0, 0, 21, 15}, asBottom, 0, 0, 0, arsSolid2);
  DrawArrow(even, 0xFF, clNone, {0, 0, 20, 14}, asBottom, 0, 0, 0, arsSolid2);
  // Odd: A = 4, h = 4 - 2 + 1 = 3, w = 9. Even: A = 5, h = 5 - 2 = 3, w = 10.
  EXPECT_EQ(InkBox(odd), (TRect{6, 6, 15, 9}));
  EXPECT_EQ(InkBox(even), (TRect{5, 5, 15, 8}));
  EXPECT_EQ(AlphaMask(even, {5, 5, 15, 8}), (Mask{"XXXXXXXXXX",  //
                                                  "ooXXXXXXoo",  //
                                                  "..ooXXoo.."}));
}

TEST_F(DrawArrowTest, LineStyleWithoutFillDrawsOnlyTwoStrokes) {
  Bitmap b(13, 8);
  DrawArrow(b, 0x000000, clNone, {0, 0, 13, 8}, asBottom, 7, 0, 0, arsLines1);
  // Strokes (1, 1) to (6, 6) and (6, 6) to (11, 1), two pixels wide.
  Mask m = AlphaMask(b, {0, 0, 13, 8});
  for (int i = 1; i <= 6; ++i) EXPECT_EQ(m[i][i], 'X') << i;
  for (int i = 6; i <= 11; ++i) EXPECT_EQ(m[12 - i][i], 'X') << i;
  int full = 0;
  for (const auto& row : m) full += int(std::count(row.begin(), row.end(), 'X'));
  EXPECT_EQ(full, 11);
  // Inside the chevron and beyond the strokes stays transparent.
  for (TPoint p : {TPoint{6, 1}, TPoint{6, 2}, TPoint{0, 5}, TPoint{12, 5}, TPoint{3, 7}})
    EXPECT_EQ(m[p.Y][p.X], '.') << p.X << "," << p.Y;
}

TEST_F(DrawArrowTest, LineStyleWithFillFillsUnderTheStrokes) {
  Bitmap b(13, 8);
  DrawArrow(b, 0x000000, 0x00FF00, {0, 0, 13, 8}, asBottom, 0, 0, 0, arsLines1);
  // Under the strokes the polygon (1,1) (6,6) (6,6) (11,1) is green.
  EXPECT_EQ(b.At(6, 2), 0xFE00FE00u);
  EXPECT_EQ(b.At(6, 6), 0xFE000000u);  // the stroke's middle is Color1
  EXPECT_EQ(b.At(0, 7) >> 24, 0u);
}

TEST_F(DrawArrowTest, ScaledSizes) {
  At150();
  Bitmap b(31, 21);
  DrawArrow(b, 0xFF, clNone, {0, 0, 31, 21}, asBottom, 0, 0, 0, arsSolid1);
  // A = 8 - 1 = 7: a 15 x 8 triangle.
  ASSERT_EQ(InkBox(b), (TRect{8, 6, 23, 14}));
  Mask m = AlphaMask(b, InkBox(b));
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 15; ++x) EXPECT_EQ(m[y][x] == 'X', x >= y && x <= 14 - y) << x << "," << y;
}

TEST_F(DrawArrowTest, BadSizesDrawNothing) {
  Bitmap b = test::Solid(9, 9, 0);
  for (int size : {-3, 1, 2000})
    DrawArrow(b, 0xFF, clNone, {0, 0, 9, 9}, asBottom, 0, 0, size, arsSolid1);
  EXPECT_EQ(InkBox(b).Width(), -9);  // nothing inked
  Bitmap empty;
  DrawArrow(empty, 0xFF, clNone, {0, 0, 9, 9}, asBottom, 0, 0, 0, arsSolid1);
}

TEST_F(DrawArrowTest, EveryStyleDirectionAndScaleIsSymmetric) {
  // A sheet of every style (rows) and direction (columns) at 100 and 150 percent, written for
  // people to look at; solid arrows in odd cells must be mirror images of themselves.
  constexpr int kCell = 25;
  Bitmap sheet(8 * kCell, 4 * kCell);
  sheet.Fill(0xFFFFFFFF);
  for (int scale = 0; scale < 2; ++scale) {
    if (scale) At150();
    for (int style = 0; style < 4; ++style)
      for (int dir = 0; dir < 4; ++dir) {
        Bitmap cell(kCell, kCell);
        DrawArrow(cell, 0x303030, 0x80C0FF, {0, 0, kCell, kCell}, TacSide(dir), 0, 0, 0,
                  TacArrowsStyle(style));
        Mask m = AlphaMask(cell, cell.Bounds());
        if (style == arsSolid1 || style == arsSolid2) {
          for (int y = 0; y < kCell; ++y)
            for (int x = 0; x < kCell; ++x) {
              bool across = dir == asTop || dir == asBottom;
              char mirror = across ? m[y][kCell - 1 - x] : m[kCell - 1 - y][x];
              ASSERT_EQ(m[y][x], mirror)
                  << scale << " " << style << " " << dir << " " << x << "," << y;
            }
        }
        PaintBmpRect32(sheet, cell, cell.Bounds(), {(scale * 4 + dir) * kCell, style * kCell});
      }
  }
  auto png = gfx::EncodePng(sheet);
  std::ofstream(tests::OutputFolder() / "arrows.png", std::ios::binary)
      .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
}

using ColorArrowTest = ArrowScale;

TEST_F(ColorArrowTest, BitmapFormRowsAndColumns) {
  const std::uint32_t w = SwapRedBlue(0x80123456);
  Bitmap down(11, 8), up(11, 8), left(8, 11), right(8, 11);
  DrawColorArrow(down, TColor(0x80123456), {0, 0, 11, 8}, asBottom);
  DrawColorArrow(up, TColor(0x80123456), {0, 0, 11, 8}, asTop);
  DrawColorArrow(right, TColor(0x80123456), {0, 0, 8, 11}, asRight);
  DrawColorArrow(left, TColor(0x80123456), {0, 0, 8, 11}, asLeft);
  // LeftPos = (11 - 7) / 2 = 2, TopPos = (8 - 4) / 2 = 2.
  EXPECT_EQ(WordMask(down, down.Bounds(), w), (Mask{"...........",  //
                                                    "...........",  //
                                                    "..XXXXXXX..",  //
                                                    "...XXXXX...",  //
                                                    "....XXX....",  //
                                                    ".....X.....",  //
                                                    "...........",  //
                                                    "..........."}));
  Mask d = WordMask(down, down.Bounds(), w);
  EXPECT_EQ(WordMask(up, up.Bounds(), w), (Mask{d[0], d[1], d[5], d[4], d[3], d[2], d[6], d[7]}));
  // LeftPos = (8 - 4) / 2 = 2, TopPos = (11 - 7) / 2 = 2; rows 0..7 from TopPos.
  EXPECT_EQ(WordMask(right, right.Bounds(), w), (Mask{"........",  //
                                                      "........",  //
                                                      "..X.....",  //
                                                      "..XX....",  //
                                                      "..XXX...",  //
                                                      "..XXXX..",  //
                                                      "..XXX...",  //
                                                      "..XX....",  //
                                                      "..X.....",  //
                                                      "........",  //
                                                      "........"}));
  EXPECT_EQ(WordMask(left, left.Bounds(), w), (Mask{"........",  //
                                                    "........",  //
                                                    "........",  //
                                                    ".....X..",  //
                                                    "....XX..",  //
                                                    "...XXX..",  //
                                                    "..XXXX..",  //
                                                    "...XXX..",  //
                                                    "....XX..",  //
                                                    ".....X..",  //
                                                    "........"}));
}

TEST_F(ColorArrowTest, BitmapFormDrawsNothingWhenTheTriangleDoesNotFit) {
  Bitmap b = test::Solid(9, 6, 0);
  DrawColorArrow(b, 0xFF, {0, 0, 9, 6}, asBottom);  // LeftPos + 7 = 8 < 9, TopPos + 4 = 5 < 6
  EXPECT_EQ(b.At(1, 1), 0x00FF0000u);
  for (TRect r : {TRect{-2, 0, 7, 6}, TRect{2, 1, 11, 7}, TRect{3, 0, 10, 4}}) {
    Bitmap c = test::Solid(9, 6, 0);
    DrawColorArrow(c, 0xFF, r, asBottom);
    DrawColorArrow(c, 0xFF, r, asLeft);
    EXPECT_EQ(WordMask(c, c.Bounds(), 0), Mask(6, std::string(9, 'X')));
    EXPECT_TRUE(test::PaddingIntact(c));
  }
}

TEST_F(ColorArrowTest, ScaledBitmapForm) {
  At150();
  Bitmap b(15, 10);
  DrawColorArrow(b, 0xFFFFFF, {0, 0, 15, 10}, asBottom);  // 11, 9, 7, 5, 3, 1 from (2, 2)
  Mask m = WordMask(b, b.Bounds(), 0x00FFFFFF);
  for (int y = 0; y < 6; ++y)
    EXPECT_EQ(m[2 + y],
              std::string(2 + y, '.') + std::string(11 - 2 * y, 'X') + std::string(2 + y, '.'));
}

TEST_F(ColorArrowTest, CanvasFormRightInASixteenSquare) {
  Bitmap b(16, 16);
  gfx::DeviceContext dc(b);
  DrawColorArrow(&dc, 0x0000FF, {0, 0, 16, 16}, asRight);
  // Left = 6, Top = 4: columns 6..10 with 9, 7, 5, 3, 1 pixels.
  Mask m = WordMask(b, b.Bounds(), 0x00FF0000);
  for (int x = 0; x < 16; ++x) {
    int n = 0, top = -1;
    for (int y = 0; y < 16; ++y)
      if (m[y][x] == 'X') {
        ++n;
        if (top < 0) top = y;
      }
    int k = x - 6;
    EXPECT_EQ(n, k >= 0 && k <= 4 ? 9 - 2 * k : 0) << x;
    if (n) {
      EXPECT_EQ(top, 4 + k);
    }
  }
}

TEST_F(ColorArrowTest, CanvasFormDownAndUpScaled) {
  for (bool scaled : {false, true}) {
    if (scaled) At150();
    const int w = ac_ArrowWidth, h = ac_ArrowHeight;
    Bitmap down(20, 20), up(20, 20);
    gfx::DeviceContext dd(down), du(up);
    DrawColorArrow(&dd, 0xFFFFFF, {0, 0, 20, 20}, asBottom);
    DrawColorArrow(&du, 0xFFFFFF, {0, 0, 20, 20}, asTop);
    int left = (20 - w) / 2 - 1, top = (20 - h) / 2 - 1;
    Mask md = WordMask(down, down.Bounds(), 0x00FFFFFF), mu = WordMask(up, up.Bounds(), 0x00FFFFFF);
    for (int k = 0; k <= h; ++k) {
      std::string row = std::string(left + k, '.') + std::string(w + 2 - 2 * k, 'X') +
                        std::string(20 - left - w - 2 + k, '.');
      EXPECT_EQ(md[top + k], row) << scaled << " " << k;
      EXPECT_EQ(mu[top + h - k], row) << scaled << " " << k;
    }
    EXPECT_EQ(md[top - 1], std::string(20, '.'));
    EXPECT_EQ(md[top + h + 1], std::string(20, '.'));
  }
}

TEST(FocusRectTest, LightDotsOnOddOffsetsOnly) {
  Bitmap b = test::Solid(14, 10, 0);
  gfx::DeviceContext dc(b);
  FocusRect(&dc, {2, 2, 12, 8}, 0xFFFFFF, clNone);
  EXPECT_EQ(WordMask(b, b.Bounds(), 0x00FFFFFF), (Mask{"..............",  //
                                                       "..............",  //
                                                       "...X.X.X.X.X..",  //
                                                       "..X........X..",  //
                                                       "..............",  //
                                                       "..X........X..",  //
                                                       "..............",  //
                                                       "..XX.X.X.X.X..",  //
                                                       "..............",  //
                                                       ".............."}));
}

TEST(FocusRectTest, DarkDotsStayInsideTheRectangle) {
  Bitmap b = test::Solid(14, 10, 0);
  gfx::DeviceContext dc(b);
  FocusRect(&dc, {2, 2, 12, 8}, 0x0000FF, 0x00FF00);
  Mask m = WordMask(b, b.Bounds(), 0x0000FF00);
  EXPECT_EQ(m[2], "....X.X.X.X...");  // offsets 2..8; offset 10 is past the rectangle
  EXPECT_EQ(m[7], "....X.X.X.X...");
  EXPECT_EQ(m[4], "..X........X..");
  EXPECT_EQ(m[6], "..X........X..");
  EXPECT_EQ(m[8], "..............");
  EXPECT_EQ(b.At(2, 2), 0u);  // the corner itself is never set
}

TEST(FocusRectTest, HugeRectanglesOnlyWalkWhatShows) {
  Bitmap b = test::Solid(8, 8, 0);
  gfx::DeviceContext dc(b);
  FocusRect(&dc, {-1000000001, -1000000001, 1000000001, 3}, 0xFFFFFF, clNone);
  EXPECT_EQ(WordMask(b, b.Bounds(), 0x00FFFFFF)[2], "X.X.X.X.");
}

}  // namespace
}  // namespace skin::paint
