// The in-memory INI reader of skin options: sections and keys in file order, matched
// exactly (case-sensitive), values kept as written.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace skin::data {

// One section: its keys and values in file order.
struct TacIniSection {
  std::string Name;
  std::vector<std::pair<std::string, std::string>> Keys;
  // The value of the first key named key, or nothing.
  std::optional<std::string_view> Value(std::string_view key) const;

 private:
  friend class TMemIniFile;
  std::unordered_map<std::string, std::size_t> FIndex;  // key -> first position in Keys
};

class TMemIniFile {
 public:
  // Reads text: lines are trimmed; empty lines and lines starting with ";" are skipped;
  // "[name]" opens a section (a repeated name continues the first section of that name);
  // "key=value" sets a key, blanks around "=" ignored, the value being everything after the
  // first "=". Other lines, and keys before the first section, are ignored.
  explicit TMemIniFile(std::string_view text);

  // Sections in file order.
  const std::vector<TacIniSection>& Sections() const { return FSections; }
  // The section of that exact name, or null.
  const TacIniSection* FindSection(std::string_view name) const;
  bool SectionExists(std::string_view name) const { return FindSection(name) != nullptr; }
  // The value of key in section, or nothing.
  std::optional<std::string_view> ReadValue(std::string_view section, std::string_view key) const;
  // The value, or def when absent.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view def) const;

 private:
  std::vector<TacIniSection> FSections;
  std::unordered_map<std::string, std::size_t> FIndex;  // name -> position in FSections
};

}  // namespace skin::data
