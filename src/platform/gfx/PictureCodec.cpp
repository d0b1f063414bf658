// Picture format detection and dispatch, and whole-file reading and writing.
#include "platform/gfx/PictureCodec.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/gfx/CodecCommon.h"
#include "platform/gfx/GraphicsError.h"

namespace gfx {
namespace {

// Files larger than this are refused instead of read into memory.
constexpr std::size_t kMaxFileBytes = std::size_t(1) << 30;

bool StartsWith(std::span<const std::uint8_t> data, std::initializer_list<std::uint8_t> prefix) {
  return data.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), data.begin());
}

using FileHandle = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

[[noreturn]] void ThrowFileError(const char* what, const std::string& path, int error) {
  throw GraphicsError(std::string(what) + " \"" + path + "\": " + std::strerror(error));
}

}  // namespace

void CheckPictureSize(std::int64_t width, std::int64_t height) {
  if (width > Bitmap::kMaxSide || height > Bitmap::kMaxSide ||
      width * height > Bitmap::kMaxPixels) {
    throw GraphicsError("Picture size " + std::to_string(width) + " x " + std::to_string(height) +
                        " is too large");
  }
}

void CheckEncodable(const Bitmap& bmp, const char* format) {
  if (bmp.Empty())
    throw GraphicsError(std::string("An empty picture cannot be saved as ") + format);
}

PictureFormat DetectPictureFormat(std::span<const std::uint8_t> data) {
  if (StartsWith(data, {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'})) return PictureFormat::Png;
  if (StartsWith(data, {0xFF, 0xD8, 0xFF})) return PictureFormat::Jpeg;
  if (StartsWith(data, {'B', 'M'})) return PictureFormat::Bmp;
  return PictureFormat::Unknown;
}

Bitmap DecodePicture(std::span<const std::uint8_t> data, PictureInfo* info) {
  switch (DetectPictureFormat(data)) {
    case PictureFormat::Png:
      return DecodePng(data, info);
    case PictureFormat::Jpeg:
      return DecodeJpeg(data, info);
    case PictureFormat::Bmp:
      return DecodeBmp(data, info);
    case PictureFormat::Ico:  // never detected: an icon's signature is too weak to tell
    case PictureFormat::Unknown:
      break;
  }
  throw GraphicsError("The data is not a PNG, JPEG or BMP picture");
}

std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
  FileHandle file(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!file) ThrowFileError("Cannot open file", path, errno);
  // Read in blocks rather than trusting a size from the file system: pipes and special files
  // have none, and a file may change while it is read.
  std::vector<std::uint8_t> bytes;
  std::array<std::uint8_t, 65536> block;
  while (std::size_t n = std::fread(block.data(), 1, block.size(), file.get())) {
    if (bytes.size() + n > kMaxFileBytes)
      throw GraphicsError("File \"" + path + "\" is larger than " +
                          std::to_string(kMaxFileBytes >> 20) + " MiB");
    bytes.insert(bytes.end(), block.begin(), block.begin() + n);
  }
  if (std::ferror(file.get())) ThrowFileError("Cannot read file", path, errno);
  return bytes;
}

void WriteFileBytes(const std::string& path, std::span<const std::uint8_t> data) {
  FileHandle file(std::fopen(path.c_str(), "wb"), std::fclose);
  if (!file) ThrowFileError("Cannot create file", path, errno);
  if (!data.empty() && std::fwrite(data.data(), 1, data.size(), file.get()) != data.size())
    ThrowFileError("Cannot write file", path, errno);
  if (std::fclose(file.release()) != 0) ThrowFileError("Cannot write file", path, errno);
}

Bitmap LoadPictureFile(const std::string& path, PictureInfo* info) {
  std::vector<std::uint8_t> bytes = ReadFileBytes(path);
  try {
    return DecodePicture(bytes, info);
  } catch (const GraphicsError& e) {
    throw GraphicsError("Cannot load picture \"" + path + "\": " + e.what());
  }
}

}  // namespace gfx
