#include "platform/backend/Script.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>

#include "platform/win/KeyboardLayout.h"

namespace backend {

namespace {

struct NamedKey {
  std::string_view name;
  win::UINT scan;
};

// Keys by name (X11-style names, with common aliases). Letters and digits are found by
// their US position instead.
constexpr std::array<NamedKey, 48> kKeys = {{
    {"escape", 0x01},    {"esc", 0x01},       {"minus", 0x0C},       {"equal", 0x0D},
    {"backspace", 0x0E}, {"tab", 0x0F},       {"bracketleft", 0x1A}, {"bracketright", 0x1B},
    {"return", 0x1C},    {"enter", 0x1C},     {"semicolon", 0x27},   {"apostrophe", 0x28},
    {"grave", 0x29},     {"backslash", 0x2B}, {"comma", 0x33},       {"period", 0x34},
    {"slash", 0x35},     {"space", 0x39},     {"capslock", 0x3A},    {"f1", 0x3B},
    {"f2", 0x3C},        {"f3", 0x3D},        {"f4", 0x3E},          {"f5", 0x3F},
    {"f6", 0x40},        {"f7", 0x41},        {"f8", 0x42},          {"f9", 0x43},
    {"f10", 0x44},       {"f11", 0x57},       {"f12", 0x58},         {"home", 0xE047},
    {"up", 0xE048},      {"pageup", 0xE049},  {"prior", 0xE049},     {"left", 0xE04B},
    {"right", 0xE04D},   {"end", 0xE04F},     {"down", 0xE050},      {"pagedown", 0xE051},
    {"next", 0xE051},    {"insert", 0xE052},  {"delete", 0xE053},    {"kp_enter", 0xE01C},
    {"shift", 0x2A},     {"ctrl", 0x1D},      {"control", 0x1D},     {"alt", 0x38},
}};

constexpr std::array<NamedKey, 4> kModifiers = {
    {{"ctrl", 0x1D}, {"control", 0x1D}, {"shift", 0x2A}, {"alt", 0x38}}};

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return out;
}

template <std::size_t N>
const NamedKey* Lookup(const std::array<NamedKey, N>& table, std::string_view name) {
  std::string lower = Lower(name);
  for (const NamedKey& k : table)
    if (k.name == lower) return &k;
  return nullptr;
}

win::UINT KeyScan(std::string_view name) {
  if (const NamedKey* k = Lookup(kKeys, name)) return k->scan;
  if (name.size() == 1) {
    char c = name[0];
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
      return win::MapVirtualKeyW(win::UINT(c), win::MAPVK_VK_TO_VSC);
  }
  throw ScriptError("unknown key '" + std::string(name) + "'");
}

// Splits off the next word (separated by spaces or tabs).
std::string_view NextWord(std::string_view& rest) {
  std::size_t start = rest.find_first_not_of(" \t");
  if (start == std::string_view::npos) {
    rest = {};
    return {};
  }
  rest.remove_prefix(start);
  std::size_t end = std::min(rest.find_first_of(" \t"), rest.size());
  std::string_view word = rest.substr(0, end);
  rest.remove_prefix(end);
  return word;
}

std::string_view Trim(std::string_view s) {
  std::size_t a = s.find_first_not_of(" \t\r");
  if (a == std::string_view::npos) return {};
  std::size_t b = s.find_last_not_of(" \t\r");
  return s.substr(a, b - a + 1);
}

long Number(std::string_view word, const char* what, long min, long max) {
  long v = 0;
  auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), v);
  if (word.empty() || ec != std::errc() || end != word.data() + word.size())
    throw ScriptError(std::string("expected a number for ") + what);
  if (v < min || v > max)
    throw ScriptError(std::string(what) + " out of range [" + std::to_string(min) + ", " +
                      std::to_string(max) + "]");
  return v;
}

int Button(std::string_view word) {
  std::string b = Lower(word);
  if (b == "left") return 0;
  if (b == "right") return 1;
  if (b == "middle") return 2;
  throw ScriptError("unknown button '" + std::string(word) + "'");
}

}  // namespace

bool IsBlankLine(std::string_view line) {
  line = Trim(line);
  return line.empty() || line[0] == '#';
}

KeyChord ParseKeyChord(std::string_view name) {
  KeyChord chord;
  for (;;) {
    std::size_t plus = name.find('+');
    // A trailing '+' alone is no key; "Ctrl+" is an error, not the plus key.
    if (plus == std::string_view::npos) break;
    const NamedKey* m = Lookup(kModifiers, name.substr(0, plus));
    if (!m) throw ScriptError("unknown modifier '" + std::string(name.substr(0, plus)) + "'");
    if (std::find(chord.modifiers.begin(), chord.modifiers.end(), m->scan) != chord.modifiers.end())
      throw ScriptError("modifier given twice");
    chord.modifiers.push_back(m->scan);
    name.remove_prefix(plus + 1);
  }
  if (name.empty()) throw ScriptError("missing key name");
  chord.key = KeyScan(name);
  return chord;
}

