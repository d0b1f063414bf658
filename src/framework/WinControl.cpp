#include "framework/WinControl.h"

#include <algorithm>
#include <set>

#include "framework/Application.h"
#include "framework/DragDrop.h"
#include "framework/Exception.h"
#include "framework/Form.h"
#include "framework/Menus.h"
#include "framework/TextConv.h"
#include "platform/win/Input.h"
#include "platform/win/KeyboardLayout.h"
#include "platform/win/Keys.h"
#include "platform/win/Mdi.h"
#include "platform/win/MulDiv.h"
#include "platform/win/Paint.h"
#include "platform/win/ScrollInfo.h"
#include "platform/win/Styles.h"
#include "platform/win/Window.h"
#include "platform/win/WindowProc.h"

namespace fw {

using namespace win;

namespace {

constexpr char16_t kWindowClass[] = u"FwWindow";

// The classes of the framework's windows: what FindControl recognises.
std::set<std::u16string>& WindowClasses() {
  static std::set<std::u16string> classes;
  return classes;
}

}  // namespace

int CursorResource(TCursor cursor) {
  switch (cursor) {
    case crCross:
      return IDC_CROSS;
    case crIBeam:
      return IDC_IBEAM;
    case crHourGlass:
      return IDC_WAIT;
    case crNo:
      return IDC_NO;
    case crHandPoint:
      return IDC_HAND;
    case crDrag:
      return IDC_SIZEALL;
    case crNoDrop:
      return IDC_NO;
    case crHSplit:
      return IDC_SIZEWE;
    default:
      return IDC_ARROW;
  }
}

namespace {

TShiftState KeyShift() {
  TShiftState s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

bool IsClientMouseMessage(UINT msg) {
  return msg >= WM_MOUSEMOVE && msg <= WM_MBUTTONDBLCLK;
}

bool IsButtonDown(UINT msg) {
  return msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN ||
         msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
}

bool IsButtonUp(UINT msg) {
  return msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP;
}

}  // namespace

void TWinControl::RegisterWindowClass(const std::u16string& name) {
  WindowClasses().insert(name);
  WNDCLASSEXW wc;
  wc.style = CS_DBLCLKS;
  wc.hCursor = LoadCursorW(IDC_ARROW);
  wc.lpszClassName = name;
  wc.lpfnWndProc = MakeWindowProc([](HWND h, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
    auto* c = reinterpret_cast<TWinControl*>(GetWindowLongPtrW(h, GWLP_USERDATA));
    if (!c && msg == WM_NCCREATE) {
      auto* cs = reinterpret_cast<CREATESTRUCTW*>(l);
      // An MDI child is made by its client, which passes what WM_MDICREATE was given.
      c = (cs->dwExStyle & WS_EX_MDICHILD)
              ? reinterpret_cast<TWinControl*>(
                    static_cast<const MDICREATESTRUCTW*>(cs->lpCreateParams)->lParam)
              : static_cast<TWinControl*>(cs->lpCreateParams);
      SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(c));
      c->FHandle = h;
    }
    if (!c) return DefWindowProcW(h, msg, w, l);
    LRESULT result = 0;
    c->MainWndProc(msg, w, l, &result);
    return result;
  });
  RegisterClassExW(wc);  // 0 when already registered, which is fine
}

TWinControl* TWinControl::FindControl(HWND hwnd) {
  if (!IsWindow(hwnd) || !WindowClasses().contains(GetClassNameW(hwnd))) return nullptr;
  return reinterpret_cast<TWinControl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  Destroying();
  DestroyComponents();
  while (!FWinControls.empty()) delete FWinControls.back();
  while (!FControls.empty()) delete FControls.back();
  DestroyHandle();
  // Leave the parent while still a windowed control (the parent treats us as one).
  SetParent(nullptr);
}

void TWinControl::MainWndProc(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  TMessage m{msg, wParam, lParam, 0};
  try {
    WindowProc(m);  // the handler may free the control on the way
  } catch (...) {
    if (!Application) throw;
    Application->HandleException(std::current_exception());
  }
  *result = m.Result;
}

HWND TWinControl::Handle() {
  if (!FHandle) CreateHandle();
  return FHandle;
}

void TWinControl::CreateHandle() {
  if (FHandle) return;
  if (FParent) {
    FParent->HandleNeeded();  // makes ours too
    if (FHandle) return;
  }
  TCreateParams p;
  CreateParams(p);
  // Forms and popups (tooltips) are top-level; every other control needs its parent's window.
  if (!p.WndParent && (p.Style & WS_CHILD))
    throw Exception(u"Control '" + Utf8ToUtf16(Name()) + u"' has no parent window");
  if (p.WinClassName.empty()) p.WinClassName = kWindowClass;
  RegisterWindowClass(p.WinClassName);
  HWND h = CreateWindowHandle(p);
  if (!h) throw Exception(u"Error creating window");
  FHandle = h;
  // The window takes its place among its siblings' windows as the control has among the
  // controls (a new child window would start at the bottom).
  if (FParent) FParent->PlaceWindow(this);
  // The window may have been given another size (constraints, frames): keep what it got.
  RECT r;
  GetWindowRect(h, &r);
  if (HWND parent = FParent ? FParent->FHandle : (p.Style & WS_CHILD) ? p.WndParent : nullptr) {
    POINT o{r.Left, r.Top};
    win::ScreenToClient(parent, &o);
    r = r.Offset(o.X - r.Left, o.Y - r.Top);
  }
  TRect old = BoundsRect();
  FLeft = r.Left;
  FTop = r.Top;
  FWidth = r.Width();
  FHeight = r.Height();
  CreateWnd();
  for (TWinControl* child : FWinControls) child->CreateHandle();
  if (old != BoundsRect()) Realign();
  UpdateShowing();
}

HWND TWinControl::CreateWindowHandle(const TCreateParams& p) {
  return CreateWindowExW(p.ExStyle, p.WinClassName, p.Caption, p.Style, p.X, p.Y, p.Width, p.Height,
                         p.WndParent, 0, this);
}

void TWinControl::CreateWnd() {}

void TWinControl::CreateParams(TCreateParams& p) {
  p.Style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  if (Visible()) p.Style |= WS_VISIBLE;
  if (!Enabled()) p.Style |= WS_DISABLED;
  if (FTabStop) p.Style |= WS_TABSTOP;
  p.X = Left();
  p.Y = Top();
  p.Width = Width();
  p.Height = Height();
  p.WndParent = FParent ? FParent->FHandle : nullptr;
  p.Caption = FText;
}

void TWinControl::DestroyHandle() {
  if (!FHandle) return;
  DestroyWindow(FHandle);
  FHandle = nullptr;
  UpdateShowing();
}

void TWinControl::RecreateWnd() {
  if (FHandle) Perform(CM_RECREATEWND, 0, 0);
}

TControl* TWinControl::Controls(int index) const {
  if (index < 0 || index >= ControlCount()) throw Exception(u"Control index out of bounds");
  if (index < int(FControls.size())) return FControls[index];
  return FWinControls[index - FControls.size()];
}

void TWinControl::InsertControl(TControl* control) {
  control->FParent = this;
  control->UpdateAnchorRules();
  if (auto* w = dynamic_cast<TWinControl*>(control)) {
    FWinControls.push_back(w);
    FTabList.push_back(w);
  } else {
    FControls.push_back(control);
  }
  if (control->FParentFont) control->ParentFontChanged();
  if (control->FParentColor) control->Perform(CM_PARENTCOLORCHANGED, 0, 0);
  Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(control), 1);
  if (auto* w = dynamic_cast<TWinControl*>(control); w && FHandle) w->CreateHandle();
  control->Invalidate();
  Realign();
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), 1);
}

