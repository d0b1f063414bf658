#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "Harness.h"
#include "framework/DataModule.h"
#include "framework/Image.h"
#include "framework/ImageList.h"
#include "framework/Label.h"
#include "framework/Panel.h"
#include "framework/Reader.h"
#include "framework/StatusBar.h"
#include "framework/TextConv.h"
#include "framework/Timer.h"
#include "platform/gfx/PictureCodec.h"

namespace fw::test {
namespace {

std::vector<std::string>* gLog = nullptr;

// A control that logs its two properties and Loaded.
class TProbe : public TGraphicControl {
 public:
  using TGraphicControl::TGraphicControl;
  void Loaded() override {
    TGraphicControl::Loaded();
    gLog->push_back("loaded " + Name() + (Images ? " with images" : ""));
  }
  void AfterConstruction() override { gLog->push_back("constructed " + Name()); }
  TComponent* Images = nullptr;
};

class TProbeForm : public TForm {
 public:
  explicit TProbeForm(TComponent* owner) : TForm(owner) {
    PublishMethod("ButtonClick", [](TComponent* s) { gLog->push_back("clicked " + s->Name()); });
  }
  void Loaded() override {
    TForm::Loaded();
    gLog->push_back("loaded " + Name());
  }
  void AfterConstruction() override {
    TForm::AfterConstruction();
    gLog->push_back("constructed " + Name());
  }
};

class ReaderTest : public FrameworkTest {
 protected:
  void SetUp() override {
    FrameworkTest::SetUp();
    gLog = &log;
    RegisterClass<TProbeForm>("TProbeForm", "TForm");
    RegisterClass<TProbe>("TProbe", "TControl");
    RegisterProperty<TProbe>("TProbe", "A", [](TProbe* p, const TValueDesc& v, TReadContext& x) {
      gLog->push_back(p->Name() + ".A = " + std::to_string(x.Int(v)));
    });
    RegisterProperty<TProbe>("TProbe", "B", [](TProbe* p, const TValueDesc& v, TReadContext& x) {
      gLog->push_back(p->Name() + ".B = " + Utf16ToUtf8(x.String(v)));
    });
    RegisterProperty<TProbe>("TProbe", "Images",
                             [](TProbe* p, const TValueDesc& v, TReadContext& x) {
                               x.Reference(v, [p](TComponent* c) { p->Images = c; });
                             });
    dir = std::filesystem::path(testing::TempDir()) / "fw-reader";
    std::filesystem::create_directories(dir);
  }
  void TearDown() override {
    FrameworkTest::TearDown();
    gLog = nullptr;
  }
  // Reads text into a new probe form; returns the error message or "".
  std::u16string ReadError(const std::string& text) {
    auto* form = new TProbeForm(app.get());
    try {
      ReadComponentText(form, text, "Unit9.txt", dir.string());
    } catch (const EReadError& e) {
      delete form;
      return e.Message();
    }
    delete form;
    return u"";
  }
  std::vector<std::string> log;
  std::filesystem::path dir;
};

// Loaded runs root first, then in reading order, once references are resolved; nested
// components are finished with AfterConstruction after that, the root by its creator.
TEST_F(ReaderTest, PropertiesApplyInTheOrderWrittenThenLoadedAfterReferences) {
  auto* form = new TProbeForm(app.get());
  ReadComponentText(form, R"(object Form9: TProbeForm
  Caption = 'Probe'
  object P1: TProbe
    B = 'first'
    A = 2
    Images = List
  end
  object Panel1: TPanel
    object P2: TProbe
      A = 1
    end
  end
  object List: TImageList
  end
end
)",
                    "Unit9.txt", dir.string());
  EXPECT_EQ(form->Name(), "Form9");
  EXPECT_EQ(form->Caption(), u"Probe");
  EXPECT_EQ(log, (std::vector<std::string>{"P1.B = first", "P1.A = 2", "P2.A = 1", "loaded Form9",
                                           "loaded P1 with images", "loaded P2", "constructed P1",
                                           "constructed P2"}));
  EXPECT_EQ(form->FindComponent("P2")->ComponentState() & csLoading, 0u);
  EXPECT_EQ(static_cast<TControl*>(form->FindComponent("P2"))->Parent(),
            form->FindComponent("Panel1"));
}

TEST_F(ReaderTest, ErrorsNameTheFileLineAndProperty) {
  EXPECT_EQ(ReadError("object F: TProbeForm\n  object A: TPanel\n    Anchors = [akMiddle]\n"
                      "  end\nend\n"),
            u"Unit9.txt:3: Anchors: invalid value akMiddle");
  EXPECT_EQ(ReadError("object F: TProbeForm\n  object P: TPanel\n    Bogus = 1\n  end\nend\n"),
            u"Unit9.txt:3: Bogus: unknown property of TPanel");
  EXPECT_EQ(ReadError("object F: TProbeForm\n  Width = 'wide'\nend\n"),
            u"Unit9.txt:2: Width: integer expected");
  EXPECT_EQ(ReadError("object F: TProbeForm\n  Align = alMiddle\nend\n"),
            u"Unit9.txt:2: Align: invalid value alMiddle");
  EXPECT_EQ(ReadError("object F: TProbeForm\n\n  object X: TFancyGrid\n  end\nend\n"),
            u"Unit9.txt:3: unknown class TFancyGrid");
  EXPECT_EQ(ReadError("object F: TProbeForm\n  object P: TProbe\n    Images = Nowhere.List\n"
                      "  end\nend\n"),
            u"Unit9.txt:3: Images: unknown component Nowhere.List");
  EXPECT_EQ(ReadError("object F: TProbeForm\n  OnClick = Missing\nend\n"),
            u"Unit9.txt:2: OnClick: unknown handler Missing");
  EXPECT_EQ(ReadError("object F: TProbeForm\n  Caption = 'open\nend\n"),
            u"Unit9.txt:2: Caption: unterminated string");
  EXPECT_EQ(ReadError("object F: TProbeForm\n  object I: TImage\n"
                      "    Picture.File = '../secret.png'\n  end\nend\n"),
            u"Unit9.txt:3: Picture.File: file names must lie beside the description: "
            u"../secret.png");
  EXPECT_EQ(ReadError("object F: TProbeForm\n  object L: TImageList\n"
                      "    object P: TProbe\n    end\n  end\nend\n"),
            u"Unit9.txt:3: L cannot hold the control P");
  EXPECT_EQ(ReadError("object F: TProbeForm\n  object A: TPanel\n  end\n  object A: TPanel\n"
                      "  end\nend\n"),
            u"Unit9.txt:4: Name: A component named A already exists");
  EXPECT_EQ(ReadError("object F: TProbeForm\n  Caption = 'a'#"),
            u"Unit9.txt:2: Caption: number expected");
  EXPECT_EQ(ReadError("object F: TProbeForm\nend\nend\n"),
            u"Unit9.txt:3: text after the last 'end'");
}

TEST_F(ReaderTest, StringsSetsAndCollections) {
  auto* form = new TProbeForm(app.get());
  ReadComponentText(form, R"(object F: TProbeForm
  object B: TButton
    Caption = 'Развернуть/'#13#10'свернуть'
    Hint = 'It''s ' +
      'joined'
    Font.Style = [fsBold, fsItalic]
    OnClick = ButtonClick
  end
  object S: TStatusBar
    SimplePanel = True
    SizeGrip = False
    Panels = <
      item
        Width = 50
      end
      item
        Alignment = taCenter
        Text = 'today'
        Width = 150
        Style = psOwnerDraw
      end>
  end
  object P: TPanel
    Left = 10
    Top = 10
    Width = 50
    Height = 20
    Anchors = [akLeft, akTop, akRight]
    ShowCaption = False
    VerticalAlignment = taAlignBottom
  end
end
)",
                    "Unit9.txt", dir.string());
  auto* b = static_cast<TControl*>(form->FindComponent("B"));
  EXPECT_EQ(b->Caption(), u"Развернуть/\r\nсвернуть");
  EXPECT_EQ(b->Hint(), u"It's joined");
  // Strings apart without a + are separate list items.
  const TObjectDesc list = ParseWindowDescription(
      "object L: TList\n  Lines = (\n    'one'\n    'two' 'three'#33)\nend\n", "List.txt");
  ASSERT_EQ(list.properties.size(), 1u);
  ASSERT_EQ(list.properties[0].value.list.size(), 3u);
  EXPECT_EQ(list.properties[0].value.list[0].string, u"one");
  EXPECT_EQ(list.properties[0].value.list[2].string, u"three!");
  EXPECT_EQ(b->Font().Style(), TFontStyles(fsBold | fsItalic));
  b->Click();
  EXPECT_EQ(log, (std::vector<std::string>{"loaded F", "clicked B"}));
  auto* s = static_cast<TStatusBar*>(form->FindComponent("S"));
  ASSERT_EQ(s->PanelCount(), 2);
  EXPECT_EQ(s->Panel(1).Text, u"today");
  EXPECT_EQ(s->Panel(1).Width, 150);
  EXPECT_EQ(s->Panel(1).Alignment, TAlignment::taCenter);
  EXPECT_EQ(s->Panel(0).Style, TStatusPanelStyle::psText);
  EXPECT_EQ(s->Panel(1).Style, TStatusPanelStyle::psOwnerDraw);
  EXPECT_TRUE(s->SimplePanel());
  EXPECT_FALSE(s->SizeGrip());
  auto* p = static_cast<TPanel*>(form->FindComponent("P"));
  EXPECT_FALSE(p->ShowCaption());
  EXPECT_EQ(p->VerticalAlignment(), TVerticalAlignment::taAlignBottom);
  // Anchored to both sides, the panel stretches with the form.
  EXPECT_EQ(p->Anchors(), TAnchors(akLeft | akTop | akRight));
  form->SetClientSize(form->ClientWidth() + 30, form->ClientHeight());
  EXPECT_EQ(p->Width(), 80);
  EXPECT_EQ(p->Left(), 10);
}

