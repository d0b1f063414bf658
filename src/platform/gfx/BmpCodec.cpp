// BMP files: core, info and V2-V5 headers; 1/4/8-bit palette, 16/32-bit with colour masks,
// 24-bit; bottom-up and top-down. Every number read from the file is checked against the bytes
// that are there before anything is allocated or read.
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/gfx/CodecCommon.h"
#include "platform/gfx/GraphicsError.h"
#include "platform/gfx/PictureCodec.h"

namespace gfx {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kV2HeaderSize = 52;  // adds the colour masks
constexpr std::uint32_t kV3HeaderSize = 56;  // adds the alpha mask
constexpr std::uint32_t kV4HeaderSize = 108;
constexpr std::uint32_t kV5HeaderSize = 124;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiAlphaBitfields = 6;

[[noreturn]] void Damaged(const std::string& why) {
  throw GraphicsError("BMP picture is damaged: " + why);
}

// Little-endian numbers at given offsets; reading past the end means the file is damaged.
class LittleEndianReader {
 public:
  explicit LittleEndianReader(std::span<const std::uint8_t> data) : data_(data) {}
  std::uint8_t U8(std::size_t at) const {
    Need(at, 1);
    return data_[at];
  }
  std::uint32_t U16(std::size_t at) const {
    Need(at, 2);
    return data_[at] | (data_[at + 1] << 8);
  }
  std::uint32_t U32(std::size_t at) const {
    Need(at, 4);
    return data_[at] | (data_[at + 1] << 8) | (data_[at + 2] << 16) |
           (std::uint32_t(data_[at + 3]) << 24);
  }
  std::int32_t I32(std::size_t at) const { return std::int32_t(U32(at)); }
  // Raises unless size bytes from at are in the data.
  void Need(std::size_t at, std::uint64_t size) const {
    if (at > data_.size() || size > data_.size() - at) Damaged("the data ends too early");
  }

 private:
  std::span<const std::uint8_t> data_;
};

// One colour channel given by a bit mask: where it sits and how to widen it to 8 bits.
class ChannelMask {
 public:
  ChannelMask() = default;
  explicit ChannelMask(std::uint32_t mask) : mask_(mask) {
    if (mask == 0) return;
    shift_ = std::countr_zero(mask);
    bits_ = std::popcount(mask);
    if (std::countr_one(mask >> shift_) != bits_) Damaged("a colour mask is not contiguous");
  }
  bool Present() const { return mask_ != 0; }
  std::uint32_t Mask() const { return mask_; }
  // The channel's value widened to 8 bits; 0 for a channel without bits.
  std::uint8_t Extract(std::uint32_t value) const {
    if (mask_ == 0) return 0;
    std::uint32_t v = (value & mask_) >> shift_;
    if (bits_ >= 8) return std::uint8_t(v >> (bits_ - 8));
    std::uint32_t max = (1u << bits_) - 1;
    return std::uint8_t((v * 255 + max / 2) / max);
  }

