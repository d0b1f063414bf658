// Fuzz target: the skin editor's preview record (what WM_COPYDATA brings from another
// program) at random declared sizes. The input's first two bytes give the block's size (0 to
// 65535, so blocks shorter and longer than the record's layout come up), the rest fills the
// block from its start, repeated. The block is a heap allocation of exactly that size, so a
// read past it is a finding; so is a record accepted from a short block or with another
// magic, a text longer than its field or holding a zero byte, or a record that does not read
// back the same after writing it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "skin/data/acPreviewRecord.h"

namespace {

using namespace skin::data;

void Check(bool ok) {
  if (!ok) std::abort();
}

bool TextOk(const std::string& text, std::size_t field) {
  return text.size() <= field && text.find('\0') == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::size_t blockSize = std::size_t(data[0]) | std::size_t(data[1]) << 8;
  const std::uint8_t* fill = data + 2;
  const std::size_t fillSize = size - 2;
  std::unique_ptr<std::uint8_t[]> block(new std::uint8_t[blockSize ? blockSize : 1]);
  for (std::size_t i = 0; i < blockSize; ++i) block[i] = fillSize ? fill[i % fillSize] : 0;
  const auto record = ReadSkinData(blockSize ? block.get() : nullptr, blockSize);
  if (!record) return 0;
  Check(blockSize >= acSkinDataSize);
  Check(record->Magic == ASE_MSG);
  Check(TextOk(record->SkinName, acPreviewNameSize) && TextOk(record->SkinDir, acPreviewDirSize) &&
        TextOk(record->Data, acPreviewDataSize));
  const std::vector<std::uint8_t> written = WriteSkinData(*record);
  Check(written.size() == acSkinDataSize);
  const auto again = ReadSkinData(written.data(), written.size());
  Check(again && again->SkinName == record->SkinName && again->SkinDir == record->SkinDir &&
        again->Data == record->Data);
  return 0;
}
