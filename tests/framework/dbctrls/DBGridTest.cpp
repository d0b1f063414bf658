// The data-aware grid and picture over a small photo table: the grid follows the cursor and
// moves it, scrolls with its bars, the wheel and the keyboard, shows columns from its
// collection or from the fields; the picture decodes a blob or shows that it cannot; either
// side of a link may go first.
#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "framework/Automation.h"
#include "framework/DataModule.h"
#include "framework/Harness.h"
#include "framework/Reader.h"
#include "framework/TextConv.h"
#include "framework/db/TestDatabase.h"
#include "framework/dbctrls/DBGrid.h"
#include "framework/dbctrls/DBImage.h"
#include "framework/dbctrls/DataControlsClasses.h"
#include "framework/dbctrls/DataSource.h"
#include "platform/backend/Dump.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/ScrollInfo.h"
#include "platform/win/Window.h"

namespace fw::test {
namespace {

constexpr int kRows = 40;
constexpr unsigned kUp = 0xE048, kDown = 0xE050, kPageUp = 0xE049, kPageDown = 0xE051,
                   kHome = 0xE047, kEnd = 0xE04F, kRight = 0xE04D, kCtrl = 0x1D;

// A 64 x 40 picture: blue left half, yellow right half.
gfx::Bitmap Photo() {
  gfx::Bitmap b(64, 40);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 64; ++x)
      b.Set(x, y, x < 32 ? gfx::MakePixel(200, 60, 20, 255) : gfx::MakePixel(20, 220, 240, 255));
  return b;
}

class DBGridTest : public FrameworkTest {
 protected:
  void SetUp() override {
    FrameworkTest::SetUp();
    // Row 1 holds a PNG, row 2 bytes that are no picture, the rest no bytes at all.
    db::test::MakeDatabase(file, u"delete from foto");
    conn = db::test::Connect(file);
    db::TADOQuery insert(nullptr);
    insert.SetConnection(conn.get());
    insert.SetSQL(u"insert into foto values (:id, :uz, :name, :fot)");
    for (int i = 1; i <= kRows; ++i) {
      db::TParameters& p = insert.Parameters();
      p.ParamByName("id").Value = i;
      p.ParamByName("uz").Value = i % 7;
      p.ParamByName("name").Value = i == 1   ? u"photo1.png"
                                    : i == 2 ? u"broken.jpg"
                                             : Utf8ToUtf16("photo" + std::to_string(i) + ".jpg");
      p.ParamByName("fot").Value = i == 1   ? db::TVariant(gfx::EncodePng(Photo()))
                                   : i == 2 ? db::TVariant(db::TBytes{0xFF, 0xD8, 0xFF, 0x00, 0x11})
                                            : db::TVariant();
      insert.ExecSQL();
    }
    table = std::make_unique<db::TADOTable>(nullptr);
    table->SetName("ADOTable1");
    table->SetConnection(conn.get());
    table->SetTableName("foto");
  }
  void TearDown() override {
    table.reset();
    conn.reset();
    FrameworkTest::TearDown();
  }

  // A form with a grid of class G over the table (opened), at (8, 8) of the screen's top-left
  // form.
  template <class G = TDBGrid>
  G* ShowGrid(int width = 300, int height = 200) {
    form = ShowForm(0, 0, 700, 420);
    source = new TDataSource(form);
    source->SetDataSet(table.get());
    auto* g = new G(form);
    grid = g;
    grid->SetBounds(8, 8, width, height);
    grid->SetParent(form);
    grid->SetDataSource(source);
    table->Open();
    desktop.Pump();
    return g;
  }
  // The screen point in the middle of data row r (0-based among those shown) and column x.
  TPoint CellPoint(int r, int x = 40) {
    int h = grid->DefaultRowHeight();
    return grid->ClientToScreen({TDBGrid::IndicatorWidth + 1 + x, h + r * h + h / 2});
  }
  void Press(unsigned scan, bool ctrl = false) {
    if (ctrl) win::InjectKey(kCtrl, true);
    Key(scan);
    if (ctrl) win::InjectKey(kCtrl, false);
    desktop.Pump();
  }
  win::SCROLLINFO Bar(int bar) {
    win::SCROLLINFO si;
    si.fMask = win::SIF_ALL;
    win::GetScrollInfo(grid->Handle(), bar, &si);
    return si;
  }
  void Scroll(int bar, win::WORD code) {
    grid->Perform(bar == win::SB_VERT ? win::WM_VSCROLL : win::WM_HSCROLL, code, 0);
  }

