#include "skin/frame/sMDIForm.h"

#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/Paint.h"
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

}  // namespace skin::frame
