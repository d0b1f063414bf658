// The alpha and character image lists: items rendered from their bytes at the list's size and
// resampled, the per-item cache, the platform list kept in step, damaged items, reading from a
// window description, drawing from any list.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "framework/Canvas.h"
#include "framework/DataModule.h"
#include "framework/Exception.h"
#include "framework/Reader.h"
#include "framework/WindowDescription.h"
#include "platform/gfx/CodecTestSupport.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/PictureCodec.h"
#include "skin/controls/acAlphaImageList.h"
#include "skin/controls/sControls.h"
#include "skin/core/sSkinManager.h"
#include "skin/paint/sGraphUtils.h"
#include "skin/paint/sStretch.h"

namespace skin::controls {
namespace {

using gfx::Bitmap;
using gfx::test::MakeIconDib;
using gfx::test::MakeIconFile;
using gfx::test::MakeTestPicture;

// A picture that differs from item to item.
Bitmap ItemPicture(int n, int size = 91) {
  Bitmap b = MakeTestPicture(size, size);
  for (int y = 0; y < size; ++y)
    b.Set(n % size, y, gfx::MakePixel(std::uint8_t(n * 40), 0, 0, 255));
  return b;
}

std::unique_ptr<TsAlphaImageList> PngList(int items, int size = 91) {
  auto list = std::make_unique<TsAlphaImageList>(nullptr);
  list->SetDimension(size, size);
  for (int i = 0; i < items; ++i)
    list->AddItem(ifPNG, u"item" + std::u16string(1, char16_t(u'0' + i)),
                  gfx::EncodePng(ItemPicture(i)));
  list->GenerateStdList();
  return list;
}

std::u16string ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const fw::Exception& e) {
    return e.Message();
  }
  return u"no error";
}

TEST(AlphaImageList, PicturesAreTheDecodedPngsAndResampledWhenScaled) {
  auto list = PngList(3);
  ASSERT_EQ(list->Count(), 3);  // the platform list follows the items
  for (int i = 0; i < 3; ++i) {
    const Bitmap decoded = gfx::DecodePng(list->Item(i).ImgData);
    EXPECT_EQ(list->Bitmap(i), decoded) << i;
    EXPECT_EQ(list->Item(i).OrigWidth, 91);
    auto same = list->CreateBitmap32(i, 91, 91);
    ASSERT_TRUE(same);
    EXPECT_EQ(*same, decoded);
    Bitmap expected;
    skin::paint::Stretch(decoded, expected, 45, 45, skin::paint::ftMitchell);
    auto half = list->CreateBitmap32(i, 45, 45);
    ASSERT_TRUE(half);
    EXPECT_EQ(*half, expected);
  }
  EXPECT_EQ(list->CreateBitmap32(3, 91, 91), nullptr);
  EXPECT_EQ(list->CreateBitmap32(0, 100000, 100000), nullptr);
  EXPECT_EQ(list->CreateBitmap32(-1, 91, 91), nullptr);
  Bitmap untouched(4, 4);
  EXPECT_FALSE(list->GetBitmap32(7, untouched));
  EXPECT_EQ(untouched, Bitmap(4, 4));
}

TEST(AlphaImageList, CacheIsUsedAtTheListSizeAndDroppedWhenSwitched) {
  auto list = PngList(2);
  ASSERT_TRUE(list->UseCache());
  Bitmap image(91, 91);
  ASSERT_TRUE(list->GetBitmap32(1, image));
  ASSERT_TRUE(list->Item(1).CacheBmp);
  // Mark the cache: a second rendering that takes it shows the mark.
  list->Item(1).CacheBmp->Set(0, 0, 0x12345678);
  ASSERT_TRUE(list->GetBitmap32(1, image));
  EXPECT_EQ(image.At(0, 0), 0x12345678u);
  // Another size renders afresh and drops the cache of the list size.
  Bitmap small(30, 30);
  ASSERT_TRUE(list->GetBitmap32(1, small));
  EXPECT_FALSE(list->Item(1).CacheBmp);
  ASSERT_TRUE(list->GetBitmap32(1, image));
  list->Item(1).CacheBmp->Set(0, 0, 0x12345678);
  list->SetUseCache(false);
  list->SetUseCache(true);
  ASSERT_TRUE(list->GetBitmap32(1, image));
  EXPECT_EQ(image, gfx::DecodePng(list->Item(1).ImgData));
  // Without the cache nothing is kept.
  list->SetUseCache(false);
  ASSERT_TRUE(list->GetBitmap32(0, image));
  EXPECT_FALSE(list->Item(0).CacheBmp);
}

