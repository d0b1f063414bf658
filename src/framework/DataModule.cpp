#include "framework/DataModule.h"

#include "framework/Application.h"

namespace fw {

TDataModule::~TDataModule() {
  Destroying();
  RaiseNotifyEvent(OnDestroy, this, false);
  DestroyComponents();
}

void TDataModule::AfterConstruction() {
  RaiseNotifyEvent(OnCreate, this, true);
}

}  // namespace fw
