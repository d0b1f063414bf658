// Pixel operations on 32-bit skin bitmaps: pixel records, creation, the alpha channel,
// compositing and keyed copies, and the copies through a skin image's mask.
//
// Formulas are integer with byte weights and ">> 8" exactly as each comment states; d is the
// destination pixel, s the source, m the mask, "c" any of B, G, R. Rectangles have exclusive
// Right and Bottom unless a comment says "inclusive". Every operation clips what it is given to
// the bitmaps it reads and writes: nothing outside a bitmap is ever touched.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/Geometry.h"
#include "platform/gfx/Icon.h"
#include "skin/paint/sColors.h"
#include "skin/paint/sMaskData.h"

namespace skin::paint {

using gfx::Bitmap;
using gfx::Bitmap8;
using gfx::IntersectRects;
using gfx::RectOfSize;
using gfx::TPoint;
using gfx::TRect;
using gfx::TSize;

// One 32-bit word in colour order (TColor): bytes R, G, B, A.
struct TsColor {
  std::uint8_t R = 0, G = 0, B = 0, A = 0;
  constexpr std::uint32_t C() const {
    return std::uint32_t(R) | std::uint32_t(G) << 8 | std::uint32_t(B) << 16 |
           std::uint32_t(A) << 24;
  }
  static constexpr TsColor Of(std::uint32_t c) {
    return {std::uint8_t(c), std::uint8_t(c >> 8), std::uint8_t(c >> 16), std::uint8_t(c >> 24)};
  }
  friend constexpr bool operator==(const TsColor&, const TsColor&) = default;
};

// One 32-bit word in pixel order (a gfx::Pixel): bytes B, G, R, A.
struct TsColor_ {
  std::uint8_t B = 0, G = 0, R = 0, A = 0;
  constexpr std::uint32_t C() const {
    return std::uint32_t(B) | std::uint32_t(G) << 8 | std::uint32_t(R) << 16 |
           std::uint32_t(A) << 24;
  }
  static constexpr TsColor_ Of(std::uint32_t c) {
    return {std::uint8_t(c), std::uint8_t(c >> 8), std::uint8_t(c >> 16), std::uint8_t(c >> 24)};
  }
  friend constexpr bool operator==(const TsColor_&, const TsColor_&) = default;
};

// Premultiplication clamp used without desktop composition.
constexpr int bLimit = 244;
// Alpha at or below which a glyph pixel counts as transparent.
constexpr int bTranspLimit = 16;
// The transparent key as a pixel word (alpha 0).
constexpr std::uint32_t kTransKey = 0x00FF00FF;
// The empty-pixel marker (white, alpha 0) that premultiplication turns into 0.
constexpr std::uint32_t kEmptyPixel = 0x00FFFFFF;

// What lies behind a control: a parent's cache bitmap at an offset, or a fill colour.
struct TCacheInfo {
  const Bitmap* Bmp = nullptr;  // parent's cache; borrowed
  int X = 0;                    // offset of the control in Bmp
  int Y = 0;
  TColor FillColor = clFuchsia;  // used when not Ready; clFuchsia: the parent is unknown
  TRect FillRect;                // area of the parent that FillColor stands for
  bool Ready = false;            // Bmp holds the parent's finished background
};

// Exchanges bytes 0 and 2 (TColor order <-> pixel order), keeps bytes 1 and 3.
constexpr std::uint32_t SwapRedBlue(std::uint32_t c) {
  return (c & 0xFF00FF00) | (c & 0xFF) << 16 | (c >> 16 & 0xFF);
}
// Reverses the byte order of one value / of every value in place (big-endian file fields).
constexpr std::uint32_t SwapLong(std::uint32_t v) {
  return __builtin_bswap32(v);
}
void SwapLong(std::span<std::uint32_t> values);
// Stores value count times from x.
void FillLongword(std::uint32_t* x, std::size_t count, std::uint32_t value);

// False for a bitmap without rows; else the address of row 0 and the distance to row 1 (0 for
// one row).
bool InitLine(Bitmap& bmp, std::uint8_t*& line0, std::ptrdiff_t& delta);
// One pixel word; 0 outside the bitmap.
std::uint32_t GetAPixel(const Bitmap& bmp, int x, int y);
// Stores the word unchanged; nothing outside the bitmap.
void SetAPixel(Bitmap& bmp, int x, int y, std::uint32_t value);

// New zero-filled 32-bit bitmaps of the given size.
std::unique_ptr<Bitmap> CreateBmp32(int width, int height);
std::unique_ptr<Bitmap> CreateBmp32(const TRect& r);
std::unique_ptr<Bitmap> CreateBmp32(TSize size);
// New bitmap of bmp's size.
std::unique_ptr<Bitmap> CreateBmpLike(const Bitmap& bmp);
// dst becomes a copy of src (size and pixels).
void CopyBmp(Bitmap& dst, const Bitmap& src);
// The picture of a picture-over-mask area with alpha = 255 - mask red; null when the half
// height or the width is 0, or srcRect does not lie inside src.
std::unique_ptr<Bitmap> CreateAlphaBmp(const Bitmap& src, const TRect& srcRect);
// The reverse: W x 2H, the picture above, a grey mask (255 - alpha, opaque) below; null when
// src is empty.
std::unique_ptr<Bitmap> CreateMaskFromAlpha(const Bitmap& src);

// A new icon of img (copied): the colour picture with an 8-bit mask of 255 - alpha per pixel;
// null for an empty bitmap. The caller frees it with gfx::DestroyIcon.
gfx::HICON MakeIcon32(const Bitmap& img);
// The same with an all-zero mask, for drawing that relies on the alpha channel alone.
gfx::HICON MakeCompIcon(const Bitmap& img);

// Whether desktop composition is on (process-wide, default true); premultiplication clamps
// near-white pixels when it is off. Tests switch it.
bool CompositionEnabled();
void SetCompositionEnabled(bool enabled);

// Premultiplies for layered output, over the bitmap or r clipped to it: 0x00FFFFFF becomes 0,
// else c = c * A >> 8; without composition a pixel with B, G, R all above bLimit gets
// c = min(bLimit, c * A >> 8). Alpha kept.
void UpdateAlpha(Bitmap& img);
void UpdateAlpha(Bitmap& img, const TRect& r);
// Every 0x00FFFFFF pixel becomes 0.
void UpdateTransPixels(Bitmap& bmp);
// For bitmaps without an alpha channel: when every alpha is 0, pixels other than the
// bottom-left one's word become opaque.
void CheckEmptyAChannel(Bitmap& bmp);
// A = value inside r (clipped), skipping pixels whose word equals transparentColor unless it
// is clNone.
void FillAlphaRect(Bitmap& bmp, const TRect& r, std::uint8_t value, TColor transparentColor);
// Byte channel (0..3) of each dst pixel from src at the same place (the common part).
void CopyChannel32(Bitmap& dst, const Bitmap& src, int channel);
// Between equal-sized 32-bit and 8-bit bitmaps: byte channel to the 8-bit one (from32To8) or
// back.
void CopyChannel(Bitmap& bmp32, Bitmap8& bmp8, int channel, bool from32To8);

// Straight-alpha source-over of src's srcRect at dstPoint: d.c = ((s.c - d.c) * s.A + d.c * 256)
// >> 8, d.A the same with s.A for s.c.
void PaintBmpRect32(Bitmap& dst, const Bitmap& src, const TRect& srcRect, TPoint dstPoint);
// All four bytes: d = (alphaValue * (d - s) + s * 256) >> 8; alphaValue (0..256) is the weight
// kept of the destination.
void SumBmpRect(Bitmap& dst, const Bitmap& src, int alphaValue, const TRect& srcRect,
                TPoint dstPoint);
// dst = mix of equal-sized src1 and src2 at the same places. Without a mask:
// d.c = s2.c - floor((percent * (s2.c - s1.c) + 255) / 256); with one (same size):
// d.c = ((s1.c - s2.c) * m.c + s2.c * 256) >> 8. Alpha kept.
void SumBitmapsByMask(Bitmap& dst, const Bitmap& src1, const Bitmap& src2, const Bitmap* mask,
                      int percent);
// Pixels of src's area r (inclusive Right and Bottom) other than transColor go to (x, y):
// all four bytes ((255 - blend) * s + blend * d) >> 8.
void BlendTransRectangle(Bitmap& dst, int x, int y, const Bitmap& src, const TRect& r, int blend,
                         std::uint32_t transColor);
// Pixels other than 0x00FF00FF: c = (c * blend + color.c * (255 - blend)) >> 8.
void BlendTransBitmap(Bitmap& bmp, int blend, TsColor color);
// Equal sizes: c = ((c - blendColor.c) * m.c + blendColor.c * 256) >> 8.
void BlendBmpByMask(Bitmap& bmp, const Bitmap& mask, TsColor_ blendColor);
// The mask laid at topLeft (negative coordinates become 0). With bgColor:
// w = 255 - (m.R + m.G + m.B) / 3, d.c = ((color.c - bg.c) * w + bg.c * 256) >> 8. With clNone:
// w = m.A, d.c = ((color.c - d.c) * w + d.c * 256) >> 8. Alpha kept.
void ColorizeByMask(Bitmap& dst, const Bitmap& mask, TPoint topLeft, TColor color, TColor bgColor);
// src to (x, y) skipping pixels equal to transColor (colour order); copied pixels get A = 255.
void CopyTransBitmaps(Bitmap& dst, const Bitmap& src, int x, int y, TsColor transColor);
// Keyed copy of src's srcRect (inclusive Right and Bottom) to (x, y), transparent pixels being
// those equal to transColor: (1) with updateTrans and a ready ci with a bitmap: into ci.Bmp
// itself opaque pixels are copied with A = 255, elsewhere transparent pixels take the parent
// pixel; (2) else with a ready ci: opaque pixels copied; (3) else transparent pixels take
// ci.FillColor with the alpha of the destination's pixel (0, 0).
void CopyTransRect(Bitmap& dst, const Bitmap& src, int x, int y, const TRect& srcRect,
                   std::uint32_t transColor, const TCacheInfo& ci, bool updateTrans);
// Keyed copy (inclusive Right and Bottom): pixels other than transColor copied unchanged.
void CopyTransRectA(Bitmap& dst, const Bitmap& src, int x, int y, const TRect& srcRect,
                    std::uint32_t transColor);
// Source-over of src's area r2 onto dst at r1, skipping 0x00FF00FF (with updateTrans and a
// ready ci those take the parent pixel with A = 255): d.c as PaintBmpRect32 and, when s.A != 0,
// d.A += (255 - d.A) * s.A >> 8.
void CopyByMask(const TRect& r1, const TRect& r2, Bitmap& dst, const Bitmap& src,
                const TCacheInfo& ci, bool updateTrans);

// Copies through a skin image's mask. The copied size is the smaller of r1 and r2, limited by
// both bitmaps (the mask rows as well); negative starts move to 0 on both sides together.

// Picture with per-channel mask below it: d.c = ((d.c - s.c) * m.c + s.c * 256) >> 8;
// 0x00FF00FF pictures are transparent (see the implementation notes).
void CopyByMask(const TRect& r1, const TRect& r2, Bitmap& dst, const Bitmap& src,
                const TCacheInfo& ci, bool updateTrans, const TsMaskData& md);
// One mask value per pixel (w = mask red): d.c = (d.c * w + s.c * (255 - w)) >> 8; alpha 0
// becomes 255 - w, partial alpha max(A, 255 - w).
void CopyByMask32(const TRect& r1, const TRect& r2, Bitmap& dst, const Bitmap& src,
                  const TCacheInfo& ci, const TsMaskData& md);
// As CopyByMask32 with the picture weight w = opacity * (255 - mask red) >> 8.
void CopyByMask32Ex(const TRect& r1, const TRect& r2, Bitmap& dst, const Bitmap& src,
                    const TCacheInfo& ci, const TsMaskData& md, int opacity);
// A glyph over md.MaskType mask bands blended into dst; addedTransparency other than 1
// lightens it.
void BlendGlyphByMask(const TRect& r1, const TRect& r2, Bitmap& dst, const Bitmap& src,
                      int addedTransparency, const TsMaskData& md);
// Draws the 32-bit glyph src's r2 onto dst at r1 with optional added transparency (blend, a
// percentage), grey tint (grayedColor, clNone for none) and a fading reflection below.
void CopyBmp32(const TRect& r1, const TRect& r2, Bitmap& dst, const Bitmap& src,
               const TCacheInfo& ci, bool updateTrans, TColor grayedColor, int blend,
               bool reflected);
// Picture-over-mask area of md.Bmp onto dst with the per-channel mask; the caller hands the
// master bitmap over in md.Bmp for items that lie in it.
void CopyMasterRect(const TRect& r1, const TRect& r2, Bitmap& dst, const TCacheInfo& ci,
                    const TsMaskData& md);

// Text into 32-bit bitmaps that keep a correct alpha channel (the target of layered output).

// font's text in color (an RGB value) into bmp at lRect, clipped to bmp; flags are those of
// DrawTextW. The text is rendered black on white and each inked pixel with L =
// max(1, Round(0.299 R + 0.587 G + 0.114 B)) of that rendering gives, when enabled, a =
// max(d.A, 255 - L) and d.c = ((d.c - color.c) * L + color.c * 256) * a / 65536 (premultiplied);
// when not enabled, per channel t.c of the rendering, d.c = ((d.c - color.c) * t.c + color.c *
// 256) >> 8 and d.A = 255.
void WriteColor(Bitmap& bmp, const gfx::HFONT& font, std::u16string_view text, bool enabled,
                const TRect& lRect, unsigned flags, TColor color);

// The blurred mask of a glow, kept by the caller between paints. It is made again whenever
// the text, font, flags, sides, blur or the part of it that can show change.
struct TacGlowMask {
  Bitmap8 Bmp;
  std::u16string Text;
  gfx::HFONT Font;
  unsigned Flags = 0;
  int Side = 0;
  int BlurSize = 0;
  TRect Area;  // the part made, relative to the text's rectangle
};
// Glow of color behind font's text laid out in aRect: the text (at aRect moved by (1, 1), and
// once more moved by (-1, 0), (0, -1), (+1, 0), (0, +1) for the bits 1, 2, 4, 8 of side)
// blurred by blurSize over that rectangle inflated by blurSize + 4. Each mask value m < 255
// gives w = 255 - m, d.A += (255 - d.A) * w >> 8, d.c = (w * color.c + m * d.c) >> 8. Only
// pixels inside clip change (an empty clip: anywhere in dst).
void acDrawGlowForText(Bitmap& dst, const gfx::HFONT& font, std::u16string_view text,
                       const TRect& aRect, unsigned flags, int side, int blurSize, TColor color,
                       TacGlowMask& mask, const TRect& clip = {});

}  // namespace skin::paint
