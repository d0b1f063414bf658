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

// Whether s begins with prefix, letters in any case.
bool StartsWithAnyCase(const std::u16string& s, const std::u16string& prefix) {
  if (prefix.size() > s.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (UpperLetter(s[i]) != UpperLetter(prefix[i])) return false;
  return true;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TComboEdit

TComboEdit::TComboEdit(TComboBox* combo) : TCustomEdit(nullptr), FCombo(combo) {
  SetBorderStyle(TBorderStyle::bsNone);
  // The box is the tab stop; it hands the focus on to its edit part.
  SetTabStop(false);
}

void TComboEdit::WndProc(TMessage& m) {
  if (FCombo->FilterEditMessage(m)) return;
  TCustomEdit::WndProc(m);
  switch (m.Msg) {
    case WM_SETFOCUS:
      FCombo->EditFocusChanged();
      break;
    case WM_KILLFOCUS:
      if (!FCombo->HandleAllocated() || reinterpret_cast<HWND>(m.WParam) != FCombo->Handle())
        FCombo->CloseList(false);
      FCombo->EditFocusChanged();
      break;
    default:
      break;
  }
}

void TComboEdit::KeyDown(WORD& key, TShiftState shift) {
  if (FCombo->ListKey(key, shift, true)) {
    key = 0;
    return;
  }
  TCustomEdit::KeyDown(key, shift);
}

bool TComboEdit::WantsKey(WORD key) const {
  return FCombo->WantsKey(key) || TCustomEdit::WantsKey(key);
}

void TComboEdit::EraseBackground(HDC dc) {
  if (!FCombo->EraseEditPart(dc)) TCustomEdit::EraseBackground(dc);
}

void TComboEdit::Change() {
  TCustomEdit::Change();
  FCombo->EditChanged();
}

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
  if (FCombo->Style() == TComboBoxStyle::csSimple) {  // a child of the box, always shown
    p.Style = WS_CHILD | WS_BORDER | WS_CLIPSIBLINGS;
    p.ExStyle = 0;
    return;
  }
  p.Style = WS_POPUP | WS_BORDER | WS_CLIPCHILDREN;
  p.ExStyle = kListExStyle;
  TCustomForm* form = GetParentForm(FCombo);
  p.WndParent = form && form->HandleAllocated() ? form->Handle() : nullptr;
}

void TComboListWindow::CreateWnd() {
  TCustomControl::CreateWnd();
  // The simple list shows its bar from the start; the drop-down one sets it at each opening.
  if (FCombo->Style() == TComboBoxStyle::csSimple) UpdateScrollBar();
}

int TComboListWindow::RowCount() const {
  if (FCombo->Style() == TComboBoxStyle::csSimple)
    return std::max(1, ClientHeight() / FCombo->ItemHeight());
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
      if (FCombo->DroppedDown() && PressOutsideClient(PointFromLParam(m.LParam))) return;
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
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != TMouseButton::mbLeft) return;
  int index = ItemAtPos({x, y});
  if (FCombo->Style() != TComboBoxStyle::csSimple) {
    SetHotIndex(index);
    return;
  }
  // The simple list chooses at the press, and the focus goes to the box.
  if (FCombo->CanFocus() && !FCombo->HasFocus()) FCombo->SetFocus();
  if (index >= 0) FCombo->UserSelect(index);
}

void TComboListWindow::MouseMove(TShiftState shift, int x, int y) {
  // The open list's highlight follows the mouse; the simple list's is the choice.
  int index = ItemAtPos({x, y});
  if (index >= 0 && FCombo->DroppedDown()) SetHotIndex(index);
  TCustomControl::MouseMove(shift, x, y);
}

void TComboListWindow::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseUp(button, shift, x, y);
  if (button != TMouseButton::mbLeft || !FCombo->DroppedDown()) return;
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
  FEdit.reset();
  FList.reset();
}

