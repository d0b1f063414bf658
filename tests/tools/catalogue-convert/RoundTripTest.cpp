// Jet files converted by catalogue-convert against the rows the Jet writer wrote into them:
// every row and every blob of mun, uz and foto, value by value.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "CatalogueSource.h"
#include "JetFixtures.h"
#include "framework/db/JetFixtures.h"
#include "framework/db/TestDatabase.h"

namespace {

// Converts jet into a temporary copy and compares each of the catalogue's tables of the copy,
// in key order, with the expected one's rows.
void ExpectConvertedRowsOf(const std::string& jet, const jet::Database& expected) {
  db::test::TempFolder dir;
  const std::string copy = dir.File("res.dat");
  const std::string command =
      std::string(MC_CATALOGUE_CONVERT) + " '" + jet + "' '" + copy + "' > /dev/null 2>&1";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;
  auto c = db::test::Connect(copy, db::test::kPassword);
  for (const char16_t* name : {u"mun", u"uz", u"foto"}) {
    const auto t = std::find_if(expected.tables.begin(), expected.tables.end(),
                                [&](const jet::Table& x) { return x.name == name; });
    ASSERT_NE(t, expected.tables.end()) << db::ToUtf8(name);
    std::vector<jet::Row> rows = t->rows;
    std::stable_sort(rows.begin(), rows.end(), [](const jet::Row& a, const jet::Row& b) {
      return a[0].Integer() < b[0].Integer();
    });
    const db::TRecordSet got =
        c->Query(u"select * from " + std::u16string(name) + u" order by id", {});
    ASSERT_EQ(got.rows.size(), rows.size()) << db::ToUtf8(name);
    for (std::size_t k = 0; k < t->columns.size(); ++k) {
      const int at = got.FindColumn(db::ToUtf8(t->columns[k].name));
      ASSERT_GE(at, 0) << db::ToUtf8(t->columns[k].name);
      for (std::size_t r = 0; r < rows.size(); ++r)
        EXPECT_EQ(db::test::Describe(got.rows[r][std::size_t(at)]), db::test::Describe(rows[r][k]))
            << db::ToUtf8(name) << "." << db::ToUtf8(t->columns[k].name) << " of row " << r;
      // Beside the descriptions, every value whole (a blob's every byte).
      for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t k = 0; k < t->columns.size(); ++k)
          EXPECT_TRUE(got.rows[r][std::size_t(got.FindColumn(db::ToUtf8(t->columns[k].name)))] ==
                      rows[r][k])
              << db::ToUtf8(name) << "." << db::ToUtf8(t->columns[k].name) << " of row " << r;
    }
  }
}

TEST(CatalogueConvertRoundTrip, TheAwkwardCasesComeThroughValueByValue) {
  const std::string jet = db::test::JetFixture("awkward.dat");
  MC_REQUIRE_JET_FIXTURE(jet);
  ExpectConvertedRowsOf(jet, jet::AwkwardDatabase());
}

TEST(CatalogueConvertRoundTrip, TheSampleAndTheCatalogueFixturesComeThroughValueByValue) {
  for (const char* kind : {"sample", "fixtures"}) {
    const std::string jet = db::test::JetFixture(std::string(kind) + "/res.dat");
    MC_REQUIRE_JET_FIXTURE(jet);
    const std::string own = std::string(kind) == "sample"
                                ? std::string(MC_SAMPLE_CATALOGUE) + "/res.dat"
                                : std::string(MC_CATALOGUE_FIXTURES) + "/res.dat";
    SCOPED_TRACE(kind);
    ExpectConvertedRowsOf(jet, jet::ReadCatalogue(own));
  }
}

TEST(CatalogueConvertRoundTrip, AFileWithoutRowsConvertsToEmptyTables) {
  const std::string jet = db::test::JetFixture("empty.dat");
  MC_REQUIRE_JET_FIXTURE(jet);
  ExpectConvertedRowsOf(jet, jet::EmptyCatalogue());
}

}  // namespace
