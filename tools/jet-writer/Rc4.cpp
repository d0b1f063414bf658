#include "Rc4.h"

#include <array>
#include <utility>

namespace jet {

void Rc4Apply(std::span<const std::uint8_t> key, std::span<std::uint8_t> data) {
  std::array<std::uint8_t, 256> s;
  for (int i = 0; i < 256; ++i) s[std::size_t(i)] = std::uint8_t(i);
  std::uint8_t j = 0;
  for (std::size_t i = 0; i < 256; ++i) {
    j = std::uint8_t(j + s[i] + key[i % key.size()]);
    std::swap(s[i], s[j]);
  }
  std::uint8_t a = 0, b = 0;
  for (std::uint8_t& byte : data) {
    a = std::uint8_t(a + 1);
    b = std::uint8_t(b + s[a]);
    std::swap(s[a], s[b]);
    byte ^= s[std::uint8_t(s[a] + s[b])];
  }
}

}  // namespace jet
