// Picture files to and from 32-bit bitmaps: PNG (every colour type and depth), JPEG
// (baseline and progressive; Exif and other APPn blocks are skipped), BMP (1 to 32 bits,
// bottom-up and top-down), ICO (read only: the first image, PNG or DIB with its AND mask).
// Damaged, truncated or oversized data raises GraphicsError.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/gfx/Bitmap.h"

namespace gfx {

enum class PictureFormat { Unknown, Png, Jpeg, Bmp, Ico };

// By the file's signature.
PictureFormat DetectPictureFormat(std::span<const std::uint8_t> data);

// What a decoder read of the source besides its pixels: every picture is decoded to 32 bits,
// but a 24-bit master or a colour key holds only for sources without alpha.
struct PictureInfo {
  PictureFormat format = PictureFormat::Unknown;
  // Bits a pixel as stored. BMP: 1, 4, 8, 16, 24 or 32. PNG: channels x sample depth (1 to 16
  // for palette and grey, 16 or 32 for grey with alpha, 24 or 48 for RGB, 32 or 64 for RGBA).
  // JPEG: 8 for grey, 24 for colour (CMYK too, which comes out as colour).
  int bitsPerPixel = 0;
};

// Decoders, filling *info when given. Pictures without alpha come out opaque (A = 255).
Bitmap DecodePng(std::span<const std::uint8_t> data, PictureInfo* info = nullptr);
Bitmap DecodeJpeg(std::span<const std::uint8_t> data, PictureInfo* info = nullptr);
Bitmap DecodeBmp(std::span<const std::uint8_t> data, PictureInfo* info = nullptr);
// The first image of an icon file; its AND mask makes the alpha of a picture that has none.
// bitsPerPixel is the image's own (32 for a PNG image with alpha).
Bitmap DecodeIco(std::span<const std::uint8_t> data, PictureInfo* info = nullptr);
// Any of the three, chosen by signature.
Bitmap DecodePicture(std::span<const std::uint8_t> data, PictureInfo* info = nullptr);

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
Bitmap LoadPictureFile(const std::string& path, PictureInfo* info = nullptr);

}  // namespace gfx
