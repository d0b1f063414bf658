// The skin library's five standard glyphs, the pictures an edit's embedded button shows when
// its own image list has none: each a strip of two 16 x 16 frames (normal, hot) on a
// transparent ground, coloured and outlined so that they read on light and dark skins alike.
#pragma once

#include <string>

#include "platform/gfx/Bitmap.h"

namespace art {

constexpr int kStdGlyphCount = 5;
constexpr int kStdGlyphFrame = 16;  // one frame is square; the strip holds two

// The resource name of glyph index (0..4): "SF" file, "SR" reset, "SD" directory, "SE"
// ellipsis (choose from a list), "SC" calendar.
const char* StdGlyphName(int index);
// "SF.png" .. "SC.png".
std::string StdGlyphFile(int index);
// Glyph index as a 32 x 16 strip.
gfx::Bitmap PaintStdGlyph(int index);

}  // namespace art
