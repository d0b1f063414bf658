// The data-aware skinned memo over a small catalogue: it shows the bound field of the current
// row, typing goes into the field, and with EmptyIsNull the text the user empties stores null
// (without it, an empty text).
#include <gtest/gtest.h>

#include <memory>

#include "framework/db/TestDatabase.h"
#include "framework/dbctrls/DataSource.h"
#include "platform/win/Keys.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "skin/controls/sControls.h"
#include "skin/frame/InternalSkinFormTest.h"

namespace skin::controls {
namespace {

class DBMemoTest : public skin::frame::test::InternalSkinFormTest {
 protected:
  void SetUp() override {
    MakeSkinnedForm(400, 300);
    db::test::MakeDatabase(file,
                           u"insert into uz (id, nam, razd) values (1, 'Школа', 'Зал 1');"
                           u"insert into uz (id, nam, razd) values (2, 'Лицей', 'Зал 2');");
    conn = db::test::Connect(file);
    table = std::make_unique<db::TADOTable>(nullptr);
    table->SetConnection(conn.get());
    table->SetTableName("uz");
    table->Open();
    source = new fw::TDataSource(form);
    source->SetDataSet(table.get());
    memo = new TsDBMemo(form);
    memo->SetBounds(10, 10, 300, 120);
    memo->SetParent(form);
    memo->SetDataSource(source);
    memo->SetDataField("razd");
    memo->AfterConstruction();
    memo->Loaded();
    form->Show();
    desktop.Pump();
  }
  void TearDown() override {
    // The memo and the source go with the form, before the dataset they follow.
    app.reset();
    table.reset();
    conn.reset();
  }
  // Replaces all the text as the user does: Delete on the whole text, then the characters.
  void UserTypes(const std::u16string& text) {
    memo->SelectAll();
    win::SendMessageW(memo->Handle(), win::WM_KEYDOWN, win::VK_DELETE, 0);
    for (char16_t c : text) win::SendMessageW(memo->Handle(), win::WM_CHAR, c, 0);
  }
  db::TField& Razd() { return table->FieldByName("razd"); }

  db::test::TempFolder folder;
  std::string file = folder.File("cat.db");
  std::unique_ptr<db::TADOConnection> conn;
  std::unique_ptr<db::TADOTable> table;
  fw::TDataSource* source = nullptr;
  TsDBMemo* memo = nullptr;
};

TEST_F(DBMemoTest, ShowsTheRowsFieldAndTypingGoesIntoIt) {
  EXPECT_EQ(memo->Text(), u"Зал 1");
  table->Next();
  EXPECT_EQ(memo->Text(), u"Зал 2");
  UserTypes(u"Новый зал");
  EXPECT_EQ(table->State(), db::TDataSetState::dsEdit);
  EXPECT_EQ(Razd().AsString(), u"Новый зал");
  EXPECT_EQ(memo->Text(), u"Новый зал");
}

TEST_F(DBMemoTest, EmptiedTextStoresNullOnlyWithEmptyIsNull) {
  UserTypes(u"");
  EXPECT_TRUE(memo->IsEmpty());
  EXPECT_FALSE(Razd().IsNull());
  EXPECT_EQ(Razd().AsString(), u"");
  table->Cancel();
  memo->SetEmptyIsNull(true);
  EXPECT_EQ(memo->Text(), u"Зал 1");
  UserTypes(u"");
  EXPECT_EQ(table->State(), db::TDataSetState::dsEdit);
  EXPECT_TRUE(Razd().IsNull());
  // Text again is text.
  UserTypes(u"Зал");
  EXPECT_EQ(Razd().AsString(), u"Зал");
}

TEST_F(DBMemoTest, AReadOnlyMemoEditsNothing) {
  memo->SetReadOnly(true);
  memo->SetEmptyIsNull(true);
  UserTypes(u"");
  EXPECT_EQ(table->State(), db::TDataSetState::dsBrowse);
  EXPECT_EQ(Razd().AsString(), u"Зал 1");
}

}  // namespace
}  // namespace skin::controls
