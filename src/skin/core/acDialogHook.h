// The default manager's window-creation hook: installed when the manager announces a skin,
// removed with the skin. What it does is the dialog skinning of a layer above (acDials), which
// registers itself here; without a registration no hook is installed.
#pragma once

#include <functional>

#include "platform/win/Hooks.h"

namespace skin::core {

class TsSkinManager;

// The dialog skinning the hook runs.
struct TacDialogSkinning {
  win::HOOKPROC HookProc;                  // every WH_CBT notification of the thread
  std::function<void()> FreeRecords;       // frees the skinned dialogs' records and their wrappers
  std::function<void()> NewSkin;           // the dialogs open now take the skin just announced
  std::function<void(win::HWND)> AddForm;  // a window the hook does not see (an MDI child)
};
void SetDialogSkinning(TacDialogSkinning skinning);
// Hands a window to the dialog skinning as the hook would a new top-level one: a form gets
// a run-time provider when the manager's rules allow. Nothing without a registration.
void AddSupportedForm(win::HWND handle);

// Installs the hook (WH_CBT) for the default manager when none is installed; UnInstallHook
// removes it and frees the records. Another manager changes nothing. The manager calls them as
// it announces a skin and removes it (GlobalHookInstalled follows).
void InstallHook(TsSkinManager& manager);
void UnInstallHook(TsSkinManager& manager);
// The installed hook, null when none.
win::HHOOK DialogHook();

}  // namespace skin::core
