// A fixture for the wrapper tests on the headless desktop: an application and a borderless
// form of the given size whose manager wears the first internal skin.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "framework/Application.h"
#include "framework/Form.h"
#include "framework/TextConv.h"
#include "platform/win/VirtualDesktop.h"
#include "skin/core/sSkinManager.h"
#include "skin/internal/sInternalSkins.h"

namespace skin::frame::test {

// The name of the first internal skin whose name holds part, empty when none.
inline std::u16string InternalSkinNamed(const std::string& part) {
  for (const auto& s : skin::data::InternalSkins())
    if (std::string(s.Name).find(part) != std::string::npos) return fw::Utf8ToUtf16(s.Name);
  return {};
}

class InternalSkinFormTest : public ::testing::Test {
 protected:
  // beforeSkin sets the manager up before its skin is loaded.
  void MakeSkinnedForm(int width, int height,
                       const std::function<void(core::TsSkinManager&)>& beforeSkin = {}) {
    app = std::make_unique<fw::TApplication>();
    form = new fw::TForm(app.get());
    form->SetBorderStyle(fw::TFormBorderStyle::bsNone);
    form->SetBounds(0, 0, width, height);
    manager = new core::TsSkinManager(form);
    if (beforeSkin) beforeSkin(*manager);
    manager->AfterConstruction();
    skin::data::AddInternalSkins(manager->InternalSkins());
    manager->SetSkinName(fw::Utf8ToUtf16(skin::data::InternalSkins().front().Name));
  }
  void TearDown() override { app.reset(); }

  win::VirtualDesktop desktop{800, 600};
  std::unique_ptr<fw::TApplication> app;
  fw::TForm* form = nullptr;
  core::TsSkinManager* manager = nullptr;
};

}  // namespace skin::frame::test
