// Colours of the skin data: 32-bit signed values in the platform's colour layout (0x00BBGGRR),
// where −1 means "none" and a set top bit marks a system colour (0x80000000 + index). Kept here
// until the pixel layer's colour type is shared by both layers.
#pragma once

#include <cstdint>

namespace skin::data {

using TColor = std::int32_t;

inline constexpr TColor clNone = -1;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clFuchsia = 0xFF00FF;  // the skins' transparent key colour

}  // namespace skin::data
