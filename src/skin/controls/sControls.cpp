#include "skin/controls/sControls.h"

#include "framework/Reader.h"
#include "framework/TextConv.h"
#include "framework/dbctrls/DataControlsClasses.h"

namespace skin::controls {

namespace {

using V = const fw::TValueDesc&;
using C = fw::TReadContext&;

// Section names are upper-case words compared exactly.
std::string SectionName(V v, C x) {
  std::string s = fw::Utf16ToUtf8(x.String(v));
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return s;
}

template <class T>
void RegisterControl(const char* name, const char* base) {
  fw::RegisterClass<T>(name, base);
  fw::RegisterProperty<T>(name, "SkinData.SkinSection",
                          [](T* c, V v, C x) { c->SkinData().SetSkinSection(SectionName(v, x)); });
}

}  // namespace

void RegisterSkinClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterControl<TsPanel>("TsPanel", "TPanel");
  RegisterControl<TsLabel>("TsLabel", "TLabel");
  RegisterControl<TsImage>("TsImage", "TImage");
  RegisterControl<TsButton>("TsButton", "TButton");
  RegisterControl<TsBitBtn>("TsBitBtn", "TBitBtn");
  RegisterControl<TsStatusBar>("TsStatusBar", "TStatusBar");
  RegisterControl<TsEdit>("TsEdit", "TEdit");
  RegisterControl<TsMemo>("TsMemo", "TMemo");
  RegisterControl<TsComboBox>("TsComboBox", "TComboBox");
  RegisterControl<TsTreeView>("TsTreeView", "TTreeView");
  fw::RegisterDataControls();  // the grid's own properties, and its entry in the dump
  RegisterControl<TsDBGrid>("TsDBGrid", "TDBGrid");
  fw::RegisterClass<TsAlphaImageList>("TsAlphaImageList", "TImageList");
  fw::RegisterClass<TsSkinManager>("TsSkinManager", "");
  fw::RegisterProperty<TsSkinManager>(
      "TsSkinManager", "SkinName", [](TsSkinManager* m, V v, C x) { m->SetSkinName(x.String(v)); });
  fw::RegisterClass<TsSkinProvider>("TsSkinProvider", "");
  fw::RegisterProperty<TsSkinProvider>(
      "TsSkinProvider", "SkinData.SkinSection",
      [](TsSkinProvider* p, V v, C x) { p->SkinData().SetSkinSection(SectionName(v, x)); });
}

}  // namespace skin::controls
