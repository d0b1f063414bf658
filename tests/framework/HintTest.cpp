#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Harness.h"
#include "framework/HintWindow.h"
#include "framework/StatusBar.h"
#include "platform/win/Input.h"
#include "platform/win/Window.h"

namespace fw::test {
namespace {

class HintTest : public FrameworkTest {
 protected:
  // A form at the screen's corner with a box that has a hint, and a status bar that shows
  // the long hints.
  void SetUp() override {
    FrameworkTest::SetUp();
    form = ShowForm(0, 0, 400, 300);
    box = new TBox(form, form, {0, 0, 200, 100}, clWhite);
    box->SetHint(u"Tree|Choose a district");
    plain = new TBox(form, form, {0, 120, 200, 170}, clWhite);
    bar = new TStatusBar(form);
    bar->SetParent(form);
    bar->SetAutoHint(true);
  }
  // Moves the mouse off the box and back onto it, then lets ms pass.
  void Reenter(unsigned ms) {
    Move(50, 130);
    Move(50, 50);
    desktop.Advance(ms);
  }
  // The tooltip's text while one shows, else "".
  std::u16string Tooltip() {
    THintWindow* w = app->HintWindow();
    return w && w->Visible() && win::IsWindowVisible(w->Handle()) ? w->Caption() : u"";
  }

