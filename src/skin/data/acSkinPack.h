// Skin packages ("ASzf" files, ".asz"): one options entry and the skin's pictures and fonts,
// each entry a zlib stream, optionally followed by a PNG preview trailer. Reading, the
// preview, and packing.
//
// Layout (integers 32-bit little-endian, no padding): "ASzf", entry count N, then N entries
// of { name length L, L name bytes, inflated size S, one zlib stream inflating to S bytes },
// then optionally "previewimg", a length P and P bytes of PNG.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace skin::data {

// Kind of a package entry, by the upper-cased extension of its name.
enum TacFileType { ftBmp = 0, ftFont = 1, ftOther = 2 };

// ".BMP" -> ftBmp; ".TTF" or ".OTF" -> ftFont; anything else ftOther.
TacFileType FileTypeOf(std::string_view name);

// One non-options entry of a package.
struct TacFileItem {
  std::string Name;                  // as stored (8-bit name)
  TacFileType FileType = ftOther;    // from the extension
  std::vector<std::uint8_t> Stream;  // the inflated bytes
};

// A package read into memory: the options text and the other entries.
class TacSkinConvertor {
 public:
  std::optional<std::vector<std::uint8_t>> Options;  // "OPTIONS.DAT", absent when none
  int FileCount = 0;                                 // number of Files actually read
  std::vector<TacFileItem> Files;                    // non-options entries in package order

  // Frees every entry and the options text.
  void Clear();
  // The first entry whose upper-cased name equals the upper-cased name, or null.
  const TacFileItem* FindFile(std::string_view name) const;
};

// The message given for data that does not start with the package magic.
inline constexpr const char* acNotPackedSkinMsg =
    "The loaded data is not a packed skin file of this library.";

// Reads a package into convertor (cleared first). Returns false when the magic is wrong.
// A damaged package (a count, length or size beyond the bytes that remain, a truncated or
// damaged entry, an entry inflating to more or fewer bytes than its size, a second options
// entry) raises ESkinError starting with acNotPackedSkinMsg; nothing is allocated beyond what
// the package can really hold. Bytes after the last entry are ignored.
bool ExtractPackedData(std::span<const std::uint8_t> packed, TacSkinConvertor& convertor);

// Reads the package file into convertor; does nothing and returns false when the file does
// not exist. A file that is not a package or is damaged raises ESkinError.
bool LoadSkinFromFile(const std::string& fileName, TacSkinConvertor& convertor);

// The preview PNG of a package held in memory or in a file, or nothing when there is no
// (whole) trailer or no file.
std::optional<std::vector<std::uint8_t>> GetPreviewStream(std::span<const std::uint8_t> source);
std::optional<std::vector<std::uint8_t>> GetPreviewStream(const std::string& fileName);

// One entry to pack.
struct TacPackEntry {
  std::string Name;
  std::vector<std::uint8_t> Data;
};

// A package holding options (as "OPTIONS.DAT", first) and files in order, with the preview
// trailer when preview is not empty.
std::vector<std::uint8_t> PackSkin(std::span<const std::uint8_t> options,
                                   std::span<const TacPackEntry> files,
                                   std::span<const std::uint8_t> preview = {});

// ASCII upper case, as entry and picture names are compared.
std::string UpperCase(std::string_view s);

}  // namespace skin::data
