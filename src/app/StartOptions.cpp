#include "app/StartOptions.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "app/Unit1.h"
#include "app/Unit3.h"
#include "framework/Exception.h"
#include "framework/TextConv.h"
#include "skin/core/sSkinManager.h"

namespace app {

TStartOptions ParseStartOptions(std::span<const char* const> args) {
  TStartOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "--maintenance") {
      options.Maintenance = true;
    } else if (arg == "--plain") {
      options.Plain = true;
    } else if (skin::core::IsVersionSwitch(arg)) {
      // The skin library's own switch: the library shows its version.
    } else if (arg == "--skin") {
      if (i + 1 == args.size() || std::string_view(args[i + 1]).empty())
        throw fw::Exception(u"--skin needs a skin's name");
      options.Skin = fw::Utf8ToUtf16(args[++i]);
    } else if (arg == "--scale") {
      const std::string_view value = i + 1 < args.size() ? args[i + 1] : "";
      const auto& percents = skin::core::aScalePercents;
      const auto found = std::find_if(percents.begin(), percents.end(),
                                      [&](int p) { return value == std::to_string(p); });
      if (found == percents.end()) throw fw::Exception(u"--scale needs 100, 125, 150 or 200");
      options.Scale = *found;
      ++i;
    } else {
      throw fw::Exception(u"Unknown argument " + fw::Utf8ToUtf16(std::string(arg)));
    }
  }
  return options;
}

void ApplyStartOptions(const TStartOptions& options) {
  auto* manager = dynamic_cast<skin::core::TsSkinManager*>(Form1->FindComponent("sSkinManager1"));
  if (!options.Skin.empty()) {
    if (!manager || manager->InternalSkins().IndexOf(fw::Utf16ToUtf8(options.Skin)) < 0)
      throw fw::Exception(u"No internal skin " + options.Skin);
    manager->SetSkinName(options.Skin);
  }
  if (options.Scale && manager) {
    const auto& percents = skin::core::aScalePercents;
    manager->Options().SetScaleMode(skin::core::TacScaleMode(
        std::find(percents.begin(), percents.end(), options.Scale) - percents.begin()));
  }
  if (options.Plain && manager) manager->SetActive(false);
  if (options.Maintenance) {
    Form3->ADOTable1->SetConnection(Form1->ADOConnection1);
    Form3->ADOTable1->Open();
    Form3->Show();
  }
}

}  // namespace app
