#include "skin/core/acGlow.h"

#include <algorithm>

#include "framework/Application.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "platform/win/Window.h"
#include "skin/core/acThdTimer.h"
#include "skin/core/sFade.h"
#include "skin/draw/sAlphaGraph.h"
#include "skin/draw/sGraphUtils.h"
#include "skin/paint/sAlphaGraph.h"

namespace skin::core {

// ---- TacGlowForm ----------------------------------------------------------------------------

TacGlowForm::TacGlowForm(bool topmost) : fw::TCustomControl(nullptr), FTopmost(topmost) {
  SetVisible(false);
}

void TacGlowForm::CreateParams(fw::TCreateParams& params) {
  fw::TCustomControl::CreateParams(params);
  params.Style = win::WS_POPUP;
  params.WndParent = nullptr;
  params.ExStyle = win::WS_EX_LAYERED | win::WS_EX_NOACTIVATE | win::WS_EX_TOOLWINDOW;
  if (TransparentMouse) params.ExStyle |= win::WS_EX_TRANSPARENT;
  if (FTopmost) params.ExStyle |= win::WS_EX_TOPMOST;
}

void TacGlowForm::WndProc(fw::TMessage& m) {
  switch (m.Msg) {
    case win::WM_NCHITTEST:
      if (!TransparentMouse) break;
      m.Result = win::HTTRANSPARENT;
      return;
    case win::WM_MOUSEACTIVATE:
      m.Result = win::MA_NOACTIVATE;
      return;
    case win::WM_ERASEBKGND:
      m.Result = 1;
      return;
    default:
      break;
  }
  fw::TCustomControl::WndProc(m);
}

void TacGlowForm::ShowPicture(const gfx::Bitmap& picture, gfx::TPoint at, int alpha,
                              win::HWND above) {
  FPicture = picture;
  paint::UpdateAlpha(FPicture);
  const win::HWND h = Handle();
  const win::POINT dst{at.X, at.Y};
  const win::SIZE size{FPicture.Width(), FPicture.Height()};
  win::BLENDFUNCTION blend;
  blend.SourceConstantAlpha = win::BYTE(std::clamp(alpha, 0, 255));
  win::UpdateLayeredWindow(h, &dst, &size, &FPicture, nullptr, 0, &blend, win::ULW_ALPHA);
  // Just above the given window: below the window that lies above it.
  win::HWND after = FTopmost ? win::HWND_TOPMOST : win::HWND_TOP;
  if (above && !FTopmost)
    if (win::HWND prev = win::GetWindow(above, win::GW_HWNDPREV); prev && prev != h) after = prev;
  win::SetWindowPos(h, after, 0, 0, 0, 0,
                    win::SWP_NOMOVE | win::SWP_NOSIZE | win::SWP_NOACTIVATE | win::SWP_SHOWWINDOW);
}

void TacGlowForm::SetAlpha(int alpha) {
  if (!HandleAllocated() || FPicture.Empty()) return;
  win::BLENDFUNCTION blend;
  blend.SourceConstantAlpha = win::BYTE(std::clamp(alpha, 0, 255));
  win::UpdateLayeredWindow(Handle(), nullptr, nullptr, &FPicture, nullptr, 0, &blend,
                           win::ULW_ALPHA);
}

// ---- Glow effects ---------------------------------------------------------------------------

std::vector<std::unique_ptr<TacGlowEffect>>& acgEffects() {
  static std::vector<std::unique_ptr<TacGlowEffect>> effects;
  return effects;
}

namespace {

TacGlowEffect* Effect(int id) {
  auto& all = acgEffects();
  return id >= 0 && id < int(all.size()) ? all[std::size_t(id)].get() : nullptr;
}

const data::TacSkinModel* ModelOf(const TsCommonData* data) {
  TsSkinManager* m = data ? data->SkinManager() : nullptr;
  return m && !m->HasState(fw::csDestroying) ? m->SkinModel() : nullptr;
}

}  // namespace

int ShowGlow(const gfx::TRect& realRect, std::string_view skinSection, std::string_view name,
             int margin, int alpha, win::HWND wnd, TsCommonData* skinData) {
  const data::TacSkinModel* model = ModelOf(skinData);
  if (!model) return -1;
  const std::string image = std::string(name) + "0";
  const int mask = skinSection.empty() ? model->GetMaskIndex(skinData->SkinIndex, image)
                                       : model->GetMaskIndex(skinSection, image);
  return ShowGlow(realRect, mask, margin, alpha, wnd, skinData);
}

int ShowGlow(const gfx::TRect& realRect, int maskIndex, int margin, int alpha, win::HWND wnd,
             TsCommonData* skinData) {
  const data::TacSkinModel* model = ModelOf(skinData);
  if (!model || !model->IsValidImgIndex(maskIndex) || win::GetCapture()) return -1;
  const paint::TsMaskData& md = model->ma[std::size_t(maskIndex)];
  const int w = realRect.Width() + md.WL + md.WR - 2 * margin;
  const int h = realRect.Height() + md.WT + md.WB - 2 * margin;
  if (w <= 0 || h <= 0) return -1;
  auto effect = std::make_unique<TacGlowEffect>();
  effect->SkinData = skinData;
  effect->MaskIndex = maskIndex;
  effect->Margin = margin;
  effect->AlphaBmp = paint::CreateBmp32(w, h);
  draw::DrawSkinRect(*effect->AlphaBmp, effect->AlphaBmp->Bounds(), draw::EmptyCI, md, 0, false);
  // The control's colour tone (a modal dialog button's, say) tints its glow; 0 is no answer.
  const auto tone = wnd ? std::uint32_t(SendAMessage(wnd, AC_GETCOLORTONE)) : 0u;
  if (tone != 0 && tone != kNoColorTone)
    paint::ChangeBitmapPixels(*effect->AlphaBmp, paint::ChangeColorTone, int(tone & 0xFFFFFF),
                              paint::clNone);
  const win::HWND root = wnd ? win::GetAncestor(wnd, win::GA_ROOT) : nullptr;
  const bool topmost =
      !skinData->OwnerObject() ||
      (root && (win::GetWindowLongPtrW(root, win::GWL_EXSTYLE) & win::WS_EX_TOPMOST));
  effect->Wnd = std::make_unique<TacGlowForm>(topmost);
  effect->Wnd->ShowPicture(*effect->AlphaBmp,
                           {realRect.Left - (md.WL - margin), realRect.Top - (md.WT - margin)},
                           alpha, root);
  auto& all = acgEffects();
  all.push_back(std::move(effect));
  return int(all.size()) - 1;
}

void HideGlow(int& id, bool doAnimation) {
  TacGlowEffect* effect = Effect(id);
  if (!effect) {
    id = -1;
    return;
  }
  TsCommonData* data = effect->SkinData;
  TsSkinManager* m = data ? data->SkinManager() : nullptr;
  if (doAnimation && data && m && m->Effects().AllowAnimation && fw::Application &&
      !fw::Application->Terminated() &&
      (!data->AnimTimer || data->AnimTimer->ThreadType == TT_GLOWING) && &id == &data->GlowID) {
    GetNewTimer(*data, 0);
    TacThreadedTimer& t = *data->AnimTimer;
    t.ThreadType = TT_GLOWING;
    t.InitData(data, 0, UpdateGlowing_CB, 0, false);
    t.TimeHandler();
    return;
  }
  acgEffects()[std::size_t(id)].reset();
  id = -1;
  // A glow timer has nothing left to do; a state fade goes on.
  if (data && data->AnimTimer && data->AnimTimer->ThreadType == TT_GLOWING) StopTimer(*data);
}

void SetGlowAlpha(int id, int alpha) {
  if (TacGlowEffect* effect = Effect(id)) effect->Wnd->SetAlpha(alpha);
}

void ClearGlows(const TsCommonData* of) {
  auto& all = acgEffects();
  for (std::size_t id = 0; id < all.size(); ++id) {
    TacGlowEffect* effect = all[id].get();
    if (!effect || (of && effect->SkinData != of)) continue;
    // Glows of data that went were cleared with it: the data here is alive.
    if (effect->SkinData->GlowID == int(id)) effect->SkinData->GlowID = -1;
    all[id].reset();
  }
}

void ShowGlowingIfNeeded(TsCommonData& data, int alpha) {
  TsSkinManager* m = data.SkinManager();
  const data::TacSkinModel* model = ModelOf(&data);
  fw::TControl* c = data.OwnerControl();
  if (data.GlowID >= 0 || !m || !m->Effects().AllowGlowing || !model ||
      !model->IsValidSkinIndex(data.SkinIndex) || !c || !c->Visible())
    return;
  const data::TsGeneralData& sec = model->gd[std::size_t(data.SkinIndex)];
  if (sec.GlowCount <= 0) return;
  const win::HWND wnd = data.OwnerHandle()                              ? data.OwnerHandle()
                        : c->Parent() && c->Parent()->HandleAllocated() ? c->Parent()->Handle()
                                                                        : nullptr;
  if (!wnd) return;
  const gfx::TPoint at = c->ClientToScreen({0, 0});
  data.GlowID = ShowGlow(gfx::RectOfSize(at.X, at.Y, c->Width(), c->Height()), "", "GLOW",
                         sec.GlowMargin, alpha, wnd, &data);
}

}  // namespace skin::core
