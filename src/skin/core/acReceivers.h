// The receivers of a broadcast, taken before it starts. A receiver may free others (a sibling,
// a form) while it handles the message; each one freed is noticed and its entry becomes null,
// so the walk skips it instead of touching freed memory.
#pragma once

#include <vector>

#include "framework/Component.h"

namespace skin::core {

class TacReceivers : public fw::TComponent {
 public:
  TacReceivers() : TComponent(nullptr) {}
  ~TacReceivers() override;

  // Adds a receiver; the broadcast visits them in the order added.
  void Add(fw::TComponent* receiver);
  int Count() const { return int(FItems.size()); }
  // The receiver, or null once it was freed.
  fw::TComponent* Item(int index) const { return FItems[index]; }

 protected:
  void Notification(fw::TComponent* component, fw::TOperation operation) override;

 private:
  std::vector<fw::TComponent*> FItems;
};

}  // namespace skin::core
