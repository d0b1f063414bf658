#include "framework/Timer.h"

#include "framework/Application.h"
#include "framework/Exception.h"
#include "platform/win/Styles.h"
#include "platform/win/Timers.h"
#include "platform/win/Window.h"
#include "platform/win/WindowProc.h"

namespace fw {

using namespace win;

namespace {

constexpr char16_t kTimerClass[] = u"FwTimerWindow";

}  // namespace

TTimer::TTimer(TComponent* owner) : TComponent(owner) {}

TTimer::~TTimer() {
  Destroying();
  if (FWindow) DestroyWindow(FWindow);
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == FEnabled) return;
  FEnabled = enabled;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned interval) {
  if (interval == FInterval) return;
  FInterval = interval;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
  FOnTimer = std::move(handler);
  UpdateTimer();
}

void TTimer::Loaded() {
  TComponent::Loaded();
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  if (FWindow && IsWindow(FWindow)) KillTimer(FWindow, 1);
  if (!FEnabled || FInterval == 0 || !FOnTimer || HasState(csLoading)) return;
  if (!FWindow || !IsWindow(FWindow)) {
    WNDCLASSEXW wc;
    wc.lpszClassName = kTimerClass;
    wc.lpfnWndProc = MakeWindowProc([](HWND h, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
      if (msg == WM_TIMER)
        if (auto* t = reinterpret_cast<TTimer*>(GetWindowLongPtrW(h, GWLP_USERDATA))) {
          t->Fire();
          return 0;
        }
      return DefWindowProcW(h, msg, w, l);
    });
    RegisterClassExW(wc);
    FWindow = CreateWindowExW(0, kTimerClass, u"", WS_POPUP, 0, 0, 0, 0, nullptr, 0);
    if (!FWindow) throw Exception(u"Cannot create the timer's window");
    SetWindowLongPtrW(FWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  if (!SetTimer(FWindow, 1, FInterval, nullptr)) throw Exception(u"Not enough timers available");
}

void TTimer::Fire() {
  RaiseNotifyEvent(FOnTimer, this, true);
}

}  // namespace fw
