// The face of a push button without a skin.
#include <gtest/gtest.h>

#include "framework/Colors.h"
#include "platform/win/SystemMetrics.h"
#include "skin/draw/sStdButton.h"

namespace skin::draw {
namespace {

constexpr fw::TColor kWindowFrame = fw::clSystemColor | win::COLOR_WINDOWFRAME;

std::uint32_t Word(fw::TColor c) {
  gfx::COLORREF v = fw::ColorToRGB(c);
  return (v & 0xFF) << 16 | (v & 0xFF00) | (v >> 16 & 0xFF);
}

struct Face {
  gfx::Bitmap bmp{30, 20};
  gfx::DeviceContext dc{bmp};
  fw::TCanvas canvas;
  Face() {
    bmp.Fill(0xFF123456);
    canvas.SetHandle(&dc);
    canvas.BrushColor = fw::clRed;
  }
  ~Face() { canvas.SetHandle(nullptr); }
};

TEST(StdButton, StatesFrameTheFaceAndGiveTheContent) {
  const gfx::TRect outer{2, 2, 28, 18};
  Face normal, pressed, def;
  gfx::TRect rn = outer, rp = outer, rd = outer;
  acPaintStdBtn(normal.canvas, rn, true, sbsNormal, false);
  acPaintStdBtn(pressed.canvas, rp, true, sbsPressed, false);
  acPaintStdBtn(def.canvas, rd, true, sbsDefault, false);
  EXPECT_EQ(rn, (gfx::TRect{3, 3, 27, 17}));  // inside the one-pixel bevel
  EXPECT_EQ(rp, (gfx::TRect{3, 3, 27, 17}));
  EXPECT_EQ(rd, (gfx::TRect{4, 4, 26, 16}));  // frame, then bevel
  EXPECT_EQ(normal.bmp.At(2, 2), Word(fw::clBtnHighlight));
  EXPECT_EQ(normal.bmp.At(27, 17), Word(fw::clBtnShadow));
  EXPECT_EQ(normal.bmp.At(10, 10), Word(fw::clBtnFace));
  EXPECT_EQ(pressed.bmp.At(2, 2), Word(fw::clBtnShadow));
  EXPECT_EQ(pressed.bmp.At(27, 2), Word(fw::clBtnShadow));
  EXPECT_EQ(pressed.bmp.At(10, 10), Word(fw::clBtnFace));
  EXPECT_EQ(def.bmp.At(2, 2), Word(kWindowFrame));
  EXPECT_EQ(def.bmp.At(3, 3), Word(fw::clBtnHighlight));
  for (Face* f : {&normal, &pressed, &def}) {
    EXPECT_EQ(f->bmp.At(1, 1), 0xFF123456u);
    EXPECT_EQ(f->bmp.At(28, 18), 0xFF123456u);
    EXPECT_EQ(f->canvas.BrushColor, fw::clRed);
  }
}

TEST(StdButton, FocusFrameIsDottedFourPixelsInside) {
  Face f;
  gfx::TRect r{0, 0, 30, 20};
  acPaintStdBtn(f.canvas, r, true, sbsHot, true);
  // Focus frame on (4, 4, 26, 16): dots on the odd offsets in the window-frame colour.
  EXPECT_EQ(f.bmp.At(5, 4), Word(kWindowFrame));
  EXPECT_EQ(f.bmp.At(4, 5), Word(kWindowFrame));
  EXPECT_EQ(f.bmp.At(25, 7), Word(kWindowFrame));
  EXPECT_EQ(f.bmp.At(10, 10), Word(fw::clBtnFace));
  EXPECT_EQ(f.bmp.At(3, 3), Word(fw::clBtnFace));
}

}  // namespace
}  // namespace skin::draw
