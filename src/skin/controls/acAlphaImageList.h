// The skin library's image lists. TsAlphaImageList keeps each picture as the file bytes it
// came from (PNG, ICO or 32-bit BMP) and renders it at the list's size or any other, with a
// rendering cached per item; TsCharImageList draws its pictures from characters of icon fonts
// (FontAwesome by default). Both keep the framework's image list they derive from (the
// platform list that plain controls draw from) filled at the list's size. The bitmap work
// lies in skin/paint's unit of the same name.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "framework/ImageList.h"
#include "platform/gfx/DeviceContext.h"
#include "skin/core/acScaleFollower.h"
#include "skin/paint/acAlphaImageList.h"

namespace skin::controls {

using skin::paint::ifBMP32;
using skin::paint::ifICO;
using skin::paint::ifPNG;
using skin::paint::TColor;
using skin::paint::TsImageFormat;

// Base of the skin library's lists: registered while it lives, so that the default skin
// manager gives it its scale step (SetNewScale) when its scale mode changes.
class TacImageList : public fw::TImageList, public skin::core::TacScaleFollower {
 public:
  explicit TacImageList(fw::TComponent* owner);
  ~TacImageList() override;

  // The glyph colour a character list uses for the next rendering (clNone: none).
  TColor ForeColor = skin::paint::clNone;
  // Copy pictures as they are, without alpha compositing.
  bool DrawAsIs = false;

  // A new width x height bitmap with item index rendered in it; null for a bad index or an
  // item that cannot be rendered.
  virtual std::unique_ptr<gfx::Bitmap> CreateBitmap32(int index, int width, int height);
  // Renders item index into image at image's size; false when nothing was rendered. Raises
  // fw::Exception for an item whose data is damaged.
  virtual bool GetBitmap32(int index, gfx::Bitmap& image) = 0;
  // Item index at the list's size, blended over the canvas at (x, y); nothing for a bad index
  // or damaged data.
  virtual void DoDraw(int index, fw::TCanvas& canvas, int x, int y);
  // The background colour drawn under each picture (clNone: none).
  TColor BkColor() const { return FBkColor; }
  void SetBkColor(TColor color) { FBkColor = color; }

  // Calls f for every live list, oldest first.
  static void IterateImageLists(const std::function<void(TacImageList*)>& f);

 private:
  TColor FBkColor = skin::paint::clNone;
};

// One picture of a TsAlphaImageList: the file's bytes and what they are.
class TsImgListItem {
 public:
  const std::u16string& Text() const { return FText; }
  void SetText(const std::u16string& text) { FText = text; }
  const std::u16string& ImageName() const { return FImageName; }
  void SetImageName(const std::u16string& name) { FImageName = name; }
  TsImageFormat ImageFormat() const { return FImageFormat; }
  void SetImageFormat(TsImageFormat format) { FImageFormat = format; }
  // Bits a pixel of the stored picture: 32, or 24 for an icon without alpha.
  int PixelFormat() const { return FPixelFormat; }
  void SetPixelFormat(int bits) { FPixelFormat = bits; }

  int OrigWidth = 0;  // size of the stored picture
  int OrigHeight = 0;
  std::unique_ptr<gfx::Bitmap> CacheBmp;  // the last rendering at the list's size
  std::vector<std::uint8_t> ImgData;      // the image file, byte for byte

 private:
  std::u16string FText;
  std::u16string FImageName;
  TsImageFormat FImageFormat = ifPNG;
  int FPixelFormat = 32;
};

class TsAlphaImageList : public TacImageList {
 public:
  explicit TsAlphaImageList(fw::TComponent* owner);
  std::string ClassName() const override { return "TsAlphaImageList"; }

  // The items; change them through the list's operations (AcBeginUpdate/AcEndUpdate around
  // direct changes).
  int ItemCount() const { return int(FItems.size()); }
  TsImgListItem& Item(int index) { return *FItems.at(std::size_t(index)); }
  // Appends an item with its file bytes (nothing decoded yet); the platform list follows at
  // the next GenerateStdList or Change.
  TsImgListItem& AddItem(TsImageFormat format, const std::u16string& imageName,
                         std::vector<std::uint8_t> data);

