// The MDI demo: a skinned MDI parent with a menu bar, a tool panel of speed buttons and
// children of three kinds (a text, a picture, a card with edits), two of them open at start,
// the picture active. It waits for input, or on the headless backend for its script
// (UI_SCRIPT, see demo.script).
//
//   mdi-demo               the parent wears "BlueGauze (внутренний)", as the catalogue does
//   mdi-demo --skin NAME   it wears the internal skin NAME (as the skins menu names it)
#include <clocale>
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

#include "MdiMainForm.h"
#include "framework/Application.h"
#include "framework/Automation.h"
#include "framework/Exception.h"
#include "framework/TextConv.h"
#include "platform/backend/Start.h"
#include "skin/controls/sControls.h"
#include "skin/internal/sInternalSkins.h"

namespace {

// The skin the arguments name; raises fw::Exception for anything else.
std::u16string SkinOf(int argc, char** argv) {
  std::u16string skin = u"BlueGauze (внутренний)";
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg != "--skin") throw fw::Exception(u"Unknown argument " + fw::Utf8ToUtf16(argv[i]));
    if (i + 1 == argc) throw fw::Exception(u"--skin needs a skin's name");
    skin = fw::Utf8ToUtf16(argv[++i]);
  }
  for (const auto& s : skin::data::InternalSkins())
    if (fw::Utf8ToUtf16(s.Name) == skin) return skin;
  throw fw::Exception(u"No internal skin " + skin);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const std::u16string skin = SkinOf(argc, argv);
    std::setlocale(LC_ALL, "");
    auto platform = backend::Start();
    fw::InstallFormDump();
    skin::controls::RegisterSkinClasses();
    fw::TApplication application;
    application.Initialize();
    application.MainFormOnTaskBar = true;
    application.SetTitle(u"mdi-demo");
    auto* form = application.CreateForm<mdidemo::TMdiMainForm>();
    form->SkinManager().SetSkinName(skin);
    form->Show();
    form->NewChild(mdidemo::TChildKind::Text);
    form->NewChild(mdidemo::TChildKind::Picture);
    application.Run();
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "mdi-demo: %s\n", e.what());
    return 1;
  }
}
