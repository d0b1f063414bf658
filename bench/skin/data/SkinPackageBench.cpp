// Reading a skin package and its options text, with a package the size of a real skin: a
// 24-bit 640 × 480 master bitmap, a few extra pictures, and an options text of 60 sections.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "platform/gfx/PictureCodec.h"
#include "skin/data/acSkinPack.h"
#include "skin/data/sSkinOptions.h"

namespace {

using namespace skin::data;

gfx::Bitmap Picture(int width, int height) {
  gfx::Bitmap bmp(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool key = (x / 40 + y / 30) % 5 == 0;
      bmp.Set(x, y,
              key ? gfx::PixelFromColor(clFuchsia, 255)
                  : gfx::MakePixel(std::uint8_t(x), std::uint8_t(y), std::uint8_t(x ^ y), 255));
    }
  }
  return bmp;
}

std::string OptionsText() {
  std::string text = "[GLOBALINFO]\nVERSION=8.15\nMASTERBITMAP=MASTER.BMP\nTITLEHEIGHT=24\n";
  text +=
      "BOXCHECKED=@0039@0000@0078@0026@3@1\nEXBORDER=!EXTBORD.PNG!2!0!3!0025!0050!0025!0025!0\n";
  for (int s = 0; s < 60; ++s) {
    text += "[SECTION" + std::to_string(s) + "]\n";
    if (s % 3) text += "PARENTCLASS=SECTION" + std::to_string(s - 1) + "\n";
    text += "COLOR=" + std::to_string(s * 1000) + "\nHOTCOLOR=$FFEEDD\nFONTCOLOR=0\n";
    text += "TRANSPARENCY=0\nGRADIENTDATA=16777215;0;100;0;0\nGRADIENTPERCENT=50\n";
    text += "BORDERSMASK=^0078^0048^0156^0099^0001^0001^0001^0001^1^0^1^1\n";
    text += "PATTERN=~0078~0000~0156~0048~00\nGLYPHMASK=@0001@0002@0031@0012@3@1\n";
  }
  return text;
}

std::vector<std::uint8_t> Package() {
  const std::string options = OptionsText();
  const std::vector<TacPackEntry> files = {
      {"MASTER.BMP", gfx::EncodeBmp(Picture(640, 480), false)},
      {"EXTBORD.PNG", gfx::EncodePng(Picture(200, 120))},
      {"BG.JPG", gfx::EncodeJpeg(Picture(320, 240), 85)},
  };
  return PackSkin({reinterpret_cast<const std::uint8_t*>(options.data()), options.size()}, files,
                  gfx::EncodePng(Picture(140, 100)));
}

void BM_ExtractPackedData(benchmark::State& state) {
  const auto packed = Package();
  for (auto _ : state) {
    TacSkinConvertor c;
    benchmark::DoNotOptimize(ExtractPackedData(packed, c));
  }
  state.SetBytesProcessed(std::int64_t(state.iterations() * packed.size()));
}
BENCHMARK(BM_ExtractPackedData);

void BM_ReadSkinOptions(benchmark::State& state) {
  const std::string text = OptionsText();
  for (auto _ : state) {
    benchmark::DoNotOptimize(ReadSkinOptions(text, 0, TacSystemColors{}));
  }
  state.SetBytesProcessed(std::int64_t(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadSkinOptions);

}  // namespace
