// The skin manager on streamed and built forms: what it announces and when, what a failed
// load leaves, the settings that reload or only store, the font policy, the hover tracking on
// the virtual clock, and what is left when a manager is freed before those naming it.
#include <set>
#include <stdexcept>

#include "SkinMessageHarness.h"
#include "framework/Dialogs.h"
#include "framework/Harness.h"
#include "framework/Reader.h"
#include "framework/TextConv.h"
#include "platform/gfx/FontLibrary.h"
#include "platform/gfx/RenamedFont.h"
#include "platform/win/Backend.h"
#include "platform/win/Input.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sStyleSimply.h"
#include "skin/data/TempDir.h"
#include "skin/internal/sInternalSkins.h"

namespace skin::core::test {
namespace {

using data::test::TempDir;

// Which controls were still loading when the new skin reached them.
inline std::vector<std::string> gLoadingAtNewSkin;

// Streamable recorders; ThrowOn makes one raise while it handles that sub-command.
template <class Base>
class TStreamed : public TRecorder<Base> {
 public:
  explicit TStreamed(fw::TComponent* owner) : TRecorder<Base>(owner, nullptr, "") {}
  UINT ThrowOn = 0;

 protected:
  void AlphaCmd(fw::TMessage& m) override {
    const UINT cmd = WParamHi(m.WParam);
    if (cmd == AC_SETNEWSKIN && this->HasState(fw::csLoading))
      gLoadingAtNewSkin.push_back(this->Name());
    if (cmd == ThrowOn && ThrowOn) throw std::runtime_error("handler failed");
  }
};

class TRecBox : public TStreamed<fw::TCustomControl> {
 public:
  using TStreamed::TStreamed;
  std::string ClassName() const override { return "TRecBox"; }
};

class TRecGraphic : public TStreamed<fw::TGraphicControl> {
 public:
  using TStreamed::TStreamed;
  std::string ClassName() const override { return "TRecGraphic"; }
  TsCommonData* SkinData = nullptr;  // what it answers to AC_GETSKINDATA

 protected:
  void AlphaCmd(fw::TMessage& m) override {
    TStreamed::AlphaCmd(m);
    if (WParamHi(m.WParam) == AC_GETSKINDATA) m.Result = LRESULT(SkinData);
  }
};

// A form skinned through a provider that follows the manager given.
class TProviderForm : public TPlainForm {
 public:
  struct TProvider : TacFormProvider {
    const fw::TComponent* Manager = nullptr;
    const fw::TComponent* ProviderManager() const override { return Manager; }
  };
  TProviderForm(fw::TComponent* owner, const std::string& name)
      : TPlainForm(owner, nullptr, name) {}
  TProvider Provider;
  // Raises while its drawing is switched off, when set.
  bool ThrowWhileLocked = false;

 protected:
  void AlphaCmd(fw::TMessage& m) override {
    const UINT cmd = WParamHi(m.WParam);
    if (cmd == AC_GETPROVIDER) m.Result = LRESULT(&Provider);
    if (cmd == AC_REFRESH && ThrowWhileLocked && Provider.Animating)
      throw std::runtime_error("refresh failed");
  }
};

constexpr const char* kOptions = "[GLOBALINFO]\nVERSION=8.0\n\n[PANEL]\nCOLOR=5\n";

class SkinManagerTest : public SkinMessageTest {
 protected:
  void SetUp() override {
    SkinMessageTest::SetUp();
    RegisterSkinManager();
    fw::RegisterClass<TRecBox>("TRecBox", "");
    fw::RegisterClass<TRecGraphic>("TRecGraphic", "");
    gLoadingAtNewSkin.clear();
    dir.Write("Blue/Options.dat", std::string(kOptions));
    dir.Write("Other/Options.dat", std::string("[GLOBALINFO]\nVERSION=9.5\n\n[BUTTON]\n"));
    dir.Write("Bad.asz", std::string("this is no package"));
  }
  void TearDown() override {
    app.reset();  // the manager goes with its form
    EXPECT_EQ(DefaultManager, nullptr);
    SkinMessageTest::TearDown();
  }

