// Painting one skinned scroll bar (buttons, track halves and thumb over the control's picture),
// the size of the catalogue tree's, beside a memcpy of the bar's bytes; and the bar painted
// with the memcpy to the window as the non-client painting does it.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "framework/Application.h"
#include "framework/CustomControl.h"
#include "framework/Form.h"
#include "framework/TextConv.h"
#include "platform/win/Paint.h"
#include "platform/win/ScrollInfo.h"
#include "platform/win/VirtualDesktop.h"
#include "skin/SkinnedFormScene.h"
#include "skin/frame/acSBUtils.h"
#include "skin/internal/sInternalSkins.h"

namespace skin::frame {
namespace {

class TBox : public fw::TCustomControl {
 public:
  using TCustomControl::TCustomControl;
};

// A tree-sized control with a vertical bar, under the default internal skin.
struct Scene : skin::bench::SkinnedManagerScene {
  Scene() : SkinnedManagerScene(500, 500) {
    box = new TBox(form);
    box->SetBounds(1, 1, 393, 439);
    box->SetParent(form);
    form->Show();
    desktop.Pump();
    win::SCROLLINFO si;
    si.fMask = win::SIF_RANGE | win::SIF_PAGE | win::SIF_POS;
    si.nMax = 114;
    si.nPage = 16;
    si.nPos = 40;
    win::SetScrollInfo(box->Handle(), win::SB_VERT, si, true);
    TacSkinParams params;
    params.Control = box;
    params.SkinSection = "EDIT";
    wrapper = TacMainWnd::Create<TacScrollWnd>(box->Handle(), true, params, manager, nullptr);
    desktop.Pump();
  }
  ~Scene() { wrapper.reset(); }
  TBox* box = nullptr;
  std::unique_ptr<TacScrollWnd> wrapper;
};

void PaintOneBar(benchmark::State& state) {
  Scene scene;
  const gfx::TRect r = scene.wrapper->Layout(win::SB_VERT).Bar;
  if (r.IsEmpty()) return state.SkipWithError("no bar");
  gfx::Bitmap bmp(r.Width(), r.Height());
  for (auto _ : state) {
    scene.wrapper->PaintBar(win::SB_VERT, bmp);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * std::int64_t(r.Width()) * r.Height() * 4);
}
BENCHMARK(PaintOneBar);

void DrawBarsToTheWindow(benchmark::State& state) {
  Scene scene;
  const win::HWND h = scene.box->Handle();
  for (auto _ : state) {
    win::HDC dc = win::GetWindowDC(h);
    scene.wrapper->DrawBars(dc);
    win::ReleaseDC(h, dc);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(DrawBarsToTheWindow);

void MemcpyOfABar(benchmark::State& state) {
  gfx::Bitmap a(17, 435), b(17, 435);
  for (auto _ : state) {
    std::memcpy(b.Bits(), a.Bits(), std::size_t(17) * 435 * 4);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * std::int64_t(17) * 435 * 4);
}
BENCHMARK(MemcpyOfABar);

}  // namespace
}  // namespace skin::frame
