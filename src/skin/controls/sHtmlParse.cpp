#include "skin/controls/sHtmlParse.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "framework/Colors.h"
#include "skin/paint/sAlphaGraph.h"
#include "skin/paint/sGraphUtils.h"

namespace skin::controls {

bool acHtmlStdBreak = false;

namespace {

struct TacSpecialRow {
  std::u16string_view Name;  // empty: found by its number only
  int Number;
  char16_t Char;
};

// The character references known, as HTML 4 names them; "trade" keeps the number its
// character had in the old Western code page.
constexpr std::array<TacSpecialRow, 87> kSpecialChars{{
    {u"ndash", 8211, u'\u2013'},
    {u"mdash", 8212, u'\u2014'},
    {u"nbsp", 160, u'\u00A0'},
    {u"iexcl", 161, u'\u00A1'},
    {u"iquest", 191, u'\u00BF'},
    {u"quot", 34, u'"'},
    {u"ldquo", 8220, u'\u201C'},
    {u"rdquo", 8221, u'\u201D'},
    {u"lsquo", 8216, u'\u2018'},
    {u"rsquo", 8217, u'\u2019'},
    {u"laquo", 171, u'\u00AB'},
    {u"raquo", 187, u'\u00BB'},
    {u"amp", 38, u'&'},
    {u"cent", 162, u'\u00A2'},
    {u"copy", 169, u'\u00A9'},
    {u"divide", 247, u'\u00F7'},
    {u"gt", 62, u'>'},
    {u"lt", 60, u'<'},
    {u"micro", 181, u'\u00B5'},
    {u"middot", 183, u'\u00B7'},
    {u"para", 182, u'\u00B6'},
    {u"plusmn", 177, u'\u00B1'},
    {u"euro", 8364, u'\u20AC'},
    {u"pound", 163, u'\u00A3'},
    {u"reg", 174, u'\u00AE'},
    {u"sect", 167, u'\u00A7'},
    {u"trade", 153, u'\u2122'},
    {u"yen", 165, u'\u00A5'},
    {u"szlig", 223, u'\u00DF'},
    {u"yuml", 255, u'\u00FF'},
    {u"Aacute", 193, u'\u00C1'},
    {u"aacute", 225, u'\u00E1'},
    {u"Agrave", 192, u'\u00C0'},
    {u"agrave", 224, u'\u00E0'},
    {u"Acirc", 194, u'\u00C2'},
    {u"acirc", 226, u'\u00E2'},
    {u"Aring", 197, u'\u00C5'},
    {u"aring", 229, u'\u00E5'},
    {u"Atilde", 195, u'\u00C3'},
    {u"atilde", 227, u'\u00E3'},
    {u"Auml", 196, u'\u00C4'},
    {u"auml", 228, u'\u00E4'},
    {u"AElig", 198, u'\u00C6'},
    {u"aelig", 230, u'\u00E6'},
    {u"Ccedil", 199, u'\u00C7'},
    {u"ccedil", 231, u'\u00E7'},
    {u"Eacute", 201, u'\u00C9'},
    {u"eacute", 233, u'\u00E9'},
    {u"Egrave", 200, u'\u00C8'},
    {u"egrave", 232, u'\u00E8'},
    {u"Ecirc", 202, u'\u00CA'},
    {u"ecirc", 234, u'\u00EA'},
    {u"Euml", 203, u'\u00CB'},
    {u"euml", 235, u'\u00EB'},
    {u"Iacute", 205, u'\u00CD'},
    {u"iacute", 237, u'\u00ED'},
    {u"Igrave", 204, u'\u00CC'},
    {u"igrave", 236, u'\u00EC'},
    {u"Icirc", 206, u'\u00CE'},
    {u"icirc", 238, u'\u00EE'},
    {u"Iuml", 207, u'\u00CF'},
    {u"iuml", 239, u'\u00EF'},
    {u"Ntilde", 209, u'\u00D1'},
    {u"ntilde", 241, u'\u00F1'},
    {u"Oacute", 211, u'\u00D3'},
    {u"oacute", 243, u'\u00F3'},
    {u"Ograve", 210, u'\u00D2'},
    {u"ograve", 242, u'\u00F2'},
    {u"Ocirc", 212, u'\u00D4'},
    {u"ocirc", 244, u'\u00F4'},
    {u"Oslash", 216, u'\u00D8'},
    {u"oslash", 248, u'\u00F8'},
    {u"Otilde", 213, u'\u00D5'},
    {u"otilde", 245, u'\u00F5'},
    {u"Ouml", 214, u'\u00D6'},
    {u"ouml", 246, u'\u00F6'},
    {u"Uacute", 218, u'\u00DA'},
    {u"uacute", 250, u'\u00FA'},
    {u"Ugrave", 217, u'\u00D9'},
    {u"ugrave", 249, u'\u00F9'},
    {u"Ucirc", 219, u'\u00DB'},
    {u"ucirc", 251, u'\u00FB'},
    {u"Uuml", 220, u'\u00DC'},
    {u"uuml", 252, u'\u00FC'},
    {u"", 39, u'\''},
    {u"", 180, u'\u00B4'},
    {u"", 96, u'`'},
}};

// The sixteen colour names of FONT COLOR, as COLORREF values.
struct TacNamedColor {
  std::u16string_view Name;
  fw::TColor Color;
};
constexpr std::array<TacNamedColor, 16> kColorNames{{{u"AQUA", 0xFFFF00},
                                                     {u"BLACK", 0x000000},
                                                     {u"BLUE", 0xFF0000},
                                                     {u"FUCHSIA", 0xFF00FF},
                                                     {u"GRAY", 0x808080},
                                                     {u"GREEN", 0x008000},
                                                     {u"LIME", 0x00FF00},
                                                     {u"MAROON", 0x000080},
                                                     {u"NAVY", 0x800000},
                                                     {u"OLIVE", 0x008080},
                                                     {u"PURPLE", 0x800080},
                                                     {u"RED", 0x0000FF},
                                                     {u"SILVER", 0xC0C0C0},
                                                     {u"TEAL", 0x808000},
                                                     {u"WHITE", 0xFFFFFF},
                                                     {u"YELLOW", 0x00FFFF}}};

// Font sizes a FONT tag may give, in points: beyond them text is no longer text.
constexpr int kMinFontSize = 1;
constexpr int kMaxFontSize = 500;

char16_t Upper(char16_t c) {
  return c >= u'a' && c <= u'z' ? char16_t(c - u'a' + u'A') : c;
}

std::u16string UpperCase(std::u16string_view s) {
  std::u16string r(s);
  for (char16_t& c : r) c = Upper(c);
  return r;
}

// A decimal number written in ASCII digits only (an optional sign is not part of it).
std::optional<int> ParseNumber(std::u16string_view s) {
  if (s.empty() || s.size() > 9) return std::nullopt;
  int v = 0;
  for (char16_t c : s) {
    if (c < u'0' || c > u'9') return std::nullopt;
    v = v * 10 + (c - u'0');
  }
  return v;
}

// One to six hexadecimal digits.
std::optional<int> ParseHex(std::u16string_view s) {
  if (s.empty() || s.size() > 6) return std::nullopt;
  int v = 0;
  for (char16_t c : s) {
    const char16_t u = Upper(c);
    int d;
    if (u >= u'0' && u <= u'9')
      d = u - u'0';
    else if (u >= u'A' && u <= u'F')
      d = u - u'A' + 10;
    else
      return std::nullopt;
    v = v * 16 + d;
  }
  return v;
}

// RRGGBB as written to a COLORREF (0x00BBGGRR).
fw::TColor FromRRGGBB(int v) {
  return fw::TColor(((v >> 16) & 0xFF) | (v & 0xFF00) | ((v & 0xFF) << 16));
}

bool IsTagNameEnd(char16_t c) {
  return c == u' ' || c == u'>' || c == u'\r' || c == u'\n' || c == u'\t';
}

}  // namespace

std::size_t SpecialCharacterCount() {
  return kSpecialChars.size();
}

std::optional<TacSpecialChar> GetSpecialCharacter(std::u16string_view text) {
  const std::size_t limit = std::min<std::size_t>(text.size(), 255);
  std::size_t end = 0;
  while (end < limit && text[end] != u';') {
    if (text[end] == u' ') return std::nullopt;
    ++end;
  }
  if (end >= limit || end == 0) return std::nullopt;
  const std::u16string_view name = text.substr(0, end);
  for (const TacSpecialRow& row : kSpecialChars)
    if (!row.Name.empty() && row.Name == name) return TacSpecialChar{row.Char, end + 1};
  if (name[0] == u'#')
    if (const auto number = ParseNumber(name.substr(1)))
      for (const TacSpecialRow& row : kSpecialChars)
        if (row.Number == *number) return TacSpecialChar{row.Char, end + 1};
  return std::nullopt;
}

std::u16string ExtractAddress(std::u16string_view tag) {
  const std::u16string upped = UpperCase(tag);
  const std::size_t href = upped.find(u"HREF");
  if (href == std::u16string::npos) return {};
  std::u16string_view rest = tag.substr(href + 4);
  const std::size_t eq = rest.find(u'=');
  if (eq == std::u16string_view::npos) return {};
  rest.remove_prefix(eq + 1);
  while (!rest.empty() && rest.front() == u' ') rest.remove_prefix(1);
  // The opening quote goes; an unquoted address is kept whole.
  if (!rest.empty() && (rest.front() == u'"' || rest.front() == u'\'')) rest.remove_prefix(1);
  std::u16string address;
  for (char16_t c : rest)
    if (c != u'"' && c != u'\'' && c != u'>') address += c;
  return address;
}

std::u16string GetPlainCaption(std::u16string_view text) {
  std::u16string result;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == u'<') {
      const std::size_t close = text.find(u'>', i + 1);
      if (close != std::u16string_view::npos) {
        i = close + 1;
        continue;
      }
    }
    result += text[i++];
  }
  return result;
}

