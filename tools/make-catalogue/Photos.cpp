#include "Photos.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace catalogue {

namespace {

struct Rgb {
  float r = 0, g = 0, b = 0;
};

Rgb operator*(Rgb c, float k) {
  return {c.r * k, c.g * k, c.b * k};
}
Rgb operator+(Rgb a, Rgb b) {
  return {a.r + b.r, a.g + b.g, a.b + b.b};
}
Rgb Mix(Rgb a, Rgb b, float t) {
  return a * (1 - t) + b * t;
}

// A linear-light canvas; everything is painted in reals and quantised once at the end.
class Canvas {
 public:
  Canvas(int w, int h) : w_(w), h_(h), px_(std::size_t(w) * std::size_t(h)) {}
  int W() const { return w_; }
  int H() const { return h_; }
  Rgb& At(int x, int y) { return px_[std::size_t(y) * std::size_t(w_) + std::size_t(x)]; }

  // Blends colour over a pixel with coverage a (0..1); outside pixels are ignored.
  void Blend(int x, int y, Rgb c, float a) {
    if (x < 0 || y < 0 || x >= w_ || y >= h_ || a <= 0) return;
    Rgb& p = At(x, y);
    p = Mix(p, c, std::min(a, 1.0f));
  }

  // A rectangle shaded from top colour to bottom colour.
  void Rect(double x0, double y0, double x1, double y1, Rgb top, Rgb bottom, float alpha = 1) {
    const int ix0 = std::max(0, int(x0)), iy0 = std::max(0, int(y0));
    const int ix1 = std::min(w_, int(x1)), iy1 = std::min(h_, int(y1));
    for (int y = iy0; y < iy1; ++y) {
      const float t = float((y - y0) / std::max(1.0, y1 - y0));
      const Rgb c = Mix(top, bottom, t);
      for (int x = ix0; x < ix1; ++x) Blend(x, y, c, alpha);
    }
  }

  // A convex quadrilateral (corners in order) in one colour, shaded along y.
  void Quad(const double (&xs)[4], const double (&ys)[4], Rgb top, Rgb bottom) {
    const double minY = std::min({ys[0], ys[1], ys[2], ys[3]});
    const double maxY = std::max({ys[0], ys[1], ys[2], ys[3]});
    const double minX = std::min({xs[0], xs[1], xs[2], xs[3]});
    const double maxX = std::max({xs[0], xs[1], xs[2], xs[3]});
    for (int y = std::max(0, int(minY)); y < std::min(h_, int(maxY) + 1); ++y)
      for (int x = std::max(0, int(minX)); x < std::min(w_, int(maxX) + 1); ++x) {
        bool inside = true;
        double sign = 0;
        for (int k = 0; k < 4 && inside; ++k) {
          const int n = (k + 1) % 4;
          const double cross =
              (xs[n] - xs[k]) * (y + 0.5 - ys[k]) - (ys[n] - ys[k]) * (x + 0.5 - xs[k]);
          if (cross != 0) {
            if (sign == 0) sign = cross;
            inside = (cross > 0) == (sign > 0);
          }
        }
        if (inside) Blend(x, y, Mix(top, bottom, float((y - minY) / (maxY - minY + 1))), 1);
      }
  }

  // A lit ellipse: light from the upper left, a soft highlight, darker towards the rim.
  void Ball(double cx, double cy, double rx, double ry, Rgb c, float gloss) {
    for (int y = std::max(0, int(cy - ry)); y < std::min(h_, int(cy + ry) + 1); ++y)
      for (int x = std::max(0, int(cx - rx)); x < std::min(w_, int(cx + rx) + 1); ++x) {
        const double nx = (x + 0.5 - cx) / rx, ny = (y + 0.5 - cy) / ry;
        const double d = nx * nx + ny * ny;
        if (d > 1) continue;
        const double nz = std::sqrt(1 - d);
        const double lambert = std::max(0.0, -0.5 * nx - 0.55 * ny + 0.67 * nz);
        const double spec = std::pow(std::max(0.0, -0.35 * nx - 0.4 * ny + 0.85 * nz), 40);
        const Rgb lit = c * float(0.25 + 0.85 * lambert) + Rgb{1, 1, 1} * float(gloss * spec);
        Blend(x, y, lit, float(std::min(1.0, (1 - d) * rx * 0.5)));  // soft edge
      }
  }

