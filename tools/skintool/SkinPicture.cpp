// What `skintool paint` draws; see SkinPicture.h.
#include "SkinPicture.h"

#include <filesystem>

#include "skin/data/SkinError.h"
#include "skin/data/acSkinLoad.h"
#include "skin/draw/sGraphUtils.h"
#include "skin/internal/sInternalSkins.h"

namespace skintool {

namespace fs = std::filesystem;
using namespace skin::data;

std::unique_ptr<TacSkinModel> LoadSkinModel(const std::string& skin) {
  TsStoredSkins stored;
  std::unique_ptr<TacLoadedSkin> loaded;
  if (fs::exists(skin)) {
    const fs::path full = fs::absolute(skin).lexically_normal();
    const fs::path named = full.has_filename() ? full : full.parent_path();
    TacSkinLoadContext context;
    context.FullSkinDirectory = named.parent_path().string();
    context.InternalSkins = &stored;  // none: the path alone
    loaded = LoadSkin(named.filename().string(), context);
    if (!loaded) throw ESkinError(skin + " is neither a skin package nor a skin folder");
  } else {
    AddInternalSkins(stored);
    const int index = stored.IndexOf(skin);
    if (index < 0) throw ESkinError("no skin named " + skin);
    loaded = std::make_unique<TacLoadedSkin>();
    loaded->Content = ReadSkinContent({smInternal, skin, "", index}, stored);
    loaded->Options = ReadSkinOptions(loaded->Content.OptionsText.value_or(""), 0, {});
  }
  return CreateSkinModel(loaded->Content, loaded->Options, {});
}

gfx::Bitmap PaintSectionPicture(const TacSkinModel& model, int sectionIndex, int state, int width,
                                int height, std::uint32_t parentColor) {
  gfx::Bitmap picture(width, height);
  // The parent is its colour alone: what the skin leaves transparent shows it.
  const skin::paint::TColor back = skin::paint::TColor(skin::paint::SwapRedBlue(parentColor));
  picture.Fill(gfx::PixelFromColor(std::uint32_t(back), 255));
  const skin::paint::TCacheInfo parent{nullptr, 0, 0, back, {}, false};
  skin::draw::PaintItem(&model, sectionIndex, parent, true, state, picture.Bounds(), {0, 0},
                        &picture);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) picture.Set(x, y, picture.At(x, y) | 0xFF000000);
  return picture;
}

}  // namespace skintool
