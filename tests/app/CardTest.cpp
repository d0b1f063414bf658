// The museum card and the photo viewer on the fixture catalogue, with real labels, images and
// buttons: which query, which fields, how they read, the type picture, the photos' cycle and
// zoom, and what an error leaves behind.
#include <gtest/gtest.h>

#include <filesystem>

#include "Catalogue.h"
#include "app/MuseumCard.h"
#include "app/PhotoViewer.h"
#include "app/TreeBuild.h"
#include "app/TreeFilter.h"
#include "app/TreeModel.h"
#include "framework/Button.h"
#include "framework/Exception.h"
#include "framework/Harness.h"
#include "framework/Label.h"
#include "framework/Panel.h"
#include "framework/db/DbError.h"
#include "platform/gfx/PictureCodec.h"

namespace app::test {
namespace {

TEST(TypeImageIndex, TableAndUnknownTypes) {
  EXPECT_EQ(TypeImageIndex(u"Галерея", 5), 11);
  EXPECT_EQ(TypeImageIndex(u"Мини-музей старых вещей", 5), 0);
  EXPECT_EQ(TypeImageIndex(u"Естественно-научный музей", 5), 7);
  // Exact and case-sensitive; anything else keeps the picture.
  EXPECT_EQ(TypeImageIndex(u"галерея", 5), 5);
  EXPECT_EQ(TypeImageIndex(u"Музей космонавтики", 4), 4);
}

// The card's controls on a form, the card and photo queries on a catalogue folder.
class CardTest : public fw::test::FrameworkTest {
 protected:
  void SetUp() override {
    FrameworkTest::SetUp();
    form = app->CreateForm<fw::TForm>();
    panel = Make<fw::TPanel>(form);
    panel->SetVisible(false);
    for (auto& l : labels) l = Make<fw::TLabel>(panel);
    typeImage = Make<fw::TImage>(panel);
    typeImage->SetImageIndex(13);
    box = Make<fw::TImage>(panel);
    next = Make<fw::TButton>(panel);
    sectionsTitle = Make<fw::TLabel>(panel);
    for (std::size_t i = 0; i < labels.size(); ++i) controls.fields[i] = labels[i];
    controls.typeImage = typeImage;
    controls.card = panel;
  }
  void TearDown() override {
    viewer.reset();
    q3.reset();
    q4.reset();
    conn.reset();
    FrameworkTest::TearDown();
  }
  template <class T>
  T* Make(fw::TWinControl* parent) {
    auto* c = new T(form);
    c->SetParent(parent);
    return c;
  }
  void Open(const std::string& folder) {
    conn = ConnectCatalogue(folder);
    q3 = MakeQuery(*conn, "ADOQuery3", kCardSql);
    q4 = MakeQuery(*conn, "ADOQuery4", kPhotosSql);
    for (db::TADOQuery* q : {q3.get(), q4.get()}) {
      db::TParameter& p = q->Parameters().ParamByName("p1");
      p.DataType = db::TFieldType::ftWideString;
      p.Size = 510;
    }
    TPhotoControls photo;
    photo.box = box;
    photo.nextButton = next;
    photo.covered = {sectionsTitle};
    viewer = std::make_unique<TPhotoViewer>(*q4, photo);
    viewer->ResourceFolder = ResourceFolder(folder);
  }
  void Show(std::optional<std::intptr_t> data) {
    ShowMuseumCard(data, *q3, *q4, controls, *viewer);
  }
  std::u16string Field(TCardField f) const { return labels[std::size_t(f)]->Caption(); }
  bool Small() const {
    return box->BoundsRect() == gfx::TRect{472, 336, 857, 544} && sectionsTitle->Visible();
  }
  bool Large() const {
    return box->BoundsRect() == gfx::TRect{12, 10, 857, 543} && !sectionsTitle->Visible();
  }
  std::string Shown() const {
    return std::filesystem::path(box->PictureFile()).filename().string();
  }

