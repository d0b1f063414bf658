// The skinned picture control: where a picture lands and at what size, and what its cache
// holds over a skinned panel (the section behind, blend, grey, reflection, transparency
// keys, image lists, photos), painted into a target as the parent's painting does.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "framework/Application.h"
#include "framework/Exception.h"
#include "framework/Form.h"
#include "framework/Reader.h"
#include "platform/gfx/PictureCodec.h"
#include "platform/win/Paint.h"
#include "platform/win/VirtualDesktop.h"
#include "skin/controls/sControls.h"
#include "skin/core/SkinnedFormTest.h"
#include "skin/core/sGraphUtils.h"
#include "skin/draw/sGraphUtils.h"

namespace skin::controls::test {
namespace {

using namespace skin::core;

// A panel with a vertical gradient (every row differs) and a half-transparent blue check-box
// section, so that a wrong place or a missing section shows.
const std::string kOptions =
    "[GLOBALINFO]\nVERSION=8.0\nMASTERBITMAP=master.bmp\nCOLOR=4210752\n\n"
    "[PANEL]\nCOLOR=255\nGRADIENTPERCENT=100\n"
    "GRADIENTDATA=16777215;255;53;0;0;255;255;44;0;0;255;255;0;0;0\n\n"
    "[CHECKBOX]\nCOLOR=16711680\nTRANSPARENCY=50\nHOTTRANSPARENCY=50\n";

constexpr gfx::Pixel kRed = gfx::MakePixel(0, 0, 255, 255);

// Composing an opaque pixel over another leaves it within one step of itself.
bool Near(gfx::Pixel a, gfx::Pixel b) {
  for (int shift = 0; shift < 24; shift += 8)
    if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 2) return false;
  return true;
}
bool IsRed(gfx::Pixel p) {
  return Near(p, kRed);
}

gfx::Bitmap Filled(int w, int h, gfx::Pixel p) {
  gfx::Bitmap b(w, h);
  b.Fill(p);
  return b;
}

class ImageTest : public skin::core::test::SkinnedFormTest {
 protected:
  void SetUp() override {
    gfx::Bitmap master(4, 4);
    master.Fill(gfx::MakePixel(0, 0, 0, 255));
    MakeSkinnedForm(kOptions, master);
    panel = new TsPanel(form);
    panel->SetBounds(10, 10, 200, 120);
    panel->SetParent(form);
    image = new TsImage(form);
    image->SetBounds(20, 15, 60, 40);
    image->SetParent(panel);
    image->AfterConstruction();
    form->Show();
    desktop.Pump();
  }
  // The image painted into a target of its size that shows a marker colour.
  gfx::Bitmap Paint() {
    gfx::Bitmap target = Filled(image->Width(), image->Height(), kMarker);
    gfx::DeviceContext dc(target);
    image->Perform(win::WM_PAINT, win::WPARAM(&dc), 0);
    return target;
  }
  // The check-box section over the panel's picture at the image's place, painted alone.
  gfx::Bitmap SectionAlone() {
    panel->Perform(SM_ALPHACMD, MakeAlphaCmd(AC_PREPARECACHE), 0);
    gfx::Bitmap b(image->Width(), image->Height());
    skin::draw::PaintItem(manager->SkinModel(), ControlPaintOf(image->SkinData()),
                          skin::draw::MakeCacheInfo(panel->SkinData().CacheBmp(), 20, 15), true, 0,
                          b.Bounds(), {}, &b, false);
    return b;
  }
  static constexpr gfx::Pixel kMarker = gfx::MakePixel(1, 2, 3, 255);
  TsPanel* panel = nullptr;
  TsImage* image = nullptr;
};

// Expects every pixel of got outside inner to equal want.
void ExpectOutsideEqual(const gfx::Bitmap& got, const gfx::Bitmap& want, const gfx::TRect& inner) {
  for (int y = 0; y < got.Height(); ++y)
    for (int x = 0; x < got.Width(); ++x)
      if (!inner.Contains({x, y})) {
        ASSERT_EQ(got.At(x, y), want.At(x, y)) << x << "," << y;
      }
}

struct TPlacementCase {
  const char* name;
  gfx::TSize picture, box;
  bool stretch, proportional, center, reflected, fullSize;
  gfx::TSize drawn;
  gfx::TPoint at;
};

TEST_F(ImageTest, PlacementTable) {
  const TPlacementCase cases[] = {
      // A museum-type picture in its wide box: as high as the box, centred across it.
      {"type picture", {91, 91}, {850, 97}, true, true, true, false, false, {97, 97}, {376, 0}},
      // The background fills its box exactly (a whole-number ratio would give 595 x 595).
      {"background", {879, 595}, {879, 595}, true, true, false, false, false, {879, 595}, {0, 0}},
      // The banner is not stretched: drawn at its size from the corner, its end cut.
      {"banner", {1280, 100}, {1274, 100}, false, false, false, false, false, {1280, 100}, {0, 0}},
      // Narrower than tall in a wide box: scaled to the box height and centred.
      {"tall", {100, 200}, {400, 100}, true, true, true, false, false, {50, 100}, {175, 0}},
      {"wide in a square",
       {400, 100},
       {200, 200},
       true,
       true,
       true,
       false,
       false,
       {200, 50},
       {0, 75}},
      // Enlarged as well as reduced.
      {"small", {10, 5}, {100, 100}, true, true, false, false, false, {100, 50}, {0, 0}},
      // The products are rounded, not the ratio: 100 / 1.5 is 66.7.
      {"three by two", {3, 2}, {100, 100}, true, true, false, false, false, {100, 67}, {0, 0}},
      // A half rounds to even: 10 / 4 is 2.5.
      {"tie", {4, 1}, {10, 10}, true, true, false, false, false, {10, 2}, {0, 0}},
      // Stretched without Proportional fills the box, not centred.
      {"fill", {10, 5}, {80, 60}, true, false, true, false, false, {80, 60}, {0, 0}},
      // A reflection takes a third of the height.
      {"reflected", {100, 100}, {300, 150}, true, true, true, true, false, {100, 100}, {100, 25}},
      // Room for the reflection below the centred picture.
      {"full size", {20, 20}, {100, 100}, false, false, true, true, true, {20, 20}, {40, 35}},
      // Not stretched, a centred picture larger than its box starts outside it.
      {"centred larger",
       {120, 50},
       {100, 40},
       false,
       true,
       true,
       false,
       false,
       {120, 50},
       {-10, -5}},
  };
  for (const TPlacementCase& c : cases) {
    SCOPED_TRACE(c.name);
    image->SetBounds(0, 0, c.box.cx, c.box.cy);
    image->SetPicture(Filled(c.picture.cx, c.picture.cy, kRed));
    image->SetStretch(c.stretch);
    image->SetProportional(c.proportional);
    image->SetCenter(c.center);
    image->SetReflected(c.reflected);
    image->SetUseFullSize(c.fullSize);
    gfx::TSize src, dst;
    image->GetSrcSize(src, dst);
    EXPECT_EQ(src, c.picture);
    EXPECT_EQ(dst, c.drawn);
    EXPECT_EQ(image->ImagePos(dst), c.at);
  }
}

TEST_F(ImageTest, AnImageListEntryGivesTheSizeAndAPictureWhereTheListHasNone) {
  fw::TImageList list(nullptr);
  list.SetSize(91, 91);
  list.Add(u"type", Filled(91, 91, kRed));
  image->SetBounds(15, 112, 850, 97);
  image->SetPicture(Filled(30, 20, kRed));
  image->SetImages(&list);
  image->SetImageIndex(0);
  gfx::TSize src, dst;
  image->GetSrcSize(src, dst);
  EXPECT_EQ(src, (gfx::TSize{91, 91}));
  EXPECT_FALSE(image->Empty());
  // An index the list does not hold shows the picture.
  image->SetImageIndex(3);
  image->GetSrcSize(src, dst);
  EXPECT_EQ(src, (gfx::TSize{30, 20}));
  image->ClearPicture();
  EXPECT_TRUE(image->Empty());
  image->SetImages(nullptr);
}

TEST_F(ImageTest, ThePictureLiesOverTheSectionPaintedOverTheParentsPicture) {
  image->SetPicture(Filled(20, 10, kRed));
  image->SetCenter(true);
  const gfx::Bitmap got = Paint();
  const gfx::Bitmap section = SectionAlone();
  // The section is really half-transparent over a gradient: neither the marker nor uniform.
  ASSERT_NE(section.At(0, 0), section.At(0, 39));
  ASSERT_NE(section.At(0, 0) & 0xFFFFFF, kMarker & 0xFFFFFF);
  const gfx::TRect picture{20, 15, 40, 25};
  ExpectOutsideEqual(got, section, picture);
  for (int y = picture.Top; y < picture.Bottom; ++y)
    for (int x = picture.Left; x < picture.Right; ++x)
      ASSERT_EQ(got.At(x, y), kRed) << x << "," << y;  // an opaque picture's pixels unchanged
  EXPECT_FALSE(image->SkinData().BGChanged);
}

TEST_F(ImageTest, BlendGreyAndReflection) {
  image->SetPicture(Filled(20, 10, kRed));
  const gfx::Bitmap section = SectionAlone();
  image->SetBlend(50);
  gfx::Bitmap got = Paint();
  const gfx::Pixel behind = section.At(5, 5), blended = got.At(5, 5);
  EXPECT_GT(gfx::PixelR(blended), gfx::PixelR(behind));
  EXPECT_LT(gfx::PixelR(blended), 250);
  EXPECT_LT(gfx::PixelB(blended), gfx::PixelB(behind));

  image->SetBlend(0);
  image->SetGrayed(true);
  got = Paint();
  const gfx::Pixel grey = got.At(5, 5);
  // Red's grey, R / 4, in a white tone.
  EXPECT_TRUE(Near(grey, gfx::MakePixel(63, 63, 63, 0))) << std::hex << grey;

  image->SetGrayed(false);
  image->SetReflected(true);
  got = Paint();
  // Five mirrored rows below the ten of the picture, fading; then the section again.
  const int first = gfx::PixelR(got.At(5, 10)) - gfx::PixelR(section.At(5, 10));
  const int last = gfx::PixelR(got.At(5, 14)) - gfx::PixelR(section.At(5, 14));
  EXPECT_GT(first, last);
  EXPECT_GT(first, 0);
  ExpectOutsideEqual(got, section, {0, 0, 20, 15});
}

TEST_F(ImageTest, KeysAndEmptyAlphaOfBitmaps) {
  // A 24-bit bitmap: its bottom-left colour is left out on a transparent control only.
  gfx::Bitmap keyed = Filled(20, 10, kRed);
  const gfx::Pixel key = gfx::MakePixel(0, 255, 0, 255);
  keyed.Set(0, 9, key);
  keyed.Set(7, 3, key);
  image->LoadFromData("keyed.bmp", gfx::EncodeBmp(keyed, false));
  ASSERT_EQ(image->PixelFormat(), 24);
  const gfx::Bitmap section = SectionAlone();
  gfx::Bitmap got = Paint();
  EXPECT_TRUE(Near(got.At(7, 3), key));
  image->SetTransparent(true);
  got = Paint();
  EXPECT_EQ(got.At(7, 3), section.At(7, 3));
  EXPECT_EQ(got.At(0, 9), section.At(0, 9));
  EXPECT_TRUE(IsRed(got.At(8, 3)));

  // A 32-bit bitmap with no alpha at all is made opaque only when the manager asks for it.
  gfx::Bitmap bare = Filled(20, 10, kRed & 0xFFFFFF);
  bare.Set(0, 9, 0);
  image->SetPicture(bare);
  got = Paint();
  EXPECT_EQ(got.At(5, 5), section.At(5, 5));
  manager->Options().CheckEmptyAlpha = true;
  got = Paint();
  EXPECT_TRUE(IsRed(got.At(5, 5)));
  EXPECT_EQ(got.At(0, 9), section.At(0, 9));
}

TEST_F(ImageTest, AlphaListEntriesAndPhotosAreScaledToTheirBox) {
  TsAlphaImageList list(nullptr);
  list.SetDimension(10, 10);
  list.AddItem(ifPNG, u"red", gfx::EncodePng(Filled(10, 10, kRed)));
  list.GenerateStdList();
  image->SetImages(&list);
  image->SetImageIndex(0);
  image->SetStretch(true);
  image->SetProportional(true);
  image->SetCenter(true);
  gfx::Bitmap got = Paint();
  const gfx::Bitmap section = SectionAlone();
  // 40 x 40 in the middle of 60 x 40.
  EXPECT_TRUE(IsRed(got.At(30, 20)));
  EXPECT_TRUE(IsRed(got.At(11, 20)));
  EXPECT_EQ(got.At(9, 20), section.At(9, 20));
  EXPECT_EQ(got.At(50, 20), section.At(50, 20));
  image->SetImages(nullptr);

  // A photo is opaque and fills a box of its proportions.
  image->LoadFromData("photo.jpg",
                      gfx::EncodeJpeg(Filled(30, 20, gfx::MakePixel(0, 200, 0, 255)), 95));
  got = Paint();
  for (const gfx::TPoint p : {gfx::TPoint{0, 0}, gfx::TPoint{59, 39}, gfx::TPoint{30, 20}}) {
    EXPECT_GT(gfx::PixelG(got.At(p.X, p.Y)), 190) << p.X << "," << p.Y;
    EXPECT_LT(gfx::PixelR(got.At(p.X, p.Y)), 10) << p.X << "," << p.Y;
  }
}

// An auto-sized picture follows its box's scale: at 150 % it is drawn at one and a half times
// its size and the box fits it again (no band beside or below it); back at 100 % both are as
// they were. Aligned to the top, the box takes the picture's scaled height and the parent's
// width, and a picture wider than the box is not squeezed into it.
TEST_F(ImageTest, AnAutoSizedPictureFollowsTheScaleOfItsBox) {
  const gfx::Pixel green = gfx::MakePixel(0, 200, 0, 255);
  gfx::Bitmap picture(40, 20);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x) picture.Set(x, y, x < 20 ? kRed : green);
  image->SetPicture(picture);
  image->SetAutoSize(true);
  ASSERT_EQ(image->BoundsRect(), gfx::RectOfSize(20, 15, 40, 20));
  auto isGreen = [&](gfx::Pixel p) { return Near(p, green); };

