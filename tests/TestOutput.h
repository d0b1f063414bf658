// Where tests write files for people to look at (screenshots, dumps, decoded pictures): the
// folder MC_TEST_OUT names, else the build's own test-out folder, never the working folder.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace tests {

// The output folder, or a subfolder of it, made if missing.
inline std::filesystem::path OutputFolder(const std::string& sub = "") {
  const char* env = std::getenv("MC_TEST_OUT");
  std::filesystem::path dir = std::filesystem::path(env && *env ? env : MC_TEST_OUT_DIR) / sub;
  std::filesystem::create_directories(dir);
  return dir;
}

}  // namespace tests
