#include "skin/core/acReceivers.h"

#include <algorithm>

namespace skin::core {

TacReceivers::~TacReceivers() {
  // Leave the live receivers without telling them anything.
  for (fw::TComponent* receiver : FItems)
    if (receiver) RemoveFreeNotification(receiver);
}

void TacReceivers::Add(fw::TComponent* receiver) {
  FItems.push_back(receiver);
  FreeNotification(receiver);
}

void TacReceivers::Notification(fw::TComponent* component, fw::TOperation operation) {
  if (operation == fw::TOperation::opRemove)
    std::replace(FItems.begin(), FItems.end(), component, static_cast<fw::TComponent*>(nullptr));
}

}  // namespace skin::core