  panel->ScaleBy(150, 100);
  EXPECT_EQ(image->BoundsRect(), gfx::RectOfSize(30, 23, 60, 30));
  EXPECT_EQ(image->PictureSize(), (gfx::TSize{60, 30}));
  EXPECT_EQ(image->DestRect(), gfx::RectOfSize(0, 0, 60, 30));
  gfx::Bitmap got = Paint();
  for (const gfx::TPoint p : {gfx::TPoint{0, 0}, gfx::TPoint{28, 29}, gfx::TPoint{0, 29}})
    EXPECT_TRUE(IsRed(got.At(p.X, p.Y))) << p.X << "," << p.Y;
  for (const gfx::TPoint p : {gfx::TPoint{59, 0}, gfx::TPoint{59, 29}, gfx::TPoint{32, 15}})
    EXPECT_TRUE(isGreen(got.At(p.X, p.Y))) << p.X << "," << p.Y;

  panel->ScaleBy(100, 150);
  EXPECT_EQ(image->BoundsRect(), gfx::RectOfSize(20, 15, 40, 20));
  got = Paint();
  EXPECT_TRUE(IsRed(got.At(0, 19)));
  EXPECT_TRUE(isGreen(got.At(39, 19)));
  EXPECT_TRUE(isGreen(got.At(21, 0)));

