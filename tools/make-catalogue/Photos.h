// Generated photographs of a school museum: exhibition rooms, showcases and single exhibits,
// painted with shading, light fall-off, lens vignetting and sensor grain so that they read as
// photographs, in varied sizes and aspect ratios.
#pragma once

#include <cstdint>
#include <vector>

#include "Random.h"
#include "platform/gfx/Bitmap.h"

namespace catalogue {

// What a photo shows.
enum class PhotoScene { Room, Showcase, Exhibit };

// Paints one photo of the given size.
gfx::Bitmap PaintPhoto(PhotoScene scene, int width, int height, Random& random);

// A camera's Exif block (the TIFF payload): orientation, the date the photo was taken and the
// software that wrote it.
std::vector<std::uint8_t> CameraExif(int year, int month, int day);

}  // namespace catalogue
