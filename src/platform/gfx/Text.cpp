// Text output of device contexts: TextOutW, DrawTextW and the measuring calls.
#include <algorithm>

#include "platform/gfx/ClipRects.h"
#include "platform/gfx/DeviceContext.h"

namespace gfx {
namespace {

constexpr std::u16string_view kEllipsis = u"...";
// Tab stops of DT_EXPANDTABS: every 8 average character widths.
constexpr int kTabChars = 8;

// Blends the colour over the destination by the glyph's coverage, with the pen on the
// baseline at device point pen; written pixels get alpha 0.
void BlendGlyph(DeviceContext& dc, TPoint pen, const GlyphImage& g, COLORREF color) {
  if (g.width == 0 || g.height == 0) return;
  const TRect box{SaturatingAdd(pen.X, g.left), SaturatingAdd(pen.Y, -g.top),
                  SaturatingAdd(SaturatingAdd(pen.X, g.left), g.width),
                  SaturatingAdd(SaturatingAdd(pen.Y, -g.top), g.height)};
  const int r = GetRValue(color), gr = GetGValue(color), b = GetBValue(color);
  ForEachClippedRect(dc, box, [&](const TRect& piece) {
    for (int y = piece.Top; y < piece.Bottom; ++y) {
      const std::uint8_t* cov = g.coverage.data() + std::size_t(y - box.Top) * g.width;
      Pixel* row = dc.Target().Row(y);
      for (int x = piece.Left; x < piece.Right; ++x) {
        const int c = cov[x - box.Left];
        if (c == 0) continue;
        const int a = c + (c >> 7);  // 0..256
        const Pixel d = row[x];
        row[x] = MakePixel(std::uint8_t((b * a + PixelB(d) * (256 - a)) >> 8),
                           std::uint8_t((gr * a + PixelG(d) * (256 - a)) >> 8),
                           std::uint8_t((r * a + PixelR(d) * (256 - a)) >> 8), 0);
      }
    }
  });
}

// A horizontal line of the given thickness from x0 to x1, its top at offset top below the
// baseline (logical coordinates).
void DrawRule(HDC dc, int x0, int x1, int baseline, int top, int thickness, COLORREF color) {
  const int y = SaturatingAdd(baseline, top);
  FillRect(dc, {x0, y, x1, SaturatingAdd(y, thickness)}, color);
}

// Restores a context's state when drawing into it with a narrower clip is over.
class StateGuard {
 public:
  explicit StateGuard(DeviceContext& dc) : dc_(dc), saved_(dc.State()) {}
  ~StateGuard() { dc_.State() = std::move(saved_); }
  StateGuard(const StateGuard&) = delete;
  StateGuard& operator=(const StateGuard&) = delete;

 private:
  DeviceContext& dc_;
  DeviceContextState saved_;
};

// One line of text as laid out: what is shown, the units whose character is underlined as an
// accelerator, and the width.
struct Line {
  std::u16string text;
  std::vector<std::size_t> marks;
  int width = 0;
};

// Advances of a line's units with tabs expanded (when tabWidth > 0) from its start.
class Measure {
 public:
  Measure(std::u16string_view text, const ShapedText& shaped, int tabWidth)
      : text_(text), advances_(shaped.advances), tabWidth_(tabWidth) {}
  // The pen position after unit i when it was x before it.
  int Step(int x, std::size_t i) const {
    if (tabWidth_ > 0 && text_[i] == u'\t') return (x / tabWidth_ + 1) * tabWidth_;
    return x + advances_[i];
  }
  int Width(std::size_t begin, std::size_t end) const {
    int x = 0;
    for (std::size_t i = begin; i < end; ++i) x = Step(x, i);
    return x;
  }
  // Units after the first of a cluster have no advance: a line does not end before them.
  bool StartsCluster(std::size_t i) const {
    return i >= text_.size() || advances_[i] != 0 || text_[i] == u'\t';
  }

