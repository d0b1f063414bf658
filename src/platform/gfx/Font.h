// Fonts: a logical description (LOGFONTW-like), resolved to a face file through fontconfig or
// to a face loaded from memory, rendered with FreeType and shaped with HarfBuzz.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

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
  int tmHeight = 0;  // tmAscent + tmDescent
  int tmAscent = 0;
  int tmDescent = 0;
  int tmInternalLeading = 0;  // tmHeight - em size
  int tmExternalLeading = 0;  // from the hhea line gap, never negative
  int tmAveCharWidth = 0;     // width of 'x'
  int tmMaxCharWidth = 0;
  int tmWeight = FW_NORMAL;
  bool tmItalic = false;
  bool tmUnderlined = false;
  bool tmStruckOut = false;
};

class FontFace;

// One glyph of shaped text: the glyph id, the first UTF-16 unit of its cluster and its pen
// position in whole pixels relative to the start of the text (y grows downwards).
struct ShapedGlyph {
  std::uint32_t id = 0;
  std::uint32_t cluster = 0;
  int x = 0;
  int y = 0;
};

// A line of text laid out the platform's way: whole-pixel advances per glyph, no kerning.
struct ShapedText {
  std::vector<ShapedGlyph> glyphs;
  std::vector<int> advances;  // per UTF-16 unit; a cluster's advance sits on its first unit
  int width = 0;              // sum of the advances
};

// A rendered glyph: grey coverage (0 none .. 255 full), rows top-down; (left, top) is the
// offset of its top-left pixel from the pen position on the baseline (top grows upwards).
struct GlyphImage {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> coverage;
};

// A resolved font: a face at an em size, with the platform's metrics. Immutable; rendered
// glyphs come from a bounded process-wide cache. Used from the user-interface thread only
// (FreeType faces are not shared across threads).
class Font {
 public:
  // Resolves the face (memory fonts, then fontconfig, then the fallback) and the metrics.
  explicit Font(const LOGFONTW& lf);

  const LOGFONTW& Logical() const { return logical_; }          // as requested
  const TEXTMETRICW& Metrics() const { return metrics_; }       // as the platform reports them
  int EmSize() const { return em_; }                            // pixels per em
  const std::u16string& FaceName() const { return faceName_; }  // the family actually used
  bool SyntheticBold() const { return advanceExtraPx_ > 0; }    // bold made from a regular face
  bool SyntheticItalic() const { return oblique_; }             // italic made by shearing

  // Shapes one line; control characters get the glyphs the face has for them.
  ShapedText Shape(std::u16string_view text) const;
  // The rendered glyph; empty image for glyphs that cannot be rendered.
  std::shared_ptr<const GlyphImage> Glyph(std::uint32_t id) const;

  // Underline and strike-out lines: top edge in pixels below the baseline (negative: above)
  // and thickness, at least 1.
  int UnderlineTop() const { return underlineTop_; }
  int UnderlineThickness() const { return underlineThickness_; }
  int StrikeOutTop() const { return strikeOutTop_; }
  int StrikeOutThickness() const { return strikeOutThickness_; }

 private:
  LOGFONTW logical_;
  TEXTMETRICW metrics_;
  std::shared_ptr<FontFace> face_;
  std::u16string faceName_;
  int em_ = 0;
  int emboldenPx_ = 0;      // extra stroke width of emboldened glyphs
  int advanceExtraPx_ = 0;  // extra advance per glyph of synthetic bold
  bool oblique_ = false;
  int underlineTop_ = 0;
  int underlineThickness_ = 1;
  int strikeOutTop_ = 0;
  int strikeOutThickness_ = 1;
};

// Fonts are immutable and shared: a device context keeps the one it draws with alive.
using HFONT = std::shared_ptr<const Font>;

// Creates a font: an unknown face falls back to the stated substitute (see FontFaceFallback)
// and, last, to DejaVu Sans; GraphicsError only when not even that face is installed.
HFONT CreateFontIndirectW(const LOGFONTW& lf);

// Registers a TrueType/OpenType font held in memory (a skin's or icon font) under its
// family name for this process. Returns the number of faces added, 0 for data that is no font.
int AddFontMemResourceEx(const void* data, std::size_t size);

// The face actually used for a requested face name (for reports and tests).
std::u16string FontFaceFallback(const std::u16string& requested);

// The font of a device context that has none selected: Tahoma, 11 px em size.
HFONT DefaultGuiFont();

}  // namespace gfx