  db::test::TempFolder dir;
  std::string file = dir.File("res.dat");
  std::unique_ptr<db::TADOConnection> conn;
  std::unique_ptr<db::TADOTable> table;
  TForm* form = nullptr;
  TDataSource* source = nullptr;
  TDBGrid* grid = nullptr;
};

TEST_F(DBGridTest, FollowsTheCursorAndMovesItByClickAndKeys) {
  ShowGrid();
  int vis = grid->VisibleRowCount();
  ASSERT_GE(vis, 5);
  ASSERT_LT(vis, kRows);
  EXPECT_EQ(grid->RowCount(), kRows);
  EXPECT_EQ(grid->Row(), 0);

  table->SetRecNo(30);  // the program moves the cursor: the grid scrolls it into view
  EXPECT_EQ(grid->Row(), 29);
  EXPECT_EQ(grid->TopRow(), 29 - vis + 1);
  table->First();
  EXPECT_EQ(grid->TopRow(), 0);

  TPoint p = CellPoint(2);
  Click(p.X, p.Y);
  EXPECT_TRUE(grid->Focused());
  EXPECT_EQ(table->RecNo(), 3);
  TPoint indicator =
      grid->ClientToScreen({4, p.Y - grid->ClientToScreen({0, 0}).Y + grid->DefaultRowHeight()});
  Click(indicator.X, indicator.Y);  // the indicator column chooses the row too
  EXPECT_EQ(table->RecNo(), 4);
  Click(p.X, p.Y);
  EXPECT_EQ(table->RecNo(), 3);
  Press(kDown);
  EXPECT_EQ(table->RecNo(), 4);
  Press(kUp);
  Press(kUp);
  EXPECT_EQ(table->RecNo(), 2);
  Press(kPageDown);  // a page: the row keeps its place on the screen
  EXPECT_EQ(table->RecNo(), 2 + vis);
  EXPECT_EQ(grid->TopRow(), vis);
  Press(kPageUp);
  EXPECT_EQ(table->RecNo(), 2);
  EXPECT_EQ(grid->TopRow(), 0);
  Press(kEnd, true);
  EXPECT_EQ(table->RecNo(), kRows);
  EXPECT_EQ(grid->TopRow(), kRows - vis);
  Press(kDown);  // already last
  EXPECT_EQ(table->RecNo(), kRows);
  Press(kHome, true);
  EXPECT_EQ(table->RecNo(), 1);
  EXPECT_EQ(grid->TopRow(), 0);

  // Home and End go to the first and last column, scrolling it into view.
  Press(kEnd);
  EXPECT_EQ(grid->Col(), 3);
  EXPECT_GT(grid->LeftPos(), 0);
  Press(kHome);
  EXPECT_EQ(grid->Col(), 0);
  EXPECT_EQ(grid->LeftPos(), 0);
  Press(kRight);
  EXPECT_EQ(grid->Col(), 1);
  table->SetRecNo(5);
  desktop.Pump();
  SaveScreen("dbgrid-cursor");
  // The marked row is the current one: the indicator of row 5 is darker than row 4's.
  TPoint mark = grid->ClientToScreen(
      {TDBGrid::IndicatorWidth / 2, grid->DefaultRowHeight() * 5 + grid->DefaultRowHeight() / 2});
  EXPECT_EQ(ScreenAt(mark.X, mark.Y), gfx::RGB(0, 0, 0));
  EXPECT_NE(ScreenAt(mark.X, mark.Y - grid->DefaultRowHeight()), gfx::RGB(0, 0, 0));
  table->Edit();  // the row being edited is marked "I" instead
  desktop.Pump();
  SaveScreen("dbgrid-editing");
  EXPECT_NE(ScreenAt(mark.X - 2, mark.Y - 1), gfx::RGB(0, 0, 0));
  table->Cancel();
}

TEST_F(DBGridTest, ScrollsByLinePageThumbAndWheelWithTheBarsKeptTrue) {
  ShowGrid();
  int vis = grid->VisibleRowCount();
  win::SCROLLINFO v = Bar(win::SB_VERT);
  EXPECT_EQ(v.nMin, 0);
  EXPECT_EQ(v.nMax, kRows - 1);
  EXPECT_EQ(int(v.nPage), vis);
  EXPECT_EQ(v.nPos, 0);

  Scroll(win::SB_VERT, win::SB_LINEDOWN);
  EXPECT_EQ(grid->TopRow(), 1);
  EXPECT_EQ(Bar(win::SB_VERT).nPos, 1);
  EXPECT_EQ(table->RecNo(), 1);  // scrolling moves the view, not the cursor
  Scroll(win::SB_VERT, win::SB_PAGEDOWN);
  EXPECT_EQ(grid->TopRow(), 1 + vis);
  Scroll(win::SB_VERT, win::SB_PAGEUP);
  Scroll(win::SB_VERT, win::SB_LINEUP);
  Scroll(win::SB_VERT, win::SB_LINEUP);
  EXPECT_EQ(grid->TopRow(), 0);
  Scroll(win::SB_VERT, win::SB_BOTTOM);
  Scroll(win::SB_VERT, win::SB_LINEDOWN);
  EXPECT_EQ(grid->TopRow(), kRows - vis);
  EXPECT_EQ(Bar(win::SB_VERT).nPos, kRows - vis);
  Scroll(win::SB_VERT, win::SB_TOP);

  // The down arrow of the bar, clicked with the mouse.
  win::RECT wr;
  win::GetWindowRect(grid->Handle(), &wr);
  win::ScrollBarLayout l = win::GetScrollBarLayout(grid->Handle(), win::SB_VERT);
  ASSERT_TRUE(l.visible);
  Click(wr.Left + (l.after.Left + l.after.Right) / 2, wr.Top + (l.after.Top + l.after.Bottom) / 2);
  EXPECT_EQ(grid->TopRow(), 1);

  // Dragging the thumb: the rows follow while it moves, through a hook on WindowProc.
  std::vector<std::pair<int, int>> tracked;  // (thumb position, top row) per SB_THUMBTRACK
  TWndHookId hook = grid->HookWindowProc([&](TMessage& m, const TWndNext& next) {
    next(m);
    if (m.Msg == win::WM_VSCROLL && win::LOWORD(m.WParam) == win::SB_THUMBTRACK)
      tracked.emplace_back(Bar(win::SB_VERT).nTrackPos, grid->TopRow());
  });
  l = win::GetScrollBarLayout(grid->Handle(), win::SB_VERT);
  int tx = wr.Left + (l.thumb.Left + l.thumb.Right) / 2,
      ty = wr.Top + (l.thumb.Top + l.thumb.Bottom) / 2;
  win::InjectMouseMove({tx, ty});
  win::InjectMouseButton(0, true, {tx, ty});
  win::InjectMouseMove({tx, ty + 20});
  desktop.Schedule(10, [&] {  // moves in one go are merged: the second comes later
    win::InjectMouseMove({tx, ty + 40});
    win::InjectMouseButton(0, false, {tx, ty + 40});
  });
  desktop.Pump();
  grid->UnhookWindowProc(hook);
  ASSERT_EQ(tracked.size(), 2u);
  for (auto [thumb, top] : tracked) EXPECT_EQ(thumb, top);
  EXPECT_GT(tracked[1].second, tracked[0].second);
  EXPECT_EQ(grid->TopRow(), tracked[1].second);  // SB_THUMBPOSITION keeps the last place
  EXPECT_EQ(Bar(win::SB_VERT).nPos, grid->TopRow());

  // The wheel: three rows a notch, partial turns add up.
  grid->SetFocus();
  Scroll(win::SB_VERT, win::SB_TOP);
  TPoint p = CellPoint(1);
  win::InjectMouseWheel(-win::WHEEL_DELTA, false, {p.X, p.Y});
  desktop.Pump();
  EXPECT_EQ(grid->TopRow(), 3);
  win::InjectMouseWheel(-win::WHEEL_DELTA / 2, false, {p.X, p.Y});
  desktop.Pump();
  EXPECT_EQ(grid->TopRow(), 3);
  win::InjectMouseWheel(-win::WHEEL_DELTA / 2, false, {p.X, p.Y});
  desktop.Pump();
  EXPECT_EQ(grid->TopRow(), 6);
  win::InjectMouseWheel(3 * win::WHEEL_DELTA, false, {p.X, p.Y});
  desktop.Pump();
  EXPECT_EQ(grid->TopRow(), 0);
  EXPECT_EQ(Bar(win::SB_VERT).nPos, 0);

  // Horizontally by pixels: the columns are wider than the room.
  win::SCROLLINFO h = Bar(win::SB_HORZ);
  int room = grid->ClientWidth() - TDBGrid::IndicatorWidth - 1;
  EXPECT_EQ(h.nMax, 64 + 1 + 64 + 1 + 150 + 1 + 80 + 1 - 1);
  EXPECT_EQ(int(h.nPage), room);
  Scroll(win::SB_HORZ, win::SB_LINERIGHT);
  EXPECT_EQ(grid->LeftPos(), grid->DefaultRowHeight());
  Scroll(win::SB_HORZ, win::SB_PAGERIGHT);
  EXPECT_EQ(grid->LeftPos(), h.nMax + 1 - room);  // no further than the last column's end
  EXPECT_EQ(Bar(win::SB_HORZ).nPos, grid->LeftPos());
  Scroll(win::SB_HORZ, win::SB_PAGELEFT);
  EXPECT_EQ(grid->LeftPos(), 0);
  Scroll(win::SB_VERT, win::SB_LINEDOWN);
  Scroll(win::SB_HORZ, win::SB_LINERIGHT);
  desktop.Pump();
  SaveScreen("dbgrid-scrolled");

  // Filtered down to fewer rows than fit: no vertical scrolling is left.
  table->SetFilter(u"id <= 3");
  table->SetFiltered(true);
  EXPECT_EQ(grid->RowCount(), 3);
  EXPECT_EQ(grid->TopRow(), 0);
  Scroll(win::SB_VERT, win::SB_PAGEDOWN);
  EXPECT_EQ(grid->TopRow(), 0);
}

TEST_F(DBGridTest, ColumnsFromTheCollectionOrOnePerFieldAndWhatCellsShow) {
  ShowGrid(420, 220);
  auto names = [&] {
    std::vector<std::string> n;
    for (const auto& c : grid->ShownColumns()) n.push_back(c.FieldName);
    return n;
  };
  EXPECT_EQ(names(), (std::vector<std::string>{"id", "id_uz", "foto", "fot"}));
  EXPECT_EQ(grid->ShownColumns()[2].Caption, u"foto");

  TColumn& file = grid->Columns().Add();
  file.SetFieldName("foto");
  file.Title().SetCaption(u"Файл");
  file.SetWidth(120);
  TColumn& photo = grid->Columns().Add();
  photo.SetFieldName("fot");
  TColumn& missing = grid->Columns().Add();
  missing.SetFieldName("nothing");  // shows empty cells
  EXPECT_EQ(names(), (std::vector<std::string>{"foto", "fot", "nothing"}));
  EXPECT_EQ(grid->ShownColumns()[0].Caption, u"Файл");
  EXPECT_EQ(grid->ShownColumns()[0].Width, 120);
  EXPECT_EQ(grid->ShownColumns()[1].Caption, u"fot");
  EXPECT_EQ(grid->ShownColumns()[1].Width, 64);

  const db::TField& fot = table->FieldByName("fot");
  EXPECT_EQ(TDBGrid::CellText(fot, table->ValueAt(fot, 0)), u"(BLOB)");
  EXPECT_EQ(TDBGrid::CellText(fot, table->ValueAt(fot, 5)), u"(blob)");
  const db::TField& id = table->FieldByName("id");
  EXPECT_EQ(TDBGrid::CellText(id, table->ValueAt(id, 5)), u"6");

  gfx::Bitmap scratch(1, 1);
  gfx::DeviceContext dc(scratch);
  gfx::SelectFont(&dc, grid->Font().Handle());
  EXPECT_EQ(TDBGrid::FitText(&dc, u"12345678", 20, true), u"########");
  EXPECT_EQ(TDBGrid::FitText(&dc, u"12", 200, true), u"12");
  std::u16string cut = TDBGrid::FitText(&dc, u"a rather long photo name.jpg", 60, false);
  ASSERT_GT(cut.size(), 3u);
  EXPECT_EQ(cut.substr(cut.size() - 3), u"...");
  gfx::TSize size;
  gfx::GetTextExtentPoint32W(&dc, cut, &size);
  EXPECT_LE(size.cx, 60);
  std::u16string longer =
      std::u16string(u"a rather long photo name.jpg").substr(0, cut.size() - 2) + u"...";
  gfx::GetTextExtentPoint32W(&dc, longer, &size);
  EXPECT_GT(size.cx, 60);  // the longest start that fits
  EXPECT_EQ(std::u16string(u"a rather long photo name.jpg").substr(0, cut.size() - 3),
            cut.substr(0, cut.size() - 3));

  grid->SetDrawingStyle(TGridDrawingStyle::gdsGradient);
  grid->SetGradientStartColor(gfx::RGB(205, 192, 170));
  grid->SetGradientEndColor(gfx::RGB(157, 131, 87));
  grid->Columns().Items(2).SetWidth(60);
  table->SetRecNo(2);
  grid->SetFocus();
  desktop.Pump();
  SaveScreen("dbgrid-columns");
  // The title row runs from the start colour at its top to the end colour at its bottom.
  TPoint t = grid->ClientToScreen({TDBGrid::IndicatorWidth + 60, 0});
  EXPECT_EQ(ScreenAt(t.X, t.Y), gfx::RGB(205, 192, 170));
  EXPECT_EQ(ScreenAt(t.X, t.Y + grid->DefaultRowHeight() - 2), gfx::RGB(157, 131, 87));
  // The current cell (focused grid) is highlighted.
  TPoint c = CellPoint(1, 100);
  EXPECT_EQ(ScreenAt(c.X, c.Y), ColorToRGB(clHighlight));

  grid->Columns().Clear();
  EXPECT_EQ(names().size(), 4u);
}

// A grid that paints its data cells itself, as the skinned grid does.
class TOwnCellsGrid : public TDBGrid {
 public:
  using TDBGrid::TDBGrid;
  std::vector<std::tuple<int, int, TGridDrawState>> cells;  // col, row, state

