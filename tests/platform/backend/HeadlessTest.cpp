// The headless backend driven by scripts, as a program sees it: its own message loop, the
// automation running whenever that loop is idle.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/backend/Dump.h"
#include "platform/backend/Headless.h"
#include "platform/backend/Start.h"
#include "platform/gfx/PictureCodec.h"
#include "platform/win/KeyboardLayout.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "platform/win/Timers.h"
#include "platform/win/Window.h"
#include "platform/win/WindowProc.h"

namespace backend {
namespace {

using namespace win;
using gfx::RGB;

std::string OutPath(const std::string& name) {
  const char* dir = std::getenv("MC_TEST_OUT");
  return std::string(dir ? dir : ".") + "/" + name;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class Scripted : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSEXW wc;
    wc.lpfnWndProc = MakeWindowProc([this](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
      switch (m) {
        case WM_CHAR:
          typed += char16_t(w);
          return 0;
        case WM_KEYDOWN:
          ++keyDowns;
          return 0;
        case WM_LBUTTONDOWN:
          clicks.push_back(PointFromLParam(l));
          return 0;
        case WM_TIMER:
          ++ticks;
          return 0;
        case WM_CLOSE:
          if (refuseClose) return 0;
          break;
        case WM_PAINT: {
          PAINTSTRUCT ps;
          HDC dc = BeginPaint(h, &ps);
          RECT c;
          GetClientRect(h, &c);
          gfx::FillRect(dc, c, gfx::COLORREF(GetWindowLongPtrW(h, GWLP_USERDATA)));
          EndPaint(h, &ps);
          return 0;
        }
        case WM_DESTROY:
          if (h == main) PostQuitMessage(3);
          return 0;
        default:
          break;
      }
      return DefWindowProcW(h, m, w, l);
    });
    wc.lpszClassName = u"Scripted";
    ASSERT_NE(RegisterClassExW(wc), 0);
  }
  void TearDown() override { desktop.SetAutomation(nullptr); }

  HWND Make(RECT r, gfx::COLORREF color, DWORD exStyle = 0, const char16_t* text = u"") {
    HWND h = CreateWindowExW(exStyle, u"Scripted", text, WS_POPUP | WS_VISIBLE, r.Left, r.Top,
                             r.Width(), r.Height(), nullptr, 0);
    SetWindowLongPtrW(h, GWLP_USERDATA, LONG_PTR(color));
    InvalidateRect(h, nullptr, true);
    return h;
  }

  // Runs the program's message loop under a script; returns the replies.
  std::string Run(std::deque<std::string> lines) {
    std::stringstream replies;
    desktop.SetAutomation(
        std::make_unique<Automation>(desktop, std::make_unique<ScriptReader>(std::move(lines)),
                                     std::make_unique<std::ostream>(replies.rdbuf())));
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0)) {
      TranslateMessage(msg);
      DispatchMessageW(msg);
    }
    exitCode = int(msg.wParam);
    desktop.SetAutomation(nullptr);  // answers the command the program ended in
    return replies.str();
  }

  std::u16string typed;
  int keyDowns = 0;
  int ticks = 0;
  int exitCode = 0;
  bool refuseClose = false;
  std::vector<POINT> clicks;
  HWND main = nullptr;
  Headless desktop{400, 300};
};

