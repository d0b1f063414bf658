#include "framework/HintWindow.h"

#include "platform/win/Styles.h"
#include "platform/win/Window.h"

namespace fw {

using namespace win;

namespace {

constexpr int kMarginX = 3, kMarginY = 2;  // inside the one-pixel border
constexpr unsigned kTextFlags = gfx::DT_LEFT | gfx::DT_NOPREFIX | gfx::DT_WORDBREAK;

}  // namespace

THintWindowFactory HintWindowClass = [](TComponent* owner) { return new THintWindow(owner); };

THintWindow::THintWindow(TComponent* owner) : TCustomControl(owner) {
  SetVisible(false);
  SetColor(clInfoBk);
  SetParentFont(false);
  Font().SetColor(clInfoText);
  ControlStyle &= ~TControlStyle(csCaptureMouse | csClickEvents);
}

void THintWindow::CreateParams(TCreateParams& p) {
  TCustomControl::CreateParams(p);
  p.Style = WS_POPUP | WS_BORDER;
  p.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  p.WndParent = FOwnerWindow;
}

void THintWindow::SetOwnerWindow(HWND owner) {
  if (owner == FOwnerWindow) return;
  FOwnerWindow = owner;
  DestroyHandle();
}

TRect THintWindow::CalcHintRect(int maxWidth, const std::u16string& text) {
  gfx::Bitmap scratch(1, 1);
  gfx::DeviceContext dc(scratch);
  gfx::SelectFont(&dc, Font().Handle());
  // The text's own width; only lines longer than maxWidth wrap.
  TRect r{0, 0, 0, 0};
  gfx::DrawTextW(&dc, text, &r, (kTextFlags & ~gfx::DT_WORDBREAK) | gfx::DT_CALCRECT);
  if (r.Width() > maxWidth) {
    r = {0, 0, maxWidth, 0};
    gfx::DrawTextW(&dc, text, &r, kTextFlags | gfx::DT_CALCRECT);
  }
  // The border (one pixel each side) and the margins around the text.
  return {0, 0, r.Width() + 2 * (kMarginX + 1), r.Height() + 2 * (kMarginY + 1)};
}

void THintWindow::ActivateHint(const TRect& rect, const std::u16string& text) {
  SetCaption(text);
  SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height());
  HandleNeeded();
  SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetVisible(true);
  Invalidate();
}

void THintWindow::WndProc(TMessage& m) {
  // The tooltip never takes the activation or the focus away from the form under it.
  if (m.Msg == WM_MOUSEACTIVATE) {
    m.Result = MA_NOACTIVATE;
    return;
  }
  TCustomControl::WndProc(m);
}

void THintWindow::Paint() {
  TCanvas& c = Canvas();
  TRect r = ClientRect();
  r = {r.Left + kMarginX, r.Top + kMarginY, r.Right - kMarginX, r.Bottom - kMarginY};
  c.BrushStyle = TBrushStyle::bsClear;
  c.TextRect(r, Caption(), kTextFlags);
}

}  // namespace fw
