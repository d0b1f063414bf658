// The skin message's costs: one query to a skinned control straight through its registered
// handler, beside the same query through the window system (SendMessageW); and one
// broadcast over a form of 25 controls (five panels with four children each, half of the
// panels skinned and passing the message on); and one broadcast over the catalogue's main
// window, streamed from its description and shown, beside a new-skin announcement by its
// manager. And the main window's picture put together from the skinned controls' caches
// (kept clean, or every one painted again) beside a memcpy of the window's pixels.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/Configuration.h"
#include "app/Unit1.h"
#include "framework/Application.h"
#include "framework/CustomControl.h"
#include "framework/Form.h"
#include "framework/GraphicControl.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/VirtualDesktop.h"
#include "platform/win/Window.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sGraphUtils.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sStyleSimply.h"
#include "skin/core/sVclUtils.h"

namespace skin::core {
namespace {

// A windowed control that answers AC_CTRLHANDLED; skinned, it registers its handler with its
// window and passes AC_REFRESH on to its children.
class TBox : public fw::TCustomControl {
 public:
  TBox(fw::TComponent* owner, fw::TWinControl* parent, bool skinned)
      : TCustomControl(owner), FSkinned(skinned) {
    SetBounds(0, 0, 50, 30);
    SetParent(parent);
  }

 protected:
  void WndProc(fw::TMessage& m) override {
    if (m.Msg != SM_ALPHACMD) return TCustomControl::WndProc(m);
    if (WParamHi(m.WParam) == AC_CTRLHANDLED) m.Result = FSkinned;
    if (FSkinned && WParamHi(m.WParam) == AC_REFRESH) AlphaBroadCast(*this, m);
  }
  void CreateWnd() override {
    TCustomControl::CreateWnd();
    if (!FSkinned) return;
    FHandler.WndProc = [this](fw::TMessage& m) { WindowProc(m); };
    win::SetPropW(Handle(), acDataProp, &FHandler);
  }

 private:
  bool FSkinned;
  TacMessageHandler FHandler;
};

// A windowless control that takes the message.
class TShape : public fw::TGraphicControl {
 public:
  TShape(fw::TComponent* owner, fw::TWinControl* parent) : TGraphicControl(owner) {
    SetBounds(0, 0, 20, 20);
    SetParent(parent);
  }

 protected:
  void WndProc(fw::TMessage& m) override {
    if (m.Msg != SM_ALPHACMD) TGraphicControl::WndProc(m);
  }
};

struct TScene {
  win::VirtualDesktop desktop{800, 600};
  std::unique_ptr<fw::TApplication> app = std::make_unique<fw::TApplication>();
  fw::TForm* form = nullptr;
  TBox* skinned = nullptr;

  TScene() {
    form = app->CreateForm<fw::TForm>();
    form->SetBounds(0, 0, 640, 480);
    for (int p = 0; p < 5; ++p) {
      auto* panel = new TBox(form, form, p % 2 == 0);
      if (!skinned && p % 2 == 0) skinned = panel;
      for (int c = 0; c < 4; ++c) {
        if (c % 2)
          new TBox(form, panel, false);
        else
          new TShape(form, panel);
      }
    }
    form->Show();
    desktop.Pump();
  }
};

void DirectDelivery(benchmark::State& state) {
  TScene scene;
  HWND wnd = scene.skinned->Handle();
  for (auto _ : state) benchmark::DoNotOptimize(SendAMessage(wnd, AC_CTRLHANDLED));
}
BENCHMARK(DirectDelivery);

void ThroughSendMessageW(benchmark::State& state) {
  TScene scene;
  HWND wnd = scene.skinned->Handle();
  for (auto _ : state)
    benchmark::DoNotOptimize(win::SendMessageW(wnd, SM_ALPHACMD, AC_CTRLHANDLED_HI, 0));
}
BENCHMARK(ThroughSendMessageW);

void BroadcastOver25Controls(benchmark::State& state) {
  TScene scene;
  const fw::TMessage refresh{SM_ALPHACMD, AC_REFRESH_HI, 0, 0};
  for (auto _ : state) AppBroadCastS(refresh);
  state.counters["controls"] = scene.form->ComponentCount();
}
BENCHMARK(BroadcastOver25Controls);

// The catalogue's main window on the sample catalogue, shown; an error ends the run (nobody
// would answer its box).
struct TMainWindow {
  win::VirtualDesktop desktop{1440, 900};
  fw::TApplication application;

