// AVX2 kernels: the SSE2 formulas on 256-bit vectors, plus the resampling passes with 32-bit
// multiplies. Every function carries its own target attribute so that the rest of the program
// runs on processors without AVX2; nothing here runs before the run-time check chose it.
#include <immintrin.h>

#include "skin/paint/sPixelKernels.h"

#define MC_AVX2 __attribute__((target("avx2")))

namespace skin::paint {
namespace avx2 {
namespace {

const TPixelKernels& kRef = scalar::kKernels;

MC_AVX2 inline __m256i Load(const std::uint32_t* p) {
  return _mm256_loadu_si256((const __m256i*)p);
}
MC_AVX2 inline void Store(std::uint32_t* p, __m256i v) {
  _mm256_storeu_si256((__m256i*)p, v);
}
MC_AVX2 void Fill(std::uint32_t* d, int n, std::uint32_t v) {
  __m256i x = _mm256_set1_epi32(int(v));
  int i = 0;
  for (; i + 32 <= n; i += 32) {
    Store(d + i, x);
    Store(d + i + 8, x);
    Store(d + i + 16, x);
    Store(d + i + 24, x);
  }
  for (; i + 8 <= n; i += 8) Store(d + i, x);
  kRef.Fill(d + i, n - i, v);
}

// The byte formulas work on two 16-bit lanes per pixel: the even bytes (B, R) and the odd
// bytes (G, A), each in the low byte of its lane. A weighted sum x * 256 + (y - x) * w stays
// within 0..65535 for every formula here, so 16-bit wrap-around arithmetic gives it exactly.
MC_AVX2 inline __m256i Even(__m256i v) {
  return _mm256_and_si256(v, _mm256_set1_epi32(0x00FF00FF));
}
MC_AVX2 inline __m256i Odd(__m256i v) {
  return _mm256_srli_epi16(v, 8);
}
// x * 256 + (y - x) * w on the even (or odd) bytes of the words x and y, w in 16-bit lanes;
// the result is in the high byte of each lane.
MC_AVX2 inline __m256i LerpEven(__m256i x, __m256i y, __m256i w) {
  return _mm256_add_epi16(_mm256_slli_epi16(x, 8),
                          _mm256_mullo_epi16(_mm256_sub_epi16(Even(y), Even(x)), w));
}
MC_AVX2 inline __m256i LerpOdd(__m256i x, __m256i y, __m256i w) {
  return _mm256_add_epi16(_mm256_andnot_si256(_mm256_set1_epi32(0x00FF00FF), x),
                          _mm256_mullo_epi16(_mm256_sub_epi16(Odd(y), Odd(x)), w));
}
// Even results (high bytes) and odd results (high bytes) back into pixels.
MC_AVX2 inline __m256i Join(__m256i even, __m256i odd) {
  return _mm256_or_si256(_mm256_srli_epi16(even, 8),
                         _mm256_andnot_si256(_mm256_set1_epi32(0x00FF00FF), odd));
}
// Each pixel's alpha in both of its 16-bit lanes.
MC_AVX2 inline __m256i AlphaPairs(__m256i p) {
  const char z = char(0x80);
  return _mm256_shuffle_epi8(
      p, _mm256_setr_epi8(3, z, 3, z, 7, z, 7, z, 11, z, 11, z, 15, z, 15, z, 3, z, 3, z, 7, z, 7,
                          z, 11, z, 11, z, 15, z, 15, z));
}
// a where mask, else b.
MC_AVX2 inline __m256i Select(__m256i mask, __m256i a, __m256i b) {
  return _mm256_blendv_epi8(b, a, mask);
}

MC_AVX2 void BlendColor(std::uint32_t* d, int n, int blend, std::uint32_t k) {
  // c * blend + k.c * (255 - blend); alpha lanes multiply by 256 and add nothing.
  __m256i wEven = _mm256_set1_epi16(short(blend));
  __m256i wOdd = _mm256_set1_epi32(int(0x01000000u | std::uint32_t(blend)));
  __m256i kc = _mm256_set1_epi32(int(k & 0x00FFFFFF));
  __m256i addEven = _mm256_mullo_epi16(Even(kc), _mm256_set1_epi16(short(255 - blend)));
  __m256i addOdd = _mm256_mullo_epi16(Odd(kc), _mm256_set1_epi16(short(255 - blend)));
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    __m256i p = Load(d + i);
    __m256i e = _mm256_add_epi16(_mm256_mullo_epi16(Even(p), wEven), addEven);
    __m256i o = _mm256_add_epi16(_mm256_mullo_epi16(Odd(p), wOdd), addOdd);
    Store(d + i, Join(e, o));
  }
  kRef.BlendColor(d + i, n - i, blend, k);
}

MC_AVX2 void Sum(std::uint32_t* d, const std::uint32_t* s, int n, int keep) {
  __m256i w = _mm256_set1_epi16(short(keep));
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    __m256i dp = Load(d + i), sp = Load(s + i);
    Store(d + i, Join(LerpEven(sp, dp, w), LerpOdd(sp, dp, w)));
  }
  kRef.Sum(d + i, s + i, n - i, keep);
}

MC_AVX2 void Paint(std::uint32_t* d, const std::uint32_t* s, int n) {
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    __m256i dp = Load(d + i), sp = Load(s + i), a = AlphaPairs(sp);
    Store(d + i, Join(LerpEven(dp, sp, a), LerpOdd(dp, sp, a)));
  }
  kRef.Paint(d + i, s + i, n - i);
}

