// Text of sAlphaGraph: coloured text with its alpha and the glow behind text.
#include <algorithm>
#include <cmath>

#include "platform/gfx/DeviceContext.h"
#include "skin/paint/sAlphaGraph.h"
#include "skin/paint/sBlur.h"
#include "skin/paint/sPixelAccess.h"

namespace skin::paint {

namespace {

// Glow blurs above this are taken as this (the blur kernel reaches no further anyway).
constexpr int kMaxGlowBlur = 64;
// How far outside a bitmap a mask pixel can still change a pixel inside it after the blur.
constexpr int kBlurReach = MaxKernelSize + 1;

// Draws text in black through a context on target, with r in target coordinates.
void DrawInk(Bitmap& target, const gfx::HFONT& font, std::u16string_view text, TRect r,
             unsigned flags) {
  gfx::DeviceContext dc(target);
  gfx::SelectFont(&dc, font);
  gfx::SetTextColor(&dc, gfx::RGB(0, 0, 0));
  gfx::SetBkMode(&dc, gfx::TRANSPARENT);
  gfx::DrawTextW(&dc, text, &r, flags & ~gfx::DT_CALCRECT);
}

TRect Inflate(const TRect& r, int d) {
  return {r.Left - d, r.Top - d, r.Right + d, r.Bottom + d};
}

}  // namespace

void WriteColor(Bitmap& bmp, const gfx::HFONT& font, std::u16string_view text, bool enabled,
                const TRect& lRect, unsigned flags, TColor color) {
  if (text.empty() || lRect.IsEmpty()) return;
  // Only the part of lRect inside bmp is rendered; the layout still follows lRect.
  TRect area = IntersectRects(lRect, bmp.Bounds());
  if (area.IsEmpty()) return;
  Bitmap ink(area.Width(), area.Height());
  ink.Fill(0xFFFFFFFF);
  DrawInk(ink, font, text, lRect.Offset(-area.Left, -area.Top), flags);
  const std::uint32_t k = SwapRedBlue(std::uint32_t(color));
  for (int y = 0; y < ink.Height(); ++y) {
    const std::uint32_t* t = ink.Row(y);
    std::uint32_t* d = bmp.Row(area.Top + y) + area.Left;
    for (int x = 0; x < ink.Width(); ++x) {
      if ((t[x] & 0x00FFFFFF) == 0x00FFFFFF) continue;
      std::uint32_t p = d[x], out = 0xFF000000;
      if (enabled) {
        int l = std::max(1, int(std::lrint(0.299 * Byte(t[x], 2) + 0.587 * Byte(t[x], 1) +
                                           0.114 * Byte(t[x], 0))));
        int a = std::max(int(Byte(p, 3)), 255 - l);
        out = std::uint32_t(a) << 24;
        for (int c = 0; c < 3; ++c) {
          int dc = int(Byte(p, c)), kc = int(Byte(k, c));
          out |= std::uint32_t(((dc - kc) * l + kc * 256) * a / 65536) << (8 * c);
        }
      } else {
        for (int c = 0; c < 3; ++c) {
          int dc = int(Byte(p, c)), kc = int(Byte(k, c)), tc = int(Byte(t[x], c));
          out |= std::uint32_t(((dc - kc) * tc + kc * 256) >> 8) << (8 * c);
        }
      }
      d[x] = out;
    }
  }
}

void acDrawGlowForText(Bitmap& dst, const gfx::HFONT& font, std::u16string_view text,
                       const TRect& aRect, unsigned flags, int side, int blurSize, TColor color,
                       TacGlowMask& mask, const TRect& clip) {
  if (text.empty() || aRect.IsEmpty() || dst.Empty()) return;
  const int blur = std::clamp(blurSize, 0, kMaxGlowBlur);
  const TRect textR = aRect.Offset(1, 1);
  // Only the part of the glow that can reach dst is made.
  const TRect glow = IntersectRects(Inflate(textR, blur + 4), Inflate(dst.Bounds(), kBlurReach));
  if (glow.IsEmpty()) return;
  const TRect area = glow.Offset(-textR.Left, -textR.Top);
  if (mask.Bmp.Empty() || mask.Area != area || mask.Text != text || mask.Font != font ||
      mask.Flags != flags || mask.Side != side || mask.BlurSize != blur) {
    Bitmap ink(glow.Width(), glow.Height());
    ink.Fill(0xFFFFFFFF);
    const TRect at = textR.Offset(-glow.Left, -glow.Top);
    DrawInk(ink, font, text, at, flags);
    const TPoint shifts[4] = {{-1, 0}, {0, -1}, {1, 0}, {0, 1}};
    for (int i = 0; i < 4; ++i)
      if (side & (1 << i)) DrawInk(ink, font, text, at.Offset(shifts[i].X, shifts[i].Y), flags);
    mask.Bmp = Bitmap8(glow.Width(), glow.Height());
    CopyChannel(ink, mask.Bmp, 1, true);
    Blur8(mask.Bmp, blur);
    mask.Text.assign(text);
    mask.Font = font;
    mask.Flags = flags;
    mask.Side = side;
    mask.BlurSize = blur;
    mask.Area = area;
  }
  const std::uint32_t k = SwapRedBlue(std::uint32_t(color));
  TRect vis = IntersectRects(glow, dst.Bounds());
  if (!clip.IsEmpty()) vis = IntersectRects(vis, clip);
  for (int y = vis.Top; y < vis.Bottom; ++y) {
    const std::uint8_t* m = mask.Bmp.Row(y - glow.Top);
    std::uint32_t* d = dst.Row(y);
    for (int x = vis.Left; x < vis.Right; ++x) {
      int mv = m[x - glow.Left];
      if (mv >= 255) continue;
      int w = 255 - mv, da = int(Byte(d[x], 3));
      std::uint32_t out = std::uint32_t(da + ((255 - da) * w >> 8)) << 24;
      for (int c = 0; c < 3; ++c)
        out |= std::uint32_t((w * int(Byte(k, c)) + mv * int(Byte(d[x], c))) >> 8) << (8 * c);
      d[x] = out;
    }
  }
}

}  // namespace skin::paint
