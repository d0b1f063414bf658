#include "skin/data/acPreviewRecord.h"

#include <algorithm>
#include <cstring>

namespace skin::data {

namespace {

constexpr std::size_t kNameAt = 4, kDirAt = kNameAt + acPreviewNameSize,
                      kDataAt = kDirAt + acPreviewDirSize;

// The text of a field: up to its first zero byte or its end.
std::string Field(const std::uint8_t* bytes, std::size_t size) {
  const std::uint8_t* end = std::find(bytes, bytes + size, std::uint8_t(0));
  return std::string(reinterpret_cast<const char*>(bytes), std::size_t(end - bytes));
}

void PutField(std::vector<std::uint8_t>& out, std::size_t at, std::size_t size,
              const std::string& text) {
  std::memcpy(out.data() + at, text.data(), std::min(size, text.size()));
}

}  // namespace

std::optional<TacSkinData> ReadSkinData(const void* block, std::size_t size) {
  if (!block || size < acSkinDataSize) return std::nullopt;
  const auto* bytes = static_cast<const std::uint8_t*>(block);
  TacSkinData record;
  record.Magic = std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 |
                 std::uint32_t(bytes[2]) << 16 | std::uint32_t(bytes[3]) << 24;
  if (record.Magic != ASE_MSG) return std::nullopt;
  record.SkinName = Field(bytes + kNameAt, acPreviewNameSize);
  record.SkinDir = Field(bytes + kDirAt, acPreviewDirSize);
  record.Data = Field(bytes + kDataAt, acPreviewDataSize);
  return record;
}

std::vector<std::uint8_t> WriteSkinData(const TacSkinData& record) {
  std::vector<std::uint8_t> out(acSkinDataSize, 0);
  for (int i = 0; i < 4; ++i) out[std::size_t(i)] = std::uint8_t(record.Magic >> (8 * i));
  PutField(out, kNameAt, acPreviewNameSize, record.SkinName);
  PutField(out, kDirAt, acPreviewDirSize, record.SkinDir);
  PutField(out, kDataAt, acPreviewDataSize, record.Data);
  return out;
}

}  // namespace skin::data
