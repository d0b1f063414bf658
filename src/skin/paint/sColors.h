// Colour values of the skin engine: TColor (0x00BBGGRR, red in the low byte) and reserved values.
#pragma once

#include <cstdint>

namespace skin::paint {

// A colour as stored in skins and properties: 32-bit signed, 0x00BBGGRR.
using TColor = std::int32_t;

// The absence of a colour (no transparent colour, no tint, no background colour).
constexpr TColor clNone = 0x1FFFFFFF;
// The transparent key of skin pictures; as a pixel word with alpha 0 it reads the same.
constexpr TColor clFuchsia = 0x00FF00FF;
constexpr TColor clBlack = 0x00000000;
constexpr TColor clWhite = 0x00FFFFFF;

}  // namespace skin::paint