// ---- TsHtml ---------------------------------------------------------------------------------

TsHtml::TsHtml(const skin::core::TsSkinManager* manager) : FManager(manager) {}

void TsHtml::Init(gfx::Bitmap& bitmap, const fw::TFont& font, std::u16string_view text,
                  int pressedLink, int hotLink, const gfx::TRect& area) {
  Bitmap = &bitmap;
  FDC.emplace(bitmap);
  Canvas.SetHandle(&*FDC);
  Canvas.Font = font;
  Canvas.BrushStyle = fw::TBrushStyle::bsClear;
  aFonts.assign(1, font);  // the bottom of the stack: where every pass starts
  DefaultFontColor = font.Color();
  Origin = std::u16string(text);
  UppedText = UpperCase(text);
  Area = area;
  PressedLink = pressedLink;
  HotLink = hotLink;
  MaxBmpWidth = MaxBmpHeight = 0;
}

gfx::TRect TsHtml::HTMLText(std::vector<TacLink>& links, bool calcOnly) {
  if (!Bitmap) return {};
  // Measuring: every line's size, for placing the lines.
  aLineSizes.clear();
  Calculating = true;
  FDrawing = false;
  LineNumber = 0;
  CurX = CurY = 0;
  RunPass();
  Calculating = false;
  // Placing, and drawing unless only measured.
  FDrawing = !calcOnly;
  MaxBmpWidth = MaxBmpHeight = 0;
  LineNumber = 0;
  CurY = Area.Top;
  RunPass();
  links = Links;
  return {0, 0, MaxBmpWidth, MaxBmpHeight};
}

