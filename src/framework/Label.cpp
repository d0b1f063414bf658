#include "framework/Label.h"

#include "framework/Button.h"
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

void TLabel::SetFocusControl(TWinControl* control) {
  if (control == FFocusControl) return;
  if (FFocusControl) RemoveFreeNotification(FFocusControl);
  FFocusControl = control;
  if (control) FreeNotification(control);
}

void TLabel::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == FFocusControl) FFocusControl = nullptr;
}

void TLabel::WndProc(TMessage& m) {
  if (m.Msg == CM_DIALOGCHAR && FShowAccelChar && FFocusControl &&
      IsAccel(char16_t(m.WParam), Caption()) && FFocusControl->CanFocus()) {
    FFocusControl->SetFocus();
    m.Result = 1;
    return;
  }
  TGraphicControl::WndProc(m);
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

void TLabel::SetShowAccelChar(bool value) {
  if (value == FShowAccelChar) return;
  FShowAccelChar = value;
  AdjustBounds();
  Invalidate();
}

void TLabel::SetEllipsisPosition(TEllipsisPosition value) {
  if (value == FEllipsisPosition) return;
  FEllipsisPosition = value;
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
  unsigned f = gfx::DT_EXPANDTABS;
  f |= FWordWrap ? gfx::DT_WORDBREAK : 0;
  if (FAlignment == TAlignment::taCenter) f |= gfx::DT_CENTER;
  if (FAlignment == TAlignment::taRightJustify) f |= gfx::DT_RIGHT;
  return f;
}

void TLabel::DoDrawText(TRect& rect, unsigned flags) {
  if (!(flags & gfx::DT_CALCRECT) && !Enabled()) Canvas().Font.SetColor(clGrayText);
  DrawCaption(rect, flags);
}

void TLabel::DrawCaption(TRect& rect, unsigned flags) {
  std::u16string text = Caption();
  if ((flags & gfx::DT_CALCRECT) && (text.empty() || (FShowAccelChar && text == u"&")))
    text += u' ';
  if (!FShowAccelChar) flags |= gfx::DT_NOPREFIX;
  TCanvas& c = Canvas();
  if (FEllipsisPosition != TEllipsisPosition::epNone && !FAutoSize) {
    flags &= ~gfx::DT_EXPANDTABS;
    flags |= FEllipsisPosition == TEllipsisPosition::epPathEllipsis  ? gfx::DT_PATH_ELLIPSIS
             : FEllipsisPosition == TEllipsisPosition::epEndEllipsis ? gfx::DT_END_ELLIPSIS
                                                                     : gfx::DT_WORD_ELLIPSIS;
    // Wrapped text ends in "..." on its last line that fits: words are taken off the end
    // until what is left, with "...", is no taller than the label.
    if (FWordWrap && FEllipsisPosition != TEllipsisPosition::epPathEllipsis) {
      std::u16string kept = text;
      const int lineHeight = c.TextHeight(u"Yy");
      for (;;) {
        TRect probe = rect;
        probe.Right -= c.TextWidth(u"...");
        c.TextRect(probe, text, flags | gfx::DT_CALCRECT);
        if (probe.Height() <= ClientHeight() || probe.Height() <= lineHeight) break;
        std::size_t cut = kept.find_last_of(u" \t");
        kept.resize(cut == std::u16string::npos || cut == 0 ? kept.size() - 1 : cut);
        text = kept + u"...";
        if (kept.empty()) break;
      }
    }
  }
  c.TextRect(rect, text, flags);
}

void TLabel::AdjustBounds() {
  if (!FAutoSize || HasState(csLoading)) return;
  // Measured on the canvas, bound to a scratch DC for the time (and given back as it was: a
  // label may be measured while it paints).
  gfx::Bitmap scratch(1, 1);
  gfx::DeviceContext dc(scratch);
  TCanvas& c = Canvas();
  const TCanvas saved = c;
  c.SetHandle(&dc);
  c.Font = Font();
  TRect r{0, 0, FWordWrap ? Width() : 0, 0};
  try {
    DoDrawText(r, DrawTextFlags() | gfx::DT_CALCRECT);
  } catch (...) {
    c = saved;
    throw;
  }
  c = saved;
  SetBounds(Left(), Top(), FWordWrap ? Width() : r.Width(), r.Height());
}

void TLabel::Paint() {
  TCanvas& c = Canvas();
  TRect client = ClientRect();
  if (!FTransparent) c.FillRect(client);
  c.BrushStyle = TBrushStyle::bsClear;
  TRect r = client;
  if (FLayout != TTextLayout::tlTop) {
    TRect calc = client;
    DoDrawText(calc, DrawTextFlags() | gfx::DT_CALCRECT);
    int free = client.Height() - calc.Height();
    r.Top += FLayout == TTextLayout::tlCenter ? free / 2 : free;
  }
  DoDrawText(r, DrawTextFlags());
}

}  // namespace fw
