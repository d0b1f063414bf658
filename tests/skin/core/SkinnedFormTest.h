// A fixture for tests of skinned controls on the headless desktop: an application and a
// borderless black 400 x 300 form whose manager wears the skin "S", written into a temporary
// folder from the test's own options text and master picture.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "framework/Application.h"
#include "framework/Form.h"
#include "framework/TextConv.h"
#include "platform/gfx/PictureCodec.h"
#include "platform/win/VirtualDesktop.h"
#include "skin/core/sSkinManager.h"
#include "skin/data/TempDir.h"

namespace skin::core::test {

class SkinnedFormTest : public ::testing::Test {
 protected:
  void MakeSkinnedForm(const std::string& options, const gfx::Bitmap& master) {
    app = std::make_unique<fw::TApplication>();
    dir.Write("S/Options.dat", options);
    dir.Write("S/master.bmp", gfx::EncodeBmp(master, false));
    form = new fw::TForm(app.get());
    form->SetBorderStyle(fw::TFormBorderStyle::bsNone);
    form->SetBounds(0, 0, 400, 300);
    form->SetColor(fw::clBlack);
    manager = new TsSkinManager(form);
    manager->SetSkinDirectory(fw::Utf8ToUtf16(dir.Dir()));
    manager->SetSkinName(u"S");
  }
  void TearDown() override { app.reset(); }

  win::VirtualDesktop desktop{800, 600};
  std::unique_ptr<fw::TApplication> app;
  data::test::TempDir dir;
  fw::TForm* form = nullptr;
  TsSkinManager* manager = nullptr;
};

}  // namespace skin::core::test
