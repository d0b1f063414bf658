// TControl: the base of every control, windowed or not. Bounds in the parent's client area,
// alignment, visibility, enabled state, colour, font, hint, cursor, caption, mouse events and
// the framework notifications (CM_*).
//
// Every message reaches a control through WindowProc: the hooks installed on it (the skin
// engine's), newest first, then the control's own WndProc. Each hook is known by the token
// HookWindowProc gave its owner, so hooks come and go in any order without breaking the chain.
// Perform sends a message through it. WndProc decodes numbered messages in one place, calls
// the virtual handlers and leaves the rest to DefaultHandler.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Colors.h"
#include "framework/Component.h"
#include "framework/ControlMessages.h"
#include "framework/Font.h"
#include "platform/gfx/Geometry.h"

namespace fw {

class TWinControl;
class TPopupMenu;
class TCustomForm;

using gfx::TPoint;
using gfx::TRect;

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

// Cursors by their usual numbers.
using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;    // a drag over a control that accepts it
constexpr TCursor crNoDrop = -13;  // a drag over a control that refuses it
constexpr TCursor crHSplit = -14;  // sizing left and right
constexpr TCursor crNo = -18;
constexpr TCursor crHandPoint = -21;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

// Shift state flags (a set).
enum TShiftStateFlag : unsigned {
  ssShift = 1,
  ssAlt = 2,
  ssCtrl = 4,
  ssLeft = 8,
  ssRight = 16,
  ssMiddle = 32,
  ssDouble = 64
};
using TShiftState = unsigned;

// Control style flags (a set).
enum TControlStyleFlag : unsigned {
  csAcceptsControls = 1,  // may be a parent in window descriptions
  csCaptureMouse = 2,     // keeps the mouse from a press to its release
  csClickEvents = 4,      // a press and release inside makes a click
  csSetCaption = 8,       // the name is copied to the caption when set while the caption is it
  csOpaque = 16,          // paints every pixel of its bounds
  csDoubleClicks = 32,    // receives double-clicks as such
};
using TControlStyle = unsigned;

using TMouseEvent =
    std::function<void(TComponent* sender, TMouseButton, TShiftState, int x, int y)>;
using TMouseMoveEvent = std::function<void(TComponent* sender, TShiftState, int x, int y)>;
// Wheel turned by wheelDelta (multiples of WHEEL_DELTA) with the mouse at mousePos (screen);
// set handled to keep the turn from the parent.
using TMouseWheelEvent = std::function<void(TComponent* sender, TShiftState, int wheelDelta,
                                            TPoint mousePos, bool& handled)>;
using TWndMethod = std::function<void(TMessage&)>;

// Dragging a control onto another (see DragDrop.h): how it starts, where it stands over the
// control under the mouse, and the three events.
enum class TDragMode { dmManual, dmAutomatic };
enum class TDragState { dsDragEnter, dsDragLeave, dsDragMove };
// The mouse over sender during a drag from source, at (x, y) of sender's client area; set
// accept to take a drop there (it comes true when the handler is set).
using TDragOverEvent = std::function<void(TComponent* sender, TComponent* source, int x, int y,
                                          TDragState state, bool& accept)>;
// source dropped on sender at (x, y) of sender's client area.
using TDragDropEvent = std::function<void(TComponent* sender, TComponent* source, int x, int y)>;
// The drag from sender ended: dropped on target at (x, y) of its client area, or cancelled or
// refused (target null, x and y 0).
using TEndDragEvent = std::function<void(TComponent* sender, TComponent* target, int x, int y)>;

// The token of a hook on a control's WindowProc; unique in the process, never 0.
using TWndHookId = std::uint64_t;
class TControl;
// What a hook calls to pass a message on to the handlers below it (as they are at that moment).
class TWndNext {
 public:
  void operator()(TMessage& m) const;

