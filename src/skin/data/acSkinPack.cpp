#include "skin/data/acSkinPack.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>

#include "platform/gfx/GraphicsError.h"
#include "platform/gfx/PictureCodec.h"
#include "skin/data/SkinError.h"
#include "skin/data/acZLibStream.h"

namespace skin::data {

namespace {

constexpr std::string_view kMagic = "ASzf";
constexpr std::string_view kPreviewMarker = "previewimg";
constexpr std::string_view kOptionsName = "OPTIONS.DAT";
// Name length, size, and the shortest zlib stream (2 header, 2 deflate, 4 trailer bytes).
constexpr std::size_t kMinEntryBytes = 4 + 4 + 8;

[[noreturn]] void Damaged(const std::string& why) {
  throw ESkinError(std::string(acNotPackedSkinMsg) + " " + why);
}

std::uint32_t ReadU32(std::span<const std::uint8_t> data, std::size_t& pos) {
  if (data.size() - pos < 4) Damaged("It ends inside an entry header.");
  const std::uint8_t* p = data.data() + pos;
  pos += 4;
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
         std::uint32_t(p[3]) << 24;
}

void AppendU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(v >> (8 * i)));
}

void AppendBytes(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> bytes) {
  out.insert(out.end(), bytes.begin(), bytes.end());
}

std::span<const std::uint8_t> AsBytes(std::string_view s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

}  // namespace

std::string UpperCase(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  }
  return out;
}

TacFileType FileTypeOf(std::string_view name) {
  const std::string ext = UpperCase(std::filesystem::path(name).extension().string());
  if (ext == ".BMP") return ftBmp;
  if (ext == ".TTF" || ext == ".OTF") return ftFont;
  return ftOther;
}

void TacSkinConvertor::Clear() {
  Options.reset();
  Files.clear();
  FileCount = 0;
}

const TacFileItem* TacSkinConvertor::FindFile(std::string_view name) const {
  const std::string wanted = UpperCase(name);
  for (const TacFileItem& f : Files) {
    if (UpperCase(f.Name) == wanted) return &f;
  }
  return nullptr;
}

bool ExtractPackedData(std::span<const std::uint8_t> packed, TacSkinConvertor& convertor) {
  convertor.Clear();
  if (packed.size() < kMagic.size() ||
      std::memcmp(packed.data(), kMagic.data(), kMagic.size()) != 0) {
    return false;
  }
  std::size_t pos = kMagic.size();
  const std::uint32_t count = ReadU32(packed, pos);
  if (count > (packed.size() - pos) / kMinEntryBytes) Damaged("Its entry count is too large.");
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint32_t nameLength = ReadU32(packed, pos);
    if (nameLength > packed.size() - pos) Damaged("An entry name runs past its end.");
    std::string name(reinterpret_cast<const char*>(packed.data() + pos), nameLength);
    pos += nameLength;
    const std::uint32_t size = ReadU32(packed, pos);
    if (size > MaxInflatedSize(packed.size() - pos)) Damaged("An entry size is too large.");
    std::vector<std::uint8_t> bytes;
    try {
      bytes = InflateExactly(packed, pos, size);
    } catch (const ESkinError& e) {
      Damaged(std::string(e.what()) + " (\"" + name + "\").");
    }
    if (UpperCase(name) == kOptionsName) {
      if (convertor.Options) Damaged("It holds two options entries.");
      convertor.Options = std::move(bytes);
    } else {
      const TacFileType type = FileTypeOf(name);
      convertor.Files.push_back({std::move(name), type, std::move(bytes)});
    }
  }
  convertor.FileCount = int(convertor.Files.size());
  return true;
}

bool LoadSkinFromFile(const std::string& fileName, TacSkinConvertor& convertor) {
  if (!std::filesystem::is_regular_file(fileName)) return false;
  std::vector<std::uint8_t> packed;
  try {
    packed = gfx::ReadFileBytes(fileName);
  } catch (const gfx::GraphicsError& e) {
    throw ESkinError(e.what());
  }
  if (!ExtractPackedData(packed, convertor)) throw ESkinError(acNotPackedSkinMsg);
  return true;
}

std::optional<std::vector<std::uint8_t>> GetPreviewStream(std::span<const std::uint8_t> source) {
  const auto marker = AsBytes(kPreviewMarker);
  const auto found = std::search(source.begin(), source.end(),
                                 std::boyer_moore_horspool_searcher(marker.begin(), marker.end()));
  if (found == source.end()) return std::nullopt;
  std::size_t pos = std::size_t(found - source.begin()) + marker.size();
  if (source.size() - pos < 4) return std::nullopt;
  const std::uint32_t length = ReadU32(source, pos);
  // A trailer claiming more bytes than remain is damaged: no preview.
  if (length > source.size() - pos) return std::nullopt;
  return std::vector<std::uint8_t>(source.begin() + pos, source.begin() + pos + length);
}

std::optional<std::vector<std::uint8_t>> GetPreviewStream(const std::string& fileName) {
  if (!std::filesystem::is_regular_file(fileName)) return std::nullopt;
  try {
    return GetPreviewStream(gfx::ReadFileBytes(fileName));
  } catch (const gfx::GraphicsError&) {
    return std::nullopt;
  }
}

std::vector<std::uint8_t> PackSkin(std::span<const std::uint8_t> options,
                                   std::span<const TacPackEntry> files,
                                   std::span<const std::uint8_t> preview) {
  std::vector<std::uint8_t> out;
  AppendBytes(out, AsBytes(kMagic));
  AppendU32(out, std::uint32_t(files.size() + 1));
  auto entry = [&out](std::string_view name, std::span<const std::uint8_t> data) {
    AppendU32(out, std::uint32_t(name.size()));
    AppendBytes(out, AsBytes(name));
    AppendU32(out, std::uint32_t(data.size()));
    AppendBytes(out, DeflateStream(data));
  };
  entry(kOptionsName, options);
  for (const TacPackEntry& f : files) {
    if (UpperCase(f.Name) == kOptionsName) throw ESkinError("A skin has one options entry");
    entry(f.Name, f.Data);
  }
  if (!preview.empty()) {
    AppendBytes(out, AsBytes(kPreviewMarker));
    AppendU32(out, std::uint32_t(preview.size()));
    AppendBytes(out, preview);
  }
  return out;
}

}  // namespace skin::data
