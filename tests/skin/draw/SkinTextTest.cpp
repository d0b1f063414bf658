// Text in section colours, text with alpha, glow, shortening and measuring.
#include <gtest/gtest.h>

#include <string>

#include "framework/Colors.h"
#include "platform/win/SystemMetrics.h"
#include "skin/draw/sSkinText.h"
#include "skin/paint/sGraphUtils.h"

namespace skin::draw {
namespace {

using gfx::Bitmap;

constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr unsigned kFlags = gfx::DT_LEFT | gfx::DT_TOP | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX;
const TRect kTextRect{6, 5, 150, 45};
// A large size, so that strokes have pixels of full ink away from their edges.
constexpr int kHeight = -32;
constexpr int kW = 160, kH = 50;

// Pixel word of an RGB colour, alpha 0 (what the platform's text drawing leaves).
std::uint32_t Word(TColor c) {
  return skin::paint::SwapRedBlue(std::uint32_t(c)) & 0x00FFFFFF;
}

// A drawing surface with a canvas in the default font.
struct Surface {
  Bitmap bmp{kW, kH};
  gfx::DeviceContext dc{bmp};
  fw::TCanvas canvas;
  explicit Surface(int height = kHeight) {
    bmp.Fill(kWhite);
    canvas.Font.SetHeight(height);
    canvas.SetHandle(&dc);
  }
  ~Surface() { canvas.SetHandle(nullptr); }
};

// Coverage of text drawn plainly in black at r: 255 full ink, 0 none.
gfx::Bitmap8 Ink(std::u16string_view text, const TRect& r) {
  Surface s;
  s.canvas.Font.SetColor(fw::clBlack);
  s.canvas.BrushStyle = fw::TBrushStyle::bsClear;
  TRect at = r;
  s.canvas.TextRect(at, text, kFlags);
  gfx::Bitmap8 out(s.bmp.Width(), s.bmp.Height());
  for (int y = 0; y < out.Height(); ++y)
    for (int x = 0; x < out.Width(); ++x)
      out.Set(x, y, std::uint8_t(255 - (s.bmp.At(x, y) & 0xFF)));
  return out;
}

bool Full(const gfx::Bitmap8& ink, int x, int y) {
  return ink.Bounds().Contains({x, y}) && ink.At(x, y) == 255;
}

// A model with one section whose states are given.
struct Model {
  TacSkinModel m;
  explicit Model(int states = 3) {
    m.gd.resize(1);
    m.gd[0].ClassName = "PANEL";
    m.gd[0].States = states;
  }
  skin::data::TsGenState& P(int i) { return m.gd[0].Props[std::size_t(i)]; }
};

const std::u16string kText = u"HEM Ш";

// Text drawn plainly in each (colour, offset) in turn.
Bitmap Layers(std::initializer_list<std::pair<TColor, gfx::TPoint>> layers) {
  Surface s;
  s.canvas.BrushStyle = fw::TBrushStyle::bsClear;
  for (auto [c, d] : layers) {
    s.canvas.Font.SetColor(c);
    TRect at = kTextRect.Offset(d.X, d.Y);
    s.canvas.TextRect(at, kText, kFlags);
  }
  return s.bmp;
}

TEST(SectionText, ContoursAreDrawnAroundTheTextInTheirOrder) {
  Model md;
  md.P(1).FontColor = {0x000080, 0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF};
  Surface s;
  WriteTextEx(s.canvas, kText, true, kTextRect, kFlags, 0, 1, &md.m);
  // Left, top, right and bottom one pixel out, then the text in place over them.
  Bitmap want = Layers({{0x0000FF, {-1, 0}},
                        {0x00FF00, {0, -1}},
                        {0xFF0000, {1, 0}},
                        {0x00FFFF, {0, 1}},
                        {0x000080, {0, 0}}});
  EXPECT_TRUE(s.bmp == want);
  EXPECT_FALSE(s.bmp == Layers({{0x00FF00, {0, -1}},
                                {0x0000FF, {-1, 0}},
                                {0xFF0000, {1, 0}},
                                {0x00FFFF, {0, 1}},
                                {0x000080, {0, 0}}}));
  // Where the text's own ink is full, its colour is on top.
  gfx::Bitmap8 ink = Ink(kText, kTextRect);
  int n = 0;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
      if (Full(ink, x, y)) {
        EXPECT_EQ(s.bmp.At(x, y), Word(0x000080));
        ++n;
      }
  EXPECT_GT(n, 0);
  // The canvas keeps its own colour and brush.
  EXPECT_EQ(s.canvas.Font.Color(), fw::clWindowText);
  EXPECT_EQ(s.canvas.BrushStyle, fw::TBrushStyle::bsSolid);
}

TEST(SectionText, NoContourDrawsTheTextOnceAndTheStateIsLimited) {
  gfx::Bitmap8 ink = Ink(kText, kTextRect);
  // One state, and none or fewer (an outside skin may say so): a hot request reads state 0.
  for (int states : {1, 0, -1}) {
    Model md(states);
    md.P(0).FontColor.Color = 0x123456;
    md.P(1).FontColor.Color = 0x654321;
    Surface s;
    WriteTextEx(s.canvas, kText, true, kTextRect, kFlags, 0, 2, &md.m);
    int n = 0;
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        if (Full(ink, x, y)) {
          EXPECT_EQ(s.bmp.At(x, y), Word(0x123456)) << states;
          ++n;
        }
        if (ink.At(x, y) == 0) {
          EXPECT_EQ(s.bmp.At(x, y), kWhite);
        }
      }
    EXPECT_GT(n, 0);
  }
}

TEST(SectionText, DisabledTextIsTheFontColourBlendedWithTheSection) {
  Model md;
  md.P(0).FontColor.Color = 0x000000;
  md.P(0).Color = 0xFFFFFF;
  md.P(0).FontColor.Left = 0x0000FF;  // contours are not drawn for disabled text
  Surface s;
  WriteTextEx(s.canvas, kText, false, kTextRect, kFlags, 0, 0, &md.m);
  gfx::Bitmap8 ink = Ink(kText, kTextRect);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      if (Full(ink, x, y)) {
        EXPECT_EQ(s.bmp.At(x, y), 0x009A9A9Au) << x << "," << y;
      }
      if (ink.At(x, y) == 0) {
        EXPECT_EQ(s.bmp.At(x, y), kWhite);
      }
    }
}

