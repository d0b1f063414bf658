// Icons from skin bitmaps and the transparent corners of border images.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "PaintTestUtil.h"
#include "platform/gfx/Icon.h"
#include "skin/paint/sGraphUtils.h"

namespace skin::paint {
namespace {

TEST(MakeIcon32, MaskIs255MinusAlphaAndTheIconDrawsByAlpha) {
  std::mt19937 rng(7);
  Bitmap img(5, 3);
  test::Randomise(img, rng);
  img.Set(0, 0, 0x00102030);  // alpha 0
  img.Set(1, 0, 0xFF102030);  // alpha 255
  const std::size_t before = gfx::IconCount();
  gfx::HICON icon = MakeIcon32(img);
  ASSERT_NE(icon, nullptr);
  gfx::ICONINFO ii;
  ASSERT_TRUE(gfx::GetIconInfo(icon, &ii));
  EXPECT_TRUE(ii.fIcon);
  EXPECT_EQ(*ii.hbmColor, img);
  ASSERT_EQ(ii.hbmMask->Width(), 5);
  ASSERT_EQ(ii.hbmMask->Height(), 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x)
      EXPECT_EQ(ii.hbmMask->At(x, y), 255 - (img.At(x, y) >> 24)) << x << "," << y;
  EXPECT_EQ(ii.hbmMask->At(0, 0), 255);
  EXPECT_EQ(ii.hbmMask->At(1, 0), 0);

  // Drawn over a known background: the opaque pixel replaces it, the clear one keeps it.
  Bitmap target(5, 3);
  target.Fill(0xFF808080);
  gfx::DeviceContext dc(target);
  ASSERT_TRUE(gfx::DrawIconEx(&dc, 0, 0, icon, 0, 0, gfx::DI_NORMAL));
  EXPECT_EQ(target.At(0, 0), 0xFF808080u);
  EXPECT_EQ(target.At(1, 0), 0xFF102030u);
  EXPECT_TRUE(gfx::DestroyIcon(icon));
  EXPECT_EQ(gfx::IconCount(), before);
}

TEST(MakeIcon32, CompIconHasAZeroMaskAndEmptyBitmapsGiveNoIcon) {
  Bitmap img(2, 2);
  img.Fill(0x80FFFFFF);
  gfx::HICON icon = MakeCompIcon(img);
  gfx::ICONINFO ii;
  ASSERT_TRUE(gfx::GetIconInfo(icon, &ii));
  EXPECT_EQ(*ii.hbmMask, Bitmap8(2, 2));
  EXPECT_EQ(*ii.hbmColor, img);
  gfx::DestroyIcon(icon);

  EXPECT_EQ(MakeIcon32(Bitmap()), nullptr);
  EXPECT_EQ(MakeIcon32(Bitmap(0, 4)), nullptr);
  EXPECT_EQ(MakeCompIcon(Bitmap()), nullptr);
  // A one-pixel picture makes a one-pixel icon.
  Bitmap one(1, 1);
  one.Set(0, 0, 0x40000000);
  icon = MakeIcon32(one);
  ASSERT_TRUE(gfx::GetIconInfo(icon, &ii));
  EXPECT_EQ(ii.hbmMask->At(0, 0), 255 - 0x40);
  gfx::DestroyIcon(icon);
}

using PixelSet = std::set<std::pair<int, int>>;

PixelSet PixelsOf(const TAOR& aor) {
  PixelSet out;
  for (const TRect& r : aor)
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) out.insert({x, y});
  return out;
}

constexpr std::uint32_t kKey = 0xFFFF00FF;  // the key colour as decoded, opaque

// A border item with one 6 x 5 image (two images side by side, a mask row below) at (2, 1)
// of a picture; corners 2 wide and 2 high. Key pixels: the top-left corner's outer L, the
// bottom-right corner pixel; the centre and the second image are full of key pixels that
// must not count.
struct BorderItem {
  Bitmap pic{16, 12};
  TsMaskData md;
  BorderItem() {
    pic.Fill(0xFF406080);
    for (int y = 1; y < 11; ++y)
      for (int x = 8; x < 14; ++x) pic.Set(x, y, kKey);  // second image and its mask
    pic.Set(4, 3, kKey);                                 // centre of the first image
    pic.Set(2, 1, kKey);
    pic.Set(3, 1, 0x00FF00FF);  // alpha is not compared
    pic.Set(2, 2, kKey);
    pic.Set(7, 5, kKey);
    md.R = {2, 1, 14, 11};
    md.ImageCount = 2;
    md.MaskType = 1;
    md.Width = 6;
    md.Height = 5;
    md.WL = md.WT = md.WR = md.WB = 2;
    md.CornerType = 1;
  }
};

TEST(AddRgn, CornersLandAtTheWindowCornersForEverySize) {
  BorderItem item;
  for (auto [w, h] : {std::pair{6, 5}, std::pair{20, 9}, std::pair{100, 40}}) {
    TAOR aor;
    AddRgn(aor, w, h, item.md, &item.pic);
    EXPECT_EQ(PixelsOf(aor), (PixelSet{{0, 0}, {1, 0}, {0, 1}, {w - 1, h - 1}})) << w << "x" << h;
    // The window region is the window less those pixels.
    gfx::Region rgn = gfx::Region({0, 0, w, h}).Subtract(gfx::Region::FromRects(aor));
    EXPECT_FALSE(rgn.Contains({0, 0}));
    EXPECT_TRUE(rgn.Contains({1, 1}));
    EXPECT_FALSE(rgn.Contains({w - 1, h - 1}));
    EXPECT_TRUE(rgn.Contains({w - 2, h - 1}));
  }
}

TEST(AddRgn, SmallWindowsAndOddItemsStayInside) {
  BorderItem item;
  // A window smaller than its corners: every rectangle stays inside it.
  for (auto [w, h] : {std::pair{1, 1}, std::pair{3, 2}, std::pair{1, 7}}) {
    TAOR aor;
    AddRgn(aor, w, h, item.md, &item.pic);
    for (const TRect& r : aor) {
      EXPECT_GE(r.Left, 0);
      EXPECT_GE(r.Top, 0);
      EXPECT_LE(r.Right, w);
      EXPECT_LE(r.Bottom, h);
    }
    EXPECT_TRUE(PixelsOf(aor).count({0, 0})) << w << "x" << h;
  }
  // The item's own picture wins over the master bitmap.
  Bitmap plain(16, 12);
  plain.Fill(0xFF000000);
  TsMaskData own = item.md;
  own.Bmp = &item.pic;
  TAOR aor;
  AddRgn(aor, 6, 5, own, &plain);
  EXPECT_EQ(PixelsOf(aor).size(), 4u);

  auto none = [&](const TsMaskData& md, int w, int h, const Bitmap* master) {
    TAOR out;
    AddRgn(out, w, h, md, master);
    return out.empty();
  };
  EXPECT_TRUE(none(item.md, 0, 5, &item.pic));
  EXPECT_TRUE(none(item.md, 6, -1, &item.pic));
  EXPECT_TRUE(none(item.md, 6, 5, nullptr));
  TsMaskData opaque = item.md;
  opaque.CornerType = 0;
  EXPECT_TRUE(none(opaque, 6, 5, &item.pic));
  TsMaskData empty = item.md;
  empty.Width = 0;
  EXPECT_TRUE(none(empty, 6, 5, &item.pic));
}

TEST(AddRgn, APictureTooSmallForTheItemIsNotReadOutside) {
  // The item claims an area reaching past the picture (and one starting left of it); only
  // the pixels that exist are read. A sanitizer build catches any read outside.
  Bitmap pic(3, 3);
  pic.Fill(kKey);
  TsMaskData md;
  md.R = {-1, 1, 11, 11};
  md.Width = 6;
  md.Height = 5;
  md.WL = md.WT = md.WR = md.WB = 2;
  md.CornerType = 1;
  TAOR aor;
  AddRgn(aor, 10, 10, md, &pic);
  // Top-left corner: picture (-1..0, 1..2) -> only column 0 exists, at window x 1.
  // Bottom-left: picture rows 4..5 do not exist. Right corners: columns 3..4 do not exist.
  EXPECT_EQ(PixelsOf(aor), (PixelSet{{1, 0}, {1, 1}}));

  // Border widths beyond the image are held to it; negative ones are empty.
  md.R = {0, 0, 3, 3};
  md.Width = 3;
  md.Height = 3;
  md.WL = 50;
  md.WT = 1;
  md.WR = -4;
  md.WB = 0;
  aor.clear();
  AddRgn(aor, 8, 8, md, &pic);
  EXPECT_EQ(PixelsOf(aor), (PixelSet{{0, 0}, {1, 0}, {2, 0}}));
}

TEST(AddRgnBmp, RunsOfTheKeyMovedAndLimited) {
  Bitmap bmp(5, 2);
  bmp.Fill(0xFF000000);
  bmp.Set(1, 0, 0x00FF00FF);
  bmp.Set(2, 0, 0xFFFF00FF);
  bmp.Set(4, 0, 0x12FF00FF);
  bmp.Set(0, 1, 0xFFFF00FF);
  TAOR aor;
  AddRgnBmp(aor, bmp, bmp.Bounds(), {10, 20}, kTransKey, {0, 0, 100, 100});
  // One rectangle per run.
  ASSERT_EQ(aor.size(), 3u);
  EXPECT_EQ(aor[0], (TRect{11, 20, 13, 21}));
  EXPECT_EQ(aor[1], (TRect{14, 20, 15, 21}));
  EXPECT_EQ(aor[2], (TRect{10, 21, 11, 22}));
  // The limit cuts the runs; an area outside the bitmap reads nothing.
  aor.clear();
  AddRgnBmp(aor, bmp, bmp.Bounds(), {10, 20}, kTransKey, {12, 0, 14, 21});
  EXPECT_EQ(PixelsOf(aor), (PixelSet{{12, 20}}));
  aor.clear();
  AddRgnBmp(aor, bmp, {5, 0, 9, 2}, {0, 0}, kTransKey, {0, 0, 100, 100});
  AddRgnBmp(aor, bmp, {0, 0, 5, 2}, {0, 0}, kTransKey, {});
  EXPECT_TRUE(aor.empty());
}

}  // namespace
}  // namespace skin::paint
