// The title bar: its owner rule, item sizes, the layout in a strip (and the hit tests that use
// the same rectangles), tabs with group indexes, scaling, item painting pixel by pixel and the
// item fade, under a small skin with a button section and no menu-button section.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "framework/Exception.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/win/Paint.h"
#include "platform/win/Window.h"
#include "skin/core/SkinnedFormTest.h"
#include "skin/core/sCommonData.h"
#include "skin/draw/sSkinText.h"
#include "skin/frame/acTitleBar.h"

namespace skin::frame {
namespace {

using core::test::SkinnedFormTest;

constexpr gfx::Pixel kStrip = 0xFF302010;  // the caption strip the items are painted over

// Whether pixel p shows colour rgb (pixel order), within the smoothing of small text.
bool Near(gfx::Pixel p, gfx::Pixel rgb) {
  for (int shift = 0; shift < 24; shift += 8)
    if (std::abs(int(p >> shift & 0xFF) - int(rgb >> shift & 0xFF)) > 24) return false;
  return true;
}

// Source-over of an opaque picture pixel s on d, as pictures are laid on the strip.
gfx::Pixel Over(gfx::Pixel s, gfx::Pixel d) {
  gfx::Pixel out = 0;
  const int a = int(s >> 24);
  for (int shift = 0; shift < 32; shift += 8) {
    const int sc = shift == 24 ? a : int(s >> shift & 0xFF), dc = int(d >> shift & 0xFF);
    out |= gfx::Pixel(((sc - dc) * a + dc * 256) >> 8) << shift;
  }
  return out;
}

gfx::Bitmap Master() {
  gfx::Bitmap bmp(8, 8);
  bmp.Fill(0xFF808080);
  return bmp;
}

// TB_BTN: blue at rest, green when hot, red pressed; white text at rest and black when hot.
// The title: font colour 0x00FFFF (yellow) active, 0x0000FF inactive.
const std::string kOptions =
    "[GLOBALINFO]\nVERSION=8.0\nMASTERBITMAP=master.bmp\n\n"
    "[FORMTITLE]\nSTATES=2\nCOLOR=0\nFONTCOLOR=255\nHOTCOLOR=0\nHOTFONTCOLOR=65535\n\n"
    "[TB_BTN]\nSTATES=3\nUSESTATE2=1\nCOLOR=16711680\nFONTCOLOR=16777215\nHOTCOLOR=65280\n"
    "HOTFONTCOLOR=0\nCOLOR2=255\nFONTCOLOR2=0\n";

class TitleBarTest : public SkinnedFormTest {
 protected:
  void SetUp() override {
    MakeSkinnedForm(kOptions, Master());
    bar = new TsTitleBar(form);
    bar->SkinManager = manager;
  }
  TacTitleBarItem& Item(TacBtnStyle style, TacItemAlign align, const std::u16string& caption) {
    TacTitleBarItem& item = bar->Items().Add();
    item.Style = style;
    item.Align = align;
    item.Caption = caption;
    return item;
  }
  int TextWidth(const std::u16string& s, const TacTitleBarItem& item) {
    return draw::acGetTextExtent(nullptr, s, item.InitFont().Handle()).cx;
  }
  int TextHeight(const std::u16string& s, const TacTitleBarItem& item) {
    return draw::acGetTextExtent(nullptr, s, item.InitFont().Handle()).cy;
  }
  // A caption picture filled with the strip colour.
  static gfx::Bitmap Strip(int w = 300, int h = 30) {
    gfx::Bitmap b(w, h);
    b.Fill(kStrip);
    return b;
  }
  int TitleIndex() const { return manager->SkinModel()->GetSkinIndex("FORMTITLE"); }

