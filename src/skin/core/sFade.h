// State-change fades of skinned controls: when a control turns hot, pressed or normal again,
// the old picture of its cache and the new one are blended in a few timer steps and drawn
// straight onto the control's window (a windowless control's onto its parent's, at the
// control's place). A fade toward another state started during a running one continues from
// the blend on screen. The control's animation timer (acThdTimer) carries the steps.
#pragma once

#include "framework/Control.h"
#include "skin/core/acThdTimer.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sSkinManager.h"

namespace skin::core {

// The events a control may fade on; aeGlobalDef follows the manager's AnimEffects.Buttons.
enum TacAnimatEvent { aeMouseEnter, aeMouseLeave, aeMouseDown, aeMouseUp, aeGlobalDef };
using TacAnimatEvents = TacSet;  // acBit(TacAnimatEvent) per member

// Whether event fades for a control with the set events: in the set, or, with aeGlobalDef in
// it, in the manager's button events (manager null: the default manager).
bool EventEnabled(TacAnimatEvent event, TacAnimatEvents events, TsSkinManager* manager = nullptr);

// A step of a state fade: the old picture blended toward the new one at the step's weight
// and drawn onto the control's window; false at the end.
bool UpdateWindow_CB(TsCommonData* data, int iteration);
// A step that only fades the control's glow window.
bool UpdateGlowing_CB(TsCommonData* data, int iteration);

// The control's state changed to state (0 normal, 1 hot, 2 pressed): an unskinned control is
// invalidated; with allowAnimation, a clean cache, the manager's Effects.AllowAnimation and no
// skin-change animation running, the change fades (makeGlowing: with the glow window shown
// first, at opacity 0); otherwise the control is repainted and the glow shown or hidden.
void DoChangePaint(TsCommonData& data, int state, TacAnimProc proc = UpdateWindow_CB,
                   bool allowAnimation = true, bool fast = false, bool makeGlowing = false);
// Starts a fade toward state (nothing when one toward it runs already): the cache as it is
// becomes the old picture, the control rebuilds it (AC_PREPARECACHE) for the new one, and the
// first step is drawn at once.
void AnimChange(TsCommonData& data, int state, TacAnimProc proc, bool fast);
// Makes the control's timer when it has none (its Glow 255 for a fade back to normal) and
// answers where a redirected fade continues: max(6 * [running toward normal] + 6 - Iteration,
// 0) for an existing timer, 0 for a new one.
int GetNewTimer(TsCommonData& data, int state);
// The frame a running fade shows, which the control paints instead of its cache meanwhile;
// null when no fade runs.
const gfx::Bitmap* AnimFrame(const TsCommonData& data);

}  // namespace skin::core
