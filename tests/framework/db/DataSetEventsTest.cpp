// What a dataset tells its observers, and the cursor moves the grid uses (MoveBy, RecNo,
// ValueAt).
#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "framework/db/DbError.h"

#include "framework/db/TestDatabase.h"

namespace db {
namespace {

using test::Connect;
using test::TempFolder;

struct Recorder : TDataSetObserver {
  std::vector<TDataEvent> events;
  std::function<void()> onEvent;
  void DataEvent(TDataEvent e) override {
    events.push_back(e);
    if (onEvent) onEvent();
  }
};

class DataSetEvents : public ::testing::Test {
 protected:
  void SetUp() override {
    test::MakeDatabase(file,
                       u"insert into foto values (1, 4, 'a.jpg', NULL), (2, 4, 'b.jpg', NULL),"
                       u" (3, 5, 'c.jpg', NULL), (4, 5, 'd.jpg', NULL), (5, 5, 'e.jpg', NULL);");
    conn = Connect(file);
    table.SetName("ADOTable1");
    table.SetConnection(conn.get());
    table.SetTableName("foto");
    table.AddObserver(&rec);
  }
  void TearDown() override { table.RemoveObserver(&rec); }
  std::vector<TDataEvent> Take() { return std::exchange(rec.events, {}); }

  TempFolder dir;
  std::string file = dir.File("res.dat");
  std::unique_ptr<TADOConnection> conn;
  TADOTable table{nullptr};
  Recorder rec;
};

using E = TDataEvent;

TEST_F(DataSetEvents, OpenCloseScrollFilterAndEditAreReported) {
  table.Open();
  EXPECT_EQ(Take(), std::vector<E>{E::deActiveChange});
  table.Next();
  table.Prior();
  table.Prior();  // already first: nothing moved, nothing told
  table.First();
  EXPECT_EQ(Take(), (std::vector<E>{E::deDataSetScroll, E::deDataSetScroll}));
  table.Last();
  table.Next();
  EXPECT_EQ(Take(), std::vector<E>{E::deDataSetScroll});
  table.SetFilter(u"id_uz = 5");
  table.SetFiltered(true);
  EXPECT_EQ(Take(), std::vector<E>{E::deDataSetChange});
  table.Edit();
  table.FieldByName("foto").SetAsString(u"x.jpg");
  table.Post();
  table.Edit();
  table.Cancel();
  EXPECT_EQ(Take(), (std::vector<E>{E::deUpdateState, E::deRecordChange, E::deUpdateState,
                                    E::deUpdateState, E::deUpdateState}));
  // Moving while editing posts first, then scrolls.
  table.Edit();
  Take();
  table.Next();
  EXPECT_EQ(Take(), (std::vector<E>{E::deUpdateState, E::deDataSetScroll}));
  table.Close();
  table.Close();
  EXPECT_EQ(Take(), std::vector<E>{E::deActiveChange});
}

TEST_F(DataSetEvents, AnObserverRemovedWhileOthersAreToldIsNotTold) {
  Recorder second;
  rec.onEvent = [&] { table.RemoveObserver(&second); };
  table.AddObserver(&second);
  table.Open();
  EXPECT_EQ(Take().size(), 1u);
  EXPECT_TRUE(second.events.empty());
}

TEST_F(DataSetEvents, MoveByRecNoAndValuesOfOtherRows) {
  table.Open();
  EXPECT_EQ(table.MoveBy(3), 3);
  EXPECT_EQ(table.RecNo(), 4);
  EXPECT_EQ(table.MoveBy(10), 1);  // cut short at the last row
  EXPECT_TRUE(table.Eof());
  EXPECT_EQ(table.MoveBy(-10), -4);
  EXPECT_TRUE(table.Bof());
  EXPECT_EQ(table.RecNo(), 1);
  EXPECT_EQ(table.MoveBy(0), 0);
  table.SetRecNo(3);
  EXPECT_EQ(table.FieldByName("id").AsInteger(), 3);
  table.SetRecNo(99);
  EXPECT_EQ(table.RecNo(), 5);
  table.SetRecNo(-2);
  EXPECT_EQ(table.RecNo(), 1);
  Take();

  const TField& name = table.FieldByName("foto");
  EXPECT_EQ(table.ValueAt(name, 3), TVariant(u"d.jpg"));
  EXPECT_TRUE(table.ValueAt(name, 5).IsNull());
  EXPECT_TRUE(table.ValueAt(name, -1).IsNull());
  table.Edit();
  table.FieldByName("foto").SetAsString(u"new.jpg");
  EXPECT_EQ(table.ValueAt(name, 0), TVariant(u"new.jpg"));  // the edit buffer
  table.Cancel();
  EXPECT_EQ(table.ValueAt(name, 0), TVariant(u"a.jpg"));
  // Filtered, rows are counted among the visible ones.
  table.SetFilter(u"id_uz = 5");
  table.SetFiltered(true);
  EXPECT_EQ(table.ValueAt(name, 0), TVariant(u"c.jpg"));
  EXPECT_TRUE(table.ValueAt(name, 3).IsNull());
  table.Close();
  EXPECT_THROW(table.MoveBy(1), EDatabaseError);
}

}  // namespace
}  // namespace db