  TsTitleBar* bar = nullptr;
};

TEST_F(TitleBarTest, OnlyAFormMayOwnATitleBar) {
  try {
    TsTitleBar other(app.get());
    FAIL() << "a title bar on the application";
  } catch (const fw::Exception& e) {
    EXPECT_EQ(e.Message(), u"TsTitleBar component may be used with forms only!");
  }
  EXPECT_THROW(TsTitleBar(nullptr), fw::Exception);
  EXPECT_EQ(bar->Owner(), form);
}

TEST_F(TitleBarTest, SizesFollowCaptionImageAndDropDown) {
  TacTitleBarItem& text = Item(bsButton, tbaLeft, u"File");
  text.UpdateSize();
  const int tw = TextWidth(u"File", text), th = TextHeight(u"File", text);
  EXPECT_EQ(text.Width, std::max(16, 3 * 2 + tw));
  EXPECT_EQ(text.Height, std::max(16, th + 3 * 2));
  // A two-frame glyph of 40 x 20: one frame and the spacing before the text.
  TacTitleBarItem& pic = Item(bsButton, tbaLeft, u"File");
  pic.Glyph = gfx::Bitmap(40, 20);
  pic.NumGlyphs = 2;
  pic.UpdateSize();
  EXPECT_EQ(pic.FContentSize.cx, 20 + 4 + tw);
  EXPECT_EQ(pic.FContentSize.cy, std::max(20, th));
  EXPECT_EQ(pic.Height, std::max(20, th) + 6);
  // An image alone; small content keeps the 16-pixel minimum.
  TacTitleBarItem& bare = Item(bsButton, tbaLeft, u"");
  bare.Glyph = gfx::Bitmap(8, 8);
  bare.UpdateSize();
  EXPECT_EQ(bare.Width, 16);
  EXPECT_EQ(bare.Height, 16);
  // Menu items: 4 more on each side, one row taller, and room for the arrow of a drop-down.
  TacTitleBarItem& menu = Item(bsMenu, tbaLeft, u"File");
  menu.UpdateSize();
  EXPECT_EQ(menu.Width, std::max(16, (4 + 3) * 2 + tw));
  EXPECT_EQ(menu.FContentSize.cy, th + 1);
  fw::TComponent popup(nullptr);
  const int plainMenu = menu.Width, plainButton = text.Width;
  menu.DropdownMenu = &popup;
  text.DropdownMenu = &popup;
  menu.UpdateSize();
  text.UpdateSize();
  const int arrow = menu.Width - plainMenu - 2 * core::acSpacing;
  EXPECT_GT(arrow, 0);
  EXPECT_EQ(text.Width - plainButton, 1 + arrow + core::acSpacing);
  // Spacers keep the size they are given; a tab measures its text with extra spacing.
  TacTitleBarItem& gap = Item(bsSpacing, tbaLeft, u"File");
  gap.Width = 7;
  gap.UpdateSize();
  EXPECT_EQ(gap.Width, 7);
  TacTitleBarItem& tab = Item(bsTab, tbaLeft, u"File");
  tab.UpdateSize();
  EXPECT_EQ(tab.FContentSize.cx, tw + core::acSpacing);
  // Hidden items are not measured.
  TacTitleBarItem& hidden = Item(bsButton, tbaLeft, u"Something long");
  hidden.Visible = false;
  hidden.UpdateSize();
  EXPECT_EQ(hidden.Width, 22);
}

TEST_F(TitleBarTest, LayoutPlacesEachAlignmentAndHitsUseTheSameRectangles) {
  auto fixed = [&](TacTitleBarItem& i, int w, int h) {
    i.AutoSize = false;
    i.Width = w;
    i.Height = h;
    return &i;
  };
  TacTitleBarItem* l1 = fixed(Item(bsButton, tbaLeft, u""), 30, 18);
  TacTitleBarItem* r1 = fixed(Item(bsButton, tbaRight, u""), 20, 18);
  TacTitleBarItem* l2 = fixed(Item(bsMenu, tbaLeft, u""), 40, 22);
  TacTitleBarItem* r2 = fixed(Item(bsTab, tbaRight, u""), 25, 20);
  TacTitleBarItem* c = fixed(Item(bsInfo, tbaCenter, u""), 50, 16);
  TacTitleBarItem* cs = fixed(Item(bsButton, tbaCenterInSpace, u""), 60, 16);
  bar->RightSpacing = 5;
  const gfx::TRect strip{10, 2, 410, 30};
  bar->CalcSizes(strip, 420, 16, false);
  EXPECT_EQ(bar->LeftWidth(), 70);
  EXPECT_EQ(bar->RightWidth(), 5 + 45);
  EXPECT_EQ(l1->Rect, (gfx::TRect{10, 7, 40, 25}));     // centred on 16
  EXPECT_EQ(l2->Rect, (gfx::TRect{40, 2, 80, 24}));     // menus start at the top
  EXPECT_EQ(r1->Rect, (gfx::TRect{360, 7, 380, 25}));   // from 410 - 50
  EXPECT_EQ(r2->Rect, (gfx::TRect{380, 10, 405, 30}));  // tabs end at the bottom
  EXPECT_EQ(c->Rect.Left, 10 + (420 - 10 - 50) / 2);
  EXPECT_EQ(cs->Rect.Left, 10 + 70 + (400 - 50 - 70 - 60) / 2);
  // Hits come from those rectangles.
  EXPECT_EQ(bar->ItemAt({10, 7}), 0);
  EXPECT_EQ(bar->ItemAt({39, 24}), 0);
  EXPECT_EQ(bar->ItemAt({40, 24}), -1);
  EXPECT_EQ(bar->ItemAt({404, 29}), 3);
  EXPECT_EQ(bar->ItemAt({c->Rect.Left + 1, 10}), 4);
  EXPECT_EQ(bar->ItemAt({300, 3}), -1);
  l2->Visible = false;
  bar->CalcSizes(strip, 420, 16, false);
  EXPECT_EQ(bar->ItemAt({45, 10}), -1);

  // Right to left: right-aligned items start at the left end, in reverse order.
  l2->Visible = true;
  bar->CalcSizes(strip, 420, 16, true);
  EXPECT_EQ(r2->Rect.Left, 10);
  EXPECT_EQ(r1->Rect.Left, 35);
  EXPECT_EQ(l1->Rect.Right, 410 - 5);
  EXPECT_EQ(l2->Rect.Right, 410 - 5 - 30);
}

TEST_F(TitleBarTest, TabsOfOneGroupExcludeEachOther) {
  TacTitleBarItem& first = Item(bsTab, tbaLeft, u"One");
  TacTitleBarItem& second = Item(bsTab, tbaLeft, u"Two");
  TacTitleBarItem& other = Item(bsTab, tbaLeft, u"Other");
  first.GroupIndex = second.GroupIndex = 1;
  other.GroupIndex = 2;
  first.Down = other.Down = true;
  int clicks = 0, downs = 0;
  second.OnClick = [&](TacTitleBarItem&) { ++clicks; };
  second.OnMouseDown = [&](TacTitleBarItem&, fw::TMouseButton) { ++downs; };
  second.DoMouseDown();
  EXPECT_TRUE(second.Down);
  EXPECT_FALSE(first.Down);
  EXPECT_TRUE(other.Down);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(second.GetState(), 2);
  // Pressed already: a second press does nothing until the release.
  second.DoMouseDown();
  EXPECT_EQ(downs, 1);
  second.DoMouseUp();
  second.DoMouseDown();  // down already: no click
  EXPECT_EQ(downs, 2);
  EXPECT_EQ(clicks, 1);
  // A tab without a group only clicks; a disabled item ignores the mouse.
  TacTitleBarItem& loose = Item(bsTab, tbaLeft, u"Loose");
  loose.GroupIndex = -1;
  int looseClicks = 0;
  loose.OnClick = [&](TacTitleBarItem&) { ++looseClicks; };
  loose.DoMouseDown();
  EXPECT_EQ(looseClicks, 1);
  EXPECT_FALSE(loose.Down);
  loose.DoMouseUp();
  loose.Enabled = false;
  loose.DoMouseDown();
  EXPECT_EQ(looseClicks, 1);
  EXPECT_FALSE(loose.FPressed);
  // Hover moves from item to item with their events; a hidden item is never hot.
  std::string events;
  for (TacTitleBarItem* i : {&first, &loose}) {
    i->OnMouseEnter = [&](TacTitleBarItem& it) { events += "+" + std::to_string(it.Index()); };
    i->OnMouseLeave = [&](TacTitleBarItem& it) { events += "-" + std::to_string(it.Index()); };
  }
  loose.Cursor = -21;
  EXPECT_EQ(bar->SetHotItem(0), fw::crDefault);
  EXPECT_EQ(bar->SetHotItem(3), -21);
  EXPECT_EQ(first.GetState(), 0);
  EXPECT_EQ(loose.GetState(), 1);
  loose.Visible = false;
  bar->SetHotItem(3);
  EXPECT_EQ(events, "+0-0+3-3");
  EXPECT_EQ(bar->HotItem(), -1);
}

TEST_F(TitleBarTest, ScalingScalesSizesMarginsAndFonts) {
  TacTitleBarItem& item = Item(bsSpacing, tbaLeft, u"");
  item.FontData.Font.SetHeight(-12);
  bar->UpdateScale(150);
  EXPECT_EQ(item.Width, 33);
  EXPECT_EQ(item.Height, 27);
  EXPECT_EQ(item.Spacing, 6);
  EXPECT_EQ(item.FontData.Font.Height(), -18);
  EXPECT_EQ(bar->ItemsMargin, 5);  // 4.5 rounded away from zero
  bar->UpdateScale(100);
  EXPECT_EQ(item.Width, 22);
  EXPECT_EQ(bar->OldScaleValue, 100);
}

TEST_F(TitleBarTest, AMenuItemWithoutASectionUsesTheMenuButtonFramesAndWhiteText) {
  ASSERT_LT(manager->SkinModel()->GetSkinIndex("TB_MENUBTN"), 0);
  TacTitleBarItem& menu = Item(bsMenu, tbaLeft, u"File");
  bar->CalcSizes({0, 0, 300, 30}, 300, 15, false);
  const gfx::TRect r = menu.Rect;
  TacTitlePaintInfo info;
  info.StripHeight = 30;
  // At rest in an active form: the normal frame is empty, the text white.
  gfx::Bitmap pic = Strip();
  PaintTitleItem(menu, r, pic, info);
  EXPECT_EQ(pic.At(r.Left + 1, r.Top + 1), kStrip);
  int white = 0;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x)
      if (Near(pic.At(x, y), 0xFFFFFF)) ++white;
  EXPECT_GT(white, 5);
  // Hot: the frame's hot picture, stretched over the item down to 2 rows above the strip's end.
  menu.SetState(1);
  pic = Strip();
  PaintTitleItem(menu, r, pic, info);
  const gfx::Bitmap& frames = bar->DefaultMenuBtn();
  EXPECT_EQ(pic.At(r.Left, r.Top), Over(frames.At(24, 0), kStrip));  // the hot frame's border
  EXPECT_EQ(pic.At(r.Left + 1, r.Top + 1), Over(frames.At(25, 1), kStrip));
  const int bottom = std::min(r.Bottom, 28);
  EXPECT_EQ(pic.At(r.Right - 1, bottom - 1), Over(frames.At(47, 21), kStrip));
  if (bottom < r.Bottom) {
    EXPECT_EQ(pic.At(r.Left + 1, bottom), kStrip);
  }
  // At rest in an inactive form the item is half transparent over the strip.
  menu.SetState(0);
  info.FormActive = false;
  gfx::Bitmap active = Strip(), inactive = Strip();
  info.FormActive = true;
  PaintTitleItem(menu, r, active, info);
  info.FormActive = false;
  PaintTitleItem(menu, r, inactive, info);
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x)
      for (int shift = 0; shift < 24; shift += 8) {
        const int n = int(active.At(x, y) >> shift & 0xFF), o = int(kStrip >> shift & 0xFF);
        ASSERT_EQ(int(inactive.At(x, y) >> shift & 0xFF), (127 * (n - o) + o * 256) >> 8)
            << x << "," << y;
      }
}

