// The skinned picture control: a picture (bitmap, PNG, JPEG) or one image of an image list,
// scaled, centred, blended, greyed or mirrored over what its parent shows, with its skin
// section (CHECKBOX unless named) painted behind it. The whole picture is built again in the
// control's cache at every paint and copied to the target in one piece; the picture at its
// drawn size is kept from one paint to the next until it or the control changes.
#pragma once

#include "framework/Image.h"
#include "skin/controls/sSkinnedControl.h"

namespace skin::controls {

// TsImage's behaviour; TsImage is what window descriptions name. Its section (CHECKBOX unless
// its skin data names one) comes from its class code.
class TsCustomImage
    : public TsControl<fw::TImage, "TsImage", sc::COC_TsImage, FixedSection<sd::ssCheckBox>> {
 public:
  explicit TsCustomImage(fw::TComponent* owner);
  ~TsCustomImage() override;
  // Made in code rather than read from a description: its section is resolved now (the
  // creator calls it, as for every component).
  void AfterConstruction() override;

  // Blend of the picture with what lies behind it, in percent (0 opaque); 0.
  int Blend() const { return FBlend; }
  void SetBlend(int value);
  // Draw the picture in grey (a white tone); false.
  bool Grayed() const { return FGrayed; }
  void SetGrayed(bool value) { SetBoolean(2, value); }
  // A fading mirror image below the picture; false.
  bool Reflected() const { return FReflected; }
  void SetReflected(bool value) { SetBoolean(1, value); }
  // Keep room for the reflection inside the control (centring and auto-size count it); false.
  bool UseFullSize() const { return FUseFullSize; }
  void SetUseFullSize(bool value) { SetBoolean(0, value); }

  // A picture has no hot or pressed look: its section is painted in the normal state.
  int SkinState() const override { return 0; }
  // Nothing to show: the list does not hold ImageIndex and the picture is empty.
  bool Empty() const;
  // The size of what is shown (src: the list's image size when the list holds ImageIndex,
  // else the picture's) and the size it is drawn at (dst: src, an auto-sized Picture scaled as
  // the control is (PictureSize), unless Stretch; with Stretch the
  // control's width and height, two thirds of it when Reflected, and with Proportional the
  // largest size of src's exact ratio that fits, products rounded to nearest).
  void GetSrcSize(gfx::TSize& src, gfx::TSize& dst) const;
  // Where a picture of size b lies in the control: (0, 0), or centred when Center is on
  // (unless stretched without Proportional); UseFullSize keeps half its height below it.
  gfx::TPoint ImagePos(gfx::TSize b) const;
  // Rebuilds the cache for a paint into dc: what lies behind the control (the parent's
  // picture, or what dc shows there), the section over it, the picture over that. False when
  // the parent's picture is being rebuilt (the control waits for the parent's update to end).
  bool PrepareCache(gfx::HDC dc);

 protected:
  // The list's image size or the picture's, the height half as much again with room for the
  // reflection (UseFullSize and Reflected).
  bool CanAutoSize(int& newWidth, int& newHeight) override;
  // Every change of the picture, the list, its index or the drawing flags comes through here:
  // the kept picture goes.
  void Invalidate() override;

 private:
  // Its messages before the skinned control's: painting, erasing (swallowed), size and
  // visibility changes, and the end of a parent's update it was waiting for.
  void ImageProc(fw::TMessage& m, const fw::TWndNext& next);
  // The list holds ImageIndex.
  bool ListHolds() const;
  // The list's image at the list's size as 32-bit pixels; empty when it cannot be rendered.
  gfx::Bitmap ListImage();
  // Index 0 UseFullSize, 1 Reflected, 2 Grayed.
  void SetBoolean(int index, bool value);
  // The shown picture as 32-bit pixels at its drawn size d: the kept one while d and the
  // manager's empty-alpha option are unchanged, else made (keyed, resampled) and kept.
  const gfx::Bitmap& ShownAt(gfx::TSize d);
  // The shown picture at its drawn size, composed into the cache at ImagePos with Blend,
  // Reflected and Grayed.
  void DrawImage();
  // The cache built and copied to the target; the framework paints while the skin data is
  // updating, without an active skin, or with nothing to show and no section.
  void acWM_Paint(fw::TMessage& m, const fw::TWndNext& next);

  int FBlend = 0;
  bool FGrayed = false;
  bool FReflected = false;
  bool FUseFullSize = false;
  // ShownAt's picture and whether it was made with empty alpha checked (a manager's option);
  // resampling a photo costs several times the rest of a paint.
  gfx::Bitmap FShown;
  bool FShownAlphaChecked = false;
  fw::TWndHookId FHook = 0;
};

class TsImage : public TsCustomImage {
 public:
  using TsCustomImage::TsCustomImage;
};

}  // namespace skin::controls
