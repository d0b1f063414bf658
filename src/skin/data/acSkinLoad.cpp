#include "skin/data/acSkinLoad.h"

namespace skin::data {

std::unique_ptr<TacLoadedSkin> LoadSkin(std::string_view skinName,
                                        const TacSkinLoadContext& context) {
  static const TsStoredSkins kNone;
  const TsStoredSkins& stored = context.InternalSkins ? *context.InternalSkins : kNone;
  const auto source =
      ResolveSkinSource(skinName, context.FullSkinDirectory, stored, context.Preview);
  if (!source) return nullptr;
  auto skin = std::make_unique<TacLoadedSkin>();
  skin->Content = ReadSkinContent(*source, stored, context.Preview);
  skin->Options = ReadSkinOptions(skin->Content.OptionsText.value_or(""), context.Scale,
                                  context.System, context.CommonSections);
  return skin;
}

void TacSkinHolder::SetSkinName(std::string_view skinName, const TacSkinLoadContext& context) {
  auto skin = LoadSkin(skinName, context);
  std::unique_ptr<TacSkinModel> model;
  if (skin) {
    model = CreateSkinModel(skin->Content, skin->Options,
                            {context.Scale, context.Brightness, context.ExtendedBorders,
                             context.HueOffset, context.Saturation});
  }
  // Nothing above raised: the new skin replaces the old one.
  FSkinName = skin ? skin->Name() : std::string(StripSkinExt(skinName));
  FSkin = std::move(skin);
  FModel = std::move(model);
}

void TacSkinHolder::Clear() {
  FSkin.reset();
  FModel.reset();
}

}  // namespace skin::data
