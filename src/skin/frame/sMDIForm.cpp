#include "skin/frame/sMDIForm.h"

#include "platform/gfx/DeviceContext.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Window.h"
#include "skin/frame/sSkinProvider.h"

namespace skin::frame {

TsMDIForm::TsMDIForm(TsSkinProvider& provider) : FForm(provider.Form()), FSkinProvider(&provider) {
  FForm->HandleNeeded();
}

TsMDIForm::~TsMDIForm() {
  DestroyScrolls();
}

void TsMDIForm::ConnectToClient() {
  if (Connected()) return;
  RefreshMDIScrolls();
}

void TsMDIForm::RefreshMDIScrolls() {
  DestroyScrolls();
  const win::HWND client = FForm->ClientHandle();
  if (!FSkinProvider->Skinned() || !client || !win::IsWindow(client)) return;
  TacSkinParams params;
  params.SkinSection = "CHECKBOX";
  auto w = TacMainWnd::Create<TacMDIWnd>(client, true, params,
                                         FSkinProvider->SkinData().SkinManager(), nullptr);
  w->FForm = FForm;
  w->SkinProvider = FSkinProvider;
  w->MDISkinData = &FSkinProvider->SkinData();
  FListSW = std::move(w);
  win::RedrawWindow(client, nullptr, nullptr,
                    win::RDW_ERASE | win::RDW_FRAME | win::RDW_INVALIDATE);
}

void TsMDIForm::DestroyScrolls() {
  if (!FListSW) return;
  const win::HWND client = FListSW->CtrlHandle;
  const bool live = !FListSW->Destroyed() && win::IsWindow(client);
  if (auto* w = dynamic_cast<TacMDIWnd*>(FListSW.get())) w->SkinProvider = nullptr;
  ReleaseWrapper(std::move(FListSW));
  if (live && !FForm->HasState(fw::csDestroying))
    win::RedrawWindow(client, nullptr, nullptr,
                      win::RDW_ERASE | win::RDW_FRAME | win::RDW_INVALIDATE | win::RDW_ALLCHILDREN);
}

bool TsMDIForm::Connected() const {
  return FListSW && !FListSW->Destroyed() && win::IsWindow(FListSW->CtrlHandle) &&
         Ac_GetScrollWndFromHwnd(FListSW->CtrlHandle) == FListSW.get();
}

TacMDIWnd* TsMDIForm::ListSW() const {
  return dynamic_cast<TacMDIWnd*>(FListSW.get());
}

void TsMDIForm::UpdateMDIIconItem() {
  FSkinProvider->UpdateFrame();
}

void TsMDIForm::SendToActiveChild(unsigned command) {
  if (fw::TCustomForm* child = FForm->ActiveMDIChild(); child && child->HandleAllocated())
    win::SendMessageW(child->Handle(), win::WM_SYSCOMMAND, command, 0);
}

void TsMDIForm::CloseClick() {
  SendToActiveChild(win::SC_CLOSE);
}

void TsMDIForm::MinClick() {
  SendToActiveChild(win::SC_MINIMIZE);
}

void TsMDIForm::RestoreClick() {
  SendToActiveChild(win::SC_RESTORE);
}

// ---- TacMDIIcons ---------------------------------------------------------------------------

TacMDIIcons::TacMDIIcons(TsSkinProvider& provider) : FProvider(provider) {
  SetName("acMDIIcons");
}

void TacMDIIcons::CreateParams(fw::TCreateParams& params) {
  core::TacGlowForm::CreateParams(params);
  params.ExStyle &= ~win::WS_EX_LAYERED;
  params.WndParent = FProvider.Form()->Handle();  // owned: it stays above the parent
  params.Caption = u"acMDIIcons";
}

gfx::TRect TacMDIIcons::PlaceFor(const TsSkinProvider& provider) {
  win::RECT wr;
  win::GetWindowRect(provider.Form()->Handle(), &wr);
  const int right = wr.Right - provider.SysBorderWidth();
  const int top = wr.Top + provider.SysBorderWidth() + provider.SysCaptionHeight();
  return {right - kWidth, top, right, top + win::GetSystemMetrics(win::SM_CYMENU) + 3};
}

void TacMDIIcons::ShowOverLine() {
  const gfx::TRect r = PlaceFor(FProvider);
  win::SetWindowPos(Handle(), win::HWND_TOP, r.Left, r.Top, r.Width(), r.Height(),
                    win::SWP_NOACTIVATE | win::SWP_SHOWWINDOW);
  win::InvalidateRect(Handle(), nullptr, false);
}

void TacMDIIcons::WndProc(fw::TMessage& m) {
  switch (m.Msg) {
    case win::WM_PAINT: {
      win::PAINTSTRUCT ps;
      if (gfx::HDC dc = win::BeginPaint(Handle(), &ps)) {
        // The strip of the parent's picture under the window.
        if (const gfx::Bitmap* cache = FProvider.SkinData().CacheBmp(); cache && !cache->Empty()) {
          win::RECT r;
          win::GetWindowRect(Handle(), &r);
          const gfx::TPoint origin = FProvider.CacheOrigin();
          gfx::DeviceContext from(*const_cast<gfx::Bitmap*>(cache));
          gfx::BitBlt(dc, 0, 0, r.Width(), r.Height(), &from, r.Left - origin.X, r.Top - origin.Y,
                      gfx::SRCCOPY);
        }
      }
      win::EndPaint(Handle(), &ps);
      m.Result = 0;
      return;
    }
    default:
      break;
  }
  core::TacGlowForm::WndProc(m);
}

}  // namespace skin::frame
