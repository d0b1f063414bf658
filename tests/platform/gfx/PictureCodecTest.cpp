#include "platform/gfx/PictureCodec.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "CodecTestSupport.h"
#include "TestOutput.h"
#include "platform/gfx/GraphicsError.h"

namespace gfx {
namespace {

using test::MakeTestPicture;

std::string TestDir() {
  return tests::OutputFolder("codecs").string();
}

std::string ErrorOf(auto&& action) {
  try {
    action();
  } catch (const GraphicsError& e) {
    return e.what();
  }
  return "no error";
}

TEST(PictureCodec, DetectsAndDecodesBySignature) {
  Bitmap source = MakeTestPicture(6, 4);
  std::vector<std::uint8_t> png = EncodePng(source), bmp = EncodeBmp(source, true),
                            jpeg = EncodeJpeg(source, 90);
  EXPECT_EQ(DetectPictureFormat(png), PictureFormat::Png);
  EXPECT_EQ(DetectPictureFormat(jpeg), PictureFormat::Jpeg);
  EXPECT_EQ(DetectPictureFormat(bmp), PictureFormat::Bmp);
  EXPECT_EQ(DetectPictureFormat(std::vector<std::uint8_t>{'B'}), PictureFormat::Unknown);
  EXPECT_EQ(DetectPictureFormat(std::vector<std::uint8_t>{0xFF, 0xD8}), PictureFormat::Unknown);

  // Each reports what it read: the format and the source's bits a pixel.
  PictureInfo info;
  EXPECT_EQ(DecodePicture(png, &info), source);
  EXPECT_EQ(info.format, PictureFormat::Png);
  EXPECT_EQ(info.bitsPerPixel, 32);
  EXPECT_EQ(DecodePicture(bmp, &info), source);
  EXPECT_EQ(info.format, PictureFormat::Bmp);
  EXPECT_EQ(info.bitsPerPixel, 32);
  EXPECT_EQ(DecodePicture(jpeg, &info), DecodeJpeg(jpeg));
  EXPECT_EQ(info.format, PictureFormat::Jpeg);
  EXPECT_EQ(info.bitsPerPixel, 24);
  EXPECT_EQ(ErrorOf([] {
              DecodePicture(std::vector<std::uint8_t>{'G', 'I', 'F', '8'});
            }),
            "The data is not a PNG, JPEG or BMP picture");
}

TEST(PictureCodec, FilesRoundTripAndErrorsNameTheFile) {
  std::string dir = TestDir();
  Bitmap source = MakeTestPicture(5, 5);
  std::string path = dir + "/picture.png";
  WriteFileBytes(path, EncodePng(source));
  EXPECT_EQ(LoadPictureFile(path), source);
  EXPECT_EQ(ReadFileBytes(path), EncodePng(source));

  std::string missing = dir + "/missing.png";
  std::filesystem::remove(missing);
  EXPECT_EQ(ErrorOf([&] { LoadPictureFile(missing); }),
            "Cannot open file \"" + missing + "\": No such file or directory");
  EXPECT_EQ(ErrorOf([&] { ReadFileBytes(dir); }),
            "Cannot read file \"" + dir + "\": Is a directory");
  EXPECT_EQ(ErrorOf([&] { WriteFileBytes(dir + "/no/such/dir.png", {}); }),
            "Cannot create file \"" + dir + "/no/such/dir.png\": No such file or directory");

  std::string junk = dir + "/junk.png";
  WriteFileBytes(junk, std::vector<std::uint8_t>{'n', 'o', 'p', 'e'});
  EXPECT_EQ(ErrorOf([&] { LoadPictureFile(junk); }),
            "Cannot load picture \"" + junk + "\": The data is not a PNG, JPEG or BMP picture");

  std::string empty = dir + "/empty.bmp";
  WriteFileBytes(empty, {});
  EXPECT_TRUE(ReadFileBytes(empty).empty());
}

}  // namespace
}  // namespace gfx
