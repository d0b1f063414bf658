// The catalogue as a Jet file delivers it (a fake source: the stream written here), made into
// the program's own format and read back through the data layer.
#include <gtest/gtest.h>

#include "framework/db/ADODataSet.h"
#include "framework/db/DbError.h"
#include "framework/db/Field.h"
#include "framework/db/JetCatalogue.h"
#include "framework/db/TestDatabase.h"

namespace db {
namespace {

using K = TJetColumnKind;

// Loads a stream into a new in-memory database; the database is returned loaded.
SqliteHandle Load(const std::string& stream, TJetCatalogueCounts* counts = nullptr) {
  sqlite3* raw = nullptr;
  sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READWRITE, nullptr);
  SqliteHandle h(raw);
  TJetCatalogueLoader loader(raw);
  TJetStreamParser parser(loader);
  parser.Feed({reinterpret_cast<const std::uint8_t*>(stream.data()), stream.size()});
  parser.Finish();
  loader.Finish();
  if (counts) *counts = loader.Counts();
  return h;
}

std::string LoadError(const std::string& stream) {
  try {
    Load(stream);
  } catch (const EDatabaseError& e) {
    return e.what();
  }
  return "loaded";
}

void Mun(TJetStreamWriter& w, std::initializer_list<std::pair<int, const char*>> rows) {
  w.BeginTable("MUN", {{"nam", K::Text}, {"id", K::Counter}});
  for (const auto& [id, nam] : rows) {
    if (nam)
      w.Text(nam);
    else
      w.Null();
    w.Integer(id);
    w.EndRow();
  }
  w.EndTable(rows.size());
}

struct TOrg {
  int id, mun;
  const char* nam;
  const char* vid;
};

void Uz(TJetStreamWriter& w, std::initializer_list<TOrg> rows) {
  w.BeginTable("uz", {{"id", K::Counter},
                      {"id_mun", K::Integer},
                      {"nam", K::Text},
                      {"vid", K::Text},
                      {"nam1", K::Text},
                      {"addr", K::Text},
                      {"dat_o", K::DateTime},
                      {"phone", K::Text},
                      {"razd", K::LongText},
                      {"note", K::Real}});
  for (const TOrg& o : rows) {
    w.Integer(o.id);
    w.Integer(o.mun);
    w.Text(o.nam);
    w.Text(o.vid);
    w.Text(std::string("Полное ") + o.nam);
    w.Text("ул. Мира, 1");
    w.Date("1987-09-01 00:00:00");
    w.Null();
    w.Text("Зал 1\r\nЗал 2");
    w.Real(1.5);
    w.EndRow();
  }
  w.EndTable(rows.size());
}

void Foto(TJetStreamWriter& w, bool withBlob) {
  w.BeginTable("foto",
               {{"id", K::Counter}, {"id_uz", K::Integer}, {"foto", K::Text}, {"fot", K::Blob}});
  const std::uint8_t bytes[] = {0xFF, 0xD8, 0, 1, 2, 0xFF, 0xD9};
  w.Integer(1);
  w.Integer(11);
  w.Text("1\\zal.jpg");
  if (withBlob)
    w.Blob(bytes);
  else
    w.Null();
  w.EndRow();
  w.EndTable(1);
}

std::string Catalogue() {
  TJetStreamWriter w;
  Mun(w, {{1, "Заречный район"}, {2, "Ёлкинский район"}, {3, "Елкинский район"}, {4, nullptr}});
  Uz(w, {{11, 1, "Школа №2", "Краеведческий"},
         {12, 2, "школа №10", "Военно-исторический"},
         {13, 3, "Гимназия", "Краеведческий"},
         {14, 9, "Лицей", "Краеведческий"}});
  Foto(w, true);
  w.End();
  return w.Take();
}

TEST(JetCatalogue, KeepsEveryRowAndBlobInTheProgramsFormat) {
  TJetCatalogueCounts n;
  SqliteHandle h = Load(Catalogue(), &n);
  EXPECT_EQ(n.mun, 4u);
  EXPECT_EQ(n.uz, 4u);
  EXPECT_EQ(n.foto, 1u);
  EXPECT_EQ(n.blobs, 1u);
  EXPECT_EQ(n.blobBytes, 7u);
  // Written as a file of the program's format and opened as the program opens it.
  test::TempFolder dir;
  const std::string file = dir.File("res.dat");
  WriteCatalogueFile(h.get(), file, test::kPassword);
  auto c = test::Connect(file, test::kPassword);

  TADOQuery q(nullptr);
  q.SetConnection(c.get());
  q.SetSQL(
      u"SELECT mun.nam, uz.nam, uz.id, uz.vid\r\nFROM uz INNER JOIN mun ON uz.id_mun = "
      u"mun.id\r\norder by uz.nam");
  q.Open();
  // The organisation of no district is absent; the order is the Russian one; the key is the
  // auto-numbered field the tree reads by position.
  ASSERT_EQ(q.RecordCount(), 3);
  EXPECT_EQ(q.Fields(1).AsString(), u"Гимназия");
  EXPECT_EQ(q.Fields(0).AsString(), u"Елкинский район");
  EXPECT_EQ(q.Fields(2).DataType(), TFieldType::ftAutoInc);
  q.Next();
  EXPECT_EQ(q.Fields(1).AsString(), u"школа №10");
  q.Next();
  EXPECT_EQ(q.Fields(1).AsString(), u"Школа №2");
  q.SetFilter(u"[uz.nam] like '%ШКОЛА%' and vid like 'Военно%'");
  q.SetFiltered(true);
  EXPECT_EQ(q.RecordCount(), 1);
  EXPECT_EQ(q.Fields(2).AsInteger(), 12);

  TADOQuery card(nullptr);
  card.SetConnection(c.get());
  card.SetSQL(u"select * from uz where id=11");
  card.Open();
  EXPECT_EQ(card.FieldByName("dat_o").DataType(), TFieldType::ftDateTime);
  EXPECT_EQ(card.FieldByName("dat_o").Value(), TVariant(EncodeDateTime(1987, 9, 1)));
  EXPECT_EQ(card.FieldByName("razd").DataType(), TFieldType::ftWideMemo);
  EXPECT_TRUE(card.FieldByName("phone").Value().IsNull());
  EXPECT_EQ(card.FieldByName("note").Value(), TVariant(1.5));

  TADOQuery photos(nullptr);
  photos.SetConnection(c.get());
  photos.SetSQL(u"SELECT * FROM foto where id_uz=11");
  photos.Open();
  EXPECT_EQ(photos.FieldByName("foto").AsString(), u"1\\zal.jpg");
  EXPECT_EQ(photos.FieldByName("fot").Value(), TVariant(TBytes{0xFF, 0xD8, 0, 1, 2, 0xFF, 0xD9}));

  // The copy is the program's own file: the maintenance window can post to it.
  photos.Edit();
  photos.FieldByName("fot").SetValue(TVariant(TBytes{1, 2}));
  photos.Post();
}

// A column the program does not use is declared after its kind, so that it reads back as a
// value of that kind.
TEST(JetCatalogue, OtherColumnsKeepTheirKind) {
  TJetStreamWriter w;
  w.BeginTable("mun", {{"id", K::Counter},
                       {"nam", K::Text},
                       {"c", K::Counter},
                       {"i", K::Integer},
                       {"r", K::Real},
                       {"t", K::Text},
                       {"m", K::LongText},
                       {"d", K::DateTime},
                       {"b", K::Blob},
                       {"f", K::Boolean}});
  w.EndTable(0);
  Uz(w, {});
  Foto(w, false);
  w.End();
  SqliteHandle h = Load(w.Take());
  std::vector<std::string> types;
  SqliteStatement s = Prepare(h.get(), u"select lower(type), pk from pragma_table_info('mun')");
  while (sqlite3_step(s.get()) == SQLITE_ROW)
    types.push_back(reinterpret_cast<const char*>(sqlite3_column_text(s.get(), 0)) +
                    std::string(sqlite3_column_int(s.get(), 1) ? " key" : ""));
  EXPECT_EQ(types, (std::vector<std::string>{"integer key", "text", "integer", "integer", "real",
                                             "text", "longtext", "date", "blob", "bool"}));
}

// The key numbers itself when given a null: a row without an id would come back under an id
// the file never gave it, so the file is refused instead (and nothing is made up or dropped).
TEST(JetCatalogue, ARowWithoutAnIdIsRefused) {
  {
    TJetStreamWriter w;
    w.BeginTable("mun", {{"nam", K::Text}, {"id", K::Counter}});
    w.Text("Район");
    w.Null();
    w.EndRow();
    EXPECT_EQ(LoadError(w.Take()), "a row of table 'mun' has no id");
  }
  {
    TJetStreamWriter w;
    Mun(w, {{1, "Район"}});
    Uz(w, {{11, 1, "Школа", "Краеведческий"}});
    w.BeginTable("foto",
                 {{"id", K::Integer}, {"id_uz", K::Integer}, {"foto", K::Text}, {"fot", K::Blob}});
    w.Integer(1);
    w.Integer(11);
    w.Null();
    w.Null();
    w.EndRow();
    w.Null();
    w.Integer(11);
    w.Text("1\\zal.jpg");
    w.Null();
    w.EndRow();
    EXPECT_EQ(LoadError(w.Take()), "a row of table 'foto' has no id");
  }
  // Other columns may be null, the references among them.
  {
    TJetStreamWriter w;
    Mun(w, {{1, nullptr}});
    w.BeginTable("foto",
                 {{"id", K::Counter}, {"id_uz", K::Integer}, {"foto", K::Text}, {"fot", K::Blob}});
    w.Integer(1);
    w.Null();
    w.Null();
    w.Null();
    w.EndRow();
    w.EndTable(1);
    Uz(w, {});
    w.End();
    SqliteHandle h = Load(w.Take());
    SqliteStatement s = Prepare(h.get(), u"select id, id_uz is null from foto");
    ASSERT_EQ(sqlite3_step(s.get()), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(s.get(), 0), 1);
    EXPECT_EQ(sqlite3_column_int(s.get(), 1), 1);
  }
}

TEST(JetCatalogue, RefusesWhatIsNotTheCatalogue) {
  {
    TJetStreamWriter w;
    Mun(w, {{1, "a"}});
    Foto(w, false);
    w.End();
    EXPECT_EQ(LoadError(w.Take()), "it has no table 'uz'");
  }
  {
    TJetStreamWriter w;
    Mun(w, {{1, "a"}});
    Mun(w, {{1, "a"}});
    EXPECT_EQ(LoadError(w.Take()), "table 'MUN' comes twice");
  }
  {
    TJetStreamWriter w;
    w.BeginTable("MSysObjects", {{"id", K::Integer}});
    EXPECT_EQ(LoadError(w.Take()),
              "it holds table 'MSysObjects', which is none of the catalogue's");
  }
  {
    TJetStreamWriter w;
    w.BeginTable("mun", {{"id", K::Counter}});
    EXPECT_EQ(LoadError(w.Take()), "table 'mun' has no column 'nam'");
  }
  {
    TJetStreamWriter w;
    w.BeginTable("mun", {{"id", K::Text}, {"nam", K::Text}});
    EXPECT_EQ(LoadError(w.Take()), "column 'mun.id' is not an integer");
  }
  {
    TJetStreamWriter w;
    w.BeginTable("foto",
                 {{"id", K::Counter}, {"id_uz", K::Integer}, {"foto", K::Text}, {"fot", K::Text}});
    EXPECT_EQ(LoadError(w.Take()), "column 'foto.fot' is not a blob");
  }
  {
    TJetStreamWriter w;
    w.BeginTable("mun", {{"id", K::Counter}, {"nam", K::Text}, {"NAM", K::Text}});
    EXPECT_EQ(LoadError(w.Take()), "table 'mun' has two columns 'NAM'");
  }
  // A damaged file may repeat a key.
  {
    TJetStreamWriter w;
    Mun(w, {{1, "a"}, {1, "b"}});
    EXPECT_EQ(LoadError(w.Take()),
              "a row of table 'mun' cannot be kept: UNIQUE constraint failed: mun.id");
  }
}

}  // namespace
}  // namespace db
