#include <gtest/gtest.h>

#include "framework/Panel.h"
#include "skin/core/sCtrlBmp.h"

namespace skin::core {
namespace {

TEST(CtrlBmp, ABitmapOfTheControlsOuterSizeNowAndAfterItChanges) {
  fw::TPanel panel(nullptr);
  panel.SetBounds(5, 7, 30, 20);
  auto bmp = CreateBmp32(panel);
  ASSERT_NE(bmp, nullptr);
  EXPECT_EQ(bmp->Width(), 30);
  EXPECT_EQ(bmp->Height(), 20);
  EXPECT_EQ(bmp->At(29, 19), 0u);
  panel.SetBounds(0, 0, 0, 12);  // a control without width gives an empty bitmap
  bmp = CreateBmp32(panel);
  EXPECT_TRUE(bmp->Empty());
}

}  // namespace
}  // namespace skin::core
