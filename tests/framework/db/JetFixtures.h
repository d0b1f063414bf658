// Where the tests find Jet 4.0 files: the Jet writer's folder (target jet-fixtures), named by
// MC_JET_FIXTURES in the environment or else the build's (the CMake cache variable
// MC_JET_FIXTURES, default build/jet). It holds (docs/data-access.md)
//   sample/res.dat    the sample catalogue (build/bin/res.dat) written as a Jet 4.0 file
//   fixtures/res.dat  the catalogue fixtures written as a Jet 4.0 file
//   awkward.dat, empty.dat, no-catalogue.dat
//   refused/          a Jet 3 file, files of later formats (ACE) and a file with encoded pages
//   damaged/          damaged and hostile variants, every file of which must be refused
// A test whose file is absent fails, saying so.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace db::test {

inline std::string JetFixture(const std::string& name) {
  const char* env = std::getenv("MC_JET_FIXTURES");
  return std::string(env && *env ? env : MC_JET_FIXTURES) + "/" + name;
}

// The files of the damaged/ folder, in name order.
inline std::vector<std::string> DamagedJetFixtures() {
  std::vector<std::string> files;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(JetFixture("damaged"), ec))
    if (e.is_regular_file()) files.push_back(e.path().string());
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace db::test

// The build always makes the fixtures, so a missing one is a failure, not a reason to skip.
#define MC_REQUIRE_JET_FIXTURE(file)               \
  ASSERT_TRUE(std::filesystem::exists(file))       \
      << "no Jet fixture " << (file)               \
      << " (the Jet writer's fixtures; MC_JET_FIXTURES names their folder)"
