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
  EXPECT_EQ(Parse({}).Scale, 0);
  EXPECT_EQ(Parse({"--scale", "150", "--plain"}).Scale, 150);
  EXPECT_THROW(Parse({"--scale"}), fw::Exception);
  EXPECT_THROW(Parse({"--scale", "140"}), fw::Exception);
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

// Every control of the main window rescaled at 150 percent, and every size and font exactly
// back at 100.
TEST_F(StartOptionsFormsTest, TheCatalogueScalesToAHundredAndFiftyAndBack) {
  CatalogueCopy copy(SampleFolder());
  Start(copy.Path());
  auto* manager = dynamic_cast<skin::core::TsSkinManager*>(Form1->FindComponent("sSkinManager1"));
  ASSERT_NE(manager, nullptr);
  std::vector<fw::TControl*> controls;
  auto collect = [&](auto& self, fw::TWinControl* parent) -> void {
    for (int i = 0; i < parent->ControlCount(); ++i) {
      controls.push_back(parent->Controls(i));
      if (auto* w = dynamic_cast<fw::TWinControl*>(parent->Controls(i))) self(self, w);
    }
  };
  collect(collect, Form1);
  ASSERT_GT(controls.size(), 30u);
  std::vector<std::pair<gfx::TRect, int>> before;
  for (fw::TControl* c : controls) before.emplace_back(c->BoundsRect(), c->Font().Height());
  const gfx::TRect form = Form1->BoundsRect();

  TStartOptions scaled;
  scaled.Scale = 150;
  ApplyStartOptions(scaled);
  desktop.Pump();
  EXPECT_EQ(manager->GetScale(), 2);
  EXPECT_EQ(Form1->Width(), 1920);
  EXPECT_EQ(Form1->Height(), 1125);
  EXPECT_EQ(Form1->Font().Height(), -17);
  for (std::size_t i = 0; i < controls.size(); ++i) {
    // Aligned ones take what their parents leave them; the others are scaled themselves.
    if (controls[i]->Align() != fw::TAlign::alNone || before[i].first.Width() < 2) continue;
    EXPECT_NEAR(controls[i]->Width(), before[i].first.Width() * 3 / 2, 1) << controls[i]->Name();
  }

  manager->Options().SetScaleMode(skin::core::sm100);
  desktop.Pump();
  EXPECT_EQ(Form1->BoundsRect(), form);
  for (std::size_t i = 0; i < controls.size(); ++i) {
    EXPECT_EQ(controls[i]->BoundsRect(), before[i].first) << controls[i]->Name();
    EXPECT_EQ(controls[i]->Font().Height(), before[i].second) << controls[i]->Name();
  }
}

}  // namespace
}  // namespace app::test
