#include "platform/win/NonClient.h"

#include <algorithm>

#include "platform/win/MenuWindow.h"
#include "platform/win/Messages.h"
#include "platform/win/Paint.h"
#include "platform/win/ScrollInfo.h"
#include "platform/win/Styles.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/WindowSystem.h"

namespace win {

using namespace detail;

namespace {

int BorderWidth(DWORD style, DWORD exStyle) {
  if (style & WS_THICKFRAME) return GetSystemMetrics(SM_CXFRAME);
  if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME))
    return GetSystemMetrics(SM_CXDLGFRAME);
  if (style & WS_BORDER) return GetSystemMetrics(SM_CXBORDER);
  return 0;
}

int EdgeWidth(DWORD exStyle) {
  return ((exStyle & WS_EX_CLIENTEDGE) ? GetSystemMetrics(SM_CXEDGE) : 0) +
         ((exStyle & WS_EX_STATICEDGE) ? GetSystemMetrics(SM_CXBORDER) : 0);
}

int CaptionHeight(DWORD style, DWORD exStyle) {
  if ((style & WS_CAPTION) != WS_CAPTION) return 0;
  return GetSystemMetrics((exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
}

// The frame layout of a window rectangle of the given size, for the given styles, with a
// menu bar of menuRows rows (0: none).
FrameLayout Layout(DWORD style, DWORD exStyle, int menuRows, int width, int height) {
  FrameLayout f;
  f.border = BorderWidth(style, exStyle);
  f.edge = EdgeWidth(exStyle);
  int cap = CaptionHeight(style, exStyle);
  int b = f.border;
  if (cap) {
    f.caption = {b, b, width - b, b + cap};
    bool tool = exStyle & WS_EX_TOOLWINDOW;
    int bh = cap - 4;
    int bw = tool ? bh : GetSystemMetrics(SM_CXSIZE) - 10;
    int top = b + 2;
    int right = width - b - 2;
    if (style & WS_SYSMENU) {
      f.closeButton = {right - bw, top, right, top + bh};
      right -= bw + 2;
      if (!tool && (style & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX))) {
        f.maxButton = {right - bw, top, right, top + bh};
        f.minButton = {right - 2 * bw, top, right - bw, top + bh};
      }
      if (!tool) {
        int icon = GetSystemMetrics(SM_CXSMICON);
        f.sysMenuButton = RectOfSize(b + 2, b + (cap - icon) / 2, icon, icon);
      }
    }
  }
  int bar = menuRows * GetSystemMetrics(SM_CYMENU);
  if (menuRows > 0) f.menuBar = {b, b + cap, width - b, b + cap + bar};
  int inset = b + f.edge;
  f.client = {inset, b + cap + bar + f.edge, width - inset, height - inset};
  if ((style & WS_VSCROLL) && f.client.Width() >= GetSystemMetrics(SM_CXVSCROLL)) {
    if (exStyle & WS_EX_LEFTSCROLLBAR)
      f.client.Left += GetSystemMetrics(SM_CXVSCROLL);
    else
      f.client.Right -= GetSystemMetrics(SM_CXVSCROLL);
  }
  if ((style & WS_HSCROLL) && f.client.Height() >= GetSystemMetrics(SM_CYHSCROLL))
    f.client.Bottom -= GetSystemMetrics(SM_CYHSCROLL);
  f.client.Right = std::max(f.client.Left, f.client.Right);
  f.client.Bottom = std::max(f.client.Top, f.client.Bottom);
  return f;
}

}  // namespace

FrameLayout GetFrameLayout(HWND hwnd) {
  Window* w = FindReal(hwnd);
  if (!w) return {};
  return Layout(w->style, w->exStyle, MenuRows(*w), w->rect.Width(), w->rect.Height());
}