 private:
  friend class TControl;
  TWndNext(TControl* control, TWndHookId hook) : FControl(control), FHook(hook) {}
  TControl* FControl;
  TWndHookId FHook;
};
// A hook sees a message before everything installed earlier; it may handle it, change it, or
// pass it on with next(m), before or after its own work.
using TWndHook = std::function<void(TMessage& m, const TWndNext& next)>;

// The sides of its parent a control keeps its distances to when the parent's client area
// changes size (a set). With both sides of an axis the control stretches; with neither its
// centre keeps its distance to the parent's centre. Aligned controls ignore them.
enum TAnchorKind : unsigned { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = unsigned;

// Limits of a control's outer size, kept by SetBounds (0: no limit).
struct TSizeConstraints {
  int MinWidth = 0, MinHeight = 0, MaxWidth = 0, MaxHeight = 0;
  bool operator==(const TSizeConstraints&) const = default;
};

// A value that is scaled again and again (a place, a size, a font height). Each scaling rounds
// (MulDiv); to keep the roundings from adding up, the value keeps where its scalings started
// and the product of their ratios, and scales that start instead. Back at the starting ratio
// (100 -> 150 -> 100, or 100 -> 125 -> 200 -> 100) it is exactly what it was. A value changed
// by anything else since its last scaling starts afresh from where it is.
class TScaledValue {
 public:
  // current scaled by m/d (m, d > 0) along the scalings so far.
  int Scale(int current, int m, int d);

 private:
  int FStart = 0, FLast = 0;
  long long FNum = 1, FDen = 1;
};

// Text direction. Controls draw left to right whatever it says (the mode is stored for the
// skin engine); menus follow it on a right-to-left system (TMenu::IsRightToLeft).
enum class TBiDiMode {
  bdLeftToRight,
  bdRightToLeft,
  bdRightToLeftNoAlign,
  bdRightToLeftReadingOnly
};

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;
  std::string ClassName() const override { return "TControl"; }

  TWinControl* Parent() const { return FParent; }
  // Moves the control into another parent (nullptr: out of every parent).
  virtual void SetParent(TWinControl* parent);

  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetLeft(int v) { SetBounds(v, FTop, FWidth, FHeight); }
  void SetTop(int v) { SetBounds(FLeft, v, FWidth, FHeight); }
  void SetWidth(int v) { SetBounds(FLeft, FTop, v, FHeight); }
  void SetHeight(int v) { SetBounds(FLeft, FTop, FWidth, v); }
  // Moves and sizes in the parent's client coordinates; the parent realigns its children.
  virtual void SetBounds(int left, int top, int width, int height);
  // Scales the control by m/d: its place, its size and its own font (a font that follows the
  // parent's follows it). A windowed control scales its children too.
  // Constraints and anchors are scaled with it; rounding does not drift (TScaledValue).
  virtual void ChangeScale(int m, int d);
  // The pixels per inch the control is laid out for: the screen's at design, then along its
  // scalings (144 at 150 %). Code that places controls by design numbers scales them by it.
  int CurrentPPI() const { return FCurrentPPI; }
  // A design-time length (at the screen's PixelsPerInch) at the control's present scale.
  int ScaledDesignValue(int v) const;
  TRect BoundsRect() const { return gfx::RectOfSize(FLeft, FTop, FWidth, FHeight); }
  // The client area in the control's own coordinates.
  virtual TRect ClientRect() const { return {0, 0, FWidth, FHeight}; }
  int ClientWidth() const { return ClientRect().Width(); }
  int ClientHeight() const { return ClientRect().Height(); }
  // Sizes the control so that its client area gets that size.
  void SetClientSize(int width, int height);

  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign align);

  // akLeft | akTop by default: the control stays where it is when its parent is resized.
  TAnchors Anchors() const { return FAnchors; }
  void SetAnchors(TAnchors anchors);
  // The size limits; setting them applies them at once.
  const TSizeConstraints& Constraints() const { return FConstraints; }
  void SetConstraints(const TSizeConstraints& constraints);

