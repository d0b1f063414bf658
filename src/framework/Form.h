// Forms: top-level windows of the framework. A form is created hidden, shows centred when asked
// (Position), keeps its size within Constraints, tracks its active control (CM_ENTER/CM_EXIT,
// CM_FOCUSCHANGED), moves the focus with Tab, passes Enter and Esc to its default and cancel
// buttons (CM_DIALOGKEY), closes through OnCloseQuery/OnClose, and can be shown modally.
//
// Showing a form: Show sets Visible; the form's handling of CM_SHOWINGCHANGED raises OnShow,
// places the form on its first showing, then shows the window in its WindowState (activating
// it unless minimised). Hiding raises OnHide, then hides the window.
#pragma once

#include "framework/Icon.h"
#include "framework/WinControl.h"

namespace fw {

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum class TPosition { poDesigned, poScreenCenter, poDesktopCenter, poMainFormCenter };
// caMinimize: an MDI child's default, which minimises it inside its parent.
enum class TCloseAction { caNone, caHide, caFree, caMinimize };
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
// fsStayOnTop keeps the form above other windows. An fsMDIForm holds an MDI client window
// (ClientHandle) in the room its aligned controls leave; an fsMDIChild form is a child window
// of the main form's client, with its own caption frame. The style counts when the window is
// made.
enum class TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
// How Tile arranges MDI children: rows one above the other, or columns side by side.
enum class TTileMode { tbHorizontal, tbVertical };

// The buttons of the title bar (a set); the close button comes with the system menu.
enum TBorderIconFlag : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
using TBorderIcons = unsigned;

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;

using TCloseEvent = std::function<void(TComponent* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TComponent* sender, bool& canClose)>;

class TMainMenu;
class TMenuItem;

class TCustomForm : public TWinControl {
 public:
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;
  std::string ClassName() const override { return "TForm"; }

  // Raises OnCreate (errors go to the application's handler); CreateForm calls it.
  void AfterConstruction() override;

  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle style);
  TBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons icons);
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition position) { FPosition = position; }
  // The window's state; kept in step with the window (the user's maximise or minimise).
  TWindowState WindowState() const { return FWindowState; }
  void SetWindowState(TWindowState state);
  TFormStyle FormStyle() const { return FFormStyle; }
  void SetFormStyle(TFormStyle style);
  // A translucent form: a layered window with the constant opacity AlphaBlendValue (0 to 255,
  // default 255) while AlphaBlend is on.
  bool AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool alphaBlend);
  std::uint8_t AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(std::uint8_t value);
  // The title bar's icon, given to the window (WM_SETICON, ICON_BIG); empty: the window's
  // default.
  TIcon& Icon() { return FIcon; }
  const TIcon& Icon() const { return FIcon; }
  // The menu bar (a TMainMenu), shown in the window's frame; forgotten when freed. The form's
  // window gets its messages, and of any menu's (DispatchMenuMessage).
  TMainMenu* Menu() const { return FMenu; }
  void SetMenu(TMainMenu* menu);
  // MDI parent (fsMDIForm): the client window, its children in z-order (the active first),
  // the active one, and their arrangement.
  HWND ClientHandle() const { return FClientHandle; }
  int MDIChildCount() const;
  TCustomForm* MDIChildren(int index) const;  // null out of range
  TCustomForm* ActiveMDIChild() const;
  // The menu item whose submenu lists the children (checked: the active one); may be null.
  TMenuItem* WindowMenu() const { return FWindowMenu; }
  void SetWindowMenu(TMenuItem* item);
  TTileMode TileMode() const { return FTileMode; }
  void SetTileMode(TTileMode mode) { FTileMode = mode; }
  void Tile();
  void Cascade();
  void ArrangeIcons();
  void Next();
  void Previous();

  // The control that has (or gets, when the form is activated) the focus; may be null.
  TWinControl* ActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* control);
  // Moves the focus to the next (or previous) control in tab order.
  void SelectNext(TWinControl* current, bool forward, bool checkTabStop);
  bool Active() const { return FActive; }
  // The form sees the keys of its controls first: its OnKeyDown, OnKeyUp and OnKeyPress run
  // before the focused control's and may swallow the key (set it to 0).
  bool KeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool keyPreview) { FKeyPreview = keyPreview; }
  // Clicks the item of the form's menu bar whose ShortCut is shortCut (a key with its shift
  // state, see ShortCut in Menus.h); false when none answers it.
  virtual bool IsShortCut(std::uint16_t shortCut);

  // Asks OnCloseQuery, then OnClose; hides (caHide) or frees (caFree) the form. Closing the
  // main form ends the application.
  void Close();
  bool CloseQuery();
  // Shows the form modally and returns its ModalResult; other forms are disabled meanwhile.
  TModalResult ShowModal();
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult r) { FModalResult = r; }
  bool Modal() const { return FModal; }
  // Frees the form once the messages now queued are handled.
  void Release();

  // Bookkeeping from controls: the focus moved to control; control leaves the form.
  void SetFocusedControl(TWinControl* control);
  void ControlRemoved(TControl* control);

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  HWND CreateWindowHandle(const TCreateParams& params) override;
  void DefaultHandler(TMessage& m) override;
  void AlignControls(TRect& rect) override;
  void WndProc(TMessage& m) override;
  void VisibleChanged() override;
  // Handles Tab, Enter and Esc for the form's controls; true when used.
  virtual bool DialogKey(win::WORD key);
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void PlaceOnFirstShow();
  void ShowingChanged();
  int ShowCommand() const;  // SW_* for the WindowState
  void UpdateWindowStyle();
  void UpdateLayered();
  void IconChanged();
  void MenuChanged();

  TFormBorderStyle FBorderStyle = TFormBorderStyle::bsSizeable;
  TBorderIcons FBorderIcons = biSystemMenu | biMinimize | biMaximize;
  TPosition FPosition = TPosition::poDesigned;
  bool FKeyPreview = false;
  TWindowState FWindowState = TWindowState::wsNormal;
  TFormStyle FFormStyle = TFormStyle::fsNormal;
  bool FAlphaBlend = false;
  std::uint8_t FAlphaBlendValue = 255;
  TIcon FIcon;
  TWinControl* FActiveControl = nullptr;
  TMainMenu* FMenu = nullptr;
  TMenuItem* FWindowMenu = nullptr;
  TTileMode FTileMode = TTileMode::tbHorizontal;
  HWND FClientHandle = nullptr;
  bool FActive = false;
  bool FModal = false;
  bool FPlaced = false;
  TModalResult FModalResult = mrNone;
};

class TForm : public TCustomForm {
 public:
  using TCustomForm::TCustomForm;
};

}  // namespace fw
