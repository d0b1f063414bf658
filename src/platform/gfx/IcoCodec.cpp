// ICO files: the first image of the directory, stored either as a PNG or as a DIB (the BMP
// info header and pixels without the file header, twice the height: colour rows, then the
// 1-bit AND mask). Every offset and size is checked against the bytes that are there.
#include <cstring>
#include <string>
#include <vector>

#include "platform/gfx/CodecCommon.h"
#include "platform/gfx/GraphicsError.h"
#include "platform/gfx/PictureCodec.h"

namespace gfx {
namespace {

constexpr std::size_t kDirHeaderSize = 6;
constexpr std::size_t kDirEntrySize = 16;
constexpr std::size_t kFileHeaderSize = 14;

[[noreturn]] void Damaged(const std::string& why) {
  throw GraphicsError("ICO picture is damaged: " + why);
}

std::uint32_t U16(std::span<const std::uint8_t> d, std::size_t at) {
  return d[at] | (d[at + 1] << 8);
}

std::uint32_t U32(std::span<const std::uint8_t> d, std::size_t at) {
  return U16(d, at) | (U16(d, at + 2) << 16);
}

void PutU32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = std::uint8_t(v >> (8 * i));
}

bool FullyOpaque(const Bitmap& b) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (PixelA(b.Row(y)[x]) != 255) return false;
  return true;
}

// The DIB as a BMP file of the colour rows alone; the AND mask then lies maskAt bytes into
// the DIB when the data holds it.
Bitmap DecodeDib(std::span<const std::uint8_t> dib, PictureInfo* info) {
  if (dib.size() < 40) Damaged("the image header ends too early");
  const std::uint32_t headerSize = U32(dib, 0);
  if (headerSize < 40 || headerSize > dib.size()) Damaged("the image header size is wrong");
  const std::int32_t width = std::int32_t(U32(dib, 4));
  const std::int32_t doubled = std::int32_t(U32(dib, 8));
  const std::uint32_t bitCount = U16(dib, 14);
  const std::uint32_t compression = U32(dib, 16);
  std::uint32_t colorsUsed = U32(dib, 32);
  if (width <= 0 || doubled <= 1) Damaged("the image size is not positive");
  const std::int32_t height = doubled / 2;
  CheckPictureSize(width, height);
  if (bitCount <= 8 && (colorsUsed == 0 || colorsUsed > (1u << bitCount)))
    colorsUsed = 1u << bitCount;
  if (bitCount > 8) colorsUsed = 0;
  std::size_t pixelsAt = headerSize + std::size_t(colorsUsed) * 4;
  if (headerSize == 40 && (compression == 3 || compression == 6))
    pixelsAt += compression == 3 ? 12 : 16;  // the colour masks follow the short header

  std::vector<std::uint8_t> bmpFile(kFileHeaderSize + dib.size());
  bmpFile[0] = 'B';
  bmpFile[1] = 'M';
  PutU32(&bmpFile[2], std::uint32_t(bmpFile.size()));
  PutU32(&bmpFile[10], std::uint32_t(kFileHeaderSize + pixelsAt));
  std::memcpy(&bmpFile[kFileHeaderSize], dib.data(), dib.size());
  PutU32(&bmpFile[kFileHeaderSize + 8], std::uint32_t(height));
  PictureInfo bmpInfo;
  Bitmap bmp = DecodeBmp(bmpFile, &bmpInfo);

  // Pictures without alpha of their own take it from the AND mask (a set bit is transparent).
  const std::size_t colorStride = (std::size_t(width) * bitCount + 31) / 32 * 4;
  const std::size_t maskStride = (std::size_t(width) + 31) / 32 * 4;
  const std::size_t maskAt = pixelsAt + colorStride * std::size_t(height);
  if (FullyOpaque(bmp) && maskAt + maskStride * std::size_t(height) <= dib.size()) {
    for (int row = 0; row < height; ++row) {
      const std::uint8_t* bits = dib.data() + maskAt + std::size_t(row) * maskStride;
      Pixel* dst = bmp.Row(height - 1 - row);
      for (int x = 0; x < width; ++x)
        if (bits[x / 8] & (0x80 >> (x % 8))) dst[x] &= 0x00FFFFFFu;
    }
  }
  if (info) *info = {PictureFormat::Ico, bmpInfo.bitsPerPixel};
  return bmp;
}

}  // namespace

Bitmap DecodeIco(std::span<const std::uint8_t> data, PictureInfo* info) {
  if (data.size() < kDirHeaderSize + kDirEntrySize) Damaged("the data ends too early");
  if (U16(data, 0) != 0 || U16(data, 2) != 1) Damaged("the signature is not an icon's");
  if (U16(data, 4) == 0) Damaged("the file holds no image");
  const std::uint32_t size = U32(data, kDirHeaderSize + 8);
  const std::uint32_t offset = U32(data, kDirHeaderSize + 12);
  if (offset > data.size() || size > data.size() - offset || size == 0)
    Damaged("the first image lies outside the data");
  const auto image = data.subspan(offset, size);
  if (DetectPictureFormat(image) == PictureFormat::Png) {
    PictureInfo pngInfo;
    Bitmap bmp = DecodePng(image, &pngInfo);
    if (info) *info = {PictureFormat::Ico, pngInfo.bitsPerPixel};
    return bmp;
  }
  return DecodeDib(image, info);
}

}  // namespace gfx
