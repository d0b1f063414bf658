#include <gtest/gtest.h>

#include <string>

#include "Harness.h"
#include "framework/Automation.h"
#include "framework/Dialogs.h"
#include "framework/Image.h"
#include "framework/StatusBar.h"
#include "platform/backend/Dump.h"
#include "platform/win/Input.h"

namespace fw::test {
namespace {

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST_F(FrameworkTest, DumpCarriesFormsControlsHintAndMessageBoxes) {
  InstallFormDump();
  app->SetTitle(u"Demo");
  TForm* form = ShowForm(100, 50, 300, 200);
  form->SetName("Form1");
  auto* image = new TImage(form);
  image->SetName("Photo");
  image->SetBounds(10, 20, 30, 40);
  image->SetHint(u"Photo hint");
  image->SetParent(form);
  auto* shown = new TImage(form);
  shown->SetName("Shown");
  shown->SetBounds(200, 100, 3, 2);
  shown->SetPicture(gfx::Bitmap(3, 2));
  shown->SetParent(form);
  auto* bar = new TStatusBar(form);
  bar->SetName("Bar");
  bar->SetParent(form);
  bar->AddPanel({u"left", 50, TAlignment::taLeftJustify});
  Move(120, 80);
  desktop.Schedule(10, [] {
    win::InjectKey(kEnter, true);
    win::InjectKey(kEnter, false);
  });
  MessageDlg(u"Saved", TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK});
  std::string dump = backend::DumpWindows();
  EXPECT_TRUE(Has(dump, R"("form":{"name":"Form1","class":"TForm"})")) << dump;
  EXPECT_TRUE(Has(dump, R"("name":"Photo","class":"TImage","bounds":[10,20,30,40],)"
                        R"("screen":[110,70,140,110],"visible":true,"showing":true,)"
                        R"("enabled":true,"focused":false,"tabOrder":-1,"caption":"",)"
                        R"("hint":"Photo hint")"))
      << dump;
  EXPECT_TRUE(Has(dump, R"("hint":"Photo hint")" "," R"("font":)")) << dump;
  EXPECT_TRUE(Has(dump, R"("imageIndex":-1,"picture":null})")) << dump;
  EXPECT_TRUE(Has(dump, R"("picture":{"width":3,"height":2,"file":""})")) << dump;
  EXPECT_TRUE(Has(dump, R"("panels":[{"text":"left","width":50}])")) << dump;
  EXPECT_TRUE(Has(dump, R"("application":{"hint":"Photo hint","tooltip":null,"messages":[{"title":)"
                        R"("Information","text":"Saved","icon":"information"}]})"))
      << dump;
}

}  // namespace
}  // namespace fw::test
