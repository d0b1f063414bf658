#include "skin/paint/acAlphaImageList.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/GraphicsError.h"
#include "platform/gfx/PictureCodec.h"
#include "skin/paint/sStretch.h"

namespace skin::paint {

namespace {

const char* FormatName(TsImageFormat format) {
  switch (format) {
    case ifICO:
      return "ICO";
    case ifBMP32:
      return "BMP";
    default:
      return "PNG";
  }
}

bool Contains(const std::string& text, const char* part) {
  std::string lower = text;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return lower.find(part) != std::string::npos;
}

// The decoder's own words turned into the lists' error texts.
std::string ListMessage(TsImageFormat format, const std::string& why) {
  const std::string name = FormatName(format);
  if (format == ifPNG) {
    if (Contains(why, "crc")) return "Cannot load image. CRC error found in PNG file.";
    if (Contains(why, "extra compressed data") || Contains(why, "too much image data"))
      return "Cannot load image. Extra compressed data found in PNG file.";
    if (Contains(why, "critical chunk"))
      return "Cannot load PNG image. Unexpected but critical chunk detected.";
    if (Contains(why, "palette") || Contains(why, "plte"))
      return "Cannot load image. Palette in PNG file is invalid.";
    if (Contains(why, "color type") || Contains(why, "bit depth"))
      return "Invalid color format in PNG file.";
    if (Contains(why, "decompression") || Contains(why, "zlib") || Contains(why, "inflate") ||
        Contains(why, "idat"))
      return "Cannot load image. Compression error found in PNG file.";
  }
  return "Cannot load image. Invalid or unexpected " + name + " image format.";
}

}  // namespace

bool HaveMagic(std::span<const std::uint8_t> data, std::span<const std::uint8_t> magic) {
  return data.size() > magic.size() && std::equal(magic.begin(), magic.end(), data.begin());
}

bool GetImageFormat(const std::string& fileName, std::span<const std::uint8_t> data,
                    TsImageFormat& format) {
  static constexpr std::uint8_t kIco[] = {0, 0};
  static constexpr std::uint8_t kBmp[] = {'B', 'M'};
  std::string ext = fileName.substr(std::min(fileName.size(), fileName.find_last_of('.')));
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  if (HaveMagic(data, PNGMagic))
    format = ifPNG;
  else if (HaveMagic(data, kIco) && ext == ".ico")
    format = ifICO;
  else if (HaveMagic(data, kBmp))
    format = ifBMP32;
  else
    return false;
  return true;
}

Bitmap DecodeImageData(TsImageFormat format, std::span<const std::uint8_t> data,
                       int* bitsPerPixel) {
  gfx::PictureInfo info;
  Bitmap bmp;
  try {
    switch (format) {
      case ifPNG:
        // A stream of another kind is no PNG, whatever a decoder would make of it.
        if (!HaveMagic(data, PNGMagic)) throw gfx::GraphicsError("no PNG signature");
        bmp = gfx::DecodePng(data, &info);
        break;
      case ifICO:
        bmp = gfx::DecodeIco(data, &info);
        break;
      case ifBMP32:
        bmp = gfx::DecodeBmp(data, &info);
        break;
      default:
        throw gfx::GraphicsError("unknown format");
    }
  } catch (const gfx::GraphicsError& e) {
    throw gfx::GraphicsError(ListMessage(format, e.what()));
  }
  if (bitsPerPixel) *bitsPerPixel = info.bitsPerPixel;
  return bmp;
}

Bitmap ScaleImage(const Bitmap& picture, int width, int height) {
  if (width < 1 || height < 1) return {};
  if (picture.Width() == width && picture.Height() == height) return picture;
  Bitmap out(width, height);
  if (picture.Width() < 2 || picture.Height() < 2) {
    out.Fill(gfx::MakePixel(0, 0, 0, 1));
  } else if (width < 2 || height < 2) {
    // The filter needs two pixels a side; a line or a dot takes the nearest pixels.
    StretchCopy(out, 0, 0, width, height, picture, 0, 0, picture.Width(), picture.Height());
  } else {
    Stretch(picture, out, width, height, ftMitchell);
  }
  return out;
}

Bitmap RenderImageData(TsImageFormat format, std::span<const std::uint8_t> data, int width,
                       int height) {
  return ScaleImage(DecodeImageData(format, data), width, height);
}

void DrawCharGlyph(Bitmap& bmp, const TCharGlyph& glyph, TColor color, int scalePercent) {
  if (bmp.Empty()) return;
  bmp.Fill(gfx::MakePixel(255, 255, 255, 0));
  // A factor from outside may be anything: no character beyond 4096 pixels, none for NaN.
  const double height = bmp.Height() * glyph.ScalingFactor;
  const double offset = glyph.OffsetY * (scalePercent / 100.0) * glyph.ScalingFactor;
  if (!(height >= 0.5 && height <= 4096) || !(std::abs(offset) <= 4096)) return;
  gfx::LOGFONTW lf;
  lf.lfHeight = -int(std::lround(height));
  lf.lfWeight = glyph.Bold ? gfx::FW_BOLD : gfx::FW_NORMAL;
  lf.lfItalic = glyph.Italic;
  lf.lfUnderline = glyph.Underline;
  lf.lfStrikeOut = glyph.StrikeOut;
  lf.lfFaceName = glyph.FontName;
  gfx::DeviceContext dc(bmp);
  gfx::SelectFont(&dc, gfx::CreateFontIndirectW(lf));
  gfx::SetBkMode(&dc, gfx::TRANSPARENT);
  gfx::SetTextColor(&dc, gfx::RGB(0, 0, 0));
  const std::u16string text(1, glyph.Char);
  gfx::TSize size;
  gfx::GetTextExtentPoint32W(&dc, text, &size);
  const int x = (bmp.Width() - size.cx) / 2;
  const int y = (bmp.Height() - size.cy) / 2 + int(std::lround(offset));
  gfx::TextOutW(&dc, x, y, text);
  const gfx::Pixel ink = gfx::PixelFromColor(gfx::COLORREF(color) & 0x00FFFFFF, 0);
  for (int row = 0; row < bmp.Height(); ++row) {
    gfx::Pixel* p = bmp.Row(row);
    for (int col = 0; col < bmp.Width(); ++col) {
      const int mean = (gfx::PixelR(p[col]) + gfx::PixelG(p[col]) + gfx::PixelB(p[col])) / 3;
      p[col] = ink | (gfx::Pixel(255 - mean) << 24);
    }
  }
}

}  // namespace skin::paint
