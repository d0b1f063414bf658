#include "framework/db/Filter.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>

#include <charconv>
#include <cmath>

#include "framework/Component.h"
#include "framework/db/DbError.h"

namespace db {

namespace {

// Parentheses deeper than this are refused rather than recursed into.
constexpr int kMaxDepth = 100;

enum class Op { Like, Eq, Ne, Lt, Gt, Le, Ge };

struct Literal {
  std::u16string text;    // as written (a number's own digits)
  std::u16string folded;  // case-folded text
  bool isNumber = false;
  double number = 0;  // the number, or the text read as one when it is one
  bool hasNumber = false;
  TDateTime date;  // the text read as an ISO date when it is one
  bool hasDate = false;
};

bool ParseNumber(std::u16string_view text, double& out) {
  if (text.empty() || text.size() > 64) return false;
  std::string ascii;
  for (char16_t c : text) {
    if (c > 0x7F) return false;
    ascii += char(c);
  }
  const char* b = ascii.data() + (ascii[0] == '+' ? 1 : 0);
  auto r = std::from_chars(b, ascii.data() + ascii.size(), out);
  return r.ec == std::errc() && r.ptr == ascii.data() + ascii.size() && std::isfinite(out);
}

template <typename T>
bool Compare(Op op, const T& a, const T& b) {
  switch (op) {
    case Op::Eq:
      return a == b;
    case Op::Ne:
      return a != b;
    case Op::Lt:
      return a < b;
    case Op::Gt:
      return a > b;
    case Op::Le:
      return a <= b;
    case Op::Ge:
      return a >= b;
    case Op::Like:
      break;
  }
  return false;
}

}  // namespace

class TFilterNode {
 public:
  virtual ~TFilterNode() = default;
  virtual bool Matches(const TRow& row) const = 0;
};

namespace {

class AnyOf : public TFilterNode {
 public:
  explicit AnyOf(std::vector<std::unique_ptr<TFilterNode>> items) : items_(std::move(items)) {}
  bool Matches(const TRow& row) const override {
    for (const auto& n : items_)
      if (n->Matches(row)) return true;
    return false;
  }

 private:
  std::vector<std::unique_ptr<TFilterNode>> items_;
};

class AllOf : public TFilterNode {
 public:
  explicit AllOf(std::vector<std::unique_ptr<TFilterNode>> items) : items_(std::move(items)) {}
  bool Matches(const TRow& row) const override {
    for (const auto& n : items_)
      if (!n->Matches(row)) return false;
    return true;
  }

 private:
  std::vector<std::unique_ptr<TFilterNode>> items_;
};

class Condition : public TFilterNode {
 public:
  Condition(std::size_t column, Op op, Literal value)
      : column_(column), op_(op), value_(std::move(value)) {}

  bool Matches(const TRow& row) const override {
    const TVariant& v = row[column_];
    if (op_ == Op::Like) {
      switch (v.VarType()) {
        case TVarType::Null:
        case TVarType::Blob:
          return false;
        default:
          return LikeFolded(FoldCase(v.ToOleStr()), value_.folded);
      }
    }
    switch (v.VarType()) {
      case TVarType::Integer:
        if (value_.hasNumber && value_.number == std::trunc(value_.number) &&
            std::fabs(value_.number) < 9e18)
          return Compare(op_, v.Integer(), std::int64_t(value_.number));
        return value_.hasNumber && Compare(op_, double(v.Integer()), value_.number);
      case TVarType::Float:
        return value_.hasNumber && Compare(op_, v.Float(), value_.number);
      case TVarType::Boolean:
        return value_.hasNumber && Compare(op_, v.Boolean() ? 1.0 : 0.0, value_.number);
      case TVarType::Date:
        if (value_.hasDate) return Compare(op_, v.Date().days, value_.date.days);
        return value_.isNumber && Compare(op_, v.Date().days, value_.number);
      case TVarType::Text:
        return Compare(op_, FoldCase(v.Text()), value_.folded);
      case TVarType::Null:
      case TVarType::Blob:
        break;
    }
    return false;
  }

