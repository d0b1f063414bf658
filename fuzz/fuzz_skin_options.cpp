// Fuzz target: the options text reader on any bytes, at every scale. ESkinError (a malformed
// picture value) is the one expected outcome of bad input; anything else is a finding.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "skin/data/SkinError.h"
#include "skin/data/sSkinOptions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (int scale = 0; scale < 4; ++scale) {
    try {
      auto options = skin::data::ReadSkinOptions(text, scale, skin::data::TacSystemColors{});
      for (auto& item : options.Items) skin::data::FitToPicture(item.Value, 97, 61);
    } catch (const skin::data::ESkinError&) {
    }
  }
  return 0;
}
