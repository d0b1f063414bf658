#include "framework/Font.h"

#include "platform/win/MulDiv.h"

namespace fw {

TFont::TFont(const TFont& other)
    : FName(other.FName), FHeight(other.FHeight), FStyle(other.FStyle), FColor(other.FColor) {}

TFont& TFont::operator=(const TFont& other) {
  Assign(other);
  return *this;
}

void TFont::Assign(const TFont& other) {
  if (*this == other) return;
  FName = other.FName;
  FHeight = other.FHeight;
  FStyle = other.FStyle;
  FColor = other.FColor;
  Changed();
}

bool TFont::operator==(const TFont& other) const {
  return FName == other.FName && FHeight == other.FHeight && FStyle == other.FStyle &&
         FColor == other.FColor;
}

void TFont::SetName(const std::u16string& name) {
  if (name == FName) return;
  FName = name;
  Changed();
}

void TFont::SetHeight(int height) {
  if (height == FHeight) return;
  FHeight = height;
  Changed();
}

int TFont::Size() const {
  return -win::MulDiv(FHeight, 72, PixelsPerInch);
}

void TFont::SetSize(int size) {
  SetHeight(-win::MulDiv(size, PixelsPerInch, 72));
}

void TFont::SetStyle(TFontStyles style) {
  if (style == FStyle) return;
  FStyle = style;
  Changed();
}

void TFont::SetColor(TColor color) {
  if (color == FColor) return;
  FColor = color;
  Changed();
}

void TFont::Changed() {
  FHandle.reset();
  if (OnChange) OnChange();
}

gfx::HFONT TFont::Handle() const {
  if (!FHandle) {
    gfx::LOGFONTW lf;
    lf.lfHeight = FHeight;
    lf.lfWeight = (FStyle & fsBold) ? gfx::FW_BOLD : gfx::FW_NORMAL;
    lf.lfItalic = (FStyle & fsItalic) != 0;
    lf.lfUnderline = (FStyle & fsUnderline) != 0;
    lf.lfStrikeOut = (FStyle & fsStrikeOut) != 0;
    lf.lfFaceName = FName;
    FHandle = gfx::CreateFontIndirectW(lf);
  }
  return FHandle;
}

}  // namespace fw