TEST_F(TitleBarTest, ButtonsPaintTheirSectionForTheStateAndWriteInItsColours) {
  TacTitleBarItem& button = Item(bsButton, tbaLeft, u"Go");
  bar->CalcSizes({0, 0, 300, 30}, 300, 15, false);
  const gfx::TRect r = button.Rect;
  TacTitlePaintInfo info;
  info.StripHeight = 30;
  info.TitleSkinIndex = TitleIndex();
  auto count = [&](const gfx::Bitmap& b, gfx::Pixel rgb) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x)
        if (Near(b.At(x, y), rgb)) ++n;
    return n;
  };
  // Pixel order: blue 0x0000FF, red 0xFF0000, yellow 0xFFFF00.
  gfx::Bitmap pic = Strip();
  PaintTitleItem(button, r, pic, info);
  EXPECT_EQ(pic.At(r.Left, r.Top) & 0xFFFFFF, 0x0000FFu);
  // At rest the text is the section's white on its blue face, not the title's yellow, in an
  // active and an inactive form alike.
  EXPECT_GT(count(pic, 0xFFFFFF), 3);
  EXPECT_EQ(count(pic, 0xFFFF00), 0);
  info.FormActive = false;
  pic = Strip();
  PaintTitleItem(button, r, pic, info);
  EXPECT_GT(count(pic, 0xFFFFFF), 3);
  EXPECT_EQ(count(pic, 0xFF0000), 0);
  // An info item has no section: it writes on the title in the title's colours for the
  // form's state (yellow active, red inactive).
  TacTitleBarItem& info2 = Item(bsInfo, tbaLeft, u"Go");
  info2.UpdateSize();
  info2.Rect = gfx::RectOfSize(r.Left, r.Top, info2.Width, r.Height());
  pic = Strip();
  PaintTitleItem(info2, info2.Rect, pic, info);
  EXPECT_GT(count(pic, 0xFF0000), 3);
  EXPECT_EQ(count(pic, 0xFFFFFF), 0);
  info.FormActive = true;
  pic = Strip();
  PaintTitleItem(info2, info2.Rect, pic, info);
  EXPECT_GT(count(pic, 0xFFFF00), 3);
  // So does a tab in a skin without "TB_TAB".
  info2.Style = bsTab;
  pic = Strip();
  PaintTitleItem(info2, info2.Rect, pic, info);
  EXPECT_GT(count(pic, 0xFFFF00), 3);
  // Hot: green, black text. Pressed (a down tab's state): red.
  button.SetState(1);
  pic = Strip();
  PaintTitleItem(button, r, pic, info);
  EXPECT_EQ(pic.At(r.Left, r.Top) & 0xFFFFFF, 0x00FF00u);
  EXPECT_GT(count(pic, 0x000000), 3);
  button.Down = true;
  pic = Strip();
  PaintTitleItem(button, r, pic, info);
  EXPECT_EQ(pic.At(r.Left, r.Top) & 0xFFFFFF, 0xFF0000u);
  // Disabled: half of the blue over the strip; outside the item nothing changes.
  button.Down = false;
  button.SetState(0);
  button.Enabled = false;
  pic = Strip();
  PaintTitleItem(button, r, pic, info);
  const gfx::Pixel blue = 0xFF0000FF;
  for (int shift = 0; shift < 24; shift += 8) {
    const int n = int(blue >> shift & 0xFF), o = int(kStrip >> shift & 0xFF);
    EXPECT_EQ(int(pic.At(r.Left, r.Top) >> shift & 0xFF), (127 * (n - o) + o * 256) >> 8);
  }
  EXPECT_EQ(pic.At(r.Right, r.Top), kStrip);
  // An item drawn over a rectangle that does not fit the picture draws nothing.
  pic = Strip();
  PaintTitleItem(button, {290, 0, 310, 20}, pic, info);
  EXPECT_EQ(pic, Strip());
}

