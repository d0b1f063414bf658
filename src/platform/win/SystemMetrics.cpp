#include "platform/win/SystemMetrics.h"

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/win/WindowSystem.h"

namespace win {

using gfx::RGB;

int GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXSCREEN:
    case SM_CXFULLSCREEN:
      return detail::S().backend ? detail::TheBackend().DesktopRect().Width() : 0;
    case SM_CYSCREEN:
    case SM_CYFULLSCREEN:
      return detail::S().backend ? detail::TheBackend().DesktopRect().Height() : 0;
    case SM_CXMAXIMIZED:
      return GetSystemMetrics(SM_CXSCREEN) + 2 * GetSystemMetrics(SM_CXFRAME);
    case SM_CYMAXIMIZED:
      return GetSystemMetrics(SM_CYSCREEN) + 2 * GetSystemMetrics(SM_CYFRAME);
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB:
      return 17;
    case SM_CYCAPTION:
    case SM_CYSMCAPTION:
      return 23;
    case SM_CXBORDER:
    case SM_CYBORDER:
      return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
      return 3;
    case SM_CXFRAME:
    case SM_CYFRAME:
      return 4;
    case SM_CXEDGE:
    case SM_CYEDGE:
      return 2;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
      return 32;
    case SM_CXSMICON:
    case SM_CYSMICON:
      return 16;
    case SM_CYMENU:
      return 20;
    case SM_CXSIZE:
      return 36;
    case SM_CYSIZE:
      return 22;
    case SM_CXSMSIZE:
    case SM_CYSMSIZE:
      return 22;
    case SM_CXMENUSIZE:
    case SM_CYMENUSIZE:
      return 19;
    case SM_CXMIN:
      return 136;
    case SM_CYMIN:
      return 39;
    case SM_CXMINTRACK:
      return 136;
    case SM_CYMINTRACK:
      return 39;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
    case SM_CXDRAG:
    case SM_CYDRAG:
      return 4;
    case SM_CXPADDEDBORDER:
      return 0;
    case SM_SWAPBUTTON:
      return 0;
    case SM_MIDEASTENABLED:
      return detail::S().uiRightToLeft ? 1 : 0;
    default:
      return 0;
  }
}

void SetUIRightToLeft(bool rightToLeft) {
  detail::S().uiRightToLeft = rightToLeft;
}

