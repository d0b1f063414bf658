// SSE2 kernels: 16-bit lanes for the byte formulas, 4 single-precision lanes for the blur.
// Row ends go to the scalar reference; the resampling passes stay scalar (SSE2 has no 32-bit
// multiply).
#include <emmintrin.h>

#include <cstring>

#include "skin/paint/sPixelKernels.h"

namespace skin::paint {
namespace sse2 {
namespace {

const TPixelKernels& kRef = scalar::kKernels;

inline __m128i Load(const std::uint32_t* p) {
  return _mm_loadu_si128((const __m128i*)p);
}
inline void Store(std::uint32_t* p, __m128i v) {
  _mm_storeu_si128((__m128i*)p, v);
}
void Fill(std::uint32_t* d, int n, std::uint32_t v) {
  __m128i x = _mm_set1_epi32(int(v));
  int i = 0;
  for (; i + 4 <= n; i += 4) Store(d + i, x);
  kRef.Fill(d + i, n - i, v);
}

// The byte formulas work on two 16-bit lanes per pixel: the even bytes (B, R) and the odd
// bytes (G, A), each in the low byte of its lane. A weighted sum x * 256 + (y - x) * w stays
// within 0..65535 for every formula here, so 16-bit wrap-around arithmetic gives it exactly.
inline __m128i Even(__m128i v) {
  return _mm_and_si128(v, _mm_set1_epi32(0x00FF00FF));
}
inline __m128i Odd(__m128i v) {
  return _mm_srli_epi16(v, 8);
}
// x * 256 + (y - x) * w on the even (or odd) bytes of the words x and y, w in 16-bit lanes;
// the result is in the high byte of each lane.
inline __m128i LerpEven(__m128i x, __m128i y, __m128i w) {
  return _mm_add_epi16(_mm_slli_epi16(x, 8), _mm_mullo_epi16(_mm_sub_epi16(Even(y), Even(x)), w));
}
inline __m128i LerpOdd(__m128i x, __m128i y, __m128i w) {
  return _mm_add_epi16(_mm_andnot_si128(_mm_set1_epi32(0x00FF00FF), x),
                       _mm_mullo_epi16(_mm_sub_epi16(Odd(y), Odd(x)), w));
}
// Even results (high bytes) and odd results (high bytes) back into pixels.
inline __m128i Join(__m128i even, __m128i odd) {
  return _mm_or_si128(_mm_srli_epi16(even, 8), _mm_andnot_si128(_mm_set1_epi32(0x00FF00FF), odd));
}
// Each pixel's alpha in both of its 16-bit lanes.
inline __m128i AlphaPairs(__m128i p) {
  __m128i a = _mm_srli_epi32(p, 24);
  return _mm_or_si128(a, _mm_slli_epi32(a, 16));
}
// a where mask, else b.
inline __m128i Select(__m128i mask, __m128i a, __m128i b) {
  return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b));
}

void BlendColor(std::uint32_t* d, int n, int blend, std::uint32_t k) {
  // c * blend + k.c * (255 - blend); alpha lanes multiply by 256 and add nothing.
  __m128i wEven = _mm_set1_epi16(short(blend));
  __m128i wOdd = _mm_set1_epi32(int(0x01000000u | std::uint32_t(blend)));
  __m128i kc = _mm_set1_epi32(int(k & 0x00FFFFFF));
  __m128i addEven = _mm_mullo_epi16(Even(kc), _mm_set1_epi16(short(255 - blend)));
  __m128i addOdd = _mm_mullo_epi16(Odd(kc), _mm_set1_epi16(short(255 - blend)));
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    __m128i p = Load(d + i);
    __m128i e = _mm_add_epi16(_mm_mullo_epi16(Even(p), wEven), addEven);
    __m128i o = _mm_add_epi16(_mm_mullo_epi16(Odd(p), wOdd), addOdd);
    Store(d + i, Join(e, o));
  }
  kRef.BlendColor(d + i, n - i, blend, k);
}

