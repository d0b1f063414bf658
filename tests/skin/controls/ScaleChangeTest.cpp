// The manager's scale mode change on a form skinned through a provider: the event with both
// modes and percentages, the form's controls, sizes and fonts rescaled (its place kept), the
// new percentage announced to the controls, the form shown and drawing again, and everything
// back where it was when the mode returns. The provider here only answers what the manager
// asks of one: its manager, its scale, and the new scale passed to the form's controls.
#include <gtest/gtest.h>

#include <optional>

#include "platform/win/MulDiv.h"
#include "platform/win/Window.h"
#include "skin/controls/sControls.h"
#include "skin/core/SkinnedFormTest.h"
#include "skin/core/sStyleSimply.h"
#include "skin/core/sVclUtils.h"

namespace skin::controls::test {
namespace {

using namespace skin::core;

const std::string kOptions =
    "[GLOBALINFO]\nVERSION=8.0\nMASTERBITMAP=master.bmp\nCOLOR=4210752\n\n"
    "[PANEL]\nCOLOR=255\n\n[EDIT]\nCOLOR=16777215\n";

class TTestProvider : public TacFormProvider {
 public:
  explicit TTestProvider(const fw::TComponent* manager) : FManager(manager) {}
  const fw::TComponent* ProviderManager() const override { return FManager; }
  int Percent = 100;  // -1: the form does not scale

 private:
  const fw::TComponent* FManager;
};

class ScaleChangeTest : public skin::core::test::SkinnedFormTest {
 protected:
  void SetUp() override {
    MakeSkinnedForm(kOptions, gfx::Bitmap(4, 4));
    form->Font().SetHeight(-11);
    panel = new TsPanel(form);
    panel->SetBounds(10, 20, 120, 40);
    panel->SetParent(form);
    edit = new TsEdit(form);
    edit->SetBounds(20, 80, 100, 24);
    edit->SetParent(form);
    edit->Font().SetHeight(-12);
    provider.emplace(manager);
    hook = form->HookWindowProc([this](fw::TMessage& m, const fw::TWndNext& next) {
      if (m.Msg == SM_ALPHACMD) {
        switch (WParamHi(m.WParam)) {
          case AC_GETPROVIDER:
            m.Result = LRESULT(&*provider);
            return;
          case AC_GETSCALE:
            m.Result = provider->Percent;
            return;
          case AC_SETSCALE:
            provider->Percent = int(m.LParam);
            AlphaBroadCast(*form, m);
            return;
          default:
            break;
        }
      }
      next(m);
    });
    IntSkinForm(form);
    form->Show();
    desktop.Pump();
  }
  void TearDown() override {
    IntUnSkinForm(form);
    form->UnhookWindowProc(hook);
    SkinnedFormTest::TearDown();
  }

  TsPanel* panel = nullptr;
  TsEdit* edit = nullptr;
  std::optional<TTestProvider> provider;
  fw::TWndHookId hook = 0;
};

TEST_F(ScaleChangeTest, AFormsControlsAndFontsFollowTheScaleAndComeBack) {
  ASSERT_TRUE(manager->IsDefault());
  std::optional<TScaleChangeData> seen;
  manager->OnScaleModeChange = [&](fw::TComponent* sender, const TScaleChangeData& d) {
    EXPECT_EQ(sender, manager);
    // Told before anything is rescaled.
    EXPECT_EQ(form->Width(), seen ? 600 : 400);
    seen = d;
  };
  manager->Options().SetScaleMode(sm150);
  ASSERT_TRUE(seen);
  EXPECT_EQ(seen->OldScaleMode, smOldMode);
  EXPECT_EQ(seen->NewScaleMode, sm150);
  EXPECT_EQ(seen->OldScalePercent, 100);
  EXPECT_EQ(seen->NewScalePercent, 150);
  // The form keeps its place; what is on it moves and grows.
  EXPECT_EQ(form->BoundsRect(), gfx::RectOfSize(0, 0, 600, 450));
  EXPECT_EQ(panel->BoundsRect(), gfx::RectOfSize(15, 30, 180, 60));
  EXPECT_EQ(edit->BoundsRect(), gfx::RectOfSize(30, 120, 150, 36));
  EXPECT_EQ(form->Font().Height(), win::MulDiv(-11, 150, 100));
  EXPECT_EQ(panel->Font().Height(), form->Font().Height());  // follows its parent's
  EXPECT_EQ(edit->Font().Height(), -18);
  EXPECT_EQ(provider->Percent, 150);
  EXPECT_EQ(panel->SkinData().ScalePercent, 150);
  EXPECT_EQ(edit->SkinData().ScalePercent, 150);
  // Shown and drawing again.
  EXPECT_TRUE(win::IsWindowVisible(form->Handle()));
  EXPECT_FALSE(provider->Animating);
  EXPECT_TRUE(manager->Effects().AllowAnimation);

  manager->Options().SetScaleMode(sm100);
  EXPECT_EQ(seen->OldScalePercent, 150);
  EXPECT_EQ(seen->NewScalePercent, 100);
  EXPECT_EQ(form->BoundsRect(), gfx::RectOfSize(0, 0, 400, 300));
  EXPECT_EQ(panel->BoundsRect(), gfx::RectOfSize(10, 20, 120, 40));
  EXPECT_EQ(edit->BoundsRect(), gfx::RectOfSize(20, 80, 100, 24));
  EXPECT_EQ(form->Font().Height(), -11);
  EXPECT_EQ(edit->Font().Height(), -12);
  EXPECT_EQ(panel->SkinData().ScalePercent, 100);
}

TEST_F(ScaleChangeTest, AFormThatDoesNotScaleStaysAsItIs) {
  provider->Percent = -1;
  int told = 0;
  manager->OnScaleModeChange = [&](fw::TComponent*, const TScaleChangeData&) { ++told; };
  manager->Options().SetScaleMode(sm200);
  EXPECT_EQ(told, 1);
  EXPECT_EQ(form->BoundsRect(), gfx::RectOfSize(0, 0, 400, 300));
  EXPECT_EQ(edit->BoundsRect(), gfx::RectOfSize(20, 80, 100, 24));
  EXPECT_EQ(edit->Font().Height(), -12);
  EXPECT_EQ(edit->SkinData().ScalePercent, 100);
  // A mode of the same step is told too, and changes nothing.
  manager->Options().SetScaleMode(sm100);
  manager->Options().SetScaleMode(smOldMode);
  EXPECT_EQ(told, 3);
}

}  // namespace
}  // namespace skin::controls::test
