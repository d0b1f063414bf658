#include "skin/data/acIniFile.h"

namespace skin::data {

namespace {

std::string_view Trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

}  // namespace

std::optional<std::string_view> TacIniSection::Value(std::string_view key) const {
  const auto it = FIndex.find(std::string(key));
  if (it == FIndex.end()) return std::nullopt;
  return Keys[it->second].second;
}

TMemIniFile::TMemIniFile(std::string_view text) {
  TacIniSection* current = nullptr;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = Trim(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
      const std::string name(Trim(line.substr(1, line.size() - 2)));
      const auto [it, added] = FIndex.try_emplace(name, FSections.size());
      if (added) {
        FSections.emplace_back();
        FSections.back().Name = name;
      }
      current = &FSections[it->second];
      continue;
    }
    const std::size_t eq = line.find('=');
    if (!current || eq == std::string_view::npos) continue;
    std::string key(Trim(line.substr(0, eq)));
    current->FIndex.try_emplace(key, current->Keys.size());
    current->Keys.emplace_back(std::move(key), std::string(Trim(line.substr(eq + 1))));
  }
}

const TacIniSection* TMemIniFile::FindSection(std::string_view name) const {
  const auto it = FIndex.find(std::string(name));
  return it == FIndex.end() ? nullptr : &FSections[it->second];
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
