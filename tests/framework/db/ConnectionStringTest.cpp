#include "framework/db/ConnectionString.h"

#include <gtest/gtest.h>

#include "framework/db/DbError.h"

namespace db {
namespace {

TEST(ConnectionString, TheCataloguesStringGivesItsParts) {
  const TConnectionString cs(
      u"Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=/opt/Каталог/res.dat;"
      u"Persist Security Info=False;Jet OLEDB:Database Password=k7mP305z$42");
  EXPECT_EQ(cs.Value(u"provider"), u"Microsoft.Jet.OLEDB.4.0");
  EXPECT_EQ(cs.Value(u"User ID"), u"Admin");
  EXPECT_EQ(cs.Value(u"DATA SOURCE"), u"/opt/Каталог/res.dat");
  EXPECT_EQ(cs.Value(u"Persist Security Info"), u"False");
  EXPECT_EQ(cs.Value(u"Jet OLEDB:Database Password"), u"k7mP305z$42");
  EXPECT_EQ(cs.Entries().size(), 5u);
  EXPECT_FALSE(cs.Has(u"Mode"));
  EXPECT_EQ(cs.Value(u"Mode"), u"");
}

TEST(ConnectionString, QuotingSpacesRepeatsAndErrors) {
  const TConnectionString cs(
      u" A = 1 ;; B=\"x;y\"\"z\" ; C='it''s' ;D= ; a=2;Jet OLEDB:Engine Type=5;");
  EXPECT_EQ(cs.Value(u"a"), u"2");  // the last of a repeated key
  EXPECT_EQ(cs.Value(u"B"), u"x;y\"z");
  EXPECT_EQ(cs.Value(u"C"), u"it's");
  EXPECT_TRUE(cs.Has(u"D"));
  EXPECT_EQ(cs.Value(u"D"), u"");
  EXPECT_EQ(cs.Value(u"Jet OLEDB:Engine Type"), u"5");
  EXPECT_THROW(TConnectionString(u"A=1;Provider"), EDatabaseError);
  EXPECT_THROW(TConnectionString(u"A=\"unterminated"), EDatabaseError);
  EXPECT_THROW(TConnectionString(u"A=\"x\" y"), EDatabaseError);
}

}  // namespace
}  // namespace db
