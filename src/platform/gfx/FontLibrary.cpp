#include "platform/gfx/FontLibrary.h"

#include <fontconfig/fontconfig.h>
#include <hb-ft.h>
#include FT_OUTLINE_H

#include <algorithm>
#include <atomic>
#include <map>
#include <optional>
#include <tuple>

#include "platform/gfx/Font.h"
#include "platform/gfx/GraphicsError.h"
#include "platform/gfx/TextEncoding.h"

namespace gfx {
namespace {

// Tahoma and the other fonts of the Wine font package; added to our own fontconfig setup.
constexpr const char* kWineFontDir = "/usr/share/wine/fonts";
constexpr const char16_t* kLastFallback = u"DejaVu Sans";
// Bounds of the memory-font registry, so repeated registration cannot grow without end.
constexpr std::size_t kMaxMemoryFontBytes = 64u << 20;
constexpr std::size_t kMaxMemoryFaces = 256;
constexpr int kMaxFacesPerFont = 16;
// Remembered lookups (name and style -> face); forgotten all at once beyond this many.
constexpr std::size_t kMaxResolved = 1024;

// Names inside fonts are mostly ASCII; anything malformed becomes U+FFFD.
std::u16string FromUtf8(std::string_view s) {
  std::u16string out;
  for (std::size_t i = 0; i < s.size();) {
    unsigned char b = s[i];
    int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
    char32_t c = extra == 0 ? b : extra == 1 ? b & 0x1F : extra == 2 ? b & 0x0F : b & 0x07;
    bool ok = extra >= 0 && i + extra < s.size();
    for (int k = 1; ok && k <= extra; ++k) {
      unsigned char t = s[i + k];
      ok = (t & 0xC0) == 0x80;
      c = (c << 6) | (t & 0x3F);
    }
    if (!ok || c > 0x10FFFF) {
      out += u'\uFFFD';
      ++i;
      continue;
    }
    i += extra + 1;
    if (c >= 0x10000) {
      c -= 0x10000;
      out += char16_t(0xD800 + (c >> 10));
      out += char16_t(0xDC00 + (c & 0x3FF));
    } else {
      out += char16_t(c);
    }
  }
  return out;
}

// Face names compare without regard to case, as on the platform (Latin and Cyrillic letters).
std::u16string Fold(std::u16string_view s) {
  std::u16string out(s);
  for (auto& c : out) {
    if ((c >= u'A' && c <= u'Z') || (c >= 0x410 && c <= 0x42F)) c += 0x20;
    if (c == 0x401) c = 0x451;
  }
  return out;
}

// The platform's substitutes for its dialog faces, applied before any lookup.
std::optional<std::u16string> Substitute(const std::u16string& folded) {
  if (folded == u"ms sans serif" || folded == u"ms shell dlg" || folded == u"ms shell dlg 2")
    return u"Tahoma";
  return std::nullopt;
}

// The stand-in for a face this system does not have.
std::optional<std::u16string> StandIn(const std::u16string& folded) {
  if (folded == u"segoe ui") return u"Open Sans";
  return std::nullopt;
}

FcConfig* FontConfig() {
  static FcConfig* config = [] {
    FcConfig* c = FcInitLoadConfigAndFonts();
    if (!c) throw GraphicsError("fontconfig could not be initialised");
    FcConfigAppFontAddDir(c, reinterpret_cast<const FcChar8*>(kWineFontDir));
    return c;
  }();
  return config;
}

struct FcFace {
  std::string path;
  int index = 0;
  std::u16string family;  // as fontconfig spells the requested family
};

// The best face of exactly this family (fontconfig's own aliases are not accepted).
std::optional<FcFace> MatchFamily(const std::u16string& family, bool bold, bool italic) {
  FcConfig* config = FontConfig();
  std::string name = Utf16ToUtf8(family);
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result;
  FcPattern* match = FcFontMatch(config, pattern, &result);
  FcPatternDestroy(pattern);
  if (!match) return std::nullopt;
  std::optional<FcFace> found;
  FcChar8* value = nullptr;
  FcBool scalable = FcFalse;
  FcPatternGetBool(match, FC_SCALABLE, 0, &scalable);
  for (int i = 0; scalable && FcPatternGetString(match, FC_FAMILY, i, &value) == FcResultMatch;
       ++i) {
    if (FcStrCmpIgnoreCase(value, reinterpret_cast<const FcChar8*>(name.c_str())) != 0) continue;
    FcChar8* file = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &file) != FcResultMatch) break;
    found = FcFace{reinterpret_cast<const char*>(file), 0,
                   FromUtf8(reinterpret_cast<const char*>(value))};
    FcPatternGetInteger(match, FC_INDEX, 0, &found->index);
    break;
  }
  FcPatternDestroy(match);
  return found;
}

