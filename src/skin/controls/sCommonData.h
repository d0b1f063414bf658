// The bound label of edit-like controls: a caption label (TsEditLabel) the control places
// beside itself by a layout, and the layouts with the text alignment each gives the label.
#pragma once

#include <array>
#include <string>

#include "framework/Control.h"
#include "framework/Font.h"
#include "framework/Label.h"

namespace skin::controls {

// Where a bound label sits beside its control.
enum class TsCaptionLayout {
  sclLeft,
  sclTopLeft,
  sclTopCenter,
  sclTopRight,
  sclLeftTop,
  sclBottomLeft,
  sclBottomCenter,
  sclBottomRight,
  sclRight,
  sclRightTop,
  sclLeftLeft,
  sclRightRight
};
// The label's text alignment for each layout, in the order above.
inline constexpr std::array<fw::TAlignment, 12> LayoutsArray{
    fw::TAlignment::taRightJustify, fw::TAlignment::taLeftJustify,  fw::TAlignment::taCenter,
    fw::TAlignment::taRightJustify, fw::TAlignment::taLeftJustify,  fw::TAlignment::taLeftJustify,
    fw::TAlignment::taCenter,       fw::TAlignment::taRightJustify, fw::TAlignment::taLeftJustify,
    fw::TAlignment::taLeftJustify,  fw::TAlignment::taLeftJustify,  fw::TAlignment::taRightJustify};

class TsEditLabel;

// BoundLabel of edit-like controls: a caption label placed next to the owner control while
// Active, in the owner's parent, by Layout, Indent and Offset (MaxWidth wraps it; 0: no limit).
// The owner hands its messages to HandleOwnerMsg after its own handling.
class TsBoundLabel {
 public:
  explicit TsBoundLabel(fw::TControl* owner);
  ~TsBoundLabel();
  TsBoundLabel(const TsBoundLabel&) = delete;
  TsBoundLabel& operator=(const TsBoundLabel&) = delete;

  bool Active() const { return FActive; }
  void SetActive(bool value);
  const std::u16string& Caption() const { return FText; }
  void SetCaption(const std::u16string& value);
  TsCaptionLayout Layout() const { return FLayout; }
  void SetLayout(TsCaptionLayout value);
  int Indent() const { return FIndent; }
  void SetIndent(int value);
  int Offset() const { return FOffset; }
  void SetOffset(int value);
  int MaxWidth() const { return FMaxWidth; }
  void SetMaxWidth(int value);
  bool UseHTML() const { return FUseHTML; }
  void SetUseHTML(bool value);
  bool EnabledAlways() const { return FEnabledAlways; }
  void SetEnabledAlways(bool value);
  // A click or double click on the label clicks the owner.
  bool AllowClick() const { return FAllowClick; }
  void SetAllowClick(bool value) { FAllowClick = value; }
  // The label's own font; changing it clears ParentFont and passes it to the label.
  fw::TFont& Font() { return FFont; }
  void SetFont(const fw::TFont& font);
  // With ParentFont the label follows its parent's font.
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool value);
  // The label's UseSkinColor (true while there is none).
  bool UseSkinColor() const;
  void SetUseSkinColor(bool value);
  // Whether the font differs from a default font (and so is written in descriptions).
  bool FontStored() const;
  TsEditLabel* TheLabel() const { return FTheLabel; }
  int ScalePercent = 100;

  // Creates, shows and places the label while active, frees it while not.
  void UpdateVisibility();
  // Places a visible label by the layout.
  void AlignLabel();
  void HandleOwnerMsg(const fw::TMessage& message);
  // MaxWidth follows the new scale.
  void UpdateScale(int percent);

 private:
  friend class TsEditLabel;
  void Realign();
  bool LabelEnabled() const;

  bool FActive = false;
  TsCaptionLayout FLayout = TsCaptionLayout::sclLeft;
  int FIndent = 0;
  int FOffset = 0;
  int FMaxWidth = 0;
  bool FUseHTML = false;
  bool FParentFont = true;
  bool FEnabledAlways = false;
  bool FAllowClick = false;
  bool FCopyingFont = false;
  fw::TFont FFont;
  std::u16string FText;
  TsEditLabel* FTheLabel = nullptr;
  fw::TControl* FOwnerControl;
};

}  // namespace skin::controls
