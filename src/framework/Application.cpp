#include "framework/Application.h"

#include <unistd.h>

#include <algorithm>
#include <fstream>

#include "framework/Dialogs.h"
#include "framework/Exception.h"
#include "framework/Form.h"
#include "framework/HintWindow.h"
#include "framework/TextConv.h"
#include "framework/Timer.h"
#include "platform/win/Input.h"
#include "platform/win/Mdi.h"
#include "platform/win/MessageBox.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Styles.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Timers.h"
#include "platform/win/Window.h"
#include "platform/win/WindowProc.h"

namespace fw {

TApplication* Application = nullptr;

namespace {

constexpr char16_t kApplicationClass[] = u"TApplication";

}  // namespace

std::vector<std::string> ParamStrs() {
  std::vector<std::string> params;
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  std::string param;
  bool name = true;  // the first one is the program itself
  while (std::getline(in, param, '\0')) {
    if (!name) params.push_back(param);
    name = false;
  }
  return params;
}

std::u16string GetShortHint(const std::u16string& hint) {
  auto bar = hint.find(u'|');
  return bar == std::u16string::npos ? hint : hint.substr(0, bar);
}

std::u16string GetLongHint(const std::u16string& hint) {
  auto bar = hint.find(u'|');
  return bar == std::u16string::npos ? hint : hint.substr(bar + 1);
}

void RaiseNotifyEvent(TNotifyEvent event, TComponent* sender, bool mayThrow) {
  if (!event) return;
  try {
    event(sender);
  } catch (...) {
    if (Application)
      Application->HandleException(std::current_exception());
    else if (mayThrow)
      throw;
  }
}

TApplication::TApplication() : TComponent(nullptr) {
  if (Application) throw Exception(u"Only one application may exist");
  Application = this;
}

TApplication::~TApplication() {
  Destroying();
  DestroyComponents();
  if (win::IsWindow(FHandle)) win::DestroyWindow(FHandle);
  Application = nullptr;
}

win::HWND TApplication::Handle() {
  using namespace win;
  if (FHandle && IsWindow(FHandle)) return FHandle;
  WNDCLASSEXW wc;
  wc.lpszClassName = kApplicationClass;
  wc.lpfnWndProc = MakeWindowProc([](HWND h, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
    auto* app = reinterpret_cast<TApplication*>(GetWindowLongPtrW(h, GWLP_USERDATA));
    if (!app) return DefWindowProcW(h, msg, w, l);
    TMessage m{msg, w, l, 0};
    try {
      app->WndProc(m);
    } catch (...) {
      app->HandleException(std::current_exception());
    }
    return m.Result;
  });
  RegisterClassExW(wc);  // 0 when already registered, which is fine
  FHandle = CreateWindowExW(0, kApplicationClass, FTitle,
                            WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                            0, 0, 0, 0, nullptr, 0);
  if (!FHandle) throw Exception(u"Cannot create the application's window");
  SetWindowLongPtrW(FHandle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  return FHandle;
}

void TApplication::SetTitle(const std::u16string& title) {
  FTitle = title;
  if (FHandle && win::IsWindow(FHandle)) win::SetWindowTextW(FHandle, title);
}

TWndHookId TApplication::HookMainWindow(TWindowHook hook) {
  FWindowHooks.push_back({++FNextHookId, std::move(hook)});
  return FNextHookId;
}

bool TApplication::UnhookMainWindow(TWndHookId hook) {
  return std::erase_if(FWindowHooks, [hook](const WindowHook& h) { return h.id == hook; }) != 0;
}

void TApplication::WndProc(TMessage& m) {
  using namespace win;
  // A copy: a hook may remove itself or others.
  std::vector<WindowHook> hooks = FWindowHooks;
  for (auto it = hooks.rbegin(); it != hooks.rend(); ++it)
    if (it->hook(m)) return;
  switch (m.Msg) {
    case WM_ACTIVATEAPP:
      FActive = m.WParam != 0;
      PostMessageW(FHandle, FActive ? CM_ACTIVATE : CM_DEACTIVATE, 0, 0);
      return;
    case CM_ACTIVATE:
      RaiseNotifyEvent(OnActivate, this, true);
      return;
    case CM_DEACTIVATE:
      RaiseNotifyEvent(OnDeactivate, this, true);
      return;
    case WM_CLOSE:
      if (FMainForm) FMainForm->Close();
      return;
    case WM_SYSCOMMAND:
      if ((m.WParam & 0xFFF0) == SC_MINIMIZE) {
        Minimize();
        return;
      }
      if ((m.WParam & 0xFFF0) == SC_RESTORE) {
        Restore();
        return;
      }
      m.Result = DefWindowProcW(FHandle, m.Msg, m.WParam, m.LParam);
      return;
    default:
      m.Result = DefWindowProcW(FHandle, m.Msg, m.WParam, m.LParam);
  }
}

void TApplication::Minimize() {
  if (!FMainForm || !FMainForm->HandleAllocated() || win::IsIconic(FMainForm->Handle())) return;
  win::ShowWindow(FMainForm->Handle(), win::SW_MINIMIZE);
  RaiseNotifyEvent(OnMinimize, this, true);
}

void TApplication::Restore() {
  if (!FMainForm || !FMainForm->HandleAllocated() || !win::IsIconic(FMainForm->Handle())) return;
  win::ShowWindow(FMainForm->Handle(), win::SW_RESTORE);
  RaiseNotifyEvent(OnRestore, this, true);
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
  Handle();
}

void TApplication::FormDestroyed(TCustomForm* form) {
  std::erase(FForms, form);
  if (FMainForm == form) FMainForm = nullptr;
  if (FActiveForm == form) FActiveForm = nullptr;
}

void TApplication::Run() {
  Handle();
  if (FMainForm && ShowMainForm) {
    try {
      FMainForm->Show();
    } catch (...) {
      HandleException(std::current_exception());
    }
  }
  while (!FTerminated) HandleMessage();
  if (FHandle && win::IsWindow(FHandle)) {
    win::WINDOWPOS wp;
    wp.hwnd = FHandle;
    // Only the hide is news: no WM_MOVE or WM_SIZE follows from the default handling.
    wp.flags = win::SWP_HIDEWINDOW | win::SWP_NOMOVE | win::SWP_NOSIZE | win::SWP_NOZORDER |
               win::SWP_NOACTIVATE | win::SWP_NOCLIENTMOVE | win::SWP_NOCLIENTSIZE;
    win::SendMessageW(FHandle, win::WM_WINDOWPOSCHANGED, 0, reinterpret_cast<win::LPARAM>(&wp));
  }
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
    // Ctrl+F4 and Ctrl+F6 of an MDI parent's children.
    if (FMainForm && FMainForm->ClientHandle() &&
        win::TranslateMDISysAccel(FMainForm->ClientHandle(), msg))
      return true;
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

void Delay(unsigned ms) {
  if (!Application) throw Exception(u"Delay needs the application's message loop");
  win::DWORD start = win::GetTickCount();
  // A thread timer due at the end, so that waiting for messages ends there at the latest.
  win::UINT_PTR timer =
      win::SetTimer(nullptr, 0, ms, [](win::HWND, win::UINT, win::UINT_PTR, win::DWORD) {});
  while (win::GetTickCount() - start < ms && !Application->Terminated())
    Application->HandleMessage();
  win::KillTimer(nullptr, timer);
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
  ApplicationMessageBox(text, FTitle, win::MB_OK | win::MB_ICONSTOP);
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
  if (HasState(csDestroying)) return;
  TControl* c = MouseControl();
  SetHint(c ? GetLongHint(c->ActualHint()) : std::u16string());
  bool wasShowing = HideTooltip();
  FHintControl = HasTooltip(c) ? c : nullptr;
  if (FHintControl)
    StartHintTimer(THintPhase::hpPause, wasShowing ? HintShortPause : HintPause);
  else
    StartHintTimer(THintPhase::hpIdle, 0);
}

bool TApplication::HasTooltip(TControl* control) const {
  return FShowHint && control && control->ShowHint() &&
         !GetShortHint(control->ActualHint()).empty();
}

void TApplication::SetShowHint(bool showHint) {
  if (showHint == FShowHint) return;
  FShowHint = showHint;
  if (!showHint) CancelHint();
}

void TApplication::CancelHint() {
  HideTooltip();
  StartHintTimer(THintPhase::hpIdle, 0);
}

void TApplication::StartHintTimer(THintPhase phase, unsigned ms) {
  FHintPhase = phase;
  if (phase == THintPhase::hpIdle) {
    if (FHintTimer) FHintTimer->SetEnabled(false);
    return;
  }
  if (!FHintTimer) {
    FHintTimer = new TTimer(this);
    FHintTimer->SetEnabled(false);
    FHintTimer->SetOnTimer([this](TComponent*) { HintTimerFired(); });
    FreeNotification(FHintTimer);
  }
  FHintTimer->SetEnabled(false);
  FHintTimer->SetInterval(std::max(1u, ms));
  FHintTimer->SetEnabled(true);
}

void TApplication::HintTimerFired() {
  if (FHintPhase == THintPhase::hpPause && FHintControl == MouseControl() &&
      HasTooltip(FHintControl) && FHintControl->Showing()) {
    ShowTooltip();
    StartHintTimer(THintPhase::hpShowing, HintHidePause);
    return;
  }
  CancelHint();
}

void TApplication::ShowTooltip() {
  if (!FHintWindow) {
    FHintWindow = HintWindowClass ? HintWindowClass(this) : new THintWindow(this);
    FreeNotification(FHintWindow);
  }
  TCustomForm* form = GetParentForm(FHintControl);
  FHintWindow->SetOwnerWindow(form && form->HandleAllocated() ? form->Handle() : nullptr);
  std::u16string text = GetShortHint(FHintControl->ActualHint());
  int screenW = win::GetSystemMetrics(win::SM_CXSCREEN);
  int screenH = win::GetSystemMetrics(win::SM_CYSCREEN);
  TRect r = FHintWindow->CalcHintRect(screenW, text);
  // Below the arrow cursor, kept on the screen (above the pointer near the bottom).
  constexpr int kBelowCursor = 20;
  win::POINT cursor{0, 0};
  win::GetCursorPos(&cursor);
  int x = std::max(0, std::min(cursor.X, screenW - r.Width()));
  int y = cursor.Y + kBelowCursor;
  if (y + r.Height() > screenH) y = std::max(0, cursor.Y - r.Height());
  FHintWindow->ActivateHint(gfx::RectOfSize(x, y, r.Width(), r.Height()), text);
}

bool TApplication::HideTooltip() {
  // A hint window on its way out (the mouse was over it) is left alone.
  if (!FHintWindow || FHintWindow->HasState(csDestroying) || !FHintWindow->Visible()) return false;
  FHintWindow->ReleaseHint();
  return true;
}

void TApplication::Notification(TComponent* component, TOperation operation) {
  if (operation == TOperation::opRemove) {
    if (component == FHintWindow) FHintWindow = nullptr;
    if (component == FHintTimer) FHintTimer = nullptr;
  }
  TComponent::Notification(component, operation);
}

}  // namespace fw
