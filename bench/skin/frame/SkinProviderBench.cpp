// The skinned frame of the catalogue's window size (a 1280 x 750 tool window under BlueGauze):
// rebuilding the whole cached picture (PaintAll), against repainting one caption button over
// the saved caption and copying it to the frame, as a hover does without glowing.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "framework/Application.h"
#include "framework/Form.h"
#include "framework/TextConv.h"
#include "platform/win/Styles.h"
#include "platform/win/VirtualDesktop.h"
#include "skin/SkinnedFormScene.h"

namespace skin::frame {
namespace {

struct Scene : skin::bench::SkinnedFormScene {
  Scene() : SkinnedFormScene(fw::TFormBorderStyle::bsToolWindow, u"..:: Velmora ::..") {
    provider->SetCaptionAlignment(fw::TAlignment::taCenter);
    desktop.Pump();
  }
};

void PaintAllOfTheFrame(benchmark::State& state) {
  Scene scene;
  if (!scene.provider->Skinned()) return state.SkipWithError("not skinned");
  for (auto _ : state) {
    scene.provider->SkinData().BGChanged = true;
    scene.provider->PaintAll();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(PaintAllOfTheFrame);

void RepaintOneCaptionButton(benchmark::State& state) {
  Scene scene;
  if (!scene.provider->Skinned()) return state.SkipWithError("not skinned");
  int hot = 0;
  for (auto _ : state) {
    hot ^= int(win::HTCLOSE);  // hot and back, each a repaint of the button
    scene.provider->SetHotHT(hot);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(RepaintOneCaptionButton);

}  // namespace
}  // namespace skin::frame
