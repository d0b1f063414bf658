// Colours as the framework stores them: a COLORREF (0x00BBGGRR), or a system colour written as
// 0x80000000 | its index, resolved when painting so a theme change reaches every control.
#pragma once

#include <cstdint>

#include "platform/gfx/Color.h"

namespace fw {

using TColor = std::int32_t;

constexpr TColor clSystemColor = TColor(0x80000000u);
constexpr TColor clNone = 0x1FFFFFFF;     // no colour: nothing is drawn
constexpr TColor clDefault = 0x20000000;  // the control's default colour

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clNavy = 0x800000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clWhite = 0xFFFFFF;

constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clHighlight = clSystemColor | 13;
constexpr TColor clHighlightText = clSystemColor | 14;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clBtnShadow = clSystemColor | 16;
constexpr TColor clGrayText = clSystemColor | 17;
constexpr TColor clBtnText = clSystemColor | 18;
constexpr TColor clBtnHighlight = clSystemColor | 20;
constexpr TColor cl3DDkShadow = clSystemColor | 21;
constexpr TColor cl3DLight = clSystemColor | 22;
constexpr TColor clInfoText = clSystemColor | 23;
constexpr TColor clInfoBk = clSystemColor | 24;

// The COLORREF a colour paints with (system colours looked up now).
gfx::COLORREF ColorToRGB(TColor color);

}  // namespace fw
