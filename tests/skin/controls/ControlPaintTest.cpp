// The control side of painting on a form with a manager and a small folder skin made here:
// what a control answers when a child asks for its background, how a child's cache takes the
// parent's picture at its place, when a cache is painted again, and the text colours.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "TestOutput.h"
#include "framework/Application.h"
#include "framework/Canvas.h"
#include "framework/Form.h"
#include "framework/GraphicControl.h"
#include "framework/TextConv.h"
#include "platform/gfx/PictureCodec.h"
#include "platform/win/VirtualDesktop.h"
#include "skin/controls/sControls.h"
#include "skin/core/SkinnedFormTest.h"
#include "skin/core/sGraphUtils.h"
#include "skin/paint/sGraphUtils.h"

namespace skin::controls::test {
namespace {

using namespace skin::core;

constexpr int kMain = 0x405060, kEditBG = 0xE0F0F0, kFont = 0x203040, kHotFont = 0x0000C0,
              kPanelFont = 0x106020, kButtonFont = 0xA00010;

// Every pixel tells its place; the font border's mask is dark in its one frame and light
// where a second frame would lie.
gfx::Bitmap Master() {
  gfx::Bitmap bmp(40, 12);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 40; ++x)
      bmp.Set(x, y, gfx::MakePixel(std::uint8_t(x * 6), std::uint8_t(y * 20), 100, 255));
  for (int y = 6; y < 12; ++y)
    for (int x = 20; x < 32; ++x)
      bmp.Set(x, y, x < 26 ? gfx::MakePixel(0, 0, 0, 255) : gfx::MakePixel(255, 255, 255, 255));
  return bmp;
}

const std::string kOptions =
    "[GLOBALINFO]\nVERSION=8.0\nMASTERBITMAP=master.bmp\nCOLOR=" + std::to_string(kMain) +
    "\n\n[PANEL]\nCOLOR=255\nGRADIENTPERCENT=100\nFONTCOLOR=" + std::to_string(kPanelFont) +
    "\nHOTFONTCOLOR=" + std::to_string(kPanelFont) +
    "\n"
    "GRADIENTDATA=16777215;14212312;53;0;0;14212312;14212312;44;0;0;14212312;14212312;0;0;0\n"
    "BORDERSMASK=^0000^0000^0012^0012^0004^0004^0004^0004^1^0^4^0\n\n"
    "[TRANSPARENT]\nTRANSPARENCY=100\nHOTTRANSPARENCY=100\n\n"
    "[EDIT]\nCOLOR=" +
    std::to_string(kEditBG) +
    "\n\n[FONTY]\nSTATES=2\nTRANSPARENCY=60\nHOTTRANSPARENCY=60\nFONTCOLOR=" +
    std::to_string(kFont) + "\nHOTFONTCOLOR=" + std::to_string(kHotFont) +
    "\nBORDERSMASK=^0020^0000^0026^0012^0001^0001^0001^0001^1^1^4^1\n\n"
    "[BUTTON]\nFONTCOLOR=" +
    std::to_string(kButtonFont) + "\nHOTFONTCOLOR=" + std::to_string(kButtonFont) +
    "\n\n[WEBBUTTON]\nFONTCOLOR=" + std::to_string(kButtonFont) +
    "\nHOTFONTCOLOR=" + std::to_string(kButtonFont) +
    "\n\n[SHADOWED]\nCOLOR=255\nOUTERMODE=1\nOUTOPACITY=200\n"
    "OUTERMASK=^0020^0000^0026^0012^0002^0002^0002^0002^1^1^1^0\n\n"
    "[SHADOW3]\nCOLOR=16777215\nOUTERMODE=3\nOUTOPACITY=170\nOUTOFFSL=1\nOUTOFFST=1\n"
    "OUTOFFSR=4\nOUTOFFSB=4\nOUTRADIUS=4\nOUTBLUR=4\nOUTCOLL=0\n\n"
    "[SHADOW4]\nCOLOR=16777215\nOUTERMODE=4\nOUTOPACITY=170\nOUTOFFSL=3\nOUTOFFST=3\n"
    "OUTOFFSR=3\nOUTOFFSB=3\nOUTRADIUS=4\nOUTBLUR=4\nOUTCOLL=6291456\nOUTCOLT=8421504\n"
    "OUTCOLR=0\nOUTCOLB=0\n";

// A windowless control that fills itself with a colour, with its top-left pixel in another.
class TDot : public fw::TGraphicControl {
 public:
  TDot(fw::TComponent* owner, fw::TWinControl* parent, gfx::TRect r, fw::TColor fill,
       fw::TColor corner)
      : TGraphicControl(owner), FFill(fill), FCorner(corner) {
    SetBounds(r.Left, r.Top, r.Width(), r.Height());
    SetParent(parent);
  }

