// The skin manager's announcements to every form and control: a new skin, the removal of the
// skin, a repaint, a changed section. The manager supplies its own steps through
// TacSkinAnnouncer; the announcements fix the order and restore every flag they set (the
// manager's skin-changing state, RestrictDrawing, the forms' lock) whatever happens, also when
// an error escapes a receiver. The error then goes on to the caller.
#pragma once

#include <string_view>

#include "framework/Component.h"

namespace skin::core {

// What the announcements need of the manager that sends them.
class TacSkinAnnouncer {
 public:
  virtual ~TacSkinAnnouncer() = default;
  // The manager as a component: the LParam of its announcements; while it is loading or
  // reading its description it announces no new skin.
  virtual fw::TComponent& Sender() = 0;
  // The manager's state while a new skin is announced (msSkinLoading) or removed
  // (SkinRemoving).
  virtual void SetSkinLoading(bool loading) = 0;
  virtual void SetSkinRemoving(bool removing) = 0;
  // The manager's own steps around the broadcasts: before a new skin (reset the skin data's
  // Active, the menu border width), after it (set Active, hooks, the skin's main font),
  // before a removal (default font, hooks, reset the skin data) and after it (free the
  // skin's pictures and sections).
  virtual void BeforeNewSkin() = 0;
  virtual void AfterNewSkin() = 0;
  virtual void BeforeRemoveSkin() = 0;
  virtual void AfterRemoveSkin() = 0;
  // Switches the drawing of the manager's forms off; UnLockForms switches it on again and
  // repaints them unless the manager's updates are suspended.
  virtual void LockForms() = 0;
  virtual void UnLockForms() = 0;
};

// AC_SETNEWSKIN to every form and control with RestrictDrawing set, between the manager's
// steps; with repaint, RepaintForms(false) after. Nothing while the manager is loading.
void SendNewSkin(TacSkinAnnouncer& manager, bool repaint);
// AC_REMOVESKIN to every form and control, between the manager's steps.
void SendRemoveSkin(TacSkinAnnouncer& manager);
// AC_STOPFADING, then AC_REFRESH to every form and control; with lockForms (and a manager
// not loading) the forms' drawing is off during AC_REFRESH and on again after.
void RepaintForms(TacSkinAnnouncer& manager, bool lockForms);
// AC_UPDATESECTION with the section's name in upper case to every form and control.
void UpdateSkinSection(std::string_view sectionName);

}  // namespace skin::core
