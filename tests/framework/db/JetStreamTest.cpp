#include <gtest/gtest.h>

#include <cmath>

#include "framework/db/DbError.h"
#include "framework/db/JetStream.h"

namespace db {
namespace {

using K = TJetColumnKind;

// Keeps what arrives as text lines, to compare whole streams.
class TRecorder : public TJetStreamSink {
 public:
  void BeginTable(const TJetTableInfo& t) override {
    std::string line = "table " + ToUtf8(t.name) + ":";
    for (const auto& c : t.columns)
      line += " " + ToUtf8(c.name) + "/" + std::to_string(int(c.kind));
    lines.push_back(line);
  }
  void AddRow(const std::vector<TVariant>& values) override {
    std::string line = "row";
    for (const TVariant& v : values) {
      line += " ";
      switch (v.VarType()) {
        case TVarType::Null:
          line += "null";
          break;
        case TVarType::Integer:
          line += "i" + std::to_string(v.Integer());
          break;
        case TVarType::Float:
          line += "f" + std::to_string(v.Float());
          break;
        case TVarType::Text:
          line += "t" + ToUtf8(v.Text());
          break;
        case TVarType::Date:
          line += "d" + FormatIsoDate(v.Date());
          break;
        case TVarType::Blob:
          line += "b" + std::to_string(v.Blob().size());
          break;
        case TVarType::Boolean:
          line += v.Boolean() ? "yes" : "no";
          break;
      }
    }
    lines.push_back(line);
  }
  void EndTable() override { lines.push_back("end"); }
  std::vector<std::string> lines;
};

std::string TwoTables() {
  TJetStreamWriter w;
  w.BeginTable("mun", {{"id", K::Counter}, {"nam", K::Text}});
  w.Integer(-5);
  w.Text("Заречный");
  w.EndRow();
  w.Integer(7);
  w.Null();
  w.EndRow();
  w.EndTable(2);
  w.BeginTable("t", {{"d", K::DateTime}, {"b", K::Blob}, {"r", K::Real}, {"o", K::Boolean}});
  w.Date("1987-09-01 10:20:30");
  const std::uint8_t bytes[300] = {1, 2, 3};
  w.Blob(bytes);
  w.Real(2.5);
  w.Boolean(true);
  w.EndRow();
  w.EndTable(1);
  w.End();
  return w.Take();
}

std::span<const std::uint8_t> Span(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

std::vector<std::string> Parse(const std::string& stream, std::size_t piece) {
  TRecorder r;
  TJetStreamParser p(r);
  for (std::size_t at = 0; at < stream.size(); at += piece)
    p.Feed(Span(stream).subspan(at, std::min(piece, stream.size() - at)));
  p.Finish();
  return r.lines;
}

std::string ParseError(const std::string& stream, std::size_t maxFrame = 1 << 20) {
  TRecorder r;
  TJetStreamParser p(r, maxFrame);
  try {
    p.Feed(Span(stream));
    p.Finish();
  } catch (const EDatabaseError& e) {
    return e.what();
  }
  return "parsed";
}

std::string Frame(char kind, const std::string& payload) {
  std::string f(1, kind);
  for (int i = 0; i < 4; ++i) f += char((payload.size() >> (8 * i)) & 0xFF);
  return f + payload;
}

const std::string kMagic(kJetStreamMagic);

TEST(JetStream, ParsesWhatTheWriterWroteInPiecesOfAnySize) {
  const std::vector<std::string> expected = {"table mun: id/2 nam/4",
                                             "row i-5 tЗаречный",
                                             "row i7 null",
                                             "end",
                                             "table t: d/6 b/7 r/3 o/8",
                                             "row d1987-09-01 10:20:30 b300 f2.500000 yes",
                                             "end"};
  for (std::size_t piece : {std::size_t(1), std::size_t(2), std::size_t(7), std::size_t(1) << 20})
    EXPECT_EQ(Parse(TwoTables(), piece), expected) << "pieces of " << piece;
}

TEST(JetStream, RefusesMalformedStreams) {
  const std::string ok = TwoTables();
  EXPECT_NE(ParseError("SQLite format 3"), "parsed");
  EXPECT_NE(ParseError(ok.substr(0, ok.size() - 1)).find("ends early"), std::string::npos);
  EXPECT_NE(ParseError(ok + "x").find("after its end"), std::string::npos);
  // A length field asking for 4 GiB is refused before anything is allocated for it.
  EXPECT_NE(ParseError(kMagic + "R\xFF\xFF\xFF\xFF").find("frame of 4294967295"),
            std::string::npos);
  EXPECT_NE(ParseError(kMagic + Frame('R', "")).find("row outside a table"), std::string::npos);
  EXPECT_NE(ParseError(kMagic + Frame('Q', "")).find("unknown kind"), std::string::npos);
  EXPECT_NE(ParseError(kMagic + Frame('E', std::string(8, '\0'))).find("outside"),
            std::string::npos);

  TJetStreamWriter w;
  w.BeginTable("mun", {{"id", K::Integer}, {"nam", K::Text}});
  const std::string head = w.Take();
  // Fewer values than columns, more, a value of no kind, a row count that disagrees.
  EXPECT_NE(ParseError(head + Frame('R', std::string("\x01", 1) + std::string(8, '\0')))
                .find("runs past"),
            std::string::npos);
  EXPECT_NE(ParseError(head + Frame('R', std::string(3, '\0'))).find("more values"),
            std::string::npos);
  EXPECT_NE(ParseError(head + Frame('R', std::string("\x09\x00", 2))).find("unknown kind"),
            std::string::npos);
  EXPECT_NE(ParseError(head + Frame('E', std::string("\x01\0\0\0\0\0\0\0", 8))).find("row count"),
            std::string::npos);
  // Text that is not UTF-8, a date that is none, a boolean that is neither.
  EXPECT_NE(
      ParseError(head + Frame('R', std::string("\x00\x03\x02\0\0\0\xC3\x28", 8))).find("UTF-8"),
      std::string::npos);
  EXPECT_NE(ParseError(head + Frame('R', std::string("\x00\x04\x02\0\0\0no", 8))).find("no date"),
            std::string::npos);
  EXPECT_NE(ParseError(head + Frame('R', std::string("\x00\x06\x02", 3))).find("neither"),
            std::string::npos);
  // A table without columns, a column of no kind, a table inside a table.
  EXPECT_NE(ParseError(kMagic + Frame('T', std::string("\x01\0\0\0t\0\0", 7))).find("0 columns"),
            std::string::npos);
  EXPECT_NE(ParseError(kMagic + Frame('T', std::string("\x01\0\0\0t\x01\0\x01\0\0\0c\x63", 13)))
                .find("unknown kind"),
            std::string::npos);
  EXPECT_NE(ParseError(head + head.substr(kMagic.size())).find("inside a table"),
            std::string::npos);
}

TEST(JetStream, FramesAreLimited) {
  const std::string ok = TwoTables();
  EXPECT_EQ(ParseError(ok, 400), "parsed");
  EXPECT_NE(ParseError(ok, 100).find("a frame of"), std::string::npos);
}

TEST(JetStream, PassesTheReadersRefusalOn) {
  TJetStreamWriter w;
  w.BeginTable("mun", {{"id", K::Integer}});
  w.Refuse("it has no table 'uz'");
  EXPECT_EQ(ParseError(w.Take()), "it has no table 'uz'");
}

// Before the day zero a Jet date counts whole days back and the time of day forward.
TEST(JetStream, JetDatesBecomeOurDates) {
  auto date = [](double jet) {
    TDateTime d;
    return JetDateToDateTime(jet, d) ? FormatIsoDate(d) : "refused";
  };
  EXPECT_EQ(date(0), "1899-12-30");
  EXPECT_EQ(date(-0.25), "1899-12-30 06:00:00");
  EXPECT_EQ(date(-1.25), "1899-12-29 06:00:00");
  EXPECT_EQ(date(-36522.5), "1800-01-01 12:00:00");
  EXPECT_EQ(date(-693593), "0001-01-01");
  EXPECT_EQ(date(31655.4375), "1986-08-31 10:30:00");
  EXPECT_EQ(date(2958465 + 86399.0 / 86400), "9999-12-31 23:59:59");
  EXPECT_EQ(date(2958466), "refused");
  EXPECT_EQ(date(-693594), "refused");
  EXPECT_EQ(date(std::nan("")), "refused");
  EXPECT_EQ(date(1e300), "refused");
}

}  // namespace
}  // namespace db
