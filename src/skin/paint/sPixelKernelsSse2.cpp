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
// Alpha of each pixel of a 16-bit vector copied to its four lanes.
inline __m128i AlphaLanes(__m128i v) {
  return _mm_shufflehi_epi16(_mm_shufflelo_epi16(v, 0xFF), 0xFF);
}
// (a * wa + b * wb) >> 8 on 16-bit lanes; callers keep every sum below 65536.
inline __m128i Mix(__m128i a, __m128i wa, __m128i b, __m128i wb) {
  return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(a, wa), _mm_mullo_epi16(b, wb)), 8);
}
const __m128i kAlphaLanes16 = _mm_set_epi16(-1, 0, 0, 0, -1, 0, 0, 0);

void Fill(std::uint32_t* d, int n, std::uint32_t v) {
  __m128i x = _mm_set1_epi32(int(v));
  int i = 0;
  for (; i + 4 <= n; i += 4) Store(d + i, x);
  kRef.Fill(d + i, n - i, v);
}

void BlendColor(std::uint32_t* d, int n, int blend, std::uint32_t k) {
  const __m128i z = _mm_setzero_si128();
  __m128i mul = _mm_set_epi16(256, blend, blend, blend, 256, blend, blend, blend);
  __m128i kc = _mm_unpacklo_epi8(_mm_set1_epi32(int(k & 0x00FFFFFF)), z);
  __m128i add = _mm_mullo_epi16(kc, _mm_set1_epi16(short(255 - blend)));
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    __m128i p = Load(d + i);
    __m128i lo =
        _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(p, z), mul), add), 8);
    __m128i hi =
        _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(p, z), mul), add), 8);
    Store(d + i, _mm_packus_epi16(lo, hi));
  }
  kRef.BlendColor(d + i, n - i, blend, k);
}

void Sum(std::uint32_t* d, const std::uint32_t* s, int n, int keep) {
  const __m128i z = _mm_setzero_si128();
  __m128i wd = _mm_set1_epi16(short(keep)), ws = _mm_set1_epi16(short(256 - keep));
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    __m128i dp = Load(d + i), sp = Load(s + i);
    __m128i lo = Mix(_mm_unpacklo_epi8(dp, z), wd, _mm_unpacklo_epi8(sp, z), ws);
    __m128i hi = Mix(_mm_unpackhi_epi8(dp, z), wd, _mm_unpackhi_epi8(sp, z), ws);
    Store(d + i, _mm_packus_epi16(lo, hi));
  }
  kRef.Sum(d + i, s + i, n - i, keep);
}

inline __m128i PaintHalf(__m128i d16, __m128i s16) {
  __m128i a = AlphaLanes(s16);
  return Mix(s16, a, d16, _mm_sub_epi16(_mm_set1_epi16(256), a));
}

void Paint(std::uint32_t* d, const std::uint32_t* s, int n) {
  const __m128i z = _mm_setzero_si128();
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    __m128i dp = Load(d + i), sp = Load(s + i);
    __m128i lo = PaintHalf(_mm_unpacklo_epi8(dp, z), _mm_unpacklo_epi8(sp, z));
    __m128i hi = PaintHalf(_mm_unpackhi_epi8(dp, z), _mm_unpackhi_epi8(sp, z));
    Store(d + i, _mm_packus_epi16(lo, hi));
  }
  kRef.Paint(d + i, s + i, n - i);
}

inline __m128i OverHalf(__m128i d16, __m128i s16) {
  __m128i a = AlphaLanes(s16);
  __m128i colour = Mix(s16, a, d16, _mm_sub_epi16(_mm_set1_epi16(256), a));
  __m128i alpha = _mm_add_epi16(
      d16, _mm_srli_epi16(_mm_mullo_epi16(_mm_sub_epi16(_mm_set1_epi16(255), d16), a), 8));
  return _mm_or_si128(_mm_andnot_si128(kAlphaLanes16, colour), _mm_and_si128(kAlphaLanes16, alpha));
}

void Over(std::uint32_t* d, const std::uint32_t* s, int n) {
  const __m128i z = _mm_setzero_si128(), key = _mm_set1_epi32(0x00FF00FF);
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    __m128i dp = Load(d + i), sp = Load(s + i);
    __m128i lo = OverHalf(_mm_unpacklo_epi8(dp, z), _mm_unpacklo_epi8(sp, z));
    __m128i hi = OverHalf(_mm_unpackhi_epi8(dp, z), _mm_unpackhi_epi8(sp, z));
    __m128i skip = _mm_cmpeq_epi32(sp, key);
    Store(d + i,
          _mm_or_si128(_mm_and_si128(skip, dp), _mm_andnot_si128(skip, _mm_packus_epi16(lo, hi))));
  }
  kRef.Over(d + i, s + i, n - i);
}

void KeyedCopy(std::uint32_t* d, const std::uint32_t* s, int n, std::uint32_t key) {
  __m128i k = _mm_set1_epi32(int(key));
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    __m128i dp = Load(d + i), sp = Load(s + i);
    __m128i skip = _mm_cmpeq_epi32(sp, k);
    Store(d + i, _mm_or_si128(_mm_and_si128(skip, dp), _mm_andnot_si128(skip, sp)));
  }
  kRef.KeyedCopy(d + i, s + i, n - i, key);
}

inline __m128i PremultiplyHalf(__m128i p16) {
  __m128i mul = _mm_or_si128(_mm_andnot_si128(kAlphaLanes16, AlphaLanes(p16)),
                             _mm_and_si128(kAlphaLanes16, _mm_set1_epi16(256)));
  return _mm_srli_epi16(_mm_mullo_epi16(p16, mul), 8);
}

void Premultiply(std::uint32_t* d, int n, bool composition) {
  const __m128i z = _mm_setzero_si128();
  const __m128i white = _mm_set1_epi32(0x00FFFFFF), limit = _mm_set1_epi8(char(244));
  const __m128i cap = _mm_set1_epi32(int(0xFFF4F4F4u));
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    __m128i p = Load(d + i);
    __m128i r = _mm_packus_epi16(PremultiplyHalf(_mm_unpacklo_epi8(p, z)),
                                 PremultiplyHalf(_mm_unpackhi_epi8(p, z)));
    if (!composition) {
      // Bytes at or below 244 are 0xFF in low; the pixel is clamped when none of B,G,R is.
      __m128i low = _mm_cmpeq_epi8(_mm_subs_epu8(p, limit), z);
      __m128i clamp = _mm_cmpeq_epi32(_mm_and_si128(low, white), z);
      r = _mm_or_si128(_mm_and_si128(clamp, _mm_min_epu8(r, cap)), _mm_andnot_si128(clamp, r));
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

void StretchColumns(const std::uint8_t* const* rows, const int* w, int count, std::uint8_t* out,
                    int nbytes) {
  kRef.StretchColumns(rows, w, count, out, nbytes);
}

}  // namespace

const TPixelKernels kKernels = {Fill,        BlendColor, Sum,           Paint,
                                Over,        KeyedCopy,  Premultiply,   BlurLine,
                                BlurColumns, StretchRow, StretchColumns};

}  // namespace sse2
}  // namespace skin::paint
