// `skintool paint`: the picture it writes (size, format, opaque pixels, the engine's painting),
// skins named by internal name, package or folder, and its refusals.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "SkinPicture.h"
#include "platform/gfx/PictureCodec.h"
#include "skin/data/TempDir.h"
#include "skin/data/acSkinSources.h"
#include "skin/data/sStoredSkins.h"
#include "skin/internal/sInternalSkins.h"

namespace {

using skin::data::test::TempDir;

// Runs skintool with args (already quoted); the exit status, stderr into *err.
int RunTool(const std::string& args, const TempDir& dir, std::string* err = nullptr) {
  const std::string errFile = dir.Dir() + "stderr.txt";
  const int status = std::system((std::string(MC_SKINTOOL) + " " + args + " 2>" + errFile).c_str());
  if (err) {
    const auto bytes = gfx::ReadFileBytes(errFile);
    err->assign(bytes.begin(), bytes.end());
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string FirstSkin() {
  return skin::data::InternalSkins().front().Name;
}

std::string Quoted(const std::string& s) {
  return "'" + s + "'";
}

std::uint32_t Be32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return std::uint32_t(b[at]) << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3];
}

TEST(SkinPaintTest, WritesAnOpaqueEightBitPngOfTheSize) {
  TempDir dir;
  const std::string out = dir.Dir() + "button.png";
  ASSERT_EQ(
      RunTool("paint " + Quoted(FirstSkin()) + " BUTTON 1 100x25 " + Quoted(out) + " --bg 123456",
              dir),
      0);
  const auto png = gfx::ReadFileBytes(out);
  ASSERT_GT(png.size(), 33u);
  // IHDR: width, height, bit depth 8, colour type RGB (2) or RGBA (6), not interlaced.
  EXPECT_EQ(Be32(png, 16), 100u);
  EXPECT_EQ(Be32(png, 20), 25u);
  EXPECT_EQ(png[24], 8);
  EXPECT_TRUE(png[25] == 2 || png[25] == 6);
  EXPECT_EQ(png[28], 0);
  const gfx::Bitmap picture = gfx::DecodePng(png);
  const auto model = skintool::LoadSkinModel(FirstSkin());
  const gfx::Bitmap want =
      skintool::PaintSectionPicture(*model, model->GetSkinIndex("BUTTON"), 1, 100, 25, 0x123456);
  EXPECT_EQ(picture, want);
  for (int y = 0; y < 25; ++y)
    for (int x = 0; x < 100; ++x) ASSERT_EQ(picture.At(x, y) >> 24, 255u);
}

TEST(SkinPaintTest, PackagesAndFoldersPaintAsTheInternalSkin) {
  TempDir dir;
  skin::data::TsStoredSkins stored;
  skin::data::AddInternalSkins(stored);
  const std::string package = skin::data::ExtractByIndex(stored, 0, dir.Dir());
  const auto internal = skintool::LoadSkinModel(FirstSkin());
  const auto packed = skintool::LoadSkinModel(package);
  const int edit = internal->GetSkinIndex("EDIT");
  ASSERT_GE(edit, 0);
  EXPECT_EQ(skintool::PaintSectionPicture(*packed, packed->GetSkinIndex("EDIT"), 0, 40, 30, 0),
            skintool::PaintSectionPicture(*internal, edit, 0, 40, 30, 0));
  EXPECT_EQ(
      RunTool("paint " + Quoted(package) + " EDIT 0 40x30 " + Quoted(dir.Dir() + "e.png"), dir), 0);
}

TEST(SkinPaintTest, ParentColourShowsWhereTheSkinIsTransparent) {
  // Over two parent colours, a section's picture differs only where the skin lets the parent
  // through; a fully transparent state shows the parent alone.
  const auto model = skintool::LoadSkinModel(FirstSkin());
  bool sawTransparent = false;
  for (int s = 0; s < int(model->gd.size()); ++s) {
    if (model->gd[s].Props[0].Transparency != 100 ||
        model->IsValidImgIndex(model->gd[s].BorderIndex))
      continue;
    sawTransparent = true;
    const gfx::Bitmap p = skintool::PaintSectionPicture(*model, s, 0, 12, 9, 0xA0B0C0);
    EXPECT_EQ(p.At(6, 4), gfx::PixelFromColor(0xC0B0A0, 255)) << model->gd[s].ClassName;
  }
  if (!sawTransparent) GTEST_SKIP() << "no fully transparent section without border";
}

TEST(SkinPaintTest, RefusesUnknownSectionsAndBadArguments) {
  TempDir dir;
  const std::string out = dir.Dir() + "x.png";
  std::string err;
  EXPECT_EQ(RunTool("paint " + Quoted(FirstSkin()) + " NO_SUCH_SECTION 0 10x10 " + Quoted(out), dir,
                    &err),
            2);
  EXPECT_NE(err.find("NO_SUCH_SECTION"), std::string::npos) << err;
  EXPECT_FALSE(std::filesystem::exists(out));
  for (const char* bad :
       {"BUTTON 0 10by10", "BUTTON 0 0x10", "BUTTON x 10x10", "BUTTON 0 10x10 out.png --bg 12345",
        "BUTTON 0 10x10 o.png --bg -12345", "BUTTON 0 10x10 o.png --fg 123456"}) {
    EXPECT_EQ(RunTool("paint " + Quoted(FirstSkin()) + " " + std::string(bad), dir), 2) << bad;
  }
  EXPECT_EQ(RunTool("paint no-such-skin BUTTON 0 10x10 " + Quoted(out), dir, &err), 1);
}

TEST(SkinPaintTest, NoKeyColourInAnySectionOfAnyInternalSkin) {
  // Painted over a parent that is not the key colour, no section of any skin in any state
  // shows a key-coloured pixel: transparent pictures let the parent through.
  for (const auto& internal : skin::data::InternalSkins()) {
    const auto model = skintool::LoadSkinModel(internal.Name);
    for (int s = 0; s < int(model->gd.size()); ++s) {
      for (int state = 0; state < 3; ++state) {
        for (auto [w, h] : {std::pair{64, 40}, {7, 5}}) {
          const gfx::Bitmap p = skintool::PaintSectionPicture(*model, s, state, w, h, 0x336699);
          int keys = 0;
          for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) keys += (p.At(x, y) & 0xFFFFFF) == 0xFF00FF;
          EXPECT_EQ(keys, 0) << internal.Name << " " << model->gd[s].ClassName << " state " << state
                             << " " << w << "x" << h;
        }
      }
    }
  }
}

