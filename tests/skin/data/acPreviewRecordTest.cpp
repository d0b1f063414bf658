#include "skin/data/acPreviewRecord.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace skin::data {
namespace {

TEST(PreviewRecord, FieldsAreReadAtTheirOffsetsUpToAZeroOrTheirEnd) {
  std::vector<std::uint8_t> block(acSkinDataSize + 10, 'x');  // longer blocks are fine
  block[0] = 0x00, block[1] = 0xA4, block[2] = 0, block[3] = 0;
  block[4 + 5] = 0;        // the name: five bytes
  block[132 + 511] = 'd';  // the folder fills its field: 512 bytes, no zero
  block[644 + 3] = 0;      // the options text: three bytes
  const auto record = ReadSkinData(block.data(), block.size());
  ASSERT_TRUE(record);
  EXPECT_EQ(record->Magic, ASE_MSG);
  EXPECT_EQ(record->SkinName, "xxxxx");
  EXPECT_EQ(record->SkinDir, std::string(511, 'x') + "d");
  EXPECT_EQ(record->Data, "xxx");

  const TacSkinData sent{ASE_MSG, "Name", "/skins", "[GLOBALINFO]\nVERSION=9\n"};
  const std::vector<std::uint8_t> written = WriteSkinData(sent);
  ASSERT_EQ(written.size(), 30645u);
  const auto back = ReadSkinData(written.data(), written.size());
  ASSERT_TRUE(back);
  EXPECT_EQ(back->SkinName, sent.SkinName);
  EXPECT_EQ(back->SkinDir, sent.SkinDir);
  EXPECT_EQ(back->Data, sent.Data);
  // A text longer than its field is cut to it.
  const auto cut =
      ReadSkinData(WriteSkinData({ASE_MSG, std::string(200, 'n'), "", ""}).data(), acSkinDataSize);
  EXPECT_EQ(cut->SkinName, std::string(128, 'n'));
}

TEST(PreviewRecord, AShortBlockAnotherMagicOrNoBlockGiveNothing) {
  const std::vector<std::uint8_t> whole = WriteSkinData({ASE_MSG, "N", "D", "T"});
  // One byte short, at its declared size on the heap: not one byte is read.
  std::unique_ptr<std::uint8_t[]> shortBlock(new std::uint8_t[whole.size() - 1]);
  std::copy(whole.begin(), whole.end() - 1, shortBlock.get());
  EXPECT_FALSE(ReadSkinData(shortBlock.get(), whole.size() - 1));
  EXPECT_FALSE(ReadSkinData(whole.data(), 4));
  EXPECT_FALSE(ReadSkinData(nullptr, whole.size()));
  EXPECT_FALSE(ReadSkinData(WriteSkinData({0xA401, "N", "D", "T"}).data(), whole.size()));
  EXPECT_TRUE(ReadSkinData(whole.data(), whole.size()));
}

}  // namespace
}  // namespace skin::data