TEST(SectionText, InvalidSectionUsesTheCanvasColourOrGreyText) {
  gfx::Bitmap8 ink = Ink(kText, kTextRect);
  for (const TacSkinModel* model : {static_cast<const TacSkinModel*>(nullptr)}) {
    Surface on, off;
    on.canvas.Font.SetColor(0x0000C0);
    WriteTextEx(on.canvas, kText, true, kTextRect, kFlags, 3, 0, model);
    WriteTextEx(off.canvas, kText, false, kTextRect, kFlags, -1, 0, model);
    std::uint32_t grey = Word(TColor(win::GetSysColor(win::COLOR_GRAYTEXT)));
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x)
        if (Full(ink, x, y)) {
          EXPECT_EQ(on.bmp.At(x, y), Word(0x0000C0));
          EXPECT_EQ(off.bmp.At(x, y), grey);
        }
  }
  Surface s;
  WriteTextEx(s.canvas, u"", true, kTextRect, kFlags, 0, 0, nullptr);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) ASSERT_EQ(s.bmp.At(x, y), kWhite);
}

TEST(SectionText, Text32KeepsAlphaAndPremultipliesTheColour) {
  Model md;
  md.P(2).FontColor = {0x0000FF, 0x00FF00, -1, -1, -1};
  fw::TFont font;
  font.SetHeight(kHeight);
  Bitmap bmp(kW, kH);  // transparent black
  WriteText32(bmp, font, kText, true, kTextRect, kFlags, 0, 2, &md.m);
  gfx::Bitmap8 ink = Ink(kText, kTextRect);
  int main = 0, contour = 0;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      if (Full(ink, x, y)) {
        // Pure ink: a = 254, red = (0 + 255 * 255) * 254 / 65536 = 252.
        EXPECT_EQ(bmp.At(x, y), 0xFEFC0000u) << x << "," << y;
        ++main;
      } else if (ink.At(x, y) == 0 && ink.At(std::min(x + 1, kW - 1), y) == 0) {
        EXPECT_EQ(bmp.At(x, y), 0u);
      }
    }
  // The left contour (green) lies under the text, drawn the same way one pixel to the left.
  Bitmap want(kW, kH);
  skin::paint::WriteColor(want, font.Handle(), kText, true, kTextRect.Offset(-1, 0), kFlags,
                          0x00FF00);
  skin::paint::WriteColor(want, font.Handle(), kText, true, kTextRect, kFlags, 0x0000FF);
  EXPECT_TRUE(bmp == want);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) contour += bmp.At(x, y) != 0 && ink.At(x, y) == 0;
  EXPECT_GT(main, 0);
  EXPECT_GT(contour, 0);
}

