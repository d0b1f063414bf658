#include "framework/dbctrls/DBGrid.h"

#include <algorithm>
#include <utility>

#include "framework/TextConv.h"
#include "platform/win/Input.h"
#include "platform/win/Keys.h"
#include "platform/win/Messages.h"
#include "platform/win/ScrollInfo.h"
#include "platform/win/Styles.h"

namespace fw {

namespace {

using db::TFieldType;

bool IsNumeric(TFieldType t) {
  return t == TFieldType::ftInteger || t == TFieldType::ftAutoInc || t == TFieldType::ftFloat;
}

constexpr int kWheelLines = 3;  // rows a wheel notch scrolls
constexpr TColor kGridLine = clSilver;
constexpr int kMinColWidth = 8;  // keeps a sized column's edge apart from its left edge

}  // namespace

// Columns.

void TColumnTitle::SetCaption(const std::u16string& caption) {
  FCaption = caption;
  FGrid->LayoutChanged();
}

void TColumn::SetFieldName(const std::string& name) {
  FFieldName = name;
  FGrid->LayoutChanged();
}

void TColumn::SetWidth(int width) {
  FWidth = std::max(0, width);
  FGrid->LayoutChanged();
}

TColumn& TDBGridColumns::Add() {
  FItems.push_back(FGrid->CreateColumn());
  FGrid->LayoutChanged();
  return *FItems.back();
}

void TDBGridColumns::Clear() {
  FItems.clear();
  FGrid->LayoutChanged();
}

// The grid.

TDBGrid::TDBGrid(TComponent* owner) : TCustomControl(owner), FColumns(this) {
  SetBounds(0, 0, 320, 120);
  SetColor(clWindow);
  SetTabStop(true);
  ControlStyle |= csOpaque;
  FTitleFont.OnChange = [this] { LayoutChanged(); };
  FDataLink.OnDataEvent = [this](db::TDataEvent e) { DataEvent(e); };
}

TDBGrid::~TDBGrid() {
  Destroying();
  FDataLink.OnDataEvent = nullptr;
  FDataLink.SetDataSource(nullptr);
}

void TDBGrid::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.Style |= win::WS_VSCROLL | win::WS_HSCROLL;
  params.ExStyle |= win::WS_EX_CLIENTEDGE;
}

void TDBGrid::CreateWnd() {
  TCustomControl::CreateWnd();
  UpdateScrollBars();
}

void TDBGrid::SetDrawingStyle(TGridDrawingStyle style) {
  FDrawingStyle = style;
  Invalidate();
}

void TDBGrid::SetGradientStartColor(TColor color) {
  FGradientStart = color;
  Invalidate();
}

void TDBGrid::SetGradientEndColor(TColor color) {
  FGradientEnd = color;
  Invalidate();
}

void TDBGrid::FontChanged() {
  TCustomControl::FontChanged();
  LayoutChanged();
}

int TDBGrid::DefaultRowHeight() const {
  return std::max(Font().Handle()->Metrics().tmHeight, FTitleFont.Handle()->Metrics().tmHeight) + 4;
}

std::unique_ptr<TColumn> TDBGrid::CreateColumn() {
  return std::make_unique<TColumn>(this);
}

void TDBGrid::SetTitleHeight(int height) {
  height = std::max(0, height);
  if (height == FTitleHeight) return;
  FTitleHeight = height;
  LayoutChanged();
}

TColor TDBGrid::GridLineColor() const {
  return kGridLine;
}

void TDBGrid::TitleClick(int column) {
  if (OnTitleClick) OnTitleClick(this, column);
}

int TDBGrid::TitleColumnAt(int x, int y) const {
  if (y < 0 || y >= TitleHeight() || x <= IndicatorWidth) return -1;
  for (int i = 0; i < int(FShown.size()); ++i) {
    const int left = ColumnClientLeft(i);
    if (x >= left && x < left + FShown[std::size_t(i)].Width + 1) return i;
  }
  return -1;
}

int TDBGrid::SizingEdgeAt(int x, int y) const {
  if (y < 0 || y >= TitleHeight()) return -1;
  for (int i = int(FShown.size()) - 1; i >= 0; --i) {
    const int edge = ColumnClientLeft(i) + FShown[std::size_t(i)].Width;
    if (edge > IndicatorWidth && x >= edge - EdgeGrip && x <= edge + EdgeGrip) return i;
  }
  return -1;
}

