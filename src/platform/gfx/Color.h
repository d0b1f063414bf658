// Colour values (COLORREF, 0x00BBGGRR) and 32-bit pixel words (0xAARRGGBB, bytes B,G,R,A).
#pragma once

#include <cstdint>

namespace gfx {

using COLORREF = std::uint32_t;

constexpr COLORREF RGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return COLORREF(r) | (COLORREF(g) << 8) | (COLORREF(b) << 16);
}
constexpr std::uint8_t GetRValue(COLORREF c) { return std::uint8_t(c); }
constexpr std::uint8_t GetGValue(COLORREF c) { return std::uint8_t(c >> 8); }
constexpr std::uint8_t GetBValue(COLORREF c) { return std::uint8_t(c >> 16); }

// Returned by GetPixel for a point outside the clip region or the target.
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// A pixel word in memory order B,G,R,A (little-endian 0xAARRGGBB).
using Pixel = std::uint32_t;

constexpr Pixel MakePixel(std::uint8_t b, std::uint8_t g, std::uint8_t r, std::uint8_t a) {
  return Pixel(b) | (Pixel(g) << 8) | (Pixel(r) << 16) | (Pixel(a) << 24);
}
constexpr std::uint8_t PixelB(Pixel p) { return std::uint8_t(p); }
constexpr std::uint8_t PixelG(Pixel p) { return std::uint8_t(p >> 8); }
constexpr std::uint8_t PixelR(Pixel p) { return std::uint8_t(p >> 16); }
constexpr std::uint8_t PixelA(Pixel p) { return std::uint8_t(p >> 24); }

// COLORREF -> pixel word with the given alpha (exchanges red and blue).
constexpr Pixel PixelFromColor(COLORREF c, std::uint8_t alpha) {
  return MakePixel(GetBValue(c), GetGValue(c), GetRValue(c), alpha);
}
// Pixel word -> COLORREF; the alpha byte is dropped.
constexpr COLORREF ColorFromPixel(Pixel p) { return RGB(PixelR(p), PixelG(p), PixelB(p)); }

}  // namespace gfx
