#include "platform/gfx/Icon.h"

#include <gtest/gtest.h>

#include <memory>

namespace gfx {
namespace {

// A 2 x 2 icon picture: opaque red, half-transparent green, transparent blue, opaque white.
std::shared_ptr<Bitmap> AlphaPicture() {
  auto b = std::make_shared<Bitmap>(2, 2);
  b->Set(0, 0, MakePixel(0, 0, 255, 255));
  b->Set(1, 0, MakePixel(0, 200, 0, 128));
  b->Set(0, 1, MakePixel(255, 0, 0, 0));
  b->Set(1, 1, MakePixel(255, 255, 255, 255));
  return b;
}

std::shared_ptr<Bitmap8> MaskOf(int w, int h, std::initializer_list<std::uint8_t> values) {
  auto m = std::make_shared<Bitmap8>(w, h);
  auto it = values.begin();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) m->Set(x, y, *it++);
  return m;
}

HICON Make(std::shared_ptr<const Bitmap> color, std::shared_ptr<const Bitmap8> mask) {
  ICONINFO ii;
  ii.hbmColor = std::move(color);
  ii.hbmMask = std::move(mask);
  return CreateIconIndirect(ii);
}

// A target filled with one background pixel and a context drawing into it.
struct Canvas {
  Bitmap target;
  DeviceContext dc{target};
  Canvas(int w, int h, Pixel bg) : target(w, h) { target.Fill(bg); }
};

TEST(Icon, RoundTripThroughGetIconInfoKeepsCopiesOfBothBitmaps) {
  const std::size_t before = IconCount();
  auto color = AlphaPicture();
  auto mask = MaskOf(2, 2, {0, 127, 255, 0});
  HICON icon = Make(color, mask);
  ASSERT_NE(icon, nullptr);
  // The icon copied its bitmaps: later changes of the caller's do not reach it.
  color->Set(0, 0, 0);
  mask->Set(0, 0, 99);

  ICONINFO ii;
  ASSERT_TRUE(GetIconInfo(icon, &ii));
  EXPECT_TRUE(ii.fIcon);
  EXPECT_EQ(ii.xHotspot, 1);
  EXPECT_EQ(ii.yHotspot, 1);
  EXPECT_EQ(*ii.hbmColor, *AlphaPicture());
  EXPECT_EQ(*ii.hbmMask, *MaskOf(2, 2, {0, 127, 255, 0}));

  // A copy is a second handle to the same picture; each is freed once.
  HICON copy = CopyIcon(icon);
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy, icon);
  EXPECT_EQ(IconCount(), before + 2);
  EXPECT_TRUE(DestroyIcon(icon));
  EXPECT_FALSE(DestroyIcon(icon));
  ICONINFO still;
  EXPECT_FALSE(GetIconInfo(icon, &still));
  ASSERT_TRUE(GetIconInfo(copy, &still));
  EXPECT_EQ(*still.hbmColor, *AlphaPicture());
  EXPECT_TRUE(DestroyIcon(copy));
  EXPECT_EQ(IconCount(), before);
  // The bitmaps handed out stay valid after the icon is gone.
  EXPECT_EQ(ii.hbmColor->At(1, 1), MakePixel(255, 255, 255, 255));
}

TEST(Icon, BadInputMakesNoIconAndUnknownHandlesChangeNothing) {
  const std::size_t before = IconCount();
  EXPECT_EQ(Make(nullptr, MaskOf(1, 1, {0})), nullptr);
  EXPECT_EQ(Make(std::make_shared<Bitmap>(1, 1), nullptr), nullptr);
  EXPECT_EQ(Make(std::make_shared<Bitmap>(), std::make_shared<Bitmap8>()), nullptr);
  EXPECT_EQ(Make(std::make_shared<Bitmap>(2, 2), MaskOf(2, 1, {0, 0})), nullptr);
  EXPECT_EQ(IconCount(), before);

  HICON made_up = reinterpret_cast<HICON>(std::uintptr_t(0x1234));
  ICONINFO ii;
  EXPECT_FALSE(GetIconInfo(made_up, &ii));
  EXPECT_FALSE(GetIconInfo(nullptr, &ii));
  EXPECT_EQ(CopyIcon(made_up), nullptr);
  EXPECT_FALSE(DestroyIcon(nullptr));
  Canvas canvas(2, 2, 0x12345678);
  Bitmap& target = canvas.target;
  DeviceContext& dc = canvas.dc;
  EXPECT_FALSE(DrawIconEx(&dc, 0, 0, made_up, 0, 0, DI_NORMAL));
  HICON icon = Make(AlphaPicture(), MaskOf(2, 2, {0, 0, 0, 0}));
  EXPECT_FALSE(DrawIconEx(nullptr, 0, 0, icon, 0, 0, DI_NORMAL));
  EXPECT_FALSE(DrawIconEx(&dc, 0, 0, icon, 0, 0, 0));
  EXPECT_EQ(target.At(0, 0), 0x12345678u);
  EXPECT_EQ(target.At(1, 1), 0x12345678u);
  DestroyIcon(icon);
}

