// Section painting of the default internal skin, each beside a memcpy of the same bytes (the
// memory-bandwidth bound): the FORM section over the catalogue window's client area and a
// button's border at its usual size.
#include <benchmark/benchmark.h>

#include <cstring>

#include "skin/data/acSkinLoad.h"
#include "skin/draw/sAlphaGraph.h"
#include "skin/internal/sInternalSkins.h"

namespace skin::draw {
namespace {

const TacSkinModel& Model() {
  static const auto holder = [] {
    static skin::data::TsStoredSkins skins;
    skin::data::AddInternalSkins(skins);
    auto h = std::make_unique<skin::data::TacSkinHolder>();
    h->SetSkinName(skin::data::acDefaultInternalSkin, {"", &skins, 0, {}, ""});
    return h;
  }();
  return *holder->Model();
}

void Memcpy(benchmark::State& state, int w, int h) {
  Bitmap a(w, h), b(w, h);
  for (auto _ : state) {
    std::memcpy(b.Bits(), a.Bits(), std::size_t(w) * h * 4);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * std::int64_t(w) * h * 4);
}

void Section(benchmark::State& state, const char* name, int w, int h) {
  const TacSkinModel& m = Model();
  const int index = m.GetSkinIndex(name);
  if (index < 0) return state.SkipWithError("no such section");
  Bitmap b(w, h);
  const TCacheInfo parent{nullptr, 0, 0, 0xF0F0F0, {}, false};
  for (auto _ : state) {
    PaintItem(&m, index, parent, true, 0, b.Bounds(), {0, 0}, &b);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * std::int64_t(w) * h * 4);
}

void Border(benchmark::State& state, const char* name, int w, int h) {
  const TacSkinModel& m = Model();
  const int index = m.GetSkinIndex(name);
  if (index < 0 || !m.IsValidImgIndex(m.gd[index].BorderIndex))
    return state.SkipWithError("no such border");
  Bitmap b(w, h);
  for (auto _ : state) {
    DrawSkinRect(b, b.Bounds(), MakeCacheInfo(&b), m.ma[m.gd[index].BorderIndex], 1, true);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * std::int64_t(w) * h * 4);
}

BENCHMARK_CAPTURE(Memcpy, Form1274x650, 1274, 650);
BENCHMARK_CAPTURE(Section, Form1274x650, "FORM", 1274, 650);
BENCHMARK_CAPTURE(Memcpy, Button100x25, 100, 25);
BENCHMARK_CAPTURE(Border, Button100x25, "BUTTON", 100, 25);

}  // namespace
}  // namespace skin::draw
