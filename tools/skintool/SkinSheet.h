// What `skintool sheet` draws: every skinned control class of the program in every state
// (normal, hot, pressed, focused, disabled) on a skinned form, off screen on a virtual desktop,
// so that skin authors and reviewers see a skin as the program shows it.
#pragma once

#include <string>

#include "platform/gfx/Bitmap.h"

namespace skintool {

// The sheet of a skin named as `skintool list` prints it, or of a package or skin folder (an
// existing path wins): a skinned window with a row per control kind and a column per state,
// each labelled. Each control is put into its state by the input and calls the program uses
// (the mouse moved over it or pressed on it, the focus given, the control disabled) and its
// cell taken from the screen while it shows it. Raises ESkinError when there is no such skin.
// Runs its own window system on a virtual desktop: call it where no other windows live.
gfx::Bitmap PaintSkinSheet(const std::string& skin);

}  // namespace skintool
