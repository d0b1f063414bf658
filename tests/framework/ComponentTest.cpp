#include "framework/Component.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace fw {
namespace {

// Records the notifications it receives and counts destructions.
class TProbe : public TComponent {
 public:
  TProbe(TComponent* owner, std::string name, std::vector<std::string>* log)
      : TComponent(owner), log_(log) {
    SetName(name);
  }
  ~TProbe() override { log_->push_back("destroy " + Name()); }
  TComponent* ref = nullptr;

 protected:
  void Notification(TComponent* c, TOperation op) override {
    if (op == TOperation::opRemove) {
      log_->push_back(Name() + " told of " + c->Name());
      if (c == ref) ref = nullptr;
    }
    TComponent::Notification(c, op);
  }

 private:
  std::vector<std::string>* log_;
};

TEST(Component, OwnerFreesWhatItOwnsLastFirst) {
  std::vector<std::string> log;
  {
    TProbe form(nullptr, "Form1", &log);
    new TProbe(&form, "A", &log);
    new TProbe(&form, "B", &log);
    EXPECT_EQ(form.ComponentCount(), 2);
    EXPECT_EQ(form.FindComponent("b")->Name(), "B");
    EXPECT_EQ(form.FindComponent("C"), nullptr);
    log.clear();
  }
  // The owner's own override is gone by then; the siblings still alive hear of each removal
  // before the removed component is destroyed.
  EXPECT_EQ(log,
            (std::vector<std::string>{"destroy Form1", "A told of B", "destroy B", "destroy A"}));
}

TEST(Component, DeletingAnOwnedComponentLeavesTheOwnerAndTellsSiblings) {
  std::vector<std::string> log;
  TProbe form(nullptr, "Form1", &log);
  auto* a = new TProbe(&form, "A", &log);
  auto* b = new TProbe(&form, "B", &log);
  b->ref = a;
  delete a;
  EXPECT_EQ(form.ComponentCount(), 1);
  EXPECT_EQ(b->ref, nullptr);  // the sibling heard of the removal through the owner
}

TEST(Component, FreeNotificationCrossesOwnersAndIsForgottenByBoth) {
  std::vector<std::string> log;
  TProbe form(nullptr, "Form1", &log);
  TProbe module(nullptr, "DataModule2", &log);
  auto* table = new TProbe(&form, "Table", &log);
  auto* conn = new TProbe(&module, "Connection", &log);
  table->ref = conn;
  table->FreeNotification(conn);
  delete conn;
  EXPECT_EQ(table->ref, nullptr);
  // After the table is gone, destroying the module must not reach the dead table.
  auto* conn2 = new TProbe(&module, "Connection2", &log);
  table->FreeNotification(conn2);
  delete table;
  log.clear();
  delete conn2;
  EXPECT_EQ(log,
            (std::vector<std::string>{"destroy Connection2", "DataModule2 told of Connection2"}));
}

TEST(Component, NamesAreIdentifiersUniqueWithinTheOwner) {
  std::vector<std::string> log;
  TProbe form(nullptr, "Form1", &log);
  auto* a = new TProbe(&form, "Label1", &log);
  EXPECT_THROW(TProbe(&form, "label1", &log), EComponentError);
  EXPECT_THROW(a->SetName("1abc"), EComponentError);
  EXPECT_THROW(a->SetName("a b"), EComponentError);
  a->SetName("Label2");
  EXPECT_EQ(form.FindComponent("Label2"), a);
}

TEST(Component, LoadedClearsTheLoadingState) {
  TComponent c(nullptr);
  c.Loading();
  EXPECT_TRUE(c.HasState(csLoading));
  c.Loaded();
  EXPECT_FALSE(c.HasState(csLoading));
}

}  // namespace
}  // namespace fw
