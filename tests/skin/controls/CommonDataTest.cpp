// The skin data of the skinned controls on a form with a manager and small skins made here:
// which section each control resolves and when, the default answers of the skin commands,
// the colour conversion, and what is left when a control or a manager goes first.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "framework/Application.h"
#include "framework/Form.h"
#include "framework/TextConv.h"
#include "platform/win/Backend.h"
#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "platform/win/Styles.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/VirtualDesktop.h"
#include "platform/win/Window.h"
#include "skin/controls/sControls.h"
#include "skin/data/TempDir.h"
#include "skin/paint/sGraphUtils.h"

namespace skin::controls::test {
namespace {

using namespace skin::core;
using skin::data::test::TempDir;

constexpr int kMain = 0x405060, kLabelText = 0x102030, kAlert = 0x0A0B0C, kBorder = 0x112233;
constexpr int kEditBG = 0xE0F0F0, kEditText = 0x000080, kHintBG = 0xC0FFFF, kHintText = 0x40;

std::string Options(const std::string& extraSections) {
  return "[GLOBALINFO]\nVERSION=8.0\nCOLOR=" + std::to_string(kMain) +
         "\nFONTCOLOR=" + std::to_string(kLabelText) + "\nEDITBG_ALERT=" + std::to_string(kAlert) +
         "\nBORDERCOLOR=" + std::to_string(kBorder) + "\n\n" + extraSections +
         "[PANEL]\nCOLOR=16777215\nTRANSPARENCY=50\n\n"
         "[EDIT]\nCOLOR=" +
         std::to_string(kEditBG) + "\nFONTCOLOR=" + std::to_string(kEditText) +
         "\n\n[TRANSPARENT]\nTRANSPARENCY=100\nHOTTRANSPARENCY=100\n\n"
         "[BUTTON]\n\n[STATUSBAR]\n\n[COMBOBOX]\n\n[CHECKBOX]\n\n"
         "[HINT]\nCOLOR=" +
         std::to_string(kHintBG) + "\nFONTCOLOR=" + std::to_string(kHintText) + "\n";
}

class CommonDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app = std::make_unique<fw::TApplication>();
    // T has no lowered panel; U has one, and its sections lie at other indexes.
    dir.Write("T/Options.dat", Options(""));
    dir.Write("U/Options.dat", Options("[MENUITEM]\n\n[PANEL_LOW]\nCOLOR=255\n\n"));
    form = new fw::TForm(app.get());
    form->SetName("F");
    form->SetBorderStyle(fw::TFormBorderStyle::bsNone);
    form->SetBounds(0, 0, 400, 300);
    form->SetColor(fw::clBlack);
  }
  void TearDown() override {
    app.reset();
    EXPECT_EQ(DefaultManager, nullptr);
  }
  TsSkinManager* NewManager(fw::TComponent* owner, const std::u16string& skin) {
    auto* m = new TsSkinManager(owner);
    m->SetSkinDirectory(fw::Utf8ToUtf16(dir.Dir()));
    m->SetSkinName(skin);
    return m;
  }
  template <class T>
  T* Add(fw::TWinControl* parent, const std::string& name) {
    auto* c = new T(form);
    c->SetName(name);
    c->SetBounds(10, 10, 50, 30);
    c->SetParent(parent);
    return c;
  }
  void Show() {
    form->Show();
    desktop.Pump();
  }
  int Index(const char* section) const { return manager->GetSkinIndex(section); }
  static LRESULT Ask(fw::TControl* c, UINT cmd, LPARAM lParam = 0, UINT lo = 0) {
    return c->Perform(SM_ALPHACMD, MakeAlphaCmd(cmd, lo), lParam);
  }

  win::VirtualDesktop desktop{800, 600};
  std::unique_ptr<fw::TApplication> app;
  TempDir dir;
  fw::TForm* form = nullptr;
  TsSkinManager* manager = nullptr;
};

