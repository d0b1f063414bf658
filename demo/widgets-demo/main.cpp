// A small program on the framework: forms read from window descriptions beside the program,
// shown on whichever backend the environment picks. The main form counts button clicks,
// shows the second form modally, raises an error for the default error handler and shows the
// hint of the control under the mouse in its status bar. Its sample form holds one of each
// kind of input control: an edit, a drop-down combo box, a memo, a tree of districts and
// schools, and a photo table (a grid and the picture of its current row over a small
// database).
//
//   widgets-demo                        runs
//   widgets-demo --make-pictures DIR    draws the pictures the descriptions name into DIR and
//                                       writes the photo database
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "framework/Application.h"
#include "framework/Automation.h"
#include "framework/ComboBox.h"
#include "framework/Edit.h"
#include "framework/Exception.h"
#include "framework/Form.h"
#include "framework/Label.h"
#include "framework/Reader.h"
#include "framework/StatusBar.h"
#include "framework/TextConv.h"
#include "framework/TreeView.h"
#include "framework/db/ADOConnection.h"
#include "framework/db/ADODataSet.h"
#include "framework/dbctrls/DataControlsClasses.h"
#include "platform/backend/Start.h"
#include "platform/gfx/PictureCodec.h"
#include "platform/win/KeyboardLayout.h"

namespace {

std::string gResources;

class TSecondForm : public fw::TForm {
 public:
  explicit TSecondForm(fw::TComponent* owner) : TForm(owner) {
    fw::ReadComponentFile(this, gResources + "/SecondForm.txt");
  }
  std::string ClassName() const override { return "TSecondForm"; }
};

TSecondForm* SecondForm = nullptr;

// One of each kind of input control. The edit counts its changes (and types Russian), the combo box
// names the chosen type when its list closes, the memo is read-only, the tree names the chosen
// node, and the grid lists the photo table of a database beside the program with the picture of the
// current row. The connection and the table are made here; the description refers to the table by
// name.
class TSampleForm : public fw::TForm {
 public:
  explicit TSampleForm(fw::TComponent* owner) : TForm(owner) {
    PublishMethod("FormCreate", [this](fw::TComponent*) { FormCreate(); });
    PublishMethod("NameChange", [this](fw::TComponent*) { NameChange(); });
    // Names are Russian: the edit switches the keyboard to the Russian layout as it takes the
    // focus, as the catalogue's name box does.
    PublishMethod("NameEnter", [](fw::TComponent*) {
      win::LoadKeyboardLayoutW(u"00000419", win::KLF_ACTIVATE);
    });
    PublishMethod("TypeCloseUp", [this](fw::TComponent*) {
      Find<fw::TLabel>("TypeChoice")
          ->SetCaption(u"Type: " + Find<fw::TComboBox>("TypeCombo")->Text());
    });
    PublishMethod("TreeChange", [this](fw::TComponent*) { TreeChange(); });
    PublishMethod("ExpandClick",
                  [this](fw::TComponent*) { Find<fw::TTreeView>("Tree")->FullExpand(); });
    auto* connection = new db::TADOConnection(this);
    connection->SetName("PhotoConnection");
    connection->SetLoginPrompt(false);
    connection->SetConnectionString(u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" +
                                    fw::Utf8ToUtf16(gResources) + u"/photos.dat");
    auto* table = new db::TADOTable(this);
    table->SetName("PhotoTable");
    table->SetConnection(connection);
    table->SetTableName("foto");
    fw::ReadComponentFile(this, gResources + "/SampleForm.txt");
    table->Open();
  }
  std::string ClassName() const override { return "TSampleForm"; }