TEST_F(ReaderTest, RealsAndTheirErrors) {
  const TObjectDesc d = ParseWindowDescription(
      "object R: TReals\n  A = 1.200000000000000000\n  B = -0.25\n  C = 2.5E+2\n  D = 7\nend\n",
      "Reals.txt");
  ASSERT_EQ(d.properties.size(), 4u);
  EXPECT_EQ(d.properties[0].value.kind, TValueDesc::Kind::Real);
  EXPECT_DOUBLE_EQ(d.properties[0].value.real, 1.2);
  EXPECT_DOUBLE_EQ(d.properties[1].value.real, -0.25);
  // Without a point a number stays an integer, an exponent or not.
  EXPECT_EQ(ReadError("object F: TProbeForm\n  Width = 15E-1\nend\n"),
            u"Unit9.txt:2: Width: invalid number");
  EXPECT_DOUBLE_EQ(d.properties[2].value.real, 250.0);
  EXPECT_EQ(d.properties[3].value.kind, TValueDesc::Kind::Integer);
  TReadContext x(nullptr, "Reals.txt", dir.string());
  EXPECT_DOUBLE_EQ(x.Real(d.properties[3].value, 0, 10), 7.0);
  EXPECT_THROW(x.Real(d.properties[0].value, 0, 1), Exception);
  // A real where an integer belongs, and malformed reals, are refused with their line.
  EXPECT_EQ(ReadError("object F: TProbeForm\n  Width = 1.5\nend\n"),
            u"Unit9.txt:2: Width: integer expected");
  EXPECT_EQ(ReadError("object F: TProbeForm\n  Width = 1.\nend\n"),
            u"Unit9.txt:2: Width: invalid number");
  EXPECT_EQ(ReadError("object F: TProbeForm\n  Width = 1.5E\nend\n"),
            u"Unit9.txt:2: Width: invalid number");
  EXPECT_EQ(ReadError("object F: TProbeForm\n  Width = 1.5.2\nend\n"),
            u"Unit9.txt:2: Width: invalid number");
  EXPECT_EQ(ReadError("object F: TProbeForm\n  Width = 1.0E999\nend\n"),
            u"Unit9.txt:2: Width: number out of range");
}

