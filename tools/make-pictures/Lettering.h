// Text as vector outlines: a line shaped with HarfBuzz and the glyph outlines of one of our
// faces, so lettering is filled, shaded and shadowed like any other shape.
#pragma once

#include <string>

#include "Raster.h"

namespace art {

struct Lettering {
  Path outline;
  double advance = 0;  // width of the line in pixels
};

// The line with its baseline's left end at the origin; size is the em in pixels; tracking
// adds space after every character.
Lettering LayOutText(const std::u16string& family, bool bold, const std::u16string& text,
                     double size, double tracking = 0);

}  // namespace art
