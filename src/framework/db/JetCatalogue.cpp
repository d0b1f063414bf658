#include "framework/db/JetCatalogue.h"

#include <algorithm>
#include <iterator>

#include "framework/db/ADOConnection.h"
#include "framework/db/DbError.h"
#include "framework/db/Password.h"
#include "framework/db/Sqlite.h"

namespace db {

namespace {

// A column the program uses, with the declared type the program's own format gives it.
struct TUsedColumn {
  const char16_t* name;
  const char16_t* declared;
  bool number;  // must come as an integer (keys)
  bool blob;    // must come as a blob
};

struct TCatalogueTable {
  const char16_t* name;
  std::initializer_list<TUsedColumn> columns;
};

const TCatalogueTable kCatalogue[] = {
    {u"mun", {{u"id", u"integer primary key", true, false}, {u"nam", u"text", false, false}}},
    {u"uz",
     {{u"id", u"integer primary key", true, false},
      {u"id_mun", u"integer", true, false},
      {u"nam", u"varchar(255)", false, false},
      {u"vid", u"varchar(255)", false, false},
      {u"nam1", u"text", false, false},
      {u"addr", u"text", false, false},
      {u"dat_o", u"date", false, false},
      {u"phone", u"varchar(64)", false, false},
      {u"razd", u"longtext", false, false}}},
    {u"foto",
     {{u"id", u"integer primary key", true, false},
      {u"id_uz", u"integer", true, false},
      {u"foto", u"varchar(255)", false, false},
      {u"fot", u"blob", false, true}}},
};

char16_t Lower(char16_t c) {
  return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
}

bool SameName(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char16_t x, char16_t y) { return Lower(x) == Lower(y); });
}

std::u16string Quote(std::u16string_view name) {
  std::u16string out = u"\"";
  for (char16_t c : name) {
    out += c;
    if (c == u'"') out += u'"';
  }
  return out + u'"';
}

// The declared type of a column the program does not use, after its kind.
const char16_t* DeclaredOfKind(TJetColumnKind kind) {
  // In the order of TJetColumnKind, from Integer.
  static constexpr const char16_t* kDeclared[] = {u"integer",  u"integer", u"real", u"text",
                                                  u"longtext", u"date",    u"blob", u"bool"};
  static_assert(std::size(kDeclared) == std::size_t(TJetColumnKind::Boolean));
  const std::size_t i = std::size_t(kind) - 1;
  return i < std::size(kDeclared) ? kDeclared[i] : u"text";
}

}  // namespace

std::u16string CatalogueSchemaSql() {
  std::u16string sql;
  for (const TCatalogueTable& t : kCatalogue) {
    sql += u"create table " + std::u16string(t.name) + u" (";
    for (const TUsedColumn& c : t.columns)
      sql += (&c == t.columns.begin() ? u"" : u", ") + std::u16string(c.name) + u" " + c.declared;
    sql += u");";
  }
  return sql;
}

