#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <fstream>

#include "platform/backend/Script.h"
#include "platform/backend/ScriptReader.h"

namespace backend {
namespace {

TEST(Script, ParsesEveryCommandWithItsArguments) {
  Command c = ParseCommand("  click 10 -20  ");
  EXPECT_EQ(c.kind, Command::Kind::Click);
  EXPECT_EQ(c.pt, (win::POINT{10, -20}));
  EXPECT_EQ(c.button, 0);
  EXPECT_EQ(ParseCommand("down 1 2 right").button, 1);
  EXPECT_EQ(ParseCommand("rclick 1 2").button, 1);
  EXPECT_EQ(ParseCommand("wheel 5 6 -240").delta, -240);
  EXPECT_EQ(ParseCommand("wait 250").ms, 250u);
  EXPECT_EQ(ParseCommand("shot out dir/a b.png").path, "out dir/a b.png");
  EXPECT_EQ(ParseCommand("type  Музей 1").text, u" Музей 1");
  EXPECT_EQ(ParseCommand("QUIT").kind, Command::Kind::Quit);
  EXPECT_EQ(ParseCommand("reading RTL").kind, Command::Kind::Reading);
  EXPECT_TRUE(ParseCommand("reading RTL").rightToLeft);
  EXPECT_FALSE(ParseCommand("reading ltr").rightToLeft);
  EXPECT_TRUE(IsBlankLine("   # a comment"));
  EXPECT_TRUE(IsBlankLine("\r"));
}

TEST(Script, KeyNamesGiveScanCodesAndModifiers) {
  KeyChord k = ParseKeyChord("Alt+Down");
  EXPECT_EQ(k.modifiers, std::vector<win::UINT>{0x38});
  EXPECT_EQ(k.key, 0xE050u);
  k = ParseKeyChord("ctrl+shift+a");
  EXPECT_EQ(k.modifiers, (std::vector<win::UINT>{0x1D, 0x2A}));
  EXPECT_EQ(k.key, 0x1Eu);
  EXPECT_EQ(ParseKeyChord("BackSpace").key, 0x0Eu);
  EXPECT_EQ(ParseKeyChord("F4").key, 0x3Eu);
  EXPECT_EQ(ParseKeyChord("Return").key, 0x1Cu);
  EXPECT_EQ(ParseKeyChord("0").key, 0x0Bu);
}

TEST(Script, RejectsMalformedLinesWithAMessage) {
  for (const char* line : {"click 1",
                           "click a b",
                           "click 1 2 3",
                           "click 1 2 thumb",
                           "wait -1",
                           "wait 99999999999999999999",
                           "key",
                           "key Ctrl+",
                           "key Ctrl+Ctrl+A",
                           "key Hyper+A",
                           "key Nothing",
                           "shot",
                           "dance",
                           "",
                           "type",
                           "quit now",
                           "move 40000 0",
                           "reading",
                           "reading up",
                           "reading rtl ltr"})
    EXPECT_THROW(ParseCommand(line), ScriptError) << line;
  EXPECT_THROW(ParseCommand(std::string(kMaxScriptLine + 1, 'x')), ScriptError);
}

TEST(Script, Utf8DecodingIsStrict) {
  EXPECT_EQ(Utf8ToUtf16("a\xD0\xB9\xF0\x9F\x98\x80"), std::u16string(u"aй\U0001F600"));
  for (const char* bad : {"\x80", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                          "\xD0", "\xE2\x82", "\xFF"})
    EXPECT_THROW(Utf8ToUtf16(bad), ScriptError) << bad;
  EXPECT_EQ(Utf16ToUtf8(u"й\U0001F600"), "\xD0\xB9\xF0\x9F\x98\x80");
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

// Every line of a reader up to its end; a failure to read is given as "failure: MESSAGE".
std::vector<std::string> ReadAll(ScriptReader& r) {
  std::vector<std::string> lines;
  for (;;) {
    ScriptReader::Result next = r.Next(true);
    if (next.failure) lines.push_back("failure: " + *next.failure);
    if (next.line) lines.push_back(*next.line);
    if (next.ended) return lines;
  }
}

std::string TempPath(const char* name) {
  return ::testing::TempDir() + name + "-" + std::to_string(getpid());
}

TEST(ScriptReader, AFileGivesEveryLineWithTheUnterminatedLastAndOverLongOnesCut) {
  const std::string path = TempPath("script-reader");
  const std::string longest = "type " + std::string(kMaxScriptLine - 5, 'a');
  {
    std::ofstream out(path, std::ios::binary);
    out << "click 1 2\r\n\n"
        << std::string(kMaxScriptLine + 5000, 'x') << "\n"
        << longest << "\nquit";
  }
  ScriptReader r(path);
  const std::vector<std::string> lines = ReadAll(r);
  std::remove(path.c_str());
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], "click 1 2\r");
  EXPECT_EQ(lines[1], "");
  // One byte more than the parser takes, so the line is rejected whole; its rest is skipped.
  EXPECT_EQ(lines[2], std::string(kMaxScriptLine + 1, 'x'));
  try {
    ParseCommand(lines[2]);
    ADD_FAILURE() << "an over-long line parsed";
  } catch (const ScriptError& e) {
    EXPECT_STREQ(e.what(), "line too long");
  }
  // A line of exactly the longest length is whole and parses.
  EXPECT_EQ(lines[3], longest);
  EXPECT_EQ(ParseCommand(lines[3]).text.size(), kMaxScriptLine - 5);
  EXPECT_EQ(lines[4], "quit");

  ScriptReader missing("/no/such/script");
  EXPECT_EQ(ReadAll(missing),
            std::vector<std::string>{"failure: cannot open the script /no/such/script"});
}

TEST(ScriptReader, APipeGivesEachLineAsItArrives) {
  const std::string path = TempPath("script-pipe");
  ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
  ScriptReader r(path);
  std::atomic<int> arrivals = 0;
  r.OnArrival([&] { ++arrivals; });
  const int fd = open(path.c_str(), O_WRONLY);  // waits for the reader's side
  ASSERT_GE(fd, 0);
  auto write = [&](const std::string& bytes) {
    ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), ssize_t(bytes.size()));
  };
  write("click 1 2\n");
  ScriptReader::Result first = r.Next(true);
  ASSERT_TRUE(first.line);
  EXPECT_EQ(*first.line, "click 1 2");
  // Nothing more yet, and not the end while the writer keeps the pipe open.
  ScriptReader::Result none = r.Next(false);
  EXPECT_FALSE(none.line);
  EXPECT_FALSE(none.ended);
  write("wai");  // a line in two writes
  write("t 5\n" + std::string(kMaxScriptLine + 70000, 'x') + "\nquit");
  close(fd);
  const std::vector<std::string> rest = ReadAll(r);
  std::remove(path.c_str());
  EXPECT_EQ(rest,
            (std::vector<std::string>{"wait 5", std::string(kMaxScriptLine + 1, 'x'), "quit"}));
  EXPECT_GE(arrivals.load(), 4);  // every line woke the backend; the end's call may still run
}

}  // namespace
}  // namespace backend
