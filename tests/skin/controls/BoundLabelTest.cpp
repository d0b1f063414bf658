// The caption label an edit's bound label places beside it: made and freed with Active, placed
// by each layout (mirrored for owners read from the right), following the owner's visibility,
// enabled state, size and scale, and clicking or focusing the owner. Only edit-like controls
// have one.
#include <gtest/gtest.h>

#include <memory>

#include "TestOutput.h"
#include "framework/Application.h"
#include "framework/Form.h"
#include "framework/Reader.h"
#include "platform/gfx/PictureCodec.h"
#include "platform/win/VirtualDesktop.h"
#include "skin/controls/sControls.h"
#include "skin/draw/sSkinText.h"
#include "skin/frame/InternalSkinFormTest.h"
#include "skin/internal/sInternalSkins.h"

namespace skin::controls::test {
namespace {

using namespace skin::core;

class BoundLabelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app = std::make_unique<fw::TApplication>();
    form = new fw::TForm(app.get());
    form->SetBorderStyle(fw::TFormBorderStyle::bsNone);
    form->SetBounds(0, 0, 400, 300);
    edit = new TsEdit(form);
    edit->SetName("Edit1");
    edit->SetBounds(100, 50, 120, 21);
    edit->SetParent(form);
    bound = edit->BoundLabel();
    form->Show();
    desktop.Pump();
  }
  void TearDown() override { app.reset(); }
  // The size of one line of text in the label's font.
  gfx::TSize TextSize(const std::u16string& text) {
    return draw::acGetTextExtent(nullptr, text, bound->TheLabel()->Font().Handle());
  }

  win::VirtualDesktop desktop{800, 600};
  std::unique_ptr<fw::TApplication> app;
  fw::TForm* form = nullptr;
  TsEdit* edit = nullptr;
  TsBoundLabel* bound = nullptr;
};

TEST_F(BoundLabelTest, ActiveMakesANamedLabelBesideTheOwnerAndInactiveFreesIt) {
  ASSERT_NE(bound, nullptr);
  EXPECT_EQ(TsPanel(nullptr).BoundLabel(), nullptr);
  EXPECT_EQ(bound->TheLabel(), nullptr);
  EXPECT_TRUE(bound->UseSkinColor());
  bound->SetActive(true);
  TsEditLabel* label = bound->TheLabel();
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->Name(), "Edit1Label");
  EXPECT_EQ(label->Caption(), u"Edit1");  // an empty caption becomes the owner's name
  EXPECT_EQ(label->Parent(), form);
  EXPECT_EQ(label->FocusControl(), edit);
  EXPECT_EQ(label->Alignment(), fw::TAlignment::taRightJustify);
  // sclLeft: left of the owner by the spacing, centred on it.
  const gfx::TSize size = TextSize(u"Edit1");
  EXPECT_EQ(label->BoundsRect(),
            gfx::RectOfSize(100 - size.cx - acSpacing, 50 + (21 - size.cy) / 2, size.cx, size.cy));
  bound->SetUseSkinColor(false);
  EXPECT_FALSE(label->UseSkinColor());
  bound->SetActive(false);
  EXPECT_EQ(bound->TheLabel(), nullptr);
  EXPECT_EQ(form->FindComponent("Edit1Label"), nullptr);
  EXPECT_EQ(edit->FindComponent("Edit1Label"), nullptr);
}

