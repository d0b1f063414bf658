#include "framework/Automation.h"

#include "framework/Application.h"
#include "framework/Button.h"
#include "framework/ComboBox.h"
#include "framework/Dialogs.h"
#include "framework/Edit.h"
#include "framework/Form.h"
#include "framework/HintWindow.h"
#include "framework/Image.h"
#include "framework/Memo.h"
#include "framework/SpeedButton.h"
#include "framework/StatusBar.h"
#include "framework/TreeView.h"
#include "platform/backend/Dump.h"
#include "platform/win/MenuWindow.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/ScrollInfo.h"
#include "platform/win/Window.h"

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

void WriteComboBox(JsonWriter& w, TComboBox* combo) {
  w.Key("items");
  w.BeginArray();
  for (const std::u16string& item : combo->Items().Lines()) w.String(item);
  w.EndArray();
  w.Key("itemIndex");
  w.Number(combo->ItemIndex());
  w.Key("text");
  w.String(combo->Text());
  w.Key("droppedDown");
  w.Bool(combo->DroppedDown());
}

// The nodes of a tree in depth-first order; rect is the text on the screen, null while the
// node has no row in the client area (collapsed parent, scrolled away).
void WriteTreeNodes(JsonWriter& w, TTreeView* tree) {
  w.Key("nodes");
  w.BeginArray();
  TRect client = tree->ClientRect();
  for (TTreeNode* n = tree->Items().GetFirstNode(); n; n = n->GetNext()) {
    w.BeginObject();
    w.Key("text");
    w.String(n->Text());
    w.Key("data");
    w.Number(n->Data());
    w.Key("level");
    w.Number(n->Level());
    w.Key("expanded");
    w.Bool(n->Expanded());
    w.Key("selected");
    w.Bool(n->Selected());
    w.Key("rect");
    TRect r = n->DisplayRect(true);
    if (!r.IsEmpty() && r.Bottom <= client.Bottom && r.Top >= client.Top && r.Right > client.Left &&
        r.Left < client.Right) {
      TPoint tl = tree->ClientToScreen({r.Left, r.Top});
      Rect(w, {tl.X, tl.Y, tl.X + r.Width(), tl.Y + r.Height()});
    } else {
      w.Null();
    }
    w.EndObject();
  }
  w.EndArray();
}

// Edits: the text; memos also where their vertical bar stands.
void WriteEditState(JsonWriter& w, TCustomEdit* e) {
  w.Key("text");
  w.String(e->Text());
  auto* memo = dynamic_cast<TMemo*>(e);
  if (!memo) return;
  win::SCROLLINFO si;
  si.fMask = win::SIF_ALL;
  if (!memo->HandleAllocated() || !win::GetScrollInfo(memo->Handle(), win::SB_VERT, &si)) si = {};
  w.Key("scroll");
  w.BeginObject();
  w.Key("pos");
  w.Number(si.nPos);
  w.Key("min");
  w.Number(si.nMin);
  w.Key("max");
  w.Number(si.nMax);
  w.Key("page");
  w.Number(int(si.nPage));
  w.EndObject();
}

std::vector<TApplicationDumper>& ApplicationDumpers() {
  static std::vector<TApplicationDumper> dumpers;
  return dumpers;
}

std::vector<TControlDumper>& Dumpers() {
  static std::vector<TControlDumper> dumpers;
  return dumpers;
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
    WritePicture(w, image->Picture(), &image->PictureFile());
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
  if (auto* speed = dynamic_cast<TSpeedButton*>(c)) {
    w.Key("down");
    w.Bool(speed->Down());
    w.Key("group");
    w.Number(speed->GroupIndex());
  }
  if (auto* combo = dynamic_cast<TComboBox*>(c)) WriteComboBox(w, combo);
  if (auto* tree = dynamic_cast<TTreeView*>(c)) WriteTreeNodes(w, tree);
  if (auto* edit = dynamic_cast<TCustomEdit*>(c)) WriteEditState(w, edit);
  for (const TControlDumper& dumper : Dumpers()) dumper(w, c);
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
  for (const TApplicationDumper& dumper : ApplicationDumpers()) dumper(w);
  w.EndObject();
}

// An open pop-up menu's items: its window is the only one that carries "menu".
void WriteMenu(JsonWriter& w, win::HWND hwnd) {
  auto menu = reinterpret_cast<win::HMENU>(win::SendMessageW(hwnd, win::MN_GETHMENU, 0, 0));
  if (!win::IsMenu(menu)) return;
  w.Key("menu");
  w.BeginArray();
  for (int i = 0, n = win::GetMenuItemCount(menu); i < n; ++i) {
    const win::MenuItem* it = win::GetMenuItem(menu, win::UINT(i), win::MF_BYPOSITION);
    w.BeginObject();
    w.Key("caption");
    w.String((it->flags & win::MF_SEPARATOR) ? std::u16string(u"-") : it->text);
    w.Key("enabled");
    w.Bool(!(it->flags & win::MFS_GRAYED));
    w.Key("checked");
    w.Bool(it->flags & win::MF_CHECKED);
    w.Key("default");
    w.Bool(it->flags & win::MF_DEFAULT);
    w.Key("hot");
    w.Bool(it->flags & win::MF_HILITE);
    w.Key("submenu");
    w.Bool(it->flags & win::MF_POPUP);
    w.EndObject();
  }
  w.EndArray();
}

}  // namespace

void WritePicture(JsonWriter& w, const gfx::Bitmap& picture, const std::string* file) {
  w.Key("picture");
  if (picture.Empty()) {
    w.Null();
    return;
  }
  w.BeginObject();
  w.Key("width");
  w.Number(picture.Width());
  w.Key("height");
  w.Number(picture.Height());
  if (file) {
    w.Key("file");
    w.String(*file);
  }
  w.EndObject();
}

void AddApplicationDumper(TApplicationDumper dumper) {
  ApplicationDumpers().push_back(std::move(dumper));
}

void AddControlDumper(TControlDumper dumper) {
  Dumpers().push_back(std::move(dumper));
}

void InstallFormDump() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  backend::AddDumpExtender([](win::HWND hwnd, JsonWriter& w) {
    if (win::GetClassNameW(hwnd) == win::POPUPMENU_CLASS) WriteMenu(w, hwnd);
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
  });
  backend::AddDumpTopExtender([](JsonWriter& w) {
    if (!Application) return;
    w.Key("application");
    WriteApplication(w);
  });
}

}  // namespace fw