TEST(AlphaImageList, DamagedItemGivesItsErrorAndKeepsTheListInStep) {
  auto list = std::make_unique<TsAlphaImageList>(nullptr);
  list->SetDimension(20, 20);
  auto png = gfx::EncodePng(ItemPicture(0, 20));
  list->AddItem(ifPNG, u"good", png);
  png.resize(png.size() / 2);
  list->AddItem(ifPNG, u"cut", png);
  list->AddItem(ifPNG, u"after", gfx::EncodePng(ItemPicture(2, 20)));
  EXPECT_EQ(ErrorOf([&] { list->GenerateStdList(); }),
            u"Cannot load image. Invalid or unexpected PNG image format.");
  ASSERT_EQ(list->Count(), 3);
  EXPECT_EQ(list->Bitmap(1), Bitmap(20, 20));  // transparent stand-in
  EXPECT_EQ(list->Bitmap(2), ItemPicture(2, 20));
  Bitmap image(20, 20);
  EXPECT_EQ(ErrorOf([&] { list->GetBitmap32(1, image); }),
            u"Cannot load image. Invalid or unexpected PNG image format.");
  // Painting reports nothing and draws nothing.
  EXPECT_EQ(list->CreateBitmap32(1, 20, 20), nullptr);
  Bitmap dest(20, 20);
  DrawAlphaImgList(*list, dest, 0, 0, 1, 0, skin::paint::clNone, 0, 1, false);
  EXPECT_EQ(dest, Bitmap(20, 20));
  DrawAlphaImgList(*list, dest, 0, 0, 2, 0, skin::paint::clNone, 0, 1, false);
  EXPECT_NE(dest, Bitmap(20, 20));
}

TEST(AlphaImageList, IconAndBmpItemsFromFiles) {
  auto list = std::make_unique<TsAlphaImageList>(nullptr);
  list->SetDimension(8, 6);
  const Bitmap picture = MakeTestPicture(8, 6);
  Bitmap opaque = picture;
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x) opaque.Set(x, y, picture.At(x, y) & 0x00FFFFFF);
  const auto icon32 = MakeIconFile(MakeIconDib(picture, 32, [](int, int) { return false; }), 8, 6);
  const auto icon24 = MakeIconFile(MakeIconDib(opaque, 24, [](int x, int) { return x < 2; }), 8, 6);
  EXPECT_FALSE(list->TryLoadFromData("icon.png", icon32));  // 00 00 names an icon only as .ico
  ASSERT_TRUE(list->TryLoadFromData("dir/alpha.ico", icon32));
  ASSERT_TRUE(list->TryLoadFromData("mask.ICO", icon24));
  ASSERT_TRUE(list->TryLoadFromData("plain.bmp", gfx::EncodeBmp(picture, true)));
  ASSERT_EQ(list->ItemCount(), 3);
  ASSERT_EQ(list->Count(), 3);
  EXPECT_EQ(list->Item(0).ImageName(), u"alpha");
  EXPECT_EQ(list->Item(0).ImageFormat(), ifICO);
  EXPECT_EQ(list->Item(0).PixelFormat(), 32);
  EXPECT_EQ(list->Item(1).PixelFormat(), 24);
  EXPECT_EQ(list->Item(2).ImageFormat(), ifBMP32);
  EXPECT_EQ(*list->CreateBitmap32(0, 8, 6), picture);
  EXPECT_EQ(*list->CreateBitmap32(2, 8, 6), picture);
  const Bitmap masked = *list->CreateBitmap32(1, 8, 6);
  EXPECT_EQ(gfx::PixelA(masked.At(1, 3)), 0);
  EXPECT_EQ(masked.At(5, 3), opaque.At(5, 3) | 0xFF000000u);
  EXPECT_EQ(ErrorOf([&] { list->LoadFromFile("/nonexistent/x.png"); }),
            u"Cannot load /nonexistent/x.png\nInvalid or unexpected image format.");
  EXPECT_EQ(ErrorOf([&] { list->LoadFromPngStream(gfx::EncodeBmp(picture, true)); }),
            u"Cannot load from stream\nInvalid or unexpected image format.");
  EXPECT_EQ(list->ItemCount(), 3);
}

