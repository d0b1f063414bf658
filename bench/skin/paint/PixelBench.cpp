// Pixel operations on a 1280 x 750 bitmap, each beside the nearest pixman composition and a
// memcpy of the same bytes (the memory-bandwidth bound). Our operations run at the best vector
// level (argument 2 where the processor has AVX2, else lower) and with the scalar reference
// (argument 0).
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstdlib>
#include <cstring>
#include <random>

#include "skin/paint/sAlphaGraph.h"
#include "skin/paint/sBlur.h"
#include "skin/paint/sGradient.h"
#include "skin/paint/sGraphUtils.h"
#include "skin/paint/sSimd.h"
#include "skin/paint/sStretch.h"

namespace skin::paint {
namespace {

constexpr int kW = 1280, kH = 750;

Bitmap RandomBitmap(unsigned seed) {
  std::mt19937 rng(seed);
  Bitmap b(kW, kH);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) b.Set(x, y, rng());
  return b;
}

pixman_image_t* Wrap(Bitmap& b, pixman_format_code_t format = PIXMAN_a8r8g8b8) {
  return pixman_image_create_bits(format, b.Width(), b.Height(),
                                  reinterpret_cast<std::uint32_t*>(b.Bits()), b.Stride());
}

void SetBytes(benchmark::State& state, std::int64_t bytesPerIteration) {
  state.SetBytesProcessed(state.iterations() * bytesPerIteration);
}

// Runs body at the level given as the benchmark's argument.
template <typename Body>
void AtLevel(benchmark::State& state, Body body) {
  TSimdLevel old = ActiveSimdLevel();
  SetSimdLevel(TSimdLevel(state.range(0)));
  for (auto _ : state) body();
  SetSimdLevel(old);
  SetBytes(state, std::int64_t(kW) * kH * 4);
}

void Levels(benchmark::internal::Benchmark* b) {
  b->Arg(0);
  if (SupportedSimdLevel() != TSimdLevel::Scalar) b->Arg(int(SupportedSimdLevel()));
}

// The bound: one pass over the bitmap's bytes.
void Memcpy(benchmark::State& state) {
  Bitmap a = RandomBitmap(1), b(kW, kH);
  for (auto _ : state) {
    std::memcpy(b.Bits(), a.Bits(), std::size_t(kW) * kH * 4);
    benchmark::ClobberMemory();
  }
  SetBytes(state, std::int64_t(kW) * kH * 4);
}
BENCHMARK(Memcpy);

void FillRect32_(benchmark::State& state) {
  Bitmap b(kW, kH);
  AtLevel(state, [&] { FillRect32(b, b.Bounds(), 0x336699, 255); });
}
BENCHMARK(FillRect32_)->Apply(Levels);

void PixmanFill(benchmark::State& state) {
  Bitmap b(kW, kH);
  for (auto _ : state)
    pixman_fill(reinterpret_cast<std::uint32_t*>(b.Bits()), b.Stride() / 4, 32, 0, 0, kW, kH,
                0xFF996633);
  SetBytes(state, std::int64_t(kW) * kH * 4);
}
BENCHMARK(PixmanFill);

void BlendColorRect_(benchmark::State& state) {
  Bitmap b = RandomBitmap(2);
  AtLevel(state, [&] { BlendColorRect(b, {0, 0, kW - 1, kH - 1}, 100, 0x336699); });
}
BENCHMARK(BlendColorRect_)->Apply(Levels);

// A translucent solid colour over the bitmap.
void PixmanOverSolid(benchmark::State& state) {
  Bitmap b = RandomBitmap(2);
  pixman_image_t* dst = Wrap(b);
  pixman_color_t c{0x3300, 0x6600, 0x9900, 0x9B00};
  pixman_image_t* src = pixman_image_create_solid_fill(&c);
  for (auto _ : state)
    pixman_image_composite32(PIXMAN_OP_OVER, src, nullptr, dst, 0, 0, 0, 0, 0, 0, kW, kH);
  pixman_image_unref(src);
  pixman_image_unref(dst);
  SetBytes(state, std::int64_t(kW) * kH * 4);
}
BENCHMARK(PixmanOverSolid);

void SumBmpRect_(benchmark::State& state) {
  Bitmap d = RandomBitmap(3), s = RandomBitmap(4);
  AtLevel(state, [&] { SumBmpRect(d, s, 100, s.Bounds(), {0, 0}); });
}
BENCHMARK(SumBmpRect_)->Apply(Levels);

// A bitmap over another through a constant mask (a cross-fade).
void PixmanOverConstantMask(benchmark::State& state) {
  Bitmap d = RandomBitmap(3), s = RandomBitmap(4);
  pixman_image_t* dst = Wrap(d);
  pixman_image_t* src = Wrap(s, PIXMAN_x8r8g8b8);
  pixman_color_t m{0, 0, 0, 0x9B00};
  pixman_image_t* mask = pixman_image_create_solid_fill(&m);
  for (auto _ : state)
    pixman_image_composite32(PIXMAN_OP_OVER, src, mask, dst, 0, 0, 0, 0, 0, 0, kW, kH);
  pixman_image_unref(mask);
  pixman_image_unref(src);
  pixman_image_unref(dst);
  SetBytes(state, std::int64_t(kW) * kH * 4);
}
BENCHMARK(PixmanOverConstantMask);

void PaintBmpRect32_(benchmark::State& state) {
  Bitmap d = RandomBitmap(5), s = RandomBitmap(6);
  AtLevel(state, [&] { PaintBmpRect32(d, s, s.Bounds(), {0, 0}); });
}
BENCHMARK(PaintBmpRect32_)->Apply(Levels);

void CopyByMask_(benchmark::State& state) {
  Bitmap d = RandomBitmap(5), s = RandomBitmap(6);
  AtLevel(state, [&] { CopyByMask(s.Bounds(), s.Bounds(), d, s, TCacheInfo{}, false); });
}
BENCHMARK(CopyByMask_)->Apply(Levels);

// A bitmap with per-pixel alpha over another.
void PixmanOver(benchmark::State& state) {
  Bitmap d = RandomBitmap(5), s = RandomBitmap(6);
  pixman_image_t* dst = Wrap(d);
  pixman_image_t* src = Wrap(s);
  for (auto _ : state)
    pixman_image_composite32(PIXMAN_OP_OVER, src, nullptr, dst, 0, 0, 0, 0, 0, 0, kW, kH);
  pixman_image_unref(src);
  pixman_image_unref(dst);
  SetBytes(state, std::int64_t(kW) * kH * 4);
}
BENCHMARK(PixmanOver);

void CopyTransRect_(benchmark::State& state) {
  Bitmap d = RandomBitmap(7), s = RandomBitmap(8);
  TCacheInfo ready;
  ready.Ready = true;
  AtLevel(state, [&] {
    CopyTransRect(d, s, 0, 0, {0, 0, kW - 1, kH - 1}, kTransKey, ready, false);
  });
}
BENCHMARK(CopyTransRect_)->Apply(Levels);

// A plain copy (pixman has no colour-keyed copy).
void PixmanBlt(benchmark::State& state) {
  Bitmap d = RandomBitmap(7), s = RandomBitmap(8);
  for (auto _ : state)
    pixman_blt(reinterpret_cast<std::uint32_t*>(s.Bits()),
               reinterpret_cast<std::uint32_t*>(d.Bits()), s.Stride() / 4, d.Stride() / 4, 32, 32,
               0, 0, 0, 0, kW, kH);
  SetBytes(state, std::int64_t(kW) * kH * 4);
}
BENCHMARK(PixmanBlt);

void UpdateAlpha_(benchmark::State& state) {
  Bitmap b = RandomBitmap(9), work(kW, kH);
  // Premultiplying changes the bitmap; each pass starts from the same copy, as the memcpy
  // reference does, so the copy is part of both.
  AtLevel(state, [&] {
    work.CopyFrom(b, b.Bounds(), {0, 0});
    UpdateAlpha(work);
  });
}
BENCHMARK(UpdateAlpha_)->Apply(Levels);

// Premultiplication as pixman does it: the bitmap through its own alpha as a mask.
void PixmanPremultiply(benchmark::State& state) {
  Bitmap b = RandomBitmap(9), work(kW, kH);
  pixman_image_t* src = Wrap(b, PIXMAN_x8r8g8b8);
  pixman_image_t* mask = Wrap(b);
  pixman_image_t* dst = Wrap(work);
  for (auto _ : state)
    pixman_image_composite32(PIXMAN_OP_SRC, src, mask, dst, 0, 0, 0, 0, 0, 0, kW, kH);
  pixman_image_unref(src);
  pixman_image_unref(mask);
  pixman_image_unref(dst);
  SetBytes(state, std::int64_t(kW) * kH * 4);
}
BENCHMARK(PixmanPremultiply);

constexpr int kStretchW = 960, kStretchH = 562;

void Stretch_(benchmark::State& state) {
  Bitmap s = RandomBitmap(10), d;
  AtLevel(state, [&] { Stretch(s, d, kStretchW, kStretchH, ftMitchell); });
}
BENCHMARK(Stretch_)->Apply(Levels);

void PixmanScale(benchmark::State& state, bool mitchell) {
  Bitmap s = RandomBitmap(10), d(kStretchW, kStretchH);
  pixman_image_t* src = Wrap(s);
  pixman_image_t* dst = Wrap(d);
  pixman_transform_t t;
  pixman_fixed_t sx = pixman_double_to_fixed(double(kW) / kStretchW);
  pixman_fixed_t sy = pixman_double_to_fixed(double(kH) / kStretchH);
  pixman_transform_init_scale(&t, sx, sy);
  pixman_image_set_transform(src, &t);
  if (mitchell) {
    int n = 0;
    pixman_fixed_t* params = pixman_filter_create_separable_convolution(
        &n, sx, sy, PIXMAN_KERNEL_IMPULSE, PIXMAN_KERNEL_IMPULSE, PIXMAN_KERNEL_CUBIC,
        PIXMAN_KERNEL_CUBIC, 1, 1);
    pixman_image_set_filter(src, PIXMAN_FILTER_SEPARABLE_CONVOLUTION, params, n);
    std::free(params);
  } else {
    pixman_image_set_filter(src, PIXMAN_FILTER_BILINEAR, nullptr, 0);
  }
  for (auto _ : state)
    pixman_image_composite32(PIXMAN_OP_SRC, src, nullptr, dst, 0, 0, 0, 0, 0, 0, kStretchW,
                             kStretchH);
  pixman_image_unref(src);
  pixman_image_unref(dst);
  SetBytes(state, std::int64_t(kW) * kH * 4);
}
BENCHMARK_CAPTURE(PixmanScale, cubic, true);
BENCHMARK_CAPTURE(PixmanScale, bilinear, false);

void Blur8_(benchmark::State& state) {
  gfx::Bitmap8 b(kW, kH);
  std::mt19937 rng(11);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) b.Set(x, y, std::uint8_t(rng()));
  TSimdLevel old = ActiveSimdLevel();
  SetSimdLevel(TSimdLevel(state.range(0)));
  for (auto _ : state) Blur8(b, 3.0);
  SetSimdLevel(old);
  SetBytes(state, std::int64_t(kW) * kH);
}
BENCHMARK(Blur8_)->Apply(Levels);

