// The skinned data grid over a small photo table with a folder skin: title levels merged where
// neighbouring captions agree, "#" for a number too narrow to show, rows alternating in the
// skin's colours, and the gradient and window colours kept and given back with the skin.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "TestOutput.h"
#include "framework/TextConv.h"
#include "framework/db/TestDatabase.h"
#include "framework/dbctrls/DataSource.h"
#include "platform/gfx/PictureCodec.h"
#include "platform/win/Backend.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/ScrollInfo.h"
#include "skin/controls/sControls.h"
#include "skin/core/SkinnedFormTest.h"
#include "skin/draw/sGraphUtils.h"
#include "skin/paint/sGraphUtils.h"

namespace skin::controls::test {
namespace {

using namespace skin::core;

constexpr int kMain = 0x808080, kEditBG = 0xFFFFFF, kEditFont = 0x000000, kHeader = 0xD0D0D0,
              kHeaderFont = 0x0000A0, kEven = 0xE0F0E0, kOdd = 0xF0E0E0, kButton = 0x30A0A0,
              kButtonDown = 0x305050;

const std::string kOptions =
    "[GLOBALINFO]\nVERSION=8.0\nMASTERBITMAP=master.bmp\nCOLOR=" + std::to_string(kMain) +
    "\nEDITBG_EVEN=" + std::to_string(kEven) + "\nEDITBG_ODD=" + std::to_string(kOdd) +
    "\n\n[EDIT]\nCOLOR=" + std::to_string(kEditBG) + "\nFONTCOLOR=" + std::to_string(kEditFont) +
    "\n\n[COLHEADER]\nCOLOR=" + std::to_string(kHeader) +
    "\nFONTCOLOR=" + std::to_string(kHeaderFont) +
    "\n\n[SELECTION]\nSTATES=2\nCOLOR=255\n\n[BUTTON]\nSTATES=3\nUSESTATE2=1\nCOLOR=" +
    std::to_string(kButton) + "\nHOTCOLOR=" + std::to_string(kButton) +
    "\nCOLOR2=" + std::to_string(kButtonDown) + "\n";

gfx::Bitmap Master() {
  gfx::Bitmap bmp(4, 4);
  bmp.Fill(gfx::MakePixel(128, 128, 128, 255));
  return bmp;
}

class DBGridSkinTest : public skin::core::test::SkinnedFormTest {
 protected:
  void SetUp() override {
    db::test::MakeDatabase(file, u"delete from foto");
    conn = db::test::Connect(file);
    db::TADOQuery insert(nullptr);
    insert.SetConnection(conn.get());
    insert.SetSQL(u"insert into uz (id, nam, razd) values (1, 'first', 'a long text')");
    insert.ExecSQL();
    insert.SetSQL(u"insert into foto values (:id, :uz, :name, null)");
    for (int i = 1; i <= 20; ++i) {
      insert.Parameters().ParamByName("id").Value = i;
      insert.Parameters().ParamByName("uz").Value = i % 3;
      insert.Parameters().ParamByName("name").Value = fw::Utf8ToUtf16("photo" + std::to_string(i));
      insert.ExecSQL();
    }
    table = std::make_unique<db::TADOTable>(nullptr);
    table->SetConnection(conn.get());
    table->SetTableName("foto");
    MakeSkinnedForm(kOptions, Master());
    source = new fw::TDataSource(form);
    source->SetDataSet(table.get());
    grid = new TsDBGrid(form);
    grid->SetBounds(10, 10, 360, 250);
    grid->Font().SetName(u"Tahoma");
    grid->Font().SetHeight(-11);
    grid->TitleFont().SetName(u"Tahoma");
    grid->TitleFont().SetHeight(-11);
    grid->SetParent(form);
    grid->SetDataSource(source);
    table->Open();
    form->Show();
    desktop.Pump();
  }
  void TearDown() override {
    app.reset();
    table.reset();
    conn.reset();
  }
  // A column of the table with a caption and a width.
  void AddColumn(const char* field, const std::u16string& caption, int width) {
    fw::TColumn& c = grid->Columns().Add();
    c.SetFieldName(field);
    c.Title().SetCaption(caption);
    c.SetWidth(width);
  }
  gfx::COLORREF At(int x, int y) {
    const fw::TPoint p = grid->ClientToScreen({x, y});
    return gfx::ColorFromPixel(desktop.Compose().At(p.X, p.Y));
  }
  // Leftmost and rightmost pixel of the title font's colour in a band of the client.
  std::pair<int, int> TextSpan(int top, int bottom, int left, int right) {
    int lo = INT32_MAX, hi = -1;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x)
        if (At(x, y) == gfx::COLORREF(kHeaderFont)) {
          lo = std::min(lo, x);
          hi = std::max(hi, x);
        }
    return {lo, hi};
  }
  void Save(const std::string& name) {
    gfx::WriteFileBytes((tests::OutputFolder("skin-controls") / (name + ".png")).string(),
                        gfx::EncodePng(desktop.Compose()));
  }

