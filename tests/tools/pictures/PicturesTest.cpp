// The picture tool: its rasteriser's coverage and paints, the drawn pictures, and the files the
// build wrote into the catalogue's picture folder.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <numbers>
#include <set>
#include <string>
#include <tuple>

#include "Pictures.h"
#include "Raster.h"
#include "platform/gfx/PictureCodec.h"

namespace {

using namespace art;

int Alpha(const gfx::Bitmap& b, int x, int y) {
  return gfx::PixelA(b.At(x, y));
}

double AlphaSum(const gfx::Bitmap& b) {
  double s = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) s += Alpha(b, x, y) / 255.0;
  return s;
}

TEST(RasterTest, CoverageIsExactAtFractionalEdges) {
  Canvas c(8, 8);
  c.Fill(Path().Rect(1.25, 2, 2.5, 3), Rgba{1, 0, 0, 1});
  const gfx::Bitmap b = c.ToBitmap();
  EXPECT_EQ(Alpha(b, 0, 3), 0);
  EXPECT_EQ(Alpha(b, 1, 3), 191);  // three quarters covered
  EXPECT_EQ(Alpha(b, 2, 3), 255);
  EXPECT_EQ(Alpha(b, 3, 3), 191);
  EXPECT_EQ(Alpha(b, 4, 3), 0);
  EXPECT_EQ(Alpha(b, 2, 1), 0);
  EXPECT_EQ(Alpha(b, 2, 5), 0);
  EXPECT_NEAR(AlphaSum(b), 2.5 * 3, 0.05);
  EXPECT_EQ(gfx::PixelR(b.At(2, 3)), 255);

  // Nothing, or shapes beyond the edges, draw nothing; a shape across an edge is cut there.
  Canvas edges(8, 8);
  edges.Fill(Path(), Rgba{1, 0, 0, 1});
  edges.Fill(Path().Rect(-100, -100, 5, 5).Rect(1e9, 2, 5, 5), Rgba{1, 0, 0, 1});
  EXPECT_EQ(AlphaSum(edges.ToBitmap()), 0);
  edges.Fill(Path().Rect(-4, 6, 100, 50), Rgba{1, 0, 0, 1});
  EXPECT_NEAR(AlphaSum(edges.ToBitmap()), 16, 1e-6);
}

TEST(RasterTest, CurvesAreSmoothAndCloseToTheirArea) {
  Canvas c(40, 40);
  c.Fill(Path().Circle(20, 20, 12.3), Rgba{0, 0, 0, 1});
  const gfx::Bitmap b = c.ToBitmap();
  EXPECT_NEAR(AlphaSum(b), std::numbers::pi * 12.3 * 12.3, 2.0);
  // Along the edge there are partly covered pixels, not only 0 and 255.
  int partial = 0;
  for (int x = 0; x < 40; ++x)
    for (int y = 0; y < 40; ++y) partial += Alpha(b, x, y) > 10 && Alpha(b, x, y) < 245;
  EXPECT_GT(partial, 40);
}

TEST(RasterTest, FillRulesAndStrokes) {
  // A ring: the inner circle is a hole under even-odd, filled under non-zero (same winding).
  const Path ring = Path().Circle(20, 20, 15).Circle(20, 20, 7);
  Canvas evenOdd(40, 40), nonZero(40, 40);
  evenOdd.Fill(ring, Rgba{0, 0, 0, 1}, FillRule::EvenOdd);
  nonZero.Fill(ring, Rgba{0, 0, 0, 1});
  EXPECT_EQ(Alpha(evenOdd.ToBitmap(), 20, 20), 0);
  EXPECT_EQ(Alpha(evenOdd.ToBitmap(), 20, 9), 255);
  EXPECT_EQ(Alpha(nonZero.ToBitmap(), 20, 20), 255);

  // A stroke that doubles back on itself must not cancel where its pieces overlap.
  Canvas stroke(40, 40);
  stroke.Stroke(Path().MoveTo(5, 20).LineTo(35, 20).LineTo(5, 21), 4, Rgba{0, 0, 0, 1});
  const gfx::Bitmap s = stroke.ToBitmap();
  EXPECT_EQ(Alpha(s, 20, 20), 255);
  EXPECT_EQ(Alpha(s, 20, 14), 0);
  // Around the ends, where caps and the segment overlap, too.
  for (int x : {5, 6, 34}) EXPECT_EQ(Alpha(s, x, 20), 255) << x;
  EXPECT_GT(Alpha(s, 36, 20), 100);
  EXPECT_EQ(Alpha(s, 38, 20), 0);
}