TEST(AlphaImageList, AddReplaceMoveAndCopy) {
  auto list = std::make_unique<TsAlphaImageList>(nullptr);
  list->SetDimension(10, 10);
  list->GenerateStdList();
  const Bitmap a = MakeTestPicture(10, 10), b = ItemPicture(3, 10), big = MakeTestPicture(20, 20);
  EXPECT_EQ(list->Add(a), 0);
  EXPECT_EQ(list->Add(big), 1);
  EXPECT_EQ(list->Item(1).ImageFormat(), ifBMP32);
  EXPECT_EQ(list->Item(1).OrigWidth, 20);
  Bitmap shrunk;
  skin::paint::Stretch(big, shrunk, 10, 10, skin::paint::ftMitchell);
  EXPECT_EQ(list->Bitmap(1), shrunk);
  list->Replace(0, b);
  EXPECT_EQ(list->Bitmap(0), b);
  EXPECT_EQ(*list->CreateBitmap32(0, 10, 10), b);
  list->MoveItem(0, 1);
  EXPECT_EQ(list->Bitmap(1), b);
  EXPECT_EQ(list->Bitmap(0), shrunk);
  TsAlphaImageList copy(nullptr);
  copy.SetDimension(10, 10);
  copy.GenerateStdList();
  EXPECT_EQ(copy.AddImage(*list, 1), 1);
  EXPECT_EQ(copy.Count(), 1);
  EXPECT_EQ(copy.Bitmap(0), b);
  list->Clear();
  EXPECT_EQ(list->Count(), 0);
  EXPECT_EQ(list->ItemCount(), 0);
}

TEST(AlphaImageList, WithoutItsDataTheListDrawsFromThePlatformPictures) {
  auto list = std::make_unique<TsAlphaImageList>(nullptr);
  list->DoubleData = false;
  list->SetDimension(3, 2);
  // One picture with alpha and one whose alpha is zero everywhere, with a key-coloured pixel.
  Bitmap withAlpha(3, 2), without(3, 2);
  withAlpha.Fill(0x80102030);
  without.Fill(0x00405060);
  without.Set(1, 1, 0x00FF00FF);
  list->AddItem(ifBMP32, u"a", gfx::EncodeBmp(withAlpha, true));
  std::vector<std::uint8_t> plain = gfx::EncodeBmp(without, false);
  list->AddItem(ifBMP32, u"b", plain);
  list->GenerateStdList();
  EXPECT_EQ(list->ItemCount(), 0);  // the bytes are gone
  ASSERT_EQ(list->Count(), 2);
  EXPECT_EQ(list->Bitmap(1).At(1, 1), 0xFFFF00FFu);  // the BMP decoder made it opaque
  // A platform picture put in from outside with no alpha is made opaque but for the key.
  static_cast<fw::TImageList&>(*list).Replace(1, without);
  list->Change();
  EXPECT_EQ(list->Bitmap(0), withAlpha);
  EXPECT_EQ(list->Bitmap(1).At(0, 0), 0xFF405060u);
  EXPECT_EQ(list->Bitmap(1).At(1, 1), 0x00FF00FFu);
  // Rendering takes the platform pictures.
  EXPECT_EQ(*list->CreateBitmap32(0, 3, 2), withAlpha);
}

