#include "framework/DataModule.h"

#include "framework/Application.h"

namespace fw {

TDataModule::~TDataModule() {
  Destroying();
  if (OnDestroy) {
    try {
      OnDestroy(this);
    } catch (...) {
      if (Application) Application->HandleException(std::current_exception());
    }
  }
  DestroyComponents();
}

void TDataModule::AfterConstruction() {
  if (!OnCreate) return;
  try {
    OnCreate(this);
  } catch (...) {
    if (!Application) throw;
    Application->HandleException(std::current_exception());
  }
}

}  // namespace fw