  // F holds B1, the manager M, and B2 with G inside, streamed in that order.
  void Stream() {
    form = NewForm("");
    fw::ReadComponentText(form,
                          R"(object F: TForm
  object B1: TRecBox
  end
  object M: TsSkinManager
    SkinDirectory = ')" + dir.Dir() +
                              R"('
    SkinName = 'Blue'
    AnimEffects.SkinChanging.Time = 300
  end
  object B2: TRecBox
    object G: TRecGraphic
    end
  end
end
)",
                          "Test.txt", ".");
    manager = dynamic_cast<TsSkinManager*>(form->FindComponent("M"));
    b1 = dynamic_cast<TRecBox*>(form->FindComponent("B1"));
    graphic = dynamic_cast<TRecGraphic*>(form->FindComponent("G"));
    ASSERT_NE(manager, nullptr);
    ASSERT_NE(b1, nullptr);
    // Shown, so that every control has its window and the broadcasts reach G inside B2.
    streamed = gReceipts;
    form->Show();
    desktop.Pump();
    gReceipts.clear();
  }
  // A shown form skinned through a provider that follows the manager.
  TProviderForm* NewHookedForm() {
    auto* hooked = new TProviderForm(app.get(), "H");
    hooked->SetBorderStyle(fw::TFormBorderStyle::bsNone);
    hooked->SetBounds(0, 0, 200, 100);
    hooked->Provider.Manager = manager;
    IntSkinForm(hooked);
    hooked->Show();
    desktop.Pump();
    return hooked;
  }
  int Count(UINT cmd) const { return int(Receivers(cmd).size()); }
  // Sets the name while an Enter closes the error box that may come.
  void SetSkinNameAnswering(const std::u16string& name) {
    desktop.Schedule(10, [] {
      win::InjectKey(fw::test::kEnter, true);
      win::InjectKey(fw::test::kEnter, false);
    });
    manager->SetSkinName(name);
    desktop.Pump();
  }

