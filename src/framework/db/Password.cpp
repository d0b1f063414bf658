#include "framework/db/Password.h"

#include <sodium.h>

#include <array>
#include <charconv>

#include "framework/db/DbError.h"
#include "framework/db/Sqlite.h"
#include "framework/db/Variant.h"

namespace db {

namespace {

void InitSodium() {
  if (sodium_init() < 0) throw EDatabaseError("The password library could not start");
}

constexpr std::string_view kPbkdf2Tag = "$pbkdf2-sha256$";
constexpr std::string_view kArgon2Tag = "$argon2id$";
constexpr unsigned kIterations = 1000;
constexpr std::size_t kSaltBytes = 16;
using TKey = std::array<unsigned char, crypto_auth_hmacsha256_BYTES>;

// PBKDF2 with HMAC-SHA-256, one block (the key is as long as the hash).
TKey Pbkdf2(std::string_view password, const unsigned char* salt, std::size_t saltSize,
            unsigned iterations) {
  crypto_auth_hmacsha256_state keyed, s;
  crypto_auth_hmacsha256_init(&keyed, reinterpret_cast<const unsigned char*>(password.data()),
                              password.size());
  TKey u, out;
  const unsigned char blockIndex[4] = {0, 0, 0, 1};
  s = keyed;
  crypto_auth_hmacsha256_update(&s, salt, saltSize);
  crypto_auth_hmacsha256_update(&s, blockIndex, sizeof blockIndex);
  crypto_auth_hmacsha256_final(&s, u.data());
  out = u;
  for (unsigned i = 1; i < iterations; ++i) {
    s = keyed;
    crypto_auth_hmacsha256_update(&s, u.data(), u.size());
    crypto_auth_hmacsha256_final(&s, u.data());
    for (std::size_t b = 0; b < out.size(); ++b) out[b] ^= u[b];
  }
  sodium_memzero(&keyed, sizeof keyed);
  sodium_memzero(&s, sizeof s);
  return out;
}

std::string Hex(const unsigned char* bytes, std::size_t size) {
  std::string text(size * 2 + 1, '\0');
  sodium_bin2hex(text.data(), text.size(), bytes, size);
  text.pop_back();
  return text;
}

// Exactly size bytes of lower- or upper-case hex, nothing else.
bool Unhex(std::string_view text, unsigned char* bytes, std::size_t size) {
  std::size_t written = 0;
  const char* end = nullptr;
  return text.size() == size * 2 &&
         sodium_hex2bin(bytes, size, text.data(), text.size(), nullptr, &written, &end) == 0 &&
         written == size && end == text.data() + text.size();
}

// "i=1000$SALT$KEY" after the tag.
bool VerifyPbkdf2(std::string_view rest, const std::string& password) {
  const auto d1 = rest.find('$');
  if (d1 == std::string_view::npos || !rest.starts_with("i=")) return false;
  unsigned iterations = 0;
  const auto [p, ec] = std::from_chars(rest.data() + 2, rest.data() + d1, iterations);
  if (ec != std::errc() || p != rest.data() + d1 || iterations != kIterations) return false;
  rest.remove_prefix(d1 + 1);
  const auto d2 = rest.find('$');
  if (d2 == std::string_view::npos) return false;
  unsigned char salt[kSaltBytes];
  TKey stored;
  if (!Unhex(rest.substr(0, d2), salt, sizeof salt) ||
      !Unhex(rest.substr(d2 + 1), stored.data(), stored.size()))
    return false;
  const TKey key = Pbkdf2(password, salt, sizeof salt, iterations);
  return sodium_memcmp(key.data(), stored.data(), key.size()) == 0;
}

bool VerifyArgon2(const std::string& hash, const std::string& password) {
  constexpr unsigned long long kOpsLimit = crypto_pwhash_OPSLIMIT_INTERACTIVE;
  constexpr std::size_t kMemLimit = crypto_pwhash_MEMLIMIT_INTERACTIVE;
  return hash.size() < crypto_pwhash_STRBYTES &&
         crypto_pwhash_str_needs_rehash(hash.c_str(), kOpsLimit, kMemLimit) == 0 &&
         crypto_pwhash_str_verify(hash.c_str(), password.data(), password.size()) == 0;
}

bool HasPasswordTable(sqlite3* h) {
  SqliteStatement s(Prepare(h, u"select 1 from sqlite_schema where type='table' and name=?"));
  sqlite3_bind_text(s.get(), 1, kPasswordTable, -1, SQLITE_STATIC);
  return sqlite3_step(s.get()) == SQLITE_ROW;
}

}  // namespace

std::string HashPassword(std::u16string_view password) {
  InitSodium();
  unsigned char salt[kSaltBytes];
  randombytes_buf(salt, sizeof salt);
  const TKey key = Pbkdf2(ToUtf8(password), salt, sizeof salt, kIterations);
  return std::string(kPbkdf2Tag) + "i=" + std::to_string(kIterations) + "$" +
         Hex(salt, sizeof salt) + "$" + Hex(key.data(), key.size());
}

bool VerifyPassword(std::string_view hash, std::u16string_view password) {
  InitSodium();
  const std::string utf8 = ToUtf8(password);
  if (hash.starts_with(kPbkdf2Tag)) return VerifyPbkdf2(hash.substr(kPbkdf2Tag.size()), utf8);
  if (hash.starts_with(kArgon2Tag)) return VerifyArgon2(std::string(hash), utf8);
  return false;
}

void SetDatabasePassword(sqlite3* h, std::u16string_view password) {
  ExecSql(h, (std::string("drop table if exists ") + kPasswordTable).c_str());
  if (password.empty()) return;
  const std::string hash = HashPassword(password);
  ExecSql(h, (std::string("create table ") + kPasswordTable + " (hash text not null)").c_str());
  SqliteStatement s(
      Prepare(h, ToUtf16(std::string("insert into ") + kPasswordTable + " (hash) values (?)")));
  sqlite3_bind_text(s.get(), 1, hash.data(), int(hash.size()), SQLITE_TRANSIENT);
  CheckSqlite(h, sqlite3_step(s.get()));
}

void CheckDatabasePassword(sqlite3* h, std::u16string_view password) {
  if (!HasPasswordTable(h)) return;
  SqliteStatement s(Prepare(h, ToUtf16(std::string("select hash from ") + kPasswordTable)));
  // Exactly one stored hash: an emptied or multiplied table opens nothing.
  if (sqlite3_step(s.get()) != SQLITE_ROW) throw EDatabaseError("Not a valid password.");
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s.get(), 0));
  const std::string stored =
      text ? std::string(text, std::size_t(sqlite3_column_bytes(s.get(), 0))) : std::string();
  if (sqlite3_step(s.get()) != SQLITE_DONE || !VerifyPassword(stored, password))
    throw EDatabaseError("Not a valid password.");
}

}  // namespace db
