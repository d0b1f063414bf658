// Regions from bitmaps (part of sGraphUtils.h).
#include <vector>

#include "skin/paint/sGraphUtils.h"

namespace skin::paint {

gfx::Region GetRgnFromBmp(const Bitmap& mask, std::uint32_t transColor) {
  // Runs of the transparent colour, row by row, taken out of the whole rectangle at once.
  std::vector<TRect> runs;
  for (int y = 0; y < mask.Height(); ++y) {
    const std::uint32_t* p = mask.Row(y);
    for (int x = 0; x < mask.Width();) {
      if (p[x] != transColor) {
        ++x;
        continue;
      }
      int start = x;
      while (x < mask.Width() && p[x] == transColor) ++x;
      runs.push_back({start, y, x, y + 1});
    }
  }
  return gfx::Region(mask.Bounds()).Subtract(gfx::Region::FromRects(runs));
}

}  // namespace skin::paint