// A separable Gaussian convolution of an 8-bit image at scale 1.
void PixmanGaussian8(benchmark::State& state) {
  std::vector<std::uint32_t> srcBits(std::size_t(kW) * kH / 4), dstBits(srcBits.size());
  std::mt19937 rng(11);
  for (auto& v : srcBits) v = rng();
  pixman_image_t* src = pixman_image_create_bits(PIXMAN_a8, kW, kH, srcBits.data(), kW);
  pixman_image_t* dst = pixman_image_create_bits(PIXMAN_a8, kW, kH, dstBits.data(), kW);
  int n = 0;
  pixman_fixed_t* params = pixman_filter_create_separable_convolution(
      &n, pixman_int_to_fixed(1), pixman_int_to_fixed(1), PIXMAN_KERNEL_IMPULSE,
      PIXMAN_KERNEL_IMPULSE, PIXMAN_KERNEL_GAUSSIAN, PIXMAN_KERNEL_GAUSSIAN, 0, 0);
  pixman_image_set_filter(src, PIXMAN_FILTER_SEPARABLE_CONVOLUTION, params, n);
  std::free(params);
  for (auto _ : state)
    pixman_image_composite32(PIXMAN_OP_SRC, src, nullptr, dst, 0, 0, 0, 0, 0, 0, kW, kH);
  pixman_image_unref(src);
  pixman_image_unref(dst);
  SetBytes(state, std::int64_t(kW) * kH);
}
BENCHMARK(PixmanGaussian8);

