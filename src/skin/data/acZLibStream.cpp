#include "skin/data/acZLibStream.h"

#include <algorithm>
#include <string>

#include "skin/data/SkinError.h"

namespace skin::data {

TZDecompressionStream::TZDecompressionStream(std::span<const std::uint8_t> source,
                                             std::size_t& position)
    : FSource(source), FPosition(position) {
  if (inflateInit(&FZ) != Z_OK) throw ESkinError("Cannot start the inflater");
}

TZDecompressionStream::~TZDecompressionStream() {
  inflateEnd(&FZ);
}

std::size_t TZDecompressionStream::Read(std::uint8_t* out, std::size_t count) {
  std::size_t written = 0;
  while (written < count && !FEnded) {
    const std::size_t remaining = FSource.size() - FPosition;
    const std::uint8_t* in = FSource.data() + FPosition;
    FZ.next_in = const_cast<Bytef*>(in);
    FZ.avail_in = uInt(std::min(remaining, kChunk));
    FZ.next_out = out + written;
    FZ.avail_out = uInt(std::min<std::size_t>(count - written, kChunk));
    const uInt outBefore = FZ.avail_out;
    const int rc = inflate(&FZ, Z_NO_FLUSH);
    // Only consumed bytes move the source on; what zlib did not take stays for the next entry.
    FPosition += std::size_t(FZ.next_in - in);
    written += outBefore - FZ.avail_out;
    if (rc == Z_STREAM_END) {
      FEnded = true;
    } else if (rc != Z_OK && rc != Z_BUF_ERROR) {
      throw ESkinError(std::string("Damaged compressed entry: ") +
                       (FZ.msg ? FZ.msg : "zlib error"));
    } else if (FZ.next_in == in && FZ.avail_out == outBefore) {
      // No progress: with output room left this only happens when the input has run out.
      throw ESkinError("The package ends inside a compressed entry");
    }
  }
  return written;
}

std::vector<std::uint8_t> InflateExactly(std::span<const std::uint8_t> source,
                                         std::size_t& position, std::size_t size) {
  TZDecompressionStream z(source, position);
  std::vector<std::uint8_t> out;
  // Grows with what really comes out, never by the stored size alone.
  while (out.size() < size) {
    const std::size_t step = std::min(size - out.size(), TZDecompressionStream::kChunk);
    const std::size_t old = out.size();
    out.resize(old + step);
    const std::size_t got = z.Read(out.data() + old, step);
    out.resize(old + got);
    if (got < step) throw ESkinError("A package entry inflates to fewer bytes than its size");
  }
  std::uint8_t extra;
  if (z.Read(&extra, 1) != 0) {
    throw ESkinError("A package entry inflates to more bytes than its size");
  }
  return out;
}

std::uint64_t MaxInflatedSize(std::size_t compressedBytes) {
  return std::uint64_t(compressedBytes) * 1033;
}

std::vector<std::uint8_t> DeflateStream(std::span<const std::uint8_t> data) {
  uLongf length = compressBound(uLong(data.size()));
  std::vector<std::uint8_t> out(length);
  if (compress2(out.data(), &length, data.data(), uLong(data.size()), Z_BEST_COMPRESSION) != Z_OK) {
    throw ESkinError("Cannot compress a package entry");
  }
  out.resize(length);
  return out;
}

}  // namespace skin::data
