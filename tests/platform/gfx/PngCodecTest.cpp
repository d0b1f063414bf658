#include <png.h>
#include <zlib.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CodecTestSupport.h"
#include "platform/gfx/GraphicsError.h"
#include "platform/gfx/PictureCodec.h"

namespace gfx {
namespace {

using test::MakeTestPicture;
using test::Prefix;

// One PNG layout to write with libpng directly.
struct PngCase {
  int colorType;
  int depth;
  bool transparency;  // a tRNS chunk
  bool interlaced;
};

constexpr int kWidth = 13;  // odd widths leave bits over in packed rows
constexpr int kHeight = 9;

int Channels(int colorType) {
  switch (colorType) {
    case PNG_COLOR_TYPE_GRAY_ALPHA:
      return 2;
    case PNG_COLOR_TYPE_RGB:
      return 3;
    case PNG_COLOR_TYPE_RGB_ALPHA:
      return 4;
    default:
      return 1;
  }
}

// Raw sample of channel c at (x, y), any value the depth allows.
unsigned Sample(int x, int y, int c, int depth) {
  unsigned h = unsigned(x) * 73856093u ^ unsigned(y) * 19349663u ^ unsigned(c + 1) * 83492791u;
  return (h ^ (h >> 13)) & ((1u << depth) - 1);
}

// A sample widened to 8 bits the way a viewer shows it: bits repeated, 16 bits rounded.
std::uint8_t To8(unsigned v, int depth) {
  if (depth == 16) return std::uint8_t((v + 128) / 257);
  return std::uint8_t(v * 255 / ((1u << depth) - 1));
}

png_color PaletteColor(unsigned i) {
  return {png_byte(i * 37), png_byte(i * 91 + 5), png_byte(255 - i)};
}
std::uint8_t PaletteAlpha(unsigned i) {
  return std::uint8_t(i * 53 + 1);
}

void AppendToVector(png_structp png, png_bytep data, size_t size) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + size);
}

