// Skins stored inside the program (the manager's InternalSkins): each one a package's bytes
// with its name and some informative properties.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gfx/Bitmap.h"
#include "skin/data/acColor.h"

namespace skin::data {

class TsStoredSkins;

// One internal skin. Only Name and PackedData take part in loading; changing them tells the
// collection, as the skin list depends on them.
class TsStoredSkin {
 public:
  const std::string& Name() const { return FName; }
  // Sets the name offered to users and matched by the skin name (exact, case-sensitive).
  void SetName(std::string name);
  const std::vector<std::uint8_t>& PackedData() const { return FPackedData; }
  // Sets the package bytes (streamed as "Data").
  void SetPackedData(std::vector<std::uint8_t> data);
  // Copies another stored skin: package, master bitmap and every property except OrigName.
  void Assign(const TsStoredSkin& source);

  std::string Author;              // informative
  std::string Description;         // informative
  double Version = 0;              // informative
  TColor Shadow1Color = 0;         // informative
  int Shadow1Offset = 0;           // informative
  int Shadow1Transparency = 0;     // informative
  int Shadow1Blur = -1;            // informative
  TColor BorderColor = clFuchsia;  // informative
  gfx::Bitmap MasterBitmap;        // informative
  std::string OrigName;            // file the package came from (streamed as "OriginName")

 private:
  friend class TsStoredSkins;
  explicit TsStoredSkin(TsStoredSkins& collection) : FCollection(collection) {}
  TsStoredSkins& FCollection;
  std::string FName;
  std::vector<std::uint8_t> FPackedData;
};

// The collection, in the order the skins are offered.
class TsStoredSkins {
 public:
  // Called after an item is created (the skin list becomes stale).
  std::function<void()> OnItemCreated;
  // Called after an item's name or package changes (the manager's OnSkinListChanged).
  std::function<void()> OnItemChanged;

  // Appends an empty item and returns it.
  TsStoredSkin& Add();
  void Delete(int index);
  int Count() const { return int(FItems.size()); }
  TsStoredSkin& Items(int index) { return *FItems.at(index); }
  const TsStoredSkin& Items(int index) const { return *FItems.at(index); }
  // Index of the first item whose name equals name exactly, or −1.
  int IndexOf(std::string_view name) const;

 private:
  friend class TsStoredSkin;
  void Changed();
  std::vector<std::unique_ptr<TsStoredSkin>> FItems;
};

}  // namespace skin::data