void TWinControl::RemoveControl(TControl* control) {
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), 0);
  control->Invalidate();
  if (FCaptureControl == control) FCaptureControl = nullptr;
  // Looked up by address: a control leaving from its destructor is no longer of its class.
  auto w = std::find(FWinControls.begin(), FWinControls.end(), control);
  if (w != FWinControls.end()) {
    TWinControl* child = *w;
    FWinControls.erase(w);
    std::erase(FTabList, child);
    child->DestroyHandle();
  } else {
    std::erase(FControls, control);
  }
  control->FParent = nullptr;
  Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(control), 0);
  if (!HasState(csDestroying)) Realign();
}

void TWinControl::MoveToEnd(TControl* control, bool front) {
  auto move = [front](auto& list, auto* item) {
    std::erase(list, item);
    if (front)
      list.push_back(item);
    else
      list.insert(list.begin(), item);
  };
  if (auto* w = dynamic_cast<TWinControl*>(control)) {
    move(FWinControls, w);
    if (w->FHandle)
      SetWindowPos(w->FHandle, front ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  } else {
    move(FControls, control);
    control->Invalidate();
  }
  Realign();
}

void TWinControl::PlaceWindow(TWinControl* child) {
  if (!child->FHandle) return;
  // Window order runs top first: the window above the child's is that of the next control in
  // the list that has one.
  auto it = std::find(FWinControls.begin(), FWinControls.end(), child);
  if (it == FWinControls.end()) return;
  HWND above = nullptr;
  for (auto next = it + 1; next != FWinControls.end() && !above; ++next) above = (*next)->FHandle;
  SetWindowPos(child->FHandle, above ? above : HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::SetChildOrder(TControl* child, int order) {
  if (!child || child->FParent != this) return;
  auto place = [order](auto& list, auto* item) {
    std::erase(list, item);
    list.insert(list.begin() + std::clamp(order, 0, int(list.size())), item);
  };
  if (auto* w = dynamic_cast<TWinControl*>(child)) {
    place(FWinControls, w);
    PlaceWindow(w);
  } else {
    place(FControls, child);
    child->Invalidate();
  }
  Realign();
}

TControl* TWinControl::ControlAtPos(TPoint p, bool allowDisabled, bool allowWindowed) const {
  auto hit = [&](TControl* c) {
    if (!c->Visible() || (!allowDisabled && !c->Enabled())) return false;
    if (!c->BoundsRect().Contains(p)) return false;
    return c->Perform(CM_HITTEST, 0, MAKELPARAM(p.X - c->Left(), p.Y - c->Top())) != 0;
  };
  if (allowWindowed)
    for (auto it = FWinControls.rbegin(); it != FWinControls.rend(); ++it)
      if (hit(*it)) return *it;
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it)
    if (hit(*it)) return *it;
  return nullptr;
}

bool TWinControl::ContainsControl(const TControl* control) const {
  for (const TControl* c = control; c; c = c->Parent())
    if (c == this) return true;
  return false;
}

void TWinControl::NotifyControls(UINT msg, WPARAM wParam, LPARAM lParam) {
  for (int i = 0; i < ControlCount(); ++i) Controls(i)->Perform(msg, wParam, lParam);
}

LRESULT TWinControl::Broadcast(UINT msg, WPARAM wParam, LPARAM lParam) {
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (LRESULT r = c->Perform(msg, wParam, lParam)) return r;
    if (auto* w = dynamic_cast<TWinControl*>(c))
      if (LRESULT r = w->Broadcast(msg, wParam, lParam)) return r;
  }
  return 0;
}

void TWinControl::Loaded() {
  TControl::Loaded();
  Realign();
}

void TWinControl::ScaleBy(int m, int d) {
  if (m == d || d <= 0 || m <= 0) return;
  DisableAlign();
  ScaleConstraints(m, d);
  ScalePPI(m, d);
  ScaleControls(m, d);
  ScaleFont(m, d);
  SetBounds(Left(), Top(), FScaled[2].Scale(Width(), m, d), FScaled[3].Scale(Height(), m, d));
  ScaledControlsPlaced();
  EnableAlign();
}

void TWinControl::ChangeScale(int m, int d) {
  if (m == d || d <= 0 || m <= 0) return;
  DisableAlign();
  // The children first: a child that sizes itself to the font it follows (an auto-sized label)
  // must not be scaled again after it took the new font's size.
  ScaleControls(m, d);
  TControl::ChangeScale(m, d);
  ScaledControlsPlaced();
  EnableAlign();
}

void TWinControl::ScaleControls(int m, int d) {
  // A copy: a child may leave or join while it scales.
  std::vector<TControl*> children;
  for (int i = 0; i < ControlCount(); ++i) children.push_back(Controls(i));
  for (TControl* c : children) c->ChangeScale(m, d);
}

void TWinControl::ScaledControlsPlaced() {
  // The children were scaled with this control: their anchors take the new client size as
  // given, rather than moving them by its growth.
  for (int i = 0; i < ControlCount(); ++i) Controls(i)->UpdateAnchorRules();
}

void TWinControl::EnableAlign() {
  if (FAlignLevel > 0 && --FAlignLevel == 0) Realign();
}

void TWinControl::Realign() {
  if (FAlignLevel > 0 || FAligning || HasState(csLoading) || HasState(csDestroying)) return;
  FAligning = true;
  TRect r = ClientRect();
  try {
    AlignControls(r);
  } catch (...) {
    FAligning = false;
    throw;
  }
  FAligning = false;
}

void TWinControl::AlignControls(TRect& rect) {
  // Each kind in turn; within a kind the control nearest its edge goes first.
  auto take = [&](TAlign kind) {
    std::vector<TControl*> list;
    for (int i = 0; i < ControlCount(); ++i) {
      TControl* c = Controls(i);
      if (c->Align() == kind && c->Visible()) list.push_back(c);
    }
    std::stable_sort(list.begin(), list.end(), [kind](TControl* a, TControl* b) {
      switch (kind) {
        case TAlign::alTop:
          return a->Top() < b->Top();
        case TAlign::alBottom:
          return a->Top() + a->Height() > b->Top() + b->Height();
        case TAlign::alLeft:
          return a->Left() < b->Left();
        case TAlign::alRight:
          return a->Left() + a->Width() > b->Left() + b->Width();
        default:
          return false;
      }
    });
    return list;
  };
  for (TControl* c : take(TAlign::alTop)) {
    c->UpdateBoundsRect(gfx::RectOfSize(rect.Left, rect.Top, rect.Width(), c->Height()));
    rect.Top += c->Height();
  }
  for (TControl* c : take(TAlign::alBottom)) {
    c->UpdateBoundsRect(
        gfx::RectOfSize(rect.Left, rect.Bottom - c->Height(), rect.Width(), c->Height()));
    rect.Bottom -= c->Height();
  }
  for (TControl* c : take(TAlign::alLeft)) {
    c->UpdateBoundsRect(
        gfx::RectOfSize(rect.Left, rect.Top, c->Width(), std::max(0, rect.Height())));
    rect.Left += c->Width();
  }
  for (TControl* c : take(TAlign::alRight)) {
    c->UpdateBoundsRect(
        gfx::RectOfSize(rect.Right - c->Width(), rect.Top, c->Width(), std::max(0, rect.Height())));
    rect.Right -= c->Width();
  }
  for (TControl* c : take(TAlign::alClient))
    c->UpdateBoundsRect(gfx::RectOfSize(rect.Left, rect.Top, std::max(0, rect.Width()),
                                        std::max(0, rect.Height())));
  // The others by their anchors, against the whole client area.
  const TRect client = ClientRect();
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (c->Align() == TAlign::alNone && c->Anchors() != (akLeft | akTop))
      c->UpdateBoundsRect(c->AnchoredBounds(client.Width(), client.Height()));
  }
}

