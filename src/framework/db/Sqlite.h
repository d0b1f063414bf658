// Thin ownership of SQLite handles, and errors from SQLite as EDatabaseError.
#pragma once

#include <sqlite3.h>

#include <memory>
#include <string>

namespace db {

class TVariant;

struct SqliteCloser {
  void operator()(sqlite3* h) const { sqlite3_close_v2(h); }
};
struct SqliteFinalizer {
  void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using SqliteHandle = std::unique_ptr<sqlite3, SqliteCloser>;
using SqliteStatement = std::unique_ptr<sqlite3_stmt, SqliteFinalizer>;

// Raises EDatabaseError with the engine's message unless rc is SQLITE_OK, _ROW or _DONE.
void CheckSqlite(sqlite3* h, int rc);
// Prepares one statement from UTF-16 text; raises EDatabaseError on a syntax or schema error.
SqliteStatement Prepare(sqlite3* h, std::u16string_view sql);
// Runs statements without results (UTF-8 text).
void ExecSql(sqlite3* h, const char* sql);
// Binds a value to a statement's parameter (a date as its stored text "YYYY-MM-DD[ HH:MM:SS]",
// an empty blob as an empty blob, not null).
void BindVariant(sqlite3* h, sqlite3_stmt* s, int index, const TVariant& v);

}  // namespace db
