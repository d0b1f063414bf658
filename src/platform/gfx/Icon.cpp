#include "platform/gfx/Icon.h"

#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/gfx/ClipRects.h"

namespace gfx {

namespace {

struct IconRecord {
  bool isIcon = true;
  int xHotspot = 0;
  int yHotspot = 0;
  std::shared_ptr<const Bitmap8> mask;
  std::shared_ptr<const Bitmap> color;
  bool hasAlpha = false;  // some colour pixel has a non-zero alpha: drawn by alpha
};

// Icons may be made on the animation thread as well, so the table is guarded.
struct IconTable {
  std::mutex lock;
  std::unordered_map<std::uintptr_t, std::shared_ptr<const IconRecord>> icons;
  std::uintptr_t next = 0x10000;
};

IconTable& Table() {
  static IconTable table;
  return table;
}

HICON Register(std::shared_ptr<const IconRecord> record) {
  IconTable& t = Table();
  std::lock_guard guard(t.lock);
  const std::uintptr_t id = t.next;
  t.next += 4;
  t.icons.emplace(id, std::move(record));
  return reinterpret_cast<HICON>(id);
}

std::shared_ptr<const IconRecord> Find(HICON icon) {
  IconTable& t = Table();
  std::lock_guard guard(t.lock);
  auto it = t.icons.find(reinterpret_cast<std::uintptr_t>(icon));
  return it == t.icons.end() ? nullptr : it->second;
}

bool AnyAlpha(const Bitmap& bmp) {
  for (int y = 0; y < bmp.Height(); ++y)
    for (int x = 0; x < bmp.Width(); ++x)
      if (PixelA(bmp.At(x, y)) != 0) return true;
  return false;
}

// (s * a + d * (255 - a)) / 255, rounded to nearest.
inline std::uint32_t Mix(std::uint32_t s, std::uint32_t d, std::uint32_t a) {
  return (s * a + d * (255 - a) + 127) / 255;
}

Pixel Over(Pixel s, Pixel d) {
  const std::uint32_t a = PixelA(s);
  const std::uint32_t da = PixelA(d);
  return MakePixel(
      std::uint8_t(Mix(PixelB(s), PixelB(d), a)), std::uint8_t(Mix(PixelG(s), PixelG(d), a)),
      std::uint8_t(Mix(PixelR(s), PixelR(d), a)), std::uint8_t(a + (da * (255 - a) + 127) / 255));
}

// Source index of the visible destination steps lo..hi - 1 of n steps starting at start, over
// m source pixels, sampled at pixel centres as StretchBlt samples: step i reads
// floor((2i + 1) * m / 2n).
std::vector<int> SampleMap(int start, int lo, int hi, int n, int m) {
  std::vector<int> map(std::size_t(hi - lo));
  for (int d = lo; d < hi; ++d) {
    const std::int64_t i = std::int64_t(d) - start;
    map[std::size_t(d - lo)] = int((2 * i + 1) * m / (std::int64_t(2) * n));
  }
  return map;
}

}  // namespace

HICON CreateIconIndirect(const ICONINFO& ii) {
  if (!ii.hbmColor || !ii.hbmMask || ii.hbmColor->Empty()) return nullptr;
  if (ii.hbmColor->Width() != ii.hbmMask->Width() || ii.hbmColor->Height() != ii.hbmMask->Height())
    return nullptr;
  auto record = std::make_shared<IconRecord>();
  record->isIcon = ii.fIcon;
  record->color = std::make_shared<const Bitmap>(*ii.hbmColor);
  record->mask = std::make_shared<const Bitmap8>(*ii.hbmMask);
  record->hasAlpha = AnyAlpha(*record->color);
  if (ii.fIcon) {
    record->xHotspot = record->color->Width() / 2;
    record->yHotspot = record->color->Height() / 2;
  } else {
    record->xHotspot = ii.xHotspot;
    record->yHotspot = ii.yHotspot;
  }
  return Register(std::move(record));
}

bool GetIconInfo(HICON icon, ICONINFO* ii) {
  auto record = Find(icon);
  if (!record || !ii) return false;
  ii->fIcon = record->isIcon;
  ii->xHotspot = record->xHotspot;
  ii->yHotspot = record->yHotspot;
  ii->hbmMask = record->mask;
  ii->hbmColor = record->color;
  return true;
}

HICON CopyIcon(HICON icon) {
  auto record = Find(icon);
  return record ? Register(std::move(record)) : nullptr;
}

bool DestroyIcon(HICON icon) {
  IconTable& t = Table();
  std::lock_guard guard(t.lock);
  return t.icons.erase(reinterpret_cast<std::uintptr_t>(icon)) != 0;
}

std::size_t IconCount() {
  IconTable& t = Table();
  std::lock_guard guard(t.lock);
  return t.icons.size();
}

bool DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy, unsigned flags) {
  auto record = Find(icon);
  if (!record || !dc || (flags & DI_NORMAL) == 0) return false;
  const Bitmap& color = *record->color;
  const Bitmap8& mask = *record->mask;
  if (cx <= 0 || (flags & DI_DEFAULTSIZE)) cx = color.Width();
  if (cy <= 0 || (flags & DI_DEFAULTSIZE)) cy = color.Height();
  const TPoint at = ToDevice(*dc, TPoint{x, y});
  const TRect area{at.X, at.Y, SaturatingAdd(at.X, cx), SaturatingAdd(at.Y, cy)};
  const TRect visible = IntersectRects(area, dc->Target().Bounds());
  if (visible.IsEmpty()) return true;
  // Maps only over the visible part, so a huge size costs nothing outside the target.
  const std::vector<int> columns =
      SampleMap(area.Left, visible.Left, visible.Right, cx, color.Width());
  const std::vector<int> rows =
      SampleMap(area.Top, visible.Top, visible.Bottom, cy, color.Height());

  const bool useMask = flags & DI_MASK, useImage = flags & DI_IMAGE;
  const bool blend = useMask && useImage && record->hasAlpha;
  Bitmap& target = dc->Target();
  ForEachClippedRect(*dc, visible, [&](const TRect& piece) {
    for (int row = piece.Top; row < piece.Bottom; ++row) {
      const int sy = rows[std::size_t(row - visible.Top)];
      const Pixel* c = color.Row(sy);
      const std::uint8_t* m = mask.Row(sy);
      Pixel* out = target.Row(row);
      for (int col = piece.Left; col < piece.Right; ++col) {
        const int sx = columns[std::size_t(col - visible.Left)];
        const Pixel andBits = m[sx] >= 128 ? 0x00FFFFFFu : 0u;
        Pixel& d = out[col];
        if (blend)
          d = Over(c[sx], d);
        else if (useMask && useImage)
          d = (d & andBits) ^ c[sx];
        else if (useMask)
          d = andBits;
        else
          d = c[sx];
      }
    }
  });
  return true;
}

}  // namespace gfx