  // At the top of a parent narrower than the picture: its own width, not squeezed.
  gfx::Bitmap wide(260, 20);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 260; ++x) wide.Set(x, y, x < 130 ? kRed : green);
  image->SetPicture(wide);
  image->SetAlign(fw::TAlign::alTop);
  const int width = image->Width();
  EXPECT_GE(width, panel->ClientWidth() - 2);  // inside the panel's border
  ASSERT_LT(width, 260);
  EXPECT_EQ(image->Height(), 20);
  EXPECT_EQ(image->DestRect(), gfx::RectOfSize(0, 0, 260, 20));
  got = Paint();
  EXPECT_TRUE(IsRed(got.At(129, 10)));
  EXPECT_TRUE(isGreen(got.At(131, 10)));
  panel->ScaleBy(150, 100);
  EXPECT_EQ(image->Height(), 30);
  EXPECT_EQ(image->DestRect(), gfx::RectOfSize(0, 0, 390, 30));
  got = Paint();
  EXPECT_TRUE(IsRed(got.At(193, 29)));
  EXPECT_TRUE(isGreen(got.At(197, 29)));
  panel->ScaleBy(100, 150);
  EXPECT_EQ(image->Height(), 20);
}

// The picture at its drawn size is kept between paints: another picture of the same size, a
// new size of the box and a new key each show at the next paint.
TEST_F(ImageTest, TheKeptPictureFollowsEveryChangeOfWhatIsShown) {
  image->SetStretch(true);
  image->LoadFromData("a.jpg", gfx::EncodeJpeg(Filled(30, 20, gfx::MakePixel(0, 200, 0, 255)), 95));
  gfx::Bitmap got = Paint();
  EXPECT_GT(gfx::PixelG(got.At(30, 20)), 190);
  image->LoadFromData("b.jpg", gfx::EncodeJpeg(Filled(30, 20, kRed), 95));
  got = Paint();
  EXPECT_GT(gfx::PixelR(got.At(30, 20)), 230);
  EXPECT_LT(gfx::PixelG(got.At(30, 20)), 20);
  image->SetBounds(20, 15, 90, 60);
  got = Paint();
  ASSERT_EQ(got.Width(), 90);
  EXPECT_GT(gfx::PixelR(got.At(89, 59)), 230);  // a photo: near red
  EXPECT_LT(gfx::PixelG(got.At(89, 59)), 20);

  gfx::Bitmap keyed = Filled(20, 10, kRed);
  const gfx::Pixel key = gfx::MakePixel(0, 255, 0, 255);
  keyed.Set(0, 9, key);
  image->LoadFromData("keyed.bmp", gfx::EncodeBmp(keyed, false));
  image->SetStretch(false);
  got = Paint();
  EXPECT_TRUE(Near(got.At(0, 9), key));
  image->SetTransparent(true);
  got = Paint();
  EXPECT_FALSE(Near(got.At(0, 9), key));
  EXPECT_TRUE(IsRed(got.At(5, 5)));
}