TEST_F(CommonDataTest, EachControlResolvesItsNamedOrDefaultSectionWhenTheSkinIsAnnounced) {
  auto* raised = Add<TsPanel>(form, "Raised");
  auto* lowered = Add<TsPanel>(form, "Lowered");
  lowered->SetBevelOuter(fw::TBevelCut::bvLowered);
  auto* none = Add<TsPanel>(form, "None");
  none->SetBevelOuter(fw::TBevelCut::bvNone);
  auto* space = Add<TsPanel>(form, "Space");
  space->SetBevelOuter(fw::TBevelCut::bvSpace);
  auto* named = Add<TsPanel>(form, "Named");
  named->SkinData().SetSkinSection("edit");
  auto* edit = Add<TsEdit>(form, "E");
  auto* memo = Add<TsMemo>(form, "M");
  auto* button = Add<TsButton>(form, "B");
  auto* combo = Add<TsComboBox>(form, "C");
  auto* bar = Add<TsStatusBar>(form, "S");
  auto* image = Add<TsImage>(raised, "I");  // windowless, inside a skinned container
  auto* tree = Add<TsTreeView>(form, "Tr");
  for (int i : {raised->SkinData().SkinIndex, none->SkinData().SkinIndex}) EXPECT_EQ(i, -1);

  manager = NewManager(form, u"T");
  ASSERT_NE(manager->SkinModel(), nullptr);
  EXPECT_EQ(raised->SkinData().SkinIndex, Index("PANEL"));
  EXPECT_EQ(lowered->SkinData().SkinIndex, -1);  // the skin has no PANEL_LOW
  EXPECT_EQ(none->SkinData().SkinIndex, Index("TRANSPARENT"));
  EXPECT_EQ(space->SkinData().SkinIndex, -1);  // nor GROUPBOX
  EXPECT_EQ(named->SkinData().SkinSection(), "EDIT");
  EXPECT_EQ(named->SkinData().SkinIndex, Index("EDIT"));
  EXPECT_EQ(edit->SkinData().SkinIndex, Index("EDIT"));
  EXPECT_EQ(memo->SkinData().SkinIndex, Index("EDIT"));
  EXPECT_EQ(tree->SkinData().SkinIndex, Index("EDIT"));
  EXPECT_EQ(button->SkinData().SkinIndex, Index("BUTTON"));
  // A drop-down list without a section is painted like a button; this skin has no COMBONOEDIT.
  EXPECT_EQ(combo->SkinData().SkinIndex, Index("BUTTON"));
  EXPECT_EQ(bar->SkinData().SkinIndex, Index("STATUSBAR"));
  EXPECT_EQ(image->SkinData().SkinSection(), "CHECKBOX");
  EXPECT_EQ(image->SkinData().SkinIndex, Index("CHECKBOX"));
  EXPECT_GE(Index("CHECKBOX"), 0);
  EXPECT_EQ(Ask(raised, AC_GETDEFINDEX), Index("PANEL") + 1);
  EXPECT_EQ(Ask(space, AC_GETDEFINDEX), 0);
  EXPECT_TRUE(raised->SkinData().Skinned());
  EXPECT_FALSE(lowered->SkinData().Skinned());

  // Another skin: the lowered panel finds its section now, every index follows the skin.
  manager->SetSkinName(u"U");
  EXPECT_EQ(lowered->SkinData().SkinIndex, Index("PANEL_LOW"));
  EXPECT_GE(Index("PANEL_LOW"), 0);
  EXPECT_EQ(raised->SkinData().SkinIndex, Index("PANEL"));
  EXPECT_EQ(image->SkinData().SkinIndex, Index("CHECKBOX"));

  // No skin: nothing resolves.
  manager->SetActive(false);
  EXPECT_EQ(raised->SkinData().SkinIndex, -1);
  EXPECT_EQ(edit->SkinData().SkinIndex, -1);
  EXPECT_EQ(Ask(raised, AC_GETDEFINDEX), 0);
}

// The library's label counts as skinned (a form's control adapter leaves its colour alone); a
// standard label does not.
TEST_F(CommonDataTest, TheSkinnedLabelCountsAsSkinnedAStandardOneDoesNot) {
  auto* own = Add<TsLabel>(form, "own");
  auto* plain = Add<fw::TLabel>(form, "plain");
  Show();
  EXPECT_TRUE(CtrlIsSkinned(own, false));
  EXPECT_FALSE(CtrlIsSkinned(plain, false));
}

TEST_F(CommonDataTest, SettingTheSectionStoresItUpperCasedAndResolvesItAtOnce) {
  manager = NewManager(form, u"T");
  auto* panel = Add<TsPanel>(form, "P");
  Show();
  TsCommonData& cd = panel->SkinData();
  EXPECT_EQ(cd.SkinIndex, Index("PANEL"));  // resolved when it was shown
  cd.SetSkinSection("edit");
  EXPECT_EQ(cd.SkinSection(), "EDIT");
  EXPECT_EQ(cd.SkinIndex, Index("EDIT"));
  // Unchanged: nothing happens (the cache made meanwhile stays).
  InitCacheBmp(cd);
  cd.SetSkinSection("EDIT");
  EXPECT_EQ(cd.CacheBmp()->Width(), 50);
  // A name the skin lacks leaves the control unskinned; through the command too.
  std::string missing = "nothing";
  EXPECT_EQ(Ask(panel, AC_SETSECTION, LPARAM(&missing)), 1);
  EXPECT_EQ(cd.SkinSection(), "NOTHING");
  EXPECT_EQ(cd.SkinIndex, -1);
  EXPECT_TRUE(cd.CacheBmp()->Empty());
  EXPECT_EQ(Ask(panel, AC_SETSECTION, 0), 0);
  // Back to the default.
  cd.SetSkinSection("");
  EXPECT_EQ(cd.SkinIndex, Index("PANEL"));
}

