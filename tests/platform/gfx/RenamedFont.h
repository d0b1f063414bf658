// Font files for tests, and a way to give a font a family name nothing else on the machine
// has, so that finding it proves it was registered.
#pragma once

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace gfx::test {

inline std::vector<std::uint8_t> ReadFontFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Replaces every occurrence of a name, in single-byte and UTF-16BE spelling, by another of the
// same length: the font then calls itself by the new name.
inline void Rename(std::vector<std::uint8_t>& font, const std::string& from,
                   const std::string& to) {
  auto replace = [&](const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
    for (auto it = font.begin();
         (it = std::search(it, font.end(), a.begin(), a.end())) != font.end();)
      it = std::copy(b.begin(), b.end(), it);
  };
  auto wide = [](const std::string& s) {
    std::vector<std::uint8_t> v;
    for (char c : s) v.insert(v.end(), {0, std::uint8_t(c)});
    return v;
  };
  replace({from.begin(), from.end()}, {to.begin(), to.end()});
  replace(wide(from), wide(to));
}

}  // namespace gfx::test
