// The in-memory INI reader of skin options: sections and keys in file order, matched
// exactly (case-sensitive), values kept as written.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace skin::data {

// Names sorted by a hash for binary search, each with the position of its first occurrence.
// A reader asks a section for some sixty keys, most of them absent: an absent name costs a
// hash and a search over integers, without allocating or comparing strings.
class TacNameIndex {
 public:
  void Add(std::string_view name, std::size_t position);
  // Sorts once all names are added; later duplicates are dropped.
  void Seal();
  // Position of name, or nothing.
  std::optional<std::size_t> Find(std::string_view name) const;

 private:
  struct Entry {
    std::uint64_t Hash;
    std::string_view Name;
    std::size_t Position;
  };
  std::vector<Entry> FEntries;
};

// One section: its keys and values in file order, as views into the text its file keeps.
struct TacIniSection {
  std::string Name;
  std::vector<std::pair<std::string_view, std::string_view>> Keys;
  // The value of the first key named key, or nothing.
  std::optional<std::string_view> Value(std::string_view key) const;

 private:
  friend class TMemIniFile;
  TacNameIndex FIndex;  // key -> first position in Keys
};

class TMemIniFile {
 public:
  // Reads text: lines are trimmed; empty lines and lines starting with ";" are skipped;
  // "[name]" opens a section (a repeated name continues the first section of that name);
  // "key=value" sets a key, blanks around "=" ignored, the value being everything after the
  // first "=". Other lines, and keys before the first section, are ignored. The text is kept
  // (shared by copies), so keys and values stay valid as long as any copy lives.
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
  std::shared_ptr<const std::string> FText;
  std::vector<TacIniSection> FSections;
  TacNameIndex FIndex;  // name -> position in FSections
};

}  // namespace skin::data
