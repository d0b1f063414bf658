// Gradient values from skin options text: parsed, then painted into a small bitmap.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/gfx/GraphicsError.h"
#include "skin/paint/sGradient.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace skin::paint;
  TsGradArray g;
  try {
    PrepareGradArray({reinterpret_cast<const char*>(data), size}, g);
  } catch (const gfx::GraphicsError&) {
    return 0;
  }
  Bitmap b(23, 11);
  PaintGrad(b, {-3, 2, 30, 10}, g, 0, 0);
  PaintGrad(b, {1, -4, 9, 40}, g, 0, 3);
  return 0;
}