// The file for c, with the tRNS colour (if any) equal to the pixel at (1, 0) so that some
// pixels match it.
std::vector<std::uint8_t> WritePng(const PngCase& c) {
  std::vector<std::uint8_t> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &out, AppendToVector, nullptr);
  png_set_IHDR(png, info, kWidth, kHeight, c.depth, c.colorType,
               c.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  unsigned entries = 1u << c.depth;
  if (c.colorType == PNG_COLOR_TYPE_PALETTE) {
    std::vector<png_color> palette;
    for (unsigned i = 0; i < entries; ++i) palette.push_back(PaletteColor(i));
    png_set_PLTE(png, info, palette.data(), int(entries));
  }
  if (c.transparency) {
    if (c.colorType == PNG_COLOR_TYPE_PALETTE) {
      std::vector<png_byte> alpha;  // shorter than the palette: the last entry stays opaque
      for (unsigned i = 0; i + 1 < entries; ++i) alpha.push_back(PaletteAlpha(i));
      png_set_tRNS(png, info, alpha.data(), int(alpha.size()), nullptr);
    } else {
      png_color_16 key{};
      key.gray = png_uint_16(Sample(1, 0, 0, c.depth));
      key.red = png_uint_16(Sample(1, 0, 0, c.depth));
      key.green = png_uint_16(Sample(1, 0, 1, c.depth));
      key.blue = png_uint_16(Sample(1, 0, 2, c.depth));
      png_set_tRNS(png, info, nullptr, 0, &key);
    }
  }
  png_write_info(png, info);
  int channels = Channels(c.colorType);
  std::vector<std::vector<png_byte>> rows(kHeight);
  std::vector<png_bytep> rowPointers;
  for (int y = 0; y < kHeight; ++y) {
    rows[y].assign((kWidth * channels * c.depth + 7) / 8, 0);
    for (int x = 0; x < kWidth; ++x)
      for (int ch = 0; ch < channels; ++ch) {
        unsigned v = Sample(x, y, ch, c.depth);
        int bit = (x * channels + ch) * c.depth;
        if (c.depth == 16) {
          rows[y][bit / 8] = png_byte(v >> 8);
          rows[y][bit / 8 + 1] = png_byte(v);
        } else {
          rows[y][bit / 8] |= png_byte(v << (8 - c.depth - bit % 8));
        }
      }
    rowPointers.push_back(rows[y].data());
  }
  png_write_image(png, rowPointers.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

Pixel Expected(const PngCase& c, int x, int y) {
  auto s = [&](int ch) { return Sample(x, y, ch, c.depth); };
  auto keyed = [&](int channels) {
    for (int ch = 0; ch < channels; ++ch)
      if (s(ch) != Sample(1, 0, ch, c.depth)) return false;
    return c.transparency;
  };
  switch (c.colorType) {
    case PNG_COLOR_TYPE_GRAY: {
      std::uint8_t g = To8(s(0), c.depth);
      return MakePixel(g, g, g, keyed(1) ? 0 : 255);
    }
    case PNG_COLOR_TYPE_GRAY_ALPHA: {
      std::uint8_t g = To8(s(0), c.depth);
      return MakePixel(g, g, g, To8(s(1), c.depth));
    }
    case PNG_COLOR_TYPE_PALETTE: {
      png_color p = PaletteColor(s(0));
      bool last = s(0) + 1 == (1u << c.depth);
      return MakePixel(p.blue, p.green, p.red, c.transparency && !last ? PaletteAlpha(s(0)) : 255);
    }
    case PNG_COLOR_TYPE_RGB:
      return MakePixel(To8(s(2), c.depth), To8(s(1), c.depth), To8(s(0), c.depth),
                       keyed(3) ? 0 : 255);
    default:
      return MakePixel(To8(s(2), c.depth), To8(s(1), c.depth), To8(s(0), c.depth),
                       To8(s(3), c.depth));
  }
}

TEST(PngCodec, DecodesEveryColourTypeAndDepth) {
  const std::vector<PngCase> cases = {
      {PNG_COLOR_TYPE_GRAY, 1, false, false},       {PNG_COLOR_TYPE_GRAY, 2, false, false},
      {PNG_COLOR_TYPE_GRAY, 4, false, false},       {PNG_COLOR_TYPE_GRAY, 8, false, false},
      {PNG_COLOR_TYPE_GRAY, 16, false, false},      {PNG_COLOR_TYPE_GRAY, 8, true, false},
      {PNG_COLOR_TYPE_GRAY, 16, true, false},       {PNG_COLOR_TYPE_GRAY, 2, true, true},
      {PNG_COLOR_TYPE_GRAY_ALPHA, 8, false, false}, {PNG_COLOR_TYPE_GRAY_ALPHA, 16, false, true},
      {PNG_COLOR_TYPE_PALETTE, 1, false, false},    {PNG_COLOR_TYPE_PALETTE, 2, true, false},
      {PNG_COLOR_TYPE_PALETTE, 4, false, true},     {PNG_COLOR_TYPE_PALETTE, 8, true, false},
      {PNG_COLOR_TYPE_RGB, 8, false, false},        {PNG_COLOR_TYPE_RGB, 8, true, false},
      {PNG_COLOR_TYPE_RGB, 16, true, false},        {PNG_COLOR_TYPE_RGB, 16, false, true},
      {PNG_COLOR_TYPE_RGB_ALPHA, 8, false, false},  {PNG_COLOR_TYPE_RGB_ALPHA, 16, false, false},
      {PNG_COLOR_TYPE_RGB_ALPHA, 8, false, true},
  };
  for (const PngCase& c : cases) {
    SCOPED_TRACE("colour type " + std::to_string(c.colorType) + ", depth " +
                 std::to_string(c.depth) + (c.transparency ? ", tRNS" : "") +
                 (c.interlaced ? ", interlaced" : ""));
    PictureInfo info;
    Bitmap bmp = DecodePng(WritePng(c), &info);
    const int channels = c.colorType == PNG_COLOR_TYPE_GRAY_ALPHA  ? 2
                         : c.colorType == PNG_COLOR_TYPE_RGB       ? 3
                         : c.colorType == PNG_COLOR_TYPE_RGB_ALPHA ? 4
                                                                   : 1;
    EXPECT_EQ(info.format, PictureFormat::Png);
    EXPECT_EQ(info.bitsPerPixel, channels * c.depth);  // as stored, tRNS or not
    ASSERT_EQ(bmp.Width(), kWidth);
    ASSERT_EQ(bmp.Height(), kHeight);
    int wrong = 0;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        if (bmp.At(x, y) != Expected(c, x, y) && wrong++ < 3)
          ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << bmp.At(x, y)
                        << ", expected " << Expected(c, x, y);
    EXPECT_EQ(wrong, 0);
  }
}

TEST(PngCodec, EncoderRoundTripKeepsEveryByte) {
  Bitmap source = MakeTestPicture(7, 5, 36);  // a stride wider than the row
  source.Set(0, 0, MakePixel(1, 2, 3, 0));
  Bitmap back = DecodePng(EncodePng(source));
  EXPECT_EQ(back, source);
  EXPECT_EQ(back.At(0, 0), MakePixel(1, 2, 3, 0));  // colour kept under zero alpha
  EXPECT_THROW(EncodePng(Bitmap()), GraphicsError);
}

// The file with the IHDR chunk's width and height replaced, its CRC made right again.
std::vector<std::uint8_t> WithHeaderSize(std::vector<std::uint8_t> png, std::uint32_t width,
                                         std::uint32_t height) {
  auto put = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) png[at + i] = std::uint8_t(v >> (24 - 8 * i));
  };
  put(16, width);  // 8 signature bytes, 4 length bytes, "IHDR"
  put(20, height);
  put(29, std::uint32_t(crc32(0, png.data() + 12, 17)));
  return png;
}

