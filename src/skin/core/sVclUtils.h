// Delivery of the skin message: straight to a skinned control's handler when its window says
// where that is, else as a window message; and the broadcast to a control's children.
//
// A skinned window keeps a pointer to its TacMessageHandler in the window property "ACSDATA"
// from the creation of its window to its destruction (the control's skin data registers it).
// The direct call skips the window system's dispatch and, unlike SendMessageW, lets an error
// of the handler reach the caller.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Control.h"
#include "framework/CustomControl.h"
#include "framework/Label.h"
#include "framework/WinControl.h"
#include "skin/core/sMessages.h"

namespace skin::core {

using win::HWND;
using win::LRESULT;

// The window properties of skinned windows: their handler, and the scroll-bar subclassing.
inline constexpr std::u16string_view acDataProp = u"ACSDATA";
inline constexpr std::u16string_view acScrollProp = u"ACSBSC";

// What the "ACSDATA" property points to: the procedure that handles the control's messages
// (its window procedure, or a form provider's). The per-control skin data derives from it.
class TacMessageHandler {
 public:
  virtual ~TacMessageHandler() = default;
  fw::TWndMethod WndProc;
};

// True only while AC_SETNEWSKIN is being broadcast; painting code draws nothing meanwhile.
// Receivers of AC_SETNEWSKIN and AC_UPDATESECTION clear it once they are ready.
extern bool RestrictDrawing;

// The handler registered as the window's "ACSDATA" property, or null.
TacMessageHandler* GetCommonData(HWND wnd);
// The window has a skin handler or a skinned scroll bar, or answers AC_CTRLHANDLED with 1.
bool WndIsSkinned(HWND wnd);

// The registered handler called directly, else SendMessageW.
LRESULT TrySendMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
// A windowless control: its Perform. A windowed one: through its window, 0 while it has none
// (no window is made for a message). A control being destroyed gets nothing: 0.
LRESULT TrySendMessage(fw::TControl* control, UINT msg, WPARAM wParam, LPARAM lParam);

// SM_ALPHACMD with cmd in WParam's high word.
LRESULT SendAMessage(HWND wnd, UINT cmd, LPARAM lParam = 0);
LRESULT SendAMessage(fw::TControl* control, UINT cmd, LPARAM lParam = 0);
// SendAMessage(..., cmd, 0) answered 1.
bool GetBoolMsg(HWND wnd, UINT cmd);
bool GetBoolMsg(fw::TControl* control, UINT cmd);

// The message to every child control of control, in index order, stopping at a child being
// destroyed. A child without a window (windowless, or not made yet) gets it through Perform;
// a child with a window through TrySendMessage, and then its own children get it unless its
// window is skinned (a skinned container passes the message on itself). Children freed on
// the way are skipped; no window is made.
void AlphaBroadCast(fw::TWinControl& control, const fw::TMessage& message);
// The message with TrySendMessage to every direct child window of wnd; no descent.
void AlphaBroadCast(HWND wnd, const fw::TMessage& message);
inline void SendToChildren(HWND wnd, const fw::TMessage& message) {
  AlphaBroadCast(wnd, message);
}

}  // namespace skin::core