  // Like on folded text and pattern: '%' and '*' match any run. Backtracks only to the last
  // wildcard, so the cost is bounded by text length times pattern length.
  static bool LikeFolded(std::u16string_view t, std::u16string_view p) {
    std::size_t ti = 0, pi = 0, starP = std::u16string_view::npos, starT = 0;
    while (ti < t.size()) {
      if (pi < p.size() && (p[pi] == u'%' || p[pi] == u'*')) {
        starP = pi++;
        starT = ti;
      } else if (pi < p.size() && p[pi] == t[ti]) {
        ++pi;
        ++ti;
      } else if (starP != std::u16string_view::npos) {
        pi = starP + 1;
        ti = ++starT;
      } else {
        return false;
      }
    }
    while (pi < p.size() && (p[pi] == u'%' || p[pi] == u'*')) ++pi;
    return pi == p.size();
  }

 private:
  std::size_t column_;
  Op op_;
  Literal value_;
};

class Parser {
 public:
  Parser(std::u16string_view text, const std::vector<TColumnInfo>& columns)
      : s_(text), columns_(columns) {}

  std::unique_ptr<TFilterNode> Parse() {
    auto root = Or(0);
    SkipSpace();
    if (pos_ < s_.size()) Fail("unexpected text");
    return root;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw EDatabaseError("Filter expression: " + what + " at position " + std::to_string(pos_ + 1));
  }

  void SkipSpace() {
    while (pos_ < s_.size() &&
           (s_[pos_] == u' ' || s_[pos_] == u'\t' || s_[pos_] == u'\r' || s_[pos_] == u'\n'))
      ++pos_;
  }

  static bool IsWordChar(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
           c == u'_' || c == u'.' || c >= 0x80;
  }

  // Reads a keyword (case-insensitive) followed by a non-word character.
  bool Keyword(std::u16string_view word) {
    SkipSpace();
    if (s_.size() - pos_ < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
      char16_t c = s_[pos_ + i];
      if (c >= u'A' && c <= u'Z') c = char16_t(c + 32);
      if (c != word[i]) return false;
    }
    if (pos_ + word.size() < s_.size() && IsWordChar(s_[pos_ + word.size()])) return false;
    pos_ += word.size();
    return true;
  }

  std::unique_ptr<TFilterNode> Or(int depth) {
    std::vector<std::unique_ptr<TFilterNode>> items;
    items.push_back(And(depth));
    while (Keyword(u"or")) items.push_back(And(depth));
    if (items.size() == 1) return std::move(items[0]);
    return std::make_unique<AnyOf>(std::move(items));
  }

  std::unique_ptr<TFilterNode> And(int depth) {
    std::vector<std::unique_ptr<TFilterNode>> items;
    items.push_back(Primary(depth));
    while (Keyword(u"and")) items.push_back(Primary(depth));
    if (items.size() == 1) return std::move(items[0]);
    return std::make_unique<AllOf>(std::move(items));
  }

  std::unique_ptr<TFilterNode> Primary(int depth) {
    SkipSpace();
    if (pos_ < s_.size() && s_[pos_] == u'(') {
      if (depth >= kMaxDepth) Fail("parentheses nested too deeply");
      ++pos_;
      auto inner = Or(depth + 1);
      SkipSpace();
      if (pos_ >= s_.size() || s_[pos_] != u')') Fail("')' expected");
      ++pos_;
      return inner;
    }
    const std::size_t column = FieldName();
    const Op op = Operator();
    return std::make_unique<Condition>(column, op, Value());
  }

