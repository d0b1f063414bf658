// Window wrappers: an object attached to an existing window (a skinned control's own window,
// or a bare window) that takes over its window procedure and paints from the skin what the
// window would paint in system colours. TacScrollWnd replaces the window's system scroll bars
// by skinned ones drawn in the non-client area, with their own hit testing, hover,
// auto-repeat and thumb dragging; TacBaseWnd, TacEditWnd and TacTreeViewWnd are the scrolling
// wrappers skinned memos and tree views keep for their own window (their ListSW).
//
// A wrapper hooks through an identified hook: the owning control's HookWindowProc, or the
// window's subclass chain for a bare window. Wrappers come and go in any order; one removes
// only its own hook, and once detached (Destroyed) it passes every message through.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "framework/Canvas.h"
#include "framework/Control.h"
#include "framework/Form.h"
#include "framework/WinControl.h"
#include "platform/gfx/Bitmap.h"
#include "platform/win/ScrollInfo.h"
#include "platform/win/Types.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sSkinManager.h"

namespace backend {
class JsonWriter;
}

namespace skin::frame {

using skin::core::TsCommonData;
using skin::core::TsSkinManager;
using win::HWND;
using win::LPARAM;
using win::LRESULT;
using win::UINT;
using win::WPARAM;

// ---- Bar arithmetic ----------------------------------------------------------------------------

// Parts of a bar; the values are the system's scroll codes.
enum TacScrollPart : int {
  HTSCROLL_NONE = -1,
  HTSCROLL_LEFT = 0,  // the left or up button
  HTSCROLL_UP = 0,
  HTSCROLL_RIGHT = 1,  // the right or down button
  HTSCROLL_DOWN = 1,
  HTSCROLL_PAGELEFT = 2,  // the track before the thumb
  HTSCROLL_PAGEUP = 2,
  HTSCROLL_PAGERIGHT = 3,  // the track after the thumb
  HTSCROLL_PAGEDOWN = 3,
  HTSCROLL_PAGEGO = 4,  // a track click with Shift: the thumb jumps under the mouse
  HTSCROLL_THUMB = 5,
};

constexpr int acMinThumbSize = 16;  // the shortest thumb, in pixels
// The hover check, the first auto-repeat delay and the repeat, on the window's timers.
constexpr win::UINT_PTR acHoverTimer = 0xFFF2, acFirstRepeatTimer = 0xFFFD, acRepeatTimer = 0xFFFE;
constexpr UINT acHoverInterval = 20, acFirstRepeatDelay = 300, acRepeatInterval = 55;

// The thumb of a bar: its length and its start behind the first button. Length 0: no thumb
// (no room, or nothing to scroll), and nothing can be dragged.
struct TacThumb {
  int Size = 0;
  int Offset = 0;
};
// The thumb of a bar barLength long with buttons of buttonLength, for the range min..max, the
// page and the position. With W = barLength - 2 x buttonLength the track: a page of 0 gives a
// thumb of max(button, minThumb); otherwise page x W / (range + 1), at least minThumb (19 for
// buttonless bars with short thumbs). The offset is (pos - min) x (W - thumb) / (scrollable
// range), to the nearest pixel and within the track. Computed in 64 bits: any range, any page
// (above the range too) and any bar length give a sound answer.
TacThumb CalcThumb(int barLength, int buttonLength, int minThumb, int min, int max, UINT page,
                   int pos);
// The position a thumb dragged to offset (from the track's start) stands for: the inverse of
// CalcThumb, kept within min .. max - page + 1. min when the thumb has no room to move.
int ThumbPosition(int offset, int trackLength, int thumbSize, int min, int max, UINT page);
// The last position of a bar: max - max(page - 1, 0), never below min (64-bit safe).
int LastPosition(int min, int max, UINT page);
// The part of a bar under a point: along is the distance from the bar's start, across from its
// side. The buttons take buttonLength each (half the bar each when they do not fit); then the
// thumb, the track before it and after it (HTSCROLL_PAGEGO with shift).
int ScrollPortion(int along, int across, int barLength, int thickness, int buttonLength,
                  const TacThumb& thumb, bool shift);

// ---- Wrappers ----------------------------------------------------------------------------------

// What a wrapper is made with. Sizes of -1 are the defaults (the manager's, else the system's).
struct TacSkinParams {
  fw::TControl* Control = nullptr;
  std::string SkinSection;
  bool UseSkinColor = true;
  bool UseSkinFontColor = true;
  int VertScrollSize = -1, HorzScrollSize = -1;
  int VertScrollBtnSize = -1, HorzScrollBtnSize = -1;
};

class TacScrollWnd;

// The base of every wrapper: hooking, unhooking, colours saved and restored, the base handling
// of window messages and skin commands.
class TacMainWnd {
 public:
  virtual ~TacMainWnd();
  TacMainWnd(const TacMainWnd&) = delete;
  TacMainWnd& operator=(const TacMainWnd&) = delete;

