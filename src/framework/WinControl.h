// TWinControl: a control that is a window of the platform. It parents other controls: its
// windowless children are painted by it (PaintControls) and get their mouse messages from it;
// its windowed children are child windows, which always lie above the windowless ones. It
// aligns its children, keeps their tab order and takes the keyboard focus.
//
// The window is made when first needed (Handle) and remade only on request (RecreateWnd);
// a window destroyed from outside is noticed.
//
// Showing: a control is showing while it is visible and has a window, and its parent is
// showing. A change is announced with CM_SHOWINGCHANGED, whose default handling shows or hides
// the window, so a hook running before the default sees the window still in its old state.
// Coming to show, the children hear it before their parent (which is already Showing then), so
// they are ready when its window appears and paints them; going, the parent hears it first.
//
// Painting of a WM_PAINT, in stages a hook may take over one by one: WM_ERASEBKGND (the
// background in Color), then PaintHandler: PaintWindow (the control's own drawing) and
// PaintControls (the windowless children, bottom to top). PaintTo draws the whole control
// with its children into any DC, such as a bitmap's.
#pragma once

#include <optional>
#include <vector>

#include "framework/Control.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/win/Types.h"

namespace fw {

using gfx::HDC;
using win::HWND;

// What CreateParams fills before the window is made.
struct TCreateParams {
  win::DWORD Style = 0;
  win::DWORD ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  std::u16string Caption;
  // The window class; empty: the class every framework window shares. A control with a class
  // of its own can change the class's values (its background brush) for its windows alone.
  std::u16string WinClassName;
};

using TKeyEvent = std::function<void(TComponent* sender, win::WORD& key, TShiftState)>;
using TKeyPressEvent = std::function<void(TComponent* sender, char16_t& key)>;

// The system cursor (IDC_*) that shows cursor.
int CursorResource(TCursor cursor);

class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;
  std::string ClassName() const override { return "TWinControl"; }

  // The window, made now if needed (the parent's first).
  HWND Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded() { Handle(); }
  // Destroys the window and those of the windowed children; they are made again when needed.
  void DestroyHandle();
  // Makes the window again (with the children's) through CM_RECREATEWND, whose default
  // handling does it; nothing without a window.
  void RecreateWnd();
  // True while CM_RECREATEWND's default handling remakes the window (the showing notices it
  // causes are no showing or hiding by the user).
  bool Recreating() const { return FRecreating; }

  // Children: windowless first (bottom to top), then windowed (bottom to top).
  int ControlCount() const { return int(FControls.size() + FWinControls.size()); }
  TControl* Controls(int index) const;
  // The windowless child (or with windowed, any child) under a client point, topmost first.
  TControl* ControlAtPos(TPoint p, bool allowDisabled, bool allowWindowed = false) const;
  bool ContainsControl(const TControl* control) const;  // any depth
  // Moves a child to position order (from 0, clamped) among the children of its kind
  // (windowless or windowed); a windowed child's window takes the same place among the child
  // windows. Nothing for a control that is not a child.
  void SetChildOrder(TControl* child, int order);

  // Sends a message to every control inside (any depth) until one answers non-zero; returns
  // that answer.
  LRESULT Broadcast(UINT msg, WPARAM wParam, LPARAM lParam);
  // Performs a message on each direct child (CM_WININICHANGE and CM_SYSFONTCHANGED travel
  // down this way, each windowed child passing them on).
  void NotifyControls(UINT msg, WPARAM wParam, LPARAM lParam);

  // Lays out the aligned children in the client area (top, bottom, left, right, client).
  void Realign();
  // Stops realigning until EnableAlign; the last EnableAlign realigns once.
  void DisableAlign() { ++FAlignLevel; }
  void EnableAlign();
  // The children scaled by m/d and the control's size, own font and constraints with them;
  // its place stays. Alignment waits until the end; anchors do not move what was scaled.
  void ScaleBy(int m, int d);
  void ChangeScale(int m, int d) override;

