#include "framework/Control.h"

#include <algorithm>
#include <numeric>

#include "framework/Application.h"
#include "framework/DragDrop.h"
#include "framework/Exception.h"
#include "framework/Form.h"
#include "framework/Menus.h"
#include "framework/WinControl.h"
#include "platform/win/KeyboardLayout.h"
#include "platform/win/Keys.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/MulDiv.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "platform/win/Window.h"

namespace fw {

namespace {

TControl* gMouseControl = nullptr;

}  // namespace

TControl* MouseControl() {
  return gMouseControl;
}

void SetMouseControl(TControl* control) {
  if (control == gMouseControl) return;
  TControl* old = gMouseControl;
  gMouseControl = control;
  if (old) old->Perform(CM_MOUSELEAVE, 0, 0);
  if (control && control == gMouseControl) control->Perform(CM_MOUSEENTER, 0, 0);
  if (Application) Application->MouseControlChanged();
}

TCustomForm* GetParentForm(const TControl* control) {
  if (!control) return nullptr;
  while (control->Parent()) control = control->Parent();
  return dynamic_cast<TCustomForm*>(const_cast<TControl*>(control));
}

TControl::TControl(TComponent* owner) : TComponent(owner) {
  FFont.OnChange = [this] { FontChangedByUser(); };
}

TControl::~TControl() {
  *FAlive = false;
  Destroying();
  SetPopupMenu(nullptr);
  TDragSession::Forget(this);
  if (gMouseControl == this) {
    gMouseControl = nullptr;
    if (Application) Application->MouseControlChanged();
  }
  if (TCustomForm* form = GetParentForm(this); form && form != this) form->ControlRemoved(this);
  if (FParent) FParent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == FParent) return;
  for (TControl* p = parent; p; p = p->Parent())
    if (p == this) throw Exception(u"A control cannot be its own parent");
  if (FParent) {
    if (TCustomForm* form = GetParentForm(this)) form->ControlRemoved(this);
    FParent->RemoveControl(this);
  }
  if (parent) parent->InsertControl(this);
}

int TScaledValue::Scale(int current, int m, int d) {
  // Ratios of scale percentages stay small; far beyond them, start afresh.
  constexpr long long kLimit = 1 << 20;
  if (current != FLast || FNum > kLimit || FDen > kLimit) {
    FStart = current;
    FNum = FDen = 1;
  }
  FNum *= m;
  FDen *= d;
  const long long g = std::gcd(FNum, FDen);
  FNum /= g;
  FDen /= g;
  FLast = win::MulDiv(FStart, int(FNum), int(FDen));
  return FLast;
}

void TControl::ChangeScale(int m, int d) {
  if (m == d || d <= 0 || m <= 0) return;
  ScaleConstraints(m, d);
  ScalePPI(m, d);
  SetBounds(FScaled[0].Scale(FLeft, m, d), FScaled[1].Scale(FTop, m, d),
            FScaled[2].Scale(FWidth, m, d), FScaled[3].Scale(FHeight, m, d));
  ScaleFont(m, d);
}

int TControl::ScaledDesignValue(int v) const {
  return win::MulDiv(v, FCurrentPPI, TFont::PixelsPerInch);
}

void TControl::ScaleFont(int m, int d) {
  if (!FParentFont) FFont.SetHeight(FScaled[4].Scale(FFont.Height(), m, d));
}

void TControl::ScaleConstraints(int m, int d) {
  TSizeConstraints& c = FConstraints;
  c.MinWidth = FScaled[5].Scale(c.MinWidth, m, d);
  c.MinHeight = FScaled[6].Scale(c.MinHeight, m, d);
  c.MaxWidth = FScaled[7].Scale(c.MaxWidth, m, d);
  c.MaxHeight = FScaled[8].Scale(c.MaxHeight, m, d);
}

void TControl::SetConstraints(const TSizeConstraints& constraints) {
  FConstraints = constraints;
  SetBounds(FLeft, FTop, FWidth, FHeight);
}