MC_AVX2 void Over(std::uint32_t* d, const std::uint32_t* s, int n) {
  const __m256i key = _mm256_set1_epi32(0x00FF00FF),
                alphaByte = _mm256_set1_epi32(int(0xFF000000u));
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    __m256i dp = Load(d + i), sp = Load(s + i), a = AlphaPairs(sp);
    // With 255 in place of the source alpha the alpha lane gives
    // (d.A * 256 + (255 - d.A) * s.A) >> 8 = d.A + ((255 - d.A) * s.A >> 8).
    __m256i out = Join(LerpEven(dp, sp, a), LerpOdd(dp, _mm256_or_si256(sp, alphaByte), a));
    Store(d + i, Select(_mm256_cmpeq_epi32(sp, key), dp, out));
  }
  kRef.Over(d + i, s + i, n - i);
}

MC_AVX2 void MaskBlend(std::uint32_t* d, const std::uint32_t* s, const std::uint32_t* m, int n,
                       bool blendKeys) {
  // The alpha lanes weigh the destination by 256: they keep its alpha.
  const __m256i key = _mm256_set1_epi32(0x00FF00FF),
                alphaLane = _mm256_set1_epi32(int(0xFFFF0000u));
  const __m256i keepAlpha = _mm256_set1_epi32(0x01000000);
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    __m256i dp = Load(d + i), sp = Load(s + i), mp = Load(m + i);
    __m256i wOdd = Select(alphaLane, keepAlpha, Odd(mp));
    __m256i out = Join(LerpEven(sp, dp, Even(mp)), LerpOdd(sp, dp, wOdd));
    if (!blendKeys) out = Select(_mm256_cmpeq_epi32(sp, key), dp, out);
    Store(d + i, out);
  }
  kRef.MaskBlend(d + i, s + i, m + i, n - i, blendKeys);
}

MC_AVX2 void Mask32(std::uint32_t* d, const std::uint32_t* s, const std::uint32_t* m, int n) {
  // The alpha rule is max(A, 255 - w) in every case: 0 gives 255 - w, 255 stays.
  const __m256i key = _mm256_set1_epi32(0x00FF00FF),
                alphaByte = _mm256_set1_epi32(int(0xFF000000u));
  const __m256i lowByte = _mm256_set1_epi32(0xFF), all = _mm256_set1_epi16(255);
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    __m256i dp = Load(d + i), sp = Load(s + i);
    __m256i w = _mm256_and_si256(_mm256_srli_epi32(Load(m + i), 16), lowByte);
    __m256i w2 = _mm256_or_si256(w, _mm256_slli_epi32(w, 16)), inv = _mm256_sub_epi16(all, w2);
    __m256i even =
        _mm256_add_epi16(_mm256_mullo_epi16(Even(dp), w2), _mm256_mullo_epi16(Even(sp), inv));
    __m256i odd =
        _mm256_add_epi16(_mm256_mullo_epi16(Odd(dp), w2), _mm256_mullo_epi16(Odd(sp), inv));
    __m256i alpha = _mm256_max_epu8(dp, _mm256_slli_epi32(_mm256_sub_epi32(lowByte, w), 24));
    __m256i out = Select(alphaByte, alpha, Join(even, odd));
    Store(d + i, Select(_mm256_cmpeq_epi32(sp, key), dp, out));
  }
  kRef.Mask32(d + i, s + i, m + i, n - i);
}

MC_AVX2 void KeyedCopy(std::uint32_t* d, const std::uint32_t* s, int n, std::uint32_t key) {
  __m256i k = _mm256_set1_epi32(int(key));
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    __m256i dp = Load(d + i), sp = Load(s + i);
    Store(d + i, Select(_mm256_cmpeq_epi32(sp, k), dp, sp));
  }
  kRef.KeyedCopy(d + i, s + i, n - i, key);
}

