#include "framework/db/ADOConnection.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>

#include "framework/db/ADODataSet.h"
#include "framework/db/ConnectionString.h"
#include "framework/db/DbError.h"
#include "framework/db/JetHeader.h"
#include "framework/db/JetSource.h"
#include "framework/db/Password.h"
#include "framework/db/RussianCollation.h"
#include "framework/db/SqlText.h"

namespace db {

namespace {

// How long a connection waits for another one's write lock before it reports "database is
// locked".
constexpr int kBusyTimeoutMs = 5000;

std::string Upper(const char* s) {
  std::string out = s ? s : "";
  for (char& c : out) c = char(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// The field type of a declared column type, by the same substrings SQLite reads affinity by.
TFieldType TypeOfDeclared(const char* declared, bool primaryKey) {
  const std::string d = Upper(declared);
  if (d.empty()) return TFieldType::ftUnknown;
  if (d == "INTEGER" && primaryKey) return TFieldType::ftAutoInc;  // the rowid itself
  if (d.find("BOOL") != std::string::npos) return TFieldType::ftBoolean;
  if (d.find("INT") != std::string::npos) return TFieldType::ftInteger;
  if (d.find("DATE") != std::string::npos || d.find("TIME") != std::string::npos)
    return TFieldType::ftDateTime;
  if (d.find("LONGTEXT") != std::string::npos || d.find("CLOB") != std::string::npos)
    return TFieldType::ftWideMemo;
  if (d.find("CHAR") != std::string::npos || d.find("TEXT") != std::string::npos)
    return TFieldType::ftWideString;
  if (d.find("BLOB") != std::string::npos) return TFieldType::ftBlob;
  if (d.find("REAL") != std::string::npos || d.find("FLOA") != std::string::npos ||
      d.find("DOUB") != std::string::npos)
    return TFieldType::ftFloat;
  return TFieldType::ftUnknown;
}

// The field type of an expression column, from the kind of its values.
TFieldType TypeOfValue(const TVariant& v) {
  switch (v.VarType()) {
    case TVarType::Integer:
      return TFieldType::ftInteger;
    case TVarType::Float:
      return TFieldType::ftFloat;
    case TVarType::Blob:
      return TFieldType::ftBlob;
    case TVarType::Date:
      return TFieldType::ftDateTime;
    case TVarType::Boolean:
      return TFieldType::ftBoolean;
    case TVarType::Null:
    case TVarType::Text:
      break;
  }
  return TFieldType::ftWideString;
}

TVariant ReadValue(sqlite3_stmt* s, int i, TFieldType type) {
  switch (sqlite3_column_type(s, i)) {
    case SQLITE_INTEGER: {
      const std::int64_t v = sqlite3_column_int64(s, i);
      return type == TFieldType::ftBoolean ? TVariant(v != 0) : TVariant(v);
    }
    case SQLITE_FLOAT:
      return TVariant(sqlite3_column_double(s, i));
    case SQLITE_TEXT: {
      const auto* p = static_cast<const char16_t*>(sqlite3_column_text16(s, i));
      std::u16string text(p, std::size_t(sqlite3_column_bytes16(s, i)) / 2);
      TDateTime date;
      if (type == TFieldType::ftDateTime && TryParseIsoDate(text, date)) return TVariant(date);
      return TVariant(std::move(text));
    }
    case SQLITE_BLOB: {
      const auto* p = static_cast<const std::uint8_t*>(sqlite3_column_blob(s, i));
      return TVariant(TBytes(p, p + sqlite3_column_bytes(s, i)));
    }
    default:
      return {};
  }
}

std::string QuoteIdentifier(const std::string& name) {
  std::string out = "\"";
  for (char c : name) {
    out += c;
    if (c == '"') out += '"';
  }
  return out + '"';
}

bool FileExists(const std::string& name) {
  struct stat st {};
  return ::stat(name.c_str(), &st) == 0;
}

}  // namespace

TADOConnection::TADOConnection(fw::TComponent* owner) : TComponent(owner) {}

TADOConnection::~TADOConnection() {
  Close();
  for (TCustomADODataSet* ds : FDataSets) ds->FConnection = nullptr;
}

void TADOConnection::SetConnectionString(const std::u16string& text) {
  if (Connected()) throw EDatabaseError("Operation is not allowed when the object is open.");
  FConnectionString = text;
}

void TADOConnection::SetConnected(bool connected) {
  if (connected == Connected()) return;
  if (!connected) {
    for (TCustomADODataSet* ds : FDataSets) ds->Close();
    FHandle.reset();
    FReadOnlyReason.clear();
    return;
  }
  const TConnectionString cs(FConnectionString);
  const std::u16string provider = cs.Value(u"Provider");
  if (!fw::SameText(ToUtf8(provider), ToUtf8(kJetProvider)))
    throw EDatabaseError("Provider cannot be found. It may not be properly installed.");
  const std::string file = ToUtf8(cs.Value(u"Data Source"));
  if (file.empty() || !FileExists(file))
    throw EDatabaseError("Could not find file '" + file + "'.");
  if (IsJetFile(file)) {
    // Read whole into memory by the reader's child process. The file's password is not checked:
    // the library does not, and a guess at the mask Jet 4.0 lays over it could refuse a real
    // file; the program's own password is a constant anyway.
    SqliteHandle jet = OpenJetCatalogue(file);
    RegisterRussianCollation(jet.get());
    FReadOnlyReason = "'" + file +
                      "' is a Jet 4.0 database, which the program only reads. To change it, "
                      "convert it to the program's own format with catalogue-convert.";
    FHandle = std::move(jet);
    return;
  }
  FReadOnlyReason.clear();
  const int flags = FMode == TConnectMode::cmRead ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(file.c_str(), &raw, flags, nullptr);
  SqliteHandle handle(raw);
  if (rc != SQLITE_OK)
    throw EDatabaseError("Could not open file '" + file +
                         "': " + (raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc)) + ".");
  sqlite3_busy_timeout(raw, kBusyTimeoutMs);
  // Reading the schema tells a database from any other file.
  if (sqlite3_exec(raw, "select count(*) from sqlite_schema", nullptr, nullptr, nullptr) !=
      SQLITE_OK)
    throw EDatabaseError("Could not open file '" + file + "': " + sqlite3_errmsg(raw) + ".");
  RegisterRussianCollation(raw);
  CheckDatabasePassword(raw, cs.Value(u"Jet OLEDB:Database Password"));
  FHandle = std::move(handle);
}

sqlite3* TADOConnection::CheckedHandle() const {
  if (!FHandle) throw EDatabaseError("Operation is not allowed when the object is closed.");
  return FHandle.get();
}

void TADOConnection::Execute(std::u16string_view sql) {
  sqlite3* h = CheckedHandle();
  try {
    ExecSql(h, ToUtf8(sql).c_str());
  } catch (const EDatabaseError&) {
    if (!FReadOnlyReason.empty() && sqlite3_errcode(h) == SQLITE_READONLY)
      throw EDatabaseError(FReadOnlyReason);
    throw;
  }
}

void TADOConnection::BeginTrans() {
  ExecSql(CheckedHandle(), "begin");
}
void TADOConnection::CommitTrans() {
  ExecSql(CheckedHandle(), "commit");
}
void TADOConnection::RollbackTrans() {
  ExecSql(CheckedHandle(), "rollback");
}

SqliteStatement TADOConnection::PrepareBound(std::u16string_view sql, const TParameters& params) {
  sqlite3* h = CheckedHandle();
  SqliteStatement s = Prepare(h, sql);
  for (int i = 0; i < params.Count(); ++i) {
    const TParameter& p = params.Items(i);
    const int index = sqlite3_bind_parameter_index(s.get(), (":" + p.Name()).c_str());
    if (index > 0) BindVariant(h, s.get(), index, BoundValue(p));
  }
  return s;
}

TRecordSet TADOConnection::Query(std::u16string_view sql, const TParameters& params) {
  sqlite3* h = CheckedHandle();
  SqliteStatement s = PrepareBound(EngineSql(sql), params);
  TRecordSet rs;
  const int n = sqlite3_column_count(s.get());
  for (int i = 0; i < n; ++i) {
    TColumnInfo c;
    const auto* name = static_cast<const char16_t*>(sqlite3_column_name16(s.get(), i));
    c.name = name ? ToUtf8(name) : std::string();
    const char* table = sqlite3_column_table_name(s.get(), i);
    const char* origin = sqlite3_column_origin_name(s.get(), i);
    if (table && origin) {
      c.table = table;
      c.origin = origin;
      int pk = 0;
      sqlite3_table_column_metadata(h, sqlite3_column_database_name(s.get(), i), table, origin,
                                    nullptr, nullptr, nullptr, &pk, nullptr);
      c.primaryKey = pk != 0;
    }
    c.type = TypeOfDeclared(sqlite3_column_decltype(s.get(), i), c.primaryKey);
    rs.columns.push_back(std::move(c));
  }
  // Columns of the same name from different tables are told apart by their table.
  std::vector<bool> shared(rs.columns.size());
  for (std::size_t i = 0; i < rs.columns.size(); ++i)
    for (std::size_t j = 0; j < rs.columns.size(); ++j)
      if (i != j && fw::SameText(rs.columns[i].name, rs.columns[j].name)) shared[i] = true;
  for (std::size_t i = 0; i < rs.columns.size(); ++i)
    if (shared[i] && !rs.columns[i].table.empty())
      rs.columns[i].name = rs.columns[i].table + "." + rs.columns[i].origin;
  for (;;) {
    const int rc = sqlite3_step(s.get());
    if (rc == SQLITE_DONE) break;
    CheckSqlite(h, rc);
    TRow row;
    row.reserve(std::size_t(n));
    for (int i = 0; i < n; ++i)
      row.push_back(ReadValue(s.get(), i, rs.columns[std::size_t(i)].type));
    rs.rows.push_back(std::move(row));
  }
  for (std::size_t i = 0; i < rs.columns.size(); ++i) {
    if (rs.columns[i].type != TFieldType::ftUnknown) continue;
    TVariant first;
    for (const TRow& row : rs.rows)
      if (!row[i].IsNull()) {
        first = row[i];
        break;
      }
    rs.columns[i].type = TypeOfValue(first);
  }
  return rs;
}

int TADOConnection::Command(std::u16string_view sql, const TParameters& params) {
  sqlite3* h = CheckedHandle();
  SqliteStatement s = PrepareBound(sql, params);
  if (!FReadOnlyReason.empty() && !sqlite3_stmt_readonly(s.get()))
    throw EDatabaseError(FReadOnlyReason);
  int rc;
  while ((rc = sqlite3_step(s.get())) == SQLITE_ROW) {
  }
  CheckSqlite(h, rc);
  return sqlite3_changes(h);
}

void TADOConnection::UpdateRow(const TRecordSet& result, const TRow& oldRow, const TRow& newRow,
                               const std::vector<int>& changed) {
  sqlite3* h = CheckedHandle();
  if (!FReadOnlyReason.empty()) throw EDatabaseError(FReadOnlyReason);
  const std::string& table = result.columns[std::size_t(changed.front())].table;
  auto key = std::find_if(result.columns.begin(), result.columns.end(),
                          [&](const TColumnInfo& c) { return c.primaryKey && c.table == table; });
  const bool oneTable = std::all_of(changed.begin(), changed.end(), [&](int i) {
    return result.columns[std::size_t(i)].table == table;
  });
  if (table.empty() || key == result.columns.end() || !oneTable)
    throw EDatabaseError("Insufficient key column information for updating or refreshing.");
  std::string sql = "update " + QuoteIdentifier(table) + " set ";
  for (std::size_t k = 0; k < changed.size(); ++k)
    sql +=
        (k ? ", " : "") + QuoteIdentifier(result.columns[std::size_t(changed[k])].origin) + " = ?";
  sql += " where " + QuoteIdentifier(key->origin) + " = ?";
  SqliteStatement s = Prepare(h, ToUtf16(sql));
  int index = 1;
  for (int i : changed) BindVariant(h, s.get(), index++, newRow[std::size_t(i)]);
  BindVariant(h, s.get(), index, oldRow[std::size_t(key - result.columns.begin())]);
  CheckSqlite(h, sqlite3_step(s.get()));
  if (sqlite3_changes(h) != 1)
    throw EDatabaseError(
        "Row cannot be located for updating. Some values may have been changed since it was "
        "last read.");
}

void CreateDatabase(const std::string& fileName, std::u16string_view password) {
  if (FileExists(fileName)) throw EDatabaseError("File already exists: '" + fileName + "'.");
  sqlite3* raw = nullptr;
  const int rc =
      sqlite3_open_v2(fileName.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  SqliteHandle handle(raw);
  if (rc != SQLITE_OK)
    throw EDatabaseError("Could not create file '" + fileName +
                         "': " + (raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc)) + ".");
  SetDatabasePassword(raw, password);
}

}  // namespace db
