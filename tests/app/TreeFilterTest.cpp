// The tree's filter: the expressions it builds and what they select on the fixture catalogue
// through the data layer's own filter.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "Catalogue.h"
#include "app/TreeFilter.h"

namespace app::test {
namespace {

TEST(TreeFilterExpression, JoinsTheConditionsThatApply) {
  EXPECT_EQ(TreeFilterExpression(u"Все", u""), u"");
  EXPECT_EQ(TreeFilterExpression(u"Галерея", u""), u"([vid] like '%Галерея%')");
  EXPECT_EQ(TreeFilterExpression(u"Все", u"СОШ"), u"([uz.nam] like '%СОШ%')");
  EXPECT_EQ(TreeFilterExpression(u"Галерея", u"СОШ"),
            u"([vid] like '%Галерея%') and ([uz.nam] like '%СОШ%')");
  // Only the exact "Все" means every type.
  EXPECT_EQ(TreeFilterExpression(u"все", u""), u"([vid] like '%все%')");
  EXPECT_EQ(TreeFilterExpression(u"Все", u"O'Х"), u"([uz.nam] like '%O''Х%')");
  EXPECT_EQ(TreeFilterExpression(u"Все", u"''"), u"([uz.nam] like '%''''%')");
}

class TreeFilterOnFixtures : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    conn = ConnectCatalogue(FixtureFolder()).release();
    q = MakeQuery(*conn, "ADOQuery2", kOrganisationsSql).release();
    q->Open();
  }
  static void TearDownTestSuite() {
    delete q;
    delete conn;
  }

  // The keys of the organisations the filter lets through, sorted.
  static std::vector<int> Keys(const std::u16string& type, const std::u16string& name) {
    ApplyTreeFilter(*q, TreeFilterExpression(type, name));
    std::vector<int> keys;
    for (q->First(); !q->Eof(); q->Next()) keys.push_back(int(q->Fields(2).AsInteger()));
    std::sort(keys.begin(), keys.end());
    return keys;
  }

  static inline db::TADOConnection* conn = nullptr;
  static inline db::TADOQuery* q = nullptr;
};

TEST_F(TreeFilterOnFixtures, TypeNameAndBoth) {
  // Every organisation with a known district (6's district does not exist).
  EXPECT_EQ(Keys(u"Все", u""), (std::vector<int>{1, 2, 3, 4, 5, 7, 8, 9, 10, 11}));
  EXPECT_FALSE(q->Filtered());
  EXPECT_EQ(Keys(u"Галерея", u""), (std::vector<int>{1, 9}));
  // Cyrillic in another case: the data layer's like ignores case.
  EXPECT_EQ(Keys(u"Все", u"школа с"), (std::vector<int>{10, 11}));
  EXPECT_EQ(Keys(u"Галерея", u"школа"), (std::vector<int>{9}));
  EXPECT_TRUE(q->Filtered());
  EXPECT_EQ(Keys(u"Все", u"нет такой"), (std::vector<int>{}));
  EXPECT_EQ(q->RecordCount(), 0);
  // Back to everything.
  EXPECT_EQ(Keys(u"Все", u"").size(), 10u);
}

TEST_F(TreeFilterOnFixtures, AQuoteIsAnOrdinaryCharacterAndPercentAWildcard) {
  EXPECT_EQ(Keys(u"Все", u"O'Х"), (std::vector<int>{7}));
  EXPECT_EQ(Keys(u"Все", u"'"), (std::vector<int>{7}));
  EXPECT_EQ(Keys(u"Все", u"''"), (std::vector<int>{}));
  EXPECT_EQ(Keys(u"Все", u"100%"), (std::vector<int>{8}));
  EXPECT_EQ(Keys(u"Все", u"лицей%успеха"), (std::vector<int>{8}));
  EXPECT_EQ(Keys(u"Все", u"%"), (std::vector<int>{1, 2, 3, 4, 5, 7, 8, 9, 10, 11}));
}

}  // namespace
}  // namespace app::test
