// The demo's pictures, drawn here so that nothing opaque is kept in the sources: the speed
// buttons' 16 x 16 glyphs and the picture child's landscape.
#pragma once

#include "platform/gfx/Bitmap.h"

namespace mdidemo {

enum class TGlyph { New, Text, Picture, Card, Tile, Cascade, Columns, Next };

gfx::Bitmap MakeGlyph(TGlyph kind);
// A landscape of width x height: sky, sun, hills and a museum's columned front.
gfx::Bitmap MakeLandscape(int width, int height);

}  // namespace mdidemo
