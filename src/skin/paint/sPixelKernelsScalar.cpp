// The scalar reference kernels: the formulas written once, byte by byte.
#include <algorithm>
#include <cmath>

#include "skin/paint/sPixelKernels.h"

namespace skin::paint {
namespace scalar {
namespace {

constexpr std::uint32_t Byte(std::uint32_t w, int i) {
  return (w >> (8 * i)) & 0xFF;
}
constexpr std::uint32_t kKey = 0x00FF00FF;

void Fill(std::uint32_t* d, int n, std::uint32_t v) {
  std::fill_n(d, n, v);
}

void BlendColor(std::uint32_t* d, int n, int blend, std::uint32_t k) {
  for (int i = 0; i < n; ++i) {
    std::uint32_t p = d[i], out = p & 0xFF000000;
    for (int c = 0; c < 3; ++c)
      out |= ((Byte(p, c) * blend + Byte(k, c) * (255 - blend)) >> 8) << (8 * c);
    d[i] = out;
  }
}

void Sum(std::uint32_t* d, const std::uint32_t* s, int n, int keep) {
  for (int i = 0; i < n; ++i) {
    std::uint32_t out = 0;
    for (int c = 0; c < 4; ++c) {
      int dc = int(Byte(d[i], c)), sc = int(Byte(s[i], c));
      out |= std::uint32_t((keep * (dc - sc) + sc * 256) >> 8) << (8 * c);
    }
    d[i] = out;
  }
}

void Paint(std::uint32_t* d, const std::uint32_t* s, int n) {
  for (int i = 0; i < n; ++i) {
    int a = int(Byte(s[i], 3));
    std::uint32_t out = 0;
    for (int c = 0; c < 4; ++c) {
      int dc = int(Byte(d[i], c)), sc = int(Byte(s[i], c));
      out |= std::uint32_t(((sc - dc) * a + dc * 256) >> 8) << (8 * c);
    }
    d[i] = out;
  }
}

void Over(std::uint32_t* d, const std::uint32_t* s, int n) {
  for (int i = 0; i < n; ++i) {
    if (s[i] == kKey) continue;
    int a = int(Byte(s[i], 3));
    std::uint32_t out = 0;
    for (int c = 0; c < 3; ++c) {
      int dc = int(Byte(d[i], c)), sc = int(Byte(s[i], c));
      out |= std::uint32_t(((sc - dc) * a + dc * 256) >> 8) << (8 * c);
    }
    std::uint32_t da = Byte(d[i], 3);
    if (a != 0) da += (255 - da) * std::uint32_t(a) >> 8;
    d[i] = out | (da << 24);
  }
}

void MaskBlend(std::uint32_t* d, const std::uint32_t* s, const std::uint32_t* m, int n,
               bool blendKeys) {
  for (int i = 0; i < n; ++i) {
    if (s[i] == kKey && !blendKeys) continue;
    std::uint32_t out = d[i] & 0xFF000000;
    for (int c = 0; c < 3; ++c) {
      int sc = int(Byte(s[i], c));
      out |= std::uint32_t(((int(Byte(d[i], c)) - sc) * int(Byte(m[i], c)) + sc * 256) >> 8)
             << (8 * c);
    }
    d[i] = out;
  }
}

void Mask32(std::uint32_t* d, const std::uint32_t* s, const std::uint32_t* m, int n) {
  for (int i = 0; i < n; ++i) {
    if (s[i] == kKey) continue;
    std::uint32_t w = Byte(m[i], 2), da = Byte(d[i], 3), out = 0;
    for (int c = 0; c < 3; ++c)
      out |= (Byte(d[i], c) * w + Byte(s[i], c) * (255 - w)) >> 8 << (8 * c);
    if (da == 0)
      da = 255 - w;
    else if (da < 255)
      da = std::max(da, 255 - w);
    d[i] = out | da << 24;
  }
}

void KeyedCopy(std::uint32_t* d, const std::uint32_t* s, int n, std::uint32_t key) {
  for (int i = 0; i < n; ++i)
    if (s[i] != key) d[i] = s[i];
}

void Premultiply(std::uint32_t* d, int n, bool composition) {
  for (int i = 0; i < n; ++i) {
    std::uint32_t p = d[i];
    if (p == 0x00FFFFFF) {
      d[i] = 0;
      continue;
    }
    std::uint32_t a = Byte(p, 3), out = p & 0xFF000000;
    bool clamp = !composition && Byte(p, 0) > 244 && Byte(p, 1) > 244 && Byte(p, 2) > 244;
    for (int c = 0; c < 3; ++c) {
      std::uint32_t v = Byte(p, c) * a >> 8;
      if (clamp) v = std::min<std::uint32_t>(v, 244);
      out |= v << (8 * c);
    }
    d[i] = out;
  }
}

std::uint8_t RoundByte(float sum) {
  if (sum > 255.0f) return 255;
  if (sum < 0.0f) return 0;
  return std::uint8_t(std::nearbyint(sum));
}

}  // namespace

std::uint8_t BlurAt(const std::uint8_t* in, int n, int i, const float* w, int size) {
  float sum = 0.0f;
  for (int j = -size; j <= size; ++j) sum += w[j + size] * float(in[std::clamp(i + j, 0, n - 1)]);
  return RoundByte(sum);
}

namespace {

void BlurLine(const std::uint8_t* in, std::uint8_t* out, int n, const float* w, int size) {
  for (int i = 0; i < n; ++i) out[i] = BlurAt(in, n, i, w, size);
}

void BlurColumns(const std::uint8_t* const* rows, std::uint8_t* out, int n, const float* w,
                 int size) {
  for (int x = 0; x < n; ++x) {
    float sum = 0.0f;
    for (int j = 0; j <= 2 * size; ++j) sum += w[j] * float(rows[j][x]);
    out[x] = RoundByte(sum);
  }
}

std::uint32_t ClampShift(int sum) {
  return std::uint32_t(std::clamp(sum >> 16, 0, 255));
}

void StretchRow(const std::uint32_t* in, std::uint32_t* out, int n, const TContributor* c,
                const int* start) {
  for (int i = 0; i < n; ++i) {
    int sum[4] = {0, 0, 0, 0};
    for (int k = start[i]; k < start[i + 1]; ++k) {
      std::uint32_t p = in[c[k].Pixel];
      for (int b = 0; b < 4; ++b) sum[b] += c[k].Weight * int(Byte(p, b));
    }
    out[i] = ClampShift(sum[0]) | ClampShift(sum[1]) << 8 | ClampShift(sum[2]) << 16 |
             ClampShift(sum[3]) << 24;
  }
}

void StretchColumns(const std::uint32_t* const* rows, const int* w, int count, std::uint32_t* out,
                    int n) {
  for (int x = 0; x < n; ++x) {
    int sum[4] = {0, 0, 0, 0};
    for (int k = 0; k < count; ++k)
      for (int b = 0; b < 4; ++b) sum[b] += w[k] * int(Byte(rows[k][x], b));
    out[x] = ClampShift(sum[0]) | ClampShift(sum[1]) << 8 | ClampShift(sum[2]) << 16 |
             ClampShift(sum[3]) << 24;
  }
}

}  // namespace

const TPixelKernels kKernels = {.Fill = Fill,
                                .BlendColor = BlendColor,
                                .Sum = Sum,
                                .Paint = Paint,
                                .Over = Over,
                                .MaskBlend = MaskBlend,
                                .Mask32 = Mask32,
                                .KeyedCopy = KeyedCopy,
                                .Premultiply = Premultiply,
                                .BlurLine = BlurLine,
                                .BlurColumns = BlurColumns,
                                .StretchRow = StretchRow,
                                .StretchColumns = StretchColumns};

}  // namespace scalar

const TPixelKernels& KernelsFor(TSimdLevel level) {
  switch (level) {
    case TSimdLevel::Avx2:
      return avx2::kKernels;
    case TSimdLevel::Sse2:
      return sse2::kKernels;
    default:
      return scalar::kKernels;
  }
}

}  // namespace skin::paint
