#include "framework/WindowDescription.h"

#include <cctype>
#include <cmath>
#include <locale>
#include <sstream>

#include "framework/TextConv.h"

namespace fw {

EReadError::EReadError(const std::string& file, int line, const std::string& property,
                       const std::u16string& message)
    : Exception(Utf8ToUtf16(file) + u":" + Utf8ToUtf16(std::to_string(line)) + u": " +
                (property.empty() ? u"" : Utf8ToUtf16(property) + u": ") + message),
      FFile(file),
      FLine(line),
      FProperty(property) {}

namespace {

constexpr int kMaxDepth = 64;
constexpr std::size_t kMaxText = 16u << 20;

bool IsIdentStart(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}

bool IsIdentChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

class Parser {
 public:
  Parser(std::string_view text, const std::string& file) : s_(text), file_(file) {}

  TObjectDesc Document() {
    if (s_.size() > kMaxText) Fail("the description is too large");
    SkipSpace();
    TObjectDesc root = Object(0);
    SkipSpace();
    if (pos_ != s_.size()) Fail("text after the last 'end'");
    return root;
  }

 private:
  [[noreturn]] void Fail(const std::string& what, const std::string& property = {}) {
    throw EReadError(file_, line_, property, Utf8ToUtf16(what));
  }

  void SkipSpace() {
    while (pos_ < s_.size()) {
      char c = s_[pos_];
      if (c == '\n') {
        ++line_;
        ++pos_;
      } else if (c == ' ' || c == '\t' || c == '\r') {
        ++pos_;
      } else if (c == '/' && pos_ + 1 < s_.size() && s_[pos_ + 1] == '/') {
        while (pos_ < s_.size() && s_[pos_] != '\n') ++pos_;
      } else {
        break;
      }
    }
  }

  bool Peek(char c) {
    SkipSpace();
    return pos_ < s_.size() && s_[pos_] == c;
  }

  void Expect(char c, const std::string& property = {}) {
    if (!Peek(c)) Fail(std::string("'") + c + "' expected", property);
    ++pos_;
  }

  // An identifier, dotted parts included when dotted is set.
  std::string Ident(bool dotted) {
    SkipSpace();
    if (pos_ >= s_.size() || !IsIdentStart(s_[pos_])) Fail("identifier expected");
    std::size_t start = pos_;
    while (pos_ < s_.size() &&
           (IsIdentChar(s_[pos_]) ||
            (dotted && s_[pos_] == '.' && pos_ + 1 < s_.size() && IsIdentStart(s_[pos_ + 1]))))
      ++pos_;
    return std::string(s_.substr(start, pos_ - start));
  }

  bool AtKeyword(std::string_view word) {
    SkipSpace();
    if (s_.substr(pos_, word.size()).size() != word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i)
      if (std::tolower(static_cast<unsigned char>(s_[pos_ + i])) != word[i]) return false;
    std::size_t end = pos_ + word.size();
    return end == s_.size() || !IsIdentChar(s_[end]);
  }

  TObjectDesc Object(int depth) {
    if (depth > kMaxDepth) Fail("objects nested too deeply");
    if (!AtKeyword("object") && !AtKeyword("inherited")) Fail("'object' expected");
    TObjectDesc obj;
    obj.line = line_;
    Ident(false);
    obj.name = Ident(false);
    Expect(':');
    obj.className = Ident(false);
    for (;;) {
      if (AtKeyword("end")) {
        pos_ += 3;
        return obj;
      }
      if (AtKeyword("object") || AtKeyword("inherited")) {
        obj.children.push_back(Object(depth + 1));
        continue;
      }
      if (pos_ >= s_.size()) Fail("'end' expected for object " + obj.name);
      obj.properties.push_back(Property(depth));
    }
  }

  TPropertyDesc Property(int depth) {
    TPropertyDesc p;
    p.line = line_;
    p.name = Ident(true);
    Expect('=', p.name);
    p.value = Value(p.name, depth);
    return p;
  }

  std::int64_t Integer(const std::string& property) {
    bool negative = false;
    if (pos_ < s_.size() && (s_[pos_] == '-' || s_[pos_] == '+')) negative = s_[pos_++] == '-';
    int base = 10;
    if (pos_ < s_.size() && s_[pos_] == '$') {
      base = 16;
      ++pos_;
    }
    std::int64_t v = 0;
    std::size_t start = pos_;
    while (pos_ < s_.size() && std::isxdigit(static_cast<unsigned char>(s_[pos_]))) {
      char c = s_[pos_];
      int d = std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::tolower(c) - 'a' + 10;
      if (d >= base) break;
      v = v * base + d;
      if (v > (std::int64_t(1) << 40)) Fail("number out of range", property);
      ++pos_;
    }
    if (pos_ == start) Fail("number expected", property);
    if (pos_ < s_.size() && (IsIdentChar(s_[pos_]) || s_[pos_] == '.'))
      Fail("invalid number", property);
    return negative ? -v : v;
  }