TEST_F(ImageTest, TheFrameworkPaintsWithNothingToShowAndNoSection) {
  image->SkinData().SetSkinSection("NOSUCHSECTION");
  ASSERT_LT(image->SkinData().SkinIndex, 0);
  gfx::Bitmap got = Paint();
  EXPECT_EQ(got, Filled(60, 40, kMarker));
  // With a section, the section is painted even with no picture.
  image->SkinData().SetSkinSection("CHECKBOX");
  got = Paint();
  ExpectOutsideEqual(got, SectionAlone(), {});
  // And with the skin off, the framework's picture (drawn as it is, no section).
  image->SetPicture(Filled(20, 10, kRed));
  manager->SetActive(false);
  got = Paint();
  EXPECT_EQ(got.At(30, 30), kMarker);
  EXPECT_TRUE(IsRed(got.At(5, 5)));
}

TEST_F(ImageTest, AnUnchangedIndexDoesNotRepaintAndTheImageCountsAsOpaque) {
  fw::TImageList list(nullptr);
  list.SetSize(8, 8);
  list.Add(u"a", Filled(8, 8, kRed));
  list.Add(u"b", Filled(8, 8, kRed));
  image->SetImages(&list);
  image->SetImageIndex(0);
  desktop.Pump();
  win::RECT r{};
  ASSERT_FALSE(win::GetUpdateRect(panel->Handle(), &r, false));
  image->SetImageIndex(0);
  EXPECT_FALSE(win::GetUpdateRect(panel->Handle(), &r, false));
  image->SetImageIndex(1);
  EXPECT_TRUE(win::GetUpdateRect(panel->Handle(), &r, false));
  image->SetImages(nullptr);
  // Its parent leaves its place to it: it paints its background itself.
  EXPECT_EQ(image->Perform(SM_ALPHACMD, MakeAlphaCmd(AC_ISOPAQUE), 0), 1);
}

