// The skin tool: lists, verifies, packs and extracts skins.
//   skintool list                 the program's internal skins, one name a line
//   skintool list PATH            the entries of a package (or the files of a skin folder)
//   skintool verify PATH          exit 0 for a usable skin, else the problems and exit 1
//   skintool pack DIR OUT [PNG]   packs a skin folder (Options.dat and its files) into OUT,
//                                 with PNG as the preview when given
//   skintool extract NAME DIR     writes the internal skin NAME to DIR as "NAME extracted.asz"
//   skintool paint SKIN SECTION STATE WxH OUT.png [--bg RRGGBB]
//                                 paints the section (upper-case name) of SKIN for the state
//                                 as a control shows it over a parent of colour RRGGBB
//                                 (default ffffff); exit 2 for an unknown section
//   skintool sheet SKIN OUT.png   every skinned control kind in every state, as the program
//                                 shows it in that skin (drawn off screen)
// PATH is a package file ("NAME.asz") or a skin folder holding Options.dat; SKIN is that or an
// internal skin's name.
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "SkinPicture.h"
#include "SkinSheet.h"
#include "platform/gfx/GraphicsError.h"
#include "platform/gfx/PictureCodec.h"
#include "skin/data/SkinError.h"
#include "skin/data/acSkinCheck.h"
#include "skin/data/acSkinLoad.h"
#include "skin/data/acSkinPack.h"
#include "skin/data/acSkinSources.h"
#include "skin/internal/sInternalSkins.h"

namespace {

namespace fs = std::filesystem;
using namespace skin::data;

int Usage() {
  std::fputs(
      "usage: skintool list [PATH] | verify PATH | pack DIR OUT.asz [PREVIEW.png]\n"
      "       skintool extract NAME DIR\n"
      "       skintool paint SKIN SECTION STATE WIDTHxHEIGHT OUT.png [--bg RRGGBB]\n"
      "       skintool sheet SKIN OUT.png\n"
      "PATH is a package (NAME.asz) or a skin folder holding Options.dat\n",
      stderr);
  return 2;
}

// Loads the skin a package file or a skin folder holds.
std::unique_ptr<TacLoadedSkin> LoadPath(const fs::path& path) {
  const fs::path full = fs::absolute(path).lexically_normal();
  const fs::path named = full.has_filename() ? full : full.parent_path();
  const TsStoredSkins none;
  TacSkinLoadContext context;
  context.FullSkinDirectory = named.parent_path().string();
  context.InternalSkins = &none;
  auto skin = LoadSkin(named.filename().string(), context);
  if (!skin) throw ESkinError(path.string() + " is neither a skin package nor a skin folder");
  return skin;
}

// The files of a skin folder, sorted by name.
std::vector<fs::path> FolderFiles(const fs::path& dir) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.is_regular_file()) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

int ListInternal() {
  for (const TacInternalSkinData& skin : InternalSkins()) std::printf("%s\n", skin.Name);
  return 0;
}

// Writes the internal skin as the manager extracts it; the folder is made when missing.
int Extract(const std::string& name, const fs::path& dir) {
  TsStoredSkins skins;
  AddInternalSkins(skins);
  const int index = skins.IndexOf(name);
  if (index < 0) throw ESkinError("Skin does not exists.");
  std::printf("%s\n", ExtractByIndex(skins, index, dir.string()).c_str());
  return 0;
}

int List(const fs::path& path) {
  if (fs::is_directory(path)) {
    for (const fs::path& f : FolderFiles(path)) std::printf("%s\n", f.filename().c_str());
    return 0;
  }
  TacSkinConvertor c;
  if (!LoadSkinFromFile(path.string(), c)) throw ESkinError(path.string() + " not found");
  if (c.Options) std::printf("OPTIONS.DAT\t%zu\n", c.Options->size());
  for (const TacFileItem& f : c.Files) std::printf("%s\t%zu\n", f.Name.c_str(), f.Stream.size());
  return 0;
}

int Verify(const fs::path& path) {
  const auto problems = CheckSkin(*LoadPath(path));
  for (const std::string& p : problems) std::fprintf(stderr, "%s\n", p.c_str());
  return problems.empty() ? 0 : 1;
}

int Pack(const fs::path& dir, const fs::path& out, const char* preview) {
  std::optional<std::vector<std::uint8_t>> options;
  std::vector<TacPackEntry> files;
  for (const fs::path& f : FolderFiles(dir)) {
    auto bytes = gfx::ReadFileBytes(f.string());
    if (UpperCase(f.filename().string()) == UpperCase(acOptionsFile)) {
      options = std::move(bytes);
    } else {
      files.push_back({f.filename().string(), std::move(bytes)});
    }
  }
  if (!options) throw ESkinError(dir.string() + " holds no " + acOptionsFile);
  std::vector<std::uint8_t> png;
  if (preview) png = gfx::ReadFileBytes(preview);
  gfx::WriteFileBytes(out.string(), PackSkin(*options, files, png));
  return 0;
}

// A whole decimal or hexadecimal number, or false.
bool Number(std::string_view text, int& value, int base = 10) {
  const char* end = text.data() + text.size();
  auto [at, ec] = std::from_chars(text.data(), end, value, base);
  return ec == std::errc() && at == end && !text.empty();
}

// args: SKIN SECTION STATE WxH OUT [--bg RRGGBB]
int Paint(const std::vector<std::string>& args) {
  int state = 0, width = 0, height = 0, colour = 0xFFFFFF;
  const std::string& size = args[3];
  const std::size_t x = size.find('x');
  if (!Number(args[2], state) || x == std::string::npos ||
      !Number(std::string_view(size).substr(0, x), width) ||
      !Number(std::string_view(size).substr(x + 1), height) || width <= 0 || height <= 0 ||
      std::int64_t(width) * height > gfx::kMaxBitmapPixels || width > gfx::kMaxBitmapSide ||
      height > gfx::kMaxBitmapSide)
    return Usage();
  if (args.size() == 7) {
    if (args[5] != "--bg" || args[6].size() != 6 || !Number(args[6], colour, 16) || colour < 0)
      return Usage();
  } else if (args.size() != 5) {
    return Usage();
  }
  const auto model = skintool::LoadSkinModel(args[0]);
  const int section = model->GetSkinIndex(args[1]);
  if (section < 0) {
    std::fprintf(stderr, "skintool: the skin has no section %s\n", args[1].c_str());
    return 2;
  }
  const gfx::Bitmap picture =
      skintool::PaintSectionPicture(*model, section, state, width, height, std::uint32_t(colour));
  gfx::WriteFileBytes(args[4], gfx::EncodePng(picture));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && args[0] == "list") return ListInternal();
    if (args.size() == 2 && args[0] == "list") return List(args[1]);
    if (args.size() == 3 && args[0] == "extract") return Extract(args[1], args[2]);
    if (args.size() == 2 && args[0] == "verify") return Verify(args[1]);
    if ((args.size() == 3 || args.size() == 4) && args[0] == "pack") {
      return Pack(args[1], args[2], args.size() == 4 ? argv[4] : nullptr);
    }
    if ((args.size() == 6 || args.size() == 8) && args[0] == "paint") {
      return Paint({args.begin() + 1, args.end()});
    }
    if (args.size() == 3 && args[0] == "sheet") {
      gfx::WriteFileBytes(args[2], gfx::EncodePng(skintool::PaintSkinSheet(args[1])));
      return 0;
    }
    return Usage();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skintool: %s\n", e.what());
    return 1;
  }
}