namespace skin::core {

class TsSkinManager;

// The cursor position in screen coordinates.
gfx::TPoint acMousePos();
// The cursor lies over the control and in the visible part of it: a windowed control's window
// (or one of its children) is the window under the cursor; a windowless control lies in an
// enabled form, and the cursor is inside its bounds and in the visible part of its parent.
bool acMouseInControl(fw::TControl* control);
// The cursor lies in the visible part of the window: the clip box of the window's whole-window
// context, on the screen, is one rectangle and holds the cursor.
bool acMouseInControlDC(HWND wnd);
// True when parentWnd is wnd or one of its ancestors.
bool ContainsWnd(HWND wnd, HWND parentWnd);
// The topmost ancestor of wnd (wnd itself without a parent).
HWND GetRootParent(HWND wnd);
inline HWND GetParentFormHandle(HWND wnd) {
  return GetRootParent(wnd);
}
// The control under the cursor: the default manager's ActiveGraphControl when set; else, in the
// control whose window is under the cursor, its visible child of the highest index whose
// bounds hold the cursor, else that control itself; null when none.
fw::TControl* CtrlUnderMouse();
// proc for every child control of owner in index order, going into each windowed child right
// after proc has seen it (depth first).
void IterateControls(fw::TWinControl& owner, const std::function<void(fw::TControl*)>& proc);
// Whether font differs from the one the control would inherit: its parent's, or a default font
// without a parent. Without checkColor the colour takes no part.
bool IsCustomFont(fw::TControl* control, const fw::TFont& font, bool checkColor);
// The control exists, has a parent, has a window when it is windowed, and is neither loading
// nor being destroyed.
bool ControlIsReady(fw::TControl* control);
// The first form in the owner chain, starting with the component itself; null when none.
fw::TCustomForm* GetOwnerForm(fw::TComponent* component);
// The text-alignment flags of taLeftJustify, taRightJustify, taCenter.
inline constexpr std::array<unsigned, 3> AlignToInt{gfx::DT_LEFT, gfx::DT_RIGHT, gfx::DT_CENTER};
// The flags a control draws its text with for the alignment: expanded tabs, centred
// vertically, adjusted to its reading order.
unsigned GetStringFlags(fw::TControl* control, fw::TAlignment alignment);
// The client rectangle in window coordinates (where the client area lies inside the window).
gfx::TRect acClientRect(HWND wnd);
// The window's class name, at most 128 characters.
std::u16string GetWndClassName(HWND wnd);
// WM_SETREDRAW through TrySendMessage.
void SetRedraw(HWND wnd, bool value);
// Places child in its parent's child order right after control (both of one parent).
void SetChildOrderAfter(fw::TControl* child, fw::TControl* control);
// Alpha 0 over every rectangle (clipped to the bitmap).
void CleanPixelsByRects(const std::vector<gfx::TRect>& rects, gfx::Bitmap& bmp);
// Whether visual styles are in use (never on this system).
bool acThemesEnabled();
// Sum of the heights (alTop, alBottom) or widths (alLeft, alRight) of the visible children
// aligned so; windowless children only with graphCtrlsToo.
int GetAlignShift(fw::TWinControl& ctrl, fw::TAlign align, bool graphCtrlsToo);
// Tells the control's form that the control is ready (AC_CONTROLLOADED), so the form's
// control adapter can wrap it and its children.
void AddToAdapter(fw::TControl* control);
// Every child not being destroyed gets AC_ENDPARENTUPDATE: a windowed one when it shows its
// window, a windowless one directly.
void SetParentUpdated(fw::TWinControl* control);
// Every child window with the child style, from the top of the z-order down.
void SetParentUpdated(HWND wnd);
// Paints the visible windowless children of owner into dc (owner's origin at offset in dc)
// over owner's background: each child's place is first filled with what owner shows there
// (its cache, its colour and frame bands, or an opaque child's own colour), the child paints
// itself into a picture of owner's size, and its place is copied to dc unless the child left
// its top-left pixel the key colour. With checkVisible an invisible owner paints nothing; an
// empty clip only tells owner AC_SETHALFVISIBLE. A nested call does nothing.
void PaintControls(gfx::HDC dc, fw::TWinControl& owner, bool checkVisible, gfx::TPoint offset);

class TacFormProvider;
// Paints ctrl with the windows inside it into dc, whose origin the caller has put at ctrl's
// top-left corner (a windowed control's window corner), clipped to ctrl unless the provider has
// an extended border. A visible control (any control with a provider or without a parent) is
// asked to print itself: a skinned window (or one answering AC_PRINTING with 1) through
// WM_PRINT between AC_PRINTING with dc and with 0, another one by the framework's PaintTo, a
// windowless control through WM_PRINT; then its windowed children follow (PaintChildCtrls)
// unless the WM_PRINT answer was -2. An invisible control with a parent shows its parent's
// background there. With paintNext the later siblings that overlap ctrl are painted over it.
// The provider: the client area made opaque with an extended border, then AC_PAINTFLOATITEMS.
void SkinPaintTo(gfx::HDC dc, fw::TControl* ctrl, TacFormProvider* provider = nullptr,
                 bool paintNext = false);
// SkinPaintTo for every visible windowed child of ctrl that has a window, in index order, each
// with the origin at its place in ctrl's window.
void PaintChildCtrls(fw::TWinControl& ctrl, gfx::HDC dc);
// The colour a control shows behind its children, as RGB; 0xFF00FF for none.
fw::TColor GetControlColor(fw::TControl* control);
fw::TColor GetControlColor(HWND wnd);

// The one conversion of colours to RGB. Positive colours are RGB already. Negative ones are
// the framework's system colours (index 0 to 30 in the low bits) or the special colours
// (sConst): with a skin in force the special colours give their palette entries, and with
// ChangeSysColors the system colours give the skin's; a negative colour whose low 24 bits
// exceed 100 is otherwise the RGB value they hold, and anything else the system's colour.
// manager null: the default manager.
gfx::COLORREF acColorToRGB(fw::TColor color, const TsSkinManager* manager = nullptr);

// A helper window the animations draw on: text "acOutputWindow", hidden at creation, colour
// 0xFF00FF, no background erasing and no frame. Without a parent it is a pop-up owned by the
// application's window, topmost when its owner's window is.
class TOutputWindow : public fw::TCustomControl {
 public:
  explicit TOutputWindow(fw::TComponent* owner);
  std::string ClassName() const override { return "TOutputWindow"; }

 protected:
  void CreateParams(fw::TCreateParams& params) override;
  void WndProc(fw::TMessage& m) override;
};

}  // namespace skin::core
