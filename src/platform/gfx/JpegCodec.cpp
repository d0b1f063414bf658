// JPEG through libjpeg(-turbo): baseline and progressive, greyscale, RGB, YCbCr, CMYK and YCCK
// in; baseline YCbCr out, optionally with an Exif block. APPn blocks (Exif with or without a
// thumbnail) are skipped by their length; no Exif rotation is applied.
#include <csetjmp>
#include <cstdio>  // before jpeglib.h, which needs FILE and size_t
#include <cstdlib>
#include <string>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

#include "platform/gfx/CodecCommon.h"
#include "platform/gfx/GraphicsError.h"
#include "platform/gfx/PictureCodec.h"

namespace gfx {
namespace {

// More scans than any encoder writes; a file with more is hostile, and each scan walks the
// whole picture.
constexpr int kMaxScans = 1000;
constexpr char kExifHeader[] = {'E', 'x', 'i', 'f', 0, 0};
// A block holds at most 65533 bytes after its length field, the Exif header included.
constexpr std::size_t kMaxExifPayload = 65533 - sizeof kExifHeader;

// libjpeg reports a fatal error through error_exit, which must not return. Ours jumps back to
// the setjmp of the step that is running. Those steps are plain functions that keep no object
// with a destructor alive across libjpeg calls, so the jump skips no destructor; what they
// produce goes into objects that live in the caller.
struct JpegError {
  jpeg_error_mgr manager;  // first, so that libjpeg's pointer to it is a pointer to this
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX] = "";
};

[[noreturn]] void JpegJumpOut(j_common_ptr cinfo, const char* message) {
  auto* error = reinterpret_cast<JpegError*>(cinfo->err);
  std::snprintf(error->message, sizeof error->message, "%s", message);
  std::longjmp(error->jump, 1);
}

[[noreturn]] void JpegErrorExit(j_common_ptr cinfo) {
  char message[JMSG_LENGTH_MAX];
  cinfo->err->format_message(cinfo, message);
  JpegJumpOut(cinfo, message);
}

// libjpeg only warns when the data runs out and goes on with an empty rest; a cut-off file is
// an error here. Other corruption warnings are tolerated: libjpeg hides the damage.
void JpegEmitMessage(j_common_ptr cinfo, int level) {
  if (level >= 0) return;
  if (cinfo->err->msg_code == JWRN_JPEG_EOF) JpegJumpOut(cinfo, "the data ends too early");
  ++cinfo->err->num_warnings;
}

JpegError* InitError(JpegError* error) {
  jpeg_std_error(&error->manager);
  error->manager.error_exit = JpegErrorExit;
  error->manager.emit_message = JpegEmitMessage;
  return error;
}

void LimitScans(j_common_ptr cinfo) {
  if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans)
    JpegJumpOut(cinfo, "it has too many scans");
}

struct JpegDecoder {
  JpegDecoder() { cinfo.err = &InitError(&error)->manager; }
  ~JpegDecoder() { jpeg_destroy_decompress(&cinfo); }  // safe on a zeroed or partial struct
  JpegDecoder(const JpegDecoder&) = delete;
  JpegDecoder& operator=(const JpegDecoder&) = delete;

  jpeg_decompress_struct cinfo{};
  JpegError error;
  jpeg_progress_mgr progress{};
  bool cmyk = false;
};

// Reads the markers up to the first scan and chooses the output colour space.
bool ReadJpegHeader(JpegDecoder* d, const std::uint8_t* data, std::size_t size) {
  if (setjmp(d->error.jump)) return false;
  jpeg_create_decompress(&d->cinfo);
  d->progress.progress_monitor = LimitScans;
  d->cinfo.progress = &d->progress;
  jpeg_mem_src(&d->cinfo, data, size);
  jpeg_read_header(&d->cinfo, TRUE);
  d->cmyk = d->cinfo.jpeg_color_space == JCS_CMYK || d->cinfo.jpeg_color_space == JCS_YCCK;
  d->cinfo.out_color_space = d->cmyk ? JCS_CMYK : JCS_EXT_BGRA;  // BGRA sets A = 255
  return true;
}

std::uint8_t MulDiv255(unsigned a, unsigned b) {
  return std::uint8_t((a * b + 127) / 255);
}

