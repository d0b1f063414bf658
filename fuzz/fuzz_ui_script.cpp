// Fuzz target: the automation script parser on any bytes, line by line as the script reader
// delivers them, and the desktop size of UI_DESKTOP. ScriptError (and invalid_argument for
// the size) is the one expected outcome of bad input; text that parses survives a round trip
// through UTF-16.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string_view>

#include "platform/backend/Script.h"
#include "platform/backend/Start.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  try {
    backend::ParseDesktopSize(input.substr(0, 32));
  } catch (const std::invalid_argument&) {
  }
  while (!input.empty()) {
    std::size_t end = std::min(input.find('\n'), input.size());
    std::string_view line = input.substr(0, end);
    input.remove_prefix(std::min(end + 1, input.size()));
    if (backend::IsBlankLine(line)) continue;
    try {
      backend::Command c = backend::ParseCommand(line);
      if (c.kind == backend::Command::Kind::Type &&
          backend::Utf8ToUtf16(backend::Utf16ToUtf8(c.text)) != c.text)
        std::abort();
    } catch (const backend::ScriptError&) {
    }
  }
  return 0;
}
