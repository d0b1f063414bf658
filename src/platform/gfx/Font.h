// Fonts: a logical description (LOGFONTW-like), resolved to a face file through fontconfig or
// to a face loaded from memory, rendered with FreeType and shaped with HarfBuzz.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace gfx {

// Weights with the platform's values.
constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;

// What the caller asks for. Height < 0 is the character height (em size) in pixels,
// height > 0 the cell height (ascent + descent), 0 a default of 16 px cell height.
struct LOGFONTW {
  int lfHeight = 0;
  int lfWeight = FW_NORMAL;
  bool lfItalic = false;
  bool lfUnderline = false;
  bool lfStrikeOut = false;
  std::u16string lfFaceName;
};

// Metrics as the platform reports them: ascent and descent come from the face's
// OS/2 Windows ascent and descent, scaled to the em size and rounded up.
struct TEXTMETRICW {
  int tmHeight = 0;            // tmAscent + tmDescent
  int tmAscent = 0;
  int tmDescent = 0;
  int tmInternalLeading = 0;   // tmHeight - em size
  int tmExternalLeading = 0;   // from the hhea line gap, never negative
  int tmAveCharWidth = 0;      // width of 'x'
  int tmMaxCharWidth = 0;
  int tmWeight = FW_NORMAL;
  bool tmItalic = false;
  bool tmUnderlined = false;
  bool tmStruckOut = false;
};

class Font;
// Fonts are immutable and shared: a device context keeps the one it draws with alive.
using HFONT = std::shared_ptr<const Font>;

// Creates a font; never fails: an unknown face falls back to the stated substitute
// (see FontFaceFallback) and, last, to the system's sans-serif face.
HFONT CreateFontIndirectW(const LOGFONTW& lf);

// Registers a TrueType/OpenType font held in memory (a skin's or icon font) under its
// family name for this process. Returns the number of faces added, 0 for data that is no font.
int AddFontMemResourceEx(const void* data, std::size_t size);

// The face actually used for a requested face name (for reports and tests).
std::u16string FontFaceFallback(const std::u16string& requested);

}  // namespace gfx
