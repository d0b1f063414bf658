#include "skin/data/acSkinList.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>

#include "platform/gfx/GraphicsError.h"
#include "platform/gfx/PictureCodec.h"

namespace skin::data {

namespace fs = std::filesystem;

void TacSkinListController::MarkStale() {
  UpdateNeeded = true;
  SendListChanged();
}

void TacSkinListController::ClearList() {
  SkinList.clear();
  ImgList.clear();
}

void TacSkinListController::AddPreview(TacSkinListData& entry,
                                       const std::optional<std::vector<std::uint8_t>>& png) {
  if (!png) return;
  try {
    ImgList.push_back(gfx::DecodePng(*png));
    entry.skImageIndex = int(ImgList.size()) - 1;
  } catch (const gfx::GraphicsError&) {
    // A damaged preview only leaves the entry without picture.
  }
}

void TacSkinListController::UpdateData() {
  UpdateNeeded = false;
  if (Sources.DefaultList && Sources.DefaultList != this) {
    SkinList = Sources.DefaultList->SkinList;
    ImgList = Sources.DefaultList->ImgList;
    SendListChanged();
    return;
  }
  ClearList();
  if (Sources.Internal && Sources.InternalSkins) {
    for (int i = 0; i < Sources.InternalSkins->Count(); ++i) {
      const TsStoredSkin& skin = Sources.InternalSkins->Items(i);
      TacSkinListData entry{skin.Name(), smInternal, -1};
      AddPreview(entry, GetPreviewStream(skin.PackedData()));
      SkinList.push_back(entry);
    }
  }
  std::error_code ec;
  const std::string dir = NormalDir(Sources.FullSkinDirectory);
  if (Sources.External && !dir.empty() && fs::is_directory(dir, ec)) {
    for (const auto& item : fs::directory_iterator(dir, ec)) {
      const std::string name = item.path().filename().string();
      if (name.starts_with('.') || item.is_directory(ec)) continue;
      // Only ".asz" exactly; the name loses its first ".asz" in any letter case.
      if (item.path().extension() != acSkinExt) continue;
      const std::string skinName =
          std::string(name).erase(UpperCase(name).find(UpperCase(acSkinExt)), 4);
      TacSkinListData entry{skinName, smExtPacked, -1};
      AddPreview(entry, GetPreviewStream(item.path().string()));
      SkinList.push_back(entry);
    }
  }
  SendListChanged();
}

void TacSkinListController::UpdateIfNeeded() {
  if (UpdateNeeded) UpdateData();
}

void TacSkinListController::AddControl(TacSkinListListener* control) {
  if (CtrlIndex(control) < 0) FControls.push_back(control);
}

void TacSkinListController::DelControl(TacSkinListListener* control) {
  std::erase(FControls, control);
}

int TacSkinListController::CtrlIndex(const TacSkinListListener* control) const {
  const auto it = std::find(FControls.begin(), FControls.end(), control);
  return it == FControls.end() ? -1 : int(it - FControls.begin());
}

void TacSkinListController::SendListChanged() {
  for (TacSkinListListener* c : FControls) c->SkinListChanged();
}

void TacSkinListController::SendSkinChanged() {
  for (TacSkinListListener* c : FControls) c->SkinChanged();
}

std::string TacSkinListController::GetSkinNames(std::vector<TacSkinListData>& list,
                                                TacSkinType skinType) {
  UpdateIfNeeded();
  list.clear();
  for (const TacSkinListData& entry : SkinList) {
    const bool internal = entry.skSkinMode == smInternal;
    if (skinType == stAllSkins || (skinType == stPacked) == internal) list.push_back(entry);
  }
  const std::string first = list.empty() ? std::string() : list.front().skName;
  std::stable_sort(list.begin(), list.end(), [](const auto& a, const auto& b) {
    return UpperCase(a.skName) < UpperCase(b.skName);
  });
  return first;
}

std::string TacSkinListController::GetRandomSkin() {
  std::vector<TacSkinListData> all;
  GetSkinNames(all, stAllSkins);
  if (all.empty()) return {};
  std::mt19937 random(std::uint32_t(std::chrono::steady_clock::now().time_since_epoch().count()));
  return all[std::uniform_int_distribution<std::size_t>(0, all.size() - 1)(random)].skName;
}

}  // namespace skin::data