TEST_F(CommonDataTest, ANewSkinResolvesAgainAndEmptiesTheCache) {
  manager = NewManager(form, u"T");
  auto* panel = Add<TsPanel>(form, "P");
  auto* inner = Add<TsPanel>(panel, "Inner");  // reached through its skinned parent
  Show();
  const gfx::Pixel marker = gfx::MakePixel(1, 2, 3, 4);
  for (TsPanel* p : {panel, inner}) {
    InitCacheBmp(p->SkinData());
    ASSERT_FALSE(p->SkinData().CacheBmp()->Empty());
    p->SkinData().CacheBmp()->Fill(marker);
    p->SkinData().BGChanged = false;
  }
  const int before = Index("PANEL");
  manager->SetSkinName(u"U");
  ASSERT_NE(Index("PANEL"), before);
  // The old picture is gone: the cache is empty and stale, or the panel (which paints itself
  // from its cache) has painted it again in the new skin.
  for (TsPanel* p : {panel, inner}) {
    EXPECT_EQ(p->SkinData().SkinIndex, Index("PANEL")) << p->Name();
    const gfx::Bitmap& cache = *p->SkinData().CacheBmp();
    if (cache.Empty())
      EXPECT_TRUE(p->SkinData().BGChanged) << p->Name();
    else
      EXPECT_NE(cache.At(0, 0), marker) << p->Name();
  }
  EXPECT_FALSE(RestrictDrawing);
}

TEST_F(CommonDataTest, ASectionUpdateReachesExactlyTheControlsNamingThatSectionInAnyCase) {
  manager = NewManager(form, u"T");
  auto* lower = Add<TsPanel>(form, "Lower");
  lower->SkinData().SetSkinSection("panel");
  auto* mixed = Add<TsPanel>(form, "Mixed");
  mixed->SkinData().SetSkinSection("Panel");
  auto* upper = Add<TsPanel>(lower, "Upper");  // inside a skinned panel
  upper->SkinData().SetSkinSection("PANEL");
  auto* byDefault = Add<TsPanel>(form, "Default");  // resolves PANEL without naming it
  auto* edit = Add<TsEdit>(form, "Edit");
  auto* image = Add<TsImage>(mixed, "Image");
  image->SkinData().SetSkinSection("panel");
  Show();
  ASSERT_EQ(byDefault->SkinData().SkinIndex, Index("PANEL"));
  std::vector<TsCommonData*> all{&lower->SkinData(),     &mixed->SkinData(), &upper->SkinData(),
                                 &byDefault->SkinData(), &edit->SkinData(),  &image->SkinData()};
  for (TsCommonData* cd : all) cd->BGChanged = false;
  manager->UpdateSkinSection("panel");
  std::vector<bool> reached;
  for (TsCommonData* cd : all) reached.push_back(cd->BGChanged);
  EXPECT_EQ(reached, (std::vector<bool>{true, true, true, false, false, true}));
}

TEST_F(CommonDataTest, TheControlColourBlendsTheSectionOverTheResolvedParentColour) {
  manager = NewManager(form, u"T");
  auto* panel = Add<TsPanel>(form, "P");  // PANEL: white, transparency 50
  auto* opaque = Add<TsPanel>(form, "O");
  opaque->SkinData().SetSkinSection("EDIT");  // transparency 0
  auto* clear = Add<TsPanel>(panel, "C");     // TRANSPARENT inside P: P's colour
  clear->SetBevelOuter(fw::TBevelCut::bvNone);
  Show();
  ASSERT_EQ(clear->SkinData().SkinIndex, Index("TRANSPARENT"));
  // (255 × 206 + 0 × 50) div 256 in each channel.
  EXPECT_EQ(Ask(panel, AC_GETCONTROLCOLOR), 0xCDCDCD);
  EXPECT_EQ(GetControlColor(panel), 0xCDCDCD);
  EXPECT_EQ(Ask(opaque, AC_GETCONTROLCOLOR), kEditBG);
  EXPECT_EQ(Ask(clear, AC_GETCONTROLCOLOR), 0xCDCDCD);

  // Over a system colour: the colour is looked up before it is mixed.
  form->SetColor(fw::clBtnFace);
  const gfx::COLORREF face = win::GetSysColor(win::COLOR_BTNFACE);
  int expected = 0;
  for (int shift = 0; shift < 24; shift += 8)
    expected |= ((255 * 206 + int(face >> shift & 0xFF) * 50) >> 8) << shift;
  EXPECT_EQ(Ask(panel, AC_GETCONTROLCOLOR), expected);
  EXPECT_EQ(Ask(clear, AC_GETCONTROLCOLOR), expected);
  // A special colour as the parent's colour mixes as its RGB value, not as black.
  form->SetColor(slEditRed);
  const int red = kAlert;  // with the skin, slEditRed is the skin's alert background
  int mixedRed = 0;
  for (int shift = 0; shift < 24; shift += 8)
    mixedRed |= ((255 * 206 + (red >> shift & 0xFF) * 50) >> 8) << shift;
  EXPECT_EQ(Ask(panel, AC_GETCONTROLCOLOR), mixedRed);

  // Unskinned: the control's own colour as RGB.
  manager->SetActive(false);
  panel->SetColor(fw::clWindow);
  EXPECT_EQ(Ask(panel, AC_GETCONTROLCOLOR), LRESULT(win::GetSysColor(win::COLOR_WINDOW)));
  EXPECT_EQ(GetControlColor(panel), fw::TColor(win::GetSysColor(win::COLOR_WINDOW)));
  EXPECT_EQ(GetControlColor(static_cast<fw::TControl*>(nullptr)), fw::clFuchsia);
}

