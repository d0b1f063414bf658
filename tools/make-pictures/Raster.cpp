#include "Raster.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace art {

namespace {

constexpr int kSubScanlines = 16;

double Clamp01(double v) {
  return v < 0 ? 0 : v > 1 ? 1 : v;
}

// Segments for a curve or arc of about this length: short enough to look round at 1:1.
int Segments(double length) {
  return std::clamp(int(std::ceil(length / 1.5)), 4, 96);
}

double SignedArea(const std::vector<Vec>& c) {
  double s = 0;
  for (std::size_t i = 0, j = c.size() - 1; i < c.size(); j = i++)
    s += c[j].x * c[i].y - c[i].x * c[j].y;
  return s / 2;
}

}  // namespace

Rgba Hex(std::uint32_t rgb, double alpha) {
  return {((rgb >> 16) & 255) / 255.0, ((rgb >> 8) & 255) / 255.0, (rgb & 255) / 255.0, alpha};
}

Rgba Mix(Rgba a, Rgba b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
          a.a + (b.a - a.a) * t};
}

Rgba Shade(Rgba c, double amount) {
  const Rgba towards = amount > 0 ? Rgba{1, 1, 1, c.a} : Rgba{0, 0, 0, c.a};
  return Mix(c, towards, std::abs(amount));
}

Affine Affine::Rotate(double angle, double cx, double cy) {
  const double c = std::cos(angle), s = std::sin(angle);
  return {c, s, -s, c, cx - c * cx + s * cy, cy - s * cx - c * cy};
}

Affine Affine::operator*(const Affine& m) const {
  return {a * m.a + c * m.b, b * m.a + d * m.b,     a * m.c + c * m.d,
          b * m.c + d * m.d, a * m.e + c * m.f + e, b * m.e + d * m.f + f};
}

// ---- paths

std::vector<Vec>& Path::Current() {
  if (!open_) MoveTo(0, 0);
  return contours_.back();
}

Path& Path::MoveTo(double x, double y) {
  if (open_ && contours_.back().size() < 2) {
    contours_.back() = {{x, y}};  // a lone point draws nothing: reuse it
    return *this;
  }
  contours_.push_back({{x, y}});
  closed_.push_back(false);
  open_ = true;
  return *this;
}

Path& Path::LineTo(double x, double y) {
  Current().push_back({x, y});
  return *this;
}

Path& Path::QuadTo(double cx, double cy, double x, double y) {
  const Vec p = Current().back();
  const int n = Segments(std::hypot(cx - p.x, cy - p.y) + std::hypot(x - cx, y - cy));
  for (int i = 1; i <= n; ++i) {
    const double t = double(i) / n, u = 1 - t;
    LineTo(u * u * p.x + 2 * u * t * cx + t * t * x, u * u * p.y + 2 * u * t * cy + t * t * y);
  }
  return *this;
}

Path& Path::CubicTo(double c1x, double c1y, double c2x, double c2y, double x, double y) {
  const Vec p = Current().back();
  const int n = Segments(std::hypot(c1x - p.x, c1y - p.y) + std::hypot(c2x - c1x, c2y - c1y) +
                         std::hypot(x - c2x, y - c2y));
  for (int i = 1; i <= n; ++i) {
    const double t = double(i) / n, u = 1 - t;
    const double w0 = u * u * u, w1 = 3 * u * u * t, w2 = 3 * u * t * t, w3 = t * t * t;
    LineTo(w0 * p.x + w1 * c1x + w2 * c2x + w3 * x, w0 * p.y + w1 * c1y + w2 * c2y + w3 * y);
  }
  return *this;
}

Path& Path::ArcTo(double cx, double cy, double rx, double ry, double a0, double a1) {
  const int n = Segments(std::abs(a1 - a0) * std::max(rx, ry));
  const Vec start{cx + rx * std::cos(a0), cy + ry * std::sin(a0)};
  if (open_)
    LineTo(start.x, start.y);
  else
    MoveTo(start.x, start.y);
  for (int i = 1; i <= n; ++i) {
    const double a = a0 + (a1 - a0) * i / n;
    LineTo(cx + rx * std::cos(a), cy + ry * std::sin(a));
  }
  return *this;
}

