#include "skin/controls/sGroupBox.h"

#include <algorithm>

#include "framework/ControlMessages.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/win/Messages.h"
#include "platform/win/MulDiv.h"
#include "platform/win/Paint.h"
#include "skin/core/sFade.h"
#include "skin/core/sGraphUtils.h"
#include "skin/core/sVclUtils.h"
#include "skin/draw/sAlphaGraph.h"
#include "skin/draw/sSkinText.h"
#include "skin/paint/sAlphaGraph.h"

namespace skin::controls {

namespace {

const skin::data::TacSkinModel* ModelOf(const sc::TsCommonData& cd) {
  const sc::TsSkinManager* m = cd.SkinManager();
  return m ? m->SkinModel() : nullptr;
}

// What the parent shows at r (the control's coordinates) into r of the cache.
void CopyParent(gfx::Bitmap& cache, const gfx::TRect& r, const sc::TacBGInfo& bg) {
  const gfx::TRect to = gfx::IntersectRects(r, cache.Bounds());
  if (to.IsEmpty()) return;
  if (bg.BgType == sc::TacBGType::btCache && bg.Bmp) {
    cache.CopyFrom(*bg.Bmp, to.Offset(bg.Offset.X, bg.Offset.Y), {to.Left, to.Top});
    return;
  }
  const gfx::COLORREF c = sc::acColorToRGB(bg.Color);
  gfx::DeviceContext dc(cache);
  gfx::FillRect(&dc, to, c);
}

}  // namespace

TsGroupBox::TsGroupBox(fw::TComponent* owner) : Skinned(owner) {
  FHook =
      HookWindowProc([this](fw::TMessage& m, const fw::TWndNext& next) { GroupBoxProc(m, next); });
}

TsGroupBox::~TsGroupBox() {
  Destroying();
  UnhookWindowProc(FHook);
}

void TsGroupBox::SetInteger(int index, int value) {
  int& field = index == 0 ? FCaptionYOffset : FImageIndex;
  if (field == value) return;
  field = value;
  if (index == 0) Realign();
  SkinData().Invalidate();
}

void TsGroupBox::SetBoolean(int index, bool value) {
  bool& field = index == 0 ? FCheckBoxVisible : FChecked;
  if (field == value) return;
  field = value;
  if (index == 0) {
    SkinData().Invalidate();
    return;
  }
  if (HasState(fw::csLoading)) return;
  if (!CheckPressed) SkinData().Invalidate();
  CheckBoxChanged();
}

void TsGroupBox::CheckBoxChanged() {
  if (OnCheckBoxChanged) OnCheckBoxChanged(this);
}

void TsGroupBox::SetImages(fw::TImageList* images) {
  if (FImages.Set(images)) SkinData().Invalidate();
}

void TsGroupBox::Notification(fw::TComponent* component, fw::TOperation operation) {
  if (FImages.Removed(component, operation) && !HasState(fw::csDestroying)) SkinData().Invalidate();
  Skinned::Notification(component, operation);
}

bool TsGroupBox::HasGlyph() const {
  return Images() && FImageIndex >= 0 && FImageIndex < Images()->Count();
}

void TsGroupBox::SetCaptionMargin(const TsMargin& value) {
  if (value == FCaptionMargin) return;
  FCaptionMargin = value;
  SkinData().Invalidate();
}

void TsGroupBox::SetCaptionSkin(const std::string& value) {
  const std::string upper = skin::data::UpperCase(value);
  if (upper == FCaptionSkin) return;
  FCaptionSkin = upper;
  SkinData().Invalidate();
}

void TsGroupBox::SetCaptionWidth(int value) {
  value = std::max(0, value);
  if (value == FCaptionWidth) return;
  FCaptionWidth = value;
  SkinData().Invalidate();
}

void TsGroupBox::SetCaptionLayout(TsGroupCaptionLayout value) {
  if (value == FCaptionLayout) return;
  FCaptionLayout = value;
  SkinData().Invalidate();
}

gfx::TSize TsGroupBox::CheckSize() const {
  const sc::TsCommonData& cd = SkinData();
  if (!cd.Skinned()) return {13, 13};
  const sc::TsSkinManager* m = cd.SkinManager();
  const int glyph = m->ConstData().CheckBox[FChecked ? 1 : 0];
  const skin::data::TacSkinModel* model = m->SkinModel();
  if (!model->IsValidImgIndex(glyph)) return {0, 0};
  const skin::paint::TsMaskData& md = model->ma[std::size_t(glyph)];
  return {md.Width, md.Height};
}

void TsGroupBox::InitPaintData() {
  gfx::Bitmap scratch(1, 1);
  gfx::DeviceContext dc(scratch);
  fw::TCanvas canvas;
  fw::TCanvasPaintScope scope(canvas, &dc, Font(), Color());
  const std::u16string text = Caption();
  FTextHeight = std::max(4, canvas.TextHeight(u"W")) + 2;
  CaptionHeight = FTextHeight + FCaptionYOffset + 2;
  int width = FCaptionWidth > 0 ? FCaptionWidth : (text.empty() ? 0 : canvas.TextWidth(text));
  const bool glyph = HasGlyph();
  const gfx::TSize glyphSize =
      glyph ? gfx::TSize{Images()->Width(), Images()->Height()} : gfx::TSize{0, 0};
  if (glyph) {
    width += glyphSize.cx + sc::acSpacing;
    CaptionHeight = std::max(CaptionHeight, glyphSize.cy);
  }
  gfx::TSize check{0, 0};
  if (FCheckBoxVisible) {
    check = CheckSize();
    width += check.cx + sc::acSpacing;
    CaptionHeight = std::max(CaptionHeight, check.cy);
  }
  CaptionRect.Top = FCaptionMargin.Top + std::min(0, FCaptionYOffset);
  CaptionRect.Bottom = CaptionRect.Top + CaptionHeight;
  int left;
  const bool rtl = UseRightToLeftAlignment();
  if (FCaptionLayout == TsGroupCaptionLayout::clTopCenter)
    left = (Width() - width) / 2;
  else if ((FCaptionLayout == TsGroupCaptionLayout::clTopLeft) != rtl)
    left = FCaptionMargin.Left + 6;
  else
    left = Width() - width - FCaptionMargin.Right - 6;
  CaptionRect.Left = std::max(0, left);
  CaptionRect.Right = std::min(CaptionRect.Left + width, Width() - 1);
  // A caption narrower than the bevel on both sides is widened by a bevel on each side, still
  // inside the box.
  if (CaptionRect.Width() < 2 * BevelWidth()) {
    CaptionRect.Left = std::max(0, CaptionRect.Left - BevelWidth());
    CaptionRect.Right =
        std::max(CaptionRect.Left, std::min(CaptionRect.Right + BevelWidth(), Width() - 1));
  }
  // Check box, spacing, picture, spacing, text; mirrored for right-to-left reading. The check
  // box and the picture are centred on the band.
  const int middle = CaptionRect.Top + CaptionHeight / 2;
  CheckBoxRect = {};
  GlyphRect = {};
  TextRect = {CaptionRect.Left, middle - FTextHeight / 2, CaptionRect.Right,
              middle - FTextHeight / 2 + FTextHeight};
  int edge = rtl ? CaptionRect.Right : CaptionRect.Left;
  auto place = [&](gfx::TSize size) {
    const int top = middle - size.cy / 2;
    const gfx::TRect r = rtl ? gfx::TRect{edge - size.cx, top, edge, top + size.cy}
                             : gfx::TRect{edge, top, edge + size.cx, top + size.cy};
    edge = rtl ? r.Left - sc::acSpacing : r.Right + sc::acSpacing;
    return r;
  };
  if (FCheckBoxVisible) CheckBoxRect = place(check);
  if (glyph) GlyphRect = place(glyphSize);
  if (FCheckBoxVisible || glyph) (rtl ? TextRect.Right : TextRect.Left) = edge;
  TopRect = {0, 0, Width(), std::max(0, CaptionHeight / 2 + FCaptionMargin.Top)};
}

int TsGroupBox::CaptionState() const {
  if (CheckPressed) return 2;
  return CheckHot || Focused() ? 1 : 0;
}

bool TsGroupBox::PrepareCache() {
  sc::TsCommonData& cd = SkinData();
  if (!cd.Skinned()) return false;
  InitPaintData();
  sc::InitCacheBmp(cd);
  gfx::Bitmap& cache = *cd.CacheBmp();
  if (cache.Empty()) return false;
  sc::TacBGInfo bg;
  if (!Parent() || !sc::GetBGInfo(bg, Parent(), false) || bg.BgType == sc::TacBGType::btNotReady) {
    cd.FUpdating = true;
    return false;
  }
  // The parent's picture (or its frame's bands) at the box's place.
  if (bg.BgType == sc::TacBGType::btCache || bg.Bmp) {
    bg.Offset.X += Left();
    bg.Offset.Y += Top();
  }
  CopyParent(cache, TopRect, bg);
  const gfx::TRect frame{0, TopRect.Bottom, Width(), Height()};
  if (!frame.IsEmpty())
    skin::draw::PaintItem(ModelOf(cd), sc::ControlPaintOf(cd), sc::BGInfoToCI(bg), true, 0, frame,
                          {0, 0}, &cache, true);
  PaintCaptionArea(bg, CaptionState());
  cd.PaintOuterEffects(*this, {0, 0});
  cd.BGChanged = false;
  return true;
}

void TsGroupBox::PaintCaptionArea(const sc::TacBGInfo& parentBG, int state) {
  sc::TsCommonData& cd = SkinData();
  const std::u16string text = Caption();
  if (text.empty() && !FCheckBoxVisible && !HasGlyph()) return;
  sc::TsSkinManager* m = cd.SkinManager();
  const skin::data::TacSkinModel* model = m->SkinModel();
  gfx::Bitmap& cache = *cd.CacheBmp();
  const int captionSkin = FCaptionSkin.empty() ? -1 : model->GetSkinIndex(FCaptionSkin);
  const int section =
      captionSkin >= 0 ? captionSkin : m->ConstData().Sections[skin::data::ssTransparent];
  const int hot = std::min(state, 1);
  const gfx::TRect area = gfx::IntersectRects(
      {CaptionRect.Left - FCaptionMargin.Left, CaptionRect.Top - FCaptionMargin.Top,
       CaptionRect.Right + FCaptionMargin.Right, CaptionRect.Bottom + FCaptionMargin.Bottom + 1},
      cache.Bounds());
  // Over the box's own picture with a caption section, else over the parent's.
  gfx::Bitmap own = cache;
  const skin::draw::TCacheInfo ci =
      captionSkin >= 0 ? skin::draw::MakeCacheInfo(&own, 0, 0) : sc::BGInfoToCI(parentBG);
  if (model->IsValidSkinIndex(section) && !area.IsEmpty())
    skin::draw::PaintItem(model, section, ci, true, hot, area, {0, 0}, &cache);
  // The text takes the caption section's colours, or those of the section behind it.
  TextIndex = model->IsValidSkinIndex(section) ? section : cd.SkinIndex;
  fw::TColor parentFont = fw::clNone;
  if (Parent() && sc::NeedParentFont(m, TextIndex, hot, this)) {
    sc::TacPaintInfo pi{hot, TextIndex, BoundsRect(), m};
    if (sc::SendAMessage(Parent(), sc::AC_GETFONTINDEX, win::LPARAM(&pi)) != 0 && pi.FontIndex >= 0)
      TextIndex = pi.FontIndex;
    else
      parentFont = Parent()->Font().Color();
  }
  if (FCheckBoxVisible && !CheckBoxRect.IsEmpty()) {
    const int glyph = m->ConstData().CheckBox[FChecked ? 1 : 0];
    if (model->IsValidImgIndex(glyph))
      skin::draw::DrawSkinGlyph(cache, {CheckBoxRect.Left, CheckBoxRect.Top}, state, 1,
                                model->ma[std::size_t(glyph)],
                                skin::draw::MakeCacheInfo(&cache, 0, 0));
  }
  if (HasGlyph() && !GlyphRect.IsEmpty()) {
    gfx::DeviceContext dc(cache);
    fw::TCanvas canvas;
    canvas.SetHandle(&dc);
    Images()->Draw(canvas, GlyphRect.Left, GlyphRect.Top, FImageIndex);
    canvas.SetHandle(nullptr);
  }
  if (!text.empty() && TextRect.Width() > 0) {
    gfx::DeviceContext dc(cache);
    fw::TCanvas canvas;
    fw::TCanvasPaintScope scope(canvas, &dc, Font(), Color());
    unsigned flags = gfx::DT_SINGLELINE | gfx::DT_VCENTER | gfx::DT_NOPREFIX;
    if (FCaptionWidth > 0 && FCaptionLayout != TsGroupCaptionLayout::clTopCenter)
      flags |= gfx::DT_END_ELLIPSIS;
    if (!FCheckBoxVisible && !HasGlyph()) flags |= gfx::DT_CENTER;
    flags = DrawTextBiDiModeFlags(flags);
    gfx::TRect r = TextRect;
    if (cd.CustomFont() || parentFont != fw::clNone) {
      canvas.Font.SetColor(cd.CustomFont() ? Font().Color() : parentFont);
      canvas.BrushStyle = fw::TBrushStyle::bsClear;
      canvas.TextRect(r, text, flags);
    } else {
      skin::draw::TacColorAdjust adjust{cd.ColorTone(), cd.HUEOffset(), cd.Saturation()};
      skin::draw::WriteSectionText(canvas, text, Enabled(), r, flags, *model, TextIndex, hot,
                                   adjust, false, &cache, cd.GlowMask);
    }
  }
  // A disabled box shows its caption faded toward the parent.
  if (!Enabled() && !area.IsEmpty()) {
    gfx::Bitmap under(cache.Width(), cache.Height());
    CopyParent(under, area, parentBG);
    const gfx::TRect last{area.Left, area.Top, area.Right - 1, area.Bottom - 1};
    skin::paint::BlendTransRectangle(cache, area.Left, area.Top, under, last, sc::DefBlendDisabled,
                                     0x00FF00FF);
  }
}

bool TsGroupBox::OverCheck(int x, int y) const {
  const gfx::TPoint p{x, y};
  return CheckBoxRect.Contains(p) || CaptionRect.Contains(p);
}

void TsGroupBox::CaptionChanged() {
  sc::TsCommonData& cd = SkinData();
  if (!cd.Skinned() || !HandleAllocated()) {
    Invalidate();
    return;
  }
  const int state = CaptionState();
  sc::DoChangePaint(cd, state, sc::UpdateWindow_CB, state != 2);
}

void TsGroupBox::AlignControls(gfx::TRect& rect) {
  rect.Top += FCaptionYOffset;
  Skinned::AlignControls(rect);
}

void TsGroupBox::SkinPaint(gfx::HDC dc) {
  sc::TsCommonData& cd = SkinData();
  if (sc::InUpdating(cd)) return;
  const gfx::Bitmap* cache = cd.CacheBmp();
  const bool stale = cd.BGChanged || !cache || cache->Empty() || cache->Width() != Width() ||
                     cache->Height() != Height();
  if (stale && !PrepareCache()) return;
  const gfx::TRect r{0, 0, Width(), Height()};
  sc::CopyWinControlCache(*this, cd, r, r, dc, false);
  sc::PaintControls(dc, *this, true, {});
  sc::SetParentUpdated(this);
}

void TsGroupBox::GroupBoxProc(fw::TMessage& m, const fw::TWndNext& next) {
  sc::TsCommonData& cd = SkinData();
  if (m.Msg == sc::SM_ALPHACMD) {
    switch (sc::WParamHi(m.WParam)) {
      case sc::AC_REMOVESKIN:
      case sc::AC_REFRESH: {
        const bool ours = FromOwnManager(m);
        next(m);
        if (ours) RedrawWhole();
        return;
      }
      case sc::AC_GETBG:
        if (!FCaptionSkin.empty() && m.LParam && cd.Skinned()) {
          auto& info = *reinterpret_cast<sc::TacBGInfo*>(m.LParam);
          if (cd.BGChanged) PrepareCache();
          info.BgType = sc::TacBGType::btCache;
          info.Bmp = cd.CacheBmp();
          info.Offset = {0, 0};
          return;
        }
        next(m);
        return;
      case sc::AC_PREPARECACHE:
        if (cd.Skinned() && !cd.FUpdating && !PrepareCache()) cd.FUpdating = true;
        return;
      case sc::AC_MOUSELEAVE:
        next(m);
        if (CheckHot) {
          CheckHot = false;
          CaptionChanged();
        }
        return;
      case sc::AC_SETSCALE:
        if (cd.ScalePercent > 0 && m.LParam != cd.ScalePercent)
          FCaptionWidth = win::MulDiv(FCaptionWidth, int(m.LParam), cd.ScalePercent);
        next(m);
        return;
      case sc::AC_GETOUTRGN:
        if (m.LParam) {
          InitPaintData();
          gfx::TRect r = BoundsRect();
          if (FCaptionYOffset >= 0) r.Top += FCaptionMargin.Top + CaptionHeight / 2;
          *reinterpret_cast<gfx::TRect*>(m.LParam) = r;
        }
        return;
      default:
        next(m);
        return;
    }
  }
  switch (m.Msg) {
    case win::WM_MOUSEMOVE:
      next(m);
      if (FCheckBoxVisible) {
        const bool over = OverCheck(win::GET_X_LPARAM(m.LParam), win::GET_Y_LPARAM(m.LParam));
        if (over != CheckHot) {
          CheckHot = over;
          CaptionChanged();
        }
      }
      return;
    case win::WM_MOUSELEAVE:
    case fw::CM_MOUSELEAVE:
      next(m);
      if (CheckHot) {
        CheckHot = false;
        CaptionChanged();
      }
      return;
    case win::WM_LBUTTONDOWN:
    case win::WM_LBUTTONDBLCLK:
      next(m);
      if (FCheckBoxVisible && OverCheck(win::GET_X_LPARAM(m.LParam), win::GET_Y_LPARAM(m.LParam))) {
        CheckPressed = true;
        CaptionChanged();
      }
      return;
    case win::WM_LBUTTONUP:
      next(m);
      if (FCheckBoxVisible && CheckPressed) {
        const bool over = OverCheck(win::GET_X_LPARAM(m.LParam), win::GET_Y_LPARAM(m.LParam));
        CheckPressed = false;
        CheckHot = over;
        if (over) SetChecked(!FChecked);
        CaptionChanged();
      }
      return;
    case win::WM_MOVE:
      if (cd.RepaintIfMoved()) cd.BGChanged = true;
      next(m);
      return;
    case win::WM_WINDOWPOSCHANGED:
    case fw::CM_VISIBLECHANGED:
      cd.BGChanged = true;
      next(m);
      return;
    case fw::CM_TEXTCHANGED:
    case fw::CM_ENABLEDCHANGED:
      next(m);
      cd.Invalidate();
      return;
    case fw::CM_INVALIDATE:
      if (m.WParam == 0) cd.BGChanged = true;
      next(m);
      return;
    default:
      next(m);
  }
}

}  // namespace skin::controls