TEST_F(CommonDataTest, TheDefaultAnswersOfTheSkinCommands) {
  manager = NewManager(form, u"T");
  auto* panel = Add<TsPanel>(form, "P");
  auto* image = Add<TsImage>(panel, "I");
  Show();
  TsCommonData& cd = panel->SkinData();
  EXPECT_EQ(Ask(panel, AC_CTRLHANDLED), 1);
  EXPECT_EQ(Ask(image, AC_CTRLHANDLED), 1);
  EXPECT_TRUE(GetBoolMsg(panel->Handle(), AC_CTRLHANDLED));  // straight through its window
  EXPECT_TRUE(CtrlIsSkinned(panel));
  EXPECT_TRUE(CtrlIsSkinned(image));
  EXPECT_EQ(Ask(panel, AC_GETSKINDATA), LRESULT(&cd));
  EXPECT_EQ(GetCommonData(panel->Handle()), &cd);

  TacSectionInfo info;
  Ask(panel, AC_GETSKININDEX, LPARAM(&info));
  EXPECT_EQ(info.siSkinIndex, Index("PANEL"));

  Ask(panel, AC_UPDATING, 0, 1);
  EXPECT_TRUE(cd.FUpdating);
  EXPECT_EQ(Ask(panel, AC_PREPARING), 1);
  Ask(panel, AC_UPDATING, 0, 0);
  EXPECT_FALSE(cd.FUpdating);

  EXPECT_EQ(Ask(panel, AC_GETHALFVISIBLE), 0);
  Ask(panel, AC_SETHALFVISIBLE);
  EXPECT_EQ(Ask(panel, AC_GETHALFVISIBLE), 1);

  cd.BGChanged = false;
  Ask(panel, AC_SETBGCHANGED);
  EXPECT_TRUE(cd.BGChanged);
  Ask(panel, AC_PREPARECACHE);
  EXPECT_FALSE(cd.BGChanged);
  EXPECT_EQ(Ask(panel, AC_CHILDCHANGED), 1);

  InitCacheBmp(cd);
  cd.BGChanged = false;
  Ask(panel, AC_CLEARCACHE);
  EXPECT_TRUE(cd.CacheBmp()->Empty());
  EXPECT_TRUE(cd.BGChanged);

  // The scale reaches the children although the command is not reported handled.
  Ask(panel, AC_SETSCALE, 150);
  EXPECT_EQ(Ask(panel, AC_GETSCALE), 150);
  EXPECT_EQ(Ask(image, AC_GETSCALE), 150);

  Ask(panel, AC_PRINTING, 1234);
  EXPECT_TRUE(cd.CtrlSkinState & ACS_PRINTING);
  EXPECT_EQ(cd.PrintDC, reinterpret_cast<gfx::HDC>(1234));
  Ask(panel, AC_PRINTING, 0);
  EXPECT_FALSE(cd.CtrlSkinState & ACS_PRINTING);

  gfx::TRect bounds;
  Ask(image, AC_GETOUTRGN, LPARAM(&bounds));
  EXPECT_EQ(bounds, (gfx::TRect{10, 10, 60, 40}));
  EXPECT_EQ(Ask(panel, AC_ISOPAQUE), 1);
  EXPECT_EQ(Ask(panel, AC_GETAPPLICATION), LRESULT(fw::Application));

  // The fill a child sees behind it on an opaque section, the parent's on a clear one.
  panel->SkinData().SetSkinSection("EDIT");
  TacBGInfo bg;
  Ask(panel, AC_GETBG, LPARAM(&bg));
  EXPECT_EQ(bg.BgType, TacBGType::btFill);
  EXPECT_EQ(bg.Color, kEditBG);

  // A new skin of another manager is not ours: nothing changes.
  cd.SkinIndex = 12345;
  Ask(panel, AC_SETNEWSKIN, LPARAM(form));
  EXPECT_EQ(cd.SkinIndex, 12345);
  Ask(panel, AC_SETNEWSKIN, LPARAM(manager));
  EXPECT_EQ(cd.SkinIndex, Index("EDIT"));

  // The removal: unskinned, and waiting for a new skin.
  Ask(panel, AC_REMOVESKIN, LPARAM(manager));
  EXPECT_EQ(cd.SkinIndex, -1);
  EXPECT_EQ(cd.BorderIndex, -1);
  EXPECT_TRUE(cd.FUpdating);
  EXPECT_EQ(Ask(panel, AC_PREPARING), 1);
  Ask(panel, AC_REFRESH, LPARAM(manager));
  EXPECT_FALSE(cd.FUpdating);
}

