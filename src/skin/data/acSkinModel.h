// The in-memory skin: flat arrays of sections (gd) and picture items (ma), the master bitmap
// and the picture files items share, the palette, the window outer effects and the constant
// index table, with every lookup controls make on them. A model is built whole from a loaded
// skin (CreateSkinModel) and owned by whoever puts it in force; building it touches no window.
//
// Lookups never raise: anything absent is −1. Inheritance through PARENTCLASS walks at most
// acMaxParentDepth sections and stops at a section already visited.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gfx/Bitmap.h"
#include "skin/data/acConstData.h"
#include "skin/data/acSkinTypes.h"
#include "skin/paint/sMaskData.h"

namespace skin::data {

using skin::paint::TsMaskData;

// Sections an inherited lookup looks through at most (the section itself included).
inline constexpr int acMaxParentDepth = 32;
// Radii, blurs, offsets and sizes of generated shadow pictures are kept within this, so a
// damaged skin cannot make them huge.
inline constexpr int acMaxShadowExtent = 64;

// A picture file loaded for items; every item naming the file shares it.
struct TacExtFileData {
  std::unique_ptr<gfx::Bitmap> Bmp;  // owned
  std::string FileName;              // as the options text names it, upper-cased
  int MaskType = 0;                  // of the first item with mask rows that names the file, else 0
};

// A font carried by the skin, ready to be made available to the process.
struct TacEmbeddedFont {
  std::string FileName;  // entry or file name without folder
  std::string FontName;  // face name from FontName<k>; empty when no FontFile<k> names it
  std::vector<std::uint8_t> Data;
};

class TacSkinModel {
 public:
  // No skin: no sections or items, every constant index −1.
  TacSkinModel() = default;
  // Items point at the model and at bitmaps it owns, so it is neither copied nor moved; it
  // is held by pointer and swapped whole.
  TacSkinModel(const TacSkinModel&) = delete;
  TacSkinModel& operator=(const TacSkinModel&) = delete;

  TsSkinData CommonSkinData;        // global values
  std::vector<TsGeneralData> gd;    // sections in file order, then those added
  std::vector<TsMaskData> ma;       // picture items
  std::array<TacOutEffData, 2> oe;  // 0 lowered frame, 1 shadow
  gfx::Bitmap MasterBitmap;         // 32-bit; key colour 0xFF00FF with alpha 0
  std::vector<TacExtFileData> ExtArray;
  TacPalette Palette{};
  TConstantSkinData ConstData;
  std::vector<TacEmbeddedFont> EmbeddedFonts;
  gfx::Bitmap ShdaTemplate, ShdiTemplate;  // active and inactive window-shadow templates
  gfx::TRect FormShadowSize;  // shadow extent around forms (0 without extended borders)
  int Scale = 0;              // scale index 0 to 3 the model was built for

  // Index in gd of the section named skinSection (exact), −1 for none or an empty name.
  int GetSkinIndex(std::string_view skinSection) const;
  // Item of section skinIndex named mask; when none, the same in its parent and so on, but
  // not past a parent named skinSection.
  int GetMaskIndex(int skinIndex, std::string_view skinSection, std::string_view mask) const;
  // Item of section skinIndex named mask, else in its parents.
  int GetMaskIndex(int skinIndex, std::string_view mask) const;
  // Item named mask defined in the section named skinSection; no inheritance.
  int GetMaskIndex(std::string_view skinSection, std::string_view mask) const;
  // Texture item named propName defined in skinSection; when none, in the parents of section
  // skinIndex, not past a parent named skinSection.
  int GetTextureIndex(int skinIndex, std::string_view skinSection, std::string_view propName) const;
  // Texture item of section skinIndex named propName, else in its parents.
  int GetTextureIndex(int skinIndex, std::string_view propName) const;
  bool IsValidSkinIndex(int i) const { return i >= 0 && i < int(gd.size()); }
  bool IsValidImgIndex(int i) const { return i >= 0 && i < int(ma.size()); }
  // Every section's name in gd order.
  std::vector<std::string> GetSkinSections() const;

