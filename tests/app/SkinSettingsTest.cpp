// The skin components' settings the main window's description stores arrive in them, and the
// description names internal skins the program has.
#include <gtest/gtest.h>

#include <algorithm>

#include "Catalogue.h"
#include "Forms.h"
#include "framework/Automation.h"
#include "framework/Reader.h"
#include "framework/TextConv.h"
#include "platform/backend/Dump.h"
#include "skin/controls/sControls.h"
#include "skin/internal/sInternalSkins.h"

namespace app::test {
namespace {

using namespace skin::controls;

template <class T>
T* Find(fw::TComponent* form, const char* name) {
  auto* c = dynamic_cast<T*>(form->FindComponent(name));
  EXPECT_NE(c, nullptr) << name;
  return c;
}

TEST_F(FormsTest, TheSkinComponentsKeepTheirStoredSettings) {
  auto* form = new TForm1(app.get());  // read, not created: no handler runs

  for (const char* own : {"sLabel7", "sLabel8", "sLabel11", "sLabel12", "sLabel14"})
    EXPECT_FALSE(Find<TsLabel>(form, own)->UseSkinColor()) << own;
  for (const char* skinned : {"sLabel2", "sLabel3", "sLabel5", "sLabel6", "sLabel9"})
    EXPECT_TRUE(Find<TsLabel>(form, skinned)->UseSkinColor()) << skinned;

  auto* provider = Find<TsSkinProvider>(form, "sSkinProvider1");
  EXPECT_EQ(provider->SkinData().SkinSection(), "FORM");
  EXPECT_EQ(provider->CaptionAlignment(), fw::TAlignment::taCenter);
  EXPECT_EQ(provider->AddedTitleFont().Name(), u"Tahoma");
  EXPECT_EQ(provider->AddedTitleFont().Height(), -11);
  EXPECT_EQ(provider->AddedTitleFont().Color(), fw::clNone);

  auto* list = Find<TsAlphaImageList>(form, "sAlphaImageList1");
  EXPECT_FALSE(list->UseCache());
  EXPECT_TRUE(list->ShareImages());

  auto* manager = Find<TsSkinManager>(form, "sSkinManager1");
  EXPECT_EQ(manager->SkinName(), u"BlueGauze (внутренний)");
  EXPECT_TRUE(manager->ButtonsOptions().OldGlyphsMode());
  // The eight internal skins in the program's order, each with its package; the active one
  // last, the only one with the file it stands for.
  auto& skins = manager->InternalSkins();
  const auto program = skin::data::InternalSkins();
  ASSERT_EQ(skins.Count(), 8);
  ASSERT_EQ(program.size(), 8u);
  for (int i = 0; i < skins.Count(); ++i) {
    const auto& stored = skins.Items(i);
    EXPECT_EQ(stored.Name(), program[std::size_t(i)].Name);
    const auto package = skin::data::PackageOf(program[std::size_t(i)]);
    EXPECT_TRUE(std::equal(stored.PackedData().begin(), stored.PackedData().end(), package.begin(),
                           package.end()))
        << stored.Name();
    EXPECT_EQ(stored.Shadow1Color, 0);
    EXPECT_EQ(stored.Shadow1Offset, 0);
    EXPECT_EQ(stored.Shadow1Transparency, 0);
    EXPECT_EQ(stored.OrigName, i == 7 ? "BlueGauze.asz" : "") << stored.Name();
  }
  EXPECT_EQ(skins.IndexOf(fw::Utf16ToUtf8(manager->SkinName())), 7);
  // Of the foreign classes only buttons are skinned.
  for (int i = 0; i < TsThirdPartyList::kCount; ++i)
    EXPECT_EQ(manager->ThirdParty().Text(i), i == 1 ? u"TButton\r\n" : u" \r\n")
        << TsThirdPartyList::Names()[std::size_t(i)];
}

TEST_F(FormsTest, TheManagerHoldsBlueGauzeFromItsDescriptionAndTheDumpSaysSo) {
  fw::InstallFormDump();
  auto* form = new TForm1(app.get());
  auto* manager = Find<TsSkinManager>(form, "sSkinManager1");
  EXPECT_EQ(skin::core::DefaultManager, manager);
  // The stored skin directory does not exist here: the internal skin of that name is used.
  ASSERT_NE(manager->SkinModel(), nullptr);
  EXPECT_TRUE(manager->CommonSkinData().Active);
  EXPECT_GE(manager->GetSkinIndex("FORM"), 0);
  EXPECT_EQ(manager->SkinDirectory(), u"c:\\Skins");
  EXPECT_EQ(manager->MenuSupport().IcoLineSkin, u"ICOLINE");
  EXPECT_EQ(manager->ThirdLists(skin::core::tpButton).IndexOf(u"TButton"), 0);
  EXPECT_TRUE(app->Messages().empty());
  const std::string sections = std::to_string(manager->SkinModel()->gd.size());
  EXPECT_NE(backend::DumpWindows().find(
                R"x("skin":{"name":"BlueGauze (внутренний)","active":true,"sections":)x" +
                sections + R"(,"hue":0,"saturation":0,"brightness":0})"),
            std::string::npos);
}

// The skin entry the dump gives the control of that name.
std::string SkinEntry(const std::string& dump, const std::string& name) {
  const std::size_t at = dump.find("{\"name\":\"" + name + "\",\"class\":");
  if (at == std::string::npos) return "no " + name;
  const std::size_t skin = dump.find("\"skin\":{", at);
  const std::size_t next = dump.find("\"class\":", dump.find("\"class\":", at) + 1);
  if (skin == std::string::npos || skin > next) return "no skin entry";
  return dump.substr(skin, dump.find('}', skin) + 1 - skin);
}

TEST_F(FormsTest, EverySkinnedControlResolvesItsSectionUnderBlueGauzeAndTheDumpSaysWhich) {
  fw::InstallFormDump();
  Start(FixtureFolder());
  Form1->Show();
  desktop.Pump();
  Form3->HandleNeeded();
  const auto* model = skin::core::DefaultManager->SkinModel();
  ASSERT_NE(model, nullptr);
  const std::string dump = backend::DumpWindows();
  int skinned = 0;
  for (fw::TComponent* form :
       {static_cast<fw::TComponent*>(Form1), static_cast<fw::TComponent*>(Form3)})
    for (int i = 0; i < form->ComponentCount(); ++i) {
      fw::TComponent* c = form->Components(i);
      auto* s = dynamic_cast<TsSkinnedControl*>(c);
      if (!s) {
        // The labels have no skin data, and no skin entry.
        if (dynamic_cast<TsLabel*>(c)) {
          EXPECT_EQ(SkinEntry(dump, c->Name()), "no skin entry");
        }
        continue;
      }
      ++skinned;
      const skin::core::TsCommonData& cd = s->CommonData();
      EXPECT_GE(cd.SkinIndex, 0) << c->Name();
      if (cd.SkinIndex < 0) continue;
      EXPECT_EQ(SkinEntry(dump, c->Name()),
                "\"skin\":{\"section\":\"" + model->gd[std::size_t(cd.SkinIndex)].ClassName +
                    "\",\"index\":" + std::to_string(cd.SkinIndex) +
                    ",\"state\":" + std::to_string(skin::core::ControlIsActive(cd) ? 1 : 0) +
                    ",\"bgType\":" + std::to_string(cd.BGType) + "}")
          << c->Name();
    }
  EXPECT_EQ(skinned, 16);
  // The sections each kind takes.
  const auto section = [&](const char* name) {
    auto* s = dynamic_cast<TsSkinnedControl*>(Form1->FindComponent(name));
    if (!s) s = dynamic_cast<TsSkinnedControl*>(Form3->FindComponent(name));
    return s && s->CommonData().SkinIndex >= 0
               ? model->gd[std::size_t(s->CommonData().SkinIndex)].ClassName
               : std::string("none");
  };
  EXPECT_EQ(section("sPanel1"), "PANEL");
  EXPECT_EQ(section("sImage1"), "CHECKBOX");
  EXPECT_EQ(section("sMemo1"), "EDIT");
  EXPECT_EQ(section("sTreeView2"), "EDIT");
}

TEST_F(FormsTest, AnInternalSkinTheProgramLacksIsARefusedDescription) {
  RegisterCatalogueClasses();
  auto* form = new fw::TForm(app.get());
  try {
    fw::ReadComponentText(form, R"(object F: TForm
  object M: TsSkinManager
    InternalSkins = <
      item
        Name = 'Velvet (внутренний)'
      end>
  end
end
)",
                          "Unit9.txt", ".");
    FAIL() << "read";
  } catch (const fw::EReadError& e) {
    EXPECT_EQ(e.Line(), 3);
    EXPECT_EQ(e.Property(), "InternalSkins");
    EXPECT_NE(e.Message().find(u"Velvet"), std::u16string::npos);
  }
}

}  // namespace
}  // namespace app::test