TEST(SectionText, Text32DisabledUsesEachChannelsCoverageAndOpaqueAlpha) {
  fw::TFont font;
  font.SetHeight(kHeight);
  font.SetColor(0x00FF00);
  Bitmap bmp(kW, kH);
  bmp.Fill(0x00102030);
  WriteText32(bmp, font, kText, false, kTextRect, kFlags, 5, 0, nullptr);
  gfx::Bitmap8 ink = Ink(kText, kTextRect);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      if (Full(ink, x, y)) {
        EXPECT_EQ(bmp.At(x, y), 0xFF00FF00u);  // t = 0: the colour itself
      }
      if (ink.At(x, y) == 0) {
        EXPECT_EQ(bmp.At(x, y), 0x00102030u);
      }
    }
}

TEST(SectionText, SystemColoursOfASectionAreLookedUp) {
  Model md;
  md.P(0).FontColor.Color = fw::clHighlight;
  fw::TFont font;
  font.SetHeight(kHeight);
  Bitmap bmp(kW, kH);
  WriteText32(bmp, font, kText, false, kTextRect, kFlags, 0, 0, &md.m);
  gfx::Bitmap8 ink = Ink(kText, kTextRect);
  const std::uint32_t want = 0xFF000000 | Word(TColor(fw::ColorToRGB(fw::clHighlight)));
  int n = 0;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
      if (Full(ink, x, y)) {
        EXPECT_EQ(bmp.At(x, y), want);
        ++n;
      }
  EXPECT_GT(n, 0);
}

TEST(ControlText, AdjustmentsReachContoursAndDisabledTextNotTheMainColour) {
  Model md;
  md.P(1).FontColor = {0x000080, 0x0000FF, -1, -1, -1};
  const TacColorAdjust tone{0xFF0000, 0, 0};  // recolours by the largest channel into blue
  skin::paint::TacGlowMask mask;
  Surface on, off;
  WriteSectionText(on.canvas, kText, true, kTextRect, kFlags, md.m, 0, 1, tone, true, nullptr,
                   mask);
  EXPECT_TRUE(on.bmp == Layers({{UpdateColor(0x0000FF, tone), {-1, 0}}, {0x000080, {0, 0}}}));
  WriteSectionText(off.canvas, kText, false, kTextRect, kFlags, md.m, 0, 1, tone, true, nullptr,
                   mask);
  EXPECT_TRUE(off.bmp == Layers({{UpdateColor(0x000080, tone), {0, 0}}}));
  EXPECT_EQ(UpdateColor(0x000080, tone), 0x7F0000);
  Surface none;
  WriteSectionText(none.canvas, kText, true, kTextRect, kFlags, md.m, 4, 1, tone, true, nullptr,
                   mask);
  EXPECT_TRUE(none.bmp == Surface().bmp);
}

TEST(ControlText, GlowGoesIntoTheCacheWithinTheTextRectangle) {
  Model md;
  md.P(0).GlowSize = 4;
  md.P(0).GlowColor = 0x00FF00;
  md.P(0).FontColor.Color = 0x000000;
  const TRect r{20, 10, 90, 40};
  skin::paint::TacGlowMask mask;
  Surface withGlow, without;
  WriteSectionText(withGlow.canvas, kText, true, r, kFlags, md.m, 0, 0, {}, true, &withGlow.bmp,
                   mask);
  WriteSectionText(without.canvas, kText, true, r, kFlags, md.m, 0, 0, {}, false, &without.bmp,
                   mask);
  int glowing = 0;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      if (!r.Contains({x, y})) {
        ASSERT_EQ(withGlow.bmp.At(x, y), kWhite) << x << "," << y;
      } else if (withGlow.bmp.At(x, y) != without.bmp.At(x, y)) {
        ++glowing;
      }
    }
  EXPECT_GT(glowing, 100);
  // Glow tints white toward green: red and blue drop, green stays.
  gfx::Bitmap8 ink = Ink(kText, r);
  bool tinted = false;
  for (int y = r.Top; y < r.Bottom && !tinted; ++y)
    for (int x = r.Left; x < r.Right && !tinted; ++x)
      if (ink.At(x, y) == 0 && withGlow.bmp.At(x, y) != kWhite) {
        std::uint32_t p = withGlow.bmp.At(x, y);
        tinted = (p >> 8 & 0xFF) >= 0xFE && (p & 0xFF) < 0xFF && (p >> 16 & 0xFF) < 0xFF;
      }
  EXPECT_TRUE(tinted);
}

