#include "skin/controls/sFrameAdapter.h"

#include "framework/Exception.h"
#include "platform/win/Messages.h"
#include "platform/win/Paint.h"
#include "skin/core/sConst.h"
#include "skin/core/sGraphUtils.h"
#include "skin/core/sMessages.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sVclUtils.h"
#include "skin/data/acConstData.h"

namespace skin::controls {

namespace sc = skin::core;

namespace {

fw::TFrame* FrameOrRaise(fw::TComponent* owner) {
  auto* frame = dynamic_cast<fw::TFrame*>(owner);
  if (!frame) throw fw::Exception(sc::acs_FrameAdapterError1);
  return frame;
}

}  // namespace

TsFrameAdapter::TsFrameAdapter(fw::TComponent* owner)
    : TComponent(FrameOrRaise(owner)),
      FFrame(static_cast<fw::TFrame*>(owner)),
      FCommonData(std::make_unique<sc::TsScrollWndData>(FFrame, true)) {
  FCommonData->COC = sc::COC_TsFrameAdapter;
  // A frame skinned by something else keeps its handling.
  if (!sc::CtrlIsSkinned(FFrame, false))
    FHook = FFrame->HookWindowProc(
        [this](fw::TMessage& m, const fw::TWndNext& next) { NewWndProc(m, next); });
  FCommonData->InitCommonProp();
}

TsFrameAdapter::~TsFrameAdapter() {
  Destroying();
  if (FHook) {
    FCommonData->RemoveCommonProp();
    FFrame->UnhookWindowProc(FHook);
  }
}

void TsFrameAdapter::AfterConstruction() {
  TComponent::AfterConstruction();
  FCommonData->InitCommonProp();
  if (sc::TsSkinManager* m = FCommonData->SkinManager())
    FFrame->Perform(sc::SM_ALPHACMD, sc::AC_SETNEWSKIN_HI, win::LPARAM(m));
}

void TsFrameAdapter::Loaded() {
  TComponent::Loaded();
  if (FHook) FCommonData->Loaded(true);
}

bool TsFrameAdapter::PrepareCache() {
  if (sc::UpdateCache(*FCommonData, 0)) return true;
  FCommonData->FUpdating = true;
  return false;
}

void TsFrameAdapter::OurPaintHandler(gfx::HDC dc) {
  if (!PrepareCache()) return;
  const gfx::TRect r{0, 0, FFrame->Width(), FFrame->Height()};
  sc::CopyWinControlCache(*FFrame, *FCommonData, r, r, dc, false);
  sc::PaintControls(dc, *FFrame, true, {});
  sc::SetParentUpdated(FFrame);
}

void TsFrameAdapter::AC_WMPaint(gfx::HDC dc) {
  if (dc) {
    OurPaintHandler(dc);
    return;
  }
  const win::HWND h = FFrame->Handle();
  win::PAINTSTRUCT ps;
  if (gfx::HDC pdc = win::BeginPaint(h, &ps)) OurPaintHandler(pdc);
  win::EndPaint(h, &ps);
}

void TsFrameAdapter::BGChangedNotify(bool repaint) {
  FCommonData->BGChanged = true;
  sc::AlphaBroadCast(*FFrame, {sc::SM_ALPHACMD, sc::MakeAlphaCmd(sc::AC_SETBGCHANGED), 0, 0});
  if (repaint && FFrame->HandleAllocated()) win::InvalidateRect(FFrame->Handle(), nullptr, true);
}

void TsFrameAdapter::NewWndProc(fw::TMessage& m, const fw::TWndNext& next) {
  sc::TsScrollWndData& cd = *FCommonData;
  if (m.Msg == sc::SM_ALPHACMD) {
    const sc::TsSkinManager* manager = cd.SkinManager();
    const bool ours = manager && m.LParam == win::LPARAM(manager);
    switch (sc::WParamHi(m.WParam)) {
      case sc::AC_GETDEFINDEX:
        // Its own section when named, else the transparent one: the frame shows its parent.
        if (!manager || !manager->SkinModel())
          m.Result = 0;
        else if (!cd.SkinSection().empty())
          m.Result = manager->GetSkinIndex(cd.SkinSection()) + 1;
        else
          m.Result = manager->ConstData().Sections[skin::data::ssTransparent] + 1;
        return;
      case sc::AC_SETNEWSKIN:
        if (ours) sc::AlphaBroadCast(*FFrame, m);
        sc::CommonWndProc(m, cd);
        if (ours) BGChangedNotify(true);
        return;
      case sc::AC_REMOVESKIN:
      case sc::AC_REFRESH:
        sc::CommonWndProc(m, cd);
        if (ours) {
          if (sc::WParamHi(m.WParam) == sc::AC_REFRESH) cd.UpdateIndexes();
          sc::AlphaBroadCast(*FFrame, m);
          BGChangedNotify(true);
        }
        return;
      case sc::AC_STOPFADING:
        sc::AlphaBroadCast(*FFrame, m);
        break;
      case sc::AC_PREPARECACHE:
        PrepareCache();
        return;
      default:
        break;
    }
    if (!sc::CommonWndProc(m, cd)) next(m);
    return;
  }
  if (m.Msg == win::WM_SIZE) cd.BGChanged = true;
  if (FFrame->HasState(fw::csDestroying) || !cd.Skinned(true)) {
    if (!sc::CommonWndProc(m, cd)) next(m);
    return;
  }
  switch (m.Msg) {
    case win::WM_PAINT:
      AC_WMPaint(reinterpret_cast<gfx::HDC>(m.WParam));
      return;
    case win::WM_ERASEBKGND:
      if (!cd.BGChanged) OurPaintHandler(reinterpret_cast<gfx::HDC>(m.WParam));
      m.Result = 1;
      return;
    case win::WM_NCPAINT:
      return;
    case win::WM_PRINT:
      if (m.WParam && PrepareCache()) {
        const gfx::TRect r{0, 0, FFrame->Width(), FFrame->Height()};
        sc::CopyWinControlCache(*FFrame, cd, r, r, reinterpret_cast<gfx::HDC>(m.WParam), false);
      }
      return;
    case win::WM_SIZE:
      sc::CommonWndProc(m, cd);
      next(m);
      BGChangedNotify(true);
      return;
    case win::WM_MOVE:
    case win::WM_WINDOWPOSCHANGED: {
      const bool changed = cd.BGChanged || cd.RepaintIfMoved();
      if (!sc::CommonWndProc(m, cd)) next(m);
      if (changed) BGChangedNotify(m.Msg != win::WM_MOVE);
      return;
    }
    default:
      if (!sc::CommonWndProc(m, cd)) next(m);
  }
}

}  // namespace skin::controls
