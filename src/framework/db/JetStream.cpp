#include "framework/db/JetStream.h"

#include <unicode/ustring.h>

#include <bit>
#include <cmath>
#include <cstring>

#include "framework/db/DbError.h"

namespace db {

namespace {

constexpr std::size_t kFrameHeader = 5;
// Jet tables have at most 255 columns; a name is at most 64 characters (192 UTF-8 bytes), with
// room to spare.
constexpr std::size_t kMaxColumns = 255;
constexpr std::size_t kMaxName = 1024;

[[noreturn]] void Bad(const std::string& what) {
  throw EDatabaseError("the reader's stream is malformed (" + what + ")");
}

void PutLE(std::string& out, std::uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out += char((v >> (8 * i)) & 0xFF);
}

void PutText(std::string& out, std::string_view text) {
  PutLE(out, text.size(), 4);
  out += text;
}

// Reads the fields of one frame's payload; running past its end is malformed.
class TPayload {
 public:
  explicit TPayload(std::string_view p) : FP(p) {}
  std::uint64_t LE(int bytes) {
    const std::string_view b = Bytes(std::size_t(bytes));
    std::uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | std::uint8_t(b[std::size_t(i)]);
    return v;
  }
  std::string_view Bytes(std::size_t n) {
    if (n > FP.size() - FPos) Bad("a field runs past its frame");
    const std::string_view b = FP.substr(FPos, n);
    FPos += n;
    return b;
  }
  std::string_view Text() { return Bytes(std::size_t(LE(4))); }
  std::string_view Rest() { return Bytes(FP.size() - FPos); }
  bool AtEnd() const { return FPos == FP.size(); }

