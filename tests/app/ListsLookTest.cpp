// The catalogue's tree and the maintenance window's grid in every internal skin: a district
// selected (the selection section's colour under its text, its text in that section's hot
// font colour), expanded with its schools, hovered and scrolled, and the grid's rows; no
// key-coloured pixel and no plain highlight in either, and pictures of each for a look.
#include <gtest/gtest.h>

#include <string>

#include "Catalogue.h"
#include "Forms.h"
#include "TestOutput.h"
#include "framework/TextConv.h"
#include "platform/gfx/PictureCodec.h"
#include "platform/win/Input.h"
#include "skin/controls/sControls.h"
#include "skin/core/sCommonData.h"
#include "skin/draw/sGraphUtils.h"
#include "skin/internal/sInternalSkins.h"

namespace app::test {
namespace {

class ListsLookTest : public FormsTest {
 protected:
  // The control's client area as the screen shows it.
  gfx::Bitmap Picture(fw::TControl* c) {
    const gfx::Bitmap screen = desktop.Compose();
    const fw::TPoint p = c->ClientToScreen({0, 0});
    gfx::Bitmap out(c->ClientWidth(), c->ClientHeight());
    out.CopyFrom(screen, gfx::RectOfSize(p.X, p.Y, out.Width(), out.Height()), {0, 0});
    return out;
  }
  void Save(const gfx::Bitmap& bmp, const std::string& name) {
    gfx::WriteFileBytes((tests::OutputFolder("app") / (name + ".png")).string(),
                        gfx::EncodePng(bmp));
  }
  // Pixels of a key colour, or of the plain highlight unless the skin's selection section uses
  // that very colour itself.
  static int Faults(const gfx::Bitmap& bmp) {
    const skin::data::TacSkinModel* model = skin::core::DefaultManager->SkinModel();
    const int selection = model->ConstData.Sections[skin::data::ssSelection];
    const auto highlight = fw::ColorToRGB(fw::clHighlight);
    bool skinHighlight = false;
    if (model->IsValidSkinIndex(selection))
      for (int state = 0; state < 2; ++state)
        skinHighlight |=
            gfx::COLORREF(skin::draw::StateProps(model->gd[std::size_t(selection)], state).Color) ==
            highlight;
    int n = 0;
    for (int y = 0; y < bmp.Height(); ++y)
      for (int x = 0; x < bmp.Width(); ++x) {
        const auto c = gfx::ColorFromPixel(bmp.At(x, y));
        n += c == 0xFF00FF || (c == highlight && !skinHighlight);
      }
    return n;
  }
};

TEST_F(ListsLookTest, TheTreeAndTheGridWearEveryInternalSkin) {
  CatalogueCopy copy(SampleFolder());
  Start(copy.Path());
  Form1->Show();
  desktop.Pump();
  auto* tree = dynamic_cast<skin::controls::TsTreeView*>(Form1->sTreeView2);
  ASSERT_NE(tree, nullptr);
  auto* manager = skin::core::DefaultManager;
  for (const auto& skin : skin::data::InternalSkins()) {
    manager->SetSkinName(fw::Utf8ToUtf16(skin.Name));
    desktop.Pump();
    std::string name = skin.Name;
    name = name.substr(0, name.find(' '));
    fw::TTreeNode* district = tree->Items().GetFirstNode();
    ASSERT_NE(district, nullptr);
    tree->FullCollapse();
    // The visitor clicks the first district.
    const fw::TRect r = district->DisplayRect(true);
    const fw::TPoint p = tree->ClientToScreen({r.Left + 4, (r.Top + r.Bottom) / 2});
    win::InjectMouseMove(p);
    win::InjectMouseButton(0, true, p);
    win::InjectMouseButton(0, false, p);
    desktop.Pump();
    ASSERT_EQ(tree->Selected(), district) << name;
    const skin::data::TacSkinModel* model = manager->SkinModel();
    const int selection = model->ConstData.Sections[skin::data::ssSelection];
    gfx::Bitmap shot = Picture(tree);
    Save(shot, "tree-" + name + "-selected");
    EXPECT_EQ(Faults(shot), 0) << name;
    if (model->IsValidSkinIndex(selection)) {
      // Inside the selected text's area, above the text: the section painted alone for the
      // focused state over the tree's background.
      const int state = tree->Focused() ? 1 : 0;
      if (skin::draw::StateProps(model->gd[std::size_t(selection)], state).Transparency == 0) {
        gfx::Bitmap ground(r.Width(), r.Height());
        ground.Fill(gfx::PixelFromColor(fw::ColorToRGB(tree->BackgroundColor()), 255));
        gfx::Bitmap alone = ground;
        skin::draw::PaintItem(model, selection, skin::draw::MakeCacheInfo(&ground), true, state,
                              {0, 0, r.Width(), r.Height()}, {0, 0}, &alone);
        EXPECT_EQ(gfx::ColorFromPixel(shot.At(r.Left + 2, r.Top + 1)),
                  gfx::ColorFromPixel(alone.At(2, 1)))
            << name;
      }
    }
    district->Expand(false);
    win::InjectMouseMove(tree->ClientToScreen({60, r.Bottom + r.Height() + 4}));
    desktop.Pump();
    shot = Picture(tree);
    Save(shot, "tree-" + name + "-expanded-hover");
    EXPECT_EQ(Faults(shot), 0) << name;
    tree->FullExpand();
    tree->Perform(win::WM_VSCROLL, win::SB_PAGEDOWN, 0);
    desktop.Pump();
    shot = Picture(tree);
    Save(shot, "tree-" + name + "-scrolled");
    EXPECT_EQ(Faults(shot), 0) << name;
  }
}

TEST_F(ListsLookTest, TheMaintenanceGridWearsEveryInternalSkin) {
  CatalogueCopy copy(SampleFolder());
  Start(copy.Path());
  ShowMaintenance();
  auto* grid = Form3->sDBGrid1;
  auto* manager = skin::core::DefaultManager;
  for (const auto& skin : skin::data::InternalSkins()) {
    manager->SetSkinName(fw::Utf8ToUtf16(skin.Name));
    grid->SetFocus();
    desktop.Pump();
    std::string name = skin.Name;
    name = name.substr(0, name.find(' '));
    const gfx::Bitmap shot = Picture(grid);
    Save(shot, "grid-" + name);
    EXPECT_EQ(Faults(shot), 0) << name;
    // The declared gradient gives way to the skin's.
    EXPECT_EQ(grid->GradientEndColor(), fw::TColor(manager->SkinModel()->GetGlobalColor())) << name;
  }
}

}  // namespace
}  // namespace app::test
