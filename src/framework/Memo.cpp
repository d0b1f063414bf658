#include "framework/Memo.h"

#include <algorithm>

#include "platform/win/Keys.h"
#include "platform/win/ScrollInfo.h"
#include "platform/win/Styles.h"

namespace fw {

using namespace win;

namespace {

constexpr int kWheelLines = 3;  // lines a wheel notch scrolls, as the platform's default

bool IsSpace(char16_t c) {
  return c == u' ' || c == u'\t';
}

std::u16string JoinLines(const std::vector<std::u16string>& lines) {
  std::u16string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i) text += u"\r\n";
    text += lines[i];
  }
  return text;
}

// The text's lines; an empty last line (after a final break) is not counted.
std::vector<std::u16string> SplitLines(const std::u16string& text) {
  std::vector<std::u16string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t brk = text.find(u"\r\n", start);
    if (brk == std::u16string::npos) brk = text.size();
    lines.push_back(text.substr(start, brk - start));
    start = brk + 2;
  }
  return lines;
}

}  // namespace

TMemo::TMemo(TComponent* owner) : TCustomEdit(owner) {
  Core().MultiLine = true;
  SetAutoSelect(false);
  SetBounds(Left(), Top(), 185, 89);
  FLinesList.OnChange = [this] {
    if (FSyncing) return;
    FSyncing = true;
    try {
      SetText(JoinLines(FLinesList.Lines()));
    } catch (...) {
      FSyncing = false;
      throw;
    }
    FSyncing = false;
  };
}

void TMemo::SetWordWrap(bool value) {
  if (value == FWordWrap) return;
  FWordWrap = value;
  Relayout();
}

void TMemo::SetScrollBars(TScrollStyle value) {
  if (value == FScrollBars) return;
  FScrollBars = value;
  FrameChanged();
}

void TMemo::CreateParams(TCreateParams& p) {
  TCustomEdit::CreateParams(p);
  if (FScrollBars == TScrollStyle::ssVertical || FScrollBars == TScrollStyle::ssBoth)
    p.Style |= WS_VSCROLL;
  if (FScrollBars == TScrollStyle::ssHorizontal || FScrollBars == TScrollStyle::ssBoth)
    p.Style |= WS_HSCROLL;
}

void TMemo::Change() {
  if (!FSyncing) {
    FSyncing = true;
    FLinesList.Assign(SplitLines(Text()));
    FSyncing = false;
  }
  TCustomEdit::Change();
}

bool TMemo::WantsKey(WORD key) const {
  return (key == VK_RETURN && FWantReturns) || (key == VK_TAB && FWantTabs);
}

void TMemo::KeyPress(char16_t& key) {
  if ((key == u'\r' && !FWantReturns) || (key == u'\t' && !FWantTabs)) return;
  TCustomEdit::KeyPress(key);
}

void TMemo::BuildLines(std::vector<TVisualLine>& rows) const {
  const std::u16string& text = Editor().Text();
  int n = int(text.size());
  int width = TextRect().Width();
  int start = 0;
  for (;;) {
    int end = Editor().LineEnd(start);
    if (FWordWrap && width > 0)
      WrapLine(start, end, width, rows);
    else
      rows.push_back({start, end});
    if (end >= n) break;
    start = Editor().NextPos(end);
  }
}

void TMemo::WrapLine(int start, int end, int width, std::vector<TVisualLine>& rows) const {
  const std::u16string& text = Editor().Text();
  std::vector<int> adv = Advances(start, end);
  int pos = start;
  for (;;) {
    int w = 0, k = pos;
    while (k < end && w + adv[std::size_t(k - start)] <= width) w += adv[std::size_t(k++ - start)];
    if (k >= end) break;
    // Spaces may hang past the edge; otherwise break after the last space that fits, or
    // inside a word too long for a line.
    int brk = k;
    while (brk < end && IsSpace(text[std::size_t(brk)])) ++brk;
    if (brk == k) {
      int j = k;
      while (j > pos && !IsSpace(text[std::size_t(j - 1)])) --j;
      brk = j > pos ? j : std::max(k, Editor().NextPos(pos));
    }
    if (brk >= end) break;
    rows.push_back({pos, brk});
    pos = brk;
  }
  rows.push_back({pos, end});
}

void TMemo::UpdateScrollBars() {
  if (!HandleAllocated()) return;
  HWND h = Handle();
  SCROLLINFO si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
  if (FScrollBars == TScrollStyle::ssVertical || FScrollBars == TScrollStyle::ssBoth) {
    si.nMin = 0;
    si.nMax = VisualLineCount() - 1;
    si.nPage = UINT(VisibleLineCount());
    si.nPos = FTopLine;
    SetScrollInfo(h, SB_VERT, si, true);
  }
  if (FScrollBars == TScrollStyle::ssHorizontal || FScrollBars == TScrollStyle::ssBoth) {
    si.nMin = 0;
    si.nMax = ScrollsHorizontally() ? MaxLineWidth() : 0;
    si.nPage = UINT(TextRect().Width());
    si.nPos = FScrollX;
    SetScrollInfo(h, SB_HORZ, si, true);
  }
}

void TMemo::Scroll(bool vertical, WPARAM wParam) {
  int bar = vertical ? SB_VERT : SB_HORZ;
  SCROLLINFO si;
  si.fMask = SIF_RANGE;
  GetScrollInfo(Handle(), bar, &si);
  std::optional<int> pos =
      ScrollRequest(bar, wParam, vertical ? FTopLine : FScrollX,
                    vertical ? 1 : std::max(1, Font().Handle()->Metrics().tmAveCharWidth),
                    vertical ? VisibleLineCount() : std::max(1, TextRect().Width()), si.nMax);
  if (!pos) return;
  if (vertical)
    SetTopLine(*pos);
  else
    SetScrollX(*pos);
}

void TMemo::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_VSCROLL:
    case WM_HSCROLL:
      if (HandleAllocated()) Scroll(m.Msg == WM_VSCROLL, m.WParam);
      m.Result = 0;
      return;
    default:
      break;
  }
  TCustomEdit::WndProc(m);
}

bool TMemo::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
  if (TCustomEdit::DoMouseWheel(shift, wheelDelta, mousePos)) return true;
  FWheelRest += wheelDelta;
  int notches = FWheelRest / WHEEL_DELTA;
  FWheelRest -= notches * WHEEL_DELTA;
  SetTopLine(FTopLine - notches * kWheelLines);
  return true;
}

}  // namespace fw
