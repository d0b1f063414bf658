// The program's windows on the virtual desktop: start-up of the main window with and without
// a database, the keyboard layout, the data module and the maintenance window's button.
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>

#include "Catalogue.h"
#include "Forms.h"
#include "app/Configuration.h"
#include "app/DatabasePassword.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/Unit3.h"
#include "framework/Harness.h"
#include "framework/db/DbError.h"
#include "platform/gfx/PictureCodec.h"
#include "platform/win/Input.h"
#include "platform/win/KeyboardLayout.h"
#include "platform/win/Window.h"
#include "skin/controls/sControls.h"

namespace app::test {
namespace {

TEST(Configuration, PathsAndConnectionString) {
  EXPECT_EQ(ResourceFolder("/opt/catalogue/"), "/opt/catalogue//res/");
  EXPECT_EQ(CatalogueConnectionString("/opt/catalogue/"),
            u"Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=/opt/catalogue/res.dat;"
            u"Persist Security Info=False;Jet OLEDB:Database Password=k7mP305z$42");
  EXPECT_EQ(std::u16string(kDatabasePassword).size(), 11u);
  EXPECT_TRUE(ExecutableFolder().ends_with("/"));
  EXPECT_TRUE(std::filesystem::exists(ExecutableFolder() + "app-tests"));
}

TEST_F(FormsTest, WithoutTheDatabaseOneErrorBoxAndTheProgramRuns) {
  TempFolder empty;
  desktop.Schedule(10, [] {
    win::InjectKey(fw::test::kEnter, true);
    win::InjectKey(fw::test::kEnter, false);
  });
  Start(empty.Path());
  ASSERT_EQ(app->Messages().size(), 1u);
  EXPECT_EQ(app->Messages()[0].Text,
            u"Could not find file '" + db::ToUtf16(empty.Path()) + u"res.dat'.");
  EXPECT_EQ(app->Messages()[0].Icon, fw::TMsgDlgType::mtError);
  EXPECT_EQ(app->MainForm(), Form1);
  // What was done before the failure stays.
  EXPECT_EQ(Form1->sStatusBar1->Panel(0).Width, 1130);
  EXPECT_EQ(Form1->sStatusBar1->Panel(1).Text, Today());
  EXPECT_EQ(path, empty.Path() + "/res/");
  EXPECT_EQ(path1, empty.Path());
  EXPECT_FALSE(Form1->ADOConnection1->Connected());
  EXPECT_FALSE(Form1->sPanel2->Visible());
  ASSERT_NE(Form3, nullptr);
  EXPECT_FALSE(Form3->Visible());
  // The program goes on: the window shows and handles messages.
  Form1->Show();
  desktop.Pump();
  EXPECT_TRUE(Form1->Showing());
  SaveScreen("start-without-database");
}

TEST_F(FormsTest, StartOnTheFixturesOpensTheDatasetsAndShowsCards) {
  Start(FixtureFolder());
  EXPECT_TRUE(app->Messages().empty());
  EXPECT_TRUE(Form1->ADOConnection1->Connected());
  EXPECT_EQ(Form1->ADOConnection1->Mode(), db::TConnectMode::cmShareDenyNone);
  EXPECT_FALSE(Form1->ADOConnection1->LoginPrompt());
  EXPECT_TRUE(Form1->ADOQuery1->Active());
  EXPECT_TRUE(Form1->ADOQuery2->Active());
  // The build selected organisation 5, named like a district, so its card queries ran.
  EXPECT_TRUE(Form1->ADOQuery3->Active());
  EXPECT_TRUE(Form1->ADOTable1->Active());
  // The skin classes the description names, over the plain controls.
  auto* header = dynamic_cast<skin::controls::TsImage*>(Form1->FindComponent("sImage1"));
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(header->SkinData().SkinSection(), "CHECKBOX");
  auto* manager =
      dynamic_cast<skin::controls::TsSkinManager*>(Form1->FindComponent("sSkinManager1"));
  ASSERT_NE(manager, nullptr);
  EXPECT_EQ(manager->SkinName(), u"BlueGauze (внутренний)");
  EXPECT_EQ(Form1->ADOQuery4->RecordCount(), 0);  // organisation 5 has no photos
  // The organisation query's declared fields, by position.
  EXPECT_EQ(Form1->ADOQuery2->FieldCount(), 3);
  EXPECT_EQ(Form1->ADOQuery2->Fields(0).FieldName(), "mun.nam");
  EXPECT_EQ(Form1->ADOQuery2->Fields(2).DataType(), db::TFieldType::ftAutoInc);
  EXPECT_EQ(Form1->ADOQuery2->RecordCount(), 10);
  // The card through the form's own wiring.
  Form1->Show();
  Form1->clickk(1);
  desktop.Pump();
  EXPECT_TRUE(Form1->sPanel2->Visible());
  EXPECT_EQ(Form1->sImage6->ImageIndex(), 11);
  EXPECT_TRUE(Form1->sImage3->Enabled());
  Form1->sImage3Click();
  EXPECT_EQ(Form1->sImage3->Left(), 12);
  Form1->sBitBtn2Click();
  EXPECT_EQ(std::filesystem::path(Form1->sImage3->PictureFile()).filename(), "2.png");
  desktop.Pump();
  SaveScreen("card-large-photo");
  Form1->clickk(-1);
  EXPECT_FALSE(Form1->sPanel2->Visible());
  EXPECT_EQ(Form1->sImage3->Left(), 472);
}

TEST_F(FormsTest, TheKeyboardIsRussianAtStartAndOnEveryActivation) {
  const win::HKL russian = win::LoadKeyboardLayoutW(u"00000419", 0);
  const win::HKL us = win::LoadKeyboardLayoutW(u"00000409", win::KLF_ACTIVATE);
  ASSERT_EQ(win::GetKeyboardLayout(0), us);
  Start(FixtureFolder());
  Form1->SetRU();
  EXPECT_EQ(win::GetKeyboardLayout(0), russian);
  Form1->Show();
  desktop.Pump();
  win::LoadKeyboardLayoutW(u"00000409", win::KLF_ACTIVATE);
  Form3->Show();  // another window becomes active, then the main window again
  desktop.Pump();
  EXPECT_EQ(win::GetKeyboardLayout(0), us);
  win::SetActiveWindow(Form1->Handle());
  desktop.Pump();
  EXPECT_TRUE(Form1->Active());
  EXPECT_EQ(win::GetKeyboardLayout(0), russian);
  win::LoadKeyboardLayoutW(u"00000409", win::KLF_ACTIVATE);
}

TEST_F(FormsTest, TheMaintenanceWindowStoresAPhotoIntoTheRow) {
  CatalogueCopy copy;
  Start(copy.Path());
  ASSERT_EQ(Form3->ADOTable1->Connection(), DataModule2->ADOConnection1);
  EXPECT_FALSE(DataModule2->ADOConnection1->Connected());
  EXPECT_EQ(DataModule2->ADOQuery1->SQL(), u"select * from mun order by nam");
  // The table is closed: the button fails and writes nothing.
  try {
    Form3->sButton1Click();
    FAIL() << "no error";
  } catch (const db::EDatabaseError& e) {
    EXPECT_STREQ(e.what(), "ADOTable1: Cannot perform this operation on a closed dataset");
  }
  // On the main connection, the first row (1/1.jpg) gets its file's bytes.
  Form3->ADOTable1->SetConnection(Form1->ADOConnection1);
  Form3->ADOTable1->Open();
  Form3->sButton1Click();
  EXPECT_EQ(Form3->ADOTable1->State(), db::TDataSetState::dsBrowse);
  auto q = MakeQuery(*Form1->ADOConnection1, "check", u"select fot from foto where id = 1");
  q->Open();
  EXPECT_EQ(q->Fields(0).Value().Blob(), gfx::ReadFileBytes(copy.Path() + "res/foto/1/1.jpg"));
  // The third row's file is missing: the row stays in edit mode.
  Form3->ADOTable1->Next();
  Form3->ADOTable1->Next();
  EXPECT_THROW(Form3->sButton1Click(), std::exception);
  EXPECT_EQ(Form3->ADOTable1->State(), db::TDataSetState::dsEdit);
  Form3->ADOTable1->Cancel();
}

}  // namespace
}  // namespace app::test