int TWinControl::TabOrder() const {
  if (!FParent) return -1;
  auto& list = FParent->FTabList;
  return int(std::find(list.begin(), list.end(), this) - list.begin());
}

void TWinControl::SetTabOrder(int order) {
  if (!FParent) return;
  auto& list = FParent->FTabList;
  std::erase(list, this);
  order = std::clamp(order, 0, int(list.size()));
  list.insert(list.begin() + order, this);
}

void TWinControl::SetTabStop(bool tabStop) {
  if (tabStop == FTabStop) return;
  FTabStop = tabStop;
  Perform(CM_TABSTOPCHANGED, 0, 0);
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool forward,
                                          bool checkTabStop) const {
  std::vector<TWinControl*> order;
  auto collect = [&](auto& self, const TWinControl* parent) -> void {
    for (TWinControl* c : parent->FTabList) {
      order.push_back(c);
      self(self, c);
    }
  };
  collect(collect, this);
  if (order.empty()) return nullptr;
  int n = int(order.size());
  int start = int(std::find(order.begin(), order.end(), current) - order.begin());
  if (start == n) start = forward ? n - 1 : 0;
  for (int step = 1; step <= n; ++step) {
    int i = ((forward ? start + step : start - step) % n + n) % n;
    TWinControl* c = order[i];
    if (c == current) continue;
    if (c->CanFocus() && (!checkTabStop || c->TabStop())) return c;
  }
  return nullptr;
}

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