  bool UseCache() const { return FUseCache; }
  void SetUseCache(bool use);  // drops every item's cache
  bool ShareImages() const { return FShareImages; }
  void SetShareImages(bool share) { FShareImages = share; }
  bool AllowScale() const { return FAllowScale; }
  void SetAllowScale(bool allow) { FAllowScale = allow; }
  // Keep the items' bytes after the platform list is filled (default on).
  bool DoubleData = true;
  // The platform list is managed from outside: never regenerated.
  bool StdMode = false;

  // The design size; the current size follows the scale step.
  void SetDimension(int width, int height);
  int SavedWidth() const { return FSavedWidth; }
  int SavedHeight() const { return FSavedHeight; }
  // Follows scale step value (0..3, skin::core::aScalePercents): the platform list is rebuilt
  // at the design size scaled. Nothing for an unchanged step.
  void SetNewScale(int value) override;
  int SavedScale() const { return FSavedScale; }
  // Whether the list follows the default skin manager's scale: AllowScale, loaded, a default
  // manager, items. A loaded list that can takes the manager's step.
  bool CanScale() const;

  std::unique_ptr<gfx::Bitmap> CreateBitmap32(int index, int width, int height) override;
  bool GetBitmap32(int index, gfx::Bitmap& image) override;
  void DoDraw(int index, fw::TCanvas& canvas, int x, int y) override;

  // Adds a 32-bit picture as a BMP item (and to the platform list); returns its index.
  int Add(const gfx::Bitmap& image);
  // The item's data becomes the picture (a BMP item); its cache and platform image follow.
  void Replace(int index, const gfx::Bitmap& image);
  // Copies item index of another list; returns the new item count.
  int AddImage(TsAlphaImageList& source, int index);
  // Adds an image file: read, told apart by GetImageFormat, decoded. False for a file that
  // cannot be read, is no image or is damaged; LoadFromFile raises fw::Exception ("Cannot
  // load " + file + line break + "Invalid or unexpected image format.") instead.
  bool TryLoadFromFile(const std::string& fileName);
  void LoadFromFile(const std::string& fileName);
  // The same for a file's bytes (fileName gives the name and the extension).
  bool TryLoadFromData(const std::string& fileName, std::span<const std::uint8_t> data);
  // Bytes taken as PNG whatever they hold.
  bool TryLoadFromPngStream(std::span<const std::uint8_t> data);
  void LoadFromPngStream(std::span<const std::uint8_t> data);
  void MoveItem(int curIndex, int newIndex);
  void Clear();       // items and platform pictures
  void ItemsClear();  // items only

  void AcBeginUpdate() { FAcChanging = true; }
  void AcEndUpdate(bool doChange);
  // Refills the platform list from the items at the current size. An item whose data is
  // damaged gets a transparent picture (indexes stay in step) and, after the others are in,
  // raises fw::Exception with the decoder's text.
  void GenerateStdList();
  bool StdListIsGenerated() const { return FStdListIsGenerated; }
  void Change() override;

 protected:
  void Loaded() override;

 private:
  // Item index's picture at its stored size; raises fw::Exception for damaged data.
  gfx::Bitmap Decode(TsImgListItem& item);
  void DropCaches();
  int ScaledSize(int size) const;

