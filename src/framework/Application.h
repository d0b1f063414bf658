// TApplication: the program's forms and data modules, the message loop, the hint of the control
// under the mouse, and the default error handler.
//
// The first form created with CreateForm is the main form: Run shows it, and closing it ends
// the loop. Errors that come out of window procedures and event handlers reach
// HandleException, which calls OnException or shows the error in a message box (stop icon, the
// application's title, the innermost error's message ending in a full stop); the loop goes on.
//
// The application has a hidden window of the class "TApplication" (made with the first form,
// or when first needed). It receives WM_ACTIVATEAPP, turned into CM_ACTIVATE / CM_DEACTIVATE
// posted to itself (OnActivate, OnDeactivate), WM_COPYDATA from other windows, WM_CLOSE
// (which closes the main form) and, unless MainFormOnTaskBar, the main form's minimise and
// restore commands (WM_SYSCOMMAND SC_MINIMIZE, SC_RESTORE: Minimize, Restore). Hooks installed with
// HookMainWindow see every message it gets first, the newest hook first; one that returns true has
// handled it.
#pragma once

#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "framework/Component.h"
#include "framework/Control.h"

namespace fw {

class TApplication;
class TCustomForm;
class THintWindow;
class TTimer;

// The one application object of the process (null when none exists).
extern TApplication* Application;

// The icon of a message box.
enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// A message box as it was shown, for automation.
struct TMessageRecord {
  std::u16string Title;
  std::u16string Text;
  TMsgDlgType Icon = TMsgDlgType::mtCustom;
};

using TExceptionEvent = std::function<void(TComponent* sender, const std::exception& e)>;
// A filter of the application window's messages: true when it handled the message.
using TWindowHook = std::function<bool(TMessage& m)>;

class TApplication : public TComponent {
 public:
  // Becomes the process's Application; only one may exist at a time.
  TApplication();
  ~TApplication() override;
  std::string ClassName() const override { return "TApplication"; }

  // Prepares the application (the title from the executable's name when none is set).
  void Initialize();
  // The main form owns the task-bar button.
  bool MainFormOnTaskBar = false;
  // Whether Run shows the main form.
  bool ShowMainForm = true;
  const std::u16string& Title() const { return FTitle; }
  void SetTitle(const std::u16string& title);

  // Creates a form or data module owned by the application, stores it in *ref before its
  // OnCreate runs, and makes the first form the main form.
  template <class T>
  T* CreateForm(T** ref = nullptr) {
    T* instance = new T(this);
    if (ref) *ref = instance;
    instance->AfterConstruction();
    FormCreated(instance);
    return instance;
  }
  TCustomForm* MainForm() const { return FMainForm; }
  // Every form that exists now, in creation order (message boxes too).
  const std::vector<TCustomForm*>& Forms() const { return FForms; }
  TCustomForm* ActiveForm() const { return FActiveForm; }

  // Shows the main form and handles messages until Terminate. Then the application window's
  // filters are told that it hides (WM_WINDOWPOSCHANGED with SWP_HIDEWINDOW) while the main form
  // still shows: the window itself never shows here (forms have their own taskbar buttons), so
  // the notice is sent to it.
  void Run();
  // Ends the loop (WM_QUIT is posted; Terminated becomes true when it is retrieved).
  void Terminate();
  bool Terminated() const { return FTerminated; }
  // Handles every message waiting now, without waiting.
  void ProcessMessages();
  // Handles one message, waiting for it when none is there.
  void HandleMessage();

  // The hidden application window, made now if needed.
  win::HWND Handle();
  // Minimises the main form, or restores it when minimised (what its minimise and restore
  // commands come to when the application window handles them); then OnMinimize or OnRestore.
  void Minimize();
  void Restore();
  TNotifyEvent OnMinimize;
  TNotifyEvent OnRestore;
  // Whether one of the application's windows is active (WM_ACTIVATEAPP).
  bool Active() const { return FActive; }
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  // Installs a filter of the application window's messages; the token removes it.
  TWndHookId HookMainWindow(TWindowHook hook);
  // False when the token's hook is not installed.
  bool UnhookMainWindow(TWndHookId hook);

