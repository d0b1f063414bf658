// Shared pieces of the catalogue's tests: the fixture catalogue (the awkward cases written by
// make-catalogue) opened with the program's own datasets, and private copies of it for tests
// that change files or rows.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/Configuration.h"
#include "framework/db/ADODataSet.h"
#include "framework/db/TestDatabase.h"

namespace app::test {

inline std::string FixtureFolder() {
  return std::string(MC_CATALOGUE_FIXTURES) + "/";
}
inline std::string SampleFolder() {
  return std::string(MC_SAMPLE_CATALOGUE) + "/";
}

// A fresh folder for one test, removed at its end.
class TempFolder : public db::test::TempFolder {
 public:
  // The folder with its trailing separator.
  std::string Path() const { return File(""); }
};

// A copy of a catalogue folder (res.dat and res/foto/) in a fresh folder.
class CatalogueCopy : public TempFolder {
 public:
  explicit CatalogueCopy(const std::string& from = FixtureFolder()) {
    std::filesystem::copy(from + "res.dat", Path() + "res.dat");
    std::filesystem::copy(from + "res", Path() + "res", std::filesystem::copy_options::recursive);
  }
};

// A connection to the catalogue of a folder, as the main window makes it.
inline std::unique_ptr<db::TADOConnection> ConnectCatalogue(const std::string& folder) {
  auto c = std::make_unique<db::TADOConnection>(nullptr);
  c->SetName("ADOConnection1");
  c->SetLoginPrompt(false);
  c->SetMode(db::TConnectMode::cmShareDenyNone);
  c->SetConnectionString(CatalogueConnectionString(folder));
  c->Open();
  return c;
}

// A query on a connection, named and with its text as the main window declares it.
inline std::unique_ptr<db::TADOQuery> MakeQuery(db::TADOConnection& c, const std::string& name,
                                                const std::u16string& sql) {
  auto q = std::make_unique<db::TADOQuery>(nullptr);
  q->SetName(name);
  q->SetConnection(&c);
  q->SetSQL(sql);
  return q;
}

inline constexpr char16_t kDistrictsSql[] = u"select * from mun order by nam";
inline constexpr char16_t kOrganisationsSql[] =
    u"SELECT mun.nam, uz.nam, uz.id, uz.vid\r\nFROM uz INNER JOIN mun ON uz.id_mun = mun.id\r\n"
    u"order by uz.nam";
inline constexpr char16_t kCardSql[] = u"select * from uz where id=:p1";
inline constexpr char16_t kPhotosSql[] = u"SELECT * FROM foto where id_uz=:p1";

}  // namespace app::test
