#include "platform/win/SystemInfo.h"

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <thread>

#include "Harness.h"
#include "platform/win/MulDiv.h"
#include "platform/win/Paint.h"
#include "platform/win/SystemBitmaps.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Timers.h"

namespace win::test {
namespace {

TEST(MulDiv, RoundsHalvesAwayFromZeroAndReportsOverflowAndZeroDivisors) {
  struct Case {
    int a, b, c, expected;
  } cases[] = {
      {7, 125, 100, 9},                      // 8.75
      {5, 150, 100, 8},                      // 7.5 up
      {-5, 150, 100, -8},                    // -7.5 away from zero
      {5, -150, 100, -8},                    //
      {5, 150, -100, -8},                    // a negative divisor
      {-5, -150, -100, -8},                  //
      {1, 1, 3, 0},                          // 0.33
      {2, 1, 3, 1},                          // 0.67
      {-1, 1, 2, -1},                        // -0.5
      {1, 1, 2, 1},                          // 0.5
      {0, 5, 7, 0},                          //
      {INT_MAX, INT_MAX, INT_MAX, INT_MAX},  // the product needs 62 bits
      {INT_MIN, 2, 4, INT_MIN / 2},          //
      {INT_MAX, 2, 1, -1},                   // overflow
      {INT_MIN, -1, 1, -1},                  // overflow by one
      {INT_MIN, 1, 1, INT_MIN},              // fits
      {100, 200, 0, -1},                     // no divisor
      {16, 96, 96, 16},                      //
  };
  for (const Case& c : cases)
    EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.a << " * " << c.b << " / " << c.c;
}

using System = WindowTest;

TEST(SystemBitmaps, TheCheckBoxSheetIsFourByThreeCellsOfThirteen) {
  EXPECT_EQ(LoadBitmap(nullptr, 32754), nullptr);  // no other system picture
  int module = 0;
  EXPECT_EQ(LoadBitmap(&module, OBM_CHECKBOXES), nullptr);
  BITMAP info;
  EXPECT_FALSE(GetObject(nullptr, &info));
  EXPECT_FALSE(DeleteObject(nullptr));
  const HBITMAP sheet = LoadBitmap(nullptr, OBM_CHECKBOXES);
  ASSERT_NE(sheet, nullptr);
  ASSERT_TRUE(GetObject(sheet, &info));
  EXPECT_EQ(info.bmWidth, 52);
  EXPECT_EQ(info.bmHeight, 39);
  auto sys = [](int index) { return gfx::PixelFromColor(GetSysColor(index), 255); };
  auto at = [&](int column, int row, int x, int y) {
    return sheet->At(column * 13 + x, row * 13 + y);
  };
  // Check boxes: sunken edges, a window-coloured face (button face when pressed), the mark.
  for (int column = 0; column < 4; ++column) {
    EXPECT_EQ(at(column, 0, 0, 0), sys(COLOR_BTNSHADOW)) << column;
    EXPECT_EQ(at(column, 0, 1, 1), sys(COLOR_3DDKSHADOW)) << column;
    EXPECT_EQ(at(column, 0, 12, 12), sys(COLOR_BTNHIGHLIGHT)) << column;
    EXPECT_EQ(at(column, 0, 11, 6), sys(COLOR_3DLIGHT)) << column;
    EXPECT_EQ(at(column, 0, 9, 9), sys(column >= 2 ? COLOR_BTNFACE : COLOR_WINDOW)) << column;
    EXPECT_EQ(at(column, 0, 5, 8), sys(column % 2    ? COLOR_WINDOWTEXT
                                       : column >= 2 ? COLOR_BTNFACE
                                                     : COLOR_WINDOW))
        << column;
    // Radio buttons: button face around the circle, a dot when checked.
    EXPECT_EQ(at(column, 1, 0, 0), sys(COLOR_BTNFACE)) << column;
    EXPECT_EQ(at(column, 1, 6, 6), sys(column % 2    ? COLOR_WINDOWTEXT
                                       : column >= 2 ? COLOR_BTNFACE
                                                     : COLOR_WINDOW))
        << column;
    // Three-state boxes: a grey mark on the button face.
    EXPECT_EQ(at(column, 2, 5, 8), sys(column % 2 ? COLOR_BTNSHADOW : COLOR_BTNFACE)) << column;
  }
  EXPECT_TRUE(DeleteObject(sheet));
}

TEST_F(System, ReportsVersionEightOfTheNtLineNoCompositionAndNinetySixDotsPerInch) {
  OSVERSIONINFOW v;
  ASSERT_TRUE(GetVersionExW(&v));
  EXPECT_EQ(v.dwMajorVersion, 6u);
  EXPECT_EQ(v.dwMinorVersion, 2u);
  EXPECT_EQ(v.dwPlatformId, VER_PLATFORM_WIN32_NT);
  bool composition = true;
  EXPECT_EQ(DwmIsCompositionEnabled(&composition), S_OK);
  EXPECT_FALSE(composition);
  EXPECT_EQ(DwmIsCompositionEnabled(nullptr), E_INVALIDARG);
  EXPECT_FALSE(IsAppThemed());
  HWND h = Top();
  HDC dc = GetDC(h);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 96);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 96);
  EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 1280);
  EXPECT_EQ(GetDeviceCaps(dc, VERTRES), 1024);
  ReleaseDC(h, dc);
}

