#include "skin/controls/acAlphaImageList.h"

#include <algorithm>
#include <filesystem>

#include "framework/Exception.h"
#include "framework/TextConv.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/GraphicsError.h"
#include "platform/gfx/PictureCodec.h"
#include "skin/core/sSkinManager.h"
#include "skin/paint/sStretch.h"

namespace skin::controls {

namespace {

bool ValidIndex(int index, int count) {
  return index >= 0 && index < count;
}

const std::u16string kInvalidFormat = u"Invalid or unexpected image format.";

// What a design size becomes at a scale step.
int ScaleBy(int size, int step) {
  return size * skin::core::aScalePercents[std::size_t(std::clamp(step, 0, 3))] / 100;
}

}  // namespace

// TacImageList

TacImageList::TacImageList(fw::TComponent* owner) : fw::TImageList(owner) {}

TacImageList::~TacImageList() = default;

void TacImageList::IterateImageLists(const std::function<void(TacImageList*)>& f) {
  skin::core::TacScaleFollower::IterateFollowers([&f](skin::core::TacScaleFollower* follower) {
    if (auto* list = dynamic_cast<TacImageList*>(follower)) f(list);
  });
}

std::unique_ptr<gfx::Bitmap> TacImageList::CreateBitmap32(int index, int width, int height) {
  if (width < 1 || height < 1) return nullptr;
  try {
    auto bmp = std::make_unique<gfx::Bitmap>(width, height);
    if (!GetBitmap32(index, *bmp)) return nullptr;
    return bmp;
  } catch (const fw::Exception&) {       // damaged data
  } catch (const gfx::GraphicsError&) {  // a size no bitmap can have
  }
  return nullptr;
}

void TacImageList::DoDraw(int index, fw::TCanvas& canvas, int x, int y) {
  std::unique_ptr<gfx::Bitmap> bmp = CreateBitmap32(index, Width(), Height());
  if (bmp) canvas.Draw(x, y, *bmp, !DrawAsIs);
}

// TsAlphaImageList

TsAlphaImageList::TsAlphaImageList(fw::TComponent* owner) : TacImageList(owner) {
  FLoaded = !(owner && owner->HasState(fw::csLoading));
}

TsImgListItem& TsAlphaImageList::AddItem(TsImageFormat format, const std::u16string& imageName,
                                         std::vector<std::uint8_t> data) {
  auto item = std::make_unique<TsImgListItem>();
  item->SetImageFormat(format);
  item->SetImageName(imageName);
  item->ImgData = std::move(data);
  FItems.push_back(std::move(item));
  return *FItems.back();
}

void TsAlphaImageList::SetUseCache(bool use) {
  FUseCache = use;
  DropCaches();
}

void TsAlphaImageList::DropCaches() {
  for (auto& item : FItems) item->CacheBmp.reset();
}

int TsAlphaImageList::ScaledSize(int size) const {
  return FAllowScale ? ScaleBy(size, FSavedScale) : size;
}

void TsAlphaImageList::SetDimension(int width, int height) {
  FSavedWidth = width;
  FSavedHeight = height;
  fw::TImageList::Clear();
  SetSize(ScaledSize(width), ScaledSize(height));
  DropCaches();
  if (FStdListIsGenerated) GenerateStdList();
}

void TsAlphaImageList::SetNewScale(int value) {
  value = std::clamp(value, 0, 3);
  if (value == FSavedScale) return;
  FSavedScale = value;
  if (FSavedWidth == 0 || FSavedHeight == 0) return;
  fw::TImageList::Clear();
  SetSize(ScaledSize(FSavedWidth), ScaledSize(FSavedHeight));
  DropCaches();
  GenerateStdList();
  if (!FAcChanging) Change();
}

gfx::Bitmap TsAlphaImageList::Decode(TsImgListItem& item) {
  try {
    int bits = 32;
    gfx::Bitmap bmp = skin::paint::DecodeImageData(item.ImageFormat(), item.ImgData, &bits);
    item.OrigWidth = bmp.Width();
    item.OrigHeight = bmp.Height();
    if (item.ImageFormat() == ifICO) {
      bool alpha = false;
      for (int y = 0; y < bmp.Height() && !alpha; ++y)
        for (int x = 0; x < bmp.Width() && !alpha; ++x)
          alpha = gfx::PixelA(bmp.At(x, y)) != 0 && bits == 32;
      item.SetPixelFormat(alpha ? 32 : 24);
    } else {
      item.SetPixelFormat(32);
    }
    return bmp;
  } catch (const gfx::GraphicsError& e) {
    throw fw::Exception(fw::Utf8ToUtf16(e.what()));
  }
}

void TsAlphaImageList::GenerateStdList() {
  if (StdMode) return;
  if (FSavedWidth == 0 && FSavedHeight == 0) {
    FSavedWidth = Width();
    FSavedHeight = Height();
  }
  if (FSavedHeight == 0) return;
  fw::TImageList::Clear();
  std::u16string firstError;
  for (auto& item : FItems) {
    gfx::Bitmap picture;
    try {
      picture = skin::paint::ScaleImage(Decode(*item), Width(), Height());
    } catch (const fw::Exception& e) {
      if (firstError.empty()) firstError = e.Message();
      picture = gfx::Bitmap(Width(), Height());
    }
    fw::TImageList::Add(item->ImageName(), picture);
  }
  FStdListIsGenerated = true;
  if (!DoubleData) FItems.clear();
  if (!firstError.empty()) throw fw::Exception(firstError);
}

void TsAlphaImageList::Change() {
  if (FAcChanging || !FLoaded || !FStdListIsGenerated) return;
  if (DoubleData && Count() < ItemCount()) GenerateStdList();
  if (!DoubleData) {
    // Pictures that lost their alpha on the way (all of it zero) are made opaque, but for the
    // transparent key.
    for (int i = 0; i < Count(); ++i) {
      gfx::Bitmap picture = Bitmap(i);
      bool noAlpha = true;
      for (int y = 0; y < picture.Height() && noAlpha; ++y)
        for (int x = 0; x < picture.Width() && noAlpha; ++x)
          noAlpha = gfx::PixelA(picture.At(x, y)) == 0;
      if (!noAlpha) continue;
      for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
          if (picture.At(x, y) != skin::paint::kTransKey)
            picture.Set(x, y, picture.At(x, y) | 0xFF000000u);
      fw::TImageList::Replace(i, picture);
    }
  }
  fw::TImageList::Change();
}

void TsAlphaImageList::Loaded() {
  TacImageList::Loaded();
  FLoaded = true;
  if (FSavedWidth == 0 && FSavedHeight == 0) {
    FSavedWidth = Width();
    FSavedHeight = Height();
  }
  if (!FStdListIsGenerated) {
    try {
      GenerateStdList();
    } catch (const fw::Exception&) {
      // Items are checked as they are read; one damaged since shows nothing, and the other
      // components of the description still finish loading.
    }
    Change();
  }
  if (CanScale()) SetNewScale(skin::core::DefaultManager->GetScale());
}

bool TsAlphaImageList::CanScale() const {
  return FAllowScale && FLoaded && skin::core::DefaultManager && ItemCount() > 0;
}

bool TsAlphaImageList::GetBitmap32(int index, gfx::Bitmap& image) {
  if (!ValidIndex(index, ItemCount()) || FItems[std::size_t(index)]->ImgData.empty()) {
    // Nothing but the platform picture is left.
    if (!ValidIndex(index, Count()) || image.Empty()) return false;
    image = skin::paint::ScaleImage(Bitmap(index), image.Width(), image.Height());
    return true;
  }
  if (image.Empty()) return false;
  TsImgListItem& item = *FItems[std::size_t(index)];
  const bool cacheable = item.ImageFormat() != ifICO;
  if (cacheable && FUseCache && item.CacheBmp) {
    if (item.CacheBmp->Width() == image.Width() && item.CacheBmp->Height() == image.Height()) {
      image = *item.CacheBmp;
      return true;
    }
    item.CacheBmp.reset();
  }
  image = skin::paint::ScaleImage(Decode(item), image.Width(), image.Height());
  if (cacheable && FUseCache && image.Width() == Width() && image.Height() == Height())
    item.CacheBmp = std::make_unique<gfx::Bitmap>(image);
  return true;
}

std::unique_ptr<gfx::Bitmap> TsAlphaImageList::CreateBitmap32(int index, int width, int height) {
  return TacImageList::CreateBitmap32(index, width, height);
}

void TsAlphaImageList::DoDraw(int index, fw::TCanvas& canvas, int x, int y) {
  if (ValidIndex(index, ItemCount()) && FItems[std::size_t(index)]->ImageFormat() != ifICO)
    return TacImageList::DoDraw(index, canvas, x, y);
  // Icons, and indexes without an item, are drawn from the platform list at its size, the
  // way the platform draws an icon: blended by its alpha.
  if (!DrawAsIs) return fw::TImageList::Draw(canvas, x, y, index);
  if (ValidIndex(index, Count())) canvas.Draw(x, y, Bitmap(index), false);
}

int TsAlphaImageList::Add(const gfx::Bitmap& image) {
  if (image.Empty()) return -1;
  TsImgListItem& item = AddItem(ifBMP32, u"", gfx::EncodeBmp(image, true));
  item.OrigWidth = image.Width();
  item.OrigHeight = image.Height();
  fw::TImageList::Add(u"", skin::paint::ScaleImage(image, Width(), Height()));
  return Count() - 1;
}

void TsAlphaImageList::Replace(int index, const gfx::Bitmap& image) {
  if (!ValidIndex(index, ItemCount()) || image.Empty()) return;
  TsImgListItem& item = *FItems[std::size_t(index)];
  item.SetImageFormat(ifBMP32);
  item.ImgData = gfx::EncodeBmp(image, true);
  item.OrigWidth = image.Width();
  item.OrigHeight = image.Height();
  item.CacheBmp.reset();
  if (ValidIndex(index, Count()))
    fw::TImageList::Replace(index, skin::paint::ScaleImage(image, Width(), Height()));
}

int TsAlphaImageList::AddImage(TsAlphaImageList& source, int index) {
  if (!ValidIndex(index, source.ItemCount())) return ItemCount();
  const TsImgListItem& from = source.Item(index);
  TsImgListItem& item = AddItem(from.ImageFormat(), from.ImageName(), from.ImgData);
  item.SetText(from.Text());
  Change();
  return ItemCount();
}

bool TsAlphaImageList::TryLoadFromData(const std::string& fileName,
                                       std::span<const std::uint8_t> data) {
  TsImageFormat format;
  if (!skin::paint::GetImageFormat(fileName, data, format)) return false;
  // The name without its last four characters (".png").
  std::u16string name = fw::Utf8ToUtf16(std::filesystem::path(fileName).filename().string());
  name.resize(name.size() > 4 ? name.size() - 4 : 0);
  auto item = std::make_unique<TsImgListItem>();
  item->SetImageFormat(format);
  item->SetImageName(name);
  item->ImgData.assign(data.begin(), data.end());
  gfx::Bitmap picture;
  try {
    picture = skin::paint::ScaleImage(Decode(*item), Width(), Height());
  } catch (const fw::Exception&) {
    return false;
  }
  FItems.push_back(std::move(item));
  if (FStdListIsGenerated || Count() == ItemCount() - 1)
    fw::TImageList::Add(FItems.back()->ImageName(), picture);
  Change();
  return true;
}

bool TsAlphaImageList::TryLoadFromFile(const std::string& fileName) {
  std::vector<std::uint8_t> data;
  try {
    data = gfx::ReadFileBytes(fileName);
  } catch (const gfx::GraphicsError&) {
    return false;
  }
  return TryLoadFromData(fileName, data);
}

void TsAlphaImageList::LoadFromFile(const std::string& fileName) {
  if (!TryLoadFromFile(fileName))
    throw fw::Exception(u"Cannot load " + fw::Utf8ToUtf16(fileName) + u"\n" + kInvalidFormat);
}

bool TsAlphaImageList::TryLoadFromPngStream(std::span<const std::uint8_t> data) {
  // Every stream is taken as PNG: a name ending in .png says so.
  return skin::paint::HaveMagic(data, skin::paint::PNGMagic) && TryLoadFromData("stream.png", data);
}

void TsAlphaImageList::LoadFromPngStream(std::span<const std::uint8_t> data) {
  if (!TryLoadFromPngStream(data))
    throw fw::Exception(u"Cannot load from stream\n" + kInvalidFormat);
}

void TsAlphaImageList::MoveItem(int curIndex, int newIndex) {
  if (!ValidIndex(curIndex, ItemCount()) || !ValidIndex(newIndex, ItemCount()) ||
      curIndex == newIndex)
    return;
  auto item = std::move(FItems[std::size_t(curIndex)]);
  FItems.erase(FItems.begin() + curIndex);
  FItems.insert(FItems.begin() + newIndex, std::move(item));
  if (FStdListIsGenerated) GenerateStdList();
  Change();
}

void TsAlphaImageList::Clear() {
  FItems.clear();
  fw::TImageList::Clear();
  Change();
}

void TsAlphaImageList::ItemsClear() {
  FItems.clear();
}

void TsAlphaImageList::AcEndUpdate(bool doChange) {
  FAcChanging = false;
  if (FStdListIsGenerated) GenerateStdList();
  if (doChange) Change();
}

// TsCharImageList

namespace {

skin::paint::TCharGlyph GlyphOf(const TacCharItemData& d) {
  return {d.Char,          d.FontName, d.Bold,      d.Italic,
          d.ScalingFactor, d.OffsetY,  d.Underline, d.StrikeOut};
}

}  // namespace

TsCharImageList::TsCharImageList(fw::TComponent* owner) : TacImageList(owner) {
  FLoaded = !(owner && owner->HasState(fw::csLoading));
}

int TsCharImageList::AddItem(const TacCharItemData& data) {
  auto item = std::make_unique<TacCharListItem>();
  item->Data = data;
  FItems.push_back(std::move(item));
  if (Count() == ItemCount() - 1) {
    gfx::Bitmap picture(Width(), Height());
    skin::paint::DrawCharGlyph(picture, GlyphOf(data), GlyphColor(data, skin::paint::clNone),
                               ScalePercent());
    fw::TImageList::Add(data.ImageName, picture);
  }
  Change();
  return ItemCount() - 1;
}

void TsCharImageList::Clear() {
  FItems.clear();
  fw::TImageList::Clear();
  Change();
}

int TsCharImageList::ScalePercent() const {
  return FAllowScale ? skin::core::aScalePercents[std::size_t(std::clamp(FSavedScale, 0, 3))] : 100;
}

void TsCharImageList::SetDimension(int width, int height) {
  FSavedWidth = width;
  FSavedHeight = height;
  const int percent = ScalePercent();
  fw::TImageList::Clear();  // a filled platform list keeps its size
  SetSize(width * percent / 100, height * percent / 100);
  GenerateStdList();
}

void TsCharImageList::SetNewScale(int value) {
  value = std::clamp(value, 0, 3);
  if (value == FSavedScale) return;
  FSavedScale = value;
  if (FSavedWidth == 0 || FSavedHeight == 0) return;
  SetDimension(FSavedWidth, FSavedHeight);
  Change();
}

bool TsCharImageList::CanScale() const {
  return FAllowScale && FLoaded && skin::core::DefaultManager && ItemCount() > 0;
}

bool TsCharImageList::AddEmbeddedFont(const std::string& fileName, const std::u16string& fontName) {
  if (std::find(FEmbeddedFonts.begin(), FEmbeddedFonts.end(), fontName) != FEmbeddedFonts.end())
    return true;
  std::error_code error;
  if (!std::filesystem::is_regular_file(fileName, error)) return false;
  std::vector<std::uint8_t> bytes;
  try {
    bytes = gfx::ReadFileBytes(fileName);
  } catch (const gfx::GraphicsError&) {
    return false;
  }
  return AddEmbeddedFontData(fontName, bytes);
}

bool TsCharImageList::AddEmbeddedFontData(const std::u16string& fontName,
                                          std::span<const std::uint8_t> data) {
  if (std::find(FEmbeddedFonts.begin(), FEmbeddedFonts.end(), fontName) != FEmbeddedFonts.end())
    return true;
  if (data.empty() || gfx::AddFontMemResourceEx(data.data(), data.size()) == 0) return false;
  FEmbeddedFonts.push_back(fontName);
  return true;
}

TColor TsCharImageList::GlyphColor(const TacCharItemData& item, TColor requested) const {
  if (requested != skin::paint::clNone) return requested;
  if (ForeColor != skin::paint::clNone) return ForeColor;
  if (item.Color != skin::paint::clNone) return item.Color;
  return skin::paint::clBlack;
}

std::unique_ptr<gfx::Bitmap> TsCharImageList::CreateBitmap32Color(int index, int width, int height,
                                                                  TColor color) {
  if (!ValidIndex(index, ItemCount()) || width < 1 || height < 1) return nullptr;
  TacCharListItem& item = *FItems[std::size_t(index)];
  const TColor glyphColor = GlyphColor(item.Data, color);
  if (item.CacheBmp && item.CacheColor == glyphColor && item.CacheBmp->Width() == width &&
      item.CacheBmp->Height() == height)
    return std::make_unique<gfx::Bitmap>(*item.CacheBmp);
  auto bmp = std::make_unique<gfx::Bitmap>(width, height);
  const TacCharItemData& d = item.Data;
  skin::paint::DrawCharGlyph(*bmp, GlyphOf(d), glyphColor, ScalePercent());
  if (width == Width() && height == Height()) {
    item.CacheBmp = std::make_unique<gfx::Bitmap>(*bmp);
    item.CacheColor = glyphColor;
  }
  return bmp;
}

bool TsCharImageList::GetBitmap32(int index, gfx::Bitmap& image) {
  std::unique_ptr<gfx::Bitmap> bmp =
      CreateBitmap32Color(index, image.Width(), image.Height(), skin::paint::clNone);
  if (!bmp) return false;
  image = std::move(*bmp);
  return true;
}

void TsCharImageList::GenerateStdList() {
  fw::TImageList::Clear();
  for (auto& item : FItems) item->CacheBmp.reset();
  for (int i = 0; i < ItemCount(); ++i) {
    gfx::Bitmap picture(Width(), Height());
    GetBitmap32(i, picture);
    fw::TImageList::Add(Item(i).ImageName, picture);
  }
}

void TsCharImageList::Loaded() {
  TacImageList::Loaded();
  FLoaded = true;
  if (FSavedWidth == 0 && FSavedHeight == 0) {
    FSavedWidth = Width();
    FSavedHeight = Height();
  }
  GenerateStdList();
  Change();
  if (CanScale()) SetNewScale(skin::core::DefaultManager->GetScale());
}

// Drawing from any list

void DrawAlphaImgList(fw::TImageList& imgList, gfx::Bitmap& dest, int left, int top, int imageIndex,
                      int blend, TColor grayedColor, int state, int numGlyphs, bool reflected,
                      TColor fontColor) {
  if (dest.Empty() || imageIndex < 0) return;
  const int w = imgList.Width(), h = imgList.Height();
  const int glyphs = std::max(1, numGlyphs);
  const int glyphWidth = w / glyphs;
  if (glyphWidth < 1 || h < 1) return;
  const gfx::TRect r1 = gfx::RectOfSize(left + (imgList.Width() - w) / 2, top, glyphWidth, h);
  const int glyph = std::clamp(state, 0, glyphs - 1);
  const gfx::TRect r2 = gfx::RectOfSize(glyph * glyphWidth, 0, glyphWidth, h);
  std::unique_ptr<gfx::Bitmap> picture;
  auto* own = dynamic_cast<TacImageList*>(&imgList);
  if (own) {
    own->ForeColor = fontColor;
    picture = own->CreateBitmap32(imageIndex, w, h);
    own->ForeColor = skin::paint::clNone;
  } else if (imageIndex < imgList.Count()) {
    picture = std::make_unique<gfx::Bitmap>(imgList.Bitmap(imageIndex));
  }
  // A picture that cannot be had draws nothing, its background included.
  if (!picture) return;
  if (own && own->BkColor() != skin::paint::clNone) {
    const gfx::TRect area =
        gfx::IntersectRects(r1, gfx::RectOfSize(0, 0, dest.Width(), dest.Height()));
    const gfx::Pixel fill = gfx::PixelFromColor(gfx::COLORREF(own->BkColor()) & 0xFFFFFF, 255);
    for (int y = area.Top; y < area.Bottom; ++y)
      for (int x = area.Left; x < area.Right; ++x) dest.Set(x, y, fill);
  }
  if (own && own->DrawAsIs) {
    skin::paint::StretchCopy(dest, r1.Left, r1.Top, r1.Right - r1.Left, r1.Bottom - r1.Top,
                             *picture, r2.Left, r2.Top, r2.Right - r2.Left, r2.Bottom - r2.Top);
    return;
  }
  skin::paint::CopyBmp32(r1, r2, dest, *picture, skin::paint::TCacheInfo{}, false, grayedColor,
                         blend, reflected);
}

void DrawAlphaImgListDC(fw::TImageList& imgList, gfx::HDC dc, int left, int top, int imageIndex,
                        int blend, skin::paint::TColor grayedColor, int state, int numGlyphs,
                        bool reflected) {
  if (!dc || imageIndex < 0) return;
  const int w = imgList.Width() / std::max(1, numGlyphs), h = imgList.Height();
  if (w < 1 || h < 1) return;
  gfx::Bitmap area(w, h);
  gfx::DeviceContext areaDc(area);
  gfx::BitBlt(&areaDc, 0, 0, w, h, dc, left, top, gfx::SRCCOPY);
  DrawAlphaImgList(imgList, area, 0, 0, imageIndex, blend, grayedColor, state, numGlyphs,
                   reflected);
  gfx::BitBlt(dc, left, top, w, h, &areaDc, 0, 0, gfx::SRCCOPY);
}

}  // namespace skin::controls
