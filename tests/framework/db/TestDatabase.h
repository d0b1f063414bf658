// A small catalogue database made for each test in a fresh folder.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>

#include "app/DatabasePassword.h"
#include "framework/db/ADOConnection.h"
#include "framework/db/ADODataSet.h"

namespace db {

// A value as failure messages show it (a blob by its size and first bytes).
inline void PrintTo(const TVariant& v, std::ostream* os) {
  switch (v.VarType()) {
    case TVarType::Null:
      *os << "null";
      return;
    case TVarType::Integer:
      *os << v.Integer();
      return;
    case TVarType::Float:
      *os << v.Float();
      return;
    case TVarType::Text:
      *os << "'" << ToUtf8(v.Text()) << "'";
      return;
    case TVarType::Date:
      *os << "date " << FormatIsoDate(v.Date()) << " (" << v.Date().days << ")";
      return;
    case TVarType::Blob:
      *os << "blob of " << v.Blob().size() << " bytes";
      for (std::size_t i = 0; i < std::min<std::size_t>(v.Blob().size(), 4); ++i)
        *os << " " << int(v.Blob()[i]);
      return;
    case TVarType::Boolean:
      *os << (v.Boolean() ? "true" : "false");
      return;
  }
}

}  // namespace db

namespace db::test {

inline std::string Describe(const TVariant& v) {
  std::ostringstream os;
  PrintTo(v, &os);
  return os.str();
}

// The catalogue's password, as the sample catalogue and the fixtures carry it.
inline constexpr const char16_t* kPassword = app::kDatabasePassword;

// A fresh folder under the system's temporary folder, removed at the end of the test.
class TempFolder {
 public:
  TempFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::filesystem::temp_directory_path() /
            ("db-test-" + std::string(info->test_suite_name()) + "-" + info->name() + "-" +
             std::to_string(::getpid()));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() { std::filesystem::remove_all(path_); }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// The connection string the catalogue composes, for a file and password.
inline std::u16string CatalogueConnectionString(const std::string& file,
                                                std::u16string_view password = kPassword) {
  return u"Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=" + ToUtf16(file) +
         u";Persist Security Info=False;Jet OLEDB:Database Password=" + std::u16string(password);
}

// The catalogue's three tables.
inline constexpr char16_t kSchema[] =
    u"create table mun (id integer primary key, nam text);"
    u"create table uz (id integer primary key, id_mun integer, nam text, vid text, nam1 text,"
    u" addr text, dat_o date, phone text, razd longtext);"
    u"create table foto (id integer primary key, id_uz integer, foto text, fot blob);";

// Creates a database with the schema and runs the given inserts on it. Only the password
// tests pay for hashing one.
inline void MakeDatabase(const std::string& file, std::u16string_view inserts,
                         std::u16string_view password = u"") {
  CreateDatabase(file, password);
  TADOConnection c(nullptr);
  c.SetConnectionString(CatalogueConnectionString(file, password));
  c.Open();
  c.Execute(kSchema);
  c.Execute(inserts);
}

// A connection to file, connected.
inline std::unique_ptr<TADOConnection> Connect(const std::string& file,
                                               std::u16string_view password = u"") {
  auto c = std::make_unique<TADOConnection>(nullptr);
  c->SetName("ADOConnection1");
  c->SetLoginPrompt(false);
  c->SetMode(TConnectMode::cmShareDenyNone);
  c->SetConnectionString(CatalogueConnectionString(file, password));
  c->Open();
  return c;
}

}  // namespace db::test
