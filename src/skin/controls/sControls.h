// The skin library's control classes as window descriptions name them (TsPanel, TsLabel, ...).
// Each is the plain framework control with the skin section it is painted from; the painting
// itself comes with the skin engine, and the descriptions that name these classes stay as they
// are when it arrives.
#pragma once

#include <string>

#include "framework/Button.h"
#include "framework/Image.h"
#include "framework/ImageList.h"
#include "framework/Label.h"
#include "framework/Panel.h"
#include "framework/StatusBar.h"

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

template <class Base>
class TsControl : public Base {
 public:
  using Base::Base;
  TsSkinData& SkinData() { return FSkinData; }
  const TsSkinData& SkinData() const { return FSkinData; }

 private:
  TsSkinData FSkinData;
};

class TsPanel : public TsControl<fw::TPanel> {
 public:
  using TsControl::TsControl;
  std::string ClassName() const override { return "TsPanel"; }
};
class TsLabel : public TsControl<fw::TLabel> {
 public:
  using TsControl::TsControl;
  std::string ClassName() const override { return "TsLabel"; }
};
class TsImage : public TsControl<fw::TImage> {
 public:
  using TsControl::TsControl;
  std::string ClassName() const override { return "TsImage"; }
};
class TsButton : public TsControl<fw::TButton> {
 public:
  using TsControl::TsControl;
  std::string ClassName() const override { return "TsButton"; }
};
class TsBitBtn : public TsControl<fw::TBitBtn> {
 public:
  using TsControl::TsControl;
  std::string ClassName() const override { return "TsBitBtn"; }
};
class TsStatusBar : public TsControl<fw::TStatusBar> {
 public:
  using TsControl::TsControl;
  std::string ClassName() const override { return "TsStatusBar"; }
};

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
