// Standard speed buttons on a skinned form: the form's control adapter gives each listed one a
// handler (and takes it back with the skin, or when the button goes); the faces are their
// sections painted alone in every state (normal, hot, pressed, down; flat buttons from their
// own section); the layout follows Margin and Layout; the dump reports the skin state; and a
// row of them is drawn in every internal skin for people to look at.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "TestOutput.h"
#include "framework/Automation.h"
#include "framework/Panel.h"
#include "framework/SpeedButton.h"
#include "platform/backend/Dump.h"
#include "platform/gfx/PictureCodec.h"
#include "platform/win/Input.h"
#include "skin/controls/acSpeedButtonHandler.h"
#include "skin/controls/sControls.h"
#include "skin/core/sGraphUtils.h"
#include "skin/frame/InternalSkinFormTest.h"
#include "skin/internal/sInternalSkins.h"
#include "skin/paint/sGraphUtils.h"

namespace skin::controls::test {
namespace {

using fw::TButtonLayout;
using fw::TSpeedButton;
using gfx::TRect;

constexpr gfx::Pixel kRgb = 0xFFFFFF;

// A 16 x 16 glyph: a dark square with a light centre on a transparent ground.
gfx::Bitmap Glyph() {
  gfx::Bitmap g(16, 16);
  for (int y = 2; y < 14; ++y)
    for (int x = 2; x < 14; ++x)
      g.Set(x, y,
            x > 5 && x < 10 && y > 5 && y < 10 ? gfx::MakePixel(250, 220, 60, 255)
                                               : gfx::MakePixel(40, 60, 140, 255));
  return g;
}

class SpeedButtonSkinTest : public skin::frame::test::InternalSkinFormTest {
 protected:
  void SetUp() override {
    RegisterSkinClasses();
    MakeSkinnedForm(420, 200);
    form->SetName("Tools");
    provider = new TsSkinProvider(form);
  }
  TSpeedButton* Add(const char* name, int left, int group = 0, bool flat = false,
                    const std::u16string& caption = u"") {
    auto* b = new TSpeedButton(form);
    b->SetName(name);
    b->SetBounds(left, 10, 40, 30);
    b->SetGroupIndex(group);
    b->SetFlat(flat);
    b->SetCaption(caption);
    b->SetParent(form);
    return b;
  }
  void Show() {
    form->Show();
    desktop.Pump();
  }
  void Move(int x, int y) {
    win::InjectMouseMove({x, y});
    desktop.Pump();
  }
  void Press(bool down, int x, int y) {
    win::InjectMouseButton(0, down, {x, y});
    desktop.Pump();
  }
  TacSpeedButtonHandler* HandlerOf(TSpeedButton* b) {
    skin::frame::TacCtrlAdapter* a = provider->Adapter();
    const int i = a ? a->IndexOfGraph(b) : -1;
    if (i < 0) return nullptr;
    auto* h = dynamic_cast<TacSpeedButtonHandler*>(a->GetGraphItem(i).Handler.get());
    return h && !h->Destroyed() ? h : nullptr;
  }
  static bool Handled(TSpeedButton* b) { return core::CtrlIsSkinned(b, false); }
  // The button's section painted alone for state over what the form shows behind it.
  gfx::Bitmap SectionAlone(TacSpeedButtonHandler& h, int state) {
    TSpeedButton& b = *h.Ctrl();
    draw::TacBGInfo bg;
    core::GetBGInfo(bg, form, false);
    if (bg.BgType == draw::TacBGType::btCache) {
      bg.Offset.X += b.Left();
      bg.Offset.Y += b.Top();
    }
    const sd::TacSkinModel* model = manager->SkinModel();
    const core::TsCommonData& cd = h.SkinData();
    const int s = std::min(state, model->gd[std::size_t(cd.SkinIndex)].States - 1);
    gfx::Bitmap out(b.Width(), b.Height());
    draw::PaintItem(model, core::ControlPaintOf(cd), core::BGInfoToCI(bg), true, s, out.Bounds(),
                    {0, 0}, &out, true);
    // The corners repaired as the handler repairs them.
    if (model->IsValidImgIndex(cd.BorderIndex) && model->ma[std::size_t(cd.BorderIndex)].CornerType)
      draw::UpdateCorners(out, model->ma[std::size_t(cd.BorderIndex)], s, draw::acAllCorners, bg);
    return out;
  }
  // Pixels of the cache outside r that differ from want.
  static int DiffOutside(const gfx::Bitmap& cache, const gfx::Bitmap& want, const TRect& r) {
    int n = 0;
    for (int y = 0; y < cache.Height(); ++y)
      for (int x = 0; x < cache.Width(); ++x)
        if (!r.Contains({x, y}) && cache.At(x, y) != want.At(x, y)) ++n;
    return n;
  }
  // Pixels of the screen at the button that differ from its cache.
  int DiffOnScreen(TacSpeedButtonHandler& h) {
    const gfx::Bitmap screen = desktop.Compose();
    const gfx::Bitmap& cache = *h.SkinData().CacheBmp();
    const gfx::TPoint at = h.Ctrl()->ClientToScreen({0, 0});
    int n = 0;
    for (int y = 0; y < cache.Height(); ++y)
      for (int x = 0; x < cache.Width(); ++x)
        if ((screen.At(at.X + x, at.Y + y) & kRgb) != (cache.At(x, y) & kRgb)) ++n;
    return n;
  }
  void Save(const gfx::Bitmap& bmp, const std::string& name) {
    gfx::WriteFileBytes((tests::OutputFolder("buttons") / name).string(), gfx::EncodePng(bmp));
  }

