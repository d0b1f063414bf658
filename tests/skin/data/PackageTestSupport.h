// Builders of package bytes for tests, including damaged ones the writer never makes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "skin/data/acZLibStream.h"

namespace skin::data::test {

inline std::vector<std::uint8_t> Bytes(std::string_view s) {
  return {s.begin(), s.end()};
}

inline void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(v >> (8 * i)));
}

// Header with any entry count.
inline std::vector<std::uint8_t> RawHeader(std::uint32_t count) {
  std::vector<std::uint8_t> out = Bytes("ASzf");
  PutU32(out, count);
  return out;
}

// Appends an entry whose stored size may differ from its data's real size.
inline void RawEntry(std::vector<std::uint8_t>& out, std::string_view name,
                     const std::vector<std::uint8_t>& data, std::uint32_t storedSize) {
  PutU32(out, std::uint32_t(name.size()));
  out.insert(out.end(), name.begin(), name.end());
  PutU32(out, storedSize);
  const auto z = DeflateStream(data);
  out.insert(out.end(), z.begin(), z.end());
}

inline void RawEntry(std::vector<std::uint8_t>& out, std::string_view name,
                     const std::vector<std::uint8_t>& data) {
  RawEntry(out, name, data, std::uint32_t(data.size()));
}

// Bytes that do not compress: a simple generator, the same every run.
inline std::vector<std::uint8_t> Noise(std::size_t n, std::uint32_t seed) {
  std::vector<std::uint8_t> out(n);
  for (auto& b : out) {
    seed = seed * 1664525u + 1013904223u;
    b = std::uint8_t(seed >> 24);
  }
  return out;
}

}  // namespace skin::data::test
