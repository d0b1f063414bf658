#include "framework/db/Filter.h"

#include <gtest/gtest.h>

#include "framework/db/DbError.h"
#include "framework/db/TestDatabase.h"

namespace db {
namespace {

// Columns as the organisation query's record set has them.
const std::vector<TColumnInfo> kColumns = {
    {"mun.nam", TFieldType::ftWideString, "mun", "nam", false},
    {"uz.nam", TFieldType::ftWideString, "uz", "nam", false},
    {"id", TFieldType::ftAutoInc, "uz", "id", true},
    {"vid", TFieldType::ftWideString, "uz", "vid", false},
    {"dat_o", TFieldType::ftDateTime, "uz", "dat_o", false},
};

TRow Row(TVariant munNam, TVariant uzNam, TVariant id, TVariant vid, TVariant date = {}) {
  return {munNam, uzNam, id, vid, date};
}

bool Matches(std::u16string_view text, const TRow& row) {
  return TFilterExpression(text, kColumns).Matches(row);
}

std::string FilterError(std::u16string_view text) {
  try {
    TFilterExpression(text, kColumns);
  } catch (const EDatabaseError& e) {
    return e.what();
  }
  return "accepted";
}

TEST(Filter, LikeIgnoresCaseInCyrillicAndLatin) {
  const TRow r = Row(u"Заречный район", u"ГИМНАЗИЯ №1 «Ёлочка» School", 4, u"Галерея");
  EXPECT_TRUE(Matches(u"([uz.nam] like '%гимназия%')", r));
  EXPECT_TRUE(Matches(u"[uz.nam] LIKE '%ёЛОЧКА%'", r));
  EXPECT_TRUE(Matches(u"[uz.nam] like '*school'", r));
  EXPECT_TRUE(Matches(u"[uz.nam] like 'г%1%ё*'", r));
  EXPECT_FALSE(Matches(u"[uz.nam] like '%елочка%'", r));  // Ё is its own letter
  EXPECT_FALSE(Matches(u"[uz.nam] like 'гимназия'", r));  // no wildcard: the whole text
  EXPECT_TRUE(Matches(u"[uz.nam] like '%'", r));
  // The containment test of the type filter also finds a type inside a longer one.
  EXPECT_TRUE(Matches(u"([vid] like '%Исторический музей%')",
                      Row(u"", u"", 1, u"Военно-исторический музей")));
  EXPECT_TRUE(LikeMatch(u"aaaaaaaaaaaaaaaaaaaab", u"%a%a%a%a%a%a%b"));
  EXPECT_FALSE(LikeMatch(u"aaaaaaaaaaaaaaaaaaaaa", u"%a%a%a%a%a%a%b"));
}

TEST(Filter, QuotesPercentSignsAndNumbers) {
  const TRow r = Row(u"Район", u"Школа «O'Хара» на 50%", 12, u"Галерея");
  EXPECT_TRUE(Matches(u"[uz.nam] like '%O''Хара%'", r));
  EXPECT_TRUE(Matches(u"[uz.nam] like '%50%%'", r));
  EXPECT_TRUE(Matches(u"[id] = 12 and [id] > 3.5 and [id] <= 12 and [id] <> 13", r));
  EXPECT_TRUE(Matches(u"[id] = '12'", r));
  EXPECT_FALSE(Matches(u"[id] = 'twelve'", r));
  EXPECT_TRUE(Matches(u"[id] like '1%'", r));
  EXPECT_TRUE(Matches(u"[vid] = 'галерея'", r));
  EXPECT_TRUE(Matches(u"vid < 'Музей' and vid >= 'Галерея'", r));
  const TRow dated = Row(u"", u"", 1, u"", EncodeDateTime(1987, 9, 1));
  EXPECT_TRUE(Matches(u"[dat_o] > '1987-08-31' and [dat_o] < '1987-09-02'", dated));
  EXPECT_FALSE(Matches(u"[dat_o] = 'сентябрь'", dated));
}

TEST(Filter, NullNeverMatches) {
  const TRow r = Row(TVariant(), TVariant(), TVariant(), TVariant());
  for (const char16_t* text : {u"[uz.nam] like '%'", u"[uz.nam] = ''", u"[uz.nam] <> 'x'",
                               u"[id] <> 1", u"[id] < 1 or [id] >= 1"})
    EXPECT_FALSE(Matches(text, r)) << ToUtf8(text);
}

TEST(Filter, AndBindsTighterThanOrAndParenthesesGroup) {
  const TRow r = Row(u"A", u"B", 1, u"C");
  EXPECT_TRUE(Matches(u"[vid] = 'x' and [id] = 2 or [id] = 1", r));
  EXPECT_FALSE(Matches(u"[vid] = 'x' and ([id] = 2 or [id] = 1)", r));
  EXPECT_TRUE(Matches(u"(([vid] like '%c%') and ([uz.nam] like '%b%'))", r));
}

TEST(Filter, BadExpressionsAreRefusedWithTheirPlace) {
  // A name with one quote, as the name filter builds it.
  EXPECT_EQ(FilterError(u"([uz.nam] like '%O'Хара%')"),
            "Filter expression: ')' expected at position 20");
  EXPECT_EQ(FilterError(u"[uz.nam] like '%abc"),
            "Filter expression: unterminated quoted text at position 20");
  EXPECT_EQ(FilterError(u"[nam] like 'x'"), "Filter expression: unknown field 'nam' at position 1");
  EXPECT_EQ(FilterError(u"[uz.nam] 'x'"), "Filter expression: operator expected at position 10");
  EXPECT_EQ(FilterError(u"[id] = abc"),
            "Filter expression: quoted text or number expected at position 8");
  EXPECT_EQ(FilterError(u"[id] = 1 and"), "Filter expression: field name expected at position 13");
  EXPECT_EQ(FilterError(u"[id] = 1 xor [id] = 2"),
            "Filter expression: unexpected text at position 10");
  EXPECT_EQ(FilterError(u"[id = 1"), "Filter expression: ']' expected at position 1");
  EXPECT_EQ(FilterError(u""), "Filter expression: field name expected at position 1");
  EXPECT_EQ(FilterError(std::u16string(200, u'(') + u"[id]=1" + std::u16string(200, u')')),
            "Filter expression: parentheses nested too deeply at position 101");
}

class FilteredDataSet : public ::testing::Test {
 protected:
  void SetUp() override {
    test::MakeDatabase(dir.File("res.dat"),
                       u"insert into mun values (1, 'Заречный'), (2, 'Озёрный');"
                       u"insert into uz (id, id_mun, nam, vid) values"
                       u" (1, 1, 'Школа №1', 'Галерея'), (2, 2, 'гимназия', 'Галерея'),"
                       u" (3, 1, 'Лицей', 'Школьный музей'), (4, 2, 'Школа №2', NULL);");
    conn = test::Connect(dir.File("res.dat"));
    q.SetName("ADOQuery2");
    q.SetConnection(conn.get());
    q.SetSQL(
        u"SELECT mun.nam, uz.nam, uz.id, uz.vid\r\nFROM uz INNER JOIN mun ON uz.id_mun = "
        u"mun.id\r\norder by uz.nam");
    q.Open();
  }

