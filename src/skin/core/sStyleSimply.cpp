#include "skin/core/sStyleSimply.h"

#include <algorithm>

#include "framework/Application.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "platform/win/Window.h"
#include "skin/core/acReceivers.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sVclUtils.h"

namespace skin::core {
namespace {

// The hooked forms, told when one of them is freed.
class THookedForms : public fw::TComponent {
 public:
  THookedForms() : TComponent(nullptr) {}
  ~THookedForms() override {
    for (fw::TCustomForm* form : FForms) RemoveFreeNotification(form);
  }
  void Add(fw::TCustomForm* form) {
    if (std::find(FForms.begin(), FForms.end(), form) != FForms.end()) return;
    FForms.push_back(form);
    FreeNotification(form);
  }
  void Remove(fw::TCustomForm* form) {
    auto it = std::find(FForms.begin(), FForms.end(), form);
    if (it == FForms.end()) return;
    *it = FForms.back();
    FForms.pop_back();
    RemoveFreeNotification(form);
  }
  bool Contains(const fw::TComponent* form) const {
    return std::find(FForms.begin(), FForms.end(), form) != FForms.end();
  }
  const std::vector<fw::TCustomForm*>& Forms() const { return FForms; }

 protected:
  void Notification(fw::TComponent* component, fw::TOperation operation) override {
    if (operation != fw::TOperation::opRemove) return;
    auto it = std::find(FForms.begin(), FForms.end(), component);
    if (it == FForms.end()) return;
    *it = FForms.back();
    FForms.pop_back();
  }

 private:
  std::vector<fw::TCustomForm*> FForms;
};

bool ApplicationMinimized() {
  fw::TCustomForm* main = fw::Application ? fw::Application->MainForm() : nullptr;
  return main && main->HandleAllocated() && win::IsIconic(main->Handle());
}

THookedForms& Hooked() {
  static THookedForms hooked;
  return hooked;
}

// The form through its window, or through Perform while it has none; then its controls.
void DeliverToForm(TacReceivers& receivers, int index, const fw::TMessage& message) {
  auto* form = static_cast<fw::TCustomForm*>(receivers.Item(index));
  if (form->HandleAllocated())
    win::SendMessageW(form->Handle(), message.Msg, message.WParam, message.LParam);
  else
    form->Perform(message.Msg, message.WParam, message.LParam);
  if (receivers.Item(index)) AlphaBroadCast(*form, message);
}

}  // namespace

const std::vector<fw::TCustomForm*>& HookedComponents() {
  return Hooked().Forms();
}

void IntSkinForm(fw::TCustomForm* form) {
  if (form) Hooked().Add(form);
}

void IntUnSkinForm(fw::TCustomForm* form) {
  Hooked().Remove(form);
}

void AppBroadCastS(const fw::TMessage& message) {
  if (fw::Application) {
    TacReceivers forms;
    for (int i = fw::Application->ComponentCount() - 1; i >= 0; --i)
      if (auto* form = dynamic_cast<fw::TCustomForm*>(fw::Application->Components(i)))
        forms.Add(form);
    for (int i = 0; i < forms.Count(); ++i) {
      auto* form = static_cast<fw::TCustomForm*>(forms.Item(i));
      if (!form || form->HasState(fw::csLoading) || form->HasState(fw::csDestroying)) continue;
      if (Hooked().Contains(form) || (form->HandleAllocated() && WndIsSkinned(form->Handle())))
        continue;  // reached through the hooked list
      DeliverToForm(forms, i, message);
    }
  }
  SendToHooked(message);
}

void SendToHooked(const fw::TMessage& message) {
  TacReceivers forms;
  for (fw::TCustomForm* form : Hooked().Forms()) forms.Add(form);
  for (int i = 0; i < forms.Count(); ++i) {
    auto* form = static_cast<fw::TCustomForm*>(forms.Item(i));
    if (form && !form->HasState(fw::csDestroying)) DeliverToForm(forms, i, message);
  }
}

void IterateForms(const fw::TComponent& manager,
                  const std::function<void(TacFormProvider&, fw::TCustomForm&)>& proc) {
  TacReceivers forms;
  for (fw::TCustomForm* form : Hooked().Forms()) forms.Add(form);
  for (int i = 0; i < forms.Count(); ++i) {
    auto* form = static_cast<fw::TCustomForm*>(forms.Item(i));
    if (!form || !form->HandleAllocated() || form->Parent()) continue;
    const win::HWND wnd = form->Handle();
    if (!win::IsWindowVisible(wnd) || win::IsIconic(wnd)) continue;
    auto* provider = reinterpret_cast<TacFormProvider*>(SendAMessage(wnd, AC_GETPROVIDER));
    if (provider && provider->ProviderManager() == &manager) proc(*provider, *form);
  }
}

void LockForms(TsSkinManager& manager) {
  if (ApplicationMinimized()) return;
  if (manager.IsDefault() && manager.AnimEffects().SkinChanging.Active) InAnimationProcess = true;
  IterateForms(manager, [](TacFormProvider& provider, fw::TCustomForm& form) {
    provider.Animating = true;
    // The extended border is redrawn from its kept picture here once forms have one.
    win::SendMessageW(form.Handle(), win::WM_SETREDRAW, 0, 0);
  });
}

void UnLockForms(TsSkinManager& manager, bool repaint) {
  if (ApplicationMinimized()) return;
  if (manager.IsDefault()) InAnimationProcess = false;
  IterateForms(manager, [repaint](TacFormProvider& provider, fw::TCustomForm& form) {
    if (!provider.Animating) return;
    win::SendMessageW(form.Handle(), win::WM_SETREDRAW, 1, 0);
    provider.Animating = false;
    // With repaint and an animated skin change the form is revealed by the show animation
    // once window animations exist; until then it is redrawn at once.
    if (repaint)
      win::RedrawWindow(
          form.Handle(), nullptr, nullptr,
          win::RDW_INVALIDATE | win::RDW_ERASE | win::RDW_FRAME | win::RDW_ALLCHILDREN);
  });
}

}  // namespace skin::core
