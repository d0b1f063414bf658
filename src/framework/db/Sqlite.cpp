#include "framework/db/Sqlite.h"

#include "framework/db/DbError.h"

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

}  // namespace db