 private:
  std::string_view FP;
  std::size_t FPos = 0;
};

// UTF-8 to UTF-16, refusing ill-formed bytes (the reader only writes well-formed text).
std::u16string StrictUtf16(std::string_view utf8) {
  if (utf8.size() > std::size_t(INT32_MAX)) Bad("a text too long");
  UErrorCode err = U_ZERO_ERROR;
  int32_t len = 0;
  u_strFromUTF8(nullptr, 0, &len, utf8.data(), int32_t(utf8.size()), &err);
  if (err != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(err)) Bad("a text that is not UTF-8");
  std::u16string out(std::size_t(len), u'\0');
  err = U_ZERO_ERROR;
  u_strFromUTF8(out.data(), len, &len, utf8.data(), int32_t(utf8.size()), &err);
  if (U_FAILURE(err)) Bad("a text that is not UTF-8");
  return out;
}

std::u16string Name(TPayload& p) {
  const std::string_view name = p.Text();
  if (name.empty() || name.size() > kMaxName)
    Bad("a name of " + std::to_string(name.size()) + " bytes");
  return StrictUtf16(name);
}

}  // namespace

bool JetDateToDateTime(double jet, TDateTime& out) {
  // 0001-01-01 and the day after 9999-12-31.
  constexpr double kFirst = -693593, kEnd = 2958466;
  if (!(jet > kFirst - 1 && jet < kEnd)) return false;
  const double day = std::trunc(jet);
  out.days = day + std::fabs(jet - day);
  return true;
}

TJetStreamWriter::TJetStreamWriter() : FOut(kJetStreamMagic) {}

void TJetStreamWriter::Frame(char kind, std::string_view payload) {
  FOut += kind;
  PutLE(FOut, payload.size(), 4);
  FOut += payload;
}

void TJetStreamWriter::BeginTable(
    std::string_view name, const std::vector<std::pair<std::string, TJetColumnKind>>& columns) {
  std::string p;
  PutText(p, name);
  PutLE(p, columns.size(), 2);
  for (const auto& [column, kind] : columns) {
    PutText(p, column);
    p += char(kind);
  }
  Frame('T', p);
}

void TJetStreamWriter::Null() {
  FRow += char(TJetValueTag::Null);
}
void TJetStreamWriter::Integer(std::int64_t v) {
  FRow += char(TJetValueTag::Integer);
  PutLE(FRow, std::uint64_t(v), 8);
}
void TJetStreamWriter::Real(double v) {
  FRow += char(TJetValueTag::Real);
  PutLE(FRow, std::bit_cast<std::uint64_t>(v), 8);
}
void TJetStreamWriter::Text(std::string_view utf8) {
  FRow += char(TJetValueTag::Text);
  PutText(FRow, utf8);
}
void TJetStreamWriter::Date(std::string_view iso) {
  FRow += char(TJetValueTag::Date);
  PutText(FRow, iso);
}
void TJetStreamWriter::Blob(std::span<const std::uint8_t> bytes) {
  FRow += char(TJetValueTag::Blob);
  PutText(FRow, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}
void TJetStreamWriter::Boolean(bool v) {
  FRow += char(TJetValueTag::Boolean);
  FRow += char(v ? 1 : 0);
}
void TJetStreamWriter::EndRow() {
  Frame('R', FRow);
  FRow.clear();
}
void TJetStreamWriter::EndTable(std::uint64_t rows) {
  std::string p;
  PutLE(p, rows, 8);
  Frame('E', p);
}
void TJetStreamWriter::Refuse(std::string_view message) {
  Frame('X', message);
}
void TJetStreamWriter::End() {
  Frame('Z', {});
}

std::string TJetStreamWriter::Take() {
  std::string out;
  out.swap(FOut);
  return out;
}

TJetStreamParser::TJetStreamParser(TJetStreamSink& sink, std::size_t maxFrame)
    : FSink(sink), FMaxFrame(maxFrame) {}

void TJetStreamParser::Feed(std::span<const std::uint8_t> bytes) {
  if (bytes.empty()) return;
  if (FDone) Bad("bytes after its end");
  FPending.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  std::size_t pos = 0;
  if (!FMagicSeen) {
    const std::size_t n = std::min(FPending.size(), kJetStreamMagic.size());
    if (std::string_view(FPending).substr(0, n) != kJetStreamMagic.substr(0, n))
      Bad("it does not begin as the reader's stream does");
    if (n < kJetStreamMagic.size()) return;
    FMagicSeen = true;
    pos = n;
  }
  while (FPending.size() - pos >= kFrameHeader) {
    const std::string_view head(FPending.data() + pos, kFrameHeader);
    std::uint32_t length = 0;
    for (int i = 4; i >= 1; --i) length = (length << 8) | std::uint8_t(head[std::size_t(i)]);
    if (length > FMaxFrame) Bad("a frame of " + std::to_string(length) + " bytes");
    if (FPending.size() - pos - kFrameHeader < length) break;
    Frame(head[0], std::string_view(FPending.data() + pos + kFrameHeader, length));
    pos += kFrameHeader + length;
    if (FDone && pos != FPending.size()) Bad("bytes after its end");
  }
  FPending.erase(0, pos);
}

void TJetStreamParser::Frame(char kind, std::string_view payload) {
  TPayload p(payload);
  switch (kind) {
    case 'T': {
      if (FInTable) Bad("a table inside a table");
      TJetTableInfo table;
      table.name = Name(p);
      const std::size_t n = std::size_t(p.LE(2));
      if (n == 0 || n > kMaxColumns) Bad(std::to_string(n) + " columns");
      for (std::size_t i = 0; i < n; ++i) {
        std::u16string column = Name(p);
        const auto kind = TJetColumnKind(p.LE(1));
        if (kind < TJetColumnKind::Integer || kind > TJetColumnKind::Boolean)
          Bad("a column of unknown kind");
        table.columns.push_back({std::move(column), kind});
      }
      if (!p.AtEnd()) Bad("bytes after a table's columns");
      FSink.BeginTable(table);
      FInTable = true;
      FColumns = n;
      FRows = 0;
      return;
    }
    case 'R': {
      if (!FInTable) Bad("a row outside a table");
      FValues.clear();
      for (std::size_t i = 0; i < FColumns; ++i) {
        switch (TJetValueTag(p.LE(1))) {
          case TJetValueTag::Null:
            FValues.emplace_back();
            break;
          case TJetValueTag::Integer:
            FValues.emplace_back(std::int64_t(p.LE(8)));
            break;
          case TJetValueTag::Real:
            FValues.emplace_back(std::bit_cast<double>(p.LE(8)));
            break;
          case TJetValueTag::Text: {
            TVariant text(StrictUtf16(p.Text()));
            FValues.push_back(std::move(text));
            break;
          }
          case TJetValueTag::Date: {
            TDateTime date;
            if (!TryParseIsoDate(StrictUtf16(p.Text()), date)) Bad("a date that is no date");
            FValues.emplace_back(date);
            break;
          }
          case TJetValueTag::Blob: {
            const std::string_view b = p.Text();
            FValues.emplace_back(TBytes(b.begin(), b.end()));
            break;
          }
          case TJetValueTag::Boolean: {
            const std::uint64_t v = p.LE(1);
            if (v > 1) Bad("a boolean that is neither");
            FValues.emplace_back(v == 1);
            break;
          }
          default:
            Bad("a value of unknown kind");
        }
      }
      if (!p.AtEnd()) Bad("more values than columns");
      FSink.AddRow(FValues);
      ++FRows;
      return;
    }
    case 'E':
      if (!FInTable) Bad("a table's end outside a table");
      if (p.LE(8) != FRows || !p.AtEnd()) Bad("a table's row count that disagrees with its rows");
      FSink.EndTable();
      FInTable = false;
      return;
    case 'X': {
      const std::string_view message = p.Rest();
      throw EDatabaseError(message.empty() ? std::string("the reader refused it")
                                           : ToUtf8(StrictUtf16(message)));
    }
    case 'Z':
      if (FInTable || !p.AtEnd()) Bad("an end inside a table");
      FDone = true;
      return;
    default:
      Bad("a frame of unknown kind");
  }
}

void TJetStreamParser::Finish() {
  if (!FDone) Bad("it ends early");
}

}  // namespace db