TEST(AlphaImageList, ScaleStepsRebuildThePlatformList) {
  auto list = PngList(2);
  int changes = 0;
  list->SetOnChange([&](fw::TComponent*) { ++changes; });
  list->SetNewScale(2);  // 150 %
  EXPECT_EQ(list->Width(), 136);
  EXPECT_EQ(list->SavedWidth(), 91);
  ASSERT_EQ(list->Count(), 2);
  EXPECT_EQ(list->Bitmap(1), skin::paint::ScaleImage(ItemPicture(1), 136, 136));
  EXPECT_EQ(changes, 1);
  list->SetNewScale(2);
  EXPECT_EQ(changes, 1);
  list->SetNewScale(0);
  EXPECT_EQ(list->Bitmap(1), ItemPicture(1));
}

TEST(AlphaImageList, DefaultSizeIsRecordedAndListsAreRegistered) {
  auto list = std::make_unique<TsAlphaImageList>(nullptr);
  list->GenerateStdList();
  EXPECT_EQ(list->SavedWidth(), 16);
  EXPECT_EQ(list->SavedHeight(), 16);
  TacImageList* raw = list.get();
  auto registered = [raw] {
    bool found = false;
    TacImageList::IterateImageLists([&](TacImageList* l) { found = found || l == raw; });
    return found;
  };
  EXPECT_TRUE(registered());
  list.reset();
  EXPECT_FALSE(registered());
}

TEST(AlphaImageList, DoDrawBlendsOverTheCanvasAndDrawsNothingForABadIndex) {
  auto list = std::make_unique<TsAlphaImageList>(nullptr);
  list->SetDimension(2, 2);
  list->GenerateStdList();
  Bitmap picture(2, 2);
  picture.Set(0, 0, 0xFFFF0000);  // opaque red
  picture.Set(1, 0, 0x00FF0000);  // invisible
  list->Add(picture);
  Bitmap target(4, 4);
  target.Fill(0xFF0000FF);
  gfx::DeviceContext dc(target);
  fw::TCanvas canvas;
  canvas.SetHandle(&dc);
  list->DoDraw(0, canvas, 1, 2);
  list->DoDraw(5, canvas, 0, 0);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(target.At(x, y), x == 1 && y == 2 ? 0xFFFF0000u : 0xFF0000FFu) << x << "," << y;
  list->DrawAsIs = true;  // copied as it is, alpha and all
  list->DoDraw(0, canvas, 1, 2);
  EXPECT_EQ(target.At(2, 2), 0x00FF0000u);
}

TEST(AlphaImageList, ALoadedListTakesTheDefaultManagersScale) {
  auto list = PngList(1, 12);
  static_cast<fw::TComponent&>(*list).Loaded();  // no manager: the design size stays
  EXPECT_EQ(list->Width(), 12);
  skin::core::TsSkinManager manager(nullptr);
  ASSERT_EQ(skin::core::DefaultManager, &manager);
  manager.Options().SetScaleMode(skin::core::sm125);
  EXPECT_TRUE(list->CanScale());
  static_cast<fw::TComponent&>(*list).Loaded();
  EXPECT_EQ(list->Width(), 15);
  EXPECT_EQ(list->Bitmap(0), skin::paint::ScaleImage(ItemPicture(0), 15, 15));
  list->SetAllowScale(false);
  EXPECT_FALSE(list->CanScale());
}

