// The skinned labels on a form with a manager: the colours their text is drawn in (the skin's
// label colour, the section they stand on, their own when UseSkinColor is off, disabled
// blending), the section behind the text, the skin commands, the dump, and the links of a
// markup label (hover, press, click, and what is opened, through a launcher put in place here).
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "TestOutput.h"
#include "framework/Application.h"
#include "framework/Automation.h"
#include "framework/Form.h"
#include "framework/TextConv.h"
#include "platform/backend/Dump.h"
#include "platform/gfx/PictureCodec.h"
#include "platform/win/Messages.h"
#include "platform/win/Shell.h"
#include "platform/win/VirtualDesktop.h"
#include "skin/controls/sControls.h"
#include "skin/data/TempDir.h"
#include "skin/frame/InternalSkinFormTest.h"
#include "skin/internal/sInternalSkins.h"
#include "skin/paint/sGraphUtils.h"

namespace skin::controls::test {
namespace {

using namespace skin::core;
using skin::data::test::TempDir;

constexpr int kMain = 0x405060, kLabelText = 0x102030, kPanelFont = 0x106020, kBoxColor = 0x30C040;
constexpr int kWeb = 0x00A000, kWebHot = 0x0000E0, kBoxFont = 0x2040A0;

std::string Options() {
  return "[GLOBALINFO]\nVERSION=8.0\nCOLOR=" + std::to_string(kMain) +
         "\nFONTCOLOR=" + std::to_string(kLabelText) + "\nTCBOTTOM=" + std::to_string(kWeb) +
         "\nTCTOP=" + std::to_string(kWebHot) +
         "\n\n[PANEL]\nCOLOR=16777215\nFONTCOLOR=" + std::to_string(kPanelFont) +
         "\n\n[BOX]\nCOLOR=" + std::to_string(kBoxColor) +
         "\nFONTCOLOR=" + std::to_string(kBoxFont) +
         "\n\n[TRANSPARENT]\nTRANSPARENCY=100\nHOTTRANSPARENCY=100\n";
}

class LabelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app = std::make_unique<fw::TApplication>();
    dir.Write("T/Options.dat", Options());
    form = new fw::TForm(app.get());
    form->SetBorderStyle(fw::TFormBorderStyle::bsNone);
    form->SetBounds(0, 0, 400, 300);
    manager = new TsSkinManager(form);
    manager->SetSkinDirectory(fw::Utf8ToUtf16(dir.Dir()));
    manager->SetSkinName(u"T");
    panel = new TsPanel(form);
    panel->SetBounds(0, 0, 300, 200);
    panel->SetParent(form);
  }
  void TearDown() override {
    win::SetShellLauncher(nullptr);
    app.reset();
  }
  template <class T>
  T* Add(const std::u16string& caption, fw::TWinControl* parent = nullptr) {
    auto* l = new T(form);
    l->SetCaption(caption);
    l->SetBounds(10, 10, 120, 20);
    l->SetParent(parent ? parent : panel);
    return l;
  }
  void Show() {
    form->Show();
    desktop.Pump();
  }

  win::VirtualDesktop desktop{800, 600};
  std::unique_ptr<fw::TApplication> app;
  TempDir dir;
  fw::TForm* form = nullptr;
  TsSkinManager* manager = nullptr;
  TsPanel* panel = nullptr;
};

