// Draws the catalogue window's pictures into a folder.
//   make-pictures DIR [SHEET]   header.jpg, background.jpg and type-00.png .. type-13.png in
//                               DIR; with SHEET, also a contact sheet of them all (PNG)
//   make-pictures --glyphs DIR  the skin library's standard glyphs, SF.png .. SC.png, in DIR
#include <cstdio>
#include <exception>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "Pictures.h"
#include "StdGlyphs.h"
#include "platform/gfx/PictureCodec.h"

namespace {

namespace fs = std::filesystem;

// JPEG quality of the two large pictures: gradients show no banding, files stay small.
constexpr int kJpegQuality = 92;

// Written under a temporary name first, so an interrupted build leaves no half-written file
// that looks complete.
void Write(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  const fs::path partial = path.string() + ".partial";
  gfx::WriteFileBytes(partial.string(), bytes);
  fs::rename(partial, path);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: make-pictures DIR [SHEET]\n");
    return 2;
  }
  try {
    if (std::string(argv[1]) == "--glyphs") {
      if (argc != 3) throw std::runtime_error("--glyphs needs a folder");
      fs::create_directories(argv[2]);
      for (int i = 0; i < art::kStdGlyphCount; ++i)
        Write(fs::path(argv[2]) / art::StdGlyphFile(i), gfx::EncodePng(art::PaintStdGlyph(i)));
      return 0;
    }
    const fs::path dir = argv[1];
    fs::create_directories(dir);
    const auto exif = art::PictureExif();
    std::vector<gfx::Bitmap> types;
    for (int i = 0; i < art::kTypePictureCount; ++i) {
      types.push_back(art::PaintTypePicture(i));
      Write(dir / art::TypePictureFile(i), gfx::EncodePng(types.back()));
    }
    const gfx::Bitmap background = art::PaintBackground();
    Write(dir / art::kBackgroundFile, gfx::EncodeJpeg(background, kJpegQuality, exif));
    // The banner last: the build knows the folder is complete by it.
    const gfx::Bitmap banner = art::PaintBanner();
    Write(dir / art::kBannerFile, gfx::EncodeJpeg(banner, kJpegQuality, exif));
    if (argc == 3) Write(argv[2], gfx::EncodePng(art::ContactSheet(types, banner, background)));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make-pictures: %s\n", e.what());
    return 1;
  }
  return 0;
}
