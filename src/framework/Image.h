// TImage: a picture in a windowless control. The picture comes from a PNG, JPEG or BMP file
// (chosen by the file's extension) or from an image list entry. It is drawn at its size from
// the top-left corner, centred (Center), scaled to the bounds (Stretch) or scaled keeping its
// aspect ratio (Proportional: down to fit; with Stretch also up). Alpha is respected; a
// Transparent bitmap or PNG without alpha leaves out its bottom-left pixel's colour, while a
// JPEG photo, which cannot carry a key, is always drawn opaque. AutoSize sizes the control to
// the picture (CanAutoSize); at a scale (CurrentPPI other than 96) an auto-sized picture is
// drawn scaled as the control is, and the control is fitted to it again after every scaling.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "framework/GraphicControl.h"
#include "framework/ImageList.h"

namespace fw {

// Where a picture of pw x ph pixels is drawn in a cw x ch client area: at its size from the
// top-left corner, or scaled (Stretch, Proportional) and Center-ed as described above.
TRect PlacePicture(int pw, int ph, int cw, int ch, bool stretch, bool proportional, bool center);

// What kind of graphic a picture is: a bitmap (BMP file or pixels set from memory), a PNG or a
// JPEG. Skinned drawing copies bitmaps and PNGs with their alpha and draws photos opaque.
enum class TGraphicKind { gkNone, gkBitmap, gkPng, gkJpeg };

class TImage : public TGraphicControl {
 public:
  explicit TImage(TComponent* owner);
  ~TImage() override;
  std::string ClassName() const override { return "TImage"; }

  // Loads a picture file; raises Exception naming the file for an unknown extension or bad
  // data.
  void LoadFromFile(const std::string& path);
  // The same for a file's bytes held in memory; name gives the extension and is kept as the
  // picture's file.
  void LoadFromData(const std::string& name, std::span<const std::uint8_t> data);
  // Pixels from memory: a 32-bit bitmap.
  void SetPicture(const gfx::Bitmap& picture);
  void ClearPicture();
  // The loaded picture (empty when none) and the file it came from ("" when none).
  const gfx::Bitmap& Picture() const { return FPicture; }
  const std::string& PictureFile() const { return FPictureFile; }
  // The kind of Picture (gkNone when empty) and the bits a pixel of its source (0 when empty):
  // 24 for a BMP without alpha, 32 for one with alpha or for pixels set from memory, and so
  // on as the decoders report (gfx::PictureInfo).
  TGraphicKind GraphicKind() const { return FGraphicKind; }
  int PixelFormat() const { return FPixelFormat; }

  TImageList* Images() const { return FImages.List(); }
  void SetImages(TImageList* images);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int index);

  bool Stretch() const { return FStretch; }
  void SetStretch(bool v);
  bool Proportional() const { return FProportional; }
  void SetProportional(bool v);
  bool Center() const { return FCenter; }
  void SetCenter(bool v);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool v);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool v);

  // The picture shown now: the image list entry when one is chosen, else Picture.
  const gfx::Bitmap* Shown() const;
  // Where the picture is drawn, in client coordinates.
  TRect DestRect() const;
  // The size the picture is drawn at when not stretched: the shown picture's size; a Picture
  // of an auto-sized image is scaled by CurrentPPI / 96 (an image list scales its own
  // images). (0, 0) when nothing is shown.
  gfx::TSize PictureSize() const;
  // Scaled as every control; an auto-sized image then fits its picture at the new scale.
  void ChangeScale(int m, int d) override;

 protected:
  // The size AutoSize gives the control, from the shown picture: the width unless aligned to
  // the top or bottom, the height unless aligned to the left or right. False: nothing to
  // size to, the bounds stay.
  virtual bool CanAutoSize(int& newWidth, int& newHeight);
  void Paint() override;
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  // Loads the picture file path, whose bytes read gives once the extension is known.
  void Load(const std::string& path, const std::function<std::vector<std::uint8_t>()>& read);
  void PictureChanged();
  void SetFlag(bool& field, bool v);

  // Whether a Transparent image keys out the bottom-left colour of what it shows.
  bool Keyed() const;

  gfx::Bitmap FPicture;
  std::string FPictureFile;
  TGraphicKind FGraphicKind = TGraphicKind::gkNone;
  int FPixelFormat = 0;
  // The list's pictures changing (a new scale, items added) shows at once.
  TImageListLink FImages{*this, [this] { PictureChanged(); }};
  int FImageIndex = -1;
  bool FStretch = false;
  bool FProportional = false;
  bool FCenter = false;
  bool FTransparent = false;
  bool FAutoSize = false;
};

}  // namespace fw