  TMainWindow() {
    application.OnException = [](fw::TComponent*, const std::exception& e) {
      std::fprintf(stderr, "skin-core-bench: %s\n", e.what());
      std::exit(1);
    };
    app::OverrideCatalogueFolder(app::ExecutableFolder());
    application.CreateForm(&app::Form1);
    app::Form1->Show();
    desktop.Pump();
  }
  ~TMainWindow() {
    app::OverrideCatalogueFolder("");
    app::Form1 = nullptr;
  }
};

int ControlCount(fw::TWinControl* control) {
  int count = control->ControlCount();
  for (int i = 0; i < control->ControlCount(); ++i)
    if (auto* windowed = dynamic_cast<fw::TWinControl*>(control->Controls(i)))
      count += ControlCount(windowed);
  return count;
}

void BroadcastOverTheMainWindow(benchmark::State& state) {
  TMainWindow window;
  const fw::TMessage refresh{SM_ALPHACMD, AC_REFRESH_HI, 0, 0};
  for (auto _ : state) AppBroadCastS(refresh);
  state.counters["controls"] = ControlCount(app::Form1);
}
BENCHMARK(BroadcastOverTheMainWindow);

// The announcement the manager makes once its skin is loaded (no reload).
void NewSkinOverTheMainWindow(benchmark::State& state) {
  TMainWindow window;
  for (auto _ : state) DefaultManager->UpdateSkin(false);
}
BENCHMARK(NewSkinOverTheMainWindow);

// The skinned windowed controls under control, each with its place in the form.
void SkinnedControls(fw::TWinControl& control, gfx::TPoint at,
                     std::vector<std::pair<TsCommonData*, gfx::TPoint>>& out) {
  for (int i = 0; i < control.ControlCount(); ++i) {
    auto* w = dynamic_cast<fw::TWinControl*>(control.Controls(i));
    if (!w || !w->HandleAllocated()) continue;
    const gfx::TPoint place{at.X + w->Left(), at.Y + w->Top()};
    if (auto* cd = dynamic_cast<TsCommonData*>(GetCommonData(w->Handle())); cd && cd->Skinned())
      out.push_back({cd, place});
    SkinnedControls(*w, place, out);
  }
}

// Every skinned control's cache brought up to date (all painted again with rebuild) and
// copied to its place in a picture of the window's client area.
void RepaintFromCaches(benchmark::State& state, bool rebuild) {
  TMainWindow window;
  const gfx::TRect client = app::Form1->ClientRect();
  gfx::Bitmap screen(client.Width(), client.Height());
  gfx::DeviceContext dc(screen);
  std::vector<std::pair<TsCommonData*, gfx::TPoint>> controls;
  SkinnedControls(*app::Form1, {0, 0}, controls);
  std::int64_t copied = 0;
  for (auto _ : state) {
    copied = 0;
    for (auto& [cd, at] : controls) {
      if (rebuild) cd->BGChanged = true;
      UpdateCache(*cd, 0);
      const gfx::Bitmap* cache = cd->CacheBmp();
      if (!cache || cache->Empty()) continue;
      copied += std::int64_t(cache->Width()) * cache->Height();
      CopyWinControlCache(static_cast<fw::TWinControl&>(*cd->OwnerControl()), *cd, cache->Bounds(),
                          cache->Bounds().Offset(at.X, at.Y), &dc, false, at.X, at.Y);
    }
    benchmark::ClobberMemory();
  }
  state.counters["controls"] = double(controls.size());
  state.counters["cachePixels"] = double(copied);
  state.counters["windowPixels"] = double(screen.Width()) * screen.Height();
  state.SetBytesProcessed(state.iterations() * std::int64_t(screen.Width()) * screen.Height() * 4);
}
BENCHMARK_CAPTURE(RepaintFromCaches, clean, false);
BENCHMARK_CAPTURE(RepaintFromCaches, rebuilt, true);

void MemcpyOfTheMainWindow(benchmark::State& state) {
  TMainWindow window;
  const gfx::TRect client = app::Form1->ClientRect();
  gfx::Bitmap a(client.Width(), client.Height()), b(client.Width(), client.Height());
  for (auto _ : state) {
    std::memcpy(b.Bits(), a.Bits(), std::size_t(a.Width()) * a.Height() * 4);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * std::int64_t(a.Width()) * a.Height() * 4);
}
BENCHMARK(MemcpyOfTheMainWindow);

}  // namespace
}  // namespace skin::core
