// A small anti-aliased raster for authoring skin pictures: a float RGBA layer with filled
// rounded rectangles, strokes, discs and triangles painted "over" it, and its conversion to
// the master bitmap's 24-bit pixels (fuchsia where nothing was painted, a grey mask row for
// partly covered pixels).
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/gfx/Bitmap.h"

namespace skinbuilder {

// A colour with straight channels 0..1.
struct TRgb {
  float r = 0, g = 0, b = 0;
};

// 0x00BBGGRR (the skin's colour layout) to channels and back.
TRgb FromColor(std::uint32_t color);
std::uint32_t ToColor(const TRgb& c);
// a + (b - a) * t.
TRgb Mix(const TRgb& a, const TRgb& b, float t);
inline TRgb Lighter(const TRgb& c, float t) {
  return Mix(c, {1, 1, 1}, t);
}
inline TRgb Darker(const TRgb& c, float t) {
  return Mix(c, {0, 0, 0}, t);
}

// Colour of a filled shape at a pixel centre (x, y), in layer coordinates.
using TShader = std::function<TRgb(float x, float y)>;
inline TShader Solid(TRgb c) {
  return [c](float, float) { return c; };
}

class TLayer {
 public:
  TLayer(int width, int height);
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }

  // Paints colour c with opacity alpha * coverage over the pixel.
  void Over(int x, int y, const TRgb& c, float alpha);
  // A rectangle [x0, x1) × [y0, y1) with its top corners rounded by radius and its bottom
  // ones by radiusBottom (radius when negative), 4 × 4 samples a pixel.
  void FillRoundRect(float x0, float y0, float x1, float y1, float radius, const TShader& shader,
                     float alpha = 1, float radiusBottom = -1);
  // Clears what lies inside such a rectangle (for rings).
  void Cut(float x0, float y0, float x1, float y1, float radius);
  // A line of the given width between two points, with round ends.
  void Stroke(float ax, float ay, float bx, float by, float width, const TRgb& c, float alpha = 1);
  void FillDisc(float cx, float cy, float radius, const TRgb& c, float alpha = 1);
  void FillTriangle(float ax, float ay, float bx, float by, float cx, float cy, const TRgb& c,
                    float alpha = 1);

  // Paints src over this layer with its top-left at (x, y).
  void Draw(const TLayer& src, int x, int y);

  // Writes the layer to dst at (x, y). With a mask row (maskRow >= 0, the row where the mask
  // begins) partly covered pixels keep their colour and get a grey mask (black opaque, white
  // transparent); without one, pixels less than half covered stay fuchsia. With closed (and a
  // mask row) only the uncovered pixels outside the outline, those reaching the layer's edge
  // through uncovered pixels, are fuchsia: the ones it encloses are white under a white mask,
  // so that what is painted under a frame shows there and the frame's parent never does.
  void WriteTo(gfx::Bitmap& dst, int x, int y, int maskRow, bool closed = false) const;
  // The pixel's colour and coverage.
  TRgb ColorAt(int x, int y) const { return FPixels[Index(x, y)].c; }
  float AlphaAt(int x, int y) const { return FPixels[Index(x, y)].a; }

 private:
  struct TPix {
    TRgb c;
    float a = 0;
  };
  // Coverage at or below which a pixel counts as not painted.
  static constexpr float kUncovered = 0.02f;
  // Per pixel: uncovered and joined to the layer's edge through uncovered pixels.
  std::vector<bool> Outside() const;
  std::size_t Index(int x, int y) const { return std::size_t(y) * std::size_t(FWidth) + x; }
  // Calls cover(x, y, fraction) for pixels where inside(sx, sy) holds for some of 4 × 4
  // samples, within the box [x0, x1) × [y0, y1).
  void Coverage(float x0, float y0, float x1, float y1,
                const std::function<bool(float, float)>& inside,
                const std::function<void(int, int, float)>& cover);

  int FWidth, FHeight;
  std::vector<TPix> FPixels;
};

}  // namespace skinbuilder