Command ParseCommand(std::string_view line) {
  if (line.size() > kMaxScriptLine) throw ScriptError("line too long");
  line = Trim(line);
  std::string_view rest = line;
  std::string verb = Lower(NextWord(rest));
  Command c;
  auto point = [&] {
    c.pt.X = int(Number(NextWord(rest), "X", -32768, 32767));
    c.pt.Y = int(Number(NextWord(rest), "Y", -32768, 32767));
  };
  auto optionalButton = [&](int fallback) {
    std::string_view b = NextWord(rest);
    c.button = b.empty() ? fallback : Button(b);
  };
  auto argument = [&](const char* what) {
    std::string_view arg = Trim(rest);
    if (arg.empty()) throw ScriptError(std::string("missing ") + what);
    rest = {};
    return arg;
  };
  if (verb == "click" || verb == "dblclick" || verb == "down" || verb == "up") {
    c.kind = verb == "click"      ? Command::Kind::Click
             : verb == "dblclick" ? Command::Kind::DblClick
             : verb == "down"     ? Command::Kind::Down
                                  : Command::Kind::Up;
    point();
    optionalButton(0);
  } else if (verb == "rclick") {
    c.kind = Command::Kind::RClick;
    point();
    c.button = 1;
  } else if (verb == "move") {
    c.kind = Command::Kind::Move;
    point();
  } else if (verb == "wheel") {
    c.kind = Command::Kind::Wheel;
    point();
    c.delta = int(Number(NextWord(rest), "DELTA", -32768, 32767));
  } else if (verb == "key") {
    c.kind = Command::Kind::Key;
    c.chord = ParseKeyChord(NextWord(rest));
  } else if (verb == "type") {
    c.kind = Command::Kind::Type;
    // Everything after one separator is the text, spaces included.
    std::size_t start = line.find_first_of(" \t");
    if (start == std::string_view::npos) throw ScriptError("missing text");
    c.text = Utf8ToUtf16(line.substr(start + 1));
    rest = {};
  } else if (verb == "wait") {
    c.kind = Command::Kind::Wait;
    c.ms = win::DWORD(Number(NextWord(rest), "MS", 0, 24L * 3600 * 1000));
  } else if (verb == "shot" || verb == "wshot" || verb == "dump") {
    c.kind = verb == "shot"    ? Command::Kind::Shot
             : verb == "wshot" ? Command::Kind::WShot
                               : Command::Kind::Dump;
    c.path = std::string(argument("file name"));
  } else if (verb == "quit") {
    c.kind = Command::Kind::Quit;
  } else if (verb == "reading") {
    c.kind = Command::Kind::Reading;
    const std::string order = Lower(NextWord(rest));
    if (order != "ltr" && order != "rtl") throw ScriptError("reading order must be ltr or rtl");
    c.rightToLeft = order == "rtl";
  } else {
    throw ScriptError(verb.empty() ? "empty command" : "unknown command '" + verb + "'");
  }
  if (!Trim(rest).empty()) throw ScriptError("unexpected '" + std::string(Trim(rest)) + "'");
  return c;
}

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  auto bad = [] { throw ScriptError("malformed UTF-8"); };
  for (std::size_t i = 0; i < text.size();) {
    auto b = std::uint8_t(text[i]);
    int extra = b < 0x80             ? 0
                : (b & 0xE0) == 0xC0 ? 1
                : (b & 0xF0) == 0xE0 ? 2
                : (b & 0xF8) == 0xF0 ? 3
                                     : -1;
    if (extra < 0 || i + std::size_t(extra) >= text.size()) bad();
    std::uint32_t cp = extra == 0 ? b : b & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
      auto c = std::uint8_t(text[i + std::size_t(k)]);
      if ((c & 0xC0) != 0x80) bad();
      cp = (cp << 6) | (c & 0x3F);
    }
    static constexpr std::uint32_t kMin[4] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) bad();
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(char16_t(0xD800 + (cp >> 10)));
      out.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(char16_t(cp));
    }
    i += std::size_t(extra) + 1;
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
    if (cp < 0x80) {
      out.push_back(char(cp));
    } else if (cp < 0x800) {
      out.push_back(char(0xC0 | (cp >> 6)));
      out.push_back(char(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(char(0xE0 | (cp >> 12)));
      out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(char(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(char(0xF0 | (cp >> 18)));
      out.push_back(char(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(char(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

}  // namespace backend
