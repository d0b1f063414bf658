// The status bar's cells, its grip, the simple panel and owner-drawn panels.
#include <gtest/gtest.h>

#include <vector>

#include "Harness.h"
#include "framework/StatusBar.h"

namespace fw::test {
namespace {

class StatusBarTest : public FrameworkTest {
 protected:
  void SetUp() override {
    FrameworkTest::SetUp();
    form = ShowForm(0, 0, 400, 300);
    bar = new TStatusBar(form);
    bar->SetParent(form);
    for (int w : {100, 100, 50}) bar->AddPanel({u"", w, TAlignment::taLeftJustify});
    desktop.Pump();
  }
  std::vector<TRect> Cells() const {
    std::vector<TRect> cells;
    for (int i = 0; i < bar->PanelCount(); ++i) cells.push_back(bar->CellRect(i));
    return cells;
  }

  TForm* form = nullptr;
  TStatusBar* bar = nullptr;
};

TEST_F(StatusBarTest, CellsFollowTheWidthsTheLastTakesTheRestUpToTheGrip) {
  const int h = bar->Height();
  ASSERT_EQ(bar->Width(), 400);
  EXPECT_EQ(Cells(), (std::vector<TRect>{{0, 0, 100, h}, {100, 0, 200, h}, {200, 0, 400, h}}));
  // A borderless form cannot be resized: no grip. A sizeable one shows it.
  EXPECT_FALSE(bar->ShowsSizeGrip());
  form->SetBorderStyle(TFormBorderStyle::bsSizeable);
  form->SetWidth(400 + form->Width() - form->ClientWidth());
  ASSERT_EQ(bar->Width(), 400);
  EXPECT_TRUE(bar->ShowsSizeGrip());
  EXPECT_EQ(bar->CellRect(2), (TRect{200, 0, 382, h}));
  bar->SetSizeGrip(false);
  EXPECT_EQ(bar->CellRect(2).Right, 400);
  // Panels wider than the bar are cut at its end; none comes out inverted.
  bar->SetAlign(TAlign::alNone);
  bar->SetWidth(150);
  EXPECT_EQ(Cells(), (std::vector<TRect>{{0, 0, 100, h}, {100, 0, 150, h}, {150, 0, 150, h}}));
  // The simple text has one cell over the whole bar.
  bar->SetSimplePanel(true);
  EXPECT_TRUE(bar->ShowsSimpleText());
  EXPECT_EQ(bar->CellRect(0), (TRect{0, 0, 150, h}));
}

TEST_F(StatusBarTest, OwnerDrawnPanelsAreDrawnByTheEventOnly) {
  bar->SetPanelText(1, u"never shown");
  bar->SetPanelStyle(1, TStatusPanelStyle::psOwnerDraw);
  std::vector<int> drawn;
  TRect where;
  bar->OnDrawPanel = [&](TStatusBar* sender, int index, const TRect& r) {
    EXPECT_EQ(sender, bar);
    drawn.push_back(index);
    where = r;
    sender->Canvas().BrushColor = clRed;
    sender->Canvas().FillRect(r);
  };
  bar->Repaint();
  desktop.Pump();
  EXPECT_EQ(drawn, std::vector<int>{1});
  // The cell inside its bevel.
  EXPECT_GT(where.Left, 100);
  EXPECT_LE(where.Right, 202 + 100);
  const gfx::Bitmap screen = desktop.Compose();
  const int y = bar->Top() + bar->Height() / 2;
  EXPECT_EQ(screen.At((where.Left + where.Right) / 2, y) & 0xFFFFFF, 0xFF0000u);  // red
  EXPECT_NE(screen.At(50, y) & 0xFFFFFF, 0xFF0000u);
  // Without a handler the cell stays empty, and the text is not drawn either.
  bar->OnDrawPanel = nullptr;
  bar->Repaint();
  desktop.Pump();
  EXPECT_NE(desktop.Compose().At((where.Left + where.Right) / 2, y) & 0xFFFFFF, 0xFF0000u);
}

TEST_F(StatusBarTest, TheSimplePanelTakesTheHintsAndHidesThePanels) {
  bar->SetAutoHint(true);
  auto* box = new TBox(form, form, {0, 0, 200, 100}, clWhite);
  box->SetHint(u"Tree|Choose a district");
  Move(50, 50);
  EXPECT_EQ(bar->Panel(0).Text, u"Choose a district");
  Move(300, 150);
  bar->SetSimplePanel(true);
  Move(50, 50);
  EXPECT_EQ(bar->SimpleText(), u"Choose a district");
  EXPECT_EQ(bar->Panel(0).Text, u"");
}

}  // namespace
}  // namespace fw::test
