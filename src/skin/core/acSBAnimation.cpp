#include "skin/core/acSBAnimation.h"

#include <algorithm>

#include "framework/Application.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/Window.h"
#include "skin/draw/sAlphaGraph.h"
#include "skin/draw/sGraphUtils.h"
#include "skin/paint/sAlphaGraph.h"

namespace skin::core {

namespace {

bool AnimationAllowed(const TsCommonData* data) {
  TsSkinManager* m = data ? data->SkinManager() : nullptr;
  return m && m->Effects().AllowAnimation;
}

}  // namespace

TacSBAnimation::TacSBAnimation(win::HWND formHandle, win::HWND borderForm, TsCommonData* skinData,
                               TsCaptionButton* btn, int maxIterations)
    : MaxIterations(maxIterations),
      BorderForm(borderForm),
      SkinData(skinData),
      FormHandle(formHandle),
      PBtnData(btn) {
  FTimer.SetEnabled(false);
  FTimer.SetInterval(12);
  FTimer.SetOnTimer([this](fw::TComponent*) { Tick(); });
}

TacSBAnimation::~TacSBAnimation() = default;

int TacSBAnimation::Step() const {
  return std::max(MaxIterations > 0 ? 255 / MaxIterations : 0, 0);
}

bool TacSBAnimation::Prepare(int state) {
  TsSkinManager* m = SkinData ? SkinData->SkinManager() : nullptr;
  const data::TacSkinModel* model = m ? m->SkinModel() : nullptr;
  if (!model || !PBtnData) return false;
  const win::HWND on = BorderForm ? BorderForm : FormHandle;
  win::RECT wr{};
  win::GetWindowRect(on, &wr);
  gfx::TRect bounds = PBtnData->cpRect.Offset(wr.Left, wr.Top);
  const data::TConstantSkinData& c = m->ConstData();
  const int kind = PBtnData->cpGlyphType;
  int glow = -1;
  if (m->Effects().AllowGlowing && state == 1 && kind <= data::tgNormal &&
      !c.TitleGlows[std::size_t(kind)].empty() &&
      model->IsValidImgIndex(c.TitleGlows[std::size_t(kind)][0]))
    glow = c.TitleGlows[std::size_t(kind)][0];
  if (glow >= 0) {
    const paint::TsMaskData& md = model->ma[std::size_t(glow)];
    const int margin = c.GlowMargins[std::size_t(kind)];
    bounds = gfx::RectOfSize(bounds.Left - margin, bounds.Top - margin, md.Width, md.Height);
  }
  if (state != 0 || !ABmp) {
    ABmp = paint::CreateBmp32(bounds.Width(), bounds.Height());
    if (glow >= 0) {
      const paint::TsMaskData& md = model->ma[std::size_t(glow)];
      ABmp->CopyFrom(model->ItemBitmap(md),
                     gfx::RectOfSize(md.R.Left, md.R.Top, md.Width, md.Height), {0, 0});
    } else {
      // The restore glyph stands on the minimise button of a minimised form.
      int glyph = kind == data::tgMin && win::IsIconic(FormHandle) ? data::tgNormal : kind;
      const int index = glyph <= data::tgNone ? c.TitleGlyphs[std::size_t(glyph)] : -1;
      if (model->IsValidImgIndex(index))
        draw::DrawSkinGlyph(*ABmp, {0, 0}, state, 1, model->ma[std::size_t(index)], draw::EmptyCI);
    }
  }
  // Centred on the bounds when the picture has another size.
  FAt = {bounds.Left + (bounds.Width() - ABmp->Width()) / 2,
         bounds.Top + (bounds.Height() - ABmp->Height()) / 2};
  return true;
}

void TacSBAnimation::Show(int alpha) {
  alpha = std::clamp(alpha, 0, 255);
  if (!ABmp) return;
  if (!AForm) {
    const win::HWND root = win::GetAncestor(BorderForm ? BorderForm : FormHandle, win::GA_ROOT);
    const bool topmost =
        root && (win::GetWindowLongPtrW(root, win::GWL_EXSTYLE) & win::WS_EX_TOPMOST);
    AForm = std::make_unique<TacGlowForm>(topmost);
    AForm->ShowPicture(*ABmp, FAt, alpha, root);
    return;
  }
  AForm->SetAlpha(alpha);
}

void TacSBAnimation::StartAnimation(int state, bool toUp) {
  if (state == CurrentState) return;
  CurrentState = state;
  if (state != 0) {
    if (state == 2) {
      AForm.reset();
      ABmp.reset();
    }
    if (!Prepare(state)) return;
    CurrentLevel = 1;
    Up = toUp;
    Show(Step());
    CurrentLevel = 2;
  } else {
    if (!Prepare(state)) return;
    Up = false;
    // Down from the opacity on screen.
    CurrentLevel = std::clamp(CurrentLevel, 0, MaxIterations);
    Show(Step() * CurrentLevel);
    if (CurrentLevel > 0) --CurrentLevel;
  }
  SetRunning(MaxIterations > 1);
}

void TacSBAnimation::Tick() {
  if (Up) {
    if (CurrentLevel < MaxIterations) {
      Show(Step() * CurrentLevel);
      ++CurrentLevel;
      return;
    }
    // At the top: the mouse may have left the button meanwhile.
    win::POINT p{};
    win::GetCursorPos(&p);
    win::RECT wr{};
    win::GetWindowRect(BorderForm ? BorderForm : FormHandle, &wr);
    if (PBtnData && !PBtnData->cpRect.Contains({p.X - wr.Left, p.Y - wr.Top})) {
      SetRunning(false);
      win::SendMessageW(FormHandle, win::WM_MOUSELEAVE, 0, 0);
    }
    if (MaxIterations != -1) {
      Show(255);
      MaxIterations = -1;
    }
    return;
  }
  if (CurrentLevel > 0) {
    Show(Step() * CurrentLevel);
    --CurrentLevel;
    return;
  }
  CurrentState = -1;
  SetRunning(false);
  AForm.reset();
  ABmp.reset();
}

void StartSBAnimation(TsCaptionButton& btn, int state, int iterations, bool toUp,
                      win::HWND formHandle, win::HWND borderForm, TsCommonData* skinData,
                      const TacAnimationMaker& make) {
  if (fw::Application && fw::Application->Terminated()) return;
  const int steps = std::max(1, iterations * int(AnimationAllowed(skinData)));
  if (!btn.cpTimer) {
    btn.cpTimer =
        make ? make(steps)
             : std::make_unique<TacSBAnimation>(formHandle, borderForm, skinData, &btn, steps);
    btn.cpTimer->StartAnimation(state, toUp);
    return;
  }
  TacSBAnimation& a = *btn.cpTimer;
  // Every start sets the steps again: a finished fade in leaves MaxIterations at -1, and a
  // fade out with that step would drop to nothing at once.
  a.MaxIterations = steps;
  if (!toUp) {
    a.StartAnimation(state, false);
    return;
  }
  a.CurrentState = state;
  a.Up = true;
  // The pressed picture at once; a finished fade out left none.
  if (state == 2 || !a.ABmp) {
    a.AForm.reset();
    a.ABmp.reset();
    a.Prepare(state);
  }
  a.CurrentLevel = steps;
  a.SetRunning(true);
}

}  // namespace skin::core