  TForm* form = nullptr;
  TBox* box = nullptr;
  TBox* plain = nullptr;
  TStatusBar* bar = nullptr;
};

TEST_F(HintTest, NoTooltipsUnlessTheFormOrTheControlEnablesThem) {
  Move(50, 50);
  desktop.Advance(3000);
  EXPECT_EQ(Tooltip(), u"");
  EXPECT_EQ(bar->SimpleText(), u"Choose a district");  // the status line needs no tooltips
  // The form turns them on for every control that follows its parent...
  form->SetShowHint(true);
  EXPECT_TRUE(box->ShowHint());
  EXPECT_TRUE(box->ParentShowHint());
  Reenter(500);
  EXPECT_EQ(Tooltip(), u"Tree");
  // ...but not for one that says otherwise, and never while the application forbids them.
  box->SetShowHint(false);
  EXPECT_FALSE(box->ParentShowHint());
  Reenter(600);
  EXPECT_EQ(Tooltip(), u"");
  box->SetParentShowHint(true);
  app->SetShowHint(false);
  Reenter(600);
  EXPECT_EQ(Tooltip(), u"");
  // A form that keeps them off still lets one control show its own.
  app->SetShowHint(true);
  form->SetShowHint(false);
  box->SetShowHint(true);
  Reenter(500);
  EXPECT_EQ(Tooltip(), u"Tree");
}

TEST_F(HintTest, TooltipWaitsShowsBelowThePointerInInfoColoursAndGoes) {
  form->SetShowHint(true);
  Move(50, 50);
  desktop.Advance(499);
  EXPECT_EQ(Tooltip(), u"");
  desktop.Advance(1);
  ASSERT_EQ(Tooltip(), u"Tree");
  THintWindow* w = app->HintWindow();
  EXPECT_EQ(w->Left(), 50);
  EXPECT_GT(w->Top(), 50);
  EXPECT_EQ(win::GetActiveWindow(), form->Handle());  // the tooltip does not take activation
  EXPECT_EQ(win::GetWindow(w->Handle(), win::GW_OWNER), form->Handle());
  SaveScreen("tooltip");
  // Inside the border: the info background; the text in the info text colour.
  TRect b = w->BoundsRect();
  gfx::Bitmap screen = desktop.Compose();
  auto at = [&](int x, int y) { return gfx::ColorFromPixel(screen.At(x, y)); };
  EXPECT_EQ(at(b.Left + 2, b.Top + 2), ColorToRGB(clInfoBk));
  EXPECT_NE(at(b.Left, b.Top), ColorToRGB(clInfoBk));  // the border
  int dark = 0;  // text pixels (antialiased) near the info text colour, which is black
  ASSERT_EQ(ColorToRGB(clInfoText), 0u);
  for (int y = b.Top + 1; y < b.Bottom - 1; ++y)
    for (int x = b.Left + 1; x < b.Right - 1; ++x) dark += (at(x, y) & 0xFF) < 96;
  EXPECT_GT(dark, 10);
  EXPECT_LT(b.Width(), 60);  // "Tree" on one line, not the whole screen
  // Moving within the control keeps it; HintHidePause later it goes and stays away.
  Move(60, 55);
  desktop.Advance(2499);
  EXPECT_EQ(Tooltip(), u"Tree");
  desktop.Advance(1);
  EXPECT_EQ(Tooltip(), u"");
  desktop.Advance(3000);
  EXPECT_EQ(Tooltip(), u"");
  // Coming back shows it again; leaving the control hides it at once.
  Reenter(500);
  EXPECT_EQ(Tooltip(), u"Tree");
  Move(50, 130);
  EXPECT_EQ(Tooltip(), u"");
  // A click hides it, and it does not come back while the mouse stays.
  Move(50, 50);
  desktop.Advance(500);
  EXPECT_EQ(Tooltip(), u"Tree");
  Click(55, 55);
  EXPECT_EQ(Tooltip(), u"");
  desktop.Advance(1000);
  EXPECT_EQ(Tooltip(), u"");
  // So does a key.
  Reenter(500);
  EXPECT_EQ(Tooltip(), u"Tree");
  Key(kSpace);
  EXPECT_EQ(Tooltip(), u"");
}

TEST_F(HintTest, MovingFromOneTooltipToTheNextNeedsOnlyTheShortPause) {
  form->SetShowHint(true);
  plain->SetHint(u"Filter");
  Move(50, 50);
  desktop.Advance(500);
  EXPECT_EQ(Tooltip(), u"Tree");
  Move(50, 130);
  EXPECT_EQ(Tooltip(), u"");
  desktop.Advance(app->HintShortPause);
  EXPECT_EQ(Tooltip(), u"Filter");
  // Near the bottom of the screen the tooltip goes above the pointer.
  form->SetBounds(0, 600 - 300, 400, 300);
  desktop.Pump();
  Move(50, 300 + 130);
  desktop.Advance(500);
  Move(50, 600 - 300 + 160);
  desktop.Advance(500);
  ASSERT_EQ(Tooltip(), u"Filter");
  THintWindow* w = app->HintWindow();
  EXPECT_LE(w->Top() + w->Height(), 600);
  // A control freed under a showing tooltip takes the tooltip with it.
  delete plain;
  EXPECT_EQ(Tooltip(), u"");
  desktop.Advance(3000);
}

TEST_F(HintTest, AHintWindowFreedUnderTheMouseIsMadeAgain) {
  form->SetShowHint(true);
  Move(50, 50);
  desktop.Advance(500);
  THintWindow* w = app->HintWindow();
  ASSERT_EQ(Tooltip(), u"Tree");
  // The mouse onto the tooltip: it has left the control, so the tooltip goes.
  Move(w->Left() + 2, w->Top() + 2);
  EXPECT_EQ(MouseControl(), w);
  EXPECT_FALSE(w->Visible());
  delete w;
  EXPECT_EQ(app->HintWindow(), nullptr);
  Reenter(500);
  ASSERT_NE(app->HintWindow(), nullptr);
  EXPECT_EQ(Tooltip(), u"Tree");
}

// A skin may replace the hint window with its own class.
class TSkinnedHint : public THintWindow {
 public:
  using THintWindow::THintWindow;
  std::string ClassName() const override { return "TSkinnedHint"; }
};

TEST_F(HintTest, TheHintWindowClassCanBeReplaced) {
  THintWindowFactory saved = HintWindowClass;
  HintWindowClass = [](TComponent* owner) { return new TSkinnedHint(owner); };
  form->SetShowHint(true);
  Move(50, 50);
  desktop.Advance(500);
  HintWindowClass = saved;
  ASSERT_NE(app->HintWindow(), nullptr);
  EXPECT_EQ(app->HintWindow()->ClassName(), "TSkinnedHint");
  EXPECT_EQ(Tooltip(), u"Tree");
}

}  // namespace
}  // namespace fw::test
