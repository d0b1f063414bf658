#include "MdiMainForm.h"

#include "ChildForms.h"
#include "DemoPictures.h"
#include "framework/Application.h"
#include "framework/TextConv.h"
#include "skin/controls/sControls.h"
#include "skin/internal/sInternalSkins.h"

namespace mdidemo {

namespace sc = skin::controls;

TMdiMainForm::TMdiMainForm(fw::TComponent* owner) : TForm(owner) {
  SetName("MdiForm");
  SetCaption(u"Музеи города — окна");
  SetFormStyle(fw::TFormStyle::fsMDIForm);
  SetBounds(8, 8, 1000, 740);
  FManager = new skin::core::TsSkinManager(this);
  FManager->SetName("sSkinManager1");
  FManager->AfterConstruction();
  skin::data::AddInternalSkins(FManager->InternalSkins());
  FManager->SetSkinName(u"BlueGauze (внутренний)");
  auto* provider = new sc::TsSkinProvider(this);
  provider->SetName("sSkinProvider1");
  MakeMenu();
  MakeToolPanel();
}

fw::TMenuItem* TMdiMainForm::Item(fw::TComponent* parent, const char* name,
                                  const std::u16string& caption, fw::TNotifyEvent onClick) {
  auto* item = new fw::TMenuItem(FMenu);
  item->SetName(name);
  item->SetCaption(caption);
  item->OnClick = std::move(onClick);
  if (auto* menu = dynamic_cast<fw::TMainMenu*>(parent))
    menu->Items()->Add(item);
  else
    static_cast<fw::TMenuItem*>(parent)->Add(item);
  return item;
}

void TMdiMainForm::MakeMenu() {
  FMenu = new fw::TMainMenu(this);
  FMenu->SetName("MainMenu1");
  fw::TMenuItem* file = Item(FMenu, "FileMenu", u"&Файл");
  Item(file, "NewTextItem", u"Новый &текст",
       [this](fw::TComponent*) { NewChild(TChildKind::Text); });
  Item(file, "NewPictureItem", u"Новый &рисунок",
       [this](fw::TComponent*) { NewChild(TChildKind::Picture); });
  Item(file, "NewCardItem", u"Новая &анкета",
       [this](fw::TComponent*) { NewChild(TChildKind::Card); });
  Item(file, "FileLine1", u"-");
  Item(file, "CloseItem", u"&Закрыть окно", [this](fw::TComponent*) {
    if (fw::TCustomForm* child = ActiveMDIChild()) child->Close();
  });
  Item(file, "FileLine2", u"-");
  Item(file, "ExitItem", u"&Выход", [this](fw::TComponent*) { Close(); });

  fw::TMenuItem* window = Item(FMenu, "WindowMenu", u"&Окно");
  Item(window, "TileItem", u"&Мозаикой", [this](fw::TComponent*) { Tile(); });
  Item(window, "CascadeItem", u"&Каскадом", [this](fw::TComponent*) { Cascade(); });
  Item(window, "ArrangeItem", u"&Упорядочить значки", [this](fw::TComponent*) { ArrangeIcons(); });
  Item(window, "NextItem", u"&Следующее", [this](fw::TComponent*) { Next(); });
  Item(window, "PreviousItem", u"&Предыдущее", [this](fw::TComponent*) { Previous(); });
  Item(window, "WindowLine1", u"-");
  Item(window, "MaximizeItem", u"&Развернуть", [this](fw::TComponent*) {
    if (fw::TCustomForm* child = ActiveMDIChild())
      child->SetWindowState(fw::TWindowState::wsMaximized);
  });
  Item(window, "RestoreItem", u"&Восстановить", [this](fw::TComponent*) {
    if (fw::TCustomForm* child = ActiveMDIChild())
      child->SetWindowState(fw::TWindowState::wsNormal);
  });

  fw::TMenuItem* skins = Item(FMenu, "SkinsMenu", u"С&кины");
  int n = 0;
  for (const auto& skin : skin::data::InternalSkins()) {
    const std::u16string name = fw::Utf8ToUtf16(skin.Name);
    fw::TMenuItem* item = Item(skins, ("SkinItem" + std::to_string(++n)).c_str(), name);
    item->SetRadioItem(true);
    item->SetGroupIndex(1);
    item->SetChecked(name == FManager->SkinName());
    item->OnClick = [this, item, name](fw::TComponent*) { ChooseSkin(item, name); };
  }
  SetMenu(FMenu);
  SetWindowMenu(window);
}

fw::TSpeedButton* TMdiMainForm::Button(const char* name, const std::u16string& caption, int glyph,
                                       int left, int width) {
  auto* panel = static_cast<fw::TWinControl*>(FindComponent("ToolPanel"));
  auto* b = new fw::TSpeedButton(this);
  b->SetName(name);
  b->SetCaption(caption);
  b->SetGlyph(MakeGlyph(TGlyph(glyph)));
  b->SetBounds(left, 4, width, 28);
  b->SetParent(panel);
  return b;
}

void TMdiMainForm::MakeToolPanel() {
  auto* panel = new sc::TsPanel(this);
  panel->SetName("ToolPanel");
  panel->SetCaption(u"");
  panel->SetAlign(fw::TAlign::alTop);
  panel->SetHeight(36);
  panel->SetParent(this);

  fw::TSpeedButton* create = Button("NewBtn", u"Создать", int(TGlyph::New), 6, 88);
  create->OnClick = [this](fw::TComponent*) {
    for (int k = 0; k < 3; ++k)
      if (FKindButtons[k]->Down()) NewChild(TChildKind(k));
  };
  const char* names[] = {"KindTextBtn", "KindPictureBtn", "KindCardBtn"};
  const char16_t* captions[] = {u"Текст", u"Рисунок", u"Анкета"};
  const TGlyph glyphs[] = {TGlyph::Text, TGlyph::Picture, TGlyph::Card};
  for (int k = 0; k < 3; ++k) {
    FKindButtons[k] = Button(names[k], captions[k], int(glyphs[k]), 106 + k * 86, 84);
    FKindButtons[k]->SetGroupIndex(1);
  }
  FKindButtons[0]->SetDown(true);

  FColumns = Button("ColumnsBtn", u"Столбцами", int(TGlyph::Columns), 372, 104);
  FColumns->SetGroupIndex(2);
  FColumns->SetAllowAllUp(true);
  FColumns->OnClick = [this](fw::TComponent*) {
    SetTileMode(FColumns->Down() ? fw::TTileMode::tbVertical : fw::TTileMode::tbHorizontal);
  };

  fw::TSpeedButton* tile = Button("TileBtn", u"Мозаика", int(TGlyph::Tile), 494, 92);
  tile->SetFlat(true);
  tile->OnClick = [this](fw::TComponent*) { Tile(); };
  fw::TSpeedButton* cascade = Button("CascadeBtn", u"Каскад", int(TGlyph::Cascade), 588, 88);
  cascade->SetFlat(true);
  cascade->OnClick = [this](fw::TComponent*) { Cascade(); };
  fw::TSpeedButton* next = Button("NextBtn", u"Следующее", int(TGlyph::Next), 678, 108);
  next->SetFlat(true);
  next->OnClick = [this](fw::TComponent*) { Next(); };
}

fw::TCustomForm* TMdiMainForm::NewChild(TChildKind kind) {
  ++FNumber;
  TChildForm* child = nullptr;
  switch (kind) {
    case TChildKind::Text:
      child = new TTextChild(fw::Application, FNumber);
      break;
    case TChildKind::Picture:
      child = new TPictureChild(fw::Application, FNumber);
      break;
    case TChildKind::Card:
      child = new TCardChild(fw::Application, FNumber);
      break;
  }
  // Each a step further down the client, back to the corner after eight.
  const int step = (FNumber - 1) % 8 * 26;
  child->SetBounds(step, step, child->Width(), child->Height());
  child->AfterConstruction();
  child->Show();
  return child;
}

void TMdiMainForm::ChooseSkin(fw::TMenuItem* item, const std::u16string& name) {
  FManager->SetSkinName(name);
  item->SetChecked(true);
}

}  // namespace mdidemo