  // Attaches a new wrapper of class W to handle: with skinData null the wrapper owns skin
  // data of its own (section params.SkinSection, owner params.Control), else it uses the given
  // data (a skinned control's own). repaint recalculates the frame at once.
  template <class W>
  static std::unique_ptr<W> Create(HWND handle, bool repaint, const TacSkinParams& params,
                                   TsSkinManager* manager, TsCommonData* skinData) {
    std::unique_ptr<W> w(new W(handle, params, manager, skinData));
    w->Initialize(repaint);
    return w;
  }

  TacMainWnd(HWND handle, const TacSkinParams& params, TsSkinManager* manager,
             TsCommonData* skinData);
  virtual std::string ClassName() const { return "TacMainWnd"; }
  // Runs the wrapper's handling of a message directly and returns the result.
  LRESULT ProcessMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  // Unhooked: the window was destroyed or the skin removed; its owner frees it.
  bool Destroyed() const { return FDestroyed; }
  // The wrapper's procedure is running (it must not be freed now).
  bool InUse() const { return FDepth > 0; }
  // Unhooks (only the wrapper's own hook, wherever it sits), restores the saved colours and,
  // with redraw, recalculates the frame of a visible window. Idempotent.
  void Uninitialize(bool redraw);

  HWND CtrlHandle = nullptr;
  bool DontRepaint = false;  // set while the wrapper itself sends scroll messages
  fw::TColor StdColor = fw::clNone, StdFontColor = fw::clNone;
  std::u16string Caption;
  TsSkinManager* SkinManager() const;
  TsCommonData* SkinData() const { return FSkinData; }
  // The owning control, or null for a bare window.
  fw::TControl* Control() const { return FParams.Control; }

 protected:
  // The creation sequence: section, saved colours, caption, hook, csOpaque, AfterCreation.
  void Initialize(bool repaint);
  virtual void Hook(bool repaint);
  virtual void AfterCreation();
  virtual void SaveStdParams();
  virtual void RestoreStdParams();
  virtual void SetSkinParams() {}
  // The replacement window procedure.
  virtual void acWndProc(fw::TMessage& m);
  // The previous window procedure (the hooks below the wrapper's, then the window's own).
  void CallPrevWndProc(fw::TMessage& m);
  // The skin commands the base answers; false for those it leaves to the previous procedure.
  bool HandleSkinCommand(fw::TMessage& m);
  // Skinned now: a manager with a skin in force and a valid section.
  bool Skinned() const;
  // The wrapper made skin data of its own (it was not given a control's).
  bool OwnsSkinData() const { return FOwnSkinData != nullptr; }
  TacSkinParams FParams;

 private:
  // Runs acWndProc for one message with prev as the previous procedure.
  template <class Prev>
  void Dispatch(fw::TMessage& m, const Prev& prev);
  void InstallHook();

