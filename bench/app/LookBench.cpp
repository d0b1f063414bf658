// What the skin costs on the main window: each measurement in the skinned look (BlueGauze, as
// the program starts) and in the plain look (the same window with the manager switched off),
// so that one run gives their ratio. The whole window painted into a picture as the screen
// shows it (SkinPaintTo: its frame and every control, from its cache or its own painting); the
// photo box alone, whose photo is resampled at every paint; one frame of the search button's
// hover fade against the plain button's repaint. The keystroke's pair is in TreeBench, the
// first frame's in StartupBench.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "MainWindow.h"
#include "framework/ControlMessages.h"
#include "skin/controls/sControls.h"
#include "skin/core/acThdTimer.h"
#include "skin/core/sFade.h"
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

// Skinned: one step of the fade the mouse's entry starts on the search button (the normal face
// blended toward the hot one and drawn onto its window), every step kept a middle one. Plain:
// the same button painted into a picture of its size, as a repaint of the hot look costs.
void HoverFrame(benchmark::State& state, bool plain) {
  bench::TMainWindow window(ExecutableFolder(), plain);
  fw::TButton& button = *Form1->sBitBtn1;
  if (plain) {
    gfx::Bitmap picture(button.Width(), button.Height());
    gfx::DeviceContext dc(picture);
    for (auto _ : state) {
      button.Perform(win::WM_PAINT, win::WPARAM(&dc), 0);
      benchmark::ClobberMemory();
    }
    return;
  }
  auto* skinned = dynamic_cast<skin::controls::TsBitBtn*>(&button);
  if (!skinned) {
    state.SkipWithError("the search button is not skinned");
    return;
  }
  skin::core::TsCommonData& cd = skinned->SkinData();
  // Right after the start the button's cache is marked stale (no fade, a plain repaint, at the
  // first hover); painted once more it holds, as every later hover finds it.
  button.Invalidate();
  window.desktop.Pump();
  button.Perform(fw::CM_MOUSEENTER, 0, 0);
  if (!cd.AnimTimer || cd.AnimTimer->State < 0) {
    state.SkipWithError("the search button does not fade");
    return;
  }
  skin::core::TacThreadedTimer& timer = *cd.AnimTimer;
  const int iterations = timer.Iterations;
  timer.Iterations = 1 << 30;
  for (auto _ : state) {
    skin::core::UpdateWindow_CB(&cd, 1);
    benchmark::ClobberMemory();
  }
  timer.Iterations = iterations;
  button.Perform(fw::CM_MOUSELEAVE, 0, 0);
  window.desktop.Advance(2000);
  state.counters["pixels"] = double(button.Width()) * button.Height();
}

void BM_LookWholeWindow(benchmark::State& s, bool plain) {
  WholeWindow(s, plain);
}
void BM_LookPhotoBox(benchmark::State& s, bool plain) {
  PhotoBox(s, plain);
}
void BM_LookHoverFrame(benchmark::State& s, bool plain) {
  HoverFrame(s, plain);
}

BENCHMARK_CAPTURE(BM_LookWholeWindow, skinned, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LookWholeWindow, plain, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LookPhotoBox, skinned, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LookPhotoBox, plain, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LookHoverFrame, skinned, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_LookHoverFrame, plain, true)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace app
