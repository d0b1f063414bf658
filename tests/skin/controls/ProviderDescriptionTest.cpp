// A skin provider read from a window description: its caption settings (added title, title
// icon, header band), user title buttons and window-state settings arrive; a glyph, which a
// description cannot hold, is refused with the line.
#include <gtest/gtest.h>

#include "framework/DataModule.h"
#include "framework/Exception.h"
#include "framework/Reader.h"
#include "framework/TextConv.h"
#include "skin/controls/sControls.h"

namespace skin::controls {
namespace {

TEST(ProviderDescription, CaptionTitleButtonAndWindowStateSettingsArrive) {
  RegisterSkinClasses();
  fw::TDataModule module(nullptr);
  fw::ReadComponentText(&module, R"(object DataModule9: TDataModule
  object P: TsSkinProvider
    CaptionAlignment = taRightJustify
    ResizeMode = rmBorder
    ScreenSnap = True
    SnapBuffer = 6
    GluedForms.Strings = (
      'Palette'
      'Tools')
    AllowBlendOnMoving = False
    DisabledBlendValue = 120
    DisabledBlendColor = clWhite
    DisabledBlured = True
    AddedTitle.Text = 'Музей: '
    AddedTitle.ShowMainCaption = False
    TitleIcon.Width = 24
    TitleIcon.Height = 20
    TitleIcon.Visible = False
    FormHeader.AdditionalHeight = 32
    TitleButtons = <
      item
        Name = 'help'
        Hint = 'Справка'
        UseSkinData = False
      end
      item
        Enabled = False
        Visible = False
      end>
  end
end
)",
                        "Unit9.txt", "/nonexistent");
  auto* p = dynamic_cast<TsSkinProvider*>(module.FindComponent("P"));
  ASSERT_NE(p, nullptr);
  EXPECT_TRUE(p->Inert());  // not on a form
  EXPECT_EQ(p->CaptionAlignment(), fw::TAlignment::taRightJustify);
  ASSERT_EQ(p->TitleButtonCount(), 2);
  EXPECT_EQ(p->TitleButton(0).Name, "help");
  EXPECT_EQ(p->TitleButton(0).Hint, u"Справка");
  EXPECT_FALSE(p->TitleButton(0).UseSkinData);
  EXPECT_TRUE(p->TitleButton(0).Enabled);
  EXPECT_FALSE(p->TitleButton(1).Enabled);
  EXPECT_FALSE(p->TitleButton(1).Visible);
  EXPECT_TRUE(p->TitleButton(1).UseSkinData);
  EXPECT_EQ(p->ResizeMode(), skin::frame::TacResizeMode::rmBorder);
  EXPECT_TRUE(p->ScreenSnap());
  EXPECT_EQ(p->SnapBuffer(), 6);
  EXPECT_EQ(p->GluedForms(), (std::vector<std::string>{"Palette", "Tools"}));
  EXPECT_FALSE(p->AllowBlendOnMoving());
  EXPECT_EQ(p->DisabledBlendValue(), 120);
  EXPECT_EQ(p->DisabledBlendColor(), fw::clWhite);
  EXPECT_TRUE(p->DisabledBlured());
  EXPECT_EQ(p->AddedTitleText(), u"Музей: ");
  EXPECT_FALSE(p->ShowMainCaption());
  EXPECT_EQ(p->TitleIcon().Width, 24);
  EXPECT_EQ(p->TitleIcon().Height, 20);
  EXPECT_FALSE(p->TitleIcon().Visible);
  EXPECT_EQ(p->FormHeaderHeight(), 32);

  fw::TDataModule other(nullptr);
  try {
    fw::ReadComponentText(&other,
                          "object DataModule9: TDataModule\n  object P: TsSkinProvider\n"
                          "    TitleButtons = <\n      item\n        Glyph.Data = {00}\n"
                          "      end>\n  end\nend\n",
                          "Unit9.txt", "/nonexistent");
    ADD_FAILURE() << "a glyph was read";
  } catch (const fw::EReadError& e) {
    EXPECT_NE(e.Message().find(u"Unit9.txt:"), std::u16string::npos)
        << fw::Utf16ToUtf8(e.Message());
    EXPECT_NE(e.Message().find(u"Glyph.Data"), std::u16string::npos)
        << fw::Utf16ToUtf8(e.Message());
  }
}

}  // namespace
}  // namespace skin::controls