  TsCommonData* FSkinData = nullptr;
  std::unique_ptr<TsCommonData> FOwnSkinData;
  skin::core::TacManagerRef FManager;
  bool FDestroyed = false;
  bool FHooked = false;
  bool FBypass = false;  // a message of ProcessMessage going down past the wrapper's hook
  int FDepth = 0;        // messages of the wrapper's procedure running
  fw::TControl* FHookedControl = nullptr;
  fw::TWndHookId FHookId = 0;
  const std::function<void(fw::TMessage&)>* FPrev = nullptr;
};

// One bar of a TacScrollWnd.
struct TacScrollBar {
  static constexpr std::uint16_t CSBS_VISIBLE = 8;  // the window has this bar's scroll style
  int nBarType = win::SB_HORZ;
  std::uint16_t fScrollFlags = 0;
  int nArrowWidth = -1;   // thickness; -n: n x the system's
  int nArrowLength = -1;  // button length; -n: n x the system's
  int nMinThumbSize = acMinThumbSize;
  bool fScrollVisible = false;  // the bar takes room now
  TacScrollWnd* sw = nullptr;
};

// Where a bar is and what it shows, in window coordinates.
struct TacBarLayout {
  gfx::TRect Bar;  // the whole bar with its buttons; empty when not visible
  int Button = 0;  // button length (half the bar when two do not fit)
  TacThumb Thumb;
  bool Active = false;  // it can scroll; otherwise it is drawn veiled and answers no clicks
  win::SCROLLINFO Info;
};

// A wrapper whose window gets skinned scroll bars in place of the system's.
class TacScrollWnd : public TacMainWnd {
 public:
  std::string ClassName() const override { return "TacScrollWnd"; }
  TacScrollBar& Bar(int bar) { return bar == win::SB_VERT ? sBarVert : sBarHorz; }
  const TacScrollBar& Bar(int bar) const { return bar == win::SB_VERT ? sBarVert : sBarHorz; }
  // The bar's place, thumb and state now (scroll info read from the window).
  TacBarLayout Layout(int bar);
  // The part under the mouse and the part pressed (HTSCROLL_NONE when neither is this bar's).
  int HotPart(int bar) const;
  int PressedPart(int bar) const;
  // Bar thickness and button length: the control's own sizes, else the manager's, else the
  // bar's defaults (negative: times the system's).
  int GetScrollMetric(int bar, bool buttonLength) const;
  // Re-reads the bars and, with repaint, draws them (not while updating or invisible).
  void UpdateScrolls(bool repaint);
  // Draws the visible bars and their corner into dc, a DC of the whole window.
  void DrawBars(gfx::HDC dc);
  // The bar alone into bmp (its size), as DrawBars paints it.
  void PaintBar(int bar, gfx::Bitmap& bmp);
  // The square where both bars meet, in window coordinates; empty unless both show.
  gfx::TRect CornerRect() const;
  // The corner is a size grip (Ac_GripVisible): both bars show, the parent is a top-level
  // window, and the window's bottom-right (bottom-left with the bar on the left) is the
  // parent's client corner. It shows "GRIPIMAGE" and answers HTBOTTOMRIGHT.
  bool GripVisible() const;
  bool ThumbTracking() const { return fThumbTracking; }

  using TacMainWnd::TacMainWnd;

 protected:
  void Hook(bool repaint) override;
  void acWndProc(fw::TMessage& m) override;
  // The control whose disabled look the bars and the corner take, null while they keep their
  // own (a bar that cannot scroll is still veiled).
  virtual fw::TControl* DisabledOwner() const { return nullptr; }
  // bmp, a part of the window, made to look disabled as DisabledOwner's picture does.
  void PaintDisabledPart(gfx::Bitmap& bmp) const;
  // The window's borders as the previous procedure computed them.
  int cxLeftEdge = 0, cxRightEdge = 0, cyTopEdge = 0, cyBottomEdge = 0;

 private:
  void NCCalcSize(fw::TMessage& m);
  LRESULT NCHitTest(fw::TMessage& m);
  // Calls the previous procedure with the scroll styles taken away meanwhile, so that it
  // neither reserves room for the system's bars nor paints them.
  void CallPrevWithoutScrollStyles(fw::TMessage& m);
  void NCMouseMove(fw::TMessage& m);
  void NCLButtonDown(fw::TMessage& m);
  void MouseMove();
  void LButtonUp();
  void Timer(fw::TMessage& m);
  void ThumbTrack(int bar, gfx::TPoint cursor);
  // Sends WM_HSCROLL / WM_VSCROLL with code and pos, announced by AC_BEFORESCROLL and
  // AC_AFTERSCROLL.
  void SendScrollMessage(int bar, win::WORD code, int pos);
  void RedrawBars();
  gfx::TRect BarRect(int bar) const;
  bool UpdateLeftScroll();
  int PartAt(int bar, gfx::TPoint screen, bool shift);

  TacScrollBar sBarHorz{win::SB_HORZ, 0, -1, -1, acMinThumbSize, false, this};
  TacScrollBar sBarVert{win::SB_VERT, 0, -1, -1, acMinThumbSize, false, this};
  bool fThumbTracking = false;
  bool fLeftScrollbar = false;
  bool ScrollsInitialized = false;
  bool bPreventStyleChange = false;
  int FDragOffset = 0;  // the thumb's offset while dragged
};

// The base of the scrolling wrappers of controls: bars follow size and scroll changes.
class TacBaseWnd : public TacScrollWnd {
 public:
  std::string ClassName() const override { return "TacBaseWnd"; }

