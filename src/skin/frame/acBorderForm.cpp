#include "skin/frame/acBorderForm.h"

#include <algorithm>
#include <cstdlib>

#include "framework/Form.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "platform/win/Window.h"
#include "skin/data/acSkinModel.h"
#include "skin/paint/sAlphaGraph.h"
#include "skin/paint/sGraphUtils.h"

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
          m.Result = FOwner.sp.ExHitTest(p) == win::HTNOWHERE ? win::HTTRANSPARENT : win::HTBORDER;
        }
        return;
      }
      case win::WM_NCLBUTTONDBLCLK:
        // On an edge the form stretches over the work area (or comes back).
        if (FOwner.sp.ExStretchByEdge(int(m.WParam))) {
          m.Result = 0;
          return;
        }
        break;
      case win::WM_NCLBUTTONDOWN:
        // On the caption of the maximised form the drag may restore it (below).
        if (const win::HWND h = FOwner.sp.ExOwnerWindow();
            int(m.WParam) == win::HTCAPTION && h && win::IsZoomed(h)) {
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
            FOwner.sp.ExMoveMaximized(p);
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
        if (const win::HWND h = FOwner.sp.ExOwnerWindow()) {
          m.Result = win::SendMessageW(h, m.Msg, m.WParam, m.LParam);
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

TacBorderForm::TacBorderForm(TacBorderOwner& owner) : sp(owner) {}

TacBorderForm::~TacBorderForm() = default;

core::TacGlowForm* TacBorderForm::AForm() const {
  return FWnd.get();
}

void TacBorderForm::CreateNewForm() {
  if (!FWnd) FWnd = std::make_unique<TacBorderWindow>(*this);
}

int TacBorderForm::OffsetX() const {
  return sp.ExFrame().WindowOffset().X;
}

int TacBorderForm::OffsetY() const {
  return sp.ExFrame().WindowOffset().Y;
}

void TacBorderForm::UpdateExBordersPos(bool redraw, int blend) {
  const win::HWND owner = sp.ExOwnerWindow();
  if (ExBorderShowing || !FWnd || !owner) return;
  ExBorderShowing = true;
  win::RECT wr{};
  win::GetWindowRect(owner, &wr);
  const TPoint at{wr.Left - OffsetX(), wr.Top - OffsetY()};
  if (sp.ExPaint() && sp.ExPicture()) {
    const gfx::Bitmap& cache = *sp.ExPicture();
    if (redraw || cache.Width() != FLastWidth || cache.Height() != FLastHeight) {
      FWnd->ShowPicture(cache, at, blend, owner);
      FLastWidth = cache.Width();
      FLastHeight = cache.Height();
      UpdateRgn();
    } else {
      win::SetWindowPos(FWnd->Handle(), nullptr, at.X, at.Y, 0, 0,
                        win::SWP_NOSIZE | win::SWP_NOZORDER | win::SWP_NOACTIVATE);
    }
    // Right behind the owner.
    win::SetWindowPos(FWnd->Handle(), owner, 0, 0, 0, 0,
                      win::SWP_NOMOVE | win::SWP_NOSIZE | win::SWP_NOACTIVATE);
  }
  ExBorderShowing = false;
}

gfx::Region TacBorderForm::MakeRgn(int width, int height) const {
  return gfx::Region(TRect{0, 0, width, height}).Subtract(gfx::Region(sp.ExClientRect()));
}

void TacBorderForm::UpdateRgn() {
  if (!FWnd || !FWnd->HandleAllocated()) return;
  const gfx::Region rgn = MakeRgn(FLastWidth, FLastHeight);
  win::SetWindowRgn(FWnd->Handle(), &rgn, true);
}

int TacBorderForm::Ex_WMNCHitTest(TPoint screen) const {
  if (!sp.ExOwnerEnabled()) return -1;
  const int ht = sp.ExHitTest(screen);
  return ht == win::HTNOWHERE || ht == win::HTCLIENT ? -1 : ht;
}

TacKeepAlpha::TacKeepAlpha(gfx::Bitmap& picture, const TRect& area, bool active)
    : FPicture(picture), FArea(active ? gfx::IntersectRects(area, picture.Bounds()) : TRect{}) {
  if (FArea.IsEmpty()) return;
  FAlpha.reserve(std::size_t(FArea.Width()) * std::size_t(FArea.Height()));
  for (int y = FArea.Top; y < FArea.Bottom; ++y)
    for (int x = FArea.Left; x < FArea.Right; ++x) FAlpha.push_back(gfx::PixelA(picture.At(x, y)));
}

TacKeepAlpha::~TacKeepAlpha() {
  if (FArea.IsEmpty()) return;
  std::size_t i = 0;
  for (int y = FArea.Top; y < FArea.Bottom; ++y)
    for (int x = FArea.Left; x < FArea.Right; ++x)
      FPicture.Set(x, y, (FPicture.At(x, y) & 0x00FFFFFF) | (gfx::Pixel(FAlpha[i++]) << 24));
}

bool ExModeOne(const data::TacSkinModel& model) {
  return model.CommonSkinData.ExDrawMode == 1;
}

// With the skin's "EXBORDER" item the template's bands are the item's; in mode 1 the item holds
// the frame itself and its bands reach into the frame (at most the border and the title), else
// they fill the shadow margins. Without the item the template is the window shadow, cut in
// halves. Mode 1 without the item copies nothing.
void PaintExShadow(const data::TacSkinModel& model, bool active, const TacExFrame& frame,
                   gfx::Bitmap& picture) {
  const gfx::Bitmap& shadow = active ? model.ShdaTemplate : model.ShdiTemplate;
  if (shadow.Empty()) return;
  const TRect sh = frame.Shadow;
  const int ex = model.ConstData.ExBorder;
  const paint::TsMaskData* item = model.IsValidImgIndex(ex) ? &model.ma[std::size_t(ex)] : nullptr;
  TRect widths, maxWidths = sh, modes{1, 1, 1, 1};
  if (ExModeOne(model)) {
    if (!item) return;
    const int h = picture.Height(), c = frame.Caption, b = frame.Border;
    widths = {item->WL, std::min(int(item->WT), (h - c) / 2 + c), item->WR,
              std::min(int(item->WB), (h - c) / 2)};
    maxWidths = {b + sh.Left, sh.Top + c, b + sh.Right, b + sh.Bottom};
    const int mode = item->DrawMode & 1;
    modes = {mode, mode, mode, mode};
  } else if (item) {
    widths = {item->WL, item->WT, item->WR, item->WB};
    modes = {item->DrawMode, item->DrawMode, item->DrawMode, item->DrawMode};
  } else {
    const int bw = (shadow.Width() - 1) / 2, bh = (shadow.Height() - 1) / 2;
    widths = {bw, bh, bw, bh};
  }
  paint::PaintControlByTemplate(picture, shadow, picture.Bounds(), shadow.Bounds(), widths,
                                maxWidths, modes, false, false);
}

void ShowShadowInCorners(const data::TacSkinModel& model, std::initializer_list<int> sections,
                         const TRect& sh, gfx::Bitmap& cache, const gfx::Bitmap& shadow) {
  int wl = 0, wt = 0, wr = 0, wb = 0;
  for (const int section : sections) {
    if (!model.IsValidSkinIndex(section)) continue;
    const int border = model.gd[std::size_t(section)].BorderIndex;
    if (!model.IsValidImgIndex(border)) continue;
    const paint::TsMaskData& md = model.ma[std::size_t(border)];
    wl = std::max(wl, int(md.WL));
    wt = std::max(wt, int(md.WT));
    wr = std::max(wr, int(md.WR));
    wb = std::max(wb, int(md.WB));
  }
  const TRect f{sh.Left, sh.Top, cache.Width() - sh.Right, cache.Height() - sh.Bottom};
  const TRect corners[] = {{f.Left, f.Top, f.Left + wl, f.Top + wt},
                           {f.Right - wr, f.Top, f.Right, f.Top + wt},
                           {f.Left, f.Bottom - wb, f.Left + wl, f.Bottom},
                           {f.Right - wr, f.Bottom - wb, f.Right, f.Bottom}};
  for (const TRect& c : corners) {
    const TRect r = gfx::IntersectRects(c, cache.Bounds());
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x)
        if ((cache.At(x, y) & 0xFFFFFF) == paint::kTransKey) cache.Set(x, y, shadow.At(x, y));
  }
}

}  // namespace skin::frame
