#include "skin/frame/acDisabledVeil.h"

#include <algorithm>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Region.h"
#include "platform/win/Paint.h"
#include "platform/win/Window.h"
#include "skin/frame/acAnimation.h"
#include "skin/paint/sBlur.h"
#include "skin/paint/sGraphUtils.h"

namespace skin::frame {

void TacDisabledVeil::Update(win::HWND form, bool disabled, fw::TColor color, int blendValue,
                             bool blurred) {
  blendValue = std::clamp(blendValue, 0, 255);
  if (!disabled || (blendValue >= 255 && !blurred) || !win::IsWindow(form) ||
      !win::IsWindowVisible(form) || win::IsIconic(form)) {
    Free();
    return;
  }
  win::RECT r{};
  win::GetWindowRect(form, &r);
  if (r.Width() <= 0 || r.Height() <= 0) {
    Free();
    return;
  }
  gfx::Bitmap veil;
  int opacity = 255 - blendValue;
  if (blurred) {
    // What lies under the veil is the form's own picture (the veil is placed right above it);
    // the platform has no blur-behind, so it is taken whenever the veil is placed.
    veil = WindowImage(form);
    paint::Blur32(veil, acVeilBlurRadius);
    if (blendValue < 255)
      paint::BlendColorRect(veil, {0, 0, veil.Width() - 1, veil.Height() - 1}, blendValue,
                            paint::TColor(fw::ColorToRGB(color)));
    opacity = 255;
  } else {
    veil = gfx::Bitmap(r.Width(), r.Height());
    veil.Fill(gfx::PixelFromColor(fw::ColorToRGB(color), 255));
  }
  if (!FWnd) FWnd = std::make_unique<core::TacGlowForm>(false);
  FWnd->ShowPicture(veil, {r.Left, r.Top}, opacity, form);
  // Cut as the form is, so the desktop beside its corners stays unveiled.
  gfx::Region rgn;
  const bool cut = win::GetWindowRgn(form, &rgn) != gfx::RGN_ERROR;
  win::SetWindowRgn(FWnd->Handle(), cut ? &rgn : nullptr, true);
}

}  // namespace skin::frame
