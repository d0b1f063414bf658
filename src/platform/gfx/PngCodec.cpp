// PNG through libpng: reading with the row API and explicit transformations (no gamma
// correction, so pictures come out as stored), writing with the simplified API.
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/gfx/CodecCommon.h"
#include "platform/gfx/GraphicsError.h"
#include "platform/gfx/PictureCodec.h"

namespace gfx {
namespace {

// Everything libpng's callbacks touch. libpng reports a fatal error through PngErrorExit, which
// jumps back to the setjmp of the step that is running. Those steps are plain functions that
// keep no object with a destructor alive across libpng calls, so the jump skips no destructor;
// what they produce goes into this object, which lives in the caller.
struct PngReader {
  explicit PngReader(std::span<const std::uint8_t> bytes) : data(bytes) {}
  ~PngReader() { png_destroy_read_struct(&png, &info, nullptr); }
  PngReader(const PngReader&) = delete;
  PngReader& operator=(const PngReader&) = delete;

  std::jmp_buf jump;
  char message[200] = "";
  std::span<const std::uint8_t> data;
  std::size_t pos = 0;
  png_structp png = nullptr;
  png_infop info = nullptr;
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  int bitsPerPixel = 0;  // as stored in the file
};

[[noreturn]] void PngErrorExit(png_structp png, png_const_charp message) {
  auto* r = static_cast<PngReader*>(png_get_error_ptr(png));
  std::snprintf(r->message, sizeof r->message, "%s", message);
  std::longjmp(r->jump, 1);
}

void PngIgnoreWarning(png_structp, png_const_charp) {}

void PngReadData(png_structp png, png_bytep out, size_t length) {
  auto* r = static_cast<PngReader*>(png_get_io_ptr(png));
  if (length > r->data.size() - r->pos) png_error(png, "the data ends too early");
  std::memcpy(out, r->data.data() + r->pos, length);
  r->pos += length;
}

// Creates libpng's structures and reads every chunk up to the image data.
bool ReadPngHeader(PngReader* r) {
  if (setjmp(r->jump)) return false;
  r->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, r, PngErrorExit, PngIgnoreWarning);
  if (!r->png) return false;
  r->info = png_create_info_struct(r->png);
  if (!r->info) png_error(r->png, "out of memory");
  png_set_read_fn(r->png, r, PngReadData);
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
  // Mutated data would rarely get past the CRC and Adler-32 checks to the code behind them.
  png_set_crc_action(r->png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
  png_set_option(r->png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
#endif
  png_read_info(r->png, r->info);
  r->width = png_get_image_width(r->png, r->info);
  r->height = png_get_image_height(r->png, r->info);
  r->bitsPerPixel = png_get_channels(r->png, r->info) * png_get_bit_depth(r->png, r->info);
  return true;
}

// Turns every colour type and depth into 8-bit B,G,R,A and reads all rows (every pass of an
// interlaced picture) and the chunks after them.
bool ReadPngPixels(PngReader* r, png_bytepp rows) {
  if (setjmp(r->jump)) return false;
  png_set_expand(r->png);  // palette to RGB, grey below 8 bits to 8, tRNS to alpha
  png_set_scale_16(r->png);
  png_set_gray_to_rgb(r->png);
  png_set_bgr(r->png);
  png_set_filler(r->png, 0xFF, PNG_FILLER_AFTER);  // opaque alpha where the file has none
  png_set_interlace_handling(r->png);
  png_read_update_info(r->png, r->info);
  if (png_get_rowbytes(r->png, r->info) != std::size_t(r->width) * 4)
    png_error(r->png, "unexpected row layout");
  png_read_image(r->png, rows);
  png_read_end(r->png, nullptr);
  return true;
}

[[noreturn]] void ThrowDamaged(const PngReader& r) {
  throw GraphicsError(std::string("PNG picture is damaged: ") +
                      (r.message[0] ? r.message : "libpng cannot start"));
}

}  // namespace

Bitmap DecodePng(std::span<const std::uint8_t> data, PictureInfo* info) {
  PngReader reader(data);
  if (!ReadPngHeader(&reader)) ThrowDamaged(reader);
  CheckPictureSize(reader.width, reader.height);
  // Deflate packs at most 1032 bytes into one, so the rest of the file bounds the pixel data it
  // can hold; a small file claiming a huge picture is refused before the bitmap is allocated.
  std::uint64_t storedBytes = std::uint64_t(reader.width) * reader.height * reader.bitsPerPixel / 8;
  if (storedBytes / 1032 > data.size() - reader.pos)
    throw GraphicsError("PNG picture is damaged: " + std::to_string(data.size()) +
                        " bytes cannot hold a picture of " + std::to_string(reader.width) + " x " +
                        std::to_string(reader.height));
  Bitmap bmp(int(reader.width), int(reader.height));
  std::vector<png_bytep> rows(reader.height);
  for (int y = 0; y < bmp.Height(); ++y) rows[y] = reinterpret_cast<png_bytep>(bmp.Row(y));
  if (!ReadPngPixels(&reader, rows.data())) ThrowDamaged(reader);
  if (info) *info = {PictureFormat::Png, reader.bitsPerPixel};
  return bmp;
}

std::vector<std::uint8_t> EncodePng(const Bitmap& bmp) {
  CheckEncodable(bmp, "PNG");
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = png_uint_32(bmp.Width());
  image.height = png_uint_32(bmp.Height());
  image.format = PNG_FORMAT_BGRA;
  // One pass into a buffer of the worst-case size, then cut to what was written.
  png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(image);
  std::vector<std::uint8_t> out(size);
  if (!png_image_write_to_memory(&image, out.data(), &size, 0, bmp.Bits(), bmp.Stride(), nullptr)) {
    throw GraphicsError(std::string("Cannot write PNG picture: ") + image.message);
  }
  out.resize(size);
  return out;
}

}  // namespace gfx