TEST(DrawAlphaImgList, GlyphByStateCentredAndBlended) {
  // Three glyphs side by side, each a solid primary (composed with byte weights, an opaque
  // 255 lands as 254).
  auto list = std::make_unique<TsAlphaImageList>(nullptr);
  list->SetDimension(12, 4);
  Bitmap strip(12, 4);
  const gfx::Pixel colours[] = {0xFF0000FF, 0xFF00FF00, 0xFFFF0000};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 12; ++x) strip.Set(x, y, colours[x / 4]);
  list->GenerateStdList();
  list->Add(strip);
  Bitmap dest(20, 10);
  DrawAlphaImgList(*list, dest, 2, 3, 0, 0, skin::paint::clNone, 5, 3, false);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) {
      const bool inside = x >= 2 && x < 6 && y >= 3 && y < 7;
      EXPECT_EQ(dest.At(x, y) & 0x00FFFFFF, inside ? 0x00FE0000u : 0u) << x << "," << y;
    }
  // A background colour fills the glyph's area first.
  list->SetBkColor(0x00FF00);  // green
  Bitmap filled(20, 10);
  list->Replace(0, Bitmap(12, 4));  // an invisible picture
  DrawAlphaImgList(*list, filled, 0, 0, 0, 0, skin::paint::clNone, 1, 3, false);
  EXPECT_EQ(filled.At(3, 3), 0xFF00FF00u);
  EXPECT_EQ(filled.At(4, 3), 0u);
  EXPECT_EQ(filled.At(3, 4), 0u);
  // Onto a device context: the same glyph over what the context shows, at logical
  // coordinates.
  Bitmap screen(20, 10);
  screen.Fill(0xFF808080);
  gfx::DeviceContext dc(screen);
  gfx::SetViewportOrgEx(&dc, 1, 1, nullptr);
  list->SetBkColor(skin::paint::clNone);
  list->Replace(0, strip);
  DrawAlphaImgListDC(*list, &dc, 2, 3, 0, 0, skin::paint::clNone, 1, 3, false);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) {
      const bool inside = x >= 3 && x < 7 && y >= 4 && y < 8;
      EXPECT_EQ(screen.At(x, y) & 0x00FFFFFF, inside ? 0x0000FE00u : 0x00808080u) << x << "," << y;
    }
  // A bad index draws nothing.
  Bitmap none(20, 10);
  DrawAlphaImgList(*list, none, 0, 0, 1, 0, skin::paint::clNone, 0, 1, false);
  DrawAlphaImgList(*list, none, 0, 0, -1, 0, skin::paint::clNone, 0, 1, false);
  EXPECT_EQ(none, Bitmap(20, 10));
}

TEST(CharImageList, RendersFontAwesomeGlyphsInTheirColour) {
  TsCharImageList list(nullptr);
  list.SetSize(24, 24);
  TacCharItemData heart;
  heart.Char = u'\uF004';
  heart.ImageName = u"heart";
  heart.Color = 0x000000FF;
  EXPECT_EQ(list.AddItem(heart), 0);
  ASSERT_EQ(list.Count(), 1);
  Bitmap expected(24, 24);
  skin::paint::DrawCharGlyph(
      expected, {u'\uF004', u"FontAwesome", false, false, 1.0, 0, false, false}, 0x000000FF);
  EXPECT_EQ(list.Bitmap(0), expected);
  EXPECT_EQ(*list.CreateBitmap32(0, 24, 24), expected);
  // The list's ForeColor outranks the item's colour; an explicit colour outranks both.
  list.ForeColor = 0x00FF0000;
  EXPECT_EQ(list.CreateBitmap32(0, 24, 24)->At(12, 12) & 0x00FFFFFF, 0x000000FFu);
  list.ForeColor = skin::paint::clNone;
  EXPECT_EQ(list.CreateBitmap32Color(0, 24, 24, 0x0000FF00)->At(12, 12) & 0x00FFFFFF, 0x0000FF00u);
  EXPECT_EQ(list.CreateBitmap32(0, 24, 24)->At(12, 12) & 0x00FFFFFF, 0x00FF0000u);
  EXPECT_EQ(list.CreateBitmap32(1, 24, 24), nullptr);
  EXPECT_FALSE(list.AddEmbeddedFont("/nonexistent/font.ttf", u"Nothing"));
}

