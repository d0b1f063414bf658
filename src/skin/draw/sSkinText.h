// Skinned text output: a control's text in the font colours of its skin section (main colour,
// one-pixel contours, glow), text into 32-bit bitmaps with their alpha, shortening and
// measuring. These are the routines of the sGraphUtils and sAlphaGraph units that read the skin
// model or the framework's fonts; the bitmap-only parts (WriteColor, acDrawGlowForText, the
// arrows) are in skin/paint. Nothing here needs a window: measuring uses a private context.
#pragma once

#include <string>
#include <string_view>

#include "framework/Canvas.h"
#include "framework/Font.h"
#include "skin/data/acSkinModel.h"
#include "skin/paint/sAlphaGraph.h"

namespace skin::draw {

using gfx::TRect;
using gfx::TSize;
using skin::data::TacSkinModel;
using skin::paint::TColor;

// Most characters the platform's text drawing is given at once.
inline constexpr std::size_t acMaxDrawTextChars = 5460;

// Rescales the arrow sizes of skin::paint for a change of scale from oldScale to newScale
// percent: acArrowSize and ac_ArrowWidth from their 100-percent sizes, acLineWidth by the
// ratio, ac_ArrowHeight from ac_ArrowWidth. The skin manager calls it when its scale changes.
void acScaleArrowMetrics(int newScale, int oldScale);

// A control's colour adjustments, as its skin data keeps them.
struct TacColorAdjust {
  TColor ColorTone = skin::paint::clNone;  // clNone: no tone
  int HueOffset = 0;                       // degrees
  int Saturation = 0;                      // percent
};

// The adjustments applied to a colour (an RGB value): the tone, then the hue offset, then the
// saturation (as a weight out of 256).
TColor UpdateColor(TColor color, const TacColorAdjust& adjust);

// Plain text drawing in the canvas's font and colour; returns the height drawn.
int acWriteText(fw::TCanvas& canvas, std::u16string_view text, unsigned flags, TRect& r);
// The same on a device context, with at most acMaxDrawTextChars characters.
int acDrawText(gfx::HDC dc, std::u16string_view text, TRect& r, unsigned flags);

// Text of section skinIndex of model in state `hot` (limited to the section's states and to 2)
// on a transparent background. Enabled: every contour colour of the state other than -1 at
// (-1, 0), (0, -1), (+1, 0), (0, +1), then the text in place in the state's font colour.
// Disabled: once, in the normal state's font colour blended with its section colour by
// DefBlendDisabled (the grey-text system colour for an invalid section). An invalid section
// or no model draws in the canvas's own font colour. The canvas's font colour and brush
// style are kept.
void WriteTextEx(fw::TCanvas& canvas, std::u16string_view text, bool enabled, const TRect& r,
                 unsigned flags, int skinIndex, int hot, const TacSkinModel* model);
inline void acWriteTextEx(fw::TCanvas& canvas, std::u16string_view text, bool enabled,
                          const TRect& r, unsigned flags, int skinIndex, int hot,
                          const TacSkinModel* model) {
  WriteTextEx(canvas, text, enabled, r, flags, skinIndex, hot, model);
}

// A skinned control's text once its font section and state are known (the control resolves
// those from its skin data): with canGlow, a cache bitmap and a glow size in the state, the glow
// first, into cache within r (all sides, the state's glow size as blur, its glow colour
// adjusted; glowMask is the control's kept mask). Enabled: every contour colour other than -1
// adjusted and offset as in WriteTextEx, then the text in the state's font colour. Disabled:
// once, in the adjusted font colour. An invalid section draws nothing. The canvas's font
// colour and brush style are kept.
void WriteSectionText(fw::TCanvas& canvas, std::u16string_view text, bool enabled, const TRect& r,
                      unsigned flags, const TacSkinModel& model, int fontSection, int state,
                      const TacColorAdjust& adjust, bool canGlow, gfx::Bitmap* cache,
                      skin::paint::TacGlowMask& glowMask);

// Text into a 32-bit bitmap with its alpha (skin::paint::WriteColor): when enabled the contour
// colours of the state first, then the main font colour of the state (limited as above); for
// an invalid section or no model, font's own colour.
void WriteText32(gfx::Bitmap& bmp, const fw::TFont& font, std::u16string_view text, bool enabled,
                 const TRect& r, unsigned flags, int skinIndex, int state,
                 const TacSkinModel* model);

// text shortened to fit maxLength pixels in the canvas's font: unchanged when it fits, else
// the longest start of it followed by "..." that fits, else empty (also for maxLength < 1).
std::u16string CutText(fw::TCanvas& canvas, std::u16string_view text, int maxLength);

// Measuring in the canvas's font.
TSize acTextExtent(fw::TCanvas& canvas, std::u16string_view text);
int acTextWidth(fw::TCanvas& canvas, std::u16string_view text);
int acTextHeight(fw::TCanvas& canvas, std::u16string_view text);
// The rectangle text formatted with flags takes from r's top-left (r's width limits wrapped
// lines).
TRect acTextRect(fw::TCanvas& canvas, const TRect& r, std::u16string_view text, unsigned flags);
// Extent of text on dc, or in font on a private measuring context when dc is null.
TSize acGetTextExtent(gfx::HDC dc, std::u16string_view text, const gfx::HFONT& font);
// Size of text in font: with wrapText the formatted size in a maxWidth wide rectangle (flags
// plus DT_CALCRECT, at most acMaxDrawTextChars characters), else the extent of the whole line.
TSize GetStringSize(const gfx::HFONT& font, std::u16string_view text, unsigned flags, int maxWidth,
                    bool wrapText);
// The font's height without leadings (noLeading), else its cell height plus 6; 0 without a font.
int GetFontHeight(const gfx::HFONT& font, bool noLeading);
// Style, size, colour and name all equal.
inline bool FontsEqual(const fw::TFont& font1, const fw::TFont& font2) {
  return font1 == font2;
}

}  // namespace skin::draw
