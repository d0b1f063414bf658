// The skin library's control classes as window descriptions name them (TsPanel, TsLabel, ...).
// Each is the plain framework control with the skin section it is painted from; the painting
// itself comes with the skin engine, and the descriptions that name these classes stay as they
// are when it arrives.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>

#include "framework/Button.h"
#include "framework/ComboBox.h"
#include "framework/Edit.h"
#include "framework/Image.h"
#include "framework/ImageList.h"
#include "framework/Label.h"
#include "framework/Memo.h"
#include "framework/Panel.h"
#include "framework/StatusBar.h"
#include "framework/TreeView.h"
#include "framework/dbctrls/DBGrid.h"
#include "skin/controls/acAlphaImageList.h"
#include "skin/core/sSkinManager.h"

namespace skin::controls {

using skin::core::TsSkinManager;
using skin::core::TsThirdPartyList;

// The skin section a control is painted from (SkinData.SkinSection); empty for the control
// kind's own section.
class TsSkinData {
 public:
  const std::string& SkinSection() const { return FSkinSection; }
  void SetSkinSection(const std::string& section) { FSkinSection = section; }

 private:
  std::string FSkinSection;
};

// A class name as a template argument.
template <std::size_t N>
struct TClassName {
  char text[N];
  constexpr TClassName(const char (&name)[N]) { std::copy_n(name, N, text); }
};

template <class Base, TClassName Name>
class TsControl : public Base {
 public:
  using Base::Base;
  std::string ClassName() const override { return Name.text; }
  TsSkinData& SkinData() { return FSkinData; }
  const TsSkinData& SkinData() const { return FSkinData; }

 private:
  TsSkinData FSkinData;
};

using TsPanel = TsControl<fw::TPanel, "TsPanel">;
using TsImage = TsControl<fw::TImage, "TsImage">;
using TsButton = TsControl<fw::TButton, "TsButton">;
using TsBitBtn = TsControl<fw::TBitBtn, "TsBitBtn">;
using TsStatusBar = TsControl<fw::TStatusBar, "TsStatusBar">;
using TsEdit = TsControl<fw::TEdit, "TsEdit">;
using TsMemo = TsControl<fw::TMemo, "TsMemo">;
using TsComboBox = TsControl<fw::TComboBox, "TsComboBox">;
using TsTreeView = TsControl<fw::TTreeView, "TsTreeView">;
using TsDBGrid = TsControl<fw::TDBGrid, "TsDBGrid">;

// A label whose text colour comes from the skin (UseSkinColor, the default) or from its own
// font (off: the label keeps its colour under every skin).
class TsLabel : public TsControl<fw::TLabel, "TsLabel"> {
 public:
  using TsControl::TsControl;
  bool UseSkinColor() const { return FUseSkinColor; }
  void SetUseSkinColor(bool use) { FUseSkinColor = use; }

 private:
  bool FUseSkinColor = true;
};

// The component that skins its form's frame and caption from a skin section, with the
// caption's alignment in the title and the font of text added in front of the caption
// (AddedTitle.Font; colour clNone: the title's own colour).
class TsSkinProvider : public fw::TComponent {
 public:
  explicit TsSkinProvider(fw::TComponent* owner);
  std::string ClassName() const override { return "TsSkinProvider"; }
  TsSkinData& SkinData() { return FSkinData; }
  fw::TAlignment CaptionAlignment() const { return FCaptionAlignment; }
  void SetCaptionAlignment(fw::TAlignment alignment) { FCaptionAlignment = alignment; }
  fw::TFont& AddedTitleFont() { return FAddedTitleFont; }

 private:
  TsSkinData FSkinData;
  fw::TAlignment FCaptionAlignment = fw::TAlignment::taLeftJustify;
  fw::TFont FAddedTitleFont;
};

// Registers the classes above for window descriptions (once; later calls do nothing).
void RegisterSkinClasses();

}  // namespace skin::controls
