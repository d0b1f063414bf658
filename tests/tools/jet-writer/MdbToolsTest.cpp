// mdbtools' own programs are the outside check that the fixtures are real Jet 4 files: the
// tables they list and the rows they export must be the rows written.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "JetFixtures.h"
#include "JetWriter.h"
#include "app/DatabasePassword.h"
#include "framework/db/ADOConnection.h"
#include "framework/db/ADODataSet.h"

namespace {

namespace fs = std::filesystem;
using namespace jet;

const fs::path kJet = MC_JET_FIXTURES;
constexpr char kNull[] = "@";  // what the export writes for a null

bool HaveMdbTools() {
  return std::system(
             "command -v mdb-export >/dev/null 2>&1 && command -v mdb-tables "
             ">/dev/null 2>&1 && command -v mdb-ver >/dev/null 2>&1") == 0;
}
#define REQUIRE_MDBTOOLS()                                                          \
  if (!HaveMdbTools()) {                                                            \
    GTEST_SKIP() << "mdbtools' programs (mdb-export, mdb-tables, mdb-ver) are not " \
                    "installed; scripts/setup installs the package mdbtools";       \
  }

std::string Quote(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

std::string RunTool(const std::string& command) {
  std::string out;
  FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
  if (!pipe) return out;
  char buf[65536];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;) out.append(buf, n);
  EXPECT_EQ(pclose(pipe), 0) << command;
  return out;
}

std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> out;
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

// Records of the export: fields split at commas, quoted fields with doubled quotes and line
// breaks inside, records ended by a line feed.
std::vector<std::vector<std::string>> ParseCsv(const std::string& text) {
  std::vector<std::vector<std::string>> records;
  std::vector<std::string> record;
  std::string field;
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        field += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      record.push_back(std::move(field));
      field.clear();
    } else if (c == '\n') {
      record.push_back(std::move(field));
      field.clear();
      records.push_back(std::move(record));
      record.clear();
    } else {
      field += c;
    }
  }
  return records;
}

std::vector<std::vector<std::string>> Export(const fs::path& file, const std::string& table) {
  const std::string format = "'%Y-%m-%d %H:%M:%S'";
  return ParseCsv(RunTool("mdb-export -0 " + std::string(kNull) + " -b hex -D " + format + " -T " +
                          format + " " + Quote(file.string()) + " " + Quote(table)));
}

std::string DateText(db::TDateTime date) {
  std::string iso = db::FormatIsoDate(date);
  return iso.size() == 10 ? iso + " 00:00:00" : iso;
}

// The export's text of a value: mdbtools writes an empty text as it writes a null, reals in
// the shortest of the usual forms and bytes in upper-case hex.
std::string Cell(const db::TVariant& v) {
  switch (v.VarType()) {
    case db::TVarType::Null:
      return kNull;
    case db::TVarType::Integer:
      return std::to_string(v.Integer());
    case db::TVarType::Float: {
      char buf[64];
      std::snprintf(buf, sizeof buf, "%g", v.Float());
      return buf;
    }
    case db::TVarType::Text:
      return v.Text().empty() ? kNull : db::ToUtf8(v.Text());
    case db::TVarType::Date:
      return DateText(v.Date());
    case db::TVarType::Blob: {
      std::string hex;
      char buf[3];
      for (std::uint8_t b : v.Blob()) {
        std::snprintf(buf, sizeof buf, "%02X", b);
        hex += buf;
      }
      return hex;
    }
    default:
      return "?";
  }
}

// libmdb's date text is right only from 30 December 1899 to a year after 4500 (seen:
// 4500-01-01 right, 4800-01-01 not); outside, it writes "1900-01-00 00:00:00".
bool MdbPrintsDate(const db::TVariant& v) {
  return v.VarType() != db::TVarType::Date ||
         (v.Date().days >= 0 && v.Date().days < db::EncodeDateTime(4500, 1, 1).days);
}

void ExpectTableExported(const fs::path& file, const Table& table) {
  SCOPED_TRACE(db::ToUtf8(table.name));
  const auto records = Export(file, db::ToUtf8(table.name));
  ASSERT_EQ(records.size(), table.rows.size() + 1);
  std::vector<std::string> header;
  for (const Column& c : table.columns) header.push_back(db::ToUtf8(c.name));
  EXPECT_EQ(records[0], header);
  for (std::size_t r = 0; r < table.rows.size(); ++r) {
    ASSERT_EQ(records[r + 1].size(), table.columns.size()) << "row " << r;
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
      if (!MdbPrintsDate(table.rows[r][c])) continue;
      EXPECT_EQ(records[r + 1][c], Cell(table.rows[r][c])) << "row " << r << " column " << c;
    }
  }
}

std::vector<std::string> TableNames(const Database& d) {
  std::vector<std::string> names;
  for (const Table& t : d.tables) names.push_back(db::ToUtf8(t.name));
  return names;
}

TEST(JetFixturesByMdbTools, VersionsAreTheOnesWritten) {
  REQUIRE_MDBTOOLS();
  EXPECT_EQ(RunTool("mdb-ver " + Quote((kJet / "awkward.dat").string())), "JET4\n");
  EXPECT_EQ(RunTool("mdb-ver " + Quote((kJet / "sample/res.dat").string())), "JET4\n");
  EXPECT_EQ(RunTool("mdb-ver " + Quote((kJet / "refused/jet3.dat").string())), "JET3\n");
  EXPECT_EQ(RunTool("mdb-ver " + Quote((kJet / "refused/ace12.dat").string())), "ACE12\n");
  EXPECT_EQ(RunTool("mdb-ver " + Quote((kJet / "refused/ace14.dat").string())), "ACE14\n");
  EXPECT_EQ(RunTool("mdb-ver " + Quote((kJet / "refused/encoded.dat").string())), "JET4\n");
}