void TComboBox::SetStyle(TComboBoxStyle style) {
  if (style == FStyle) return;
  CloseList(false);
  const std::u16string text = GetText();
  const bool wasSimple = FStyle == TComboBoxStyle::csSimple;
  FStyle = style;
  if (HasEdit() && !FEdit) {
    FEdit = std::make_unique<TComboEdit>(this);
    FEdit->SetParent(this);
    SetEditText(text);
  } else if (!HasEdit()) {
    FEdit.reset();
  }
  // A list of the other kind: a pop-up becomes a child and the other way round.
  if (wasSimple != (style == TComboBoxStyle::csSimple)) {
    FList = std::make_unique<TComboListWindow>(this);
    if (style == TComboBoxStyle::csSimple) {
      FList->Font().Assign(Font());
      FList->SetColor(Color());
      FList->SetParent(this);
      FList->SetVisible(true);
      FList->FHotIndex = FItemIndex;
    }
  }
  Layout();
  Invalidate();
  if (FEdit && Focused()) win::SetFocus(FEdit->Handle());
}

bool TComboBox::HasFocus() const {
  return Focused() || (FEdit && FEdit->Focused());
}

void TComboBox::SetEditText(const std::u16string& text) {
  if (!FEdit) return;
  FSettingText = true;
  FEdit->SetText(text);
  FSettingText = false;
  if (FEdit->Focused()) FEdit->SelectAll();
}

void TComboBox::EditChanged() {
  if (FSettingText) return;
  const std::u16string text = FEdit->Text();
  FItemIndex = FItems.IndexOf(text);
  TCustomControl::SetTextBuf(text);
  if (ListShowing()) {
    int first = -1;
    for (int i = 0; i < FItems.Count() && first < 0 && !text.empty(); ++i)
      if (StartsWithAnyCase(FItems[i], text)) first = i;
    FList->SetHotIndex(first);
  }
  Notify(CBN_EDITCHANGE);
}

void TComboBox::Layout() {
  if (FEdit) {
    TRect e = EditRect();
    FEdit->SetBounds(e.Left, e.Top, e.Width(), e.Height());
  }
  if (FStyle != TComboBoxStyle::csSimple) return;
  TRect c = ClientRect();
  int top = BoxRect().Bottom;
  FList->SetBounds(0, top, c.Width(), std::max(0, c.Bottom - top));
  // The choice in sight with as many items above it as fit.
  if (FList->HotIndex() >= 0) FList->SetTopIndex(FList->HotIndex() - FList->RowCount() + 1);
  if (FList->HandleAllocated()) {
    FList->SetTopIndex(FList->TopIndex());
    FList->UpdateScrollBar();
  }
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
    SetEditText(index >= 0 ? FItems[index] : std::u16string());
    TCustomControl::SetTextBuf(GetText());
    if (FStyle == TComboBoxStyle::csSimple) FList->SetHotIndex(index);
    Invalidate();
  }
  return valid;
}

void TComboBox::GetComboBoxInfo(COMBOBOXINFO& info) {
  info.rcItem = EditRect();
  info.rcButton = ButtonRect();
  info.stateButton = FDroppedDown ? STATE_SYSTEM_PRESSED : 0;
  info.hwndCombo = Handle();
  info.hwndItem = FEdit ? FEdit->Handle() : Handle();
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
  if (FEdit) return FEdit->Text();
  return FItemIndex >= 0 && FItemIndex < FItems.Count() ? FItems[FItemIndex] : std::u16string();
}

void TComboBox::SetTextBuf(const std::u16string& text) {
  // Without an edit part the text is always an item's; setting it chooses the item, or none.
  if (HasState(csLoading)) {
    FLoadedText = text;
    return;
  }
  if (!FEdit) {
    SetItemIndex(FItems.IndexOf(text));
    return;
  }
  SetEditText(text);
  FItemIndex = FItems.IndexOf(text);
  if (FStyle == TComboBoxStyle::csSimple) FList->SetHotIndex(FItemIndex);
  TCustomControl::SetTextBuf(text);
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
  if (ListShowing()) {
    FList->SetTopIndex(FList->TopIndex());
    FList->SetHotIndex(FList->HotIndex());
    // The simple list may not have its window yet: it takes the bar when it does.
    if (FList->HandleAllocated()) FList->UpdateScrollBar();
    FList->Invalidate();
  }
  Invalidate();
}

void TComboBox::FontChanged() {
  TCustomControl::FontChanged();
  if (ListShowing()) FList->Font().Assign(Font());
  Layout();
}

void TComboBox::Notify(WORD code) {
  Perform(CN_COMMAND, MAKEWPARAM(0, code), 0);
}

