#include "skin/data/acSkinLoad.h"

#include <gtest/gtest.h>

#include "skin/data/PackageTestSupport.h"
#include "skin/data/SkinError.h"
#include "skin/data/TempDir.h"

namespace skin::data {
namespace {

using test::Bytes;

std::vector<std::uint8_t> Package(const std::string& options) {
  return PackSkin(Bytes(options), std::vector<TacPackEntry>{{"MASTER.BMP", Bytes("bmp")}});
}

class SkinLoad : public ::testing::Test {
 protected:
  SkinLoad() {
    Add("Good", Package("[GLOBALINFO]\nCOLOR=5\n"));
    Add("Other", Package("[GLOBALINFO]\nCOLOR=6\n"));
    Add("BadValue", Package("[GLOBALINFO]\nBOXCHECKED=@0039@0000@0078\n"));
    auto truncated = Package("[GLOBALINFO]\nCOLOR=7\n");
    truncated.resize(truncated.size() - 3);
    Add("Truncated", truncated);
    Add("Empty", {});
    context.FullSkinDirectory = dir.Dir();
    context.InternalSkins = &stored;
  }
  void Add(const std::string& name, std::vector<std::uint8_t> data) {
    auto& s = stored.Add();
    s.SetName(name);
    s.SetPackedData(std::move(data));
  }
  // Expects name to fail and the skin in force to stay.
  void ExpectKept(const std::string& name) {
    const TacLoadedSkin* before = holder.Skin();
    const std::string beforeName = holder.SkinName();
    EXPECT_THROW(holder.SetSkinName(name, context), ESkinError) << name;
    EXPECT_EQ(holder.Skin(), before) << name;
    EXPECT_EQ(holder.SkinName(), beforeName) << name;
  }

  test::TempDir dir;
  TsStoredSkins stored;
  TacSkinLoadContext context;
  TacSkinHolder holder;
};

TEST_F(SkinLoad, AFailedLoadLeavesThePreviousSkin) {
  holder.SetSkinName("Good", context);
  ASSERT_TRUE(holder.Active());
  EXPECT_EQ(holder.SkinName(), "Good");
  EXPECT_EQ(holder.Skin()->Options.Palette[pcMainColor], 5);

  ExpectKept("BadValue");
  ExpectKept("Truncated");
  dir.Write("NoOptions.asz", [] {
    auto p = test::RawHeader(1);
    test::RawEntry(p, "a.bmp", Bytes("x"));
    return p;
  }());
  ExpectKept("NoOptions.asz");
  dir.Write("Junk.asz", Bytes("junk"));
  ExpectKept("Junk");
  EXPECT_EQ(holder.Skin()->Options.Palette[pcMainColor], 5);

  holder.SetSkinName("Other", context);
  EXPECT_EQ(holder.Skin()->Options.Palette[pcMainColor], 6);
}

TEST_F(SkinLoad, NamesResolveAndDefaultsApply) {
  holder.SetSkinName("Unknown.ASZ", context);
  EXPECT_EQ(holder.SkinName(), "Good");  // the first stored skin
  holder.SetSkinName("Empty", context);
  EXPECT_EQ(holder.SkinName(), "Empty");
  EXPECT_FALSE(holder.Skin()->Content.OptionsText);
  EXPECT_EQ(holder.Skin()->Options.Palette[pcMainColor], context.System.BtnFace);

  dir.Write("Folder/Options.dat", Bytes("[GLOBALINFO]\nCOLOR=9\n"));
  holder.SetSkinName("Folder", context);
  EXPECT_EQ(holder.Skin()->Content.Source.Mode, smExtUnpacked);
  EXPECT_EQ(holder.Skin()->Options.Palette[pcMainColor], 9);

  // No skin anywhere: none is in force.
  TsStoredSkins none;
  context.InternalSkins = &none;
  holder.SetSkinName("Nothing", context);
  EXPECT_FALSE(holder.Active());
}

}  // namespace
}  // namespace skin::data
