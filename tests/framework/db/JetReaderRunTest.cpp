// The reader's child process under its limits, with stand-in readers from the shell that
// crash, hang, write garbage or too much.
#include <gtest/gtest.h>

#include "framework/db/DbError.h"
#include "framework/db/JetSource.h"

namespace db {
namespace {

class TCounter : public TJetStreamSink {
 public:
  void BeginTable(const TJetTableInfo&) override { ++tables; }
  void AddRow(const std::vector<TVariant>&) override { ++rows; }
  void EndTable() override {}
  int tables = 0, rows = 0;
};

// What a stand-in reader (a shell script writing to fd 3) comes to.
std::string RunReader(const std::string& script, TJetReadLimits limits = {}) {
  TCounter sink;
  TJetStreamParser parser(sink);
  try {
    RunJetReader({"/bin/sh", "-c", script}, limits, parser);
  } catch (const EDatabaseError& e) {
    return e.what();
  }
  return "tables " + std::to_string(sink.tables) + ", rows " + std::to_string(sink.rows);
}

// The stream's magic and frames, as printf text.
const std::string kMagic = R"(printf 'MCJET1\n\000' >&3;)";

TEST(JetReaderRun, AWholeStreamIsRead) {
  EXPECT_EQ(
      RunReader(
          kMagic +
          R"(printf 'T\020\000\000\000\003\000\000\000mun\001\000\002\000\000\000id\001R\011\000\000\000\001\007\000\000\000\000\000\000\000E\010\000\000\000\001\000\000\000\000\000\000\000Z\000\000\000\000' >&3)"),
      "tables 1, rows 1");
}

TEST(JetReaderRun, FailuresOfTheReaderBecomeErrors) {
  EXPECT_EQ(RunReader("kill -SEGV $$").rfind("the reader crashed (signal 11, ", 0), 0u);
  EXPECT_EQ(RunReader(kMagic + "exit 5"), "the reader failed (status 5)");
  EXPECT_EQ(RunReader(kMagic), "the reader's stream is malformed (it ends early)");
  EXPECT_EQ(RunReader("echo garbage >&3"),
            "the reader's stream is malformed (it does not begin as the reader's stream does)");
  // A frame that never ends, made of more bytes than a reader may write.
  TJetReadLimits small;
  small.output = 100000;
  EXPECT_EQ(
      RunReader(kMagic + R"(printf 'R\377\377\377\000' >&3; head -c 200000 /dev/zero >&3)", small),
      "the reader wrote more than 100000 bytes");
}

// What the reader prints (the library's own messages) never reaches the program's output: it
// goes with the error when there is one and is dropped otherwise.
TEST(JetReaderRun, WhatTheReaderSaysGoesWithItsErrorOnly) {
  const std::string whole =
      kMagic +
      R"(printf 'T\020\000\000\000\003\000\000\000mun\001\000\002\000\000\000id\001E\010\000\000\000\000\000\000\000\000\000\000\000Z\000\000\000\000' >&3)";
  testing::internal::CaptureStderr();
  testing::internal::CaptureStdout();
  const std::string quiet = RunReader("echo 'on its output'; echo 'on its error' >&2; " + whole);
  const std::string failed = RunReader(
      R"(printf 'mdb_read_pg: page 77 beyond the end\r\n\tand \001more\n\n' >&2; exit 5)");
  const std::string crashed = RunReader("echo 'page chain loops' >&2; kill -SEGV $$");
  // Much printed after the stream's end, more than a pipe holds.
  const std::string late =
      RunReader(whole + "; exec 3>&-; head -c 300000 /dev/zero >&2; echo 'at last' >&2");
  // Much said, and bytes that are not UTF-8: the error keeps the first thousand bytes or so.
  const std::string chatty =
      RunReader(R"(printf '\377\376 ' >&2; head -c 300000 /dev/zero | tr '\0' x >&2; exit 1)");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(quiet, "tables 1, rows 0");
  EXPECT_EQ(late, "tables 1, rows 0");
  EXPECT_EQ(failed,
            "the reader failed (status 5); it said: mdb_read_pg: page 77 beyond the end "
            "and more");
  EXPECT_EQ(crashed.rfind("the reader crashed (signal 11, ", 0), 0u) << crashed;
  EXPECT_NE(crashed.find("); it said: page chain loops"), std::string::npos) << crashed;
  EXPECT_EQ(chatty.rfind("the reader failed (status 1); it said: \uFFFD\uFFFD xxx", 0), 0u)
      << chatty;
  EXPECT_LT(chatty.size(), 1100u);
  EXPECT_EQ(db::ToUtf8(db::ToUtf16(chatty)), chatty);
}

TEST(JetReaderRun, AReaderThatHangsIsStoppedAtItsTime) {
  TJetReadLimits quick;
  quick.time = std::chrono::milliseconds(300);
  EXPECT_EQ(RunReader(kMagic + "exec sleep 600", quick), "the reader did not finish within 0.3 s");
  // A reader that keeps its end open while it spins.
  EXPECT_EQ(RunReader("while :; do :; done", quick), "the reader did not finish within 0.3 s");
}

#if !defined(__SANITIZE_ADDRESS__)
// The reader reports its own address-space limit as its refusal.
TEST(JetReaderRun, TheReaderRunsWithinItsMemory) {
  TJetReadLimits limits;
  limits.memory = std::uint64_t(256) << 20;
  EXPECT_EQ(
      RunReader(
          kMagic +
              R"(m="$(ulimit -v) KiB"; printf "X\\$(printf %03o ${#m})\000\000\000%s" "$m" >&3)",
          limits),
      "262144 KiB");
}
#endif

}  // namespace
}  // namespace db
