// TDBGrid: a read-only grid over a data source. A title row and a row indicator column stay
// in place; the data rows and columns scroll under them with the window's scroll bars, the
// wheel and the keyboard. The current row is the dataset's current row: moving the cursor
// scrolls it into view, and a click or a navigation key moves the cursor. Scrolling alone
// (bars, wheel) moves the view, not the cursor.
//
// Columns come from the Columns collection (field name, title caption, width) or, when it is
// empty, one per field of the open dataset. Cells show the field's text; blobs show "(BLOB)"
// ("(blob)" when null), memos "(MEMO)"; text wider than its cell ends in "...", numbers too
// wide show "#" for every digit.
//
// The user sizes a column by dragging the right edge of its title (the size cursor shows
// within EdgeGrip pixels of it): the column follows the mouse live, never narrower than
// MinColWidth, and ColWidthsChanged is told at each step with UserSizedColumn() naming it. A
// press that starts a sizing is never a title click.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/CustomControl.h"
#include "framework/dbctrls/DataSource.h"

namespace fw {

class TDBGrid;

class TColumnTitle {
 public:
  virtual ~TColumnTitle() = default;
  // Empty: the field's name is shown.
  const std::u16string& Caption() const { return FCaption; }
  void SetCaption(const std::u16string& caption);

 protected:
  friend class TColumn;
  explicit TColumnTitle(TDBGrid* grid) : FGrid(grid) {}

 private:
  TDBGrid* FGrid;
  std::u16string FCaption;
};

// A column of the collection; a derived grid makes derived columns (CreateColumn), which may
// bring a derived title.
class TColumn {
 public:
  explicit TColumn(TDBGrid* grid, std::unique_ptr<TColumnTitle> title = nullptr)
      : FGrid(grid),
        FTitle(title ? std::move(title) : std::unique_ptr<TColumnTitle>(new TColumnTitle(grid))) {}
  virtual ~TColumn() = default;
  const std::string& FieldName() const { return FFieldName; }
  void SetFieldName(const std::string& name);
  TColumnTitle& Title() { return *FTitle; }
  const TColumnTitle& Title() const { return *FTitle; }
  // Pixels, without the grid line (default 64).
  int Width() const { return FWidth; }
  void SetWidth(int width);

 protected:
  TDBGrid* Grid() const { return FGrid; }

 private:
  TDBGrid* FGrid;
  std::string FFieldName;
  std::unique_ptr<TColumnTitle> FTitle;
  int FWidth = 64;
};

class TDBGridColumns {
 public:
  explicit TDBGridColumns(TDBGrid* grid) : FGrid(grid) {}
  int Count() const { return int(FItems.size()); }
  TColumn& Items(int index) const { return *FItems.at(std::size_t(index)); }
  TColumn& Add();
  void Clear();

 private:
  TDBGrid* FGrid;
  std::vector<std::unique_ptr<TColumn>> FItems;
};

enum class TGridDrawingStyle { gdsClassic, gdsGradient };

// A click on a title: the column among the shown ones.
using TDBGridTitleClickEvent = std::function<void(TComponent* sender, int column)>;

// How a data cell is drawn (a set): the current cell of a focused grid is selected.
enum TGridDrawStateFlag : unsigned { gdSelected = 1, gdFocused = 2, gdCurrentRow = 4 };
using TGridDrawState = unsigned;

class TDBGrid : public TCustomControl {
 public:
  explicit TDBGrid(TComponent* owner);
  ~TDBGrid() override;
  std::string ClassName() const override { return "TDBGrid"; }

  TDataSource* DataSource() const { return FDataLink.DataSource(); }
  void SetDataSource(TDataSource* source) { FDataLink.SetDataSource(source); }
  TDBGridColumns& Columns() { return FColumns; }

  // Title cells: classic (button face) or a vertical gradient between the two colours.
  TGridDrawingStyle DrawingStyle() const { return FDrawingStyle; }
  void SetDrawingStyle(TGridDrawingStyle style);
  TColor GradientStartColor() const { return FGradientStart; }
  void SetGradientStartColor(TColor color);
  TColor GradientEndColor() const { return FGradientEnd; }
  void SetGradientEndColor(TColor color);
  TFont& TitleFont() { return FTitleFont; }

  // What is shown, as the grid lays it out.
  struct TShownColumn {
    std::string FieldName;
    std::u16string Caption;
    int Width;
  };
  const std::vector<TShownColumn>& ShownColumns() const { return FShown; }
  // The current data row (0-based; -1 without an open dataset or rows), the first row shown,
  // the number of data rows and how many rows fit (whole rows).
  int Row() const;
  int TopRow() const { return FTopRow; }
  int RowCount() const;
  int VisibleRowCount() const;
  // The current column among the shown ones; the horizontal scroll offset in pixels.
  int Col() const { return FCol; }
  int LeftPos() const { return FLeftPos; }
  int DefaultRowHeight() const;
  // The title row's height: DefaultRowHeight unless a derived grid set its own (several title
  // levels).
  int TitleHeight() const { return FTitleHeight > 0 ? FTitleHeight : DefaultRowHeight(); }
  static constexpr int IndicatorWidth = 11;

