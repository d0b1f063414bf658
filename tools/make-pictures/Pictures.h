// The catalogue window's pictures, drawn from code: the header banner, the right pane's
// background and the fourteen museum-type pictures of the type image list.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/gfx/Bitmap.h"

namespace art {

constexpr int kBannerWidth = 1280, kBannerHeight = 100;
constexpr int kBackgroundWidth = 879, kBackgroundHeight = 595;
constexpr int kTypePictureSize = 91;
constexpr int kTypePictureCount = 14;

// The header: the catalogue's title over hills, birch woods and a church, above a band of
// embroidery.
gfx::Bitmap PaintBanner();
// The right pane's background: pale and quiet.
gfx::Bitmap PaintBackground();
// Type picture by its image-list index (0..13): a round badge with an icon, transparent
// around the badge.
gfx::Bitmap PaintTypePicture(int index);

// File names in the output folder.
inline const char* kBannerFile = "header.jpg";
inline const char* kBackgroundFile = "background.jpg";
std::string TypePictureFile(int index);  // "type-00.png" .. "type-13.png"

// The Exif block (TIFF payload) written into both JPEGs: orientation as stored, the software.
std::vector<std::uint8_t> PictureExif();

// All pictures on one sheet for people to look at: the type pictures at three times their
// size and at 1:1 over a checkerboard, the banner and the background below.
gfx::Bitmap ContactSheet(const std::vector<gfx::Bitmap>& typePictures, const gfx::Bitmap& banner,
                         const gfx::Bitmap& background);

}  // namespace art
