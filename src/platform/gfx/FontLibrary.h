// Font faces and where they come from: fonts registered from memory, the faces fontconfig
// finds (the system's folders plus the Wine font folder), and the stated fallbacks.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H
#include <hb.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace gfx {

// One face of a font file or of font bytes in memory, opened with FreeType, with a HarfBuzz
// font over it at units-per-em scale for shaping (independent of any pixel size).
class FontFace {
 public:
  // Null when the file or bytes hold no usable scalable face at that index.
  static std::shared_ptr<FontFace> FromFile(const std::string& path, int index);
  static std::shared_ptr<FontFace> FromMemory(
      std::shared_ptr<const std::vector<std::uint8_t>> bytes, int index);
  ~FontFace();
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  FT_Face Ft() const { return ft_; }
  hb_font_t* Hb() const { return hb_; }
  int FaceCount() const { return int(ft_->num_faces); }  // faces in the whole file or bytes
  std::u16string Family() const;                         // as the face names itself
  bool IsBold() const { return (ft_->style_flags & FT_STYLE_FLAG_BOLD) != 0; }
  bool IsItalic() const { return (ft_->style_flags & FT_STYLE_FLAG_ITALIC) != 0; }
  std::uint64_t Id() const { return id_; }  // unique in the process, for glyph cache keys
  // The bytes a memory face was opened from; null for a file.
  const std::vector<std::uint8_t>* Bytes() const { return bytes_.get(); }

 private:
  FontFace() = default;
  bool Open();  // after ft_ is set: checks the face and creates the HarfBuzz font
  std::shared_ptr<const std::vector<std::uint8_t>> bytes_;  // kept alive for memory faces
  FT_Face ft_ = nullptr;
  hb_font_t* hb_ = nullptr;
  std::uint64_t id_ = 0;
};

// A face chosen for a request, and what has to be synthesised because the face lacks it.
struct ResolvedFace {
  std::shared_ptr<FontFace> face;
  std::u16string family;
  bool syntheticBold = false;
  bool syntheticItalic = false;
  // A bold face whose strokes are no heavier than the regular face's (the Wine package's
  // Tahoma Bold has bold advances over regular outlines): its strokes get emboldened.
  bool thinBold = false;
};

// Finds the face for a family and style: memory fonts first, then fontconfig, then the
// fallback family of FontFaceFallback. Never null while the fallback face is installed;
// throws GraphicsError when not even that can be opened.
ResolvedFace ResolveFace(const std::u16string& family, bool bold, bool italic);

// The process's FreeType library.
FT_Library FreeTypeLibrary();

}  // namespace gfx