void TsHtml::RunPass() {
  Canvas.Font = aFonts.front();
  aFonts.resize(1);
  Links.clear();
  FOpenLink = -1;
  CurWidthValue = 0;
  CurrentRowHeight = 0;
  FWidest = 0;
  CurX = InitNewX();
  UpdateRowHeight();
  const std::size_t len = Origin.size();
  std::size_t pending = 0;
  std::size_t i = 0;
  while (i < len) {
    const char16_t c = Origin[i];
    if (c == u'\r' && acHtmlStdBreak) {
      ShowCut(pending, i);
      NewRow();
      pending = ++i;
      continue;
    }
    if (c == u'&') {
      ShowCut(pending, i);
      if (const auto special = GetSpecialCharacter(std::u16string_view(Origin).substr(i + 1))) {
        ShowSpecial(special->Char);
        i += 1 + special->Length;
        pending = i;
        continue;
      }
      if (i + 1 < len && Origin[i + 1] == u'&') {
        pending = i + 1;  // "&&" shows one "&"
        i += 2;
        continue;
      }
      pending = i++;
      continue;
    }
    if (c == u'<') {
      ShowCut(pending, i);
      if (i + 1 < len && Origin[i + 1] == u'<') {
        pending = i + 1;  // "<<" shows one "<"
        i += 2;
        continue;
      }
      const std::size_t close = Origin.find(u'>', i + 1);
      if (close == std::u16string::npos) {
        pending = ++i;  // a "<" that opens nothing is dropped
        continue;
      }
      if (ExecTag(i, close - i + 1)) {
        i = close + 1;
        pending = i;
        continue;
      }
      pending = i++;  // shown as it is written
      continue;
    }
    ++i;
  }
  ShowCut(pending, len);
  if (Calculating) AddSize();
  MaxBmpWidth = std::max(FWidest, CurWidthValue);
  MaxBmpHeight = CurY + CurrentRowHeight;
}