 private:
  std::u16string_view text_;
  const std::vector<int>& advances_;
  int tabWidth_;
};

// Splits text at CR, LF and CRLF.
std::vector<std::u16string_view> Paragraphs(std::u16string_view text) {
  std::vector<std::u16string_view> out;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'\r' && text[i] != u'\n') continue;
    out.push_back(text.substr(start, i - start));
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  out.push_back(text.substr(start));
  return out;
}

// Removes accelerator marks: "&x" shows x underlined, "&&" shows one '&', a last '&' nothing.
Line StripPrefixes(std::u16string_view text) {
  Line line;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'&') {
      line.text += text[i];
    } else if (i + 1 < text.size() && text[i + 1] == u'&') {
      line.text += u'&';
      ++i;
    } else if (i + 1 < text.size()) {
      line.marks.push_back(line.text.size());
    }
  }
  return line;
}

// The part [begin, end) of a line, marks moved along.
Line Slice(const Line& line, std::size_t begin, std::size_t end) {
  Line out{line.text.substr(begin, end - begin), {}, 0};
  for (std::size_t m : line.marks)
    if (m >= begin && m < end) out.marks.push_back(m - begin);
  return out;
}

// Cuts a line that is wider than width so that it fits with "..." appended: at a word end
// for DT_WORD_ELLIPSIS when one fits, else after the last character that fits.
Line Ellipsify(const Line& line, const Measure& m, int width, int ellipsisWidth, bool atWord) {
  const int room = width - ellipsisWidth;
  std::size_t cut = 0, wordCut = 0;
  int x = 0;
  for (std::size_t i = 0; i < line.text.size(); ++i) {
    if (m.StartsCluster(i) && x <= room) {
      cut = i;
      if (i > 0 && line.text[i] == u' ' && line.text[i - 1] != u' ') wordCut = i;
    }
    x = m.Step(x, i);
  }
  if (x <= room) cut = line.text.size();
  Line out = Slice(line, 0, atWord && wordCut > 0 ? wordCut : cut);
  out.text += kEllipsis;
  return out;
}

// Cuts a line that is wider than width for DT_PATH_ELLIPSIS: its start, "...", and its last
// path part (from the last '\\' or '/') whole. Without a path part that fits, as Ellipsify.
Line PathEllipsify(const Line& line, const Measure& m, int width, int ellipsisWidth) {
  const std::size_t sep = line.text.find_last_of(u"\\/");
  const int room =
      sep == std::u16string::npos ? -1 : width - ellipsisWidth - m.Width(sep, line.text.size());
  if (room < 0) return Ellipsify(line, m, width, ellipsisWidth, false);
  std::size_t cut = 0;
  int x = 0;
  for (std::size_t i = 0; i < sep; ++i) {
    if (m.StartsCluster(i) && x <= room) cut = i;
    x = m.Step(x, i);
  }
  Line out = Slice(line, 0, cut);
  out.text += kEllipsis;
  Line tail = Slice(line, sep, line.text.size());
  for (std::size_t mark : tail.marks) out.marks.push_back(out.text.size() + mark);
  out.text += tail.text;
  return out;
}

// Breaks a paragraph into lines no wider than width: at spaces, inside a word only when the
// word alone is wider. Spaces at a break belong to neither line.
std::vector<std::pair<std::size_t, std::size_t>> WrapParagraph(std::u16string_view text,
                                                               const Measure& m, int width) {
  std::vector<std::pair<std::size_t, std::size_t>> lines;
  const std::size_t n = text.size();
  std::size_t start = 0;
  do {
    std::size_t end = n, next = n, wordEnd = 0;
    int x = 0;
    for (std::size_t i = start; i < n; ++i) {
      const int nx = m.Step(x, i);
      if (text[i] == u' ') {
        if (i > start && text[i - 1] != u' ') wordEnd = i;
      } else if (nx > width && i > start) {
        if (wordEnd > start) {
          end = wordEnd;
          next = wordEnd;
          while (next < n && text[next] == u' ') ++next;
        } else {
          end = i;
          while (end < n && !m.StartsCluster(end)) ++end;
          next = end;
        }
        break;
      }
      x = nx;
    }
    lines.emplace_back(start, end);
    start = next;
  } while (start < n);
  return lines;
}

