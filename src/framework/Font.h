// TFont: a control's font description (face, character height, style, colour). Changes are
// reported through OnChange; the resolved gfx font is made on first use and cached.
#pragma once

#include <functional>
#include <string>

#include "framework/Colors.h"
#include "platform/gfx/Font.h"

namespace fw {

// Font style flags (a set).
enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;

class TFont {
 public:
  TFont() = default;
  // Copies the description, not the OnChange handler.
  TFont(const TFont& other);
  TFont& operator=(const TFont& other);

  const std::u16string& Name() const { return FName; }
  void SetName(const std::u16string& name);
  // Negative: character height in pixels; positive: cell height (as the descriptions store).
  int Height() const { return FHeight; }
  void SetHeight(int height);
  // The size in points at the screen's PixelsPerInch: -Height * 72 / PixelsPerInch, rounded
  // (negative for a cell height); setting it sets Height to -Size * PixelsPerInch / 72.
  int Size() const;
  void SetSize(int size);
  static constexpr int PixelsPerInch = 96;
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles style);
  TColor Color() const { return FColor; }
  void SetColor(TColor color);
  // Copies another font's description and reports one change.
  void Assign(const TFont& other);
  bool operator==(const TFont& other) const;

  // The resolved font to select into a device context.
  gfx::HFONT Handle() const;

  std::function<void()> OnChange;  // told after every change

 private:
  void Changed();

  std::u16string FName = u"Tahoma";
  int FHeight = -11;
  TFontStyles FStyle = 0;
  TColor FColor = clWindowText;
  mutable gfx::HFONT FHandle;
};

}  // namespace fw