TEST_F(System, NonClientMetricsFollowTheSystemMetricsAndTheWorkAreaIsTheDesktop) {
  NONCLIENTMETRICSW m;
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0));
  EXPECT_EQ(m.iCaptionHeight + 1, GetSystemMetrics(SM_CYCAPTION));
  EXPECT_EQ(m.iBorderWidth + GetSystemMetrics(SM_CXDLGFRAME), GetSystemMetrics(SM_CXFRAME));
  EXPECT_EQ(m.iScrollWidth, GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_EQ(m.lfCaptionFont.lfFaceName, u"Segoe UI");
  EXPECT_EQ(m.lfCaptionFont.lfHeight, -12);
  RECT work;
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
  EXPECT_EQ(work, (RECT{0, 0, 1280, 1024}));
  EXPECT_FALSE(SystemParametersInfoW(SPI_GETWORKAREA, 0, nullptr, 0));
  EXPECT_FALSE(SystemParametersInfoW(0x1234, 0, &work, 0));
}

// A program may set a smaller work area: it is reported, maximised windows fill it, every
// top-level window hears of it when asked for; an area off the desktop is refused and null
// gives the whole desktop back.
TEST_F(System, TheWorkAreaCanBeSetAndTheWindowsAreTold) {
  HWND a = Top(), b = Top(WS_OVERLAPPEDWINDOW);
  HWND child = Child(a, {0, 0, 10, 10});
  RECT area{0, 0, 1280, 984};
  log.clear();
  ASSERT_TRUE(SystemParametersInfoW(SPI_SETWORKAREA, 0, &area, SPIF_SENDCHANGE));
  RECT work;
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
  EXPECT_EQ(work, area);
  for (HWND h : {a, b}) {
    const auto told = Of(WM_SETTINGCHANGE, h);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].wParam, WPARAM(SPI_SETWORKAREA));
    EXPECT_EQ(told[0].lParam, 0);
  }
  EXPECT_TRUE(Of(WM_SETTINGCHANGE, child).empty());
  ShowWindow(a, SW_MAXIMIZE);
  RECT r;
  GetWindowRect(a, &r);
  const int frame = GetSystemMetrics(SM_CXFRAME);
  EXPECT_EQ(r, (RECT{-frame, -frame, 1280 + frame, 984 + frame}));
  ShowWindow(a, SW_RESTORE);
  // Without SPIF_SENDCHANGE nobody is told.
  log.clear();
  area = {100, 50, 1280, 1024};
  ASSERT_TRUE(SystemParametersInfoW(SPI_SETWORKAREA, 0, &area, 0));
  EXPECT_TRUE(Of(WM_SETTINGCHANGE).empty());
  ShowWindow(a, SW_MAXIMIZE);
  GetWindowRect(a, &r);
  EXPECT_EQ(r, (RECT{100 - frame, 50 - frame, 1280 + frame, 1024 + frame}));
  ShowWindow(a, SW_RESTORE);
  // Off the desktop or empty: refused, the area stays.
  for (RECT bad : {RECT{-1, 0, 100, 100}, RECT{0, 0, 1281, 100}, RECT{10, 10, 10, 100}})
    EXPECT_FALSE(SystemParametersInfoW(SPI_SETWORKAREA, 0, &bad, 0));
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_EQ(work, area);
  ASSERT_TRUE(SystemParametersInfoW(SPI_SETWORKAREA, 0, nullptr, 0));
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_EQ(work, (RECT{0, 0, 1280, 1024}));
}