  std::vector<std::u16string> Names() {
    std::vector<std::u16string> out;
    for (q.First(); !q.Eof(); q.Next()) out.push_back(q.FieldByName("uz.nam").AsString());
    return out;
  }

  test::TempFolder dir;
  std::unique_ptr<TADOConnection> conn;
  TADOQuery q{nullptr};
};

TEST_F(FilteredDataSet, CursorCountAndRecNoSeeOnlyMatchingRowsInOrder) {
  q.SetFilter(u"([vid] like '%Галерея%') and ([uz.nam] like '%Ш%')");
  q.SetFiltered(true);
  EXPECT_EQ(q.RecordCount(), 1);
  EXPECT_EQ(Names(), std::vector<std::u16string>{u"Школа №1"});
  q.SetFiltered(false);
  q.SetFilter(u"([vid] like '%галерея%')");
  q.SetFiltered(true);
  EXPECT_EQ(Names(), (std::vector<std::u16string>{u"гимназия", u"Школа №1"}));
  q.First();
  q.Next();
  EXPECT_EQ(q.RecNo(), 2);
  // Changing the text while filtered re-applies it from the first row.
  q.SetFilter(u"[uz.nam] like 'школа%'");
  EXPECT_EQ(q.RecNo(), 1);
  EXPECT_EQ(Names(), (std::vector<std::u16string>{u"Школа №1", u"Школа №2"}));
  // Nothing passes: empty, at the end, no row.
  q.SetFilter(u"[uz.nam] like 'нет%'");
  EXPECT_EQ(q.RecordCount(), 0);
  EXPECT_TRUE(q.Eof());
  EXPECT_TRUE(q.FieldByName("uz.nam").IsNull());
  q.SetFiltered(false);
  EXPECT_EQ(q.RecordCount(), 4);
  // A filter set on a closed dataset applies when it opens.
  q.Close();
  q.SetFilter(u"[id] >= 3");
  q.SetFiltered(true);
  q.Open();
  EXPECT_EQ(Names(), (std::vector<std::u16string>{u"Лицей", u"Школа №2"}));
}

TEST_F(FilteredDataSet, BadFilterChangesNothing) {
  q.SetFilter(u"[id] = 1");
  q.SetFiltered(true);
  q.SetFiltered(false);
  q.Next();
  q.SetFilter(u"([uz.nam] like '%O'Хара%')");
  try {
    q.SetFiltered(true);
    ADD_FAILURE() << "accepted";
  } catch (const EDatabaseError& e) {
    EXPECT_STREQ(e.what(), "ADOQuery2: Filter expression: ')' expected at position 20");
  }
  EXPECT_FALSE(q.Filtered());
  EXPECT_EQ(q.RecordCount(), 4);
  EXPECT_EQ(q.RecNo(), 2);
  q.SetFilter(u"[id] = 1");
  q.SetFiltered(true);
  EXPECT_THROW(q.SetFilter(u"[vid] like"), EDatabaseError);
  EXPECT_EQ(q.Filter(), u"[id] = 1");
  EXPECT_EQ(q.RecordCount(), 1);
}

}  // namespace
}  // namespace db
