#include "framework/Application.h"

#include <unistd.h>

#include <algorithm>

#include "framework/Dialogs.h"
#include "framework/Exception.h"
#include "framework/Form.h"
#include "framework/TextConv.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Styles.h"

namespace fw {

TApplication* Application = nullptr;

std::u16string GetShortHint(const std::u16string& hint) {
  auto bar = hint.find(u'|');
  return bar == std::u16string::npos ? hint : hint.substr(0, bar);
}

std::u16string GetLongHint(const std::u16string& hint) {
  auto bar = hint.find(u'|');
  return bar == std::u16string::npos ? hint : hint.substr(bar + 1);
}

TApplication::TApplication() : TComponent(nullptr) {
  if (Application) throw Exception(u"Only one application may exist");
  Application = this;
}

TApplication::~TApplication() {
  Destroying();
  DestroyComponents();
  Application = nullptr;
}

void TApplication::Initialize() {
  if (!FTitle.empty()) return;
  char path[4096];
  ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  std::string name = n > 0 ? std::string(path, std::size_t(n)) : std::string("application");
  name = name.substr(name.find_last_of('/') + 1);
  FTitle = Utf8ToUtf16(name.substr(0, name.find('.')));
}

void TApplication::FormCreated(TComponent* instance) {
  auto* form = dynamic_cast<TCustomForm*>(instance);
  if (form && !FMainForm) FMainForm = form;
}

void TApplication::FormConstructed(TCustomForm* form) {
  FForms.push_back(form);
}

void TApplication::FormDestroyed(TCustomForm* form) {
  std::erase(FForms, form);
  if (FMainForm == form) FMainForm = nullptr;
  if (FActiveForm == form) FActiveForm = nullptr;
}

void TApplication::Run() {
  if (FMainForm && ShowMainForm) {
    try {
      FMainForm->Show();
    } catch (...) {
      HandleException(std::current_exception());
    }
  }
  while (!FTerminated) HandleMessage();
}

void TApplication::Terminate() {
  win::PostQuitMessage(0);
}

bool TApplication::ProcessMessage() {
  win::MSG msg;
  if (!win::PeekMessageW(&msg, nullptr, 0, 0, win::PM_REMOVE)) return false;
  if (msg.message == win::WM_QUIT) {
    FTerminated = true;
    return true;
  }
  try {
    win::TranslateMessage(msg);
    win::DispatchMessageW(msg);
  } catch (...) {
    HandleException(std::current_exception());
  }
  return true;
}

void TApplication::ProcessMessages() {
  while (!FTerminated && ProcessMessage()) {
  }
}

void TApplication::HandleMessage() {
  if (!ProcessMessage() && !FTerminated) win::WaitMessage();
}

void TApplication::HandleException(std::exception_ptr e) {
  try {
    std::rethrow_exception(e);
  } catch (const std::exception& error) {
    if (OnException)
      OnException(this, error);
    else
      ShowException(error);
  } catch (...) {
    ShowException(Exception(u"Unknown error"));
  }
}

void TApplication::ShowException(const std::exception& e) {
  std::u16string text = InnermostMessage(e);
  if (!text.empty() && text.back() != u'.') text += u'.';
  ShowMessageBox(text, FTitle, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
}

void TApplication::SetHint(const std::u16string& hint) {
  if (hint == FHint) return;
  FHint = hint;
  if (OnHint) {
    OnHint(this);
    return;
  }
  auto listeners = FHintListeners;  // a listener may remove itself
  for (auto& l : listeners) l.tell(hint);
}

void TApplication::AddHintListener(TComponent* who,
                                   std::function<void(const std::u16string&)> listener) {
  RemoveHintListener(who);
  FHintListeners.push_back({who, std::move(listener)});
}

void TApplication::RemoveHintListener(TComponent* who) {
  std::erase_if(FHintListeners, [who](const HintListener& l) { return l.who == who; });
}

void TApplication::MouseControlChanged() {
  TControl* c = MouseControl();
  SetHint(c ? GetLongHint(c->ActualHint()) : std::u16string());
}

}  // namespace fw
