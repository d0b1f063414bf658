// Encoding and decoding speed of the picture codecs on a photo-sized picture.
#include <benchmark/benchmark.h>

#include <vector>

#include "platform/gfx/PictureCodec.h"

namespace gfx {
namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

// Smooth ramps with some fine detail, like a photograph more than a flat drawing.
Bitmap PhotoLikePicture() {
  Bitmap bmp(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      bmp.Set(x, y,
              MakePixel(std::uint8_t(x / 4), std::uint8_t(y / 3),
                        std::uint8_t((x * y / 64 + (x ^ y) % 7) & 0xFF), 255));
  return bmp;
}

void SetPixelsPerSecond(benchmark::State& state) {
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

void BM_EncodePng(benchmark::State& state) {
  Bitmap bmp = PhotoLikePicture();
  for (auto _ : state) benchmark::DoNotOptimize(EncodePng(bmp));
  SetPixelsPerSecond(state);
}
BENCHMARK(BM_EncodePng)->Unit(benchmark::kMillisecond);

void BM_DecodePng(benchmark::State& state) {
  std::vector<std::uint8_t> png = EncodePng(PhotoLikePicture());
  for (auto _ : state) benchmark::DoNotOptimize(DecodePng(png));
  SetPixelsPerSecond(state);
}
BENCHMARK(BM_DecodePng)->Unit(benchmark::kMillisecond);

void BM_EncodeJpeg(benchmark::State& state) {
  Bitmap bmp = PhotoLikePicture();
  for (auto _ : state) benchmark::DoNotOptimize(EncodeJpeg(bmp, 85));
  SetPixelsPerSecond(state);
}
BENCHMARK(BM_EncodeJpeg)->Unit(benchmark::kMillisecond);

void BM_DecodeJpeg(benchmark::State& state) {
  std::vector<std::uint8_t> jpeg = EncodeJpeg(PhotoLikePicture(), 85);
  for (auto _ : state) benchmark::DoNotOptimize(DecodeJpeg(jpeg));
  SetPixelsPerSecond(state);
}
BENCHMARK(BM_DecodeJpeg)->Unit(benchmark::kMillisecond);

void BM_EncodeBmp(benchmark::State& state) {
  Bitmap bmp = PhotoLikePicture();
  bool withAlpha = state.range(0) != 0;
  for (auto _ : state) benchmark::DoNotOptimize(EncodeBmp(bmp, withAlpha));
  SetPixelsPerSecond(state);
}
BENCHMARK(BM_EncodeBmp)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_DecodeBmp(benchmark::State& state) {
  std::vector<std::uint8_t> bmp = EncodeBmp(PhotoLikePicture(), state.range(0) != 0);
  for (auto _ : state) benchmark::DoNotOptimize(DecodeBmp(bmp));
  SetPixelsPerSecond(state);
}
BENCHMARK(BM_DecodeBmp)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace gfx
