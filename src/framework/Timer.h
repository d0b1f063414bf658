// TTimer: raises OnTimer every Interval milliseconds while Enabled, on the window system's
// clock (virtual on a virtual desktop). Errors in OnTimer go to the application's handler.
#pragma once

#include "framework/Control.h"
#include "platform/win/Types.h"

namespace fw {

class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;
  std::string ClassName() const override { return "TTimer"; }

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool enabled);
  unsigned Interval() const { return FInterval; }
  void SetInterval(unsigned interval);
  void SetOnTimer(TNotifyEvent handler);
  void Loaded() override;

 private:
  void UpdateTimer();
  void Fire();

  bool FEnabled = true;
  unsigned FInterval = 1000;
  TNotifyEvent FOnTimer;
  win::HWND FWindow = nullptr;  // a utility window receiving WM_TIMER
};

}  // namespace fw
