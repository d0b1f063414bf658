// Fuzz target: an image-list item of any stored format and bytes, rendered at any small size.
// The first byte is the format (any value, the three known ones among them), the next two the
// requested width and height (0 to 63); the rest is the item's data. GraphicsError is the one
// expected outcome of bad data; anything else is a finding.
#include <cstddef>
#include <cstdint>

#include "platform/gfx/GraphicsError.h"
#include "skin/paint/acAlphaImageList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const auto format = skin::paint::TsImageFormat(data[0] % 4);
  const int width = data[1] % 64, height = data[2] % 64;
  try {
    skin::paint::RenderImageData(format, {data + 3, size - 3}, width, height);
  } catch (const gfx::GraphicsError&) {
  }
  return 0;
}