TEST(AlphaImageList, ReadFromADescriptionWithItsPictureFiles) {
  RegisterSkinClasses();
  const auto dir = std::filesystem::path(testing::TempDir()) / "alpha-list";
  std::filesystem::create_directories(dir);
  for (int i = 0; i < 2; ++i)
    gfx::WriteFileBytes((dir / ("p" + std::to_string(i) + ".png")).string(),
                        gfx::EncodePng(ItemPicture(i, 12)));
  fw::TDataModule module(nullptr);
  fw::ReadComponentText(&module, R"(object DataModule9: TDataModule
  object List: TsAlphaImageList
    Height = 12
    Width = 12
    UseCache = False
    Items = <
      item
        ImageFormat = ifPNG
        ImageName = 'первая'
        ImgData.File = 'p0.png'
      end
      item
        ImageName = 'вторая'
        Text = 'note'
        ImgData.File = 'p1.png'
      end>
  end
end
)",
                        "Unit9.txt", dir.string());
  auto* list = dynamic_cast<TsAlphaImageList*>(module.FindComponent("List"));
  ASSERT_NE(list, nullptr);
  EXPECT_FALSE(list->UseCache());
  ASSERT_EQ(list->ItemCount(), 2);
  EXPECT_EQ(list->Item(0).ImageName(), u"первая");
  EXPECT_EQ(list->Item(1).Text(), u"note");
  EXPECT_EQ(list->Item(1).ImgData, gfx::ReadFileBytes((dir / "p1.png").string()));
  ASSERT_TRUE(list->StdListIsGenerated());
  ASSERT_EQ(list->Count(), 2);
  EXPECT_EQ(list->Bitmap(1), ItemPicture(1, 12));
  EXPECT_EQ(list->SavedWidth(), 12);

  // A damaged picture is refused with the file's line and the list's text.
  auto cut = gfx::ReadFileBytes((dir / "p0.png").string());
  cut.resize(cut.size() / 2);
  gfx::WriteFileBytes((dir / "cut.png").string(), cut);
  fw::TDataModule other(nullptr);
  try {
    fw::ReadComponentText(&other,
                          "object DataModule9: TDataModule\n  object List: TsAlphaImageList\n"
                          "    Items = <\n      item\n        ImgData.File = 'cut.png'\n"
                          "      end>\n  end\nend\n",
                          "Unit9.txt", dir.string());
    ADD_FAILURE() << "a damaged picture was read";
  } catch (const fw::EReadError& e) {
    EXPECT_EQ(e.Message(),
              u"Unit9.txt:3: Items: Cannot load image. Invalid or unexpected PNG image format.");
  }
}

TEST(AlphaImageList, IconsAndIndexesWithoutAnItemAreDrawnFromThePlatformList) {
  auto list = std::make_unique<TsAlphaImageList>(nullptr);
  list->SetDimension(8, 6);
  const Bitmap picture = MakeTestPicture(8, 6);
  ASSERT_TRUE(list->TryLoadFromData(
      "a.ico", MakeIconFile(MakeIconDib(picture, 32, [](int, int) { return false; }), 8, 6)));
  ASSERT_TRUE(list->TryLoadFromData("b.png", gfx::EncodePng(picture)));
  // The platform pictures are told apart from the items' own: both are made solid.
  Bitmap solid(8, 6);
  solid.Fill(0xFF10E020);
  list->fw::TImageList::Replace(0, solid);
  list->fw::TImageList::Replace(1, solid);
  Bitmap target(8, 6);
  target.Fill(0xFF000000);
  gfx::DeviceContext dc(target);
  fw::TCanvas canvas;
  canvas.SetHandle(&dc);
  list->DoDraw(0, canvas, 0, 0);  // the icon: the platform picture
  EXPECT_EQ(target, solid);
  target.Fill(0xFF000000);
  list->DoDraw(1, canvas, 0, 0);  // the PNG: rendered from its bytes
  EXPECT_NE(target, solid);
  // Without the item's bytes the picture comes from the platform list too.
  list->DoubleData = false;
  list->GenerateStdList();
  ASSERT_EQ(list->ItemCount(), 0);
  ASSERT_EQ(list->Count(), 2);
  list->fw::TImageList::Replace(1, solid);
  target.Fill(0xFF000000);
  list->DoDraw(1, canvas, 0, 0);
  EXPECT_EQ(target, solid);
  target.Fill(0xFF000000);
  list->DoDraw(2, canvas, 0, 0);  // neither item nor picture: nothing
  EXPECT_EQ(target.At(0, 0), 0xFF000000u);
  canvas.SetHandle(nullptr);
}