bool TWinControl::Focused() const {
  return FHandle && GetFocus() == FHandle;
}

void TWinControl::SetFocus() {
  if (!CanFocus()) throw Exception(u"Cannot focus a disabled or invisible window");
  win::SetFocus(Handle());
}

TRect TWinControl::ClientRect() const {
  RECT r;
  if (FHandle && GetClientRect(FHandle, &r)) return r;
  // Without a window: the bounds less the frame the styles will give.
  TCreateParams p;
  const_cast<TWinControl*>(this)->CreateParams(p);
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, p.Style, false, p.ExStyle);
  return {0, 0, std::max(0, Width() - frame.Width()), std::max(0, Height() - frame.Height())};
}

void TWinControl::UpdateShowing() {
  const bool showing = FHandle && Visible() && (!FParent || FParent->FShowing);
  const bool changed = showing != FShowing;
  // Coming to show, the children learn it first (Showing already true here, so theirs can
  // follow) and the window appears and paints them afterwards; going, the window goes first.
  if (changed) FShowing = showing;
  auto updateChildren = [this] {
    // A copy: the notices may add or remove children.
    std::vector<TWinControl*> children = FWinControls;
    for (TWinControl* c : children) c->UpdateShowing();
  };
  try {
    if (showing) updateChildren();
    // A child's notice may have changed this control's state again; that change was announced.
    if (changed && FShowing == showing) Perform(CM_SHOWINGCHANGED, 0, 0);
  } catch (...) {
    // A notice that fails leaves this control, and the children that came to show, hidden.
    if (changed) {
      FShowing = !showing;
      if (showing) updateChildren();
    }
    throw;
  }
  if (!showing) updateChildren();
}

