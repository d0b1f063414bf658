// Fuzz target: the options text reader on any bytes, then the skin model built from it over a
// small master bitmap, with every lookup and the constant index table, and every section
// painted in every state. ESkinError (a malformed picture or gradient value) is the one
// expected outcome of bad input; anything else, an index outside its table, or painting that
// touches pixels outside its rectangle, is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/gfx/PictureCodec.h"
#include "skin/data/SkinError.h"
#include "skin/data/acSkinModelLoad.h"
#include "skin/data/sSkinOptions.h"
#include "skin/draw/sAlphaGraph.h"

namespace {

using namespace skin::data;

// A 24-bit master bitmap with key-colour pixels (what the internal skins name), and a PNG.
const TacSkinContent& Content() {
  static const TacSkinContent content = [] {
    gfx::Bitmap master(48, 40);
    for (int y = 0; y < master.Height(); ++y) {
      for (int x = 0; x < master.Width(); ++x) {
        const bool key = (x + y) % 7 == 0;
        master.Set(x, y,
                   key ? gfx::PixelFromColor(0xFF00FF, 255)
                       : gfx::MakePixel(std::uint8_t(x * 5), std::uint8_t(y * 6), 90, 255));
      }
    }
    TacSkinContent c;
    c.Packed.Files = {{"MASTER.BMP", ftBmp, gfx::EncodeBmp(master, false)},
                      {"EXTBORD.PNG", ftOther, gfx::EncodePng(gfx::Bitmap(9, 7))}};
    return c;
  }();
  return content;
}

void Check(bool ok) {
  if (!ok) std::abort();
}

void Lookups(TacSkinModel& m) {
  const auto item = [&m](int i) { Check(i == -1 || m.IsValidImgIndex(i)); };
  for (int i = -1; i <= int(m.gd.size()); ++i) {
    const std::string name = m.IsValidSkinIndex(i) ? m.gd[i].ClassName : "";
    item(m.GetMaskIndex(i, name, "BORDERSMASK"));
    item(m.GetMaskIndex(i, "GLYPHMASK"));
    item(m.GetTextureIndex(i, name, "PATTERN"));
    item(m.GetTextureIndex(i, "HOTPATTERN"));
    item(m.GetGlyphNdx("GLYPHMASK", i, i % 2 == 0));
    Check(m.GetSkinIndex(name) <= i);
  }
  m.InitConstantIndexes();
  for (int s : m.ConstData.Sections) Check(s == -1 || m.IsValidSkinIndex(s));
  for (int g : m.ConstData.TitleGlyphs) item(g);
  for (const TsMaskData& md : m.ma) {
    const gfx::Bitmap& bmp = m.ItemBitmap(md);
    Check(md.R.Left >= 0 && md.R.Top >= 0 && md.R.Right <= bmp.Width() &&
          md.R.Bottom <= bmp.Height());
  }
}

// Every section in states -1 to 3 into a window of a guard bitmap, over a ready parent and
// over a parent colour, opaque and layered; the guard stays as it was.
void Paint(const TacSkinModel& m, int scale) {
  constexpr std::uint32_t kGuard = 0x5A5A5A5A;
  const gfx::TRect window{3, 2, 3 + 13 + scale * 5, 2 + 9 + scale * 3};
  gfx::Bitmap parent(40, 30);
  parent.Fill(0xFF336699);
  for (int s = 0; s < int(m.gd.size()); ++s) {
    for (int state = -1; state <= 3; ++state) {
      gfx::Bitmap bmp(window.Right + 3, window.Bottom + 2);
      bmp.Fill(kGuard);
      const skin::draw::TCacheInfo ci =
          state % 2 == 0 ? skin::draw::MakeCacheInfo(&parent, 1, 1)
                         : skin::draw::TCacheInfo{nullptr, 0, 0, 0x808080, {}, false};
      skin::draw::PaintItem(&m, s, ci, true, state, window, {0, 0}, &bmp);
      skin::draw::PaintItem32(&m, s, true, state, window, {0, 0}, &bmp);
      for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x)
          Check(window.Contains({x, y}) || bmp.At(x, y) == kGuard);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  // One scale per input (by its length), so each input is read once: the mutations reach
  // every scale, and the reader is not run four times over the same text.
  const int scale = int(size % 4);
  try {
    const auto options = ReadSkinOptions(text, scale, TacSystemColors{});
    // Each scale also takes a different colour adjustment (brightness, hue, saturation).
    auto model = CreateSkinModel(Content(), options,
                                 {scale, scale - 1, scale == 1, scale * 90, 50 - scale * 50});
    Lookups(*model);
    Paint(*model, scale);
  } catch (const ESkinError&) {
  }
  return 0;
}
