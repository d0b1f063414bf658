// The program's windows on the virtual desktop: start-up of the main window with and without
// a database, the keyboard layout, the data module and the maintenance window: its
// description, its grid and picture on an open table, and its button.
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>

#include "Catalogue.h"
#include "Forms.h"
#include "app/Configuration.h"
#include "app/DatabasePassword.h"
#include "app/PhotoViewer.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/Unit3.h"
#include "framework/Harness.h"
#include "framework/TextConv.h"
#include "framework/db/DbError.h"
#include "framework/dbctrls/DBGrid.h"
#include "platform/gfx/PictureCodec.h"
#include "platform/win/Input.h"
#include "platform/win/KeyboardLayout.h"
#include "platform/win/Window.h"
#include "skin/controls/sControls.h"
#include "skin/frame/acSBUtils.h"

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
  const std::u16string day = Today();
  Start(empty.Path());
  ASSERT_EQ(app->Messages().size(), 1u);
  EXPECT_EQ(app->Messages()[0].Text,
            u"Could not find file '" + db::ToUtf16(empty.Path()) + u"res.dat'.");
  EXPECT_EQ(app->Messages()[0].Icon, fw::TMsgDlgType::mtError);
  EXPECT_EQ(app->MainForm(), Form1);
  // What was done before the failure stays.
  EXPECT_EQ(Form1->sStatusBar1->Panel(0).Width, 1130);
  EXPECT_TRUE(ShowsToday(Form1->sStatusBar1->Panel(1).Text, day));
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

TEST_F(FormsTest, TheDataModuleAndTheMaintenanceWindowReadEverySetting) {
  TempFolder empty;  // nothing opens: the descriptions alone
  desktop.Schedule(10, [] {
    win::InjectKey(fw::test::kEnter, true);
    win::InjectKey(fw::test::kEnter, false);
  });
  Start(empty.Path());
  ASSERT_NE(DataModule2->mun, nullptr);
  EXPECT_EQ(DataModule2->mun->DataSet(), DataModule2->ADOQuery1);
  EXPECT_FALSE(DataModule2->ADOQuery1->Active());

  EXPECT_EQ(Form3->Caption(), u"Form3");
  EXPECT_EQ(Form3->ClientWidth(), 1139);
  EXPECT_EQ(Form3->ClientHeight(), 645);
  ASSERT_NE(Form3->DataSource1, nullptr);
  EXPECT_EQ(Form3->DataSource1->DataSet(), Form3->ADOTable1);
  EXPECT_FALSE(Form3->ADOTable1->Active());

  auto* grid = Form3->sDBGrid1;
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(grid->ClassName(), "TsDBGrid");
  EXPECT_EQ(grid->Parent(), Form3);
  EXPECT_EQ(grid->BoundsRect(), gfx::RectOfSize(8, 64, 435, 573));
  EXPECT_EQ(grid->DataSource(), Form3->DataSource1);
  EXPECT_EQ(grid->Color(), fw::clWhite);
  EXPECT_EQ(grid->DrawingStyle(), fw::TGridDrawingStyle::gdsGradient);
  EXPECT_EQ(grid->Font().Name(), u"Tahoma");
  EXPECT_EQ(grid->Font().Height(), -11);
  EXPECT_EQ(grid->Font().Color(), fw::clBlack);
  EXPECT_EQ(grid->TitleFont().Name(), u"Tahoma");
  EXPECT_EQ(grid->TitleFont().Height(), -11);
  // Under the skin the titles take the skin's gradient; the declared one comes back with the
  // skin's removal.
  EXPECT_TRUE(grid->GradColorsSaved());
  grid->Perform(skin::core::SM_ALPHACMD, skin::core::MakeAlphaCmd(skin::core::AC_REMOVESKIN), 0);
  EXPECT_EQ(grid->GradientStartColor(), fw::TColor(0xAAC0CD));  // RGB(205,192,170)
  EXPECT_EQ(grid->GradientEndColor(), fw::TColor(0x57839D));    // RGB(157,131,87)
  const std::vector<std::pair<std::string, int>> columns = {
      {"id", 64}, {"id_uz", 64}, {"foto", 150}, {"fot", 64}};
  ASSERT_EQ(grid->Columns().Count(), 4);
  for (int i = 0; i < 4; ++i) {
    const fw::TColumn& c = grid->Columns().Items(i);
    EXPECT_EQ(c.FieldName(), columns[std::size_t(i)].first);
    EXPECT_EQ(c.Title().Caption(), fw::Utf8ToUtf16(columns[std::size_t(i)].first));
    EXPECT_EQ(c.Width(), columns[std::size_t(i)].second);
  }

  auto* image = Form3->DBImage1;
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->BoundsRect(), gfx::RectOfSize(624, 80, 369, 321));
  EXPECT_EQ(image->DataSource(), Form3->DataSource1);
  EXPECT_EQ(image->DataField(), "fot");
  EXPECT_TRUE(image->Picture().Empty());
}

