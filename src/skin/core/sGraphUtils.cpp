#include "skin/core/sGraphUtils.h"

#include <algorithm>

#include "framework/Colors.h"
#include "framework/WinControl.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/SystemBitmaps.h"
#include "platform/win/Window.h"
#include "skin/core/sConst.h"
#include "skin/draw/sAlphaGraph.h"
#include "skin/draw/sSkinText.h"
#include "skin/paint/sGraphUtils.h"

namespace skin::core {

namespace {

// An unskinned parent paints itself into info.DrawDC: its origin at -Offset, clipped to R.
template <class Send>
void PaintItself(TacBGInfo& info, Send send) {
  gfx::HDC dc = info.DrawDC;
  if (!dc) return;
  const int saved = gfx::SaveDC(dc);
  gfx::OffsetViewportOrgEx(dc, -info.Offset.X, -info.Offset.Y, nullptr);
  const gfx::TRect r = info.R.Offset(info.Offset.X, info.Offset.Y);
  gfx::IntersectClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
  send(win::WM_ERASEBKGND, win::WPARAM(dc));
  send(win::WM_PAINT, win::WPARAM(dc));
  gfx::RestoreDC(dc, saved);
}

void Reset(TacBGInfo& info, bool pleaseDraw) {
  info.BgType = TacBGType::btUnknown;
  info.PleaseDraw = pleaseDraw;
  info.FillRect = {};
}

}  // namespace

bool GetBGInfo(TacBGInfo& info, win::HWND wnd, bool pleaseDraw) {
  Reset(info, pleaseDraw);
  if (!wnd) return false;
  SendAMessage(wnd, AC_GETBG, LPARAM(&info));
  if (info.BgType != TacBGType::btUnknown) return true;
  if (pleaseDraw) {
    PaintItself(info, [wnd](UINT msg, WPARAM w) { win::SendMessageW(wnd, msg, w, 0); });
  } else {
    info.BgType = TacBGType::btFill;
    const TsSkinManager* def = DefaultManager;
    const data::TacSkinModel* model = def && def->Active() ? def->SkinModel() : nullptr;
    info.Color = model ? model->GetGlobalColor() : fw::TColor(fw::ColorToRGB(fw::clBtnFace));
  }
  return false;
}

bool GetBGInfo(TacBGInfo& info, fw::TControl* parent, bool pleaseDraw) {
  Reset(info, pleaseDraw);
  if (!parent || parent->HasState(fw::csDestroying)) return false;
  auto* w = dynamic_cast<fw::TWinControl*>(parent);
  if (w && w->HandleAllocated())
    SendAMessage(w->Handle(), AC_GETBG, LPARAM(&info));
  else
    parent->Perform(SM_ALPHACMD, AC_GETBG_HI, LPARAM(&info));
  if (info.BgType != TacBGType::btUnknown) return true;
  if (pleaseDraw) {
    PaintItself(info, [parent](UINT msg, WPARAM wp) { parent->Perform(msg, wp, 0); });
    return true;
  }
  info.BgType = TacBGType::btFill;
  const auto answer = fw::TColor(SendAMessage(parent, AC_GETCONTROLCOLOR));
  info.Color = answer != 0 ? answer : fw::TColor(acColorToRGB(parent->Color()));
  return true;
}

TCacheInfo BGInfoToCI(const TacBGInfo& info) {
  if (info.BgType == TacBGType::btCache)
    return draw::MakeCacheInfo(info.Bmp, info.Offset.X, info.Offset.Y);
  return {info.Bmp,      info.Offset.X, info.Offset.Y, fw::TColor(acColorToRGB(info.Color)),
          info.FillRect, false};
}

TacControlPaint ControlPaintOf(const TsCommonData& cd) {
  TacControlPaint p;
  p.SkinIndex = cd.SkinIndex;
  p.BorderIndex = cd.BorderIndex;
  if (cd.CustomColor() && cd.OwnerControl())
    p.CustomColor = fw::TColor(acColorToRGB(cd.OwnerControl()->Color(), cd.SkinManager()));
  p.ColorTone = cd.ColorTone();
  p.HueOffset = cd.HUEOffset();
  p.Saturation = cd.Saturation();
  return p;
}

int ControlState(const TsCommonData& cd) {
  return cd.FFocused || (cd.FMouseAbove && !sCanNotBeHot.Contains(cd.COC)) ? 1 : 0;
}

bool PaintSkinControl(TsCommonData& cd, fw::TControl* parent, bool filling, int state,
                      const gfx::TRect& r, gfx::TPoint pP, gfx::Bitmap* itemBmp, bool updateCorners,
                      int offsetX, int offsetY) {
  const TsSkinManager* m = cd.SkinManager();
  if (!itemBmp || !parent || !cd.Skinned() || !m) return false;
  TacBGInfo bg;
  if (!GetBGInfo(bg, parent, false) || bg.BgType == TacBGType::btNotReady) return false;
  // A picture (the whole cache, or the border bands of a filled parent) is read at the
  // control's place.
  if (bg.BgType == TacBGType::btCache || bg.Bmp) {
    const fw::TControl* c = cd.OwnerControl();
    bg.Offset.X += (c ? c->Left() : 0) + offsetX;
    bg.Offset.Y += (c ? c->Top() : 0) + offsetY;
  }
  draw::PaintItem(m->SkinModel(), ControlPaintOf(cd), BGInfoToCI(bg), filling, state, r, pP,
                  itemBmp, updateCorners);
  return true;
}

bool UpdateCache(TsCommonData& cd, int state) {
  fw::TControl* c = cd.OwnerControl();
  if (!c) return false;
  const gfx::Bitmap* old = cd.CacheBmp();
  const bool clean = !cd.BGChanged && old && !old->Empty() && old->Width() == c->Width() &&
                     old->Height() == c->Height();
  if (clean) return true;
  InitCacheBmp(cd);
  gfx::Bitmap& cache = *cd.CacheBmp();
  if (cache.Empty() ||
      !PaintSkinControl(cd, c->Parent(), true, state, cache.Bounds(), {}, &cache, true)) {
    cd.ClearCache();
    return false;
  }
  if (auto* w = dynamic_cast<fw::TWinControl*>(c)) cd.PaintOuterEffects(*w, {0, 0});
  cd.BGChanged = false;
  return true;
}

unsigned DisabledKindOf(const fw::TControl* control) {
  if (auto* owner = dynamic_cast<const IacDisabledKind*>(control)) return owner->DisabledKind();
  return paint::dkBlended;
}

void PaintDisabledKind(gfx::Bitmap& bmp, fw::TControl& control, unsigned kind) {
  fw::TWinControl* parent = control.Parent();
  if (!parent || bmp.Empty() || kind == 0) return;
  TacBGInfo bg;
  GetBGInfo(bg, parent, false);
  if (bg.BgType == TacBGType::btCache) {
    bg.Offset.X += control.Left();
    bg.Offset.Y += control.Top();
  }
  paint::BmpDisabledKind(bmp, kind, fw::ColorToRGB(parent->Color()), BGInfoToCI(bg), {0, 0});
}

void UpdateCorners(TsCommonData& cd, int state, draw::TsCorners corners) {
  const TsSkinManager* m = cd.SkinManager();
  const data::TacSkinModel* model = m ? m->SkinModel() : nullptr;
  fw::TControl* c = cd.OwnerControl();
  gfx::Bitmap* cache = cd.CacheBmp();
  if (!model || !model->IsValidImgIndex(cd.BorderIndex) || !c || !cache || cache->Empty()) return;
  const paint::TsMaskData& md = model->ma[std::size_t(cd.BorderIndex)];
  if (md.CornerType == 0) return;
  TacBGInfo bg;
  if (c->Parent())
    GetBGInfo(bg, c->Parent(), false);
  else
    GetBGInfo(bg, win::GetParent(cd.OwnerHandle()), false);
  if (bg.BgType == TacBGType::btCache) {
    bg.Offset.X += c->Left();
    bg.Offset.Y += c->Top();
  }
  draw::UpdateCorners(*cache, md, state, corners, bg);
}

void WriteTextEx(fw::TCanvas& canvas, std::u16string_view text, bool enabled, const gfx::TRect& r,
                 unsigned flags, TsCommonData& cd, int hot, bool canGlow) {
  if (text.empty()) return;
  TsSkinManager* m = cd.SkinManager();
  const data::TacSkinModel* model = cd.Skinned() ? m->SkinModel() : nullptr;
  const fw::TFontStyles style = canvas.Font.Style();
  const fw::TColor fontColor = canvas.Font.Color();
  const fw::TBrushStyle brush = canvas.BrushStyle;
  if (model && hot && cd.SkinIndex == m->ConstData().Sections[data::ssWebBtn])
    canvas.Font.SetStyle(style | fw::fsUnderline);
  canvas.BrushStyle = fw::TBrushStyle::bsClear;
  int fontSection = model && !cd.CustomFont() ? cd.SkinIndex : -1;
  fw::TControl* c = cd.OwnerControl();
  if (fontSection >= 0 && c && c->Parent()) {
    const auto& sections = m->ConstData().Sections;
    const bool buttonLike =
        std::find(sections.begin() + data::ssMenuItem, sections.begin() + data::ssButton + 1,
                  fontSection) != sections.begin() + data::ssButton + 1;
    if (buttonLike) {
      TacPaintInfo pi{std::min(hot, 2), -1, c->BoundsRect(), m};
      if (SendAMessage(c->Parent(), AC_GETFONTINDEX, LPARAM(&pi)) != 0)
        fontSection = pi.FontIndex;
      else
        fontSection = -1;
      if (fontSection < 0) canvas.Font.SetColor(c->Parent()->Font().Color());
    }
  }
  if (fontSection >= 0) {
    draw::TacColorAdjust adjust{cd.ColorTone(), cd.HUEOffset(), cd.Saturation()};
    draw::WriteSectionText(canvas, text, enabled, r, flags, *model, fontSection, std::min(hot, 2),
                           adjust, canGlow, cd.CacheBmp(), cd.GlowMask);
  } else {
    gfx::TRect at = r;
    if (!enabled) {
      const fw::TColor own = canvas.Font.Color();
      gfx::TRect shifted = r.Offset(1, 1);
      canvas.Font.SetColor(fw::clBtnHighlight);
      draw::acWriteText(canvas, text, flags, shifted);
      canvas.Font.SetColor(fw::clBtnShadow);
      draw::acWriteText(canvas, text, flags, at);
      canvas.Font.SetColor(own);
    } else {
      draw::acWriteText(canvas, text, flags, at);
    }
  }
  canvas.Font.SetColor(fontColor);
  canvas.Font.SetStyle(style);
  canvas.BrushStyle = brush;
}

void ExcludeControls(gfx::HDC dc, fw::TWinControl& control, int offsetX, int offsetY) {
  const bool graphicToo = DefaultManager && !DefaultManager->Options().StdImgTransparency;
  for (int i = 0; i < control.ControlCount(); ++i) {
    fw::TControl* child = control.Controls(i);
    if (!child->Visible() || (!dynamic_cast<fw::TWinControl*>(child) && !graphicToo)) continue;
    const gfx::TRect b = child->BoundsRect().Offset(offsetX, offsetY);
    gfx::ExcludeClipRect(dc, b.Left, b.Top, b.Right, b.Bottom);
  }
}

int FCheckWidth = 0, FCheckHeight = 0;

void GetCheckSize() {
  const win::HBITMAP bmp = win::LoadBitmap(nullptr, win::OBM_CHECKBOXES);
  win::BITMAP info;
  if (win::GetObject(bmp, &info)) {
    FCheckWidth = info.bmWidth / 4;
    FCheckHeight = info.bmHeight / 3;
  }
  win::DeleteObject(bmp);
}

}  // namespace skin::core
