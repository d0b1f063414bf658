#include "platform/win/Paint.h"

#include <gtest/gtest.h>

#include "Harness.h"
#include "platform/win/Input.h"
#include "platform/win/NonClient.h"
#include "platform/win/ScrollInfo.h"

namespace win::test {
namespace {

using gfx::RGB;

class Painting : public WindowTest {
 protected:
  // Windows of this class fill their client area with their GWLP_USERDATA colour on WM_PAINT.
  void SetUp() override {
    WindowTest::SetUp();
    WNDCLASSEXW wc;
    wc.lpfnWndProc = MakeWindowProc([this](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
      log.push_back({h, m, w, l});
      if (handler)
        if (auto r = handler(h, m, w, l)) return *r;
      if (m == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        paints.push_back({h, ps.rcPaint});
        RECT c;
        GetClientRect(h, &c);
        gfx::FillRect(dc, c, gfx::COLORREF(GetWindowLongPtrW(h, GWLP_USERDATA)));
        EndPaint(h, &ps);
        return 0;
      }
      return DefWindowProcW(h, m, w, l);
    });
    wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    wc.lpszClassName = u"Filled";
    ASSERT_NE(RegisterClassExW(wc), 0);
  }

  HWND Make(HWND parent, RECT r, gfx::COLORREF color, DWORD style, DWORD exStyle = 0) {
    HWND h = CreateWindowExW(exStyle, u"Filled", u"", style, r.Left, r.Top, r.Width(), r.Height(),
                             parent, 0);
    SetWindowLongPtrW(h, GWLP_USERDATA, LONG_PTR(color));
    return h;
  }

  gfx::COLORREF PixelOf(HWND top, int x, int y) {
    return gfx::ColorFromPixel(GetWindowSurface(top).pixels->At(x, y));
  }

