// What the system reports about itself. These are fixed decisions the layers above branch on:
// the system is version 6.2 of the NT line (the "version 8" of its family), visual styles and
// desktop composition are off, and the screen has 96 dots per inch; the non-client metrics
// follow the system metrics, and the work area is the whole desktop (there is no task bar)
// unless a program sets a smaller one.
#pragma once

#include <cstdint>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Font.h"
#include "platform/win/Types.h"

namespace win {

using HRESULT = std::int32_t;
constexpr HRESULT S_OK = 0;
constexpr HRESULT E_INVALIDARG = HRESULT(0x80070057);

// The version record of GetVersionExW.
struct OSVERSIONINFOW {
  DWORD dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
  DWORD dwMajorVersion = 0;
  DWORD dwMinorVersion = 0;
  DWORD dwBuildNumber = 0;
  DWORD dwPlatformId = 0;
  char16_t szCSDVersion[128] = {};  // the service pack; empty
};
constexpr DWORD VER_PLATFORM_WIN32_NT = 2;
// Fills 6.2, build 9200, VER_PLATFORM_WIN32_NT; false for a null record.
bool GetVersionExW(OSVERSIONINFOW* info);

// Visual styles are never in use: windows and controls draw in the classic look.
bool IsAppThemed();

// Desktop composition is never on: *enabled is set to false. E_INVALIDARG for a null pointer.
HRESULT DwmIsCompositionEnabled(bool* enabled);

// GetDeviceCaps indexes.
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int BITSPIXEL = 12;
constexpr int PLANES = 14;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
// A device's capability. Every device context draws for the screen: 96 dots per inch, 32 bits
// a pixel in one plane, the desktop's size. 0 for a null dc or an unknown index.
int GetDeviceCaps(gfx::HDC dc, int index);

// What SPI_GETNONCLIENTMETRICS fills; sizes as GetSystemMetrics gives them, every font the
// system's "Segoe UI" at 9 points (-12 pixels at 96 dots per inch).
struct NONCLIENTMETRICSW {
  UINT cbSize = sizeof(NONCLIENTMETRICSW);
  int iBorderWidth = 0;  // the sizing border beyond the fixed frame
  int iScrollWidth = 0;
  int iScrollHeight = 0;
  int iCaptionWidth = 0;  // caption buttons
  int iCaptionHeight = 0;
  gfx::LOGFONTW lfCaptionFont;
  int iSmCaptionWidth = 0;
  int iSmCaptionHeight = 0;
  gfx::LOGFONTW lfSmCaptionFont;
  int iMenuWidth = 0;
  int iMenuHeight = 0;
  gfx::LOGFONTW lfMenuFont;
  gfx::LOGFONTW lfStatusFont;
  gfx::LOGFONTW lfMessageFont;
  int iPaddedBorderWidth = 0;
};

// SystemParametersInfoW actions.
constexpr UINT SPI_GETNONCLIENTMETRICS = 0x0029;  // pvParam: NONCLIENTMETRICSW*
// pvParam: RECT*, screen coordinates, inside the desktop and not empty; null: back to the
// whole desktop.
constexpr UINT SPI_SETWORKAREA = 0x002F;
constexpr UINT SPI_GETWORKAREA = 0x0030;  // pvParam: RECT*, screen coordinates
// SystemParametersInfoW winIni flags: SPIF_SENDCHANGE sends WM_SETTINGCHANGE (wParam the
// action, lParam 0) to every top-level window after a change.
constexpr UINT SPIF_UPDATEINIFILE = 0x0001;
constexpr UINT SPIF_SENDCHANGE = 0x0002;
// Answers the actions above; false for another action, a null pvParam where one is needed, a
// work area outside the desktop, or no backend. The work area is the whole desktop until set.
bool SystemParametersInfoW(UINT action, UINT uiParam, void* pvParam, UINT winIni);

}  // namespace win
