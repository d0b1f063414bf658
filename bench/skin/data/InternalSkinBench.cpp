// Reading and parsing the program's own skin, BlueGauze, as start-up does: the package from
// the embedded bytes, its options text, the whole load through the stored skins, and building
// its model from the loaded skin.
#include <benchmark/benchmark.h>

#include <string>

#include "skin/data/acSkinLoad.h"
#include "skin/data/acSkinModelLoad.h"
#include "skin/data/acSkinPack.h"
#include "skin/data/sSkinOptions.h"
#include "skin/internal/sInternalSkins.h"

namespace {

using namespace skin::data;

std::span<const std::uint8_t> BlueGauze() {
  return PackageOf(*FindInternalSkin(acDefaultInternalSkin));
}

void BM_BlueGauzeExtract(benchmark::State& state) {
  const auto packed = BlueGauze();
  for (auto _ : state) {
    TacSkinConvertor c;
    benchmark::DoNotOptimize(ExtractPackedData(packed, c));
  }
  state.SetBytesProcessed(state.iterations() * std::int64_t(packed.size()));
}
BENCHMARK(BM_BlueGauzeExtract);

void BM_BlueGauzeReadOptions(benchmark::State& state) {
  TacSkinConvertor c;
  ExtractPackedData(BlueGauze(), c);
  const std::string text(c.Options->begin(), c.Options->end());
  for (auto _ : state) benchmark::DoNotOptimize(ReadSkinOptions(text, 0, {}));
}
BENCHMARK(BM_BlueGauzeReadOptions);

void BM_BlueGauzeLoad(benchmark::State& state) {
  TsStoredSkins skins;
  AddInternalSkins(skins);
  const TacSkinLoadContext context{"/nonexistent", &skins, 0, {}, ""};
  for (auto _ : state) benchmark::DoNotOptimize(LoadSkin(acDefaultInternalSkin, context));
}
BENCHMARK(BM_BlueGauzeLoad);

// The model alone, from the package and options already read: decoding the master bitmap,
// the picture items, the gradients and the constant index table.
void BM_BlueGauzeBuildModel(benchmark::State& state) {
  TsStoredSkins skins;
  AddInternalSkins(skins);
  const auto skin = LoadSkin(acDefaultInternalSkin, {"/nonexistent", &skins, 0, {}, ""});
  for (auto _ : state) {
    benchmark::DoNotOptimize(CreateSkinModel(skin->Content, skin->Options, {}));
  }
}
BENCHMARK(BM_BlueGauzeBuildModel);

}  // namespace
