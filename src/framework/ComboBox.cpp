#include "framework/ComboBox.h"

#include <algorithm>

#include "framework/Button.h"
#include "platform/win/Input.h"
#include "platform/win/Keys.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/ScrollInfo.h"
#include "platform/win/Styles.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Window.h"
#include "platform/win/WindowProc.h"

namespace fw {

using namespace win;

namespace {

// Upper case of the letters a keyboard types here (Latin, Latin-1, Cyrillic), for the
// letter search; other characters stay as they are.
char16_t UpperLetter(char16_t c) {
  if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 0x20;
  if (c >= 0x430 && c <= 0x44F) return c - 0x20;  // а..я
  if (c >= 0x450 && c <= 0x45F) return c - 0x50;  // ѐ..џ (ё among them)
  return c;
}

// A dotted one-pixel frame, as focus rectangles are drawn.
void DrawFocusFrame(TCanvas& c, const TRect& r) {
  if (r.IsEmpty()) return;
  for (int x = r.Left; x < r.Right; x += 2) {
    c.FillRect({x, r.Top, x + 1, r.Top + 1});
    c.FillRect({x, r.Bottom - 1, x + 1, r.Bottom});
  }
  for (int y = r.Top; y < r.Bottom; y += 2) {
    c.FillRect({r.Left, y, r.Left + 1, y + 1});
    c.FillRect({r.Right - 1, y, r.Right, y + 1});
  }
}

constexpr DWORD kListExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;

}  // namespace

// ---------------------------------------------------------------------------------------------
// TComboListWindow

TComboListWindow::TComboListWindow(TComboBox* combo) : TCustomControl(nullptr), FCombo(combo) {
  SetVisible(false);
  SetParentFont(false);
  // The list manages the capture itself: it keeps it from opening to closing.
  ControlStyle = csOpaque;
}

void TComboListWindow::CreateParams(TCreateParams& p) {
  TCustomControl::CreateParams(p);
  p.Style = WS_POPUP | WS_BORDER | WS_CLIPCHILDREN;
  p.ExStyle = kListExStyle;
  TCustomForm* form = GetParentForm(FCombo);
  p.WndParent = form && form->HandleAllocated() ? form->Handle() : nullptr;
}

int TComboListWindow::RowCount() const {
  return std::max(1, std::min(FCombo->Items().Count(), FCombo->DropDownCount()));
}

TRect TComboListWindow::ItemRect(int index) const {
  int h = FCombo->ItemHeight();
  int top = (index - FTopIndex) * h;
  return {0, top, ClientWidth(), top + h};
}

int TComboListWindow::ItemAtPos(TPoint p) const {
  TRect client = ClientRect();
  if (!client.Contains(p)) return -1;
  int index = FTopIndex + p.Y / FCombo->ItemHeight();
  return index < FCombo->Items().Count() ? index : -1;
}

void TComboListWindow::SetTopIndex(int index) {
  int count = FCombo->Items().Count();
  index = std::clamp(index, 0, std::max(0, count - RowCount()));
  if (index == FTopIndex) return;
  FTopIndex = index;
  if (HandleAllocated()) SetScrollPos(Handle(), SB_VERT, FTopIndex, true);
  Invalidate();
}

void TComboListWindow::SetHotIndex(int index) {
  if (index < -1 || index >= FCombo->Items().Count()) index = -1;
  if (index == FHotIndex) return;
  FHotIndex = index;
  if (index >= 0) {  // keep it in sight
    if (index < FTopIndex)
      SetTopIndex(index);
    else if (index >= FTopIndex + RowCount())
      SetTopIndex(index - RowCount() + 1);
  }
  Invalidate();
}

void TComboListWindow::UpdateScrollBar() {
  SCROLLINFO si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMin = 0;
  si.nMax = std::max(0, FCombo->Items().Count() - 1);
  si.nPage = UINT(RowCount());
  si.nPos = FTopIndex;
  SetScrollInfo(Handle(), SB_VERT, si, true);
}

void TComboListWindow::Popup() {
  int rows = RowCount();
  bool bar = FCombo->Items().Count() > rows;
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, WS_POPUP | WS_BORDER | (bar ? WS_VSCROLL : 0), false, kListExStyle);
  int height = rows * FCombo->ItemHeight() + frame.Height();
  int width = FCombo->Width();
  TPoint box = FCombo->ClientToScreen({0, 0});
  int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
  int top = box.Y + FCombo->Height();
  // Below the box, unless it would leave the screen there and fits above.
  if (top + height > screenH && box.Y - height >= 0) top = box.Y - height;
  int left = std::clamp(box.X, 0, std::max(0, screenW - width));
  Font().Assign(FCombo->Font());
  SetColor(FCombo->Color());
  SetBounds(left, top, width, height);
  HandleNeeded();
  FTopIndex = 0;
  FHotIndex = -1;
  UpdateScrollBar();
  // The chosen item opens highlighted, at the top when it lies beyond the first page.
  SetHotIndex(FCombo->ItemIndex());
  if (FHotIndex >= rows) SetTopIndex(FHotIndex);
  SetVisible(true);
  SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Invalidate();
  SetCapture(Handle());
}