struct MemoryFace {
  std::u16string folded;
  std::shared_ptr<FontFace> face;
};

// Process-wide state of the font layer (user-interface thread only).
struct Library {
  std::vector<MemoryFace> memoryFaces;
  std::map<std::pair<std::string, int>, std::shared_ptr<FontFace>> files;
  std::map<std::tuple<std::u16string, bool, bool>, ResolvedFace> resolved;
};

Library& Lib() {
  static Library library;
  return library;
}

const MemoryFace* FindMemoryFace(const std::u16string& folded, bool bold, bool italic) {
  const MemoryFace* best = nullptr;
  int bestScore = -1;
  for (const auto& m : Lib().memoryFaces) {
    if (m.folded != folded) continue;
    int score = (m.face->IsBold() == bold ? 2 : 0) + (m.face->IsItalic() == italic ? 1 : 0);
    if (score > bestScore) best = &m, bestScore = score;
  }
  return best;
}

// Bytes held by the registry (faces of one font share their bytes).
std::size_t MemoryBytes() {
  std::vector<const std::vector<std::uint8_t>*> seen;
  std::size_t total = 0;
  for (const auto& m : Lib().memoryFaces) {
    const auto* bytes = m.face->Bytes();
    if (std::find(seen.begin(), seen.end(), bytes) != seen.end()) continue;
    seen.push_back(bytes);
    total += bytes->size();
  }
  return total;
}

std::shared_ptr<FontFace> OpenFile(const std::string& path, int index) {
  auto& slot = Lib().files[{path, index}];
  if (!slot) slot = FontFace::FromFile(path, index);
  return slot;
}

std::atomic<std::uint64_t> nextFaceId{1};

// Width in font units of the stem of 'l', to compare the weight of two faces of a family.
FT_Pos StemWidth(const FontFace& face) {
  FT_Face ft = face.Ft();
  if (FT_Load_Char(ft, 'l', FT_LOAD_NO_SCALE) != 0 || ft->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
    return 0;
  FT_BBox box;
  FT_Outline_Get_CBox(&ft->glyph->outline, &box);
  return box.xMax - box.xMin;
}

}  // namespace

FT_Library FreeTypeLibrary() {
  static FT_Library library = [] {
    FT_Library l = nullptr;
    if (FT_Init_FreeType(&l) != 0) throw GraphicsError("FreeType could not be initialised");
    return l;
  }();
  return library;
}

std::shared_ptr<FontFace> FontFace::FromFile(const std::string& path, int index) {
  std::shared_ptr<FontFace> face(new FontFace);
  if (FT_New_Face(FreeTypeLibrary(), path.c_str(), index, &face->ft_) != 0) return nullptr;
  return face->Open() ? face : nullptr;
}

std::shared_ptr<FontFace> FontFace::FromMemory(
    std::shared_ptr<const std::vector<std::uint8_t>> bytes, int index) {
  std::shared_ptr<FontFace> face(new FontFace);
  face->bytes_ = std::move(bytes);
  if (FT_New_Memory_Face(FreeTypeLibrary(), face->bytes_->data(), FT_Long(face->bytes_->size()),
                         index, &face->ft_) != 0)
    return nullptr;
  return face->Open() ? face : nullptr;
}

bool FontFace::Open() {
  if (!FT_IS_SCALABLE(ft_) || !ft_->family_name || !*ft_->family_name || ft_->num_glyphs <= 0 ||
      ft_->units_per_EM < 16)
    return false;
  hb_face_t* hbFace = hb_ft_face_create_referenced(ft_);
  hb_ = hb_font_create(hbFace);
  hb_face_destroy(hbFace);
  hb_font_set_scale(hb_, ft_->units_per_EM, ft_->units_per_EM);
  id_ = nextFaceId++;
  return true;
}