  // An integer, or a real when a decimal point follows its digits: 1.5, -0.25, 1.2E-5.
  void Number(const std::string& property, TValueDesc& v) {
    const std::size_t start = pos_;
    std::size_t p = pos_;
    if (p < s_.size() && (s_[p] == '-' || s_[p] == '+')) ++p;
    while (p < s_.size() && std::isdigit(static_cast<unsigned char>(s_[p]))) ++p;
    if (p >= s_.size() || s_[p] != '.' || !std::isdigit(static_cast<unsigned char>(s_[p - 1]))) {
      v.kind = TValueDesc::Kind::Integer;
      v.integer = Integer(property);
      return;
    }
    ++p;
    const std::size_t fraction = p;
    while (p < s_.size() && std::isdigit(static_cast<unsigned char>(s_[p]))) ++p;
    if (p == fraction) Fail("invalid number", property);
    if (p < s_.size() && (s_[p] == 'E' || s_[p] == 'e')) {
      ++p;
      if (p < s_.size() && (s_[p] == '-' || s_[p] == '+')) ++p;
      const std::size_t exponent = p;
      while (p < s_.size() && std::isdigit(static_cast<unsigned char>(s_[p]))) ++p;
      if (p == exponent) Fail("invalid number", property);
    }
    if (p < s_.size() && (IsIdentChar(s_[p]) || s_[p] == '.')) Fail("invalid number", property);
    // Read in the classic locale: the decimal separator is a point whatever the user's is.
    const std::string text(s_.substr(start, p - start));
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    double value = 0;
    in >> value;
    if (in.fail() || !std::isfinite(value)) Fail("number out of range", property);
    v.kind = TValueDesc::Kind::Real;
    v.real = value;
    pos_ = p;
  }

  // 'text'#13'more' pieces, joined also by + across lines. Pieces apart without a + are
  // separate values (the items of a list).
  std::u16string String(const std::string& property) {
    std::u16string out;
    bool piece = false;  // a piece was read: a + may follow after spaces
    SkipSpace();
    for (;;) {
      if (piece && (pos_ >= s_.size() || (s_[pos_] != '\'' && s_[pos_] != '#'))) {
        std::size_t end = pos_;
        int line = line_;
        SkipSpace();
        if (pos_ >= s_.size() || s_[pos_] != '+') {
          pos_ = end;
          line_ = line;
          return out;
        }
      }
      piece = true;
      if (pos_ < s_.size() && s_[pos_] == '\'') {
        ++pos_;
        std::string bytes;
        for (;;) {
          if (pos_ >= s_.size() || s_[pos_] == '\n') Fail("unterminated string", property);
          if (s_[pos_] == '\'') {
            if (pos_ + 1 < s_.size() && s_[pos_ + 1] == '\'') {
              bytes += '\'';
              pos_ += 2;
              continue;
            }
            ++pos_;
            break;
          }
          bytes += s_[pos_++];
        }
        out += Utf8ToUtf16(bytes);
      } else if (pos_ < s_.size() && s_[pos_] == '#') {
        ++pos_;
        std::int64_t code = Integer(property);
        if (code < 0 || code > 0xFFFF) Fail("character code out of range", property);
        out += char16_t(code);
      } else if (pos_ < s_.size() && s_[pos_] == '+' && piece) {
        ++pos_;
        SkipSpace();
        if (pos_ >= s_.size() || (s_[pos_] != '\'' && s_[pos_] != '#'))
          Fail("string expected after '+'", property);
      } else {
        return out;
      }
      if (out.size() > kMaxText) Fail("string too long", property);
    }
  }

  TValueDesc Value(const std::string& property, int depth) {
    if (depth > kMaxDepth) Fail("values nested too deeply", property);
    SkipSpace();
    TValueDesc v;
    v.line = line_;
    if (pos_ >= s_.size()) Fail("value expected", property);
    char c = s_[pos_];
    if (c == '\'' || c == '#') {
      v.kind = TValueDesc::Kind::String;
      v.string = String(property);
    } else if (c == '-' || c == '+' || c == '$' || std::isdigit(static_cast<unsigned char>(c))) {
      Number(property, v);
    } else if (c == '[') {
      ++pos_;
      v.kind = TValueDesc::Kind::Set;
      if (!Peek(']')) {
        for (;;) {
          v.set.push_back(Ident(false));
          if (!Peek(',')) break;
          ++pos_;
        }
      }
      Expect(']', property);
    } else if (c == '(') {
      ++pos_;
      v.kind = TValueDesc::Kind::List;
      while (!Peek(')')) {
        if (pos_ >= s_.size()) Fail("')' expected", property);
        v.list.push_back(Value(property, depth + 1));
      }
      ++pos_;
    } else if (c == '<') {
      ++pos_;
      v.kind = TValueDesc::Kind::Collection;
      while (!Peek('>')) {
        if (!AtKeyword("item")) Fail("'item' expected", property);
        pos_ += 4;
        std::vector<TPropertyDesc> item;
        while (!AtKeyword("end")) {
          if (pos_ >= s_.size()) Fail("'end' expected for the item", property);
          item.push_back(Property(depth + 1));
        }
        pos_ += 3;
        v.items.push_back(std::move(item));
      }
      ++pos_;
    } else if (IsIdentStart(c)) {
      v.kind = TValueDesc::Kind::Ident;
      v.ident = Ident(true);
    } else {
      Fail("value expected", property);
    }
    return v;
  }

  std::string_view s_;
  const std::string& file_;
  std::size_t pos_ = 0;
  int line_ = 1;
};

}  // namespace

TObjectDesc ParseWindowDescription(std::string_view text, const std::string& file) {
  return Parser(text, file).Document();
}

}  // namespace fw
