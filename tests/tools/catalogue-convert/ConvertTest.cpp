// catalogue-convert as a command: its exit statuses, what it refuses, and what it leaves.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "framework/db/JetFixtures.h"
#include "framework/db/TestDatabase.h"

namespace {

namespace fs = std::filesystem;

struct TResult {
  int status = -1;
  std::string output;  // standard output and error
};

TResult Convert(const std::string& args) {
  TResult r;
  std::FILE* p = ::popen((std::string(MC_CATALOGUE_CONVERT) + " " + args + " 2>&1").c_str(), "r");
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.output.append(buf, n);
  const int status = ::pclose(p);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

std::string Bytes(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Nothing but the files named is left in the folder (no half-written copy).
std::size_t FilesIn(const std::string& folder) {
  return std::size_t(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(CatalogueConvert, WrongUsageExitsWithTwo) {
  EXPECT_EQ(Convert("").status, 2);
  EXPECT_EQ(Convert("a").status, 2);
  EXPECT_EQ(Convert("a b c").status, 2);
  const TResult r = Convert("a b --overwrite");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.output.find("unknown option --overwrite"), std::string::npos);
}

TEST(CatalogueConvert, RefusesWhatIsNoJet4Catalogue) {
  db::test::TempFolder dir;
  const std::string out = dir.File("out.dat");
  TResult r = Convert(dir.File("missing.dat") + " " + out);
  EXPECT_EQ(r.status, 1);
  // The program's own format is no Jet file.
  r = Convert(std::string(MC_SAMPLE_CATALOGUE) + "/res.dat " + out);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.output.find("it is not a Jet database"), std::string::npos) << r.output;
  // A Jet 4.0 header over nothing readable goes to the reader, which refuses it.
  const std::string noise = dir.File("noise.dat");
  std::ofstream(noise, std::ios::binary)
      << std::string("\0\x01\0\0Standard Jet DB\0\x01", 21) << std::string(8 * 4096 - 21, '\x5A');
  r = Convert(noise + " " + out);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.output.rfind("catalogue-convert: Cannot read '" + noise + "': ", 0), 0u) << r.output;
  EXPECT_FALSE(fs::exists(out));
  EXPECT_EQ(FilesIn(dir.File("")), 1u);
}

TEST(CatalogueConvert, KeepsAnExistingFileUnlessForced) {
  db::test::TempFolder dir;
  const std::string out = dir.File("res.dat");
  std::ofstream(out) << "keep me";
  const std::string jet = db::test::JetFixture("sample/res.dat");
  TResult r = Convert((fs::exists(jet) ? jet : out) + " " + out);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.output.find("give --force"), std::string::npos);
  EXPECT_EQ(Bytes(out), "keep me");
  MC_REQUIRE_JET_FIXTURE(jet);
  r = Convert(jet + " " + out + " --force");
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find("rows of mun"), std::string::npos) << r.output;
  EXPECT_EQ(Bytes(out).rfind("SQLite format 3", 0), 0u);
  EXPECT_EQ(FilesIn(dir.File("")), 1u);
  // The copy opens with the program's password.
  EXPECT_TRUE(db::test::Connect(out, db::test::kPassword)->Connected());
}

}  // namespace
