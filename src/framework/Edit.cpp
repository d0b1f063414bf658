#include "framework/Edit.h"

#include <algorithm>

#include "framework/Canvas.h"
#include "platform/win/ControlCodes.h"
#include "platform/win/Input.h"
#include "platform/win/Keys.h"
#include "platform/win/NonClient.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "platform/win/Timers.h"
#include "platform/win/Window.h"
#include "platform/win/WindowProc.h"

namespace fw {

using namespace win;

namespace {

constexpr UINT_PTR kCaretTimer = 1;
constexpr UINT kCaretBlink = 530;  // ms, the platform's default blink time
constexpr UINT_PTR kDragTimer = 2;
constexpr UINT kDragRepeat = 100;
// Room between the frame and the text.
constexpr int kMarginX = 2;
constexpr int kMarginY = 1;

int FloorDiv(int a, int b) {
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

}  // namespace

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
  SetCursor(crIBeam);
  SetBounds(0, 0, 121, 21);
  FCore.OnChange = [this] { CoreChanged(); };
  FCore.OnSelectionChange = [this] { SelectionChanged(); };
  FRows.push_back({0, 0});
}

TCustomEdit::~TCustomEdit() {
  FCore.OnChange = nullptr;
  FCore.OnSelectionChange = nullptr;
}

void TCustomEdit::SetReadOnly(bool value) {
  FCore.ReadOnly = value;
}

void TCustomEdit::SetHideSelection(bool value) {
  if (value == FHideSelection) return;
  FHideSelection = value;
  Invalidate();
}

void TCustomEdit::SetBorderStyle(TBorderStyle value) {
  if (value == FBorderStyle) return;
  FBorderStyle = value;
  FrameChanged();
}

void TCustomEdit::SetCtl3D(bool value) {
  if (value == FCtl3D) return;
  FCtl3D = value;
  FrameChanged();
}

void TCustomEdit::SetBevelKind(TBevelKind value) {
  if (value == FBevelKind) return;
  FBevelKind = value;
  FrameChanged();
}

void TCustomEdit::SetBevelInner(TBevelCut value) {
  if (value == FBevelInner) return;
  FBevelInner = value;
  FrameChanged();
}

void TCustomEdit::SetBevelOuter(TBevelCut value) {
  if (value == FBevelOuter) return;
  FBevelOuter = value;
  FrameChanged();
}

int TCustomEdit::BevelCount() const {
  if (FBevelKind == TBevelKind::bkNone) return 0;
  return (FBevelInner != TBevelCut::bvNone) + (FBevelOuter != TBevelCut::bvNone);
}

int TCustomEdit::EditBorderWidth() const {
  return (FBorderStyle == TBorderStyle::bsNone ? 0 : int(FCtl3D) + 1) + BevelCount();
}

void TCustomEdit::FrameChanged() {
  if (HandleAllocated()) {
    TCreateParams p;
    CreateParams(p);
    constexpr DWORD kStyles = WS_BORDER | WS_VSCROLL | WS_HSCROLL;
    HWND h = Handle();
    auto style = DWORD(GetWindowLongPtrW(h, GWL_STYLE));
    auto ex = DWORD(GetWindowLongPtrW(h, GWL_EXSTYLE));
    SetWindowLongPtrW(h, GWL_STYLE, LONG_PTR((style & ~kStyles) | (p.Style & kStyles)));
    SetWindowLongPtrW(h, GWL_EXSTYLE,
                      LONG_PTR((ex & ~WS_EX_CLIENTEDGE) | (p.ExStyle & WS_EX_CLIENTEDGE)));
    SetWindowPos(h, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  Relayout();
}

void TCustomEdit::SetSelText(const std::u16string& text) {
  bool readOnly = FCore.ReadOnly;
  FCore.ReadOnly = false;
  FCore.ReplaceSelection(text);
  FCore.ReadOnly = readOnly;
}

void TCustomEdit::ClearSelection() {
  if (!FCore.ReadOnly) FCore.ReplaceSelection(u"");
}

void TCustomEdit::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  if (FBorderStyle == TBorderStyle::bsSingle) {
    if (FCtl3D)
      p.ExStyle |= WS_EX_CLIENTEDGE;
    else
      p.Style |= WS_BORDER;
  }
  // A memo's window says it holds several lines, as a multi-line edit's does.
  if (FCore.MultiLine) p.Style |= ES_MULTILINE;
  p.Caption = FCore.Text();
}

void TCustomEdit::CreateWnd() {
  TWinControl::CreateWnd();
  Relayout();
}

void TCustomEdit::SetTextBuf(const std::u16string& text) {
  FCore.SetText(text);
}

void TCustomEdit::CoreChanged() {
  Relayout();
  // The window keeps the text too (hooks read it as the window text).
  if (HandleAllocated())
    DefWindowProcW(Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(FCore.Text().c_str()));
  Change();
}

void TCustomEdit::Change() {
  Perform(CM_CHANGED, 0, 0);
  if (OnChange) OnChange(this);
}

void TCustomEdit::SelectionChanged() {
  if (!FKeepColumn) FDesiredX = -1;
  ScrollCaretIntoView();
  RestartCaret();
  Invalidate();
}

// Layout.

int TCustomEdit::LineHeight() const {
  return std::max(1, Font().Handle()->Metrics().tmHeight);
}

TRect TCustomEdit::TextRect() const {
  TRect c = ClientRect();
  return {c.Left + kMarginX, c.Top + kMarginY, std::max(c.Left + kMarginX, c.Right - kMarginX),
          c.Bottom};
}

std::vector<int> TCustomEdit::Advances(int start, int end) const {
  std::u16string shown = DisplayText();
  start = std::clamp(start, 0, int(shown.size()));
  end = std::clamp(end, start, int(shown.size()));
  if (start == end) return {};
  auto shaped = Font().Handle()->Shape(std::u16string_view(shown).substr(start, end - start));
  shaped.advances.resize(std::size_t(end - start), 0);
  return shaped.advances;
}

int TCustomEdit::TextWidth(int start, int end) const {
  int w = 0;
  for (int a : Advances(start, end)) w += a;
  return w;
}

void TCustomEdit::BuildLines(std::vector<TVisualLine>& rows) const {
  rows.push_back({0, int(FCore.Text().size())});
}

void TCustomEdit::Relayout() {
  FRows.clear();
  BuildLines(FRows);
  if (FRows.empty()) FRows.push_back({0, 0});
  ScrollCaretIntoView();
  UpdateScrollBars();
  Invalidate();
}

int TCustomEdit::VisibleLineCount() const {
  return std::max(1, TextRect().Height() / LineHeight());
}

int TCustomEdit::LineOfPos(int pos) const {
  // The last row starting at or before pos: a position where a wrapped row ends belongs to
  // the next row, the end of a line before its break to its own.
  auto it = std::upper_bound(FRows.begin(), FRows.end(), pos,
                             [](int p, const TVisualLine& row) { return p < row.start; });
  return std::max(0, int(it - FRows.begin()) - 1);
}

int TCustomEdit::MaxLineWidth() const {
  int widest = 0;
  for (const TVisualLine& row : FRows) widest = std::max(widest, TextWidth(row.start, row.end));
  return widest;
}

TPoint TCustomEdit::PosToPoint(int pos) const {
  int row = LineOfPos(pos);
  TRect r = TextRect();
  return {r.Left - FScrollX + TextWidth(FRows[row].start, pos),
          r.Top + (row - FTopLine) * LineHeight()};
}

int TCustomEdit::PosInRow(int row, int x) const {
  const TVisualLine& line = FRows[std::size_t(row)];
  std::vector<int> adv = Advances(line.start, line.end);
  int acc = 0;
  for (int k = 0; k < int(adv.size()); ++k) {
    if (adv[k] == 0) continue;
    if (2 * x < 2 * acc + adv[k]) return line.start + k;
    acc += adv[k];
  }
  return RowEnd(row);
}

int TCustomEdit::RowEnd(int row) const {
  // The end of a wrapped row is where the next one starts and shows there; stop before it.
  const TVisualLine& line = FRows[std::size_t(row)];
  bool wrapped = row + 1 < int(FRows.size()) && FRows[std::size_t(row) + 1].start == line.end;
  return wrapped ? std::max(line.start, FCore.PrevPos(line.end)) : line.end;
}

int TCustomEdit::PointToPos(TPoint p) const {
  TRect r = TextRect();
  int row = std::clamp(FTopLine + FloorDiv(p.Y - r.Top, LineHeight()), 0, int(FRows.size()) - 1);
  return PosInRow(row, p.X - (r.Left - FScrollX));
}

void TCustomEdit::SetTopLine(int line) {
  line = std::clamp(line, 0, std::max(0, int(FRows.size()) - VisibleLineCount()));
  if (line == FTopLine) return;
  FTopLine = line;
  UpdateScrollBars();
  Invalidate();
}

void TCustomEdit::SetScrollX(int x) {
  // Measuring every line is not free: only a positive offset needs the widest one.
  x = x <= 0 ? 0 : std::min(x, std::max(0, MaxLineWidth() + 1 - TextRect().Width()));
  if (x == FScrollX) return;
  FScrollX = x;
  UpdateScrollBars();
  Invalidate();
}

void TCustomEdit::ScrollCaretIntoView() {
  int caret = FCore.Caret();
  int row = LineOfPos(caret);
  int vis = VisibleLineCount();
  int top = FTopLine;
  if (row < top)
    top = row;
  else if (row >= top + vis)
    top = row - vis + 1;
  SetTopLine(top);
  if (!ScrollsHorizontally()) {
    SetScrollX(0);
    return;
  }
  int x = TextWidth(FRows[row].start, caret);
  int w = TextRect().Width();
  int sx = FScrollX;
  if (x < sx)
    sx = x;
  else if (x >= sx + w)
    sx = x - w + 1;
  SetScrollX(sx);
}

// The caret.

bool TCustomEdit::CaretShowing() const {
  return FCaretOn && Focused();
}

void TCustomEdit::InvalidateCaret() {
  if (!HandleAllocated()) return;
  TPoint p = PosToPoint(FCore.Caret());
  RECT r{p.X, p.Y, p.X + 1, p.Y + LineHeight()};
  InvalidateRect(Handle(), &r, true);
}

void TCustomEdit::RestartCaret() {
  if (!Focused()) return;
  FCaretOn = true;
  SetTimer(Handle(), kCaretTimer, kCaretBlink, nullptr);
}

// Painting.

void TCustomEdit::PaintWindow(HDC dc) {
  TCanvas canvas;
  TCanvasPaintScope scope(canvas, dc, Font(), Color());
  canvas.BrushStyle = TBrushStyle::bsClear;
  TRect r = TextRect();
  int saved = gfx::SaveDC(dc);
  gfx::IntersectClipRect(dc, r.Left, 0, r.Right, ClientHeight());
  std::u16string shown = DisplayText();
  int lh = LineHeight();
  bool showSel = FCore.SelLength() > 0 && (Focused() || !FHideSelection);
  TColor textColor = Enabled() ? Font().Color() : clGrayText;
  for (int i = FTopLine; i < int(FRows.size()); ++i) {
    int y = r.Top + (i - FTopLine) * lh;
    if (y >= ClientHeight()) break;
    const TVisualLine& row = FRows[std::size_t(i)];
    int x0 = r.Left - FScrollX;
    canvas.Font.SetColor(textColor);
    canvas.TextOut(x0, y, std::u16string_view(shown).substr(row.start, row.end - row.start));
    int s = std::max(FCore.SelStart(), row.start), e = std::min(FCore.SelEnd(), row.end);
    if (showSel && s < e) {
      int xs = x0 + TextWidth(row.start, s);
      int xe = xs + TextWidth(s, e);
      gfx::FillRect(dc, {xs, y, xe, y + lh}, ColorToRGB(clHighlight));
      canvas.Font.SetColor(clHighlightText);
      canvas.TextOut(xs, y, std::u16string_view(shown).substr(s, e - s));
    }
  }
  if (CaretShowing()) {
    TPoint p = PosToPoint(FCore.Caret());
    gfx::FillRect(dc, {p.X, p.Y, p.X + 1, p.Y + lh}, ColorToRGB(Font().Color()));
  }
  gfx::RestoreDC(dc, saved);
}

void TCustomEdit::PaintBevels(HDC into) {
  int count = BevelCount();
  if (!count || !HandleAllocated()) return;
  HWND h = Handle();
  RECT wr;
  GetWindowRect(h, &wr);
  FrameLayout f = GetFrameLayout(h);
  int inset = f.border + f.edge;
  TRect r{inset, inset, wr.Width() - inset, wr.Height() - inset};
  TColor light = FBevelKind == TBevelKind::bkFlat   ? clBtnShadow
                 : FBevelKind == TBevelKind::bkSoft ? cl3DLight
                                                    : clBtnHighlight;
  TColor dark = clBtnShadow;
  HDC dc = into ? into : GetWindowDC(h);
  if (!dc) return;
  auto ring = [&](TBevelCut cut) {
    if (cut == TBevelCut::bvNone || r.IsEmpty()) return;
    bool raised = cut != TBevelCut::bvLowered;
    auto tl = ColorToRGB(raised ? light : dark), br = ColorToRGB(raised ? dark : light);
    if (cut == TBevelCut::bvSpace) tl = br = ColorToRGB(Color());
    gfx::FillRect(dc, {r.Left, r.Top, r.Right, r.Top + 1}, tl);
    gfx::FillRect(dc, {r.Left, r.Top, r.Left + 1, r.Bottom}, tl);
    gfx::FillRect(dc, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, br);
    gfx::FillRect(dc, {r.Right - 1, r.Top, r.Right, r.Bottom}, br);
    r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
  };
  ring(FBevelOuter);
  ring(FBevelInner);
  if (!into) ReleaseDC(h, dc);
}

// Input.

void TCustomEdit::MoveTo(int pos, TShiftState shift) {
  FCore.MoveCaret(pos, (shift & ssShift) != 0);
}

void TCustomEdit::MoveVertically(int lines, TShiftState shift) {
  int caret = FCore.Caret();
  int row = LineOfPos(caret);
  int x = FDesiredX >= 0 ? FDesiredX : TextWidth(FRows[row].start, caret);
  int target = std::clamp(row + lines, 0, int(FRows.size()) - 1);
  int pos = target == row ? caret : PosInRow(target, x);
  if (target == row && lines != 0) pos = lines < 0 ? FRows[row].start : RowEnd(row);
  FKeepColumn = true;
  MoveTo(pos, shift);
  FKeepColumn = false;
  FDesiredX = x;
}

void TCustomEdit::KeyDown(WORD& key, TShiftState shift) {
  TWinControl::KeyDown(key, shift);
  bool ctrl = shift & ssCtrl, ext = shift & ssShift;
  int caret = FCore.Caret();
  int row = LineOfPos(caret);
  bool multi = FCore.MultiLine;
  switch (key) {
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN: {
      // Up and Down move by lines in a memo and like Left and Right in a one-line edit.
      bool back = key == VK_LEFT || key == VK_UP;
      if ((key == VK_UP || key == VK_DOWN) && multi)
        MoveVertically(back ? -1 : 1, shift);
      else if (!ext && !ctrl && FCore.SelLength() > 0)
        MoveTo(back ? FCore.SelStart() : FCore.SelEnd(), 0);
      else if (ctrl)
        MoveTo(back ? FCore.WordLeft(caret) : FCore.WordRight(caret), shift);
      else
        MoveTo(back ? FCore.PrevPos(caret) : FCore.NextPos(caret), shift);
      break;
    }
    case VK_HOME:
      MoveTo(ctrl ? 0 : FRows[row].start, shift);
      break;
    case VK_END:
      MoveTo(ctrl ? int(FCore.Text().size()) : RowEnd(row), shift);
      break;
    case VK_PRIOR:
    case VK_NEXT:
      if (multi) {
        int page = VisibleLineCount() * (key == VK_PRIOR ? -1 : 1);
        SetTopLine(FTopLine + page);
        MoveVertically(page, shift);
      }
      break;
    case VK_DELETE:
      if (ext && !ctrl)
        FCore.CutToClipboard();
      else
        FCore.DeleteForward(ctrl);
      break;
    case VK_INSERT:
      if (ctrl && !ext)
        FCore.CopyToClipboard();
      else if (ext && !ctrl)
        FCore.PasteFromClipboard();
      break;
    default:
      break;
  }
}

void TCustomEdit::KeyPress(char16_t& key) {
  TWinControl::KeyPress(key);
  switch (key) {
    case 0:
      return;
    case 0x01:  // Ctrl+A
      FCore.SelectAll();
      return;
    case 0x03:  // Ctrl+C
      FCore.CopyToClipboard();
      return;
    case 0x16:  // Ctrl+V
      FCore.PasteFromClipboard();
      return;
    case 0x18:  // Ctrl+X
      FCore.CutToClipboard();
      return;
    case 0x1A:  // Ctrl+Z
      FCore.Undo();
      return;
    case 0x08:  // Backspace
      FCore.DeleteBackward(false);
      return;
    case 0x7F:  // Ctrl+Backspace
      FCore.DeleteBackward(true);
      return;
    case u'\r':
      if (FCore.MultiLine) FCore.ReplaceSelection(u"\r\n");
      return;
    case u'\t':
      if (FCore.MultiLine) FCore.ReplaceSelection(u"\t");
      return;
    default:
      if (key >= 0x20) FCore.ReplaceSelection(std::u16string(1, key));
      return;
  }
}

void TCustomEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TWinControl::MouseDown(button, shift, x, y);
  if (button != TMouseButton::mbLeft) return;
  int pos = PointToPos({x, y});
  FSelecting = true;
  FWordSelect = (shift & ssDouble) != 0;
  if (FWordSelect) {
    auto [start, end] = FCore.WordAt(pos);
    FWordStart = start;
    FWordEnd = end;
    FCore.SetSelection(start, end);
    return;
  }
  MoveTo(pos, shift);
}

void TCustomEdit::MouseMove(TShiftState shift, int x, int y) {
  TWinControl::MouseMove(shift, x, y);
  if (!FSelecting || !(shift & ssLeft)) return;
  SelectTo({x, y});
  // Held outside the text, the selection keeps growing as the view scrolls towards the mouse.
  if (TextRect().Contains({x, y}))
    KillTimer(Handle(), kDragTimer);
  else
    SetTimer(Handle(), kDragTimer, kDragRepeat, nullptr);
}

void TCustomEdit::SelectTo(TPoint p) {
  int pos = PointToPos(p);
  if (!FWordSelect) {
    FCore.MoveCaret(pos, true);
    return;
  }
  // After a double-click the selection grows by whole words.
  auto [start, end] = FCore.WordAt(pos);
  if (pos < FWordStart)
    FCore.SetSelection(FWordEnd, start);
  else
    FCore.SetSelection(FWordStart, std::max(end, FWordEnd));
}

void TCustomEdit::StopSelecting() {
  FSelecting = false;
  if (HandleAllocated()) KillTimer(Handle(), kDragTimer);
}

void TCustomEdit::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::mbLeft) StopSelecting();
  TWinControl::MouseUp(button, shift, x, y);
}

