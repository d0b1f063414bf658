// Provider strings: "Key=Value;Key=Value". Keys are case-insensitive and trimmed; a value may
// be quoted with " or ' (the quote doubled inside stands for itself) to hold ';' or spaces.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace db {

class TConnectionString {
 public:
  // Raises EDatabaseError for an entry without '=' or an unterminated quoted value.
  explicit TConnectionString(std::u16string_view text);

  // The value of a key (the last one when repeated), or empty text when absent.
  std::u16string Value(std::u16string_view key) const;
  bool Has(std::u16string_view key) const;
  // Every entry in order, as written (keys trimmed, values unquoted).
  const std::vector<std::pair<std::u16string, std::u16string>>& Entries() const { return FEntries; }

 private:
  std::vector<std::pair<std::u16string, std::u16string>> FEntries;
};

}  // namespace db