// Glow of a text into a fresh bitmap with a fresh mask.
Bitmap Glow(const std::u16string& text, const gfx::HFONT& font, int side, int blur) {
  Bitmap out(80, 40);
  skin::paint::TacGlowMask mask;
  skin::paint::acDrawGlowForText(out, font, text, {10, 8, 60, 28}, kFlags, side, blur, 0xFF8000,
                                 mask);
  return out;
}

TEST(Glow, TheMaskIsMadeAgainWhenTextFontSidesOrBlurChange) {
  fw::TFont f;
  gfx::HFONT font = f.Handle();
  fw::TFont boldF;
  boldF.SetStyle(fw::fsBold);
  gfx::HFONT bold = boldF.Handle();
  skin::paint::TacGlowMask mask;
  Bitmap first(80, 40);
  skin::paint::acDrawGlowForText(first, font, u"Alpha", {10, 8, 60, 28}, kFlags, 15, 3, 0xFF8000,
                                 mask);
  EXPECT_FALSE(first == Bitmap(80, 40));
  struct Case {
    std::u16string text;
    gfx::HFONT font;
    int side, blur;
  } cases[] = {{u"Omega", font, 15, 3},
               {u"Omega", bold, 15, 3},
               {u"Omega", bold, 0, 3},
               {u"Omega", bold, 0, 5}};
  for (const auto& c : cases) {
    Bitmap reused(80, 40);
    skin::paint::acDrawGlowForText(reused, c.font, c.text, {10, 8, 60, 28}, kFlags, c.side, c.blur,
                                   0xFF8000, mask);
    EXPECT_TRUE(reused == Glow(c.text, c.font, c.side, c.blur));
  }
}

TEST(Glow, CompositionFollowsTheMaskWeights) {
  fw::TFont f;
  Bitmap out(80, 40);
  out.Fill(0x40204060);
  skin::paint::TacGlowMask mask;
  skin::paint::acDrawGlowForText(out, f.Handle(), u"Glow", {10, 8, 60, 28}, kFlags, 0, 2, 0x0080FF,
                                 mask);
  ASSERT_FALSE(mask.Bmp.Empty());
  // The mask covers the text rectangle moved by (1, 1) and inflated by 2 + 4.
  EXPECT_EQ(mask.Bmp.Width(), 50 + 12);
  EXPECT_EQ(mask.Bmp.Height(), 20 + 12);
  int touched = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 80; ++x) {
      int mx = x - 5, my = y - 3;
      int m = mask.Bmp.Bounds().Contains({mx, my}) ? mask.Bmp.At(mx, my) : 255;
      if (m == 255) {
        ASSERT_EQ(out.At(x, y), 0x40204060u);
        continue;
      }
      int w = 255 - m;
      std::uint32_t want = std::uint32_t(0x40 + ((255 - 0x40) * w >> 8)) << 24 |
                           std::uint32_t((w * 0xFF + m * 0x20) >> 8) << 16 |
                           std::uint32_t((w * 0x80 + m * 0x40) >> 8) << 8 |
                           std::uint32_t((w * 0x00 + m * 0x60) >> 8);
      ASSERT_EQ(out.At(x, y), want) << x << "," << y;
      ++touched;
    }
  EXPECT_GT(touched, 50);
}

TEST(Shortening, CutTextFitsOrEmpties) {
  Surface s(-11);
  const std::u16string text = u"Краеведческий музей";
  const int full = s.canvas.TextWidth(text), dots = s.canvas.TextWidth(u"...");
  EXPECT_EQ(CutText(s.canvas, text, full), text);
  EXPECT_EQ(CutText(s.canvas, text, 0), u"");
  EXPECT_EQ(CutText(s.canvas, text, -5), u"");
  EXPECT_EQ(CutText(s.canvas, text, dots - 1), u"");
  for (int width : {dots + 8, full / 2, full - 1}) {
    std::u16string cut = CutText(s.canvas, text, width);
    ASSERT_GE(cut.size(), 4u);
    EXPECT_EQ(cut.substr(cut.size() - 3), u"...");
    std::u16string kept = cut.substr(0, cut.size() - 3);
    EXPECT_EQ(text.substr(0, kept.size()), kept);
    EXPECT_LE(s.canvas.TextWidth(cut), width);
    // One more character would not fit.
    EXPECT_GT(s.canvas.TextWidth(text.substr(0, kept.size() + 1) + u"..."), width);
  }
  // A surrogate pair is dropped whole.
  std::u16string pair = u"ab\U0001F600\U0001F600";
  std::u16string cut = CutText(s.canvas, pair, s.canvas.TextWidth(pair) - 1);
  ASSERT_GE(cut.size(), 4u);
  EXPECT_NE(cut[cut.size() - 4] & 0xFC00, 0xD800);
}

