// The control adapter on a bare form of standard controls under an internal skin, with a test
// owner standing for the form's provider: which controls get which wrapper, what refuses or
// excepts a control, rescans that wrap nothing twice, wrappers that come and go with the skin
// and with their controls, and labels that take the skin's font colour and get theirs back.
#include <gtest/gtest.h>

#include "InternalSkinFormTest.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "framework/Application.h"
#include "framework/Button.h"
#include "framework/Edit.h"
#include "framework/Form.h"
#include "framework/Frame.h"
#include "framework/Label.h"
#include "framework/Memo.h"
#include "framework/Panel.h"
#include "framework/TextConv.h"
#include "framework/TreeView.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/VirtualDesktop.h"
#include "platform/win/Window.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sMessages.h"
#include "skin/core/sVclUtils.h"
#include "skin/draw/sGraphUtils.h"
#include "skin/frame/sCtrlAdapter.h"
#include "skin/internal/sInternalSkins.h"

namespace skin::frame {
namespace {

using namespace skin::core;

class TTestOwner : public TacAdapterOwner {
 public:
  fw::TWinControl* AdapterForm() const override { return Form; }
  bool AllowSkin3rdParty() const override { return Allow; }
  const TsThirdPartyList* OwnThirdParty() const override { return Own; }
  TsSkinManager* AdapterManager() const override { return Manager; }
  void SkinItem(fw::TControl* control, bool& canBeAdded, TacSkinParams& params) override {
    if (OnSkinItem) OnSkinItem(control, canBeAdded, params);
  }
  void AddFormProvider(fw::TCustomForm& form, const std::string& section) override {
    Providers.emplace_back(&form, section);
  }

  fw::TWinControl* Form = nullptr;
  TsSkinManager* Manager = nullptr;
  bool Allow = true;
  const TsThirdPartyList* Own = nullptr;
  std::function<void(fw::TControl*, bool&, TacSkinParams&)> OnSkinItem;
  std::vector<std::pair<fw::TCustomForm*, std::string>> Providers;
};

class CtrlAdapterTest : public test::InternalSkinFormTest {
 protected:
  void SetUp() override {
    MakeSkinnedForm(400, 300, [](TsSkinManager& m) {
      m.ThirdParty().SetText(tpEdit, u"TEdit\nTMemo");
      m.ThirdParty().SetText(tpTreeView, u"TTreeView\nTMemo");
    });
    edit = Add<fw::TEdit>(form, 10, 10);
    memo = Add<fw::TMemo>(form, 10, 40);
    tree = Add<fw::TTreeView>(form, 150, 10);
    button = Add<fw::TButton>(form, 150, 150);
    panel = Add<fw::TPanel>(form, 250, 10);
    inner = Add<fw::TEdit>(panel, 5, 5);
    label = Add<fw::TLabel>(form, 10, 200);
    form->Show();
    desktop.Pump();
    owner.Form = form;
    owner.Manager = manager;
  }
  void TearDown() override {
    adapter.reset();
    InternalSkinFormTest::TearDown();
  }
  template <class C>
  C* Add(fw::TWinControl* parent, int left, int top) {
    auto* c = new C(form);
    c->SetBounds(left, top, 100, 25);
    c->SetParent(parent);
    return c;
  }
  void MakeAdapter() {
    adapter = std::make_unique<TacCtrlAdapter>(owner);
    adapter->AddAllItems();
  }
  static std::string WrapperOf(fw::TWinControl* c) {
    TacMainWnd* w = Ac_GetScrollWndFromHwnd(c->Handle());
    return w && !w->Destroyed() ? w->ClassName() : "";
  }

