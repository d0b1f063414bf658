// The catalogues the builder makes, read through the layer with the program's own texts.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "framework/db/DbError.h"
#include "framework/db/TestDatabase.h"

namespace db {
namespace {

namespace fs = std::filesystem;

const std::u16string kOrganisations =
    u"SELECT mun.nam, uz.nam, uz.id, uz.vid\r\nFROM uz INNER JOIN mun ON uz.id_mun = mun.id\r\n"
    u"order by uz.nam";

struct Opened {
  std::unique_ptr<TADOConnection> conn;
  std::unique_ptr<TADOQuery> query;
};

Opened OpenQuery(const std::string& folder, const std::u16string& sql) {
  Opened o{test::Connect(folder + "/res.dat", test::kPassword),
           std::make_unique<TADOQuery>(nullptr)};
  o.query->SetName("ADOQuery2");
  o.query->SetConnection(o.conn.get());
  o.query->SetSQL(sql);
  o.query->Open();
  return o;
}

TEST(SampleCatalogue, ARegionRichEnoughForEveryPath) {
  const std::string dir = MC_SAMPLE_CATALOGUE;
  auto districts = OpenQuery(dir, u"select * from mun order by nam");
  EXPECT_GE(districts.query->RecordCount(), 10);
  EXPECT_LE(districts.query->RecordCount(), 15);
  auto orgs = OpenQuery(dir, kOrganisations);
  EXPECT_GE(orgs.query->RecordCount(), 100);
  // Every district but one has organisations; every card field is filled.
  std::set<std::u16string> withOrganisations, types;
  for (orgs.query->First(); !orgs.query->Eof(); orgs.query->Next())
    withOrganisations.insert(orgs.query->Fields(0).AsString());
  EXPECT_EQ(int(withOrganisations.size()), districts.query->RecordCount() - 1);
  auto cards = OpenQuery(dir, u"select * from uz");
  for (cards.query->First(); !cards.query->Eof(); cards.query->Next()) {
    for (const char* f : {"nam1", "addr", "dat_o", "phone", "vid", "razd"})
      EXPECT_NO_THROW(cards.query->FieldByName(f).Value().ToOleStr()) << f;
    types.insert(cards.query->FieldByName("vid").AsString());
  }
  EXPECT_EQ(types.size(), 19u);  // the card's eighteen types and one it does not know
  EXPECT_TRUE(types.count(u"Естественно-научный музей"));
  // Photos: files exist for all rows but a few; up to six per organisation.
  auto photos = OpenQuery(dir, u"select id_uz, count(*) as n from foto group by id_uz");
  for (photos.query->First(); !photos.query->Eof(); photos.query->Next())
    EXPECT_LE(photos.query->FieldByName("n").AsInteger(), 6);
  auto files = OpenQuery(dir, u"select foto from foto");
  int missing = 0;
  for (files.query->First(); !files.query->Eof(); files.query->Next())
    missing += !fs::is_regular_file(dir + "/res/foto/" + ToUtf8(files.query->Fields(0).AsString()));
  EXPECT_GE(files.query->RecordCount(), 150);
  EXPECT_EQ(missing, 3);
  // The type filter as the tree builds it finds the type inside longer ones too.
  orgs.query->SetFilter(u"([vid] like '%Исторический музей%')");
  orgs.query->SetFiltered(true);
  EXPECT_GE(orgs.query->RecordCount(), 2);
}

TEST(CatalogueFixtures, AwkwardCases) {
  const std::string dir = MC_CATALOGUE_FIXTURES;
  auto districts = OpenQuery(dir, u"select * from mun order by nam");
  std::vector<std::u16string> names;
  for (districts.query->First(); !districts.query->Eof(); districts.query->Next())
    names.push_back(districts.query->FieldByName("nam").AsString());
  // The null name first (as empty text), then the two districts of the same name together.
  EXPECT_EQ(names, (std::vector<std::u16string>{u"", u"Заречный район", u"Озёрный район",
                                                u"Озёрный район", u"Пустой район"}));
  auto orgs = OpenQuery(dir, kOrganisations);
  std::multiset<std::u16string> shown;
  for (orgs.query->First(); !orgs.query->Eof(); orgs.query->Next())
    shown.insert(orgs.query->Fields(1).AsString());
  EXPECT_EQ(shown.count(u"СОШ №1"), 2u);
  EXPECT_EQ(shown.count(u"Озёрный район"), 1u);
  EXPECT_EQ(shown.count(u"Школа без района"), 1u);   // its district has a null name
  EXPECT_EQ(shown.count(u"Школа вне округов"), 0u);  // its district does not exist
  orgs.query->SetFilter(u"([uz.nam] like '%O''Хара%')");
  orgs.query->SetFiltered(true);
  EXPECT_EQ(orgs.query->RecordCount(), 1);
  orgs.query->SetFilter(u"([uz.nam] like '%100%%')");
  EXPECT_EQ(orgs.query->RecordCount(), 1);
  orgs.query->SetFiltered(false);
  orgs.query->SetFilter(u"([uz.nam] like '%O'Хара%')");  // the name filter's own quote
  EXPECT_THROW(orgs.query->SetFiltered(true), EDatabaseError);
  auto card = OpenQuery(dir, u"select * from uz where nam = 'Школа без телефона'");
  EXPECT_THROW(card.query->FieldByName("phone").Value().ToOleStr(), EVariantError);
  // The photo cases are on disk as described.
  EXPECT_TRUE(fs::is_directory(dir + "/res/foto/4/папка.jpg"));
  EXPECT_TRUE(fs::is_regular_file(dir + "/res/foto/4/испорченное.jpg"));
  EXPECT_FALSE(fs::exists(dir + "/res/foto/1/3.jpg"));
}

}  // namespace
}  // namespace db
