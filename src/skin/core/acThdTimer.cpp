#include "skin/core/acThdTimer.h"

#include <algorithm>
#include <cmath>

namespace skin::core {

TacThreadedTimer::TacThreadedTimer(TsCommonData* data) : TacThreadedTimer(nullptr, data) {}

TacThreadedTimer::TacThreadedTimer(fw::TComponent* owner, TsCommonData* data)
    : fw::TComponent(owner), AnimData(data), FTimerThread(std::make_unique<fw::TTimer>(nullptr)) {
  FTimerThread->SetEnabled(false);
  FTimerThread->SetOnTimer([this](fw::TComponent*) { Tick(); });
  Arm();
}

TacThreadedTimer::~TacThreadedTimer() {
  Destroying();
  Destroyed = true;
  FTimerThread.reset();
}

void TacThreadedTimer::Arm() {
  FTimerThread->SetEnabled(false);
  FTimerThread->SetInterval(FInterval);
  FTimerThread->SetEnabled(FEnabled && !Destroyed);
}

void TacThreadedTimer::SetEnabled(bool value) {
  if (FEnabled == value) return;
  FEnabled = value;
  Arm();
}

void TacThreadedTimer::SetInterval(unsigned value) {
  if (FInterval == value) return;
  FInterval = value;
  Arm();
}

void TacThreadedTimer::Tick() {
  if (InHandler || Executing || Destroyed || !FEnabled) return;
  TimeHandler();
}

void TacThreadedTimer::TimeHandler() {
  if (Destroyed || !AnimProc) return;
  // Cleared however the step ends (an error goes on to the application's handler).
  struct Guard {
    bool& a;
    bool& b;
    ~Guard() { a = b = false; }
  } guard{InHandler, Executing};
  InHandler = Executing = true;
  ++Iteration;
  if (Iteration > Iterations || !AnimProc(AnimData, Iteration)) {
    SetEnabled(false);
    State = -1;
  }
}

void TacThreadedTimer::InitData(TsCommonData* data, int iteration, TacAnimProc proc, int state,
                                bool fast) {
  SetEnabled(false);
  AnimData = data;
  Glow = std::clamp(Glow, 0.0, 255.0);
  Iterations = fast ? 3 : 6;
  const bool fromRest = State == -1 || State == 0;
  switch (state) {
    case 0:
      Iterations *= 2;
      GlowStep = Glow / Iterations;
      break;
    case 2:
      GlowStep = Glow / Iterations;
      break;
    case 1:
      Iterations = fromRest ? int(std::nearbyint((255 - Glow) * 6 / 255)) : 6;
      Iterations = std::max(Iterations, 1);
      GlowStep = (255 - Glow) / Iterations;
      break;
    default:
      break;
  }
  // A press, or the way back from one, starts from what is on screen.
  if ((state == 2 || (state == 1 && State == 2)) && BmpOut && !BmpOut->Empty())
    BmpFrom = std::make_unique<gfx::Bitmap>(*BmpOut);
  if (state == 1 && fromRest)
    Iteration = int(std::nearbyint(Glow * 6 / 255));
  else if (state == 0 && State == 1)
    Iteration = Glow == 0 ? 0 : int(std::nearbyint((255 - Glow) * Iterations / 255));
  else
    Iteration = BmpOut ? 0 : iteration;
  AnimProc = proc;
  State = state;
  SetInterval(12);
  SetEnabled(true);
}

void TacThreadedTimer::Reset() {
  SetEnabled(false);
  State = -1;
  BmpFrom.reset();
  BmpTo.reset();
  BmpOut.reset();
}

void TacThreadedTimer::CopyFrom(std::unique_ptr<gfx::Bitmap>& dst, const gfx::Bitmap& src,
                                const gfx::TRect& r) {
  if (!dst || dst->Width() != r.Width() || dst->Height() != r.Height())
    dst = std::make_unique<gfx::Bitmap>(std::max(0, r.Width()), std::max(0, r.Height()));
  dst->Fill(0);
  dst->CopyFrom(src, r, {0, 0});
}

}  // namespace skin::core