int TDBGrid::MinColWidth(int) const {
  return kMinColWidth;
}

void TDBGrid::SizeColumn(int col, int width) {
  if (col < 0 || col >= int(FShown.size()) || FShown[std::size_t(col)].Width == width) return;
  FUserSizedCol = col;
  try {
    if (FColumns.Count() > 0) {
      FColumns.Items(col).SetWidth(width);
    } else {
      FFieldWidths[FShown[std::size_t(col)].FieldName] = width;
      LayoutChanged();
    }
  } catch (...) {
    FUserSizedCol = -1;
    throw;
  }
  FUserSizedCol = -1;
}

int TDBGrid::Row() const {
  db::TDataSet* d = FDataLink.DataSet();
  return d ? d->RecNo() - 1 : -1;
}

int TDBGrid::RowCount() const {
  db::TDataSet* d = FDataLink.DataSet();
  return d ? d->RecordCount() : 0;
}

int TDBGrid::VisibleRowCount() const {
  return std::max(0, (ClientHeight() - TitleHeight()) / DefaultRowHeight());
}

int TDBGrid::TotalColumnsWidth() const {
  int w = 0;
  for (const TShownColumn& c : FShown) w += c.Width + 1;
  return w;
}

int TDBGrid::ColumnLeft(int col) const {
  int x = 0;
  for (int i = 0; i < col && i < int(FShown.size()); ++i) x += FShown[std::size_t(i)].Width + 1;
  return x;
}

std::u16string TDBGrid::CellText(const db::TField& field, const db::TVariant& value) {
  bool blob = field.DataType() == TFieldType::ftBlob || value.VarType() == db::TVarType::Blob;
  if (blob) return value.IsNull() ? u"(blob)" : u"(BLOB)";
  if (field.DataType() == TFieldType::ftWideMemo) return value.IsNull() ? u"(memo)" : u"(MEMO)";
  return value.ToString();
}

bool TDBGrid::IsNumericField(const db::TField& field) {
  return IsNumeric(field.DataType());
}

std::u16string TDBGrid::FitText(HDC dc, const std::u16string& text, int width, bool numeric) {
  auto wide = [&](std::u16string_view s) {
    gfx::TSize size;
    gfx::GetTextExtentPoint32W(dc, s, &size);
    return size.cx;
  };
  if (wide(text) <= width) return text;
  if (numeric) {
    std::u16string hashes = text;
    for (char16_t& ch : hashes)
      if (ch >= u'0' && ch <= u'9') ch = u'#';
    return hashes;
  }
  // The longest start that fits with "..." (widths grow with length: a binary search keeps
  // long values cheap); a surrogate pair is never split.
  std::size_t lo = 0, hi = text.size();
  while (lo < hi) {
    std::size_t mid = (lo + hi + 1) / 2;
    if (wide(text.substr(0, mid) + u"...") <= width)
      lo = mid;
    else
      hi = mid - 1;
  }
  if (lo > 0 && text[lo - 1] >= 0xD800 && text[lo - 1] <= 0xDBFF) --lo;
  return text.substr(0, lo) + u"...";
}

void TDBGrid::EndLayout() {
  if (FLayoutLock > 0 && --FLayoutLock == 0 && std::exchange(FLayoutOwed, false)) LayoutChanged();
}

void TDBGrid::LayoutChanged() {
  if (HasState(csDestroying)) return;
  if (FLayoutLock > 0) {
    FLayoutOwed = true;
    return;
  }
  FShown.clear();
  db::TDataSet* d = FDataLink.DataSet();
  if (FColumns.Count() > 0) {
    for (int i = 0; i < FColumns.Count(); ++i) {
      const TColumn& c = FColumns.Items(i);
      std::u16string caption = c.Title().Caption();
      if (caption.empty()) caption = Utf8ToUtf16(c.FieldName());
      FShown.push_back({c.FieldName(), caption, c.Width()});
    }
  } else if (d) {
    for (int i = 0; i < d->FieldCount(); ++i) {
      const db::TField& f = d->Fields(i);
      int width = IsNumeric(f.DataType())                    ? 64
                  : f.DataType() == TFieldType::ftWideString ? 150
                                                             : 80;
      if (auto kept = FFieldWidths.find(f.FieldName()); kept != FFieldWidths.end())
        width = kept->second;
      FShown.push_back({f.FieldName(), Utf8ToUtf16(f.FieldName()), width});
    }
  }
  FCol = std::clamp(FCol, 0, std::max(0, int(FShown.size()) - 1));
  UpdateScrollBars();
  MakeRowVisible(Row());
  Invalidate();
  ColWidthsChanged();
}

