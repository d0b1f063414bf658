#include "Pictures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <tuple>

#include "Lettering.h"
#include "Raster.h"

namespace art {

namespace {

constexpr double kPi = std::numbers::pi;
double Rad(double degrees) {
  return degrees * kPi / 180;
}

// ---- the icon style: parts are drawn in a 100 x 100 design box that maps onto the badge

struct Box {
  double x0, y0, x1, y1;
};

Box Bounds(const Path& p) {
  Box b{1e300, 1e300, -1e300, -1e300};
  for (const auto& c : p.Contours())
    for (const Vec& v : c) {
      b.x0 = std::min(b.x0, v.x), b.y0 = std::min(b.y0, v.y);
      b.x1 = std::max(b.x1, v.x), b.y1 = std::max(b.y1, v.y);
    }
  return b;
}

class Icon {
 public:
  Icon(Canvas& canvas, const Affine& m, Rgba badge) : c_(canvas), m_(m), badge_(badge) {}
  Rgba Badge() const { return badge_; }  // the colour of the badge under the icon

  // A part in a flat colour with soft shading: lighter at its top, darker at its bottom.
  void Body(const Path& p, Rgba base, FillRule rule = FillRule::NonZero) {
    const Box b = Bounds(p);
    const double mid = (b.x0 + b.x1) / 2;
    c_.Fill(p.Transformed(m_),
            Paint::Linear(m_({mid, b.y0}), m_({mid, b.y1}),
                          {{0, Shade(base, 0.22)}, {0.55, base}, {1, Shade(base, -0.2)}}),
            rule);
  }
  // The same shading across, for upright cylinders and columns.
  void Across(const Path& p, Rgba base) {
    const Box b = Bounds(p);
    const double mid = (b.y0 + b.y1) / 2;
    c_.Fill(p.Transformed(m_),
            Paint::Linear(
                m_({b.x0, mid}), m_({b.x1, mid}),
                {{0, Shade(base, -0.15)}, {0.35, Shade(base, 0.25)}, {1, Shade(base, -0.25)}}));
  }
  void Flat(const Path& p, Rgba color, FillRule rule = FillRule::NonZero) {
    c_.Fill(p.Transformed(m_), color, rule);
  }
  void Line(const Path& p, double width, Rgba color) {
    c_.Fill(StrokeOutline(p, width).Transformed(m_), color);
  }
  void Clip(const Path& p) { c_.Clip(p.Transformed(m_)); }
  void ClearClip() { c_.ClearClip(); }

