// The skinned tree on a form with a small folder skin: selected rows from the selection
// section (focused and not), the expand marks of a row-select tree, the right-clicked node,
// the updating bracket, the item height under a new scale, the section colour on a refresh and
// the application's own item handler.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "TestOutput.h"
#include "framework/TextConv.h"
#include "platform/gfx/PictureCodec.h"
#include "platform/win/Backend.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "skin/controls/sControls.h"
#include "skin/core/SkinnedFormTest.h"
#include "skin/paint/sGraphUtils.h"

namespace skin::controls::test {
namespace {

using namespace skin::core;

constexpr int kEditBG = 0xF0E8E0, kEditFont = 0x202020, kSel = 0x60C060, kSelHot = 0xC06020,
              kSelFont = 0x101010, kSelHotFont = 0xFFFFFF;

const std::string kOptions =
    "[GLOBALINFO]\nVERSION=8.0\nMASTERBITMAP=master.bmp\nCOLOR=12632256\n\n[EDIT]\nSTATES=2\n"
    "COLOR=" +
    std::to_string(kEditBG) + "\nHOTCOLOR=" + std::to_string(kEditBG) +
    "\nFONTCOLOR=" + std::to_string(kEditFont) + "\nHOTFONTCOLOR=" + std::to_string(kEditFont) +
    "\n\n[SELECTION]\nSTATES=2\nCOLOR=" + std::to_string(kSel) +
    "\nHOTCOLOR=" + std::to_string(kSelHot) + "\nFONTCOLOR=" + std::to_string(kSelFont) +
    "\nHOTFONTCOLOR=" + std::to_string(kSelHotFont) + "\n";

gfx::Bitmap Master() {
  gfx::Bitmap bmp(4, 4);
  bmp.Fill(gfx::MakePixel(128, 128, 128, 255));
  return bmp;
}

class TreeViewSkinTest : public skin::core::test::SkinnedFormTest {
 protected:
  void SetUp() override {
    MakeSkinnedForm(kOptions, Master());
    other = new TsEdit(form);
    other->SetBounds(250, 10, 100, 24);
    other->SetParent(form);
    tree = new TsTreeView(form);
    tree->SetBounds(10, 10, 200, 150);
    tree->Font().SetName(u"Tahoma");
    tree->Font().SetHeight(-13);
    tree->SetParent(form);
    a = tree->Items().Add(nullptr, u"Alpha");
    tree->Items().AddChild(a, u"a1");
    b = tree->Items().Add(nullptr, u"Beta");
    form->Show();
    tree->SetFocus();
    desktop.Pump();
  }
  // The colour at the tree's client point (x, y) of screen, a composed desktop; composing
  // is dear, so a scan composes once.
  gfx::COLORREF At(const gfx::Bitmap& screen, int x, int y) {
    const fw::TPoint p = tree->ClientToScreen({x, y});
    return gfx::ColorFromPixel(screen.At(p.X, p.Y));
  }
  gfx::COLORREF At(int x, int y) { return At(desktop.Compose(), x, y); }
  void Save(const std::string& name) {
    gfx::WriteFileBytes((tests::OutputFolder("skin-controls") / (name + ".png")).string(),
                        gfx::EncodePng(desktop.Compose()));
  }

