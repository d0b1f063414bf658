#include "framework/Form.h"

#include <algorithm>

#include "framework/Application.h"
#include "framework/Exception.h"
#include "framework/Menus.h"
#include "platform/win/Input.h"
#include "platform/win/KeyboardLayout.h"
#include "platform/win/Keys.h"
#include "platform/win/Mdi.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Window.h"

namespace fw {

using namespace win;

namespace {
constexpr UINT kFirstMDIChild = 0xFF00;  // the window menu's commands for the children
}  // namespace

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
  SetVisible(false);
  SetColor(clBtnFace);
  SetParentFont(false);
  ControlStyle |= csAcceptsControls;
  ControlStyle &= ~TControlStyle(csCaptureMouse | csClickEvents);
  SetBounds(0, 0, 320, 240);
  FIcon.OnChange = [this] { IconChanged(); };
  if (Application) Application->FormConstructed(this);
}

TCustomForm::~TCustomForm() {
  Destroying();
  RaiseNotifyEvent(OnDestroy, this, false);
  if (Application) Application->FormDestroyed(this);
}

void TCustomForm::AfterConstruction() {
  RaiseNotifyEvent(OnCreate, this, true);
}

void TCustomForm::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.WndParent = nullptr;
  p.Style = WS_CLIPCHILDREN;
  p.ExStyle = 0;
  bool sysMenu = FBorderIcons & biSystemMenu;
  DWORD boxes = 0;  // minimise and maximise boxes come only with the system menu
  if (sysMenu && (FBorderIcons & biMinimize)) boxes |= WS_MINIMIZEBOX;
  if (sysMenu && (FBorderIcons & biMaximize)) boxes |= WS_MAXIMIZEBOX;
  DWORD menu = sysMenu ? WS_SYSMENU : 0;
  switch (FBorderStyle) {
    case TFormBorderStyle::bsNone:
      p.Style |= WS_POPUP;
      break;
    case TFormBorderStyle::bsSingle:
      p.Style |= WS_CAPTION | menu | boxes;
      break;
    case TFormBorderStyle::bsSizeable:
      p.Style |= WS_CAPTION | WS_THICKFRAME | menu | boxes;
      break;
    case TFormBorderStyle::bsDialog:
      p.Style |= WS_POPUP | WS_CAPTION | menu;
      p.ExStyle |= WS_EX_DLGMODALFRAME;
      break;
    case TFormBorderStyle::bsToolWindow:
      p.Style |= WS_CAPTION | menu;
      p.ExStyle |= WS_EX_TOOLWINDOW;
      break;
    case TFormBorderStyle::bsSizeToolWin:
      p.Style |= WS_CAPTION | menu | WS_THICKFRAME;
      p.ExStyle |= WS_EX_TOOLWINDOW;
      break;
  }
  // The help button shows where there are no minimise and maximise boxes.
  if (sysMenu && (FBorderIcons & biHelp) && FBorderStyle != TFormBorderStyle::bsNone &&
      !(p.Style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)))
    p.ExStyle |= WS_EX_CONTEXTHELP;
  if (!Enabled()) p.Style |= WS_DISABLED;
  if (FFormStyle == TFormStyle::fsStayOnTop) p.ExStyle |= WS_EX_TOPMOST;
  if (FAlphaBlend) p.ExStyle |= WS_EX_LAYERED;
  if (FFormStyle == TFormStyle::fsMDIChild) {
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    bool mdiMain = main && main != this && main->FormStyle() == TFormStyle::fsMDIForm;
    if (mdiMain) main->HandleNeeded();
    if (!mdiMain || !main->FClientHandle)
      throw Exception(u"Cannot create form. No MDI forms are currently active");
    p.Style = (p.Style & ~WS_POPUP) | WS_CHILD | WS_CLIPSIBLINGS;
    p.ExStyle = (p.ExStyle & ~(WS_EX_TOPMOST | WS_EX_LAYERED)) | WS_EX_MDICHILD;
    p.WndParent = main->FClientHandle;
  }
}