TEST_F(ImageTest, WhileTheParentIsNotReadyTheFrameworkPaintsAndAPutOffPaintComesAtItsEnd) {
  image->SetPicture(Filled(20, 10, kRed));
  // A panel with no area has no picture to give: the picture as the framework draws it.
  panel->SetBounds(10, 10, 0, 0);
  gfx::Bitmap got = Paint();
  EXPECT_EQ(got.At(0, 0), kRed);
  EXPECT_EQ(got.At(30, 30), kMarker);
  panel->SetBounds(10, 10, 200, 120);
  // A paint put off for a parent rebuilding its picture waits for the end of its update.
  image->SkinData().FUpdating = true;
  image->Perform(SM_ALPHACMD, AC_ENDPARENTUPDATE_HI, 0);
  EXPECT_FALSE(image->SkinData().FUpdating);
  got = Paint();
  ExpectOutsideEqual(got, SectionAlone(), {0, 0, 20, 10});
  EXPECT_EQ(got.At(0, 0), kRed);
}

// A panel of one plain colour with a framed border answers its children with that colour
// and its border bands; a see-through image inside it shows the panel at its own place.
class ImageOverFramedPanelTest : public skin::core::test::SkinnedFormTest {
 protected:
  void SetUp() override {
    MakeSkinnedForm(
        "[GLOBALINFO]\nVERSION=8.0\nMASTERBITMAP=master.bmp\nCOLOR=4210752\n\n"
        "[PANEL]\nCOLOR=255\nBORDERSMASK=^0000^0000^0012^0012^0003^0003^0003^0003^1^0^0^3\n\n"
        "[CHECKBOX]\nTRANSPARENCY=100\nHOTTRANSPARENCY=100\n",
        skin::core::test::PlaceMaster());
    panel = new TsPanel(form);
    panel->SetBounds(10, 10, 200, 120);
    panel->SetParent(form);
    form->Show();
    desktop.Pump();
  }
  TsImage* AddImage(int left, int top) {
    auto* image = new TsImage(form);
    image->SetBounds(left, top, 60, 40);
    image->SetTransparent(true);
    image->SkinData().SetSkinSection("CHECKBOX");
    image->SetParent(panel);
    image->AfterConstruction();
    desktop.Pump();
    return image;
  }
  TsPanel* panel = nullptr;
};

