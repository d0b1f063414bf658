// `skintool sheet`: one picture of every skinned control kind in every state, off screen, for
// an internal skin by name and the same skin as a package; refusals of what is no skin.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <utility>

#include "TestOutput.h"
#include "platform/gfx/PictureCodec.h"
#include "skin/data/TempDir.h"
#include "skin/data/acSkinSources.h"
#include "skin/data/sStoredSkins.h"
#include "skin/internal/sInternalSkins.h"

namespace {

using skin::data::test::TempDir;

int RunTool(const std::string& args) {
  const int status = std::system((std::string(MC_SKINTOOL) + " " + args + " 2>/dev/null").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Quoted(const std::string& s) {
  return "'" + s + "'";
}

TEST(SkinSheetTest, ASheetOfEveryKindAndStateWithoutAKeyColouredPixel) {
  const std::string skin = skin::data::InternalSkins().front().Name;
  const std::string out = (tests::OutputFolder("skintool") / "sheet.png").string();
  ASSERT_EQ(RunTool("sheet " + Quoted(skin) + " " + Quoted(out)), 0);
  const gfx::Bitmap sheet = gfx::DecodePng(gfx::ReadFileBytes(out));
  // Eleven kinds of 62 pixels and five states of 150 with their labels, in a window frame.
  EXPECT_GE(sheet.Width(), 96 + 5 * 150);
  EXPECT_GE(sheet.Height(), 24 + 11 * 62);
  int fuchsia = 0;
  for (int y = 0; y < sheet.Height(); ++y)
    for (int x = 0; x < sheet.Width(); ++x) fuchsia += (sheet.At(x, y) & 0xFFFFFF) == 0xFF00FF;
  EXPECT_EQ(fuchsia, 0);
  // The panels, made before the form shows, wear the skin in every cell: inside the bevel the
  // normal one is the disabled one (which is painted again later). The client area (846 × 706)
  // lies in the frame's borders, as wide below as at the sides.
  const int side = (sheet.Width() - 846) / 2, top = sheet.Height() - 706 - side;
  for (const auto& [x, y] : {std::pair{111, 37}, std::pair{131, 72}})
    EXPECT_EQ(sheet.At(side + x, top + y), sheet.At(side + x + 4 * 150, top + y)) << x << "," << y;

  // The same skin as a package gives the same sheet.
  TempDir dir;
  skin::data::TsStoredSkins stored;
  skin::data::AddInternalSkins(stored);
  const std::string package = skin::data::ExtractByIndex(stored, 0, dir.Dir());
  const std::string fromPackage = dir.Dir() + "sheet.png";
  ASSERT_EQ(RunTool("sheet " + Quoted(package) + " " + Quoted(fromPackage)), 0);
  EXPECT_EQ(gfx::DecodePng(gfx::ReadFileBytes(fromPackage)), sheet);
}

TEST(SkinSheetTest, WhatIsNoSkinIsRefused) {
  TempDir dir;
  EXPECT_EQ(RunTool("sheet 'No such skin' " + Quoted(dir.Dir() + "a.png")), 1);
  dir.Write("junk.asz", std::string("not a package"));
  EXPECT_EQ(RunTool("sheet " + Quoted(dir.Dir() + "junk.asz") + " " + Quoted(dir.Dir() + "b.png")),
            1);
  EXPECT_EQ(RunTool("sheet"), 2);
}

}  // namespace
