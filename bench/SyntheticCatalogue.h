// A synthetic catalogue of 10 000 organisations in 50 districts (with 30 000 photo rows), for
// the benchmarks that measure the catalogue at scale. Made once per run as res.dat in a
// temporary folder, with the catalogue's password, and removed at exit.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>

#include "app/DatabasePassword.h"
#include "framework/TextConv.h"
#include "framework/db/ADOConnection.h"

namespace bench {

class SyntheticCatalogue {
 public:
  SyntheticCatalogue()
      : dir_(std::filesystem::temp_directory_path() /
             ("catalogue-bench-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(dir_);
    db::CreateDatabase(File(), app::kDatabasePassword);
    db::TADOConnection c(nullptr);
    c.SetConnectionString(
        u"Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=" + fw::Utf8ToUtf16(File()) +
        u";Persist Security Info=False;Jet OLEDB:Database Password=" + app::kDatabasePassword);
    c.Open();
    c.Execute(kContent);
  }
  ~SyntheticCatalogue() { std::filesystem::remove_all(dir_); }
  SyntheticCatalogue(const SyntheticCatalogue&) = delete;
  SyntheticCatalogue& operator=(const SyntheticCatalogue&) = delete;

  // The folder, ending in a slash, as the catalogue's program folder.
  std::string Folder() const { return dir_.string() + "/"; }
  std::string File() const { return Folder() + "res.dat"; }

  // The one catalogue of this run.
  static const SyntheticCatalogue& Get() {
    static const SyntheticCatalogue catalogue;
    return catalogue;
  }

 private:
  static constexpr char16_t kContent[] =
      u"create table mun (id integer primary key, nam text);"
      u"create table uz (id integer primary key, id_mun integer, nam varchar(255),"
      u" vid varchar(255), nam1 text, addr text, dat_o date, phone varchar(64), razd longtext);"
      u"create table foto (id integer primary key, id_uz integer, foto varchar(255), fot blob);"
      u"with recursive n(i) as (select 1 union all select i + 1 from n where i < 50)"
      u" insert into mun select i, 'Район №' || i from n;"
      u"with recursive n(i) as (select 1 union all select i + 1 from n where i < 10000)"
      u" insert into uz select i, 1 + i % 50,"
      u" case i % 3 when 0 then 'Школа №' when 1 then 'Гимназия №' else 'ДДТ №' end || i,"
      u" case i % 4 when 0 then 'Галерея' when 1 then 'Школьный музей'"
      u"  when 2 then 'Военно-исторический музей' else 'Музей природы' end,"
      u" 'Полное имя №' || i, 'Адрес', '2001-09-01', '8 (4999) 1-11-11',"
      u" '1. Раздел\r\n2. Раздел' from n;"
      u"with recursive n(i) as (select 1 union all select i + 1 from n where i < 30000)"
      u" insert into foto select i, 1 + i % 10000, (1 + i % 10000) || '/' || i || '.jpg', null"
      u" from n;";
  std::filesystem::path dir_;
};

}  // namespace bench
