#include "skin/draw/sSkinText.h"

#include <algorithm>

#include "framework/Colors.h"
#include "platform/win/MulDiv.h"
#include "skin/paint/sGraphUtils.h"

namespace skin::draw {

namespace {

using skin::data::kNoColor;
using skin::data::TsGenState;

// A one-pixel context for measuring, with font selected.
struct TMeasureDC {
  gfx::Bitmap bmp{1, 1};
  gfx::DeviceContext dc{bmp};
  explicit TMeasureDC(const gfx::HFONT& font) {
    if (font) gfx::SelectFont(&dc, font);
  }
};

// The state record of section skinIndex for state, or null for an invalid section.
const TsGenState* StateProps(const TacSkinModel* model, int skinIndex, int state) {
  if (!model || !model->IsValidSkinIndex(skinIndex)) return nullptr;
  const auto& gd = model->gd[std::size_t(skinIndex)];
  int last = std::clamp(gd.States - 1, 0, int(gd.Props.size()) - 1);
  return &gd.Props[std::size_t(std::clamp(state, 0, last))];
}

// Offsets of the contour colours Left, Top, Right, Bottom.
constexpr gfx::TPoint kContourShift[4] = {{-1, 0}, {0, -1}, {1, 0}, {0, 1}};

// A skin or font colour as the RGB value it paints with (system colours looked up).
TColor RGBOf(TColor c) {
  return TColor(fw::ColorToRGB(c));
}

std::array<TColor, 4> Contours(const TsGenState& p) {
  return {p.FontColor.Left, p.FontColor.Top, p.FontColor.Right, p.FontColor.Bottom};
}

}  // namespace

void acScaleArrowMetrics(int newScale, int oldScale) {
  using skin::paint::acArrowSize, skin::paint::acLineWidth, skin::paint::ac_ArrowWidth,
      skin::paint::ac_ArrowHeight;
  acArrowSize = win::MulDiv(5, newScale, 100);
  if (oldScale != 0) acLineWidth = win::MulDiv(acLineWidth, newScale, oldScale);
  ac_ArrowWidth = win::MulDiv(7, newScale, 100);
  ac_ArrowHeight = ac_ArrowWidth / 2 + ac_ArrowWidth % 2;
}

TColor UpdateColor(TColor color, const TacColorAdjust& adjust) {
  using namespace skin::paint;
  if (adjust.ColorTone != clNone) {
    TsColor_ p = TsColor_::Of(SwapRedBlue(std::uint32_t(color)));
    color = TColor(SwapRedBlue(ChangeColorTone(p, adjust.ColorTone).C()));
  }
  color = ChangeHue(adjust.HueOffset, color);
  return ChangeSaturation(color, adjust.Saturation * 256 / 100);
}

int acWriteText(fw::TCanvas& canvas, std::u16string_view text, unsigned flags, TRect& r) {
  return canvas.TextRect(r, text, flags);
}

int acDrawText(gfx::HDC dc, std::u16string_view text, TRect& r, unsigned flags) {
  return gfx::DrawTextW(dc, text.substr(0, acMaxDrawTextChars), &r, flags);
}

namespace {

// Draws text on a clear brush in each colour at its offset, keeping the canvas's colour and
// brush style.
class TTextLayers {
 public:
  TTextLayers(fw::TCanvas& canvas, std::u16string_view text, const TRect& r, unsigned flags)
      : FCanvas(canvas),
        FText(text),
        FRect(r),
        FFlags(flags),
        FColor(canvas.Font.Color()),
        FBrush(canvas.BrushStyle) {
    canvas.BrushStyle = fw::TBrushStyle::bsClear;
  }
  ~TTextLayers() {
    FCanvas.Font.SetColor(FColor);
    FCanvas.BrushStyle = FBrush;
  }
  TTextLayers(const TTextLayers&) = delete;
  TTextLayers& operator=(const TTextLayers&) = delete;

  TColor CanvasColor() const { return FColor; }
  void Draw(TColor color, gfx::TPoint shift = {}) {
    FCanvas.Font.SetColor(color);
    TRect at = FRect.Offset(shift.X, shift.Y);
    FCanvas.TextRect(at, FText, FFlags);
  }
  // The contour colours of p other than -1, each through adjust when given.
  void DrawContours(const TsGenState& p, const TacColorAdjust* adjust) {
    auto contours = Contours(p);
    for (int i = 0; i < 4; ++i)
      if (contours[i] != kNoColor)
        Draw(adjust ? UpdateColor(RGBOf(contours[i]), *adjust) : contours[i], kContourShift[i]);
  }

