// Pens: the style, width and colour lines are drawn with, made by CreatePen and selected into a
// device context. Lines here are one pixel wide and solid; a pen of style PS_NULL draws no
// outline.
//
// CreatePen can be replaced for the whole process (SetCreatePenProc), as a patched import of
// the platform's function would be: a skin may answer system colours used as pen colours with
// its own. Any thread may make pens while another replaces the function.
#pragma once

#include <cstddef>

#include "platform/gfx/Color.h"
#include "platform/gfx/DeviceContext.h"

namespace gfx {

// Pen styles, with the platform's values.
constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_DOT = 2;
constexpr int PS_NULL = 5;

struct Pen {
  int style = PS_SOLID;
  int width = 1;
  COLORREF color = 0;
};
using HPEN = const Pen*;

// A new pen; the caller frees it with DeletePen. Goes through the replacement when one is set.
HPEN CreatePen(int style, int width, COLORREF color);
// The platform's own CreatePen, whatever replacement is in force (what a replacement passes
// the requests it does not answer to).
HPEN DefCreatePen(int style, int width, COLORREF color);
// False for a pen that is not (or no longer) made by CreatePen.
bool DeletePen(HPEN pen);
// Pens made and not yet freed.
std::size_t PenCount();
// Draws the DC's lines and outlines with the pen from now on (the DC keeps its colour, so the
// pen may be freed afterwards); false for a null pen or DC.
bool SelectPen(HDC dc, HPEN pen);

using TCreatePenProc = HPEN (*)(int style, int width, COLORREF color);
// Replaces CreatePen for the whole process; null gives the platform's own back. Returns the
// replacement in force before (null for the platform's own).
TCreatePenProc SetCreatePenProc(TCreatePenProc proc);

}  // namespace gfx
