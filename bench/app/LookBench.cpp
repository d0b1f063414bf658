// What the skin costs on the main window: each measurement in the skinned look (BlueGauze, as
// the program starts) and in the plain look (the same window with the manager switched off),
// so that one run gives their ratio. The whole window painted into a picture as the screen
// shows it (SkinPaintTo: its frame and every control, from its cache or its own painting); the
// photo box alone, whose photo is resampled at every paint. The keystroke's pair is in TreeBench.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "MainWindow.h"
#include "skin/core/sVclUtils.h"

namespace app {
namespace {

// The first photo of the sample catalogue (PNG or JPEG).
std::string FirstPhoto() {
  for (const auto& e : std::filesystem::recursive_directory_iterator(
           ResourceFolder(ExecutableFolder()) + "foto/")) {
    const std::string ext = e.path().extension().string();
    if (e.is_regular_file() && (ext == ".jpg" || ext == ".png")) return e.path().string();
  }
  return {};
}

void WholeWindow(benchmark::State& state, bool plain) {
  bench::TMainWindow window(ExecutableFolder(), plain);
  gfx::Bitmap picture(Form1->Width(), Form1->Height());
  gfx::DeviceContext dc(picture);
  for (auto _ : state) {
    skin::core::SkinPaintTo(&dc, Form1);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * std::int64_t(picture.Width()) * picture.Height() *
                          4);
}

void PhotoBox(benchmark::State& state, bool plain) {
  bench::TMainWindow window(ExecutableFolder(), plain);
  const std::string photo = FirstPhoto();
  if (photo.empty()) {
    state.SkipWithError("no photo in the sample catalogue");
    return;
  }
  fw::TImage& box = *Form1->sImage3;
  box.LoadFromFile(photo);
  gfx::Bitmap picture(box.Width(), box.Height());
  gfx::DeviceContext dc(picture);
  for (auto _ : state) {
    box.Perform(win::WM_PAINT, win::WPARAM(&dc), 0);
    benchmark::ClobberMemory();
  }
  state.counters["photoPixels"] = double(box.Picture().Width()) * box.Picture().Height();
}

void BM_LookWholeWindow(benchmark::State& s, bool plain) {
  WholeWindow(s, plain);
}
void BM_LookPhotoBox(benchmark::State& s, bool plain) {
  PhotoBox(s, plain);
}

BENCHMARK_CAPTURE(BM_LookWholeWindow, skinned, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LookWholeWindow, plain, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LookPhotoBox, skinned, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LookPhotoBox, plain, true)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace app