 private:
  Canvas& c_;
  Affine m_;
  Rgba badge_;
};

// Common colours of the icons.
const Rgba kGold = Hex(0xE9B949);
const Rgba kCream = Hex(0xF7EEDC);
const Rgba kInk = Hex(0x2B2B33);
const Rgba kWood = Hex(0xB9773E);
const Rgba kRed = Hex(0xD8383A);
const Rgba kSteel = Hex(0xB7C3CC);
const Rgba kSkin = Hex(0xF4CDA5);

Path Line2(double x0, double y0, double x1, double y1) {
  return Path().MoveTo(x0, y0).LineTo(x1, y1);
}

// A five-pointed star around (cx, cy), point up.
Path Star(double cx, double cy, double r, double inner) {
  Path p;
  for (int i = 0; i < 10; ++i) {
    const double a = Rad(-90 + 36 * i), rr = i % 2 ? inner : r;
    if (i == 0)
      p.MoveTo(cx + rr * std::cos(a), cy + rr * std::sin(a));
    else
      p.LineTo(cx + rr * std::cos(a), cy + rr * std::sin(a));
  }
  return p.Close();
}

// A star whose ten facets alternate light and dark, as if pressed from metal.
void FacetedStar(Icon& icon, double cx, double cy, double r, double inner, Rgba color) {
  icon.Flat(Star(cx, cy, r, inner), color);
  for (int i = 0; i < 10; ++i) {
    const double a0 = Rad(-90 + 36 * i), a1 = Rad(-90 + 36 * (i + 1));
    const double r0 = i % 2 ? inner : r, r1 = i % 2 ? r : inner;
    Path facet;
    facet.Polygon({{cx, cy},
                   {cx + r0 * std::cos(a0), cy + r0 * std::sin(a0)},
                   {cx + r1 * std::cos(a1), cy + r1 * std::sin(a1)}});
    icon.Flat(facet, Shade(color, i % 2 ? -0.18 : 0.2));
  }
}

// ---- the fourteen icons, by image-list index, drawn for the types the card maps to it

// 0: ethnography and old household things: a samovar with a teapot on top.
void DrawSamovar(Icon& i) {
  const Rgba brass = Hex(0xE0A436);
  i.Line(Path().MoveTo(29, 44).CubicTo(17, 44, 17, 57, 26, 58), 3.6, Shade(brass, -0.35));
  i.Line(Path().MoveTo(71, 44).CubicTo(83, 44, 83, 57, 74, 58), 3.6, Shade(brass, -0.35));
  i.Across(Path().Polygon({{40, 72}, {60, 72}, {57, 77}, {43, 77}}), Shade(brass, -0.1));
  i.Body(Path().Circle(36, 82, 2.8).Circle(64, 82, 2.8), Shade(brass, -0.2));
  i.Across(Path().RoundRect(31, 76, 38, 5, 2), brass);
  const Path body = Path()
                        .MoveTo(33, 38)
                        .LineTo(67, 38)
                        .CubicTo(79, 46, 80, 64, 66, 73)
                        .LineTo(34, 73)
                        .CubicTo(20, 64, 21, 46, 33, 38)
                        .Close();
  i.Across(body, brass);
  i.Flat(Path().Rect(24, 47, 52, 3.2), Shade(brass, -0.3));
  i.Clip(body);
  for (int k = 0; k < 5; ++k) i.Flat(Path().Circle(30 + k * 10, 48.6, 1.4), Shade(brass, 0.5));
  i.ClearClip();
  i.Flat(Path().Ellipse(36, 58, 3, 8), Rgba{1, 1, 1, 0.35});
  // The tap: a spout with its key across the top.
  i.Across(Path().Polygon({{47.5, 60}, {52.5, 60}, {52.5, 66}, {55, 70}, {45, 70}, {47.5, 66}}),
           Shade(brass, -0.2));
  i.Across(Path().RoundRect(43, 57.5, 14, 3.5, 1.7), Shade(brass, -0.35));
  i.Across(Path().RoundRect(37, 33, 26, 6, 2), Shade(brass, -0.1));
  // The teapot.
  i.Line(Path().MoveTo(59, 26).LineTo(67, 18), 2.6, kCream);
  i.Body(Path().Ellipse(50, 26, 10, 7), kCream);
  i.Flat(Path().Ellipse(50, 26.5, 5, 2.5), Hex(0x2E5FA8));
  i.Flat(Path().Circle(44, 25, 1.3), Hex(0x2E5FA8));
  i.Flat(Path().Circle(56, 25, 1.3), Hex(0x2E5FA8));
  i.Body(Path().Ellipse(50, 19.5, 5, 1.8), kCream);
  i.Flat(Path().Circle(50, 17, 1.8), Hex(0x2E5FA8));
}

// 1: the school museum: the school bell with a red bow.
void DrawSchoolBell(Icon& i) {
  const Path bell = Path()
                        .MoveTo(37, 60)
                        .CubicTo(37, 42, 39, 31, 50, 31)
                        .CubicTo(61, 31, 63, 42, 63, 60)
                        .LineTo(69, 68)
                        .LineTo(31, 68)
                        .Close();
  i.Flat(Path().Circle(50, 72, 4.2), Shade(kGold, -0.35));
  i.Across(bell, kGold);
  i.Across(Path().RoundRect(29, 66, 42, 5, 2.5), Shade(kGold, -0.1));
  i.Flat(Path().Rect(36, 52, 28, 2.4), Shade(kGold, -0.3));
  i.Line(Path().Ellipse(50, 27, 4, 4), 2.2, Shade(kGold, -0.2));
  // The bow: two loops, two tails, a knot.
  const Rgba red = kRed;
  i.Body(Path().Polygon({{48, 26}, {40, 42}, {44, 43}, {50, 29}}), Shade(red, -0.1));
  i.Body(Path().Polygon({{52, 26}, {60, 42}, {56, 43}, {50, 29}}), Shade(red, -0.1));
  i.Body(
      Path().MoveTo(50, 24).CubicTo(40, 12, 28, 16, 33, 25).CubicTo(36, 30, 44, 28, 50, 24).Close(),
      red);
  i.Body(
      Path().MoveTo(50, 24).CubicTo(60, 12, 72, 16, 67, 25).CubicTo(64, 30, 56, 28, 50, 24).Close(),
      red);
  i.Body(Path().RoundRect(46.5, 21, 7, 6.5, 2.5), Shade(red, -0.15));
  i.Flat(Path().Ellipse(43, 40, 2.4, 7), Rgba{1, 1, 1, 0.35});
}

// 2: theatre and puppets: a comedy mask and a marionette on its strings.
void DrawMaskAndPuppet(Icon& i) {
  // The marionette.
  const Rgba str = Rgba{1, 1, 1, 0.75};
  i.Line(Line2(64, 18, 61, 60), 0.7, str);
  i.Line(Line2(86, 18, 87, 60), 0.7, str);
  i.Line(Line2(75, 18, 75, 37), 0.7, str);
  i.Line(Line2(62, 18, 88, 18), 3, kWood);
  i.Line(Line2(75, 12, 75, 24), 3, kWood);
  i.Line(Path().MoveTo(70, 53).LineTo(61, 61), 3, Hex(0x3D9A5B));
  i.Line(Path().MoveTo(80, 53).LineTo(87, 61), 3, Hex(0x3D9A5B));
  i.Line(Line2(71, 70, 70, 80), 3, Hex(0x2F5F9E));
  i.Line(Line2(79, 70, 80, 80), 3, Hex(0x2F5F9E));
  i.Body(Path().Polygon({{69, 49}, {81, 49}, {85, 71}, {65, 71}}), kRed);
  i.Flat(Path().Rect(67, 61, 16, 2.5), kGold);
  i.Body(Path().Circle(75, 43, 6.5), kSkin);
  i.Body(Path().Polygon({{68.5, 40.5}, {81.5, 40.5}, {78, 27}}), kRed);
  i.Flat(Path().Circle(78, 27, 2.2), kGold);
  i.Flat(Path().Circle(73, 43.5, 1), kInk);
  i.Flat(Path().Circle(77.5, 43.5, 1), kInk);
  i.Flat(Path().Circle(75, 46, 1.6), Hex(0xE57373));
  // The mask, tilted.
  const Affine tilt = Affine::Rotate(Rad(-12), 38, 48);
  const Path mask = Path()
                        .MoveTo(18, 30)
                        .CubicTo(28, 25, 48, 25, 58, 30)
                        .CubicTo(60, 51, 52, 67, 38, 71)
                        .CubicTo(24, 67, 16, 51, 18, 30)
                        .Close();
  i.Body(mask.Transformed(tilt), kGold);
  const Rgba hole = Shade(i.Badge(), -0.45);
  i.Flat(Path()
             .MoveTo(24, 42)
             .QuadTo(30, 35, 35, 42)
             .QuadTo(30, 39, 24, 42)
             .Close()
             .MoveTo(41, 42)
             .QuadTo(46, 35, 52, 42)
             .QuadTo(46, 39, 41, 42)
             .Close()
             .MoveTo(27, 52)
             .QuadTo(38, 66, 49, 52)
             .QuadTo(38, 57, 27, 52)
             .Close()
             .Transformed(tilt),
         hole);
  i.Flat(Path().Circle(26, 50, 3).Circle(50, 50, 3).Transformed(tilt), Rgba{0.9, 0.4, 0.3, 0.45});
  i.Line(Path().MoveTo(22, 34).QuadTo(29, 30, 35, 34).Transformed(tilt), 1.2, Rgba{1, 1, 1, 0.5});
}

// 3: creative work: a painter's palette and a brush.
void DrawPalette(Icon& i) {
  const Path palette = Path()
                           .MoveTo(50, 26)
                           .CubicTo(72, 26, 84, 40, 82, 54)
                           .CubicTo(80, 68, 66, 66, 60, 72)
                           .CubicTo(54, 80, 38, 82, 28, 74)
                           .CubicTo(16, 64, 16, 42, 28, 33)
                           .CubicTo(34, 28, 42, 26, 50, 26)
                           .Close()
                           .Circle(40, 66, 5);
  i.Body(palette, Hex(0xF2D9A6), FillRule::EvenOdd);
  i.Body(Path().Circle(32, 46, 5.5), kRed);
  i.Body(Path().Circle(45, 36, 5.5), Hex(0x2F78C4));
  i.Body(Path().Circle(60, 37, 5.5), Hex(0xF6C431));
  i.Body(Path().Circle(72, 48, 5.5), Hex(0x43A047));
  const Affine at = Affine::Translate(62, 58) * Affine::Rotate(Rad(35), 0, 0);
  i.Across(Path().RoundRect(-2.6, 2, 5.2, 32, 2.6).Transformed(at), Hex(0x8D5A2B));
  i.Across(Path().Rect(-3.2, -6, 6.4, 8.5).Transformed(at), kSteel);
  i.Body(Path()
             .MoveTo(-3.2, -6)
             .QuadTo(-4.5, -16, 0, -24)
             .QuadTo(4.5, -16, 3.2, -6)
             .Close()
             .Transformed(at),
         Hex(0x7B3FA0));
}

// 4: nature: a leaf and a bird (a bullfinch).
void DrawLeafAndBird(Icon& i) {
  const Rgba leaf = Hex(0x8BC34A);
  i.Body(
      Path().MoveTo(24, 80).CubicTo(20, 52, 42, 30, 82, 24).CubicTo(84, 60, 58, 82, 24, 80).Close(),
      leaf);
  const Rgba vein = Shade(leaf, -0.35);
  i.Line(Path().MoveTo(20, 84).QuadTo(46, 56, 78, 28), 2, vein);
  i.Line(Line2(42, 62, 40, 48), 1.2, vein);
  i.Line(Line2(53, 51, 52, 38), 1.2, vein);
  i.Line(Line2(63, 42, 64, 31), 1.2, vein);
  i.Line(Line2(44, 60, 58, 62), 1.2, vein);
  i.Line(Line2(55, 49, 70, 49), 1.2, vein);
  // The bird sits at the upper left.
  const Rgba back = Hex(0x5D6D7E);
  i.Body(Path().Polygon({{27, 43}, {12, 40}, {15, 48}}), kInk);
  i.Body(Path().Ellipse(34, 42, 12, 8.5), back);
  i.Body(Path().Ellipse(36, 46, 9, 5.5), Hex(0xE4572E));
  i.Body(Path().Ellipse(31, 40, 8, 4.2).Transformed(Affine::Rotate(Rad(12), 31, 40)),
         Shade(back, -0.2));
  i.Line(Path().MoveTo(25, 41).QuadTo(31, 43, 37, 41), 1.2, Rgba{1, 1, 1, 0.7});
  i.Body(Path().Circle(44, 35, 6.5), kInk);
  i.Flat(Path().Ellipse(45, 39, 4.5, 3), Hex(0xE4572E));
  i.Flat(Path().Polygon({{49.5, 34}, {55, 36.5}, {49.5, 38.5}}), Hex(0x37474F));
  i.Flat(Path().Circle(45.5, 33.8, 1.3), Rgba{1, 1, 1, 1});
}

// 5: musical instruments: a balalaika and a drum.
void DrawBalalaikaAndDrum(Icon& i) {
  const Affine at = Affine::Translate(63, 52) * Affine::Rotate(Rad(24), 0, 0);
  i.Across(Path().Rect(-2.4, -44, 4.8, 32).Transformed(at), Hex(0x6D3F1E));
  i.Body(Path().Polygon({{-3.6, -54}, {3.6, -54}, {3, -44}, {-3, -44}}).Transformed(at),
         Hex(0x5A3217));
  for (int k = 0; k < 3; ++k)
    i.Flat(Path().Circle(-4.6, -52 + 3.5 * k, 1.1).Transformed(at), kCream);
  i.Body(Path().MoveTo(0, -16).LineTo(17, 14).QuadTo(0, 20, -17, 14).Close().Transformed(at),
         Hex(0xE5A557));
  i.Flat(Path().Circle(0, 4, 3.2).Transformed(at), Hex(0x4E2A12));
  i.Flat(Path().RoundRect(-5, 10, 10, 2, 1).Transformed(at), Hex(0x4E2A12));
  for (int k = -1; k <= 1; ++k)
    i.Line(Line2(k * 0.9, -44, k * 1.6, 11).Transformed(at), 0.45, Rgba{1, 1, 1, 0.85});
  // The drum.
  const Rgba shell = kRed;
  i.Across(Path().Rect(17, 55, 40, 20).Ellipse(37, 75, 20, 5.5), shell);
  Path cord;
  for (int k = 0; k <= 8; ++k) {
    const double x = 18 + k * 38.0 / 8;
    const double y = k % 2 ? 74 : 57;
    if (k == 0)
      cord.MoveTo(x, y);
    else
      cord.LineTo(x, y);
  }
  i.Line(cord, 1.4, kCream);
  i.Line(Path().ArcTo(37, 75, 20, 5.5, 0, kPi), 2.4, kGold);
  i.Body(Path().Ellipse(37, 55, 20, 5.5), kGold);
  i.Body(Path().Ellipse(37, 55, 17.5, 4.2), kCream);
  i.Line(Line2(26, 40, 40, 53), 2.2, Hex(0xD7B98E));
  i.Flat(Path().Circle(26, 40, 2.3), Hex(0xD7B98E));
}

// 6: local lore: a folded map with a river, a route and a pin.
void DrawMap(Icon& i) {
  const Rgba paper = Hex(0xF3E6C4);
  i.Body(Path().Polygon({{16, 34}, {38, 27}, {38, 75}, {16, 82}}), paper);
  i.Body(Path().Polygon({{38, 27}, {62, 34}, {62, 82}, {38, 75}}), Shade(paper, -0.12));
  i.Body(Path().Polygon({{62, 34}, {84, 27}, {84, 75}, {62, 82}}), paper);
  i.Clip(Path().Polygon(
      {{16, 34}, {38, 27}, {62, 34}, {84, 27}, {84, 75}, {62, 82}, {38, 75}, {16, 82}}));
  i.Flat(Path().Ellipse(27, 46, 8, 6).Ellipse(72, 64, 9, 6), Hex(0x9CCC65));
  i.Line(Path().MoveTo(10, 70).CubicTo(30, 60, 40, 78, 58, 66).CubicTo(70, 58, 78, 54, 90, 46), 3.2,
         Hex(0x4FA3E0));
  i.ClearClip();
  for (int k = 0; k < 6; ++k) i.Flat(Path().Circle(24 + k * 5.2, 64 - k * 3.1, 1.1), kRed);
  i.Body(Path().Circle(58, 38, 10).Polygon({{49.5, 43}, {66.5, 43}, {58, 58}}), kRed);
  i.Flat(Path().Circle(58, 38, 3.8), kCream);
}

// 7: school history and natural science: a globe on its stand over an open book.
void DrawGlobeAndBook(Icon& i) {
  i.Body(Path()
             .MoveTo(50, 74)
             .QuadTo(34, 66, 14, 70)
             .LineTo(14, 84)
             .QuadTo(34, 80, 50, 88)
             .QuadTo(66, 80, 86, 84)
             .LineTo(86, 70)
             .QuadTo(66, 66, 50, 74)
             .Close(),
         Hex(0xC0392B));
  i.Body(Path().MoveTo(50, 71).QuadTo(35, 62, 17, 66).LineTo(17, 80).QuadTo(35, 76, 50, 84).Close(),
         kCream);
  i.Body(Path().MoveTo(50, 71).QuadTo(65, 62, 83, 66).LineTo(83, 80).QuadTo(65, 76, 50, 84).Close(),
         Shade(kCream, -0.08));
  for (int k = 0; k < 3; ++k) {
    i.Line(Path().MoveTo(22, 71 + k * 3.5).QuadTo(34, 68 + k * 3.5, 45, 73 + k * 3.5), 0.8,
           Hex(0xA1887F));
    i.Line(Path().MoveTo(55, 73 + k * 3.5).QuadTo(66, 68 + k * 3.5, 78, 71 + k * 3.5), 0.8,
           Hex(0xA1887F));
  }
  i.Line(Line2(50, 56, 50, 66), 3, kGold);
  i.Body(Path().Ellipse(50, 66, 9, 2.6), kGold);
  i.Body(Path().Circle(50, 36, 17), Hex(0x4FA3E0));
  i.Clip(Path().Circle(50, 36, 17));
  i.Flat(Path()
             .MoveTo(36, 26)
             .CubicTo(42, 20, 52, 22, 50, 30)
             .CubicTo(48, 36, 40, 34, 42, 44)
             .CubicTo(38, 46, 32, 38, 36, 26)
             .Close()
             .MoveTo(56, 34)
             .CubicTo(64, 30, 70, 36, 66, 44)
             .CubicTo(62, 52, 54, 50, 56, 44)
             .CubicTo(58, 40, 52, 38, 56, 34)
             .Close(),
         Hex(0x7CB342));
  i.Flat(Path().Circle(43, 29, 12), Rgba{1, 1, 1, 0.18});
  i.ClearClip();
  i.Line(Path().ArcTo(50, 36, 21, 21, Rad(120), Rad(300)), 2.4, kGold);
}

// 8: history and local lore: a wooden fortress tower between stretches of wall.
void DrawFortress(Icon& i) {
  const Rgba logs = Hex(0xC98A4B), roof = Hex(0x4E7D5B);
  for (double x : {14.0, 64.0}) {
    i.Body(Path().Rect(x, 54, 22, 26), Shade(logs, -0.1));
    for (int k = 0; k < 4; ++k) i.Body(Path().Rect(x + 1 + k * 5.6, 48, 3.6, 7), Shade(logs, -0.1));
    for (int k = 1; k < 5; ++k)
      i.Line(Line2(x, 54 + k * 5.2, x + 22, 54 + k * 5.2), 0.8, Shade(logs, -0.4));
  }
  i.Across(Path().Rect(36, 42, 28, 38), logs);
  for (int k = 1; k < 7; ++k)
    i.Line(Line2(36, 42 + k * 5.4, 64, 42 + k * 5.4), 0.9, Shade(logs, -0.4));
  i.Across(Path().Rect(33, 36, 34, 7), Shade(logs, -0.15));
  i.Body(Path().Polygon({{31, 37}, {69, 37}, {50, 10}}), roof);
  i.Flat(Path().Polygon({{50, 10}, {69, 37}, {50, 37}}), Rgba{0, 0, 0, 0.15});
  i.Line(Line2(50, 11, 50, 3), 1.4, kInk);
  i.Flat(Path().Polygon({{50.5, 3}, {59, 5.5}, {50.5, 8}}), kRed);
  i.Flat(
      Path().MoveTo(44, 80).LineTo(44, 67).ArcTo(50, 67, 6, 6, kPi, 2 * kPi).LineTo(56, 80).Close(),
      Hex(0x4E2A12));
  i.Flat(Path().RoundRect(48.5, 47, 3, 7, 1.5), Hex(0x4E2A12));
}

// 9: history: a Greek amphora and a scroll.
void DrawAmphora(Icon& i) {
  const Rgba clay = Hex(0xDB7F43), black = Hex(0x2B2220);
  const Path body = Path()
                        .MoveTo(43, 32)
                        .CubicTo(26, 38, 27, 62, 46, 80)
                        .LineTo(54, 80)
                        .CubicTo(73, 62, 74, 38, 57, 32)
                        .Close();
  // The scroll behind, to the right.
  i.Body(Path().RoundRect(58, 58, 28, 18, 2), Hex(0xF3E2B8));
  i.Across(Path().RoundRect(56, 55, 5, 24, 2.5), Hex(0xE3C98E));
  i.Across(Path().RoundRect(83, 55, 5, 24, 2.5), Hex(0xE3C98E));
  for (int k = 0; k < 3; ++k) i.Line(Line2(65, 62 + k * 4.5, 80, 62 + k * 4.5), 1, Hex(0xA1887F));
  i.Line(Path().MoveTo(44, 24).CubicTo(34, 24, 32, 34, 36, 40), 3, Shade(clay, -0.2));
  i.Line(Path().MoveTo(56, 24).CubicTo(66, 24, 68, 34, 64, 40), 3, Shade(clay, -0.2));
  i.Across(Path().Rect(44, 22, 12, 11), clay);
  i.Across(Path().RoundRect(40, 18, 20, 5, 2.5), clay);
  i.Across(body, clay);
  i.Across(Path().Polygon({{44, 79}, {56, 79}, {58, 85}, {42, 85}}), Shade(clay, -0.15));
  i.Clip(body);
  i.Flat(Path().Rect(20, 45, 60, 11), black);
  for (int k = 0; k < 7; ++k)
    i.Line(Path()
               .MoveTo(30 + k * 6.5, 54)
               .LineTo(30 + k * 6.5, 48)
               .LineTo(33.5 + k * 6.5, 48)
               .LineTo(33.5 + k * 6.5, 51),
           1.1, clay);
  i.Flat(Path().Rect(20, 64, 60, 2), black);
  i.Flat(Path().Ellipse(39, 60, 2.5, 12), Rgba{1, 1, 1, 0.25});
  i.ClearClip();
}

// 10: the museum corner: a jug under a glass dome on a plinth.
void DrawShowcase(Icon& i) {
  const Rgba stone = Hex(0xEDE3D0);
  i.Across(Path().Rect(36, 66, 28, 13), stone);
  i.Across(Path().RoundRect(31, 62, 38, 5, 2), Shade(stone, 0.1));
  i.Across(Path().RoundRect(31, 78, 38, 5, 2), Shade(stone, 0.1));
  i.Flat(Path().RoundRect(43, 69, 14, 6, 1), kGold);
  // The jug: white with blue painting.
  const Rgba blue = Hex(0x2356A8);
  i.Line(Path().MoveTo(56, 44).CubicTo(63, 44, 63, 53, 56, 55), 2.4, kCream);
  i.Body(Path()
             .MoveTo(46, 38)
             .LineTo(54, 38)
             .LineTo(53, 44)
             .CubicTo(62, 48, 60, 60, 54, 62)
             .LineTo(46, 62)
             .CubicTo(40, 60, 38, 48, 47, 44)
             .Close(),
         kCream);
  i.Flat(Path().RoundRect(44.5, 36.5, 11, 3, 1.5), kCream);
  i.Flat(Path().Circle(50, 53, 3.2), blue);
  for (int k = 0; k < 6; ++k) {
    const double a = Rad(60 * k);
    i.Flat(Path().Ellipse(50 + 5.5 * std::cos(a), 53 + 5.5 * std::sin(a), 1.6, 1.6), blue);
  }
  i.Line(Line2(45, 45.5, 55, 45.5), 1, blue);
  // The dome.
  const Path dome = Path()
                        .MoveTo(33, 62)
                        .LineTo(33, 38)
                        .ArcTo(50, 38, 17, 17, kPi, 2 * kPi)
                        .LineTo(67, 62)
                        .Close();
  i.Flat(dome, Rgba{0.85, 0.95, 1, 0.22});
  i.Line(Path().MoveTo(33, 62).LineTo(33, 38).ArcTo(50, 38, 17, 17, kPi, 2 * kPi).LineTo(67, 62),
         1.4, Rgba{1, 1, 1, 0.75});
  i.Line(Path().ArcTo(50, 38, 13, 13, Rad(200), Rad(245)), 2.2, Rgba{1, 1, 1, 0.7});
  i.Line(Line2(37, 42, 37, 56), 2.2, Rgba{1, 1, 1, 0.45});
  i.Flat(Path().Circle(50, 19, 2.5), kGold);
}

// 11: the gallery: a landscape in a gilded frame on its wire.
void DrawFramedPicture(Icon& i) {
  i.Line(Path().MoveTo(30, 28).LineTo(50, 15).LineTo(70, 28), 1.3, Hex(0x3E2723));
  i.Flat(Path().Circle(50, 15, 2.4), kSteel);
  const Path frame = Path().Rect(16, 26, 68, 52);
  i.Body(frame, kGold);
  i.Line(Path().Rect(19, 29, 62, 46).Close(), 1, Shade(kGold, 0.35));
  const Path inner = Path().Rect(24, 34, 52, 36);
  i.Flat(Path().Rect(23, 33, 54, 38), Shade(kGold, -0.45));
  i.Body(inner, Hex(0x9BD0EE));
  i.Clip(inner);
  i.Flat(Path().Circle(63, 44, 5), Hex(0xFFE082));
  i.Body(Path()
             .MoveTo(20, 60)
             .QuadTo(38, 46, 56, 58)
             .QuadTo(68, 52, 80, 56)
             .LineTo(80, 72)
             .LineTo(20, 72)
             .Close(),
         Hex(0x7CB342));
  i.Body(Path().MoveTo(20, 66).QuadTo(44, 58, 80, 68).LineTo(80, 72).LineTo(20, 72).Close(),
         Hex(0x558B2F));
  i.Body(Path()
             .MoveTo(40, 72)
             .CubicTo(44, 66, 52, 66, 50, 60)
             .LineTo(52, 60)
             .CubicTo(56, 66, 52, 70, 58, 72)
             .Close(),
         Hex(0x4FA3E0));
  for (double x : {31.0, 35.0}) {
    i.Line(Line2(x, 62, x, 48), 1.4, kCream);
    i.Flat(Path().Ellipse(x, 50, 2.8, 5), Hex(0x9CCC65));
  }
  i.ClearClip();
}

// 12: military history: crossed swords behind a warrior's pointed helmet.
void DrawHelmetAndSwords(Icon& i) {
  // Each sword: guard at the origin, blade down to its tip; they cross behind the helmet.
  for (double angle : {36.0, -36.0}) {
    const Affine at =
        Affine::Translate(50, 55) * Affine::Rotate(Rad(angle), 0, 0) * Affine::Translate(0, -30);
    i.Across(Path().Polygon({{-3, 2}, {3, 2}, {3, 52}, {0, 58}, {-3, 52}}).Transformed(at), kSteel);
    i.Line(Line2(0, 3, 0, 52).Transformed(at), 0.8, Shade(kSteel, -0.3));
    i.Body(Path().RoundRect(-10, -2, 20, 4, 2).Transformed(at), kGold);
    i.Across(Path().Rect(-2, -14, 4, 12).Transformed(at), Hex(0x6D3F1E));
    i.Body(Path().Circle(0, -16.5, 3).Transformed(at), kGold);
  }
  // A warrior's helmet: a pointed dome over a mail hood with an opening for the face.
  const Rgba mail = Shade(kSteel, -0.3);
  i.Body(Path()
             .MoveTo(31, 60)
             .LineTo(69, 60)
             .LineTo(70, 78)
             .QuadTo(50, 90, 30, 78)
             .Close()
             .RoundRect(40, 62, 20, 17, 6),
         mail, FillRule::EvenOdd);
  i.Clip(Path().MoveTo(31, 60).LineTo(69, 60).LineTo(70, 78).QuadTo(50, 90, 30, 78).Close());
  for (int row = 0; row < 6; ++row)
    for (int k = 0; k < 11; ++k) {
      const double x = 31 + k * 4 + (row % 2) * 2, y = 64 + row * 4;
      if (x < 39 || x > 61 || y > 79) i.Flat(Path().Circle(x, y, 1), Shade(kSteel, 0.15));
    }
  i.ClearClip();
  const Path dome =
      Path().MoveTo(30, 62).CubicTo(30, 42, 42, 32, 50, 20).CubicTo(58, 32, 70, 42, 70, 62).Close();
  i.Across(dome, kSteel);
  i.Clip(dome);
  i.Flat(
      Path().MoveTo(50, 20).CubicTo(52, 38, 52, 52, 52, 64).LineTo(70, 64).LineTo(70, 20).Close(),
      Rgba{0, 0, 0, 0.1});
  i.ClearClip();
  i.Across(Path().Polygon({{48, 21}, {52, 21}, {50, 9}}), kGold);
  i.Across(Path().RoundRect(28, 57, 44, 7, 2), kGold);
  for (int k = 0; k < 5; ++k) i.Flat(Path().Circle(34 + k * 8, 60.5, 1.3), kRed);
  i.Across(Path().Polygon({{47.8, 63}, {52.2, 63}, {51.3, 75}, {48.7, 75}}), kSteel);
}

// 13: military glory: a medal with a red star on a striped ribbon.
void DrawMedal(Icon& i) {
  const Path ribbon = Path().Polygon({{35, 12}, {65, 12}, {62, 40}, {38, 40}});
  i.Body(ribbon, Hex(0xF08A1C));
  i.Clip(ribbon);
  for (double x : {39.5, 47.5, 55.5}) i.Flat(Path().Rect(x, 10, 5, 32), Hex(0x222222));
  i.ClearClip();
  i.Line(Line2(36, 40.5, 64, 40.5), 2, Shade(kGold, -0.2));
  i.Line(Path().Ellipse(50, 44, 3, 3), 1.8, Shade(kGold, -0.2));
  i.Body(Path().Circle(50, 64, 19), kGold);
  i.Line(Path().Ellipse(50, 64, 16.5, 16.5), 1.2, Shade(kGold, -0.35));
  for (int k = 0; k < 24; ++k) {
    const double a = Rad(15 * k);
    i.Flat(Path().Circle(50 + 17.8 * std::cos(a), 64 + 17.8 * std::sin(a), 0.7), Shade(kGold, 0.4));
  }
  FacetedStar(i, 50, 64.5, 13, 5.3, kRed);
}

// Round badge with a soft shadow below, then the icon with its own soft shadow.
gfx::Bitmap Badge(Rgba base, void (*draw)(Icon&)) {
  constexpr int s = kTypePictureSize;
  const double cx = s / 2.0, cy = s / 2.0 - 1, r = 41;
  Canvas canvas(s, s);
  Canvas shadow(s, s);
  shadow.Fill(Path().Circle(cx, cy + 2, r), Rgba{0, 0, 0, 0.45});
  shadow.Blur(1);
  canvas.Draw(shadow);
  canvas.Fill(
      Path().Circle(cx, cy, r),
      Paint::Linear({0, cy - r}, {0, cy + r}, {{0, Shade(base, 0.5)}, {1, Shade(base, -0.3)}}));
  canvas.Fill(Path().Circle(cx, cy, r - 2.2),
              Paint::Radial({cx - 12, cy - 16}, 2 * r - 14,
                            {{0, Shade(base, 0.3)}, {0.55, base}, {1, Shade(base, -0.28)}}));
  // A soft sheen over the upper half.
  canvas.Fill(
      Path().Ellipse(cx, cy - 17, r - 10, 19),
      Paint::Linear({0, cy - 36}, {0, cy + 2}, {{0, Rgba{1, 1, 1, 0.22}}, {1, Rgba{1, 1, 1, 0}}}));

  Canvas art(s, s);
  const double scale = 0.68;
  Icon icon(art,
            Affine::Translate(cx - 50 * scale, cy - 50 * scale + 0.5) * Affine::Scale(scale, scale),
            base);
  draw(icon);
  Canvas silhouette = art.Silhouette(Rgba{0, 0, 0, 0.35});
  silhouette.Blur(1);
  canvas.Clip(Path().Circle(cx, cy, r - 1));
  canvas.Draw(silhouette, 1, 1, 2);
  canvas.ClearClip();
  canvas.Draw(art);
  return canvas.ToBitmap();
}

// ---- banner and background

// A classical museum front (pediment, columns, steps) in a box of the given height whose
// top centre is at (cx, top).
Path MuseumFront(double cx, double top, double h) {
  const double u = h / 10;
  Path p;
  p.Polygon({{cx - 5.2 * u, top + 2.6 * u}, {cx, top}, {cx + 5.2 * u, top + 2.6 * u}});
  p.Rect(cx - 5 * u, top + 2.9 * u, 10 * u, 0.8 * u);
  for (int k = 0; k < 4; ++k) p.Rect(cx - 4.3 * u + k * 2.6 * u, top + 4 * u, 1.2 * u, 4.3 * u);
  p.Rect(cx - 5.2 * u, top + 8.5 * u, 10.4 * u, 0.7 * u);
  p.Rect(cx - 5.8 * u, top + 9.3 * u, 11.6 * u, 0.7 * u);
  return p;
}

// A rolling skyline: a sum of waves around baseline y.
Path Hills(double width, double bottom, double y, double amp, double phase) {
  Path p;
  p.MoveTo(0, bottom);
  for (double x = 0; x <= width; x += 4)
    p.LineTo(x, y - amp * (0.6 * std::sin(x / 173 + phase) + 0.4 * std::sin(x / 61 + 2 * phase)));
  p.LineTo(width, y - amp * (0.6 * std::sin(width / 173 + phase) +
                             0.4 * std::sin(width / 61 + 2 * phase)));
  p.LineTo(width, bottom);
  return p.Close();
}

double HillY(double x, double y, double amp, double phase) {
  return y - amp * (0.6 * std::sin(x / 173 + phase) + 0.4 * std::sin(x / 61 + 2 * phase));
}

// A fir tree standing at (x, ground).
Path Fir(double x, double ground, double h) {
  Path p;
  for (int k = 0; k < 3; ++k) {
    const double top = ground - h + k * h * 0.25, w = h * (0.22 + 0.1 * k);
    p.Polygon({{x, top}, {x + w, top + h * 0.42}, {x - w, top + h * 0.42}});
  }
  p.Rect(x - h * 0.04, ground - h * 0.1, h * 0.08, h * 0.1);
  return p;
}

// The onion dome and cross of the church below.
Path OnionDome(double x, double ground, double h) {
  const double u = h / 10;
  Path p;
  p.MoveTo(x, ground - 9.2 * u)
      .CubicTo(x + 0.4 * u, ground - 8.2 * u, x + 1.8 * u, ground - 8 * u, x + 1.5 * u,
               ground - 7 * u)
      .LineTo(x - 1.5 * u, ground - 7 * u)
      .CubicTo(x - 1.8 * u, ground - 8 * u, x - 0.4 * u, ground - 8.2 * u, x, ground - 9.2 * u)
      .Close();
  p.Rect(x - 0.12 * u, ground - 10.2 * u, 0.24 * u, 1.2 * u);
  p.Rect(x - 0.5 * u, ground - 9.9 * u, 1 * u, 0.2 * u);
  return p;
}

// A village church with an onion dome on a drum, at (x, ground).
Path Church(double x, double ground, double h) {
  const double u = h / 10;
  Path p;
  p.Rect(x - 2.5 * u, ground - 4 * u, 5 * u, 4 * u);
  p.Polygon({{x - 3 * u, ground - 4 * u}, {x, ground - 5.4 * u}, {x + 3 * u, ground - 4 * u}});
  p.Rect(x - 1 * u, ground - 7 * u, 2 * u, 2.2 * u);
  p.Add(OnionDome(x, ground, h));
  // The bell tower beside it.
  p.Rect(x + 3.2 * u, ground - 6.5 * u, 2 * u, 6.5 * u);
  p.Polygon({{x + 3 * u, ground - 6.5 * u},
             {x + 4.2 * u, ground - 9 * u},
             {x + 5.4 * u, ground - 6.5 * u}});
  return p;
}

// Embroidery: a row of stepped rhombi with crosses between, as on a towel's border.
void Embroidery(Canvas& c, double y, double h, double width, Rgba ground, Rgba thread) {
  c.Fill(Path().Rect(0, y, width, h), ground);
  const double s = h * 0.36, step = h * 1.6;
  for (double x = step / 2; x < width + step; x += step) {
    const double cy = y + h / 2;
    c.Fill(Path().Polygon({{x, cy - s}, {x + s, cy}, {x, cy + s}, {x - s, cy}}), thread);
    c.Fill(Path().Polygon(
               {{x, cy - s * 0.45}, {x + s * 0.45, cy}, {x, cy + s * 0.45}, {x - s * 0.45, cy}}),
           ground);
    const double mx = x + step / 2, t = s * 0.18;
    c.Fill(Path()
               .Rect(mx - t, cy - s * 0.6, 2 * t, s * 1.2)
               .Rect(mx - s * 0.6, cy - t, s * 1.2, 2 * t),
           thread);
  }
}

// A birch at (x, ground): a slim white trunk with dark marks under a drooping crown.
void Birch(Canvas& c, double x, double ground, double h, Rgba leaves, Rgba trunk) {
  const double t = std::max(1.2, h * 0.035);
  c.Fill(Path().Rect(x - t / 2, ground - h * 0.85, t, h * 0.85), trunk);
  for (double y = ground - h * 0.12; y > ground - h * 0.5; y -= h * 0.11)
    c.Fill(Path().Rect(x - t / 2, y, t * 0.6, std::max(0.8, h * 0.025)), Shade(leaves, -0.4));
  Path crown;
  crown.Ellipse(x, ground - h * 0.72, h * 0.15, h * 0.26);
  crown.Ellipse(x - h * 0.1, ground - h * 0.6, h * 0.1, h * 0.18);
  crown.Ellipse(x + h * 0.11, ground - h * 0.62, h * 0.1, h * 0.17);
  c.Fill(crown, leaves);
  c.Fill(Path().Ellipse(x - h * 0.04, ground - h * 0.78, h * 0.07, h * 0.14), Shade(leaves, 0.15));
}

void Text(Canvas& c, const Lettering& t, double x, double y, const Paint& paint) {
  c.Fill(t.outline.Transformed(Affine::Translate(x, y)), paint);
}

}  // namespace

gfx::Bitmap PaintBanner() {
  constexpr int w = kBannerWidth, h = kBannerHeight;
  Canvas c(w, h);
  c.Fill(Path().Rect(0, 0, w, h),
         Paint::Linear({0, 0}, {0, h}, {{0, Hex(0x173A63)}, {1, Hex(0x2E6B9C)}}));
  // Dawn light on the right, where the church stands.
  c.Fill(
      Path().Rect(0, 0, w, h),
      Paint::Radial({1040, 75}, 380,
                    {{0, Hex(0xA9D4F2, 0.55)}, {0.45, Hex(0x8EC0E8, 0.2)}, {1, Hex(0x8EC0E8, 0)}}));
  c.Fill(Path().Rect(0, 0, w, h),
         Paint::Radial({250, 50}, 330, {{0, Hex(0x5C9BD1, 0.35)}, {1, Hex(0x5C9BD1, 0)}}));
  // Far hills with a village church, near hills with fir and birch woods.
  const Rgba far = Hex(0x3F74A0), mid = Hex(0x2D5D87), nearC = Hex(0x1F4A70);
  c.Fill(Hills(w, h, 70, 10, 0.7), far);
  c.Fill(Church(1040, HillY(1040, 70, 10, 0.7) + 2, 40), far);
  c.Fill(OnionDome(1040, HillY(1040, 70, 10, 0.7) + 2, 40), Hex(0xE9C46A));
  c.Fill(Church(760, HillY(760, 70, 10, 0.7) + 2, 22), far);
  c.Fill(Hills(w, h, 82, 8, 2.1), mid);
  for (double x = 470; x < 1260; x += 13 + 9 * std::abs(std::sin(x * 0.37)))
    if (x < 930 || x > 1110)
      c.Fill(Fir(x, HillY(x, 82, 8, 2.1) + 3, 16 + 8 * std::abs(std::sin(x * 1.3))), mid);
  c.Fill(Hills(w, h, 90, 5, 4.0), nearC);
  for (double x = 600; x < 1270; x += 34 + 22 * std::abs(std::sin(x)))
    if (x < 990 || x > 1090)
      Birch(c, x, HillY(x, 90, 5, 4.0) + 2, 30 + 8 * std::abs(std::cos(x)), Hex(0x2B6A66),
            Hex(0xDCE6EA));
  // Birds over the church.
  for (auto [x, y, span] : {std::tuple{900.0, 30.0, 7.0},
                            {922, 22, 5.5},
                            {944, 34, 6.0},
                            {1150, 26, 5.0},
                            {1170, 33, 6.5}}) {
    c.Stroke(Path()
                 .MoveTo(x - span, y - span * 0.3)
                 .QuadTo(x - span * 0.4, y - span * 0.6, x, y)
                 .QuadTo(x + span * 0.4, y - span * 0.6, x + span, y - span * 0.3),
             1.2, Hex(0xD6E8F5, 0.8));
  }
  // Embroidered border.
  c.Fill(Path().Rect(0, 89, w, 1.5), Hex(0xE9C46A));
  Embroidery(c, 90.5, 9.5, w, Hex(0x8E2424), Hex(0xF2D27A));

  // The emblem: a museum front on a gold medallion.
  const double ex = 62, ey = 45;
  Canvas glow(w, h);
  glow.Fill(Path().Circle(ex, ey + 2, 34), Rgba{0, 0, 0, 0.45});
  glow.Blur(3);
  c.Draw(glow);
  c.Fill(Path().Circle(ex, ey, 34),
         Paint::Linear({0, ey - 34}, {0, ey + 34}, {{0, Hex(0xFFE8A8)}, {1, Hex(0xB5842A)}}));
  c.Fill(Path().Circle(ex, ey, 30),
         Paint::Radial({ex - 8, ey - 10}, 40, {{0, Hex(0x2E6EA6)}, {1, Hex(0x123458)}}));
  c.Fill(MuseumFront(ex, ey - 18, 34),
         Paint::Linear({0, ey - 18}, {0, ey + 16}, {{0, Hex(0xFFEDB8)}, {1, Hex(0xE0AE45)}}));

  // The title and the line under it.
  const Lettering title = LayOutText(u"DejaVu Serif", true, u"Velmora", 50, 1.5);
  const Lettering sub =
      LayOutText(u"Open Sans", false, u"Музеи образовательных организаций", 19, 0.6);
  const double tx = 116, ty = 55;
  Canvas shade(w, h);
  shade.Fill(title.outline.Transformed(Affine::Translate(tx + 2, ty + 3)), Rgba{0, 0, 0, 0.55});
  shade.Fill(sub.outline.Transformed(Affine::Translate(tx + 4 + 1, 80 + 2)), Rgba{0, 0, 0, 0.5});
  shade.Blur(2);
  c.Draw(shade);
  Text(c, title, tx, ty,
       Paint::Linear({0, ty - 36}, {0, ty + 2},
                     {{0, Hex(0xFFF4CF)}, {0.5, Hex(0xF5D37C)}, {1, Hex(0xD69A2E)}}));
  Text(c, sub, tx + 4, 80, Hex(0xF3EBD9));
  return c.ToBitmap();
}

gfx::Bitmap PaintBackground() {
  constexpr int w = kBackgroundWidth, h = kBackgroundHeight;
  Canvas c(w, h);
  c.Fill(Path().Rect(0, 0, w, h),
         Paint::Linear({0, 0}, {0, h},
                       {{0, Hex(0xF7F4EE)}, {0.6, Hex(0xEEF2F4)}, {1, Hex(0xE2EBF0)}}));
  c.Fill(Path().Rect(0, 0, w, h),
         Paint::Radial({w * 0.7, h * 0.72}, 520, {{0, Hex(0xFFF1D6, 0.7)}, {1, Hex(0xFFF1D6, 0)}}));
  // The same landscape as the header, in pale tones.
  const Rgba far = Hex(0xDCE6EC), mid = Hex(0xCFDCE4), nearC = Hex(0xC3D3DD);
  c.Fill(Hills(w, h, 470, 26, 1.3), far);
  c.Fill(Church(640, HillY(640, 470, 26, 1.3) + 4, 90), far);
  c.Fill(Hills(w, h, 515, 20, 2.6), mid);
  for (double x = 20; x < w; x += 20 + 14 * std::abs(std::sin(x * 0.41)))
    if (x < 560 || x > 720)
      c.Fill(Fir(x, HillY(x, 515, 20, 2.6) + 6, 38 + 14 * std::abs(std::sin(x))), mid);
  c.Fill(Hills(w, h, 560, 12, 4.4), nearC);
  for (double x = 40; x < w; x += 56 + 40 * std::abs(std::sin(x)))
    Birch(c, x, HillY(x, 560, 12, 4.4) + 4, 70 + 20 * std::abs(std::cos(x)), Hex(0xC2D3CB),
          Hex(0xF7F8F8));
  // A watermark of the emblem and a faint embroidered band at the top.
  c.Fill(Path().Circle(w / 2.0, 230, 120), Rgba{0.55, 0.65, 0.75, 0.05});
  c.Fill(MuseumFront(w / 2.0, 168, 120), Rgba{0.55, 0.65, 0.75, 0.08});
  Canvas band(w, h);
  Embroidery(band, 0, 12, w, Hex(0xE7D8C8), Hex(0xC9A27A));
  c.Draw(band, 0.6);
  return c.ToBitmap();
}

gfx::Bitmap PaintTypePicture(int index) {
  // By image-list index: the badge's colour and the icon.
  static const struct {
    std::uint32_t badge;
    void (*draw)(Icon&);
  } kTypes[kTypePictureCount] = {
      {0xB5452F, DrawSamovar},
      {0x2E6DB4, DrawSchoolBell},
      {0x6A3E9E, DrawMaskAndPuppet},
      {0xE08A1E, DrawPalette},
      {0x3E8E41, DrawLeafAndBird},
      {0x1F8A8A, DrawBalalaikaAndDrum},
      {0x7C6A3A, DrawMap},
      {0x274B7A, DrawGlobeAndBook},
      {0xA0673A, DrawFortress},
      {0x5D4037, DrawAmphora},
      {0x2F8C7A, DrawShowcase},
      {0x37474F, DrawFramedPicture},
      {0x556B2F, DrawHelmetAndSwords},
      {0x8C1C1C, DrawMedal},
  };
  if (index < 0 || index >= kTypePictureCount) return {};
  return Badge(Hex(kTypes[index].badge), kTypes[index].draw);
}

std::string TypePictureFile(int index) {
  char name[32];
  std::snprintf(name, sizeof name, "type-%02d.png", index);
  return name;
}

std::vector<std::uint8_t> PictureExif() {
  const std::string software = "make-pictures";
  // Little-endian TIFF, one directory: orientation 1 (as stored) and the software's name.
  std::vector<std::uint8_t> t = {'I', 'I', 42, 0, 8, 0, 0, 0};
  auto put = [&](std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) t.push_back(std::uint8_t(v >> (8 * i)));
  };
  put(2, 2);
  put(0x0112, 2), put(3, 2), put(1, 4), put(1, 4);
  put(0x0131, 2), put(2, 2), put(std::uint32_t(software.size() + 1), 4), put(8 + 2 + 2 * 12 + 4, 4);
  put(0, 4);
  t.insert(t.end(), software.begin(), software.end());
  t.push_back(0);
  return t;
}

