#include "framework/Panel.h"

#include "framework/Button.h"

namespace fw {

TPanel::TPanel(TComponent* owner) : TCustomControl(owner) {
  SetColor(clBtnFace);
  ControlStyle |= csAcceptsControls;
  ControlStyle &= ~TControlStyle(csCaptureMouse);
  SetBounds(0, 0, 185, 41);
}

int TPanel::FrameWidth() const {
  int w = FBorderWidth;
  if (FBevelOuter != TBevelCut::bvNone) w += FBevelWidth;
  if (FBevelInner != TBevelCut::bvNone) w += FBevelWidth;
  return w;
}

void TPanel::FrameChanged() {
  Realign();
  Invalidate();
}

void TPanel::SetBevelOuter(TBevelCut cut) {
  if (cut == FBevelOuter) return;
  FBevelOuter = cut;
  FrameChanged();
}

void TPanel::SetBevelInner(TBevelCut cut) {
  if (cut == FBevelInner) return;
  FBevelInner = cut;
  FrameChanged();
}

void TPanel::SetBevelWidth(int width) {
  if (width < 1 || width == FBevelWidth) return;
  FBevelWidth = width;
  FrameChanged();
}

void TPanel::SetBorderWidth(int width) {
  if (width < 0 || width == FBorderWidth) return;
  FBorderWidth = width;
  FrameChanged();
}

void TPanel::SetAlignment(TAlignment alignment) {
  if (alignment == FAlignment) return;
  FAlignment = alignment;
  Invalidate();
}

void TPanel::SetVerticalAlignment(TVerticalAlignment alignment) {
  if (alignment == FVerticalAlignment) return;
  FVerticalAlignment = alignment;
  Invalidate();
}

void TPanel::SetShowCaption(bool show) {
  if (show == FShowCaption) return;
  FShowCaption = show;
  Invalidate();
}

void TPanel::AlignControls(TRect& rect) {
  int f = FrameWidth();
  rect = {rect.Left + f, rect.Top + f, rect.Right - f, rect.Bottom - f};
  TCustomControl::AlignControls(rect);
}

void TPanel::Paint() {
  TCanvas& c = Canvas();
  TRect r = ClientRect();
  c.FillRect(r);
  auto bevel = [&](TBevelCut cut) {
    for (int i = 0; i < FBevelWidth; ++i)
      if (cut == TBevelCut::bvSpace)
        r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
      else
        r = DrawBevel(c, r, cut == TBevelCut::bvRaised);
  };
  if (FBevelOuter != TBevelCut::bvNone) bevel(FBevelOuter);
  r = {r.Left + FBorderWidth, r.Top + FBorderWidth, r.Right - FBorderWidth,
       r.Bottom - FBorderWidth};
  if (FBevelInner != TBevelCut::bvNone) bevel(FBevelInner);
  if (Caption().empty() || !FShowCaption) return;
  c.BrushStyle = TBrushStyle::bsClear;
  unsigned flags = gfx::DT_SINGLELINE | gfx::DT_NOPREFIX;
  if (FVerticalAlignment == TVerticalAlignment::taVerticalCenter) flags |= gfx::DT_VCENTER;
  if (FVerticalAlignment == TVerticalAlignment::taAlignBottom) flags |= gfx::DT_BOTTOM;
  if (FAlignment == TAlignment::taCenter) flags |= gfx::DT_CENTER;
  if (FAlignment == TAlignment::taRightJustify) flags |= gfx::DT_RIGHT;
  c.TextRect(r, Caption(), flags);
}

TGroupBox::TGroupBox(TComponent* owner) : TCustomControl(owner) {
  SetColor(clBtnFace);
  ControlStyle |= csAcceptsControls;
  ControlStyle &= ~TControlStyle(csCaptureMouse);
  SetBounds(0, 0, 185, 105);
}

void TGroupBox::SetBevelWidth(int width) {
  if (width < 1 || width == FBevelWidth) return;
  FBevelWidth = width;
  Invalidate();
}

int TGroupBox::CaptionHeight() {
  gfx::TEXTMETRICW tm;
  gfx::Bitmap scratch(1, 1);
  gfx::DeviceContext dc(scratch);
  gfx::SelectFont(&dc, Font().Handle());
  gfx::GetTextMetricsW(&dc, &tm);
  return tm.tmHeight;
}

void TGroupBox::AlignControls(TRect& rect) {
  rect = {rect.Left + 2, rect.Top + CaptionHeight() + 2, rect.Right - 2, rect.Bottom - 2};
  TCustomControl::AlignControls(rect);
}

void TGroupBox::Paint() {
  TCanvas& c = Canvas();
  TRect r = ClientRect();
  c.FillRect(r);
  int h = CaptionHeight();
  TRect frame{r.Left, r.Top + h / 2, r.Right, r.Bottom};
  // Etched: a shadow line with a highlight line inside it.
  c.BrushColor = clBtnShadow;
  c.FrameRect({frame.Left, frame.Top, frame.Right - 1, frame.Bottom - 1});
  c.BrushColor = clBtnHighlight;
  c.FrameRect({frame.Left + 1, frame.Top + 1, frame.Right, frame.Bottom});
  c.BrushColor = Color();
  if (Caption().empty()) return;
  TRect text{8, 0, 8, h};
  c.TextRect(text, Caption(), gfx::DT_SINGLELINE | gfx::DT_NOPREFIX | gfx::DT_CALCRECT);
  text.Right += 2;
  c.FillRect({text.Left - 1, 0, text.Right + 1, h});
  c.BrushStyle = TBrushStyle::bsClear;
  c.TextRect(text, Caption(), gfx::DT_SINGLELINE | gfx::DT_NOPREFIX | gfx::DT_CENTER);
}

}  // namespace fw