void TComboListWindow::Dismiss() {
  if (HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
  SetVisible(false);
}

void TComboListWindow::Scroll(WORD code, int thumbPos) {
  int rows = RowCount();
  switch (code) {
    case SB_LINEUP:
      SetTopIndex(FTopIndex - 1);
      break;
    case SB_LINEDOWN:
      SetTopIndex(FTopIndex + 1);
      break;
    case SB_PAGEUP:
      SetTopIndex(FTopIndex - rows);
      break;
    case SB_PAGEDOWN:
      SetTopIndex(FTopIndex + rows);
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      SetTopIndex(thumbPos);
      break;
    case SB_TOP:
      SetTopIndex(0);
      break;
    case SB_BOTTOM:
      SetTopIndex(FCombo->Items().Count());
      break;
    default:
      break;
  }
}

bool TComboListWindow::PressOutsideClient(TPoint client) {
  if (ClientRect().Contains(client)) return false;
  POINT screen = client;
  win::ClientToScreen(Handle(), &screen);
  RECT window;
  GetWindowRect(Handle(), &window);
  if (!window.Contains(screen)) {
    FCombo->CloseList(false);
    return true;
  }
  // On the scroll bar: the window system tracks it, taking the capture for the drag and
  // dropping it at the end; the list takes it back.
  LRESULT hit = DefWindowProcW(Handle(), WM_NCHITTEST, 0, LParamFromPoint(screen));
  if (hit == HTVSCROLL) {
    FTrackingBar = true;
    DefWindowProcW(Handle(), WM_NCLBUTTONDOWN, WPARAM(hit), LParamFromPoint(screen));
    FTrackingBar = false;
    if (FCombo->DroppedDown() && HandleAllocated()) SetCapture(Handle());
  }
  return true;
}

void TComboListWindow::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (PressOutsideClient(PointFromLParam(m.LParam))) return;
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      // Past the windowed control's chores, which would drop the capture the open list keeps.
      TControl::WndProc(m);
      return;
    case WM_MOUSEACTIVATE:
      m.Result = MA_NOACTIVATE;
      return;
    case WM_VSCROLL:
      Scroll(LOWORD(m.WParam), HIWORD(m.WParam));
      return;
    case WM_CAPTURECHANGED:
      // Someone else took the mouse (a message box, a drag): the list cannot stay open.
      if (!FTrackingBar && FCombo->DroppedDown() && HandleAllocated() &&
          reinterpret_cast<HWND>(m.LParam) != Handle())
        FCombo->CloseList(false);
      return;
    default:
      break;
  }
  TCustomControl::WndProc(m);
}

