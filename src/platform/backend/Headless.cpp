#include "platform/backend/Headless.h"

#include "platform/win/WindowSystem.h"

namespace backend {

bool LoopIsIdle() {
  win::detail::State& s = win::detail::S();
  if (!s.posted.empty() || !s.input.empty() || s.quitPosted) return false;
  if (win::detail::NextWindowToPaint(nullptr)) return false;
  std::optional<win::DWORD> timer = win::detail::NextTimerDeadline(nullptr);
  return !timer || int(*timer - win::detail::Now()) > 0;
}

void Headless::WaitForInput(std::optional<win::DWORD> deadline) {
  if (automation_ && LoopIsIdle()) {
    bool gaveWork = automation_->Idle(true);
    std::optional<win::DWORD> wake = automation_->WakeAt();
    if (gaveWork && !wake) return;
    if (!gaveWork && !wake && automation_->Finished())
      throw win::WindowError("the script has ended and the program did not close");
    if (wake && (!deadline || int(*wake - *deadline) < 0)) deadline = wake;
  }
  VirtualDesktop::WaitForInput(deadline);
}

}  // namespace backend
