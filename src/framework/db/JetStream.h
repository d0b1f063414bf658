// The framed stream in which the Jet reader (a child process, see JetSource.h) hands the rows
// of a Jet file to the program. The reader's side only writes it; the program's side parses it
// as outside input: any byte may be wrong, and a mistake is an EDatabaseError, never a crash
// or an allocation the stream's own length fields ask for.
//
// The stream: the 8 bytes kJetStreamMagic, then frames of { kind: 1 byte, length: 4 bytes
// little-endian, payload: length bytes }. Integers are little-endian; a text is a 4-byte length
// and UTF-8 bytes.
//   'T' a table begins: name, 2-byte column count, each column its name and its kind (1 byte,
//       TJetColumnKind)
//   'R' a row of the current table: one value per column, each a tag (TJetValueTag) and its
//       bytes: nothing (null), 8 bytes (integer, real: IEEE double), a text (text; a date as
//       "YYYY-MM-DD[ HH:MM:SS]"), a 4-byte length and bytes (blob), 1 byte (boolean)
//   'E' the current table ends: 8-byte count of its rows
//   'X' the reader refuses the file: the message (UTF-8, the rest of the payload)
//   'Z' the end; nothing may follow
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "framework/db/Variant.h"

namespace db {

inline constexpr std::string_view kJetStreamMagic{"MCJET1\n\0", 8};

// What a column holds, as the reader reports it.
enum class TJetColumnKind : std::uint8_t {
  Integer = 1,  // byte, integer, long integer
  Counter,      // a long integer the file numbers itself (auto-increment)
  Real,         // single, double, currency, decimal
  Text,
  LongText,  // memo
  DateTime,
  Blob,  // OLE object, binary
  Boolean,
};

enum class TJetValueTag : std::uint8_t { Null, Integer, Real, Text, Date, Blob, Boolean };

// A date as a Jet file stores it (days since 1899-12-30; before that day the whole days count
// back and the fraction is the time of day forward) as our date; false for a value outside the
// years 1 to 9999 (or no number at all), which only a damaged file holds.
bool JetDateToDateTime(double jet, TDateTime& out);

struct TJetColumnInfo {
  std::u16string name;
  TJetColumnKind kind;
};

struct TJetTableInfo {
  std::u16string name;
  std::vector<TJetColumnInfo> columns;
};

// Where parsed tables go. A sink may raise EDatabaseError to refuse what it is given.
class TJetStreamSink {
 public:
  virtual ~TJetStreamSink() = default;
  virtual void BeginTable(const TJetTableInfo& table) = 0;
  // One value per column of the current table; a date is a TVariant date.
  virtual void AddRow(const std::vector<TVariant>& values) = 0;
  virtual void EndTable() = 0;
};

// Builds the stream (the reader's side, the tests and the fuzz seeds).
class TJetStreamWriter {
 public:
  TJetStreamWriter();
  void BeginTable(std::string_view name,
                  const std::vector<std::pair<std::string, TJetColumnKind>>& columns);
  // A row is built value by value, then ended.
  void Null();
  void Integer(std::int64_t v);
  void Real(double v);
  void Text(std::string_view utf8);
  void Date(std::string_view iso);
  void Blob(std::span<const std::uint8_t> bytes);
  void Boolean(bool v);
  void EndRow();
  void EndTable(std::uint64_t rows);
  void Refuse(std::string_view message);
  void End();

  // The bytes written so far (taken: the writer goes on from empty), and their count.
  std::string Take();
  std::size_t Size() const { return FOut.size(); }

 private:
  void Frame(char kind, std::string_view payload);
  std::string FOut;
  std::string FRow;
};

// Parses the stream as it arrives, in pieces of any size, into a sink.
class TJetStreamParser {
 public:
  // Frames longer than maxFrame bytes are refused.
  explicit TJetStreamParser(TJetStreamSink& sink, std::size_t maxFrame = kDefaultMaxFrame);

  // Raises EDatabaseError for a malformed stream, or with the reader's own message.
  void Feed(std::span<const std::uint8_t> bytes);
  // The stream ended: raises EDatabaseError unless it was whole.
  void Finish();
  bool Complete() const { return FDone; }

  static constexpr std::size_t kDefaultMaxFrame = 256u << 20;

 private:
  void Frame(char kind, std::string_view payload);

  TJetStreamSink& FSink;
  std::size_t FMaxFrame;
  std::string FPending;  // bytes of an unfinished frame (or of the magic)
  bool FMagicSeen = false;
  bool FDone = false;
  bool FInTable = false;
  std::size_t FColumns = 0;
  std::uint64_t FRows = 0;
  std::vector<TVariant> FValues;
};

}  // namespace db