  using TacScrollWnd::TacScrollWnd;

 protected:
  void acWndProc(fw::TMessage& m) override;
};

// Edits, memos and list boxes (section "EDIT" by default): the bars follow what the edit does
// with keys, clicks, fonts and replaced text. A wrapper with skin data of its own (a control
// the form's adapter wrapped) also gives the control the section's colours and paints its
// frame from the section; a skinned control's ListSW leaves colours and frame to the control.
class TacEditWnd : public TacBaseWnd {
 public:
  std::string ClassName() const override { return "TacEditWnd"; }
  // Pending repaints collected by SetSkinParams: the client (colours changed), the frame
  // (the section shows a hot state).
  enum : unsigned { csPaintNeeded = 1, csNCPaintNeeded = 2 };
  unsigned CtrlState = 0;
  // The window draws something of its own in the non-client area: no bar shows and its client
  // area is smaller than the window less twice the edge (SM_CXEDGE) on either axis. Only that
  // edge is then painted from the section, so what the window draws inside it stays.
  bool NCContent() const;
  // The frame into dc, a DC of the whole window: the bands around the client area and the bars
  // (or the edge only, see NCContent) copied from the cache, where the section is painted
  // for the state the control shows over its parent. Nothing for a ListSW or unskinned.
  void PaintFrame(gfx::HDC dc);
  // The client of a disabled single-line edit (TEdit) into dc, a DC of the client area, cut
  // from DisabledPicture. False when it is not such an edit or the section cannot be painted
  // now.
  bool PaintDisabledClient(gfx::HDC dc);
  // The whole window of a disabled single-line edit whose skin data is the wrapper's own: the
  // section over the parent; the text in the section's disabled colour, scrolled as the edit
  // scrolled it (an asterisk password character shown as U+25CF), or, when empty, the text
  // hint in the font colour blended 180 of 255 with the section colour; then the control's
  // DisabledKind (dkBlended for a control without one). Empty when it is not such an edit or
  // the section cannot be painted now.
  gfx::Bitmap DisabledPicture();

  using TacBaseWnd::TacBaseWnd;

 protected:
  void AfterCreation() override;
  // Unless custom, the control's colour and font colour become the section's for the state it
  // shows (hot, when the section has a hot state); the wrapper's own skin data only.
  void SetSkinParams() override;
  void acWndProc(fw::TMessage& m) override;
  // The state the control shows: 1 when it is active (focused or hot) and the section has a
  // hot state, else 0.
  int ShownState() const;

 private:
  // DisabledPicture, or the one the paint under way made (the frame and the client of one
  // paint share it); built receives a new one.
  gfx::Bitmap* PictureForPaint(gfx::Bitmap& built);

  bool FSettingParams = false;
  gfx::Bitmap* FPaintPicture = nullptr;  // the disabled picture of the paint under way
};

// Copies into dc (a DC of the whole window) the bands of the w x h window lying around inner,
// taken from the same places of cache: the frame a control keeps in its cache.
void CopyFrameBands(gfx::HDC dc, gfx::Bitmap& cache, const gfx::TRect& inner, int w, int h);

// The drop-down list of a skinned combo box: an edit-like wrapper (section "EDIT") with its
// frame and bar painted from the skin.
class TacComboListWnd : public TacEditWnd {
 public:
  std::string ClassName() const override { return "TacComboListWnd"; }
  using TacEditWnd::TacEditWnd;

 protected:
  // A pop-up has no parent for its section to be painted over: its one-pixel frame is drawn
  // in the skin's border colour (pcBorder) after the bars.
  void acWndProc(fw::TMessage& m) override;
  // A disabled combo box: its list's frame and bars fade with the rest of the box.
  fw::TControl* DisabledOwner() const override;
};

// Tree views. With skin data of its own the wrapper also sets the tree's background and text
// colours (TVM_SETBKCOLOR, TVM_SETTEXTCOLOR) and gives the saved ones back. The background is
// not erased while skinned (the tree paints all of its client), except while the skin data is
// updating, when it is filled with the section's colour.
class TacTreeViewWnd : public TacEditWnd {
 public:
  std::string ClassName() const override { return "TacTreeViewWnd"; }
  bool SkipBG = false;  // leave the background erasing to the tree