 protected:
  void DrawColumnCell(TCanvas& c, const TRect& rect, int col, int row, const db::TField* field,
                      TGridDrawState state) override {
    cells.emplace_back(col, row, state);
    if (state & gdSelected)
      gfx::FillRect(c.Handle(), rect, gfx::RGB(255, 0, 0));
    else
      TDBGrid::DrawColumnCell(c, rect, col, row, field, state);
  }
};

TEST_F(DBGridTest, ADerivedGridPaintsTheCellsItsOwnWay) {
  ShowGrid();
  auto* own = new TOwnCellsGrid(form);
  own->SetBounds(320, 8, 300, 200);
  own->SetParent(form);
  own->SetDataSource(source);
  table->SetRecNo(3);
  own->SetFocus();
  desktop.Pump();
  own->cells.clear();
  own->Repaint();
  int vis = own->VisibleRowCount();
  int selected = 0;
  for (auto [col, row, state] : own->cells) {
    EXPECT_LE(row, vis);  // whole rows and the part of one more
    EXPECT_TRUE(state & gdFocused);
    EXPECT_EQ((state & gdCurrentRow) != 0, row == 2);
    if (state & gdSelected) {
      ++selected;
      EXPECT_EQ(col, 0);
      EXPECT_EQ(row, 2);
    }
  }
  EXPECT_EQ(selected, 1);
  EXPECT_GE(own->cells.size(), std::size_t(3 * vis));  // the columns that show
  TPoint p = own->ClientToScreen({TDBGrid::IndicatorWidth + 20, own->DefaultRowHeight() * 3 + 4});
  EXPECT_EQ(ScreenAt(p.X, p.Y), gfx::RGB(255, 0, 0));
}

// A grid whose title row is two rows high, as several title levels make it.
class TTallTitleGrid : public TOwnCellsGrid {
 public:
  using TOwnCellsGrid::TOwnCellsGrid;
  void SetTall(bool tall) { SetTitleHeight(tall ? 2 * DefaultRowHeight() : 0); }
};

TEST_F(DBGridTest, TitleClicksAndATallerTitleRowKeepRowsWhereTheyAre) {
  auto* own = ShowGrid<TTallTitleGrid>();
  std::vector<int> clicks;
  own->OnTitleClick = [&](TComponent*, int column) { clicks.push_back(column); };
  const int h = own->DefaultRowHeight();
  const int visible = own->VisibleRowCount();
  auto title = [&](int x, int y) { return own->ClientToScreen({TDBGrid::IndicatorWidth + x, y}); };
  TPoint first = title(20, h / 2), second = title(64 + 20, h / 2);
  Click(first.X, first.Y);
  Click(second.X, second.Y);
  EXPECT_EQ(clicks, (std::vector<int>{0, 1}));
  // Pressed on one title and released on another: no click; on a data row: no click.
  win::InjectMouseMove(first);
  win::InjectMouseButton(0, true, first);
  win::InjectMouseMove(second);
  win::InjectMouseButton(0, false, second);
  TPoint cell = title(20, h + h / 2);
  Click(cell.X, cell.Y);
  EXPECT_EQ(clicks.size(), 2u);
  EXPECT_EQ(table->RecNo(), 1);

  own->SetTall(true);
  desktop.Pump();
  EXPECT_EQ(own->TitleHeight(), 2 * h);
  EXPECT_EQ(own->VisibleRowCount(), (own->ClientHeight() - 2 * h) / h);
  EXPECT_LT(own->VisibleRowCount(), visible);
  // The lower half of the title is still the title; the first data row starts below it.
  TPoint lower = title(20, h + h / 2);
  Click(lower.X, lower.Y);
  EXPECT_EQ(clicks.size(), 3u);
  EXPECT_EQ(table->RecNo(), 1);
  TPoint row2 = title(20, 2 * h + h + h / 2);
  Click(row2.X, row2.Y);
  EXPECT_EQ(table->RecNo(), 2);
  own->cells.clear();
  own->Repaint();
  for (auto [col, row, state] : own->cells) EXPECT_LE(row, own->VisibleRowCount());
  own->OnTitleClick = nullptr;
}

// A grid that records the column ColWidthsChanged was told the user sized (-1: none).
class TSizedGrid : public TDBGrid {
 public:
  using TDBGrid::TDBGrid;
  std::vector<int> told;