void TDBGrid::DataEvent(db::TDataEvent event) {
  switch (event) {
    case db::TDataEvent::deActiveChange:
      FTopRow = 0;
      FLeftPos = 0;
      FScrollRow = Row();
      LayoutChanged();
      break;
    case db::TDataEvent::deDataSetChange:
      FScrollRow = Row();
      UpdateScrollBars();
      MakeRowVisible(Row());
      Invalidate();
      break;
    case db::TDataEvent::deDataSetScroll: {
      const int row = Row(), distance = row - FScrollRow;
      FScrollRow = row;
      MakeRowVisible(row);
      Invalidate();
      Scroll(distance);
      break;
    }
    case db::TDataEvent::deRecordChange:
    case db::TDataEvent::deUpdateState:
      Invalidate();
      break;
  }
}

// Scrolling.

void TDBGrid::UpdateScrollBars() {
  if (!HandleAllocated() || FUpdatingBars || HasState(csDestroying)) return;
  FUpdatingBars = true;
  // Showing or hiding one bar changes the room for the other: settle in a few passes.
  for (int pass = 0; pass < 3; ++pass) {
    TRect before = ClientRect();
    ScrollTo(FTopRow, FLeftPos);
    win::SCROLLINFO v;
    v.fMask = win::SIF_RANGE | win::SIF_PAGE | win::SIF_POS;
    v.nMax = std::max(0, RowCount() - 1);
    v.nPage = win::UINT(VisibleRowCount());
    v.nPos = FTopRow;
    win::SetScrollInfo(Handle(), win::SB_VERT, v, true);
    win::SCROLLINFO h;
    h.fMask = win::SIF_RANGE | win::SIF_PAGE | win::SIF_POS;
    h.nMax = std::max(0, TotalColumnsWidth() - 1);
    h.nPage = win::UINT(std::max(0, ClientWidth() - IndicatorWidth - 1));
    h.nPos = FLeftPos;
    win::SetScrollInfo(Handle(), win::SB_HORZ, h, true);
    if (ClientRect() == before) break;
  }
  FUpdatingBars = false;
}

void TDBGrid::ScrollTo(int topRow, int leftPos) {
  int vis = std::max(1, VisibleRowCount());
  int maxTop = std::max(0, RowCount() - vis);
  int maxLeft = std::max(0, TotalColumnsWidth() - std::max(0, ClientWidth() - IndicatorWidth - 1));
  topRow = std::clamp(topRow, 0, maxTop);
  leftPos = std::clamp(leftPos, 0, maxLeft);
  if (topRow == FTopRow && leftPos == FLeftPos) return;
  FTopRow = topRow;
  FLeftPos = leftPos;
  if (HandleAllocated() && !FUpdatingBars) {
    win::SetScrollPos(Handle(), win::SB_VERT, FTopRow, true);
    win::SetScrollPos(Handle(), win::SB_HORZ, FLeftPos, true);
  }
  Invalidate();
  TopLeftChanged();
}

void TDBGrid::MakeRowVisible(int row) {
  if (row < 0) return;
  int vis = std::max(1, VisibleRowCount());
  int top = FTopRow;
  if (row < top) top = row;
  if (row >= top + vis) top = row - vis + 1;
  ScrollTo(top, FLeftPos);
}

void TDBGrid::MakeColVisible(int col) {
  if (col < 0 || col >= int(FShown.size())) return;
  int room = std::max(0, ClientWidth() - IndicatorWidth - 1);
  int left = ColumnLeft(col), right = left + FShown[std::size_t(col)].Width + 1;
  int pos = FLeftPos;
  if (right > pos + room) pos = right - room;
  if (left < pos) pos = left;
  ScrollTo(FTopRow, pos);
}

void TDBGrid::ScrollMessage(int bar, win::WPARAM wParam) {
  bool vert = bar == win::SB_VERT;
  std::optional<int> pos = ScrollRequest(
      bar, wParam, vert ? FTopRow : FLeftPos, vert ? 1 : DefaultRowHeight(),
      vert ? std::max(1, VisibleRowCount()) : std::max(1, ClientWidth() - IndicatorWidth - 1),
      vert ? RowCount() : TotalColumnsWidth());
  if (!pos) return;
  if (vert)
    ScrollTo(*pos, FLeftPos);
  else
    ScrollTo(FTopRow, *pos);
}