TEST(ImageListScale, TheDefaultManagersScaleModeRescalesEveryList) {
  auto alpha = PngList(1, 12);
  static_cast<fw::TComponent&>(*alpha).Loaded();
  TsCharImageList chars(nullptr);
  chars.SetDimension(20, 20);
  TacCharItemData heart;
  heart.Char = u'\uF004';
  heart.OffsetY = 2;
  chars.AddItem(heart);
  static_cast<fw::TComponent&>(chars).Loaded();
  {
    skin::core::TsSkinManager manager(nullptr);
    ASSERT_EQ(skin::core::DefaultManager, &manager);
    int scaled = 0, charChanges = 0;
    manager.OnScaleChanged = [&](fw::TComponent*) { ++scaled; };
    chars.SetOnChange([&](fw::TComponent*) { ++charChanges; });
    manager.Options().SetScaleMode(skin::core::sm150);
    EXPECT_EQ(scaled, 1);
    EXPECT_EQ(alpha->Width(), 18);
    EXPECT_EQ(alpha->Bitmap(0), skin::paint::ScaleImage(ItemPicture(0), 18, 18));
    ASSERT_EQ(chars.Width(), 30);
    ASSERT_EQ(chars.Count(), 1);
    // The character is drawn again at the new size, its offset scaled with it.
    Bitmap expected(30, 30);
    skin::paint::DrawCharGlyph(expected,
                               {u'\uF004', u"FontAwesome", false, false, 1.0, 2, false, false},
                               skin::paint::clBlack, 150);
    EXPECT_EQ(chars.Bitmap(0), expected);
    EXPECT_EQ(*chars.CreateBitmap32(0, 30, 30), expected);
    EXPECT_EQ(charChanges, 1);
    EXPECT_EQ(skin::paint::acArrowSize, 8);  // the scaled globals follow
    // Another manager's scale is its own business.
    skin::core::TsSkinManager other(nullptr);
    other.Options().SetScaleMode(skin::core::sm200);
    EXPECT_EQ(alpha->Width(), 18);
    // An unchanged mode does nothing; the old mode goes back to the design sizes.
    manager.Options().SetScaleMode(skin::core::sm150);
    EXPECT_EQ(scaled, 1);
    manager.Options().SetScaleMode(skin::core::sm200);
    EXPECT_EQ(alpha->Width(), 24);
    EXPECT_EQ(chars.Width(), 40);
    EXPECT_EQ(skin::paint::acArrowSize, 10);
    manager.Options().SetScaleMode(skin::core::smOldMode);
    EXPECT_EQ(alpha->Width(), 12);
    EXPECT_EQ(alpha->Bitmap(0), skin::paint::ScaleImage(ItemPicture(0), 12, 12));
    EXPECT_EQ(chars.Width(), 20);
    EXPECT_EQ(scaled, 3);
    manager.Options().SetScaleMode(skin::core::sm125);
    chars.SetOnChange(nullptr);  // its counter ends with this block
  }
  // The manager that scaled the globals is gone: they are at 100 percent again.
  EXPECT_EQ(skin::paint::acArrowSize, 5);
  EXPECT_EQ(skin::paint::ac_ArrowWidth, 7);
  // A list that does not follow the skin goes back to its design size and stays there.
  skin::core::TsSkinManager manager(nullptr);
  EXPECT_EQ(alpha->Width(), 15);
  alpha->SetAllowScale(false);
  manager.Options().SetScaleMode(skin::core::sm200);
  EXPECT_EQ(alpha->Width(), 12);
  EXPECT_EQ(chars.Width(), 40);
}

