// The veil over a disabled skinned form: a layered window over the form's bounds, shown without
// activation while the form is disabled. It is one colour at a constant opacity, or, blurred,
// the form's own picture blurred with that colour over it.
#pragma once

#include <memory>

#include "framework/Colors.h"
#include "platform/win/Window.h"
#include "skin/core/acGlow.h"

namespace skin::frame {

// How far the blurred veil spreads each pixel of the form's picture.
constexpr double acVeilBlurRadius = 4.0;

class TacDisabledVeil {
 public:
  // Shows, re-places or frees the veil of form: shown over its window rectangle while the form
  // is disabled and visible and either blendValue is below 255 or blurred is set, freed
  // otherwise. Plain, it is color at opacity 255 - blendValue; blurred, it is opaque: the
  // form's current picture blurred (acVeilBlurRadius), color blended over it at that opacity.
  void Update(win::HWND form, bool disabled, fw::TColor color, int blendValue, bool blurred);
  void Free() { FWnd.reset(); }
  // The veil window, null when none.
  core::TacGlowForm* Window() const { return FWnd.get(); }

 private:
  std::unique_ptr<core::TacGlowForm> FWnd;
};

}  // namespace skin::frame