TEST(JetFixturesByMdbTools, TheEncodedFilesPagesAreUnreadable) {
  REQUIRE_MDBTOOLS();
  // The library decodes pages that were never encoded: it finds no catalogue.
  EXPECT_NE(std::system(("mdb-tables " + Quote((kJet / "refused/encoded.dat").string()) +
                         " >/dev/null 2>&1")
                            .c_str()),
            0);
}

TEST(JetFixturesByMdbTools, AwkwardCasesReadBackAsWritten) {
  REQUIRE_MDBTOOLS();
  const Database d = AwkwardDatabase();
  const fs::path file = kJet / "awkward.dat";
  EXPECT_EQ(Words(RunTool("mdb-tables " + Quote(file.string()))), TableNames(d));
  std::vector<std::string> all = TableNames(d);
  all.insert(all.begin(), "MSysObjects");
  EXPECT_EQ(Words(RunTool("mdb-tables -S " + Quote(file.string()))), all);
  for (const Table& t : d.tables) ExpectTableExported(file, t);
}

TEST(JetFixturesByMdbTools, EmptyAndForeignFilesListTheirTables) {
  REQUIRE_MDBTOOLS();
  const Database empty = EmptyCatalogue();
  EXPECT_EQ(Words(RunTool("mdb-tables " + Quote((kJet / "empty.dat").string()))),
            TableNames(empty));
  for (const Table& t : empty.tables) ExpectTableExported(kJet / "empty.dat", t);
  EXPECT_EQ(Words(RunTool("mdb-tables " + Quote((kJet / "no-catalogue.dat").string()))),
            TableNames(NoCatalogue()));
  // A null id is written as a null, which the export shows as an empty field.
  for (const Table& t : NullIdCatalogue().tables) ExpectTableExported(kJet / "null-id.dat", t);
}

// The rows of a catalogue in our format, read here on their own; dates of a text column as
// the Russian short date.
std::vector<Row> OurRows(const std::string& file, const std::u16string& sql) {
  db::TADOConnection conn(nullptr);
  conn.SetConnectionString(u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + db::ToUtf16(file) +
                           u";Jet OLEDB:Database Password=" + app::kDatabasePassword);
  conn.Open();
  db::TADOQuery q(nullptr);
  q.SetConnection(&conn);
  q.SetSQL(sql);
  q.Open();
  std::vector<Row> rows;
  for (q.First(); !q.Eof(); q.Next()) {
    Row row;
    for (int i = 0; i < q.FieldCount(); ++i) row.push_back(q.Fields(i).Value());
    rows.push_back(std::move(row));
  }
  return rows;
}

void ExpectSameCatalogue(const fs::path& ours, const fs::path& jetFile) {
  struct Part {
    std::string table;
    std::u16string columns;
  };
  const Part parts[] = {{"mun", u"id, nam"},
                        {"uz", u"id, id_mun, nam, vid, nam1, addr, dat_o, phone, razd"},
                        {"foto", u"id, id_uz, foto, fot"}};
  EXPECT_EQ(Words(RunTool("mdb-tables " + Quote(jetFile.string()))),
            (std::vector<std::string>{"mun", "uz", "foto"}));
  db::SetShortDateFormat("%d.%m.%Y");
  for (const Part& part : parts) {
    SCOPED_TRACE(part.table);
    std::vector<Row> rows = OurRows(ours.string(), u"select " + part.columns + u" from " +
                                                       db::ToUtf16(part.table) + u" order by id");
    ASSERT_FALSE(rows.empty());
    const auto records = Export(jetFile, part.table);
    ASSERT_EQ(records.size(), rows.size() + 1);
    bool textDates = false;
    for (const Row& row : rows)
      textDates = textDates || (part.table == "uz" && row[6].VarType() == db::TVarType::Text);
    for (std::size_t r = 0; r < rows.size(); ++r)
      for (std::size_t c = 0; c < rows[r].size(); ++c) {
        db::TVariant v = rows[r][c];
        if (textDates && v.VarType() == db::TVarType::Date)
          v = db::TVariant(db::DateToStr(v.Date()));
        EXPECT_EQ(records[r + 1][c], Cell(v)) << "row " << r << " column " << c;
      }
  }
  db::SetShortDateFormat("");
}

TEST(JetFixturesByMdbTools, SampleCatalogueHoldsTheSameRows) {
  REQUIRE_MDBTOOLS();
  ExpectSameCatalogue(fs::path(MC_SAMPLE_CATALOGUE) / "res.dat", kJet / "sample/res.dat");
  EXPECT_TRUE(fs::is_directory(kJet / "sample/res/foto"));
}

TEST(JetFixturesByMdbTools, CatalogueFixturesHoldTheSameRows) {
  REQUIRE_MDBTOOLS();
  ExpectSameCatalogue(fs::path(MC_CATALOGUE_FIXTURES) / "res.dat", kJet / "fixtures/res.dat");
  EXPECT_TRUE(fs::is_directory(kJet / "fixtures/res/foto"));
}

}  // namespace