 private:
  template <class T>
  T* Find(const char* name) {
    return static_cast<T*>(FindComponent(name));
  }
  void FormCreate() {
    static const char16_t* const kDistricts[][4] = {
        {u"Заречный район", u"Гимназия № 2", u"Лицей № 5", u"Школа № 11"},
        {u"Лесной район", u"Школа № 3", u"Школа № 7", nullptr},
        {u"Озёрный район", nullptr, nullptr, nullptr},
        {u"Центральный район", u"Гимназия № 1", u"Кадетская школа", u"Школа № 14"}};
    auto& items = Find<fw::TTreeView>("Tree")->Items();
    items.BeginUpdate();
    int id = 0;
    for (const auto& d : kDistricts) {
      fw::TTreeNode* district = items.AddObject(nullptr, d[0], -1);
      for (int i = 1; i < 4 && d[i]; ++i) items.AddChildObject(district, d[i], ++id);
    }
    items.EndUpdate();
  }
  void NameChange() {
    ++changes_;
    Find<fw::TLabel>("Changes")->SetCaption(u"Changes: " +
                                            fw::Utf8ToUtf16(std::to_string(changes_)));
  }
  void TreeChange() {
    fw::TTreeNode* node = Find<fw::TTreeView>("Tree")->Selected();
    Find<fw::TLabel>("Choice")->SetCaption(!node              ? u"Nothing chosen"
                                           : node->Data() < 0 ? u"District: " + node->Text()
                                                              : u"School: " + node->Text());
  }
  int changes_ = 0;
};

TSampleForm* SampleForm = nullptr;

class TMainForm : public fw::TForm {
 public:
  explicit TMainForm(fw::TComponent* owner) : TForm(owner) {
    PublishMethod("FormCreate", [this](fw::TComponent*) { FormCreate(); });
    PublishMethod("CountClick", [this](fw::TComponent*) { CountClick(); });
    PublishMethod("SecondClick", [this](fw::TComponent*) { SecondClick(); });
    PublishMethod("SampleClick", [](fw::TComponent*) { SampleForm->ShowModal(); });
    PublishMethod("ErrorClick", [](fw::TComponent*) {
      throw fw::Exception(u"The demo raised this error on purpose");
    });
    fw::ReadComponentFile(this, gResources + "/MainForm.txt");
  }
  std::string ClassName() const override { return "TMainForm"; }

 private:
  template <class T>
  T* Find(const char* name) {
    return static_cast<T*>(FindComponent(name));
  }
  void FormCreate() { Find<fw::TStatusBar>("StatusBar")->SetPanelText(1, u"Ready"); }
  void CountClick() {
    ++clicks_;
    Find<fw::TLabel>("Counter")->SetCaption(u"Clicked " + fw::Utf8ToUtf16(std::to_string(clicks_)) +
                                            u" times");
  }
  void SecondClick() {
    fw::TModalResult r = SecondForm->ShowModal();
    Find<fw::TStatusBar>("StatusBar")->SetPanelText(1, r == fw::mrOk ? u"OK" : u"Cancelled");
  }
  int clicks_ = 0;
};

// Pictures of the descriptions, drawn here so that nothing opaque is kept in the sources.
void MakePictures(const std::string& dir) {
  auto save = [&](const char* name, const gfx::Bitmap& b) {
    std::string path = dir + "/" + name;
    if (std::string(name).ends_with(".jpg"))
      gfx::WriteFileBytes(path, gfx::EncodeJpeg(b, 90));
    else
      gfx::WriteFileBytes(path, gfx::EncodePng(b));
  };
  gfx::Bitmap banner(634, 60);
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 634; ++x)
      banner.Set(x, y, gfx::MakePixel(std::uint8_t(160 + y), std::uint8_t(90 + x / 8), 40, 255));
  save("banner.png", banner);
  gfx::Bitmap photo(320, 200);
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 320; ++x)
      photo.Set(x, y,
                gfx::MakePixel(std::uint8_t(x * 255 / 319), std::uint8_t(y * 255 / 199),
                               std::uint8_t(((x / 40 + y / 40) & 1) ? 220 : 90), 255));
  save("photo.jpg", photo);
  for (int i = 0; i < 2; ++i) {
    gfx::Bitmap icon(91, 91);
    for (int y = 0; y < 91; ++y)
      for (int x = 0; x < 91; ++x) {
        int dx = x - 45, dy = y - 45, d2 = dx * dx + dy * dy;
        std::uint8_t a = d2 < 40 * 40 ? 255 : d2 < 44 * 44 ? 128 : 0;
        icon.Set(x, y, i ? gfx::MakePixel(40, 140, 40, a) : gfx::MakePixel(40, 40, 180, a));
      }
    save(i ? "icon1.png" : "icon0.png", icon);
  }
  gfx::Bitmap glyph(16, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      glyph.Set(x, y, gfx::MakePixel(0, 120, 0, (x + y) % 16 < 8 ? 255 : 0));
  save("glyph.png", glyph);
}

