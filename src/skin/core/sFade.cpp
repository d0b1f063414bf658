#include "skin/core/sFade.h"

#include <algorithm>
#include <cmath>

#include "framework/WinControl.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/win/Paint.h"
#include "skin/core/acGlow.h"
#include "skin/core/sVclUtils.h"
#include "skin/paint/sAlphaGraph.h"

namespace skin::core {

bool EventEnabled(TacAnimatEvent event, TacAnimatEvents events, TsSkinManager* manager) {
  if (events & acBit(event)) return true;
  if (!(events & acBit(aeGlobalDef))) return false;
  if (!manager) manager = DefaultManager;
  // The button events carry the same order as the first four animation events.
  return manager && event != aeGlobalDef && (manager->AnimEffects().Buttons.Events & acBit(event));
}

int GetNewTimer(TsCommonData& data, int state) {
  if (data.AnimTimer)
    return std::max(6 * (data.AnimTimer->State == 0) + 6 - data.AnimTimer->Iteration, 0);
  data.AnimTimer = std::make_unique<TacThreadedTimer>(&data);
  if (state == 0) data.AnimTimer->Glow = 255;
  return 0;
}

const gfx::Bitmap* AnimFrame(const TsCommonData& data) {
  const TacThreadedTimer* t = data.AnimTimer.get();
  return t && t->Enabled() && t->State >= 0 && t->ThreadType != TT_GLOWING && t->BmpOut
             ? t->BmpOut.get()
             : nullptr;
}

namespace {

// Draws frame onto the control's window: a windowed control's whole window from its corner;
// a windowless one is drawn at its own place in its parent's client area (not at the
// parent's corner).
void DrawFrame(fw::TControl& c, gfx::Bitmap& frame) {
  gfx::HDC dc = nullptr;
  win::HWND wnd = nullptr;
  gfx::TPoint at{0, 0};
  if (auto* w = dynamic_cast<fw::TWinControl*>(&c)) {
    if (!w->HandleAllocated()) return;
    wnd = w->Handle();
    dc = win::GetWindowDC(wnd);
  } else {
    fw::TWinControl* parent = c.Parent();
    if (!parent || !parent->HandleAllocated()) return;
    wnd = parent->Handle();
    dc = win::GetDC(wnd);
    at = {c.Left(), c.Top()};
  }
  if (!dc) return;
  gfx::DeviceContext from(frame);
  gfx::BitBlt(dc, at.X, at.Y, frame.Width(), frame.Height(), &from, 0, 0, gfx::SRCCOPY);
  win::ReleaseDC(wnd, dc);
}

bool HasWindow(const fw::TControl& c) {
  if (auto* w = dynamic_cast<const fw::TWinControl*>(&c)) return w->HandleAllocated();
  return c.Parent() && c.Parent()->HandleAllocated();
}

}  // namespace

bool UpdateWindow_CB(TsCommonData* data, int iteration) {
  TacThreadedTimer* t = data ? data->AnimTimer.get() : nullptr;
  fw::TControl* c = data ? data->OwnerControl() : nullptr;
  if (!t || !c || t->Iterations <= 0 || !HasWindow(*c)) return true;
  if (!t->BmpFrom || !t->BmpTo || t->BmpFrom->Width() != t->BmpTo->Width() ||
      t->BmpFrom->Height() != t->BmpTo->Height())
    return true;
  // 1. The old picture.
  if (!t->BmpOut || t->BmpOut->Width() != t->BmpFrom->Width() ||
      t->BmpOut->Height() != t->BmpFrom->Height())
    t->BmpOut = std::make_unique<gfx::Bitmap>(*t->BmpFrom);
  else
    t->BmpOut->CopyFrom(*t->BmpFrom, t->BmpFrom->Bounds(), {0, 0});
  // 2. The weight of the new picture.
  switch (t->State) {
    case 0:
    case 2:
      t->Glow -= t->GlowStep;
      break;
    case 1:
      t->Glow += t->GlowStep;
      break;
    default:
      t->Glow = 255 - double(iteration) / t->Iterations * 255;
      break;
  }
  const int g = std::clamp(int(std::nearbyint(t->Glow)), 0, 255);
  // 3. The blend: k is the weight kept of the old picture.
  const int k = t->State == 1 ? 255 - g : g;
  paint::SumBmpRect(*t->BmpOut, *t->BmpTo, k, t->BmpTo->Bounds(), {0, 0});
  // 4. On screen.
  DrawFrame(*c, *t->BmpOut);
  // 5. On, or the end.
  const int state = t->State;
  if (iteration < t->Iterations) {
    if (data->GlowID >= 0) {
      SetGlowAlpha(data->GlowID, g);
      if (state == 0 && g < 10) {
        HideGlow(data->GlowID, false);
        t->Glow = 0;
      }
    }
    return true;
  }
  if (state == 0 && g != 0) {
    // Back to normal runs on until the weight reaches 0.
    if (data->GlowID >= 0) SetGlowAlpha(data->GlowID, g);
    --t->Iteration;
    return true;
  }
  if (state == 0) StopTimer(*data);
  if (state != 1 && data->GlowID >= 0) HideGlow(data->GlowID, false);
  return false;
}

bool UpdateGlowing_CB(TsCommonData* data, int iteration) {
  TacThreadedTimer* t = data ? data->AnimTimer.get() : nullptr;
  if (!t) return false;
  if (iteration >= t->Iterations) {
    if (t->State != 1 && data->GlowID >= 0) HideGlow(data->GlowID, false);
    if (t->State == 0) StopTimer(*data);
    return false;
  }
  t->Glow += t->State == 1 ? t->GlowStep : -t->GlowStep;
  if (data->GlowID >= 0)
    SetGlowAlpha(data->GlowID, std::clamp(int(std::nearbyint(t->Glow)), 0, 255));
  return true;
}

void AnimChange(TsCommonData& data, int state, TacAnimProc proc, bool fast) {
  const int iteration = GetNewTimer(data, state);
  TacThreadedTimer& t = *data.AnimTimer;
  if (t.State == state && t.Enabled()) return;
  gfx::Bitmap* cache = data.CacheBmp();
  if (!cache || cache->Empty()) return;
  if (t.BmpOut && (t.BmpOut->Width() != cache->Width() || t.BmpOut->Height() != cache->Height()))
    t.BmpOut.reset();
  TacThreadedTimer::CopyFrom(t.BmpFrom, *cache, cache->Bounds());
  if (data.BGChanged && data.OwnerControl() &&
      SendAMessage(data.OwnerControl(), AC_PREPARECACHE) != 0)
    t.SetEnabled(false);
  cache = data.CacheBmp();
  if (!cache || cache->Empty()) return;
  TacThreadedTimer::CopyFrom(t.BmpTo, *cache, cache->Bounds());
  t.ThreadType = 0;
  t.InitData(&data, iteration, proc, state, fast);
  t.TimeHandler();
}

void DoChangePaint(TsCommonData& data, int state, TacAnimProc proc, bool allowAnimation, bool fast,
                   bool makeGlowing) {
  if (!data.Skinned()) {
    data.Invalidate();
    return;
  }
  TsSkinManager* m = data.SkinManager();
  const gfx::Bitmap* cache = data.CacheBmp();
  if (allowAnimation && !InAnimationProcess && cache && !cache->Empty() && !data.BGChanged &&
      m->Effects().AllowAnimation) {
    if (makeGlowing && state < 100 && data.GlowID < 0) ShowGlowingIfNeeded(data, 0);
    data.BGChanged = true;
    AnimChange(data, state, proc, fast);
    return;
  }
  // The face changes at once: back at normal, a later fade to hot starts from nothing lit.
  if (state == 0 && data.AnimTimer) data.AnimTimer->Glow = 0;
  data.BGChanged = true;
  data.Invalidate();
  if (!makeGlowing) return;
  if (data.OwnerControl() && acMouseInControl(data.OwnerControl())) {
    if (state < 100 && data.GlowID < 0) ShowGlowingIfNeeded(data, 255);
  } else if (data.GlowID >= 0) {
    HideGlow(data.GlowID, true);
  }
}

}  // namespace skin::core
