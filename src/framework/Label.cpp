#include "framework/Label.h"

#include "framework/WinControl.h"

namespace fw {

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
  SetColor(clBtnFace);
  SetBounds(0, 0, 65, 17);
}

void TLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TLabel::SetAutoSize(bool autoSize) {
  if (autoSize == FAutoSize) return;
  FAutoSize = autoSize;
  AdjustBounds();
}

void TLabel::SetWordWrap(bool wordWrap) {
  if (wordWrap == FWordWrap) return;
  FWordWrap = wordWrap;
  AdjustBounds();
  Invalidate();
}

void TLabel::SetAlignment(TAlignment alignment) {
  if (alignment == FAlignment) return;
  FAlignment = alignment;
  Invalidate();
}

void TLabel::SetLayout(TTextLayout layout) {
  if (layout == FLayout) return;
  FLayout = layout;
  Invalidate();
}

void TLabel::SetTransparent(bool transparent) {
  if (transparent == FTransparent) return;
  FTransparent = transparent;
  Invalidate();
}

void TLabel::TextChanged() {
  AdjustBounds();
  Invalidate();
}

void TLabel::FontChanged() {
  AdjustBounds();
  Invalidate();
}

unsigned TLabel::DrawTextFlags() const {
  unsigned f = gfx::DT_EXPANDTABS | gfx::DT_NOPREFIX;
  f |= FWordWrap ? gfx::DT_WORDBREAK : 0;
  if (FAlignment == TAlignment::taCenter) f |= gfx::DT_CENTER;
  if (FAlignment == TAlignment::taRightJustify) f |= gfx::DT_RIGHT;
  return f;
}

void TLabel::AdjustBounds() {
  if (!FAutoSize || HasState(csLoading)) return;
  gfx::Bitmap scratch(1, 1);
  gfx::DeviceContext dc(scratch);
  gfx::SelectFont(&dc, Font().Handle());
  TRect r{0, 0, FWordWrap ? Width() : 0, 0};
  std::u16string text = Caption().empty() ? u" " : Caption();
  gfx::DrawTextW(&dc, text, &r, DrawTextFlags() | gfx::DT_CALCRECT);
  SetBounds(Left(), Top(), FWordWrap ? Width() : r.Width(), r.Height());
}

void TLabel::Paint() {
  TCanvas& c = Canvas();
  TRect client = ClientRect();
  if (!FTransparent) c.FillRect(client);
  c.BrushStyle = TBrushStyle::bsClear;
  if (!Enabled()) c.Font.SetColor(clGrayText);
  TRect r = client;
  if (FLayout != TTextLayout::tlTop) {
    TRect calc = client;
    c.TextRect(calc, Caption(), DrawTextFlags() | gfx::DT_CALCRECT);
    int free = client.Height() - calc.Height();
    r.Top += FLayout == TTextLayout::tlCenter ? free / 2 : free;
  }
  c.TextRect(r, Caption(), DrawTextFlags());
}

}  // namespace fw
