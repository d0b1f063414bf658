// Resampling of 32-bit bitmaps: the separable filter resampler, nearest-neighbour stretching
// and the stretched copies of masked skin images.
#pragma once

#include "skin/paint/sAlphaGraph.h"

namespace skin::paint {

// Resampling filters.
enum TFilterType { ftBox, ftTriangle, ftHermite, ftBell, ftSpline, ftLanczos3, ftMitchell };

// dst becomes src resampled to width x height (all four bytes, two passes with 16.16 weights).
// Nothing when a side of src or the target is 1 or less; equal sizes copy.
void Stretch(const Bitmap& src, Bitmap& dst, int width, int height, TFilterType filter);
// Nearest-neighbour copy of src's area (sx, sy, sw, sh) onto dst's (dx, dy, dw, dh), clipped.
void StretchCopy(Bitmap& dst, int dx, int dy, int dw, int dh, const Bitmap& src, int sx, int sy,
                 int sw, int sh);

// How a stretched masked image is combined with the destination.
enum class TMaskBlend { PerChannel, Mask32, Mask32Ex };

// Stretches a picture part (and its mask maskOffset rows below) onto dst; see the
// implementation for the rules. Mask32/Mask32Ex blend as CopyByMask32/CopyByMask32Ex
// (opacity for the latter).
void StretchBltMask(int dstX, int dstY, int dstWidth, int dstHeight, int srcX, int srcY,
                    int srcWidth, int srcHeight, Bitmap& dst, const Bitmap& src, int maskOffset,
                    bool noStdStretch, TMaskBlend blend = TMaskBlend::PerChannel,
                    int opacity = 255);

}  // namespace skin::paint