TEST(SkinPaintTest, FramesShowTheirSectionInsideTheirCorners) {
  // The innermost pixel of each corner slice lies inside the frame's outline: whatever the
  // parent's colour, an opaque section shows the same there.
  for (const auto& internal : skin::data::InternalSkins()) {
    const auto model = skintool::LoadSkinModel(internal.Name);
    for (const char* name : {"EDIT", "PANEL", "PANEL_LOW", "HINT", "MAINMENU", "GROUPBOX"}) {
      const int s = model->GetSkinIndex(name);
      ASSERT_GE(s, 0) << name;
      const int item = model->gd[s].BorderIndex;
      ASSERT_TRUE(model->IsValidImgIndex(item)) << name;
      const auto& md = model->ma[item];
      for (int state = 0; state < 3; ++state) {
        if (model->gd[s].Props[std::min(state, model->gd[s].States - 1)].Transparency != 0)
          continue;
        const gfx::Bitmap a = skintool::PaintSectionPicture(*model, s, state, 40, 30, 0x000000);
        const gfx::Bitmap b = skintool::PaintSectionPicture(*model, s, state, 40, 30, 0xFFFFFF);
        for (auto [x, y] : {std::pair{md.WL - 1, md.WT - 1},
                            {40 - md.WR, md.WT - 1},
                            {md.WL - 1, 30 - md.WB},
                            {40 - md.WR, 30 - md.WB}})
          EXPECT_EQ(a.At(x, y), b.At(x, y))
              << internal.Name << " " << name << " state " << state << " at " << x << "," << y;
      }
    }
  }
}

}  // namespace
