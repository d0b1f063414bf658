#include "skin/data/acSkinSources.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/gfx/PictureCodec.h"
#include "skin/data/PackageTestSupport.h"
#include "skin/data/SkinError.h"
#include "skin/data/TempDir.h"
#include "skin/data/acSkinList.h"

namespace skin::data {
namespace {

using test::Bytes;

std::vector<std::uint8_t> Package(const std::string& options,
                                  const std::vector<std::uint8_t>& preview = {}) {
  const std::vector<TacPackEntry> files = {{"Master.BMP", Bytes("bmp")}};
  return PackSkin(Bytes(options), files, preview);
}

std::vector<std::uint8_t> PreviewPng(std::uint8_t shade) {
  gfx::Bitmap bmp(140, 100);
  bmp.Fill(gfx::MakePixel(shade, shade, shade, 255));
  return gfx::EncodePng(bmp);
}

void AddStored(TsStoredSkins& skins, const std::string& name, std::vector<std::uint8_t> data) {
  TsStoredSkin& s = skins.Add();
  s.SetName(name);
  s.SetPackedData(std::move(data));
}

TEST(SkinDirectory, ResolvedAgainstTheProgramFolder) {
  const std::string app = "/opt/museum/bin/";
  EXPECT_EQ(GetFullSkinDirectory("..\\Skins", app), "/opt/museum/Skins");
  EXPECT_EQ(GetFullSkinDirectory("../Skins", app), "/opt/museum/Skins");
  EXPECT_EQ(GetFullSkinDirectory(".\\Skins", app), "/opt/museum/bin/Skins");
  EXPECT_EQ(GetFullSkinDirectory(".", app), "/opt/museum/bin/");
  EXPECT_EQ(GetFullSkinDirectory(acDefSkinDirectory, app), "/opt/museum/bin/Skins");
  EXPECT_EQ(GetFullSkinDirectory("/srv/skins", app), "/srv/skins");
  // Only one parent step.
  EXPECT_EQ(GetFullSkinDirectory("../../S", app), "/opt/museum/../S");
  EXPECT_EQ(GetAppPath().back(), '/');
  EXPECT_TRUE(std::filesystem::is_directory(GetAppPath()));
}

TEST(SkinDirectory, NamesAndFolders) {
  EXPECT_EQ(NormalDir(""), "");
  EXPECT_EQ(NormalDir("a\\"), "a/");
  EXPECT_EQ(NormalDir("a/"), "a/");
  EXPECT_EQ(NormalDir("a"), "a/");
  EXPECT_EQ(StripSkinExt("Golden.AsZ"), "Golden");
  EXPECT_EQ(StripSkinExt(".asz"), ".asz");
  EXPECT_EQ(StripSkinExt("Golden"), "Golden");
}

TEST(StoredSkins, IndexOfIsExactAndChangesAreTold) {
  TsStoredSkins skins;
  int created = 0, changed = 0;
  skins.OnItemCreated = [&] { ++created; };
  skins.OnItemChanged = [&] { ++changed; };
  AddStored(skins, "Golden (внутренний)", {1, 2});
  AddStored(skins, "Retro (внутренний)", {3});
  EXPECT_EQ(created, 2);
  EXPECT_EQ(changed, 4);
  EXPECT_EQ(skins.IndexOf("Retro (внутренний)"), 1);
  EXPECT_EQ(skins.IndexOf("retro (внутренний)"), -1);
  EXPECT_EQ(skins.IndexOf("Retro"), -1);

  skins.Items(0).OrigName = "Golden.asz";
  skins.Items(0).Shadow1Blur = 4;
  skins.Items(1).Assign(skins.Items(0));
  EXPECT_EQ(skins.Items(1).Name(), "Golden (внутренний)");
  EXPECT_EQ(skins.Items(1).PackedData(), (std::vector<std::uint8_t>{1, 2}));
  EXPECT_EQ(skins.Items(1).Shadow1Blur, 4);
  EXPECT_EQ(skins.Items(1).OrigName, "");
}

TEST(SkinSource, PackageThenFolderThenStoredSkin) {
  test::TempDir dir;
  TsStoredSkins stored;
  EXPECT_FALSE(ResolveSkinSource("Any", dir.Dir(), stored));
  AddStored(stored, "First", {});
  AddStored(stored, "Second", Package("[GLOBALINFO]\nVERSION=9\n"));

  dir.Write("Packed.asz", Package("[A]\n"));
  dir.Write("Folder/Options.dat", Bytes("[B]\n"));
  auto s = ResolveSkinSource("Packed.ASZ", dir.Dir(), stored);
  EXPECT_EQ(s->Mode, smExtPacked);
  EXPECT_EQ(s->Name, "Packed");
  EXPECT_EQ(ResolveSkinSource("Folder", dir.Dir(), stored)->Mode, smExtUnpacked);
  s = ResolveSkinSource("Second", dir.Dir(), stored);
  EXPECT_EQ(s->Mode, smInternal);
  EXPECT_EQ(s->InternalIndex, 1);
  // An unknown name takes the first stored skin, and its name.
  s = ResolveSkinSource("Missing", dir.Dir(), stored);
  EXPECT_EQ(s->InternalIndex, 0);
  EXPECT_EQ(s->Name, "First");
}

TEST(SkinSource, APreviewPrefersTheFolderAndGivesItsOptionsText) {
  test::TempDir dir;
  TsStoredSkins stored;
  AddStored(stored, "First", {});
  dir.Write("Both.asz", Package("[P]\n"));
  dir.Write("Both/Options.dat", Bytes("[F]\n"));
  dir.Write("Bare/master.bmp", Bytes("bmp"));
  // Without a preview the package comes first, and a folder needs its options file.
  EXPECT_EQ(ResolveSkinSource("Both", dir.Dir(), stored)->Mode, smExtPacked);
  EXPECT_EQ(ResolveSkinSource("Bare", dir.Dir(), stored)->Mode, smInternal);
  // Once a preview came, the folder comes first.
  EXPECT_EQ(ResolveSkinSource("Both", dir.Dir(), stored, {true, nullptr})->Mode, smExtUnpacked);
  EXPECT_EQ(ResolveSkinSource("Bare", dir.Dir(), stored, {true, nullptr})->Mode, smInternal);
  // The preview's text stands for the options file; pictures still come from the folder.
  const std::string text = "[MEM]\n";
  const TacPreviewSource preview{true, &text};
  const auto source = ResolveSkinSource("Bare", dir.Dir(), stored, preview);
  ASSERT_EQ(source->Mode, smExtUnpacked);
  const TacSkinContent c = ReadSkinContent(*source, stored, preview);
  EXPECT_EQ(c.OptionsText, text);
  EXPECT_EQ(c.ReadFile("MASTER.BMP"), Bytes("bmp"));
  EXPECT_EQ(ReadSkinContent(*ResolveSkinSource("Both", dir.Dir(), stored, preview), stored, preview)
                .OptionsText,
            text);
}

TEST(SkinSource, ContentOfEachKind) {
  test::TempDir dir;
  TsStoredSkins stored;
  AddStored(stored, "Empty", {});
  AddStored(stored, "Stored", Package("[S]\n"));
  AddStored(stored, "NoOptions", [] {
    auto p = test::RawHeader(1);
    test::RawEntry(p, "a.bmp", Bytes("x"));
    return p;
  }());
  dir.Write("Packed.asz", Package("[P]\n"));
  dir.Write("Folder/OPTIONS.DAT", Bytes("[F]\n"));
  dir.Write("Folder/Pics/Bg.jpg", Bytes("jpg"));

  auto c = ReadSkinContent(*ResolveSkinSource("Packed", dir.Dir(), stored), stored);
  EXPECT_EQ(c.OptionsText, "[P]\n");
  EXPECT_EQ(c.SkinPath, dir.Dir());
  EXPECT_EQ(c.ReadFile("MASTER.bmp"), Bytes("bmp"));
  EXPECT_FALSE(c.ReadFile("Options.dat"));
  EXPECT_EQ(c.ReadFile("folder/pics/bg.jpg", true), std::nullopt);  // only the last part
  EXPECT_EQ(c.ReadFile("Folder/Pics/BG.JPG", true), Bytes("jpg"));

  c = ReadSkinContent(*ResolveSkinSource("Folder", dir.Dir(), stored), stored);
  EXPECT_EQ(c.OptionsText, "[F]\n");
  EXPECT_EQ(c.SkinPath, dir.Dir() + "Folder/");
  EXPECT_EQ(c.ReadFile("Pics\\BG.JPG"), Bytes("jpg"));
  EXPECT_EQ(c.ReadFile(dir.Dir() + "Folder/Pics/Bg.jpg"), Bytes("jpg"));
  EXPECT_FALSE(c.ReadFile("none.bmp"));

  c = ReadSkinContent(*ResolveSkinSource("Stored", dir.Dir(), stored), stored);
  EXPECT_EQ(c.OptionsText, "[S]\n");
  EXPECT_EQ(c.SkinPath, "");
  EXPECT_EQ(c.ReadFile("master.bmp"), Bytes("bmp"));

  c = ReadSkinContent(*ResolveSkinSource("Empty", dir.Dir(), stored), stored);
  EXPECT_FALSE(c.OptionsText);

  try {
    ReadSkinContent(*ResolveSkinSource("NoOptions", dir.Dir(), stored), stored);
    FAIL();
  } catch (const ESkinError& e) {
    EXPECT_EQ(std::string(e.what()), InternalFormatErrorMsg("NoOptions"));
  }
  dir.Write("Junk.asz", Bytes("not a package"));
  EXPECT_THROW(ReadSkinContent(*ResolveSkinSource("Junk", dir.Dir(), stored), stored), ESkinError);
}

TEST(SkinSource, Extraction) {
  test::TempDir dir;
  TsStoredSkins stored;
  AddStored(stored, "Golden (внутренний)", Package("[G]\n"));
  const std::string target = dir.Dir() + "out/deeper";
  const std::string file = ExtractByIndex(stored, 0, target);
  EXPECT_EQ(file, target + "/Golden (внутренний) extracted.asz");
  EXPECT_EQ(gfx::ReadFileBytes(file), stored.Items(0).PackedData());

  AddStored(stored, "../escape", Package("[E]\n"));
  EXPECT_THROW(ExtractByIndex(stored, 1, target), ESkinError);
  EXPECT_FALSE(std::filesystem::exists(dir.Dir() + "out/escape extracted.asz"));
  EXPECT_THROW(ExtractInternalSkin(stored, "Golden (внутренний)", dir.Dir() + "none"), ESkinError);
  EXPECT_THROW(ExtractInternalSkin(stored, "Golden", dir.Dir()), ESkinError);
  ExtractInternalSkin(stored, "Golden (внутренний)", dir.Dir());
  EXPECT_TRUE(std::filesystem::exists(dir.Dir() + "Golden (внутренний) extracted.asz"));
}

struct CountingListener : TacSkinListListener {
  int lists = 0, skins = 0;
  void SkinListChanged() override { ++lists; }
  void SkinChanged() override { ++skins; }
};

TEST(SkinList, StoredAndPackedSkinsWithPreviews) {
  test::TempDir dir;
  TsStoredSkins stored;
  AddStored(stored, "beta", Package("[x]\n", PreviewPng(10)));
  AddStored(stored, "Alpha", {});
  dir.Write("Zeta.asz", Package("[z]\n", PreviewPng(200)));
  dir.Write("Upper.ASZ", Package("[u]\n"));
  dir.Write(".hidden.asz", Package("[h]\n"));
  dir.Write("Dir.asz/Options.dat", Bytes("[d]\n"));
  dir.Write("Unpacked/Options.dat", Bytes("[u]\n"));

  TacSkinListController list;
  list.Sources = {&stored, dir.Dir(), true, true, nullptr};
  CountingListener listener;
  list.AddControl(&listener);
  list.AddControl(&listener);
  EXPECT_EQ(list.CtrlIndex(&listener), 0);

  std::vector<TacSkinListData> names;
  EXPECT_EQ(list.GetSkinNames(names, stAllSkins), "beta");
  ASSERT_EQ(names.size(), 3u);
  EXPECT_EQ(names[0].skName, "Alpha");
  EXPECT_EQ(names[0].skImageIndex, -1);
  EXPECT_EQ(names[1].skName, "beta");
  EXPECT_EQ(names[2].skName, "Zeta");
  EXPECT_EQ(names[2].skSkinMode, smExtPacked);
  ASSERT_EQ(list.ImgList.size(), 2u);
  EXPECT_EQ(list.ImgList[names[2].skImageIndex].At(0, 0), gfx::MakePixel(200, 200, 200, 255));
  EXPECT_EQ(listener.lists, 1);

  EXPECT_EQ(list.GetSkinNames(names, stUnpacked), "Zeta");
  EXPECT_EQ(names.size(), 1u);
  EXPECT_EQ(list.GetSkinNames(names, stPacked), "beta");
  EXPECT_EQ(names.size(), 2u);
  EXPECT_EQ(listener.lists, 1);  // not rebuilt while up to date

  list.Sources.External = false;
  list.MarkStale();
  list.GetSkinNames(names, stAllSkins);
  EXPECT_EQ(names.size(), 2u);
  EXPECT_EQ(listener.lists, 3);
  const std::string random = list.GetRandomSkin();
  EXPECT_TRUE(random == "Alpha" || random == "beta") << random;

  // A second manager with the same directory copies the default one's list.
  TacSkinListController second;
  second.Sources = {nullptr, dir.Dir(), true, true, &list};
  second.UpdateIfNeeded();
  EXPECT_EQ(second.SkinList.size(), 2u);
  EXPECT_EQ(second.ImgList.size(), 1u);

  list.SendSkinChanged();
  list.DelControl(&listener);
  list.SendSkinChanged();
  EXPECT_EQ(listener.skins, 1);
}

}  // namespace
}  // namespace skin::data