TEST_F(System, SleepMovesTheVirtualClockWithoutDispatching) {
  HWND h = Top(WS_POPUP);
  SetTimer(h, 1, 100, nullptr);
  PostMessageW(h, WM_USER, 0, 0);
  DWORD start = GetTickCount();
  log.clear();
  Sleep(250);
  EXPECT_EQ(GetTickCount(), start + 250);
  EXPECT_TRUE(log.empty());
  // The timer fell due meanwhile: one WM_TIMER (timers do not pile up) after the posted one.
  desktop.Pump();
  EXPECT_EQ(Messages(h), (std::vector<UINT>{WM_USER, WM_TIMER}));
}

TEST_F(System, CopyDataIsSentNeverPostedAndIconsHaveADefault) {
  HWND a = Top(), b = Top(WS_OVERLAPPEDWINDOW, {0, 0, 100, 100});
  const char text[] = "preview";
  COPYDATASTRUCT cds{7, sizeof text, text};
  std::string got;
  handler = [&](HWND h, UINT m, WPARAM w, LPARAM l) -> std::optional<LRESULT> {
    if (h != b || m != WM_COPYDATA) return std::nullopt;
    auto* d = reinterpret_cast<const COPYDATASTRUCT*>(l);
    EXPECT_EQ(HwndFromParam(w), a);
    got.assign(static_cast<const char*>(d->lpData), d->cbData - 1);
    return d->dwData == 7;
  };
  EXPECT_EQ(SendMessageW(b, WM_COPYDATA, WParamFromHwnd(a), reinterpret_cast<LPARAM>(&cds)), 1);
  EXPECT_EQ(got, "preview");
  EXPECT_FALSE(PostMessageW(b, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds)));

  // No icon set: ICON_SMALL2 gives the default application icon, the others nothing.
  gfx::HICON app = LoadIconW(IDI_APPLICATION);
  ASSERT_TRUE(app);
  EXPECT_EQ(SendMessageW(a, WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_EQ(SendMessageW(a, WM_GETICON, ICON_SMALL2, 0), reinterpret_cast<LRESULT>(app));
  gfx::HICON big = gfx::CopyIcon(app);
  EXPECT_EQ(SendMessageW(a, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big)), 0);
  EXPECT_EQ(SendMessageW(a, WM_GETICON, ICON_BIG, 0), reinterpret_cast<LRESULT>(big));
  EXPECT_EQ(SendMessageW(a, WM_GETICON, ICON_SMALL, 0), 0);
  EXPECT_EQ(SendMessageW(a, WM_GETICON, ICON_SMALL2, 0), reinterpret_cast<LRESULT>(big));
  EXPECT_EQ(SendMessageW(a, WM_SETICON, ICON_BIG, 0), reinterpret_cast<LRESULT>(big));
  gfx::DestroyIcon(big);
  // A shared icon destroyed by mistake comes back.
  gfx::DestroyIcon(app);
  gfx::ICONINFO ii;
  EXPECT_TRUE(gfx::GetIconInfo(LoadIconW(IDI_APPLICATION), &ii));
}

