// The window system on show: two overlapping top-level windows on whichever backend the
// environment picks. The main window has the default frame and shows what is typed (F2
// switches between the US and the Russian layout); the second paints its own frame and
// caption and animates on a timer.
#include <cmath>
#include <cstdio>
#include <exception>
#include <string>

#include "platform/backend/Start.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Font.h"
#include "platform/win/Input.h"
#include "platform/win/KeyboardLayout.h"
#include "platform/win/Keys.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "platform/win/Timers.h"
#include "platform/win/Window.h"
#include "platform/win/WindowProc.h"

using namespace win;
using gfx::RGB;

namespace {

constexpr int kCaption = 28;  // the second window's own caption
constexpr int kBorder = 3;
constexpr int kCloseSize = 20;
constexpr UINT_PTR kAnimation = 1;
constexpr UINT kFrameMs = 40;

gfx::HFONT Font(int height, int weight = gfx::FW_NORMAL) {
  gfx::LOGFONTW lf;
  lf.lfFaceName = u"Tahoma";
  lf.lfHeight = height;
  lf.lfWeight = weight;
  return gfx::CreateFontIndirectW(lf);
}

struct Demo {
  HWND main = nullptr;
  HWND animated = nullptr;
  std::u16string typed;
  int frame = 0;
  gfx::HFONT text = Font(-16);
  gfx::HFONT bold = Font(-13, gfx::FW_BOLD);
};
Demo demo;

bool IsRussian() {
  return (reinterpret_cast<std::uintptr_t>(GetKeyboardLayout(0)) & 0xFFFF) == 0x0419;
}

void PaintMain(HWND h) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  RECT c;
  GetClientRect(h, &c);
  gfx::FillRect(dc, c, RGB(250, 248, 240));
  gfx::SetBkMode(dc, gfx::TRANSPARENT);
  gfx::SelectFont(dc, demo.bold);
  gfx::SetTextColor(dc, RGB(90, 60, 30));
  gfx::TextOutW(dc, 16, 14, u"Type here. F2 switches the keyboard layout.");
  gfx::SelectFont(dc, demo.text);
  gfx::SetTextColor(dc, RGB(0, 0, 0));
  std::u16string layout = IsRussian() ? u"Layout: Russian (ЙЦУКЕН)" : u"Layout: US (QWERTY)";
  gfx::TextOutW(dc, 16, 40, layout);
  RECT box{16, 72, c.Right - 16, 112};
  gfx::FillRect(dc, box, RGB(255, 255, 255));
  gfx::SetDCPenColor(dc, RGB(150, 150, 150));
  gfx::MoveToEx(dc, box.Left, box.Top, nullptr);
  gfx::LineTo(dc, box.Right - 1, box.Top);
  gfx::LineTo(dc, box.Right - 1, box.Bottom - 1);
  gfx::LineTo(dc, box.Left, box.Bottom - 1);
  gfx::LineTo(dc, box.Left, box.Top);
  RECT inner{box.Left + 8, box.Top, box.Right - 8, box.Bottom};
  gfx::DrawTextW(dc, demo.typed + u"|", &inner,
                 gfx::DT_SINGLELINE | gfx::DT_VCENTER | gfx::DT_NOPREFIX);
  EndPaint(h, &ps);
}

LRESULT MainProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  switch (m) {
    case WM_PAINT:
      PaintMain(h);
      return 0;
    case WM_CHAR:
      if (w == 0x08) {
        if (!demo.typed.empty()) demo.typed.pop_back();
      } else if (w >= 0x20) {
        demo.typed += char16_t(w);
      }
      InvalidateRect(h, nullptr, false);
      return 0;
    case WM_KEYDOWN:
      if (w == VK_F2) ActivateKeyboardLayout(HKL_NEXT, 0);
      return 0;
    case WM_INPUTLANGCHANGE:
      InvalidateRect(h, nullptr, false);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(h, m, w, l);
  }
}

RECT CloseButton(HWND h) {  // window coordinates
  RECT r;
  GetWindowRect(h, &r);
  int top = (kCaption - kCloseSize) / 2 + kBorder;
  return {r.Width() - kBorder - 4 - kCloseSize, top, r.Width() - kBorder - 4, top + kCloseSize};
}

void PaintFrame(HWND h) {
  HDC dc = GetWindowDC(h);
  RECT r;
  GetWindowRect(h, &r);
  int w = r.Width(), ht = r.Height();
  bool active = GetActiveWindow() == h;
  gfx::COLORREF edge = active ? RGB(40, 90, 160) : RGB(120, 130, 140);
  gfx::FillRect(dc, {0, 0, w, ht}, edge);
  // The caption: a vertical gradient of lines.
  for (int y = kBorder; y < kBorder + kCaption; ++y) {
    int t = (y - kBorder) * 255 / kCaption;
    gfx::COLORREF c = active ? RGB(70 - t / 8, 130 - t / 6, 210 - t / 5) : RGB(160, 168, 176);
    gfx::FillRect(dc, {kBorder, y, w - kBorder, y + 1}, c);
  }
  gfx::SetBkMode(dc, gfx::TRANSPARENT);
  gfx::SelectFont(dc, demo.bold);
  gfx::SetTextColor(dc, RGB(255, 255, 255));
  RECT title{kBorder + 10, kBorder, w - kBorder - 40, kBorder + kCaption};
  gfx::DrawTextW(dc, GetWindowTextW(h), &title, gfx::DT_SINGLELINE | gfx::DT_VCENTER);
  RECT x = CloseButton(h);
  gfx::FillRect(dc, x, RGB(200, 70, 60));
  gfx::SetDCPenColor(dc, RGB(255, 255, 255));
  for (int d = 0; d < 2; ++d) {
    gfx::MoveToEx(dc, x.Left + 5 + d, x.Top + 5, nullptr);
    gfx::LineTo(dc, x.Right - 5 + d, x.Bottom - 5);
    gfx::MoveToEx(dc, x.Right - 6 + d, x.Top + 5, nullptr);
    gfx::LineTo(dc, x.Left + 4 + d, x.Bottom - 5);
  }
  ReleaseDC(h, dc);
}

