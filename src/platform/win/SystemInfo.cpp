#include "platform/win/SystemInfo.h"

#include <vector>

#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Window.h"
#include "platform/win/WindowSystem.h"

namespace win {

bool GetVersionExW(OSVERSIONINFOW* info) {
  if (!info) return false;
  *info = OSVERSIONINFOW{};
  info->dwMajorVersion = 6;
  info->dwMinorVersion = 2;
  info->dwBuildNumber = 9200;
  info->dwPlatformId = VER_PLATFORM_WIN32_NT;
  return true;
}

bool IsAppThemed() {
  return false;
}

HRESULT DwmIsCompositionEnabled(bool* enabled) {
  if (!enabled) return E_INVALIDARG;
  *enabled = false;
  return S_OK;
}

int GetDeviceCaps(gfx::HDC dc, int index) {
  if (!dc) return 0;
  switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY:
      return 96;
    case BITSPIXEL:
      return 32;
    case PLANES:
      return 1;
    case HORZRES:
      return GetSystemMetrics(SM_CXSCREEN);
    case VERTRES:
      return GetSystemMetrics(SM_CYSCREEN);
    default:
      return 0;
  }
}

bool SystemParametersInfoW(UINT action, UINT /*uiParam*/, void* pvParam, UINT winIni) {
  if (!detail::S().backend) return false;
  if (action == SPI_SETWORKAREA) {
    const RECT desk = detail::TheBackend().DesktopRect();
    const RECT area = pvParam ? *static_cast<const RECT*>(pvParam) : desk;
    if (area.IsEmpty() || area.Left < desk.Left || area.Top < desk.Top || area.Right > desk.Right ||
        area.Bottom > desk.Bottom)
      return false;
    detail::S().workArea = area;
    if (winIni & SPIF_SENDCHANGE) {
      // Windows made or destroyed by a receiver do not disturb the round.
      std::vector<HWND> tops;
      EnumWindows(
          [&tops](HWND h, LPARAM) {
            tops.push_back(h);
            return true;
          },
          0);
      for (HWND h : tops)
        if (IsWindow(h)) SendMessageW(h, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
    }
    return true;
  }
  if (!pvParam) return false;
  switch (action) {
    case SPI_GETWORKAREA: {
      // A work area set on another desktop size does not outlive it.
      const RECT desk = detail::TheBackend().DesktopRect();
      const RECT& area = detail::S().workArea;
      *static_cast<RECT*>(pvParam) =
          area.IsEmpty() || area.Right > desk.Right || area.Bottom > desk.Bottom ? desk : area;
      return true;
    }
    case SPI_GETNONCLIENTMETRICS: {
      NONCLIENTMETRICSW m;
      m.iBorderWidth = GetSystemMetrics(SM_CXFRAME) - GetSystemMetrics(SM_CXDLGFRAME);
      m.iScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
      m.iScrollHeight = GetSystemMetrics(SM_CYHSCROLL);
      m.iCaptionWidth = GetSystemMetrics(SM_CXSIZE);
      m.iCaptionHeight = GetSystemMetrics(SM_CYSIZE);
      m.iSmCaptionWidth = GetSystemMetrics(SM_CXSMSIZE);
      m.iSmCaptionHeight = GetSystemMetrics(SM_CYSMSIZE);
      m.iMenuWidth = GetSystemMetrics(SM_CXMENUSIZE);
      m.iMenuHeight = GetSystemMetrics(SM_CYMENUSIZE);
      m.iPaddedBorderWidth = GetSystemMetrics(SM_CXPADDEDBORDER);
      gfx::LOGFONTW font;
      font.lfHeight = -12;
      font.lfFaceName = u"Segoe UI";
      m.lfCaptionFont = m.lfSmCaptionFont = m.lfMenuFont = m.lfStatusFont = m.lfMessageFont = font;
      *static_cast<NONCLIENTMETRICSW*>(pvParam) = m;
      return true;
    }
    default:
      return false;
  }
}

}  // namespace win