TEST_F(CommonDataTest, SavingMemoryAHiddenControlDropsItsPictureAndItsChildrensToo) {
  manager = NewManager(form, u"T");
  auto* panel = Add<TsPanel>(form, "P");
  auto* inner = Add<TsPanel>(panel, "Inner");
  Show();
  for (TsPanel* p : {panel, inner}) InitCacheBmp(p->SkinData());
  panel->Hide();  // speed first: the pictures stay
  EXPECT_FALSE(panel->SkinData().CacheBmp()->Empty());
  panel->Show();
  manager->Options().OptimizingPriority = opMemory;
  panel->Hide();
  EXPECT_TRUE(panel->SkinData().CacheBmp()->Empty());
  EXPECT_TRUE(inner->SkinData().CacheBmp()->Empty());
}

TEST_F(CommonDataTest, AnEditTakesTheSectionColoursAndTheSystemOnesWhenTheSkinGoes) {
  manager = NewManager(form, u"T");
  // The first in the tab order takes the focus at the first show, and with it the focused
  // state's colours: the one keeping its own colours goes first.
  auto* own = Add<TsEdit>(form, "Own");
  auto* edit = Add<TsEdit>(form, "E");
  own->SetColor(fw::clYellow);
  own->Font().SetColor(fw::clRed);
  own->SkinData().SetCustomColor(true);
  own->SkinData().SetCustomFont(true);
  Show();  // shown: the data is loaded and takes the skin's colours
  ASSERT_TRUE(own->Focused());
  EXPECT_EQ(edit->Color(), kEditBG);
  EXPECT_EQ(edit->Font().Color(), kEditText);
  EXPECT_EQ(own->Color(), fw::clYellow);
  EXPECT_EQ(own->Font().Color(), fw::clRed);

  manager->SetActive(false);
  EXPECT_EQ(edit->Color(), fw::clWindow);
  EXPECT_EQ(edit->Font().Color(), fw::clWindowText);
  EXPECT_EQ(own->Color(), fw::clYellow);
  EXPECT_EQ(own->Font().Color(), fw::clRed);

  // Giving up the own colour saves it; taking it back restores it.
  manager->SetActive(true);
  own->SkinData().SetCustomColor(false);
  EXPECT_EQ(own->SkinData().SavedColor, fw::clYellow);
  EXPECT_EQ(own->Color(), kEditBG);
  own->SkinData().SetCustomColor(true);
  EXPECT_EQ(own->Color(), fw::clYellow);
}

TEST_F(CommonDataTest, ATextOnAClearSectionTakesTheColourOfTheSectionBehindIt) {
  manager = NewManager(form, u"T");
  form->Font().SetColor(0x123456);
  auto* back = Add<TsPanel>(form, "Back");
  back->SetBounds(0, 0, 200, 200);
  back->SkinData().SetSkinSection("EDIT");  // opaque, its text kEditText
  auto* clear = Add<TsPanel>(back, "Clear");
  clear->SetBevelOuter(fw::TBevelCut::bvNone);  // TRANSPARENT
  auto* onForm = Add<TsPanel>(form, "OnForm");
  onForm->SetBevelOuter(fw::TBevelCut::bvNone);
  Show();
  const auto fontColor = [&](TsPanel* p) {
    return GetFontColor(p, p->SkinData().SkinIndex, manager, &p->SkinData(), 0);
  };
  EXPECT_EQ(fontColor(back), kEditText);
  EXPECT_EQ(fontColor(clear), kEditText);
  EXPECT_EQ(fontColor(onForm), 0x123456);  // an unskinned parent: its font colour
  // Disabled: mixed with the background behind it, 100 of 255.
  clear->SetEnabled(false);
  EXPECT_EQ(fontColor(clear), paint::BlendColors(kEditText, kEditBG, 100));
  // Its own colour when it keeps one.
  clear->Font().SetColor(fw::clRed);
  clear->SkinData().SetCustomFont(true);
  EXPECT_EQ(fontColor(clear), fw::clRed);
}

