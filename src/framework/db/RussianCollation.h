// Russian ordering of text: ICU's collation for "ru", registered on a SQLite connection under
// the name kRussianCollation. The file does not depend on it (no column declares it), so the
// standard sqlite3 tools read every table; the layer asks for it in ORDER BY (SqlText.h).
#pragma once

#include <sqlite3.h>

namespace db {

// The collation's name as SQL writes it ("order by nam collate RU").
inline constexpr const char* kRussianCollation = "RU";

// Registers the collation on the connection; raises EDatabaseError if ICU cannot supply it.
void RegisterRussianCollation(sqlite3* h);

}  // namespace db
