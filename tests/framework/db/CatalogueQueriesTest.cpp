// The catalogue's datasets with their texts exactly as the program writes them.
#include <gtest/gtest.h>

#include "framework/db/DbError.h"
#include "framework/db/TestDatabase.h"

namespace db {
namespace {

using test::Connect;
using test::MakeDatabase;
using test::TempFolder;

constexpr char16_t kInserts[] =
    u"insert into mun values (1, 'Заречный район'), (2, 'Берёзовский район'),"
    u" (3, 'Озёрный район');"
    u"insert into uz values"
    u" (4, 1, 'Школа №2', 'Галерея', 'Школа №2 пос. Заречный', 'ул. Мира, 1', '1987-09-01',"
    u"  '8 (800) 000-00-01', 'Первый зал\r\nВторой зал'),"
    u" (5, 2, 'Гимназия', 'Музей боевой славы', 'Гимназия г. Берёзово', 'пр. Ленина, 3',"
    u"  'осень 1975 года', '', 'Зал'),"
    u" (6, 1, 'Атласовская школа', 'Школьный музей', 'Полное имя', 'Адрес', '2001-05-03',"
    u"  NULL, 'Разделы'),"
    u" (7, 9, 'Без района', 'Галерея', 'x', 'x', '2001-05-03', 'x', 'x');"
    u"insert into foto values (1, 4, '4/1.jpg', NULL), (2, 4, '4/2.png', NULL),"
    u" (3, 5, '5/1.jpg', NULL), (4, 4, NULL, NULL);";

class CatalogueQueries : public ::testing::Test {
 protected:
  void SetUp() override {
    MakeDatabase(dir.File("res.dat"), kInserts);
    conn = Connect(dir.File("res.dat"));
  }

  // A query named and set up as the main window declares it.
  std::unique_ptr<TADOQuery> Query(const std::string& name, const std::u16string& sql) {
    auto q = std::make_unique<TADOQuery>(nullptr);
    q->SetName(name);
    q->SetConnection(conn.get());
    q->SetSQL(sql);
    return q;
  }

