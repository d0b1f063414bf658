// The veil over a disabled skinned form: a layered window over the form's bounds, filled with
// one colour at a constant opacity, shown without activation while the form is disabled.
#pragma once

#include <memory>

#include "framework/Colors.h"
#include "platform/win/Window.h"
#include "skin/core/acGlow.h"

namespace skin::frame {

class TacDisabledVeil {
 public:
  // Shows, re-places or frees the veil of form: shown over its window rectangle in color at
  // opacity 255 - blendValue while the form is disabled and visible (and blendValue is below
  // 255), freed otherwise.
  void Update(win::HWND form, bool disabled, fw::TColor color, int blendValue);
  void Free() { FWnd.reset(); }
  // The veil window, null when none.
  core::TacGlowForm* Window() const { return FWnd.get(); }

 private:
  std::unique_ptr<core::TacGlowForm> FWnd;
};

}  // namespace skin::frame
