// Loading a skin by name: the new skin is read whole aside and takes the place of the one in
// force only when nothing failed, so a skin that cannot be loaded leaves the previous skin
// (and its name) as they were.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "skin/data/acSkinModelLoad.h"
#include "skin/data/acSkinSources.h"
#include "skin/data/sSkinOptions.h"
#include "skin/data/sStoredSkins.h"

namespace skin::data {

// A skin read from its source: its files and its options.
struct TacLoadedSkin {
  TacSkinContent Content;
  TacSkinOptions Options;
  // The skin's resolved name.
  const std::string& Name() const { return Content.Source.Name; }
};

// What loading needs besides the name.
struct TacSkinLoadContext {
  std::string FullSkinDirectory;                 // resolved skin directory
  const TsStoredSkins* InternalSkins = nullptr;  // the program's stored skins
  int Scale = 0;                                 // scale index, 0 to 3
  TacSystemColors System;                        // system colours the palette falls back on
  std::string CommonSections;                    // overlay sections merged into every skin
  int Brightness = 0;                            // the manager's colour adjustment
  bool ExtendedBorders = false;                  // window-shadow templates are built
  int HueOffset = 0;                             // the manager's colour adjustment
  int Saturation = 0;                            // the manager's colour adjustment
  TacPreviewSource Preview{};                    // a skin editor's live preview
};

// Reads the named skin. Null when there is none to read (no external skin of that name and
// no stored skins). A damaged skin raises ESkinError.
std::unique_ptr<TacLoadedSkin> LoadSkin(std::string_view skinName,
                                        const TacSkinLoadContext& context);

// The skin in force.
class TacSkinHolder {
 public:
  // The name of the skin in force (as resolved when it was loaded).
  const std::string& SkinName() const { return FSkinName; }
  // The skin in force, or null when none is.
  const TacLoadedSkin* Skin() const { return FSkin.get(); }
  // Its model, or null when no skin is in force.
  const TacSkinModel* Model() const { return FModel.get(); }
  TacSkinModel* Model() { return FModel.get(); }
  bool Active() const { return FSkin != nullptr; }

  // Loads skinName and builds its model aside, then puts both in force with the resolved
  // name; when there is no skin at all, none is in force. On failure raises and leaves
  // everything as it was.
  void SetSkinName(std::string_view skinName, const TacSkinLoadContext& context);
  // Puts no skin in force.
  void Clear();

 private:
  std::string FSkinName;
  std::unique_ptr<TacLoadedSkin> FSkin;
  std::unique_ptr<TacSkinModel> FModel;
};

}  // namespace skin::data