  // A vessel turned on a wheel: profile(t) gives the half width at height t (0 top, 1 base).
  template <typename Profile>
  void Vessel(double cx, double top, double height, double width, Profile profile, Rgb c,
              float gloss) {
    for (int y = std::max(0, int(top)); y < std::min(h_, int(top + height)); ++y) {
      const double t = (y + 0.5 - top) / height;
      const double half = width * profile(t);
      for (int x = std::max(0, int(cx - half)); x < std::min(w_, int(cx + half) + 1); ++x) {
        const double nx = (x + 0.5 - cx) / std::max(half, 0.5);
        if (std::fabs(nx) > 1) continue;
        const double nz = std::sqrt(1 - nx * nx);
        const double lambert = std::max(0.0, -0.55 * nx + 0.8 * nz);
        const double spec = std::pow(std::max(0.0, -0.45 * nx + 0.89 * nz), 30);
        Blend(x, y, c * float(0.2 + 0.9 * lambert) + Rgb{1, 1, 1} * float(gloss * spec),
              float(std::min(1.0, (1 - std::fabs(nx)) * half * 0.6)));
      }
    }
  }

  // A soft shadow: darkens an elliptic area, strongest in the middle.
  void Shadow(double cx, double cy, double rx, double ry, float strength) {
    for (int y = std::max(0, int(cy - ry)); y < std::min(h_, int(cy + ry) + 1); ++y)
      for (int x = std::max(0, int(cx - rx)); x < std::min(w_, int(cx + rx) + 1); ++x) {
        const double nx = (x + 0.5 - cx) / rx, ny = (y + 0.5 - cy) / ry;
        const double d = nx * nx + ny * ny;
        if (d < 1) At(x, y) = At(x, y) * float(1 - strength * (1 - d) * (1 - d));
      }
  }

  // Photographic finish: light falling off from a point, lens vignetting, a slight blur,
  // then grain, and the camera's tone curve into 8-bit pixels.
  gfx::Bitmap Develop(Random& random, double lightX, double lightY, Rgb tint) const {
    std::vector<Rgb> blurred(px_.size());
    for (int y = 0; y < h_; ++y)
      for (int x = 0; x < w_; ++x) {
        Rgb sum;
        int n = 0;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) {
            const int sx = std::clamp(x + dx, 0, w_ - 1), sy = std::clamp(y + dy, 0, h_ - 1);
            const int weight = (dx == 0 ? 2 : 1) * (dy == 0 ? 2 : 1);
            sum = sum + px_[std::size_t(sy) * std::size_t(w_) + std::size_t(sx)] * float(weight);
            n += weight;
          }
        blurred[std::size_t(y) * std::size_t(w_) + std::size_t(x)] = sum * (1.0f / float(n));
      }
    // The tone curve: a soft shoulder instead of a hard clip, then the display gamma.
    constexpr int kToneSteps = 4096;
    constexpr float kToneRange = 4.0f;
    std::vector<std::uint8_t> toneCurve(kToneSteps);
    for (int i = 0; i < kToneSteps; ++i) {
      const float mapped = 1.0f - std::exp(-2.2f * (float(i) * kToneRange / kToneSteps));
      toneCurve[std::size_t(i)] =
          std::uint8_t(std::clamp(std::pow(mapped, 1 / 1.6f) * 255.0f + 0.5f, 0.0f, 255.0f));
    }
    gfx::Bitmap out(w_, h_);
    const double diag = std::hypot(w_, h_) / 2;
    for (int y = 0; y < h_; ++y) {
      gfx::Pixel* row = out.Row(y);
      for (int x = 0; x < w_; ++x) {
        Rgb c = blurred[std::size_t(y) * std::size_t(w_) + std::size_t(x)];
        const double r = std::hypot(x - w_ / 2.0, y - h_ / 2.0) / diag;
        const double light = std::hypot(x - lightX * w_, y - lightY * h_) / diag;
        const float k = float((1 - 0.45 * r * r * r) * (1.15 - 0.35 * std::min(light, 1.5)));
        c = Rgb{c.r * tint.r, c.g * tint.g, c.b * tint.b} * k;
        const float grain = float(random.Real(-1, 1) + random.Real(-1, 1)) * 0.018f;
        auto tone = [&](float v) {
          const int i = int((v + grain) * (kToneSteps / kToneRange));
          return toneCurve[std::size_t(std::clamp(i, 0, kToneSteps - 1))];
        };
        row[x] = gfx::MakePixel(tone(c.b), tone(c.g), tone(c.r), 255);
      }
    }
    return out;
  }

