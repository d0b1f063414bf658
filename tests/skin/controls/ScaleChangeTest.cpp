// The manager's scale mode change on a form skinned through a provider: the event with both
// modes and percentages, the form's controls, sizes and fonts rescaled (its place kept), the
// new percentage announced to the controls, the form shown and drawing again, and everything
// back where it was when the mode returns. The provider here only answers what the manager
// asks of one: its manager, its scale, and the new scale passed to the form's controls.
#include <gtest/gtest.h>

#include <optional>

#include "platform/win/MulDiv.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/Window.h"
#include "skin/controls/sControls.h"
#include "skin/core/SkinnedFormTest.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sConst.h"
#include "skin/core/sStyleSimply.h"
#include "skin/core/sVclUtils.h"
#include "skin/paint/sGraphUtils.h"

namespace skin::controls::test {
namespace {

using namespace skin::core;

// The panel's border has a picture of its own for 150 percent.
const std::string kOptions =
    "[GLOBALINFO]\nVERSION=8.0\nMASTERBITMAP=master.bmp\nCOLOR=4210752\n\n"
    "[PANEL]\nCOLOR=255\nBORDERSMASK=^0000^0000^0012^0012^0002^0002^0002^0002^1^0^1^1\n"
    "BORDERSMASK*150=^0012^0000^0030^0018^0003^0003^0003^0003^1^0^1^1\n\n"
    "[EDIT]\nCOLOR=16777215\n";

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
    MakeSkinnedForm(kOptions, gfx::Bitmap(40, 40));
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
          case AC_SETNEWSKIN:
            ++announced;
            break;
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
  int announced = 0;  // new-skin announcements the form received
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
  int afterChange = 0;
  manager->OnAfterChange = [&](fw::TComponent*) { ++afterChange; };
  announced = 0;
  manager->Options().SetScaleMode(sm150);
  // One announcement and one after-change event: a second round would repaint everything again.
  EXPECT_EQ(announced, 1);
  EXPECT_EQ(afterChange, 1);
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
  EXPECT_EQ(announced, 2);
  EXPECT_EQ(afterChange, 2);
  manager->OnAfterChange = nullptr;
  manager->OnScaleModeChange = nullptr;
}

TEST_F(ScaleChangeTest, EveryKindOfControlItsPicturesAndTheGlobalsFollowAndComeBackExactly) {
  form->SetConstraints({400, 300, 400, 300});  // fixed, like the catalogue's window
  auto* button = new TsButton(form);
  button->SetBounds(135, 20, 75, 25);
  button->SetParent(form);
  auto* label = new TsLabel(form);
  label->SetBounds(15, 150, 61, 13);
  label->SetParent(form);
  label->Font().SetHeight(-11);
  label->SetCaption(u"Район:");  // sized by its text
  auto* combo = new TsComboBox(form);
  combo->SetBounds(135, 80, 145, 21);
  combo->SetParent(form);
  auto* status = new TsStatusBar(form);
  status->SetParent(form);
  status->SetAlign(fw::TAlign::alBottom);
  auto* anchored = new TsPanel(panel);
  anchored->SetBounds(81, 3, 35, 33);
  anchored->SetParent(panel);
  anchored->SetAnchors(fw::akTop | fw::akRight);
  struct TSeen {
    fw::TControl* control;
    gfx::TRect bounds;
    int font;
  };
  std::vector<TSeen> before;
  for (fw::TControl* c :
       std::initializer_list<fw::TControl*>{panel, edit, button, label, combo, status, anchored})
    before.push_back({c, c->BoundsRect(), c->Font().Height()});
  const data::TacSkinModel* model = manager->SkinModel();
  auto panelBorder = [&] {
    const int ndx = model->GetMaskIndex(model->GetSkinIndex("PANEL"), "PANEL", "BORDERSMASK");
    return ndx < 0 ? gfx::TRect{} : model->ma[std::size_t(ndx)].R;
  };
  ASSERT_EQ(panelBorder(), (gfx::TRect{0, 0, 12, 12}));
  const int scrollButton = acScrollBtnLength;
  ASSERT_EQ(iDefIcoLineWidth, 16);

  manager->Options().SetScaleMode(sm150);
  model = manager->SkinModel();
  EXPECT_EQ(form->BoundsRect(), gfx::RectOfSize(0, 0, 600, 450));
  EXPECT_EQ(form->Constraints(), (fw::TSizeConstraints{600, 450, 600, 450}));
  EXPECT_EQ(button->BoundsRect(), gfx::RectOfSize(203, 30, 113, 38));
  EXPECT_EQ(label->Left(), 23);
  EXPECT_EQ(label->Top(), 225);
  EXPECT_EQ(label->Font().Height(), -17);
  EXPECT_GT(label->Height(), before[3].bounds.Height());  // its text is larger
  EXPECT_EQ(combo->BoundsRect().Left, 203);
  EXPECT_EQ(status->BoundsRect().Bottom, 450);                         // aligned to the new size
  EXPECT_EQ(anchored->BoundsRect(), gfx::RectOfSize(122, 5, 53, 50));  // scaled, not moved
  // Every skinned control tells the new percentage.
  for (fw::TControl* c :
       std::initializer_list<fw::TControl*>{panel, edit, button, combo, status, anchored})
    EXPECT_EQ(c->Perform(SM_ALPHACMD, MakeAlphaCmd(AC_GETSCALE), 0), 150) << c->ClassName();
  // The skin at its 150 percent pictures, and the library's scaled metrics.
  EXPECT_EQ(model->Scale, 2);
  EXPECT_EQ(panelBorder(), (gfx::TRect{12, 0, 30, 18}));
  EXPECT_EQ(acSpacing, 6);
  EXPECT_EQ(paint::ac_ArrowWidth, 11);
  EXPECT_EQ(paint::ac_ArrowHeight, 6);
  EXPECT_EQ(paint::acArrowSize, 8);
  EXPECT_EQ(paint::acLineWidth, 3);
  EXPECT_EQ(iDefIcoLineWidth, 24);
  EXPECT_EQ(acScrollBtnLength, win::MulDiv(scrollButton, 150, 100));
  EXPECT_EQ(manager->ScaleInt(7), 10);
  EXPECT_EQ(GetScrollSize(manager),
            win::MulDiv(win::GetSystemMetrics(win::SM_CXVSCROLL), 150, 100));

  manager->Options().SetScaleMode(sm100);
  model = manager->SkinModel();
  EXPECT_EQ(form->BoundsRect(), gfx::RectOfSize(0, 0, 400, 300));
  EXPECT_EQ(form->Constraints(), (fw::TSizeConstraints{400, 300, 400, 300}));
  for (const TSeen& seen : before) {
    EXPECT_EQ(seen.control->BoundsRect(), seen.bounds) << seen.control->ClassName();
    EXPECT_EQ(seen.control->Font().Height(), seen.font) << seen.control->ClassName();
  }
  EXPECT_EQ(panelBorder(), (gfx::TRect{0, 0, 12, 12}));
  EXPECT_EQ(acSpacing, 4);
  EXPECT_EQ(paint::ac_ArrowWidth, 7);
  EXPECT_EQ(paint::acLineWidth, 2);
  EXPECT_EQ(iDefIcoLineWidth, 16);
  EXPECT_EQ(acScrollBtnLength, scrollButton);
  // With a scroll size of its own the manager's scroll and combo-button sizes take it.
  manager->ScrollsOptions().SetScrollSize(20);
  EXPECT_EQ(GetScrollSize(manager), 20);
  EXPECT_EQ(GetComboBtnSize(manager), std::max(win::GetSystemMetrics(win::SM_CXVSCROLL), 20));
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

TEST_F(ScaleChangeTest, TheScaledGlobalsComeHomeAfterSeveralSteps) {
  const int scrollButton = acScrollBtnLength, glyph = iDefIcoLineWidth;
  manager->Options().SetScaleMode(sm150);
  EXPECT_EQ(iDefIcoLineWidth, 24);
  manager->Options().SetScaleMode(sm125);
  manager->Options().SetScaleMode(sm100);
  EXPECT_EQ(acScrollBtnLength, scrollButton) << "rounded at every step, it drifted";
  EXPECT_EQ(iDefIcoLineWidth, glyph);
}

}  // namespace
}  // namespace skin::controls::test
