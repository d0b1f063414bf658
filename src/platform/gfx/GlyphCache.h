// The process-wide cache of rendered glyphs, bounded in bytes; the least recently used
// glyphs leave first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <unordered_map>

#include "platform/gfx/Font.h"

namespace gfx {

// What a rendered glyph depends on: the face, the em size, the synthesised styles, the glyph.
struct GlyphKey {
  std::uint64_t face = 0;
  int em = 0;
  int emboldenPx = 0;
  bool oblique = false;
  std::uint32_t glyph = 0;
  friend bool operator==(const GlyphKey&, const GlyphKey&) = default;
};

class GlyphCache {
 public:
  // Bound of the coverage bytes kept (plus a per-glyph overhead).
  static constexpr std::size_t kMaxBytes = std::size_t(8) << 20;

  static GlyphCache& Instance();
  // The cached image, marked as most recently used; null when absent.
  std::shared_ptr<const GlyphImage> Find(const GlyphKey& key);
  // Adds an image, evicting the least recently used ones beyond the bound.
  void Insert(const GlyphKey& key, std::shared_ptr<const GlyphImage> image);
  std::size_t Bytes() const { return bytes_; }
  std::size_t Count() const { return index_.size(); }

 private:
  struct Hash {
    std::size_t operator()(const GlyphKey& k) const;
  };
  using Entry = std::pair<GlyphKey, std::shared_ptr<const GlyphImage>>;
  static std::size_t Cost(const GlyphImage& image) { return image.coverage.size() + 64; }
  std::list<Entry> order_;  // most recently used first
  std::unordered_map<GlyphKey, std::list<Entry>::iterator, Hash> index_;
  std::size_t bytes_ = 0;
};

}  // namespace gfx