void TsHtml::ShowCut(std::size_t from, std::size_t to) {
  if (from >= to) return;
  std::u16string text;
  for (std::size_t i = from; i < to && i < Origin.size(); ++i)
    if (Origin[i] != u'\r' && Origin[i] != u'\n') text += Origin[i];
  if (text.empty()) return;
  const gfx::TSize size = Canvas.TextExtent(text);
  CurrentRowHeight = std::max(CurrentRowHeight, int(size.cy));
  if (Area.Right > 0 && CurX + size.cx > Area.Right) {
    OutLine(text);
    return;
  }
  DrawText(text, CurX, size.cx);
  CurX += size.cx;
  CurWidthValue = std::max(CurWidthValue + int(size.cx), CurX);
}

void TsHtml::OutLine(const std::u16string& text) {
  const int h = YyHeight();
  const int space = Canvas.TextWidth(u" ");
  const int areaWidth = Area.Right - Area.Left;
  auto nextRow = [&] {
    CurY += std::max(CurrentRowHeight, h);
    CurX = FLineLeft;
  };
  std::size_t start = 0;
  bool first = true;
  while (start <= text.size()) {
    std::size_t end = text.find(u' ', start);
    if (end == std::u16string::npos) end = text.size();
    const std::u16string word = text.substr(start, end - start);
    const int separator = first ? 0 : space;
    first = false;
    start = end + 1;
    if (word.empty()) {
      CurX += separator;
      continue;
    }
    const int w = Canvas.TextWidth(word);
    if (w > areaWidth) {
      // A word wider than the area gets a row of its own.
      if (CurX > FLineLeft) nextRow();
      DrawText(word, FLineLeft, w);
      CurWidthValue = std::max(CurWidthValue, FLineLeft + w);
      CurrentRowHeight = std::max(CurrentRowHeight, h);
      nextRow();
      first = true;
      continue;
    }
    if (CurX + separator + w > Area.Right && CurX > FLineLeft) {
      nextRow();
    } else {
      CurX += separator;
    }
    DrawText(word, CurX, w);
    CurX += w;
    CurWidthValue = std::max(CurWidthValue, CurX);
    CurrentRowHeight = std::max(CurrentRowHeight, h);
  }
}

void TsHtml::DrawText(const std::u16string& text, int x, int width) {
  if (!FDrawing || text.empty()) return;
  gfx::TRect r{x, CurY, x + width, CurY + CurrentRowHeight};
  unsigned flags = gfx::DT_SINGLELINE | gfx::DT_VCENTER | gfx::DT_NOPREFIX | gfx::DT_NOCLIP;
  if (BidiMode == fw::TBiDiMode::bdRightToLeft)
    flags |= gfx::DT_RIGHT | gfx::DT_RTLREADING;
  else if (BidiMode != fw::TBiDiMode::bdLeftToRight)
    flags |= gfx::DT_RTLREADING;
  if (AlphaChannel) {
    skin::paint::WriteColor(*Bitmap, Canvas.Font.Handle(), text, true, r, flags,
                            skin::paint::TColor(fw::ColorToRGB(Canvas.Font.Color())));
    return;
  }
  Canvas.TextRect(r, text, flags);
}

