// Colours of the skin data: the engine's TColor (0x00BBGGRR; a set top bit marks a system
// colour, 0x80000000 + index) and the value −1 that skin options use for "no colour".
#pragma once

#include "skin/paint/sColors.h"

namespace skin::data {

using skin::paint::clFuchsia;
using skin::paint::clWhite;
using skin::paint::TColor;

// "No colour" as skin options write it (no contour, no selection colour); not kNoColor.
inline constexpr TColor kNoColor = -1;

}  // namespace skin::data
