#include "skin/data/acSkinCheck.h"

#include <map>
#include <optional>

#include "platform/gfx/GraphicsError.h"
#include "platform/gfx/PictureCodec.h"
#include "skin/data/acSkinPack.h"

namespace skin::data {

namespace {

// Decodes each named picture once; a missing or damaged one is reported once.
class PictureCache {
 public:
  PictureCache(const TacSkinContent& content, std::vector<std::string>& problems)
      : FContent(content), FProblems(problems) {}

  // The picture, or null when it is missing or damaged.
  const gfx::Bitmap* Get(const std::string& name, bool onDisk) {
    const std::string key = UpperCase(name);
    auto found = FPictures.find(key);
    if (found == FPictures.end()) found = FPictures.emplace(key, Load(name, onDisk)).first;
    return found->second ? &*found->second : nullptr;
  }

 private:
  std::optional<gfx::Bitmap> Load(const std::string& name, bool onDisk) {
    const auto bytes = FContent.ReadFile(name, onDisk);
    if (!bytes) {
      FProblems.push_back("Picture " + name + " is missing");
      return std::nullopt;
    }
    try {
      gfx::Bitmap picture = gfx::DecodePicture(*bytes);
      if (!picture.Empty()) return picture;
      FProblems.push_back("Picture " + name + " is empty");
    } catch (const gfx::GraphicsError& e) {
      FProblems.push_back("Picture " + name + " cannot be read: " + e.what());
    }
    return std::nullopt;
  }

  const TacSkinContent& FContent;
  std::vector<std::string>& FProblems;
  std::map<std::string, std::optional<gfx::Bitmap>> FPictures;
};

bool Inside(const gfx::TRect& r, const gfx::Bitmap& bmp) {
  return !r.IsEmpty() && r.Left >= 0 && r.Top >= 0 && r.Right <= bmp.Width() &&
         r.Bottom <= bmp.Height();
}

}  // namespace

std::vector<std::string> CheckSkin(const TacLoadedSkin& skin) {
  std::vector<std::string> problems;
  if (!skin.Content.OptionsText) problems.push_back("The skin has no options");
  PictureCache pictures(skin.Content, problems);
  const std::string& master = skin.Options.Common.MasterBitmap;
  for (const TacPictureItemDef& item : skin.Options.Items) {
    const std::string where = "[" + item.Section + "] " + item.PropertyName;
    const TacPictureValue& v = item.Value;
    const bool ownPicture = !v.FileName.empty();
    if (!ownPicture && master.empty()) {
      problems.push_back(where + " lies in the master bitmap, which the skin does not name");
      continue;
    }
    const gfx::Bitmap* bmp = pictures.Get(ownPicture ? v.FileName : master, item.OnDisk);
    if (!bmp) continue;
    const bool whole = v.Form == TacPictureForm::External || v.Form == TacPictureForm::PlainFile;
    if (!whole && !Inside(v.R, *bmp)) {
      problems.push_back(where + " lies outside its " + std::to_string(bmp->Width()) + " x " +
                         std::to_string(bmp->Height()) + " picture");
    }
    if (v.ImageCount <= 0 && v.Form != TacPictureForm::PlainFile) {
      problems.push_back(where + " has no images");
    }
  }
  for (const TacSkinFont& font : skin.Options.Common.Fonts) {
    if (!skin.Content.ReadFile(font.FileName)) {
      problems.push_back("Font file " + font.FileName + " is missing");
    }
  }
  return problems;
}

}  // namespace skin::data
