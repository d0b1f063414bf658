// The sample catalogue's organisations: the short name the tree shows and the full name the
// card shows name the same organisation.
#include <gtest/gtest.h>

#include "framework/db/TestDatabase.h"

namespace db {
namespace {

// The short name as the full name spells it: the leading abbreviation written out.
std::u16string SpelledOut(std::u16string shortName) {
  static const std::pair<std::u16string, std::u16string> kAbbreviations[] = {
      {u"СОШ ", u"Средняя общеобразовательная школа "},
      {u"ООШ ", u"Основная общеобразовательная школа "},
      {u"ДДТ ", u"Дом детского творчества "},
      {u"ЦДО ", u"Центр дополнительного образования "},
  };
  for (const auto& [abbreviation, words] : kAbbreviations)
    if (shortName.starts_with(abbreviation)) return words + shortName.substr(abbreviation.size());
  return shortName;
}

// Without quotation marks of any kind, which the full name puts around its proper names.
std::u16string Unquoted(const std::u16string& text) {
  std::u16string out;
  for (char16_t c : text)
    if (c != u'«' && c != u'»' && c != u'„' && c != u'“' && c != u'"') out += c;
  return out;
}

// The rule: the full name, quotes aside, holds the spelled-out short name word for word.
bool NamesAgree(const std::u16string& shortName, const std::u16string& fullName) {
  return !shortName.empty() &&
         Unquoted(fullName).find(Unquoted(SpelledOut(shortName))) != std::u16string::npos;
}

TEST(SampleNames, TheRuleTellsOneOrganisationFromAnother) {
  EXPECT_TRUE(NamesAgree(u"Детский сад №2 «Исток»",
                         u"Муниципальное бюджетное дошкольное образовательное учреждение "
                         u"«Детский сад №2 «Исток»» пос. Велморье Велморский район"));
  EXPECT_FALSE(NamesAgree(u"Детский сад №2 «Исток»",
                          u"Муниципальное бюджетное дошкольное образовательное учреждение "
                          u"«Детский сад №2 «Берёзка»» пос. Велморье Велморский район"));
  EXPECT_TRUE(NamesAgree(u"СОШ №5 с. Ключи",
                         u"Муниципальное бюджетное общеобразовательное учреждение «Средняя "
                         u"общеобразовательная школа №5 с. Ключи» Заречный район"));
  EXPECT_FALSE(NamesAgree(u"СОШ №5 с. Ключи",
                          u"Муниципальное бюджетное общеобразовательное учреждение «Средняя "
                          u"общеобразовательная школа №15 с. Ключи» Заречный район"));
  EXPECT_FALSE(NamesAgree(u"ООШ с. Ключи", u"… «Основная общеобразовательная школа с. Ёлкино»"));
  EXPECT_FALSE(NamesAgree(u"", u"Что угодно"));
}

TEST(SampleNames, EveryOrganisationsShortAndFullNamesAgree) {
  auto conn = test::Connect(std::string(MC_SAMPLE_CATALOGUE) + "/res.dat", test::kPassword);
  TADOQuery q(nullptr);
  q.SetConnection(conn.get());
  q.SetSQL(u"select id, nam, nam1 from uz order by id");
  q.Open();
  ASSERT_GE(q.RecordCount(), 100);
  int kindergartens = 0;
  for (q.First(); !q.Eof(); q.Next()) {
    const std::u16string shortName = q.FieldByName("nam").AsString();
    const std::u16string fullName = q.FieldByName("nam1").AsString();
    kindergartens += shortName.starts_with(u"Детский сад");
    EXPECT_TRUE(NamesAgree(shortName, fullName))
        << "organisation " << q.FieldByName("id").AsInteger() << ": " << ToUtf8(shortName) << " / "
        << ToUtf8(fullName);
  }
  EXPECT_GT(kindergartens, 0);  // the kind that once named two places is there
}

}  // namespace
}  // namespace db