void TControl::SetAnchors(TAnchors anchors) {
  FAnchors = anchors;
  UpdateAnchorRules();
}

void TControl::UpdateAnchorRules() {
  FAnchorOrigin = BoundsRect();
  if (!FParent) {
    FAnchorParentSize = {-1, -1};
    return;
  }
  const TRect c = FParent->ClientRect();
  FAnchorParentSize = {c.Width(), c.Height()};
}

TRect TControl::AnchoredBounds(int width, int height) const {
  if (FAnchorParentSize.X < 0) return BoundsRect();
  // Along one axis: the low and high edges for a parent grown by delta.
  auto place = [](int& low, int& high, int delta, bool toLow, bool toHigh) {
    if (toHigh && toLow) {
      high = std::max(low, high + delta);
    } else if (toHigh) {
      low += delta;
      high += delta;
    } else if (!toLow) {
      low += delta / 2;
      high += delta / 2;
    }
  };
  TRect r = FAnchorOrigin;
  place(r.Left, r.Right, width - FAnchorParentSize.X, FAnchors & akLeft, FAnchors & akRight);
  place(r.Top, r.Bottom, height - FAnchorParentSize.Y, FAnchors & akTop, FAnchors & akBottom);
  return r;
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (FConstraints.MaxWidth > 0) width = std::min(width, FConstraints.MaxWidth);
  if (FConstraints.MaxHeight > 0) height = std::min(height, FConstraints.MaxHeight);
  width = std::max({width, FConstraints.MinWidth, 0});
  height = std::max({height, FConstraints.MinHeight, 0});
  TRect old = BoundsRect();
  if (old == gfx::RectOfSize(left, top, width, height)) {
    UpdateAnchorRules();
    return;
  }
  FLeft = left;
  FTop = top;
  FWidth = width;
  FHeight = height;
  UpdateAnchorRules();
  BoundsChanged(old);
  RequestAlign();
}

void TControl::UpdateBoundsRect(const TRect& r) {
  TRect old = BoundsRect();
  if (old == r) return;
  FLeft = r.Left;
  FTop = r.Top;
  FWidth = r.Width();
  FHeight = r.Height();
  BoundsChanged(old);
}

void TControl::BoundsChanged(const TRect& old) {
  if (!FParent || !FParent->HandleAllocated()) return;
  win::InvalidateRect(FParent->Handle(), &old, true);
  TRect now = BoundsRect();
  win::InvalidateRect(FParent->Handle(), &now, true);
}

void TControl::SetClientSize(int width, int height) {
  TRect c = ClientRect();
  SetBounds(FLeft, FTop, FWidth - c.Width() + width, FHeight - c.Height() + height);
}

void TControl::RequestAlign() {
  if (FParent && FAlign != TAlign::alNone) FParent->Realign();
}

void TControl::SetAlign(TAlign align) {
  if (align == FAlign) return;
  TAlign old = FAlign;
  FAlign = align;
  if (FParent && (old != TAlign::alNone || align != TAlign::alNone)) FParent->Realign();
}

bool TControl::Showing() const {
  return FVisible && FParent && FParent->Showing();
}

void TControl::SetVisible(bool visible) {
  if (visible == FVisible) return;
  FVisible = visible;
  Perform(CM_VISIBLECHANGED, visible, 0);
  RequestAlign();
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == FEnabled) return;
  FEnabled = enabled;
  Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetColor(TColor color) {
  if (color == FColor) return;
  FParentColor = false;
  ApplyColor(color);
}

void TControl::ApplyColor(TColor color) {
  if (color == FColor) return;
  FColor = color;
  Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool parentColor) {
  if (parentColor == FParentColor) return;
  FParentColor = parentColor;
  if (parentColor) ParentColorChanged();
}

void TControl::ParentColorChanged() {
  if (FParentColor && FParent) ApplyColor(FParent->Color());
}

bool TControl::ShowHint() const {
  if (FParentShowHint && FParent) return FParent->ShowHint();
  return FShowHint;
}

