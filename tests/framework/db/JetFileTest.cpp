// Jet 4.0 files read through the reader's child process (fixtures: JetFixtures.h).
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>

#include "framework/db/ADODataSet.h"
#include "framework/db/DbError.h"
#include "framework/db/Field.h"
#include "framework/db/JetFixtures.h"
#include "framework/db/JetSource.h"
#include "framework/db/TestDatabase.h"

namespace db {
namespace {

const std::string kOwnSample = std::string(MC_SAMPLE_CATALOGUE) + "/res.dat";

// Every query the catalogue runs, with the whole tables beside them.
const char16_t* const kQueries[] = {
    u"select * from mun order by nam",
    u"SELECT mun.nam, uz.nam, uz.id, uz.vid\r\nFROM uz INNER JOIN mun ON uz.id_mun = mun.id\r\n"
    u"order by uz.nam",
    u"select * from uz order by id",
    u"select * from foto order by id",
};

// The Jet files keep a date column only where every value is a date; where texts are among
// them (the sample's dat_o) the dates are written as the card shows them, "21.03.1996".
bool SameValue(const TVariant& jet, const TVariant& own) {
  if (jet == own) return true;
  if (jet.VarType() != TVarType::Text || own.VarType() != TVarType::Date) return false;
  const std::string iso = FormatIsoDate(own.Date());
  return ToUtf8(jet.Text()) ==
         iso.substr(8, 2) + "." + iso.substr(5, 2) + "." + iso.substr(0, 4) + iso.substr(10);
}

void ExpectSameResults(TADOConnection& jet, TADOConnection& own) {
  for (const char16_t* sql : kQueries) {
    const TRecordSet a = jet.Query(sql, {}), b = own.Query(sql, {});
    ASSERT_EQ(a.columns.size(), b.columns.size()) << ToUtf8(sql);
    for (std::size_t i = 0; i < a.columns.size(); ++i) {
      EXPECT_EQ(a.columns[i].name, b.columns[i].name) << ToUtf8(sql);
      EXPECT_EQ(a.columns[i].type, b.columns[i].type) << ToUtf8(sql) << " " << b.columns[i].name;
    }
    ASSERT_EQ(a.rows.size(), b.rows.size()) << ToUtf8(sql);
    for (std::size_t r = 0; r < a.rows.size(); ++r)
      for (std::size_t i = 0; i < a.columns.size(); ++i)
        EXPECT_TRUE(SameValue(a.rows[r][i], b.rows[r][i]))
            << ToUtf8(sql) << " row " << r << " " << b.columns[i].name << ": "
            << test::Describe(a.rows[r][i]) << " against " << test::Describe(b.rows[r][i]);
  }
}

std::string Bytes(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::string ConnectError(const std::string& file) {
  try {
    test::Connect(file, u"whatever the password");
  } catch (const EDatabaseError& e) {
    return e.what();
  }
  return "connected";
}

// A Jet 4.0 header over noise goes all the way to the library in the reader's process, which
// must refuse it; the program goes on.
TEST(JetFile, NoiseBehindAJetHeaderIsRefused) {
  test::TempFolder dir;
  const std::string file = dir.File("res.dat");
  {
    std::string bytes("\0\x01\0\0Standard Jet DB\0\x01", 21);
    std::uint32_t x = 12345;
    while (bytes.size() < 8 * 4096) {
      x = x * 1103515245u + 12345u;
      bytes += char(x >> 24);
    }
    std::ofstream(file, std::ios::binary) << bytes;
  }
  for (int i = 0; i < 2; ++i)
    EXPECT_EQ(ConnectError(file).rfind("Cannot read '" + file + "': ", 0), 0u);
}

TEST(JetFile, TheSampleReadsAsTheProgramsOwnFormat) {
  const std::string jet = test::JetFixture("sample/res.dat");
  MC_REQUIRE_JET_FIXTURE(jet);
  // The Jet file's password is not checked.
  auto j = test::Connect(jet, u"not the password");
  auto o = test::Connect(kOwnSample, test::kPassword);
  ExpectSameResults(*j, *o);
}

TEST(JetFile, ConvertedCopyHoldsEveryRowAndBlob) {
  const std::string jet = test::JetFixture("sample/res.dat");
  MC_REQUIRE_JET_FIXTURE(jet);
  TJetCatalogueCounts n;
  SqliteHandle h = OpenJetCatalogue(jet, &n);
  test::TempFolder dir;
  const std::string copy = dir.File("res.dat");
  WriteCatalogueFile(h.get(), copy, test::kPassword);
  auto c = test::Connect(copy, test::kPassword);
  auto o = test::Connect(kOwnSample, test::kPassword);
  ExpectSameResults(*c, *o);
  EXPECT_EQ(std::int64_t(n.foto), o->Query(u"select count(*) from foto", {}).rows[0][0].Integer());
}

TEST(JetFile, ConnectionIsReadOnlyAndNamesTheConversion) {
  const std::string jet = test::JetFixture("sample/res.dat");
  MC_REQUIRE_JET_FIXTURE(jet);
  const std::string before = Bytes(jet);
  auto c = test::Connect(jet);
  EXPECT_NE(c->ReadOnlyReason().find("catalogue-convert"), std::string::npos);
  TADOTable t(nullptr);
  t.SetName("ADOTable1");
  t.SetConnection(c.get());
  t.SetTableName("foto");
  t.Open();
  t.Edit();
  t.FieldByName("fot").SetValue(TVariant(TBytes{1, 2, 3}));
  try {
    t.Post();
    ADD_FAILURE() << "posted to a Jet file";
  } catch (const EDatabaseError& e) {
    // A data set's errors carry its name.
    EXPECT_EQ(std::string(e.what()), "ADOTable1: " + c->ReadOnlyReason());
  }
  try {
    c->Execute(u"delete from foto");
    ADD_FAILURE() << "deleted from a Jet file";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(std::string(e.what()), c->ReadOnlyReason());
  }
  EXPECT_EQ(Bytes(jet), before);
}

TEST(JetFile, ARowWithoutAnIdRefusesTheFile) {
  const std::string file = test::JetFixture("null-id.dat");
  MC_REQUIRE_JET_FIXTURE(file);
  EXPECT_EQ(ConnectError(file), "Cannot read '" + file + "': a row of table 'uz' has no id.");
}

TEST(JetFile, OtherFormatsAreRefusedByName) {
  const std::pair<const char*, const char*> refused[] = {
      {"refused/jet3.dat", "Jet 3"},
      {"refused/ace12.dat", "ACE"},
      {"refused/ace14.dat", "ACE"},
      {"refused/encoded.dat", "encoded"},
      {"no-catalogue.dat", "it has no table 'mun'"},
  };
  for (const auto& [name, why] : refused) {
    const std::string file = test::JetFixture(name);
    MC_REQUIRE_JET_FIXTURE(file);
    const std::string error = ConnectError(file);
    EXPECT_EQ(error.rfind("Cannot read '" + file + "': ", 0), 0u) << error;
    EXPECT_NE(error.find(why), std::string::npos) << error;
  }
}

// The library's own messages come with the error, never on the program's output.
TEST(JetFile, DamagedFilesAreRefusedAndTheProgramGoesOn) {
  const std::vector<std::string> damaged = test::DamagedJetFixtures();
  ASSERT_FALSE(damaged.empty()) << "no damaged Jet fixtures in " << test::JetFixture("damaged");
  std::map<std::string, std::string> errors;
  testing::internal::CaptureStderr();
  testing::internal::CaptureStdout();
  for (const std::string& file : damaged) {
    // An empty file has no Jet header: the connection takes it for its own format, empty.
    if (std::filesystem::file_size(file) == 0) continue;
    const std::string error = ConnectError(file);
    EXPECT_EQ(error.rfind("Cannot read '" + file + "': ", 0), 0u) << error;
    errors[std::filesystem::path(file).filename().string()] = error;
  }
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  // A memo whose chain of pages ends early reads as a shorter text without a word from the
  // library.
  EXPECT_NE(errors["memo-cut-short.dat"].find("a memo in table 'uz' is cut short"),
            std::string::npos)
      << errors["memo-cut-short.dat"];
  EXPECT_NE(errors["chain-beyond-end.dat"].find("; it said: offset "), std::string::npos)
      << errors["chain-beyond-end.dat"];
  const std::string jet = test::JetFixture("sample/res.dat");
  MC_REQUIRE_JET_FIXTURE(jet);
  EXPECT_TRUE(test::Connect(jet)->Connected());
}

}  // namespace
}  // namespace db