TEST_F(ReaderTest, FilesBesideTheDescriptionAndReferencesAcrossModules) {
  gfx::Bitmap icon(2, 2);
  icon.Fill(gfx::MakePixel(0, 0, 255, 100));
  gfx::WriteFileBytes((dir / "icon.png").string(), gfx::EncodePng(icon));
  gfx::Bitmap banner(6, 3);
  banner.Fill(gfx::MakePixel(255, 0, 0, 255));
  gfx::WriteFileBytes((dir / "banner.bmp").string(), gfx::EncodeBmp(banner, false));
  gfx::WriteFileBytes((dir / "Module.txt").string(),
                      gfx::EncodePng(gfx::Bitmap(1, 1)));  // overwritten below
  std::string module = R"(object DataModule2: TDataModule
  object Icons: TImageList
    Width = 2
    Height = 2
    Items = <
      item
        Name = 'бой слав'
        Png = 'icon.png'
      end>
  end
end
)";
  std::filesystem::path modulePath = dir / "Module.txt";
  gfx::WriteFileBytes(modulePath.string(), std::vector<std::uint8_t>(module.begin(), module.end()));
  auto* dm = new TDataModule(app.get());
  ReadComponentFile(dm, modulePath.string());
  auto* form = new TProbeForm(app.get());
  ReadComponentText(form, R"(object F: TProbeForm
  object Picture: TImage
    AutoSize = True
    Picture.File = 'banner.bmp'
  end
  object TypeImage: TImage
    Images = DataModule2.Icons
    ImageIndex = 0
  end
end
)",
                    "Unit9.txt", dir.string());
  auto* picture = static_cast<TImage*>(form->FindComponent("Picture"));
  EXPECT_EQ(picture->BoundsRect(), gfx::RectOfSize(0, 0, 6, 3));  // sized after Loaded
  EXPECT_EQ(picture->PictureFile(), (dir / "banner.bmp").string());
  auto* typeImage = static_cast<TImage*>(form->FindComponent("TypeImage"));
  ASSERT_NE(typeImage->Images(), nullptr);
  EXPECT_EQ(typeImage->Images()->ItemName(0), u"бой слав");
  EXPECT_EQ(gfx::PixelA(typeImage->Shown()->At(0, 0)), 100);
  delete dm;  // the form's image forgets the list of the module
  EXPECT_EQ(typeImage->Images(), nullptr);
}