  // Tab order: the position among the parent's windowed children when tabbing.
  int TabOrder() const;
  void SetTabOrder(int order);
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool tabStop);
  // Windowed children in tab order.
  const std::vector<TWinControl*>& TabList() const { return FTabList; }
  // The next control after current in tab order within this control (wrapping), or null.
  TWinControl* FindNextControl(TWinControl* current, bool forward, bool checkTabStop) const;
  // Focus: visible, enabled, showing, with an enabled and visible parent chain.
  virtual bool CanFocus() const;
  bool Focused() const;
  virtual void SetFocus();

  bool Showing() const override { return FShowing; }
  void Loaded() override;
  TRect ClientRect() const override;

  // Paint stages (see the header comment).
  virtual void PaintHandler(HDC dc);
  // Paints the windowless children into dc, whose origin is this control's client origin.
  void PaintControls(HDC dc, TControl* first = nullptr);
  // Draws the control and all its children into dc with its top-left corner at (x, y): with a
  // window, its frame (WM_PRINT with PRF_NONCLIENT) and its client area inside the frame.
  void PaintTo(HDC dc, int x, int y);

  void Invalidate() override;
  void Repaint() override;
  TPoint ClientOriginInWindow() const override { return {0, 0}; }
  TWinControl* WindowHost() const override { return const_cast<TWinControl*>(this); }
  // The control whose window is hwnd, or null.
  static TWinControl* FindControl(HWND hwnd);

  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

 protected:
  void WndProc(TMessage& m) override;
  void DefaultHandler(TMessage& m) override;
  virtual void CreateParams(TCreateParams& params);
  // Makes the window from the parameters (CreateWindowExW, the control as the creation
  // parameter); null when the window refused to be made.
  virtual HWND CreateWindowHandle(const TCreateParams& params);
  // Called once the window exists (children are made after it).
  virtual void CreateWnd();
  virtual void PaintWindow(HDC dc);
  virtual void EraseBackground(HDC dc);
  virtual void KeyDown(win::WORD& key, TShiftState shift);
  virtual void KeyUp(win::WORD& key, TShiftState shift);
  virtual void KeyPress(char16_t& key);
  // Whether the control uses a navigation key itself (Tab, Enter, Esc, arrows) instead of
  // leaving it to the form.
  virtual bool WantsKey(win::WORD) const { return false; }
  virtual void DoEnter();
  virtual void DoExit();
  virtual void AlignControls(TRect& rect);
  // Recomputes Showing here and below and sends CM_SHOWINGCHANGED where it changed.
  void UpdateShowing();
  // Shows or hides the window by its own flag (the default handling of CM_SHOWINGCHANGED).
  void UpdateWindowVisible();
  // The position a WM_VSCROLL/WM_HSCROLL for bar asks for, from the current pos: a line or a
  // page back or on, 0 for SB_TOP, last for SB_BOTTOM, or the thumb's position in full (the
  // message carries 16 bits; the bar's track or scroll position holds the whole value, and
  // wins when it agrees with them). Nothing for codes that move nothing (SB_ENDSCROLL).
  std::optional<int> ScrollRequest(int bar, WPARAM wParam, int pos, int line, int page,
                                   int last) const;

  std::u16string GetText() const override;
  void SetTextBuf(const std::u16string& text) override;
  void BoundsChanged(const TRect& old) override;
  void VisibleChanged() override;
  void EnabledChanged() override;
  void ColorChanged() override;
  void FontChanged() override;

 private:
  friend class TControl;
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  void MoveToEnd(TControl* control, bool front);
  // Every child by m/d (ChangeScale).
  void ScaleControls(int m, int d);
  // After the children were scaled with this control.
  void ScaledControlsPlaced();
  // Puts a windowed child's window where the child lies in the list.
  void PlaceWindow(TWinControl* child);
  void CreateHandle();
  void MainWndProc(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
  // Routes a client mouse message to a windowless child; true when one took it.
  bool RouteMouseToChild(TMessage& m);
  void HandleMouseLeave();
  // The form that previews this control's keys (KeyPreview), or null.
  TWinControl* KeyPreviewForm() const;
  // Gives a key message to that form first; true when the form swallowed the key.
  bool PreviewKey(UINT msg, win::WORD& key);
  // Clicks the menu item whose shortcut the key is: in the pop-up menus of this control and
  // its parents, then in the form's menu bar; true when one took it.
  bool IsMenuKey(win::WORD key);
  // Registers a framework window class of that name (already registered: nothing changes).
  static void RegisterWindowClass(const std::u16string& name);

  HWND FHandle = nullptr;
  std::vector<TControl*> FControls;        // windowless children, bottom to top
  std::vector<TWinControl*> FWinControls;  // windowed children, bottom to top
  std::vector<TWinControl*> FTabList;
  TControl* FCaptureControl = nullptr;  // windowless child holding the mouse
  bool FShowing = false;
  bool FTabStop = false;
  int FAlignLevel = 0;
  bool FAligning = false;
  bool FTracking = false;  // asked the window system for WM_MOUSELEAVE
  bool FRecreating = false;
};

}  // namespace fw