TEST_F(CommonDataTest, UpdatesNestAndOnlyTheLastEndTellsTheControl) {
  manager = NewManager(form, u"T");
  auto* panel = Add<TsPanel>(form, "P");
  int ends = 0;
  const fw::TWndHookId hook = panel->HookWindowProc([&](fw::TMessage& m, const fw::TWndNext& next) {
    if (m.Msg == SM_ALPHACMD && WParamHi(m.WParam) == AC_ENDUPDATE) ++ends;
    next(m);
  });
  TsCommonData& cd = panel->SkinData();
  cd.BeginUpdate();
  cd.BeginUpdate();
  EXPECT_TRUE(cd.CtrlSkinState & ACS_LOCKED);
  cd.EndUpdate();
  EXPECT_EQ(ends, 0);
  cd.EndUpdate();
  EXPECT_EQ(ends, 1);
  EXPECT_FALSE(cd.CtrlSkinState & ACS_LOCKED);
  panel->UnhookWindowProc(hook);
}

TEST_F(CommonDataTest, ColoursConvertThroughOneRuleWithAndWithoutASkin) {
  // The special colours without a skin: their built-in value, never black.
  const std::pair<fw::TColor, int> builtIn[] = {
      {slEditRedText, 0x00006C},   {slEditGreenText, 0x003E0A},    {slEditYellowText, 0x004C4C},
      {slEditRed, 0xDBDBFF},       {slEditGreen, 0xC9FFD2},        {slEditYellow, 0xBAFFFF},
      {slBtnRed, 0xD5D5FF},        {slBtnRedActive, 0xBDBDFF},     {slBtnRedText, 0x0000B4},
      {slBtnRedTextActive, 0xA2},  {slBtnGreen, 0xE1FFD2},         {slBtnGreenActive, 0xCDFFB4},
      {slBtnGreenText, 0x28851A},  {slBtnGreenTextActive, 0x8E00}, {slBtnBlue, 0xFFEDC9},
      {slBtnBlueActive, 0xFFE9BE}, {slBtnBlueText, 0xAE7400},      {slBtnBlueTextActive, 0x916000}};
  for (const auto& [color, rgb] : builtIn) EXPECT_EQ(acColorToRGB(color), gfx::COLORREF(rgb));
  EXPECT_EQ(acColorToRGB(fw::clWindow), win::GetSysColor(win::COLOR_WINDOW));
  EXPECT_EQ(acColorToRGB(0x123456), 0x123456u);
  EXPECT_EQ(acColorToRGB(fw::TColor(0x80123456u)), 0x123456u);

  manager = NewManager(form, u"T");
  ASSERT_TRUE(manager->CommonSkinData().Active);
  // With the skin: the palette entry; the colours the options leave give their defaults.
  EXPECT_EQ(acColorToRGB(slEditRed), gfx::COLORREF(kAlert));
  EXPECT_EQ(acColorToRGB(slEditRed, manager), gfx::COLORREF(kAlert));
  EXPECT_EQ(acColorToRGB(slEditGreen), 0xC9FFD2u);
  for (const auto& [color, rgb] : builtIn) EXPECT_NE(acColorToRGB(color), 0u) << color;
  // A negative colour that is neither a system nor a special colour is its low 24 bits, as
  // without a skin; the system colours keep their meaning.
  EXPECT_EQ(acColorToRGB(fw::TColor(0x80123456u)), 0x123456u);
  EXPECT_EQ(acColorToRGB(fw::TColor(0xFF000065u)), 0x65u);
  EXPECT_EQ(acColorToRGB(fw::clWindow), win::GetSysColor(win::COLOR_WINDOW));
  EXPECT_EQ(acColorToRGB(fw::TColor(0xFF000012u)), win::GetSysColor(win::COLOR_BTNTEXT));

  // With ChangeSysColors the system colours are the skin's.
  manager->Options().SetChangeSysColors(true);
  const auto blend = [](int a, int b, int w) {
    return gfx::COLORREF(paint::BlendColors(a, b, w)) & 0xFFFFFF;
  };
  EXPECT_EQ(acColorToRGB(fw::clWindow), gfx::COLORREF(kEditBG));
  EXPECT_EQ(acColorToRGB(fw::clWindowText), gfx::COLORREF(kEditText));
  EXPECT_EQ(acColorToRGB(fw::clBtnFace), gfx::COLORREF(kMain));
  EXPECT_EQ(acColorToRGB(fw::TColor(0xFF000012u)), gfx::COLORREF(kLabelText));  // button text
  EXPECT_EQ(acColorToRGB(fw::clBtnShadow), blend(kMain, 0, 180));
  EXPECT_EQ(acColorToRGB(fw::cl3DLight), blend(kMain, 0xFFFFFF, 180));
  EXPECT_EQ(acColorToRGB(fw::clGrayText), blend(kMain, kLabelText, 127));
  EXPECT_EQ(acColorToRGB(fw::clInfoBk), gfx::COLORREF(kHintBG));
  EXPECT_EQ(acColorToRGB(fw::clInfoText), gfx::COLORREF(kHintText));
  EXPECT_EQ(acColorToRGB(fw::clSystemColor | win::COLOR_ACTIVEBORDER), gfx::COLORREF(kBorder));
  // No title section: the captions take the main colour and the label text.
  EXPECT_EQ(acColorToRGB(fw::clSystemColor | win::COLOR_ACTIVECAPTION), gfx::COLORREF(kMain));
  EXPECT_EQ(acColorToRGB(fw::clSystemColor | win::COLOR_CAPTIONTEXT), gfx::COLORREF(kLabelText));
  EXPECT_EQ(acColorToRGB(fw::TColor(0x80123456u)), 0x123456u);

  manager->SetActive(false);
  EXPECT_EQ(acColorToRGB(fw::clWindow), win::GetSysColor(win::COLOR_WINDOW));
  EXPECT_EQ(acColorToRGB(slEditRed), 0xDBDBFFu);
}

