#include <gtest/gtest.h>

#include "platform/gfx/DeviceContext.h"

namespace gfx {
namespace {

constexpr Pixel kPaper = MakePixel(255, 255, 255, 255);

HFONT Tahoma(int height, int weight = FW_NORMAL, bool underline = false) {
  LOGFONTW lf;
  lf.lfFaceName = u"Tahoma";
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfUnderline = underline;
  return CreateFontIndirectW(lf);
}

// A white opaque canvas with a context that draws in Tahoma 19.
struct Canvas {
  explicit Canvas(int w = 400, int h = 200, HFONT font = Tahoma(-19)) : bmp(w, h), dc(bmp) {
    bmp.Fill(kPaper);
    SelectFont(&dc, std::move(font));
    SetBkMode(&dc, TRANSPARENT);
  }
  TSize Extent(std::u16string_view text) {
    TSize s;
    EXPECT_TRUE(GetTextExtentPoint32W(&dc, text, &s));
    return s;
  }
  // Bounding box of the pixels that are no longer paper.
  TRect Ink() const {
    TRect box;
    for (int y = 0; y < bmp.Height(); ++y)
      for (int x = 0; x < bmp.Width(); ++x)
        if (bmp.At(x, y) != kPaper) box = UnionRects(box, RectOfSize(x, y, 1, 1));
    return box;
  }
  Bitmap bmp;
  DeviceContext dc;
};

// DrawTextW in OPAQUE mode: the background cells show exactly where each line was placed.
TRect Cells(std::u16string_view text, TRect r, unsigned format, int* result = nullptr) {
  Canvas c;
  SetBkMode(&c.dc, OPAQUE);
  SetBkColor(&c.dc, RGB(0, 0, 255));
  int h = DrawTextW(&c.dc, text, &r, format);
  if (result) *result = h;
  return c.Ink();
}

// What TextOutW draws for text at (x, y): the expected picture of a single line.
Bitmap Reference(std::u16string_view text, int x, int y) {
  Canvas c;
  TextOutW(&c.dc, x, y, text);
  return c.bmp;
}

TEST(TextMeasure, LabelsOfTheMainWindowHaveThePlatformSizes) {
  Canvas c;
  EXPECT_EQ(c.Extent(u"Тип музея"), (TSize{89, 23}));
  EXPECT_EQ(c.Extent(u"Наименование организации"), (TSize{248, 23}));
  EXPECT_EQ(c.Extent(u"Контактный телефон:"), (TSize{192, 23}));
  EXPECT_EQ(c.Extent(u"Дата открытия:"), (TSize{137, 23}));
  SelectFont(&c.dc, Tahoma(-19, FW_BOLD));
  EXPECT_EQ(c.Extent(u"Разделы экспозиции"), (TSize{203, 23}));
  EXPECT_EQ(c.Extent(u""), (TSize{0, 23}));
}

TEST(TextMeasure, ContextWithoutFontUsesTheDefaultGuiFont) {
  Bitmap bmp(10, 10);
  DeviceContext dc(bmp);
  EXPECT_EQ(GetCurrentFont(&dc), DefaultGuiFont());
  TEXTMETRICW tm;
  ASSERT_TRUE(GetTextMetricsW(&dc, &tm));
  EXPECT_EQ(tm.tmHeight, 13);
  EXPECT_EQ(tm.tmAscent, 11);
  EXPECT_FALSE(GetTextMetricsW(nullptr, &tm));
  EXPECT_FALSE(GetTextExtentPoint32W(&dc, u"x", nullptr));
}

TEST(TextOut, BlendsByCoverageAndWritesAlphaZero) {
  Canvas c;
  SetTextColor(&c.dc, RGB(200, 0, 0));
  ASSERT_TRUE(TextOutW(&c.dc, 10, 20, u"Тип музея"));
  TSize size = c.Extent(u"Тип музея");
  TRect ink = c.Ink();
  ASSERT_FALSE(ink.IsEmpty());
  // Ink stays inside the cell (the font's glyphs do not overhang at this size).
  EXPECT_GE(ink.Left, 10);
  EXPECT_GE(ink.Top, 20);
  EXPECT_LE(ink.Right, 10 + size.cx);
  EXPECT_LE(ink.Bottom, 20 + size.cy);
  int full = 0, partial = 0;
  for (int y = 0; y < c.bmp.Height(); ++y) {
    for (int x = 0; x < c.bmp.Width(); ++x) {
      Pixel p = c.bmp.At(x, y);
      if (p == kPaper) continue;
      EXPECT_EQ(PixelA(p), 0);
      EXPECT_EQ(PixelB(p), PixelG(p));  // white blended towards pure red
      EXPECT_GE(PixelR(p), 200);
      if (p == PixelFromColor(RGB(200, 0, 0), 0))
        ++full;
      else
        ++partial;
    }
  }
  EXPECT_GT(full, 50);
  EXPECT_GT(partial, 20);  // anti-aliased edges
}

TEST(TextOut, CoverageWeightsTheColourInBytes) {
  // Over a coloured destination each pixel is (colour * w + dest * (256 - w)) >> 8, where the
  // weight w is the glyph's coverage with 255 counted as 256.
  const Pixel dest = MakePixel(50, 150, 100, 255);
  Canvas c;
  c.bmp.Fill(dest);
  SetTextColor(&c.dc, RGB(240, 20, 130));
  TextOutW(&c.dc, 10, 20, u"Ж");
  HFONT f = GetCurrentFont(&c.dc);
  auto glyph = f->Glyph(f->Shape(u"Ж").glyphs[0].id);
  const int left = 10 + glyph->left, top = 20 + f->Metrics().tmAscent - glyph->top;
  auto mix = [](int colour, int d, int w) { return (colour * w + d * (256 - w)) >> 8; };
  for (int j = 0; j < glyph->height; ++j) {
    for (int i = 0; i < glyph->width; ++i) {
      const int cov = glyph->coverage[j * glyph->width + i];
      const int w = cov + (cov >> 7);
      const Pixel expected =
          cov == 0 ? dest : MakePixel(mix(130, 50, w), mix(20, 150, w), mix(240, 100, w), 0);
      ASSERT_EQ(c.bmp.At(left + i, top + j), expected) << i << "," << j << " coverage " << cov;
    }
  }
}

TEST(TextOut, OpaqueModeFillsTheCellFirst) {
  Canvas c;
  SetBkMode(&c.dc, OPAQUE);
  SetBkColor(&c.dc, RGB(0, 255, 0));
  TextOutW(&c.dc, 5, 7, u"Дата открытия:");
  TSize size = c.Extent(u"Дата открытия:");
  EXPECT_EQ(c.Ink(), RectOfSize(5, 7, size.cx, size.cy));
  EXPECT_EQ(c.bmp.At(5, 7), PixelFromColor(RGB(0, 255, 0), 0));
  EXPECT_EQ(c.bmp.At(5 + size.cx - 1, 7 + size.cy - 1), PixelFromColor(RGB(0, 255, 0), 0));
}

TEST(TextOut, HonoursViewportOriginAndClip) {
  Bitmap moved = [] {
    Canvas c;
    SetViewportOrgEx(&c.dc, 30, 12, nullptr);
    TextOutW(&c.dc, 0, 0, u"Музей");
    return c.bmp;
  }();
  EXPECT_EQ(moved, Reference(u"Музей", 30, 12));

  Canvas c;
  IntersectClipRect(&c.dc, 0, 0, 40, 200);
  TextOutW(&c.dc, 10, 10, u"Наименование организации");
  TRect ink = c.Ink();
  EXPECT_EQ(ink.Right, 40);
  Bitmap full = Reference(u"Наименование организации", 10, 10);
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 40; ++x) ASSERT_EQ(c.bmp.At(x, y), full.At(x, y));
}

TEST(TextOut, UnderlineAndStrikeOutAreFullRowsAcrossTheText) {
  Canvas c(400, 100, Tahoma(-19, FW_NORMAL, true));
  TextOutW(&c.dc, 0, 0, u"Тип");
  HFONT f = GetCurrentFont(&c.dc);
  int row = f->Metrics().tmAscent + f->UnderlineTop();
  int width = c.Extent(u"Тип").cx;
  for (int x = 0; x < width; ++x) EXPECT_EQ(c.bmp.At(x, row), MakePixel(0, 0, 0, 0)) << x;
  EXPECT_EQ(c.bmp.At(width, row), kPaper);
}

TEST(DrawText, HorizontalAndVerticalAlignment) {
  const TRect r{10, 10, 310, 110};
  const int w = Canvas().Extent(u"Тип музея").cx;  // 89
  int result = 0;
  EXPECT_EQ(Cells(u"Тип музея", r, DT_LEFT, &result), RectOfSize(10, 10, w, 23));
  EXPECT_EQ(result, 23);
  EXPECT_EQ(Cells(u"Тип музея", r, DT_CENTER), RectOfSize(10 + (300 - w) / 2, 10, w, 23));
  EXPECT_EQ(Cells(u"Тип музея", r, DT_RIGHT), RectOfSize(310 - w, 10, w, 23));
  EXPECT_EQ(Cells(u"Тип музея", r, DT_SINGLELINE | DT_VCENTER, &result),
            RectOfSize(10, 10 + (100 - 23) / 2, w, 23));
  EXPECT_EQ(result, (100 - 23) / 2 + 23);
  EXPECT_EQ(Cells(u"Тип музея", r, DT_SINGLELINE | DT_BOTTOM | DT_RIGHT),
            RectOfSize(310 - w, 110 - 23, w, 23));
  // Vertical placement needs a single line, as on the platform.
  EXPECT_EQ(Cells(u"Тип музея", r, DT_VCENTER | DT_BOTTOM), RectOfSize(10, 10, w, 23));
}

TEST(DrawText, CalcRectMeasuresWithoutDrawing) {
  Canvas c;
  TRect r{5, 5, 1000, 6};
  EXPECT_EQ(DrawTextW(&c.dc, u"Тип музея\r\nНаименование организации\nx", &r, DT_CALCRECT), 69);
  EXPECT_EQ(r, (TRect{5, 5, 5 + 248, 5 + 69}));
  EXPECT_TRUE(c.Ink().IsEmpty());
  // Single line: breaks are not lines.
  r = {0, 0, 10, 10};
  EXPECT_EQ(DrawTextW(&c.dc, u"a\nb", &r, DT_CALCRECT | DT_SINGLELINE), 23);
  r = {0, 0, 10, 10};
  EXPECT_EQ(DrawTextW(&c.dc, u"", &r, DT_CALCRECT), 0);
  EXPECT_EQ(r, (TRect{0, 0, 0, 0}));
}

TEST(DrawText, WordBreakAtSpacesAndInsideLongWords) {
  Canvas c;
  const int first = c.Extent(u"Наименование").cx;
  TRect r{0, 0, first + 5, 0};
  EXPECT_EQ(DrawTextW(&c.dc, u"Наименование организации", &r, DT_CALCRECT | DT_WORDBREAK), 46);
  EXPECT_EQ(r.Right, first + 5);  // the width is kept
  // Drawn: the second line starts at the left edge, without the space.
  Canvas two;
  TRect d{0, 0, first + 5, 100};
  DrawTextW(&two.dc, u"Наименование организации", &d, DT_WORDBREAK);
  Bitmap expected = Reference(u"Наименование", 0, 0);
  Canvas second;
  TextOutW(&second.dc, 0, 23, u"организации");
  for (int y = 23; y < 46; ++y)
    for (int x = 0; x < 400; ++x) expected.Set(x, y, second.bmp.At(x, y));
  EXPECT_EQ(two.bmp, expected);

  // A word wider than the line breaks where it must; every line fits.
  TRect narrow{0, 0, 60, 0};
  std::u16string word(20, u'Ж');
  int height = DrawTextW(&c.dc, word, &narrow, DT_CALCRECT | DT_WORDBREAK);
  const int perLine = 60 / c.Extent(u"Ж").cx;
  EXPECT_EQ(height, 23 * int((20 + perLine - 1) / perLine));
  EXPECT_EQ(Cells(word, {0, 0, 60, 200}, DT_WORDBREAK).Right, perLine * c.Extent(u"Ж").cx);
  // Explicit breaks still start lines; an empty line counts.
  TRect wide{0, 0, 300, 0};
  EXPECT_EQ(DrawTextW(&c.dc, u"a\r\n\rb c", &wide, DT_CALCRECT | DT_WORDBREAK), 69);
}

TEST(DrawText, EllipsisAtTheEndOrAtAWord) {
  Canvas m;
  const std::u16string text = u"Музей боевой славы";
  // The room fits "Музей боевой..." plus two letters, but not the whole text.
  const int room = m.Extent(u"Музей боевой сл...").cx + 2;
  ASSERT_LT(room, m.Extent(text).cx);
  auto drawn = [&](unsigned flag) {
    Canvas c;
    TRect r{0, 0, room, 30};
    DrawTextW(&c.dc, text, &r, DT_SINGLELINE | flag);
    return c.bmp;
  };
  EXPECT_EQ(drawn(DT_END_ELLIPSIS), Reference(u"Музей боевой сл...", 0, 0));
  EXPECT_EQ(drawn(DT_WORD_ELLIPSIS), Reference(u"Музей боевой...", 0, 0));
  TRect r{0, 0, room, 0};
  DrawTextW(&m.dc, text, &r, DT_CALCRECT | DT_SINGLELINE | DT_END_ELLIPSIS);
  EXPECT_EQ(r.Right, m.Extent(u"Музей боевой сл...").cx);
  // A text that fits is left alone.
  r = {0, 0, 1000, 0};
  DrawTextW(&m.dc, text, &r, DT_CALCRECT | DT_END_ELLIPSIS);
  EXPECT_EQ(r.Right, m.Extent(text).cx);
}

TEST(DrawText, PathEllipsisKeepsTheLastPartOfAPathWhole) {
  Canvas m;
  const std::u16string path = u"C:\\Музей\\Фото\\снимок.jpg";
  // Room for "C:\Му...\снимок.jpg" and a pixel, not for the whole path.
  const int room = m.Extent(u"C:\\Му...\\снимок.jpg").cx + 1;
  ASSERT_LT(room, m.Extent(path).cx);
  auto drawn = [&](const std::u16string& text, int width) {
    Canvas c;
    TRect r{0, 0, width, 30};
    DrawTextW(&c.dc, text, &r, DT_SINGLELINE | DT_PATH_ELLIPSIS);
    return c.bmp;
  };
  EXPECT_EQ(drawn(path, room), Reference(u"C:\\Му...\\снимок.jpg", 0, 0));
  // Forward slashes part a path too; without any, the end is cut.
  EXPECT_EQ(drawn(u"C:/Музей/Фото/снимок.jpg", m.Extent(u"C:/Му.../снимок.jpg").cx + 1),
            Reference(u"C:/Му.../снимок.jpg", 0, 0));
  Canvas e;
  TRect r{0, 0, room, 30};
  const std::u16string plain = u"Музей боевой славы и трудовой доблести";
  DrawTextW(&e.dc, plain, &r, DT_SINGLELINE | DT_END_ELLIPSIS);
  EXPECT_EQ(drawn(plain, room), e.bmp);
  // Measuring agrees with drawing.
  TRect calc{0, 0, room, 0};
  DrawTextW(&m.dc, path, &calc, DT_CALCRECT | DT_SINGLELINE | DT_PATH_ELLIPSIS);
  EXPECT_EQ(calc.Right, m.Extent(u"C:\\Му...\\снимок.jpg").cx);
}

TEST(DrawText, TabsExpandToEightAverageCharacters) {
  Canvas c;
  TEXTMETRICW tm;
  GetTextMetricsW(&c.dc, &tm);
  TRect r{0, 0, 0, 0};
  DrawTextW(&c.dc, u"a\tb", &r, DT_CALCRECT | DT_EXPANDTABS);
  EXPECT_EQ(r.Right, 8 * tm.tmAveCharWidth + c.Extent(u"b").cx);
  r = {0, 0, 0, 0};
  DrawTextW(&c.dc, u"a\tb", &r, DT_CALCRECT);
  EXPECT_EQ(r.Right, c.Extent(u"a\tb").cx);
  // Drawn: 'b' sits at the tab stop.
  Canvas d;
  TRect box{0, 0, 400, 30};
  DrawTextW(&d.dc, u"\tb", &box, DT_EXPANDTABS);
  EXPECT_EQ(d.bmp, Reference(u"b", 8 * tm.tmAveCharWidth, 0));
}

TEST(DrawText, PrefixMarksUnderlineTheNextCharacter) {
  Canvas c;
  TRect r{0, 0, 0, 0};
  DrawTextW(&c.dc, u"&Файл", &r, DT_CALCRECT);
  EXPECT_EQ(r.Right, c.Extent(u"Файл").cx);
  DrawTextW(&c.dc, u"&Файл", &r, DT_CALCRECT | DT_NOPREFIX);
  EXPECT_EQ(r.Right, c.Extent(u"&Файл").cx);
  DrawTextW(&c.dc, u"A&&B&", &r, DT_CALCRECT);
  EXPECT_EQ(r.Right, c.Extent(u"A&B").cx);

  Canvas d;
  TRect box{0, 0, 400, 30};
  DrawTextW(&d.dc, u"Ф&айл", &box, 0);
  Bitmap plain = Reference(u"Файл", 0, 0);
  HFONT f = GetCurrentFont(&d.dc);
  const int x0 = d.Extent(u"Ф").cx, x1 = d.Extent(u"Фа").cx;
  const int top = f->Metrics().tmAscent + f->UnderlineTop();
  int changed = 0;
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 400; ++x) {
      if (d.bmp.At(x, y) == plain.At(x, y)) continue;
      ++changed;
      EXPECT_TRUE(x >= x0 && x < x1 && y >= top && y < top + f->UnderlineThickness())
          << x << "," << y;
    }
  }
  EXPECT_GT(changed, 0);
}

TEST(DrawText, ClipsToTheRectangleUnlessNoClip) {
  const std::u16string text = u"Наименование организации";
  const TRect r{20, 20, 80, 30};
  TRect clipped = Cells(text, r, 0);
  EXPECT_EQ(clipped, r);
  TRect free = Cells(text, r, DT_NOCLIP);
  EXPECT_EQ(free, RectOfSize(20, 20, 248, 23));
  // The DC's clip applies as well, and the viewport origin moves everything.
  Canvas c;
  SetViewportOrgEx(&c.dc, 100, 50, nullptr);
  SelectClipRgn(&c.dc, nullptr);
  IntersectClipRect(&c.dc, 0, 0, 30, 100);
  SetBkMode(&c.dc, OPAQUE);
  TRect box{0, 0, 200, 40};
  DrawTextW(&c.dc, text, &box, 0);
  EXPECT_EQ(c.Ink(), (TRect{100, 50, 130, 73}));
}

}  // namespace
}  // namespace gfx
