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

// A 40 x 12 master picture whose every pixel tells its place: blue x * 6, green y * 20, red 100.
inline gfx::Bitmap PlaceMaster() {
  gfx::Bitmap bmp(40, 12);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 40; ++x)
      bmp.Set(x, y, gfx::MakePixel(std::uint8_t(x * 6), std::uint8_t(y * 20), 100, 255));
  return bmp;
}

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
