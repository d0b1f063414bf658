// The skinned group box: its caption's layout, its picture (the parent above the caption's
// middle, the section below), the caption's check box under the mouse, and its answers.
#include <gtest/gtest.h>

#include <string>

#include "framework/Reader.h"
#include "platform/win/Input.h"
#include "skin/controls/sControls.h"
#include "skin/core/SkinnedFormTest.h"
#include "skin/core/sFade.h"

namespace skin::controls::test {
namespace {

using namespace skin::core;

constexpr int kLow = 0x112233, kGroup = 0x445566, kCaption = 0x0A0B0C;

// Check box pictures 10 x 10, three states side by side.
const std::string kOptions =
    "[GLOBALINFO]\nVERSION=8.0\nMASTERBITMAP=master.bmp\nCOLOR=4210752\n"
    "BOXUNCHECKED=@0000@0000@0030@0010@3@0\nBOXCHECKED=@0000@0000@0030@0010@3@0\n\n"
    "[PANEL_LOW]\nCOLOR=" +
    std::to_string(kLow) + "\n\n[TRANSPARENT]\nTRANSPARENCY=100\nHOTTRANSPARENCY=100\n\n" +
    "[GROUPBOX]\nCOLOR=" + std::to_string(kGroup) +
    "\n\n[CAPTIONBAND]\nCOLOR=" + std::to_string(kCaption) + "\n";

class GroupBoxTest : public skin::core::test::SkinnedFormTest {
 protected:
  void SetUp() override {
    MakeSkinnedForm(kOptions, skin::core::test::PlaceMaster());
    parent = new TsPanel(form);
    parent->SetBevelOuter(fw::TBevelCut::bvLowered);
    parent->SetBounds(0, 0, 400, 300);
    parent->SetParent(form);
    box = new TsGroupBox(form);
    box->SetBounds(20, 20, 200, 120);
    box->SetCaption(u"Museums");
    box->SetParent(parent);
    form->Show();
    desktop.Pump();
  }
  void Mouse(win::UINT msg, int x, int y) {
    box->Perform(msg, 0, win::LPARAM((y << 16) | (x & 0xFFFF)));
  }
  const gfx::Bitmap& Cache() {
    box->SkinData().BGChanged = true;
    EXPECT_TRUE(box->PrepareCache());
    return *box->SkinData().CacheBmp();
  }

