// Whole-bitmap fill and copy through a device context, beside a plain memcpy of the same
// bytes as the bound they are measured against.
#include <benchmark/benchmark.h>

#include <cstring>

#include "platform/gfx/DeviceContext.h"

namespace gfx {
namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 750;
constexpr std::int64_t kBytes = std::int64_t(kWidth) * kHeight * 4;

void BM_Memcpy(benchmark::State& state) {
  Bitmap src(kWidth, kHeight), dst(kWidth, kHeight);
  src.Fill(0x80402010);
  for (auto _ : state) {
    std::memcpy(dst.Bits(), src.Bits(), std::size_t(kBytes));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_Memcpy);

void BM_FillRect(benchmark::State& state) {
  Bitmap bmp(kWidth, kHeight);
  DeviceContext dc(bmp);
  COLORREF color = RGB(1, 2, 3);
  for (auto _ : state) {
    FillRect(&dc, bmp.Bounds(), color);
    color ^= 0x010101;
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_FillRect);

void BM_BitBlt(benchmark::State& state) {
  Bitmap src(kWidth, kHeight), dst(kWidth, kHeight);
  src.Fill(0x80402010);
  DeviceContext srcDc(src), dstDc(dst);
  for (auto _ : state) {
    BitBlt(&dstDc, 0, 0, kWidth, kHeight, &srcDc, 0, 0, SRCCOPY);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_BitBlt);

}  // namespace
}  // namespace gfx
