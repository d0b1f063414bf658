// The catalogue's start-up (connect, then open the four datasets it opens) and one pass of the
// tree's filter, on the sample catalogue beside this program (bin/res.dat) and on a synthetic
// one of 10 000 organisations in 50 districts. Connecting (with the password check) is measured
// on its own in BM_Connect.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "SyntheticCatalogue.h"
#include "app/DatabasePassword.h"
#include "framework/db/ADOConnection.h"
#include "framework/db/ADODataSet.h"

namespace db {
namespace {

namespace fs = std::filesystem;

std::u16string ConnectionString(const std::string& file) {
  return u"Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=" + ToUtf16(file) +
         u";Persist Security Info=False;Jet OLEDB:Database Password=" + app::kDatabasePassword;
}

// The sample catalogue: res.dat in this program's folder, as the catalogue finds it.
std::string SampleFile() {
  return (fs::read_symlink("/proc/self/exe").parent_path() / "res.dat").string();
}

std::string SyntheticFile() {
  return bench::SyntheticCatalogue::Get().File();
}

// The main window's connection and the datasets it opens at start.
struct Startup {
  TADOConnection conn{nullptr};
  TADOQuery districts{nullptr}, organisations{nullptr}, photos{nullptr};
  TADOTable table{nullptr};

  explicit Startup(const std::string& file) {
    conn.SetLoginPrompt(false);
    conn.SetMode(TConnectMode::cmShareDenyNone);
    conn.SetConnectionString(ConnectionString(file));
    districts.SetConnection(&conn);
    districts.SetSQL(u"select * from mun order by nam");
    organisations.SetConnection(&conn);
    organisations.SetSQL(
        u"SELECT mun.nam, uz.nam, uz.id, uz.vid\r\nFROM uz INNER JOIN mun ON uz.id_mun = "
        u"mun.id\r\norder by uz.nam");
    photos.SetConnection(&conn);
    photos.SetSQL(u"SELECT * FROM foto where id_uz=:p1");
    photos.Parameters().ParamByName("p1").DataType = TFieldType::ftWideString;
    photos.Parameters().ParamByName("p1").Value = TVariant(u"4");
    table.SetConnection(&conn);
    table.SetTableName("uz");
  }
  void OpenAll() {
    districts.Open();
    organisations.Open();
    photos.Open();
    table.Open();
  }
  void CloseAll() {
    districts.Close();
    organisations.Close();
    photos.Close();
    table.Close();
  }
};

void BM_Connect(benchmark::State& state) {
  const std::string file = SampleFile();
  for (auto _ : state) {
    TADOConnection c(nullptr);
    c.SetConnectionString(ConnectionString(file));
    c.Open();
  }
}
BENCHMARK(BM_Connect)->Unit(benchmark::kMillisecond);

void OpenDatasets(benchmark::State& state, const std::string& file) {
  Startup s(file);
  s.conn.Open();
  for (auto _ : state) {
    s.OpenAll();
    benchmark::DoNotOptimize(s.organisations.RecordCount());
    s.CloseAll();
  }
}
void BM_OpenDatasetsSample(benchmark::State& state) {
  OpenDatasets(state, SampleFile());
}
void BM_OpenDatasetsSynthetic(benchmark::State& state) {
  OpenDatasets(state, SyntheticFile());
}
BENCHMARK(BM_OpenDatasetsSample)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenDatasetsSynthetic)->Unit(benchmark::kMillisecond);

void StartupOf(benchmark::State& state, const std::string& file) {
  for (auto _ : state) {
    Startup s(file);
    s.conn.Open();
    s.OpenAll();
    benchmark::DoNotOptimize(s.organisations.RecordCount());
  }
}
void BM_StartupSample(benchmark::State& state) {
  StartupOf(state, SampleFile());
}
void BM_StartupSynthetic(benchmark::State& state) {
  StartupOf(state, SyntheticFile());
}
BENCHMARK(BM_StartupSample)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartupSynthetic)->Unit(benchmark::kMillisecond);

// One keystroke in the name filter: the filter switched off, set, switched on, and the
// organisation pass of the tree reading every matching row.
void FilterPass(benchmark::State& state, const std::string& file) {
  Startup s(file);
  s.organisations.Open();
  for (auto _ : state) {
    s.organisations.SetFiltered(false);
    s.organisations.SetFilter(u"([vid] like '%музей%') and ([uz.nam] like '%№1%')");
    s.organisations.SetFiltered(true);
    for (s.organisations.First(); !s.organisations.Eof(); s.organisations.Next()) {
      benchmark::DoNotOptimize(s.organisations.Fields(0).AsString());
      benchmark::DoNotOptimize(s.organisations.Fields(1).AsString());
      benchmark::DoNotOptimize(s.organisations.Fields(2).AsInteger());
    }
  }
  state.counters["rows"] = s.organisations.RecordCount();
}
void BM_FilterSample(benchmark::State& state) {
  FilterPass(state, SampleFile());
}
void BM_FilterSynthetic(benchmark::State& state) {
  FilterPass(state, SyntheticFile());
}
BENCHMARK(BM_FilterSample)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FilterSynthetic)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace db