TEST_F(CommonDataTest, AControlFreedBeforeItsManagerLeavesNothingBehind) {
  manager = NewManager(form, u"T");
  auto* panel = Add<TsPanel>(form, "P");
  auto* image = Add<TsImage>(panel, "I");
  Show();
  const win::HWND wnd = panel->Handle();
  ASSERT_NE(GetCommonData(wnd), nullptr);
  delete panel;  // the image goes with it
  EXPECT_FALSE(win::IsWindow(wnd));
  (void)image;
  // The manager's announcements reach only what is left.
  manager->SetSkinName(u"U");
  manager->SetActive(false);
  manager->SetActive(true);
  EXPECT_TRUE(manager->CommonSkinData().Active);
}

TEST_F(CommonDataTest, AManagerFreedBeforeItsControlsLeavesThemUnskinned) {
  manager = NewManager(form, u"T");
  auto* other = NewManager(nullptr, u"U");  // not the default; freed here
  auto* panel = Add<TsPanel>(form, "P");
  auto* follower = Add<TsPanel>(form, "Follower");
  Show();
  follower->SkinData().SetSkinManager(other);
  EXPECT_EQ(follower->SkinData().StoredSkinManager(), other);
  EXPECT_EQ(follower->SkinData().SkinIndex, other->GetSkinIndex("PANEL"));
  // The default manager is stored as none and still used.
  panel->SkinData().SetSkinManager(manager);
  EXPECT_EQ(panel->SkinData().StoredSkinManager(), nullptr);
  EXPECT_EQ(panel->SkinData().SkinManager(), manager);

  delete other;
  EXPECT_EQ(follower->SkinData().StoredSkinManager(), nullptr);
  EXPECT_EQ(follower->SkinData().SkinIndex, -1);
  EXPECT_EQ(Ask(follower, AC_GETCONTROLCOLOR), LRESULT(acColorToRGB(follower->Color())));

  // The default manager goes before the controls of its form.
  delete manager;
  manager = nullptr;
  EXPECT_EQ(DefaultManager, nullptr);
  EXPECT_EQ(panel->SkinData().SkinManager(), nullptr);
  EXPECT_EQ(panel->SkinData().SkinIndex, -1);
  EXPECT_FALSE(panel->SkinData().Skinned());
  EXPECT_EQ(Ask(panel, AC_GETDEFINDEX), 0);
}

TEST_F(CommonDataTest, TheServiceRoutinesOfTheControls) {
  manager = NewManager(form, u"T");
  auto* outer = Add<TsPanel>(form, "Outer");
  auto* inner = Add<TsPanel>(outer, "Inner");
  auto* image = Add<TsImage>(outer, "Image");
  auto* hidden = Add<TsPanel>(outer, "Hidden");
  hidden->Hide();
  Show();
  EXPECT_TRUE(ContainsWnd(inner->Handle(), outer->Handle()));
  EXPECT_FALSE(ContainsWnd(outer->Handle(), inner->Handle()));
  EXPECT_TRUE(ContainsWnd(inner->Handle(), inner->Handle()));
  EXPECT_EQ(GetRootParent(inner->Handle()), form->Handle());
  EXPECT_EQ(GetOwnerForm(image), form);
  EXPECT_TRUE(ControlIsReady(inner));
  EXPECT_FALSE(ControlIsReady(form));  // no parent

  // The form hears of a control made ready; the children of a painted parent each hear once
  // (a hidden windowed one not at all).
  std::vector<std::string> heard;
  std::vector<std::pair<fw::TControl*, fw::TWndHookId>> hooks;
  const auto listen = [&](fw::TControl* c, UINT cmd) {
    hooks.emplace_back(c, 0);
    hooks.back().second = c->HookWindowProc([&heard, c, cmd](fw::TMessage& m,
                                                             const fw::TWndNext& next) {
      if (m.Msg == SM_ALPHACMD && WParamHi(m.WParam) == cmd)
        heard.push_back(c->Name() + (cmd == AC_CONTROLLOADED
                                         ? ":" + reinterpret_cast<fw::TControl*>(m.LParam)->Name()
                                         : std::string()));
      next(m);
    });
  };
  listen(form, AC_CONTROLLOADED);
  AddToAdapter(inner);
  EXPECT_EQ(heard, (std::vector<std::string>{"F:Inner"}));
  heard.clear();
  for (fw::TControl* c : {static_cast<fw::TControl*>(inner), static_cast<fw::TControl*>(image),
                          static_cast<fw::TControl*>(hidden)})
    listen(c, AC_ENDPARENTUPDATE);
  SetParentUpdated(outer);
  std::sort(heard.begin(), heard.end());
  EXPECT_EQ(heard, (std::vector<std::string>{"Image", "Inner"}));
  for (const auto& [c, id] : hooks) c->UnhookWindowProc(id);

  // Heights of the top-aligned children; the windowless one only when asked for.
  auto* box = Add<TsPanel>(form, "Box");
  box->SetBounds(0, 0, 200, 200);
  auto* top1 = Add<TsPanel>(box, "Top1");
  top1->SetAlign(fw::TAlign::alTop);
  top1->SetHeight(20);
  auto* top2 = Add<TsPanel>(box, "Top2");
  top2->SetAlign(fw::TAlign::alTop);
  top2->SetHeight(30);
  auto* topImage = Add<TsImage>(box, "TopImage");
  topImage->SetAlign(fw::TAlign::alTop);
  topImage->SetHeight(7);
  EXPECT_EQ(GetAlignShift(*box, fw::TAlign::alTop, false), 50);
  EXPECT_EQ(GetAlignShift(*box, fw::TAlign::alTop, true), 57);
  EXPECT_EQ(GetAlignShift(*box, fw::TAlign::alLeft, true), 0);
  EXPECT_EQ(GetAlignShift(*box, fw::TAlign::alClient, true), 0);
}

