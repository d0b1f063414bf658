// The database password. The file stays a plain SQLite database that any SQLite tool reads;
// what it keeps of the password is a salted hash in a one-row table of its own, so the
// program's connections refuse a wrong password while the password itself is never written in
// clear.
//
// The hash text names its scheme in its first field:
//   $pbkdf2-sha256$i=1000$SALT$KEY  what files are given now: PBKDF2 with HMAC-SHA-256, a
//                                   16-byte random salt and a 32-byte key, both in hex. The
//                                   file is readable without the password anyway and the
//                                   program carries the password as a constant, so the hash
//                                   only has to keep it out of the file: a slow, memory-hard
//                                   hash would buy nothing but start-up time.
//   $argon2id$...                   files written before: libsodium's Argon2id string at its
//                                   interactive cost (64 MiB, two passes); they still open.
#pragma once

#include <sqlite3.h>

#include <string>
#include <string_view>

namespace db {

// The table that holds the hash: one row, one column "hash". A file without this table has no
// password.
inline constexpr const char* kPasswordTable = "db_password";

// Gives the open database a password (replacing any) in the current scheme; an empty password
// removes it.
void SetDatabasePassword(sqlite3* h, std::u16string_view password);
// Raises EDatabaseError "Not a valid password." unless password opens this database.
void CheckDatabasePassword(sqlite3* h, std::u16string_view password);

// The hash text of password in the current scheme, with a new random salt.
std::string HashPassword(std::u16string_view password);
// Whether password matches a hash text of either scheme. Only hashes of the program's own cost
// are tried: the cost is read from the file, and a damaged one must not make verification
// allocate or run without bound.
bool VerifyPassword(std::string_view hash, std::u16string_view password);

}  // namespace db
