// The fade of a caption button: a small layered window over the button (a TacGlowForm) shows
// the button's picture for its new state and fades in (hot, pressed) or out (back to normal)
// on a 12 ms window timer. The form's frame (TsSkinProvider, skin/frame) starts it on every
// state change of a caption button; the record of a button is here so both sides share it.
#pragma once

#include <functional>
#include <memory>

#include "framework/Timer.h"
#include "platform/gfx/Bitmap.h"
#include "platform/win/Types.h"
#include "skin/core/acGlow.h"
#include "skin/core/sCommonData.h"
#include "skin/data/acConstData.h"

namespace skin::core {

class TacSBAnimation;

// One system button of a skinned caption.
struct TsCaptionButton {
  int cpState = 0;    // 0 normal, 1 hot, 2 pressed
  int cpGlowID = -1;  // glow shown on the button, -1 none
  gfx::TRect cpRect;  // in the form window's coordinates; Right = Left: hidden
  unsigned cpHitCode = 0;
  std::unique_ptr<TacSBAnimation> cpTimer;  // the running fade, null when none
  bool cpHaveAlignment = false;
  data::TacTitleGlyph cpGlyphType = data::tgNone;
};

class TacSBAnimation {
 public:
  // The fade of btn on the form window formHandle (its extended-border window borderForm,
  // when it has one, carries the button instead); skinData is the form's skin data.
  TacSBAnimation(win::HWND formHandle, win::HWND borderForm, TsCommonData* skinData,
                 TsCaptionButton* btn, int maxIterations);
  virtual ~TacSBAnimation();
  TacSBAnimation(const TacSBAnimation&) = delete;
  TacSBAnimation& operator=(const TacSBAnimation&) = delete;

  // Shows the button's state: fades in toward a non-zero state (the pressed state drops the
  // old picture first), out toward 0; nothing when that state is shown already.
  void StartAnimation(int state, bool toUp);
  // One timer step.
  void Tick();
  // The opacity step: 255 div MaxIterations (25 with 10 iterations).
  int Step() const;
  bool Running() const { return FTimer.Enabled(); }
  // The layered window, null while none is shown.
  TacGlowForm* Window() const { return AForm.get(); }

  int CurrentLevel = 0;   // step counter
  int CurrentState = -1;  // the state shown; -1 idle
  int MaxIterations = 1;  // steps of a fade; -1 once the top of a fade in was shown
  win::HWND BorderForm;
  TsCommonData* SkinData;
  win::HWND FormHandle;
  TsCaptionButton* PBtnData;
  bool Up = false;  // fading in
  std::unique_ptr<TacGlowForm> AForm;
  std::unique_ptr<gfx::Bitmap> ABmp;

  // The button's place on screen and its picture for the state (rebuilt unless fading out
  // with one made); false without a skin. Title-bar items draw their own picture.
  virtual bool Prepare(int state);
  // The window at opacity alpha, made with the picture when none is shown.
  void Show(int alpha);
  void SetRunning(bool running) { FTimer.SetEnabled(running); }

 protected:
  gfx::TPoint FAt;  // where the picture is shown, screen coordinates

 private:
  fw::TTimer FTimer{nullptr};
};

// Starts or redirects btn's fade toward state (the frame's call on every state change): hot
// and pressed fade in (toUp), normal fades out; a fade has max(1, iterations) steps, one when
// the manager's animations are off. The running fade is reset on every start, so a fade out
// after a finished fade in runs its steps down from the top. Nothing while the application
// terminates.
// make, when given, makes a missing fade (of a kind drawing its own picture) for its steps.
using TacAnimationMaker = std::function<std::unique_ptr<TacSBAnimation>(int steps)>;
void StartSBAnimation(TsCaptionButton& btn, int state, int iterations, bool toUp,
                      win::HWND formHandle, win::HWND borderForm, TsCommonData* skinData,
                      const TacAnimationMaker& make = {});

}  // namespace skin::core
