// The skinned status bar on a form with a small folder skin: cells, dividers or cell frames,
// the grip, owner-drawn panels and texts, against the sections painted alone.
#include <gtest/gtest.h>

#include <string>

#include "TestOutput.h"
#include "platform/gfx/PictureCodec.h"
#include "skin/controls/sControls.h"
#include "skin/core/SkinnedFormTest.h"
#include "skin/draw/sGraphUtils.h"

namespace skin::controls::test {
namespace {

using namespace skin::core;

constexpr int kFont = 0x00F0E0;

// Every pixel tells its place; a fuchsia pixel in the grip's corner.
gfx::Bitmap Master() {
  gfx::Bitmap bmp = skin::core::test::PlaceMaster();
  bmp.Set(30, 0, gfx::MakePixel(255, 0, 255, 255));
  return bmp;
}

std::string Options(bool cellFrames) {
  return "[GLOBALINFO]\nVERSION=8.0\nMASTERBITMAP=master.bmp\nCOLOR=4210752\n"
         "GRIPIMAGE=@0030@0000@0036@0006@1@0\n\n"
         "[STATUSBAR]\nCOLOR=255\nGRADIENTPERCENT=100\nFONTCOLOR=" +
         std::to_string(kFont) +
         "\nGRADIENTDATA=16777215;14212312;53;0;0;14212312;14212312;44;0;0;14212312;14212312;0;0;"
         "0\n" +
         (cellFrames ? "STATUSPANELMASK=^0000^0000^0012^0012^0004^0004^0004^0004^1^0^0^0\n" : "") +
         "\n[DIVIDER]\nCOLOR=65280\n"
         "BORDERSMASK=^0012^0000^0018^0006^0002^0002^0002^0002^1^0^4^0\n";
}

class StatusBarTest : public skin::core::test::SkinnedFormTest {
 protected:
  void Make(bool cellFrames, bool sizeable = false) {
    MakeSkinnedForm(Options(cellFrames), Master());
    if (sizeable) {
      form->SetBorderStyle(fw::TFormBorderStyle::bsSizeable);
      form->SetWidth(400 + form->Width() - form->ClientWidth());
    }
    bar = new TsStatusBar(form);
    bar->SetParent(form);
    bar->SetHeight(24);
    for (int w : {100, 100, 50}) bar->AddPanel({u"", w, fw::TAlignment::taLeftJustify});
    form->Show();
    desktop.Pump();
    ASSERT_EQ(bar->Width(), 400);
  }
  const gfx::Bitmap& Cache() {
    bar->SkinData().BGChanged = true;
    EXPECT_TRUE(bar->PrepareCache());
    return *bar->SkinData().CacheBmp();
  }
  // The bar's section alone over the form's black.
  gfx::Bitmap Alone() {
    gfx::Bitmap alone(bar->Width(), bar->Height());
    const skin::draw::TCacheInfo ci{nullptr, 0, 0, 0, {}, false};
    skin::draw::PaintItem(manager->SkinModel(), manager->GetSkinIndex("STATUSBAR"), ci, true, 0,
                          alone.Bounds(), {0, 0}, &alone);
    return alone;
  }
  // The columns where cache and alone differ somewhere.
  static std::vector<int> DifferingColumns(const gfx::Bitmap& cache, const gfx::Bitmap& alone) {
    std::vector<int> columns;
    for (int x = 0; x < cache.Width(); ++x)
      for (int y = 0; y < cache.Height(); ++y)
        if (cache.At(x, y) != alone.At(x, y)) {
          columns.push_back(x);
          break;
        }
    return columns;
  }