void Memcpy8(benchmark::State& state) {
  std::vector<std::uint8_t> a(std::size_t(kW) * kH, 1), b(a.size());
  for (auto _ : state) {
    std::memcpy(b.data(), a.data(), a.size());
    benchmark::ClobberMemory();
  }
  SetBytes(state, std::int64_t(kW) * kH);
}
BENCHMARK(Memcpy8);

void Gradient(benchmark::State& state, const char* text) {
  Bitmap b(kW, kH);
  TsGradArray g;
  PrepareGradArray(text, g);
  AtLevel(state, [&] { PaintGrad(b, b.Bounds(), g, 0, 0); });
}
BENCHMARK_CAPTURE(Gradient, topToBottom,
                  "9817827;1917539;40;0;0;1917539;16777215;60;0;0;255;0;0;0;0")
    ->Apply(Levels);
BENCHMARK_CAPTURE(Gradient, leftToRight,
                  "9817827;1917539;40;1;0;1917539;16777215;60;0;0;255;0;0;0;0")
    ->Apply(Levels);

void PixmanLinearGradient(benchmark::State& state, bool vertical) {
  Bitmap b(kW, kH);
  pixman_image_t* dst = Wrap(b);
  pixman_point_fixed_t p1{0, 0};
  pixman_point_fixed_t p2{vertical ? 0 : pixman_int_to_fixed(kW),
                          vertical ? pixman_int_to_fixed(kH) : 0};
  pixman_gradient_stop_t stops[3] = {
      {0, {0xE300, 0xCF00, 0x9500, 0xFFFF}},
      {pixman_double_to_fixed(0.4), {0x6300, 0x4300, 0x1D00, 0xFFFF}},
      {pixman_int_to_fixed(1), {0xFFFF, 0, 0, 0xFFFF}}};
  pixman_image_t* src = pixman_image_create_linear_gradient(&p1, &p2, stops, 3);
  for (auto _ : state)
    pixman_image_composite32(PIXMAN_OP_SRC, src, nullptr, dst, 0, 0, 0, 0, 0, 0, kW, kH);
  pixman_image_unref(src);
  pixman_image_unref(dst);
  SetBytes(state, std::int64_t(kW) * kH * 4);
}
BENCHMARK_CAPTURE(PixmanLinearGradient, topToBottom, true);
BENCHMARK_CAPTURE(PixmanLinearGradient, leftToRight, false);

}  // namespace
}  // namespace skin::paint
