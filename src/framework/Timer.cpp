#include "framework/Timer.h"

#include "framework/Application.h"
#include "framework/Exception.h"
#include "framework/UtilWindow.h"
#include "platform/win/Timers.h"
#include "platform/win/Window.h"
#include "platform/win/WindowProc.h"

namespace fw {

using namespace win;

TTimer::TTimer(TComponent* owner) : TComponent(owner) {}

TTimer::~TTimer() {
  Destroying();
  if (FWindow) DeallocateHWnd(FWindow);
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
  if (!FWindow || !IsWindow(FWindow))
    FWindow = AllocateHWnd([this](TMessage& m) {
      if (m.Msg == WM_TIMER)
        Fire();
      else
        m.Result = DefWindowProcW(FWindow, m.Msg, m.WParam, m.LParam);
    });
  if (!SetTimer(FWindow, 1, FInterval, nullptr)) throw Exception(u"Not enough timers available");
}

void TTimer::Fire() {
  RaiseNotifyEvent(FOnTimer, this, true);
}

}  // namespace fw