Path& Path::Close() {
  if (open_) closed_.back() = true;
  open_ = false;
  return *this;
}

Path& Path::Rect(double x, double y, double w, double h) {
  return Polygon({{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}});
}

Path& Path::RoundRect(double x, double y, double w, double h, double r) {
  r = std::min({r, w / 2, h / 2});
  constexpr double q = std::numbers::pi / 2;
  Close();
  ArcTo(x + w - r, y + r, r, r, -q, 0);
  ArcTo(x + w - r, y + h - r, r, r, 0, q);
  ArcTo(x + r, y + h - r, r, r, q, 2 * q);
  ArcTo(x + r, y + r, r, r, 2 * q, 3 * q);
  return Close();
}

Path& Path::Ellipse(double cx, double cy, double rx, double ry) {
  Close();
  ArcTo(cx, cy, rx, ry, 0, 2 * std::numbers::pi);
  return Close();
}

Path& Path::Polygon(std::initializer_list<Vec> points) {
  Close();
  bool first = true;
  for (const Vec& p : points) {
    if (first)
      MoveTo(p.x, p.y);
    else
      LineTo(p.x, p.y);
    first = false;
  }
  return Close();
}

Path& Path::Add(const Path& other) {
  Close();
  contours_.insert(contours_.end(), other.contours_.begin(), other.contours_.end());
  closed_.insert(closed_.end(), other.closed_.begin(), other.closed_.end());
  return *this;
}

Path Path::Transformed(const Affine& m) const {
  Path out = *this;
  for (auto& c : out.contours_)
    for (Vec& p : c) p = m(p);
  out.open_ = false;
  return out;
}

// Every piece is wound the same way, so under the non-zero rule overlapping pieces merge
// instead of cancelling.
Path StrokeOutline(const Path& path, double width) {
  const double h = width / 2;
  Path out;
  auto addPiece = [&](std::vector<Vec> piece) {
    if (SignedArea(piece) < 0) std::reverse(piece.begin(), piece.end());
    out.MoveTo(piece[0].x, piece[0].y);
    for (std::size_t i = 1; i < piece.size(); ++i) out.LineTo(piece[i].x, piece[i].y);
    out.Close();
  };
  const auto& contours = path.Contours();
  for (std::size_t k = 0; k < contours.size(); ++k) {
    const auto& c = contours[k];
    const std::size_t segments = path.ClosedFlags()[k] ? c.size() : c.size() - 1;
    for (std::size_t i = 0; i < segments; ++i) {
      const Vec a = c[i], b = c[(i + 1) % c.size()];
      const double len = std::hypot(b.x - a.x, b.y - a.y);
      if (len < 1e-9) continue;
      const double nx = -(b.y - a.y) / len * h, ny = (b.x - a.x) / len * h;
      addPiece(
          {{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}});
    }
    for (const Vec& p : c) out.Circle(p.x, p.y, h);
  }
  return out;
}

// ---- paints

Paint Paint::Linear(Vec from, Vec to, std::vector<Stop> stops) {
  return Paint(Kind::Linear, from, to, 1, std::move(stops));
}

Paint Paint::Radial(Vec centre, double radius, std::vector<Stop> stops) {
  return Paint(Kind::Radial, centre, centre, radius, std::move(stops));
}

Rgba Paint::At(double x, double y) const {
  double t = 0;
  if (kind_ == Kind::Linear) {
    const double dx = p1_.x - p0_.x, dy = p1_.y - p0_.y;
    t = ((x - p0_.x) * dx + (y - p0_.y) * dy) / std::max(1e-9, dx * dx + dy * dy);
  } else if (kind_ == Kind::Radial) {
    t = std::hypot(x - p0_.x, y - p0_.y) / radius_;
  }
  if (t <= stops_.front().t) return stops_.front().color;
  for (std::size_t i = 1; i < stops_.size(); ++i)
    if (t <= stops_[i].t) {
      const double span = stops_[i].t - stops_[i - 1].t;
      return Mix(stops_[i - 1].color, stops_[i].color, span > 0 ? (t - stops_[i - 1].t) / span : 1);
    }
  return stops_.back().color;
}