void TDBGrid::WndProc(TMessage& m) {
  switch (m.Msg) {
    case win::WM_VSCROLL:
    case win::WM_HSCROLL:
      ScrollMessage(m.Msg == win::WM_VSCROLL ? win::SB_VERT : win::SB_HORZ, m.WParam);
      m.Result = 0;
      return;
    case win::WM_SIZE:
      TCustomControl::WndProc(m);
      UpdateScrollBars();
      return;
    case win::WM_SETCURSOR:
      // The size cursor over a title's edge, and all the while one is dragged.
      if (win::LOWORD(std::uintptr_t(m.LParam)) == win::WORD(win::HTCLIENT)) {
        win::POINT p;
        win::GetCursorPos(&p);
        const TPoint at = ScreenToClient(p);
        if (FSizingCol >= 0 || SizingEdgeAt(at.X, at.Y) >= 0) {
          win::SetCursor(win::LoadCursorW(CursorResource(crHSplit)));
          m.Result = 1;
          return;
        }
      }
      break;
    case win::WM_CAPTURECHANGED:
      // The capture taken away ends a sizing where it stands.
      FSizingCol = -1;
      break;
    default:
      break;
  }
  TCustomControl::WndProc(m);
}

bool TDBGrid::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
  if (TCustomControl::DoMouseWheel(shift, wheelDelta, mousePos)) return true;
  if (!FDataLink.DataSet()) return false;
  FWheelRest += wheelDelta;
  int notches = FWheelRest / win::WHEEL_DELTA;
  FWheelRest -= notches * win::WHEEL_DELTA;
  ScrollTo(FTopRow - notches * kWheelLines, FLeftPos);
  return true;
}

// Moving the cursor.

void TDBGrid::MoveToRow(int row) {
  db::TDataSet* d = FDataLink.DataSet();
  if (!d || d->RecordCount() == 0) return;
  d->SetRecNo(row + 1);
}

bool TDBGrid::WantsKey(win::WORD key) const {
  return key == win::VK_UP || key == win::VK_DOWN || key == win::VK_LEFT || key == win::VK_RIGHT;
}

void TDBGrid::KeyDown(win::WORD& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  db::TDataSet* d = FDataLink.DataSet();
  if (!d || key == 0) return;
  int vis = std::max(1, VisibleRowCount());
  bool ctrl = (shift & ssCtrl) != 0;
  switch (key) {
    case win::VK_UP:
      d->MoveBy(-1);
      break;
    case win::VK_DOWN:
      d->MoveBy(1);
      break;
    case win::VK_PRIOR:
      // A page keeps the current row where it is on the screen.
      ScrollTo(FTopRow - vis, FLeftPos);
      d->MoveBy(-vis);
      break;
    case win::VK_NEXT:
      ScrollTo(FTopRow + vis, FLeftPos);
      d->MoveBy(vis);
      break;
    case win::VK_HOME:
      if (ctrl)
        d->First();
      else
        FCol = 0;
      break;
    case win::VK_END:
      if (ctrl)
        d->Last();
      else
        FCol = std::max(0, int(FShown.size()) - 1);
      break;
    case win::VK_LEFT:
      FCol = std::max(0, FCol - 1);
      break;
    case win::VK_RIGHT:
      FCol = std::clamp(FCol + 1, 0, std::max(0, int(FShown.size()) - 1));
      break;
    default:
      return;
  }
  MakeColVisible(FCol);
  Invalidate();
  key = 0;
}

void TDBGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  int rowH = DefaultRowHeight(), titleH = TitleHeight();
  if (button != TMouseButton::mbLeft) return;
  if (const int edge = SizingEdgeAt(x, y); edge >= 0) {
    FSizingCol = edge;
    FSizeStartX = x;
    FSizeStartWidth = FShown[std::size_t(edge)].Width;
    FTitleDown = -1;
    return;
  }
  FTitleDown = TitleColumnAt(x, y);
  if (y < titleH) return;
  int row = FTopRow + (y - titleH) / rowH;
  if (row >= RowCount()) return;  // below the last row
  // A click in the indicator column chooses the row and keeps the column.
  for (int i = 0; i < int(FShown.size()) && x > IndicatorWidth; ++i) {
    int left = ColumnClientLeft(i);
    if (x >= left && x < left + FShown[std::size_t(i)].Width + 1) {
      FCol = i;
      break;
    }
  }
  MoveToRow(row);
  MakeColVisible(FCol);
  Invalidate();
}