TEST(CharImageList, ReadFromADescription) {
  RegisterSkinClasses();
  fw::TDataModule module(nullptr);
  fw::ReadComponentText(&module, R"(object DataModule9: TDataModule
  object Glyphs: TsCharImageList
    Height = 20
    Width = 20
    Items = <
      item
        Char = 61444
        ImageName = 'heart'
        Color = clRed
        ScalingFactor = 0.800000000000000000
        OffsetY = 1
      end
      item
        Char = 61445
        FontName = 'FontAwesome'
        Style = [fsBold, fsUnderline, fsStrikeOut]
        Pitch = fpFixed
        Charset = SYMBOL_CHARSET
        Orientation = 900
      end>
  end
end
)",
                        "Unit9.txt", ".");
  auto* list = dynamic_cast<TsCharImageList*>(module.FindComponent("Glyphs"));
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->ItemCount(), 2);
  EXPECT_EQ(list->Item(0).ImageName, u"heart");
  EXPECT_EQ(list->Item(0).Color, fw::clRed);
  EXPECT_DOUBLE_EQ(list->Item(0).ScalingFactor, 0.8);
  EXPECT_EQ(list->Item(0).OffsetY, 1);
  EXPECT_EQ(list->Item(1).FontName, u"FontAwesome");
  EXPECT_TRUE(list->Item(1).Bold);
  EXPECT_FALSE(list->Item(1).Italic);
  EXPECT_TRUE(list->Item(1).Underline);
  EXPECT_TRUE(list->Item(1).StrikeOut);
  EXPECT_EQ(list->Item(1).Pitch, TFontPitch::fpFixed);
  EXPECT_EQ(list->Item(1).Charset, 2);
  EXPECT_EQ(list->Item(1).Orientation, 900);
  EXPECT_EQ(list->Item(0).Charset, 1);
  EXPECT_EQ(list->SavedWidth(), 20);
  ASSERT_EQ(list->Count(), 2);
  Bitmap expected(20, 20);
  skin::paint::DrawCharGlyph(
      expected, {u'\uF004', u"FontAwesome", false, false, 0.8, 1, false, false}, fw::clRed);
  EXPECT_EQ(list->Bitmap(0), expected);
  // The second with the font's lines.
  skin::paint::DrawCharGlyph(expected, {u'\uF005', u"FontAwesome", true, false, 1.0, 0, true, true},
                             skin::paint::clBlack);
  EXPECT_EQ(list->Bitmap(1), expected);

  auto error = [](const std::string& item) {
    fw::TDataModule other(nullptr);
    try {
      fw::ReadComponentText(&other,
                            "object DataModule9: TDataModule\n  object G: TsCharImageList\n"
                            "    Items = <\n      item\n" +
                                item + "      end>\n  end\nend\n",
                            "Unit9.txt", ".");
    } catch (const fw::EReadError& e) {
      return e.Message();
    }
    return std::u16string(u"read");
  };
  EXPECT_EQ(error("        ImageName = 'none'\n"),
            u"Unit9.txt:3: Items: character list item without Char");
  EXPECT_EQ(error("        Char = 70000\n"), u"Unit9.txt:3: Items: value out of range");
  EXPECT_EQ(error("        Char = 61444\n        ScalingFactor = 'big'\n"),
            u"Unit9.txt:3: Items: number expected");
  EXPECT_EQ(error("        Char = 61444\n        Glow = 3\n"),
            u"Unit9.txt:3: Items: unknown character list item property Glow");
}

TEST(CharImageList, EmbeddedFontsOfADescriptionAreRegistered) {
  RegisterSkinClasses();
  const auto dir = std::filesystem::path(testing::TempDir()) / "char-list-fonts";
  std::filesystem::create_directories(dir);
  gfx::WriteFileBytes((dir / "icons.otf").string(),
                      gfx::ReadFileBytes("/usr/share/fonts/opentype/font-awesome/FontAwesome.otf"));
  gfx::WriteFileBytes((dir / "junk.ttf").string(), std::vector<std::uint8_t>(64, 7));
  auto read = [&](const std::string& file) {
    auto module = std::make_unique<fw::TDataModule>(nullptr);
    fw::ReadComponentText(module.get(),
                          "object DataModule9: TDataModule\n  object G: TsCharImageList\n"
                          "    EmbeddedFonts = <\n      item\n        FontName = 'Icons'\n"
                          "        FileName = '" +
                              file + "'\n      end>\n  end\nend\n",
                          "Unit9.txt", dir.string());
    return module;
  };
  const auto module = read("icons.otf");
  auto* list = dynamic_cast<TsCharImageList*>(module->FindComponent("G"));
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->EmbeddedFonts(), std::vector<std::u16string>{u"Icons"});
  // Bytes that are no font, and a missing file, are refused.
  EXPECT_THROW(read("junk.ttf"), fw::EReadError);
  EXPECT_THROW(read("none.ttf"), fw::EReadError);
}

}  // namespace
}  // namespace skin::controls
