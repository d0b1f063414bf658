// The list of skins a manager offers: its stored skins and the packages in its skin
// directory, with their preview pictures, rebuilt lazily and announced to registered
// controls.
#pragma once

#include <string>
#include <vector>

#include "platform/gfx/Bitmap.h"
#include "skin/data/acSkinSources.h"
#include "skin/data/sStoredSkins.h"

namespace skin::data {

// One offered skin.
struct TacSkinListData {
  std::string skName;  // the name to set as the skin name
  TacSkinMode skSkinMode = smInternal;
  int skImageIndex = -1;  // index of its preview in ImgList, −1 when none
};

// Which entries GetSkinNames selects. As the manager has always defined them, stUnpacked
// selects the external skins and stPacked the internal ones.
enum TacSkinType { stUnpacked = 0, stPacked = 1, stAllSkins = 2 };

// A control that shows the skin list and is told when it or the skin changes.
class TacSkinListListener {
 public:
  virtual ~TacSkinListListener() = default;
  // The list was rebuilt (the skin message's AC_SKINLISTCHANGED).
  virtual void SkinListChanged() = 0;
  // The skin name or the active state changed (AC_SKINCHANGED).
  virtual void SkinChanged() = 0;
};

// What the list is built from; set by the owning manager.
struct TacSkinListSources {
  const TsStoredSkins* InternalSkins = nullptr;
  std::string FullSkinDirectory;  // resolved skin directory
  bool Internal = true;           // SkinsFilter holds sfiInternal
  bool External = true;           // SkinsFilter holds sfiExternal
  // The default manager's list, when this manager is not the default one and both have the
  // same skin directory: then it is copied instead of read again.
  const class TacSkinListController* DefaultList = nullptr;
};

class TacSkinListController {
 public:
  TacSkinListSources Sources;             // set by the owner, which then calls MarkStale
  bool UpdateNeeded = true;               // the list must be rebuilt before use
  std::vector<TacSkinListData> SkinList;  // the offered skins
  std::vector<gfx::Bitmap> ImgList;       // preview pictures (140 × 100)

  // Marks the list stale and tells the registered controls.
  void MarkStale();
  // Rebuilds the list from Sources and tells the registered controls.
  void UpdateData();
  // UpdateData when UpdateNeeded.
  void UpdateIfNeeded();
  // Empties the list and the previews.
  void ClearList();

  // Registers a control (once) / unregisters it; its index or −1.
  void AddControl(TacSkinListListener* control);
  void DelControl(TacSkinListListener* control);
  int CtrlIndex(const TacSkinListListener* control) const;
  void SendListChanged();
  void SendSkinChanged();

  // Fills list with the entries of type skinType, sorted by name without regard to case,
  // and returns the name of the first entry selected before sorting (empty when none).
  std::string GetSkinNames(std::vector<TacSkinListData>& list, TacSkinType skinType);
  // A name drawn uniformly from all skins, or empty.
  std::string GetRandomSkin();

 private:
  void AddPreview(TacSkinListData& entry, const std::optional<std::vector<std::uint8_t>>& png);
  std::vector<TacSkinListListener*> FControls;
};

}  // namespace skin::data
