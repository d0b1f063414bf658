// Colour adjustment of a built skin: hue, saturation and brightness change its pictures and
// colours once, before controls paint from it. The key colour 0xFF00FF of a picture is never
// changed, nor a colour that is −1 or the key colour.
#pragma once

#include "skin/data/acSkinModel.h"

namespace skin::data {

// Skins from this version on carry straight alpha in their PNG and own pictures, premultiplied
// once when loaded (or after a brightening, which would break premultiplied pixels).
inline constexpr double acPremultipliedPngVersion = 7.45;

// Hue turned by value degrees: the master bitmap, the picture files, every state's colours and
// gradient stops, Shadow1Color and the changeable palette entries. With BIKeepHUE 1 or more
// the close glyphs (and with 1 the other title-button glyphs) keep their colours.
void ChangeSkinHue(TacSkinModel& m, int value);
// Saturation by value percent (−100 grey): the same pictures and colours, no glyph kept.
void ChangeSkinSaturation(TacSkinModel& m, int value);
// Brightness by value (−100..100): the pictures (their mask rows kept) and every state's
// colours and gradient stops; the palette and Shadow1Color stay.
void ChangeSkinBrightness(TacSkinModel& m, int value);

// Whether a palette entry follows hue and saturation changes.
bool IsChangeableColor(TacPaletteColors c);

}  // namespace skin::data
