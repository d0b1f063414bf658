#include "SkinSheet.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "SkinPicture.h"
#include "framework/Application.h"
#include "framework/Form.h"
#include "framework/TextConv.h"
#include "platform/win/Backend.h"
#include "platform/win/VirtualDesktop.h"
#include "platform/win/Window.h"
#include "skin/controls/sControls.h"
#include "skin/data/SkinError.h"
#include "skin/internal/sInternalSkins.h"

namespace skintool {

namespace {

namespace fs = std::filesystem;
namespace sk = skin::controls;

constexpr int kLabelWidth = 96, kHeader = 24, kCellWidth = 150, kCellHeight = 62, kMargin = 10;
const char16_t* const kStateNames[] = {u"normal", u"hot", u"pressed", u"focused", u"disabled"};
enum TState { stNormal, stHot, stPressed, stFocused, stDisabled, kStates };
// Where the mouse rests between two cells: off the window.
constexpr win::POINT kAway{1190, 990};

// A small picture for the controls that show one: a ring of colours.
gfx::Bitmap Picture(int size) {
  gfx::Bitmap b(size, size);
  const int c = size / 2;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const int d2 = (x - c) * (x - c) + (y - c) * (y - c);
      const bool ring = d2 <= c * c && d2 >= c * c / 4;
      b.Set(x, y,
            ring ? gfx::MakePixel(std::uint8_t(40 + 200 * x / size), 140,
                                  std::uint8_t(240 - 200 * y / size), 255)
                 : 0);
    }
  return b;
}

// A control kind: its row's name, its height in the cell, and how one is made on the form.
struct TKind {
  const char16_t* name;
  int height;
  std::function<fw::TControl*(fw::TForm*)> make;
};

template <class T>
T* Make(fw::TForm* form, const std::u16string& text = {}) {
  auto* c = new T(form);
  if (!text.empty()) c->SetText(text);
  return c;
}

std::vector<TKind> Kinds() {
  return {
      {u"Panel", 46, [](fw::TForm* f) { return Make<sk::TsPanel>(f, u"Panel"); }},
      {u"Button", 25, [](fw::TForm* f) { return Make<sk::TsButton>(f, u"Button"); }},
      {u"Split button", 25,
       [](fw::TForm* f) {
         auto* b = Make<sk::TsButton>(f, u"Split button");
         b->SetStyle(fw::TButtonStyle::bsSplitButton);
         return b;
       }},
      {u"Bit button", 25,
       [](fw::TForm* f) {
         auto* b = Make<sk::TsBitBtn>(f, u"Bit button");
         b->SetGlyph(Picture(16));
         return b;
       }},
      {u"Label", 16, [](fw::TForm* f) { return Make<sk::TsLabel>(f, u"Label text"); }},
      {u"Edit", 21, [](fw::TForm* f) { return Make<sk::TsEdit>(f, u"Edit text"); }},
      {u"Combo box", 21,
       [](fw::TForm* f) {
         auto* c = Make<sk::TsComboBox>(f);
         for (const char16_t* item : {u"First item", u"Second item", u"Third item"})
           c->Items().Add(item);
         c->SetItemIndex(0);
         return c;
       }},
      {u"Typing combo", 21,
       [](fw::TForm* f) {
         auto* c = Make<sk::TsComboBox>(f);
         c->SetStyle(fw::TComboBoxStyle::csDropDown);
         c->Items().Add(u"First item");
         c->SetText(u"Typed text");
         return c;
       }},
      {u"Simple combo", 56,
       [](fw::TForm* f) {
         auto* c = Make<sk::TsComboBox>(f);
         c->SetStyle(fw::TComboBoxStyle::csSimple);
         for (const char16_t* item : {u"First item", u"Second item", u"Third item"})
           c->Items().Add(item);
         c->SetItemIndex(1);
         return c;
       }},
      {u"Memo", 48,
       [](fw::TForm* f) {
         auto* m = Make<sk::TsMemo>(f);
         for (const char16_t* line : {u"First line", u"Second line", u"Third line", u"Fourth"})
           m->Lines().Add(line);
         return m;
       }},
      {u"Tree view", 48,
       [](fw::TForm* f) {
         auto* t = Make<sk::TsTreeView>(f);
         fw::TTreeNode* root = t->Items().Add(nullptr, u"District");
         t->Items().AddChild(root, u"School");
         t->Items().AddChild(root, u"Another school");
         root->SetExpanded(true);
         return t;
       }},
      {u"Data grid", 48, [](fw::TForm* f) { return Make<sk::TsDBGrid>(f); }},
      {u"Status bar", 22,
       [](fw::TForm* f) {
         auto* s = Make<sk::TsStatusBar>(f);
         s->AddPanel({u"Cell", 50});
         s->AddPanel({u"Another", 60});
         return s;
       }},
      {u"Image", 46,
       [](fw::TForm* f) {
         auto* i = Make<sk::TsImage>(f);
         i->SetPicture(Picture(40));
         i->SetCenter(true);
         i->SetTransparent(true);
         return i;
       }},
  };
}

// Puts c into the state through the input and calls the program itself uses.
void Enter(fw::TControl& c, TState state, win::POINT centre) {
  switch (state) {
    case stHot:
      win::InjectMouseMove(centre);
      break;
    case stPressed:
      win::InjectMouseMove(centre);
      win::InjectMouseButton(0, true, centre);
      break;
    case stFocused:
      if (auto* w = dynamic_cast<fw::TWinControl*>(&c); w && w->CanFocus()) w->SetFocus();
      break;
    case stDisabled:
      c.SetEnabled(false);
      break;
    default:
      break;
  }
}

// Lets go of what Enter left pressed or open.
void Leave(fw::TControl& c, TState state) {
  if (state == stPressed) win::InjectMouseButton(0, false, kAway);
  win::InjectMouseMove(kAway);
  if (auto* combo = dynamic_cast<fw::TComboBox*>(&c)) combo->SetDroppedDown(false);
}

// The label of a row or column, in the skin's label colours.
void Caption(fw::TForm* form, const char16_t* text, int x, int y, int width) {
  auto* l = Make<sk::TsLabel>(form, text);
  l->SetAutoSize(false);
  l->SetTransparent(true);
  l->SetBounds(x, y, width, 16);
  l->SetParent(form);
}

}  // namespace

