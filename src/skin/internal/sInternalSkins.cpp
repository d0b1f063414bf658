#include "skin/internal/sInternalSkins.h"

namespace skin::data {

// Defined in the source the skin builder generates.
extern const TacInternalSkinData acInternalSkinData[];
extern const int acInternalSkinCount;

std::span<const TacInternalSkinData> InternalSkins() {
  return {acInternalSkinData, std::size_t(acInternalSkinCount)};
}

const TacInternalSkinData* FindInternalSkin(std::string_view name) {
  for (const TacInternalSkinData& skin : InternalSkins()) {
    if (skin.Name == name) return &skin;
  }
  return nullptr;
}

std::span<const std::uint8_t> PackageOf(const TacInternalSkinData& skin) {
  return {skin.Data, skin.Size};
}

void AddInternalSkins(TsStoredSkins& skins) {
  for (const TacInternalSkinData& skin : InternalSkins()) {
    TsStoredSkin& item = skins.Add();
    item.SetName(skin.Name);
    const auto bytes = PackageOf(skin);
    item.SetPackedData({bytes.begin(), bytes.end()});
    item.OrigName = skin.OrigName;
  }
}

}  // namespace skin::data