void Sum(std::uint32_t* d, const std::uint32_t* s, int n, int keep) {
  __m128i w = _mm_set1_epi16(short(keep));
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    __m128i dp = Load(d + i), sp = Load(s + i);
    Store(d + i, Join(LerpEven(sp, dp, w), LerpOdd(sp, dp, w)));
  }
  kRef.Sum(d + i, s + i, n - i, keep);
}

void Paint(std::uint32_t* d, const std::uint32_t* s, int n) {
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    __m128i dp = Load(d + i), sp = Load(s + i), a = AlphaPairs(sp);
    Store(d + i, Join(LerpEven(dp, sp, a), LerpOdd(dp, sp, a)));
  }
  kRef.Paint(d + i, s + i, n - i);
}

void Over(std::uint32_t* d, const std::uint32_t* s, int n) {
  const __m128i key = _mm_set1_epi32(0x00FF00FF), alphaByte = _mm_set1_epi32(int(0xFF000000u));
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    __m128i dp = Load(d + i), sp = Load(s + i), a = AlphaPairs(sp);
    // With 255 in place of the source alpha the alpha lane gives
    // (d.A * 256 + (255 - d.A) * s.A) >> 8 = d.A + ((255 - d.A) * s.A >> 8).
    __m128i out = Join(LerpEven(dp, sp, a), LerpOdd(dp, _mm_or_si128(sp, alphaByte), a));
    Store(d + i, Select(_mm_cmpeq_epi32(sp, key), dp, out));
  }
  kRef.Over(d + i, s + i, n - i);
}

void MaskBlend(std::uint32_t* d, const std::uint32_t* s, const std::uint32_t* m, int n,
               bool blendKeys) {
  // The alpha lanes weigh the destination by 256: they keep its alpha.
  const __m128i key = _mm_set1_epi32(0x00FF00FF), alphaLane = _mm_set1_epi32(int(0xFFFF0000u));
  const __m128i keepAlpha = _mm_set1_epi32(0x01000000);
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    __m128i dp = Load(d + i), sp = Load(s + i), mp = Load(m + i);
    __m128i wOdd = Select(alphaLane, keepAlpha, Odd(mp));
    __m128i out = Join(LerpEven(sp, dp, Even(mp)), LerpOdd(sp, dp, wOdd));
    if (!blendKeys) out = Select(_mm_cmpeq_epi32(sp, key), dp, out);
    Store(d + i, out);
  }
  kRef.MaskBlend(d + i, s + i, m + i, n - i, blendKeys);
}

void Mask32(std::uint32_t* d, const std::uint32_t* s, const std::uint32_t* m, int n) {
  // The alpha rule is max(A, 255 - w) in every case: 0 gives 255 - w, 255 stays.
  const __m128i key = _mm_set1_epi32(0x00FF00FF), alphaByte = _mm_set1_epi32(int(0xFF000000u));
  const __m128i lowByte = _mm_set1_epi32(0xFF), all = _mm_set1_epi16(255);
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    __m128i dp = Load(d + i), sp = Load(s + i);
    __m128i w = _mm_and_si128(_mm_srli_epi32(Load(m + i), 16), lowByte);
    __m128i w2 = _mm_or_si128(w, _mm_slli_epi32(w, 16)), inv = _mm_sub_epi16(all, w2);
    __m128i even = _mm_add_epi16(_mm_mullo_epi16(Even(dp), w2), _mm_mullo_epi16(Even(sp), inv));
    __m128i odd = _mm_add_epi16(_mm_mullo_epi16(Odd(dp), w2), _mm_mullo_epi16(Odd(sp), inv));
    __m128i alpha = _mm_max_epu8(dp, _mm_slli_epi32(_mm_sub_epi32(lowByte, w), 24));
    __m128i out = Select(alphaByte, alpha, Join(even, odd));
    Store(d + i, Select(_mm_cmpeq_epi32(sp, key), dp, out));
  }
  kRef.Mask32(d + i, s + i, m + i, n - i);
}