  bool FLoaded = false;
  bool FUseCache = true;
  bool FAcChanging = false;
  bool FAllowScale = true;
  bool FStdListIsGenerated = false;
  bool FShareImages = false;
  std::vector<std::unique_ptr<TsImgListItem>> FItems;
  int FSavedScale = 0;
  int FSavedHeight = 0;
  int FSavedWidth = 0;
};

// The pitch a font is asked for.
enum class TFontPitch { fpDefault, fpVariable, fpFixed };

// One character picture of a TsCharImageList.
struct TacCharItemData {
  char16_t Char = 0;
  std::u16string ImageName;
  TColor Color = skin::paint::clNone;  // clNone: the list's colour
  std::u16string FontName = u"FontAwesome";
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  double ScalingFactor = 1.0;  // character height as a fraction of the list's height
  int OffsetY = 0;
  // Kept with the item: the font is looked up by its family name alone, so pitch and character
  // set choose nothing, and the character is drawn upright whatever the orientation.
  TFontPitch Pitch = TFontPitch::fpDefault;
  int Charset = 1;      // DEFAULT_CHARSET
  int Orientation = 0;  // tenths of a degree
};

class TacCharListItem {
 public:
  TacCharItemData Data;
  std::unique_ptr<gfx::Bitmap> CacheBmp;  // keyed by CacheColor
  TColor CacheColor = skin::paint::clNone;
};

class TsCharImageList : public TacImageList {
 public:
  explicit TsCharImageList(fw::TComponent* owner);
  std::string ClassName() const override { return "TsCharImageList"; }

  int ItemCount() const { return int(FItems.size()); }
  const TacCharItemData& Item(int index) const { return FItems.at(std::size_t(index))->Data; }
  // Appends a character picture; returns its index.
  int AddItem(const TacCharItemData& data);
  // Registers a font file under its family name once per font name (nothing for a missing
  // file); true when the font is registered.
  bool AddEmbeddedFont(const std::string& fileName, const std::u16string& fontName);
  // The same for a font file's bytes (a description's embedded font); false when they are not
  // a font.
  bool AddEmbeddedFontData(const std::u16string& fontName, std::span<const std::uint8_t> data);
  // The font names registered by the list, in order.
  const std::vector<std::u16string>& EmbeddedFonts() const { return FEmbeddedFonts; }

  // Removes every item and platform picture.
  void Clear();

  // The design size; the current size follows the scale step, and so does the characters'
  // OffsetY.
  void SetDimension(int width, int height);
  int SavedWidth() const { return FSavedWidth; }
  int SavedHeight() const { return FSavedHeight; }
  bool AllowScale() const { return FAllowScale; }
  void SetAllowScale(bool allow) { FAllowScale = allow; }
  // Follows scale step value (0..3): the pictures are drawn again at the design size scaled.
  // Nothing for an unchanged step.
  void SetNewScale(int value) override;
  int SavedScale() const { return FSavedScale; }
  // As TsAlphaImageList::CanScale.
  bool CanScale() const;

  // The glyph in the given colour (the item's or black when clNone).
  std::unique_ptr<gfx::Bitmap> CreateBitmap32Color(int index, int width, int height, TColor color);
  bool GetBitmap32(int index, gfx::Bitmap& image) override;
  // Refills the platform list at the list's size in each item's colour.
  void GenerateStdList();

 protected:
  void Loaded() override;

 private:
  TColor GlyphColor(const TacCharItemData& item, TColor requested) const;
  // The scale in percent that the characters' OffsetY follows.
  int ScalePercent() const;
  std::vector<std::unique_ptr<TacCharListItem>> FItems;
  std::vector<std::u16string> FEmbeddedFonts;
  bool FLoaded = false;
  bool FAllowScale = true;
  int FSavedScale = 0;
  int FSavedWidth = 0;
  int FSavedHeight = 0;
};

// Draws image index of any list into dest (Left, Top) the skinned controls' way: glyph
// min(state, numGlyphs - 1) of the picture, centred across the list's width, over the list's
// background colour, composed with blend (percent), grey tint (clNone: none) and reflection.
// Nothing for an empty dest, a bad index or a picture that cannot be rendered.
void DrawAlphaImgList(fw::TImageList& imgList, gfx::Bitmap& dest, int left, int top, int imageIndex,
                      int blend, TColor grayedColor, int state, int numGlyphs, bool reflected,
                      TColor fontColor = skin::paint::clNone);

// The same onto a device context: the area under the picture is copied from dc into a 32-bit
// bitmap, drawn on and copied back (logical coordinates, dc's clip kept).
void DrawAlphaImgListDC(fw::TImageList& imgList, gfx::HDC dc, int left, int top, int imageIndex,
                        int blend, skin::paint::TColor grayedColor, int state, int numGlyphs,
                        bool reflected);

}  // namespace skin::controls