  struct Paint {
    HWND hwnd;
    RECT rc;
  };
  std::vector<Paint> paints;
};

constexpr gfx::COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255);

TEST_F(Painting, InvalidationsCoalesceIntoOnePaint) {
  HWND h = Make(nullptr, {0, 0, 200, 200}, kRed, WS_POPUP | WS_VISIBLE);
  desktop.Pump();
  ASSERT_EQ(paints.size(), 1u);
  EXPECT_EQ(paints[0].rc, (RECT{0, 0, 200, 200}));
  paints.clear();
  log.clear();
  RECT a{10, 10, 20, 20}, b{50, 60, 70, 80}, c{15, 15, 30, 30};
  InvalidateRect(h, &a, true);
  InvalidateRect(h, &b, false);
  InvalidateRect(h, &c, false);
  RECT update;
  ASSERT_TRUE(GetUpdateRect(h, &update, false));
  EXPECT_EQ(update, (RECT{10, 10, 70, 80}));
  ValidateRect(h, &b);
  desktop.Pump();
  ASSERT_EQ(paints.size(), 1u);
  EXPECT_EQ(paints[0].rc, (RECT{10, 10, 30, 30}));
  EXPECT_EQ(Of(WM_ERASEBKGND).size(), 1u);
  EXPECT_FALSE(GetUpdateRect(h, &update, false));
  // Only the update region was painted: a pixel of the validated rectangle kept its colour.
  EXPECT_EQ(PixelOf(h, 12, 12), kRed);
}

TEST_F(Painting, ClipChildrenAndSiblingsKeepOtherWindowsPixels) {
  HWND top = Make(nullptr, {0, 0, 100, 100}, kRed, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN);
  HWND below = Make(top, {10, 10, 50, 50}, kGreen, WS_CHILD | WS_VISIBLE);
  HWND above = Make(top, {30, 30, 70, 70}, kBlue, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS);
  SetWindowPos(above, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  desktop.Pump();
  EXPECT_EQ(PixelOf(top, 5, 5), kRed);
  EXPECT_EQ(PixelOf(top, 15, 15), kGreen);
  EXPECT_EQ(PixelOf(top, 60, 60), kBlue);
  // Repainting only the parent never touches the children (WS_CLIPCHILDREN).
  paints.clear();
  RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOCHILDREN);
  ASSERT_EQ(paints.size(), 1u);
  EXPECT_EQ(PixelOf(top, 15, 15), kGreen);
  EXPECT_EQ(PixelOf(top, 60, 60), kBlue);
  // A DC whose clip is removed still cannot draw outside its window's visible part.
  HDC dc = GetDC(below);
  gfx::SelectClipRgn(dc, nullptr);
  gfx::FillRect(dc, {-10, -10, 100, 100}, RGB(1, 2, 3));
  ReleaseDC(below, dc);
  EXPECT_EQ(PixelOf(top, 15, 15), RGB(1, 2, 3));
  EXPECT_EQ(PixelOf(top, 5, 5), kRed);
  EXPECT_EQ(PixelOf(top, 60, 60), kBlue);
  // "below" lacks WS_CLIPSIBLINGS, so it may draw over its sibling; "above" may not.
  EXPECT_EQ(PixelOf(top, 45, 45), RGB(1, 2, 3));
  dc = GetDC(above);
  gfx::FillRect(dc, {-30, -30, 10, 10}, RGB(4, 5, 6));
  ReleaseDC(above, dc);
  EXPECT_EQ(PixelOf(top, 35, 35), RGB(4, 5, 6));
  EXPECT_EQ(PixelOf(top, 25, 25), RGB(1, 2, 3));
}

TEST_F(Painting, ParentWithoutClipChildrenRepaintsItsChildrenAfterItself) {
  HWND top = Make(nullptr, {0, 0, 100, 100}, kRed, WS_POPUP | WS_VISIBLE);
  HWND c = Make(top, {10, 10, 50, 50}, kGreen, WS_CHILD | WS_VISIBLE);
  desktop.Pump();
  paints.clear();
  InvalidateRect(top, nullptr, true);
  desktop.Pump();
  ASSERT_EQ(paints.size(), 2u);
  EXPECT_EQ(paints[0].hwnd, top);
  EXPECT_EQ(paints[1].hwnd, c);
  EXPECT_EQ(PixelOf(top, 20, 20), kGreen);
}

TEST_F(Painting, MovingAChildRepaintsWhatItUncovered) {
  HWND top = Make(nullptr, {0, 0, 100, 100}, kRed, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN);
  HWND c = Make(top, {10, 10, 30, 30}, kGreen, WS_CHILD | WS_VISIBLE);
  desktop.Pump();
  MoveWindow(c, 50, 50, 20, 20, true);
  desktop.Pump();
  EXPECT_EQ(PixelOf(top, 15, 15), kRed);
  EXPECT_EQ(PixelOf(top, 55, 55), kGreen);
  ShowWindow(c, SW_HIDE);
  desktop.Pump();
  EXPECT_EQ(PixelOf(top, 55, 55), kRed);
}

TEST_F(Painting, SetRedrawHoldsPaintingBack) {
  HWND h = Make(nullptr, {0, 0, 50, 50}, kRed, WS_POPUP | WS_VISIBLE);
  desktop.Pump();
  paints.clear();
  SendMessageW(h, WM_SETREDRAW, 0, 0);
  InvalidateRect(h, nullptr, true);
  desktop.Pump();
  EXPECT_TRUE(paints.empty());
  SendMessageW(h, WM_SETREDRAW, 1, 0);
  desktop.Pump();
  EXPECT_EQ(paints.size(), 1u);
}

TEST_F(Painting, DefaultFrameShowsActivationAndFrameChangesRepaintIt) {
  HWND a = Make(nullptr, {0, 0, 200, 100}, kRed, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  desktop.Pump();
  FrameLayout f = GetFrameLayout(a);
  POINT inCaption{f.caption.Left + 40, f.caption.Top + 2};
  EXPECT_EQ(PixelOf(a, inCaption.X, inCaption.Y), GetSysColor(COLOR_ACTIVECAPTION));
  EXPECT_EQ(PixelOf(a, 1, 50), GetSysColor(COLOR_ACTIVEBORDER));
  EXPECT_EQ(PixelOf(a, f.client.Left, f.client.Top), kRed);
  HWND b = Make(nullptr, {300, 0, 400, 100}, kBlue, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  desktop.Pump();
  EXPECT_EQ(GetActiveWindow(), b);
  EXPECT_EQ(PixelOf(a, inCaption.X, inCaption.Y), GetSysColor(COLOR_INACTIVECAPTION));
  log.clear();
  RedrawWindow(a, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  EXPECT_EQ(Of(WM_NCPAINT, a).size(), 1u);
}

TEST_F(Painting, WindowRegionClipsPaintingAndHitTesting) {
  HWND top = Make(nullptr, {0, 0, 100, 100}, kRed, WS_POPUP | WS_VISIBLE);
  HWND c = Make(top, {0, 0, 60, 60}, kGreen, WS_CHILD | WS_VISIBLE);
  gfx::Region left(RECT{0, 0, 30, 60});
  SetWindowRgn(c, &left, true);
  desktop.Pump();
  EXPECT_EQ(PixelOf(top, 10, 10), kGreen);
  EXPECT_EQ(PixelOf(top, 40, 10), kRed);
  EXPECT_EQ(WindowFromPoint({10, 10}), c);
  EXPECT_EQ(WindowFromPoint({40, 10}), top);
  gfx::Region got;
  EXPECT_EQ(GetWindowRgn(c, &got), gfx::SIMPLEREGION);
  EXPECT_EQ(got, left);
  // A region on a top-level window is handed to the backend for composition.
  gfx::Region round = gfx::Region(RECT{10, 0, 90, 100}).Union(gfx::Region(RECT{0, 10, 100, 90}));
  SetWindowRgn(top, &round, true);
  EXPECT_EQ(*GetWindowSurface(top).region, round);
  EXPECT_EQ(WindowFromPoint({1, 1}), nullptr);
  SetWindowRgn(c, nullptr, true);
  EXPECT_EQ(GetWindowRgn(c, &got), gfx::RGN_ERROR);
  EXPECT_EQ(WindowFromPoint({40, 10}), c);
}

TEST_F(Painting, LayeredWindowsKeepTheirPictureAndLetClicksThrough) {
  HWND under = Make(nullptr, {0, 0, 100, 100}, kRed, WS_POPUP | WS_VISIBLE);
  HWND glass = Make(nullptr, {0, 0, 100, 100}, kBlue, WS_POPUP,
                    WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE | WS_EX_TOPMOST);
  gfx::Bitmap picture(40, 30);
  picture.Fill(gfx::MakePixel(0, 0, 128, 128));  // premultiplied half-transparent red
  POINT at{5, 6};
  SIZE size{40, 30};
  BLENDFUNCTION blend;
  blend.SourceConstantAlpha = 200;
  ASSERT_TRUE(UpdateLayeredWindow(glass, &at, &size, &picture, nullptr, 0, &blend, ULW_ALPHA));
  ShowWindow(glass, SW_SHOWNOACTIVATE);
  desktop.Pump();
  EXPECT_EQ(GetActiveWindow(), under);
  SurfaceInfo s = GetWindowSurface(glass);
  EXPECT_TRUE(s.perPixelAlpha);
  EXPECT_EQ(s.constantAlpha, 200);
  ASSERT_EQ(s.pixels->Width(), 40);
  EXPECT_EQ(s.pixels->At(3, 3), gfx::MakePixel(0, 0, 128, 128));  // not painted over
  EXPECT_EQ(GetWindowSurface(under).perPixelAlpha, false);
  EXPECT_EQ(WindowFromPoint({10, 10}), under);
  // A layered window painted normally has a constant opacity.
  SetLayeredWindowAttributes(glass, 0, 77, LWA_ALPHA);
  EXPECT_FALSE(GetWindowSurface(glass).perPixelAlpha);
  EXPECT_EQ(GetWindowSurface(glass).constantAlpha, 77);
  EXPECT_FALSE(SetLayeredWindowAttributes(under, 0, 1, LWA_ALPHA));
}

TEST_F(Painting, PrintDrawsTheWindowAndItsChildrenIntoAnyContext) {
  HWND top = Make(nullptr, {0, 0, 100, 80}, kRed, WS_POPUP | WS_BORDER);
  Make(top, {10, 10, 30, 30}, kGreen, WS_CHILD | WS_VISIBLE);
  handler = [&](HWND h, UINT m, WPARAM w, LPARAM) -> std::optional<LRESULT> {
    if (m != WM_PRINTCLIENT) return std::nullopt;
    RECT c;
    GetClientRect(h, &c);
    gfx::FillRect(reinterpret_cast<HDC>(w), c, gfx::COLORREF(GetWindowLongPtrW(h, GWLP_USERDATA)));
    return 0;
  };
  gfx::Bitmap target(100, 80);
  gfx::DeviceContext dc(target);
  SendMessageW(top, WM_PRINT, reinterpret_cast<WPARAM>(&dc),
               PRF_NONCLIENT | PRF_CLIENT | PRF_CHILDREN);
  EXPECT_EQ(gfx::ColorFromPixel(target.At(0, 0)), GetSysColor(COLOR_WINDOWFRAME));
  EXPECT_EQ(gfx::ColorFromPixel(target.At(5, 5)), kRed);
  EXPECT_EQ(gfx::ColorFromPixel(target.At(12, 12)), kGreen);  // 1 border + 10 offset
  EXPECT_EQ(gfx::ColorFromPixel(target.At(31, 31)), kRed);
}

}  // namespace
}  // namespace win::test

namespace win::test {
namespace {

using Redraw = WindowTest;

TEST_F(Redraw, FlagsChooseWhatIsInvalidatedAndWhatIsPaintedAtOnce) {
  HWND top = Top(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND c = Child(top, {0, 0, 20, 20});
  desktop.Pump();
  log.clear();
  // Erase and frame now, without WM_PAINT; the update region stays for the loop.
  RedrawWindow(top, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ERASENOW | RDW_NOCHILDREN);
  EXPECT_EQ(Messages(top, {WM_GETTEXTLENGTH, WM_GETTEXT}),
            (std::vector<UINT>{WM_NCPAINT, WM_ERASEBKGND}));
  EXPECT_TRUE(Messages(c).empty());
  RECT r;
  EXPECT_TRUE(GetUpdateRect(top, &r, false));
  RedrawWindow(top, nullptr, nullptr, RDW_VALIDATE);
  EXPECT_FALSE(GetUpdateRect(top, &r, false));
  // Children are included by default when the parent does not clip them.
  log.clear();
  RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(Of(WM_PAINT, top).size(), 1u);
  EXPECT_EQ(Of(WM_PAINT, c).size(), 1u);
  SetWindowLongPtrW(top, GWL_STYLE, GetWindowLongPtrW(top, GWL_STYLE) | WS_CLIPCHILDREN);
  log.clear();
  RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(Of(WM_PAINT, top).size(), 1u);
  EXPECT_TRUE(Of(WM_PAINT, c).empty());
  // An internal paint gives one WM_PAINT with an empty paint rectangle.
  RedrawWindow(c, nullptr, nullptr, RDW_INTERNALPAINT);
  log.clear();
  desktop.Pump();
  EXPECT_EQ(Of(WM_PAINT, c).size(), 1u);
  // Invisible windows collect nothing.
  ShowWindow(c, SW_HIDE);
  InvalidateRect(c, nullptr, true);
  EXPECT_FALSE(GetUpdateRect(c, &r, false));
}

}  // namespace
}  // namespace win::test

namespace win::test {
namespace {

TEST_F(Painting, DesktopComposesOpaqueAndLayeredWindowsInZOrder) {
  HWND back = Make(nullptr, {0, 0, 40, 40}, RGB(200, 100, 0), WS_POPUP | WS_VISIBLE);
  HWND half = Make(nullptr, {20, 0, 60, 40}, RGB(0, 0, 255), WS_POPUP | WS_VISIBLE, WS_EX_LAYERED);
  SetLayeredWindowAttributes(half, 0, 128, LWA_ALPHA);
  HWND glass = Make(nullptr, {0, 20, 40, 60}, 0, WS_POPUP, WS_EX_LAYERED | WS_EX_NOACTIVATE);
  gfx::Bitmap picture(40, 40);
  picture.Fill(gfx::MakePixel(0, 64, 0, 64));  // premultiplied: green at a quarter
  picture.Set(0, 39, gfx::MakePixel(0, 0, 0, 0));
  POINT at{0, 20};
  SIZE size{40, 40};
  BLENDFUNCTION blend;
  UpdateLayeredWindow(glass, &at, &size, &picture, nullptr, 0, &blend, ULW_ALPHA);
  ShowWindow(glass, SW_SHOWNA);
  desktop.Pump();
  // The opaque window's alpha bytes (0 from the drawing calls) do not make it see-through.
  EXPECT_EQ(gfx::PixelA(GetWindowSurface(back).pixels->At(5, 5)), 0);
  gfx::Bitmap screen = desktop.Compose();
  EXPECT_EQ(screen.At(5, 5), gfx::MakePixel(0, 100, 200, 255));
  // Half-opaque blue over orange: 128/255 of blue, the rest of what is below.
  EXPECT_EQ(screen.At(25, 5), gfx::MakePixel(128, 50, 100, 255));
  // A quarter green over orange (premultiplied over): 64 + 191/255 of what is below.
  EXPECT_EQ(screen.At(5, 25), gfx::MakePixel(0, 64 + 75, 150, 255));
  EXPECT_EQ(screen.At(0, 59), gfx::PixelFromColor(GetSysColor(COLOR_BACKGROUND), 255));
}

// How many WM_PAINT the message loop hands out before it settles (at most limit).
int PaintsUntilSettled(int limit) {
  int n = 0;
  MSG m;
  while (n < limit && PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    if (m.message == WM_PAINT) ++n;
    DispatchMessageW(m);
  }
  return n;
}

TEST_F(Painting, AHandlerThatOnlyValidatesSettlesUntilTheNextInvalidation) {
  for (int way = 0; way < 3; ++way) {
    SCOPED_TRACE(way);
    HWND h = Make(nullptr, {0, 0, 200, 100}, kRed, WS_OVERLAPPEDWINDOW);
    handler = [&](HWND hw, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
      if (hw != h || m != WM_PAINT) return std::nullopt;
      if (way == 0) ValidateRect(hw, nullptr);
      if (way == 1) ValidateRgn(hw, nullptr);
      if (way == 2) {
        PAINTSTRUCT ps;
        BeginPaint(hw, &ps);
        EndPaint(hw, &ps);
      }
      return 0;
    };
    ShowWindow(h, SW_SHOW);  // the whole window with its frame is invalid
    EXPECT_EQ(PaintsUntilSettled(5), 1);
    // A frame-only change and an internal paint each ask for one WM_PAINT, no more.
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    EXPECT_EQ(PaintsUntilSettled(5), 1);
    RedrawWindow(h, nullptr, nullptr, RDW_INTERNALPAINT);
    EXPECT_EQ(PaintsUntilSettled(5), 1);
    InvalidateRect(h, nullptr, true);
    EXPECT_EQ(PaintsUntilSettled(5), 1);
    DestroyWindow(h);
  }
}

TEST_F(Painting, DefaultFrameDrawsOnlyTheScrollBarsOfTheStylesItHasNow) {
  HWND h = Make(nullptr, {0, 0, 200, 150}, kRed, WS_POPUP | WS_BORDER | WS_VSCROLL | WS_VISIBLE);
  SCROLLINFO si;
  si.fMask = SIF_RANGE | SIF_PAGE;
  si.nMax = 99;
  si.nPage = 10;
  SetScrollInfo(h, SB_VERT, si, false);
  RECT bar = GetScrollBarLayout(h, SB_VERT).bar;
  ASSERT_FALSE(bar.IsEmpty());
  // A wrapper paints its own bar and lets the default frame draw with the scroll style off.
  bool own = true;
  handler = [&](HWND hw, UINT m, WPARAM w, LPARAM l) -> std::optional<LRESULT> {
    if (hw != h || m != WM_NCPAINT || !own) return std::nullopt;
    HDC dc = GetWindowDC(hw);
    gfx::FillRect(dc, bar, kGreen);
    ReleaseDC(hw, dc);
    LONG_PTR style = GetWindowLongPtrW(hw, GWL_STYLE);
    SetWindowLongPtrW(hw, GWL_STYLE, style & ~LONG_PTR(WS_VSCROLL | WS_HSCROLL));
    DefWindowProcW(hw, m, w, l);
    SetWindowLongPtrW(hw, GWL_STYLE, style);
    return 0;
  };
  RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  for (POINT p : {POINT{bar.Left, bar.Top}, POINT{bar.Left + 8, bar.Top + 40},
                  POINT{bar.Right - 1, bar.Bottom - 1}})
    EXPECT_EQ(PixelOf(h, p.X, p.Y), kGreen) << p.X << "," << p.Y;
  EXPECT_EQ(PixelOf(h, 0, 0), GetSysColor(COLOR_WINDOWFRAME));  // the border is still drawn
  own = false;
  RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  EXPECT_NE(PixelOf(h, bar.Left + 8, bar.Top + 40), kGreen);  // the system bar again
}

TEST_F(Painting, TheScreensContextDrawsAnInvertedOutlineOverEveryWindow) {
  HWND h = Make(nullptr, {100, 100, 300, 250}, kRed, WS_POPUP | WS_VISIBLE);
  desktop.Pump();
  const gfx::Bitmap before = desktop.Compose();
  HDC dc = GetWindowDC(GetDesktopWindow());
  ASSERT_TRUE(dc);
  EXPECT_EQ(WindowFromDC(dc), GetDesktopWindow());
  gfx::SetROP2(dc, gfx::R2_NOT);
  // A pending frame-only size: half over the window, half over the desktop.
  const POINT outline[5] = {{250, 200}, {400, 200}, {400, 320}, {250, 320}, {250, 200}};
  gfx::Polyline(dc, outline, 5);
  ReleaseDC(nullptr, dc);
  gfx::Bitmap shown = desktop.Compose();
  auto inverted = [&](int x, int y) {
    return (shown.At(x, y) & 0xFFFFFFu) == (~before.At(x, y) & 0xFFFFFFu);
  };
  EXPECT_TRUE(inverted(260, 200));  // over the window: red becomes cyan
  EXPECT_EQ(gfx::ColorFromPixel(shown.At(260, 200)), RGB(0, 255, 255));
  EXPECT_TRUE(inverted(400, 260));                     // over the desktop
  EXPECT_TRUE(inverted(250, 320));                     // a corner, once
  EXPECT_EQ(shown.At(260, 210), before.At(260, 210));  // inside the outline: untouched
  EXPECT_EQ(PixelOf(h, 160, 100), kRed);               // the window's own pixels are untouched
  // Drawn again at the same place (GetDC(nullptr) is the same screen), the outline is gone.
  dc = GetDC(nullptr);
  gfx::SetROP2(dc, gfx::R2_NOT);
  gfx::Polyline(dc, outline, 5);
  ReleaseDC(nullptr, dc);
  EXPECT_TRUE(desktop.Compose() == before);
}

TEST_F(Painting, AClassBrushChangesTheWindowsOfItsClassOnly) {
  for (const char16_t* name : {u"TApplication", u"TPUtilWindow"}) {
    WNDCLASSEXW wc;
    wc.lpfnWndProc = MakeWindowProc(DefWindowProcW);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = name;
    ASSERT_NE(RegisterClassExW(wc), 0);
  }
  auto make = [](const char16_t* cls, int x) {
    return CreateWindowExW(0, cls, u"", WS_POPUP | WS_VISIBLE, x, 0, 50, 50, nullptr, 0);
  };
  HWND a1 = make(u"TApplication", 0), a2 = make(u"TApplication", 100);
  HWND u = make(u"TPUtilWindow", 200);
  EXPECT_EQ(GetClassNameW(a1), u"TApplication");
  EXPECT_EQ(GetClassNameW(u), u"TPUtilWindow");
  HBRUSH skin = CreateSolidBrush(kGreen);
  SetClassLongPtrW(a1, GCLP_HBRBACKGROUND, reinterpret_cast<std::uintptr_t>(skin));
  RedrawWindow(nullptr, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  desktop.Pump();
  EXPECT_EQ(PixelOf(a1, 10, 10), kGreen);
  EXPECT_EQ(PixelOf(a2, 10, 10), kGreen);  // the same class
  EXPECT_EQ(PixelOf(u, 10, 10), GetSysColor(COLOR_BTNFACE));
  DestroyWindow(a1);
  DestroyWindow(a2);
  DeleteBrush(skin);
}

}  // namespace
}  // namespace win::test
