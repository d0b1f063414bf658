// The SDL backend on a real X server of its own (Xvfb): a window appears, takes a real click
// and a real key press, and the server's own pixels show what the window painted.
#include <gtest/gtest.h>
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include "platform/backend/Sdl.h"
#include "platform/win/Input.h"
#include "platform/win/KeyboardLayout.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "platform/win/Window.h"
#include "platform/win/WindowProc.h"

// Last: Xlib's macros (None, Bool, True) would clash with the names above.
// clang-format off
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
// clang-format on

namespace backend {
namespace {

using namespace win;

bool OnPath(const std::string& program) {
  return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

// An Xvfb on a display number it picks itself, stopped when the test ends.
class Xvfb {
 public:
  Xvfb() {
    int fds[2];
    if (pipe(fds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(fds[0]);
      std::string fd = std::to_string(fds[1]);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "640x480x24", "-nolisten",
             "tcp", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    // The server writes the number and the line end separately, and stops when it cannot
    // write the second: read up to the line end before closing.
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    char c = 0;
    while (pid_ > 0 && poll(&p, 1, 20000) == 1 && read(fds[0], &c, 1) == 1 && c != '\n')
      number += c;
    if (c == '\n' && !number.empty()) display_ = ":" + number;
    close(fds[0]);
  }
  ~Xvfb() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
  }
  const std::string& Display() const { return display_; }

 private:
  pid_t pid_ = -1;
  std::string display_;
};

// Runs the message loop until done says so or five seconds pass.
bool PumpUntil(Sdl& sdl, const std::function<bool()>& done) {
  auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (std::chrono::steady_clock::now() < end) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(msg);
      DispatchMessageW(msg);
    }
    if (done()) return true;
    sdl.WaitForInput(sdl.Now() + 20);
  }
  return false;
}

TEST(SdlSmoke, AWindowAppearsTakesAClickAndAKeyAndShowsItsPixels) {
  if (!OnPath("Xvfb")) GTEST_SKIP() << "Xvfb is not installed (scripts/setup installs it)";
  Xvfb server;
  ASSERT_FALSE(server.Display().empty()) << "Xvfb did not start";
  setenv("DISPLAY", server.Display().c_str(), 1);
  Display* x = XOpenDisplay(server.Display().c_str());
  ASSERT_TRUE(x);
  {
    // SDL's session-bus library keeps a little memory for the life of the process, where the
    // leak checker cannot follow it; our own code is leak-checked by the headless tests.
#if defined(__SANITIZE_ADDRESS__)
    __lsan_disable();
#endif
    Sdl sdl;
    std::vector<POINT> clicks;
    std::u16string typed;
    WNDCLASSEXW wc;
    wc.lpfnWndProc = MakeWindowProc([&](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
      if (m == WM_LBUTTONDOWN) clicks.push_back(PointFromLParam(l));
      if (m == WM_CHAR) typed += char16_t(w);
      if (m == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        bool glass = GetWindowLongPtrW(h, GWLP_USERDATA);
        gfx::FillRect(dc, {0, 0, 200, 100}, glass ? gfx::RGB(0, 0, 255) : gfx::RGB(0, 160, 80));
        if (!glass) gfx::FillRect(dc, {0, 0, 10, 10}, gfx::RGB(250, 200, 0));
        EndPaint(h, &ps);
        return 0;
      }
      return DefWindowProcW(h, m, w, l);
    });
    wc.lpszClassName = u"Smoke";
    RegisterClassExW(wc);
    HWND h =
        CreateWindowExW(0, u"Smoke", u"smoke", WS_POPUP | WS_VISIBLE, 60, 40, 200, 100, nullptr, 0);
    LoadKeyboardLayoutW(u"00000419", KLF_ACTIVATE);
    // What the X server shows is what the window painted.
    auto shown = [&](int px, int py) {
      XImage* image =
          XGetImage(x, DefaultRootWindow(x), 60 + px, 40 + py, 1, 1, AllPlanes, ZPixmap);
      if (!image) return 0ul;
      unsigned long p = XGetPixel(image, 0, 0) & 0xFFFFFF;
      XDestroyImage(image);
      return p;
    };
    ASSERT_TRUE(PumpUntil(sdl, [&] { return shown(100, 50) == 0x00A050u; }))
        << std::hex << shown(100, 50);
    EXPECT_EQ(shown(5, 5), 0xFAC800u);
    EXPECT_TRUE(sdl.WindowOf(h));

    // A half-transparent layered window over it has no window of its own: it is composed
    // into the window below (blue at 128 over the green).
    HWND glass = CreateWindowExW(WS_EX_LAYERED | WS_EX_NOACTIVATE | WS_EX_TOPMOST, u"Smoke", u"",
                                 WS_POPUP, 210, 100, 100, 80, nullptr, 0);
    SetWindowLongPtrW(glass, GWLP_USERDATA, 1);
    SetLayeredWindowAttributes(glass, 0, 128, LWA_ALPHA);
    ShowWindow(glass, SW_SHOWNA);
    EXPECT_TRUE(PumpUntil(sdl, [&] { return shown(180, 80) == 0x0050A8u; }))
        << std::hex << shown(180, 80);
    EXPECT_FALSE(sdl.WindowOf(glass));
    EXPECT_EQ(shown(100, 50), 0x00A050u);

    // A real click and a real key: the Q key types the letter at its place on the Russian
    // layout, whatever the server's own layout says.
    XTestFakeMotionEvent(x, 0, 160, 90, 0);
    XTestFakeButtonEvent(x, 1, True, 0);
    XTestFakeButtonEvent(x, 1, False, 0);
    KeyCode q = XKeysymToKeycode(x, XK_q);
    XTestFakeKeyEvent(x, q, True, 0);
    XTestFakeKeyEvent(x, q, False, 0);
    XFlush(x);
    ASSERT_TRUE(PumpUntil(sdl, [&] { return !clicks.empty() && !typed.empty(); }))
        << clicks.size() << " clicks, " << typed.size() << " characters";
    EXPECT_EQ(clicks[0], (POINT{100, 50}));
    EXPECT_EQ(typed, u"й");

    // A window with a region gives its system window that shape: its cut corner shows the
    // window behind it.
    HWND shapedWnd = CreateWindowExW(0, u"Smoke", u"", WS_POPUP, 70, 50, 80, 60, nullptr, 0);
    SetWindowLongPtrW(shapedWnd, GWLP_USERDATA, 1);  // blue
    gfx::Region rgn(RECT{0, 0, 80, 60});
    rgn = rgn.Subtract(gfx::Region(RECT{0, 0, 12, 12}));
    SetWindowRgn(shapedWnd, &rgn, true);
    ShowWindow(shapedWnd, SW_SHOW);
    EXPECT_TRUE(PumpUntil(sdl, [&] { return shown(50, 40) == 0x0000FFu; }))
        << std::hex << shown(50, 40);
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    ASSERT_TRUE(SDL_GetWindowWMInfo(sdl.WindowOf(shapedWnd), &info));
    int count = 0, ordering = 0;
    XRectangle* shape =
        XShapeGetRectangles(x, info.info.x11.window, ShapeBounding, &count, &ordering);
    ASSERT_EQ(count, 2);
    EXPECT_EQ((std::array<int, 4>{shape[0].x, shape[0].y, shape[0].width, shape[0].height}),
              (std::array<int, 4>{12, 0, 68, 12}));
    EXPECT_EQ((std::array<int, 4>{shape[1].x, shape[1].y, shape[1].width, shape[1].height}),
              (std::array<int, 4>{0, 12, 80, 48}));
    XFree(shape);
    EXPECT_TRUE(PumpUntil(sdl, [&] { return shown(12, 12) == 0x00A050u; }))
        << std::hex << shown(12, 12);

    // Minimising asks the host to iconify the system window (a window manager would act on
    // it: here the test listens on the root window as one does); the host minimising it
    // minimises the window.
    XSelectInput(x, DefaultRootWindow(x), SubstructureNotifyMask);
    XSync(x, False);
    Atom changeState = XInternAtom(x, "WM_CHANGE_STATE", False);
    bool iconifyAsked = false;
    ShowWindow(shapedWnd, SW_MINIMIZE);
    EXPECT_TRUE(PumpUntil(sdl, [&] {
      XEvent ev;
      while (XCheckTypedEvent(x, ClientMessage, &ev))
        if (ev.xclient.message_type == changeState && ev.xclient.data.l[0] == IconicState)
          iconifyAsked = true;
      return iconifyAsked;
    }));
    ShowWindow(shapedWnd, SW_RESTORE);
    PumpUntil(sdl, [&] { return shown(50, 40) == 0x0000FFu; });
    EXPECT_FALSE(IsIconic(shapedWnd));
    SDL_Event minimized{};
    minimized.type = SDL_WINDOWEVENT;
    minimized.window.event = SDL_WINDOWEVENT_MINIMIZED;
    minimized.window.windowID = SDL_GetWindowID(sdl.WindowOf(shapedWnd));
    SDL_PushEvent(&minimized);
    EXPECT_TRUE(PumpUntil(sdl, [&] { return IsIconic(shapedWnd); }));
  }
  XCloseDisplay(x);
#if defined(__SANITIZE_ADDRESS__)
  __lsan_enable();
#endif
}

}  // namespace
}  // namespace backend
