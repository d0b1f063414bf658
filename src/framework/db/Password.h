// The database password. The file stays a plain SQLite database that any SQLite tool reads;
// what it keeps of the password is a salted, deliberately slow hash (Argon2id through
// libsodium) in a one-row table of its own, so the program's connections refuse a wrong
// password while the password itself is never written in clear.
#pragma once

#include <sqlite3.h>

#include <string_view>

namespace db {

// The table that holds the hash: one row, one column "hash" (the encoded Argon2id string with
// its salt and cost). A file without this table has no password.
inline constexpr const char* kPasswordTable = "db_password";

// Gives the open database a password (replacing any); an empty password removes it.
void SetDatabasePassword(sqlite3* h, std::u16string_view password);
// Raises EDatabaseError "Not a valid password." unless password opens this database.
void CheckDatabasePassword(sqlite3* h, std::u16string_view password);

}  // namespace db
