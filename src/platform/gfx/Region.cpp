#include "platform/gfx/Region.h"

#include <algorithm>
#include <climits>

namespace gfx {

namespace {

// One row of horizontal spans [left, right) in a band.
struct Span {
  int left;
  int right;
};

// A band of a region: rows [top, bottom) and the rectangles [first, last) holding its spans.
struct Band {
  int top;
  int bottom;
  std::size_t first;
  std::size_t last;
};

std::vector<Band> BandsOf(const std::vector<TRect>& rects) {
  std::vector<Band> bands;
  for (std::size_t i = 0; i < rects.size();) {
    std::size_t j = i + 1;
    while (j < rects.size() && rects[j].Top == rects[i].Top) ++j;
    bands.push_back({rects[i].Top, rects[i].Bottom, i, j});
    i = j;
  }
  return bands;
}

// Appends bands in order, merging a band into the previous one when they touch and have
// the same spans, so the result is always in the canonical banded form.
class BandWriter {
 public:
  explicit BandWriter(std::vector<TRect>& out) : out_(out) {}

  void Add(int top, int bottom, const std::vector<Span>& spans) {
    if (spans.empty() || top >= bottom) return;
    if (lastBottom_ == top && SameAsLast(spans)) {
      for (std::size_t i = lastFirst_; i < out_.size(); ++i) out_[i].Bottom = bottom;
    } else {
      lastFirst_ = out_.size();
      for (const Span& s : spans) out_.push_back({s.left, top, s.right, bottom});
    }
    lastBottom_ = bottom;
  }

 private:
  bool SameAsLast(const std::vector<Span>& spans) const {
    if (out_.size() - lastFirst_ != spans.size()) return false;
    for (std::size_t i = 0; i < spans.size(); ++i) {
      const TRect& r = out_[lastFirst_ + i];
      if (r.Left != spans[i].left || r.Right != spans[i].right) return false;
    }
    return true;
  }