 private:
  std::uint32_t mask_ = 0;
  int shift_ = 0;
  int bits_ = 0;
};

struct BmpLayout {
  std::int64_t width = 0;
  std::int64_t height = 0;  // rows, always positive
  bool topDown = false;
  int bitCount = 0;
  std::size_t pixelOffset = 0;
  std::int64_t stride = 0;  // bytes per stored row, padded to 4
  ChannelMask red, green, blue, alpha;
  bool bgraBytes = false;  // 32-bit pixels already in memory order B,G,R,A: copied as they are
  bool zeroAlphaMeansOpaque = false;
  std::vector<Pixel> palette;  // for 1, 4 and 8 bits; indices past its end read as black
};

std::vector<Pixel> ReadPalette(const LittleEndianReader& in, std::size_t at, std::uint32_t count,
                               int bitCount, std::size_t entrySize) {
  std::uint32_t max = 1u << bitCount;
  if (count == 0 || count > max) count = max;
  in.Need(at, std::uint64_t(count) * entrySize);
  std::vector<Pixel> palette(max, MakePixel(0, 0, 0, 255));
  for (std::uint32_t i = 0; i < count; ++i) {
    std::size_t e = at + i * entrySize;
    palette[i] = MakePixel(in.U8(e), in.U8(e + 1), in.U8(e + 2), 255);
  }
  return palette;
}

BmpLayout ReadLayout(std::span<const std::uint8_t> data) {
  LittleEndianReader in(data);
  if (in.U16(0) != 0x4D42) Damaged("the signature is not BM");
  BmpLayout layout;
  layout.pixelOffset = in.U32(10);
  std::uint32_t headerSize = in.U32(14);
  std::uint32_t compression = kBiRgb;
  std::uint32_t colorsUsed = 0;
  std::size_t paletteEntrySize = 4;
  std::size_t tableAt = kFileHeaderSize + headerSize;
  if (headerSize == kCoreHeaderSize) {
    in.Need(kFileHeaderSize, headerSize);
    layout.width = in.U16(18);
    layout.height = in.U16(20);
    layout.bitCount = int(in.U16(24));
    paletteEntrySize = 3;
  } else if (headerSize == kInfoHeaderSize || headerSize == kV2HeaderSize ||
             headerSize == kV3HeaderSize || headerSize == kV4HeaderSize ||
             headerSize == kV5HeaderSize) {
    in.Need(kFileHeaderSize, headerSize);
    layout.width = in.I32(18);
    std::int64_t height = in.I32(22);
    layout.topDown = height < 0;
    layout.height = height < 0 ? -height : height;
    layout.bitCount = int(in.U16(28));
    compression = in.U32(30);
    colorsUsed = in.U32(46);
  } else {
    Damaged("the header size " + std::to_string(headerSize) + " is unknown");
  }
  if (layout.width <= 0 || layout.height <= 0)
    Damaged("the size " + std::to_string(layout.width) + " x " + std::to_string(layout.height) +
            " is not positive");
  CheckPictureSize(layout.width, layout.height);

  switch (layout.bitCount) {
    case 1:
    case 4:
    case 8:
      if (compression != kBiRgb)
        Damaged("compression " + std::to_string(compression) + " is not supported");
      layout.palette = ReadPalette(in, tableAt, colorsUsed, layout.bitCount, paletteEntrySize);
      break;
    case 24:
      if (compression != kBiRgb) Damaged("24-bit pixels must not be compressed");
      break;
    case 16:
    case 32:
      if (compression == kBiRgb) {
        bool wide = layout.bitCount == 32;
        layout.red = ChannelMask(wide ? 0x00FF0000 : 0x7C00);
        layout.green = ChannelMask(wide ? 0x0000FF00 : 0x03E0);
        layout.blue = ChannelMask(wide ? 0x000000FF : 0x001F);
        // Many writers leave the fourth byte zero; a picture whose alpha is zero everywhere
        // is taken as opaque rather than invisible.
        layout.alpha = ChannelMask(wide ? 0xFF000000 : 0);
        layout.zeroAlphaMeansOpaque = wide;
      } else if (compression == kBiBitfields || compression == kBiAlphaBitfields) {
        // The masks follow a 40-byte header and are part of the longer ones.
        std::size_t masksAt = kFileHeaderSize + kInfoHeaderSize;
        bool hasAlpha = compression == kBiAlphaBitfields || headerSize >= kV3HeaderSize;
        if (headerSize == kInfoHeaderSize) in.Need(masksAt, hasAlpha ? 16 : 12);
        layout.red = ChannelMask(in.U32(masksAt));
        layout.green = ChannelMask(in.U32(masksAt + 4));
        layout.blue = ChannelMask(in.U32(masksAt + 8));
        if (hasAlpha) layout.alpha = ChannelMask(in.U32(masksAt + 12));
      } else {
        Damaged("compression " + std::to_string(compression) + " is not supported");
      }
      break;
    default:
      Damaged(std::to_string(layout.bitCount) + " bits per pixel are not supported");
  }

  layout.bgraBytes = layout.bitCount == 32 && layout.red.Mask() == 0x00FF0000 &&
                     layout.green.Mask() == 0x0000FF00 && layout.blue.Mask() == 0x000000FF &&
                     layout.alpha.Mask() == 0xFF000000;
  layout.stride = (layout.width * layout.bitCount + 31) / 32 * 4;
  std::int64_t lastRow =
      (layout.width * layout.bitCount + 7) / 8;  // the final row may lack its padding
  in.Need(layout.pixelOffset, std::uint64_t((layout.height - 1) * layout.stride + lastRow));
  return layout;
}

void DecodeRow(const BmpLayout& layout, const std::uint8_t* src, Pixel* dst) {
  int width = int(layout.width);
  if (layout.bgraBytes) {
    std::memcpy(dst, src, std::size_t(width) * 4);
    return;
  }
  switch (layout.bitCount) {
    case 1:
    case 4:
    case 8: {
      int perByte = 8 / layout.bitCount;
      unsigned mask = (1u << layout.bitCount) - 1;
      for (int x = 0; x < width; ++x) {
        int shift = 8 - layout.bitCount * (x % perByte + 1);
        dst[x] = layout.palette[(src[x / perByte] >> shift) & mask];
      }
      break;
    }
    case 24:
      for (int x = 0; x < width; ++x, src += 3) dst[x] = MakePixel(src[0], src[1], src[2], 255);
      break;
    default: {
      int bytes = layout.bitCount / 8;
      for (int x = 0; x < width; ++x, src += bytes) {
        std::uint32_t v = src[0] | (src[1] << 8);
        if (bytes == 4) v |= (src[2] << 16) | (std::uint32_t(src[3]) << 24);
        std::uint8_t a = layout.alpha.Present() ? layout.alpha.Extract(v) : 255;
        dst[x] =
            MakePixel(layout.blue.Extract(v), layout.green.Extract(v), layout.red.Extract(v), a);
      }
    }
  }
}

void PutU16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(std::uint8_t(v));
  out.push_back(std::uint8_t(v >> 8));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}

}  // namespace

