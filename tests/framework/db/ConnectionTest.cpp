#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "framework/db/DbError.h"
#include "framework/db/Sqlite.h"
#include "framework/db/TestDatabase.h"

namespace db {
namespace {

using test::CatalogueConnectionString;
using test::Connect;
using test::kPassword;
using test::MakeDatabase;
using test::TempFolder;

std::string ConnectError(const std::u16string& connectionString) {
  TADOConnection c(nullptr);
  c.SetConnectionString(connectionString);
  try {
    c.Open();
  } catch (const EDatabaseError& e) {
    EXPECT_FALSE(c.Connected());
    return e.what();
  }
  return "connected";
}

TEST(Connection, OpensOnlyWithItsPassword) {
  TempFolder dir;
  const std::string file = dir.File("res.dat");
  MakeDatabase(file, u"insert into mun values (1, 'Заречный район');", kPassword);
  EXPECT_TRUE(Connect(file, kPassword)->Connected());
  EXPECT_EQ(ConnectError(CatalogueConnectionString(file, u"k7mP305z$43")), "Not a valid password.");
  EXPECT_EQ(ConnectError(CatalogueConnectionString(file, u"")), "Not a valid password.");
  EXPECT_EQ(ConnectError(CatalogueConnectionString(file, u"K7MP305Z$42")), "Not a valid password.");
}

TEST(Connection, FileStaysPlainSqliteWithoutThePasswordInClear) {
  TempFolder dir;
  const std::string file = dir.File("res.dat");
  MakeDatabase(file, u"insert into mun values (1, 'Заречный район');", kPassword);
  std::ifstream in(file, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), {}};
  EXPECT_EQ(bytes.find(ToUtf8(kPassword)), std::string::npos);
  // Any SQLite client reads it, without the collation or the password.
  sqlite3* raw = nullptr;
  ASSERT_EQ(sqlite3_open_v2(file.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  SqliteHandle h(raw);
  SqliteStatement s = Prepare(raw, u"select nam from mun order by nam");
  ASSERT_EQ(sqlite3_step(s.get()), SQLITE_ROW);
  EXPECT_EQ(ToUtf16(reinterpret_cast<const char*>(sqlite3_column_text(s.get(), 0))),
            u"Заречный район");
}

TEST(Connection, DamagedPasswordTableOpensNothing) {
  TempFolder dir;
  const std::string file = dir.File("res.dat");
  MakeDatabase(file, u"", kPassword);
  {
    auto c = Connect(file, kPassword);
    c->Execute(u"insert into db_password select hash from db_password");
  }
  EXPECT_EQ(ConnectError(CatalogueConnectionString(file)), "Not a valid password.");
  {
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &raw), SQLITE_OK);
    SqliteHandle h(raw);
    // A hash claiming an enormous cost must be refused, not computed.
    ExecSql(raw,
            "delete from db_password; insert into db_password values ("
            "'$argon2id$v=19$m=4294967295,t=4294967295,p=1$c2FsdHNhbHRzYWx0c2FsdA$"
            "aGFzaGhhc2hoYXNoaGFzaGhhc2hoYXNoaGFzaGhhc2g');");
  }
  EXPECT_EQ(ConnectError(CatalogueConnectionString(file)), "Not a valid password.");
  {
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &raw), SQLITE_OK);
    SqliteHandle h(raw);
    ExecSql(raw, "delete from db_password");
  }
  EXPECT_EQ(ConnectError(CatalogueConnectionString(file)), "Not a valid password.");
}

TEST(Connection, MissingFileNonDatabaseAndProviderErrors) {
  TempFolder dir;
  const std::string missing = dir.File("none/res.dat");
  EXPECT_EQ(ConnectError(CatalogueConnectionString(missing)),
            "Could not find file '" + missing + "'.");
  const std::string text = dir.File("res.dat");
  std::ofstream(text) << "this is not a database, only some text that is long enough";
  EXPECT_EQ(ConnectError(CatalogueConnectionString(text)),
            "Could not open file '" + text + "': file is not a database.");
  EXPECT_EQ(ConnectError(u"Provider=SQLOLEDB;Data Source=" + ToUtf16(text)),
            "Provider cannot be found. It may not be properly installed.");
  EXPECT_THROW(CreateDatabase(text, u""), EDatabaseError);  // never overwrites
}

TEST(Connection, DatabaseWithoutPasswordAndItsConnectionString) {
  TempFolder dir;
  const std::string file = dir.File("plain.dat");
  MakeDatabase(file, u"");
  TADOConnection c(nullptr);
  // The design-time string of the data module: empty password, extra keys ignored.
  c.SetConnectionString(u"Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=" +
                        ToUtf16(file) +
                        u";Persist Security Info=True;Jet OLEDB:Engine Type=5;"
                        u"Jet OLEDB:Database Locking Mode=1;Jet OLEDB:Database Password=\"\"");
  c.Open();
  EXPECT_TRUE(c.Connected());
  EXPECT_THROW(c.SetConnectionString(u""), EDatabaseError);  // not while connected
  c.Close();
  EXPECT_FALSE(c.Connected());
}

TEST(Connection, RussianOrderingOfNames) {
  TempFolder dir;
  const std::string file = dir.File("res.dat");
  MakeDatabase(file,
               u"insert into mun (nam) values ('Жуковский'), ('Еловый'), ('абрамовский'),"
               u" ('Ёлкинский'), ('Бор'), ('1-й участок'), ('бор'), (NULL), ('Ель');");
  auto c = Connect(file);
  TADOQuery q(nullptr);
  q.SetConnection(c.get());
  q.SetSQL(u"select * from mun order by nam");
  q.Open();
  std::vector<std::u16string> names;
  for (q.First(); !q.Eof(); q.Next()) names.push_back(q.FieldByName("nam").AsString());
  // Null first, digits before letters, Ё with Е, lower case before upper case of the same word.
  // Commands run unchanged: a view stored in the file needs no collation to be read.
  c->Execute(u"create view names as select nam from mun order by nam");
  sqlite3* raw = nullptr;
  ASSERT_EQ(sqlite3_open_v2(file.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  SqliteHandle plain(raw);
  SqliteStatement s = Prepare(raw, u"select count(*) from names");
  EXPECT_EQ(sqlite3_step(s.get()), SQLITE_ROW);
  EXPECT_EQ(sqlite3_column_int(s.get(), 0), 9);
  EXPECT_EQ(names, (std::vector<std::u16string>{u"", u"1-й участок", u"абрамовский", u"бор", u"Бор",
                                                u"Ёлкинский", u"Еловый", u"Ель", u"Жуковский"}));
}

}  // namespace
}  // namespace db
