// Helpers of the painting tests: seeded random bitmaps with padded rows, padding checks, and a
// loop over every vector level this processor supports.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "skin/paint/sAlphaGraph.h"
#include "skin/paint/sSimd.h"

namespace skin::paint::test {

constexpr std::uint8_t kCanary = 0xA5;

// A bitmap whose rows are followed by 8 canary bytes, so a write past a row's end shows.
inline Bitmap Padded(int w, int h) {
  Bitmap b(w, h, w * 4 + 8);
  for (int y = 0; y < h; ++y)
    for (int i = 0; i < 8; ++i) b.Bits()[std::size_t(y) * b.Stride() + w * 4 + i] = kCanary;
  return b;
}

inline bool PaddingIntact(const Bitmap& b) {
  for (int y = 0; y < b.Height(); ++y)
    for (int i = b.Width() * 4; i < b.Stride(); ++i)
      if (b.Bits()[std::size_t(y) * b.Stride() + i] != kCanary) return false;
  return true;
}

// Random pixels, with a share of the words the operations treat specially.
inline void Randomise(Bitmap& b, std::mt19937& rng) {
  const std::uint32_t special[] = {0x00FF00FF, 0x00FFFFFF, 0xFFFFFFFF, 0,
                                   0xFF000000, 0xFFF5F6F7, 0x80F5F6F7, 0x01FF00FF};
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      b.Set(x, y, rng() % 8 == 0 ? special[rng() % 8] : std::uint32_t(rng()));
}

inline Bitmap RandomBitmap(int w, int h, std::mt19937& rng) {
  Bitmap b = Padded(w, h);
  Randomise(b, rng);
  return b;
}

inline Bitmap Solid(int w, int h, std::uint32_t p) {
  Bitmap b = Padded(w, h);
  b.Fill(p);
  return b;
}

// Every level up to the supported one; the active level is restored afterwards.
inline std::vector<TSimdLevel> Levels() {
  std::vector<TSimdLevel> out;
  for (int l = 0; l <= int(SupportedSimdLevel()); ++l) out.push_back(TSimdLevel(l));
  return out;
}

class ScopedLevel {
 public:
  explicit ScopedLevel(TSimdLevel l) : old_(ActiveSimdLevel()) { SetSimdLevel(l); }
  ~ScopedLevel() { SetSimdLevel(old_); }

 private:
  TSimdLevel old_;
};

constexpr std::uint32_t Px(int b, int g, int r, int a) {
  return std::uint32_t(b) | std::uint32_t(g) << 8 | std::uint32_t(r) << 16 | std::uint32_t(a) << 24;
}

}  // namespace skin::paint::test
