// Multi-stop colour gradients of skin sections: parsing of the options text form, painting
// into 32-bit bitmaps (plain, fused with a tiled texture) and soft shadow images.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "skin/paint/sAlphaGraph.h"

namespace skin::paint {

// Mode flags of a gradient stop; the flags of stop 0 decide the kind of the whole gradient.
constexpr int MASK_DIRECTION = 3;  // bits of the direction; 0: top to bottom
constexpr int PM_VERTICAL = 1;     // left to right (vertical bands)
constexpr int PM_DIAGONAL = 2;     // four corners and a centre (stops 0..4)
constexpr int PM_OPACITY = 4;      // carried, not used in painting
constexpr int PM_ALL = 8;          // carried, not used in painting
constexpr int MASK_VALUES = 12;
constexpr int PM_TRANSPARENT = 16;  // the stop's colour carries alpha
constexpr int PM_OVERLAY = 32;      // on stop 0: paint over the finished background

// One stop of a gradient.
struct TsGradPoint {
  std::uint16_t Index = 0;   // position in the array
  std::int32_t Mode = 0;     // flags above
  TsColor Color;             // colour of the stop (colour order, with alpha)
  std::uint8_t Percent = 0;  // position along the gradient, 0..100
  friend bool operator==(const TsGradPoint&, const TsGradPoint&) = default;
};
using TsGradArray = std::vector<TsGradPoint>;

// Parses a gradient value ("c1;c2;percent;mode;0;..." or "color;percent;mode;...B") into
// gradArray, replacing its contents; 4 characters or fewer give an empty array. A malformed
// number raises gfx::GraphicsError.
void PrepareGradArray(std::string_view gradientStr, TsGradArray& gradArray);
// Fills aRect of bmp with the gradient (opaque, except where transparent stops draw);
// offsetY shifts the first row and lengthens the scale; offsetX has no effect.
void PaintGrad(Bitmap& bmp, const TRect& aRect, const TsGradArray& data, int offsetX = 0,
               int offsetY = 0);
// Fills aRect with the gradient (directions 0 and PM_VERTICAL) and the tiled textureRect of
// textureBmp over it with weight textureAlpha: out.c = (textureAlpha * (t.c - g.c) + g.c * 256)
// >> 8, out.A = alphaChannel.
void PaintGradTxt(Bitmap& bmp, const TRect& aRect, const TsGradArray& data,
                  const Bitmap& textureBmp, const TRect& textureRect, int textureAlpha,
                  std::uint8_t alphaChannel);
// A new soft rounded-rectangle shadow; color's top byte is the largest opacity. In maskMode a
// grey opaque mask (white outside) instead of premultiplied shadow pixels.
std::unique_ptr<Bitmap> MakeShadow(std::uint32_t color, int radius, int offset, int bodyHeight,
                                   int bodyWidth, int blurSize, bool maskMode);

}  // namespace skin::paint
