// Costs of the window system's hot paths: message delivery through a subclass chain, and a
// full repaint cycle of a form with many child controls.
#include <benchmark/benchmark.h>

#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/VirtualDesktop.h"
#include "platform/win/Window.h"
#include "platform/win/WindowProc.h"

namespace win {
namespace {

void RegisterPlain() {
  WNDCLASSEXW wc;
  wc.lpfnWndProc = MakeWindowProc(DefWindowProcW);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = u"Plain";
  RegisterClassExW(wc);
}

void SendThroughHooks(benchmark::State& state) {
  VirtualDesktop desktop;
  RegisterPlain();
  HWND h = CreateWindowExW(0, u"Plain", u"", WS_POPUP, 0, 0, 10, 10, nullptr, 0);
  for (int i = 0; i < state.range(0); ++i)
    SetWindowSubclass(
        h,
        [](HWND w, UINT m, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
          return DefSubclassProc(w, m, wp, lp);
        },
        UINT_PTR(i), 0);
  for (auto _ : state) benchmark::DoNotOptimize(SendMessageW(h, WM_USER, 1, 2));
}
BENCHMARK(SendThroughHooks)->Arg(0)->Arg(3);

// A 1280 x 750 form with a grid of child controls, all invalidated and repainted.
void RepaintForm(benchmark::State& state) {
  VirtualDesktop desktop;
  RegisterPlain();
  HWND form = CreateWindowExW(WS_EX_TOOLWINDOW, u"Plain", u"Form",
                              WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | WS_CLIPCHILDREN, 0,
                              0, 1280, 750, nullptr, 0);
  int n = int(state.range(0));
  for (int i = 0; i < n; ++i)
    CreateWindowExW(0, u"Plain", u"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, (i % 10) * 120,
                    (i / 10) * 60, 110, 50, form, UINT_PTR(i + 1));
  desktop.Pump();
  for (auto _ : state) {
    RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    desktop.Pump();
  }
  state.SetItemsProcessed(state.iterations() * (n + 1));
}
BENCHMARK(RepaintForm)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace win
