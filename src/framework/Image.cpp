#include "framework/Image.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "framework/Exception.h"
#include "framework/TextConv.h"
#include "platform/gfx/GraphicsError.h"
#include "platform/gfx/PictureCodec.h"

namespace fw {

namespace {

// a / b rounded to nearest, ties to even (a >= 0, b > 0).
int RoundDiv(long long a, long long b) {
  long long q = a / b, r = a % b;
  if (2 * r > b || (2 * r == b && (q & 1))) ++q;
  return int(q);
}

bool FullyOpaque(const gfx::Bitmap& b) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (gfx::PixelA(b.At(x, y)) != 255) return false;
  return true;
}

}  // namespace

TImage::TImage(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(0, 0, 105, 105);
}

TImage::~TImage() {
  SetImages(nullptr);
}

void TImage::LoadFromFile(const std::string& path) {
  Load(path, [&] { return gfx::ReadFileBytes(path); });
}

void TImage::LoadFromData(const std::string& name, std::span<const std::uint8_t> data) {
  Load(name, [&] { return std::vector<std::uint8_t>(data.begin(), data.end()); });
}

void TImage::Load(const std::string& path, const std::function<std::vector<std::uint8_t>()>& read) {
  // From the last dot of the file name itself (".jpg" alone counts); a dot in a folder's name
  // is no extension.
  const std::string name = std::filesystem::path(path).filename().string();
  std::string ext = name.substr(std::min(name.size(), name.find_last_of('.')));
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  std::vector<std::uint8_t> data;
  gfx::Bitmap picture;
  gfx::PictureInfo info;
  try {
    if (ext != ".png" && ext != ".jpg" && ext != ".jpeg" && ext != ".jpe" && ext != ".bmp")
      throw Exception(u"Unknown picture file extension (" + Utf8ToUtf16(ext) + u")");
    data = read();
    if (ext == ".png")
      picture = gfx::DecodePng(data, &info);
    else if (ext == ".bmp")
      picture = gfx::DecodeBmp(data, &info);
    else
      picture = gfx::DecodeJpeg(data, &info);
  } catch (const Exception& e) {
    throw Exception(u"Cannot load the picture " + Utf8ToUtf16(path) + u": " + e.Message());
  } catch (const std::exception& e) {
    throw Exception(u"Cannot load the picture " + Utf8ToUtf16(path) + u": " +
                    Utf8ToUtf16(e.what()));
  }
  FPicture = std::move(picture);
  FPictureFile = path;
  FGraphicKind = info.format == gfx::PictureFormat::Png    ? TGraphicKind::gkPng
                 : info.format == gfx::PictureFormat::Jpeg ? TGraphicKind::gkJpeg
                                                           : TGraphicKind::gkBitmap;
  FPixelFormat = info.bitsPerPixel;
  PictureChanged();
}

void TImage::SetPicture(const gfx::Bitmap& picture) {
  FPicture = picture;
  FPictureFile.clear();
  FGraphicKind = FPicture.Empty() ? TGraphicKind::gkNone : TGraphicKind::gkBitmap;
  FPixelFormat = FPicture.Empty() ? 0 : 32;
  PictureChanged();
}

void TImage::ClearPicture() {
  SetPicture({});
}

void TImage::SetImages(TImageList* images) {
  if (FImages.Set(images)) PictureChanged();
}

void TImage::Notification(TComponent* component, TOperation operation) {
  if (FImages.Removed(component, operation)) Invalidate();
  TGraphicControl::Notification(component, operation);
}

void TImage::SetImageIndex(int index) {
  if (index == FImageIndex) return;
  FImageIndex = index;
  PictureChanged();
}

const gfx::Bitmap* TImage::Shown() const {
  const TImageList* list = FImages.List();
  if (list && FImageIndex >= 0 && FImageIndex < list->Count()) return &list->Bitmap(FImageIndex);
  return FPicture.Empty() ? nullptr : &FPicture;
}

