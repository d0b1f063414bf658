// Row kernels of the hot pixel loops, in a scalar reference version and vector versions.
//
// Naming: a kernel is named after the operation it serves; every kernel works on one row (or,
// for the column passes, on one output row built from several input rows). The vector
// versions give exactly the bits of the scalar one; Kernels() picks the set for the active
// level (one dispatch point per operation call).
#pragma once

#include <cstddef>
#include <cstdint>

#include "skin/paint/sSimd.h"

namespace skin::paint {

// One source position contributing to a resampled output position; Weight is 16.16 fixed point.
struct TContributor {
  int Pixel = 0;
  int Weight = 0;
};

struct TPixelKernels {
  // d[i] = v.
  void (*Fill)(std::uint32_t* d, int n, std::uint32_t v);
  // B,G,R: c = (c * blend + k.c * (255 - blend)) >> 8, alpha kept; blend in 0..255.
  void (*BlendColor)(std::uint32_t* d, int n, int blend, std::uint32_t k);
  // All four bytes: d = (keep * d + (256 - keep) * s) >> 8; keep in 0..256.
  void (*Sum)(std::uint32_t* d, const std::uint32_t* s, int n, int keep);
  // Straight-alpha source-over, all four bytes: d = (s * s.A + d * (256 - s.A)) >> 8.
  void (*Paint)(std::uint32_t* d, const std::uint32_t* s, int n);
  // Source-over skipping 0x00FF00FF: B,G,R as Paint, d.A += (255 - d.A) * s.A >> 8.
  void (*Over)(std::uint32_t* d, const std::uint32_t* s, int n);
  // Per-channel mask: B, G, R = ((d.c - s.c) * m.c + s.c * 256) >> 8, alpha kept; pixels whose
  // source is 0x00FF00FF are left unless blendKeys.
  void (*MaskBlend)(std::uint32_t* d, const std::uint32_t* s, const std::uint32_t* m, int n,
                    bool blendKeys);
  // One mask value per pixel, w = m.R: B, G, R = (d.c * w + s.c * (255 - w)) >> 8; alpha 0
  // becomes 255 - w, partial alpha max(A, 255 - w), 255 stays. Pixels whose source is
  // 0x00FF00FF are left.
  void (*Mask32)(std::uint32_t* d, const std::uint32_t* s, const std::uint32_t* m, int n);
  // d[i] = s[i] where s[i] != key.
  void (*KeyedCopy)(std::uint32_t* d, const std::uint32_t* s, int n, std::uint32_t key);
  // Premultiplication for layered output (see UpdateAlpha).
  void (*Premultiply)(std::uint32_t* d, int n, bool composition);
  // out[i] = Round(sum over j = -size..size of w[j + size] * in[clamp(i + j, 0, n - 1)]),
  // limited to 0..255; sums are single precision, added in order of j.
  void (*BlurLine)(const std::uint8_t* in, std::uint8_t* out, int n, const float* w, int size);
  // out[x] = Round(sum over j of w[j] * rows[j][x]) for j = 0..2 * size, limited to 0..255.
  void (*BlurColumns)(const std::uint8_t* const* rows, std::uint8_t* out, int n, const float* w,
                      int size);
  // Horizontal resampling pass: out[i] bytes = clamp((sum of weights * bytes) >> 16, 0, 255)
  // over the contributors c[start[i] .. start[i + 1]).
  void (*StretchRow)(const std::uint32_t* in, std::uint32_t* out, int n, const TContributor* c,
                     const int* start);
  // Vertical resampling pass for one output row of n pixels: each byte the same clamp of the
  // bytes of rows[k] weighted by w[k], k < count.
  void (*StretchColumns)(const std::uint32_t* const* rows, const int* w, int count,
                         std::uint32_t* out, int n);
};

// The kernel set of a level (levels above the supported one must not be asked for).
const TPixelKernels& KernelsFor(TSimdLevel level);
// The kernel set of the active level.
inline const TPixelKernels& Kernels() {
  return KernelsFor(ActiveSimdLevel());
}

// The scalar references, shared by the vector sets for row ends and edges.
namespace scalar {
extern const TPixelKernels kKernels;
// One output value of BlurLine.
std::uint8_t BlurAt(const std::uint8_t* in, int n, int i, const float* w, int size);
}  // namespace scalar
namespace sse2 {
extern const TPixelKernels kKernels;
}
namespace avx2 {
extern const TPixelKernels kKernels;
}

}  // namespace skin::paint
