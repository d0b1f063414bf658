// The catalogue's command line: another internal skin at start, the maintenance window shown,
// and refusals of what it does not know.
#include <gtest/gtest.h>

#include <vector>

#include "Catalogue.h"
#include "Forms.h"
#include "app/StartOptions.h"
#include "framework/Exception.h"
#include "framework/TextConv.h"
#include "skin/controls/sControls.h"
#include "skin/core/sSkinManager.h"

namespace app::test {
namespace {

TStartOptions Parse(std::vector<const char*> args) {
  return ParseStartOptions(args);
}

TEST(StartOptionsTest, ArgumentsAreReadOrRefused) {
  EXPECT_EQ(Parse({}).Skin, u"");
  EXPECT_FALSE(Parse({}).Maintenance);
  EXPECT_FALSE(Parse({}).Plain);
  EXPECT_TRUE(Parse({"--plain"}).Plain);
  const TStartOptions both = Parse({"--maintenance", "--skin", "Golden (внутренний)"});
  EXPECT_TRUE(both.Maintenance);
  EXPECT_EQ(both.Skin, u"Golden (внутренний)");
  EXPECT_THROW(Parse({"--skin"}), fw::Exception);
  EXPECT_THROW(Parse({"--skin", ""}), fw::Exception);
  EXPECT_THROW(Parse({"--colour"}), fw::Exception);
  // The skin library's own switch, in any letter case, is left to the library.
  EXPECT_TRUE(Parse({"/AcVer", "--plain", "/acver"}).Plain);
  EXPECT_THROW(Parse({"/acverx"}), fw::Exception);
}

class StartOptionsFormsTest : public FormsTest {};

TEST_F(StartOptionsFormsTest, TheSkinIsChosenAndTheMaintenanceWindowShown) {
  CatalogueCopy copy(SampleFolder());
  Start(copy.Path());
  auto* manager = dynamic_cast<skin::core::TsSkinManager*>(Form1->FindComponent("sSkinManager1"));
  ASSERT_NE(manager, nullptr);
  const std::u16string golden = manager->SkinName() == u"Golden (внутренний)"
                                    ? u"Pulsar (внутренний)"
                                    : u"Golden (внутренний)";
  ASSERT_GE(manager->InternalSkins().IndexOf(fw::Utf16ToUtf8(golden)), 0);
  EXPECT_THROW(ApplyStartOptions({u"Nothing (внутренний)", false}), fw::Exception);
  EXPECT_FALSE(Form3->Visible());
  ApplyStartOptions({golden, true});
  desktop.Pump();
  EXPECT_EQ(manager->SkinName(), golden);
  EXPECT_NE(manager->SkinModel(), nullptr);
  EXPECT_TRUE(Form3->Visible());
  EXPECT_TRUE(Form3->ADOTable1->Active());
  EXPECT_GT(Form3->sDBGrid1->RowCount(), 1);
}

TEST_F(StartOptionsFormsTest, ThePlainLookSwitchesTheManagerOff) {
  CatalogueCopy copy(SampleFolder());
  Start(copy.Path());
  auto* manager = dynamic_cast<skin::core::TsSkinManager*>(Form1->FindComponent("sSkinManager1"));
  ASSERT_NE(manager, nullptr);
  ASSERT_TRUE(manager->Active());
  TStartOptions plain;
  plain.Plain = true;
  ApplyStartOptions(plain);
  desktop.Pump();
  EXPECT_FALSE(manager->Active());
  auto* tree = dynamic_cast<skin::controls::TsTreeView*>(Form1->sTreeView2);
  ASSERT_NE(tree, nullptr);
  EXPECT_FALSE(tree->SkinData().Skinned());
}

}  // namespace
}  // namespace app::test
