// Fuzz target: the skin package reader and the preview reader on any bytes. ESkinError is the
// one expected outcome of bad input; anything else is a finding.
#include <cstddef>
#include <cstdint>

#include "skin/data/SkinError.h"
#include "skin/data/acSkinPack.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  skin::data::TacSkinConvertor convertor;
  try {
    skin::data::ExtractPackedData({data, size}, convertor);
  } catch (const skin::data::ESkinError&) {
  }
  skin::data::GetPreviewStream({data, size});
  return 0;
}
