// TImage: a picture in a windowless control. The picture comes from a PNG, JPEG or BMP file
// (chosen by the file's extension) or from an image list entry. It is drawn at its size from
// the top-left corner, centred (Center), scaled to the bounds (Stretch) or scaled keeping its
// aspect ratio (Proportional: down to fit; with Stretch also up). Alpha is respected; a
// Transparent picture without alpha leaves out its bottom-left pixel's colour. AutoSize
// sizes the control to the picture.
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
  void SetPicture(const gfx::Bitmap& picture);
  void ClearPicture();
  // The loaded picture (empty when none) and the file it came from ("" when none).
  const gfx::Bitmap& Picture() const { return FPicture; }
  const std::string& PictureFile() const { return FPictureFile; }

  TImageList* Images() const { return FImages; }
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

 protected:
  void Paint() override;
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  // Loads the picture file path, whose bytes read gives once the extension is known.
  void Load(const std::string& path, const std::function<std::vector<std::uint8_t>()>& read);
  void PictureChanged();
  void SetFlag(bool& field, bool v);

  gfx::Bitmap FPicture;
  std::string FPictureFile;
  TImageList* FImages = nullptr;
  int FImageIndex = -1;
  bool FStretch = false;
  bool FProportional = false;
  bool FCenter = false;
  bool FTransparent = false;
  bool FAutoSize = false;
};

}  // namespace fw