  using TacEditWnd::TacEditWnd;

 protected:
  void SaveStdParams() override;
  void RestoreStdParams() override;
  void SetSkinParams() override;
  void acWndProc(fw::TMessage& m) override;

 private:
  win::LPARAM FStdBkColor = -1, FStdTextColor = -1;
};

class TsSkinProvider;

// The client window of a skinned MDI parent form (a bare window; section "CHECKBOX" for its
// own data): its background and its edge are the parent's picture at the client's place (the
// provider paints "MDIAREA" there), its bars are skinned. A thumb released scrolls the client
// to where it was dragged; dragging alone scrolls nothing. Children made in it are handed to
// the skinning of system windows, and arranging or re-menuing the children repaints the
// parent.
class TacMDIWnd : public TacBaseWnd {
 public:
  std::string ClassName() const override { return "TacMDIWnd"; }
  fw::TCustomForm* FForm = nullptr;        // the parent form
  TsSkinProvider* SkinProvider = nullptr;  // the parent's provider
  TsCommonData* MDISkinData = nullptr;     // the provider's data: its cache is the whole window
  // The parent's picture at the client's place into dc, a DC of the client area (0, 0 at the
  // client's top-left); false when the picture cannot be made.
  bool PaintBackground(gfx::HDC dc);
  // The client's active child is maximised (it covers the client area).
  bool ActiveChildMaximized() const;

  using TacBaseWnd::TacBaseWnd;

 protected:
  void acWndProc(fw::TMessage& m) override;

 private:
  // Both ends are ready: skinned, with a provider that paints.
  bool Painting() const;
  // Where the client's top-left pixel of rectangle kind (its window or its client area) lies
  // in the provider's picture.
  gfx::TPoint CachePlace(bool clientArea) const;
  void PaintEdge(gfx::HDC windowDC);
  // The parent repaints its picture, its client (with the children) and its frame.
  void RepaintParent(bool wholeClient);
  bool FFullThumbPos = false;  // the coming thumb message carries the whole position
};

// The colours a dialog button takes from its modal result (0x1FFFFFFF: none).
struct TacColoring {
  static constexpr std::uint32_t None = skin::core::kNoColorTone;
  std::uint32_t ColorToneBG = None;  // recolours the button's background
  std::uint32_t ColorGlyph = None;
  std::uint32_t ColorText = None;
};

// Push buttons of dialogs (a standard button listed in ThirdButtons, or a button window of a
// system dialog): which modal button it is, its state and its modal colours.
class TacBtnWnd : public TacMainWnd {
 public:
  using TacMainWnd::TacMainWnd;
  std::string ClassName() const override { return "TacBtnWnd"; }
  // The modal button: the owning button's modal result (mrOk 1, mrCancel 2, mrAbort 3, mrRetry
  // 4, mrIgnore 5, mrYes 6, mrNo 7, ...; each its own code), else the window's dialog control
  // identifier (IDOK 1, IDCANCEL 2, IDYES 6, IDNO 7, ...). 0 for other buttons.
  unsigned ID = 0;
  // The button reports the pushed state.
  bool Down() const;
  // 2 while down; 0 when disabled; 1 when focused or hot; a default push button 1 (3 without
  // an owning control, drawn as 1 by sections with fewer than four states); else 0.
  int CurrentState() const;
  // The colours of the modal buttons for the state the button shows: OK and Yes always; Cancel
  // and No only beside an OK or Yes button, Cancel in its own colours beside a No button. The
  // manager's ButtonsOptions.ModalButtonsColoring chooses which of the three are set.
  TacColoring GetColoring() const;
  // Paints the button into its skin data's cache: the section for the state over the parent's
  // background, recoloured by the modal background tone; the caption (word-wrapped for
  // BS_MULTILINE) in the modal text colour when one is set, else the section's, with the focus
  // rectangle around it when the manager shows one; a disabled button is then blended with
  // the parent's background (DefBlendDisabled). False when it cannot be painted now
  // (unskinned, the parent's picture not ready).
  bool PrepareCache();

