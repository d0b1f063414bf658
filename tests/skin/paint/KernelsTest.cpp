// The kernels of every level on seeded random data of every length around the vector widths:
// the scalar reference against a plain per-byte model written from the formulas the kernel
// table states, each vector level against the reference; and the operations built on them at
// every vector level.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "PaintTestUtil.h"
#include "skin/paint/sBlur.h"
#include "skin/paint/sGradient.h"
#include "skin/paint/sGraphUtils.h"
#include "skin/paint/sPixelKernels.h"
#include "skin/paint/sStretch.h"

namespace skin::paint {
namespace {

using test::Levels;

std::vector<std::uint32_t> Words(int n, std::mt19937& rng) {
  Bitmap b(std::max(n, 1), 1);
  test::Randomise(b, rng);
  return {b.Row(0), b.Row(0) + n};
}

// The kernels as the table states them, one pixel and one byte at a time, in the forms the
// comments give (the reference computes several of them in other forms).
namespace model {

using Bytes = std::array<int, 4>;  // B, G, R, A

Bytes Split(std::uint32_t p) {
  return {int(p & 0xFF), int(p >> 8 & 0xFF), int(p >> 16 & 0xFF), int(p >> 24)};
}
std::uint32_t Join(const Bytes& b) {
  return std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 |
         std::uint32_t(b[3]) << 24;
}
constexpr std::uint32_t kKey = 0x00FF00FF;
constexpr int kNearWhite = 244;

void Fill(std::uint32_t* d, int n, std::uint32_t v) {
  for (int i = 0; i < n; ++i) d[i] = v;
}
void BlendColor(std::uint32_t* d, int n, int blend, std::uint32_t k) {
  for (int i = 0; i < n; ++i) {
    Bytes c = Split(d[i]), kc = Split(k);
    for (int b = 0; b < 3; ++b) c[b] = (c[b] * blend + kc[b] * (255 - blend)) >> 8;
    d[i] = Join(c);
  }
}
void Sum(std::uint32_t* d, const std::uint32_t* s, int n, int keep) {
  for (int i = 0; i < n; ++i) {
    Bytes c = Split(d[i]), sc = Split(s[i]);
    for (int b = 0; b < 4; ++b) c[b] = (keep * c[b] + (256 - keep) * sc[b]) >> 8;
    d[i] = Join(c);
  }
}
void Paint(std::uint32_t* d, const std::uint32_t* s, int n) {
  for (int i = 0; i < n; ++i) {
    Bytes c = Split(d[i]), sc = Split(s[i]);
    const int a = sc[3];
    for (int b = 0; b < 4; ++b) c[b] = (sc[b] * a + c[b] * (256 - a)) >> 8;
    d[i] = Join(c);
  }
}
void Over(std::uint32_t* d, const std::uint32_t* s, int n) {
  for (int i = 0; i < n; ++i) {
    if (s[i] == kKey) continue;
    Bytes c = Split(d[i]), sc = Split(s[i]);
    const int a = sc[3];
    for (int b = 0; b < 3; ++b) c[b] = (sc[b] * a + c[b] * (256 - a)) >> 8;
    c[3] += (255 - c[3]) * a >> 8;
    d[i] = Join(c);
  }
}
void MaskBlend(std::uint32_t* d, const std::uint32_t* s, const std::uint32_t* m, int n,
               bool blendKeys) {
  for (int i = 0; i < n; ++i) {
    if (s[i] == kKey && !blendKeys) continue;
    Bytes c = Split(d[i]), sc = Split(s[i]), mc = Split(m[i]);
    for (int b = 0; b < 3; ++b) c[b] = (c[b] * mc[b] + sc[b] * (256 - mc[b])) >> 8;
    d[i] = Join(c);
  }
}
void Mask32(std::uint32_t* d, const std::uint32_t* s, const std::uint32_t* m, int n) {
  for (int i = 0; i < n; ++i) {
    if (s[i] == kKey) continue;
    Bytes c = Split(d[i]), sc = Split(s[i]);
    const int w = Split(m[i])[2];
    for (int b = 0; b < 3; ++b) c[b] = (c[b] * w + sc[b] * (255 - w)) >> 8;
    if (c[3] == 0)
      c[3] = 255 - w;
    else if (c[3] != 255)
      c[3] = std::max(c[3], 255 - w);
    d[i] = Join(c);
  }
}
void KeyedCopy(std::uint32_t* d, const std::uint32_t* s, int n, std::uint32_t key) {
  for (int i = 0; i < n; ++i) d[i] = s[i] == key ? d[i] : s[i];
}
void Premultiply(std::uint32_t* d, int n, bool composition) {
  for (int i = 0; i < n; ++i) {
    if (d[i] == 0x00FFFFFF) {
      d[i] = 0;
      continue;
    }
    Bytes c = Split(d[i]);
    const bool nearWhite = c[0] > kNearWhite && c[1] > kNearWhite && c[2] > kNearWhite;
    for (int b = 0; b < 3; ++b) {
      c[b] = c[b] * c[3] >> 8;
      if (!composition && nearWhite) c[b] = std::min(c[b], kNearWhite);
    }
    d[i] = Join(c);
  }
}
// Single-precision sum in the order given, rounded to nearest with ties to even, limited.
std::uint8_t Round(float sum) {
  return std::uint8_t(std::clamp(std::rint(sum), 0.0f, 255.0f));
}
void BlurLine(const std::uint8_t* in, std::uint8_t* out, int n, const float* w, int size) {
  for (int i = 0; i < n; ++i) {
    float sum = 0;
    for (int j = -size; j <= size; ++j) sum += w[j + size] * float(in[std::clamp(i + j, 0, n - 1)]);
    out[i] = Round(sum);
  }
}
void BlurColumns(const std::uint8_t* const* rows, std::uint8_t* out, int n, const float* w,
                 int size) {
  for (int x = 0; x < n; ++x) {
    float sum = 0;
    for (int j = 0; j <= 2 * size; ++j) sum += w[j] * float(rows[j][x]);
    out[x] = Round(sum);
  }
}
std::uint32_t Weighted(const std::vector<std::pair<std::uint32_t, int>>& terms) {
  Bytes sum{};
  for (const auto& [pixel, weight] : terms)
    for (int b = 0; b < 4; ++b) sum[b] += Split(pixel)[b] * weight;
  for (int& v : sum) v = std::clamp(v >> 16, 0, 255);
  return Join(sum);
}
void StretchRow(const std::uint32_t* in, std::uint32_t* out, int n, const TContributor* c,
                const int* start) {
  for (int i = 0; i < n; ++i) {
    std::vector<std::pair<std::uint32_t, int>> terms;
    for (int k = start[i]; k < start[i + 1]; ++k) terms.push_back({in[c[k].Pixel], c[k].Weight});
    out[i] = Weighted(terms);
  }
}
void StretchColumns(const std::uint32_t* const* rows, const int* w, int count, std::uint32_t* out,
                    int n) {
  for (int x = 0; x < n; ++x) {
    std::vector<std::pair<std::uint32_t, int>> terms;
    for (int k = 0; k < count; ++k) terms.push_back({rows[k][x], w[k]});
    out[x] = Weighted(terms);
  }
}

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

}  // namespace model

// At the scalar level the reference is checked against the model; at a vector level the vector
// kernels against the reference.
class VectorKernels : public ::testing::TestWithParam<TSimdLevel> {
 protected:
  const TPixelKernels& ref = GetParam() == TSimdLevel::Scalar ? model::kKernels : scalar::kKernels;
  const TPixelKernels& vec = KernelsFor(GetParam());
  std::mt19937 rng{20261209};
};

TEST_P(VectorKernels, ByteFormulasMatchTheReference) {
  for (int n = 0; n < 70; ++n) {
    SCOPED_TRACE(n);
    auto d = Words(n, rng), s = Words(n, rng), m = Words(n, rng);
    std::uint32_t k = rng(), key = rng() % 2 ? 0x00FF00FF : s.empty() ? 0 : s[0];
    int blend = int(rng() % 256), keep = int(rng() % 257);
    auto check = [&](auto op) {
      auto a = d, b = d;
      op(ref, a);
      op(vec, b);
      ASSERT_EQ(a, b);
    };
    check([&](const TPixelKernels& kk, auto& x) { kk.Fill(x.data(), n, k); });
    check([&](const TPixelKernels& kk, auto& x) { kk.BlendColor(x.data(), n, blend, k); });
    check([&](const TPixelKernels& kk, auto& x) { kk.Sum(x.data(), s.data(), n, keep); });
    check([&](const TPixelKernels& kk, auto& x) { kk.Sum(x.data(), s.data(), n, 256); });
    check([&](const TPixelKernels& kk, auto& x) { kk.Paint(x.data(), s.data(), n); });
    check([&](const TPixelKernels& kk, auto& x) { kk.Over(x.data(), s.data(), n); });
    for (bool keys : {false, true})
      check([&](const TPixelKernels& kk, auto& x) {
        kk.MaskBlend(x.data(), s.data(), m.data(), n, keys);
      });
    check([&](const TPixelKernels& kk, auto& x) { kk.Mask32(x.data(), s.data(), m.data(), n); });
    check([&](const TPixelKernels& kk, auto& x) { kk.KeyedCopy(x.data(), s.data(), n, key); });
    check([&](const TPixelKernels& kk, auto& x) { kk.Premultiply(x.data(), n, true); });
    check([&](const TPixelKernels& kk, auto& x) { kk.Premultiply(x.data(), n, false); });
  }
}

TEST_P(VectorKernels, BlurPassesMatchTheReference) {
  for (double radius : {0.3, 1.0, 2.5, 7.0}) {
    TKernel kernel = MakeGaussianKernel(radius, 255, 1);
    const float* w = kernel.Weights + MaxKernelSize - kernel.Size;
    for (int n = 1; n < 60; ++n) {
      std::vector<std::uint8_t> in(n), a(n), b(n);
      for (auto& v : in) v = std::uint8_t(rng());
      ref.BlurLine(in.data(), a.data(), n, w, kernel.Size);
      vec.BlurLine(in.data(), b.data(), n, w, kernel.Size);
      ASSERT_EQ(a, b) << "line of " << n << ", radius " << radius;
      std::vector<std::vector<std::uint8_t>> rows(2 * kernel.Size + 1,
                                                  std::vector<std::uint8_t>(n));
      std::vector<const std::uint8_t*> taps;
      for (auto& r : rows) {
        for (auto& v : r) v = std::uint8_t(rng());
        taps.push_back(r.data());
      }
      ref.BlurColumns(taps.data(), a.data(), n, w, kernel.Size);
      vec.BlurColumns(taps.data(), b.data(), n, w, kernel.Size);
      ASSERT_EQ(a, b) << "columns of " << n << ", radius " << radius;
    }
  }
}

TEST_P(VectorKernels, StretchPassesMatchTheReference) {
  for (int n = 1; n < 40; ++n) {
    SCOPED_TRACE(n);
    // Up to five contributors per output pixel, weights of either sign around 1.0 in 16.16.
    const std::vector<std::uint32_t> in = Words(n + 4, rng);
    std::vector<TContributor> c;
    std::vector<int> start = {0};
    for (int i = 0; i < n; ++i) {
      for (int k = int(rng() % 6); k > 0; --k)
        c.push_back({int(rng() % in.size()), int(rng() % 90000) - 12000});
      start.push_back(int(c.size()));
    }
    std::vector<std::uint32_t> a(n), b(n);
    ref.StretchRow(in.data(), a.data(), n, c.data(), start.data());
    vec.StretchRow(in.data(), b.data(), n, c.data(), start.data());
    ASSERT_EQ(a, b) << "row";
    std::vector<std::vector<std::uint32_t>> rows;
    std::vector<const std::uint32_t*> taps;
    std::vector<int> w;
    for (int k = 0; k < 1 + n % 7; ++k) {
      rows.push_back(Words(n, rng));
      w.push_back(int(rng() % 90000) - 12000);
    }
    for (auto& r : rows) taps.push_back(r.data());
    ref.StretchColumns(taps.data(), w.data(), int(w.size()), a.data(), n);
    vec.StretchColumns(taps.data(), w.data(), int(w.size()), b.data(), n);
    ASSERT_EQ(a, b) << "columns";
  }
}

// Values worked out by hand, so the model and the reference cannot share a misreading.
TEST(ReferenceKernels, KnownValues) {
  const TPixelKernels& k = scalar::kKernels;
  using test::Px;
  std::uint32_t d[3] = {Px(0, 0, 0, 255), Px(200, 100, 50, 0), Px(10, 20, 30, 40)};
  const std::uint32_t s[3] = {Px(255, 255, 255, 128), 0x00FF00FF, Px(0, 0, 0, 255)};
  k.Over(d, s, 3);
  // Half white over opaque black: 255 * 128 >> 8 = 127, alpha stays 255; the key is skipped;
  // opaque black: black, alpha 40 + (215 * 255 >> 8) = 254.
  EXPECT_EQ(d[0], Px(127, 127, 127, 255));
  EXPECT_EQ(d[1], Px(200, 100, 50, 0));
  EXPECT_EQ(d[2], Px(0, 0, 0, 254));
  std::uint32_t p[2] = {Px(0, 0, 0, 0), Px(255, 255, 255, 255)};
  const std::uint32_t half[2] = {Px(255, 255, 255, 128), Px(255, 255, 255, 128)};
  k.Paint(p, half, 2);
  // (255 * 128 + 0 * 128) >> 8 = 127 and alpha (128 * 128) >> 8 = 64; over white
  // (255 * 128 + 255 * 128) >> 8 = 255 and alpha (128 * 128 + 255 * 128) >> 8 = 191.
  EXPECT_EQ(p[0], Px(127, 127, 127, 64));
  EXPECT_EQ(p[1], Px(255, 255, 255, 191));
  std::uint32_t sum[1] = {Px(100, 0, 255, 255)};
  const std::uint32_t other[1] = {Px(0, 100, 255, 0)};
  k.Sum(sum, other, 1, 64);  // a quarter of d: (64 * 100 + 192 * 0) >> 8 = 25, ...
  EXPECT_EQ(sum[0], Px(25, 75, 255, 63));
  std::uint32_t pm[3] = {0x00FFFFFF, Px(250, 250, 250, 255), Px(200, 100, 50, 128)};
  k.Premultiply(pm, 3, false);
  EXPECT_EQ(pm[0], 0u);
  EXPECT_EQ(pm[1], Px(244, 244, 244, 255));  // near white, clamped: 250 * 255 >> 8 = 249
  EXPECT_EQ(pm[2], Px(100, 50, 25, 128));
  std::uint32_t m32[3] = {Px(200, 200, 200, 0), Px(200, 200, 200, 100), Px(200, 200, 200, 255)};
  const std::uint32_t src[3] = {Px(0, 0, 0, 255), Px(0, 0, 0, 255), Px(0, 0, 0, 255)};
  const std::uint32_t mask[3] = {Px(0, 0, 64, 0), Px(0, 0, 64, 0), Px(0, 0, 64, 0)};
  k.Mask32(m32, src, mask, 3);
  // B, G, R = 200 * 64 >> 8 = 50; alpha 0 becomes 191, 100 becomes max(100, 191), 255 stays.
  EXPECT_EQ(m32[0], Px(50, 50, 50, 191));
  EXPECT_EQ(m32[1], Px(50, 50, 50, 191));
  EXPECT_EQ(m32[2], Px(50, 50, 50, 255));
  // A blur of weights 0.25, 0.5, 0.25; the end pixels repeat.
  const float w[3] = {0.25f, 0.5f, 0.25f};
  const std::uint8_t line[4] = {0, 4, 8, 255};
  std::uint8_t blurred[4];
  k.BlurLine(line, blurred, 4, w, 1);
  // 0 + 0 + 1 = 1; 0 + 2 + 2 = 4; 1 + 4 + 63.75 = 68.75 -> 69; 2 + 127.5 + 63.75 = 193.25.
  EXPECT_EQ(std::vector<std::uint8_t>(blurred, blurred + 4),
            (std::vector<std::uint8_t>{1, 4, 69, 193}));
  const std::uint8_t ties[3] = {0, 2, 6};
  k.BlurLine(ties, blurred, 3, w, 1);
  // Halves go to the even neighbour: 0 + 0 + 0.5 -> 0; 0 + 1 + 1.5 = 2.5 -> 2; 0.5 + 3 + 1.5 = 5.
  EXPECT_EQ(std::vector<std::uint8_t>(blurred, blurred + 3), (std::vector<std::uint8_t>{0, 2, 5}));
}

// The operations built on the kernels give the reference's bits at every vector level.
class VectorOperations : public ::testing::TestWithParam<TSimdLevel> {};

TEST_P(VectorOperations, GiveTheSameBitsAsTheReference) {
  // Each operation on the same random input, once with the reference and once vectorised.
  auto run = [&](TSimdLevel level, auto op) {
    std::mt19937 local(7);
    Bitmap dst = test::RandomBitmap(37, 13, local), src = test::RandomBitmap(41, 17, local);
    test::ScopedLevel scoped(level);
    op(dst, src);
    return dst;
  };
  auto same = [&](auto op) { EXPECT_EQ(run(TSimdLevel::Scalar, op), run(GetParam(), op)); };
  same([](Bitmap& d, const Bitmap&) { FillRect32(d, {3, 2, 30, 11}, 0x123456, 77); });
  same([](Bitmap& d, const Bitmap&) { BlendColorRect(d, {1, 1, 33, 12}, 90, 0x00808080); });
  same([](Bitmap& d, const Bitmap& s) { SumBmpRect(d, s, 100, {2, 2, 40, 16}, {1, 0}); });
  same([](Bitmap& d, const Bitmap& s) { PaintBmpRect32(d, s, {0, 0, 41, 17}, {-2, 3}); });
  same([](Bitmap& d, const Bitmap& s) {
    CopyByMask({0, 0, 37, 13}, {3, 3, 41, 17}, d, s, {}, false);
  });
  same([](Bitmap& d, const Bitmap& s) { CopyTransRectA(d, s, 1, 1, {0, 0, 40, 16}, kTransKey); });
  for (bool ready : {false, true})
    for (bool update : {false, true})
      same([=](Bitmap& d, const Bitmap& s) {
        TCacheInfo ci;
        ci.Ready = ready;
        ci.Bmp = &s;
        ci.X = 3;
        TsMaskData md;
        md.Bmp = &s;
        md.R = {0, 0, 41, 16};
        md.MaskType = 1;
        CopyByMask({1, 1, 36, 9}, {2, 0, 39, 8}, d, s, ci, update, md);
        CopyMasterRect({0, 2, 30, 12}, {0, 0, 30, 8}, d, ci, md);
        CopyByMask32({3, 0, 37, 9}, {0, 1, 41, 8}, d, s, ci, md);
      });
  same([](Bitmap& d, const Bitmap&) { UpdateAlpha(d); });
  same([](Bitmap& d, const Bitmap&) {
    SetCompositionEnabled(false);
    UpdateAlpha(d);
    SetCompositionEnabled(true);
  });
  for (int f = ftBox; f <= ftMitchell; ++f) {
    same([f](Bitmap& d, const Bitmap& s) { Stretch(s, d, 29, 31, TFilterType(f)); });
    same([f](Bitmap& d, const Bitmap& s) { Stretch(s, d, 90, 5, TFilterType(f)); });
  }
  same([](Bitmap& d, const Bitmap& s) {
    TsGradArray g;
    PrepareGradArray("255;0;40;0;0;65280;0;60;0;0;16711680;0;0;0;0", g);
    PaintGradTxt(d, {0, 0, 37, 13}, g, s, {1, 1, 6, 5}, 100, 200);
  });
}

std::string LevelName(const ::testing::TestParamInfo<TSimdLevel>& info) {
  static const char* const kNames[] = {"Scalar", "Sse2", "Avx2"};
  return kNames[int(info.param)];
}

// The levels above the scalar one this processor has.
std::vector<TSimdLevel> VectorLevels() {
  std::vector<TSimdLevel> levels = Levels();
  levels.erase(levels.begin());
  return levels;
}

INSTANTIATE_TEST_SUITE_P(Levels, VectorKernels, ::testing::ValuesIn(Levels()), LevelName);
INSTANTIATE_TEST_SUITE_P(Levels, VectorOperations, ::testing::ValuesIn(VectorLevels()), LevelName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(VectorOperations);

TEST(VectorKernels, Blur8GivesTheSameBitsAtEveryLevel) {
  std::mt19937 rng(11);
  gfx::Bitmap8 src(53, 29, 60);
  for (int y = 0; y < src.Height(); ++y)
    for (int x = 0; x < src.Width(); ++x) src.Set(x, y, std::uint8_t(rng()));
  gfx::Bitmap8 expected = src;
  {
    test::ScopedLevel scoped(TSimdLevel::Scalar);
    Blur8(expected, 3.0);
  }
  for (TSimdLevel level : VectorLevels()) {
    gfx::Bitmap8 b = src;
    test::ScopedLevel scoped(level);
    Blur8(b, 3.0);
    EXPECT_EQ(b, expected) << int(level);
  }
}

TEST(SimdLevel, CannotBeRaisedAboveWhatTheProcessorHas) {
  test::ScopedLevel scoped(TSimdLevel::Avx2);
  EXPECT_LE(int(ActiveSimdLevel()), int(SupportedSimdLevel()));
  SetSimdLevel(TSimdLevel::Scalar);
  EXPECT_EQ(ActiveSimdLevel(), TSimdLevel::Scalar);
}

}  // namespace
}  // namespace skin::paint
