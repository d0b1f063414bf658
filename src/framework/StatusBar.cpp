#include "framework/StatusBar.h"

#include "framework/Application.h"
#include "framework/Button.h"
#include "framework/Exception.h"

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

void TStatusBar::ClearPanels() {
  FPanels.clear();
  Invalidate();
}

void TStatusBar::SetSimpleText(const std::u16string& text) {
  FSimpleText = text;
  Invalidate();
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
  if (FPanels.empty())
    SetSimpleText(hint);
  else
    SetPanelText(0, hint);
}

void TStatusBar::Paint() {
  TCanvas& c = Canvas();
  TRect client = ClientRect();
  c.FillRect(client);
  auto cell = [&](TRect r, const std::u16string& text, TAlignment alignment) {
    TRect inner = DrawBevel(c, r, false);
    inner = {inner.Left + 2, inner.Top, inner.Right - 2, inner.Bottom};
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
  if (FPanels.empty()) {
    cell({client.Left, client.Top + 2, client.Right, client.Bottom}, FSimpleText,
         TAlignment::taLeftJustify);
    return;
  }
  int x = 0;
  for (std::size_t i = 0; i < FPanels.size(); ++i) {
    // The last panel takes the rest of the bar.
    int right = i + 1 == FPanels.size() ? client.Right : x + FPanels[i].Width;
    cell({x, client.Top + 2, right, client.Bottom}, FPanels[i].Text, FPanels[i].Alignment);
    x = right + 2;
  }
}

}  // namespace fw
