#include "CatalogueSource.h"

#include "app/DatabasePassword.h"
#include "framework/db/ADOConnection.h"
#include "framework/db/ADODataSet.h"

namespace jet {

namespace {

using db::TVariant;

std::vector<Row> ReadRows(db::TADOConnection& conn, const std::u16string& table,
                          const std::vector<Column>& columns) {
  std::u16string list;
  for (const Column& c : columns) list += (list.empty() ? u"" : u", ") + c.name;
  db::TADOQuery query(nullptr);
  query.SetConnection(&conn);
  query.SetSQL(u"select " + list + u" from " + table + u" order by id");
  query.Open();
  std::vector<Row> rows;
  for (query.First(); !query.Eof(); query.Next()) {
    Row row;
    for (int i = 0; i < int(columns.size()); ++i) row.push_back(query.Fields(i).Value());
    rows.push_back(std::move(row));
  }
  return rows;
}

std::u16string RussianDate(db::TDateTime date) {
  // Split as our format stores it, then reorder.
  const std::string iso = db::FormatIsoDate(date);  // YYYY-MM-DD[ HH:MM:SS]
  std::string text = iso.substr(8, 2) + "." + iso.substr(5, 2) + "." + iso.substr(0, 4);
  if (iso.size() > 10) text += iso.substr(10);
  return db::ToUtf16(text);
}

}  // namespace

Database CatalogueSchema() {
  Database d;
  d.password = app::kDatabasePassword;
  d.created = db::EncodeDateTime(2009, 3, 17, 11, 42, 5);
  d.tables = {{u"mun", {{u"id", ColumnType::LongInteger}, {u"nam", ColumnType::Text}}, {}},
              {u"uz",
               {{u"id", ColumnType::LongInteger, 255, true},
                {u"id_mun", ColumnType::LongInteger},
                {u"nam", ColumnType::Text},
                {u"vid", ColumnType::Text},
                {u"nam1", ColumnType::Text},
                {u"addr", ColumnType::Text},
                {u"dat_o", ColumnType::DateTime},
                {u"phone", ColumnType::Text, 64},
                {u"razd", ColumnType::Memo}},
               {}},
              {u"foto",
               {{u"id", ColumnType::LongInteger},
                {u"id_uz", ColumnType::LongInteger},
                {u"foto", ColumnType::Text},
                {u"fot", ColumnType::LongBinary}},
               {}}};
  return d;
}

Database ReadCatalogue(const std::string& file) {
  db::TADOConnection conn(nullptr);
  conn.SetMode(db::TConnectMode::cmRead);
  conn.SetConnectionString(u"Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=" +
                           db::ToUtf16(file) + u";Jet OLEDB:Database Password=" +
                           app::kDatabasePassword);
  conn.Open();

  Database d = CatalogueSchema();
  for (Table& t : d.tables) t.rows = ReadRows(conn, t.name, t.columns);
  Table& uz = d.tables[1];
  constexpr std::size_t kDatO = 6;
  bool datesOnly = true;
  for (const Row& row : uz.rows)
    datesOnly = datesOnly && (row[kDatO].IsNull() || row[kDatO].VarType() == db::TVarType::Date);
  if (!datesOnly) {
    uz.columns[kDatO].type = ColumnType::Text;
    for (Row& row : uz.rows)
      if (!row[kDatO].IsNull() && row[kDatO].VarType() == db::TVarType::Date)
        row[kDatO] = TVariant(RussianDate(row[kDatO].Date()));
  }
  return d;
}

}  // namespace jet