 protected:
  void ColWidthsChanged() override { told.push_back(UserSizedColumn()); }
};

TEST_F(DBGridTest, TitleEdgesSizeColumnsLiveDownToAMinimumAndADragIsNoTitleClick) {
  auto* g = ShowGrid<TSizedGrid>();
  std::vector<int> clicks;
  g->OnTitleClick = [&](TComponent*, int column) { clicks.push_back(column); };
  const int h = g->DefaultRowHeight();
  ASSERT_EQ(g->ShownColumns()[0].Width, 64);
  const int edge = TDBGrid::IndicatorWidth + 1 + 64;  // the line right of column 0
  auto at = [&](int x) { return g->ClientToScreen({x, h / 2}); };
  EXPECT_EQ(g->SizingEdgeAt(edge - TDBGrid::EdgeGrip, h / 2), 0);
  EXPECT_EQ(g->SizingEdgeAt(edge + TDBGrid::EdgeGrip, h / 2), 0);
  EXPECT_EQ(g->SizingEdgeAt(edge + TDBGrid::EdgeGrip + 1, h / 2), -1);
  EXPECT_EQ(g->SizingEdgeAt(edge + 65, h / 2), 1);
  EXPECT_EQ(g->SizingEdgeAt(edge, h + h / 2), -1);  // a data row sizes nothing
  // The size cursor over the edge only.
  const win::HCURSOR sizeWE = win::LoadCursorW(win::IDC_SIZEWE);
  Move(at(edge).X, at(edge).Y);
  EXPECT_EQ(win::GetCursor(), sizeWE);
  Move(at(edge - 20).X, at(edge - 20).Y);
  EXPECT_NE(win::GetCursor(), sizeWE);

  // Dragged: the column follows the mouse at every move and says who sized it.
  g->told.clear();
  win::InjectMouseMove(at(edge));
  win::InjectMouseButton(0, true, at(edge));
  win::InjectMouseMove(at(edge + 30));
  desktop.Pump();
  EXPECT_EQ(g->SizingColumn(), 0);
  EXPECT_EQ(g->ShownColumns()[0].Width, 94);
  EXPECT_EQ(g->ShownColumns()[1].Width, 64);
  ASSERT_FALSE(g->told.empty());
  EXPECT_EQ(g->told.back(), 0);
  // Never narrower than the minimum.
  win::InjectMouseMove(at(edge - 60));
  win::InjectMouseButton(0, false, at(edge - 60));
  desktop.Pump();
  EXPECT_EQ(g->ShownColumns()[0].Width, 8);
  EXPECT_EQ(g->SizingColumn(), -1);
  EXPECT_EQ(win::GetCapture(), nullptr);
  EXPECT_TRUE(clicks.empty());
  EXPECT_EQ(table->RecNo(), 1);
  // The width outlives a new layout; other layouts tell no sized column.
  g->told.clear();
  table->Close();
  table->Open();
  desktop.Pump();
  EXPECT_EQ(g->ShownColumns()[0].Width, 8);
  ASSERT_FALSE(g->told.empty());
  EXPECT_EQ(g->told.back(), -1);
  // A click in the middle of a title is still a title click.
  const TPoint middle = at(TDBGrid::IndicatorWidth + 1 + 8 + 1 + 30);
  Click(middle.X, middle.Y);
  EXPECT_EQ(clicks, (std::vector<int>{1}));

  // Columns of the collection take the width themselves.
  TColumn& file = g->Columns().Add();
  file.SetFieldName("foto");
  file.SetWidth(100);
  desktop.Pump();
  const int fileEdge = TDBGrid::IndicatorWidth + 1 + 100;
  win::InjectMouseMove(at(fileEdge));
  win::InjectMouseButton(0, true, at(fileEdge));
  win::InjectMouseMove(at(fileEdge - 25));
  win::InjectMouseButton(0, false, at(fileEdge - 25));
  desktop.Pump();
  EXPECT_EQ(file.Width(), 75);
  EXPECT_EQ(clicks.size(), 1u);
  g->OnTitleClick = nullptr;
}

// A grid that counts its layouts and lets a test hold them back.
class TBatchedGrid : public TSizedGrid {
 public:
  using TDBGrid::BeginLayout;
  using TDBGrid::EndLayout;
  using TSizedGrid::TSizedGrid;
};

// Widths, captions and new columns set while the layout is held back show together at the
// last EndLayout, in one layout; nothing held back, nothing laid out.
TEST_F(DBGridTest, ColumnChangesHeldBackAreLaidOutOnceAtTheLastEndLayout) {
  auto* g = ShowGrid<TBatchedGrid>(500);
  for (const char* name : {"id", "id_uz"}) g->Columns().Add().SetFieldName(name);
  desktop.Pump();
  g->told.clear();
  g->BeginLayout();
  g->BeginLayout();
  g->Columns().Items(0).SetWidth(120);
  g->Columns().Items(1).Title().SetCaption(u"Школа");
  g->Columns().Add().SetFieldName("foto");
  EXPECT_EQ(g->ShownColumns().size(), 2u) << "laid out while held back";
  EXPECT_EQ(g->ShownColumns()[0].Width, 64);
  g->EndLayout();
  EXPECT_TRUE(g->told.empty()) << "laid out at an inner EndLayout";
  g->EndLayout();
  ASSERT_EQ(g->told.size(), 1u);
  ASSERT_EQ(g->ShownColumns().size(), 3u);
  EXPECT_EQ(g->ShownColumns()[0].Width, 120);
  EXPECT_EQ(g->ShownColumns()[1].Caption, u"Школа");
  g->told.clear();
  g->BeginLayout();
  g->EndLayout();
  EXPECT_TRUE(g->told.empty());
  // An extra EndLayout is harmless: the next change lays out at once.
  g->EndLayout();
  g->Columns().Items(1).SetWidth(70);
  EXPECT_EQ(g->told.size(), 1u);
  EXPECT_EQ(g->ShownColumns()[1].Width, 70);
}

TEST_F(DBGridTest, AColumnOfNoWidthDrawsNoCellAndLeavesItsNeighbours) {
  auto* own = ShowGrid<TOwnCellsGrid>();
  for (const char* name : {"id", "id_uz", "foto"}) own->Columns().Add().SetFieldName(name);
  own->Columns().Items(1).SetWidth(-5);
  EXPECT_EQ(own->Columns().Items(1).Width(), 0);
  desktop.Pump();
  own->cells.clear();
  own->Repaint();
  int zero = 0, others = 0;
  for (auto [col, row, state] : own->cells) (col == 1 ? zero : others)++;
  EXPECT_EQ(zero, 0);
  EXPECT_GT(others, 0);
}

TEST_F(DBGridTest, PictureDecodesTheBlobOrShowsThatItCannot) {
  ShowGrid();
  auto* image = new TDBImage(form);
  image->SetBounds(330, 8, 200, 150);
  image->SetParent(form);
  image->SetProportional(true);
  image->SetStretch(true);
  image->SetDataField("fot");
  image->SetDataSource(source);
  desktop.Pump();
  ASSERT_EQ(image->Picture().Width(), 64);
  EXPECT_EQ(image->Picture().Height(), 40);
  EXPECT_TRUE(image->PictureError().empty());
  int cw = image->ClientWidth();
  EXPECT_EQ(image->DestRect().Width(), cw);  // scaled up keeping 64:40
  EXPECT_NEAR(image->DestRect().Height(), cw * 40 / 64.0, 0.5);
  SaveScreen("dbimage-picture");
  TPoint left = image->ClientToScreen({cw / 4, image->ClientHeight() / 2});
  EXPECT_EQ(ScreenAt(left.X, left.Y), gfx::RGB(20, 60, 200));

  table->Next();  // bytes that are no picture: nothing shown, nothing raised
  desktop.Pump();
  EXPECT_TRUE(image->Picture().Empty());
  EXPECT_FALSE(image->PictureError().empty());
  SaveScreen("dbimage-not-a-picture");
  table->Next();  // null
  desktop.Pump();
  EXPECT_TRUE(image->Picture().Empty());
  EXPECT_TRUE(image->PictureError().empty());
  table->First();
  EXPECT_EQ(image->Picture().Width(), 64);
  table->Close();
  EXPECT_TRUE(image->Picture().Empty());
  table->Open();
  EXPECT_EQ(image->Picture().Width(), 64);
  image->SetDataField("foto");  // text, not bytes
  EXPECT_TRUE(image->Picture().Empty());
  EXPECT_FALSE(image->PictureError().empty());
}

TEST_F(DBGridTest, LinksSurviveCloseReopenAndEitherSideGoingFirst) {
  ShowGrid();
  auto* image = new TDBImage(form);
  image->SetParent(form);
  image->SetDataField("fot");
  image->SetDataSource(source);
  int dataChanges = 0, stateChanges = 0;
  source->OnDataChange = [&](TComponent*) { ++dataChanges; };
  source->OnStateChange = [&](TComponent*) { ++stateChanges; };

  table->SetRecNo(20);
  EXPECT_EQ(dataChanges, 1);
  table->Close();
  EXPECT_EQ(stateChanges, 1);
  EXPECT_EQ(grid->RowCount(), 0);
  EXPECT_EQ(grid->Row(), -1);
  EXPECT_TRUE(grid->ShownColumns().empty());
  grid->Repaint();
  table->Open();
  EXPECT_EQ(grid->RowCount(), kRows);
  EXPECT_EQ(grid->Row(), 0);
  EXPECT_EQ(grid->TopRow(), 0);
  EXPECT_EQ(grid->ShownColumns().size(), 4u);
  EXPECT_EQ(image->Picture().Width(), 64);

  // A disabled source shows nothing.
  source->SetEnabled(false);
  EXPECT_EQ(grid->RowCount(), 0);
  source->SetEnabled(true);
  EXPECT_EQ(grid->RowCount(), kRows);

  // The dataset goes first: the source and its controls let go of it.
  table.reset();
  EXPECT_EQ(source->DataSet(), nullptr);
  EXPECT_EQ(grid->RowCount(), 0);
  EXPECT_TRUE(image->Picture().Empty());
  grid->Repaint();

  // A new dataset; then the grid goes first, then the source; the dataset goes on alone.
  table = std::make_unique<db::TADOTable>(nullptr);
  table->SetConnection(conn.get());
  table->SetTableName("foto");
  source->SetDataSet(table.get());
  table->Open();
  EXPECT_EQ(grid->RowCount(), kRows);
  delete grid;
  grid = nullptr;
  table->Next();
  EXPECT_EQ(image->Picture().Width(), 0);  // row 2 does not decode
  delete source;
  EXPECT_EQ(image->DataSource(), nullptr);
  EXPECT_TRUE(image->PictureError().empty());
  table->Next();
  table->Close();
  delete image;
}

TEST_F(DBGridTest, DescriptionsReferToAnotherModulesSourceAndTheDumpShowsTheGrid) {
  RegisterDataControls();
  auto* dm = new TDataModule(app.get());
  auto* moduleTable = new db::TADOTable(dm);
  moduleTable->SetName("ADOTable1");
  moduleTable->SetConnection(conn.get());
  moduleTable->SetTableName("foto");
  ReadComponentText(dm, R"(object DataModule2: TDataModule
  object DataSource1: TDataSource
    DataSet = ADOTable1
  end
end
)",
                    "Unit2.txt", dir.File(""));
  auto* f = new TForm(app.get());
  ReadComponentText(f, R"(object Form3: TForm
  Left = 0
  Top = 0
  Width = 640
  Height = 400
  object sDBGrid1: TDBGrid
    Left = 8
    Top = 8
    Width = 435
    Height = 300
    Color = clWhite
    DataSource = DataModule2.DataSource1
    DrawingStyle = gdsGradient
    GradientStartColor = 11190477
    GradientEndColor = 5735325
    TitleFont.Height = -11
    Columns = <
      item
        FieldName = 'id'
        Title.Caption = 'id'
        Width = 64
      end
      item
        FieldName = 'foto'
        Width = 150
      end>
  end
  object DBImage1: TDBImage
    Left = 450
    Top = 8
    Width = 180
    Height = 120
    DataSource = DataModule2.DataSource1
    DataField = 'fot'
    Proportional = True
  end
end
)",
                    "Unit3.txt", dir.File(""));
  f->Show();
  moduleTable->Open();
  desktop.Pump();
  auto* g = static_cast<TDBGrid*>(f->FindComponent("sDBGrid1"));
  ASSERT_NE(g->DataSource(), nullptr);
  EXPECT_EQ(g->DataSource()->Name(), "DataSource1");
  EXPECT_EQ(g->RowCount(), kRows);
  EXPECT_EQ(g->DrawingStyle(), TGridDrawingStyle::gdsGradient);
  auto* image = static_cast<TDBImage*>(f->FindComponent("DBImage1"));
  EXPECT_EQ(image->Picture().Width(), 64);
  SaveScreen("dbgrid-form3");

  InstallFormDump();
  std::string dump = backend::DumpWindows();
  EXPECT_NE(
      dump.find(R"("columns":[{"field":"id","title":"id","width":64},)"
                R"({"field":"foto","title":"foto","width":150}],"row":0,"rowCount":40,"topRow":0)"),
      std::string::npos)
      << dump;
  EXPECT_NE(dump.find(R"("picture":{"width":64,"height":40})"), std::string::npos);
  moduleTable->Next();
  moduleTable->Next();
  dump = backend::DumpWindows();
  EXPECT_NE(dump.find(R"("row":2,"rowCount":40)"), std::string::npos);
  EXPECT_NE(dump.find(R"("picture":null)"), std::string::npos);

  // A reference to something that is no data source is refused.
  auto* bad = new TForm(app.get());
  EXPECT_THROW(ReadComponentText(bad, R"(object Form4: TForm
  object G: TDBGrid
    DataSource = DataModule2.ADOTable1
  end
end
)",
                                 "Unit4.txt", dir.File("")),
               Exception);
  delete bad;
  delete f;
  delete dm;
}

}  // namespace
}  // namespace fw::test