TEST_F(ReaderTest, TheMainWindowsStoredPropertiesAreRead) {
  auto* form = new TProbeForm(app.get());
  ReadComponentText(form, R"(object F: TProbeForm
  BorderIcons = [biSystemMenu]
  KeyPreview = True
  ShowHint = True
  Color = clNavy
  object P: TPanel
    ParentColor = True
    ParentShowHint = False
    ShowHint = False
    object L: TLabel
    end
  end
  object S: TStatusBar
    Font.Name = 'Segoe UI'
    UseSystemFont = False
  end
end
)",
                    "Unit9.txt", dir.string());
  EXPECT_EQ(form->BorderIcons(), TBorderIcons(biSystemMenu));
  EXPECT_TRUE(form->KeyPreview());
  EXPECT_TRUE(form->ShowHint());
  auto* p = static_cast<TControl*>(form->FindComponent("P"));
  EXPECT_EQ(p->Color(), clNavy);
  EXPECT_TRUE(p->ParentColor());
  EXPECT_FALSE(p->ShowHint());
  EXPECT_FALSE(static_cast<TControl*>(form->FindComponent("L"))->ShowHint());
  auto* s = static_cast<TStatusBar*>(form->FindComponent("S"));
  EXPECT_FALSE(s->UseSystemFont());
  EXPECT_EQ(s->Font().Name(), u"Segoe UI");
}

// A class whose factory makes something else.
class TFake : public TComponent {
 public:
  using TComponent::TComponent;
};

TEST_F(ReaderTest, PropertiesApplyOnlyToComponentsOfTheirClass) {
  // A description of another class is refused before anything is set on the root.
  auto* dm = new TDataModule(app.get());
  for (const char* text :
       {"object M: TTimer\n  Interval = 5\nend\n", "object M: TForm\n  KeyPreview = True\nend\n",
        "object M: TPanel\n  BevelWidth = 3\nend\n"}) {
    try {
      ReadComponentText(dm, text, "Unit9.txt", dir.string());
      ADD_FAILURE() << text;
    } catch (const EReadError& e) {
      EXPECT_EQ(e.Message().substr(0, 30), u"Unit9.txt:1: the description o") << text;
      EXPECT_NE(e.Message().find(u"cannot be read into TDataModule"), std::u16string::npos);
    }
  }
  EXPECT_EQ(dm->ComponentCount(), 0);
  delete dm;
  // A form reads a description of any class it derives from.
  EXPECT_EQ(ReadError("object F: TForm\n  KeyPreview = True\nend\n"), u"");
  EXPECT_EQ(ReadError("object F: TWinControl\n  TabStop = True\nend\n"), u"");
  // A class registered with a factory of another class makes nothing of it.
  RegisterClass(
      "TWrongPanel", "TPanel", [](TComponent* owner) { return new TFake(owner); },
      IsInstanceOf<TPanel>);
  EXPECT_EQ(ReadError("object F: TProbeForm\n  object W: TWrongPanel\n    BevelWidth = 2\n"
                      "  end\nend\n"),
            u"Unit9.txt:2: the class TWrongPanel makes another class");
  // A property registered for a class a component is not of is refused, not applied.
  RegisterProperty<TPanel>("TLabel", "Misplaced", [](TPanel* p, const TValueDesc&, TReadContext&) {
    p->SetBevelWidth(7);
  });
  EXPECT_EQ(ReadError("object F: TProbeForm\n  object L: TLabel\n    Misplaced = 1\n"
                      "  end\nend\n"),
            u"Unit9.txt:3: Misplaced: property of another class");
}

}  // namespace
}  // namespace fw::test
