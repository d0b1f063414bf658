// The program's internal skins: eight packages made at build time by tools/skin-builder from
// src/skin/resources and embedded in the executable, offered in a fixed order through the
// stored skins of a manager.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "skin/data/sStoredSkins.h"

namespace skin::data {

// One embedded package.
struct TacInternalSkinData {
  const char* Name;      // the name offered to users, " (внутренний)" included
  const char* OrigName;  // file the package stands for; empty but for the program's own skin
  const std::uint8_t* Data;
  std::size_t Size;
};

// The program's own skin, the one in force at start.
inline constexpr std::string_view acDefaultInternalSkin = "BlueGauze (внутренний)";

// Every internal skin, in the order they are offered.
std::span<const TacInternalSkinData> InternalSkins();
// The internal skin named exactly name, or null.
const TacInternalSkinData* FindInternalSkin(std::string_view name);
// The package bytes of an internal skin.
std::span<const std::uint8_t> PackageOf(const TacInternalSkinData& skin);

// Appends every internal skin to skins, in order, with its name, package and original name.
void AddInternalSkins(TsStoredSkins& skins);

}  // namespace skin::data
