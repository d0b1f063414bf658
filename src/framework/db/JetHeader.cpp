#include "framework/db/JetHeader.h"

#include <fstream>
#include <string_view>
#include <vector>

#include "framework/db/DbError.h"

namespace db {

namespace {

constexpr std::size_t kVersionOffset = 0x14;
constexpr std::size_t kHeadSize = kVersionOffset + 1;
// The definition page, the catalogue's usage map and its table definition come first.
constexpr std::uint64_t kMinPages = 3;

std::vector<std::uint8_t> ReadHead(const std::string& file, std::uint64_t* size) {
  std::ifstream in(file, std::ios::binary | std::ios::ate);
  if (!in) return {};
  if (size) *size = std::uint64_t(in.tellg());
  in.seekg(0);
  std::vector<std::uint8_t> head(kHeadSize);
  in.read(reinterpret_cast<char*>(head.data()), std::streamsize(head.size()));
  head.resize(std::size_t(in.gcount()));
  return head;
}

}  // namespace

bool IsJetHeader(std::span<const std::uint8_t> head) {
  if (head.size() < kHeadSize) return false;
  if (head[0] != 0 || head[1] != 1 || head[2] != 0 || head[3] != 0) return false;
  const std::string_view text(reinterpret_cast<const char*>(head.data()) + 4, 15);
  return text == "Standard Jet DB" || text == "Standard ACE DB";
}

bool IsJetFile(const std::string& file) {
  return IsJetHeader(ReadHead(file, nullptr));
}

std::string JetFormatName(std::uint8_t version) {
  switch (version) {
    case 0:
      return "Jet 3 (Access 97)";
    case 1:
      return "Jet 4.0";
    case 2:
      return "ACE 12 (Access 2007)";
    case 3:
      return "ACE 14 (Access 2010)";
    case 4:
      return "ACE 15 (Access 2013)";
    case 5:
      return "ACE 16 (Access 2016)";
    case 6:
      return "ACE 17 (Access 2019)";
    default:
      return "an unknown Jet version (" + std::to_string(version) + ")";
  }
}

std::string JetHeaderProblem(std::span<const std::uint8_t> head, std::uint64_t fileSize) {
  if (!IsJetHeader(head)) return "it is not a Jet database";
  const std::uint8_t version = head[kVersionOffset];
  if (version != 1)
    return "it is a database of the format " + JetFormatName(version) +
           "; only Jet 4.0 files are read";
  if (fileSize % kJet4PageSize != 0 || fileSize < kMinPages * kJet4PageSize)
    return "it is damaged: its length (" + std::to_string(fileSize) +
           " bytes) is not a whole number of at least " + std::to_string(kMinPages) + " pages";
  return {};
}

void CheckJet4File(const std::string& file) {
  std::uint64_t size = 0;
  const std::vector<std::uint8_t> head = ReadHead(file, &size);
  const std::string problem = JetHeaderProblem(head, size);
  if (!problem.empty()) throw EDatabaseError("Cannot read '" + file + "': " + problem + ".");
}

}  // namespace db
