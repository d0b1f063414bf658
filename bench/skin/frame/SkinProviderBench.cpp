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
#include "skin/frame/sSkinProvider.h"
#include "skin/internal/sInternalSkins.h"

namespace skin::frame {
namespace {

struct Scene {
  Scene() {
    form = new fw::TForm(app.get());
    form->SetBorderStyle(fw::TFormBorderStyle::bsToolWindow);
    form->SetBounds(0, 0, 1280, 750);
    form->SetCaption(u"..:: Velmora ::..");
    manager = new skin::core::TsSkinManager(form);
    manager->AfterConstruction();
    skin::data::AddInternalSkins(manager->InternalSkins());
    manager->SetSkinName(fw::Utf8ToUtf16(skin::data::acDefaultInternalSkin));
    manager->Effects().AllowGlowing = false;
    provider = new TsSkinProvider(form);
    provider->SetCaptionAlignment(fw::TAlignment::taCenter);
    form->Show();
    desktop.Pump();
  }
  ~Scene() { app.reset(); }
  win::VirtualDesktop desktop{1440, 900};
  std::unique_ptr<fw::TApplication> app = std::make_unique<fw::TApplication>();
  fw::TForm* form = nullptr;
  skin::core::TsSkinManager* manager = nullptr;
  TsSkinProvider* provider = nullptr;
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