// ---- canvas

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), px_(std::size_t(width) * height * 4, 0.f) {}

std::vector<float> Canvas::Coverage(const Path& path, FillRule rule, int box[4]) const {
  struct Edge {
    double x0, y0, x1, y1;
    int dir;
  };
  std::vector<Edge> edges;
  double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
  for (const auto& c : path.Contours())
    for (std::size_t i = 0, j = c.size() - 1; i < c.size(); j = i++) {
      const Vec a = c[j], b = c[i];
      minX = std::min(minX, a.x), maxX = std::max(maxX, a.x);
      minY = std::min(minY, a.y), maxY = std::max(maxY, a.y);
      if (a.y == b.y) continue;
      edges.push_back(a.y < b.y ? Edge{a.x, a.y, b.x, b.y, 1} : Edge{b.x, b.y, a.x, a.y, -1});
    }
  // Clamped as reals first: an empty path leaves the extremes at +-1e300.
  auto clampTo = [](double v, int hi) { return int(std::clamp(v, 0.0, double(hi))); };
  box[0] = clampTo(std::floor(minX), width_);
  box[1] = clampTo(std::floor(minY), height_);
  box[2] = clampTo(std::ceil(maxX) + 1, width_);
  box[3] = clampTo(std::ceil(maxY) + 1, height_);
  const int w = std::max(0, box[2] - box[0]), h = std::max(0, box[3] - box[1]);
  std::vector<float> cover(std::size_t(w) * h, 0.f);
  std::vector<const Edge*> rowEdges;
  std::vector<std::pair<double, int>> crossings;
  constexpr double weight = 1.0 / kSubScanlines;
  for (int y = box[1]; y < box[3]; ++y) {
    rowEdges.clear();
    for (const Edge& e : edges)
      if (e.y0 < y + 1 && e.y1 > y) rowEdges.push_back(&e);
    float* row = cover.data() + std::size_t(y - box[1]) * w;
    auto addSpan = [&](double xa, double xb) {
      xa = std::clamp(xa - box[0], 0.0, double(w));
      xb = std::clamp(xb - box[0], 0.0, double(w));
      if (xb <= xa) return;
      const int ia = int(xa), ib = int(xb);
      if (ia == ib) {
        row[ia] += float((xb - xa) * weight);
        return;
      }
      row[ia] += float((ia + 1 - xa) * weight);
      for (int i = ia + 1; i < ib; ++i) row[i] += float(weight);
      if (ib < w) row[ib] += float((xb - ib) * weight);
    };
    for (int s = 0; s < kSubScanlines; ++s) {
      const double sy = y + (s + 0.5) * weight;
      crossings.clear();
      for (const Edge* e : rowEdges)
        if (e->y0 <= sy && sy < e->y1)
          crossings.push_back({e->x0 + (sy - e->y0) * (e->x1 - e->x0) / (e->y1 - e->y0), e->dir});
      std::sort(crossings.begin(), crossings.end());
      int winding = 0;
      for (std::size_t i = 0; i + 1 < crossings.size(); ++i) {
        winding += rule == FillRule::NonZero ? crossings[i].second : 1;
        const bool inside = rule == FillRule::NonZero ? winding != 0 : (winding & 1) != 0;
        if (inside) addSpan(crossings[i].first, crossings[i + 1].first);
      }
    }
  }
  return cover;
}

void Canvas::Fill(const Path& path, const Paint& paint, FillRule rule) {
  int box[4];
  const std::vector<float> cover = Coverage(path, rule, box);
  const int w = box[2] - box[0];
  for (int y = box[1]; y < box[3]; ++y)
    for (int x = box[0]; x < box[2]; ++x) {
      const std::size_t at = std::size_t(y) * width_ + x;
      double c = std::min(1.f, cover[std::size_t(y - box[1]) * w + (x - box[0])]);
      if (!clip_.empty()) c *= clip_[at];
      if (c <= 0) continue;
      const Rgba s = paint.At(x + 0.5, y + 0.5);
      const double a = Clamp01(s.a) * c;
      float* d = &px_[at * 4];
      d[0] = float(s.r * a + d[0] * (1 - a));
      d[1] = float(s.g * a + d[1] * (1 - a));
      d[2] = float(s.b * a + d[2] * (1 - a));
      d[3] = float(a + d[3] * (1 - a));
    }
}

