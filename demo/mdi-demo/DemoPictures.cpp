#include "DemoPictures.h"

#include <cmath>

#include "platform/gfx/Color.h"

namespace mdidemo {

namespace {

// Colours as r, g, b (MakePixel takes them the other way round).
gfx::Pixel Rgb(int r, int g, int b, int a = 255) {
  return gfx::MakePixel(std::uint8_t(b), std::uint8_t(g), std::uint8_t(r), std::uint8_t(a));
}

void Box(gfx::Bitmap& bmp, int l, int t, int r, int b, gfx::Pixel edge, gfx::Pixel face) {
  for (int y = t; y < b; ++y)
    for (int x = l; x < r; ++x)
      bmp.Set(x, y, x == l || y == t || x == r - 1 || y == b - 1 ? edge : face);
}

void HLine(gfx::Bitmap& bmp, int l, int r, int y, gfx::Pixel p) {
  for (int x = l; x < r; ++x) bmp.Set(x, y, p);
}

}  // namespace

gfx::Bitmap MakeGlyph(TGlyph kind) {
  gfx::Bitmap g(16, 16);
  g.Fill(0);
  const gfx::Pixel ink = Rgb(40, 60, 110), paper = Rgb(250, 250, 245), title = Rgb(70, 120, 200);
  switch (kind) {
    case TGlyph::New:  // a sheet with a green plus
      Box(g, 2, 1, 12, 15, ink, paper);
      for (int w = 10; w <= 12; ++w) {
        HLine(g, 8, 15, w, Rgb(30, 150, 40));
        for (int y = 8; y < 15; ++y) g.Set(w, y, Rgb(30, 150, 40));
      }
      break;
    case TGlyph::Text:  // a sheet with lines of text
      Box(g, 2, 1, 14, 15, ink, paper);
      for (int y = 4; y < 13; y += 2) HLine(g, 4, y == 12 ? 9 : 12, y, ink);
      break;
    case TGlyph::Picture:  // a frame with sky, sun and a hill
      Box(g, 1, 2, 15, 14, ink, Rgb(150, 200, 240));
      for (int y = 3; y < 13; ++y)
        for (int x = 2; x < 14; ++x) {
          if ((x - 10) * (x - 10) + (y - 5) * (y - 5) < 4) g.Set(x, y, Rgb(250, 200, 40));
          if (y > 7 + std::abs(x - 6)) g.Set(x, y, Rgb(60, 140, 60));
        }
      break;
    case TGlyph::Card:  // a form with two fields
      Box(g, 1, 1, 15, 15, ink, paper);
      Box(g, 6, 4, 13, 7, ink, Rgb(255, 255, 255));
      Box(g, 6, 9, 13, 12, ink, Rgb(255, 255, 255));
      HLine(g, 3, 5, 5, ink);
      HLine(g, 3, 5, 10, ink);
      break;
    case TGlyph::Tile:  // four windows side by side
      for (int i = 0; i < 4; ++i) {
        const int x = 1 + (i % 2) * 7, y = 1 + (i / 2) * 7;
        Box(g, x, y, x + 7, y + 7, ink, paper);
        HLine(g, x + 1, x + 6, y + 1, title);
      }
      break;
    case TGlyph::Cascade:  // three windows stepped
      for (int i = 0; i < 3; ++i) {
        const int at = i * 3;
        Box(g, at, at, at + 10, at + 8, ink, paper);
        HLine(g, at + 1, at + 9, at + 1, title);
      }
      break;
    case TGlyph::Next:  // a window and an arrow to the next
      Box(g, 1, 1, 11, 10, ink, paper);
      HLine(g, 2, 10, 2, title);
      HLine(g, 5, 13, 12, Rgb(30, 150, 40));
      for (int i = 0; i < 4; ++i) {
        g.Set(12 - i, 12 - i, Rgb(30, 150, 40));
        g.Set(12 - i, 12 + i, Rgb(30, 150, 40));
      }
      break;
    case TGlyph::Columns:  // two tall windows
      for (int i = 0; i < 2; ++i) {
        Box(g, 1 + i * 7, 1, 8 + i * 7, 15, ink, paper);
        HLine(g, 2 + i * 7, 7 + i * 7, 2, title);
      }
      break;
  }
  return g;
}

gfx::Bitmap MakeLandscape(int width, int height) {
  gfx::Bitmap b(width, height);
  const int horizon = height * 3 / 5;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      if (y < horizon) {
        const int t = y * 120 / horizon;
        b.Set(x, y, Rgb(110 + t, 160 + t / 2, 235));
      } else {
        const double hill = horizon - 40 * std::sin(double(x) / width * 6.0);
        b.Set(x, y, y < hill + 25 ? Rgb(80, 150, 70) : Rgb(60, 125 - (y - horizon) / 4, 55));
      }
      const int dx = x - width * 4 / 5, dy = y - height / 5, r = height / 10;
      if (dx * dx + dy * dy < r * r) b.Set(x, y, Rgb(255, 215, 80));
    }
  // The museum: a pediment over six columns on a plinth.
  const int l = width / 4, r = width * 3 / 5, base = horizon + height / 6,
            top = horizon - height / 6;
  for (int y = top; y < base; ++y)
    for (int x = l; x < r; ++x) {
      const bool column = ((x - l) * 12 / (r - l)) % 2 == 1;
      if (y > base - 8 || y < top + 10 || column)
        b.Set(x, y, Rgb(235, 228, 210));
      else
        b.Set(x, y, Rgb(120, 110, 100));
    }
  for (int y = top - height / 10; y < top; ++y) {
    const int half = (r - l) / 2 * (y - top + height / 10) / (height / 10);
    HLine(b, (l + r) / 2 - half, (l + r) / 2 + half, y, Rgb(225, 215, 195));
  }
  return b;
}

}  // namespace mdidemo