 protected:
  void AfterCreation() override;
  void acWndProc(fw::TMessage& m) override;
  // The button changes the state it shows: one painted from its own picture fades to it
  // (DoChangePaint), another repaints.
  void ChangeShownState();
  // The button's image into its cache for state (drawn before the caption); none here.
  virtual void DrawGlyph(gfx::Bitmap& /*cache*/, int /*state*/) {}
  // The size of that image; (0, 0) here.
  virtual gfx::TSize GlyphSize() const { return {0, 0}; }
  // The caption's rectangle in the button for flags: its measured size centred, a pixel wider
  // on the left and two on the right, moved by (1, 1) while down where the content shifts.
  virtual gfx::TRect CaptionRect(fw::TCanvas& canvas, const std::u16string& text, unsigned flags,
                                 int state) const;
  // The content moves by (1, 1) while down (state 2) where the section shifts it on click.
  bool ShiftsContent(int state) const;

 private:
  // The parent's picture at the button's place and size; false when it is not ready.
  bool ParentBackground(gfx::Bitmap& out) const;
};

// A standard button (TButton) listed in ThirdButtons.
class TacButtonWnd : public TacBtnWnd {
 public:
  using TacBtnWnd::TacBtnWnd;
  std::string ClassName() const override { return "TacButtonWnd"; }
};

// A bit button (TBitBtn) listed in ThirdBitBtns: its glyph and caption where the button lays
// them out (Layout, Margin, Spacing) in its face, the glyph's frame for the state (disabled,
// down) as the button itself shows it. A bare bitmap button (BS_BITMAP, no control) shows its
// image (BM_GETIMAGE) centred and no text. The modal glyph colour tones either.
class TacBitBtnWnd : public TacBtnWnd {
 public:
  using TacBtnWnd::TacBtnWnd;
  std::string ClassName() const override { return "TacBitBtnWnd"; }

 protected:
  void DrawGlyph(gfx::Bitmap& cache, int state) override;
  gfx::TSize GlyphSize() const override;
  gfx::TRect CaptionRect(fw::TCanvas& canvas, const std::u16string& text, unsigned flags,
                         int state) const override;

 private:
  // The glyph's and the caption's places for state; false without an owning bit button.
  bool Layout(int state, gfx::TRect& glyph, gfx::TRect& caption) const;
  // The image of a bare bitmap button, null otherwise.
  const gfx::Bitmap* BareImage() const;
};

// The font of a dialog's bare child windows: the system's message font.
void SetDialogFont(fw::TFont& font);

// The parent's picture at the place and size of wnd (a control's window, or a bare child
// window when control is null): the parent's cache, or its colour; false when not ready.
bool ParentBackgroundOf(HWND wnd, fw::TControl* control, gfx::Bitmap& out);

// The wrapper of a window ("ACSBSC"), or null.
TacMainWnd* Ac_GetScrollWndFromHwnd(HWND handle);

// Frees a wrapper that no longer serves (detaching it first); one whose procedure is still
// running is kept until it has returned.
void ReleaseWrapper(std::unique_ptr<TacMainWnd> wrapper);

// The ListSW of a skinned control (its skin data cd): a wrapper of class W while the control
// is skinned and has a window, none otherwise; a detached wrapper is replaced.
template <class W>
void RefreshScrolls(TsCommonData& cd, std::unique_ptr<TacMainWnd>& listSW) {
  auto* control = dynamic_cast<fw::TWinControl*>(cd.OwnerControl());
  const bool wanted =
      control && control->HandleAllocated() && cd.Skinned() && !control->HasState(fw::csDestroying);
  if (listSW && (listSW->Destroyed() || !wanted)) ReleaseWrapper(std::move(listSW));
  if (!listSW && wanted) {
    TacSkinParams params;
    params.Control = control;
    params.SkinSection = cd.SkinSection();
    listSW = TacMainWnd::Create<W>(control->Handle(), true, params, cd.SkinManager(), &cd);
  }
}
inline void RefreshEditScrolls(TsCommonData& cd, std::unique_ptr<TacMainWnd>& listSW) {
  RefreshScrolls<TacEditWnd>(cd, listSW);
}
inline void RefreshTreeScrolls(TsCommonData& cd, std::unique_ptr<TacMainWnd>& listSW) {
  RefreshScrolls<TacTreeViewWnd>(cd, listSW);
}

// Adds "wrapper" and "scrollBars" to the entries of wrapped controls in the dump (once).
void InstallWrapperDump();
// A rectangle in the dump: [left, top, right, bottom].
void WriteRect(backend::JsonWriter& w, const gfx::TRect& r);

}  // namespace skin::frame
