// The record-set filter: text expressions over a result's columns.
//
//   expr    := and { "or" and }
//   and     := primary { "and" primary }
//   primary := "(" expr ")" | field op value
//   field   := "[" name "]" | name            value := 'text' ('' inside is one ') | number
//   op      := "like" | "=" | "<>" | "<" | ">" | "<=" | ">="
//
// Keywords ignore case. "like" matches the value's text against a pattern in which '%' and
// '*' stand for any run of characters; it ignores letter case, Cyrillic as well as Latin
// (Unicode case folding). The other operators compare numbers as numbers, dates as dates and
// text by code units after the same case folding. A null value matches nothing.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "framework/db/RecordSet.h"

namespace db {

class TFilterNode;

class TFilterExpression {
 public:
  // Parses text against the columns; raises EDatabaseError for a syntax error or a field the
  // columns do not have. Nesting is bounded.
  TFilterExpression(std::u16string_view text, const std::vector<TColumnInfo>& columns);
  ~TFilterExpression();
  TFilterExpression(TFilterExpression&&) noexcept;
  TFilterExpression& operator=(TFilterExpression&&) noexcept;

  // Whether a row of those columns passes.
  bool Matches(const TRow& row) const;

 private:
  std::unique_ptr<TFilterNode> FRoot;
};

// Whether text matches a like pattern ('%' and '*' any run), ignoring case.
bool LikeMatch(std::u16string_view text, std::u16string_view pattern);
// Unicode default case folding.
std::u16string FoldCase(std::u16string_view text);

}  // namespace db
