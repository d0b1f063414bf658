#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "Harness.h"
#include "framework/Image.h"
#include "platform/gfx/PictureCodec.h"

namespace fw::test {
namespace {

std::string TempFile(const std::string& name) {
  auto dir = std::filesystem::path(testing::TempDir()) / "fw-image";
  std::filesystem::create_directories(dir);
  return (dir / name).string();
}

// A photo-like picture: a flat dark quarter at the bottom left (the colour a key would take)
// beside a colour ramp.
gfx::Bitmap Photo() {
  gfx::Bitmap b(64, 48);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x)
      b.Set(x, y,
            x < 32 && y >= 24 ? gfx::MakePixel(40, 60, 80, 255)
                              : gfx::MakePixel(std::uint8_t(x * 4), std::uint8_t(y * 5), 200, 255));
  return b;
}

class ImageTest : public FrameworkTest {
 protected:
  // Shows the file in a transparent image over lime; how many pixels of the picture's
  // bottom-left colour are shown in it, and how many let the lime through.
  std::pair<int, int> ShowKeyed(const std::string& file, TImage** shown = nullptr) {
    TForm* form = ShowForm(0, 0, 200, 200);
    form->SetColor(clLime);
    auto* image = new TImage(form);
    image->SetParent(form);
    image->SetBounds(10, 10, 64, 48);
    image->SetTransparent(true);
    image->LoadFromFile(file);
    if (shown) *shown = image;
    desktop.Pump();
    const gfx::Bitmap& p = image->Picture();
    const gfx::Pixel key = p.At(0, p.Height() - 1);
    int keyed = 0, shownKey = 0;
    gfx::Bitmap screen = desktop.Compose();
    for (int y = 0; y < p.Height(); ++y)
      for (int x = 0; x < p.Width(); ++x) {
        if (p.At(x, y) != key) continue;
        gfx::COLORREF c = gfx::ColorFromPixel(screen.At(10 + x, 10 + y));
        if (c == gfx::RGB(0, 255, 0))
          ++keyed;
        else if (c == gfx::ColorFromPixel(key))
          ++shownKey;
      }
    delete form;
    return {shownKey, keyed};
  }
};

TEST_F(ImageTest, AJpegPhotoInATransparentImageIsOpaque) {
  gfx::WriteFileBytes(TempFile("photo.jpg"), gfx::EncodeJpeg(Photo(), 95));
  TImage* image = nullptr;
  auto [shown, keyed] = ShowKeyed(TempFile("photo.jpg"), &image);
  // Hundreds of pixels carry the bottom-left colour; every one of them is shown.
  EXPECT_GT(shown, 200);
  EXPECT_EQ(keyed, 0);
}

TEST_F(ImageTest, BitmapsAndPngsWithoutAlphaAreKeyedByTheirBottomLeftColour) {
  gfx::WriteFileBytes(TempFile("photo.bmp"), gfx::EncodeBmp(Photo(), false));
  gfx::WriteFileBytes(TempFile("photo.png"), gfx::EncodePng(Photo()));
  for (const char* name : {"photo.bmp", "photo.png"}) {
    SCOPED_TRACE(name);
    auto [shown, keyed] = ShowKeyed(TempFile(name));
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(keyed, 32 * 24);
  }
}

TEST_F(ImageTest, PicturesKnowTheirKindAndTheBitDepthOfTheirSource) {
  TForm* form = ShowForm(0, 0, 200, 200);
  auto* image = new TImage(form);
  image->SetParent(form);
  EXPECT_EQ(image->GraphicKind(), TGraphicKind::gkNone);
  EXPECT_EQ(image->PixelFormat(), 0);
  gfx::WriteFileBytes(TempFile("kind.jpg"), gfx::EncodeJpeg(Photo(), 90));
  gfx::WriteFileBytes(TempFile("kind24.bmp"), gfx::EncodeBmp(Photo(), false));
  gfx::WriteFileBytes(TempFile("kind32.bmp"), gfx::EncodeBmp(Photo(), true));
  gfx::WriteFileBytes(TempFile("kind.png"), gfx::EncodePng(Photo()));
  struct Case {
    const char* file;
    TGraphicKind kind;
    int bits;
  };
  for (const Case& c :
       {Case{"kind.jpg", TGraphicKind::gkJpeg, 24}, Case{"kind24.bmp", TGraphicKind::gkBitmap, 24},
        Case{"kind32.bmp", TGraphicKind::gkBitmap, 32},
        Case{"kind.png", TGraphicKind::gkPng, 32}}) {
    image->LoadFromFile(TempFile(c.file));
    EXPECT_EQ(image->GraphicKind(), c.kind) << c.file;
    EXPECT_EQ(image->PixelFormat(), c.bits) << c.file;
  }
  image->SetPicture(Photo());
  EXPECT_EQ(image->GraphicKind(), TGraphicKind::gkBitmap);
  EXPECT_EQ(image->PixelFormat(), 32);
  image->ClearPicture();
  EXPECT_EQ(image->GraphicKind(), TGraphicKind::gkNone);
}

// An image that sizes itself to a fixed frame around its picture.
class TFramedImage : public TImage {
 public:
  using TImage::TImage;