  std::size_t FieldName() {
    SkipSpace();
    const std::size_t start = pos_;
    std::u16string name;
    if (pos_ < s_.size() && s_[pos_] == u'[') {
      const std::size_t close = s_.find(u']', pos_ + 1);
      if (close == std::u16string_view::npos) Fail("']' expected");
      name = s_.substr(pos_ + 1, close - pos_ - 1);
      pos_ = close + 1;
    } else {
      while (pos_ < s_.size() && IsWordChar(s_[pos_])) ++pos_;
      name = s_.substr(start, pos_ - start);
    }
    if (name.empty()) {
      pos_ = start;
      Fail("field name expected");
    }
    const std::string utf8 = ToUtf8(name);
    for (std::size_t i = 0; i < columns_.size(); ++i)
      if (fw::SameText(columns_[i].name, utf8)) return i;
    pos_ = start;
    Fail("unknown field '" + utf8 + "'");
  }

  Op Operator() {
    SkipSpace();
    if (Keyword(u"like")) return Op::Like;
    auto take = [&](std::u16string_view op) {
      if (s_.substr(pos_, op.size()) != op) return false;
      pos_ += op.size();
      return true;
    };
    if (take(u"<>")) return Op::Ne;
    if (take(u"<=")) return Op::Le;
    if (take(u">=")) return Op::Ge;
    if (take(u"=")) return Op::Eq;
    if (take(u"<")) return Op::Lt;
    if (take(u">")) return Op::Gt;
    Fail("operator expected");
  }

  Literal Value() {
    SkipSpace();
    Literal lit;
    if (pos_ < s_.size() && s_[pos_] == u'\'') {
      ++pos_;
      for (;;) {
        if (pos_ >= s_.size()) Fail("unterminated quoted text");
        if (s_[pos_] == u'\'') {
          if (pos_ + 1 < s_.size() && s_[pos_ + 1] == u'\'') {
            lit.text += u'\'';
            pos_ += 2;
            continue;
          }
          ++pos_;
          break;
        }
        lit.text += s_[pos_++];
      }
      lit.hasNumber = ParseNumber(lit.text, lit.number);
      lit.hasDate = TryParseIsoDate(lit.text, lit.date);
    } else {
      const std::size_t start = pos_;
      if (pos_ < s_.size() && (s_[pos_] == u'-' || s_[pos_] == u'+')) ++pos_;
      while (pos_ < s_.size() && ((s_[pos_] >= u'0' && s_[pos_] <= u'9') || s_[pos_] == u'.'))
        ++pos_;
      lit.text = s_.substr(start, pos_ - start);
      if (!ParseNumber(lit.text, lit.number)) {
        pos_ = start;
        Fail("quoted text or number expected");
      }
      lit.isNumber = lit.hasNumber = true;
    }
    lit.folded = FoldCase(lit.text);
    return lit;
  }

  std::u16string_view s_;
  const std::vector<TColumnInfo>& columns_;
  std::size_t pos_ = 0;
};

}  // namespace

TFilterExpression::TFilterExpression(std::u16string_view text,
                                     const std::vector<TColumnInfo>& columns)
    : FRoot(Parser(text, columns).Parse()) {}
TFilterExpression::~TFilterExpression() = default;
TFilterExpression::TFilterExpression(TFilterExpression&&) noexcept = default;
TFilterExpression& TFilterExpression::operator=(TFilterExpression&&) noexcept = default;

bool TFilterExpression::Matches(const TRow& row) const {
  return FRoot->Matches(row);
}

std::u16string FoldCase(std::u16string_view text) {
  UErrorCode err = U_ZERO_ERROR;
  const int32_t len =
      u_strFoldCase(nullptr, 0, text.data(), int32_t(text.size()), U_FOLD_CASE_DEFAULT, &err);
  std::u16string out(std::size_t(len), u'\0');
  err = U_ZERO_ERROR;
  u_strFoldCase(out.data(), len, text.data(), int32_t(text.size()), U_FOLD_CASE_DEFAULT, &err);
  return out;
}

bool LikeMatch(std::u16string_view text, std::u16string_view pattern) {
  return Condition::LikeFolded(FoldCase(text), FoldCase(pattern));
}

}  // namespace db
