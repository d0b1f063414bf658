// The write path: edit the current row, load a file into a blob, post; two connections.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "framework/db/DbError.h"
#include "framework/db/TestDatabase.h"

namespace db {
namespace {

using test::Connect;
using test::TempFolder;

class Edit : public ::testing::Test {
 protected:
  void SetUp() override {
    test::MakeDatabase(file,
                       u"insert into mun values (1, 'Заречный');"
                       u"insert into uz (id, id_mun, nam) values (4, 1, 'Школа');"
                       u"insert into foto values (1, 4, '4/1.jpg', NULL),"
                       u" (2, 4, '4/2.jpg', NULL);");
    conn = Connect(file);
    table.SetName("ADOTable1");
    table.SetConnection(conn.get());
    table.SetTableName("foto");
  }

  std::string WritePhoto(const std::string& name, const TBytes& bytes) {
    std::ofstream(dir.File(name), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return dir.File(name);
  }

  // The blob of photo row id as a fresh connection reads it.
  TVariant StoredBlob(int id) {
    auto other = Connect(file);
    TADOQuery q(nullptr);
    q.SetConnection(other.get());
    q.SetSQL(u"select fot from foto where id=:p1");
    q.Parameters().ParamByName("p1").Value = TVariant(id);
    q.Open();
    return q.Fields(0).Value();
  }

  TempFolder dir;
  std::string file = dir.File("res.dat");
  std::unique_ptr<TADOConnection> conn;
  TADOTable table{nullptr};
};

TEST_F(Edit, LoadFromFileAndPostStoresTheBytes) {
  const TBytes photo = {0xFF, 0xD8, 0x00, 0x01, 0x7F, 0x00, 0xFF, 0xD9};
  const std::string path = WritePhoto("2.jpg", photo);
  table.Open();
  table.Next();  // the second row
  table.Edit();
  auto& blob = dynamic_cast<TBlobField&>(table.FieldByName("fot"));
  blob.LoadFromFile(path);
  EXPECT_EQ(table.State(), TDataSetState::dsEdit);
  EXPECT_TRUE(StoredBlob(2).IsNull());  // nothing written before Post
  table.Post();
  EXPECT_EQ(table.State(), TDataSetState::dsBrowse);
  EXPECT_EQ(blob.Value(), TVariant(photo));
  EXPECT_EQ(StoredBlob(2), TVariant(photo));
  EXPECT_TRUE(StoredBlob(1).IsNull());
  // An empty file stores an empty blob, not null.
  table.Edit();
  blob.LoadFromFile(WritePhoto("empty.jpg", {}));
  table.Next();  // moving posts the pending edit
  EXPECT_EQ(StoredBlob(2), TVariant(TBytes{}));
}

TEST_F(Edit, MissingFileLeavesTheRowInEditModeAndWritesNothing) {
  table.Open();
  table.Edit();
  auto& blob = dynamic_cast<TBlobField&>(table.FieldByName("fot"));
  const std::string missing = dir.File("foto/4/1.jpg");
  try {
    blob.LoadFromFile(missing);
    ADD_FAILURE() << "loaded";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(std::string(e.what()),
              "Cannot open file \"" + missing + "\". No such file or directory");
  }
  EXPECT_EQ(table.State(), TDataSetState::dsEdit);
  EXPECT_THROW(blob.LoadFromFile(dir.File("")), EFOpenError);  // a folder
  table.Cancel();
  EXPECT_TRUE(StoredBlob(1).IsNull());
}

TEST_F(Edit, EditingNeedsAnOpenDatasetAndAnEditableField) {
  try {
    table.Edit();
    ADD_FAILURE() << "edited";
  } catch (const EDatabaseError& e) {
    EXPECT_STREQ(e.what(), "ADOTable1: Cannot perform this operation on a closed dataset");
  }
  table.Open();
  try {
    table.FieldByName("foto").SetAsString(u"x.jpg");
    ADD_FAILURE() << "set";
  } catch (const EDatabaseError& e) {
    EXPECT_STREQ(e.what(), "ADOTable1: Dataset not in edit or insert mode");
  }
  table.Edit();
  try {
    table.FieldByName("id").SetAsInteger(9);
    ADD_FAILURE() << "set";
  } catch (const EDatabaseError& e) {
    EXPECT_STREQ(e.what(), "ADOTable1: Field 'id' cannot be modified");
  }
  table.FieldByName("foto").SetAsString(u"4/новое.jpg");
  table.Post();
  table.Close();
  table.Open();
  EXPECT_EQ(table.FieldByName("foto").AsString(), u"4/новое.jpg");
}

TEST_F(Edit, ResultsWithoutOneTablesKeyCannotBeWritten) {
  TADOQuery q(nullptr);
  q.SetName("ADOQuery2");
  q.SetConnection(conn.get());
  q.SetSQL(u"select foto, id_uz from foto");
  q.Open();
  q.Edit();
  q.FieldByName("foto").SetAsString(u"x");
  try {
    q.Post();
    ADD_FAILURE() << "posted";
  } catch (const EDatabaseError& e) {
    EXPECT_STREQ(e.what(),
                 "ADOQuery2: Insufficient key column information for updating or refreshing.");
  }
  EXPECT_EQ(q.State(), TDataSetState::dsEdit);
}

TEST_F(Edit, TwoConnectionsToTheSameFileAtOnce) {
  auto second = Connect(file);
  TADOTable other(nullptr);
  other.SetConnection(second.get());
  other.SetTableName("foto");
  other.Open();
  table.Open();
  table.Edit();
  table.FieldByName("foto").SetAsString(u"4/первое.jpg");
  table.Post();
  // The other connection's open result is a static copy; re-opening shows the change.
  EXPECT_EQ(other.FieldByName("foto").AsString(), u"4/1.jpg");
  other.Close();
  other.Open();
  EXPECT_EQ(other.FieldByName("foto").AsString(), u"4/первое.jpg");
  // And the other way round, while the first connection stays open.
  other.Edit();
  other.FieldByName("id_uz").SetAsInteger(5);
  other.Post();
  table.Close();
  table.Open();
  EXPECT_EQ(table.FieldByName("id_uz").AsInteger(), 5);
  // A row changed under an editor is reported, not silently lost.
  second->Execute(u"delete from foto where id = 1");
  table.Edit();
  table.FieldByName("foto").SetAsString(u"x");
  EXPECT_THROW(table.Post(), EDatabaseError);
}

TEST_F(Edit, AnotherProcessWritesWhileThisOneIsConnected) {
  table.Open();
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // The other process: its own connection, an edit and a post; exit code 0 on success.
    int code = 1;
    try {
      auto own = Connect(file);
      TADOTable t(nullptr);
      t.SetConnection(own.get());
      t.SetTableName("foto");
      t.Open();
      t.Edit();
      t.FieldByName("foto").SetAsString(u"4/из другого процесса.jpg");
      t.Post();
      code = 0;
    } catch (...) {
    }
    ::_exit(code);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  table.Close();
  table.Open();
  EXPECT_EQ(table.FieldByName("foto").AsString(), u"4/из другого процесса.jpg");
}

}  // namespace
}  // namespace db
