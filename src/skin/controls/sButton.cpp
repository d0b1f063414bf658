#include "skin/controls/sButton.h"

#include <algorithm>

#include "framework/Application.h"
#include "framework/Reader.h"
#include "framework/StdProperties.h"
#include "platform/win/ControlCodes.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "platform/win/Window.h"
#include "skin/core/acGlow.h"
#include "skin/core/sGraphUtils.h"
#include "skin/draw/sAlphaGraph.h"
#include "skin/paint/sAlphaGraph.h"
#include "skin/paint/sGraphUtils.h"

namespace skin::controls {

using fw::TAlignment;
using fw::TButtonLayout;
using gfx::TPoint;
using gfx::TRect;
using gfx::TSize;
namespace core = skin::core;
namespace draw = skin::draw;
namespace paint = skin::paint;

// ---- Layout ------------------------------------------------------------------------------------

TacButtonLayoutOut CalcButtonLayout(const TacButtonLayoutIn& in) {
  const int W = in.Client.cx, H = in.Client.cy;
  const int gw = in.Glyph.cx, gh = in.Glyph.cy, tw = in.Text.cx, th = in.Text.cy;
  const bool across =
      in.Layout == TButtonLayout::blGlyphLeft || in.Layout == TButtonLayout::blGlyphRight;
  const bool hasGlyph = gw > 0 && gh > 0, hasText = tw > 0 && th > 0;
  // Sizes along the layout's axis.
  const int room = across ? W : H, ga = across ? gw : gh, ta = across ? tw : th;
  int margin = in.Margin, spacing = in.Spacing;
  if (!hasGlyph || !hasText) spacing = 0;
  if (margin == -1 && spacing < 0) {
    margin = spacing = (room - ga - ta) / 3;
  } else if (margin == -1) {
    margin = in.VerticalAlignment == fw::TVerticalAlignment::taVerticalCenter &&
                     in.Alignment == TAlignment::taCenter
                 ? (room - (ga + spacing + ta) + 1) / 2
                 : 2;
  } else if (spacing < 0) {
    spacing = (room - margin - ga - ta) / 2;
  }
  const int M = margin, Sp = spacing;
  TRect glyph, text;
  if (across) {
    const int gTop = (H - gh + 1) / 2, tTop = (H - th + 1) / 2;
    int gx = 0, tx = 0, tRight = 0;
    const bool left = in.Layout == TButtonLayout::blGlyphLeft;
    switch (in.Alignment) {
      case TAlignment::taLeftJustify:
        if (left) {
          gx = M;
          tx = hasGlyph ? M + gw + Sp : M;
          tRight = hasGlyph ? W - M : 2 * M + tw;
        } else {
          tx = M;
          tRight = tx + tw;
          gx = M + tw + Sp;
        }
        break;
      case TAlignment::taRightJustify:
        if (left) {
          tx = W - M - tw;
          tRight = tx + tw;
          gx = tx - Sp - gw;
        } else {
          gx = W - M - gw;
          tx = 0;
          tRight = gx - Sp;
        }
        break;
      case TAlignment::taCenter:
        if (left) {
          gx = std::max((W - gw - Sp - tw) / 2, M);
          tx = gx + gw + Sp;
        } else {
          tx = (W - tw - Sp - gw) / 2;
          gx = tx + tw + Sp;
        }
        tRight = tx + tw;
        break;
    }
    glyph = gfx::RectOfSize(gx, gTop, gw, gh);
    text = {tx, tTop, tRight, tTop + th};
  } else {
    const int gLeft = (W - gw + 1) / 2, tLeft = (W - tw + 1) / 2;
    int gy, ty;
    if (in.Layout == TButtonLayout::blGlyphTop) {
      gy = (H - gh - Sp - th) / 2;
      ty = gy + gh + Sp;
    } else {
      gy = H - gh - (H - gh - Sp - th) / 2;
      ty = gy - Sp - th;
    }
    glyph = gfx::RectOfSize(gLeft, gy, gw, gh);
    text = gfx::RectOfSize(tLeft, ty, tw, th);
  }
  // The block of both to the top or the bottom.
  if (in.VerticalAlignment != fw::TVerticalAlignment::taVerticalCenter) {
    int top = INT32_MAX, bottom = INT32_MIN;
    for (const TRect* r : {&glyph, &text})
      if (!r->IsEmpty()) {
        top = std::min(top, r->Top);
        bottom = std::max(bottom, r->Bottom);
      }
    if (top != INT32_MAX) {
      const int m = std::max(0, in.Margin);
      const int dy =
          in.VerticalAlignment == fw::TVerticalAlignment::taAlignTop ? m - top : H - m - bottom;
      glyph = glyph.Offset(0, dy);
      text = text.Offset(0, dy);
    }
  }
  if (in.RightToLeft) {
    glyph = {W - glyph.Right, glyph.Top, W - glyph.Left, glyph.Bottom};
    text = {W - text.Right, text.Top, W - text.Left, text.Bottom};
  }
  if (!hasGlyph) glyph = {};
  if (!hasText) text = {};
  return {glyph, text};
}

int MaxCaptionWidth(int buttonWidth, int margin, int spacing, int glyphWidth, TButtonLayout layout,
                    bool showCaption, bool hasCaption) {
  if (!showCaption || !hasCaption) return 0;
  int w = buttonWidth - 2 * std::max(0, margin);
  if (glyphWidth > 0 &&
      (layout == TButtonLayout::blGlyphLeft || layout == TButtonLayout::blGlyphRight))
    w -= glyphWidth + spacing;
  return std::max(w, 0);
}

// ---- Glyphs ------------------------------------------------------------------------------------

int GlyphFrame(int state, int numGlyphs, bool enabled, bool stdGlyphsOrder) {
  const int n = std::max(numGlyphs, 1);
  if (!stdGlyphsOrder) return std::clamp(state, 0, n - 1);
  if (!enabled && state == 0) return std::min(1, n - 1);
  if (state == 2) return n >= 3 ? 2 : 0;
  return 0;
}

void acDrawGlyphEx(const TacDrawGlyphData& d) {
  if (!d.DstBmp || d.ImgRect.IsEmpty()) return;
  gfx::Bitmap src;
  if (d.Images && d.ImageIndex >= 0 && d.ImageIndex < d.Images->Count()) {
    if (auto* list = dynamic_cast<TacImageList*>(d.Images)) {
      if (!list->GetBitmap32(d.ImageIndex, src)) return;
    } else {
      src = d.Images->Bitmap(d.ImageIndex);
    }
  } else if (d.Glyph && !d.Glyph->Empty()) {
    const int n = std::max(d.NumGlyphs, 1), w = d.Glyph->Width() / n;
    if (w <= 0) return;
    const bool stdOrder = d.SkinManager && d.SkinManager->Options().StdGlyphsOrder;
    const int frame = GlyphFrame(d.CurrentState, n, d.Enabled, stdOrder);
    src = d.Glyph->Copy(gfx::RectOfSize(frame * w, 0, w, d.Glyph->Height()));
  }
  if (src.Empty()) return;
  // A discoloured glyph regains its colours when hot or pressed.
  if (d.Grayed && (d.CurrentState == 0 || !d.Enabled)) paint::GrayScale(src);
  int blend = d.CurrentState == 0 ? d.Blend : 0;
  if (!d.Enabled && (d.DisabledGlyphKind & dgBlended)) blend = std::max(blend, 50);
  const TRect r = gfx::RectOfSize(d.ImgRect.Left, d.ImgRect.Top, src.Width(), src.Height());
  paint::CopyBmp32(r, src.Bounds(), *d.DstBmp, src, draw::EmptyCI, false, d.BGColor, blend,
                   d.Reflected);
}

// ---- Shared button -----------------------------------------------------------------------------

template <class Base, TClassName Name, std::uint8_t Code>
TsButtonControl<Base, Name, Code>::TsButtonControl(fw::TComponent* owner) : Skinned(owner) {
  FHook = this->HookWindowProc(
      [this](fw::TMessage& m, const fw::TWndNext& next) { ButtonProc(m, next); });
}

template <class Base, TClassName Name, std::uint8_t Code>
TsButtonControl<Base, Name, Code>::~TsButtonControl() {
  this->UnhookWindowProc(FHook);
}

template <class Base, TClassName Name, std::uint8_t Code>
void TsButtonControl<Base, Name, Code>::SetDown(bool value) {
  if (FDown == value) return;
  FDown = value;
  core::StopTimer(this->SkinData());
  this->SkinData().Invalidate();
}

template <class Base, TClassName Name, std::uint8_t Code>
int TsButtonControl<Base, Name, Code>::CurrentState() const {
  if (FDown) return 2;
  const core::TsCommonData& cd = this->SkinData();
  const core::TsSkinManager* manager = cd.SkinManager();
  if (this->HandleAllocated()) {
    const win::HWND wnd = const_cast<TsButtonControl*>(this)->Handle();
    const bool pushed = (win::SendMessageW(wnd, win::BM_GETSTATE, 0, 0) & win::BST_PUSHED) != 0;
    if (pushed || fGlobalFlag) {
      // Held with the mouse, it looks pressed only while the pointer is over it.
      win::POINT p{};
      win::GetCursorPos(&p);
      win::RECT wr{};
      win::GetWindowRect(wnd, &wr);
      const bool over = TRect(wr).Contains({p.X, p.Y});
      const bool heldHere = win::GetCapture() == wnd;
      if (over || !heldHere || (manager && manager->Options().NoMouseHover)) return 2;
    }
  }
  // Over a split button's drop-down part (or with its menu open) only the part is hot.
  const bool partOnly = (this->HotPart() == fw::TSplitPart::spDropDown || this->DroppedDown()) &&
                        !this->Focused();
  if (core::ControlIsActive(cd) && !partOnly) return 1;
  if (this->Default()) {
    const win::HWND focus = win::GetFocus();
    if (!focus || !(win::GetWindowLongPtrW(focus, win::GWL_STYLE) & 8)) return 3;
  }
  return 0;
}

template <class Base, TClassName Name, std::uint8_t Code>
TacColoring TsButtonControl<Base, Name, Code>::GetColoring(int state) const {
  TacColoring c;
  const core::TsCommonData& cd = this->SkinData();
  core::TsSkinManager* manager = cd.SkinManager();
  const bool skinned = manager && cd.Skinned();
  if (cd.ColorTone() != fw::clNone) {
    c.ColorToneBG = std::uint32_t(cd.ColorTone());
  } else {
    const fw::TModalResult r = this->ModalResult();
    const bool positive = r == fw::mrOk || r == fw::mrYes;
    if (positive || r == fw::mrCancel || r == fw::mrNo) {
      const int i = state == 0 ? 0 : 1;
      // Colours as 0x00BBGGRR.
      static constexpr std::uint32_t kFG[2][2] = {{0x28851A, 0x008E00}, {0x0000B4, 0x0000A2}};
      static constexpr std::uint32_t kBG[2][2] = {{0xE1FFD2, 0xCDFFB4}, {0xD5D5FF, 0xBDBDFF}};
      const int k = positive ? 0 : 1;
      const core::TacSet set = manager ? manager->ButtonsOptions().ModalButtonsColoring : 0;
      if (!manager || (set & core::acBit(core::bcGlyph))) c.ColorGlyph = kFG[k][i];
      if (skinned && (set & core::acBit(core::bcText))) c.ColorText = kFG[k][i];
      if (skinned && (set & core::acBit(core::bcBackground))) c.ColorToneBG = kBG[k][i];
    }
  }
  if (this->OnGetColoring) this->OnGetColoring(const_cast<TsButtonControl*>(this), state, c);
  return c;
}

template <class Base, TClassName Name, std::uint8_t Code>
int TsButtonControl<Base, Name, Code>::SectionState(int state) const {
  const core::TsCommonData& cd = this->SkinData();
  const core::TsSkinManager* manager = cd.SkinManager();
  const sd::TacSkinModel* model = manager ? manager->SkinModel() : nullptr;
  if (!model || !model->IsValidSkinIndex(cd.SkinIndex)) return std::min(state, 2);
  const int states = model->gd[std::size_t(cd.SkinIndex)].States;
  if (state == 3 && states < 4) return 1;
  return std::clamp(state, 0, std::max(states - 1, 0));
}

template <class Base, TClassName Name, std::uint8_t Code>
bool TsButtonControl<Base, Name, Code>::ShiftsContent(int state) const {
  return state == 2 &&
         core::CanClickShift(this->SkinData().SkinIndex, this->SkinData().SkinManager());
}

template <class Base, TClassName Name, std::uint8_t Code>
unsigned TsButtonControl<Base, Name, Code>::CaptionFlags(int) const {
  return gfx::DT_CENTER | gfx::DT_EXPANDTABS | gfx::DT_END_ELLIPSIS |
         (this->WordWrap() ? gfx::DT_WORDBREAK : 0u) |
         (this->UseRightToLeftReading() ? gfx::DT_RTLREADING : 0u);
}

template <class Base, TClassName Name, std::uint8_t Code>
bool TsButtonControl<Base, Name, Code>::PrepareCache() {
  core::TsCommonData& cd = this->SkinData();
  core::TsSkinManager* manager = cd.SkinManager();
  fw::TWinControl* parent = this->Parent();
  if (!manager || !cd.Skinned() || !parent) return false;
  const sd::TacSkinModel* model = manager->SkinModel();
  // 1. What lies behind the button.
  draw::TacBGInfo bg;
  core::GetBGInfo(bg, parent, false);
  if (bg.BgType == draw::TacBGType::btNotReady) {
    cd.FUpdating = true;
    return false;
  }
  if (bg.BgType == draw::TacBGType::btCache) {
    bg.Offset.X += this->Left();
    bg.Offset.Y += this->Top();
  }
  const paint::TCacheInfo ci = core::BGInfoToCI(bg);
  // 2. The state the section shows.
  const int shown = CurrentState();
  const int S = SectionState(shown);
  // 3, 4. Background, and the border mask now unless it goes over the content.
  core::InitCacheBmp(cd);
  gfx::Bitmap* cache = cd.CacheBmp();
  if (!cache || cache->Empty()) return false;
  draw::TacControlPaint look = core::ControlPaintOf(cd);
  if (!FDrawOverBorder) look.BorderIndex = -1;
  draw::PaintItem(model, look, ci, true, S, cache->Bounds(), {0, 0}, cache, true);
  PaintSplitPart(*cache, ci, S);
  // 5. The face's tone.
  const TacColoring coloring = GetColoring(shown);
  if (coloring.ColorToneBG != TacColoring::None)
    paint::ChangeBitmapPixels(*cache, paint::ChangeColorTone, int(coloring.ColorToneBG & 0xFFFFFF),
                              paint::clFuchsia);
  // 6, 7. Layout and caption.
  {
    gfx::DeviceContext dc(*cache);
    fw::TCanvas canvas;
    canvas.SetHandle(&dc);
    ApplyCaptionFont(canvas);
    LayoutContent(canvas, S);
    DrawCaption(canvas, S, coloring);
    DrawExtraText(canvas, S, coloring);
  }
  PaintSplitArrow(*cache);
  // 8. The glyph; a discoloured one regains its colours when hot or pressed.
  fw::TColor tone = fw::clNone;
  if (coloring.ColorGlyph != TacColoring::None)
    tone = fw::TColor(coloring.ColorGlyph);
  else if (!manager->Effects().DiscoloredGlyphs() && !Grayed())
    tone = GetColorTone();
  else if (S != 0)
    tone = GetColorTone();
  DrawBtnGlyph(*cache, S, tone);
  // 9. The owner's drawing.
  if (this->OnPaint) this->OnPaint(this, *cache);
  // 10. The border over the content.
  if (!FDrawOverBorder && model->IsValidImgIndex(cd.BorderIndex))
    draw::DrawSkinRect(*cache, cache->Bounds(), ci, model->ma[std::size_t(cd.BorderIndex)], S,
                       true);
  // 11. The disabled look.
  if (!this->Enabled())
    paint::BmpDisabledKind(*cache, FDisabledKind, paint::TColor(bg.Color), ci, {0, 0});
  // 12.
  cd.BGChanged = false;
  ShiftControls(S == 2);
  return true;
}

template <class Base, TClassName Name, std::uint8_t Code>
void TsButtonControl<Base, Name, Code>::DrawCaption(fw::TCanvas& canvas, int state,
                                                    const TacColoring& coloring) {
  const std::u16string& text = this->Caption();
  if (!FShowCaption || text.empty() || FCaptionRect.IsEmpty()) return;
  core::TsCommonData& cd = this->SkinData();
  TRect r = FCaptionRect;
  if (ShiftsContent(state)) r = r.Offset(1, 1);
  WriteButtonText(canvas, text, r, CaptionFlags(state), state, coloring);
  core::TsSkinManager* manager = cd.SkinManager();
  if (!this->Enabled() || !manager || !manager->ButtonsOptions().ShowFocusRect ||
      !this->Focused() || !FShowFocus)
    return;
  const sd::TsGeneralData& gd = manager->SkinModel()->gd[std::size_t(cd.SkinIndex)];
  // Kept three pixels inside the face (a split button's main face): a caption as wide as the
  // button would leave only the frame's top and bottom lines, cut off at its sides.
  const TRect part = this->DropDownRect();
  const int right = part.IsEmpty() ? this->ClientWidth() : part.Left;
  const TRect f{std::max(r.Left - FFocusMargin - 1, 3), std::max(r.Top - FFocusMargin, 3),
                std::min(r.Right + FFocusMargin + 1, right - 3),
                std::min(r.Bottom + FFocusMargin, this->ClientHeight() - 3)};
  paint::FocusRect(canvas.Handle(), f, draw::StateProps(gd, std::min(2, gd.States)).FontColor.Color,
                   paint::clNone);
}

template <class Base, TClassName Name, std::uint8_t Code>
void TsButtonControl<Base, Name, Code>::WriteButtonText(fw::TCanvas& canvas,
                                                        std::u16string_view text, TRect r,
                                                        unsigned flags, int state,
                                                        const TacColoring& coloring) {
  if (coloring.ColorText != TacColoring::None) {
    canvas.Font.SetColor(fw::TColor(coloring.ColorText));
    canvas.BrushStyle = fw::TBrushStyle::bsClear;
    canvas.TextRect(r, text, flags);
  } else {
    core::WriteTextEx(canvas, text, this->Enabled(), r, flags, this->SkinData(), state, true);
  }
}

template <class Base, TClassName Name, std::uint8_t Code>
int TsButtonControl<Base, Name, Code>::DropDownState() const {
  if (this->DroppedDown()) return 2;
  if (this->HotPart() == fw::TSplitPart::spDropDown) return 1;
  return CurrentState() == 3 ? 3 : 0;
}

template <class Base, TClassName Name, std::uint8_t Code>
int TsButtonControl<Base, Name, Code>::DropDownWidth() const {
  const core::TsCommonData& cd = this->SkinData();
  if (!cd.Skinned()) return Base::DropDownWidth();
  return cd.ScalePercent * 16 / 100;
}

template <class Base, TClassName Name, std::uint8_t Code>
void TsButtonControl<Base, Name, Code>::SplitStateChanged() {
  core::StopTimer(this->SkinData());
  this->Invalidate();
}

template <class Base, TClassName Name, std::uint8_t Code>
void TsButtonControl<Base, Name, Code>::PaintSplitPart(gfx::Bitmap& cache,
                                                       const paint::TCacheInfo& ci, int S) {
  const TRect part = this->DropDownRect();
  if (part.IsEmpty()) return;
  core::TsCommonData& cd = this->SkinData();
  const sd::TacSkinModel* model = cd.SkinManager()->SkinModel();
  const int SA = SectionState(DropDownState());
  if (SA != S) {
    // The whole face in the part's state, of which the part is taken: the face stays one
    // piece, its border running on around the part.
    gfx::Bitmap face(cache.Width(), cache.Height());
    draw::TacControlPaint look = core::ControlPaintOf(cd);
    if (!FDrawOverBorder) look.BorderIndex = -1;
    draw::PaintItem(model, look, ci, true, SA, face.Bounds(), {0, 0}, &face, true);
    cache.CopyFrom(face, part, {part.Left, part.Top});
  }
  // The divider: the caption's colour half over the face, clear of the border.
  const sd::TsGeneralData& gd = model->gd[std::size_t(cd.SkinIndex)];
  const int w = std::max(1, cd.ScalePercent / 100), inset = std::max(3, cache.Height() / 5);
  paint::BlendRect32(cache, {part.Left, inset, part.Left + w, cache.Height() - inset},
                     draw::StateProps(gd, S).FontColor.Color, 50, 255);
}

template <class Base, TClassName Name, std::uint8_t Code>
void TsButtonControl<Base, Name, Code>::PaintSplitArrow(gfx::Bitmap& cache) {
  TRect part = this->DropDownRect();
  if (part.IsEmpty()) return;
  core::TsCommonData& cd = this->SkinData();
  const core::TsSkinManager& m = *cd.SkinManager();
  const sd::TsGeneralData& gd = m.SkinModel()->gd[std::size_t(cd.SkinIndex)];
  const int SA = SectionState(DropDownState());
  if (ShiftsContent(SA)) part = part.Offset(1, 1);
  part.Left += std::max(1, cd.ScalePercent / 100);  // right of the divider
  paint::DrawArrow(cache, draw::StateProps(gd, SA).FontColor.Color, paint::clNone, part,
                   paint::asBottom, 0, 0, 0, m.Options().ActualArrowStyle());
}

template <class Base, TClassName Name, std::uint8_t Code>
void TsButtonControl<Base, Name, Code>::ShiftControls(bool shift) {
  if (shift == FControlsShifted) return;
  if (shift && !core::CanClickShift(this->SkinData().SkinIndex, this->SkinData().SkinManager()))
    return;
  FControlsShifted = shift;
  const int d = shift ? 1 : -1;
  for (int i = 0; i < this->ControlCount(); ++i) {
    fw::TControl* c = this->Controls(i);
    c->SetBounds(c->Left() + d, c->Top() + d, c->Width(), c->Height());
  }
}

template <class Base, TClassName Name, std::uint8_t Code>
void TsButtonControl<Base, Name, Code>::SetButtonStyle(bool isDefault) {
  Base::SetButtonStyle(isDefault);
  if (FIsFocused == isDefault) return;
  FIsFocused = isDefault;
  this->SkinData().BGChanged = true;
  this->Invalidate();
}

template <class Base, TClassName Name, std::uint8_t Code>
void TsButtonControl<Base, Name, Code>::PaintWindow(gfx::HDC dc) {
  core::TsCommonData& cd = this->SkinData();
  if (!cd.Skinned()) {
    Base::PaintWindow(dc);
    return;
  }
  // Not wholly inside the parent's client area: the background differs from the last one.
  fw::TWinControl* parent = this->Parent();
  const TRect pr = parent ? parent->ClientRect() : TRect{}, br = this->BoundsRect();
  const bool half = parent && (br.Left < pr.Left || br.Top < pr.Top || br.Right > pr.Right ||
                               br.Bottom > pr.Bottom);
  if (half != cd.HalfVisible) {
    cd.HalfVisible = half;
    cd.BGChanged = true;
  }
  const gfx::Bitmap* frame = core::AnimFrame(cd);
  const gfx::Bitmap* cache = cd.CacheBmp();
  const bool stale = cd.BGChanged || half || !cache || cache->Empty() ||
                     cache->Width() != this->Width() || cache->Height() != this->Height();
  if (!frame && stale && !PrepareCache()) {
    if (!cd.FUpdating) Base::PaintWindow(dc);
    return;
  }
  gfx::DeviceContext from(frame ? const_cast<gfx::Bitmap&>(*frame) : *cd.CacheBmp());
  gfx::BitBlt(dc, 0, 0, this->Width(), this->Height(), &from, 0, 0, gfx::SRCCOPY);
}

template <class Base, TClassName Name, std::uint8_t Code>
void TsButtonControl<Base, Name, Code>::Invalidate() {
  this->SkinData().BGChanged = true;
  Base::Invalidate();
}

template <class Base, TClassName Name, std::uint8_t Code>
void TsButtonControl<Base, Name, Code>::KeepShownFace() {
  core::TsCommonData& cd = this->SkinData();
  if (const gfx::Bitmap* cache = cd.CacheBmp();
      cache && cache->Width() == this->Width() && cache->Height() == this->Height())
    cd.BGChanged = false;
}

template <class Base, TClassName Name, std::uint8_t Code>
void TsButtonControl<Base, Name, Code>::RedrawNow() {
  if (!this->HandleAllocated()) return;
  win::RedrawWindow(this->Handle(), nullptr, nullptr, win::RDW_INVALIDATE | win::RDW_UPDATENOW);
}

template <class Base, TClassName Name, std::uint8_t Code>
void TsButtonControl<Base, Name, Code>::ChangeState(core::TacAnimatEvent event) {
  core::TsCommonData& cd = this->SkinData();
  if (!cd.Skinned() || !this->HandleAllocated() || !this->Showing()) return;
  const int state = CurrentState();
  // The fade knows normal, hot and pressed; the default face comes back as normal does.
  core::DoChangePaint(cd, state == 3 ? 0 : state, core::UpdateWindow_CB,
                      core::EventEnabled(event, FAnimatEvents, cd.SkinManager()));
}

template <class Base, TClassName Name, std::uint8_t Code>
void TsButtonControl<Base, Name, Code>::LeftButtonUp(fw::TMessage& m, const fw::TWndNext& next) {
  core::TsCommonData& cd = this->SkinData();
  if (!FMouseClicked || !cd.Skinned()) {
    FMouseClicked = false;
    core::StopTimer(cd);
    next(m);
    return;
  }
  FMouseClicked = false;
  const std::shared_ptr<bool> alive = this->AliveFlag();
  if (core::TimerIsActive(cd)) {
    // A quick click: the pressed face at once, kept for 30 ms.
    core::StopTimer(cd);
    fGlobalFlag = true;
    cd.BGChanged = true;
    RedrawNow();
    fGlobalFlag = false;
    const win::DWORD start = win::GetTickCount();
    while (win::GetTickCount() - start < 30) {
      if (fw::Application) fw::Application->ProcessMessages();
      if (!*alive) return;  // freed by a message handled meanwhile
      win::Sleep(5);
    }
  }
  next(m);  // the framework's release: the click, which may free the button
  if (!*alive) return;
  KeepShownFace();
  ChangeState(core::aeMouseUp);
}

template <class Base, TClassName Name, std::uint8_t Code>
bool TsButtonControl<Base, Name, Code>::SkinCommand(fw::TMessage& m, const fw::TWndNext& next) {
  core::TsCommonData& cd = this->SkinData();
  switch (core::WParamHi(m.WParam)) {
    case core::AC_CTRLHANDLED:
      m.Result = 1;
      return true;
    case core::AC_PREPARECACHE:
      m.Result = PrepareCache() ? 0 : 1;
      return true;
    case core::AC_GETCOLORTONE: {
      const TacColoring c = GetColoring(CurrentState());
      // With a record to fill it is filled; the glow asks for the face's tone alone.
      if (m.LParam) {
        *reinterpret_cast<TacColoring*>(m.LParam) = c;
        m.Result = 1;
      } else {
        m.Result = win::LRESULT(c.ColorToneBG);
      }
      return true;
    }
    case core::AC_ENDPARENTUPDATE:
      if (!cd.FUpdating) return false;
      cd.FUpdating = false;
      if (!cd.Updating()) {
        cd.BGChanged = true;
        this->Invalidate();
      }
      return true;
    case core::AC_REMOVESKIN:
    case core::AC_REFRESH:
      next(m);
      core::StopTimer(cd);
      ShiftControls(false);
      cd.BGChanged = true;
      if (!this->HasState(fw::csDestroying)) this->Invalidate();
      return true;
    default:
      return false;
  }
}

template <class Base, TClassName Name, std::uint8_t Code>
void TsButtonControl<Base, Name, Code>::ButtonProc(fw::TMessage& m, const fw::TWndNext& next) {
  core::TsCommonData& cd = this->SkinData();
  if (m.Msg == core::SM_ALPHACMD) {
    if (!SkinCommand(m, next)) next(m);
    return;
  }
  const bool skinned = cd.Skinned();
  core::TsSkinManager* manager = cd.SkinManager();
  switch (m.Msg) {
    case fw::CM_MOUSEENTER: {
      const bool enter =
          this->Enabled() && !cd.FMouseAbove && !(manager && manager->Options().NoMouseHover);
      next(m);
      if (!enter) return;
      cd.FMouseAbove = true;
      if (this->OnMouseEnter) this->OnMouseEnter(this);
      ChangeState(core::aeMouseEnter);
      return;
    }
    case fw::CM_MOUSELEAVE: {
      const bool above = cd.FMouseAbove;
      next(m);
      cd.FMouseAbove = false;
      if (!above) return;
      if (this->OnMouseLeave) this->OnMouseLeave(this);
      ChangeState(core::aeMouseLeave);
      return;
    }
    case win::WM_LBUTTONDOWN:
    case win::WM_LBUTTONDBLCLK: {
      // A press on a split button's drop-down part runs its menu's loop: the button may be
      // gone afterwards, and the main face is not pressed.
      const bool part = this->DropDownRect().Contains(win::PointFromLParam(m.LParam));
      const std::shared_ptr<bool> alive = this->AliveFlag();
      next(m);
      if (!*alive || part || !skinned || !this->Enabled() || FDown) return;
      FMouseClicked = true;
      KeepShownFace();  // the press and the focus it gave repainted
      if (fw::Application) {
        // A hint showing goes away with the press.
        const bool hints = fw::Application->ShowHint();
        fw::Application->SetShowHint(false);
        fw::Application->SetShowHint(hints);
      }
      ChangeState(core::aeMouseDown);
      return;
    }
    case win::WM_LBUTTONUP:
      LeftButtonUp(m, next);
      return;
    default:
      break;
  }
  if (!skinned) {
    next(m);
    return;
  }
  switch (m.Msg) {
    case win::WM_ERASEBKGND:
      m.Result = 1;  // the paint copies the whole face
      return;
    case win::WM_PAINT:
      if (cd.Updating()) {
        win::ValidateRect(this->Handle(), nullptr);
        m.Result = 0;
        return;
      }
      break;
    case win::WM_ENABLE:
    case win::WM_UPDATEUISTATE:
      return;
    case win::WM_SETFOCUS:
    case fw::CM_ENTER:
      next(m);
      if (core::TimerIsActive(cd))
        ChangeState(core::aeMouseEnter);
      else
        cd.Invalidate();
      return;
    case win::WM_KILLFOCUS:
    case fw::CM_EXIT:
      core::StopTimer(cd);
      next(m);
      cd.FFocused = false;
      cd.Invalidate();
      core::HideGlow(cd.GlowID, false);
      return;
    case fw::CM_DIALOGCHAR:
      if (m.WParam == u' ' && this->Focused() && this->Enabled()) {
        core::StopTimer(cd);
        cd.BGChanged = true;
        core::HideGlow(cd.GlowID, false);
        this->Invalidate();
      }
      break;
    case win::WM_SETTEXT:
      core::StopTimer(cd);
      next(m);
      cd.Invalidate(true);
      return;
    case fw::CM_ENABLEDCHANGED:
      core::StopTimer(cd);
      next(m);
      cd.Invalidate(true);
      return;
    case win::WM_SETFONT:
    case fw::CM_TEXTCHANGED:
    case fw::CM_FONTCHANGED:
      next(m);
      cd.Invalidate();
      return;
    case fw::CM_VISIBLECHANGED:
    case win::WM_WINDOWPOSCHANGED:
      cd.BGChanged = true;
      break;
    default:
      break;
  }
  next(m);
}

template class TsButtonControl<fw::TBitBtn, "TsBitBtn", core::COC_TsBitBtn>;
template class TsButtonControl<fw::TButton, "TsButton", core::COC_TsButton>;

// ---- TsBitBtn ----------------------------------------------------------------------------------

TsBitBtn::TsBitBtn(fw::TComponent* owner) : TsButtonControl(owner) {
  SetMargin(-1);
  SetWordWrap(true);
}

TSize TsBitBtn::GlyphSize(int) const {
  if (HasImage()) return {Images()->Width(), Images()->Height()};
  if (Glyph().Empty()) return {0, 0};
  return {Glyph().Width() / std::max(NumGlyphs(), 1), Glyph().Height()};
}

unsigned TsBitBtn::CaptionFlags(int state) const {
  const unsigned align = FTextAlignment == TAlignment::taLeftJustify    ? gfx::DT_LEFT
                         : FTextAlignment == TAlignment::taRightJustify ? gfx::DT_RIGHT
                                                                        : gfx::DT_CENTER;
  return (TsButtonControl::CaptionFlags(state) & ~gfx::DT_CENTER) | align;
}

TSize TsBitBtn::TextRectSize(fw::TCanvas& canvas) const {
  // A split button's caption wraps within the main face, left of the drop-down part.
  const int w = MaxCaptionWidth(Width() - DropDownRect().Width(), Margin(), Spacing(),
                                GlyphSize(0).cx, Layout(), FShowCaption, !Caption().empty());
  if (w <= 0) return {0, 0};
  TRect r{0, 0, w, 0};
  canvas.TextRect(r, Caption(),
                  gfx::DT_CALCRECT | gfx::DT_EXPANDTABS | (WordWrap() ? gfx::DT_WORDBREAK : 0u));
  return {r.Width(), r.Height()};
}

void TsBitBtn::LayoutContent(fw::TCanvas& canvas, int state) {
  TacButtonLayoutIn in;
  in.Client = {ClientWidth() - DropDownRect().Width(), ClientHeight()};
  in.Glyph = GlyphSize(state);
  in.Text = TextRectSize(canvas);
  in.Layout = Layout();
  in.Alignment = FAlignment;
  in.VerticalAlignment = FVerticalAlignment;
  in.Margin = Margin();
  in.Spacing = Spacing();
  in.RightToLeft = UseRightToLeftAlignment();
  const TacButtonLayoutOut out = CalcButtonLayout(in);
  const bool across =
      Layout() == TButtonLayout::blGlyphLeft || Layout() == TButtonLayout::blGlyphRight;
  FCaptionRect = out.Caption.Offset(across ? FOffset : 0, across ? 0 : FOffset);
  FGlyphPos = {out.Glyph.Left, out.Glyph.Top};
  if (Reflected()) FGlyphPos.Y -= in.Glyph.cx / 6;
  if (ShiftsContent(state)) FGlyphPos = {FGlyphPos.X + 1, FGlyphPos.Y + 1};
}

void TsBitBtn::DrawBtnGlyph(gfx::Bitmap& cache, int state, fw::TColor tone) {
  const TSize size = GlyphSize(state);
  if (size.cx <= 0 || size.cy <= 0) return;
  const core::TsCommonData& cd = SkinData();
  TacDrawGlyphData d;
  d.Blend = FBlend;
  d.SkinIndex = cd.SkinIndex;
  d.NumGlyphs = NumGlyphs();
  d.ImageIndex = ImageIndex();
  d.CurrentState = state;
  d.Down = TsButtonControl::Down();
  d.Enabled = Enabled();
  d.SkinManager = cd.SkinManager();
  d.Grayed = FGrayed || (d.SkinManager && d.SkinManager->Effects().DiscoloredGlyphs()) ||
             (!d.Enabled && ((DisabledKind() & dkGrayed) || (FDisabledGlyphKind & dgGrayed)));
  d.Reflected = Reflected();
  d.Glyph = &Glyph();
  d.DstBmp = &cache;
  d.ImgRect = gfx::RectOfSize(FGlyphPos.X, FGlyphPos.Y, size.cx, size.cy);
  d.BGColor = tone;
  d.Images = Images();
  d.DisabledGlyphKind = FDisabledGlyphKind;
  acDrawGlyphEx(d);
}

// ---- TsButton ----------------------------------------------------------------------------------

int TsButton::CurrentState() const {
  const int state = TsButtonControl::CurrentState();
  // The default look whenever the button is not active, whoever has the focus.
  if (state == 0 && Default()) return 3;
  return state;
}

fw::TFont TsButton::CommandLinkFont() const {
  return FCustomCommandLinkFont ? FCommandLinkFont : fw::CommandLinkFontOf(Font());
}

void TsButton::SetCommandLinkFont(const fw::TFont& font) {
  FCommandLinkFont.Assign(font);
  FCustomCommandLinkFont = true;
  SkinData().Invalidate();
}

void TsButton::ApplyCaptionFont(fw::TCanvas& canvas) const {
  canvas.Font.Assign(Style() == TButtonStyle::bsCommandLink ? CommandLinkFont() : Font());
}

void TsButton::DrawExtraText(fw::TCanvas& canvas, int state, const TacColoring& coloring) {
  if (FNoteRect.IsEmpty()) return;
  canvas.Font.Assign(Font());
  TRect r = FNoteRect;
  if (ShiftsContent(state)) r = r.Offset(1, 1);
  WriteButtonText(canvas, CommandLinkHint(), r,
                  gfx::DT_LEFT | gfx::DT_WORDBREAK | gfx::DT_EXPANDTABS | gfx::DT_END_ELLIPSIS,
                  state, coloring);
}

unsigned TsButton::CaptionFlags(int state) const {
  unsigned flags = TsButtonControl::CaptionFlags(state);
  if (!WordWrap()) flags |= gfx::DT_SINGLELINE;
  if (Style() == TButtonStyle::bsCommandLink) flags = (flags & ~gfx::DT_CENTER) | gfx::DT_LEFT;
  return flags;
}

TSize TsButton::GlyphSize(int) const {
  if (HasImage()) return {Images()->Width(), Images()->Height()};
  // A command link keeps room for its image even without one.
  return Style() == TButtonStyle::bsCommandLink ? TSize{32, 32} : TSize{0, 0};
}

void TsButton::LayoutContent(fw::TCanvas& canvas, int state) {
  const int spacing = SkinData().ScalePercent * 6 / 100;
  const TRect face{FContentMargin, FContentMargin,
                   ClientWidth() - FContentMargin - DropDownRect().Width(),
                   ClientHeight() - FContentMargin};
  FNoteRect = {};
  TRect image, area;
  if (Style() == TButtonStyle::bsCommandLink) {
    // The image at the left, the text after it and the spacing, from the top margin.
    const TSize g = GlyphSize(state);
    image = gfx::RectOfSize(face.Left, face.Top, g.cx, g.cy);
    area = {face.Left + g.cx + spacing, face.Top, face.Right, face.Bottom};
  } else {
    ImageLayout(face, image, area);
  }
  FGlyphPos = {image.Left, image.Top};
  if (ShiftsContent(state)) FGlyphPos = {FGlyphPos.X + 1, FGlyphPos.Y + 1};
  if (area.IsEmpty() || Caption().empty()) {
    FCaptionRect = {};
    return;
  }
  TRect t{0, 0, area.Width(), 0};
  canvas.TextRect(t, Caption(), CaptionFlags(0) | gfx::DT_CALCRECT);
  const int w = std::min(t.Width(), area.Width()), h = t.Height();
  if (Style() == TButtonStyle::bsCommandLink) {
    FCaptionRect = gfx::RectOfSize(area.Left, area.Top, w, h);
    // The note below the caption, in the button's own font, wrapped in what is left.
    if (!CommandLinkHint().empty() && FCaptionRect.Bottom + 2 < area.Bottom)
      FNoteRect = {area.Left, FCaptionRect.Bottom + 2, area.Right, area.Bottom};
  } else if (image.IsEmpty() || ImageAlignment() == fw::TImageAlignment::iaCenter)
    // Centred across the face's whole height.
    FCaptionRect =
        gfx::RectOfSize(area.Left + (area.Width() - w) / 2, (ClientHeight() - h) / 2, w, h);
  else
    FCaptionRect = gfx::RectOfSize(area.Left + (area.Width() - w) / 2,
                                   area.Top + (area.Height() - h) / 2, w, h);
}

void TsButton::DrawBtnGlyph(gfx::Bitmap& cache, int state, fw::TColor tone) {
  if (!HasImage()) return;
  const core::TsCommonData& cd = SkinData();
  TacDrawGlyphData d;
  d.SkinIndex = cd.SkinIndex;
  d.ImageIndex = ImageIndex();
  d.CurrentState = state;
  d.Down = TsButtonControl::Down();
  d.Enabled = Enabled();
  d.SkinManager = cd.SkinManager();
  d.Grayed = (d.SkinManager && d.SkinManager->Effects().DiscoloredGlyphs()) ||
             (!d.Enabled && (DisabledKind() & dkGrayed));
  d.Reflected = Reflected();
  d.DstBmp = &cache;
  d.ImgRect = gfx::RectOfSize(FGlyphPos.X, FGlyphPos.Y, Images()->Width(), Images()->Height());
  d.BGColor = tone;
  d.Images = Images();
  acDrawGlyphEx(d);
}

// ---- Descriptions ------------------------------------------------------------------------------

namespace {

using V = const fw::TValueDesc&;
using C = fw::TReadContext&;
using Table = std::vector<std::pair<std::string, int>>;

// What both buttons publish beyond the framework's.
template <class B>
void RegisterShared(const char* cls) {
  fw::RegisterProperty<B>(cls, "Down", [](B* b, V v, C x) { b->SetDown(x.Bool(v)); });
  fw::RegisterProperty<B>(cls, "ShowFocus", [](B* b, V v, C x) { b->SetShowFocus(x.Bool(v)); });
  fw::RegisterProperty<B>(cls, "Reflected", [](B* b, V v, C x) { b->SetReflected(x.Bool(v)); });
  fw::RegisterProperty<B>(cls, "AcceptsControls",
                          [](B* b, V v, C x) { b->SetAcceptsControls(x.Bool(v)); });
  fw::RegisterProperty<B>(cls, "DrawOverBorder",
                          [](B* b, V v, C x) { b->SetDrawOverBorder(x.Bool(v)); });
  fw::RegisterProperty<B>(cls, "FocusMargin",
                          [](B* b, V v, C x) { b->SetFocusMargin(int(x.Integer(v, 0, 100))); });
}

}  // namespace

void RegisterButtonProperties() {
  RegisterShared<TsBitBtn>("TsBitBtn");
  using B = TsBitBtn;
  fw::RegisterProperty<B>("TsBitBtn", "Grayed", [](B* b, V v, C x) { b->SetGrayed(x.Bool(v)); });
  fw::RegisterProperty<B>("TsBitBtn", "ShowCaption",
                          [](B* b, V v, C x) { b->SetShowCaption(x.Bool(v)); });
  fw::RegisterProperty<B>("TsBitBtn", "Blend",
                          [](B* b, V v, C x) { b->SetBlend(int(x.Integer(v, 0, 100))); });
  fw::RegisterProperty<B>("TsBitBtn", "TextOffset",
                          [](B* b, V v, C x) { b->SetTextOffset(int(x.Integer(v, -1000, 1000))); });
  fw::RegisterProperty<B>("TsBitBtn", "Alignment", [](B* b, V v, C x) {
    b->SetAlignment(TAlignment(x.Enum(v, fw::kAlignmentNames)));
  });
  fw::RegisterProperty<B>("TsBitBtn", "TextAlignment", [](B* b, V v, C x) {
    b->SetTextAlignment(TAlignment(x.Enum(v, fw::kAlignmentNames)));
  });
  static const Table kVertical = {
      {"taAlignTop", int(fw::TVerticalAlignment::taAlignTop)},
      {"taAlignBottom", int(fw::TVerticalAlignment::taAlignBottom)},
      {"taVerticalCenter", int(fw::TVerticalAlignment::taVerticalCenter)}};
  fw::RegisterProperty<B>("TsBitBtn", "VerticalAlignment", [](B* b, V v, C x) {
    b->SetVerticalAlignment(fw::TVerticalAlignment(x.Enum(v, kVertical)));
  });
  RegisterShared<TsButton>("TsButton");
  fw::RegisterProperty<TsButton>("TsButton", "ContentMargin", [](TsButton* b, V v, C x) {
    b->SetContentMargin(int(x.Integer(v, 0, 100)));
  });
}

}  // namespace skin::controls