TEST(PngCodec, RejectsAbsurdSizesFromTheHeader) {
  std::vector<std::uint8_t> png = EncodePng(MakeTestPicture(4, 4));
  ASSERT_NO_THROW(DecodePng(WithHeaderSize(png, 4, 4)));  // the rewriting itself is sound
  try {
    DecodePng(WithHeaderSize(png, 100000, 100000));
    ADD_FAILURE() << "no error";
  } catch (const GraphicsError& e) {
    EXPECT_STREQ(e.what(), "Picture size 100000 x 100000 is too large");
  }
  EXPECT_THROW(DecodePng(WithHeaderSize(png, 20000, 20000)), GraphicsError);  // too many pixels
  try {  // an allowed size, but a few bytes cannot hold its pixels
    DecodePng(WithHeaderSize(png, 8000, 8000));
    ADD_FAILURE() << "no error";
  } catch (const GraphicsError& e) {
    EXPECT_EQ(e.what(), "PNG picture is damaged: " + std::to_string(png.size()) +
                            " bytes cannot hold a picture of 8000 x 8000");
  }
  EXPECT_THROW(DecodePng(WithHeaderSize(png, 0, 4)), GraphicsError);
}

TEST(PngCodec, DamagedOrTruncatedDataRaises) {
  std::vector<std::uint8_t> png = EncodePng(MakeTestPicture(6, 6));
  for (std::size_t size = 0; size < png.size(); ++size)
    EXPECT_THROW(DecodePng(Prefix(png, size)), GraphicsError) << "cut to " << size << " bytes";

  std::vector<std::uint8_t> damaged = png;
  damaged[png.size() / 2] ^= 0x40;  // inside the image data: its CRC no longer matches
  try {
    DecodePng(damaged);
    ADD_FAILURE() << "no error";
  } catch (const GraphicsError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("PNG picture is damaged: ", 0), 0u) << e.what();
  }
}

}  // namespace
}  // namespace gfx