FontFace::~FontFace() {
  if (hb_) hb_font_destroy(hb_);
  if (ft_) FT_Done_Face(ft_);
}

std::u16string FontFace::Family() const {
  return FromUtf8(ft_->family_name);
}

std::u16string FontFaceFallback(const std::u16string& requested) {
  std::u16string folded = Fold(requested);
  if (const MemoryFace* m = FindMemoryFace(folded, false, false)) return m->face->Family();
  std::vector<std::u16string> candidates{Substitute(folded).value_or(requested)};
  if (auto standIn = StandIn(folded)) candidates.push_back(*standIn);
  candidates.push_back(kLastFallback);
  for (const auto& c : candidates) {
    if (auto face = MatchFamily(c, false, false)) return face->family;
  }
  return kLastFallback;
}

ResolvedFace ResolveFace(const std::u16string& family, bool bold, bool italic) {
  auto key = std::make_tuple(Fold(family), bold, italic);
  auto& lib = Lib();
  if (auto it = lib.resolved.find(key); it != lib.resolved.end()) return it->second;
  ResolvedFace r;
  if (const MemoryFace* m = FindMemoryFace(std::get<0>(key), bold, italic)) {
    r = {m->face, m->face->Family(), bold && !m->face->IsBold(), italic && !m->face->IsItalic()};
  } else {
    std::u16string used = FontFaceFallback(family);
    std::optional<FcFace> match = MatchFamily(used, bold, italic);
    std::shared_ptr<FontFace> face = match ? OpenFile(match->path, match->index) : nullptr;
    if (!face) {
      throw GraphicsError("No usable font file for the face \"" + Utf16ToUtf8(family) + "\"");
    }
    r = {face, match->family, bold && !face->IsBold(), italic && !face->IsItalic()};
    if (bold && face->IsBold()) {
      std::optional<FcFace> regular = MatchFamily(used, false, italic);
      std::shared_ptr<FontFace> plain = regular ? OpenFile(regular->path, regular->index) : nullptr;
      r.thinBold = plain && !plain->IsBold() && StemWidth(*face) <= StemWidth(*plain) * 11 / 10;
    }
  }
  if (lib.resolved.size() >= kMaxResolved) lib.resolved.clear();
  lib.resolved.emplace(key, r);
  return r;
}

int AddFontMemResourceEx(const void* data, std::size_t size) {
  auto& lib = Lib();
  if (!data || size == 0 || MemoryBytes() + size > kMaxMemoryFontBytes) return 0;
  auto* p = static_cast<const std::uint8_t*>(data);
  auto bytes = std::make_shared<const std::vector<std::uint8_t>>(p, p + size);
  std::shared_ptr<FontFace> first = FontFace::FromMemory(bytes, 0);
  if (!first) return 0;
  int count = std::min(first->FaceCount(), kMaxFacesPerFont);
  int added = 0;
  for (int i = 0; i < count; ++i) {
    std::shared_ptr<FontFace> face = i == 0 ? first : FontFace::FromMemory(bytes, i);
    if (!face) continue;
    MemoryFace entry{Fold(face->Family()), face};
    // A later registration of the same family and style takes the place of the earlier one;
    // fonts made from the earlier one keep its bytes alive.
    auto same = std::find_if(lib.memoryFaces.begin(), lib.memoryFaces.end(), [&](auto& m) {
      return m.folded == entry.folded && m.face->IsBold() == face->IsBold() &&
             m.face->IsItalic() == face->IsItalic();
    });
    if (same != lib.memoryFaces.end()) {
      *same = std::move(entry);
    } else if (lib.memoryFaces.size() < kMaxMemoryFaces) {
      lib.memoryFaces.push_back(std::move(entry));
    } else {
      continue;
    }
    ++added;
  }
  if (added > 0) lib.resolved.clear();
  return added;
}

}  // namespace gfx

// Fontconfig 2.14 loses a few hundred bytes once while parsing its configuration files; the
// leak checker of sanitizer builds is told so, and stays strict about everything else.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
