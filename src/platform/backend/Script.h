// The automation script: one command per line, parsed from outside input. Parsing checks
// everything (names, numbers, ranges) so that running a command cannot fail on its syntax.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win/Types.h"

namespace backend {

// A line the parser rejects, or a command that cannot run; the message goes into the reply.
class ScriptError : public std::runtime_error {
 public:
  explicit ScriptError(const std::string& message) : std::runtime_error(message) {}
};

// A key with the modifiers held around it, as set-1 scan codes (extended keys carry 0xE000).
struct KeyChord {
  std::vector<win::UINT> modifiers;  // pressed in this order, released in reverse
  win::UINT key = 0;
};

// One parsed command.
struct Command {
  enum class Kind {
    Click,     // click X Y [BUTTON]
    DblClick,  // dblclick X Y [BUTTON]
    RClick,    // rclick X Y
    Move,      // move X Y
    Down,      // down X Y [BUTTON]
    Up,        // up X Y [BUTTON]
    Wheel,     // wheel X Y DELTA (120 per notch, positive away from the user)
    Key,       // key NAME
    Type,      // type TEXT
    Wait,      // wait MS
    Shot,      // shot FILE: the desktop as PNG
    WShot,     // wshot FILE: the active top-level window as PNG
    Dump,      // dump FILE: the windows as JSON
    Quit,      // quit: closes the main window
    Reading,   // reading ltr|rtl: the user interface's reading order (the system's locale)
  } kind = Kind::Quit;
  win::POINT pt;             // mouse commands
  int button = 0;            // 0 left, 1 right, 2 middle
  int delta = 0;             // wheel
  win::DWORD ms = 0;         // wait
  KeyChord chord;            // key
  std::u16string text;       // type
  std::string path;          // shot, wshot, dump
  bool rightToLeft = false;  // reading
};

// Longest line accepted; longer lines are rejected rather than buffered without bound.
constexpr std::size_t kMaxScriptLine = 64 * 1024;

// Whether a line holds no command (blank, or a comment starting with #).
bool IsBlankLine(std::string_view line);
// Parses one line (without its line end); raises ScriptError with a readable message.
Command ParseCommand(std::string_view line);
// A key name with modifiers ("Return", "Alt+Down", "Ctrl+A", "F4"), case-insensitive.
KeyChord ParseKeyChord(std::string_view name);
// Strict UTF-8 to UTF-16; raises ScriptError on malformed input.
std::u16string Utf8ToUtf16(std::string_view text);
// UTF-16 to UTF-8; unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace backend
