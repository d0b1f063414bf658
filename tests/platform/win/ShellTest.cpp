#include "platform/win/Shell.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win/Styles.h"

namespace win::test {
namespace {

// Each test replaces the launcher and puts the default back.
class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetShellLauncher([this](const std::vector<std::string>& argv) {
      calls.push_back(argv);
      return starts;
    });
  }
  void TearDown() override { SetShellLauncher(nullptr); }

  std::vector<std::vector<std::string>> calls;
  bool starts = true;
};

TEST_F(ShellTest, OpenStartsTheHandlerWithTheAddressAsItsOneArgument) {
  EXPECT_GT(ShellExecuteW(nullptr, u"open", u"http://e.org/a b;rm -rf ~", u"", u"", SW_SHOWNORMAL),
            32);
  EXPECT_GT(ShellExecuteW(nullptr, u"", u"файл.txt", u"", u"", SW_SHOWDEFAULT), 32);
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0], (std::vector<std::string>{"xdg-open", "http://e.org/a b;rm -rf ~"}));
  EXPECT_EQ(calls[1], (std::vector<std::string>{"xdg-open", "файл.txt"}));
}

TEST_F(ShellTest, NothingToOpenAnotherVerbOrAHandlerThatDoesNotStartFail) {
  EXPECT_EQ(ShellExecuteW(nullptr, u"open", u"", u"", u"", SW_SHOW), SE_ERR_FNF);
  EXPECT_EQ(ShellExecuteW(nullptr, u"print", u"x", u"", u"", SW_SHOW), SE_ERR_NOASSOC);
  EXPECT_TRUE(calls.empty());
  starts = false;
  EXPECT_EQ(ShellExecuteW(nullptr, u"open", u"x", u"", u"", SW_SHOW), SE_ERR_NOASSOC);
  EXPECT_EQ(calls.size(), 1u);
}

}  // namespace
}  // namespace win::test