  TempDir dir;
  TPlainForm* form = nullptr;
  TsSkinManager* manager = nullptr;
  TRecBox* b1 = nullptr;
  TRecGraphic* graphic = nullptr;
  std::vector<TReceipt> streamed;  // what the controls received while streamed
};

const Names kAll{"F", "B1", "B2", "G"};

TEST_F(SkinManagerTest, TheStreamedSkinReachesEveryControlOnceWhileThoseAfterItStillLoad) {
  Stream();
  // Without windows yet, G inside B2 is B2's to reach (as skinned containers do).
  Names names;
  for (const TReceipt& r : streamed) {
    EXPECT_EQ(r.Cmd, UINT(AC_SETNEWSKIN)) << r.Name;
    EXPECT_EQ(r.LParam, LPARAM(manager)) << r.Name;
    names.push_back(r.Name);
  }
  EXPECT_EQ(names, (Names{"F", "B1", "B2"}));
  EXPECT_EQ(gLoadingAtNewSkin, (Names{"B2"}));
  EXPECT_EQ(manager->SkinName(), u"Blue");
  EXPECT_TRUE(manager->CommonSkinData().Active);
  EXPECT_GE(manager->GetSkinIndex("PANEL"), 0);
  EXPECT_GE(manager->ConstData().IndexGLobalInfo, 0);
  EXPECT_EQ(manager->SkinInfo(), u"8.0");
  EXPECT_EQ(manager->AnimEffects().SkinChanging.Time, 300);
  EXPECT_EQ(DefaultManager, manager);
  EXPECT_FALSE(aSkinChanging);
  EXPECT_FALSE(RestrictDrawing);

  // Another skin: one announcement each, no removal.
  gReceipts.clear();
  manager->SetSkinName(u"Other");
  EXPECT_EQ(Receivers(AC_SETNEWSKIN), kAll);
  EXPECT_EQ(Count(AC_REMOVESKIN), 0);
  EXPECT_EQ(manager->GetSkinIndex("PANEL"), -1);
  EXPECT_EQ(manager->SkinInfo(), u"9.5");
}

TEST_F(SkinManagerTest, SwitchingOffRemovesTheSkinAndEmptiesTheConstantTable) {
  Stream();
  ASSERT_NE(manager->Brushes(data::pcEditBG), nullptr);
  EXPECT_EQ(win::BrushColor(manager->Brushes(data::pcEditBG)),
            gfx::COLORREF(manager->SkinModel()->Palette[data::pcEditBG]));
  int deactivated = 0;
  manager->OnDeactivate = [&](fw::TComponent*) { ++deactivated; };
  gReceipts.clear();
  manager->SetActive(false);
  EXPECT_EQ(Receivers(AC_REMOVESKIN), kAll);
  EXPECT_EQ(Count(AC_SETNEWSKIN), 0);
  EXPECT_EQ(deactivated, 1);
  EXPECT_EQ(manager->SkinModel(), nullptr);
  EXPECT_FALSE(manager->CommonSkinData().Active);
  EXPECT_EQ(manager->ConstData().IndexGLobalInfo, -1);
  for (int index : manager->ConstData().Sections) EXPECT_EQ(index, -1);
  EXPECT_EQ(manager->GetSkinIndex("PANEL"), -1);
  EXPECT_EQ(manager->SkinInfo(), u"N/A");
  EXPECT_TRUE(manager->Brushes(data::pcMainColor) == nullptr);

  // While off a name is only kept; switching on loads and announces it.
  gReceipts.clear();
  manager->SetSkinName(u"Other");
  EXPECT_TRUE(gReceipts.empty());
  EXPECT_EQ(manager->SkinModel(), nullptr);
  EXPECT_EQ(manager->SkinName(), u"Other");
  int activated = 0;
  manager->OnActivate = [&](fw::TComponent*) { ++activated; };
  manager->SetActive(true);
  EXPECT_EQ(Receivers(AC_SETNEWSKIN), kAll);
  EXPECT_EQ(activated, 1);
  EXPECT_EQ(manager->SkinInfo(), u"9.5");
  // The manager outlives this body and switches off as it goes: the counters must not be
  // reached then.
  manager->OnActivate = nullptr;
  manager->OnDeactivate = nullptr;
}

TEST_F(SkinManagerTest, ADamagedPackageShowsOneErrorAndChangesNothing) {
  Stream();
  const data::TacSkinModel* model = manager->SkinModel();
  int afterChange = 0;
  manager->OnAfterChange = [&](fw::TComponent*) { ++afterChange; };
  gReceipts.clear();
  const std::size_t boxes = app->Messages().size();
  SetSkinNameAnswering(u"Bad");
  ASSERT_EQ(app->Messages().size(), boxes + 1);
  EXPECT_EQ(app->Messages().back().Icon, fw::TMsgDlgType::mtError);
  EXPECT_EQ(manager->SkinName(), u"Blue");
  EXPECT_EQ(manager->SkinModel(), model);
  EXPECT_TRUE(manager->CommonSkinData().Active);
  EXPECT_TRUE(gReceipts.empty());
  EXPECT_EQ(afterChange, 0);
  EXPECT_FALSE(aSkinChanging);
}

TEST_F(SkinManagerTest, ADescribedSkinThatFailsShowsOneErrorAndAnnouncesNothing) {
  form = NewForm("");
  desktop.Schedule(10, [] {
    win::InjectKey(fw::test::kEnter, true);
    win::InjectKey(fw::test::kEnter, false);
  });
  fw::ReadComponentText(form,
                        R"(object F: TForm
  object B1: TRecBox
  end
  object M: TsSkinManager
    Active = False
    SkinDirectory = ')" + dir.Dir() +
                            R"('
    SkinName = 'Bad'
    Active = True
  end
end
)",
                        "Test.txt", ".");
  desktop.Pump();
  manager = dynamic_cast<TsSkinManager*>(form->FindComponent("M"));
  ASSERT_NE(manager, nullptr);
  ASSERT_EQ(app->Messages().size(), 1u);
  EXPECT_EQ(app->Messages()[0].Icon, fw::TMsgDlgType::mtError);
  EXPECT_EQ(manager->SkinModel(), nullptr);
  EXPECT_TRUE(gReceipts.empty());
}