TEST_F(BoundLabelTest, EachLayoutPlacesTheLabelAndRightToLeftOwnersMirrorIt) {
  bound->SetCaption(u"Name");
  bound->SetActive(true);
  TsEditLabel* label = bound->TheLabel();
  const gfx::TSize t = TextSize(u"Name");
  const int w = t.cx, h = t.cy, s = acSpacing;
  ASSERT_EQ(h, label->Height());
  const int L = 100, T = 50, W = 120, H = 21;
  bound->SetIndent(2);
  bound->SetOffset(0);
  bound->SetLayout(TsCaptionLayout::sclTopLeft);
  EXPECT_EQ(label->Left(), 100);
  EXPECT_EQ(label->Top(), 50 - h - 2);
  struct TCase {
    TsCaptionLayout layout;
    int left, top;
  };
  bound->SetOffset(5);
  const TCase cases[] = {
      {TsCaptionLayout::sclLeft, L - w - s - 2, T + (H - h) / 2 + 5},
      {TsCaptionLayout::sclTopCenter, L + (W - w) / 2 + 5, T - h - 2},
      {TsCaptionLayout::sclTopRight, L + W + 5 - w, T - h - 2},
      {TsCaptionLayout::sclLeftTop, L - w - s - 2, T + 5 + 3},
      {TsCaptionLayout::sclBottomLeft, L + 5, T + H + 2},
      {TsCaptionLayout::sclBottomRight, L + W + 5 - w, T + H + 2},
      {TsCaptionLayout::sclRight, L + W + s + 2, T + (H - h) / 2 + 5},
      {TsCaptionLayout::sclRightTop, L + W + s + 2, T + 5 + 3},
      {TsCaptionLayout::sclLeftLeft, L + 2 - w - s, T + (H - h) / 2 + 5},
      {TsCaptionLayout::sclRightRight, L + W + s - 2, T + (H - h) / 2 + 5},
  };
  for (const TCase& c : cases) {
    bound->SetLayout(c.layout);
    EXPECT_EQ(label->Left(), c.left) << int(c.layout);
    EXPECT_EQ(label->Top(), c.top) << int(c.layout);
    EXPECT_EQ(label->Alignment(), LayoutsArray[std::size_t(c.layout)]) << int(c.layout);
  }
  // Read from the right, the top-left layout ends at the owner's right end.
  bound->SetOffset(0);
  bound->SetLayout(TsCaptionLayout::sclTopLeft);
  edit->SetBiDiMode(fw::TBiDiMode::bdRightToLeft);
  EXPECT_EQ(label->Left() + label->Width(), L + W);
  EXPECT_EQ(label->Top(), T - h - 2);
  // A width limit wraps the caption.
  edit->SetBiDiMode(fw::TBiDiMode::bdLeftToRight);
  bound->SetCaption(u"A long caption in words");
  bound->SetMaxWidth(60);
  EXPECT_LE(label->Width(), 60);
  EXPECT_GT(label->Height(), h);
}

TEST_F(BoundLabelTest, TheLabelFollowsTheOwner) {
  bound->SetActive(true);
  TsEditLabel* label = bound->TheLabel();
  edit->SetBounds(150, 80, 120, 21);
  EXPECT_EQ(label->Left() + label->Width() + acSpacing, 150);
  edit->Hide();
  EXPECT_FALSE(label->Visible());
  edit->Show();
  EXPECT_TRUE(label->Visible());
  edit->SetEnabled(false);
  EXPECT_FALSE(label->Enabled());
  bound->SetEnabledAlways(true);
  EXPECT_TRUE(label->Enabled());
  // A new scale scales the width limit.
  bound->SetMaxWidth(100);
  edit->Perform(SM_ALPHACMD, AC_SETSCALE_HI, 150);
  EXPECT_EQ(bound->MaxWidth(), 150);
  EXPECT_EQ(bound->ScalePercent, 150);
  // Its own font, until it follows its parent's again.
  fw::TFont big;
  big.SetHeight(-20);
  bound->SetFont(big);
  EXPECT_FALSE(bound->ParentFont());
  EXPECT_EQ(label->Font().Height(), -20);
  EXPECT_TRUE(bound->FontStored());
  bound->SetParentFont(true);
  EXPECT_TRUE(label->ParentFont());
  // A click on the label clicks the owner only when allowed.
  int clicks = 0;
  edit->OnClick = [&](fw::TComponent*) { ++clicks; };
  label->Click();
  EXPECT_EQ(clicks, 0);
  bound->SetAllowClick(true);
  label->Click();
  EXPECT_EQ(clicks, 1);
  // Freed from outside before the bound label goes: nothing dangles.
  delete label;
  EXPECT_EQ(bound->TheLabel(), nullptr);
  // Freed with the edit, active.
  bound->SetActive(true);
  delete edit;
  EXPECT_EQ(form->FindComponent("Edit1Label"), nullptr);
  EXPECT_EQ(form->ControlCount(), 0);
}

TEST_F(BoundLabelTest, DescriptionsSetTheBoundLabelOfEditLikeControlsOnly) {
  RegisterSkinClasses();
  auto* read = new fw::TForm(app.get());
  fw::ReadComponentText(read, R"(object F: TForm
  object E: TsEdit
    Left = 100
    Top = 50
    Width = 120
    Height = 21
    BoundLabel.Active = True
    BoundLabel.Caption = 'Name'
    BoundLabel.Layout = sclTopLeft
    BoundLabel.Indent = 2
    BoundLabel.UseHTML = True
    BoundLabel.Font.Height = -15
  end
end
)",
                        "Unit3.txt", ".");
  auto* e = dynamic_cast<TsEdit*>(read->FindComponent("E"));
  ASSERT_NE(e, nullptr);
  TsBoundLabel* b = e->BoundLabel();
  EXPECT_TRUE(b->Active());
  EXPECT_EQ(b->Layout(), TsCaptionLayout::sclTopLeft);
  EXPECT_FALSE(b->ParentFont());
  TsEditLabel* label = b->TheLabel();
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->Caption(), u"Name");
  EXPECT_TRUE(label->UseHTML());
  EXPECT_EQ(label->Font().Height(), -15);
  EXPECT_EQ(label->Left(), 100);
  EXPECT_EQ(label->Top(), 50 - label->Height() - 2);
  // A panel has no bound label to set.
  EXPECT_THROW(fw::ReadComponentText(read,
                                     "object F: TForm\n  object P: TsPanel\n"
                                     "    BoundLabel.Active = True\n  end\nend\n",
                                     "Unit3.txt", "."),
               fw::EReadError);
}