void TDBGrid::MouseMove(TShiftState shift, int x, int y) {
  if (FSizingCol >= 0 && FSizingCol < int(FShown.size()))
    SizeColumn(FSizingCol, std::max(MinColWidth(FSizingCol), FSizeStartWidth + x - FSizeStartX));
  TCustomControl::MouseMove(shift, x, y);
}

void TDBGrid::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseUp(button, shift, x, y);
  if (button != TMouseButton::mbLeft) return;
  if (FSizingCol >= 0) {
    MouseMove(shift, x, y);
    FSizingCol = -1;
    FTitleDown = -1;
    return;
  }
  const int down = std::exchange(FTitleDown, -1);
  if (down >= 0 && TitleColumnAt(x, y) == down) TitleClick(down);
}

// Painting.

void TDBGrid::DrawTitleCell(TCanvas& c, const TRect& r, const std::u16string& text) {
  HDC dc = c.Handle();
  if (FDrawingStyle == TGridDrawingStyle::gdsGradient && r.Height() > 0) {
    gfx::COLORREF a = ColorToRGB(FGradientStart), b = ColorToRGB(FGradientEnd);
    int span = std::max(1, r.Height() - 1);
    auto mix = [&](int ca, int cb, int y) { return std::uint8_t(ca + (cb - ca) * y / span); };
    for (int y = 0; y < r.Height(); ++y)
      gfx::FillRect(dc, {r.Left, r.Top + y, r.Right, r.Top + y + 1},
                    gfx::RGB(mix(gfx::GetRValue(a), gfx::GetRValue(b), y),
                             mix(gfx::GetGValue(a), gfx::GetGValue(b), y),
                             mix(gfx::GetBValue(a), gfx::GetBValue(b), y)));
  } else {
    gfx::FillRect(dc, r, ColorToRGB(clBtnFace));
  }
  if (text.empty()) return;
  c.Font = FTitleFont;
  c.BrushStyle = TBrushStyle::bsClear;
  gfx::SelectFont(dc, FTitleFont.Handle());
  TRect t{r.Left + 2, r.Top, r.Right - 2, r.Bottom};
  c.TextRect(t, FitText(dc, text, t.Width(), false),
             gfx::DT_SINGLELINE | gfx::DT_VCENTER | gfx::DT_NOPREFIX);
}

void TDBGrid::DrawIndicator(TCanvas& c, const TRect& r, bool current, bool editing) {
  DrawTitleCell(c, r, u"");
  if (!current) return;
  HDC dc = c.Handle();
  int cx = r.Left + r.Width() / 2, cy = r.Top + r.Height() / 2;
  if (editing) {
    TFont courier;
    courier.SetName(u"Courier");
    courier.SetHeight(FTitleFont.Height());
    c.Font = courier;
    c.BrushStyle = TBrushStyle::bsClear;
    TRect t = r;
    c.TextRect(t, u"I", gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX);
    return;
  }
  // A right-pointing arrow head.
  for (int i = 0; i < 4; ++i)
    gfx::FillRect(dc, {cx - 2 + i, cy - 3 + i, cx - 1 + i, cy + 4 - i}, ColorToRGB(clBlack));
}

void TDBGrid::DrawColumnCell(TCanvas& c, const TRect& rect, int, int row, const db::TField* field,
                             TGridDrawState state) {
  HDC dc = c.Handle();
  bool selected = (state & gdSelected) != 0;
  gfx::FillRect(dc, rect, ColorToRGB(selected ? clHighlight : Color()));
  db::TDataSet* d = FDataLink.DataSet();
  if (!field || !d) return;
  bool numeric = IsNumeric(field->DataType());
  c.Font = Font();
  if (selected) c.Font.SetColor(clHighlightText);
  c.BrushStyle = TBrushStyle::bsClear;
  gfx::SelectFont(dc, Font().Handle());
  TRect t{rect.Left + 2, rect.Top, rect.Right - 2, rect.Bottom};
  std::u16string text = FitText(dc, CellText(*field, d->ValueAt(*field, row)), t.Width(), numeric);
  c.TextRect(t, text,
             gfx::DT_SINGLELINE | gfx::DT_VCENTER | gfx::DT_NOPREFIX |
                 (numeric ? gfx::DT_RIGHT : gfx::DT_LEFT));
}

