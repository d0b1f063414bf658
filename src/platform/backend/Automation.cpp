#include "platform/backend/Automation.h"

#include <array>
#include <fstream>

#include "platform/backend/Dump.h"
#include "platform/gfx/PictureCodec.h"
#include "platform/win/Input.h"
#include "platform/win/KeyboardLayout.h"
#include "platform/win/Keys.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/Styles.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/VirtualDesktop.h"
#include "platform/win/Window.h"

namespace backend {

namespace {

constexpr win::UINT kLeftShift = 0x2A;

void Click(win::POINT pt, int button) {
  win::InjectMouseMove(pt);
  win::InjectMouseButton(button, true, pt);
  win::InjectMouseButton(button, false, pt);
}

void Tap(win::UINT scan) {
  win::InjectKey(scan, true);
  win::InjectKey(scan, false);
}

// The key (and whether Shift is needed) that types ch under the active layout, or 0.
win::UINT KeyFor(char16_t ch, bool* shift) {
  std::array<win::BYTE, 256> state{};
  state[win::VK_CAPITAL] = win::BYTE(win::GetKeyState(int(win::VK_CAPITAL)) & 1);
  for (int withShift = 0; withShift < 2; ++withShift) {
    state[win::VK_SHIFT] = withShift ? 0x80 : 0;
    // The main block (digits to slash), space and the extra key of 102-key keyboards: the
    // keypad types some of the same characters but programs tell its keys apart.
    for (win::UINT scan = 2; scan <= 0x56; ++scan) {
      if (scan > 0x35 && scan != 0x39 && scan != 0x56) continue;
      win::UINT vk = win::MapVirtualKeyW(scan, win::MAPVK_VSC_TO_VK);
      // Control keys (Tab, Return, BackSpace) are not text.
      if (vk && ch >= 0x20 && win::CharFromKey(vk, state.data()) == ch) {
        *shift = withShift;
        return scan;
      }
    }
  }
  return 0;
}

void WritePng(const std::string& path, const gfx::Bitmap& bmp) {
  gfx::WriteFileBytes(path, gfx::EncodePng(bmp));
}

}  // namespace

void TypeText(std::u16string_view text) {
  for (char16_t ch : text) {
    bool shift = false;
    win::UINT scan = KeyFor(ch, &shift);
    if (!scan) {
      win::InjectText(std::u16string_view(&ch, 1));
      continue;
    }
    if (shift) win::InjectKey(kLeftShift, true);
    Tap(scan);
    if (shift) win::InjectKey(kLeftShift, false);
  }
}

void PressChord(const KeyChord& chord) {
  for (win::UINT m : chord.modifiers) win::InjectKey(m, true);
  Tap(chord.key);
  for (auto it = chord.modifiers.rbegin(); it != chord.modifiers.rend(); ++it)
    win::InjectKey(*it, false);
}

// The first unowned window the program made that shows; hidden ones (a framework's own
// application window) only when none shows.
win::HWND MainWindow() {
  win::HWND main = nullptr;
  bool mainVisible = false;
  win::EnumWindows(
      [&](win::HWND h, win::LPARAM) {
        if (win::GetWindow(h, win::GW_OWNER)) return true;
        bool visible = win::IsWindowVisible(h);
        if (!main || (visible && !mainVisible) || (visible == mainVisible && h < main)) {
          main = h;
          mainVisible = visible;
        }
        return true;
      },
      0);
  return main;
}

Automation::Automation(win::Backend& backend, std::unique_ptr<ScriptReader> script,
                       std::unique_ptr<std::ostream> reply)
    : backend_(backend), script_(std::move(script)), reply_(std::move(reply)) {}

Automation::~Automation() {
  if (pending_) Reply("ok");
}

void Automation::Reply(const std::string& line) {
  *reply_ << line << '\n';
  reply_->flush();
}

std::optional<win::DWORD> Automation::WakeAt() const {
  return pending_ ? waitUntil_ : std::nullopt;
}

void Automation::Quit() {
  win::HWND main = MainWindow();
  if (!main) throw ScriptError("there is no main window to close");
  win::PostMessageW(main, win::WM_SYSCOMMAND, win::SC_CLOSE, 0);
}

bool Automation::Idle(bool waitForLines) {
  if (pending_) {
    if (waitUntil_ && int(backend_.Now() - *waitUntil_) < 0) return false;
    pending_ = false;
    waitUntil_.reset();
    Reply("ok");
  }
  while (!finished_) {
    ScriptReader::Result next = script_->Next(waitForLines);
    if (next.failure) Reply("error: " + *next.failure);
    if (next.ended) {
      finished_ = true;
      if (MainWindow()) Quit();
      return true;
    }
    if (!next.line) return false;
    if (IsBlankLine(*next.line)) continue;
    try {
      if (Run(ParseCommand(*next.line))) {
        pending_ = true;
        return true;
      }
      Reply("ok");
    } catch (const std::exception& e) {
      Reply(std::string("error: ") + e.what());
    }
  }
  return false;
}

bool Automation::Run(const Command& c) {
  using K = Command::Kind;
  switch (c.kind) {
    case K::Click:
    case K::RClick:
      Click(c.pt, c.button);
      return true;
    case K::DblClick:
      Click(c.pt, c.button);
      Click(c.pt, c.button);
      return true;
    case K::Move:
      win::InjectMouseMove(c.pt);
      return true;
    case K::Down:
    case K::Up:
      win::InjectMouseMove(c.pt);
      win::InjectMouseButton(c.button, c.kind == K::Down, c.pt);
      return true;
    case K::Wheel:
      win::InjectMouseMove(c.pt);
      win::InjectMouseWheel(c.delta, false, c.pt);
      return true;
    case K::Key:
      PressChord(c.chord);
      return true;
    case K::Type:
      TypeText(c.text);
      return true;
    case K::Wait:
      waitUntil_ = backend_.Now() + c.ms;
      return true;
    case K::Shot:
      WritePng(c.path, win::ComposeArea(backend_.DesktopRect()));
      return false;
    case K::WShot: {
      win::HWND active = win::GetActiveWindow();
      if (!active) throw ScriptError("no window is active");
      WritePng(c.path, win::ComposeWindow(active));
      return false;
    }
    case K::Dump: {
      std::ofstream out(c.path, std::ios::binary | std::ios::trunc);
      out << DumpWindows();
      if (!out.flush()) throw ScriptError("cannot write " + c.path);
      return false;
    }
    case K::Quit:
      Quit();
      return true;
    case K::Reading:
      win::SetUIRightToLeft(c.rightToLeft);
      return true;
  }
  return false;
}

}  // namespace backend