 private:
  fw::TCanvas& FCanvas;
  std::u16string_view FText;
  TRect FRect;
  unsigned FFlags;
  TColor FColor;
  fw::TBrushStyle FBrush;
};

}  // namespace

void WriteTextEx(fw::TCanvas& canvas, std::u16string_view text, bool enabled, const TRect& r,
                 unsigned flags, int skinIndex, int hot, const TacSkinModel* model) {
  if (text.empty()) return;
  TTextLayers layers(canvas, text, r, flags);
  if (enabled) {
    if (const TsGenState* p = StateProps(model, skinIndex, hot)) {
      layers.DrawContours(*p, nullptr);
      layers.Draw(p->FontColor.Color);
    } else {
      layers.Draw(layers.CanvasColor());
    }
  } else if (const TsGenState* p = StateProps(model, skinIndex, 0)) {
    layers.Draw(skin::paint::BlendColors(RGBOf(p->FontColor.Color), RGBOf(p->Color),
                                         skin::paint::DefBlendDisabled));
  } else {
    layers.Draw(fw::clGrayText);
  }
}

void WriteSectionText(fw::TCanvas& canvas, std::u16string_view text, bool enabled, const TRect& r,
                      unsigned flags, const TacSkinModel& model, int fontSection, int state,
                      const TacColorAdjust& adjust, bool canGlow, gfx::Bitmap* cache,
                      skin::paint::TacGlowMask& glowMask) {
  const TsGenState* p = StateProps(&model, fontSection, std::min(state, 2));
  if (text.empty() || !p) return;
  if (canGlow && cache && p->GlowSize > 0)
    skin::paint::acDrawGlowForText(*cache, canvas.Font.Handle(), text, r, flags, 15, p->GlowSize,
                                   UpdateColor(RGBOf(p->GlowColor), adjust), glowMask, r);
  TTextLayers layers(canvas, text, r, flags);
  if (!enabled) {
    layers.Draw(UpdateColor(RGBOf(p->FontColor.Color), adjust));
    return;
  }
  layers.DrawContours(*p, &adjust);
  layers.Draw(p->FontColor.Color);
}

void WriteText32(gfx::Bitmap& bmp, const fw::TFont& font, std::u16string_view text, bool enabled,
                 const TRect& r, unsigned flags, int skinIndex, int state,
                 const TacSkinModel* model) {
  if (text.empty() || r.IsEmpty()) return;
  const gfx::HFONT handle = font.Handle();
  const TsGenState* p = StateProps(model, skinIndex, state);
  if (!p) {
    skin::paint::WriteColor(bmp, handle, text, enabled, r, flags, RGBOf(font.Color()));
    return;
  }
  if (enabled) {
    auto contours = Contours(*p);
    for (int i = 0; i < 4; ++i)
      if (contours[i] != kNoColor)
        skin::paint::WriteColor(bmp, handle, text, true,
                                r.Offset(kContourShift[i].X, kContourShift[i].Y), flags,
                                RGBOf(contours[i]));
  }
  skin::paint::WriteColor(bmp, handle, text, enabled, r, flags, RGBOf(p->FontColor.Color));
}

std::u16string CutText(fw::TCanvas& canvas, std::u16string_view text, int maxLength) {
  if (maxLength < 1) return {};
  if (canvas.TextWidth(text) <= maxLength) return std::u16string(text);
  std::u16string s(text);
  while (!s.empty()) {
    // A surrogate pair goes as one character.
    bool pair =
        s.size() >= 2 && (s.back() & 0xFC00) == 0xDC00 && (s[s.size() - 2] & 0xFC00) == 0xD800;
    s.resize(s.size() - (pair ? 2 : 1));
    if (s.empty()) break;
    if (canvas.TextWidth(s + u"...") <= maxLength) return s + u"...";
  }
  return {};
}

TSize acTextExtent(fw::TCanvas& canvas, std::u16string_view text) {
  return canvas.TextExtent(text);
}

int acTextWidth(fw::TCanvas& canvas, std::u16string_view text) {
  return canvas.TextExtent(text).cx;
}

int acTextHeight(fw::TCanvas& canvas, std::u16string_view text) {
  return canvas.TextExtent(text).cy;
}

TRect acTextRect(fw::TCanvas& canvas, const TRect& r, std::u16string_view text, unsigned flags) {
  TRect out = r;
  canvas.TextRect(out, text.substr(0, acMaxDrawTextChars), flags | gfx::DT_CALCRECT);
  return out;
}

TSize acGetTextExtent(gfx::HDC dc, std::u16string_view text, const gfx::HFONT& font) {
  TSize size;
  if (dc) {
    gfx::GetTextExtentPoint32W(dc, text, &size);
    return size;
  }
  TMeasureDC m(font);
  if (!gfx::GetTextExtentPoint32W(&m.dc, text, &size)) return {};
  return size;
}

TSize GetStringSize(const gfx::HFONT& font, std::u16string_view text, unsigned flags, int maxWidth,
                    bool wrapText) {
  TMeasureDC m(font);
  if (wrapText) {
    TRect r{0, 0, maxWidth, 0};
    gfx::DrawTextW(&m.dc, text.substr(0, acMaxDrawTextChars), &r, flags | gfx::DT_CALCRECT);
    return {r.Width(), r.Height()};
  }
  TSize size;
  if (!gfx::GetTextExtentPoint32W(&m.dc, text, &size)) return {};
  return size;
}

int GetFontHeight(const gfx::HFONT& font, bool noLeading) {
  if (!font) return 0;
  TMeasureDC m(font);
  gfx::TEXTMETRICW tm;
  if (!gfx::GetTextMetricsW(&m.dc, &tm)) return 0;
  return noLeading ? tm.tmHeight - tm.tmInternalLeading - tm.tmExternalLeading : tm.tmHeight + 6;
}

}  // namespace skin::draw
