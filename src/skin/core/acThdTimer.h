// The animation timer of a skinned control: the fade of a state change (hover, press) and the
// fade of its glow window run step by step on it. Despite the name it ticks on the user
// interface thread, through a window timer (a TTimer), so the steps interleave with painting
// and run on the window system's clock (virtual on a virtual desktop).
#pragma once

#include <memory>

#include "framework/Component.h"
#include "framework/Timer.h"
#include "platform/gfx/Bitmap.h"

namespace skin::core {

class TsCommonData;

// One step of an animation; false ends it.
using TacAnimProc = bool (*)(TsCommonData* data, int iteration);

// ThreadType of a timer that only fades a glow window.
constexpr int TT_GLOWING = 1;

class TacThreadedTimer : public fw::TComponent {
 public:
  // The timer of data's control; the data owns it.
  explicit TacThreadedTimer(TsCommonData* data);
  // A timer owned by owner (freed with it), for animations of whole windows.
  TacThreadedTimer(fw::TComponent* owner, TsCommonData* data);
  ~TacThreadedTimer() override;
  std::string ClassName() const override { return "TacThreadedTimer"; }

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value);
  // Tick period in milliseconds: 1000 at creation, 12 during a fade.
  unsigned Interval() const { return FInterval; }
  void SetInterval(unsigned value);

  // Prepares a fade of data toward state (0 normal, 1 hot, 2 pressed) and starts ticking;
  // iteration is where a fade continues when no frame was shown yet.
  void InitData(TsCommonData* data, int iteration, TacAnimProc proc, int state, bool fast);
  // One step now: the next iteration through AnimProc (nothing without one). Past the
  // last iteration, or when the procedure answers false, the timer stops and State is -1.
  // Window animations replace it with their own step.
  virtual void TimeHandler();
  // Stops ticking and drops the three pictures.
  void Reset();
  // dst := area r of src (dst made, or resized, to r's size).
  static void CopyFrom(std::unique_ptr<gfx::Bitmap>& dst, const gfx::Bitmap& src,
                       const gfx::TRect& r);

  // Fade state: the weight of the new picture (the glow's opacity), 0..255, and its change per
  // step.
  double Glow = 0, GlowStep = 0;
  // Target of the running fade: 0 normal, 1 hot, 2 pressed; -1 idle.
  int State = -1;
  int Iteration = 0, Iterations = 6;
  int ThreadType = 0;
  // The old picture, the new one and the frame last shown.
  std::unique_ptr<gfx::Bitmap> BmpFrom, BmpTo, BmpOut;
  TsCommonData* AnimData = nullptr;
  TacAnimProc AnimProc = nullptr;
  bool Destroyed = false;
  // The re-entrance guard: a tick arriving while a step runs (a step that pumps messages)
  // is dropped.
  bool InHandler = false, Executing = false;

 private:
  void Tick();
  void Arm();

  bool FEnabled = true;
  unsigned FInterval = 1000;
  std::unique_ptr<fw::TTimer> FTimerThread;
};

}  // namespace skin::core
