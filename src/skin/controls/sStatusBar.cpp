#include "skin/controls/sStatusBar.h"

#include <algorithm>

#include "framework/ControlMessages.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/win/Messages.h"
#include "platform/win/MulDiv.h"
#include "platform/win/Paint.h"
#include "skin/core/sGraphUtils.h"
#include "skin/core/sVclUtils.h"
#include "skin/draw/sAlphaGraph.h"

namespace skin::controls {

namespace {

const skin::data::TacSkinModel* ModelOf(const sc::TsCommonData& cd) {
  const sc::TsSkinManager* m = cd.SkinManager();
  return m ? m->SkinModel() : nullptr;
}

}  // namespace

TsStatusBar::TsStatusBar(fw::TComponent* owner) : Skinned(owner) {
  ControlStyle |= fw::csAcceptsControls | fw::csOpaque;
  FHook =
      HookWindowProc([this](fw::TMessage& m, const fw::TWndNext& next) { StatusBarProc(m, next); });
}

TsStatusBar::~TsStatusBar() {
  Destroying();
  UnhookWindowProc(FHook);
}

void TsStatusBar::AfterConstruction() {
  Skinned::AfterConstruction();
  ControlStyle |= fw::csAcceptsControls | fw::csOpaque;
}

void TsStatusBar::ChangeScale(int m, int d) {
  if (m != d)
    for (int i = 0; i < PanelCount(); ++i) SetPanelWidth(i, win::MulDiv(Panel(i).Width, m, d));
  Skinned::ChangeScale(m, d);
}

int TsStatusBar::PanelOffset(int index) const {
  int x = 0;
  for (int i = 0; i < index && i < PanelCount(); ++i) x += Panel(i).Width;
  return x;
}

bool TsStatusBar::PrepareCache() {
  sc::TsCommonData& cd = SkinData();
  if (!cd.Skinned()) return false;
  fw::TWinControl* parent = Parent();
  if (parent) {
    const gfx::TRect client = parent->ClientRect();
    const auto inside = [&](int x, int y) {
      return x >= client.Left && y >= client.Top && x <= client.Right && y <= client.Bottom;
    };
    cd.HalfVisible = !inside(Left(), Top()) || !inside(Left() + Width(), Top() + Height());
  }
  const gfx::Bitmap* old = cd.CacheBmp();
  const bool parentHalf = parent && parent->HandleAllocated() &&
                          sc::SendAMessage(parent->Handle(), sc::AC_GETHALFVISIBLE) != 0;
  if (!cd.BGChanged && !cd.HalfVisible && !parentHalf && old && !old->Empty() &&
      old->Width() == Width() && old->Height() == Height())
    return true;
  sc::InitCacheBmp(cd);
  gfx::Bitmap& cache = *cd.CacheBmp();
  if (cache.Empty() || !sc::PaintSkinControl(cd, parent, true, 0, cache.Bounds(), {}, &cache, true))
    return false;
  PaintPanels();
  if (ShowsSizeGrip()) PaintGrip();
  cd.BGChanged = false;
  return true;
}

void TsStatusBar::PaintPanels() {
  if (ShowsSimpleText()) {
    const gfx::TRect cell{0, 1, UsableWidth() - 1, Height() - 1};
    InternalDrawPanel(-1, {cell.Left + 1, cell.Top + 1, cell.Right - 1, cell.Bottom - 1});
    return;
  }
  for (int i = 0; i < PanelCount(); ++i) {
    const gfx::TRect cell = CellRect(i);
    InternalDrawPanel(i, {cell.Left + 1, cell.Top + 1, cell.Right - 1, cell.Bottom - 1});
  }
}

void TsStatusBar::InternalDrawPanel(int index, const gfx::TRect& rect) {
  // A cell squeezed to nothing draws nothing.
  if (rect.Width() <= 0 || rect.Height() <= 0) return;
  const sc::TsCommonData& cd = SkinData();
  const skin::data::TacSkinModel* model = ModelOf(cd);
  gfx::Bitmap& cache = *cd.CacheBmp();
  const int mask = model->GetMaskIndex(cd.SkinIndex, "STATUSPANELMASK");
  if (model->IsValidImgIndex(mask)) {
    const gfx::TRect framed = index < 0 ? cache.Bounds() : rect;
    skin::draw::DrawSkinRect(cache, framed, skin::draw::MakeCacheInfo(&cache, 0, 0),
                             model->ma[std::size_t(mask)], 0, true);
  } else if (index >= 0 && index + 1 < PanelCount()) {
    PaintDivider(rect);
  }
  if (index >= 0 && Panel(index).Style == fw::TStatusPanelStyle::psOwnerDraw && OnDrawPanel) {
    gfx::DeviceContext dc(cache);
    fw::TCanvasPaintScope scope(Canvas(), &dc, Font(), Color());
    OnDrawPanel(this, index, rect);
    return;
  }
  const gfx::TRect text{rect.Left + 2, rect.Top, rect.Right - 4, rect.Bottom - 1};
  if (index < 0)
    DoDrawText(SimpleText(), text, fw::TAlignment::taLeftJustify);
  else
    DoDrawText(Panel(index).Text, text, Panel(index).Alignment);
}

void TsStatusBar::PaintDivider(const gfx::TRect& rect) {
  const sc::TsCommonData& cd = SkinData();
  const sc::TsSkinManager* m = cd.SkinManager();
  const skin::data::TacSkinModel* model = m->SkinModel();
  const int section = m->ConstData().Sections[skin::data::ssDivider];
  if (!model->IsValidSkinIndex(section)) return;
  const int mask = model->GetMaskIndex(section, "BORDERSMASK");
  int width = 2;
  if (model->IsValidImgIndex(mask)) {
    const skin::paint::TsMaskData& md = model->ma[std::size_t(mask)];
    width = std::max(2, md.WL + md.WR);
  }
  const int height = Height() - 2;
  if (height <= 0) return;
  gfx::Bitmap& cache = *cd.CacheBmp();
  const int x = rect.Right - width / 2 - 1, y = 1;
  gfx::Bitmap divider(width, height);
  skin::draw::PaintItem(model, section, skin::draw::MakeCacheInfo(&cache, x, y), true, 0,
                        divider.Bounds(), {0, 0}, &divider);
  const gfx::TRect to = gfx::IntersectRects({x, y, x + width, y + height}, cache.Bounds());
  if (!to.IsEmpty()) cache.CopyFrom(divider, to.Offset(-x, -y), {to.Left, to.Top});
}

void TsStatusBar::DoDrawText(const std::u16string& text, gfx::TRect rect,
                             fw::TAlignment alignment) {
  if (text.empty() || rect.Width() <= 0 || rect.Height() <= 0) return;
  sc::TsCommonData& cd = SkinData();
  gfx::DeviceContext dc(*cd.CacheBmp());
  fw::TCanvas canvas;
  fw::TCanvasPaintScope scope(canvas, &dc, Font(), Color());
  const unsigned flags =
      sc::GetStringFlags(this, alignment) | gfx::DT_END_ELLIPSIS | gfx::DT_SINGLELINE;
  sc::acWriteTextEx(canvas, text, Enabled(), rect, flags, cd, 0, true);
}

void TsStatusBar::PaintGrip() {
  const sc::TsCommonData& cd = SkinData();
  const sc::TsSkinManager* m = cd.SkinManager();
  const skin::data::TacSkinModel* model = m->SkinModel();
  const int grip = m->ConstData().GripRightBottom;
  if (!model->IsValidImgIndex(grip)) return;
  const skin::paint::TsMaskData& md = model->ma[std::size_t(grip)];
  gfx::Bitmap& cache = *cd.CacheBmp();
  skin::draw::DrawSkinGlyph(cache, {Width() - md.Width, Height() - md.Height}, 0, 1, md,
                            skin::draw::MakeCacheInfo(&cache, 0, 0));
}

void TsStatusBar::SkinPaint(gfx::HDC dc) {
  if (!PrepareCache()) return;
  const gfx::TRect r{0, 0, Width(), Height()};
  sc::CopyWinControlCache(*this, SkinData(), r, r, dc, false);
  sc::PaintControls(dc, *this, true, {});
}

void TsStatusBar::StatusBarProc(fw::TMessage& m, const fw::TWndNext& next) {
  sc::TsCommonData& cd = SkinData();
  if (m.Msg == sc::SM_ALPHACMD) {
    const bool ours = FromOwnManager(m);
    const win::UINT cmd = sc::WParamHi(m.WParam);
    next(m);
    if (ours && cmd == sc::AC_REMOVESKIN) Invalidate();
    if (ours && cmd == sc::AC_REFRESH) RedrawWhole();
    return;
  }
  switch (m.Msg) {
    case win::WM_MOVE: {
      // A bar that shows its parent through takes the new place's picture.
      const skin::data::TacSkinModel* model = ModelOf(cd);
      if (model && model->IsValidSkinIndex(cd.SkinIndex)) {
        const skin::data::TsGeneralData& gd = model->gd[std::size_t(cd.SkinIndex)];
        if (skin::draw::StateProps(gd, 0).Transparency > 0 ||
            skin::draw::StateProps(gd, 1).Transparency > 0)
          cd.BGChanged = true;
      }
      next(m);
      return;
    }
    case fw::CM_INVALIDATE:
      // Texts, panels and the simple mode change through here.
      if (m.WParam == 0) cd.BGChanged = true;
      next(m);
      return;
    default:
      next(m);
  }
}

}  // namespace skin::controls