  TempFolder dir;
  std::unique_ptr<TADOConnection> conn;
};

std::vector<std::u16string> Column(TDataSet& ds, int field) {
  std::vector<std::u16string> out;
  for (ds.First(); !ds.Eof(); ds.Next()) out.push_back(ds.Fields(field).AsString());
  return out;
}

TEST_F(CatalogueQueries, DistrictsInRussianOrder) {
  auto q = Query("ADOQuery1", u"select * from mun order by nam");
  q->Open();
  EXPECT_EQ(q->RecordCount(), 3);
  EXPECT_EQ(Column(*q, 1), (std::vector<std::u16string>{u"Берёзовский район", u"Заречный район",
                                                        u"Озёрный район"}));
  EXPECT_EQ(q->FieldByName("ID").AsInteger(), 3);  // Eof leaves the cursor on the last row
}

TEST_F(CatalogueQueries, OrganisationsWithDeclaredFieldsByPosition) {
  auto q = Query("ADOQuery2",
                 u"SELECT mun.nam, uz.nam, uz.id, uz.vid\r\n"
                 u"FROM uz INNER JOIN mun ON uz.id_mun = mun.id\r\norder by uz.nam");
  // The declared fields of the main window, in their order.
  TWideStringField munNam(nullptr), uzNam(nullptr);
  TAutoIncField id(nullptr);
  munNam.SetFieldName("mun.nam");
  uzNam.SetFieldName("uz.nam");
  id.SetFieldName("id");
  for (TField* f :
       {static_cast<TField*>(&munNam), static_cast<TField*>(&uzNam), static_cast<TField*>(&id)})
    f->SetDataSet(q.get());
  q->Open();
  ASSERT_EQ(q->FieldCount(), 3);
  EXPECT_EQ(&q->Fields(2), &id);
  // The organisation without a district is dropped by the join.
  EXPECT_EQ(Column(*q, 1),
            (std::vector<std::u16string>{u"Атласовская школа", u"Гимназия", u"Школа №2"}));
  EXPECT_EQ(Column(*q, 0), (std::vector<std::u16string>{u"Заречный район", u"Берёзовский район",
                                                        u"Заречный район"}));
  q->First();
  EXPECT_EQ(q->Fields(2).AsInteger(), 6);
  // "vid" is in the record set (the filter sees it) but has no field object.
  try {
    q->FieldByName("vid");
    ADD_FAILURE() << "vid found";
  } catch (const EDatabaseError& e) {
    EXPECT_STREQ(e.what(), "ADOQuery2: Field 'vid' not found");
  }
  q->SetFilter(u"([vid] like '%Галерея%')");
  q->SetFiltered(true);
  EXPECT_EQ(Column(*q, 1), std::vector<std::u16string>{u"Школа №2"});
  // A declared field the result lacks stops the open.
  q->Close();
  TWideStringField missing(nullptr);
  missing.SetFieldName("mun.addr");
  missing.SetDataSet(q.get());
  try {
    q->Open();
    ADD_FAILURE() << "opened";
  } catch (const EDatabaseError& e) {
    EXPECT_STREQ(e.what(), "ADOQuery2: Field 'mun.addr' not found");
  }
  EXPECT_FALSE(q->Active());
}

TEST_F(CatalogueQueries, CardByIntegerKeyInAWideTextParameter) {
  auto q = Query("ADOQuery3", u"select * from uz where id=:p1");
  TParameter& p1 = q->Parameters().ParamByName("p1");
  p1.DataType = TFieldType::ftWideString;
  p1.Size = 510;
  p1.Value = TVariant(4);
  q->Open();
  ASSERT_EQ(q->RecordCount(), 1);
  EXPECT_EQ(q->FieldByName("nam1").Value().ToOleStr(), u"Школа №2 пос. Заречный");
  EXPECT_EQ(q->FieldByName("razd").Value().ToOleStr(), u"Первый зал\r\nВторой зал");
  const TVariant opened = q->FieldByName("dat_o").Value();
  ASSERT_EQ(opened.VarType(), TVarType::Date);
  EXPECT_EQ(opened.ToOleStr(), DateToStr(EncodeDateTime(1987, 9, 1)));

  // Re-opening after changing the parameter re-runs the query; a text date stays text and an
  // empty phone is empty text, not null.
  q->Close();
  p1.Value = TVariant(5);
  q->Open();
  EXPECT_EQ(q->FieldByName("dat_o").Value().ToOleStr(), u"осень 1975 года");
  EXPECT_EQ(q->FieldByName("phone").Value().ToOleStr(), u"");

  q->Close();
  p1.Value = TVariant(6);
  q->Open();
  EXPECT_TRUE(q->FieldByName("phone").IsNull());
  EXPECT_EQ(q->FieldByName("phone").AsString(), u"");
  EXPECT_THROW(q->FieldByName("phone").Value().ToOleStr(), EVariantError);

  // A key that is gone: no row, every field null.
  q->Close();
  p1.Value = TVariant(99);
  q->Open();
  EXPECT_EQ(q->RecordCount(), 0);
  EXPECT_TRUE(q->Eof());
  EXPECT_EQ(q->RecNo(), 0);
  try {
    q->FieldByName("nam1").Value().ToOleStr();
    ADD_FAILURE() << "converted";
  } catch (const EVariantError& e) {
    EXPECT_STREQ(e.what(), "Could not convert variant of type (Null) into type (OleStr)");
  }
}

TEST_F(CatalogueQueries, PhotosCycleWithRecNo) {
  auto q = Query("ADOQuery4", u"SELECT * FROM foto where id_uz=:p1");
  q->Parameters().ParamByName("p1").DataType = TFieldType::ftWideString;
  q->Parameters().ParamByName("p1").Value = TVariant(u"4");  // the stored initial value
  q->Open();
  ASSERT_EQ(q->RecordCount(), 3);
  EXPECT_EQ(q->RecNo(), 1);
  EXPECT_EQ(q->FieldByName("foto").AsString(), u"4/1.jpg");
  q->Next();
  q->Next();
  EXPECT_EQ(q->RecNo(), 3);
  EXPECT_EQ(q->FieldByName("foto").AsString(), u"");  // null path reads as empty text
  EXPECT_FALSE(q->Eof());
  q->Next();
  EXPECT_TRUE(q->Eof());
  EXPECT_EQ(q->RecNo(), 3);
  q->First();
  EXPECT_EQ(q->RecNo(), 1);
  q->Last();
  q->Prior();
  EXPECT_EQ(q->RecNo(), 2);
  EXPECT_EQ(q->FieldByName("id").AsInteger(), 2);
}

TEST_F(CatalogueQueries, TableAndClosedDatasetErrors) {
  TADOTable t(nullptr);
  t.SetName("ADOTable1");
  t.SetConnection(conn.get());
  t.SetTableName("uz");
  for (auto op : {+[](TADOTable& x) { x.Edit(); }, +[](TADOTable& x) { x.Next(); },
                  +[](TADOTable& x) { (void)x.RecordCount(); }}) {
    try {
      op(t);
      ADD_FAILURE() << "no error";
    } catch (const EDatabaseError& e) {
      EXPECT_STREQ(e.what(), "ADOTable1: Cannot perform this operation on a closed dataset");
    }
  }
  t.SetActive(true);
  EXPECT_EQ(t.RecordCount(), 4);
  EXPECT_EQ(t.FieldByName("id").DataType(), TFieldType::ftAutoInc);
  EXPECT_EQ(t.FieldByName("razd").DataType(), TFieldType::ftWideMemo);
  // Disconnecting closes the connection's datasets.
  conn->Close();
  EXPECT_FALSE(t.Active());
  // Opening a dataset connects its connection again.
  t.Open();
  EXPECT_TRUE(conn->Connected());
  // A dataset outlives its connection without it.
  conn.reset();
  EXPECT_EQ(t.Connection(), nullptr);
  EXPECT_FALSE(t.Active());
}

TEST_F(CatalogueQueries, BadSqlRaisesTheEngineMessage) {
  auto q = Query("ADOQuery1", u"select * from nowhere");
  try {
    q->Open();
    ADD_FAILURE() << "opened";
  } catch (const EDatabaseError& e) {
    EXPECT_STREQ(e.what(), "no such table: nowhere");
  }
  EXPECT_FALSE(q->Active());
}

}  // namespace
}  // namespace db