  // Pixels either side of a title's right edge where a press sizes that column.
  static constexpr int EdgeGrip = 2;
  // The column whose title edge lies under a client point (the rightmost when several do),
  // -1 when none.
  int SizingEdgeAt(int x, int y) const;
  // The column the mouse is sizing now, -1 when none.
  int SizingColumn() const { return FSizingCol; }

  // Raised by a left click that starts and ends on the same title cell.
  TDBGridTitleClickEvent OnTitleClick;

  // The text a cell of that field shows for a value.
  static std::u16string CellText(const db::TField& field, const db::TVariant& value);
  // Text shortened to fit width pixels in dc's font: digits of a number become "#", other
  // text loses characters from its end and gets "...".
  // Integers, counters and reals: right-aligned, "#" when too wide.
  static bool IsNumericField(const db::TField& field);
  static std::u16string FitText(HDC dc, const std::u16string& text, int width, bool numeric);

 protected:
  // The columns the collection makes (Columns().Add()).
  virtual std::unique_ptr<TColumn> CreateColumn();
  // 0 or less: the default title height.
  void SetTitleHeight(int height);
  // The title row across the client area (indicator title and every column's title with the
  // lines under and between them); a derived grid with titles of its own overrides it.
  virtual void PaintTitles(TCanvas& c, const TRect& client);
  // The colour of the lines between data cells, and of those along the fixed cells.
  virtual TColor GridLineColor() const;
  virtual TColor FixedLineColor() const { return clBtnShadow; }
  // Called whenever the columns were laid out again (collection, widths, titles, dataset).
  virtual void ColWidthsChanged() {}
  // Between BeginLayout and the matching EndLayout, changes to the columns lay the grid out
  // once, at the last EndLayout (when any asked for it); pairs nest.
  void BeginLayout() { ++FLayoutLock; }
  void EndLayout();
  // While ColWidthsChanged runs for a width the user set by the mouse: that column; else -1.
  int UserSizedColumn() const { return FUserSizedCol; }
  // The narrowest the mouse may make a column.
  virtual int MinColWidth(int col) const;
  // Raises OnTitleClick.
  virtual void TitleClick(int column);
  // Told after the first row or the horizontal offset shown changed (bars, wheel, keys, or
  // the current row scrolled into view).
  virtual void TopLeftChanged() {}
  // Told after the dataset's current record moved, by distance rows (negative: up).
  virtual void Scroll(int /*distance*/) {}
  // Left edge of a shown column in client coordinates, after scrolling.
  int ColumnClientLeft(int col) const { return IndicatorWidth + 1 + ColumnLeft(col) - FLeftPos; }
  // The shown column whose title lies under a client point, -1 when none.
  int TitleColumnAt(int x, int y) const;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& m) override;
  void Paint() override;
  // The cell painters, each given its rectangle without the grid lines. A derived grid (the
  // skinned one) paints cells its own way by overriding them. field is null for a column
  // whose field the dataset lacks.
  virtual void DrawColumnCell(TCanvas& c, const TRect& rect, int col, int row,
                              const db::TField* field, TGridDrawState state);
  virtual void DrawTitleCell(TCanvas& c, const TRect& rect, const std::u16string& text);
  virtual void DrawIndicator(TCanvas& c, const TRect& rect, bool current, bool editing);
  void KeyDown(win::WORD& key, TShiftState shift) override;
  bool WantsKey(win::WORD key) const override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;
  void FontChanged() override;
  void CreateWnd() override;

 private:
  friend class TColumn;
  friend class TColumnTitle;
  friend class TDBGridColumns;
  void DataEvent(db::TDataEvent event);
  void LayoutChanged();
  void UpdateScrollBars();
  void ScrollTo(int topRow, int leftPos);
  void MakeRowVisible(int row);
  void MakeColVisible(int col);
  void MoveToRow(int row);
  void ScrollMessage(int bar, win::WPARAM wParam);
  int TotalColumnsWidth() const;
  int ColumnLeft(int col) const;  // in content coordinates (before scrolling)
  // The user's width for a shown column (the collection's, or kept by field name for the
  // columns made from the fields).
  void SizeColumn(int col, int width);

  TDataLink FDataLink;
  TDBGridColumns FColumns;
  std::vector<TShownColumn> FShown;
  TGridDrawingStyle FDrawingStyle = TGridDrawingStyle::gdsClassic;
  TColor FGradientStart = clWhite;
  TColor FGradientEnd = clBtnFace;
  TFont FTitleFont;
  int FTopRow = 0;
  int FLeftPos = 0;
  int FScrollRow = -1;  // the current row when the grid last heard of it
  int FCol = 0;
  int FWheelRest = 0;
  int FTitleHeight = 0;  // 0: the default row height
  int FTitleDown = -1;   // title column under a left press
  int FSizingCol = -1;   // column whose edge the mouse is dragging
  int FSizeStartX = 0;   // where that drag started, and the column's width then
  int FSizeStartWidth = 0;
  int FUserSizedCol = -1;  // see UserSizedColumn
  // Widths the user gave the columns made from the fields, by field name.
  std::map<std::string, int> FFieldWidths;
  bool FUpdatingBars = false;  // setting the scroll bars resizes the client area
  int FLayoutLock = 0;         // see BeginLayout
  bool FLayoutOwed = false;    // a layout was asked for while held back
};

}  // namespace fw
