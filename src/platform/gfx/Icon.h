// Icons: a colour bitmap with an AND mask, kept behind a handle, as the platform keeps them.
//
// HICON is an opaque number validated through the icon table on every call: a destroyed or
// made-up handle is simply unknown (the calls fail and change nothing). Handles are never
// reused within a process. An icon's bitmaps are copied in when it is made and never change,
// so copies of an icon and the bitmaps handed out by GetIconInfo share them safely.
//
// Mask values are bytes: 255 where the picture is transparent, 0 where it is opaque. Drawing
// with the classic AND mask counts a byte of 128 or more as a set bit; the bytes themselves
// are kept, so an alpha channel turned into a mask (255 - alpha) comes back whole.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/DeviceContext.h"

namespace gfx {

struct HICON__;
using HICON = HICON__*;  // an icon or cursor; null means none

// What an icon is made of (CreateIconIndirect) or holds (GetIconInfo).
struct ICONINFO {
  bool fIcon = true;  // icon (hot spot at the centre), or cursor
  int xHotspot = 0;   // cursor hot spot; icons report their centre
  int yHotspot = 0;
  std::shared_ptr<const Bitmap8> hbmMask;  // AND mask, the colour bitmap's size; required
  std::shared_ptr<const Bitmap> hbmColor;  // 32-bit colour picture; required
};

// DrawIconEx flags, with the platform's values.
constexpr unsigned DI_MASK = 0x0001;         // the mask alone, black (0) and white (set bits)
constexpr unsigned DI_IMAGE = 0x0002;        // the colour picture alone, copied unchanged
constexpr unsigned DI_NORMAL = 0x0003;       // the picture over the destination
constexpr unsigned DI_DEFAULTSIZE = 0x0008;  // the icon's own size even when cx, cy are given

// A new icon from copies of ii's bitmaps; null when either is missing or empty or their sizes
// differ. The caller frees it with DestroyIcon.
HICON CreateIconIndirect(const ICONINFO& ii);
// Fills ii with the icon's kind, hot spot and (shared, read-only) bitmaps; false for an
// unknown handle or a null ii.
bool GetIconInfo(HICON icon, ICONINFO* ii);
// A new handle to the same picture; null for an unknown handle.
HICON CopyIcon(HICON icon);
// Frees the handle; false for an unknown one (a second destroy included).
bool DestroyIcon(HICON icon);
// Draws the icon with its top-left corner at logical (x, y), scaled (nearest pixel) to cx x cy
// (0: the icon's own width or height). DI_NORMAL: a colour picture with any non-zero alpha is
// laid over the destination by its alpha, c = (s.c * a + d.c * (255 - a) + 127) / 255 for
// B, G, R and A = a + d.A * (255 - a) / 255 (rounded the same way); otherwise the classic
// way, d = (d AND mask) XOR colour, where a set mask bit stands for 0x00FFFFFF, so every pixel
// drawn gets alpha 0 as with other drawing calls. False for an unknown handle, a null dc or
// no DI_MASK/DI_IMAGE flag. Clipped to the target and the clip region.
bool DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy, unsigned flags);
// Number of live icons (for leak checks in tests).
std::size_t IconCount();

}  // namespace gfx
