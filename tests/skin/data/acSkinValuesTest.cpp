#include "skin/data/acSkinValues.h"

#include <gtest/gtest.h>

#include "skin/data/SkinError.h"

namespace skin::data {
namespace {

TEST(SkinValues, Integers) {
  EXPECT_EQ(StrToIntOpt("-12"), -12);
  EXPECT_EQ(StrToIntOpt("+7"), 7);
  EXPECT_EQ(StrToIntOpt("$FF"), 255);
  EXPECT_EQ(StrToIntOpt("0x10"), 16);
  EXPECT_EQ(StrToIntOpt("$FFFFFFFF"), -1);
  EXPECT_EQ(StrToIntOpt("-2147483648"), INT32_MIN);
  EXPECT_EQ(StrToIntOpt("2147483648"), std::nullopt);
  EXPECT_EQ(StrToIntOpt("$1FFFFFFFF"), std::nullopt);
  EXPECT_EQ(StrToIntOpt("12a"), std::nullopt);
  EXPECT_EQ(StrToIntOpt(""), std::nullopt);
  EXPECT_EQ(StrToIntOpt("$"), std::nullopt);
  EXPECT_EQ(StrToIntOpt("- 1"), std::nullopt);
  EXPECT_EQ(StrToInt64Opt("-2565928"), -2565928);
  EXPECT_EQ(std::uint32_t(*StrToInt64Opt("-2565928")), 0xFFD8D8D8u);
  EXPECT_TRUE(StrToBoolValue("TRUE"));
  EXPECT_TRUE(StrToBoolValue("1"));
  EXPECT_FALSE(StrToBoolValue("true"));
  EXPECT_FALSE(StrToBoolValue("2"));
  EXPECT_EQ(StrToRealOpt("8.15"), 8.15);
  EXPECT_EQ(StrToRealOpt("8,15"), std::nullopt);
}

TEST(SkinValues, GlyphAndBorderValues) {
  const auto glyph = ParsePictureValue("@0039@0000@0078@0026@3@1");
  ASSERT_TRUE(glyph);
  EXPECT_EQ(glyph->Form, TacPictureForm::Glyph);
  EXPECT_EQ(glyph->R, (gfx::TRect{39, 0, 78, 26}));
  EXPECT_EQ(glyph->ImageCount, 3);
  EXPECT_EQ(glyph->MaskType, 1);
  EXPECT_EQ(glyph->DrawMode, 0);
  EXPECT_EQ(glyph->ImgType, itisaGlyph);

  const auto border = ParsePictureValue("^0078^0048^0156^0099^0001^0001^0001^0001^1^0^1^1");
  ASSERT_TRUE(border);
  EXPECT_EQ(border->R, (gfx::TRect{78, 48, 156, 99}));
  EXPECT_EQ(border->WL + border->WT + border->WR + border->WB, 4);
  EXPECT_EQ(border->WT, 1);
  EXPECT_EQ(border->ImageCount, 1);
  EXPECT_EQ(border->MaskType, 0);
  EXPECT_EQ(border->DrawMode, 1);
  EXPECT_EQ(border->BorderWidth, 1);
  EXPECT_EQ(border->ImgType, itisaBorder);

  // No widths: the border width, else a third of one image each way.
  const auto uniform = ParsePictureValue("^0000^0000^0090^0060^0000^0000^0000^0000^1^0^0^3");
  EXPECT_EQ(uniform->WL, 3);
  EXPECT_EQ(uniform->WB, 3);
  const auto derived = ParsePictureValue("^0000^0000^0090^0060^0000^0000^0000^0000^2^1^0^0");
  EXPECT_EQ(derived->WL, 15);  // 90 / (2 × 3)
  EXPECT_EQ(derived->WT, 10);  // 60 / (1 × 3 + 3)
  // No images: nothing to divide by, no widths.
  const auto none = ParsePictureValue("^0000^0000^0090^0060^0000^0000^0000^0000^0^0^0^0");
  EXPECT_EQ(none->WL, 0);
  EXPECT_EQ(none->WT, 20);
}

TEST(SkinValues, MalformedFixedWidthValuesAreRejected) {
  EXPECT_THROW(ParsePictureValue("@0039@0000@0078@0026@3"), ESkinError);  // too short
  EXPECT_THROW(ParsePictureValue("@0039@0000@0078@0026@3@"), ESkinError);
  EXPECT_THROW(ParsePictureValue("@00A9@0000@0078@0026@3@1"), ESkinError);
  EXPECT_THROW(ParsePictureValue("^0078^0048^0156^0099^0001^0001^0001^0001^1^0^1"), ESkinError);
  EXPECT_THROW(ParsePictureValue("~0078~0000~0156~0048~0"), ESkinError);
  EXPECT_THROW(ParsePictureValue("@"), ESkinError);
}

TEST(SkinValues, TextureExternalAndPlainValues) {
  const auto texture = ParsePictureValue("~0078~0000~0156~0048~00");
  EXPECT_EQ(texture->Form, TacPictureForm::Texture);
  EXPECT_EQ(texture->R, (gfx::TRect{78, 0, 156, 48}));
  EXPECT_EQ(texture->ImageCount, 1);
  EXPECT_EQ(texture->ImgType, itisaTexture);
  EXPECT_EQ(texture->FileName, "");
  const auto ownSource = ParsePictureValue("~0000~0000~0010~0010~05~1~TEX.BMP");
  EXPECT_EQ(ownSource->DrawMode, 5);
  EXPECT_EQ(ownSource->MaskType, 1);
  EXPECT_EQ(ownSource->FileName, "TEX.BMP");

  auto glow = *ParsePictureValue("!EXTBORD.PNG!2!0!3!0025!0050!0025!0025!0");
  EXPECT_EQ(glow.Form, TacPictureForm::External);
  EXPECT_EQ(glow.FileName, "EXTBORD.PNG");
  EXPECT_EQ(glow.ImageCount, 2);
  EXPECT_EQ(glow.ImgType, itisaGlow);
  FitToPicture(glow, 200, 120);
  EXPECT_EQ(glow.R, (gfx::TRect{0, 0, 200, 120}));
  EXPECT_EQ(glow.WL, 25);
  EXPECT_EQ(glow.WT, 50);
  EXPECT_EQ(glow.WB, 25);

  auto corner = *ParsePictureValue("!TOPRIGHT.BMP!1!1!2");
  EXPECT_EQ(corner.ImgType, itisaGlyph);
  EXPECT_EQ(corner.DrawMode, 0);
  FitToPicture(corner, 30, 60);
  EXPECT_EQ(corner.WL, 10);
  EXPECT_EQ(corner.WT, 10);  // 60 / (1 × 3 + 3)
  // Zero images and mask type −1 divide nothing by zero.
  auto odd = *ParsePictureValue("!X.PNG!0!-1!9!A");
  EXPECT_EQ(odd.ImgType, itisaPngGlyph);
  FitToPicture(odd, 30, 60);
  EXPECT_EQ(odd.WL, 0);
  EXPECT_EQ(odd.WT, 0);
  auto huge = *ParsePictureValue("!X.PNG!2000000000!2000000000");
  FitToPicture(huge, 30, 60);
  EXPECT_EQ(huge.WL, 0);
  EXPECT_EQ(huge.WT, 0);

  EXPECT_EQ(ParsePictureValue("BG.JPG")->Form, TacPictureForm::PlainFile);
  EXPECT_EQ(ParsePictureValue("PICS\\A.BMP")->FileName, "PICS\\A.BMP");
  EXPECT_FALSE(ParsePictureValue("N/A"));
  EXPECT_FALSE(ParsePictureValue("A.PNG"));
  EXPECT_FALSE(ParsePictureValue(""));
}

TEST(SkinValues, ScaleInt) {
  EXPECT_EQ(ScaleInt(17, 0), 17);
  EXPECT_EQ(ScaleInt(17, 1), 21);
  EXPECT_EQ(ScaleInt(17, 2), 25);
  EXPECT_EQ(ScaleInt(17, 3), 34);
  EXPECT_EQ(ScaleInt(-7, 1), -8);
  EXPECT_EQ(ScaleInt(INT32_MAX, 3), INT32_MAX);
  EXPECT_EQ(ScaleInt(INT32_MIN, 2), INT32_MIN);
}

}  // namespace
}  // namespace skin::data
