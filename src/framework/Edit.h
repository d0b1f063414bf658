// TCustomEdit: the text controls' common window, built on the shared editing core
// (EditCore.h). It lays the text out in visual lines, scrolls so that the caret stays in
// view, draws the text, the selection and a blinking caret, and handles the keyboard, the
// mouse and the clipboard. TEdit is the one-line edit box; TMemo (Memo.h) the multi-line one.
//
// Hooks for skinned variants: every message passes through WindowProc; the frame (border
// and bevels) is the non-client area (WM_NCCALCSIZE / WM_NCPAINT, so a hook can paint it);
// WM_PAINT goes in stages (WM_ERASEBKGND in Color, then PaintWindow: text, selection, caret);
// scroll bars are the window's own (WM_HSCROLL / WM_VSCROLL with the window's scroll info);
// TextRect, DisplayText, CaretShowing and the colours tell a hook what the control would draw.
#pragma once

#include <string>
#include <vector>

#include "framework/EditCore.h"
#include "framework/Panel.h"
#include "framework/WinControl.h"

namespace fw {

// Edit control messages with the platform's numbers.
constexpr UINT EM_GETSEL = 0x00B0;       // wParam, lParam: int* start, end; returns both packed
constexpr UINT EM_SETSEL = 0x00B1;       // wParam: anchor (-1: none), lParam: caret (-1: end)
constexpr UINT EM_LINESCROLL = 0x00B6;   // lParam: lines to scroll down (negative: up)
constexpr UINT EM_SCROLLCARET = 0x00B7;  // brings the caret into view
constexpr UINT EM_GETLINECOUNT = 0x00BA;
constexpr UINT EM_REPLACESEL = 0x00C2;  // lParam: const char16_t*; the user's edit
constexpr UINT EM_LIMITTEXT = 0x00C5;   // wParam: MaxLength
constexpr UINT EM_CANUNDO = 0x00C6;
constexpr UINT EM_UNDO = 0x00C7;
constexpr UINT EM_GETFIRSTVISIBLELINE = 0x00CE;
constexpr UINT EM_SETREADONLY = 0x00CF;  // wParam: read-only

enum class TBorderStyle { bsNone, bsSingle };
enum class TBevelKind { bkNone, bkTile, bkSoft, bkFlat };
enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TCustomEdit : public TWinControl {
 public:
  explicit TCustomEdit(TComponent* owner);
  ~TCustomEdit() override;
  std::string ClassName() const override { return "TCustomEdit"; }

  bool ReadOnly() const { return FCore.ReadOnly; }
  void SetReadOnly(bool value);
  int MaxLength() const { return FCore.MaxLength; }
  void SetMaxLength(int value) { FCore.MaxLength = value < 0 ? 0 : value; }
  // Without focus the selection is hidden, unless HideSelection is off.
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool value);
  // A one-line edit selects all its text when the keyboard (not a click) brings the focus.
  bool AutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool value) { FAutoSelect = value; }

  // Frame: a border (sunken 3D edge with Ctl3D, else a line) and bevels inside it (drawn
  // when BevelKind is not bkNone).
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle value);
  bool Ctl3D() const { return FCtl3D; }
  void SetCtl3D(bool value);
  TBevelKind BevelKind() const { return FBevelKind; }
  void SetBevelKind(TBevelKind value);
  TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut value);
  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut value);
  // The frame's width on each side: the border (Ctl3D + 1) and one pixel per bevel.
  int EditBorderWidth() const;

  // Selection in UTF-16 units.
  int SelStart() const { return FCore.SelStart(); }
  void SetSelStart(int start) { FCore.SetSelection(start, start); }
  int SelLength() const { return FCore.SelLength(); }
  void SetSelLength(int length) { FCore.SetSelection(SelStart(), SelStart() + length); }
  std::u16string SelText() const { return FCore.SelText(); }
  // Replaces the selection as the program (ReadOnly does not apply).
  void SetSelText(const std::u16string& text);
  void SelectAll() { FCore.SelectAll(); }
  void ClearSelection();
  void CopyToClipboard() { FCore.CopyToClipboard(); }
  void CutToClipboard() { FCore.CutToClipboard(); }
  void PasteFromClipboard() { FCore.PasteFromClipboard(); }
  void Undo() { FCore.Undo(); }
  void Clear() { SetText(u""); }
  const TEditCore& Editor() const { return FCore; }

  // What the control draws, for hooks that draw it themselves: the text area in client
  // coordinates, the text as shown (password characters in place of the text), whether the
  // caret is on now, and the line height.
  TRect TextRect() const;
  virtual std::u16string DisplayText() const { return FCore.Text(); }
  bool CaretShowing() const;
  int LineHeight() const;
  // Layout: where an index's caret stands (top of its line, client coordinates) and the index
  // nearest a client point.
  TPoint PosToPoint(int pos) const;
  int PointToPos(TPoint p) const;
  // Visual lines (wrapped memo lines count one each) and the first one shown.
  int VisualLineCount() const { return int(FRows.size()); }
  int TopLine() const { return FTopLine; }
  int ScrollX() const { return FScrollX; }

  // Told after every change of the text: each typed or deleted character, each paste, and
  // the program's changes.
  TNotifyEvent OnChange;

 protected:
  struct TVisualLine {
    int start = 0;
    int end = 0;  // before the line break
  };

  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& m) override;
  void PaintWindow(HDC dc) override;
  void KeyDown(win::WORD& key, TShiftState shift) override;
  void KeyPress(char16_t& key) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void FontChanged() override;
  std::u16string GetText() const override { return FCore.Text(); }
  void SetTextBuf(const std::u16string& text) override;

  // Raises OnChange; CM_CHANGED tells hooks first.
  virtual void Change();
  // Splits the text into visual lines; the edit keeps one line.
  virtual void BuildLines(std::vector<TVisualLine>& lines) const;
  // Tells the window's scroll bars where the view is; the edit has none.
  virtual void UpdateScrollBars() {}
  // Whether the caret's line may scroll sideways (not for wrapped text).
  virtual bool ScrollsHorizontally() const { return true; }
  // Rebuilds the lines, keeps the caret in view and repaints.
  void Relayout();
  // Applies the border and scroll bar styles to the window and recalculates its frame.
  void FrameChanged();
  void ScrollCaretIntoView();
  // Scrolls the view to a first visual line / a horizontal offset (clamped).
  void SetTopLine(int line);
  void SetScrollX(int x);
  int VisibleLineCount() const;
  int LineOfPos(int pos) const;
  int MaxLineWidth() const;
  // Pixel advances of the shown text's units in [start, end).
  std::vector<int> Advances(int start, int end) const;
  TEditCore& Core() { return FCore; }

  std::vector<TVisualLine> FRows;
  int FTopLine = 0;
  int FScrollX = 0;

 private:
  void CoreChanged();
  void SelectionChanged();
  void RestartCaret();
  void InvalidateCaret();
  // Into dc at the window's corner; without dc into the window's own.
  void PaintBevels(HDC dc = nullptr);
  int BevelCount() const;
  void MoveTo(int pos, TShiftState shift);
  // Extends the mouse's selection to a client point.
  void SelectTo(TPoint p);
  void StopSelecting();
  void MoveVertically(int lines, TShiftState shift);
  int TextWidth(int start, int end) const;
  int PosInRow(int row, int x) const;  // x relative to the row's start
  int RowEnd(int row) const;           // the last caret position shown on a row
  bool FKeepColumn = false;

  TEditCore FCore;
  bool FHideSelection = true;
  bool FAutoSelect = true;
  TBorderStyle FBorderStyle = TBorderStyle::bsSingle;
  bool FCtl3D = true;
  TBevelKind FBevelKind = TBevelKind::bkNone;
  TBevelCut FBevelInner = TBevelCut::bvRaised;
  TBevelCut FBevelOuter = TBevelCut::bvLowered;
  bool FCaretOn = false;
  bool FSelecting = false;   // the left button is selecting
  bool FWordSelect = false;  // a double-click started it: extend by words
  int FWordStart = 0;        // the double-clicked word
  int FWordEnd = 0;
  int FDesiredX = -1;           // the column Up and Down keep, -1: the caret's own
  bool FMouseFocusing = false;  // the focus comes with a click: no AutoSelect
};

// TEdit: one line of text, with a password character and a cue text.
class TEdit : public TCustomEdit {
 public:
  explicit TEdit(TComponent* owner);
  std::string ClassName() const override { return "TEdit"; }

  // Shown in place of every character; 0: the text itself. A password cannot be copied.
  char16_t PasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(char16_t c);
  // Grey text shown while the edit is empty.
  const std::u16string& TextHint() const { return FTextHint; }
  void SetTextHint(const std::u16string& hint);

  std::u16string DisplayText() const override;

 protected:
  void PaintWindow(HDC dc) override;

 private:
  char16_t FPasswordChar = 0;
  std::u16string FTextHint;
};

}  // namespace fw