void TDBGrid::PaintTitles(TCanvas& c, const TRect& client) {
  HDC dc = c.Handle();
  const int titleH = TitleHeight(), dataLeft = IndicatorWidth + 1;
  const gfx::COLORREF fixedLine = ColorToRGB(FixedLineColor());
  DrawTitleCell(c, {0, 0, IndicatorWidth, titleH - 1}, u"");
  gfx::FillRect(dc, {0, titleH - 1, dataLeft, titleH}, fixedLine);
  gfx::FillRect(dc, {IndicatorWidth, 0, dataLeft, titleH}, fixedLine);
  int saved = gfx::SaveDC(dc);
  gfx::IntersectClipRect(dc, dataLeft, 0, client.Right, client.Bottom);
  for (int i = 0; i < int(FShown.size()); ++i) {
    const TShownColumn& col = FShown[std::size_t(i)];
    int left = ColumnClientLeft(i), right = left + col.Width;
    if (right < dataLeft || left >= client.Right) continue;
    DrawTitleCell(c, {left, 0, right, titleH - 1}, col.Caption);
    gfx::FillRect(dc, {left, titleH - 1, right + 1, titleH}, fixedLine);
    gfx::FillRect(dc, {right, 0, right + 1, titleH}, fixedLine);
  }
  gfx::RestoreDC(dc, saved);
}

void TDBGrid::Paint() {
  TCanvas& c = Canvas();
  HDC dc = c.Handle();
  TRect client = ClientRect();
  gfx::FillRect(dc, client, ColorToRGB(Color()));
  int rowH = DefaultRowHeight(), titleH = TitleHeight();
  int dataLeft = IndicatorWidth + 1;
  db::TDataSet* d = FDataLink.DataSet();
  int rows = RowCount(), current = Row();
  bool focused = Focused();
  gfx::COLORREF line = ColorToRGB(GridLineColor()), fixedLine = ColorToRGB(FixedLineColor());

  PaintTitles(c, client);
  // The indicator column: one cell per row shown.
  for (int r = FTopRow, y = titleH; r < rows && y < client.Bottom; ++r, y += rowH) {
    DrawIndicator(c, {0, y, IndicatorWidth, y + rowH - 1}, r == current,
                  d && d->State() == db::TDataSetState::dsEdit && r == current);
    gfx::FillRect(dc, {0, y + rowH - 1, IndicatorWidth, y + rowH}, fixedLine);
  }
  int rowsBottom = std::min<long long>(client.Bottom, titleH + (long long)(rows - FTopRow) * rowH);
  gfx::FillRect(dc, {IndicatorWidth, titleH, dataLeft, rowsBottom}, fixedLine);

  // The data columns, clipped to their area so that scrolled cells pass under the indicator.
  int saved = gfx::SaveDC(dc);
  gfx::IntersectClipRect(dc, dataLeft, titleH, client.Right, client.Bottom);
  for (int i = 0; i < int(FShown.size()); ++i) {
    const TShownColumn& col = FShown[std::size_t(i)];
    int left = ColumnClientLeft(i), right = left + col.Width;
    if (right < dataLeft || left >= client.Right) continue;
    const db::TField* field = d ? d->FindField(col.FieldName) : nullptr;
    for (int r = FTopRow, y = titleH; r < rows && y < client.Bottom; ++r, y += rowH) {
      TGridDrawState state = (focused ? TGridDrawState(gdFocused) : 0u) |
                             (r == current ? TGridDrawState(gdCurrentRow) : 0u);
      if (focused && r == current && i == FCol) state |= gdSelected;
      // A column of no width has no cell, only its line.
      if (right > left) DrawColumnCell(c, {left, y, right, y + rowH - 1}, i, r, field, state);
      gfx::FillRect(dc, {left, y + rowH - 1, right + 1, y + rowH}, line);
      gfx::FillRect(dc, {right, y, right + 1, y + rowH}, line);
    }
  }
  gfx::RestoreDC(dc, saved);
}

}  // namespace fw
