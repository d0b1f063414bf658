#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Harness.h"
#include "framework/Automation.h"
#include "framework/Reader.h"
#include "framework/SpeedButton.h"
#include "platform/backend/Dump.h"
#include "platform/win/Input.h"

namespace fw::test {
namespace {

using S = TButtonState;

class SpeedButtonTest : public FrameworkTest {
 protected:
  // A form with a grey ground at (0, 0) and buttons 30 wide in a row at y 10, counting clicks.
  void SetUp() override {
    FrameworkTest::SetUp();
    form = ShowForm(0, 0, 400, 200);
    form->SetColor(clGray);
  }
  TSpeedButton* Add(int group, bool allowAllUp = false) {
    auto* b = new TSpeedButton(form);
    b->SetBounds(10 + 40 * form->ControlCount(), 10, 30, 24);
    b->SetParent(form);
    b->SetGroupIndex(group);
    b->SetAllowAllUp(allowAllUp);
    b->OnClick = [this](TComponent*) { ++clicks; };
    return b;
  }
  void ClickOn(TSpeedButton* b) { Click(b->Left() + 15, b->Top() + 12); }

  TForm* form = nullptr;
  int clicks = 0;
};

TEST_F(SpeedButtonTest, AGroupKeepsOneDownAndAllowAllUpLetsTheLastOneUp) {
  TSpeedButton* a = Add(1);
  TSpeedButton* b = Add(1);
  TSpeedButton* c = Add(1);
  TSpeedButton* other = Add(2);
  other->SetDown(true);

  ClickOn(a);
  EXPECT_TRUE(a->Down());
  EXPECT_EQ(a->State(), S::bsExclusive);
  ClickOn(b);
  EXPECT_FALSE(a->Down());
  EXPECT_EQ(a->State(), S::bsUp);
  EXPECT_TRUE(b->Down());
  EXPECT_EQ(clicks, 2);
  // Another group is not touched; setting Down from the program does the same as a click.
  EXPECT_TRUE(other->Down());
  c->SetDown(true);
  EXPECT_FALSE(b->Down());
  EXPECT_TRUE(c->Down());
  // Without AllowAllUp the down button stays down, clicked or set.
  ClickOn(c);
  EXPECT_TRUE(c->Down());
  EXPECT_EQ(c->State(), S::bsExclusive);
  EXPECT_EQ(clicks, 3);
  c->SetDown(false);
  EXPECT_TRUE(c->Down());

  // AllowAllUp, set on one, holds for the group: the down one goes up and leaves none down.
  a->SetAllowAllUp(true);
  EXPECT_TRUE(c->AllowAllUp());
  ClickOn(c);
  EXPECT_FALSE(c->Down());
  EXPECT_EQ(c->State(), S::bsUp);
  EXPECT_FALSE(a->Down() || b->Down());

  // A group of one with AllowAllUp toggles.
  other->SetGroupIndex(3);
  other->SetAllowAllUp(true);
  ClickOn(other);
  EXPECT_FALSE(other->Down());
  ClickOn(other);
  EXPECT_TRUE(other->Down());

  // GroupIndex 0 never stays down.
  TSpeedButton* plain = Add(0);
  plain->SetDown(true);
  EXPECT_FALSE(plain->Down());
  ClickOn(plain);
  EXPECT_FALSE(plain->Down());
  EXPECT_EQ(plain->State(), S::bsUp);
}

TEST_F(SpeedButtonTest, APressHoldsTheMouseAndOnlyAReleaseOverTheButtonClicks) {
  TSpeedButton* a = Add(0);
  TSpeedButton* g = Add(5);
  const int x = a->Left() + 15, y = a->Top() + 12;
  win::InjectMouseMove({x, y});
  win::InjectMouseButton(0, true, {x, y});
  desktop.Pump();
  EXPECT_EQ(a->State(), S::bsDown);
  // Dragged off (over the other button, which does not light up): drawn up; back: pressed.
  Move(g->Left() + 15, y);
  EXPECT_EQ(a->State(), S::bsUp);
  EXPECT_EQ(g->State(), S::bsUp);
  Move(x, y);
  EXPECT_EQ(a->State(), S::bsDown);
  // Released off it: no click, and it is up.
  Move(300, 150);
  win::InjectMouseButton(0, false, {300, 150});
  desktop.Pump();
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(a->State(), S::bsUp);
  // Pressed, left and brought back before the release: a click.
  win::InjectMouseMove({x, y});
  win::InjectMouseButton(0, true, {x, y});
  desktop.Pump();
  Move(300, 150);
  Move(x, y);
  win::InjectMouseButton(0, false, {x, y});
  desktop.Pump();
  EXPECT_EQ(clicks, 1);

  // A grouped button released off itself does not go down.
  const int gx = g->Left() + 15;
  win::InjectMouseMove({gx, y});
  win::InjectMouseButton(0, true, {gx, y});
  desktop.Pump();
  Move(300, 150);
  win::InjectMouseButton(0, false, {300, 150});
  desktop.Pump();
  EXPECT_FALSE(g->Down());

  // Disabled: no press, no click, and a press cut short by disabling leaves it up.
  win::InjectMouseMove({x, y});
  win::InjectMouseButton(0, true, {x, y});
  desktop.Pump();
  a->SetEnabled(false);
  EXPECT_EQ(a->State(), S::bsDisabled);
  win::InjectMouseButton(0, false, {x, y});
  desktop.Pump();
  a->SetEnabled(true);
  EXPECT_EQ(a->State(), S::bsUp);
  a->SetEnabled(false);
  Click(x, y);
  EXPECT_EQ(clicks, 1);
  // Its accelerator clicks it only while it is enabled.
  a->SetCaption(u"&Go");
  EXPECT_EQ(form->Perform(CM_DIALOGCHAR, u'g', 0), 0);
  a->SetEnabled(true);
  EXPECT_EQ(form->Perform(CM_DIALOGCHAR, u'g', 0), 1);
  EXPECT_EQ(clicks, 2);
}

TEST_F(SpeedButtonTest, FlatButtonsShowTheirEdgeOnlyUnderTheMouseOrPressed) {
  TSpeedButton* flat = Add(7, true);
  flat->SetFlat(true);
  TSpeedButton* raised = Add(0);
  desktop.Pump();
  // The top-left pixel: the edge's highlight when drawn, else the form's grey behind it.
  const auto edge = [&](TSpeedButton* b) { return ScreenAt(b->Left(), b->Top()); };
  const auto face = [&](TSpeedButton* b) { return ScreenAt(b->Left() + 3, b->Top() + 3); };
  const gfx::COLORREF grey = ColorToRGB(clGray), light = ColorToRGB(clBtnHighlight);
  EXPECT_FALSE(flat->Hot());
  EXPECT_EQ(edge(flat), grey);
  EXPECT_EQ(face(flat), grey);  // transparent
  EXPECT_EQ(edge(raised), light);
  EXPECT_EQ(face(raised), ColorToRGB(clBtnFace));

  Move(flat->Left() + 15, flat->Top() + 12);
  EXPECT_TRUE(flat->Hot());
  EXPECT_EQ(edge(flat), light);
  Move(300, 150);
  EXPECT_FALSE(flat->Hot());
  EXPECT_EQ(edge(flat), grey);
  // Down, it shows its sunken edge with the mouse away too.
  flat->SetDown(true);
  desktop.Pump();
  EXPECT_EQ(edge(flat), ColorToRGB(clBtnShadow));
  // Not transparent: its face is filled.
  flat->SetDown(false);
  flat->SetTransparent(false);
  desktop.Pump();
  EXPECT_EQ(face(flat), ColorToRGB(clBtnFace));

  // For people to look at: a row of captioned buttons, up, down in a group, disabled, flat
  // under the mouse and flat at rest.
  const char16_t* captions[] = {u"Up", u"&Down", u"Off", u"Hot", u"Flat"};
  std::vector<TSpeedButton*> row;
  for (int i = 0; i < 5; ++i) {
    TSpeedButton* b = Add(i == 1 ? 9 : 0);
    b->SetBounds(10 + i * 70, 60, 64, 26);
    b->SetCaption(captions[i]);
    b->SetFlat(i >= 3);
    row.push_back(b);
  }
  row[1]->SetDown(true);
  row[2]->SetEnabled(false);
  Move(row[3]->Left() + 30, 70);
  SaveScreen("speed-buttons");
}

TEST_F(SpeedButtonTest, TheGlyphShowsTheFrameOfTheState) {
  // Four 8 x 8 frames: red up, green disabled, blue down, white exclusive.
  gfx::Bitmap strip(32, 8);
  const gfx::Pixel colours[] = {gfx::MakePixel(0, 0, 255, 255), gfx::MakePixel(0, 255, 0, 255),
                                gfx::MakePixel(255, 0, 0, 255), gfx::MakePixel(255, 255, 255, 255)};
  for (int i = 0; i < 4; ++i)
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) strip.Set(i * 8 + x, y, colours[i]);
  TSpeedButton* b = Add(1, true);
  b->SetGlyph(strip);
  b->SetNumGlyphs(4);
  TRect g, t;
  b->CalcLayout(b->ClientRect(), g, t);
  ASSERT_EQ(g.Width(), 8);
  const auto centre = [&](TSpeedButton* button, int shift) {
    desktop.Pump();
    return ScreenAt(button->Left() + g.Left + 4 + shift, button->Top() + g.Top + 4 + shift);
  };
  EXPECT_EQ(centre(b, 0), gfx::RGB(255, 0, 0));
  b->SetEnabled(false);
  EXPECT_EQ(centre(b, 0), gfx::RGB(0, 255, 0));
  b->SetEnabled(true);
  // Held down: the down frame, one pixel lower and to the right.
  const int x = b->Left() + 15, y = b->Top() + 12;
  win::InjectMouseMove({x, y});
  win::InjectMouseButton(0, true, {x, y});
  EXPECT_EQ(centre(b, 1), gfx::RGB(0, 0, 255));
  win::InjectMouseButton(0, false, {x, y});
  EXPECT_EQ(centre(b, 1), gfx::RGB(255, 255, 255));
  // A strip of one frame shows it in every state.
  b->SetGlyph(strip.Copy({0, 0, 8, 8}));
  b->SetNumGlyphs(1);
  EXPECT_EQ(centre(b, 1), gfx::RGB(255, 0, 0));
}

TEST_F(SpeedButtonTest, DescriptionsAndTheDumpCarryTheButtonsSettings) {
  InstallFormDump();
  form->SetName("F");
  ReadComponentText(form, R"(object F: TForm
  object Bold: TSpeedButton
    Left = 10
    Caption = 'B'
    GroupIndex = 4
    AllowAllUp = True
    Down = True
    Flat = True
    Transparent = False
    Layout = blGlyphRight
    Margin = 2
    Spacing = 1
    NumGlyphs = 3
  end
end
)",
                    "Unit9.txt", testing::TempDir());
  auto* b = static_cast<TSpeedButton*>(form->FindComponent("Bold"));
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->GroupIndex(), 4);
  EXPECT_TRUE(b->AllowAllUp());
  EXPECT_TRUE(b->Down());
  EXPECT_TRUE(b->Flat());
  EXPECT_FALSE(b->Transparent());
  EXPECT_EQ(b->Layout(), TButtonLayout::blGlyphRight);
  EXPECT_EQ(b->Margin(), 2);
  EXPECT_EQ(b->Spacing(), 1);
  EXPECT_EQ(b->NumGlyphs(), 3);
  const std::string dump = backend::DumpWindows();
  EXPECT_NE(dump.find(R"("name":"Bold","class":"TSpeedButton")"), std::string::npos) << dump;
  EXPECT_NE(dump.find(R"("down":true,"group":4)"), std::string::npos) << dump;
}

}  // namespace
}  // namespace fw::test