// With UseHTML the caption is markup: the bound label measures and draws it as a markup label
// does (same size, same pixels on the same ground), with no tag shown; without, the tags are
// text. Pictures of a disabled, scrolled edit with its markup caption in three skins.
TEST_F(BoundLabelTest, AMarkupCaptionIsLaidOutAndDrawnAsAMarkupLabelDrawsIt) {
  const std::u16string caption = u"<b>Имя</b> <font color=#FF0000>музея</font>";
  bound->SetCaption(caption);
  bound->SetLayout(TsCaptionLayout::sclTopLeft);
  bound->SetUseHTML(true);
  bound->SetActive(true);
  TsEditLabel* label = bound->TheLabel();
  ASSERT_NE(label, nullptr);
  auto* reference = new TsHTMLLabel(form);
  reference->SetCaption(caption);
  reference->SetLeft(100);
  reference->SetTop(150);
  reference->SetParent(form);
  desktop.Pump();
  EXPECT_EQ(label->Width(), reference->Width());
  EXPECT_EQ(label->Height(), reference->Height());
  EXPECT_LT(label->Width(), TextSize(caption).cx) << "the tags take no room";
  const gfx::Bitmap screen = desktop.Compose();
  int differing = 0, inked = 0;
  const gfx::TPoint a = label->ClientToScreen({0, 0}), b = reference->ClientToScreen({0, 0});
  const gfx::Pixel ground = screen.At(a.X + label->Width() - 1, a.Y + label->Height() - 1);
  for (int y = 0; y < label->Height(); ++y)
    for (int x = 0; x < label->Width(); ++x) {
      const gfx::Pixel p = screen.At(a.X + x, a.Y + y);
      differing += (p & 0xFFFFFF) != (screen.At(b.X + x, b.Y + y) & 0xFFFFFF);
      inked += (p & 0xFFFFFF) != (ground & 0xFFFFFF);
    }
  EXPECT_GT(inked, 20);
  EXPECT_EQ(differing, 0);
  // Red ink of the font tag shows.
  int red = 0;
  for (int y = 0; y < label->Height(); ++y)
    for (int x = 0; x < label->Width(); ++x) {
      const gfx::Pixel p = screen.At(a.X + x, a.Y + y);
      red += gfx::PixelR(p) > 160 && gfx::PixelG(p) < 80 && gfx::PixelB(p) < 80;
    }
  EXPECT_GT(red, 5);
  // Plain text: the tags are shown and measured.
  bound->SetUseHTML(false);
  desktop.Pump();
  EXPECT_EQ(label->Width(), TextSize(caption).cx);

  // Skinned pictures: a disabled edit scrolled to the end of a long text, its markup caption.
  bound->SetUseHTML(true);
  reference->SetVisible(false);
  auto* manager = new TsSkinManager(form);
  manager->AfterConstruction();
  skin::data::AddInternalSkins(manager->InternalSkins());
  const std::u16string text = u"Школьный музей боевой и трудовой славы имени героев района";
  edit->SetText(text);
  edit->SetFocus();
  edit->SetSelStart(int(text.size()));
  desktop.Pump();
  ASSERT_GT(edit->ScrollX(), 0);
  for (const char* name : {"BlueGauze", "Retro", "Golden"}) {
    manager->SetSkinName(frame::test::InternalSkinNamed(name));
    edit->SetEnabled(false);
    desktop.Pump();
    const gfx::Bitmap shot = win::ComposeWindow(form->Handle());
    int keyed = 0;
    for (int y = 0; y < shot.Height(); ++y)
      for (int x = 0; x < shot.Width(); ++x)
        keyed += gfx::ColorFromPixel(shot.At(x, y)) == gfx::RGB(255, 0, 255);
    EXPECT_EQ(keyed, 0) << name;
    gfx::WriteFileBytes(
        (tests::OutputFolder("skin-controls") / (std::string("bound-markup-") + name + ".png"))
            .string(),
        gfx::EncodePng(shot));
    edit->SetEnabled(true);
  }
}

}  // namespace
}  // namespace skin::controls::test