void TComboListWindow::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::mbLeft) SetHotIndex(ItemAtPos({x, y}));
  TCustomControl::MouseDown(button, shift, x, y);
}

void TComboListWindow::MouseMove(TShiftState shift, int x, int y) {
  int index = ItemAtPos({x, y});
  if (index >= 0) SetHotIndex(index);
  TCustomControl::MouseMove(shift, x, y);
}

void TComboListWindow::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseUp(button, shift, x, y);
  if (button != TMouseButton::mbLeft) return;
  // A release over an item chooses it; the release of the press that opened the list (over
  // the box) does nothing.
  int index = ItemAtPos({x, y});
  if (index >= 0) {
    SetHotIndex(index);
    FCombo->CloseList(true);
  }
}

void TComboListWindow::Paint() {
  TCanvas& c = Canvas();
  // The list tells its combo box that it paints, as a list box asks its owner for colours: the
  // first notice gives a wrapper of the combo box the list's window.
  if (FCombo->HandleAllocated())
    SendMessageW(FCombo->Handle(), WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(c.Handle()),
                 reinterpret_cast<LPARAM>(Handle()));
  TRect client = ClientRect();
  int count = FCombo->Items().Count();
  int bottom = 0;
  for (int i = FTopIndex; i < count; ++i) {
    TRect r = ItemRect(i);
    if (r.Top >= client.Bottom) break;
    // Items are drawn by the combo box (owner draw goes to its handler) on its canvas.
    TCanvasPaintScope scope(FCombo->Canvas(), c.Handle(), Font(), Color());
    FCombo->DrawItem(i, r, i == FHotIndex ? TOwnerDrawState(odSelected) : 0);
    bottom = r.Bottom;
  }
  c.BrushColor = Color();
  if (bottom < client.Bottom) c.FillRect({0, bottom, client.Right, client.Bottom});
}

// ---------------------------------------------------------------------------------------------
// TComboBox

TComboBox::TComboBox(TComponent* owner) : TCustomControl(owner) {
  SetBounds(0, 0, 145, 21);
  SetColor(clWindow);
  SetTabStop(true);
  // Presses open the list, which then holds the mouse; no click of its own.
  ControlStyle = csOpaque;
  FItems.OnChange = [this] { ItemsChanged(); };
  FList = std::make_unique<TComboListWindow>(this);
}

TComboBox::~TComboBox() {
  FDroppedDown = false;
  FList.reset();
}

void TComboBox::SetStyle(TComboBoxStyle style) {
  if (style == FStyle) return;
  FStyle = style;
  Invalidate();
}

void TComboBox::SetItemIndex(int index) {
  if (HasState(csLoading)) {  // the items may come later in the description
    FLoadedIndex = index;
    return;
  }
  // Through the window, as the native combo box is told, so that a hook sees every change.
  if (HandleAllocated())
    SendMessageW(Handle(), CB_SETCURSEL, WPARAM(index), 0);
  else
    ChangeItemIndex(index);
}

bool TComboBox::ChangeItemIndex(int index) {
  bool valid = index >= 0 && index < FItems.Count();
  if (!valid) index = -1;
  if (index != FItemIndex) {
    FItemIndex = index;
    TCustomControl::SetTextBuf(GetText());
    Invalidate();
  }
  return valid;
}

void TComboBox::GetComboBoxInfo(COMBOBOXINFO& info) {
  info.rcItem = EditRect();
  info.rcButton = ButtonRect();
  info.stateButton = FDroppedDown ? STATE_SYSTEM_PRESSED : 0;
  info.hwndCombo = Handle();
  info.hwndItem = Handle();
  info.hwndList = FList->Handle();
}

void TComboBox::SetDropDownCount(int count) {
  FDropDownCount = std::max(1, count);
}

int TComboBox::ItemHeight() const {
  if (FStyle == TComboBoxStyle::csOwnerDrawFixed) return FItemHeight;
  return Font().Handle()->Metrics().tmHeight + 2;
}

