// TsDBGrid: the data grid painting its cells from the skin. While skinned the whole client is
// composed off screen and copied in one block: titles from "COLHEADER" (or "BUTTON"), with
// several levels when captions hold LevelDelimiterChar (neighbouring columns with the same
// part at a level share one cell there), the indicator with its arrow, data cells in the
// section's colours with the current cell from "SELECTION", rows alternating between the
// skin's EDITBG_EVEN and EDITBG_ODD colours when RowColorEven and RowColorOdd differ, and grid
// lines in the skin's grid colour. Unskinned it paints as the platform grid does.
//
// The declared gradient title colours are kept when a skin comes (SaveColors) and put back,
// with the standard window colours, when it goes (RestoreColors).
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "skin/controls/sSkinnedControl.h"

namespace skin::controls {

enum class TColumnSortOrder { csoNone, csoAsc, csoDesc };

// A title whose caption may hold several levels separated by the grid's delimiter.
class TacColumnTitle : public fw::TColumnTitle {
 public:
  explicit TacColumnTitle(fw::TDBGrid* grid) : TColumnTitle(grid) {}
};

// A column with a minimum width, a memo button, a sort order and its share of the table's
// width (kept for stretching).
class TacDBColumn : public fw::TColumn {
 public:
  explicit TacDBColumn(fw::TDBGrid* grid) : TColumn(grid, std::make_unique<TacColumnTitle>(grid)) {}
  int MinWidth() const { return FMinWidth; }
  void SetMinWidth(int width) { FMinWidth = std::max(0, width); }
  // A button at the right of a focused memo cell.
  bool ShowMemoBtn() const { return FShowMemoBtn; }
  void SetShowMemoBtn(bool show) { FShowMemoBtn = show; }
  TColumnSortOrder SortOrder() const { return FSortOrder; }
  void SetSortOrder(TColumnSortOrder order) { FSortOrder = order; }

  double FTableSpacePercent = 0;  // share of the total width, 0..1

