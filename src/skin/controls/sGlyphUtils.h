// The glyph an edit-like control shows before its text (TacAddedGlyph): an image of an image
// list with its blend, grey look and tone, or of the standard glyph list when its own list
// does not hold the index. The owner hears of every change: its skin data is invalidated, and
// a change of images or index re-lays its frame (the glyph takes room there).
//
// The standard glyph lists, built on first use and kept for the program's life:
// - acResImages: the library's five pictures (strips of two 16 x 16 frames, normal and hot),
//   in this order: "SF" file, "SR" reset, "SD" directory, "SE" ellipsis, "SC" calendar.
// - acCharImages: 14 x 16 characters of the icon font, indexed by TacCharGlyph.
// acResImgList gives the first while ac_OldGlyphsMode is on, else the second.
#pragma once

#include <functional>

#include "framework/ImageList.h"
#include "platform/gfx/Bitmap.h"
#include "skin/controls/acAlphaImageList.h"
#include "skin/paint/sGraphUtils.h"

namespace skin::controls {

// Indexes of acResImages.
enum TacResGlyph { rgFile, rgReset, rgDirectory, rgEllipsis, rgCalendar, rgResGlyphCount };
// Indexes of acCharImages: 21 characters of the icon font, then the four caption-button
// characters. Menus ask for the radio mark (5), check mark (6), move (7) and the caption
// buttons (21 to 24) by number.
enum TacCharGlyph {
  cgDown,
  cgUp,
  cgLeft,
  cgRight,
  cgEllipsis,
  cgRadio,
  cgCheck,
  cgMove,
  cgFolder,
  cgFile,
  cgCalendar,
  cgCalculator,
  cgSearch,
  cgReset,
  cgPlus,
  cgMinus,
  cgRefresh,
  cgCaretDown,
  cgCaretRight,
  cgHelp,
  cgEye,
  cgMinimize,
  cgMaximize,
  cgRestore,
  cgClose,
  cgCharGlyphCount
};

TsAlphaImageList& acResImages();
TsCharImageList& acCharImages();
// The standard glyph list of the glyph mode in force (ac_OldGlyphsMode).
TacImageList& acResImgList();

// Whether list holds an image at index (its items, for the library's own lists).
bool ListHolds(const fw::TImageList& list, int index);

class TacAddedGlyph {
 public:
  // changed runs after every change, the list's own included; relayout tells whether the
  // glyph's room may differ. owner is told when the list is freed and passes it to Removed.
  TacAddedGlyph(fw::TComponent& owner, std::function<void(bool relayout)> changed)
      : FChanged(std::move(changed)), FImages(owner, [this] { Changed(false); }) {}

  fw::TImageList* Images() const { return FImages.List(); }
  void SetImages(fw::TImageList* value);
  // For the owner's Notification: drops a list being freed (the glyph may fall back to the
  // standard list); true when it was the glyph's.
  bool Removed(fw::TComponent* component, fw::TOperation operation);
  int ImageIndex() const { return FImageIndex; }  // -1: none
  void SetImageIndex(int value);
  int Blend() const { return FBlend; }  // percent of the background showing through, 0..100
  void SetBlend(int value);
  bool Grayed() const { return FGrayed; }
  void SetGrayed(bool value);
  skin::paint::TColor ColorTone() const { return FColorTone; }  // clNone: none
  void SetColorTone(skin::paint::TColor value);

  // The list the glyph is drawn from: Images when it holds the index, else the standard glyph
  // list when that does; null when neither does.
  fw::TImageList* Source() const;
  bool Visible() const { return Source() != nullptr; }
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
  fw::TImageListLink FImages;
  int FImageIndex = -1;
  int FBlend = 0;
  bool FGrayed = false;
  skin::paint::TColor FColorTone = skin::paint::clNone;
};

}  // namespace skin::controls