TEST_F(LabelTest, TextColoursFollowTheSkinUnlessTheLabelKeepsItsOwn) {
  auto* label = Add<TsLabel>(u"Type");
  auto* own = Add<TsLabel>(u"Own");
  own->Font().SetColor(fw::clMaroon);
  own->SetUseSkinColor(false);
  auto* custom = Add<TsCustomLabel>(u"Custom");
  auto* onForm = Add<TsLabel>(u"On form", form);
  form->Font().SetColor(0x123456);
  Show();
  EXPECT_EQ(label->TextColor(), kPanelFont);  // the section it stands on
  EXPECT_EQ(own->TextColor(), fw::clMaroon);
  EXPECT_EQ(custom->TextColor(), kLabelText);  // the skin's label colour
  EXPECT_EQ(onForm->TextColor(), 0x123456);    // an unskinned parent: its font colour
  // Its own section names the colour first.
  label->SetSkinSection("panel");
  EXPECT_EQ(label->SkinSection(), "PANEL");
  EXPECT_EQ(label->TextColor(), kPanelFont);

  // Disabled: mixed with what lies behind (100 of 255).
  label->SetSkinSection("");
  label->SetEnabled(false);
  const fw::TColor behind = fw::TColor(acColorToRGB(GetControlColor(panel), manager));
  EXPECT_EQ(label->TextColor(), skin::paint::BlendColors(kPanelFont, behind, DefBlendDisabled));
  own->SetEnabled(false);
  EXPECT_EQ(own->TextColor(), skin::paint::BlendColors(fw::clMaroon, behind, DefBlendDisabled));
  custom->SetEnabled(false);
  EXPECT_EQ(custom->TextColor(), skin::paint::BlendColors(kLabelText, kMain, DefBlendDisabled));

  // No skin: every label its own font colour.
  label->SetEnabled(true);
  manager->SetActive(false);
  EXPECT_EQ(label->TextColor(), label->Font().Color());
  EXPECT_EQ(own->TextColor(),
            skin::paint::BlendColors(fw::clMaroon,
                                     fw::TColor(acColorToRGB(GetControlColor(panel), manager)),
                                     DefBlendDisabled));
}

TEST_F(LabelTest, TheTextIsDrawnInItsColourOverTheSectionBehindIt) {
  auto* label = Add<TsLabel>(u"WWWW");
  label->Font().SetHeight(-20);
  label->SetAutoSize(false);
  label->SetBounds(10, 10, 100, 30);
  label->SetSkinSection("BOX");
  Show();
  const gfx::Bitmap screen = desktop.Compose();
  gfx::WriteFileBytes((tests::OutputFolder("labels") / "section.png").string(),
                      gfx::EncodePng(screen.Copy({0, 0, 300, 200})));
  EXPECT_EQ(gfx::ColorFromPixel(screen.At(10 + 95, 10 + 25)), gfx::COLORREF(kBoxColor));
  bool sawText = false;
  for (int y = 10; y < 40; ++y)
    for (int x = 10; x < 110; ++x)
      if (gfx::ColorFromPixel(screen.At(x, y)) == gfx::COLORREF(kBoxFont)) sawText = true;
  EXPECT_TRUE(sawText);
  // A section the skin lacks paints nothing behind.
  label->SetSkinSection("NOSUCH");
  desktop.Pump();
  EXPECT_NE(gfx::ColorFromPixel(desktop.Compose().At(10 + 95, 10 + 25)), gfx::COLORREF(kBoxColor));
}

TEST_F(LabelTest, SkinCommandsKeepTheParentFontAndTheDumpTellsTheColour) {
  auto* label = Add<TsLabel>(u"Type");
  Show();
  EXPECT_EQ(label->Perform(SM_ALPHACMD, MakeAlphaCmd(AC_CTRLHANDLED), 0), 1);
  ASSERT_TRUE(label->ParentFont());
  label->Perform(SM_ALPHACMD, MakeAlphaCmd(AC_REFRESH), LPARAM(manager));
  label->Font().SetColor(fw::clRed);  // the font is the label's own now
  EXPECT_FALSE(label->ParentFont());
  label->Perform(SM_ALPHACMD, MakeAlphaCmd(AC_REMOVESKIN), LPARAM(manager));
  EXPECT_TRUE(label->ParentFont());  // given back as it was when the skin came

  // The parent names the section of the colour.
  TacPaintInfo info{0, -1, {}, manager};
  EXPECT_EQ(label->Perform(SM_ALPHACMD, MakeAlphaCmd(AC_GETFONTINDEX), LPARAM(&info)), 1);
  EXPECT_EQ(info.FontIndex, panel->SkinData().SkinIndex);

  // The dump: the colour the text is drawn in, in the label's own entry.
  fw::InstallFormDump();
  RegisterSkinClasses();
  label->SetName("Lbl");
  const std::string dump = backend::DumpWindows();
  const std::size_t at = dump.find("\"name\":\"Lbl\"");
  ASSERT_NE(at, std::string::npos) << dump;
  const std::size_t color = dump.find("\"color\":" + std::to_string(kPanelFont) + "}", at);
  ASSERT_NE(color, std::string::npos) << dump.substr(at, 600);
  // In the label's own entry: no other control's class between.
  EXPECT_GT(dump.find("\"class\":", at + 20), color) << dump;
}