TEST(Measuring, DrawTextPassesAtMost5460Characters) {
  fw::TFont f;
  Bitmap bmp(10, 10);
  gfx::DeviceContext dc(bmp);
  gfx::SelectFont(&dc, f.Handle());
  std::u16string text(6000, u'i');
  TRect r{0, 0, 0, 0};
  acDrawText(&dc, text, r, gfx::DT_SINGLELINE | gfx::DT_CALCRECT);
  EXPECT_EQ(r.Width(), acGetTextExtent(&dc, text.substr(0, 5460), nullptr).cx);
  EXPECT_LT(r.Width(), acGetTextExtent(nullptr, text, f.Handle()).cx);
}

TEST(Measuring, StringSizesAndFontHeights) {
  fw::TFont f;  // Tahoma at 11 pixels: a 13-pixel cell
  EXPECT_EQ(GetFontHeight(f.Handle(), false), 13 + 6);
  EXPECT_LE(GetFontHeight(f.Handle(), true), 11);
  EXPECT_GT(GetFontHeight(f.Handle(), true), 0);
  EXPECT_EQ(GetFontHeight(nullptr, false), 0);
  const std::u16string text = u"one two three four five six";
  TSize line = GetStringSize(f.Handle(), text, 0, 0, false);
  EXPECT_EQ(line.cy, 13);
  EXPECT_GT(line.cx, 100);
  TSize wrapped = GetStringSize(f.Handle(), text, gfx::DT_WORDBREAK, line.cx / 2, true);
  EXPECT_LE(wrapped.cx, line.cx / 2);
  EXPECT_GE(wrapped.cy, 2 * 13);
  Surface s(-11);
  EXPECT_EQ(acTextWidth(s.canvas, text), line.cx);
  EXPECT_EQ(acTextHeight(s.canvas, text), 13);
  TRect r = acTextRect(s.canvas, {5, 5, 5 + line.cx / 2, 5}, text, gfx::DT_WORDBREAK);
  EXPECT_EQ(r.Left, 5);
  EXPECT_EQ(r.Height(), wrapped.cy);
}

TEST(Scale, ArrowMetricsFollowTheScale) {
  acScaleArrowMetrics(150, 100);
  EXPECT_EQ(skin::paint::acArrowSize, 8);  // 7.5 rounded away from zero
  EXPECT_EQ(skin::paint::acLineWidth, 3);
  EXPECT_EQ(skin::paint::ac_ArrowWidth, 11);
  EXPECT_EQ(skin::paint::ac_ArrowHeight, 6);
  acScaleArrowMetrics(100, 150);
  EXPECT_EQ(skin::paint::acArrowSize, 5);
  EXPECT_EQ(skin::paint::acLineWidth, 2);
  EXPECT_EQ(skin::paint::ac_ArrowWidth, 7);
  EXPECT_EQ(skin::paint::ac_ArrowHeight, 4);
}

TEST(Scale, UpdateColorAppliesToneHueAndSaturationInTurn) {
  EXPECT_EQ(UpdateColor(0x336699, {}), 0x336699);
  // Tone by the largest channel (0x99): 0x0000FF * 0x99 >> 8 on each channel.
  EXPECT_EQ(UpdateColor(0x336699, {0x0000FF, 0, 0}), 0x000098);
  // Tone, then hue, then saturation (a percentage of 256).
  EXPECT_EQ(UpdateColor(0x336699, {0x0000FF, 120, 50}),
            skin::paint::ChangeSaturation(skin::paint::ChangeHue(120, TColor(0x000098)), 128));
  EXPECT_NE(UpdateColor(0x336699, {0x0000FF, 120, 50}), UpdateColor(0x336699, {0x0000FF, 0, 50}));
}

}  // namespace
}  // namespace skin::draw
