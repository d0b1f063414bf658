#include "framework/Automation.h"

#include "framework/Application.h"
#include "framework/Button.h"
#include "framework/Dialogs.h"
#include "framework/Form.h"
#include "framework/HintWindow.h"
#include "framework/Image.h"
#include "framework/StatusBar.h"
#include "platform/backend/Dump.h"

namespace fw {

namespace {

using backend::JsonWriter;

void Rect(JsonWriter& w, std::initializer_list<int> values) {
  w.BeginArray();
  for (int v : values) w.Number(v);
  w.EndArray();
}

void WriteFont(JsonWriter& w, const TFont& font) {
  w.BeginObject();
  w.Key("name");
  w.String(font.Name());
  w.Key("height");
  w.Number(font.Height());
  w.Key("bold");
  w.Bool((font.Style() & fsBold) != 0);
  w.Key("color");
  w.Number(ColorToRGB(font.Color()));
  w.EndObject();
}

void WriteControl(JsonWriter& w, TControl* c) {
  w.BeginObject();
  w.Key("name");
  w.String(c->Name());
  w.Key("class");
  w.String(c->ClassName());
  w.Key("bounds");
  Rect(w, {c->Left(), c->Top(), c->Width(), c->Height()});
  TPoint tl = c->ClientToScreen({0, 0});
  w.Key("screen");
  Rect(w, {tl.X, tl.Y, tl.X + c->Width(), tl.Y + c->Height()});
  w.Key("visible");
  w.Bool(c->Visible());
  w.Key("showing");
  w.Bool(c->Showing());
  w.Key("enabled");
  w.Bool(c->Enabled());
  auto* wc = dynamic_cast<TWinControl*>(c);
  w.Key("focused");
  w.Bool(wc && wc->Focused());
  w.Key("tabOrder");
  w.Number(wc ? wc->TabOrder() : -1);
  w.Key("caption");
  w.String(c->Caption());
  w.Key("hint");
  w.String(c->Hint());
  w.Key("font");
  WriteFont(w, c->Font());
  if (auto* image = dynamic_cast<TImage*>(c)) {
    w.Key("imageIndex");
    w.Number(image->ImageIndex());
    w.Key("picture");
    if (image->Picture().Empty()) {
      w.Null();
    } else {
      w.BeginObject();
      w.Key("width");
      w.Number(image->Picture().Width());
      w.Key("height");
      w.Number(image->Picture().Height());
      w.Key("file");
      w.String(image->PictureFile());
      w.EndObject();
    }
  }
  if (auto* bar = dynamic_cast<TStatusBar*>(c)) {
    w.Key("panels");
    w.BeginArray();
    for (int i = 0; i < bar->PanelCount(); ++i) {
      w.BeginObject();
      w.Key("text");
      w.String(bar->Panel(i).Text);
      w.Key("width");
      w.Number(bar->Panel(i).Width);
      w.EndObject();
    }
    w.EndArray();
  }
  if (wc && wc->ControlCount() > 0) {
    w.Key("controls");
    w.BeginArray();
    for (int i = 0; i < wc->ControlCount(); ++i) WriteControl(w, wc->Controls(i));
    w.EndArray();
  }
  w.EndObject();
}

void WriteApplication(JsonWriter& w) {
  w.BeginObject();
  w.Key("hint");
  w.String(Application->Hint());
  w.Key("tooltip");  // the text of the tooltip showing now
  THintWindow* tip = Application->HintWindow();
  if (tip && tip->Visible())
    w.String(tip->Caption());
  else
    w.Null();
  w.Key("messages");
  w.BeginArray();
  for (const TMessageRecord& m : Application->Messages()) {
    w.BeginObject();
    w.Key("title");
    w.String(m.Title);
    w.Key("text");
    w.String(m.Text);
    w.Key("icon");
    w.String(MsgDlgTypeName(m.Icon));
    w.EndObject();
  }
  w.EndArray();
  w.EndObject();
}

}  // namespace

void InstallFormDump() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  backend::AddDumpExtender([](win::HWND hwnd, JsonWriter& w) {
    auto* form = dynamic_cast<TCustomForm*>(TWinControl::FindControl(hwnd));
    if (!form) return;
    w.Key("form");
    w.BeginObject();
    w.Key("name");
    w.String(form->Name());
    w.Key("class");
    w.String(form->ClassName());
    w.EndObject();
    w.Key("controls");
    w.BeginArray();
    for (int i = 0; i < form->ControlCount(); ++i) WriteControl(w, form->Controls(i));
    w.EndArray();
    if (Application && Application->MainForm() == form) {
      w.Key("application");
      WriteApplication(w);
    }
  });
}

}  // namespace fw
