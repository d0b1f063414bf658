// Value syntaxes of the options text: integers, Booleans, reals, and the picture values
// ("@" glyph, "^" border, "~" texture, "!" external picture, plain ".JPG"/".BMP" file).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/gfx/Geometry.h"
#include "skin/paint/sMaskData.h"

namespace skin::data {

// A decimal integer, optionally signed, or hexadecimal after "$" or "0x"; nothing when the
// text is not one or does not fit. Hexadecimal takes all 32 (64) bits, so "$FFD8D8D8" is
// negative, as colours with an alpha byte are written.
std::optional<std::int32_t> StrToIntOpt(std::string_view s);
std::optional<std::int64_t> StrToInt64Opt(std::string_view s);
// True for exactly "TRUE" or "1".
bool StrToBoolValue(std::string_view s);
// A real with "." as decimal separator; nothing when the text is not one.
std::optional<double> StrToRealOpt(std::string_view s);

// Kind of picture item (TacImgType), shared with the painting code that reads the items.
using skin::paint::itisaBorder;
using skin::paint::itisaGlow;
using skin::paint::itisaGlyph;
using skin::paint::itisaPngGlyph;
using skin::paint::itisaTexture;
using skin::paint::TacImgType;

// Form of a picture value, by its first character.
enum class TacPictureForm { Glyph, Border, Texture, External, PlainFile };

// A picture value taken apart.
struct TacPictureValue {
  TacPictureForm Form = TacPictureForm::Glyph;
  gfx::TRect R;        // area in the master bitmap; for files, set by FitToPicture
  int ImageCount = 1;  // images side by side
  int MaskType = 0;    // 0 no mask; 1 a mask row below the images
  int DrawMode = 0;    // fill mode (textures) or border fill mode
  TacImgType ImgType = itisaGlyph;
  int WL = 0, WT = 0, WR = 0, WB = 0;  // border widths
  int BorderWidth = 0;                 // uniform border width ("^" values)
  std::string FileName;                // picture file: external, plain, or a texture's own source
  int FieldCount = 0;                  // "!" values: fields present
};

// Parses value (already upper-cased). Nothing when it is not a picture value. A fixed-width
// value that is too short or has a non-digit in a numeric position raises ESkinError.
// Border widths of a "^" value that are all 0 are derived from its border width or its
// rectangle.
std::optional<TacPictureValue> ParsePictureValue(std::string_view value);

// For a value naming its own picture (external, plain file): the rectangle becomes the whole
// picture, and an external value without widths gets widths derived from the picture size.
void FitToPicture(TacPictureValue& value, int width, int height);

// Resolution suffixes of scale indexes 0 to 3 and their percentages.
inline constexpr std::string_view aSfxs[4] = {"", "*125", "*150", "*200"};
inline constexpr int aScalePercents[4] = {100, 125, 150, 200};

// value at scale index scale (0 to 3): +1/4, +1/2, ×2, truncating toward zero.
int ScaleInt(int value, int scale);

}  // namespace skin::data
