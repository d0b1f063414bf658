#include <gtest/gtest.h>

#include "framework/Exception.h"
#include "framework/Strings.h"

namespace fw {
namespace {

TEST(Strings, TextSplitsAtEveryLineEndAndJoinsWithCrLf) {
  TStrings s;
  s.SetText(u"один\r\nдва\nтри\rчетыре");
  ASSERT_EQ(s.Count(), 4);
  EXPECT_EQ(s[3], u"четыре");
  EXPECT_EQ(s.Text(), u"один\r\nдва\r\nтри\r\nчетыре\r\n");
  s.SetText(u"a\r\n\r\n");  // an empty line in the middle stays, the final end adds none
  EXPECT_EQ(s.Count(), 2);
  EXPECT_EQ(s[1], u"");
  s.SetText(u"");
  EXPECT_EQ(s.Count(), 0);
  EXPECT_EQ(s.Text(), u"");
}

TEST(Strings, ChangesNotifyOnceAnUpdateEndsAndIndexesAreChecked) {
  TStrings s;
  int changes = 0;
  s.OnChange = [&] { ++changes; };
  s.Add(u"a");
  s.BeginUpdate();
  s.BeginUpdate();
  s.Add(u"b");
  s.Insert(0, u"c");
  s.EndUpdate();
  EXPECT_EQ(changes, 1);
  s.EndUpdate();
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(s.IndexOf(u"b"), 2);
  EXPECT_EQ(s.IndexOf(u"z"), -1);
  EXPECT_THROW(s[3], Exception);
  EXPECT_THROW(s.Insert(4, u"x"), Exception);
  s.Insert(3, u"d");  // at the end is allowed
  s.Delete(0);
  EXPECT_EQ(s.Lines(), (std::vector<std::u16string>{u"a", u"b", u"d"}));
  s.Clear();
  s.Clear();  // nothing left to clear: no notification
  EXPECT_EQ(changes, 5);
}

}  // namespace
}  // namespace fw
