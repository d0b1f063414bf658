// Translucent moving: while the window system's move loop drags a skinned form by its caption,
// the form fades to the skin manager's BlendOnMoving value in 12 ms steps of a window-system
// timer, and comes back opaque (or to its own AlphaBlendValue) once the move ends.
#pragma once

#include <cstdint>

#include "framework/Form.h"
#include "skin/core/acThdTimer.h"
#include "skin/core/sSkinManager.h"

namespace skin::frame {

// Each tick applies the current alpha to the form's window (made layered when it is not), then
// lowers it by BlendStep while above BlendValue.
class TacMoveTimer : public core::TacThreadedTimer {
 public:
  // The alpha steps of a translucent move of form: from its own opacity (AlphaBlendValue with
  // AlphaBlend, else 255) to the effect's BlendValue (255 when allowBlend is off) in equal
  // 12 ms steps over the effect's Time (one step below 13 ms).
  TacMoveTimer(fw::TCustomForm& form, const core::TacBlendOnMoving& effect, bool allowBlend);
  // The same for any top-level window, starting from opacity ownAlpha.
  TacMoveTimer(win::HWND wnd, int ownAlpha, const core::TacBlendOnMoving& effect, bool allowBlend);
  std::string ClassName() const override { return "TacMoveTimer"; }
  void TimeHandler() override;

  std::uint8_t BlendValue = 255;  // the target alpha
  win::HWND FormHandle;
  double BlendStep = 0, CurrentBlendValue = 255;
};

// Moves form translucently when the effect is active: the timer starts and the window system's
// move loop drags the form from the mouse's position; when the loop ends the form gets its own
// opacity back (FinishBlendOnMoving) and is repainted. False, with nothing done, when the
// effect is inactive.
bool StartBlendOnMoving(fw::TCustomForm& form, const core::TacBlendOnMoving& effect,
                        bool allowBlend);
// The same for any top-level window (a native dialog): its own opacity afterwards is
// alphaBlendValue with alphaBlend, else opaque.
bool StartBlendOnMoving(win::HWND wnd, bool alphaBlend, int alphaBlendValue,
                        const core::TacBlendOnMoving& effect, bool allowBlend);
// Gives form its own opacity back after a translucent move: AlphaBlendValue with AlphaBlend,
// else an opaque window without the layered style.
void FinishBlendOnMoving(fw::TCustomForm& form);
void FinishBlendOnMoving(win::HWND wnd, bool alphaBlend, int alphaBlendValue);

}  // namespace skin::frame