void TImage::Loaded() {
  TGraphicControl::Loaded();
  PictureChanged();
}

bool TImage::CanAutoSize(int& newWidth, int& newHeight) {
  if (!Shown()) return false;
  const gfx::TSize size = PictureSize();
  if (Align() != TAlign::alTop && Align() != TAlign::alBottom) newWidth = size.cx;
  if (Align() != TAlign::alLeft && Align() != TAlign::alRight) newHeight = size.cy;
  return true;
}

gfx::TSize TImage::PictureSize() const {
  const gfx::Bitmap* p = Shown();
  if (!p) return {0, 0};
  if (!FAutoSize || p != &FPicture) return {p->Width(), p->Height()};
  return {ScaledDesignValue(p->Width()), ScaledDesignValue(p->Height())};
}

void TImage::ChangeScale(int m, int d) {
  TGraphicControl::ChangeScale(m, d);
  if (FAutoSize) PictureChanged();
}

void TImage::PictureChanged() {
  if (FAutoSize && !HasState(csLoading)) {
    int w = Width(), h = Height();
    if (CanAutoSize(w, h)) SetBounds(Left(), Top(), w, h);
  }
  Invalidate();
}

void TImage::SetFlag(bool& field, bool v) {
  if (v == field) return;
  field = v;
  PictureChanged();
}

void TImage::SetStretch(bool v) {
  SetFlag(FStretch, v);
}

void TImage::SetProportional(bool v) {
  SetFlag(FProportional, v);
}

void TImage::SetCenter(bool v) {
  SetFlag(FCenter, v);
}

void TImage::SetTransparent(bool v) {
  SetFlag(FTransparent, v);
}

void TImage::SetAutoSize(bool v) {
  SetFlag(FAutoSize, v);
}

TRect PlacePicture(int pw, int ph, int cw, int ch, bool stretch, bool proportional, bool center) {
  if (pw <= 0 || ph <= 0) return {};
  int w = pw, h = ph;
  if (stretch || (proportional && (pw > cw || ph > ch))) {
    if (proportional) {
      // The limiting side fills the bounds; the other keeps the picture's ratio.
      if ((long long)pw * ch >= (long long)ph * cw) {
        w = cw;
        h = RoundDiv((long long)ph * cw, pw);
      } else {
        h = ch;
        w = RoundDiv((long long)pw * ch, ph);
      }
    } else {
      w = cw;
      h = ch;
    }
  }
  int x = center ? (cw - w) / 2 : 0;
  int y = center ? (ch - h) / 2 : 0;
  return gfx::RectOfSize(x, y, w, h);
}

TRect TImage::DestRect() const {
  const gfx::TSize size = PictureSize();
  return PlacePicture(size.cx, size.cy, ClientWidth(), ClientHeight(), FStretch, FProportional,
                      FCenter);
}

bool TImage::Keyed() const {
  // Image list entries are PNGs; a photo has no colour to spare for a key.
  bool fromList = Shown() != &FPicture;
  return FTransparent && (fromList || FGraphicKind == TGraphicKind::gkBitmap ||
                          FGraphicKind == TGraphicKind::gkPng);
}

void TImage::Paint() {
  const gfx::Bitmap* p = Shown();
  if (!p) return;
  if (Keyed() && FullyOpaque(*p)) {
    gfx::Bitmap keyed = *p;
    gfx::Pixel key = keyed.At(0, keyed.Height() - 1);
    for (int y = 0; y < keyed.Height(); ++y)
      for (int x = 0; x < keyed.Width(); ++x)
        if (keyed.At(x, y) == key) keyed.Set(x, y, key & 0x00FFFFFF);
    Canvas().StretchDraw(DestRect(), keyed, true);
    return;
  }
  Canvas().StretchDraw(DestRect(), *p, true);
}

}  // namespace fw