 protected:
  bool CanAutoSize(int& w, int& h) override {
    if (!TImage::CanAutoSize(w, h)) return false;
    w += 10;
    h += 10;
    return true;
  }
};

TEST_F(ImageTest, AutoSizeAsksCanAutoSize) {
  TForm* form = ShowForm(0, 0, 300, 300);
  auto* framed = new TFramedImage(form);
  framed->SetParent(form);
  framed->SetAutoSize(true);
  framed->SetPicture(Photo());
  EXPECT_EQ(framed->BoundsRect(), gfx::RectOfSize(0, 0, 74, 58));
  // Nothing to show: the bounds stay.
  framed->ClearPicture();
  EXPECT_EQ(framed->BoundsRect(), gfx::RectOfSize(0, 0, 74, 58));
  // Aligned to a side, only the free dimension follows the picture.
  auto* side = new TImage(form);
  side->SetParent(form);
  side->SetAlign(TAlign::alLeft);
  side->SetAutoSize(true);
  side->SetPicture(Photo());
  EXPECT_EQ(side->Width(), 64);
  EXPECT_EQ(side->Height(), form->ClientHeight());
}

// Scaled with its form, an auto-sized image draws its picture at the new scale and fits it
// (no band beside or below it); one that is not auto-sized keeps the picture's own size.
TEST_F(ImageTest, AnAutoSizedImageFitsItsPictureAtANewScale) {
  TForm* form = ShowForm(0, 0, 300, 300);
  auto* image = new TImage(form);
  image->SetParent(form);
  image->SetBounds(10, 10, 1, 1);
  image->SetAutoSize(true);
  image->SetPicture(Photo());
  auto* plain = new TImage(form);
  plain->SetParent(form);
  plain->SetBounds(100, 10, 64, 48);
  plain->SetPicture(Photo());
  ASSERT_EQ(image->BoundsRect(), gfx::RectOfSize(10, 10, 64, 48));
  form->ScaleBy(150, 100);
  desktop.Pump();
  EXPECT_EQ(image->BoundsRect(), gfx::RectOfSize(15, 15, 96, 72));
  EXPECT_EQ(image->DestRect(), gfx::RectOfSize(0, 0, 96, 72));
  EXPECT_EQ(plain->DestRect(), gfx::RectOfSize(0, 0, 64, 48));
  const gfx::TPoint o = image->ClientToScreen({0, 0});
  const gfx::Bitmap screen = desktop.Compose();
  // The flat quarter reaches the box's bottom-left corner, the ramp's end its right edge.
  EXPECT_EQ(gfx::ColorFromPixel(screen.At(o.X, o.Y + 71)), gfx::ColorFromPixel(Photo().At(0, 47)));
  EXPECT_EQ(gfx::ColorFromPixel(screen.At(o.X + 95, o.Y)), gfx::ColorFromPixel(Photo().At(63, 0)));
  form->ScaleBy(100, 150);
  EXPECT_EQ(image->BoundsRect(), gfx::RectOfSize(10, 10, 64, 48));
  EXPECT_EQ(image->DestRect(), gfx::RectOfSize(0, 0, 64, 48));
}

}  // namespace
}  // namespace fw::test
