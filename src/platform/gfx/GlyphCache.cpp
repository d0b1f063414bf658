#include "platform/gfx/GlyphCache.h"

namespace gfx {

std::size_t GlyphCache::Hash::operator()(const GlyphKey& k) const {
  std::uint64_t h = k.face * 0x9E3779B97F4A7C15ull;
  h ^= (std::uint64_t(std::uint32_t(k.em)) << 32 | k.glyph) + 0x632BE59BD9B4E019ull + (h << 6);
  h ^= std::uint64_t(std::uint32_t(k.emboldenPx)) << 1 | std::uint64_t(k.oblique);
  return std::size_t(h ^ (h >> 29));
}

GlyphCache& GlyphCache::Instance() {
  static GlyphCache cache;
  return cache;
}

std::shared_ptr<const GlyphImage> GlyphCache::Find(const GlyphKey& key) {
  auto it = index_.find(key);
  if (it == index_.end()) return nullptr;
  order_.splice(order_.begin(), order_, it->second);
  return it->second->second;
}

void GlyphCache::Insert(const GlyphKey& key, std::shared_ptr<const GlyphImage> image) {
  if (auto it = index_.find(key); it != index_.end()) {
    bytes_ -= Cost(*it->second->second);
    order_.erase(it->second);
    index_.erase(it);
  }
  bytes_ += Cost(*image);
  order_.emplace_front(key, std::move(image));
  index_.emplace(key, order_.begin());
  while (bytes_ > kMaxBytes && order_.size() > 1) {
    bytes_ -= Cost(*order_.back().second);
    index_.erase(order_.back().first);
    order_.pop_back();
  }
}

}  // namespace gfx
