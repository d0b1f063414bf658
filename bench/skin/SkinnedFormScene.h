// What the frame benchmarks share: a form of the catalogue's window size (1280 x 750) on a
// virtual desktop, skinned by a provider under the default internal skin with glowing off; or
// a plain form with a skin manager alone.
#pragma once

#include <functional>
#include <memory>

#include "framework/Application.h"
#include "framework/Form.h"
#include "framework/TextConv.h"
#include "platform/win/VirtualDesktop.h"
#include "skin/frame/sSkinProvider.h"
#include "skin/internal/sInternalSkins.h"

namespace skin::bench {

struct SkinnedFormScene {
  // prepare runs on the form before the skin comes (a menu, a caption...); the form is shown.
  SkinnedFormScene(fw::TFormBorderStyle border, const std::u16string& caption,
                   const std::function<void(fw::TForm&)>& prepare = {}) {
    form = app->CreateForm<fw::TForm>();
    form->SetBorderStyle(border);
    form->SetBounds(0, 0, 1280, 750);
    form->SetCaption(caption);
    if (prepare) prepare(*form);
    manager = new core::TsSkinManager(form);
    manager->AfterConstruction();
    data::AddInternalSkins(manager->InternalSkins());
    manager->SetSkinName(fw::Utf8ToUtf16(data::acDefaultInternalSkin));
    manager->Effects().AllowGlowing = false;
    provider = new frame::TsSkinProvider(form);
    form->Show();
    desktop.Pump();
  }
  ~SkinnedFormScene() { app.reset(); }
  win::VirtualDesktop desktop{1440, 900};
  std::unique_ptr<fw::TApplication> app = std::make_unique<fw::TApplication>();
  fw::TForm* form = nullptr;
  core::TsSkinManager* manager = nullptr;
  frame::TsSkinProvider* provider = nullptr;
};

// A borderless form of width x height with a skin manager under the default internal skin and
// no provider, for controls wrapped one by one; not shown yet.
struct SkinnedManagerScene {
  SkinnedManagerScene(int width, int height) {
    form = new fw::TForm(app.get());
    form->SetBorderStyle(fw::TFormBorderStyle::bsNone);
    form->SetBounds(0, 0, width, height);
    manager = new core::TsSkinManager(form);
    manager->AfterConstruction();
    data::AddInternalSkins(manager->InternalSkins());
    manager->SetSkinName(fw::Utf8ToUtf16(data::acDefaultInternalSkin));
  }
  ~SkinnedManagerScene() { app.reset(); }
  win::VirtualDesktop desktop{800, 600};
  std::unique_ptr<fw::TApplication> app = std::make_unique<fw::TApplication>();
  fw::TForm* form = nullptr;
  core::TsSkinManager* manager = nullptr;
};

}  // namespace skin::bench