void PaintAnimation(HWND h) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  RECT c;
  GetClientRect(h, &c);
  gfx::FillRect(dc, c, RGB(20, 28, 40));
  // Twelve spokes turning, one lit brighter each frame.
  int cx = c.Width() / 2, cy = c.Height() / 2 - 10;
  for (int i = 0; i < 12; ++i) {
    double a = (i + demo.frame * 0.25) * 3.14159265 / 6;
    int lit = (12 + i - demo.frame % 12) % 12;
    int v = 255 - lit * 18;
    gfx::SetDCPenColor(dc, RGB(v, v * 3 / 4, 60));
    for (int d = -1; d <= 1; ++d) {
      gfx::MoveToEx(dc, cx + int(20 * std::cos(a)) + d, cy + int(20 * std::sin(a)), nullptr);
      gfx::LineTo(dc, cx + int(50 * std::cos(a)) + d, cy + int(50 * std::sin(a)));
    }
  }
  gfx::SetBkMode(dc, gfx::TRANSPARENT);
  gfx::SelectFont(dc, demo.text);
  gfx::SetTextColor(dc, RGB(220, 220, 220));
  RECT line{0, c.Height() - 34, c.Width(), c.Height() - 8};
  std::u16string caption = u"frame ";
  for (char ch : std::to_string(demo.frame)) caption += char16_t(ch);
  gfx::DrawTextW(dc, caption, &line, gfx::DT_SINGLELINE | gfx::DT_CENTER);
  EndPaint(h, &ps);
}

LRESULT AnimatedProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  switch (m) {
    case WM_NCCALCSIZE: {
      auto* r = w ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(l)->rgrc[0] : reinterpret_cast<RECT*>(l);
      *r = {r->Left + kBorder, r->Top + kBorder + kCaption, r->Right - kBorder,
            r->Bottom - kBorder};
      return 0;
    }
    case WM_NCPAINT:
      PaintFrame(h);
      return 0;
    case WM_NCACTIVATE:
      PaintFrame(h);
      return 1;
    case WM_NCHITTEST: {
      POINT p = PointFromLParam(l);
      RECT r;
      GetWindowRect(h, &r);
      POINT local{p.X - r.Left, p.Y - r.Top};
      if (!r.Contains(p)) return HTNOWHERE;
      if (CloseButton(h).Contains(local)) return HTCLOSE;
      if (local.Y < kBorder + kCaption) return HTCAPTION;
      RECT client{kBorder, kBorder + kCaption, r.Width() - kBorder, r.Height() - kBorder};
      return client.Contains(local) ? HTCLIENT : HTBORDER;
    }
    case WM_NCLBUTTONDOWN:
      if (LRESULT(w) == HTCLOSE) {
        DestroyWindow(h);
        return 0;
      }
      return DefWindowProcW(h, m, w, l);
    case WM_TIMER:
      ++demo.frame;
      InvalidateRect(h, nullptr, false);
      return 0;
    case WM_PAINT:
      PaintAnimation(h);
      return 0;
    default:
      return DefWindowProcW(h, m, w, l);
  }
}

void Register(const char16_t* name, WNDPROC proc) {
  WNDCLASSEXW wc;
  wc.lpfnWndProc = std::move(proc);
  wc.lpszClassName = name;
  wc.hCursor = LoadCursorW(IDC_ARROW);
  RegisterClassExW(wc);
}

}  // namespace

int main() {
  try {
    auto ui = backend::Start();
    Register(u"DemoMain", MakeWindowProc(MainProc));
    Register(u"DemoAnimated", MakeWindowProc(AnimatedProc));
    LoadKeyboardLayoutW(u"00000419", 0);
    demo.main = CreateWindowExW(0, u"DemoMain", u"UI demo: keyboard",
                                WS_OVERLAPPEDWINDOW | WS_VISIBLE, 80, 60, 560, 360, nullptr, 0);
    demo.animated = CreateWindowExW(0, u"DemoAnimated", u"Own frame and caption",
                                    WS_POPUP | WS_VISIBLE, 420, 240, 300, 240, demo.main, 0);
    SetTimer(demo.animated, kAnimation, kFrameMs, nullptr);
    SetActiveWindow(demo.main);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0)) {
      TranslateMessage(msg);
      DispatchMessageW(msg);
    }
    return int(msg.wParam);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "ui-demo: %s\n", e.what());
    return 1;
  }
}
