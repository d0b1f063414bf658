#include "framework/dbctrls/DBImage.h"

#include "framework/Image.h"
#include "framework/TextConv.h"
#include "platform/gfx/PictureCodec.h"
#include "platform/win/Styles.h"

namespace fw {

TDBImage::TDBImage(TComponent* owner) : TCustomControl(owner) {
  SetBounds(0, 0, 105, 105);
  SetColor(clWindow);
  SetTabStop(true);
  FDataLink.OnDataEvent = [this](db::TDataEvent) { LoadPicture(); };
}

TDBImage::~TDBImage() {
  Destroying();
  FDataLink.OnDataEvent = nullptr;
  FDataLink.SetDataSource(nullptr);
}

void TDBImage::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.ExStyle |= win::WS_EX_CLIENTEDGE;
}

void TDBImage::SetDataField(const std::string& name) {
  FDataField = name;
  LoadPicture();
}

void TDBImage::SetFlag(bool& field, bool v) {
  if (field == v) return;
  field = v;
  Invalidate();
}

void TDBImage::SetStretch(bool v) {
  SetFlag(FStretch, v);
}

void TDBImage::SetProportional(bool v) {
  SetFlag(FProportional, v);
}

void TDBImage::SetCenter(bool v) {
  SetFlag(FCenter, v);
}

void TDBImage::LoadPicture() {
  if (HasState(csDestroying)) return;
  db::TDataSet* d = FDataLink.DataSet();
  const db::TField* field = d ? d->FindField(FDataField) : nullptr;
  db::TVariant value = field ? field->Value() : db::TVariant();
  if (value.VarType() != db::TVarType::Blob) {
    // Null, no field, or a value that is no bytes at all.
    bool had = FHasBytes || !FPictureError.empty();
    FPicture = {};
    FBytes.clear();
    FHasBytes = false;
    FPictureError = value.IsNull() ? u"" : u"the field holds no bytes";
    if (had || !FPictureError.empty()) Invalidate();
    return;
  }
  // Scrolling to another row with the same bytes (or an event of the same row) decodes
  // nothing again.
  if (FHasBytes && value.Blob() == FBytes) return;
  FBytes = value.Blob();
  FHasBytes = true;
  FPictureError.clear();
  try {
    FPicture = gfx::DecodePicture(FBytes);
  } catch (const std::exception& e) {
    FPicture = {};
    FPictureError = Utf8ToUtf16(e.what());
  }
  Invalidate();
}

TRect TDBImage::DestRect() const {
  return PlacePicture(FPicture.Width(), FPicture.Height(), ClientWidth(), ClientHeight(), FStretch,
                      FProportional, FCenter);
}

void TDBImage::Paint() {
  TCanvas& c = Canvas();
  c.FillRect(ClientRect());
  if (!FPicture.Empty()) {
    c.StretchDraw(DestRect(), FPicture, true);
    return;
  }
  if (FPictureError.empty()) return;
  TRect r = ClientRect();
  c.BrushStyle = TBrushStyle::bsClear;
  c.Font.SetColor(clGrayText);
  c.TextRect(r, kInvalidPicture,
             gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX);
}

}  // namespace fw
