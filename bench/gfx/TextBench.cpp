// Drawing a screen of text, against copying the same screen's bytes with memcpy: the text
// benchmarks report their time per screen as a multiple of that copy ("x_memcpy"), both in
// this thread's CPU time so that other work on the machine does not skew the ratio.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "platform/gfx/DeviceContext.h"

namespace {

double ThreadSeconds() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

constexpr int kWidth = 1280;
constexpr int kHeight = 750;
constexpr int kLines = 30;
constexpr int kLineChars = 100;

// 30 lines of 100 characters, Cyrillic and Latin words mixed, each line different.
std::vector<std::u16string> ScreenText() {
  const std::u16string words[] = {
      u"Музей",  u"школы",       u"history", u"района",   u"exhibit", u"боевой",          u"славы",
      u"Tahoma", u"краеведения", u"photo",   u"открытия", u"catalog", u"этнографический", u"1987"};
  std::vector<std::u16string> lines;
  std::size_t w = 0;
  for (int i = 0; i < kLines; ++i) {
    std::u16string line;
    while (line.size() < kLineChars) line += words[w++ % std::size(words)] + u' ';
    line.resize(kLineChars);
    lines.push_back(line);
  }
  return lines;
}

gfx::HFONT Tahoma19() {
  gfx::LOGFONTW lf;
  lf.lfFaceName = u"Tahoma";
  lf.lfHeight = -19;
  return gfx::CreateFontIndirectW(lf);
}

// Seconds for one memcpy of a 1280 x 750 bitmap's bytes (median of many runs).
double MemcpySeconds() {
  static const double seconds = [] {
    gfx::Bitmap a(kWidth, kHeight), b(kWidth, kHeight);
    const std::size_t bytes = std::size_t(a.Stride()) * a.Height();
    std::vector<double> runs;
    for (int i = 0; i < 201; ++i) {
      const double t0 = ThreadSeconds();
      std::memcpy(b.Bits(), a.Bits(), bytes);
      benchmark::ClobberMemory();
      runs.push_back(ThreadSeconds() - t0);
    }
    std::nth_element(runs.begin(), runs.begin() + 100, runs.end());
    return runs[100];
  }();
  return seconds;
}

template <class Draw>
void RunScreens(benchmark::State& state, Draw draw) {
  gfx::Bitmap bmp(kWidth, kHeight);
  gfx::DeviceContext dc(bmp);
  gfx::SelectFont(&dc, Tahoma19());
  gfx::SetBkMode(&dc, gfx::TRANSPARENT);
  const std::vector<std::u16string> lines = ScreenText();
  draw(dc, lines);  // warms the glyph cache
  const double t0 = ThreadSeconds();
  for (auto _ : state) {
    draw(dc, lines);
    benchmark::DoNotOptimize(bmp.Bits());
  }
  const double perScreen = (ThreadSeconds() - t0) / double(state.iterations());
  state.counters["x_memcpy"] = perScreen / MemcpySeconds();
  state.SetItemsProcessed(state.iterations() * kLines * kLineChars);
}

void BM_TextOutScreen(benchmark::State& state) {
  RunScreens(state, [](gfx::DeviceContext& dc, const std::vector<std::u16string>& lines) {
    for (int i = 0; i < kLines; ++i) gfx::TextOutW(&dc, 8, 8 + i * 24, lines[i]);
  });
}
BENCHMARK(BM_TextOutScreen);

// The same characters as one paragraph that DrawTextW breaks into lines.
void BM_DrawTextWordBreakScreen(benchmark::State& state) {
  RunScreens(state, [](gfx::DeviceContext& dc, const std::vector<std::u16string>& lines) {
    std::u16string all;
    for (const auto& l : lines) all += l;
    gfx::TRect r{8, 8, kWidth - 8, kHeight};
    gfx::DrawTextW(&dc, all, &r, gfx::DT_WORDBREAK);
  });
}
BENCHMARK(BM_DrawTextWordBreakScreen);

}  // namespace
