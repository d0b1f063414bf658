// TDBImage: the picture held in a blob field of the current row, decoded by its signature
// (PNG, JPEG, BMP) and drawn as TImage draws (Stretch, Proportional, Center). A null field
// shows nothing; bytes that are not a picture show nothing but a short grey note, and never
// raise: the grid beside it keeps scrolling through such rows.
#pragma once

#include <string>

#include "framework/CustomControl.h"
#include "framework/dbctrls/DataSource.h"
#include "platform/gfx/Bitmap.h"

namespace fw {

class TDBImage : public TCustomControl {
 public:
  explicit TDBImage(TComponent* owner);
  ~TDBImage() override;
  std::string ClassName() const override { return "TDBImage"; }

  TDataSource* DataSource() const { return FDataLink.DataSource(); }
  void SetDataSource(TDataSource* source) { FDataLink.SetDataSource(source); }
  // The blob field shown (by name; a name the dataset lacks shows nothing).
  const std::string& DataField() const { return FDataField; }
  void SetDataField(const std::string& name);

  bool Stretch() const { return FStretch; }
  void SetStretch(bool v);
  bool Proportional() const { return FProportional; }
  void SetProportional(bool v);
  bool Center() const { return FCenter; }
  void SetCenter(bool v);

  // The decoded picture (empty when none) and, when the bytes did not decode, why.
  const gfx::Bitmap& Picture() const { return FPicture; }
  const std::u16string& PictureError() const { return FPictureError; }
  // Where the picture is drawn, in client coordinates.
  TRect DestRect() const;

  // The note shown for bytes that are not a picture.
  static constexpr char16_t kInvalidPicture[] = u"(not a picture)";

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;

 private:
  void LoadPicture();
  void SetFlag(bool& field, bool v);

  TDataLink FDataLink;
  std::string FDataField;
  gfx::Bitmap FPicture;
  std::u16string FPictureError;
  db::TBytes FBytes;  // what FPicture was decoded from
  bool FHasBytes = false;
  bool FStretch = false;
  bool FProportional = false;
  bool FCenter = true;
};

}  // namespace fw
