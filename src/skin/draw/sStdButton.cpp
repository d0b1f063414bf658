#include "skin/draw/sStdButton.h"

#include "framework/Button.h"
#include "platform/win/SystemMetrics.h"
#include "skin/paint/sGraphUtils.h"

namespace skin::draw {

namespace {

// The system window-frame colour.
constexpr fw::TColor kWindowFrame = fw::clSystemColor | win::COLOR_WINDOWFRAME;

}  // namespace

void acPaintStdBtn(fw::TCanvas& canvas, gfx::TRect& r, bool /*enabled*/, int state,
                   bool focusRect) {
  if (!canvas.Handle() || r.IsEmpty()) return;
  const gfx::TRect given = r;
  const fw::TColor brush = canvas.BrushColor, pen = canvas.PenColor;
  const fw::TBrushStyle style = canvas.BrushStyle;
  auto shrink = [](gfx::TRect q, int d) {
    return gfx::TRect{q.Left + d, q.Top + d, q.Right - d, q.Bottom - d};
  };
  canvas.BrushStyle = fw::TBrushStyle::bsSolid;
  if (state == sbsDefault) {
    canvas.BrushColor = kWindowFrame;
    canvas.FrameRect(r);
    r = shrink(r, 1);
  }
  if (state == sbsPressed) {
    canvas.BrushColor = fw::clBtnFace;
    canvas.PenColor = fw::clBtnShadow;
    canvas.Rectangle(r);
    r = shrink(r, 1);
  } else {
    // The classic push button; a disabled one looks the same until its caption is drawn.
    canvas.BrushColor = fw::clBtnFace;
    canvas.FillRect(r);
    r = fw::DrawBevel(canvas, r, true);
  }
  if (focusRect)
    skin::paint::FocusRect(canvas.Handle(), shrink(given, 4),
                           skin::paint::TColor(fw::ColorToRGB(kWindowFrame)),
                           skin::paint::TColor(fw::ColorToRGB(fw::clBtnFace)));
  canvas.BrushColor = brush;
  canvas.PenColor = pen;
  canvas.BrushStyle = style;
}

}  // namespace skin::draw
