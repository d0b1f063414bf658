// The skinned panel on a form with a small folder skin: its section by bevel, its cache against
// the section painted alone, its caption, what it hands its children and what reaches the
// screen.
#include <gtest/gtest.h>

#include <string>

#include "framework/TextConv.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/win/Styles.h"
#include "skin/controls/sControls.h"
#include "skin/core/SkinnedFormTest.h"
#include "skin/core/sGraphUtils.h"
#include "skin/draw/sGraphUtils.h"

namespace skin::controls::test {
namespace {

using namespace skin::core;

constexpr int kLow = 0x112233, kLowFont = 0x00E0F0, kGroup = 0x445566;

const std::string kOptions =
    "[GLOBALINFO]\nVERSION=8.0\nMASTERBITMAP=master.bmp\nCOLOR=4210752\n\n"
    "[PANEL]\nCOLOR=255\nGRADIENTPERCENT=100\nFONTCOLOR=1056800\n"
    "GRADIENTDATA=16777215;14212312;53;0;0;14212312;14212312;44;0;0;14212312;14212312;0;0;0\n"
    "BORDERSMASK=^0000^0000^0012^0012^0004^0004^0004^0004^1^0^4^0\n\n"
    "[PANEL_LOW]\nCOLOR=" +
    std::to_string(kLow) + "\nFONTCOLOR=" + std::to_string(kLowFont) +
    "\n\n[TRANSPARENT]\nTRANSPARENCY=100\nHOTTRANSPARENCY=100\n\n"
    "[GROUPBOX]\nCOLOR=" +
    std::to_string(kGroup) + "\n\n[FRAMED]\nCOLOR=" + std::to_string(kLow) +
    "\nBORDERSMASK=^0000^0000^0012^0012^0004^0004^0004^0004^1^0^0^0\n";

// A panel with a window border: its client area is narrower than the panel.
class TBorderedPanel : public TsCustomPanel {
 public:
  using TsCustomPanel::TsCustomPanel;

 protected:
  void CreateParams(fw::TCreateParams& params) override {
    TsCustomPanel::CreateParams(params);
    params.Style |= win::WS_BORDER;
  }
};

class PanelTest : public skin::core::test::SkinnedFormTest {
 protected:
  void SetUp() override {
    MakeSkinnedForm(kOptions, skin::core::test::PlaceMaster());
    form->Show();
    desktop.Pump();
  }
  template <class T = TsPanel>
  T* Add(fw::TWinControl* parent, int x, int y, int w, int h,
         fw::TBevelCut bevel = fw::TBevelCut::bvRaised) {
    auto* p = new T(form);
    p->SetBevelOuter(bevel);
    p->SetBounds(x, y, w, h);
    p->SetParent(parent);
    desktop.Pump();
    return p;
  }
  static gfx::Bitmap& Cache(TsCustomPanel* p) {
    p->Perform(SM_ALPHACMD, MakeAlphaCmd(AC_PREPARECACHE), 0);
    return *p->SkinData().CacheBmp();
  }
  // The rows of the cache with a pixel other than background, as [first, last].
  static std::pair<int, int> InkRows(const gfx::Bitmap& b, gfx::Pixel background) {
    int first = -1, last = -1;
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x)
        if (b.At(x, y) != background) {
          if (first < 0) first = y;
          last = y;
          break;
        }
    return {first, last};
  }
  gfx::Pixel Screen(int x, int y) { return desktop.Compose().At(x, y) | 0xFF000000u; }
};

TEST_F(PanelTest, TheOuterBevelNamesTheSectionAgainAtTheNextInvalidation) {
  TsPanel* p = Add(form, 10, 10, 80, 40);
  const std::pair<fw::TBevelCut, const char*> table[] = {{fw::TBevelCut::bvNone, "TRANSPARENT"},
                                                         {fw::TBevelCut::bvLowered, "PANEL_LOW"},
                                                         {fw::TBevelCut::bvSpace, "GROUPBOX"},
                                                         {fw::TBevelCut::bvRaised, "PANEL"}};
  for (const auto& [bevel, section] : table) {
    p->SetBevelOuter(bevel);
    EXPECT_EQ(p->SkinData().SkinIndex, manager->GetSkinIndex(section)) << section;
  }
  // A section named by the panel wins over the bevel.
  p->SkinData().SetSkinSection("GROUPBOX");
  p->SetBevelOuter(fw::TBevelCut::bvLowered);
  EXPECT_EQ(p->SkinData().SkinIndex, manager->GetSkinIndex("GROUPBOX"));
}

TEST_F(PanelTest, TheCacheOutsideTheCaptionIsTheSectionPaintedAlone) {
  TsPanel* p = Add(form, 10, 10, 120, 60);
  p->SetCaption(u"Caption");
  const gfx::Bitmap& cache = Cache(p);
  // The same section painted alone over the form's black.
  gfx::Bitmap alone(120, 60);
  skin::draw::TCacheInfo ci{nullptr, 0, 0, 0, {}, false};
  skin::draw::PaintItem(manager->SkinModel(), manager->GetSkinIndex("PANEL"), ci, true, 0,
                        alone.Bounds(), {10, 10}, &alone);
  gfx::TRect text = p->TextRoom();
  int differ = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 120; ++x) {
      const bool inText = x >= text.Left && x < text.Right && y >= 20 && y < 40;
      if (inText)
        differ += cache.At(x, y) != alone.At(x, y);
      else
        ASSERT_EQ(cache.At(x, y), alone.At(x, y)) << x << "," << y;
    }
  EXPECT_GT(differ, 20);  // the caption is there
  // Without the caption, every pixel.
  p->SetShowCaption(false);
  EXPECT_EQ(Cache(p), alone);
}