struct Layout {
  std::vector<Line> lines;
  int width = 0;  // of the widest line
};

Layout LayOut(const Font& font, std::u16string_view text, const TRect& r, unsigned format) {
  const bool singleLine = format & DT_SINGLELINE;
  const bool wordBreak = (format & DT_WORDBREAK) && !singleLine;
  const bool ellipsis = format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS);
  const int tabWidth =
      format & DT_EXPANDTABS ? std::max(1, kTabChars * font.Metrics().tmAveCharWidth) : 0;
  const int ellipsisWidth = ellipsis ? font.Shape(kEllipsis).width : 0;
  Layout layout;
  auto paragraphs = singleLine ? std::vector<std::u16string_view>{text} : Paragraphs(text);
  for (std::u16string_view paragraph : paragraphs) {
    Line whole =
        format & DT_NOPREFIX ? Line{std::u16string(paragraph), {}, 0} : StripPrefixes(paragraph);
    const ShapedText shaped = font.Shape(whole.text);
    const Measure m(whole.text, shaped, tabWidth);
    std::vector<std::pair<std::size_t, std::size_t>> spans{{0, whole.text.size()}};
    if (wordBreak) spans = WrapParagraph(whole.text, m, r.Width());
    for (auto [begin, end] : spans) {
      Line line = Slice(whole, begin, end);
      line.width = m.Width(begin, end);
      if (ellipsis && line.width > r.Width()) {
        const ShapedText lineShaped = font.Shape(line.text);
        const Measure lm(line.text, lineShaped, tabWidth);
        line = format & DT_PATH_ELLIPSIS
                   ? PathEllipsify(line, lm, r.Width(), ellipsisWidth)
                   : Ellipsify(line, lm, r.Width(), ellipsisWidth, format & DT_WORD_ELLIPSIS);
        line.width = Measure(line.text, font.Shape(line.text), tabWidth).Width(0, line.text.size());
      }
      layout.width = std::max(layout.width, line.width);
      layout.lines.push_back(std::move(line));
    }
  }
  return layout;
}

// Draws a line with its cell's top-left corner at logical point at: the background cell in
// OPAQUE mode, the glyphs, the font's underline and strike-out, the accelerator underlines.
void DrawLine(HDC dc, const Font& font, TPoint at, const Line& line, int tabWidth) {
  const DeviceContextState& state = dc->State();
  const TEXTMETRICW& tm = font.Metrics();
  const int baseline = SaturatingAdd(at.Y, tm.tmAscent);
  if (state.bkMode == OPAQUE) {
    FillRect(dc, {at.X, at.Y, SaturatingAdd(at.X, line.width), SaturatingAdd(at.Y, tm.tmHeight)},
             state.bkColor);
  }
  // Tab-separated segments start at their tab stops; without tab expansion there is one.
  int x = 0;
  std::size_t begin = 0;
  while (begin <= line.text.size()) {
    std::size_t end = tabWidth > 0 ? line.text.find(u'\t', begin) : std::u16string::npos;
    if (end == std::u16string::npos) end = line.text.size();
    const ShapedText shaped = font.Shape(std::u16string_view(line.text).substr(begin, end - begin));
    const int left = SaturatingAdd(at.X, x);
    const TPoint pen = ToDevice(*dc, TPoint{left, baseline});
    for (const ShapedGlyph& g : shaped.glyphs) {
      BlendGlyph(*dc, {SaturatingAdd(pen.X, g.x), SaturatingAdd(pen.Y, g.y)}, *font.Glyph(g.id),
                 state.textColor);
    }
    for (std::size_t mark : line.marks) {
      if (mark < begin || mark >= end) continue;
      int mx = left;
      for (std::size_t i = begin; i < mark; ++i) mx = SaturatingAdd(mx, shaped.advances[i - begin]);
      DrawRule(dc, mx, SaturatingAdd(mx, shaped.advances[mark - begin]), baseline,
               font.UnderlineTop(), font.UnderlineThickness(), state.textColor);
    }
    if (tm.tmUnderlined) {
      DrawRule(dc, left, SaturatingAdd(left, shaped.width), baseline, font.UnderlineTop(),
               font.UnderlineThickness(), state.textColor);
    }
    if (tm.tmStruckOut) {
      DrawRule(dc, left, SaturatingAdd(left, shaped.width), baseline, font.StrikeOutTop(),
               font.StrikeOutThickness(), state.textColor);
    }
    x += shaped.width;
    if (end < line.text.size()) x = (x / tabWidth + 1) * tabWidth;
    begin = end + 1;
  }
}

}  // namespace