TEST(RasterTest, GradientsAndCompositing) {
  const Paint linear =
      Paint::Linear({0, 0}, {10, 0}, {{0, Rgba{0, 0, 0, 1}}, {1, Rgba{1, 1, 1, 1}}});
  EXPECT_NEAR(linear.At(-5, 3).r, 0, 1e-9);
  EXPECT_NEAR(linear.At(5, 3).r, 0.5, 1e-9);
  EXPECT_NEAR(linear.At(50, 3).r, 1, 1e-9);
  const Paint radial = Paint::Radial({0, 0}, 10, {{0, Rgba{1, 0, 0, 1}}, {1, Rgba{0, 0, 1, 1}}});
  EXPECT_NEAR(radial.At(3, 4).r, 0.5, 1e-9);  // distance 5 of 10

  // Half-transparent white over opaque black gives mid grey; over nothing it keeps its colour.
  Canvas c(4, 1);
  c.Fill(Path().Rect(0, 0, 2, 1), Rgba{0, 0, 0, 1});
  c.Fill(Path().Rect(0, 0, 4, 1), Rgba{1, 1, 1, 0.5});
  const gfx::Bitmap b = c.ToBitmap();
  EXPECT_EQ(gfx::PixelR(b.At(0, 0)), 128);
  EXPECT_EQ(Alpha(b, 0, 0), 255);
  EXPECT_EQ(gfx::PixelR(b.At(3, 0)), 255);
  EXPECT_EQ(Alpha(b, 3, 0), 128);

  // A clip limits later fills.
  Canvas clipped(10, 10);
  clipped.Clip(Path().Rect(0, 0, 5, 10));
  clipped.Fill(Path().Rect(0, 0, 10, 10), Rgba{0, 0, 0, 1});
  EXPECT_EQ(Alpha(clipped.ToBitmap(), 2, 5), 255);
  EXPECT_EQ(Alpha(clipped.ToBitmap(), 7, 5), 0);
}

TEST(PicturesTest, TypePicturesAreRoundBadgesAndAllDifferent) {
  std::set<std::vector<std::uint8_t>> seen;
  for (int i = 0; i < kTypePictureCount; ++i) {
    SCOPED_TRACE(i);
    const gfx::Bitmap b = PaintTypePicture(i);
    ASSERT_EQ(b.Width(), 91);
    ASSERT_EQ(b.Height(), 91);
    for (auto [x, y] : {std::pair{0, 0}, {90, 0}, {0, 90}, {90, 90}, {5, 5}, {85, 85}})
      EXPECT_EQ(Alpha(b, x, y), 0);
    EXPECT_EQ(Alpha(b, 45, 45), 255);
    EXPECT_EQ(Alpha(b, 45, 10), 255);
    // Soft edge: the badge's rim is anti-aliased.
    EXPECT_GT(Alpha(b, 45, 3) + Alpha(b, 45, 2), 0);
    EXPECT_LT(Alpha(b, 45, 2), 255);
    seen.insert(gfx::EncodePng(b));
  }
  EXPECT_EQ(seen.size(), std::size_t(kTypePictureCount));
  EXPECT_TRUE(PaintTypePicture(14).Empty());
}

