// The main window driven as a visitor drives it, on the headless desktop: the tree and its
// filters through the real combo box, edit and keyboard, the expand/collapse button, the hints
// in the status line, the card and the photo viewer through clicks, and the error boxes.
#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "Catalogue.h"
#include "Forms.h"
#include "app/MuseumCard.h"
#include "app/TreeBuild.h"
#include "app/TreeModel.h"
#include "app/TreeOps.h"
#include "framework/TextConv.h"
#include "platform/gfx/PictureCodec.h"
#include "platform/win/Input.h"
#include "platform/win/KeyboardLayout.h"
#include "platform/win/Paint.h"
#include "platform/win/VirtualDesktop.h"
#include "platform/win/Window.h"
#include "skin/controls/sControls.h"
#include "skin/core/sVclUtils.h"
#include "skin/internal/sInternalSkins.h"

namespace app::test {
namespace {

// Set-1 scan codes.
constexpr unsigned kEnterKey = 0x1C, kAlt = 0x38, kDown = 0xE050, kBack = 0x0E;

// A node and its children as text: "district{org,org{child}}".
std::u16string Outline(const fw::TTreeNode* n) {
  std::u16string s = n->Text();
  if (n->Count() == 0) return s;
  s += u"{";
  for (int i = 0; i < n->Count(); ++i) s += (i ? u"," : u"") + Outline(n->Item(i));
  return s + u"}";
}

std::vector<fw::TTreeNode*> TopLevel(fw::TTreeView* tree) {
  std::vector<fw::TTreeNode*> out;
  for (int i = 0; i < tree->Items().Count(); ++i)
    if (tree->Items().Item(i)->Level() == 0) out.push_back(tree->Items().Item(i));
  return out;
}

class MainWindowTest : public FormsTest {
 protected:
  void SetUp() override {
    FormsTest::SetUp();
    win::LoadKeyboardLayoutW(u"00000409", win::KLF_ACTIVATE);
  }
  void TearDown() override {
    win::LoadKeyboardLayoutW(u"00000409", win::KLF_ACTIVATE);
    FormsTest::TearDown();
  }
  void Open(const std::string& folder) {
    Start(folder);
    Form1->Show();
    desktop.Pump();
    Form1->SetRU();
  }
  fw::TTreeView* Tree() { return Form1->sTreeView2; }
  fw::TControl* Control(const char* name) {
    auto* c = dynamic_cast<fw::TControl*>(Form1->FindComponent(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
  }
  void Key(unsigned scan) {
    win::InjectKey(scan, true);
    win::InjectKey(scan, false);
    desktop.Pump();
  }
  void Click(fw::TControl* c, int x, int y) {
    const fw::TPoint p = c->ClientToScreen({x, y});
    win::InjectMouseMove(p);
    win::InjectMouseButton(0, true, p);
    win::InjectMouseButton(0, false, p);
    desktop.Pump();
  }
  void MoveOver(fw::TControl* c) {
    const fw::TPoint p = c->ClientToScreen({c->Width() / 2, c->Height() / 2});
    win::InjectMouseMove(p);
    desktop.Pump();
  }
  // Chooses a museum type with the keyboard: Alt+Down opens the list, Down moves, Enter chooses.
  void ChooseType(int steps) {
    Form1->sComboBox1->SetFocus();
    desktop.Pump();
    win::InjectKey(kAlt, true);
    Key(kDown);
    win::InjectKey(kAlt, false);
    desktop.Pump();
    for (int i = 0; i < steps; ++i) Key(kDown);
    Key(kEnterKey);
  }
  // Types Latin key presses into the name box; under the Russian layout they come out Cyrillic.
  void TypeKeys(const std::vector<unsigned>& scans) {
    Form1->sEdit1->SetFocus();
    desktop.Pump();
    for (unsigned s : scans) Key(s);
  }
  void TypeText(const std::u16string& text) {
    Form1->sEdit1->SetFocus();
    desktop.Pump();
    win::InjectText(text);
    desktop.Pump();
  }
  void ClearName() {
    Form1->sEdit1->SetFocus();
    desktop.Pump();
    while (!Form1->sEdit1->Text().empty()) Key(kBack);
  }
  // Runs an action that shows one error box, answers the box (saving the screen with the box
  // under shot, when given) and returns its text.
  std::u16string ErrorOf(const std::function<void()>& action, const std::string& shot = "") {
    const std::size_t before = app->Messages().size();
    desktop.Schedule(10, [this, shot] {
      if (!shot.empty()) SaveScreen(shot);
      win::InjectKey(kEnterKey, true);
      win::InjectKey(kEnterKey, false);
    });
    action();
    desktop.Pump();
    if (app->Messages().size() != before + 1)
      return fw::Utf8ToUtf16(std::to_string(app->Messages().size() - before) + " boxes");
    return app->Messages().back().Text;
  }
  fw::TTreeNode* NodeWithData(std::intptr_t data) {
    for (int i = 0; i < Tree()->Items().Count(); ++i)
      if (Tree()->Items().Item(i)->Data() == data) return Tree()->Items().Item(i);
    return nullptr;
  }
  // Selects an organisation as a visitor does: expands the tree and clicks on the node's text.
  void ClickNode(std::intptr_t data) {
    Tree()->FullExpand();
    fw::TTreeNode* n = NodeWithData(data);
    ASSERT_NE(n, nullptr) << data;
    Tree()->MakeVisible(n);
    desktop.Pump();
    const fw::TRect r = n->DisplayRect(true);
    Click(Tree(), (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  std::string Shown() {
    return std::filesystem::path(Form1->sImage3->PictureFile()).filename().string();
  }
  std::u16string Status() { return Form1->sStatusBar1->Panel(0).Text; }
  // The organisations with a district that pass a condition, counted by SQLite itself.
  int CountInSql(const std::u16string& condition) {
    auto q = MakeQuery(
        *Form1->ADOConnection1, "count",
        u"select count(*) from uz inner join mun on uz.id_mun = mun.id where " + condition);
    q->Open();
    return int(q->Fields(0).Value().ToInteger());
  }
};

// SQLite's like folds Latin letters only: the typed name in both of the cases the sample writes.
constexpr char16_t kNameInSql[] = u"(uz.nam like '%сош%' or uz.nam like '%СОШ%')";

TEST_F(MainWindowTest, TheDescriptionHoldsEveryControlOfTheWindow) {
  Open(FixtureFolder());
  EXPECT_TRUE(app->Messages().empty());
  auto* tree = dynamic_cast<skin::controls::TsTreeView*>(Form1->FindComponent("sTreeView2"));
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(tree->Parent(), Form1->FindComponent("sPanel1"));
  EXPECT_EQ(tree->Left(), 1);
  EXPECT_EQ(tree->Top(), 1);
  EXPECT_EQ(tree->Width(), 393);
  EXPECT_EQ(tree->Height(), 439);
  EXPECT_EQ(tree->Indent(), 19);
  EXPECT_EQ(tree->Font().Height(), -19);
  auto* combo = dynamic_cast<skin::controls::TsComboBox*>(Form1->FindComponent("sComboBox1"));
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->Items().Count(), 16);
  EXPECT_EQ(combo->Text(), u"Все");
  EXPECT_EQ(combo->Items()[15], u"Этнографический музей");
  // The description's text colour, RGB(66,69,82), gives way to the skin's for edit controls.
  const skin::data::TacSkinModel* model = combo->SkinData().SkinManager()->SkinModel();
  ASSERT_NE(model, nullptr);
  ASSERT_GE(combo->SkinData().SkinIndex, 0);
  EXPECT_EQ(combo->Font().Color(),
            model->gd[std::size_t(combo->SkinData().SkinIndex)].Props[0].FontColor.Color);
  EXPECT_NE(combo->Font().Color(), fw::TColor(0x524542));
  auto* edit = dynamic_cast<skin::controls::TsEdit*>(Form1->FindComponent("sEdit1"));
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->Top(), 106);
  EXPECT_EQ(edit->Width(), 273);
  auto* memo = dynamic_cast<skin::controls::TsMemo*>(Form1->FindComponent("sMemo1"));
  ASSERT_NE(memo, nullptr);
  EXPECT_TRUE(memo->ReadOnly());
  // The pictures: header, background, and the 14 type pictures with their entry names.
  auto* list = dynamic_cast<fw::TImageList*>(Form1->FindComponent("sAlphaImageList1"));
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->Count(), 14);
  EXPECT_EQ(list->ItemName(0), u"этнограф");
  EXPECT_EQ(list->ItemName(13), u"бой слав");
  EXPECT_EQ(Form1->sImage6->Images(), list);
  // Each entry is a PNG item carrying its picture file's bytes; the pictures shown are those
  // files decoded.
  ASSERT_EQ(Form1->sAlphaImageList1, list);
  ASSERT_EQ(Form1->sAlphaImageList1->ItemCount(), 14);
  for (int i : {0, 6, 13}) {
    const std::string file =
        std::string(MC_APP_RES) + "/type-" + (i < 10 ? "0" : "") + std::to_string(i) + ".png";
    const auto bytes = gfx::ReadFileBytes(file);
    const auto& item = Form1->sAlphaImageList1->Item(i);
    EXPECT_EQ(item.ImageFormat(), skin::paint::ifPNG);
    EXPECT_EQ(item.ImgData, bytes) << file;
    EXPECT_EQ(list->Bitmap(i), gfx::DecodePng(bytes)) << file;
  }
  // The build selected organisation 5 (named like a district): its type's picture.
  EXPECT_EQ(Form1->sImage6->ImageIndex(), 6);
  auto* header = dynamic_cast<fw::TImage*>(Control("sImage1"));
  auto* background = dynamic_cast<fw::TImage*>(Control("sImage2"));
  EXPECT_EQ(header->Picture().Width(), 1280);
  EXPECT_EQ(background->Picture().Height(), 595);
  SaveScreen("main-start");
  // The Tab key walks tree, type list, name box, button; with the card shown, then the memo
  // and ">>".
  const std::vector<fw::TWinControl*> hidden = {tree, combo, edit, Form1->sBitBtn1, tree};
  tree->SetFocus();
  desktop.Pump();
  for (std::size_t i = 1; i < hidden.size(); ++i) {
    Key(0x0F);
    EXPECT_EQ(Form1->ActiveControl(), hidden[i]) << i;
  }
  ClickNode(1);
  const std::vector<fw::TWinControl*> shown = {
      tree, combo, edit, Form1->sBitBtn1, memo, dynamic_cast<fw::TWinControl*>(Control("sBitBtn2")),
      tree};
  for (std::size_t i = 1; i < shown.size(); ++i) {
    Key(0x0F);
    EXPECT_EQ(Form1->ActiveControl(), shown[i]) << i;
  }
}

// The catalogue's labels in BlueGauze and in the other internal skins: the filter caption
// takes its panel's font colour, the card's title keeps its own maroon; every label keeps
// its face and size through a skin change.
TEST_F(MainWindowTest, LabelsTakeTheirPanelsColourOrKeepTheirOwnInEverySkin) {
  Open(FixtureFolder());
  auto* caption = dynamic_cast<skin::controls::TsLabel*>(Form1->FindComponent("sLabel2"));
  auto* title = dynamic_cast<skin::controls::TsLabel*>(Form1->FindComponent("sLabel8"));
  auto* panel = dynamic_cast<skin::controls::TsPanel*>(Form1->FindComponent("sPanel3"));
  ASSERT_TRUE(caption && title && panel);
  EXPECT_EQ(caption->TextColor(), 0x462814);
  EXPECT_EQ(title->TextColor(), fw::clMaroon);
  const fw::TFont font = caption->Font();
  const gfx::TRect bounds = caption->BoundsRect();
  skin::core::TsSkinManager* manager = panel->SkinData().SkinManager();
  ASSERT_NE(manager, nullptr);
  // A scale call at the scale in force (as a form's showing once made) changes nothing either.
  skin::core::UpdateScale(*Form1, 100);
  int others = 0;
  for (const auto& s : skin::data::InternalSkins()) {
    manager->SetSkinName(fw::Utf8ToUtf16(s.Name));
    const skin::data::TacSkinModel* model = manager->SkinModel();
    ASSERT_NE(model, nullptr);
    ASSERT_GE(panel->SkinData().SkinIndex, 0) << s.Name;
    const fw::TColor expected =
        model->gd[std::size_t(panel->SkinData().SkinIndex)].Props[0].FontColor.Color;
    EXPECT_EQ(caption->TextColor(), expected) << s.Name;
    EXPECT_EQ(title->TextColor(), fw::clMaroon) << s.Name;
    EXPECT_TRUE(caption->Font() == font) << s.Name;
    EXPECT_EQ(caption->BoundsRect(), bounds) << s.Name;
    if (expected != 0x462814) ++others;
  }
  EXPECT_GT(others, 0);
}

TEST_F(MainWindowTest, EveryControlStandsInItsPlaceCentredOnTheScreen) {
  Open(FixtureFolder());
  ClickNode(1);  // the card with its ">>"
  EXPECT_EQ(Form1->Left(), (1440 - 1280) / 2);
  EXPECT_EQ(Form1->Top(), (900 - 750) / 2);
  EXPECT_EQ(Form1->ClientWidth(), 1274);
  EXPECT_EQ(Form1->ClientHeight(), 721);
  struct Place {
    const char* name;
    int left, top, width, height;
  };
  // Left, top, width, height within the parent; the aligned ones as their alignment leaves them.
  constexpr Place kPlaces[] = {
      {"sImage1", 0, 0, 1274, 100},      {"sPanel1", 0, 100, 395, 595},
      {"sTreeView2", 1, 1, 393, 439},    {"sPanel3", 1, 440, 393, 154},
      {"sLabel2", 9, 6, 89, 23},         {"sComboBox1", 9, 35, 273, 27},
      {"sLabel3", 8, 72, 248, 23},       {"sEdit1", 9, 106, 273, 31},
      {"sBitBtn1", 288, 6, 100, 131},    {"sImage2", 395, 100, 879, 595},
      {"sPanel2", 395, 100, 879, 595},   {"sLabel8", 5, 18, 865, 50},
      {"sLabel9", 15, 75, 850, 58},      {"sImage6", 15, 112, 850, 97},
      {"sLabel14", 15, 217, 850, 23},    {"sLabel6", 15, 264, 192, 23},
      {"sLabel5", 501, 264, 137, 23},    {"sLabel11", 648, 264, 217, 23},
      {"sLabel7", 16, 319, 203, 23},     {"sMemo1", 16, 348, 433, 229},
      {"sImage3", 472, 336, 385, 208},   {"sBitBtn2", 472, 550, 393, 27},
      {"sStatusBar1", 0, 695, 1274, 26},
  };
  for (const Place& p : kPlaces) {
    const fw::TControl* c = Control(p.name);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->BoundsRect(), gfx::RectOfSize(p.left, p.top, p.width, p.height)) << p.name;
    EXPECT_TRUE(c->Visible()) << p.name;
  }
  // The telephone sizes itself to its text, from its place.
  EXPECT_EQ(Control("sLabel12")->Left(), 238);
  EXPECT_EQ(Control("sLabel12")->Top(), 264);
  EXPECT_GT(Control("sLabel12")->Width(), 100);
}

TEST_F(MainWindowTest, TheWindowPaintedIntoABitmapEqualsTheScreen) {
  Open(SampleFolder());
  win::RECT r;
  win::GetWindowRect(Form1->Handle(), &r);
  const gfx::Bitmap screen = win::ComposeWindow(Form1->Handle());
  gfx::Bitmap painted(r.Width(), r.Height());
  gfx::DeviceContext dc(painted);
  skin::core::SkinPaintTo(&dc, Form1);
  // The frame's cut-off corners are not the window's.
  gfx::Region shape;
  ASSERT_NE(win::GetWindowRgn(Form1->Handle(), &shape), gfx::RGN_ERROR);
  int wrong = 0;
  for (int y = 0; y < painted.Height(); ++y)
    for (int x = 0; x < painted.Width(); ++x)
      if (shape.Contains({x, y}) && (painted.At(x, y) & 0xFFFFFF) != (screen.At(x, y) & 0xFFFFFF) &&
          wrong++ < 5)
        ADD_FAILURE() << x << "," << y;
  EXPECT_EQ(wrong, 0);
}

TEST_F(MainWindowTest, StartingWithoutTheDatabaseLeavesAnEmptyTreeAndTheDate) {
  TempFolder empty;
  const std::u16string day = Today();
  const std::u16string error = ErrorOf([&] { Open(empty.Path()); }, "main-error-box");
  EXPECT_EQ(error, u"Could not find file '" + db::ToUtf16(empty.Path()) + u"res.dat'.");
  EXPECT_EQ(Tree()->Items().Count(), 0);
  EXPECT_TRUE(ShowsToday(Form1->sStatusBar1->Panel(1).Text, day));
  // Still running: a filter change reports the closed query in a box and goes on.
  const std::u16string filterError = ErrorOf([&] { ChooseType(2); });
  EXPECT_NE(filterError.find(u"closed dataset"), std::u16string::npos)
      << fw::Utf16ToUtf8(filterError);
  EXPECT_EQ(Tree()->Items().Count(), 0);
  EXPECT_EQ(app->Messages().size(), 2u);
  SaveScreen("main-without-database");
}

TEST_F(MainWindowTest, DatesAreRussianWithoutALocale) {
  std::setlocale(LC_TIME, "C.UTF-8");
  ChooseDateFormat();
  EXPECT_EQ(db::DateToStr(db::EncodeDateTime(1999, 12, 31)), u"31.12.1999");
  std::setlocale(LC_TIME, "C");
  ChooseDateFormat();
  EXPECT_EQ(db::DateToStr(db::EncodeDateTime(2026, 3, 7)), u"07.03.2026");
  // The card's opening date, as the status line's.
  const std::u16string day = Today();
  Open(FixtureFolder());
  ClickNode(1);
  EXPECT_EQ(Control("sLabel11")->Caption(), u"01.09.1981");
  EXPECT_TRUE(ShowsToday(Form1->sStatusBar1->Panel(1).Text, day));
}

TEST_F(MainWindowTest, TheTreeHoldsEveryDistrictAndItsOrganisationsInOrder) {
  Open(SampleFolder());
  // The real control receives what the reference build gives.
  TTreeModel model;
  ReplayTreeOps(model, ReferenceTreeOps(ReadTreeRows(*Form1->ADOQuery1, *Form1->ADOQuery2)));
  ASSERT_EQ(Tree()->Items().Count(), model.Items().Count());
  for (int i = 0; i < model.Items().Count(); ++i) {
    EXPECT_EQ(Tree()->Items().Item(i)->Text(), model.Items().Item(i)->Text()) << i;
    EXPECT_EQ(Tree()->Items().Item(i)->Data(), model.Items().Item(i)->Data()) << i;
  }
  // Districts are top-level and sorted by name, every one present (the last has no schools);
  // organisations under them sorted by name.
  const std::vector<fw::TTreeNode*> districts = TopLevel(Tree());
  Form1->ADOQuery1->First();
  ASSERT_EQ(int(districts.size()), Form1->ADOQuery1->RecordCount());
  for (fw::TTreeNode* n : districts) {
    EXPECT_EQ(n->Data(), -1);
    EXPECT_EQ(n->Text(), Form1->ADOQuery1->FieldByName("nam").Value().ToString());
    Form1->ADOQuery1->Next();
  }
  // One district has no schools and is still shown.
  EXPECT_EQ(std::count_if(districts.begin(), districts.end(),
                          [](fw::TTreeNode* n) { return n->Count() == 0; }),
            1);
  // No organisation card ran during the build: the type picture is the one before any card.
  EXPECT_EQ(Form1->sImage6->ImageIndex(), 13);
  EXPECT_EQ(Tree()->Items().Count(),
            Form1->ADOQuery1->RecordCount() + Form1->ADOQuery2->RecordCount());
  // After the build the card is hidden and the last organisation's district is selected.
  EXPECT_FALSE(Form1->sPanel2->Visible());
  ASSERT_NE(Tree()->Selected(), nullptr);
  EXPECT_EQ(Tree()->Selected()->Data(), -1);
}

TEST_F(MainWindowTest, TheFixturesTreeKeepsTheBuildsConsequences) {
  Open(FixtureFolder());
  std::vector<std::u16string> top;
  for (fw::TTreeNode* n : TopLevel(Tree())) top.push_back(Outline(n));
  // An organisation named like a district collects that district's later organisations; two
  // districts of one name both receive theirs, the last one staying empty; a district without
  // organisations is a node without children; the nameless district and the organisation of
  // a missing district show nowhere with a name.
  std::u16string all;
  for (const auto& t : top) all += t + u"\n";
  EXPECT_NE(all.find(u"Пустой район\n"), std::u16string::npos) << fw::Utf16ToUtf8(all);
  EXPECT_EQ(all.find(u"Школа вне округов"), std::u16string::npos);
  EXPECT_EQ(all.find(u"Школа без района"), std::u16string::npos);
  EXPECT_NE(all.find(u"Заречный район{Озёрный район{"), std::u16string::npos)
      << fw::Utf16ToUtf8(all);
  SaveScreen("main-fixtures-tree");
}

TEST_F(MainWindowTest, FiltersByTypeByNameAndBothThroughTheControls) {
  Open(SampleFolder());
  const int all = Tree()->Items().Count();
  const int districts = Form1->ADOQuery1->RecordCount();
  auto organisations = [&] { return Tree()->Items().Count() - districts; };
  // Type only: the second item of the list, "Галерея".
  ChooseType(2);
  EXPECT_EQ(Form1->sComboBox1->Text(), u"Галерея");
  EXPECT_EQ(Form1->ADOQuery2->Filter(), u"([vid] like '%Галерея%')");
  EXPECT_TRUE(Form1->ADOQuery2->Filtered());
  const int galleries = organisations();
  EXPECT_EQ(galleries, CountInSql(u"vid like '%Галерея%'"));
  EXPECT_GT(galleries, 0);
  EXPECT_LT(galleries, all - districts);
  EXPECT_EQ(Tree()->Items().Count() - galleries, districts);  // every district stays
  Tree()->FullExpand();
  desktop.Pump();
  SaveScreen("main-filter-type");

  // Both: "Галерея" and the name typed with the Latin keys C, J, I (Russian layout: "с", "о",
  // "ш").
  TypeKeys({0x2E, 0x24, 0x17});
  EXPECT_EQ(Form1->sEdit1->Text(), u"сош");
  EXPECT_EQ(Form1->ADOQuery2->Filter(), u"([vid] like '%Галерея%') and ([uz.nam] like '%сош%')");
  const int both = organisations();
  EXPECT_EQ(both, CountInSql(u"vid like '%Галерея%' and " + std::u16string(kNameInSql)));
  EXPECT_LT(both, galleries);
  EXPECT_GT(both, 0);
  Tree()->FullExpand();
  desktop.Pump();
  SaveScreen("main-filter-both");

  // Name only: back to "Все" (Alt+Down, Up twice... from Галерея: press Home via two Ups).
  Form1->sComboBox1->SetFocus();
  desktop.Pump();
  win::InjectKey(kAlt, true);
  Key(kDown);
  win::InjectKey(kAlt, false);
  Key(0xE048);
  Key(0xE048);
  Key(kEnterKey);
  EXPECT_EQ(Form1->sComboBox1->Text(), u"Все");
  EXPECT_EQ(Form1->ADOQuery2->Filter(), u"([uz.nam] like '%сош%')");
  const int byName = organisations();
  EXPECT_GT(byName, both);
  EXPECT_EQ(byName, CountInSql(kNameInSql));

  // No match: every district without children, nothing selected, the card as it was.
  ClickNode(Tree()->Items().Item(1)->Data());
  EXPECT_TRUE(Form1->sPanel2->Visible());
  TypeText(u"щщщ");
  EXPECT_EQ(Tree()->Items().Count(), districts);
  EXPECT_EQ(Tree()->Selected(), nullptr);
  EXPECT_TRUE(Form1->sPanel2->Visible());
  // A click in the tree with nothing selected changes nothing.
  Click(Tree(), 200, 400);
  EXPECT_EQ(Tree()->Selected(), nullptr);
  EXPECT_TRUE(Form1->sPanel2->Visible());

  // Emptying the name turns the filter off: everything again.
  ClearName();
  EXPECT_FALSE(Form1->ADOQuery2->Filtered());
  EXPECT_EQ(Tree()->Items().Count(), all);
  EXPECT_TRUE(app->Messages().empty());
}

TEST_F(MainWindowTest, AQuoteAndAPercentInTheNameAreHandled) {
  Open(FixtureFolder());
  // A quote is matched as typed (the filter quotes it) instead of failing.
  TypeText(u"O'Х");
  EXPECT_TRUE(app->Messages().empty());
  ASSERT_EQ(Tree()->Items().Count(), 5 + 1);
  EXPECT_NE(NodeWithData(7), nullptr);
  // A percent is the data layer's wildcard: "100%" matches "Лицей 100% успеха" and "%" alone
  // matches every organisation.
  ClearName();
  TypeText(u"100%");
  EXPECT_NE(NodeWithData(8), nullptr);
  ClearName();
  const int all = Tree()->Items().Count();
  TypeText(u"%");
  EXPECT_EQ(Tree()->Items().Count(), all);
  EXPECT_TRUE(app->Messages().empty());
}

TEST_F(MainWindowTest, TheButtonExpandsAndCollapsesAndTheStatusLineShowsHints) {
  Open(SampleFolder());
  const std::u16string help =
      u"Выберите интересующий Вас район и образовательную организацию. Справа Вы увидите "
      u"карточку музея.";
  MoveOver(Tree());
  EXPECT_EQ(Status(), help);
  MoveOver(Control("sImage1"));
  EXPECT_EQ(Status(), u"");
  MoveOver(Control("sLabel2"));
  EXPECT_EQ(Status(), u"");
  auto expanded = [&] {
    int n = 0;
    for (fw::TTreeNode* d : TopLevel(Tree())) n += d->Expanded();
    return n;
  };
  EXPECT_EQ(expanded(), 0);
  Click(Form1->sBitBtn1, 50, 60);
  EXPECT_EQ(Tree()->Hint(), u"Р");
  EXPECT_GT(expanded(), 5);
  SaveScreen("main-expanded");
  MoveOver(Tree());
  EXPECT_EQ(Status(), u"Р");
  Click(Form1->sBitBtn1, 50, 60);
  EXPECT_EQ(Tree()->Hint(), u"С");
  EXPECT_EQ(expanded(), 0);
  // A rebuild after expanding leaves the tree collapsed but the marker as it was: the next
  // press collapses, the one after expands.
  Click(Form1->sBitBtn1, 50, 60);
  ChooseType(0);
  EXPECT_EQ(expanded(), 0);
  Click(Form1->sBitBtn1, 50, 60);
  EXPECT_EQ(Tree()->Hint(), u"С");
  EXPECT_EQ(expanded(), 0);
  Click(Form1->sBitBtn1, 50, 60);
  EXPECT_GT(expanded(), 5);
  // Over the photo its own hint.
  ClickNode(Tree()->Items().Item(1)->Data());
  MoveOver(Form1->sImage3);
  EXPECT_EQ(Status(), u"Нажмите на фото для увеличения/уменьшения");
}

// The type picture of each type the card knows, in the card's table.
struct TypePicture {
  const char16_t* type;
  int index;
};
constexpr TypePicture kTypePictures[] = {
    {u"Музей творчества", 3},
    {u"Музейный уголок", 10},
    {u"Исторический музей", 9},
    {u"Галерея", 11},
    {u"Музей боевой славы", 13},
    {u"Школьный музей", 1},
    {u"Музей природы", 4},
    {u"Музей театра и куклы", 2},
    {u"Краеведческий музей", 6},
    {u"Краеведческий уголок", 6},
    {u"Этнографический музей", 0},
    {u"Мини-музей старых вещей", 0},
    {u"Военно-исторический музей", 12},
    {u"Музей музыкальных инструментов", 5},
    {u"Историко-краеведческий музей", 8},
    {u"Историко-краеведческий уголок", 8},
    {u"Музей истории школы", 7},
    {u"Естественно-научный музей", 7},
};

TEST_F(MainWindowTest, TheCardShowsEveryFieldAndTheTypePicture) {
  Open(SampleFolder());
  auto q =
      MakeQuery(*Form1->ADOConnection1, "all", u"select id, nam1, addr, phone, vid, razd from uz");
  q->Open();
  int seen = 0, unknown = 0;
  for (; !q->Eof(); q->Next()) {
    const std::intptr_t id = q->Fields(0).Value().ToInteger();
    const int before = Form1->sImage6->ImageIndex();
    ClickNode(id);
    ASSERT_TRUE(Form1->sPanel2->Visible()) << id;
    EXPECT_EQ(Control("sLabel8")->Caption(), q->Fields(1).Value().ToString());
    EXPECT_EQ(Control("sLabel9")->Caption(), q->Fields(2).Value().ToString());
    EXPECT_EQ(Control("sLabel12")->Caption(), q->Fields(3).Value().ToString());
    const std::u16string vid = q->Fields(4).Value().ToString();
    EXPECT_EQ(Control("sLabel14")->Caption(), vid);
    EXPECT_EQ(Form1->sMemo1->Text(), q->Fields(5).Value().ToString());
    int expected = before;
    for (const TypePicture& t : kTypePictures)
      if (vid == t.type) expected = t.index;
    if (expected == before) ++unknown;
    EXPECT_EQ(Form1->sImage6->ImageIndex(), expected) << fw::Utf16ToUtf8(vid);
    ++seen;
  }
  EXPECT_GT(seen, 50);
  EXPECT_GE(unknown, 1);
  // The fixtures' unknown type keeps the picture of the card before.
  TearDown();
  SetUp();
  Open(FixtureFolder());
  ClickNode(11);  // "Мини-музей старых вещей"
  EXPECT_EQ(Form1->sImage6->ImageIndex(), 0);
  ClickNode(8);  // "Музей космонавтики"
  EXPECT_EQ(Control("sLabel14")->Caption(), u"Музей космонавтики");
  EXPECT_EQ(Form1->sImage6->ImageIndex(), 0);
  // A district hides the card and shows the background.
  Click(Tree(), 20, 10);
  EXPECT_EQ(Tree()->Selected()->Data(), -1);
  EXPECT_FALSE(Form1->sPanel2->Visible());
}

TEST_F(MainWindowTest, PhotosCycleZoomAndReportTheirErrors) {
  Open(FixtureFolder());
  // No photo rows: no ">>", an empty disabled box, the sections shown.
  ClickNode(2);
  EXPECT_FALSE(Control("sBitBtn2")->Visible());
  EXPECT_FALSE(Form1->sImage3->Enabled());
  EXPECT_TRUE(Form1->sMemo1->Visible());
  Click(Form1->sImage3, 100, 100);  // an empty box does nothing
  EXPECT_EQ(Form1->sImage3->Left(), 472);
  // Three rows, the third file missing: 1.jpg, 2.png, nothing (small view), 1.jpg.
  auto* next = Control("sBitBtn2");
  ClickNode(1);
  EXPECT_TRUE(next->Visible());
  EXPECT_EQ(Shown(), "1.jpg");
  SaveScreen("main-card-photo");
  Click(Form1->sImage3, 190, 100);
  EXPECT_EQ(Form1->sImage3->Left(), 12);
  EXPECT_EQ(Form1->sImage3->Width(), 845);
  EXPECT_FALSE(Form1->sMemo1->Visible());
  SaveScreen("main-card-photo-large");
  Click(next, 100, 10);
  EXPECT_EQ(Shown(), "2.png");
  EXPECT_EQ(Form1->sImage3->Left(), 12);  // the next photo stays large
  Click(next, 100, 10);
  EXPECT_FALSE(Form1->sImage3->Enabled());  // the missing file
  EXPECT_EQ(Form1->sImage3->Left(), 472);
  EXPECT_TRUE(Form1->sMemo1->Visible());
  Click(next, 100, 10);
  EXPECT_EQ(Shown(), "1.jpg");
  Click(Form1->sImage3, 190, 100);
  Click(Form1->sImage3, 400, 300);  // the large box: back to small
  EXPECT_EQ(Form1->sImage3->Left(), 472);
  // An undecodable first photo: the loader's error, the box as it was.
  Click(Form1->sImage3, 190, 100);
  const std::u16string error = ErrorOf([&] { ClickNode(4); });
  EXPECT_EQ(error.rfind(u"Cannot load the picture " + db::ToUtf16(FixtureFolder()), 0), 0u)
      << fw::Utf16ToUtf8(error);
  EXPECT_NE(error.find(u"испорченное.jpg: "), std::u16string::npos) << fw::Utf16ToUtf8(error);
  EXPECT_EQ(error.back(), u'.');
  EXPECT_EQ(Shown(), "1.jpg");
  EXPECT_EQ(Form1->sImage3->Left(), 12);
  // A null telephone stops the card with the conversion error.
  EXPECT_EQ(ErrorOf([&] { ClickNode(9); }, "main-error-box-card"),
            u"Could not convert variant of type (Null) into type (OleStr).");
  SaveScreen("main-error-card");
}

TEST_F(MainWindowTest, OneAndManyPhotosOfTheSample) {
  Open(SampleFolder());
  auto* next = Control("sBitBtn2");
  bool one = false;
  for (int i = 0; i < Tree()->Items().Count() && !one; ++i) {
    const std::intptr_t id = Tree()->Items().Item(i)->Data();
    if (id < 0) continue;
    Form1->clickk(id);
    if (Form1->ADOQuery4->RecordCount() == 1) {
      one = true;
      ClickNode(id);
      EXPECT_FALSE(next->Visible());
      EXPECT_TRUE(Form1->sImage3->Enabled());
    }
  }
  EXPECT_TRUE(one);
}

}  // namespace
}  // namespace app::test