bool TextOutW(HDC dc, int x, int y, std::u16string_view text) {
  if (!dc) return false;
  HFONT font = GetCurrentFont(dc);
  Line line{std::u16string(text), {}, font->Shape(text).width};
  DrawLine(dc, *font, {x, y}, line, 0);
  return true;
}

int DrawTextW(HDC dc, std::u16string_view text, TRect* r, unsigned format) {
  if (!dc || !r) return 0;
  if (text.empty()) {
    if (format & DT_CALCRECT) r->Right = r->Left, r->Bottom = r->Top;
    return 0;
  }
  HFONT font = GetCurrentFont(dc);
  const int lineHeight = font->Metrics().tmHeight;
  const Layout layout = LayOut(*font, text, *r, format);
  const int height = int(layout.lines.size()) * lineHeight;
  if (format & DT_CALCRECT) {
    if (!(format & DT_WORDBREAK) || (format & DT_SINGLELINE))
      r->Right = SaturatingAdd(r->Left, layout.width);
    r->Bottom = SaturatingAdd(r->Top, height);
    return height;
  }
  // Vertical placement other than the top exists for single lines only, as on the platform;
  // the result is then the offset from the top of the rectangle to the bottom of the text.
  int top = r->Top;
  if (format & DT_SINGLELINE) {
    if (format & DT_BOTTOM) {
      top = r->Bottom - lineHeight;
    } else if (format & DT_VCENTER) {
      top = r->Top + (r->Height() - lineHeight) / 2;
    }
  }
  // Without DT_NOCLIP the rectangle narrows the clip while the lines are drawn.
  if (!(format & DT_NOCLIP) && r->IsEmpty()) return top - r->Top + height;
  StateGuard guard(*dc);
  if (!(format & DT_NOCLIP)) IntersectClipRect(dc, r->Left, r->Top, r->Right, r->Bottom);
  const int tabWidth =
      format & DT_EXPANDTABS ? std::max(1, kTabChars * font->Metrics().tmAveCharWidth) : 0;
  int y = top;
  for (const Line& line : layout.lines) {
    int x = r->Left;
    if (format & DT_CENTER) {
      x = r->Left + (r->Width() - line.width) / 2;
    } else if (format & DT_RIGHT) {
      x = r->Right - line.width;
    }
    DrawLine(dc, *font, {x, y}, line, tabWidth);
    y = SaturatingAdd(y, lineHeight);
  }
  return top - r->Top + height;
}

bool GetTextExtentPoint32W(HDC dc, std::u16string_view text, TSize* size) {
  if (!dc || !size) return false;
  HFONT font = GetCurrentFont(dc);
  *size = {font->Shape(text).width, font->Metrics().tmHeight};
  return true;
}

bool GetTextMetricsW(HDC dc, TEXTMETRICW* tm) {
  if (!dc || !tm) return false;
  *tm = GetCurrentFont(dc)->Metrics();
  return true;
}

}  // namespace gfx