  // The default error handling (see the header comment).
  void HandleException(std::exception_ptr e);
  void ShowException(const std::exception& e);
  TExceptionEvent OnException;

  // The long hint of the control under the mouse (its own or its nearest parent's).
  const std::u16string& Hint() const { return FHint; }
  void SetHint(const std::u16string& hint);
  TNotifyEvent OnHint;
  // Hint listeners (status bars in automatic-hint mode) are told each new hint.
  void AddHintListener(TComponent* who, std::function<void(const std::u16string&)> listener);
  void RemoveHintListener(TComponent* who);

  // Tooltips: over a control whose ShowHint holds (see TControl), its short hint shows in the
  // hint window HintPause ms after the mouse came, or HintShortPause ms when the mouse comes
  // from another tooltip; it goes after HintHidePause ms, on a click or a key, and when the
  // mouse leaves the control, and shows again only when the mouse comes back. ShowHint false
  // shows none at all.
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool showHint);
  unsigned HintPause = 500;
  unsigned HintShortPause = 50;
  unsigned HintHidePause = 2500;
  // Hides the tooltip now (it stays away until the mouse enters another control).
  void CancelHint();
  // The hint window, made by HintWindowClass for the first tooltip (null before); visible
  // while a tooltip shows.
  THintWindow* HintWindow() const { return FHintWindow; }

  // Message boxes shown so far, oldest first.
  const std::vector<TMessageRecord>& Messages() const { return FMessages; }
  void RecordMessage(const TMessageRecord& record) { FMessages.push_back(record); }

  // Bookkeeping from controls and forms.
  void MouseControlChanged();
  void FormActivated(TCustomForm* form) { FActiveForm = form; }
  void FormConstructed(TCustomForm* form);
  void FormDestroyed(TCustomForm* form);

 private:
  void FormCreated(TComponent* instance);
  void Notification(TComponent* component, TOperation operation) override;
  // Tooltip steps: wait for the pause, show, hide.
  enum class THintPhase { hpIdle, hpPause, hpShowing };
  bool HasTooltip(TControl* control) const;
  void StartHintTimer(THintPhase phase, unsigned ms);
  void HintTimerFired();
  void ShowTooltip();
  bool HideTooltip();     // true when one was showing
  bool ProcessMessage();  // false when nothing was waiting
  void WndProc(TMessage& m);

  std::u16string FTitle;
  win::HWND FHandle = nullptr;
  bool FActive = false;
  struct WindowHook {
    TWndHookId id;
    TWindowHook hook;
  };
  std::vector<WindowHook> FWindowHooks;  // oldest first
  TWndHookId FNextHookId = 0;
  TCustomForm* FMainForm = nullptr;
  TCustomForm* FActiveForm = nullptr;
  std::vector<TCustomForm*> FForms;
  bool FTerminated = false;
  std::u16string FHint;
  struct HintListener {
    TComponent* who;
    std::function<void(const std::u16string&)> tell;
  };
  std::vector<HintListener> FHintListeners;
  std::vector<TMessageRecord> FMessages;
  bool FShowHint = true;
  TControl* FHintControl = nullptr;  // the control under the mouse that has a tooltip
  THintPhase FHintPhase = THintPhase::hpIdle;
  TTimer* FHintTimer = nullptr;
  THintWindow* FHintWindow = nullptr;
};

// Waits ms milliseconds on the window system's clock while the application handles messages
// (a virtual clock moves to the end at once when nothing else is due); returns early when the
// application terminates.
void Delay(unsigned ms);

// Raises an event whose errors go to the application's handler (OnCreate, OnDestroy, OnTimer).
// Without an application an error propagates, unless mayThrow is false (destructors). The
// event is a copy, so the handler may free its sender.
void RaiseNotifyEvent(TNotifyEvent event, TComponent* sender, bool mayThrow);

// The parameters the program was started with, after its name (ParamStr(1) onwards).
std::vector<std::string> ParamStrs();

// The part of a hint before '|' (short) or after it (long; the whole hint without '|').
std::u16string GetShortHint(const std::u16string& hint);
std::u16string GetLongHint(const std::u16string& hint);

}  // namespace fw
