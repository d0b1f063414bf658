#include "skin/controls/sGlyphUtils.h"

#include <algorithm>

#include "skin/controls/acAlphaImageList.h"

namespace skin::controls {

namespace {

// The images side by side in one picture of the list.
int StripCount(const fw::TImageList& list) {
  const int w = list.Width(), h = list.Height();
  return h > 0 && w >= h && w % h == 0 ? w / h : 1;
}

}  // namespace

void TacAddedGlyph::SetImages(fw::TImageList* value) {
  if (FImages == value) return;
  FImages = value;
  Changed(true);
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

bool TacAddedGlyph::Visible() const {
  if (!FImages || FImageIndex < 0) return false;
  if (auto* alpha = dynamic_cast<const TsAlphaImageList*>(FImages))
    return FImageIndex < alpha->ItemCount();
  if (auto* chars = dynamic_cast<const TsCharImageList*>(FImages))
    return FImageIndex < chars->ItemCount();
  return FImageIndex < FImages->Count();
}

gfx::TSize TacAddedGlyph::Size() const {
  if (!Visible()) return {0, 0};
  return {FImages->Width() / StripCount(*FImages), FImages->Height()};
}

void TacAddedGlyph::Draw(gfx::Bitmap& bmp, const gfx::TRect& r, bool enabled, bool grayed) const {
  if (!Visible() || r.IsEmpty()) return;
  const gfx::TSize size = Size();
  const int x = r.Left + (r.Width() - size.cx) / 2, y = r.Top + (r.Height() - size.cy) / 2;
  // Grey tone for a grayed glyph, else the glyph's own tone.
  const skin::paint::TColor tone = FGrayed || grayed ? skin::paint::TColor(0x808080) : FColorTone;
  const int blend = enabled ? FBlend : std::max(FBlend, 50);
  DrawAlphaImgList(*FImages, bmp, x, y, FImageIndex, blend, tone, 0, StripCount(*FImages), false);
}

}  // namespace skin::controls
