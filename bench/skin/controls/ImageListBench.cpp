// Drawing one 32 x 32 picture of an alpha image list into a control's bitmap, beside a memcpy
// of the same bytes: from the item's cache (the usual case), decoded from its PNG bytes each
// time, and decoded and resampled from a 64 x 64 PNG each time.
#include <benchmark/benchmark.h>

#include <cstring>

#include "platform/gfx/PictureCodec.h"
#include "skin/controls/acAlphaImageList.h"

namespace skin::controls {
namespace {

constexpr int kSize = 32;

// A picture with colour and alpha changing across it, as icons have.
gfx::Bitmap Picture(int size) {
  gfx::Bitmap b(size, size);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      b.Set(x, y,
            gfx::MakePixel(std::uint8_t(x * 255 / size), std::uint8_t(y * 255 / size), 90,
                           std::uint8_t((x + y) * 255 / (2 * size))));
  return b;
}

void Memcpy(benchmark::State& state) {
  gfx::Bitmap a(kSize, kSize), b(kSize, kSize);
  for (auto _ : state) {
    std::memcpy(b.Bits(), a.Bits(), std::size_t(kSize) * kSize * 4);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kSize * kSize * 4);
}

// stored: the PNG item's own size.
void Draw(benchmark::State& state, int stored, bool useCache) {
  TsAlphaImageList list(nullptr);
  list.SetDimension(kSize, kSize);
  list.SetUseCache(useCache);
  list.AddItem(ifPNG, u"item", gfx::EncodePng(Picture(stored)));
  list.GenerateStdList();
  gfx::Bitmap dest(kSize, kSize);
  for (auto _ : state) {
    DrawAlphaImgList(list, dest, 0, 0, 0, 0, skin::paint::clNone, 0, 1, false);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kSize * kSize * 4);
}

BENCHMARK(Memcpy);
BENCHMARK_CAPTURE(Draw, Cached32, kSize, true);
BENCHMARK_CAPTURE(Draw, Decoded32, kSize, false);
BENCHMARK_CAPTURE(Draw, Resampled64To32, 2 * kSize, false);

}  // namespace
}  // namespace skin::controls