 private:
  int FMinWidth = 0;
  bool FShowMemoBtn = false;
  TColumnSortOrder FSortOrder = TColumnSortOrder::csoNone;
};

// The number of levels of a caption (parts between delimiters; an empty caption has one).
int GetCaptionDepth(const std::u16string& caption, char16_t delimiter);
// Part level (from 0) of a caption into text; false, with text empty, when it has no such part.
bool GetCaptionLevel(const std::u16string& caption, int level, char16_t delimiter,
                     std::u16string& text);

using TGetCellTextEvent = std::function<void(const db::TField* field, std::u16string& text)>;
using TGetCellParamsEvent = std::function<void(const db::TField* field, fw::TFont& font,
                                               fw::TGridDrawState state, fw::TColor& background)>;

class TsDBGrid : public TsListSWControl<fw::TDBGrid, "TsDBGrid", sc::COC_TsDBGrid,
                                        FixedSection<sd::ssEdit>, skin::frame::TacEditWnd> {
  using Skinned = TsListSWControl<fw::TDBGrid, "TsDBGrid", sc::COC_TsDBGrid,
                                  FixedSection<sd::ssEdit>, skin::frame::TacEditWnd>;

 public:
  explicit TsDBGrid(fw::TComponent* owner);
  ~TsDBGrid() override;
  // A grid read from a description under a skin in force takes the skin's gradient here (its
  // declared colours kept first).
  void Loaded() override;

  char16_t LevelDelimiterChar() const { return FLevelDelimiterChar; }
  void SetLevelDelimiterChar(char16_t c);
  // Rows alternate when the two differ (both clWindow by default).
  fw::TColor RowColorEven() const { return FRowColorEven; }
  void SetRowColorEven(fw::TColor c);
  fw::TColor RowColorOdd() const { return FRowColorOdd; }
  void SetRowColorOdd(fw::TColor c);
  // Off: cells get their background and colours but no text (an OnGetCellParams handler or a
  // derived grid writes it).
  bool DefaultDrawing() const { return FDefaultDrawing; }
  void SetDefaultDrawing(bool v);
  // Columns are stretched over the client width by their shares.
  bool ColumnStretch() const { return FColumnStretch; }
  void SetColumnStretch(bool v);
  // A title click on a sortable column counts as a sort request (the dataset is not sorted
  // here; OnTitleClick tells the application).
  bool ColumnSort() const { return FColumnSort; }
  void SetColumnSort(bool v) { FColumnSort = v; }
  TacDBColumn* Column(int index) { return dynamic_cast<TacDBColumn*>(&Columns().Items(index)); }

  // Title levels now (1 without delimiters).
  int HeaderHeight() const { return FHeaderHeight; }
  // Title row height from the deepest caption: (default row height) x levels.
  void UpdateHeaderHeight();
  // Every column's share recomputed as its width over the total of positive widths.
  void CalcTableSpacePercent();
  // Every visible column set to its share of the width available (ColumnStretch).
  void ResizeColumns();
  // After the user gave column k its width (ColumnStretch): the columns left of it keep
  // theirs, the later ones share what is left in proportion to their shares, each at least its
  // MinWidth, the last taking the rounding; when that leaves less than 10 pixels (or its
  // MinWidth) for each of them, column k is cut to fit (never below its minimum) and they get
  // 10 (or their MinWidth). The shares are then recomputed.
  void ResizeColumns(int k);
  void SaveColors();
  void RestoreColors();
  bool GradColorsSaved() const { return FGradColorsSaved; }

  TGetCellTextEvent OnGetCellText;
  TGetCellParamsEvent OnGetCellParams;
  // The rows or columns shown moved (bars, wheel, keys, or the current row brought into view).
  fw::TNotifyEvent OnScrollData;
  // The current record moved.
  fw::TNotifyEvent OnAfterScroll;

 protected:
  void CreateWnd() override;
  std::unique_ptr<fw::TColumn> CreateColumn() override;
  void Paint() override;
  void PaintTitles(fw::TCanvas& c, const fw::TRect& client) override;
  void DrawColumnCell(fw::TCanvas& c, const fw::TRect& rect, int col, int row,
                      const db::TField* field, fw::TGridDrawState state) override;
  void DrawIndicator(fw::TCanvas& c, const fw::TRect& rect, bool current, bool editing) override;
  fw::TColor GridLineColor() const override;
  fw::TColor FixedLineColor() const override { return GridLineColor(); }
  // The column's MinWidth, when above the platform grid's.
  int MinColWidth(int col) const override;
  // A press on a memo button presses it (the cursor stays); releasing on it repaints.
  void MouseDown(fw::TMouseButton button, fw::TShiftState shift, int x, int y) override;
  void MouseMove(fw::TShiftState shift, int x, int y) override;
  void MouseUp(fw::TMouseButton button, fw::TShiftState shift, int x, int y) override;
  // The title height follows the captions; stretched columns follow the client width.
  void ColWidthsChanged() override;
  void TopLeftChanged() override;
  void Scroll(int distance) override;

 private:
  void GridWndProc(fw::TMessage& m, const fw::TWndNext& next);
  const sd::TacSkinModel* Model() const;
  // The title section: COLHEADER, else BUTTON; -1 when neither.
  int TitleSection() const;
  void PaintHeaderCell(gfx::HDC dc, const fw::TRect& r);
  // The memo button of the focused memo cell: "BUTTON" (pressed, state 2) with "...".
  void DrawButton(gfx::HDC dc, const fw::TRect& r, bool pressed);
  bool IsOnButton(int x, int y) const;
  // The skin's gradient for the titles while skinned.
  void ApplySkinGradient();
  // Runs setWidths with the grid's layout held back: the grid is laid out once after it, not
  // after every width.
  void WithOneLayout(const std::function<void()>& setWidths);
  // The widths of the columns after k for ResizeColumns(k): available for them all, before
  // taken by the columns left of k, rest left after k, least the later ones need.
  void SetLaterWidths(int k, int available, int before, int rest, int least);

  char16_t FLevelDelimiterChar = u'|';
  fw::TColor FRowColorEven = fw::clWindow, FRowColorOdd = fw::clWindow;
  bool FDefaultDrawing = true;
  bool FColumnStretch = false, FColumnSort = false;
  int FHeaderHeight = 1;
  bool FGradColorsSaved = false;
  bool FExecColAjust = false;
  int FCellButtonDown = -1;         // column whose memo button the mouse pressed
  bool FCellButtonPressed = false;  // and the mouse is still on it
  int FCellButtonCol = -1;          // column of the memo button shown, -1 none
  fw::TRect FCellButtonRect;        // column widths being set by the grid itself
  fw::TColor SavedGradStartColor = fw::clNone, SavedGradEndColor = fw::clNone;
  fw::TWndHookId FGridHook = 0;
};

}  // namespace skin::controls
