// Stretching: the nearest-neighbour copy pixel by pixel (whole factors up and down, cut at the
// destination's edges), and the filtered resampler giving the same pixels whatever it resampled
// before (its weights are kept between calls).
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>
#include <vector>

#include "PaintTestUtil.h"
#include "skin/paint/sStretch.h"

namespace skin::paint {
namespace {

// Every pixel names its place: B = x, G = y.
Bitmap Places(int w, int h) {
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.Set(x, y, gfx::MakePixel(std::uint8_t(x), std::uint8_t(y), 7, 255));
  return b;
}

TEST(StretchCopy, WholeFactorsRepeatOrPickTheMiddleAndTheEdgesCut) {
  const Bitmap src = Places(12, 6);
  const gfx::Pixel kBack = gfx::MakePixel(1, 2, 3, 4);
  // Source (2, 1) 3 x 2 three times as large at (-2, 1): the first two columns lie outside.
  Bitmap big(10, 10);
  big.Fill(kBack);
  StretchCopy(big, -2, 1, 9, 6, src, 2, 1, 3, 2);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) {
      const bool inside = x < 7 && y >= 1 && y < 7;
      const gfx::Pixel want = inside ? src.At(2 + (x + 2) / 3, 1 + (y - 1) / 3) : kBack;
      ASSERT_EQ(big.At(x, y), want) << x << "," << y;
    }
  // Source 9 x 3 a third as large: the middle pixel of each group of three.
  Bitmap small(4, 2);
  small.Fill(kBack);
  StretchCopy(small, 1, 1, 3, 1, src, 0, 3, 9, 3);
  for (int x = 0; x < 3; ++x) EXPECT_EQ(small.At(1 + x, 1), src.At(3 * x + 1, 4)) << x;
  EXPECT_EQ(small.At(0, 1), kBack);
  EXPECT_EQ(small.At(1, 0), kBack);
}

TEST(Stretch, TheSamePixelsWhateverWasResampledBefore) {
  std::mt19937 rng(15);
  const Bitmap a = test::RandomBitmap(10, 14, rng), b = test::RandomBitmap(14, 10, rng);
  // Sizes that share one side's weights with another's other side, and every filter: more
  // passes than the weights kept.
  std::vector<std::tuple<const Bitmap*, int, int, TFilterType>> passes;
  for (int f = ftBox; f <= ftMitchell; ++f)
    for (auto [w, h] : {std::pair{90, 17}, {17, 90}, {14, 10}, {5, 3}})
      for (const Bitmap* src : {&a, &b}) passes.emplace_back(src, w, h, TFilterType(f));
  auto run = [&] {
    std::vector<Bitmap> out;
    for (auto [src, w, h, f] : passes) {
      Bitmap d;
      Stretch(*src, d, w, h, f);
      out.push_back(std::move(d));
    }
    return out;
  };
  const std::vector<Bitmap> first = run();
  std::reverse(passes.begin(), passes.end());
  std::vector<Bitmap> second = run();
  std::reverse(second.begin(), second.end());
  ASSERT_EQ(first.size(), second.size());
  for (std::size_t i = 0; i < first.size(); ++i) EXPECT_EQ(first[i], second[i]) << i;
  // Different filters do give different pixels, so a pass cannot take another's weights.
  EXPECT_NE(first[0], first[8]);
}

}  // namespace
}  // namespace skin::paint
