#include "skin/frame/acAnimation.h"

#include <algorithm>
#include <cmath>

#include "framework/Application.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/Window.h"
#include "skin/core/sVclUtils.h"
#include "skin/paint/sAlphaGraph.h"
#include "skin/paint/sGraphUtils.h"
#include "skin/paint/sStretch.h"

namespace skin::frame {

bool acAnimatingShow = false;

namespace {

int RoundInt(double v) {
  return int(std::nearbyint(v));
}

gfx::TRect WindowRect(win::HWND wnd) {
  win::RECT r{};
  win::GetWindowRect(wnd, &r);
  return {r.Left, r.Top, r.Right, r.Bottom};
}

bool Composition() {
  bool on = false;
  win::DwmIsCompositionEnabled(&on);
  return on;
}

bool IsTopmost(win::HWND wnd) {
  return win::GetWindowLongPtrW(wnd, win::GWL_EXSTYLE) & win::WS_EX_TOPMOST;
}

const core::TsSkinManager* ManagerOf(const core::TsCommonData& sd) {
  const core::TsSkinManager* m = sd.SkinManager();
  return m && m->SkinModel() ? m : nullptr;
}

}  // namespace

// ---- Pictures and covers ------------------------------------------------------------------------

std::vector<gfx::TRect> CoverCornerRects(win::HWND wnd, const core::TsCommonData& sd) {
  std::vector<gfx::TRect> rects;
  const core::TsSkinManager* m = ManagerOf(sd);
  if (!m || !win::IsWindow(wnd)) return rects;
  const data::TacSkinModel& model = *m->SkinModel();
  const gfx::TRect wr = WindowRect(wnd);
  const int w = wr.Width(), h = wr.Height();
  if (model.IsValidSkinIndex(sd.SkinIndex)) {
    const int mask = model.gd[std::size_t(sd.SkinIndex)].BorderIndex;
    if (model.IsValidImgIndex(mask))
      paint::AddRgn(rects, w, h, model.ma[std::size_t(mask)], &model.MasterBitmap);
  }
  const int title = model.GetSkinIndex("FORMTITLE");
  if ((win::GetWindowLongPtrW(wnd, win::GWL_STYLE) & win::WS_CAPTION) == win::WS_CAPTION &&
      model.IsValidSkinIndex(title)) {
    const int mask = model.gd[std::size_t(title)].BorderIndex;
    if (model.IsValidImgIndex(mask)) {
      // Only the title's top corners: its bottom ones lie inside the window.
      const paint::TsMaskData& md = model.ma[std::size_t(mask)];
      if (md.CornerType != 0) {
        const gfx::Bitmap& pic = model.ItemBitmap(md);
        const gfx::TRect window{0, 0, w, h};
        const int wl = std::clamp<int>(md.WL, 0, md.Width);
        const int wr2 = std::clamp<int>(md.WR, 0, md.Width);
        const int wt = std::clamp<int>(md.WT, 0, md.Height);
        paint::AddRgnBmp(rects, pic, gfx::RectOfSize(md.R.Left, md.R.Top, wl, wt), {0, 0},
                         paint::kTransKey, window);
        paint::AddRgnBmp(rects, pic, gfx::RectOfSize(md.R.Left + md.Width - wr2, md.R.Top, wr2, wt),
                         {w - wr2, 0}, paint::kTransKey, window);
      }
    }
  }
  return rects;
}

gfx::Bitmap WindowImage(win::HWND wnd) {
  if (!win::IsWindow(wnd)) return {};
  const gfx::TRect wr = WindowRect(wnd);
  gfx::Bitmap pic(std::max(0, wr.Width()), std::max(0, wr.Height()));
  if (pic.Empty()) return pic;
  gfx::DeviceContext dst(pic);
  if (gfx::HDC src = win::GetWindowDC(wnd)) {
    gfx::BitBlt(&dst, 0, 0, pic.Width(), pic.Height(), src, 0, 0, gfx::SRCCOPY);
    win::ReleaseDC(wnd, src);
  }
  paint::FillAlphaRect(pic, pic.Bounds(), 255, paint::clNone);
  return pic;
}

gfx::Bitmap WindowPicture(win::HWND wnd, const core::TsCommonData& sd) {
  gfx::Bitmap pic = WindowImage(wnd);
  if (!pic.Empty()) core::CleanPixelsByRects(CoverCornerRects(wnd, sd), pic);
  return pic;
}

std::unique_ptr<core::TacGlowForm> MakeCoverForm(win::HWND wnd, const core::TsCommonData& sd) {
  if (!win::IsWindow(wnd)) return nullptr;
  const gfx::Bitmap pic = WindowPicture(wnd, sd);
  const gfx::TRect wr = WindowRect(wnd);
  auto cover = std::make_unique<core::TacGlowForm>(true);
  cover->ShowPicture(pic, gfx::TPoint{wr.Left, wr.Top}, 255, wnd);
  return cover;
}

bool DropLayeredStyle(win::HWND wnd) {
  for (int attempt = 0; attempt < acLayeredRetries; ++attempt) {
    if (!win::IsWindow(wnd)) return false;
    const auto ex = win::GetWindowLongPtrW(wnd, win::GWL_EXSTYLE);
    if (!(ex & win::WS_EX_LAYERED)) return true;
    win::SetWindowLongPtrW(wnd, win::GWL_EXSTYLE, ex & ~win::LONG_PTR(win::WS_EX_LAYERED));
  }
  return win::IsWindow(wnd) &&
         !(win::GetWindowLongPtrW(wnd, win::GWL_EXSTYLE) & win::WS_EX_LAYERED);
}

void MakeLayered(win::HWND wnd, int alpha) {
  const auto ex = win::GetWindowLongPtrW(wnd, win::GWL_EXSTYLE);
  if (!(ex & win::WS_EX_LAYERED))
    win::SetWindowLongPtrW(wnd, win::GWL_EXSTYLE, ex | win::WS_EX_LAYERED);
  win::SetLayeredWindowAttributes(wnd, 0, win::BYTE(std::clamp(alpha, 0, 255)), win::LWA_ALPHA);
}

void SetFinalOpacity(win::HWND wnd, bool alphaBlend, int alphaBlendValue) {
  if (alphaBlend)
    MakeLayered(wnd, alphaBlendValue);
  else
    DropLayeredStyle(wnd);
}

// ---- Frame geometry
// -------------------------------------------------------------------------------

TacFrameRun::TacFrameRun(bool showing, TacAnimType type, int width, int height, int frames, int top)
    : FShowing(showing), FType(type), FWidth(width), FHeight(height), FTop(top) {
  frames = std::max(frames, 1);
  const double w = width, h = height;
  r = w;
  b = h;
  if (showing) {
    Trans = 0;
    p = double(top) / frames;
    if (type == core::atAero) {
      l = w / 32;
      t = h / 32;
      r = w - w / 32;
      b = h - h / 32;
      dx = w / 32 / frames;
      dy = h / 32 / frames;
    } else if (type == core::atDropDown) {
      b = 0;
      dy = h / 2;
    }
  } else {
    Trans = top;
    p = double(top) / frames;
    if (type == core::atAero) {
      dx = w / (32.0 * frames);
      dy = h / (32.0 * frames);
    }
  }
}

bool TacFrameRun::Next() {
  if (FShowing) {
    Trans = std::min<double>(FTop, RoundInt(Trans + p));
    if (FType == core::atAero) {
      // The frame drawn last widens for this one.
      if (FDrawn) {
        l -= dx;
        t -= dy;
        r += dx;
        b += dy;
      }
      FDrawn = true;
    } else if (FType == core::atDropDown) {
      if (dy < 2) return false;
      b = FHeight - dy;
      dy /= 2;
    }
    return true;
  }
  Trans = std::max(0, RoundInt(Trans - p));
  if (FType == core::atAero) {
    l += dx;
    t += dy;
    r -= dx;
    b -= dy;
  } else if (FType == core::atDropDown) {
    b /= 2;
    if (b < 2) return false;
  }
  return true;
}

int TacFrameRun::Opacity() const {
  return FShowing && FType == core::atDropDown ? 255 : RoundInt(Trans);
}

gfx::TRect TacFrameRun::Rect() const {
  return {RoundInt(l), RoundInt(t), RoundInt(r), RoundInt(b)};
}

void TacFrameRun::Draw(const gfx::Bitmap& picture, gfx::Bitmap& frame) const {
  if (frame.Width() != picture.Width() || frame.Height() != picture.Height())
    frame = gfx::Bitmap(picture.Width(), picture.Height());
  frame.Fill(0);
  const gfx::TRect rc = Rect();
  // Once the rectangle has left the picture it is shown whole.
  if (rc.Left < 0 || rc.Top < 0 || rc.Right > FWidth || rc.Bottom > FHeight) {
    frame.CopyFrom(picture, picture.Bounds(), {0, 0});
    return;
  }
  if (rc.IsEmpty()) return;
  paint::StretchCopy(frame, rc.Left, rc.Top, rc.Width(), rc.Height(), picture, 0, 0,
                     picture.Width(), picture.Height());
}

// ---- Showing
// ----------------------------------------------------------------------------------------

bool AnimShowForm(win::HWND wnd, core::TsCommonData& sd, const gfx::Bitmap& picture, int time,
                  int maxTransparency, TacAnimType type, bool alphaBlend, int alphaBlendValue,
                  const std::function<void()>& afterAnimation) {
  if (!win::IsWindow(wnd) || win::IsIconic(wnd) || !sd.Skinned() || picture.Empty()) return false;
  struct Flag {
    Flag() { acAnimatingShow = true; }
    ~Flag() { acAnimatingShow = false; }
  } flag;
  maxTransparency = std::clamp(maxTransparency, 0, 255);
  const int frames = AnimFrameCount(time);
  const gfx::TRect wr = WindowRect(wnd);
  auto cover = std::make_unique<core::TacGlowForm>(IsTopmost(wnd));
  gfx::Bitmap frame(picture.Width(), picture.Height());
  if (frames > 0) {
    TacFrameRun run(true, type, picture.Width(), picture.Height(), frames, maxTransparency);
    for (int i = 0; i <= frames; ++i) {
      const win::DWORD start = win::GetTickCount();
      if (!run.Next()) break;
      run.Draw(picture, frame);
      cover->ShowPicture(frame, gfx::TPoint{wr.Left, wr.Top}, run.Opacity(), wnd);
      // The rest of the period on the window system's clock (a slow frame waits less).
      const win::DWORD spent = win::GetTickCount() - start;
      if (spent < win::DWORD(acAnimPeriod)) win::Sleep(acAnimPeriod - spent);
    }
  }
  cover->ShowPicture(picture, gfx::TPoint{wr.Left, wr.Top}, maxTransparency, wnd);
  if (!win::IsWindow(wnd)) return true;
  // The real window comes up invisible right under the cover, then takes its opacity.
  MakeLayered(wnd, 0);
  win::ShowWindow(wnd, win::IsZoomed(wnd) ? win::SW_SHOWMAXIMIZED : win::SW_SHOWNORMAL);
  if (!win::IsWindow(wnd)) return true;
  win::SetWindowPos(wnd, cover->Handle(), 0, 0, 0, 0,
                    win::SWP_NOMOVE | win::SWP_NOSIZE | win::SWP_NOACTIVATE);
  SetFinalOpacity(wnd, alphaBlend, alphaBlendValue);
  win::RedrawWindow(wnd, nullptr, nullptr,
                    win::RDW_FRAME | win::RDW_INVALIDATE | win::RDW_ERASE | win::RDW_ALLCHILDREN |
                        win::RDW_UPDATENOW);
  cover.reset();
  if (afterAnimation) afterAnimation();
  return true;
}

// ---- Hiding
// ------------------------------------------------------------------------------------------

namespace {
TacHideTimer* gHideTimer = nullptr;
}

TacHideTimer* HideTimer() {
  return gHideTimer;
}

TacHideTimer::TacHideTimer(fw::TComponent* owner) : core::TacThreadedTimer(owner, nullptr) {
  SetEnabled(false);
  SetInterval(acAnimPeriod);
  gHideTimer = this;
}

TacHideTimer::~TacHideTimer() {
  Finish();
  if (gHideTimer == this) gHideTimer = nullptr;
}

void TacHideTimer::Finish() {
  SetEnabled(false);
  Form.reset();
  SrcBmp.reset();
  DstBmp.reset();
  Run.reset();
  if (!EventCalled) {
    EventCalled = true;
    auto event = std::move(OnAfterAnimation);
    OnAfterAnimation = nullptr;
    if (event) event();
  }
}

void TacHideTimer::TimeHandler() {
  if (Destroyed || InHandler || !Form || !Run || !SrcBmp) return;
  InHandler = true;
  ++Iteration;
  const bool more = Iteration <= StepCount && Run->Next();
  if (more && Form->HandleAllocated()) {
    if (!DstBmp) DstBmp = std::make_unique<gfx::Bitmap>();
    Run->Draw(*SrcBmp, *DstBmp);
    Form->ShowPicture(*DstBmp, FBmpTopLeft, Run->Opacity(), nullptr);
  }
  InHandler = false;
  if (!more || Iteration >= StepCount) Finish();
}

void HideAnimForm(std::unique_ptr<core::TacGlowForm> cover, std::unique_ptr<gfx::Bitmap> srcBmp,
                  int aTime, int startBlendValue, TacAnimType animType, win::HWND parentWnd,
                  std::function<void()> afterAnimation) {
  const int frames = AnimFrameCount(aTime);
  // The timer belongs to the application: without one there is nothing to run it.
  if (frames < 1 || !cover || !srcBmp || srcBmp->Empty() || !fw::Application) return;
  TacHideTimer* timer = gHideTimer;
  if (!timer) timer = new TacHideTimer(fw::Application);
  // A previous run gives way.
  timer->Finish();
  win::RECT wr{};
  win::GetWindowRect(cover->Handle(), &wr);
  timer->ParentWnd = parentWnd;
  timer->FBmpTopLeft = {wr.Left, wr.Top};
  timer->FBmpSize = {srcBmp->Width(), srcBmp->Height()};
  timer->StartBlendValue = std::clamp(startBlendValue, 0, 255);
  timer->StepCount = frames;
  timer->AnimType = animType;
  timer->Iteration = 0;
  timer->Run = std::make_unique<TacFrameRun>(false, animType, srcBmp->Width(), srcBmp->Height(),
                                             frames, timer->StartBlendValue);
  timer->SrcBmp = std::move(srcBmp);
  timer->Form = std::move(cover);
  timer->OnAfterAnimation = std::move(afterAnimation);
  timer->EventCalled = false;
  timer->Form->ShowPicture(*timer->SrcBmp, timer->FBmpTopLeft, timer->StartBlendValue,
                           win::IsWindow(parentWnd) ? parentWnd : nullptr);
  if (fw::Application && fw::Application->Terminated()) {
    // No message loop any more: the frames run here.
    while (timer->Form) {
      timer->TimeHandler();
      if (timer->Form) win::Sleep(acAnimPeriod);
    }
    return;
  }
  timer->TimeHandler();
  if (timer->Form) timer->SetEnabled(true);
}

void AnimHideForm(win::HWND wnd, core::TsCommonData& sd, bool alphaBlend, int alphaBlendValue,
                  std::function<void()> afterAnimation) {
  const core::TsSkinManager* m = ManagerOf(sd);
  AnimHideWindow(wnd, sd, m ? m->AnimEffects().FormHide : core::TacFormAnimation{}, alphaBlend,
                 alphaBlendValue, std::move(afterAnimation));
}

void AnimHideWindow(win::HWND wnd, core::TsCommonData& sd, const core::TacFormAnimation& hide,
                    bool alphaBlend, int alphaBlendValue, std::function<void()> afterAnimation) {
  core::ClearGlows();
  const core::TsSkinManager* m = ManagerOf(sd);
  if (!m || !win::IsWindow(wnd) ||
      (win::GetWindowLongPtrW(wnd, win::GWL_EXSTYLE) & win::WS_EX_MDICHILD)) {
    if (afterAnimation) afterAnimation();
    return;
  }
  auto picture = std::make_unique<gfx::Bitmap>(WindowPicture(wnd, sd));
  auto cover = MakeCoverForm(wnd, sd);
  MakeLayered(wnd, 1);
  HideAnimForm(std::move(cover), std::move(picture), hide.Time, alphaBlend ? alphaBlendValue : 255,
               hide.Mode, wnd, std::move(afterAnimation));
  // The cover shows the form now; the form's own layering is its setting again.
  if (!fw::Application || !fw::Application->Terminated())
    SetFinalOpacity(wnd, alphaBlend, alphaBlendValue);
}

// ---- Minimising and restoring ------------------------------------------------------------------

gfx::TRect MinimizeTarget(const win::RECT* taskbar, gfx::TPoint from, unsigned& side) {
  side = 0;
  if (!taskbar) return {0, 0, 0, 0};
  const win::RECT& t = *taskbar;
  if (t.Top != 0)
    side = t.Left >= -4 && t.Left <= 0 ? acTBBottom : acTBRight;
  else if (t.Left != 0)
    side = acTBRight;
  else
    side = t.Right - t.Left > t.Bottom - t.Top ? acTBTop : acTBLeft;
  gfx::TPoint p;
  switch (side) {
    case acTBLeft:
      p = {t.Right, from.Y};
      break;
    case acTBTop:
      p = {from.X, t.Bottom};
      break;
    case acTBRight:
      p = {t.Left, from.Y};
      break;
    default:
      p = {from.X, t.Top};
      break;
  }
  return {p.X, p.Y, p.X, p.Y};
}

TacMinTimer::TacMinTimer(win::HWND form, core::TsCommonData* data, win::HWND borderForm)
    : core::TacThreadedTimer(nullptr, data), sd(data), FormHandle(form), BorderForm(borderForm) {
  SetEnabled(false);
}

TacMinTimer::~TacMinTimer() {
  Destroyed = true;
  SetEnabled(false);
}

void TacMinTimer::InitData() {
  SetEnabled(false);
  SetInterval(acAnimPeriod);
  core::TsSkinManager* m = sd ? sd->SkinManager() : nullptr;
  const int time = m ? m->AnimEffects().Minimizing.Time : 0;
  StepCount = std::max(1, AnimFrameCount(time));
  AlphaOrigin = AlphaBlend ? std::clamp(AlphaBlendValue, 0, 255) : 255;
  // Composition shows the fading cover over the window's own picture: a quarter is enough.
  if (Composition() && time > acAnimPeriod) AlphaOrigin >>= 2;
  AlphaTo = 0;
  const win::HWND from = BorderForm ? BorderForm : FormHandle;
  RectFrom = WindowRect(from);
  XFrom = RectFrom.Left + RectFrom.Width() / 2;
  YFrom = RectFrom.Top + RectFrom.Height() / 2;
  BlendStep = double(AlphaOrigin - AlphaTo) / std::max(1, StepCount - 1);
  CurrentAlpha = AlphaOrigin;
  CurLeft = RectFrom.Left;
  CurTop = RectFrom.Top;
  CurRight = RectFrom.Right;
  CurBottom = RectFrom.Bottom;
  UpdateDstRect();
  if (!AnimForm) AnimForm = std::make_unique<core::TacGlowForm>(IsTopmost(FormHandle));
}

void TacMinTimer::UpdateDstRect(const win::RECT* taskbar) {
  RectTo = MinimizeTarget(taskbar, {XFrom, YFrom}, TBPosition);
  XTo = RectTo.Left + RectTo.Width() / 2;
  YTo = RectTo.Top + RectTo.Height() / 2;
  DeltaX = double(XTo - XFrom) / StepCount;
  DeltaY = double(YTo - YFrom) / StepCount;
  DeltaW = double(RectFrom.Width() - RectTo.Width()) / (2.0 * StepCount);
  DeltaH = double(RectFrom.Height() - RectTo.Height()) / (2.0 * StepCount);
  if (Minimized) {
    CurLeft = CurRight = XTo;
    CurTop = CurBottom = YTo;
  }
}

void TacMinTimer::Step(int direction) {
  CurLeft += direction * (DeltaX + DeltaW);
  CurRight += direction * (DeltaX - DeltaW);
  CurTop += direction * (DeltaY + DeltaH);
  CurBottom += direction * (DeltaY - DeltaH);
  CurrentAlpha = direction > 0 ? std::max(0.0, CurrentAlpha - BlendStep)
                               : std::min(255.0, CurrentAlpha + BlendStep);
  if (!AnimForm || !SavedImage) return;
  if (!AlphaBmp || AlphaBmp->Width() != SavedImage->Width() ||
      AlphaBmp->Height() != SavedImage->Height())
    AlphaBmp = std::make_unique<gfx::Bitmap>(SavedImage->Width(), SavedImage->Height());
  AlphaBmp->Fill(0);
  const int w = std::max(0, RoundInt(CurRight - CurLeft));
  const int h = std::max(0, RoundInt(CurBottom - CurTop));
  const int fw = AlphaBmp->Width(), fh = AlphaBmp->Height();
  if (w > 0 && h > 0)
    paint::StretchCopy(*AlphaBmp, (fw - w) / 2, (fh - h) / 2, w, h, *SavedImage, 0, 0,
                       SavedImage->Width(), SavedImage->Height());
  const gfx::TPoint centre{RoundInt(CurLeft + w / 2.0), RoundInt(CurTop + h / 2.0)};
  AnimForm->ShowPicture(*AlphaBmp, {centre.X - fw / 2, centre.Y - fh / 2}, RoundInt(CurrentAlpha),
                        nullptr);
}

void TacMinTimer::Stop() {
  SetEnabled(false);
  State = -1;
}

void TacMinTimer::TimeHandler() {
  if (Destroyed || InHandler) return;
  // A form that went ends the run; its cover goes with it.
  if (!win::IsWindow(FormHandle)) {
    Stop();
    AnimForm.reset();
    return;
  }
  InHandler = true;
  Step(Restoring ? -1 : 1);
  InHandler = false;
  // The opacity reaches its end when its shown (rounded) value does: sums of the step need not
  // meet the end exactly.
  if (!Restoring && RoundInt(CurrentAlpha) <= AlphaTo)
    FinishMinimizing();
  else if (Restoring && RoundInt(CurrentAlpha) >= AlphaOrigin)
    FinishRestoring();
}

void TacMinTimer::FinishMinimizing() {
  Stop();
  if (OnMinimized) OnMinimized();
  DropLayeredStyle(FormHandle);
  if (AnimForm && AnimForm->HandleAllocated()) win::ShowWindow(AnimForm->Handle(), win::SW_HIDE);
  Minimized = true;
}

void TacMinTimer::FinishRestoring() {
  Stop();
  Restoring = false;
  Minimized = false;
  if (win::IsIconic(FormHandle))
    win::ShowWindow(FormHandle, WasZoomed ? win::SW_SHOWMAXIMIZED : win::SW_RESTORE);
  if (!win::IsWindow(FormHandle)) return;
  SetFinalOpacity(FormHandle, AlphaBlend, AlphaBlendValue);
  win::RedrawWindow(FormHandle, nullptr, nullptr,
                    win::RDW_FRAME | win::RDW_INVALIDATE | win::RDW_ERASE | win::RDW_ALLCHILDREN |
                        win::RDW_UPDATENOW);
  AnimForm.reset();
  win::SetForegroundWindow(FormHandle);
  if (OnRestored) OnRestored();
}

bool StartMinimizing(std::unique_ptr<TacMinTimer>& timer, win::HWND form, core::TsCommonData& sd,
                     win::HWND borderForm) {
  core::TsSkinManager* m = sd.SkinManager();
  if (!m || !m->SkinModel() || !m->AnimEffects().Minimizing.Active ||
      !m->Effects().AllowAnimation || !win::IsWindow(form))
    return false;
  if (!timer) timer = std::make_unique<TacMinTimer>(form, &sd, borderForm);
  TacMinTimer& t = *timer;
  t.Restoring = false;
  t.Minimized = false;
  t.WasZoomed = win::IsZoomed(form);
  const win::HWND source = borderForm ? borderForm : form;
  t.SavedImage = std::make_unique<gfx::Bitmap>(WindowPicture(source, sd));
  t.InitData();
  MakeLayered(form, 0);
  if (!Composition()) win::Sleep(48);
  t.TimeHandler();
  if (!t.Minimized && t.StepCount > 1) t.SetEnabled(true);
  return true;
}

bool StartRestoring(TacMinTimer* timer) {
  if (!timer || !timer->Minimized || !win::IsWindow(timer->FormHandle) || !timer->SavedImage)
    return false;
  timer->Restoring = true;
  if (core::TsSkinManager* m = timer->sd ? timer->sd->SkinManager() : nullptr)
    m->SetShowState(core::saRestore);
  MakeLayered(timer->FormHandle, 0);
  if (!timer->AnimForm)
    timer->AnimForm = std::make_unique<core::TacGlowForm>(IsTopmost(timer->FormHandle));
  timer->TimeHandler();
  if (timer->Restoring) timer->SetEnabled(true);
  return true;
}

}  // namespace skin::frame
