#include "app/TreeFilter.h"

namespace app {

namespace {

// A quote inside a filter literal is written twice.
std::u16string QuoteInside(const std::u16string& text) {
  std::u16string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    out += c;
    if (c == u'\'') out += u'\'';
  }
  return out;
}

}  // namespace

std::u16string TreeFilterExpression(const std::u16string& typeText,
                                    const std::u16string& nameText) {
  std::u16string e;
  if (typeText != kAllTypes) e += u"([vid] like '%" + QuoteInside(typeText) + u"%') and ";
  if (!nameText.empty()) e += u"([uz.nam] like '%" + QuoteInside(nameText) + u"%') and ";
  // Drops the trailing " and ".
  if (!e.empty()) e.resize(e.size() - 5);
  return e;
}

void ApplyTreeFilter(db::TDataSet& organisations, const std::u16string& expression) {
  organisations.SetFiltered(false);
  if (expression.empty()) return;
  organisations.SetFilter(expression);
  organisations.SetFiltered(true);
}

}  // namespace app