 private:
  int w_, h_;
  std::vector<Rgb> px_;
};

Rgb FromBytes(int r, int g, int b) {
  return {r / 255.0f, g / 255.0f, b / 255.0f};
}

const std::vector<Rgb> kWalls = {FromBytes(196, 186, 160), FromBytes(170, 190, 180),
                                 FromBytes(210, 200, 185), FromBytes(160, 170, 190),
                                 FromBytes(205, 180, 150)};
const std::vector<Rgb> kWoods = {FromBytes(120, 78, 45), FromBytes(150, 105, 60),
                                 FromBytes(95, 60, 38), FromBytes(170, 130, 85)};
const std::vector<Rgb> kCeramics = {FromBytes(180, 80, 40),   FromBytes(60, 90, 150),
                                    FromBytes(220, 210, 190), FromBytes(140, 110, 60),
                                    FromBytes(40, 110, 80),   FromBytes(170, 150, 40)};
const std::vector<Rgb> kCloths = {FromBytes(120, 30, 35), FromBytes(40, 60, 100),
                                  FromBytes(200, 195, 180), FromBytes(60, 80, 50)};

// Vessel shapes: jug, vase, pot, bottle.
double Profile(int kind, double t) {
  switch (kind) {
    case 0:
      return 0.32 + 0.55 * std::sin(3.14159 * std::min(1.0, t * 0.9 + 0.1));
    case 1:
      return t < 0.3 ? 0.25 + 0.1 * std::cos(t * 20) : 0.35 + 0.5 * std::sin((t - 0.3) * 4.2);
    case 2:
      return 0.75 + 0.2 * std::sin(3.14159 * t) - 0.1 * t;
    default:
      return t < 0.35 ? 0.18 : std::min(0.7, 0.18 + (t - 0.35) * 3);
  }
}

// A framed picture on a wall: a landscape of sky, hills and field.
void Painting(Canvas& c, double x, double y, double w, double h, Random& r) {
  const Rgb frame = r.Pick(kWoods) * 1.2f;
  c.Shadow(x + w / 2 + w * 0.04, y + h / 2 + h * 0.05, w * 0.62, h * 0.62, 0.35f);
  c.Rect(x, y, x + w, y + h, frame, frame * 0.7f);
  const double m = std::max(3.0, w * 0.08);
  const double horizon = y + m + (h - 2 * m) * r.Real(0.35, 0.6);
  c.Rect(x + m, y + m, x + w - m, horizon, FromBytes(110, 150, 200), FromBytes(220, 200, 170));
  c.Rect(x + m, horizon, x + w - m, y + h - m, FromBytes(90, 120, 60), FromBytes(60, 80, 40));
  c.Ball(x + w * r.Real(0.3, 0.7), horizon, w * 0.25, (horizon - y) * 0.3, FromBytes(70, 95, 60),
         0);
}

// A glass showcase on legs with a few objects in it.
void Showcase(Canvas& c, double x, double y, double w, double h, Random& r) {
  const Rgb wood = r.Pick(kWoods);
  c.Shadow(x + w / 2, y + h * 1.02, w * 0.6, h * 0.08, 0.5f);
  c.Rect(x, y + h * 0.55, x + w, y + h, wood, wood * 0.6f);
  c.Rect(x + 2, y, x + w - 2, y + h * 0.55, FromBytes(200, 215, 220) * 0.5f,
         FromBytes(160, 175, 180) * 0.5f, 0.35f);
  for (int i = 0, n = r.Int(2, 4); i < n; ++i) {
    const double cx = x + w * (i + 0.5) / n;
    const double oh = h * r.Real(0.18, 0.4);
    c.Vessel(
        cx, y + h * 0.55 - oh, oh, w * 0.11, [k = r.Int(0, 3)](double t) { return Profile(k, t); },
        r.Pick(kCeramics), 0.6f);
  }
  c.Rect(x, y, x + w, y + 3, wood * 1.1f, wood);
  c.Rect(x + w * 0.1, y + 6, x + w * 0.14, y + h * 0.5, FromBytes(255, 255, 255),
         FromBytes(230, 240, 245), 0.25f);
}

