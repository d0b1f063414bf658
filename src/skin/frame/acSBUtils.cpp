#include "skin/frame/acSBUtils.h"

#include <algorithm>
#include <exception>
#include <vector>

#include "framework/Automation.h"
#include "framework/Button.h"
#include "framework/Canvas.h"
#include "framework/ComboBox.h"
#include "framework/Edit.h"
#include "framework/TreeView.h"
#include "platform/backend/Dump.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/win/Input.h"
#include "platform/win/KeyboardLayout.h"
#include "platform/win/Keys.h"
#include "platform/win/Mdi.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/Paint.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/MulDiv.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Timers.h"
#include "platform/win/Window.h"
#include "platform/win/WindowProc.h"
#include "skin/core/acDialogHook.h"
#include "skin/core/sFade.h"
#include "skin/core/sGraphUtils.h"
#include "skin/core/sMessages.h"
#include "skin/draw/sAlphaGraph.h"
#include "skin/frame/sSkinProvider.h"
#include "skin/paint/sAlphaGraph.h"
#include "skin/paint/sGraphUtils.h"

namespace skin::frame {

using namespace win;
using gfx::TPoint;
using gfx::TRect;
using skin::core::SM_ALPHACMD;

// ---- Bar arithmetic ----------------------------------------------------------------------------

namespace {

// a x b / c rounded to the nearest integer, halves away from zero; c > 0.
std::int64_t MulDiv64(std::int64_t a, std::int64_t b, std::int64_t c) {
  const std::int64_t p = a * b, half = c / 2;
  return (p >= 0 ? p + half : p - half) / c;
}

// How far a bar scrolls: the positions from min to the last one.
std::int64_t Scrollable(int min, int max, UINT page) {
  return std::int64_t(max) - min - std::max<std::int64_t>(1, page) + 1;
}

}  // namespace

int LastPosition(int min, int max, UINT page) {
  const std::int64_t last = std::int64_t(max) - std::max<std::int64_t>(std::int64_t(page) - 1, 0);
  return int(std::max<std::int64_t>(last, min));
}

TacThumb CalcThumb(int barLength, int buttonLength, int minThumb, int min, int max, UINT page,
                   int pos) {
  const std::int64_t track = std::int64_t(barLength) - 2 * std::int64_t(buttonLength);
  const std::int64_t range = std::max<std::int64_t>(std::int64_t(max) - min, 0);
  if (track <= 0 || buttonLength < 0) return {};
  std::int64_t size;
  if (page == 0)
    size = std::max(buttonLength, minThumb);
  else
    size = MulDiv64(page, track, range + 1);
  if (buttonLength != 0 || size > 18)
    size = std::max<std::int64_t>(size, minThumb);
  else
    size = 19;
  // A thumb that fills the track has nowhere to go: none is shown, none can be dragged.
  if (size >= track) return {};
  const std::int64_t room = track - size, scrollable = Scrollable(min, max, page);
  const std::int64_t offset =
      scrollable > 0 ? MulDiv64(std::int64_t(pos) - min, room, scrollable) : 0;
  return {int(size), int(std::clamp<std::int64_t>(offset, 0, room))};
}

int ThumbPosition(int offset, int trackLength, int thumbSize, int min, int max, UINT page) {
  const std::int64_t room = std::int64_t(trackLength) - thumbSize;
  const std::int64_t scrollable = Scrollable(min, max, page);
  if (room <= 0 || scrollable <= 0) return min;
  const std::int64_t at = std::clamp<std::int64_t>(offset, 0, room);
  return int(
      std::min<std::int64_t>(min + MulDiv64(at, scrollable, room), LastPosition(min, max, page)));
}

int ScrollPortion(int along, int across, int barLength, int thickness, int buttonLength,
                  const TacThumb& thumb, bool shift) {
  if (across < 0 || across >= thickness || along < 0 || along >= barLength) return HTSCROLL_NONE;
  const int e = 2 * buttonLength < barLength ? buttonLength : barLength / 2;
  if (along < e) return HTSCROLL_LEFT;
  if (along >= barLength - e) return HTSCROLL_RIGHT;
  if (thumb.Size <= 0) return HTSCROLL_NONE;
  const int start = e + thumb.Offset;
  if (along >= start && along < start + thumb.Size) return HTSCROLL_THUMB;
  if (shift) return HTSCROLL_PAGEGO;
  return along < start ? HTSCROLL_PAGELEFT : HTSCROLL_PAGERIGHT;
}

// ---- The mouse state of the bars ---------------------------------------------------------------

namespace {

constexpr std::u16string_view kWrapperProp = u"ACSBSC";

// Shared by every wrapper: only one bar can be under the mouse or captured at a time.
struct TacSBMouse {
  HWND hwndCurSB = nullptr;        // the window whose bar is under the mouse or captured
  int uMouseOverScrollbar = -1;    // the bar under the mouse
  int uCurrentScrollbar = -1;      // the bar pressed
  int uHitTestPortion = -1;        // the part under the mouse now
  int uCurrentScrollPortion = -1;  // the part pressed
  TRect MouseOverRect;             // the bar under the mouse, on the screen
  int nThumbMouseOffset = 0;       // where in the thumb it was grabbed
  int nLastSBPos = 0;              // the last position sent while dragging
} sb;

void ResetMouse() {
  sb = TacSBMouse{};
}

// Wrappers freed while their procedure still runs wait here until it has returned.
std::vector<std::unique_ptr<TacMainWnd>> parked;

}  // namespace

// ---- TacMainWnd --------------------------------------------------------------------------------

TacMainWnd::TacMainWnd(HWND handle, const TacSkinParams& params, TsSkinManager* manager,
                       TsCommonData* skinData)
    : CtrlHandle(handle), FParams(params), FSkinData(skinData) {
  if (!FSkinData) {
    FOwnSkinData = std::make_unique<TsCommonData>(params.Control, true);
    FOwnSkinData->SetSkinSection(params.SkinSection);
    FOwnSkinData->SetCustomColor(!params.UseSkinColor);
    FOwnSkinData->SetCustomFont(!params.UseSkinFontColor);
    if (!params.Control) FOwnSkinData->FSWHandle = handle;  // a bare window's data lives with it
    if (manager) FOwnSkinData->SetSkinManager(manager);
    FSkinData = FOwnSkinData.get();
  }
  FManager.Set(manager);
}

TacMainWnd::~TacMainWnd() {
  Uninitialize(false);
}

TsSkinManager* TacMainWnd::SkinManager() const {
  return FManager.Get() ? FManager.Get() : FSkinData->SkinManager();
}

bool TacMainWnd::Skinned() const {
  return !FDestroyed && FSkinData->Skinned(true);
}

void TacMainWnd::Initialize(bool repaint) {
  if (FOwnSkinData && FSkinData->SkinSection().empty() && !FParams.SkinSection.empty())
    FSkinData->SetSkinSection(FParams.SkinSection);
  SaveStdParams();
  Caption = GetWindowTextW(CtrlHandle);
  // The control is not made opaque here: the wrapped controls still erase their own
  // background, and an opaque one would keep the pixels of its old text.
  Hook(repaint);
  AfterCreation();
}

void TacMainWnd::AfterCreation() {
  if (FOwnSkinData) {
    FSkinData->Loaded(false);
    FSkinData->UpdateIndexes();
  }
}

void TacMainWnd::SaveStdParams() {
  if (!FParams.Control) return;
  StdColor = FParams.Control->Color();
  StdFontColor = FParams.Control->Font().Color();
}

void TacMainWnd::RestoreStdParams() {
  // A wrapper with the control's own skin data leaves the colours to the control.
  if (FOwnSkinData && FParams.Control) {
    if (!FSkinData->CustomColor()) FParams.Control->SetColor(StdColor);
    if (!FSkinData->CustomFont()) FParams.Control->Font().SetColor(StdFontColor);
  }
  // The window no longer counts as skinned: its own data's registration goes with the hook.
  if (FOwnSkinData) FOwnSkinData->RemoveCommonProp();
  if (IsWindow(CtrlHandle) && GetPropW(CtrlHandle, kWrapperProp) == this)
    RemovePropW(CtrlHandle, kWrapperProp);
}

template <class Prev>
void TacMainWnd::Dispatch(fw::TMessage& m, const Prev& prev) {
  if (FDestroyed || FBypass) {
    FBypass = false;
    prev(m);
    return;
  }
  const std::function<void(fw::TMessage&)> call = prev;
  struct Restore {
    TacMainWnd* w;
    const std::function<void(fw::TMessage&)>* saved;
    ~Restore() {
      w->FPrev = saved;
      --w->FDepth;
    }
  } restore{this, FPrev};
  FPrev = &call;
  ++FDepth;
  acWndProc(m);
}

void TacMainWnd::InstallHook() {
  SetPropW(CtrlHandle, kWrapperProp, this);
  if (FParams.Control) {
    FHookedControl = FParams.Control;
    FHookId = FHookedControl->HookWindowProc([this](fw::TMessage& m, const fw::TWndNext& next) {
      Dispatch(m, [&next](fw::TMessage& mm) { next(mm); });
    });
  } else {
    const HWND h = CtrlHandle;
    SetWindowSubclass(
        h,
        [this](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
          fw::TMessage m{msg, wParam, lParam, 0};
          Dispatch(m, [hwnd](fw::TMessage& mm) {
            mm.Result = DefSubclassProc(hwnd, mm.Msg, mm.WParam, mm.LParam);
          });
          return m.Result;
        },
        UINT_PTR(this), 0);
  }
  FHooked = true;
}

void TacMainWnd::Hook(bool repaint) {
  InstallHook();
  if (repaint && IsWindow(CtrlHandle))
    SetWindowPos(CtrlHandle, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TacMainWnd::Uninitialize(bool redraw) {
  if (FDestroyed) return;
  FDestroyed = true;
  if (FHooked) {
    FHooked = false;
    // Only the wrapper's own hook goes, wherever it sits; later subclassers stay linked.
    if (FHookedControl) {
      if (FHookedControl->WindowProcHooked(FHookId)) FHookedControl->UnhookWindowProc(FHookId);
    } else if (IsWindow(CtrlHandle)) {
      RemoveWindowSubclass(CtrlHandle, UINT_PTR(this));
    }
  }
  if (sb.hwndCurSB == CtrlHandle) {
    const bool captured = GetCapture() == CtrlHandle && sb.uCurrentScrollbar >= 0;
    ResetMouse();
    if (captured) ReleaseCapture();
  }
  if (IsWindow(CtrlHandle))
    for (UINT_PTR id : {acHoverTimer, acFirstRepeatTimer, acRepeatTimer}) KillTimer(CtrlHandle, id);
  RestoreStdParams();
  if (redraw && IsWindow(CtrlHandle) && IsWindowVisible(CtrlHandle))
    SetWindowPos(CtrlHandle, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TacMainWnd::CallPrevWndProc(fw::TMessage& m) {
  if (FPrev) {
    (*FPrev)(m);
    return;
  }
  // Outside a message of the window: down the window's chain, past the wrapper's own hook.
  FBypass = true;
  if (FHookedControl && FHooked) {
    FHookedControl->WindowProc(m);
  } else {
    m.Result = SendMessageW(CtrlHandle, m.Msg, m.WParam, m.LParam);
  }
  FBypass = false;
}

LRESULT TacMainWnd::ProcessMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  fw::TMessage m{msg, wParam, lParam, 0};
  if (FDestroyed) {
    m.Result = IsWindow(CtrlHandle) ? SendMessageW(CtrlHandle, msg, wParam, lParam) : 0;
    return m.Result;
  }
  // In use meanwhile: a wrapper released by its owner while it handles the message waits.
  ++FDepth;
  struct Leave {
    int& depth;
    ~Leave() { --depth; }
  } leave{FDepth};
  acWndProc(m);
  return m.Result;
}

bool TacMainWnd::HandleSkinCommand(fw::TMessage& m) {
  using namespace skin::core;
  switch (WParamHi(m.WParam)) {
    case AC_CTRLHANDLED:
      m.Result = 1;
      return true;
    case AC_GETLISTSW:
      m.Result = LRESULT(this);
      return true;
    case AC_SETNEWSKIN:
    case AC_REFRESH:
    case AC_REINITSCROLLS:
      // The bars' sizes may have changed with the skin: the frame is worked out again.
      CallPrevWndProc(m);
      if (!FDestroyed && IsWindowVisible(CtrlHandle))
        SetWindowPos(CtrlHandle, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
      return true;
    case AC_REMOVESKIN:
      CallPrevWndProc(m);
      // A bare window's wrapper goes with the skin; a control detaches its own.
      if (FOwnSkinData) Uninitialize(true);
      return true;
    default:
      return false;
  }
}

void TacMainWnd::acWndProc(fw::TMessage& m) {
  switch (m.Msg) {
    case WM_DESTROY:
    case WM_NCDESTROY: {
      // Unhooked whatever the previous procedure does; its error is shown after that.
      std::exception_ptr error;
      try {
        CallPrevWndProc(m);
      } catch (...) {
        error = std::current_exception();
        m.Result = 1;
      }
      Uninitialize(false);
      if (error) std::rethrow_exception(error);
      return;
    }
    case WM_SETTEXT:
      CallPrevWndProc(m);
      if (IsWindow(CtrlHandle)) Caption = GetWindowTextW(CtrlHandle);
      return;
    case WM_SIZE:
      FSkinData->BGChanged = true;
      CallPrevWndProc(m);
      return;
    case WM_CONTEXTMENU:
      skin::core::HookContextPopups(FSkinData->OwnerControl(), m.LParam, SkinManager());
      break;
    default:
      break;
  }
  if (m.Msg == SM_ALPHACMD && HandleSkinCommand(m)) return;
  CallPrevWndProc(m);
}

TacMainWnd* Ac_GetScrollWndFromHwnd(HWND handle) {
  return IsWindow(handle) ? static_cast<TacMainWnd*>(GetPropW(handle, kWrapperProp)) : nullptr;
}

void ReleaseWrapper(std::unique_ptr<TacMainWnd> wrapper) {
  std::erase_if(parked, [](const std::unique_ptr<TacMainWnd>& w) { return !w->InUse(); });
  if (!wrapper) return;
  wrapper->Uninitialize(false);
  if (wrapper->InUse()) parked.push_back(std::move(wrapper));
}

// ---- TacScrollWnd ------------------------------------------------------------------------------

namespace {

bool IsVert(int bar) {
  return bar == SB_VERT;
}

int HitCode(int bar) {
  return int(IsVert(bar) ? HTVSCROLL : HTHSCROLL);
}

TPoint CursorPos() {
  POINT p{0, 0};
  GetCursorPos(&p);
  return {p.X, p.Y};
}

TRect WindowRectOf(HWND h) {
  RECT r;
  GetWindowRect(h, &r);
  return r;
}

}  // namespace

void TacScrollWnd::Hook(bool repaint) {
  fLeftScrollbar = UpdateLeftScroll();
  const auto style = GetWindowLongPtrW(CtrlHandle, GWL_STYLE);
  sBarHorz.fScrollFlags = (style & WS_HSCROLL) ? TacScrollBar::CSBS_VISIBLE : 0;
  sBarVert.fScrollFlags = (style & WS_VSCROLL) ? TacScrollBar::CSBS_VISIBLE : 0;
  TacMainWnd::Hook(repaint);
}

bool TacScrollWnd::UpdateLeftScroll() {
  const auto ex = GetWindowLongPtrW(CtrlHandle, GWL_EXSTYLE);
  return (ex & WS_EX_LEFTSCROLLBAR) != 0;
}

int TacScrollWnd::GetScrollMetric(int bar, bool buttonLength) const {
  const bool vert = IsVert(bar);
  const TacScrollBar& b = vert ? sBarVert : sBarHorz;
  const TsSkinManager* manager = SkinManager();
  const auto* data = dynamic_cast<const skin::core::TsScrollWndData*>(SkinData());
  const int own = buttonLength ? (vert ? FParams.VertScrollBtnSize : FParams.HorzScrollBtnSize)
                               : (vert ? FParams.VertScrollSize : FParams.HorzScrollSize);
  if (own >= 0) return own;
  if (data) {
    const auto& d = vert ? data->VertScrollData() : data->HorzScrollData();
    const int value = buttonLength ? d.ButtonsSize : d.ScrollWidth;
    if (value >= 0) return value;
  }
  const int system = GetSystemMetrics(vert ? (buttonLength ? SM_CYVSCROLL : SM_CXVSCROLL)
                                           : (buttonLength ? SM_CXHSCROLL : SM_CYHSCROLL));
  if (!buttonLength) {
    if (manager && manager->ScrollsOptions().ScrollSize() >= 0)
      return skin::core::GetScrollSize(manager);
    return b.nArrowWidth < 0 ? -b.nArrowWidth * system : b.nArrowWidth;
  }
  if (manager && manager->ScrollsOptions().ButtonsSize() >= 0)
    return manager->ScrollsOptions().ButtonsSize();
  if (b.nArrowLength >= 0) return b.nArrowLength;
  if (manager && manager->ScrollsOptions().ScrollSize() >= 0)
    return skin::core::GetScrollSize(manager);
  return -b.nArrowLength * system;
}

TRect TacScrollWnd::BarRect(int bar) const {
  const TRect wr = WindowRectOf(CtrlHandle);
  const int w = wr.Width(), h = wr.Height();
  const int vThick = sBarVert.fScrollVisible ? GetScrollMetric(SB_VERT, false) : 0;
  const int hThick = sBarHorz.fScrollVisible ? GetScrollMetric(SB_HORZ, false) : 0;
  if (IsVert(bar)) {
    if (!sBarVert.fScrollVisible) return {};
    const int left = fLeftScrollbar ? cxLeftEdge : w - cxRightEdge - vThick;
    return {left, cyTopEdge, left + vThick, h - cyBottomEdge - hThick};
  }
  if (!sBarHorz.fScrollVisible) return {};
  const int bottom = h - cyBottomEdge;
  return {cxLeftEdge + (fLeftScrollbar ? vThick : 0), bottom - hThick,
          w - cxRightEdge - (fLeftScrollbar ? 0 : vThick), bottom};
}

TacBarLayout TacScrollWnd::Layout(int bar) {
  TacBarLayout l;
  l.Bar = BarRect(bar);
  if (l.Bar.IsEmpty()) return {};
  l.Info.fMask = SIF_ALL;
  GetScrollInfo(CtrlHandle, bar, &l.Info);
  const bool vert = IsVert(bar);
  const int length = vert ? l.Bar.Height() : l.Bar.Width();
  const int button = GetScrollMetric(bar, true);
  l.Button = 2 * button < length ? button : length / 2;
  // Active: the bar can scroll, is enabled and not both of its arrows are off.
  SCROLLBARINFO info;
  GetScrollBarInfo(CtrlHandle, vert ? OBJID_VSCROLL : OBJID_HSCROLL, &info);
  const bool unavailable = (info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) ||
                           ((info.rgstate[1] & STATE_SYSTEM_UNAVAILABLE) &&
                            (info.rgstate[5] & STATE_SYSTEM_UNAVAILABLE));
  const std::int64_t span = std::int64_t(l.Info.nMax) - l.Info.nMin + 1;
  l.Active = !unavailable && (l.Info.nPage == 0 ? span > 1 : span > std::int64_t(l.Info.nPage));
  if (l.Active && 2 * button < length) {
    l.Thumb = CalcThumb(length, button, Bar(bar).nMinThumbSize, l.Info.nMin, l.Info.nMax,
                        l.Info.nPage, l.Info.nPos);
    if (fThumbTracking && sb.uCurrentScrollbar == bar && sb.hwndCurSB == CtrlHandle)
      l.Thumb.Offset = FDragOffset;
  }
  return l;
}

int TacScrollWnd::HotPart(int bar) const {
  return sb.hwndCurSB == CtrlHandle && sb.uMouseOverScrollbar == bar ? sb.uHitTestPortion
                                                                     : HTSCROLL_NONE;
}

int TacScrollWnd::PressedPart(int bar) const {
  if (sb.hwndCurSB != CtrlHandle || sb.uCurrentScrollbar != bar) return HTSCROLL_NONE;
  if (sb.uCurrentScrollPortion == HTSCROLL_THUMB) return fThumbTracking ? HTSCROLL_THUMB : -1;
  // A button or track part shows pressed while the mouse is on it.
  return sb.uHitTestPortion == sb.uCurrentScrollPortion ? sb.uCurrentScrollPortion : HTSCROLL_NONE;
}

int TacScrollWnd::PartAt(int bar, TPoint screen, bool shift) {
  const TacBarLayout l = Layout(bar);
  if (l.Bar.IsEmpty()) return HTSCROLL_NONE;
  const TRect wr = WindowRectOf(CtrlHandle);
  const TRect r = l.Bar.Offset(wr.Left, wr.Top);
  const bool vert = IsVert(bar);
  return ScrollPortion(vert ? screen.Y - r.Top : screen.X - r.Left,
                       vert ? screen.X - r.Left : screen.Y - r.Top, vert ? r.Height() : r.Width(),
                       vert ? r.Width() : r.Height(), GetScrollMetric(bar, true),
                       l.Active ? l.Thumb : TacThumb{}, shift);
}

void TacScrollWnd::PaintBar(int bar, gfx::Bitmap& bmp) {
  namespace sd = skin::draw;
  TsSkinManager* manager = SkinManager();
  const skin::data::TacSkinModel* sm = manager ? manager->SkinModel() : nullptr;
  const TacBarLayout l = Layout(bar);
  if (!sm || l.Bar.IsEmpty()) return;
  const bool vert = IsVert(bar);
  const int length = vert ? l.Bar.Height() : l.Bar.Width();
  if (length <= 1) return;
  const auto& cd = manager->ConstData();
  const int v = vert ? 1 : 0;
  // What lies behind the bar: the control's own picture there, else its colour.
  gfx::Bitmap bg(bmp.Width(), bmp.Height());
  TsCommonData& data = *SkinData();
  skin::paint::FillRect32(bg, {0, 0, bg.Width(), bg.Height()}, skin::core::GetBGColor(data, 0),
                          255);
  if (data.OwnerControl() && skin::core::UpdateCache(data, skin::core::ControlState(data))) {
    gfx::Bitmap* cache = data.CacheBmp();
    gfx::DeviceContext from(*cache), to(bg);
    gfx::BitBlt(&to, 0, 0, bg.Width(), bg.Height(), &from, l.Bar.Left, l.Bar.Top, gfx::SRCCOPY);
  }
  const sd::TCacheInfo ci = sd::MakeCacheInfo(&bg);
  auto span = [&](int from, int to) {
    return vert ? TRect{0, from, bmp.Width(), to} : TRect{from, 0, to, bmp.Height()};
  };
  auto paint = [&](const skin::data::TacConstElementData& e, int state, const TRect& r) {
    sd::PaintItem(sm, e.SkinIndex, ci, true, state, r, TPoint{0, 0}, &bmp, e.BGIndex[0],
                  e.BGIndex[1]);
  };
  const int hot = HotPart(bar), pressed = PressedPart(bar);
  auto stateOf = [&](int part) { return pressed == part ? 2 : hot == part ? 1 : 0; };
  const int b = l.Button;
  const bool room = 2 * GetScrollMetric(bar, true) < length;
  const bool thumb = room && l.Active && l.Thumb.Size > 0;
  const int centre = thumb ? b + l.Thumb.Offset + l.Thumb.Size / 2 : length / 2;
  paint(cd.Scrolls[std::size_t(v)], pressed == HTSCROLL_PAGELEFT ? 2 : 0, span(0, centre));
  paint(cd.Scrolls[std::size_t(2 + v)], pressed == HTSCROLL_PAGERIGHT ? 2 : 0,
        span(centre, length));
  auto button = [&](int part, const TRect& r) {
    const auto& e = cd.ScrollBtns[std::size_t(part == HTSCROLL_LEFT ? v : 2 + v)];
    const int state = stateOf(part);
    paint(e, state, r);
    if (sm->IsValidImgIndex(e.GlyphIndex)) {
      const auto& md = sm->ma[std::size_t(e.GlyphIndex)];
      sd::DrawSkinGlyph(bmp,
                        {r.Left + (r.Width() - md.Width) / 2, r.Top + (r.Height() - md.Height) / 2},
                        state, 1, md, ci);
    } else if (sm->IsValidSkinIndex(e.SkinIndex)) {
      const auto& gd = sm->gd[std::size_t(e.SkinIndex)];
      const TRect a = state == 2 && gd.ShiftOnClick ? r.Offset(1, 1) : r;
      auto style = manager->Options().ActualArrowStyle();
      if (style == skin::paint::arsDefault) style = skin::paint::arsSolid1;
      const auto side = part == HTSCROLL_LEFT
                            ? (vert ? skin::paint::asTop : skin::paint::asLeft)
                            : (vert ? skin::paint::asBottom : skin::paint::asRight);
      skin::paint::DrawArrow(bmp, sd::StateProps(gd, std::min(state, 2)).FontColor.Color,
                             skin::paint::clNone, a, side, 0, 0, 0, style);
    }
  };
  button(HTSCROLL_LEFT, span(0, b));
  button(HTSCROLL_RIGHT, span(length - b, length));
  if (thumb) {
    const auto& e = cd.Sliders[std::size_t(v)];
    const TRect r = span(b + l.Thumb.Offset, b + l.Thumb.Offset + l.Thumb.Size);
    const int state = pressed == HTSCROLL_THUMB ? 2 : hot == HTSCROLL_THUMB ? 1 : 0;
    paint(e, state, r);
    if (sm->IsValidImgIndex(e.GlyphIndex)) {
      const auto& md = sm->ma[std::size_t(e.GlyphIndex)];
      if (md.Width <= r.Width() && md.Height <= r.Height())
        sd::DrawSkinGlyph(
            bmp, {r.Left + (r.Width() - md.Width) / 2, r.Top + (r.Height() - md.Height) / 2}, state,
            1, md, ci);
    }
  }
  // A bar that cannot scroll is veiled with what lies behind it.
  if (!l.Active)
    skin::paint::BlendTransRectangle(bmp, 0, 0, bg, {0, 0, bmp.Width() - 1, bmp.Height() - 1},
                                     skin::core::DefBlendDisabled, skin::paint::clFuchsia);
  PaintDisabledPart(bmp);
}

void TacScrollWnd::PaintDisabledPart(gfx::Bitmap& bmp) const {
  fw::TControl* owner = DisabledOwner();
  if (!owner || owner->Enabled() || !owner->Parent()) return;
  // Toward the parent's colour, as the control's other parts go.
  skin::paint::TCacheInfo ci;
  ci.FillColor = fw::ColorToRGB(owner->Parent()->Color());
  skin::paint::BmpDisabledKind(bmp, skin::core::DisabledKindOf(owner), ci.FillColor, ci, {0, 0});
}

void TacScrollWnd::DrawBars(gfx::HDC dc) {
  TsSkinManager* manager = SkinManager();
  if (!dc || !Skinned() || SkinData()->Updating() || !IsWindowVisible(CtrlHandle) || !manager)
    return;
  for (int bar : {SB_HORZ, SB_VERT}) {
    const TRect r = BarRect(bar);
    if (r.IsEmpty()) continue;
    gfx::Bitmap bmp(r.Width(), r.Height());
    PaintBar(bar, bmp);
    gfx::DeviceContext from(bmp);
    gfx::BitBlt(dc, r.Left, r.Top, r.Width(), r.Height(), &from, 0, 0, gfx::SRCCOPY);
  }
  // The corner square where both bars meet, with the size grip at its bottom-right.
  const TRect corner = CornerRect();
  if (corner.IsEmpty()) return;
  gfx::Bitmap bmp(corner.Width(), corner.Height());
  skin::paint::FillRect32(bmp, bmp.Bounds(), manager->GetGlobalColor(), 255);
  const skin::data::TacSkinModel* sm = manager->SkinModel();
  const int grip = sm ? manager->ConstData().GripRightBottom : -1;
  if (GripVisible() && sm->IsValidImgIndex(grip)) {
    const auto& md = sm->ma[std::size_t(grip)];
    gfx::Bitmap bg = bmp;
    skin::draw::DrawSkinGlyph(bmp, {bmp.Width() - md.Width, bmp.Height() - md.Height}, 0, 1, md,
                              skin::draw::MakeCacheInfo(&bg));
  }
  PaintDisabledPart(bmp);
  gfx::DeviceContext from(bmp);
  gfx::BitBlt(dc, corner.Left, corner.Top, corner.Width(), corner.Height(), &from, 0, 0,
              gfx::SRCCOPY);
}

TRect TacScrollWnd::CornerRect() const {
  const TRect h = BarRect(SB_HORZ), v = BarRect(SB_VERT);
  if (h.IsEmpty() || v.IsEmpty()) return {};
  return {v.Left, h.Top, v.Right, h.Bottom};
}

bool TacScrollWnd::GripVisible() const {
  if (CornerRect().IsEmpty()) return false;
  const HWND parent = GetParent(CtrlHandle);
  if (!parent || GetParent(parent)) return false;
  RECT client;
  GetClientRect(parent, &client);
  POINT origin{0, 0};
  ClientToScreen(parent, &origin);
  const TRect wr = WindowRectOf(CtrlHandle);
  const int right = origin.X + client.Right, bottom = origin.Y + client.Bottom;
  return wr.Bottom == bottom &&
         (fLeftScrollbar ? wr.Left == origin.X + client.Left : wr.Right == right);
}

void TacScrollWnd::RedrawBars() {
  if (DontRepaint) return;
  HDC dc = GetWindowDC(CtrlHandle);
  if (!dc) return;
  DrawBars(dc);
  ReleaseDC(CtrlHandle, dc);
}

void TacScrollWnd::UpdateScrolls(bool repaint) {
  if (!repaint || !Skinned() || SkinData()->Updating() || !IsWindowVisible(CtrlHandle)) return;
  RedrawBars();
}

void TacScrollWnd::CallPrevWithoutScrollStyles(fw::TMessage& m) {
  const HWND h = CtrlHandle;
  const LONG_PTR bars = GetWindowLongPtrW(h, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL);
  if (!bars) {
    CallPrevWndProc(m);
    return;
  }
  struct Restore {
    TacScrollWnd* w;
    HWND h;
    LONG_PTR bars;
    ~Restore() {
      if (IsWindow(h)) SetWindowLongPtrW(h, GWL_STYLE, GetWindowLongPtrW(h, GWL_STYLE) | bars);
      w->bPreventStyleChange = false;
    }
  };
  bPreventStyleChange = true;
  SetWindowLongPtrW(h, GWL_STYLE, GetWindowLongPtrW(h, GWL_STYLE) & ~bars);
  Restore restore{this, h, bars};
  CallPrevWndProc(m);
}

void TacScrollWnd::NCCalcSize(fw::TMessage& m) {
  RECT* r = m.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam)->rgrc[0]
                     : reinterpret_cast<RECT*>(m.LParam);
  const RECT window = *r;
  CallPrevWithoutScrollStyles(m);
  cxLeftEdge = r->Left - window.Left;
  cyTopEdge = r->Top - window.Top;
  cxRightEdge = window.Right - r->Right;
  cyBottomEdge = window.Bottom - r->Bottom;
  // The bars present now are read here each time: the scroll styles come and go.
  const auto style = GetWindowLongPtrW(CtrlHandle, GWL_STYLE);
  sBarHorz.fScrollFlags = (style & WS_HSCROLL) ? TacScrollBar::CSBS_VISIBLE : 0;
  sBarVert.fScrollFlags = (style & WS_VSCROLL) ? TacScrollBar::CSBS_VISIBLE : 0;
  const int vThick = GetScrollMetric(SB_VERT, false), hThick = GetScrollMetric(SB_HORZ, false);
  sBarVert.fScrollVisible =
      (sBarVert.fScrollFlags & TacScrollBar::CSBS_VISIBLE) && r->Right - r->Left >= vThick;
  if (sBarVert.fScrollVisible) {
    if (fLeftScrollbar)
      r->Left += vThick;
    else
      r->Right -= vThick;
  }
  sBarHorz.fScrollVisible =
      (sBarHorz.fScrollFlags & TacScrollBar::CSBS_VISIBLE) && r->Bottom - r->Top >= hThick;
  if (sBarHorz.fScrollVisible) r->Bottom -= hThick;
  ScrollsInitialized = true;
}

LRESULT TacScrollWnd::NCHitTest(fw::TMessage& m) {
  const TPoint p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  const TRect wr = WindowRectOf(CtrlHandle);
  // The mouse over the window makes it the manager's hot control, bars and frame included.
  if (TsSkinManager* manager = SkinManager(); manager && wr.Contains(p) &&
                                              manager->ActiveControl() != CtrlHandle &&
                                              IsWindowEnabled(CtrlHandle))
    manager->SetActiveControl(CtrlHandle);
  if (GripVisible() && CornerRect().Offset(wr.Left, wr.Top).Contains(p)) return HTBOTTOMRIGHT;
  for (int bar : {SB_VERT, SB_HORZ}) {
    const TRect r = BarRect(bar).Offset(wr.Left, wr.Top);
    if (!r.IsEmpty() && r.Contains(p)) return Layout(bar).Active ? HitCode(bar) : HTNOWHERE;
  }
  CallPrevWndProc(m);
  // The previous procedure knows only the system's bars, which are not there.
  if (m.Result == HTVSCROLL || m.Result == HTHSCROLL) return HTBORDER;
  return m.Result;
}

void TacScrollWnd::NCMouseMove(fw::TMessage& m) {
  const LRESULT hit = LRESULT(m.WParam);
  if (hit != HTVSCROLL && hit != HTHSCROLL) return;
  const int bar = hit == HTVSCROLL ? SB_VERT : SB_HORZ;
  if (sb.uCurrentScrollbar >= 0) return;  // a press elsewhere owns the state
  const TRect wr = WindowRectOf(CtrlHandle);
  const int part = PartAt(bar, {GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)}, false);
  const bool changed = sb.hwndCurSB != CtrlHandle || sb.uMouseOverScrollbar != bar;
  if (changed) {
    sb.hwndCurSB = CtrlHandle;
    sb.uMouseOverScrollbar = bar;
    sb.MouseOverRect = BarRect(bar).Offset(wr.Left, wr.Top);
    SetTimer(CtrlHandle, acHoverTimer, acHoverInterval, nullptr);
  }
  if (changed || part != sb.uHitTestPortion) {
    sb.uHitTestPortion = part;
    RedrawBars();
  }
}

void TacScrollWnd::SendScrollMessage(int bar, WORD code, int pos) {
  using namespace skin::core;
  const HWND h = CtrlHandle;
  const UINT msg = IsVert(bar) ? WM_VSCROLL : WM_HSCROLL;
  const LPARAM codes = MAKELPARAM(code, int(msg));
  const bool full = SendMessageW(h, SM_ALPHACMD, MakeAlphaCmd(AC_BEFORESCROLL), codes) == 1;
  const WPARAM w = MAKEWPARAM(code, std::clamp(pos, 0, 65535));
  if (full) {
    SendMessageW(h, msg, w, LPARAM(pos));
  } else {
    if (code == SB_THUMBTRACK) {
      // The whole position waits in the scroll info for those who read it there.
      SCROLLINFO si;
      si.fMask = SIF_POS;
      si.nPos = pos;
      SetScrollInfo(h, bar, si, false);
    }
    SendMessageW(h, msg, w, 0);
  }
  if (IsWindow(h)) SendMessageW(h, SM_ALPHACMD, MakeAlphaCmd(AC_AFTERSCROLL), codes);
}

void TacScrollWnd::NCLButtonDown(fw::TMessage& m) {
  const LRESULT hit = LRESULT(m.WParam);
  if (hit != HTVSCROLL && hit != HTHSCROLL) {
    CallPrevWndProc(m);
    return;
  }
  const int bar = hit == HTVSCROLL ? SB_VERT : SB_HORZ;
  const TPoint p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  const int part = PartAt(bar, p, shift);
  const TacBarLayout l = Layout(bar);
  if (part == HTSCROLL_NONE || !l.Active) return;
  SCROLLBARINFO info;
  GetScrollBarInfo(CtrlHandle, IsVert(bar) ? OBJID_VSCROLL : OBJID_HSCROLL, &info);
  if ((part == HTSCROLL_LEFT && (info.rgstate[1] & STATE_SYSTEM_UNAVAILABLE)) ||
      (part == HTSCROLL_RIGHT && (info.rgstate[5] & STATE_SYSTEM_UNAVAILABLE)))
    return;
  KillTimer(CtrlHandle, acHoverTimer);
  sb.hwndCurSB = CtrlHandle;
  sb.uCurrentScrollbar = bar;
  sb.uMouseOverScrollbar = bar;
  sb.uHitTestPortion = part;
  sb.uCurrentScrollPortion = part;
  const TRect r = l.Bar.Offset(WindowRectOf(CtrlHandle).Left, WindowRectOf(CtrlHandle).Top);
  const int along = IsVert(bar) ? p.Y - r.Top : p.X - r.Left;
  SetCapture(CtrlHandle);
  switch (part) {
    case HTSCROLL_THUMB:
      fThumbTracking = true;
      FDragOffset = l.Thumb.Offset;
      sb.nThumbMouseOffset = along - (l.Button + l.Thumb.Offset);
      sb.nLastSBPos = l.Info.nPos;
      RedrawBars();
      return;
    case HTSCROLL_PAGEGO:
      // The thumb's centre jumps under the mouse: one track message, nothing at the release.
      sb.nThumbMouseOffset = l.Thumb.Size / 2;
      sb.nLastSBPos = l.Info.nPos;
      fThumbTracking = true;
      FDragOffset = l.Thumb.Offset;
      ThumbTrack(bar, p);
      fThumbTracking = false;
      RedrawBars();
      return;
    default:
      RedrawBars();
      DontRepaint = true;
      SendScrollMessage(bar, WORD(part), 0);
      DontRepaint = false;
      if (sb.uCurrentScrollbar != bar) return;  // released meanwhile
      SetTimer(CtrlHandle, acFirstRepeatTimer, acFirstRepeatDelay, nullptr);
      RedrawBars();
      return;
  }
}

void TacScrollWnd::ThumbTrack(int bar, TPoint cursor) {
  const TacBarLayout l = Layout(bar);
  if (l.Bar.IsEmpty() || l.Thumb.Size <= 0) return;
  const TRect r = l.Bar.Offset(WindowRectOf(CtrlHandle).Left, WindowRectOf(CtrlHandle).Top);
  const bool vert = IsVert(bar);
  const int length = vert ? r.Height() : r.Width();
  const int track = length - 2 * l.Button;
  const int along = (vert ? cursor.Y - r.Top : cursor.X - r.Left) - l.Button;
  FDragOffset = std::clamp(along - sb.nThumbMouseOffset, 0, std::max(0, track - l.Thumb.Size));
  const int pos =
      ThumbPosition(FDragOffset, track, l.Thumb.Size, l.Info.nMin, l.Info.nMax, l.Info.nPage);
  if (pos != sb.nLastSBPos) {
    sb.nLastSBPos = pos;
    DontRepaint = true;
    SendScrollMessage(bar, SB_THUMBTRACK, pos);
    DontRepaint = false;
  }
  RedrawBars();
}

void TacScrollWnd::MouseMove() {
  const int bar = sb.uCurrentScrollbar;
  if (fThumbTracking) {
    ThumbTrack(bar, CursorPos());
    return;
  }
  const int part = PartAt(bar, CursorPos(), false);
  if (part != sb.uHitTestPortion) {
    sb.uHitTestPortion = part;
    RedrawBars();
  }
}

void TacScrollWnd::LButtonUp() {
  const int bar = sb.uCurrentScrollbar, part = sb.uCurrentScrollPortion;
  const bool tracking = fThumbTracking;
  KillTimer(CtrlHandle, acFirstRepeatTimer);
  KillTimer(CtrlHandle, acRepeatTimer);
  KillTimer(CtrlHandle, acHoverTimer);
  const int last = sb.nLastSBPos;
  ResetMouse();
  if (GetCapture() == CtrlHandle) ReleaseCapture();
  if (part >= HTSCROLL_LEFT && part <= HTSCROLL_PAGERIGHT) {
    SendScrollMessage(bar, SB_ENDSCROLL, 0);
  } else if (part == HTSCROLL_THUMB && tracking) {
    SendScrollMessage(bar, SB_THUMBPOSITION, last);
    fThumbTracking = false;
    if (IsWindow(CtrlHandle)) SendScrollMessage(bar, SB_ENDSCROLL, 0);
  }
  fThumbTracking = false;
  if (IsWindow(CtrlHandle)) RedrawBars();
}

void TacScrollWnd::Timer(fw::TMessage& m) {
  switch (m.WParam) {
    case acFirstRepeatTimer:
      KillTimer(CtrlHandle, acFirstRepeatTimer);
      if (sb.uCurrentScrollbar >= 0 && sb.hwndCurSB == CtrlHandle)
        SetTimer(CtrlHandle, acRepeatTimer, acRepeatInterval, nullptr);
      return;
    case acRepeatTimer: {
      if (sb.uCurrentScrollbar < 0 || sb.hwndCurSB != CtrlHandle) {
        KillTimer(CtrlHandle, acRepeatTimer);
        return;
      }
      const int bar = sb.uCurrentScrollbar;
      MouseMove();
      // Only while the pressed part is under the mouse: off it the repeat pauses, and a page
      // press stops where the thumb has come under the mouse.
      if (sb.uHitTestPortion == sb.uCurrentScrollPortion) {
        DontRepaint = true;
        SendScrollMessage(bar, WORD(sb.uCurrentScrollPortion), 0);
        DontRepaint = false;
        if (sb.uCurrentScrollbar == bar) MouseMove();
        RedrawBars();
      }
      return;
    }
    case acHoverTimer: {
      if (sb.uCurrentScrollbar >= 0) return;
      const TPoint cursor = CursorPos();
      const int bar = sb.uMouseOverScrollbar;
      if (sb.hwndCurSB != CtrlHandle || bar < 0 || !sb.MouseOverRect.Contains(cursor)) {
        KillTimer(CtrlHandle, acHoverTimer);
        if (sb.hwndCurSB == CtrlHandle) ResetMouse();
        if (bar >= 0) RedrawBars();
        return;
      }
      const int part = PartAt(bar, cursor, false);
      if (part != sb.uHitTestPortion) {
        sb.uHitTestPortion = part;
        RedrawBars();
      }
      return;
    }
    default:
      CallPrevWndProc(m);
  }
}

void TacScrollWnd::acWndProc(fw::TMessage& m) {
  using namespace skin::core;
  if (!Skinned()) {
    TacMainWnd::acWndProc(m);
    return;
  }
  const bool pressedHere = sb.hwndCurSB == CtrlHandle && sb.uCurrentScrollbar >= 0;
  switch (m.Msg) {
    case WM_NCCALCSIZE:
      NCCalcSize(m);
      return;
    case WM_NCHITTEST:
      m.Result = NCHitTest(m);
      return;
    case WM_NCPAINT:
      // The previous procedure paints the frame without the system's bars; ours go over it.
      if (!ScrollsInitialized && IsWindowVisible(CtrlHandle))
        SetWindowPos(CtrlHandle, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
      CallPrevWithoutScrollStyles(m);
      if (!DontRepaint && !Destroyed()) {
        if (HDC dc = GetWindowDC(CtrlHandle)) {
          DrawBars(dc);
          ReleaseDC(CtrlHandle, dc);
        }
      }
      return;
    case WM_PRINT:
      CallPrevWithoutScrollStyles(m);
      if ((m.LParam & PRF_NONCLIENT) && m.WParam) DrawBars(reinterpret_cast<HDC>(m.WParam));
      return;
    case WM_NCMOUSEMOVE:
      NCMouseMove(m);
      CallPrevWndProc(m);
      return;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      NCLButtonDown(m);
      return;
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONUP:
    case WM_NCMBUTTONDBLCLK:
      if (LRESULT(m.WParam) == HTVSCROLL || LRESULT(m.WParam) == HTHSCROLL) {
        m.Result = 0;
        return;
      }
      break;
    case WM_TIMER:
      Timer(m);
      return;
    case WM_MOUSEMOVE:
      if (pressedHere) {
        MouseMove();
        return;
      }
      break;
    case WM_LBUTTONUP:
      if (pressedHere) {
        LButtonUp();
        return;
      }
      break;
    case WM_CAPTURECHANGED:
      // Losing the capture in the middle of a press ends it as a release would.
      if (pressedHere && HWND(m.LParam) != CtrlHandle) LButtonUp();
      break;
    case WM_STYLECHANGED:
      if (bPreventStyleChange) return;
      CallPrevWndProc(m);
      fLeftScrollbar = UpdateLeftScroll();
      return;
    case WM_MOUSEWHEEL:
    case fw::CM_MOUSEWHEEL:
    case fw::CM_FOCUSCHANGED:
      CallPrevWndProc(m);
      UpdateScrolls(!DontRepaint);
      return;
    case fw::CM_BIDIMODECHANGED:
      CallPrevWndProc(m);
      fLeftScrollbar = UpdateLeftScroll();
      SetWindowPos(CtrlHandle, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
      return;
    default:
      break;
  }
  TacMainWnd::acWndProc(m);
}

// ---- TacBaseWnd, TacEditWnd, TacTreeViewWnd ----------------------------------------------------

void TacBaseWnd::acWndProc(fw::TMessage& m) {
  TacScrollWnd::acWndProc(m);
  if (!Skinned()) return;
  switch (m.Msg) {
    case WM_SIZE:
    case WM_HSCROLL:
    case WM_VSCROLL:
      UpdateScrolls(!DontRepaint);
      return;
    case WM_ENABLE:
    case fw::CM_ENABLEDCHANGED:
      if (IsWindowVisible(CtrlHandle))
        RedrawWindow(CtrlHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_NOCHILDREN);
      return;
    default:
      return;
  }
}

void TacEditWnd::AfterCreation() {
  // Own data without a section takes the given one, else "EDIT"; a control's data keeps its own.
  if (OwnsSkinData() && SkinData()->SkinSection().empty())
    SkinData()->SetSkinSection(FParams.SkinSection.empty() ? "EDIT" : FParams.SkinSection);
  TacBaseWnd::AfterCreation();
  SetSkinParams();
}

int TacEditWnd::ShownState() const {
  const TsCommonData& cd = *SkinData();
  const TsSkinManager* manager = SkinManager();
  if (!manager || !manager->SkinModel() || !Skinned()) return 0;
  const auto& gd = manager->SkinModel()->gd[std::size_t(cd.SkinIndex)];
  return gd.States > 1 && skin::core::ControlIsActive(cd) ? 1 : 0;
}

void TacEditWnd::SetSkinParams() {
  fw::TControl* c = Control();
  if (!c || !OwnsSkinData() || FSettingParams || !Skinned()) return;
  TsCommonData& cd = *SkinData();
  const auto& gd = SkinManager()->SkinModel()->gd[std::size_t(cd.SkinIndex)];
  const int state = ShownState();
  FSettingParams = true;
  cd.BeginUpdate();
  const fw::TColor color = skin::core::GetBGColor(cd, state);
  const auto fontColor = fw::TColor(skin::draw::StateProps(gd, state).FontColor.Color);
  if (!cd.CustomColor() && c->Color() != color) {
    c->SetColor(color);
    CtrlState |= csPaintNeeded;
  }
  if (!cd.CustomFont() && c->Font().Color() != fontColor) {
    c->Font().SetColor(fontColor);
    CtrlState |= csPaintNeeded;
  }
  if (gd.States > 1) CtrlState |= csNCPaintNeeded;
  cd.EndUpdate(false);
  FSettingParams = false;
}

bool TacEditWnd::NCContent() const {
  if (Bar(SB_VERT).fScrollVisible || Bar(SB_HORZ).fScrollVisible) return false;
  RECT client;
  GetClientRect(CtrlHandle, &client);
  const TRect window = WindowRectOf(CtrlHandle);
  const int edge = GetSystemMetrics(SM_CXEDGE);
  return client.Width() < window.Width() - 2 * edge || client.Height() < window.Height() - 2 * edge;
}

void CopyFrameBands(gfx::HDC dc, gfx::Bitmap& cache, const TRect& inner, int w, int h) {
  gfx::DeviceContext from(cache);
  for (const TRect& band : {TRect{0, 0, w, inner.Top}, TRect{0, inner.Bottom, w, h},
                            TRect{0, inner.Top, inner.Left, inner.Bottom},
                            TRect{inner.Right, inner.Top, w, inner.Bottom}}) {
    if (band.Width() <= 0 || band.Height() <= 0) continue;
    gfx::BitBlt(dc, band.Left, band.Top, band.Width(), band.Height(), &from, band.Left, band.Top,
                gfx::SRCCOPY);
  }
}

void TacEditWnd::PaintFrame(gfx::HDC dc) {
  TsCommonData& cd = *SkinData();
  if (!dc || !Control() || !Skinned() || cd.Updating() ||
      !skin::core::UpdateCache(cd, ShownState()))
    return;
  // Disabled, the frame takes the disabled look with the client.
  gfx::Bitmap built;
  gfx::Bitmap* disabled = PictureForPaint(built);
  gfx::Bitmap* cache = disabled->Empty() ? cd.CacheBmp() : disabled;
  const TRect window = WindowRectOf(CtrlHandle);
  const int w = std::min(window.Width(), cache->Width()),
            h = std::min(window.Height(), cache->Height());
  TRect inner{cxLeftEdge, cyTopEdge, window.Width() - cxRightEdge, window.Height() - cyBottomEdge};
  if (NCContent()) {
    const int edge = GetSystemMetrics(SM_CXEDGE);
    inner = {edge, edge, window.Width() - edge, window.Height() - edge};
  }
  CopyFrameBands(dc, *cache, inner, w, h);
}

gfx::Bitmap TacEditWnd::DisabledPicture() {
  auto* edit = dynamic_cast<fw::TEdit*>(Control());
  TsCommonData& cd = *SkinData();
  if (!edit || edit->Enabled() || !OwnsSkinData() || !Skinned() || !skin::core::UpdateCache(cd, 0))
    return {};
  gfx::Bitmap bmp = *cd.CacheBmp();
  {
    gfx::DeviceContext bdc(bmp);
    // Client coordinates, clipped to the text area as the edit clips its text.
    gfx::SetViewportOrgEx(&bdc, cxLeftEdge, cyTopEdge, nullptr);
    const TRect area = edit->TextRect();
    const TRect client = edit->ClientRect();
    gfx::IntersectClipRect(&bdc, area.Left, client.Top, area.Right, client.Bottom);
    fw::TCanvas canvas;
    canvas.SetHandle(&bdc);
    canvas.Font.Assign(edit->Font());
    canvas.BrushStyle = fw::TBrushStyle::bsClear;
    constexpr unsigned flags = gfx::DT_SINGLELINE | gfx::DT_NOPREFIX;
    std::u16string text = edit->DisplayText();
    // An asterisk password shows as black circles.
    if (edit->PasswordChar() == u'*') text.assign(text.size(), u'\u25CF');
    if (!text.empty()) {
      // Where the edit scrolled its text: a long text scrolled to its end shows its end.
      const TRect r{area.Left - edit->ScrollX(), area.Top, std::max(area.Right, area.Left + 32767),
                    area.Bottom};
      skin::core::WriteTextEx(canvas, text, false, r, flags, cd, 0, false);
    } else if (!edit->TextHint().empty()) {
      const auto& gd = SkinManager()->SkinModel()->gd[std::size_t(cd.SkinIndex)];
      const fw::TColor font = cd.CustomFont()
                                  ? edit->Font().Color()
                                  : fw::TColor(skin::draw::StateProps(gd, 0).FontColor.Color);
      canvas.Font.SetColor(skin::paint::BlendColors(font, GetBGColor(cd, 0), 180));
      TRect r = area;
      canvas.TextRect(r, edit->TextHint(), flags);
    }
    canvas.SetHandle(nullptr);
  }
  skin::core::PaintDisabledKind(bmp, *edit, skin::core::DisabledKindOf(edit));
  return bmp;
}

gfx::Bitmap* TacEditWnd::PictureForPaint(gfx::Bitmap& built) {
  if (FPaintPicture) return FPaintPicture;
  built = DisabledPicture();
  return &built;
}

bool TacEditWnd::PaintDisabledClient(gfx::HDC dc) {
  if (!dc) return false;
  gfx::Bitmap built;
  gfx::Bitmap* picture = PictureForPaint(built);
  if (picture->Empty()) return false;
  win::RECT client{};
  GetClientRect(CtrlHandle, &client);
  gfx::DeviceContext from(*picture);
  gfx::BitBlt(dc, 0, 0, client.Width(), client.Height(), &from, cxLeftEdge, cyTopEdge,
              gfx::SRCCOPY);
  return true;
}

void TacEditWnd::acWndProc(fw::TMessage& m) {
  using namespace skin::core;
  // A disabled single-line edit is painted wholly here; nothing under it needs erasing. Other
  // edits paint their text with a clear brush and keep their own erasing.
  if ((m.Msg == WM_PAINT || m.Msg == WM_ERASEBKGND) && OwnsSkinData() && Skinned() &&
      !IsWindowEnabled(CtrlHandle) && dynamic_cast<fw::TEdit*>(Control())) {
    if (m.Msg == WM_ERASEBKGND) {
      m.Result = 1;
      return;
    }
    TsCommonData& cd = *SkinData();
    if (cd.Updating() || UpdateCache(cd, 0)) {
      // One picture serves the frame (BeginPaint sends the pending WM_NCPAINT) and the client.
      gfx::Bitmap picture = cd.Updating() ? gfx::Bitmap() : DisabledPicture();
      struct TLent {
        gfx::Bitmap*& slot;
        ~TLent() { slot = nullptr; }
      } lent{FPaintPicture};
      FPaintPicture = &picture;
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(CtrlHandle, &ps);
      if (!cd.Updating()) PaintDisabledClient(dc);
      EndPaint(CtrlHandle, &ps);
      m.Result = 0;
      return;
    }
  }
  const bool focus = m.Msg == WM_SETFOCUS || m.Msg == WM_KILLFOCUS;
  if (focus && OwnsSkinData() && Skinned()) {
    SkinData()->BGChanged = true;
    SkinData()->FFocused = m.Msg == WM_SETFOCUS;
  }
  TacBaseWnd::acWndProc(m);
  if (!Skinned()) return;
  if (OwnsSkinData()) {
    const bool refresh = m.Msg == SM_ALPHACMD &&
                         (WParamHi(m.WParam) == AC_REFRESH || WParamHi(m.WParam) == AC_SETNEWSKIN);
    if (focus || refresh) {
      SkinData()->BGChanged = true;
      CtrlState = 0;
      SetSkinParams();
      if (IsWindowVisible(CtrlHandle))
        RedrawWindow(CtrlHandle, nullptr, nullptr,
                     RDW_FRAME | RDW_INVALIDATE | ((CtrlState & csPaintNeeded) ? RDW_ERASE : 0u));
      return;
    }
  }
  // The frame, whoever owns the data: a skinned control's own data gives its frame too.
  if (m.Msg == WM_NCPAINT && !DontRepaint && IsWindowVisible(CtrlHandle)) {
    if (HDC dc = GetWindowDC(CtrlHandle)) {
      PaintFrame(dc);
      ReleaseDC(CtrlHandle, dc);
    }
    return;
  }
  if (m.Msg == WM_PRINT && (m.LParam & PRF_NONCLIENT) && m.WParam) {
    PaintFrame(reinterpret_cast<HDC>(m.WParam));
    return;
  }
  if (DontRepaint) return;
  // What an edit does with keys, clicks and text moves its bars.
  switch (m.Msg) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_LBUTTONDOWN:
    case WM_SETFONT:
    case fw::EM_REPLACESEL:
      UpdateScrolls(true);
      return;
    case WM_MOUSEMOVE:
      if (GetCapture() == CtrlHandle) UpdateScrolls(true);
      return;
    default:
      return;
  }
}

void TacComboListWnd::acWndProc(fw::TMessage& m) {
  TacEditWnd::acWndProc(m);
  if (m.Msg != WM_NCPAINT || !Skinned() || !IsWindowVisible(CtrlHandle)) return;
  HDC dc = GetWindowDC(CtrlHandle);
  if (!dc) return;
  const TRect w = WindowRectOf(CtrlHandle);
  gfx::Bitmap one(1, 1);
  one.Set(0, 0,
          gfx::PixelFromColor(
              fw::ColorToRGB(fw::TColor(SkinManager()->SkinModel()->Palette[skin::data::pcBorder])),
              255));
  PaintDisabledPart(one);
  const auto color = gfx::ColorFromPixel(one.At(0, 0));
  const int cx = w.Width(), cy = w.Height();
  for (const TRect& side :
       {TRect{0, 0, cx, 1}, TRect{0, cy - 1, cx, cy}, TRect{0, 0, 1, cy}, TRect{cx - 1, 0, cx, cy}})
    gfx::FillRect(dc, side, color);
  ReleaseDC(CtrlHandle, dc);
}

fw::TControl* TacComboListWnd::DisabledOwner() const {
  auto* list = dynamic_cast<fw::TComboListWindow*>(Control());
  return list ? list->ComboBox() : nullptr;
}

void TacTreeViewWnd::SaveStdParams() {
  TacEditWnd::SaveStdParams();
  if (!OwnsSkinData() || !IsWindow(CtrlHandle)) return;
  FStdBkColor = SendMessageW(CtrlHandle, fw::TVM_GETBKCOLOR, 0, 0);
  FStdTextColor = SendMessageW(CtrlHandle, fw::TVM_GETTEXTCOLOR, 0, 0);
}

void TacTreeViewWnd::RestoreStdParams() {
  if (OwnsSkinData() && IsWindow(CtrlHandle)) {
    SendMessageW(CtrlHandle, fw::TVM_SETBKCOLOR, 0, FStdBkColor);
    SendMessageW(CtrlHandle, fw::TVM_SETTEXTCOLOR, 0, FStdTextColor);
  }
  TacEditWnd::RestoreStdParams();
}

void TacTreeViewWnd::SetSkinParams() {
  TacEditWnd::SetSkinParams();
  fw::TControl* c = Control();
  if (!c || !OwnsSkinData() || !Skinned()) return;
  const TsCommonData& cd = *SkinData();
  const auto& gd = SkinManager()->SkinModel()->gd[std::size_t(cd.SkinIndex)];
  const int state = ShownState();
  const fw::TColor bk = cd.CustomColor() ? c->Color() : skin::core::GetBGColor(cd, state);
  const fw::TColor text = cd.CustomFont()
                              ? c->Font().Color()
                              : fw::TColor(skin::draw::StateProps(gd, state).FontColor.Color);
  if (SendMessageW(CtrlHandle, fw::TVM_GETBKCOLOR, 0, 0) != LPARAM(bk))
    SendMessageW(CtrlHandle, fw::TVM_SETBKCOLOR, 0, LPARAM(bk));
  if (SendMessageW(CtrlHandle, fw::TVM_GETTEXTCOLOR, 0, 0) != LPARAM(text))
    SendMessageW(CtrlHandle, fw::TVM_SETTEXTCOLOR, 0, LPARAM(text));
}

void TacTreeViewWnd::acWndProc(fw::TMessage& m) {
  if (m.Msg == WM_ERASEBKGND && !SkipBG && Skinned()) {
    // The tree paints all of its client: nothing is erased, except while the picture is being
    // prepared, when the section's colour stands in.
    const TsCommonData& cd = *SkinData();
    if (cd.Updating() && m.WParam) {
      fw::TColor color = GetBGColor(cd, ShownState());
      if (cd.CustomColor() && Control()) color = Control()->Color();
      RECT r;
      GetClientRect(CtrlHandle, &r);
      skin::paint::FillDC(reinterpret_cast<HDC>(m.WParam), r, color);
    }
    m.Result = 1;
    return;
  }
  const bool buttonUp = m.Msg == WM_LBUTTONUP;
  TacEditWnd::acWndProc(m);
  // The tree keeps no capture after a click.
  if (buttonUp && !Destroyed() && GetCapture() == CtrlHandle && sb.uCurrentScrollbar < 0)
    ReleaseCapture();
}

// ---- TacMDIWnd ---------------------------------------------------------------------------------

bool TacMDIWnd::Painting() const {
  return SkinProvider && FForm && Skinned() && SkinProvider->Skinned() &&
         !(SkinProvider->FormState() & FS_ANIMATING) && FForm->HandleAllocated();
}

bool TacMDIWnd::ActiveChildMaximized() const {
  bool maximized = false;
  SendMessageW(CtrlHandle, WM_MDIGETACTIVE, 0, LPARAM(&maximized));
  return maximized;
}

TPoint TacMDIWnd::CachePlace(bool clientArea) const {
  POINT p{0, 0};
  if (clientArea) {
    ClientToScreen(CtrlHandle, &p);
  } else {
    RECT r{};
    GetWindowRect(CtrlHandle, &r);
    p = {r.Left, r.Top};
  }
  const TPoint origin = SkinProvider->CacheOrigin();
  return {p.X - origin.X, p.Y - origin.Y};
}

bool TacMDIWnd::PaintBackground(HDC dc) {
  if (!Painting() || !SkinProvider->PaintAll()) return false;
  gfx::Bitmap& cache = *MDISkinData->CacheBmp();
  RECT client{};
  GetClientRect(CtrlHandle, &client);
  const TPoint at = CachePlace(true);
  gfx::DeviceContext from(cache);
  gfx::BitBlt(dc, 0, 0, client.Width(), client.Height(), &from, at.X, at.Y, gfx::SRCCOPY);
  return true;
}

// The edge around the client area (under the bars too; they are drawn over it) from the
// picture.
void TacMDIWnd::PaintEdge(HDC windowDC) {
  if (!SkinProvider->PaintAll()) return;
  RECT wr{};
  GetWindowRect(CtrlHandle, &wr);
  const TPoint at = CachePlace(false), inner = CachePlace(true);
  RECT client{};
  GetClientRect(CtrlHandle, &client);
  gfx::Bitmap slice(wr.Width(), wr.Height());
  slice.CopyFrom(*MDISkinData->CacheBmp(), gfx::RectOfSize(at.X, at.Y, wr.Width(), wr.Height()),
                 {0, 0});
  CopyFrameBands(windowDC, slice,
                 gfx::RectOfSize(inner.X - at.X, inner.Y - at.Y, client.Width(), client.Height()),
                 wr.Width(), wr.Height());
}

void TacMDIWnd::RepaintParent(bool wholeClient) {
  if (!SkinProvider) return;
  SkinProvider->SkinData().BGChanged = true;
  if (wholeClient)
    RedrawWindow(CtrlHandle, nullptr, nullptr,
                 RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
  SkinProvider->UpdateFrame();
}

void TacMDIWnd::acWndProc(fw::TMessage& m) {
  using namespace skin::core;
  if (!SkinProvider || !FForm || Destroyed()) {
    TacBaseWnd::acWndProc(m);
    return;
  }
  if (m.Msg == SM_ALPHACMD) {
    switch (WParamHi(m.WParam)) {
      case AC_GETCACHE:
        // The parent's picture is the client's.
        SendMessageW(FForm->Handle(), m.Msg, m.WParam, m.LParam);
        return;
      case AC_GETBG: {
        // Windows inside the client stand on the parent's picture: their place in the form.
        // The area to draw stays the asker's own (the offset alone moves into the picture).
        auto& info = *reinterpret_cast<skin::draw::TacBGInfo*>(m.LParam);
        POINT p{0, 0};
        MapWindowPoints(CtrlHandle, FForm->Handle(), &p, 1);
        info.Offset = {info.Offset.X + p.X, info.Offset.Y + p.Y};
        m.Result = SendMessageW(FForm->Handle(), m.Msg, m.WParam, m.LParam);
        return;
      }
      case AC_BEFORESCROLL: {
        // The thumb's messages carry whole positions (below 0 too: children left or above).
        const auto code = LOWORD(m.LParam);
        FFullThumbPos = code == SB_THUMBPOSITION || code == SB_THUMBTRACK;
        m.Result = FFullThumbPos ? 1 : 0;
        return;
      }
      case AC_AFTERSCROLL:
        UpdateScrolls(true);
        return;
      default:
        break;
    }
  }
  const bool painting = Painting();
  switch (m.Msg) {
    case WM_ERASEBKGND:
      if (!painting || !m.WParam) break;
      // A maximised child covers the client area.
      if (!ActiveChildMaximized()) PaintBackground(HDC(m.WParam));
      m.Result = 1;
      return;
    case WM_NCPAINT:
      TacBaseWnd::acWndProc(m);
      if (painting && IsWindowVisible(CtrlHandle))
        if (HDC dc = GetWindowDC(CtrlHandle)) {
          PaintEdge(dc);
          DrawBars(dc);
          ReleaseDC(CtrlHandle, dc);
        }
      return;
    case WM_PRINT:
      TacBaseWnd::acWndProc(m);
      if (painting && m.WParam && !ActiveChildMaximized()) {
        const HDC dc = HDC(m.WParam);
        const int saved = gfx::SaveDC(dc);
        const TPoint inner = CachePlace(true), at = CachePlace(false);
        gfx::OffsetViewportOrgEx(dc, inner.X - at.X, inner.Y - at.Y, nullptr);
        PaintBackground(dc);
        gfx::RestoreDC(dc, saved);
        if (m.LParam & PRF_NONCLIENT) {
          PaintEdge(dc);
          DrawBars(dc);
        }
      }
      return;
    case WM_WINDOWPOSCHANGING:
      // The client moves or grows inside the parent: the parent's picture changes with it.
      SkinProvider->SkinData().BGChanged = true;
      break;
    case WM_WINDOWPOSCHANGED:
      TacBaseWnd::acWndProc(m);
      if (painting) RedrawWindow(FForm->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      return;
    case WM_HSCROLL:
    case WM_VSCROLL: {
      // Dragging waits for the release, which scrolls to the dragged position (the previous
      // procedure reads it as a signed 16-bit value).
      const auto code = LOWORD(m.WParam);
      const bool full = FFullThumbPos;
      FFullThumbPos = false;
      if (code == SB_THUMBTRACK && full) return;
      if (code == SB_THUMBPOSITION && full) {
        const int pos = std::clamp(int(m.LParam), -32768, 32767);
        m.WParam = MAKEWPARAM(SB_THUMBPOSITION, WORD(std::int16_t(pos)));
        m.LParam = 0;
      }
      break;
    }
    case WM_MDICREATE:
      TacBaseWnd::acWndProc(m);
      if (const HWND child = HwndFromParam(std::uintptr_t(m.Result)); child && IsWindow(child))
        AddSupportedForm(child);
      return;
    case WM_MDITILE:
    case WM_MDICASCADE:
    case WM_MDIICONARRANGE:
      TacBaseWnd::acWndProc(m);
      RepaintParent(true);
      return;
    case WM_MDISETMENU:
    case WM_MDIREFRESHMENU:
      TacBaseWnd::acWndProc(m);
      RepaintParent(false);
      return;
    case WM_PARENTNOTIFY:
      // A child made or gone changes what the bars cover.
      TacBaseWnd::acWndProc(m);
      if (painting) UpdateScrolls(true);
      return;
    default:
      break;
  }
  TacBaseWnd::acWndProc(m);
}

// ---- TacBtnWnd ---------------------------------------------------------------------------------

namespace {

// The modal button a window is: its wrapper's, its standard button's modal result, else its
// dialog control identifier.
unsigned ModalIdOf(HWND h) {
  if (auto* b = dynamic_cast<TacBtnWnd*>(Ac_GetScrollWndFromHwnd(h))) return b->ID;
  if (auto* button = dynamic_cast<fw::TButton*>(fw::TWinControl::FindControl(h)))
    return unsigned(button->ModalResult());
  return unsigned(GetWindowLongPtrW(h, GWLP_ID));
}

constexpr unsigned kOk = 1, kCancel = 2, kYes = 6, kNo = 7;

}  // namespace

void TacBtnWnd::AfterCreation() {
  if (FParams.SkinSection.empty()) FParams.SkinSection = "BUTTON";
  if (SkinData()->SkinSection().empty()) SkinData()->SetSkinSection(FParams.SkinSection);
  SkinData()->COC = skin::core::COC_TsButton;
  if (auto* button = dynamic_cast<fw::TButton*>(FParams.Control))
    ID = unsigned(button->ModalResult());
  else if (!FParams.Control)
    ID = unsigned(GetWindowLongPtrW(CtrlHandle, GWLP_ID));
  TacMainWnd::AfterCreation();
}

bool TacBtnWnd::Down() const {
  return (SendMessageW(CtrlHandle, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
}

int TacBtnWnd::CurrentState() const {
  if (Down()) return 2;
  if (!IsWindowEnabled(CtrlHandle)) return 0;
  const TsSkinManager* manager = SkinManager();
  if (GetFocus() == CtrlHandle || (manager && manager->ActiveControl() == CtrlHandle) ||
      (FParams.Control && skin::core::ControlIsActive(*SkinData())))
    return 1;
  if (GetWindowLongPtrW(CtrlHandle, GWL_STYLE) & BS_DEFPUSHBUTTON) return FParams.Control ? 1 : 3;
  return 0;
}

TacColoring TacBtnWnd::GetColoring() const {
  TacColoring c;
  TsSkinManager* manager = SkinManager();
  if (!manager || (ID != kOk && ID != kYes && ID != kCancel && ID != kNo)) return c;
  bool okOrYes = false, no = false;
  if (HWND parent = GetParent(CtrlHandle))
    for (HWND sibling = GetWindow(parent, GW_CHILD); sibling;
         sibling = GetWindow(sibling, GW_HWNDNEXT)) {
      const unsigned id = sibling == CtrlHandle ? ID : ModalIdOf(sibling);
      okOrYes |= id == kOk || id == kYes;
      no |= id == kNo;
    }
  const bool positive = ID == kOk || ID == kYes;
  if (!positive && !okOrYes) return c;
  const int i = CurrentState() == 0 ? 0 : 1;
  static constexpr std::uint32_t kBG[3][2] = {
      {0xFFE1FFD2, 0xFFCDFFB4}, {0xFFD5D5FF, 0xFFBDBDFF}, {0xFFFFEDC9, 0xFFFFE9BE}};
  static constexpr std::uint32_t kFG[3][2] = {
      {0xFF28851A, 0xFF008E00}, {0xFF0000B4, 0xFF0000A2}, {0xFFAE7400, 0xFF916000}};
  const int kind = positive ? 0 : (ID == kCancel && no) ? 2 : 1;
  const skin::core::TacSet set = manager->ButtonsOptions().ModalButtonsColoring;
  if (set & skin::core::acBit(skin::core::bcBackground)) c.ColorToneBG = kBG[kind][i];
  if (set & skin::core::acBit(skin::core::bcGlyph)) c.ColorGlyph = kFG[kind][i];
  if (set & skin::core::acBit(skin::core::bcText)) c.ColorText = kFG[kind][i];
  return c;
}

void SetDialogFont(fw::TFont& font) {
  win::NONCLIENTMETRICSW ncm;
  win::SystemParametersInfoW(win::SPI_GETNONCLIENTMETRICS, 0, &ncm, 0);
  font.SetName(ncm.lfMessageFont.lfFaceName);
  font.SetHeight(ncm.lfMessageFont.lfHeight);
}

bool ParentBackgroundOf(HWND wnd, fw::TControl* control, gfx::Bitmap& out) {
  skin::draw::TacBGInfo bg;
  const TRect wr = WindowRectOf(wnd);
  TPoint at;
  if (fw::TControl* c = control) {
    skin::core::GetBGInfo(bg, c->Parent(), false);
    at = {c->Left(), c->Top()};
  } else {
    const HWND parent = GetParent(wnd);
    if (!parent) return false;
    skin::core::GetBGInfo(bg, parent, false);
    POINT origin{0, 0};
    ClientToScreen(parent, &origin);
    at = {wr.Left - origin.X, wr.Top - origin.Y};
  }
  if (bg.BgType == skin::draw::TacBGType::btNotReady || wr.IsEmpty()) return false;
  out = gfx::Bitmap(wr.Width(), wr.Height());
  if (bg.BgType == skin::draw::TacBGType::btCache && bg.Bmp) {
    const TPoint from{bg.Offset.X + at.X, bg.Offset.Y + at.Y};
    out.CopyFrom(*bg.Bmp, {from.X, from.Y, from.X + out.Width(), from.Y + out.Height()}, {0, 0});
  } else {
    skin::paint::FillRect32(out, out.Bounds(), bg.Color, 255);
  }
  return true;
}

bool TacBtnWnd::ParentBackground(gfx::Bitmap& out) const {
  return ParentBackgroundOf(CtrlHandle, FParams.Control, out);
}

TRect TacBtnWnd::CaptionRect(fw::TCanvas& canvas, const std::u16string& text, unsigned flags,
                             int state) const {
  const TRect wr = WindowRectOf(CtrlHandle);
  // Measured in a box a little wider than the button, then centred in it.
  TRect box{0, 0, wr.Width() + 3 + 2, 0};
  canvas.TextRect(box, text, flags | gfx::DT_CALCRECT);
  const int left = (wr.Width() - box.Width()) / 2, top = (wr.Height() - box.Height()) / 2;
  TRect r{left - 1, top, left + box.Width() + 2, top + box.Height()};
  return ShiftsContent(state) ? r.Offset(1, 1) : r;
}

bool TacBtnWnd::ShiftsContent(int state) const {
  return state == 2 && skin::core::CanClickShift(SkinData()->SkinIndex, SkinManager());
}

bool TacBtnWnd::PrepareCache() {
  fw::TControl* c = FParams.Control;
  TsCommonData& cd = *SkinData();
  TsSkinManager* manager = SkinManager();
  if (!manager || !Skinned() || !IsWindow(CtrlHandle)) return false;
  const skin::data::TacSkinModel* model = manager->SkinModel();
  const skin::data::TsGeneralData& gd = model->gd[std::size_t(cd.SkinIndex)];
  int state = CurrentState();
  if (state == 3 && gd.States < 4) state = 1;
  state = std::clamp(state, 0, std::max(gd.States - 1, 0));
  gfx::Bitmap bg;
  if (!ParentBackground(bg)) return false;
  cd.BGChanged = true;
  gfx::Bitmap* cache = nullptr;
  if (c) {
    skin::core::InitCacheBmp(cd);
    cache = cd.CacheBmp();
    if (!cache || cache->Empty() ||
        !skin::core::PaintSkinControl(cd, c->Parent(), true, state, cache->Bounds(), {}, cache,
                                      true)) {
      cd.ClearCache();
      return false;
    }
  } else {
    // A bare dialog button: its parent's picture at its place is what lies behind it.
    cd.ClearCache();
    cache = cd.CacheBmp();
    *cache = gfx::Bitmap(bg.Width(), bg.Height());
    skin::draw::PaintItem(model, skin::core::ControlPaintOf(cd), skin::draw::MakeCacheInfo(&bg),
                          true, state, cache->Bounds(), TPoint{0, 0}, cache, true);
  }
  cd.BGChanged = false;
  const TacColoring coloring = GetColoring();
  if (coloring.ColorToneBG != TacColoring::None)
    skin::paint::ChangeBitmapPixels(*cache, skin::paint::ChangeColorTone,
                                    int(coloring.ColorToneBG & 0xFFFFFF), skin::paint::clFuchsia);
  const bool enabled = IsWindowEnabled(CtrlHandle);
  DrawGlyph(*cache, state);
  const std::u16string text = GetWindowTextW(CtrlHandle);
  // A bitmap button shows its image in place of its text.
  if (!text.empty() && !(GetWindowLongPtrW(CtrlHandle, GWL_STYLE) & BS_BITMAP)) {
    gfx::DeviceContext dc(*cache);
    fw::TCanvas canvas;
    canvas.SetHandle(&dc);
    if (c) {
      canvas.Font.Assign(c->Font());
    } else {
      SetDialogFont(canvas.Font);
      // A scaled dialog's buttons write at its scale.
      const LRESULT scale = SendMessageW(GetParent(CtrlHandle), skin::core::SM_ALPHACMD,
                                         skin::core::MakeAlphaCmd(skin::core::AC_GETSCALE), 0);
      if (scale > 0 && scale != 100)
        canvas.Font.SetHeight(win::MulDiv(canvas.Font.Height(), int(scale), 100));
    }
    const auto style = GetWindowLongPtrW(CtrlHandle, GWL_STYLE);
    const unsigned flags =
        gfx::DT_CENTER | gfx::DT_EXPANDTABS | ((style & BS_MULTILINE) ? gfx::DT_WORDBREAK : 0u);
    TRect r = CaptionRect(canvas, text, flags, state);
    if (coloring.ColorText != TacColoring::None) {
      canvas.Font.SetColor(fw::TColor(coloring.ColorText & 0xFFFFFF));
      canvas.BrushStyle = fw::TBrushStyle::bsClear;
      canvas.TextRect(r, text, flags);
    } else {
      skin::core::WriteTextEx(canvas, text, enabled, r, flags, cd, std::min(state, 2),
                              coloring.ColorToneBG == TacColoring::None);
    }
    // The focus rectangle around the caption, kept three pixels inside top and bottom.
    if (manager->ButtonsOptions().ShowFocusRect && enabled && GetFocus() == CtrlHandle) {
      TRect f{r.Left - 2, std::max(r.Top - 1, 3), r.Right + 2,
              std::min(r.Bottom + 1, cache->Height() - 3)};
      skin::paint::FocusRect(&dc, f, skin::draw::StateProps(gd, std::min(state, 2)).FontColor.Color,
                             skin::paint::clNone);
    }
  }
  // A disabled button shows its parent's picture through it.
  if (!enabled)
    skin::paint::BlendTransRectangle(*cache, 0, 0, bg,
                                     {0, 0, cache->Width() - 1, cache->Height() - 1},
                                     skin::core::DefBlendDisabled, skin::paint::clFuchsia);
  return true;
}

void TacBtnWnd::ChangeShownState() {
  if (!IsWindowVisible(CtrlHandle)) return;
  // A button painted from its own picture fades to the state it shows now.
  const gfx::Bitmap* cache = SkinData()->CacheBmp();
  if (FParams.Control && cache && !cache->Empty())
    skin::core::DoChangePaint(*SkinData(), std::min(CurrentState(), 2));
  else
    InvalidateRect(CtrlHandle, nullptr, false);
}

void TacBtnWnd::acWndProc(fw::TMessage& m) {
  using namespace skin::core;
  if (!Skinned()) {
    TacMainWnd::acWndProc(m);
    return;
  }
  if (m.Msg == SM_ALPHACMD && WParamHi(m.WParam) == AC_GETCOLORTONE) {
    m.Result = LRESULT(GetColoring().ColorToneBG);
    return;
  }
  if (m.Msg == SM_ALPHACMD && WParamHi(m.WParam) == AC_PREPARECACHE) {
    m.Result = PrepareCache();
    return;
  }
  if (m.Msg == WM_ERASEBKGND) {
    m.Result = 1;
    return;
  }
  // Painted wholly from the cache (the running fade's frame meanwhile); the button's own
  // painting only where that cannot be.
  const gfx::Bitmap* frame = skin::core::AnimFrame(*SkinData());
  if (m.Msg == WM_PAINT && IsWindowVisible(CtrlHandle) && (frame || PrepareCache())) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(CtrlHandle, &ps);
    fw::TCanvas canvas;
    canvas.SetHandle(dc);
    canvas.Draw(0, 0, frame ? *frame : *SkinData()->CacheBmp());
    EndPaint(CtrlHandle, &ps);
    m.Result = 0;
    return;
  }
  TacMainWnd::acWndProc(m);
  TsSkinManager* manager = SkinManager();
  switch (m.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_LBUTTONUP:
      ChangeShownState();
      return;
    case WM_MOUSEMOVE: {
      // A bare window's button follows the mouse itself: inside it becomes the manager's
      // active control (hot) until the mouse leaves it.
      if (FParams.Control || !manager || Destroyed()) return;
      RECT r{};
      GetClientRect(CtrlHandle, &r);
      const bool inside = r.Contains(PointFromLParam(m.LParam));
      if (inside == (manager->ActiveControl() == CtrlHandle)) return;
      manager->SetActiveControl(inside ? CtrlHandle : nullptr);
      if (inside) {
        TRACKMOUSEEVENT tme;
        tme.dwFlags = TME_LEAVE;
        tme.hwndTrack = CtrlHandle;
        TrackMouseEvent(&tme);
      }
      ChangeShownState();
      return;
    }
    case WM_MOUSELEAVE:
      if (FParams.Control || !manager || Destroyed()) return;
      if (manager->ActiveControl() == CtrlHandle) manager->SetActiveControl(nullptr);
      ChangeShownState();
      return;
    default:
      return;
  }
}

// ---- TacBitBtnWnd ------------------------------------------------------------------------------

bool TacBitBtnWnd::Layout(int state, TRect& glyph, TRect& caption) const {
  auto* button = dynamic_cast<fw::TBitBtn*>(FParams.Control);
  if (!button) return false;
  // The face the button lays out in: inside the one-pixel bevel it draws unskinned.
  const TRect face{1, 1, button->Width() - 1, button->Height() - 1};
  button->CalcLayout(face, glyph, caption);
  if (ShiftsContent(state)) {
    glyph = glyph.Offset(1, 1);
    caption = caption.Offset(1, 1);
  }
  return true;
}

const gfx::Bitmap* TacBitBtnWnd::BareImage() const {
  if (FParams.Control || !(GetWindowLongPtrW(CtrlHandle, GWL_STYLE) & BS_BITMAP)) return nullptr;
  auto* image =
      reinterpret_cast<const gfx::Bitmap*>(SendMessageW(CtrlHandle, BM_GETIMAGE, IMAGE_BITMAP, 0));
  return image && !image->Empty() ? image : nullptr;
}

gfx::TSize TacBitBtnWnd::GlyphSize() const {
  if (const gfx::Bitmap* image = BareImage()) return {image->Width(), image->Height()};
  auto* button = dynamic_cast<fw::TBitBtn*>(FParams.Control);
  if (!button || button->Glyph().Empty()) return {0, 0};
  return {button->Glyph().Width() / std::max(button->NumGlyphs(), 1), button->Glyph().Height()};
}

void TacBitBtnWnd::DrawGlyph(gfx::Bitmap& cache, int state) {
  const gfx::TSize size = GlyphSize();
  if (size.cx <= 0) return;
  gfx::Bitmap picture;
  TRect glyph;
  if (const gfx::Bitmap* image = BareImage()) {
    // A bare bitmap button: its image centred, as the button itself shows it.
    picture = *image;
    glyph = gfx::RectOfSize((cache.Width() - size.cx) / 2, (cache.Height() - size.cy) / 2, size.cx,
                            size.cy);
    if (ShiftsContent(state)) glyph = glyph.Offset(1, 1);
  } else {
    TRect caption;
    if (!Layout(state, glyph, caption) || glyph.IsEmpty()) return;
    auto* button = static_cast<fw::TBitBtn*>(FParams.Control);
    // The frame for the state, as the button shows it: disabled, down, else the first.
    const int n = button->NumGlyphs();
    const int frame = !IsWindowEnabled(CtrlHandle) && n > 1 ? 1 : state == 2 && n > 2 ? 2 : 0;
    picture = button->Glyph().Copy(gfx::RectOfSize(frame * size.cx, 0, size.cx, size.cy));
  }
  // The modal colouring's glyph colour (OK green, Cancel red...) tones the picture.
  const TacColoring coloring = GetColoring();
  if (coloring.ColorGlyph != TacColoring::None)
    skin::paint::ChangeBitmapPixels(picture, skin::paint::ChangeColorTone,
                                    int(coloring.ColorGlyph & 0xFFFFFF), skin::paint::clNone);
  gfx::DeviceContext dc(cache);
  fw::TCanvas canvas;
  canvas.SetHandle(&dc);
  canvas.Draw(glyph.Left, glyph.Top, picture, true);
}

TRect TacBitBtnWnd::CaptionRect(fw::TCanvas& canvas, const std::u16string& text, unsigned flags,
                                int state) const {
  TRect glyph, caption;
  if (GlyphSize().cx <= 0 || !Layout(state, glyph, caption))
    return TacBtnWnd::CaptionRect(canvas, text, flags, state);
  return caption;
}

// ---- The dump ----------------------------------------------------------------------------------

namespace {

const char* PartName(int part) {
  switch (part) {
    case HTSCROLL_LEFT:
      return "arrow1";
    case HTSCROLL_RIGHT:
      return "arrow2";
    case HTSCROLL_PAGELEFT:
      return "page1";
    case HTSCROLL_PAGERIGHT:
      return "page2";
    case HTSCROLL_THUMB:
      return "thumb";
    default:
      return nullptr;
  }
}

void WriteWrapper(backend::JsonWriter& w, fw::TControl* c) {
  auto* wc = dynamic_cast<fw::TWinControl*>(c);
  if (!wc || !wc->HandleAllocated()) return;
  TacMainWnd* wrapper = Ac_GetScrollWndFromHwnd(wc->Handle());
  if (!wrapper || wrapper->Destroyed()) return;
  w.Key("wrapper");
  w.String(wrapper->ClassName());
  auto* sw = dynamic_cast<TacScrollWnd*>(wrapper);
  if (!sw) return;
  w.Key("scrollBars");
  w.BeginArray();
  const TRect wr = WindowRectOf(wc->Handle());
  for (int bar : {SB_VERT, SB_HORZ}) {
    const TacBarLayout l = sw->Layout(bar);
    if (l.Bar.IsEmpty()) continue;
    const bool vert = bar == SB_VERT;
    const TRect r = l.Bar.Offset(wr.Left, wr.Top);
    w.BeginObject();
    w.Key("kind");
    w.String(vert ? "vert" : "horz");
    w.Key("rect");
    WriteRect(w, r);
    w.Key("thumb");
    if (l.Thumb.Size > 0) {
      const int start = (vert ? r.Top : r.Left) + l.Button + l.Thumb.Offset;
      WriteRect(w, vert ? TRect{r.Left, start, r.Right, start + l.Thumb.Size}
                        : TRect{start, r.Top, start + l.Thumb.Size, r.Bottom});
    } else {
      w.Null();
    }
    for (const char* key : {"hot", "pressed"}) {
      w.Key(key);
      const char* name = PartName(key[0] == 'h' ? sw->HotPart(bar) : sw->PressedPart(bar));
      if (name)
        w.String(name);
      else
        w.Null();
    }
    w.Key("min");
    w.Number(l.Info.nMin);
    w.Key("max");
    w.Number(l.Info.nMax);
    w.Key("page");
    w.Number(l.Info.nPage);
    w.Key("pos");
    w.Number(l.Info.nPos);
    w.EndObject();
  }
  w.EndArray();
}

}  // namespace

void WriteRect(backend::JsonWriter& w, const TRect& r) {
  w.BeginArray();
  for (int v : {r.Left, r.Top, r.Right, r.Bottom}) w.Number(v);
  w.EndArray();
}

void InstallWrapperDump() {
  static bool done = false;
  if (done) return;
  done = true;
  fw::AddControlDumper(WriteWrapper);
}

}  // namespace skin::frame
