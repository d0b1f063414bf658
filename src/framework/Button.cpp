#include "framework/Button.h"

#include "platform/win/Keys.h"

namespace fw {

using namespace win;

TRect DrawBevel(TCanvas& canvas, TRect r, bool raised) {
  TColor saved = canvas.BrushColor;
  canvas.BrushColor = raised ? clBtnHighlight : clBtnShadow;
  canvas.FillRect({r.Left, r.Top, r.Right, r.Top + 1});
  canvas.FillRect({r.Left, r.Top, r.Left + 1, r.Bottom});
  canvas.BrushColor = raised ? clBtnShadow : clBtnHighlight;
  canvas.FillRect({r.Left, r.Bottom - 1, r.Right, r.Bottom});
  canvas.FillRect({r.Right - 1, r.Top, r.Right, r.Bottom});
  canvas.BrushColor = saved;
  return {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
}

TButton::TButton(TComponent* owner) : TCustomControl(owner) {
  SetColor(clBtnFace);
  SetTabStop(true);
  SetBounds(0, 0, 75, 25);
}

void TButton::SetDefault(bool value) {
  if (value == FDefault) return;
  FDefault = value;
  Invalidate();
}

void TButton::SetDown(bool down) {
  if (down == FDown) return;
  FDown = down;
  Invalidate();
}

void TButton::Click() {
  if (FModalResult != mrNone)
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
  TCustomControl::Click();
}

bool TButton::WantsKey(WORD key) const {
  return key == VK_RETURN;
}

void TButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::mbLeft) SetDown(true);
  TCustomControl::MouseDown(button, shift, x, y);
}

void TButton::MouseMove(TShiftState shift, int x, int y) {
  if (shift & ssLeft) SetDown(ClientRect().Contains({x, y}));
  TCustomControl::MouseMove(shift, x, y);
}

void TButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == TMouseButton::mbLeft) SetDown(false);
  TCustomControl::MouseUp(button, shift, x, y);
}

void TButton::KeyDown(WORD& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  if (key == VK_SPACE) {
    SetDown(true);
  } else if (key == VK_RETURN) {
    key = 0;
    Click();
  }
}

void TButton::KeyUp(WORD& key, TShiftState shift) {
  TCustomControl::KeyUp(key, shift);
  if (key == VK_SPACE && FDown) {
    SetDown(false);
    Click();
  }
}

void TButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_DIALOGKEY:
      if (((m.WParam == VK_RETURN && FDefault) || (m.WParam == VK_ESCAPE && FCancel)) &&
          CanFocus() && Showing()) {
        Click();
        m.Result = 1;
      }
      return;
    case CM_ENTER:
    case CM_EXIT:
      Invalidate();
      break;
    default:
      break;
  }
  TCustomControl::WndProc(m);
}

void TButton::Paint() {
  TCanvas& c = Canvas();
  TRect r = ClientRect();
  c.FillRect(r);
  if (FDefault || Focused()) {
    c.BrushColor = clBlack;
    c.FrameRect(r);
    c.BrushColor = Color();
    r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
  }
  r = DrawBevel(c, r, !FDown);
  if (FDown) r = r.Offset(1, 1);
  PaintContent(r);
  if (Focused()) {
    c.BrushColor = clGrayText;
    c.FrameRect({r.Left + 2, r.Top + 2, r.Right - 3, r.Bottom - 3});
    c.BrushColor = Color();
  }
}

void TButton::PaintContent(TRect r) {
  TCanvas& c = Canvas();
  c.BrushStyle = TBrushStyle::bsClear;
  if (!Enabled()) c.Font.SetColor(clGrayText);
  unsigned flags = gfx::DT_CENTER | gfx::DT_NOPREFIX;
  TRect calc = r;
  c.TextRect(calc, Caption(), flags | gfx::DT_CALCRECT);
  TRect text{r.Left, r.Top + (r.Height() - calc.Height()) / 2, r.Right, r.Bottom};
  c.TextRect(text, Caption(), flags);
}

void TBitBtn::SetGlyph(const gfx::Bitmap& glyph) {
  FGlyph = glyph;
  Invalidate();
}

void TBitBtn::PaintContent(TRect r) {
  if (FGlyph.Empty()) {
    TButton::PaintContent(r);
    return;
  }
  TCanvas& c = Canvas();
  TRect calc{0, 0, 0, 0};
  c.TextRect(calc, Caption(), gfx::DT_NOPREFIX | gfx::DT_CALCRECT);
  int space = Caption().empty() ? 0 : Spacing;
  int total = FGlyph.Width() + space + calc.Width();
  int x = r.Left + (r.Width() - total) / 2;
  c.Draw(x, r.Top + (r.Height() - FGlyph.Height()) / 2, FGlyph, true);
  TButton::PaintContent({x + FGlyph.Width() + space, r.Top, x + total, r.Bottom});
}

}  // namespace fw