void PaintRoom(Canvas& c, Random& r) {
  const int w = c.W(), h = c.H();
  const double horizon = h * r.Real(0.55, 0.68);
  const Rgb wall = r.Pick(kWalls);
  c.Rect(0, 0, w, horizon, wall * 1.05f, wall * 0.85f);
  const Rgb floor = r.Pick(kWoods);
  c.Rect(0, horizon, w, h, floor * 0.8f, floor * 1.1f);
  // Floor boards converging to a vanishing point.
  const double vx = w * r.Real(0.35, 0.65);
  for (int i = -12; i <= 12; ++i) {
    const double bx = vx + i * w * 0.12;
    for (int y = int(horizon); y < h; ++y) {
      const double t = (y - horizon) / (h - horizon);
      const double x = vx + (bx - vx) * t * 2.2;
      c.Blend(int(x), y, floor * 0.55f, 0.7f);
    }
  }
  c.Rect(0, horizon - h * 0.02, w, horizon, wall * 0.6f, wall * 0.5f);  // skirting
  // A window casting light on the floor.
  const double wx = w * r.Real(0.05, 0.7), ww = w * r.Real(0.12, 0.2);
  c.Rect(wx, h * 0.08, wx + ww, horizon * 0.8, FromBytes(235, 240, 245), FromBytes(210, 225, 235));
  c.Rect(wx + ww / 2 - 2, h * 0.08, wx + ww / 2 + 2, horizon * 0.8, wall * 0.7f, wall * 0.7f);
  const double lx[4] = {wx, wx + ww, wx + ww * 1.8, wx - ww * 0.2};
  const double ly[4] = {horizon + 4, horizon + 4, double(h), double(h)};
  c.Quad(lx, ly, floor * 1.4f, floor * 1.25f);
  for (int i = 0, n = r.Int(1, 3); i < n; ++i) {
    const double pw = w * r.Real(0.08, 0.16), ph = pw * r.Real(0.7, 1.3);
    const double px = w * (0.1 + 0.8 * (i + 0.5) / n) - pw / 2;
    if (px + pw > wx && px < wx + ww) continue;  // not over the window
    Painting(c, px, horizon * r.Real(0.15, 0.3), pw, ph, r);
  }
  for (int i = 0, n = r.Int(1, 3); i < n; ++i) {
    const double sw = w * r.Real(0.15, 0.25);
    const double sx = w * (i + 0.5) / n - sw / 2 + r.Real(-10, 10);
    Showcase(c, sx, horizon - h * 0.05, sw, h * r.Real(0.28, 0.38), r);
  }
}

void PaintShowcase(Canvas& c, Random& r) {
  const int w = c.W(), h = c.H();
  const Rgb back = r.Pick(kCloths);
  c.Rect(0, 0, w, h, back * 0.9f, back * 0.6f);
  const Rgb wood = r.Pick(kWoods);
  const int shelves = r.Int(2, 3);
  for (int s = 0; s < shelves; ++s) {
    const double sy = h * (s + 1) / (shelves + 0.4);
    c.Rect(0, sy, w, sy + h * 0.03, wood * 1.2f, wood * 0.7f);
    c.Rect(0, sy + h * 0.03, w, sy + h * 0.06, Rgb{0, 0, 0}, Rgb{0, 0, 0}, 0.3f);
    double x = w * r.Real(0.02, 0.08);
    while (x < w * 0.9) {
      const double ow = w * r.Real(0.06, 0.14), oh = h / (shelves + 0.4) * r.Real(0.4, 0.8);
      switch (r.Int(0, 2)) {
        case 0:
          c.Vessel(
              x + ow / 2, sy - oh, oh, ow / 2,
              [k = r.Int(0, 3)](double t) { return Profile(k, t); }, r.Pick(kCeramics), 0.5f);
          break;
        case 1: {  // a row of books
          for (double bx = x; bx < x + ow; bx += ow / 4) {
            const Rgb book = r.Pick(kCloths) * float(r.Real(0.7, 1.1));
            c.Rect(bx, sy - oh * r.Real(0.7, 1), bx + ow / 4 - 1, sy, book, book * 0.8f);
          }
          break;
        }
        default:  // a medal on a ribbon
          c.Rect(x + ow * 0.35, sy - oh, x + ow * 0.65, sy - oh * 0.45, FromBytes(200, 120, 40),
                 FromBytes(160, 90, 30));
          c.Ball(x + ow / 2, sy - oh * 0.3, ow * 0.28, ow * 0.28, FromBytes(210, 170, 70), 0.9f);
      }
      x += ow * r.Real(1.1, 1.5);
    }
  }
}