 protected:
  void Paint() override {
    if (FFill == fw::clNone) return;
    Canvas().BrushColor = FFill;
    Canvas().FillRect({0, 0, Width(), Height()});
    Canvas().BrushColor = FCorner;
    Canvas().FillRect({0, 0, 1, 1});
  }

 private:
  fw::TColor FFill, FCorner;
};

class ControlPaintTest : public skin::core::test::SkinnedFormTest {
 protected:
  void SetUp() override {
    MakeSkinnedForm(kOptions, Master());
    parent = Add(form, 10, 10, 80, 60);
    child = Add(parent, 13, 7, 20, 15);
    child->SetBevelOuter(fw::TBevelCut::bvNone);
    grandchild = Add(child, 2, 3, 10, 8);
    grandchild->SetBevelOuter(fw::TBevelCut::bvNone);
    form->Show();
    desktop.Pump();
  }
  TsPanel* Add(fw::TWinControl* owner, int x, int y, int w, int h) {
    auto* p = new TsPanel(form);
    p->SetBounds(x, y, w, h);
    p->SetParent(owner);
    return p;
  }
  static TacBGInfo AskBG(fw::TWinControl* c) {
    TacBGInfo info;
    SendAMessage(c->Handle(), AC_GETBG, LPARAM(&info));
    return info;
  }
  static void PrepareCache(fw::TControl* c) {
    c->Perform(SM_ALPHACMD, MakeAlphaCmd(AC_PREPARECACHE), 0);
  }
  // part equals whole at (dx, dy), pixel by pixel.
  static void ExpectPartOf(const gfx::Bitmap& part, const gfx::Bitmap& whole, int dx, int dy) {
    for (int y = 0; y < part.Height(); ++y)
      for (int x = 0; x < part.Width(); ++x)
        ASSERT_EQ(part.At(x, y), whole.At(x + dx, y + dy)) << x << "," << y;
  }