namespace {

// The platform's standard colour scheme.
constexpr std::array<gfx::COLORREF, 31> kColors = {
    RGB(200, 200, 200),  // COLOR_SCROLLBAR
    RGB(0, 0, 0),        // COLOR_BACKGROUND
    RGB(153, 180, 209),  // COLOR_ACTIVECAPTION
    RGB(191, 205, 219),  // COLOR_INACTIVECAPTION
    RGB(240, 240, 240),  // COLOR_MENU
    RGB(255, 255, 255),  // COLOR_WINDOW
    RGB(100, 100, 100),  // COLOR_WINDOWFRAME
    RGB(0, 0, 0),        // COLOR_MENUTEXT
    RGB(0, 0, 0),        // COLOR_WINDOWTEXT
    RGB(0, 0, 0),        // COLOR_CAPTIONTEXT
    RGB(180, 180, 180),  // COLOR_ACTIVEBORDER
    RGB(244, 247, 252),  // COLOR_INACTIVEBORDER
    RGB(171, 171, 171),  // COLOR_APPWORKSPACE
    RGB(0, 120, 215),    // COLOR_HIGHLIGHT
    RGB(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
    RGB(240, 240, 240),  // COLOR_BTNFACE
    RGB(160, 160, 160),  // COLOR_BTNSHADOW
    RGB(109, 109, 109),  // COLOR_GRAYTEXT
    RGB(0, 0, 0),        // COLOR_BTNTEXT
    RGB(0, 0, 0),        // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // COLOR_BTNHIGHLIGHT
    RGB(105, 105, 105),  // COLOR_3DDKSHADOW
    RGB(227, 227, 227),  // COLOR_3DLIGHT
    RGB(0, 0, 0),        // COLOR_INFOTEXT
    RGB(255, 255, 225),  // COLOR_INFOBK
    RGB(0, 0, 0),        // 25, unused
    RGB(0, 102, 204),    // COLOR_HOTLIGHT
    RGB(185, 209, 234),  // COLOR_GRADIENTACTIVECAPTION
    RGB(215, 228, 242),  // COLOR_GRADIENTINACTIVECAPTION
    RGB(0, 120, 215),    // COLOR_MENUHILIGHT
    RGB(240, 240, 240),  // COLOR_MENUBAR
};

const std::array<Brush, kColors.size()>& SysBrushes() {
  static const auto brushes = [] {
    std::array<Brush, kColors.size()> b{};
    for (std::size_t i = 0; i < b.size(); ++i) b[i] = {kColors[i], int(i)};
    return b;
  }();
  return brushes;
}

// Solid brushes are made and freed from any thread.
std::mutex& SolidBrushesLock() {
  static std::mutex lock;
  return lock;
}

std::vector<std::unique_ptr<Brush>>& SolidBrushes() {
  static std::vector<std::unique_ptr<Brush>> brushes;
  return brushes;
}

std::atomic<TGetSysColorProc> gGetSysColor{nullptr};
std::atomic<TGetSysColorBrushProc> gGetSysColorBrush{nullptr};

}  // namespace

gfx::COLORREF DefGetSysColor(int index) {
  return index >= 0 && index < int(kColors.size()) ? kColors[std::size_t(index)] : 0;
}

gfx::COLORREF GetSysColor(int index) {
  const TGetSysColorProc proc = gGetSysColor.load();
  return proc ? proc(index) : DefGetSysColor(index);
}

HBRUSH DefGetSysColorBrush(int index) {
  return index >= 0 && index < int(kColors.size()) ? &SysBrushes()[std::size_t(index)] : nullptr;
}

HBRUSH GetSysColorBrush(int index) {
  const TGetSysColorBrushProc proc = gGetSysColorBrush.load();
  return proc ? proc(index) : DefGetSysColorBrush(index);
}

TGetSysColorProc SetGetSysColorProc(TGetSysColorProc proc) {
  return gGetSysColor.exchange(proc);
}

TGetSysColorBrushProc SetGetSysColorBrushProc(TGetSysColorBrushProc proc) {
  return gGetSysColorBrush.exchange(proc);
}

HBRUSH SysColorBrushFromClassValue(std::uintptr_t value) {
  if (value > 0 && value <= kColors.size()) return DefGetSysColorBrush(int(value) - 1);
  return reinterpret_cast<HBRUSH>(value);
}

HBRUSH CreateSolidBrush(gfx::COLORREF color) {
  auto b = std::make_unique<Brush>();
  b->color = color;
  const std::lock_guard lock(SolidBrushesLock());
  SolidBrushes().push_back(std::move(b));
  return SolidBrushes().back().get();
}

std::size_t SolidBrushCount() {
  const std::lock_guard lock(SolidBrushesLock());
  return SolidBrushes().size();
}

bool DeleteBrush(HBRUSH brush) {
  const std::lock_guard lock(SolidBrushesLock());
  auto& list = SolidBrushes();
  for (auto it = list.begin(); it != list.end(); ++it)
    if (it->get() == brush) {
      list.erase(it);
      return true;
    }
  return false;
}

gfx::COLORREF BrushColor(HBRUSH brush) {
  return brush ? brush->color : 0;
}

HCURSOR LoadCursorW(int id) {
  static const std::array<std::pair<int, Cursor>, 14> cursors = {{
      {IDC_ARROW, {CursorKind::Arrow}},
      {IDC_IBEAM, {CursorKind::IBeam}},
      {IDC_WAIT, {CursorKind::Wait}},
      {IDC_CROSS, {CursorKind::Cross}},
      {IDC_UPARROW, {CursorKind::UpArrow}},
      {IDC_SIZENWSE, {CursorKind::SizeNWSE}},
      {IDC_SIZENESW, {CursorKind::SizeNESW}},
      {IDC_SIZEWE, {CursorKind::SizeWE}},
      {IDC_SIZENS, {CursorKind::SizeNS}},
      {IDC_SIZEALL, {CursorKind::SizeAll}},
      {IDC_NO, {CursorKind::No}},
      {IDC_HAND, {CursorKind::Hand}},
      {IDC_APPSTARTING, {CursorKind::AppStarting}},
      {IDC_HELP, {CursorKind::Help}},
  }};
  for (const auto& [key, cursor] : cursors)
    if (key == id) return &cursor;
  return nullptr;
}

namespace {

// The default application icon: a small window with a blue caption on a transparent ground.
gfx::HICON MakeApplicationIcon() {
  constexpr int kSize = 32;
  auto color = std::make_shared<gfx::Bitmap>(kSize, kSize);
  auto mask = std::make_shared<gfx::Bitmap8>(kSize, kSize);
  color->Fill(0);
  mask->Fill(255);
  for (int y = 4; y < 28; ++y)
    for (int x = 2; x < 30; ++x) {
      bool edge = x == 2 || x == 29 || y == 4 || y == 27;
      gfx::COLORREF c = edge ? RGB(64, 64, 64) : y < 10 ? RGB(0, 120, 215) : RGB(255, 255, 255);
      color->Set(x, y, gfx::PixelFromColor(c, 255));
      mask->Set(x, y, 0);
    }
  gfx::ICONINFO ii;
  ii.hbmColor = color;
  ii.hbmMask = mask;
  return gfx::CreateIconIndirect(ii);
}

}  // namespace

gfx::HICON LoadIconW(int id) {
  if (id != IDI_APPLICATION) return nullptr;
  static gfx::HICON icon = nullptr;
  gfx::ICONINFO probe;
  if (!gfx::GetIconInfo(icon, &probe)) icon = MakeApplicationIcon();
  return icon;
}

UINT GetDoubleClickTime() {
  return 500;
}

}  // namespace win
