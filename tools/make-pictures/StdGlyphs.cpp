#include "StdGlyphs.h"

#include <cmath>
#include <numbers>

#include "Raster.h"

namespace art {

namespace {

constexpr const char* kNames[kStdGlyphCount] = {"SF", "SR", "SD", "SE", "SC"};

const Rgba kOutline = Hex(0x3C4652);
const Rgba kPaper = Hex(0xFBFBF8);

// One frame is drawn in its own 16 x 16 box; hot lightens every fill a little.
class Frame {
 public:
  Frame(Canvas& canvas, bool hot) : c_(canvas), hot_(hot) {}
  Rgba Tone(Rgba fill) const { return hot_ ? Shade(fill, 0.2) : fill; }
  // A filled part with a one-pixel outline: the outline keeps it apart from a light ground,
  // the fill from a dark one.
  void Part(const Path& p, Rgba fill, Rgba outline = kOutline) {
    c_.Fill(p, Tone(fill));
    c_.Stroke(p, 1, outline);
  }
  void Fill(const Path& p, Rgba fill) { c_.Fill(p, Tone(fill)); }
  void Stroke(const Path& p, double width, Rgba color) { c_.Stroke(p, width, Tone(color)); }

 private:
  Canvas& c_;
  bool hot_;
};

// A sheet with a folded corner and three lines of writing.
void DrawFile(Frame& f) {
  f.Part(Path().Polygon({{3.5, 1.5}, {9.5, 1.5}, {12.5, 4.5}, {12.5, 14.5}, {3.5, 14.5}}), kPaper);
  f.Part(Path().Polygon({{9.5, 1.5}, {9.5, 4.5}, {12.5, 4.5}}), Hex(0xC9D3DD));
  for (double y : {7.0, 9.5, 12.0})
    f.Fill(Path().Rect(5, y - 0.5, y < 8 ? 4 : 6, 1.2), Hex(0x5B8FC7));
}

// A round arrow turning back on itself: the value goes back to what it was. The ring opens
// at the upper left; the head sits at its top, pointing back along it.
void DrawReset(Frame& f) {
  constexpr double deg = std::numbers::pi / 180;
  const double cx = 8, cy = 8.5, r = 4.5, a0 = -80 * deg, a1 = 200 * deg;
  Path arc;
  arc.MoveTo(cx + r * std::cos(a0), cy + r * std::sin(a0));
  arc.ArcTo(cx, cy, r, r, a0, a1);
  const Vec p{cx + r * std::cos(a0), cy + r * std::sin(a0)};
  const Vec along{std::sin(a0), -std::cos(a0)}, out{std::cos(a0), std::sin(a0)};
  const Path head = Path().Polygon({{p.x + 3.2 * along.x, p.y + 3.2 * along.y},
                                    {p.x + 2.7 * out.x, p.y + 2.7 * out.y},
                                    {p.x - 2.7 * out.x, p.y - 2.7 * out.y}});
  const Rgba blue = Hex(0x2F86DE);
  f.Stroke(arc, 3.6, kOutline);
  f.Part(head, blue);
  f.Stroke(arc, 1.8, blue);
  f.Fill(head, blue);
}

// A folder: its back with the tab, its front leaning open.
void DrawDirectory(Frame& f) {
  f.Part(Path().Polygon({{1.5, 2.5}, {6, 2.5}, {7.5, 4.5}, {13.5, 4.5}, {13.5, 13.5}, {1.5, 13.5}}),
         Hex(0xD9962B), Hex(0x6E4710));
  f.Part(Path().Polygon({{3.5, 7.5}, {15.5, 7.5}, {13.5, 13.5}, {1.5, 13.5}}), Hex(0xF6C443),
         Hex(0x6E4710));
}

// A calendar leaf: a red band with two rings, a grid of days, one of them marked.
void DrawCalendar(Frame& f) {
  f.Part(Path().Rect(1.5, 2.5, 13, 12), kPaper);
  f.Part(Path().Rect(1.5, 2.5, 13, 3.5), Hex(0xD8383A));
  for (double x : {4.0, 10.0}) f.Part(Path().Rect(x + 0.5, 0.5, 1, 3.5), Hex(0xB7C3CC));
  for (int row = 0; row < 2; ++row)
    for (int col = 0; col < 3; ++col)
      f.Fill(Path().Rect(3 + 4 * col, 8 + 3 * row, 2, 2),
             row == 1 && col == 2 ? Hex(0xD8383A) : Hex(0x6C7A88));
}

// Three dots: choose from a list.
void DrawEllipsis(Frame& f) {
  for (double x : {3.0, 8.0, 13.0})
    f.Part(Path().Circle(x, 9, 1.8), Hex(0x3C4652), Hex(0xFFFFFF, 0.6));
}

constexpr void (*kDraw[kStdGlyphCount])(Frame&) = {DrawFile, DrawReset, DrawDirectory, DrawEllipsis,
                                                   DrawCalendar};

}  // namespace

const char* StdGlyphName(int index) {
  return index >= 0 && index < kStdGlyphCount ? kNames[index] : "";
}

std::string StdGlyphFile(int index) {
  return std::string(StdGlyphName(index)) + ".png";
}

gfx::Bitmap PaintStdGlyph(int index) {
  gfx::Bitmap strip(2 * kStdGlyphFrame, kStdGlyphFrame);
  if (index < 0 || index >= kStdGlyphCount) return strip;
  for (int frame = 0; frame < 2; ++frame) {
    Canvas canvas(kStdGlyphFrame, kStdGlyphFrame);
    Frame f(canvas, frame == 1);
    kDraw[index](f);
    const gfx::Bitmap one = canvas.ToBitmap();
    for (int y = 0; y < kStdGlyphFrame; ++y)
      for (int x = 0; x < kStdGlyphFrame; ++x)
        strip.Set(frame * kStdGlyphFrame + x, y, one.At(x, y));
  }
  return strip;
}

}  // namespace art
