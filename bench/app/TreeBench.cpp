// One keystroke in the tree's name box: the filter set on the organisation query, both
// queries read, the tree's operations worked out and replayed into a tree in memory; and the
// working out of the operations alone. The step-by-step reference against the fast build, on
// the sample catalogue beside this program and on a synthetic one of 10 000 organisations in
// 50 districts. And the whole keystroke on the main window itself, with the real tree control:
// the filter, the rebuild with its card events, and the repaint. And between the two: the
// operations replayed into a bare tree control on a form, without the card handler. The
// keystroke on the window also in the plain look (the skin switched off), for their ratio.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "MainWindow.h"
#include "SyntheticCatalogue.h"
#include "app/Configuration.h"
#include "app/TreeBuild.h"
#include "app/TreeFilter.h"
#include "app/TreeModel.h"
#include "app/Unit1.h"
#include "framework/Application.h"
#include "framework/Form.h"
#include "framework/TreeView.h"
#include "framework/db/ADODataSet.h"
#include "platform/win/VirtualDesktop.h"

namespace app {
namespace {

struct Catalogue {
  std::unique_ptr<db::TADOConnection> conn;
  std::unique_ptr<db::TADOQuery> districts, organisations;
};

Catalogue Open(const std::string& folder) {
  Catalogue c;
  c.conn = std::make_unique<db::TADOConnection>(nullptr);
  c.conn->SetConnectionString(CatalogueConnectionString(folder));
  c.conn->Open();
  c.districts = std::make_unique<db::TADOQuery>(nullptr);
  c.districts->SetConnection(c.conn.get());
  c.districts->SetSQL(u"select * from mun order by nam");
  c.districts->Open();
  c.organisations = std::make_unique<db::TADOQuery>(nullptr);
  c.organisations->SetConnection(c.conn.get());
  c.organisations->SetSQL(
      u"SELECT mun.nam, uz.nam, uz.id, uz.vid\r\nFROM uz INNER JOIN mun ON uz.id_mun = mun.id\r\n"
      u"order by uz.nam");
  c.organisations->Open();
  return c;
}

Catalogue& Sample() {
  static Catalogue c = Open(ExecutableFolder());
  return c;
}

Catalogue& Synthetic() {
  static Catalogue c = Open(bench::SyntheticCatalogue::Get().Folder());
  return c;
}

// The name box holds "а", a letter two names in three contain.
constexpr char16_t kTyped[] = u"а";

// One keystroke: filter, rows, operations, and their replay into a tree in memory.
template <TTreeOps (*Build)(const TTreeRows&)>
void Keystroke(benchmark::State& state, Catalogue& (*catalogue)()) {
  Catalogue& c = catalogue();
  TTreeModel tree;
  for (auto _ : state) {
    ApplyTreeFilter(*c.organisations, TreeFilterExpression(u"Все", kTyped));
    ReplayTreeOps(tree, Build(ReadTreeRows(*c.districts, *c.organisations)));
    benchmark::DoNotOptimize(tree.Items().Count());
  }
  state.counters["nodes"] = tree.Items().Count();
}

// The build alone: the operations from rows already read.
template <TTreeOps (*Build)(const TTreeRows&)>
void BuildOnly(benchmark::State& state, Catalogue& (*catalogue)()) {
  Catalogue& c = catalogue();
  ApplyTreeFilter(*c.organisations, TreeFilterExpression(u"Все", kTyped));
  const TTreeRows rows = ReadTreeRows(*c.districts, *c.organisations);
  for (auto _ : state) benchmark::DoNotOptimize(Build(rows).size());
  state.counters["organisations"] = double(rows.organisations.size());
}

// The main window on a headless desktop, started on a catalogue folder, in the skinned or the
// plain look.
void OnForm(benchmark::State& state, const std::string& folder, bool plain = false) {
  bench::TMainWindow window(folder, plain);
  Form1->sEdit1->SetText(kTyped);  // the first keystroke, outside the timing
  window.desktop.Pump();
  for (auto _ : state) {
    Form1->sComboBox1CloseUp();
    window.desktop.Pump();
  }
  state.counters["nodes"] = Form1->sTreeView2->Items().Count();
}

// The replay alone into a shown tree control of the main window's tree size, the operations
// worked out once.
void BM_ReplaySyntheticOnTreeView(benchmark::State& state) {
  win::VirtualDesktop desktop(1440, 900);
  fw::TApplication application;
  auto* form = application.CreateForm<fw::TForm>();
  form->SetBounds(0, 0, 400, 700);
  form->Show();
  auto* tree = new fw::TTreeView(form);
  tree->SetBounds(8, 8, 300, 600);
  tree->SetParent(form);
  desktop.Pump();
  Catalogue& c = Synthetic();
  ApplyTreeFilter(*c.organisations, TreeFilterExpression(u"Все", kTyped));
  const TTreeOps ops = FastTreeOps(ReadTreeRows(*c.districts, *c.organisations));
  int changes = 0;
  tree->OnChange = [&changes](fw::TComponent*, fw::TTreeNode*) { ++changes; };
  for (auto _ : state) {
    ReplayTreeOps(*tree, ops);
    desktop.Pump();
  }
  state.counters["nodes"] = tree->Items().Count();
  state.counters["changes"] = double(changes) / double(state.iterations());
}

void BM_KeystrokeSampleOnForm(benchmark::State& s) {
  OnForm(s, ExecutableFolder());
}
void BM_KeystrokeSyntheticOnForm(benchmark::State& s) {
  OnForm(s, bench::SyntheticCatalogue::Get().Folder());
}
void BM_KeystrokeSampleOnPlainForm(benchmark::State& s) {
  OnForm(s, ExecutableFolder(), true);
}
void BM_KeystrokeSyntheticOnPlainForm(benchmark::State& s) {
  OnForm(s, bench::SyntheticCatalogue::Get().Folder(), true);
}

void BM_KeystrokeSampleReference(benchmark::State& s) {
  Keystroke<ReferenceTreeOps>(s, Sample);
}
void BM_KeystrokeSampleFast(benchmark::State& s) {
  Keystroke<FastTreeOps>(s, Sample);
}
void BM_KeystrokeSyntheticReference(benchmark::State& s) {
  Keystroke<ReferenceTreeOps>(s, Synthetic);
}
void BM_KeystrokeSyntheticFast(benchmark::State& s) {
  Keystroke<FastTreeOps>(s, Synthetic);
}

void BM_BuildSyntheticReference(benchmark::State& s) {
  BuildOnly<ReferenceTreeOps>(s, Synthetic);
}
void BM_BuildSyntheticFast(benchmark::State& s) {
  BuildOnly<FastTreeOps>(s, Synthetic);
}

BENCHMARK(BM_KeystrokeSampleReference)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeystrokeSampleFast)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeystrokeSyntheticReference)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_KeystrokeSyntheticFast)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildSyntheticReference)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_BuildSyntheticFast)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaySyntheticOnTreeView)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_KeystrokeSampleOnForm)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeystrokeSyntheticOnForm)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_KeystrokeSampleOnPlainForm)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeystrokeSyntheticOnPlainForm)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace app
