// The system's own pictures (LoadBitmap without a module), drawn in the standard colours at 96
// dots per inch.
#pragma once

#include "platform/gfx/Bitmap.h"
#include "platform/win/Types.h"

namespace win {

// The classic check boxes and radio buttons, 13 x 13 each: four across (unchecked, checked,
// unchecked pressed, checked pressed) and three down (check box, radio button, three-state
// box), 52 x 39 in all.
constexpr int OBM_CHECKBOXES = 32759;

// A picture; the caller frees it with DeleteObject.
using HBITMAP = gfx::Bitmap*;
struct BITMAP {
  int bmWidth = 0;
  int bmHeight = 0;
};

// System picture id (instance null: there are no modules with pictures of their own); null for
// an unknown id or a module.
HBITMAP LoadBitmap(HANDLE instance, int id);
// The picture's size; false for null.
bool GetObject(HBITMAP bitmap, BITMAP* info);
// Frees a picture LoadBitmap gave; false for null.
bool DeleteObject(HBITMAP bitmap);

}  // namespace win