  TsPanel *parent = nullptr, *child = nullptr, *grandchild = nullptr;
};

TEST_F(ControlPaintTest, ChildrenTakeTheirBackgroundFromTheParentsCacheAtTheirOffset) {
  ASSERT_EQ(parent->SkinData().SkinIndex, manager->GetSkinIndex("PANEL"));
  ASSERT_EQ(child->SkinData().SkinIndex, manager->GetSkinIndex("TRANSPARENT"));
  PrepareCache(child);
  PrepareCache(grandchild);
  const gfx::Bitmap& whole = *parent->SkinData().CacheBmp();
  const gfx::Bitmap& part = *child->SkinData().CacheBmp();
  const gfx::Bitmap& small = *grandchild->SkinData().CacheBmp();
  ASSERT_EQ(whole.Width(), 80);
  ASSERT_EQ(part.Width(), 20);
  ASSERT_EQ(small.Width(), 10);
  EXPECT_FALSE(child->SkinData().BGChanged);
  // The parent's picture under the child is far from uniform: a wrong place would show.
  std::set<gfx::Pixel> seen;
  for (int y = 0; y < 15; ++y)
    for (int x = 0; x < 20; ++x) seen.insert(whole.At(13 + x, 7 + y));
  ASSERT_GT(seen.size(), 8u);
  ExpectPartOf(part, whole, 13, 7);
  // Through a transparent child, the offsets add up.
  ExpectPartOf(small, whole, 15, 10);
}

TEST_F(ControlPaintTest, TheBackgroundAnswerOfEachKind) {
  // A picture with a gradient: its cache, painted on demand.
  TacBGInfo bg = AskBG(parent);
  EXPECT_EQ(bg.BgType, TacBGType::btCache);
  EXPECT_EQ(bg.Bmp, parent->SkinData().CacheBmp());
  EXPECT_EQ(bg.Offset, (gfx::TPoint{0, 0}));
  // Fully transparent: the parent's picture, at the child's place.
  bg = AskBG(child);
  EXPECT_EQ(bg.BgType, TacBGType::btCache);
  EXPECT_EQ(bg.Bmp, parent->SkinData().CacheBmp());
  EXPECT_EQ(bg.Offset, (gfx::TPoint{13, 7}));
  EXPECT_EQ(BGInfoToCI(bg).Ready, true);
  // A plain colour.
  child->SkinData().SetSkinSection("EDIT");
  bg = AskBG(child);
  EXPECT_EQ(bg.BgType, TacBGType::btFill);
  EXPECT_EQ(bg.Color, kEditBG);
  skin::paint::TCacheInfo ci = BGInfoToCI(bg);
  EXPECT_FALSE(ci.Ready);
  EXPECT_EQ(ci.FillColor, kEditBG);
  // The control's own colour.
  child->SetColor(0x123456);
  child->SkinData().SetCustomColor(true);
  EXPECT_EQ(AskBG(child).Color, 0x123456);
  EXPECT_EQ(AskBG(child).BgType, TacBGType::btFill);

  // Asked to draw: the cache at the asker's place goes into the context.
  gfx::Bitmap drawn(20, 15);
  gfx::DeviceContext dc(drawn);
  bg = {};
  bg.PleaseDraw = true;
  bg.DrawDC = &dc;
  bg.R = {0, 0, 20, 15};
  bg.Offset = {13, 7};
  SendAMessage(parent->Handle(), AC_GETBG, LPARAM(&bg));
  EXPECT_EQ(bg.BgType, TacBGType::btCache);
  ExpectPartOf(drawn, *parent->SkinData().CacheBmp(), 13, 7);

  // An unskinned form: a window counts as the skin's main colour, not answered; the form as
  // a control answers with its own colour.
  EXPECT_FALSE(GetBGInfo(bg, form->Handle(), false));
  EXPECT_EQ(bg.BgType, TacBGType::btFill);
  EXPECT_EQ(bg.Color, kMain);
  EXPECT_TRUE(GetBGInfo(bg, form, false));
  EXPECT_EQ(bg.BgType, TacBGType::btFill);
  EXPECT_EQ(bg.Color, 0);
  // An unskinned form asked to draw paints itself into the context, moved and clipped.
  gfx::Bitmap painted(6, 4);
  painted.Fill(gfx::MakePixel(1, 2, 3, 255));
  gfx::DeviceContext pdc(painted);
  form->SetColor(0x00FF00);
  bg.DrawDC = &pdc;
  bg.R = {0, 0, 3, 4};
  bg.Offset = {5, 5};
  EXPECT_FALSE(GetBGInfo(bg, form->Handle(), true));
  EXPECT_EQ(bg.BgType, TacBGType::btUnknown);
  EXPECT_EQ(painted.At(0, 0) & 0xFFFFFF, 0x00FF00u);          // the form's green
  EXPECT_EQ(painted.At(3, 0), gfx::MakePixel(1, 2, 3, 255));  // outside R

  // Without a skin: the control's own colour.
  manager->SetActive(false);
  parent->SetColor(0x0A0B0C);
  bg = AskBG(parent);
  EXPECT_EQ(bg.BgType, TacBGType::btFill);
  EXPECT_EQ(bg.Color, 0x0A0B0C);
  // Nor is anything painted for an unskinned control.
  EXPECT_FALSE(PaintSkinControl(parent->SkinData(), form, true, 0, {0, 0, 80, 60}, {},
                                parent->SkinData().CacheBmp(), true));
}

TEST_F(ControlPaintTest, ACleanCacheIsKeptAndAStaleOneRepainted) {
  TsCommonData& cd = parent->SkinData();
  PrepareCache(parent);
  ASSERT_FALSE(cd.BGChanged);
  const gfx::Bitmap painted = *cd.CacheBmp();
  const gfx::Pixel marker = gfx::MakePixel(9, 9, 9, 9);
  cd.CacheBmp()->Set(40, 30, marker);
  PrepareCache(parent);
  EXPECT_EQ(cd.CacheBmp()->At(40, 30), marker);  // kept
  cd.BGChanged = true;
  PrepareCache(parent);
  EXPECT_FALSE(cd.BGChanged);
  EXPECT_EQ(*cd.CacheBmp(), painted);  // painted again
  // A cache of another size is painted again even when marked clean.
  parent->SetWidth(90);
  cd.BGChanged = false;
  EXPECT_TRUE(UpdateCache(cd, 0));
  EXPECT_EQ(cd.CacheBmp()->Width(), 90);
  EXPECT_NE(cd.CacheBmp()->At(85, 30), gfx::Pixel(0));

  // The copy to the screen leaves out the children that paint themselves.
  gfx::Bitmap screen(90, 60);
  screen.Fill(marker);
  gfx::DeviceContext dc(screen);
  CopyWinControlCache(*parent, cd, {0, 0, 90, 60}, {0, 0, 90, 60}, &dc, false);
  EXPECT_EQ(screen.At(14, 8), marker);  // the child
  EXPECT_EQ(screen.At(5, 5), cd.CacheBmp()->At(5, 5));
  EXPECT_EQ(screen.At(40, 40), cd.CacheBmp()->At(40, 40));

  // Known by its window only: the child windows are left out, moved by the offset.
  screen.Fill(marker);
  CopyHwndCache(parent->Handle(), cd, {0, 0, 90, 60}, {0, 0, 90, 60}, &dc, false, -2, 0);
  EXPECT_EQ(screen.At(16, 8), marker);
  EXPECT_EQ(screen.At(14, 8), cd.CacheBmp()->At(14, 8));
  EXPECT_EQ(screen.At(40, 40), cd.CacheBmp()->At(40, 40));

  // Excluded children keep what lies under them; windowless ones only while the manager
  // leaves their pictures opaque.
  new TDot(form, parent, {60, 40, 70, 50}, fw::clNone, fw::clNone);
  for (bool transparentImages : {false, true}) {
    manager->Options().StdImgTransparency = transparentImages;
    screen.Fill(marker);
    gfx::DeviceContext clipped(screen);
    ExcludeControls(&clipped, *parent, 1, 2);
    gfx::FillRect(&clipped, screen.Bounds(), 0xFFFFFF);
    EXPECT_EQ(screen.At(1 + 14, 2 + 8), marker);  // the windowed child
    EXPECT_EQ(screen.At(1 + 65, 2 + 45) == marker, !transparentImages);
    EXPECT_NE(screen.At(0, 0), marker);
  }
}

TEST_F(ControlPaintTest, FontColoursFollowTheSectionAndNeverReadPastThePicture) {
  TsCommonData& cd = child->SkinData();
  cd.SetSkinSection("FONTY");
  const int fonty = manager->GetSkinIndex("FONTY");
  ASSERT_EQ(cd.SkinIndex, fonty);
  form->Font().SetColor(0x777777);
  // The section's border picture has one frame: in the hot state its mask is read in that
  // frame (dark: the text stands on the section), not where a second frame would lie.
  EXPECT_FALSE(NeedParentFont(manager, fonty, 1, child));
  EXPECT_EQ(GetFontColor(child, fonty, manager, &cd, 1), kHotFont);
  EXPECT_EQ(GetFontColor(child, fonty, manager, &cd, 5), kHotFont);
  EXPECT_EQ(GetFontColor(child->Handle(), fonty, manager, 1), kHotFont);
  EXPECT_EQ(GetFontColor(child, fonty, manager, &cd, 0), kFont);
  // A window saying nothing gives the button-text colour.
  EXPECT_EQ(GetFontColor(form->Handle(), fonty, manager, 0), fw::clBtnText);
  // A control asked for a missing section: 0 from an unskinned control is its parent's font.
  auto* plain = new fw::TPanel(form);
  plain->SetParent(parent);
  parent->Font().SetColor(0x0F0E0D);
  EXPECT_EQ(GetFontColor(plain, -1, manager, nullptr, 0), 0x0F0E0D);
  // Disabled: blended with the parent's background.
  child->SetEnabled(false);
  const auto back = fw::TColor(SendAMessage(parent->Handle(), AC_GETCONTROLCOLOR));
  EXPECT_EQ(GetFontColor(child, fonty, manager, &cd, 0),
            skin::paint::BlendColors(kFont, back, skin::paint::DefBlendDisabled));
  child->SetEnabled(true);
  // A custom font keeps its colour; no skin gives the control's.
  child->Font().SetColor(0x010203);
  cd.SetCustomFont(true);
  EXPECT_EQ(GetFontColor(child, fonty, manager, &cd, 1), 0x010203);
  cd.SetCustomFont(false);
  // No skin: the unskinned control names no section, so the parent's font colour.
  manager->SetActive(false);
  EXPECT_EQ(GetFontColor(child, fonty, manager, &cd, 1), 0x0F0E0D);
  EXPECT_EQ(GetFontColor(child->Handle(), fonty, manager, 1), fw::clBtnText);
}

TEST_F(ControlPaintTest, AControlsTextTakesItsSectionsFontColourUnlessItKeepsItsOwn) {
  TsCommonData& cd = child->SkinData();
  cd.SetSkinSection("FONTY");
  gfx::Bitmap bmp(120, 40);
  gfx::DeviceContext dc(bmp);
  fw::TCanvas canvas;
  canvas.Font.SetHeight(-32);
  canvas.SetHandle(&dc);
  canvas.Font.SetColor(0x00FF00);
  auto write = [&](bool enabled, int hot) {
    bmp.Fill(gfx::MakePixel(255, 255, 255, 255));
    WriteTextEx(canvas, u"HEM", enabled, {0, 0, 120, 40}, 0, cd, hot, false);
  };
  auto count = [&](fw::TColor c) {
    int n = 0;
    for (int y = 0; y < bmp.Height(); ++y)
      for (int x = 0; x < bmp.Width(); ++x)
        n += (bmp.At(x, y) & 0xFFFFFF) == gfx::PixelFromColor(fw::ColorToRGB(c), 0);
    return n;
  };
  write(true, 1);
  EXPECT_GT(count(kHotFont), 20);
  EXPECT_EQ(count(0x00FF00), 0);
  write(true, 0);
  EXPECT_GT(count(kFont), 20);
  EXPECT_EQ(canvas.Font.Color(), 0x00FF00);  // the canvas keeps its colour and brush
  EXPECT_EQ(canvas.BrushStyle, fw::TBrushStyle::bsSolid);
  // A custom font writes in the canvas's colour.
  cd.SetCustomFont(true);
  write(true, 1);
  EXPECT_GT(count(0x00FF00), 20);
  EXPECT_EQ(count(kHotFont), 0);
  // Disabled and not following the skin: embossed, ending in the shadow colour.
  write(false, 1);
  EXPECT_GT(count(fw::clBtnShadow), 20);
  EXPECT_EQ(count(0x00FF00), 0);
  canvas.SetHandle(nullptr);
}

// The text of "HEM" written by WriteTextEx for a control in a state, in a 32-pixel font.
class TTextProbe {
 public:
  TTextProbe() : FDc(FBmp) {
    FCanvas.Font.SetHeight(-32);
    FCanvas.SetHandle(&FDc);
    FCanvas.Font.SetColor(0x00FF00);
  }
  ~TTextProbe() { FCanvas.SetHandle(nullptr); }
  // The pixels written in colour c, as a mask.
  std::vector<bool> Write(TsCommonData& cd, int hot, fw::TColor c) {
    FBmp.Fill(gfx::MakePixel(255, 255, 255, 255));
    WriteTextEx(FCanvas, u"HEM", true, {0, 0, 120, 40}, 0, cd, hot, false);
    std::vector<bool> ink;
    for (int y = 0; y < FBmp.Height(); ++y)
      for (int x = 0; x < FBmp.Width(); ++x)
        ink.push_back((FBmp.At(x, y) & 0xFFFFFF) == gfx::PixelFromColor(fw::ColorToRGB(c), 0));
    return ink;
  }
  fw::TCanvas& Canvas() { return FCanvas; }
  static int Count(const std::vector<bool>& ink) {
    return int(std::count(ink.begin(), ink.end(), true));
  }

