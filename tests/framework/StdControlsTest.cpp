#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "Harness.h"
#include "framework/Button.h"
#include "framework/Exception.h"
#include "framework/Image.h"
#include "framework/ImageList.h"
#include "framework/Label.h"
#include "framework/Panel.h"
#include "framework/StatusBar.h"
#include "framework/Timer.h"
#include "platform/gfx/PictureCodec.h"

namespace fw::test {
namespace {

gfx::Bitmap Filled(int w, int h, gfx::Pixel p) {
  gfx::Bitmap b(w, h);
  b.Fill(p);
  return b;
}

std::string TempFile(const std::string& name) {
  auto dir = std::filesystem::path(testing::TempDir()) / "fw-std-controls";
  std::filesystem::create_directories(dir);
  return (dir / name).string();
}

TEST_F(FrameworkTest, PanelsAlignTheirChildrenInsideTheBevels) {
  TForm* form = ShowForm(0, 0, 600, 700);
  auto* panel = new TPanel(form);
  panel->SetBounds(0, 100, 395, 595);
  panel->SetParent(form);
  auto* bottom = new TPanel(form);
  bottom->SetHeight(154);
  bottom->SetAlign(TAlign::alBottom);
  bottom->SetParent(panel);
  auto* fill = new TBox(form, panel, {0, 0, 10, 10}, clWhite);
  fill->SetAlign(TAlign::alClient);
  EXPECT_EQ(bottom->BoundsRect(), gfx::RectOfSize(1, 440, 393, 154));
  EXPECT_EQ(fill->BoundsRect(), gfx::RectOfSize(1, 1, 393, 439));
  panel->SetBevelOuter(TBevelCut::bvNone);
  EXPECT_EQ(fill->BoundsRect(), gfx::RectOfSize(0, 0, 395, 441));
}

TEST_F(FrameworkTest, ImagesLoadByExtensionAndScaleKeepingTheExactRatio) {
  gfx::Bitmap pic = Filled(1280, 100, gfx::MakePixel(0, 0, 255, 255));
  auto png = gfx::EncodePng(pic);
  gfx::WriteFileBytes(TempFile("banner.png"), png);
  gfx::WriteFileBytes(TempFile("banner.bmp"), png);  // PNG bytes under a BMP name
  gfx::WriteFileBytes(TempFile("banner.gif"), png);

  TForm* form = ShowForm(0, 0, 900, 600);
  auto* image = new TImage(form);
  image->SetParent(form);
  image->SetBounds(0, 0, 879, 595);
  image->LoadFromFile(TempFile("banner.png"));
  EXPECT_EQ(image->PictureFile(), TempFile("banner.png"));
  EXPECT_EQ(image->DestRect(), gfx::RectOfSize(0, 0, 1280, 100));  // as is, clipped
  image->SetProportional(true);
  EXPECT_EQ(image->DestRect(), gfx::RectOfSize(0, 0, 879, 69));  // 100 * 879 / 1280 = 68.7
  image->SetCenter(true);
  EXPECT_EQ(image->DestRect(), gfx::RectOfSize(0, 263, 879, 69));
  // A small picture is not enlarged unless Stretch is also set.
  image->SetPicture(Filled(40, 30, 0xFF000000));
  EXPECT_EQ(image->DestRect(), gfx::RectOfSize(419, 282, 40, 30));
  image->SetStretch(true);
  EXPECT_EQ(image->DestRect(), gfx::RectOfSize(43, 0, 793, 595));  // 40 * 595 / 30
  image->SetAutoSize(true);
  EXPECT_EQ(image->BoundsRect(), gfx::RectOfSize(0, 0, 40, 30));

  auto errorOf = [&](const std::string& name) {
    try {
      image->LoadFromFile(TempFile(name));
    } catch (const Exception& e) {
      return e.Message();
    }
    return std::u16string(u"no error");
  };
  EXPECT_NE(errorOf("banner.gif").find(u"Unknown picture file extension (.gif)"),
            std::u16string::npos);
  EXPECT_NE(errorOf("banner.bmp").find(u"banner.bmp"), std::u16string::npos);
  EXPECT_NE(errorOf("missing.png").find(u"missing.png"), std::u16string::npos);
  // The extension is the file name's own, not a dot in a folder's name.
  std::filesystem::create_directories(TempFile("v1.2"));
  gfx::WriteFileBytes(TempFile("v1.2/banner"), png);
  EXPECT_NE(errorOf("v1.2/banner").find(u"Unknown picture file extension ()"),
            std::u16string::npos);
  EXPECT_EQ(image->PictureFile(), "");  // the last good picture stays
}

TEST_F(FrameworkTest, ImagesShowImageListEntriesWithAlphaAndDisabledOnesIgnoreClicks) {
  TForm* form = ShowForm(0, 0, 300, 200);
  form->SetColor(clWhite);
  auto* list = new TImageList(form);
  list->SetSize(4, 4);
  gfx::Bitmap half = Filled(4, 4, gfx::MakePixel(0, 0, 0, 128));  // black at half alpha
  list->AddPng(u"half", gfx::EncodePng(half));
  list->Add(u"red", Filled(4, 4, gfx::MakePixel(0, 0, 255, 255)));
  EXPECT_THROW(list->Add(u"big", Filled(5, 4, 0)), Exception);
  EXPECT_EQ(list->IndexOf(u"red"), 1);

  auto* image = new TImage(form);
  image->SetParent(form);
  image->SetBounds(10, 10, 4, 4);
  image->SetImages(list);
  image->SetImageIndex(0);
  int clicks = 0;
  image->OnClick = [&](TComponent*) { ++clicks; };
  desktop.Pump();
  EXPECT_EQ(ScreenAt(11, 11), gfx::RGB(127, 127, 127));
  Click(11, 11);
  image->SetEnabled(false);
  Click(11, 11);
  EXPECT_EQ(clicks, 1);
  // A list that changes its pictures tells the images that show them: the new picture shows
  // and an auto-sized image takes its size.
  image->SetAutoSize(true);
  list->Clear();
  list->SetSize(6, 5);
  list->Add(u"green", Filled(6, 5, gfx::MakePixel(0, 255, 0, 255)));
  list->Change();
  EXPECT_EQ(image->Width(), 6);
  EXPECT_EQ(image->Height(), 5);
  desktop.Pump();
  EXPECT_EQ(ScreenAt(15, 14), gfx::RGB(0, 255, 0));
  // Links go with the image: a later change reaches nobody who is gone.
  auto* other = new TImage(form);
  other->SetImages(list);
  int told = 0;
  const int link = list->RegisterChanges([&] { ++told; });
  delete other;
  list->Change();
  EXPECT_EQ(told, 1);
  list->UnRegisterChanges(link);
  list->Change();
  EXPECT_EQ(told, 1);
  delete list;  // the image forgets it
  EXPECT_EQ(image->Images(), nullptr);
  desktop.Pump();
  EXPECT_EQ(ScreenAt(11, 11), gfx::RGB(255, 255, 255));
}

TEST_F(FrameworkTest, LabelsSizeToTheirTextUnlessWrapping) {
  TForm* form = ShowForm(0, 0, 300, 200);
  auto* label = new TLabel(form);
  label->SetParent(form);
  label->SetCaption(u"Тип музея");
  int oneLine = label->Height();
  int shortWidth = label->Width();
  label->SetCaption(u"Тип музея и ещё немного текста");
  EXPECT_GT(label->Width(), shortWidth);
  EXPECT_EQ(label->Height(), oneLine);
  label->SetWordWrap(true);
  label->SetWidth(80);
  label->AdjustBounds();
  EXPECT_EQ(label->Width(), 80);
  EXPECT_GE(label->Height(), 3 * oneLine);
  label->SetAutoSize(false);
  label->SetBounds(0, 0, 50, 10);
  label->SetCaption(u"x");
  EXPECT_EQ(label->BoundsRect(), gfx::RectOfSize(0, 0, 50, 10));
}

TEST_F(FrameworkTest, ButtonsClickWithSpaceEnterAndAsDefaultOrCancel) {
  TForm* form = ShowForm(0, 0, 300, 200);
  auto* ok = new TButton(form);
  ok->SetParent(form);
  ok->SetDefault(true);
  auto* cancel = new TButton(form);
  cancel->SetParent(form);
  cancel->SetLeft(100);
  cancel->SetCancel(true);
  auto* other = new TBox(form, form, {0, 50, 50, 80}, clRed);
  std::vector<std::string> log;
  ok->OnClick = [&](TComponent*) { log.push_back("ok"); };
  cancel->OnClick = [&](TComponent*) { log.push_back("cancel"); };
  cancel->SetFocus();
  Key(kSpace);
  Key(kEnter);  // the focused button takes Enter itself
  other->SetFocus();
  Key(kEnter);
  Key(kEscape);
  win::InjectKey(kSpace, true);  // a press without release is no click
  desktop.Pump();
  EXPECT_EQ(log, (std::vector<std::string>{"cancel", "cancel", "ok", "cancel"}));
  win::InjectKey(kSpace, false);
  desktop.Pump();
}

TEST_F(FrameworkTest, StatusBarShowsTheHintOfTheControlUnderTheMouse) {
  TForm* form = ShowForm(0, 0, 400, 300);
  auto* tree = new TBox(form, form, {0, 0, 200, 200}, clWhite);
  tree->SetHint(u"Выберите район");
  auto* label = new TLabel(form);
  label->SetParent(form);
  label->SetLeft(250);
  label->SetCaption(u"label");
  auto* bar = new TStatusBar(form);
  bar->SetParent(form);
  bar->AddPanel({u"", 50, TAlignment::taLeftJustify});
  bar->AddPanel({u"09.12.2026", 150, TAlignment::taCenter});
  bar->SetAutoHint(true);
  EXPECT_EQ(bar->Top(), 300 - bar->Height());
  Move(50, 50);
  EXPECT_EQ(bar->Panel(0).Text, u"Выберите район");
  Move(252, 5);
  EXPECT_EQ(bar->Panel(0).Text, u"");
  EXPECT_EQ(bar->Panel(1).Text, u"09.12.2026");
  // The bar writes in the system's font, not its form's, until it is given its own.
  EXPECT_TRUE(bar->UseSystemFont());
  form->Font().SetHeight(-19);
  EXPECT_EQ(bar->Font().Height(), -11);
  EXPECT_EQ(bar->Font().Color(), clBtnText);
  bar->Font().SetHeight(-16);
  EXPECT_FALSE(bar->UseSystemFont());
  bar->SetUseSystemFont(true);
  EXPECT_EQ(bar->Font().Height(), -11);
}

TEST_F(FrameworkTest, TimersFireOnTheVirtualClockUntilDisabled) {
  auto* timer = new TTimer(app.get());
  timer->SetInterval(100);
  int fired = 0;
  timer->SetOnTimer([&](TComponent*) {
    if (++fired == 3) timer->SetEnabled(false);
  });
  desktop.Advance(1000);
  EXPECT_EQ(fired, 3);
  timer->SetEnabled(true);
  desktop.Advance(150);
  EXPECT_EQ(fired, 4);
}

}  // namespace
}  // namespace fw::test