void KeyedCopy(std::uint32_t* d, const std::uint32_t* s, int n, std::uint32_t key) {
  __m128i k = _mm_set1_epi32(int(key));
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    __m128i dp = Load(d + i), sp = Load(s + i);
    Store(d + i, Select(_mm_cmpeq_epi32(sp, k), dp, sp));
  }
  kRef.KeyedCopy(d + i, s + i, n - i, key);
}

void Premultiply(std::uint32_t* d, int n, bool composition) {
  const __m128i z = _mm_setzero_si128();
  const __m128i white = _mm_set1_epi32(0x00FFFFFF), limit = _mm_set1_epi8(char(244));
  const __m128i cap = _mm_set1_epi32(int(0xFFF4F4F4u));
  const __m128i alphaLane = _mm_set1_epi32(int(0xFFFF0000u)), lane256 = _mm_set1_epi32(0x01000000);
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    __m128i p = Load(d + i), a = AlphaPairs(p);
    // c * A for B, G, R; the alpha lane multiplies by 256 and so keeps A.
    __m128i wOdd = Select(alphaLane, lane256, a);
    __m128i r = Join(_mm_mullo_epi16(Even(p), a), _mm_mullo_epi16(Odd(p), wOdd));
    if (!composition) {
      // Bytes at or below 244 are 0xFF in low; the pixel is clamped when none of B,G,R is.
      __m128i low = _mm_cmpeq_epi8(_mm_subs_epu8(p, limit), z);
      __m128i clamp = _mm_cmpeq_epi32(_mm_and_si128(low, white), z);
      r = Select(clamp, _mm_min_epu8(r, cap), r);
    }
    Store(d + i, _mm_andnot_si128(_mm_cmpeq_epi32(p, white), r));
  }
  kRef.Premultiply(d + i, n - i, composition);
}

inline __m128 Load4(const std::uint8_t* p) {
  int v;
  std::memcpy(&v, p, 4);
  const __m128i z = _mm_setzero_si128();
  return _mm_cvtepi32_ps(_mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(v), z), z));
}
inline void Store4(std::uint8_t* p, __m128 sum) {
  __m128i v = _mm_cvtps_epi32(sum);
  v = _mm_packus_epi16(_mm_packs_epi32(v, v), v);
  int x = _mm_cvtsi128_si32(v);
  std::memcpy(p, &x, 4);
}

void BlurLine(const std::uint8_t* in, std::uint8_t* out, int n, const float* w, int size) {
  int i = 0;
  for (; i < n && i < size; ++i) out[i] = scalar::BlurAt(in, n, i, w, size);
  for (; i + 4 + size <= n; i += 4) {
    __m128 sum = _mm_setzero_ps();
    for (int j = -size; j <= size; ++j)
      sum = _mm_add_ps(sum, _mm_mul_ps(_mm_set1_ps(w[j + size]), Load4(in + i + j)));
    Store4(out + i, sum);
  }
  for (; i < n; ++i) out[i] = scalar::BlurAt(in, n, i, w, size);
}

void BlurColumns(const std::uint8_t* const* rows, std::uint8_t* out, int n, const float* w,
                 int size) {
  int x = 0;
  for (; x + 4 <= n; x += 4) {
    __m128 sum = _mm_setzero_ps();
    for (int j = 0; j <= 2 * size; ++j)
      sum = _mm_add_ps(sum, _mm_mul_ps(_mm_set1_ps(w[j]), Load4(rows[j] + x)));
    Store4(out + x, sum);
  }
  if (x < n) {
    const std::uint8_t* rest[2 * 16 + 1];
    for (int j = 0; j <= 2 * size; ++j) rest[j] = rows[j] + x;
    kRef.BlurColumns(rest, out + x, n - x, w, size);
  }
}

void StretchRow(const std::uint32_t* in, std::uint32_t* out, int n, const TContributor* c,
                const int* start) {
  kRef.StretchRow(in, out, n, c, start);
}

void StretchColumns(const std::uint32_t* const* rows, const int* w, int count, std::uint32_t* out,
                    int n) {
  kRef.StretchColumns(rows, w, count, out, n);
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

}  // namespace sse2
}  // namespace skin::paint
