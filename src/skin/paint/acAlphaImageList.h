// The bitmap side of the alpha image lists: telling an image file's kind, decoding an item's
// bytes with the lists' error texts, rendering it at any size, and drawing an icon-font
// character as a coloured glyph with alpha. The list components themselves live in
// skin/controls (unit of the same name).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "skin/paint/sAlphaGraph.h"

namespace skin::paint {

// How an item's bytes are stored (the numbers are the stored values).
enum TsImageFormat { ifPNG = 0, ifICO = 1, ifBMP32 = 2 };

// The eight bytes every PNG file begins with.
inline constexpr std::array<std::uint8_t, 8> PNGMagic = {0x89, 0x50, 0x4E, 0x47,
                                                         0x0D, 0x0A, 0x1A, 0x0A};

// Whether data is longer than magic and begins with it.
bool HaveMagic(std::span<const std::uint8_t> data, std::span<const std::uint8_t> magic);
// The kind of an image file by its first bytes and, for icons, its extension: the PNG
// signature, 00 00 with the extension "ico" (any case), or "BM". False: not an image.
bool GetImageFormat(const std::string& fileName, std::span<const std::uint8_t> data,
                    TsImageFormat& format);

// The item's picture as stored; raises gfx::GraphicsError with the lists' texts ("Cannot
// load image. Invalid or unexpected PNG image format." and its kin) for damaged data.
// bitsPerPixel, when given, receives the stored depth.
Bitmap DecodeImageData(TsImageFormat format, std::span<const std::uint8_t> data,
                       int* bitsPerPixel = nullptr);
// A picture brought to width x height: the same picture at its own size, else resampled with
// the Mitchell filter into transparent black; a source narrower or lower than 2 pixels gives
// black at alpha 1 (nothing to resample from). Empty for a side below 1.
Bitmap ScaleImage(const Bitmap& picture, int width, int height);
// DecodeImageData then ScaleImage.
Bitmap RenderImageData(TsImageFormat format, std::span<const std::uint8_t> data, int width,
                       int height);

// An icon-font character drawn into bmp (its size kept, cleared first): the font's character
// height is round(bmp height x scaling), the character centred and moved down by
// round(offsetY x scalePercent / 100 x scaling); every pixel then takes color (0x00BBGGRR) with
// alpha 255 - the mean of the drawn black-on-white pixel. Underline and StrikeOut draw the
// font's lines with the character. Nothing for an empty bitmap; only the clearing for a
// character height below half a pixel or above 4096, or an offset beyond.
struct TCharGlyph {
  char16_t Char = 0;
  std::u16string FontName;
  bool Bold = false;
  bool Italic = false;
  double ScalingFactor = 1.0;
  int OffsetY = 0;
  bool Underline = false;
  bool StrikeOut = false;
};
void DrawCharGlyph(Bitmap& bmp, const TCharGlyph& glyph, TColor color, int scalePercent = 100);

}  // namespace skin::paint