TEST_F(TitleBarTest, TheItemFadeShowsTheItemsPictureOverItsPlace) {
  form->Show();
  desktop.Pump();
  TacTitleBarItem& item = Item(bsButton, tbaLeft, u"Go");
  item.AutoSize = false;
  bar->CalcSizes({0, 0, 200, 24}, 200, 12, false);
  core::TsCommonData sd(form, false);
  sd.SetSkinManager(manager);
  StartItemAnimation(item, 1, 10, true, form->Handle(), nullptr, &sd, {5, 3});
  ASSERT_TRUE(item.Data.cpTimer);
  core::TacGlowForm* w = item.Data.cpTimer->Window();
  ASSERT_NE(w, nullptr);
  win::RECT wr;
  win::GetWindowRect(w->Handle(), &wr);
  EXPECT_EQ(wr.Left, 5 + item.Rect.Left);
  EXPECT_EQ(wr.Top, 3 + item.Rect.Top);
  EXPECT_EQ(wr.Right - wr.Left, 22);
  // Without its own drawing the picture is a yellow placeholder (premultiplied on screen).
  const win::SurfaceInfo s = win::GetWindowSurface(w->Handle());
  ASSERT_NE(s.pixels, nullptr);
  EXPECT_EQ(s.pixels->At(3, 3), 0xFFFEFE00u);
  EXPECT_EQ(s.constantAlpha, 25);
  desktop.Advance(12 * 12);
  EXPECT_EQ(win::GetWindowSurface(w->Handle()).constantAlpha, 255);
  // Drawn by the item: its picture.
  item.Data.cpTimer.reset();
  item.OnInternalDraw = [](TacTitleBarItem&, gfx::Bitmap& b, const gfx::TRect&) {
    b.Fill(0xFF123456);
  };
  StartItemAnimation(item, 2, 1, true, form->Handle(), nullptr, &sd);
  EXPECT_EQ(win::GetWindowSurface(item.Data.cpTimer->Window()->Handle()).pixels->At(1, 1),
            0xFF113355u);
  item.Data.cpTimer.reset();
}

}  // namespace
}  // namespace skin::frame
