// Messages to every form of the application, and the list of forms whose skinning is done by
// a form skin provider (HookedComponents).
#pragma once

#include <functional>
#include <vector>

#include "framework/Form.h"

namespace skin::core {

class TsSkinManager;

// What a form's skin provider answers to AC_GETPROVIDER (a pointer to itself): the manager it
// follows, and the mark of its form locked for a skin change.
class TacFormProvider {
 public:
  virtual ~TacFormProvider() = default;
  virtual const fw::TComponent* ProviderManager() const = 0;
  // The skinned frame reaches beyond the form's window (extended border), and where the
  // client area starts inside the form's picture.
  virtual bool HasExtendedBorder() const { return false; }
  virtual gfx::TPoint ClientOffset() const { return {}; }
  // What the application window's filter asks of the main form's provider: minimise the
  // form through the minimising animation, bring it back from it, fade it out. False when the
  // provider does not animate it (nothing happened then).
  virtual bool AnimMinimize() { return false; }
  virtual bool AnimRestore() { return false; }
  // Fades the form out as the program ends, returning when the fade is over.
  virtual bool AnimClose() { return false; }
  bool Animating = false;  // the form's drawing is off for a skin change
};

// The forms skinned through a provider, in the order they were added. A form freed without
// IntUnSkinForm leaves the list by itself.
const std::vector<fw::TCustomForm*>& HookedComponents();
// Adds the form (once); removal moves the last form into the freed place.
void IntSkinForm(fw::TCustomForm* form);
void IntUnSkinForm(fw::TCustomForm* form);

// The message to every form of the application and all their controls: first each form the
// application owns, from the last to the first, that is not loading or being destroyed and
// is not skinned through a provider (not hooked, and its window, when it has one, is not
// skinned); then SendToHooked. A form gets it through its window (SendMessageW), or through
// Perform while it has none, and then its controls through AlphaBroadCast. No window is made;
// forms freed on the way are skipped.
void AppBroadCastS(const fw::TMessage& message);
// The message to every hooked form that is not being destroyed, in list order, and to its
// controls, as above.
void SendToHooked(const fw::TMessage& message);

// Calls proc for every hooked form that is visible with a window, not minimised, has no
// parent and whose provider follows manager, in list order.
void IterateForms(const fw::TComponent& manager,
                  const std::function<void(TacFormProvider&, fw::TCustomForm&)>& proc);
// Switches the drawing of the manager's forms off (WM_SETREDRAW) and marks their providers;
// the default manager with an animated skin change sets InAnimationProcess. Nothing while the
// application is minimised.
void LockForms(TsSkinManager& manager);
// Switches the locked forms' drawing on again; with repaint the whole window of each is
// redrawn, frame and children included.
void UnLockForms(TsSkinManager& manager, bool repaint);

}  // namespace skin::core