void TWinControl::UpdateWindowVisible() {
  if (!FHandle) return;
  // A child's window keeps its own flag while a parent hides it; a top-level one shows while
  // the control is showing.
  bool want = FParent ? Visible() : FShowing;
  bool has = GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_VISIBLE;
  if (want != has) ShowWindow(FHandle, want ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::PaintHandler(HDC dc) {
  PaintWindow(dc);
  PaintControls(dc, nullptr);
}

void TWinControl::PaintWindow(HDC) {}

void TWinControl::EraseBackground(HDC dc) {
  if (Color() == clNone) return;
  gfx::FillRect(dc, ClientRect(), ColorToRGB(Color()));
}

void TWinControl::PaintControls(HDC dc, TControl* first) {
  auto it = first ? std::find(FControls.begin(), FControls.end(), first) : FControls.begin();
  std::vector<TControl*> list(it, FControls.end());  // painting may change the list
  for (TControl* c : list) {
    if (!c->Visible()) continue;
    TRect b = c->BoundsRect();
    TRect box;
    if (gfx::GetClipBox(dc, &box) == 0 || IntersectRects(b, box).IsEmpty()) continue;
    int saved = gfx::SaveDC(dc);
    gfx::OffsetViewportOrgEx(dc, b.Left, b.Top, nullptr);
    gfx::IntersectClipRect(dc, 0, 0, b.Width(), b.Height());
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    gfx::RestoreDC(dc, saved);
  }
}

void TWinControl::PaintTo(HDC dc, int x, int y) {
  int saved = gfx::SaveDC(dc);
  gfx::OffsetViewportOrgEx(dc, x, y, nullptr);
  gfx::IntersectClipRect(dc, 0, 0, Width(), Height());
  TRect c = ClientRect();
  if (FHandle) {
    // The frame as the window draws it, and the client area where it lies inside the frame.
    Perform(WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT);
    RECT wr;
    POINT origin{0, 0};
    if (GetWindowRect(FHandle, &wr) && win::ClientToScreen(FHandle, &origin))
      gfx::OffsetViewportOrgEx(dc, origin.X - wr.Left, origin.Y - wr.Top, nullptr);
  }
  gfx::IntersectClipRect(dc, 0, 0, c.Width(), c.Height());
  Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  for (TWinControl* w : FWinControls)
    if (w->Visible()) w->PaintTo(dc, w->Left(), w->Top());
  gfx::RestoreDC(dc, saved);
}

void TWinControl::Invalidate() {
  Perform(CM_INVALIDATE, 0, 0);
}

void TWinControl::Repaint() {
  if (!FHandle) return;
  RedrawWindow(FHandle, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

std::u16string TWinControl::GetText() const {
  return FText;
}

void TWinControl::SetTextBuf(const std::u16string& text) {
  FText = text;
  if (FHandle) SetWindowTextW(FHandle, text);
}

void TWinControl::BoundsChanged(const TRect&) {
  if (FHandle) {
    RECT r = BoundsRect();
    SetWindowPos(FHandle, nullptr, r.Left, r.Top, r.Width(), r.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  Realign();
}

void TWinControl::VisibleChanged() {
  UpdateShowing();
  // Under a hidden parent Showing does not change, but the window's own flag must follow.
  UpdateWindowVisible();
}

void TWinControl::EnabledChanged() {
  if (FHandle) EnableWindow(FHandle, Enabled());
  Invalidate();
}

void TWinControl::ColorChanged() {
  Invalidate();
  for (int i = 0; i < ControlCount(); ++i) Controls(i)->Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TWinControl::FontChanged() {
  Invalidate();
  for (int i = 0; i < ControlCount(); ++i) Controls(i)->Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TWinControl::KeyDown(WORD& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(WORD& key, TShiftState shift) {
  if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(char16_t& key) {
  if (OnKeyPress) OnKeyPress(this, key);
}

TWinControl* TWinControl::KeyPreviewForm() const {
  TCustomForm* form = GetParentForm(this);
  return form && form != this && form->KeyPreview() ? form : nullptr;
}

bool TWinControl::PreviewKey(UINT msg, WORD& key) {
  TWinControl* form = KeyPreviewForm();
  if (!form) return false;
  if (msg == WM_KEYUP || msg == WM_SYSKEYUP)
    form->KeyUp(key, KeyShift());
  else
    form->KeyDown(key, KeyShift());
  return key == 0;
}

bool TWinControl::IsMenuKey(WORD key) {
  const TShortCut shortCut = ShortCut(key, KeyShift());
  if (!shortCut) return false;
  for (TControl* c = this; c; c = c->Parent())
    if (TPopupMenu* menu = c->PopupMenu(); menu && menu->IsShortCut(shortCut)) return true;
  TCustomForm* form = GetParentForm(this);
  return form && form->IsShortCut(shortCut);
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

bool TWinControl::RouteMouseToChild(TMessage& m) {
  TPoint p = PointFromLParam(m.LParam);
  TControl* hit = ClientRect().Contains(p) ? ControlAtPos(p, true) : nullptr;
  TControl* target = FCaptureControl ? FCaptureControl : hit;
  if (!target) return false;
  if (m.Msg == WM_MOUSEMOVE)  // the mouse may leave a control that holds it
    SetMouseControl(hit ? hit : ClientRect().Contains(p) ? this : nullptr);
  if (IsButtonDown(m.Msg) && (target->ControlStyle & csCaptureMouse) && target->Enabled()) {
    FCaptureControl = target;
    SetCapture(FHandle);
  }
  TMessage cm = m;
  cm.LParam = MAKELPARAM(p.X - target->Left(), p.Y - target->Top());
  if (IsButtonUp(m.Msg)) {
    FCaptureControl = nullptr;
    if (GetCapture() == FHandle) ReleaseCapture();
  }
  target->WindowProc(cm);
  m.Result = cm.Result;
  return true;
}

void TWinControl::HandleMouseLeave() {
  FTracking = false;
  TControl* mc = MouseControl();
  if (!mc || mc->WindowHost() != this) return;
  // Moving into another of our windows: its own mouse move takes over, without a gap.
  POINT cursor;
  GetCursorPos(&cursor);
  HWND under = WindowFromPoint(cursor);
  if (under != FHandle && FindControl(under)) return;
  SetMouseControl(nullptr);
}

void TWinControl::WndProc(TMessage& m) {
  // A running drag takes the mouse and Escape first.
  if (TDragSession::Source() && TDragSession::HostMessage(this, m)) {
    if (IsButtonUp(m.Msg)) FCaptureControl = nullptr;  // a windowless source held the mouse
    return;
  }
  if (IsClientMouseMessage(m.Msg)) {
    if (m.Msg == WM_MOUSEMOVE && !FTracking && FHandle) {
      TRACKMOUSEEVENT t;
      t.dwFlags = TME_LEAVE;
      t.hwndTrack = FHandle;
      TrackMouseEvent(&t);
      FTracking = true;
    }
    if (IsButtonDown(m.Msg) && Application) Application->CancelHint();
    if (RouteMouseToChild(m)) return;
    if (m.Msg == WM_MOUSEMOVE) SetMouseControl(this);
    if (IsButtonDown(m.Msg) && Enabled()) {
      if (FTabStop && !Focused() && CanFocus()) SetFocus();
      if ((ControlStyle & csCaptureMouse) && FHandle) SetCapture(FHandle);
    }
    if (IsButtonUp(m.Msg) && FHandle && GetCapture() == FHandle) ReleaseCapture();
    TControl::WndProc(m);
    return;
  }
  switch (m.Msg) {
    case WM_MOUSELEAVE:
      HandleMouseLeave();
      return;
    case WM_CONTEXTMENU:
      // A windowless control under the point opens its own menu first; not for a request
      // passed up from a windowed child, which lies over whatever is under the point.
      if (m.LParam != -1 && reinterpret_cast<HWND>(m.WParam) == FHandle) {
        const TPoint at = ScreenToClient(PointFromLParam(m.LParam));
        TControl* child = ClientRect().Contains(at) ? ControlAtPos(at, false) : nullptr;
        if (child) {
          TMessage cm = m;
          child->WindowProc(cm);
          if ((m.Result = cm.Result) != 0) return;
        }
      }
      break;
    case WM_PAINT:
      if (m.WParam) {
        PaintHandler(reinterpret_cast<HDC>(m.WParam));
      } else {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(FHandle, &ps);
        if (dc) PaintHandler(dc);
        EndPaint(FHandle, &ps);
      }
      return;
    case WM_ERASEBKGND:
      EraseBackground(reinterpret_cast<HDC>(m.WParam));
      m.Result = 1;
      return;
    case WM_PRINTCLIENT:
      EraseBackground(reinterpret_cast<HDC>(m.WParam));
      PaintHandler(reinterpret_cast<HDC>(m.WParam));
      return;
    case WM_SETCURSOR:
      if (LOWORD(std::uintptr_t(m.LParam)) == WORD(HTCLIENT)) {
        TControl* mc = MouseControl();
        TCursor c = (mc && mc->WindowHost() == this) ? mc->Cursor() : crDefault;
        if (c == crDefault) c = Cursor();
        if (c != crDefault) {
          win::SetCursor(LoadCursorW(CursorResource(c)));
          m.Result = 1;
          return;
        }
      }
      break;
    case WM_SETFOCUS:
      DefaultHandler(m);
      if (TCustomForm* form = GetParentForm(this)) form->SetFocusedControl(this);
      return;
    case CM_ENTER:
      DoEnter();
      return;
    case CM_EXIT:
      DoExit();
      return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      if (Application) Application->CancelHint();
      WORD key = WORD(m.WParam);
      if (IsMenuKey(key)) return;
      if ((key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE) && !WantsKey(key))
        if (TCustomForm* form = GetParentForm(this);
            form && form->Perform(CM_DIALOGKEY, key, 0) != 0)
          return;
      if (PreviewKey(m.Msg, key)) return;
      KeyDown(key, KeyShift());
      if (key == 0) return;
      break;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      WORD key = WORD(m.WParam);
      if (PreviewKey(m.Msg, key)) return;
      KeyUp(key, KeyShift());
      if (key == 0) return;
      break;
    }
    case WM_CHAR: {
      char16_t ch = char16_t(m.WParam);
      if ((ch == u'\t' || ch == u'\r' || ch == u'\x1b') && !WantsKey(ch == u'\t'   ? VK_TAB
                                                                     : ch == u'\r' ? VK_RETURN
                                                                                   : VK_ESCAPE))
        return;
      if (TWinControl* form = KeyPreviewForm()) {
        form->KeyPress(ch);
        if (ch == 0) return;
      }
      KeyPress(ch);
      if (ch == 0) return;
      m.WParam = ch;
      break;
    }
    case WM_SYSCHAR:
      // Alt+letter: the form's accelerators first, the system menu's key otherwise.
      if (TCustomForm* form = GetParentForm(this);
          form && form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam) != 0)
        return;
      break;
    case WM_MOUSEWHEEL:
      if (DoMouseWheel(ShiftFromKeys(LOWORD(std::uintptr_t(m.WParam))),
                       GET_WHEEL_DELTA_WPARAM(m.WParam),
                       {GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)})) {
        m.Result = 1;
        return;
      }
      break;  // DefWindowProc hands it to the parent window
    case WM_SETTEXT:
      DefaultHandler(m);
      FText = m.LParam ? reinterpret_cast<const char16_t*>(m.LParam) : u"";
      return;
    case WM_WINDOWPOSCHANGED: {
      // The bounds first, so that WM_MOVE and WM_SIZE (sent by the default handling) see
      // them; a minimised window keeps the bounds it will be restored to.
      // A frame change (a menu bar added) resizes the client area alone.
      bool resized = !(reinterpret_cast<const WINDOWPOS*>(m.LParam)->flags & SWP_NOCLIENTSIZE);
      RECT r;
      if (!IsIconic(FHandle) && GetWindowRect(FHandle, &r)) {
        if (HWND parent = FParent && FParent->FHandle                          ? FParent->FHandle
                          : (GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_CHILD) ? GetParent(FHandle)
                                                                               : nullptr) {
          POINT o{r.Left, r.Top};
          win::ScreenToClient(parent, &o);
          r = r.Offset(o.X - r.Left, o.Y - r.Top);
        }
        resized |= r.Width() != Width() || r.Height() != Height();
        FLeft = r.Left;
        FTop = r.Top;
        FWidth = r.Width();
        FHeight = r.Height();
      }
      HWND self = FHandle;
      DefaultHandler(m);
      if (resized && FHandle == self) Realign();
      return;
    }
    case CM_SHOWINGCHANGED:
      UpdateWindowVisible();
      return;
    case CM_INVALIDATE:
      if (!FHandle) return;
      if (FParent) FParent->Perform(CM_INVALIDATE, 1, 0);
      if (m.WParam == 0) InvalidateRect(FHandle, nullptr, !(ControlStyle & csOpaque));
      return;
    case CM_RECREATEWND: {
      bool focused = Focused();
      FRecreating = true;
      try {
        DestroyHandle();
        if (!FParent || FParent->FHandle) CreateHandle();  // else made with the parent's window
      } catch (...) {
        FRecreating = false;
        throw;
      }
      FRecreating = false;
      if (focused && FHandle && CanFocus()) SetFocus();
      return;
    }
    case WM_SETTINGCHANGE:
      DefaultHandler(m);
      Perform(CM_WININICHANGE, m.WParam, m.LParam);
      return;
    case WM_FONTCHANGE:
      DefaultHandler(m);
      Perform(CM_SYSFONTCHANGED, 0, 0);
      return;
    case CM_WININICHANGE:
    case CM_SYSFONTCHANGED:
      NotifyControls(m.Msg, m.WParam, m.LParam);
      return;
    case WM_NCDESTROY:
      DefaultHandler(m);
      SetWindowLongPtrW(FHandle, GWLP_USERDATA, 0);
      FHandle = nullptr;
      FTracking = false;
      return;
    default:
      break;
  }
  TControl::WndProc(m);
}

std::optional<int> TWinControl::ScrollRequest(int bar, WPARAM wParam, int pos, int line, int page,
                                              int last) const {
  WORD code = LOWORD(std::uintptr_t(wParam));
  switch (code) {
    case SB_LINEUP:
      return pos - line;
    case SB_LINEDOWN:
      return pos + line;
    case SB_PAGEUP:
      return pos - page;
    case SB_PAGEDOWN:
      return pos + page;
    case SB_TOP:
      return 0;
    case SB_BOTTOM:
      return last;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      int carried = HIWORD(std::uintptr_t(wParam));
      SCROLLINFO si;
      si.fMask = code == SB_THUMBTRACK ? SIF_TRACKPOS : SIF_POS;
      if (!FHandle || !GetScrollInfo(FHandle, bar, &si)) return carried;
      int full = code == SB_THUMBTRACK ? si.nTrackPos : si.nPos;
      return (full & 0xFFFF) == carried ? full : carried;
    }
    default:
      return std::nullopt;
  }
}

void TWinControl::DefaultHandler(TMessage& m) {
  if (FHandle) m.Result = DefWindowProcW(FHandle, m.Msg, m.WParam, m.LParam);
}

}  // namespace fw
