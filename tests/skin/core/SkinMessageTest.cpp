#include <stdexcept>

#include "SkinMessageHarness.h"
#include "platform/win/MessageQueue.h"
#include "skin/core/sStyleSimply.h"

namespace skin::core::test {
namespace {

TEST(SkinMessage, TheCommandTravelsInTheHighWordOfWParam) {
  EXPECT_EQ(SM_ALPHACMD, 41216u);
  EXPECT_EQ(AC_SETNEWSKIN_HI, 65536u);
  EXPECT_EQ(AC_GETBG_HI, 2228224u);
  EXPECT_EQ(AC_UPDATEITEMSALPHA, AC_UPDATEPAGEBTN);
  const WPARAM w = MakeAlphaCmd(AC_SETCHANGEDIFNECESSARY, 1);
  EXPECT_EQ(WParamHi(w), AC_SETCHANGEDIFNECESSARY);
  EXPECT_EQ(WParamLo(w), 1u);
}

TEST_F(SkinMessageTest, ASkinnedWindowIsCalledDirectlyAPlainOneThroughTheWindowSystem) {
  auto* form = NewForm("Form");
  auto* skinned = new TSkinnedBox(form, form, "Skinned");
  auto* plain = new TPlainBox(form, form, "Plain");
  form->HandleNeeded();

  EXPECT_EQ(GetCommonData(skinned->Handle()), &skinned->Handler);
  EXPECT_EQ(GetCommonData(plain->Handle()), nullptr);
  EXPECT_TRUE(GetBoolMsg(skinned, AC_CTRLHANDLED));
  EXPECT_FALSE(GetBoolMsg(plain->Handle(), AC_CTRLHANDLED));
  EXPECT_TRUE(WndIsSkinned(skinned->Handle()));
  EXPECT_FALSE(WndIsSkinned(plain->Handle()));
  // A window skinned through its scroll bars only.
  static int scrollData = 0;
  win::SetPropW(plain->Handle(), acScrollProp, &scrollData);
  EXPECT_TRUE(WndIsSkinned(plain->Handle()));
  win::RemovePropW(plain->Handle(), acScrollProp);

  gReceipts.clear();
  SendAMessage(skinned, AC_SETBGCHANGED);
  SendAMessage(plain, AC_SETBGCHANGED);
  ASSERT_EQ(gReceipts.size(), 2u);
  EXPECT_TRUE(gReceipts[0].Direct);
  EXPECT_FALSE(gReceipts[1].Direct);

  // The direct call lets the handler's error reach the sender.
  skinned->OnAlphaCmd = [](const fw::TMessage&) { throw std::runtime_error("broken"); };
  EXPECT_THROW(SendAMessage(skinned, AC_INVALIDATE), std::runtime_error);
}

TEST_F(SkinMessageTest, DeliveryToAControlNeverMakesAWindow) {
  auto* form = NewForm("Form");
  auto* box = new TSkinnedBox(form, form, "Box");
  auto* graphic = new TGraphic(form, form, "Graphic");
  // A windowed control without a window gets nothing; a windowless one its Perform.
  EXPECT_EQ(SendAMessage(box, AC_CTRLHANDLED), 0);
  EXPECT_FALSE(box->HandleAllocated());
  EXPECT_FALSE(form->HandleAllocated());
  SendAMessage(graphic, AC_INVALIDATE);
  EXPECT_EQ(Receivers(AC_INVALIDATE), (Names{"Graphic"}));
  EXPECT_EQ(SendAMessage(static_cast<fw::TControl*>(nullptr), AC_INVALIDATE), 0);
}

TEST_F(SkinMessageTest, AlphaBroadCastDescendsOnlyIntoUnskinnedWindows) {
  auto* form = NewForm("Form");
  auto* plain = new TPlainBox(form, form, "Plain");
  new TPlainBox(form, plain, "InPlain");
  auto* skinned = new TSkinnedBox(form, form, "Skinned");
  new TPlainBox(form, skinned, "InSkinned");
  new TGraphic(form, form, "Graphic");
  new TPlainBox(form, form, "Boxed");
  auto* late = new TPlainBox(form, form, "Late");
  new TPlainBox(form, late, "InLate");
  form->HandleNeeded();
  late->DestroyHandle();  // made again only when needed

  // AC_SETBGCHANGED is not passed on by the skinned box: its child is not reached. A control
  // without a window gets the message through Perform, and nothing below it.
  AlphaBroadCast(*form, {SM_ALPHACMD, AC_SETBGCHANGED_HI, 0, 0});
  EXPECT_EQ(Receivers(AC_SETBGCHANGED),
            (Names{"Graphic", "Plain", "InPlain", "Skinned", "Boxed", "Late"}));
  EXPECT_FALSE(late->HandleAllocated());
  // AC_SETNEWSKIN is, so every control gets it exactly once.
  AlphaBroadCast(*form, {SM_ALPHACMD, AC_SETNEWSKIN_HI, 0, 0});
  EXPECT_EQ(Receivers(AC_SETNEWSKIN),
            (Names{"Graphic", "Plain", "InPlain", "Skinned", "InSkinned", "Boxed", "Late"}));

  // The window form: direct children only, each once, from the top of the z-order down (the
  // control made last lies on top).
  gReceipts.clear();
  AlphaBroadCast(form->Handle(), {SM_ALPHACMD, AC_SETBGCHANGED_HI, 0, 0});
  EXPECT_EQ(Receivers(AC_SETBGCHANGED), (Names{"Boxed", "Skinned", "Plain"}));
}

TEST_F(SkinMessageTest, ABroadcastSkipsReceiversFreedOnTheWay) {
  auto* form = NewForm("Form");
  auto* first = new TGraphic(form, form, "First");
  auto* doomed = new TPlainBox(form, form, "Doomed");
  new TPlainBox(form, doomed, "DoomedChild");
  new TSkinnedBox(form, form, "Last");
  form->HandleNeeded();
  first->OnAlphaCmd = [&](const fw::TMessage&) {
    delete doomed;
    doomed = nullptr;
  };
  AlphaBroadCast(*form, {SM_ALPHACMD, AC_REFRESH_HI, 0, 0});
  EXPECT_EQ(Receivers(AC_REFRESH), (Names{"First", "Last"}));

  // A receiver that frees another form during the application's broadcast.
  auto* other = NewForm("Other");
  new TGraphic(other, other, "OtherChild");
  auto* killer = NewForm("Killer");  // the last form is reached first
  killer->OnAlphaCmd = [&](const fw::TMessage&) {
    delete other;
    other = nullptr;
  };
  gReceipts.clear();
  AppBroadCastS({SM_ALPHACMD, AC_STOPFADING_HI, 0, 0});
  EXPECT_EQ(Receivers(AC_STOPFADING), (Names{"Killer", "Form", "First", "Last"}));
}

TEST_F(SkinMessageTest, TheApplicationsBroadcastReachesLazyFormsWithoutMakingWindows) {
  auto* hidden = NewForm("Hidden");
  new TPlainBox(hidden, hidden, "HiddenBox");
  auto* shown = NewForm("Shown");
  new TGraphic(shown, shown, "ShownGraphic");
  shown->Show();
  desktop.Pump();
  auto* loading = NewForm("Loading");
  loading->Loading();

  AppBroadCastS({SM_ALPHACMD, AC_SETNEWSKIN_HI, 0, 0});
  EXPECT_EQ(Receivers(AC_SETNEWSKIN), (Names{"Shown", "ShownGraphic", "Hidden", "HiddenBox"}));
  EXPECT_FALSE(hidden->HandleAllocated());
  EXPECT_FALSE(static_cast<fw::TWinControl*>(hidden->Controls(0))->HandleAllocated());
  loading->Loaded();
}

TEST_F(SkinMessageTest, AHookedFormHearsOnceAndLeavesTheListWhenFreed) {
  auto* a = NewForm("A");
  auto* b = NewForm("B");
  auto* c = NewForm("C");
  new TGraphic(b, b, "InB");
  IntSkinForm(a);
  IntSkinForm(b);
  IntSkinForm(c);
  IntSkinForm(b);  // once only
  EXPECT_EQ(HookedComponents(), (std::vector<fw::TCustomForm*>{a, b, c}));
  AppBroadCastS({SM_ALPHACMD, AC_SETNEWSKIN_HI, 0, 0});
  EXPECT_EQ(Receivers(AC_SETNEWSKIN), (Names{"A", "B", "InB", "C"}));

  IntUnSkinForm(a);  // the last one takes the freed place
  EXPECT_EQ(HookedComponents(), (std::vector<fw::TCustomForm*>{c, b}));
  delete c;  // freed without leaving the list itself
  EXPECT_EQ(HookedComponents(), (std::vector<fw::TCustomForm*>{b}));
  gReceipts.clear();
  AppBroadCastS({SM_ALPHACMD, AC_REFRESH_HI, 0, 0});
  EXPECT_EQ(Receivers(AC_REFRESH), (Names{"A", "B", "InB"}));
  IntUnSkinForm(b);
  EXPECT_TRUE(HookedComponents().empty());
}

}  // namespace
}  // namespace skin::core::test
