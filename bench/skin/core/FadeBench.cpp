// One step of a state fade of a 100 x 25 control (the old picture copied, blended with the new
// one, drawn onto the control's window), beside a memcpy of the same 10,000 bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "framework/Application.h"
#include "framework/CustomControl.h"
#include "framework/Form.h"
#include "platform/win/VirtualDesktop.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sFade.h"

namespace skin::core {
namespace {

constexpr int kWidth = 100, kHeight = 25;

gfx::Bitmap Noise(unsigned seed) {
  gfx::Bitmap b(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      seed = seed * 1103515245u + 12345u;
      b.Set(x, y, seed | 0xFF000000u);
    }
  return b;
}

void FadeStepOfAButton(benchmark::State& state) {
  win::VirtualDesktop desktop(800, 600);
  auto app = std::make_unique<fw::TApplication>();
  auto* form = new fw::TForm(app.get());
  form->SetBounds(0, 0, 300, 200);
  auto* button = new fw::TCustomControl(form);
  button->SetBounds(10, 10, kWidth, kHeight);
  button->SetParent(form);
  form->Show();
  desktop.Pump();
  {
    TsCommonData data(button, true);
    GetNewTimer(data, 1);
    TacThreadedTimer& t = *data.AnimTimer;
    t.BmpFrom = std::make_unique<gfx::Bitmap>(Noise(1));
    t.BmpTo = std::make_unique<gfx::Bitmap>(Noise(2));
    t.State = 1;
    t.Iterations = 1 << 30;  // every step a middle one
    t.GlowStep = 0;
    t.Glow = 100;
    for (auto _ : state) {
      UpdateWindow_CB(&data, 1);
      benchmark::ClobberMemory();
    }
  }
  state.SetBytesProcessed(state.iterations() * kWidth * kHeight * 4);
}
BENCHMARK(FadeStepOfAButton);

void MemcpyOfAButton(benchmark::State& state) {
  gfx::Bitmap a = Noise(1), b(kWidth, kHeight);
  for (auto _ : state) {
    std::memcpy(b.Bits(), a.Bits(), std::size_t(kWidth) * kHeight * 4);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kWidth * kHeight * 4);
}
BENCHMARK(MemcpyOfAButton);

}  // namespace
}  // namespace skin::core