TEST_F(SkinManagerTest, AThrowingHandlerLeavesEveryFlagClearAndFormsPainting) {
  Stream();
  TProviderForm* hooked = NewHookedForm();

  // During the new-skin broadcast.
  b1->ThrowOn = AC_SETNEWSKIN;
  EXPECT_ANY_THROW(manager->SetSkinName(u"Other"));
  EXPECT_FALSE(RestrictDrawing);
  EXPECT_FALSE(aSkinChanging);
  EXPECT_EQ(manager->ManagerState(), 0u);
  b1->ThrowOn = 0;

  // During the repaint of a reload, while the provider's form is locked.
  hooked->ThrowWhileLocked = true;
  EXPECT_ANY_THROW(manager->SetHueOffset(40));
  EXPECT_FALSE(InAnimationProcess);
  EXPECT_FALSE(hooked->Provider.Animating);
  EXPECT_FALSE(aSkinChanging);
  EXPECT_EQ(manager->ManagerState(), 0u);
  hooked->ThrowWhileLocked = false;
  const int before = hooked->Paints;
  hooked->Invalidate();
  desktop.Pump();
  EXPECT_GT(hooked->Paints, before);

  // And the next announcement reaches everyone.
  gReceipts.clear();
  manager->UpdateSkin(false);
  EXPECT_EQ(Receivers(AC_SETNEWSKIN), (Names{"F", "B1", "B2", "G", "H"}));
  IntUnSkinForm(hooked);
}

TEST_F(SkinManagerTest, AReloadLocksAndRevealsTheProvidersForms) {
  Stream();
  TProviderForm* hooked = NewHookedForm();
  bool lockedAtRefresh = false;
  hooked->OnAlphaCmd = [&](const fw::TMessage& m) {
    if (WParamHi(m.WParam) == AC_REFRESH && hooked->Provider.Animating) lockedAtRefresh = true;
  };
  const int before = hooked->Paints;
  manager->SetSaturation(-100);
  EXPECT_TRUE(lockedAtRefresh);
  EXPECT_FALSE(hooked->Provider.Animating);
  EXPECT_FALSE(InAnimationProcess);
  desktop.Pump();
  EXPECT_GT(hooked->Paints, before);
  // A form following another manager is left alone.
  hooked->Provider.Manager = b1;
  lockedAtRefresh = false;
  manager->SetSaturation(0);
  EXPECT_FALSE(lockedAtRefresh);
  IntUnSkinForm(hooked);
}

TEST_F(SkinManagerTest, ColourSettingsReloadOnlyWhenTheStoredValueChanges) {
  Stream();
  int afterChange = 0;
  manager->OnAfterChange = [&](fw::TComponent*) { ++afterChange; };
  const data::TacSkinModel* model = manager->SkinModel();

  manager->SetHueOffset(0);
  EXPECT_EQ(manager->SkinModel(), model);
  EXPECT_EQ(afterChange, 0);

  gReceipts.clear();
  manager->SetBrightness(250);
  EXPECT_EQ(manager->Brightness(), 100);
  EXPECT_NE(manager->SkinModel(), model);
  EXPECT_EQ(Receivers(AC_SETNEWSKIN), kAll);
  EXPECT_EQ(afterChange, 1);
  model = manager->SkinModel();
  gReceipts.clear();
  manager->SetBrightness(100);
  EXPECT_EQ(manager->SkinModel(), model);
  EXPECT_TRUE(gReceipts.empty());
  EXPECT_EQ(afterChange, 1);
  manager->SetBrightness(-300);
  EXPECT_EQ(manager->Brightness(), -100);
}

TEST_F(SkinManagerTest, ExtendedBordersReloadAndRepaintWithoutANewSkin) {
  Stream();
  const data::TacSkinModel* model = manager->SkinModel();
  manager->SetExtendedBorders(true);
  EXPECT_NE(manager->SkinModel(), model);
  EXPECT_TRUE(manager->CommonSkinData().Active);
  EXPECT_EQ(Count(AC_SETNEWSKIN), 0);
  EXPECT_EQ(Receivers(AC_REFRESH), kAll);
  gReceipts.clear();
  manager->SetExtendedBorders(true);
  EXPECT_TRUE(gReceipts.empty());
}

TEST_F(SkinManagerTest, UpdateBracketsAnnounceOnce) {
  Stream();
  int afterChange = 0;
  manager->OnAfterChange = [&](fw::TComponent*) { ++afterChange; };
  gReceipts.clear();
  manager->BeginUpdate();
  manager->SetSkinName(u"Other");
  manager->SetSkinName(u"Blue");
  EXPECT_TRUE(gReceipts.empty());
  EXPECT_EQ(afterChange, 0);
  EXPECT_EQ(manager->SkinInfo(), u"8.0");  // loaded meanwhile
  manager->EndUpdate(true, false);
  EXPECT_EQ(Receivers(AC_SETNEWSKIN), kAll);
  EXPECT_EQ(afterChange, 1);
  EXPECT_FALSE(manager->NoAutoUpdate());
  EXPECT_TRUE(manager->AnimEffects().SkinChanging.Active);
}

