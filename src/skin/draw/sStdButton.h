// The face of a push button when no skin is active (acPaintStdBtn of the sGraphUtils unit),
// drawn with the framework's classic button look; there are no visual styles on this
// platform, so the classic path is the only one.
#pragma once

#include "framework/Canvas.h"

namespace skin::draw {

// Button states of acPaintStdBtn.
enum TacStdBtnState { sbsNormal, sbsHot, sbsPressed, sbsDefault };

// Paints the face into r and makes r the content rectangle: the default button (state 3) gets a
// one-pixel frame in the window-frame colour first; a pressed one (state 2) a button-face
// rectangle outlined in the button-shadow colour; every other state the raised classic frame
// over the button face. With focusRect, a dotted focus frame follows on r as passed in, 4
// pixels inside, in the window-frame colour over the button face. The canvas's colours and
// brush style are kept.
void acPaintStdBtn(fw::TCanvas& canvas, gfx::TRect& r, bool enabled, int state, bool focusRect);

}  // namespace skin::draw
