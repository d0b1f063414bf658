// The headless backend driven by scripts, as a program sees it: its own message loop, the
// automation running whenever that loop is idle.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "TestOutput.h"
#include "platform/backend/Dump.h"
#include "platform/backend/Headless.h"
#include "platform/backend/Start.h"
#include "platform/gfx/PictureCodec.h"
#include "platform/win/KeyboardLayout.h"
#include "platform/win/Mdi.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/Paint.h"
#include "platform/win/Styles.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Timers.h"
#include "platform/win/Window.h"
#include "platform/win/WindowProc.h"

namespace backend {
namespace {

using namespace win;
using gfx::RGB;

std::string OutPath(const std::string& name) {
  return (tests::OutputFolder() / name).string();
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
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = MakeWindowProc([this](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
      if ((m >= WM_KEYFIRST && m <= WM_SYSKEYUP) || (m >= WM_MOUSEFIRST && m <= WM_MOUSEWHEEL))
        delivered.push_back(Describe(m, w, l));
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

  // A delivered input message as "MESSAGE WPARAM LPARAM" in hexadecimal.
  static std::string Describe(UINT m, WPARAM w, LPARAM l) {
    char text[40];
    std::snprintf(text, sizeof text, "%04x %x %08x", m, unsigned(w), unsigned(std::uint32_t(l)));
    return text;
  }
  // The delivered messages of a kind (a range of message numbers), in order.
  std::vector<std::string> Delivered(UINT first, UINT last) const {
    std::vector<std::string> out;
    for (const std::string& d : delivered) {
      UINT m = UINT(std::stoul(d.substr(0, 4), nullptr, 16));
      if (m >= first && m <= last) out.push_back(d);
    }
    return out;
  }

  std::vector<std::string> delivered;  // input messages, see Describe
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

TEST_F(Scripted, MouseCommandsDeliverTheirMessagesAndParameters) {
  main = Make({10, 10, 210, 110}, RGB(255, 0, 0));
  EXPECT_EQ(Run({"dblclick 20 30", "dblclick 40 50 right", "down 30 40", "move 60 70", "up 80 90",
                 "down 50 60 middle", "up 50 60 middle", "wheel 100 60 -240", "wheel 5 5 120"}),
            "ok\nok\nok\nok\nok\nok\nok\nok\nok\n");
  // Buttons and moves in client coordinates with the buttons held (MK_*); the second press of
  // a double-click is WM_*BUTTONDBLCLK; the wheel carries its signed delta in the high word
  // and the screen position, and goes to the focus window even from outside it.
  EXPECT_EQ(Delivered(WM_MOUSEFIRST, WM_MOUSEWHEEL),
            (std::vector<std::string>{
                "0200 0 0014000a",         // move to (10, 20)
                "0201 1 0014000a",         // left down, MK_LBUTTON
                "0202 0 0014000a",         // left up
                "0200 0 0014000a",         // the second click moves there too
                "0203 1 0014000a",         // left double-click
                "0202 0 0014000a",         //
                "0200 0 0028001e",         // move to (30, 40)
                "0204 2 0028001e",         // right down, MK_RBUTTON
                "0205 0 0028001e",         //
                "0200 0 0028001e",         //
                "0206 2 0028001e",         // right double-click
                "0205 0 0028001e",         //
                "0200 0 001e0014",         // down 30 40: (20, 30)
                "0201 1 001e0014",         //
                "0200 1 003c0032",         // a drag: the left button held
                "0200 1 00500046",         // up 80 90: (70, 80)
                "0202 0 00500046",         //
                "0200 0 00320028",         // middle at (40, 50)
                "0207 10 00320028",        // MK_MBUTTON
                "0200 10 00320028",        // up moves there with the button held
                "0208 0 00320028",         //
                "0200 0 0032005a",         // wheel 100 60: client (90, 50)
                "020a ff100000 003c0064",  // -240 towards the user, screen (100, 60)
                "020a 780000 00050005",    // +120 over no window, screen (5, 5)
            }));
}

TEST_F(Scripted, KeyChordsPressModifiersInOrderAndReleaseThemInReverse) {
  main = Make({10, 10, 210, 110}, RGB(255, 0, 0));
  LoadKeyboardLayoutW(u"00000409", KLF_ACTIVATE);
  ASSERT_EQ(Run({"click 20 30", "key Ctrl+Shift+Z", "key Alt+Down", "key Delete"}),
            "ok\nok\nok\nok\n");
  // wParam the virtual key; lParam the repeat count 1, the set-1 scan code, the extended-key
  // bit (24), the Alt context bit (29) and, on release, the previous-state and transition
  // bits (30, 31).
  std::vector<std::string> keys = Delivered(WM_KEYFIRST, WM_SYSKEYUP);
  ASSERT_EQ(keys.size(), 13u);
  // Releasing Alt may be a system key or not; its key and bits are fixed.
  EXPECT_TRUE(keys[10] == "0101 12 c0380001" || keys[10] == "0105 12 c0380001") << keys[10];
  keys[10] = "Alt up";
  EXPECT_EQ(keys, (std::vector<std::string>{
                      "0100 11 001d0001",  // Ctrl down
                      "0100 10 002a0001",  // Shift down
                      "0100 5a 002c0001",  // Z down
                      "0102 1a 002c0001",  // its character: Ctrl+Z is U+001A
                      "0101 5a c02c0001",  // Z up
                      "0101 10 c02a0001",  // Shift up
                      "0101 11 c01d0001",  // Ctrl up
                      "0104 12 20380001",  // Alt down: a system key
                      "0104 28 21500001",  // Down with Alt: extended, in Alt context
                      "0105 28 e1500001",  //
                      "Alt up",            //
                      "0100 2e 01530001",  // Delete: extended, no character
                      "0101 2e c1530001",  //
                  }));
}

TEST_F(Scripted, TheDumpEscapesBackslashesQuotesAndControlCharacters) {
  main = Make({0, 0, 50, 50}, RGB(0, 0, 0), 0, u"C:\\dir\\\"x\"\n\t\r\x01\x1F\b\x7Fй\U0001F600");
  const std::string json = DumpWindows();
  EXPECT_NE(json.find("\"text\":\"C:\\\\dir\\\\\\\"x\\\"\\n\\t\\r\\u0001\\u001f\\u0008"
                      "\x7F\xD0\xB9\xF0\x9F\x98\x80\","),
            std::string::npos)
      << json;
  // Keys are escaped alike.
  JsonWriter j;
  j.BeginObject();
  j.Key("a\\b\x02");
  j.Null();
  j.EndObject();
  EXPECT_EQ(j.Text(), "{\"a\\\\b\\u0002\":null}");
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

TEST_F(Scripted, TheReadingOrderIsTheSystemsAndLastsUntilChanged) {
  main = Make({0, 0, 50, 50}, RGB(0, 0, 0));
  EXPECT_EQ(GetSystemMetrics(SM_MIDEASTENABLED), 0);  // left to right, as the Russian system
  EXPECT_EQ(Run({"reading rtl"}), "ok\n");
  EXPECT_NE(GetSystemMetrics(SM_MIDEASTENABLED), 0);  // the window closing at the end keeps it
  main = Make({0, 0, 50, 50}, RGB(0, 0, 0));
  EXPECT_EQ(Run({"reading ltr"}), "ok\n");
  EXPECT_EQ(GetSystemMetrics(SM_MIDEASTENABLED), 0);
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

TEST_F(Scripted, MdiChildrenReportTheirClientsActiveChildAndTheirState) {
  main = Make({0, 0, 300, 200}, RGB(0, 0, 0));
  CLIENTCREATESTRUCT ccs;
  HWND client = CreateWindowExW(0, MDICLIENT_CLASS, u"", WS_CHILD | WS_VISIBLE, 0, 0, 300, 200,
                                main, 1, &ccs);
  MDICREATESTRUCTW mcs;
  mcs.szClass = u"Scripted";
  mcs.x = mcs.cx = CW_USEDEFAULT;
  mcs.style = WS_VISIBLE;
  for (const char16_t* title : {u"one", u"two"}) {
    mcs.szTitle = title;
    SendMessageW(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs));
  }
  HWND two = HwndFromParam(std::uintptr_t(SendMessageW(client, WM_MDIGETACTIVE, 0, 0)));
  SendMessageW(client, WM_MDIMAXIMIZE, WParamFromHwnd(two), 0);
  const std::string json = DumpWindows();
  // The members of one window, from its text to its children.
  auto of = [&](const std::string& text) {
    std::size_t at = json.find("\"text\":\"" + text + "\"");
    return at == std::string::npos ? std::string()
                                   : json.substr(at, json.find("children", at) - at);
  };
  EXPECT_NE(of("two").find("\"active\":true"), std::string::npos) << json;
  EXPECT_NE(of("two").find("\"mdiChild\":true,\"maximized\":true"), std::string::npos) << json;
  EXPECT_NE(of("one").find("\"active\":false"), std::string::npos) << json;
  EXPECT_NE(of("one").find("\"mdiChild\":true,\"maximized\":false"), std::string::npos) << json;
  EXPECT_EQ(of("").find("mdiChild"), std::string::npos) << json;  // the client is no child
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

TEST(Start, AScriptFileRunsAndItsRepliesGoToUiReply) {
  const std::string base = ::testing::TempDir() + "backend-start-" + std::to_string(getpid());
  const std::string script = base + ".script", reply = base + ".replies";
  {
    // Windows line ends, an over-long line, a blank line and an unterminated last line.
    std::ofstream out(script, std::ios::binary);
    out << "move 5 5\r\n" << std::string(kMaxScriptLine + 100, 'x') << "\nbogus\n\nquit";
  }
  setenv("UI_BACKEND", "headless", 1);
  setenv("UI_SCRIPT", script.c_str(), 1);
  setenv("UI_REPLY", reply.c_str(), 1);
  {
    std::unique_ptr<Backend> b = Start();
    WNDCLASSEXW wc;
    wc.lpfnWndProc = MakeWindowProc([](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
      if (m == WM_DESTROY) PostQuitMessage(0);
      return DefWindowProcW(h, m, w, l);
    });
    wc.lpszClassName = u"Replies";
    ASSERT_NE(RegisterClassExW(wc), 0);
    ASSERT_TRUE(
        CreateWindowExW(0, u"Replies", u"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, 0));
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0)) DispatchMessageW(msg);
  }
  EXPECT_EQ(ReadText(reply), "ok\nerror: line too long\nerror: unknown command 'bogus'\nok\n");
  // A reply file that cannot be written stops the start with a message.
  setenv("UI_REPLY", "/no/such/dir/replies", 1);
  EXPECT_THROW(Start(), std::runtime_error);
  unsetenv("UI_BACKEND");
  unsetenv("UI_SCRIPT");
  unsetenv("UI_REPLY");
  std::remove(script.c_str());
  std::remove(reply.c_str());
}

}  // namespace
}  // namespace backend