// The photo table: pictures of several sizes as PNG and JPEG, one row whose bytes are no
// picture and one without bytes.
void MakePhotoDatabase(const std::string& dir) {
  std::string file = dir + "/photos.dat";
  std::filesystem::remove(file);
  db::CreateDatabase(file, u"");
  db::TADOConnection c(nullptr);
  c.SetConnectionString(u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + fw::Utf8ToUtf16(file));
  c.Open();
  c.Execute(u"create table foto (id integer primary key, id_uz integer, foto text, fot blob)");
  db::TADOQuery insert(nullptr);
  insert.SetConnection(&c);
  insert.SetSQL(u"insert into foto values (:id, :uz, :name, :fot)");
  for (int id = 1; id <= 30; ++id) {  // more rows than the grid shows: it scrolls
    int w = 160 + (id * 53) % 240, h = 120 + (id * 71) % 200;
    gfx::Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        int dx = x - w / 2, dy = y - h / 2;
        bool ring = int(std::sqrt(dx * dx + dy * dy)) / 16 % 3 == id % 3;
        b.Set(x, y,
              gfx::MakePixel(std::uint8_t(40 + id * 15), std::uint8_t(255 * y / h),
                             std::uint8_t(ring ? 230 : 255 * x / w), 255));
      }
    bool png = id % 2 == 0;
    std::u16string name = fw::Utf8ToUtf16(std::to_string(id) + (png ? ".png" : ".jpg"));
    db::TParameters& p = insert.Parameters();
    p.ParamByName("id").Value = id;
    p.ParamByName("uz").Value = id % 4 + 1;
    p.ParamByName("name").Value = name;
    if (id == 5)  // a JPEG cut short
      p.ParamByName("fot").Value = db::TBytes{0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 0x4A, 0x46};
    else if (id == 7)
      p.ParamByName("fot").Value = db::TVariant();
    else
      p.ParamByName("fot").Value = png ? gfx::EncodePng(b) : gfx::EncodeJpeg(b, 85);
    insert.ExecSQL();
  }
}

std::string ProgramFolder() {
  char path[4096];
  ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return ".";
  return std::filesystem::path(std::string(path, std::size_t(n))).parent_path().string();
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc == 3 && std::string(argv[1]) == "--make-pictures") {
      MakePictures(argv[2]);
      MakePhotoDatabase(argv[2]);
      return 0;
    }
    gResources = ProgramFolder() + "/widgets-demo-res";
    auto platform = backend::Start();
    fw::InstallFormDump();
    fw::RegisterClass<TMainForm>("TMainForm", "TForm");
    fw::RegisterClass<TSecondForm>("TSecondForm", "TForm");
    fw::RegisterDataControls();
    fw::RegisterClass<TSampleForm>("TSampleForm", "TForm");
    fw::TApplication app;
    app.Initialize();
    app.MainFormOnTaskBar = true;
    app.SetTitle(u"Widgets demo");
    app.CreateForm<TMainForm>();
    app.CreateForm(&SecondForm);
    app.MainForm()->HandleNeeded();  // the main window stays the first one made
    app.CreateForm(&SampleForm);
    app.Run();
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "widgets-demo: %s\n", e.what());
    return 1;
  }
}
