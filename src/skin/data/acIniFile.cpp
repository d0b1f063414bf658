#include "skin/data/acIniFile.h"

#include <algorithm>
#include <unordered_map>

namespace skin::data {

namespace {

std::string_view Trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

// FNV-1a.
std::uint64_t NameHash(std::string_view name) {
  std::uint64_t h = 14695981039346656037ull;
  for (const char c : name) h = (h ^ std::uint8_t(c)) * 1099511628211ull;
  return h;
}

}  // namespace

void TacNameIndex::Add(std::string_view name, std::size_t position) {
  FEntries.push_back({NameHash(name), name, position});
}

void TacNameIndex::Seal() {
  // Equal names have equal hashes; within a hash, file order puts each name's first
  // occurrence first, and the later ones are dropped in place.
  std::sort(FEntries.begin(), FEntries.end(), [](const Entry& a, const Entry& b) {
    return a.Hash != b.Hash ? a.Hash < b.Hash : a.Position < b.Position;
  });
  std::size_t kept = 0, sameHash = 0;  // sameHash: first kept entry of the current hash
  for (const Entry& e : FEntries) {
    if (kept == 0 || FEntries[kept - 1].Hash != e.Hash) sameHash = kept;
    bool seen = false;
    for (std::size_t k = sameHash; k < kept && !seen; ++k) seen = FEntries[k].Name == e.Name;
    if (!seen) FEntries[kept++] = e;
  }
  FEntries.resize(kept);
}

std::optional<std::size_t> TacNameIndex::Find(std::string_view name) const {
  const std::uint64_t hash = NameHash(name);
  auto it = std::lower_bound(FEntries.begin(), FEntries.end(), hash,
                             [](const Entry& e, std::uint64_t h) { return e.Hash < h; });
  for (; it != FEntries.end() && it->Hash == hash; ++it) {
    if (it->Name == name) return it->Position;
  }
  return std::nullopt;
}

std::optional<std::string_view> TacIniSection::Value(std::string_view key) const {
  const auto at = FIndex.Find(key);
  if (!at) return std::nullopt;
  return Keys[*at].second;
}

TMemIniFile::TMemIniFile(std::string_view source) : FText(std::make_shared<std::string>(source)) {
  std::string_view text = *FText;
  // Sections by name while reading: a repeated header continues its first section.
  std::unordered_map<std::string_view, std::size_t> seen;
  TacIniSection* current = nullptr;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = Trim(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
      const std::string_view name = Trim(line.substr(1, line.size() - 2));
      const auto found = seen.find(name);
      if (found == seen.end()) {
        seen.emplace(name, FSections.size());
        FIndex.Add(name, FSections.size());
        FSections.emplace_back();
        FSections.back().Name = std::string(name);
        current = &FSections.back();
      } else {
        current = &FSections[found->second];
      }
      continue;
    }
    const std::size_t eq = line.find('=');
    if (!current || eq == std::string_view::npos) continue;
    const std::string_view key = Trim(line.substr(0, eq));
    current->FIndex.Add(key, current->Keys.size());
    current->Keys.emplace_back(key, Trim(line.substr(eq + 1)));
  }
  FIndex.Seal();
  for (TacIniSection& s : FSections) s.FIndex.Seal();
}

const TacIniSection* TMemIniFile::FindSection(std::string_view name) const {
  const auto at = FIndex.Find(name);
  return at ? &FSections[*at] : nullptr;
}

std::optional<std::string_view> TMemIniFile::ReadValue(std::string_view section,
                                                       std::string_view key) const {
  const TacIniSection* s = FindSection(section);
  return s ? s->Value(key) : std::nullopt;
}

std::string TMemIniFile::ReadString(std::string_view section, std::string_view key,
                                    std::string_view def) const {
  return std::string(ReadValue(section, key).value_or(def));
}

}  // namespace skin::data
