// What one keystroke costs in an edit and in a word-wrapped memo holding many lines: the
// edit, the layout, the scroll bars and OnChange, then the repaint it asks for.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/Application.h"
#include "framework/Edit.h"
#include "framework/Form.h"
#include "framework/Memo.h"
#include "platform/win/Input.h"
#include "platform/win/VirtualDesktop.h"

namespace fw {
namespace {

template <class T>
void TypeInto(benchmark::State& state, int lines) {
  win::VirtualDesktop desktop(800, 600);
  auto app = std::make_unique<TApplication>();
  auto* form = app->CreateForm<TForm>();
  form->SetBorderStyle(TFormBorderStyle::bsNone);
  form->SetBounds(0, 0, 640, 480);
  auto* control = new T(form);
  control->SetBounds(10, 10, 433, 229);
  control->SetParent(form);
  std::u16string text;
  for (int i = 0; i < lines; ++i) {
    if (i) text += u"\r\n";
    text += u"Экспозиция посвящена истории школы и её выпускникам разных лет";
  }
  control->SetText(text);
  int changes = 0;
  control->OnChange = [&](TComponent*) { ++changes; };
  form->Show();
  control->SetFocus();
  desktop.Pump();
  // A fixed number of keys (see the registrations), so the text does not grow without end.
  for (auto _ : state) {
    win::InjectText(u"ж");
    desktop.Pump();
  }
  state.counters["changes"] = changes;
}

void TypeIntoEdit(benchmark::State& state) {
  TypeInto<TEdit>(state, 1);
}
BENCHMARK(TypeIntoEdit)->Iterations(300);

void TypeIntoMemo(benchmark::State& state) {
  TypeInto<TMemo>(state, int(state.range(0)));
}
BENCHMARK(TypeIntoMemo)->Arg(10)->Arg(100)->Arg(1000)->Iterations(300);

}  // namespace
}  // namespace fw
