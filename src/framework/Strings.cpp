#include "framework/Strings.h"

#include <algorithm>

#include "framework/Exception.h"
#include "framework/TextConv.h"

namespace fw {

namespace {
void CheckIndex(int index, int count) {
  if (index < 0 || index >= count)
    throw Exception(u"Индекс списка вне границ (" + Utf8ToUtf16(std::to_string(index)) + u")");
}
}  // namespace

const std::u16string& TStrings::operator[](int index) const {
  CheckIndex(index, Count());
  return FItems[std::size_t(index)];
}

void TStrings::Set(int index, const std::u16string& s) {
  CheckIndex(index, Count());
  FItems[std::size_t(index)] = s;
  Changed();
}

int TStrings::Add(const std::u16string& s) {
  FItems.push_back(s);
  Changed();
  return Count() - 1;
}

void TStrings::Insert(int index, const std::u16string& s) {
  CheckIndex(index, Count() + 1);
  FItems.insert(FItems.begin() + index, s);
  Changed();
}

void TStrings::Delete(int index) {
  CheckIndex(index, Count());
  FItems.erase(FItems.begin() + index);
  Changed();
}

void TStrings::Clear() {
  if (FItems.empty()) return;
  FItems.clear();
  Changed();
}

void TStrings::Assign(const std::vector<std::u16string>& lines) {
  FItems = lines;
  Changed();
}

int TStrings::IndexOf(const std::u16string& s) const {
  auto it = std::find(FItems.begin(), FItems.end(), s);
  return it == FItems.end() ? -1 : int(it - FItems.begin());
}

std::u16string TStrings::Text() const {
  std::u16string out;
  for (const auto& line : FItems) out += line + u"\r\n";
  return out;
}

void TStrings::SetText(const std::u16string& text) {
  std::vector<std::u16string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'\r' && text[i] != u'\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  Assign(lines);
}

void TStrings::EndUpdate() {
  if (FUpdateLevel > 0 && --FUpdateLevel == 0 && FPending) Changed();
}

void TStrings::Changed() {
  if (FUpdateLevel > 0) {
    FPending = true;
    return;
  }
  FPending = false;
  if (OnChange) OnChange();
}

}  // namespace fw