TEST_F(LabelTest, AFontChangeKeepsTheHeightAndTheRightEdgeOfARightAlignedLabel) {
  auto* label = Add<TsLabel>(u"Right");
  label->SetAlignment(fw::TAlignment::taRightJustify);
  Show();
  const int right = label->Left() + label->Width();
  label->Font().SetHeight(-24);
  EXPECT_EQ(label->DefFontHeight, -24);
  EXPECT_EQ(label->Left() + label->Width(), right);
  EXPECT_GT(label->Height(), 24);
}

class HtmlLabelTest : public LabelTest {
 protected:
  void SetUp() override {
    LabelTest::SetUp();
    win::SetShellLauncher([this](const std::vector<std::string>& argv) {
      opened.push_back(argv);
      return true;
    });
    label = Add<TsHTMLLabel>(u"go <a href=\"http://e.org/a\">there</a> <a href='b'>b</a>");
    label->Font().SetHeight(-16);
    Show();
    ASSERT_EQ(label->Links.size(), 2u);
  }
  void Mouse(UINT msg, gfx::TPoint p) { label->Perform(msg, 0, win::LParamFromPoint(p)); }
  gfx::TPoint Middle(int link) const {
    const gfx::TRect& r = label->Links[std::size_t(link)].Bounds;
    return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  }

  TsHTMLLabel* label = nullptr;
  std::vector<std::vector<std::string>> opened;
};

TEST_F(HtmlLabelTest, HoverPressAndReleaseOnALinkOpenItsAddress) {
  EXPECT_EQ(label->GetPlainCaption(), u"go there b");
  EXPECT_EQ(label->Links[0].URL, u"http://e.org/a");
  EXPECT_EQ(label->Links[1].URL, u"b");
  Mouse(win::WM_MOUSEMOVE, Middle(0));
  EXPECT_EQ(label->HotLink, 0);
  EXPECT_EQ(label->Cursor(), fw::crHandPoint);
  Mouse(win::WM_LBUTTONDOWN, Middle(0));
  EXPECT_EQ(label->PressedLink, 0);
  Mouse(win::WM_LBUTTONUP, Middle(0));
  EXPECT_EQ(label->PressedLink, -1);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0], (std::vector<std::string>{"xdg-open", "http://e.org/a"}));
  Mouse(win::WM_MOUSEMOVE, {0, 0});
  EXPECT_EQ(label->HotLink, -1);
  EXPECT_EQ(label->Cursor(), fw::crDefault);
}

TEST_F(HtmlLabelTest, ReleasingElsewhereOpensNothingAndTheHandlerDecides) {
  Mouse(win::WM_MOUSEMOVE, Middle(0));
  Mouse(win::WM_LBUTTONDOWN, Middle(0));
  Mouse(win::WM_MOUSEMOVE, {0, 0});
  Mouse(win::WM_LBUTTONUP, {0, 0});
  Mouse(win::WM_MOUSEMOVE, Middle(0));
  Mouse(win::WM_LBUTTONDOWN, Middle(0));
  Mouse(win::WM_LBUTTONUP, Middle(1));  // another link
  EXPECT_TRUE(opened.empty());

  std::vector<std::u16string> seen;
  label->OnLinkClick = [&](fw::TComponent*, std::u16string& url, bool& open) {
    seen.push_back(url);
    if (url == u"b") open = false;
    url = u"http://other.org";
  };
  for (int link : {0, 1}) {
    Mouse(win::WM_MOUSEMOVE, Middle(link));
    Mouse(win::WM_LBUTTONDOWN, Middle(link));
    Mouse(win::WM_LBUTTONUP, Middle(link));
  }
  EXPECT_EQ(seen, (std::vector<std::u16string>{u"http://e.org/a", u"b"}));
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0][1], "http://other.org");
  // Leaving forgets both.
  Mouse(win::WM_MOUSEMOVE, Middle(0));
  Mouse(win::WM_LBUTTONDOWN, Middle(0));
  label->Perform(fw::CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(label->HotLink, -1);
  EXPECT_EQ(label->PressedLink, -1);
}