TEST_F(SkinManagerTest, TheOnlyManagerStaysTheDefaultAndASectionUpdateReachesEveryone) {
  Stream();
  gReceipts.clear();
  manager->SetIsDefault(false);
  EXPECT_TRUE(manager->IsDefault());
  EXPECT_TRUE(gReceipts.empty());

  std::vector<std::string> names;
  b1->OnAlphaCmd = [&](const fw::TMessage& m) {
    if (WParamHi(m.WParam) == AC_UPDATESECTION)
      names.push_back(reinterpret_cast<const char*>(m.LParam));
  };
  manager->UpdateSkinSection("Panel");
  EXPECT_EQ(Receivers(AC_UPDATESECTION), kAll);
  EXPECT_EQ(names, (std::vector<std::string>{"PANEL"}));
}

TEST_F(SkinManagerTest, CommonSectionsLoseTheirSpacesButForComments) {
  Stream();
  gReceipts.clear();
  manager->SetCommonSections({u" [PANEL] ;x", u"COLOR = 7", u"; keep  these", u""});
  EXPECT_EQ(manager->CommonSections().Lines(),
            (std::vector<std::u16string>{u"[PANEL];x", u"COLOR=7", u"; keep  these", u""}));
  // The skin was loaded again with the overlay, and announced.
  EXPECT_EQ(Receivers(AC_SETNEWSKIN), kAll);
  EXPECT_GE(manager->GetSkinIndex("PANEL"), 0);
}

TEST_F(SkinManagerTest, EveryInternalSkinLoadsWithOneAnnouncement) {
  form = NewForm("F");
  manager = new TsSkinManager(form);
  manager->AfterConstruction();
  manager->SetSkinDirectory(fw::Utf8ToUtf16(dir.Dir()));
  data::AddInternalSkins(manager->InternalSkins());
  new TPlainBox(form, form, "Box");
  for (const data::TacInternalSkinData& skin : data::InternalSkins()) {
    gReceipts.clear();
    manager->SetSkinName(fw::Utf8ToUtf16(skin.Name));
    EXPECT_EQ(Receivers(AC_SETNEWSKIN), (Names{"F", "Box"})) << skin.Name;
    EXPECT_EQ(manager->SkinName(), fw::Utf8ToUtf16(skin.Name));
    EXPECT_TRUE(manager->CommonSkinData().Active) << skin.Name;
    EXPECT_GE(manager->GetSkinIndex("FORM"), 0) << skin.Name;
    EXPECT_NE(manager->SkinInfo(), u"N/A") << skin.Name;
  }
  EXPECT_TRUE(app->Messages().empty());
}

TEST_F(SkinManagerTest, TheFontPolicyLeavesFontsTheProgramChose) {
  Stream();
  manager->StoreDefFont();
  const std::u16string stored = manager->DefStoredFontName();
  ASSERT_FALSE(stored.empty());
  // No font chosen yet: a control in the stored font keeps it (no empty face name).
  ASSERT_TRUE(manager->CommonSkinData().Active);
  b1->SetParentFont(false);
  b1->Font().SetName(stored);
  EXPECT_FALSE(manager->UpdateFontName(b1));
  EXPECT_EQ(b1->Font().Name(), stored);
  std::vector<std::pair<std::u16string, std::u16string>> changes;
  manager->OnFontChanged = [&](fw::TComponent*, const std::u16string& from,
                               const std::u16string& to) { changes.emplace_back(from, to); };
  gReceipts.clear();
  manager->ChangeAppFont(u"Verdana", false);
  EXPECT_EQ(Receivers(AC_FONTSCHANGED), kAll);
  EXPECT_EQ(changes,
            (std::vector<std::pair<std::u16string, std::u16string>>{{stored, u"Verdana"}}));
  manager->ChangeAppFont(u"Verdana", false);  // the name in use: nothing
  EXPECT_EQ(changes.size(), 1u);

  b1->SetParentFont(false);
  b1->Font().SetName(u"Courier New");  // the program's own choice
  EXPECT_FALSE(manager->UpdateFontName(b1));
  EXPECT_EQ(b1->Font().Name(), u"Courier New");
  b1->Font().SetName(stored);
  EXPECT_TRUE(manager->UpdateFontName(b1));
  EXPECT_EQ(b1->Font().Name(), u"Verdana");
  // A control following its parent's font is its parent's business.
  graphic->SetParentFont(true);
  EXPECT_FALSE(manager->UpdateFontName(graphic));
}