  TColor GetGlobalColor() const { return Palette[pcMainColor]; }
  TColor GetGlobalFontColor() const { return Palette[pcLabelText]; }
  TColor GetActiveEditColor() const { return Palette[pcEditBG]; }
  TColor GetActiveEditFontColor() const { return Palette[pcEditText]; }
  TColor GetHighLightColor(bool focused) const {
    return Palette[focused ? pcSelectionBG_Focused : pcSelectionBG];
  }
  TColor GetHighLightFontColor(bool focused) const {
    return Palette[focused ? pcSelectionText_Focused : pcSelectionText];
  }

  // Appends a section: a copy of section parentSection when that is valid, else one with
  // states states, each with transparency, color and fontColor and no contour. Its name is
  // name, without parent. Returns its index.
  int AddNewSection(std::string_view name, int parentSection, int states, int transparency,
                    TColor color, TColor fontColor);
  // Appends a picture item of this model and returns its index.
  int MakeNewItem(int skinIndex, std::string_view propertyName, std::string_view className,
                  skin::paint::TacImgType imgType, const gfx::TRect& r, int imageCount,
                  int drawMode, int maskType);
  // Size of one image of an item.
  static gfx::TSize MkSize(const TsMaskData& md) { return {md.Width, md.Height}; }
  // The bitmap an item's rectangle lies in: its own, or the master bitmap.
  const gfx::Bitmap& ItemBitmap(const TsMaskData& md) const {
    return md.Bmp ? *md.Bmp : MasterBitmap;
  }

  // Item name + the resolution suffix of the model's scale, in section skinIndex with
  // inheritance (GLOBALINFO's items when skinIndex < 0); when missing at a scale above 0, the
  // item named name resampled in place for the scale. −1 when neither exists.
  int GetGlyphNdx(std::string_view name, int skinIndex = -1, bool stretch = false);
  // Fills the indexes of every section (borders, corners, textures, outer items) and the
  // sizes of every item.
  void InitMaskIndexes();
  // Fills ConstData; sections a table entry falls back on are added as copies.
  void InitConstantIndexes();
  // Rebuilds the window-shadow templates and FormShadowSize for extended borders (or clears
  // them without).
  void CheckShadows(bool extendedBorders);

  // The window shadows of active and inactive forms, made on first use.
  const gfx::Bitmap& GetActiveShadow();
  const gfx::Bitmap& GetPassiveShadow();

  // Takes ownership of a bitmap that items of this model point at.
  const gfx::Bitmap* KeepBitmap(std::unique_ptr<gfx::Bitmap> bmp);

 private:
  int GlobalIndex(std::string_view name) const;
  int GetExtBordNdx(std::string_view name) const;
  void Resample(TsMaskData& md, bool stretch);
  TacConstElementData ReadConstElementData(std::string_view name, std::string_view alt1,
                                           bool glyphVariants, std::string_view alt2);
  TacTrackBarData ReadTrackBarData(bool horizontal);
  int PrepareOuter(int skinIndex);

  std::vector<std::unique_ptr<gfx::Bitmap>> FItemBitmaps;  // made for items, not shared files
  std::vector<int> FResampled;                             // items GetGlyphNdx resampled
  std::unique_ptr<gfx::Bitmap> Frsta, Frsti;               // cached window shadows
};

// What building a model needs besides the skin.
// The colour adjustment (brightness, hue, saturation) is applied to the built model
// (acSkinAdjust).
struct TacSkinModelParams {
  int Scale = 0;                 // scale index 0 to 3
  int Brightness = 0;            // −100..100; also decides whether PNG pictures are premultiplied
  bool ExtendedBorders = false;  // window-shadow templates are built
  int HueOffset = 0;             // degrees
  int Saturation = 0;            // percent; −100 grey
};

}  // namespace skin::data
