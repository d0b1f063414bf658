// Messages to every form of the application, and the list of forms whose skinning is done by
// a form skin provider (HookedComponents).
#pragma once

#include <vector>

#include "framework/Form.h"

namespace skin::core {

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

}  // namespace skin::core