TEST_F(SkinManagerTest, HoverMovesWithLeaveBeforeEnterAndTheCheckNoticesTheMouseLeaving) {
  Stream();
  auto* b2 = dynamic_cast<TRecBox*>(form->FindComponent("B2"));
  b1->SetBounds(0, 0, 50, 50);
  b2->SetBounds(100, 0, 50, 50);
  desktop.Pump();
  const fw::TPoint inB2 = b2->ClientToScreen({10, 10});
  win::InjectMouseMove(inB2);
  desktop.Pump();

  gReceipts.clear();
  manager->SetActiveControl(b1->Handle());
  manager->SetActiveControl(b2->Handle());
  std::vector<std::pair<std::string, UINT>> seen;
  for (const TReceipt& r : gReceipts) {
    seen.emplace_back(r.Name, r.Cmd);
    EXPECT_EQ(r.LParam, LPARAM(manager));
  }
  EXPECT_EQ(seen, (std::vector<std::pair<std::string, UINT>>{
                      {"B1", AC_MOUSEENTER}, {"B1", AC_MOUSELEAVE}, {"B2", AC_MOUSEENTER}}));
  // A parent does not take the hover from a child that still has the mouse.
  gReceipts.clear();
  manager->SetActiveControl(form->Handle());
  EXPECT_EQ(manager->ActiveControl(), b2->Handle());
  EXPECT_TRUE(gReceipts.empty());

  // The mouse stays: the checks find it inside.
  desktop.Advance(350);
  EXPECT_TRUE(gReceipts.empty());
  // It leaves: nothing until the next check, within 100 ms.
  win::InjectMouseMove(b2->ClientToScreen({200, 200}));
  desktop.Pump();
  EXPECT_EQ(Count(AC_MOUSELEAVE), 0);
  desktop.Advance(100);
  EXPECT_EQ(Receivers(AC_MOUSELEAVE), (Names{"B2"}));
  EXPECT_EQ(manager->ActiveControl(), nullptr);
  desktop.Advance(300);
  EXPECT_EQ(Count(AC_MOUSELEAVE), 1);

  // A windowless control is told when another takes its place.
  gReceipts.clear();
  manager->SetActiveGraphControl(graphic);
  manager->SetActiveGraphControl(nullptr);
  ASSERT_EQ(Receivers(AC_MOUSELEAVE), (Names{"G"}));
  EXPECT_EQ(gReceipts.back().LParam, LPARAM(manager));

  // One whose skin data still feel the mouse above it keeps the hover until they do not.
  TsCommonData data(graphic, false);
  graphic->SkinData = &data;
  data.FMouseAbove = true;
  manager->SetActiveGraphControl(graphic);
  gReceipts.clear();
  manager->SetActiveGraphControl(nullptr);
  EXPECT_EQ(manager->ActiveGraphControl(), graphic);
  EXPECT_EQ(Count(AC_MOUSELEAVE), 0);
  data.FMouseAbove = false;
  manager->SetActiveGraphControl(nullptr);
  EXPECT_EQ(manager->ActiveGraphControl(), nullptr);
  EXPECT_EQ(Receivers(AC_MOUSELEAVE), (Names{"G"}));
  graphic->SkinData = nullptr;
}

