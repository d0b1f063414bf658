#include "framework/db/Password.h"

#include <sodium.h>

#include <string>

#include "framework/db/DbError.h"
#include "framework/db/Sqlite.h"
#include "framework/db/Variant.h"

namespace db {

namespace {

void InitSodium() {
  if (sodium_init() < 0) throw EDatabaseError("The password library could not start");
}

// The cost of the hash: libsodium's interactive level (64 MiB, two passes).
constexpr unsigned long long kOpsLimit = crypto_pwhash_OPSLIMIT_INTERACTIVE;
constexpr std::size_t kMemLimit = crypto_pwhash_MEMLIMIT_INTERACTIVE;

bool HasPasswordTable(sqlite3* h) {
  SqliteStatement s(Prepare(h, u"select 1 from sqlite_schema where type='table' and name=?"));
  sqlite3_bind_text(s.get(), 1, kPasswordTable, -1, SQLITE_STATIC);
  return sqlite3_step(s.get()) == SQLITE_ROW;
}

}  // namespace

void SetDatabasePassword(sqlite3* h, std::u16string_view password) {
  InitSodium();
  ExecSql(h, (std::string("drop table if exists ") + kPasswordTable).c_str());
  if (password.empty()) return;
  const std::string utf8 = ToUtf8(password);
  char hash[crypto_pwhash_STRBYTES];
  if (crypto_pwhash_str(hash, utf8.data(), utf8.size(), kOpsLimit, kMemLimit) != 0)
    throw EDatabaseError("Not enough memory to hash the password");
  ExecSql(h, (std::string("create table ") + kPasswordTable + " (hash text not null)").c_str());
  SqliteStatement s(
      Prepare(h, ToUtf16(std::string("insert into ") + kPasswordTable + " (hash) values (?)")));
  sqlite3_bind_text(s.get(), 1, hash, -1, SQLITE_TRANSIENT);
  CheckSqlite(h, sqlite3_step(s.get()));
}

void CheckDatabasePassword(sqlite3* h, std::u16string_view password) {
  if (!HasPasswordTable(h)) return;
  InitSodium();
  SqliteStatement s(Prepare(h, ToUtf16(std::string("select hash from ") + kPasswordTable)));
  // Exactly one stored hash: an emptied or multiplied table opens nothing.
  if (sqlite3_step(s.get()) != SQLITE_ROW) throw EDatabaseError("Not a valid password.");
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s.get(), 0));
  const int len = sqlite3_column_bytes(s.get(), 0);
  const std::string stored = text && len < int(crypto_pwhash_STRBYTES)
                                 ? std::string(text, std::size_t(len))
                                 : std::string();
  if (sqlite3_step(s.get()) != SQLITE_DONE) throw EDatabaseError("Not a valid password.");
  // Only a hash of our own cost is tried: the cost is read from the file, and a damaged one
  // must not make verification allocate or run without bound.
  const std::string utf8 = ToUtf8(password);
  if (stored.empty() || crypto_pwhash_str_needs_rehash(stored.c_str(), kOpsLimit, kMemLimit) != 0 ||
      crypto_pwhash_str_verify(stored.c_str(), utf8.data(), utf8.size()) != 0)
    throw EDatabaseError("Not a valid password.");
}

}  // namespace db