MC_AVX2 void Premultiply(std::uint32_t* d, int n, bool composition) {
  const __m256i z = _mm256_setzero_si256();
  const __m256i white = _mm256_set1_epi32(0x00FFFFFF), limit = _mm256_set1_epi8(char(244));
  const __m256i cap = _mm256_set1_epi32(int(0xFFF4F4F4u));
  const __m256i alphaLane = _mm256_set1_epi32(int(0xFFFF0000u)),
                lane256 = _mm256_set1_epi32(0x01000000);
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    __m256i p = Load(d + i), a = AlphaPairs(p);
    // c * A for B, G, R; the alpha lane multiplies by 256 and so keeps A.
    __m256i wOdd = Select(alphaLane, lane256, a);
    __m256i r = Join(_mm256_mullo_epi16(Even(p), a), _mm256_mullo_epi16(Odd(p), wOdd));
    if (!composition) {
      // Bytes at or below 244 are 0xFF in low; the pixel is clamped when none of B,G,R is.
      __m256i low = _mm256_cmpeq_epi8(_mm256_subs_epu8(p, limit), z);
      __m256i clamp = _mm256_cmpeq_epi32(_mm256_and_si256(low, white), z);
      r = Select(clamp, _mm256_min_epu8(r, cap), r);
    }
    Store(d + i, _mm256_andnot_si256(_mm256_cmpeq_epi32(p, white), r));
  }
  kRef.Premultiply(d + i, n - i, composition);
}

MC_AVX2 inline __m256 Load8(const std::uint8_t* p) {
  return _mm256_cvtepi32_ps(_mm256_cvtepu8_epi32(_mm_loadl_epi64((const __m128i*)p)));
}
MC_AVX2 inline void Store8(std::uint8_t* p, __m256 sum) {
  __m256i v = _mm256_cvtps_epi32(sum);
  __m128i w = _mm_packs_epi32(_mm256_castsi256_si128(v), _mm256_extracti128_si256(v, 1));
  _mm_storel_epi64((__m128i*)p, _mm_packus_epi16(w, w));
}

MC_AVX2 void BlurLine(const std::uint8_t* in, std::uint8_t* out, int n, const float* w, int size) {
  int i = 0;
  for (; i < n && i < size; ++i) out[i] = scalar::BlurAt(in, n, i, w, size);
  for (; i + 8 + size <= n; i += 8) {
    __m256 sum = _mm256_setzero_ps();
    for (int j = -size; j <= size; ++j)
      sum = _mm256_add_ps(sum, _mm256_mul_ps(_mm256_set1_ps(w[j + size]), Load8(in + i + j)));
    Store8(out + i, sum);
  }
  for (; i < n; ++i) out[i] = scalar::BlurAt(in, n, i, w, size);
}

MC_AVX2 void BlurColumns(const std::uint8_t* const* rows, std::uint8_t* out, int n, const float* w,
                         int size) {
  int x = 0;
  for (; x + 8 <= n; x += 8) {
    __m256 sum = _mm256_setzero_ps();
    for (int j = 0; j <= 2 * size; ++j)
      sum = _mm256_add_ps(sum, _mm256_mul_ps(_mm256_set1_ps(w[j]), Load8(rows[j] + x)));
    Store8(out + x, sum);
  }
  if (x < n) {
    const std::uint8_t* rest[2 * 16 + 1];
    for (int j = 0; j <= 2 * size; ++j) rest[j] = rows[j] + x;
    kRef.BlurColumns(rest, out + x, n - x, w, size);
  }
}

MC_AVX2 void StretchRow(const std::uint32_t* in, std::uint32_t* out, int n, const TContributor* c,
                        const int* start) {
  for (int i = 0; i < n; ++i) {
    __m128i sum = _mm_setzero_si128();
    for (int k = start[i]; k < start[i + 1]; ++k) {
      __m128i p = _mm_cvtepu8_epi32(_mm_cvtsi32_si128(int(in[c[k].Pixel])));
      sum = _mm_add_epi32(sum, _mm_mullo_epi32(p, _mm_set1_epi32(c[k].Weight)));
    }
    __m128i v = _mm_srai_epi32(sum, 16);
    v = _mm_packs_epi32(v, v);
    out[i] = std::uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(v, v)));
  }
}

MC_AVX2 void StretchColumns(const std::uint32_t* const* rows, const int* w, int count,
                            std::uint32_t* out, int n) {
  int x = 0;
  for (; x + 2 <= n; x += 2) {
    __m256i sum = _mm256_setzero_si256();
    for (int k = 0; k < count; ++k) {
      __m256i p = _mm256_cvtepu8_epi32(_mm_loadl_epi64((const __m128i*)(rows[k] + x)));
      sum = _mm256_add_epi32(sum, _mm256_mullo_epi32(p, _mm256_set1_epi32(w[k])));
    }
    __m256i v = _mm256_srai_epi32(sum, 16);
    __m128i h = _mm_packs_epi32(_mm256_castsi256_si128(v), _mm256_extracti128_si256(v, 1));
    _mm_storel_epi64((__m128i*)(out + x), _mm_packus_epi16(h, h));
  }
  if (x < n) {
    __m128i sum = _mm_setzero_si128();
    for (int k = 0; k < count; ++k) {
      __m128i p = _mm_cvtepu8_epi32(_mm_cvtsi32_si128(int(rows[k][x])));
      sum = _mm_add_epi32(sum, _mm_mullo_epi32(p, _mm_set1_epi32(w[k])));
    }
    __m128i v = _mm_srai_epi32(sum, 16);
    v = _mm_packs_epi32(v, v);
    out[x] = std::uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(v, v)));
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

}  // namespace avx2
}  // namespace skin::paint
