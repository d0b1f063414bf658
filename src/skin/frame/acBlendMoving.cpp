#include "skin/frame/acBlendMoving.h"

#include <algorithm>

#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "platform/win/Window.h"
#include "skin/frame/acAnimation.h"

namespace skin::frame {

namespace {

constexpr unsigned kMoveTick = 12;  // ms
constexpr win::WPARAM SC_DRAGMOVE = win::SC_MOVE + win::HTCAPTION;

int OwnAlpha(const fw::TCustomForm& form) {
  return form.AlphaBlend() ? form.AlphaBlendValue() : 255;
}

}  // namespace

TacMoveTimer::TacMoveTimer(fw::TCustomForm& form, const core::TacBlendOnMoving& effect,
                           bool allowBlend)
    : TacMoveTimer(form.Handle(), OwnAlpha(form), effect, allowBlend) {}

TacMoveTimer::TacMoveTimer(win::HWND wnd, int ownAlpha, const core::TacBlendOnMoving& effect,
                           bool allowBlend)
    : core::TacThreadedTimer(nullptr), FormHandle(wnd) {
  CurrentBlendValue = ownAlpha;
  BlendValue = allowBlend ? effect.BlendValue : 255;
  BlendStep = effect.Time < 13 ? 255.0 - BlendValue
                               : (255.0 - BlendValue) / (double(effect.Time) / kMoveTick);
  SetInterval(kMoveTick);
}

void TacMoveTimer::TimeHandler() {
  if (!Enabled() || !win::IsWindow(FormHandle)) return;
  const auto ex = win::GetWindowLongPtrW(FormHandle, win::GWL_EXSTYLE);
  if (!(ex & win::WS_EX_LAYERED))
    win::SetWindowLongPtrW(FormHandle, win::GWL_EXSTYLE, ex | win::WS_EX_LAYERED);
  win::SetLayeredWindowAttributes(FormHandle, 0, win::BYTE(CurrentBlendValue), win::LWA_ALPHA);
  // Down to the target, never past it.
  if (CurrentBlendValue > BlendValue)
    CurrentBlendValue = std::max(CurrentBlendValue - BlendStep, double(BlendValue));
}

bool StartBlendOnMoving(fw::TCustomForm& form, const core::TacBlendOnMoving& effect,
                        bool allowBlend) {
  return form.HandleAllocated() && StartBlendOnMoving(form.Handle(), form.AlphaBlend(),
                                                      form.AlphaBlendValue(), effect, allowBlend);
}

bool StartBlendOnMoving(win::HWND h, bool alphaBlend, int alphaBlendValue,
                        const core::TacBlendOnMoving& effect, bool allowBlend) {
  if (!effect.Active || !win::IsWindow(h)) return false;
  TacMoveTimer timer(h, alphaBlend ? alphaBlendValue : 255, effect, allowBlend);
  timer.SetEnabled(true);
  timer.TimeHandler();  // the first step at once
  win::SendMessageW(h, win::WM_SYSCOMMAND, SC_DRAGMOVE, 0);
  timer.SetEnabled(false);
  if (win::IsWindow(h)) FinishBlendOnMoving(h, alphaBlend, alphaBlendValue);
  return true;
}

void FinishBlendOnMoving(fw::TCustomForm& form) {
  FinishBlendOnMoving(form.Handle(), form.AlphaBlend(), form.AlphaBlendValue());
}

void FinishBlendOnMoving(win::HWND h, bool alphaBlend, int alphaBlendValue) {
  if (alphaBlend)
    win::SetLayeredWindowAttributes(h, 0, win::BYTE(alphaBlendValue), win::LWA_ALPHA);
  else
    DropLayeredStyle(h);
  win::RedrawWindow(
      h, nullptr, nullptr,
      win::RDW_INVALIDATE | win::RDW_FRAME | win::RDW_ALLCHILDREN | win::RDW_UPDATENOW);
}

}  // namespace skin::frame
