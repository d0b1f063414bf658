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

namespace skin::controls {

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
using TsLabel = TsControl<fw::TLabel, "TsLabel">;
using TsImage = TsControl<fw::TImage, "TsImage">;
using TsButton = TsControl<fw::TButton, "TsButton">;
using TsBitBtn = TsControl<fw::TBitBtn, "TsBitBtn">;
using TsStatusBar = TsControl<fw::TStatusBar, "TsStatusBar">;
using TsEdit = TsControl<fw::TEdit, "TsEdit">;
using TsMemo = TsControl<fw::TMemo, "TsMemo">;
using TsComboBox = TsControl<fw::TComboBox, "TsComboBox">;
using TsTreeView = TsControl<fw::TTreeView, "TsTreeView">;
using TsDBGrid = TsControl<fw::TDBGrid, "TsDBGrid">;

// The image list of pictures with alpha the skinned controls draw from.
class TsAlphaImageList : public fw::TImageList {
 public:
  using TImageList::TImageList;
  std::string ClassName() const override { return "TsAlphaImageList"; }
};

// The component that owns the active skin, by its name among the internal skins. The name is
// kept as the description gives it; loading and announcing the skin is the skin engine's.
class TsSkinManager : public fw::TComponent {
 public:
  using TComponent::TComponent;
  std::string ClassName() const override { return "TsSkinManager"; }
  const std::u16string& SkinName() const { return FSkinName; }
  void SetSkinName(const std::u16string& name) { FSkinName = name; }

 private:
  std::u16string FSkinName;
};

// The component that skins its form's frame and caption from a skin section.
class TsSkinProvider : public fw::TComponent {
 public:
  using TComponent::TComponent;
  std::string ClassName() const override { return "TsSkinProvider"; }
  TsSkinData& SkinData() { return FSkinData; }

 private:
  TsSkinData FSkinData;
};

// Registers the classes above for window descriptions (once; later calls do nothing).
void RegisterSkinClasses();

}  // namespace skin::controls