namespace detail {

bool HasMenuBar(const Window& w) {
  return !(w.style & WS_CHILD) && w.menu && IsMenu(w.menu);
}

int MenuRows(const Window& w) {
  return HasMenuBar(w) ? std::max(1, w.menuRows) : 0;
}

void CountMenuRows(HWND hwnd, int windowWidth) {
  Window* w = FindReal(hwnd);
  if (!w || !HasMenuBar(*w)) return;
  const int border = BorderWidth(w->style, w->exStyle);
  const int rows = MenuBarRows(hwnd, std::max(0, windowWidth - 2 * border));
  if ((w = FindReal(hwnd))) w->menuRows = rows;
}

gfx::HICON CaptionIcon(const Window& w) {
  return w.iconSmall ? w.iconSmall : w.iconBig ? w.iconBig : LoadIconW(IDI_APPLICATION);
}

RECT DefaultClientRect(const Window& w, const RECT& r) {
  if (w.style & WS_MINIMIZE) return {r.Left, r.Top, r.Left, r.Top};
  RECT c = Layout(w.style, w.exStyle, MenuRows(w), r.Width(), r.Height()).client;
  return c.Offset(r.Left, r.Top);
}

void RecalcClient(HWND hwnd) {
  Window* w = FindReal(hwnd);
  if (!w) return;
  RECT r = w->rect;
  Deliver(hwnd, WM_NCCALCSIZE, 0, reinterpret_cast<LPARAM>(&r));
  if (!(w = FindReal(hwnd))) return;
  RECT c = r.Offset(-w->rect.Left, -w->rect.Top);
  c.Right = std::max(c.Left, c.Right);
  c.Bottom = std::max(c.Top, c.Bottom);
  w->client = c;
}

LRESULT DefaultHitTest(HWND hwnd, POINT screen) {
  Window* w = FindReal(hwnd);
  if (!w) return HTNOWHERE;
  RECT wr = WindowRectOnScreen(*w);
  if (!wr.Contains(screen)) return HTNOWHERE;
  POINT p{screen.X - wr.Left, screen.Y - wr.Top};
  if (w->style & WS_MINIMIZE) return HTCAPTION;
  if (w->client.Contains(p)) return HTCLIENT;
  FrameLayout f = Layout(w->style, w->exStyle, MenuRows(*w), wr.Width(), wr.Height());
  ScrollBarLayout v = GetScrollBarLayout(hwnd, SB_VERT);
  ScrollBarLayout h = GetScrollBarLayout(hwnd, SB_HORZ);
  if (v.visible && v.bar.Contains(p)) return HTVSCROLL;
  if (h.visible && h.bar.Contains(p)) return HTHSCROLL;
  if (v.visible && h.visible && RECT{v.bar.Left, h.bar.Top, v.bar.Right, h.bar.Bottom}.Contains(p))
    return (w->style & WS_THICKFRAME) ? HTBOTTOMRIGHT : HTSIZE;
  if (f.menuBar.Contains(p)) return HTMENU;
  if (f.caption.Contains(p)) {
    if (f.closeButton.Contains(p)) return HTCLOSE;
    if (f.maxButton.Contains(p)) return HTMAXBUTTON;
    if (f.minButton.Contains(p)) return HTMINBUTTON;
    if (f.sysMenuButton.Contains(p)) return HTSYSMENU;
    return HTCAPTION;
  }
  int b = f.border;
  bool inFrame = p.X < b || p.Y < b || p.X >= wr.Width() - b || p.Y >= wr.Height() - b;
  if (inFrame && (w->style & WS_THICKFRAME) && !(w->style & WS_MAXIMIZE)) {
    int corner = GetSystemMetrics(SM_CYCAPTION) + b;
    bool left = p.X < corner, right = p.X >= wr.Width() - corner;
    bool top = p.Y < corner, bottom = p.Y >= wr.Height() - corner;
    if (p.Y < b) return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
    if (p.Y >= wr.Height() - b) return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
    if (p.X < b) return top ? HTTOPLEFT : bottom ? HTBOTTOMLEFT : HTLEFT;
    return top ? HTTOPRIGHT : bottom ? HTBOTTOMRIGHT : HTRIGHT;
  }
  return HTBORDER;
}

}  // namespace detail

