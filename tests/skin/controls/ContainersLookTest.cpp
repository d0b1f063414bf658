// Panels, a group box and a status bar in every internal skin: a picture of each for people
// to look at, and no key-coloured pixel anywhere.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "TestOutput.h"
#include "framework/Application.h"
#include "framework/Form.h"
#include "framework/TextConv.h"
#include "platform/gfx/PictureCodec.h"
#include "platform/win/VirtualDesktop.h"
#include "skin/controls/sControls.h"
#include "skin/internal/sInternalSkins.h"

namespace skin::controls::test {
namespace {

TEST(ContainersLook, EveryInternalSkinShowsPanelsGroupBoxAndStatusBarWithoutTheKeyColour) {
  win::VirtualDesktop desktop{800, 600};
  int n = 0;
  for (const auto& skin : skin::data::InternalSkins()) {
    auto app = std::make_unique<fw::TApplication>();
    auto* form = new fw::TForm(app.get());
    form->SetBorderStyle(fw::TFormBorderStyle::bsSizeable);
    form->SetBounds(0, 0, 420, 300);
    auto* manager = new skin::core::TsSkinManager(form);
    manager->AfterConstruction();
    skin::data::AddInternalSkins(manager->InternalSkins());
    manager->SetSkinName(fw::Utf8ToUtf16(skin.Name));
    const auto panel = [&](fw::TWinControl* parent, gfx::TRect r, fw::TBevelCut bevel,
                           const std::u16string& caption) {
      auto* p = new TsPanel(form);
      p->SetBevelOuter(bevel);
      p->SetBounds(r.Left, r.Top, r.Width(), r.Height());
      p->SetCaption(caption);
      p->SetParent(parent);
      return p;
    };
    TsPanel* back = panel(form, {0, 0, 400, 240}, fw::TBevelCut::bvRaised, u"");
    back->SetAlign(fw::TAlign::alClient);
    panel(back, {10, 10, 190, 70}, fw::TBevelCut::bvLowered, u"Тип музея");
    TsPanel* clear = panel(back, {10, 80, 190, 140}, fw::TBevelCut::bvNone, u"прозрачная");
    clear->SetVerticalAlignment(fw::TVerticalAlignment::taAlignTop);
    auto* box = new TsGroupBox(form);
    box->SetBounds(200, 10, 190, 130);
    box->SetCaption(u"Фильтр");
    box->SetCheckBoxVisible(true);
    box->SetChecked(true);
    box->SetParent(back);
    auto* bar = new TsStatusBar(form);
    bar->SetParent(form);
    bar->AddPanel({u"Готово", 120, fw::TAlignment::taLeftJustify});
    bar->AddPanel({u"Музеи: 42", 120, fw::TAlignment::taCenter});
    bar->AddPanel({u"10.12.2026", 80, fw::TAlignment::taCenter});
    form->Show();
    desktop.Pump();
    const gfx::Bitmap screen = desktop.Compose();
    win::RECT r;
    win::GetWindowRect(form->Handle(), &r);
    gfx::Bitmap shot = screen.Copy({r.Left, r.Top, r.Right, r.Bottom});
    int keyed = 0;
    for (int y = 0; y < shot.Height(); ++y)
      for (int x = 0; x < shot.Width(); ++x) keyed += (shot.At(x, y) & 0xFFFFFF) == 0xFF00FF;
    EXPECT_EQ(keyed, 0) << skin.Name;
    gfx::WriteFileBytes(
        (tests::OutputFolder("skin-controls") / ("containers-" + std::to_string(n++) + ".png"))
            .string(),
        gfx::EncodePng(shot));
  }
}

}  // namespace
}  // namespace skin::controls::test
