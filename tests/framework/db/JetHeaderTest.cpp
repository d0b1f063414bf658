#include <gtest/gtest.h>

#include <fstream>

#include "framework/db/ADOConnection.h"
#include "framework/db/DbError.h"
#include "framework/db/JetHeader.h"
#include "framework/db/TestDatabase.h"

namespace db {
namespace {

// The first bytes of a Jet or ACE file of a version byte.
std::vector<std::uint8_t> Head(const char* text, std::uint8_t version) {
  std::vector<std::uint8_t> head = {0, 1, 0, 0};
  head.insert(head.end(), text, text + 15);
  head.push_back(0);
  head.push_back(version);
  return head;
}

TEST(JetHeader, TellsJetFromOtherFiles) {
  EXPECT_TRUE(IsJetHeader(Head("Standard Jet DB", 1)));
  EXPECT_TRUE(IsJetHeader(Head("Standard ACE DB", 3)));
  EXPECT_FALSE(IsJetHeader(Head("Standard Jet DX", 1)));
  const std::string sqlite = "SQLite format 3";
  EXPECT_FALSE(IsJetHeader({reinterpret_cast<const std::uint8_t*>(sqlite.data()), sqlite.size()}));
  auto shortHead = Head("Standard Jet DB", 1);
  shortHead.pop_back();
  EXPECT_FALSE(IsJetHeader(shortHead));
}

TEST(JetHeader, ReadsOnlyWholeJet4Files) {
  EXPECT_EQ(JetHeaderProblem(Head("Standard Jet DB", 1), 5 * kJet4PageSize), "");
  EXPECT_EQ(JetHeaderProblem(Head("Standard Jet DB", 0), 5 * kJet4PageSize),
            "it is a database of the format Jet 3 (Access 97); only Jet 4.0 files are read");
  EXPECT_NE(
      JetHeaderProblem(Head("Standard ACE DB", 3), 5 * kJet4PageSize).find("ACE 14 (Access 2010)"),
      std::string::npos);
  EXPECT_NE(JetHeaderProblem(Head("Standard ACE DB", 9), 5 * kJet4PageSize)
                .find("unknown Jet version (9)"),
            std::string::npos);
  // Cut short, or too short to hold the pages every database has.
  EXPECT_NE(JetHeaderProblem(Head("Standard Jet DB", 1), 5 * kJet4PageSize - 100).find("damaged"),
            std::string::npos);
  EXPECT_NE(JetHeaderProblem(Head("Standard Jet DB", 1), 2 * kJet4PageSize).find("damaged"),
            std::string::npos);
}

// A connection refuses a Jet 3 or later file before anything reads it, naming its format.
TEST(JetHeader, ConnectionNamesTheFormatItRefuses) {
  test::TempFolder dir;
  const std::string file = dir.File("res.dat");
  {
    std::ofstream out(file, std::ios::binary);
    const auto head = Head("Standard Jet DB", 0);
    out.write(reinterpret_cast<const char*>(head.data()), std::streamsize(head.size()));
    out << std::string(4 * 2048 - head.size(), '\0');
  }
  TADOConnection c(nullptr);
  c.SetConnectionString(test::CatalogueConnectionString(file));
  try {
    c.Open();
    FAIL() << "a Jet 3 file opened";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot read '" + file +
                                         "': it is a database of the format Jet 3 (Access 97); "
                                         "only Jet 4.0 files are read.");
  }
  EXPECT_FALSE(c.Connected());
}

}  // namespace
}  // namespace db