  // Visible is the control's own flag; Showing is true when it and every parent are shown.
  bool Visible() const { return FVisible; }
  void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  virtual bool Showing() const;

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool enabled);

  TColor Color() const { return FColor; }
  // Setting a colour of its own clears ParentColor.
  void SetColor(TColor color);
  // A control with ParentColor takes its parent's colour and follows its changes.
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool parentColor);

  TFont& Font() { return FFont; }
  const TFont& Font() const { return FFont; }
  void SetFont(const TFont& font) { FFont.Assign(font); }
  // A control with ParentFont takes its parent's font and follows its changes.
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool parentFont);

  const std::u16string& Hint() const { return FHint; }
  void SetHint(const std::u16string& hint);
  // The hint shown for the control: its own, else its nearest parent's.
  std::u16string ActualHint() const;
  // Whether the control shows its hint as a tooltip. With ParentShowHint (the default) it
  // follows its parent; setting ShowHint clears ParentShowHint. Forms start without.
  bool ShowHint() const;
  void SetShowHint(bool showHint);
  bool ParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool parentShowHint);

  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor cursor);

  // The caption or text (one value; windowed controls keep it in their window too).
  std::u16string Caption() const { return GetText(); }
  void SetCaption(const std::u16string& text) { SetText(text); }
  std::u16string Text() const { return GetText(); }
  void SetText(const std::u16string& text);

  TControlStyle ControlStyle = csCaptureMouse | csClickEvents;

  // Every message goes through it: the hooks, newest first, then WndProc.
  void WindowProc(TMessage& m);
  // Installs a hook above all others and returns the token only its owner should keep.
  TWndHookId HookWindowProc(TWndHook hook);
  // Removes the hook of that token wherever it sits; the hooks above and below it stay linked.
  // False when it is not installed (removed already, or a token of another control).
  bool UnhookWindowProc(TWndHookId hook);
  // Whether the hook of that token is installed.
  bool WindowProcHooked(TWndHookId hook) const;
  // The hook that sees messages first (0 when none): a hook is "still mine" at the top when
  // this is its token.
  TWndHookId TopWindowProcHook() const { return FHooks.empty() ? 0 : FHooks.back()->id; }
  // False once the control is freed. A handler may free its own control (a click closing its
  // form): code that goes on after raising an event keeps a copy and checks it.
  std::shared_ptr<const bool> AliveToken() const { return FAlive; }
  // Sends a message through WindowProc and returns its result.
  LRESULT Perform(UINT msg, WPARAM wParam, LPARAM lParam);

  // Left to right is the only direction drawn; setting another is stored and announced
  // (CM_BIDIMODECHANGED) for whoever reads it.
  TBiDiMode BiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(TBiDiMode mode);
  // Whether text is aligned from the right (bdRightToLeft) or read from the right (any mode
  // but bdLeftToRight).
  bool UseRightToLeftAlignment() const { return FBiDiMode == TBiDiMode::bdRightToLeft; }
  bool UseRightToLeftReading() const { return FBiDiMode != TBiDiMode::bdLeftToRight; }
  // DrawText flags adjusted to the mode: right-aligned text becomes left-aligned and the other
  // way round (centred text stays), and DT_RTLREADING is added when read from the right.
  unsigned DrawTextBiDiModeFlags(unsigned flags) const;

  // Marks the control for repainting (through CM_INVALIDATE, whose default handling asks the
  // window system); Repaint paints it now.
  virtual void Invalidate();
  virtual void Repaint();
  // Moves the control above (below) its siblings of the same kind.
  void BringToFront();
  void SendToBack();

  // Coordinates between the control's client area and the screen.
  TPoint ClientToScreen(TPoint p) const;
  TPoint ScreenToClient(TPoint p) const;
  // Where the client area's origin lies in the nearest window's client area.
  virtual TPoint ClientOriginInWindow() const;
  // The nearest window this control is (windowed) or lies in (windowless); may be null.
  virtual TWinControl* WindowHost() const;

  // dmAutomatic: a left press starts a drag (BeginDrag(false)) once the mouse has moved
  // DragThreshold pixels. dmManual (the default): only BeginDrag does.
  TDragMode DragMode() const { return FDragMode; }
  void SetDragMode(TDragMode mode) { FDragMode = mode; }
  // Starts dragging this control: at once, or once the mouse moves threshold pixels (-1:
  // DragThreshold) from where it is now. The control's window holds the mouse meanwhile.
  void BeginDrag(bool immediate, int threshold = -1);
  // True from BeginDrag until the drag ends (also while it waits for the threshold).
  bool Dragging() const;
  // Ends this control's drag: dropped where the mouse is when drop is true, else cancelled.
  void EndDrag(bool drop);
  static constexpr int DragThreshold = 5;
  TDragOverEvent OnDragOver;
  TDragDropEvent OnDragDrop;
  TEndDragEvent OnEndDrag;

  // True while the mouse is over the control (between CM_MOUSEENTER and CM_MOUSELEAVE).
  bool MouseInControl() const { return FMouseInControl; }

  // The menu WM_CONTEXTMENU opens over the control when its AutoPopup is on (a right click,
  // or the keyboard: then at the control's top-left corner); forgotten when the menu is freed.
  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* menu);

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TMouseWheelEvent OnMouseWheel;

  // Raises OnClick (also what keys and the program use).
  virtual void Click();

 protected:
  // The one place numbered messages are decoded.
  virtual void WndProc(TMessage& m);
  // What the control does with a message nobody handled (windowless: nothing).
  virtual void DefaultHandler(TMessage& m);

  virtual std::u16string GetText() const { return FText; }
  // Stores the text; windowed controls also set their window's text.
  virtual void SetTextBuf(const std::u16string& text) { FText = text; }

  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void DblClick();
  // The wheel turned while this windowed control (or a child) had the focus: OnMouseWheel
  // first, then the control's own scrolling. False passes the turn on to the parent.
  virtual bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos);
  virtual void MouseEnter();
  virtual void MouseLeave();
  // The drag steps, each raising its event: a drag from source over this control (accept
  // starts false), source dropped here, and this control's own drag ended.
  virtual void DragOver(TControl* source, int x, int y, TDragState state, bool& accept);
  virtual void DragDrop(TControl* source, int x, int y);
  virtual void DoEndDrag(TControl* target, int x, int y);
  // Reactions to the notifications, after the state changed.
  virtual void VisibleChanged();
  virtual void EnabledChanged();
  virtual void ColorChanged();
  virtual void FontChanged();
  virtual void TextChanged();
  virtual void ParentFontChanged();
  virtual void ParentColorChanged();
  // Opens PopupMenu for WM_CONTEXTMENU (lParam: the screen point, -1 from the keyboard);
  // false when there is none to open.
  bool ContextPopup(LPARAM where);
  void Notification(TComponent* component, TOperation operation) override;
  // Whether a client point belongs to the control (CM_HITTEST); all points by default.
  virtual bool HitTest(TPoint) { return true; }

  // Bounds set directly by a parent's alignment (no realignment).
  void UpdateBoundsRect(const TRect& r);
  // Tells the window system the new bounds (windowed) or repaints the parent (windowless).
  virtual void BoundsChanged(const TRect& old);
  void RequestAlign();
  // The control's own font by m/d; nothing for one that follows its parent's.
  void ScaleFont(int m, int d);
  // The size limits by m/d.
  void ScaleConstraints(int m, int d);
  // CurrentPPI by m/d.
  void ScalePPI(int m, int d) { FCurrentPPI = FScaledPPI.Scale(FCurrentPPI, m, d); }
  // The distances to the parent's sides are now taken against its present client size.
  void UpdateAnchorRules();
  // The place and size its anchors give the control in a parent client area of size
  // (width, height).
  TRect AnchoredBounds(int width, int height) const;

  std::u16string FText;

 private:
  friend class TWinControl;
  friend class TWndNext;
  friend class TDragSession;
  // Calls the newest hook installed before the one of that token, or WndProc below them all.
  void CallBelow(TWndHookId hook, TMessage& m);
  void FontChangedByUser();
  void ApplyColor(TColor color);
  static TShiftState ShiftFromKeys(WPARAM keys);

  TWinControl* FParent = nullptr;
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  TAlign FAlign = TAlign::alNone;
  TAnchors FAnchors = akLeft | akTop;
  // The bounds last given and the parent's client size they were given against.
  TRect FAnchorOrigin;
  TPoint FAnchorParentSize{-1, -1};
  TSizeConstraints FConstraints;
  // What scalings started from: left, top, width, height, font height, the four limits.
  TScaledValue FScaled[9];
  int FCurrentPPI = TFont::PixelsPerInch;
  TScaledValue FScaledPPI;
  bool FVisible = true;
  bool FEnabled = true;
  TColor FColor = clWindow;
  bool FParentColor = false;
  TFont FFont;
  bool FParentFont = true;
  bool FFontFromParent = false;  // suppresses clearing ParentFont while copying the parent's
  std::u16string FHint;
  bool FShowHint = false;
  bool FParentShowHint = true;
  TCursor FCursor = crDefault;
  bool FClicked = false;
  bool FMouseInControl = false;
  TBiDiMode FBiDiMode = TBiDiMode::bdLeftToRight;
  TPopupMenu* FPopupMenu = nullptr;
  TDragMode FDragMode = TDragMode::dmManual;
  struct THookLink {
    TWndHookId id;
    TWndHook hook;
  };
  // Oldest first; tokens grow with installation, so the order is the tokens' order. Shared so
  // that a hook removed (or whose control dies) while it runs lives until it returns.
  std::vector<std::shared_ptr<const THookLink>> FHooks;
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

// The control the mouse is over (the target of CM_MOUSEENTER); null when none.
TControl* MouseControl();
// Makes control the one under the mouse, sending CM_MOUSELEAVE and CM_MOUSEENTER.
void SetMouseControl(TControl* control);

// The form a control lies on (the outermost form), or null.
TCustomForm* GetParentForm(const TControl* control);

}  // namespace fw