  TsStatusBar* bar = nullptr;
};

TEST_F(StatusBarTest, DividersPartTheCellsAndTheRestIsTheSectionPaintedAlone) {
  Make(false);
  const int h = bar->Height();
  EXPECT_EQ(bar->CellRect(0), (gfx::TRect{0, 0, 100, h}));
  EXPECT_EQ(bar->CellRect(1), (gfx::TRect{100, 0, 200, h}));
  EXPECT_EQ(bar->CellRect(2), (gfx::TRect{200, 0, 400, h}));
  const gfx::Bitmap& cache = Cache();
  const gfx::Bitmap alone = Alone();
  // A divider 4 wide (its border's slices) at each inner cell's right edge, none after the last.
  EXPECT_EQ(DifferingColumns(cache, alone), (std::vector<int>{96, 97, 98, 99, 196, 197, 198, 199}));
  gfx::Bitmap divider(4, h - 2);
  const int section = manager->GetSkinIndex("DIVIDER");
  skin::draw::PaintItem(manager->SkinModel(), section, skin::draw::MakeCacheInfo(&alone, 96, 1),
                        true, 0, divider.Bounds(), {0, 0}, &divider);
  for (int y = 0; y < h - 2; ++y)
    for (int x = 0; x < 4; ++x) ASSERT_EQ(cache.At(96 + x, 1 + y), divider.At(x, y));
  EXPECT_EQ(cache.At(96, 0), alone.At(96, 0));
  EXPECT_EQ(cache.At(96, h - 1), alone.At(96, h - 1));

  // Cells squeezed to nothing draw nothing: no divider for them, nothing outside the bar.
  bar->SetPanelWidth(0, 0);
  bar->SetPanelWidth(1, 0);
  EXPECT_TRUE(DifferingColumns(Cache(), alone).empty());
  bar->SetPanelWidth(0, 300);
  bar->SetPanelWidth(1, 300);
  EXPECT_EQ(bar->CellRect(1), (gfx::TRect{300, 0, 400, h}));
  EXPECT_EQ(bar->CellRect(2), (gfx::TRect{400, 0, 400, h}));
  EXPECT_EQ(DifferingColumns(Cache(), alone),
            (std::vector<int>{296, 297, 298, 299, 396, 397, 398, 399}));
}

TEST_F(StatusBarTest, WithACellFrameEachCellIsFramedAndNoDividerIsDrawn) {
  Make(true);
  const gfx::Bitmap& cache = Cache();
  // The frame's top-left corner (the master's first pixel) one pixel inside each cell.
  const gfx::Pixel corner = gfx::MakePixel(0, 0, 100, 255);
  EXPECT_EQ(cache.At(1, 1), corner);
  EXPECT_EQ(cache.At(101, 1), corner);
  EXPECT_EQ(cache.At(201, 1), corner);
  EXPECT_NE(cache.At(0, 0), corner);
  // The simple text: one frame over the whole bar.
  bar->SetSimplePanel(true);
  const gfx::Bitmap& simple = Cache();
  EXPECT_EQ(simple.At(0, 0), corner);
  EXPECT_NE(simple.At(101, 1), corner);
}

TEST_F(StatusBarTest, TheGripOfASizeableFormTakesTheLastCellsEnd) {
  Make(false, true);
  EXPECT_EQ(bar->CellRect(2), (gfx::TRect{200, 0, 382, bar->Height()}));
  const gfx::Bitmap& cache = Cache();
  const int w = bar->Width(), h = bar->Height();
  // The grip picture in the corner, its key-coloured pixel showing the bar.
  EXPECT_EQ(cache.At(w - 6 + 1, h - 6 + 2), gfx::MakePixel(31 * 6, 2 * 20, 100, 255));
  EXPECT_EQ(cache.At(w - 6, h - 6), Alone().At(w - 6, h - 6));
  bar->SetSizeGrip(false);
  EXPECT_EQ(bar->CellRect(2).Right, 400);
  EXPECT_EQ(Cache().At(w - 6 + 1, h - 6 + 2), Alone().At(w - 6 + 1, h - 6 + 2));
}

TEST_F(StatusBarTest, TextsInTheSectionsColourOwnerDrawnPanelsByTheirEvent) {
  Make(false);
  bar->Font().SetHeight(-20);
  bar->Font().SetStyle(fw::fsBold);
  bar->SetPanelText(0, u"WWW");
  bar->SetPanelText(1, u"never");
  bar->SetPanelStyle(1, fw::TStatusPanelStyle::psOwnerDraw);
  gfx::TRect drawnAt;
  bar->OnDrawPanel = [&](fw::TStatusBar*, int index, const gfx::TRect& r) {
    EXPECT_EQ(index, 1);
    drawnAt = r;
    bar->Canvas().BrushColor = 0x0000FF;
    bar->Canvas().FillRect(r);
  };
  const gfx::Bitmap& cache = Cache();
  gfx::Bitmap opaque = cache;
  for (int y = 0; y < opaque.Height(); ++y)
    for (int x = 0; x < opaque.Width(); ++x) opaque.Set(x, y, opaque.At(x, y) | 0xFF000000u);
  gfx::WriteFileBytes((tests::OutputFolder("skin-controls") / "status-bar-cells.png").string(),
                      gfx::EncodePng(opaque));
  EXPECT_EQ(drawnAt, (gfx::TRect{101, 1, 199, bar->Height() - 1}));
  EXPECT_EQ(cache.At(150, 12) | 0xFF000000u, gfx::PixelFromColor(0x0000FF, 255));
  int font = 0;
  for (int y = 0; y < cache.Height(); ++y)
    for (int x = 0; x < 96; ++x)
      font += (cache.At(x, y) | 0xFF000000u) == gfx::PixelFromColor(kFont, 255);
  EXPECT_GT(font, 10);
  // On screen: the cache.
  bar->Invalidate();
  desktop.Pump();
  EXPECT_EQ(desktop.Compose().At(bar->Left() + 150, bar->Top() + 12) | 0xFF000000u,
            gfx::PixelFromColor(0x0000FF, 255));
}

TEST_F(StatusBarTest, ScalingScalesThePanelWidths) {
  Make(false);
  bar->ChangeScale(3, 2);
  EXPECT_EQ(bar->Panel(0).Width, 150);
  EXPECT_EQ(bar->Panel(2).Width, 75);
  bar->ChangeScale(2, 3);
  EXPECT_EQ(bar->Panel(1).Width, 100);
}

}  // namespace
}  // namespace skin::controls::test
