// Icons from 32-bit skin bitmaps (part of sAlphaGraph.h).
#include "skin/paint/sAlphaGraph.h"

namespace skin::paint {

namespace {

gfx::HICON MakeIcon(const Bitmap& img, std::shared_ptr<const Bitmap8> mask) {
  gfx::ICONINFO ii;
  ii.fIcon = true;
  ii.hbmMask = std::move(mask);
  // The icon keeps its own copy; the aliasing pointer only lends img for the call.
  ii.hbmColor = std::shared_ptr<const Bitmap>(std::shared_ptr<const Bitmap>(), &img);
  return gfx::CreateIconIndirect(ii);
}

}  // namespace

gfx::HICON MakeIcon32(const Bitmap& img) {
  if (img.Empty()) return nullptr;
  auto mask = std::make_shared<Bitmap8>(img.Width(), img.Height());
  for (int y = 0; y < img.Height(); ++y) {
    const std::uint32_t* s = img.Row(y);
    std::uint8_t* m = mask->Row(y);
    for (int x = 0; x < img.Width(); ++x) m[x] = std::uint8_t(255 - (s[x] >> 24));
  }
  return MakeIcon(img, std::move(mask));
}

gfx::HICON MakeCompIcon(const Bitmap& img) {
  if (img.Empty()) return nullptr;
  return MakeIcon(img, std::make_shared<const Bitmap8>(img.Width(), img.Height()));
}

}  // namespace skin::paint
