// The title bar read from a window description: its items with their properties, the owner
// rule with the description's place, and unknown item properties refused.
#include <gtest/gtest.h>

#include <memory>

#include "framework/Application.h"
#include "framework/Exception.h"
#include "framework/Form.h"
#include "framework/Reader.h"
#include "framework/TextConv.h"
#include "framework/WindowDescription.h"
#include "platform/win/VirtualDesktop.h"
#include "skin/controls/sControls.h"
#include "skin/frame/acTitleBar.h"
#include "skin/frame/sSkinProvider.h"

namespace skin::controls::test {
namespace {

using skin::frame::TsTitleBar;

class TitleBarDescriptionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app = std::make_unique<fw::TApplication>();
    RegisterSkinClasses();
    form = new fw::TForm(app.get());
    form->SetName("F");
  }
  void TearDown() override { app.reset(); }
  win::VirtualDesktop desktop{800, 600};
  std::unique_ptr<fw::TApplication> app;
  fw::TForm* form = nullptr;
};

TEST_F(TitleBarDescriptionTest, ItemsAreReadWithTheirProperties) {
  fw::ReadComponentText(form,
                        "object F: TForm\n  object Bar: TsTitleBar\n    RightSpacing = 4\n"
                        "    Items = <\n      item\n        Caption = 'One'\n"
                        "        Style = bsTab\n        GroupIndex = 1\n        Down = True\n"
                        "      end\n      item\n        Name = 'Help'\n        Align = tbaRight\n"
                        "        SkinSection = 'tb_btn'\n        Enabled = False\n"
                        "        Width = 30\n        AutoSize = False\n      end>\n  end\nend\n",
                        "Unit7.txt", ".");
  auto* bar = dynamic_cast<TsTitleBar*>(form->FindComponent("Bar"));
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->RightSpacing, 4);
  ASSERT_EQ(bar->Items().Count(), 2);
  EXPECT_EQ(bar->Items()[0].Caption, u"One");
  EXPECT_EQ(bar->Items()[0].Style, skin::frame::bsTab);
  EXPECT_EQ(bar->Items()[0].GroupIndex, 1);
  EXPECT_TRUE(bar->Items()[0].Down);
  EXPECT_EQ(bar->Items()[1].Name, "Help");
  EXPECT_EQ(bar->Items()[1].Align, skin::frame::tbaRight);
  EXPECT_EQ(bar->Items()[1].SkinSection, "TB_BTN");
  EXPECT_FALSE(bar->Items()[1].Enabled);
  EXPECT_EQ(bar->Items()[1].Width, 30);
  EXPECT_FALSE(bar->Items()[1].AutoSize);
}

TEST_F(TitleBarDescriptionTest, AProviderLinksTheBarItsDescriptionNamesAndDropsItWhenItGoes) {
  fw::ReadComponentText(form,
                        "object F: TForm\n  object Prov: TsSkinProvider\n    TitleBar = Bar\n"
                        "  end\n  object Bar: TsTitleBar\n  end\nend\n",
                        "Unit7.txt", ".");
  auto* bar = dynamic_cast<TsTitleBar*>(form->FindComponent("Bar"));
  auto* prov = dynamic_cast<skin::frame::TsSkinProvider*>(form->FindComponent("Prov"));
  ASSERT_NE(bar, nullptr);
  ASSERT_NE(prov, nullptr);
  EXPECT_EQ(prov->TitleBar(), bar);
  EXPECT_TRUE(bool(bar->OnChange));
  delete bar;
  EXPECT_EQ(prov->TitleBar(), nullptr);
}

TEST_F(TitleBarDescriptionTest, AnotherOwnerOrAnUnknownItemPropertyIsRefused) {
  try {
    fw::ReadComponentText(form,
                          "object F: TForm\n  object Fr: TFrame\n    object Bar: TsTitleBar\n"
                          "    end\n  end\nend\n",
                          "Unit7.txt", ".");
    ADD_FAILURE() << "a title bar on a frame";
  } catch (const fw::Exception& e) {
    EXPECT_NE(e.Message().find(u"TsTitleBar component may be used with forms only!"),
              std::u16string::npos)
        << fw::Utf16ToUtf8(e.Message());
  }
  EXPECT_THROW(fw::ReadComponentText(form,
                                     "object F: TForm\n  object Bar2: TsTitleBar\n"
                                     "    Items = <\n      item\n        Colour = 1\n"
                                     "      end>\n  end\nend\n",
                                     "Unit7.txt", "."),
               fw::Exception);
}

}  // namespace
}  // namespace skin::controls::test