void TsHtml::NewRow() {
  CurY += CurrentRowHeight + 2;
  if (Calculating) AddSize();
  FWidest = std::max(FWidest, CurWidthValue);
  CurWidthValue = 0;
  CurrentRowHeight = 0;
  ++LineNumber;
  CurX = InitNewX();
  UpdateRowHeight();
}

int TsHtml::InitNewX() {
  if (Calculating) return FLineLeft = 0;
  using fw::TAlignment;
  TAlignment a = Alignment;
  // Read from the right, left and right swap; centred stays.
  if (BidiMode != fw::TBiDiMode::bdLeftToRight && a != TAlignment::taCenter)
    a = a == TAlignment::taLeftJustify ? TAlignment::taRightJustify : TAlignment::taLeftJustify;
  const int lineWidth =
      LineNumber < int(aLineSizes.size()) ? int(aLineSizes[std::size_t(LineNumber)].cx) : 0;
  const int areaWidth = Area.Right - Area.Left;
  switch (a) {
    case TAlignment::taLeftJustify:
      FLineLeft = Area.Left;
      break;
    case TAlignment::taRightJustify:
      FLineLeft = Area.Left + areaWidth - lineWidth;
      break;
    case TAlignment::taCenter:
      FLineLeft = Area.Left + (areaWidth - lineWidth) / 2;
      break;
  }
  return FLineLeft;
}

int TsHtml::RecordedHeight() const {
  return LineNumber < int(aLineSizes.size()) ? int(aLineSizes[std::size_t(LineNumber)].cy) : 0;
}

void TsHtml::UpdateRowHeight() {
  if (CurrentRowHeight != 0) return;
  CurrentRowHeight = Calculating ? YyHeight() : RecordedHeight();
}

void TsHtml::AddSize() {
  aLineSizes.push_back({CurWidthValue, CurrentRowHeight});
}

int TsHtml::YyHeight() {
  return Canvas.TextHeight(u"Yy");
}

void TsHtml::ShowSpecial(char16_t c) {
  const std::u16string text(1, c);
  const int w = Canvas.TextWidth(text);
  if (Area.Right > 0 && CurX + w > Area.Right) NewRow();
  CurrentRowHeight = std::max(CurrentRowHeight, Calculating ? YyHeight() : RecordedHeight());
  DrawText(text, CurX, w);
  CurX += w;
  CurWidthValue = std::max(CurWidthValue + w, CurX);
}

bool TsHtml::ExecTag(std::size_t at, std::size_t length) {
  const std::u16string tag = UppedText.substr(at, length);
  const bool closing = tag.size() > 2 && tag[1] == u'/';
  std::size_t nameStart = closing ? 2 : 1;
  std::size_t nameEnd = nameStart;
  while (nameEnd < tag.size() && !IsTagNameEnd(tag[nameEnd])) ++nameEnd;
  const std::u16string_view name = std::u16string_view(tag).substr(nameStart, nameEnd - nameStart);
  fw::TFont& f = Canvas.Font;
  auto style = [&](fw::TFontStyle s, bool on) {
    f.SetStyle(on ? (f.Style() | s) : (f.Style() & ~unsigned(s)));
  };
  if (closing) {
    if (name == u"B") {
      style(fw::fsBold, false);
    } else if (name == u"I") {
      style(fw::fsItalic, false);
    } else if (name == u"U") {
      style(fw::fsUnderline, false);
    } else if (name == u"FONT") {
      BackFont();
    } else if (name == u"A") {
      if (FOpenLink < 0) return true;  // nothing to close
      TacLink& link = Links[std::size_t(FOpenLink)];
      link.URL = ExtractAddress(link.URL);
      link.Bounds.Right = CurX;
      link.Bounds.Bottom = link.Bounds.Top + CurrentRowHeight;
      FOpenLink = -1;
      BackFont();
    } else if (name == u"P") {
      NewRow();
    } else {
      return false;
    }
    return true;
  }
  if (name == u"BR" || name == u"BR/" || name == u"P") {
    NewRow();
  } else if (name == u"B") {
    style(fw::fsBold, true);
  } else if (name == u"I") {
    style(fw::fsItalic, true);
  } else if (name == u"U") {
    style(fw::fsUnderline, true);
  } else if (name == u"FONT") {
    aFonts.push_back(f);
    SetFont(tag);
  } else if (name == u"A") {
    aFonts.push_back(f);
    FOpenLink = int(Links.size());
    Links.push_back({{CurX, CurY, CurX, CurY}, Origin.substr(at, length)});
    NewFont(FOpenLink);
  } else {
    return false;
  }
  return true;
}