TEST_F(ImageOverFramedPanelTest, ASeeThroughImageShowsThePanelAtItsOwnPlace) {
  panel->Perform(SM_ALPHACMD, MakeAlphaCmd(AC_PREPARECACHE), 0);
  const gfx::Bitmap& face = *panel->SkinData().CacheBmp();
  // The panel answers with its colour and its border bands, which differ from its face.
  TacBGInfo bg;
  GetBGInfo(bg, panel, false);
  ASSERT_EQ(bg.BgType, skin::draw::TacBGType::btFill);
  ASSERT_EQ(bg.Bmp, &face);
  ASSERT_NE(face.At(0, 0), face.At(30, 30));
  // Inside the face, and over the border's corner.
  for (const gfx::TPoint at : {gfx::TPoint{20, 15}, gfx::TPoint{1, 2}}) {
    TsImage* image = AddImage(at.X, at.Y);
    gfx::Bitmap got(60, 40);
    gfx::DeviceContext dc(got);
    image->Perform(win::WM_PAINT, win::WPARAM(&dc), 0);
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 60; ++x)
        ASSERT_EQ(got.At(x, y), face.At(at.X + x, at.Y + y))
            << at.X << "," << at.Y << ": " << x << "," << y;
    delete image;
  }
}

TEST_F(ImageTest, DescriptionsSetTheImagesOwnProperties) {
  RegisterSkinClasses();
  auto* described = new fw::TForm(app.get());
  fw::ReadComponentText(described, R"(object Form9: TForm
  object I: TsImage
    Blend = 30
    Grayed = True
    Reflected = True
    UseFullSize = True
  end
end)",
                        "Unit9.txt", "/nonexistent");
  auto* i = dynamic_cast<TsImage*>(described->FindComponent("I"));
  ASSERT_NE(i, nullptr);
  EXPECT_EQ(i->Blend(), 30);
  EXPECT_TRUE(i->Grayed());
  EXPECT_TRUE(i->Reflected());
  EXPECT_TRUE(i->UseFullSize());
  EXPECT_EQ(i->SkinData().SkinSection(), "CHECKBOX");
  auto* refused = new fw::TForm(app.get());
  EXPECT_THROW(fw::ReadComponentText(refused,
                                     "object Form8: TForm\n  object J: TsImage\n"
                                     "    Blend = 101\n  end\nend",
                                     "Unit8.txt", "/nonexistent"),
               fw::Exception);
}

}  // namespace
}  // namespace skin::controls::test
