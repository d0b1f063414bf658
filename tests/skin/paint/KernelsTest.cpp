// The vector kernels against the scalar reference on seeded random data of every length
// around the vector widths, and the operations built on them at every level.
#include <algorithm>
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

class VectorKernels : public ::testing::TestWithParam<TSimdLevel> {
 protected:
  const TPixelKernels& ref = scalar::kKernels;
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

TEST_P(VectorKernels, OperationsGiveTheSameBitsAtEveryLevel) {
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

INSTANTIATE_TEST_SUITE_P(Levels, VectorKernels, ::testing::ValuesIn(Levels()), LevelName);

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
  for (TSimdLevel level : Levels()) {
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
