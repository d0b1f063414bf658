#include "skin/data/acSkinCheck.h"

#include <gtest/gtest.h>

#include "platform/gfx/PictureCodec.h"
#include "skin/data/PackageTestSupport.h"

namespace skin::data {
namespace {

using test::Bytes;

std::vector<std::string> Check(const std::string& options, std::vector<TacPackEntry> files) {
  TsStoredSkins stored;
  auto& s = stored.Add();
  s.SetName("Skin");
  s.SetPackedData(PackSkin(Bytes(options), files));
  const auto skin = LoadSkin("Skin", {"", &stored, 0, {}, ""});
  return CheckSkin(*skin);
}

TEST(SkinCheck, PicturesMustExistDecodeAndHoldTheirItems) {
  const auto master = gfx::EncodeBmp(gfx::Bitmap(100, 50), false);
  const auto png = gfx::EncodePng(gfx::Bitmap(20, 20));
  const std::string good =
      "[GLOBALINFO]\nMASTERBITMAP=Master.bmp\nBOXCHECKED=@0000@0000@0090@0050@3@1\n"
      "EXBORDER=!EXT.PNG!2!0!3\n";
  EXPECT_TRUE(Check(good, {{"MASTER.BMP", master}, {"ext.png", png}}).empty());

  const auto problems = Check(good +
                                  "[BUTTON]\nBORDERSMASK=^0050^0000^0101^0050^0001^0001"
                                  "^0001^0001^1^0^1^1\nPATTERN=BG.JPG\n",
                              {{"MASTER.BMP", master}, {"EXT.PNG", Bytes("not a png")}});
  ASSERT_EQ(problems.size(), 3u);
  EXPECT_NE(problems[0].find("EXT.PNG cannot be read"), std::string::npos) << problems[0];
  EXPECT_NE(problems[1].find("[BUTTON] BORDERSMASK lies outside its 100 x 50"), std::string::npos)
      << problems[1];
  EXPECT_NE(problems[2].find("BG.JPG is missing"), std::string::npos) << problems[2];

  EXPECT_EQ(Check("[GLOBALINFO]\nBOXCHECKED=@0000@0000@0090@0050@0@1\nFontCount=1\n"
                  "FontFile0=A.TTF\n",
                  {})
                .size(),
            2u);  // no master bitmap named, font missing
}

}  // namespace
}  // namespace skin::data
