#include "skin/controls/sGlyphUtils.h"

#include <algorithm>
#include <memory>
#include <string>

#include "framework/Reader.h"
#include "framework/TextConv.h"
#include "skin/core/sSkinManager.h"

namespace skin::controls {

// Made at build time: the standard glyph pictures, by file name ("SF.png", ...).
extern const fw::TEmbeddedFile acStdGlyphFiles[];
extern const int acStdGlyphFileCount;

namespace {

constexpr const char* kResGlyphNames[rgResGlyphCount] = {"SF", "SR", "SD", "SE", "SC"};

// A character of acCharImages: its code in the icon font, its height as a fraction of the
// list's and how far it is moved down to sit in the middle (the font's own placement puts
// some of them a pixel high).
struct TCharGlyphDef {
  char16_t Char;
  double ScalingFactor;
  int OffsetY;
  const char16_t* Name;
};

// The icon font has no caption-button characters of the system's kind; its window glyphs
// stand for them (minimise, maximise, restore) and its cross for close.
constexpr TCharGlyphDef aChars[cgCharGlyphCount] = {
    {0xF078, 0.8, 0, u"down"},        {0xF077, 0.8, 0, u"up"},
    {0xF053, 0.8, 1, u"left"},        {0xF054, 0.8, 1, u"right"},
    {0xF141, 1.0, 0, u"ellipsis"},    {0xF111, 0.8, 1, u"radio"},
    {0xF00C, 0.9, 0, u"check"},       {0xF047, 0.8, 1, u"move"},
    {0xF07C, 0.9, 1, u"folder"},      {0xF15B, 0.9, 0, u"file"},
    {0xF073, 0.9, 0, u"calendar"},    {0xF1EC, 0.9, 0, u"calculator"},
    {0xF002, 0.9, 0, u"search"},      {0xF0E2, 0.9, 0, u"reset"},
    {0xF067, 0.9, 1, u"plus"},        {0xF068, 0.9, 1, u"minus"},
    {0xF021, 0.9, 0, u"refresh"},     {0xF0D7, 1.0, 0, u"caret down"},
    {0xF0DA, 1.0, 0, u"caret right"}, {0xF128, 0.9, 0, u"help"},
    {0xF06E, 0.9, 0, u"eye"},         {0xF2D1, 0.9, 0, u"minimize"},
    {0xF2D0, 0.9, 0, u"maximize"},    {0xF2D2, 0.9, 0, u"restore"},
    {0xF00D, 0.9, 0, u"close"},
};

static_assert(cgRadio == 5 && cgCheck == 6 && cgMove == 7 && cgMinimize == 21 && cgMaximize == 22 &&
                  cgRestore == 23 && cgClose == 24,
              "menus ask for these glyphs by number");

std::span<const std::uint8_t> StdGlyphFile(std::string_view name) {
  for (int i = 0; i < acStdGlyphFileCount; ++i)
    if (acStdGlyphFiles[i].Name == name) return acStdGlyphFiles[i].Data;
  return {};
}

// The images side by side in one picture of the list.
int StripCount(const fw::TImageList& list) {
  const int w = list.Width(), h = list.Height();
  return h > 0 && w >= h && w % h == 0 ? w / h : 1;
}

}  // namespace

TsAlphaImageList& acResImages() {
  static const std::unique_ptr<TsAlphaImageList> list = [] {
    auto l = std::make_unique<TsAlphaImageList>(nullptr);
    l->SetDimension(32, 16);
    for (const char* name : kResGlyphNames) {
      const auto bytes = StdGlyphFile(std::string(name) + ".png");
      // A build without the pictures (the fuzz build) has an empty list.
      if (!bytes.empty()) l->AddItem(ifPNG, fw::Utf8ToUtf16(name), {bytes.begin(), bytes.end()});
    }
    l->GenerateStdList();
    return l;
  }();
  return *list;
}

TsCharImageList& acCharImages() {
  static const std::unique_ptr<TsCharImageList> list = [] {
    auto l = std::make_unique<TsCharImageList>(nullptr);
    l->SetDimension(14, 16);
    for (const TCharGlyphDef& def : aChars) {
      TacCharItemData item;
      item.Char = def.Char;
      item.ImageName = def.Name;
      item.ScalingFactor = def.ScalingFactor;
      item.OffsetY = def.OffsetY;
      l->AddItem(item);
    }
    return l;
  }();
  return *list;
}

TacImageList& acResImgList() {
  if (skin::core::ac_OldGlyphsMode) return acResImages();
  return acCharImages();
}

bool ListHolds(const fw::TImageList& list, int index) {
  if (index < 0) return false;
  if (auto* alpha = dynamic_cast<const TsAlphaImageList*>(&list)) return index < alpha->ItemCount();
  if (auto* chars = dynamic_cast<const TsCharImageList*>(&list)) return index < chars->ItemCount();
  return index < list.Count();
}

void TacAddedGlyph::SetImages(fw::TImageList* value) {
  if (FImages.Set(value)) Changed(true);
}

bool TacAddedGlyph::Removed(fw::TComponent* component, fw::TOperation operation) {
  if (!FImages.Removed(component, operation)) return false;
  Changed(true);
  return true;
}

void TacAddedGlyph::SetImageIndex(int value) {
  value = std::max(-1, value);
  if (FImageIndex == value) return;
  FImageIndex = value;
  Changed(true);
}

void TacAddedGlyph::SetBlend(int value) {
  value = std::clamp(value, 0, 100);
  if (FBlend == value) return;
  FBlend = value;
  Changed(false);
}

void TacAddedGlyph::SetGrayed(bool value) {
  if (FGrayed == value) return;
  FGrayed = value;
  Changed(false);
}

void TacAddedGlyph::SetColorTone(skin::paint::TColor value) {
  if (FColorTone == value) return;
  FColorTone = value;
  Changed(false);
}

fw::TImageList* TacAddedGlyph::Source() const {
  if (FImageIndex < 0) return nullptr;
  if (fw::TImageList* own = FImages.List(); own && ListHolds(*own, FImageIndex)) return own;
  TacImageList& standard = acResImgList();
  return ListHolds(standard, FImageIndex) ? &standard : nullptr;
}

gfx::TSize TacAddedGlyph::Size() const {
  const fw::TImageList* list = Source();
  if (!list) return {0, 0};
  return {list->Width() / StripCount(*list), list->Height()};
}

void TacAddedGlyph::Draw(gfx::Bitmap& bmp, const gfx::TRect& r, bool enabled, bool grayed) const {
  fw::TImageList* list = Source();
  if (!list || r.IsEmpty()) return;
  const gfx::TSize size = Size();
  const int x = r.Left + (r.Width() - size.cx) / 2, y = r.Top + (r.Height() - size.cy) / 2;
  // Grey tone for a grayed glyph, else the glyph's own tone.
  const skin::paint::TColor tone = FGrayed || grayed ? skin::paint::TColor(0x808080) : FColorTone;
  const int blend = enabled ? FBlend : std::max(FBlend, 50);
  DrawAlphaImgList(*list, bmp, x, y, FImageIndex, blend, tone, 0, StripCount(*list), false);
}

}  // namespace skin::controls
