#include "platform/win/VirtualDesktop.h"

#include <algorithm>

#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Window.h"
#include "platform/win/WindowSystem.h"

namespace win {

namespace {

// x * a / 255, rounded.
std::uint32_t MulDiv255(std::uint32_t x, std::uint32_t a) {
  std::uint32_t t = x * a + 128;
  return (t + (t >> 8)) >> 8;
}

// Premultiplied source over an opaque destination.
gfx::Pixel Over(gfx::Pixel src, gfx::Pixel dst) {
  std::uint32_t inv = 255 - gfx::PixelA(src);
  auto channel = [&](std::uint8_t s, std::uint8_t d) {
    return std::uint8_t(std::min<std::uint32_t>(255, s + MulDiv255(d, inv)));
  };
  return gfx::MakePixel(channel(gfx::PixelB(src), gfx::PixelB(dst)),
                        channel(gfx::PixelG(src), gfx::PixelG(dst)),
                        channel(gfx::PixelR(src), gfx::PixelR(dst)), 255);
}

// A pixel as premultiplied source with the window's constant opacity applied.
gfx::Pixel Source(gfx::Pixel p, bool perPixel, std::uint32_t opacity) {
  std::uint32_t a = perPixel ? gfx::PixelA(p) : 255;
  return gfx::MakePixel(std::uint8_t(MulDiv255(gfx::PixelB(p), opacity)),
                        std::uint8_t(MulDiv255(gfx::PixelG(p), opacity)),
                        std::uint8_t(MulDiv255(gfx::PixelR(p), opacity)),
                        std::uint8_t(MulDiv255(a, opacity)));
}

}  // namespace

VirtualDesktop::VirtualDesktop(int width, int height) : width_(width), height_(height) {
  AttachBackend(this);
}

VirtualDesktop::~VirtualDesktop() {
  DetachBackend();
}

void VirtualDesktop::WaitForInput(std::optional<DWORD> deadline) {
  if (!scheduled_.empty() && (!deadline || int(scheduled_.front().at - *deadline) <= 0)) {
    Scheduled next = std::move(scheduled_.front());
    scheduled_.erase(scheduled_.begin());
    if (int(next.at - clock_) > 0) clock_ = next.at;
    next.action();
    return;
  }
  if (!deadline) throw WindowError("the message loop waits for input that can never come");
  if (int(*deadline - clock_) > 0) clock_ = *deadline;
}

void VirtualDesktop::Schedule(DWORD ms, std::function<void()> action) {
  DWORD at = clock_ + ms;
  auto it = scheduled_.begin();
  while (it != scheduled_.end() && int(it->at - at) <= 0) ++it;
  scheduled_.insert(it, {at, std::move(action)});
}

void ComposeWindows(gfx::Bitmap& target, POINT origin, const std::function<bool(HWND)>& include) {
  std::vector<HWND> tops;
  EnumWindows([&](HWND h, LPARAM) { return tops.push_back(h), true; }, 0);
  for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
    if (!IsWindowVisible(*it) || !include(*it)) continue;
    SurfaceInfo s = GetWindowSurface(*it);
    RECT r;
    GetWindowRect(*it, &r);
    r = r.Offset(-origin.X, -origin.Y);
    const gfx::Bitmap& px = *s.pixels;
    bool plain = s.constantAlpha == 255 && !s.perPixelAlpha;
    int x0 = std::max(0, -r.Left), x1 = std::min(px.Width(), target.Width() - r.Left);
    for (int y = std::max(0, -r.Top); y < px.Height() && r.Top + y < target.Height(); ++y) {
      const gfx::Pixel* src = px.Row(y);
      gfx::Pixel* dstRow = target.Row(r.Top + y) + r.Left;
      for (int x = x0; x < x1; ++x) {
        if (s.region && !s.region->Contains({x, y})) continue;
        gfx::Pixel p = src[x];
        if (s.colorKey && gfx::ColorFromPixel(p) == s.key) continue;
        gfx::Pixel& dst = dstRow[x];
        dst = plain ? (p | 0xFF000000u) : Over(Source(p, s.perPixelAlpha, s.constantAlpha), dst);
      }
    }
  }
}

namespace {

gfx::Pixel DesktopPixel() {
  return gfx::PixelFromColor(GetSysColor(COLOR_BACKGROUND), 255);
}

}  // namespace

gfx::Bitmap ComposeArea(const RECT& area, const std::function<bool(HWND)>& include) {
  gfx::Bitmap screen(area.Width(), area.Height());
  screen.Fill(DesktopPixel());
  ComposeWindows(
      screen, {area.Left, area.Top}, include ? include : [](HWND) { return true; });
  // What was drawn on the screen's DC lies over everything as an exclusive-or layer.
  const detail::Window* desk = detail::Find(GetDesktopWindow());
  if (const gfx::Bitmap* layer = desk->surface.get()) {
    RECT d = desk->rect;
    RECT part = IntersectRects(area, d);
    for (int y = part.Top; y < part.Bottom; ++y) {
      const gfx::Pixel* src = layer->Row(y - d.Top) + (part.Left - d.Left);
      gfx::Pixel* dst = screen.Row(y - area.Top) + (part.Left - area.Left);
      for (int x = 0; x < part.Width(); ++x) dst[x] ^= src[x] & 0x00FFFFFFu;
    }
  }
  return screen;
}

gfx::Bitmap ComposeWindow(HWND hwnd) {
  RECT r;
  if (!IsWindowVisible(hwnd) || !GetWindowRect(hwnd, &r) || r.IsEmpty())
    throw WindowError("the window is not shown");
  gfx::Bitmap shot(r.Width(), r.Height());
  shot.Fill(DesktopPixel());
  ComposeWindows(shot, {r.Left, r.Top}, [hwnd](HWND h) { return h == hwnd; });
  return shot;
}

gfx::Bitmap VirtualDesktop::Compose() const {
  return ComposeArea({0, 0, width_, height_});
}

int VirtualDesktop::Pump() {
  int count = 0;
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(int(msg.wParam));
      break;
    }
    TranslateMessage(msg);
    DispatchMessageW(msg);
    ++count;
  }
  return count;
}

void VirtualDesktop::Advance(DWORD ms) {
  DWORD end = clock_ + ms;
  for (;;) {
    Pump();
    if (detail::S().quitPosted) break;
    std::optional<DWORD> next = detail::NextTimerDeadline(nullptr);
    if (!next || int(*next - end) > 0) break;
    if (int(*next - clock_) > 0) clock_ = *next;
  }
  if (int(end - clock_) > 0) clock_ = end;
  Pump();
}

}  // namespace win
