// Skinned controls whose frame and bars a wrapper keeps (the memo, the tree view): the bands
// between the window's edge and its client area come from the control's own picture (its
// section over the parent), not from the platform's plain edge; the tree's rows take their
// ground from that picture at their own place inside the frame.
#include <gtest/gtest.h>

#include "platform/win/VirtualDesktop.h"
#include "platform/win/Window.h"
#include "skin/controls/sControls.h"
#include "skin/frame/InternalSkinFormTest.h"

namespace skin::controls {
namespace {

// The colour of a pixel: the picture keeps the alpha of its rounded corners, the screen not.
constexpr gfx::Pixel kRgb = 0xFFFFFF;

class WrappedFrameTest : public skin::frame::test::InternalSkinFormTest {
 protected:
  void SetUp() override { MakeSkinnedForm(400, 300); }
  // Every pixel of the window's frame bands on screen equals the control's picture there.
  template <class Control>
  void ExpectFrameFromPicture(Control* c) {
    ASSERT_NE(c->Wrapper(), nullptr);
    const gfx::Bitmap screen = desktop.Compose();
    win::RECT w{}, client{};
    win::GetWindowRect(c->Handle(), &w);
    win::GetClientRect(c->Handle(), &client);
    win::POINT origin{0, 0};
    win::ClientToScreen(c->Handle(), &origin);
    const gfx::TRect inner{origin.X - w.Left, origin.Y - w.Top, origin.X - w.Left + client.Right,
                           origin.Y - w.Top + client.Bottom};
    ASSERT_GT(inner.Left, 0);
    const gfx::Bitmap* picture = c->SkinData().CacheBmp();
    ASSERT_TRUE(picture && picture->Width() == w.Right - w.Left &&
                picture->Height() == w.Bottom - w.Top);
    for (int y = 0; y < picture->Height(); ++y)
      for (int x = 0; x < picture->Width(); ++x)
        if (!inner.Contains({x, y})) {
          ASSERT_EQ(screen.At(w.Left + x, w.Top + y) & kRgb, picture->At(x, y) & kRgb)
              << c->Name() << " " << x << "," << y;
        }
  }
};

TEST_F(WrappedFrameTest, TheMemoAndTheTreeWearTheirSectionsFrame) {
  auto* memo = new TsMemo(form);
  memo->SetName("memo");
  memo->SetBounds(10, 10, 180, 120);
  memo->SetParent(form);
  auto* tree = new TsTreeView(form);
  tree->SetName("tree");
  tree->SetBounds(200, 10, 180, 120);
  tree->SetParent(form);
  form->Show();
  desktop.Pump();
  ExpectFrameFromPicture(memo);
  ExpectFrameFromPicture(tree);
  // The focused look comes with the focus.
  tree->SetFocus();
  desktop.Pump();
  ExpectFrameFromPicture(tree);
}

TEST_F(WrappedFrameTest, TreeRowsTakeTheirGroundInsideTheFrame) {
  auto* tree = new TsTreeView(form);
  tree->SetBounds(10, 10, 200, 150);
  tree->SetParent(form);
  fw::TTreeNode* first = tree->Items().Add(nullptr, u"Первый");
  tree->Items().Add(nullptr, u"Второй");
  form->Show();
  tree->SetFocus();
  tree->SetSelected(tree->Items().Item(1));
  desktop.Pump();
  const gfx::Bitmap screen = desktop.Compose();
  const gfx::Bitmap* picture = tree->SkinData().CacheBmp();
  ASSERT_TRUE(picture && !picture->Empty());
  win::RECT w{};
  win::GetWindowRect(tree->Handle(), &w);
  win::POINT origin{0, 0};
  win::ClientToScreen(tree->Handle(), &origin);
  ASSERT_GT(origin.Y, w.Top);  // a framed tree
  // The first row's top line holds no text: it is the ground, the picture at that place.
  const gfx::TRect text = first->DisplayRect(true);
  ASSERT_EQ(text.Top, 0);
  for (int x = text.Left; x < text.Right; ++x)
    ASSERT_EQ(screen.At(origin.X + x, origin.Y) & kRgb,
              picture->At(origin.X - w.Left + x, origin.Y - w.Top) & kRgb)
        << x;
}

}  // namespace
}  // namespace skin::controls