 private:
  gfx::Bitmap FBmp{120, 40};
  gfx::DeviceContext FDc;
  fw::TCanvas FCanvas;
};

TEST_F(ControlPaintTest, ButtonLikeSectionsWriteInTheFontSectionTheirParentNames) {
  TTextProbe probe;
  TsCommonData& cd = child->SkinData();
  // A button's section lies in the button-like range: its text takes the section its skinned
  // parent names (the panel's), not its own.
  cd.SetSkinSection("BUTTON");
  ASSERT_EQ(cd.SkinIndex, manager->GetSkinIndex("BUTTON"));
  EXPECT_GT(TTextProbe::Count(probe.Write(cd, 0, kPanelFont)), 20);
  EXPECT_EQ(TTextProbe::Count(probe.Write(cd, 0, kButtonFont)), 0);
  // Outside the range a section writes in its own colours.
  cd.SetSkinSection("FONTY");
  EXPECT_GT(TTextProbe::Count(probe.Write(cd, 0, kFont)), 20);
  EXPECT_EQ(TTextProbe::Count(probe.Write(cd, 0, kPanelFont)), 0);
  // An unskinned parent names no section: the text takes the parent's font colour.
  auto* plain = new fw::TPanel(form);
  plain->SetBounds(100, 100, 60, 40);
  plain->SetParent(form);
  plain->Font().SetColor(0x0F0E0D);
  TsPanel* button = Add(plain, 2, 2, 40, 20);
  button->SkinData().SetSkinSection("BUTTON");
  EXPECT_GT(TTextProbe::Count(probe.Write(button->SkinData(), 1, 0x0F0E0D)), 20);
  EXPECT_EQ(TTextProbe::Count(probe.Write(button->SkinData(), 1, kButtonFont)), 0);
  EXPECT_EQ(probe.Canvas().Font.Color(), 0x00FF00);  // the canvas keeps its own colour
}

TEST_F(ControlPaintTest, AHotWebButtonIsUnderlined) {
  TTextProbe probe;
  TsCommonData& cd = child->SkinData();
  cd.SetSkinSection("WEBBUTTON");
  // Both states write in the panel's colour (the web button is button-like); hot adds a line.
  const std::vector<bool> normal = probe.Write(cd, 0, kPanelFont);
  const std::vector<bool> hot = probe.Write(cd, 1, kPanelFont);
  EXPECT_EQ(probe.Canvas().Font.Style(), fw::TFontStyles());  // the canvas's style is kept
  ASSERT_GT(TTextProbe::Count(normal), 20);
  // The hot text is the normal text plus a row inked across the text's width below it.
  int lowest = 0, left = 120, right = 0;
  for (int i = 0; i < int(normal.size()); ++i) {
    EXPECT_TRUE(!normal[i] || hot[i]) << i % 120 << "," << i / 120;
    if (normal[i]) {
      lowest = std::max(lowest, i / 120);
      left = std::min(left, i % 120);
      right = std::max(right, i % 120);
    }
  }
  int lineRows = 0;
  for (int y = lowest + 1; y < 40; ++y) {
    int run = 0;
    for (int x = left; x <= right; ++x) run += hot[y * 120 + x];
    lineRows += run > (right - left) * 3 / 4;
  }
  EXPECT_GE(lineRows, 1);
  // Another section's hot text has no line.
  cd.SetSkinSection("BUTTON");
  EXPECT_EQ(probe.Write(cd, 1, kPanelFont), normal);
}

TEST(CheckSize, TheRegistrationReadsOnePictureOfTheSystemCheckBoxes) {
  RegisterSkinClasses();
  EXPECT_EQ(FCheckWidth, 13);
  EXPECT_EQ(FCheckHeight, 13);
}

TEST_F(ControlPaintTest,
       WindowlessChildrenPaintOverTheParentsPictureUnlessTheyLeaveTheirCornerKeyed) {
  new TDot(form, parent, {40, 5, 50, 12}, 0x0000FF, 0x0000FF);
  new TDot(form, parent, {40, 20, 50, 27}, 0x00FF00, fw::clFuchsia);
  new TDot(form, parent, {55, 30, 65, 40}, fw::clNone, fw::clNone);
  PrepareCache(parent);
  const gfx::Bitmap& cache = *parent->SkinData().CacheBmp();
  gfx::Bitmap screen(100, 80);
  const gfx::Pixel marker = gfx::MakePixel(9, 9, 9, 255);
  screen.Fill(marker);
  gfx::DeviceContext dc(screen);
  PaintControls(&dc, *parent, true, {5, 4});
  EXPECT_EQ(screen.At(5 + 45, 4 + 8) & 0xFFFFFF, gfx::PixelFromColor(0x0000FF, 0));
  EXPECT_EQ(screen.At(5 + 45, 4 + 23), marker);  // keyed corner: not copied
  // Painting nothing shows the parent's picture at the child's place.
  gfx::Bitmap shown(10, 10);
  shown.CopyFrom(screen, {60, 34, 70, 44}, {0, 0});
  gfx::Bitmap expected(10, 10);
  expected.CopyFrom(cache, {55, 30, 65, 40}, {0, 0});
  EXPECT_EQ(shown, expected);
  EXPECT_EQ(screen.At(0, 0), marker);  // nothing outside the children
  // An empty clip paints nothing.
  screen.Fill(marker);
  gfx::IntersectClipRect(&dc, 0, 0, 0, 0);
  PaintControls(&dc, *parent, true, {5, 4});
  EXPECT_EQ(screen.At(5 + 45, 4 + 8), marker);
}

TEST_F(ControlPaintTest, AChildsOuterEffectIsPaintedRoundItIntoTheParentsPicture) {
  child->SkinData().SetSkinSection("SHADOWED");
  auto parentCache = [&] {
    parent->SkinData().BGChanged = true;
    PrepareCache(parent);
    return *parent->SkinData().CacheBmp();
  };
  // Nothing by default (Visibility ovNone).
  const gfx::Bitmap plain = parentCache();
  auto expectPlainBut = [&](const gfx::Bitmap& shown, gfx::TRect ring, gfx::TRect inner) {
    for (int y = 0; y < plain.Height(); ++y)
      for (int x = 0; x < plain.Width(); ++x) {
        if (!ring.Contains({x, y}) || inner.Contains({x, y})) {
          ASSERT_EQ(shown.At(x, y), plain.At(x, y)) << x << "," << y;
        }
      }
  };
  // The picture's pixel at (x, y) blended over the plain cache's (px, py) by opacity 200.
  const gfx::Bitmap master = Master();
  auto blended = [&](int px, int py, int x, int y) {
    const gfx::Pixel d = plain.At(px, py), s = master.At(x, y);
    const unsigned w = 200 * 255 >> 8;
    gfx::Pixel out = 0xFF000000;
    for (int c = 0; c < 24; c += 8)
      out |= ((d >> c & 0xFF) * (255 - w) + (s >> c & 0xFF) * w) >> 8 << c;
    return out;
  };

  child->SkinData().OuterEffects().Visibility = TacOuterVisibility::ovAlways;
  const gfx::Bitmap shadowed = parentCache();
  // The child at (13, 7), 20 x 15; two-pixel slices round it.
  expectPlainBut(shadowed, {11, 5, 35, 24}, {13, 7, 33, 22});
  EXPECT_EQ(shadowed.At(11, 5), blended(11, 5, 20, 0));
  EXPECT_EQ(shadowed.At(34, 23), blended(34, 23, 25, 5));
  EXPECT_NE(shadowed.At(20, 6), plain.At(20, 6));

  // Moving the child marks the parent's picture stale; the effect follows the child.
  desktop.Pump();
  parent->SkinData().BGChanged = false;
  child->SetBounds(40, 30, 20, 15);
  EXPECT_TRUE(parent->SkinData().BGChanged);
  const gfx::Bitmap moved = parentCache();
  EXPECT_EQ(moved.At(38, 28), blended(38, 28, 20, 0));
  EXPECT_EQ(moved.At(11, 5), plain.At(11, 5));

  // The manager's switch turns every outer effect off.
  manager->Effects().SetAllowOuterEffects(false);
  const gfx::Bitmap off = parentCache();
  expectPlainBut(off, {}, {});
}

// The generated shadows (modes 3 and 4) lie round the child in the parent's picture, darker
// where the offsets push them, and leave the child alone; written out, enlarged, for people to
// look at.
TEST_F(ControlPaintTest, GeneratedOuterShadowsLieRoundTheChild) {
  child->SetBounds(25, 18, 30, 22);
  child->SkinData().OuterEffects().Visibility = TacOuterVisibility::ovAlways;
  auto parentCache = [&] {
    parent->SkinData().BGChanged = true;
    PrepareCache(parent);
    return *parent->SkinData().CacheBmp();
  };
  const gfx::Bitmap plain = parentCache();  // the child's own section has no outer item
  auto luma = [](gfx::Pixel p) { return int(p & 0xFF) + int(p >> 8 & 0xFF) + int(p >> 16 & 0xFF); };
  gfx::Bitmap sheet(plain.Width() * 3, plain.Height());
  sheet.CopyFrom(plain, plain.Bounds(), {0, 0});
  int column = 1;
  for (const char* section : {"SHADOW3", "SHADOW4"}) {
    child->SkinData().SetSkinSection(section);
    const gfx::Bitmap shadowed = parentCache();
    sheet.CopyFrom(shadowed, shadowed.Bounds(), {plain.Width() * column++, 0});
    int changed = 0;
    for (int y = 0; y < plain.Height(); ++y)
      for (int x = 0; x < plain.Width(); ++x) {
        const bool inChild = x >= 25 && x < 55 && y >= 18 && y < 40;
        const bool nearChild = x >= 15 && x < 65 && y >= 8 && y < 50;
        if (inChild || !nearChild) {
          ASSERT_EQ(shadowed.At(x, y), plain.At(x, y)) << section << " " << x << "," << y;
        } else {
          changed += shadowed.At(x, y) != plain.At(x, y);
        }
      }
    EXPECT_GT(changed, 100) << section;
    // Below and right of the child the shadow darkens what lies there.
    EXPECT_LT(luma(shadowed.At(57, 42)), luma(plain.At(57, 42))) << section;
  }
  gfx::Bitmap big(sheet.Width() * 4, sheet.Height() * 4);
  for (int y = 0; y < big.Height(); ++y)
    for (int x = 0; x < big.Width(); ++x) big.Set(x, y, sheet.At(x / 4, y / 4) | 0xFF000000);
  gfx::WriteFileBytes((tests::OutputFolder("skin-controls") / "outer-shadows.png").string(),
                      gfx::EncodePng(big));
}

}  // namespace
}  // namespace skin::controls::test
