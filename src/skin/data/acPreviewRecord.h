// The record a skin editor sends for a live preview (TacSkinData), as the data block of a
// WM_COPYDATA message: 30645 bytes, no padding.
//
//   offset 0     4 bytes      Magic, 32-bit little-endian, ASE_MSG
//   offset 4     128 bytes    SkinName, 8-bit characters
//   offset 132   512 bytes    SkinDir, 8-bit characters
//   offset 644   30001 bytes  Data, the skin's options text
//
// Each text ends at its first zero byte or at its field's end. The block comes from another
// program: nothing is read unless the block holds the whole layout.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace skin::data {

// The magic of a preview record.
constexpr std::uint32_t ASE_MSG = 0xA400;
// The field sizes and the whole layout's.
constexpr std::size_t acPreviewNameSize = 128, acPreviewDirSize = 512, acPreviewDataSize = 30001;
constexpr std::size_t acSkinDataSize = 4 + acPreviewNameSize + acPreviewDirSize + acPreviewDataSize;
static_assert(acSkinDataSize == 30645);

struct TacSkinData {
  std::uint32_t Magic = 0;
  std::string SkinName;  // 8-bit characters, as sent
  std::string SkinDir;
  std::string Data;  // the options text
};

// The record in block (size bytes as the message declares them). Nothing when the block is
// missing or shorter than the layout (then not one byte of it is read) or when its magic is
// not ASE_MSG. Bytes after the layout are ignored.
std::optional<TacSkinData> ReadSkinData(const void* block, std::size_t size);

// The block of a record (the sender's side): each text cut to its field, the rest zero.
std::vector<std::uint8_t> WriteSkinData(const TacSkinData& record);

}  // namespace skin::data