TEST_F(SkinManagerTest, NothingKeepsAFreedManagerOrAFreedHoveredControl) {
  Stream();
  manager->SetActiveGraphControl(graphic);
  delete graphic;
  EXPECT_EQ(manager->ActiveGraphControl(), nullptr);

  // A component that names the manager, and skin data that hold a reference.
  class TUser : public fw::TComponent {
   public:
    explicit TUser(TsSkinManager* m) : TComponent(nullptr), Manager(m) { FreeNotification(m); }
    TsSkinManager* Manager;

   protected:
    void Notification(fw::TComponent* c, fw::TOperation op) override {
      if (op == fw::TOperation::opRemove && c == Manager) Manager = nullptr;
      TComponent::Notification(c, op);
    }
  };
  TUser user(manager);
  TacManagerRef ref(manager);
  int freed = 0;
  ref.OnFreed = [&] { ++freed; };
  {
    TacManagerRef gone(manager);  // leaves before the manager
  }
  gReceipts.clear();
  delete manager;
  EXPECT_EQ(user.Manager, nullptr);
  EXPECT_EQ(ref.Get(), nullptr);
  EXPECT_EQ(freed, 1);
  EXPECT_EQ(DefaultManager, nullptr);
  // Its skin was taken off on the way.
  EXPECT_EQ(Receivers(AC_REMOVESKIN), (Names{"F", "B1", "B2"}));  // G is gone
}

TEST_F(SkinManagerTest, ForeignClassListsAreExactAndGoBackToTheirTexts) {
  Stream();
  EXPECT_EQ(manager->ThirdLists(tpButton).Lines(), (std::vector<std::u16string>{u"TButton"}));
  EXPECT_EQ(manager->ThirdLists(tpEdit).Lines(), (std::vector<std::u16string>{u" "}));
  manager->ThirdParty().SetText(tpEdit, u"TEdit\r\nTMaskEdit");
  manager->ThirdParty().SetText(tpGrid, u"");
  LoadThirdNames(*manager, false);
  EXPECT_EQ(manager->ThirdLists(tpEdit).IndexOf(u"TMaskEdit"), 1);
  EXPECT_EQ(manager->ThirdLists(tpEdit).IndexOf(u"tmaskedit"), -1);
  EXPECT_EQ(manager->ThirdParty().Text(tpGrid), u" ");  // an empty one takes its default
  UpdateThirdNames(*manager);
  EXPECT_EQ(manager->ThirdParty().Text(tpEdit), u"TEdit\r\nTMaskEdit\r\n");
  LoadThirdNames(*manager, true);
  EXPECT_EQ(manager->ThirdParty().Text(tpEdit), u" ");
}

TEST_F(SkinManagerTest, StoredSettingsArriveFromTheDescription) {
  form = NewForm("");
  fw::ReadComponentText(form,
                        R"(object F: TForm
  object M: TsSkinManager
    Active = False
    SkinDirectory = ')" + dir.Dir() +
                            R"('
    SkinName = 'Blue'
    Brightness = 250
    SkinsFilter = [sfiInternal]
    SkinningRules = [srStdForms, srThirdParty]
    Effects.AllowGlowing = False
    AnimEffects.BlendOnMoving.BlendValue = 99
    AnimEffects.Minimizing.Mode = atFading
    AnimEffects.Buttons.Events = [beMouseDown]
    ButtonsOptions.ModalButtonsColoring = [bcText, bcBackground]
    MenuSupport.AlphaBlend = 200
    Options.ScaleMode = sm150
    Options.ArrowsStyle = arsLines2
    Fonts.MainMode = fmCustom
    Fonts.MainFont = 'Tahoma'
    CommonSections.Strings = (
      '[PANEL]'
      'COLOR = 3')
    ThirdParty.ThirdGrids = 'TStringGrid'#13#10
  end
end
)",
                        "Test.txt", ".");
  manager = dynamic_cast<TsSkinManager*>(form->FindComponent("M"));
  ASSERT_NE(manager, nullptr);
  EXPECT_TRUE(gReceipts.empty());
  EXPECT_EQ(manager->SkinModel(), nullptr);
  EXPECT_EQ(manager->SkinName(), u"Blue");
  EXPECT_EQ(manager->Brightness(), 100);
  EXPECT_EQ(manager->SkinsFilter(), acBit(sfiInternal));
  EXPECT_EQ(manager->SkinningRules(), acBit(srStdForms) | acBit(srThirdParty));
  EXPECT_FALSE(manager->Effects().AllowGlowing);
  EXPECT_EQ(manager->AnimEffects().BlendOnMoving.BlendValue, 99);
  EXPECT_EQ(manager->AnimEffects().Minimizing.Mode, atFading);
  EXPECT_EQ(manager->AnimEffects().Minimizing.Time, 120);
  EXPECT_EQ(manager->AnimEffects().Buttons.Events, acBit(beMouseDown));
  EXPECT_EQ(manager->ButtonsOptions().ModalButtonsColoring, acBit(bcText) | acBit(bcBackground));
  EXPECT_EQ(manager->MenuSupport().AlphaBlend, 200);
  EXPECT_EQ(manager->GetScale(), 2);
  EXPECT_EQ(manager->ScaleInt(10), 15);
  EXPECT_EQ(manager->Options().ActualArrowStyle(), arsLines2);
  EXPECT_EQ(manager->Fonts().MainMode(), fmCustom);
  EXPECT_EQ(manager->Fonts().MainFont(), u"Tahoma");
  EXPECT_EQ(manager->CommonSections().Lines(),
            (std::vector<std::u16string>{u"[PANEL]", u"COLOR=3"}));
  EXPECT_EQ(manager->ThirdLists(tpGrid).IndexOf(u"TStringGrid"), 0);
  EXPECT_EQ(manager->SkinInfo(), u"N/A");
  EXPECT_EQ(manager->Version(), u"13.15");
}