namespace {

using gfx::COLORREF;

void Fill(HDC dc, const RECT& r, int color) {
  gfx::FillRect(dc, r, GetSysColor(color));
}

void Line(HDC dc, int x0, int y0, int x1, int y1, COLORREF c) {
  gfx::SetDCPenColor(dc, c);
  gfx::MoveToEx(dc, x0, y0, nullptr);
  gfx::LineTo(dc, x1, y1);
}

// A raised button face with a one-pixel light and dark edge.
void RaisedBox(HDC dc, const RECT& r) {
  if (r.IsEmpty()) return;
  Fill(dc, r, COLOR_BTNFACE);
  COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), dark = GetSysColor(COLOR_BTNSHADOW);
  Line(dc, r.Left, r.Bottom - 1, r.Left, r.Top, light);
  Line(dc, r.Left, r.Top, r.Right - 1, r.Top, light);
  Line(dc, r.Right - 1, r.Top, r.Right - 1, r.Bottom - 1, dark);
  Line(dc, r.Right - 1, r.Bottom - 1, r.Left - 1, r.Bottom - 1, dark);
}

// A small filled triangle pointing in a direction (0 up, 1 down, 2 left, 3 right).
void Arrow(HDC dc, const RECT& r, int dir, bool enabled) {
  int cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2, s = std::max(2, r.Width() / 5);
  POINT pts[3];
  switch (dir) {
    case 0:
      pts[0] = {cx - s, cy + s / 2};
      pts[1] = {cx + s, cy + s / 2};
      pts[2] = {cx, cy - s / 2 - 1};
      break;
    case 1:
      pts[0] = {cx - s, cy - s / 2};
      pts[1] = {cx + s, cy - s / 2};
      pts[2] = {cx, cy + s / 2 + 1};
      break;
    case 2:
      pts[0] = {cx + s / 2, cy - s};
      pts[1] = {cx + s / 2, cy + s};
      pts[2] = {cx - s / 2 - 1, cy};
      break;
    default:
      pts[0] = {cx - s / 2, cy - s};
      pts[1] = {cx - s / 2, cy + s};
      pts[2] = {cx + s / 2 + 1, cy};
      break;
  }
  COLORREF c = GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
  gfx::SetDCBrushColor(dc, c);
  gfx::SetDCPenColor(dc, c);
  gfx::Polygon(dc, pts, 3);
}

void DrawScrollBar(HWND hwnd, HDC dc, int bar) {
  ScrollBarLayout l = GetScrollBarLayout(hwnd, bar);
  if (!l.visible) return;
  Fill(dc, l.bar, COLOR_SCROLLBAR);
  SCROLLINFO si;
  si.fMask = SIF_ALL;
  GetScrollInfo(hwnd, bar, &si);
  bool active = !l.thumb.IsEmpty();
  RaisedBox(dc, l.before);
  RaisedBox(dc, l.after);
  bool vert = bar == SB_VERT;
  Arrow(dc, l.before, vert ? 0 : 2, active);
  Arrow(dc, l.after, vert ? 1 : 3, active);
  RaisedBox(dc, l.thumb);
}

}  // namespace

void DrawCaptionButton(HDC dc, const RECT& r, LRESULT kind, bool maximized) {
  if (r.IsEmpty()) return;
  RaisedBox(dc, r);
  COLORREF c = GetSysColor(COLOR_BTNTEXT);
  int cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2, s = std::max(3, r.Height() / 4);
  switch (kind) {
    case HTCLOSE:
      Line(dc, cx - s, cy - s, cx + s + 1, cy + s + 1, c);
      Line(dc, cx + s, cy - s, cx - s - 1, cy + s + 1, c);
      break;
    case HTMAXBUTTON: {
      RECT box{cx - s, cy - s, cx + s + 1, cy + s + 1};
      if (maximized) box = box.Offset(1, 1);
      Line(dc, box.Left, box.Top, box.Right, box.Top, c);
      Line(dc, box.Left, box.Top + 1, box.Right, box.Top + 1, c);
      Line(dc, box.Left, box.Top, box.Left, box.Bottom, c);
      Line(dc, box.Right - 1, box.Top, box.Right - 1, box.Bottom, c);
      Line(dc, box.Left, box.Bottom - 1, box.Right, box.Bottom - 1, c);
      break;
    }
    default:
      Line(dc, cx - s, cy + s, cx + s + 1, cy + s, c);
      Line(dc, cx - s, cy + s - 1, cx + s + 1, cy + s - 1, c);
      break;
  }
}

