#include <stdexcept>

#include "SkinMessageHarness.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "skin/core/acSkinAnnouncer.h"
#include "skin/core/sStyleSimply.h"

namespace skin::core::test {
namespace {

// A manager that logs its steps and locks the application's forms with WM_SETREDRAW.
class TLoggingManager : public fw::TComponent, public TacSkinAnnouncer {
 public:
  TLoggingManager() : TComponent(nullptr) {}
  fw::TComponent& Sender() override { return *this; }
  void SetSkinLoading(bool loading) override {
    SkinLoading = loading;
    Steps.push_back(loading ? "loading" : "loaded");
  }
  void SetSkinRemoving(bool removing) override {
    SkinRemoving = removing;
    Steps.push_back(removing ? "removing" : "removed");
  }
  void BeforeNewSkin() override { Steps.push_back("before new"); }
  void AfterNewSkin() override { Steps.push_back("after new"); }
  void BeforeRemoveSkin() override { Steps.push_back("before remove"); }
  void AfterRemoveSkin() override { Steps.push_back("after remove"); }
  void LockForms() override {
    Locked = true;
    for (fw::TCustomForm* form : fw::Application->Forms())
      if (form->HandleAllocated()) win::SendMessageW(form->Handle(), win::WM_SETREDRAW, 0, 0);
  }
  void UnLockForms() override {
    Locked = false;
    for (fw::TCustomForm* form : fw::Application->Forms())
      if (form->HandleAllocated()) win::SendMessageW(form->Handle(), win::WM_SETREDRAW, 1, 0);
  }

  std::vector<std::string> Steps;
  bool SkinLoading = false;
  bool SkinRemoving = false;
  bool Locked = false;
};

class SkinAnnouncerTest : public SkinMessageTest {
 protected:
  void SetUp() override {
    SkinMessageTest::SetUp();
    form = NewForm("Form");
    box = new TSkinnedBox(form, form, "Box");
    inner = new TGraphic(form, box, "Inner");
    form->Show();
    desktop.Pump();
    gReceipts.clear();
  }
  // Whether the form's window paints when asked to.
  bool FormPaints() {
    const int before = form->Paints;
    form->Invalidate();
    desktop.Pump();
    return form->Paints > before;
  }

  TLoggingManager manager;
  TPlainForm* form = nullptr;
  TSkinnedBox* box = nullptr;
  TGraphic* inner = nullptr;
};

TEST_F(SkinAnnouncerTest, ANewSkinReachesEveryControlOnceWhileDrawingIsRestricted) {
  SendNewSkin(manager, true);
  EXPECT_EQ(Receivers(AC_SETNEWSKIN), (Names{"Form", "Box", "Inner"}));
  for (const TReceipt& r : gReceipts) {
    if (r.Cmd != AC_SETNEWSKIN) continue;
    EXPECT_TRUE(r.Restrict) << r.Name;
    EXPECT_EQ(r.LParam, LPARAM(&manager)) << r.Name;
  }
  EXPECT_FALSE(RestrictDrawing);
  EXPECT_EQ(manager.Steps, (Names{"loading", "before new", "after new", "loaded"}));
  // The repaint follows: animations stop, then the controls refresh.
  EXPECT_EQ(Receivers(AC_STOPFADING), (Names{"Form", "Box"}));
  EXPECT_EQ(Receivers(AC_REFRESH), (Names{"Form", "Box", "Inner"}));

  // A manager still reading its description announces nothing.
  gReceipts.clear();
  manager.Steps.clear();
  manager.Loading();
  SendNewSkin(manager, true);
  EXPECT_TRUE(gReceipts.empty());
  EXPECT_TRUE(manager.Steps.empty());
  manager.Loaded();

  gReceipts.clear();
  SendRemoveSkin(manager);
  EXPECT_EQ(Receivers(AC_REMOVESKIN), (Names{"Form", "Box", "Inner"}));
  EXPECT_EQ(manager.Steps, (Names{"removing", "before remove", "after remove", "removed"}));
}

TEST_F(SkinAnnouncerTest, AnErrorInAReceiverLeavesNoFlagSetAndEveryFormPainting) {
  inner->OnAlphaCmd = [](const fw::TMessage&) { throw std::runtime_error("broken handler"); };
  EXPECT_THROW(SendNewSkin(manager, false), std::runtime_error);
  EXPECT_FALSE(RestrictDrawing);
  EXPECT_FALSE(manager.SkinLoading);
  EXPECT_EQ(manager.Steps, (Names{"loading", "before new", "loaded"}));

  inner->OnAlphaCmd = [](const fw::TMessage& m) {
    if (WParamHi(m.WParam) == AC_REFRESH) throw std::runtime_error("broken handler");
  };
  EXPECT_THROW(RepaintForms(manager, true), std::runtime_error);
  EXPECT_FALSE(manager.Locked);
  EXPECT_TRUE(FormPaints());

  inner->OnAlphaCmd = [](const fw::TMessage&) { throw std::runtime_error("broken handler"); };
  EXPECT_THROW(SendRemoveSkin(manager), std::runtime_error);
  EXPECT_FALSE(manager.SkinRemoving);

  // Once the handler is mended, the next announcement goes everywhere.
  inner->OnAlphaCmd = nullptr;
  gReceipts.clear();
  SendNewSkin(manager, false);
  EXPECT_EQ(Receivers(AC_SETNEWSKIN), (Names{"Form", "Box", "Inner"}));
}

TEST_F(SkinAnnouncerTest, RepaintingWithLockedFormsUnlocksThemAfterwards) {
  bool lockedDuringRefresh = false;
  inner->OnAlphaCmd = [&](const fw::TMessage& m) {
    if (WParamHi(m.WParam) == AC_REFRESH) lockedDuringRefresh = manager.Locked;
  };
  RepaintForms(manager, true);
  EXPECT_TRUE(lockedDuringRefresh);
  EXPECT_FALSE(manager.Locked);
  RepaintForms(manager, false);
  EXPECT_FALSE(lockedDuringRefresh = manager.Locked);
  EXPECT_EQ(Receivers(AC_REFRESH), (Names{"Form", "Box", "Inner", "Form", "Box", "Inner"}));
}

TEST_F(SkinAnnouncerTest, ASectionUpdateCarriesTheNameInUpperCase) {
  std::vector<std::string> names;
  box->OnAlphaCmd = [&](const fw::TMessage& m) {
    if (WParamHi(m.WParam) == AC_UPDATESECTION)
      names.push_back(reinterpret_cast<const char*>(m.LParam));
  };
  UpdateSkinSection("Panel_Low");
  EXPECT_EQ(names, (Names{"PANEL_LOW"}));
  EXPECT_EQ(Receivers(AC_UPDATESECTION), (Names{"Form", "Box"}));
}

}  // namespace
}  // namespace skin::core::test