  fw::TForm* form = nullptr;
  fw::TPanel* panel = nullptr;
  std::array<fw::TLabel*, 6> labels{};
  fw::TImage* typeImage = nullptr;
  fw::TImage* box = nullptr;
  fw::TButton* next = nullptr;
  fw::TLabel* sectionsTitle = nullptr;
  TCardControls controls;
  std::unique_ptr<db::TADOConnection> conn;
  std::unique_ptr<db::TADOQuery> q3, q4;
  std::unique_ptr<TPhotoViewer> viewer;
};

TEST_F(CardTest, AnOrganisationFillsTheCardADistrictHidesIt) {
  Open(FixtureFolder());
  Show(1);
  EXPECT_TRUE(panel->Visible());
  EXPECT_EQ(Field(TCardField::nam1), u"Полное имя организации №1");
  EXPECT_EQ(Field(TCardField::addr), u"Велморская обл., ул. Школьная, д. 1");
  EXPECT_EQ(Field(TCardField::dat_o), db::DateToStr(db::EncodeDateTime(1981, 9, 1)));
  EXPECT_EQ(Field(TCardField::phone), u"8 (4999) 1-00-11");
  EXPECT_EQ(Field(TCardField::vid), u"Галерея");
  EXPECT_EQ(Field(TCardField::razd), u"1. Первый раздел\r\n2. Второй раздел");
  EXPECT_EQ(typeImage->ImageIndex(), 11);
  EXPECT_EQ(q3->FieldByName("id").AsInteger(), 1);
  EXPECT_EQ(q4->RecordCount(), 3);
  // A date kept as text, an empty telephone, and a type without a picture.
  Show(11);
  EXPECT_EQ(Field(TCardField::dat_o), u"осень 1975 года");
  EXPECT_EQ(typeImage->ImageIndex(), 0);
  Show(10);
  EXPECT_EQ(Field(TCardField::phone), u"");
  EXPECT_EQ(typeImage->ImageIndex(), 10);
  Show(8);
  EXPECT_EQ(Field(TCardField::vid), u"Музей космонавтики");
  EXPECT_EQ(typeImage->ImageIndex(), 10);  // kept from the card before
  // A district hides the card and keeps its texts.
  Show(-1);
  EXPECT_FALSE(panel->Visible());
  EXPECT_EQ(Field(TCardField::vid), u"Музей космонавтики");
  EXPECT_TRUE(Small());
}

TEST_F(CardTest, NoSelectedNodeLeavesTheCardAsItIs) {
  Open(FixtureFolder());
  Show(1);
  viewer->ToggleZoom();
  ASSERT_TRUE(Large());
  EXPECT_NO_THROW(Show(std::nullopt));
  EXPECT_TRUE(panel->Visible());
  EXPECT_TRUE(Large());
  EXPECT_EQ(Field(TCardField::nam1), u"Полное имя организации №1");
}

TEST_F(CardTest, ANullFieldStopsTheCardAtThatField) {
  Open(FixtureFolder());
  Show(1);
  ASSERT_EQ(Shown(), "1.jpg");
  try {
    Show(9);  // a null telephone
    FAIL() << "no error";
  } catch (const db::EVariantError& e) {
    EXPECT_STREQ(e.what(), "Could not convert variant of type (Null) into type (OleStr)");
  }
  // Fields before the telephone show the new organisation, the rest the old one.
  EXPECT_EQ(Field(TCardField::nam1), u"Полное имя организации №9");
  EXPECT_EQ(Field(TCardField::dat_o), db::DateToStr(db::EncodeDateTime(1989, 9, 1)));
  EXPECT_EQ(Field(TCardField::phone), u"8 (4999) 1-00-11");
  EXPECT_EQ(Field(TCardField::vid), u"Галерея");
  EXPECT_EQ(Shown(), "1.jpg");
  // Both queries already hold the new organisation.
  EXPECT_EQ(q3->FieldByName("id").AsInteger(), 9);
  EXPECT_EQ(q4->RecordCount(), 0);
  // The ">>" still shown pages through the new organisation's photos, here none: an empty,
  // disabled box in the small view, and no error.
  viewer->ToggleZoom();
  ASSERT_TRUE(Large());
  EXPECT_NO_THROW(viewer->Next());
  EXPECT_FALSE(box->Enabled());
  EXPECT_EQ(Shown(), "");
  EXPECT_TRUE(Small());
  // A key that no longer exists reads as nulls: the first field fails.
  EXPECT_THROW(Show(12345), db::EVariantError);
  EXPECT_EQ(Field(TCardField::nam1), u"Полное имя организации №9");
}

TEST_F(CardTest, ANullFieldShowsNoHiddenCardAndKeepsAnotherTypesPicture) {
  Open(FixtureFolder());
  // From a district: the card stays hidden, the type picture as it was.
  Show(-1);
  ASSERT_FALSE(panel->Visible());
  EXPECT_THROW(Show(9), db::EVariantError);  // a "Галерея" (picture 11), null telephone
  EXPECT_FALSE(panel->Visible());
  EXPECT_EQ(typeImage->ImageIndex(), 13);
  // From a card of another type: its picture and type stay.
  Show(2);  // "Школьный музей"
  ASSERT_EQ(typeImage->ImageIndex(), 1);
  EXPECT_THROW(Show(9), db::EVariantError);
  EXPECT_EQ(typeImage->ImageIndex(), 1);
  EXPECT_EQ(Field(TCardField::vid), u"Школьный музей");
  EXPECT_TRUE(panel->Visible());
}

TEST_F(CardTest, PhotosCycleAndZoom) {
  Open(FixtureFolder());
  Show(1);  // 1.jpg, 2.png, a missing file
  EXPECT_TRUE(next->Visible());
  EXPECT_EQ(Shown(), "1.jpg");
  EXPECT_TRUE(box->Enabled());
  EXPECT_TRUE(Small());
  viewer->ToggleZoom();
  EXPECT_TRUE(Large());
  viewer->Next();  // the next photo stays large
  EXPECT_EQ(Shown(), "2.png");
  EXPECT_TRUE(Large());
  viewer->Next();  // missing: empty, disabled, small
  EXPECT_TRUE(box->Picture().Empty());
  EXPECT_FALSE(box->Enabled());
  EXPECT_TRUE(Small());
  viewer->ToggleZoom();  // a disabled box ignores the click
  EXPECT_TRUE(Small());
  viewer->Next();  // back to the first
  EXPECT_EQ(Shown(), "1.jpg");
  EXPECT_EQ(q4->RecNo(), 1);
  viewer->ToggleZoom();
  viewer->ToggleZoom();
  EXPECT_TRUE(Small());
  // Another card returns to the small view; no photo rows: no button, an empty box.
  viewer->ToggleZoom();
  Show(2);
  EXPECT_TRUE(Small());
  EXPECT_FALSE(next->Visible());
  EXPECT_TRUE(box->Picture().Empty());
  EXPECT_FALSE(box->Enabled());
}

TEST_F(CardTest, ThePhotosPlacesFollowTheFormsScale) {
  Open(FixtureFolder());
  form->ScaleBy(150, 100);
  Show(1);  // the card resets to the small view, at the form's scale
  EXPECT_EQ(box->BoundsRect(), (gfx::TRect{708, 504, 1286, 816}));
  viewer->ToggleZoom();
  EXPECT_EQ(box->BoundsRect(), (gfx::TRect{18, 15, 1286, 815}));
  form->ScaleBy(100, 150);  // scaled back while large: the box came back with the form
  EXPECT_EQ(box->BoundsRect(), (gfx::TRect{12, 10, 857, 543}));
  viewer->ToggleZoom();
  EXPECT_TRUE(Small());
}

TEST_F(CardTest, AnUndecodablePhotoRaisesAndKeepsThePhotoBox) {
  Open(FixtureFolder());
  Show(1);
  viewer->ToggleZoom();
  // Organisation 4's first photo cannot be decoded, its second names a folder.
  EXPECT_THROW(Show(4), fw::Exception);
  EXPECT_EQ(Shown(), "1.jpg");
  EXPECT_TRUE(box->Enabled());
  EXPECT_TRUE(Large());  // the reset to the small view was skipped
  EXPECT_TRUE(next->Visible());
  viewer->Next();  // the folder counts as a missing file
  EXPECT_TRUE(box->Picture().Empty());
  EXPECT_FALSE(box->Enabled());
  EXPECT_TRUE(Small());
  viewer->Next();
  EXPECT_EQ(Shown(), "1.jpg");
}

TEST_F(CardTest, StoredNamesWithBackslashesAndAnotherCaseOneAndEmptyNames) {
  CatalogueCopy copy;
  {
    auto c = ConnectCatalogue(copy.Path());
    c->Execute(
        u"insert into foto (id, id_uz, foto) values (100, 10, '1\\2.PNG');"
        u"insert into foto (id, id_uz, foto) values (101, 11, '');"
        u"insert into foto (id, id_uz, foto) values (102, 11, null);");
  }
  Open(copy.Path());
  Show(10);  // exactly one photo, named with a backslash and in upper case
  EXPECT_FALSE(next->Visible());
  EXPECT_EQ(Shown(), "2.png");
  EXPECT_TRUE(box->Enabled());
  Show(11);  // an empty name and a null one name the folder itself
  EXPECT_TRUE(next->Visible());
  EXPECT_FALSE(box->Enabled());
  viewer->Next();
  EXPECT_FALSE(box->Enabled());
}

TEST_F(CardTest, ABuildRunsTheCardOnEverySelectionChange) {
  Open(FixtureFolder());
  Show(1);
  auto q1 = MakeQuery(*conn, "ADOQuery1", kDistrictsSql);
  auto q2 = MakeQuery(*conn, "ADOQuery2", kOrganisationsSql);
  q1->Open();
  q2->Open();
  TTreeModel tree;
  std::vector<std::intptr_t> cards;  // organisations whose card was shown during the build
  tree.OnChange = [&](TTreeModel*, TTreeModelNode* node) {
    Show(node ? std::optional(node->Data()) : std::nullopt);
    if (panel->Visible()) cards.push_back(q3->FieldByName("id").AsInteger());
  };
  BuildTree(tree, *q1, *q2);
  // The organisation named like a district is chosen to receive children: its card shows.
  EXPECT_EQ(cards, (std::vector<std::intptr_t>{5, 5, 5}));
  // The build ends on a district: the card is hidden, the photo box small.
  ASSERT_NE(tree.Selected(), nullptr);
  EXPECT_EQ(tree.Selected()->Data(), -1);
  EXPECT_FALSE(panel->Visible());
  EXPECT_TRUE(Small());
  // A filter that lets nothing through: no selection, the card as it was.
  Show(1);
  ApplyTreeFilter(*q2, TreeFilterExpression(u"Все", u"нет такой"));
  BuildTree(tree, *q1, *q2);
  EXPECT_EQ(tree.Selected(), nullptr);
  EXPECT_TRUE(panel->Visible());
  EXPECT_EQ(Field(TCardField::nam1), u"Полное имя организации №1");
}

TEST(FindPhotoFile, ExactThenIgnoringCase) {
  TempFolder dir;
  const std::string foto = dir.Path() + "foto/";
  std::filesystem::create_directories(foto + "Зал/sub");
  auto touch = [](const std::string& f) {
    const std::vector<std::uint8_t> bytes = {1, 2, 3};
    gfx::WriteFileBytes(f, bytes);
  };
  touch(foto + "Зал/Фото.JPG");
  touch(foto + "a.jpg");
  touch(foto + "A.jpg");
  std::filesystem::create_symlink(foto + "a.jpg", foto + "link.jpg");
  EXPECT_EQ(FindPhotoFile(foto, u"Зал/Фото.JPG"), foto + "Зал/Фото.JPG");
  EXPECT_EQ(FindPhotoFile(foto, u"зал\\фото.jpg"), foto + "Зал/Фото.JPG");
  EXPECT_EQ(FindPhotoFile(foto, u"ЗАЛ\\ФОТО.jpg"), foto + "Зал/Фото.JPG");
  // The exact name first; among names differing in case only, the first in code-unit order.
  EXPECT_EQ(FindPhotoFile(foto, u"a.jpg"), foto + "a.jpg");
  EXPECT_EQ(FindPhotoFile(foto, u"A.JPG"), foto + "A.jpg");
  EXPECT_EQ(FindPhotoFile(foto, u"link.jpg"), foto + "link.jpg");
  // No photo: nothing of that name, a folder, the photo folder itself.
  EXPECT_EQ(FindPhotoFile(foto, u"нет.jpg"), std::nullopt);
  EXPECT_EQ(FindPhotoFile(foto, u"Зал\\sub"), std::nullopt);
  EXPECT_EQ(FindPhotoFile(foto, u""), std::nullopt);
  EXPECT_EQ(FindPhotoFile(foto, u"нет\\Фото.JPG"), std::nullopt);
}

}  // namespace
}  // namespace app::test