TEST_F(CommonDataTest, TheMouseIsInAControlOnlyWhereTheControlShows) {
  auto* panel = Add<TsPanel>(form, "P");  // 10,10 50x30 on the form at 0,0
  auto* image = Add<TsImage>(panel, "I");
  image->SetBounds(5, 5, 20, 10);  // 15,15 to 35,25 on the screen
  auto* cover = Add<TsPanel>(form, "Cover");
  cover->SetBounds(100, 100, 40, 40);
  Show();
  const auto at = [&](int x, int y) {
    win::InjectMouseMove({x, y});
    desktop.Pump();
  };
  at(20, 20);
  EXPECT_TRUE(acMouseInControl(panel));
  EXPECT_TRUE(acMouseInControl(image));
  EXPECT_FALSE(acMouseInControl(cover));
  at(12, 12);
  EXPECT_TRUE(acMouseInControl(panel));
  EXPECT_FALSE(acMouseInControl(image));
  at(40, 30);  // in the panel, outside the image
  EXPECT_FALSE(acMouseInControl(image));
  at(5, 5);  // on the form only
  EXPECT_FALSE(acMouseInControl(panel));
  // A control covered by a sibling window: the cursor is over the sibling.
  cover->SetBounds(0, 0, 100, 100);
  cover->BringToFront();
  desktop.Pump();
  at(20, 20);
  EXPECT_TRUE(acMouseInControl(cover));
  EXPECT_FALSE(acMouseInControl(panel));
  // A disabled form has the mouse in none of its windowless controls.
  cover->Hide();
  desktop.Pump();
  at(20, 20);
  EXPECT_TRUE(acMouseInControl(image));
  form->SetEnabled(false);
  EXPECT_FALSE(acMouseInControl(image));
  EXPECT_FALSE(acMouseInControl(nullptr));
}

TEST_F(CommonDataTest, AnOutputWindowWithoutParentIsAHiddenPopupOfTheApplication) {
  auto* out = new TOutputWindow(form);
  const win::HWND h = out->Handle();
  EXPECT_EQ(win::GetParent(h), app->Handle());
  EXPECT_FALSE(win::IsWindowVisible(h));
  EXPECT_EQ(win::GetWindowTextW(h), u"acOutputWindow");
  EXPECT_EQ(out->Color(), fw::clFuchsia);
  EXPECT_FALSE(win::GetWindowLongPtrW(h, win::GWL_EXSTYLE) & win::WS_EX_TOPMOST);
  EXPECT_NE(out->Perform(win::WM_ERASEBKGND, 0, 0), 0);
  // Topmost when its owner's window is.
  win::SetWindowLongPtrW(
      form->Handle(), win::GWL_EXSTYLE,
      win::GetWindowLongPtrW(form->Handle(), win::GWL_EXSTYLE) | win::WS_EX_TOPMOST);
  auto* top = new TOutputWindow(form);
  EXPECT_TRUE(win::GetWindowLongPtrW(top->Handle(), win::GWL_EXSTYLE) & win::WS_EX_TOPMOST);
  // Inside a parent it is an ordinary child.
  auto* child = new TOutputWindow(form);
  child->SetParent(form);
  EXPECT_EQ(win::GetParent(child->Handle()), form->Handle());
}

}  // namespace
}  // namespace skin::controls::test
