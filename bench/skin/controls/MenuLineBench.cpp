// The frame paint of a form with a skinned menu line (a 1280 x 750 sizeable form under the
// default internal skin, six items on the line): a paint that leaves the line as it was,
// against one that paints the line's items again (RepaintMenu, as every frame paint used to).
// Their ratio, within one run, is what keeping the line saves.
#include <benchmark/benchmark.h>

#include <memory>

#include "framework/Application.h"
#include "framework/Form.h"
#include "framework/Menus.h"
#include "framework/TextConv.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/VirtualDesktop.h"
#include "platform/win/Window.h"
#include "skin/SkinnedFormScene.h"
#include "skin/controls/acDials.h"
#include "skin/controls/sSkinMenus.h"

namespace skin::controls {
namespace {

struct Scene : skin::bench::SkinnedFormScene {
  Scene()
      : SkinnedFormScene(fw::TFormBorderStyle::bsSizeable, u"Каталог", [](fw::TForm& form) {
          InstallDialogSkinning();
          InstallSkinnedMenus();
          auto* menu = new fw::TMainMenu(&form);
          for (const char16_t* caption :
               {u"&Файл", u"&Правка", u"&Вид", u"&Сервис", u"&Окно", u"&Справка"}) {
            auto* item = new fw::TMenuItem(menu);
            item->SetCaption(caption);
            auto* sub = new fw::TMenuItem(menu);
            sub->SetCaption(u"&Открыть");
            item->Add(sub);
            menu->Items()->Add(item);
          }
          form.SetMenu(menu);
        }) {}
};

void FramePaintKeepingTheMenuLine(benchmark::State& state) {
  Scene scene;
  if (!scene.provider->Skinned()) return state.SkipWithError("not skinned");
  const int before = scene.provider->MenuLinePaints();
  for (auto _ : state) {
    win::SendMessageW(scene.form->Handle(), win::WM_NCPAINT, 1, 0);
    benchmark::ClobberMemory();
  }
  if (scene.provider->MenuLinePaints() != before) state.SkipWithError("the line was painted");
}
BENCHMARK(FramePaintKeepingTheMenuLine);

void FramePaintRepaintingTheMenuLine(benchmark::State& state) {
  Scene scene;
  if (!scene.provider->Skinned()) return state.SkipWithError("not skinned");
  for (auto _ : state) {
    scene.provider->RepaintMenu();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(FramePaintRepaintingTheMenuLine);

}  // namespace
}  // namespace skin::controls
