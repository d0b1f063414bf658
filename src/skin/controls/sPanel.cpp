#include "skin/controls/sPanel.h"

#include <cstdint>

#include "framework/ControlMessages.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/win/Messages.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Window.h"
#include "skin/core/sGraphUtils.h"
#include "skin/core/sVclUtils.h"
#include "skin/draw/sBorders.h"
#include "skin/paint/sGraphUtils.h"

namespace skin::controls {

namespace {

const skin::data::TsGeneralData* SectionOf(const sc::TsCommonData& cd) {
  const sc::TsSkinManager* m = cd.SkinManager();
  const skin::data::TacSkinModel* model = m ? m->SkinModel() : nullptr;
  return model && model->IsValidSkinIndex(cd.SkinIndex) ? &model->gd[std::size_t(cd.SkinIndex)]
                                                        : nullptr;
}

void SetClassBrush(fw::TWinControl& c, win::HBRUSH brush) {
  if (brush && c.HandleAllocated() && !c.HasState(fw::csDestroying))
    win::SetClassLongPtrW(c.Handle(), win::GCLP_HBRBACKGROUND, std::uintptr_t(brush));
}

}  // namespace

TsCustomPanel::TsCustomPanel(fw::TComponent* owner) : Skinned(owner), FOldBevel(BevelOuter()) {
  ClearOpaque();
  FHook = HookWindowProc([this](fw::TMessage& m, const fw::TWndNext& next) { PanelProc(m, next); });
}

TsCustomPanel::~TsCustomPanel() {
  Destroying();
  UnhookWindowProc(FHook);
}

void TsCustomPanel::AfterConstruction() {
  Skinned::AfterConstruction();
  ClearOpaque();
}

void TsCustomPanel::Loaded() {
  Skinned::Loaded();
  ClearOpaque();
  FOldBevel = BevelOuter();
  SetClassBrush(*this, win::GetSysColorBrush(win::COLOR_BTNFACE));
}

gfx::TRect TsCustomPanel::TextRoom() const {
  const int f = FrameWidth();
  const gfx::TRect c = ClientRect();
  return {c.Left + f, c.Top + f, c.Right - f, c.Bottom - f};
}

void TsCustomPanel::WriteText(fw::TCanvas& canvas, const gfx::TRect& r) {
  const std::u16string text = Caption();
  if (!ShowCaption() || text.empty() || r.IsEmpty()) return;
  unsigned flags = sc::GetStringFlags(this, Alignment());
  gfx::TRect at = r;
  if (VerticalAlignment() == fw::TVerticalAlignment::taVerticalCenter) {
    // Wrapped and centred as a block; r already lies inside the border.
    flags = (flags & ~gfx::DT_VCENTER) | gfx::DT_WORDBREAK;
    gfx::TRect measured = r;
    canvas.TextRect(measured, text, flags | gfx::DT_CALCRECT);
    at.Top = r.Top + (r.Height() - measured.Height()) / 2;
    at.Bottom = at.Top + measured.Height();
  } else {
    flags = (flags & ~gfx::DT_VCENTER) | gfx::DT_SINGLELINE;
    if (VerticalAlignment() == fw::TVerticalAlignment::taAlignBottom) flags |= gfx::DT_BOTTOM;
  }
  sc::acWriteTextEx(canvas, text, Enabled(), at, flags, SkinData(), 0, true);
}

bool TsCustomPanel::PrepareCache() {
  sc::TsCommonData& cd = SkinData();
  // Without a section there is nothing to wait for: only a parent not ready puts it off.
  if (!cd.Skinned()) return false;
  sc::InitCacheBmp(cd);
  gfx::Bitmap& cache = *cd.CacheBmp();
  if (cache.Empty()) return false;
  // The control's tone, hue and saturation come with the section's painting.
  if (!sc::PaintSkinControl(cd, Parent(), true, sc::ControlState(cd), cache.Bounds(), {}, &cache,
                            true)) {
    cd.ClearCache();
    cd.FUpdating = true;
    return false;
  }
  cd.PaintOuterEffects(*this, {0, 0});
  gfx::DeviceContext dc(cache);
  fw::TCanvas canvas;
  fw::TCanvasPaintScope scope(canvas, &dc, Font(), Color());
  WriteText(canvas, TextRoom());
  if (OnPaint) OnPaint(this, canvas);
  cd.BGChanged = false;
  return true;
}

void TsCustomPanel::CopyCache(gfx::HDC dc) {
  const gfx::TRect r{0, 0, Width(), Height()};
  sc::CopyWinControlCache(*this, SkinData(), r, r, dc, false);
}

void TsCustomPanel::OurPaint(gfx::HDC dc, bool sendUpdated) {
  sc::TsCommonData& cd = SkinData();
  // The window is what shows: a form's provider paints it while the framework still takes the
  // form for hidden (its show animation), and printing paints it wherever it is.
  const bool printing = (cd.CtrlSkinState & sc::ACS_PRINTING) != 0;
  const bool shown = HandleAllocated() && win::IsWindowVisible(Handle());
  if (!dc || !Visible() || (!shown && !printing) || !cd.Skinned()) return;
  if (!cd.CustomColor() || OnPaint) {
    gfx::TRect box;
    if (gfx::GetClipBox(dc, &box) == 0 || box.IsEmpty()) return;
    if (!sc::InUpdating(cd)) {
      const gfx::Bitmap* cache = cd.CacheBmp();
      const bool rebuild = cd.HalfVisible || cd.BGChanged || !cache || cache->Empty() ||
                           cache->Width() != Width() || cache->Height() != Height();
      if (cd.RepaintIfMoved()) cd.HalfVisible = box.Width() < Width() || box.Height() < Height();
      if (rebuild && !PrepareCache() && cd.BGChanged) return;
      CopyCache(dc);
      sc::PaintControls(dc, *this, true, {});
    }
  } else {
    PaintCustomColor(dc);
  }
  if (sendUpdated) sc::SetParentUpdated(this);
}

void TsCustomPanel::PaintCustomColor(gfx::HDC dc) {
  sc::TsCommonData& cd = SkinData();
  const skin::data::TsGeneralData* sec = SectionOf(cd);
  if (!sec) return;
  const int transparency = skin::draw::StateProps(*sec, 0).Transparency;
  const gfx::COLORREF own = sc::acColorToRGB(Color(), cd.SkinManager());
  gfx::COLORREF color = own;
  if (transparency > 0) {
    const gfx::COLORREF parent = Parent() ? sc::GetControlColor(Parent()) : own;
    color = transparency >= 100 ? parent
                                : skin::paint::BlendColors(parent, own, transparency * 255 / 100);
  }
  const gfx::TRect bounds{0, 0, Width(), Height()};
  gfx::FillRect(dc, bounds, color);
  const skin::data::TacSkinModel* model = cd.SkinManager()->SkinModel();
  if (model->IsValidImgIndex(cd.BorderIndex)) {
    // The border is painted into the cache over the parent and its bands copied.
    sc::InitCacheBmp(cd);
    gfx::Bitmap& cache = *cd.CacheBmp();
    if (!cache.Empty()) {
      sc::TacBGInfo bg;
      sc::GetBGInfo(bg, Parent(), false);
      if (bg.BgType == sc::TacBGType::btCache || bg.Bmp) {
        bg.Offset.X += Left();
        bg.Offset.Y += Top();
      }
      cache.Fill(gfx::PixelFromColor(color, 255));
      skin::draw::PaintBorderFast(cache, bounds, 0, model, cd.BorderIndex, 0, fw::TColor(color),
                                  sc::BGInfoToCI(bg));
      const skin::paint::TsMaskData& md = model->ma[std::size_t(cd.BorderIndex)];
      gfx::DeviceContext from(cache);
      skin::paint::BitBltBorder(dc, 0, 0, Width(), Height(), &from, 0, 0, md.WL, md.WT, md.WR,
                                md.WB);
    }
  }
  fw::TCanvas canvas;
  fw::TCanvasPaintScope scope(canvas, dc, Font(), Color());
  WriteText(canvas, TextRoom());
  sc::PaintControls(dc, *this, true, {});
}

void TsCustomPanel::BGInfo(sc::TacBGInfo& info) {
  sc::TsCommonData& cd = SkinData();
  sc::InitBGInfo(cd, info, sc::ControlState(cd));
  if (info.BgType == sc::TacBGType::btFill || info.BgType == sc::TacBGType::btNotReady) return;
  const gfx::Bitmap* cache = cd.CacheBmp();
  const bool sizeDiffers = !cache || cache->Width() != Width() || cache->Height() != Height();
  if (cd.BGChanged && sizeDiffers && !cd.FUpdating) {
    fw::TWinControl* p = Parent();
    if (!p || !p->HandleAllocated() || sc::SendAMessage(p->Handle(), sc::AC_CTRLHANDLED) == 0) {
      info.BgType = sc::TacBGType::btNotReady;
      return;
    }
  }
  // Children lie in the client area; the picture starts at the window's corner.
  if (ClientWidth() < Width() && info.BgType == sc::TacBGType::btCache && !info.PleaseDraw) {
    info.Offset.X += FrameWidth();
    info.Offset.Y += FrameWidth();
  }
}

void TsCustomPanel::PanelProc(fw::TMessage& m, const fw::TWndNext& next) {
  sc::TsCommonData& cd = SkinData();
  if (m.Msg == sc::SM_ALPHACMD) {
    sc::TsSkinManager* manager = cd.SkinManager();
    const bool ours = FromOwnManager(m);
    switch (sc::WParamHi(m.WParam)) {
      case sc::AC_SETNEWSKIN:
        ClearOpaque();
        next(m);
        return;
      case sc::AC_REMOVESKIN:
        ClearOpaque();
        next(m);
        if (ours) Invalidate();
        return;
      case sc::AC_REFRESH:
        next(m);
        if (ours) {
          SetClassBrush(*this, manager->Brushes(skin::data::pcMainColor));
          if (!HasState(fw::csLoading) && Visible()) RedrawWhole();
        }
        return;
      case sc::AC_GETBG:
        if (m.LParam) BGInfo(*reinterpret_cast<sc::TacBGInfo*>(m.LParam));
        return;
      case sc::AC_PREPARECACHE:
        if (!cd.FUpdating && (cd.BGChanged || !cd.CacheBmp() || cd.CacheBmp()->Empty()))
          PrepareCache();
        return;
      default:
        next(m);
        return;
    }
  }
  switch (m.Msg) {
    case win::WM_SIZE:
      cd.FUpdating = true;
      next(m);
      cd.FUpdating = false;
      cd.BGChanged = true;
      return;
    case fw::CM_VISIBLECHANGED:
      next(m);
      cd.BGChanged = true;
      if (Visible() && cd.Skinned()) {
        cd.FUpdating = false;
        PrepareCache();
      }
      return;
    case fw::CM_COLORCHANGED:
      if (cd.CustomColor()) cd.BGChanged = true;
      next(m);
      return;
    case win::WM_WINDOWPOSCHANGING: {
      const auto* pos = reinterpret_cast<const win::WINDOWPOS*>(m.LParam);
      const skin::data::TsGeneralData* sec = SectionOf(cd);
      if (pos && !(pos->flags & win::SWP_NOMOVE) && sec &&
          skin::draw::StateProps(*sec, 0).Transparency > 0)
        cd.BGChanged = true;
      next(m);
      return;
    }
    case fw::CM_FONTCHANGED:
      next(m);
      if (!Caption().empty()) cd.Invalidate();
      return;
    case fw::CM_TEXTCHANGED:
    case fw::CM_ENABLEDCHANGED:
      next(m);
      cd.Invalidate();
      return;
    case fw::CM_INVALIDATE:
      // The framework's properties (caption, alignment, bevels, border) change the picture.
      if (m.WParam == 0) cd.BGChanged = true;
      // A new outer bevel names another default section.
      if (BevelOuter() != FOldBevel) {
        FOldBevel = BevelOuter();
        if (!cd.Loading) cd.UpdateIndexes(true);
      }
      next(m);
      return;
    default:
      next(m);
  }
}

}  // namespace skin::controls