TEST_F(PanelTest, ATransparentChildOfAFramedPanelShowsTheFrameOnlyWhereItLies) {
  TsPanel* parent = Add(form, 10, 10, 120, 80);
  parent->SkinData().SetSkinSection("FRAMED");
  TsPanel* inside = Add(parent, 30, 30, 40, 20, fw::TBevelCut::bvNone);
  TsPanel* onEdge = Add(parent, 0, 30, 40, 20, fw::TBevelCut::bvNone);
  // The parent hands its colour with its picture for the frame's bands.
  TacBGInfo info;
  SendAMessage(parent->Handle(), AC_GETBG, LPARAM(&info));
  ASSERT_EQ(info.BgType, TacBGType::btFill);
  ASSERT_EQ(info.FillRect, (gfx::TRect{4, 4, 4, 4}));
  const gfx::Bitmap& whole = Cache(parent);
  const gfx::Bitmap& in = Cache(inside);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x)
      ASSERT_EQ(in.At(x, y) | 0xFF000000u, gfx::PixelFromColor(kLow, 255)) << x << "," << y;
  // Over the left band the frame shows, as the parent has it there.
  const gfx::Bitmap& edge = Cache(onEdge);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 4; ++x) ASSERT_EQ(edge.At(x, y), whole.At(x, 30 + y)) << x << "," << y;
}

TEST_F(PanelTest, ACentredCaptionWrapsAndCentresOnceATopOneStaysOnOneLine) {
  TsPanel* p = Add(form, 10, 10, 70, 120, fw::TBevelCut::bvLowered);
  p->Font().SetHeight(-13);
  p->SetCaption(u"one two three four");
  const gfx::Pixel low = gfx::PixelFromColor(kLow, 255);
  const auto [top, bottom] = InkRows(Cache(p), low);
  ASSERT_GE(top, 0);
  EXPECT_GT(bottom - top, 20);  // several lines
  EXPECT_NEAR((top + bottom) / 2.0, 60, 4);
  // A border inside the bevel does not push it down: the block stays in the middle.
  p->SetBorderWidth(12);
  const auto [top2, bottom2] = InkRows(Cache(p), low);
  EXPECT_NEAR((top2 + bottom2) / 2.0, 60, 4);
  EXPECT_GT(bottom2 - top2, 20);
  // At the top, one line inside the bevel and border.
  p->SetVerticalAlignment(fw::TVerticalAlignment::taAlignTop);
  const auto [top3, bottom3] = InkRows(Cache(p), low);
  EXPECT_GE(top3, 13);
  EXPECT_LT(bottom3 - top3, 17);
  EXPECT_LT(bottom3, 13 + 17);
  // The text is in the section's font colour.
  bool fontColour = false;
  const gfx::Bitmap& c = Cache(p);
  for (int y = top3; y <= bottom3; ++y)
    for (int x = 0; x < c.Width(); ++x)
      fontColour |= (c.At(x, y) | 0xFF000000u) == gfx::PixelFromColor(kLowFont, 255);
  EXPECT_TRUE(fontColour);
}