  TsEdit* other = nullptr;
  TsTreeView* tree = nullptr;
  fw::TTreeNode *a = nullptr, *b = nullptr;
};

TEST_F(TreeViewSkinTest, SelectedItemsTakeTheSelectionSectionAndNoPlainHighlightShows) {
  ASSERT_TRUE(tree->SkinData().Skinned());
  tree->SetSelected(b);
  desktop.Pump();
  Save("tree-selected-focused");
  const fw::TRect sel = b->DisplayRect(true), plain = a->DisplayRect(true);
  EXPECT_EQ(At(sel.Left + 1, sel.Top + 1), gfx::COLORREF(kSelHot));  // focused: state 1
  EXPECT_EQ(At(plain.Left + 1, plain.Top + 1), gfx::COLORREF(kEditBG));
  const fw::TRect client = tree->ClientRect();
  const gfx::Bitmap screen = desktop.Compose();
  for (int y = 0; y < client.Bottom; ++y)
    for (int x = 0; x < client.Right; ++x)
      ASSERT_NE(At(screen, x, y), fw::ColorToRGB(fw::clHighlight)) << x << "," << y;
  // Unfocused, the selection shows only with HideSelection off, in the section's state 0.
  other->SetFocus();
  desktop.Pump();
  EXPECT_EQ(At(sel.Left + 1, sel.Top + 1), gfx::COLORREF(kEditBG));
  tree->SetHideSelection(false);
  desktop.Pump();
  EXPECT_EQ(At(sel.Left + 1, sel.Top + 1), gfx::COLORREF(kSel));
}

TEST_F(TreeViewSkinTest, ARowSelectTreeWithoutLinesShowsTheMaskOfTheNodesExpansion) {
  tree->SetRowSelect(true);
  tree->SetShowLines(false);
  tree->SetSelected(a);
  desktop.Pump();
  Save("tree-rowselect-closed");
  const fw::TRect text = a->DisplayRect(true);
  const int h = text.Height(), left = text.Left - 9, top = text.Top + h / 2 - 4;
  // The whole row is the selection, up to the client's right edge.
  EXPECT_EQ(At(tree->ClientWidth() - 1, text.Top + 1), gfx::COLORREF(kSelHot));
  // Each mask cell: the highlight font colour over the selection by the cell's opacity.
  auto blend = [](int alpha) {
    auto ch = [&](int c, int old) { return (c - old) * alpha / 256 + old; };
    return gfx::RGB(std::uint8_t(ch(kSelHotFont & 0xFF, kSelHot & 0xFF)),
                    std::uint8_t(ch(kSelHotFont >> 8 & 0xFF, kSelHot >> 8 & 0xFF)),
                    std::uint8_t(ch(kSelHotFont >> 16 & 0xFF, kSelHot >> 16 & 0xFF)));
  };
  auto expectMask = [&](const std::uint8_t(&mask)[9][9]) {
    for (int j = 0; j < 9; ++j)
      for (int i = 0; i < 9; ++i)
        if (left + i >= 0) {
          ASSERT_EQ(At(left + i, top + j), blend(mask[j][i])) << i << "," << j;
        }
  };
  expectMask(skin::paint::BArrayClosed);
  a->Expand(false);
  desktop.Pump();
  Save("tree-rowselect-opened");
  expectMask(skin::paint::BArrayOpened);
  // A node without children has no mark.
  tree->SetSelected(b);
  desktop.Pump();
  const fw::TRect bt = b->DisplayRect(true);
  EXPECT_EQ(At(bt.Left - 5, bt.Top + bt.Height() / 2), gfx::COLORREF(kSelHot));
}

TEST_F(TreeViewSkinTest, APicturedTreePaintsEachPictureWithItsItemAndBoldTextWhole) {
  auto* list = new fw::TImageList(form);
  list->SetSize(10, 10);
  gfx::Bitmap red(10, 10);
  red.Fill(gfx::MakePixel(0, 0, 255, 255));
  list->Add(u"red", red);
  a->SetImageIndex(0);
  b->SetImageIndex(0);
  b->SetBold(true);
  tree->SetImages(list);
  tree->SetHotTrack(true);
  tree->SetSelected(b);
  desktop.Pump();
  Save("tree-pictures-bold");
  const int cell = 10 + 5;
  const fw::TRect t = b->DisplayRect(true);
  const int pictureTop = t.Top + (t.Height() - 10) / 2;
  // The selected item begins at its picture's cell: the selection, the picture 2 pixels in.
  EXPECT_EQ(At(t.Left - cell, t.Top + 1), gfx::COLORREF(kSelHot));
  EXPECT_EQ(At(t.Left - cell + 2, pictureTop), gfx::RGB(255, 0, 0));
  EXPECT_EQ(At(t.Left - cell + 11, pictureTop + 9), gfx::RGB(255, 0, 0));
  EXPECT_EQ(At(t.Left - 2, t.Top + 1), gfx::COLORREF(kSelHot));
  // The bold text's rectangle is selected to its end.
  EXPECT_EQ(At(t.Right - 1, t.Top + 1), gfx::COLORREF(kSelHot));
  EXPECT_EQ(At(t.Right, t.Top + 1), gfx::COLORREF(kEditBG));
  // Another item: its picture on the tree's ground.
  const fw::TRect at = a->DisplayRect(true);
  EXPECT_EQ(At(at.Left - cell, at.Top + 1), gfx::COLORREF(kEditBG));
  EXPECT_EQ(At(at.Left - cell + 2, at.Top + (at.Height() - 10) / 2), gfx::RGB(255, 0, 0));
  tree->SetImages(nullptr);
  delete list;
}

TEST_F(TreeViewSkinTest, ARightClickedNodeShowsSelectedUntilTheNextHitTest) {
  tree->SetRightClickSelect(true);
  tree->SetSelected(a);
  desktop.Pump();
  const fw::TRect br = b->DisplayRect(true);
  const fw::TPoint p = tree->ClientToScreen({br.Left + 4, br.Top + br.Height() / 2});
  win::InjectMouseMove(p);
  desktop.Pump();
  tree->Perform(win::WM_RBUTTONDOWN, 0, win::MAKELPARAM(br.Left + 4, br.Top + 3));
  EXPECT_EQ(tree->RightNode(), b);
  desktop.Pump();
  EXPECT_EQ(At(br.Left + 1, br.Top + 1), gfx::COLORREF(kSelHot));
  tree->Perform(win::WM_NCHITTEST, 0, 0);
  EXPECT_EQ(tree->RightNode(), nullptr);
  desktop.Pump();
  EXPECT_EQ(At(br.Left + 1, br.Top + 1), gfx::COLORREF(kEditBG));
  // Gone with the nodes, never reached again.
  tree->Perform(win::WM_RBUTTONDOWN, 0, win::MAKELPARAM(br.Left + 4, br.Top + 3));
  tree->Items().Clear();
  tree->Perform(win::WM_NCHITTEST, 0, 0);
  desktop.Pump();
  EXPECT_EQ(tree->RightNode(), nullptr);
}

TEST_F(TreeViewSkinTest, UpdatingHoldsPaintingScaleSetsTheItemHeightAndRefreshTheColour) {
  tree->Items().BeginUpdate();
  EXPECT_TRUE(tree->SkinData().FUpdating);
  tree->Items().Add(nullptr, u"Gamma");
  tree->Items().EndUpdate();
  EXPECT_FALSE(tree->SkinData().FUpdating);
  desktop.Pump();
  EXPECT_EQ(tree->Items().Item(3)->DisplayRect(true).IsEmpty(), false);

  tree->SetItemHeight(20);
  tree->Perform(SM_ALPHACMD, MakeAlphaCmd(AC_SETSCALE), 150);
  EXPECT_EQ(tree->ItemHeight(), 30);
  EXPECT_EQ(tree->SkinData().ScalePercent, 150);
  tree->Perform(SM_ALPHACMD, MakeAlphaCmd(AC_SETSCALE), 100);
  EXPECT_EQ(tree->ItemHeight(), 20);

  tree->SetColor(fw::clRed);
  tree->Perform(SM_ALPHACMD, MakeAlphaCmd(AC_REFRESH), LPARAM(manager));
  EXPECT_EQ(fw::ColorToRGB(tree->Color()), gfx::COLORREF(kEditBG));
  EXPECT_EQ(tree->BackgroundColor(), fw::TColor(kEditBG));
}

TEST_F(TreeViewSkinTest, TheApplicationsItemHandlerIsKeptAndRunsOncePerStage) {
  // Counted through a shared counter: the handler lives on with the tree.
  auto counter = std::make_shared<int>(0);
  int& calls = *counter;
  tree->OnAdvancedCustomDrawItem = [counter](fw::TCustomControl*, fw::TTreeNode*,
                                             fw::TCustomDrawState, fw::TCustomDrawStage, bool&,
                                             bool&) { ++*counter; };
  tree->InitEvents();
  tree->InitEvents();  // a second time wraps nothing
  tree->Repaint();
  EXPECT_EQ(calls, 2 * tree->RowCount());
  // While the skin data updates no handler runs.
  calls = 0;
  tree->SkinData().BeginUpdate();
  tree->Repaint();
  tree->SkinData().EndUpdate();
  EXPECT_EQ(calls, 0);
}

TEST_F(TreeViewSkinTest, DuringItsOwnDragTheNodeUnderTheMouseIsTheOneShownSelected) {
  tree->SetDragMode(fw::TDragMode::dmAutomatic);
  tree->OnDragOver = [](fw::TComponent*, fw::TComponent*, int, int, fw::TDragState, bool&) {};
  std::vector<std::string> drops;
  tree->OnDragDrop = [&](fw::TComponent*, fw::TComponent*, int x, int y) {
    fw::TTreeNode* n = tree->GetNodeAt(x, y);
    drops.push_back(n ? fw::Utf16ToUtf8(n->Text()) : "(none)");
  };
  const fw::TRect ra = a->DisplayRect(true), rb = b->DisplayRect(true);
  const auto centre = [&](const fw::TRect& r) {
    return tree->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
  };
  const fw::TPoint from = centre(ra), to = centre(rb);
  win::InjectMouseMove(from);
  win::InjectMouseButton(0, true, from);
  desktop.Pump();
  EXPECT_EQ(tree->Selected(), a);
  // Before the threshold nothing changes: the pressed node is the selected one.
  EXPECT_EQ(tree->LastHoverItem(), nullptr);
  EXPECT_EQ(At(ra.Left + 1, ra.Top + 1), gfx::COLORREF(kSelHot));
  win::InjectMouseMove({from.X, from.Y + 3});
  win::InjectMouseMove(to);
  desktop.Pump();
  Save("tree-drag-over");
  // The node under the mouse takes the selection's focused look; the selected node looks plain.
  EXPECT_EQ(tree->LastHoverItem(), b);
  EXPECT_EQ(tree->Selected(), a);
  EXPECT_EQ(At(rb.Left + 1, rb.Top + 1), gfx::COLORREF(kSelHot));
  EXPECT_EQ(At(ra.Left + 1, ra.Top + 1), gfx::COLORREF(kEditBG));
  // Off the tree: no node stands out; back on it, the node does again.
  win::InjectMouseMove(other->ClientToScreen({5, 5}));
  desktop.Pump();
  EXPECT_EQ(tree->LastHoverItem(), nullptr);
  EXPECT_EQ(At(rb.Left + 1, rb.Top + 1), gfx::COLORREF(kEditBG));
  win::InjectMouseMove(to);
  desktop.Pump();
  EXPECT_EQ(tree->LastHoverItem(), b);
  // Dropped: the selection shows where it was.
  win::InjectMouseButton(0, false, to);
  desktop.Pump();
  EXPECT_EQ(drops, (std::vector<std::string>{"Beta"}));
  EXPECT_EQ(tree->LastHoverItem(), nullptr);
  EXPECT_EQ(At(ra.Left + 1, ra.Top + 1), gfx::COLORREF(kSelHot));
  EXPECT_EQ(At(rb.Left + 1, rb.Top + 1), gfx::COLORREF(kEditBG));
  // Escape during a drag also puts the selection back (a while later: no double click).
  desktop.Advance(1000);
  win::InjectMouseMove(from);
  win::InjectMouseButton(0, true, from);
  win::InjectMouseMove(to);
  desktop.Pump();
  EXPECT_EQ(tree->LastHoverItem(), b);
  win::InjectKey(0x01, true);
  win::InjectKey(0x01, false);
  desktop.Pump();
  EXPECT_FALSE(tree->Dragging());
  EXPECT_EQ(tree->LastHoverItem(), nullptr);
  EXPECT_EQ(At(ra.Left + 1, ra.Top + 1), gfx::COLORREF(kSelHot));
  win::InjectMouseButton(0, false, to);
  desktop.Pump();
  EXPECT_EQ(drops.size(), 1u);
}

}  // namespace
}  // namespace skin::controls::test
