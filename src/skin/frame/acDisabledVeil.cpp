#include "skin/frame/acDisabledVeil.h"

#include <algorithm>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Region.h"
#include "platform/win/Paint.h"
#include "platform/win/Window.h"

namespace skin::frame {

void TacDisabledVeil::Update(win::HWND form, bool disabled, fw::TColor color, int blendValue) {
  if (!disabled || blendValue >= 255 || !win::IsWindow(form) || !win::IsWindowVisible(form) ||
      win::IsIconic(form)) {
    Free();
    return;
  }
  win::RECT r{};
  win::GetWindowRect(form, &r);
  gfx::Bitmap veil(r.Width(), r.Height());
  veil.Fill(gfx::PixelFromColor(fw::ColorToRGB(color), 255));
  if (!FWnd) FWnd = std::make_unique<core::TacGlowForm>(false);
  FWnd->ShowPicture(veil, {r.Left, r.Top}, 255 - std::max(blendValue, 0), form);
  // Cut as the form is, so the desktop beside its corners stays unveiled.
  gfx::Region rgn;
  const bool cut = win::GetWindowRgn(form, &rgn) != gfx::RGN_ERROR;
  win::SetWindowRgn(FWnd->Handle(), cut ? &rgn : nullptr, true);
}

}  // namespace skin::frame