// CMYK row to B,G,R,A. Files with an Adobe marker store the inks inverted (255 = no ink).
void CmykToBgra(const JSAMPLE* in, std::uint8_t* out, unsigned width, bool inverted) {
  for (unsigned x = 0; x < width; ++x, in += 4, out += 4) {
    unsigned c = in[0], m = in[1], y = in[2], k = in[3];
    if (!inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
    out[0] = MulDiv255(y, k);
    out[1] = MulDiv255(m, k);
    out[2] = MulDiv255(c, k);
    out[3] = 255;
  }
}

// Decodes every scan into rows of bits (stride bytes apart) and reads up to the end marker.
bool ReadJpegPixels(JpegDecoder* d, std::uint8_t* bits, std::size_t stride) {
  if (setjmp(d->error.jump)) return false;
  j_decompress_ptr cinfo = &d->cinfo;
  jpeg_start_decompress(cinfo);
  JSAMPARRAY cmykRow = d->cmyk ? cinfo->mem->alloc_sarray(reinterpret_cast<j_common_ptr>(cinfo),
                                                          JPOOL_IMAGE, cinfo->output_width * 4, 1)
                               : nullptr;
  while (cinfo->output_scanline < cinfo->output_height) {
    std::uint8_t* out = bits + cinfo->output_scanline * stride;
    JSAMPROW row = d->cmyk ? cmykRow[0] : out;
    if (jpeg_read_scanlines(cinfo, &row, 1) != 1)
      JpegJumpOut(reinterpret_cast<j_common_ptr>(cinfo), "a scan line cannot be read");
    if (d->cmyk) CmykToBgra(row, out, cinfo->output_width, cinfo->saw_Adobe_marker);
  }
  jpeg_finish_decompress(cinfo);
  return true;
}

[[noreturn]] void ThrowDamaged(const JpegError& error) {
  throw GraphicsError(std::string("JPEG picture is damaged: ") + error.message);
}

struct JpegEncoder {
  JpegEncoder() { cinfo.err = &InitError(&error)->manager; }
  ~JpegEncoder() {
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);  // jpeg_mem_dest keeps its output in malloc'ed memory
  }
  JpegEncoder(const JpegEncoder&) = delete;
  JpegEncoder& operator=(const JpegEncoder&) = delete;

  jpeg_compress_struct cinfo{};
  JpegError error;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
};

bool WriteJpeg(JpegEncoder* e, const Bitmap* bmp, int quality, const std::uint8_t* exif,
               std::size_t exifSize) {
  if (setjmp(e->error.jump)) return false;
  j_compress_ptr cinfo = &e->cinfo;
  jpeg_create_compress(cinfo);
  jpeg_mem_dest(cinfo, &e->buffer, &e->size);
  cinfo->image_width = JDIMENSION(bmp->Width());
  cinfo->image_height = JDIMENSION(bmp->Height());
  cinfo->input_components = 4;
  cinfo->in_color_space = JCS_EXT_BGRA;  // the alpha byte is ignored
  jpeg_set_defaults(cinfo);
  jpeg_set_quality(cinfo, quality, TRUE);
  // An Exif file starts with its APP1 block; a JFIF block must not come first.
  if (exif) cinfo->write_JFIF_header = FALSE;
  jpeg_start_compress(cinfo, TRUE);
  if (exif) {
    jpeg_write_m_header(cinfo, JPEG_APP0 + 1, unsigned(sizeof kExifHeader + exifSize));
    for (char c : kExifHeader) jpeg_write_m_byte(cinfo, c);
    for (std::size_t i = 0; i < exifSize; ++i) jpeg_write_m_byte(cinfo, exif[i]);
  }
  while (cinfo->next_scanline < cinfo->image_height) {
    // libjpeg takes non-const rows but only reads them.
    auto* row = reinterpret_cast<JSAMPROW>(const_cast<Pixel*>(bmp->Row(int(cinfo->next_scanline))));
    jpeg_write_scanlines(cinfo, &row, 1);
  }
  jpeg_finish_compress(cinfo);
  return true;
}

}  // namespace

Bitmap DecodeJpeg(std::span<const std::uint8_t> data, PictureInfo* info) {
  JpegDecoder decoder;
  if (!ReadJpegHeader(&decoder, data.data(), data.size())) ThrowDamaged(decoder.error);
  CheckPictureSize(decoder.cinfo.image_width, decoder.cinfo.image_height);
  Bitmap bmp(int(decoder.cinfo.image_width), int(decoder.cinfo.image_height));
  if (!ReadJpegPixels(&decoder, bmp.Bits(), std::size_t(bmp.Stride()))) ThrowDamaged(decoder.error);
  if (info) *info = {PictureFormat::Jpeg, decoder.cinfo.jpeg_color_space == JCS_GRAYSCALE ? 8 : 24};
  return bmp;
}

std::vector<std::uint8_t> EncodeJpeg(const Bitmap& bmp, int quality,
                                     std::span<const std::uint8_t> exif) {
  CheckEncodable(bmp, "JPEG");
  if (quality < 1 || quality > 100)
    throw GraphicsError("JPEG quality " + std::to_string(quality) + " is not within 1 to 100");
  if (exif.size() > kMaxExifPayload)
    throw GraphicsError("Exif block of " + std::to_string(exif.size()) +
                        " bytes is larger than a JPEG block can hold (" +
                        std::to_string(kMaxExifPayload) + ")");
  JpegEncoder encoder;
  if (!WriteJpeg(&encoder, &bmp, quality, exif.empty() ? nullptr : exif.data(), exif.size()))
    throw GraphicsError(std::string("Cannot write JPEG picture: ") + encoder.error.message);
  return std::vector<std::uint8_t>(encoder.buffer, encoder.buffer + encoder.size);
}

}  // namespace gfx
