// The application's member of the dump: beside "windows" at the top level, there before any
// window, and listing every message box shown so far, the open one included.
#include <gtest/gtest.h>

#include <string>

#include "Harness.h"
#include "framework/Automation.h"
#include "framework/Dialogs.h"
#include "platform/backend/Dump.h"
#include "platform/win/Input.h"

namespace fw::test {
namespace {

TEST_F(FrameworkTest, TheApplicationIsInTheDumpBeforeAnyWindow) {
  InstallFormDump();
  EXPECT_EQ(backend::DumpWindows(),
            R"({"windows":[],"application":{"hint":"","tooltip":null,"messages":[]}})"
            "\n");
}

TEST_F(FrameworkTest, UnitsAboveAddTheirMembersToTheApplicationAfterTheMessages) {
  InstallFormDump();
  // Dumpers stay for the rest of the program: this one writes only while the test runs.
  static bool writing = false;
  AddApplicationDumper([](backend::JsonWriter& w) {
    if (!writing) return;
    w.Key("extra");
    w.Number(7);
  });
  writing = true;
  const std::string dump = backend::DumpWindows();
  writing = false;
  EXPECT_EQ(dump,
            R"({"windows":[],"application":{"hint":"","tooltip":null,"messages":[],"extra":7}})"
            "\n");
}

TEST_F(FrameworkTest, TheDumpListsTheOpenMessageBoxAndEveryOneBefore) {
  InstallFormDump();
  app->SetTitle(u"Demo");
  std::string whileOpen, whileSecondOpen;
  const auto dumpThenEnter = [&](std::string& into) {
    desktop.Schedule(10, [&into] {
      into = backend::DumpWindows();
      win::InjectKey(kEnter, true);
      win::InjectKey(kEnter, false);
    });
  };
  dumpThenEnter(whileOpen);
  MessageDlg(u"Line \"one\"\r\nand two", TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
  // The open box is a window of the dump, and already among the messages, which close the
  // top-level object: the application is no member of any window.
  EXPECT_NE(whileOpen.find(R"("caption":"Line \"one\"\r\nand two")"), std::string::npos)
      << whileOpen;
  const std::string first = R"({"title":"Error","text":"Line \"one\"\r\nand two","icon":"error"})";
  EXPECT_TRUE(whileOpen.ends_with(R"(],"application":{"hint":"","tooltip":null,"messages":[)" +
                                  first + "]}}\n"))
      << whileOpen;
  EXPECT_EQ(whileOpen.find("\"application\""), whileOpen.rfind("\"application\""));

  dumpThenEnter(whileSecondOpen);
  MessageDlg(u"Saved", TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK});
  EXPECT_TRUE(
      whileSecondOpen.ends_with(R"("messages":[)" + first +
                                R"(,{"title":"Information","text":"Saved","icon":"information"}]}})"
                                "\n"))
      << whileSecondOpen;
  // Closed boxes stay listed; their windows are gone.
  const std::string after = backend::DumpWindows();
  EXPECT_EQ(after.find("Saved"), after.rfind("Saved")) << after;
  EXPECT_NE(after.find(R"({"title":"Information","text":"Saved")"), std::string::npos);
}

}  // namespace
}  // namespace fw::test
