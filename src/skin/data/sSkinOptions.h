// Reading a skin's options text into records: every section with inheritance through
// PARENTCLASS and its three states, the global values, the outer effects, the palette, and
// the picture values with their resolution variants.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "skin/data/acIniFile.h"
#include "skin/data/acSkinTypes.h"
#include "skin/data/acSkinValues.h"

namespace skin::data {

// The section holding the global values.
inline constexpr std::string_view s_GlobalInfo = "GLOBALINFO";

// The section, then its parent, the parent's parent, and so on: the chain ends at a section
// without PARENTCLASS, with PARENTCLASS "?", naming a section that is missing, or naming one
// already in the chain (itself or a loop), and after 32 sections at most.
std::vector<const TacIniSection*> InheritanceChain(const TMemIniFile& ini,
                                                   std::string_view section);

// One section read as every section is (file order keeps gd's order).
TsGeneralData ReadSection(const TMemIniFile& ini, const TacIniSection& section);
// Every section of the file, in file order.
std::vector<TsGeneralData> ReadAllSections(const TMemIniFile& ini);

// GLOBALINFO's general values at scale index scale (0 to 3), plus TABSCOVERING of TABTOP and
// RIBBONTAB.
TsSkinData ReadGlobalData(const TMemIniFile& ini, int scale, const TacSystemColors& system);
// The two outer effects (0 lowered frame, 1 shadow).
std::array<TacOutEffData, 2> ReadOuterEffects(const TMemIniFile& ini, int scale,
                                              const TacSystemColors& system);
// The palette, from GLOBALINFO and the sections EDIT, HINT, SELECTION and MENUITEM in gd.
TacPalette ReadPalette(const TMemIniFile& ini, const std::vector<TsGeneralData>& gd,
                       const TacSystemColors& system);

// BlendColors(a, b, k): each channel (a × k + b × (255 − k)) >> 8.
TColor BlendColors(TColor a, TColor b, int k);

// A picture value as it makes an item: the section and key (PropertyName) it belongs to.
struct TacPictureItemDef {
  std::string Section;
  std::string PropertyName;  // the key, or key + suffix for an external resolution variant
  TacPictureValue Value;
  // Read from disk even for a packed skin (pictures named by overlay sections).
  bool OnDisk = false;
};

// Every picture value of the file at scale index scale, in file order, except the master
// bitmap's name: "^" and "!" keys with a resolution suffix make no item of their own but
// replace their base key's value at their scale; "@" and "~" keys each make their own item.
// A malformed value raises ESkinError naming its section and key.
std::vector<TacPictureItemDef> ReadPictureItems(const TMemIniFile& ini, int scale);

// Overlay sections (the manager's CommonSections) as they are kept: every line except ";"
// comments loses its spaces.
std::string NormalizeCommonSections(std::string_view text);

// Merges overlay sections other than GLOBALINFO into gd: a section of the same name is
// updated, another is added as a copy of the section its PARENTCLASS names (letter case
// ignored) or blank. STATES, USESTATE2, RESERVEDBOOLEAN, GIVEOWNFONT, GLOW, GLOWMARGIN and
// the state keys of all three states are read from the overlay, absent ones keeping the
// section's values. A key naming a ".BMP" file adds a whole-picture item named by the
// upper-cased key and section, read from disk.
void MergeCommonSections(const TMemIniFile& overlay, std::vector<TsGeneralData>& gd,
                         std::vector<TacPictureItemDef>& items);

// A skin's options text read whole.
struct TacSkinOptions {
  TsSkinData Common;
  std::vector<TsGeneralData> gd;
  std::array<TacOutEffData, 2> oe;
  TacPalette Palette{};
  std::vector<TacPictureItemDef> Items;
};

// Reads text (absent options give every default: pass an empty text), merging the overlay
// sections commonSections (in the form NormalizeCommonSections keeps) before the palette.
TacSkinOptions ReadSkinOptions(std::string_view text, int scale, const TacSystemColors& system,
                               std::string_view commonSections = {});

}  // namespace skin::data
