// Where a skin comes from: an external package ("NAME.asz" in the skin directory), an
// external folder ("NAME/Options.dat" and its pictures), or a skin stored in the program.
// Paths are POSIX paths; "\" in a configured path is read as "/".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "skin/data/acSkinPack.h"
#include "skin/data/sStoredSkins.h"

namespace skin::data {

// Kind of a skin's source.
enum TacSkinMode { smInternal = 0, smExtPacked = 1, smExtUnpacked = 2 };

// The skin directory when none is configured: the folder "Skins" beside the program.
inline constexpr const char* acDefSkinDirectory = "Skins";
// Extension of skin packages.
inline constexpr const char* acSkinExt = ".asz";
// Options file of an unpacked skin.
inline constexpr const char* acOptionsFile = "Options.dat";

// The running program's folder, with a trailing "/".
std::string GetAppPath();

// The skin directory resolved against the program's folder appPath (ending in "/"):
// "../X" is X in the parent folder (one step only), "./X" and a relative X are inside
// appPath, "." is appPath, an absolute path stays as it is.
std::string GetFullSkinDirectory(std::string_view skinDirectory, std::string_view appPath);

// dir with exactly one trailing "/" (an empty string stays empty).
std::string NormalDir(std::string_view dir);

// name without a trailing ".asz" in any case (only when something remains before it).
std::string StripSkinExt(std::string_view name);

// A resolved skin name.
struct TacSkinSource {
  TacSkinMode Mode = smInternal;
  std::string Name;        // the skin's name (shortened, or the first internal skin's)
  std::string Path;        // package file or skin folder; empty for internal skins
  int InternalIndex = -1;  // item of the stored skins when internal
};

// How a skin editor's live preview bends the choice of a skin's source.
struct TacPreviewSource {
  // A preview was received: a folder of the skin's name in the skin directory comes before a
  // package of that name.
  bool PreviewNeeded = false;
  // The options text a preview sent (acMemSkinFile): an unpacked skin takes its options from
  // it instead of its folder's Options.dat (its pictures still come from the folder).
  const std::string* MemSkinFile = nullptr;
};

// Resolves skinName: a package in fullSkinDirectory, else a folder holding Options.dat (in
// any letter case), else the stored skin of that name, else the first stored skin. Nothing
// when no stored skin exists either. With a preview, see TacPreviewSource.
std::optional<TacSkinSource> ResolveSkinSource(std::string_view skinName,
                                               std::string_view fullSkinDirectory,
                                               const TsStoredSkins& internalSkins,
                                               const TacPreviewSource& preview = {});

// A skin's options text and its pictures, read from its source.
struct TacSkinContent {
  TacSkinSource Source;
  // Folder that relative picture names of an unpacked skin are read from ("/"-terminated);
  // for an external package its directory, empty for internal skins.
  std::string SkinPath;
  // The options text; absent for a stored skin without package (every value defaults).
  std::optional<std::string> OptionsText;
  // Entries of a packed skin (external or internal).
  TacSkinConvertor Packed;

  // The bytes of a picture or font file named by the options text: a package entry matched
  // without regard to case for packed skins; otherwise (or onDisk) a file, absolute names as
  // they are, relative ones in SkinPath (letter case ignored when no exact match exists).
  // Absent when not found.
  std::optional<std::vector<std::uint8_t>> ReadFile(std::string_view name,
                                                    bool onDisk = false) const;
};

// Reads what source names. A damaged package raises ESkinError; so does a package without
// options entry (the internal format error, naming the skin).
TacSkinContent ReadSkinContent(const TacSkinSource& source, const TsStoredSkins& internalSkins,
                               const TacPreviewSource& preview = {});

// The message for a package without options.
std::string InternalFormatErrorMsg(std::string_view skinName);

// Writes the package of stored skin index unchanged to destDir/"NAME extracted.asz",
// creating destDir when missing; returns the file written. Raises ESkinError on failure.
std::string ExtractByIndex(const TsStoredSkins& internalSkins, int index, std::string_view destDir);
// Extracts every stored skin named nameOfSkin to destDir, which must exist. Raises ESkinError
// ("Directory does not exists.", "Skin does not exists.") otherwise.
void ExtractInternalSkin(const TsStoredSkins& internalSkins, std::string_view nameOfSkin,
                         std::string_view destDir);

}  // namespace skin::data
