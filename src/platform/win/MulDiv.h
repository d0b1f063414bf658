// MulDiv with the platform's rounding, for scaling by ratios (percentages, dots per inch).
#pragma once

#include <cstdint>
#include <limits>

namespace win {

// a * b / c with a 64-bit product, rounded to the nearest integer with halves away from zero;
// -1 when c is 0 or the result does not fit in an int.
constexpr int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  std::int64_t product = std::int64_t(a) * b, divisor = c;
  if (divisor < 0) product = -product, divisor = -divisor;
  std::int64_t half = divisor / 2;
  std::int64_t q = (product >= 0 ? product + half : product - half) / divisor;
  if (q > std::numeric_limits<int>::max() || q < std::numeric_limits<int>::min()) return -1;
  return int(q);
}

}  // namespace win