TEST_F(System, OwnerDrawMessagesAndValuesAreThePlatformsOwn) {
  // The skin engine follows descriptions written with these numbers.
  EXPECT_EQ(WM_DRAWITEM, 0x002Bu);
  EXPECT_EQ(WM_MEASUREITEM, 0x002Cu);
  EXPECT_EQ(WM_COPYDATA, 0x004Au);
  EXPECT_EQ(WM_NCMOUSEHOVER, 0x02A0u);
  EXPECT_EQ(WM_NCMOUSELEAVE, 0x02A2u);
  EXPECT_EQ((std::vector<UINT>{ODT_MENU, ODT_LISTBOX, ODT_COMBOBOX, ODT_BUTTON, ODT_STATIC}),
            (std::vector<UINT>{1, 2, 3, 4, 5}));
  EXPECT_EQ(ODS_SELECTED | ODS_GRAYED | ODS_DISABLED | ODS_CHECKED | ODS_FOCUS | ODS_DEFAULT,
            0x3Fu);
  EXPECT_EQ(ODS_COMBOBOXEDIT, 0x1000u);
  EXPECT_EQ(ODA_DRAWENTIRE | ODA_SELECT | ODA_FOCUS, 7u);
}

gfx::COLORREF RedColours(int index) {
  return index == COLOR_WINDOW ? gfx::RGB(255, 0, 0) : DefGetSysColor(index);
}

HBRUSH NoBrushes(int) {
  return nullptr;
}

TEST(SystemColours, AReplacementAnswersForTheWholeProcessUntilTakenBack) {
  const gfx::COLORREF window = GetSysColor(COLOR_WINDOW);
  EXPECT_EQ(SetGetSysColorProc(&RedColours), nullptr);
  EXPECT_EQ(SetGetSysColorBrushProc(&NoBrushes), nullptr);
  EXPECT_EQ(GetSysColor(COLOR_WINDOW), gfx::RGB(255, 0, 0));
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), DefGetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(DefGetSysColor(COLOR_WINDOW), window);
  EXPECT_EQ(GetSysColorBrush(COLOR_WINDOW), nullptr);
  EXPECT_NE(DefGetSysColorBrush(COLOR_WINDOW), nullptr);
  // A class background naming a system colour keeps the platform's brush.
  EXPECT_EQ(SysColorBrushFromClassValue(COLOR_WINDOW + 1), DefGetSysColorBrush(COLOR_WINDOW));

  // Another thread asking while the replacement comes and goes gets one answer or the other.
  std::atomic<bool> stop{false};
  std::atomic<int> wrong{0};
  std::thread reader([&] {
    while (!stop) {
      const gfx::COLORREF c = GetSysColor(COLOR_WINDOW);
      if (c != window && c != gfx::RGB(255, 0, 0)) ++wrong;
    }
  });
  for (int i = 0; i < 20000; ++i) SetGetSysColorProc(i % 2 ? &RedColours : nullptr);
  stop = true;
  reader.join();
  EXPECT_EQ(wrong, 0);

  SetGetSysColorProc(nullptr);
  EXPECT_EQ(SetGetSysColorBrushProc(nullptr), &NoBrushes);
  EXPECT_EQ(GetSysColor(COLOR_WINDOW), window);
  EXPECT_EQ(GetSysColorBrush(COLOR_WINDOW), DefGetSysColorBrush(COLOR_WINDOW));
  // Solid brushes are counted until freed.
  const std::size_t before = SolidBrushCount();
  HBRUSH brush = CreateSolidBrush(gfx::RGB(1, 2, 3));
  EXPECT_EQ(SolidBrushCount(), before + 1);
  EXPECT_TRUE(DeleteBrush(brush));
  EXPECT_EQ(SolidBrushCount(), before);
}

}  // namespace
}  // namespace win::test
