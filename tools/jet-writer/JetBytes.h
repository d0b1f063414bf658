// Little-endian fields of the Jet file format, written into page images.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

namespace jet {

using Bytes = std::vector<std::uint8_t>;

inline void Put16(std::uint8_t* at, std::uint32_t value) {
  at[0] = std::uint8_t(value);
  at[1] = std::uint8_t(value >> 8);
}
inline void Put32(std::uint8_t* at, std::uint32_t value) {
  Put16(at, value & 0xFFFF);
  Put16(at + 2, value >> 16);
}
inline void PutDouble(std::uint8_t* at, double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, 8);
  Put32(at, std::uint32_t(bits));
  Put32(at + 4, std::uint32_t(bits >> 32));
}
inline std::uint32_t Get16(const std::uint8_t* at) {
  return std::uint32_t(at[0]) | std::uint32_t(at[1]) << 8;
}
inline std::uint32_t Get32(const std::uint8_t* at) {
  return Get16(at) | Get16(at + 2) << 16;
}

inline void Append16(Bytes& out, std::uint32_t value) {
  out.resize(out.size() + 2);
  Put16(out.data() + out.size() - 2, value);
}
inline void Append32(Bytes& out, std::uint32_t value) {
  out.resize(out.size() + 4);
  Put32(out.data() + out.size() - 4, value);
}
inline void AppendDouble(Bytes& out, double value) {
  out.resize(out.size() + 8);
  PutDouble(out.data() + out.size() - 8, value);
}
inline void Append(Bytes& out, const Bytes& more) {
  out.insert(out.end(), more.begin(), more.end());
}

// A row's address: the page in the upper three bytes, the row's number on it in the lowest.
inline std::uint32_t RowPointer(std::uint32_t page, std::uint32_t row) {
  return page << 8 | row;
}

}  // namespace jet
