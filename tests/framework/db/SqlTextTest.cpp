#include "framework/db/SqlText.h"

#include <gtest/gtest.h>

namespace db {
namespace {

TEST(SqlText, OrderByTermsGetTheRussianCollation) {
  EXPECT_EQ(EngineSql(u"select * from mun order by nam"),
            u"select * from mun order by nam COLLATE RU");
  EXPECT_EQ(EngineSql(u"SELECT mun.nam, uz.nam, uz.id, uz.vid\r\nFROM uz INNER JOIN mun ON "
                      u"uz.id_mun = mun.id\r\norder by uz.nam"),
            u"SELECT mun.nam, uz.nam, uz.id, uz.vid\r\nFROM uz INNER JOIN mun ON "
            u"uz.id_mun = mun.id\r\norder by uz.nam COLLATE RU");
  EXPECT_EQ(EngineSql(u"select a from t ORDER BY a desc, lower(b) , c nulls last limit 3"),
            u"select a from t ORDER BY a COLLATE RU desc, lower(b) COLLATE RU , c COLLATE RU "
            u"nulls last limit 3");
  EXPECT_EQ(EngineSql(u"select (select x from u order by x limit 1) from t order by 1;"),
            u"select (select x from u order by x COLLATE RU limit 1) from t order by 1 COLLATE "
            u"RU;");
  // Already collated terms, texts without ORDER BY, and the words inside quotes stay.
  EXPECT_EQ(EngineSql(u"select * from t order by a collate binary"),
            u"select * from t order by a collate binary");
  EXPECT_EQ(EngineSql(u"select * from uz where id=:p1"), u"select * from uz where id=:p1");
  EXPECT_EQ(EngineSql(u"select 'order by x' from t -- order by y"),
            u"select 'order by x' from t -- order by y");
}

TEST(SqlText, ParameterNamesSkipQuotesAndComments) {
  EXPECT_EQ(ParameterNames(u"select * from uz where id=:p1"), std::vector<std::string>{"p1"});
  EXPECT_EQ(ParameterNames(u"select ':x', \":y\", [:z] /* :w */ from t where a=:b or c=:b and "
                           u"d=:Дата -- :v"),
            (std::vector<std::string>{"b", "Дата"}));
  EXPECT_TRUE(ParameterNames(u"select '::' from t where a = 1").empty());
}

}  // namespace
}  // namespace db
