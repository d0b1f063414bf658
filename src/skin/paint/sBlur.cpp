#include "skin/paint/sBlur.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "skin/paint/sPixelKernels.h"

namespace skin::paint {

TKernel MakeGaussianKernel(double radius, int maxData, int dataGranularity) {
  TKernel k;
  float* w = k.Weights + MaxKernelSize;  // w[j] for j = -16..16
  double sum = 0;
  for (int j = -MaxKernelSize; j <= MaxKernelSize; ++j) {
    double x = j / radius;
    w[j] = float(std::exp(-x * x / 2));
    sum += w[j];
  }
  for (float& v : k.Weights) v = float(v / sum);
  // Cut the tails that cannot change a value by one granule.
  double delta = double(dataGranularity) / (2.0 * maxData), tail = 0;
  k.Size = MaxKernelSize;
  while (tail < delta && k.Size > 1) {
    tail += 2.0 * w[k.Size];
    --k.Size;
  }
  sum = 0;
  for (int j = -k.Size; j <= k.Size; ++j) sum += w[j];
  for (int j = -k.Size; j <= k.Size; ++j) w[j] = float(w[j] / sum);
  return k;
}

void Blur8(gfx::Bitmap8& bmp, double radius) {
  if (!(radius > 0) || bmp.Empty()) return;
  TKernel kernel = MakeGaussianKernel(radius, 255, 1);
  int size = kernel.Size, w = bmp.Width(), h = bmp.Height();
  const float* weights = kernel.Weights + MaxKernelSize - size;
  const auto& k = Kernels();
  std::vector<std::uint8_t> line(w);
  for (int y = 0; y < h; ++y) {
    std::copy_n(bmp.Row(y), w, line.begin());
    k.BlurLine(line.data(), bmp.Row(y), w, weights, size);
  }
  // Columns: every output row from the 2 * size + 1 rows around it (clamped at the edges).
  gfx::Bitmap8 rows = bmp;
  const std::uint8_t* taps[2 * MaxKernelSize + 1];
  for (int y = 0; y < h; ++y) {
    for (int j = -size; j <= size; ++j) taps[j + size] = rows.Row(std::clamp(y + j, 0, h - 1));
    k.BlurColumns(taps, bmp.Row(y), w, weights, size);
  }
}

void Blur32(gfx::Bitmap& bmp, double radius) {
  if (!(radius > 0) || bmp.Empty()) return;
  const int w = bmp.Width(), h = bmp.Height();
  gfx::Bitmap8 channel(w, h);
  for (int shift = 0; shift < 32; shift += 8) {
    for (int y = 0; y < h; ++y) {
      const gfx::Pixel* from = bmp.Row(y);
      std::uint8_t* to = channel.Row(y);
      for (int x = 0; x < w; ++x) to[x] = std::uint8_t(from[x] >> shift);
    }
    Blur8(channel, radius);
    const gfx::Pixel keep = ~(gfx::Pixel(0xFF) << shift);
    for (int y = 0; y < h; ++y) {
      gfx::Pixel* to = bmp.Row(y);
      const std::uint8_t* from = channel.Row(y);
      for (int x = 0; x < w; ++x) to[x] = (to[x] & keep) | (gfx::Pixel(from[x]) << shift);
    }
  }
}

}  // namespace skin::paint