// The window shown with its table open on the main connection of a copy of the sample
// catalogue: the grid lists the rows, the button stores the photo and the picture shows it.
TEST_F(FormsTest, TheMaintenanceWindowListsThePhotosAndShowsTheStoredPicture) {
  CatalogueCopy copy(SampleFolder());
  Start(copy.Path());
  ASSERT_TRUE(app->Messages().empty());
  auto count = MakeQuery(*Form1->ADOConnection1, "count", u"select id, foto from foto");
  count->Open();
  const int rows = count->RecordCount();
  ASSERT_GT(rows, 1);
  ShowMaintenance();
  auto* grid = Form3->sDBGrid1;
  EXPECT_EQ(grid->RowCount(), rows);
  EXPECT_EQ(grid->Row(), 0);
  // The grid scrolls with skinned bars: it wears an edit wrapper whose vertical bar can scroll.
  auto* bars = dynamic_cast<skin::frame::TacScrollWnd*>(grid->Wrapper());
  ASSERT_NE(bars, nullptr);
  EXPECT_EQ(bars->ClassName(), "TacEditWnd");
  EXPECT_TRUE(bars->Layout(win::SB_VERT).Active);
  ASSERT_EQ(grid->ShownColumns().size(), 4u);
  EXPECT_EQ(grid->ShownColumns()[2].Caption, u"foto");
  EXPECT_EQ(grid->ShownColumns()[2].Width, 150);
  // The sample keeps its photos as files: no picture is stored yet.
  EXPECT_TRUE(Form3->DBImage1->Picture().Empty());
  EXPECT_TRUE(Form3->DBImage1->PictureError().empty());

  // The button, clicked with the mouse, stores the first row's file and the picture follows.
  const fw::TPoint b =
      static_cast<fw::TControl*>(Form3->FindComponent("sButton1"))->ClientToScreen({10, 10});
  win::InjectMouseMove({b.X, b.Y});
  win::InjectMouseButton(0, true, {b.X, b.Y});
  win::InjectMouseButton(0, false, {b.X, b.Y});
  desktop.Pump();
  ASSERT_TRUE(app->Messages().empty()) << db::ToUtf8(app->Messages()[0].Text);
  EXPECT_EQ(Form3->ADOTable1->State(), db::TDataSetState::dsBrowse);
  const std::string file =
      FindPhotoFile(copy.Path() + "res/foto/", count->FieldByName("foto").AsString()).value();
  const gfx::Bitmap expected = gfx::DecodePicture(gfx::ReadFileBytes(file));
  ASSERT_FALSE(Form3->DBImage1->Picture().Empty()) << db::ToUtf8(Form3->DBImage1->PictureError());
  EXPECT_EQ(Form3->DBImage1->Picture().Width(), expected.Width());
  EXPECT_EQ(Form3->DBImage1->Picture().Height(), expected.Height());
  SaveScreen("maintenance-window");

  // A click on the second data row makes it current: it has no picture stored.
  const fw::TPoint r = grid->ClientToScreen({40, grid->DefaultRowHeight() * 2 + 4});
  win::InjectMouseMove({r.X, r.Y});
  win::InjectMouseButton(0, true, {r.X, r.Y});
  win::InjectMouseButton(0, false, {r.X, r.Y});
  desktop.Pump();
  EXPECT_EQ(grid->Row(), 1);
  EXPECT_EQ(Form3->ADOTable1->FieldByName("id").AsString(), [&] {
    count->Next();
    return count->FieldByName("id").AsString();
  }());
  EXPECT_TRUE(Form3->DBImage1->Picture().Empty());
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