TEST_F(HtmlLabelTest, LinksTakeTheSkinsWebColoursAndPlainTextAutoSizesToTheMarkup) {
  const gfx::TRect r = label->Links[0].Bounds;
  auto sawColour = [&](int colour) {
    const gfx::Bitmap screen = desktop.Compose();
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x)
        if (gfx::ColorFromPixel(screen.At(label->Left() + x, label->Top() + y)) ==
            gfx::COLORREF(colour))
          return true;
    return false;
  };
  EXPECT_TRUE(sawColour(kWeb));
  Mouse(win::WM_MOUSEMOVE, Middle(0));
  desktop.Pump();
  EXPECT_TRUE(sawColour(kWebHot));
  // Measured as markup: narrower than the caption with its tags.
  EXPECT_LT(label->Width(), 200);
  label->SetUseHTML(false);
  EXPECT_GT(label->Width(), 200);
}

// The catalogue's case in every internal skin: a label in a panel takes the panel's font
// colour; one that keeps its own stays maroon.
class InternalSkinLabelTest : public skin::frame::test::InternalSkinFormTest {};

TEST_F(InternalSkinLabelTest, ALabelInAPanelFollowsEachSkinAndAMaroonOneStays) {
  MakeSkinnedForm(400, 300);
  auto* p = new TsPanel(form);
  p->SetBounds(0, 0, 300, 200);
  p->SetParent(form);
  p->Font().SetName(u"Tahoma");
  p->Font().SetHeight(-19);
  auto* follows = new TsLabel(form);
  follows->SetParent(p);
  follows->SetBounds(9, 6, 89, 23);
  follows->SetCaption(u"Тип музея");
  auto* maroon = new TsLabel(form);
  maroon->SetParent(p);
  maroon->SetBounds(9, 40, 89, 23);
  maroon->Font().SetColor(fw::clMaroon);
  maroon->Font().SetStyle(fw::fsBold);
  maroon->SetUseSkinColor(false);
  maroon->SetCaption(u"Галерея");
  auto* markup = new TsHTMLLabel(form);
  markup->SetParent(p);
  markup->SetBounds(9, 80, 89, 23);
  markup->SetCaption(u"<b>Музей</b> и <a href='x'>ссылка</a> &amp; &eacute;");
  form->Show();
  desktop.Pump();
  // Light text on light ground, or dark on dark, is a fault of the skin.
  auto lightness = [](gfx::COLORREF c) {
    return (299 * gfx::GetRValue(c) + 587 * gfx::GetGValue(c) + 114 * gfx::GetBValue(c)) / 1000;
  };
  int differing = 0;
  for (const auto& s : skin::data::InternalSkins()) {
    manager->SetSkinName(fw::Utf8ToUtf16(s.Name));
    desktop.Pump();
    const std::string file = std::string(s.Name).substr(0, std::string(s.Name).find(' '));
    gfx::WriteFileBytes((tests::OutputFolder("labels") / ("panel-" + file + ".png")).string(),
                        gfx::EncodePng(desktop.Compose().Copy({0, 0, 300, 120})));
    const gfx::COLORREF ground = acColorToRGB(GetControlColor(p), manager);
    EXPECT_GE(std::abs(lightness(gfx::COLORREF(follows->TextColor())) - lightness(ground)), 60)
        << s.Name;
    const skin::data::TacSkinModel* model = manager->SkinModel();
    ASSERT_NE(model, nullptr);
    const int section = p->SkinData().SkinIndex;
    ASSERT_GE(section, 0) << s.Name;
    const fw::TColor expected = model->gd[std::size_t(section)].Props[0].FontColor.Color;
    EXPECT_EQ(follows->TextColor(), expected) << s.Name;
    EXPECT_EQ(maroon->TextColor(), fw::clMaroon) << s.Name;
    if (std::string(s.Name).find("BlueGauze") != std::string::npos) {
      EXPECT_EQ(follows->TextColor(), 0x462814);
    }
    if (expected != 0x462814) ++differing;
  }
  EXPECT_GT(differing, 0);
}

}  // namespace
}  // namespace skin::controls::test