void TsHtml::SetFont(const std::u16string& tag) {
  auto separator = [](char16_t c) {
    return c == u' ' || c == u'\r' || c == u'\n' || c == u'"' || c == u'<' || c == u'=' ||
           c == u'>';
  };
  std::vector<std::u16string> words;
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < tag.size();) {
    if (separator(tag[i])) {
      ++i;
      continue;
    }
    std::size_t j = i;
    while (j < tag.size() && !separator(tag[j])) ++j;
    words.push_back(tag.substr(i, j - i));
    starts.push_back(i);
    i = j;
  }
  fw::TFont& f = Canvas.Font;
  for (std::size_t k = 0; k + 1 < words.size(); ++k) {
    const std::u16string& key = words[k];
    const std::u16string& value = words[k + 1];
    if (key == u"SIZE") {
      // A relative size that is no number leaves the size as it was.
      int size = f.Size();
      if (value[0] == u'+' || value[0] == u'-') {
        const auto n = ParseNumber(std::u16string_view(value).substr(1));
        if (!n) continue;
        size += value[0] == u'+' ? *n : -*n;
      } else {
        size = ParseNumber(value).value_or(8);
      }
      f.SetSize(std::clamp(size, kMinFontSize, kMaxFontSize));
    } else if (key == u"COLOR") {
      std::optional<fw::TColor> color;
      if (value.size() == 7 && value[0] == u'#') {
        if (const auto v = ParseHex(std::u16string_view(value).substr(1))) color = FromRRGGBB(*v);
      }
      if (!color)
        for (const TacNamedColor& named : kColorNames)
          if (named.Name == value) color = named.Color;
      if (!color)
        if (const auto v = ParseHex(value)) color = FromRRGGBB(*v);
      if (color) f.SetColor(*color);  // an unreadable colour leaves the colour as it was
    } else if (key == u"FACE") {
      const std::size_t open = tag.find(u'"', starts[k] + key.size());
      const std::size_t close = open == std::u16string::npos ? open : tag.find(u'"', open + 1);
      if (close != std::u16string::npos && close > open + 1)
        f.SetName(tag.substr(open + 1, close - open - 1));
    }
  }
}

void TsHtml::NewFont(int linkIndex) {
  const int state = (linkIndex == PressedLink ? 1 : 0) + (linkIndex == HotLink ? 1 : 0);
  const skin::data::TacSkinModel* model = FManager ? FManager->SkinModel() : nullptr;
  fw::TColor color;
  if (model && model->CommonSkinData.Active) {
    const auto& pal = model->Palette;
    color = state == 0   ? pal[skin::data::pcWebText]
            : state == 1 ? pal[skin::data::pcWebTextHot]
                         : skin::paint::BlendColors(pal[skin::data::pcWebTextHot],
                                                    pal[skin::data::pcLabelText], 127);
  } else {
    color = state == 2 ? fw::clRed : fw::clBlue;
  }
  Canvas.Font.SetColor(color);
  if (state > 0) Canvas.Font.SetStyle(Canvas.Font.Style() | fw::fsUnderline);
}

void TsHtml::BackFont() {
  // A closing tag without its opening tag changes nothing.
  if (aFonts.size() <= 1) return;
  Canvas.Font = aFonts.back();
  aFonts.pop_back();
}

}  // namespace skin::controls