void DrawDefaultFrame(HWND hwnd, HDC dc, bool active) {
  Window* w = detail::FindReal(hwnd);
  if (!w || !dc) return;
  gfx::HICON icon = CaptionIcon(*w);
  int width = w->rect.Width(), height = w->rect.Height();
  FrameLayout f = GetFrameLayout(hwnd);
  RECT client = w->client;
  std::u16string text = w->text;
  bool maximized = w->style & WS_MAXIMIZE;
  int saved = gfx::SaveDC(dc);
  gfx::ExcludeClipRect(dc, client.Left, client.Top, client.Right, client.Bottom);
  RECT all{0, 0, width, height};
  if (f.border > 0) {
    // Only the border band: what lies inside it (scroll bars, a wrapper's own bars) is not
    // the frame's to paint.
    int band = gfx::SaveDC(dc);
    gfx::ExcludeClipRect(dc, f.border, f.border, width - f.border, height - f.border);
    Fill(dc, all, active ? COLOR_ACTIVEBORDER : COLOR_INACTIVEBORDER);
    gfx::RestoreDC(dc, band);
    COLORREF edge = GetSysColor(COLOR_WINDOWFRAME);
    Line(dc, 0, 0, width - 1, 0, edge);
    Line(dc, width - 1, 0, width - 1, height - 1, edge);
    Line(dc, width - 1, height - 1, 0, height - 1, edge);
    Line(dc, 0, height - 1, 0, 0, edge);
  }
  if (f.edge > 0) {
    RECT e{f.border, f.caption.IsEmpty() ? f.border : f.caption.Bottom, width - f.border,
           height - f.border};
    COLORREF dark = GetSysColor(COLOR_BTNSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT);
    for (int i = 0; i < f.edge; ++i) {
      Line(dc, e.Left + i, e.Bottom - 1 - i, e.Left + i, e.Top + i, dark);
      Line(dc, e.Left + i, e.Top + i, e.Right - 1 - i, e.Top + i, dark);
      Line(dc, e.Right - 1 - i, e.Top + i, e.Right - 1 - i, e.Bottom - 1 - i, light);
      Line(dc, e.Right - 1 - i, e.Bottom - 1 - i, e.Left + i, e.Bottom - 1 - i, light);
    }
  }
  if (!f.caption.IsEmpty()) {
    Fill(dc, f.caption, active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    DrawCaptionButton(dc, f.closeButton, HTCLOSE, maximized);
    DrawCaptionButton(dc, f.maxButton, HTMAXBUTTON, maximized);
    DrawCaptionButton(dc, f.minButton, HTMINBUTTON, maximized);
    if (!f.sysMenuButton.IsEmpty())
      gfx::DrawIconEx(dc, f.sysMenuButton.Left, f.sysMenuButton.Top, icon, f.sysMenuButton.Width(),
                      f.sysMenuButton.Height(), gfx::DI_NORMAL);
    RECT textRect = f.caption;
    textRect.Left = (f.sysMenuButton.IsEmpty() ? f.caption.Left : f.sysMenuButton.Right) + 4;
    for (const RECT& b : {f.closeButton, f.maxButton, f.minButton})
      if (!b.IsEmpty()) textRect.Right = std::min(textRect.Right, b.Left - 2);
    gfx::SetBkMode(dc, gfx::TRANSPARENT);
    gfx::SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    gfx::DrawTextW(dc, text, &textRect,
                   gfx::DT_SINGLELINE | gfx::DT_VCENTER | gfx::DT_END_ELLIPSIS | gfx::DT_NOPREFIX);
  }
  if (!f.menuBar.IsEmpty()) DrawMenuBarItems(hwnd, dc, f.menuBar);
  DrawScrollBar(hwnd, dc, SB_VERT);
  DrawScrollBar(hwnd, dc, SB_HORZ);
  ScrollBarLayout v = GetScrollBarLayout(hwnd, SB_VERT), h = GetScrollBarLayout(hwnd, SB_HORZ);
  if (v.visible && h.visible)
    Fill(dc, RECT{v.bar.Left, h.bar.Top, v.bar.Right, h.bar.Bottom}, COLOR_BTNFACE);
  gfx::RestoreDC(dc, saved);
}

}  // namespace win