void TComboBox::SetItemHeight(int height) {
  if (height < 1) return;
  FItemHeight = height;
  Invalidate();
}

std::u16string TComboBox::GetText() const {
  return FItemIndex >= 0 && FItemIndex < FItems.Count() ? FItems[FItemIndex] : std::u16string();
}

void TComboBox::SetTextBuf(const std::u16string& text) {
  // No typing: the text is always an item's; setting it chooses the item, or none.
  if (HasState(csLoading)) {
    FLoadedText = text;
    return;
  }
  SetItemIndex(FItems.IndexOf(text));
}

void TComboBox::Loaded() {
  TCustomControl::Loaded();
  if (FLoadedText) SetTextBuf(*FLoadedText);
  if (FLoadedIndex) SetItemIndex(*FLoadedIndex);
  FLoadedText.reset();
  FLoadedIndex.reset();
}

void TComboBox::ItemsChanged() {
  if (FItemIndex >= FItems.Count()) FItemIndex = -1;
  TCustomControl::SetTextBuf(GetText());
  if (FDroppedDown) {
    FList->SetTopIndex(FList->TopIndex());
    FList->SetHotIndex(FList->HotIndex());
    FList->UpdateScrollBar();
    FList->Invalidate();
  }
  Invalidate();
}

void TComboBox::FontChanged() {
  TCustomControl::FontChanged();
  if (FDroppedDown) FList->Font().Assign(Font());
}

void TComboBox::Notify(WORD code) {
  Perform(CN_COMMAND, MAKEWPARAM(0, code), 0);
}

void TComboBox::SetDroppedDown(bool value) {
  if (value == FDroppedDown) return;
  if (!value) {
    CloseList(false);
    return;
  }
  if (!HandleAllocated() || !Showing() || !Enabled()) return;
  Notify(CBN_DROPDOWN);
  // The handler may have closed the form or hidden the box.
  if (!HandleAllocated() || !Showing()) return;
  FDroppedDown = true;
  FList->Popup();
  Invalidate();
}

void TComboBox::CloseList(bool accept) {
  if (!FDroppedDown) return;
  FDroppedDown = false;
  int chosen = FList->HotIndex();
  FList->Dismiss();
  Invalidate();
  if (accept && chosen >= 0) UserSelect(chosen);
  Notify(CBN_CLOSEUP);
}

void TComboBox::UserSelect(int index) {
  if (index < 0 || index >= FItems.Count() || index == FItemIndex) return;
  SetItemIndex(index);
  Notify(CBN_SELCHANGE);
}

void TComboBox::Change() {
  if (OnChange) OnChange(this);
}

void TComboBox::Select() {
  if (OnSelect) OnSelect(this);
}

void TComboBox::DropDown() {
  if (OnDropDown) OnDropDown(this);
}

void TComboBox::CloseUp() {
  if (OnCloseUp) OnCloseUp(this);
}

void TComboBox::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CB_GETCURSEL:
      m.Result = FItemIndex < 0 ? CB_ERR : FItemIndex;
      return;
    case CB_SETCURSEL:
      m.Result = ChangeItemIndex(int(m.WParam)) ? int(m.WParam) : CB_ERR;
      return;
    case CB_SHOWDROPDOWN:
      SetDroppedDown(m.WParam != 0);
      m.Result = 1;
      return;
    case CB_GETDROPPEDSTATE:
      m.Result = FDroppedDown;
      return;
    case CB_GETCOMBOBOXINFO: {
      auto* info = reinterpret_cast<COMBOBOXINFO*>(m.LParam);
      m.Result = info && info->cbSize == sizeof(COMBOBOXINFO);
      if (m.Result) GetComboBoxInfo(*info);
      return;
    }
    case CN_COMMAND:
      switch (HIWORD(m.WParam)) {
        case CBN_SELCHANGE:
          Change();
          Select();
          break;
        case CBN_DROPDOWN:
          DropDown();
          break;
        case CBN_CLOSEUP:
          CloseUp();
          break;
        default:
          break;
      }
      return;
    case WM_KILLFOCUS:
      CloseList(false);
      Invalidate();
      break;
    case WM_SETFOCUS:
      Invalidate();
      break;
    case WM_CANCELMODE:
      CloseList(false);
      break;
    case CM_ENABLEDCHANGED:
    case CM_SHOWINGCHANGED:
      TCustomControl::WndProc(m);
      if (!Enabled() || !Showing()) CloseList(false);
      return;
    default:
      break;
  }
  TCustomControl::WndProc(m);
}

void TComboBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button == TMouseButton::mbLeft) SetDroppedDown(!FDroppedDown);
}

bool TComboBox::WantsKey(WORD key) const {
  return FDroppedDown && (key == VK_RETURN || key == VK_ESCAPE);
}

int TComboBox::NavigateFrom(int index, WORD key, int page) const {
  int last = FItems.Count() - 1;
  if (last < 0) return -1;
  switch (key) {
    case VK_UP:
      return std::max(0, index - 1);
    case VK_DOWN:
      return std::min(last, index + 1);
    case VK_HOME:
      return 0;
    case VK_END:
      return last;
    case VK_PRIOR:
      return std::max(0, index - (page - 1));
    case VK_NEXT:
      return std::min(last, std::max(0, index) + (page - 1));
    default:
      return index;
  }
}

int TComboBox::FindByLetter(int index, char16_t ch) const {
  int n = FItems.Count();
  char16_t want = UpperLetter(ch);
  for (int step = 1; step <= n; ++step) {
    int i = ((index + step) % n + n) % n;
    const std::u16string& s = FItems[i];
    if (!s.empty() && UpperLetter(s[0]) == want) return i;
  }
  return -1;
}

void TComboBox::KeyDown(WORD& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  bool alt = shift & ssAlt;
  bool toggle = (key == VK_F4 && !alt) || ((key == VK_DOWN || key == VK_UP) && alt);
  if (toggle) {
    key = 0;
    if (FDroppedDown)
      CloseList(true);
    else
      SetDroppedDown(true);
    return;
  }
  if (FDroppedDown) {
    switch (key) {
      case VK_RETURN:
        key = 0;
        CloseList(true);
        return;
      case VK_ESCAPE:
        key = 0;
        CloseList(false);
        return;
      default:
        break;
    }
  }
  if (alt) return;
  if (key == VK_UP || key == VK_DOWN || key == VK_HOME || key == VK_END || key == VK_PRIOR ||
      key == VK_NEXT) {
    int page = FDroppedDown ? FList->RowCount() : FDropDownCount;
    MoveTo(NavigateFrom(CurrentIndex(), key, page));
    key = 0;
  }
}

void TComboBox::KeyPress(char16_t& key) {
  TCustomControl::KeyPress(key);
  if (key < u' ') return;
  MoveTo(FindByLetter(CurrentIndex(), key));
  key = 0;
}

int TComboBox::CurrentIndex() const {
  return FDroppedDown ? FList->HotIndex() : FItemIndex;
}

void TComboBox::MoveTo(int index) {
  if (index < 0) return;
  if (FDroppedDown)
    FList->SetHotIndex(index);
  else
    UserSelect(index);
}

bool TComboBox::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
  if (TCustomControl::DoMouseWheel(shift, wheelDelta, mousePos)) return true;
  int notches = wheelDelta / WHEEL_DELTA;
  if (notches == 0) return true;
  if (FDroppedDown) {
    FList->SetTopIndex(FList->TopIndex() - notches * 3);
  } else {
    int last = FItems.Count() - 1;
    if (last >= 0) UserSelect(FItemIndex < 0 ? 0 : std::clamp(FItemIndex - notches, 0, last));
  }
  return true;
}

