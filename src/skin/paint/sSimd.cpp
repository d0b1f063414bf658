#include "skin/paint/sSimd.h"

#include <algorithm>
#include <atomic>

namespace skin::paint {

namespace {
std::atomic<int> gLevel{-1};  // -1: not chosen yet, use the supported level
}

TSimdLevel SupportedSimdLevel() {
  static const TSimdLevel level = [] {
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2")) return TSimdLevel::Avx2;
    if (__builtin_cpu_supports("sse2")) return TSimdLevel::Sse2;
    return TSimdLevel::Scalar;
  }();
  return level;
}

TSimdLevel ActiveSimdLevel() {
  int l = gLevel.load(std::memory_order_relaxed);
  return l < 0 ? SupportedSimdLevel() : TSimdLevel(l);
}

void SetSimdLevel(TSimdLevel level) {
  gLevel.store(std::min(int(level), int(SupportedSimdLevel())), std::memory_order_relaxed);
}

}  // namespace skin::paint