void TCustomEdit::FontChanged() {
  TWinControl::FontChanged();
  Relayout();
}

void TCustomEdit::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_NCCALCSIZE: {
      DefaultHandler(m);
      int b = BevelCount();
      if (b) {
        RECT* r = m.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam)->rgrc[0]
                           : reinterpret_cast<RECT*>(m.LParam);
        *r = {r->Left + b, r->Top + b, std::max(r->Left + b, r->Right - b),
              std::max(r->Top + b, r->Bottom - b)};
      }
      return;
    }
    case WM_NCPAINT:
      DefaultHandler(m);
      PaintBevels();
      return;
    case WM_PRINT:
      DefaultHandler(m);
      if (m.LParam & PRF_NONCLIENT) PaintBevels(reinterpret_cast<HDC>(m.WParam));
      return;
    case WM_SIZE:
      TWinControl::WndProc(m);
      Relayout();
      return;
    case WM_TIMER:
      if (m.WParam == kCaretTimer) {
        FCaretOn = !FCaretOn;
        InvalidateCaret();
        return;
      }
      if (m.WParam == kDragTimer) {
        POINT cursor;
        if (FSelecting && GetCursorPos(&cursor))
          SelectTo(ScreenToClient(cursor));
        else
          StopSelecting();
        return;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      FMouseFocusing = true;
      try {
        TWinControl::WndProc(m);
      } catch (...) {
        FMouseFocusing = false;
        throw;
      }
      FMouseFocusing = false;
      return;
    case WM_SETFOCUS:
      TWinControl::WndProc(m);
      if (FAutoSelect && !FMouseFocusing && !FCore.MultiLine) FCore.SelectAll();
      RestartCaret();
      Invalidate();
      return;
    case WM_KILLFOCUS:
      if (HandleAllocated()) KillTimer(Handle(), kCaretTimer);
      FCaretOn = false;
      StopSelecting();
      Invalidate();
      break;
    case WM_SETTEXT:
      DefaultHandler(m);
      FCore.SetText(m.LParam ? reinterpret_cast<const char16_t*>(m.LParam) : u"");
      m.Result = 1;
      return;
    case WM_CUT:
      FCore.CutToClipboard();
      return;
    case WM_COPY:
      FCore.CopyToClipboard();
      return;
    case WM_PASTE:
      FCore.PasteFromClipboard();
      return;
    case WM_CLEAR:
      ClearSelection();
      return;
    case WM_UNDO:
    case EM_UNDO:
      m.Result = FCore.Undo();
      return;
    case EM_CANUNDO:
      m.Result = FCore.CanUndo();
      return;
    case EM_GETSEL:
      if (m.WParam) *reinterpret_cast<int*>(m.WParam) = FCore.SelStart();
      if (m.LParam) *reinterpret_cast<int*>(m.LParam) = FCore.SelEnd();
      m.Result = MAKELPARAM(FCore.SelStart(), FCore.SelEnd());
      return;
    case EM_SETSEL: {
      // A start of -1 only drops the selection; an end of -1 is the end of the text.
      int start = int(m.WParam), end = int(m.LParam);
      if (start == -1)
        FCore.SetSelection(FCore.Caret(), FCore.Caret());
      else
        FCore.SetSelection(start, end < 0 ? int(FCore.Text().size()) : end);
      return;
    }
    case EM_REPLACESEL:
      SetSelText(m.LParam ? reinterpret_cast<const char16_t*>(m.LParam) : u"");
      return;
    case EM_SCROLLCARET:
      ScrollCaretIntoView();
      return;
    case EM_LINESCROLL:
      SetTopLine(FTopLine + int(m.LParam));
      m.Result = 1;
      return;
    case EM_GETLINECOUNT:
      m.Result = LRESULT(FRows.size());
      return;
    case EM_GETFIRSTVISIBLELINE:
      m.Result = FTopLine;
      return;
    case EM_LIMITTEXT:
      SetMaxLength(int(m.WParam));
      return;
    case EM_SETREADONLY:
      SetReadOnly(m.WParam != 0);
      m.Result = 1;
      return;
    default:
      break;
  }
  TWinControl::WndProc(m);
}

// TEdit.

TEdit::TEdit(TComponent* owner) : TCustomEdit(owner) {}

void TEdit::SetPasswordChar(char16_t c) {
  if (c == FPasswordChar) return;
  FPasswordChar = c;
  Core().Concealed = c != 0;
  Relayout();
}

void TEdit::SetTextHint(const std::u16string& hint) {
  if (hint == FTextHint) return;
  FTextHint = hint;
  Invalidate();
}

std::u16string TEdit::DisplayText() const {
  if (!FPasswordChar) return Editor().Text();
  return std::u16string(Editor().Text().size(), FPasswordChar);
}

void TEdit::PaintWindow(HDC dc) {
  if (Editor().Text().empty() && !FTextHint.empty()) {
    TCanvas canvas;
    TCanvasPaintScope scope(canvas, dc, Font(), Color());
    canvas.BrushStyle = TBrushStyle::bsClear;
    canvas.Font.SetColor(clGrayText);
    TRect r = TextRect();
    canvas.TextRect(r, FTextHint, gfx::DT_SINGLELINE | gfx::DT_NOPREFIX);
  }
  TCustomEdit::PaintWindow(dc);
}

}  // namespace fw
