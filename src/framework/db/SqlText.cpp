#include "framework/db/SqlText.h"

#include <algorithm>

#include "framework/db/RussianCollation.h"
#include "framework/db/Variant.h"

namespace db {

namespace {

enum class Tok { Word, Param, Quoted, Punct };

struct Token {
  Tok kind;
  std::size_t begin, end;  // code units of the source
};

bool IsWordChar(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
         c == u'_' || c == u'$' || c >= 0x80;
}

// Splits SQL into tokens; whitespace and comments are dropped. An unterminated quote or
// comment runs to the end of the text (the engine reports the error when it prepares it).
std::vector<Token> Tokenize(std::u16string_view s) {
  std::vector<Token> out;
  std::size_t i = 0;
  const std::size_t n = s.size();
  auto skipTo = [&](std::size_t from, char16_t close) {
    std::size_t j = from;
    while (j < n) {
      if (s[j] == close) {
        if (close != u']' && j + 1 < n && s[j + 1] == close) {
          j += 2;  // a doubled quote stands for itself
          continue;
        }
        return j + 1;
      }
      ++j;
    }
    return n;
  };
  while (i < n) {
    const char16_t c = s[i];
    if (c == u' ' || c == u'\t' || c == u'\r' || c == u'\n') {
      ++i;
    } else if (c == u'-' && i + 1 < n && s[i + 1] == u'-') {
      while (i < n && s[i] != u'\n') ++i;
    } else if (c == u'/' && i + 1 < n && s[i + 1] == u'*') {
      const std::size_t e = s.find(u"*/", i + 2);
      i = e == std::u16string_view::npos ? n : e + 2;
    } else if (c == u'\'' || c == u'"' || c == u'`' || c == u'[') {
      const std::size_t e = skipTo(i + 1, c == u'[' ? u']' : c);
      out.push_back({Tok::Quoted, i, e});
      i = e;
    } else if (c == u':' && i + 1 < n && IsWordChar(s[i + 1])) {
      std::size_t e = i + 1;
      while (e < n && IsWordChar(s[e])) ++e;
      out.push_back({Tok::Param, i, e});
      i = e;
    } else if (IsWordChar(c)) {
      std::size_t e = i;
      while (e < n && IsWordChar(s[e])) ++e;
      out.push_back({Tok::Word, i, e});
      i = e;
    } else {
      out.push_back({Tok::Punct, i, i + 1});
      ++i;
    }
  }
  return out;
}

bool IsKeyword(std::u16string_view s, const Token& t, std::u16string_view word) {
  if (t.kind != Tok::Word || t.end - t.begin != word.size()) return false;
  for (std::size_t k = 0; k < word.size(); ++k) {
    char16_t c = s[t.begin + k];
    if (c >= u'a' && c <= u'z') c = char16_t(c - 32);
    if (c != word[k]) return false;
  }
  return true;
}

bool IsPunct(std::u16string_view s, const Token& t, char16_t c) {
  return t.kind == Tok::Punct && s[t.begin] == c;
}

}  // namespace

std::u16string EngineSql(std::u16string_view sql) {
  const std::vector<Token> toks = Tokenize(sql);
  std::vector<std::size_t> inserts;  // source offsets that get " COLLATE RU"
  for (std::size_t i = 0; i + 1 < toks.size(); ++i) {
    if (!IsKeyword(sql, toks[i], u"ORDER") || !IsKeyword(sql, toks[i + 1], u"BY")) continue;
    // Terms run to a comma at the clause's own depth; the clause ends at LIMIT, ';', a
    // closing parenthesis of an enclosing level, or the end of the text.
    std::size_t j = i + 2;
    int depth = 0;
    bool collated = false;
    std::size_t termEnd = 0;  // offset after the term's expression (before ASC/DESC/NULLS)
    bool inTail = false;
    auto finishTerm = [&] {
      if (termEnd && !collated) inserts.push_back(termEnd);
      collated = false;
      termEnd = 0;
      inTail = false;
    };
    for (; j < toks.size(); ++j) {
      const Token& t = toks[j];
      if (depth == 0) {
        if (IsPunct(sql, t, u',')) {
          finishTerm();
          continue;
        }
        if (IsPunct(sql, t, u';') || IsPunct(sql, t, u')') || IsKeyword(sql, t, u"LIMIT") ||
            IsKeyword(sql, t, u"OFFSET"))
          break;
        if (IsKeyword(sql, t, u"COLLATE")) collated = true;
        if (IsKeyword(sql, t, u"ASC") || IsKeyword(sql, t, u"DESC") || IsKeyword(sql, t, u"NULLS"))
          inTail = true;
      }
      if (IsPunct(sql, t, u'(')) ++depth;
      if (IsPunct(sql, t, u')')) --depth;
      if (!inTail) termEnd = t.end;
    }
    finishTerm();
    i = j - 1;
  }
  std::u16string out;
  out.reserve(sql.size() + inserts.size() * 12);
  std::size_t from = 0;
  const std::u16string collate = u" COLLATE " + ToUtf16(kRussianCollation);
  for (std::size_t at : inserts) {
    out.append(sql.substr(from, at - from));
    out += collate;
    from = at;
  }
  out.append(sql.substr(from));
  return out;
}

std::vector<std::string> ParameterNames(std::u16string_view sql) {
  std::vector<std::string> names;
  for (const Token& t : Tokenize(sql)) {
    if (t.kind != Tok::Param) continue;
    std::string name = ToUtf8(sql.substr(t.begin + 1, t.end - t.begin - 1));
    if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
  }
  return names;
}

}  // namespace db
