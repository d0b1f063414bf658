// Gaussian blur of 8-bit bitmaps, and of 32-bit ones channel by channel.
#pragma once

#include "platform/gfx/Bitmap.h"

namespace skin::paint {

// Largest kernel half-width.
constexpr int MaxKernelSize = 16;

// Weights for offsets -16..16 (index offset + 16); only -Size..Size are used.
struct TKernel {
  int Size = 0;
  float Weights[2 * MaxKernelSize + 1] = {};
};

// A normalised Gaussian of the given radius, cut where the tail falls below
// dataGranularity / (2 * maxData). radius must be positive.
TKernel MakeGaussianKernel(double radius, int maxData, int dataGranularity);
// Blurs bmp in place, rows then columns; a radius of 0 or less leaves it unchanged.
void Blur8(gfx::Bitmap8& bmp, double radius);
// Blurs a 32-bit bitmap in place, each of its four channels as Blur8 blurs one; a radius of 0
// or less leaves it unchanged.
void Blur32(gfx::Bitmap& bmp, double radius);

}  // namespace skin::paint