void TControl::SetShowHint(bool showHint) {
  FParentShowHint = false;
  if (showHint == FShowHint) return;
  FShowHint = showHint;
  Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool parentShowHint) {
  if (parentShowHint == FParentShowHint) return;
  FParentShowHint = parentShowHint;
  Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentFont(bool parentFont) {
  if (parentFont == FParentFont) return;
  FParentFont = parentFont;
  if (parentFont) ParentFontChanged();
}

void TControl::FontChangedByUser() {
  if (!FFontFromParent) FParentFont = false;
  Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetHint(const std::u16string& hint) {
  FHint = hint;
}

std::u16string TControl::ActualHint() const {
  for (const TControl* c = this; c; c = c->Parent())
    if (!c->Hint().empty()) return c->Hint();
  return {};
}

void TControl::SetCursor(TCursor cursor) {
  if (cursor == FCursor) return;
  FCursor = cursor;
  Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::SetText(const std::u16string& text) {
  if (text == GetText()) return;
  SetTextBuf(text);
  Perform(CM_TEXTCHANGED, 0, 0);
}

void TWndNext::operator()(TMessage& m) const {
  FControl->CallBelow(FHook, m);
}

void TControl::WindowProc(TMessage& m) {
  CallBelow(~TWndHookId(0), m);
}

void TControl::CallBelow(TWndHookId hook, TMessage& m) {
  // The newest link older than the caller: found anew each time, so removals anywhere in the
  // chain (the caller's own included) take effect at once.
  for (auto it = FHooks.rbegin(); it != FHooks.rend(); ++it)
    if ((*it)->id < hook) {
      std::shared_ptr<const THookLink> link = *it;
      link->hook(m, TWndNext(this, link->id));
      return;
    }
  WndProc(m);
}

TWndHookId TControl::HookWindowProc(TWndHook hook) {
  static TWndHookId next = 0;
  FHooks.push_back(std::make_shared<const THookLink>(THookLink{++next, std::move(hook)}));
  return FHooks.back()->id;
}

bool TControl::UnhookWindowProc(TWndHookId hook) {
  return std::erase_if(FHooks, [hook](const auto& link) { return link->id == hook; }) != 0;
}

bool TControl::WindowProcHooked(TWndHookId hook) const {
  return std::any_of(FHooks.begin(), FHooks.end(),
                     [hook](const auto& link) { return link->id == hook; });
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  WindowProc(m);
  return m.Result;
}

void TControl::SetBiDiMode(TBiDiMode mode) {
  if (mode == FBiDiMode) return;
  FBiDiMode = mode;
  Perform(CM_BIDIMODECHANGED, 0, 0);
}

unsigned TControl::DrawTextBiDiModeFlags(unsigned flags) const {
  if (UseRightToLeftAlignment()) {
    if ((flags & gfx::DT_RIGHT) == gfx::DT_RIGHT)
      flags &= ~gfx::DT_RIGHT;
    else if (!(flags & gfx::DT_CENTER))
      flags |= gfx::DT_RIGHT;
  }
  if (UseRightToLeftReading()) flags |= gfx::DT_RTLREADING;
  return flags;
}

void TControl::Invalidate() {
  Perform(CM_INVALIDATE, 0, 0);
}

void TControl::Repaint() {
  Invalidate();
  if (FParent && FParent->HandleAllocated()) win::UpdateWindow(FParent->Handle());
}

void TControl::BringToFront() {
  if (FParent) FParent->MoveToEnd(this, true);
}

void TControl::SendToBack() {
  if (FParent) FParent->MoveToEnd(this, false);
}

TPoint TControl::ClientOriginInWindow() const {
  if (!FParent) return {FLeft, FTop};
  TPoint o = FParent->ClientOriginInWindow();
  return {o.X + FLeft, o.Y + FTop};
}

TWinControl* TControl::WindowHost() const {
  return FParent ? FParent->WindowHost() : nullptr;
}

TPoint TControl::ClientToScreen(TPoint p) const {
  TPoint o = ClientOriginInWindow();
  TPoint q{p.X + o.X, p.Y + o.Y};
  if (TWinControl* host = WindowHost(); host && host->HandleAllocated())
    win::ClientToScreen(host->Handle(), &q);
  return q;
}

TPoint TControl::ScreenToClient(TPoint p) const {
  TPoint o = ClientToScreen({0, 0});
  return {p.X - o.X, p.Y - o.Y};
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

TShiftState TControl::ShiftFromKeys(WPARAM keys) {
  TShiftState s = 0;
  if (keys & win::MK_SHIFT) s |= ssShift;
  if (keys & win::MK_CONTROL) s |= ssCtrl;
  if (keys & win::MK_LBUTTON) s |= ssLeft;
  if (keys & win::MK_RBUTTON) s |= ssRight;
  if (keys & win::MK_MBUTTON) s |= ssMiddle;
  if (win::GetKeyState(win::VK_MENU) < 0) s |= ssAlt;
  return s;
}

bool TControl::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
  bool handled = false;
  if (OnMouseWheel) OnMouseWheel(this, shift, wheelDelta, mousePos, handled);
  return handled;
}

void TControl::WndProc(TMessage& m) {
  using namespace win;
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: {
      if (!FEnabled) return;
      bool dbl =
          m.Msg == WM_LBUTTONDBLCLK || m.Msg == WM_RBUTTONDBLCLK || m.Msg == WM_MBUTTONDBLCLK;
      TMouseButton b = (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK) ? TMouseButton::mbLeft
                       : (m.Msg == WM_RBUTTONDOWN || m.Msg == WM_RBUTTONDBLCLK)
                           ? TMouseButton::mbRight
                           : TMouseButton::mbMiddle;
      if (b == TMouseButton::mbLeft && (ControlStyle & csClickEvents)) FClicked = true;
      TPoint p = PointFromLParam(m.LParam);
      // The handlers may free the control (a double click closing its form).
      const std::shared_ptr<const bool> alive = FAlive;
      if (dbl && b == TMouseButton::mbLeft) DblClick();
      if (!*alive) return;
      MouseDown(b, ShiftFromKeys(m.WParam) | (dbl ? TShiftState(ssDouble) : 0u), p.X, p.Y);
      if (!*alive) return;
      // After the control's own reaction (a tree selects the node pressed first).
      if (b == TMouseButton::mbLeft && !dbl && FDragMode == TDragMode::dmAutomatic)
        BeginDrag(false);
      return;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      if (!FEnabled) return;
      TMouseButton b = m.Msg == WM_LBUTTONUP   ? TMouseButton::mbLeft
                       : m.Msg == WM_RBUTTONUP ? TMouseButton::mbRight
                                               : TMouseButton::mbMiddle;
      TPoint p = PointFromLParam(m.LParam);
      const std::shared_ptr<const bool> alive = FAlive;
      MouseUp(b, ShiftFromKeys(m.WParam), p.X, p.Y);
      if (!*alive) return;
      if (b == TMouseButton::mbLeft && FClicked) {
        FClicked = false;
        if (ClientRect().Contains(p)) Click();
      }
      // The default handling of a right release asks for the context menu (WM_CONTEXTMENU);
      // a windowless control asks its window, which hands the request to the control under
      // the point.
      if (b == TMouseButton::mbRight) {
        TWinControl* host = WindowHost();
        if (host && host != this && host->HandleAllocated())
          win::SendMessageW(host->Handle(), WM_CONTEXTMENU, WPARAM(host->Handle()),
                            win::LParamFromPoint(ClientToScreen(p)));
        else
          DefaultHandler(m);
      }
      return;
    }
    case WM_CONTEXTMENU:
      if (ContextPopup(m.LParam))
        m.Result = 1;
      else
        DefaultHandler(m);
      return;
    case WM_MOUSEMOVE: {
      if (!FEnabled) return;
      TPoint p = PointFromLParam(m.LParam);
      MouseMove(ShiftFromKeys(m.WParam), p.X, p.Y);
      return;
    }
    case CM_MOUSEENTER:
      FMouseInControl = true;
      MouseEnter();
      return;
    case CM_MOUSELEAVE:
      FMouseInControl = false;
      FClicked = false;
      MouseLeave();
      return;
    case CM_VISIBLECHANGED:
      VisibleChanged();
      return;
    case CM_ENABLEDCHANGED:
      if (!FEnabled) FClicked = false;
      EnabledChanged();
      return;
    case CM_COLORCHANGED:
      ColorChanged();
      return;
    case CM_FONTCHANGED:
      FontChanged();
      return;
    case CM_TEXTCHANGED:
      TextChanged();
      return;
    case CM_PARENTFONTCHANGED:
      ParentFontChanged();
      return;
    case CM_PARENTCOLORCHANGED:
      ParentColorChanged();
      return;
    case CM_HITTEST:
      m.Result = HitTest(PointFromLParam(m.LParam)) ? HTCLIENT : HTNOWHERE;
      return;
    case CM_INVALIDATE:
      if (FParent && FParent->HandleAllocated()) {
        TRect r = BoundsRect();
        win::InvalidateRect(FParent->Handle(), &r, !(ControlStyle & csOpaque));
      }
      return;
    default:
      DefaultHandler(m);
  }
}

void TControl::DefaultHandler(TMessage&) {}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::BeginDrag(bool immediate, int threshold) {
  TDragSession::Begin(this, immediate, threshold);
}

bool TControl::Dragging() const {
  return TDragSession::Source() == this;
}

void TControl::EndDrag(bool drop) {
  if (Dragging()) TDragSession::Finish(drop);
}

void TControl::DragOver(TControl* source, int x, int y, TDragState state, bool& accept) {
  if (!OnDragOver) return;
  accept = true;
  OnDragOver(this, source, x, y, state, accept);
}

void TControl::DragDrop(TControl* source, int x, int y) {
  if (OnDragDrop) OnDragDrop(this, source, x, y);
}

void TControl::DoEndDrag(TControl* target, int x, int y) {
  if (OnEndDrag) OnEndDrag(this, target, x, y);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::MouseEnter() {
  if (OnMouseEnter) OnMouseEnter(this);
}

void TControl::MouseLeave() {
  if (OnMouseLeave) OnMouseLeave(this);
}

void TControl::VisibleChanged() {
  if (!FParent || !FParent->HandleAllocated()) return;
  TRect r = BoundsRect();
  win::InvalidateRect(FParent->Handle(), &r, true);
}

void TControl::EnabledChanged() {
  Invalidate();
}

void TControl::ColorChanged() {
  Invalidate();
}

void TControl::FontChanged() {
  Invalidate();
}

void TControl::TextChanged() {
  Invalidate();
}

void TControl::ParentFontChanged() {
  if (!FParentFont || !FParent) return;
  FFontFromParent = true;
  FFont.Assign(FParent->Font());
  FFontFromParent = false;
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
  if (menu == FPopupMenu) return;
  if (FPopupMenu) {
    RemoveFreeNotification(FPopupMenu);
    // The menu's choice arrives as a posted command, after its loop: a handler reading
    // PopupComponent then must not find a control that has left (or been freed).
    if (FPopupMenu->PopupComponent == this) FPopupMenu->PopupComponent = nullptr;
  }
  FPopupMenu = menu;
  if (FPopupMenu) FreeNotification(FPopupMenu);
}

void TControl::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == FPopupMenu) FPopupMenu = nullptr;
}

bool TControl::ContextPopup(LPARAM where) {
  if (!FPopupMenu || !FPopupMenu->AutoPopup || !Enabled()) return false;
  TPoint at = where == -1 ? ClientToScreen({0, 0}) : win::PointFromLParam(where);
  FPopupMenu->PopupComponent = this;
  FPopupMenu->Popup(at.X, at.Y);
  return true;
}

}  // namespace fw
