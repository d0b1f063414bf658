// The markup of markup labels on arbitrary text (read as UTF-8): laid out and drawn without
// wrapping and wrapped in a narrow area, in each alignment, with a link drawn hot and pressed;
// the address and plain-caption helpers on the same text.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "framework/TextConv.h"
#include "platform/gfx/Bitmap.h"
#include "skin/controls/sHtmlParse.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace skin::controls;
  if (size > 4096) return 0;  // longer markup only takes longer
  const std::u16string text =
      fw::Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(data), size));
  fw::TFont font;
  font.SetName(u"Tahoma");
  font.SetHeight(-13);
  gfx::Bitmap bmp(120, 60);
  const fw::TAlignment alignments[] = {fw::TAlignment::taLeftJustify, fw::TAlignment::taCenter,
                                       fw::TAlignment::taRightJustify};
  int round = 0;
  for (const gfx::TRect area : {gfx::TRect{0, 0, 0, 60}, gfx::TRect{4, 2, 40, 60}}) {
    TsHtml html(nullptr);
    html.Alignment = alignments[round % 3];
    html.BidiMode = round ? fw::TBiDiMode::bdRightToLeft : fw::TBiDiMode::bdLeftToRight;
    html.Init(bmp, font, text, 0, 0, area);
    std::vector<TacLink> links;
    html.HTMLText(links, round == 0);
    ++round;
  }
  ExtractAddress(text);
  GetPlainCaption(text);
  return 0;
}