TRect TComboBox::ButtonRect() const {
  TRect c = ClientRect();
  int w = std::min(GetSystemMetrics(SM_CXVSCROLL), std::max(0, c.Width() - 4));
  return {c.Right - 2 - w, c.Top + 2, c.Right - 2, c.Bottom - 2};
}

TRect TComboBox::EditRect() const {
  TRect c = ClientRect();
  return {c.Left + 3, c.Top + 3, ButtonRect().Left - 1, c.Bottom - 3};
}

void TComboBox::PaintFrame(TRect& r) {
  TCanvas& c = Canvas();
  r = DrawBevel(c, r, false);
  // The inner edge: dark top-left, face bottom-right, as sunken fields look.
  c.BrushColor = clGray;
  c.FillRect({r.Left, r.Top, r.Right, r.Top + 1});
  c.FillRect({r.Left, r.Top, r.Left + 1, r.Bottom});
  c.BrushColor = clBtnFace;
  c.FillRect({r.Left, r.Bottom - 1, r.Right, r.Bottom});
  c.FillRect({r.Right - 1, r.Top, r.Right, r.Bottom});
  r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
}

void TComboBox::PaintButton(const TRect& r) {
  TCanvas& c = Canvas();
  c.BrushColor = clBtnFace;
  c.FillRect(r);
  TRect face = r;
  if (FDroppedDown) {
    c.BrushColor = clBtnShadow;
    c.FrameRect(r);
    face = r.Offset(1, 1);
  } else {
    DrawBevel(c, r, true);
  }
  // A down arrow: rows of 7, 5, 3 and 1 pixels.
  c.BrushColor = Enabled() ? clBtnText : clGrayText;
  int cx = face.Left + face.Width() / 2, cy = face.Top + (face.Height() - 4) / 2;
  for (int row = 0; row < 4; ++row)
    c.FillRect({cx - 3 + row, cy + row, cx + 4 - row, cy + row + 1});
}

void TComboBox::DrawItem(int index, TRect r, TOwnerDrawState state) {
  TCanvas& c = Canvas();
  bool selected = state & odSelected;
  if (state & odDisabled) {
    c.BrushColor = clBtnFace;
    c.Font.SetColor(clGrayText);
  } else if (selected) {
    c.BrushColor = clHighlight;
    c.Font.SetColor(clHighlightText);
  }
  if (FStyle == TComboBoxStyle::csOwnerDrawFixed && OnDrawItem && index >= 0) {
    OnDrawItem(this, index, r, state);
    return;
  }
  c.FillRect(r);
  if (index >= 0 && index < FItems.Count()) {
    c.BrushStyle = TBrushStyle::bsClear;
    TRect text{r.Left + 2, r.Top, r.Right - 2, r.Bottom};
    c.TextRect(text, FItems[index],
               gfx::DT_SINGLELINE | gfx::DT_VCENTER | gfx::DT_NOPREFIX | gfx::DT_END_ELLIPSIS);
    c.BrushStyle = TBrushStyle::bsSolid;
  }
  if ((state & odFocused) && (state & odComboBoxEdit)) {
    c.BrushColor = clHighlightText;
    DrawFocusFrame(c, r);
  }
}

void TComboBox::Paint() {
  TCanvas& c = Canvas();
  TRect r = ClientRect();
  PaintFrame(r);
  TRect edit = EditRect();
  c.BrushColor = Enabled() ? Color() : clBtnFace;
  // The strip between the frame, the item and the button.
  c.FillRect({r.Left, r.Top, ButtonRect().Left, r.Bottom});
  TOwnerDrawState state = odComboBoxEdit;
  if (!Enabled())
    state |= odDisabled;
  else if (Focused())
    state |= odSelected | odFocused;
  DrawItem(FItemIndex, edit, state);
  PaintButton(ButtonRect());
}

}  // namespace fw
