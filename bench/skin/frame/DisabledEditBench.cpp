// One full paint (frame and client) of a disabled edit the size of the catalogue's name
// filter, wrapped with skin data of its own under the default internal skin: its picture is
// the section, the text in the disabled colour and the disabled blend.
#include <benchmark/benchmark.h>

#include <memory>

#include "framework/Application.h"
#include "framework/Edit.h"
#include "framework/Form.h"
#include "framework/TextConv.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "platform/win/VirtualDesktop.h"
#include "skin/SkinnedFormScene.h"
#include "skin/frame/acSBUtils.h"
#include "skin/internal/sInternalSkins.h"

namespace skin::frame {
namespace {

struct Scene : skin::bench::SkinnedManagerScene {
  Scene() : SkinnedManagerScene(500, 300) {
    edit = new fw::TEdit(form);
    edit->SetBounds(10, 10, 280, 24);
    edit->SetParent(form);
    edit->SetText(u"Краеведческий музей школы № 3");
    form->Show();
    desktop.Pump();
    TacSkinParams params;
    params.Control = edit;
    wrapper = TacMainWnd::Create<TacEditWnd>(edit->Handle(), true, params, manager, nullptr);
    edit->SetEnabled(false);
    desktop.Pump();
  }
  ~Scene() { wrapper.reset(); }
  fw::TEdit* edit = nullptr;
  std::unique_ptr<TacEditWnd> wrapper;
};

void PaintADisabledEdit(benchmark::State& state) {
  Scene scene;
  if (scene.wrapper->DisabledPicture().Empty()) return state.SkipWithError("not painted");
  const win::HWND h = scene.edit->Handle();
  for (auto _ : state) {
    win::RedrawWindow(h, nullptr, nullptr,
                      win::RDW_INVALIDATE | win::RDW_FRAME | win::RDW_UPDATENOW);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(PaintADisabledEdit)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace skin::frame