  fw::TEdit* edit = nullptr;
  fw::TMemo* memo = nullptr;
  fw::TTreeView* tree = nullptr;
  fw::TButton* button = nullptr;
  fw::TPanel* panel = nullptr;
  fw::TEdit* inner = nullptr;
  fw::TLabel* label = nullptr;
  TTestOwner owner;
  std::unique_ptr<TacCtrlAdapter> adapter;
};

// Each listed control gets the wrapper of the first list naming its class (the memo is in the
// edits and the trees), a control inside a panel is reached, unlisted and excepted controls are
// left alone, and a rescan wraps nothing twice.
TEST_F(CtrlAdapterTest, ListedControlsGetTheWrapperOfTheirFirstList) {
  auto* excepted = Add<fw::TEdit>(form, 10, 70);
  excepted->Tag = ExceptTag | 1;
  desktop.Pump();
  MakeAdapter();
  EXPECT_EQ(WrapperOf(edit), "TacEditWnd");
  EXPECT_EQ(WrapperOf(memo), "TacEditWnd");
  EXPECT_EQ(WrapperOf(tree), "TacTreeViewWnd");
  EXPECT_EQ(WrapperOf(button), "TacButtonWnd");
  EXPECT_EQ(WrapperOf(inner), "TacEditWnd");
  EXPECT_EQ(WrapperOf(panel), "");
  EXPECT_EQ(WrapperOf(excepted), "");
  EXPECT_FALSE(adapter->IsControlSupported(excepted));
  EXPECT_EQ(adapter->Count(), 5);
  EXPECT_EQ(adapter->ThirdListIndex("TMemo"), int(tpEdit));
  EXPECT_EQ(adapter->ThirdListIndex("TButton"), int(tpButton));
  // Each wrapper owns skin data of its own, bound to the control.
  const int at = adapter->IndexOf(tree);
  ASSERT_GE(at, 0);
  ASSERT_NE(adapter->GetCommonData(at), nullptr);
  EXPECT_EQ(adapter->GetCommonData(at)->OwnerControl(), tree);
  EXPECT_EQ(adapter->GetItem(at).ScrollWnd.get(), Ac_GetScrollWndFromHwnd(tree->Handle()));
  // Wrapped windows are skinned now: a second scan finds nothing to add.
  EXPECT_FALSE(adapter->IsControlSupported(edit));
  TacMainWnd* before = adapter->GetItem(at).ScrollWnd.get();
  adapter->AddAllItems();
  adapter->AddNewItem(tree);
  EXPECT_EQ(adapter->Count(), 5);
  EXPECT_EQ(adapter->GetItem(adapter->IndexOf(tree)).ScrollWnd.get(), before);
}

// The provider's own lists replace the manager's and compare names case and all; the
// skin-item check can refuse a control or give it a section; nothing is wrapped while
// third-party skinning is off in the owner or in the manager's rules.
TEST_F(CtrlAdapterTest, OwnListsTheSkinItemCheckAndTheSwitches) {
  TsThirdPartyList own;
  for (int i = 0; i < TsThirdPartyList::kCount; ++i) own.SetText(i, u" ");
  own.SetText(tpEdit, u"tedit\nTMemo");
  owner.Own = &own;
  MakeAdapter();
  EXPECT_EQ(WrapperOf(edit), "");
  EXPECT_EQ(WrapperOf(memo), "TacEditWnd");
  EXPECT_EQ(WrapperOf(button), "");  // the manager's "TButton" does not count now
  adapter.reset();

  owner.Own = nullptr;
  owner.OnSkinItem = [&](fw::TControl* c, bool& canBeAdded, TacSkinParams& p) {
    if (c == memo) canBeAdded = false;
    if (c == edit) p.SkinSection = "PANEL";
  };
  MakeAdapter();
  EXPECT_EQ(WrapperOf(memo), "");
  ASSERT_EQ(WrapperOf(edit), "TacEditWnd");
  EXPECT_EQ(Ac_GetScrollWndFromHwnd(edit->Handle())->SkinData()->SkinSection(), "PANEL");
  adapter.reset();
  owner.OnSkinItem = nullptr;

  owner.Allow = false;
  MakeAdapter();
  adapter->AddNewItem(edit);
  EXPECT_EQ(adapter->Count(), 0);
  adapter.reset();
  owner.Allow = true;
  manager->SetSkinningRules(acBit(srStdForms) | acBit(srStdDialogs));
  MakeAdapter();
  EXPECT_EQ(adapter->Count(), 0);
  EXPECT_EQ(WrapperOf(edit), "");
}

// The skin's removal detaches the wrappers; CleanItems drops them in order and a detached
// wrapper is replaced by the next addition; a freed control leaves the list; freeing the
// adapter takes every hook off.
TEST_F(CtrlAdapterTest, WrappersComeAndGoWithTheSkinAndTheirControls) {
  MakeAdapter();
  ASSERT_EQ(adapter->Count(), 5);
  fw::TMessage remove{SM_ALPHACMD, MakeAlphaCmd(AC_REMOVESKIN), win::LPARAM(manager), 0};
  // Only the tree hears it: the others stay.
  const int treeAt = adapter->IndexOf(tree);
  adapter->GetItem(treeAt).ScrollWnd->ProcessMessage(remove.Msg, remove.WParam, remove.LParam);
  EXPECT_EQ(WrapperOf(tree), "");
  EXPECT_FALSE(WndIsSkinned(tree->Handle()));
  std::vector<fw::TControl*> order;
  for (int i = 0; i < adapter->Count(); ++i)
    if (i != treeAt) order.push_back(adapter->GetItem(i).WinCtrl);
  adapter->CleanItems();
  ASSERT_EQ(adapter->Count(), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(adapter->GetItem(i).WinCtrl, order[std::size_t(i)]);
  adapter->AddNewItem(tree);
  EXPECT_EQ(WrapperOf(tree), "TacTreeViewWnd");
  EXPECT_EQ(adapter->Count(), 5);
  // RemoveItem moves the last item into the freed place.
  fw::TControl* last = adapter->GetItem(4).WinCtrl;
  fw::TControl* first = adapter->GetItem(0).WinCtrl;
  adapter->RemoveItem(0);
  EXPECT_EQ(adapter->GetItem(0).WinCtrl, last);
  EXPECT_EQ(WrapperOf(static_cast<fw::TWinControl*>(first)), "");
  // A control freed with its wrapper in place leaves the list.
  const int count = adapter->Count();
  const bool listed = adapter->IndexOf(memo) >= 0;
  delete memo;
  EXPECT_EQ(adapter->Count(), count - (listed ? 1 : 0));
  EXPECT_EQ(adapter->IndexOf(memo), -1);
  memo = nullptr;
  // The whole form hears the removal through the adapter.
  adapter->WndProc(remove);
  for (fw::TWinControl* c :
       {static_cast<fw::TWinControl*>(edit), static_cast<fw::TWinControl*>(tree),
        static_cast<fw::TWinControl*>(button)})
    EXPECT_EQ(WrapperOf(c), "");
  adapter->AddAllItems();
  EXPECT_EQ(WrapperOf(edit), "TacEditWnd");
  adapter.reset();
  for (fw::TWinControl* c :
       {static_cast<fw::TWinControl*>(edit), static_cast<fw::TWinControl*>(tree),
        static_cast<fw::TWinControl*>(button), static_cast<fw::TWinControl*>(inner)})
    EXPECT_EQ(Ac_GetScrollWndFromHwnd(c->Handle()), nullptr);
}

// A standard label takes the skin's font colour and gets back exactly what it had: its colour,
// its parent's font, and its opacity (a transparent label stays see-through); a label with the
// except tag is left alone.
TEST_F(CtrlAdapterTest, LabelsTakeTheSkinsFontColourAndGetTheirOwnBack) {
  label->Font().SetColor(0x123456);
  auto* following = Add<fw::TLabel>(form, 120, 200);
  following->SetParentFont(true);
  following->SetTransparent(true);
  auto* opaque = Add<fw::TLabel>(form, 230, 200);
  opaque->ControlStyle |= fw::csOpaque;
  auto* excepted = Add<fw::TLabel>(form, 230, 250);
  excepted->Tag = ExceptTag;
  excepted->Font().SetColor(0x654321);
  manager->LabelsOptions().TransparentAlways = false;
  const fw::TColor parentColor = form->Font().Color();
  MakeAdapter();
  const fw::TColor skinColor = fw::TColor(manager->GetGlobalFontColor());
  ASSERT_NE(skinColor, 0x123456);
  EXPECT_EQ(label->Font().Color(), skinColor);
  EXPECT_EQ(following->Font().Color(), skinColor);
  EXPECT_EQ(opaque->Font().Color(), skinColor);
  EXPECT_NE(opaque->ControlStyle & fw::csOpaque, 0u);  // not transparent: it stays opaque
  EXPECT_EQ(excepted->Font().Color(), 0x654321);
  // A second scan records nothing new: the first colours still come back.
  adapter->AddAllItems();
  adapter.reset();
  EXPECT_EQ(label->Font().Color(), 0x123456);
  EXPECT_TRUE(following->ParentFont());
  EXPECT_EQ(following->Font().Color(), parentColor);
  EXPECT_EQ(following->ControlStyle & fw::csOpaque, 0u);
  EXPECT_NE(opaque->ControlStyle & fw::csOpaque, 0u);
  // Labels always transparent: an opaque label is see-through while skinned, opaque after.
  manager->LabelsOptions().TransparentAlways = true;
  MakeAdapter();
  EXPECT_EQ(opaque->ControlStyle & fw::csOpaque, 0u);
  // A label freed while skinned is forgotten.
  delete label;
  label = nullptr;
  adapter.reset();
  EXPECT_NE(opaque->ControlStyle & fw::csOpaque, 0u);
}

// A wrapped memo and tree take their section's colours (the hot ones while focused) and give
// the saved ones back; the memo's frame on the screen is its section's picture; the tree
// erases nothing while skinned but the section's colour while its picture is prepared.
TEST_F(CtrlAdapterTest, WrappedEditsTakeTheirSectionsColoursAndFrame) {
  memo->SetColor(0x123456);
  memo->Font().SetColor(0x0A0B0C);
  const LRESULT treeBk = win::SendMessageW(tree->Handle(), fw::TVM_GETBKCOLOR, 0, 0);
  MakeAdapter();
  auto* sw = dynamic_cast<TacEditWnd*>(Ac_GetScrollWndFromHwnd(memo->Handle()));
  ASSERT_NE(sw, nullptr);
  TsCommonData& cd = *sw->SkinData();
  const auto& gd = manager->SkinModel()->gd[std::size_t(cd.SkinIndex)];
  EXPECT_EQ(cd.SkinSection(), "EDIT");
  EXPECT_EQ(memo->Color(), GetBGColor(cd, 0));
  EXPECT_EQ(memo->Font().Color(), fw::TColor(skin::draw::StateProps(gd, 0).FontColor.Color));
  memo->SetFocus();
  desktop.Pump();
  const int hot = gd.States > 1 ? 1 : 0;
  EXPECT_EQ(memo->Color(), GetBGColor(cd, hot));
  // The frame bands on the screen are the cache's, pixel by pixel.
  win::RECT wr, cr;
  win::GetWindowRect(memo->Handle(), &wr);
  win::GetClientRect(memo->Handle(), &cr);
  ASSERT_GT(wr.Width(), cr.Width());
  ASSERT_FALSE(sw->NCContent());
  ASSERT_NE(cd.CacheBmp(), nullptr);
  const gfx::Bitmap cache = *cd.CacheBmp();
  ASSERT_EQ(cache.Width(), wr.Width());
  const gfx::Bitmap screen = desktop.Compose();
  int differing = 0;
  for (int x = 0; x < wr.Width(); ++x)
    for (int y : {0, wr.Height() - 1})
      differing += (screen.At(wr.Left + x, wr.Top + y) & 0xFFFFFF) != (cache.At(x, y) & 0xFFFFFF);
  for (int y = 0; y < wr.Height(); ++y)
    differing += (screen.At(wr.Left, wr.Top + y) & 0xFFFFFF) != (cache.At(0, y) & 0xFFFFFF);
  EXPECT_EQ(differing, 0);

  auto* tw = dynamic_cast<TacTreeViewWnd*>(Ac_GetScrollWndFromHwnd(tree->Handle()));
  ASSERT_NE(tw, nullptr);
  TsCommonData& td = *tw->SkinData();
  EXPECT_EQ(win::SendMessageW(tree->Handle(), fw::TVM_GETBKCOLOR, 0, 0),
            LRESULT(GetBGColor(td, 0)));
  gfx::Bitmap ground(20, 20);
  ground.Fill(0xFF010203);
  gfx::DeviceContext dc(ground);
  EXPECT_EQ(win::SendMessageW(tree->Handle(), win::WM_ERASEBKGND, win::WPARAM(&dc), 0), 1);
  EXPECT_EQ(ground.At(5, 5), 0xFF010203u);
  td.BeginUpdate();
  win::SendMessageW(tree->Handle(), win::WM_ERASEBKGND, win::WPARAM(&dc), 0);
  td.EndUpdate(false);
  EXPECT_EQ(ground.At(5, 5) & 0xFFFFFF,
            skin::paint::SwapRedBlue(std::uint32_t(GetBGColor(td, 0))) & 0xFFFFFF);

  adapter.reset();
  EXPECT_EQ(memo->Color(), 0x123456);
  EXPECT_EQ(memo->Font().Color(), 0x0A0B0C);
  EXPECT_EQ(win::SendMessageW(tree->Handle(), fw::TVM_GETBKCOLOR, 0, 0), treeBk);
}

// A frame gets the frame skinning, a form placed inside the form a provider of its own.
TEST_F(CtrlAdapterTest, FramesAndInnerFormsGetTheirOwnSkinning) {
  static std::vector<fw::TFrame*> skinned;
  skinned.clear();
  SetFrameSkinner([](fw::TFrame& f) { skinned.push_back(&f); });
  auto* frame = Add<fw::TFrame>(form, 10, 100);
  auto* child = new fw::TForm(form);
  child->SetBorderStyle(fw::TFormBorderStyle::bsNone);
  child->SetBounds(200, 200, 100, 60);
  child->SetParent(form);
  child->Show();
  desktop.Pump();
  MakeAdapter();
  // Met as owned component and as child: a real frame adapter or provider skins the window the
  // first time, so the second meeting skips it; these stand-ins leave it as it is.
  ASSERT_FALSE(skinned.empty());
  for (fw::TFrame* f : skinned) EXPECT_EQ(f, frame);
  ASSERT_FALSE(owner.Providers.empty());
  for (const auto& [f, section] : owner.Providers) {
    EXPECT_EQ(f, child);
    EXPECT_EQ(section, "FORM");
  }
  SetFrameSkinner(nullptr);
}

}  // namespace
}  // namespace skin::frame
