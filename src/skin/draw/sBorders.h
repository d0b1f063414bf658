// A control's border alone, painted into its cache (the bitmap half; copying the band to the
// screen is the control's).
#pragma once

#include "skin/draw/sGraphUtils.h"

namespace skin::draw {

// Paints border picture borderIndex for state into aRect of cache over the parent ci (already
// offset to the cache; a masked picture first gets the parent's pixels under its band) and
// returns the inner rectangle. With minBorderWidth > 0 the bands between the picture's slices
// and minBorderWidth take bgColor and the inner rectangle is aRect shrunk by minBorderWidth
// (never inverted). Without a valid picture, a minBorderWidth frame of bgColor is painted.
TRect PaintBorderFast(Bitmap& cache, const TRect& aRect, int minBorderWidth, const TacSkinModel* sm,
                      int borderIndex, int state, TColor bgColor, const TCacheInfo& ci);

}  // namespace skin::draw
