// The glyph an edit-like control shows before its text (TacAddedGlyph): an image of an image
// list with its blend, grey look and tone. The owner hears of every change: its skin data is
// invalidated, and a change of images or index re-lays its frame (the glyph takes room there).
#pragma once

#include <functional>

#include "framework/ImageList.h"
#include "platform/gfx/Bitmap.h"
#include "skin/paint/sGraphUtils.h"

namespace skin::controls {

class TacAddedGlyph {
 public:
  // changed runs after every change; relayout tells whether the glyph's room may differ.
  explicit TacAddedGlyph(std::function<void(bool relayout)> changed)
      : FChanged(std::move(changed)) {}

  fw::TImageList* Images() const { return FImages; }
  void SetImages(fw::TImageList* value);
  int ImageIndex() const { return FImageIndex; }  // -1: none
  void SetImageIndex(int value);
  int Blend() const { return FBlend; }  // percent of the background showing through, 0..100
  void SetBlend(int value);
  bool Grayed() const { return FGrayed; }
  void SetGrayed(bool value);
  skin::paint::TColor ColorTone() const { return FColorTone; }  // clNone: none
  void SetColorTone(skin::paint::TColor value);

  // The list holds the index.
  bool Visible() const;
  // One image: the list's width over its image count (width / height when the width is a
  // multiple of the height, else 1) and the list's height; 0 x 0 when not visible.
  gfx::TSize Size() const;
  // Draws the image centred in r of bmp; disabled adds blending. Nothing when not visible.
  void Draw(gfx::Bitmap& bmp, const gfx::TRect& r, bool enabled, bool grayed) const;

 private:
  void Changed(bool relayout) const {
    if (FChanged) FChanged(relayout);
  }

  std::function<void(bool)> FChanged;
  fw::TImageList* FImages = nullptr;
  int FImageIndex = -1;
  int FBlend = 0;
  bool FGrayed = false;
  skin::paint::TColor FColorTone = skin::paint::clNone;
};

}  // namespace skin::controls
