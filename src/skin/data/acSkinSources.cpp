#include "skin/data/acSkinSources.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "platform/gfx/GraphicsError.h"
#include "platform/gfx/PictureCodec.h"
#include "skin/data/SkinError.h"

namespace skin::data {

namespace fs = std::filesystem;

namespace {

std::string Slashes(std::string_view path) {
  std::string out(path);
  for (char& c : out) {
    if (c == '\\') c = '/';
  }
  return out;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

// path itself when it exists, else the one entry of its folder whose name equals its last
// part without regard to letter case.
std::optional<fs::path> FindNoCase(const fs::path& path) {
  std::error_code ec;
  if (fs::exists(path, ec)) return path;
  const std::string wanted = UpperCase(path.filename().string());
  for (const auto& entry : fs::directory_iterator(path.parent_path(), ec)) {
    if (UpperCase(entry.path().filename().string()) == wanted) return entry.path();
  }
  return std::nullopt;
}

std::vector<std::uint8_t> ReadBytes(const fs::path& path) {
  try {
    return gfx::ReadFileBytes(path.string());
  } catch (const gfx::GraphicsError& e) {
    throw ESkinError(e.what());
  }
}

}  // namespace

std::string GetAppPath() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return NormalDir(fs::current_path().string());
  return NormalDir(exe.parent_path().string());
}

std::string GetFullSkinDirectory(std::string_view skinDirectory, std::string_view appPath) {
  const std::string dir = Slashes(skinDirectory);
  const std::string app = NormalDir(appPath);
  if (StartsWith(dir, "..")) {
    // The parent: drop the trailing "/", then everything after the previous "/".
    std::string parent = app.substr(0, app.size() - 1);
    parent.erase(parent.find_last_of('/') + 1);
    return parent + dir.substr(std::min<std::size_t>(3, dir.size()));
  }
  if (StartsWith(dir, "./")) return app + dir.substr(2);
  if (dir == ".") return app;
  if (!StartsWith(dir, "/")) return app + dir;
  return dir;
}

std::string NormalDir(std::string_view dir) {
  std::string out = Slashes(dir);
  if (!out.empty() && out.back() != '/') out += '/';
  return out;
}

std::string StripSkinExt(std::string_view name) {
  const std::string_view ext = acSkinExt;
  if (name.size() > ext.size() &&
      UpperCase(name.substr(name.size() - ext.size())) == UpperCase(ext)) {
    name.remove_suffix(ext.size());
  }
  return std::string(name);
}

std::optional<TacSkinSource> ResolveSkinSource(std::string_view skinName,
                                               std::string_view fullSkinDirectory,
                                               const TsStoredSkins& internalSkins,
                                               const TacPreviewSource& preview) {
  TacSkinSource source;
  source.Name = StripSkinExt(skinName);
  const std::string dir = NormalDir(fullSkinDirectory);
  std::error_code ec;
  if (!dir.empty() && !source.Name.empty()) {
    const std::string folder = dir + source.Name + "/";
    // A folder has its options from the preview, or from its own file.
    const auto unpacked = [&] {
      return fs::is_directory(folder, ec) &&
             (preview.MemSkinFile || FindNoCase(fs::path(folder) / acOptionsFile));
    };
    const std::string packed = dir + source.Name + acSkinExt;
    if (!(preview.PreviewNeeded && unpacked()) && fs::is_regular_file(packed, ec)) {
      source.Mode = smExtPacked;
      source.Path = packed;
      return source;
    }
    if (unpacked()) {
      source.Mode = smExtUnpacked;
      source.Path = folder;
      return source;
    }
  }
  if (internalSkins.Count() == 0) return std::nullopt;
  source.Mode = smInternal;
  source.InternalIndex = internalSkins.IndexOf(source.Name);
  if (source.InternalIndex < 0) {
    source.InternalIndex = 0;
    source.Name = internalSkins.Items(0).Name();
  }
  return source;
}

std::string InternalFormatErrorMsg(std::string_view skinName) {
  return "Internal format error in the \"" + std::string(skinName) +
         "\" skin. Please, update this skin to latest version.";
}

TacSkinContent ReadSkinContent(const TacSkinSource& source, const TsStoredSkins& internalSkins,
                               const TacPreviewSource& preview) {
  TacSkinContent content;
  content.Source = source;
  auto takeOptions = [&content] {
    if (!content.Packed.Options) throw ESkinError(InternalFormatErrorMsg(content.Source.Name));
    content.OptionsText.emplace(content.Packed.Options->begin(), content.Packed.Options->end());
    content.Packed.Options.reset();
  };
  switch (source.Mode) {
    case smExtPacked:
      if (!LoadSkinFromFile(source.Path, content.Packed)) {
        throw ESkinError("Skin file not found: " + source.Path);
      }
      takeOptions();
      content.SkinPath = NormalDir(fs::path(source.Path).parent_path().string());
      break;
    case smExtUnpacked: {
      content.SkinPath = NormalDir(source.Path);
      if (preview.MemSkinFile) {
        content.OptionsText = *preview.MemSkinFile;
        break;
      }
      const auto options = FindNoCase(fs::path(content.SkinPath) / acOptionsFile);
      if (!options) throw ESkinError("Skin options not found in " + content.SkinPath);
      const auto bytes = ReadBytes(*options);
      content.OptionsText.emplace(bytes.begin(), bytes.end());
      break;
    }
    case smInternal: {
      const auto& packed = internalSkins.Items(source.InternalIndex).PackedData();
      if (packed.empty()) break;
      if (!ExtractPackedData(packed, content.Packed)) throw ESkinError(acNotPackedSkinMsg);
      takeOptions();
      break;
    }
  }
  return content;
}

std::optional<std::vector<std::uint8_t>> TacSkinContent::ReadFile(std::string_view name,
                                                                  bool onDisk) const {
  if (Source.Mode != smExtUnpacked && !onDisk) {
    const TacFileItem* item = Packed.FindFile(name);
    if (!item) return std::nullopt;
    return item->Stream;
  }
  const std::string file = Slashes(name);
  const fs::path path = StartsWith(file, "/") ? fs::path(file) : fs::path(SkinPath + file);
  const auto found = FindNoCase(path);
  std::error_code ec;
  if (!found || !fs::is_regular_file(*found, ec)) return std::nullopt;
  return ReadBytes(*found);
}

std::string ExtractByIndex(const TsStoredSkins& internalSkins, int index,
                           std::string_view destDir) {
  const TsStoredSkin& skin = internalSkins.Items(index);
  // The name becomes a file name in destDir and must not lead out of it.
  if (skin.Name().find('/') != std::string::npos || skin.Name() == "." || skin.Name() == "..") {
    throw ESkinError("The skin name \"" + skin.Name() + "\" cannot be a file name.");
  }
  const std::string dir = NormalDir(destDir);
  std::error_code ec;
  fs::create_directories(dir, ec);
  if (!fs::is_directory(dir, ec))
    throw ESkinError(std::string(destDir) + " directory creation error.");
  const std::string file = dir + skin.Name() + " extracted" + acSkinExt;
  try {
    gfx::WriteFileBytes(file, skin.PackedData());
  } catch (const gfx::GraphicsError& e) {
    throw ESkinError(e.what());
  }
  return file;
}

void ExtractInternalSkin(const TsStoredSkins& internalSkins, std::string_view nameOfSkin,
                         std::string_view destDir) {
  std::error_code ec;
  if (!fs::is_directory(std::string(destDir), ec)) throw ESkinError("Directory does not exists.");
  bool found = false;
  for (int i = 0; i < internalSkins.Count(); ++i) {
    if (internalSkins.Items(i).Name() == nameOfSkin) {
      ExtractByIndex(internalSkins, i, destDir);
      found = true;
    }
  }
  if (!found) throw ESkinError("Skin does not exists.");
}

}  // namespace skin::data