void TComboBox::SetDroppedDown(bool value) {
  if (value == FDroppedDown || FStyle == TComboBoxStyle::csSimple) return;
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
        case CBN_EDITCHANGE:
          Change();
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
      TCustomControl::WndProc(m);
      Invalidate();
      // The edit part takes the typing.
      if (FEdit && FEdit->HandleAllocated() && FEdit->Showing()) win::SetFocus(FEdit->Handle());
      return;
    case WM_SIZE:
      TCustomControl::WndProc(m);
      Layout();
      return;
    case WM_CANCELMODE:
      CloseList(false);
      break;
    case CM_ENABLEDCHANGED:
    case CM_SHOWINGCHANGED:
      TCustomControl::WndProc(m);
      if (!Enabled() || !Showing()) CloseList(false);
      if (FEdit) FEdit->SetEnabled(Enabled());
      return;
    default:
      break;
  }
  TCustomControl::WndProc(m);
}

void TComboBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != TMouseButton::mbLeft) return;
  // With an edit part only the button opens the list.
  if (!FEdit || ButtonRect().Contains({x, y})) SetDroppedDown(!FDroppedDown);
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
  if (ListKey(key, shift, false)) key = 0;
}

bool TComboBox::ListKey(WORD key, TShiftState shift, bool fromEdit) {
  bool alt = shift & ssAlt;
  bool toggle = (key == VK_F4 && !alt) || ((key == VK_DOWN || key == VK_UP) && alt);
  if (toggle) {
    if (FStyle == TComboBoxStyle::csSimple) return false;
    if (FDroppedDown)
      CloseList(true);
    else
      SetDroppedDown(true);
    return true;
  }
  if (FDroppedDown && (key == VK_RETURN || key == VK_ESCAPE)) {
    CloseList(key == VK_RETURN);
    return true;
  }
  if (alt) return false;
  bool edge = key == VK_HOME || key == VK_END;
  if (key == VK_UP || key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT || (edge && !fromEdit)) {
    int page = ListShowing() ? FList->RowCount() : FDropDownCount;
    MoveTo(NavigateFrom(CurrentIndex(), key, page));
    return true;
  }
  return false;
}

void TComboBox::KeyPress(char16_t& key) {
  TCustomControl::KeyPress(key);
  if (key < u' ' || FEdit) return;
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
  if (ListShowing()) {
    FList->SetTopIndex(FList->TopIndex() - notches * 3);
  } else {
    int last = FItems.Count() - 1;
    if (last >= 0) UserSelect(FItemIndex < 0 ? 0 : std::clamp(FItemIndex - notches, 0, last));
  }
  return true;
}

TRect TComboBox::BoxRect() const {
  TRect c = ClientRect();
  if (FStyle == TComboBoxStyle::csSimple) c.Bottom = std::min(c.Bottom, c.Top + ItemHeight() + 8);
  return c;
}

TRect TComboBox::ButtonRect() const {
  TRect c = BoxRect();
  int w = FStyle == TComboBoxStyle::csSimple
              ? 0
              : std::min(GetSystemMetrics(SM_CXVSCROLL), std::max(0, c.Width() - 4));
  return {c.Right - 2 - w, c.Top + 2, c.Right - 2, c.Bottom - 2};
}

TRect TComboBox::EditRect() const {
  TRect c = BoxRect();
  TRect button = ButtonRect();
  int right = button.IsEmpty() ? c.Right - 3 : button.Left - 1;
  return {c.Left + 3, c.Top + 3, std::max(c.Left + 3, right), std::max(c.Top + 3, c.Bottom - 3)};
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
  TRect r = BoxRect();
  PaintFrame(r);
  c.BrushColor = Enabled() ? Color() : clBtnFace;
  // The strip between the frame, the item and the button.
  TRect button = ButtonRect();
  c.FillRect({r.Left, r.Top, button.IsEmpty() ? r.Right : button.Left, r.Bottom});
  if (!FEdit) {
    TOwnerDrawState state = odComboBoxEdit;
    if (!Enabled())
      state |= odDisabled;
    else if (Focused())
      state |= odSelected | odFocused;
    DrawItem(FItemIndex, EditRect(), state);
  }
  if (FStyle != TComboBoxStyle::csSimple) PaintButton(ButtonRect());
}

}  // namespace fw
