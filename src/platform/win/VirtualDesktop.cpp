#include "platform/win/VirtualDesktop.h"

#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/Styles.h"
#include "platform/win/WindowSystem.h"

namespace win {

VirtualDesktop::VirtualDesktop(int width, int height) : width_(width), height_(height) {
  AttachBackend(this);
}

VirtualDesktop::~VirtualDesktop() {
  DetachBackend();
}

void VirtualDesktop::WaitForInput(std::optional<DWORD> deadline) {
  if (!scheduled_.empty() && (!deadline || int(scheduled_.front().at - *deadline) <= 0)) {
    Scheduled next = std::move(scheduled_.front());
    scheduled_.erase(scheduled_.begin());
    if (int(next.at - clock_) > 0) clock_ = next.at;
    next.action();
    return;
  }
  if (!deadline) throw WindowError("the message loop waits for input that can never come");
  if (int(*deadline - clock_) > 0) clock_ = *deadline;
}

void VirtualDesktop::Schedule(DWORD ms, std::function<void()> action) {
  DWORD at = clock_ + ms;
  auto it = scheduled_.begin();
  while (it != scheduled_.end() && int(it->at - at) <= 0) ++it;
  scheduled_.insert(it, {at, std::move(action)});
}

int VirtualDesktop::Pump() {
  int count = 0;
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(int(msg.wParam));
      break;
    }
    TranslateMessage(msg);
    DispatchMessageW(msg);
    ++count;
  }
  return count;
}

void VirtualDesktop::Advance(DWORD ms) {
  DWORD end = clock_ + ms;
  for (;;) {
    Pump();
    if (detail::S().quitPosted) break;
    std::optional<DWORD> next = detail::NextTimerDeadline(nullptr);
    if (!next || int(*next - end) > 0) break;
    if (int(*next - clock_) > 0) clock_ = *next;
  }
  if (int(end - clock_) > 0) clock_ = end;
  Pump();
}

}  // namespace win
