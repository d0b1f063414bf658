#include "framework/StatusBar.h"

#include "framework/Application.h"
#include "framework/Button.h"
#include "framework/Exception.h"
#include "framework/Form.h"

namespace fw {

TStatusBar::TStatusBar(TComponent* owner) : TCustomControl(owner) {
  SetColor(clBtnFace);
  ControlStyle &= ~TControlStyle(csCaptureMouse);
  SetBounds(0, 0, 200, 19);
  SetAlign(TAlign::alBottom);
  SetUseSystemFont(true);
}

TStatusBar::~TStatusBar() {
  if (Application) Application->RemoveHintListener(this);
}

TStatusPanel& TStatusBar::At(int index) {
  if (index < 0 || index >= PanelCount()) throw Exception(u"Status bar panel index out of bounds");
  return FPanels[index];
}

const TStatusPanel& TStatusBar::Panel(int index) const {
  return const_cast<TStatusBar*>(this)->At(index);
}

void TStatusBar::AddPanel(const TStatusPanel& panel) {
  FPanels.push_back(panel);
  Invalidate();
}

void TStatusBar::SetPanelText(int index, const std::u16string& text) {
  At(index).Text = text;
  Invalidate();
}

void TStatusBar::SetPanelWidth(int index, int width) {
  At(index).Width = std::max(0, width);
  Invalidate();
}

void TStatusBar::SetPanelAlignment(int index, TAlignment alignment) {
  At(index).Alignment = alignment;
  Invalidate();
}

void TStatusBar::SetPanelStyle(int index, TStatusPanelStyle style) {
  At(index).Style = style;
  Invalidate();
}

void TStatusBar::ClearPanels() {
  FPanels.clear();
  Invalidate();
}

void TStatusBar::SetSimpleText(const std::u16string& text) {
  FSimpleText = text;
  Invalidate();
}

void TStatusBar::SetSimplePanel(bool simplePanel) {
  if (simplePanel == FSimplePanel) return;
  FSimplePanel = simplePanel;
  Invalidate();
}

void TStatusBar::SetSizeGrip(bool sizeGrip) {
  if (sizeGrip == FSizeGrip) return;
  FSizeGrip = sizeGrip;
  Invalidate();
}

bool TStatusBar::ShowsSizeGrip() const {
  if (!FSizeGrip) return false;
  const TCustomForm* f = GetParentForm(this);
  return f && (f->BorderStyle() == TFormBorderStyle::bsSizeable ||
               f->BorderStyle() == TFormBorderStyle::bsSizeToolWin);
}

int TStatusBar::UsableWidth() const {
  return std::max(0, Width() - (ShowsSizeGrip() ? kSizeGripWidth : 0));
}

TRect TStatusBar::CellRect(int index) const {
  const int usable = UsableWidth();
  if (ShowsSimpleText()) return {0, 0, usable, Height()};
  int left = 0;
  for (int i = 0; i < index && i < PanelCount(); ++i) left += FPanels[std::size_t(i)].Width;
  left = std::min(left, usable);
  const bool last = index + 1 >= PanelCount();
  const int right = last ? usable : std::min(usable, left + FPanels[std::size_t(index)].Width);
  return {left, 0, std::max(left, right), Height()};
}

void TStatusBar::SetAutoHint(bool autoHint) {
  if (autoHint == FAutoHint) return;
  FAutoHint = autoHint;
  if (!Application) return;
  if (autoHint)
    Application->AddHintListener(this, [this](const std::u16string& h) { ShowAutoHint(h); });
  else
    Application->RemoveHintListener(this);
}

void TStatusBar::SetUseSystemFont(bool useSystemFont) {
  if (useSystemFont == FUseSystemFont) return;
  FUseSystemFont = useSystemFont;
  if (!useSystemFont) return;
  // The system's font is the framework's default font in the button-text colour.
  TFont system;
  system.SetColor(clBtnText);
  FApplyingSystemFont = true;
  SetParentFont(false);
  Font().Assign(system);
  FApplyingSystemFont = false;
}

void TStatusBar::FontChanged() {
  if (!FApplyingSystemFont) FUseSystemFont = false;
  TCustomControl::FontChanged();
}

void TStatusBar::ShowAutoHint(const std::u16string& hint) {
  if (ShowsSimpleText())
    SetSimpleText(hint);
  else
    SetPanelText(0, hint);
}

void TStatusBar::Paint() {
  TCanvas& c = Canvas();
  TRect client = ClientRect();
  c.FillRect(client);
  auto cell = [&](int index, TRect r, const std::u16string& text, TAlignment alignment,
                  bool ownerDraw) {
    TRect inner = DrawBevel(c, r, false);
    if (ownerDraw) {
      if (OnDrawPanel) OnDrawPanel(this, index, inner);
      return;
    }
    inner = {inner.Left + 2, inner.Top, inner.Right - 2, inner.Bottom};
    if (inner.IsEmpty()) return;
    c.BrushStyle = TBrushStyle::bsClear;
    unsigned flags = gfx::DT_SINGLELINE | gfx::DT_VCENTER | gfx::DT_NOPREFIX | gfx::DT_END_ELLIPSIS;
    if (alignment == TAlignment::taCenter) flags |= gfx::DT_CENTER;
    if (alignment == TAlignment::taRightJustify) flags |= gfx::DT_RIGHT;
    int saved = gfx::SaveDC(c.Handle());
    gfx::IntersectClipRect(c.Handle(), inner.Left, inner.Top, inner.Right, inner.Bottom);
    c.TextRect(inner, text, flags);
    gfx::RestoreDC(c.Handle(), saved);
    c.BrushStyle = TBrushStyle::bsSolid;
  };
  if (ShowsSimpleText()) {
    TRect r = CellRect(0);
    cell(-1, {r.Left, client.Top + 2, r.Right, client.Bottom}, FSimpleText,
         TAlignment::taLeftJustify, false);
  } else {
    // Cells lie 2 pixels apart; the last one takes the rest of the bar up to the grip, and a
    // cell squeezed to nothing is not drawn.
    const int usable = UsableWidth();
    int x = 0;
    for (int i = 0; i < PanelCount() && x < usable; ++i) {
      const TStatusPanel& p = FPanels[std::size_t(i)];
      const int right = i + 1 == PanelCount() ? usable : std::min(usable, x + p.Width);
      if (right > x)
        cell(i, {x, client.Top + 2, right, client.Bottom}, p.Text, p.Alignment,
             p.Style == TStatusPanelStyle::psOwnerDraw);
      x = right + 2;
    }
  }
  if (!ShowsSizeGrip()) return;
  // The grip: six dots in a triangle in the bottom-right corner, each a shadow square with
  // a highlight below and right of it.
  const int x = client.Right, y = client.Bottom;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; i + j < 3; ++j) {
      const int l = x - 4 * i - 5, t = y - 4 * j - 5;
      c.BrushColor = clBtnHighlight;
      c.FillRect({l + 1, t + 1, l + 3, t + 3});
      c.BrushColor = clBtnShadow;
      c.FillRect({l, t, l + 2, t + 2});
    }
  c.BrushColor = Color();
}

}  // namespace fw
