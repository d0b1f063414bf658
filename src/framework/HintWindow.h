// THintWindow: the tooltip, a borderless top-level popup of its own that shows a control's
// short hint in the info-tip colours without taking the activation. The application makes it
// through HintWindowClass, so a skin can put its own class in its place.
#pragma once

#include <functional>
#include <string>

#include "framework/CustomControl.h"

namespace fw {

class THintWindow : public TCustomControl {
 public:
  explicit THintWindow(TComponent* owner);
  std::string ClassName() const override { return "THintWindow"; }

  // The screen rectangle the text needs, at (0, 0); lines longer than maxWidth wrap.
  virtual TRect CalcHintRect(int maxWidth, const std::u16string& text);
  // Shows text in rect (screen coordinates), above every other window, not activated.
  virtual void ActivateHint(const TRect& rect, const std::u16string& text);
  // Hides the window (it is kept for the next hint).
  void ReleaseHint() { SetVisible(false); }
  // The window the tooltip belongs to (the form of the control it is for): an owned popup
  // stays with its form and off the task bar. A new owner remakes the window.
  void SetOwnerWindow(HWND owner);

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& m) override;
  void Paint() override;

 private:
  HWND FOwnerWindow = nullptr;
};

using THintWindowFactory = std::function<THintWindow*(TComponent* owner)>;
// Makes the application's hint window; replace it before the first hint shows.
extern THintWindowFactory HintWindowClass;

}  // namespace fw
