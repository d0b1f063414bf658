#include "skin/data/acSkinValues.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <vector>

#include "skin/data/SkinError.h"

namespace skin::data {

namespace {

template <typename Int>
std::optional<Int> ParseInt(std::string_view s) {
  bool negative = false;
  if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  int base = 10;
  if (s.starts_with('$')) {
    base = 16;
    s.remove_prefix(1);
  } else if (s.starts_with("0x") || s.starts_with("0X")) {
    base = 16;
    s.remove_prefix(2);
  }
  if (s.empty()) return std::nullopt;
  using Unsigned = std::make_unsigned_t<Int>;
  Unsigned magnitude = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), magnitude, base);
  if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  // Decimal must fit the signed range; hexadecimal may use every bit.
  const Unsigned limit = Unsigned(std::numeric_limits<Int>::max()) + (negative ? 1 : 0);
  if (base == 10 && magnitude > limit) return std::nullopt;
  const Unsigned bits = negative ? Unsigned(0) - magnitude : magnitude;
  return Int(bits);
}

// A field of digits at 1-based positions [first, first + length).
int Digits(std::string_view value, std::size_t first, std::size_t length) {
  int result = 0;
  for (std::size_t i = first - 1; i < first - 1 + length; ++i) {
    const char c = value[i];
    if (c < '0' || c > '9') {
      throw ESkinError("Bad picture value \"" + std::string(value) + "\": '" + c +
                       "' where a digit belongs");
    }
    result = result * 10 + (c - '0');
  }
  return result;
}

void NeedLength(std::string_view value, std::size_t length) {
  if (value.size() < length) {
    throw ESkinError("Bad picture value \"" + std::string(value) + "\": too short");
  }
}

gfx::TRect FixedRect(std::string_view v) {
  return {Digits(v, 2, 4), Digits(v, 7, 4), Digits(v, 12, 4), Digits(v, 17, 4)};
}

// Fields between separators, empty ones skipped.
std::vector<std::string_view> Words(std::string_view s, char separator) {
  std::vector<std::string_view> words;
  while (!s.empty()) {
    const std::size_t end = s.find(separator);
    if (end != 0) words.push_back(s.substr(0, end));
    if (end == std::string_view::npos) break;
    s.remove_prefix(end + 1);
  }
  return words;
}

// Widths of a nine-part border derived from a picture area: a third of one image across,
// a third of one image row down. Nothing is derived from an area with no image or row.
void DeriveWidths(TacPictureValue& v, int width, int height) {
  const std::int64_t across = std::int64_t(v.ImageCount) * 3;
  const std::int64_t down = std::int64_t(v.MaskType) * 3 + 3;
  v.WL = v.WR = across > 0 ? int(std::max<std::int64_t>(0, width / across)) : 0;
  v.WT = v.WB = down > 0 ? int(std::max<std::int64_t>(0, height / down)) : 0;
}

}  // namespace

std::optional<std::int32_t> StrToIntOpt(std::string_view s) {
  return ParseInt<std::int32_t>(s);
}
std::optional<std::int64_t> StrToInt64Opt(std::string_view s) {
  return ParseInt<std::int64_t>(s);
}

bool StrToBoolValue(std::string_view s) {
  return s == "TRUE" || s == "1";
}

std::optional<double> StrToRealOpt(std::string_view s) {
  double result = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), result);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return result;
}

std::optional<TacPictureValue> ParsePictureValue(std::string_view v) {
  TacPictureValue p;
  const char first = v.empty() ? '\0' : v.front();
  switch (first) {
    case '@':  // @LLLL@TTTT@RRRR@BBBB@n@m
      NeedLength(v, 24);
      p.Form = TacPictureForm::Glyph;
      p.R = FixedRect(v);
      p.ImageCount = Digits(v, 22, 1);
      p.MaskType = Digits(v, 24, 1);
      p.ImgType = itisaGlyph;
      return p;
    case '^': {  // ^LLLL^TTTT^RRRR^BBBB^wwww^xxxx^yyyy^zzzz^i^m^d^b
      NeedLength(v, 48);
      p.Form = TacPictureForm::Border;
      p.R = FixedRect(v);
      p.WL = Digits(v, 22, 4);
      p.WT = Digits(v, 27, 4);
      p.WR = Digits(v, 32, 4);
      p.WB = Digits(v, 37, 4);
      p.ImageCount = Digits(v, 42, 1);
      p.MaskType = Digits(v, 44, 1);
      p.DrawMode = Digits(v, 46, 1);
      p.BorderWidth = Digits(v, 48, 1);
      p.ImgType = itisaBorder;
      if (p.WL + p.WT + p.WR + p.WB == 0) {
        if (p.BorderWidth != 0) {
          p.WL = p.WT = p.WR = p.WB = p.BorderWidth;
        } else {
          DeriveWidths(p, p.R.Width(), p.R.Height());
        }
      }
      return p;
    }
    case '~':  // ~LLLL~TTTT~RRRR~BBBB~DD[~M[~FILE]]
      NeedLength(v, 23);
      p.Form = TacPictureForm::Texture;
      p.R = FixedRect(v);
      p.DrawMode = Digits(v, 22, 2);
      if (v.size() >= 25) p.MaskType = Digits(v, 25, 1);
      if (v.size() > 26) {
        const auto words = Words(v, '~');
        if (words.size() >= 7) p.FileName = std::string(words[6]);
      }
      p.ImgType = itisaTexture;
      return p;
    case '!': {  // !FILE!n!m!t!wl!wt!wr!wb!d, fields of any width
      const auto words = Words(v, '!');
      const auto field = [&words](std::size_t i) {
        return i < words.size() ? StrToIntOpt(words[i]).value_or(0) : 0;
      };
      p.Form = TacPictureForm::External;
      p.FieldCount = int(words.size());
      p.FileName = words.empty() ? std::string() : std::string(words[0]);
      p.ImageCount = field(1);
      p.MaskType = field(2);
      p.ImgType = TacImgType(std::clamp(field(3), 0, int(itisaPngGlyph)));
      p.WL = field(4);
      p.WT = field(5);
      p.WR = field(6);
      p.WB = field(7);
      p.DrawMode = field(8);
      return p;
    }
    default:
      if (v.find(".JPG") == std::string_view::npos && v.find(".BMP") == std::string_view::npos) {
        return std::nullopt;
      }
      p.Form = TacPictureForm::PlainFile;
      p.FileName = std::string(v);
      p.ImgType = itisaTexture;
      return p;
  }
}

void FitToPicture(TacPictureValue& value, int width, int height) {
  value.R = {0, 0, width, height};
  if (value.Form == TacPictureForm::External && value.FieldCount < 5) {
    DeriveWidths(value, width, height);
  }
}

int ScaleInt(int value, int scale) {
  std::int64_t v = value;
  switch (scale) {
    case 1:
      v += value / 4;
      break;
    case 2:
      v += value / 2;
      break;
    case 3:
      v *= 2;
      break;
    default:
      break;
  }
  // Values from a file may be huge; the result saturates instead of overflowing.
  return int(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace skin::data