  TsSkinProvider* provider = nullptr;
};

TEST_F(SpeedButtonSkinTest, TheAdapterGivesListedButtonsAHandlerAndTakesItBackWithTheSkin) {
  TSpeedButton* a = Add("A", 10);
  TSpeedButton* flat = Add("Flat", 60, 0, true);
  TSpeedButton* excepted = Add("Excepted", 110);
  excepted->Tag = skin::frame::ExceptTag;
  TSpeedButton* refused = Add("Refused", 160);
  std::vector<std::string> asked;
  provider->OnSkinItem = [&](fw::TControl* c, bool& canBeAdded,
                             skin::frame::TacSkinParams& params) {
    if (dynamic_cast<TSpeedButton*>(c)) asked.push_back(c->Name() + " " + params.SkinSection);
    if (c == refused) canBeAdded = false;
  };
  auto* panel = new fw::TPanel(form);
  panel->SetBounds(200, 50, 200, 100);
  panel->SetParent(form);
  auto* inner = new TSpeedButton(form);
  inner->SetBounds(10, 10, 40, 30);
  inner->SetParent(panel);
  Show();

  ASSERT_NE(provider->Adapter(), nullptr);
  EXPECT_EQ(provider->Adapter()->GraphCount(), 3);
  for (TSpeedButton* b : {a, flat, inner}) {
    EXPECT_TRUE(Handled(b)) << b->Name();
    ASSERT_NE(HandlerOf(b), nullptr);
    EXPECT_TRUE(HandlerOf(b)->SkinData().Skinned());
    EXPECT_EQ(HandlerOf(b)->SkinData().COC, core::COC_TsAdapter);
  }
  EXPECT_EQ(HandlerOf(a)->SkinData().SkinSection(), "SPEEDBUTTON");
  EXPECT_EQ(HandlerOf(flat)->SkinData().SkinSection(), "SPEEDBUTTON_SMALL");
  EXPECT_FALSE(Handled(excepted));
  EXPECT_FALSE(Handled(refused));
  // The skin-item events see an accepted button once more with its section.
  EXPECT_NE(std::find(asked.begin(), asked.end(), "A SPEEDBUTTON"), asked.end());

  // The skin goes: every button paints itself again (its raised edge, the framework's face).
  manager->SetActive(false);
  desktop.Pump();
  for (TSpeedButton* b : {a, flat, inner}) EXPECT_FALSE(Handled(b)) << b->Name();
  const gfx::TPoint corner = a->ClientToScreen({0, 0});
  EXPECT_EQ(desktop.Compose().At(corner.X, corner.Y) & kRgb,
            gfx::PixelFromColor(fw::ColorToRGB(fw::clBtnHighlight), 255) & kRgb);
  // It comes back: so do the handlers.
  manager->SetActive(true);
  desktop.Pump();
  for (TSpeedButton* b : {a, flat, inner}) EXPECT_TRUE(Handled(b)) << b->Name();

  // A button freed while handled takes its item with it; a rescan finds nothing new.
  delete inner;
  EXPECT_EQ(provider->Adapter()->GraphCount(), 2);
  desktop.Pump();
  // Without the class in the manager's list, new buttons are left alone.
  manager->ThirdParty().SetText(core::tpSpeedButton, u" ");
  core::LoadThirdNames(*manager, false);
  TSpeedButton* late = Add("Late", 250);
  core::SendAMessage(form->Handle(), core::AC_CONTROLLOADED, 0);
  EXPECT_FALSE(Handled(late));
  EXPECT_EQ(provider->Adapter()->GraphCount(), 2);
}

TEST_F(SpeedButtonSkinTest, EachFaceIsItsSectionPaintedAloneInEveryState) {
  TSpeedButton* a = Add("A", 10, 1);
  TSpeedButton* b = Add("B", 60, 1);
  TSpeedButton* flat = Add("Flat", 110, 2, true);
  flat->SetAllowAllUp(true);
  TSpeedButton* captioned = Add("C", 160, 0, false, u"Go");
  Show();
  for (TSpeedButton* button : {a, flat}) {
    TacSpeedButtonHandler* h = HandlerOf(button);
    ASSERT_NE(h, nullptr);
    const int x = button->Left() + 20, y = button->Top() + 15;
    struct Step {
      const char* what;
      std::function<void()> act;
      int state;
    };
    const std::vector<Step> steps = {
        {"normal", [&] { Move(400, 190); }, 0},           {"hot", [&] { Move(x, y); }, 1},
        {"pressed", [&] { Press(true, x, y); }, 2},       {"down", [&] { Press(false, x, y); }, 2},
        {"down, mouse away", [&] { Move(400, 190); }, 2},
    };
    for (const Step& s : steps) {
      s.act();
      ASSERT_EQ(h->CurrentState(), s.state) << button->Name() << " " << s.what;
      // What the screen shows is the cache, and the cache the section alone.
      EXPECT_EQ(DiffOnScreen(*h), 0) << button->Name() << " " << s.what;
      ASSERT_TRUE(h->PrepareCache());
      EXPECT_EQ(DiffOutside(*h->SkinData().CacheBmp(), SectionAlone(*h, s.state), {}), 0)
          << button->Name() << " " << s.what;
    }
  }
  // The group keeps one down: B goes down, A up and normal again.
  Move(b->Left() + 20, 25);
  Press(true, b->Left() + 20, 25);
  Press(false, b->Left() + 20, 25);
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down());
  EXPECT_EQ(HandlerOf(a)->CurrentState(), 0);
  EXPECT_EQ(HandlerOf(b)->CurrentState(), 2);
  // A flat button is hot only under the mouse: up again, it goes back to normal when left.
  Move(flat->Left() + 20, 25);
  Press(true, flat->Left() + 20, 25);
  Press(false, flat->Left() + 20, 25);
  EXPECT_FALSE(flat->Down());
  EXPECT_EQ(HandlerOf(flat)->CurrentState(), 1);
  Move(400, 190);
  EXPECT_EQ(HandlerOf(flat)->CurrentState(), 0);