  db::test::TempFolder tmp;
  std::string file = tmp.File("res.dat");
  std::unique_ptr<db::TADOConnection> conn;
  std::unique_ptr<db::TADOTable> table;
  fw::TDataSource* source = nullptr;
  TsDBGrid* grid = nullptr;
};

TEST_F(DBGridSkinTest, NeighboursWithTheSameFirstPartShareOneTitleCellOverTwoRows) {
  AddColumn("id", u"Номер|первый", 80);
  AddColumn("id_uz", u"Номер|второй", 80);
  AddColumn("foto", u"Файл", 120);
  desktop.Pump();
  Save("dbgrid-levels");
  const int h = grid->DefaultRowHeight();
  EXPECT_EQ(grid->HeaderHeight(), 2);
  EXPECT_EQ(grid->TitleHeight(), 2 * h);
  const int boundary = fw::TDBGrid::IndicatorWidth + 1 + 80;  // the first column's right line
  // The shared part is written once across the boundary; the second parts stay in their cells.
  auto [upperLo, upperHi] = TextSpan(0, h, 12, boundary + 80);
  EXPECT_LT(upperLo, boundary);
  EXPECT_GT(upperHi, boundary);
  auto [lowerLo, lowerHi] = TextSpan(h, 2 * h, boundary - 3, boundary + 3);
  EXPECT_EQ(lowerHi, -1);
  EXPECT_EQ(At(boundary, 1), gfx::COLORREF(kHeader));  // no divider in the shared cell
  // The third column's single part reaches down through both rows.
  EXPECT_EQ(At(boundary + 80 + 100, h + 2), gfx::COLORREF(kHeader));

  // Different first parts share nothing; without levels the title is one row again.
  grid->Columns().Items(1).Title().SetCaption(u"Код|второй");
  desktop.Pump();
  auto [lo, hi] = TextSpan(0, h, boundary - 3, boundary + 3);
  EXPECT_EQ(hi, -1);
  for (int i = 0; i < 3; ++i) grid->Columns().Items(i).Title().SetCaption(u"t");
  EXPECT_EQ(grid->HeaderHeight(), 1);
  EXPECT_EQ(grid->TitleHeight(), h);
}

TEST_F(DBGridSkinTest, ANumberTooNarrowShowsHashesAndRowsAlternateInTheSkinsColours) {
  AddColumn("id", u"id", 30);
  AddColumn("foto", u"foto", 120);
  grid->OnGetCellText = [](const db::TField* f, std::u16string& text) {
    if (f->FieldName() == "id") text = u"1234567";
  };
  grid->SetRowColorEven(fw::clRed);
  grid->SetRowColorOdd(fw::clBlue);
  desktop.Pump();
  Save("dbgrid-hashes-rows");
  const int h = grid->DefaultRowHeight(), left = fw::TDBGrid::IndicatorWidth + 1;
  // The cell of the second row, compared with "#######" written as the grid writes text.
  const fw::TRect cell{left, 2 * h, left + 30, 3 * h - 1};
  gfx::Bitmap ref(cell.Width(), cell.Height());
  {
    gfx::DeviceContext dc(ref);
    skin::paint::FillDC(&dc, {0, 0, cell.Width(), cell.Height()}, kOdd);
    fw::TCanvas c;
    c.SetHandle(&dc);
    c.Font.Assign(grid->Font());
    c.Font.SetColor(fw::TColor(kEditFont));
    c.BrushStyle = fw::TBrushStyle::bsClear;
    fw::TRect t{2, 2, cell.Width(), cell.Height()};
    c.TextRect(t, u"#######", gfx::DT_SINGLELINE | gfx::DT_NOPREFIX | gfx::DT_LEFT);
    c.SetHandle(nullptr);
  }
  for (int y = 0; y < cell.Height(); ++y)
    for (int x = 0; x < cell.Width(); ++x)
      ASSERT_EQ(At(cell.Left + x, cell.Top + y), gfx::ColorFromPixel(ref.At(x, y)))
          << x << "," << y;
  // First data row EDITBG_EVEN, second EDITBG_ODD, and on (the current cell aside).
  const int x = left + 30 + 1 + 115;
  for (int k = 0; k < 6; ++k)
    EXPECT_EQ(At(x, h + k * h + h / 2), gfx::COLORREF(k % 2 ? kOdd : kEven)) << k;
  // Equal colours: no alternation, the section's colour.
  grid->SetRowColorOdd(fw::clRed);
  desktop.Pump();
  EXPECT_EQ(At(x, h + h / 2), gfx::COLORREF(kEditBG));
  EXPECT_EQ(At(x, 2 * h + h / 2), gfx::COLORREF(kEditBG));
}

TEST_F(DBGridSkinTest, TheSkinsGradientComesAndTheDeclaredColoursComeBackWithoutIt) {
  // Declared as the maintenance window declares its grid, then skinned anew.
  manager->SetActive(false);
  grid->SetDrawingStyle(fw::TGridDrawingStyle::gdsGradient);
  grid->SetGradientStartColor(11190477);
  grid->SetGradientEndColor(5735325);
  grid->SetColor(fw::clWhite);
  manager->SetActive(true);
  desktop.Pump();
  EXPECT_EQ(grid->GradientStartColor(), fw::TColor(skin::paint::BlendColors(kMain, kEditBG, 127)));
  EXPECT_EQ(grid->GradientEndColor(), fw::TColor(kMain));
  EXPECT_EQ(grid->DrawingStyle(), fw::TGridDrawingStyle::gdsGradient);
  manager->SetActive(false);
  desktop.Pump();
  EXPECT_EQ(grid->GradientStartColor(), fw::TColor(11190477));
  EXPECT_EQ(grid->GradientEndColor(), fw::TColor(5735325));
  EXPECT_EQ(grid->Color(), fw::clWindow);
  EXPECT_EQ(grid->Font().Color(), fw::clWindowText);
  // A second round keeps the declared colours, not the skin's.
  manager->SetActive(true);
  manager->SetActive(false);
  EXPECT_EQ(grid->GradientStartColor(), fw::TColor(11190477));
  // A classic grid keeps its colours under the skin.
  grid->SetDrawingStyle(fw::TGridDrawingStyle::gdsClassic);
  manager->SetActive(true);
  EXPECT_EQ(grid->GradientStartColor(), fw::TColor(11190477));
}

TEST_F(DBGridSkinTest, ScrollingTheViewAndMovingTheRecordAreToldApart) {
  int viewMoves = 0, recordMoves = 0;
  grid->OnScrollData = [&](fw::TComponent* sender) {
    EXPECT_EQ(sender, grid);
    ++viewMoves;
  };
  grid->OnAfterScroll = [&](fw::TComponent* sender) {
    EXPECT_EQ(sender, grid);
    ++recordMoves;
  };
  // The next record is on the screen: the view stays.
  table->Next();
  EXPECT_EQ(recordMoves, 1);
  EXPECT_EQ(viewMoves, 0);
  // The last one is not: the view follows it.
  table->Last();
  EXPECT_EQ(recordMoves, 2);
  EXPECT_EQ(viewMoves, 1);
  EXPECT_GT(grid->TopRow(), 0);
  // The bar moves the view only; a move to where it is already tells nothing.
  grid->Perform(win::WM_VSCROLL, win::SB_TOP, 0);
  EXPECT_EQ(viewMoves, 2);
  EXPECT_EQ(grid->TopRow(), 0);
  grid->Perform(win::WM_VSCROLL, win::SB_TOP, 0);
  EXPECT_EQ(viewMoves, 2);
  EXPECT_EQ(recordMoves, 2);
  table->Last();  // no move
  EXPECT_EQ(recordMoves, 2);
}

TEST_F(DBGridSkinTest, PrintedTheGridShowsWhatTheScreenShows) {
  grid->SetColumnStretch(true);
  table->Last();
  desktop.Pump();
  gfx::Bitmap printed(grid->Width(), grid->Height());
  gfx::DeviceContext dc(printed);
  win::SendMessageW(grid->Handle(), win::WM_PRINT, win::WPARAM(&dc),
                    win::PRF_NONCLIENT | win::PRF_ERASEBKGND | win::PRF_CLIENT);
  const gfx::Bitmap screen = desktop.Compose();
  const fw::TPoint at = form->ClientToScreen({grid->Left(), grid->Top()});
  int differ = 0;
  for (int y = 0; y < printed.Height(); ++y)
    for (int x = 0; x < printed.Width(); ++x)
      if ((printed.At(x, y) | 0xFF000000u) != (screen.At(at.X + x, at.Y + y) | 0xFF000000u))
        ++differ;
  EXPECT_EQ(differ, 0);
}

TEST_F(DBGridSkinTest, AFocusedMemoCellShowsItsButtonWhichPressesAndComesBack) {
  table->Close();
  table->SetTableName("uz");
  table->Open();
  AddColumn("nam", u"nam", 60);
  AddColumn("razd", u"razd", 100);
  grid->Column(1)->SetShowMemoBtn(true);
  grid->SetFocus();
  desktop.Pump();
  const int h = grid->DefaultRowHeight(), left = fw::TDBGrid::IndicatorWidth + 1 + 61;
  const fw::TPoint inside{left + 100 - (h - 1) / 2, h + (h - 1) / 2};
  // Not on the current cell's column yet: no button.
  EXPECT_NE(At(inside.X, inside.Y), gfx::COLORREF(kButton));
  win::InjectKey(0xE04D, true);  // Right
  win::InjectKey(0xE04D, false);
  desktop.Pump();
  Save("dbgrid-memo-button");
  EXPECT_EQ(At(inside.X, inside.Y - 3), gfx::COLORREF(kButton));
  // The pressed look: the button section painted alone for state 2.
  const skin::data::TacSkinModel* model = manager->SkinModel();
  gfx::Bitmap alone(16, 16);
  skin::paint::TCacheInfo ci;
  ci.FillColor = kEditBG;
  skin::draw::PaintItem(model, model->ConstData.Sections[skin::data::ssButton], ci, true, 2,
                        {0, 0, 16, 16}, {0, 0}, &alone);
  const gfx::COLORREF kPressed = gfx::ColorFromPixel(alone.At(8, 5));
  ASSERT_NE(kPressed, gfx::COLORREF(kButton));
  const fw::TPoint p = grid->ClientToScreen(inside);
  win::InjectMouseMove(p);
  win::InjectMouseButton(0, true, p);
  desktop.Pump();
  EXPECT_EQ(At(inside.X, inside.Y - 3), kPressed);
  // Dragged off, it comes up; back on, down again; released, up.
  win::InjectMouseMove(grid->ClientToScreen({left + 10, inside.Y}));
  desktop.Pump();
  EXPECT_EQ(At(inside.X, inside.Y - 3), gfx::COLORREF(kButton));
  win::InjectMouseMove(p);
  desktop.Pump();
  EXPECT_EQ(At(inside.X, inside.Y - 3), kPressed);
  win::InjectMouseButton(0, false, p);
  desktop.Pump();
  EXPECT_EQ(At(inside.X, inside.Y - 3), gfx::COLORREF(kButton));
  // Too narrow a cell (less than a row height + 5) has no button.
  grid->Columns().Items(1).SetWidth(h + 3);
  desktop.Pump();
  const int x = fw::TDBGrid::IndicatorWidth + 1 + 61 + h + 3 - (h - 1) / 2;
  EXPECT_NE(At(x, inside.Y - 3), gfx::COLORREF(kButton));
}

TEST_F(DBGridSkinTest, ASizedColumnMovesOnlyTheStretchedColumnsAfterIt) {
  AddColumn("id", u"id", 60);
  AddColumn("id_uz", u"uz", 60);
  AddColumn("foto", u"name", 100);
  AddColumn("fot", u"photo", 60);
  std::vector<int> clicks;
  grid->OnTitleClick = [&](fw::TComponent*, int column) { clicks.push_back(column); };
  grid->SetColumnStretch(true);
  desktop.Pump();
  const int available = grid->ClientWidth() - 12 - 4;
  auto width = [&](int i) { return grid->Columns().Items(i).Width(); };
  auto total = [&](int from) {
    int sum = 0;
    for (int i = from; i < 4; ++i) sum += width(i);
    return sum;
  };
  const int h = grid->DefaultRowHeight();
  // Drags the right edge of column col by dx pixels.
  auto drag = [&](int col, int dx) {
    int edge = fw::TDBGrid::IndicatorWidth + 1;
    for (int i = 0; i < col; ++i) edge += width(i) + 1;
    edge += width(col);
    const fw::TPoint from = grid->ClientToScreen({edge, h / 2});
    win::InjectMouseMove(from);
    win::InjectMouseButton(0, true, from);
    win::InjectMouseMove({from.X + dx, from.Y});
    win::InjectMouseButton(0, false, {from.X + dx, from.Y});
    desktop.Pump();
  };
  const int w1 = width(1), w2 = width(2), w3 = width(3);
  const int first = width(0);
  drag(0, 30);
  // The sized column keeps the mouse's width; the others share the rest as they did.
  EXPECT_EQ(width(0), first + 30);
  EXPECT_EQ(total(1), available - width(0));
  EXPECT_NEAR(double(width(2)) / width(1), double(w2) / w1, 0.05);
  EXPECT_NEAR(double(width(3)) / width(1), double(w3) / w1, 0.05);
  EXPECT_LT(width(2), w2);
  // The shares are the widths now.
  for (int i = 0; i < 4; ++i)
    EXPECT_NEAR(grid->Column(i)->FTableSpacePercent, double(width(i)) / total(0), 1e-9) << i;
  // A later column keeps its minimum.
  grid->Column(3)->SetMinWidth(w3);
  drag(0, 20);
  EXPECT_EQ(width(3), w3);
  EXPECT_EQ(total(1), available - width(0));
  // Too little left for 10 pixels each: the sized column is cut and the later ones get 10
  // (or their minimum).
  grid->Column(3)->SetMinWidth(14);
  drag(1, grid->ClientWidth());
  EXPECT_EQ(width(2), 10);
  EXPECT_EQ(width(3), 14);
  EXPECT_EQ(width(1), available - width(0) - 10 - 14);
  // No drag was a title click.
  EXPECT_TRUE(clicks.empty());
  // The last column sized alone changes nothing else.
  grid->Column(3)->SetMinWidth(0);
  const int before0 = width(0), before1 = width(1), before2 = width(2);
  drag(3, -4);
  EXPECT_EQ(width(3), 10);
  EXPECT_EQ(width(0), before0);
  EXPECT_EQ(width(1), before1);
  EXPECT_EQ(width(2), before2);
  grid->OnTitleClick = nullptr;
}

}  // namespace
}  // namespace skin::controls::test