void Canvas::Stroke(const Path& path, double width, const Paint& paint) {
  Fill(StrokeOutline(path, width), paint);
}

void Canvas::Clip(const Path& path) {
  int box[4];
  const std::vector<float> cover = Coverage(path, FillRule::NonZero, box);
  std::vector<float> clip(std::size_t(width_) * height_, 0.f);
  const int w = box[2] - box[0];
  for (int y = box[1]; y < box[3]; ++y)
    for (int x = box[0]; x < box[2]; ++x) {
      const float c = std::min(1.f, cover[std::size_t(y - box[1]) * w + (x - box[0])]);
      clip[std::size_t(y) * width_ + x] =
          clip_.empty() ? c : c * clip_[std::size_t(y) * width_ + x];
    }
  clip_ = std::move(clip);
}

void Canvas::Blur(int radius) {
  if (radius <= 0) return;
  std::vector<float> line;
  // One running-sum box pass over n values spaced step floats apart, per channel.
  auto pass = [&](float* base, int n, std::size_t step) {
    line.assign(std::size_t(n) * 4, 0.f);
    for (int ch = 0; ch < 4; ++ch) {
      double sum = 0;
      auto value = [&](int i) { return i < 0 || i >= n ? 0.0 : base[std::size_t(i) * step + ch]; };
      for (int i = -radius; i <= radius; ++i) sum += value(i);
      for (int i = 0; i < n; ++i) {
        line[std::size_t(i) * 4 + ch] = float(sum / (2 * radius + 1));
        sum += value(i + radius + 1) - value(i - radius);
      }
    }
    for (int i = 0; i < n; ++i)
      for (int ch = 0; ch < 4; ++ch)
        base[std::size_t(i) * step + ch] = line[std::size_t(i) * 4 + ch];
  };
  for (int round = 0; round < 3; ++round) {
    for (int y = 0; y < height_; ++y) pass(&px_[std::size_t(y) * width_ * 4], width_, 4);
    for (int x = 0; x < width_; ++x)
      pass(&px_[std::size_t(x) * 4], height_, std::size_t(width_) * 4);
  }
}

void Canvas::Draw(const Canvas& layer, double opacity, int dx, int dy) {
  for (int y = std::max(0, dy); y < std::min(height_, layer.height_ + dy); ++y)
    for (int x = std::max(0, dx); x < std::min(width_, layer.width_ + dx); ++x) {
      const float* s = &layer.px_[(std::size_t(y - dy) * layer.width_ + (x - dx)) * 4];
      float* d = &px_[(std::size_t(y) * width_ + x) * 4];
      const double a = s[3] * opacity;
      for (int ch = 0; ch < 3; ++ch) d[ch] = float(s[ch] * opacity + d[ch] * (1 - a));
      d[3] = float(a + d[3] * (1 - a));
    }
}

Canvas Canvas::Silhouette(Rgba color) const {
  Canvas out(width_, height_);
  for (std::size_t i = 0; i < px_.size(); i += 4) {
    const float a = float(px_[i + 3] * color.a);
    out.px_[i] = float(color.r * a), out.px_[i + 1] = float(color.g * a);
    out.px_[i + 2] = float(color.b * a), out.px_[i + 3] = a;
  }
  return out;
}

Rgba Canvas::At(int x, int y) const {
  const float* p = &px_[(std::size_t(y) * width_ + x) * 4];
  if (p[3] <= 0) return {};
  return {p[0] / p[3], p[1] / p[3], p[2] / p[3], p[3]};
}

gfx::Bitmap Canvas::ToBitmap() const {
  gfx::Bitmap bmp(width_, height_);
  auto byte = [](double v) { return std::uint8_t(std::lround(Clamp01(v) * 255)); };
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) {
      const Rgba c = At(x, y);
      bmp.Set(x, y, gfx::MakePixel(byte(c.b), byte(c.g), byte(c.r), byte(c.a)));
    }
  return bmp;
}

}  // namespace art