Bitmap DecodeBmp(std::span<const std::uint8_t> data, PictureInfo* info) {
  BmpLayout layout = ReadLayout(data);
  Bitmap bmp(int(layout.width), int(layout.height));
  bool anyAlpha = false;
  for (int row = 0; row < bmp.Height(); ++row) {
    Pixel* dst = bmp.Row(layout.topDown ? row : bmp.Height() - 1 - row);
    DecodeRow(layout, data.data() + layout.pixelOffset + row * layout.stride, dst);
    for (int x = 0; x < bmp.Width() && !anyAlpha; ++x) anyAlpha = PixelA(dst[x]) != 0;
  }
  if (layout.zeroAlphaMeansOpaque && !anyAlpha) {
    for (int y = 0; y < bmp.Height(); ++y)
      for (int x = 0; x < bmp.Width(); ++x) bmp.Row(y)[x] |= MakePixel(0, 0, 0, 255);
  }
  if (info) *info = {PictureFormat::Bmp, layout.bitCount};
  return bmp;
}

std::vector<std::uint8_t> EncodeBmp(const Bitmap& bmp, bool withAlpha) {
  CheckEncodable(bmp, "BMP");
  int width = bmp.Width(), height = bmp.Height();
  std::uint32_t headerSize = withAlpha ? kV4HeaderSize : kInfoHeaderSize;
  std::uint32_t stride = withAlpha ? width * 4 : (width * 3 + 3) / 4 * 4;
  std::uint32_t pixelOffset = kFileHeaderSize + headerSize;
  std::uint32_t imageSize = stride * std::uint32_t(height);
  std::vector<std::uint8_t> out;
  out.reserve(pixelOffset + imageSize);
  PutU16(out, 0x4D42);
  PutU32(out, pixelOffset + imageSize);
  PutU32(out, 0);
  PutU32(out, pixelOffset);
  PutU32(out, headerSize);
  PutU32(out, std::uint32_t(width));
  PutU32(out, std::uint32_t(withAlpha ? -height : height));  // 32-bit rows go top-down
  PutU16(out, 1);                                            // planes
  PutU16(out, withAlpha ? 32 : 24);
  PutU32(out, withAlpha ? kBiBitfields : kBiRgb);
  PutU32(out, imageSize);
  PutU32(out, 2835);  // 72 dots per inch, in dots per metre
  PutU32(out, 2835);
  PutU32(out, 0);  // colours used
  PutU32(out, 0);  // colours important
  if (withAlpha) {
    for (std::uint32_t mask : {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u})
      PutU32(out, mask);
    PutU32(out, 0x73524742);     // colour space "sRGB"
    out.resize(pixelOffset, 0);  // end points and gamma, unused with sRGB
    for (int y = 0; y < height; ++y) {
      const auto* row = reinterpret_cast<const std::uint8_t*>(bmp.Row(y));
      out.insert(out.end(), row, row + std::size_t(width) * 4);
    }
  } else {
    for (int y = height - 1; y >= 0; --y) {
      const Pixel* row = bmp.Row(y);
      for (int x = 0; x < width; ++x) {
        out.push_back(PixelB(row[x]));
        out.push_back(PixelG(row[x]));
        out.push_back(PixelR(row[x]));
      }
      out.resize(out.size() + stride - width * 3, 0);
    }
  }
  return out;
}

}  // namespace gfx
