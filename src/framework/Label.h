// TLabel: windowless text. Sizes itself to its text (AutoSize; with WordWrap only the height),
// aligns it horizontally (Alignment) and vertically (Layout), and leaves the parent's
// background showing when Transparent.
#pragma once

#include "framework/GraphicControl.h"

namespace fw {

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TTextLayout { tlTop, tlCenter, tlBottom };

class TLabel : public TGraphicControl {
 public:
  explicit TLabel(TComponent* owner);
  std::string ClassName() const override { return "TLabel"; }

  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool autoSize);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool wordWrap);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment alignment);
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout layout);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool transparent);
  // Sizes the label to its text now (AutoSize does it after every change).
  void AdjustBounds();
  void Loaded() override;

 protected:
  void Paint() override;
  void TextChanged() override;
  void FontChanged() override;
  // DrawTextW flags for the current settings.
  unsigned DrawTextFlags() const;

 private:
  bool FAutoSize = true;
  bool FWordWrap = false;
  TAlignment FAlignment = TAlignment::taLeftJustify;
  TTextLayout FLayout = TTextLayout::tlTop;
  bool FTransparent = false;
};

}  // namespace fw