TEST_F(SkinManagerTest, TheFontsASkinCarriesBecomeAvailableToTheProgram) {
  // A face whose family nothing else on the machine has: finding it proves the skin gave it.
  std::vector<std::uint8_t> font =
      gfx::test::ReadFontFile("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
  ASSERT_GT(font.size(), 10000u);
  gfx::test::Rename(font, "DejaVu Sans", "Skinned Tip");
  dir.Write("Fonted/fonts/tip.ttf", font);
  dir.Write("Fonted/Options.dat",
            std::string("[GLOBALINFO]\nVERSION=8.0\nFontCount=2\nFontFile0=fonts/tip.ttf\n"
                        "FontName0=Skinned Tip\nFontFile1=missing.ttf\nFontName1=Gone\n"));
  EXPECT_NE(gfx::ResolveFace(u"Skinned Tip", false, false).family, u"Skinned Tip");
  Stream();
  manager->SetSkinName(u"Fonted");
  ASSERT_EQ(manager->SkinName(), u"Fonted");
  EXPECT_EQ(gfx::ResolveFace(u"Skinned Tip", false, false).family, u"Skinned Tip");
}

TEST_F(SkinManagerTest, ALaterSkinVersionWarnsOnceAndIsStillUsed) {
  Stream();
  dir.Write("Future/Options.dat", std::string("[GLOBALINFO]\nVERSION=14.5\n"));
  SetSkinNameAnswering(u"Future");
  ASSERT_EQ(app->Messages().size(), 1u);
  EXPECT_EQ(app->Messages()[0].Icon, fw::TMsgDlgType::mtWarning);
  EXPECT_EQ(manager->SkinInfo(), u"14.5");
  EXPECT_EQ(Receivers(AC_SETNEWSKIN), kAll);
  EXPECT_EQ(manager->SkinningRules(),
            acBit(srStdForms) | acBit(srStdDialogs) | acBit(srThirdParty));
}

TEST_F(SkinManagerTest, ARandomSkinIsOneOfTheOffered) {
  form = NewForm("F");
  manager = new TsSkinManager(form);
  manager->AfterConstruction();
  manager->SetSkinDirectory(fw::Utf8ToUtf16(dir.Dir() + "none"));  // no external skins
  EXPECT_EQ(manager->GetRandomSkin(), "");
  data::AddInternalSkins(manager->InternalSkins());
  manager->SetSkinsFilter(acBit(sfiInternal));  // the list is read again
  std::set<std::string> drawn;
  for (int i = 0; i < 40; ++i) drawn.insert(manager->GetRandomSkin());
  for (const std::string& name : drawn) EXPECT_NE(data::FindInternalSkin(name), nullptr) << name;
  EXPECT_GT(drawn.size(), 1u);
}

TEST(SkinManagerScale, LogicalDpiGivesTheScaleStep) {
  std::vector<int> steps;
  for (int dpi : {0, 96, 119, 120, 143, 144, 191, 192, 480}) steps.push_back(acScaleOfDpi(dpi));
  EXPECT_EQ(steps, (std::vector<int>{0, 0, 0, 1, 1, 2, 2, 3, 3}));
}

}  // namespace
}  // namespace skin::core::test
