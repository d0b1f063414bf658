// One step of sizing a column of a stretched data grid by the mouse: the columns after it are
// given their new widths. Twelve columns on a grid the width of the maintenance window's.
#include <benchmark/benchmark.h>

#include <memory>

#include "framework/Application.h"
#include "framework/Form.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/Styles.h"
#include "platform/win/VirtualDesktop.h"
#include "skin/controls/acDBGrid.h"

namespace skin::controls {
namespace {

void SizingAStretchedColumn(benchmark::State& state) {
  win::VirtualDesktop desktop{1440, 900};
  auto app = std::make_unique<fw::TApplication>();
  auto* form = new fw::TForm(app.get());
  form->SetBounds(0, 0, 1000, 500);
  auto* grid = new TsDBGrid(form);
  grid->SetBounds(10, 10, 960, 400);
  grid->SetParent(form);
  for (int i = 0; i < 12; ++i) {
    fw::TColumn& c = grid->Columns().Add();
    c.SetFieldName("f" + std::to_string(i));
    c.SetWidth(40 + 5 * i);
  }
  grid->SetColumnStretch(true);
  form->Show();
  desktop.Pump();
  // The mouse presses on the first column's title edge and moves to and fro.
  const int x = fw::TDBGrid::IndicatorWidth + 1 + grid->Columns().Items(0).Width();
  const int y = grid->DefaultRowHeight() / 2;
  if (grid->SizingEdgeAt(x, y) != 0) return state.SkipWithError("no edge there");
  const win::HWND h = grid->Handle();
  win::SendMessageW(h, win::WM_LBUTTONDOWN, win::MK_LBUTTON, win::MAKELPARAM(x, y));
  if (grid->SizingColumn() != 0) return state.SkipWithError("not sizing");
  bool wider = false;
  for (auto _ : state) {
    wider = !wider;
    win::SendMessageW(h, win::WM_MOUSEMOVE, win::MK_LBUTTON,
                      win::MAKELPARAM(x + (wider ? 3 : 0), y));
  }
  win::SendMessageW(h, win::WM_LBUTTONUP, 0, win::MAKELPARAM(x, y));
  app.reset();
}
BENCHMARK(SizingAStretchedColumn)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace skin::controls