gfx::Bitmap PaintSkinSheet(const std::string& skin) {
  std::u16string directory, name = fw::Utf8ToUtf16(skin);
  if (fs::exists(skin)) {
    LoadSkinModel(skin);  // refuses what is no skin before a window sees it
    const fs::path full = fs::absolute(skin).lexically_normal();
    const fs::path named = full.has_filename() ? full : full.parent_path();
    directory = fw::Utf8ToUtf16(named.parent_path().string());
    name = fw::Utf8ToUtf16(named.filename().string());
  } else if (!skin::data::FindInternalSkin(skin)) {
    throw skin::data::ESkinError("no skin " + skin);
  }

  win::VirtualDesktop desktop(1200, 1000);
  sk::RegisterSkinClasses();
  auto app = std::make_unique<fw::TApplication>();
  auto* form = new fw::TForm(app.get());
  form->SetCaption(u"Skin sheet");
  form->SetBounds(20, 20, 400, 300);
  auto* manager = new sk::TsSkinManager(form);
  manager->AfterConstruction();
  skin::data::AddInternalSkins(manager->InternalSkins());
  if (!directory.empty()) manager->SetSkinDirectory(directory);
  manager->SetSkinName(name);
  if (!manager->SkinModel()) throw skin::data::ESkinError("the skin " + skin + " did not load");
  new sk::TsSkinProvider(form);

  const std::vector<TKind> kinds = Kinds();
  const int clientWidth = kLabelWidth + kStates * kCellWidth,
            clientHeight = kHeader + int(kinds.size()) * kCellHeight;
  form->SetClientSize(clientWidth, clientHeight);
  for (int s = 0; s < kStates; ++s)
    Caption(form, kStateNames[s], kLabelWidth + s * kCellWidth + kMargin, 5,
            kCellWidth - 2 * kMargin);
  std::vector<std::vector<fw::TControl*>> cells;
  for (std::size_t k = 0; k < kinds.size(); ++k) {
    const int top = kHeader + int(k) * kCellHeight;
    Caption(form, kinds[k].name, kMargin, top + kCellHeight / 2 - 8, kLabelWidth - kMargin);
    cells.emplace_back();
    for (int s = 0; s < kStates; ++s) {
      fw::TControl* c = kinds[k].make(form);
      c->SetAlign(fw::TAlign::alNone);
      c->SetBounds(kLabelWidth + s * kCellWidth + kMargin,
                   top + (kCellHeight - kinds[k].height) / 2, kCellWidth - 2 * kMargin,
                   kinds[k].height);
      c->SetParent(form);
      c->AfterConstruction();
      cells.back().push_back(c);
    }
  }
  form->Show();
  desktop.Advance(1000);
  // Once the skin's frame is on, the client area is made the sheet's size again.
  form->SetClientSize(clientWidth, clientHeight);
  desktop.Advance(500);

  // The focus, which the window gives its first control, goes to a cell taken again later.
  if (auto* w = dynamic_cast<fw::TWinControl*>(cells.front()[stFocused])) w->SetFocus();
  desktop.Advance(300);
  win::RECT window{};
  win::GetWindowRect(form->Handle(), &window);
  win::POINT client{0, 0};
  win::ClientToScreen(form->Handle(), &client);
  gfx::Bitmap sheet = win::ComposeArea(window);
  for (std::size_t k = 0; k < kinds.size(); ++k)
    for (int s = stHot; s < kStates; ++s) {
      fw::TControl& c = *cells[k][std::size_t(s)];
      const win::RECT cell =
          gfx::RectOfSize(client.X + kLabelWidth + s * kCellWidth,
                          client.Y + kHeader + int(k) * kCellHeight, kCellWidth, kCellHeight);
      Enter(c, TState(s), {(cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2});
      desktop.Advance(600);
      sheet.CopyFrom(win::ComposeArea(cell), {0, 0, kCellWidth, kCellHeight},
                     {cell.Left - window.Left, cell.Top - window.Top});
      Leave(c, TState(s));
      desktop.Advance(600);
    }
  app.reset();
  return sheet;
}

}  // namespace skintool
