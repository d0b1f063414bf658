// Fuzz target: window description text from outside, naming the framework's classes and the
// skin library's (providers with their title buttons among them). Parsing and reading it into
// a data module must end in components or in EReadError (naming file and line); anything else
// is a finding.
// Files named by the text are looked for in a folder that does not exist.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "framework/DataModule.h"
#include "framework/Reader.h"
#include "skin/controls/sControls.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  skin::controls::RegisterSkinClasses();
  std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    fw::ParseWindowDescription(text, "fuzz.txt");
  } catch (const fw::EReadError&) {
    return 0;
  }
  fw::TDataModule module(nullptr);
  try {
    fw::ReadComponentText(&module, text, "fuzz.txt", "/nonexistent-fuzz-folder");
  } catch (const fw::EReadError&) {
  }
  return 0;
}
