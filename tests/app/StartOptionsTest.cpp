// The catalogue's command line: another internal skin at start, the maintenance window shown,
// and refusals of what it does not know.
#include <gtest/gtest.h>

#include <vector>

#include "Catalogue.h"
#include "Forms.h"
#include "app/StartOptions.h"
#include "framework/Exception.h"
#include "framework/Label.h"
#include "framework/TextConv.h"
#include "platform/win/MulDiv.h"
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

// Every control of the main window rescaled at 150 percent, and every size and font exactly
// back at 100; auto-sized labels fit their text at both.
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
  ASSERT_GT(controls.size(), 20u);
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
  // An auto-sized label takes its text's size when its font changes, not 3/2 of its own.
  auto autoSized = [](fw::TControl* c) {
    auto* label = dynamic_cast<fw::TLabel*>(c);
    return label && label->AutoSize() ? label : nullptr;
  };
  auto expectFitted = [](fw::TLabel* label) {
    const gfx::TRect now = label->BoundsRect();
    label->AdjustBounds();
    EXPECT_EQ(label->BoundsRect(), now) << label->Name();
  };
  int labels = 0;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    fw::TControl* c = controls[i];
    if (fw::TLabel* label = autoSized(c)) {
      ++labels;
      expectFitted(label);
      EXPECT_EQ(c->Left(), win::MulDiv(before[i].first.Left, 3, 2)) << c->Name();
      continue;
    }
    // Aligned ones take what their parents leave them; the others are scaled themselves.
    if (c->Align() != fw::TAlign::alNone || before[i].first.Width() < 2) continue;
    EXPECT_NEAR(c->Width(), before[i].first.Width() * 3 / 2, 1) << c->Name();
  }
  EXPECT_GT(labels, 3);

  manager->Options().SetScaleMode(skin::core::sm100);
  desktop.Pump();
  EXPECT_EQ(Form1->BoundsRect(), form);
  for (std::size_t i = 0; i < controls.size(); ++i) {
    fw::TControl* c = controls[i];
    EXPECT_EQ(c->Font().Height(), before[i].second) << c->Name();
    EXPECT_EQ(c->BoundsRect(), before[i].first) << c->Name();
    if (fw::TLabel* label = autoSized(c)) expectFitted(label);
  }
}

}  // namespace
}  // namespace app::test