// The payload of the first APP1 Exif segment of a JPEG, empty when there is none.
std::vector<std::uint8_t> ExifOf(const std::vector<std::uint8_t>& jpeg) {
  for (std::size_t at = 2; at + 4 <= jpeg.size() && jpeg[at] == 0xFF;) {
    const int marker = jpeg[at + 1];
    const std::size_t len = std::size_t(jpeg[at + 2]) << 8 | jpeg[at + 3];
    if (marker == 0xDA) break;
    if (marker == 0xE1 && len >= 8 &&
        std::string(jpeg.begin() + at + 4, jpeg.begin() + at + 10) == std::string("Exif\0\0", 6))
      return {jpeg.begin() + at + 10, jpeg.begin() + at + 2 + len};
    at += 2 + len;
  }
  return {};
}

// The orientation entry of a little-endian TIFF's first directory, or -1.
int Orientation(const std::vector<std::uint8_t>& tiff) {
  auto u16 = [&](std::size_t at) { return tiff[at] | tiff[at + 1] << 8; };
  if (tiff.size() < 10 || tiff[0] != 'I' || tiff[1] != 'I' || u16(2) != 42) return -1;
  const std::size_t dir = tiff[4] | tiff[5] << 8 | tiff[6] << 16 | std::size_t(tiff[7]) << 24;
  if (dir + 2 > tiff.size()) return -1;
  for (int i = 0; i < u16(dir); ++i) {
    const std::size_t e = dir + 2 + 12 * i;
    if (e + 12 > tiff.size()) return -1;
    if (u16(e) == 0x0112 && u16(e + 2) == 3) return u16(e + 8);
  }
  return -1;
}

TEST(PicturesTest, TheBuildWroteEveryPictureInItsFormat) {
  const std::string dir = MC_APP_RES;
  for (auto [file, w, h] : {std::tuple{kBannerFile, 1280, 100}, {kBackgroundFile, 879, 595}}) {
    SCOPED_TRACE(file);
    const auto bytes = gfx::ReadFileBytes(dir + "/" + file);
    ASSERT_EQ(gfx::DetectPictureFormat(bytes), gfx::PictureFormat::Jpeg);
    const gfx::Bitmap b = gfx::DecodeJpeg(bytes);
    EXPECT_EQ(b.Width(), w);
    EXPECT_EQ(b.Height(), h);
    EXPECT_EQ(Orientation(ExifOf(bytes)), 1);
  }
  for (int i = 0; i < kTypePictureCount; ++i) {
    SCOPED_TRACE(i);
    const auto bytes = gfx::ReadFileBytes(dir + "/" + TypePictureFile(i));
    ASSERT_EQ(gfx::DetectPictureFormat(bytes), gfx::PictureFormat::Png);
    ASSERT_GT(bytes.size(), 33u);
    // IHDR: width, height, bit depth 8, colour type 6 (RGBA).
    EXPECT_EQ(bytes[16] << 24 | bytes[17] << 16 | bytes[18] << 8 | bytes[19], 91);
    EXPECT_EQ(bytes[20] << 24 | bytes[21] << 16 | bytes[22] << 8 | bytes[23], 91);
    EXPECT_EQ(bytes[24], 8);
    EXPECT_EQ(bytes[25], 6);
    const gfx::Bitmap b = gfx::DecodePng(bytes);
    EXPECT_EQ(b, PaintTypePicture(i));
  }
}

TEST(PicturesTest, ExifBlockIsAWellFormedTiff) {
  const auto exif = PictureExif();
  EXPECT_EQ(Orientation(exif), 1);
  // Every value offset of the directory lies inside the block.
  const std::size_t entries = exif[8] | exif[9] << 8;
  for (std::size_t i = 0; i < entries; ++i) {
    const std::size_t e = 10 + 12 * i;
    const std::size_t count = exif[e + 4] | exif[e + 5] << 8;
    const std::size_t offset = exif[e + 8] | exif[e + 9] << 8;
    if (count > 4) {
      EXPECT_LE(offset + count, exif.size());
    }
  }
}

}  // namespace