HWND TCustomForm::CreateWindowHandle(const TCreateParams& p) {
  if (!(p.ExStyle & WS_EX_MDICHILD)) return TWinControl::CreateWindowHandle(p);
  MDICREATESTRUCTW mcs;
  mcs.szClass = p.WinClassName.c_str();
  mcs.szTitle = p.Caption.c_str();
  mcs.x = p.X, mcs.y = p.Y, mcs.cx = p.Width, mcs.cy = p.Height;
  mcs.style = p.Style;
  mcs.lParam = reinterpret_cast<LPARAM>(static_cast<TWinControl*>(this));
  return reinterpret_cast<HWND>(
      SendMessageW(p.WndParent, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
}

void TCustomForm::DefaultHandler(TMessage& m) {
  if (!HandleAllocated()) return;
  if (FFormStyle == TFormStyle::fsMDIChild &&
      (GetWindowLongPtrW(Handle(), GWL_EXSTYLE) & WS_EX_MDICHILD)) {
    m.Result = DefMDIChildProcW(Handle(), m.Msg, m.WParam, m.LParam);
  } else if (FClientHandle && m.Msg != WM_SIZE) {
    // The form places the client itself, in the room its aligned controls leave.
    m.Result = DefFrameProcW(Handle(), FClientHandle, m.Msg, m.WParam, m.LParam);
  } else {
    TWinControl::DefaultHandler(m);
  }
}

void TCustomForm::AlignControls(TRect& rect) {
  TWinControl::AlignControls(rect);
  if (FClientHandle && IsWindow(FClientHandle))
    MoveWindow(FClientHandle, rect.Left, rect.Top, rect.Width(), rect.Height(), true);
}

int TCustomForm::MDIChildCount() const {
  int n = 0;
  while (MDIChildren(n)) ++n;
  return n;
}

TCustomForm* TCustomForm::MDIChildren(int index) const {
  if (!FClientHandle || index < 0) return nullptr;
  for (HWND h = GetWindow(FClientHandle, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
    if (auto* form = dynamic_cast<TCustomForm*>(FindControl(h)))
      if (index-- == 0) return form;
  return nullptr;
}

TCustomForm* TCustomForm::ActiveMDIChild() const {
  if (!FClientHandle) return nullptr;
  return dynamic_cast<TCustomForm*>(
      FindControl(reinterpret_cast<HWND>(SendMessageW(FClientHandle, WM_MDIGETACTIVE, 0, 0))));
}

void TCustomForm::SetWindowMenu(TMenuItem* item) {
  if (item == FWindowMenu) return;
  if (FWindowMenu) RemoveFreeNotification(FWindowMenu);
  FWindowMenu = item;
  if (FWindowMenu) FreeNotification(FWindowMenu);
  MenuChanged();
}

void TCustomForm::Tile() {
  if (FClientHandle)
    SendMessageW(FClientHandle, WM_MDITILE,
                 FTileMode == TTileMode::tbHorizontal ? MDITILE_HORIZONTAL : MDITILE_VERTICAL, 0);
}

void TCustomForm::Cascade() {
  if (FClientHandle) SendMessageW(FClientHandle, WM_MDICASCADE, 0, 0);
}

void TCustomForm::ArrangeIcons() {
  if (FClientHandle) SendMessageW(FClientHandle, WM_MDIICONARRANGE, 0, 0);
}

void TCustomForm::Next() {
  if (FClientHandle) SendMessageW(FClientHandle, WM_MDINEXT, 0, 0);
}

void TCustomForm::Previous() {
  if (FClientHandle) SendMessageW(FClientHandle, WM_MDINEXT, 0, 1);
}

void TCustomForm::CreateWnd() {
  TWinControl::CreateWnd();
  if (FFormStyle == TFormStyle::fsMDIForm) {
    CLIENTCREATESTRUCT ccs{nullptr, kFirstMDIChild};
    RECT r;
    GetClientRect(Handle(), &r);
    FClientHandle = CreateWindowExW(
        WS_EX_CLIENTEDGE, MDICLIENT_CLASS, u"",
        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_HSCROLL | WS_VSCROLL, r.Left,
        r.Top, r.Width(), r.Height(), Handle(), 0xFFFF, &ccs);
    Realign();
  }
  UpdateLayered();
  IconChanged();
  MenuChanged();
}

void TCustomForm::SetMenu(TMainMenu* menu) {
  if (menu == FMenu) return;
  if (FMenu) {
    RemoveFreeNotification(FMenu);
    if (HandleAllocated() && win::GetMenu(Handle()) == FMenu->Handle())
      win::SetMenu(Handle(), nullptr);
    FMenu->SetWindowHandle(nullptr);
  }
  FMenu = menu;
  if (FMenu) {
    FreeNotification(FMenu);
    FMenu->ParentBiDiModeChanged(BiDiMode());
  }
  MenuChanged();
}

void TCustomForm::MenuChanged() {
  if (!HandleAllocated()) return;
  if (FMenu) {
    FMenu->SetWindowHandle(Handle());
    win::SetMenu(Handle(), FMenu->Handle());
  } else if (win::GetMenu(Handle())) {
    win::SetMenu(Handle(), nullptr);
  }
  // The client puts its child list and a maximised child's buttons on the menus now shown.
  if (FClientHandle)
    SendMessageW(FClientHandle, WM_MDISETMENU,
                 reinterpret_cast<WPARAM>(FMenu ? FMenu->Handle() : nullptr),
                 reinterpret_cast<LPARAM>(FMenu && FWindowMenu ? FMenu->SubmenuHandle(FWindowMenu)
                                                               : nullptr));
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == FMenu) FMenu = nullptr;
  if (operation == TOperation::opRemove && component == FWindowMenu) FWindowMenu = nullptr;
}

void TCustomForm::SetWindowState(TWindowState state) {
  if (state == FWindowState) return;
  FWindowState = state;
  if (HandleAllocated() && Showing()) ShowWindow(Handle(), ShowCommand());
}

int TCustomForm::ShowCommand() const {
  switch (FWindowState) {
    case TWindowState::wsMinimized:
      return SW_SHOWMINIMIZED;
    case TWindowState::wsMaximized:
      return SW_SHOWMAXIMIZED;
    default:
      return SW_SHOWNORMAL;
  }
}

void TCustomForm::SetFormStyle(TFormStyle style) {
  if (style == FFormStyle) return;
  bool wasOnTop = FFormStyle == TFormStyle::fsStayOnTop;
  FFormStyle = style;
  if (HandleAllocated() && wasOnTop != (style == TFormStyle::fsStayOnTop))
    SetWindowPos(Handle(), wasOnTop ? HWND_NOTOPMOST : HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCustomForm::SetAlphaBlend(bool alphaBlend) {
  if (alphaBlend == FAlphaBlend) return;
  FAlphaBlend = alphaBlend;
  UpdateLayered();
}

void TCustomForm::SetAlphaBlendValue(std::uint8_t value) {
  if (value == FAlphaBlendValue) return;
  FAlphaBlendValue = value;
  UpdateLayered();
}

void TCustomForm::UpdateLayered() {
  if (!HandleAllocated()) return;
  HWND h = Handle();
  LONG_PTR ex = GetWindowLongPtrW(h, GWL_EXSTYLE);
  if (!FAlphaBlend) {
    if (ex & WS_EX_LAYERED) SetWindowLongPtrW(h, GWL_EXSTYLE, ex & ~LONG_PTR(WS_EX_LAYERED));
    return;
  }
  if (!(ex & WS_EX_LAYERED)) SetWindowLongPtrW(h, GWL_EXSTYLE, ex | WS_EX_LAYERED);
  SetLayeredWindowAttributes(h, 0, FAlphaBlendValue, LWA_ALPHA);
}

void TCustomForm::IconChanged() {
  if (HandleAllocated())
    SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(FIcon.Handle()));
}

void TCustomForm::SetBorderStyle(TFormBorderStyle style) {
  if (style == FBorderStyle) return;
  FBorderStyle = style;
  UpdateWindowStyle();
}

void TCustomForm::SetBorderIcons(TBorderIcons icons) {
  icons &= biSystemMenu | biMinimize | biMaximize | biHelp;
  if (icons == FBorderIcons) return;
  FBorderIcons = icons;
  UpdateWindowStyle();
}

void TCustomForm::UpdateWindowStyle() {
  if (!HandleAllocated()) return;
  TCreateParams p;
  CreateParams(p);
  DWORD visible = GetWindowLongPtrW(Handle(), GWL_STYLE) & WS_VISIBLE;
  SetWindowLongPtrW(Handle(), GWL_STYLE, LONG_PTR(p.Style | visible));
  SetWindowLongPtrW(Handle(), GWL_EXSTYLE, LONG_PTR(p.ExStyle));
  SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TCustomForm::PlaceOnFirstShow() {
  if (FPlaced) return;
  FPlaced = true;
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  switch (FPosition) {
    case TPosition::poDesigned:
      return;
    case TPosition::poMainFormCenter:
      if (Application && Application->MainForm() && Application->MainForm() != this)
        area = Application->MainForm()->BoundsRect();
      break;
    default:
      break;
  }
  SetBounds(area.Left + (area.Width() - Width()) / 2, area.Top + (area.Height() - Height()) / 2,
            Width(), Height());
}

void TCustomForm::VisibleChanged() {
  if (Visible()) HandleNeeded();  // making the window brings the form to Showing
  UpdateShowing();
}

void TCustomForm::ShowingChanged() {
  if (!HandleAllocated()) return;
  if (Showing()) {
    if (!Recreating()) RaiseNotifyEvent(OnShow, this, true);
    if (!Showing()) return;  // the handler hid the form again
    PlaceOnFirstShow();
    ShowWindow(Handle(), ShowCommand());
  } else {
    RaiseNotifyEvent(OnHide, this, true);
    ShowWindow(Handle(), SW_HIDE);
  }
}

void TCustomForm::SetActiveControl(TWinControl* control) {
  if (control && !ContainsControl(control)) throw Exception(u"The control is not on this form");
  if (control && FActive && control->CanFocus())
    control->SetFocus();
  else
    FActiveControl = control;
}

void TCustomForm::SetFocusedControl(TWinControl* control) {
  if (control == this) {
    // The form's own window got the focus: hand it to the active (or first) control.
    TWinControl* target = FActiveControl && FActiveControl->CanFocus()
                              ? FActiveControl
                              : FindNextControl(nullptr, true, true);
    if (target) target->SetFocus();
    return;
  }
  if (control == FActiveControl) return;
  TWinControl* old = FActiveControl;
  FActiveControl = control;
  if (old) old->Perform(CM_EXIT, 0, 0);
  if (FActiveControl == control) control->Perform(CM_ENTER, 0, 0);
  Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
  Broadcast(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
}

void TCustomForm::ControlRemoved(TControl* control) {
  if (FActiveControl && (FActiveControl == control ||
                         (dynamic_cast<TWinControl*>(control) &&
                          static_cast<TWinControl*>(control)->ContainsControl(FActiveControl))))
    FActiveControl = nullptr;
}

void TCustomForm::SelectNext(TWinControl* current, bool forward, bool checkTabStop) {
  if (TWinControl* next = FindNextControl(current, forward, checkTabStop)) next->SetFocus();
}

bool TCustomForm::IsShortCut(std::uint16_t shortCut) {
  return FMenu && FMenu->IsShortCut(shortCut);
}

bool TCustomForm::DialogKey(WORD key) {
  if (key == VK_TAB) {
    SelectNext(FActiveControl, GetKeyState(VK_SHIFT) >= 0, true);
    return true;
  }
  return Broadcast(CM_DIALOGKEY, key, 0) != 0;
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (FModal) {
    FModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  // An MDI child minimises by default (or stays, without a minimise button).
  TCloseAction action = TCloseAction::caHide;
  if (FFormStyle == TFormStyle::fsMDIChild)
    action = (FBorderIcons & biMinimize) ? TCloseAction::caMinimize : TCloseAction::caNone;
  if (OnClose) OnClose(this, action);
  if (action == TCloseAction::caNone) return;
  if (action == TCloseAction::caMinimize) {
    SetWindowState(TWindowState::wsMinimized);
    return;
  }
  if (Application && Application->MainForm() == this) {
    Application->Terminate();
    return;
  }
  if (action == TCloseAction::caHide)
    Hide();
  else
    Release();
}

void TCustomForm::Release() {
  PostMessageW(Handle(), CM_RELEASE, 0, 0);
}

TModalResult TCustomForm::ShowModal() {
  if (Visible() || FModal) throw Exception(u"Cannot make a visible window modal");
  if (!Application) throw Exception(u"A modal form needs the application");
  if (GetCapture()) ReleaseCapture();
  HWND own = Handle();
  std::vector<HWND> disabled;
  EnumWindows(
      [&](HWND h, LPARAM) {
        if (h != own && IsWindowVisible(h) && IsWindowEnabled(h)) {
          EnableWindow(h, false);
          disabled.push_back(h);
        }
        return true;
      },
      0);
  FModal = true;
  FModalResult = mrNone;
  auto finish = [&] {
    FModal = false;
    for (HWND h : disabled)
      if (IsWindow(h)) EnableWindow(h, true);
    Hide();
  };
  try {
    Show();
    while (FModalResult == mrNone) {
      Application->HandleMessage();
      if (Application->Terminated()) FModalResult = mrCancel;
    }
    TCloseAction action = TCloseAction::caHide;
    if (OnClose) OnClose(this, action);
  } catch (...) {
    finish();
    throw;
  }
  finish();
  return FModalResult;
}

void TCustomForm::WndProc(TMessage& m) {
  if ((m.Msg == win::WM_COMMAND || m.Msg == win::WM_MEASUREITEM || m.Msg == win::WM_DRAWITEM) &&
      DispatchMenuMessage(m))
    return;
  switch (m.Msg) {
    case WM_CLOSE:
      Close();
      return;
    case CM_RELEASE:
      delete this;
      return;
    case CM_DIALOGKEY:
      m.Result = DialogKey(WORD(m.WParam)) ? 1 : 0;
      return;
    case CM_DIALOGCHAR:
      // An accelerator character, offered to every control on the form; the first that takes
      // it answers 1.
      m.Result = Broadcast(CM_DIALOGCHAR, m.WParam, m.LParam);
      return;
    case WM_GETMINMAXINFO: {
      TWinControl::WndProc(m);
      auto* mm = reinterpret_cast<MINMAXINFO*>(m.LParam);
      if (Constraints().MinWidth > 0) mm->ptMinTrackSize.X = Constraints().MinWidth;
      if (Constraints().MinHeight > 0) mm->ptMinTrackSize.Y = Constraints().MinHeight;
      if (Constraints().MaxWidth > 0) mm->ptMaxTrackSize.X = Constraints().MaxWidth;
      if (Constraints().MaxHeight > 0) mm->ptMaxTrackSize.Y = Constraints().MaxHeight;
      return;
    }
    case CM_MENUCHANGED:
      MenuChanged();
      return;
    case CM_BIDIMODECHANGED:
      // The menu bar reads the way its form does.
      if (FMenu) FMenu->ParentBiDiModeChanged(BiDiMode());
      TWinControl::WndProc(m);
      return;
    case WM_SYSCOMMAND:
      // The main form's minimise, and its restore from minimised, are the application's: the
      // application window's filters see them first (not when the form owns the taskbar
      // button).
      if (Application && Application->MainForm() == this && !Application->MainFormOnTaskBar &&
          ((m.WParam & 0xFFF0) == SC_MINIMIZE ||
           ((m.WParam & 0xFFF0) == SC_RESTORE && IsIconic(Handle())))) {
        m.Result = SendMessageW(Application->Handle(), WM_SYSCOMMAND, m.WParam, m.LParam);
        return;
      }
      TWinControl::WndProc(m);
      return;
    case CM_SHOWINGCHANGED:
      ShowingChanged();
      return;
    case WM_SIZE:
      TWinControl::WndProc(m);
      // The sizes a hidden window gets (at its creation) say nothing of the state asked for.
      if (!HandleAllocated() || !IsWindowVisible(Handle())) return;
      switch (m.WParam) {
        case SIZE_MINIMIZED:
          FWindowState = TWindowState::wsMinimized;
          break;
        case SIZE_MAXIMIZED:
          FWindowState = TWindowState::wsMaximized;
          break;
        case SIZE_RESTORED:
          FWindowState = TWindowState::wsNormal;
          break;
        default:
          break;
      }
      return;
    case WM_MDIACTIVATE:
      // An MDI child is activated inside its parent: the form's activation events follow.
      TWinControl::WndProc(m);
      if (FFormStyle == TFormStyle::fsMDIChild) {
        bool on = HwndFromParam(std::uintptr_t(m.LParam)) == Handle();
        if (on == FActive) return;
        FActive = on;
        if (on && OnActivate) OnActivate(this);
        if (!on && OnDeactivate) OnDeactivate(this);
      }
      return;
    case WM_DESTROY:
      TWinControl::WndProc(m);
      FClientHandle = nullptr;  // destroyed with the form's window
      return;
    case WM_ACTIVATE:
      TWinControl::WndProc(m);
      if (LOWORD(m.WParam) != WA_INACTIVE) {
        FActive = true;
        if (Application) Application->FormActivated(this);
        if (OnActivate) OnActivate(this);
      } else {
        FActive = false;
        if (OnDeactivate) OnDeactivate(this);
      }
      return;
    default:
      TWinControl::WndProc(m);
  }
}

}  // namespace fw
