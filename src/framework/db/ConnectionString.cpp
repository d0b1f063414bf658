#include "framework/db/ConnectionString.h"

#include "framework/db/DbError.h"
#include "framework/db/Variant.h"

namespace db {

namespace {

bool IsSpace(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

std::u16string_view Trim(std::u16string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

char16_t Lower(char16_t c) {
  return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
}

bool SameKey(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

}  // namespace

TConnectionString::TConnectionString(std::u16string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t eq = text.find(u'=', i);
    const std::size_t semi = text.find(u';', i);
    if (eq == std::u16string_view::npos || (semi != std::u16string_view::npos && semi < eq)) {
      // Empty entries (";;" or a trailing ';') are allowed; anything else needs a '='.
      const std::size_t end = semi == std::u16string_view::npos ? text.size() : semi;
      if (!Trim(text.substr(i, end - i)).empty())
        throw EDatabaseError("Connection string: entry without '=': " +
                             ToUtf8(Trim(text.substr(i, end - i))));
      i = end + 1;
      continue;
    }
    const std::u16string key(Trim(text.substr(i, eq - i)));
    std::size_t j = eq + 1;
    while (j < text.size() && IsSpace(text[j])) ++j;
    std::u16string value;
    if (j < text.size() && (text[j] == u'"' || text[j] == u'\'')) {
      const char16_t quote = text[j++];
      for (;;) {
        if (j >= text.size())
          throw EDatabaseError("Connection string: unterminated quoted value of " + ToUtf8(key));
        if (text[j] == quote) {
          if (j + 1 < text.size() && text[j + 1] == quote) {
            value += quote;
            j += 2;
            continue;
          }
          ++j;
          break;
        }
        value += text[j++];
      }
      while (j < text.size() && IsSpace(text[j])) ++j;
      if (j < text.size() && text[j] != u';')
        throw EDatabaseError("Connection string: text after the quoted value of " + ToUtf8(key));
      i = j + 1;
    } else {
      const std::size_t end = text.find(u';', j);
      const std::size_t stop = end == std::u16string_view::npos ? text.size() : end;
      value = std::u16string(Trim(text.substr(j, stop - j)));
      i = stop + 1;
    }
    FEntries.emplace_back(key, std::move(value));
  }
}

std::u16string TConnectionString::Value(std::u16string_view key) const {
  for (auto it = FEntries.rbegin(); it != FEntries.rend(); ++it)
    if (SameKey(it->first, key)) return it->second;
  return {};
}

bool TConnectionString::Has(std::u16string_view key) const {
  for (const auto& e : FEntries)
    if (SameKey(e.first, key)) return true;
  return false;
}

}  // namespace db
