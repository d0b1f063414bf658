#include "skin/controls/sFrameAdapter.h"

#include <cstdint>

#include "framework/ControlMessages.h"
#include "framework/Exception.h"
#include "framework/Menus.h"
#include "platform/win/Messages.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Window.h"
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
      FSkinnedElsewhere(sc::CtrlIsSkinned(FFrame, false)),
      FCommonData(std::make_unique<sc::TsScrollWndData>(FFrame, true)) {
  FCommonData->COC = sc::COC_TsFrameAdapter;
  // A frame skinned by something else keeps its handling.
  if (!FSkinnedElsewhere)
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
  if (!FHook) return;
  FCommonData->Loaded(true);
  HookPopups();
}

void TsFrameAdapter::HookPopups() {
  sc::TsSkinManager* m = FCommonData->SkinManager();
  if (!m || !m->Active() || !m->SkinnedPopups() || !FCommonData->Skinned()) return;
  sc::TacMenuPainter* painter = m->SkinableMenus();
  if (!painter) return;
  for (int i = 0; i < FFrame->ComponentCount(); ++i)
    if (auto* menu = dynamic_cast<fw::TPopupMenu*>(FFrame->Components(i)))
      painter->HookPopupMenu(*menu, true);
}

bool TsFrameAdapter::ThirdPartySkinned() const {
  const sc::TsSkinManager* m = FCommonData->SkinManager();
  return m && FCommonData->Skinned() && (m->SkinningRules() & sc::acBit(sc::srThirdParty));
}

void TsFrameAdapter::SetClassBrush(win::HBRUSH brush) {
  if (!brush || !FFrame->HandleAllocated() || FFrame->HasState(fw::csDestroying)) return;
  win::SetClassLongPtrW(FFrame->Handle(), win::GCLP_HBRBACKGROUND, std::uintptr_t(brush));
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
        if (ours) {
          // The brushes of the previous skin are gone: the class takes the new skin's.
          SetClassBrush(manager->Brushes(skin::data::pcMainColor));
          HookPopups();
          BGChangedNotify(true);
        }
        return;
      case sc::AC_REMOVESKIN:
        sc::CommonWndProc(m, cd);
        if (ours) {
          sc::AlphaBroadCast(*FFrame, m);
          // The manager frees its brushes with the skin: the class must not keep one.
          SetClassBrush(win::GetSysColorBrush(win::COLOR_BTNFACE));
          if (FFrame->HandleAllocated() && !FFrame->HasState(fw::csDestroying))
            win::SetWindowPos(FFrame->Handle(), nullptr, 0, 0, 0, 0,
                              win::SWP_FRAMECHANGED | win::SWP_NOACTIVATE | win::SWP_NOMOVE |
                                  win::SWP_NOSIZE | win::SWP_NOZORDER | win::SWP_NOOWNERZORDER);
          BGChangedNotify(true);
        }
        return;
      case sc::AC_REFRESH:
        sc::CommonWndProc(m, cd);
        if (ours) {
          cd.UpdateIndexes();
          sc::AlphaBroadCast(*FFrame, m);
          BGChangedNotify(true);
          SetClassBrush(manager->Brushes(skin::data::pcMainColor));
        }
        return;
      case sc::AC_BEFORESCROLL:
      case sc::AC_AFTERSCROLL:
        // A frame whose picture changes with its place is not drawn while it scrolls, and
        // wholly after.
        // Drawing comes back on when it was switched off, whatever the section became meanwhile.
        if (!FFrame->HandleAllocated()) return;
        if (sc::WParamHi(m.WParam) == sc::AC_BEFORESCROLL) {
          if (FScrolling || !cd.RepaintIfMoved()) return;
          FScrolling = true;
          sc::SetRedraw(FFrame->Handle(), false);
        } else if (FScrolling) {
          FScrolling = false;
          sc::SetRedraw(FFrame->Handle(), true);
          win::RedrawWindow(
              FFrame->Handle(), nullptr, nullptr,
              win::RDW_INVALIDATE | win::RDW_ERASE | win::RDW_ALLCHILDREN | win::RDW_FRAME);
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
    case win::WM_CREATE:
      if (!sc::CommonWndProc(m, cd)) next(m);
      SetClassBrush(cd.SkinManager()->Brushes(skin::data::pcMainColor));
      return;
    case fw::CM_MOUSEENTER:
      if (!sc::CommonWndProc(m, cd)) next(m);
      // Windowless controls beside the frame that still show the mouse let it go; the frame
      // is the manager's hot control.
      if (fw::TWinControl* parent = FFrame->Parent())
        for (int i = 0; i < parent->ControlCount(); ++i) {
          fw::TControl* sibling = parent->Controls(i);
          if (!dynamic_cast<fw::TWinControl*>(sibling) && sibling->MouseInControl())
            sibling->Perform(fw::CM_MOUSELEAVE, 0, win::LPARAM(sibling));
        }
      if (sc::TsSkinManager* manager = cd.SkinManager())
        manager->SetActiveControl(FFrame->Handle());
      return;
    case fw::CM_SHOWINGCHANGED:
      if (!sc::CommonWndProc(m, cd)) next(m);
      if (ThirdPartySkinned())
        for (int i = 0; i < FFrame->ControlCount(); ++i) sc::AddToAdapter(FFrame->Controls(i));
      if (FFrame->Visible()) BGChangedNotify(true);
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
