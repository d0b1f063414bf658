// Font bytes from outside (a skin's embedded font): registering them must either refuse them
// or give a font that measures and draws a short text into a small bitmap without harm.
#include <cstddef>
#include <cstdint>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/FontLibrary.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (gfx::AddFontMemResourceEx(data, size) == 0) return 0;
  // Every face of the bytes just registered, whatever family it names itself.
  auto bytes = std::make_shared<const std::vector<std::uint8_t>>(data, data + size);
  auto face = gfx::FontFace::FromMemory(bytes, 0);
  if (!face) return 0;
  gfx::Bitmap bmp(64, 32);
  gfx::DeviceContext dc(bmp);
  for (int height : {-11, 23}) {
    gfx::LOGFONTW lf;
    lf.lfFaceName = face->Family();
    lf.lfHeight = height;
    lf.lfWeight = height > 0 ? gfx::FW_BOLD : gfx::FW_NORMAL;
    lf.lfItalic = height > 0;
    lf.lfUnderline = true;
    gfx::SelectFont(&dc, gfx::CreateFontIndirectW(lf));
    gfx::TextOutW(&dc, 1, 1, u"Aa Жж 1");
    gfx::TRect r{0, 0, 40, 30};
    gfx::DrawTextW(&dc, u"&Музей\tmuseum\r\nfi", &r,
                   gfx::DT_WORDBREAK | gfx::DT_EXPANDTABS | gfx::DT_END_ELLIPSIS);
  }
  return 0;
}
