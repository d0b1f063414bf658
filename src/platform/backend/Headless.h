// The headless backend: a virtual desktop in memory with a virtual clock, where the program
// runs without a display. With an automation attached, the script's commands run whenever
// the program is idle and time moves only by the script's waits (and the program's own
// timers while it waits).
#pragma once

#include <memory>

#include "platform/backend/Automation.h"
#include "platform/win/VirtualDesktop.h"

namespace backend {

class Headless : public win::VirtualDesktop {
 public:
  explicit Headless(int width = 1920, int height = 1080) : VirtualDesktop(width, height) {}
  // Drives the program from a script from now on (nullptr stops it).
  void SetAutomation(std::unique_ptr<Automation> automation) {
    automation_ = std::move(automation);
  }
  Automation* GetAutomation() { return automation_.get(); }

  // Runs the script when the program is idle; raises WindowError when the script has ended
  // and the program still runs with nothing to wait for.
  void WaitForInput(std::optional<win::DWORD> deadline) override;

 private:
  std::unique_ptr<Automation> automation_;
};

// Whether the message loop has nothing at all to do now: no posted message or input, no
// window to paint and no timer due. A filtered loop may wait while others have work.
bool LoopIsIdle();

}  // namespace backend