TEST(Icon, AnAlphaIconIsLaidOverTheBackgroundByItsAlpha) {
  // The mask is ignored when the picture has alpha: a set mask bit on an opaque pixel.
  HICON icon = Make(AlphaPicture(), MaskOf(2, 2, {255, 255, 255, 255}));
  const Pixel bg = MakePixel(40, 80, 120, 200);
  Canvas canvas(4, 3, bg);
  Bitmap& target = canvas.target;
  DeviceContext& dc = canvas.dc;
  SetViewportOrgEx(&dc, 1, 0, nullptr);
  ASSERT_TRUE(DrawIconEx(&dc, 0, 1, icon, 0, 0, DI_NORMAL));
  // (s * a + d * (255 - a) + 127) / 255 per colour, a + d.A * (255 - a) / 255 for alpha.
  EXPECT_EQ(target.At(1, 1), MakePixel(0, 0, 255, 255));
  EXPECT_EQ(target.At(2, 1),
            MakePixel((0 * 128 + 40 * 127 + 127) / 255, (200 * 128 + 80 * 127 + 127) / 255,
                      (0 * 128 + 120 * 127 + 127) / 255, 128 + (200 * 127 + 127) / 255));
  EXPECT_EQ(target.At(1, 2), bg);
  EXPECT_EQ(target.At(2, 2), MakePixel(255, 255, 255, 255));
  // Outside the icon nothing changed.
  for (int y = 0; y < 3; ++y) {
    EXPECT_EQ(target.At(0, y), bg);
    EXPECT_EQ(target.At(3, y), bg);
  }
  EXPECT_EQ(target.At(1, 0), bg);
  EXPECT_EQ(target.At(2, 0), bg);

  // DI_IMAGE alone copies the picture as it is; DI_MASK alone draws the mask in white.
  target.Fill(bg);
  ASSERT_TRUE(DrawIconEx(&dc, 0, 0, icon, 0, 0, DI_IMAGE));
  EXPECT_EQ(target.At(2, 0), MakePixel(0, 200, 0, 128));
  EXPECT_EQ(target.At(1, 1), MakePixel(255, 0, 0, 0));
  ASSERT_TRUE(DrawIconEx(&dc, 0, 0, icon, 0, 0, DI_MASK));
  EXPECT_EQ(target.At(2, 0), 0x00FFFFFFu);
  DestroyIcon(icon);
}

TEST(Icon, AMaskedIconDrawsByAndMaskAndXorPicture) {
  // No alpha anywhere: mask 255 keeps the background (then XOR), 0 clears it.
  auto color = std::make_shared<Bitmap>(3, 1);
  color->Set(0, 0, MakePixel(10, 20, 30, 0));  // opaque pixel
  color->Set(1, 0, 0);                         // transparent pixel
  color->Set(2, 0, MakePixel(0xFF, 0, 0, 0));  // inverting pixel: set mask and a colour
  HICON icon = Make(color, MaskOf(3, 1, {0, 200, 128}));
  const Pixel bg = MakePixel(0x0F, 0x70, 0x90, 0xEE);
  Canvas canvas(3, 1, bg);
  Bitmap& target = canvas.target;
  DeviceContext& dc = canvas.dc;
  ASSERT_TRUE(DrawIconEx(&dc, 0, 0, icon, 0, 0, DI_NORMAL));
  EXPECT_EQ(target.At(0, 0), MakePixel(10, 20, 30, 0));
  EXPECT_EQ(target.At(1, 0), bg & 0x00FFFFFF);
  EXPECT_EQ(target.At(2, 0), (bg & 0x00FFFFFF) ^ 0xFF);

  target.Fill(bg);
  ASSERT_TRUE(DrawIconEx(&dc, 0, 0, icon, 0, 0, DI_MASK));
  EXPECT_EQ(target.At(0, 0), 0u);
  EXPECT_EQ(target.At(1, 0), 0x00FFFFFFu);
  EXPECT_EQ(target.At(2, 0), 0x00FFFFFFu);
  DestroyIcon(icon);
}

TEST(Icon, DrawingScalesByNearestPixelAndStaysInsideTargetAndClip) {
  HICON icon = Make(AlphaPicture(), MaskOf(2, 2, {0, 0, 0, 0}));
  Bitmap target(4, 4);
  DeviceContext dc(target);
  ASSERT_TRUE(DrawIconEx(&dc, 0, 0, icon, 4, 4, DI_IMAGE));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(target.At(x, y), AlphaPicture()->At(x / 2, y / 2));
  // DI_DEFAULTSIZE ignores the size asked for.
  target.Fill(0);
  ASSERT_TRUE(DrawIconEx(&dc, 0, 0, icon, 4, 4, DI_IMAGE | DI_DEFAULTSIZE));
  EXPECT_EQ(target.At(1, 1), AlphaPicture()->At(1, 1));
  EXPECT_EQ(target.At(2, 2), 0u);

  // Partly and wholly outside, huge sizes, and a clip: only the clipped inside changes.
  target.Fill(0);
  IntersectClipRect(&dc, 1, 1, 3, 3);
  EXPECT_TRUE(DrawIconEx(&dc, 0, 0, icon, 0, 0, DI_IMAGE));
  EXPECT_EQ(target.At(1, 1), AlphaPicture()->At(1, 1));
  EXPECT_TRUE(DrawIconEx(&dc, 2, 2, icon, 4, 4, DI_IMAGE));
  EXPECT_EQ(target.At(2, 2), AlphaPicture()->At(0, 0));
  EXPECT_EQ(target.At(2, 1), 0u);
  EXPECT_TRUE(DrawIconEx(&dc, 1000, 1000, icon, 0, 0, DI_IMAGE));
  EXPECT_TRUE(DrawIconEx(&dc, -2000000000, 2, icon, 2100000000, 2000000000, DI_IMAGE));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      if (x == 0 || y == 0 || x == 3 || y == 3) {
        EXPECT_EQ(target.At(x, y), 0u) << x << "," << y;
      }
  DestroyIcon(icon);
}

}  // namespace
}  // namespace gfx