void PaintExhibit(Canvas& c, Random& r) {
  const int w = c.W(), h = c.H();
  const Rgb back = r.Pick(kCloths);
  const double table = h * r.Real(0.62, 0.75);
  c.Rect(0, 0, w, table, back * 0.7f, back);
  const Rgb top = r.Pick(kWoods);
  c.Rect(0, table, w, h, top * 1.2f, top * 0.8f);
  const double cx = w * r.Real(0.4, 0.6), oh = h * r.Real(0.4, 0.55), ow = std::min(w, h) * 0.22;
  c.Shadow(cx + ow * 0.4, table + h * 0.02, ow * 1.3, h * 0.04, 0.6f);
  if (r.Chance(0.6)) {
    c.Vessel(
        cx, table - oh, oh, ow, [k = r.Int(0, 3)](double t) { return Profile(k, t); },
        r.Pick(kCeramics), 0.7f);
  } else {  // a helmet or a globe
    c.Ball(cx, table - oh / 2, ow * 1.1, oh / 2, r.Pick(kCeramics) * 0.8f, 0.8f);
  }
  // The museum's label card beside it, with lines of small print.
  const double lx = cx + ow * 1.5, ly = table + (h - table) * 0.3;
  c.Rect(lx, ly, lx + w * 0.14, ly + h * 0.07, FromBytes(245, 242, 232), FromBytes(230, 226, 215));
  for (int i = 0; i < 3; ++i)
    c.Rect(lx + w * 0.01, ly + h * (0.012 + i * 0.018), lx + w * (0.13 - (i == 2) * 0.05),
           ly + h * (0.017 + i * 0.018), Rgb{0.1f, 0.1f, 0.1f}, Rgb{0.1f, 0.1f, 0.1f}, 0.7f);
}

}  // namespace

gfx::Bitmap PaintPhoto(PhotoScene scene, int width, int height, Random& random) {
  Canvas c(width, height);
  switch (scene) {
    case PhotoScene::Room:
      PaintRoom(c, random);
      break;
    case PhotoScene::Showcase:
      PaintShowcase(c, random);
      break;
    case PhotoScene::Exhibit:
      PaintExhibit(c, random);
      break;
  }
  // Warm tungsten or cool daylight white balance.
  const Rgb tint = random.Chance(0.5) ? Rgb{1.08f, 1.0f, 0.86f} : Rgb{0.95f, 1.0f, 1.06f};
  return c.Develop(random, random.Real(0.2, 0.8), random.Real(0.1, 0.5), tint);
}

std::vector<std::uint8_t> CameraExif(int year, int month, int day) {
  char date[32];  // "YYYY:MM:DD HH:MM:SS" and its terminating zero fill 20
  std::snprintf(date, sizeof date, "%04d:%02d:%02d 11:%02d:%02d", year, month, day, (day * 7) % 60,
                (month * 13) % 60);
  const std::string software = "make-catalogue";
  // Little-endian TIFF with one directory: orientation, software, date and time.
  std::vector<std::uint8_t> t = {'I', 'I', 42, 0, 8, 0, 0, 0};
  auto put16 = [&](unsigned v) {
    t.push_back(std::uint8_t(v));
    t.push_back(std::uint8_t(v >> 8));
  };
  auto put32 = [&](std::uint32_t v) {
    put16(v & 0xFFFF);
    put16(v >> 16);
  };
  const std::uint32_t dataAt = 8 + 2 + 3 * 12 + 4;
  put16(3);
  put16(0x0112), put16(3), put32(1), put16(1), put16(0);  // orientation: as stored
  put16(0x0131), put16(2), put32(std::uint32_t(software.size() + 1)), put32(dataAt);
  put16(0x0132), put16(2), put32(20), put32(dataAt + std::uint32_t(software.size() + 1));
  put32(0);  // no next directory
  t.insert(t.end(), software.begin(), software.end());
  t.push_back(0);
  t.insert(t.end(), date, date + 20);
  return t;
}

}  // namespace catalogue
