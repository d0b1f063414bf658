// The two hash schemes of the password table: what new files get, and the files written
// before that still open.
#include <gtest/gtest.h>
#include <sodium.h>

#include "framework/db/DbError.h"
#include "framework/db/Password.h"
#include "framework/db/Sqlite.h"
#include "framework/db/TestDatabase.h"

namespace db {
namespace {

using test::CatalogueConnectionString;
using test::kPassword;
using test::TempFolder;

std::string StoredHash(const std::string& file) {
  sqlite3* raw = nullptr;
  EXPECT_EQ(sqlite3_open_v2(file.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  SqliteHandle h(raw);
  SqliteStatement s = Prepare(raw, u"select hash from db_password");
  if (sqlite3_step(s.get()) != SQLITE_ROW) return {};
  return reinterpret_cast<const char*>(sqlite3_column_text(s.get(), 0));
}

void ReplaceHash(const std::string& file, const std::string& hash) {
  sqlite3* raw = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &raw), SQLITE_OK);
  SqliteHandle h(raw);
  SqliteStatement s = Prepare(raw, u"update db_password set hash = ?");
  sqlite3_bind_text(s.get(), 1, hash.c_str(), -1, SQLITE_TRANSIENT);
  ASSERT_EQ(sqlite3_step(s.get()), SQLITE_DONE);
}

bool Opens(const std::string& file, std::u16string_view password) {
  TADOConnection c(nullptr);
  c.SetConnectionString(CatalogueConnectionString(file, password));
  try {
    c.Open();
  } catch (const EDatabaseError& e) {
    EXPECT_STREQ(e.what(), "Not a valid password.");
    return false;
  }
  return true;
}

constexpr std::string_view kTag = "$pbkdf2-sha256$i=1000$";

TEST(PasswordScheme, NewFilesGetASaltedPbkdf2Hash) {
  TempFolder dir;
  const std::string a = dir.File("a.dat"), b = dir.File("b.dat");
  test::MakeDatabase(a, u"", kPassword);
  test::MakeDatabase(b, u"", kPassword);
  const std::string ha = StoredHash(a), hb = StoredHash(b);
  ASSERT_TRUE(ha.starts_with(kTag)) << ha;
  // Tag, 16 bytes of salt and 32 of key in hex.
  EXPECT_EQ(ha.size(), kTag.size() + 32 + 1 + 64) << ha;
  EXPECT_NE(ha.substr(0, kTag.size() + 32), hb.substr(0, kTag.size() + 32)) << "salts must differ";
  EXPECT_TRUE(Opens(a, kPassword));
  EXPECT_FALSE(Opens(a, u"k7mP305z$43"));
  EXPECT_FALSE(Opens(a, u""));
}

TEST(PasswordScheme, TheKeyIsPbkdf2HmacSha256) {
  // Keys computed by another implementation of PBKDF2-HMAC-SHA-256 (1000 iterations, salt
  // bytes 00 to 0f).
  const std::string salt = "000102030405060708090a0b0c0d0e0f";
  const std::string kCatalogue =
      std::string(kTag) + salt +
      "$a7c79090eeca0e2757f0eb2124257a4a88294655ce82369540cef17910884e21";
  const std::string kRussian = std::string(kTag) + salt +
                               "$35c898a8e0c69f41d8e23d9db4059aef3abbf06a172ffd8919bc4eab41a93b28";
  EXPECT_TRUE(VerifyPassword(kCatalogue, kPassword));
  EXPECT_FALSE(VerifyPassword(kCatalogue, u"Пароль"));
  EXPECT_TRUE(VerifyPassword(kRussian, u"Пароль"));  // UTF-8 bytes are hashed
  EXPECT_FALSE(VerifyPassword(kRussian, u"пароль"));
  // Upper-case hex is the same key.
  std::string upper = kCatalogue;
  for (std::size_t i = kTag.size(); i < upper.size(); ++i)
    if (upper[i] >= 'a' && upper[i] <= 'f') upper[i] = char(upper[i] - 'a' + 'A');
  EXPECT_TRUE(VerifyPassword(upper, kPassword));
  // Damaged texts open nothing: another cost, short or long fields, stray characters, no tag.
  const std::string key = kCatalogue.substr(kTag.size() + 33);
  for (const std::string& bad : {
           "$pbkdf2-sha256$i=999$" + salt + "$" + key,
           "$pbkdf2-sha256$i=4294967295$" + salt + "$" + key,
           "$pbkdf2-sha256$i=1000x$" + salt + "$" + key,
           "$pbkdf2-sha256$i=1000$" + salt.substr(2) + "$" + key,
           std::string(kTag) + salt + "$" + key + "00",
           std::string(kTag) + salt + "$" + key.substr(0, 62) + "zz",
           std::string(kTag) + salt + key,
           "$sha256$i=1000$" + salt + "$" + key,
           std::string(),
       })
    EXPECT_FALSE(VerifyPassword(bad, kPassword)) << bad;
}

TEST(PasswordScheme, FilesWithTheFormerArgon2HashStillOpen) {
  TempFolder dir;
  const std::string file = dir.File("old.dat");
  test::MakeDatabase(file, u"insert into mun values (1, 'Заречный район');", kPassword);
  // The hash as files made before carry it: libsodium's Argon2id at its interactive cost.
  ASSERT_GE(sodium_init(), 0);
  const std::string utf8 = ToUtf8(kPassword);
  char argon[crypto_pwhash_STRBYTES];
  ASSERT_EQ(crypto_pwhash_str(argon, utf8.data(), utf8.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                              crypto_pwhash_MEMLIMIT_INTERACTIVE),
            0);
  ReplaceHash(file, argon);
  ASSERT_TRUE(StoredHash(file).starts_with("$argon2id$"));
  EXPECT_TRUE(Opens(file, kPassword));
  EXPECT_FALSE(Opens(file, u"k7mP305z$43"));
  EXPECT_FALSE(Opens(file, u""));
  // Giving the file a password again writes the new scheme.
  {
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &raw), SQLITE_OK);
    SqliteHandle h(raw);
    SetDatabasePassword(raw, kPassword);
  }
  EXPECT_TRUE(StoredHash(file).starts_with(kTag));
  EXPECT_TRUE(Opens(file, kPassword));
}

TEST(PasswordScheme, TheSampleCatalogueUsesTheNewScheme) {
  const std::string hash = StoredHash(std::string(MC_SAMPLE_CATALOGUE) + "/res.dat");
  EXPECT_TRUE(hash.starts_with(kTag)) << hash;
}

}  // namespace
}  // namespace db