TEST_F(Scripted, ClickTypeWaitDumpAndShotsEndToEnd) {
  main = Make({10, 10, 210, 110}, RGB(255, 0, 0), 0, u"Main \"window\"");
  // Above the main window even when the click activates it.
  HWND glass =
      Make({100, 50, 300, 150}, RGB(0, 0, 255), WS_EX_LAYERED | WS_EX_NOACTIVATE | WS_EX_TOPMOST);
  SetLayeredWindowAttributes(glass, 0, 128, LWA_ALPHA);
  SetTimer(main, 1, 100, nullptr);
  LoadKeyboardLayoutW(u"00000419", KLF_ACTIVATE);
  std::string dump = OutPath("backend-dump.json"), shot = OutPath("backend-shot.png"),
              wshot = OutPath("backend-wshot.png");
  std::string replies =
      Run({"click 20 30", "# a comment", "type Привет, мир! €", "wait 1000", "dump " + dump,
           "shot " + shot, "wshot " + wshot, "bogus 1", "shot /no/such/dir/x.png"});
  // One reply per command; end of input closes the main window, which ends the loop.
  const std::string okay = "ok\nok\nok\nok\nok\nok\nerror: unknown command 'bogus'\nerror: ";
  EXPECT_EQ(replies.substr(0, okay.size()), okay);
  EXPECT_EQ(std::count(replies.begin(), replies.end(), '\n'), 8);
  EXPECT_EQ(exitCode, 3);
  EXPECT_FALSE(IsWindow(main));
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0], (POINT{10, 20}));
  // Cyrillic and punctuation by key positions of the Russian layout; the euro sign, which
  // it has no key for, as a character.
  EXPECT_EQ(typed, u"Привет, мир! €");
  EXPECT_EQ(keyDowns, 13 + 3);  // 13 keys typed, 3 of them with Shift
  // The wait ran the timer on the virtual clock: ten periods of 100 ms.
  EXPECT_EQ(ticks, 10);

  std::string json = ReadText(dump);
  EXPECT_EQ(json.rfind("{\"windows\":[{\"handle\":", 0), 0u) << json;
  EXPECT_NE(json.find("\"class\":\"Scripted\",\"text\":\"Main \\\"window\\\"\","
                      "\"rect\":[10,10,210,110],\"client\":[10,10,210,110],\"visible\":true,"
                      "\"enabled\":true,\"active\":true,\"focus\":true"),
            std::string::npos)
      << json;
  EXPECT_NE(json.find("\"rect\":[100,50,300,150]"), std::string::npos);

  gfx::Bitmap screen = gfx::LoadPictureFile(shot);
  ASSERT_EQ(screen.Width(), 400);
  EXPECT_EQ(screen.At(20, 20), gfx::MakePixel(0, 0, 255, 255));
  // Half-opaque blue over red, and over the desktop colour beside the main window.
  EXPECT_EQ(screen.At(150, 80), gfx::MakePixel(128, 0, 127, 255));
  gfx::Pixel desk = gfx::PixelFromColor(GetSysColor(COLOR_BACKGROUND), 255);
  EXPECT_EQ(screen.At(5, 5), desk);
  gfx::Bitmap window = gfx::LoadPictureFile(wshot);
  ASSERT_EQ(window.Width(), 200);
  ASSERT_EQ(window.Height(), 100);
  EXPECT_EQ(window.At(199, 99), gfx::MakePixel(0, 0, 255, 255));  // the main window alone
}

TEST_F(Scripted, QuitClosesTheMainWindowAsAUserWould) {
  // A hidden window made first (a framework's application window) is not the main window.
  HWND hidden = CreateWindowExW(0, u"Scripted", u"", WS_POPUP, 0, 0, 0, 0, nullptr, 0);
  main = Make({0, 0, 100, 100}, RGB(0, 128, 0));
  refuseClose = true;
  HWND popup = CreateWindowExW(0, u"Scripted", u"", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, main, 0);
  ASSERT_TRUE(popup);
  // The program refuses the first close; the script answers and goes on.
  EXPECT_THROW(Run({"quit", "wait 10", "dump " + OutPath("backend-dump2.json")}), WindowError);
  EXPECT_TRUE(IsWindow(main));
  refuseClose = false;
  EXPECT_EQ(Run({"quit"}), "ok\n");
  EXPECT_FALSE(IsWindow(main));
  EXPECT_TRUE(IsWindow(hidden));
}

TEST_F(Scripted, DumpExtendersAddMembersToEachWindow) {
  main = Make({0, 0, 50, 50}, RGB(0, 0, 0));
  int id = AddDumpExtender([&](HWND h, JsonWriter& j) {
    j.Key("controls");
    j.Number(h == main ? 7 : 0);
  });
  std::string json = DumpWindows();
  RemoveDumpExtender(id);
  EXPECT_NE(json.find("\"controls\":7,\"children\":[]"), std::string::npos) << json;
  EXPECT_EQ(DumpWindows().find("controls"), std::string::npos);
}

TEST(Start, EnvironmentChoosesTheHeadlessDesktop) {
  EXPECT_EQ(ParseDesktopSize("640x480"), (SIZE{640, 480}));
  for (const char* bad :
       {"640", "x480", "640x", "0x10", "640x480x2", "99999x10", "16384x16384", " 640x480"})
    EXPECT_THROW(ParseDesktopSize(bad), std::invalid_argument) << bad;
  setenv("UI_BACKEND", "headless", 1);
  setenv("UI_DESKTOP", "640x480", 1);
  {
    std::unique_ptr<Backend> b = Start();
    EXPECT_EQ(b->DesktopRect(), (RECT{0, 0, 640, 480}));
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 640);
  }
  setenv("UI_BACKEND", "mainframe", 1);
  EXPECT_THROW(Start(), std::invalid_argument);
  unsetenv("UI_BACKEND");
  unsetenv("UI_DESKTOP");
}

}  // namespace
}  // namespace backend
