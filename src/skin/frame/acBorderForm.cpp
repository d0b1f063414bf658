#include "skin/frame/acBorderForm.h"

#include <cstdlib>

#include "framework/Form.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "platform/win/Window.h"
#include "skin/frame/sSkinProvider.h"

namespace skin::frame {

using gfx::TPoint;
using gfx::TRect;

// The layered window: it takes the mouse (it is not transparent like a glow) and hands the
// frame's messages to the form, whose provider answers them through the same hit test.
class TacBorderForm::TacBorderWindow : public core::TacGlowForm {
 public:
  explicit TacBorderWindow(TacBorderForm& owner) : FOwner(owner) { TransparentMouse = false; }
  std::string ClassName() const override { return "TacBorderForm"; }

 protected:
  void WndProc(fw::TMessage& m) override {
    switch (m.Msg) {
      case win::WM_NCHITTEST: {
        const TPoint p = win::PointFromLParam(m.LParam);
        const int ht = FOwner.Ex_WMNCHitTest(p);
        if (ht != -1) {
          m.Result = ht;
        } else {
          // The frame's own pixels hold the mouse; the shadow and the hole let it through.
          m.Result = FOwner.sp.HTProcess(p) == win::HTNOWHERE ? win::HTTRANSPARENT : win::HTBORDER;
        }
        return;
      }
      case win::WM_NCLBUTTONDBLCLK:
        // On an edge the form stretches over the work area (or comes back).
        if (FOwner.sp.StretchByEdge(int(m.WParam))) {
          m.Result = 0;
          return;
        }
        break;
      case win::WM_NCLBUTTONDOWN:
        // On the caption of the maximised form the drag may restore it (below).
        if (fw::TCustomForm* f = FOwner.sp.Form();
            int(m.WParam) == win::HTCAPTION && f->HandleAllocated() && win::IsZoomed(f->Handle())) {
          FOwner.MaxMoving = true;
          FOwner.LastMousePos = win::PointFromLParam(m.LParam);
        }
        break;
      case win::WM_NCMOUSEMOVE:
        if (FOwner.MaxMoving) {
          const TPoint p = win::PointFromLParam(m.LParam);
          if (std::abs(p.X - FOwner.LastMousePos.X) > 5 ||
              std::abs(p.Y - FOwner.LastMousePos.Y) >= 6) {
            FOwner.MaxMoving = false;
            FOwner.sp.MoveMaximized(p);
          }
          m.Result = 0;
          return;
        }
        break;
      case win::WM_NCLBUTTONUP:
        FOwner.MaxMoving = false;
        break;
      default:
        break;
    }
    // The frame's mouse goes to the form, whose provider answers it as its own frame's.
    switch (m.Msg) {
      case win::WM_NCMOUSEMOVE:
      case win::WM_NCLBUTTONDOWN:
      case win::WM_NCLBUTTONUP:
      case win::WM_NCLBUTTONDBLCLK:
      case win::WM_NCRBUTTONDOWN:
      case win::WM_NCRBUTTONUP:
      case win::WM_NCMOUSELEAVE:
        if (fw::TCustomForm* f = FOwner.sp.Form(); f->HandleAllocated()) {
          m.Result = win::SendMessageW(f->Handle(), m.Msg, m.WParam, m.LParam);
          return;
        }
        break;
      default:
        break;
    }
    core::TacGlowForm::WndProc(m);
  }

 private:
  TacBorderForm& FOwner;
};

TacBorderForm::TacBorderForm(TsSkinProvider& owner) : sp(owner) {}

TacBorderForm::~TacBorderForm() = default;

core::TacGlowForm* TacBorderForm::AForm() const {
  return FWnd.get();
}

void TacBorderForm::CreateNewForm() {
  if (!FWnd) FWnd = std::make_unique<TacBorderWindow>(*this);
}

int TacBorderForm::OffsetX() const {
  return sp.BorderWidth() + sp.ShadowSize().Left - sp.SysBorderWidth();
}

int TacBorderForm::OffsetY() const {
  return sp.ShadowSize().Top + sp.CaptionHeight() - sp.SysBorderWidth() - sp.SysCaptionHeight();
}

void TacBorderForm::UpdateExBordersPos(bool redraw, int blend) {
  fw::TCustomForm* f = sp.Form();
  if (ExBorderShowing || !FWnd || !f->HandleAllocated()) return;
  ExBorderShowing = true;
  win::RECT wr{};
  win::GetWindowRect(f->Handle(), &wr);
  const TPoint at{wr.Left - OffsetX(), wr.Top - OffsetY()};
  if (sp.PaintAll()) {
    const gfx::Bitmap& cache = *sp.Cache();
    if (redraw || cache.Width() != FLastWidth || cache.Height() != FLastHeight) {
      FWnd->ShowPicture(cache, at, blend, f->Handle());
      FLastWidth = cache.Width();
      FLastHeight = cache.Height();
      UpdateRgn();
    } else {
      win::SetWindowPos(FWnd->Handle(), nullptr, at.X, at.Y, 0, 0,
                        win::SWP_NOSIZE | win::SWP_NOZORDER | win::SWP_NOACTIVATE);
    }
    // Right behind the form.
    win::SetWindowPos(FWnd->Handle(), f->Handle(), 0, 0, 0, 0,
                      win::SWP_NOMOVE | win::SWP_NOSIZE | win::SWP_NOACTIVATE);
  }
  ExBorderShowing = false;
}

gfx::Region TacBorderForm::MakeRgn(int width, int height) const {
  const fw::TCustomForm* f = sp.Form();
  const TRect hole =
      gfx::RectOfSize(sp.OffsetX(), sp.OffsetY(), f->ClientWidth(), f->ClientHeight());
  return gfx::Region(TRect{0, 0, width, height}).Subtract(gfx::Region(hole));
}

void TacBorderForm::UpdateRgn() {
  if (!FWnd || !FWnd->HandleAllocated()) return;
  const gfx::Region rgn = MakeRgn(FLastWidth, FLastHeight);
  win::SetWindowRgn(FWnd->Handle(), &rgn, true);
}

int TacBorderForm::Ex_WMNCHitTest(TPoint screen) const {
  if (!sp.Form()->Enabled()) return -1;
  const int ht = sp.HTProcess(screen);
  return ht == win::HTNOWHERE || ht == win::HTCLIENT ? -1 : ht;
}

}  // namespace skin::frame
