#include "framework/SpeedButton.h"

#include <algorithm>

#include "platform/win/Input.h"

namespace fw {

namespace {

// The glyph's first frame at half its opacity: how a strip without a disabled frame shows a
// disabled button.
gfx::Bitmap Faded(gfx::Bitmap frame) {
  for (int y = 0; y < frame.Height(); ++y) {
    gfx::Pixel* row = frame.Row(y);
    for (int x = 0; x < frame.Width(); ++x)
      row[x] = (row[x] & 0x00FFFFFFu) | ((row[x] >> 25) << 24);
  }
  return frame;
}

}  // namespace

TSpeedButton::TSpeedButton(TComponent* owner) : TGlyphButton(owner) {
  // The button clicks itself on release: a press may leave and come back before it.
  ControlStyle = csCaptureMouse | csDoubleClicks;
  SetColor(clBtnFace);
  SetBounds(0, 0, 23, 22);
}

void TSpeedButton::SetGroupIndex(int value) {
  if (value == FGroupIndex) return;
  FGroupIndex = value;
  UpdateExclusive();
}

void TSpeedButton::SetDown(bool value) {
  if (FGroupIndex == 0) value = false;
  if (value == FDown) return;
  if (FDown && !FAllowAllUp) return;
  FDown = value;
  SetState(value ? TButtonState::bsExclusive : TButtonState::bsUp);
  if (value) UpdateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool value) {
  FAllowAllUp = value;
  UpdateExclusive();
}

void TSpeedButton::SetFlat(bool value) {
  if (value == FFlat) return;
  FFlat = value;
  Invalidate();
}

void TSpeedButton::SetTransparent(bool value) {
  if (value == FTransparent) return;
  FTransparent = value;
  Invalidate();
}

TButtonState TSpeedButton::State() const {
  return Enabled() ? FState : TButtonState::bsDisabled;
}

bool TSpeedButton::Hot() const {
  // While another control holds the mouse, passing over the button does not light it.
  return Enabled() && MouseInControl() && (FDragging || !win::GetCapture());
}

void TSpeedButton::SetState(TButtonState state) {
  if (state == FState) return;
  FState = state;
  Invalidate();
}

void TSpeedButton::UpdateExclusive() {
  if (FGroupIndex == 0 || !Parent()) return;
  Parent()->NotifyControls(CM_BUTTONPRESSED, WPARAM(FGroupIndex), reinterpret_cast<LPARAM>(this));
}

void TSpeedButton::CalcLayout(const TRect& r, TRect& glyph, TRect& caption) {
  FGlyph.Place(Font(), Caption(), gfx::DT_CENTER, r, glyph, caption);
}

void TSpeedButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_BUTTONPRESSED: {
      auto* sender = reinterpret_cast<TSpeedButton*>(m.LParam);
      if (int(m.WParam) != FGroupIndex || sender == this || !sender) return;
      if (sender->Down() && FDown) {
        FDown = false;
        SetState(TButtonState::bsUp);
      }
      FAllowAllUp = sender->AllowAllUp();
      return;
    }
    case CM_DIALOGCHAR:
      if (IsAccel(char16_t(m.WParam), Caption()) && Enabled() && Visible() && Parent() &&
          Parent()->Showing()) {
        Click();
        m.Result = 1;
      }
      return;
    default:
      TGraphicControl::WndProc(m);
  }
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button != TMouseButton::mbLeft || !Enabled()) return;
  if (!FDown) SetState(TButtonState::bsDown);
  FDragging = true;
}

void TSpeedButton::MouseMove(TShiftState shift, int x, int y) {
  TGraphicControl::MouseMove(shift, x, y);
  if (!FDragging) return;
  // Pressed while the mouse is over the button; a down button stays down either way.
  const bool over = ClientRect().Contains({x, y});
  if (FDown)
    SetState(TButtonState::bsExclusive);
  else
    SetState(over ? TButtonState::bsDown : TButtonState::bsUp);
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseUp(button, shift, x, y);
  if (button != TMouseButton::mbLeft || !FDragging) return;
  FDragging = false;
  const bool click = ClientRect().Contains({x, y});
  if (FGroupIndex == 0) {
    SetState(TButtonState::bsUp);
  } else if (click) {
    SetDown(!FDown);
    // A down button that may not go up is down still.
    SetState(FDown ? TButtonState::bsExclusive : TButtonState::bsUp);
  } else {
    SetState(FDown ? TButtonState::bsExclusive : TButtonState::bsUp);
  }
  if (click) Click();
}

void TSpeedButton::MouseEnter() {
  TGraphicControl::MouseEnter();
  if (FFlat) Invalidate();
}

void TSpeedButton::MouseLeave() {
  TGraphicControl::MouseLeave();
  if (FFlat) Invalidate();
}

void TSpeedButton::EnabledChanged() {
  // A press cut short by disabling leaves nothing pressed behind.
  FDragging = false;
  FState = FDown ? TButtonState::bsExclusive : TButtonState::bsUp;
  TGraphicControl::EnabledChanged();
}

void TSpeedButton::Paint() {
  TCanvas& c = Canvas();
  TRect r = ClientRect();
  const TButtonState state = State();
  const bool pressed = state == TButtonState::bsDown || state == TButtonState::bsExclusive;
  const bool hot = Hot();
  if (!FFlat || !FTransparent) c.FillRect(r);
  if (!FFlat || pressed || hot)
    r = DrawBevel(c, r, !pressed);
  else
    r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
  if (state == TButtonState::bsExclusive && !hot) {
    // A button down for good shows a light checked ground.
    c.BrushColor = clBtnHighlight;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left + ((y - r.Top) & 1); x < r.Right; x += 2)
        c.FillRect({x, y, x + 1, y + 1});
    c.BrushColor = Color();
  }
  if (pressed) r = r.Offset(1, 1);
  TRect glyph, caption;
  CalcLayout(r, glyph, caption);
  if (!glyph.IsEmpty()) {
    const bool ownFrame = int(state) < FGlyph.NumGlyphs();
    gfx::Bitmap frame = FGlyph.Frame(state);
    if (state == TButtonState::bsDisabled && !ownFrame) frame = Faded(std::move(frame));
    c.Draw(glyph.Left, glyph.Top, frame, true);
  }
  if (caption.IsEmpty()) return;
  c.BrushStyle = TBrushStyle::bsClear;
  if (state == TButtonState::bsDisabled) {
    // Embossed: a light copy one pixel down and right, the shadow colour in place.
    TRect light = caption.Offset(1, 1);
    c.Font.SetColor(clBtnHighlight);
    c.TextRect(light, Caption(), gfx::DT_CENTER);
    c.Font.SetColor(clBtnShadow);
  }
  c.TextRect(caption, Caption(), gfx::DT_CENTER);
}

}  // namespace fw