  // A caption is drawn over the section: only inside its rectangle does the face differ.
  TacSpeedButtonHandler* c = HandlerOf(captioned);
  ASSERT_TRUE(c->PrepareCache());
  const TRect text = c->CaptionRect(0);
  ASSERT_FALSE(text.IsEmpty());
  EXPECT_EQ(DiffOutside(*c->SkinData().CacheBmp(), SectionAlone(*c, 0), text), 0);
  EXPECT_NE(DiffOutside(*c->SkinData().CacheBmp(), SectionAlone(*c, 0), {}), 0);
  // Disabled, the face fades toward the form and is never hot.
  captioned->SetEnabled(false);
  Move(captioned->Left() + 20, 25);
  EXPECT_EQ(c->CurrentState(), 0);
  ASSERT_TRUE(c->PrepareCache());
  EXPECT_NE(DiffOutside(*c->SkinData().CacheBmp(), SectionAlone(*c, 0), text), 0);
}

TEST_F(SpeedButtonSkinTest, GlyphAndCaptionFollowMarginAndLayout) {
  TSpeedButton* b = Add("B", 10, 0, false, u"Go");
  b->SetBounds(10, 10, 100, 60);
  b->SetGlyph(Glyph());
  Show();
  TacSpeedButtonHandler* h = HandlerOf(b);
  ASSERT_NE(h, nullptr);
  const gfx::TSize text = h->TextRectSize();
  // The text's own width, not the box it was measured in.
  fw::TCanvas measure;
  gfx::Bitmap scratch(1, 1);
  gfx::DeviceContext dc(scratch);
  measure.SetHandle(&dc);
  measure.Font.Assign(b->Font());
  EXPECT_EQ(text.cx, measure.TextWidth(u"Go"));
  // Centred as one block, 4 apart, inside the button.
  TRect g = h->ImgRect(0), t = h->CaptionRect(0);
  EXPECT_EQ(g.Width(), 16);
  EXPECT_EQ(t.Left - g.Right, 4);
  EXPECT_LE(std::abs(g.Left - (100 - t.Right)), 1);
  EXPECT_NEAR(g.Left, (100 - 16 - 4 - text.cx) / 2, 1);
  // Margin from the edge the layout names.
  b->SetMargin(3);
  EXPECT_EQ(h->ImgRect(0).Left, 3);
  EXPECT_EQ(h->CaptionRect(0).Left, 3 + 16 + 4);
  b->SetLayout(TButtonLayout::blGlyphRight);
  EXPECT_EQ(h->ImgRect(0).Right, 97);
  b->SetLayout(TButtonLayout::blGlyphTop);
  EXPECT_EQ(h->ImgRect(0).Top, 3);
  EXPECT_EQ(h->CaptionRect(0).Top, 3 + 16 + 4);
  b->SetLayout(TButtonLayout::blGlyphBottom);
  EXPECT_EQ(h->ImgRect(0).Bottom, 57);
  // Centred with Margin -1 in every layout, the right one included.
  b->SetMargin(-1);
  b->SetLayout(TButtonLayout::blGlyphRight);
  g = h->ImgRect(0);
  t = h->CaptionRect(0);
  EXPECT_EQ(g.Left - t.Right, 4);
  EXPECT_LE(std::abs(t.Left - (100 - g.Right)), 1);
  // No glyph: the caption alone is centred.
  b->SetGlyph(gfx::Bitmap());
  t = h->CaptionRect(0);
  EXPECT_LE(std::abs(t.Left - (100 - t.Right)), 1);
  EXPECT_GE(t.Left, 0);
  // A caption longer than the box wraps: as wide as the box at most, two lines high.
  b->SetCaption(std::u16string(60, u'Ж') + u" " + std::u16string(60, u'Ж'));
  EXPECT_LE(h->TextRectSize().cx, 255);
  EXPECT_GE(h->TextRectSize().cy, 2 * text.cy);
  b->SetCaption(u"Go");
  EXPECT_LE(std::abs(t.Top - (60 - t.Bottom)), 1);
  // The glyph is drawn where ImgRect says, its centre as the glyph has it.
  b->SetGlyph(Glyph());
  b->SetCaption(u"");
  ASSERT_TRUE(h->PrepareCache());
  g = h->ImgRect(0);
  // Copied over the face by its alpha (byte weights: a channel may come out one lower).
  const gfx::Pixel shown = h->SkinData().CacheBmp()->At(g.Left + 7, g.Top + 7);
  const gfx::Pixel want = gfx::MakePixel(250, 220, 60, 255);
  for (int shift : {0, 8, 16})
    EXPECT_LE(std::abs(int((shown >> shift) & 0xFF) - int((want >> shift) & 0xFF)), 1) << shift;
}

TEST_F(SpeedButtonSkinTest, TheDumpReportsDownGroupAndTheSkinState) {
  fw::InstallFormDump();
  TSpeedButton* bold = Add("Bold", 10, 4);
  bold->SetAllowAllUp(true);
  TSpeedButton* flat = Add("Flat", 60, 0, true);
  Show();
  bold->SetDown(true);
  Move(flat->Left() + 20, 25);
  const std::string dump = backend::DumpWindows();
  const auto entry = [&](const std::string& name) {
    const std::size_t at = dump.find("\"name\":\"" + name + "\"");
    return at == std::string::npos ? std::string() : dump.substr(at, dump.find("}}", at) - at);
  };
  EXPECT_NE(entry("Bold").find(R"("down":true,"group":4)"), std::string::npos) << dump;
  EXPECT_NE(entry("Bold").find(R"("section":"SPEEDBUTTON")"), std::string::npos) << dump;
  EXPECT_NE(entry("Bold").find(R"("state":2)"), std::string::npos) << dump;
  EXPECT_NE(entry("Flat").find(R"("down":false,"group":0)"), std::string::npos) << dump;
  EXPECT_NE(entry("Flat").find(R"("section":"SPEEDBUTTON_SMALL")"), std::string::npos) << dump;
  EXPECT_NE(entry("Flat").find(R"("state":1)"), std::string::npos) << dump;
}

// In every internal skin a flat button at rest leaves its parent showing exactly as if it were
// not there, while a normal one shows its face; under the mouse the flat one shows its
// section's hot face, and held down the pressed one.
TEST_F(SpeedButtonSkinTest, AFlatButtonIsBareAtRestInEveryInternalSkin) {
  TSpeedButton* flat = Add("Flat", 110, 3, true);
  flat->SetAllowAllUp(true);
  TSpeedButton* normal = Add("Normal", 160);
  // On a skinned panel too, away from its corner: the panel's picture shows where it lies.
  auto* panel = new TsPanel(form);
  panel->SetBounds(20, 60, 300, 60);
  panel->SetParent(form);
  TSpeedButton* onPanel = Add("OnPanel", 0, 0, true);
  onPanel->SetBounds(90, 14, 40, 30);
  onPanel->SetParent(panel);
  Show();
  const auto shown = [&](TSpeedButton* b) {
    const gfx::Bitmap screen = desktop.Compose();
    const gfx::TPoint at = b->ClientToScreen({0, 0});
    gfx::Bitmap out(b->Width(), b->Height());
    out.CopyFrom(screen, gfx::RectOfSize(at.X, at.Y, b->Width(), b->Height()), {0, 0});
    return out;
  };
  const auto differ = [](const gfx::Bitmap& a, const gfx::Bitmap& b) {
    int n = 0;
    for (int y = 0; y < a.Height(); ++y)
      for (int x = 0; x < a.Width(); ++x)
        if ((a.At(x, y) & kRgb) != (b.At(x, y) & kRgb)) ++n;
    return n;
  };
  for (const auto& s : skin::data::InternalSkins()) {
    SCOPED_TRACE(s.Name);
    manager->SetSkinName(fw::Utf8ToUtf16(s.Name));
    desktop.Pump();
    Move(400, 190);
    const gfx::Bitmap flatAtRest = shown(flat), normalAtRest = shown(normal),
                      onPanelAtRest = shown(onPanel);
    for (TSpeedButton* b : {flat, normal, onPanel}) b->SetVisible(false);
    desktop.Pump();
    const gfx::Bitmap flatBehind = shown(flat), normalBehind = shown(normal),
                      onPanelBehind = shown(onPanel);
    for (TSpeedButton* b : {flat, normal, onPanel}) b->SetVisible(true);
    desktop.Pump();
    EXPECT_EQ(differ(flatAtRest, flatBehind), 0);
    EXPECT_EQ(differ(onPanelAtRest, onPanelBehind), 0);
    EXPECT_GT(differ(normalAtRest, normalBehind), flat->Width() * flat->Height() / 2);

    TacSpeedButtonHandler* h = HandlerOf(flat);
    ASSERT_NE(h, nullptr);
    Move(flat->Left() + 20, 25);
    ASSERT_EQ(h->CurrentState(), 1);
    const gfx::Bitmap hot = shown(flat);
    EXPECT_EQ(differ(hot, SectionAlone(*h, 1)), 0);
    EXPECT_GT(differ(hot, flatBehind), flat->Width() * flat->Height() / 2);
    flat->SetDown(true);
    desktop.Pump();
    Move(400, 190);
    ASSERT_EQ(h->CurrentState(), 2);
    EXPECT_EQ(differ(shown(flat), SectionAlone(*h, 2)), 0);
    flat->SetDown(false);
    desktop.Pump();
  }
}

// A row of speed buttons (a group of three with one down, a toggle held down, a flat one under
// the mouse, a flat one at rest, a disabled one) in every internal skin, one row a skin, for
// people to look at; no pixel of it may be the key colour.
TEST_F(SpeedButtonSkinTest, ARowOfSpeedButtonsInEveryInternalSkin) {
  std::vector<TSpeedButton*> row;
  const char16_t* captions[] = {u"Left", u"Mid", u"Right", u"Bold", u"Hot", u"Flat", u"Off"};
  for (int i = 0; i < 7; ++i) {
    TSpeedButton* b = Add(("B" + std::to_string(i)).c_str(), 10 + i * 58,
                          i < 3    ? 1
                          : i == 3 ? 2
                                   : 0,
                          i == 4 || i == 5, captions[i]);
    b->SetBounds(10 + i * 58, 10, 56, 26);
    b->SetGlyph(Glyph());
    b->SetMargin(4);
    row.push_back(b);
  }
  row[3]->SetAllowAllUp(true);
  row[6]->SetEnabled(false);
  Show();
  row[1]->SetDown(true);
  row[3]->SetDown(true);
  const auto& skins = skin::data::InternalSkins();
  const int width = 10 + 7 * 58, height = 46;
  gfx::Bitmap sheet(width, height * int(skins.size()));
  int y = 0;
  for (const auto& s : skins) {
    manager->SetSkinName(fw::Utf8ToUtf16(s.Name));
    desktop.Pump();
    Move(row[4]->Left() + 20, 20);
    const gfx::Bitmap screen = desktop.Compose();
    const gfx::TPoint origin = form->ClientToScreen({0, 0});
    sheet.CopyFrom(screen, gfx::RectOfSize(origin.X, origin.Y, width, height), {0, y});
    for (TSpeedButton* b : row) {
      EXPECT_TRUE(Handled(b)) << s.Name << " " << b->Name();
      const gfx::TPoint at = b->ClientToScreen({0, 0});
      for (int py = 0; py < b->Height(); ++py)
        for (int px = 0; px < b->Width(); ++px)
          ASSERT_NE(screen.At(at.X + px, at.Y + py) & kRgb, 0xFF00FFu)
              << s.Name << " " << b->Name() << " at " << px << "," << py;
    }
    EXPECT_EQ(HandlerOf(row[4])->CurrentState(), 1) << s.Name;
    EXPECT_EQ(HandlerOf(row[1])->CurrentState(), 2) << s.Name;
    Move(400, 190);
    y += height;
  }
  Save(sheet, "speed-buttons-skins.png");
}

}  // namespace
}  // namespace skin::controls::test
