// Fuzz target: the ICO decoder on any bytes. GraphicsError is the one expected outcome of bad
// input; anything else (a crash, a sanitizer report, another exception) is a finding.
#include <cstddef>
#include <cstdint>

#include "platform/gfx/GraphicsError.h"
#include "platform/gfx/PictureCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    gfx::DecodeIco({data, size});
  } catch (const gfx::GraphicsError&) {
  }
  return 0;
}