void WriteCatalogueFile(sqlite3* catalogue, const std::string& file, std::u16string_view password) {
  CreateDatabase(file, u"");
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(file.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
  SqliteHandle to(raw);
  CheckSqlite(raw, rc);
  sqlite3_backup* backup = sqlite3_backup_init(raw, "main", catalogue, "main");
  if (!backup) CheckSqlite(raw, sqlite3_errcode(raw));
  sqlite3_backup_step(backup, -1);
  CheckSqlite(raw, sqlite3_backup_finish(backup));
  SetDatabasePassword(raw, password);
}

TJetCatalogueLoader::TJetCatalogueLoader(sqlite3* h) : FHandle(h) {
  ExecSql(h, "begin");
}

TJetCatalogueLoader::~TJetCatalogueLoader() {
  sqlite3_finalize(FInsert);
  if (FOpen) sqlite3_exec(FHandle, "rollback", nullptr, nullptr, nullptr);
}

void TJetCatalogueLoader::BeginTable(const TJetTableInfo& table) {
  const auto* found =
      std::find_if(std::begin(kCatalogue), std::end(kCatalogue),
                   [&](const TCatalogueTable& t) { return SameName(t.name, table.name); });
  if (found == std::end(kCatalogue))
    throw EDatabaseError("it holds table '" + ToUtf8(table.name) +
                         "', which is none of the catalogue's");
  FTable = int(found - std::begin(kCatalogue));
  if (FSeen[FTable]) throw EDatabaseError("table '" + ToUtf8(table.name) + "' comes twice");
  FSeen[FTable] = true;
  const std::string tableName = ToUtf8(found->name);
  FBlobColumn = -1;
  FKeyColumn = -1;
  std::u16string create = u"create table " + std::u16string(found->name) + u" (";
  std::u16string insert = u"insert into " + std::u16string(found->name) + u" values (";
  for (std::size_t i = 0; i < table.columns.size(); ++i) {
    const TJetColumnInfo& c = table.columns[i];
    for (std::size_t j = 0; j < i; ++j)
      if (SameName(table.columns[j].name, c.name))
        throw EDatabaseError("table '" + tableName + "' has two columns '" + ToUtf8(c.name) + "'");
    const auto* used = std::find_if(found->columns.begin(), found->columns.end(),
                                    [&](const TUsedColumn& u) { return SameName(u.name, c.name); });
    const char16_t* declared = DeclaredOfKind(c.kind);
    if (used != found->columns.end()) {
      const bool integer = c.kind == TJetColumnKind::Integer || c.kind == TJetColumnKind::Counter;
      if ((used->number && !integer) || (used->blob && c.kind != TJetColumnKind::Blob))
        throw EDatabaseError("column '" + tableName + "." + ToUtf8(c.name) + "' is not " +
                             (used->number ? "an integer" : "a blob"));
      declared = used->declared;
      if (used->blob) FBlobColumn = int(i);
      if (SameName(used->name, u"id")) FKeyColumn = int(i);
    }
    create += (i ? u", " : u"") + Quote(used != found->columns.end() ? used->name : c.name) + u" " +
              declared;
    insert += i ? u", ?" : u"?";
  }
  for (const TUsedColumn& u : found->columns)
    if (std::none_of(table.columns.begin(), table.columns.end(),
                     [&](const TJetColumnInfo& c) { return SameName(u.name, c.name); }))
      throw EDatabaseError("table '" + tableName + "' has no column '" + ToUtf8(u.name) + "'");
  SqliteStatement s = Prepare(FHandle, create + u")");
  CheckSqlite(FHandle, sqlite3_step(s.get()));
  sqlite3_finalize(FInsert);
  FInsert = Prepare(FHandle, insert + u")").release();
  FColumnCount = table.columns.size();
}

void TJetCatalogueLoader::AddRow(const std::vector<TVariant>& values) {
  if (FTable < 0 || !FInsert) throw EDatabaseError("a row outside a table");
  if (values.size() != FColumnCount) throw EDatabaseError("a row of another table's width");
  // Given a null, the key column would number the row itself: a row that is not the file's.
  if (FKeyColumn >= 0 && values[std::size_t(FKeyColumn)].IsNull())
    throw EDatabaseError("a row of table '" + ToUtf8(kCatalogue[FTable].name) + "' has no id");
  sqlite3_reset(FInsert);
  sqlite3_clear_bindings(FInsert);
  for (std::size_t i = 0; i < values.size(); ++i)
    BindVariant(FHandle, FInsert, int(i + 1), values[i]);
  const int rc = sqlite3_step(FInsert);
  if (rc != SQLITE_DONE)
    throw EDatabaseError("a row of table '" + ToUtf8(kCatalogue[FTable].name) +
                         "' cannot be kept: " + sqlite3_errmsg(FHandle));
  std::uint64_t* counts[] = {&FCounts.mun, &FCounts.uz, &FCounts.foto};
  ++*counts[FTable];
  if (FBlobColumn >= 0 && values[std::size_t(FBlobColumn)].VarType() == TVarType::Blob) {
    ++FCounts.blobs;
    FCounts.blobBytes += values[std::size_t(FBlobColumn)].Blob().size();
  }
}

void TJetCatalogueLoader::EndTable() {
  FTable = -1;
  sqlite3_finalize(FInsert);
  FInsert = nullptr;
}

void TJetCatalogueLoader::Finish() {
  for (std::size_t i = 0; i < std::size(kCatalogue); ++i)
    if (!FSeen[i]) throw EDatabaseError("it has no table '" + ToUtf8(kCatalogue[i].name) + "'");
  ExecSql(FHandle, "commit");
  FOpen = false;
}

}  // namespace db
