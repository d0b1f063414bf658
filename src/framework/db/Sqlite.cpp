#include "framework/db/Sqlite.h"

#include "framework/db/DbError.h"
#include "framework/db/Variant.h"

namespace db {

void CheckSqlite(sqlite3* h, int rc) {
  if (rc == SQLITE_OK || rc == SQLITE_ROW || rc == SQLITE_DONE) return;
  throw EDatabaseError(h ? sqlite3_errmsg(h) : sqlite3_errstr(rc));
}

SqliteStatement Prepare(sqlite3* h, std::u16string_view sql) {
  sqlite3_stmt* stmt = nullptr;
  CheckSqlite(
      h, sqlite3_prepare16_v2(h, sql.data(), int(sql.size() * sizeof(char16_t)), &stmt, nullptr));
  if (!stmt) throw EDatabaseError("Command text does not contain any statement");
  return SqliteStatement(stmt);
}

void ExecSql(sqlite3* h, const char* sql) {
  CheckSqlite(h, sqlite3_exec(h, sql, nullptr, nullptr, nullptr));
}

void BindVariant(sqlite3* h, sqlite3_stmt* s, int index, const TVariant& v) {
  int rc = SQLITE_OK;
  switch (v.VarType()) {
    case TVarType::Null:
      rc = sqlite3_bind_null(s, index);
      break;
    case TVarType::Integer:
      rc = sqlite3_bind_int64(s, index, v.Integer());
      break;
    case TVarType::Float:
      rc = sqlite3_bind_double(s, index, v.Float());
      break;
    case TVarType::Boolean:
      rc = sqlite3_bind_int(s, index, v.Boolean() ? 1 : 0);
      break;
    case TVarType::Text:
      rc = sqlite3_bind_text16(s, index, v.Text().data(), int(v.Text().size() * 2),
                               SQLITE_TRANSIENT);
      break;
    case TVarType::Date:
      rc = sqlite3_bind_text(s, index, FormatIsoDate(v.Date()).c_str(), -1, SQLITE_TRANSIENT);
      break;
    case TVarType::Blob:
      // An empty blob is stored as an empty blob, not as null.
      rc = v.Blob().empty()
               ? sqlite3_bind_zeroblob(s, index, 0)
               : sqlite3_bind_blob64(s, index, v.Blob().data(), v.Blob().size(), SQLITE_TRANSIENT);
      break;
  }
  CheckSqlite(h, rc);
}

}  // namespace db
