#include <gtest/gtest.h>

#include "platform/backend/Script.h"

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
  for (const char* line :
       {"click 1", "click a b", "click 1 2 3", "click 1 2 thumb", "wait -1",
        "wait 99999999999999999999", "key", "key Ctrl+", "key Ctrl+Ctrl+A", "key Hyper+A",
        "key Nothing", "shot", "dance", "", "type", "quit now", "move 40000 0"})
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

}  // namespace
}  // namespace backend
