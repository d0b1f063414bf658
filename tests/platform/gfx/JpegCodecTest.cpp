#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CodecTestSupport.h"
#include "platform/gfx/GraphicsError.h"
#include "platform/gfx/PictureCodec.h"

namespace gfx {
namespace {

using test::IsOpaque;
using test::MakeTestPicture;
using test::MaxColorDifference;
using test::Prefix;

// Compresses rows of `components` samples per pixel with libjpeg directly.
std::vector<std::uint8_t> WriteWithLibjpeg(int width, int height, int components,
                                           J_COLOR_SPACE space, bool progressive,
                                           const std::vector<std::uint8_t>& samples) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr error;
  cinfo.err = jpeg_std_error(&error);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = JDIMENSION(width);
  cinfo.image_height = JDIMENSION(height);
  cinfo.input_components = components;
  cinfo.in_color_space = space;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 90, TRUE);
  if (progressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    auto* row = const_cast<JSAMPLE*>(samples.data() + cinfo.next_scanline * width * components);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::vector<std::uint8_t> out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

std::vector<std::uint8_t> RgbSamples(const Bitmap& bmp) {
  std::vector<std::uint8_t> rgb;
  for (int y = 0; y < bmp.Height(); ++y)
    for (int x = 0; x < bmp.Width(); ++x)
      rgb.insert(rgb.end(), {PixelR(bmp.At(x, y)), PixelG(bmp.At(x, y)), PixelB(bmp.At(x, y))});
  return rgb;
}

// Offset of the first segment with the given marker, walking the segments after SOI.
std::size_t FindSegment(const std::vector<std::uint8_t>& jpeg, std::uint8_t marker) {
  for (std::size_t at = 2; at + 4 <= jpeg.size(); at += 2 + (jpeg[at + 2] << 8 | jpeg[at + 3]))
    if (jpeg[at + 1] == marker) return at;
  return std::string::npos;
}

std::string ErrorOf(const std::vector<std::uint8_t>& jpeg) {
  try {
    DecodeJpeg(jpeg);
  } catch (const GraphicsError& e) {
    return e.what();
  }
  return "no error";
}

TEST(JpegCodec, BaselineRoundTripIsCloseAndOpaque) {
  Bitmap source = MakeTestPicture(37, 21);  // partial blocks on both edges
  Bitmap back = DecodeJpeg(EncodeJpeg(source, 95));
  ASSERT_EQ(back.Width(), 37);
  ASSERT_EQ(back.Height(), 21);
  EXPECT_LE(MaxColorDifference(back, source), 10);
  EXPECT_TRUE(IsOpaque(back));
  EXPECT_GT(EncodeJpeg(source, 95).size(), EncodeJpeg(source, 20).size());
  EXPECT_THROW(EncodeJpeg(source, 0), GraphicsError);
  EXPECT_THROW(EncodeJpeg(source, 101), GraphicsError);
  EXPECT_THROW(EncodeJpeg(Bitmap(), 90), GraphicsError);
}

TEST(JpegCodec, ProgressiveDecodesLikeBaseline) {
  Bitmap source = MakeTestPicture(40, 30);
  std::vector<std::uint8_t> rgb = RgbSamples(source);
  Bitmap baseline = DecodeJpeg(WriteWithLibjpeg(40, 30, 3, JCS_RGB, false, rgb));
  std::vector<std::uint8_t> progressive = WriteWithLibjpeg(40, 30, 3, JCS_RGB, true, rgb);
  ASSERT_NE(FindSegment(progressive, 0xC2), std::string::npos);  // SOF2: really progressive
  Bitmap decoded = DecodeJpeg(progressive);
  ASSERT_EQ(decoded.Width(), 40);
  ASSERT_EQ(decoded.Height(), 30);
  EXPECT_LE(MaxColorDifference(decoded, baseline), 1);
  EXPECT_LE(MaxColorDifference(decoded, source), 10);
}

// The file with its last scan repeated `copies` more times: a valid but absurd progression.
std::vector<std::uint8_t> WithRepeatedLastScan(const std::vector<std::uint8_t>& jpeg, int copies) {
  std::size_t last = 0;
  for (std::size_t at = 2; at + 1 < jpeg.size(); ++at)
    if (jpeg[at] == 0xFF && jpeg[at + 1] == 0xDA) last = at;
  std::vector<std::uint8_t> out(jpeg.begin(), jpeg.end() - 2);  // without EOI
  for (int i = 0; i < copies; ++i) out.insert(out.end(), jpeg.begin() + last, jpeg.end() - 2);
  out.insert(out.end(), {0xFF, 0xD9});
  return out;
}

TEST(JpegCodec, HostileNumbersOfScansAreRefused) {
  Bitmap source = MakeTestPicture(16, 16);
  std::vector<std::uint8_t> progressive =
      WriteWithLibjpeg(16, 16, 3, JCS_RGB, true, RgbSamples(source));
  // Repeated refinement scans only make libjpeg warn (and spoil the picture): a moderate
  // number still decodes.
  EXPECT_EQ(DecodeJpeg(WithRepeatedLastScan(progressive, 20)).Width(), 16);
  EXPECT_EQ(ErrorOf(WithRepeatedLastScan(progressive, 1000)),
            "JPEG picture is damaged: it has too many scans");
}

TEST(JpegCodec, GreyscaleAndCmykBecomeRgb) {
  std::vector<std::uint8_t> grey;
  for (int i = 0; i < 16 * 8; ++i) grey.push_back(std::uint8_t(i < 64 ? 30 : 220));
  PictureInfo info;
  Bitmap g = DecodeJpeg(WriteWithLibjpeg(16, 8, 1, JCS_GRAYSCALE, false, grey), &info);
  EXPECT_EQ(info.bitsPerPixel, 8);
  EXPECT_TRUE(IsOpaque(g));
  for (auto [x, y, v] : {std::tuple{3, 2, 30}, std::tuple{12, 6, 220}}) {
    Pixel p = g.At(x, y);
    EXPECT_NEAR(PixelR(p), v, 3);
    EXPECT_EQ(PixelR(p), PixelG(p));
    EXPECT_EQ(PixelR(p), PixelB(p));
  }

  // libjpeg marks CMYK files as Adobe ones, whose inks are stored inverted (255 = no ink).
  // Full cyan and yellow without black is green.
  std::vector<std::uint8_t> cmyk;
  for (int i = 0; i < 16 * 16; ++i) cmyk.insert(cmyk.end(), {0, 255, 0, 255});
  Bitmap c = DecodeJpeg(WriteWithLibjpeg(16, 16, 4, JCS_CMYK, false, cmyk), &info);
  EXPECT_EQ(info.bitsPerPixel, 24);  // what it comes out as: colour without alpha
  Pixel p = c.At(8, 8);
  EXPECT_NEAR(PixelR(p), 0, 3);
  EXPECT_NEAR(PixelG(p), 255, 3);
  EXPECT_NEAR(PixelB(p), 0, 3);
  EXPECT_EQ(PixelA(p), 255);
}

// A little-endian TIFF block with one IFD pointing at an embedded thumbnail, the way cameras
// store Exif thumbnails (the thumbnail has its own SOI and EOI markers).
std::vector<std::uint8_t> ExifWithThumbnail(const std::vector<std::uint8_t>& thumbnail) {
  std::vector<std::uint8_t> tiff = {'I', 'I', 42, 0, 8, 0, 0, 0, 2, 0};
  auto put16 = [&](unsigned v) {
    tiff.insert(tiff.end(), {std::uint8_t(v), std::uint8_t(v >> 8)});
  };
  auto put32 = [&](std::uint32_t v) {
    put16(v & 0xFFFF);
    put16(v >> 16);
  };
  std::uint32_t thumbAt = 10 + 2 * 12 + 4;
  put16(0x0201), put16(4), put32(1), put32(thumbAt);  // JPEGInterchangeFormat
  put16(0x0202), put16(4), put32(1), put32(std::uint32_t(thumbnail.size()));  // ...Length
  put32(0);                                                                   // no next IFD
  tiff.insert(tiff.end(), thumbnail.begin(), thumbnail.end());
  return tiff;
}

TEST(JpegCodec, ExifBlockIsWrittenFirstAndSkippedOnReading) {
  Bitmap thumbnailPicture(8, 8);
  thumbnailPicture.Fill(MakePixel(0, 0, 255, 255));
  std::vector<std::uint8_t> exif = ExifWithThumbnail(EncodeJpeg(thumbnailPicture, 80));
  Bitmap source = MakeTestPicture(48, 32);
  std::vector<std::uint8_t> jpeg = EncodeJpeg(source, 95, exif);

  // SOI, then APP1 with "Exif\0\0" and the payload exactly; no JFIF block before it.
  ASSERT_GT(jpeg.size(), 12 + exif.size());
  EXPECT_EQ(jpeg[2], 0xFF);
  EXPECT_EQ(jpeg[3], 0xE1);
  EXPECT_EQ(std::size_t(jpeg[4] << 8 | jpeg[5]), 2 + 6 + exif.size());
  EXPECT_EQ(std::string(jpeg.begin() + 6, jpeg.begin() + 12), std::string("Exif\0\0", 6));
  EXPECT_TRUE(std::equal(exif.begin(), exif.end(), jpeg.begin() + 12));
  EXPECT_EQ(FindSegment(jpeg, 0xE0), std::string::npos);

  Bitmap back = DecodeJpeg(jpeg);
  ASSERT_EQ(back.Width(), 48);
  ASSERT_EQ(back.Height(), 32);
  EXPECT_LE(MaxColorDifference(back, source), 10);

  EXPECT_THROW(EncodeJpeg(source, 90, std::vector<std::uint8_t>(65528)), GraphicsError);
  EXPECT_NO_THROW(EncodeJpeg(source, 90, std::vector<std::uint8_t>(65527)));
}

TEST(JpegCodec, TruncatedDataRaisesInsteadOfAPaddedPicture) {
  Bitmap source = MakeTestPicture(24, 24);
  std::vector<std::uint8_t> files[] = {
      EncodeJpeg(source, 90),
      WriteWithLibjpeg(24, 24, 3, JCS_RGB, true, RgbSamples(source)),
  };
  for (const auto& jpeg : files) {
    ASSERT_NO_THROW(DecodeJpeg(jpeg));
    for (std::size_t size = 0; size < jpeg.size(); ++size)
      EXPECT_THROW(DecodeJpeg(Prefix(jpeg, size)), GraphicsError) << "cut to " << size;
    EXPECT_EQ(ErrorOf(Prefix(jpeg, jpeg.size() * 3 / 4)),
              "JPEG picture is damaged: the data ends too early");
  }
}

TEST(JpegCodec, DamagedHeadersAndAbsurdSizesRaise) {
  std::vector<std::uint8_t> jpeg = EncodeJpeg(MakeTestPicture(16, 16), 90);
  std::size_t sof = FindSegment(jpeg, 0xC0);
  ASSERT_NE(sof, std::string::npos);

  std::vector<std::uint8_t> huge = jpeg;
  huge[sof + 5] = huge[sof + 7] = 0xFD;  // height and width 65000 (0xFDE8)
  huge[sof + 6] = huge[sof + 8] = 0xE8;
  EXPECT_EQ(ErrorOf(huge), "Picture size 65000 x 65000 is too large");

  std::vector<std::uint8_t> precision = jpeg;
  precision[sof + 4] = 12;
  EXPECT_EQ(ErrorOf(precision).rfind("JPEG picture is damaged: ", 0), 0u);

  std::vector<std::uint8_t> noComponents = jpeg;
  noComponents[sof + 9] = 0;
  EXPECT_THROW(DecodeJpeg(noComponents), GraphicsError);

  EXPECT_THROW(DecodeJpeg(std::vector<std::uint8_t>{0xFF, 0xD8, 0xFF, 0xD9}), GraphicsError);
  EXPECT_THROW(DecodeJpeg(std::vector<std::uint8_t>(100, 0xFF)), GraphicsError);
}

}  // namespace
}  // namespace gfx