TEST_F(PanelTest, ChildrenReadThePanelsPictureAtTheirPlaceInsideAWindowBorder) {
  auto* p = Add<TBorderedPanel>(form, 10, 10, 100, 60);
  p->SetBorderWidth(2);
  ASSERT_LT(p->ClientWidth(), p->Width());
  TacBGInfo info;
  SendAMessage(p->Handle(), AC_GETBG, LPARAM(&info));
  EXPECT_EQ(info.BgType, TacBGType::btCache);
  EXPECT_EQ(info.Bmp, p->SkinData().CacheBmp());
  EXPECT_EQ(info.Offset, (gfx::TPoint{3, 3}));  // bevel 1 and border 2
  // Asked to draw, the place is the asker's own.
  gfx::Bitmap drawn(10, 10);
  gfx::DeviceContext dc(drawn);
  info = {};
  info.PleaseDraw = true;
  info.DrawDC = &dc;
  info.R = {0, 0, 10, 10};
  info.Offset = {5, 6};
  SendAMessage(p->Handle(), AC_GETBG, LPARAM(&info));
  EXPECT_EQ(info.Offset, (gfx::TPoint{5, 6}));
  EXPECT_EQ(drawn.At(0, 0), p->SkinData().CacheBmp()->At(5, 6));
  // A panel without a window border hands its picture as it is.
  TsPanel* plain = Add(form, 150, 10, 100, 60);
  plain->SetBorderWidth(2);
  info = {};
  SendAMessage(plain->Handle(), AC_GETBG, LPARAM(&info));
  EXPECT_EQ(info.Offset, (gfx::TPoint{0, 0}));
}

TEST_F(PanelTest, TheScreenShowsTheCacheAroundTheWindowedChildren) {
  TsPanel* p = Add(form, 20, 30, 120, 80);
  TsPanel* child = Add(p, 30, 20, 40, 30, fw::TBevelCut::bvLowered);
  int painted = 0;
  p->OnPaint = [&](fw::TComponent* sender, fw::TCanvas& canvas) {
    EXPECT_EQ(sender, p);
    ++painted;
    canvas.BrushColor = 0x0000FF;
    canvas.FillRect({100, 60, 104, 64});
  };
  p->SkinData().Invalidate(true);
  desktop.Pump();
  EXPECT_GE(painted, 1);
  const gfx::Bitmap& cache = *p->SkinData().CacheBmp();
  EXPECT_EQ(cache.At(101, 61) | 0xFF000000u, gfx::PixelFromColor(0x0000FF, 255));
  for (const gfx::TPoint at : {gfx::TPoint{2, 2}, {60, 10}, {101, 61}, {119, 79}, {10, 70}})
    EXPECT_EQ(Screen(20 + at.X, 30 + at.Y), cache.At(at.X, at.Y) | 0xFF000000u)
        << at.X << "," << at.Y;
  EXPECT_EQ(Screen(20 + 45, 30 + 35), gfx::PixelFromColor(kLow, 255));  // the child
  (void)child;
}

TEST_F(PanelTest, ACustomColourIsPaintedMixedWithTheParentByTheSectionsTransparency) {
  TsPanel* parent = Add(form, 10, 10, 200, 100, fw::TBevelCut::bvLowered);
  TsPanel* p = Add(parent, 10, 10, 60, 40, fw::TBevelCut::bvLowered);
  p->SetColor(0x00AA00);
  p->SkinData().SetCustomColor(true);
  p->SkinData().Invalidate(true);
  desktop.Pump();
  EXPECT_EQ(Screen(10 + 10 + 30, 10 + 10 + 20), gfx::PixelFromColor(0x00AA00, 255));
  // On a fully transparent section the parent's colour shows.
  p->SetBevelOuter(fw::TBevelCut::bvNone);
  p->SkinData().Invalidate(true);
  desktop.Pump();
  EXPECT_EQ(Screen(10 + 10 + 30, 10 + 10 + 20), gfx::PixelFromColor(kLow, 255));
}

TEST_F(PanelTest, APanelWaitingForItsParentPaintsWhenTheParentIsDone) {
  TsPanel* p = Add(form, 10, 10, 80, 40, fw::TBevelCut::bvLowered);
  TsPanel* child = Add(p, 10, 10, 20, 10, fw::TBevelCut::bvNone);
  p->SkinData().FUpdating = true;
  child->SkinData().FUpdating = true;
  SendAMessage(p->Handle(), AC_ENDPARENTUPDATE);
  EXPECT_FALSE(p->SkinData().FUpdating);
  EXPECT_FALSE(child->SkinData().FUpdating);  // told in turn
  desktop.Pump();
  EXPECT_EQ(Screen(10 + 5, 10 + 5), gfx::PixelFromColor(kLow, 255));
}

}  // namespace
}  // namespace skin::controls::test
