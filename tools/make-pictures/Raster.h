// A small anti-aliased vector rasteriser for the catalogue's pictures. Paths are polygons
// (lines, circles, ellipse arcs and Bezier curves flattened to short segments); a fill
// accumulates each pixel's exact horizontal coverage over sixteen sub-scanlines, so edges come
// out smooth. Paints are solid colours and linear or radial gradients; the canvas holds
// premultiplied floating-point RGBA and composites source-over.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/gfx/Bitmap.h"

namespace art {

struct Vec {
  double x = 0;
  double y = 0;
};

// A straight (not premultiplied) colour, channels 0..1.
struct Rgba {
  double r = 0, g = 0, b = 0, a = 0;
};
// 0xRRGGBB with an opacity.
Rgba Hex(std::uint32_t rgb, double alpha = 1);
// a at t = 0, b at t = 1.
Rgba Mix(Rgba a, Rgba b, double t);
// Towards white (amount > 0) or black (amount < 0).
Rgba Shade(Rgba c, double amount);

// x' = a x + c y + e, y' = b x + d y + f.
struct Affine {
  double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
  static Affine Translate(double dx, double dy) { return {1, 0, 0, 1, dx, dy}; }
  static Affine Scale(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }
  // By angle radians (clockwise on screen) about the point (cx, cy).
  static Affine Rotate(double angle, double cx, double cy);
  Vec operator()(Vec p) const { return {a * p.x + c * p.y + e, b * p.x + d * p.y + f}; }
  // This transform applied after inner.
  Affine operator*(const Affine& inner) const;
};

// Closed contours of points. Curves are flattened when added.
class Path {
 public:
  Path& MoveTo(double x, double y);
  Path& LineTo(double x, double y);
  Path& QuadTo(double cx, double cy, double x, double y);
  Path& CubicTo(double c1x, double c1y, double c2x, double c2y, double x, double y);
  // Continues the contour along an ellipse from angle a0 to a1 (radians; 0 points right,
  // positive turns clockwise on screen).
  Path& ArcTo(double cx, double cy, double rx, double ry, double a0, double a1);
  Path& Close();  // ends the contour; the next point starts a new one

  // Whole figures, each its own contour.
  Path& Rect(double x, double y, double w, double h);
  Path& RoundRect(double x, double y, double w, double h, double r);
  Path& Ellipse(double cx, double cy, double rx, double ry);
  Path& Circle(double cx, double cy, double r) { return Ellipse(cx, cy, r, r); }
  Path& Polygon(std::initializer_list<Vec> points);
  Path& Add(const Path& other);

  Path Transformed(const Affine& m) const;
  const std::vector<std::vector<Vec>>& Contours() const { return contours_; }
  // Open polylines as drawn (for strokes, which do not close them).
  const std::vector<bool>& ClosedFlags() const { return closed_; }

 private:
  std::vector<Vec>& Current();
  std::vector<std::vector<Vec>> contours_;
  std::vector<bool> closed_;
  bool open_ = false;
};

// The outline of a stroke of the given width along every contour (closed ones include the
// closing segment): round joins and round caps.
Path StrokeOutline(const Path& path, double width);

enum class FillRule { NonZero, EvenOdd };

struct Stop {
  double t;
  Rgba color;
};

// What a fill paints with: one colour, or stops along a line or out from a centre.
class Paint {
 public:
  Paint(Rgba solid) : stops_{{0, solid}} {}  // NOLINT: a colour is a paint
  static Paint Linear(Vec from, Vec to, std::vector<Stop> stops);
  static Paint Radial(Vec centre, double radius, std::vector<Stop> stops);
  Rgba At(double x, double y) const;

 private:
  enum class Kind { Solid, Linear, Radial };
  Paint(Kind kind, Vec p0, Vec p1, double radius, std::vector<Stop> stops)
      : kind_(kind), p0_(p0), p1_(p1), radius_(radius), stops_(std::move(stops)) {}
  Kind kind_ = Kind::Solid;
  Vec p0_, p1_;
  double radius_ = 1;
  std::vector<Stop> stops_;
};

class Canvas {
 public:
  Canvas(int width, int height);
  int Width() const { return width_; }
  int Height() const { return height_; }

  void Fill(const Path& path, const Paint& paint, FillRule rule = FillRule::NonZero);
  void Stroke(const Path& path, double width, const Paint& paint);
  // Later fills are limited to the path's inside until ClearClip.
  void Clip(const Path& path);
  void ClearClip() { clip_.clear(); }
  // Softens the whole canvas (three box passes of the given radius, in pixels).
  void Blur(int radius);
  // Composites another canvas of the same size over this one at (dx, dy).
  void Draw(const Canvas& layer, double opacity = 1, int dx = 0, int dy = 0);
  // This canvas's shape in one colour, its coverage scaling the colour's opacity.
  Canvas Silhouette(Rgba color) const;
  // The pixel at (x, y), straight alpha.
  Rgba At(int x, int y) const;

  gfx::Bitmap ToBitmap() const;

 private:
  // Coverage 0..1 of every pixel in the path's bounding box (clipped to the canvas); box
  // receives that box as x0, y0, x1, y1.
  std::vector<float> Coverage(const Path& path, FillRule rule, int box[4]) const;

  int width_;
  int height_;
  std::vector<float> px_;    // premultiplied r, g, b, a per pixel
  std::vector<float> clip_;  // empty: no clip
};

}  // namespace art
