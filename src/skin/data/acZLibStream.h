// The streaming inflater of skin packages: reads one zlib stream (RFC 1950) from a byte
// source at a given position, in chunks, and leaves the source position just after the
// stream's Adler-32 trailer, so the next package entry can follow it directly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include <zlib.h>

namespace skin::data {

class TZDecompressionStream {
 public:
  // Source bytes are read from source[position] on; position advances as they are consumed.
  TZDecompressionStream(std::span<const std::uint8_t> source, std::size_t& position);
  ~TZDecompressionStream();
  TZDecompressionStream(const TZDecompressionStream&) = delete;
  TZDecompressionStream& operator=(const TZDecompressionStream&) = delete;

  // Source bytes handed to the inflater at a time.
  static constexpr std::size_t kChunk = 0x20000;

  // Inflates up to count bytes into out; returns how many were written (fewer only when the
  // stream ended). Damaged data raises ESkinError.
  std::size_t Read(std::uint8_t* out, std::size_t count);
  // True once the stream's trailer has been read and checked.
  bool AtEnd() const { return FEnded; }

 private:
  std::span<const std::uint8_t> FSource;
  std::size_t& FPosition;
  z_stream FZ{};
  bool FEnded = false;
};

// Inflates the zlib stream at source[position] to exactly size bytes, leaving position after
// its trailer. A stream that ends early, holds more data, or is damaged raises ESkinError.
std::vector<std::uint8_t> InflateExactly(std::span<const std::uint8_t> source,
                                         std::size_t& position, std::size_t size);

// The largest number of bytes deflate can expand compressedBytes into (about 1032:1), so a
// stored size beyond it cannot be true.
std::uint64_t MaxInflatedSize(std::size_t compressedBytes);

// One zlib stream holding data (best compression), as packages store entries.
std::vector<std::uint8_t> DeflateStream(std::span<const std::uint8_t> data);

}  // namespace skin::data
