// A small seeded generator (SplitMix64), so every build writes the same catalogue.
#pragma once

#include <cstdint>
#include <vector>

namespace catalogue {

class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}

  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // An integer in [lo, hi].
  int Int(int lo, int hi) { return lo + int(Next() % std::uint64_t(hi - lo + 1)); }
  // A real in [lo, hi).
  double Real(double lo, double hi) { return lo + (hi - lo) * double(Next() >> 11) * 0x1p-53; }
  // True with probability p.
  bool Chance(double p) { return Real(0, 1) < p; }
  template <typename T>
  const T& Pick(const std::vector<T>& items) {
    return items[std::size_t(Int(0, int(items.size()) - 1))];
  }

 private:
  std::uint64_t state_;
};

}  // namespace catalogue
