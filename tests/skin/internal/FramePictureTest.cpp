// The frame pictures of the internal skins whose centre is the section's own background: no
// key-coloured pixel lies inside their outline, so the parent never shows through a frame.
#include <gtest/gtest.h>

#include <vector>

#include "skin/data/acSkinLoad.h"
#include "skin/internal/sInternalSkins.h"

namespace skin::data {
namespace {

// Key pixels of the frame not joined to its edge through key pixels.
int EnclosedKeys(const gfx::Bitmap& bmp, const gfx::TRect& frame) {
  const int w = frame.Width(), h = frame.Height();
  auto key = [&](int x, int y) {
    return (bmp.At(frame.Left + x, frame.Top + y) & 0xFFFFFF) == 0xFF00FF;
  };
  std::vector<bool> seen(std::size_t(w) * h, false);
  std::vector<std::pair<int, int>> todo;
  auto visit = [&](int x, int y) {
    if (x < 0 || y < 0 || x >= w || y >= h || seen[y * w + x] || !key(x, y)) return;
    seen[y * w + x] = true;
    todo.emplace_back(x, y);
  };
  for (int x = 0; x < w; ++x) visit(x, 0), visit(x, h - 1);
  for (int y = 0; y < h; ++y) visit(0, y), visit(w - 1, y);
  while (!todo.empty()) {
    auto [x, y] = todo.back();
    todo.pop_back();
    visit(x - 1, y), visit(x + 1, y), visit(x, y - 1), visit(x, y + 1);
  }
  int enclosed = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) enclosed += key(x, y) && !seen[y * w + x];
  return enclosed;
}

TEST(FramePictureTest, NothingInsideAFrameOutlineIsKeyColoured) {
  TsStoredSkins skins;
  AddInternalSkins(skins);
  for (const auto& internal : InternalSkins()) {
    TacSkinHolder holder;
    holder.SetSkinName(internal.Name, {"", &skins, 0, {}, ""});
    const TacSkinModel& m = *holder.Model();
    for (const char* section : {"EDIT", "PANEL", "PANEL_LOW", "HINT", "MAINMENU", "GROUPBOX"}) {
      const int item = m.GetMaskIndex(section, "BORDERSMASK");
      ASSERT_GE(item, 0) << internal.Name << " " << section;
      const TsMaskData& md = m.ma[item];
      for (int f = 0; f < std::max<int>(1, md.ImageCount); ++f) {
        const gfx::TRect frame =
            gfx::RectOfSize(md.R.Left + f * md.Width, md.R.Top, md.Width, md.Height);
        EXPECT_EQ(EnclosedKeys(m.ItemBitmap(md), frame), 0)
            << internal.Name << " " << section << " frame " << f;
      }
    }
  }
}

}  // namespace
}  // namespace skin::data
