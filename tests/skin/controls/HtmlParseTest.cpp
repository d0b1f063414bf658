// The markup engine on bitmaps, without windows: what each piece of markup shows (compared by
// extent and pixels with the plain text it stands for), tags and their faults mended, links,
// character references, addresses, wrapping and line placement.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Canvas.h"
#include "platform/gfx/DeviceContext.h"
#include "skin/controls/sHtmlParse.h"

namespace skin::controls::test {
namespace {

fw::TFont BaseFont() {
  fw::TFont f;
  f.SetName(u"Tahoma");
  f.SetHeight(-13);
  f.SetColor(fw::clBlack);
  return f;
}

struct TLaidOut {
  gfx::Bitmap Bmp{1, 1};
  gfx::TRect Extent;
  std::vector<TacLink> Links;
  std::vector<gfx::TSize> Lines;
};

// The markup laid out and drawn on white, in an area of the bitmap's width (wrap: wrapping on).
TLaidOut Draw(const std::u16string& text, const fw::TFont& font = BaseFont(), int width = 300,
              bool wrap = false, fw::TAlignment alignment = fw::TAlignment::taLeftJustify,
              int pressed = -1, int hot = -1) {
  TLaidOut out;
  out.Bmp = gfx::Bitmap(width, 120);
  out.Bmp.Fill(gfx::MakePixel(255, 255, 255, 255));
  TsHtml html(nullptr);
  html.Alignment = alignment;
  html.Init(out.Bmp, font, text, pressed, hot, {0, 0, wrap ? width : 0, 120});
  out.Extent = html.HTMLText(out.Links, false);
  out.Lines = html.aLineSizes;
  return out;
}

int Width(const std::u16string& text, const fw::TFont& font = BaseFont()) {
  gfx::Bitmap scratch(1, 1);
  gfx::DeviceContext dc(scratch);
  fw::TCanvas c;
  c.SetHandle(&dc);
  c.Font = font;
  return c.TextWidth(text);
}

bool SamePixels(const gfx::Bitmap& a, const gfx::Bitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.At(x, y) != b.At(x, y)) return false;
  return true;
}

// The leftmost column with ink between rows top and bottom, -1 when none.
int FirstInk(const gfx::Bitmap& bmp, int top, int bottom) {
  for (int x = 0; x < bmp.Width(); ++x)
    for (int y = top; y < bottom; ++y)
      if (gfx::PixelR(bmp.At(x, y)) < 128) return x;
  return -1;
}

TEST(HtmlParse, ReferencesAmpersandsAndAnglesShowTheCharactersTheyStandFor) {
  struct Case {
    std::u16string markup;
    std::vector<std::u16string> shown;  // the pieces drawn, one after the other
  } cases[] = {
      {u"A&amp;B", {u"A", u"&", u"B"}},
      {u"A&&B", {u"A", u"&B"}},           // two ampersands show one
      {u"A&zz;B", {u"A", u"&zz;B"}},      // not a reference: shown as written
      {u"A&AMP;B", {u"A", u"&AMP;B"}},    // names respect letter case
      {u"A&am p;B", {u"A", u"&am p;B"}},  // a space before the ";"
      {u"A&ampB", {u"A", u"&ampB"}},      // no ";" at all
      {u"A<<B", {u"A", u"<B"}},           // two angles show one
      {u"A<HR>B", {u"A", u"<HR>B"}},      // an unknown tag shows once, after the text before it
      {u"A<B", {u"A", u"B"}},             // an angle that opens nothing is dropped
      {u"x&eacute;&#233;", {u"x", u"\u00E9", u"\u00E9"}},
      {u"&trade;&#153;", {u"\u2122", u"\u2122"}},
      {u"&#8482;", {u"&#8482;"}},  // numbers outside the table are not references
  };
  for (const Case& c : cases) {
    int expected = 0;
    for (const auto& piece : c.shown) expected += Width(piece);
    EXPECT_EQ(Draw(c.markup).Extent.Right, expected)
        << std::string(c.markup.begin(), c.markup.end());
  }
}

TEST(HtmlParse, TheReferenceTableHasItsEightySevenRows) {
  EXPECT_EQ(SpecialCharacterCount(), 87u);
  struct Case {
    std::u16string text;
    char16_t c;
    std::size_t length;
  } found[] = {{u"amp;", u'&', 4},         {u"eacute;x", u'\u00E9', 7}, {u"#233;", u'\u00E9', 5},
               {u"Eacute;", u'\u00C9', 7}, {u"AElig;", u'\u00C6', 6},   {u"#39;", u'\'', 4},
               {u"#180;", u'\u00B4', 5},   {u"#96;", u'`', 4},          {u"trade;", u'\u2122', 6},
               {u"euro;", u'\u20AC', 5},   {u"nbsp;", u'\u00A0', 5},    {u"#38;", u'&', 4}};
  for (const Case& c : found) {
    const auto r = GetSpecialCharacter(c.text);
    ASSERT_TRUE(r.has_value()) << std::string(c.text.begin(), c.text.end());
    EXPECT_EQ(r->Char, c.c);
    EXPECT_EQ(r->Length, c.length);
  }
  for (std::u16string none : {u"AMP;", u"amp", u"am p;", u";", u"#;", u"#8482;", u"#-38;", u"x;"})
    EXPECT_FALSE(GetSpecialCharacter(none).has_value()) << std::string(none.begin(), none.end());
  // At most 255 characters are looked at for the ";".
  EXPECT_FALSE(GetSpecialCharacter(std::u16string(300, u'a') + u";").has_value());
}

TEST(HtmlParse, AddressesAndPlainCaptions) {
  struct Case {
    std::u16string tag, address;
  } cases[] = {
      {u"<a href=\"http://e.org/A\">", u"http://e.org/A"},
      {u"<A HREF='x y'>", u"x y"},
      {u"<a href=http://e.org>", u"http://e.org"},  // unquoted: the first character stays
      {u"<a HrEf = \"q\">", u"q"},
      {u"<a name=x>", u""},
      {u"<a href>", u""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ExtractAddress(c.tag), c.address) << std::string(c.tag.begin(), c.tag.end());
  EXPECT_EQ(GetPlainCaption(u"<b>bold</b> and <a href='x'>link</a>"), u"bold and link");
  EXPECT_EQ(GetPlainCaption(u"a < b"), u"a < b");
  EXPECT_EQ(GetPlainCaption(u"a<b>c<d"), u"ac<d");
}

TEST(HtmlParse, FontTagsChangeColourSizeAndFace) {
  const TLaidOut red = Draw(u"<font color=\"#FF0000\">WW</font>");
  bool sawRed = false, sawOther = false;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) {
      const gfx::Pixel p = red.Bmp.At(x, y);
      if (gfx::PixelR(p) == 255 && gfx::PixelG(p) < 40 && gfx::PixelB(p) < 40) sawRed = true;
      if (gfx::PixelB(p) > gfx::PixelG(p) + 20) sawOther = true;  // no blue: red, green, blue order
    }
  EXPECT_TRUE(sawRed);
  EXPECT_FALSE(sawOther);
  EXPECT_TRUE(SamePixels(red.Bmp, Draw(u"<font color=RED>WW</font>").Bmp));
  EXPECT_TRUE(SamePixels(red.Bmp, Draw(u"<font color=FF0000>WW</font>").Bmp));
  // An unreadable colour leaves the colour as it was.
  EXPECT_TRUE(SamePixels(Draw(u"<font color=nothex>WW</font>").Bmp, Draw(u"<b></b>WW").Bmp));

  fw::TFont big = BaseFont();
  big.SetSize(BaseFont().Size() + 4);
  EXPECT_EQ(Draw(u"<font size=+4>Wide</font>").Extent.Right, Width(u"Wide", big));
  big.SetSize(BaseFont().Size() - 2);
  EXPECT_EQ(Draw(u"<font size=\"-2\">Wide</font>").Extent.Right, Width(u"Wide", big));
  big.SetSize(20);
  EXPECT_EQ(Draw(u"<FONT SIZE=20>Wide</FONT>").Extent.Right, Width(u"Wide", big));
  big.SetSize(8);
  EXPECT_EQ(Draw(u"<font size=huge>Wide</font>").Extent.Right, Width(u"Wide", big));
  // A relative size that is no number leaves the size as it was (no error from painting).
  EXPECT_TRUE(SamePixels(Draw(u"<font size=+x>Wide</font>").Bmp, Draw(u"Wide").Bmp));
  EXPECT_TRUE(SamePixels(Draw(u"<font size=->Wide</font>").Bmp, Draw(u"Wide").Bmp));
  // Sizes stay within reason.
  EXPECT_LT(Draw(u"<font size=99999999>W</font>").Extent.Bottom, 1000);

  // The closing tag restores the font the opening tag found.
  big.SetSize(20);
  EXPECT_EQ(Draw(u"<font size=20>W</font>W").Extent.Right, Width(u"W", big) + Width(u"W"));
}

TEST(HtmlParse, StyleTagsMatchWholeNamesAndClosingTagsWithoutOpenersChangeNothing) {
  fw::TFont bold = BaseFont();
  bold.SetStyle(fw::fsBold);
  EXPECT_EQ(Draw(u"<b>W</b>W").Extent.Right, Width(u"W", bold) + Width(u"W"));
  EXPECT_EQ(Draw(u"<B>W</B >W").Extent.Right, Width(u"W", bold) + Width(u"W"));
  // </BIG> is not </B>: bold goes on, and the unknown tag is shown.
  EXPECT_EQ(Draw(u"<b>W</BIG>W").Extent.Right, Width(u"W", bold) + Width(u"</BIG>W", bold));
  // <BIG> is not <B> either.
  EXPECT_EQ(Draw(u"<big>W").Extent.Right, Width(u"<big>W"));
  // <TABLE> holds an A but opens no link; </ABBR> holds an A but closes none.
  TLaidOut table = Draw(u"<table>x");
  EXPECT_TRUE(table.Links.empty());
  EXPECT_EQ(table.Extent.Right, Width(u"<table>x"));
  TLaidOut abbr = Draw(u"<a href='u'>t</abbr>v</a>w");
  ASSERT_EQ(abbr.Links.size(), 1u);
  EXPECT_EQ(abbr.Links[0].URL, u"u");
  EXPECT_GT(abbr.Links[0].Bounds.Right, Width(u"t") + Width(u"</abbr>"));
  // Closing tags with nothing open change nothing and break nothing.
  EXPECT_TRUE(SamePixels(Draw(u"</font></a></b>abc").Bmp, Draw(u"<i></i>abc").Bmp));
  EXPECT_TRUE(Draw(u"</a>abc").Links.empty());
}

TEST(HtmlParse, RowsStartTwoPixelsBelowThePreviousAndLinesArePlacedByTheirOwnWidth) {
  const int row = Draw(u"W").Extent.Bottom;
  for (std::u16string br : {u"A<br>B", u"A<BR/>B", u"A<p>B", u"A</p>B"}) {
    const TLaidOut two = Draw(br);
    EXPECT_EQ(two.Extent.Bottom, 2 * row + 2) << std::string(br.begin(), br.end());
    ASSERT_EQ(two.Lines.size(), 2u);
    EXPECT_EQ(two.Lines[0].cx, Width(u"A"));
    EXPECT_EQ(two.Lines[1].cx, Width(u"B"));
  }
  // An empty row between keeps a row's height.
  EXPECT_EQ(Draw(u"A<br><br>B").Extent.Bottom, 3 * row + 4);

  // Centred: each line by its own measured width.
  const TLaidOut centred = Draw(u"WWWWWW<br>W", BaseFont(), 200, true, fw::TAlignment::taCenter);
  EXPECT_NEAR(FirstInk(centred.Bmp, 0, row), (200 - Width(u"WWWWWW")) / 2, 1);
  EXPECT_NEAR(FirstInk(centred.Bmp, row + 2, 2 * row + 2), (200 - Width(u"W")) / 2, 1);
  const TLaidOut right = Draw(u"W<br>WWW", BaseFont(), 200, true, fw::TAlignment::taRightJustify);
  EXPECT_NEAR(FirstInk(right.Bmp, 0, row), 200 - Width(u"W"), 1);
  EXPECT_NEAR(FirstInk(right.Bmp, row + 2, 2 * row + 2), 200 - Width(u"WWW"), 1);

  // Carriage returns are skipped unless they break rows.
  EXPECT_EQ(Draw(u"A\r\nB").Extent.Bottom, row);
  acHtmlStdBreak = true;
  EXPECT_EQ(Draw(u"A\r\nB").Extent.Bottom, 2 * row + 2);
  acHtmlStdBreak = false;
}

TEST(HtmlParse, WordsWrapAtTheAreaAndAWordWiderThanTheAreaGetsARowOfItsOwn) {
  const int row = Draw(u"Yy").Extent.Bottom;
  const int w = Width(u"word word");
  const TLaidOut wrapped = Draw(u"word word word", BaseFont(), w + 2, true);
  EXPECT_EQ(wrapped.Extent.Bottom, 2 * row);
  EXPECT_EQ(wrapped.Lines.size(), 1u);  // wrapped rows keep the line
  EXPECT_LE(wrapped.Extent.Right, w + 2);
  // Never drawn over: a long word after a short one goes below it.
  const TLaidOut longWord = Draw(u"a WWWWWWWWWWWW b", BaseFont(), Width(u"WWWW"), true);
  EXPECT_EQ(longWord.Extent.Bottom, 3 * row);
  EXPECT_EQ(FirstInk(longWord.Bmp, 0, row), FirstInk(Draw(u"a").Bmp, 0, row));
  // No wrapping without an area.
  EXPECT_EQ(Draw(u"word word word", BaseFont(), 40, false).Extent.Bottom, row);
}

TEST(HtmlParse, LinksTakeTheirPlaceAddressAndStateColours) {
  const TLaidOut plain = Draw(u"go <a href=\"http://e.org\">there</a> now");
  ASSERT_EQ(plain.Links.size(), 1u);
  const TacLink& link = plain.Links[0];
  EXPECT_EQ(link.URL, u"http://e.org");
  EXPECT_EQ(link.Bounds.Left, Width(u"go "));
  EXPECT_EQ(link.Bounds.Right, Width(u"go ") + Width(u"there"));
  EXPECT_EQ(link.Bounds.Top, 0);
  EXPECT_EQ(link.Bounds.Bottom, plain.Extent.Bottom);

  auto inkColour = [](const gfx::Bitmap& bmp, const gfx::TRect& r) {
    gfx::Pixel darkest = gfx::MakePixel(255, 255, 255, 255);
    int best = 3 * 255;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) {
        const gfx::Pixel p = bmp.At(x, y);
        const int sum = gfx::PixelR(p) + gfx::PixelG(p) + gfx::PixelB(p);
        if (sum < best) best = sum, darkest = p;
      }
    return darkest;
  };
  // Without a manager: blue, hot blue underlined, pressed and hot red.
  const gfx::Pixel normal = inkColour(plain.Bmp, link.Bounds);
  EXPECT_EQ(gfx::PixelB(normal), 255);
  EXPECT_EQ(gfx::PixelR(normal), 0);
  const std::u16string text = u"go <a href=\"http://e.org\">there</a> now";
  const TLaidOut hot = Draw(text, BaseFont(), 300, false, fw::TAlignment::taLeftJustify, -1, 0);
  EXPECT_EQ(gfx::PixelB(inkColour(hot.Bmp, link.Bounds)), 255);
  EXPECT_FALSE(SamePixels(hot.Bmp, plain.Bmp));  // underlined
  const TLaidOut pressedHot =
      Draw(text, BaseFont(), 300, false, fw::TAlignment::taLeftJustify, 0, 0);
  EXPECT_EQ(gfx::PixelR(inkColour(pressedHot.Bmp, link.Bounds)), 255);
  EXPECT_EQ(gfx::PixelB(inkColour(pressedHot.Bmp, link.Bounds)), 0);
  // Pressed alone looks hot.
  EXPECT_TRUE(SamePixels(
      Draw(text, BaseFont(), 300, false, fw::TAlignment::taLeftJustify, 0, -1).Bmp, hot.Bmp));
  // The text after the link is in the font before it.
  const gfx::TRect after{link.Bounds.Right, 0, plain.Extent.Right, plain.Extent.Bottom};
  EXPECT_EQ(gfx::PixelB(inkColour(plain.Bmp, after)), gfx::PixelR(inkColour(plain.Bmp, after)));
}

}  // namespace
}  // namespace skin::controls::test