gfx::Bitmap ContactSheet(const std::vector<gfx::Bitmap>& typePictures, const gfx::Bitmap& banner,
                         const gfx::Bitmap& background) {
  constexpr int pad = 12, big = 3 * kTypePictureSize;
  const int width = std::max(7 * (big + pad) + pad, kBannerWidth + 2 * pad);
  const int height = pad + 2 * (big + pad) + (kTypePictureSize + pad) + kBannerHeight + pad +
                     kBackgroundHeight + pad;
  Canvas sheet(width, height);
  // A light checkerboard shows where the type pictures are transparent.
  sheet.Fill(Path().Rect(0, 0, width, height), Hex(0xFFFFFF));
  Path checks;
  for (int y = 0; y < height; y += 8)
    for (int x = (y / 8) % 2 * 8; x < width; x += 16) checks.Rect(x, y, 8, 8);
  sheet.Fill(checks, Hex(0xE4E4E4));
  gfx::Bitmap out = sheet.ToBitmap();
  auto paste = [&](const gfx::Bitmap& bmp, int x0, int y0, int zoom) {
    for (int y = 0; y < bmp.Height() * zoom; ++y)
      for (int x = 0; x < bmp.Width() * zoom; ++x) {
        const gfx::Pixel s = bmp.At(x / zoom, y / zoom), d = out.At(x0 + x, y0 + y);
        const int a = gfx::PixelA(s);
        auto mix = [&](int sv, int dv) {
          return std::uint8_t((sv * a + dv * (255 - a) + 127) / 255);
        };
        out.Set(
            x0 + x, y0 + y,
            gfx::MakePixel(mix(gfx::PixelB(s), gfx::PixelB(d)), mix(gfx::PixelG(s), gfx::PixelG(d)),
                           mix(gfx::PixelR(s), gfx::PixelR(d)), 255));
      }
  };
  for (int i = 0; i < int(typePictures.size()) && i < kTypePictureCount; ++i) {
    const gfx::Bitmap& picture = typePictures[std::size_t(i)];
    paste(picture, pad + (i % 7) * (big + pad), pad + (i / 7) * (big + pad), 3);
    paste(picture, pad + i * (kTypePictureSize + 4), pad + 2 * (big + pad), 1);
  }
  const int bannerY = pad + 2 * (big + pad) + kTypePictureSize + pad;
  paste(banner, pad, bannerY, 1);
  paste(background, pad, bannerY + kBannerHeight + pad, 1);
  return out;
}

}  // namespace art