  std::vector<TRect>& out_;
  std::size_t lastFirst_ = 0;
  int lastBottom_ = INT_MIN;
};

// Appends [left, right) to sorted spans, joining it to the last span when they touch.
void AppendSpan(std::vector<Span>& spans, int left, int right) {
  if (!spans.empty() && spans.back().right == left) {
    spans.back().right = right;
  } else {
    spans.push_back({left, right});
  }
}

}  // namespace

Region::Region(const TRect& r) {
  if (!r.IsEmpty()) rects_.push_back(r);
}

Region Region::FromRects(std::span<const TRect> rects) {
  // Pairwise unions keep every step's inputs small.
  if (rects.empty()) return {};
  if (rects.size() == 1) return Region(rects[0]);
  std::size_t half = rects.size() / 2;
  return FromRects(rects.first(half)).Union(FromRects(rects.subspan(half)));
}

Region Region::FromBitmap(const Bitmap& bmp, Pixel key, bool ignoreAlpha) {
  const Pixel mask = ignoreAlpha ? 0x00FFFFFFu : 0xFFFFFFFFu;
  const Pixel maskedKey = key & mask;
  Region out;
  BandWriter writer(out.rects_);
  std::vector<Span> spans;
  for (int y = 0; y < bmp.Height(); ++y) {
    spans.clear();
    const Pixel* row = bmp.Row(y);
    for (int x = 0; x < bmp.Width();) {
      while (x < bmp.Width() && (row[x] & mask) == maskedKey) ++x;
      int start = x;
      while (x < bmp.Width() && (row[x] & mask) != maskedKey) ++x;
      if (x > start) spans.push_back({start, x});
    }
    writer.Add(y, y + 1, spans);
  }
  return out;
}

RegionComplexity Region::Complexity() const {
  if (rects_.empty()) return NULLREGION;
  return rects_.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

TRect Region::Bounds() const {
  if (rects_.empty()) return {};
  TRect b{INT_MAX, rects_.front().Top, INT_MIN, rects_.back().Bottom};
  for (const TRect& r : rects_) {
    b.Left = std::min(b.Left, r.Left);
    b.Right = std::max(b.Right, r.Right);
  }
  return b;
}

Region Region::Union(const Region& other) const {
  return Combine(*this, other, Op::Union);
}
Region Region::Intersect(const Region& other) const {
  return Combine(*this, other, Op::Intersect);
}
Region Region::Subtract(const Region& other) const {
  return Combine(*this, other, Op::Subtract);
}
Region Region::Xor(const Region& other) const {
  return Combine(*this, other, Op::Xor);
}

void Region::Offset(int dx, int dy) {
  for (TRect& r : rects_) r = r.Offset(dx, dy);
}

bool Region::Contains(TPoint p) const {
  // Bands are sorted and do not overlap, so bottoms never decrease along the list.
  auto it = std::partition_point(rects_.begin(), rects_.end(),
                                 [&](const TRect& r) { return r.Bottom <= p.Y; });
  for (; it != rects_.end() && it->Top <= p.Y; ++it) {
    if (p.X < it->Left) return false;
    if (p.X < it->Right) return true;
  }
  return false;
}

bool Region::Intersects(const TRect& r) const {
  if (r.IsEmpty()) return false;
  auto it = std::partition_point(rects_.begin(), rects_.end(),
                                 [&](const TRect& x) { return x.Bottom <= r.Top; });
  for (; it != rects_.end() && it->Top < r.Bottom; ++it) {
    if (it->Left < r.Right && it->Right > r.Left) return true;
  }
  return false;
}

Region Region::Combine(const Region& a, const Region& b, Op op) {
  auto inside = [op](bool inA, bool inB) {
    switch (op) {
      case Op::Union:
        return inA || inB;
      case Op::Intersect:
        return inA && inB;
      case Op::Subtract:
        return inA && !inB;
      case Op::Xor:
        return inA != inB;
    }
    return false;
  };
  // Merges the spans of one band of a and one of b (either may be absent) by sweeping
  // over their edges in x order.
  std::vector<Span> spans;
  auto combineSpans = [&](const TRect* ra, std::size_t na, const TRect* rb, std::size_t nb) {
    spans.clear();
    std::size_t i = 0, j = 0;
    bool inA = false, inB = false;
    int start = 0;
    while (i < na || j < nb) {
      int xa = i < na ? (inA ? ra[i].Right : ra[i].Left) : INT_MAX;
      int xb = j < nb ? (inB ? rb[j].Right : rb[j].Left) : INT_MAX;
      int x = std::min(xa, xb);
      bool was = inside(inA, inB);
      if (xa == x) {
        if (inA) ++i;
        inA = !inA;
      }
      if (xb == x) {
        if (inB) ++j;
        inB = !inB;
      }
      bool now = inside(inA, inB);
      if (!was && now) start = x;
      if (was && !now) AppendSpan(spans, start, x);
    }
  };

  const std::vector<Band> bandsA = BandsOf(a.rects_);
  const std::vector<Band> bandsB = BandsOf(b.rects_);
  Region out;
  BandWriter writer(out.rects_);
  std::size_t ia = 0, ib = 0;
  int y = INT_MIN;
  // Sweep down over every band edge of either region; between two consecutive edges the
  // covering band of each region (if any) is fixed.
  while (true) {
    while (ia < bandsA.size() && bandsA[ia].bottom <= y) ++ia;
    while (ib < bandsB.size() && bandsB[ib].bottom <= y) ++ib;
    bool moreA = ia < bandsA.size(), moreB = ib < bandsB.size();
    if (!moreA && !moreB) break;
    bool activeA = moreA && bandsA[ia].top <= y;
    bool activeB = moreB && bandsB[ib].top <= y;
    if (!activeA && !activeB) {
      y = std::min(moreA ? bandsA[ia].top : INT_MAX, moreB ? bandsB[ib].top : INT_MAX);
      continue;
    }
    int next = std::min(activeA ? bandsA[ia].bottom : (moreA ? bandsA[ia].top : INT_MAX),
                        activeB ? bandsB[ib].bottom : (moreB ? bandsB[ib].top : INT_MAX));
    const TRect* ra = activeA ? &a.rects_[bandsA[ia].first] : nullptr;
    std::size_t na = activeA ? bandsA[ia].last - bandsA[ia].first : 0;
    const TRect* rb = activeB ? &b.rects_[bandsB[ib].first] : nullptr;
    std::size_t nb = activeB ? bandsB[ib].last - bandsB[ib].first : 0;
    combineSpans(ra, na, rb, nb);
    writer.Add(y, next, spans);
    y = next;
  }
  return out;
}

}  // namespace gfx
