// Picture files to and from 32-bit bitmaps: PNG (every colour type and depth), JPEG
// (baseline and progressive; Exif and other APPn blocks are skipped), BMP (24 and 32 bit,
// bottom-up and top-down). Damaged, truncated or oversized data raises GraphicsError.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/gfx/Bitmap.h"

namespace gfx {

enum class PictureFormat { Unknown, Png, Jpeg, Bmp };

// By the file's signature.
PictureFormat DetectPictureFormat(std::span<const std::uint8_t> data);

// Decoders. Pictures without alpha come out opaque (A = 255).
Bitmap DecodePng(std::span<const std::uint8_t> data);
Bitmap DecodeJpeg(std::span<const std::uint8_t> data);
Bitmap DecodeBmp(std::span<const std::uint8_t> data);
// Any of the three, chosen by signature.
Bitmap DecodePicture(std::span<const std::uint8_t> data);

// Encoders. PNG is written as 8-bit RGBA; BMP as 32-bit top-down with alpha, or 24-bit
// bottom-up without; JPEG as baseline, optionally with an Exif APP1 block carrying exif
// (the TIFF payload after the "Exif\0\0" header).
std::vector<std::uint8_t> EncodePng(const Bitmap& bmp);
std::vector<std::uint8_t> EncodeBmp(const Bitmap& bmp, bool withAlpha);
std::vector<std::uint8_t> EncodeJpeg(const Bitmap& bmp, int quality,
                                     std::span<const std::uint8_t> exif = {});

// Files. Reading names the file in its error message.
std::vector<std::uint8_t> ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, std::span<const std::uint8_t> data);
Bitmap LoadPictureFile(const std::string& path);

}  // namespace gfx
