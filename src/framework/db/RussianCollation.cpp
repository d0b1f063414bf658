#include "framework/db/RussianCollation.h"

#include <unicode/ucol.h>

#include <string>

#include "framework/db/DbError.h"
#include "framework/db/Sqlite.h"

namespace db {

namespace {

int Compare(void* collator, int lenA, const void* a, int lenB, const void* b) {
  return ucol_strcoll(static_cast<UCollator*>(collator), static_cast<const UChar*>(a), lenA / 2,
                      static_cast<const UChar*>(b), lenB / 2);
}

void CloseCollator(void* collator) {
  ucol_close(static_cast<UCollator*>(collator));
}

}  // namespace

void RegisterRussianCollation(sqlite3* h) {
  UErrorCode err = U_ZERO_ERROR;
  UCollator* collator = ucol_open("ru", &err);
  if (U_FAILURE(err))
    throw EDatabaseError(std::string("Russian collation unavailable: ") + u_errorName(err));
  // SQLite owns the collator from here and closes it with the connection (or on failure).
  CheckSqlite(h, sqlite3_create_collation_v2(h, kRussianCollation, SQLITE_UTF16, collator, Compare,
                                             CloseCollator));
}

}  // namespace db