  TsPanel* parent = nullptr;
  TsGroupBox* box = nullptr;
};

TEST_F(GroupBoxTest, TheCaptionIsLaidOutByItsLayoutAndMargins) {
  box->InitPaintData();
  const int w = box->CaptionRect.Width();
  EXPECT_EQ(box->CaptionRect.Left, 6);
  EXPECT_GT(w, 20);
  EXPECT_EQ(box->TopRect, (gfx::TRect{0, 0, 200, box->CaptionHeight / 2}));
  box->SetCaptionMargin({3, 5, 7, 0});
  box->SetCaptionLayout(TsGroupCaptionLayout::clTopRight);
  box->InitPaintData();
  EXPECT_EQ(box->CaptionRect.Right, 200 - 7 - 6);
  EXPECT_EQ(box->CaptionRect.Top, 3);
  EXPECT_EQ(box->TopRect.Bottom, box->CaptionHeight / 2 + 3);
  box->SetCaptionLayout(TsGroupCaptionLayout::clTopCenter);
  box->InitPaintData();
  EXPECT_EQ(box->CaptionRect.Left, (200 - w) / 2);
  // A check box comes first, as high as its picture at least.
  box->SetCaptionLayout(TsGroupCaptionLayout::clTopLeft);
  box->SetCheckBoxVisible(true);
  box->InitPaintData();
  EXPECT_EQ(box->CheckBoxRect.Left, 5 + 6);
  EXPECT_EQ(box->CheckBoxRect.Width(), 10);
  EXPECT_EQ(box->TextRect.Left, box->CheckBoxRect.Right + acSpacing);
  EXPECT_GE(box->CaptionHeight, 10);
  // A caption wider than the box ends inside it.
  box->SetCaptionWidth(1000);
  box->InitPaintData();
  EXPECT_EQ(box->CaptionRect.Right, 199);
}

TEST_F(GroupBoxTest, TheParentShowsAboveTheFramesTopTheSectionBelow) {
  const gfx::Bitmap& cache = Cache();
  const int top = box->TopRect.Bottom;
  const auto rgb = [&](int x, int y) { return cache.At(x, y) | 0xFF000000u; };
  ASSERT_GT(top, 2);
  const gfx::Pixel low = gfx::PixelFromColor(kLow, 255), group = gfx::PixelFromColor(kGroup, 255);
  // Right of the caption: the parent's colour above, the section below.
  for (int x = box->CaptionRect.Right + 2; x < 200; ++x) {
    for (int y = 0; y < top; ++y) ASSERT_EQ(rgb(x, y), low) << x << "," << y;
    for (int y = top; y < 120; ++y) ASSERT_EQ(rgb(x, y), group) << x << "," << y;
  }
  // The caption's band over the parent by default; over its own section when named.
  EXPECT_EQ(rgb(box->CaptionRect.Left, 1), low);
  box->SetCaptionSkin("captionband");
  EXPECT_EQ(box->CaptionSkin(), "CAPTIONBAND");
  EXPECT_EQ(Cache().At(box->CaptionRect.Left, 1) | 0xFF000000u, gfx::PixelFromColor(kCaption, 255));
  // With a caption section, children read the box's picture.
  TacBGInfo info;
  SendAMessage(box->Handle(), AC_GETBG, LPARAM(&info));
  EXPECT_EQ(info.BgType, TacBGType::btCache);
  EXPECT_EQ(info.Bmp, box->SkinData().CacheBmp());
}

TEST_F(GroupBoxTest, TheCheckBoxTogglesOnlyWhenReleasedOverIt) {
  box->SetCheckBoxVisible(true);
  box->InitPaintData();
  int changes = 0;
  box->OnCheckBoxChanged = [&](fw::TComponent* sender) {
    EXPECT_EQ(sender, box);
    ++changes;
  };
  const gfx::TPoint c{(box->CheckBoxRect.Left + box->CheckBoxRect.Right) / 2,
                      (box->CheckBoxRect.Top + box->CheckBoxRect.Bottom) / 2};
  Mouse(win::WM_MOUSEMOVE, c.X, c.Y);
  EXPECT_TRUE(box->CheckHot);
  Mouse(win::WM_LBUTTONDOWN, c.X, c.Y);
  EXPECT_TRUE(box->CheckPressed);
  // Let go elsewhere: nothing changes.
  Mouse(win::WM_LBUTTONUP, 100, 100);
  EXPECT_FALSE(box->CheckPressed);
  EXPECT_FALSE(box->Checked());
  EXPECT_EQ(changes, 0);
  // Pressed and let go over it: toggled once.
  Mouse(win::WM_LBUTTONDOWN, c.X, c.Y);
  Mouse(win::WM_LBUTTONUP, c.X, c.Y);
  EXPECT_TRUE(box->Checked());
  EXPECT_TRUE(box->CheckHot);
  EXPECT_EQ(changes, 1);
  // A release with no press before it does nothing.
  Mouse(win::WM_LBUTTONUP, c.X, c.Y);
  EXPECT_TRUE(box->Checked());
  // The mouse leaving takes the hot look away.
  SendAMessage(box->Handle(), AC_MOUSELEAVE);
  EXPECT_FALSE(box->CheckHot);
  // Without a check box the caption is not a button.
  box->SetCheckBoxVisible(false);
  Mouse(win::WM_LBUTTONDOWN, c.X, c.Y);
  Mouse(win::WM_LBUTTONUP, c.X, c.Y);
  EXPECT_TRUE(box->Checked());
  desktop.Pump();
}

TEST_F(GroupBoxTest, TheCheckBoxFadesToHotButTurnsPressedAtOnce) {
  box->SetCheckBoxVisible(true);
  box->InitPaintData();
  desktop.Pump();
  const gfx::TPoint c{box->CheckBoxRect.Left + 2, box->CheckBoxRect.Top + 2};
  Mouse(win::WM_MOUSEMOVE, c.X, c.Y);
  EXPECT_TRUE(TimerIsActive(box->SkinData()));
  desktop.Advance(2000);
  EXPECT_FALSE(TimerIsActive(box->SkinData()));
  Mouse(win::WM_LBUTTONDOWN, c.X, c.Y);
  EXPECT_FALSE(TimerIsActive(box->SkinData()));
  // The pressed picture is painted: the check box's third frame.
  desktop.Pump();
  EXPECT_EQ(box->SkinData().CacheBmp()->At(c.X, c.Y) | 0xFF000000u,
            gfx::MakePixel((20 + 2) * 6, 2 * 20, 100, 255));
  Mouse(win::WM_LBUTTONUP, c.X, c.Y);
  desktop.Advance(2000);
}

TEST_F(GroupBoxTest, ItsOutlineStartsAtTheCaptionsMiddleAndItsCaptionWidthScales) {
  box->SetCaptionMargin({4, 0, 0, 0});
  gfx::TRect r;
  SendAMessage(box->Handle(), AC_GETOUTRGN, LPARAM(&r));
  EXPECT_EQ(r, (gfx::TRect{20, 20 + 4 + box->CaptionHeight / 2, 220, 140}));
  box->SetCaptionYOffset(-2);
  SendAMessage(box->Handle(), AC_GETOUTRGN, LPARAM(&r));
  EXPECT_EQ(r, (gfx::TRect{20, 20, 220, 140}));
  box->SetCaptionWidth(80);
  SendAMessage(box->Handle(), AC_SETSCALE, 150);
  EXPECT_EQ(box->CaptionWidth(), 120);
  EXPECT_EQ(box->SkinData().ScalePercent, 150);
}

TEST_F(GroupBoxTest, ACaptionNarrowerThanTwoBevelsGainsABevelOnEachSideInsideTheBox) {
  box->SetCaptionWidth(3);
  box->InitPaintData();
  // Wide enough for the default bevel of 1: as laid out.
  EXPECT_EQ(box->BevelWidth(), 1);
  EXPECT_EQ(box->CaptionRect.Left, 6);
  EXPECT_EQ(box->CaptionRect.Width(), 3);
  box->SetBevelWidth(2);
  box->InitPaintData();
  EXPECT_EQ(box->CaptionRect.Left, 6 - 2);
  EXPECT_EQ(box->CaptionRect.Right, 6 + 3 + 2);
  // The text stays centred in the wider caption.
  EXPECT_EQ(box->TextRect.Left, box->CaptionRect.Left);
  EXPECT_EQ(box->TextRect.Right, box->CaptionRect.Right);
  // Widened at the box's edges, it still ends inside the box.
  box->SetCaptionLayout(TsGroupCaptionLayout::clTopCenter);
  box->SetWidth(8);
  box->InitPaintData();
  EXPECT_EQ(box->CaptionRect.Left, 0);
  EXPECT_EQ(box->CaptionRect.Right, 7);
  // A bevel below 1 is refused.
  box->SetBevelWidth(0);
  EXPECT_EQ(box->BevelWidth(), 2);
}

TEST_F(GroupBoxTest, TheBevelWidthIsReadFromDescriptionsWithADefaultOfOne) {
  RegisterSkinClasses();
  auto* root = new fw::TForm(app.get());
  fw::ReadComponentText(root, R"(object Form9: TForm
  object A: TsGroupBox
    Caption = 'a'
  end
  object B: TsGroupBox
    BevelWidth = 4
  end
  object C: TGroupBox
    BevelWidth = 3
  end
end)",
                        "Unit9.txt", "/nonexistent");
  auto* a = dynamic_cast<TsGroupBox*>(root->FindComponent("A"));
  auto* b = dynamic_cast<TsGroupBox*>(root->FindComponent("B"));
  auto* c = dynamic_cast<fw::TGroupBox*>(root->FindComponent("C"));
  ASSERT_TRUE(a && b && c);
  EXPECT_EQ(a->BevelWidth(), 1);
  EXPECT_EQ(b->BevelWidth(), 4);
  EXPECT_EQ(c->BevelWidth(), 3);
  delete root;
}

TEST_F(GroupBoxTest, ThePictureStandsBetweenTheCheckBoxAndTheText) {
  box->InitPaintData();
  const int textWidth = box->CaptionRect.Width();
  auto* list = new fw::TImageList(form);
  list->SetSize(12, 30);
  gfx::Bitmap red(12, 30);
  red.Fill(gfx::MakePixel(0, 0, 255, 255));
  list->Add(u"red", red);
  box->SetImages(list);
  box->SetImageIndex(0);
  box->InitPaintData();
  // Picture, spacing, text; the band as tall as the picture, which is centred on it.
  EXPECT_EQ(box->CaptionRect.Width(), textWidth + 12 + acSpacing);
  EXPECT_EQ(box->CaptionHeight, 30);
  EXPECT_EQ(box->GlyphRect, (gfx::TRect{6, 0, 18, 30}));
  EXPECT_EQ(box->TextRect.Left, 18 + acSpacing);
  EXPECT_EQ(Cache().At(6, 0) | 0xFF000000u, gfx::MakePixel(0, 0, 255, 255));
  EXPECT_EQ(Cache().At(17, 29) | 0xFF000000u, gfx::MakePixel(0, 0, 255, 255));
  // The check box comes first.
  box->SetCheckBoxVisible(true);
  box->InitPaintData();
  EXPECT_EQ(box->CheckBoxRect.Left, 6);
  EXPECT_EQ(box->GlyphRect.Left, box->CheckBoxRect.Right + acSpacing);
  EXPECT_EQ(box->TextRect.Left, box->GlyphRect.Right + acSpacing);
  // An index the list lacks shows no picture and keeps no room for one.
  box->SetCheckBoxVisible(false);
  box->SetImageIndex(3);
  box->InitPaintData();
  EXPECT_TRUE(box->GlyphRect.IsEmpty());
  EXPECT_EQ(box->CaptionRect.Width(), textWidth);
  EXPECT_NE(Cache().At(6, 0) | 0xFF000000u, gfx::MakePixel(0, 0, 255, 255));
  // The list freed: the box forgets it.
  box->SetImageIndex(0);
  delete list;
  EXPECT_EQ(box->Images(), nullptr);
  box->InitPaintData();
  EXPECT_EQ(box->CaptionRect.Width(), textWidth);
  desktop.Pump();
}

TEST_F(GroupBoxTest, TheMouseLeavingTheBoxOrEnteringAChildTakesTheHotLookAway) {
  auto* inner = new TsPanel(form);
  inner->SetBounds(10, 60, 100, 40);
  inner->SetParent(box);
  box->SetCheckBoxVisible(true);
  desktop.Pump();
  box->InitPaintData();
  const gfx::TPoint check = box->ClientToScreen(
      {box->CheckBoxRect.Left + 2, (box->CheckBoxRect.Top + box->CheckBoxRect.Bottom) / 2});
  auto moveTo = [&](gfx::TPoint p) {
    win::InjectMouseMove(p);
    desktop.Pump();
  };
  moveTo(check);
  EXPECT_TRUE(box->CheckHot);
  moveTo(form->ClientToScreen({390, 290}));  // off the box, over its parent
  EXPECT_FALSE(box->CheckHot);
  moveTo(check);
  EXPECT_TRUE(box->CheckHot);
  moveTo(inner->ClientToScreen({50, 20}));
  EXPECT_FALSE(box->CheckHot);
  desktop.Advance(2000);
}

}  // namespace
}  // namespace skin::controls::test
